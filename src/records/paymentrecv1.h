// Payment records of older releases, as the conversions to today's
// PaymentRec (records/paymentrec.h) read them: 504 bytes (V1) and 520 bytes
// (V2). Only the fields a conversion carries over are named.
#pragma once

#include "records/codec.h"

namespace records {

// 504 bytes.
struct PaymentRecV1 : Record<504> {
  static constexpr ShortString kValueDate{0, 8};      // bytes 0..8
  static constexpr ShortString kBankAccount{9, 15};   // bytes 9..24, pad 25..27
  static constexpr Int32 kPaymentNumber{28};          // bytes 28..31
  static constexpr ShortString kPartnerType{32, 3};   // bytes 32..35
  static constexpr Int32 kPartnerNumber{36};          // bytes 36..39
  static constexpr ShortString kNarrative1{40, 60};   // bytes 40..100
  static constexpr ShortString kNarrative2{101, 60};  // bytes 101..161
  static constexpr ShortString kNarrative3{162, 60};  // bytes 162..222
  static constexpr ShortString kNarrative4{223, 60};  // bytes 223..283
  static constexpr ShortString kNarrative5{284, 60};  // bytes 284..344
  static constexpr ShortString kNarrative6{345, 60};  // bytes 345..405, pad 406..407
  static constexpr Double kAmount{408};               // bytes 408..415
  static constexpr ShortString kMemo{416, 60};        // bytes 416..476, 477..501 not read
  static constexpr Boolean kVoucherCreated{502};      // byte 502, pad 503
};
static_assert(sizeof(PaymentRecV1) == 504);

// 520 bytes.
struct PaymentRecV2 : Record<520> {
  static constexpr ShortString kValueDate{0, 8};      // bytes 0..8
  static constexpr ShortString kBankAccount{9, 15};   // bytes 9..24, pad 25..27
  static constexpr Int32 kPaymentNumber{28};          // bytes 28..31
  static constexpr ShortString kEntryNumber{32, 10};  // bytes 32..42, read only when it holds a text
  static constexpr ShortString kPartnerType{43, 3};   // bytes 43..46, pad 47
  static constexpr Int32 kPartnerNumber{48};          // bytes 48..51
  static constexpr ShortString kNarrative1{52, 60};   // bytes 52..112
  static constexpr ShortString kNarrative2{113, 60};  // bytes 113..173
  static constexpr ShortString kNarrative3{174, 60};  // bytes 174..234
  static constexpr ShortString kNarrative4{235, 60};  // bytes 235..295
  static constexpr ShortString kNarrative5{296, 60};  // bytes 296..356
  static constexpr ShortString kNarrative6{357, 60};  // bytes 357..417, pad 418..423
  static constexpr Double kAmount{424};               // bytes 424..431
  static constexpr ShortString kMemo{432, 60};        // bytes 432..492, 493..517 not read
  static constexpr Boolean kVoucherCreated{518};      // byte 518, pad 519
};
static_assert(sizeof(PaymentRecV2) == 520);

}  // namespace records
