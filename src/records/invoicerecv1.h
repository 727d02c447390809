// Invoice records of older releases, as the conversions to today's
// InvoiceRec (records/invoicerec.h) read them. Three layouts came before
// today's: 176 bytes (V1), 192 bytes (V2) and 216 bytes (V3). Only the
// fields a conversion carries over are named; the other bytes are read by
// nobody. V2 and V3 have room for an entry number where today's record
// has it; the conversion takes it only when those bytes hold a text.
#pragma once

#include "records/codec.h"

namespace records {

// 176 bytes.
struct InvoiceRecV1 : Record<176> {
  static constexpr ShortString kInvoiceDate{0, 8};     // bytes 0..8
  static constexpr ShortString kInvoiceNumber{9, 15};  // bytes 9..24
  static constexpr ShortString kPartnerType{25, 3};    // bytes 25..28, pad 29..31
  static constexpr Int32 kPartnerNumber{32};           // bytes 32..35
  static constexpr ShortString kDiscountDate{36, 8};   // bytes 36..44
  static constexpr ShortString kDueDate{45, 8};        // bytes 45..53
  static constexpr ShortString kVoucherDate{54, 8};    // bytes 54..62, 63..71 not read
  static constexpr Double kInvoiceAmount{72};          // bytes 72..79
  static constexpr Double kPaidAmount{80};             // bytes 80..87
  static constexpr ShortString kMemo{88, 80};          // bytes 88..168
  static constexpr Boolean kVoucherCreated{169};       // byte 169, pad 170..175
};
static_assert(sizeof(InvoiceRecV1) == 176);

// 192 bytes.
struct InvoiceRecV2 : Record<192> {
  static constexpr ShortString kInvoiceDate{0, 8};     // bytes 0..8
  static constexpr ShortString kInvoiceNumber{9, 15};  // bytes 9..24
  static constexpr ShortString kPartnerType{25, 3};    // bytes 25..28, pad 29..31
  static constexpr Int32 kPartnerNumber{32};           // bytes 32..35
  static constexpr ShortString kEntryNumber{36, 10};   // bytes 36..46, read only when it holds a text
  static constexpr ShortString kDiscountDate{47, 8};   // bytes 47..55
  static constexpr ShortString kDueDate{56, 8};        // bytes 56..64
  static constexpr ShortString kVoucherDate{65, 8};    // bytes 65..73, pad 74..79, 80..87 not read
  static constexpr Double kInvoiceAmount{88};          // bytes 88..95
  static constexpr Double kPaidAmount{96};             // bytes 96..103
  static constexpr ShortString kMemo{104, 80};         // bytes 104..184
  static constexpr Boolean kVoucherCreated{185};       // byte 185, pad 186..191
};
static_assert(sizeof(InvoiceRecV2) == 192);

// 216 bytes.
struct InvoiceRecV3 : Record<216> {
  static constexpr ShortString kInvoiceDate{0, 8};     // bytes 0..8
  static constexpr ShortString kInvoiceNumber{9, 15};  // bytes 9..24
  static constexpr ShortString kPartnerType{25, 3};    // bytes 25..28, pad 29..31
  static constexpr Int32 kPartnerNumber{32};           // bytes 32..35
  static constexpr ShortString kEntryNumber{36, 10};   // bytes 36..46, read only when it holds a text
  static constexpr ShortString kDiscountDate{47, 8};   // bytes 47..55
  static constexpr ShortString kDueDate{56, 8};        // bytes 56..64
  static constexpr ShortString kVoucherDate{65, 8};    // bytes 65..73, pad 74..79
  static constexpr Double kInvoiceAmount{80};          // bytes 80..87
  static constexpr Double kPaidAmount{88};             // bytes 88..95
  static constexpr ShortString kMemo{96, 80};          // bytes 96..176
  static constexpr Boolean kVoucherCreated{177};       // byte 177
  static constexpr ShortString kChangedBy{178, 10};    // bytes 178..188
  static constexpr ShortString kChangedAt{189, 20};    // bytes 189..209, pad 210..215
};
static_assert(sizeof(InvoiceRecV3) == 216);

}  // namespace records
