// Converting an old voucher file of 200,000 lines (208 bytes each) to
// today's layout (392 bytes), on real temporary files, as the log-in does:
// the old bytes read, written to the backup and synced, the new file built
// and written through a temporary file and synced, the code recorded. In the
// same run, the limit it is measured against: one sequential read of the
// old file plus the plain writes of its backup and of the new file's bytes,
// each synced. The conversion must stay within 3 times that.
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

#include "records/releaseflagrec.h"
#include "store/dataconversion.h"
#include "store/fileset.h"
#include "support.h"

namespace {

constexpr int kLines = 200000;
constexpr std::size_t kOldSize = 208;
constexpr std::size_t kNewSize = 392;

using namespace bench;

void WriteFile(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  std::size_t at = 0;
  while (at < bytes.size()) {
    const ssize_t w = ::pwrite(fd, bytes.data() + at, bytes.size() - at, static_cast<off_t>(at));
    if (w <= 0) std::abort();
    at += static_cast<std::size_t>(w);
  }
  if (::fsync(fd) != 0) std::abort();
  ::close(fd);
}

std::string ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  std::string bytes(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)), '\0');
  std::size_t at = 0;
  while (at < bytes.size()) {
    const ssize_t r = ::pread(fd, bytes.data() + at, bytes.size() - at, static_cast<off_t>(at));
    if (r <= 0) std::abort();
    at += static_cast<std::size_t>(r);
  }
  ::close(fd);
  return bytes;
}

void BM_ConvertVoucherFile(benchmark::State& state) {
  const std::string dir = MakeTempFolder("bench") + "/";
  // Old voucher lines with a date, a number, texts and amounts.
  std::string old(kLines * kOldSize, '\0');
  for (int i = 0; i < kLines; ++i) {
    char* r = old.data() + static_cast<std::size_t>(i) * kOldSize;
    std::snprintf(r, 10, "%c2024%04d", 8, i % 10000);
    std::snprintf(r + 9, 12, "%c%010d", 10, i);
    std::snprintf(r + 51, 20, "%cline text %08d", 18, i);
    const double amount = i * 0.25;
    std::copy_n(reinterpret_cast<const char*>(&amount), 8, r + 192);
  }
  std::vector<records::ReleaseFlagRec> flags(11);
  for (std::size_t i = 0; i < 11; ++i)
    if (i != 4) flags[i].SetConversionCode(store::kConversionCodes[i]);
  const std::string flagBytes(reinterpret_cast<const char*>(flags.data()), flags.size() * 4);

  store::ResetFileSetState(dir);
  store::SetDataFolderOverride(dir);
  double convert = 0, reference = 0;
  std::vector<double> ratios;
  for (auto _ : state) {
    state.PauseTiming();
    WriteFile(dir + "book.vlk", old);
    WriteFile(dir + "releaseflag.vlk", flagBytes);
    std::filesystem::remove(dir + "book005.vlk");
    int result = -1;
    store::OpenFileSet("ADS;FLG;INV;PAY;ADM;CUS;SUP;JVO;GLA;GLC;FRZ", result);
    if (result != 0) {
      state.SkipWithError(store::FileErrorText.c_str());
      break;
    }
    state.ResumeTiming();
    const auto t0 = Clock::now();
    const store::ConversionOutcome outcome = store::ConvertDataFiles();
    const auto t1 = Clock::now();
    state.PauseTiming();
    store::CloseFileSet();
    if (!outcome.Ok() || outcome.converted.size() != 1) {
      state.SkipWithError("the conversion did not run");
      break;
    }
    state.SetIterationTime(Seconds(t0, t1));
    convert += Seconds(t0, t1);

    // The limit: the I/O the conversion cannot do without: one read of the
    // old file, the write of its backup and the write of the new file,
    // each synced.
    WriteFile(dir + "book.vlk", old);
    std::filesystem::remove(dir + "plain-backup.vlk");
    const auto r0 = Clock::now();
    const std::string bytes = ReadFile(dir + "book.vlk");
    WriteFile(dir + "plain-backup.vlk", bytes);
    WriteFile(dir + "plain.vlk", std::string(bytes.size() / kOldSize * kNewSize, 'n'));
    const auto r1 = Clock::now();
    reference += Seconds(r0, r1);
    ratios.push_back(Seconds(t0, t1) / Seconds(r0, r1));
    state.ResumeTiming();
  }
  std::filesystem::remove_all(dir);
  store::ResetFileSetState("");

  const double n = static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
  const double median = Median(ratios);
  state.counters["convert_ms"] = 1000 * convert / n;
  state.counters["read_and_write_ms"] = 1000 * reference / n;
  state.counters["median_convert_per_read_and_write"] = median;
  const bool within = median <= 3;
  std::fprintf(stderr, "convert %.1f ms, one read + the backup and new writes %.1f ms; median ratio %.2f (limit 3): %s\n",
               1000 * convert / n, 1000 * reference / n, median, Verdict(within));
  if (!within) state.SkipWithError("the conversion is over 3 times one read and its two writes");
}
BENCHMARK(BM_ConvertVoucherFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
