// The document tabs' decisions: the invoice and payment proposals (they
// balance), the book period's dates, the open-invoice items, the room of an
// invoice number and the partner lookup's criteria.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "books/journal/documentrules.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "text/textroutines.h"

namespace books::journal {
void PrintTo(const ProposedLine& l, std::ostream* os) {
  *os << "{" << l.account << " '" << l.text << "' " << l.amount << " " << l.side << (l.paysInvoice ? " pays" : "") << "}";
}
}  // namespace books::journal

namespace {

using books::journal::OpenInvoiceItem;
using books::journal::ProposedLine;

records::PartnerRec Partner(bool all) {
  records::PartnerRec p;
  p.SetPartnerGroup("1300");
  p.SetSalesCostGroup1("8000");
  p.SetVatGroup1("1600");
  if (all) {
    p.SetSalesCostGroup2("8010");
    p.SetSalesCostGroup3("8020");
    p.SetVatGroup2("1610");
  }
  p.SetCashDiscountAccount("8100");
  return p;
}

double Balance(const std::vector<ProposedLine>& lines) {
  double b = 0;
  for (const ProposedLine& l : lines) b += l.side == 'D' ? l.amount : -l.amount;
  return b;
}

TEST(InvoiceProposal, CustomerAndVendorMirror) {
  for (bool customer : {true, false}) {
    books::journal::InvoiceProposalInput in;
    in.partner = Partner(false);
    in.customer = customer;
    in.partnerNumber = 25;
    in.invoiceNumber = "1001";
    in.gross = 121;
    in.rate = 21;
    const char d = customer ? 'D' : 'C', c = customer ? 'C' : 'D';
    EXPECT_EQ(books::journal::InvoiceProposal(in),
              (std::vector<ProposedLine>{{"1300", "25/1001", 121, d}, {"8000", "", 100, c}, {"1600", "", 21, c}}))
        << customer;
  }
}

TEST(InvoiceProposal, TableOfPrepaidRatesAndAccounts) {
  struct Case {
    double gross, prepaid, rate;
    bool allAccounts;
    std::size_t lines;
  };
  for (const Case& k : std::vector<Case>{{121, 0, 21, false, 3},
                                         {121, 20, 21, false, 6},
                                         {121, 0, 0, false, 3},
                                         {10.01, 0, 21, false, 3},
                                         {121, 20, 21, true, 8},   // the ninth (tax 2) is not proposed
                                         {0.05, 0, 21, false, 3}}) {
    books::journal::InvoiceProposalInput in;
    in.partner = Partner(k.allAccounts);
    in.gross = k.gross;
    in.prepaid = k.prepaid;
    in.rate = k.rate;
    in.prepaidCaption = "Prepaid";
    const auto lines = books::journal::InvoiceProposal(in);
    EXPECT_EQ(lines.size(), k.lines) << k.gross << " " << k.prepaid;
    EXPECT_NEAR(Balance(lines), 0, 1e-9) << k.gross << " " << k.prepaid << " " << k.rate;
    if (k.rate == 0) {
      EXPECT_EQ(lines[1].amount, k.gross);  // the sales line takes the whole amount
    }
  }
  // Half a cent of tax is rounded once and the net takes the rest.
  EXPECT_DOUBLE_EQ(books::journal::TaxShare(10.01, 21, 2), 1.74);
  EXPECT_DOUBLE_EQ(books::journal::TaxShare(0.05, 25, 2), 0.01);
}

TEST(InvoiceProposal, RateIsTheLastEntryOfTheAccount) {
  const std::vector<books::journal::SalesTaxAccount> table = {{"1600", "H", 21}, {"1610", "L", 9}, {"1600", "X", 6}};
  EXPECT_EQ(books::journal::RateOfAccount(table, "1600"), 6);
  EXPECT_EQ(books::journal::RateOfAccount(table, "1610  "), 9);
  EXPECT_EQ(books::journal::RateOfAccount(table, "1700"), 0);
  EXPECT_EQ(books::journal::RateOfAccount(table, ""), 0);
}

class BookPeriod : public ::testing::Test {
 protected:
  records::AdminSettingsRec s;
  void SetUp() override {
    s.SetBookYearStart("20240101");
    s.SetBookYearEnd("20241231");
    s.SetPeriodCount(12);
    for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, "2024" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
    s.SetPeriodStart(13, "20250101");
  }
};

TEST_F(BookPeriod, ClampTable) {
  struct Case {
    const char* date;
    const char* period;
    const char* book;
  };
  for (const Case& k : std::vector<Case>{{"20240215", "03/12", "20240301"},
                                         {"20240310", "03/12", "20240310"},
                                         {"20240420", "03/12", "20240331"},
                                         {"20241231", "12/12", "20241231"},  // the last period ends on the year's end
                                         {"20250110", "12/12", "20241231"},
                                         {"20240420", "", "20240420"},
                                         {"20240420", "xx", "20240420"}})
    EXPECT_EQ(books::journal::BookDateForPeriod(k.date, k.period, s), std::optional<std::string>(k.book))
        << k.date << " " << k.period;
  // Fifteen periods: period 15 is the last whatever the count says.
  s.SetPeriodCount(15);
  s.SetPeriodStart(15, "20241201");
  EXPECT_EQ(books::journal::BookDateForPeriod("20250301", "15/15", s), std::optional<std::string>("20241231"));
  EXPECT_EQ(books::journal::BookDateForPeriod("2024", "03/12", s), std::nullopt);
}

TEST_F(BookPeriod, PeriodOfABookDate) {
  EXPECT_EQ(books::journal::PeriodTextOf("20240315", s), "03/12");
  EXPECT_EQ(books::journal::PeriodTextOf("20241231", s), "12/12");
  EXPECT_EQ(books::journal::PeriodTextOf("20231231", s), "");
  EXPECT_EQ(books::journal::PeriodTextOf("20250101", s), "");
}

TEST(InvoiceNumberRoom, KindPartnerAndSlashLeaveTheRest) {
  EXPECT_EQ(books::journal::MaxInvoiceNumberLength("CUS", 1), 15);
  EXPECT_EQ(books::journal::MaxInvoiceNumberLength("CUS", 1234), 12);  // "CUS1234/" + 12 = 20
  EXPECT_EQ(books::journal::MaxInvoiceNumberLength("VEN", 2147483647), 6);
}

TEST(KindList, ItemsKindsAndStoredCodes) {
  using records::DocumentKind;
  const struct {
    int item;
    DocumentKind kind;
  } items[] = {{0, DocumentKind::Customer}, {1, DocumentKind::Vendor}, {2, DocumentKind::Receipt},
               {3, DocumentKind::Payment}};
  for (const auto& c : items) {
    EXPECT_EQ(books::journal::KindOfItem(c.item), c.kind) << c.item;
    EXPECT_EQ(books::journal::ItemOfKind(c.kind), c.item) << c.item;
    EXPECT_EQ(books::journal::KindIndexOf(records::CodeOf(c.kind)), c.item) << c.item;
    EXPECT_EQ(books::journal::ProposalKindOf(records::CodeOf(c.kind)), c.kind) << c.item;
  }
  // No item chosen, or one past the list: a customer.
  EXPECT_EQ(books::journal::KindOfItem(-1), DocumentKind::Customer);
  EXPECT_EQ(books::journal::KindOfItem(4), DocumentKind::Customer);
  // An unknown stored code has no item and is proposed as a payment without partner.
  for (const char* code : {"", "XYZ", "cus", "SUP"}) {
    EXPECT_EQ(books::journal::KindIndexOf(code), -1) << code;
    EXPECT_EQ(books::journal::ProposalKindOf(code), DocumentKind::Payment) << code;
  }
}

TEST(OpenInvoices, OwingAboveZeroWithTheirDiscount) {
  auto invoice = [](const char* number, double amount, double paid) {
    records::InvoiceRec r;
    r.SetVoucherDate("20240110");
    r.SetPartnerType("CUS");
    r.SetPartnerNumber(5);
    r.SetInvoiceNumber(number);
    r.SetInvoiceAmount(amount);
    r.SetPaidAmount(paid);
    r.SetDiscountDate("20240120");
    return r;
  };
  const auto items = books::journal::OpenInvoiceItems(
      {invoice("1", 100, 0), invoice("2", 100, 100), invoice("3", 50, 60), invoice("4", 1234567.89, 0.004)}, 2, 2);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].key.number, "1");
  EXPECT_DOUBLE_EQ(items[0].discount, 2);
  EXPECT_DOUBLE_EQ(items[1].owing, 1234567.89);
  EXPECT_DOUBLE_EQ(items[1].discount, 24691.36);  // a value, never a text with an exponent
  platform::ScopedNumberFormat numbers{'.'};
  EXPECT_EQ(items[0].Text(2), "20240110/1/ 100.00 (2.00 )");
}

OpenInvoiceItem Item(const char* number, double owing, double discount) {
  OpenInvoiceItem item;
  item.key = {"20240110", "CUS", 5, number};
  item.owing = owing;
  item.discount = discount;
  item.discountDate = "20240120";
  return item;
}

TEST(PaymentProposal, TableOfKindsTicksAndTerms) {
  struct Case {
    const char* kind;
    double amount;
    std::vector<OpenInvoiceItem> ticked;
    const char* date;
    double rate;
    std::vector<ProposedLine> lines;
    int decimals = 2;
  };
  const std::vector<Case> cases = {
      // 98 against 100 with 2 discount: on time the discount line, late the remainder.
      {"CUS", 98, {Item("1", 100, 2)}, "20240120", 0,
       {{"1000", "", 98, 'D'}, {"1300", "20240110/1", 100, 'C', true}, {"8100", "", 2, 'D'}}},
      {"CUS", 98, {Item("1", 100, 2)}, "20240121", 0,
       {{"1000", "", 98, 'D'}, {"1300", "20240110/1", 100, 'C', true}, {"", "", 2, 'D'}}},
      {"VEN", 98, {Item("1", 100, 2)}, "20240120", 0,
       {{"1000", "", 98, 'C'}, {"1300", "20240110/1", 100, 'D', true}, {"8100", "", 2, 'C'}}},
      {"VEN", 98, {Item("1", 100, 2)}, "20240121", 0,
       {{"1000", "", 98, 'C'}, {"1300", "20240110/1", 100, 'D', true}, {"", "", 2, 'C'}}},
      // The discount split: 12.10 at 21 % is 10.00 net and 2.10 tax.
      {"CUS", 108.9, {Item("1", 121, 12.1)}, "20240101", 21,
       {{"1000", "", 108.9, 'D'}, {"1300", "20240110/1", 121, 'C', true}, {"8100", "", 10, 'D'}, {"1600", "", 2.1, 'D'}}},
      // The tax rounded to the amount decimals and the net taking the rest:
      // 2 x 21 / 121 = 0.347..., so 0.35 tax and 1.65 net; in whole units
      // 5 x 6 / 106 rounds to no tax, and no tax line is written.
      {"CUS", 98, {Item("1", 100, 2)}, "20240101", 21,
       {{"1000", "", 98, 'D'}, {"1300", "20240110/1", 100, 'C', true}, {"8100", "", 1.65, 'D'}, {"1600", "", 0.35, 'D'}}},
      {"VEN", 98, {Item("1", 100, 2)}, "20240101", 21,
       {{"1000", "", 98, 'C'}, {"1300", "20240110/1", 100, 'D', true}, {"8100", "", 1.65, 'C'}, {"1600", "", 0.35, 'C'}}},
      {"CUS", 95, {Item("1", 100, 5)}, "20240101", 6,
       {{"1000", "", 95, 'D'}, {"1300", "20240110/1", 100, 'C', true}, {"8100", "", 5, 'D'}},
       0},
      // Over- and underpaid, several ticked.
      {"CUS", 160, {Item("1", 100, 0), Item("2", 50, 0)}, "20240101", 0,
       {{"1000", "", 160, 'D'}, {"1300", "20240110/1", 100, 'C', true}, {"1300", "20240110/2", 50, 'C', true},
        {"", "", 10, 'C'}}},
      {"VEN", 140, {Item("1", 100, 0), Item("2", 50, 0)}, "20240101", 0,
       {{"1000", "", 140, 'C'}, {"1300", "20240110/1", 100, 'D', true}, {"1300", "20240110/2", 50, 'D', true},
        {"", "", 10, 'C'}}},
      // No tick: the partner line; a receipt without partner has no account and "0".
      {"CUS", 75, {}, "20240101", 0, {{"1000", "", 75, 'D'}, {"1300", "5", 75, 'C'}}},
      {"REC", 50, {}, "20240101", 0, {{"1000", "", 50, 'D'}, {"", "0", 50, 'C'}}},
      {"PAY", 50, {}, "20240101", 0, {{"1000", "", 50, 'C'}, {"", "0", 50, 'D'}}},
  };
  for (const Case& k : cases) {
    books::journal::PaymentProposalInput in;
    in.kind = records::DocumentKindOf(k.kind).value();
    in.bankAccount = "1000";
    in.partner = Partner(false);
    in.partnerNumber = 5;
    in.amount = k.amount;
    in.valueDate = k.date;
    in.ticked = k.ticked;
    in.discountTaxRate = k.rate;
    in.decimals = k.decimals;
    const auto lines = books::journal::PaymentProposal(in);
    EXPECT_EQ(lines, k.lines) << k.kind << " " << k.amount << " " << k.date;
    EXPECT_NEAR(Balance(lines), 0, 1e-9) << k.kind << " " << k.amount;
  }
}

TEST(PaymentProposal, NoTaxLineWithoutTaxAccountOrRate) {
  books::journal::PaymentProposalInput in;
  in.bankAccount = "1000";
  in.partner = Partner(false);
  in.partner.SetVatGroup1("");
  in.amount = 108.9;
  in.valueDate = "20240101";
  in.ticked = {Item("1", 121, 12.1)};
  in.discountTaxRate = 21;
  const auto lines = books::journal::PaymentProposal(in);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], (ProposedLine{"8100", "", 12.1, 'D'}));
  EXPECT_EQ(books::journal::PaymentLinesNeeded(4, true, true), 8);
  EXPECT_EQ(books::journal::PaymentLinesNeeded(5, true, true), 9);
  EXPECT_EQ(books::journal::PaymentLinesNeeded(6, false, false), 8);
  EXPECT_DOUBLE_EQ(books::journal::PaymentRest(100, {Item("1", 33.33, 0), Item("2", 33.33, 0)}, 2), 33.34);
}

TEST(PartnerLookup, CriteriaAndTabByRequester) {
  using R = books::journal::PartnerRequester;
  struct Case {
    R requester;
    bool all;
    int tab;
  };
  for (const Case& k : std::vector<Case>{{R::InvoiceTab, true, books::journal::TabInvoice},
                                         {R::InvoiceList, true, books::journal::TabInvoiceList},
                                         {R::InvoiceRow, false, books::journal::TabInvoice},
                                         {R::PaymentTab, false, books::journal::TabPayment},
                                         {R::PaymentList, true, books::journal::TabPaymentList}}) {
    const books::partners::PartnerCriteria c = books::journal::CriteriaFor(k.requester, "12");
    EXPECT_EQ(c.ourNumber, "12");
    EXPECT_EQ(c.text, k.all ? "12" : "");
    EXPECT_EQ(c.theirNumber, k.all ? "12" : "");
    EXPECT_EQ(c.bankAccount, k.all ? "12" : "");
    EXPECT_EQ(books::journal::TabOf(k.requester), k.tab);
  }
}

}  // namespace
