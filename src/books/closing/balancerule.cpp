#include "books/closing/balancerule.h"

namespace books::closing {

bool IsBalanceSheetKind(std::string_view categoryKind) { return !categoryKind.empty() && categoryKind[0] == 'B'; }

bool FreezeClosesBookYear(std::string_view label) {
  // "YYYY-PP/NN": PP at 5-6, NN at 8-9.
  return label.size() >= 10 && label[4] == '-' && label[7] == '/' && label.substr(5, 2) == label.substr(8, 2);
}

CarriedSides CarryIntoNextPeriod(double closingOwn, double closingOther, bool newBookYear,
                                 std::string_view categoryKind) {
  if (newBookYear && !IsBalanceSheetKind(categoryKind)) return {};
  return {closingOwn, closingOther};
}

}  // namespace books::closing
