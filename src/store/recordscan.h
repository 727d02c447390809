// Block scans of a record file: the records of an open file read forwards
// or backwards in blocks, for the stores that walk a file looking for a key
// or a match (documents, vouchers, partners), and whole passes over a large
// file block by block (reports that add up or write out every voucher line).
//
// Rules:
// - ForEachRecordBlock reads into one buffer of about 1 MiB, reused for every
//   block: a pass costs the file's bytes once and never holds it whole (no
//   copy of the file in memory, no zero-filled vector of its size).
// - The file must be in the open set for as long as the scan is used; the
//   scan holds a pointer into its own buffer, valid until the next call.
// - The first block holds 16 records (a record near where the scan starts
//   costs one short read), later ones grow fourfold to about 1 MiB: never
//   one record per call.
// - Index() is the index in the file of the record given last.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "records/codec.h"
#include "store/fileset.h"

namespace store {

namespace recordscan_detail {
template <class R>
inline constexpr int kMaxBlock = static_cast<int>((1u << 20) / R::kSize);
inline constexpr int kFirstBlock = 16;
}  // namespace recordscan_detail

// Records read backwards from an end index.
template <class R>
class BackwardScan {
 public:
  BackwardScan(FileCode c, int end) : code_(c), start_(end) {}
  // The record before the one given last (the record before `end` at
  // first); nullptr at the start of the file.
  const R* Previous() {
    if (cur_ == 0) {
      if (start_ == 0) return nullptr;
      const int k = std::min(block_, start_);
      start_ -= k;
      buffer_.resize(static_cast<std::size_t>(k));
      fileset_detail::ReadRecords(code_, static_cast<std::uint64_t>(start_), static_cast<std::size_t>(k),
                                  buffer_.data()->data());
      cur_ = k;
      block_ = std::min(block_ * 4, recordscan_detail::kMaxBlock<R>);
    }
    --cur_;
    return &buffer_[static_cast<std::size_t>(cur_)];
  }
  // The index of the record Previous gave last.
  int Index() const { return start_ + cur_; }

 private:
  FileCode code_;
  int start_;
  int cur_ = 0;
  int block_ = recordscan_detail::kFirstBlock;
  std::vector<R> buffer_;
};

// Records read forwards from a start index up to `end`.
template <class R>
class ForwardScan {
 public:
  ForwardScan(FileCode c, int from, int end) : code_(c), next_(from), end_(end) {}
  // The record after the one given last (the record at `from` at first);
  // nullptr at `end`.
  const R* Next() {
    if (cur_ == static_cast<int>(buffer_.size())) {
      if (next_ >= end_) return nullptr;
      const int k = std::min(block_, end_ - next_);
      start_ = next_;
      next_ += k;
      buffer_.resize(static_cast<std::size_t>(k));
      fileset_detail::ReadRecords(code_, static_cast<std::uint64_t>(start_), static_cast<std::size_t>(k),
                                  buffer_.data()->data());
      cur_ = 0;
      block_ = std::min(block_ * 4, recordscan_detail::kMaxBlock<R>);
    }
    return &buffer_[static_cast<std::size_t>(cur_++)];
  }
  // The index of the record Next gave last.
  int Index() const { return start_ + cur_ - 1; }

 private:
  FileCode code_;
  int next_;
  int end_;
  int start_ = 0;
  int cur_ = 0;
  int block_ = recordscan_detail::kFirstBlock;
  std::vector<R> buffer_;
};

// Every whole record of an open file, in file order, given to
// `add(const R* records, std::size_t count)` one block of about 1 MiB at a
// time (count > 0); the records stay valid until `add` returns. A trailing
// part record is not given. A failing read raises platform::IoError as
// every record read does.
template <class R, class Add>
void ForEachRecordBlock(FileCode c, Add&& add) {
  fileset_detail::CheckRecordSize(c, R::kSize);
  const std::uint64_t count = fileset_detail::WholeRecords(c);
  if (count == 0) return;
  constexpr std::uint64_t kBlock = std::max(1, recordscan_detail::kMaxBlock<R>);
  const std::size_t block = static_cast<std::size_t>(std::min(count, kBlock));
  std::vector<R> buffer(block);
  for (std::uint64_t done = 0; done < count;) {
    const std::size_t k = static_cast<std::size_t>(std::min<std::uint64_t>(block, count - done));
    fileset_detail::ReadRecords(c, done, k, buffer.data()->data());
    add(static_cast<const R*>(buffer.data()), k);
    done += k;
  }
}

// A short-string field of a record as a view of its bytes: a scan compares
// keys without building strings.
template <class R>
std::string_view FieldView(const R& rec, const records::ShortString& field) {
  const std::size_t len = std::min<std::size_t>(rec.Bytes[field.offset], field.capacity);
  return {reinterpret_cast<const char*>(rec.Bytes.data() + field.offset + 1), len};
}

}  // namespace store
