#include "books/exchange/auditfile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <unordered_set>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/longwork.h"
#include "platform/memory.h"
#include "records/documentkind.h"
#include "store/fileset.h"
#include "store/recordscan.h"
#include "text/builtintext.h"
#include "text/textroutines.h"
#include "text/amount.h"

namespace books::exchange {

namespace {

constexpr int kMaxJournals = 50;
constexpr const char* kAuditFileSet = "ADS;GLA;CUS;SUP;JVO;FRZ;";

bool IsBlank(std::string_view s) { return text::TrimText(s).empty(); }

// An amount the file holds is below this: 15 digits before the point.
constexpr double kAmountLimit = 1e15;
constexpr const char* kLargestAmount = "999999999999999.99";
// A total the file holds: 18 digits.
constexpr std::int64_t kMaxTotalCents = 999'999'999'999'999'999;
constexpr const char* kLargestTotal = "9999999999999999.99";

// "YYYYMMDD" naming a day of the calendar (a year from 1 on, as an XML date
// has it).
bool IsValidDate(std::string_view ymd) {
  if (ymd.size() != 8) return false;
  int number[3] = {0, 0, 0};
  for (std::size_t i = 0; i < 8; ++i) {
    if (ymd[i] < '0' || ymd[i] > '9') return false;
    int& part = number[i < 4 ? 0 : i < 6 ? 1 : 2];
    part = part * 10 + (ymd[i] - '0');
  }
  const int year = number[0], month = number[1], day = number[2];
  if (year < 1 || month < 1 || month > 12) return false;
  return day >= 1 && day <= platform::DaysInMonth(year, month);
}

std::optional<std::string> DayBefore(std::string_view ymd) {
  if (!IsValidDate(ymd)) return std::nullopt;
  return platform::YmdDayBefore(ymd);
}

std::optional<int> YearNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

using store::FieldView;

// `s` without blanks and control bytes at either end, as text::TrimText.
std::string_view TrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

void AppendXmlText(std::string& out, std::string_view text);

// The writers of one line each, appended to `t` with its CR LF.
void PutOpen(std::string& t, int depth, std::string_view name) {
  t.append(static_cast<std::size_t>(depth), ' ');
  t += '<';
  t += name;
  t += ">\r\n";
}

void PutClose(std::string& t, int depth, std::string_view name) {
  t.append(static_cast<std::size_t>(depth), ' ');
  t += "</";
  t += name;
  t += ">\r\n";
}

// "<name>value</name>" with the value as given.
void PutElement(std::string& t, int depth, std::string_view name, std::string_view value) {
  t.append(static_cast<std::size_t>(depth), ' ');
  t += '<';
  t += name;
  t += '>';
  t += value;
  t += "</";
  t += name;
  t += ">\r\n";
}

// The same with a stored text written as character data.
void PutText(std::string& t, int depth, std::string_view name, std::string_view text) {
  t.append(static_cast<std::size_t>(depth), ' ');
  t += '<';
  t += name;
  t += '>';
  AppendXmlText(t, text);
  t += "</";
  t += name;
  t += ">\r\n";
}

// Cents as "-1234.50".
void AppendCents(std::string& t, std::int64_t cents) {
  const std::uint64_t magnitude =
      cents < 0 ? static_cast<std::uint64_t>(-(cents + 1)) + 1 : static_cast<std::uint64_t>(cents);
  if (cents < 0) t += '-';
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, magnitude / 100);
  t.append(buf, r.ptr);
  const auto fraction = static_cast<unsigned>(magnitude % 100);
  t += '.';
  t += static_cast<char>('0' + fraction / 10);
  t += static_cast<char>('0' + fraction % 10);
}

std::string PartnerId(const records::PartnerRec& p) {
  return text::TrimText(p.RelationshipType() + std::to_string(p.OurNumber()));
}

std::string Trimmed(std::string_view s) { return text::TrimText(s); }

std::string OrUnavailable(const std::string& value) {
  return IsBlank(value) ? std::string("niet beschikbaar") : XmlText(value);
}

// The year's range and where its start balances come from.
struct Range {
  std::string start;
  std::string end;
  const records::FreezeRec* opening = nullptr;  // the older year's newest snapshot
  std::vector<const records::FreezeRec*> ownSnapshots;  // the year's, oldest first
  bool currentYear = false;
};

Range FindRange(const AuditFileSource& source, const std::string& choice, int year) {
  Range r;
  const records::AdminSettingsRec& s = source.settings;
  r.currentYear = choice.substr(0, 4) == s.FiscalYear();
  for (const records::FreezeRec& f : source.freezes) {
    if (f.BookYear() == year) r.ownSnapshots.push_back(&f);
  }
  for (auto it = source.freezes.rbegin(); it != source.freezes.rend(); ++it) {
    if (it->BookYear() < year) {
      r.opening = &*it;
      break;
    }
  }
  if (r.currentYear) {
    std::string pp = choice.size() >= 12 ? choice.substr(10, 2) : "";
    std::string nn = choice.size() >= 15 ? choice.substr(13, 2) : "";
    if (!pp.empty() && pp == nn) {
      r.end = s.BookYearEnd();
    } else if (auto p = YearNumber(pp); p && *p >= 1 && *p <= 14) {
      r.end = DayBefore(s.PeriodStart(*p + 1)).value_or("");
    }
    r.start = r.opening ? r.opening->PeriodEndDate() : s.BookYearStart();
  } else {
    if (!r.ownSnapshots.empty()) r.end = DayBefore(r.ownSnapshots.back()->PeriodEndDate()).value_or("");
    if (r.opening) r.start = r.opening->PeriodEndDate();
  }
  return r;
}

// The period of a transaction dated `date`: in the current year from the
// settings' period starts (`starts`: PeriodStart 2 to 15), in an earlier one
// from the year's own snapshots.
std::string PeriodOf(const Range& r, const std::vector<std::string>& starts, std::string_view date) {
  if (r.currentYear) {
    for (std::size_t k = 0; k < starts.size(); ++k) {
      if (date < starts[k]) {
        const int n = static_cast<int>(k + 1);
        return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
      }
    }
    return "15";
  }
  for (const records::FreezeRec* f : r.ownSnapshots) {
    if (date < f->PeriodEndDate()) {
      std::string label = f->PeriodLabel();
      if (label.size() >= 7) return label.substr(5, 2);
    }
  }
  return "15";
}

bool IsBalanceRow(const records::FreezeAccountRow& row) {
  std::string kind = row.CategoryKind();
  return !kind.empty() && kind[0] == 'B';
}

std::string JournalType(const records::JournalVoucherRec& v) {
  if (!v.InvoiceAttached()) return "Others";
  std::string number = Trimmed(v.InvoiceNumber());
  if (number == "0" || number == "-1") return "Payments";
  // Customer vouchers are receivable; any other kind, an unknown one too, payable.
  return records::DocumentKindOf(v.PartnerType()) == records::DocumentKind::Customer ? "Accounts receivable"
                                                                                      : "Accounts payable";
}

// One line's amount side and value in cents.
struct Side {
  bool debit = false;
  std::int64_t cents = 0;
};

}  // namespace

namespace {

void AppendXmlText(std::string& out, std::string_view text) {
  // Runs of bytes written as they are go in one append.
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    const auto b = static_cast<unsigned char>(ch);
    if ((b >= 0x20 && b < 0x80 && ch != '&' && ch != '<' && ch != '>') || b >= 0xA0 || ch == '\t')
      continue;  // tab, and 0xA0-0xFF: the same in both code pages
    out.append(text.data() + run, i - run);
    run = i + 1;
    if (ch == '&') {
      out += "&amp;";
    } else if (ch == '<') {
      out += "&lt;";
    } else if (ch == '>') {
      out += "&gt;";
    } else if (b < 0x20) {
      out += ' ';
    } else {
      // 0x80-0x9F: the code page's character as UTF-8, decoded to its code
      // point.
      const std::string utf8 = cp1252::ToUtf8(std::string_view(&ch, 1));
      unsigned code = b;
      if (utf8.size() == 2) {
        code = ((static_cast<unsigned char>(utf8[0]) & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[1]) & 0x3Fu);
      } else if (utf8.size() == 3) {
        code = ((static_cast<unsigned char>(utf8[0]) & 0x0Fu) << 12) |
               ((static_cast<unsigned char>(utf8[1]) & 0x3Fu) << 6) | (static_cast<unsigned char>(utf8[2]) & 0x3Fu);
      }
      out += "&#" + std::to_string(code) + ";";
    }
  }
  out.append(text.data() + run, text.size() - run);
}

}  // namespace

std::string XmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendXmlText(out, text);
  return out;
}

std::string XmlDate(std::string_view ymd) {
  std::string d(ymd.substr(0, std::min<std::size_t>(ymd.size(), 8)));
  if (d.size() < 8) d.resize(8, ' ');
  return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
}

std::optional<std::int64_t> AmountCents(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= kAmountLimit) return std::nullopt;
  return text::ToCents(value, 2);
}

std::string CentsText(std::int64_t cents) {
  std::string text;
  AppendCents(text, cents);
  return text;
}

std::string AuditFileRefusalText(const AuditFileRefusal& r) {
  const std::string& v = r.value;
  const std::string& d = r.detail;
  switch (r.fault) {
    case AuditFileFault::NoTaxRegistration:
      return text::BuiltInText(text::BuiltIn::NoTaxRegistration);
    case AuditFileFault::FiscalYearNotANumber:
      return text::BuiltInText(text::BuiltIn::FiscalYearNotANumber, {v});
    case AuditFileFault::FiscalYearTooEarly:
      return text::BuiltInText(text::BuiltIn::FiscalYearTooEarly, {v});
    case AuditFileFault::NoDateRange:
      return text::BuiltInText(text::BuiltIn::NoDateRange);
    case AuditFileFault::NoAccounts:
      return text::BuiltInText(text::BuiltIn::NoAccounts);
    case AuditFileFault::DuplicateAccount:
      return text::BuiltInText(text::BuiltIn::DuplicateAccount, {v});
    case AuditFileFault::DuplicatePartner:
      return text::BuiltInText(text::BuiltIn::DuplicatePartner, {v});
    case AuditFileFault::UnlistedAccount:
      return text::BuiltInText(text::BuiltIn::UnlistedAccount, {v});
    case AuditFileFault::TooManyJournals:
      return text::BuiltInText(text::BuiltIn::TooManyJournals);
    case AuditFileFault::UnwritableAmount:
      return text::BuiltInText(text::BuiltIn::UnwritableAmount, {v});
    case AuditFileFault::AmountTooLarge:
      return text::BuiltInText(text::BuiltIn::AuditFileFaultAmountTooLarge, {d, v, kLargestAmount});
    case AuditFileFault::TotalTooLarge:
      return text::BuiltInText(text::BuiltIn::TotalTooLarge, {v, kLargestTotal});
    case AuditFileFault::InvalidVoucherDate:
      return text::BuiltInText(text::BuiltIn::InvalidVoucherDate, {v, d});
  }
  return {};
}

namespace {

using JV = records::JournalVoucherRec;
// Gives the voucher lines block by block, in file order, to `add`; called
// once for the checks and once for the writing.
using VoucherBlocks = std::function<void(const std::function<void(const JV*, std::size_t)>& add)>;

// Identifiers looked up by view, without building a string.
struct IdHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view id) const { return std::hash<std::string_view>{}(id); }
};
using IdSet = std::unordered_set<std::string, IdHash, std::equal_to<>>;

// The text handed to the sink in pieces of about 4 MiB, each of whole lines.
constexpr std::size_t kPiece = 4u << 20;

// The master data's text moves on to the pieces in steps of about this.
constexpr std::size_t kStep = 64u << 10;

// A text written through a raw cursor into pieces that grow from 16 KiB to
// 4 MiB: Room gives the cursor with at least n bytes free behind it, Advance
// sets the text's end. A piece is never moved or copied once written.
class Out {
 public:
  char* Room(std::size_t n) {
    if (piece_.size() - used_ < n) NewPiece(n);
    return piece_.data() + used_;
  }
  void Advance(const char* end) { used_ = static_cast<std::size_t>(end - piece_.data()); }
  void Append(std::string_view text) {
    char* p = Room(text.size());
    std::memcpy(p, text.data(), text.size());
    Advance(p + text.size());
  }
  // The full pieces to `sink`, the one being written stays.
  void HandFullPiecesTo(AuditFileSink& sink) {
    if (full_.empty()) return;
    for (std::string& piece : full_) sink.Take(std::move(piece));
    full_.clear();
  }
  // Everything to `sink`; the text is empty after.
  void HandTo(AuditFileSink& sink) {
    HandFullPiecesTo(sink);
    if (used_ > 0) {
      piece_.resize(used_);
      sink.Take(std::move(piece_));
    }
    piece_ = std::string();
    used_ = 0;
  }

 private:
  void NewPiece(std::size_t n) {
    if (used_ > 0) {
      piece_.resize(used_);
      full_.push_back(std::move(piece_));
    }
    piece_ = std::string();
    piece_.reserve(std::max(n, next_));
    // Fresh memory, written once: large pages save most of its faults.
    if (next_ == kPiece) platform::PreferLargePages(piece_.data(), piece_.capacity());
    piece_.resize(piece_.capacity());
    next_ = std::min(next_ * 4, kPiece);
    used_ = 0;
  }
  std::vector<std::string> full_;
  std::string piece_;
  std::size_t used_ = 0;
  std::size_t next_ = 16u << 10;  // a small text stays small
};

char* Put(char* p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
  return p + text.size();
}

// A literal: its length is known where it is written.
template <std::size_t N>
char* Put(char* p, const char (&literal)[N]) {
  std::memcpy(p, literal, N - 1);
  return p + N - 1;
}

char* PutNumber(char* p, std::int64_t n) { return std::to_chars(p, p + 24, n).ptr; }

char* PutCents(char* p, std::int64_t cents) {
  const std::uint64_t magnitude =
      cents < 0 ? static_cast<std::uint64_t>(-(cents + 1)) + 1 : static_cast<std::uint64_t>(cents);
  if (cents < 0) *p++ = '-';
  p = std::to_chars(p, p + 20, magnitude / 100).ptr;
  const auto fraction = static_cast<unsigned>(magnitude % 100);
  *p++ = '.';
  *p++ = static_cast<char>('0' + fraction / 10);
  *p++ = static_cast<char>('0' + fraction % 10);
  return p;
}

// "YYYYMMDD" as "YYYY-MM-DD", as XmlDate writes it.
char* PutDate(char* p, std::string_view ymd) {
  char d[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  std::memcpy(d, ymd.data(), std::min<std::size_t>(ymd.size(), 8));
  p = Put(p, std::string_view(d, 4));
  *p++ = '-';
  p = Put(p, std::string_view(d + 4, 2));
  *p++ = '-';
  return Put(p, std::string_view(d + 6, 2));
}

// A code page 1252 text as character data, as AppendXmlText writes it: at
// most 7 bytes for each byte of the text.
char* PutXml(char* p, std::string_view text) {
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if ((b >= 0x20 && b < 0x80 && ch != '&' && ch != '<' && ch != '>') || b >= 0xA0 || ch == '\t') {
      *p++ = ch;
    } else {
      std::string escaped;
      AppendXmlText(escaped, std::string_view(&ch, 1));
      p = Put(p, escaped);
    }
  }
  return p;
}

// An element holding `text` as character data: `open` before it, `close`
// after it.
char* PutElement(char* p, std::string_view open, std::string_view text, std::string_view close) {
  return Put(PutXml(Put(p, open), text), close);
}

// An optional element: nothing when `text` is empty.
char* PutOptional(char* p, std::string_view open, std::string_view text, std::string_view close) {
  return text.empty() ? p : PutElement(p, open, text, close);
}

// An amount between its element's tags.
char* PutAmount(char* p, std::string_view open, std::int64_t cents, std::string_view close) {
  return Put(PutCents(Put(p, open), cents), close);
}

// What the checks find and the writing follows: the range, the identifiers,
// the start balances, each in-range line's side and journal, the totals.
struct Opening {
  std::string account;
  Side side;
};

struct Journal {
  std::string name;
  std::string type;
  std::int64_t lines = 0;
  std::int64_t transactions = 0;
  // The transaction of the journal's last line: date and book number.
  std::string date;
  std::string number;
};

struct Plan {
  std::string choiceYear;
  Range range;
  std::vector<std::string> periodStarts;  // PeriodStart 2 to 15
  IdSet accountIds;
  IdSet partnerIds;
  std::vector<Opening> openings;
  std::vector<Journal> journals;
  std::vector<Side> sides;                // the range's lines in file order
  std::vector<std::uint8_t> journalOf;    // the journal of each of them
  std::int64_t entries = 0;
  std::int64_t totalDebit = 0;
  std::int64_t totalCredit = 0;
};

using Refusal = AuditFileRefusal;
using F = AuditFileFault;

bool InRange(const Range& range, const JV& v) {
  const std::string_view date = FieldView(v, JV::kVoucherDate);
  return !(date < range.start || date > range.end);
}

// An amount as the refusal names it: the shortest text that reads back as
// it, in fixed notation while that stays readable.
std::string AmountText(double value) {
  char buf[64];
  const auto r = std::isfinite(value) && std::fabs(value) < 1e21
                     ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed)
                     : std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

// The cents of `value` booked on `account`, or why the file cannot hold it.
std::variant<std::int64_t, Refusal> CentsOrRefusal(double value, std::string_view account) {
  if (auto cents = AmountCents(value)) return *cents;
  if (!std::isfinite(value)) return Refusal{F::UnwritableAmount, std::string(account)};
  return Refusal{F::AmountTooLarge, std::string(account), AmountText(value)};
}

// The settings, the range and the master data.
std::optional<Refusal> CheckMasters(const AuditFileSource& source, const AuditFileRequest& request, Plan& plan) {
  const records::AdminSettingsRec& s = source.settings;
  for (int k = 2; k <= records::AdminSettingsRec::kPeriodStartCount; ++k) plan.periodStarts.push_back(s.PeriodStart(k));
  if (IsBlank(s.TaxRegistrationId())) return Refusal{F::NoTaxRegistration, ""};
  std::string settingsYear = s.FiscalYear().empty() ? std::string("0000") : s.FiscalYear();
  auto settingsYearNumber = YearNumber(settingsYear);
  if (!settingsYearNumber) return Refusal{F::FiscalYearNotANumber, settingsYear};
  if (*settingsYearNumber < 1990) return Refusal{F::FiscalYearTooEarly, settingsYear};
  plan.choiceYear = request.periodChoice.substr(0, 4);
  auto year = YearNumber(plan.choiceYear);
  if (!year || plan.choiceYear.size() != 4) return Refusal{F::FiscalYearNotANumber, plan.choiceYear};

  plan.range = FindRange(source, request.periodChoice, *year);
  if (!IsValidDate(plan.range.start) || !IsValidDate(plan.range.end)) return Refusal{F::NoDateRange, ""};

  if (source.accounts.empty()) return Refusal{F::NoAccounts, ""};
  for (const auto& a : source.accounts) {
    std::string id = Trimmed(a.AccountNumber());
    if (!plan.accountIds.insert(id).second) return Refusal{F::DuplicateAccount, id};
  }
  for (const auto* list : {&source.customers, &source.suppliers}) {
    for (const auto& p : *list) {
      std::string id = PartnerId(p);
      if (!plan.partnerIds.insert(id).second) return Refusal{F::DuplicatePartner, id};
    }
  }
  return std::nullopt;
}

// The start balances: the balance-sheet rows of the older year's snapshot.
std::optional<Refusal> CheckOpenings(Plan& plan) {
  if (!plan.range.opening) return std::nullopt;
  for (int i = 1; i <= records::FreezeRec::kAccountRows; ++i) {
    records::FreezeAccountRow row = plan.range.opening->Account(i);
    if (!IsBalanceRow(row)) continue;
    std::string account = Trimmed(row.AccountNumber());
    if (!plan.accountIds.count(account)) return Refusal{F::UnlistedAccount, account};
    auto cents = CentsOrRefusal(row.ClosingOwnSide() - row.ClosingOtherSide(), account);
    if (auto* refusal = std::get_if<Refusal>(&cents)) return *refusal;
    std::string type = Trimmed(row.AccountType());
    plan.openings.push_back({account, {type == "D" || type == "T", std::get<std::int64_t>(cents)}});
  }
  return std::nullopt;
}

// The journal of `v` in the plan, appended when it is new; nullopt when
// that would make more than the file may hold.
std::optional<std::size_t> JournalIndex(Plan& plan, const JV& v, std::size_t last) {
  auto& journals = plan.journals;
  const std::string_view name = FieldView(v, JV::kJournalName);
  if (last < journals.size() && journals[last].name == name) return last;
  const auto j = static_cast<std::size_t>(
      std::find_if(journals.begin(), journals.end(), [&](const Journal& k) { return k.name == name; }) -
      journals.begin());
  if (j < journals.size()) return j;
  if (static_cast<int>(journals.size()) == kMaxJournals) return std::nullopt;
  journals.push_back({std::string(name), JournalType(v), 0, 0, {}, {}});
  return j;
}

// The first pass over the lines of the range, in file order: each line's
// date, account and amount checked, its side and its journal kept; the
// journals in the order they first appear, with their line and transaction
// counts.
std::optional<Refusal> CheckLines(const VoucherBlocks& vouchers, Plan& plan) {
  plan.journals.reserve(kMaxJournals);
  std::optional<Refusal> refusal;
  std::size_t lastJournal = 0;
  vouchers([&](const JV* block, std::size_t count) {
    for (std::size_t i = 0; i < count && !refusal; ++i) {
      const JV& v = block[i];
      if (!InRange(plan.range, v)) continue;
      const std::string_view date = FieldView(v, JV::kVoucherDate), number = FieldView(v, JV::kBookNumber);
      if (!IsValidDate(date)) {
        refusal = Refusal{F::InvalidVoucherDate, Trimmed(number), std::string(date)};
        return;
      }
      const std::string_view account = TrimView(FieldView(v, JV::kAccountNumber));
      if (!plan.accountIds.count(account)) {
        refusal = Refusal{F::UnlistedAccount, std::string(account)};
        return;
      }
      const double net = v.DebitAmount() - v.CreditAmount();
      auto cents = CentsOrRefusal(net > 0 ? net : -net, account);
      if (auto* r = std::get_if<Refusal>(&cents)) {
        refusal = *r;
        return;
      }
      const std::optional<std::size_t> j = JournalIndex(plan, v, lastJournal);
      if (!j) {
        refusal = Refusal{F::TooManyJournals, std::string(FieldView(v, JV::kJournalName))};
        return;
      }
      lastJournal = *j;
      Journal& journal = plan.journals[*j];
      if (journal.lines == 0 || date != journal.date || number != journal.number) {
        ++journal.transactions;
        journal.date = date;
        journal.number = number;
      }
      ++journal.lines;
      plan.sides.push_back({net > 0, std::get<std::int64_t>(cents)});
      plan.journalOf.push_back(static_cast<std::uint8_t>(*j));
    }
  });
  return refusal;
}

// The entry count and the totals, adding the amounts in the order they are
// written: the start balances, then journal by journal.
std::optional<Refusal> AddTotals(const VoucherBlocks& vouchers, Plan& plan) {
  plan.entries = static_cast<std::int64_t>(plan.openings.size());
  auto add = [&](const Side& side) -> bool {
    std::int64_t& total = side.debit ? plan.totalDebit : plan.totalCredit;
    if (side.cents > kMaxTotalCents - total) return false;
    total += side.cents;
    return true;
  };
  for (const Opening& o : plan.openings)
    if (!add(o.side)) return Refusal{F::TotalTooLarge, o.account};
  for (std::size_t j = 0; j < plan.journals.size(); ++j) {
    plan.entries += plan.journals[j].lines;
    for (std::size_t k = 0; k < plan.sides.size(); ++k) {
      if (plan.journalOf[k] != j || add(plan.sides[k])) continue;
      // The account of the range's k-th line, for the message.
      std::string account;
      std::size_t seen = 0;
      vouchers([&](const JV* block, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
          if (!InRange(plan.range, block[i])) continue;
          if (seen++ == k) account = TrimView(FieldView(block[i], JV::kAccountNumber));
        }
      });
      return Refusal{F::TotalTooLarge, account};
    }
  }
  return std::nullopt;
}

// The text of `t` to `out`, whose full pieces go on to `sink`; `t` is
// empty after.
void MoveOn(std::string& t, Out& out, AuditFileSink& sink) {
  out.Append(t);
  t.clear();
  out.HandFullPiecesTo(sink);
}

void PutPartner(std::string& t, const records::PartnerRec& p) {
  PutOpen(t, 2, "customerSupplier");
  PutText(t, 3, "custSupID", PartnerId(p));
  PutText(t, 3, "type", Trimmed(p.RelationshipType()));
  if (!IsBlank(p.TaxAccountNumber())) {
    PutText(t, 3, "taxRegistrationNr", p.TaxAccountNumber());
    if (IsValidDate(p.TaxVerificationDate()))
      PutElement(t, 3, "taxVerificationDate", XmlDate(p.TaxVerificationDate()));
  }
  PutElement(t, 3, "companyName", IsBlank(p.Name()) ? std::string(" niet beschikbaar") : XmlText(p.Name()));
  if (!IsBlank(p.Contact1Name())) PutText(t, 3, "contact", p.Contact1Name());
  PutOpen(t, 3, "streetAddress");
  PutElement(t, 4, "address", OrUnavailable(p.Address()));
  if (!IsBlank(p.Property())) PutText(t, 4, "property", p.Property());
  PutElement(t, 4, "city", OrUnavailable(p.Town()));
  PutElement(t, 4, "postalCode", IsBlank(p.ZipCode()) ? std::string("n.b.") : XmlText(p.ZipCode()));
  if (!p.Region().empty()) PutText(t, 4, "region", p.Region());
  PutElement(t, 4, "country", OrUnavailable(p.Country()));
  PutClose(t, 3, "streetAddress");
  if (!IsBlank(p.CorrAddress())) {
    PutOpen(t, 3, "postalAddress");
    PutElement(t, 4, "address", OrUnavailable(p.CorrAddress()));
    PutElement(t, 4, "city", OrUnavailable(p.CorrTown()));
    PutElement(t, 4, "postalCode", IsBlank(p.CorrZipCode()) ? std::string("n.b.") : XmlText(p.CorrZipCode()));
    if (!p.CorrState().empty()) PutText(t, 4, "region", p.CorrState());
    PutElement(t, 4, "country", OrUnavailable(p.CorrCountry()));
    PutClose(t, 3, "postalAddress");
  }
  if (!p.Telephone().empty()) PutText(t, 3, "telephone", p.Telephone());
  if (!p.Fax().empty()) PutText(t, 3, "fax", p.Fax());
  if (!p.Email().empty()) PutText(t, 3, "eMail", p.Email());
  if (!p.Website().empty()) PutText(t, 3, "website", p.Website());
  PutClose(t, 2, "customerSupplier");
}

// The declaration, the header, the GL accounts and the relations.
void WriteMasters(const AuditFileSource& source, const AuditFileRequest& request, const Plan& plan, Out& out,
                  AuditFileSink& sink) {
  const records::AdminSettingsRec& s = source.settings;
  std::string t;
  t += "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>\r\n";
  PutOpen(t, 0, "auditfile");
  PutOpen(t, 1, "header");
  PutElement(t, 2, "auditfileVersion", "CLAIR2.00.00");
  PutText(t, 2, "companyID", request.administrationCode);
  PutText(t, 2, "taxRegistrationNr", s.TaxRegistrationId());
  PutText(t, 2, "companyName", s.CompanyName());
  PutText(t, 2, "companyAddress", s.Address());
  PutText(t, 2, "companyCity", s.Town());
  PutText(t, 2, "companyPostalCode", s.ZipCode());
  PutElement(t, 2, "fiscalYear", plan.choiceYear);
  PutElement(t, 2, "startDate", XmlDate(plan.range.start));
  PutElement(t, 2, "endDate", XmlDate(plan.range.end));
  PutText(t, 2, "currencyCode", s.CurrencyCode());
  PutElement(t, 2, "dateCreated", XmlDate(request.today));
  PutElement(t, 2, "productID", "Ombrelo Account Enterprise 2.0.6");
  PutElement(t, 2, "productVersion", "2.0.6");
  PutClose(t, 1, "header");

  PutOpen(t, 1, "generalLedger");
  PutElement(t, 2, "taxonomy", "geen");
  for (const auto& a : source.accounts) {
    PutOpen(t, 2, "ledgerAccount");
    PutText(t, 3, "accountID", Trimmed(a.AccountNumber()));
    PutText(t, 3, "accountDesc", a.Caption());
    PutText(t, 3, "accountType", a.AccountType());
    PutText(t, 3, "leadCode", a.CategoryName());
    PutClose(t, 2, "ledgerAccount");
    if (t.size() >= kStep) MoveOn(t, out, sink);
  }
  PutClose(t, 1, "generalLedger");

  if (!plan.partnerIds.empty()) {
    PutOpen(t, 1, "customersSuppliers");
    for (const auto* list : {&source.customers, &source.suppliers}) {
      for (const auto& p : *list) {
        PutPartner(t, p);
        if (t.size() >= kStep) MoveOn(t, out, sink);
      }
    }
    PutClose(t, 1, "customersSuppliers");
  }
  MoveOn(t, out, sink);
}

// One booking line, written through the raw cursor of `out`; `v` gives the
// optional texts (none for a start balance).
void WriteLine(Out& out, std::string_view currencyLine, std::int64_t recordId, std::string_view account,
               std::string_view partner, std::string_view description, const Side& side, const JV* v) {
  // The most bytes a booking line can take beyond 7 per byte of its texts
  // (the longest reference a byte becomes) and the currency line.
  constexpr std::size_t kLineFrame = 1024;
  std::string_view cost, product, project;
  if (v) {
    cost = TrimView(FieldView(*v, JV::kCostCentre));
    product = FieldView(*v, JV::kProductDescription);
    project = FieldView(*v, JV::kProjectDescription);
  }
  char* p = out.Room(kLineFrame + currencyLine.size() +
                     7 * (account.size() + partner.size() + description.size() + cost.size() + product.size() +
                          project.size()));
  p = Put(p, "    <line>\r\n     <recordID>");
  p = PutNumber(p, recordId);
  p = Put(p, "</recordID>\r\n");
  p = PutElement(p, "     <accountID>", account, "</accountID>\r\n");
  p = PutOptional(p, "     <custSupID>", partner, "</custSupID>\r\n");
  p = PutElement(p, "     <description>", description, "</description>\r\n");
  p = side.debit ? PutAmount(p, "     <debitAmount>", side.cents, "</debitAmount>\r\n")
                 : PutAmount(p, "     <creditAmount>", side.cents, "</creditAmount>\r\n");
  p = PutOptional(p, "     <costDesc>", cost, "</costDesc>\r\n");
  p = PutOptional(p, "     <productDesc>", product, "</productDesc>\r\n");
  p = PutOptional(p, "     <projectDesc>", project, "</projectDesc>\r\n");
  p = Put(p, "     <currency>\r\n");
  p = Put(p, currencyLine);
  p = side.debit ? PutAmount(p, "      <currencyDebitAmount>", side.cents, "</currencyDebitAmount>\r\n")
                 : PutAmount(p, "      <currencyCreditAmount>", side.cents, "</currencyCreditAmount>\r\n");
  p = Put(p, "     </currency>\r\n    </line>\r\n");
  out.Advance(p);
}

// The opening of `transactions` with its count and totals, and the
// start-balance journal when there are start balances.
void WriteStartBalances(const Plan& plan, std::string_view currencyLine, Out& out) {
  std::string t;
  PutOpen(t, 1, "transactions");
  PutElement(t, 2, "numberEntries", std::to_string(plan.entries));
  PutElement(t, 2, "totalDebit", CentsText(plan.totalDebit));
  PutElement(t, 2, "totalCredit", CentsText(plan.totalCredit));
  if (!plan.openings.empty()) {
    PutOpen(t, 2, "journal");
    PutElement(t, 3, "journalID", "0");
    PutElement(t, 3, "description", "Start Balance");
    PutElement(t, 3, "type", "Others");
    PutOpen(t, 3, "transaction");
    PutElement(t, 4, "transactionID", "start balance");
    PutElement(t, 4, "period", "00");
    PutElement(t, 4, "transactionDate", XmlDate(plan.range.start));
    out.Append(t);
    t.clear();
    std::int64_t recordId = 0;
    for (const Opening& o : plan.openings)
      WriteLine(out, currencyLine, ++recordId, o.account, {}, "start balance", o.side, nullptr);
    PutClose(t, 3, "transaction");
    PutClose(t, 2, "journal");
  }
  out.Append(t);
}

// One journal's text while the lines are written: its own text (the first
// journal writes straight on), the numbers its next record and transaction
// take, and its open transaction.
struct JournalText {
  Out own;
  std::int64_t nextRecord = 0;
  std::int64_t nextTransaction = 0;
  std::string date;
  std::string number;
  bool open = false;
};

// Closes the open transaction of `jt` when `v` starts a new one, and opens
// that.
void StartTransaction(JournalText& jt, Out& out, const Plan& plan, const JV& v) {
  constexpr std::size_t kFrame = 1024;
  const std::string_view date = FieldView(v, JV::kVoucherDate), number = FieldView(v, JV::kBookNumber);
  if (jt.open && date == jt.date && number == jt.number) return;
  std::string_view shown = number;
  while (!shown.empty() && shown.back() == ' ') shown.remove_suffix(1);
  std::string description(date);
  description += ' ';
  description.append(shown);
  if (description.size() > 50) description.resize(50);
  const std::string_view by = TrimView(FieldView(v, JV::kChangedBy));
  char* p = out.Room(kFrame + 7 * (description.size() + by.size()));
  if (jt.open) p = Put(p, "   </transaction>\r\n");
  jt.open = true;
  jt.date = date;
  jt.number = number;
  p = Put(p, "   <transaction>\r\n    <transactionID>");
  p = PutNumber(p, jt.nextTransaction++);
  p = Put(p, "</transactionID>\r\n    <description>");
  p = PutXml(p, description);
  p = Put(p, "</description>\r\n    <period>");
  p = Put(p, PeriodOf(plan.range, plan.periodStarts, date));
  p = Put(p, "</period>\r\n    <transactionDate>");
  p = PutDate(p, date);
  p = Put(p, "</transactionDate>\r\n");
  p = PutOptional(p, "    <sourceID>", by, "</sourceID>\r\n");
  out.Advance(p);
}

// The journals, from the second pass over the lines in file order, each
// line to its journal's text; the later journals wait until the journals
// before them are complete. Records and transactions are numbered in the
// order they stand in the file, journal by journal, which the first pass's
// counts give. Ends the file.
void WriteJournals(const Plan& plan, const VoucherBlocks& vouchers, std::string_view currencyLine, Out& main,
                   AuditFileSink& sink) {
  std::vector<JournalText> texts(plan.journals.size());
  std::int64_t records = static_cast<std::int64_t>(plan.openings.size()), transactions = 0;
  for (std::size_t j = 0; j < plan.journals.size(); ++j) {
    texts[j].nextRecord = records + 1;
    texts[j].nextTransaction = transactions + 1;
    records += plan.journals[j].lines;
    transactions += plan.journals[j].transactions;
    std::string t;
    PutOpen(t, 2, "journal");
    PutElement(t, 3, "journalID", std::to_string(j + 1));
    PutText(t, 3, "description", plan.journals[j].name);
    PutElement(t, 3, "type", plan.journals[j].type);
    (j == 0 ? main : texts[j].own).Append(t);
  }
  std::size_t k = 0;
  char partnerText[32];
  vouchers([&](const JV* block, std::size_t count) {
    for (std::size_t i = 0; i < count && k < plan.sides.size(); ++i) {
      const JV& v = block[i];
      if (!InRange(plan.range, v)) continue;
      const std::size_t j = plan.journalOf[k];
      JournalText& jt = texts[j];
      Out& out = j == 0 ? main : jt.own;
      StartTransaction(jt, out, plan, v);
      const std::optional<records::DocumentKind> kind = records::DocumentKindOf(FieldView(v, JV::kPartnerType));
      const std::int32_t number32 = v.PartnerNumber();
      std::string_view partner;
      if (kind && records::HasPartner(*kind) && number32 != 0 && number32 != -1) {
        std::memcpy(partnerText, records::CodeOf(*kind).data(), 3);
        const char* end = PutNumber(partnerText + 3, number32);
        partner = std::string_view(partnerText, static_cast<std::size_t>(end - partnerText));
        if (!plan.partnerIds.count(partner)) partner = {};
      }
      WriteLine(out, currencyLine, jt.nextRecord++, TrimView(FieldView(v, JV::kAccountNumber)), partner,
                TrimView(FieldView(v, JV::kLineText)), plan.sides[k], &v);
      ++k;
      if (j == 0) main.HandFullPiecesTo(sink);
    }
  });
  for (std::size_t j = 0; j < plan.journals.size(); ++j) {
    Out& out = j == 0 ? main : texts[j].own;
    if (texts[j].open) out.Append("   </transaction>\r\n");
    out.Append("  </journal>\r\n");
    if (j > 0) {
      main.HandTo(sink);
      out.HandTo(sink);
    }
  }
}

// Checks everything, then writes the whole file: the sink gets nothing when
// a check fails, and the whole tree otherwise (also without start balances
// or lines).
std::optional<AuditFileRefusal> WriteWith(const AuditFileSource& source, const VoucherBlocks& vouchers,
                                          const AuditFileRequest& request, AuditFileSink& sink) {
  Plan plan;
  if (auto refusal = CheckMasters(source, request, plan)) return refusal;
  if (auto refusal = CheckOpenings(plan)) return refusal;
  if (auto refusal = CheckLines(vouchers, plan)) return refusal;
  if (auto refusal = AddTotals(vouchers, plan)) return refusal;

  // Every line of the text goes through `main`, in order; its full pieces
  // go on to the sink as it grows.
  Out main;
  WriteMasters(source, request, plan, main, sink);
  std::string currencyLine;
  PutText(currencyLine, 6, "currencyCode", source.settings.CurrencyCode());
  WriteStartBalances(plan, currencyLine, main);
  WriteJournals(plan, vouchers, currencyLine, main, sink);
  main.Append(" </transactions>\r\n</auditfile>\r\n");
  main.HandTo(sink);
  return std::nullopt;
}

}  // namespace

void AuditFileText::Write(std::string_view lines) { pieces.emplace_back(lines); }

void AuditFileText::Take(std::string piece) { pieces.push_back(std::move(piece)); }

std::size_t AuditFileText::Size() const {
  std::size_t size = 0;
  for (const std::string& piece : pieces) size += piece.size();
  return size;
}

std::string AuditFileText::Text() const {
  std::string text;
  text.reserve(Size());
  for (const std::string& piece : pieces) text += piece;
  return text;
}

void AuditFileLines::Write(std::string_view piece) {
  for (std::size_t end; (end = piece.find("\r\n")) != std::string_view::npos; piece.remove_prefix(end + 2))
    lines.emplace_back(piece.substr(0, end));
}

std::optional<AuditFileRefusal> WriteAuditFile(const AuditFileSource& source, const AuditFileRequest& request,
                                               AuditFileSink& sink) {
  return WriteWith(
      source,
      [&source](const auto& add) {
        if (!source.vouchers.empty()) add(source.vouchers.data(), source.vouchers.size());
      },
      request, sink);
}

std::variant<std::vector<std::string>, AuditFileRefusal> BuildAuditFile(const AuditFileSource& source,
                                                                          const AuditFileRequest& request) {
  AuditFileLines lines;
  if (auto refusal = WriteAuditFile(source, request, lines)) return *refusal;
  return std::move(lines.lines);
}

namespace {

// Every file but the voucher file, read whole.
AuditFileSource ReadSmallFiles() {
  AuditFileSource source;
  if (store::RecordCount(store::FileCode::ADS) > 0) store::ReadRecord(store::FileCode::ADS, 0, source.settings);
  source.accounts = store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit);
  source.customers = store::ReadAll<records::PartnerRec>(store::FileCode::CUS);
  source.suppliers = store::ReadAll<records::PartnerRec>(store::FileCode::SUP);
  source.freezes = store::ReadAll<records::FreezeRec>(store::FileCode::FRZ, store::kSmallFileLimit);
  return source;
}

}  // namespace

std::variant<AuditFileSource, store::FileSetFailure> ReadAuditFileSource() {
  store::ScopedFileSet set(kAuditFileSet);
  if (!set.Ok()) return set.Failure();
  AuditFileSource source = ReadSmallFiles();
  source.vouchers = store::ReadAll<records::JournalVoucherRec>(store::FileCode::JVO);
  set.Close();
  return source;
}

AuditFileRun WriteAuditFileFromStore(const AuditFileRequest& request, AuditFileSink& sink) {
  AuditFileRun run;
  store::ScopedFileSet set(kAuditFileSet);
  if (!set.Ok()) {
    run.openFailure = set.Failure();
    return run;
  }
  // A large year takes a while: the window repaints after each block.
  platform::LongWork work;
  const AuditFileSource source = ReadSmallFiles();
  run.refusal = WriteWith(
      source,
      [](const auto& add) {
        store::ForEachRecordBlock<records::JournalVoucherRec>(
            store::FileCode::JVO, [&add](const records::JournalVoucherRec* records, std::size_t count) {
              platform::LongWorkTick();
              add(records, count);
            });
      },
      request, sink);
  set.Close();
  return run;
}

}  // namespace books::exchange
