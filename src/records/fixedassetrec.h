// One fixed asset of an administration: a record of the file FIX
// ("fixed.vlk"), 256 bytes. The file is kept in ascending byte order of
// the asset number, which is unique. The 153 bytes after the description
// are reserved: a new record has them zero, and records keep theirs when
// they move.
#pragma once

#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct FixedAssetRec : Record<256> {
  static constexpr ShortString kAssetNumber{0, 20};     // bytes 0..20
  static constexpr ShortString kAccountNumber{21, 60};  // bytes 21..81
  static constexpr ShortString kDescription{82, 20};    // bytes 82..102, reserved 103..255

  // The sort key.
  std::string AssetNumber() const { return Get<kAssetNumber>(); }
  void SetAssetNumber(std::string_view v) { Set<kAssetNumber>(v); }
  // The GL account as chosen in the form's list: number + "{" + caption + "}".
  std::string AccountNumber() const { return Get<kAccountNumber>(); }
  void SetAccountNumber(std::string_view v) { Set<kAccountNumber>(v); }
  std::string Description() const { return Get<kDescription>(); }
  void SetDescription(std::string_view v) { Set<kDescription>(v); }
};
static_assert(sizeof(FixedAssetRec) == 256);

}  // namespace records
