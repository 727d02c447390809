// The GL category record of an older release (94 bytes), as the conversion
// to today's LedgerCategoryRec (records/ledgercategoryrec.h) reads it.
#pragma once

#include "records/codec.h"

namespace records {

struct LedgerCategoryRecV1 : Record<94> {
  static constexpr ShortString kCategoryKind{0, 30};   // bytes 0..30
  static constexpr ShortString kCategoryName{31, 30};  // bytes 31..61
  static constexpr ShortString kChangedBy{62, 10};     // bytes 62..72
  static constexpr ShortString kChangedAt{73, 20};     // bytes 73..93
};
static_assert(sizeof(LedgerCategoryRecV1) == 94);

}  // namespace records
