// A partner's figures for the finance and graphics tabs: the periods an
// invoice counts in, what belongs to a partner, the chart's series and the
// period label; then the tabs of the partners form over INV and PAY.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "books/partners/partnerfinance.h"
#include "masterdata/unitpartners.h"
#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "records/invoicerec.h"
#include "records/ledgeraccountrec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/formfixture.h"
#include "support/records.h"

namespace {

using namespace books::partners;
using namespace masterdata;

// A book year of `n` periods of one month from January `year`.
records::AdminSettingsRec Year(int year, int n) {
  records::AdminSettingsRec s;
  s.SetPeriodCount(static_cast<std::int16_t>(n));
  // Months; past twelve periods the last ones split December.
  for (int k = 1; k <= n; ++k) {
    const int month = std::min(k, 12);
    const int day = k <= 12 ? 1 : 10 * (k - 12);
    s.SetPeriodStart(k, std::to_string(year) + (month < 10 ? "0" : "") + std::to_string(month) +
                            (day < 10 ? "0" : "") + std::to_string(day));
  }
  if (n < 15) s.SetPeriodStart(n + 1, std::to_string(year + 1) + "0101");
  s.SetBookYearEnd(std::to_string(year) + "1231");
  s.SetCurrentAnnualBalance(std::to_string(year));
  s.SetApprovedAnnualBalance(std::to_string(year - 1));
  return s;
}

records::InvoiceRec Invoice(const std::string& kind, int partner, const std::string& date, double amount, double paid,
                            const std::string& number = "F1") {
  records::InvoiceRec r;
  r.SetPartnerType(kind);
  r.SetPartnerNumber(partner);
  r.SetVoucherDate(date);
  r.SetInvoiceDate(date);
  r.SetInvoiceNumber(number);
  r.SetInvoiceAmount(amount);
  r.SetPaidAmount(paid);
  return r;
}

records::PaymentRec Payment(const std::string& kind, int partner, double amount, bool booked) {
  records::PaymentRec r;
  r.SetPartnerType(kind);
  r.SetPartnerNumber(partner);
  r.SetValueDate("20240301");
  r.SetAmount(amount);
  r.SetVoucherCreated(booked);
  return r;
}

TEST(PartnerFinanceRules, ShiftingADateBackKeepsMonthAndDay) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"20240315", "20230315"}, {"20240229", "20230229"}, {"20000101", "19990101"}, {"", ""}, {"abc", "abc"}};
  for (const Case& c : cases) EXPECT_EQ(ShiftDateBackOneYear(c.in), c.out) << c.in;
}

TEST(PartnerFinanceRules, AnInvoiceCountsInThePeriodOfItsBookDate) {
  const records::AdminSettingsRec twelve = Year(2024, 12);
  const records::AdminSettingsRec fifteen = Year(2024, 15);
  struct Case {
    const records::AdminSettingsRec* settings;
    const char* date;
    BucketPlace place;
  } cases[] = {
      {&twelve, "20240101", {false, 1}},
      {&twelve, "20240315", {false, 3}},
      {&twelve, "20241231", {false, 12}},  // the last day closes period 12
      {&twelve, "20250101", {false, 16}},  // after the book year
      {&twelve, "20230315", {true, 3}},    // period 3 a year earlier
      {&twelve, "20231231", {true, 12}},
      {&twelve, "20221231", {true, 0}},    // before the previous book year
      {&fifteen, "20241231", {false, 15}},  // 15 periods: the book-year end closes period 15
      {&fifteen, "20231231", {true, 15}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlaceInPeriods(*c.settings, c.date), c.place) << c.date;
}

TEST(PartnerFinanceRules, InvoicesAndPaymentsBelongToAPartnerByKindAndNumber) {
  const records::AdminSettingsRec year = Year(2024, 12);
  FinanceAccumulator gather(PartnerKind::Customer, 5, year);
  gather.AddInvoice(Invoice("CUS", 5, "20240310", 100, 40, "F1"));
  gather.AddInvoice(Invoice("VEN", 5, "20240310", 900, 0));   // supplier 5: another partner
  gather.AddInvoice(Invoice("CUS", 50, "20240310", 900, 0));  // customer 50
  gather.AddInvoice(Invoice("CUS", 5, "20230610", 200, 200, "F0"));
  gather.AddInvoice(Invoice("CUS", 5, "20250105", 10, 0, "F9"));  // after the book year
  gather.AddPayment(Payment("CUS", 5, 30, false));
  gather.AddPayment(Payment("CUS", 5, 70, true));
  gather.AddPayment(Payment("VEN", 5, 500, false));
  const PartnerFinance& f = gather.Result();
  ASSERT_EQ(f.invoices.size(), 3u);
  EXPECT_EQ(f.invoices[0].number, "F1");
  EXPECT_DOUBLE_EQ(f.invoices[0].owing, 60);
  EXPECT_DOUBLE_EQ(f.totalOwing, 70);
  EXPECT_EQ(f.payments.size(), 2u);
  EXPECT_DOUBLE_EQ(f.unbookedPayments, 30);
  EXPECT_DOUBLE_EQ(f.buckets[3].curInvoiced, 100);
  EXPECT_DOUBLE_EQ(f.buckets[3].curPaid, 40);
  EXPECT_DOUBLE_EQ(f.buckets[6].prevInvoiced, 200);
  EXPECT_DOUBLE_EQ(f.buckets[16].curInvoiced, 10);
  EXPECT_DOUBLE_EQ(f.CurrentYearInvoiced(), 100);  // entry 16 is not in the year
  EXPECT_DOUBLE_EQ(f.PreviousYearInvoiced(), 200);
}

TEST(PartnerFinanceRules, SeriesRunningTotalsAndOpenAmounts) {
  PartnerFinance f;
  f.buckets[1] = {100, 50, 10, 10};
  f.buckets[2] = {0, 30, 20, 0};
  f.buckets[3] = {40, 0, 0, 0};
  f.buckets[16] = {5, 0, 0, 0};
  f.totalOwing = 65;  // 100 - 80 paid + 40 + 5
  const FinanceSeries s = MakeFinanceSeries(f, 3);
  using V = std::vector<double>;
  EXPECT_EQ(s.values[StyleBars][SlotCurInvoiced], (V{100, 0, 40}));
  EXPECT_EQ(s.values[StyleLines][SlotCurPaid], (V{50, 30, 0}));
  EXPECT_EQ(s.values[StyleRunning][SlotCurInvoiced], (V{100, 100, 140}));
  EXPECT_EQ(s.values[StyleRunning][SlotPrevInvoiced], (V{10, 30, 30}));
  // Open at each period's end, walked back from what is owed now less what
  // came after the year (60 at the end of period 3), taking off what each
  // period invoiced and adding what it paid; the previous year goes on from
  // where the current one began.
  for (int style = 0; style < kFinanceStyles; ++style) {
    EXPECT_EQ(s.values[style][SlotCurOpen], (V{50, 20, 60})) << style;
    EXPECT_EQ(s.values[style][SlotPrevOpen], (V{-20, 0, 0})) << style;
  }
  EXPECT_TRUE(MakeFinanceSeries(PartnerFinance{}, 0).values[StyleBars][SlotCurInvoiced].empty());
}

TEST(PartnerFinanceRules, ThePeriodLabelTakesTheApprovedYearOnceTheLastPeriodIsClosed) {
  records::AdminSettingsRec s = Year(2024, 12);
  struct Case {
    const char* lastClosed;
    const char* label;
  } cases[] = {{"12/12", "P: 2023 12/12"}, {"05/12", "P: 2024 05/12"}, {"", "P: 2024 "}};
  for (const Case& c : cases) {
    s.SetLastClosedPeriod(c.lastClosed);
    EXPECT_EQ(FinancePeriodLabel(s, "P: "), c.label) << c.lastClosed;
  }
}

// ---- the tabs of the form

class PartnerFinanceTabs : public ::testing::Test, public support::AdministrationFolder {
 protected:
  ui::HeadlessBackend backend;
  platform::ScopedNumberFormat numbers{'.'};
  Tpartners2 form;

  void SetUp() override {
    text::SystemSettings.AmountDecimals = 2;
    store::AdminSettings = Year(2024, 12);
    store::AdminSettings.SetLastClosedPeriod("04/12");
    records::PartnerRec p;
    p.SetOurNumber(5);
    p.SetName("Five");
    p.SetRelationshipType("CUS");
    p.SetPartnerGroup("1300");
    p.SetSalesCostGroup1("8000");
    store.fs.SetFile("/d/ACME/customer.vlk", support::Bytes(std::vector<records::PartnerRec>{p}));
    store.fs.SetFile("/d/ACME/invsum.vlk",
                     support::Bytes(std::vector<records::InvoiceRec>{Invoice("CUS", 5, "20240310", 100, 40),
                                                                     Invoice("VEN", 5, "20240310", 900, 0),
                                                                     Invoice("CUS", 5, "20230610", 200, 150)}));
    store.fs.SetFile("/d/ACME/payment.vlk",
                     support::Bytes(std::vector<records::PaymentRec>{Payment("CUS", 5, 30, false)}));
  }
  void Show(const std::function<void(Tpartners2&)>& body) { support::ShowAsTreeDoes(backend, form, "GLA", body); }
  static void Open(Tpartners2& f) {
    f.Edit30.UserSetText("five");
    f.Button1.UserClick();
    ASSERT_EQ(f.details.Edit26.GetText(), "5");
  }
  static std::vector<int> Visible(const Tpartners2& f) {
    std::vector<int> shown;
    for (int i = 0; i < f.chart.Chart1.SeriesCount(); ++i)
      if (f.chart.Chart1.Series(i).visible) shown.push_back(i);
    return shown;
  }
};

TEST_F(PartnerFinanceTabs, TheFinanceTabShowsThePartnersInvoicesPaymentsAndTotals) {
  Show([&](Tpartners2& f) {
    Open(f);
    f.TabControl1.UserSelectTab(TabFinance);
    EXPECT_EQ(f.finance.StringGrid2.RowCount(), 3);
    EXPECT_EQ(f.finance.StringGrid2.Cell(1, 1), "20240310");
    EXPECT_EQ(f.finance.StringGrid3.RowCount(), 2);
    EXPECT_EQ(f.finance.StringGrid3.Cell(4, 1), "false");
    auto amount = [](double v) { return text::FormatAmount(v, 2, 'Y'); };
    EXPECT_EQ(f.finance.Edit18.GetText(), amount(110));
    EXPECT_EQ(f.finance.Edit19.GetText(), amount(30));
    EXPECT_EQ(f.finance.Edit50.GetText(), amount(80));
    EXPECT_EQ(f.finance.Edit51.GetText(), amount(100));
    EXPECT_EQ(f.finance.Edit52.GetText(), amount(200));
    EXPECT_EQ(f.finance.Edit15.GetText(), "Five");
    EXPECT_EQ(f.finance.Label61.Caption(), PartnerPeriodText + "2024 04/12");

    // The chart: bars of the current year, 12 periods each.
    f.TabControl1.UserSelectTab(TabGraphics);
    EXPECT_EQ(Visible(f), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(f.chart.Chart1.Series(0).points.size(), 12u);
    EXPECT_EQ(f.chart.Chart1.Series(0).points[2], (std::pair<double, double>{3, 100}));
    EXPECT_EQ(f.chart.Chart1.Title(), "Five / 2024: ");
    EXPECT_TRUE(f.chart.Chart1.View3D());
    // The previous year's toggles shown too, then the running totals.
    f.chart.ToolButton18.UserClick();
    EXPECT_TRUE(f.chart.ToolButton18.Down() == false);
    EXPECT_EQ(Visible(f), (std::vector<int>{0, 1, 2, 4}));
    f.chart.ToolButton7.UserClick();
    EXPECT_TRUE(f.chart.ToolButton7.Down());
    EXPECT_FALSE(f.chart.ToolButton14.Down());
    EXPECT_EQ(Visible(f), (std::vector<int>{12, 13, 14, 16}));
    f.chart.ToolButton21.UserClick();  // hides the current year's sales
    EXPECT_EQ(Visible(f), (std::vector<int>{13, 14, 16}));
    f.chart.CheckBox6.UserClick();
    EXPECT_FALSE(f.chart.Chart1.View3D());
    f.chart.ToolButton13.UserClick();
    EXPECT_EQ(backend.imagesCopied, std::vector<std::string>{"Chart1"});

    // New empties the figures.
    f.Button4.UserClick();
    EXPECT_EQ(f.finance.StringGrid2.RowCount(), 2);
    EXPECT_EQ(f.finance.Edit18.GetText(), "");
  });
}

TEST_F(PartnerFinanceTabs, AnInvoiceFileThatCannotBeOpenedLeavesTheFormOpen) {
  Show([&](Tpartners2& f) {
    Open(f);
    store.fs.InjectError("/d/ACME/invsum.vlk", support::FakeFileSystem::Op::OpenReadWrite, 13);
    f.details.Edit27.UserSetText("typed");
    f.TabControl1.UserSelectTab(TabFinance);
    EXPECT_EQ(backend.messages.size(), 1u);
    EXPECT_TRUE(f.InModalLoop());
    EXPECT_EQ(f.details.Edit27.GetText(), "typed");
    EXPECT_EQ(f.finance.StringGrid2.RowCount(), 2);
  });
}

}  // namespace
