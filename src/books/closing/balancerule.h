// The rule by which an account's balance carries from one frozen period
// into the next, shared by the GL accounts form and the trial balance.
//
// A freeze stores, per account, the cumulative amounts on its own side and
// on the other side at the end of the frozen period. The next period opens
// with those sides; an account that the freeze does not hold opens with its
// start amount. When a new book year begins (the freeze closed the last
// period of its year), balance-sheet accounts keep their sides and
// profit-and-loss accounts open at zero. A category kind whose first
// character is "B" is a balance-sheet kind, every other text profit and loss.
#pragma once

#include <string_view>

namespace books::closing {

bool IsBalanceSheetKind(std::string_view categoryKind);

// Whether a freeze label "YYYY-PP/NN" closes its book year: PP equals NN.
bool FreezeClosesBookYear(std::string_view label);

struct CarriedSides {
  double own = 0;
  double other = 0;
  double Net() const { return own - other; }
  bool operator==(const CarriedSides&) const = default;
};
// The sides an account opens the period after a freeze with, from the
// closing sides of its snapshot row.
CarriedSides CarryIntoNextPeriod(double closingOwn, double closingOther, bool newBookYear,
                                 std::string_view categoryKind);

}  // namespace books::closing
