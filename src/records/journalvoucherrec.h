// One line of a journal voucher: a record of the voucher file JVO
// ("book.vlk"), 392 bytes. A voucher is a run of one to eight consecutive
// lines with the same key (voucher date + book number); the file is kept in
// ascending key order, compared as byte strings.
//
// The voucher store writes the line texts (LineText, AccountNumber,
// AccountCaption, CostCentre) with blanks appended before they are cut to
// the field, so readers compare them after trimming trailing blanks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct JournalVoucherRec : Record<392> {
  static constexpr ShortString kVoucherDate{0, 8};           // bytes 0..8
  static constexpr ShortString kBookNumber{9, 20};           // bytes 9..29
  static constexpr ShortString kJournalName{30, 50};         // bytes 30..80
  static constexpr ShortString kTransactionText{81, 50};     // bytes 81..131
  static constexpr ShortString kLineText{132, 50};           // bytes 132..182
  static constexpr ShortString kAccountNumber{183, 15};      // bytes 183..198
  static constexpr ShortString kAccountCaption{199, 30};     // bytes 199..229
  static constexpr ShortString kCostCentre{230, 20};         // bytes 230..250
  static constexpr ShortString kProjectDescription{251, 20};  // bytes 251..271
  static constexpr ShortString kProductDescription{272, 20};  // bytes 272..292
  static constexpr Boolean kInvoiceAttached{293};            // byte 293
  static constexpr ShortString kPartnerType{294, 3};         // bytes 294..297, pad 298..299
  static constexpr Int32 kPartnerNumber{300};                // bytes 300..303
  static constexpr ShortString kInvoiceNumber{304, 15};      // bytes 304..319
  static constexpr Double kDebitAmount{320};                 // bytes 320..327
  static constexpr Double kCreditAmount{328};                // bytes 328..335
  static constexpr ShortString kDocumentId{336, 15};         // bytes 336..351
  static constexpr ShortString kChangedBy{352, 15};          // bytes 352..367
  static constexpr ShortString kChangedAt{368, 20};          // bytes 368..388, pad 389..391

  // "YYYYMMDD".
  std::string VoucherDate() const { return Get<kVoucherDate>(); }
  void SetVoucherDate(std::string_view v) { Set<kVoucherDate>(v); }
  // The voucher number as typed.
  std::string BookNumber() const { return Get<kBookNumber>(); }
  void SetBookNumber(std::string_view v) { Set<kBookNumber>(v); }
  std::string JournalName() const { return Get<kJournalName>(); }
  void SetJournalName(std::string_view v) { Set<kJournalName>(v); }
  std::string TransactionText() const { return Get<kTransactionText>(); }
  void SetTransactionText(std::string_view v) { Set<kTransactionText>(v); }
  std::string LineText() const { return Get<kLineText>(); }
  void SetLineText(std::string_view v) { Set<kLineText>(v); }
  // The GL account number, blank-padded as stored.
  std::string AccountNumber() const { return Get<kAccountNumber>(); }
  void SetAccountNumber(std::string_view v) { Set<kAccountNumber>(v); }
  std::string AccountCaption() const { return Get<kAccountCaption>(); }
  void SetAccountCaption(std::string_view v) { Set<kAccountCaption>(v); }
  std::string CostCentre() const { return Get<kCostCentre>(); }
  void SetCostCentre(std::string_view v) { Set<kCostCentre>(v); }
  std::string ProjectDescription() const { return Get<kProjectDescription>(); }
  void SetProjectDescription(std::string_view v) { Set<kProjectDescription>(v); }
  std::string ProductDescription() const { return Get<kProductDescription>(); }
  void SetProductDescription(std::string_view v) { Set<kProductDescription>(v); }
  // The line was proposed from an invoice or payment and is linked to it.
  bool InvoiceAttached() const { return Get<kInvoiceAttached>(); }
  void SetInvoiceAttached(bool v) { Set<kInvoiceAttached>(v); }
  // "CUS", "VEN", "REC" or "PAY".
  std::string PartnerType() const { return Get<kPartnerType>(); }
  void SetPartnerType(std::string_view v) { Set<kPartnerType>(v); }
  std::int32_t PartnerNumber() const { return Get<kPartnerNumber>(); }
  void SetPartnerNumber(std::int32_t v) { Set<kPartnerNumber>(v); }
  std::string InvoiceNumber() const { return Get<kInvoiceNumber>(); }
  void SetInvoiceNumber(std::string_view v) { Set<kInvoiceNumber>(v); }
  double DebitAmount() const { return Get<kDebitAmount>(); }
  void SetDebitAmount(double v) { Set<kDebitAmount>(v); }
  double CreditAmount() const { return Get<kCreditAmount>(); }
  void SetCreditAmount(double v) { Set<kCreditAmount>(v); }
  std::string DocumentId() const { return Get<kDocumentId>(); }
  void SetDocumentId(std::string_view v) { Set<kDocumentId>(v); }
  std::string ChangedBy() const { return Get<kChangedBy>(); }
  void SetChangedBy(std::string_view v) { Set<kChangedBy>(v); }
  std::string ChangedAt() const { return Get<kChangedAt>(); }
  void SetChangedAt(std::string_view v) { Set<kChangedAt>(v); }
};
static_assert(sizeof(JournalVoucherRec) == 392);
static_assert(JournalVoucherRec::kChangedAt.offset + JournalVoucherRec::kChangedAt.Size() == 389);

}  // namespace records
