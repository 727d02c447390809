// One GL category of an administration: a record of the file GLC
// ("ledgerct.vlk"), 134 bytes, no padding. The file's record order is the
// order in which the reports show the categories.
#pragma once

#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

// The two kind codes a category record stores, always in English whatever
// the language of the forms.
inline constexpr std::string_view kBalanceSheetKind = "Balance sheet account";
inline constexpr std::string_view kProfitAndLossKind = "Profit and Loss account";

struct LedgerCategoryRec : Record<134> {
  static constexpr ShortString kCategoryKind{0, 50};   // bytes 0..50
  static constexpr ShortString kCategoryName{51, 50};  // bytes 51..101
  static constexpr ShortString kChangedBy{102, 10};    // bytes 102..112
  static constexpr ShortString kChangedAt{113, 20};    // bytes 113..133

  // kBalanceSheetKind or kProfitAndLossKind (any other text in an old or
  // imported file counts as profit and loss).
  std::string CategoryKind() const { return Get<kCategoryKind>(); }
  void SetCategoryKind(std::string_view v) { Set<kCategoryKind>(v); }
  // The name GL accounts refer to (LedgerAccountRec's category name).
  std::string CategoryName() const { return Get<kCategoryName>(); }
  void SetCategoryName(std::string_view v) { Set<kCategoryName>(v); }
  // User and date-time text of the last save that changed the category.
  std::string ChangedBy() const { return Get<kChangedBy>(); }
  void SetChangedBy(std::string_view v) { Set<kChangedBy>(v); }
  std::string ChangedAt() const { return Get<kChangedAt>(); }
  void SetChangedAt(std::string_view v) { Set<kChangedAt>(v); }
};
static_assert(sizeof(LedgerCategoryRec) == 134);

}  // namespace records
