// The voucher store (see voucherstore.h).
#include "books/journal/voucherstore.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "books/journal/documentstore.h"
#include "books/journal/entryrules.h"
#include "books/journal/invoicestore.h"
#include "books/journal/paymentstore.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/oserror.h"
#include "records/adminsettingsrec.h"
#include "records/invoicerec.h"
#include "records/paymentrec.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "text/amount.h"

namespace books::journal {

namespace {

using records::InvoiceRec;
using records::JournalVoucherRec;
using records::PaymentRec;
using store::FileCode;

template <class R>
std::vector<R> ReadRange(FileCode c, int first, int count) {
  std::vector<R> out(static_cast<std::size_t>(count));
  if (count > 0)
    store::fileset_detail::ReadRecords(c, static_cast<std::uint64_t>(first), static_cast<std::size_t>(count),
                                       out.data()->data());
  return out;
}

// The record's key (date + number) against `key`, as bytes: <0, 0, >0.
int CompareKey(const JournalVoucherRec& rec, std::string_view key) {
  const std::string_view date = FieldView(rec, JournalVoucherRec::kVoucherDate);
  if (key.size() < date.size()) {
    const int c = date.substr(0, key.size()).compare(key);
    return c != 0 ? c : 1;
  }
  if (const int c = date.compare(key.substr(0, date.size())); c != 0) return c;
  return FieldView(rec, JournalVoucherRec::kBookNumber).compare(key.substr(date.size()));
}

bool IsSystemNumber(std::string_view number) {
  const std::string n = text::TrimTrailingBlanks(number);
  return n == kProfitVoucherNumber || n == kReservedVoucherNumber;
}

// A loaded voucher from its records in file order.
LoadedVoucher Loaded(std::vector<JournalVoucherRec> recs, int first) {
  LoadedVoucher v;
  v.records = std::move(recs);
  v.first = first;
  if (!v.records.empty()) {
    v.invalidDate = !text::IsValidYmd(v.records.front().VoucherDate());
    v.systemNumber = IsSystemNumber(v.records.front().BookNumber());
  }
  v.overEightLines = v.records.size() > static_cast<std::size_t>(kVoucherLines);
  return v;
}

// A refusal or a failed set: the answer of a read and of a write alike.
struct Refusal {
  StoreOutcome outcome;
  store::FileSetFailure failure;
  template <class T>
  operator store::Result<StoreOutcome, T>() const {
    return {outcome, failure, std::nullopt};
  }
};

Refusal Outcome(StoreOutcome o) { return {o, {}}; }

Refusal Failed(const store::ScopedFileSet& set) { return {StoreOutcome::FileSetFailed, set.Failure()}; }

StoreResult Found(LoadedVoucher v) { return {StoreOutcome::Done, {}, std::move(v)}; }

// Where a key lies in the voucher file.
struct Place {
  int runFirst = -1;  // the first record of the key; -1 when it is absent
  int runCount = 0;
  int after = 0;      // the index after the last record whose key is <= K
};

Place Locate(const std::string& key, int count) {
  Place p;
  BackwardScan<JournalVoucherRec> scan(FileCode::JVO, count);
  p.after = 0;
  while (const JournalVoucherRec* rec = scan.Previous()) {
    const int c = CompareKey(*rec, key);
    if (c > 0) continue;
    if (p.runCount == 0) p.after = scan.Index() + 1;
    if (c < 0) break;
    p.runFirst = scan.Index();
    ++p.runCount;
  }
  return p;
}

// The run of records with the key of the record at `last`, ending there.
LoadedVoucher RunEndingAt(int last) {
  BackwardScan<JournalVoucherRec> scan(FileCode::JVO, last + 1);
  std::vector<JournalVoucherRec> recs;
  std::string key;
  int first = last;
  while (const JournalVoucherRec* rec = scan.Previous()) {
    if (recs.empty()) key = VoucherKeyOf(*rec);
    else if (CompareKey(*rec, key) != 0) break;
    recs.push_back(*rec);
    first = scan.Index();
  }
  std::reverse(recs.begin(), recs.end());
  return Loaded(std::move(recs), first);
}

// The run of records with the key of the record at `first`, starting there.
LoadedVoucher RunStartingAt(int first, int count) {
  ForwardScan<JournalVoucherRec> scan(FileCode::JVO, first, count);
  std::vector<JournalVoucherRec> recs;
  std::string key;
  while (const JournalVoucherRec* rec = scan.Next()) {
    if (recs.empty()) key = VoucherKeyOf(*rec);
    else if (CompareKey(*rec, key) != 0) break;
    recs.push_back(*rec);
  }
  return Loaded(std::move(recs), first);
}

bool InJournal(const JournalVoucherRec& rec, const std::optional<std::string>& journal) {
  return !journal || FieldView(rec, JournalVoucherRec::kJournalName) == *journal;
}

// Whether the file still holds `loaded` as it was read: the same records at
// the same place, and no further record of its key.
bool StillHolds(const LoadedVoucher& loaded, int count) {
  const std::string key = loaded.Key();
  const int n = loaded.Count();
  if (n == 0 || loaded.first < 0 || loaded.first + n > count) return false;
  const int from = std::max(0, loaded.first - 1);
  const int to = std::min(count, loaded.first + n + 1);
  const auto recs = ReadRange<JournalVoucherRec>(FileCode::JVO, from, to - from);
  for (int i = 0; i < n; ++i)
    if (!(recs[static_cast<std::size_t>(loaded.first - from + i)] == loaded.records[static_cast<std::size_t>(i)]))
      return false;
  if (loaded.first > 0 && CompareKey(recs.front(), key) == 0) return false;
  if (loaded.first + n < count && CompareKey(recs.back(), key) == 0) return false;
  return true;
}

// The invoice and payment records a save or delete changes, gathered before
// the first write and written after the voucher file.
class Marks {
 public:
  void AddPaid(const InvoiceKey& key, double delta) {
    if (InvoiceRec* rec = Invoice(key)) rec->SetPaidAmount(rec->PaidAmount() + delta);
  }
  void SetInvoiceCreated(const InvoiceKey& key, bool created) {
    if (InvoiceRec* rec = Invoice(key)) rec->SetVoucherCreated(created);
  }
  void SetPaymentCreated(const PaymentKey& key, bool created) {
    if (const auto i = LocatePayment(key)) {
      auto [it, fresh] = payments_.try_emplace(*i);
      if (fresh) store::ReadRecord(FileCode::PAY, *i, it->second);
      it->second.SetVoucherCreated(created);
    }
  }
  void Write() const {
    for (const auto& [i, rec] : invoices_) store::WriteRecord(FileCode::INV, i, rec);
    for (const auto& [i, rec] : payments_) store::WriteRecord(FileCode::PAY, i, rec);
  }

 private:
  // The invoice `key` names (LocateInvoice: the very bytes first), each
  // key located once and each record read once.
  InvoiceRec* Invoice(const InvoiceKey& key) {
    std::optional<int> i;
    for (const auto& [k, at] : located_)
      if (k == key) i = at;
    if (!i) {
      i = LocateInvoice(key);
      if (!i) return nullptr;
      located_.emplace_back(key, *i);
    }
    auto [it, fresh] = invoices_.try_emplace(*i);
    if (fresh) store::ReadRecord(FileCode::INV, *i, it->second);
    return &it->second;
  }
  std::vector<std::pair<InvoiceKey, int>> located_;
  std::map<int, InvoiceRec> invoices_;
  std::map<int, PaymentRec> payments_;
};

// The invoice a stored linked line pays: the same fields the save wrote.
std::optional<InvoiceKey> StoredLineInvoice(const JournalVoucherRec& rec) {
  if (!rec.InvoiceAttached()) return std::nullopt;
  const std::string number = rec.InvoiceNumber();
  if (number.empty()) return std::nullopt;
  const std::string text = rec.LineText();
  if (text.size() < 9 || text[8] != '/') return std::nullopt;
  return InvoiceKey{text.substr(0, 8), rec.PartnerType(), rec.PartnerNumber(), number};
}

// Takes the amounts of the linked lines of a stored voucher off their
// invoices (every line but the first, which carries the link).
void UndoPaid(Marks& marks, const std::vector<JournalVoucherRec>& recs) {
  for (std::size_t i = 1; i < recs.size(); ++i)
    if (const auto key = StoredLineInvoice(recs[i]))
      marks.AddPaid(*key, -(recs[i].DebitAmount() + recs[i].CreditAmount()));
}

std::string Padded(const std::string& text) { return text + std::string(30, ' '); }

std::string Now() { return text::Cut(platform::DateTimeToText(platform::Now()), 20); }

}  // namespace

int LanguageOffsetOf(StoreOutcome outcome) {
  switch (outcome) {
    case StoreOutcome::Duplicate: return 9648;
    case StoreOutcome::FileEmpty: return 9831;
    case StoreOutcome::NotFound: return 10471;
    case StoreOutcome::NoEarlier: return 10532;
    case StoreOutcome::NoLater: return 10593;
    default: return 0;
  }
}

int WrittenLineCount(const Voucher& v) {
  int n = 0;
  for (std::size_t i = 0; i < v.lines.size(); ++i) {
    const NettedAmounts net = NetLine(v.lines[i].debit, v.lines[i].credit);
    if (net.debit != 0 || net.credit != 0 || (v.mode == EntryMode::Profit && i < 2)) ++n;
  }
  return n;
}

StoreOutcome CheckVoucher(const Voucher& v) {
  if (v.header.number.size() > kVoucherNumberRoom) return StoreOutcome::NumberTooLong;
  if (v.mode != EntryMode::Profit && IsSystemNumber(text::TrimText(v.header.number))) return StoreOutcome::SystemNumber;
  if (!text::IsValidYmd(v.header.date)) return StoreOutcome::InvalidDate;
  if (v.lines.size() > static_cast<std::size_t>(kVoucherLines)) return StoreOutcome::TooManyLines;
  double debit = 0, credit = 0;
  for (const VoucherLine& line : v.lines) {
    const NettedAmounts net = NetLine(line.debit, line.credit);
    if ((net.debit != 0 || net.credit != 0) && text::TrimText(line.account).empty())
      return StoreOutcome::AccountMissing;
    debit += net.debit;
    credit += net.credit;
  }
  if (v.mode != EntryMode::Profit && WrittenLineCount(v) < 2) return StoreOutcome::TooFewLines;
  if (!text::SameAmount(credit, debit, text::kVoucherTolerance)) return StoreOutcome::Unbalanced;
  return StoreOutcome::Done;
}

std::vector<JournalVoucherRec> VoucherRecords(const Voucher& v, std::string_view user, std::string_view changedAt) {
  const bool profit = v.mode == EntryMode::Profit;
  const std::string kind = v.partner ? v.partner->kind : std::string();
  std::vector<JournalVoucherRec> recs;
  for (std::size_t i = 0; i < v.lines.size() && i < static_cast<std::size_t>(kVoucherLines); ++i) {
    const VoucherLine& line = v.lines[i];
    const NettedAmounts net = NetLine(line.debit, line.credit);
    if (net.debit == 0 && net.credit == 0 && !(profit && i < 2)) continue;
    JournalVoucherRec rec;
    rec.SetVoucherDate(v.header.date);
    rec.SetBookNumber(v.header.number);
    rec.SetJournalName(v.header.journal);
    rec.SetTransactionText(v.header.text);
    rec.SetDocumentId(v.header.reference);
    rec.SetChangedBy(text::Cut(user, 15));
    rec.SetChangedAt(changedAt);
    rec.SetLineText(Padded(line.text));
    rec.SetAccountNumber(Padded(line.account));
    rec.SetAccountCaption(Padded(line.caption));
    rec.SetCostCentre(Padded(line.costCentre));
    rec.SetProjectDescription("");
    rec.SetProductDescription("");
    rec.SetDebitAmount(net.debit);
    rec.SetCreditAmount(net.credit);
    rec.SetPartnerType(kind);
    const bool linked = line.readOnly && !profit;
    rec.SetInvoiceAttached(linked);
    if (recs.empty()) {
      // The first record written carries the voucher's partner and link.
      rec.SetPartnerNumber(v.partner ? v.partner->number : -1);
      const auto* invoice = std::get_if<InvoiceKey>(&v.link);
      rec.SetInvoiceNumber(linked && invoice ? text::Cut(invoice->number, 15) : std::string());
    } else if (linked) {
      rec.SetPartnerNumber(v.partner ? v.partner->number : 0);
      const auto invoice = LinePaysInvoice(line.text, v.partner);
      rec.SetInvoiceNumber(invoice ? invoice->number : std::string());
    } else {
      rec.SetPartnerNumber(0);
      rec.SetInvoiceNumber("");
    }
    recs.push_back(rec);
  }
  return recs;
}

std::string StoredLowestOpenDate() {
  if (store::FileSize(FileCode::ADS) == 0) return {};
  const store::CheckedSettings checked = store::ReadCheckedSettings();
  if (!checked.rec) throw platform::IoError(platform::kErrnoBase + EIO, checked.damage);
  return LowestOpenDate(*checked.rec, "");
}

namespace {

// Whether `date` lies before the lowest open date of the settings as ADS
// holds them now (ADS in the open set); an empty file closes nothing.
// A damaged settings file refuses the change: its dates would decide it.
bool BeforeOpenPeriod(const std::string& date) {
  const std::string lowest = StoredLowestOpenDate();
  return !lowest.empty() && date < lowest;
}

}  // namespace

StoreWriteResult SaveVoucher(const Voucher& v, const std::optional<LoadedVoucher>& loaded) {
  if (const StoreOutcome o = CheckVoucher(v); o != StoreOutcome::Done) return Outcome(o);
  const std::string key = VoucherKeyOf(v.header);
  if (v.mode == EntryMode::Change) {
    if (!loaded || loaded->Key() != key) return Outcome(StoreOutcome::NotLoaded);
    if (loaded->Locked()) return Outcome(StoreOutcome::Locked);
  }
  // A change keeps the loaded voucher's link, whatever the value says.
  Voucher saved = v;
  if (v.mode == EntryMode::Change) saved.link = LinkOf(*loaded);
  const auto recs = VoucherRecords(saved, text::SystemSettings.CurrentUser, Now());

  store::ScopedFileSet set("JVO;INV;PAY;ADS;");
  if (!set.Ok()) return Failed(set);
  if (v.mode != EntryMode::Profit && BeforeOpenPeriod(v.header.date))
    return Outcome(StoreOutcome::BeforeOpenPeriod);
  const int count = store::RecordCount(FileCode::JVO);
  Marks marks;
  int first = 0;
  if (v.mode == EntryMode::Change) {
    if (!StillHolds(*loaded, count)) return Outcome(StoreOutcome::ChangedInAnotherCopy);
    first = loaded->first;
    UndoPaid(marks, loaded->records);
  } else {
    const Place place = Locate(key, count);
    if (place.runFirst >= 0) return Outcome(StoreOutcome::Duplicate);
    first = place.after;
  }
  if (v.mode != EntryMode::Profit) {
    for (std::size_t i = 1; i < recs.size(); ++i)
      if (const auto invoice = StoredLineInvoice(recs[i]))
        marks.AddPaid(*invoice, recs[i].DebitAmount() + recs[i].CreditAmount());
    if (const auto* invoice = std::get_if<InvoiceKey>(&saved.link)) marks.SetInvoiceCreated(*invoice, true);
    if (const auto* payment = std::get_if<PaymentKey>(&saved.link)) marks.SetPaymentCreated(*payment, true);
  }

  // Every check has run: now the writes.
  const int n = static_cast<int>(recs.size());
  if (v.mode == EntryMode::Change)
    store::ReplaceRecords(FileCode::JVO, first, loaded->Count(), recs.data()->data(), n);
  else
    store::InsertRecords(FileCode::JVO, first, recs);
  marks.Write();
  set.Close();
  return {StoreOutcome::Done, {}, VoucherPlace{first, n}};
}

StoreWriteResult DeleteVoucher(const Voucher& v, const std::optional<LoadedVoucher>& loaded) {
  const std::string key = VoucherKeyOf(v.header);
  if (loaded) {
    if (loaded->Key() != key) return Outcome(StoreOutcome::NotLoaded);
    // A system voucher the caller loaded may go (the unfreeze); one with
    // lines never shown or a date that is no date may not.
    if (loaded->overEightLines || loaded->invalidDate) return Outcome(StoreOutcome::Locked);
  }
  store::ScopedFileSet set(loaded ? "JVO;INV;PAY;ADS" : "JVO;INV;PAY");
  if (!set.Ok()) return Failed(set);
  if (loaded && BeforeOpenPeriod(v.header.date)) return Outcome(StoreOutcome::BeforeOpenPeriod);
  const int count = store::RecordCount(FileCode::JVO);
  if (count == 0) return Outcome(loaded ? StoreOutcome::ChangedInAnotherCopy : StoreOutcome::FileEmpty);
  int first = 0, n = 0;
  std::vector<JournalVoucherRec> recs;
  if (loaded) {
    if (!StillHolds(*loaded, count)) return Outcome(StoreOutcome::ChangedInAnotherCopy);
    first = loaded->first;
    n = loaded->Count();
    recs = loaded->records;
  } else {
    const Place place = Locate(key, count);
    if (place.runFirst < 0) return Outcome(StoreOutcome::NotFound);
    first = place.runFirst;
    n = place.runCount;
    recs = ReadRange<JournalVoucherRec>(FileCode::JVO, first, n);
  }
  Marks marks;
  UndoPaid(marks, recs);
  // The link of the records deleted, not the one the caller passed.
  const VoucherLink link = LinkOf(LoadedVoucher{recs, first});
  if (const auto* invoice = std::get_if<InvoiceKey>(&link)) marks.SetInvoiceCreated(*invoice, false);
  if (const auto* payment = std::get_if<PaymentKey>(&link)) marks.SetPaymentCreated(*payment, false);

  store::DeleteRecords(FileCode::JVO, first, n);
  marks.Write();
  set.Close();
  return {StoreOutcome::Done, {}, VoucherPlace{first, n}};
}

StoreResult ReadPreviousVoucher(const std::string& date, const std::string& number,
                                const std::optional<std::string>& journal) {
  const std::string key = text::Cut(date, 8) + text::Cut(number, kVoucherNumberRoom);
  store::ScopedFileSet set("JVO");
  if (!set.Ok()) return Failed(set);
  const int count = store::RecordCount(FileCode::JVO);
  if (count == 0) return Outcome(StoreOutcome::FileEmpty);
  BackwardScan<JournalVoucherRec> scan(FileCode::JVO, count);
  while (const JournalVoucherRec* rec = scan.Previous())
    if (CompareKey(*rec, key) < 0 && InJournal(*rec, journal)) return Found(RunEndingAt(scan.Index()));
  return Outcome(StoreOutcome::NoEarlier);
}

namespace {
// The first voucher whose key is above `key` (or equal, when `inclusive`)
// and of `journal` when given.
StoreResult NextFrom(const std::string& key, bool inclusive, const std::optional<std::string>& journal) {
  store::ScopedFileSet set("JVO");
  if (!set.Ok()) return Failed(set);
  const int count = store::RecordCount(FileCode::JVO);
  if (count == 0) return Outcome(StoreOutcome::FileEmpty);
  // Back from the end to the last record below (or not above) the key.
  int from = 0;
  BackwardScan<JournalVoucherRec> back(FileCode::JVO, count);
  while (const JournalVoucherRec* rec = back.Previous()) {
    const int c = CompareKey(*rec, key);
    if (inclusive ? c < 0 : c <= 0) {
      from = back.Index() + 1;
      break;
    }
  }
  ForwardScan<JournalVoucherRec> ahead(FileCode::JVO, from, count);
  while (const JournalVoucherRec* rec = ahead.Next())
    if (InJournal(*rec, journal)) return Found(RunStartingAt(ahead.Index(), count));
  return Outcome(StoreOutcome::NoLater);
}
}  // namespace

StoreResult ReadNextVoucher(const std::string& date, const std::string& number,
                            const std::optional<std::string>& journal) {
  return NextFrom(text::Cut(date, 8) + text::Cut(number, kVoucherNumberRoom), false, journal);
}

StoreResult FindNearestVoucher(const std::string& date, const std::string& number,
                               const std::optional<std::string>& journal) {
  return NextFrom(text::Cut(date, 8) + text::Cut(number, kVoucherNumberRoom), true, journal);
}

StoreResult ReadLastVoucher(const std::optional<std::string>& journal) {
  store::ScopedFileSet set("JVO");
  if (!set.Ok()) return Failed(set);
  const int count = store::RecordCount(FileCode::JVO);
  BackwardScan<JournalVoucherRec> scan(FileCode::JVO, count);
  while (const JournalVoucherRec* rec = scan.Previous())
    if (InJournal(*rec, journal)) return Found(RunEndingAt(scan.Index()));
  return Outcome(StoreOutcome::FileEmpty);
}

StoreResult FindVoucher(const std::string& date, const std::string& number) {
  const std::string key = text::Cut(date, 8) + text::Cut(number, kVoucherNumberRoom);
  store::ScopedFileSet set("JVO");
  if (!set.Ok()) return Failed(set);
  const int count = store::RecordCount(FileCode::JVO);
  if (count == 0) return Outcome(StoreOutcome::NotFound);
  const Place place = Locate(key, count);
  if (place.runFirst < 0) return Outcome(StoreOutcome::NotFound);
  return Found(RunStartingAt(place.runFirst, count));
}

StoreResult FindVoucherOf(const InvoiceKey& invoice) { return FindVoucher(invoice.bookDate, VoucherNumberOf(invoice)); }

StoreResult FindVoucherOf(const PaymentKey& payment) {
  return FindVoucher(payment.valueDate, VoucherNumberOf(payment));
}

}  // namespace books::journal
