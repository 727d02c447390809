// The voucher store on a real temporary voucher file of 200,000 lines
// (100,000 two-line vouchers on one date).
//
// Saving a three-line voucher at the front moves the whole tail once,
// crash-safe (journal of the tail, the move, their syncs): it is measured
// against one plain block copy of the tail in the same run, and must stay
// within 3 block copies plus the syncs it makes, measured while it runs
// (SyncTimer).
// A voucher dated last is appended and costs about its own lines.
//
// The reads that walk the whole file (previous at the first voucher, next
// from the first, last of a journal that has no voucher) read backwards in
// blocks and are measured against one sequential read of the file; each
// must stay within 3 times that read.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "books/journal/voucherstore.h"
#include "records/journalvoucherrec.h"
#include "store/fileset.h"
#include "support.h"
#include "text/systemsettings.h"

namespace {

constexpr int kRecords = 200000;
constexpr std::size_t kSize = 392;
constexpr std::size_t kBytes = kRecords * kSize;

using namespace bench;

// A temporary folder holding a sorted voucher file, and the data-file set
// pointed at it.
struct VoucherFolder : DataFolder {
  std::string path;
  VoucherFolder() : DataFolder("vbench") {
    path = dir + "/book.vlk";
    std::vector<records::JournalVoucherRec> recs(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      char number[16];
      std::snprintf(number, sizeof number, "%07d", i / 2);
      recs[static_cast<std::size_t>(i)].SetVoucherDate("20240601");
      recs[static_cast<std::size_t>(i)].SetBookNumber(number);
      recs[static_cast<std::size_t>(i)].SetJournalName("Bank");
      recs[static_cast<std::size_t>(i)].SetAccountNumber(i % 2 ? "8000" : "1000");
      recs[static_cast<std::size_t>(i)].SetDebitAmount(i % 2 ? 0 : 10);
      recs[static_cast<std::size_t>(i)].SetCreditAmount(i % 2 ? 10 : 0);
    }
    WriteSynced(path, reinterpret_cast<const char*>(recs.data()), kBytes);
    Use();
  }
};

books::journal::Voucher ThreeLines(const std::string& date) {
  books::journal::Voucher v;
  v.header = {date, "1", "bench", "", "Bank"};
  books::journal::VoucherLine a, b, c;
  a.account = "1000", a.debit = 30;
  b.account = "8000", b.credit = 20;
  c.account = "8100", c.credit = 10;
  v.lines = {a, b, c};
  return v;
}

void BM_SaveThreeLinesAtTheFront(benchmark::State& state) {
  VoucherFolder folder;
  const books::journal::Voucher front = ThreeLines("20240101");
  const books::journal::Voucher last = ThreeLines("20241231");
  SyncTimer timer;
  // Warm up: the page cache, the move buffer and the kept journal.
  if (!books::journal::SaveVoucher(front).Ok() || !books::journal::DeleteVoucher(front).Ok()) {
    state.SkipWithError("the save failed");
    return;
  }
  const int fd = ::open(folder.path.c_str(), O_RDWR | O_CLOEXEC);
  const std::string sidePath = folder.dir + "/side";
  const int side = ::open(sidePath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 || side < 0) std::abort();
  std::vector<char> buffer(kBytes + 3 * kSize);
  double save = 0, block = 0, syncs = 0, saveLast = 0;
  int count = 0;
  std::vector<double> ratios;
  for (auto _ : state) {
    timer.Reset();
    const auto t0 = Clock::now();
    if (!books::journal::SaveVoucher(front).Ok()) std::abort();
    const auto t1 = Clock::now();
    state.SetIterationTime(Seconds(t0, t1));
    save += Seconds(t0, t1);
    const double saveSyncs = timer.Seconds();
    syncs += saveSyncs;
    count = timer.Count();

    state.PauseTiming();
    if (!books::journal::DeleteVoucher(front).Ok()) std::abort();
    if (::fsync(fd) != 0) std::abort();
    const TailCopy tail = CopyTail(fd, side, buffer, kBytes, 3 * kSize);
    block += tail.copy;
    ratios.push_back((Seconds(t0, t1) - saveSyncs) / tail.copy);
    MoveTailBack(fd, buffer, kBytes, 3 * kSize);
    if (::fsync(fd) != 0) std::abort();

    const auto e0 = Clock::now();
    if (!books::journal::SaveVoucher(last).Ok()) std::abort();
    const auto e1 = Clock::now();
    saveLast += Seconds(e0, e1);
    if (!books::journal::DeleteVoucher(last).Ok()) std::abort();
    state.ResumeTiming();
  }
  ::close(fd);
  ::close(side);
  const double n = static_cast<double>(state.iterations());
  const double median = Median(ratios);
  state.counters["save_front_ms"] = 1000 * save / n;
  state.counters["blockcopy_ms"] = 1000 * block / n;
  state.counters["syncs_ms"] = 1000 * syncs / n;
  state.counters["save_dated_last_ms"] = 1000 * saveLast / n;
  state.counters["median_save_less_syncs_per_blockcopy"] = median;
  const bool within = median <= 3;
  std::fprintf(stderr,
               "save of three lines at the front %.1f ms, block copy of the tail %.1f ms, its %d syncs %.1f ms, "
               "save dated last %.2f ms; (save - syncs) / block copy, median iteration %.2f "
               "(limit: 3 block copies plus the measured syncs): %s\n",
               1000 * save / n, 1000 * block / n, count, 1000 * syncs / n, 1000 * saveLast / n, median,
               Verdict(within));
  if (!within) state.SkipWithError("the save is over 3 block copies plus the measured syncs");
}
BENCHMARK(BM_SaveThreeLinesAtTheFront)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_WalksAgainstOneSequentialRead(benchmark::State& state) {
  VoucherFolder folder;
  const int fd = ::open(folder.path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  SequentialRead sequential(fd, kBytes);
  sequential();
  double read = 0, previous = 0, next = 0, last = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    sequential();
    const auto t1 = Clock::now();
    if (books::journal::ReadPreviousVoucher("20240601", "0000000").outcome != books::journal::StoreOutcome::NoEarlier)
      std::abort();
    const auto t2 = Clock::now();
    if (!books::journal::ReadNextVoucher("20240601", "0000000").Ok()) std::abort();
    const auto t3 = Clock::now();
    if (books::journal::ReadLastVoucher(std::string("Cash")).outcome != books::journal::StoreOutcome::FileEmpty)
      std::abort();
    const auto t4 = Clock::now();
    state.SetIterationTime(Seconds(t1, t4));
    read += Seconds(t0, t1);
    previous += Seconds(t1, t2);
    next += Seconds(t2, t3);
    last += Seconds(t3, t4);
  }
  ::close(fd);
  const double n = static_cast<double>(state.iterations());
  state.counters["sequential_read_ms"] = 1000 * read / n;
  state.counters["previous_at_first_ms"] = 1000 * previous / n;
  state.counters["next_from_first_ms"] = 1000 * next / n;
  state.counters["last_of_absent_journal_ms"] = 1000 * last / n;
  const double worst = std::max({previous, next, last}) / read;
  const bool within = worst <= 3;
  std::fprintf(stderr,
               "one sequential read %.1f ms; previous at the first voucher %.1f ms, next from the first %.1f ms, "
               "last of a journal without vouchers %.1f ms; worst / read %.2f (limit 3): %s\n",
               1000 * read / n, 1000 * previous / n, 1000 * next / n, 1000 * last / n, worst,
               Verdict(within));
  if (!within) state.SkipWithError("a walk is over 3 sequential reads");
}
BENCHMARK(BM_WalksAgainstOneSequentialRead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
