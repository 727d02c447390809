// A partner's figures for the finance and graphics tabs of the partners
// form, as plain functions: its invoices and payments, what it still owes,
// the invoiced and paid amounts per period of the current book year and of
// the year before, and the chart's series made from them. No components and
// files but one reader: INV and PAY stream through a `FinanceAccumulator` and
// shows what it gathered.
//
// Rules kept here:
// - An invoice or payment belongs to a partner by kind and number: customer
//   5 ("CUS") is not supplier 5 ("VEN").
// - Periods: entry p (1..N) of the buckets holds period p of the book year
//   (and of the year before, one year earlier); entry 0 what lies before the
//   previous book year, entry 16 what lies after the current one. Dates
//   compare as "YYYYMMDD" texts.
// - The open amount at the end of each period is walked back from the total
//   owing now, taking off what each later period invoiced and adding what it
//   paid.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/partners/partnerstore.h"
#include "records/adminsettingsrec.h"
#include "records/invoicerec.h"
#include "records/paymentrec.h"
#include "store/fileset.h"

namespace books::partners {

inline constexpr int kFinanceBuckets = 17;

struct PeriodBucket {
  double curInvoiced = 0, curPaid = 0, prevInvoiced = 0, prevPaid = 0;
};

// "YYYYMMDD" with the year one lower, month and day kept (a text only
// compared, so 29 February stays 29 February).
std::string ShiftDateBackOneYear(std::string_view ymd);

// Where an invoice dated `voucherDate` counts: the previous or the current
// book year, and the entry (0..16).
struct BucketPlace {
  bool previous = false;
  int entry = 16;
  bool operator==(const BucketPlace&) const = default;
};
BucketPlace PlaceInPeriods(const records::AdminSettingsRec& settings, std::string_view voucherDate);

struct FinanceInvoiceRow {
  std::string voucherDate, invoiceDate, number;
  double amount = 0, owing = 0;
};
struct FinancePaymentRow {
  std::string valueDate;
  std::int32_t number = 0;
  double amount = 0;
  bool voucherCreated = false;
};

struct PartnerFinance {
  std::array<PeriodBucket, kFinanceBuckets> buckets{};
  std::vector<FinanceInvoiceRow> invoices;
  std::vector<FinancePaymentRow> payments;
  double totalOwing = 0;        // amount - paid over the invoices
  double unbookedPayments = 0;  // payments without a voucher
  // Invoiced in periods 1..15 of the current and the previous book year.
  double CurrentYearInvoiced() const;
  double PreviousYearInvoiced() const;
};

// Gathers a partner's figures from the records as they are read.
class FinanceAccumulator {
 public:
  FinanceAccumulator(PartnerKind kind, std::int32_t number, const records::AdminSettingsRec& settings);
  void AddInvoice(const records::InvoiceRec& rec);
  void AddPayment(const records::PaymentRec& rec);
  const PartnerFinance& Result() const { return finance_; }

 private:
  std::string type_;
  std::int32_t number_;
  const records::AdminSettingsRec& settings_;
  PartnerFinance finance_;
};

// Reads the partner's figures from INV and PAY in one file set (nested
// into a set the caller holds), forwards in blocks; `failure` when the set
// did not open (nothing read).
struct FinanceRead {
  PartnerFinance finance;
  std::optional<store::FileSetFailure> failure;
};
FinanceRead ReadPartnerFinance(PartnerKind kind, std::int32_t number, const records::AdminSettingsRec& settings);

// The chart's six slots: current and previous invoiced, paid and open.
enum FinanceSlot { SlotCurInvoiced, SlotPrevInvoiced, SlotCurPaid, SlotPrevPaid, SlotCurOpen, SlotPrevOpen };
inline constexpr int kFinanceSlots = 6;
// The chart's three styles: bars, lines, lines of running totals.
enum FinanceStyle { StyleBars, StyleLines, StyleRunning };
inline constexpr int kFinanceStyles = 3;

// The values of the slots for periods 1..N (index p - 1), per style: bars
// and lines the period's amounts, running totals their sum over periods
// 1..p; the two open-amount slots the amount open at each period's end in
// every style.
struct FinanceSeries {
  std::array<std::array<std::vector<double>, kFinanceSlots>, kFinanceStyles> values;
};
FinanceSeries MakeFinanceSeries(const PartnerFinance& finance, int periodCount);

// The period label: the prefix, the approved annual balance when the last
// closed period is the last one ("12/12"), else the current one, a blank
// and the last closed period.
std::string FinancePeriodLabel(const records::AdminSettingsRec& settings, const std::string& prefix);

}  // namespace books::partners
