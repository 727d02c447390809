// The program's main road, end to end and headless: the first run in an
// empty working folder, the settings, the log-in, a new administration made
// on the administrations form, the log-in to it, and every function of the
// tree shown from the start screen.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "masterdata/Administrationsunit.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "program/mainblock.h"
#include "program/startschermunit.h"
#include "books/exchange/delimited.h"
#include "reports/impexp.h"
#include "store/session.h"
#include "system/systemscreen.h"
#include "support/fakefs.h"
#include "ui/headless.h"

namespace {

using program::TreeFunction;
using text::L;

struct Function {
  TreeFunction function;
  const char* form;
  std::vector<std::string> files;  // opened for the form before it shows
};

const std::string D = "/w/data/ACME/";

const std::vector<Function> kFunctions = {
    // The first showing fills the empty profile file: the new file opens again.
    {TreeFunction::JournalVouchers, "boeking", {"/w/ifs.vlk", D + "ledger.vlk", D + "booktemp.vlk", "/w/ifs.vlk"}},
    {TreeFunction::Partners, "partners2", {D + "ledger.vlk"}},
    {TreeFunction::Reports, "Rapport1", {D + "ledger.vlk", D + "freeze.vlk"}},
    {TreeFunction::AdministrationSettings, "administrationsetting", {D + "ledger.vlk", D + "adminset.vlk"}},
    {TreeFunction::GLCategories, "Ledgercategory", {D + "ledgerct.vlk"}},
    {TreeFunction::GLAccounts, "Ledger", {D + "ledger.vlk", D + "ledgerct.vlk", D + "freeze.vlk"}},
    {TreeFunction::ExportImport, "ExportImport", {D + "freeze.vlk"}},  // the period list
    {TreeFunction::SystemSettings, "systemscherm", {"/w/sysparm010000.vlk"}},  // read again at each showing
    {TreeFunction::Administrations, "Administrations", {"/w/data/admin.vlk"}},
    {TreeFunction::Users, "Users", {"/w/user.vlk"}},
};

ui::TreeNode* NodeOf(program::TStartscherm& s, TreeFunction f) {
  for (ui::TreeNode* n : s.TreeView1.AllNodes())
    if (n->data == static_cast<std::int64_t>(f)) return n;
  return nullptr;
}

std::vector<std::string> TopLevel(program::TStartscherm& s) {
  std::vector<std::string> texts;
  for (const auto& c : s.TreeView1.Roots().front()->Children()) texts.push_back(c->GetText());
  return texts;
}

class MainRoad : public ::testing::Test {
 protected:
  support::FakeDataStore store;
  ui::HeadlessBackend backend;

  // Every function form records what was opened for it when it showed.
  std::map<std::string, std::vector<std::string>> openedFor;
  std::map<std::string, bool> startHiddenFor;
  void Record(const std::string& name) {
    openedFor[name] = store.fs.LogOf("open rw ");
    startHiddenFor[name] = !program::Startscherm->Showing();
  }

  // The first run: the settings form comes first; user identification and
  // password protection are switched on and the settings saved.
  std::string firstRunStatus;
  int settingsShown = 0;
  void ScriptTheSettingsForm() {
    backend.scripts["systemscherm"] = [&](ui::Form& f) {
      auto& settings = static_cast<systemforms::Tsystemscherm&>(f);
      Record("systemscherm");
      if (settingsShown++ > 0) return;  // later showings: closed unchanged
      firstRunStatus = settings.StatusBar1.PanelText(0);
      settings.CheckBox1.UserClick();
      settings.CheckBox2.UserClick();
      settings.Button2.UserClick();
    };
  }

  // The administrations form: a new administration, saved.
  void ScriptTheAdministrationsForm() {
    backend.scripts["Administrations"] = [&](ui::Form& f) {
      auto& a = static_cast<masterdata::TAdministrations&>(f);
      Record("Administrations");
      if (a.AdministrationCount > 0) return;
      a.Edit1.UserSetText("ACME");
      a.Edit2.UserSetText("Acme Ltd");
      a.Image3.UserClick();
      a.Save2.UserClick();
    };
  }

  // The export form works on the logged-in administration: the language
  // routine gave it the code, the settings and the working folder.
  void ScriptTheExportForm() {
    backend.scripts["ExportImport"] = [&](ui::Form& f) {
      auto& e = static_cast<reports::TExportImport&>(f);
      Record("ExportImport");
      EXPECT_EQ(reports::ExportImportAdministrationCode, "ACME");
      e.ComboBox1.UserSelect(6);  // GL categories
      backend.dialogAnswers.push_back("/w/categories.csv");
      e.Button1.UserClick();
      EXPECT_EQ(backend.dialogsShown.back().initialFolder, "/w/");
      EXPECT_EQ(store.fs.File("/w/categories.csv"),
                books::exchange::CsvHeaderLine(books::exchange::CsvKind::LedgerCategories) + "\r\n");
    };
  }

  // Every other function form only records its showing.
  void ScriptTheOtherForms() {
    for (const Function& fn : kFunctions)
      if (!backend.scripts.count(fn.form))
        backend.scripts[fn.form] = [this, name = std::string(fn.form)](ui::Form&) { Record(name); };
  }

  // The start screen after the first run's settings.
  void CheckTheFirstStart(program::TStartscherm& s) {
    EXPECT_EQ(firstRunStatus, "Please, first insert systemsettings");
    EXPECT_TRUE(store::SystemParams.UserIdentification());
    EXPECT_TRUE(store::SystemParams.PasswordProtection());
    EXPECT_TRUE(store.fs.HasFile("/w/sysparm010000.vlk"));

    // The log-in panel comes filled in with the built-in user; there is no
    // administration yet, and nothing is offered before the log-in.
    EXPECT_TRUE(s.Panel1.Visible());
    EXPECT_EQ(s.Edit2.GetText(), "SYSTEM");
    EXPECT_EQ(s.Edit3.GetText(), "kestal");
    EXPECT_EQ(s.ComboBox1.GetText(), "");
    EXPECT_EQ(s.TreeView1.AllNodes().size(), 1u);
  }

  // Log-in without an administration, the new administration made on the
  // administrations form, and the log-in to it.
  void MakeTheAdministrationAndLogIn(program::TStartscherm& s) {
    // Log-in without an administration: the system-administration group.
    s.UserKeyDown(ui::keys::Return);
    EXPECT_FALSE(s.Panel1.Visible());
    EXPECT_EQ(TopLevel(s), (std::vector<std::string>{L(550), L(633), L(1110)}));

    // The administrations form makes the new administration; the log-in
    // panel then asks for the administration only.
    s.TreeView1.Select(NodeOf(s, TreeFunction::Administrations));
    s.TreeView1.UserDblClick();
    EXPECT_TRUE(store.fs.HasFolder("/w/data/ACME"));
    EXPECT_TRUE(s.Panel1.Visible());
    EXPECT_FALSE(s.Edit2.Visible());
    ASSERT_EQ(s.ComboBox1.Count(), 2);
    EXPECT_EQ(s.ComboBox1.GetText(), "Acme Ltd");
    s.Button1.UserClick();

    // Logged in to the administration: its files exist and the tree offers
    // every group.
    EXPECT_EQ(store::CurrentAdministrationCode, "ACME");
    for (const char* f : {"adminset.vlk", "releaseflag.vlk", "invsum.vlk", "payment.vlk", "customer.vlk",
                          "supplier.vlk", "book.vlk", "ledger.vlk", "ledgerct.vlk", "freeze.vlk"})
      EXPECT_TRUE(store.fs.HasFile(D + f)) << f;
    EXPECT_EQ(TopLevel(s), (std::vector<std::string>{L(550), L(633), L(852), L(965), L(1110)}));
    EXPECT_EQ(s.TreeView1.AllNodes().size(), 16u);
    EXPECT_EQ(s.Label5.Caption(), " " + L(1261) + " (Acme Ltd)");
  }

  // A double click on each function node shows its form.
  void ShowEveryFunction(program::TStartscherm& s) {
    for (const Function& fn : kFunctions) {
      SCOPED_TRACE(fn.form);
      ui::TreeNode* node = NodeOf(s, fn.function);
      ASSERT_NE(node, nullptr);
      backend.modalShown.clear();
      store.fs.ClearLog();
      s.TreeView1.Select(node);
      s.TreeView1.UserDblClick();
      EXPECT_EQ(backend.modalShown, std::vector<std::string>{fn.form});
      EXPECT_EQ(openedFor[fn.form], fn.files);
      EXPECT_TRUE(startHiddenFor[fn.form]);
      EXPECT_TRUE(s.Showing());
      // The set opened for the form is closed again.
      EXPECT_FALSE(store::FileSetOpen);
      EXPECT_EQ(store.fs.OpenHandles(), 0);
      // After the settings and the administrations form the administration
      // is chosen again; the same one is taken.
      if (s.Panel1.Visible()) s.Button1.UserClick();
      EXPECT_EQ(store::CurrentAdministrationCode, "ACME");
    }
    EXPECT_TRUE(backend.messages.empty());
    for (const auto& m : backend.messages) ADD_FAILURE() << m.text;
  }
};

TEST_F(MainRoad, FirstRunToEveryFunctionOfANewAdministration) {
  ScriptTheSettingsForm();
  ScriptTheAdministrationsForm();
  ScriptTheExportForm();
  ScriptTheOtherForms();

  backend.mainScript = [&](ui::Form& main) {
    auto& s = static_cast<program::TStartscherm&>(main);
    CheckTheFirstStart(s);
    ASSERT_NO_FATAL_FAILURE(MakeTheAdministrationAndLogIn(s));
    ASSERT_NO_FATAL_FAILURE(ShowEveryFunction(s));

    // Escape ends the program.
    s.UserKeyDown(ui::keys::Escape);
    EXPECT_FALSE(s.Showing());
  };

  EXPECT_EQ(program::RunProgram("/w/"), 0);
  EXPECT_EQ(settingsShown, 2);
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.HeldLocks(), 0);
}

}  // namespace
