// Users: the user record, the user-file routines and the users form, driven
// headless on the in-memory file system.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/oserror.h"
#include "records/userrec.h"
#include "store/fileset.h"
#include "formkit/helpunit.h"
#include "formkit/rowlist.h"
#include "platform/errors.h"
#include "program/mainblock.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "system/userunit.h"
#include "support/fakefs.h"
#include "support/records.h"
#include "support/formfixture.h"
#include "ui/headless.h"
#include "formkit/website.h"

namespace {

using records::UserRec;
using systemforms::TUsers;

const std::string kUserFile = "/w/user.vlk";

UserRec MakeUser(const std::string& id, const std::string& rights = "YNN", const std::string& setAt = "01-02-2023 10:11:12",
                 std::int32_t checksum = 4711, const std::string& name = "") {
  UserRec rec;
  rec.SetUserId(id);
  rec.SetUserName(name.empty() ? "Name of " + id : name);
  rec.SetEndUser(rights[0]);
  rec.SetEndUserManager(rights[1]);
  rec.SetSystemAdministrator(rights[2]);
  rec.SetMemo("Memo of " + id);
  rec.SetChangedBy("SYSTEM");
  rec.SetPasswordSetAt(setAt);
  rec.SetPasswordChecksum(checksum);
  return rec;
}

using support::Bytes;

class Users : public ::testing::Test {
 protected:
  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 3, 5) + platform::EncodeTime(14, 7, 9, 0)};
  const std::string now = "05-03-2024 14:07:09";
  TUsers form;

  void SetUp() override { text::SystemSettings.CurrentUser = "BOSS01"; }

  void WriteUsers(const std::vector<UserRec>& recs) { store.fs.SetFile(kUserFile, Bytes(recs)); }
  std::vector<UserRec> ReadUsers() const { return support::Records<UserRec>(store.fs.File(kUserFile)); }
  static std::vector<std::string> Ids(const std::vector<UserRec>& recs) {
    std::vector<std::string> ids;
    for (const auto& r : recs) ids.push_back(r.UserId());
    return ids;
  }
  // The ids of the grid's user rows.
  static std::vector<std::string> GridIds(const TUsers& u) {
    std::vector<std::string> ids;
    for (int r = 1; r <= systemforms::UserCount; ++r) ids.push_back(u.StringGrid1.Cell(TUsers::ColUserId, r));
    return ids;
  }

  // Shows the form as the function tree does; `script` runs while it is shown.
  void Show(const std::function<void(TUsers&)>& script) { support::ShowAsTreeDoes(backend, form, "USE", script); }

  static void Enter(TUsers& u, const std::string& id, const std::string& name, const std::string& password,
                    const std::string& reentered) {
    u.Edit1.UserSetText(id);
    u.Edit2.UserSetText(name);
    u.Edit5.UserSetText(password);
    u.Edit6.UserSetText(reentered);
  }
  static void SelectRow(TUsers& u, int row) {
    u.StringGrid1.UserSelectCell(0, row);
    u.Up1.UserClick();
  }
};

// --- the record ---------------------------------------------------------------

TEST(UserRecord, FieldsLieAtTheirOffsetsAndThePadBytesAreKept) {
  UserRec rec;
  rec.Bytes[278] = 0xA5;
  rec.Bytes[279] = 0x5A;
  rec.SetUserId("ADMIN1");
  rec.SetUserName(cp1252::L("Jürgen"));
  rec.SetEndUser('Y');
  rec.SetEndUserManager('N');
  rec.SetSystemAdministrator('Y');
  rec.SetMemo("m");
  rec.SetChangedBy("SYSTEM");
  rec.SetPasswordSetAt("05-03-2024 14:07:09");
  rec.SetPasswordChecksum(-2);

  std::array<std::uint8_t, 284> expected{};
  auto put = [&](std::size_t at, const std::string& s) {
    expected[at] = static_cast<std::uint8_t>(s.size());
    std::memcpy(&expected[at + 1], s.data(), s.size());
  };
  put(0, "ADMIN1");
  put(11, "J\xFCrgen");
  expected[42] = 'Y';
  expected[43] = 'N';
  expected[44] = 'Y';
  put(45, "m");
  put(246, "SYSTEM");
  put(257, "05-03-2024 14:07:09");
  expected[278] = 0xA5;
  expected[279] = 0x5A;
  expected[280] = 0xFE;  // -2, little-endian
  expected[281] = expected[282] = expected[283] = 0xFF;
  EXPECT_EQ(rec.Bytes, expected);

  // Texts are cut at their field.
  rec.SetUserId("ABCDEFGHIJKL");
  rec.SetPasswordSetAt("0123456789012345678901234");
  EXPECT_EQ(rec.UserId(), "ABCDEFGHIJ");
  EXPECT_EQ(rec.PasswordSetAt(), "01234567890123456789");
  EXPECT_EQ(rec.Bytes[278], 0xA5);
  EXPECT_EQ(rec.Get<UserRec::kUserName>(), "J\xFCrgen");
}

// --- the built-in user ----------------------------------------------------------

TEST_F(Users, AnEmptyUserFileGetsTheBuiltInUser) {
  store.fs.SetFile(kUserFile, "");
  form.FormCreate();

  const auto recs = ReadUsers();
  ASSERT_EQ(store.fs.File(kUserFile).size(), 284u);
  const UserRec& s = recs[0];
  EXPECT_EQ(s.UserId(), "SYSTEM");
  EXPECT_EQ(s.UserName(), "SYSTEM");
  EXPECT_EQ(std::string({s.EndUser(), s.EndUserManager(), s.SystemAdministrator()}), "YYY");
  EXPECT_EQ(s.Memo(),
            "Change password, write on paper, and keep it in an closed envelope a save place. Change this memo text.");
  EXPECT_EQ(s.ChangedBy(), "SYSTEM");
  EXPECT_EQ(s.PasswordSetAt(), now);
  EXPECT_EQ(s.PasswordChecksum(), text::StringChecksum("kestal", now));
  EXPECT_FALSE(store::FileSetOpen);

  // A file that holds users is left as it is.
  const std::string before = Bytes({MakeUser("ADMIN1")});
  store.fs.SetFile(kUserFile, before);
  form.FormCreate();
  EXPECT_EQ(store.fs.File(kUserFile), before);
}

// A user file with bytes but not one whole record is damaged, not empty: the
// start reports it by name and never puts the default password in its place.
// A partial record after whole ones is ignored, as a full disk can leave one.
TEST_F(Users, ATornUserFileIsAStartUpErrorAndIsKept) {
  const std::string one = Bytes({MakeUser("ADMIN1")});
  struct Case {
    const char* name;
    std::string bytes;
    bool error;
  };
  const Case cases[] = {
      {"one byte", "x", true},
      {"a byte short of a record", one.substr(0, one.size() - 1), true},
      {"a record and a partial one", one + one.substr(0, 100), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.fs.SetFile(kUserFile, c.bytes);
    if (c.error) {
      try {
        form.FormCreate();
        ADD_FAILURE() << "no error";
      } catch (const platform::IoError& e) {
        EXPECT_NE(std::string(e.what()).find(kUserFile), std::string::npos) << e.what();
      }
    } else {
      form.FormCreate();
    }
    EXPECT_EQ(store.fs.File(kUserFile), c.bytes);
    EXPECT_FALSE(store::FileSetOpen);
  }
}

TEST_F(Users, TheFirstStartWritesTheBuiltInUserAndTheLogInFindsIt) {
  backend.mainScript = [](ui::Form&) {};
  ASSERT_EQ(program::RunProgram("/w/"), 0);
  const auto recs = ReadUsers();
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].UserId(), "SYSTEM");
  EXPECT_EQ(recs[0].PasswordChecksum(), text::StringChecksum("kestal", now));

  // Inside an enclosing set that has just written the file, the search still
  // starts at the first record.
  store.fs.SetFile(kUserFile, "");
  int result = -1;
  store::OpenFileSet("USE;SYS", result);
  ASSERT_EQ(result, 0);
  form.FormCreate();
  UserRec rec;
  rec.SetUserId("SYSTEM");
  std::uint8_t found = 9;
  systemforms::FindUser(found, rec);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(rec.PasswordSetAt(), now);
  EXPECT_EQ(systemforms::CountUsers(), 1);
  store::CloseFileSet();
  EXPECT_FALSE(store::FileSetOpen);
}

// --- the user-file routines -----------------------------------------------------

TEST_F(Users, FindUserMatchesExactIdsAndLeavesTheLastRecordWhenNoneMatches) {
  WriteUsers({MakeUser("ADMIN1", "YNN", "a", 1), MakeUser("SYSTEM", "YYY", "b", 2), MakeUser("USER01", "NNN", "c", 3)});
  struct Case {
    std::string id;
    int found;
    std::int32_t checksum;
  };
  for (const Case& c : {Case{"SYSTEM", 1, 2}, Case{"ADMIN1", 1, 1}, Case{"system", 0, 3}, Case{"NOBODY", 0, 3}}) {
    UserRec rec;
    rec.SetUserId(c.id);
    std::uint8_t found = 9;
    systemforms::FindUser(found, rec);
    EXPECT_EQ(found, c.found) << c.id;
    EXPECT_EQ(rec.PasswordChecksum(), c.checksum) << c.id;
  }
  EXPECT_EQ(systemforms::CountUsers(), 3);
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(Users, UnopenableUserFileShowsTheFileErrorTextAlone) {
  store.fs.InjectError(kUserFile, support::FakeFileSystem::Op::OpenReadWrite, 5);
  EXPECT_EQ(systemforms::CountUsers(), 0);
  UserRec rec;
  rec.SetUserId("SYSTEM");
  std::uint8_t found = 9;
  systemforms::FindUser(found, rec);
  EXPECT_EQ(found, 0);
  ASSERT_EQ(backend.messages.size(), 2u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: USE5");
  EXPECT_EQ(backend.messages[1].text, "IO errorcode: USE5");
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(Users, UpdateUserWritesOverTheMatchingRecordAndStampsTheCurrentUser) {
  const std::vector<UserRec> before = {MakeUser("ADMIN1"), MakeUser("SYSTEM", "YYY"), MakeUser("USER01")};
  WriteUsers(before);
  int result = -1;
  store::OpenFileSet("USE", result);
  ASSERT_EQ(result, 0);
  // Wherever the set was, the search starts at the first record.
  UserRec last;
  store::ReadRecord(store::FileCode::USE, 2, last);

  UserRec rec = before[1];
  rec.SetPasswordSetAt(now);
  rec.SetPasswordChecksum(text::StringChecksum("geheim1", now));
  std::uint8_t found = 9;
  systemforms::UpdateUser(found, rec);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(rec.ChangedBy(), "BOSS01");

  UserRec missing = MakeUser("NOBODY");
  systemforms::UpdateUser(found, missing);
  EXPECT_EQ(found, 0);
  store::CloseFileSet();

  const auto after = ReadUsers();
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[1], rec);
  EXPECT_EQ(after[2], before[2]);
}

// --- the form: loading ------------------------------------------------------------

TEST_F(Users, ActivationFillsTheGridFromTheFile) {
  WriteUsers({MakeUser("ADMIN1", "YNy", "01-02-2023 10:11:12", -77), MakeUser("SYSTEM", "YYY")});
  Show([&](TUsers& u) {
    const auto& g = u.StringGrid1;
    EXPECT_EQ(systemforms::UserCount, 2);
    EXPECT_EQ(g.Cell(TUsers::ColUserId, 1), "ADMIN1");
    EXPECT_EQ(g.Cell(TUsers::ColUserName, 1), "Name of ADMIN1");
    // Anything but "Y" shows as the no-mark.
    EXPECT_EQ(g.Cell(TUsers::ColEndUser, 1), systemforms::YesMark);
    EXPECT_EQ(g.Cell(TUsers::ColEndUserManager, 1), systemforms::NoMark);
    EXPECT_EQ(g.Cell(TUsers::ColSystemAdministrator, 1), systemforms::NoMark);
    EXPECT_EQ(g.Cell(TUsers::ColMemo, 1), "Memo of ADMIN1");
    EXPECT_EQ(g.Cell(TUsers::ColChangedBy, 1), "SYSTEM");
    EXPECT_EQ(g.Cell(TUsers::ColPasswordSetAt, 1), "01-02-2023 10:11:12");
    EXPECT_EQ(g.Cell(TUsers::ColChecksum, 1), "-77");
    EXPECT_EQ(g.ColWidth(TUsers::ColChecksum), 0);
    EXPECT_EQ(g.Cell(TUsers::ColUserId, 3), "");
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.RowCount(), TUsers::kMinGridRows);
  });
}

TEST_F(Users, TwentyFiveUsersLoadShowAndSave) {
  std::vector<UserRec> recs;
  for (int i = 0; i < 25; ++i) recs.push_back(MakeUser("USER" + std::string(i < 10 ? "0" : "") + std::to_string(i)));
  WriteUsers(recs);
  Show([&](TUsers& u) {
    EXPECT_EQ(systemforms::UserCount, 25);
    EXPECT_GE(u.StringGrid1.RowCount(), 27);
    EXPECT_EQ(u.StringGrid1.Cell(TUsers::ColUserId, 25), "USER24");
    EXPECT_EQ(u.StringGrid1.Row(), 26);
    // One more goes after them and is shown.
    Enter(u, "ZULU01", "", "secret1", "secret1");
    u.Down1.UserClick();
    EXPECT_EQ(systemforms::UserCount, 26);
    EXPECT_GE(u.StringGrid1.RowCount(), 28);
    EXPECT_EQ(u.StringGrid1.Cell(TUsers::ColUserId, 26), "ZULU01");
    u.Save1.UserClick();
  });
  const auto after = ReadUsers();
  ASSERT_EQ(after.size(), 26u);
  EXPECT_TRUE(std::equal(recs.begin(), recs.end(), after.begin()));
  EXPECT_EQ(after[25].UserId(), "ZULU01");
}

TEST_F(Users, EachActivationShowsOnlyTheUsersOfTheFile) {
  WriteUsers({MakeUser("ADMIN1"), MakeUser("SYSTEM"), MakeUser("USER01")});
  Show([](TUsers&) {});
  WriteUsers({MakeUser("SYSTEM")});
  Show([&](TUsers& u) {
    EXPECT_EQ(GridIds(u), std::vector<std::string>{"SYSTEM"});
    EXPECT_EQ(u.StringGrid1.Cell(TUsers::ColUserId, 2), "");
    EXPECT_EQ(u.StringGrid1.Cell(TUsers::ColUserId, 3), "");
  });
}

// --- the form: adding -----------------------------------------------------------

struct AddCase {
  const char* name;
  std::string id, userName, password, reentered;
  // The status text the case ends with (a function of the unit's texts), or
  // empty when the user is added.
  std::function<std::string(const TUsers&)> error;
  std::vector<std::string> gridAfter;
  std::string nameAfter;  // of the added row
};

void PrintTo(const AddCase& c, std::ostream* os) { *os << c.name; }

class UsersAdd : public Users, public ::testing::WithParamInterface<AddCase> {};

TEST_P(UsersAdd, ChecksAndInsertsInIdOrder) {
  const AddCase& c = GetParam();
  WriteUsers({MakeUser("SYSTEM", "YYY"), MakeUser("ZACHAR")});
  Show([&](TUsers& u) {
    Enter(u, c.id, c.userName, c.password, c.reentered);
    u.CheckBox2.UserClick();
    // Through the menu: the focus never leaves a field.
    u.Down1.UserClick();
    EXPECT_EQ(GridIds(u), c.gridAfter);
    if (c.error) {
      EXPECT_EQ(u.StatusBar1.PanelText(0), c.error(u));
      EXPECT_EQ(u.StatusBar1.BackColor(), ui::colors::Red);
      EXPECT_EQ(u.Edit1.GetText(), c.id) << "the entry stays in the fields";
      return;
    }
    EXPECT_EQ(u.StatusBar1.PanelText(0), "");
    const auto it = std::find(c.gridAfter.begin(), c.gridAfter.end(), c.id);
    const int row = static_cast<int>(it - c.gridAfter.begin()) + 1;
    const auto& g = u.StringGrid1;
    EXPECT_EQ(g.Cell(TUsers::ColUserName, row), c.nameAfter);
    EXPECT_EQ(g.Cell(TUsers::ColEndUser, row), systemforms::NoMark);
    EXPECT_EQ(g.Cell(TUsers::ColEndUserManager, row), systemforms::YesMark);
    EXPECT_EQ(g.Cell(TUsers::ColChangedBy, row), "BOSS01");
    EXPECT_EQ(g.Cell(TUsers::ColPasswordSetAt, row), "");
    EXPECT_EQ(g.Cell(TUsers::ColChecksum, row), c.password);
    EXPECT_EQ(u.Edit1.GetText(), "");
    EXPECT_EQ(u.Edit5.GetText(), "");
    EXPECT_FALSE(u.CheckBox2.Checked());
  });
}

const std::string kEmile = "\xC9MILE1";  // "ÉMILE1" in code page 1252

INSTANTIATE_TEST_SUITE_P(
    Cases, UsersAdd,
    ::testing::Values(
        AddCase{"BeforeSystem", "ADMIN1", "Ann", "secret1", "secret1", nullptr, {"ADMIN1", "SYSTEM", "ZACHAR"}, "Ann"},
        AddCase{"Between", "TINA01", "Tina", "secret1", "secret1", nullptr, {"SYSTEM", "TINA01", "ZACHAR"}, "Tina"},
        AddCase{"EmptyNameTakesTheId",
                "ADMIN1",
                "",
                "secret1",
                "secret1",
                nullptr,
                {"ADMIN1", "SYSTEM", "ZACHAR"},
                "ADMIN1"},
        // Ids compare as code-page bytes: 0xC9 comes after every ASCII letter.
        AddCase{
            "NonAsciiIdInByteOrder", kEmile, "", "secret1", "secret1", nullptr, {"SYSTEM", "ZACHAR", kEmile}, kEmile},
        AddCase{"DuplicateEvenWithWrongPasswords",
                "SYSTEM",
                "x",
                "abc",
                "",
                [](const TUsers&) { return systemforms::MsgUserIdExists; },
                {"SYSTEM", "ZACHAR"},
                ""},
        AddCase{"EmptyId",
                "",
                "x",
                "secret1",
                "secret1",
                [](const TUsers& u) { return u.Userid.Caption() + systemforms::MsgRequiredSuffix; },
                {"SYSTEM", "ZACHAR"},
                ""},
        AddCase{"IdTooShort",
                "ABC",
                "x",
                "secret1",
                "secret1",
                [](const TUsers&) { return systemforms::MsgUserIdTooShort; },
                {"SYSTEM", "ZACHAR"},
                ""},
        AddCase{"PasswordTooShort",
                "ADMIN1",
                "x",
                "abc",
                "abc",
                [](const TUsers&) { return systemforms::MsgPasswordTooShort; },
                {"SYSTEM", "ZACHAR"},
                ""},
        AddCase{"PasswordsDiffer",
                "ADMIN1",
                "x",
                "secret1",
                "secret2",
                [](const TUsers&) { return systemforms::MsgPasswordsDiffer; },
                {"SYSTEM", "ZACHAR"},
                ""},
        AddCase{"NoPassword",
                "ADMIN1",
                "x",
                "",
                "",
                [](const TUsers&) { return systemforms::MsgNoPassword; },
                {"SYSTEM", "ZACHAR"},
                ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the form: select, delete, save -----------------------------------------------

TEST_F(Users, SaveKeepsLoadedUsersByteForByteAndSaltsAddedOnes) {
  UserRec system = MakeUser("SYSTEM", "YYY", "01-02-2023 10:11:12", 123456);
  UserRec user = MakeUser("USER01", "YNN", "", -5);  // stored without a salt text
  system.Bytes[278] = 0x11;
  system.Bytes[279] = 0x22;
  system.Bytes[200] = 'x';  // behind the memo's text
  WriteUsers({system, user});
  store.fs.ClearLog();

  Show([&](TUsers& u) {
    Enter(u, "ADMIN1", "Ann", "secret1", "secret1");
    u.CheckBox3.UserClick();
    u.Image2.UserClick();
    u.Button2.UserClick();
    EXPECT_FALSE(u.InModalLoop());
  });

  const auto recs = ReadUsers();
  ASSERT_EQ(Ids(recs), (std::vector<std::string>{"ADMIN1", "SYSTEM", "USER01"}));
  EXPECT_EQ(recs[1], system);
  EXPECT_EQ(recs[2], user);
  const UserRec& added = recs[0];
  EXPECT_EQ(added.UserName(), "Ann");
  EXPECT_EQ(std::string({added.EndUser(), added.EndUserManager(), added.SystemAdministrator()}), "NNY");
  EXPECT_EQ(added.ChangedBy(), "BOSS01");
  EXPECT_EQ(added.PasswordSetAt(), now);
  EXPECT_EQ(added.PasswordChecksum(), text::StringChecksum("secret1", now));
  // The file was replaced whole, never written in place.
  EXPECT_EQ(store.fs.LogOf("rename "), std::vector<std::string>{"/w/user.vlk.ombrelo-tmp -> /w/user.vlk"});
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(Users, ChangingAUserTakesItOutAndPutsItBackWithANewPassword) {
  WriteUsers({MakeUser("ADMIN1", "YNN"), MakeUser("SYSTEM", "YYY"), MakeUser("USER01", "YNN")});
  Show([&](TUsers& u) {
    SelectRow(u, 3);
    EXPECT_EQ(u.Edit1.GetText(), "USER01");
    EXPECT_EQ(u.Edit2.GetText(), "Name of USER01");
    EXPECT_EQ(u.Memo2.Lines(), std::vector<std::string>{"Memo of USER01"});
    EXPECT_EQ(u.Edit3.GetText(), "SYSTEM");
    EXPECT_EQ(u.Edit4.GetText(), "01-02-2023 10:11:12");
    EXPECT_TRUE(u.CheckBox1.Checked());
    EXPECT_FALSE(u.CheckBox2.Checked());
    EXPECT_EQ(systemforms::UserCount, 2);
    // Save and another Select wait for the entry.
    u.Save1.UserClick();
    EXPECT_EQ(u.StatusBar1.PanelText(0), systemforms::MsgEntryPending);
    EXPECT_TRUE(u.InModalLoop());
    SelectRow(u, 1);
    EXPECT_EQ(u.StatusBar1.PanelText(0), systemforms::MsgEntryPending);
    EXPECT_EQ(systemforms::UserCount, 2);

    u.Edit2.UserSetText("Ulla");
    u.CheckBox2.UserClick();
    u.Edit5.UserSetText("newpass");
    u.Edit6.UserSetText("newpass");
    u.Image2.UserClick();
    EXPECT_EQ(GridIds(u), (std::vector<std::string>{"ADMIN1", "SYSTEM", "USER01"}));
    u.Save.Execute();
  });
  const auto recs = ReadUsers();
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[2].UserName(), "Ulla");
  EXPECT_EQ(recs[2].Memo(), "Memo of USER01");
  EXPECT_EQ(recs[2].EndUserManager(), 'Y');
  EXPECT_EQ(recs[2].PasswordSetAt(), now);
  EXPECT_EQ(recs[2].PasswordChecksum(), text::StringChecksum("newpass", now));
}

TEST_F(Users, DeleteDropsTheSelectedUser) {
  const std::vector<UserRec> before = {MakeUser("ADMIN1"), MakeUser("SYSTEM", "YYY")};
  WriteUsers(before);
  Show([&](TUsers& u) {
    SelectRow(u, 1);
    u.Button1.UserClick();
    EXPECT_EQ(u.Edit1.GetText(), "");
    EXPECT_EQ(u.Edit2.GetText(), "");
    EXPECT_FALSE(u.CheckBox1.Checked());
    u.ToolButton1.UserClick();
  });
  EXPECT_EQ(Ids(ReadUsers()), std::vector<std::string>{"SYSTEM"});
  EXPECT_EQ(ReadUsers()[0], before[1]);
}

TEST_F(Users, SystemCannotBeDeletedAndIsReadOnlyWhileSelected) {
  WriteUsers({MakeUser("ADMIN1"), MakeUser("SYSTEM", "YYY")});
  Show([&](TUsers& u) {
    SelectRow(u, 2);
    EXPECT_TRUE(u.Edit1.ReadOnly());
    EXPECT_TRUE(u.Edit2.ReadOnly());
    EXPECT_EQ(u.Edit1.BackColor(), ui::colors::SkyBlue);
    EXPECT_EQ(u.Edit2.BackColor(), ui::colors::SkyBlue);
    for (ui::CheckBox* c : {&u.CheckBox1, &u.CheckBox2, &u.CheckBox3}) {
      EXPECT_FALSE(c->Enabled());
      EXPECT_TRUE(c->Checked());
    }
    u.Edit1.UserSetText("HACKER");
    u.CheckBox3.UserClick();
    EXPECT_EQ(u.Edit1.GetText(), "SYSTEM");
    EXPECT_TRUE(u.CheckBox3.Checked());

    for (ui::Component* way : std::vector<ui::Component*>{&u.Button1, &u.Delete1, &u.ToolButton2}) {
      u.StatusBar1.Show("", ui::colors::Default);
      way->UserClick();
      EXPECT_EQ(u.StatusBar1.PanelText(0), systemforms::MsgSystemCannotBeDeleted) << way->Name();
      EXPECT_EQ(u.StatusBar1.BackColor(), ui::colors::Red);
      EXPECT_EQ(u.Edit1.GetText(), "SYSTEM");
    }
    // Added back, with a new password only.
    u.Image2.UserClick();
    EXPECT_EQ(u.StatusBar1.PanelText(0), systemforms::MsgNoPassword);
    u.Edit5.UserSetText("sysnew1");
    u.Edit6.UserSetText("sysnew1");
    u.Image2.UserClick();
    EXPECT_EQ(GridIds(u), (std::vector<std::string>{"ADMIN1", "SYSTEM"}));
    EXPECT_FALSE(u.Edit1.ReadOnly());
    EXPECT_EQ(u.Edit1.BackColor(), ui::colors::Cream);
    EXPECT_TRUE(u.CheckBox1.Enabled());
    u.Save1.UserClick();
  });
  const auto recs = ReadUsers();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(std::string({recs[1].EndUser(), recs[1].EndUserManager(), recs[1].SystemAdministrator()}), "YYY");
  EXPECT_EQ(recs[1].PasswordChecksum(), text::StringChecksum("sysnew1", now));
}

TEST_F(Users, SystemSelectedAndCancelledLeavesTheFieldsWritableNextTime) {
  const std::string before = Bytes({MakeUser("SYSTEM", "YYY")});
  store.fs.SetFile(kUserFile, before);
  Show([&](TUsers& u) {
    SelectRow(u, 1);
    u.UserKeyDown(ui::keys::Escape);
    EXPECT_FALSE(u.InModalLoop());
  });
  EXPECT_EQ(store.fs.File(kUserFile), before);
  Show([&](TUsers& u) {
    EXPECT_EQ(GridIds(u), std::vector<std::string>{"SYSTEM"});
    EXPECT_EQ(u.Edit1.GetText(), "");
    EXPECT_FALSE(u.Edit1.ReadOnly());
    EXPECT_TRUE(u.CheckBox1.Enabled());
    u.Cancel1.UserClick();
    EXPECT_FALSE(u.InModalLoop());
  });
  EXPECT_EQ(store.fs.File(kUserFile), before);
}

TEST_F(Users, SelectOnARowWithoutAUserChangesNothing) {
  const std::vector<UserRec> before = {MakeUser("ADMIN1"), MakeUser("SYSTEM", "YYY"), MakeUser("USER01")};
  WriteUsers(before);
  Show([&](TUsers& u) {
    // Where the activation leaves the grid: the row after the last user.
    for (int i = 0; i < 5; ++i) u.Up1.UserClick();
    EXPECT_EQ(systemforms::UserCount, 3);
    SelectRow(u, 10);
    SelectRow(u, 0);
    EXPECT_EQ(systemforms::UserCount, 3);
    EXPECT_EQ(u.Edit1.GetText(), "");
    // Delete with nothing selected drops nobody either.
    u.Button1.UserClick();
    EXPECT_EQ(GridIds(u), (std::vector<std::string>{"ADMIN1", "SYSTEM", "USER01"}));
    u.Save1.UserClick();
  });
  EXPECT_EQ(ReadUsers(), before);
}

TEST_F(Users, ExitChecksOfTheIdAndPasswordFields) {
  WriteUsers({MakeUser("SYSTEM", "YYY")});
  Show([&](TUsers& u) {
    struct Case {
      ui::Edit* field;
      std::string id, password, reentered;
      std::string* message;  // nullptr: accepted
      std::string idAfter, passwordAfter, reenteredAfter;
    };
    const Case cases[] = {
        {&u.Edit1, "ABCDE", "", "", &systemforms::MsgUserIdTooShort, "", "", ""},
        {&u.Edit1, "ABCDEF", "", "", nullptr, "ABCDEF", "", ""},
        {&u.Edit5, "", "12345", "12345", &systemforms::MsgPasswordTooShort, "", "", ""},
        {&u.Edit5, "", "123456", "", nullptr, "", "123456", ""},
        {&u.Edit6, "", "123456", "123457", &systemforms::MsgPasswordsDiffer, "", "", ""},
        {&u.Edit6, "", "123456", "123456", nullptr, "", "123456", "123456"},
    };
    for (const Case& c : cases) {
      u.Edit1.SetText(c.id);
      u.Edit5.SetText(c.password);
      u.Edit6.SetText(c.reentered);
      u.StatusBar1.Show("old", ui::colors::Yellow);
      c.field->UserFocus();
      u.Memo2.UserFocus();  // leaves the field
      const std::string what = c.field->Name() + " " + c.id + c.password + "/" + c.reentered;
      EXPECT_EQ(u.StatusBar1.PanelText(0), c.message ? *c.message : "") << what;
      EXPECT_EQ(u.StatusBar1.BackColor(), c.message ? ui::colors::Red : ui::colors::Default) << what;
      EXPECT_EQ(u.Edit1.GetText(), c.idAfter) << what;
      EXPECT_EQ(u.Edit5.GetText(), c.passwordAfter) << what;
      EXPECT_EQ(u.Edit6.GetText(), c.reenteredAfter) << what;
    }
    u.Edit1.SetText("");
  });
}

TEST_F(Users, SaveFailureShowsTheErrorAndKeepsTheFile) {
  const std::string before = Bytes({MakeUser("SYSTEM", "YYY")});
  store.fs.SetFile(kUserFile, before);
  Show([&](TUsers& u) {
    Enter(u, "ADMIN1", "", "secret1", "secret1");
    u.Image2.UserClick();
    // The new file cannot be written: the old one stays whole.
    store.fs.InjectError("/w/user.vlk.ombrelo-tmp", support::FakeFileSystem::Op::Write, 1028);
    u.Save1.UserClick();
    EXPECT_TRUE(u.InModalLoop());
    store.fs.ClearErrors();
    // The file cannot be opened at all: the error text and the system's text.
    store.fs.InjectError(kUserFile, support::FakeFileSystem::Op::OpenReadWrite, 5);
    u.Save1.UserClick();
    EXPECT_TRUE(u.InModalLoop());
    store.fs.ClearErrors();
    u.Cancel.Execute();
  });
  EXPECT_EQ(store.fs.File(kUserFile), before);
  ASSERT_EQ(backend.messages.size(), 2u);
  EXPECT_EQ(backend.messages[1].text, "IO errorcode: USE5  " + platform::OsErrorText(5));
  EXPECT_FALSE(store::FileSetOpen);
}

// Another copy of the program changes a password while the form is open:
// Save must not write the old checksum back. It refuses with the message,
// and the form keeps what was typed.
TEST_F(Users, SaveRefusesWhenAnotherCopyChangedTheFile) {
  WriteUsers({MakeUser("ANNE01", "YNN", "01-02-2023 10:11:12", 111), MakeUser("SYSTEM", "YYY")});
  Show([&](TUsers& u) {
    Enter(u, "BERT01", "", "secret1", "secret1");
    u.Image2.UserClick();
    // The other copy: the password change of ANNE01.
    WriteUsers({MakeUser("ANNE01", "YNN", "03-03-2024 09:00:00", 999), MakeUser("SYSTEM", "YYY")});
    u.Save1.UserClick();
    EXPECT_TRUE(u.InModalLoop());
    EXPECT_EQ(GridIds(u), (std::vector<std::string>{"ANNE01", "BERT01", "SYSTEM"}));
    u.Cancel.Execute();
  });
  const auto recs = ReadUsers();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0].PasswordChecksum(), 999);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, text::MsgChangedInAnotherCopy());
  EXPECT_FALSE(store::FileSetOpen);
}

// A user file far larger than any list of users is refused by name, before
// memory is taken for it; the form closes and the file is kept.
TEST_F(Users, AHugeUserFileIsRefusedByName) {
  const std::string huge(static_cast<std::size_t>(store::kSmallFileLimit) + UserRec::kSize, 'x');
  store.fs.SetFile(kUserFile, huge);
  bool scriptRan = false;
  backend.scripts["Users"] = [&](ui::Form&) { scriptRan = true; };
  int result = -1;
  store::OpenFileSet("USE", result);
  ASSERT_EQ(result, 0);
  form.ShowModal();
  EXPECT_FALSE(scriptRan);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_NE(backend.messages[0].text.find(kUserFile), std::string::npos) << backend.messages[0].text;
  EXPECT_EQ(store.fs.File(kUserFile).size(), huge.size());
  EXPECT_FALSE(store::FileSetOpen);
}

// The memo holds 200 characters: typing stops there (a line break counts
// as the CR LF it is kept as), so Save never cuts what the user saw.
TEST_F(Users, TheMemoTakesAtMost200TypedCharacters) {
  WriteUsers({MakeUser("SYSTEM", "YYY")});
  Show([&](TUsers& u) {
    u.Memo2.UserSetLines({std::string(250, 'a')});
    EXPECT_EQ(u.Memo2.Lines(), (std::vector<std::string>{std::string(200, 'a')}));
    u.Memo2.UserSetLines({std::string(150, 'a'), std::string(100, 'b')});
    EXPECT_EQ(u.Memo2.Lines(), (std::vector<std::string>{std::string(150, 'a'), std::string(48, 'b')}));
    // The program's own text is not cut.
    u.Memo2.SetLines({std::string(250, 'c')});
    EXPECT_EQ(u.Memo2.Lines()[0].size(), 250u);
    u.Memo2.Clear();
    Enter(u, "BERT01", "", "secret1", "secret1");
    u.Memo2.UserSetLines({std::string(150, 'a'), std::string(100, 'b')});
    u.Image2.UserClick();
    u.Save1.UserClick();
  });
  const auto recs = ReadUsers();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0].Memo(), std::string(150, 'a') + "\r\n" + std::string(48, 'b'));
}

// Shown without the caller's set and unable to read the users, the form
// closes again at once: nothing to work on, and a Save could lose users.
TEST_F(Users, UnreadableUsersCloseTheFormAndKeepTheFile) {
  const std::string before = Bytes({MakeUser("SYSTEM", "YYY")});
  store.fs.SetFile(kUserFile, before);
  store.fs.InjectError(kUserFile, support::FakeFileSystem::Op::OpenReadWrite, 5);
  bool scriptRan = false;
  backend.scripts["Users"] = [&](ui::Form&) { scriptRan = true; };
  form.ShowModal();
  EXPECT_FALSE(scriptRan);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: USE5");
  EXPECT_EQ(store.fs.File(kUserFile), before);
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(Users, HelpKeysAndMenuItems) {
  WriteUsers({MakeUser("SYSTEM", "YYY")});
  Show([&](TUsers& u) {
    struct Case {
      std::function<void()> act;
      std::string tag;
    };
    const Case cases[] = {
        {[&] { u.UserKeyDown(ui::keys::F1); }, "<USE00>"},
        {[&] { u.ToolButton3.UserClick(); }, "<USE00>"},
        {[&] { u.BrenvickUsersHelp1.UserClick(); }, "<USE00>"},
        {[&] { u.BrenvickHelp1.UserClick(); }, ""},
        {[&] { u.Tutorial1.UserClick(); }, "<TUT00>"},
        {[&] { u.About1.UserClick(); }, "<ABO00>"},
    };
    for (const Case& c : cases) {
      formkit::RequestedHelpTag = "unset";
      c.act();
      EXPECT_EQ(formkit::RequestedHelpTag, c.tag);
      EXPECT_TRUE(u.Showing());
      EXPECT_TRUE(u.InModalLoop());
    }
    systemforms::UsersHelpCaptionBlock.LanguageName = "Deutsch";
    u.Brenvickhomepage1.UserClick();
    systemforms::UsersHelpCaptionBlock.LanguageName = "";
    u.Brenvickhomepage1.UserClick();
  });
  EXPECT_EQ(backend.urlsOpened,
            (std::vector<std::string>{formkit::HomePageUrl("Deutsch"), formkit::HomePageUrl("English")}));
}

TEST_F(Users, LanguageTextsNeverMakeTheRightMarksUnreadable) {
  form.ApplyLanguageTexts();
  EXPECT_FALSE(systemforms::YesMark.empty());
  EXPECT_FALSE(systemforms::NoMark.empty());
  EXPECT_NE(systemforms::YesMark, systemforms::NoMark);
  // A user without rights keeps them off through a showing and a save.
  WriteUsers({MakeUser("SYSTEM", "YYY"), MakeUser("USER01", "NNN")});
  Show([&](TUsers& u) { u.Save1.UserClick(); });
  const auto recs = ReadUsers();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(std::string({recs[1].EndUser(), recs[1].EndUserManager(), recs[1].SystemAdministrator()}), "NNN");
}

}  // namespace
