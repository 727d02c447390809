// The voucher-template store on the in-memory file system: the order of the
// template file, overwrite, delete, load, and the failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "books/journal/templatestore.h"
#include "platform/errors.h"
#include "platform/oserror.h"
#include "records/journalvoucherrec.h"
#include "records/vouchertemplaterec.h"
#include "store/fileset.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using books::journal::TemplateLine;
using books::journal::TemplateOutcome;
using books::journal::VoucherTemplate;
using records::JournalVoucherRec;
using records::VoucherTemplateRec;
using support::Bytes;
using support::FakeFileSystem;

constexpr const char* kJvt = "/d/ACME/booktemp.vlk";
constexpr const char* kRollback = "/d/ACME/booktemp.vlk.ombrelo-rollback";

// A template whose first line tells it apart: `tag` as its text, account
// 4000 "Rent paid", debit 750.5.
VoucherTemplate Template(const std::string& name, const std::string& tag = "first") {
  VoucherTemplate t;
  t.name = name;
  t.lines[0] = {tag, "4000", "Rent paid", "HQ", 750.5, 0};
  t.lines[1] = {"bank", "1100", "Bank", "", 0, 750.5};
  return t;
}

// The same template as the file holds it, built field by field.
VoucherTemplateRec Stored(const std::string& name, const std::string& tag = "first", bool amounts = true) {
  VoucherTemplateRec rec;
  rec.SetName(name);
  JournalVoucherRec l1, l2;
  l1.SetLineText(tag);
  l1.SetAccountNumber("4000");
  l1.SetAccountCaption("Rent paid");
  l1.SetCostCentre("HQ");
  l1.SetDebitAmount(amounts ? 750.5 : 0);
  l2.SetLineText("bank");
  l2.SetAccountNumber("1100");
  l2.SetAccountCaption("Bank");
  l2.SetCreditAmount(amounts ? 750.5 : 0);
  rec.SetLine(1, l1);
  rec.SetLine(2, l2);
  return rec;
}

std::vector<VoucherTemplateRec> StoredList(const std::vector<std::string>& names) {
  std::vector<VoucherTemplateRec> recs;
  for (const std::string& n : names) recs.push_back(Stored(n, "old " + n));
  return recs;
}

class TemplateStore : public ::testing::Test {
 protected:
  support::FakeDataStore store;

  void SetUp() override {
    store.fs.AddFolder("/d/ACME");
    store::SetDataRoot("/d/");
    store::SetCurrentAdministrationFolder("ACME");
  }
  void Templates(const std::vector<std::string>& names) { store.fs.SetFile(kJvt, Bytes(StoredList(names))); }
  std::vector<std::string> NamesOnDisk() const {
    std::vector<std::string> names;
    for (const auto& r : support::Records<VoucherTemplateRec>(store.fs.File(kJvt))) names.push_back(r.Name());
    return names;
  }
};

// ---- saving

TEST_F(TemplateStore, SaveKeepsTheFileInByteOrderOfTheNames) {
  const std::string long45 = std::string(40, 'L') + "12345";
  const std::string long40 = std::string(40, 'L');
  struct Case {
    const char* what;
    std::vector<std::string> before;
    std::string name;
    TemplateOutcome outcome;
    std::vector<std::string> after;  // the new template in its place, the others as they were
  } cases[] = {
      {"the first template into an empty file", {}, "Rent", TemplateOutcome::Added, {"Rent"}},
      {"between two, moving the later one up", {"Insurance", "Salary"}, "Rent", TemplateOutcome::Added,
       {"Insurance", "Rent", "Salary"}},
      {"in front", {"Insurance", "Salary"}, "Car", TemplateOutcome::Added, {"Car", "Insurance", "Salary"}},
      {"lower case sorts after upper case", {"Insurance", "Salary"}, "rent", TemplateOutcome::Added,
       {"Insurance", "Salary", "rent"}},
      {"an existing name is overwritten in place", {"Insurance", "Rent", "Salary"}, "Rent",
       TemplateOutcome::Replaced, {"Insurance", "Rent", "Salary"}},
      {"case matters: a new name", {"Rent"}, "RENT", TemplateOutcome::Added, {"RENT", "Rent"}},
      {"a prefix sorts first", {"Rent", "Rental"}, "Ren", TemplateOutcome::Added, {"Ren", "Rent", "Rental"}},
      {"a long name is cut before it is compared", {"A", long40, "Z"}, long45, TemplateOutcome::Replaced,
       {"A", long40, "Z"}},
      {"code page 1252 bytes sort after ASCII", {"Zebra"}, "\xC9t\xE9", TemplateOutcome::Added,
       {"Zebra", "\xC9t\xE9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Templates(c.before);
    const books::journal::TemplateStatus status = books::journal::SaveTemplate(Template(c.name, "new"), true);
    EXPECT_EQ(status.outcome, c.outcome);
    std::vector<VoucherTemplateRec> expected;
    const std::string key = c.name.substr(0, 40);
    for (const std::string& n : c.after) expected.push_back(n == key ? Stored(key, "new") : Stored(n, "old " + n));
    EXPECT_TRUE(store.fs.File(kJvt) == Bytes(expected)) << ::testing::PrintToString(NamesOnDisk());
    EXPECT_EQ(store::FileSetLevels(), 0);
    EXPECT_TRUE(support::HoldsNothingToRollBack(store.fs.File(kRollback)));
  }
}

TEST_F(TemplateStore, ALongNameSavedTwiceLeavesOneRecord) {
  const std::string long45 = std::string(45, 'x');
  EXPECT_EQ(books::journal::SaveTemplate(Template(long45, "one"), true).outcome, TemplateOutcome::Added);
  EXPECT_EQ(books::journal::SaveTemplate(Template(long45, "two"), true).outcome, TemplateOutcome::Replaced);
  EXPECT_TRUE(store.fs.File(kJvt) == Bytes({Stored(std::string(40, 'x'), "two")}));
}

TEST_F(TemplateStore, TextsAreCutToTheirFieldsWithoutTrailingBlanksAndNothingElseIsWritten) {
  VoucherTemplate t;
  t.name = "Cuts";
  t.lines[0] = {std::string(49, 't') + "  overflow", "4000      ", "Caption with blanks   ", std::string(25, 'c'), 1, 2};
  t.lines[7] = {"last", " 8000", "", "", 0, 3.25};

  VoucherTemplateRec golden;
  golden.SetName("Cuts");
  JournalVoucherRec first, last;
  first.SetLineText(std::string(49, 't'));  // cut to 50, then the blank at 50 goes
  first.SetAccountNumber("4000");
  first.SetAccountCaption("Caption with blanks");
  first.SetCostCentre(std::string(20, 'c'));
  first.SetDebitAmount(1);
  first.SetCreditAmount(2);
  last.SetLineText("last");
  last.SetAccountNumber(" 8000");  // leading blanks are part of the text
  last.SetCreditAmount(3.25);
  golden.SetLine(1, first);
  golden.SetLine(8, last);

  EXPECT_EQ(books::journal::SaveTemplate(t, true).outcome, TemplateOutcome::Added);
  EXPECT_TRUE(store.fs.File(kJvt) == Bytes(golden));
}

TEST_F(TemplateStore, WithoutAmountsEveryAmountIsZero) {
  EXPECT_EQ(books::journal::SaveTemplate(Template("Rent"), false).outcome, TemplateOutcome::Added);
  EXPECT_TRUE(store.fs.File(kJvt) == Bytes({Stored("Rent", "first", false)}));
  const books::journal::LoadedTemplate loaded = books::journal::LoadTemplate("Rent");
  ASSERT_TRUE(loaded.value);
  for (const TemplateLine& line : loaded.value->lines) {
    EXPECT_EQ(line.debit, 0);
    EXPECT_EQ(line.credit, 0);
  }
}

// ---- deleting

TEST_F(TemplateStore, DeleteRemovesTheNamedTemplateOnly) {
  const std::string long40 = std::string(40, 'L');
  struct Case {
    const char* what;
    std::vector<std::string> before;
    std::string name;
    TemplateOutcome outcome;
    std::vector<std::string> after;
  } cases[] = {
      {"the only template leaves an empty file", {"Rent"}, "Rent", TemplateOutcome::Done, {}},
      {"from the middle, the order kept", {"Insurance", "Rent", "Salary"}, "Rent", TemplateOutcome::Done,
       {"Insurance", "Salary"}},
      {"the last one", {"Insurance", "Rent"}, "Rent", TemplateOutcome::Done, {"Insurance"}},
      {"an unknown name", {"Insurance", "Salary"}, "Rent", TemplateOutcome::NotFound, {"Insurance", "Salary"}},
      {"case matters", {"Rent"}, "rent", TemplateOutcome::NotFound, {"Rent"}},
      {"a prefix is not the name", {"Rental"}, "Rent", TemplateOutcome::NotFound, {"Rental"}},
      {"an empty file", {}, "Rent", TemplateOutcome::NotFound, {}},
      {"a long name is cut before it is compared", {long40, "Z"}, long40 + "more", TemplateOutcome::Done, {"Z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Templates(c.before);
    EXPECT_EQ(books::journal::DeleteTemplate(c.name).outcome, c.outcome);
    EXPECT_TRUE(store.fs.File(kJvt) == Bytes(StoredList(c.after)));
    EXPECT_TRUE(store.fs.HasFile(kJvt));
    EXPECT_EQ(store::FileSetLevels(), 0);
  }
}

// ---- loading and listing

TEST_F(TemplateStore, LoadGivesTheTemplateOfExactlyThatName) {
  Templates({"Insurance", "Rent", "Salary"});
  const books::journal::LoadedTemplate loaded = books::journal::LoadTemplate("Rent");
  EXPECT_EQ(loaded.outcome, TemplateOutcome::Done);
  VoucherTemplate expected = Template("Rent", "old Rent");
  ASSERT_TRUE(loaded.value);
  EXPECT_EQ(*loaded.value, expected);
  EXPECT_EQ(store::FileSetLevels(), 0);
}

TEST_F(TemplateStore, AnUnknownNameLoadsNothing) {
  struct Case {
    const char* what;
    std::vector<std::string> file;
    std::string name;
  } cases[] = {
      {"a name after every stored one", {"Insurance", "Rent"}, "Salary"},
      {"a name between", {"Insurance", "Salary"}, "Rent"},
      {"another case", {"Rent"}, "rent"},
      {"an empty file", {}, "Rent"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Templates(c.file);
    const books::journal::LoadedTemplate loaded = books::journal::LoadTemplate(c.name);
    EXPECT_EQ(loaded.outcome, TemplateOutcome::NotFound);
    EXPECT_FALSE(loaded.value);
  }
}

TEST_F(TemplateStore, LoadCutsTheNameAndTrimsStoredPadding) {
  VoucherTemplateRec rec = Stored(std::string(40, 'N'));
  JournalVoucherRec line = rec.Line(3);
  line.SetLineText("padded                              ");
  line.SetAccountNumber("1300           ");
  rec.SetLine(3, line);
  store.fs.SetFile(kJvt, Bytes(rec));
  const books::journal::LoadedTemplate loaded = books::journal::LoadTemplate(std::string(40, 'N') + " and more");
  ASSERT_TRUE(loaded.value);
  EXPECT_EQ(loaded.value->name, std::string(40, 'N'));
  EXPECT_EQ(loaded.value->lines[2].text, "padded");
  EXPECT_EQ(loaded.value->lines[2].accountNumber, "1300");
}

TEST_F(TemplateStore, ListGivesTheNamesInFileOrder) {
  EXPECT_TRUE(books::journal::ListTemplates().value->empty());
  Templates({"Salary", "Insurance", "rent"});  // an unsorted file is listed as it stands
  const books::journal::TemplateNames list = books::journal::ListTemplates();
  EXPECT_EQ(list.outcome, TemplateOutcome::Done);
  EXPECT_EQ(*list.value, (std::vector<std::string>{"Salary", "Insurance", "rent"}));
}

// ---- refusals and failures

TEST_F(TemplateStore, AnEmptyNameIsRefusedBeforeAnyFileOpens) {
  EXPECT_EQ(books::journal::SaveTemplate(Template(""), true).outcome, TemplateOutcome::NameMissing);
  EXPECT_EQ(books::journal::DeleteTemplate("").outcome, TemplateOutcome::NameMissing);
  const books::journal::LoadedTemplate loaded = books::journal::LoadTemplate("");
  EXPECT_EQ(loaded.outcome, TemplateOutcome::NameMissing);
  EXPECT_FALSE(loaded.value);
  EXPECT_FALSE(store.fs.HasFile(kJvt));
  EXPECT_TRUE(store.fs.FilesIn("/d/ACME").empty());
}

TEST_F(TemplateStore, ASetThatDoesNotOpenIsReportedAndChangesNothing) {
  Templates({"Insurance", "Salary"});
  const std::string before = store.fs.File(kJvt);
  store.fs.InjectError(kJvt, FakeFileSystem::Op::OpenReadWrite, 5);

  const books::journal::TemplateStatus saved = books::journal::SaveTemplate(Template("Rent"), true);
  EXPECT_EQ(saved.outcome, TemplateOutcome::FileSetFailed);
  EXPECT_EQ(saved.failure.result, 1);
  EXPECT_EQ(saved.failure.text, "IO errorcode: jvt5");
  EXPECT_EQ(books::journal::DeleteTemplate("Salary").outcome, TemplateOutcome::FileSetFailed);
  const books::journal::LoadedTemplate loaded = books::journal::LoadTemplate("Salary");
  EXPECT_EQ(loaded.outcome, TemplateOutcome::FileSetFailed);
  EXPECT_FALSE(loaded.value);
  const books::journal::TemplateNames list = books::journal::ListTemplates();
  EXPECT_EQ(list.outcome, TemplateOutcome::FileSetFailed);
  EXPECT_FALSE(list.value);

  EXPECT_TRUE(store.fs.File(kJvt) == before);
  EXPECT_EQ(store::FileSetLevels(), 0);
}

TEST_F(TemplateStore, AnIoErrorPartWayLeavesTheOldFile) {
  struct Case {
    const char* what;
    FakeFileSystem::Op op;
    int after;
    bool save;
  } cases[] = {
      {"insert: the move of the later records", FakeFileSystem::Op::Write, 0, true},
      {"insert: the new record", FakeFileSystem::Op::Write, 1, true},
      {"insert: the sync", FakeFileSystem::Op::Sync, 0, true},
      {"delete: the move", FakeFileSystem::Op::Write, 0, false},
      {"delete: the cut", FakeFileSystem::Op::Truncate, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    store.fs.ClearErrors();
    Templates({"Insurance", "Rent", "Salary"});
    const std::string before = store.fs.File(kJvt);
    store.fs.InjectError(kJvt, c.op, platform::kErrnoBase + 28, 1, c.after);
    if (c.save)
      EXPECT_THROW(books::journal::SaveTemplate(Template("Car"), true), platform::IoError);
    else
      EXPECT_THROW(books::journal::DeleteTemplate("Insurance"), platform::IoError);
    EXPECT_TRUE(store.fs.File(kJvt) == before);
    EXPECT_TRUE(support::HoldsNothingToRollBack(store.fs.File(kRollback)));
    EXPECT_EQ(store::FileSetLevels(), 0);
  }
  // The next call works on the intact file.
  store.fs.ClearErrors();
  EXPECT_EQ(books::journal::SaveTemplate(Template("Car"), true).outcome, TemplateOutcome::Added);
  EXPECT_EQ(NamesOnDisk(), (std::vector<std::string>{"Car", "Insurance", "Rent", "Salary"}));
}

}  // namespace
