// A partner's finance and chart tabs in the whole program, over two book
// years: log in, open the partners node, find a customer and read its
// figures and chart for 2024 against 2023; then the book year moves on to
// 2025 (as a year-end closing leaves the settings), the next log-in shows
// 2024 as the previous year. The supplier with the same number keeps its
// own invoices.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "masterdata/unitpartners.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "records/invoicerec.h"
#include "records/ledgeraccountrec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "store/fileset.h"
#include "text/textroutines.h"
#include "support/program.h"
#include "support/records.h"

namespace {

using masterdata::Tpartners2;
using program::TreeFunction;
using support::Bytes;

const std::string D = "/w/data/ACME/";

// The book year `year` in twelve months, after the year-end closing of the
// year before (the last closed period 12/12) or within it.
records::AdminSettingsRec BookYear(int year, const std::string& lastClosed, const std::string& current) {
  records::AdminSettingsRec s = support::MonthlyBookYear(year);
  const std::string y = std::to_string(year);
  s.SetApprovedAnnualBalance(std::to_string(year - 1));
  s.SetCurrentAnnualBalance(y);
  s.SetLastClosedPeriod(lastClosed);
  s.SetCurrentPeriod(current);
  s.SetFiscalYear(y);
  s.SetSplitJournals("false");
  return s;
}

records::InvoiceRec Invoice(const std::string& kind, const std::string& date, const std::string& number,
                            double amount, double paid) {
  records::InvoiceRec r;
  r.SetPartnerType(kind);
  r.SetPartnerNumber(5);
  r.SetVoucherDate(date);
  r.SetInvoiceDate(date);
  r.SetInvoiceNumber(number);
  r.SetInvoiceAmount(amount);
  r.SetPaidAmount(paid);
  r.SetVoucherCreated(true);
  return r;
}

records::PaymentRec Payment(const std::string& date, int number, double amount, bool booked) {
  records::PaymentRec r;
  r.SetPartnerType("CUS");
  r.SetPartnerNumber(5);
  r.SetValueDate(date);
  r.SetPaymentNumber(number);
  r.SetAmount(amount);
  r.SetVoucherCreated(booked);
  return r;
}

class PartnerFinanceRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2025, 2, 3) + platform::EncodeTime(9, 30, 0, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  void SetUp() override {
    StartWithAcme();
    LogInToAcme();
    records::LedgerAccountRec gla;
    gla.SetAccountNumber("1300");
    gla.SetCaption("Debtors");
    store.fs.SetFile(D + "ledger.vlk", Bytes(std::vector<records::LedgerAccountRec>{gla}));
    records::PartnerRec five;
    five.SetOurNumber(5);
    five.SetName("Five Retail");
    five.SetRelationshipType("CUS");
    five.SetPartnerGroup("1300");
    five.SetSalesCostGroup1("8000");
    records::PartnerRec supplier = five;
    supplier.SetName("Five Supplies");
    supplier.SetRelationshipType("VEN");
    store.fs.SetFile(D + "customer.vlk", Bytes(std::vector<records::PartnerRec>{five}));
    store.fs.SetFile(D + "supplier.vlk", Bytes(std::vector<records::PartnerRec>{supplier}));
    // Invoices by book date: March 2023, March and November 2024, January
    // 2025; the supplier's of March 2024 is not the customer's.
    store.fs.SetFile(D + "invsum.vlk", Bytes(std::vector<records::InvoiceRec>{
                                           Invoice("CUS", "20230310", "F1", 200, 150),
                                           Invoice("CUS", "20240310", "F2", 100, 40),
                                           Invoice("VEN", "20240310", "P1", 900, 0),
                                           Invoice("CUS", "20241115", "F3", 50, 0),
                                           Invoice("CUS", "20250105", "F4", 30, 0)}));
    store.fs.SetFile(D + "payment.vlk", Bytes(std::vector<records::PaymentRec>{
                                            Payment("20240320", 1, 40, true), Payment("20250120", 2, 30, false)}));
    LogInAgainWith(BookYear(2024, "04/12", "05/12"));
    ASSERT_TRUE(backend.messages.empty()) << backend.messages.back().text;
  }

  // Opens the partners node, finds customer 5 and runs `script`.
  void Partner(const std::function<void(Tpartners2&)>& script) {
    ShowFromTree<Tpartners2>(TreeFunction::Partners, "partners2", [&script](Tpartners2& f) {
      f.ComboBox2.UserSelect(0);
      f.Edit30.UserSetText("five");
      f.Button1.UserClick();
      ASSERT_EQ(f.details.Edit26.GetText(), "5");
      ASSERT_EQ(f.details.Edit1.GetText(), "Five Retail");
      script(f);
    });
  }

  static std::string Amount(double v) { return text::FormatAmount(v, 2, 'Y'); }
  // The value of `series` at period p (1-based).
  static double At(const Tpartners2& f, int series, int p) {
    const auto& points = f.chart.Chart1.Series(series).points;
    EXPECT_GE(points.size(), static_cast<std::size_t>(p));
    if (points.size() < static_cast<std::size_t>(p)) return -1;
    EXPECT_EQ(points[static_cast<std::size_t>(p - 1)].first, p);
    return points[static_cast<std::size_t>(p - 1)].second;
  }
};

// The chart's series: 0 and 1 the current and previous year's invoiced
// amounts as bars; 12 and 13 the same as running totals.
TEST_F(PartnerFinanceRoad, TheFiguresAndChartFollowTheBookYear) {
  Partner([&](Tpartners2& f) {
    f.TabControl1.UserSelectTab(books::partners::TabFinance);
    // Owing: 50 + 60 + 50 + 30; the unbooked payment of 30 is taken off.
    EXPECT_EQ(f.finance.Edit18.GetText(), Amount(190));
    EXPECT_EQ(f.finance.Edit19.GetText(), Amount(30));
    EXPECT_EQ(f.finance.Edit50.GetText(), Amount(160));
    EXPECT_EQ(f.finance.Edit51.GetText(), Amount(150));
    EXPECT_EQ(f.finance.Edit52.GetText(), Amount(200));
    EXPECT_EQ(f.finance.StringGrid2.RowCount(), 5) << "the customer's four invoices under the heading";
    EXPECT_EQ(f.finance.StringGrid3.RowCount(), 3);
    EXPECT_EQ(f.finance.Label61.Caption(), masterdata::PartnerPeriodText + "2024 04/12");

    f.TabControl1.UserSelectTab(books::partners::TabGraphics);
    EXPECT_EQ(f.chart.Chart1.Series(0).points.size(), 12u);
    EXPECT_EQ(At(f, 0, 3), 100);
    EXPECT_EQ(At(f, 0, 11), 50);
    EXPECT_EQ(At(f, 0, 1), 0) << "January 2025 lies after the book year";
    EXPECT_EQ(At(f, 1, 3), 200);
    f.chart.ToolButton7.UserClick();  // running totals
    EXPECT_EQ(At(f, 12, 10), 100);
    EXPECT_EQ(At(f, 12, 12), 150);
    EXPECT_EQ(At(f, 13, 12), 200);
  });

  // The year-end closing has moved the book year on: 2024 is now the
  // previous year, and January 2025 the current year's first period.
  LogInAgainWith(BookYear(2025, "12/12", "01/12"));
  Partner([&](Tpartners2& f) {
    f.TabControl1.UserSelectTab(books::partners::TabFinance);
    EXPECT_EQ(f.finance.Edit18.GetText(), Amount(190));
    EXPECT_EQ(f.finance.Edit51.GetText(), Amount(30));
    EXPECT_EQ(f.finance.Edit52.GetText(), Amount(150));
    EXPECT_EQ(f.finance.Label61.Caption(), masterdata::PartnerPeriodText + "2024 12/12");

    f.TabControl1.UserSelectTab(books::partners::TabGraphics);
    EXPECT_EQ(At(f, 0, 1), 30);
    EXPECT_EQ(At(f, 0, 3), 0);
    EXPECT_EQ(At(f, 1, 3), 100);
    EXPECT_EQ(At(f, 1, 11), 50);
    f.chart.ToolButton7.UserClick();
    EXPECT_EQ(At(f, 12, 12), 30);
    EXPECT_EQ(At(f, 13, 12), 150);
  });
}

}  // namespace
