// One record of the release-flag file FLG ("releaseflag.vlk" in an
// administration's data folder), 4 bytes: the code of one data-file
// conversion ("001" to "011") that the administration's files have had.
// Conversion n is written at record index n - 1; a reader only asks whether
// a code is present anywhere in the file.
#pragma once

#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct ReleaseFlagRec : Record<4> {
  static constexpr ShortString kConversionCode{0, 3};  // bytes 0..3

  std::string ConversionCode() const { return Get<kConversionCode>(); }
  void SetConversionCode(std::string_view v) { Set<kConversionCode>(v); }
};
static_assert(sizeof(ReleaseFlagRec) == 4);

}  // namespace records
