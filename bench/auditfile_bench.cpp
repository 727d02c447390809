// The audit file of a book year of 200,000 voucher lines, on real temporary
// files, against its limit: within 3 times two sequential reads of the
// voucher file plus one write of the output. Measured is what the export
// form does: the file written from the data files in one file set
// (books/exchange/auditfile.h, the voucher file streamed twice in blocks) into one
// text, and the text saved through a temporary file renamed over the
// target (reports/impexp.h).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "books/exchange/auditfile.h"
#include "reports/impexp.h"
#include "support.h"

namespace {

constexpr int kLines = 200000;
constexpr int kAccounts = 300;
using namespace bench;

template <class R>
void WriteRecords(const std::string& path, const std::vector<R>& recs) {
  WriteSynced(path, reinterpret_cast<const char*>(recs.data()), recs.size() * R::kSize);
}

void WriteBooks(const std::string& dir) {
  records::AdminSettingsRec s;
  s.SetTaxRegistrationId("NL001234567B01");
  s.SetCompanyName("Bench & Co");
  s.SetFiscalYear("2026");
  s.SetCurrencyCode("EUR");
  s.SetBookYearStart("20260101");
  s.SetBookYearEnd("20261231");
  s.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k) {
    char d[16];
    std::snprintf(d, sizeof d, "2026%02d01", k);
    s.SetPeriodStart(k, d);
  }
  s.SetPeriodStart(13, "20270101");
  WriteRecords(dir + "/adminset.vlk", std::vector<records::AdminSettingsRec>{s});

  std::vector<records::LedgerAccountRec> accounts(kAccounts);
  for (int i = 0; i < kAccounts; ++i) {
    accounts[i].SetAccountNumber(std::to_string(1000 + i));
    accounts[i].SetCaption("Account " + std::to_string(i));
    accounts[i].SetAccountType(i % 2 ? "D" : "C");
    accounts[i].SetCategoryName("Category");
  }
  WriteRecords(dir + "/ledger.vlk", accounts);

  records::FreezeRec opening;
  opening.SetBookYear(2025);
  opening.SetPeriodLabel("2025-01/01");
  opening.SetPeriodEndDate("20260101");
  WriteRecords(dir + "/freeze.vlk", std::vector<records::FreezeRec>{opening});

  std::vector<records::JournalVoucherRec> lines(kLines);
  for (int i = 0; i < kLines; ++i) {
    records::JournalVoucherRec& j = lines[i];
    char date[16];
    std::snprintf(date, sizeof date, "2026%02d%02d", 1 + i / 20000, 1 + i / 1000 % 20);
    j.SetVoucherDate(date);
    j.SetBookNumber("M" + std::to_string(i / 4));
    j.SetJournalName(i % 3 ? "Memorial" : "Bank");
    j.SetLineText("Line text " + std::to_string(i) + std::string(30, ' '));
    j.SetAccountNumber(std::to_string(1000 + i % kAccounts) + std::string(11, ' '));
    j.SetCostCentre("CC" + std::string(18, ' '));
    j.SetPartnerNumber(-1);
    j.SetDebitAmount(i % 2 ? 1234.56 + i : 0);
    j.SetCreditAmount(i % 2 ? 0 : 98.7 * (i % 100));
    j.SetChangedBy("ADMIN");
  }
  WriteRecords(dir + "/book.vlk", lines);
}

void BM_AuditFileOfAYear(benchmark::State& state) {
  DataFolder folder("auditfile-bench");
  WriteBooks(folder.dir);
  folder.Use();
  const std::string voucherFile = folder.dir + "/book.vlk", output = folder.dir + "/year.xaf";
  const std::string plainOutput = folder.dir + "/plain.xaf";
  const std::size_t voucherBytes = static_cast<std::size_t>(kLines) * records::JournalVoucherRec::kSize;
  const int fd = ::open(voucherFile.c_str(), O_RDONLY);
  if (fd < 0) state.SkipWithError("cannot open the voucher file");
  SequentialRead readVouchers(fd, voucherBytes);
  std::vector<double> ratios;
  double spent = 0, limit = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    books::exchange::AuditFileText written;
    const books::exchange::AuditFileRun run =
        books::exchange::WriteAuditFileFromStore({"BENCH", "2026 2026-12/12", "20270105"}, written);
    if (run.openFailure) {
      state.SkipWithError("the files did not open");
      break;
    }
    if (run.refusal) {
      state.SkipWithError(books::exchange::AuditFileRefusalText(*run.refusal).c_str());
      break;
    }
    const std::vector<std::string_view> pieces(written.pieces.begin(), written.pieces.end());
    if (reports::ReplaceTextFile(output, pieces) != 0) {
      state.SkipWithError("the file was not saved");
      break;
    }
    const auto t1 = Clock::now();
    // The output as one block for the limit's write, not timed; the write
    // goes to a new file, as the save's does.
    const std::string text = written.Text();
    std::filesystem::remove(plainOutput);
    const auto t1b = Clock::now();
    // The limit: two sequential reads of the voucher file, one write of the
    // output.
    readVouchers();
    readVouchers();
    WriteSynced(plainOutput, text.data(), text.size());
    auto t2 = Clock::now();
    spent += Seconds(t0, t1);
    limit += Seconds(t1b, t2);
    ratios.push_back(Seconds(t0, t1) / Seconds(t1b, t2));
  }
  if (fd >= 0) ::close(fd);
  const double n = static_cast<double>(state.iterations());
  const double median = Median(ratios);
  state.counters["audit_ms"] = 1000 * spent / n;
  state.counters["limit_ms"] = 1000 * limit / n;
  state.counters["audit_per_limit"] = median;
  const bool within = median <= 3;
  std::fprintf(stderr,
               "audit file of %d lines %.1f ms, two reads of the vouchers and one write of the file %.1f ms; median "
               "ratio %.2f (limit 3): %s\n",
               kLines, 1000 * spent / n, 1000 * limit / n, median, Verdict(within));
  if (!within) state.SkipWithError("the audit file is over 3 times two reads and one write");
}
BENCHMARK(BM_AuditFileOfAYear)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
