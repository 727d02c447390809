// The administrations record and form: the list in the grid, adding,
// selecting, moving, deleting and saving, and the data folders of new
// administrations.
#include <gtest/gtest.h>

#include "formkit/rowlist.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "masterdata/Administrationsunit.h"
#include "platform/datetime.h"
#include "platform/oserror.h"
#include "records/administrationrec.h"
#include "store/fileset.h"
#include "formkit/helpunit.h"
#include "text/languagefile.h"
#include "program/startschermunit.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "support/fakefs.h"
#include "support/formfixture.h"
#include "support/records.h"
#include "ui/headless.h"
#include "formkit/website.h"

namespace {

using masterdata::TAdministrations;
using records::AdministrationRec;
using support::Bytes;
using support::FakeFileSystem;

constexpr const char* kAdminFile = "/d/admin.vlk";

// A string[N] field as it lies in a record.
void PutShort(std::string& bytes, std::size_t offset, const std::string& text) {
  bytes[offset] = static_cast<char>(text.size());
  bytes.replace(offset + 1, text.size(), text);
}

AdministrationRec Rec(const std::string& shortName, const std::string& name, const std::string& memo = "",
                      const std::string& by = "", const std::string& at = "") {
  AdministrationRec r;
  r.SetShortName(shortName);
  r.SetName(name);
  r.SetMemo(memo);
  r.SetCreatedBy(by);
  r.SetCreatedAt(at);
  return r;
}

std::vector<AdministrationRec> Records(const std::string& bytes) { return support::Records<AdministrationRec>(bytes); }

std::vector<std::string> ShortNames(const std::string& bytes) {
  std::vector<std::string> out;
  for (const auto& r : Records(bytes)) out.push_back(r.ShortName());
  return out;
}

TEST(AdministrationRecord, FieldsLieAtTheirOffsets) {
  AdministrationRec r = Rec("DEMO", "Demo Company Ltd", std::string(200, 'm'), "ANNA", "05-03-2024 14:30:00");
  std::string expected(275, '\0');
  PutShort(expected, 0, "DEMO");
  PutShort(expected, 11, "Demo Company Ltd");
  PutShort(expected, 42, std::string(200, 'm'));
  PutShort(expected, 243, "ANNA");
  PutShort(expected, 254, "05-03-2024 14:30:00");
  EXPECT_EQ(Bytes(r), expected);

  // Texts are cut to their fields, which never spill into the next one.
  r.SetShortName("ABCDEFGHIJKLMN");
  r.SetCreatedAt(std::string(25, '9'));
  EXPECT_EQ(r.ShortName(), "ABCDEFGHIJ");
  EXPECT_EQ(r.Name(), "Demo Company Ltd");
  EXPECT_EQ(r.CreatedAt(), std::string(20, '9'));
}

class Administrations : public ::testing::Test {
 protected:
  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 3, 5) + platform::EncodeTime(14, 30, 0, 0)};
  std::unique_ptr<TAdministrations> form;

  void SetUp() override {
    store.fs.AddFolder("/d");
    store::SetDataRoot("/d/");
    store::AdminFileFolder = "/d/";
    text::SystemSettings.CurrentUser = "ANNA";
  }

  void Seed(const std::vector<AdministrationRec>& recs) { store.fs.SetFile(kAdminFile, Bytes(recs)); }

  // Creates the form as the main block does and activates it.
  TAdministrations& Open() {
    form = std::make_unique<TAdministrations>();
    form->OnCreate();
    form->FormActivate();
    return *form;
  }

  std::vector<std::string> Column(int col) const {
    std::vector<std::string> out;
    for (int r = 1; r <= form->AdministrationCount; ++r) out.push_back(form->StringGrid1.Cell(col, r));
    return out;
  }

  void Type(const std::string& shortName, const std::string& name = "", const std::string& memo = "") {
    form->Edit1.UserSetText(shortName);
    form->Edit2.UserSetText(name);
    form->Edit3.UserSetText(memo);
  }
  void AddAt(int row, const std::string& shortName, const std::string& name = "") {
    form->StringGrid1.UserSelectCell(0, row);
    Type(shortName, name);
    form->Image3.UserClick();
  }
  void SelectRow(int row) {
    form->StringGrid1.UserSelectCell(0, row);
    form->Image4.UserClick();
  }

  std::vector<std::string> MkdirLog() const { return store.fs.LogOf("mkdir "); }
};

TEST_F(Administrations, LoadShowsTheFileInOrderWithTheHiddenColumns) {
  Seed({Rec("ACME", "Acme Inc", "first", "ANNA", "01-01-2024 10:00:00"), Rec("BETA", "Beta BV"),
        Rec("GAMMA", "Gamma GmbH", "", "PIET", "02-02-2024 11:00:00")});
  auto& f = Open();

  EXPECT_EQ(f.AdministrationCount, 3);
  EXPECT_EQ(Column(TAdministrations::ColShortName), (std::vector<std::string>{"ACME", "BETA", "GAMMA"}));
  EXPECT_EQ(Column(TAdministrations::ColName), (std::vector<std::string>{"Acme Inc", "Beta BV", "Gamma GmbH"}));
  EXPECT_EQ(Column(TAdministrations::ColMemo), (std::vector<std::string>{"first", "", ""}));
  EXPECT_EQ(Column(TAdministrations::ColCreatedBy), (std::vector<std::string>{"ANNA", "", "PIET"}));
  for (int c : {TAdministrations::ColMemo, TAdministrations::ColCreatedBy, TAdministrations::ColCreatedAt})
    EXPECT_EQ(f.StringGrid1.ColWidth(c), 0) << c;
  EXPECT_GT(f.StringGrid1.ColWidth(TAdministrations::ColName), 0);
  // The current row is the empty row after the last administration.
  EXPECT_EQ(f.StringGrid1.Row(), 4);
  EXPECT_EQ(f.StringGrid1.RowCount(), TAdministrations::kMinGridRows);
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_TRUE(f.Save.Enabled());
  EXPECT_FALSE(f.Panel2.Visible());
}

TEST_F(Administrations, ActivationDropsWhatTheEditFieldsAndGridHeld) {
  Seed({Rec("ACME", "Acme Inc"), Rec("BETA", "Beta BV")});
  auto& f = Open();
  SelectRow(1);
  ASSERT_EQ(f.Edit2.GetText(), "Acme Inc");
  f.Edit1.UserSetText("");  // a half-cleared entry
  f.FormActivate();
  for (ui::Edit* e : {&f.Edit1, &f.Edit2, &f.Edit3, &f.Edit4, &f.Edit5}) EXPECT_EQ(e->GetText(), "") << e->Name();
  EXPECT_EQ(Column(0), (std::vector<std::string>{"ACME", "BETA"}));
  EXPECT_TRUE(f.Save.Enabled());
}

TEST_F(Administrations, LoadFailureShowsTheFileErrorAndKeepsTheGrid) {
  Seed({Rec("ACME", "Acme Inc")});
  auto& f = Open();
  store.fs.InjectError(kAdminFile, FakeFileSystem::Op::OpenReadWrite, 5);
  f.FormActivate();
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: adm5  " + platform::OsErrorText(5));
  EXPECT_EQ(Column(0), std::vector<std::string>{"ACME"});
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(Administrations, AddInsertsAtTheCurrentRowOrAppends) {
  Seed({Rec("ACME", "Acme Inc", "", "ANNA", "x"), Rec("BETA", "Beta BV", "", "ANNA", "y")});
  auto& f = Open();
  AddAt(2, "MID", "Middle");
  EXPECT_EQ(Column(0), (std::vector<std::string>{"ACME", "MID", "BETA"}));
  EXPECT_EQ(Column(TAdministrations::ColCreatedBy), (std::vector<std::string>{"ANNA", "", "ANNA"}));
  EXPECT_EQ(f.InsertRow, 2);
  // A current row far beyond the last one appends.
  AddAt(40, "LAST", "Last");
  EXPECT_EQ(Column(0), (std::vector<std::string>{"ACME", "MID", "BETA", "LAST"}));
  EXPECT_EQ(f.AdministrationCount, 4);
  for (ui::Edit* e : {&f.Edit1, &f.Edit2, &f.Edit3}) EXPECT_EQ(e->GetText(), "");
  EXPECT_EQ(f.StatusText, "");
  EXPECT_TRUE(f.Save.Enabled());
}

struct Refusal {
  const char* name;
  std::string shortName;
  const std::string* message;
};

class AddRefusals : public Administrations, public ::testing::WithParamInterface<Refusal> {};

TEST_P(AddRefusals, KeepTheListAndTheEntry) {
  const Refusal& p = GetParam();
  Seed({Rec("DEMO", "Demo"), Rec("ABCDEFGHIJ", "Ten letters")});
  auto& f = Open();
  f.Edit1.SetText(p.shortName);
  f.Edit2.SetText("Some name");
  f.Image3.UserClick();
  EXPECT_EQ(f.StatusText, *p.message);
  EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
  EXPECT_EQ(f.AdministrationCount, 2);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"DEMO", "ABCDEFGHIJ"}));
  EXPECT_EQ(f.Edit1.GetText(), p.shortName);
  EXPECT_EQ(f.Edit2.GetText(), "Some name");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddRefusals,
    ::testing::Values(Refusal{"Empty", "", &masterdata::MsgShortNameEmpty},
                      Refusal{"Dot", ".", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"DotDot", "..", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"Slash", "a/b", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"Backslash", "a\\b", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"Tab", "a\tb", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"Nul", std::string("a\0b", 3), &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"Delete", "a\x7f", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"C1Control", "a\x81", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"Colon", "a:b", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"Wildcard", "a*", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"Pipe", "a|b", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"TrailingBlank", "ab ", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"TrailingDot", "ab.", &masterdata::MsgShortNameNotAFolderName},
                      Refusal{"Duplicate", "DEMO", &masterdata::MsgShortNameExists},
                      Refusal{"DuplicateAfterTheCut", "ABCDEFGHIJK", &masterdata::MsgShortNameExists},
                      // Where the file system ignores case the two would share a folder.
                      Refusal{"OtherCase", "Demo", &masterdata::MsgShortNameExistsInOtherCase},
                      Refusal{"OtherCaseAfterTheCut", "abcdefghijk", &masterdata::MsgShortNameExistsInOtherCase},
                      Refusal{"MixedCase", "dEmO", &masterdata::MsgShortNameExistsInOtherCase},
                      // The heading row takes part in the comparison.
                      Refusal{"HeadingText", "Short name", &masterdata::MsgShortNameExists}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Administrations, AddKeepsWhatTheFieldsHold) {
  Seed({Rec("DEMO", "Demo")});
  auto& f = Open();
  f.Edit1.SetText("Demo2");
  f.Edit2.SetText(std::string(35, 'n'));
  f.Edit3.SetText(std::string(210, 'm'));
  f.Image3.UserClick();
  EXPECT_EQ(Column(0), (std::vector<std::string>{"DEMO", "Demo2"}));
  // The grid holds what the record will hold.
  EXPECT_EQ(f.StringGrid1.Cell(TAdministrations::ColName, 2), std::string(30, 'n'));
  EXPECT_EQ(f.StringGrid1.Cell(TAdministrations::ColMemo, 2), std::string(200, 'm'));
  // What is checked is what will be stored: the cut name.
  f.Edit1.SetText("KLMNOPQRST/");
  f.Image3.UserClick();
  EXPECT_EQ(f.StatusText, "");
  EXPECT_EQ(Column(0), (std::vector<std::string>{"DEMO", "KLMNOPQRST", "Demo2"}));
  // What the user types is limited to the fields.
  f.Edit1.UserSetText("ABCDEFGHIJKLM");
  EXPECT_EQ(f.Edit1.GetText(), "ABCDEFGHIJ");
}

TEST_F(Administrations, SelectTakesTheRowOutAndIsRefusedWhileAnEntryIsHeld) {
  Seed({Rec("ACME", "Acme Inc", "memo a", "ANNA", "01-01-2024 10:00:00"), Rec("BETA", "Beta BV"),
        Rec("GAMMA", "Gamma GmbH")});
  auto& f = Open();
  SelectRow(1);
  EXPECT_EQ(f.Edit1.GetText(), "ACME");
  EXPECT_EQ(f.Edit2.GetText(), "Acme Inc");
  EXPECT_EQ(f.Edit3.GetText(), "memo a");
  EXPECT_EQ(f.Edit4.GetText(), "ANNA");
  EXPECT_EQ(f.Edit5.GetText(), "01-01-2024 10:00:00");
  EXPECT_EQ(Column(0), (std::vector<std::string>{"BETA", "GAMMA"}));
  EXPECT_EQ(f.StringGrid1.Cell(0, 3), "");
  EXPECT_FALSE(f.Save.Enabled());
  EXPECT_FALSE(f.Button1.Enabled());
  EXPECT_FALSE(f.Preparecopy1.Enabled());

  SelectRow(1);
  EXPECT_EQ(f.StatusText, masterdata::MsgAdministrationEntryPending);
  EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
  EXPECT_EQ(f.Edit1.GetText(), "ACME");
  EXPECT_EQ(f.AdministrationCount, 2);
  // A name alone holds an entry too: it would be lost otherwise.
  f.Edit1.UserSetText("");
  SelectRow(1);
  EXPECT_EQ(f.Edit2.GetText(), "Acme Inc");
  EXPECT_EQ(f.AdministrationCount, 2);
}

TEST_F(Administrations, SelectOnTheHeadingOrAnEmptyRowChangesNothing) {
  Seed({Rec("ACME", "Acme Inc"), Rec("BETA", "Beta BV")});
  auto& f = Open();
  for (int row : {3, 3, 10, 0}) {
    SelectRow(row);
    EXPECT_EQ(f.AdministrationCount, 2) << row;
    EXPECT_EQ(f.Edit1.GetText(), "") << row;
  }
  EXPECT_EQ(f.StringGrid1.Cell(0, 0), "Short name");
  EXPECT_EQ(Column(0), (std::vector<std::string>{"ACME", "BETA"}));
}

TEST_F(Administrations, UpAndDownSwapWholeRowsAndStopAtTheEnds) {
  Seed({Rec("A", "Alpha", "ma", "U1", "T1"), Rec("B", "Bravo", "mb", "U2", "T2"), Rec("C", "Charlie")});
  auto& f = Open();
  f.StringGrid1.UserSelectCell(0, 3);
  f.Image1.UserClick();
  EXPECT_EQ(Column(0), (std::vector<std::string>{"A", "C", "B"}));
  EXPECT_EQ(Column(TAdministrations::ColMemo), (std::vector<std::string>{"ma", "", "mb"}));
  EXPECT_EQ(Column(TAdministrations::ColCreatedAt), (std::vector<std::string>{"T1", "", "T2"}));
  EXPECT_EQ(f.StringGrid1.Row(), 2);
  f.Image1.UserClick();
  EXPECT_EQ(Column(0), (std::vector<std::string>{"C", "A", "B"}));
  f.Image1.UserClick();
  EXPECT_EQ(f.StatusText, masterdata::MsgAdministrationFirstRow);
  EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"C", "A", "B"}));

  f.Image2.UserClick();
  EXPECT_EQ(f.StatusText, "");
  EXPECT_EQ(Column(0), (std::vector<std::string>{"A", "C", "B"}));
  f.StringGrid1.UserSelectCell(0, 3);
  f.Image2.UserClick();
  EXPECT_EQ(f.StatusText, masterdata::MsgAdministrationLastRow);
  EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
  // Up on the empty row after the last does nothing, nor do both on the
  // heading row.
  f.StringGrid1.UserSelectCell(0, 4);
  f.Image1.UserClick();
  f.StringGrid1.UserSelectCell(0, 0);
  f.Image1.UserClick();
  f.Image2.UserClick();
  EXPECT_EQ(Column(0), (std::vector<std::string>{"A", "C", "B"}));
  EXPECT_EQ(f.StringGrid1.Cell(0, 0), "Short name");
}

TEST_F(Administrations, SaveWritesTheGridStampsNewRowsAndCreatesTheirFolders) {
  // The stored records carry bytes after their texts; they go back as they
  // were read.
  AdministrationRec acme = Rec("ACME", "Acme Inc", "memo", "PIET", "01-01-2020 09:00:00");
  acme.Bytes[30] = 'x';
  acme.Bytes[274] = 'z';
  AdministrationRec beta = Rec("BETA", "Beta BV");  // stored without a creator
  Seed({acme, beta});
  store.fs.AddFolder("/d/ACME");
  store.fs.AddFolder("/d/BETA");
  auto& f = Open();
  bool closed = false;
  support::ShowAsTreeDoes(backend, f, "", [&](TAdministrations&) {
    f.StringGrid1.UserSelectCell(0, 2);
    f.Image1.UserClick();  // BETA first
    AddAt(3, "DEMO", "Demo Company");
    AddAt(1, "Caf\xe9", "Caf\xe9 Noir");
    store.fs.ClearLog();
    f.Save2.UserClick();
    closed = !f.InModalLoop();
  });
  EXPECT_TRUE(closed);

  const auto recs = Records(store.fs.File(kAdminFile));
  ASSERT_EQ(recs.size(), 4u);
  EXPECT_EQ(recs[0].ShortName(), "Caf\xe9");
  EXPECT_EQ(recs[0].Name(), "Caf\xe9 Noir");
  EXPECT_EQ(recs[0].CreatedBy(), "ANNA");
  EXPECT_EQ(recs[0].CreatedAt(), "05-03-2024 14:30:00");
  EXPECT_EQ(recs[1], beta);  // an empty creator is kept, not stamped
  EXPECT_EQ(recs[2], acme);
  EXPECT_EQ(recs[3].ShortName(), "DEMO");
  EXPECT_EQ(recs[3].CreatedBy(), "ANNA");
  // Folders for the new rows only, below the root, named in UTF-8.
  EXPECT_EQ(MkdirLog(), (std::vector<std::string>{"/d/Caf\xc3\xa9", "/d/DEMO"}));
  EXPECT_TRUE(store.fs.HasFolder("/d/DEMO"));
  EXPECT_TRUE(store.fs.HasFolder("/d/Caf\xc3\xa9"));
  // Through a temporary file, and the set is closed.
  EXPECT_FALSE(store.fs.HasFile("/d/admin.vlk.ombrelo-tmp"));
  EXPECT_FALSE(store::FileSetOpen);

  // Saving again creates nothing and changes no stamp.
  const std::string before = store.fs.File(kAdminFile);
  store.fs.ClearLog();
  clock.Set(platform::EncodeDate(2024, 4, 1));
  auto& g = Open();
  g.SaveExecute();
  EXPECT_TRUE(MkdirLog().empty());
  EXPECT_EQ(store.fs.File(kAdminFile), before);
}

TEST_F(Administrations, AFolderThatExistsAlreadyIsKept) {
  store.fs.SetFile("/d/DEMO/ledger.vlk", "data");
  auto& f = Open();
  AddAt(1, "DEMO", "Demo");
  f.SaveExecute();
  EXPECT_TRUE(MkdirLog().empty());
  EXPECT_EQ(store.fs.File("/d/DEMO/ledger.vlk"), "data");
  EXPECT_EQ(ShortNames(store.fs.File(kAdminFile)), std::vector<std::string>{"DEMO"});
}

TEST_F(Administrations, AFolderThatCannotBeCreatedLosesNoAdministration) {
  Seed({Rec("ACME", "Acme Inc", "", "PIET", "t"), Rec("BETA", "Beta BV", "", "PIET", "t")});
  const std::string before = store.fs.File(kAdminFile);
  auto& f = Open();
  store.fs.InjectError("/d/NEWB", FakeFileSystem::Op::MakeFolders, 1028);
  bool open = false;
  support::ShowAsTreeDoes(backend, f, "", [&](TAdministrations&) {
    AddAt(1, "NEWA", "New A");
    AddAt(2, "NEWB", "New B");
    f.Save2.UserClick();
    open = f.InModalLoop();
  });
  EXPECT_TRUE(open);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text,
            masterdata::MsgFolderNotCreated + " /d/NEWB/  " + platform::OsErrorText(1028));
  // The file is as it was; the grid still holds every row.
  EXPECT_EQ(store.fs.File(kAdminFile), before);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"NEWA", "NEWB", "ACME", "BETA"}));
  EXPECT_FALSE(store::FileSetOpen);

  // Once the folder can be made, the same save goes through.
  store.fs.ClearErrors();
  f.SaveExecute();
  EXPECT_EQ(ShortNames(store.fs.File(kAdminFile)), (std::vector<std::string>{"NEWA", "NEWB", "ACME", "BETA"}));
  EXPECT_TRUE(store.fs.HasFolder("/d/NEWB"));
}

TEST_F(Administrations, AFileInThePlaceOfTheFolderStopsTheSave) {
  Seed({Rec("ACME", "Acme Inc")});
  store.fs.SetFile("/d/DEMO", "not a folder");
  auto& f = Open();
  AddAt(2, "DEMO");
  EXPECT_FALSE(f.SaveAdministrationList());
  EXPECT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(ShortNames(store.fs.File(kAdminFile)), std::vector<std::string>{"ACME"});
}

// Another copy added an administration while the form was open: the Save
// writes nothing, makes no folder and keeps the rows as they were typed.
TEST_F(Administrations, SaveRefusesWhenAnotherCopyChangedTheFile) {
  Seed({Rec("ACME", "Acme Inc")});
  auto& f = Open();
  support::ShowAsTreeDoes(backend, f, "", [&](TAdministrations&) {
    AddAt(2, "DEMO", "Demo Company");
    Seed({Rec("ACME", "Acme Inc"), Rec("OTHER", "Added elsewhere")});
    store.fs.ClearLog();
    f.Save2.UserClick();
    EXPECT_TRUE(f.InModalLoop());
    EXPECT_EQ(Column(0), (std::vector<std::string>{"ACME", "DEMO"}));
    f.Cancel.Execute();
  });
  EXPECT_EQ(MkdirLog(), std::vector<std::string>{});
  EXPECT_FALSE(store.fs.HasFolder("/d/DEMO"));
  const auto recs = Records(store.fs.File(kAdminFile));
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[1].ShortName(), "OTHER");
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, text::MsgChangedInAnotherCopy());
  EXPECT_FALSE(store::FileSetOpen);
}

// An administrations file far larger than any list is refused by name; the
// form holds no list, and its Save never replaces the file.
TEST_F(Administrations, AHugeFileIsRefusedByNameAndNeverReplaced) {
  const std::string huge(static_cast<std::size_t>(store::kSmallFileLimit) + AdministrationRec::kSize, 'x');
  store.fs.SetFile(kAdminFile, huge);
  auto& f = Open();
  ASSERT_FALSE(backend.messages.empty());
  EXPECT_NE(backend.messages[0].text.find(kAdminFile), std::string::npos) << backend.messages[0].text;
  EXPECT_EQ(f.AdministrationCount, 0);
  EXPECT_FALSE(f.SaveAdministrationList());
  EXPECT_EQ(store.fs.File(kAdminFile).size(), huge.size());
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(Administrations, SaveIsRefusedWhileAnEntryIsHeld) {
  Seed({Rec("ACME", "Acme Inc")});
  const std::string before = store.fs.File(kAdminFile);
  auto& f = Open();
  f.Edit1.UserSetText("NEW");
  EXPECT_FALSE(f.Save.Enabled());
  EXPECT_FALSE(f.Save.Execute());
  EXPECT_FALSE(f.SaveAdministrationList());
  EXPECT_EQ(f.StatusText, masterdata::MsgAdministrationEntryPending);
  EXPECT_EQ(store.fs.File(kAdminFile), before);
}

TEST_F(Administrations, SelectingEveryRowAndDeletingThemSavesAnEmptyFile) {
  Seed({Rec("ACME", "Acme Inc"), Rec("BETA", "Beta BV")});
  auto& f = Open();
  for (int i = 0; i < 2; ++i) {
    SelectRow(1);
    f.Delete.Execute();
  }
  EXPECT_EQ(f.AdministrationCount, 0);
  EXPECT_TRUE(f.Save.Enabled());
  EXPECT_TRUE(f.Button1.Enabled());
  f.Save2.UserClick();
  EXPECT_TRUE(store.fs.HasFile(kAdminFile));
  EXPECT_EQ(store.fs.File(kAdminFile), "");
}

TEST_F(Administrations, ARowSelectedAndAddedBackIsStampedAnew) {
  Seed({Rec("ACME", "Acme Inc", "", "PIET", "01-01-2020 09:00:00"), Rec("BETA", "Beta BV", "", "PIET", "t")});
  store.fs.AddFolder("/d/ACME");
  auto& f = Open();
  SelectRow(1);
  f.Edit2.UserSetText("Acme Incorporated");
  f.Image3.UserClick();  // back in at the current row
  EXPECT_EQ(Column(0), (std::vector<std::string>{"ACME", "BETA"}));
  f.SaveExecute();
  const auto recs = Records(store.fs.File(kAdminFile));
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0].Name(), "Acme Incorporated");
  EXPECT_EQ(recs[0].CreatedBy(), "ANNA");
  EXPECT_EQ(recs[0].CreatedAt(), "05-03-2024 14:30:00");
  EXPECT_EQ(recs[1].CreatedBy(), "PIET");
}

TEST_F(Administrations, TheGridGrowsBeyondItsFiftyRows) {
  std::vector<AdministrationRec> many;
  for (int i = 0; i < 60; ++i) many.push_back(Rec("A" + std::to_string(i), "Company " + std::to_string(i), "", "U", "t"));
  Seed(many);
  auto& f = Open();
  EXPECT_EQ(f.AdministrationCount, 60);
  EXPECT_GE(f.StringGrid1.RowCount(), 62);
  EXPECT_EQ(f.StringGrid1.Cell(0, 60), "A59");
  EXPECT_EQ(f.StringGrid1.Row(), 61);
  AddAt(61, "A60", "Company 60");
  AddAt(62, "A61", "Company 61");
  EXPECT_EQ(f.StringGrid1.Cell(0, 62), "A61");
  EXPECT_GE(f.StringGrid1.RowCount(), 64);
  f.SaveExecute();
  const auto names = ShortNames(store.fs.File(kAdminFile));
  ASSERT_EQ(names.size(), 62u);
  EXPECT_EQ(names.back(), "A61");
}

TEST_F(Administrations, CancelAndEscapeReloadTheFileAndClose) {
  Seed({Rec("ACME", "Acme Inc"), Rec("BETA", "Beta BV")});
  const std::string before = store.fs.File(kAdminFile);
  auto& f = Open();
  for (int way = 0; way < 3; ++way) {
    bool closed = false;
    support::ShowAsTreeDoes(backend, f, "", [&](TAdministrations&) {
      SelectRow(1);
      f.Delete.Execute();
      AddAt(1, "ZED", "Zed");
      if (way == 0) f.Button2.UserClick();
      if (way == 1) f.UserKeyPress(27);
      if (way == 2) f.Cancel1.UserClick();
      closed = !f.InModalLoop();
    });
    EXPECT_TRUE(closed) << way;
    EXPECT_EQ(Column(0), (std::vector<std::string>{"ACME", "BETA"})) << way;
    EXPECT_EQ(store.fs.File(kAdminFile), before) << way;
    EXPECT_TRUE(MkdirLog().empty());
  }
}

TEST_F(Administrations, EditingTheEntryFollowsSaveAndClosesTheCopyPanel) {
  auto& f = Open();
  f.Panel2.SetVisible(true);
  f.ComboBox1.SetEnabled(true);
  f.Button4.SetEnabled(true);
  for (ui::Edit* e : {&f.Edit1, &f.Edit2, &f.Edit3}) {
    e->UserSetText("x");
    EXPECT_FALSE(f.Save.Enabled()) << e->Name();
    EXPECT_FALSE(f.Save2.Enabled());
    EXPECT_FALSE(f.ToolButton3.Enabled());
    EXPECT_FALSE(f.Button1.Enabled());
    EXPECT_FALSE(f.Preparecopy1.Enabled());
    EXPECT_FALSE(f.Panel2.Visible());
    EXPECT_FALSE(f.ComboBox1.Enabled());
    EXPECT_EQ(f.ComboBox1.BackColor(), ui::colors::SkyBlue);
    EXPECT_FALSE(f.Button4.Enabled());
    EXPECT_FALSE(f.Startcopyproces1.Enabled());
    e->UserSetText("");
    EXPECT_TRUE(f.Save.Enabled());
    EXPECT_TRUE(f.Button1.Enabled());
  }
}

TEST_F(Administrations, HelpItemsOpenTheirTopics) {
  auto& f = Open();
  masterdata::AdministrationsHelpCaptionBlock.FileCaption = "Bestand";
  struct Item {
    std::function<void()> open;
    std::string tag;
  };
  const std::vector<Item> items = {
      {[&] { f.BrenvickAdministrationshelp1.UserClick(); }, "<ADM00>"},
      {[&] { f.ToolButton7.UserClick(); }, "<ADM00>"},
      {[&] { f.UserKeyDown(ui::keys::F1); }, "<ADM00>"},
      {[&] { f.Brenvickhelp1.UserClick(); }, ""},
      {[&] { f.About1.UserClick(); }, "<ABO00>"},
      {[&] { f.utorial1.UserClick(); }, "<TUT00>"},
  };
  for (const auto& item : items) {
    formkit::RequestedHelpTag = "unset";
    formkit::HelpCaptionBlock = {};
    item.open();
    EXPECT_EQ(formkit::RequestedHelpTag, item.tag);
    EXPECT_EQ(formkit::HelpCaptionBlock.FileCaption, "Bestand");
  }
  masterdata::AdministrationsHelpCaptionBlock = {};
  f.Brenvickhomepage1.UserClick();
  EXPECT_EQ(backend.urlsOpened,
            std::vector<std::string>{formkit::HomePageUrl(masterdata::AdministrationsHelpCaptionBlock.LanguageName)});
}

TEST_F(Administrations, LanguageTextsFillTheFormAndTheMessages) {
  store::ProductTitle = "Ombrelo Account Enterprise 2.0.6";
  text::CurrentLanguage.SetL(1110, "Systeembeheer");
  text::CurrentLanguage.SetL(1058, "Administraties en co");  // the room's 20 characters
  text::CurrentLanguage.SetL(7205, "Korte naam");
  text::CurrentLanguage.SetL(7335, "Kopie voorbereiden");
  text::CurrentLanguage.SetL(7428, "Volledige kopie");
  text::CurrentLanguage.SetL(9709, " (verplicht veld)");
  text::CurrentLanguage.SetL(54, "Opslaan");
  auto& f = Open();
  f.ApplyLanguageTexts();

  EXPECT_EQ(f.Caption(), "Ombrelo Account Enterprise 2.0.6 : Systeembeheer / Administraties en co");
  EXPECT_EQ(f.Label7.Caption(), " Administraties en co");
  EXPECT_EQ(f.Label4.Caption(), "Korte naam");
  EXPECT_EQ(f.StringGrid1.Cell(0, 0), "Korte naam");
  EXPECT_EQ(f.Preparecopy1.Caption(), "Kopie voorbereiden");
  EXPECT_EQ(f.RadioGroup1.Items()[0], "Volledige kopie");
  EXPECT_EQ(f.Save2.Caption(), "Opslaan");
  EXPECT_EQ(f.Save1.Caption(), "Opslaan");
  EXPECT_EQ(masterdata::MsgShortNameEmpty, "Korte naam (verplicht veld)");
  f.Image3.UserClick();
  EXPECT_EQ(f.StatusText, "Korte naam (verplicht veld)");
}

}  // namespace
