// The balance table and the grids of the trial balance and the balance
// sheet, on small books built in memory; the file reader on the fake store.
#include <gtest/gtest.h>

#include <cstring>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "books/closing/balance.h"
#include "books/closing/balancerule.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using books::closing::BalanceFiles;
using books::closing::BalanceRequest;
using books::closing::BalanceResult;
using books::closing::GridRow;

const std::string kBs(records::kBalanceSheetKind);
const std::string kPl(records::kProfitAndLossKind);

records::LedgerCategoryRec Cat(const std::string& kind, const std::string& name) {
  records::LedgerCategoryRec c;
  c.SetCategoryKind(kind);
  c.SetCategoryName(name);
  return c;
}

records::LedgerAccountRec Acc(const std::string& number, const std::string& caption, const std::string& type,
                              const std::string& category, double amount = 0, const std::string& start = "20240101",
                              const std::string& end = "20501231") {
  records::LedgerAccountRec a;
  a.SetAccountNumber(number);
  a.SetCaption(caption);
  a.SetAccountType(type);
  a.SetCategoryName(category);
  a.SetStartAmount(amount);
  a.SetStartDate(start);
  a.SetEndDate(end);
  return a;
}

// A voucher line as the store keeps it: the account number padded to 15.
records::JournalVoucherRec Line(const std::string& date, const std::string& account, double debit, double credit,
                                const std::string& book = "B1") {
  records::JournalVoucherRec v;
  v.SetVoucherDate(date);
  v.SetAccountNumber(text::Cut(account + std::string(30, ' '), 15));
  v.SetDebitAmount(debit);
  v.SetCreditAmount(credit);
  v.SetBookNumber(book);
  return v;
}

struct Frozen {
  std::string number, type, kind;
  double year = 0, openOwn = 0, openOther = 0, closeOwn = 0, closeOther = 0;
};

records::FreezeRec Freeze(const std::string& label, const std::string& base, const std::string& start,
                          const std::string& end, const std::vector<Frozen>& rows) {
  auto rec = std::make_unique<records::FreezeRec>();
  rec->SetPeriodLabel(label);
  rec->SetYearBaseDate(base);
  rec->SetPeriodStartDate(start);
  rec->SetPeriodEndDate(end);
  int i = 1;
  for (const Frozen& f : rows) {
    records::FreezeAccountRow row;
    row.SetAccountNumber(f.number);
    row.SetAccountType(f.type);
    row.SetCategoryKind(f.kind);
    row.SetYearOpeningBalance(f.year);
    row.SetOpeningOwnSide(f.openOwn);
    row.SetOpeningOtherSide(f.openOther);
    row.SetClosingOwnSide(f.closeOwn);
    row.SetClosingOtherSide(f.closeOther);
    rec->SetAccount(i++, row);
  }
  return *rec;
}

// Book year 2024 in twelve monthly periods.
records::AdminSettingsRec Settings2024() {
  records::AdminSettingsRec s;
  s.SetBookYearStart("20240101");
  s.SetBookYearEnd("20241231");
  for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, "2024" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
  s.SetPeriodStart(13, "20250101");
  s.SetProfitAccountNumber("0900");
  return s;
}

class BalanceTest : public ::testing::Test {
 public:
  platform::ScopedNumberFormat numbers{'.'};
  BalanceRequest request;
  BalanceFiles files;

  void SetUp() override {
    text::SystemSettings.AmountDecimals = 2;
    request.settings = Settings2024();
    request.periodText = "2024-03/12";
    files.categories = {Cat(kBs, "Assets"), Cat(kBs, "Equity"), Cat(kPl, "Revenue"), Cat(kPl, "Expenses")};
    files.accounts = {Acc("0900", "Profit", "P", "Equity"),      Acc("1000", "Bank", "D", "Assets", 500),
                      Acc("1900", "Capital", "C", "Equity", 500), Acc("4000", "Rent", "D", "Expenses"),
                      Acc("8000", "Sales", "C", "Revenue"),      Acc("9999", "Result", "T", "Expenses")};
    files.vouchers = {Line("20240215", "1000", 50, 0), Line("20240215", "8000", 0, 50),
                      Line("20240310", "1000", 300, 0), Line("20240310", "8000", 0, 300),
                      Line("20240315", "4000", 100, 0), Line("20240315", "1000", 0, 100)};
  }

  BalanceResult Run(char kind) {
    request.kind = kind;
    return books::closing::ComputeBalanceCore(request, files);
  }
  // The base snapshot of period 02 for the balance-sheet fixture.
  void FreezeFebruary() {
    files.freezes = {Freeze("2024-02/12", "20231231", "20240201", "20240301",
                            {{"1000", "D", kBs, 500, 500, 0, 550, 0},
                             {"1900", "C", kBs, 500, 500, 0, 500, 0},
                             {"8000", "C", kPl, 0, 0, 0, 50, 0}})};
  }
  const books::closing::BalanceTableRow& RowOf(const BalanceResult& r, const std::string& number) {
    for (const auto& row : r.table)
      if (row.AccountNumber == number) return row;
    throw std::runtime_error("no row " + number);
  }
};

std::string A(double v) { return text::FormatAmount(v, 2, 'Y'); }

void ExpectGrid(const BalanceResult& r, const std::vector<GridRow>& expected) {
  ASSERT_EQ(r.grid.size(), expected.size());
  EXPECT_EQ(r.gridRowCount, static_cast<int>(expected.size()) - 1);
  for (std::size_t i = 0; i < expected.size(); ++i)
    for (int c = 0; c < 8; ++c) EXPECT_EQ(r.grid[i][c], expected[i][c]) << "row " << i << " column " << c;
}

// Column 0 of the rows between the headings and the first category row.
std::vector<std::string> MessageRows(const BalanceResult& r, const std::string& firstCategoryRow) {
  std::vector<std::string> out;
  for (std::size_t i = 2; i < r.grid.size() && r.grid[i][0] != firstCategoryRow; ++i) out.push_back(r.grid[i][0]);
  return out;
}

TEST_F(BalanceTest, TrialBalanceWithoutFreezeTakesStartAmountsAndThePeriodsVouchers) {
  const BalanceResult r = Run('1');
  ASSERT_EQ(r.error, "");
  const std::string E;
  ExpectGrid(r, {
                    {E, "Totals", E, "Profit and loss", E, "Balance sheet", "2024-03/12", E},
                    {"Account name", "Debit", "Credit", "Debit", "Credit", "Debit", "Credit", E},
                    {"Assets", E, E, E, E, E, E, E},
                    {"1000  Bank", A(800), A(100), E, E, A(700), E, E},
                    {"Equity", E, E, E, E, E, E, E},
                    {"0900  Profit", A(0), A(200), E, E, E, A(200), E},
                    {"1900  Capital", A(0), A(500), E, E, E, A(500), E},
                    {"Revenue", E, E, E, E, E, E, E},
                    {"8000  Sales", A(0), A(300), E, A(300), E, E, E},
                    {"Expenses", E, E, E, E, E, E, E},
                    {"4000  Rent", A(100), A(0), A(100), E, E, E, E},
                    {"9999  Result", A(200), A(0), A(200), E, E, E, E},
                    {books::closing::kTotalText, A(1100), A(1100), A(300), A(300), A(700), A(700), E},
                });
  EXPECT_TRUE(r.freezeAllowed);
  EXPECT_EQ(r.profitText, text::FormatAmount(200, 2, 'N'));
  EXPECT_EQ(r.profitAccountNumber, "0900");
  EXPECT_EQ(r.profitAccountCaption, "Profit");
  EXPECT_EQ(r.period->yearBaseDate, "20231231");
  EXPECT_EQ(r.period->start, "20240301");
  EXPECT_EQ(r.period->end, "20240401");
}

// A line's account is the characters within the field's length byte (at
// most its 15), trailing blanks removed: the bytes after the length (files
// of the earlier system hold anything there) never count.
TEST_F(BalanceTest, LinesAreSummedByTheAccountWithinItsLengthTrailingBlanksRemoved) {
  const BalanceResult before = Run('1');
  const struct {
    const char* what;
    std::uint8_t length;
    const char* chars;    // the field's 15 bytes after the length byte
    const char* account;  // the row it adds to; nullptr: none
    double debit;
  } cases[] = {
      {"trailing blanks, garbage after", 6, "8000  GARBAGE!!", "8000", 1},
      {"garbage right after", 4, "1000XXXXXXXXXXX", "1000", 2},
      {"a length beyond the field", 255, "4000           ", "4000", 4},
      {"blanks and garbage, type C", 5, "1900 \x01\x02\xff" "abcdef", "1900", 8},
      {"a shorter number", 3, "800            ", nullptr, 16},
      {"a longer number", 5, "10000          ", nullptr, 32},
      {"empty", 0, "1000           ", nullptr, 64},
  };
  for (const auto& c : cases) {
    records::JournalVoucherRec line = Line("20240310", "", c.debit, 0);
    line.Bytes[183] = c.length;
    std::memcpy(line.Bytes.data() + 184, c.chars, 15);
    files.vouchers.push_back(line);
  }
  const BalanceResult after = Run('1');
  for (const auto& c : cases) {
    if (c.account == nullptr) continue;
    SCOPED_TRACE(c.what);
    const auto& was = RowOf(before, c.account);
    const auto& now = RowOf(after, c.account);
    // Debit: the own side of a type D account, the other side of a type C one.
    const bool own = was.AccountType == "D";
    EXPECT_DOUBLE_EQ(now.ClosingOwnSide - was.ClosingOwnSide, own ? c.debit : 0);
    EXPECT_DOUBLE_EQ(now.ClosingOtherSide - was.ClosingOtherSide, own ? 0 : c.debit);
  }
  // The lines of no account reach no row (the profit and transfer rows
  // carry the sums instead).
  double added = 0;
  for (std::size_t i = 0; i < after.table.size(); ++i)
    if (after.table[i].AccountType == "D" || after.table[i].AccountType == "C")
      added += after.table[i].ClosingOwnSide + after.table[i].ClosingOtherSide -
               before.table[i].ClosingOwnSide - before.table[i].ClosingOtherSide;
  EXPECT_DOUBLE_EQ(added, 1 + 2 + 4 + 8);
}

TEST_F(BalanceTest, BalanceSheetFromTheBaseSnapshot) {
  FreezeFebruary();
  const BalanceResult r = Run('2');
  ASSERT_EQ(r.error, "");
  const std::string E;
  ExpectGrid(r, {
                    {E, "20231231", E, "2024-02/12", E, "2024-03/12", E, E},
                    {"Account name", "Debit", "Credit", "Debit", "Credit", "Debit", "Credit", E},
                    {kBs, E, E, E, E, E, E, E},
                    {"Assets", E, E, E, E, E, E, E},
                    {"1000  Bank", A(500), E, A(550), E, A(750), E, E},
                    {"Equity", E, E, E, E, E, E, E},
                    {"0900  Profit", E, A(0), E, A(50), E, A(250), E},
                    {"1900  Capital", E, A(500), E, A(500), E, A(500), E},
                    {books::closing::kTotalText, A(500), A(500), A(550), A(550), A(750), A(750),
                     books::closing::kTotalRowMarker},
                    {kPl, E, E, E, E, E, E, E},
                    {"Revenue", E, E, E, E, E, E, E},
                    {"8000  Sales", E, A(0), E, A(50), E, A(350), E},
                    {"Expenses", E, E, E, E, E, E, E},
                    {"4000  Rent", A(0), E, A(0), E, A(100), E, E},
                    {"9999  Result", A(0), E, A(50), E, A(250), E, E},
                    {books::closing::kTotalText, A(0), A(0), A(50), A(50), A(350), A(350), E},
                });
  EXPECT_TRUE(r.freezeAllowed);
}

TEST_F(BalanceTest, BalanceSheetWithoutFreezeShowsOnlyClosingFigures) {
  const BalanceResult r = Run('2');
  for (const GridRow& row : r.grid)
    for (int c : {1, 2, 3, 4}) EXPECT_EQ(row[c], "") << row[0];
  EXPECT_EQ(r.grid[0][5], "2024-03/12");
  EXPECT_EQ(r.grid[4][5], A(700));  // the bank's closing net
}

TEST_F(BalanceTest, FirstPeriodAfterYearCloseCarriesBalanceSheetAndRestartsProfitAndLoss) {
  files.freezes = {Freeze("2023-12/12", "20221231", "20231201", "20240101",
                          {{"1000", "D", kBs, 400, 800, 250, 900, 300}, {"8000", "C", kPl, 0, 0, 0, 700, 0}})};
  files.vouchers = {Line("20240101", "1900", 0, 700, "! SYSTEM"), Line("20240102", "1000", 0, 20, "{SYSTEM}"),
                    Line("20240110", "1000", 10, 0)};
  request.periodText = "2024-01/12";
  const BalanceResult r = Run('2');
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.period->yearBaseDate, "20231231");  // not the snapshot's 20221231

  const auto& bank = RowOf(r, "1000");
  EXPECT_DOUBLE_EQ(bank.YearOpeningBalance, 600);
  EXPECT_DOUBLE_EQ(bank.OpeningOwnSide, 900 - 20);  // a system line moves the opening
  EXPECT_DOUBLE_EQ(bank.OpeningOtherSide, 300);
  EXPECT_DOUBLE_EQ(bank.ClosingOwnSide, 910);
  EXPECT_DOUBLE_EQ(bank.ClosingOtherSide, 320);

  const auto& sales = RowOf(r, "8000");
  EXPECT_DOUBLE_EQ(sales.YearOpeningBalance, 700);
  EXPECT_DOUBLE_EQ(sales.OpeningOwnSide, 0);
  EXPECT_DOUBLE_EQ(sales.ClosingOwnSide, 0);
  EXPECT_DOUBLE_EQ(sales.OpeningOtherSide + sales.ClosingOtherSide, 0);

  // Not in the snapshot: the start amount, which does not count for the
  // year opening when the account starts with the period.
  const auto& capital = RowOf(r, "1900");
  EXPECT_DOUBLE_EQ(capital.YearOpeningBalance, 0);
  EXPECT_DOUBLE_EQ(capital.OpeningOwnSide, 500 + 700);
  EXPECT_DOUBLE_EQ(capital.ClosingOwnSide, 500 + 700);
}

TEST_F(BalanceTest, AccountStartingInsideThePeriodShowsItsStartAmountWithoutYearOpening) {
  files.accounts.push_back(Acc("1200", "Deposit", "D", "Assets", 75, "20240310"));
  const BalanceResult r = Run('1');
  const auto& row = RowOf(r, "1200");
  EXPECT_DOUBLE_EQ(row.YearOpeningBalance, 0);
  EXPECT_DOUBLE_EQ(row.OpeningOwnSide, 75);
  EXPECT_DOUBLE_EQ(row.ClosingOwnSide, 75);
}

TEST_F(BalanceTest, FrozenPeriodOfAnEarlierYearUsesItsOwnDatesAndFiguresOnly) {
  // Settings of 2024; the chosen period is June 2023. The old account was
  // closed at the end of 2023, the new one opened in 2024.
  files.accounts.push_back(Acc("1500", "Old", "D", "Assets", 0, "20200101", "20231231"));
  files.accounts.push_back(Acc("1600", "New", "D", "Assets", 0, "20240101"));
  files.freezes = {Freeze("2023-06/12", "20221231", "20230601", "20230701",
                          {{"1000", "D", kBs, 100, 120, 20, 130, 40}, {"1500", "D", kBs, 5, 6, 0, 7, 0}}),
                   Freeze("2024-02/12", "20231231", "20240201", "20240301", {})};
  files.accounts[1].SetStartDate("20200101");
  files.vouchers.push_back(Line("20230615", "1000", 999, 0));
  request.periodText = "2023-06/12";
  const BalanceResult r = Run('2');
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.period->start, "20230601");
  EXPECT_EQ(r.period->end, "20230701");
  EXPECT_EQ(r.period->yearBaseDate, "20221231");
  EXPECT_EQ(r.grid[0][1], "20221231");

  const auto& bank = RowOf(r, "1000");
  EXPECT_DOUBLE_EQ(bank.YearOpeningBalance, 100);
  EXPECT_DOUBLE_EQ(bank.OpeningOwnSide, 120);
  EXPECT_DOUBLE_EQ(bank.OpeningOtherSide, 20);
  EXPECT_DOUBLE_EQ(bank.ClosingOwnSide, 130);  // no voucher read
  EXPECT_DOUBLE_EQ(bank.ClosingOtherSide, 40);
  EXPECT_DOUBLE_EQ(RowOf(r, "1500").ClosingOwnSide, 7);
  for (const auto& row : r.table) EXPECT_NE(row.AccountNumber, "1600");
  EXPECT_FALSE(r.freezeAllowed);
}

TEST_F(BalanceTest, LowerCaseTypesAreSummedButTakeNoVoucherAmounts) {
  files.accounts.push_back(Acc("1100", "Cash", "d", "Assets", 40));
  files.accounts.push_back(Acc("1950", "Loan", "c", "Equity", 40));
  files.vouchers.push_back(Line("20240320", "1100", 60, 0));
  files.vouchers.push_back(Line("20240320", "1950", 0, 60));
  const BalanceResult r = Run('1');
  EXPECT_DOUBLE_EQ(RowOf(r, "1100").ClosingOwnSide, 40);
  EXPECT_DOUBLE_EQ(RowOf(r, "1950").ClosingOwnSide, 40);
  EXPECT_DOUBLE_EQ(r.sums.BsDebit.CloseOwn, 800 + 40);
  EXPECT_DOUBLE_EQ(r.sums.BsCredit.CloseOwn, 500 + 40);
}

TEST_F(BalanceTest, MessageBlocksComeInEachLayoutsOrder) {
  const std::string star = books::closing::kStarLine;
  const books::closing::BalanceTexts t;
  const std::string missingCat = "  +1 " + t.withoutCategory;
  const std::string ghost = "Ghost " + t.notACategory;
  struct Case {
    const char* name;
    char kind;
    double unbalanced;       // start amount of a lone debit account
    bool withoutCategory;
    bool profitAndTransfer;
    bool profitAccountNumber;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"kind 1, all but P/T", '1', 100, true, true, true,
       {star, t.openingOutOfBalance, star, star, missingCat, ghost, star, star, t.closingOutOfBalance, star}},
      {"kind 2, all but P/T", '2', 100, true, true, true,
       {star, missingCat, ghost, star, star, t.openingOutOfBalance, star, star, t.closingOutOfBalance, t.resultsDiffer,
        star}},
      {"kind 1, within tolerance, no P/T", '1', 0.0000005, false, false, true, {star, t.noProfitOrTransfer, star}},
      {"kind 1, just outside tolerance", '1', 0.000002, false, true, true,
       {star, t.openingOutOfBalance, star, star, t.closingOutOfBalance, star}},
      {"kind 2, no P/T, no profit account", '2', 0, false, false, false,
       {star, t.noProfitOrTransfer, star, star, t.noProfitAccountNumber, star}},
      {"kind 2, P/T hidden by a missing category", '2', 0, true, false, true, {star, missingCat, ghost, star}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files.vouchers.clear();
    files.accounts = {Acc("1000", "Bank", "D", "Assets", c.unbalanced)};
    if (c.withoutCategory) files.accounts.push_back(Acc("1010", "Lost", "D", "Ghost"));
    if (c.profitAndTransfer) {
      files.accounts.push_back(Acc("0900", "Profit", "P", "Equity"));
      files.accounts.push_back(Acc("9999", "Result", "T", "Expenses"));
    }
    request.settings.SetProfitAccountNumber(c.profitAccountNumber ? "0900" : "");
    const BalanceResult r = Run(c.kind);
    EXPECT_EQ(MessageRows(r, c.kind == '1' ? "Assets" : kBs), c.expected);
  }
}

TEST_F(BalanceTest, FreezePermissionNeedsEveryCondition) {
  struct Case {
    const char* name;
    std::function<void(BalanceTest&)> change;
    bool allowed;
  };
  const std::vector<Case> cases = {
      {"all conditions hold", [](BalanceTest&) {}, true},
      {"closing out of balance", [](BalanceTest& t) { t.files.vouchers.push_back(Line("20240320", "1000", 1, 0)); },
       false},
      {"a frozen period chosen",
       [](BalanceTest& t) {
         t.files.freezes = {Freeze("2024-03/12", "20231231", "20240301", "20240401", {})};
       },
       false},
      {"no profit account in the settings", [](BalanceTest& t) { t.request.settings.SetProfitAccountNumber(""); },
       false},
      {"no transfer account", [](BalanceTest& t) { t.files.accounts.pop_back(); }, false},
      {"period ends after the far end date", [](BalanceTest& t) { t.request.farEndDate = "20240331"; }, false},
      {"period ends on the far end date", [](BalanceTest& t) { t.request.farEndDate = "20240401"; }, true},
      {"more accounts than a freeze holds",
       [](BalanceTest& t) {
         for (int i = 0; i < 400; ++i) t.files.accounts.push_back(Acc("5" + std::to_string(1000 + i), "X", "D", "Expenses"));
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    files.freezes.clear();
    request.farEndDate = books::closing::kReportFarEndDate;
    c.change(*this);
    EXPECT_EQ(Run('1').freezeAllowed, c.allowed);
  }
}

TEST_F(BalanceTest, WithoutProfitOrTransferAccountNothingIsWrittenIntoForeignRows) {
  files.accounts = {Acc("1000", "Bank", "D", "Assets", 500), Acc("1900", "Capital", "C", "Equity", 500)};
  for (char kind : {'1', '2'}) {
    const BalanceResult r = Run(kind);
    if (kind == '1') {
      EXPECT_EQ(r.grid[0][6], "2024-03/12");
      EXPECT_EQ(r.grid[0][3], "Profit and loss");
    } else {
      EXPECT_EQ(r.grid[0][5], "2024-03/12");
      EXPECT_EQ(r.grid[0][3], "");  // no freeze: emptied
    }
    EXPECT_EQ(r.grid[0][0], "");
  }
}

TEST_F(BalanceTest, ProfitAccountInALaterCategoryGetsNoSubtotalAndNoOtherRowDoes) {
  FreezeFebruary();
  files.accounts[0].SetCategoryName("Expenses");  // the P account
  const BalanceResult r = Run('2');
  for (const GridRow& row : r.grid) {
    if (row[0] == "1000  Bank") {
      EXPECT_EQ(row[2], "");
      EXPECT_EQ(row[4], "");
      EXPECT_EQ(row[6], "");
    }
    if (row[0] == "0900  Profit") {
      EXPECT_EQ(row[6], A(250));  // its own closing figure, PlClosingProfit
    }
  }
}

TEST_F(BalanceTest, CategoryUnderBothKindsPlacesItsAccountsOnceAndSaysSo) {
  files.categories.push_back(Cat(kPl, "Assets"));
  const BalanceResult r = Run('1');
  int banks = 0;
  for (const auto& row : r.table) banks += row.AccountNumber == "1000";
  EXPECT_EQ(banks, 1);
  EXPECT_EQ(RowOf(r, "1000").CategoryKind, kBs);
  EXPECT_DOUBLE_EQ(r.sums.BsDebit.CloseOwn, 800);
  EXPECT_EQ(r.ambiguousCategories, std::vector<std::string>{"Assets"});
  bool said = false;
  for (const GridRow& row : r.grid) said = said || row[0].find("Assets is a category of both kinds") == 0;
  EXPECT_TRUE(said);
  EXPECT_TRUE(r.freezeAllowed);
}

TEST_F(BalanceTest, LargeBooksDoNotOverflowAndRefuseOnlyTheFreeze) {
  files.categories.clear();
  files.accounts.clear();
  files.vouchers.clear();
  for (int k = 0; k < 160; ++k) files.categories.push_back(Cat(k < 80 ? kBs : kPl, "Cat" + std::to_string(k)));
  for (int i = 0; i < 450; ++i) {
    const std::string number = std::to_string(10000 + i);
    files.accounts.push_back(Acc(number, "A", i % 2 ? "C" : "D", "Cat" + std::to_string(i % 160), 10));
    files.vouchers.push_back(Line("20240305", number, 1, 0));
  }
  const BalanceResult r = Run('1');
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.table.size(), 450u);
  EXPECT_GT(r.grid.size(), 555u);
  // Every placed row took its voucher line.
  for (const auto& row : r.table)
    EXPECT_DOUBLE_EQ(row.ClosingOwnSide + row.ClosingOtherSide, 11) << row.AccountNumber;
  EXPECT_FALSE(r.freezeAllowed);
  bool said = false;
  for (const GridRow& row : r.grid) said = said || row[0].find("450 accounts") == 0;
  EXPECT_TRUE(said);
}

TEST_F(BalanceTest, RefusedPeriodLeavesAnEmptyGrid) {
  for (const char* label : {"2024-16/16", "2024-05/04", "2024-01/00", "junk", "", "2024-3/12"}) {
    request.periodText = label;
    const BalanceResult r = Run('1');
    EXPECT_NE(r.error, "") << label;
    EXPECT_TRUE(r.grid.empty()) << label;
    EXPECT_EQ(r.gridRowCount, 0) << label;
    EXPECT_FALSE(r.freezeAllowed) << label;
  }
}

// A snapshot whose dates or label are garbage is told as a damaged file,
// not computed into figures.
TEST_F(BalanceTest, ADamagedSnapshotIsToldAndNothingIsComputed) {
  struct Case {
    const char* name;
    std::string label, start;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"a label of no period", "2024-0x/12", "20240201",
       "damaged file freeze.vlk: record 1: the period label \"2024-0x/12\" is not YYYY-PP/NN"},
      {"a start that is no date", "2024-02/12", "2024021",
       "damaged file freeze.vlk: record 1: the period start \"2024021\" is no date"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files.freezes = {Freeze(c.label, "20231231", c.start, "20240301", {{"1000", "D", kBs, 500, 500, 0, 550, 0}})};
    const BalanceResult r = Run('2');
    EXPECT_EQ(r.error, c.error);
    EXPECT_TRUE(r.grid.empty());
    EXPECT_FALSE(r.freezeAllowed);
  }
}

TEST(ReportPeriod, DatesOfEachKindOfPeriod) {
  const records::AdminSettingsRec s = Settings2024();
  const std::vector<records::FreezeRec> none;
  const std::vector<records::FreezeRec> two = {
      Freeze("2023-12/12", "20221231", "20231201", "20240101", {}),
      Freeze("2024-02/12", "20231231", "20240201", "20240301", {}),
  };
  struct Case {
    const char* label;
    const std::vector<records::FreezeRec>* freezes;
    std::optional<int> hit, snapshot;
    const char *base, *card, *start, *end;
  };
  const std::vector<Case> cases = {
      {"2024-00/12", &none, {}, {}, "20231231", "20231231", "20231231", "20240101"},
      {"2024-00/00", &none, {}, {}, "20231231", "20231231", "20231231", "20240101"},
      {"2024-01/12", &none, {}, {}, "20231231", "20231231", "20240101", "20240201"},
      {"2024-03/12", &none, {}, {}, "20231231", "20231231", "20240301", "20240401"},
      {"2024-12/12", &none, {}, {}, "20231231", "20231231", "20241201", "20250101"},
      {"2024-14/14", &none, {}, {}, "20231231", "20231231", "", "20250101"},
      {"2024-03/12", &two, {}, 1, "20231231", "20231231", "20240301", "20240401"},
      {"2024-00/12", &two, {}, 1, "20231231", "20231231", "20231231", "20240101"},
      {"2024-01/12", &two, {}, 1, "20231231", "20231231", "20240101", "20240201"},
      {"2023-12/12", &two, 0, 0, "20221231", "20221231", "20231201", "20240101"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    records::AdminSettingsRec settings = s;
    if (std::string(c.label) == "2024-14/14") {
      settings.SetPeriodStart(14, "20241215");
      settings.SetPeriodStart(15, "");
    }
    const books::closing::PeriodOrError p = books::closing::ComputeReportPeriod(c.label, settings, *c.freezes);
    ASSERT_TRUE(p.period) << p.error;
    EXPECT_EQ(p.period->hit, c.hit);
    EXPECT_EQ(p.period->snapshot, c.snapshot);
    EXPECT_EQ(p.period->yearBaseDate, c.base);
    EXPECT_EQ(p.period->cardYearBaseDate, c.card);
    if (*c.start) {
      EXPECT_EQ(p.period->start, c.start);
    }
    EXPECT_EQ(p.period->end, c.end);
  }
}

// A new administration's year 2026 in twelve periods, nothing frozen: the
// opening period "00/00" is a period like the others.
TEST(ReportPeriod, TheLabelsOfANewAdministrationsYear) {
  records::AdminSettingsRec s;
  s.SetBookYearStart("20260101");
  s.SetBookYearEnd("20261231");
  s.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, "2026" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
  for (int k = 13; k <= 15; ++k) s.SetPeriodStart(k, "20270101");
  struct Case {
    const char* label;
    bool refused;
    const char *base, *start, *end;
  };
  const std::vector<Case> cases = {
      {"2026-00/00", false, "20251231", "20251231", "20260101"},
      {"2026-01/12", false, "20251231", "20260101", "20260201"},
      {"2026-12/12", false, "20251231", "20261201", "20270101"},
      {"2026-13/12", true, "", "", ""},
      {"2026-01/00", true, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const books::closing::PeriodOrError p = books::closing::ComputeReportPeriod(c.label, s, {});
    ASSERT_EQ(!p.period, c.refused) << p.error;
    if (c.refused) {
      EXPECT_EQ(p.error, "The period " + std::string(c.label) + " is not a period of the book year");
      continue;
    }
    EXPECT_EQ(p.period->yearBaseDate, c.base);
    EXPECT_EQ(p.period->start, c.start);
    EXPECT_EQ(p.period->end, c.end);
  }
}

TEST(ReportPeriod, FifteenthPeriodAndBadSettingsAreHandled) {
  records::AdminSettingsRec s = Settings2024();
  s.SetPeriodStart(15, "20241220");
  auto p = books::closing::ComputeReportPeriod("2024-15/15", s, {});
  ASSERT_TRUE(p.period);
  EXPECT_EQ(p.period->start, "20241220");
  EXPECT_EQ(p.period->end, "20250101");
  // A period whose start the settings do not hold.
  EXPECT_FALSE(books::closing::ComputeReportPeriod("2024-14/15", Settings2024(), {}).period);
  s.SetBookYearStart("2024");
  p = books::closing::ComputeReportPeriod("2024-03/12", s, {});
  EXPECT_FALSE(p.period);
  EXPECT_NE(p.error, "");
}

// The reader: the four files through the store.
class BalanceFilesTest : public ::testing::Test {
 protected:
  static constexpr const char* kDir = "/d/ACME/";
  support::FakeDataStore store;
  platform::ScopedNumberFormat numbers{'.'};

  void SetUp() override {
    store.fs.AddFolder("/d/ACME");
    store::SetDataRoot("/d/");
    store::SetCurrentAdministrationFolder("ACME");
    text::SystemSettings.AmountDecimals = 2;
    store.fs.SetFile(std::string(kDir) + "ledgerct.vlk", support::Bytes({Cat(kBs, "Assets"), Cat(kPl, "Costs")}));
    store.fs.SetFile(std::string(kDir) + "ledger.vlk",
                     support::Bytes({Acc("1000", "Bank", "D", "Assets", 10), Acc("4000", "Rent", "D", "Costs")}));
    store.fs.SetFile(std::string(kDir) + "book.vlk", support::Bytes({Line("20240105", "1000", 0, 3),
                                                                    Line("20240105", "4000", 3, 0)}));
    store.fs.SetFile(std::string(kDir) + "freeze.vlk", "");
  }
};

TEST_F(BalanceFilesTest, ReadsTheFilesAndClosesTheSet) {
  BalanceRequest q;
  q.settings = Settings2024();
  q.periodText = "2024-01/12";
  const books::closing::BalanceGridRun run = books::closing::ComputeBalanceGrid(q);
  EXPECT_FALSE(run.openFailure);
  EXPECT_FALSE(store::FileSetOpen);
  ASSERT_EQ(run.result.table.size(), 2u);
  EXPECT_DOUBLE_EQ(run.result.table[0].ClosingOtherSide, 3);
  EXPECT_DOUBLE_EQ(run.result.table[1].ClosingOwnSide, 3);
}

TEST_F(BalanceFilesTest, FailedOpenComputesNothing) {
  store.fs.InjectError(std::string(kDir) + "ledger.vlk", support::FakeFileSystem::Op::OpenReadWrite, 13);
  BalanceRequest q;
  q.settings = Settings2024();
  q.periodText = "2024-01/12";
  const books::closing::BalanceGridRun run = books::closing::ComputeBalanceGrid(q);
  ASSERT_TRUE(run.openFailure);
  EXPECT_NE(run.openFailure->text, "");
  EXPECT_TRUE(run.result.grid.empty());
  EXPECT_EQ(run.result.gridRowCount, 0);
  EXPECT_FALSE(run.result.freezeAllowed);
  EXPECT_FALSE(store::FileSetOpen);
}

}  // namespace

namespace {

TEST(BalanceRule, SidesCarryIntoTheNextPeriod) {
  struct Case {
    const char* name;
    bool newBookYear;
    std::string kind;
    books::closing::CarriedSides carried;
  };
  const std::vector<Case> cases = {
      {"balance sheet, same year", false, std::string(records::kBalanceSheetKind), {900, 300}},
      {"balance sheet, new year", true, std::string(records::kBalanceSheetKind), {900, 300}},
      {"profit and loss, same year", false, std::string(records::kProfitAndLossKind), {900, 300}},
      {"profit and loss, new year", true, std::string(records::kProfitAndLossKind), {0, 0}},
      {"empty kind counts as profit and loss", true, "", {0, 0}},
      {"lower-case b is not a balance-sheet kind", true, "balance", {0, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(books::closing::CarryIntoNextPeriod(900, 300, c.newBookYear, c.kind), c.carried) << c.name;
}

TEST(BalanceRule, FreezeLabelClosesItsYearWhenItsPeriodIsTheLast) {
  for (const auto& [label, closes] : std::vector<std::pair<std::string, bool>>{
           {"2024-12/12", true}, {"2024-03/12", false}, {"2024-00/00", true}, {"2024-12", false}, {"", false}})
    EXPECT_EQ(books::closing::FreezeClosesBookYear(label), closes) << label;
}

// The grid speaks the language: each text from its own field of the language
// record, the built-in English record gives the English defaults, and a field
// a language leaves empty keeps the English text rather than a blank row.
TEST(BalanceTextsOf, EachTextFromItsLanguageFieldAndAnEmptyFieldKeepsTheEnglish) {
  using T = books::closing::BalanceTexts;
  struct Field {
    std::size_t offset;
    std::string T::*text;
    const char* dutch;
  };
  const std::vector<Field> fields = {
      {2410, &T::accountHeading, "Omschrijving"},
      {2454, &T::debit, "Debet"},
      {2465, &T::credit, "Krediet"},
      {8078, &T::balanceSheet, "Balans"},
      {8104, &T::totals, "Totalen"},
      {8130, &T::profitAndLoss, "Winst en verlies"},
      {9923, &T::noProfitOrTransfer, "Winstrekening (P) of overboekingsrekening (T) ontbreekt"},
      {9994, &T::noProfitAccountNumber, "Geen winstrekening in de administratie-instellingen"},
      {10065, &T::openingOutOfBalance, "De beginbalans is niet in evenwicht"},
      {10136, &T::resultsDiffer, "Resultaat balans en resultaat winst en verlies verschillen"},
      {10207, &T::closingOutOfBalance, "De eindbalans is niet in evenwicht"},
      {10990, &T::withoutCategory, "rekeningen zonder geldige rubriek"},
      {11071, &T::notACategory, "is geen bestaande rubriek"},
  };
  const T english;
  const T builtIn = books::closing::BalanceTextsOf(text::BuiltInEnglish());
  text::LanguageRec dutch = text::BuiltInEnglish();
  for (const Field& f : fields) dutch.SetL(f.offset, f.dutch);
  const T translated = books::closing::BalanceTextsOf(dutch);
  for (const Field& f : fields) {
    EXPECT_EQ(builtIn.*f.text, english.*f.text) << f.offset;
    EXPECT_EQ(translated.*f.text, f.dutch) << f.offset;
    text::LanguageRec gap = dutch;
    gap.SetL(f.offset, "");
    EXPECT_EQ(books::closing::BalanceTextsOf(gap).*f.text, english.*f.text) << f.offset;
  }
}

}  // namespace
