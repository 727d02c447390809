// The period freeze with its closing and the unfreeze, on a small
// administration in the fake data store: the rules of the closing fields,
// the snapshot's bytes, the refusals (which write nothing), a whole year
// frozen period by period and unfrozen back to the start, and runs cut off
// after every write and finished at the next open.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "books/journal/voucher.h"
#include "platform/numberformat.h"
#include "support/records.h"
#include "books/journal/voucherstore.h"
#include "platform/oserror.h"
#include "platform/errors.h"
#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "records/paymentrec.h"
#include "books/closing/closingintent.h"
#include "books/closing/periodclosing.h"
#include "books/reporting/paging.h"
#include "books/reporting/reportrun.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "text/languagetext.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"

namespace {

using books::closing::FreezeOutcome;
using books::closing::UnfreezeOutcome;
using records::AdminSettingsRec;
using records::FreezeRec;
using records::JournalVoucherRec;
using store::FileCode;

std::string DoubleBytes(double d) {
  std::string b(8, '\0');
  std::memcpy(b.data(), &d, 8);
  return b;
}

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

AdminSettingsRec Monthly(int year) {
  AdminSettingsRec s;
  s.SetCompanyName("ACME");
  s.SetBookYearStart(std::to_string(year) + "0101");
  s.SetBookYearEnd(std::to_string(year) + "1231");
  s.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, std::to_string(year) + Two(k) + "01");
  for (int k = 13; k <= 15; ++k) s.SetPeriodStart(k, std::to_string(year + 1) + "0101");
  s.SetCurrentAnnualBalance(std::to_string(year));
  s.SetCurrentPeriod("00/00");
  s.SetFiscalYear(std::to_string(year));
  s.SetProfitAccountNumber("0800");
  s.SetProfitAccountCaption("Retained earnings");
  s.SetDayBookName("Daybook");
  s.SetSplitJournals("false");
  return s;
}

TEST(ClosingRules, TheClosingFieldsAdvanceByTheLabel) {
  struct Case {
    const char* name;
    std::string approved, lastClosed, annual, current, label;
    books::closing::AdvancedFields want;
  };
  const std::vector<Case> cases = {
      {"08 of 12", "2023", "07/12", "2024", "08/12", "2024-08/12", {"2023", "08/12", "2024", "09/12", false}},
      {"09 of 12", "2023", "08/12", "2024", "09/12", "2024-09/12", {"2023", "09/12", "2024", "10/12", false}},
      {"12 of 12 closes the year", "2023", "11/12", "2024", "12/12", "2024-12/12",
       {"2024", "12/12", "2024", "01/12", true}},
      {"one period", "2023", "01/01", "2024", "01/01", "2024-01/01", {"2024", "01/01", "2024", "01/01", true}},
      {"the opening period", "", "", "2024", "00/00", "2023-01/01", {"2023", "01/01", "2024", "01/12", true}},
  };
  for (const Case& c : cases) {
    AdminSettingsRec s = Monthly(2024);
    if (c.label == "2024-01/01") s.SetPeriodCount(1);
    s.SetApprovedAnnualBalance(c.approved);
    s.SetLastClosedPeriod(c.lastClosed);
    s.SetCurrentAnnualBalance(c.annual);
    s.SetCurrentPeriod(c.current);
    EXPECT_EQ(books::closing::AdvanceClosingFields(s, c.label), c.want) << c.name;
  }
}

TEST(ClosingRules, TheOpenPeriodsEnd) {
  struct Case {
    std::string current, end;
  };
  const std::vector<Case> cases = {
      {"00/00", "20240101"}, {"01/12", "20240201"}, {"11/12", "20241201"}, {"12/12", "20250101"}};
  for (const Case& c : cases) {
    AdminSettingsRec s = Monthly(2024);
    s.SetCurrentPeriod(c.current);
    EXPECT_EQ(books::closing::OpenPeriodEnd(s), c.end) << c.current;
  }
}

// The open period's label follows the last frozen one while its year is
// open, else the current annual balance and period; the stored label is
// that label, but for a label without periods, which is rebuilt.
TEST(ClosingRules, TheOpenPeriodsLabelAndTheLabelStored) {
  struct Case {
    const char* name;
    std::optional<std::string> last;
    std::string annual, current, open, stored;
    std::string start, base;  // the period computed
  };
  const std::vector<Case> cases = {
      {"a new administration", std::nullopt, "2024", "00/00", "2024-00/00", "2023-01/01", "20231231", "20231231"},
      {"after the opening freeze", "2023-01/01", "2024", "01/12", "2024-01/12", "2024-01/12", "20240101", "20231231"},
      {"period 11", "2024-10/12", "2024", "11/12", "2024-11/12", "2024-11/12", "20241101", "20231231"},
      {"period 12", "2024-11/12", "2024", "12/12", "2024-12/12", "2024-12/12", "20241201", "20231231"},
      {"after the year end", "2024-12/12", "2025", "01/12", "2025-01/12", "2025-01/12", "20250101", "20241231"},
      {"from 1 April", "2024-01/01", "2425", "01/12", "2425-01/12", "2425-01/12", "20240401", "20240331"},
      {"from 1 April, period 10 in the next calendar year", "2425-09/12", "2425", "10/12", "2425-10/12",
       "2425-10/12", "20250101", "20240331"},
      {"a label stored earlier goes on with its own year", "2009-11/12", "0809", "12/12", "2009-12/12",
       "2009-12/12", "20090301", "20080331"},
      {"periods of no number: the settings", "2024-xx/12", "2024", "05/12", "2024-05/12", "2024-05/12", "20240501",
       "20231231"},
      {"no periods set up, inside the year", std::nullopt, "2024", "03/00", "2024-03/00", "2024-03/12", "20240315",
       "20231231"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string open = books::closing::OpenPeriodLabel(c.last, c.annual, c.current);
    EXPECT_EQ(open, c.open);
    AdminSettingsRec s = Monthly(2024);
    s.SetCurrentAnnualBalance(c.annual);
    s.SetCurrentPeriod(c.current);
    EXPECT_EQ(books::closing::OpenPeriodLabel(s, c.last), c.open);
    books::closing::ReportPeriod p;
    p.start = c.start;
    p.yearBaseDate = c.base;
    EXPECT_EQ(books::closing::StoredFreezeLabel(open, p, s), c.stored);
  }
}

TEST(ClosingRules, AYearEndMovesTheBookYearTheAnnualBalanceAndTheFiscalYear) {
  // A book year from 1 April: "0809" is followed by "0910", not "0810".
  AdminSettingsRec s;
  s.SetBookYearStart("20080401");
  s.SetBookYearEnd("20090331");
  s.SetPeriodCount(4);
  const char* starts[] = {"20080401", "20080701", "20081001", "20090101", "20090401"};
  for (int k = 1; k <= 5; ++k) s.SetPeriodStart(k, starts[k - 1]);
  s.SetApprovedAnnualBalance("2008");
  s.SetLastClosedPeriod("03/04");
  s.SetCurrentAnnualBalance("0809");
  s.SetCurrentPeriod("04/04");
  s.SetFiscalYear("2008");
  bool closed = false;
  const AdminSettingsRec after = books::closing::SettingsAfterFreeze(s, "2009-04/04", &closed);
  EXPECT_TRUE(closed);
  EXPECT_EQ(after.BookYearStart(), "20090401");
  EXPECT_EQ(after.BookYearEnd(), "20100331");
  EXPECT_EQ(after.CurrentAnnualBalance(), "0910");
  EXPECT_EQ(after.ApprovedAnnualBalance(), "2009");
  EXPECT_EQ(after.CurrentPeriod(), "01/04");
  EXPECT_EQ(after.FiscalYear(), "2009");
  EXPECT_EQ(after.PeriodStart(5), "20100401");

  // The opening freeze moves neither the book year nor the fiscal year, and
  // keeps periods the user set by hand.
  AdminSettingsRec first = Monthly(2024);
  first.SetPeriodStart(2, "20240215");
  const AdminSettingsRec opened = books::closing::SettingsAfterFreeze(first, "2023-01/01", &closed);
  EXPECT_TRUE(closed);
  EXPECT_EQ(opened.BookYearStart(), "20240101");
  EXPECT_EQ(opened.PeriodStart(2), "20240215");
  EXPECT_EQ(opened.FiscalYear(), "2024");
  EXPECT_EQ(opened.CurrentAnnualBalance(), "2024");
  EXPECT_EQ(opened.ApprovedAnnualBalance(), "2023");
}

TEST(ClosingRules, TheSnapshotsBytes) {
  books::closing::BalanceResult balance;
  balance.period = books::closing::ReportPeriod{};
  balance.period->start = "20240301";
  balance.period->end = "20240401";
  balance.period->yearBaseDate = "20231231";
  books::closing::BalanceTableRow row;
  row.AccountNumber = "1000";
  row.Caption = std::string(40, 'c');  // cut to 30
  row.CategoryName = "Assets";
  row.AccountType = "D";
  row.CategoryKind = "Balance";
  row.YearOpeningBalance = 1.5;
  row.OpeningOwnSide = 2;
  row.ClosingOwnSide = 3;
  row.OpeningOtherSide = 4;
  row.ClosingOtherSide = 5;
  balance.table = {row};
  AdminSettingsRec before = Monthly(2024);
  before.SetApprovedAnnualBalance("2023");
  before.SetLastClosedPeriod("02/12");
  before.SetCurrentPeriod("03/12");
  const auto rec = std::make_unique<FreezeRec>(books::closing::BuildFreezeRec(balance, before, "2024-03/12", 2024));
  const std::string b(reinterpret_cast<const char*>(rec->data()), FreezeRec::kSize);
  EXPECT_EQ(b.substr(0, 9), std::string("\x08") + "20240401");
  EXPECT_EQ(b.substr(9, 9), std::string("\x08") + "20240301");
  EXPECT_EQ(b.substr(18, 9), std::string("\x08") + "20231231");
  EXPECT_EQ(b.substr(27, 11), std::string("\x0a") + "2024-03/12");
  EXPECT_EQ(b.substr(39, 5), std::string("\x04") + "2023");
  EXPECT_EQ(b.substr(48, 6), std::string("\x05") + "02/12");
  EXPECT_EQ(b.substr(57, 5), std::string("\x04") + "2024");
  EXPECT_EQ(b.substr(66, 6), std::string("\x05") + "03/12");
  EXPECT_EQ(b[75], '\0');
  EXPECT_EQ(b.substr(76, 4), std::string("\xE8\x07\x00\x00", 4));  // 2024 little-endian
  const std::size_t r = 80;
  EXPECT_EQ(b.substr(r, 5), std::string("\x04") + "1000");
  EXPECT_EQ(b.substr(r + 21, 31), std::string("\x1e") + std::string(30, 'c'));
  EXPECT_EQ(b.substr(r + 52, 7), std::string("\x06") + "Assets");
  EXPECT_EQ(b.substr(r + 83, 2), std::string("\x01") + "D");
  EXPECT_EQ(b.substr(r + 85, 8), std::string("\x07") + "Balance");
  // The doubles in the record's order: year, opening own and other, closing
  // own and other.
  EXPECT_EQ(DoubleBytes(1.5), b.substr(r + 120, 8));
  EXPECT_EQ(DoubleBytes(2.0), b.substr(r + 128, 8));
  EXPECT_EQ(DoubleBytes(4.0), b.substr(r + 136, 8));
  EXPECT_EQ(DoubleBytes(3.0), b.substr(r + 144, 8));
  EXPECT_EQ(DoubleBytes(5.0), b.substr(r + 152, 8));
  EXPECT_EQ(b.substr(r + 160, 160), std::string(160, '\0'));
}

TEST(ClosingRules, AnIntentRecordCutOffOrDamagedIsNoRecord) {
  books::closing::ClosingIntent intent;
  intent.freeze.countBefore = 3;
  books::closing::VoucherFileStep step;
  step.index = 7;
  step.countBefore = 9;
  step.recs.resize(2);
  step.recs[0].SetBookNumber("! SYSTEM");
  intent.vouchers = {step};
  intent.settingsAfter.SetCompanyName("ACME");
  const std::string bytes = books::closing::EncodeIntent(intent);
  const auto back = books::closing::DecodeIntent(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(books::closing::EncodeIntent(*back), bytes);
  EXPECT_FALSE(books::closing::DecodeIntent(bytes.substr(0, bytes.size() - 1)));
  std::string damaged = bytes;
  damaged[100] ^= 1;
  EXPECT_FALSE(books::closing::DecodeIntent(damaged));
  EXPECT_FALSE(books::closing::DecodeIntent(""));
}

// --- on the fake data store --------------------------------------------------

records::LedgerCategoryRec Cat(std::string_view kind, const std::string& name) {
  records::LedgerCategoryRec c;
  c.SetCategoryKind(kind);
  c.SetCategoryName(name);
  return c;
}

records::LedgerAccountRec Acc(const std::string& number, const std::string& caption, const std::string& type,
                              const std::string& category) {
  records::LedgerAccountRec a;
  a.SetAccountNumber(number);
  a.SetCaption(caption);
  a.SetAccountType(type);
  a.SetCategoryName(category);
  a.SetStartDate("20000101");
  a.SetEndDate("20501231");
  return a;
}

JournalVoucherRec Line(const std::string& date, const std::string& number, const std::string& account, double debit,
                       double credit) {
  JournalVoucherRec v;
  v.SetVoucherDate(date);
  v.SetBookNumber(number);
  v.SetAccountNumber(text::Cut(account + std::string(30, ' '), 15));
  v.SetDebitAmount(debit);
  v.SetCreditAmount(credit);
  return v;
}

class Closing : public ::testing::Test, public support::AdministrationFolder {
 public:
  platform::ScopedNumberFormat numbers{'.'};

  static std::string Path(FileCode c) { return std::string("/d/ACME/") + store::FileInfo(c).fileName; }
  std::string File(FileCode c) const { return store.fs.File(Path(c)); }

  // 2024 in twelve months: sales 100 and costs 30 each month, but March a
  // loss (costs 200) and May nothing at all.
  void SetUp() override {
    text::SystemSettings.AmountDecimals = 2;
    std::vector<JournalVoucherRec> vouchers;
    for (int m = 1; m <= 12; ++m) {
      if (m == 5) continue;
      const std::string date = "2024" + Two(m) + "15";
      vouchers.push_back(Line(date, "V" + Two(m), "1000", 100, 0));
      vouchers.push_back(Line(date, "V" + Two(m), "4000", 0, 100));
      const double costs = m == 3 ? 200 : 30;
      vouchers.push_back(Line(date, "W" + Two(m), "7000", costs, 0));
      vouchers.push_back(Line(date, "W" + Two(m), "1000", 0, costs));
    }
    Write(Monthly(2024), vouchers);
  }

  void Write(const AdminSettingsRec& settings, const std::vector<JournalVoucherRec>& vouchers) {
    store::ScopedFileSet set("FRZ;ADS;GLA;GLC;JVO;INV;PAY;");
    ASSERT_TRUE(set.Ok());
    store::RewriteFile(FileCode::GLC,
                       std::vector<records::LedgerCategoryRec>{
                           Cat(records::kBalanceSheetKind, "Assets"), Cat(records::kBalanceSheetKind, "Equity"),
                           Cat(records::kProfitAndLossKind, "Revenue"), Cat(records::kProfitAndLossKind, "Expenses")});
    store::RewriteFile(FileCode::GLA,
                       std::vector<records::LedgerAccountRec>{
                           Acc("0800", "Retained earnings", "C", "Equity"), Acc("0900", "Profit", "P", "Equity"),
                           Acc("0950", "Result transfer", "T", "Revenue"), Acc("1000", "Bank", "D", "Assets"),
                           Acc("4000", "Sales", "C", "Revenue"), Acc("7000", "Costs", "D", "Expenses")});
    store::RewriteFile(FileCode::JVO, vouchers);
    store::RewriteFile(FileCode::ADS, std::vector<AdminSettingsRec>{settings});
    set.Close();
    ASSERT_FALSE(store::LoadAdminSettings());
  }

  std::vector<JournalVoucherRec> Vouchers() {
    store::ScopedFileSet set("JVO");
    return store::ReadAll<JournalVoucherRec>(FileCode::JVO);
  }
  std::vector<JournalVoucherRec> SystemLines(const std::string& date) {
    std::vector<JournalVoucherRec> out;
    for (const auto& v : Vouchers())
      if (v.VoucherDate() == date && v.BookNumber() == "! SYSTEM") out.push_back(v);
    return out;
  }
  int Frozen() {
    store::ScopedFileSet set("FRZ");
    return store::RecordCount(FileCode::FRZ);
  }
  books::closing::FreezeRun Freeze() { return books::closing::FreezeOpenPeriod(store::AdminSettings); }
  books::closing::UnfreezeRun Unfreeze() { return books::closing::UnfreezeLastPeriod(store::AdminSettings); }
};

TEST_F(Closing, AYearFrozenPeriodByPeriodAndUnfrozenBackToTheStart) {
  const std::string ads = File(FileCode::ADS), jvo = File(FileCode::JVO), frz = File(FileCode::FRZ);

  // The opening period: nothing before the book year, two zero lines each.
  books::closing::FreezeRun run = Freeze();
  ASSERT_TRUE(run.Ok()) << (run.messages.empty() ? "" : run.messages[0]);
  EXPECT_TRUE(run.FreezeClosedYear);
  EXPECT_EQ(run.FreezeLabel, "2023-01/01");
  EXPECT_EQ(run.vouchersPosted, 2);
  auto lines = SystemLines("20231231");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].DebitAmount(), 0);
  EXPECT_EQ(lines[1].CreditAmount(), 0);
  EXPECT_EQ(SystemLines("20240101").size(), 2u);
  EXPECT_EQ(store::AdminSettings.BookYearStart(), "20240101");
  EXPECT_EQ(store::AdminSettings.CurrentPeriod(), "01/12");
  EXPECT_EQ(store::AdminSettings.ApprovedAnnualBalance(), "2023");
  EXPECT_EQ(store::AdminSettings.FiscalYear(), "2024");
  EXPECT_EQ(File(FileCode::ADS).size(), 1386u);
  {
    store::ScopedFileSet set("FRZ");
    FreezeRec first;
    store::ReadRecord(FileCode::FRZ, 0, first);
    EXPECT_EQ(first.BookYear(), 2023);  // the first snapshot: fiscal year - 1
    EXPECT_EQ(first.CurrentPeriod(), "00/00");
  }

  // Months 1 to 12; the profit of each month goes to the profit account.
  for (int m = 1; m <= 12; ++m) {
    run = Freeze();
    ASSERT_TRUE(run.Ok()) << m << (run.messages.empty() ? "" : run.messages[0]);
    EXPECT_EQ(run.FreezeLabel, "2024-" + Two(m) + "/12");
    EXPECT_EQ(Frozen(), m + 1);
    const std::string last = m == 12 ? "20241231" : text::DateToYmd(text::YmdToDate("2024" + Two(m + 1) + "01") - 1);
    lines = SystemLines(last);
    ASSERT_EQ(lines.size(), 2u) << m;
    const double profit = m == 3 ? -100 : m == 5 ? 0 : 70;
    EXPECT_EQ(text::TrimTrailingBlanks(lines[0].AccountNumber()), "0950") << m;
    EXPECT_DOUBLE_EQ(lines[0].DebitAmount(), profit) << m;
    EXPECT_EQ(text::TrimTrailingBlanks(lines[1].AccountNumber()), "0900") << m;
    EXPECT_DOUBLE_EQ(lines[1].CreditAmount(), profit) << m;
    EXPECT_EQ(text::TrimTrailingBlanks(lines[0].LineText()), m == 12 ? " 2024/12/12" : " 2024/" + Two(m) + "/12");
    EXPECT_EQ(run.FreezeClosedYear, m == 12);
  }
  // The year end: the opening voucher of 2025 carries the year's profit.
  lines = SystemLines("20250101");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_DOUBLE_EQ(lines[0].DebitAmount(), 70 * 10 - 100);
  EXPECT_EQ(text::TrimTrailingBlanks(lines[1].AccountNumber()), "0800");
  EXPECT_EQ(store::AdminSettings.BookYearStart(), "20250101");
  EXPECT_EQ(store::AdminSettings.BookYearEnd(), "20251231");
  EXPECT_EQ(store::AdminSettings.PeriodStart(13), "20260101");
  EXPECT_EQ(store::AdminSettings.CurrentAnnualBalance(), "2025");
  EXPECT_EQ(store::AdminSettings.ApprovedAnnualBalance(), "2024");
  EXPECT_EQ(store::AdminSettings.FiscalYear(), "2025");
  EXPECT_EQ(store::AdminSettings.CurrentPeriod(), "01/12");

  // Back, one snapshot at a time: the year moves back at 12/12.
  for (int k = 13; k >= 1; --k) {
    const books::closing::UnfreezeRun back = Unfreeze();
    ASSERT_TRUE(back.Ok()) << k << " " << back.message;
    EXPECT_EQ(Frozen(), k - 1);
    EXPECT_EQ(File(FileCode::FRZ).size(), static_cast<std::size_t>(k - 1) * FreezeRec::kSize);
    if (k == 13) {
      EXPECT_EQ(store::AdminSettings.BookYearStart(), "20240101");
      EXPECT_EQ(store::AdminSettings.FiscalYear(), "2024");
      EXPECT_TRUE(SystemLines("20250101").empty());
    }
  }
  EXPECT_EQ(File(FileCode::ADS), ads);
  EXPECT_EQ(File(FileCode::JVO), jvo);
  EXPECT_EQ(File(FileCode::FRZ), frz);

  // With nothing frozen nothing changes, and it says so.
  const books::closing::UnfreezeRun none = Unfreeze();
  EXPECT_EQ(none.outcome, UnfreezeOutcome::NothingFrozen);
  EXPECT_EQ(File(FileCode::ADS), ads);
}

// A book year from 1 January and one from 1 April, frozen from the opening
// period to the year end: the report form's open item (from the freeze file
// and the settings, as the form lists it), the label the question names and
// the label stored are one text; only the opening period is stored as its
// year + "-01/01". A form that shows another period than the open one is
// refused as changed.
TEST_F(Closing, TheOpenPeriodHasOneLabelInTheListTheQuestionAndTheRecord) {
  AdminSettingsRec april;
  april.SetCompanyName("ACME");
  april.SetBookYearStart("20240401");
  april.SetBookYearEnd("20250331");
  april.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k) {
    const int month = (k + 2) % 12 + 1;
    april.SetPeriodStart(k, std::to_string(month >= 4 ? 2024 : 2025) + Two(month) + "01");
  }
  for (int k = 13; k <= 15; ++k) april.SetPeriodStart(k, "20250401");
  april.SetCurrentAnnualBalance("2425");
  april.SetCurrentPeriod("00/00");
  april.SetFiscalYear("2024");
  april.SetProfitAccountNumber("0800");
  april.SetDayBookName("Daybook");
  april.SetSplitJournals("false");
  struct Case {
    const char* name;
    AdminSettingsRec settings;
    std::vector<std::string> listed, stored;  // the opening freeze, then periods 1 to 12
    std::string afterwards;
  };
  std::vector<Case> cases = {{"from 1 January", Monthly(2024), {"2024-00/00"}, {"2023-01/01"}, "2025-01/12"},
                             {"from 1 April", april, {"2425-00/00"}, {"2024-01/01"}, "2526-01/12"}};
  for (int m = 1; m <= 12; ++m) {
    cases[0].listed.push_back("2024-" + Two(m) + "/12");
    cases[1].listed.push_back("2425-" + Two(m) + "/12");
  }
  for (int m = 1; m <= 12; ++m) {
    cases[0].stored.push_back(cases[0].listed[m]);
    cases[1].stored.push_back(cases[1].listed[m]);
  }
  const auto openItem = [this] {
    store::ScopedFileSet set("FRZ");
    std::vector<std::string> labels;
    for (const FreezeRec& f : store::ReadAll<FreezeRec>(FileCode::FRZ)) labels.push_back(f.PeriodLabel());
    return books::reporting::PeriodListItems(labels, store::AdminSettings.CurrentAnnualBalance(),
                                    store::AdminSettings.CurrentPeriod())
        .front();
  };
  const std::vector<JournalVoucherRec> vouchers = Vouchers();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      store::ScopedFileSet set("FRZ");
      store::RewriteFile(FileCode::FRZ, std::vector<FreezeRec>{});
    }
    Write(c.settings, vouchers);
    for (std::size_t i = 0; i < c.listed.size(); ++i) {
      SCOPED_TRACE(i);
      const std::string item = openItem();
      EXPECT_EQ(item, c.listed[i]);
      EXPECT_NE(books::closing::FreezeQuestion(item).find(item), std::string::npos);
      const std::string files = File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ);
      const books::closing::FreezeRun other = books::closing::FreezeOpenPeriod(store::AdminSettings, {}, item + "x");
      EXPECT_EQ(other.outcome, FreezeOutcome::SettingsChanged);
      EXPECT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), files);
      const books::closing::FreezeRun run = books::closing::FreezeOpenPeriod(store::AdminSettings, {}, item);
      ASSERT_TRUE(run.Ok()) << (run.messages.empty() ? "" : run.messages[0]);
      EXPECT_EQ(run.FreezeLabel, c.stored[i]);
      store::ScopedFileSet set("FRZ");
      FreezeRec last;
      store::ReadRecord(FileCode::FRZ, store::RecordCount(FileCode::FRZ) - 1, last);
      EXPECT_EQ(last.PeriodLabel(), c.stored[i]);
    }
    EXPECT_EQ(openItem(), c.afterwards);
  }
}

// The net of every ledger card of `label` as the card report makes it from
// the files (on the account's own side: the closing line's amount), and the
// trial balance's net of every account.
std::map<std::string, double> CardNets(const std::string& label) {
  store::ScopedFileSet set("FRZ;GLA;GLC;JVO;");
  const auto freezes = store::ReadAll<FreezeRec>(FileCode::FRZ);
  const auto accounts = store::ReadAll<records::LedgerAccountRec>(FileCode::GLA);
  const auto categories = store::ReadAll<records::LedgerCategoryRec>(FileCode::GLC);
  const auto vouchers = store::ReadAll<JournalVoucherRec>(FileCode::JVO);
  set.Close();
  const books::reporting::ResolvedReport resolved =
      books::reporting::ResolveReportPeriod("3", label, store::AdminSettings, freezes);
  std::array<double, 6> sums{};
  books::reporting::ReportLineSources src;
  src.kind = '3';
  src.accounts = &accounts;
  src.categories = &categories;
  src.vouchers = &vouchers;
  src.period = resolved.period;
  src.sums = &sums;
  if (const auto k = resolved.OpeningSnapshot()) src.openingSnapshot = &freezes[static_cast<std::size_t>(*k)];
  for (const auto& a : accounts) src.cardAccounts.push_back({text::TrimTrailingBlanks(a.AccountNumber()), a.Caption()});
  std::map<std::string, double> nets;
  books::reporting::ReportLineState s;
  if (!books::reporting::StartLedgerCard(s, src)) return nets;
  for (int guard = 0; !s.endOfData && guard < 1000; ++guard) {
    books::reporting::NextReportLine(s, src);
    if (s.lineFound && (!s.groupEnd || s.prevGroupEnd)) {
      const std::string& number = src.cardAccounts[static_cast<std::size_t>(s.card.accountIndex)].number;
      if (s.section == books::reporting::Section::ToBS || s.section == books::reporting::Section::ToPL)
        nets[number] = s.voucher.DebitAmount() + s.voucher.CreditAmount();
      sums[0] += s.voucher.DebitAmount();
      sums[1] += s.voucher.CreditAmount();
    }
    if (s.groupEnd && !s.prevGroupEnd) {
      sums = {};
      if (!books::reporting::StartLedgerCard(s, src)) break;
    }
  }
  return nets;
}

std::map<std::string, double> TrialBalanceNets(const std::string& label) {
  books::closing::BalanceRequest rq;
  rq.kind = '1';
  rq.periodText = label;
  rq.settings = store::AdminSettings;
  const books::closing::BalanceGridRun run = books::closing::ComputeBalanceGrid(rq);
  EXPECT_EQ(run.result.error, "");
  std::map<std::string, double> nets;
  for (const auto& row : run.result.table) nets[row.AccountNumber] = row.ClosingOwnSide - row.ClosingOtherSide;
  return nets;
}

// The opening period carries last year's profit of 380 (the start amounts)
// into the profit-taking account 0800 by the year-opening voucher of 1
// January; January earns 70. Open and frozen, every card of the first
// period closes at the trial balance's figure: the frozen period's card
// opens at the record before it, so the year-opening voucher counts once.
TEST_F(Closing, EveryLedgerCardOfTheFirstPeriodClosesAtTheTrialBalanceOpenAndFrozen) {
  {
    store::ScopedFileSet set("GLA");
    auto accounts = store::ReadAll<records::LedgerAccountRec>(FileCode::GLA);
    for (auto& a : accounts) {
      const std::string number = text::TrimTrailingBlanks(a.AccountNumber());
      a.SetStartDate("20231231");
      a.SetStartAmount(number == "1000" ? 1000 : number == "0800" ? 620 : number == "4000" ? 380 : 0);
    }
    store::RewriteFile(FileCode::GLA, accounts);
  }
  ASSERT_TRUE(Freeze().Ok());
  struct Case {
    const char* name;
    std::map<std::string, double> want;  // the checked accounts
  };
  const std::vector<Case> cases = {
      // Open, the period's profit is not yet booked to P and T by a voucher.
      {"open", {{"0800", 1000}, {"1000", 1070}, {"4000", 100}, {"7000", 30}}},
      {"frozen", {{"0800", 1000}, {"0900", 70}, {"0950", 70}, {"1000", 1070}, {"4000", 100}, {"7000", 30}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string(c.name) == "frozen") {
      ASSERT_TRUE(Freeze().Ok());
    }
    const auto cards = CardNets("2024-01/12");
    const auto trial = TrialBalanceNets("2024-01/12");
    for (const auto& [number, want] : c.want) {
      EXPECT_DOUBLE_EQ(cards.at(number), want) << number;
      EXPECT_DOUBLE_EQ(trial.at(number), want) << number;
    }
  }
}

TEST_F(Closing, RefusalsWriteNothing) {
  const auto files = [this] { return File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ); };
  const std::string before = files();

  // Invoices and payments without voucher before the period end: both said.
  {
    store::ScopedFileSet set("INV;PAY");
    records::InvoiceRec inv;
    inv.SetVoucherDate("20231201");
    store::RewriteFile(FileCode::INV, std::vector<records::InvoiceRec>{inv});
    records::PaymentRec pay;
    pay.SetValueDate("20231202");
    store::RewriteFile(FileCode::PAY, std::vector<records::PaymentRec>{pay});
  }
  books::closing::FreezeRun run = Freeze();
  EXPECT_EQ(run.outcome, FreezeOutcome::UnbookedDocuments);
  EXPECT_TRUE(run.invoicesWithoutVoucher);
  EXPECT_TRUE(run.paymentsWithoutVoucher);
  EXPECT_EQ(run.messages, (std::vector<std::string>{text::L(11132), text::L(11243)}));
  EXPECT_EQ(files(), before);
  {
    store::ScopedFileSet set("INV;PAY");
    store::RewriteFile(FileCode::INV, std::vector<records::InvoiceRec>{});
  }
  run = Freeze();
  EXPECT_FALSE(run.invoicesWithoutVoucher);
  EXPECT_TRUE(run.paymentsWithoutVoucher);
  EXPECT_EQ(run.messages, (std::vector<std::string>{text::L(11243)}));
  {
    store::ScopedFileSet set("PAY");
    store::RewriteFile(FileCode::PAY, std::vector<records::PaymentRec>{});
  }

  // The form froze by another period than the file now holds.
  AdminSettingsRec other = store::AdminSettings;
  other.SetCurrentPeriod("02/12");
  run = books::closing::FreezeOpenPeriod(other);
  EXPECT_EQ(run.outcome, FreezeOutcome::SettingsChanged);
  EXPECT_EQ(files(), before);

  // Another copy moved the start of period 2 after the form loaded them.
  {
    const std::string ads = File(FileCode::ADS);
    AdminSettingsRec moved = store::AdminSettings;
    moved.SetPeriodStart(2, "20240215");
    store.fs.SetFile(Path(FileCode::ADS), support::Bytes(moved));
    const std::string changed = files();
    run = Freeze();
    EXPECT_EQ(run.outcome, FreezeOutcome::SettingsChanged);
    EXPECT_EQ(run.messages, std::vector<std::string>{books::closing::MsgFreezeSettingsChanged()});
    EXPECT_EQ(files(), changed);
    store.fs.SetFile(Path(FileCode::ADS), ads);
  }

  // A system voucher where the closing posts.
  {
    store::ScopedFileSet set("JVO");
    store::InsertRecords(FileCode::JVO, 0, std::vector<JournalVoucherRec>{Line("20231231", "{SYSTEM}", "1000", 0, 0)});
  }
  const std::string withSystem = files();
  run = Freeze();
  EXPECT_EQ(run.outcome, FreezeOutcome::SystemVoucherExists);
  EXPECT_EQ(files(), withSystem);
  {
    store::ScopedFileSet set("JVO");
    store::DeleteRecords(FileCode::JVO, 0, 1);
  }

  // A fiscal year that is no number.
  AdminSettingsRec bad = Monthly(2024);
  bad.SetFiscalYear("-");
  Write(bad, Vouchers());
  const std::string badFiles = files();
  run = Freeze();
  EXPECT_EQ(run.outcome, FreezeOutcome::BadFiscalYear);
  EXPECT_EQ(files(), badFiles);

  // No T account.
  Write(Monthly(2024), Vouchers());
  {
    store::ScopedFileSet set("GLA");
    auto accounts = store::ReadAll<records::LedgerAccountRec>(FileCode::GLA);
    accounts.erase(accounts.begin() + 2);
    store::RewriteFile(FileCode::GLA, accounts);
  }
  const std::string noT = files();
  run = Freeze();
  EXPECT_EQ(run.outcome, FreezeOutcome::NotPermitted);
  EXPECT_EQ(files(), noT);
}

TEST_F(Closing, ABalanceThatDoesNotAllowAFreezeIsToldAndWritesNothing) {
  struct Case {
    const char* name;
    std::function<void(AdminSettingsRec&, std::vector<JournalVoucherRec>&)> change;
    std::string message;
  };
  const books::closing::BalanceTexts texts;
  const std::vector<Case> cases = {
      {"no profit account in the settings", [](AdminSettingsRec& s, auto&) { s.SetProfitAccountNumber(""); },
       texts.noProfitAccountNumber},
      {"books out of balance",
       [](AdminSettingsRec&, std::vector<JournalVoucherRec>& v) {
         v.insert(v.begin(), Line("20240105", "X1", "1000", 50, 0));
       },
       ""},
  };
  for (const Case& c : cases) {
    AdminSettingsRec s = Monthly(2024);
    std::vector<JournalVoucherRec> vouchers = Vouchers();
    c.change(s, vouchers);
    Write(s, vouchers);
    // The opening period first: January is the one refused.
    if (!s.ProfitAccountNumber().empty()) {
      ASSERT_TRUE(Freeze().Ok()) << c.name;
    }
    const std::string before = File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ);
    const books::closing::FreezeRun run = Freeze();
    EXPECT_EQ(run.outcome, FreezeOutcome::NotPermitted) << c.name;
    ASSERT_EQ(run.messages.size(), 1u) << c.name;
    if (!c.message.empty()) {
      EXPECT_EQ(run.messages[0], c.message) << c.name;
    }
    EXPECT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), before) << c.name;
  }
}

// The freeze refuses with the grid's own texts, so a refusal reads in the
// language the grid was shown in.
TEST_F(Closing, ARefusalReadsInTheLanguageOfTheGrid) {
  AdminSettingsRec s = Monthly(2024);
  s.SetProfitAccountNumber("");
  Write(s, Vouchers());
  text::LanguageRec dutch = text::BuiltInEnglish();
  dutch.SetL(9994, "Geen winstrekening in de administratie-instellingen");
  const books::closing::FreezeRun run =
      books::closing::FreezeOpenPeriod(store::AdminSettings, books::closing::BalanceTextsOf(dutch));
  EXPECT_EQ(run.outcome, FreezeOutcome::NotPermitted);
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0], "Geen winstrekening in de administratie-instellingen");
}

TEST_F(Closing, TheUnfreezeRefusesWhenTheSettingsChangedSinceTheFormLoadedThem) {
  ASSERT_TRUE(Freeze().Ok());
  AdminSettingsRec loaded = store::AdminSettings;
  loaded.SetCompanyName("typed but not saved elsewhere");
  const std::string before = File(FileCode::ADS) + File(FileCode::FRZ);
  const books::closing::UnfreezeRun run = books::closing::UnfreezeLastPeriod(loaded);
  EXPECT_EQ(run.outcome, UnfreezeOutcome::SettingsChanged);
  EXPECT_EQ(File(FileCode::ADS) + File(FileCode::FRZ), before);
}

TEST_F(Closing, ARunCutOffAfterAnyWriteIsFinishedAtTheNextOpen) {
  // Frozen up to 11/12, so that the cut-off run is the year end.
  for (int k = 0; k < 12; ++k) ASSERT_TRUE(Freeze().Ok());
  const std::string before = File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ);
  const AdminSettingsRec loaded = store::AdminSettings;
  std::string after;
  {
    ASSERT_TRUE(Freeze().Ok());
    after = File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ);
    ASSERT_TRUE(books::closing::UnfreezeLastPeriod(store::AdminSettings).Ok());
    ASSERT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), before);
  }
  books::closing::InstallClosingIntentHook();
  int replayed = 0, told = 0;
  for (int good = 0;; ++good) {
    store::AdminSettings = loaded;
    store.fs.CrashAfter(good);
    bool finished = false;
    try {
      finished = books::closing::FreezeOpenPeriod(loaded).Ok();
    } catch (const std::exception&) {
    }
    const bool crashed = store.fs.Crashed();
    store.fs.ClearErrors();
    store::ForceCloseFileSet();
    // The next open finishes what the run began, or finds it never began,
    // and a finished run is told.
    { store::ScopedFileSet set("ADS"); }
    const std::string now = File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ);
    EXPECT_TRUE(now == before || now == after) << "cut after " << good << " writes";
    if (const std::string note = books::closing::TakeReplayNote(); !note.empty()) {
      EXPECT_NE(note.find(books::closing::MsgIntentFinished()), std::string::npos) << good << ": " << note;
      EXPECT_TRUE(now == after) << good;
      ++told;
    }
    EXPECT_FALSE(store.fs.HasFile("/d/ACME/closing.ombrelo-intent")) << good;
    // A second open changes nothing more.
    { store::ScopedFileSet set("ADS"); }
    EXPECT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), now) << good;
    if (now == after) {
      ASSERT_TRUE(store::LoadAdminSettings() == std::nullopt);
      ASSERT_TRUE(Unfreeze().Ok()) << good;
      ASSERT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), before) << good;
    }
    if (crashed && now == after) ++replayed;
    if (!crashed && finished) break;
    ASSERT_LT(good, 200);
  }
  // Some runs were cut after their intent record and finished by the open.
  EXPECT_GT(replayed, 0);
  EXPECT_GT(told, 0);

  // The unfreeze of that year end, cut off the same way.
  ASSERT_TRUE(books::closing::FreezeOpenPeriod(loaded).Ok());
  ASSERT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), after);
  const AdminSettingsRec frozen = store::AdminSettings;
  replayed = told = 0;
  for (int good = 0;; ++good) {
    store::AdminSettings = frozen;
    store.fs.CrashAfter(good);
    bool finished = false;
    try {
      finished = books::closing::UnfreezeLastPeriod(frozen).Ok();
    } catch (const std::exception&) {
    }
    const bool crashed = store.fs.Crashed();
    store.fs.ClearErrors();
    store::ForceCloseFileSet();
    { store::ScopedFileSet set("JVO"); }
    const std::string now = File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ);
    EXPECT_TRUE(now == before || now == after) << "cut after " << good << " writes";
    if (const std::string note = books::closing::TakeReplayNote(); !note.empty()) {
      EXPECT_NE(note.find(books::closing::MsgIntentFinished()), std::string::npos) << good << ": " << note;
      EXPECT_TRUE(now == before) << good;
      ++told;
    }
    EXPECT_FALSE(store.fs.HasFile("/d/ACME/closing.ombrelo-intent")) << good;
    { store::ScopedFileSet set("FRZ;JVO"); }
    EXPECT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), now) << good;
    if (now == before) {
      if (crashed) ++replayed;
      ASSERT_TRUE(store::LoadAdminSettings() == std::nullopt);
      ASSERT_TRUE(books::closing::FreezeOpenPeriod(store::AdminSettings).Ok()) << good;
      ASSERT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), after) << good;
    }
    if (!crashed && finished) break;
    ASSERT_LT(good, 200);
  }
  EXPECT_GT(replayed, 0);
  EXPECT_GT(told, 0);
}

TEST_F(Closing, AnUnfreezeWithFewerSnapshotsThanPeriodsTakesTheLastOneReadForTheEarlierPeriods) {
  // Only the year end of 2024 was ever frozen (no opening freeze, no
  // earlier periods): its snapshot is the file's first.
  AdminSettingsRec s = Monthly(2025);
  s.SetApprovedAnnualBalance("2024");
  s.SetLastClosedPeriod("12/12");
  s.SetCurrentAnnualBalance("2025");
  s.SetCurrentPeriod("01/12");
  s.SetFiscalYear("2025");
  Write(s, {});
  {
    store::ScopedFileSet set("FRZ");
    auto r = std::make_unique<FreezeRec>();
    r->SetPeriodLabel("2024-12/12");
    r->SetPeriodStartDate("20241201");
    r->SetPeriodEndDate("20250101");
    r->SetYearBaseDate("20231231");
    r->SetApprovedAnnualBalance("2023");
    r->SetLastClosedPeriod("11/12");
    r->SetCurrentAnnualBalance("2024");
    r->SetCurrentPeriod("12/12");
    r->SetBookYear(2023);  // the first snapshot holds the fiscal year - 1
    store::AppendRecord(FileCode::FRZ, *r);
  }
  const books::closing::UnfreezeRun run = Unfreeze();
  ASSERT_TRUE(run.Ok()) << run.message;
  const AdminSettingsRec& back = store::AdminSettings;
  EXPECT_EQ(back.BookYearEnd(), "20241231");
  EXPECT_EQ(back.PeriodCount(), 12);
  EXPECT_EQ(back.PeriodStart(13), "20250101");
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(back.PeriodStart(k), "20241201") << k;
  EXPECT_EQ(back.BookYearStart(), "20241201");
  EXPECT_EQ(back.FiscalYear(), "2024");
  EXPECT_EQ(back.CurrentPeriod(), "12/12");
  EXPECT_EQ(back.LastClosedPeriod(), "11/12");
  EXPECT_EQ(File(FileCode::FRZ).size(), 0u);
}

}  // namespace

namespace {

TEST_F(Closing, AnIntentRecordThatCannotBeFinishedIsKeptAndADamagedOneDeleted) {
  books::closing::InstallClosingIntentHook();
  const std::string intentPath = "/d/ACME/closing.ombrelo-intent";
  const std::string files = File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ);

  // Cut off while it was written: no step began.
  store.fs.SetFile(intentPath, "OMBCLS01 torn");
  { store::ScopedFileSet set("ADS"); }
  EXPECT_FALSE(store.fs.HasFile(intentPath));
  EXPECT_EQ(books::closing::TakeReplayNote(), "");
  EXPECT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), files);

  // Whole, but the settings hold neither its before nor its after state.
  books::closing::ClosingIntent intent;
  intent.freeze.op = books::closing::FreezeFileStep::Op::Append;
  intent.freeze.countBefore = 0;
  intent.settingsBefore.SetCompanyName("not these settings");
  intent.settingsAfter.SetCompanyName("nor these");
  store.fs.SetFile(intentPath, books::closing::EncodeIntent(intent));
  { store::ScopedFileSet set("JVO"); }
  EXPECT_TRUE(store.fs.HasFile(intentPath));
  const std::string note = books::closing::TakeReplayNote();
  EXPECT_NE(note.find("the file adminset.vlk no longer holds what it left"), std::string::npos) << note;
  // Every file is looked at first: nothing changed.
  EXPECT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), files);
  // Nothing more is frozen or unfrozen while it stays, and it says why.
  const books::closing::FreezeRun run = Freeze();
  EXPECT_EQ(run.outcome, FreezeOutcome::Stopped);
  EXPECT_EQ(run.messages, std::vector<std::string>{note});
  EXPECT_EQ(Unfreeze().outcome, UnfreezeOutcome::Stopped);
  EXPECT_TRUE(store.fs.HasFile(intentPath));
}

// A closing record that cannot be finished keeps the books from moving
// further away from it: a voucher save is refused with its message and
// the voucher file stays as it is, while reading goes on; once the file it
// names holds what it should again, the next open finishes the closing.
// The program never deletes the record itself.
TEST_F(Closing, AClosingThatCannotBeFinishedBlocksTheChangesOfItsFilesUntilTheFileIsMended) {
  books::closing::InstallClosingIntentHook();
  const std::string intentPath = "/d/ACME/closing.ombrelo-intent";
  const std::string settings = File(FileCode::ADS);
  // The record of a freeze of the opening period that stopped before its
  // first step; the settings were then replaced by another copy's.
  books::closing::ClosingIntent intent;
  intent.freeze.op = books::closing::FreezeFileStep::Op::Append;
  intent.freeze.countBefore = 0;
  intent.freeze.rec.SetPeriodLabel("2023-01/01");
  intent.settingsBefore = store::AdminSettings;
  intent.settingsAfter = store::AdminSettings;
  intent.settingsAfter.SetCurrentPeriod("01/12");
  store.fs.SetFile(intentPath, books::closing::EncodeIntent(intent));
  AdminSettingsRec other = store::AdminSettings;
  other.SetCompanyName("another copy's settings");
  store.fs.SetFile(Path(FileCode::ADS), support::Bytes(other));
  const std::string jvo = File(FileCode::JVO);

  books::journal::Voucher v;
  v.header = {"20240620", "X9", "", "", ""};
  v.lines.push_back({"cash", "1000", "Bank", "", 10, 0, false});
  v.lines.push_back({"cash", "4000", "Sales", "", 0, 10, false});
  try {
    books::journal::SaveVoucher(v);
    ADD_FAILURE() << "the save went on";
  } catch (const platform::IoError& e) {
    EXPECT_NE(std::string(e.what()).find("adminset.vlk"), std::string::npos) << e.what();
  }
  // The bank import's change of several files together is refused alike.
  try {
    store::ScopedFileSet set("JVO;PAY");
    store::ChangeTogether({{FileCode::JVO, {0}, std::string(JournalVoucherRec::kSize, '\0'), {}, {}}});
    ADD_FAILURE() << "the group change went on";
  } catch (const platform::IoError& e) {
    EXPECT_NE(std::string(e.what()).find("adminset.vlk"), std::string::npos) << e.what();
  }
  EXPECT_EQ(File(FileCode::JVO), jvo);
  EXPECT_TRUE(store.fs.HasFile(intentPath));
  // Reading goes on.
  EXPECT_EQ(Vouchers().size(), jvo.size() / JournalVoucherRec::kSize);
  books::closing::TakeReplayNote();

  // Mended: the next open finishes the closing, and changes go on.
  store.fs.SetFile(Path(FileCode::ADS), settings);
  { store::ScopedFileSet set("ADS"); }
  EXPECT_EQ(books::closing::TakeReplayNote(), books::closing::MsgIntentFinished());
  EXPECT_FALSE(store.fs.HasFile(intentPath));
  EXPECT_EQ(Frozen(), 1);
  EXPECT_EQ(support::Record<AdminSettingsRec>(File(FileCode::ADS)).CurrentPeriod(), "01/12");
  EXPECT_EQ(books::journal::SaveVoucher(v).outcome, books::journal::StoreOutcome::Done);
}

// A damaged settings file refuses the freeze and the unfreeze before
// anything is written (no closing record either), with a message naming
// it; once it is mended the freeze goes on.
TEST_F(Closing, ADamagedSettingsFileRefusesTheFreezeAndTheUnfreezeAndWritesNothing) {
  ASSERT_TRUE(Freeze().Ok());  // something to unfreeze
  const std::string good = File(FileCode::ADS);
  AdminSettingsRec garbage;
  std::memset(garbage.data(), 'x', AdminSettingsRec::kSize);
  AdminSettingsRec badPeriod = store::AdminSettings;
  badPeriod.SetCurrentPeriod("13/12");
  struct Case {
    const char* name;
    std::string bytes;
    std::string what;
  };
  const std::vector<Case> cases = {
      {"two records", good + good, "it holds 2 records; it must hold 1"},
      {"short", good.substr(0, 100), "it holds 100 bytes, not one whole record of 1386"},
      {"garbage", support::Bytes(garbage), "the book-year start \"xxxxxxxx\" is no date"},
      {"a current period after the last", support::Bytes(badPeriod), "the current period \"13/12\" is no period"},
      // Far beyond one record (the store's small-file limit and more): the
      // size alone refuses it.
      {"huge", std::string(static_cast<std::size_t>(store::kSmallFileLimit) + AdminSettingsRec::kSize, 'x'),
       "it holds 67110250 bytes, not one whole record of 1386"},
  };
  const std::string intentPath = "/d/ACME/closing.ombrelo-intent";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.fs.SetFile(Path(FileCode::ADS), c.bytes);
    const std::string before = File(FileCode::JVO) + File(FileCode::FRZ);
    const books::closing::FreezeRun run = Freeze();
    EXPECT_EQ(run.outcome, FreezeOutcome::DamagedFile);
    EXPECT_EQ(run.messages, std::vector<std::string>{"damaged file adminset.vlk: " + c.what});
    const books::closing::UnfreezeRun back = Unfreeze();
    EXPECT_EQ(back.outcome, UnfreezeOutcome::DamagedFile);
    EXPECT_EQ(back.message, "damaged file adminset.vlk: " + c.what);
    EXPECT_FALSE(store.fs.HasFile(intentPath));
    EXPECT_EQ(File(FileCode::JVO) + File(FileCode::FRZ), before);
    EXPECT_EQ(File(FileCode::ADS), c.bytes);
  }
  store.fs.SetFile(Path(FileCode::ADS), good);
  EXPECT_TRUE(Freeze().Ok());
  EXPECT_EQ(Frozen(), 2);
}

// A damaged last snapshot is told as such, not as a missing account.
TEST_F(Closing, ADamagedSnapshotIsToldAsSuch) {
  ASSERT_TRUE(Freeze().Ok());
  std::string frz = File(FileCode::FRZ);
  std::memset(frz.data(), 'x', 40);
  store.fs.SetFile(Path(FileCode::FRZ), frz);
  const std::string before = File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ);
  const books::closing::FreezeRun run = Freeze();
  EXPECT_EQ(run.outcome, FreezeOutcome::DamagedFile);
  EXPECT_EQ(run.messages, std::vector<std::string>{"damaged file freeze.vlk: record 1: the period end \"xxxxxxxx\" is no date"});
  EXPECT_EQ(Unfreeze().outcome, UnfreezeOutcome::DamagedFile);
  EXPECT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), before);
}

// The disk full while the freeze writes its closing record: the error
// names the file and the system's text, and every file is as it was.
TEST_F(Closing, AFullDiskStopsTheFreezeWithTheFileAndTheSystemsText) {
  const std::string before = File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ);
  store.fs.InjectError("/d/ACME/closing.ombrelo-intent.ombrelo-tmp", support::FakeFileSystem::Op::Write,
                       platform::kErrnoBase + ENOSPC);
  try {
    Freeze();
    ADD_FAILURE() << "no error";
  } catch (const platform::IoError& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("closing.ombrelo-intent"), std::string::npos) << text;
    EXPECT_NE(text.find("No space left on device"), std::string::npos) << text;
  }
  store.fs.ClearErrors();
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_FALSE(store.fs.HasFile("/d/ACME/closing.ombrelo-intent"));
  EXPECT_FALSE(store.fs.HasFile("/d/ACME/closing.ombrelo-intent.ombrelo-tmp"));
  EXPECT_EQ(File(FileCode::ADS) + File(FileCode::JVO) + File(FileCode::FRZ), before);
}

}  // namespace
