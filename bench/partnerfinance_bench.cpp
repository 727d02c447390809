// The partners form's finance tab on real temporary files: 100,000
// invoices and 100,000 payments of many partners. Computing one partner's
// figures reads both files once, forwards in blocks; it must stay within 3
// times one sequential read of the two files.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "books/partners/partnerfinance.h"
#include "records/adminsettingsrec.h"
#include "records/invoicerec.h"
#include "records/paymentrec.h"
#include "support.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kPartners = 500;

using namespace bench;

template <class R, class Fill>
void WriteFile(const std::string& path, Fill fill) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  constexpr int kChunk = 4096;
  std::vector<R> recs(kChunk);
  for (int first = 0; first < kRecords; first += kChunk) {
    const int n = std::min(kChunk, kRecords - first);
    for (int i = 0; i < n; ++i) fill(recs[static_cast<std::size_t>(i)], first + i);
    WriteAll(fd, reinterpret_cast<const char*>(recs.data()), static_cast<std::size_t>(n) * R::kSize,
             static_cast<off_t>(static_cast<std::size_t>(first) * R::kSize));
  }
  if (::fsync(fd) != 0) std::abort();
  ::close(fd);
}

std::string Date(int i) {
  const int month = 1 + i % 12;
  return std::string(i % 2 ? "2024" : "2023") + (month < 10 ? "0" : "") + std::to_string(month) + "15";
}

struct FinanceFolder : DataFolder {
  FinanceFolder() : DataFolder("fbench") {
    WriteFile<records::InvoiceRec>(dir + "/invsum.vlk", [](records::InvoiceRec& r, int i) {
      r.SetPartnerType(i % 3 ? "CUS" : "VEN");
      r.SetPartnerNumber(1000 + i % kPartners);
      r.SetVoucherDate(Date(i));
      r.SetInvoiceDate(Date(i));
      r.SetInvoiceNumber("F" + std::to_string(i));
      r.SetInvoiceAmount(100 + i % 900);
      r.SetPaidAmount(i % 4 ? 100 + i % 900 : 0);
    });
    WriteFile<records::PaymentRec>(dir + "/payment.vlk", [](records::PaymentRec& r, int i) {
      r.SetPartnerType(i % 3 ? "CUS" : "VEN");
      r.SetPartnerNumber(1000 + i % kPartners);
      r.SetValueDate(Date(i));
      r.SetPaymentNumber(i);
      r.SetAmount(50 + i % 300);
      r.SetVoucherCreated(i % 5 != 0);
    });
    Use();
  }
};

void BM_PartnerFinanceAgainstOneSequentialRead(benchmark::State& state) {
  FinanceFolder folder;
  const int inv = ::open((folder.dir + "/invsum.vlk").c_str(), O_RDONLY | O_CLOEXEC);
  const int pay = ::open((folder.dir + "/payment.vlk").c_str(), O_RDONLY | O_CLOEXEC);
  if (inv < 0 || pay < 0) std::abort();
  SequentialRead readInv(inv, static_cast<std::size_t>(kRecords) * records::InvoiceRec::kSize);
  SequentialRead readPay(pay, static_cast<std::size_t>(kRecords) * records::PaymentRec::kSize);
  readInv();
  readPay();
  records::AdminSettingsRec settings;
  settings.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k)
    settings.SetPeriodStart(k, std::string("2024") + (k < 10 ? "0" : "") + std::to_string(k) + "01");
  settings.SetPeriodStart(13, "20250101");
  settings.SetBookYearEnd("20241231");
  std::vector<double> ratios;
  double read = 0, finance = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    readInv();
    readPay();
    const auto t1 = Clock::now();
    const auto figures = books::partners::ReadPartnerFinance(books::partners::PartnerKind::Customer, 1001, settings);
    const auto t2 = Clock::now();
    if (figures.failure || figures.finance.invoices.empty() || figures.finance.payments.empty()) std::abort();
    state.SetIterationTime(Seconds(t1, t2));
    read += Seconds(t0, t1);
    finance += Seconds(t1, t2);
    ratios.push_back(Seconds(t1, t2) / Seconds(t0, t1));
  }
  ::close(inv);
  ::close(pay);
  const double n = static_cast<double>(state.iterations());
  const double ratio = Median(ratios);
  state.counters["sequential_read_ms"] = 1000 * read / n;
  state.counters["finance_ms"] = 1000 * finance / n;
  std::fprintf(stderr, "one sequential read of INV and PAY %.1f ms; a partner's finance tab %.1f ms, %.2f times (limit 3): %s\n",
               1000 * read / n, 1000 * finance / n, ratio, Verdict(ratio <= 3));
  if (ratio > 3) state.SkipWithError("the finance tab is over its limit");
}
BENCHMARK(BM_PartnerFinanceAgainstOneSequentialRead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
