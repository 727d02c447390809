// The decisions of the voucher entry screen and the journal form's set-up:
// the Save test, amount fields and totals, netting, the lowest open date,
// the account pickers, the screen's key, the locks of a loaded voucher, the
// questions before typed lines go, and the set-up's lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "books/journal/entryrules.h"
#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/reset.h"

namespace {

using books::journal::AccountItem;
using books::journal::EntryField;
using books::journal::EntryMode;
using books::journal::EntryScreen;
using books::journal::FieldMark;
using books::journal::SaveBlock;
using books::journal::VoucherLock;

// Point locale, two amount decimals, the euro after the amount; the program
// reset around each test.
class EntryRules : public ::testing::Test {
 protected:
  void SetUp() override {
    text::SystemSettings.AmountDecimals = 2;
    text::SystemSettings.CurrencySign = '\x80';
    text::SystemSettings.CurrencyInFront = 'F';
  }
  support::ProgramState state_;
  platform::ScopedNumberFormat locale_{'.'};
};

struct Line {
  std::string account;
  std::string debit;
  std::string credit;
  bool inLedger = true;
};

// A screen dated 15 March 2026 in an open period of a book year ending
// 31 December 2026, numbered "7", with the given lines.
EntryScreen Screen(const std::vector<Line>& lines) {
  EntryScreen s;
  s.voucherDate = "20260315";
  s.voucherNumber = "7";
  s.lowestOpenDate = "20260101";
  s.bookYearEnd = "20261231";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    s.lines[i].accountNumber = lines[i].account;
    s.lines[i].debitText = lines[i].debit;
    s.lines[i].creditText = lines[i].credit;
    s.lines[i].accountInLedger = lines[i].inLedger && !lines[i].account.empty();
  }
  return s;
}

// ------------------------------------------------------------ Save test

TEST_F(EntryRules, SaveTestOverTheLines) {
  struct Case {
    const char* name;
    std::vector<Line> lines;
    SaveBlock block;
  };
  const std::vector<Case> cases = {
      {"balanced pair", {{"1000", "100", ""}, {"4000", "", "100"}}, SaveBlock::None},
      {"balanced over three lines", {{"1000", "150", ""}, {"4000", "", "100"}, {"1600", "", "50"}}, SaveBlock::None},
      {"single amount line", {{"1000", "100", ""}}, SaveBlock::TooFewLines},
      {"empty screen", {}, SaveBlock::TooFewLines},
      {"debit over credit", {{"1000", "100", ""}, {"4000", "", "50"}}, SaveBlock::Unbalanced},
      {"credit over debit", {{"1000", "50", ""}, {"4000", "", "100"}}, SaveBlock::Unbalanced},
      {"off by a hundred-thousandth", {{"1000", "100", ""}, {"4000", "", "100.00001"}}, SaveBlock::Unbalanced},
      {"negative amounts balance", {{"1000", "-20", ""}, {"4000", "", "-20"}}, SaveBlock::None},
      {"amount without account", {{"1000", "100", ""}, {"", "", "100"}}, SaveBlock::AccountMissing},
      {"account not in the ledger", {{"1000", "100", ""}, {"9999", "", "100", false}}, SaveBlock::AccountNotInLedger},
      {"unknown account on an empty line is no matter", {{"1000", "100", ""}, {"4000", "", "100"}, {"9999", "", "", false}},
       SaveBlock::None},
      // Line 1 nets to zero: one line would be written.
      {"a line that nets to zero is not counted", {{"1000", "100", "100"}, {"4000", "50", ""}},
       SaveBlock::TooFewLines},
      {"two lines left beside a netted-out one", {{"1000", "100", "100"}, {"4000", "50", ""}, {"1600", "", "50"}},
       SaveBlock::None},
      {"all lines net to zero", {{"1000", "100", "100"}, {"4000", "30", "30"}}, SaveBlock::TooFewLines},
      {"netted pair", {{"1000", "100", "30"}, {"4000", "", "70"}}, SaveBlock::None},
      {"lone minus typed", {{"1000", "-", ""}, {"4000", "", "100"}}, SaveBlock::UnreadableAmount},
      {"minus inside", {{"1000", "12-3", ""}, {"4000", "", "100"}}, SaveBlock::UnreadableAmount},
      {"trailing minus", {{"1000", "100", ""}, {"4000", "", "1-"}}, SaveBlock::UnreadableAmount},
      {"formatted amounts", {{"1000", "  1,234.50 \x80", ""}, {"4000", "", "1234.5"}}, SaveBlock::None},
  };
  for (const Case& c : cases) {
    const books::journal::SaveTest t = books::journal::TestSave(Screen(c.lines));
    EXPECT_EQ(t.block, c.block) << c.name;
    EXPECT_EQ(t.saveEnabled, c.block == SaveBlock::None) << c.name;
  }
}

TEST_F(EntryRules, SaveTestOverTheHeader) {
  struct Case {
    const char* name;
    std::string date;
    std::string number;
    EntryMode mode;
    SaveBlock block;
    FieldMark mark;
  };
  const FieldMark date{EntryField::VoucherDate, 0};
  const FieldMark number{EntryField::VoucherNumber, 0};
  const std::vector<Case> cases = {
      {"system number typed", "20260315", "! SYSTEM", EntryMode::Add, SaveBlock::SystemNumber, number},
      {"other system number", "20260315", "{SYSTEM}", EntryMode::Add, SaveBlock::SystemNumber, number},
      {"system number in a change", "20260315", "{SYSTEM}", EntryMode::Change, SaveBlock::SystemNumber, number},
      {"system number with a blank", "20260315", "! SYSTEM ", EntryMode::Add, SaveBlock::SystemNumber, number},
      {"profit booking writes it", "20260315", "! SYSTEM", EntryMode::Profit, SaveBlock::None, {}},
      {"closed period", "20251231", "7", EntryMode::Add, SaveBlock::DateBeforeLowestOpen, date},
      {"first open day", "20260101", "7", EntryMode::Add, SaveBlock::None, {}},
      {"profit booking in the closed period", "20251231", "! SYSTEM", EntryMode::Profit, SaveBlock::None, {}},
      {"20 characters", "20260315", std::string(20, 'N'), EntryMode::Add, SaveBlock::None, {}},
      {"21 characters", "20260315", std::string(21, 'N'), EntryMode::Add, SaveBlock::NumberTooLong, number},
      {"no date", "20260231", "7", EntryMode::Add, SaveBlock::InvalidDate, date},
  };
  for (const Case& c : cases) {
    EntryScreen s = Screen({{"1000", "100", ""}, {"4000", "", "100"}});
    s.voucherDate = c.date;
    s.voucherNumber = c.number;
    s.mode = c.mode;
    const books::journal::SaveTest t = books::journal::TestSave(s);
    EXPECT_EQ(t.block, c.block) << c.name;
    EXPECT_EQ(t.saveEnabled, c.block == SaveBlock::None) << c.name;
    if (c.block != SaveBlock::None) {
      EXPECT_EQ(t.marks, std::vector<FieldMark>{c.mark}) << c.name;
      EXPECT_FALSE(t.status.empty()) << c.name;
      EXPECT_TRUE(t.statusYellow) << c.name;
    }
  }
}

TEST_F(EntryRules, ProfitBookingWritesItsTwoLinesEvenWhenZero) {
  EntryScreen s = Screen({{"0900", "0", ""}, {"1100", "", "0"}});
  s.voucherNumber = "! SYSTEM";
  s.mode = EntryMode::Profit;
  EXPECT_TRUE(books::journal::TestSave(s).saveEnabled);
  // Unbalanced it is refused all the same.
  s.lines[0].debitText = "10";
  EXPECT_EQ(books::journal::TestSave(s).block, SaveBlock::Unbalanced);
}

TEST_F(EntryRules, LockedLoadedVoucherCannotBeSaved) {
  EntryScreen s = Screen({{"1000", "100", ""}, {"4000", "", "100"}});
  s.loadedLocked = true;
  const books::journal::SaveTest t = books::journal::TestSave(s);
  EXPECT_FALSE(t.saveEnabled);
  EXPECT_EQ(t.block, SaveBlock::Locked);
}

TEST_F(EntryRules, MissingAccountIsNamedAndMarked) {
  const books::journal::SaveTest t =
      books::journal::TestSave(Screen({{"1000", "100", ""}, {"9999", "", "100", false}}));
  EXPECT_FALSE(t.saveEnabled);
  EXPECT_EQ(t.line, 2);
  EXPECT_EQ(t.account, "9999");
  EXPECT_EQ(t.marks, (std::vector<FieldMark>{{EntryField::AccountNumber, 2}}));
  EXPECT_NE(t.status.find("9999"), std::string::npos) << t.status;
  EXPECT_TRUE(t.statusYellow);
}

TEST_F(EntryRules, UnreadableAmountsAreMarkedNeverRaised) {
  const std::vector<Line> lines = {{"1000", "-", ""}, {"4000", "", "12-3"}, {"1600", "5", "1-2"}};
  books::journal::SaveTest t;
  ASSERT_NO_THROW(t = books::journal::TestSave(Screen(lines)));
  EXPECT_FALSE(t.saveEnabled);
  EXPECT_EQ(t.block, SaveBlock::UnreadableAmount);
  EXPECT_EQ(t.line, 1);
  EXPECT_EQ(t.marks, (std::vector<FieldMark>{
                         {EntryField::Debit, 1}, {EntryField::Credit, 2}, {EntryField::Credit, 3}}));
  EXPECT_NO_THROW(books::journal::ComputeTotals(Screen(lines)));
}

TEST_F(EntryRules, DateAfterBookYearEndWarnsButSaves) {
  EntryScreen s = Screen({{"1000", "100", ""}, {"4000", "", "100"}});
  s.voucherDate = "20270105";
  books::journal::SaveTest t = books::journal::TestSave(s);
  EXPECT_TRUE(t.saveEnabled);
  EXPECT_TRUE(t.dateAfterBookYearEnd);
  EXPECT_TRUE(t.statusYellow);
  EXPECT_NE(t.status.find("31-12-2026"), std::string::npos) << t.status;
  EXPECT_EQ(t.marks, (std::vector<FieldMark>{{EntryField::VoucherDate, 0}}));

  s.voucherDate = "20261231";  // the last day of the year is in it
  t = books::journal::TestSave(s);
  EXPECT_FALSE(t.dateAfterBookYearEnd);
  EXPECT_TRUE(t.status.empty());
}

// --------------------------------------------------------- amounts, totals

TEST_F(EntryRules, ReadEntryAmount) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const std::vector<Case> cases = {
      {"", 0.0}, {"   ", 0.0}, {"12.5", 12.5}, {"-12.5", -12.5}, {"1,234.56 \x80", 1234.56}, {".5", 0.5},
      {"-", std::nullopt}, {"12-3", std::nullopt}, {"1-", std::nullopt}, {"1.2.3", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(books::journal::ReadEntryAmount(c.text), c.value) << '"' << c.text << '"';
}

TEST_F(EntryRules, AmountsInTheCommaLocale) {
  platform::ScopedNumberFormat comma(',');
  EXPECT_EQ(books::journal::ReadEntryAmount(",5"), 0.5);
  EXPECT_EQ(books::journal::ReadEntryAmount("1.234,50"), 1234.5);
  EXPECT_EQ(books::journal::ReadEntryAmount("1,2,3"), std::nullopt);
  EXPECT_EQ(books::journal::AmountFieldChanged(",5", false), "5");  // no separator in front
  EXPECT_TRUE(books::journal::TestSave(Screen({{"1000", "1.234,50", ""}, {"4000", "", "1234,5"}})).saveEnabled);
}

TEST_F(EntryRules, MissingAccountNumberIsMarkedQuietly) {
  const books::journal::SaveTest t = books::journal::TestSave(Screen({{"1000", "100", ""}, {"", "", "100"}}));
  EXPECT_EQ(t.block, SaveBlock::AccountMissing);
  EXPECT_EQ(t.marks, (std::vector<FieldMark>{{EntryField::AccountNumber, 2}}));
  EXPECT_TRUE(t.status.empty());
}

TEST_F(EntryRules, AmountFieldChangeFiltersUnlessTheProgramWrote) {
  EXPECT_EQ(books::journal::AmountFieldChanged("12a.345", false), "12.34");
  EXPECT_EQ(books::journal::AmountFieldChanged("-", false), "-");
  // The program's own formatted text keeps its grouping and currency sign.
  EXPECT_EQ(books::journal::AmountFieldChanged("1,234.50 \x80", true), "1,234.50 \x80");
}

TEST_F(EntryRules, AmountFieldLeft) {
  const std::string formatted = text::FormatAmount(1234.5, 2, 'Y');
  struct Case {
    std::string text;
    books::journal::AmountExit exit;
  };
  const std::vector<Case> cases = {
      {"1234.5", {formatted, true}},
      {formatted, {formatted, false}},  // already shown so: nothing to put back
      {"", {"", false}},
      {"-", {"-", false}},        // unreadable stays for the Save test to mark
      {"12-3", {"12-3", false}},
  };
  for (const Case& c : cases) EXPECT_EQ(books::journal::AmountFieldLeft(c.text, 2), c.exit) << c.text;
  EXPECT_EQ(books::journal::AmountFieldLeft("7", 0).text, text::FormatAmount(7, 0, 'Y'));
}

TEST_F(EntryRules, NetLine) {
  struct Case {
    double debit, credit;
    books::journal::NettedAmounts netted;
    bool written;
  };
  const std::vector<Case> cases = {
      {100, 30, {70, 0}, true}, {30, 100, {0, 70}, true}, {30, 30, {0, 0}, false},
      {-50, 30, {0, 80}, true}, {-50, 0, {-50, 0}, true}, {0, 0, {0, 0}, false},
      {0, 25, {0, 25}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(books::journal::NetLine(c.debit, c.credit), c.netted) << c.debit << "/" << c.credit;
    EXPECT_EQ(books::journal::IsWritten(c.netted), c.written) << c.debit << "/" << c.credit;
  }
}

TEST_F(EntryRules, LinesLeftAfterNetting) {
  EXPECT_EQ(books::journal::LinesLeftAfterNetting(Screen({{"1", "100", "100"}, {"2", "50", ""}})), 1);
  EXPECT_EQ(books::journal::LinesLeftAfterNetting(Screen({{"1", "100", "30"}, {"2", "", "70"}, {"3", "-", ""}})), 2);
  EXPECT_EQ(books::journal::LinesLeftAfterNetting(Screen({})), 0);
}

TEST_F(EntryRules, TotalsWithTheAmountDecimals) {
  struct Case {
    int decimals;
    int shown;
  };
  for (const Case& c : std::vector<Case>{{0, 2}, {2, 2}, {3, 3}, {4, 4}}) {
    EntryScreen s = Screen({{"1000", "100.004", ""}, {"4000", "", "100"}, {"1600", "", "-"}});
    s.amountDecimals = c.decimals;
    const books::journal::EntryTotals t = books::journal::ComputeTotals(s);
    EXPECT_DOUBLE_EQ(t.debit, 100.004);
    EXPECT_DOUBLE_EQ(t.credit, 100);
    EXPECT_NEAR(t.difference, 0.004, 1e-9);
    EXPECT_EQ(books::journal::TotalsDecimals(c.decimals), c.shown);
    EXPECT_EQ(t.debitText, text::FormatAmount(100.004, c.shown, 'Y')) << c.decimals;
    EXPECT_EQ(t.creditText, text::FormatAmount(100, c.shown, 'Y')) << c.decimals;
    EXPECT_EQ(t.differenceText, text::FormatAmount(0.004, c.shown, 'Y')) << c.decimals;
    EXPECT_EQ(books::journal::TestSave(s).block, SaveBlock::UnreadableAmount);
  }
}

// ------------------------------------------------------ lowest open date

TEST_F(EntryRules, LowestOpenDate) {
  std::array<std::string, 15> starts;
  for (int k = 0; k < 13; ++k) starts[static_cast<std::size_t>(k)] = "2026" + std::string(k < 9 ? "0" : "") +
                                                                      std::to_string(k + 1) + "01";
  starts[12] = "20270101";  // the day after the year's end
  struct Case {
    const char* lastClosed;
    const char* current;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"", "04/12", "19000101"},
      {"03/12", "04/12", "20260401"},
      {"12/12", "01/12", "20260101"},
      {"01/12", "02/12", "20260201"},
      {"15/15", "15/15", "20250505"},  // unchanged
      {"xx/12", "04/12", "20250505"},  // unchanged
      {"14/15", "15/15", "20250505"},  // start 15 is no date: unchanged
  };
  for (const Case& c : cases)
    EXPECT_EQ(books::journal::LowestOpenDate(c.lastClosed, c.current, starts, "20250505"), c.expected)
        << c.lastClosed << " " << c.current;

  records::AdminSettingsRec settings{};
  settings.SetLastClosedPeriod("03/12");
  settings.SetCurrentPeriod("04/12");
  for (int k = 1; k <= 15; ++k) settings.SetPeriodStart(k, starts[static_cast<std::size_t>(k - 1)]);
  EXPECT_EQ(books::journal::LowestOpenDate(settings, "19000101"), "20260401");
}

// ---------------------------------------------------------------- keys

TEST_F(EntryRules, EntryKey) {
  EXPECT_EQ(books::journal::MakeEntryKey("20260315", "CUS25/1")->text, "20260315CUS25/1");
  EXPECT_EQ(books::journal::MakeEntryKey("20260315", std::string(20, '9'))->text, "20260315" + std::string(20, '9'));
  EXPECT_FALSE(books::journal::MakeEntryKey("20260315", std::string(21, '9')));
  EXPECT_FALSE(books::journal::MakeEntryKey("2026031", "1"));

  // Byte order: "! SYSTEM" before digits, "{SYSTEM}" after letters, "10"
  // before "2", "Z" before "a", a prefix first.
  const std::vector<std::string> ordered = {"20260315! SYSTEM", "2026031510",  "202603152",   "20260315Z",
                                            "20260315a",        "20260315ab",  "20260315{SYSTEM}", "20260316"};
  for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_LT(books::journal::CompareVoucherKeys(ordered[i], ordered[i + 1]), 0) << ordered[i];
    EXPECT_GT(books::journal::CompareVoucherKeys(ordered[i + 1], ordered[i]), 0) << ordered[i];
  }
  EXPECT_EQ(books::journal::CompareVoucherKeys("202603157", "202603157"), 0);
  EXPECT_GT(books::journal::CompareVoucherKeys("20260315\x80", "20260315z"), 0);  // unsigned bytes
}

TEST_F(EntryRules, LoadedVoucherLock) {
  struct Case {
    const char* date;
    const char* number;
    std::size_t records;
    VoucherLock lock;
  };
  const std::vector<Case> cases = {
      {"20260315", "7", 3, VoucherLock::None},
      {"20260315", "! SYSTEM", 2, VoucherLock::SystemVoucher},
      {"20260315", "{SYSTEM}", 2, VoucherLock::SystemVoucher},
      {"20251231", "7", 2, VoucherLock::ClosedPeriod},
      {"20261340", "7", 2, VoucherLock::InvalidDate},
      {"20260315", "7", 9, VoucherLock::OverEightLines},
      {"20260315", "7", 8, VoucherLock::None},
  };
  for (const Case& c : cases)
    EXPECT_EQ(books::journal::LoadedVoucherLock(c.date, c.number, "20260101", c.records), c.lock) << c.date << c.number;
  EXPECT_FALSE(books::journal::VoucherLockText(VoucherLock::OverEightLines).empty());
  EXPECT_TRUE(books::journal::VoucherLockText(VoucherLock::None).empty());
}

// ------------------------------------------------------------- accounts

const std::vector<AccountItem> kAccounts = {
    {"130", "Cash"}, {"1300", "Bank"}, {"1600", "Rent {old}"}, {"4000", "Sales"}, {"4010", "Sales"}, {"80A", "Misc"}};

TEST_F(EntryRules, MatchByNumber) {
  struct Case {
    const char* typed;
    std::optional<std::size_t> index;
  };
  const std::vector<Case> cases = {
      {"4000", 3},           // the number alone fills 4000 and Sales
      {"130", 0},            // never 1300
      {"1300", 1},
      {"13", std::nullopt},  // no prefix match
      {" 4000 ", 3},
      {"4000{sales}", 3},    // whole item ignoring case
      {"1600{Rent {old}}", 2},
      {"80a", 5},            // number ignoring case
      {"Sales", std::nullopt},
      {"9999", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(books::journal::MatchByNumber(kAccounts, c.typed), c.index) << c.typed;
  EXPECT_EQ(kAccounts[3], (AccountItem{"4000", "Sales"}));
}

TEST_F(EntryRules, MatchByName) {
  struct Case {
    const char* typed;
    std::optional<std::size_t> index;
  };
  const std::vector<Case> cases = {
      {"cash", 0},
      {"Bank{1300}", 1},
      {"rent {old}", 2},          // braces in a caption are the caption's
      {"Rent {old}{1600}", 2},
      {"Sales", std::nullopt},    // two accounts: the whole item picks one
      {"Sales{4010}", 4},
      {"Ban", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(books::journal::MatchByName(kAccounts, c.typed), c.index) << c.typed;
}

TEST_F(EntryRules, PresetKeepsTheLinesAccount) {
  EXPECT_EQ(books::journal::PresetItem(kAccounts, "130"), 0u);
  EXPECT_EQ(books::journal::PresetItem(kAccounts, "130            "), 0u);  // stored padding
  EXPECT_EQ(books::journal::PresetItem(kAccounts, "4010"), 4u);             // not the first "Sales"
  EXPECT_EQ(books::journal::PresetItem(kAccounts, ""), std::nullopt);       // never the list's last
  EXPECT_EQ(books::journal::PresetItem(kAccounts, "13"), std::nullopt);
  // Passing through a filled line and leaving it gives the same account.
  for (std::size_t i = 0; i < kAccounts.size(); ++i) {
    const std::optional<std::size_t> preset = books::journal::PresetItem(kAccounts, kAccounts[i].number);
    ASSERT_TRUE(preset);
    EXPECT_EQ(books::journal::MatchByNumber(kAccounts, books::journal::ByNumberText(kAccounts[*preset])), i);
    EXPECT_EQ(books::journal::MatchByName(kAccounts, books::journal::ByNameText(kAccounts[*preset])), i);
  }
}

TEST_F(EntryRules, CaptionOfAFilledLine) {
  EXPECT_EQ(books::journal::CaptionOf(kAccounts, "1300"), "Bank");  // not 130's caption
  EXPECT_EQ(books::journal::CaptionOf(kAccounts, "130"), "Cash");
  EXPECT_EQ(books::journal::CaptionOf(kAccounts, "1500"), std::nullopt);  // never the next account's
}

TEST_F(EntryRules, ItemTextsAndNameOrder) {
  EXPECT_EQ(books::journal::ByNumberText({"4000", "Sales"}), "4000{Sales}");
  EXPECT_EQ(books::journal::ByNameText({"4000", "Sales"}), "Sales{4000}");
  const std::vector<AccountItem> sorted =
      books::journal::SortedByName({{"1", "beta"}, {"2", "Alpha"}, {"3", "Gamma"}, {"4", "alpha"}});
  EXPECT_EQ(sorted, (std::vector<AccountItem>{{"2", "Alpha"}, {"4", "alpha"}, {"1", "beta"}, {"3", "Gamma"}}));
  EXPECT_TRUE(books::journal::SortedByName({}).empty());
}

TEST_F(EntryRules, EntryLineAmounts) {
  struct Case {
    int line;
    char side;
    int decimals;
    bool debit, credit;
  };
  const std::vector<Case> cases = {
      {1, 'D', 2, true, false}, {1, 'C', 2, false, true}, {1, ' ', 2, false, true},
      {2, 'D', 0, true, false}, {2, 'C', 3, false, true}, {2, ' ', 2, false, false},
  };
  for (const Case& c : cases) {
    const std::string shown = text::FormatAmount(1234.5, c.decimals, 'Y');
    const books::journal::LineAmounts a = books::journal::EntryLineAmounts(c.line, 1234.5, c.side, c.decimals);
    EXPECT_EQ(a.debitText, c.debit ? shown : "") << c.line << c.side;
    EXPECT_EQ(a.creditText, c.credit ? shown : "") << c.line << c.side;
  }
  text::SystemSettings.CurrencyInFront = 'T';
  EXPECT_EQ(books::journal::EntryLineAmounts(2, 5, 'D', 2).debitText, text::FormatAmount(5, 2, 'Y'));
}

// ------------------------------------------------------------- questions

TEST_F(EntryRules, AskBeforeDiscard) {
  using books::journal::DiscardAction;
  const books::journal::EntrySnapshot empty;
  books::journal::EntrySnapshot typed;
  typed.lines[2][4] = "5";
  books::journal::EntrySnapshot loaded;
  loaded.voucherNumber = "7";
  loaded.lines[0] = {"Rent", "1600", "Rent {old}", "", "100.00", ""};

  for (DiscardAction a : {DiscardAction::Escape, DiscardAction::Close, DiscardAction::New,
                          DiscardAction::TemplatePick}) {
    EXPECT_FALSE(books::journal::AskBeforeDiscard(a, empty, empty));
    EXPECT_TRUE(books::journal::AskBeforeDiscard(a, empty, typed));
    EXPECT_FALSE(books::journal::AskBeforeDiscard(a, loaded, loaded));  // shown, not typed
    books::journal::EntrySnapshot changed = loaded;
    changed.lines[0][4] = "110.00";
    EXPECT_TRUE(books::journal::AskBeforeDiscard(a, loaded, changed));
  }
  EXPECT_TRUE(books::journal::AskBeforeDiscard(DiscardAction::Delete, loaded, loaded));
  EXPECT_FALSE(books::journal::TypedLinesWouldBeLost(loaded, loaded));
}

// -------------------------------------------------------------- set-up

TEST_F(EntryRules, JournalLists) {
  records::AdminSettingsRec settings{};
  settings.SetSalesBookName("Sales book");
  settings.SetPurchaseBookName("Purchase book");
  settings.SetDayBookName("Day book");
  settings.SetOptionalJournalName3("Projects");
  const std::vector<std::string> cash = {"Cash", "Bank 1", "Bank 2", "Bank 3", "Bank 4",
                                         "Bank 5", "Bank 6", "Bank 7", "Bank 8", "Bank 9"};
  EXPECT_EQ(books::journal::JournalListItems(settings, {"Cash"}),
            (std::vector<std::string>{"Sales book", "Purchase book", "Day book", "Projects", "Cash"}));
  const auto free = books::journal::FreeJournalMenuItems(settings);
  EXPECT_FALSE(free[0]);
  EXPECT_FALSE(free[1]);
  EXPECT_EQ(free[2], "Projects");
  EXPECT_EQ(books::journal::JournalListItems(settings, cash).size(), 4u + 10u);  // no limit in the list
  EXPECT_EQ(books::journal::CashJournalMenuItems(cash).size(), 9u);
  EXPECT_EQ(books::journal::CashJournalMenuItems(cash).back(),
            (books::journal::JournalItem{"Bank 8", {books::journal::JournalKind::Cash, 8}}));
  EXPECT_TRUE(books::journal::CashJournalMenuItems({}).empty());

  EXPECT_FALSE(books::journal::SplitJournals(settings));
  settings.SetSplitJournals("true");
  EXPECT_TRUE(books::journal::SplitJournals(settings));
}

// Every item knows its journal, so a cash journal named like a book is still
// the cash journal; an account without a journal name offers none.
TEST_F(EntryRules, JournalItemsAreBoundToTheirJournals) {
  using books::journal::JournalItem;
  using books::journal::JournalKind;
  records::AdminSettingsRec settings{};
  settings.SetSalesBookName("Sales");
  settings.SetPurchaseBookName("Purchases");
  settings.SetDayBookName("Memorial");
  settings.SetOptionalJournalName2("Cash & Bank");
  const std::vector<std::string> cash = {"", "Sales", "Cash & Bank", ""};
  EXPECT_EQ(books::journal::JournalItems(settings, cash),
            (std::vector<JournalItem>{{"Sales", {JournalKind::Sales, 0}},
                                      {"Purchases", {JournalKind::Purchase, 0}},
                                      {"Memorial", {JournalKind::Day, 0}},
                                      {"Cash & Bank", {JournalKind::Free, 1}},
                                      {"Sales", {JournalKind::Cash, 1}},
                                      {"Cash & Bank", {JournalKind::Cash, 2}}}));
  EXPECT_EQ(books::journal::JournalListItems(settings, cash),
            (std::vector<std::string>{"Sales", "Purchases", "Memorial", "Cash & Bank", "Sales", "Cash & Bank"}));
  EXPECT_EQ(books::journal::CashJournalMenuItems(cash),
            (std::vector<JournalItem>{{"Sales", {JournalKind::Cash, 1}}, {"Cash & Bank", {JournalKind::Cash, 2}}}));
  // Nine menu items are counted over the named journals only.
  std::vector<std::string> many = {""};
  for (int i = 1; i <= 10; ++i) many.push_back("Bank " + std::to_string(i));
  const auto menu = books::journal::CashJournalMenuItems(many);
  ASSERT_EQ(menu.size(), 9u);
  EXPECT_EQ(menu.back(), (JournalItem{"Bank 9", {JournalKind::Cash, 9}}));
}

TEST_F(EntryRules, MenuCaptionTextDoublesEveryAmpersand) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""}, {"Cash", "Cash"}, {"Cash & Bank", "Cash && Bank"}, {"&&", "&&&&"}, {"A&B&", "A&&B&&"}};
  for (const auto& [name, caption] : cases) EXPECT_EQ(books::journal::MenuCaptionText(name), caption) << name;
}

TEST_F(EntryRules, BookPeriodItems) {
  struct Case {
    const char* current;
    int count;
    std::vector<std::string> items;
  };
  const std::vector<Case> cases = {
      {"11/12", 12, {"", "11/12", "12/12"}},
      {"00/12", 12, {"", "01/12", "02/12", "03/12"}},
      {"04/12", 12, {"", "04/12", "05/12", "06/12"}},
      {"12/12", 12, {"", "12/12"}},
      {"", 12, {}},
      // The number of periods comes from the count, never from the text.
      {"00/00", 4, {"", "01/04", "02/04", "03/04"}},  // after the last period was reopened
      {"1", 12, {"", "01/12", "02/12", "03/12"}},
      {"1/", 12, {"", "01/12", "02/12", "03/12"}},
      {"3/12", 12, {"", "03/12", "04/12", "05/12"}},
      {"xx", 12, {"", "01/12", "02/12", "03/12"}},
      {"05/12", 4, {""}},  // past the last period
      {"01/12", 0, {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(books::journal::BookPeriodItems(c.current, c.count), c.items) << c.current;
}

TEST_F(EntryRules, SalesTaxRate) {
  const std::array<std::string, 6> names = {"H", "L", "0", "H", "", ""};
  const std::array<double, 6> rates = {21, 9, 0, 19, 0, 0};
  EXPECT_EQ(books::journal::SalesTaxRate("L", names, rates), 9.0);
  EXPECT_EQ(books::journal::SalesTaxRate("H", names, rates), 19.0);  // the last equal name
  EXPECT_EQ(books::journal::SalesTaxRate("X", names, rates), std::nullopt);
}

TEST_F(EntryRules, SalesTaxAccountTable) {
  using books::journal::SalesTaxAccount;
  const std::array<std::string, 6> names = {"H", "L", "0", "H", "", ""};
  const std::array<double, 6> rates = {21, 9, 0, 19, 0, 0};
  struct Case {
    const char* what;
    std::vector<SalesTaxAccount> accounts;
    std::vector<SalesTaxAccount> table;
  };
  std::vector<SalesTaxAccount> many;
  for (int i = 0; i < 40; ++i) many.push_back({std::to_string(1000 + i), "L"});
  const std::vector<Case> cases = {
      {"no accounts", {}, {}},
      {"accounts without a code are left out, file order kept",
       {{"8000", "L"}, {"1000", ""}, {"4000", "H"}, {"2000", "0"}},
       {{"8000", "L", 9}, {"4000", "H", 19}, {"2000", "0", 0}}},
      {"a code no name equals gets rate 0", {{"4000", "X"}, {"4100", "h"}}, {{"4000", "X", 0}, {"4100", "h", 0}}},
      {"no limit of thirty", many, [&] {
         std::vector<SalesTaxAccount> t = many;
         for (SalesTaxAccount& a : t) a.rate = 9;
         return t;
       }()},
  };
  for (const Case& c : cases) EXPECT_EQ(books::journal::SalesTaxAccounts(c.accounts, names, rates), c.table) << c.what;
  // With every name empty, an empty code would match them all: it is no code.
  EXPECT_TRUE(books::journal::SalesTaxAccounts({{"4000", ""}}, {}, {1, 2, 3, 4, 5, 6}).empty());
}

TEST_F(EntryRules, EmptyImportProfiles) {
  const std::vector<records::ImportProfileRec> profiles = books::journal::EmptyImportProfiles();
  ASSERT_EQ(profiles.size(), 10u);
  for (int n = 1; n <= 10; ++n) {
    const records::ImportProfileRec& p = profiles[static_cast<std::size_t>(n - 1)];
    EXPECT_EQ(p.ProfileNumber(), n);
    EXPECT_EQ(p.DateColumn(), -1);
    EXPECT_EQ(p.DateFormat(), "yyyymmdd");
    EXPECT_EQ(books::journal::ImportProfileItem(p), std::to_string(n) + " : ");
  }
}

}  // namespace
