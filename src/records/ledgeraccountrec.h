// One GL account of an administration: a record of the file GLA
// ("ledger.vlk"), 376 bytes. The file is kept in ascending byte order of the
// account number, holds no two accounts with the same number and at most
// 400 accounts.
#pragma once

#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct LedgerAccountRec : Record<376> {
  static constexpr ShortString kAccountNumber{0, 15};    // bytes 0..15
  static constexpr ShortString kCaption{16, 50};         // bytes 16..66
  static constexpr ShortString kAccountType{67, 10};     // bytes 67..77
  static constexpr ShortString kCategoryName{78, 50};    // bytes 78..128
  static constexpr ShortString kLeadCode{129, 50};       // bytes 129..179
  static constexpr ShortString kStartDate{180, 8};       // bytes 180..188, pad 189..191
  static constexpr Double kStartAmount{192};             // bytes 192..199
  static constexpr ShortString kEndDate{200, 8};         // bytes 200..208, pad 209..215
  static constexpr Double kSecondAmount{216};            // bytes 216..223
  static constexpr Boolean kIsCashOrBank{224};           // byte 224
  static constexpr ShortString kJournalName{225, 50};    // bytes 225..275
  static constexpr ShortString kAccountFunction{276, 50};  // bytes 276..326
  static constexpr ShortString kSalesTaxCode{327, 12};   // bytes 327..339
  static constexpr ShortString kChangedBy{340, 10};      // bytes 340..350
  static constexpr ShortString kChangedAt{351, 20};      // bytes 351..371, pad 372..375

  // The sort key of the file.
  std::string AccountNumber() const { return Get<kAccountNumber>(); }
  void SetAccountNumber(std::string_view v) { Set<kAccountNumber>(v); }
  std::string Caption() const { return Get<kCaption>(); }
  void SetCaption(std::string_view v) { Set<kCaption>(v); }
  // One letter: "P" profit, "T" transfer, "D" debit, "C" credit account.
  std::string AccountType() const { return Get<kAccountType>(); }
  void SetAccountType(std::string_view v) { Set<kAccountType>(v); }
  // The name of the account's GL category (LedgerCategoryRec's name).
  std::string CategoryName() const { return Get<kCategoryName>(); }
  void SetCategoryName(std::string_view v) { Set<kCategoryName>(v); }
  std::string LeadCode() const { return Get<kLeadCode>(); }
  void SetLeadCode(std::string_view v) { Set<kLeadCode>(v); }
  // First day the account is active, "YYYYMMDD".
  std::string StartDate() const { return Get<kStartDate>(); }
  void SetStartDate(std::string_view v) { Set<kStartDate>(v); }
  // The amount on the start date.
  double StartAmount() const { return Get<kStartAmount>(); }
  void SetStartAmount(double v) { Set<kStartAmount>(v); }
  // Last day the account is active, "YYYYMMDD".
  std::string EndDate() const { return Get<kEndDate>(); }
  void SetEndDate(std::string_view v) { Set<kEndDate>(v); }
  double SecondAmount() const { return Get<kSecondAmount>(); }
  void SetSecondAmount(double v) { Set<kSecondAmount>(v); }
  // A cash or bank book.
  bool IsCashOrBank() const { return Get<kIsCashOrBank>(); }
  void SetIsCashOrBank(bool v) { Set<kIsCashOrBank>(v); }
  // The journal (book) of a cash or bank account.
  std::string JournalName() const { return Get<kJournalName>(); }
  void SetJournalName(std::string_view v) { Set<kJournalName>(v); }
  // One of the fixed English account-function codes, empty for none.
  std::string AccountFunction() const { return Get<kAccountFunction>(); }
  void SetAccountFunction(std::string_view v) { Set<kAccountFunction>(v); }
  // Empty or one of the system settings' sales-tax names.
  std::string SalesTaxCode() const { return Get<kSalesTaxCode>(); }
  void SetSalesTaxCode(std::string_view v) { Set<kSalesTaxCode>(v); }
  std::string ChangedBy() const { return Get<kChangedBy>(); }
  void SetChangedBy(std::string_view v) { Set<kChangedBy>(v); }
  std::string ChangedAt() const { return Get<kChangedAt>(); }
  void SetChangedAt(std::string_view v) { Set<kChangedAt>(v); }
};
static_assert(sizeof(LedgerAccountRec) == 376);
static_assert(LedgerAccountRec::kChangedAt.offset + LedgerAccountRec::kChangedAt.Size() == 372);

}  // namespace records
