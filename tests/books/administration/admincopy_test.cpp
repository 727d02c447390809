// Copying an administration: the new book year of the general-ledger copy,
// the copy of the files with its questions, refusals and stops, and the
// copy panel of the administrations form.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "masterdata/Administrationsunit.h"
#include "books/administration/admincopy.h"
#include "platform/datetime.h"
#include "records/administrationrec.h"
#include "records/adminsettingsrec.h"
#include "records/ledgeraccountrec.h"
#include "records/releaseflagrec.h"
#include "books/closing/closingintent.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "support/fakefs.h"
#include "support/records.h"
#include "ui/headless.h"

namespace {

using books::administration::CopyOutcome;
using books::administration::OverwriteStep;
using store::FileCode;

TEST(AdministrationCopy, NewBookYearFromTheFirstDate) {
  struct Case {
    const char* first;
    const char* end;
    const char* label;
  };
  const std::vector<Case> cases = {
      {"20090101", "20091231", "2009"},
      {"20080401", "20090331", "0809"},
      // No 29 February a year later: the year ends on 28 February.
      {"20080229", "20090228", "0809"},
      {"20070301", "20080229", "0708"},
      {"19991001", "20000930", "9900"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(books::administration::BookYearEndFor(c.first), c.end) << c.first;
    EXPECT_EQ(books::administration::AnnualBalanceFor(c.first), c.label) << c.first;
  }
}

TEST(AdministrationCopy, OverwriteSteps) {
  struct Case {
    bool targetHoldsData;
    const char* answerSoFar;
    OverwriteStep before;
  };
  const std::vector<Case> cases = {
      {false, "", OverwriteStep::Write},     {false, "no", OverwriteStep::Write},
      {true, "", OverwriteStep::Ask},        {true, "yes", OverwriteStep::Ask},
      {true, "no", OverwriteStep::Ask},      {true, "yestoall", OverwriteStep::Write},
  };
  for (const Case& c : cases)
    EXPECT_EQ(books::administration::StepBeforeAsking(c.targetHoldsData, c.answerSoFar), c.before)
        << c.targetHoldsData << " " << c.answerSoFar;
  EXPECT_EQ(books::administration::StepAfterAnswer("yes"), OverwriteStep::Write);
  EXPECT_EQ(books::administration::StepAfterAnswer("yestoall"), OverwriteStep::Write);
  EXPECT_EQ(books::administration::StepAfterAnswer("no"), OverwriteStep::Keep);
  EXPECT_EQ(books::administration::StepAfterAnswer(""), OverwriteStep::Keep);  // the dialog closed otherwise
}

// A record whose every byte is set, so that a change to the wrong byte
// shows.
template <class R>
R Patterned(unsigned char seed) {
  R rec;
  for (std::size_t i = 0; i < R::kSize; ++i) rec.data()[i] = static_cast<std::uint8_t>(seed + i * 7);
  return rec;
}

TEST(AdministrationCopy, AnAccountIsReDatedAndKeepsEveryOtherByte) {
  records::LedgerAccountRec old = Patterned<records::LedgerAccountRec>(3);
  old.SetStartDate("20080101");
  old.SetEndDate("20081231");
  old.SetStartAmount(1234.5);
  const records::LedgerAccountRec n = books::administration::RedatedAccount(old, "20090101");
  EXPECT_EQ(n.StartDate(), "20081231");
  EXPECT_EQ(n.EndDate(), "20501231");
  EXPECT_EQ(n.StartAmount(), 0.0);
  records::LedgerAccountRec back = n;
  back.SetStartDate("20080101");
  back.SetEndDate("20081231");
  back.SetStartAmount(1234.5);
  EXPECT_EQ(support::Bytes(back), support::Bytes(old));
}

TEST(AdministrationCopy, TheNewSettingsKeepTheSourcesCompanyAndJournals) {
  using R = records::AdminSettingsRec;
  R source = Patterned<R>(11);
  source.SetCompanyName("Acme Ltd");
  source.SetCurrencyCode("EUR");
  source.SetProfitAccountNumber("0990");
  source.SetSalesBookName("Sales");
  source.SetSplitJournals("false");
  source.SetNoSalesTaxAccounts(true);
  source.SetApprovedAnnualBalance("2007");
  source.SetLastClosedPeriod("12/12");
  source.SetPeriodCount(12);
  const R n = books::administration::NewBookYearSettings(source, "20090101", "ANNA", "05-03-2024 14:30:00");
  EXPECT_EQ(n.BookYearStart(), "20090101");
  EXPECT_EQ(n.BookYearEnd(), "20091231");
  EXPECT_EQ(n.FiscalYear(), "2009");
  EXPECT_EQ(n.PeriodCount(), 1);
  EXPECT_EQ(n.PeriodStart(1), "20090101");
  EXPECT_EQ(n.PeriodStart(2), "20100101");  // the day after the end
  for (int k = 3; k <= 15; ++k) EXPECT_EQ(n.PeriodStart(k), "20090101") << k;
  EXPECT_EQ(n.ApprovedAnnualBalance(), "");
  EXPECT_EQ(n.LastClosedPeriod(), "");
  EXPECT_EQ(n.CurrentAnnualBalance(), "2009");
  EXPECT_EQ(n.CurrentPeriod(), "00/00");
  EXPECT_EQ(n.CreatedBy(), "ANNA");
  EXPECT_EQ(n.CreatedAt(), "05-03-2024 14:30:00");
  // No byte of an old text stays after a shorter new one.
  EXPECT_EQ(n.data()[R::kApprovedAnnualBalance.offset + 1], 0);
  // Everything else is the source's, byte for byte.
  R back = n;
  for (const auto& field : {R::kBookYearStart, R::kBookYearEnd, R::kFiscalYear, R::kApprovedAnnualBalance,
                            R::kLastClosedPeriod, R::kCurrentAnnualBalance, R::kCurrentPeriod, R::kCreatedBy,
                            R::kCreatedAt})
    std::memcpy(back.data() + field.offset, source.data() + field.offset, field.Size());
  std::memcpy(back.data() + R::kPeriodStartOffset, source.data() + R::kPeriodStartOffset, 9 * 15);
  back.SetPeriodCount(12);
  EXPECT_EQ(support::Bytes(back), support::Bytes(source));
}

// ---------------------------------------------------------------------------
// The copy, on two administration folders of the fake file system.

const std::string kFrom = "/d/ACME/";
const std::string kTo = "/d/NEW/";

std::string EveryCode() {
  std::vector<records::ReleaseFlagRec> recs(11);
  for (int i = 0; i < 11; ++i) {
    char code[4];
    std::snprintf(code, sizeof code, "%03d", i + 1);
    recs[static_cast<std::size_t>(i)].SetConversionCode(code);
  }
  return support::Bytes(recs);
}

// `count` records of `code`'s size, filled with `fill`.
std::string Recs(FileCode code, int count, char fill) {
  return std::string(static_cast<std::size_t>(count * store::FileInfo(code).recordSize), fill);
}

std::string Name(FileCode c) { return store::FileInfo(c).fileName; }

class Copy : public ::testing::Test {
 protected:
  support::FakeDataStore store;
  std::vector<std::string> asked;             // the files the overwrite prompt named
  std::vector<std::vector<std::string>> emptyQuestions;
  std::vector<std::string> answers;           // given in turn; "" when they run out
  bool confirmEmptying = true;

  void SetUp() override {
    store.fs.AddFolder(kFrom);
    store.fs.AddFolder(kTo);
    store::SetDataRoot("/d/");
  }

  // An administration in today's layouts with data in every file.
  void Source() {
    store.fs.SetFile(kFrom + "releaseflag.vlk", EveryCode());
    char fill = 'a';
    for (FileCode c : books::administration::kCopiedFiles)
      if (c != FileCode::FLG) store.fs.SetFile(kFrom + Name(c), Recs(c, 2, fill++));
    records::AdminSettingsRec settings;
    settings.SetCompanyName("Acme Ltd");
    settings.SetBookYearStart("20080101");
    store.fs.SetFile(kFrom + "adminset.vlk", support::Bytes(settings));
    records::LedgerAccountRec account;
    account.SetAccountNumber("1000");
    account.SetStartDate("20080101");
    account.SetStartAmount(500);
    store.fs.SetFile(kFrom + "ledger.vlk", support::Bytes(account) + support::Bytes(account));
  }

  books::administration::CopyOutcome Run(books::administration::CopyKind kind = books::administration::CopyKind::Full,
                              const std::string& first = "20090101") {
    books::administration::CopyRequest request{kFrom, kTo, kind, first, "ANNA", "05-03-2024 14:30:00"};
    books::administration::CopyQuestions questions;
    questions.confirmEmptying = [&](const std::vector<std::string>& files) {
      emptyQuestions.push_back(files);
      return confirmEmptying;
    };
    questions.askOverwrite = [&](const std::string& file) {
      asked.push_back(file);
      if (answers.empty()) return std::string();
      const std::string a = answers.front();
      answers.erase(answers.begin());
      return a;
    };
    const books::administration::CopyOutcome outcome = books::administration::CopyAdministration(request, questions);
    EXPECT_FALSE(store::FileSetOpen);
    EXPECT_EQ(store::CurrentDataFolder(), "/d/");  // given back
    return outcome;
  }

  std::map<std::string, std::string> Files(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const std::string& name : store.fs.FilesIn(folder))
      if (name != ".ombrelo.lock") files[name] = store.fs.File(folder + name);
    return files;
  }
};

TEST_F(Copy, AnEmptyTargetGetsEveryFileByteForByteWithoutAQuestion) {
  Source();
  store.fs.Delete(kFrom + "booktemp.vlk");  // the journal form was never shown
  const auto before = Files(kFrom);
  const CopyOutcome outcome = Run();
  EXPECT_EQ(outcome.result, CopyOutcome::Done);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(outcome.copied.size(), 11u);
  for (const auto& [name, bytes] : before) EXPECT_EQ(store.fs.File(kTo + name), bytes) << name;
  // The missing source file counts as an empty one.
  EXPECT_TRUE(store.fs.HasFile(kTo + "booktemp.vlk"));
  EXPECT_EQ(store.fs.File(kTo + "booktemp.vlk"), "");
}

// The rollback journals the stores keep beside their files (cleared, the
// bytes of their last change behind the header) belong to their folder: the
// copy passes them by, in the source and in the target alike.
TEST_F(Copy, KeptRollbackJournalsAreNeitherCopiedNorInTheWay) {
  Source();
  const std::string cleared = std::string(40, '\0') + Recs(FileCode::JVO, 1, 'J');
  store.fs.SetFile(kFrom + "book.vlk.ombrelo-rollback", cleared);
  store.fs.SetFile(kFrom + ".ombrelo-group-rollback", cleared);
  store.fs.SetFile(kTo + "payment.vlk.ombrelo-rollback", cleared);
  const auto before = Files(kFrom);
  const CopyOutcome outcome = Run();
  EXPECT_EQ(outcome.result, CopyOutcome::Done);
  EXPECT_EQ(outcome.copied.size(), 11u);
  for (const auto& [name, bytes] : before) {
    if (name.find("rollback") != std::string::npos) continue;
    EXPECT_EQ(store.fs.File(kTo + name), bytes) << name;
  }
  EXPECT_FALSE(store.fs.HasFile(kTo + "book.vlk.ombrelo-rollback"));
  EXPECT_FALSE(store.fs.HasFile(kTo + ".ombrelo-group-rollback"));
  EXPECT_TRUE(support::HoldsNothingToRollBack(store.fs.File(kTo + "payment.vlk.ombrelo-rollback")));
  EXPECT_EQ(Files(kFrom), before);
}

TEST_F(Copy, AnswersDecideFileByFile) {
  struct Case {
    const char* name;
    std::vector<std::string> answers;
    std::vector<std::string> asked;  // the files named, in order
    std::vector<std::string> kept;
  };
  const std::vector<std::string> askedAll = {"ledger.vlk",   "ledgerct.vlk", "book.vlk",    "freeze.vlk",
                                             "customer.vlk", "supplier.vlk", "adminset.vlk", "payment.vlk",
                                             "invsum.vlk",   "booktemp.vlk"};
  const std::vector<Case> cases = {
      {"YesToAllAtTheFirst", {"yestoall"}, {"ledger.vlk"}, {}},
      {"YesThenYesToAll", {"yes", "yestoall"}, {"ledger.vlk", "ledgerct.vlk"}, {}},
      {"NoThenYesToAll", {"no", "yestoall"}, {"ledger.vlk", "ledgerct.vlk"}, {"ledger.vlk"}},
      // A dialog closed otherwise keeps the file, also after a Yes.
      {"YesThenClosed",
       {"yes", "", "yestoall"},
       {"ledger.vlk", "ledgerct.vlk", "book.vlk"},
       {"ledgerct.vlk"}},
      {"AllClosed", {}, askedAll, askedAll},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Source();
    for (FileCode f : books::administration::kCopiedFiles) store.fs.SetFile(kTo + Name(f), Recs(f, 1, 'T'));
    store.fs.SetFile(kTo + "releaseflag.vlk", EveryCode());
    asked.clear();
    answers = c.answers;
    const CopyOutcome outcome = Run();
    EXPECT_EQ(outcome.result, CopyOutcome::Done);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(outcome.kept, c.kept);
    for (FileCode f : books::administration::kCopiedFiles) {
      const std::string name = Name(f);
      const bool kept = std::find(c.kept.begin(), c.kept.end(), name) != c.kept.end();
      EXPECT_EQ(store.fs.File(kTo + name), kept ? Recs(f, 1, 'T') : store.fs.File(kFrom + name)) << name;
    }
  }
}

TEST_F(Copy, TheLedgerCopyAsksOnceBeforeItEmptiesFiles) {
  Source();
  store.fs.SetFile(kTo + "releaseflag.vlk", EveryCode());
  store.fs.SetFile(kTo + "book.vlk", Recs(FileCode::JVO, 3, 'V'));
  store.fs.SetFile(kTo + "invsum.vlk", Recs(FileCode::INV, 1, 'I'));
  store.fs.SetFile(kTo + "payment.vlk", "");
  // No: nothing changed.
  confirmEmptying = false;
  const auto before = Files(kTo);
  EXPECT_EQ(Run(books::administration::CopyKind::GeneralLedger).result, CopyOutcome::Declined);
  ASSERT_EQ(emptyQuestions.size(), 1u);
  EXPECT_EQ(emptyQuestions[0], (std::vector<std::string>{"book.vlk", "invsum.vlk"}));
  EXPECT_TRUE(asked.empty());
  for (const auto& [name, bytes] : before) EXPECT_EQ(store.fs.File(kTo + name), bytes) << name;

  // Yes: emptied, the ledger and settings for the new book year.
  confirmEmptying = true;
  emptyQuestions.clear();
  const CopyOutcome outcome = Run(books::administration::CopyKind::GeneralLedger);
  EXPECT_EQ(outcome.result, CopyOutcome::Done);
  EXPECT_EQ(outcome.emptied, (std::vector<std::string>{"book.vlk", "invsum.vlk"}));
  for (FileCode f : books::administration::kCopiedFiles)
    if (books::administration::EmptiedByLedgerCopy(f)) {
      EXPECT_EQ(store.fs.File(kTo + Name(f)), "") << Name(f);
    }
  const auto accounts = support::Records<records::LedgerAccountRec>(store.fs.File(kTo + "ledger.vlk"));
  ASSERT_EQ(accounts.size(), 2u);
  for (const auto& a : accounts) {
    EXPECT_EQ(a.AccountNumber(), "1000");
    EXPECT_EQ(a.StartDate(), "20081231");
    EXPECT_EQ(a.EndDate(), "20501231");
    EXPECT_EQ(a.StartAmount(), 0.0);
  }
  const auto settings = support::Record<records::AdminSettingsRec>(store.fs.File(kTo + "adminset.vlk"));
  EXPECT_EQ(settings.CompanyName(), "Acme Ltd");
  EXPECT_EQ(settings.BookYearStart(), "20090101");
  EXPECT_EQ(settings.PeriodStart(2), "20100101");
  EXPECT_EQ(settings.CreatedBy(), "ANNA");
  EXPECT_EQ(store.fs.File(kTo + "ledgerct.vlk"), store.fs.File(kFrom + "ledgerct.vlk"));
  // The source is as it was.
  EXPECT_EQ(support::Record<records::AdminSettingsRec>(store.fs.File(kFrom + "adminset.vlk")).BookYearStart(),
            "20080101");
}

TEST_F(Copy, AKeptLedgerIsNotReDatedAndKeptSettingsAreNotReplaced) {
  Source();
  store.fs.SetFile(kTo + "releaseflag.vlk", EveryCode());
  const std::string ownLedger = Recs(FileCode::GLA, 1, 'L');
  const std::string ownSettings = Recs(FileCode::ADS, 1, 'S');
  store.fs.SetFile(kTo + "ledger.vlk", ownLedger);
  store.fs.SetFile(kTo + "adminset.vlk", ownSettings);
  answers = {"no", "no"};
  const CopyOutcome outcome = Run(books::administration::CopyKind::GeneralLedger);
  EXPECT_EQ(outcome.result, CopyOutcome::Done);
  EXPECT_TRUE(emptyQuestions.empty());  // the target held no transactions
  EXPECT_EQ(asked, (std::vector<std::string>{"ledger.vlk", "adminset.vlk"}));
  EXPECT_EQ(store.fs.File(kTo + "ledger.vlk"), ownLedger);
  EXPECT_EQ(store.fs.File(kTo + "adminset.vlk"), ownSettings);
}

TEST_F(Copy, AdministrationsNotInTodaysLayoutsAreRefused) {
  struct Case {
    const char* name;
    std::string sourceFlags;
    std::string targetFlags;
    std::string targetLedger;
    CopyOutcome::Result want;
  };
  const std::vector<Case> cases = {
      {"SourceLacksACode", EveryCode().substr(4), "", "", CopyOutcome::SourceNotCurrent},
      {"TargetLacksACodeAndHoldsData", EveryCode(), EveryCode().substr(0, 40), Recs(FileCode::GLA, 1, 'L'),
       CopyOutcome::TargetNotCurrent},
      // A target without codes and without data is a new one.
      {"NewTarget", EveryCode(), "", "", CopyOutcome::Done},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const std::string& name : store.fs.FilesIn(kTo)) store.fs.Delete(kTo + name);
    Source();
    store.fs.SetFile(kFrom + "releaseflag.vlk", c.sourceFlags);
    store.fs.SetFile(kTo + "releaseflag.vlk", c.targetFlags);
    store.fs.SetFile(kTo + "ledger.vlk", c.targetLedger);
    const auto before = Files(kTo);
    answers = {"yestoall"};
    EXPECT_EQ(Run().result, c.want);
    if (c.want != CopyOutcome::Done) {
      for (const auto& [name, bytes] : before) EXPECT_EQ(store.fs.File(kTo + name), bytes) << name;
    }
  }
}

TEST_F(Copy, AFailureStopsTheCopyNamingTheFileAndTheFilesCopied) {
  Source();
  store.fs.SetFile(kTo + "releaseflag.vlk", EveryCode());
  store.fs.SetFile(kTo + "payment.vlk", Recs(FileCode::PAY, 1, 'P'));
  store.fs.InjectError(kTo + "payment.vlk.ombrelo-tmp", support::FakeFileSystem::Op::Write, 1028);
  answers = {"yes"};
  const CopyOutcome outcome = Run();
  store.fs.ClearErrors();
  EXPECT_EQ(outcome.result, CopyOutcome::Failed);
  EXPECT_EQ(outcome.fileName, kTo + "payment.vlk");
  EXPECT_FALSE(outcome.errorText.empty());
  EXPECT_EQ(outcome.copied, (std::vector<std::string>{"releaseflag.vlk", "ledger.vlk", "ledgerct.vlk", "book.vlk",
                                                      "freeze.vlk", "customer.vlk", "supplier.vlk", "adminset.vlk"}));
  EXPECT_EQ(store.fs.File(kTo + "payment.vlk"), Recs(FileCode::PAY, 1, 'P'));
  EXPECT_EQ(store.fs.File(kTo + "invsum.vlk"), "");

  // A damaged source file stops the copy before the target changes.
  for (const std::string& name : store.fs.FilesIn(kTo)) store.fs.Delete(kTo + name);
  store.fs.SetFile(kFrom + "customer.vlk", Recs(FileCode::CUS, 1, 'c') + "xy");
  const CopyOutcome damaged = Run();
  EXPECT_EQ(damaged.result, CopyOutcome::Failed);
  EXPECT_EQ(damaged.fileName, kFrom + "customer.vlk");
  EXPECT_TRUE(damaged.copied.empty());
  EXPECT_EQ(store.fs.File(kTo + "ledger.vlk"), "");

  // A target folder that cannot be opened.
  store.fs.SetFile(kFrom + "customer.vlk", Recs(FileCode::CUS, 1, 'c'));
  books::administration::CopyRequest request{kFrom, "/d/GONE/", books::administration::CopyKind::Full, "", "", ""};
  const CopyOutcome missing = books::administration::CopyAdministration(request, {});
  EXPECT_EQ(missing.result, CopyOutcome::Failed);
  EXPECT_EQ(missing.fileName, "/d/GONE/");
  EXPECT_FALSE(store::FileSetOpen);
}

// A closing intent record over the source's files as Source() writes them:
// a snapshot appended to its two freeze records and the settings changed.
// With `finishable` false the freeze file's count is not one the record
// passes through.
std::string ClosingRecord(bool finishable) {
  books::closing::ClosingIntent intent;
  intent.freeze.op = books::closing::FreezeFileStep::Op::Append;
  intent.freeze.countBefore = finishable ? 2 : 7;
  intent.freeze.rec.SetPeriodEndDate("20080131");
  intent.settingsBefore.SetCompanyName("Acme Ltd");
  intent.settingsBefore.SetBookYearStart("20080101");
  intent.settingsAfter = intent.settingsBefore;
  intent.settingsAfter.SetLastClosedPeriod("01/12");
  return books::closing::EncodeIntent(intent);
}

TEST_F(Copy, ALeftoverClosingInEitherFolderRefusesTheCopy) {
  for (const std::string& folder : {kFrom, kTo}) {
    SCOPED_TRACE(folder);
    for (const std::string& name : store.fs.FilesIn(kTo)) store.fs.Delete(kTo + name);
    Source();
    for (FileCode f : books::administration::kCopiedFiles) store.fs.SetFile(kTo + Name(f), Recs(f, 1, 'T'));
    store.fs.SetFile(kTo + "releaseflag.vlk", EveryCode());
    // Its settings and freeze records are the source's, so that the record
    // reads the same wherever it lies.
    store.fs.SetFile(kTo + "adminset.vlk", store.fs.File(kFrom + "adminset.vlk"));
    store.fs.SetFile(kTo + "freeze.vlk", store.fs.File(kFrom + "freeze.vlk"));
    store.fs.SetFile(folder + books::closing::kIntentFileName, ClosingRecord(false));
    const auto source = Files(kFrom);
    const auto target = Files(kTo);
    answers = {"yestoall"};
    const CopyOutcome outcome = Run();
    EXPECT_EQ(outcome.result, CopyOutcome::Failed);
    EXPECT_EQ(outcome.fileName, folder + books::closing::kIntentFileName);
    EXPECT_EQ(outcome.errorText, books::administration::LeftClosingText());
    EXPECT_TRUE(outcome.copied.empty());
    EXPECT_TRUE(asked.empty());
    // Nothing written in either folder; the record stays.
    EXPECT_EQ(Files(kFrom), source);
    EXPECT_EQ(Files(kTo), target);
    store.fs.Delete(folder + books::closing::kIntentFileName);
  }
  // A record that can be finished is finished first, in its folder, and
  // the copy goes on with the finished files.
  for (const std::string& name : store.fs.FilesIn(kTo)) store.fs.Delete(kTo + name);
  Source();
  store.fs.SetFile(kFrom + books::closing::kIntentFileName, ClosingRecord(true));
  const CopyOutcome outcome = Run();
  EXPECT_EQ(outcome.result, CopyOutcome::Done);
  EXPECT_EQ(outcome.notes, std::vector<std::string>{books::closing::MsgIntentFinished()});
  EXPECT_FALSE(store.fs.HasFile(kFrom + books::closing::kIntentFileName));
  EXPECT_EQ(support::Record<records::AdminSettingsRec>(store.fs.File(kTo + "adminset.vlk")).LastClosedPeriod(),
            "01/12");
  EXPECT_EQ(store.fs.File(kTo + "freeze.vlk").size(), 3u * store::FileInfo(FileCode::FRZ).recordSize);
}

// Killed at every call that changes the disk: the target is the old one or
// the new one, whole, or it carries the marker of the unfinished copy; the
// next copy goes through and takes the marker away.
TEST_F(Copy, AKilledCopyLeavesTheOldTargetTheNewOneOrTheMarker) {
  Source();
  for (FileCode f : books::administration::kCopiedFiles) store.fs.SetFile(kTo + Name(f), Recs(f, 1, 'T'));
  store.fs.SetFile(kTo + "releaseflag.vlk", EveryCode());
  const std::string marker = kTo + books::administration::kUnfinishedCopyFileName;
  // The data files of a folder (no lock, marker or temporary file).
  const auto dataFiles = [&](const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& [name, bytes] : Files(folder))
      if (name.find(".ombrelo-") == std::string::npos) files[name] = bytes;
    return files;
  };
  const auto oldTarget = dataFiles(kTo);
  const auto newTarget = dataFiles(kFrom);
  int withMarker = 0;
  for (int goodCalls = 0;; ++goodCalls) {
    SCOPED_TRACE(goodCalls);
    for (const std::string& name : store.fs.FilesIn(kTo)) store.fs.Delete(kTo + name);
    for (const auto& [name, bytes] : oldTarget) store.fs.SetFile(kTo + name, bytes);
    store.fs.CrashAfter(goodCalls);
    answers = {"yestoall"};
    try {
      books::administration::CopyAdministration({kFrom, kTo, books::administration::CopyKind::Full, "", "", ""}, {nullptr, [](const std::string&) {
                                        return std::string("yestoall");
                                      }});
    } catch (const std::exception&) {
      // an error past the copy's own stops
    }
    const bool crashed = store.fs.Crashed();
    store::ForceCloseFileSet();
    store.fs.ClearErrors();
    if (books::administration::CarriesUnfinishedCopy(kTo)) {
      ++withMarker;
    } else {
      const auto now = dataFiles(kTo);
      EXPECT_TRUE(now == oldTarget || now == newTarget);
    }
    if (!crashed) {
      EXPECT_EQ(dataFiles(kTo), newTarget);
      EXPECT_FALSE(books::administration::CarriesUnfinishedCopy(kTo));
      break;
    }
    // The next copy replaces what the killed one left, marker and all.
    EXPECT_EQ(books::administration::CopyAdministration({kFrom, kTo, books::administration::CopyKind::Full, "", "", ""},
                                             {nullptr, [](const std::string&) { return std::string("yestoall"); }})
                  .result,
              CopyOutcome::Done);
    EXPECT_EQ(dataFiles(kTo), newTarget);
    EXPECT_FALSE(books::administration::CarriesUnfinishedCopy(kTo));
  }
  EXPECT_GT(withMarker, 0);
}

TEST_F(Copy, ACopyKeepsTheSourceFilesModes) {
  Source();
  for (FileCode f : books::administration::kCopiedFiles) store.fs.SetMode(kFrom + Name(f), 0600);
  store.fs.SetMode(kFrom + "ledger.vlk", 0640);
  store.fs.SetFile(kTo + "releaseflag.vlk", EveryCode());
  store.fs.SetFile(kTo + "customer.vlk", Recs(FileCode::CUS, 1, 'T'));  // 0644 now
  answers = {"yestoall"};
  ASSERT_EQ(Run().result, CopyOutcome::Done);
  for (FileCode f : books::administration::kCopiedFiles)
    EXPECT_EQ(store.fs.ModeOf(kTo + Name(f)), f == FileCode::GLA ? 0640u : 0600u) << Name(f);
}

// ---------------------------------------------------------------------------
// The copy panel.

class CopyPanel : public Copy {
 protected:
  ui::HeadlessBackend backend;
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 3, 5) + platform::EncodeTime(14, 30, 0, 0)};
  std::unique_ptr<masterdata::TAdministrations> form;

  void SetUp() override {
    Copy::SetUp();
    store::AdminFileFolder = "/d/";
    text::SystemSettings.CurrentUser = "ANNA";
    std::vector<records::AdministrationRec> recs(3);
    recs[0].SetShortName("ACME");
    recs[0].SetName("Acme Ltd");
    recs[1].SetShortName("NEW");
    recs[1].SetName("New books");
    recs[2].SetShortName("A B");  // a blank in the short name
    recs[2].SetName("Other");
    store.fs.SetFile("/d/admin.vlk", support::Bytes(recs));
    store.fs.AddFolder("/d/A B/");
    form = std::make_unique<masterdata::TAdministrations>();
    form->OnCreate();
    form->FormActivate();
  }
  std::vector<std::string> Items(const ui::ComboBox& box) {
    std::vector<std::string> items;
    for (const auto& item : box.Items()) items.push_back(item.text);
    return items;
  }
};

TEST_F(CopyPanel, PrepareOffersTheAdministrationsAndStartNeedsTwoDifferentOnes) {
  EXPECT_FALSE(form->Panel2.Visible());
  form->StringGrid1.UserSelectCell(0, 2);
  form->Button1.UserClick();
  EXPECT_TRUE(form->Panel2.Visible());
  const std::vector<std::string> items = {"ACME | Acme Ltd", "NEW | New books", "A B | Other"};
  EXPECT_EQ(Items(form->ComboBox1), items);
  EXPECT_EQ(Items(form->ComboBox2), items);
  EXPECT_EQ(form->ComboBox1.GetText(), "ACME | Acme Ltd");
  EXPECT_EQ(form->ComboBox2.GetText(), "NEW | New books");  // the grid's current row
  EXPECT_TRUE(form->Button4.Enabled());
  EXPECT_FALSE(form->DateTimePicker1.Visible());

  // The same administration, typed in other capitals: Start is disabled.
  form->ComboBox2.UserSetText("acme | acme ltd");
  form->ComboBox2Exit();
  EXPECT_EQ(form->ComboBox2.GetText(), "ACME | Acme Ltd");
  EXPECT_FALSE(form->Button4.Enabled());
  EXPECT_FALSE(form->Startcopyproces1.Enabled());
  // A text that is no item becomes the first item.
  form->ComboBox2.UserSetText("nothing");
  form->ComboBox2Exit();
  EXPECT_EQ(form->ComboBox2.GetText(), "ACME | Acme Ltd");
  form->ComboBox2.UserSelect(2);
  EXPECT_TRUE(form->Button4.Enabled());

  form->RadioGroup1.SetItemIndex(1);
  form->RadioGroup1Click();
  EXPECT_TRUE(form->DateTimePicker1.Visible());
  EXPECT_TRUE(form->Label10.Visible());
  form->Button6.UserClick();
  EXPECT_FALSE(form->Panel2.Visible());
  EXPECT_FALSE(form->Button4.Enabled());
}

TEST_F(CopyPanel, StartCopiesIntoTheChosenRowsFolderAndAsksThroughThePrompt) {
  Source();
  store.fs.SetFile("/d/A B/releaseflag.vlk", EveryCode());
  store.fs.SetFile("/d/A B/ledger.vlk", Recs(FileCode::GLA, 1, 'L'));
  store.fs.SetFile("/d/A B/ledgerct.vlk", Recs(FileCode::GLC, 1, 'C'));
  form->Button1.UserClick();
  form->ComboBox2.UserSelect(2);  // "A B": its folder, not "A"
  backend.messageAnswers = {ui::ModalResult::No, ui::ModalResult::Close};
  form->Button4.UserClick();
  // Two prompts, each naming the target file, then the completion message.
  ASSERT_EQ(backend.messages.size(), 3u);
  EXPECT_EQ(backend.messages[0].buttons, ui::Buttons::YesNoYesToAll);
  EXPECT_EQ(backend.messages[0].text, "/d/A B/ledger.vlk  " + masterdata::MsgCopyOverwriteQuestion);
  EXPECT_EQ(backend.messages[1].text, "/d/A B/ledgerct.vlk  " + masterdata::MsgCopyOverwriteQuestion);
  EXPECT_EQ(backend.messages[2].text, masterdata::MsgCopyDoneText);
  EXPECT_EQ(store.fs.File("/d/A B/ledger.vlk"), Recs(FileCode::GLA, 1, 'L'));
  EXPECT_EQ(store.fs.File("/d/A B/ledgerct.vlk"), Recs(FileCode::GLC, 1, 'C'));  // closed: kept
  EXPECT_EQ(store.fs.File("/d/A B/customer.vlk"), store.fs.File(kFrom + "customer.vlk"));
  EXPECT_FALSE(store.fs.HasFile("/d/A/ledger.vlk"));
  EXPECT_FALSE(form->Panel2.Visible());  // a full copy closes the panel

  // A new run starts without the last run's answer.
  form->Button1.UserClick();
  form->ComboBox2.UserSelect(2);
  backend.messages.clear();
  backend.messageAnswers = {ui::ModalResult::YesToAll};
  form->Button4.UserClick();
  EXPECT_EQ(masterdata::CopyAnswer, "yestoall");
  form->Button1.UserClick();
  form->ComboBox2.UserSelect(2);
  backend.messages.clear();
  backend.messageAnswers = {ui::ModalResult::Close};
  form->Button4.UserClick();
  ASSERT_FALSE(backend.messages.empty());
  EXPECT_EQ(backend.messages[0].buttons, ui::Buttons::YesNoYesToAll);
}

TEST_F(CopyPanel, MessagesOfARefusedOrStoppedCopy) {
  Source();
  form->Button1.UserClick();
  form->ComboBox2.UserSelect(1);
  // Into the administration logged in to.
  store::CurrentAdministrationCode = "NEW";
  form->Button4.UserClick();
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, masterdata::MsgCopyIntoLoggedIn);
  EXPECT_TRUE(store.fs.File(kTo + "ledger.vlk").empty());
  store::CurrentAdministrationCode.clear();
  // A source not yet logged in to since this version.
  store.fs.SetFile(kFrom + "releaseflag.vlk", "");
  backend.messages.clear();
  form->Button4.UserClick();
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, masterdata::MsgCopyLogInFirst + " ACME | Acme Ltd");
  // A file error names the file, the system's text and the files copied.
  store.fs.SetFile(kFrom + "releaseflag.vlk", EveryCode());
  store.fs.InjectError(kTo + "ledgerct.vlk.ombrelo-tmp", support::FakeFileSystem::Op::Write, 1028);
  backend.messages.clear();
  form->Button4.UserClick();
  ASSERT_EQ(backend.messages.size(), 1u);
  const std::string& text = backend.messages[0].text;
  EXPECT_EQ(text.find(masterdata::MsgCopyStopped + " " + kTo + "ledgerct.vlk: "), 0u) << text;
  EXPECT_NE(text.find(masterdata::MsgCopyFilesCopied + " releaseflag.vlk, ledger.vlk."), std::string::npos) << text;
  EXPECT_TRUE(form->Panel2.Visible());
}

TEST_F(CopyPanel, TheStatusBarNamesAnAdministrationACopyLeftUnfinished) {
  Source();
  const auto copyIntoNew = [&] {
    form->Button1.UserClick();
    form->ComboBox2.UserSelect(1);
    form->Button4.UserClick();
  };
  // A copy that stops part-way.
  store.fs.InjectError(kTo + "ledgerct.vlk.ombrelo-tmp", support::FakeFileSystem::Op::Write, 1028);
  copyIntoNew();
  store.fs.ClearErrors();
  ASSERT_TRUE(books::administration::CarriesUnfinishedCopy(kTo));
  const std::string told = books::administration::UnfinishedCopyText() + ": NEW";
  EXPECT_EQ(form->StatusText, told);
  EXPECT_EQ(form->StatusBar1.PanelText(0), told);
  // Shown again, the form tells again.
  form->FormActivate();
  EXPECT_EQ(form->StatusText, told);
  // Copied again, through to the end: the marker and the text go.
  backend.messageAnswers = {ui::ModalResult::YesToAll};
  copyIntoNew();
  EXPECT_FALSE(books::administration::CarriesUnfinishedCopy(kTo));
  EXPECT_EQ(form->StatusText, "");
}

TEST_F(CopyPanel, TheCopysTextsFollowTheLanguage) {
  struct Case {
    const char* language;
    const char* word;
  };
  for (const Case& c : {Case{"English", "Log in"}, Case{"Nederlands", "Meld u"}, Case{"Deutsch", "Melden Sie"}}) {
    text::CurrentLanguage.SetL(0, c.language);
    form->ApplyLanguageTexts();
    EXPECT_NE(masterdata::MsgCopyLogInFirst.find(c.word), std::string::npos) << c.language;
  }
}

}  // namespace
