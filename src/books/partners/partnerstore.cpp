// The partner store (see partnerstore.h).
#include "books/partners/partnerstore.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "store/recordscan.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace books::partners {

namespace {

using records::PartnerRec;
using store::FileCode;

constexpr std::array<PartnerKindInfo, 2> kKinds{{
    {"CUS", "customer.vlk", FileCode::CUS, records::DocumentKind::Customer},
    {"SUP", "supplier.vlk", FileCode::SUP, records::DocumentKind::Vendor},
}};

using store::FieldView;

// The lower case of every byte of the code page, as a table: a search folds
// two fields of every record it reads.
const std::array<char, 256>& FoldTable() {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> t{};
    for (int b = 0; b < 256; ++b) t[static_cast<std::size_t>(b)] = cp1252::ToLower(static_cast<char>(b));
    return t;
  }();
  return table;
}

constexpr char kSharpS = '\xDF';  // folds to "ss"

void FoldInto(std::string_view text, std::string& out) {
  const auto& table = FoldTable();
  out.resize(text.size());
  std::size_t n = 0;
  for (const char c : text) {
    if (c == kSharpS) {
      out.resize(out.size() + 1);
      out[n++] = 's';
      out[n++] = 's';
    } else {
      out[n++] = table[static_cast<unsigned char>(c)];
    }
  }
}

// The criteria prepared once for a scan; keeps its folding buffer.
class Matcher {
 public:
  explicit Matcher(const PartnerCriteria& c) : c_(c), all_(c.Empty()) { FoldInto(c.text, text_); }

  bool operator()(const PartnerRec& rec) {
    if (all_) return true;
    if (!c_.ourNumber.empty()) {
      std::array<char, 16> digits{};
      const auto r = std::to_chars(digits.data(), digits.data() + digits.size(), rec.OurNumber());
      if (std::string_view(digits.data(), static_cast<std::size_t>(r.ptr - digits.data())) == c_.ourNumber)
        return true;
    }
    if (!c_.theirNumber.empty() && FieldView(rec, PartnerRec::kTheirNumber) == c_.theirNumber) return true;
    const std::string_view bank = FieldView(rec, PartnerRec::kBankAccountNumber);
    if (!c_.bankAccount.empty() && bank == c_.bankAccount) return true;
    if (!text_.empty()) return Holds(FieldView(rec, PartnerRec::kName)) || Holds(bank);
    return false;
  }

 private:
  // Whether the folded `field` holds the folded text. A field can only
  // grow by folding ("ß"), so a field shorter than half the text cannot.
  bool Holds(std::string_view field) {
    if (field.size() * 2 < text_.size()) return false;
    FoldInto(field, field_);
    return field_.find(text_) != std::string::npos;
  }

  const PartnerCriteria& c_;
  bool all_;
  std::string text_;
  std::string field_;
};

PartnerRow RowOf(const PartnerRec& rec, int index) {
  PartnerRow row;
  row.index = index;
  row.number = rec.OurNumber();
  row.name = rec.Name();
  row.address = rec.Address();
  row.town = rec.Town();
  row.theirNumber = rec.TheirNumber();
  row.bankAccount = rec.BankAccountNumber();
  return row;
}

PartnerResult Outcome(PartnerOutcome o) {
  PartnerResult r;
  r.outcome = o;
  return r;
}

PartnerResult Failed(const store::ScopedFileSet& set) {
  PartnerResult r;
  r.outcome = PartnerOutcome::FileSetFailed;
  r.failure = set.Failure();
  return r;
}

PartnerResult Found(int index, const PartnerRec& rec) {
  PartnerResult r;
  r.value = FoundPartner{index, rec};
  return r;
}

std::string Now() { return text::Cut(platform::DateTimeToText(platform::Now()), 20); }

void Stamp(PartnerKind kind, PartnerRec& rec) {
  rec.SetRelationshipType(records::CodeOf(KindInfo(kind).relationshipType));
  rec.SetChangedBy(text::Cut(text::SystemSettings.CurrentUser, 10));
  rec.SetChangedAt(Now());
}

// The first record carrying `number`; -1 when none.
int ScanFor(FileCode c, int count, std::int32_t number) {
  store::ForwardScan<PartnerRec> scan(c, 0, count);
  while (const PartnerRec* rec = scan.Next())
    if (rec->OurNumber() == number) return scan.Index();
  return -1;
}

// The highest number in the file (count > 0).
std::int32_t HighestNumber(FileCode c, int count) {
  std::int32_t highest = std::numeric_limits<std::int32_t>::min();
  store::ForwardScan<PartnerRec> scan(c, 0, count);
  while (const PartnerRec* rec = scan.Next()) highest = std::max(highest, rec->OurNumber());
  return highest;
}

// The next number in an open, non-empty file.
std::optional<std::int32_t> NextInOpenFile(FileCode c, int count) {
  PartnerRec first;
  store::ReadRecord(c, 0, first);
  return NextNumberFor(first.OurNumber(), count, HighestNumber(c, count));
}

}  // namespace

const PartnerKindInfo& KindInfo(PartnerKind kind) { return kKinds[kind == PartnerKind::Customer ? 0 : 1]; }

std::optional<PartnerKind> KindFromItemIndex(int index) {
  if (index == 0) return PartnerKind::Customer;
  if (index == 1) return PartnerKind::Supplier;
  return std::nullopt;
}

PartnerKind KindOfRelationshipType(std::string_view type) {
  return records::DocumentKindOf(type) == records::DocumentKind::Customer ? PartnerKind::Customer
                                                                          : PartnerKind::Supplier;
}

int LanguageOffsetOf(PartnerOutcome outcome) {
  switch (outcome) {
    case PartnerOutcome::Required: return 9770;
    case PartnerOutcome::FileEmpty: return 9831;
    case PartnerOutcome::NotFound: return 9892;
    default: return 0;
  }
}

// ---- Lookup by number

PartnerResult FindPartnerByNumber(PartnerKind kind, std::int32_t number) {
  const FileCode c = KindInfo(kind).file;
  store::ScopedFileSet set(KindInfo(kind).code);
  if (!set.Ok()) return Failed(set);
  const int count = store::RecordCount(c);
  if (count == 0) return Outcome(PartnerOutcome::FileEmpty);
  PartnerRec rec;
  store::ReadRecord(c, 0, rec);
  const std::int64_t index = static_cast<std::int64_t>(number) - rec.OurNumber();
  if (index >= 0 && index < count) {
    if (index != 0) store::ReadRecord(c, static_cast<int>(index), rec);
    if (rec.OurNumber() == number) {
      set.Close();
      return Found(static_cast<int>(index), rec);
    }
  }
  // Not where the numbering puts it: the file was imported out of order or
  // record 0 is damaged.
  const int at = ScanFor(c, count, number);
  if (at < 0) return Outcome(PartnerOutcome::NotFound);
  store::ReadRecord(c, at, rec);
  set.Close();
  return Found(at, rec);
}

// ---- Search

std::string FoldCase(std::string_view cp1252) {
  std::string out;
  FoldInto(cp1252, out);
  return out;
}

bool PartnerMatches(const PartnerRec& rec, const PartnerCriteria& criteria) { return Matcher(criteria)(rec); }

PartnerPage SearchPartners(PartnerKind kind, const PartnerCriteria& criteria, int page) {
  const FileCode c = KindInfo(kind).file;
  store::ScopedFileSet set(KindInfo(kind).code);
  if (!set.Ok()) return PartnerPage::Failed(set.Failure());
  PartnerPage answer;
  PartnerRows& result = answer.value.emplace();
  result.page = std::max(page, 0);
  result.fileCount = store::RecordCount(c);
  const std::int64_t skip = static_cast<std::int64_t>(result.page) * kPartnerPageRows;
  std::int64_t matches = 0;
  Matcher matches_criteria(criteria);
  store::ForwardScan<PartnerRec> scan(c, 0, result.fileCount);
  while (const PartnerRec* rec = scan.Next()) {
    if (!matches_criteria(*rec)) continue;
    if (matches++ < skip) continue;
    if (result.rows.size() == static_cast<std::size_t>(kPartnerPageRows)) {
      result.more = true;
      break;
    }
    result.rows.push_back(RowOf(*rec, scan.Index()));
  }
  set.Close();
  if (result.rows.empty())
    answer.outcome = result.fileCount == 0 ? PartnerOutcome::FileEmpty : PartnerOutcome::NotFound;
  return answer;
}

// ---- Numbering

std::optional<std::int32_t> ParseStartValue(std::string_view text) {
  const std::string t = text::TrimText(text);
  if (t.empty()) return std::nullopt;
  std::int32_t value = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), value);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size() || value < 1) return std::nullopt;
  return value;
}

std::optional<std::int32_t> NextNumberFor(std::int32_t base, int count, std::int32_t highest) {
  const std::int64_t next =
      std::max({static_cast<std::int64_t>(base) + count, static_cast<std::int64_t>(highest) + 1, std::int64_t{1}});
  if (next > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(next);
}

PartnerNumbering NextPartnerNumber(PartnerKind kind) {
  const FileCode c = KindInfo(kind).file;
  store::ScopedFileSet set(KindInfo(kind).code);
  if (!set.Ok()) return PartnerNumbering::Failed(set.Failure());
  PartnerNumbering answer;
  PartnerNumbers& result = answer.value.emplace();
  result.count = store::RecordCount(c);
  if (result.count > 0) {
    result.next = NextInOpenFile(c, result.count);
    if (!result.next) answer.outcome = PartnerOutcome::NoNumberLeft;
  }
  set.Close();
  return answer;
}

// ---- Saves

PartnerOutcome CheckPartner(const PartnerRec& rec) {
  if (text::TrimText(rec.PartnerGroup()).empty() || text::TrimText(rec.SalesCostGroup1()).empty())
    return PartnerOutcome::Required;
  return PartnerOutcome::Done;
}

PartnerResult SaveNewPartner(PartnerKind kind, PartnerRec rec, std::optional<std::int32_t> startValue) {
  if (const PartnerOutcome o = CheckPartner(rec); o != PartnerOutcome::Done) return Outcome(o);
  if (startValue && *startValue < 1) return Outcome(PartnerOutcome::BadStartValue);
  rec.SetCompanyName("");
  Stamp(kind, rec);

  const FileCode c = KindInfo(kind).file;
  store::ScopedFileSet set(KindInfo(kind).code);
  if (!set.Ok()) return Failed(set);
  const int count = store::RecordCount(c);
  std::int32_t number = 0;
  if (count == 0) {
    if (!startValue) return Outcome(PartnerOutcome::StartValueNeeded);
    number = *startValue;
  } else {
    // Another copy may have added the first partner since this one saw an
    // empty file: its start value would clash with that partner's number.
    if (startValue) return Outcome(PartnerOutcome::StartValueTooLate);
    const auto next = NextInOpenFile(c, count);
    if (!next) return Outcome(PartnerOutcome::NoNumberLeft);
    number = *next;
  }
  rec.SetOurNumber(number);
  // The new number is above every other, so the partner's sorted place is
  // the end of the file.
  store::InsertRecords(c, count, std::vector<PartnerRec>{rec});
  set.Close();
  return Found(count, rec);
}

PartnerResult SavePartnerChange(PartnerKind kind, const FoundPartner& loaded, PartnerRec rec) {
  if (const PartnerOutcome o = CheckPartner(rec); o != PartnerOutcome::Done) return Outcome(o);
  const std::int32_t number = loaded.record.OurNumber();
  rec.SetOurNumber(number);
  rec.SetCompanyName(loaded.record.CompanyName());
  Stamp(kind, rec);

  const FileCode c = KindInfo(kind).file;
  store::ScopedFileSet set(KindInfo(kind).code);
  if (!set.Ok()) return Failed(set);
  const int count = store::RecordCount(c);
  int index = -1;
  PartnerRec now;
  if (loaded.index >= 0 && loaded.index < count) {
    store::ReadRecord(c, loaded.index, now);
    if (now.OurNumber() == number) {
      if (now.Bytes != loaded.record.Bytes) return Outcome(PartnerOutcome::ChangedInAnotherCopy);
      index = loaded.index;
    }
  }
  if (index < 0) {
    // The partner no longer lies where it was loaded (another copy imported
    // the file in another order): look for its number.
    const int at = ScanFor(c, count, number);
    if (at < 0) return Outcome(PartnerOutcome::NotFound);
    store::ReadRecord(c, at, now);
    if (now.Bytes != loaded.record.Bytes) return Outcome(PartnerOutcome::ChangedInAnotherCopy);
    index = at;
  }
  store::WriteRecord(c, index, rec);
  set.Close();
  return Found(index, rec);
}

}  // namespace books::partners
