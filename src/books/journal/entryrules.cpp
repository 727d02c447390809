#include "books/journal/entryrules.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdlib>

#include "books/journal/importprofilestore.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "records/documentkind.h"
#include "text/builtintext.h"
#include "text/textroutines.h"
#include "text/amount.h"

namespace books::journal {

namespace {

bool IsSystemNumber(std::string_view number) {
  return number == kProfitVoucherNumber || number == kReservedVoucherNumber;
}

// The first two characters as a number; nullopt when they are not two
// digits.
std::optional<int> TwoDigits(std::string_view text) {
  if (text.size() < 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') return std::nullopt;
  return (text[0] - '0') * 10 + (text[1] - '0');
}

std::string TwoDigitText(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

std::string LineNumberText(int line) { return std::to_string(line); }

std::string ShownDate(std::string_view ymd) {
  if (ymd.size() != 8) return std::string(ymd);
  return std::string(ymd.substr(6, 2)) + "-" + std::string(ymd.substr(4, 2)) + "-" + std::string(ymd.substr(0, 4));
}

std::string BlockText(SaveBlock block, int line, const std::string& account, const EntryScreen& screen) {
  switch (block) {
    case SaveBlock::None:
    case SaveBlock::Locked:  // the lock's own message stands
    case SaveBlock::AccountMissing:
    case SaveBlock::TooFewLines:
    case SaveBlock::Unbalanced:
      return {};
    case SaveBlock::InvalidDate:
      return text::BuiltInText(text::BuiltIn::InvalidDate);
    case SaveBlock::NumberTooLong:
      return text::BuiltInText(text::BuiltIn::NumberTooLong);
    case SaveBlock::SystemNumber:
      return text::BuiltInText(text::BuiltIn::SystemNumber);
    case SaveBlock::DateBeforeLowestOpen:
      return text::BuiltInText(text::BuiltIn::DateBeforeLowestOpen, {ShownDate(screen.lowestOpenDate)});
    case SaveBlock::UnreadableAmount:
      return text::BuiltInText(text::BuiltIn::UnreadableAmount, {LineNumberText(line)});
    case SaveBlock::AccountNotInLedger:
      return text::BuiltInText(text::BuiltIn::AccountNotInLedger, {LineNumberText(line), account});
  }
  return {};
}

std::string BookYearEndText(const EntryScreen& screen) {
  return text::BuiltInText(text::BuiltIn::BookYearEndText, {ShownDate(screen.bookYearEnd)});
}

}  // namespace

// ---------------------------------------------------------------- amounts

std::optional<double> ReadEntryAmount(std::string_view text) {
  if (text::TrimText(text).empty()) return 0.0;
  return text::TryParseAmount(text);
}

std::string AmountFieldChanged(std::string_view text, bool skip) {
  std::string s(text);
  text::FilterAmountInput(s, skip);
  return s;
}

AmountExit AmountFieldLeft(std::string_view text, int decimals) {
  AmountExit exit{std::string(text), false};
  if (text::TrimText(text).empty()) return exit;
  const std::optional<double> value = text::TryParseAmount(text);
  if (!value) return exit;
  std::string formatted = text::FormatAmount(*value, decimals, 'Y');
  if (formatted != exit.text) {
    exit.text = std::move(formatted);
    exit.skipNextChange = true;
  }
  return exit;
}

bool IsWritten(const NettedAmounts& line) { return line.debit != 0 || line.credit != 0; }

// ------------------------------------------------------------ the screen

int TotalsDecimals(int amountDecimals) { return std::max(2, amountDecimals); }

EntryTotals ComputeTotals(const EntryScreen& screen) {
  EntryTotals totals;
  for (const EntryLineInput& line : screen.lines) {
    totals.debit += ReadEntryAmount(line.debitText).value_or(0);
    totals.credit += ReadEntryAmount(line.creditText).value_or(0);
  }
  totals.difference = totals.debit - totals.credit;
  const int decimals = TotalsDecimals(screen.amountDecimals);
  totals.debitText = text::FormatAmount(totals.debit, decimals, 'Y');
  totals.creditText = text::FormatAmount(totals.credit, decimals, 'Y');
  totals.differenceText = text::FormatAmount(totals.difference, decimals, 'Y');
  return totals;
}

int LinesLeftAfterNetting(const EntryScreen& screen) {
  int count = 0;
  for (const EntryLineInput& line : screen.lines) {
    const NettedAmounts netted =
        NetLine(ReadEntryAmount(line.debitText).value_or(0), ReadEntryAmount(line.creditText).value_or(0));
    if (IsWritten(netted)) ++count;
  }
  return count;
}

SaveTest TestSave(const EntryScreen& screen) {
  SaveTest test;
  const bool profit = screen.mode == EntryMode::Profit;
  auto block = [&test](SaveBlock b, int line = 0, std::string account = {}) {
    if (test.block != SaveBlock::None) return;
    test.block = b;
    test.line = line;
    test.account = std::move(account);
  };

  if (screen.loadedLocked) block(SaveBlock::Locked);

  const bool validDate = IsDateText(screen.voucherDate);
  if (!validDate) {
    block(SaveBlock::InvalidDate);
    test.marks.push_back({EntryField::VoucherDate, 0});
  }
  if (screen.voucherNumber.size() > kVoucherNumberRoom) {
    block(SaveBlock::NumberTooLong);
    test.marks.push_back({EntryField::VoucherNumber, 0});
  } else if (!profit && IsSystemNumber(text::TrimText(screen.voucherNumber))) {
    block(SaveBlock::SystemNumber);
    test.marks.push_back({EntryField::VoucherNumber, 0});
  }
  if (validDate && !profit && IsDateText(screen.lowestOpenDate) && screen.voucherDate < screen.lowestOpenDate) {
    block(SaveBlock::DateBeforeLowestOpen);
    test.marks.push_back({EntryField::VoucherDate, 0});
  }

  // Unreadable fields first, all of them marked; then the accounts of the
  // lines that carry an amount.
  for (int i = 0; i < kVoucherLines; ++i) {
    const EntryLineInput& line = screen.lines[static_cast<std::size_t>(i)];
    if (!ReadEntryAmount(line.debitText)) {
      block(SaveBlock::UnreadableAmount, i + 1);
      test.marks.push_back({EntryField::Debit, i + 1});
    }
    if (!ReadEntryAmount(line.creditText)) {
      block(SaveBlock::UnreadableAmount, i + 1);
      test.marks.push_back({EntryField::Credit, i + 1});
    }
  }
  for (int i = 0; i < kVoucherLines; ++i) {
    const EntryLineInput& line = screen.lines[static_cast<std::size_t>(i)];
    const double debit = ReadEntryAmount(line.debitText).value_or(0);
    const double credit = ReadEntryAmount(line.creditText).value_or(0);
    const bool profitLine = profit && i < 2;
    if (debit == 0 && credit == 0 && !profitLine) continue;
    const std::string number = text::TrimText(line.accountNumber);
    if (number.empty()) {
      block(SaveBlock::AccountMissing, i + 1);
      test.marks.push_back({EntryField::AccountNumber, i + 1});
    } else if (!line.accountInLedger) {
      block(SaveBlock::AccountNotInLedger, i + 1, number);
      test.marks.push_back({EntryField::AccountNumber, i + 1});
    }
  }

  int written = LinesLeftAfterNetting(screen);
  if (profit) {
    // The profit booking writes lines 1 and 2 whatever their amounts.
    for (int i = 0; i < 2; ++i) {
      const EntryLineInput& line = screen.lines[static_cast<std::size_t>(i)];
      if (!IsWritten(NetLine(ReadEntryAmount(line.debitText).value_or(0),
                             ReadEntryAmount(line.creditText).value_or(0))))
        ++written;
    }
  }
  if (written < 2) block(SaveBlock::TooFewLines);

  const EntryTotals totals = ComputeTotals(screen);
  if (!text::SameAmount(totals.difference, 0, text::kVoucherTolerance)) block(SaveBlock::Unbalanced);

  test.saveEnabled = test.block == SaveBlock::None;
  test.status = BlockText(test.block, test.line, test.account, screen);
  test.statusYellow = !test.status.empty();

  test.dateAfterBookYearEnd =
      validDate && IsDateText(screen.bookYearEnd) && screen.voucherDate > screen.bookYearEnd;
  if (test.dateAfterBookYearEnd) {
    test.marks.push_back({EntryField::VoucherDate, 0});
    if (test.status.empty()) {
      test.status = BookYearEndText(screen);
      test.statusYellow = true;
    }
  }
  return test;
}

// ---------------------------------------------------------- dates and keys

bool IsDateText(std::string_view ymd) {
  if (ymd.size() != 8) return false;
  for (char c : ymd)
    if (c < '0' || c > '9') return false;
  const int year = std::atoi(std::string(ymd.substr(0, 4)).c_str());
  const int month = std::atoi(std::string(ymd.substr(4, 2)).c_str());
  const int day = std::atoi(std::string(ymd.substr(6, 2)).c_str());
  platform::TDateTime unused = 0;
  return platform::TryEncodeDate(year, month, day, unused);
}

std::string LowestOpenDate(std::string_view lastClosedPeriod, std::string_view currentPeriod,
                           const std::array<std::string, 15>& periodStart, std::string_view previous) {
  if (text::TrimText(lastClosedPeriod).empty()) return std::string(kNoClosedPeriodDate);
  const std::optional<int> k = TwoDigits(lastClosedPeriod);
  const std::optional<int> c = TwoDigits(currentPeriod);
  std::string candidate;
  if (c && *c == 1)
    candidate = periodStart[0];
  else if (k && *k >= 1 && *k <= 14)
    candidate = periodStart[static_cast<std::size_t>(*k)];
  else
    return std::string(previous);
  return IsDateText(candidate) ? candidate : std::string(previous);
}

std::string LowestOpenDate(const records::AdminSettingsRec& settings, std::string_view previous) {
  std::array<std::string, 15> starts;
  for (int k = 1; k <= 15; ++k) starts[static_cast<std::size_t>(k - 1)] = settings.PeriodStart(k);
  return LowestOpenDate(settings.LastClosedPeriod(), settings.CurrentPeriod(), starts, previous);
}

std::optional<EntryKey> MakeEntryKey(std::string_view ymd, std::string_view number) {
  if (!IsDateText(ymd) || number.size() > kVoucherNumberRoom) return std::nullopt;
  return EntryKey{std::string(ymd) + std::string(number)};
}

int CompareVoucherKeys(std::string_view a, std::string_view b) { return cp1252::CompareOrdinal(a, b); }

VoucherLock LoadedVoucherLock(std::string_view storedDate, std::string_view storedNumber,
                              std::string_view lowestOpenDate, std::size_t recordCount) {
  if (!IsDateText(storedDate)) return VoucherLock::InvalidDate;
  if (IsSystemNumber(text::TrimText(storedNumber))) return VoucherLock::SystemVoucher;
  if (IsDateText(lowestOpenDate) && storedDate < lowestOpenDate) return VoucherLock::ClosedPeriod;
  if (recordCount > static_cast<std::size_t>(kVoucherLines)) return VoucherLock::OverEightLines;
  return VoucherLock::None;
}

std::string VoucherLockText(VoucherLock lock) {
  switch (lock) {
    case VoucherLock::None:
    case VoucherLock::SystemVoucher:
      return {};
    case VoucherLock::InvalidDate:
      return text::BuiltInText(text::BuiltIn::VoucherLockInvalidDate);
    case VoucherLock::ClosedPeriod:
      return text::BuiltInText(text::BuiltIn::ClosedPeriod);
    case VoucherLock::OverEightLines:
      return text::BuiltInText(text::BuiltIn::OverEightLines);
  }
  return {};
}

// ------------------------------------------------------------- accounts

std::string ByNumberText(const AccountItem& item) { return item.number + "{" + item.caption + "}"; }
std::string ByNameText(const AccountItem& item) { return item.caption + "{" + item.number + "}"; }

std::vector<AccountItem> SortedByName(std::vector<AccountItem> accounts) {
  std::stable_sort(accounts.begin(), accounts.end(), [](const AccountItem& a, const AccountItem& b) {
    return cp1252::CompareIgnoringCase(a.caption, b.caption) < 0;
  });
  return accounts;
}

std::optional<std::size_t> MatchByNumber(const std::vector<AccountItem>& items, std::string_view typed) {
  const std::string text = text::TrimText(typed);
  if (text.empty()) return std::nullopt;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].number == text) return i;
  std::optional<std::size_t> found;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (cp1252::EqualsIgnoringCase(ByNumberText(items[i]), text)) found = i;
  if (found) return found;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (cp1252::EqualsIgnoringCase(items[i].number, text)) found = i;
  return found;
}

std::optional<std::size_t> MatchByName(const std::vector<AccountItem>& items, std::string_view typed) {
  const std::string text = text::TrimText(typed);
  if (text.empty()) return std::nullopt;
  std::optional<std::size_t> found;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (cp1252::EqualsIgnoringCase(ByNameText(items[i]), text)) found = i;
  if (found) return found;
  int matches = 0;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (cp1252::EqualsIgnoringCase(items[i].caption, text)) {
      found = i;
      ++matches;
    }
  return matches == 1 ? found : std::nullopt;
}

std::optional<std::size_t> PresetItem(const std::vector<AccountItem>& items, std::string_view lineNumber) {
  const std::string number = text::TrimTrailingBlanks(lineNumber);
  if (number.empty()) return std::nullopt;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].number == number) return i;
  return std::nullopt;
}

std::optional<std::string> CaptionOf(const std::vector<AccountItem>& items, std::string_view number) {
  const std::optional<std::size_t> i = PresetItem(items, number);
  if (!i) return std::nullopt;
  return items[*i].caption;
}

LineAmounts EntryLineAmounts(int line, double amount, char side, int decimals) {
  if (line == 1 && side != 'D') side = 'C';
  if (side == 'D') return {text::FormatAmount(amount, decimals, 'Y'), {}};
  if (side == 'C') return {{}, text::FormatAmount(amount, decimals, 'Y')};
  return {};
}

// ------------------------------------------------------------- questions

bool TypedLinesWouldBeLost(const EntrySnapshot& shown, const EntrySnapshot& now) { return !(shown == now); }

bool AskBeforeDiscard(DiscardAction action, const EntrySnapshot& shown, const EntrySnapshot& now) {
  return action == DiscardAction::Delete || TypedLinesWouldBeLost(shown, now);
}

// ---------------------------------------------------------- the set-up

std::vector<JournalItem> JournalItems(const records::AdminSettingsRec& settings,
                                      const std::vector<std::string>& cashJournals) {
  std::vector<JournalItem> items{{settings.SalesBookName(), {JournalKind::Sales, 0}},
                                 {settings.PurchaseBookName(), {JournalKind::Purchase, 0}},
                                 {settings.DayBookName(), {JournalKind::Day, 0}}};
  const auto free = FreeJournalMenuItems(settings);
  for (std::size_t j = 0; j < free.size(); ++j)
    if (free[j]) items.push_back({*free[j], {JournalKind::Free, j}});
  for (std::size_t k = 0; k < cashJournals.size(); ++k)
    if (!cashJournals[k].empty()) items.push_back({cashJournals[k], {JournalKind::Cash, k}});
  return items;
}

std::vector<std::string> JournalListItems(const records::AdminSettingsRec& settings,
                                          const std::vector<std::string>& cashJournals) {
  std::vector<std::string> names;
  for (JournalItem& item : JournalItems(settings, cashJournals)) names.push_back(std::move(item.name));
  return names;
}

std::array<std::optional<std::string>, 3> FreeJournalMenuItems(const records::AdminSettingsRec& settings) {
  std::array<std::optional<std::string>, 3> items;
  for (int j = 0; j < 3; ++j) {
    std::string name = settings.JournalName(3 + j);
    if (!name.empty()) items[static_cast<std::size_t>(j)] = std::move(name);
  }
  return items;
}

std::vector<JournalItem> CashJournalMenuItems(const std::vector<std::string>& cashJournals) {
  std::vector<JournalItem> items;
  for (std::size_t k = 0; k < cashJournals.size() && items.size() < kCashJournalMenuItems; ++k)
    if (!cashJournals[k].empty()) items.push_back({cashJournals[k], {JournalKind::Cash, k}});
  return items;
}

std::string MenuCaptionText(std::string_view name) {
  std::string caption;
  for (char c : name) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

std::vector<std::string> BookPeriodItems(std::string_view currentPeriod, int periodCount) {
  if (currentPeriod.empty()) return {};
  std::vector<std::string> items{""};
  int p = 0;
  for (std::size_t i = 0; i < currentPeriod.size() && i < 2 && currentPeriod[i] >= '0' && currentPeriod[i] <= '9';
       ++i)
    p = p * 10 + (currentPeriod[i] - '0');
  if (p == 0) p = 1;
  const std::string tail = "/" + TwoDigitText(periodCount);
  for (int q = p; q < p + 3 && q <= periodCount; ++q) items.push_back(TwoDigitText(q) + tail);
  return items;
}

std::optional<double> SalesTaxRate(std::string_view code, const std::array<std::string, 6>& names,
                                   const std::array<double, 6>& rates) {
  std::optional<double> rate;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == code) rate = rates[i];
  return rate;
}

std::vector<SalesTaxAccount> SalesTaxAccounts(const std::vector<SalesTaxAccount>& accounts,
                                              const std::array<std::string, 6>& names,
                                              const std::array<double, 6>& rates) {
  std::vector<SalesTaxAccount> table;
  for (const SalesTaxAccount& a : accounts)
    if (!a.code.empty()) table.push_back({a.accountNumber, a.code, SalesTaxRate(a.code, names, rates).value_or(0)});
  return table;
}

std::vector<records::ImportProfileRec> EmptyImportProfiles() {
  std::vector<records::ImportProfileRec> profiles;
  for (int n = 1; n <= kImportProfileCount; ++n) profiles.push_back(DefaultImportProfile(n));
  return profiles;
}

std::string ImportProfileItem(const records::ImportProfileRec& profile) {
  return std::to_string(profile.ProfileNumber()) + " : " + profile.ProfileName();
}

bool SplitJournals(const records::AdminSettingsRec& settings) { return settings.SplitJournals() == "true"; }

// ------------------------------------------------ the voucher of a document

namespace {

// A whole decimal number, the text being nothing else.
std::optional<std::int32_t> DocumentNumber(std::string_view text) {
  std::int32_t v = 0;
  if (text.empty()) return std::nullopt;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

}  // namespace

DocumentVoucher InvoiceVoucherSought(std::string_view bookDate, int kindIndex, std::string_view partner,
                                     std::string_view invoiceNumber) {
  // The invoice tab lists a customer first; any other item is a vendor.
  const std::string kind(
      records::CodeOf(kindIndex == 0 ? records::DocumentKind::Customer : records::DocumentKind::Vendor));
  const std::string partnerText = text::TrimText(partner);
  const std::string number = text::Cut(text::TrimTrailingBlanks(invoiceNumber), 15);
  DocumentVoucher sought{std::string(bookDate), kind + partnerText + "/" + number, std::monostate{}};
  const auto partnerNumber = DocumentNumber(partnerText);
  if (!partnerNumber || number.empty()) return sought;
  const InvoiceKey key{sought.date, kind, *partnerNumber, number};
  sought.number = VoucherNumberOf(key);
  sought.document = key;
  return sought;
}

DocumentVoucher PaymentVoucherSought(std::string_view valueDate, int kindIndex, std::string_view partner,
                                     std::string_view paymentNumber) {
  using records::DocumentKind;
  // The payment tab lists customer, vendor, receipt and payment; any other
  // item is a payment without partner.
  static constexpr std::array<DocumentKind, 3> kListed = {DocumentKind::Customer, DocumentKind::Vendor,
                                                          DocumentKind::Receipt};
  const DocumentKind documentKind =
      kindIndex >= 0 && kindIndex < 3 ? kListed[static_cast<std::size_t>(kindIndex)] : DocumentKind::Payment;
  const std::string kind(records::CodeOf(documentKind));
  const bool withPartner = records::HasPartner(documentKind);
  std::string partnerText = withPartner ? text::TrimText(partner) : "0";
  if (partnerText.empty()) partnerText = "0";
  const std::string numberText = text::TrimText(paymentNumber);
  DocumentVoucher sought{std::string(valueDate), kind + partnerText + "/" + numberText, std::monostate{}};
  const auto partnerNumber = DocumentNumber(partnerText);
  const auto number = DocumentNumber(numberText);
  if (!partnerNumber || !number) return sought;
  const PaymentKey key{sought.date, kind, *partnerNumber, *number};
  sought.number = VoucherNumberOf(key);
  sought.document = key;
  return sought;
}

}  // namespace books::journal
