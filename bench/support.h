// What the benchmarks share: the clock, whole reads and writes on a file
// descriptor, a temporary data folder on the real disk, the reference
// measurements a store is compared with (one sequential read of a file, one
// block copy of a tail with the syncs an insert costs) and the verdict.
//
// Rules: every helper aborts on a failed system call (a benchmark on a
// half-written file measures nothing); buffers are allocated by the caller
// or in a constructor, never inside a measured span; a limit is checked on
// the median iteration where a run on a shared machine can have outliers.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b);

// Reads or writes exactly `n` bytes at `at`.
void ReadAll(int fd, char* p, std::size_t n, off_t at);
void WriteAll(int fd, const char* p, std::size_t n, off_t at);

// Writes `n` bytes to `path` from its start (made when missing) and syncs.
void WriteSynced(const std::string& path, const char* data, std::size_t n);

// A new folder "/tmp/ombrelo-<tag>-XXXXXX" (no trailing "/").
std::string MakeTempFolder(const char* tag);

// A temporary folder for a store's files, removed with everything in it at
// the end. Use() points the data-file set at it and logs in as "BENCH";
// the end resets the set.
struct DataFolder {
  std::string dir;
  explicit DataFolder(const char* tag);
  ~DataFolder();
  DataFolder(const DataFolder&) = delete;
  DataFolder& operator=(const DataFolder&) = delete;
  void Use() const;
};

// One sequential read of the first `bytes` of a file in blocks of 1 MiB.
class SequentialRead {
 public:
  SequentialRead(int fd, std::size_t bytes);
  void operator()();

 private:
  int fd_;
  std::size_t bytes_;
  std::vector<char> block_;
};

// The reference of a store that moves a tail: one plain block copy of
// `bytes` from 0 up by `shift` (copy), and the two syncs of the tail's size
// an insert costs (syncs): the data file's after the copy and that of a
// side file just written with the tail (emptied again). `buffer` holds
// bytes + shift.
struct TailCopy {
  double copy = 0;
  double syncs = 0;
};
TailCopy CopyTail(int fd, int side, std::vector<char>& buffer, std::size_t bytes, std::size_t shift);
// Puts the file back as it was before CopyTail (not synced).
void MoveTailBack(int fd, std::vector<char>& buffer, std::size_t bytes, std::size_t shift);

// The median of `ratios` (sorted in place); 0 when empty.
double Median(std::vector<double>& ratios);

// "within" or "OVER THE LIMIT".
const char* Verdict(bool within);

}  // namespace bench
