// The paths every grid form shares, run over each of them from one table
// (users, administrations, GL accounts, GL categories): a Save that fails
// while writing, a Save refused because another copy of the program changed
// the file, a Save refused while an entry is held in the edit fields, and
// the help menu entries. A grid form joins the table with one row that says
// how to seed its file, which set the function tree opens for it, how to
// change it, hold an entry and save.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "formkit/helpunit.h"
#include "formkit/rowlist.h"
#include "masterdata/Administrationsunit.h"
#include "masterdata/Ledgerunit.h"
#include "masterdata/ledgercatunit.h"
#include "records/administrationrec.h"
#include "records/adminsettingsrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "records/userrec.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "support/fakefs.h"
#include "support/formfixture.h"
#include "support/records.h"
#include "system/userunit.h"
#include "ui/controls.h"
#include "ui/headless.h"

namespace {

using support::Bytes;
using support::FakeFileSystem;

records::UserRec User(const std::string& id, std::int32_t checksum) {
  records::UserRec rec;
  rec.SetUserId(id);
  rec.SetUserName("Name of " + id);
  rec.SetEndUser('Y');
  rec.SetEndUserManager('N');
  rec.SetSystemAdministrator(id == "SYSTEM" ? 'Y' : 'N');
  rec.SetChangedBy("SYSTEM");
  rec.SetPasswordSetAt("01-02-2023 10:11:12");
  rec.SetPasswordChecksum(checksum);
  return rec;
}

records::AdministrationRec Administration(const std::string& shortName, const std::string& name) {
  records::AdministrationRec rec;
  rec.SetShortName(shortName);
  rec.SetName(name);
  return rec;
}

records::LedgerAccountRec Account(const std::string& number, const std::string& caption) {
  records::LedgerAccountRec rec;
  rec.SetAccountNumber(number);
  rec.SetCaption(caption);
  rec.SetAccountType("D");
  rec.SetCategoryName("Assets");
  rec.SetStartDate("20231231");
  rec.SetEndDate("20501231");
  rec.SetChangedBy("OLD");
  rec.SetChangedAt("01-01-2020 10:00:00");
  return rec;
}

records::LedgerCategoryRec Category(std::string_view kind, const std::string& name) {
  records::LedgerCategoryRec rec;
  rec.SetCategoryKind(kind);
  rec.SetCategoryName(name);
  rec.SetChangedBy("OLD");
  rec.SetChangedAt("01-01-2020 10:00:00");
  return rec;
}

// The administration ACME below the data root "/d/", as a log-in leaves it.
void UseAdministration(support::FakeDataStore& store, const std::string& user) {
  store.fs.AddFolder("/d/ACME");
  store::SetDataRoot("/d/");
  store::SetCurrentAdministrationFolder("ACME");
  text::SystemSettings.CurrentUser = user;
}

// One grid form of the table.
struct GridForm {
  const char* name;
  std::string file;      // the file its Save rewrites
  std::string original;  // what the file holds when the form is shown
  std::string changed;   // what another copy writes meanwhile
  // Everything the form needs before it is created (folders, session).
  std::function<void(support::FakeDataStore&)> prepare;
  // Creates the form as the main block does (its creation handler run).
  std::function<std::unique_ptr<ui::Form>()> create;
  // The file set the function tree opens before it shows the form.
  std::string files;
  // Makes a change that Save would write.
  std::function<void(ui::Form&)> change;
  // Takes a row out into the edit fields.
  std::function<void(ui::Form&)> hold;
  // Clicks Save.
  std::function<void(ui::Form&)> save;
  // The status text of the form, what it says while an entry is held, and
  // whether Save can be chosen at all (a form may disable it instead).
  std::function<std::string(ui::Form&)> status;
  std::function<std::string()> entryPending;
  std::function<bool(ui::Form&)> saveEnabled;
  // The help entries: the item clicked and the topic it opens.
  std::function<std::vector<std::pair<ui::Component*, std::string>>(ui::Form&)> helpEntries;
};

void PrintTo(const GridForm& g, std::ostream* os) { *os << g.name; }

systemforms::TUsers& AsUsers(ui::Form& f) { return static_cast<systemforms::TUsers&>(f); }
masterdata::TAdministrations& AsAdministrations(ui::Form& f) { return static_cast<masterdata::TAdministrations&>(f); }
masterdata::TLedger& AsLedger(ui::Form& f) { return static_cast<masterdata::TLedger&>(f); }
masterdata::TLedgercategory& AsCategories(ui::Form& f) { return static_cast<masterdata::TLedgercategory&>(f); }

GridForm UsersForm() {
  GridForm g;
  g.name = "Users";
  g.file = "/w/user.vlk";
  g.original = Bytes(std::vector<records::UserRec>{User("ANNE01", 111), User("SYSTEM", 222)});
  g.changed = Bytes(std::vector<records::UserRec>{User("ANNE01", 999), User("SYSTEM", 222)});
  g.prepare = [](support::FakeDataStore&) { text::SystemSettings.CurrentUser = "SYSTEM"; };
  g.create = [] {
    auto f = std::make_unique<systemforms::TUsers>();
    f->OnCreate();
    return std::unique_ptr<ui::Form>(std::move(f));
  };
  g.files = "USE";
  g.change = [](ui::Form& f) {
    systemforms::TUsers& u = AsUsers(f);
    u.Edit1.UserSetText("BERT01");
    u.Edit5.UserSetText("secret1");
    u.Edit6.UserSetText("secret1");
    u.Image2.UserClick();
  };
  g.hold = [](ui::Form& f) {
    systemforms::TUsers& u = AsUsers(f);
    u.StringGrid1.UserSelectCell(0, 1);
    u.Image1.UserClick();
  };
  g.save = [](ui::Form& f) { AsUsers(f).Save1.UserClick(); };
  g.status = [](ui::Form& f) { return AsUsers(f).StatusBar1.PanelText(0); };
  g.entryPending = [] { return systemforms::MsgEntryPending; };
  g.saveEnabled = [](ui::Form& f) { return AsUsers(f).Save.Enabled(); };
  g.helpEntries = [](ui::Form& f) {
    systemforms::TUsers& u = AsUsers(f);
    return std::vector<std::pair<ui::Component*, std::string>>{{&u.BrenvickHelp1, ""},
                                                               {&u.BrenvickUsersHelp1, "<USE00>"},
                                                               {&u.Tutorial1, "<TUT00>"},
                                                               {&u.About1, "<ABO00>"},
                                                               {&u.ToolButton3, "<USE00>"}};
  };
  return g;
}

GridForm AdministrationsForm() {
  GridForm g;
  g.name = "Administrations";
  g.file = "/d/admin.vlk";
  g.original = Bytes(std::vector<records::AdministrationRec>{Administration("ACME", "Acme Inc")});
  g.changed = Bytes(std::vector<records::AdministrationRec>{Administration("ACME", "Acme Inc"),
                                                            Administration("OTHER", "Added elsewhere")});
  g.prepare = [](support::FakeDataStore& store) {
    store.fs.AddFolder("/d");
    store::SetDataRoot("/d/");
    store::AdminFileFolder = "/d/";
    text::SystemSettings.CurrentUser = "ANNA";
  };
  g.create = [] {
    auto f = std::make_unique<masterdata::TAdministrations>();
    f->OnCreate();
    return std::unique_ptr<ui::Form>(std::move(f));
  };
  g.files = "";
  g.change = [](ui::Form& f) {
    masterdata::TAdministrations& a = AsAdministrations(f);
    a.StringGrid1.UserSelectCell(0, 2);
    a.Edit1.UserSetText("DEMO");
    a.Edit2.UserSetText("Demo Company");
    a.Image3.UserClick();
  };
  g.hold = [](ui::Form& f) {
    masterdata::TAdministrations& a = AsAdministrations(f);
    a.StringGrid1.UserSelectCell(0, 1);
    a.Image4.UserClick();
  };
  g.save = [](ui::Form& f) { AsAdministrations(f).Save2.UserClick(); };
  g.status = [](ui::Form& f) { return AsAdministrations(f).StatusText; };
  g.entryPending = [] { return masterdata::MsgAdministrationEntryPending; };
  g.saveEnabled = [](ui::Form& f) { return AsAdministrations(f).Save.Enabled(); };
  g.helpEntries = [](ui::Form& f) {
    masterdata::TAdministrations& a = AsAdministrations(f);
    return std::vector<std::pair<ui::Component*, std::string>>{{&a.BrenvickAdministrationshelp1, "<ADM00>"},
                                                               {&a.ToolButton7, "<ADM00>"},
                                                               {&a.Brenvickhelp1, ""},
                                                               {&a.utorial1, "<TUT00>"},
                                                               {&a.About1, "<ABO00>"}};
  };
  return g;
}

GridForm LedgerForm() {
  GridForm g;
  g.name = "GLAccounts";
  g.file = "/d/ACME/ledger.vlk";
  g.original = Bytes({Account("1000", "Cash"), Account("1100", "Bank")});
  g.changed = Bytes({Account("1000", "Cash"), Account("1100", "Bank"), Account("1200", "Added elsewhere")});
  g.prepare = [](support::FakeDataStore& store) {
    UseAdministration(store, "ANNE");
    text::SystemSettings.AmountDecimals = 2;
    store::AdminSettings.SetBookYearStart("20240101");
    store::AdminSettings.SetProfitAccountNumber("0900");
    store.fs.SetFile("/d/ACME/ledgerct.vlk", Bytes({Category(records::kBalanceSheetKind, "Assets")}));
  };
  g.create = [] { return std::unique_ptr<ui::Form>(std::make_unique<masterdata::TLedger>()); };
  g.files = "FRZ;GLA;GLC";
  g.change = [](ui::Form& f) {
    masterdata::TLedger& l = AsLedger(f);
    l.MaskEdit1.UserSetText("2000");
    l.ComboBox1.UserSetText("Assets");
    l.PostImage.UserClick();
  };
  g.hold = [](ui::Form& f) {
    masterdata::TLedger& l = AsLedger(f);
    l.StringGrid1.UserSelectCell(0, 1);
    l.SelectImage.UserClick();
  };
  g.save = [](ui::Form& f) { AsLedger(f).Button1.UserClick(); };
  g.status = [](ui::Form& f) { return AsLedger(f).StatusBar1.PanelText(0); };
  g.entryPending = [] { return masterdata::LedgerNotPostedText; };
  g.saveEnabled = [](ui::Form& f) { return AsLedger(f).Save.Enabled(); };
  g.helpEntries = [](ui::Form& f) {
    masterdata::TLedger& l = AsLedger(f);
    return std::vector<std::pair<ui::Component*, std::string>>{{&l.GLAccountformHelp1, "<GLA00>"},
                                                               {&l.ToolButton9, "<GLA00>"},
                                                               {&l.BrenvickHelp1, ""},
                                                               {&l.Tutorial1, "<TUT00>"},
                                                               {&l.About1, "<ABO00>"}};
  };
  return g;
}

GridForm CategoriesForm() {
  GridForm g;
  g.name = "GLCategories";
  g.file = "/d/ACME/ledgerct.vlk";
  g.original = Bytes({Category(records::kBalanceSheetKind, "Assets"), Category(records::kProfitAndLossKind, "Sales")});
  g.changed = Bytes({Category(records::kBalanceSheetKind, "Assets"), Category(records::kProfitAndLossKind, "Sales"),
                     Category(records::kProfitAndLossKind, "Added elsewhere")});
  g.prepare = [](support::FakeDataStore& store) { UseAdministration(store, "JANE"); };
  g.create = [] { return std::unique_ptr<ui::Form>(std::make_unique<masterdata::TLedgercategory>()); };
  g.files = "GLC;";
  g.change = [](ui::Form& f) {
    masterdata::TLedgercategory& c = AsCategories(f);
    c.RadioButton1.UserClick();
    c.Edit1.UserSetText("Equity");
    c.Image3.UserClick();
  };
  g.hold = [](ui::Form& f) {
    masterdata::TLedgercategory& c = AsCategories(f);
    c.StringGrid1.UserSelectCell(1, 1);
    c.Image4.UserClick();
  };
  g.save = [](ui::Form& f) { AsCategories(f).Save2.UserClick(); };
  g.status = [](ui::Form& f) { return AsCategories(f).StatusBar1.PanelText(0); };
  g.entryPending = [] { return masterdata::CategoryNotPostedText; };
  g.saveEnabled = [](ui::Form& f) { return AsCategories(f).Save.Enabled(); };
  g.helpEntries = [](ui::Form& f) {
    masterdata::TLedgercategory& c = AsCategories(f);
    return std::vector<std::pair<ui::Component*, std::string>>{{&c.BrenvackGLcategoryHelp1, "<GLC00>"},
                                                               {&c.ToolButton6, "<GLC00>"},
                                                               {&c.BrenvickHelp1, ""},
                                                               {&c.utorial1, "<TUT00>"},
                                                               {&c.About1, "<ABO00>"}};
  };
  return g;
}

class GridForms : public ::testing::TestWithParam<GridForm> {
 protected:
  void SetUp() override {
    GetParam().prepare(store);
    store.fs.SetFile(GetParam().file, GetParam().original);
    form = GetParam().create();
  }

  // Shows the form as the function tree does and runs `script` inside it.
  void Show(const std::function<void(ui::Form&)>& script) {
    support::ShowAsTreeDoes(backend, *form, GetParam().files, script);
  }

  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  std::unique_ptr<ui::Form> form;
};

// The change the rows below make is one Save writes: the file holds it
// afterwards, and nothing was said.
TEST_P(GridForms, ASaveWritesTheChange) {
  const GridForm& g = GetParam();
  Show([&](ui::Form& f) {
    g.change(f);
    g.save(f);
  });
  EXPECT_NE(store.fs.File(g.file), g.original);
  EXPECT_TRUE(backend.messages.empty());
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.OpenHandles(), 0);
}

// The new file cannot be written: the old one stays whole, the form stays
// open with the change, and the set is closed again.
TEST_P(GridForms, ASaveThatFailsWhileWritingKeepsTheFileAndTheForm) {
  const GridForm& g = GetParam();
  Show([&](ui::Form& f) {
    g.change(f);
    store.fs.InjectError(g.file + ".ombrelo-tmp", FakeFileSystem::Op::Write, 1028);
    g.save(f);
    EXPECT_TRUE(f.InModalLoop());
    store.fs.ClearErrors();
  });
  EXPECT_EQ(store.fs.File(g.file), g.original);
  EXPECT_EQ(backend.messages.size(), 1u);
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.OpenHandles(), 0);
}

// Another copy changed the file after the form read it: nothing is written,
// the message says why, and the form keeps what was typed.
TEST_P(GridForms, ASaveAfterAnotherCopyChangedTheFileIsRefused) {
  const GridForm& g = GetParam();
  Show([&](ui::Form& f) {
    g.change(f);
    store.fs.SetFile(g.file, g.changed);
    g.save(f);
    EXPECT_TRUE(f.InModalLoop());
  });
  EXPECT_EQ(store.fs.File(g.file), g.changed);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, text::MsgChangedInAnotherCopy());
  EXPECT_FALSE(store::FileSetOpen);
}

// An entry held in the edit fields would be lost by a Save: it is refused,
// with the form's message, or Save cannot be chosen while it is held.
TEST_P(GridForms, ASaveWhileAnEntryIsHeldIsRefused) {
  const GridForm& g = GetParam();
  Show([&](ui::Form& f) {
    g.hold(f);
    g.save(f);
    EXPECT_TRUE(f.InModalLoop());
    if (g.saveEnabled(f)) {
      EXPECT_EQ(g.status(f), g.entryPending());
    }
  });
  EXPECT_EQ(store.fs.File(g.file), g.original);
  EXPECT_TRUE(backend.messages.empty());
}

// Each help entry opens its topic and the form comes back.
TEST_P(GridForms, HelpEntriesOpenTheirTopics) {
  const GridForm& g = GetParam();
  Show([&](ui::Form& f) {
    for (const auto& [item, tag] : g.helpEntries(f)) {
      SCOPED_TRACE(item->Name());
      formkit::RequestedHelpTag = "unset";
      item->UserClick();
      EXPECT_EQ(formkit::RequestedHelpTag, tag);
      EXPECT_TRUE(f.Showing());
      EXPECT_TRUE(f.InModalLoop());
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, GridForms, ::testing::Values(UsersForm(), AdministrationsForm(), LedgerForm(), CategoriesForm()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
