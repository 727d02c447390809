// The language routine: the function tree for the rights and user options,
// the data folder of the administration, the settings and help captions of
// every unit, the web pages of the language and the texts of every form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "masterdata/adminsettings.h"
#include "masterdata/Administrationsunit.h"
#include "masterdata/Ledgerunit.h"
#include "masterdata/ledgercatunit.h"
#include "store/fileset.h"
#include "formkit/helpunit.h"
#include "text/languagefile.h"
#include "program/languageroutine.h"
#include "text/languagetext.h"
#include "program/startschermunit.h"
#include "store/session.h"
#include "system/systemscreen.h"
#include "text/systemsettings.h"
#include "system/userunit.h"
#include "support/program.h"

namespace {

using program::TreeFunction;
using text::L;

class LanguageRoutine : public ::testing::Test, public support::ProgramFixture {
 protected:
  void SetUp() override { Start(); }

  // As a log-in with these rights and options leaves them.
  void LoggedIn(bool endUser, bool manager, bool administrator, bool identification, bool password) {
    program::LoginDone = true;
    program::RightEndUser = endUser;
    program::RightEndUserManager = manager;
    program::RightSystemAdministrator = administrator;
    store::CurrentAdministrationCode = "ACME";
    SetUserOptions(identification, password);
  }
};

// One expected line of TreeLines().
std::string Line(int level, const std::string& text, int image, TreeFunction f = TreeFunction::None) {
  std::string line(static_cast<std::size_t>(2 * level), ' ');
  line += text + " [" + std::to_string(image) + "]";
  if (f != TreeFunction::None) line += " #" + std::to_string(static_cast<int>(f));
  return line;
}

const std::string kRoot = "Ombrelo Account Enterprise 2.0.6 [0]";

std::vector<std::string> SwitchAndPassword(bool password) {
  std::vector<std::string> v = {kRoot, Line(1, L(550), 1, TreeFunction::SwitchAdministration)};
  if (password) v.push_back(Line(1, L(633), 1, TreeFunction::ChangePassword));
  return v;
}
void AddEndUser(std::vector<std::string>& v) {
  v.push_back(Line(1, L(852), 1));
  v.push_back(Line(2, L(870), 2, TreeFunction::JournalVouchers));
  v.push_back(Line(2, L(919), 2, TreeFunction::Partners));
  v.push_back(Line(2, L(944), 2, TreeFunction::Reports));
}
void AddManager(std::vector<std::string>& v) {
  v.push_back(Line(1, L(965), 1));
  v.push_back(Line(2, L(1079), 2, TreeFunction::AdministrationSettings));
  v.push_back(Line(2, L(1027), 2, TreeFunction::GLCategories));
  v.push_back(Line(2, L(996), 2, TreeFunction::GLAccounts));
  v.push_back(Line(2, "Export & Import data files", 2, TreeFunction::ExportImport));
}
void AddAdministrator(std::vector<std::string>& v, bool users) {
  v.push_back(Line(1, L(1110), 1));
  v.push_back(Line(2, L(1133), 2, TreeFunction::SystemSettings));
  v.push_back(Line(2, L(1058), 2, TreeFunction::Administrations));
  if (users) v.push_back(Line(2, L(1159), 2, TreeFunction::Users));
}

struct TreeCase {
  const char* name;
  bool endUser, manager, administrator, identification, password;
};

class Trees : public LanguageRoutine, public ::testing::WithParamInterface<TreeCase> {};

TEST_P(Trees, FollowTheRightsAndUserOptions) {
  const TreeCase& c = GetParam();
  LoggedIn(c.endUser, c.manager, c.administrator, c.identification, c.password);
  program::ApplyLanguage();

  std::vector<std::string> expected = SwitchAndPassword(c.identification && c.password);
  if (c.endUser) AddEndUser(expected);
  if (c.manager) AddManager(expected);
  if (c.administrator) AddAdministrator(expected, c.identification);
  EXPECT_EQ(TreeLines(), expected);

  // Collapsed, the root expanded one level.
  const auto nodes = Screen().TreeView1.AllNodes();
  for (const ui::TreeNode* n : nodes) EXPECT_EQ(n->expanded, n->Level() == 0) << n->GetText();
  // Running again changes nothing.
  program::ApplyLanguage();
  EXPECT_EQ(TreeLines(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Trees,
                         ::testing::Values(TreeCase{"NoRightsNoOptions", false, false, false, false, false},
                                           TreeCase{"NoRightsBothOptions", false, false, false, true, true},
                                           TreeCase{"AllRightsBothOptions", true, true, true, true, true},
                                           TreeCase{"AllRightsNoPasswordProtection", true, true, true, true, false},
                                           // The log-in sets every right then.
                                           TreeCase{"NoUserIdentification", true, true, true, false, false},
                                           TreeCase{"NoIdentificationButProtection", true, true, true, false, true},
                                           TreeCase{"AdministratorOnly", false, false, true, true, true},
                                           TreeCase{"EndUserOnly", true, false, false, true, true},
                                           TreeCase{"ManagerOnly", false, true, false, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LanguageRoutine, WithoutAnAdministrationOnlyTheSystemGroupIsOffered) {
  // The rights stay as they are; the bookkeeping and master-data functions
  // would work on the data root.
  LoggedIn(true, true, true, true, true);
  store::CurrentAdministrationCode.clear();
  program::ApplyLanguage();
  std::vector<std::string> expected = SwitchAndPassword(true);
  AddAdministrator(expected, true);
  EXPECT_EQ(TreeLines(), expected);
}

TEST_F(LanguageRoutine, BeforeALogInTheTreeHoldsOnlyItsRoot) {
  ASSERT_FALSE(program::LoginDone);
  ASSERT_TRUE(program::RightEndUser && program::RightEndUserManager && program::RightSystemAdministrator);
  program::ApplyLanguage();
  EXPECT_EQ(TreeLines(), std::vector<std::string>{kRoot});
}

TEST_F(LanguageRoutine, AFewerRightsRunLeavesNoOldNodes) {
  LoggedIn(true, true, true, true, true);
  program::ApplyLanguage();
  LoggedIn(false, false, true, true, false);
  program::ApplyLanguage();
  const std::vector<std::string> afterMore = TreeLines();
  Restart();
  LoggedIn(false, false, true, true, false);
  program::ApplyLanguage();
  EXPECT_EQ(TreeLines(), afterMore);
  std::vector<std::string> expected = SwitchAndPassword(false);
  AddAdministrator(expected, true);
  EXPECT_EQ(afterMore, expected);
}

TEST_F(LanguageRoutine, NodesFollowTheLanguageRecordAndKeepTheirIds) {
  LoggedIn(true, true, true, true, true);
  text::CurrentLanguage.SetL(870, "Boekingen");
  text::CurrentLanguage.SetL(996, "");
  program::ApplyLanguage();
  ASSERT_NE(Node(TreeFunction::JournalVouchers), nullptr);
  EXPECT_EQ(Node(TreeFunction::JournalVouchers)->GetText(), "Boekingen");
  EXPECT_EQ(Node(TreeFunction::GLAccounts)->GetText(), "");
  // The export and import node keeps its fixed text in every language.
  EXPECT_EQ(Node(TreeFunction::ExportImport)->GetText(), "Export & Import data files");
}

TEST_F(LanguageRoutine, CaptionsAndTitleLabelsWithTheirCuts) {
  // The longest texts the record holds and the longest administration name.
  const std::string name = "Acme Holding and Partners B.V.";
  ASSERT_EQ(name.size(), 30u);
  store::CurrentAdministrationName = name;
  const std::string menu9 = "Hauptmenu";
  text::CurrentLanguage.SetL(1261, menu9);
  const std::string gl30(30, 'G');
  text::CurrentLanguage.SetL(996, gl30);
  text::CurrentLanguage.SetL(1110, "System management group");
  program::ApplyLanguage();

  auto& s = Screen();
  EXPECT_EQ(s.Caption(), "Ombrelo Account Enterprise 2.0.6 : Menu ");
  EXPECT_EQ(s.Label5.Caption(), " Hauptmenu (" + name + ")");
  EXPECT_EQ(masterdata::Ledger->Label6.Caption(), " " + gl30 + " (" + name + ")");
  EXPECT_EQ(masterdata::Ledger->Caption(), "Ombrelo Account Enterprise 2.0.6 : " + L(965) + " / " + gl30);
  EXPECT_EQ(systemforms::systemscherm->Caption(), "Ombrelo Account Enterprise 2.0.6 : " + L(1110) + " / " + L(1133));
  EXPECT_EQ(systemforms::Users->Caption(), "Ombrelo Account Enterprise 2.0.6 : " + L(1110) + " / " + L(1159));
  EXPECT_EQ(masterdata::Administrations->Caption(),
            "Ombrelo Account Enterprise 2.0.6 : " + L(1110) + " / " + L(1058));
  // The GL category form shows its own text alone.
  EXPECT_EQ(masterdata::Ledgercategory->Caption(), L(2220));
  EXPECT_EQ(masterdata::Ledgercategory->Label2.Caption(), " " + L(1027) + " (" + name + ")");
  EXPECT_EQ(masterdata::administrationsetting->Caption(),
            "Ombrelo Account Enterprise 2.0.6 : " + L(965) + " / " + L(6215));
  EXPECT_EQ(masterdata::administrationsetting->Label16.Caption(), " " + L(1079) + " (" + name + ")");
  EXPECT_EQ(masterdata::administrationsetting->TabControl1.Tabs(), (std::vector<std::string>{L(5662), L(5693)}));
  EXPECT_EQ(masterdata::administrationsetting->Label15.Caption(), L(6315));
  EXPECT_EQ(masterdata::administrationsetting->Button4.Caption(), L(6565));

  // The start screen's controls and message texts.
  EXPECT_EQ(s.Button2.Caption(), L(306));
  EXPECT_EQ(s.Button5.Caption(), L(1271));
  EXPECT_EQ(s.Label3.Caption(), L(602));
  EXPECT_EQ(s.Label4.Caption(), L(581));
  EXPECT_EQ(s.Label8.Caption(), L(633));
  EXPECT_EQ(s.Label9.Caption(), L(1287));
  EXPECT_EQ(s.CheckBox1.Caption(), L(1318));
  EXPECT_EQ(s.Internet1.Caption(), L(1230));
  EXPECT_EQ(s.Info1.Caption(), L(514));
  EXPECT_EQ(program::MsgLoginFailed, L(8998));
  EXPECT_EQ(program::MsgNewPasswordsDiffer, L(9181));

  // Running again gives the same texts.
  const std::string label5 = s.Label5.Caption(), label6 = masterdata::Ledger->Label6.Caption();
  program::ApplyLanguage();
  EXPECT_EQ(s.Label5.Caption(), label5);
  EXPECT_EQ(masterdata::Ledger->Label6.Caption(), label6);
}

TEST_F(LanguageRoutine, EveryBuiltFormTakesItsTexts) {
  text::CurrentLanguage.SetL(9648, "Short name taken");  // administrations and GL categories
  text::CurrentLanguage.SetL(1133, "Settings");
  text::CurrentLanguage.SetL(1159, "People");
  text::CurrentLanguage.SetL(9059, "Id too short");
  program::ApplyLanguage();
  EXPECT_EQ(masterdata::MsgShortNameExists, "Short name taken");
  EXPECT_EQ(masterdata::CategoryDuplicateText, "Short name taken");
  EXPECT_EQ(masterdata::LedgerDuplicateText, "Short name taken");
  EXPECT_EQ(systemforms::systemscherm->Label16.Caption(), " Settings");
  EXPECT_EQ(systemforms::Users->Label2.Caption(), " People");
  EXPECT_EQ(systemforms::MsgUserIdTooShort, "Id too short");
}

TEST_F(LanguageRoutine, DataFolderOfTheAdministration) {
  store::CurrentAdministrationCode = "ACME";
  program::ApplyLanguage();
  EXPECT_EQ(text::SystemSettings.DataFolder, "/w/data/ACME/");
  EXPECT_EQ(store::AdminFileFolder, "/w/data/");
  // The stored folder is the root; the administration is the program's.
  EXPECT_EQ(store::SystemParams.DataFolder(), "/w/data/");
  store::CurrentAdministrationCode = "";
  program::ApplyLanguage();
  EXPECT_EQ(text::SystemSettings.DataFolder, "/w/data/");
}

TEST_F(LanguageRoutine, SettingsAndHelpCaptionsReachEveryUnit) {
  store::SystemParams.SetAmountDecimals(3);
  store::SystemParams.SetCurrentUser("CLERK1");
  store::SystemParams.SetLanguageName("Nederlands");
  text::CurrentLanguage.SetL(7631, "Inhoud");
  program::ApplyLanguage();
  EXPECT_EQ(text::SystemSettings.AmountDecimals, 3);
  EXPECT_EQ(text::SystemSettings.CurrentUser, "CLERK1");

  const formkit::HelpCaptionBlockRec& m = program::MasterHelpCaptionBlock;
  EXPECT_EQ(m.FileCaption, L(21));
  EXPECT_EQ(m.ExitCaption, L(123));
  EXPECT_EQ(m.CancelCaption, L(306));
  EXPECT_EQ(m.LanguageName, "Nederlands");
  EXPECT_EQ(m.SectionTitle, "Inhoud");
  for (const formkit::HelpCaptionBlockRec* copy :
       {&systemforms::SystemschermHelpCaptionBlock, &systemforms::UsersHelpCaptionBlock,
        &masterdata::AdministrationsHelpCaptionBlock, &masterdata::LedgercategoryHelpCaptions,
        &masterdata::LedgerHelpCaptions, &masterdata::AdministrationsettingHelpCaptions}) {
    EXPECT_EQ(copy->LanguageName, "Nederlands");
    EXPECT_EQ(copy->SectionTitle, "Inhoud");
    EXPECT_EQ(copy->CancelCaption, L(306));
  }

  // A language name longer than the block holds is cut.
  store::SystemParams.SetLanguageName("Portugues do Brasil");
  program::ApplyLanguage();
  EXPECT_EQ(m.LanguageName, "Portugues ");
}

TEST_F(LanguageRoutine, WebPagesByLanguage) {
  struct Case {
    std::string language, suffix;
  };
  for (const Case& c : {Case{"Nederlands", "nl"}, Case{"Deutsch", "de"}, Case{"Fran\xe7" "ais", "gb"},
                        Case{"English", "gb"}, Case{"", "gb"}}) {
    store::SystemParams.SetLanguageName(c.language);
    program::ApplyLanguage();
    EXPECT_EQ(program::HelpHomePageUrl, std::string(formkit::ProductWebSite) + "index" + c.suffix + ".html")
        << c.language;
    EXPECT_EQ(program::HelpNewsPageUrl, std::string(formkit::ProductWebSite) + "news" + c.suffix + ".html");
    // The settings form opens the same news page.
    EXPECT_EQ(systemforms::systemscherm->BrowseURL2URL, program::HelpNewsPageUrl);
    // A form's home-page item opens the page of the language.
    backend.urlsOpened.clear();
    masterdata::Administrations->Brenvickhomepage1.UserClick();
    EXPECT_EQ(backend.urlsOpened, std::vector<std::string>{program::HelpHomePageUrl}) << c.language;
  }
}

}  // namespace
