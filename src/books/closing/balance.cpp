#include "books/closing/balance.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>
#include <functional>
#include <unordered_map>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "store/adminsettingsload.h"
#include "books/closing/balancerule.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "store/recordscan.h"
#include "text/textroutines.h"
#include "text/amount.h"

namespace books::closing {

namespace {

// The date `days` days from a "YYYYMMDD" text; nullopt when it is no date.
std::optional<std::string> ShiftYmd(const std::string& ymd, double days) {
  if (!text::IsValidYmd(ymd)) return std::nullopt;
  try {
    return text::DateToYmd(text::YmdToDate(ymd) + days);
  } catch (const platform::ConversionError&) {
    return std::nullopt;
  }
}

// Two digits at `at` of `s`; nullopt otherwise.
std::optional<int> TwoDigits(const std::string& s, std::size_t at) {
  if (s.size() < at + 2) return std::nullopt;
  const char a = s[at], b = s[at + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return std::nullopt;
  return (a - '0') * 10 + (b - '0');
}

std::string MsgBadPeriod(const std::string& label) {
  return text::BuiltInText(text::BuiltIn::BadPeriod, {label});
}

std::string MsgBadBookYear() {
  return text::BuiltInText(text::BuiltIn::BadBookYear);
}

std::string MsgTooManyAccounts(std::size_t n) {
  const std::string count = std::to_string(n);
  return text::BuiltInText(text::BuiltIn::TooManyAccounts, {count});
}

std::string MsgAmbiguousCategory(const std::string& name) {
  return text::BuiltInText(text::BuiltIn::AmbiguousCategory, {name});
}

bool DebitLike(const std::string& type) {
  return type == "D" || type == "T" || type == "d" || type == "t";
}

std::string Amount(double v) { return text::FormatAmount(v, -1, 'Y'); }

std::string AccountKey(const std::string& number) { return text::TrimTrailingBlanks(text::Cut(number, 15)); }

}  // namespace

BalanceTexts BalanceTextsOf(const text::LanguageRec& language) {
  BalanceTexts t;
  const std::pair<std::size_t, std::string*> fields[] = {
      {2410, &t.accountHeading},       {2454, &t.debit},
      {2465, &t.credit},               {8078, &t.balanceSheet},
      {8104, &t.totals},               {8130, &t.profitAndLoss},
      {9923, &t.noProfitOrTransfer},   {9994, &t.noProfitAccountNumber},
      {10065, &t.openingOutOfBalance}, {10136, &t.resultsDiffer},
      {10207, &t.closingOutOfBalance}, {10990, &t.withoutCategory},
      {11071, &t.notACategory}};
  for (const auto& [offset, text] : fields) {
    std::string own = language.L(offset);
    if (!own.empty()) *text = std::move(own);
  }
  return t;
}

PeriodOrError ComputeReportPeriod(const std::string& label, const records::AdminSettingsRec& settings,
                                  const std::vector<records::FreezeRec>& freezes) {
  ReportPeriod p;
  p.label = label;
  for (std::size_t i = 0; i < freezes.size(); ++i)
    if (freezes[i].PeriodLabel() == label) {
      p.hit = static_cast<int>(i);
      break;
    }
  if (p.hit) {
    p.snapshot = p.hit;
    if (*p.hit > 0) p.openingSnapshot = *p.hit - 1;
  } else if (!freezes.empty()) {
    p.snapshot = static_cast<int>(freezes.size()) - 1;
    p.openingSnapshot = p.snapshot;
  }

  const auto pp = TwoDigits(label, 5), nn = TwoDigits(label, 8);
  if (label.size() != 10 || label[4] != '-' || label[7] != '/' || !pp || !nn || *nn > 15 ||
      *pp > 15 || *pp > *nn)
    return {std::nullopt, MsgBadPeriod(label)};
  p.pp = *pp;
  p.nn = *nn;

  if (p.hit) {
    const records::FreezeRec& f = freezes[*p.hit];
    p.yearBaseDate = f.YearBaseDate();
    p.cardYearBaseDate = p.yearBaseDate;
    p.start = f.PeriodStartDate();
    p.end = f.PeriodEndDate();
    return {p, {}};
  }

  const std::string bookYearStart = settings.BookYearStart();
  const auto beforeYear = ShiftYmd(bookYearStart, -1.0);
  const auto afterYear = ShiftYmd(settings.BookYearEnd(), 1.0);
  if (!beforeYear || !afterYear) return {std::nullopt, MsgBadBookYear()};
  p.cardYearBaseDate = *beforeYear;
  p.yearBaseDate = p.snapshot ? freezes[*p.snapshot].YearBaseDate() : *beforeYear;
  if (p.pp == 0) {
    p.start = p.yearBaseDate;
    p.end = bookYearStart;
    return {p, {}};
  }
  if (p.pp == 1) p.yearBaseDate = *beforeYear;
  p.start = settings.PeriodStart(p.pp);
  if (p.pp == p.nn) {
    p.end = *afterYear;
  } else {
    p.end = settings.PeriodStart(p.pp + 1);
  }
  if (p.start.empty() || p.end.empty()) return {std::nullopt, MsgBadPeriod(label)};
  return {p, {}};
}

std::string FreezeRecordFault(const records::FreezeRec& rec) {
  const std::pair<const char*, std::string> dates[] = {{"period end", rec.PeriodEndDate()},
                                                        {"period start", rec.PeriodStartDate()},
                                                        {"year base date", rec.YearBaseDate()}};
  for (const auto& [what, date] : dates)
    if (!text::IsValidYmd(date)) return std::string("the ") + what + " \"" + date + "\" is no date";
  const std::string label = rec.PeriodLabel();
  bool ok = label.size() == 10 && label[4] == '-' && label[7] == '/';
  for (std::size_t i = 0; ok && i < label.size(); ++i)
    if (i != 4 && i != 7) ok = std::isdigit(static_cast<unsigned char>(label[i])) != 0;
  if (!ok) return "the period label \"" + label + "\" is not YYYY-PP/NN";
  return {};
}

bool FreezePermitted(const FreezeConditions& c) {
  return c.closingInBalance && c.openPeriod && c.profitAccountNamed && c.profitAndTransferExist &&
         c.endsByFarEnd && c.fitsFreezeRecord;
}

namespace {

// Steps of the computation on the table.

void PlaceAccounts(const ReportPeriod& period, const BalanceFiles& files, BalanceResult& r) {
  // The first category of each name, and the names that exist under both
  // kinds.
  std::unordered_map<std::string, std::size_t> firstOfName;
  std::unordered_map<std::string, bool> kindOfName;  // balance sheet?
  for (const auto& c : files.categories) {
    CategoryTableEntry e{c.CategoryKind(), c.CategoryName(), 0};
    const bool bs = books::closing::IsBalanceSheetKind(e.CategoryKind);
    auto [it, added] = kindOfName.emplace(e.CategoryName, bs);
    if (!added && it->second != bs) {
      bool known = false;
      for (const auto& n : r.ambiguousCategories) known = known || n == e.CategoryName;
      if (!known) r.ambiguousCategories.push_back(e.CategoryName);
    }
    firstOfName.emplace(e.CategoryName, r.categories.size());
    r.categories.push_back(std::move(e));
  }

  // The accounts of the period, each in its category's block.
  std::vector<std::vector<const records::LedgerAccountRec*>> blocks(r.categories.size());
  for (const auto& a : files.accounts) {
    if (!(a.StartDate() < period.end && a.EndDate() >= period.yearBaseDate)) continue;
    const std::string name = a.CategoryName();
    auto it = firstOfName.find(name);
    if (it == firstOfName.end()) {
      ++r.withoutCategory;
      bool known = false;
      for (const auto& n : r.missingCategories) known = known || n == name;
      if (!known && r.missingCategories.size() < 3) r.missingCategories.push_back(name);
      continue;
    }
    blocks[it->second].push_back(&a);
  }

  for (std::size_t k = 0; k < blocks.size(); ++k) {
    r.categories[k].AccountCount = static_cast<int>(blocks[k].size());
    for (const records::LedgerAccountRec* a : blocks[k]) {
      BalanceTableRow row;
      row.AccountNumber = a->AccountNumber();
      row.Caption = text::Cut(a->Caption(), 50);
      row.CategoryKind = r.categories[k].CategoryKind;
      row.CategoryName = r.categories[k].CategoryName;
      row.AccountType = text::Cut(a->AccountType(), 1);
      row.YearOpeningBalance = a->StartDate() < period.start ? a->StartAmount() : 0;
      row.OpeningOwnSide = a->StartAmount();
      row.ClosingOwnSide = a->StartAmount();
      if (row.AccountType == "P") {
        r.profitRow = r.table.size();
        r.profitAccountCaption = text::Cut(row.Caption, 30);
        r.profitAccountNumber = row.AccountNumber;
      } else if (row.AccountType == "T") {
        r.transferRow = r.table.size();
      }
      r.table.push_back(std::move(row));
    }
  }
}

void ApplySnapshot(const ReportPeriod& period, const records::FreezeRec& snap, BalanceResult& r) {
  std::unordered_map<std::string, std::size_t> rowOf;
  for (std::size_t i = 0; i < r.table.size(); ++i) rowOf.emplace(text::TrimTrailingBlanks(r.table[i].AccountNumber), i);
  for (int i = 1; i <= records::FreezeRec::kAccountRows; ++i) {
    const records::FreezeAccountRow s = snap.Account(i);
    const std::string number = text::TrimTrailingBlanks(s.AccountNumber());
    if (number.empty()) continue;
    auto it = rowOf.find(number);
    if (it == rowOf.end()) continue;
    BalanceTableRow& row = r.table[it->second];
    row.YearOpeningBalance = s.YearOpeningBalance();
    if (period.hit) {
      row.OpeningOwnSide = s.OpeningOwnSide();
      row.OpeningOtherSide = s.OpeningOtherSide();
      row.ClosingOwnSide = s.ClosingOwnSide();
      row.ClosingOtherSide = s.ClosingOtherSide();
      continue;
    }
    // The first period of a new book year: the year opening keeps the net
    // of the frozen sides; profit and loss opens at zero.
    const bool newBookYear = period.pp == 1;
    if (newBookYear) row.YearOpeningBalance = s.ClosingOwnSide() - s.ClosingOtherSide();
    const books::closing::CarriedSides sides =
        books::closing::CarryIntoNextPeriod(s.ClosingOwnSide(), s.ClosingOtherSide(), newBookYear, row.CategoryKind);
    row.OpeningOwnSide = row.ClosingOwnSide = sides.own;
    row.OpeningOtherSide = row.ClosingOtherSide = sides.other;
  }
}

// The table rows by account key, for the per-line loop: a small
// open-addressing table keyed on the characters of a line's account number
// within its field's length byte, trailing blanks removed (never the bytes
// beyond the length: files from the earlier system may hold anything
// there), so a line costs no string; and the row of the line before, for
// the runs of one account a voucher file holds. A key the table misses goes
// the string way (`rowOf`) as before.
class AccountRows {
 public:
  struct Entry {
    std::string key;
    std::size_t row = 0;
    char side = 0;  // 'D', 'C', or 0 for a type that takes no amounts
  };

  AccountRows(const std::vector<BalanceTableRow>& table, const std::unordered_map<std::string, std::size_t>& rowOf)
      : rowOf_(rowOf) {
    std::size_t size = 16;
    while (size < 2 * rowOf.size()) size *= 2;
    slots_.assign(size, kEmpty);
    for (const auto& [key, row] : rowOf) {
      const std::string& type = table[row].AccountType;
      entries_.push_back({key, row, type == "D" ? 'D' : type == "C" ? 'C' : '\0'});
      std::size_t at = Hash(key) & (size - 1);
      while (slots_[at] != kEmpty) at = (at + 1) & (size - 1);
      slots_[at] = entries_.size() - 1;
    }
    sides_.resize(table.size());
    for (const Entry& e : entries_) sides_[e.row] = e.side;
  }

  // The entry of a line's account; nullptr when no row has it.
  const Entry* Find(const records::JournalVoucherRec& v) {
    std::string_view key = store::FieldView(v, records::JournalVoucherRec::kAccountNumber);
    while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
    if (last_ && last_->key == key) return last_;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = Hash(key) & mask; slots_[at] != kEmpty; at = (at + 1) & mask) {
      const Entry& e = entries_[slots_[at]];
      if (e.key == key) return last_ = &e;
    }
    // Missed: the string way, as the key was always formed.
    const auto it = rowOf_.find(AccountKey(v.AccountNumber()));
    if (it == rowOf_.end()) return nullptr;
    miss_ = {it->first, it->second, sides_[it->second]};
    return &miss_;
  }

 private:
  static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);
  static std::size_t Hash(std::string_view key) {
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : key) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
  const std::unordered_map<std::string, std::size_t>& rowOf_;
  std::vector<Entry> entries_;
  std::vector<std::size_t> slots_;
  std::vector<char> sides_;
  const Entry* last_ = nullptr;
  Entry miss_;
};

// Adds the voucher lines of the period to their rows.
void AddVouchers(const ReportPeriod& period, const records::JournalVoucherRec* vouchers, std::size_t count,
                 AccountRows& rows, BalanceResult& r) {
  using records::JournalVoucherRec;
  for (std::size_t i = 0; i < count; ++i) {
    const JournalVoucherRec& v = vouchers[i];
    const std::string_view date = store::FieldView(v, JournalVoucherRec::kVoucherDate);
    if (!(period.start <= date && date < period.end)) continue;
    const AccountRows::Entry* e = rows.Find(v);
    if (!e) continue;
    BalanceTableRow& row = r.table[e->row];
    const double debit = v.DebitAmount(), credit = v.CreditAmount();
    if (e->side == 'D') {
      row.ClosingOwnSide += debit;
      row.ClosingOtherSide += credit;
    } else if (e->side == 'C') {
      row.ClosingOwnSide += credit;
      row.ClosingOtherSide += debit;
    }
    if (period.pp != 1) continue;
    const std::string_view book = store::FieldView(v, JournalVoucherRec::kBookNumber);
    if (book == "{SYSTEM}" || book == "! SYSTEM")
      row.OpeningOwnSide += e->side == 'D' ? debit - credit : credit - debit;
  }
}

void Sum(BalanceResult& r) {
  BalanceSums& s = r.sums;
  s = {};
  for (const auto& row : r.table) {
    const bool bs = books::closing::IsBalanceSheetKind(row.CategoryKind);
    ClassSums* c = nullptr;
    if (row.AccountType == "D" || row.AccountType == "d") c = bs ? &s.BsDebit : &s.PlDebit;
    if (row.AccountType == "C" || row.AccountType == "c") c = bs ? &s.BsCredit : &s.PlCredit;
    if (!c) continue;
    c->Year += row.YearOpeningBalance;
    c->OpenOwn += row.OpeningOwnSide;
    c->OpenOther += row.OpeningOtherSide;
    c->CloseOwn += row.ClosingOwnSide;
    c->CloseOther += row.ClosingOtherSide;
  }
  s.BsOpeningNet = (s.BsDebit.OpenOwn - s.BsDebit.OpenOther) - (s.BsCredit.OpenOwn - s.BsCredit.OpenOther);
  s.BsClosingNet = (s.BsDebit.CloseOwn - s.BsDebit.CloseOther) - (s.BsCredit.CloseOwn - s.BsCredit.CloseOther);
  s.BsYearNet = s.BsDebit.Year - s.BsCredit.Year;
  s.PlOpeningProfit = (s.PlCredit.OpenOwn - s.PlCredit.OpenOther) - (s.PlDebit.OpenOwn - s.PlDebit.OpenOther);
  s.PlClosingProfit = (s.PlCredit.CloseOwn - s.PlCredit.CloseOther) - (s.PlDebit.CloseOwn - s.PlDebit.CloseOther);
  s.PlYearProfit = s.PlCredit.Year - s.PlDebit.Year;

  if (r.profitRow && r.transferRow) {
    BalanceTableRow& p = r.table[*r.profitRow];
    p.YearOpeningBalance = s.BsYearNet;
    p.OpeningOwnSide = s.PlOpeningProfit;
    p.ClosingOwnSide = s.PlClosingProfit;
    p.OpeningOtherSide = p.ClosingOtherSide = 0;
    BalanceTableRow& t = r.table[*r.transferRow];
    t.YearOpeningBalance = 0;
    t.OpeningOwnSide = s.PlOpeningProfit;
    t.ClosingOwnSide = s.PlClosingProfit;
    t.OpeningOtherSide = t.ClosingOtherSide = 0;
  }
}

// The grid, written row by row.
class GridWriter {
 public:
  explicit GridWriter(std::vector<GridRow>& grid) : grid_(grid) { grid_.assign(2, GridRow{}); }
  GridRow& Next() {
    grid_.emplace_back();
    return grid_.back();
  }
  std::size_t Last() const { return grid_.size() - 1; }
  void Block(std::initializer_list<std::string> lines) {
    Next()[0] = kStarLine;
    for (const auto& l : lines) Next()[0] = l;
    Next()[0] = kStarLine;
  }
  GridRow& Row(std::size_t i) { return grid_[i]; }

 private:
  std::vector<GridRow>& grid_;
};

void WithoutCategoryBlock(const BalanceRequest& q, const BalanceResult& r, GridWriter& g) {
  if (r.withoutCategory == 0) return;
  g.Next()[0] = kStarLine;
  g.Next()[0] = "  +" + std::to_string(r.withoutCategory) + " " + q.texts.withoutCategory;
  for (const auto& n : r.missingCategories) g.Next()[0] = n + " " + q.texts.notACategory;
  g.Next()[0] = kStarLine;
}

void ExtraBlocks(const BalanceResult& r, GridWriter& g) {
  if (!r.ambiguousCategories.empty()) {
    g.Next()[0] = kStarLine;
    for (const auto& n : r.ambiguousCategories) g.Next()[0] = MsgAmbiguousCategory(n);
    g.Next()[0] = kStarLine;
  }
  if (r.table.size() > static_cast<std::size_t>(kFreezeCapacity)) g.Block({MsgTooManyAccounts(r.table.size())});
}

// The two heading rows and the warning blocks under them.
void LayOutHeading(const BalanceRequest& q, const BalanceResult& r, GridWriter& g) {
  const BalanceSums& s = r.sums;
  const BalanceTexts& t = q.texts;
  GridRow& h0 = g.Row(0);
  GridRow& h1 = g.Row(1);
  h1[0] = t.accountHeading;
  for (int c : {1, 3, 5}) h1[c] = t.debit;
  for (int c : {2, 4, 6}) h1[c] = t.credit;

  const bool openingOff = !text::SameAmount(s.BsOpeningNet, s.PlOpeningProfit);
  const bool closingOff = !text::SameAmount(s.BsClosingNet, s.PlClosingProfit);
  const bool missingPT = r.withoutCategory == 0 && (!r.profitRow || !r.transferRow);
  if (q.kind == '1') {
    h0[1] = t.totals;
    h0[3] = t.profitAndLoss;
    h0[5] = t.balanceSheet;
    h0[6] = r.period->label;
    if (openingOff) g.Block({t.openingOutOfBalance});
    WithoutCategoryBlock(q, r, g);
    if (closingOff) g.Block({t.closingOutOfBalance});
    if (missingPT) g.Block({t.noProfitOrTransfer});
  } else {
    const ReportPeriod& p = *r.period;
    h0[1] = p.yearBaseDate;
    if (p.pp > 0)
      h0[3] = p.label.substr(0, 4) + "-" + (p.pp <= 10 ? "0" : "") + std::to_string(p.pp - 1) + "/" +
              p.label.substr(8, 2);
    h0[5] = p.label;
    WithoutCategoryBlock(q, r, g);
    if (openingOff) g.Block({t.openingOutOfBalance});
    if (closingOff) g.Block({t.closingOutOfBalance, t.resultsDiffer});
    if (missingPT) g.Block({t.noProfitOrTransfer});
    if (text::TrimTrailingBlanks(q.settings.ProfitAccountNumber()).empty()) g.Block({t.noProfitAccountNumber});
  }
  ExtraBlocks(r, g);
}

// Grid rows of the P and T accounts, once they are laid out.
struct ProfitRows {
  std::optional<std::size_t> p, t;
};

// The balance sheet's total row of a kind 2 balance, where the profit and
// loss accounts begin; the P account's row gets the sheet's net amounts.
void BalanceSheetTotal(const BalanceSums& s, const ProfitRows& rows, GridWriter& g) {
  if (rows.p) {
    GridRow& pr = g.Row(*rows.p);
    pr[2] = Amount(s.BsYearNet);
    pr[4] = Amount(s.BsOpeningNet);
    pr[6] = Amount(s.BsClosingNet);
  }
  GridRow& total = g.Next();
  total[0] = kTotalText;
  total[7] = kTotalRowMarker;
  total[1] = total[2] = Amount(s.BsDebit.Year);
  total[3] = total[4] = Amount(s.BsDebit.OpenOwn - s.BsDebit.OpenOther);
  total[5] = total[6] = Amount(s.BsDebit.CloseOwn - s.BsDebit.CloseOther);
}

// The amounts of one account's row.
void AccountAmounts(const BalanceTableRow& a, bool kind1, bool secondGroup, GridRow& row) {
  const bool debitLike = DebitLike(a.AccountType);
  const double net = a.ClosingOwnSide - a.ClosingOtherSide;
  if (kind1) {
    row[1] = Amount(debitLike ? a.ClosingOwnSide : a.ClosingOtherSide);
    row[2] = Amount(debitLike ? a.ClosingOtherSide : a.ClosingOwnSide);
    row[(secondGroup ? 3 : 5) + (debitLike ? 0 : 1)] = Amount(net);
  } else {
    const int col = debitLike ? 1 : 2;
    row[col] = Amount(a.YearOpeningBalance);
    row[col + 2] = Amount(a.OpeningOwnSide - a.OpeningOtherSide);
    row[col + 4] = Amount(net);
  }
}

// The categories with their accounts, in table order.
ProfitRows LayOutAccounts(const BalanceRequest& q, const BalanceResult& r, GridWriter& g) {
  const bool kind1 = q.kind == '1';
  ProfitRows rows;
  if (!kind1 && !r.categories.empty()) g.Next()[0] = r.categories[0].CategoryKind;
  std::size_t tableRow = 0;
  bool secondGroup = false;
  for (std::size_t k = 0; k < r.categories.size(); ++k) {
    const CategoryTableEntry& c = r.categories[k];
    if (k > 0 && !secondGroup && c.CategoryKind != r.categories[k - 1].CategoryKind) {
      secondGroup = true;
      if (!kind1) {
        BalanceSheetTotal(r.sums, rows, g);
        g.Next()[0] = c.CategoryKind;
      }
    }
    g.Next()[0] = c.CategoryName;
    for (int i = 0; i < c.AccountCount; ++i, ++tableRow) {
      const BalanceTableRow& a = r.table[tableRow];
      GridRow& row = g.Next();
      row[0] = text::Cut(a.AccountNumber + "  " + a.Caption, 72);
      if (a.AccountType == "P") rows.p = g.Last();
      if (a.AccountType == "T") rows.t = g.Last();
      AccountAmounts(a, kind1, secondGroup, row);
    }
  }
  return rows;
}

// The profit on the P and T rows and the closing total row.
void LayOutTotals(const BalanceRequest& q, BalanceResult& r, GridWriter& g, const ProfitRows& rows,
                  bool freezeFileEmpty) {
  const BalanceSums& s = r.sums;
  if (q.kind == '1') {
    if (rows.t) g.Row(*rows.t)[3] = Amount(s.PlClosingProfit);
    if (rows.p) g.Row(*rows.p)[6] = Amount(s.PlClosingProfit);
    GridRow& total = g.Next();
    total[0] = kTotalText;
    total[1] = total[2] = Amount(s.BsDebit.CloseOwn + s.BsCredit.CloseOther + s.PlDebit.CloseOwn +
                                 s.PlCredit.CloseOther + s.BsClosingNet);
    total[3] = total[4] = Amount(s.PlCredit.CloseOwn - s.PlCredit.CloseOther);
    total[5] = total[6] = Amount(s.BsDebit.CloseOwn - s.BsDebit.CloseOther);
  } else {
    if (rows.t) {
      GridRow& tr = g.Row(*rows.t);
      tr[1] = Amount(s.PlYearProfit);
      tr[3] = Amount(s.PlOpeningProfit);
      tr[5] = Amount(s.PlClosingProfit);
    }
    GridRow& total = g.Next();
    total[0] = kTotalText;
    total[1] = total[2] = Amount(s.PlCredit.Year);
    total[3] = total[4] = Amount(s.PlCredit.OpenOwn - s.PlCredit.OpenOther);
    total[5] = total[6] = Amount(s.PlCredit.CloseOwn - s.PlCredit.CloseOther);
    if (freezeFileEmpty)
      for (GridRow& row : r.grid)
        for (int c : {1, 2, 3, 4}) row[c].clear();
  }
}

void LayOut(const BalanceRequest& q, BalanceResult& r, bool freezeFileEmpty) {
  GridWriter g(r.grid);
  LayOutHeading(q, r, g);
  const ProfitRows rows = LayOutAccounts(q, r, g);
  LayOutTotals(q, r, g, rows, freezeFileEmpty);
  r.gridRowCount = static_cast<int>(r.grid.size()) - 1;
}

}  // namespace

namespace {

// Gives the voucher lines block by block to `add`.
using VoucherBlocks =
    std::function<void(const std::function<void(const records::JournalVoucherRec*, std::size_t)>& add)>;

BalanceResult Compute(const BalanceRequest& q, const BalanceFiles& files, const VoucherBlocks& vouchers) {
  BalanceResult r;
  PeriodOrError period = ComputeReportPeriod(q.periodText, q.settings, files.freezes);
  if (!period.period) {
    r.error = period.error;
    return r;
  }
  r.period = *period.period;
  const ReportPeriod& p = *r.period;
  if (p.snapshot)
    if (std::string fault = FreezeRecordFault(files.freezes[*p.snapshot]); !fault.empty()) {
      r.error = store::MsgDamagedFile(store::FileInfo(store::FileCode::FRZ).fileName,
                                      "record " + std::to_string(*p.snapshot + 1) + ": " + fault);
      return r;
    }

  PlaceAccounts(p, files, r);
  if (p.snapshot) ApplySnapshot(p, files.freezes[*p.snapshot], r);
  if (!p.hit && !r.table.empty()) {
    std::unordered_map<std::string, std::size_t> rowOf;
    for (std::size_t i = 0; i < r.table.size(); ++i) rowOf.emplace(AccountKey(r.table[i].AccountNumber), i);
    AccountRows rows(r.table, rowOf);
    vouchers([&](const records::JournalVoucherRec* block, std::size_t count) {
      AddVouchers(p, block, count, rows, r);
    });
  }
  Sum(r);
  if (q.kind == '1' || q.kind == '2') LayOut(q, r, files.freezes.empty());

  FreezeConditions c;
  c.closingInBalance = text::SameAmount(r.sums.BsClosingNet, r.sums.PlClosingProfit);
  c.openPeriod = !p.hit;
  c.profitAccountNamed = !text::TrimTrailingBlanks(q.settings.ProfitAccountNumber()).empty();
  c.profitAndTransferExist = r.profitRow && r.transferRow;
  c.endsByFarEnd = p.end <= q.farEndDate;
  c.fitsFreezeRecord = r.table.size() <= static_cast<std::size_t>(kFreezeCapacity);
  r.freezeAllowed = FreezePermitted(c);
  r.profitText = text::FormatAmount(r.sums.PlClosingProfit, -1, 'N');
  return r;
}

}  // namespace

BalanceResult ComputeBalanceCore(const BalanceRequest& q, const BalanceFiles& files) {
  return Compute(q, files, [&files](const auto& add) { add(files.vouchers.data(), files.vouchers.size()); });
}

BalanceGridRun ComputeBalanceGrid(const BalanceRequest& request) {
  BalanceGridRun run;
  BalanceFiles files;
  store::ScopedFileSet set("FRZ;GLA;GLC;JVO;");
  if (!set.Ok()) {
    run.openFailure = set.Failure();
    return run;
  }
  files.freezes = store::ReadAll<records::FreezeRec>(store::FileCode::FRZ, store::kSmallFileLimit);
  files.accounts = store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit);
  files.categories = store::ReadAll<records::LedgerCategoryRec>(store::FileCode::GLC, store::kSmallFileLimit);
  // The voucher file, which may be large, is read in blocks of about 1 MiB
  // and never held whole.
  run.result = Compute(request, files, [](const auto& add) {
    store::ForEachRecordBlock<records::JournalVoucherRec>(store::FileCode::JVO, add);
  });
  set.Close();
  return run;
}

}  // namespace books::closing
