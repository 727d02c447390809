// The GL account record of an older release (184 bytes), as the conversion
// to today's LedgerAccountRec (records/ledgeraccountrec.h) reads it.
#pragma once

#include "records/codec.h"

namespace records {

struct LedgerAccountRecV1 : Record<184> {
  static constexpr ShortString kAccountNumber{0, 20};  // bytes 0..20
  static constexpr ShortString kCaption{21, 30};       // bytes 21..51
  static constexpr ShortString kAccountType{52, 10};   // bytes 52..62
  static constexpr ShortString kCategoryName{63, 30};  // bytes 63..93
  static constexpr ShortString kStartDate{94, 8};      // bytes 94..102, pad 103
  static constexpr Double kStartAmount{104};           // bytes 104..111
  static constexpr ShortString kEndDate{112, 8};       // bytes 112..120, 121..127 not read
  static constexpr Double kSecondAmount{128};          // bytes 128..135
  static constexpr Boolean kIsCashOrBank{136};         // byte 136
  static constexpr ShortString kSalesTaxCode{137, 12}; // bytes 137..149
  static constexpr ShortString kChangedBy{150, 10};    // bytes 150..160
  static constexpr ShortString kChangedAt{161, 20};    // bytes 161..181, pad 182..183
};
static_assert(sizeof(LedgerAccountRecV1) == 184);

}  // namespace records
