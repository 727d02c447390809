// The report period of the report form's choice, the partner lookup by
// number and the line sources of the report engine.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "records/freezerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/partnerrec.h"
#include "books/reporting/paging.h"
#include "store/fileset.h"
#include "store/scopedfileset.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using books::closing::GridRow;
using books::reporting::ReportLineSources;
using books::reporting::ReportLineState;

records::AdminSettingsRec Settings2024() {
  records::AdminSettingsRec s;
  s.SetBookYearStart("20240101");
  s.SetBookYearEnd("20241231");
  for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, "2024" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
  s.SetPeriodStart(13, "20250101");
  return s;
}

records::FreezeRec Freeze(const std::string& label, const std::string& base, const std::string& start,
                          const std::string& end) {
  auto rec = std::make_unique<records::FreezeRec>();
  rec->SetPeriodLabel(label);
  rec->SetYearBaseDate(base);
  rec->SetPeriodStartDate(start);
  rec->SetPeriodEndDate(end);
  return *rec;
}

TEST(ResolveReportPeriod, KindDatesAndOpeningSnapshot) {
  const std::vector<records::FreezeRec> none;
  const std::vector<records::FreezeRec> frozen = {Freeze("2024-01/12", "20231231", "20240101", "20240201"),
                                                  Freeze("2024-02/12", "20231231", "20240201", "20240301")};
  struct Case {
    const char* report;
    const char* period;
    const std::vector<records::FreezeRec>* freezes;
    char kind;
    bool hasPeriod;
    std::optional<int> snapshot;
    bool open;
    const char *card, *start, *end;
  };
  const std::vector<Case> cases = {
      {"3 Ledger card", "2024-03/12", &none, '3', true, {}, true, "20231231", "20240301", "20240401"},
      {"3 Ledger card", "2024-00/12", &none, '3', true, {}, true, "20231231", "20231231", "20240101"},
      {"4 Journal", "2024-03/12", &frozen, '4', true, 1, true, "20231231", "20240301", "20240401"},
      {"4 Journal", "2024-12/12", &frozen, '4', true, 1, true, "20231231", "20241201", "20250101"},
      {"3 Ledger card", "2024-00/00", &none, '3', true, {}, true, "20231231", "20231231", "20240101"},
      {"4 Journal", "2024-00/00", &frozen, '4', true, 1, true, "20231231", "20231231", "20240101"},
      // A frozen period opens at the record before it, the first at none.
      {"1 Trial balance", "2024-01/12", &frozen, '1', true, {}, false, "20231231", "20240101", "20240201"},
      {"3 Ledger card", "2024-02/12", &frozen, '3', true, 0, false, "20231231", "20240201", "20240301"},
      {"5 Debtors", "2024-03/12", &frozen, '5', false, {}, true, "", "", ""},
      {"6 Creditors", "garbage", &none, '6', false, {}, true, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.report) + " " + c.period);
    const books::reporting::ResolvedReport r =
        books::reporting::ResolveReportPeriod(c.report, c.period, Settings2024(), *c.freezes);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.period.has_value(), c.hasPeriod);
    EXPECT_EQ(r.OpeningSnapshot(), c.snapshot);
    EXPECT_EQ(r.OpenPeriodChosen(), c.open);
    if (!c.hasPeriod) continue;
    EXPECT_EQ(r.period->cardYearBaseDate, c.card);
    EXPECT_EQ(r.period->start, c.start);
    EXPECT_EQ(r.period->end, c.end);
  }
}

TEST(ResolveReportPeriod, PeriodOutsideTheBookYearIsRefused) {
  for (const char* period : {"2024-16/16", "2024-13/12", "", "2024-xx/12"}) {
    const books::reporting::ResolvedReport r =
        books::reporting::ResolveReportPeriod("3 Ledger card", period, Settings2024(), {});
    EXPECT_EQ(r.kind, '3');
    EXPECT_FALSE(r.period) << period;
    EXPECT_NE(r.error, "") << period;
  }
}

records::PartnerRec Partner(std::int32_t number, const std::string& name) {
  records::PartnerRec p;
  p.SetOurNumber(number);
  p.SetName(name);
  return p;
}

TEST(FindPartnerIndex, ByPlaceThenByScan) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> numbers;
    std::int32_t wanted;
    std::optional<int> index;
  };
  const std::vector<Case> cases = {
      {"at its place", {100, 101, 102}, 102, 2},
      {"the first", {100, 101, 102}, 100, 0},
      {"a gap moves it", {100, 101, 105, 106}, 105, 2},
      {"place holds another number", {100, 102, 101}, 102, 1},
      {"below the first", {100, 101, 50}, 50, 2},
      {"missing", {100, 101, 102}, 103, std::nullopt},
      {"far beyond the file", {100}, 2147483647, std::nullopt},
      {"negative distance", {100}, -2147483647 - 1, std::nullopt},
      {"empty file", {}, 1, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<records::PartnerRec> partners;
    for (std::int32_t n : c.numbers) partners.push_back(Partner(n, "P" + std::to_string(n)));
    EXPECT_EQ(books::reporting::FindPartnerIndex(partners, c.wanted), c.index);
  }
}

TEST(ReadPartnerByNumber, ReadsTheOpenPartnerFile) {
  support::FakeDataStore store;
  store.fs.AddFolder("/d/ACME");
  store::SetDataRoot("/d/");
  store::SetCurrentAdministrationFolder("ACME");
  store.fs.SetFile("/d/ACME/customer.vlk",
                   support::Bytes({Partner(1, "Ada"), Partner(2, "Bob"), Partner(7, "Cy")}));
  store::ScopedFileSet set("CUS");
  ASSERT_TRUE(set.Ok()) << set.Failure().text;
  EXPECT_EQ(books::reporting::ReadPartnerByNumber(store::FileCode::CUS, 2)->Name(), "Bob");
  EXPECT_EQ(books::reporting::ReadPartnerByNumber(store::FileCode::CUS, 7)->Name(), "Cy");
  EXPECT_FALSE(books::reporting::ReadPartnerByNumber(store::FileCode::CUS, 3));
}

// Runs a source until the end of its data and records what it gave.
template <class F>
std::vector<std::string> Drain(ReportLineState& s, const ReportLineSources& src, F describe) {
  std::vector<std::string> out;
  for (int guard = 0; !s.endOfData && guard < 100; ++guard) {
    books::reporting::NextReportLine(s, src);
    out.push_back(describe(s));
  }
  return out;
}

TEST(NextReportLine, GridRowsOfTheTrialBalance) {
  std::vector<GridRow> grid(6);
  ReportLineSources src;
  src.kind = '1';
  src.grid = &grid;
  src.gridRowCount = 5;
  ReportLineState s;
  s.lineIndex = 1;
  const auto got = Drain(s, src, [](const ReportLineState& st) {
    return std::to_string(st.lineIndex) + (st.lastLine ? " last" : "") + (st.endOfData ? " end" : "");
  });
  EXPECT_EQ(got, (std::vector<std::string>{"2", "3", "4 last", "5 last end"}));
}

TEST(NextReportLine, TheBalanceSheetTotalRowEndsTheFirstGroup) {
  std::vector<GridRow> grid(8);
  grid[4][7] = books::closing::kTotalRowMarker;
  ReportLineSources src;
  src.kind = '2';
  src.grid = &grid;
  src.gridRowCount = 7;
  ReportLineState s;
  s.lineIndex = 2;
  const auto got = Drain(s, src, [](const ReportLineState& st) {
    return std::to_string(st.lineIndex) + (st.groupEnd ? " group" : "") + (st.prevGroupEnd ? " prev" : "");
  });
  EXPECT_EQ(got, (std::vector<std::string>{"3", "4 group", "5 group prev", "6 group prev", "7 group prev"}));
}

records::JournalVoucherRec Voucher(const std::string& date, const std::string& journal, const std::string& book,
                                   const std::string& text) {
  records::JournalVoucherRec v;
  v.SetVoucherDate(date);
  v.SetJournalName(journal);
  v.SetBookNumber(book);
  v.SetLineText(text);
  return v;
}

TEST(NextReportLine, JournalLinesOfThePeriod) {
  const std::vector<records::JournalVoucherRec> lines = {
      Voucher("20240215", "Bank", "B1", "before"),    Voucher("20240301", "Bank", "B2", "first day"),
      Voucher("20240305", "Sales", "S1", "sales"),    Voucher("20240331", "Bank", "B3", "last day"),
      Voucher("20240401", "Bank", "B4", "after"),     Voucher("20240402", "Sales", "S2", "sales after"),
  };
  books::closing::ReportPeriod period;
  period.start = "20240301";
  period.end = "20240401";
  struct Case {
    const char* journal;
    bool open;
    std::vector<std::string> texts;
  };
  const std::vector<Case> cases = {
      {"*.*", false, {"first day", "sales", "last day"}},
      {"Bank", false, {"first day", "last day"}},
      {"Bank", true, {"first day", "last day", "after"}},
      {"*.*", true, {"first day", "sales", "last day", "after", "sales after"}},
      {"Cash", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.journal) + (c.open ? " open" : ""));
    ReportLineSources src;
    src.kind = '4';
    src.vouchers = &lines;
    src.period = period;
    src.journal = c.journal;
    src.openPeriodChosen = c.open;
    ReportLineState s;
    std::vector<std::string> texts;
    Drain(s, src, [&](const ReportLineState& st) {
      if (st.lineFound) texts.push_back(text::TrimTrailingBlanks(st.voucher.LineText()));
      return std::string();
    });
    EXPECT_EQ(texts, c.texts);
    EXPECT_TRUE(s.endOfData);
  }
}

TEST(NextReportLine, SystemLinesAlternateTheirSide) {
  const std::vector<records::JournalVoucherRec> lines = {
      Voucher("20240101", "Memo", "! SYSTEM", "a"), Voucher("20240101", "Memo", "! SYSTEM", "b"),
      Voucher("20240101", "Memo", "! SYSTEM", "c"), Voucher("20240102", "Memo", "M1", "d")};
  ReportLineSources src;
  src.kind = '4';
  src.vouchers = &lines;
  src.period = books::closing::ReportPeriod{};
  src.period->start = "20240101";
  src.period->end = "20240201";
  ReportLineState s;
  const auto sides = Drain(s, src, [](const ReportLineState& st) { return st.sideText; });
  EXPECT_EQ(sides, (std::vector<std::string>{"debet", "credit", "debet", "debet"}));
}

records::InvoiceRec Invoice(const std::string& type, std::int32_t partner, double amount, double paid,
                            const std::string& number) {
  records::InvoiceRec inv;
  inv.SetPartnerType(type);
  inv.SetPartnerNumber(partner);
  inv.SetInvoiceAmount(amount);
  inv.SetPaidAmount(paid);
  inv.SetInvoiceNumber(number);
  return inv;
}

TEST(NextReportLine, OpenInvoicesOfEachPartnerKind) {
  const std::vector<records::InvoiceRec> invoices = {
      Invoice("CUS", 1, 100, 0, "C1"),  Invoice("VEN", 1, 50, 10, "V1"), Invoice("CUS", 2, 80, 80, "C2 paid"),
      Invoice("CUS", 9, 80, 79.99, "C3"), Invoice("VEN", 2, 20, 25, "V2 overpaid"), Invoice("VEN", 2, 30, 0, "V3")};
  const std::vector<records::PartnerRec> partners = {Partner(1, "Ada"), Partner(2, "Bob")};
  struct Case {
    char kind;
    std::vector<std::string> lines;
  };
  for (const Case& c : std::vector<Case>{{'5', {"C1 Ada 1", "C3  "}}, {'6', {"V1 Ada 1", "V3 Bob 2"}}}) {
    SCOPED_TRACE(c.kind);
    ReportLineSources src;
    src.kind = c.kind;
    src.invoices = &invoices;
    src.partner = [&](std::int32_t n) -> std::optional<records::PartnerRec> {
      if (auto i = books::reporting::FindPartnerIndex(partners, n)) return partners[static_cast<std::size_t>(*i)];
      return std::nullopt;
    };
    ReportLineState s;
    std::vector<std::string> got;
    Drain(s, src, [&](const ReportLineState& st) {
      if (st.lineFound)
        got.push_back(text::TrimTrailingBlanks(st.invoice.InvoiceNumber()) + " " + st.partnerName + " " +
                      st.partnerNumber);
      return std::string();
    });
    EXPECT_EQ(got, c.lines);
  }
}

}  // namespace

namespace {

records::LedgerAccountRec GlAccount(const std::string& number, const std::string& type, const std::string& category,
                                    double start) {
  records::LedgerAccountRec a;
  a.SetAccountNumber(number);
  a.SetAccountType(type);
  a.SetCategoryName(category);
  a.SetStartAmount(start);
  return a;
}

records::LedgerCategoryRec GlCategory(std::string_view kind, const std::string& name) {
  records::LedgerCategoryRec c;
  c.SetCategoryKind(kind);
  c.SetCategoryName(name);
  return c;
}

records::JournalVoucherRec CardVoucher(const std::string& date, const std::string& account, double debit,
                                       double credit, const std::string& book = "B1") {
  records::JournalVoucherRec v;
  v.SetVoucherDate(date);
  v.SetAccountNumber(text::Cut(account + std::string(30, ' '), 15));
  v.SetDebitAmount(debit);
  v.SetCreditAmount(credit);
  v.SetBookNumber(book);
  return v;
}

class LedgerCardTest : public ::testing::Test {
 protected:
  std::vector<records::LedgerAccountRec> accounts = {GlAccount("1000", "D", "Assets", 100),
                                                     GlAccount("8000", "C", "Revenue", 0)};
  std::vector<records::LedgerCategoryRec> categories = {GlCategory(records::kBalanceSheetKind, "Assets"),
                                                        GlCategory(records::kProfitAndLossKind, "Revenue")};
  std::vector<records::JournalVoucherRec> vouchers = {
      CardVoucher("20240215", "1000", 999, 0), CardVoucher("20240310", "1000", 300, 0),
      CardVoucher("20240310", "8000", 0, 300), CardVoucher("20240320", "1000", 0, 50)};
  std::unique_ptr<records::FreezeRec> snapshot;
  std::array<double, 6> sums{};
  ReportLineSources src;

  void SetUp() override {
    src.kind = '3';
    src.accounts = &accounts;
    src.categories = &categories;
    src.vouchers = &vouchers;
    src.period = books::closing::ReportPeriod{};
    src.period->start = "20240301";
    src.period->end = "20240401";
    src.sums = &sums;
    src.cardAccounts = {{"1000", "Bank"}, {"8000", "Sales"}};
  }

  // Runs the cards as the page driver does: prints a line unless it only
  // marks the card's end, keeps sums 1 and 2, and prints a total at each
  // card's end and at the end of the report.
  std::vector<std::string> Cards() {
    std::vector<std::string> out;
    ReportLineState s;
    sums = {};
    if (!books::reporting::StartLedgerCard(s, src)) return out;
    auto total = [&] {
      out.push_back("total " + std::to_string(static_cast<int>(sums[0])) + "/" +
                    std::to_string(static_cast<int>(sums[1])));
      sums = {};
    };
    for (int guard = 0; !s.endOfData && guard < 100; ++guard) {
      books::reporting::NextReportLine(s, src);
      if (!s.lineFound) continue;
      if (!s.groupEnd || s.prevGroupEnd) {
        const char* section = s.section == books::reporting::Section::FromBS   ? "FromBS"
                              : s.section == books::reporting::Section::FromPL ? "FromP&L"
                              : s.section == books::reporting::Section::ToBS   ? "ToBS"
                              : s.section == books::reporting::Section::ToPL   ? "ToP&L"
                                                                               : "Detail1";
        out.push_back(std::string(section) + " " + s.voucher.VoucherDate() + " " +
                      std::to_string(static_cast<int>(s.voucher.DebitAmount())) + "/" +
                      std::to_string(static_cast<int>(s.voucher.CreditAmount())) + " " + s.sideText);
        sums[0] += s.voucher.DebitAmount();
        sums[1] += s.voucher.CreditAmount();
      }
      if (s.groupEnd && !s.prevGroupEnd) {
        total();
        EXPECT_TRUE(books::reporting::StartLedgerCard(s, src));
      }
    }
    total();
    EXPECT_FALSE(books::reporting::StartLedgerCard(s, src)) << "stepped past the last account";
    return out;
  }
};

TEST_F(LedgerCardTest, EachCardOpensListsItsPeriodLinesAndBalances) {
  EXPECT_EQ(Cards(), (std::vector<std::string>{
                         "FromBS 20240301 100/0 debet", "Detail1 20240310 300/0 ", "Detail1 20240320 0/50 ",
                         "ToBS 20240331 0/350 credit", "total 400/400",
                         "FromP&L 20240301 0/0 credit", "Detail1 20240310 0/300 ", "ToP&L 20240331 300/0 debet",
                         "total 300/300"}));
}

TEST_F(LedgerCardTest, AccountWithoutVouchersHasOpeningAndClosingOnly) {
  src.cardAccounts = {{"1000", "Bank"}};
  vouchers.clear();
  EXPECT_EQ(Cards(), (std::vector<std::string>{"FromBS 20240301 100/0 debet", "ToBS 20240331 0/100 credit",
                                               "total 100/100"}));
}

TEST_F(LedgerCardTest, NoAccountsIsAnEmptyReport) {
  src.cardAccounts.clear();
  EXPECT_EQ(Cards(), std::vector<std::string>{});
}

TEST_F(LedgerCardTest, OpeningComesFromTheSnapshotByTheFreezeRule) {
  snapshot = std::make_unique<records::FreezeRec>(Freeze("2023-12/12", "20221231", "20231201", "20240101"));
  records::FreezeAccountRow bank, sales;
  bank.SetAccountNumber("1000");
  bank.SetAccountType("D");
  bank.SetCategoryKind(records::kBalanceSheetKind);
  bank.SetOpeningOwnSide(120);
  bank.SetOpeningOtherSide(20);
  bank.SetClosingOwnSide(900);
  bank.SetClosingOtherSide(300);
  sales = bank;
  sales.SetAccountNumber("8000");
  sales.SetAccountType("C");
  sales.SetCategoryKind(records::kProfitAndLossKind);
  snapshot->SetAccount(1, bank);
  snapshot->SetAccount(2, sales);
  src.openingSnapshot = snapshot.get();
  vouchers.clear();
  struct Case {
    const char* name;
    std::string label;
    std::vector<std::string> lines;
  };
  for (const Case& c : std::vector<Case>{
           {"a snapshot closing a year", "2023-12/12",
            {"FromBS 20240301 600/0 debet", "ToBS 20240331 0/600 credit", "total 600/600",
             "FromP&L 20240301 0/0 credit", "ToP&L 20240331 0/0 debet", "total 0/0"}},
           {"a snapshot inside the year", "2024-02/12",
            {"FromBS 20240301 600/0 debet", "ToBS 20240331 0/600 credit", "total 600/600",
             "FromP&L 20240301 0/600 credit", "ToP&L 20240331 600/0 debet", "total 600/600"}}}) {
    SCOPED_TRACE(c.name);
    snapshot->SetPeriodLabel(c.label);
    EXPECT_EQ(Cards(), c.lines);
  }
}

// The independent check: each card closes at the trial balance's net of its
// account (own side: debit for D and T, credit for C and P). An account's
// start amount counts only in periods that end after its start date, with a
// snapshot that does not hold the account and without one.
TEST_F(LedgerCardTest, AStartAmountCountsOnlyFromTheStartDateAsInTheTrialBalance) {
  const std::vector<records::FreezeRec> february = {Freeze("2024-02/12", "20231231", "20240201", "20240301")};
  records::FreezeRec snap = february[0];
  records::FreezeAccountRow bank;
  bank.SetAccountNumber("1000");
  bank.SetAccountType("D");
  bank.SetCategoryKind(records::kBalanceSheetKind);
  bank.SetClosingOwnSide(1099);
  records::FreezeAccountRow sales = bank;
  sales.SetAccountNumber("8000");
  sales.SetAccountType("C");
  sales.SetCategoryKind(records::kProfitAndLossKind);
  sales.SetClosingOwnSide(999);
  snap.SetAccount(1, bank);
  snap.SetAccount(2, sales);
  const std::vector<records::FreezeRec> withSnapshot = {snap};
  struct Case {
    const char* name;
    const char* startDate;
    const std::vector<records::FreezeRec>* freezes;
    int opening;
  };
  const std::vector<records::FreezeRec> none;
  const std::vector<Case> cases = {
      {"before the period, no snapshot", "20240210", &none, 250},
      {"inside the period, no snapshot", "20240315", &none, 250},
      {"after the period, no snapshot", "20240410", &none, 0},
      {"before the period, a snapshot without it", "20240210", &withSnapshot, 250},
      {"inside the period, a snapshot without it", "20240315", &withSnapshot, 250},
      {"after the period, a snapshot without it", "20240410", &withSnapshot, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    accounts = {GlAccount("1000", "D", "Assets", 100), GlAccount("8000", "C", "Revenue", 0),
                GlAccount("2000", "D", "Assets", 250)};
    for (auto& a : accounts) {
      a.SetStartDate("20000101");
      a.SetEndDate("20501231");
    }
    accounts[2].SetStartDate(c.startDate);
    // A line of the account once it exists.
    const bool line = std::string(c.startDate) < "20240320";
    if (line) vouchers.push_back(CardVoucher("20240320", "2000", 0, 50));
    src.cardAccounts = {{"1000", "Bank"}, {"8000", "Sales"}, {"2000", "Deposit"}};
    const books::closing::PeriodOrError period =
        books::closing::ComputeReportPeriod("2024-03/12", Settings2024(), *c.freezes);
    ASSERT_TRUE(period.period);
    src.period = period.period;
    src.openingSnapshot = c.freezes->empty() ? nullptr : &c.freezes->front();

    books::closing::BalanceRequest rq;
    rq.kind = '1';
    rq.periodText = "2024-03/12";
    rq.settings = Settings2024();
    books::closing::BalanceFiles files{categories, accounts, *c.freezes, vouchers};
    const books::closing::BalanceResult tb = books::closing::ComputeBalanceCore(rq, files);
    ASSERT_EQ(tb.error, "");
    std::map<std::string, int> tbNet;
    for (const auto& row : tb.table) tbNet[row.AccountNumber] = static_cast<int>(row.ClosingOwnSide - row.ClosingOtherSide);

    // The cards' opening and closing lines, account by account.
    std::vector<std::string> openings, closings;
    for (const std::string& line : Cards()) {
      if (line.rfind("From", 0) == 0) openings.push_back(line);
      if (line.rfind("To", 0) == 0) closings.push_back(line);
    }
    ASSERT_EQ(closings.size(), 3u);
    EXPECT_EQ(openings[2], "FromBS 20240301 " + std::to_string(c.opening) + "/0 debet");
    for (std::size_t k = 0; k < 3; ++k) {
      const std::string& number = src.cardAccounts[k].number;
      const std::size_t date = closings[k].find(' ');
      const std::string amounts = closings[k].substr(closings[k].find(' ', date + 1) + 1);
      const int debit = std::stoi(amounts), credit = std::stoi(amounts.substr(amounts.find('/') + 1));
      // The closing line balances the card: its amount is the card's net.
      EXPECT_EQ(debit + credit, tbNet.count(number) ? tbNet[number] : 0) << number;
    }
    if (line) vouchers.pop_back();
  }
}

TEST_F(LedgerCardTest, SecondSystemLineOfADateIsTheCredit) {
  src.cardAccounts = {{"1000", "Bank"}};
  vouchers = {CardVoucher("20240301", "1000", 0, 0, "! SYSTEM"), CardVoucher("20240301", "1000", 0, 0, "! SYSTEM"),
              CardVoucher("20240302", "1000", 0, 0, "! SYSTEM")};
  const auto lines = Cards();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1], "Detail1 20240301 0/0 debet");
  EXPECT_EQ(lines[2], "Detail1 20240301 0/0 credit");
  EXPECT_EQ(lines[3], "Detail1 20240302 0/0 debet");
}

}  // namespace
