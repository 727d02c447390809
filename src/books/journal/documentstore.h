// What the invoice store (src/books/journal/invoicestore.h) and the payment store
// (src/books/journal/paymentstore.h) share: their outcomes, a document as loaded, the
// result and page types, and the steps every change, delete, find and list
// of a document goes through. Scans go through store/recordscan.h.
//
// Rules shared by both stores:
// - A document is loaded with the index it was read at. A change or delete
//   hands it back; under the set's lock the store looks for the record that
//   holds the loaded key (at the loaded index first, else anywhere, since
//   another copy may have inserted before it) and writes only when that
//   record still holds the loaded bytes: else `ChangedInAnotherCopy`, or
//   `NotFound` when no record holds the key any more. Nothing is ever
//   written over another document's record.
// - Pages hold 100 rows, newest (last in the file) first; page p holds the
//   matches p * 100 + 1 to p * 100 + 100, and `more` is set only when a
//   further match exists, so paging by 100 skips and repeats no row.
// - Scans read records in blocks (store/recordscan.h), never one record
//   per call.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "records/codec.h"
#include "records/documentkind.h"
#include "store/fileset.h"
#include "store/recordscan.h"
#include "store/result.h"
#include "store/scopedfileset.h"

namespace books::journal {

enum class DocumentOutcome {
  Done,                  // stored, changed, deleted, read or marked
  FileSetFailed,         // the set did not open: see `failure`
  NotLoaded,             // a change whose key is not the loaded document's
  HasVoucher,            // a change or delete of a document whose voucher exists
  Duplicate,             // a new invoice whose key exists already
  NotFound,              // the document is no longer in the file (a list:
                         // no row passes the filter)
  ChangedInAnotherCopy,  // the document's record no longer holds what was loaded
  FileEmpty,             // a list of an empty file
};

// The language offset of the message an outcome names (MsgVoucherExists for
// Duplicate; with `list`, MsgNoMatchingRows for NotFound and FileEmpty, the
// invoice list showing nothing for FileEmpty); 0 when the form shows a
// program-carried text or nothing.
int LanguageOffsetOf(DocumentOutcome outcome, bool list = false);

// A document's record and the index it was read at.
template <class R>
struct LoadedDocument {
  R record;
  int index = -1;
};

// The value: the document as written or read.
template <class R>
using DocumentResult = store::Result<DocumentOutcome, LoadedDocument<R>>;

inline constexpr int kDocumentPageRows = 100;

// One page of a list: the rows and where they lie among the matches.
template <class R>
struct DocumentRows {
  int page = 0;                         // 0 = the 100 newest matches
  std::vector<LoadedDocument<R>> rows;  // newest first, at most 100
  bool more = false;                    // a further match lies beyond this page
  bool HasPrevious() const { return page > 0; }
  // Exactly one document matched in the whole file.
  bool SingleMatch() const { return page == 0 && rows.size() == 1 && !more; }
};
// Done with rows; FileEmpty; NotFound. The value: the page, also with
// FileEmpty and NotFound (no rows then); none with FileSetFailed.
template <class R>
using DocumentPage = store::Result<DocumentOutcome, DocumentRows<R>>;

// Every document of a query, newest first (all open invoices of a partner);
// the value (Done only): the documents.
template <class R>
using DocumentList = store::Result<DocumentOutcome, std::vector<LoadedDocument<R>>>;

// The answer of "is there a document without voucher before a date": Done
// or FileSetFailed; the value: the earliest such date, when there is one.
using DocumentCheck = store::Result<DocumentOutcome, std::string>;

// The partner a list is filtered on: kind code and number, both compared.
struct DocumentPartner {
  records::DocumentKind kind = records::DocumentKind::Customer;
  std::int32_t number = 0;
};

// The platform's date-time text of now, cut to 20: ChangedAt.
std::string DocumentStampTime();
// The current user cut to 10: ChangedBy.
std::string DocumentStampUser();

using store::BackwardScan;
using store::FieldView;
using store::ForwardScan;

// Appends `n` in decimal to `out`.
inline void AppendDecimal(std::string& out, std::int32_t n) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, n);
  out.append(buf, r.ptr);
}

// ---- The shared steps, inside an open set holding the file.

// The last record (from the end) for which `pred` holds.
template <class R, class Pred>
std::optional<int> FindLastWhere(store::FileCode c, Pred pred) {
  BackwardScan<R> scan(c, store::RecordCount(c));
  while (const R* rec = scan.Previous())
    if (pred(*rec)) return scan.Index();
  return std::nullopt;
}

// Where a new record whose place text is `text` goes in the sorted file:
// after the last record, from the end, whose place text (as
// `placeTextInto(rec, out)` writes it) is not greater. Each record before
// that point with an equal text is handed to `sameText`, going back; when
// it returns false the insert is refused (nullopt).
//
// `prefixOf(rec)`, when given, is a view of the record's bytes that every
// place text starts with (its date field): a record whose prefix alone
// already differs from the text's is compared on it, without its text being
// built, so a scan over many records of other days costs little.
template <class R, class PlaceTextInto, class SameText, class PrefixOf>
std::optional<int> InsertPoint(store::FileCode c, const std::string& text, PlaceTextInto placeTextInto,
                               SameText sameText, PrefixOf prefixOf) {
  int at = 0;
  bool placed = false;
  std::string other;
  BackwardScan<R> scan(c, store::RecordCount(c));
  while (const R* r = scan.Previous()) {
    const std::string_view prefix = prefixOf(*r);
    int cmp = prefix.compare(std::string_view(text).substr(0, prefix.size()));
    if (cmp == 0) {
      placeTextInto(*r, other);
      cmp = other.compare(text);
    }
    if (cmp > 0) continue;
    if (!placed) {
      at = scan.Index() + 1;
      placed = true;
    }
    if (cmp < 0) break;
    if (!sameText(*r)) return std::nullopt;
  }
  return at;
}

template <class R, class PlaceTextInto, class SameText>
std::optional<int> InsertPoint(store::FileCode c, const std::string& text, PlaceTextInto placeTextInto,
                               SameText sameText) {
  return InsertPoint<R>(c, text, placeTextInto, sameText, [](const R&) { return std::string_view(); });
}

// InsertPoint for many new records at once, from the place texts of the
// file read once, in file order (a run of imported rows): `After` gives the
// index InsertPoint gives a text on the file as it is, found by a binary
// search over the least text of each end of the file rather than a scan
// back per record; `SameTextRun` the indices of the records it hands to
// `sameText`, going back. Unsorted files (imported ones) get the same
// answers as from InsertPoint.
//
// The texts may be those of the file's end only, from index `first` on, when
// they reach back to a record whose text is below every text that will be
// asked (or to the file's start): InsertPoint stops at such a record.
// `PlaceTextsFrom` reads them so.
class InsertPlaces {
 public:
  InsertPlaces() = default;
  explicit InsertPlaces(std::vector<std::string> texts, int first = 0);
  int After(const std::string& text) const;
  std::vector<int> SameTextRun(const std::string& text) const;
  int First() const { return first_; }

 private:
  std::vector<std::string> texts_;
  int first_ = 0;
  std::vector<int> leastFrom_;  // [i]: the local index of a least text of texts i..
};

// The place texts of file `c` (in an open set), as `placeText(rec)` gives
// them, from its end back to the first record whose text is below `least`
// (that one included), in file order; `first` is set to the index of the
// first text given.
template <class R, class PlaceText>
std::vector<std::string> PlaceTextsFrom(store::FileCode c, const std::string& least, PlaceText placeText, int& first) {
  std::vector<std::string> texts;
  BackwardScan<R> scan(c, store::RecordCount(c));
  first = 0;
  while (const R* r = scan.Previous()) {
    texts.push_back(placeText(*r));
    first = scan.Index();
    if (texts.back() < least) break;
  }
  std::reverse(texts.begin(), texts.end());
  return texts;
}

// Where a loaded document lies now: Done with its index, NotFound or
// ChangedInAnotherCopy (see the file comment). `hasKey` tells a record that
// holds the loaded document's key.
template <class R, class HasKey>
std::pair<DocumentOutcome, int> Relocate(store::FileCode c, const LoadedDocument<R>& loaded, HasKey hasKey) {
  const int count = store::RecordCount(c);
  int at = -1;
  if (loaded.index >= 0 && loaded.index < count) {
    R rec;
    store::ReadRecord(c, loaded.index, rec);
    if (hasKey(rec)) at = loaded.index;
  }
  if (at < 0) {
    const auto found = FindLastWhere<R>(c, hasKey);
    if (!found) return {DocumentOutcome::NotFound, -1};
    at = *found;
  }
  R now;
  store::ReadRecord(c, at, now);
  if (!(now == loaded.record)) return {DocumentOutcome::ChangedInAnotherCopy, at};
  return {DocumentOutcome::Done, at};
}

// Page `page` of the records that pass `pred`, newest (last) first.
template <class R, class Pred>
DocumentPage<R> PageWhere(store::FileCode c, int page, Pred pred) {
  DocumentPage<R> result;
  DocumentRows<R>& out = result.value.emplace();
  out.page = std::max(0, page);
  const int count = store::RecordCount(c);
  if (count == 0) {
    result.outcome = DocumentOutcome::FileEmpty;
    return result;
  }
  const long long skip = static_cast<long long>(out.page) * kDocumentPageRows;
  long long seen = 0;
  BackwardScan<R> scan(c, count);
  while (const R* rec = scan.Previous()) {
    if (!pred(*rec)) continue;
    if (seen++ < skip) continue;
    if (static_cast<int>(out.rows.size()) == kDocumentPageRows) {
      out.more = true;
      break;
    }
    out.rows.push_back({*rec, scan.Index()});
  }
  if (out.rows.empty()) result.outcome = DocumentOutcome::NotFound;
  return result;
}

// The earliest date before `date` (as `dateOf` gives it) of a record
// without voucher, read forwards over the whole file (an imported file need
// not be sorted): sets `out.value` to it when it is earlier than what
// `out` holds.
template <class R, class DateOf>
void EarliestWithoutVoucher(store::FileCode c, const std::string& date, DateOf dateOf, DocumentCheck& out) {
  ForwardScan<R> scan(c, 0, store::RecordCount(c));
  while (const R* r = scan.Next()) {
    if (r->VoucherCreated()) continue;
    const std::string d = dateOf(*r);
    if (d < date && (!out.value || d < *out.value)) out.value = d;
  }
}

// ---- The steps of a store's calls, each opening `setList` (the store's
// set) itself and closing it after a write.

// The answer `Out` (a result, page, list or check) when the set did not open.
template <class Out>
Out SetFailed(const store::ScopedFileSet& set) {
  Out out;
  out.outcome = DocumentOutcome::FileSetFailed;
  out.failure = set.Failure();
  return out;
}

template <class R>
DocumentResult<R> OutcomeOnly(DocumentOutcome o) {
  DocumentResult<R> r;
  r.outcome = o;
  return r;
}

// Done with the document as written (or read) at `index`.
template <class R>
DocumentResult<R> WrittenAt(const R& rec, int index) {
  DocumentResult<R> r;
  r.value = LoadedDocument<R>{rec, index};
  return r;
}

// ChangedBy and ChangedAt: the current user, now.
template <class R>
void StampDocument(R& rec) {
  rec.SetChangedBy(DocumentStampUser());
  rec.SetChangedAt(DocumentStampTime());
}

// Writes `rec` over the loaded document once Relocate finds it unchanged:
// HasVoucher when the loaded document has its voucher. `keep(rec, stored)`
// sets what the store keeps from the stored record; the record is stamped.
template <class R, class HasKey, class Keep>
DocumentResult<R> ChangeDocument(const char* setList, store::FileCode c, R rec, const LoadedDocument<R>& loaded,
                                 HasKey hasKey, Keep keep) {
  if (loaded.record.VoucherCreated()) return OutcomeOnly<R>(DocumentOutcome::HasVoucher);
  store::ScopedFileSet set(setList);
  if (!set.Ok()) return SetFailed<DocumentResult<R>>(set);
  const auto [o, at] = Relocate<R>(c, loaded, hasKey);
  if (o != DocumentOutcome::Done) return OutcomeOnly<R>(o);
  keep(rec, loaded.record);
  StampDocument(rec);
  store::WriteRecord(c, at, rec);
  set.Close();
  return WrittenAt(rec, at);
}

// Deletes the loaded document once Relocate finds it unchanged: HasVoucher
// when it has its voucher, also when another copy booked it meanwhile
// (rather than ChangedInAnotherCopy).
template <class R, class HasKey>
DocumentResult<R> DeleteDocument(const char* setList, store::FileCode c, const LoadedDocument<R>& loaded,
                                 HasKey hasKey) {
  if (loaded.record.VoucherCreated()) return OutcomeOnly<R>(DocumentOutcome::HasVoucher);
  store::ScopedFileSet set(setList);
  if (!set.Ok()) return SetFailed<DocumentResult<R>>(set);
  const auto [o, at] = Relocate<R>(c, loaded, hasKey);
  if (o == DocumentOutcome::ChangedInAnotherCopy) {
    R now;
    store::ReadRecord(c, at, now);
    if (now.VoucherCreated()) return OutcomeOnly<R>(DocumentOutcome::HasVoucher);
  }
  if (o != DocumentOutcome::Done) return OutcomeOnly<R>(o);
  store::DeleteRecords(c, at, 1);
  set.Close();
  return WrittenAt(loaded.record, at);
}

// The document at the index `locate()` gives; NotFound when it gives none.
template <class R, class Locate>
DocumentResult<R> FindDocument(const char* setList, store::FileCode c, Locate locate) {
  store::ScopedFileSet set(setList);
  if (!set.Ok()) return SetFailed<DocumentResult<R>>(set);
  const std::optional<int> at = locate();
  if (!at) return OutcomeOnly<R>(DocumentOutcome::NotFound);
  R rec;
  store::ReadRecord(c, *at, rec);
  set.Close();
  return WrittenAt(rec, *at);
}

// The same, the record changed by `change` and written back.
template <class R, class Locate, class Change>
DocumentResult<R> MarkDocument(const char* setList, store::FileCode c, Locate locate, Change change) {
  store::ScopedFileSet set(setList);
  if (!set.Ok()) return SetFailed<DocumentResult<R>>(set);
  const std::optional<int> at = locate();
  if (!at) return OutcomeOnly<R>(DocumentOutcome::NotFound);
  R rec;
  store::ReadRecord(c, *at, rec);
  change(rec);
  store::WriteRecord(c, *at, rec);
  set.Close();
  return WrittenAt(rec, *at);
}

// PageWhere inside the store's set.
template <class R, class Pred>
DocumentPage<R> ListDocuments(const char* setList, store::FileCode c, int page, Pred pred) {
  store::ScopedFileSet set(setList);
  if (!set.Ok()) return SetFailed<DocumentPage<R>>(set);
  DocumentPage<R> p = PageWhere<R>(c, page, pred);
  set.Close();
  return p;
}

// EarliestWithoutVoucher inside the store's set.
template <class R, class DateOf>
DocumentCheck CheckWithoutVoucher(const char* setList, store::FileCode c, const std::string& date, DateOf dateOf) {
  store::ScopedFileSet set(setList);
  if (!set.Ok()) return SetFailed<DocumentCheck>(set);
  DocumentCheck out;
  EarliestWithoutVoucher<R>(c, date, dateOf, out);
  set.Close();
  return out;
}

}  // namespace books::journal
