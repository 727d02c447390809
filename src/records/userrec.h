// The user record: one per person who may log in, in "user.vlk" (file code
// USE, working folder), 284 bytes, in ascending user-id order as the users
// form writes them. The password itself is never stored, only its checksum
// salted with the date-time text of the moment it was set.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct UserRec : Record<284> {
  // Log-in id, upper case, 6 to 10 characters, the unique key.
  static constexpr ShortString kUserId{0, 10};
  // The name; the id when it was left empty.
  static constexpr ShortString kUserName{11, 30};
  // The three rights, 'Y' or 'N'.
  static constexpr Char kEndUser{42};
  static constexpr Char kEndUserManager{43};
  static constexpr Char kSystemAdministrator{44};
  static constexpr ShortString kMemo{45, 200};
  // The id of the user who added the entry or set its password.
  static constexpr ShortString kChangedBy{246, 10};
  // When the password was set (the program's default date-time text); the
  // salt of the checksum.
  static constexpr ShortString kPasswordSetAt{257, 20};
  // Bytes 278 and 279 align the checksum; nothing reads or writes them.
  static constexpr std::size_t kPadOffset = 278;
  static constexpr Int32 kPasswordChecksum{280};

  std::string UserId() const { return Get<kUserId>(); }
  void SetUserId(std::string_view v) { Set<kUserId>(v); }
  std::string UserName() const { return Get<kUserName>(); }
  void SetUserName(std::string_view v) { Set<kUserName>(v); }
  char EndUser() const { return Get<kEndUser>(); }
  void SetEndUser(char v) { Set<kEndUser>(v); }
  char EndUserManager() const { return Get<kEndUserManager>(); }
  void SetEndUserManager(char v) { Set<kEndUserManager>(v); }
  char SystemAdministrator() const { return Get<kSystemAdministrator>(); }
  void SetSystemAdministrator(char v) { Set<kSystemAdministrator>(v); }
  std::string Memo() const { return Get<kMemo>(); }
  void SetMemo(std::string_view v) { Set<kMemo>(v); }
  std::string ChangedBy() const { return Get<kChangedBy>(); }
  void SetChangedBy(std::string_view v) { Set<kChangedBy>(v); }
  std::string PasswordSetAt() const { return Get<kPasswordSetAt>(); }
  void SetPasswordSetAt(std::string_view v) { Set<kPasswordSetAt>(v); }
  std::int32_t PasswordChecksum() const { return Get<kPasswordChecksum>(); }
  void SetPasswordChecksum(std::int32_t v) { Set<kPasswordChecksum>(v); }
};
static_assert(sizeof(UserRec) == 284);

}  // namespace records
