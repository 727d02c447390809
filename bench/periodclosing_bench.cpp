// The period freeze with its closing, and the unfreeze, on a real temporary
// administration whose voucher file holds 200,000 lines (100,000 two-line
// vouchers from February to December).
//
// Freezing January reads the files, computes the balance, and inserts the
// period voucher "! SYSTEM" on 31 January in front of nearly the whole file,
// through the intent record and crash-safe; the unfreeze deletes it again.
// Each is measured against one sequential read of the voucher file plus one
// block copy of the tail the voucher moves, in the same run, and must stay
// within 3 times the read and the copy plus the syncs it makes, measured
// while it runs (SyncTimer).
//
// The freeze's check for invoices and payments without a voucher reads each
// file once, in blocks: on 100,000 invoices and 100,000 payments, all booked
// (so that both files are read to their ends), it must stay within 3 times
// one sequential read of the two files.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "books/journal/paymentstore.h"
#include "records/adminsettingsrec.h"
#include "records/invoicerec.h"
#include "records/paymentrec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "books/closing/periodclosing.h"
#include "store/adminsettingsload.h"
#include "text/systemsettings.h"
#include "support.h"

namespace {

constexpr int kRecords = 200000;
constexpr std::size_t kSize = 392;
constexpr std::size_t kBytes = kRecords * kSize;

using namespace bench;

template <class R>
void WriteRecords(const std::string& path, const std::vector<R>& recs) {
  WriteSynced(path, reinterpret_cast<const char*>(recs.data()), recs.size() * R::kSize);
}

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

struct Books : DataFolder {
  std::string book;
  Books() : DataFolder("closingbench") {
    book = dir + "/book.vlk";
    std::vector<records::JournalVoucherRec> recs(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      const int voucher = i / 2;
      const int month = 2 + voucher * 11 / (kRecords / 2);
      char number[16];
      std::snprintf(number, sizeof number, "%07d", voucher);
      auto& r = recs[static_cast<std::size_t>(i)];
      r.SetVoucherDate("2024" + Two(month) + "15");
      r.SetBookNumber(number);
      r.SetAccountNumber(i % 2 ? "4000" : "1000");
      r.SetDebitAmount(i % 2 ? 0 : 10);
      r.SetCreditAmount(i % 2 ? 10 : 0);
    }
    WriteRecords(book, recs);
    records::AdminSettingsRec s;
    s.SetBookYearStart("20240101");
    s.SetBookYearEnd("20241231");
    s.SetPeriodCount(12);
    for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, "2024" + Two(k) + "01");
    for (int k = 13; k <= 15; ++k) s.SetPeriodStart(k, "20250101");
    s.SetApprovedAnnualBalance("2023");
    s.SetLastClosedPeriod("01/01");
    s.SetCurrentAnnualBalance("2024");
    s.SetCurrentPeriod("01/12");
    s.SetFiscalYear("2024");
    s.SetProfitAccountNumber("0800");
    s.SetDayBookName("Daybook");
    WriteRecords(dir + "/adminset.vlk", std::vector<records::AdminSettingsRec>{s});
    std::vector<records::LedgerCategoryRec> cats(2);
    cats[0].SetCategoryKind(records::kBalanceSheetKind);
    cats[0].SetCategoryName("Balance");
    cats[1].SetCategoryKind(records::kProfitAndLossKind);
    cats[1].SetCategoryName("Results");
    WriteRecords(dir + "/ledgerct.vlk", cats);
    const char* accounts[][3] = {{"0800", "C", "Balance"}, {"0900", "P", "Balance"}, {"0950", "T", "Results"},
                                 {"1000", "D", "Balance"}, {"4000", "C", "Results"}};
    std::vector<records::LedgerAccountRec> gla;
    for (const auto& a : accounts) {
      auto& r = gla.emplace_back();
      r.SetAccountNumber(a[0]);
      r.SetAccountType(a[1]);
      r.SetCategoryName(a[2]);
      r.SetStartDate("20000101");
      r.SetEndDate("20501231");
    }
    WriteRecords(dir + "/ledger.vlk", gla);
    Use();
    text::SystemSettings.AmountDecimals = 2;
    if (store::LoadAdminSettings()) std::abort();
  }
};

void BM_FreezeAndUnfreezeAgainstAReadAndATailCopy(benchmark::State& state) {
  Books books;
  SyncTimer timer;
  // Warm up the page cache and the kept journals.
  if (!books::closing::FreezeOpenPeriod(store::AdminSettings).Ok()) {
    state.SkipWithError("the freeze failed");
    return;
  }
  if (!books::closing::UnfreezeLastPeriod(store::AdminSettings).Ok()) std::abort();
  const int fd = ::open(books.book.c_str(), O_RDWR | O_CLOEXEC);
  const std::string sidePath = books.dir + "/side";
  const int side = ::open(sidePath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 || side < 0) std::abort();
  SequentialRead sequential(fd, kBytes);
  std::vector<char> buffer(kBytes + 2 * kSize);
  double freeze = 0, unfreeze = 0, read = 0, block = 0, syncs = 0;
  int freezeCount = 0, unfreezeCount = 0;
  std::vector<double> freezeRatios, unfreezeRatios;
  for (auto _ : state) {
    timer.Reset();
    const auto t0 = Clock::now();
    if (!books::closing::FreezeOpenPeriod(store::AdminSettings).Ok()) std::abort();
    const auto t1 = Clock::now();
    const double freezeSyncs = timer.Seconds();
    freezeCount = timer.Count();
    timer.Reset();
    if (!books::closing::UnfreezeLastPeriod(store::AdminSettings).Ok()) std::abort();
    const auto t2 = Clock::now();
    const double unfreezeSyncs = timer.Seconds();
    unfreezeCount = timer.Count();
    state.SetIterationTime(Seconds(t0, t2));

    state.PauseTiming();
    const auto r0 = Clock::now();
    sequential();
    const auto r1 = Clock::now();
    const TailCopy tail = CopyTail(fd, side, buffer, kBytes, 2 * kSize);
    MoveTailBack(fd, buffer, kBytes, 2 * kSize);
    if (::fsync(fd) != 0) std::abort();
    const double reference = Seconds(r0, r1) + tail.copy;
    freeze += Seconds(t0, t1);
    unfreeze += Seconds(t1, t2);
    read += Seconds(r0, r1);
    block += tail.copy;
    syncs += freezeSyncs + unfreezeSyncs;
    freezeRatios.push_back((Seconds(t0, t1) - freezeSyncs) / reference);
    unfreezeRatios.push_back((Seconds(t1, t2) - unfreezeSyncs) / reference);
    state.ResumeTiming();
  }
  ::close(fd);
  ::close(side);
  const double n = static_cast<double>(state.iterations());
  const double f = Median(freezeRatios), u = Median(unfreezeRatios);
  state.counters["freeze_ms"] = 1000 * freeze / n;
  state.counters["unfreeze_ms"] = 1000 * unfreeze / n;
  state.counters["sequential_read_ms"] = 1000 * read / n;
  state.counters["blockcopy_ms"] = 1000 * block / n;
  state.counters["syncs_ms"] = 1000 * syncs / n;
  const bool within = f <= 3 && u <= 3;
  std::fprintf(stderr,
               "freeze %.1f ms, unfreeze %.1f ms; one sequential read %.1f ms, block copy of the tail %.1f ms, "
               "their syncs (%d and %d) %.1f ms; (run - syncs) / (read + copy), median: freeze %.2f, unfreeze %.2f "
               "(limit: 3 reads and block copies plus the measured syncs): %s\n",
               1000 * freeze / n, 1000 * unfreeze / n, 1000 * read / n, 1000 * block / n, freezeCount,
               unfreezeCount, 1000 * syncs / n, f, u, Verdict(within));
  if (!within) state.SkipWithError("a freeze or unfreeze is over 3 reads and copies plus the measured syncs");
}
BENCHMARK(BM_FreezeAndUnfreezeAgainstAReadAndATailCopy)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_UnbookedDocumentCheckAgainstOneReadOfEach(benchmark::State& state) {
  constexpr int kDocuments = 100000;
  DataFolder folder("unbookedbench");
  std::vector<records::InvoiceRec> invoices(kDocuments);
  std::vector<records::PaymentRec> payments(kDocuments);
  for (int i = 0; i < kDocuments; ++i) {
    invoices[static_cast<std::size_t>(i)].SetVoucherDate("20240601");
    invoices[static_cast<std::size_t>(i)].SetVoucherCreated(true);
    payments[static_cast<std::size_t>(i)].SetValueDate("20240601");
    payments[static_cast<std::size_t>(i)].SetVoucherCreated(true);
  }
  const std::string inv = folder.dir + "/invsum.vlk", pay = folder.dir + "/payment.vlk";
  WriteRecords(inv, invoices);
  WriteRecords(pay, payments);
  folder.Use();
  const int invFd = ::open(inv.c_str(), O_RDONLY | O_CLOEXEC), payFd = ::open(pay.c_str(), O_RDONLY | O_CLOEXEC);
  if (invFd < 0 || payFd < 0) std::abort();
  SequentialRead readInv(invFd, kDocuments * records::InvoiceRec::kSize);
  SequentialRead readPay(payFd, kDocuments * records::PaymentRec::kSize);
  readInv();
  readPay();
  double check = 0, read = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    readInv();
    readPay();
    const auto t1 = Clock::now();
    const books::journal::DocumentCheck c = books::journal::AnyDocumentWithoutVoucherBefore("20250101");
    const auto t2 = Clock::now();
    if (!c.Ok() || c.value) std::abort();
    state.SetIterationTime(Seconds(t1, t2));
    read += Seconds(t0, t1);
    check += Seconds(t1, t2);
  }
  ::close(invFd);
  ::close(payFd);
  const double n = static_cast<double>(state.iterations());
  state.counters["check_ms"] = 1000 * check / n;
  state.counters["sequential_reads_ms"] = 1000 * read / n;
  const bool within = check <= 3 * read;
  std::fprintf(stderr, "check of both files %.1f ms, one sequential read of each %.1f ms (limit 3 times): %s\n",
               1000 * check / n, 1000 * read / n, Verdict(within));
  if (!within) state.SkipWithError("the check is over 3 sequential reads");
}
BENCHMARK(BM_UnbookedDocumentCheckAgainstOneReadOfEach)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
