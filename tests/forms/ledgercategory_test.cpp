// The GL category record and the GL categories form, driven headless on the
// in-memory file system.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "masterdata/ledgercatunit.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/oserror.h"
#include "records/ledgercategoryrec.h"
#include "store/fileset.h"
#include "formkit/helpunit.h"
#include "text/languagefile.h"
#include "program/startschermunit.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "support/fakefs.h"
#include "support/records.h"
#include "support/formfixture.h"
#include "ui/headless.h"

namespace {

using masterdata::CategoryRow;
using masterdata::TLedgercategory;
using support::FakeFileSystem;

const std::string BS(records::kBalanceSheetKind);
const std::string PL(records::kProfitAndLossKind);

TEST(LedgerCategoryRec, FieldsLieAtTheirOffsets) {
  records::LedgerCategoryRec rec;
  rec.SetCategoryKind(BS);
  rec.SetCategoryName("Fixed assets");
  rec.SetChangedBy("JANE");
  rec.SetChangedAt("17-05-2024 09:30:15");

  std::string golden(134, '\0');
  auto put = [&golden](std::size_t at, const std::string& s) {
    golden[at] = static_cast<char>(s.size());
    golden.replace(at + 1, s.size(), s);
  };
  put(0, "Balance sheet account");
  put(51, "Fixed assets");
  put(102, "JANE");
  put(113, "17-05-2024 09:30:15");
  EXPECT_EQ(support::Bytes(rec), golden);

  // Texts are cut at the field's capacity; the next field stays intact.
  rec.SetCategoryName(std::string(60, 'n'));
  rec.SetChangedBy("ADMINISTRATOR");
  rec.SetChangedAt("2024-05-17T09:30:15.000Z");
  EXPECT_EQ(rec.CategoryName(), std::string(50, 'n'));
  EXPECT_EQ(rec.ChangedBy(), "ADMINISTRA");
  EXPECT_EQ(rec.ChangedAt(), "2024-05-17T09:30:15.");
  EXPECT_EQ(rec.CategoryKind(), BS);
  EXPECT_EQ(rec.data()[51], 50);
  EXPECT_EQ(rec.data()[102], 10);
  EXPECT_EQ(rec.data()[113], 20);
}

class LedgerCategoryForm : public ::testing::Test {
 protected:
  static constexpr const char* kGlc = "/d/ACME/ledgerct.vlk";
  static constexpr const char* kGla = "/d/ACME/ledger.vlk";

  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 5, 17) + platform::EncodeTime(9, 30, 15, 0)};
  TLedgercategory form;

  void SetUp() override {
    store.fs.AddFolder("/d/ACME");
    store::SetDataRoot("/d/");
    store::SetCurrentAdministrationFolder("ACME");
    text::SystemSettings.CurrentUser = "JANE";
  }

  static std::string CategoryFile(const std::vector<CategoryRow>& rows) {
    std::vector<records::LedgerCategoryRec> recs;
    for (const CategoryRow& r : rows) {
      records::LedgerCategoryRec& rec = recs.emplace_back();
      rec.SetCategoryKind(r.kind);
      rec.SetCategoryName(r.name);
      rec.SetChangedBy(r.changedBy);
      rec.SetChangedAt(r.changedAt);
    }
    return support::Bytes(recs);
  }
  // GL account records (376 bytes) that name only their category: a
  // string[50] at offset 78.
  static std::string AccountFile(const std::vector<std::string>& categories) {
    std::string out;
    for (const std::string& c : categories) {
      std::string rec(376, '\0');
      rec[78] = static_cast<char>(c.size());
      rec.replace(79, c.size(), c);
      out += rec;
    }
    return out;
  }
  static std::vector<CategoryRow> Numbered(int n) {
    std::vector<CategoryRow> rows;
    for (int i = 0; i < n; ++i) rows.push_back({BS, "Category " + std::to_string(i + 1), "OLD", "01-01-2020 10:00:00"});
    return rows;
  }
  std::vector<CategoryRow> FileRows() const {
    std::vector<CategoryRow> rows;
    for (const auto& rec : support::Records<records::LedgerCategoryRec>(store.fs.File(kGlc)))
      rows.push_back({rec.CategoryKind(), rec.CategoryName(), rec.ChangedBy(), rec.ChangedAt()});
    return rows;
  }

  // Shows the form as the function tree does; `body` runs while it is shown.
  void Show(const std::function<void(TLedgercategory&)>& body) {
    support::ShowAsTreeDoes(backend, form, "GLC;", body);
  }

  static void SelectRow(TLedgercategory& f, int row) {
    f.StringGrid1.UserSelectCell(1, row);
    f.Image4.UserClick();
  }
  static void Post(TLedgercategory& f, const std::string& name, bool balance = true) {
    (balance ? f.RadioButton1 : f.RadioButton2).UserClick();
    f.Edit1.UserSetText(name);
    f.Image3.UserClick();
  }
  static std::vector<std::string> Names(const TLedgercategory& f) {
    std::vector<std::string> names;
    for (const CategoryRow& r : f.Rows()) names.push_back(r.name);
    return names;
  }
};

TEST_F(LedgerCategoryForm, EmptyFileShowsOneBlankRowAndTakesAFirstCategory) {
  const std::string stamp = platform::DateTimeToText(platform::Now());
  Show([&](TLedgercategory& f) {
    EXPECT_EQ(f.StringGrid1.RowCount(), 2);
    EXPECT_EQ(f.StringGrid1.Cell(0, 1), "");
    EXPECT_EQ(f.StringGrid1.Cell(1, 1), "");
    EXPECT_FALSE(f.Image3.Enabled());

    // Select on the blank row takes nothing and changes nothing.
    SelectRow(f, 1);
    EXPECT_EQ(f.CategoryRowTotal(), 0);
    EXPECT_EQ(f.StringGrid1.RowCount(), 2);
    EXPECT_TRUE(f.Image4.Enabled());
    EXPECT_FALSE(f.EntryHeld());

    Post(f, "Sales", false);
    EXPECT_EQ(f.CategoryRowTotal(), 1);
    EXPECT_EQ(f.StringGrid1.Cell(1, 0), "Category");  // the heading row is untouched
    EXPECT_EQ(f.StringGrid1.Cell(1, 1), "Sales");
    EXPECT_EQ(f.StringGrid1.Cell(0, 1), f.RadioButton2.Caption());
    EXPECT_EQ(f.Edit1.GetText(), "");
    EXPECT_FALSE(f.Image3.Enabled());

    store.fs.ClearLog();
    f.Save2.UserClick();
    EXPECT_FALSE(f.InModalLoop());
  });
  EXPECT_EQ(FileRows(), (std::vector<CategoryRow>{{PL, "Sales", "JANE", stamp}}));
  // The file is replaced whole through a temporary file.
  EXPECT_EQ(store.fs.LogOf("rename "), std::vector<std::string>{std::string(kGlc) + ".ombrelo-tmp -> " + kGlc});
  EXPECT_EQ(stamp, "17-05-2024 09:30:15");
}

struct DuplicateCase {
  const char* name;
  bool balance;
  std::string typed;
  bool accepted;
};

TEST_F(LedgerCategoryForm, OneNameIsOneCategoryWhateverTheKindOrCase) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Sales", "OLD", "x"}, {PL, "Rent", "OLD", "y"}}));
  const std::vector<DuplicateCase> cases = {
      {"SameKindSameName", true, "Sales", false},
      {"OtherKindSameName", false, "Sales", false},
      {"CaseOnly", true, "SALES", false},
      {"CaseOnlyLatin1", false, cp1252::L("rEnt"), false},
      {"BlanksAroundTheName", false, "  Sales ", false},
      {"HeadingOfTheNameColumn", true, "Category", true},
      {"NewName", false, "Sales tax", true},
  };
  for (const DuplicateCase& c : cases) {
    Show([&](TLedgercategory& f) {
      // The heading row is no category, even when the kind caption equals
      // its heading.
      f.RadioButton1.SetCaption(f.StringGrid1.Cell(0, 0));
      Post(f, c.typed, c.balance);
      if (c.accepted) {
        EXPECT_EQ(f.CategoryRowTotal(), 3) << c.name;
        EXPECT_EQ(f.StatusBar1.PanelText(0), "") << c.name;
      } else {
        EXPECT_EQ(Names(f), (std::vector<std::string>{"Sales", "Rent"})) << c.name;
        EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::CategoryDuplicateText) << c.name;
        EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red) << c.name;
        EXPECT_EQ(f.Edit1.BackColor(), ui::colors::Yellow) << c.name;
        EXPECT_TRUE(f.EntryHeld()) << c.name;
      }
    });
  }
}

TEST_F(LedgerCategoryForm, AFileWithDuplicatesLoadsWithAWarning) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Sales", "A", "1"}, {BS, "Rent", "A", "2"}, {PL, "sales", "B", "3"}}));
  Show([&](TLedgercategory& f) {
    EXPECT_EQ(Names(f), (std::vector<std::string>{"Sales", "Rent", "sales"}));
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::CategoryDuplicateText + ": Sales");
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Yellow);
    // Either twin can be taken out and put back unchanged, in its place
    // (also from the last row).
    SelectRow(f, 3);
    f.Image3.UserClick();
    EXPECT_EQ(Names(f), (std::vector<std::string>{"Sales", "Rent", "sales"}));
    EXPECT_FALSE(f.EntryHeld());
  });
}

TEST_F(LedgerCategoryForm, NamesAreTrimmedAndHeldToTheirField) {
  struct Case {
    std::string typed;
    std::string stored;    // empty: refused
    std::string* message;  // the refusal
  };
  const std::vector<Case> cases = {
      {"  Stock\t", "Stock", nullptr},
      {std::string(50, 'x'), std::string(50, 'x'), nullptr},
      {std::string(51, 'x'), "", &masterdata::MsgCategoryNameTooLong},
      {"  " + std::string(50, 'y') + "  ", std::string(50, 'y'), nullptr},
      {"Sales;VAT", "", &masterdata::MsgCategoryNameSemicolon},
  };
  for (const Case& c : cases) {
    Show([&](TLedgercategory& f) {
      // The program writes the edit here, past the typing limit.
      f.Edit1.SetText(c.typed);
      f.Image3.UserClick();
      if (c.message) {
        EXPECT_EQ(f.CategoryRowTotal(), 0) << c.typed;
        EXPECT_EQ(f.StatusBar1.PanelText(0), *c.message) << c.typed;
        EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red) << c.typed;
      } else {
        EXPECT_EQ(Names(f), std::vector<std::string>{c.stored}) << c.typed;
      }
    });
  }
  // Fifty letters of the code page are fifty bytes, whatever their UTF-8
  // length.
  const std::string fifty = cp1252::L("é") + std::string(49, 'e');
  ASSERT_EQ(fifty.size(), 50u);
  Show([&](TLedgercategory& f) {
    f.Edit1.UserSetText(fifty + "e");  // typing stops at the field's room
    EXPECT_EQ(f.Edit1.GetText(), fifty);
    f.Image3.UserClick();
    EXPECT_EQ(Names(f), std::vector<std::string>{fifty});
  });
}

TEST_F(LedgerCategoryForm, ACategoryAnAccountNamesIsLockedExactly) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Sales", "A", "1"}, {PL, "Rent", "A", "2"}}));
  struct Case {
    std::vector<std::string> accounts;
    bool locked;
  };
  for (const Case& c : std::vector<Case>{{{"Rent", "Sales"}, true}, {{"sales", "Sales "}, false}, {{}, false}}) {
    store.fs.SetFile(kGla, AccountFile(c.accounts));
    Show([&](TLedgercategory& f) {
      SelectRow(f, 1);
      EXPECT_EQ(f.Edit1.GetText(), "Sales");
      EXPECT_TRUE(f.RadioButton1.Checked());
      EXPECT_EQ(f.Edit2.GetText(), "A");
      EXPECT_EQ(f.Edit3.GetText(), "1");
      EXPECT_EQ(Names(f), std::vector<std::string>{"Rent"});
      EXPECT_FALSE(f.Image4.Enabled());
      EXPECT_FALSE(f.Select1.Enabled());
      EXPECT_EQ(f.Edit4.GetText(), c.locked ? "in use !" : "");
      EXPECT_EQ(f.Delete.Enabled(), !c.locked);
      EXPECT_EQ(f.Button3.Enabled(), !c.locked);
      EXPECT_EQ(f.Edit1.Enabled(), !c.locked);
      // A locked name cannot be changed or dropped.
      f.Edit1.UserSetText("Turnover");
      f.Button3.UserClick();
      EXPECT_EQ(f.Edit1.GetText(), c.locked ? "Sales" : "");
      if (c.locked) {
        f.Image3.UserClick();
        EXPECT_EQ(Names(f), (std::vector<std::string>{"Sales", "Rent"}));
        EXPECT_TRUE(f.Edit1.Enabled());
        EXPECT_TRUE(f.Delete.Enabled());
        EXPECT_EQ(f.Edit4.GetText(), "");
        EXPECT_TRUE(f.Image4.Enabled());
      } else {
        EXPECT_TRUE(f.Image4.Enabled());
        EXPECT_FALSE(f.EntryHeld());
      }
    });
  }
}

TEST_F(LedgerCategoryForm, TheLockedStateDoesNotOutliveTheShowing) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Sales", "A", "1"}}));
  store.fs.SetFile(kGla, AccountFile({"Sales"}));
  const std::string before = store.fs.File(kGlc);
  Show([&](TLedgercategory& f) {
    SelectRow(f, 1);
    ASSERT_FALSE(f.Edit1.Enabled());
    // Cancel closes even with an entry held; nothing is written.
    f.UserKeyDown(ui::keys::Escape);
    EXPECT_FALSE(f.InModalLoop());
  });
  EXPECT_EQ(store.fs.File(kGlc), before);
  Show([&](TLedgercategory& f) {
    EXPECT_EQ(Names(f), std::vector<std::string>{"Sales"});
    EXPECT_TRUE(f.Edit1.Enabled());
    EXPECT_TRUE(f.RadioButton1.Enabled());
    EXPECT_TRUE(f.RadioButton2.Enabled());
    EXPECT_TRUE(f.Delete.Enabled());
    EXPECT_TRUE(f.Image4.Enabled());
    EXPECT_EQ(f.Edit4.GetText(), "");
    EXPECT_FALSE(f.EntryHeld());
  });
}

TEST_F(LedgerCategoryForm, ManyCategoriesWarnAndTheLimitRefuses) {
  store.fs.SetFile(kGlc, CategoryFile(Numbered(149)));
  Show([&](TLedgercategory& f) {
    Post(f, "Stock");
    EXPECT_EQ(f.CategoryRowTotal(), 150);
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::CategoryLimitText);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
    // A refused duplicate ends with the warning too; the edit shows the
    // refusal.
    Post(f, "stock");
    EXPECT_EQ(f.CategoryRowTotal(), 150);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
    EXPECT_EQ(f.Edit1.BackColor(), ui::colors::Yellow);
  });

  store.fs.SetFile(kGlc, CategoryFile(Numbered(400)));
  Show([&](TLedgercategory& f) {
    Post(f, "Stock");
    EXPECT_EQ(f.CategoryRowTotal(), 400);
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::CategoryLimitText);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    f.Button3.UserClick();
    // A row taken out goes back in at the limit.
    SelectRow(f, 7);
    f.Edit1.UserSetText("Renamed");
    f.Image3.UserClick();
    EXPECT_EQ(f.CategoryRowTotal(), 400);
    EXPECT_EQ(f.Rows()[6].name, "Renamed");
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
  });
}

TEST_F(LedgerCategoryForm, AnOverfullFileIsNoDeadEnd) {
  // An import can leave more rows than the form accepts; a category in use
  // that is taken out must go back.
  store.fs.SetFile(kGlc, CategoryFile(Numbered(401)));
  store.fs.SetFile(kGla, AccountFile({"Category 2"}));
  Show([&](TLedgercategory& f) {
    SelectRow(f, 2);
    ASSERT_EQ(f.Edit4.GetText(), "in use !");
    f.Image3.UserClick();
    EXPECT_EQ(f.CategoryRowTotal(), 401);
    EXPECT_EQ(f.Rows()[1].name, "Category 2");
    EXPECT_FALSE(f.EntryHeld());
    // New rows stay refused.
    Post(f, "Stock");
    EXPECT_EQ(f.CategoryRowTotal(), 401);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
  });
}

TEST_F(LedgerCategoryForm, UpAndDownSwapWholeRowsWithinTheGrid) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "A", "U1", "T1"}, {PL, "B", "U2", "T2"}, {BS, "C", "U3", "T3"}}));
  Show([&](TLedgercategory& f) {
    f.StringGrid1.UserSelectCell(1, 1);
    f.Image1.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::CategoryTopText);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
    f.StringGrid1.UserSelectCell(1, 3);
    f.Down1.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::CategoryBottomText);
    EXPECT_EQ(Names(f), (std::vector<std::string>{"A", "B", "C"}));

    f.Up1.UserClick();  // C up to row 2
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    EXPECT_EQ(f.StringGrid1.Row(), 2);
    EXPECT_EQ(f.Rows()[1], (CategoryRow{BS, "C", "U3", "T3"}));
    EXPECT_EQ(f.Rows()[2], (CategoryRow{PL, "B", "U2", "T2"}));
    // The hidden stamp cells go with their row.
    EXPECT_EQ(f.StringGrid1.Cell(2, 2), "U3");
    EXPECT_EQ(f.StringGrid1.Cell(3, 3), "T2");
    EXPECT_EQ(f.StringGrid1.Cell(0, 3), f.RadioButton2.Caption());

    f.StringGrid1.UserSelectCell(1, 1);
    f.Image2.UserClick();  // A down to row 2
    EXPECT_EQ(f.StringGrid1.Row(), 2);
    EXPECT_EQ(Names(f), (std::vector<std::string>{"C", "A", "B"}));
    f.Save.Execute();
  });
  EXPECT_EQ(FileRows(),
            (std::vector<CategoryRow>{{BS, "C", "U3", "T3"}, {BS, "A", "U1", "T1"}, {PL, "B", "U2", "T2"}}));
}

TEST_F(LedgerCategoryForm, SaveKeepsLoadedStampsAndStampsPostedRows) {
  text::SystemSettings.CurrentUser = "ADMINISTRATOR";
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Assets", "ANN", "02-01-2023 08:00:00"},
                                       {PL, "Sales", "BOB", "03-01-2023 08:00:00"},
                                       {PL, "Old", "", ""}}));
  Show([&](TLedgercategory& f) {
    // A new row before row 2, and row 2 (now 3) taken out and put back
    // unchanged before row 1.
    f.StringGrid1.UserSelectCell(1, 2);
    Post(f, "Liabilities");
    SelectRow(f, 3);
    f.StringGrid1.UserSelectCell(1, 1);
    f.Image3.UserClick();
    f.ToolButton1.UserClick();
  });
  const std::string now = "17-05-2024 09:30:15";
  EXPECT_EQ(FileRows(), (std::vector<CategoryRow>{{PL, "Sales", "ADMINISTRA", now},
                                                  {BS, "Assets", "ANN", "02-01-2023 08:00:00"},
                                                  {BS, "Liabilities", "ADMINISTRA", now},
                                                  {PL, "Old", "ADMINISTRA", now}}));
}

TEST_F(LedgerCategoryForm, KindsAreCodesNotCaptions) {
  // A foreign or empty kind text counts as profit and loss; only the exact
  // balance-sheet code is a balance-sheet category.
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Assets", "A", "1"},
                                       {"Bilanz", "Foreign", "A", "2"},
                                       {"", "Empty", "A", "3"},
                                       {"balance sheet account", "Lower", "A", "4"},
                                       {PL, "Sales", "A", "5"}}));
  const std::vector<std::string> kinds = {BS, PL, PL, PL, PL};
  // Whatever the language makes of the radio captions (none, equal ones),
  // the kinds stay.
  for (const std::string caption : {"", "X"}) {
    text::CurrentLanguage.SetL(2255, caption);
    text::CurrentLanguage.SetL(2284, caption);
    Show([&](TLedgercategory& f) {
      f.ApplyLanguageTexts();
      ASSERT_EQ(f.RadioButton1.Caption(), caption);
      ASSERT_EQ(f.RadioButton2.Caption(), caption);
      std::vector<std::string> loaded;
      for (const CategoryRow& r : f.Rows()) loaded.push_back(r.kind);
      EXPECT_EQ(loaded, kinds);
      // Up works on rows whose kind shows no text.
      f.StringGrid1.UserSelectCell(1, 2);
      f.Image1.UserClick();
      f.Image2.UserClick();
      EXPECT_EQ(f.Rows()[0].name, "Assets");
      // Taken out and put back, each row keeps its kind.
      for (int row : {1, 5}) {
        SelectRow(f, row);
        EXPECT_EQ(f.RadioButton1.Checked(), row == 1);
        f.Image3.UserClick();
      }
      f.Save.Execute();
    });
    std::vector<std::string> written;
    for (const CategoryRow& r : FileRows()) written.push_back(r.kind);
    EXPECT_EQ(written, kinds) << "caption '" << caption << "'";
  }
}

TEST_F(LedgerCategoryForm, SaveAndCancelWithAnEntryHeld) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Assets", "A", "1"}}));
  const std::string before = store.fs.File(kGlc);
  Show([&](TLedgercategory& f) {
    f.Edit1.UserSetText("Typed");
    f.Save1.UserClick();
    EXPECT_TRUE(f.InModalLoop());
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::CategoryNotPostedText);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    // Select is refused too, until the entry is posted or deleted.
    SelectRow(f, 1);
    EXPECT_EQ(f.CategoryRowTotal(), 1);
    EXPECT_FALSE(f.Image4.Enabled());
    f.Button3.UserClick();
    EXPECT_TRUE(f.Image4.Enabled());
    // A row taken out whose name was cleared is still held.
    SelectRow(f, 1);
    f.Edit1.UserSetText("");
    f.Save2.UserClick();
    EXPECT_TRUE(f.InModalLoop());
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::CategoryNotPostedText);
    f.Edit1.UserSetText("Typed again");
    f.Button2.UserClick();
    EXPECT_FALSE(f.InModalLoop());
  });
  EXPECT_EQ(store.fs.File(kGlc), before);
}

TEST_F(LedgerCategoryForm, DeleteDropsTheRowTakenOut) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Assets", "A", "1"}, {PL, "Sales", "A", "2"}}));
  Show([&](TLedgercategory& f) {
    SelectRow(f, 1);
    f.Delete1.UserClick();
    EXPECT_EQ(f.Edit1.GetText(), "");
    EXPECT_EQ(f.Edit2.GetText(), "");
    EXPECT_FALSE(f.EntryHeld());
    f.Save.Execute();
  });
  EXPECT_EQ(FileRows(), (std::vector<CategoryRow>{{PL, "Sales", "A", "2"}}));
}

TEST_F(LedgerCategoryForm, AFailedOpenChangesNothing) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Assets", "A", "1"}}));
  const std::string before = store.fs.File(kGlc);
  Show([&](TLedgercategory& f) {
    store.fs.InjectError(kGla, FakeFileSystem::Op::OpenReadWrite, 5, 1);
    SelectRow(f, 1);
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text, "IO errorcode: GLA5  " + platform::OsErrorText(5));
    EXPECT_EQ(f.CategoryRowTotal(), 1);
    EXPECT_FALSE(f.EntryHeld());
    EXPECT_TRUE(f.Image4.Enabled());

    Post(f, "Sales");
    store.fs.InjectError(kGlc, FakeFileSystem::Op::OpenReadWrite, 5, 1);
    f.Save.Execute();
    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_EQ(backend.messages[1].text, "IO errorcode: GLC5  " + platform::OsErrorText(5));
    // The form stays open with the user's work.
    EXPECT_TRUE(f.InModalLoop());
    EXPECT_EQ(f.CategoryRowTotal(), 2);
    EXPECT_EQ(store.fs.File(kGlc), before);
    f.Save.Execute();
    EXPECT_FALSE(f.InModalLoop());
  });
  EXPECT_EQ(FileRows().size(), 2u);
  EXPECT_FALSE(store::FileSetOpen);
}

// Shown without the start screen's set and unable to read the categories,
// the form does not stay open: a Save would replace the file by an empty
// one.
TEST_F(LedgerCategoryForm, UnreadableCategoriesCloseTheFormAndKeepTheFile) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Assets", "A", "1"}}));
  const std::string before = store.fs.File(kGlc);
  store.fs.InjectError(kGlc, FakeFileSystem::Op::OpenReadWrite, 5, 1);
  bool scriptRan = false;
  backend.scripts["Ledgercategory"] = [&](ui::Form&) { scriptRan = true; };
  form.ShowModal();
  EXPECT_FALSE(scriptRan);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: GLC5  " + platform::OsErrorText(5));
  EXPECT_EQ(store.fs.File(kGlc), before);
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(LedgerCategoryForm, HelpKeysAndTitle) {
  struct Case {
    std::function<void(TLedgercategory&)> act;
    std::string tag;
  };
  const std::vector<Case> cases = {
      {[](TLedgercategory& f) { f.UserKeyDown(ui::keys::F1); }, "<GLC00>"},
      {[](TLedgercategory& f) { f.ToolButton6.UserClick(); }, "<GLC00>"},
      {[](TLedgercategory& f) { f.BrenvackGLcategoryHelp1.UserClick(); }, "<GLC00>"},
      {[](TLedgercategory& f) { f.BrenvickHelp1.UserClick(); }, ""},
      {[](TLedgercategory& f) { f.utorial1.UserClick(); }, "<TUT00>"},
      {[](TLedgercategory& f) { f.About1.UserClick(); }, "<ABO00>"},
  };
  masterdata::LedgercategoryHelpCaptions.LanguageName = "Deutsch";
  Show([&](TLedgercategory& f) {
    for (const Case& c : cases) {
      formkit::RequestedHelpTag = "unset";
      c.act(f);
      EXPECT_EQ(formkit::RequestedHelpTag, c.tag);
      EXPECT_EQ(formkit::HelpCaptionBlock.LanguageName, "Deutsch");
      EXPECT_TRUE(f.Showing());
      EXPECT_TRUE(f.InModalLoop());
    }
    f.Brenvickhomepage1.UserClick();
    ASSERT_EQ(backend.urlsOpened.size(), 1u);
    EXPECT_NE(backend.urlsOpened[0].find("indexde.html"), std::string::npos);
    // Enter in the name edit posts.
    f.Edit1.UserFocus();
    f.Edit1.UserSetText("Sales");
    f.UserKeyDown(ui::keys::Return);
    EXPECT_EQ(Names(f), std::vector<std::string>{"Sales"});
  });

  // The title is cut, never wrapped, however long the administration's name.
  store::CurrentAdministrationName = std::string(100, 'N');
  form.ApplyLanguageTexts();
  EXPECT_EQ(form.Label2.Caption().size(), 64u);
  EXPECT_EQ(form.Label2.Caption().back(), ')');
}

}  // namespace

TEST_F(LedgerCategoryForm, TheKindOfACategoryInUseStaysAsItIs) {
  store.fs.SetFile(kGlc, CategoryFile({{BS, "Stock", "A", "1"}, {BS, "Rent", "A", "2"}}));
  store.fs.SetFile(kGla, AccountFile({"Stock"}));
  Show([&](TLedgercategory& f) {
    SelectRow(f, 1);
    EXPECT_FALSE(f.RadioButton1.Enabled());
    EXPECT_FALSE(f.RadioButton2.Enabled());
    f.RadioButton2.UserClick();
    EXPECT_TRUE(f.RadioButton1.Checked());
    f.Image3.UserClick();
    // Free again once posted; a free category's kind can be changed.
    EXPECT_TRUE(f.RadioButton2.Enabled());
    SelectRow(f, 2);
    EXPECT_TRUE(f.RadioButton2.Enabled());
    f.RadioButton2.UserClick();
    f.Image3.UserClick();
    f.Save2.UserClick();
    EXPECT_FALSE(f.InModalLoop());
  });
  const std::vector<CategoryRow> rows = FileRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].kind, BS);
  EXPECT_EQ(rows[1].kind, PL);
}

TEST_F(LedgerCategoryForm, SaveRefusesWhatAnotherCopyChangedMeanwhile) {
  enum Edit { DeleteIt, RenameIt, ChangeKind };
  struct Case {
    const char* name;
    Edit edit;
    std::vector<std::string> accountsMeanwhile;  // the account file another copy writes after Select
    bool categoriesChanged;                       // another copy saved the categories meanwhile
    std::string message;                          // empty: saved
  };
  const std::string inUse = masterdata::MsgCategoryInUse("Stock");
  const std::vector<Case> cases = {
      {"deleted, still free", DeleteIt, {"Rent"}, false, ""},
      {"renamed, still free", RenameIt, {"Rent"}, false, ""},
      {"deleted, now named by an account", DeleteIt, {"Rent", "Stock"}, false, inUse},
      {"renamed, now named by an account", RenameIt, {"Stock"}, false, inUse},
      {"kind changed, now named by an account", ChangeKind, {"Stock"}, false, inUse},
      {"named in another case only", DeleteIt, {"stock"}, false, ""},
      {"the categories changed", DeleteIt, {"Rent"}, true, text::MsgChangedInAnotherCopy()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    backend.messages.clear();
    store.fs.SetFile(kGlc, CategoryFile({{BS, "Stock", "A", "1"}, {BS, "Rent", "A", "2"}}));
    store.fs.SetFile(kGla, AccountFile({"Rent"}));
    Show([&](TLedgercategory& f) {
      SelectRow(f, 1);
      ASSERT_TRUE(f.Edit1.Enabled());
      store.fs.SetFile(kGla, AccountFile(c.accountsMeanwhile));
      if (c.categoriesChanged)
        store.fs.SetFile(kGlc, CategoryFile({{BS, "Stock", "A", "1"}, {BS, "Rent", "A", "2"}, {PL, "Fees", "B", "3"}}));
      const std::string before = store.fs.File(kGlc);
      switch (c.edit) {
        case DeleteIt: f.Button3.UserClick(); break;
        case RenameIt: Post(f, "Goods"); break;
        case ChangeKind: Post(f, "Stock", false); break;
      }
      f.Save2.UserClick();
      if (c.message.empty()) {
        EXPECT_FALSE(f.InModalLoop());
        EXPECT_TRUE(backend.messages.empty());
        return;
      }
      EXPECT_TRUE(f.InModalLoop());
      ASSERT_EQ(backend.messages.size(), 1u);
      EXPECT_EQ(backend.messages[0].text, c.message);
      EXPECT_EQ(store.fs.File(kGlc), before);
      EXPECT_EQ(f.CategoryRowTotal(), c.edit == DeleteIt ? 1 : 2);
      EXPECT_FALSE(store::FileSetOpen);
      f.Button2.UserClick();
    });
  }
}
