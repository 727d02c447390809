// The invoice and payment stores on real temporary files of 100,000
// invoices (22 MB) and 100,000 payments (58 MB), half of each booked.
//
// Invoice list pages: the first and the last page of the open or unbooked
// invoices must each take under 50 ms. The payment list's last page walks
// the whole file and must stay within 3 times one sequential read of it.
// Storing a new invoice or payment at the front moves the whole tail once,
// crash-safe: measured against one plain block copy of the tail in the same
// run, it must stay within 3 block copies plus the syncs it makes, which
// are measured while it runs (SyncTimer).
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

#include "books/journal/invoicestore.h"
#include "books/journal/paymentstore.h"
#include "records/invoicerec.h"
#include "records/paymentrec.h"
#include "store/fileset.h"
#include "support.h"
#include "text/systemsettings.h"

namespace {

constexpr int kRecords = 100000;

using namespace bench;

records::InvoiceRec Invoice(int i) {
  records::InvoiceRec rec;
  char number[16];
  std::snprintf(number, sizeof number, "%07d", i);
  rec.SetVoucherDate("20240601");
  rec.SetInvoiceDate("20240601");
  rec.SetPartnerType("CUS");
  rec.SetPartnerNumber(1 + i % 500);
  rec.SetInvoiceNumber(number);
  rec.SetInvoiceAmount(121);
  const bool booked = i % 2 != 0;
  rec.SetPaidAmount(booked ? 121 : 0);
  rec.SetVoucherCreated(booked);
  return rec;
}

records::PaymentRec Payment(int i) {
  records::PaymentRec rec;
  rec.SetValueDate("20240601");
  rec.SetPartnerType("CUS");
  rec.SetPartnerNumber(1);
  rec.SetPaymentNumber(i + 1);
  rec.SetAmount(121);
  rec.SetVoucherCreated(i % 2 != 0);
  return rec;
}

// A temporary folder holding both files, and the data-file set pointed at it.
struct DocumentFolder : DataFolder {
  std::string invPath, payPath;
  DocumentFolder() : DataFolder("dbench") {
    invPath = dir + "/invsum.vlk";
    payPath = dir + "/payment.vlk";
    Write(invPath, [] {
      std::vector<records::InvoiceRec> recs;
      for (int i = 0; i < kRecords; ++i) recs.push_back(Invoice(i));
      return recs;
    }());
    Write(payPath, [] {
      std::vector<records::PaymentRec> recs;
      for (int i = 0; i < kRecords; ++i) recs.push_back(Payment(i));
      return recs;
    }());
    Use();
    text::SystemSettings.AmountDecimals = 2;
  }
  template <class R>
  static void Write(const std::string& path, const std::vector<R>& recs) {
    WriteSynced(path, reinterpret_cast<const char*>(recs.data()), recs.size() * R::kSize);
  }
};

void BM_InvoicePagesFirstAndLast(benchmark::State& state) {
  DocumentFolder folder;
  const books::journal::InvoiceFilter filter;  // owing or without voucher: half the file
  const int lastPage = (kRecords / 2 - 1) / books::journal::kDocumentPageRows;
  if (books::journal::ListInvoices(filter, lastPage).value->more) std::abort();  // warm up
  double worstFirst = 0, worstLast = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const auto first = books::journal::ListInvoices(filter, 0);
    const auto t1 = Clock::now();
    const auto last = books::journal::ListInvoices(filter, lastPage);
    const auto t2 = Clock::now();
    if (first.value->rows.size() != 100u || !first.value->more || last.value->rows.size() != 100u || last.value->more) std::abort();
    state.SetIterationTime(Seconds(t0, t2));
    worstFirst = std::max(worstFirst, Seconds(t0, t1));
    worstLast = std::max(worstLast, Seconds(t1, t2));
  }
  state.counters["first_page_ms"] = 1000 * worstFirst;
  state.counters["last_page_ms"] = 1000 * worstLast;
  const bool within = worstFirst < 0.05 && worstLast < 0.05;
  std::fprintf(stderr, "invoice list of %d: first page %.2f ms, last page %.2f ms (limit 50 each): %s\n", kRecords,
               1000 * worstFirst, 1000 * worstLast, Verdict(within));
  if (!within) state.SkipWithError("an invoice page takes 50 ms or more");
}
BENCHMARK(BM_InvoicePagesFirstAndLast)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_PaymentListAgainstOneSequentialRead(benchmark::State& state) {
  DocumentFolder folder;
  const std::size_t bytes = static_cast<std::size_t>(kRecords) * records::PaymentRec::kSize;
  const int fd = ::open(folder.payPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  SequentialRead sequential(fd, bytes);
  sequential();
  const int lastPage = (kRecords / 2 - 1) / books::journal::kDocumentPageRows;
  double read = 0, list = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    sequential();
    const auto t1 = Clock::now();
    const auto page = books::journal::ListPayments(books::journal::PaymentFilter{}, lastPage);
    const auto t2 = Clock::now();
    if (page.value->rows.size() != 100u || page.value->more) std::abort();
    state.SetIterationTime(Seconds(t1, t2));
    read += Seconds(t0, t1);
    list += Seconds(t1, t2);
  }
  ::close(fd);
  const double n = static_cast<double>(state.iterations());
  state.counters["sequential_read_ms"] = 1000 * read / n;
  state.counters["last_page_ms"] = 1000 * list / n;
  const bool within = list <= 3 * read;
  std::fprintf(stderr, "payment list of %d: one sequential read %.1f ms, last page %.1f ms (limit 3 reads): %s\n",
               kRecords, 1000 * read / n, 1000 * list / n, Verdict(within));
  if (!within) state.SkipWithError("the payment list is over 3 sequential reads");
}
BENCHMARK(BM_PaymentListAgainstOneSequentialRead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// A new document at the front of `path`, against one block copy of the tail
// plus the syncs the store makes; `store` stores it and `remove` takes it off
// again.
template <class R, class Store, class Remove>
void StoreAtTheFront(benchmark::State& state, const std::string& path, const std::string& dir, Store store,
                     Remove remove, const char* what) {
  const std::size_t bytes = static_cast<std::size_t>(kRecords) * R::kSize;
  SyncTimer syncs;
  store();  // warm up: the page cache, the move buffer and the kept journal
  remove();
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  const std::string sidePath = dir + "/side";
  const int side = ::open(sidePath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 || side < 0) std::abort();
  std::vector<char> buffer(bytes + R::kSize);
  std::vector<double> ratios;
  double insert = 0, block = 0, synced = 0;
  int count = 0;
  for (auto _ : state) {
    syncs.Reset();
    const auto t0 = Clock::now();
    store();
    const auto t1 = Clock::now();
    state.SetIterationTime(Seconds(t0, t1));
    insert += Seconds(t0, t1);
    synced += syncs.Seconds();
    count = syncs.Count();
    state.PauseTiming();
    const double storeSyncs = syncs.Seconds();
    remove();
    if (::fsync(fd) != 0) std::abort();
    const TailCopy tail = CopyTail(fd, side, buffer, bytes, R::kSize);
    block += tail.copy;
    ratios.push_back((Seconds(t0, t1) - storeSyncs) / tail.copy);
    MoveTailBack(fd, buffer, bytes, R::kSize);
    if (::fsync(fd) != 0) std::abort();
    state.ResumeTiming();
  }
  ::close(fd);
  ::close(side);
  const double n = static_cast<double>(state.iterations());
  const double median = Median(ratios);
  state.counters["store_front_ms"] = 1000 * insert / n;
  state.counters["blockcopy_ms"] = 1000 * block / n;
  state.counters["store_syncs_ms"] = 1000 * synced / n;
  state.counters["median_store_less_syncs_per_blockcopy"] = median;
  const bool within = median <= 3;
  std::fprintf(stderr, "%s at the front %.1f ms, block copy of the tail %.1f ms, its %d syncs %.1f ms; "
               "(store - syncs) / block copy, median %.2f (limit: 3 block copies plus the measured syncs): %s\n",
               what, 1000 * insert / n, 1000 * block / n, count, 1000 * synced / n, median, Verdict(within));
  if (!within) state.SkipWithError("the store is over 3 block copies plus the measured syncs");
}

void BM_StoreInvoiceAtTheFront(benchmark::State& state) {
  DocumentFolder folder;
  records::InvoiceRec front = Invoice(0);
  front.SetVoucherDate("20240101");
  StoreAtTheFront<records::InvoiceRec>(
      state, folder.invPath, folder.dir,
      [&] {
        if (!books::journal::InsertInvoice(front).Ok()) std::abort();
      },
      [&] {
        const auto found = books::journal::FindInvoice(books::journal::InvoiceKeyOf(front));
        if (!found.Ok() || !books::journal::DeleteInvoice(*found.value).Ok()) std::abort();
      },
      "a new invoice");
}
BENCHMARK(BM_StoreInvoiceAtTheFront)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_StorePaymentAtTheFront(benchmark::State& state) {
  DocumentFolder folder;
  records::PaymentRec front = Payment(0);
  front.SetValueDate("20240101");
  StoreAtTheFront<records::PaymentRec>(
      state, folder.payPath, folder.dir,
      [&] {
        if (!books::journal::InsertPayment(front).Ok()) std::abort();
      },
      [&] {
        const auto found = books::journal::FindPayment({"20240101", "CUS", 1, 1});
        if (!found.Ok() || !books::journal::DeletePayment(*found.value).Ok()) std::abort();
      },
      "a new payment");
}
BENCHMARK(BM_StorePaymentAtTheFront)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
