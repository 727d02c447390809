// A partner's figures (see partnerfinance.h).
#include "books/partners/partnerfinance.h"

#include <algorithm>
#include <string>

#include "store/recordscan.h"
#include "store/scopedfileset.h"

namespace books::partners {

std::string ShiftDateBackOneYear(std::string_view ymd) {
  if (ymd.size() < 4 || !std::all_of(ymd.begin(), ymd.begin() + 4, [](char c) { return c >= '0' && c <= '9'; }))
    return std::string(ymd);
  const int year = std::max(std::stoi(std::string(ymd.substr(0, 4))) - 1, 0);
  std::string digits = std::to_string(year);
  digits.insert(0, 4 - std::min<std::size_t>(4, digits.size()), '0');
  return digits + std::string(ymd.substr(4));
}

BucketPlace PlaceInPeriods(const records::AdminSettingsRec& settings, std::string_view voucherDate) {
  const int n = settings.PeriodCount();
  const std::string d(voucherDate);
  const std::string end = settings.BookYearEnd();
  const int last = records::AdminSettingsRec::kPeriodStartCount;
  for (int k = 1; k <= last; ++k)
    if (d < ShiftDateBackOneYear(settings.PeriodStart(k)) && n >= k - 1) return {true, k - 1};
  if (d <= ShiftDateBackOneYear(end) && n >= 15) return {true, 15};
  for (int k = 2; k <= last; ++k)
    if (d < settings.PeriodStart(k) && n >= k - 1) return {false, k - 1};
  if (d <= end && n >= 15) return {false, 15};
  return {false, 16};
}

double PartnerFinance::CurrentYearInvoiced() const {
  double sum = 0;
  for (int p = 1; p <= 15; ++p) sum += buckets[static_cast<std::size_t>(p)].curInvoiced;
  return sum;
}

double PartnerFinance::PreviousYearInvoiced() const {
  double sum = 0;
  for (int p = 1; p <= 15; ++p) sum += buckets[static_cast<std::size_t>(p)].prevInvoiced;
  return sum;
}

FinanceAccumulator::FinanceAccumulator(PartnerKind kind, std::int32_t number,
                                       const records::AdminSettingsRec& settings)
    : type_(records::CodeOf(KindInfo(kind).relationshipType)), number_(number), settings_(settings) {}

void FinanceAccumulator::AddInvoice(const records::InvoiceRec& rec) {
  if (rec.PartnerNumber() != number_ || rec.PartnerType() != type_) return;
  const double amount = rec.InvoiceAmount(), paid = rec.PaidAmount();
  finance_.invoices.push_back({rec.VoucherDate(), rec.InvoiceDate(), rec.InvoiceNumber(), amount, amount - paid});
  finance_.totalOwing += amount - paid;
  const BucketPlace place = PlaceInPeriods(settings_, rec.VoucherDate());
  PeriodBucket& b = finance_.buckets[static_cast<std::size_t>(place.entry)];
  if (place.previous) {
    b.prevInvoiced += amount;
    b.prevPaid += paid;
  } else {
    b.curInvoiced += amount;
    b.curPaid += paid;
  }
}

void FinanceAccumulator::AddPayment(const records::PaymentRec& rec) {
  if (rec.PartnerNumber() != number_ || rec.PartnerType() != type_) return;
  finance_.payments.push_back({rec.ValueDate(), rec.PaymentNumber(), rec.Amount(), rec.VoucherCreated()});
  if (!rec.VoucherCreated()) finance_.unbookedPayments += rec.Amount();
}

FinanceRead ReadPartnerFinance(PartnerKind kind, std::int32_t number, const records::AdminSettingsRec& settings) {
  FinanceRead result;
  FinanceAccumulator gather(kind, number, settings);
  store::ScopedFileSet set("INV;PAY");
  if (!set.Ok()) {
    result.failure = set.Failure();
    return result;
  }
  store::ForwardScan<records::InvoiceRec> invoices(store::FileCode::INV, 0, store::RecordCount(store::FileCode::INV));
  while (const records::InvoiceRec* rec = invoices.Next()) gather.AddInvoice(*rec);
  store::ForwardScan<records::PaymentRec> payments(store::FileCode::PAY, 0, store::RecordCount(store::FileCode::PAY));
  while (const records::PaymentRec* rec = payments.Next()) gather.AddPayment(*rec);
  set.Close();
  result.finance = gather.Result();
  return result;
}

FinanceSeries MakeFinanceSeries(const PartnerFinance& f, int periodCount) {
  const int n = std::clamp(periodCount, 0, 15);
  FinanceSeries s;
  for (auto& style : s.values)
    for (auto& slot : style) slot.assign(static_cast<std::size_t>(n), 0.0);
  std::array<double, 4> running{};
  for (int p = 1; p <= n; ++p) {
    const PeriodBucket& b = f.buckets[static_cast<std::size_t>(p)];
    const std::array<double, 4> v = {b.curInvoiced, b.prevInvoiced, b.curPaid, b.prevPaid};
    const std::size_t at = static_cast<std::size_t>(p - 1);
    for (std::size_t slot = 0; slot < 4; ++slot) {
      running[slot] += v[slot];
      s.values[StyleBars][slot][at] = v[slot];
      s.values[StyleLines][slot][at] = v[slot];
      s.values[StyleRunning][slot][at] = running[slot];
    }
  }
  // The open amounts, walked back from what is owed now.
  const PeriodBucket& after = f.buckets[16];
  double open = f.totalOwing - after.curInvoiced + after.curPaid;
  std::vector<double> cur(static_cast<std::size_t>(n)), prev(static_cast<std::size_t>(n));
  for (int x = n; x >= 1; --x) {
    cur[static_cast<std::size_t>(x - 1)] = open;
    const PeriodBucket& b = f.buckets[static_cast<std::size_t>(x)];
    open -= b.curInvoiced - b.curPaid;
  }
  for (int x = n; x >= 1; --x) {
    prev[static_cast<std::size_t>(x - 1)] = open;
    const PeriodBucket& b = f.buckets[static_cast<std::size_t>(x)];
    open -= b.prevInvoiced - b.prevPaid;
  }
  for (auto& style : s.values) {
    style[SlotCurOpen] = cur;
    style[SlotPrevOpen] = prev;
  }
  return s;
}

std::string FinancePeriodLabel(const records::AdminSettingsRec& settings, const std::string& prefix) {
  const std::string lcp = settings.LastClosedPeriod();
  const bool yearClosed = lcp.size() >= 5 && lcp[2] == '/' && lcp.substr(0, 2) == lcp.substr(3, 2);
  return prefix + (yearClosed ? settings.ApprovedAnnualBalance() : settings.CurrentAnnualBalance()) + " " + lcp;
}

}  // namespace books::partners
