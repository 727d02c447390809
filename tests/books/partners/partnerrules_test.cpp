// The partner form's rules: the GL-account picker, the default accounts, the
// figure fields, the tab order and the start-value message.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "books/partners/partnerrules.h"
#include "platform/numberformat.h"

namespace {

using namespace books::partners;

const std::vector<PickerAccount> kAccounts = {
    {"100", "Cash", ""}, {"1000", "Bank", ""}, {"1300", "Debtors", "Customer group"}, {"8000", "Sales", ""}};

TEST(PartnerPicker, AStoredNumberShowsAsTheItemOfExactlyThatNumber) {
  const std::vector<std::string> items = PickerItems(kAccounts);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0], "");
  struct Case {
    const char* stored;
    AccountDisplay shown;
  } cases[] = {
      {"1000", {"1000{Bank}", true}},   // not its neighbour "100{Cash}"
      {"100", {"100{Cash}", true}},
      {"1000   ", {"1000{Bank}", true}},  // stored with blanks
      {"999", {"999", false}},          // no such account: shown as it stands
      {"10", {"10", false}},            // a prefix of an account is no account
      {"", {"", true}},
  };
  for (const Case& c : cases) EXPECT_EQ(ShowAccount(items, c.stored), c.shown) << c.stored;
  // An empty GL file: nothing is ever an item.
  EXPECT_EQ(ShowAccount(PickerItems({}), "1000"), (AccountDisplay{"1000", false}));
}

TEST(PartnerPicker, TheStoredNumberIsTheTextBeforeTheBrace) {
  struct Case {
    const char* text;
    const char* number;
  } cases[] = {{"1000{Bank}", "1000"}, {"1000{A{B}", "1000"}, {"999", "999"}, {"999  ", "999"}, {"", ""},
               {"{Bank}", ""}};
  for (const Case& c : cases) EXPECT_EQ(AccountNumberOfText(c.text), c.number) << c.text;
}

TEST(PartnerPicker, EnteringAndLeavingNeverChangesAShownAccount) {
  const std::vector<std::string> items = PickerItems(kAccounts);
  // Entering: the edit's own text (an item or a kept number); an empty
  // edit takes the last account.
  EXPECT_EQ(PickerTextOnEnter(items, "1000{Bank}"), "1000{Bank}");
  EXPECT_EQ(PickerTextOnEnter(items, "999"), "999");
  EXPECT_EQ(PickerTextOnEnter(items, ""), "8000{Sales}");
  EXPECT_EQ(PickerTextOnEnter(PickerItems({}), ""), "");

  struct Case {
    const char* typed;
    const char* entered;
    bool required;
    const char* result;
  } cases[] = {
      {"1000{Bank}", "1000{Bank}", true, "1000{Bank}"},  // left alone
      {"999", "999", true, "999"},                       // a kept number stays kept
      {"999", "999", false, "999"},
      {"1000{bank}", "", false, "1000{Bank}"},  // a whole item, any case: its own text
      {"1000", "", false, "1000{Bank}"},        // an account number
      {"100", "", true, "100{Cash}"},           // exactly, never a neighbour
      {"1", "", true, "100{Cash}"},             // no account: the first for a required edit
      {"1", "", false, ""},                     // and empty for the others
      {"", "1000{Bank}", false, ""},            // the empty item
      {"", "1000{Bank}", true, "100{Cash}"},
      {"xyz", "999", true, "100{Cash}"},        // changed away from the kept number
  };
  for (const Case& c : cases)
    EXPECT_EQ(PickerTextOnLeave(items, c.typed, c.entered, c.required), c.result)
        << c.typed << " / " << c.entered << " / " << c.required;
  // An empty GL file leaves even a required edit empty (there is no first
  // account to take).
  EXPECT_EQ(PickerTextOnLeave(PickerItems({}), "x", "", true), "");
}

TEST(PartnerPicker, DefaultAccountsByFunctionTheLastAccountWins) {
  std::array<std::string, 16> codes{};
  for (int i = 1; i <= 14; ++i) codes[static_cast<std::size_t>(i)] = "F" + std::to_string(i);
  const std::vector<PickerAccount> accounts = {
      {"1300", "Debtors", "F1"}, {"1310", "Debtors 2", "F1"},  // the same function: the later one
      {"1600", "Creditors", "F8"}, {"8000", "Sales", "F2"},     {"9000", "Plain", ""},
  };
  const auto defaults = DefaultAccountItems(accounts, codes);
  EXPECT_EQ(defaults[1], "1310{Debtors 2}");
  EXPECT_EQ(defaults[2], "8000{Sales}");
  EXPECT_EQ(defaults[8], "1600{Creditors}");
  // Entries without an account, and the empty code 15: an account without a
  // function never counts as a default.
  EXPECT_EQ(defaults[3], "");
  EXPECT_EQ(defaults[15], "");
  std::array<std::string, 16> empty{};
  for (const std::string& d : DefaultAccountItems(accounts, empty)) EXPECT_EQ(d, "");

  // Customer edits take functions 1..7, supplier edits 8..14.
  EXPECT_EQ(DefaultFunctionIndex(0, 0), 1);
  EXPECT_EQ(DefaultFunctionIndex(0, 6), 7);
  EXPECT_EQ(DefaultFunctionIndex(1, 0), 8);
  EXPECT_EQ(DefaultFunctionIndex(1, 6), 14);
}

TEST(PartnerFigures, DaysAndRatesAreCheckedWithoutCuttingDecimals) {
  platform::ScopedNumberFormat comma{','};
  struct DayCase {
    const char* text;
    std::optional<int> value;
  } days[] = {{"", 0}, {"  ", 0}, {"30", 30}, {" 14 ", 14}, {"1-2", std::nullopt}, {"-5", std::nullopt},
              {"x", std::nullopt}, {"99999999999", std::nullopt}};
  for (const DayCase& c : days) EXPECT_EQ(ParseDays(c.text), c.value) << c.text;

  struct RateCase {
    const char* text;
    std::optional<double> value;
  } rates[] = {{"", 0.0}, {"2", 2.0}, {"1,125", 1.125}, {"-0,5", -0.5}, {"1.125", std::nullopt},
               {"1,2,3", std::nullopt}, {"abc", std::nullopt}, {",", std::nullopt}, {"1-2", std::nullopt}};
  for (const RateCase& c : rates) EXPECT_EQ(ParseRate(c.text), c.value) << c.text;

  EXPECT_EQ(RateText(1.125), "1,125");
  EXPECT_EQ(RateText(2), "2");
  EXPECT_EQ(RateText(0), "0");
  EXPECT_EQ(RateText(0.5), "0,5");
  for (double v : {1.125, 0.1, 12.3456789, 3.0}) EXPECT_EQ(ParseRate(RateText(v)), v) << v;

  struct FilterCase {
    const char* typed;
    const char* kept;
  } filters[] = {{"1,12345", "1,12345"}, {"1.5", "1,5"}, {"1,2,3", "1,23"}, {"a1b2", "12"}, {"-3", "-3"},
                 {"3-", "3"}};
  for (const FilterCase& c : filters) EXPECT_EQ(FilterRateInput(c.typed), c.kept) << c.typed;
}

TEST(PartnerFigures, TheFirstFieldThatHoldsNoNumberIsNamed) {
  platform::ScopedNumberFormat point{'.'};
  struct Case {
    std::array<const char*, 5> fields;
    std::optional<FigureField> bad;
  } cases[] = {
      {{"", "", "", "", ""}, std::nullopt},
      {{"1,000.50", "14", "2.5", "30", "1.125"}, std::nullopt},
      {{"12-3", "", "", "", ""}, FigureField::CreditLimit},
      {{"", "1-2", "", "", ""}, FigureField::DiscountDays},
      {{"", "", "x", "", ""}, FigureField::DiscountRate},
      {{"", "", "", "-5", ""}, FigureField::NetDays},
      {{"", "", "", "", "1.2.3"}, FigureField::PenaltyRate},
  };
  for (const Case& c : cases) {
    const FiguresResult r = ReadFigures(c.fields[0], c.fields[1], c.fields[2], c.fields[3], c.fields[4]);
    EXPECT_EQ(r.figures.has_value(), !c.bad) << c.fields[0] << c.fields[1] << c.fields[2];
    if (c.bad) {
      EXPECT_EQ(r.bad, *c.bad);
    }
  }
  const FiguresResult ok = ReadFigures("1,000.50", "14", "2.5", "30", "1.125");
  ASSERT_TRUE(ok.figures);
  EXPECT_DOUBLE_EQ(ok.figures->creditLimit, 1000.5);
  EXPECT_EQ(ok.figures->discountDays, 14);
  EXPECT_DOUBLE_EQ(ok.figures->discountRate, 2.5);
  EXPECT_EQ(ok.figures->netDays, 30);
  EXPECT_DOUBLE_EQ(ok.figures->penaltyRate, 1.125);
}

TEST(PartnerFigures, TheMemoKeepsItsLinesWithoutATrailingBreak) {
  struct Case {
    std::vector<std::string> lines;
    const char* stored;
  } cases[] = {{{}, ""}, {{"Pays late"}, "Pays late"}, {{"One", "Two"}, "One\r\nTwo"}, {{"", "Two"}, "\r\nTwo"},
               {{"One", ""}, "One\r\n"}};
  for (const Case& c : cases) {
    EXPECT_EQ(MemoText(c.lines), c.stored);
    EXPECT_EQ(MemoLines(c.stored), c.lines) << c.stored;
  }
}

TEST(PartnerTabs, NextSkipsTheGraphicsTabAndEachTabHasItsHelp) {
  const std::vector<int> next = {NextPartnerTab(0), NextPartnerTab(1), NextPartnerTab(2), NextPartnerTab(3),
                                 NextPartnerTab(4)};
  EXPECT_EQ(next, (std::vector<int>{1, 2, 4, 4, 0}));
  const std::vector<int> previous = {PreviousPartnerTab(0), PreviousPartnerTab(1), PreviousPartnerTab(2),
                                     PreviousPartnerTab(3), PreviousPartnerTab(4)};
  EXPECT_EQ(previous, (std::vector<int>{4, 0, 1, 2, 3}));
  const std::vector<std::string> tags = {PartnerHelpTag(0), PartnerHelpTag(1), PartnerHelpTag(2), PartnerHelpTag(3),
                                         PartnerHelpTag(4)};
  EXPECT_EQ(tags, (std::vector<std::string>{"<SUP00>", "<SUP02>", "<SUP03>", "<SUP04>", "<SUP05>"}));
}

TEST(PartnerTexts, TheStartValueMessageFollowsTheLanguageName) {
  EXPECT_EQ(StartValueMessage("Nederlands").substr(0, 40), "Het systeem maakt een nieuw bestand aan.");
  const std::string german = StartValueMessage("Deutsch");
  // "können" in code page 1252: one byte 0xF6.
  EXPECT_NE(german.find("k\xF6nnen"), std::string::npos);
  for (const char* other : {"English", "Fran\xE7\x61is", "", "nederlands"})
    EXPECT_EQ(StartValueMessage(other).substr(0, 38), "The system has to generate a new file.") << other;
}

}  // namespace
