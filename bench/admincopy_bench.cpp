// A full copy of an administration whose voucher file holds 200,000 lines
// (392 bytes each), on real temporary files, into an empty administration:
// the source's files read under its set, each target file written through a
// temporary file, synced and renamed. In the same run, the limit it is
// measured against: a plain copy of the same files' bytes, one read and one
// synced write per file. The copy must stay within 3 times that.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "books/administration/admincopy.h"
#include "records/releaseflagrec.h"
#include "store/dataconversion.h"
#include "store/fileset.h"
#include "support.h"

namespace {

constexpr int kLines = 200000;

using namespace bench;

std::string ReadWhole(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  std::string bytes(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)), '\0');
  if (!bytes.empty()) ReadAll(fd, bytes.data(), bytes.size(), 0);
  ::close(fd);
  return bytes;
}

void BM_CopyAdministration(benchmark::State& state) {
  DataFolder folder("bench-copy");
  folder.Use();
  const std::string from = folder.dir + "/FROM/";
  const std::string to = folder.dir + "/TO/";
  const std::string plain = folder.dir + "/PLAIN/";
  for (const std::string& d : {from, to, plain}) std::filesystem::create_directories(d);
  std::vector<records::ReleaseFlagRec> flags(11);
  for (std::size_t i = 0; i < 11; ++i) flags[i].SetConversionCode(store::kConversionCodes[i]);
  WriteSynced(from + "releaseflag.vlk", reinterpret_cast<const char*>(flags.data()), flags.size() * 4);
  std::string vouchers(static_cast<std::size_t>(kLines) * 392, '\0');
  for (int i = 0; i < kLines; ++i)
    std::snprintf(vouchers.data() + static_cast<std::size_t>(i) * 392, 20, "%c2024%04d", 8, i % 10000);
  WriteSynced(from + "book.vlk", vouchers.data(), vouchers.size());
  const std::string accounts(400 * 376, 'a');
  WriteSynced(from + "ledger.vlk", accounts.data(), accounts.size());
  const std::string settings(1386, 's');
  WriteSynced(from + "adminset.vlk", settings.data(), settings.size());

  double copy = 0, reference = 0;
  std::vector<double> ratios;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(to);
    std::filesystem::create_directories(to);
    state.ResumeTiming();
    const auto t0 = Clock::now();
    const books::administration::CopyOutcome outcome =
        books::administration::CopyAdministration({from, to, books::administration::CopyKind::Full, "", "", ""}, {});
    const auto t1 = Clock::now();
    state.PauseTiming();
    if (outcome.result != books::administration::CopyOutcome::Done || outcome.copied.size() != 11) {
      state.SkipWithError("the copy did not run");
      break;
    }
    state.SetIterationTime(Seconds(t0, t1));
    copy += Seconds(t0, t1);

    // The limit: each file read and written, synced, once.
    const auto r0 = Clock::now();
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
      const std::string name = entry.path().filename().string();
      if (name.front() == '.') continue;
      const std::string bytes = ReadWhole(from + name);
      WriteSynced(plain + name, bytes.data(), bytes.size());
    }
    const auto r1 = Clock::now();
    reference += Seconds(r0, r1);
    ratios.push_back(Seconds(t0, t1) / Seconds(r0, r1));
    state.ResumeTiming();
  }

  const double n = static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
  const double median = Median(ratios);
  state.counters["copy_ms"] = 1000 * copy / n;
  state.counters["plain_copy_ms"] = 1000 * reference / n;
  state.counters["median_copy_per_plain_copy"] = median;
  const bool within = median <= 3;
  std::fprintf(stderr, "copy %.1f ms, plain copy %.1f ms; median ratio %.2f (limit 3): %s\n", 1000 * copy / n,
               1000 * reference / n, median, Verdict(within));
  if (!within) state.SkipWithError("the copy is over 3 times a plain copy of its files");
}
BENCHMARK(BM_CopyAdministration)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
