// Export and import of a voucher file of 200,000 lines as ";"-separated
// text, on real temporary files, against the limits they are measured by:
// the export within 3 times one sequential read of the record file plus one
// write of the text; the import within 3 times one read of the text plus
// one write of the records. The conversions are the plain functions of
// books/exchange/delimited.h; the files are read and written whole here, as the
// form's data store and save do.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "books/exchange/delimited.h"
#include "support.h"

namespace {

constexpr int kLines = 200000;
using records::JournalVoucherRec;
using namespace bench;

// Whole files in large blocks, as the data store and the save do.
std::string ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  std::string bytes(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)), '\0');
  ReadAll(fd, bytes.data(), bytes.size(), 0);
  ::close(fd);
  return bytes;
}

// The records of a record file, read straight into their list as the data
// store reads them.
std::vector<JournalVoucherRec> ReadRecords(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  std::vector<JournalVoucherRec> recs(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)) / JournalVoucherRec::kSize);
  ReadAll(fd, reinterpret_cast<char*>(recs.data()), recs.size() * JournalVoucherRec::kSize, 0);
  ::close(fd);
  return recs;
}

void WriteFile(const std::string& path, const void* data, std::size_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  WriteAll(fd, static_cast<const char*>(data), size, 0);
  ::close(fd);
}

std::vector<JournalVoucherRec> Books() {
  std::vector<JournalVoucherRec> lines(kLines);
  for (int i = 0; i < kLines; ++i) {
    JournalVoucherRec& j = lines[i];
    char date[16];
    std::snprintf(date, sizeof date, "2026%02d%02d", 1 + i / 20000, 1 + i / 1000 % 20);
    j.SetVoucherDate(date);
    j.SetBookNumber("M" + std::to_string(i / 4));
    j.SetJournalName("Memorial");
    j.SetTransactionText("Monthly rent and costs");
    j.SetLineText("Line text " + std::to_string(i) + std::string(30, ' '));
    j.SetAccountNumber(std::to_string(1000 + i % 300) + std::string(11, ' '));
    j.SetAccountCaption("Account caption" + std::string(15, ' '));
    j.SetCostCentre("CC" + std::string(18, ' '));
    j.SetPartnerType("CUS");
    j.SetPartnerNumber(i % 500);
    j.SetDebitAmount(i % 2 ? 1234.56 + i : 0);
    j.SetCreditAmount(i % 2 ? 0 : 98.7 * (i % 100));
    j.SetChangedBy("ADMIN");
    j.SetChangedAt("2026-03-01 10:11:12");
  }
  return lines;
}

void BM_VoucherExportAndImport(benchmark::State& state) {
  const std::string dir = std::filesystem::temp_directory_path() / "ombrelo-delimited-bench";
  std::filesystem::create_directories(dir);
  const std::string recordFile = dir + "/book.vlk", textFile = dir + "/book.csv", scratch = dir + "/scratch";
  const std::vector<JournalVoucherRec> books = Books();
  WriteFile(recordFile, books.data(), books.size() * JournalVoucherRec::kSize);
  double exportTime = 0, importTime = 0, exportRef = 0, importRef = 0;
  std::vector<double> exportRatios, importRatios;
  for (auto _ : state) {
    // Export: the records read, converted, the text written.
    auto t0 = Clock::now();
    const std::vector<JournalVoucherRec> recs = ReadRecords(recordFile);
    const std::string text = books::exchange::CsvFileText(books::exchange::ExportJournalVouchers(recs).lines);
    WriteFile(textFile, text.data(), text.size());
    auto t1 = Clock::now();
    // Its limit: one read of the record file and one write of the text.
    const std::string again = ReadFile(recordFile);
    WriteFile(scratch, text.data(), text.size());
    auto t2 = Clock::now();
    // Import: the text read, checked and converted, the records written.
    const std::string read = ReadFile(textFile);
    const auto in = books::exchange::ImportJournalVouchers(read);
    if (in.error || in.records.size() != books.size()) state.SkipWithError("the import failed");
    WriteFile(scratch, in.records.data(), in.records.size() * JournalVoucherRec::kSize);
    auto t3 = Clock::now();
    // Its limit: one read of the text and one write of the records.
    const std::string readAgain = ReadFile(textFile);
    WriteFile(scratch, again.data(), again.size());
    auto t4 = Clock::now();
    exportTime += Seconds(t0, t1);
    exportRef += Seconds(t1, t2);
    importTime += Seconds(t2, t3);
    importRef += Seconds(t3, t4);
    exportRatios.push_back(Seconds(t0, t1) / Seconds(t1, t2));
    importRatios.push_back(Seconds(t2, t3) / Seconds(t3, t4));
    benchmark::DoNotOptimize(readAgain.size());
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["export_ms"] = 1000 * exportTime / n;
  state.counters["export_limit_ms"] = 1000 * exportRef / n;
  state.counters["import_ms"] = 1000 * importTime / n;
  state.counters["import_limit_ms"] = 1000 * importRef / n;
  const double exportMedian = Median(exportRatios), importMedian = Median(importRatios);
  state.counters["median_export_per_limit"] = exportMedian;
  state.counters["median_import_per_limit"] = importMedian;
  std::filesystem::remove_all(dir);
  const bool within = exportMedian <= 3 && importMedian <= 3;
  std::fprintf(stderr,
               "export %.1f ms against one read and one write %.1f ms, median %.2f; import %.1f ms against one read "
               "and one write %.1f ms, median %.2f (limit 3 each): %s\n",
               1000 * exportTime / n, 1000 * exportRef / n, exportMedian, 1000 * importTime / n,
               1000 * importRef / n, importMedian, Verdict(within));
  if (!within) state.SkipWithError("an export or import is over 3 times its limit");
}
BENCHMARK(BM_VoucherExportAndImport)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
