// The one amount rule: a double's cents as the screen shows them, and the
// same cents wherever the program counts them (the audit file, the bank
// import's matching, the invoice rules).
#include "text/amount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "books/exchange/auditfile.h"
#include "books/journal/bankimportrun.h"
#include "books/journal/invoicestore.h"
#include "records/invoicerec.h"
#include "records/paymentrec.h"
#include "support/reset.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace {

// The digits and the sign of FormatAmount's text, as units.
std::int64_t ShownUnits(double value, int decimals) {
  std::string digits;
  bool negative = false;
  for (const char c : text::FormatAmount(value, decimals, 'N')) {
    if (c >= '0' && c <= '9') digits += c;
    if (c == '-') negative = true;
  }
  const std::int64_t units = std::stoll(digits);
  return negative ? -units : units;
}

struct CentsCase {
  double value;
  int decimals;
  std::int64_t units;
};

// Typed amounts whose double lies just below the half (1.005 is
// 1.00499999999999989...) round as typed; a double that is not what was typed
// keeps its own digits.
const CentsCase kCases[] = {
    {1.005, 2, 101},
    {0.285, 2, 29},
    {10.075, 2, 1008},
    {2.675, 2, 268},
    {-2.675, 2, -268},
    {-1.005, 2, -101},
    {0.1 + 0.2, 2, 30},
    {std::nextafter(1.005, 0.0), 2, 100},  // 1.0049999999999997
    {0.004999, 2, 0},
    {0.005, 2, 1},
    {-0.004, 2, 0},
    {0, 2, 0},
    {12345678901234.56, 2, 1234567890123456},
    {0.5, 0, 1},
    {-0.5, 0, -1},
    {1.23455, 4, 12346},
    {7.25, 1, 73},
};

class AmountRule : public ::testing::Test {
 protected:
  void SetUp() override {
    text::SystemSettings.AmountDecimals = 2;
    text::SystemSettings.CurrencySign = '\x80';
  }

 private:
  support::ProgramState state_;
};

TEST_F(AmountRule, TheSameUnitsFromEveryCounterAsOnTheScreen) {
  for (const CentsCase& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.value << " at " << c.decimals);
    EXPECT_EQ(text::ToCents(c.value, c.decimals), c.units);
    EXPECT_EQ(ShownUnits(c.value, c.decimals), c.units);
    EXPECT_DOUBLE_EQ(text::RoundToUnit(c.value, c.decimals), static_cast<double>(c.units) / std::pow(10, c.decimals));
    if (c.decimals != 2) continue;
    EXPECT_EQ(books::exchange::AmountCents(c.value), c.units);

    // The bank import matches a stored payment by these cents: the row
    // holding the shown amount is the same payment, one cent more is not.
    books::journal::ImportRow row;
    row.valueDate = "20240105";
    row.amount = std::fabs(static_cast<double>(c.units)) / 100;
    records::PaymentRec stored;
    stored.SetValueDate("20240105");
    stored.SetAmount(c.value);
    EXPECT_TRUE(books::journal::SameAsStoredPayment(row, stored));
    row.amount += 0.01;
    EXPECT_FALSE(books::journal::SameAsStoredPayment(row, stored));

    // An invoice of the amount, paid with the shown amount, owes nothing.
    records::InvoiceRec invoice;
    invoice.SetInvoiceAmount(c.value);
    invoice.SetPaidAmount(static_cast<double>(c.units) / 100);
    EXPECT_FALSE(books::journal::InvoiceOwes(invoice, 2));
  }
}

TEST(AmountRuleLimits, WhatCannotBeCountedIsNoAmount) {
  EXPECT_EQ(text::ToCents(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
  EXPECT_EQ(text::ToCents(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(text::ToCents(1e17), std::nullopt);  // 19 digits of cents
  EXPECT_EQ(text::ToCents(9e15), 900000000000000000);
  EXPECT_TRUE(std::isnan(text::RoundToUnit(std::numeric_limits<double>::quiet_NaN(), 2)));
  EXPECT_EQ(text::RoundToUnit(1e17, 2), 1e17);
  EXPECT_FALSE(text::SameUnits(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()));
  EXPECT_TRUE(text::SameUnits(1.005, 1.01));
  EXPECT_FALSE(text::SameUnits(1.004, 1.01));
}

TEST(AmountRuleLimits, ToleranceIsAnAbsoluteDifferenceAndNeverHoldsForNaN) {
  struct Case {
    double a, b, tolerance;
    bool same;
  } cases[] = {
      {100, 100.0000009, text::kBalanceTolerance, true},
      {100, 100.0000011, text::kBalanceTolerance, false},
      {100.0000011, 100, text::kBalanceTolerance, false},
      {100, 100.000009, text::kVoucherTolerance, true},
      {100, 100.00001, text::kVoucherTolerance, false},
      {std::numeric_limits<double>::quiet_NaN(), 0, text::kVoucherTolerance, false},
  };
  for (const Case& c : cases) EXPECT_EQ(text::SameAmount(c.a, c.b, c.tolerance), c.same) << c.a << " " << c.b;
}

}  // namespace
