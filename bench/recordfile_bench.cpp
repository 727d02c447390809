// Sorted insert and delete on a voucher-sized file: one 392-byte record
// inserted at index 0 of a file of 200,000 records and deleted again, on a
// real temporary file. In the same run, the two limits it is measured
// against: one plain block copy of the tail's bytes (one read and one write
// of the whole tail, the physical limit) and moving the tail one record at a
// time. The insert must stay within 3 times the block copy.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/fileset.h"

namespace {

constexpr int kRecords = 200000;
constexpr std::size_t kSize = 392;
constexpr std::size_t kTail = kRecords * kSize;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void ReadAll(int fd, char* p, std::size_t n, off_t at) {
  while (n > 0) {
    const ssize_t r = ::pread(fd, p, n, at);
    if (r <= 0) std::abort();
    p += r, n -= static_cast<std::size_t>(r), at += r;
  }
}

void WriteAll(int fd, const char* p, std::size_t n, off_t at) {
  while (n > 0) {
    const ssize_t w = ::pwrite(fd, p, n, at);
    if (w <= 0) std::abort();
    p += w, n -= static_cast<std::size_t>(w), at += w;
  }
}

// Puts the file back as it was before a move of the tail one record up.
void MoveBack(int fd, std::vector<char>& buffer) {
  ReadAll(fd, buffer.data(), kTail, kSize);
  WriteAll(fd, buffer.data(), kTail, 0);
  if (::ftruncate(fd, kTail) != 0) std::abort();
}

void BM_InsertAndDeleteAtFront(benchmark::State& state) {
  char tmpl[] = "/tmp/ombrelo-bench-XXXXXX";
  if (::mkdtemp(tmpl) == nullptr) std::abort();
  const std::string dir = tmpl;
  const std::string path = dir + "/book.vlk";
  std::vector<char> buffer(kTail + kSize);
  for (std::size_t i = 0; i < kTail; ++i) buffer[i] = static_cast<char>(i * 31 / kSize);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  WriteAll(fd, buffer.data(), kTail, 0);

  shell::StartFolder = dir + "/";
  int result = -1;
  shell::OpenFileSet("JVO", result);
  if (result != 0) {
    state.SkipWithError(shell::FileErrorText.c_str());
    return;
  }
  const std::string record(kSize, 'n');
  // Warm up: the page cache and the move buffer.
  shell::InsertRecords(shell::FileCode::JVO, 0, record.data(), 1);
  shell::DeleteRecords(shell::FileCode::JVO, 0, 1);

  double insert = 0, erase = 0, block = 0, oneByOne = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    shell::InsertRecords(shell::FileCode::JVO, 0, record.data(), 1);
    const auto t1 = Clock::now();
    shell::DeleteRecords(shell::FileCode::JVO, 0, 1);
    const auto t2 = Clock::now();
    state.SetIterationTime(Seconds(t0, t1));
    insert += Seconds(t0, t1);
    erase += Seconds(t1, t2);

    state.PauseTiming();
    const auto b0 = Clock::now();
    ReadAll(fd, buffer.data(), kTail, 0);
    WriteAll(fd, buffer.data(), kTail, kSize);
    const auto b1 = Clock::now();
    block += Seconds(b0, b1);
    MoveBack(fd, buffer);

    const auto r0 = Clock::now();
    char one[kSize];
    for (int i = kRecords - 1; i >= 0; --i) {
      ReadAll(fd, one, kSize, static_cast<off_t>(i) * kSize);
      WriteAll(fd, one, kSize, static_cast<off_t>(i + 1) * kSize);
    }
    const auto r1 = Clock::now();
    oneByOne += Seconds(r0, r1);
    MoveBack(fd, buffer);
    state.ResumeTiming();
  }
  shell::CloseFileSet();
  ::close(fd);
  std::filesystem::remove_all(dir);

  const double n = static_cast<double>(state.iterations());
  state.counters["insert_ms"] = 1000 * insert / n;
  state.counters["delete_ms"] = 1000 * erase / n;
  state.counters["blockcopy_ms"] = 1000 * block / n;
  state.counters["recordwise_ms"] = 1000 * oneByOne / n;
  state.counters["insert_per_blockcopy"] = insert / block;
  state.counters["insert_per_recordwise"] = insert / oneByOne;
  std::fprintf(stderr,
               "insert %.1f ms, delete %.1f ms, block copy %.1f ms, record by record %.1f ms; "
               "insert / block copy %.2f (limit 3), insert / record by record %.3f\n",
               1000 * insert / n, 1000 * erase / n, 1000 * block / n, 1000 * oneByOne / n, insert / block,
               insert / oneByOne);
}
BENCHMARK(BM_InsertAndDeleteAtFront)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
