// The administrations record: one record per administration in
// "admin.vlk" (the data root), in the order of the list on the
// administrations form. The short name is also the name of the
// administration's data folder below the root.
#pragma once

#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct AdministrationRec : Record<275> {
  static constexpr ShortString kShortName{0, 10};
  static constexpr ShortString kName{11, 30};
  static constexpr ShortString kMemo{42, 200};
  static constexpr ShortString kCreatedBy{243, 10};
  static constexpr ShortString kCreatedAt{254, 20};

  std::string ShortName() const { return Get<kShortName>(); }
  void SetShortName(std::string_view v) { Set<kShortName>(v); }
  std::string Name() const { return Get<kName>(); }
  void SetName(std::string_view v) { Set<kName>(v); }
  std::string Memo() const { return Get<kMemo>(); }
  void SetMemo(std::string_view v) { Set<kMemo>(v); }
  std::string CreatedBy() const { return Get<kCreatedBy>(); }
  void SetCreatedBy(std::string_view v) { Set<kCreatedBy>(v); }
  std::string CreatedAt() const { return Get<kCreatedAt>(); }
  void SetCreatedAt(std::string_view v) { Set<kCreatedAt>(v); }
};
static_assert(sizeof(AdministrationRec) == 275);
static_assert(AdministrationRec::kCreatedAt.offset + AdministrationRec::kCreatedAt.Size() == 275);

}  // namespace records
