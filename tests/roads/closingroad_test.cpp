// The year-end road through the start screen, headless: the reports node
// shows the report form, whose freeze action runs the closing service; the
// start screen then shows the settings form on its second tab after a year
// end, and the report form again. No file set is open while a form shows,
// nor when the road ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "masterdata/adminsettings.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "reports/Rapport1unit.h"
#include "books/closing/periodclosing.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "text/textroutines.h"
#include "support/program.h"
#include "support/records.h"

namespace {

using program::TreeFunction;
using support::Bytes;

const std::string D = "/w/data/ACME/";

class ClosingRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2025, 1, 20) + platform::EncodeTime(9, 30, 15, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  // 2024 in twelve months, `current` the open period.
  void Books(const std::string& current, const std::string& lastClosed) {
    StartWithAcme();
    LogInToAcme();
    records::AdminSettingsRec s = support::MonthlyBookYear(2024);
    s.SetApprovedAnnualBalance("2023");
    s.SetLastClosedPeriod(lastClosed);
    s.SetCurrentAnnualBalance("2024");
    s.SetCurrentPeriod(current);
    s.SetFiscalYear("2024");
    s.SetProfitAccountNumber("0800");
    s.SetProfitAccountCaption("Retained earnings");
    s.SetDayBookName("Daybook");
    s.SetSplitJournals("false");
    std::vector<records::LedgerCategoryRec> cats(2);
    cats[0].SetCategoryKind(records::kBalanceSheetKind);
    cats[0].SetCategoryName("Balance");
    cats[1].SetCategoryKind(records::kProfitAndLossKind);
    cats[1].SetCategoryName("Results");
    store.fs.SetFile(D + "ledgerct.vlk", Bytes(cats));
    const char* accounts[][4] = {{"0800", "Retained earnings", "C", "Balance"}, {"0900", "Profit", "P", "Balance"},
                                 {"0950", "Transfer", "T", "Results"},          {"1000", "Bank", "D", "Balance"},
                                 {"4000", "Sales", "C", "Results"}};
    std::vector<records::LedgerAccountRec> gla;
    for (const auto& a : accounts) {
      records::LedgerAccountRec& r = gla.emplace_back();
      r.SetAccountNumber(a[0]);
      r.SetCaption(a[1]);
      r.SetAccountType(a[2]);
      r.SetCategoryName(a[3]);
      r.SetStartDate("20000101");
      r.SetEndDate("20501231");
    }
    store.fs.SetFile(D + "ledger.vlk", Bytes(gla));
    std::vector<records::JournalVoucherRec> jvo(2);
    jvo[0].SetVoucherDate("20241215");
    jvo[0].SetBookNumber("V1");
    jvo[0].SetAccountNumber("1000");
    jvo[0].SetDebitAmount(250);
    jvo[1] = jvo[0];
    jvo[1].SetAccountNumber("4000");
    jvo[1].SetDebitAmount(0);
    jvo[1].SetCreditAmount(250);
    store.fs.SetFile(D + "book.vlk", Bytes(jvo));
    LogInAgainWith(s);
    ASSERT_EQ(store::AdminSettings.CurrentPeriod(), current);
  }

  // The report form freezes at its first showing and is closed at the next.
  void FreezeOnTheReportForm(std::vector<std::string>& seen) {
    backend.scripts["Rapport1"] = [&seen](ui::Form& f) {
      EXPECT_FALSE(store::FileSetOpen);
      if (seen.empty()) {
        seen.push_back("freeze");
        const books::closing::FreezeRun run = books::closing::FreezeOpenPeriod(store::AdminSettings);
        EXPECT_TRUE(run.Ok()) << (run.messages.empty() ? "" : run.messages.front());
      } else {
        // The activation has said it and cleared the flag.
        EXPECT_FALSE(reports::FreezeDone);
        const std::string status = static_cast<reports::TRapport1&>(f).StatusBar1.PanelText(0);
        seen.push_back(status.empty() ? "no success" : status);
      }
    };
  }
};

TEST_F(ClosingRoad, AYearEndShowsTheSettingsOnTab2AndThenTheReportFormAgain) {
  Books("12/12", "11/12");
  std::vector<std::string> seen;
  FreezeOnTheReportForm(seen);
  backend.scripts["administrationsetting"] = [&seen](ui::Form& f) {
    auto& settings = static_cast<masterdata::Tadministrationsetting&>(f);
    EXPECT_FALSE(store::FileSetOpen);
    EXPECT_EQ(settings.TabControl1.TabIndex(), 1);
    EXPECT_EQ(settings.StatusBar1.PanelText(0), "Proposal periods date new bookyear");
    EXPECT_EQ(settings.StatusBar1.BackColor(), ui::colors::Lime);
    EXPECT_TRUE(settings.Button4.Enabled());
    EXPECT_EQ(text::DateToYmd(settings.DateTimePicker1.Date()), "20250101");
    seen.push_back("settings");
  };
  backend.modalShown.clear();
  ASSERT_TRUE(DoubleClick(TreeFunction::Reports));
  EXPECT_EQ(seen, (std::vector<std::string>{"freeze", "settings", " freeze succesful "}));
  EXPECT_EQ(backend.modalShown, (std::vector<std::string>{"Rapport1", "administrationsetting", "Rapport1"}));
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store::AdminSettings.BookYearStart(), "20250101");
  EXPECT_EQ(store::AdminSettings.FiscalYear(), "2025");
  EXPECT_EQ(masterdata::administrationsetting->StatusBar1.PanelText(0), "");
}

TEST_F(ClosingRoad, APeriodWithinTheYearBringsBackOnlyTheReportForm) {
  Books("03/12", "02/12");
  std::vector<std::string> seen;
  FreezeOnTheReportForm(seen);
  backend.modalShown.clear();
  ASSERT_TRUE(DoubleClick(TreeFunction::Reports));
  EXPECT_EQ(seen, (std::vector<std::string>{"freeze", " freeze succesful "}));
  EXPECT_EQ(backend.modalShown, (std::vector<std::string>{"Rapport1", "Rapport1"}));
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store::AdminSettings.CurrentPeriod(), "04/12");
}

TEST_F(ClosingRoad, TheReportFormClosedWithoutAFreezeEndsTheRoad) {
  Books("03/12", "02/12");
  const std::string before = store.fs.File(D + "adminset.vlk") + store.fs.File(D + "book.vlk");
  backend.modalShown.clear();
  ASSERT_TRUE(DoubleClick(TreeFunction::Reports));
  EXPECT_EQ(backend.modalShown, (std::vector<std::string>{"Rapport1"}));
  EXPECT_EQ(store.fs.File(D + "adminset.vlk") + store.fs.File(D + "book.vlk"), before);
  EXPECT_FALSE(store::FileSetOpen);
}

}  // namespace
