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
#include <memory>
#include <string>
#include <vector>

#include "platform/filesystem.h"

namespace bench {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b);

// Reads or writes exactly `n` bytes at `at`.
void ReadAll(int fd, char* p, std::size_t n, off_t at);
void WriteAll(int fd, const char* p, std::size_t n, off_t at);

// Writes `n` bytes to `path` from its start (made when missing), cuts the
// file after them (a file left longer by an earlier iteration) and syncs.
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

// The syncs a store makes, measured while it runs: installed for its
// lifetime, it passes every call on to the file system that was in use and
// times each sync of a file and of a folder. A limit that counts syncs is
// "k block copies plus the measured syncs": (store - Seconds()) must stay
// within k block copies, and Count() tells how many syncs that was.
class SyncTimer : public platform::FileSystem {
 public:
  SyncTimer();
  ~SyncTimer() override;
  SyncTimer(const SyncTimer&) = delete;
  SyncTimer& operator=(const SyncTimer&) = delete;
  void Reset() { seconds_ = 0, count_ = 0; }
  double Seconds() const { return seconds_; }
  int Count() const { return count_; }
  void Add(double seconds) { seconds_ += seconds, ++count_; }

  int OpenExisting(const std::string& path, platform::OpenMode mode,
                   std::unique_ptr<platform::FileHandle>& out) override;
  int CreateEmpty(const std::string& path, std::unique_ptr<platform::FileHandle>& out) override;
  int Size(const std::string& path, std::uint64_t& size) override { return inner_->Size(path, size); }
  int RenameOver(const std::string& from, const std::string& to) override { return inner_->RenameOver(from, to); }
  int RenameNoReplace(const std::string& from, const std::string& to) override {
    return inner_->RenameNoReplace(from, to);
  }
  int Copy(const std::string& from, const std::string& to, platform::CopyMode mode) override {
    return inner_->Copy(from, to, mode);
  }
  int Delete(const std::string& path) override { return inner_->Delete(path); }
  bool Exists(const std::string& path) override { return inner_->Exists(path); }
  bool IsFolder(const std::string& path) override { return inner_->IsFolder(path); }
  int MakeFolders(const std::string& path) override { return inner_->MakeFolders(path); }
  int LockExclusive(const std::string& path, std::unique_ptr<platform::LockHandle>& out) override {
    return inner_->LockExclusive(path, out);
  }
  std::string ResolvedFolder(const std::string& path) override { return inner_->ResolvedFolder(path); }
  int AccessMode(const std::string& path, std::uint32_t& mode) override { return inner_->AccessMode(path, mode); }
  int CreateEmptyWithMode(const std::string& path, std::uint32_t mode,
                          std::unique_ptr<platform::FileHandle>& out) override;
  int SyncFolderOf(const std::string& path) override;

 private:
  int Wrap(int code, std::unique_ptr<platform::FileHandle>& out);
  platform::FileSystem* inner_;
  platform::FileSystem* previous_;
  double seconds_ = 0;
  int count_ = 0;
};

// The generated book of the trial balance and the bank import: 200,000
// vouchers of 2 to 4 lines (about 600,000 lines, 235 MB) dated through 2024,
// over 60 GL accounts "1000", "1010", ... (the first the profit account, the
// last the transfer account) in four categories; the settings of book year
// 2024 in one period, and an empty freeze file. Written into `dir`.
// `vouchers` gives another size (the trial balance's --book-vouchers).
inline constexpr int kBookVouchers = 200000;
inline constexpr int kBookAccounts = 60;
std::string BookAccountNumber(int i);
void GenerateBook(const std::string& dir, int vouchers = kBookVouchers);

// The median of `ratios` (sorted in place); 0 when empty.
double Median(std::vector<double>& ratios);

// "within" or "OVER THE LIMIT".
const char* Verdict(bool within);

}  // namespace bench
