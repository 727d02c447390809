// `RowList<Row>`: what a grid form edits — the rows of a record file as the
// form's own typed values (stored codes, never captions), at most one entry
// held out of the list in the edit fields, and the snapshot of the file as
// it was when the form read it.
//
// The grid only shows the rows; the form's ShowRow writes one row's cells.
// Save builds every record from the rows before it touches the file, then,
// inside its own file set (the folder lock), checks that the file still
// holds what the form read: when another copy of the program changed it
// meanwhile, nothing is written and the user is told to open the form again;
// the rows stay as they were, so nothing typed is lost.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "text/builtintext.h"
#include "store/fileset.h"

namespace formkit {

// How a Save of a whole file ended.
enum class SaveOutcome {
  Written,           // the file holds the new records
  NotOpened,         // the file set did not open (its message was shown)
  ChangedElsewhere,  // another copy changed the file since it was read
  Refused,           // the check under the lock refused (it told the user)
};

// Rewrites the file `code` with `recs` inside the file set `list` (which
// must name `code`), unless the file no longer matches `loaded`: then the
// message MsgChangedInAnotherCopy is shown and nothing is written. `checkUnderLock`, when
// given, runs inside the set before the write (for tests that must see the
// file as it is now, such as an in-use test); returning false refuses the
// Save. On success `loaded` becomes the new file's snapshot.
SaveOutcome SaveWholeFile(store::FileCode code, const std::string& list, const void* recs, int count,
                          std::size_t recordSize, store::FileSnapshot& loaded,
                          const std::function<bool()>& checkUnderLock = {});

template <store::RecordType R>
SaveOutcome SaveWholeFile(store::FileCode code, const std::string& list, const std::vector<R>& recs,
                          store::FileSnapshot& loaded, const std::function<bool()>& checkUnderLock = {}) {
  return SaveWholeFile(code, list, recs.data(), static_cast<int>(recs.size()), R::kSize, loaded, checkUnderLock);
}

template <class Row>
class RowList {
 public:
  // Replaces the rows by those just read, with the file's snapshot taken in
  // the same file set; nothing is held.
  void Load(std::vector<Row> rows, store::FileSnapshot snapshot) {
    rows_ = std::move(rows);
    snapshot_ = snapshot;
    held_.reset();
  }
  // No rows, nothing held (a form that could not read its file).
  void Clear() {
    rows_.clear();
    held_.reset();
    snapshot_ = {};
  }

  int Count() const { return static_cast<int>(rows_.size()); }
  bool Empty() const { return rows_.empty(); }
  const Row& At(int i) const { return rows_.at(static_cast<std::size_t>(i)); }
  Row& At(int i) { return rows_.at(static_cast<std::size_t>(i)); }
  const std::vector<Row>& Rows() const { return rows_; }
  template <class Pred>
  bool Any(Pred pred) const {
    return std::any_of(rows_.begin(), rows_.end(), pred);
  }

  // The entry held in the edit fields: a row taken out of the list, or one
  // the form holds itself.
  bool Held() const { return held_.has_value(); }
  const Row& HeldRow() const { return *held_; }
  void Hold(Row row) { held_ = std::move(row); }
  void Release() { held_.reset(); }

  // Takes row i out of the list and holds it.
  const Row& TakeOut(int i) {
    held_ = std::move(rows_.at(static_cast<std::size_t>(i)));
    rows_.erase(rows_.begin() + i);
    return *held_;
  }
  // Puts `row` in the list before the first row that `less` orders after
  // it (so equal keys keep their order) and releases the held entry; gives
  // the row's index.
  template <class Less>
  int PostSorted(Row row, Less less) {
    const auto at = std::upper_bound(rows_.begin(), rows_.end(), row, less);
    const int index = static_cast<int>(at - rows_.begin());
    rows_.insert(at, std::move(row));
    held_.reset();
    return index;
  }
  void Insert(int index, Row row) { rows_.insert(rows_.begin() + index, std::move(row)); }
  void Erase(int index) { rows_.erase(rows_.begin() + index); }
  void Swap(int a, int b) { std::swap(rows_.at(static_cast<std::size_t>(a)), rows_.at(static_cast<std::size_t>(b))); }

  // Builds every record first (`toRec(row)` for each row, in order), then
  // writes them as the whole file `code` (see SaveWholeFile).
  template <store::RecordType R, class ToRec>
  SaveOutcome Save(store::FileCode code, const std::string& list, ToRec toRec,
                   const std::function<bool()>& checkUnderLock = {}) {
    std::vector<R> recs;
    recs.reserve(rows_.size());
    for (const Row& row : rows_) recs.push_back(toRec(row));
    return SaveWholeFile(code, list, recs, snapshot_, checkUnderLock);
  }

  const store::FileSnapshot& Snapshot() const { return snapshot_; }

 private:
  std::vector<Row> rows_;
  std::optional<Row> held_;
  store::FileSnapshot snapshot_;
};

}  // namespace formkit
