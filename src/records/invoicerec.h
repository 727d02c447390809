// One invoice: a record of the invoice file INV ("invsum.vlk"), 224 bytes.
// The file is kept in ascending invoice-key order: book date + kind + the
// partner number in decimal without leading zeros + invoice number, compared
// as byte strings. The voucher store changes PaidAmount and VoucherCreated
// of the invoice a voucher is linked to; it finds that invoice field by
// field (book date, kind, partner, number), never by the joined key text,
// in which partner 1 with "23" equals partner 12 with "3".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct InvoiceRec : Record<224> {
  static constexpr ShortString kInvoiceDate{0, 8};     // bytes 0..8
  static constexpr ShortString kInvoiceNumber{9, 15};  // bytes 9..24
  static constexpr ShortString kPartnerType{25, 3};    // bytes 25..28, pad 29..31
  static constexpr Int32 kPartnerNumber{32};           // bytes 32..35
  static constexpr ShortString kEntryNumber{36, 10};   // bytes 36..46
  static constexpr ShortString kDiscountDate{47, 8};   // bytes 47..55
  static constexpr ShortString kDueDate{56, 8};        // bytes 56..64
  static constexpr ShortString kVoucherDate{65, 8};    // bytes 65..73, pad 74..79
  static constexpr Double kInvoiceAmount{80};          // bytes 80..87
  static constexpr Double kPaidAmount{88};             // bytes 88..95
  static constexpr Double kPrepaidAmount{96};          // bytes 96..103
  static constexpr ShortString kMemo{104, 80};         // bytes 104..184
  static constexpr Boolean kVoucherCreated{185};       // byte 185
  static constexpr ShortString kChangedBy{186, 10};    // bytes 186..196
  static constexpr ShortString kChangedAt{197, 20};    // bytes 197..217, pad 218..223

  // "YYYYMMDD".
  std::string InvoiceDate() const { return Get<kInvoiceDate>(); }
  void SetInvoiceDate(std::string_view v) { Set<kInvoiceDate>(v); }
  // The invoice number as typed.
  std::string InvoiceNumber() const { return Get<kInvoiceNumber>(); }
  void SetInvoiceNumber(std::string_view v) { Set<kInvoiceNumber>(v); }
  // "CUS" (customer invoice) or "VEN" (vendor invoice).
  std::string PartnerType() const { return Get<kPartnerType>(); }
  void SetPartnerType(std::string_view v) { Set<kPartnerType>(v); }
  std::int32_t PartnerNumber() const { return Get<kPartnerNumber>(); }
  void SetPartnerNumber(std::int32_t v) { Set<kPartnerNumber>(v); }
  std::string EntryNumber() const { return Get<kEntryNumber>(); }
  void SetEntryNumber(std::string_view v) { Set<kEntryNumber>(v); }
  std::string DiscountDate() const { return Get<kDiscountDate>(); }
  void SetDiscountDate(std::string_view v) { Set<kDiscountDate>(v); }
  std::string DueDate() const { return Get<kDueDate>(); }
  void SetDueDate(std::string_view v) { Set<kDueDate>(v); }
  // The book date: the date of the invoice's journal voucher.
  std::string VoucherDate() const { return Get<kVoucherDate>(); }
  void SetVoucherDate(std::string_view v) { Set<kVoucherDate>(v); }
  double InvoiceAmount() const { return Get<kInvoiceAmount>(); }
  void SetInvoiceAmount(double v) { Set<kInvoiceAmount>(v); }
  // Paid so far, the prepaid amount included.
  double PaidAmount() const { return Get<kPaidAmount>(); }
  void SetPaidAmount(double v) { Set<kPaidAmount>(v); }
  double PrepaidAmount() const { return Get<kPrepaidAmount>(); }
  void SetPrepaidAmount(double v) { Set<kPrepaidAmount>(v); }
  std::string Memo() const { return Get<kMemo>(); }
  void SetMemo(std::string_view v) { Set<kMemo>(v); }
  // The invoice's journal voucher exists.
  bool VoucherCreated() const { return Get<kVoucherCreated>(); }
  void SetVoucherCreated(bool v) { Set<kVoucherCreated>(v); }
  std::string ChangedBy() const { return Get<kChangedBy>(); }
  void SetChangedBy(std::string_view v) { Set<kChangedBy>(v); }
  std::string ChangedAt() const { return Get<kChangedAt>(); }
  void SetChangedAt(std::string_view v) { Set<kChangedAt>(v); }
};
static_assert(sizeof(InvoiceRec) == 224);
static_assert(InvoiceRec::kChangedAt.offset + InvoiceRec::kChangedAt.Size() == 218);

}  // namespace records
