// The partner form's decisions as plain functions: the GL-account picker
// (which item shows a stored account, what entering and leaving the picker
// make of a text), the default accounts by account function, the checks of
// the number fields before a save, the texts of rates and terms, the tab
// order and help tags, and the start-value message. No components, no
// files: the form (unitpartners.h) moves values between its components and
// these functions, and the tests drive them by tables.
//
// Rules kept here:
// - An account reference reads number + "{" + caption + "}"; the stored
//   value is the text before the first "{". A stored number shows as the
//   item of exactly that number, never a neighbour ("1000" is not "100");
//   a number no account has is shown and kept as it stands.
// - Only non-empty function codes name default accounts; of two accounts
//   with the same function the later one in the GL file wins.
// - Day fields are whole numbers of at least 0 (empty counts 0); rates are
//   decimal numbers in the locale's notation, never cut to the amount
//   decimals; all of them are checked before any file opens.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace books::partners {

// One GL account as the picker lists it.
struct PickerAccount {
  std::string number;
  std::string caption;
  std::string function;  // the stored account-function code
};

// "number{caption}".
std::string PickerItemText(const PickerAccount& account);
// The stored account of an account edit's text: the text before the first
// "{", or the whole text (without trailing blanks) when it has none (a
// stored number no account has, kept as it stands).
std::string AccountNumberOfText(std::string_view text);

// The picker's items: an empty item, then one per account in file order.
std::vector<std::string> PickerItems(const std::vector<PickerAccount>& accounts);

// The item (index into `items`, from 1) whose number equals `stored`
// exactly (trailing blanks ignored); nullopt for an empty number or one no
// account has.
std::optional<int> AccountItemFor(const std::vector<std::string>& items, std::string_view stored);

// What an account edit shows for a stored number: its item, or the number
// as it stands when no account has it (`known` false: painted yellow).
struct AccountDisplay {
  std::string text;
  bool known = true;
  bool operator==(const AccountDisplay&) const = default;
};
AccountDisplay ShowAccount(const std::vector<std::string>& items, std::string_view stored);

// The picker's text when an account edit is entered: the edit's own text
// when it is an item or a kept number; for an empty edit the last item that
// begins with it, i.e. the last account ("" when there is none).
std::string PickerTextOnEnter(const std::vector<std::string>& items, std::string_view editText);

// The account edit's text when the picker is left with `typed`: the item
// equal to it ignoring case, else the item whose number equals it ignoring
// case, else the text the edit had on entering when `typed` still is that
// text (a kept number stays kept); otherwise the first account for a
// required edit (the group and the first sales/cost account) and empty for
// the others. An empty GL file leaves every edit empty.
std::string PickerTextOnLeave(const std::vector<std::string>& items, std::string_view typed,
                              std::string_view entered, bool required);

// The default account items by function index 1..15: entry i is the item
// of the last account whose function equals code i (1..15 of `codes`);
// empty codes match nothing.
std::array<std::string, 16> DefaultAccountItems(const std::vector<PickerAccount>& accounts,
                                                const std::array<std::string, 16>& codes);

// The function index of the k-th account edit (0: group, 1..3: sales/cost
// 1..3, 4..5: sales tax 1..2, 6: cash discount) for a customer (functions
// 1..7) or a supplier (8..14).
int DefaultFunctionIndex(int kindIndex, int editIndex);

// ---- numbers

// A day field: empty (or blanks) is 0; otherwise digits only, at most
// 32 bits. nullopt for anything else ("1-2", "-5", "x").
std::optional<int> ParseDays(std::string_view text);
// A rate: empty is 0; otherwise digits with at most one decimal separator
// (the locale's) and an optional "-" in front. nullopt for anything else.
std::optional<double> ParseRate(std::string_view text);
// A rate as a plain decimal number in the locale's notation, as many
// decimals as it has ("1,125", "2", "0,5").
std::string RateText(double rate);
// The credit limit as its edit shows it: two decimals, grouped, without the
// currency sign and the alignment blanks of the amount routines.
std::string CreditLimitText(double value);
// The filter of a rate edit while typed: digits, a "-" in front and one
// decimal separator (the locale's; "." or "," typed become it); no limit of
// decimals.
std::string FilterRateInput(std::string_view text);

// The number fields of a partner, checked.
struct PartnerFigures {
  double creditLimit = 0;
  int discountDays = 0;
  double discountRate = 0;
  int netDays = 0;
  double penaltyRate = 0;
};
// Which field refused: the credit limit, the discount days, the discount
// rate, the net days, the penalty rate.
enum class FigureField { CreditLimit, DiscountDays, DiscountRate, NetDays, PenaltyRate };
struct FiguresResult {
  std::optional<PartnerFigures> figures;
  FigureField bad = FigureField::CreditLimit;  // when figures is empty
};
FiguresResult ReadFigures(std::string_view creditLimit, std::string_view discountDays, std::string_view discountRate,
                          std::string_view netDays, std::string_view penaltyRate);

// The memo as stored: its lines joined by CR LF (none after the last), and
// back; an empty memo has no lines.
std::string MemoText(const std::vector<std::string>& lines);
std::vector<std::string> MemoLines(std::string_view stored);

// ---- tabs and texts

enum PartnerTab { TabDetails1, TabDetails2, TabFinance, TabGraphics, TabPartnerList, PartnerTabCount };
// Next: 0, 1, 2, 4, 0 (the graphics tab is skipped); previous: 4, 3, 2, 1,
// 0, 4.
int NextPartnerTab(int tab);
int PreviousPartnerTab(int tab);
// "<SUP00>", "<SUP02>" .. "<SUP05>" for tabs 0..4.
std::string PartnerHelpTag(int tab);

// The message of the start value, by the help captions' language name:
// Dutch for "Nederlands", German for "Deutsch", English for any other.
std::string StartValueMessage(std::string_view languageName);

// The message when a typed start value is no whole number of at least 1.
std::string MsgBadStartValue();
// The message when a figure field holds no number; `label` names it.
std::string MsgNotANumber(const std::string& label);
// The message when another copy added the first partner while this one
// waited for a start value.
std::string MsgStartValueTooLate();
// The message when a partner shown is no longer in its file.
std::string MsgPartnerGone();

}  // namespace books::partners
