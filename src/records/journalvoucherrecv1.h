// The journal-voucher line of an older release (208 bytes), as the
// conversion to today's JournalVoucherRec (records/journalvoucherrec.h)
// reads it.
#pragma once

#include "records/codec.h"

namespace records {

struct JournalVoucherRecV1 : Record<208> {
  static constexpr ShortString kVoucherDate{0, 8};      // bytes 0..8
  static constexpr ShortString kBookNumber{9, 20};      // bytes 9..29, 30..50 not read
  static constexpr ShortString kLineText{51, 40};       // bytes 51..91
  static constexpr ShortString kAccountNumber{92, 20};  // bytes 92..112
  static constexpr ShortString kAccountCaption{113, 30};  // bytes 113..143
  static constexpr ShortString kCostCentre{144, 20};    // bytes 144..164
  static constexpr Boolean kInvoiceAttached{165};       // byte 165
  static constexpr ShortString kPartnerType{166, 3};    // bytes 166..169, pad 170..171
  static constexpr Int32 kPartnerNumber{172};           // bytes 172..175
  static constexpr ShortString kInvoiceNumber{176, 15};  // bytes 176..191
  static constexpr Double kDebitAmount{192};            // bytes 192..199
  static constexpr Double kCreditAmount{200};           // bytes 200..207
};
static_assert(sizeof(JournalVoucherRecV1) == 208);

}  // namespace records
