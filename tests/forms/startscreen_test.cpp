// The start screen: its activation, the log-in, the change of password, the
// administration box, the tips, the keys and help, and the dispatch of the
// function tree, on the whole program driven headless.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "books/administration/admincopy.h"
#include "masterdata/Administrationsunit.h"
#include "records/adminsettingsrec.h"
#include "records/ledgercategoryrec.h"
#include "store/adminsettingsload.h"
#include "platform/datetime.h"
#include "platform/oserror.h"
#include "store/fileset.h"
#include "formkit/helpunit.h"
#include "text/languagefile.h"
#include "program/languageroutine.h"
#include "text/languagetext.h"
#include "program/startschermunit.h"
#include "store/session.h"
#include "system/systemscreen.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "system/userunit.h"
#include "support/program.h"
#include "support/records.h"

namespace {

using program::TreeFunction;
using support::FakeFileSystem;
using support::ProgramFixture;
using text::L;

// The program after its first run, with users and administrations of the
// tests' choosing, started again on those files.
class StartScreen : public ::testing::Test, public ProgramFixture {
 protected:
  void SetUp() override {
    Start();
    WriteUsers({MakeUser("SYSTEM", "kestal", "YYY"), MakeUser("CLERK1", "secret1", "YNN"),
                MakeUser("MANAGER", "secret2", "YYN")});
    WriteAdministrations({{"ACME", "Acme Ltd"}, {"BETA", "Beta BV"}});
    Restart();
    SetUserOptions(true, true);
    backend.modalShown.clear();
    backend.messages.clear();
  }

  program::TStartscherm& s() { return Screen(); }
};

// --- activation ----------------------------------------------------------------

TEST(StartScreenFirstRun, ShowsTheSettingsFormFirstThenTheFilledInLogInPanel) {
  ProgramFixture p;
  std::string statusText;
  ui::Color statusColor;
  bool startScreenHidden = false;
  p.backend.scripts["systemscherm"] = [&](ui::Form& f) {
    auto& settings = static_cast<systemforms::Tsystemscherm&>(f);
    statusText = settings.StatusBar1.PanelText(0);
    statusColor = settings.StatusBar1.BackColor();
    startScreenHidden = !program::Startscherm->Showing();
  };
  p.Start();
  auto& s = p.Screen();

  EXPECT_EQ(p.backend.modalShown, std::vector<std::string>{"systemscherm"});
  EXPECT_EQ(statusText, "Please, first insert systemsettings");
  EXPECT_EQ(statusColor, ui::colors::Red);
  EXPECT_TRUE(startScreenHidden);
  EXPECT_TRUE(s.Showing());
  EXPECT_EQ(systemforms::systemscherm->StatusBar1.BackColor(), ui::colors::Default);
  EXPECT_FALSE(systemforms::systemscherm->FirstRun);

  // The built-in user alone, with its first password: the panel is filled
  // in. No administration exists yet: the box holds the empty item only.
  EXPECT_EQ(s.Edit2.GetText(), "SYSTEM");
  EXPECT_EQ(s.Edit3.GetText(), "kestal");
  ASSERT_EQ(s.ComboBox1.Count(), 1);
  EXPECT_EQ(s.ComboBox1.GetText(), "");
  EXPECT_TRUE(s.Panel1.Visible());
  EXPECT_FALSE(s.Panel2.Visible());
  EXPECT_TRUE(s.Panel3.Visible());
  EXPECT_FALSE(s.Edit4.Visible());
  // No set is left open, and nothing is offered before a log-in.
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(p.TreeLines(), std::vector<std::string>{"Ombrelo Account Enterprise 2.0.6 [0]"});
  EXPECT_EQ(s.Caption(), "Ombrelo Account Enterprise 2.0.6 : Menu ");
  EXPECT_EQ(program::FarEndDate, platform::EncodeDate(2050, 12, 31));
}

TEST_F(StartScreen, ActivationFollowsTheUserOptionsAndListsTheAdministrations) {
  struct Case {
    bool identification, password;
    bool idShown, passwordShown;
  };
  for (const Case c : {Case{true, true, true, true}, Case{true, false, true, false}, Case{false, false, false, false},
                       // A password without a user id is no protection.
                       Case{false, true, false, false}}) {
    SetUserOptions(c.identification, c.password);
    s().FormActivate();
    EXPECT_EQ(s().Edit2.Visible(), c.idShown) << c.identification << c.password;
    EXPECT_EQ(s().Label1.Visible(), c.idShown);
    EXPECT_EQ(s().Edit3.Visible(), c.passwordShown) << c.identification << c.password;
    EXPECT_EQ(s().Label2.Visible(), c.passwordShown);
  }
  // Three users: nothing is filled in.
  EXPECT_EQ(s().Edit2.GetText(), "");
  EXPECT_EQ(s().Edit3.GetText(), "");
  ASSERT_EQ(s().ComboBox1.Count(), 3);
  EXPECT_EQ(s().ComboBox1.Items()[0].text, "");
  EXPECT_EQ(s().ComboBox1.Items()[1].text, "Acme Ltd");
  EXPECT_EQ(s().ComboBox1.Items()[2].text, "Beta BV");
  // The first administration is chosen.
  EXPECT_EQ(s().ComboBox1.GetText(), "Acme Ltd");
}

// --- log-in ----------------------------------------------------------------------

struct LogInCase {
  const char* name;
  bool identification, password;
  const char* id;
  const char* pass;
  const char* administration;
  bool ok;
  // On success: the current user, the administration and the groups below
  // the root.
  const char* currentUser;
  const char* code;
  std::vector<int> groups;
};

class LogIns : public StartScreen, public ::testing::WithParamInterface<LogInCase> {};

TEST_P(LogIns, CheckTheUserAndTheAdministration) {
  const LogInCase& c = GetParam();
  SetUserOptions(c.identification, c.password);
  const std::string userBefore = store::SystemParams.CurrentUser();
  LogIn(c.id, c.pass, c.administration);

  if (!c.ok) {
    EXPECT_TRUE(s().Edit4.Visible());
    EXPECT_EQ(s().Edit4.GetText(), L(8998));
    EXPECT_TRUE(s().Panel1.Visible());
    // Nothing of the refused log-in stays behind.
    EXPECT_FALSE(program::LoginDone);
    EXPECT_EQ(store::SystemParams.CurrentUser(), userBefore);
    EXPECT_EQ(store::CurrentAdministrationCode, "");
    EXPECT_EQ(TreeLines().size(), 1u);
    EXPECT_FALSE(store::FileSetOpen);
    return;
  }
  EXPECT_TRUE(program::LoginDone);
  EXPECT_FALSE(s().Panel1.Visible());
  EXPECT_FALSE(s().Edit4.Visible());
  EXPECT_EQ(store::SystemParams.CurrentUser(), c.currentUser);
  EXPECT_EQ(text::SystemSettings.CurrentUser, c.currentUser);
  EXPECT_EQ(store::CurrentAdministrationCode, c.code);
  std::vector<std::string> expected = {L(550)};
  if (c.identification && c.password) expected.push_back(L(633));
  for (int g : c.groups) expected.push_back(L(g));
  EXPECT_EQ(TopLevelTexts(), expected);
  EXPECT_FALSE(store::FileSetOpen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogIns,
    ::testing::Values(
        LogInCase{"RightPasswordAndAdministration", true, true, "SYSTEM", "kestal", "Acme Ltd", true, "SYSTEM", "ACME",
                  {852, 965, 1110}},
        LogInCase{"WrongPassword", true, true, "SYSTEM", "kestal2", "Acme Ltd", false, "", "", {}},
        LogInCase{"WrongPasswordEmptyBox", true, true, "SYSTEM", "wrong", "", false, "", "", {}},
        LogInCase{"WrongPasswordUnknownAdministration", true, true, "SYSTEM", "wrong", "Nope", false, "", "", {}},
        LogInCase{"UnknownUser", true, true, "NOBODY", "kestal", "Acme Ltd", false, "", "", {}},
        LogInCase{"UnknownAdministration", true, true, "SYSTEM", "kestal", "Nope", false, "", "", {}},
        // Only the system-administration group; no administration.
        LogInCase{"EmptyBox", true, true, "SYSTEM", "kestal", "", true, "SYSTEM", "", {1110}},
        LogInCase{"EmptyBoxWithoutAdministratorRight", true, true, "CLERK1", "secret1", "", true, "CLERK1", "", {}},
        LogInCase{"RightsOfTheUser", true, true, "MANAGER", "secret2", "Beta BV", true, "MANAGER", "BETA",
                  {852, 965}},
        LogInCase{"EndUserOnly", true, true, "CLERK1", "secret1", "Acme Ltd", true, "CLERK1", "ACME", {852}},
        // Without password protection the password is not looked at.
        LogInCase{"NoPasswordProtection", true, false, "CLERK1", "anything", "Acme Ltd", true, "CLERK1", "ACME",
                  {852}},
        // Without user identification nobody is asked: all rights.
        LogInCase{"NoUserIdentification", false, false, "", "", "Acme Ltd", true, "UNKNOWN", "ACME",
                  {852, 965, 1110}},
        LogInCase{"NoIdentificationButProtection", false, true, "", "", "Acme Ltd", true, "UNKNOWN", "ACME",
                  {852, 965, 1110}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartScreen, UserIdentificationOffLogsInAsUnknownWithEveryRightButNoUsersNode) {
  SetUserOptions(false, false);
  LogIn("", "", "Acme Ltd");
  EXPECT_EQ(s().Edit2.GetText(), "UNKNOWN");
  EXPECT_TRUE(program::RightEndUser && program::RightEndUserManager && program::RightSystemAdministrator);
  EXPECT_NE(Node(TreeFunction::Administrations), nullptr);
  EXPECT_EQ(Node(TreeFunction::Users), nullptr);
  EXPECT_EQ(Node(TreeFunction::ChangePassword), nullptr);
}

TEST_F(StartScreen, LogInMakesTheAdministrationsFilesAndLoadsItsSettings) {
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  ASSERT_TRUE(program::LoginDone);
  std::vector<std::string> files = store.fs.FilesIn("/w/data/ACME");
  std::erase(files, ".ombrelo.lock");
  EXPECT_EQ(files,
            (std::vector<std::string>{"adminset.vlk", "book.vlk", "customer.vlk", "freeze.vlk", "invsum.vlk",
                                      "ledger.vlk", "ledgerct.vlk", "payment.vlk", "releaseflag.vlk",
                                      "supplier.vlk"}));
  // A new administration's settings are written at once.
  EXPECT_EQ(store.fs.File("/w/data/ACME/adminset.vlk").size(), 1386u);
  EXPECT_EQ(text::SystemSettings.DataFolder, "/w/data/ACME/");
  EXPECT_EQ(store::CurrentDataFolder(), "/w/data/ACME/");
  EXPECT_EQ(store::CurrentAdministrationName, "Acme Ltd");
  EXPECT_EQ(s().Label5.Caption(), " " + L(1261) + " (Acme Ltd)");
  EXPECT_EQ(store.fs.OpenHandles(), 0);
  EXPECT_EQ(store.fs.HeldLocks(), 0);
}

// The release-flag file's bytes for these codes, each at its own place.
std::string FlagBytes(const std::vector<std::string>& codes) {
  std::string bytes;
  for (const std::string& code : codes) bytes += std::string(1, static_cast<char>(code.size())) + code;
  return bytes;
}

const std::vector<std::string> kAllCodes = {"001", "002", "003", "004", "005", "006",
                                            "007", "008", "009", "010", "011"};

TEST_F(StartScreen, LogInConvertsOldLayoutsAndSaysWhereTheBackupsAre) {
  const std::string acme = "/w/data/ACME/";
  // A GL category in the old 94-byte layout.
  std::string oldCategory(94, '\0');
  oldCategory.replace(0, 7, std::string("\x06") + "Assets");
  oldCategory.replace(31, 6, std::string("\x05") + "Stock");
  struct Case {
    const char* name;
    std::string flags;             // the release-flag file before the log-in
    std::string ledgerCategories;  // "ledgerct.vlk" before the log-in
    bool converted;                // ledgerct.vlk converted, its backup kept
    bool opened;
    std::string backup = {};       // "ledgerct004.vlk" before the log-in ({}: none)
  };
  const std::string category(134, 'c');
  const std::vector<Case> cases = {
      {"NewAdministration", "", "", false, true},
      {"EveryCodeRecorded", FlagBytes(kAllCodes), category, false, true},
      // Today's layout without the codes (a folder copied by hand): the codes
      // are recorded, nothing converted.
      {"NoCodesTodaysLayout", "", category, false, true},
      {"NoCodesOldLayout", "", oldCategory + oldCategory, true, true},
      {"OlderReleaseOldLayout", FlagBytes({"001", "002", "003"}), oldCategory, true, true},
      // A size that fits no layout: converted by the expected one, the
      // partial last record left out and named.
      {"PartialLastRecord", "", oldCategory + "xy", true, true},
      // A backup in the way that holds something else: refused, the file
      // as it was.
      {"BackupInTheWay", "", oldCategory, false, false, "zz"},
      {"SomeCodesNoData", FlagBytes({"001", "005"}), "", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.fs.SetFile(acme + "releaseflag.vlk", c.flags);
    store.fs.SetFile(acme + "ledgerct.vlk", c.ledgerCategories);
    store.fs.SetFile(acme + "adminset.vlk", "");
    store.fs.Delete(acme + "ledgerct004.vlk");
    if (!c.backup.empty()) store.fs.SetFile(acme + "ledgerct004.vlk", c.backup);
    Restart();
    SetUserOptions(true, true);
    backend.messages.clear();
    LogIn("SYSTEM", "kestal", "Acme Ltd");
    ASSERT_TRUE(program::LoginDone);
    EXPECT_FALSE(store::FileSetOpen);
    EXPECT_EQ(store.fs.HasFile(acme + "ledgerct004.vlk"), c.converted || !c.backup.empty());
    if (c.opened) {
      EXPECT_EQ(store::CurrentAdministrationCode, "ACME");
      // Every code, code n at index n - 1.
      EXPECT_EQ(store.fs.File(acme + "releaseflag.vlk"), FlagBytes(kAllCodes));
      EXPECT_EQ(store.fs.File(acme + "adminset.vlk").size(), 1386u);
    }
    if (c.converted) {
      EXPECT_EQ(store.fs.File(acme + "ledgerct004.vlk"), c.ledgerCategories);
      const std::string now = store.fs.File(acme + "ledgerct.vlk");
      ASSERT_EQ(now.size(), c.ledgerCategories.size() / 94 * 134);
      ASSERT_FALSE(now.empty());
      const auto rec = support::Record<records::LedgerCategoryRec>(now.substr(0, 134));
      EXPECT_EQ(rec.CategoryKind(), "Assets");
      EXPECT_EQ(rec.CategoryName(), "Stock");
      // Said once, naming the file, its backup and the folder.
      ASSERT_EQ(backend.messages.size(), 1u);
      const std::string& text = backend.messages[0].text;
      EXPECT_NE(text.find("\"Acme Ltd\" (ACME)"), std::string::npos);
      EXPECT_NE(text.find("ledgerct.vlk (backup ledgerct004.vlk"), std::string::npos);
      EXPECT_NE(text.find(acme), std::string::npos);
      EXPECT_EQ(text.find("the last 2 bytes, no whole record, were left out") != std::string::npos,
                c.ledgerCategories.size() % 94 == 2);
    } else if (c.opened) {
      EXPECT_EQ(store.fs.File(acme + "ledgerct.vlk"), c.ledgerCategories);
      EXPECT_TRUE(backend.messages.empty());
    } else {
      // Refused with a message naming the administration and the file.
      ASSERT_EQ(backend.messages.size(), 1u);
      const std::string& text = backend.messages[0].text;
      EXPECT_NE(text.find("\"Acme Ltd\" (ACME)"), std::string::npos);
      EXPECT_NE(text.find("\"ledgerct004.vlk\" exists already"), std::string::npos);
      EXPECT_NE(text.find("\"ledgerct.vlk\""), std::string::npos);
      EXPECT_EQ(store.fs.File(acme + "ledgerct.vlk"), c.ledgerCategories);
      EXPECT_EQ(store.fs.File(acme + "ledgerct004.vlk"), c.backup);
      // The codes before the file's are recorded (with the later ones of
      // the same files), its own not.
      EXPECT_EQ(store.fs.File(acme + "releaseflag.vlk"),
                FlagBytes({"001", "002", "003"}) + std::string(5 * 4, '\0') + FlagBytes({"009", "010", "011"}));
      EXPECT_EQ(store.fs.File(acme + "adminset.vlk"), "");
      EXPECT_EQ(store::CurrentAdministrationCode, "");
      EXPECT_EQ(TopLevelTexts(), (std::vector<std::string>{L(550), L(633), L(1110)}));
    }
  }
}

TEST_F(StartScreen, TheConversionMessageFollowsTheLanguage) {
  store::ConversionOutcome outcome;
  outcome.converted = {{"invsum.vlk", "invsum001.vlk", "001"}, {"ledger.vlk", "ledger003.vlk", "003"}};
  struct Case {
    const char* language;
    const char* backupWord;
  };
  for (const Case& c : {Case{"English", "backup"}, Case{"Nederlands", "reservekopie"}, Case{"Deutsch", "Sicherung"}}) {
    SCOPED_TRACE(c.language);
    text::CurrentLanguage.SetL(0, c.language);
    const std::string text = program::DataConversionText("Acme Ltd", "ACME", "/w/data/ACME/", outcome);
    EXPECT_NE(text.find(std::string("invsum.vlk (") + c.backupWord + " invsum001.vlk), ledger.vlk (" + c.backupWord +
                        " ledger003.vlk)"),
              std::string::npos);
    EXPECT_NE(text.find("/w/data/ACME/"), std::string::npos);
  }
  EXPECT_EQ(program::DataConversionText("Acme Ltd", "ACME", "/w/data/ACME/", {}), "");

  // A failure names the administration, the file (and the backup in the
  // way), and says it was not opened.
  text::CurrentLanguage.SetL(0, "English");
  using Outcome = store::ConversionOutcome;
  struct Failure {
    Outcome::Failure failure;
    std::vector<std::string> named;
  };
  const std::vector<Failure> failures = {
      {Outcome::BackupDiffers, {"\"payment002.vlk\"", "\"payment.vlk\""}},
      {Outcome::FileError, {"\"payment.vlk\"", "disk full"}},
      // A size of two layouts that the dates cannot tell: both counts.
      {Outcome::LayoutUndecided,
       {"\"payment.vlk\"", "73 records of 504 bytes (an older layout) or 63 records of 584 bytes"}},
  };
  for (const Failure& f : failures) {
    Outcome failed;
    failed.failure = f.failure;
    failed.fileName = "payment.vlk";
    failed.backupName = "payment002.vlk";
    failed.errorText = "disk full";
    failed.readings = {{504, 73, false}, {584, 63, true}};
    const std::string text = program::DataConversionText("Acme Ltd", "ACME", "/w/data/ACME/", failed);
    EXPECT_NE(text.find("\"Acme Ltd\" (ACME)"), std::string::npos) << text;
    EXPECT_NE(text.find("not opened"), std::string::npos) << text;
    for (const std::string& n : f.named) EXPECT_NE(text.find(n), std::string::npos) << text;
  }
  // Files converted before the failure keep their backups: named as well.
  Outcome partly;
  partly.converted = {{"invsum.vlk", "invsum001.vlk", "001"}};
  partly.failure = Outcome::BackupDiffers;
  partly.fileName = "payment.vlk";
  partly.backupName = "payment002.vlk";
  const std::string text = program::DataConversionText("Acme Ltd", "ACME", "/w/data/ACME/", partly);
  EXPECT_NE(text.find("invsum.vlk (backup invsum001.vlk)"), std::string::npos) << text;
  EXPECT_NE(text.find("\"payment002.vlk\" exists already"), std::string::npos) << text;
  // A partial last record left out is named, in each language.
  Outcome partial;
  partial.converted = {{"ledgerct.vlk", "ledgerct004.vlk", "004", 2}};
  for (const Case& c : {Case{"English", "the last 2 bytes"}, Case{"Nederlands", "de laatste 2 bytes"},
                        Case{"Deutsch", "die letzten 2 Bytes"}}) {
    text::CurrentLanguage.SetL(0, c.language);
    EXPECT_NE(program::DataConversionText("Acme Ltd", "ACME", "/w/data/ACME/", partial).find(c.backupWord),
              std::string::npos)
        << c.language;
  }
}

TEST_F(StartScreen, LogInTellsOfACopyIntoTheAdministrationThatDidNotFinish) {
  const auto told = [&] {
    for (const auto& m : backend.messages)
      if (m.text == books::administration::UnfinishedCopyText()) return true;
    return false;
  };
  const auto logInAgain = [&](const char* administration) {
    Restart();
    SetUserOptions(true, true);
    backend.messages.clear();
    LogIn("SYSTEM", "kestal", administration);
  };
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  EXPECT_FALSE(told());
  store.fs.SetFile(std::string("/w/data/ACME/") + books::administration::kUnfinishedCopyFileName, "Copy from /w/data/BETA/\r\n");
  logInAgain("Acme Ltd");
  ASSERT_EQ(store::CurrentAdministrationCode, "ACME");
  EXPECT_TRUE(told());
  // Only the administration that carries it.
  logInAgain("Beta BV");
  ASSERT_EQ(store::CurrentAdministrationCode, "BETA");
  EXPECT_FALSE(told());
}

TEST_F(StartScreen, LogInWarnsWhenStoredDatesWereReplaced) {
  const std::string acme = "/w/data/ACME/";
  for (bool damaged : {false, true}) {
    // A first log-in writes the record; then a date in it is spoilt.
    LogIn("SYSTEM", "kestal", "Acme Ltd");
    ASSERT_EQ(store::CurrentAdministrationCode, "ACME");
    const std::string bytes = store.fs.File(acme + "adminset.vlk");
    ASSERT_EQ(bytes.size(), 1386u);
    auto rec = support::Record<records::AdminSettingsRec>(bytes);
    if (damaged) rec.SetBookYearEnd("2008133");
    store.fs.SetFile(acme + "adminset.vlk", support::Bytes(rec));
    Restart();
    SetUserOptions(true, true);
    backend.messages.clear();
    LogIn("SYSTEM", "kestal", "Acme Ltd");
    EXPECT_EQ(store::CurrentAdministrationCode, "ACME");
    if (damaged) {
      ASSERT_EQ(backend.messages.size(), 1u);
      EXPECT_EQ(backend.messages[0].text, store::MsgStoredDatesReplaced);
    } else {
      EXPECT_TRUE(backend.messages.empty());
    }
    Restart();
    SetUserOptions(true, true);
  }
}

TEST_F(StartScreen, TwoAdministrationsOfTheSameNameOpenThePickedOne) {
  WriteAdministrations({{"ONE", "Demo BV"}, {"TWO", "Demo BV"}});
  s().FormActivate();
  s().Edit2.SetText("SYSTEM");
  s().Edit3.SetText("kestal");
  s().ComboBox1.UserSelect(2);
  s().ComboBox1.UserFocus();
  s().Edit2.UserFocus();  // leaving the box keeps the pick
  s().Button1.UserClick();
  EXPECT_EQ(store::CurrentAdministrationCode, "TWO");
  EXPECT_TRUE(store.fs.HasFile("/w/data/TWO/adminset.vlk"));
  EXPECT_TRUE(store.fs.FilesIn("/w/data/ONE").empty());

  // The switch to the first one.
  ASSERT_TRUE(DoubleClick(TreeFunction::SwitchAdministration));
  s().ComboBox1.UserSelect(1);
  s().Button1.UserClick();
  EXPECT_EQ(store::CurrentAdministrationCode, "ONE");
  EXPECT_EQ(text::SystemSettings.DataFolder, "/w/data/ONE/");
}

TEST_F(StartScreen, ShortNameThatCannotNameAFolderIsRefused) {
  WriteAdministrations({{"..", "Outside"}});
  s().FormActivate();
  LogIn("SYSTEM", "kestal", "Outside");
  EXPECT_FALSE(program::LoginDone);
  EXPECT_EQ(s().Edit4.GetText(), L(8998));
  EXPECT_FALSE(store.fs.HasFile("/w/adminset.vlk"));
}

TEST_F(StartScreen, AdministrationFilesThatCannotBeOpenedLeaveOnlyTheSystemGroup) {
  struct Case {
    const char* path;
    FakeFileSystem::Op op;
    std::string message;
  };
  const std::string readOnly = "IO errorcode: GLA5  " + platform::OsErrorText(5);
  for (const Case& c : {Case{"/w/data/ACME/ledger.vlk", FakeFileSystem::Op::Create, "ledger.vlk"},
                        Case{"/w/data/BETA/ledger.vlk", FakeFileSystem::Op::OpenReadWrite, readOnly}}) {
    const bool acme = std::string(c.path).find("ACME") != std::string::npos;
    store.fs.SetFile("/w/data/BETA/ledger.vlk", "");
    store.fs.InjectError(c.path, c.op, 5);
    backend.messages.clear();
    Restart();
    SetUserOptions(true, true);
    LogIn("SYSTEM", "kestal", acme ? "Acme Ltd" : "Beta BV");
    ASSERT_EQ(backend.messages.size(), 1u) << c.path;
    EXPECT_NE(backend.messages[0].text.find(c.message), std::string::npos) << backend.messages[0].text;
    EXPECT_TRUE(program::LoginDone);
    EXPECT_FALSE(s().Panel1.Visible());
    EXPECT_EQ(TopLevelTexts(), (std::vector<std::string>{L(550), L(633), L(1110)}));
    // The data folder is the root again, not the administration that failed.
    EXPECT_EQ(store::CurrentAdministrationCode, "");
    EXPECT_EQ(text::SystemSettings.DataFolder, "/w/data/");
    EXPECT_FALSE(store::FileSetOpen);
    store.fs.ClearErrors();
  }
}

TEST_F(StartScreen, UserFileThatCannotBeOpenedKeepsThePanel) {
  store.fs.InjectError("/w/user.vlk", FakeFileSystem::Op::OpenReadWrite, 5);
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  ASSERT_FALSE(backend.messages.empty());
  EXPECT_EQ(backend.messages.back().text, "IO errorcode: USE5  " + platform::OsErrorText(5));
  EXPECT_TRUE(s().Panel1.Visible());
  EXPECT_FALSE(program::LoginDone);
}

TEST_F(StartScreen, SwitchAdministrationAsksOnlyForTheAdministration) {
  LogIn("MANAGER", "secret2", "");
  // An empty box cleared the first two rights; MANAGER has no third.
  EXPECT_EQ(TopLevelTexts(), (std::vector<std::string>{L(550), L(633)}));
  ASSERT_TRUE(DoubleClick(TreeFunction::SwitchAdministration));
  EXPECT_TRUE(s().Panel1.Visible());
  EXPECT_FALSE(s().Edit2.Visible());
  EXPECT_FALSE(s().Edit3.Visible());
  EXPECT_FALSE(s().Button2.Visible());
  EXPECT_EQ(s().Label4.Caption(), L(1182));
  EXPECT_TRUE(program::AdministrationOnlyLogin);
  // The user is not asked again; the rights come back.
  s().Edit3.SetText("wrong");
  s().ComboBox1.SetText("Beta BV");
  s().Button1.UserClick();
  EXPECT_EQ(store::CurrentAdministrationCode, "BETA");
  EXPECT_EQ(store::SystemParams.CurrentUser(), "MANAGER");
  EXPECT_EQ(TopLevelTexts(), (std::vector<std::string>{L(550), L(633), L(852), L(965)}));
}

// --- change of password --------------------------------------------------------

TEST(StartScreenPassword, PrefillEndsWithTheChangeOfTheDefaultPassword) {
  ProgramFixture p;
  p.Start();
  p.SetUserOptions(true, true);
  ASSERT_EQ(p.Screen().Edit2.GetText(), "SYSTEM");
  ASSERT_EQ(p.Screen().Edit3.GetText(), "kestal");
  p.Screen().Button1.UserClick();
  ASSERT_TRUE(program::LoginDone);

  platform::ScopedFixedClock clock(platform::EncodeDate(2026, 3, 4) + platform::EncodeTime(5, 6, 7, 0));
  ASSERT_TRUE(p.DoubleClick(TreeFunction::ChangePassword));
  auto& s = p.Screen();
  EXPECT_TRUE(s.Panel2.Visible());
  EXPECT_FALSE(s.Edit7.Visible());
  EXPECT_EQ(s.Label8.Caption(), L(1203));
  s.Edit5.SetText("newpass1");
  s.Edit6.SetText("newpass1");
  s.Button3.UserClick();
  EXPECT_FALSE(s.Panel2.Visible());
  const records::UserRec rec = p.ReadUser("SYSTEM");
  EXPECT_EQ(rec.PasswordSetAt(), "04-03-2026 05:06:07");
  EXPECT_EQ(rec.PasswordChecksum(), text::StringChecksum("newpass1", "04-03-2026 05:06:07"));
  EXPECT_EQ(rec.ChangedBy(), "SYSTEM");

  // The next start no longer fills in the panel; the new password opens it.
  p.Restart();
  p.SetUserOptions(true, true);
  EXPECT_EQ(p.Screen().Edit2.GetText(), "");
  EXPECT_EQ(p.Screen().Edit3.GetText(), "");
  p.LogIn("SYSTEM", "kestal", "");
  EXPECT_FALSE(program::LoginDone);
  p.LogIn("SYSTEM", "newpass1", "");
  EXPECT_TRUE(program::LoginDone);
}

TEST_F(StartScreen, PasswordChangeRules) {
  LogIn("CLERK1", "secret1", "Acme Ltd");
  const records::UserRec before = ReadUser("CLERK1");
  struct Case {
    const char* name;
    std::string first, second;
    bool byEnter;
    std::string message;
  };
  const std::vector<Case> cases = {
      // Enter runs OK without the exit handlers: the length counts all the same.
      {"FiveCharactersByEnter", "abcde", "abcde", true, "Minimal 6 characters"},
      {"FiveCharactersByButton", "abcde", "abcde", false, "Minimal 6 characters"},
      {"Different", "abcdef", "abcdeg", false, L(9181)},
      {"BothEmpty", "", "", true, L(9181)},
      {"ThirteenCharacters", "abcdefghijklm", "abcdefghijklm", false, "Maximal 12 characters"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(DoubleClick(TreeFunction::ChangePassword)) << c.name;
    s().Edit5.SetText(c.first);
    s().Edit6.SetText(c.second);
    if (c.byEnter)
      s().UserKeyDown(ui::keys::Return);
    else
      s().Button3.UserClick();
    EXPECT_TRUE(s().Panel2.Visible()) << c.name;
    EXPECT_TRUE(s().Edit7.Visible()) << c.name;
    EXPECT_EQ(s().Edit7.GetText(), c.message) << c.name;
    EXPECT_EQ(ReadUser("CLERK1").PasswordChecksum(), before.PasswordChecksum()) << c.name;
  }
}

TEST_F(StartScreen, PasswordEditsExitChecks) {
  LogIn("CLERK1", "secret1", "Acme Ltd");
  ASSERT_TRUE(DoubleClick(TreeFunction::ChangePassword));
  s().Edit5.UserFocus();
  s().Edit5.UserSetText("abcde");
  s().Edit6.UserFocus();
  EXPECT_EQ(s().Edit5.GetText(), "");
  EXPECT_EQ(s().Edit7.GetText(), "Minimal 6 characters");

  s().Edit5.UserFocus();
  s().Edit5.UserSetText("abcdef");
  s().Edit6.UserFocus();
  s().Edit6.UserSetText("abcdeX");
  s().Button3.UserFocus();
  EXPECT_EQ(s().Edit5.GetText(), "");
  EXPECT_EQ(s().Edit6.GetText(), "");
  EXPECT_EQ(s().Edit7.GetText(), "Passwords not identical");
}

TEST_F(StartScreen, PasswordChangeKeepsWhatChangedInTheFileSinceTheLogIn) {
  LogIn("CLERK1", "secret1", "Acme Ltd");
  // The users form (or another copy of the program) changes the user.
  records::UserRec changed = ReadUser("CLERK1");
  changed.SetMemo("changed since");
  changed.SetEndUserManager('Y');
  changed.SetUserName("Clerk One");
  WriteUsers({ReadUser("SYSTEM"), changed, ReadUser("MANAGER")});

  ASSERT_TRUE(DoubleClick(TreeFunction::ChangePassword));
  s().Edit5.SetText("secret9");
  s().Edit6.SetText("secret9");
  s().Button3.UserClick();
  const records::UserRec after = ReadUser("CLERK1");
  EXPECT_EQ(after.Memo(), "changed since");
  EXPECT_EQ(after.EndUserManager(), 'Y');
  EXPECT_EQ(after.UserName(), "Clerk One");
  EXPECT_EQ(after.ChangedBy(), "CLERK1");
  EXPECT_EQ(after.PasswordChecksum(), text::StringChecksum("secret9", after.PasswordSetAt()));
  // The other users are untouched.
  EXPECT_EQ(ReadUser("MANAGER").Memo(), "memo of MANAGER");
}

TEST_F(StartScreen, PasswordChangeOfAUserNoLongerInTheFileSaysSoOnTheVisiblePanel) {
  LogIn("CLERK1", "secret1", "Acme Ltd");
  WriteUsers({ReadUser("SYSTEM")});
  ASSERT_TRUE(DoubleClick(TreeFunction::ChangePassword));
  s().Edit5.SetText("secret9");
  s().Edit6.SetText("secret9");
  s().Button3.UserClick();
  EXPECT_TRUE(s().Panel2.Visible());
  EXPECT_EQ(s().Edit7.GetText(), L(8998));
  EXPECT_EQ(ReadUser("CLERK1").UserId(), "");
}

// --- the administration box ------------------------------------------------------

TEST_F(StartScreen, AdministrationBoxTakesOnlyItsItemsWhenLeft) {
  WriteAdministrations({{"ACME", "Acme Ltd"}, {"CAFE", "Caf\xe9 Noir"}, {"D1", "Demo"}, {"D2", "Demo"}});
  s().FormActivate();
  struct Case {
    std::string typed, after;
    int index;
  };
  for (const Case& c : {Case{"acme LTD", "Acme Ltd", 1}, Case{"Acme Ltd", "Acme Ltd", 1}, Case{"Nope", "", 0},
                        Case{"", "", 0},
                        // Only the letters a to z are taken without their case.
                        Case{"CAF\xc9 NOIR", "", 0}, Case{"caf\xe9 noir", "Caf\xe9 Noir", 2}}) {
    s().ComboBox1.UserFocus();
    s().ComboBox1.UserSetText(c.typed);
    s().Edit2.UserFocus();
    EXPECT_EQ(s().ComboBox1.GetText(), c.after) << c.typed;
    EXPECT_EQ(s().ComboBox1.ItemIndex(), c.index) << c.typed;
  }
  // The second of two items of the same name stays picked.
  s().ComboBox1.UserFocus();
  s().ComboBox1.UserSelect(4);
  s().Edit2.UserFocus();
  EXPECT_EQ(s().ComboBox1.ItemIndex(), 4);
}

TEST_F(StartScreen, TypedAdministrationIsFoundWithoutLeavingTheBox) {
  s().Edit2.SetText("SYSTEM");
  s().Edit3.SetText("kestal");
  s().ComboBox1.UserFocus();
  s().ComboBox1.UserSetText("beta bv");
  s().UserKeyDown(ui::keys::Return);
  EXPECT_EQ(store::CurrentAdministrationCode, "BETA");
}

// --- tips ------------------------------------------------------------------------

TEST_F(StartScreen, TipsStartAmongTheFirstFourAndWrapAfterTheThird) {
  int asked = 0;
  program::SetRandomSource([&](int n) {
    asked = n;
    return n - 1;
  });
  s().FormActivate();
  EXPECT_EQ(asked, 4);
  const auto tips = program::TipsForLanguage("English");
  EXPECT_EQ(program::TipIndex, 3);
  EXPECT_EQ(s().Memo1.Lines(), std::vector<std::string>{tips[3]});
  s().Button5.UserClick();
  EXPECT_EQ(program::TipIndex, 0);
  EXPECT_EQ(s().Memo1.Lines(), std::vector<std::string>{tips[0]});
  s().Button5.UserClick();
  s().Button5.UserClick();
  EXPECT_EQ(program::TipIndex, 2);
  s().Button5.UserClick();
  EXPECT_EQ(program::TipIndex, 0);
}

TEST_F(StartScreen, TipsFollowTheLanguage) {
  program::SetRandomSource([](int) { return 0; });
  store::SystemParams.SetLanguageName("Nederlands");
  s().FormActivate();
  EXPECT_EQ(s().Memo1.Lines()[0].substr(0, 28), "Ombrelo Account laat precies");
  store::SystemParams.SetLanguageName("Deutsch");
  s().FormActivate();
  EXPECT_EQ(s().Memo1.Lines()[0], "Ombrelo Account zeigt genau 1 Fenster. Gleichzeitig mehrere Versionen des "
                                  "Programms auf Ihrem Computer aktiv ist m\xf6glich. Gespeicherte \xc4nderungen "
                                  "sind f\xfcr andere Versionen verf\xfcgbar.");
  EXPECT_EQ(program::TipsForLanguage("Fran\xe7"
                                     "ais")[2],
            "Questions? Use our free email helpdesk.");
}

TEST_F(StartScreen, DontShowTipsIsSavedWithoutMovingTheDataFolder) {
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  s().CheckBox1.UserClick();
  s().Button4.UserClick();
  EXPECT_FALSE(s().Panel3.Visible());
  // Tips off, news page on.
  EXPECT_EQ(store::SystemParams.TipsAndNews(), "U");
  records::SystemParamRec stored;
  {
    int r = 0;
    store::OpenFileSet("SYS", r);
    ASSERT_EQ(r, 0);
    store::ReadRecord(store::FileCode::SYS, 0, stored);
    store::CloseFileSet();
  }
  EXPECT_EQ(stored.TipsAndNews(), "U");
  EXPECT_EQ(text::SystemSettings.DataFolder, "/w/data/ACME/");

  // The panel stays hidden, and the next start shows no tips at all.
  s().FormActivate();
  EXPECT_FALSE(s().Panel3.Visible());
  Restart();
  EXPECT_FALSE(s().Panel3.Visible());
}

TEST_F(StartScreen, OkWithoutTheTickOnlyClosesTheTips) {
  s().Button4.UserClick();
  EXPECT_FALSE(s().Panel3.Visible());
  EXPECT_EQ(store::SystemParams.TipsAndNews(), "T");
}

TEST_F(StartScreen, OwnTextsFollowTheLanguage) {
  struct Case {
    std::string language;
    std::string password, minimal, notIdentical;
  };
  for (const Case& c :
       {Case{"Nederlands", "Wachtwoord", "Minimaal 6 tekens", "Wachtwoorden niet gelijk"},
        Case{"Deutsch", "Passwort", "Mindestens 6 Zeichen", "Passw\xf6rter nicht gleich"},
        // French has no texts of the program's own: English.
        Case{"Fran\xe7" "ais", "Password", "Minimal 6 characters", "Passwords not identical"}}) {
    text::CurrentLanguage = text::BuiltInEnglish();
    text::CurrentLanguage.SetL(0, c.language);
    // The texts that come from fields of the language record.
    text::CurrentLanguage.SetL(1947, "id-" + c.language);
    text::CurrentLanguage.SetL(473, "ok-" + c.language.substr(0, 2));
    text::CurrentLanguage.SetL(8296, "tut-" + c.language);
    s().FormActivate();
    EXPECT_EQ(s().Label1.Caption(), "id-" + c.language);
    EXPECT_EQ(s().Label2.Caption(), c.password);
    EXPECT_EQ(s().Button1.Caption(), "ok-" + c.language.substr(0, 2));
    EXPECT_EQ(s().Button3.Caption(), "ok-" + c.language.substr(0, 2));
    EXPECT_EQ(s().Button4.Caption(), "ok-" + c.language.substr(0, 2));
    EXPECT_EQ(s().utorial1.Caption(), "tut-" + c.language);
    EXPECT_EQ(program::MsgMinimalSixCharacters, c.minimal);
    EXPECT_EQ(program::MsgPasswordsNotIdentical, c.notIdentical);
  }
}

// --- keys and help ---------------------------------------------------------------

TEST_F(StartScreen, EscapeEndsTheProgramAlsoOnTheLogInPanel) {
  ASSERT_TRUE(s().Panel1.Visible());
  s().UserKeyDown(ui::keys::Escape);
  EXPECT_FALSE(s().Showing());
}

TEST_F(StartScreen, HelpEntriesShowTheirTopics) {
  struct Case {
    ui::Component* item;
    std::string tag;
  };
  bool hidden = false;  // outlives the script, which the F1 below runs again
  backend.scripts["helpform"] = [&](ui::Form&) { hidden = !s().Showing(); };
  for (const Case& c : {Case{&s().Info1, ""}, Case{&s().utorial1, "<TUT00>"}, Case{&s().Internet1, "<MEN00>"},
                        Case{&s().About1, "<ABO00>"}, Case{&s().ToolButton2, "<MEN00>"}}) {
    backend.modalShown.clear();
    hidden = false;
    c.item->UserClick();
    EXPECT_EQ(backend.modalShown, std::vector<std::string>{"helpform"}) << c.tag;
    EXPECT_EQ(formkit::LastHelpTag, c.tag);
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(s().Showing());
    EXPECT_EQ(formkit::HelpCaptionBlock.CancelCaption, L(306));
  }
  s().UserKeyDown(ui::keys::F1);
  EXPECT_EQ(formkit::LastHelpTag, "<MEN00>");

  store::SystemParams.SetLanguageName("Deutsch");
  s().FormActivate();
  s().Brenvickhomepage1.UserClick();
  ASSERT_EQ(backend.urlsOpened.size(), 1u);
  EXPECT_EQ(backend.urlsOpened[0].substr(backend.urlsOpened[0].size() - 12), "indexde.html");
}

TEST_F(StartScreen, EnterActsOnTheVisiblePanel) {
  // The log-in panel: Enter logs in.
  Screen().Edit2.SetText("SYSTEM");
  Screen().Edit3.SetText("kestal");
  s().UserKeyDown(ui::keys::Return);
  ASSERT_TRUE(program::LoginDone);
  // No panel: Enter runs the selected node.
  s().TreeView1.Select(Node(TreeFunction::ChangePassword));
  s().UserKeyDown(ui::keys::Return);
  EXPECT_TRUE(s().Panel2.Visible());
  // The change-password panel: Enter changes the password.
  s().Edit5.SetText("abc");
  s().Edit6.SetText("abd");
  s().UserKeyDown(ui::keys::Return);
  EXPECT_EQ(s().Edit7.GetText(), L(9181));
}

// --- dispatch ----------------------------------------------------------------------

TEST_F(StartScreen, NothingRunsBeforeALogIn) {
  // Every right is set until a log-in; the tree offers nothing all the same.
  EXPECT_TRUE(program::RightSystemAdministrator);
  EXPECT_EQ(TreeLines().size(), 1u);
  s().TreeView1.Select(s().TreeView1.Roots().front().get());
  s().TreeView1.UserDblClick();
  // Even a node with a function id (as a tree built for the rights would
  // hold) does nothing.
  ui::TreeNode* users = s().TreeView1.AddChild(s().TreeView1.Roots().front().get(), L(1159));
  users->data = static_cast<std::int64_t>(TreeFunction::Users);
  s().TreeView1.Select(users);
  s().TreeView1.UserDblClick();
  EXPECT_TRUE(backend.modalShown.empty());
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(StartScreen, RootGroupsAndNoSelectionDoNothing) {
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  backend.modalShown.clear();
  for (ui::TreeNode* n : s().TreeView1.AllNodes()) {
    if (n->data != 0) continue;
    s().TreeView1.Select(n);
    s().TreeView1.UserDblClick();
  }
  s().TreeView1.Select(nullptr);
  s().TreeView1.UserDblClick();
  s().UserKeyDown(ui::keys::Return);
  EXPECT_TRUE(backend.modalShown.empty());
  EXPECT_FALSE(s().Panel2.Visible());
  EXPECT_FALSE(s().Panel1.Visible());
}

struct DispatchCase {
  const char* name;
  TreeFunction function;
  const char* form;
  std::vector<std::string> files;  // the paths the set opened before the form showed
  bool loginPanelAfter;
};

class Dispatch : public StartScreen, public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(Dispatch, OpensTheFormsFilesAndShowsIt) {
  const DispatchCase& c = GetParam();
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  backend.modalShown.clear();
  store.fs.ClearLog();
  std::vector<std::string> opened;
  bool hidden = false;
  bool setOpenWhileShown = true;
  backend.scripts[c.form] = [&](ui::Form&) {
    opened = OpenedPaths();
    hidden = !s().Showing();
    // The form's activation has read what it needs and ended the set.
    setOpenWhileShown = store::FileSetOpen;
  };
  ASSERT_TRUE(DoubleClick(c.function));

  EXPECT_EQ(backend.modalShown, std::vector<std::string>{c.form});
  EXPECT_EQ(opened, c.files);
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(s().Showing());
  EXPECT_FALSE(setOpenWhileShown);
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.OpenHandles(), 0);
  EXPECT_TRUE(backend.messages.empty());
  EXPECT_EQ(s().Panel1.Visible(), c.loginPanelAfter);
  if (c.loginPanelAfter) {
    EXPECT_FALSE(s().Edit2.Visible());
    EXPECT_FALSE(s().Edit3.Visible());
    EXPECT_FALSE(s().Button2.Visible());
    EXPECT_TRUE(program::AdministrationOnlyLogin);
    EXPECT_EQ(s().Label4.Caption(), L(1182));
  }
  // The data folder is still the administration's.
  EXPECT_EQ(text::SystemSettings.DataFolder, "/w/data/ACME/");
  // The rebuilt tree has the function selected again.
  ASSERT_NE(s().TreeView1.Selected(), nullptr);
  EXPECT_EQ(s().TreeView1.Selected()->data, static_cast<std::int64_t>(c.function));
}

const std::string D = "/w/data/ACME/";
INSTANTIATE_TEST_SUITE_P(
    Cases, Dispatch,
    ::testing::Values(
        DispatchCase{"GLCategories", TreeFunction::GLCategories, "Ledgercategory", {D + "ledgerct.vlk"}, false},
        DispatchCase{"GLAccounts", TreeFunction::GLAccounts, "Ledger",
                     {D + "ledger.vlk", D + "ledgerct.vlk", D + "freeze.vlk"}, false},
        DispatchCase{"Reports", TreeFunction::Reports, "Rapport1", {D + "ledger.vlk", D + "freeze.vlk"}, false},
        DispatchCase{"SystemSettings", TreeFunction::SystemSettings, "systemscherm", {"/w/sysparm010000.vlk"}, true},  // read again at each showing,
        DispatchCase{"Partners", TreeFunction::Partners, "partners2", {D + "ledger.vlk"}, false},
        DispatchCase{"Users", TreeFunction::Users, "Users", {"/w/user.vlk"}, false},
        DispatchCase{"JournalVouchers", TreeFunction::JournalVouchers, "boeking",
                     // the empty profile file is filled and opens again
                     {"/w/ifs.vlk", D + "ledger.vlk", D + "booktemp.vlk", "/w/ifs.vlk"}, false},
        DispatchCase{"AdministrationSettings", TreeFunction::AdministrationSettings, "administrationsetting",
                     {D + "ledger.vlk", D + "adminset.vlk"}, false},
                // The form's own activation reads the list.
        DispatchCase{"Administrations", TreeFunction::Administrations, "Administrations", {"/w/data/admin.vlk"},
                     true},
        // The form's own activation reads the period list.
        DispatchCase{"ExportImport", TreeFunction::ExportImport, "ExportImport", {D + "freeze.vlk"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartScreen, SetThatCannotBeOpenedShowsNoForm) {
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  backend.modalShown.clear();
  store.fs.InjectError(D + "ledgerct.vlk", FakeFileSystem::Op::OpenReadWrite, 5, 1);
  ASSERT_TRUE(DoubleClick(TreeFunction::GLCategories));
  // The administration settings say only what the system says.
  store.fs.InjectError(D + "adminset.vlk", FakeFileSystem::Op::OpenReadWrite, 5, 1);
  ASSERT_TRUE(DoubleClick(TreeFunction::AdministrationSettings));
  EXPECT_TRUE(backend.modalShown.empty());
  ASSERT_EQ(backend.messages.size(), 2u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: GLC5  " + platform::OsErrorText(5));
  EXPECT_EQ(backend.messages[1].text, platform::OsErrorText(5));
  EXPECT_TRUE(s().Showing());
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(StartScreen, AfterTheSystemSettingsTheLogInProposesTheCurrentAdministration) {
  struct Case {
    const char* name;
    const char* administration;  // of the log-in before the settings form
    bool bookkeepingAfter;       // the two rights right after the settings form
    const char* proposed;
    const char* codeAfterOk;
  };
  for (const Case& c : {Case{"EmptyBox", "", false, "Acme Ltd", "ACME"},
                        Case{"Beta", "Beta BV", true, "Beta BV", "BETA"}}) {
    Restart();
    SetUserOptions(true, true);
    LogIn("SYSTEM", "kestal", c.administration);
    ASSERT_TRUE(program::LoginDone) << c.name;
    ASSERT_TRUE(DoubleClick(TreeFunction::SystemSettings)) << c.name;
    // Without an administration the bookkeeping and master-data functions
    // stay away: they would work on the data root.
    EXPECT_EQ(program::RightEndUser, c.bookkeepingAfter) << c.name;
    EXPECT_EQ(program::RightEndUserManager, c.bookkeepingAfter) << c.name;
    EXPECT_EQ(Node(TreeFunction::GLCategories) != nullptr, c.bookkeepingAfter) << c.name;
    EXPECT_EQ(Node(TreeFunction::JournalVouchers) != nullptr, c.bookkeepingAfter) << c.name;
    EXPECT_TRUE(s().Panel1.Visible());
    EXPECT_EQ(s().ComboBox1.GetText(), c.proposed) << c.name;
    s().Button1.UserClick();
    EXPECT_EQ(store::CurrentAdministrationCode, c.codeAfterOk) << c.name;
    EXPECT_TRUE(program::RightEndUser && program::RightEndUserManager) << c.name;
    EXPECT_FALSE(store.fs.HasFile("/w/data/ledgerct.vlk")) << c.name;
  }
}

TEST_F(StartScreen, RefreshRunsOnceWhenTheFormHasClosed) {
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  // The form adds an administration while it is shown; the refresh after it
  // lists it.
  backend.scripts["Ledgercategory"] = [&](ui::Form&) {
    WriteAdministrations({{"ACME", "Acme Ltd"}, {"BETA", "Beta BV"}, {"GAMMA", "Gamma"}});
    store.fs.ClearLog();
  };
  ASSERT_TRUE(DoubleClick(TreeFunction::GLCategories));
  EXPECT_EQ(s().ComboBox1.Count(), 4);
  int reads = 0;
  for (const std::string& path : OpenedPaths())
    if (path == "/w/data/admin.vlk") ++reads;
  EXPECT_EQ(reads, 1);

  // Showing the start screen (help, say) is no refresh.
  WriteAdministrations({{"ACME", "Acme Ltd"}});
  s().About1.UserClick();
  EXPECT_EQ(s().ComboBox1.Count(), 4);
}

TEST_F(StartScreen, DispatchGoesByTheNodesIdNotItsText) {
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  // A language record whose node texts are all empty, or all the same.
  for (const std::string& text : {std::string(), std::string("Same")}) {
    for (int offset : {550, 633, 852, 870, 919, 944, 965, 996, 1027, 1058, 1079, 1110, 1133, 1159})
      text::CurrentLanguage.SetL(offset, text);
    program::ApplyLanguage();
    struct Case {
      TreeFunction function;
      const char* form;
    };
    for (const Case& c : {Case{TreeFunction::Users, "Users"}, Case{TreeFunction::GLAccounts, "Ledger"},
                          Case{TreeFunction::Partners, "partners2"}, Case{TreeFunction::Reports, "Rapport1"},
                          Case{TreeFunction::ExportImport, "ExportImport"}}) {
      backend.modalShown.clear();
      ASSERT_TRUE(DoubleClick(c.function));
      EXPECT_EQ(backend.modalShown, std::vector<std::string>{c.form}) << "'" << text << "'";
    }
    // A group node with the same text as a function does nothing.
    backend.modalShown.clear();
    for (ui::TreeNode* n : s().TreeView1.AllNodes())
      if (n->data == 0 && n->Level() == 1) {
        s().TreeView1.Select(n);
        s().TreeView1.UserDblClick();
      }
    EXPECT_TRUE(backend.modalShown.empty());
  }
}

TEST_F(StartScreen, FailingActivationLeavesTheStartScreenShown) {
  LogIn("SYSTEM", "kestal", "Acme Ltd");
  systemforms::Users->OnActivate = [] { throw std::runtime_error("broken"); };
  ASSERT_TRUE(DoubleClick(TreeFunction::Users));
  EXPECT_TRUE(s().Showing());
  EXPECT_FALSE(systemforms::Users->Showing());
  EXPECT_FALSE(store::FileSetOpen);
  ASSERT_FALSE(backend.messages.empty());
  EXPECT_EQ(backend.messages.back().text, "broken");
}

}  // namespace
