// The audit file: the text rules, the range and its refusals, the file a
// small administration gives, and the project's schema, which every written
// file must meet and each broken file must fail.
#include "books/exchange/auditfile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/numberformat.h"
#include "store/fileset.h"
#include "text/textroutines.h"
#include "support/fakefs.h"
#include "support/records.h"
#include "support/schemacheck.h"

namespace {

using records::AdminSettingsRec;
using records::FreezeAccountRow;
using records::FreezeRec;
using records::JournalVoucherRec;
using records::LedgerAccountRec;
using records::PartnerRec;
using books::exchange::AuditFileFault;
using books::exchange::AuditFileRefusal;
using books::exchange::AuditFileRequest;
using books::exchange::AuditFileSource;

// ---------------------------------------------------------------- fixture

AdminSettingsRec Settings() {
  AdminSettingsRec s;
  s.SetTaxRegistrationId("NL001234567B01");
  s.SetCompanyName("Smit & Zonen");
  s.SetAddress("Dorpsstraat 1");
  s.SetTown("Utrecht");
  s.SetZipCode("3511 AA");
  s.SetFiscalYear("2008");
  s.SetCurrencyCode("EUR");
  s.SetBookYearStart("20080101");
  s.SetBookYearEnd("20081231");
  s.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k) {
    char d[9];
    std::snprintf(d, sizeof d, "2008%02d01", k);
    s.SetPeriodStart(k, d);
  }
  s.SetPeriodStart(13, "20090101");
  return s;
}

LedgerAccountRec Account(const std::string& number, const std::string& type, const std::string& caption) {
  LedgerAccountRec a;
  a.SetAccountNumber(number);
  a.SetAccountType(type);
  a.SetCaption(caption);
  a.SetCategoryName(type == "P" ? "Result" : "Balance");
  return a;
}

PartnerRec Partner(const std::string& type, std::int32_t number, const std::string& name) {
  PartnerRec p;
  p.SetRelationshipType(type);
  p.SetOurNumber(number);
  p.SetName(name);
  return p;
}

FreezeAccountRow Row(const std::string& account, const std::string& type, const std::string& kind, double own,
                     double other) {
  FreezeAccountRow r;
  r.SetAccountNumber(account);
  r.SetAccountType(type);
  r.SetCategoryKind(kind);
  r.SetClosingOwnSide(own);
  r.SetClosingOtherSide(other);
  return r;
}

FreezeRec Snapshot(std::int32_t year, const std::string& periodEnd, const std::string& label) {
  FreezeRec f;
  f.SetBookYear(year);
  f.SetPeriodEndDate(periodEnd);
  f.SetPeriodLabel(label);
  return f;
}

JournalVoucherRec Line(const std::string& date, const std::string& number, const std::string& journal,
                       const std::string& account, double debit, double credit) {
  JournalVoucherRec v;
  v.SetVoucherDate(date);
  v.SetBookNumber(number);
  v.SetJournalName(journal);
  v.SetAccountNumber(account + std::string(15 - account.size(), ' '));
  v.SetLineText("text");
  v.SetDebitAmount(debit);
  v.SetCreditAmount(credit);
  v.SetPartnerNumber(-1);
  return v;
}

// An administration in its second book year: the opening freeze of 2007,
// one frozen period of 2008, two journals, a partner-linked line.
AuditFileSource Books() {
  AuditFileSource src;
  src.settings = Settings();
  src.accounts = {Account("0100", "D", "Inventaris"), Account("1600", "C", "Crediteuren"),
                  Account("8000", "P", "Omzet <hoog> & laag")};
  PartnerRec cus = Partner("CUS", 12, "Bakker & Co");
  cus.SetAddress("Markt 2");
  cus.SetTown("Delft");
  cus.SetZipCode("2611 GT");
  cus.SetCountry("NL");
  cus.SetTaxAccountNumber("NL999");
  cus.SetTaxVerificationDate("20080301");
  cus.SetCorrAddress("Postbus 5");
  cus.SetEmail("info@bakker.example");
  PartnerRec ven = Partner("VEN", 3, "");
  ven.SetTaxAccountNumber("DE123");  // no verification date
  src.customers = {cus};
  src.suppliers = {ven};
  FreezeRec opening = Snapshot(2007, "20080101", "2007-01/01");
  opening.SetAccount(1, Row("0100", "D", "B", 1000, 250.5));
  opening.SetAccount(2, Row("1600", "C", "B", 749.5, 0));
  opening.SetAccount(3, Row("8000", "P", "P", 5, 0));
  src.freezes = {opening, Snapshot(2008, "20080201", "2008-01/12")};
  JournalVoucherRec before = Line("20071231", "OLD", "Memoriaal", "0100", 1, 0);
  JournalVoucherRec a1 = Line("20080115", "V1", "Verkoop", "8000", 0, 121);
  a1.SetInvoiceAttached(true);
  a1.SetInvoiceNumber("2008001");
  a1.SetPartnerType("CUS");
  a1.SetChangedBy("ANNE");
  JournalVoucherRec a2 = Line("20080115", "V1", "Verkoop", "0100", 121, 0);
  a2.SetPartnerType("CUS");
  a2.SetPartnerNumber(12);
  JournalVoucherRec m1 = Line("20080120", "M1", "Memoriaal", "1600", 10.005, 0);
  m1.SetLineText(std::string("Prijs \x80") + "5\x01" + "\x81");
  m1.SetCostCentre("K1                  ");
  JournalVoucherRec m2 = Line("20080120", "M1", "Memoriaal", "0100", 0, 10.01);
  m2.SetPartnerType("CUS");
  m2.SetPartnerNumber(99);  // not listed: no relation on the line
  JournalVoucherRec later = Line("20080220", "V2", "Verkoop", "8000", 5, 5);
  JournalVoucherRec after = Line("20080301", "V3", "Verkoop", "8000", 7, 0);
  src.vouchers = {before, a1, a2, m1, m2, later, after};
  return src;
}

AuditFileRequest Request(const std::string& choice = "2008 2008-02/12") {
  return AuditFileRequest{"ACME", choice, "20080310"};
}

std::vector<std::string> Build(const AuditFileSource& src, const AuditFileRequest& req = Request()) {
  auto result = books::exchange::BuildAuditFile(src, req);
  if (auto* refusal = std::get_if<AuditFileRefusal>(&result)) {
    ADD_FAILURE() << "refused: " << books::exchange::AuditFileRefusalText(*refusal);
    return {};
  }
  return std::get<std::vector<std::string>>(result);
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// ---------------------------------------------------------------- xmllint

class Schema : public ::testing::Test {
 public:
  void SetUp() override {
    // scripts/deps.sh installs it: a missing one is a broken set-up.
    ASSERT_TRUE(support::FindXmllint().has_value()) << "xmllint is not on PATH; run scripts/deps.sh";
  }
  bool Valid(const std::string& text, std::string* output = nullptr) { return support::ValidAuditFile(text, output); }
};

// ---------------------------------------------------------------- text rules

TEST(AuditFileText, EscapesAndConvertsCodePage1252) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"A & B", "A &amp; B"},
      {"<x>", "&lt;x&gt;"},
      {"\"it's\"", "\"it's\""},  // quotes need no entity in character data
      {"a\tb", "a\tb"},              // tab stays
      {"a\x01\r\nb", "a   b"},        // other controls become blanks
      {"\x80", "&#8364;"},           // euro sign
      {"\x85\x9F", "&#8230;&#376;"},  // ellipsis, Y with diaeresis
      {"\x81\x8D\x8F\x90\x9D", "&#129;&#141;&#143;&#144;&#157;"},  // undefined: C1 of the same value
      {"caf\xE9 \xA0", "caf\xE9 \xA0"},  // Latin-1 range as it is
  };
  for (const auto& c : cases) EXPECT_EQ(books::exchange::XmlText(c.in), c.out) << c.in;
}

TEST(AuditFileText, AmountsRoundAsTheAmountRoutinesInEveryLocale) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {1234.5, "1234.50"}, {0, "0.00"}, {-0.0, "0.00"}, {2.675, "2.68"}, {-2.675, "-2.68"},
      {0.1 + 0.2, "0.30"}, {10.005, "10.01"}, {0.004, "0.00"}, {-0.005, "-0.01"}, {1234567.891, "1234567.89"},
      {99999999999.995, "100000000000.00"},
      // Every digit the double keeps counts: no rounding to 15 digits first.
      {12345678901234.56, "12345678901234.56"}, {-12345678901234.56, "-12345678901234.56"},
      {99999999999999.75, "99999999999999.75"}, {123456789012345.67, "123456789012345.67"},
      // Near 1E14 a double's step is 1/64: 99999999999999.99 and .98 are
      // the same double, whose shortest text ends in 98.
      {99999999999999.99, "99999999999999.98"},
      {999999999999999.9, "999999999999999.90"}, {1.005, "1.01"},
      // The double just below 1.005 reads back as 1.0049999999999999.
      {std::nextafter(1.005, 0.0), "1.00"},
  };
  for (char separator : {'.', ','}) {
    platform::ScopedNumberFormat format(separator);
    for (const auto& c : cases) {
      auto cents = books::exchange::AmountCents(c.value);
      ASSERT_TRUE(cents.has_value()) << c.value;
      EXPECT_EQ(books::exchange::CentsText(*cents), c.text) << c.value;
    }
  }
  // The same digits as the amount routines show with two decimals (after
  // the currency sign and the aligning blanks).
  platform::ScopedNumberFormat point('.');
  for (const auto& c : cases) {
    const std::string shown = text::FormatAmount(c.value, 2, 'N');
    EXPECT_EQ(shown.substr(shown.find_last_of(' ') + 1), c.text) << c.value;
  }
  EXPECT_FALSE(books::exchange::AmountCents(std::nan("")).has_value());
  EXPECT_FALSE(books::exchange::AmountCents(1e15).has_value());
  EXPECT_FALSE(books::exchange::AmountCents(-1e15).has_value());
  EXPECT_FALSE(books::exchange::AmountCents(std::numeric_limits<double>::infinity()).has_value());
  EXPECT_EQ(books::exchange::XmlDate("20080115"), "2008-01-15");
}

// The cents of an amount, digit by digit as the amount routines round:
// the fewest significant digits that read back as the amount (printf's
// correctly rounded "%.*e" tried from one digit up), then half away from
// zero at the cent.
std::int64_t CentsByDigits(double value) {
  const double magnitude = std::fabs(value);
  char buf[64];
  for (int precision = 0; precision <= 16; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*e", precision, magnitude);
    if (std::strtod(buf, nullptr) == magnitude) break;
  }
  const std::string text = buf;
  const std::size_t e = text.find('e');
  const std::string digits = text.substr(0, 1) + (e > 2 ? text.substr(2, e - 2) : std::string());
  const int keep = std::atoi(text.c_str() + e + 1) + 3;
  if (keep < 0 || magnitude == 0) return 0;
  std::int64_t cents = 0;
  for (int i = 0; i < keep; ++i)
    cents = cents * 10 + (i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)] - '0' : 0);
  if (keep < static_cast<int>(digits.size()) && digits[static_cast<std::size_t>(keep)] >= '5') ++cents;
  return value < 0 ? -cents : cents;
}

TEST(AuditFileText, EveryAmountRoundsAsItsDigits) {
  std::vector<double> values;
  // Every thousandth up to 300 (half cents and their neighbours), sums
  // that miss their decimal value, and amounts around ten million, where
  // the shorter way stops.
  for (int i = 0; i <= 300'000; ++i) values.push_back(i / 1000.0);
  for (int i = 0; i < 20000; ++i) values.push_back(0.1 * i + 0.005 + 0.01 * (i % 7));
  for (double base : {9'999'999.0, 10'000'000.0, 123'456'789.0, 99'999'999'999.0, 100'000'000'000.0,
                      1'099'511'627'776.0}) {
    for (int i = -2000; i <= 2000; ++i) values.push_back(base + i / 1000.0);
  }
  // Products and sums that land beside a whole cent, where the quick way
  // must give up, and every cent up to 100 with its neighbouring doubles.
  for (int i = 0; i < 5000; ++i) values.push_back(98.7 * (i % 100) + 1234.56 * (i % 3) + 0.07 * i);
  for (int i = 0; i <= 10000; ++i)
    for (double c : {i / 100.0, std::nextafter(i / 100.0, 0.0), std::nextafter(i / 100.0, 1e300)})
      values.push_back(c);
  for (double v : {1e-300, 4.9999999999999e-3, 5e-3, 0.0049999999999999999, 1.005, 2.675, 1.115, 0.125})
    values.push_back(v);
  int mismatches = 0;
  for (double v : values) {
    for (double signed_value : {v, -v}) {
      const auto cents = books::exchange::AmountCents(signed_value);
      ASSERT_TRUE(cents.has_value()) << signed_value;
      if (*cents != CentsByDigits(signed_value) && ++mismatches <= 5)
        ADD_FAILURE() << std::setprecision(17) << signed_value << ": " << *cents << " against "
                      << CentsByDigits(signed_value);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// ---------------------------------------------------------------- the file

TEST(AuditFile, WritesTheRangeWithStartBalancesAndNumberedTransactions) {
  const auto lines = Build(Books());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>");
  EXPECT_EQ(lines.back(), "</auditfile>");
  // The year starts where the opening freeze ends; the open period 02 ends
  // the day before period 3.
  EXPECT_TRUE(Has(lines, "  <startDate>2008-01-01</startDate>"));
  EXPECT_TRUE(Has(lines, "  <endDate>2008-02-29</endDate>"));
  EXPECT_TRUE(Has(lines, "  <companyName>Smit &amp; Zonen</companyName>"));
  EXPECT_TRUE(Has(lines, "  <dateCreated>2008-03-10</dateCreated>"));
  EXPECT_TRUE(Has(lines, "   <accountID>0100</accountID>"));
  EXPECT_TRUE(Has(lines, "   <accountDesc>Omzet &lt;hoog&gt; &amp; laag</accountDesc>"));
  // Partners: ids trimmed, blank texts replaced, no invalid verification date.
  EXPECT_TRUE(Has(lines, "   <custSupID>CUS12</custSupID>"));
  EXPECT_TRUE(Has(lines, "   <taxVerificationDate>2008-03-01</taxVerificationDate>"));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "   <taxVerificationDate>2008-03-01</taxVerificationDate>"), 1);
  EXPECT_TRUE(Has(lines, "   <companyName> niet beschikbaar</companyName>"));
  EXPECT_TRUE(Has(lines, "    <address>niet beschikbaar</address>"));
  EXPECT_TRUE(Has(lines, "    <postalCode>n.b.</postalCode>"));
  EXPECT_TRUE(Has(lines, "    <country>niet beschikbaar</country>"));
  // Start balances: closing own - other side of the "B" rows only.
  EXPECT_TRUE(Has(lines, "     <debitAmount>749.50</debitAmount>"));
  EXPECT_TRUE(Has(lines, "     <creditAmount>749.50</creditAmount>"));
  EXPECT_TRUE(Has(lines, "    <transactionDate>2008-01-01</transactionDate>"));
  // Transactions numbered in the file, their text date + number.
  EXPECT_TRUE(Has(lines, "    <transactionID>1</transactionID>"));
  EXPECT_TRUE(Has(lines, "    <description>20080115 V1</description>"));
  EXPECT_TRUE(Has(lines, "    <transactionID>3</transactionID>"));
  EXPECT_FALSE(Has(lines, "    <transactionID>4</transactionID>"));
  EXPECT_TRUE(Has(lines, "    <period>02</period>"));
  EXPECT_TRUE(Has(lines, "    <sourceID>ANNE</sourceID>"));
  EXPECT_TRUE(Has(lines, "   <type>Accounts receivable</type>"));
  // The linked line names its listed relation; the unlisted one none.
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "     <custSupID>CUS12</custSupID>"), 1);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.find("cusSupID") != std::string::npos ||
                                                            l.find("<custSupID>CUS99") != std::string::npos; }),
            0);
  EXPECT_TRUE(Has(lines, "     <description>Prijs &#8364;5 &#129;</description>"));
  EXPECT_TRUE(Has(lines, "     <costDesc>K1</costDesc>"));
  // A line that nets to zero is a credit of 0.00.
  EXPECT_TRUE(Has(lines, "     <creditAmount>0.00</creditAmount>"));
  // 2 start balances + 5 lines in range; totals add the written amounts.
  EXPECT_TRUE(Has(lines, "  <numberEntries>7</numberEntries>"));
  EXPECT_TRUE(Has(lines, "  <totalDebit>880.51</totalDebit>"));
  EXPECT_TRUE(Has(lines, "  <totalCredit>880.51</totalCredit>"));
}

TEST(AuditFile, RangeOfTheChosenPeriod) {
  struct Case {
    const char* choice;
    const char* start;
    const char* end;
  } cases[] = {
      {"2008 2008-02/12", "2008-01-01", "2008-02-29"},  // open period: the day before the next starts
      {"2008 2008-05/12", "2008-01-01", "2008-05-31"},
      {"2008 2008-12/12", "2008-01-01", "2008-12-31"},  // last period: the book-year end
      {"2008 2008-01/12", "2008-01-01", "2008-01-31"},
  };
  for (const auto& c : cases) {
    const auto lines = Build(Books(), Request(c.choice));
    EXPECT_TRUE(Has(lines, std::string("  <startDate>") + c.start + "</startDate>")) << c.choice;
    EXPECT_TRUE(Has(lines, std::string("  <endDate>") + c.end + "</endDate>")) << c.choice;
  }
}

TEST(AuditFile, AnEarlierYearTakesItsDatesAndPeriodsFromItsOwnSnapshots) {
  AuditFileSource src = Books();
  // Books of 2007 after the opening freeze of 2006, two periods frozen.
  FreezeRec opening = Snapshot(2006, "20070101", "2006-01/01");
  opening.SetAccount(1, Row("0100", "D", "B", 40, 0));
  src.freezes = {opening, Snapshot(2007, "20070701", "2007-01/02"), Snapshot(2007, "20080101", "2007-02/02"),
                 Snapshot(2008, "20080201", "2008-01/12")};
  src.vouchers = {Line("20070301", "A", "Memoriaal", "0100", 1, 0), Line("20070901", "B", "Memoriaal", "0100", 0, 1),
                  Line("20080115", "C", "Memoriaal", "0100", 3, 0)};
  const auto lines = Build(src, Request("2007 2007-01/02"));
  EXPECT_TRUE(Has(lines, "  <startDate>2007-01-01</startDate>"));
  EXPECT_TRUE(Has(lines, "  <endDate>2007-12-31</endDate>"));  // the year's newest snapshot, any period chosen
  EXPECT_TRUE(Has(lines, "    <period>01</period>"));
  EXPECT_TRUE(Has(lines, "    <period>02</period>"));
  EXPECT_TRUE(Has(lines, "  <numberEntries>3</numberEntries>"));  // one start balance, two lines
  EXPECT_TRUE(Has(lines, "     <debitAmount>40.00</debitAmount>"));
}

// Books that cannot give a valid file, each refused with what is wrong.
struct RefusalCase {
  const char* name;
  void (*change)(AuditFileSource&, AuditFileRequest&);
  AuditFileRefusal refusal;
};
const RefusalCase kRefusalCases[] = {
    {"no tax number", [](AuditFileSource& s, AuditFileRequest&) { s.settings.SetTaxRegistrationId("  "); },
     {AuditFileFault::NoTaxRegistration, ""}},
    {"empty fiscal year", [](AuditFileSource& s, AuditFileRequest&) { s.settings.SetFiscalYear(""); },
     {AuditFileFault::FiscalYearTooEarly, "0000"}},
    {"fiscal year no number", [](AuditFileSource& s, AuditFileRequest&) { s.settings.SetFiscalYear("20x8"); },
     {AuditFileFault::FiscalYearNotANumber, "20x8"}},
    {"choice year no number", [](AuditFileSource&, AuditFileRequest& r) { r.periodChoice = "abcd 2008-02/12"; },
     {AuditFileFault::FiscalYearNotANumber, "abcd"}},
    {"no start date: earlier year without older snapshot",
     [](AuditFileSource&, AuditFileRequest& r) { r.periodChoice = "2007 2007-01/01"; },
     {AuditFileFault::NoDateRange, ""}},
    {"no end date", [](AuditFileSource& s, AuditFileRequest&) { s.settings.SetPeriodStart(3, ""); },
     {AuditFileFault::NoDateRange, ""}},
    {"no GL account", [](AuditFileSource& s, AuditFileRequest&) { s.accounts.clear(); },
     {AuditFileFault::NoAccounts, ""}},
    {"two equal accounts after trimming",
     [](AuditFileSource& s, AuditFileRequest&) { s.accounts.push_back(Account(" 0100 ", "D", "x")); },
     {AuditFileFault::DuplicateAccount, "0100"}},
    {"two equal partners across the files",
     [](AuditFileSource& s, AuditFileRequest&) { s.suppliers.push_back(Partner("CUS", 12, "x")); },
     {AuditFileFault::DuplicatePartner, "CUS12"}},
    {"line on an unlisted account",
     [](AuditFileSource& s, AuditFileRequest&) { s.vouchers[3].SetAccountNumber("9999"); },
     {AuditFileFault::UnlistedAccount, "9999"}},
    {"start balance on an unlisted account",
     [](AuditFileSource& s, AuditFileRequest&) { s.accounts.erase(s.accounts.begin() + 1); },
     {AuditFileFault::UnlistedAccount, "1600"}},
    {"51 journals",
     [](AuditFileSource& s, AuditFileRequest&) {
       for (int j = 0; j < 49; ++j) s.vouchers.push_back(Line("20080201", "J", "J" + std::to_string(j), "0100", 1, 0));
     },
     {AuditFileFault::TooManyJournals, "J48"}},
    {"infinite amount",
     [](AuditFileSource& s, AuditFileRequest&) { s.vouchers[1].SetCreditAmount(std::numeric_limits<double>::infinity()); },
     {AuditFileFault::UnwritableAmount, "8000"}},
    {"a line amount of 16 digits",
     [](AuditFileSource& s, AuditFileRequest&) { s.vouchers[1].SetCreditAmount(1234567890123456.78); },
     {AuditFileFault::AmountTooLarge, "8000", "1234567890123456.8"}},
    {"a start balance of 16 digits",
     [](AuditFileSource& s, AuditFileRequest&) {
       FreezeAccountRow row = s.freezes[0].Account(1);
       row.SetClosingOwnSide(2e15);
       row.SetClosingOtherSide(0);
       s.freezes[0].SetAccount(1, row);
     },
     {AuditFileFault::AmountTooLarge, "0100", "2000000000000000"}},
    {"totals beyond 18 digits",
     [](AuditFileSource& s, AuditFileRequest&) {
       for (int i = 0; i < 11; ++i) s.vouchers.push_back(Line("20080201", "T", "Memoriaal", "1600", 9.9e14, 0));
     },
     {AuditFileFault::TotalTooLarge, "1600"}},
    {"an in-range line dated 30 February",
     [](AuditFileSource& s, AuditFileRequest& r) {
       r.periodChoice = "2008 2008-12/12";
       s.vouchers.insert(s.vouchers.begin() + 5, Line("20080230", "M7  ", "Memoriaal", "0100", 1, 0));
     },
     {AuditFileFault::InvalidVoucherDate, "M7", "20080230"}},
    {"an in-range line dated on month 13",
     [](AuditFileSource& s, AuditFileRequest& r) {
       // The last period ends where the settings say.
       r.periodChoice = "2008 2008-12/12";
       s.settings.SetBookYearEnd("20091231");
       s.vouchers.push_back(Line("20081301", "X", "Memoriaal", "0100", 1, 0));
     },
     {AuditFileFault::InvalidVoucherDate, "X", "20081301"}},
};

// Without partners and without an older snapshot the file leaves their
// parts out.
void ExpectTheEmptyPartsLeftOut() {
  AuditFileSource none = Books();
  none.customers.clear();
  none.suppliers.clear();
  none.freezes = {};
  const auto lines = Build(none);
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(),
                           [](const std::string& l) { return l.find("customersSuppliers") != std::string::npos; }));
  EXPECT_FALSE(Has(lines, "   <journalID>0</journalID>"));  // no start balance without an older snapshot
}

void ExpectEveryRefusal() {
  for (const auto& c : kRefusalCases) {
    AuditFileSource src = Books();
    AuditFileRequest req = Request();
    c.change(src, req);
    auto result = books::exchange::BuildAuditFile(src, req);
    const auto* refusal = std::get_if<AuditFileRefusal>(&result);
    ASSERT_NE(refusal, nullptr) << c.name;
    EXPECT_EQ(*refusal, c.refusal) << c.name;
    EXPECT_FALSE(books::exchange::AuditFileRefusalText(*refusal).empty());
  }
}

// The refusals name the amount and the largest the file holds, the
// voucher by its book number and date.
void ExpectTheRefusalTextsToNameWhatIsWrong() {
  const std::string tooLarge =
      books::exchange::AuditFileRefusalText({AuditFileFault::AmountTooLarge, "4000", "1234567890123456.8"});
  EXPECT_NE(tooLarge.find("1234567890123456.8"), std::string::npos) << tooLarge;
  EXPECT_NE(tooLarge.find("\"4000\""), std::string::npos) << tooLarge;
  EXPECT_NE(tooLarge.find("999999999999999.99"), std::string::npos) << tooLarge;
  const std::string date = books::exchange::AuditFileRefusalText({AuditFileFault::InvalidVoucherDate, "M7", "20080230"});
  EXPECT_NE(date.find("\"M7\""), std::string::npos) << date;
  EXPECT_NE(date.find("20080230"), std::string::npos) << date;
}

// An amount of 15 digits is written with its cents; a line dated on no
// day outside the range is not written and refuses nothing; 50 journals
// are still written.
void ExpectWhatStillFitsToBeWritten() {
  AuditFileSource large = Books();
  large.vouchers[1].SetCreditAmount(123456789012345.67);
  large.vouchers[2].SetDebitAmount(99999999999999.75);
  large.vouchers.insert(large.vouchers.begin() + 5, Line("20080230", "M7", "Memoriaal", "0100", 1, 0));
  const auto written = Build(large);
  EXPECT_TRUE(Has(written, "     <creditAmount>123456789012345.67</creditAmount>"));
  EXPECT_TRUE(Has(written, "     <debitAmount>99999999999999.75</debitAmount>"));
  EXPECT_FALSE(std::any_of(written.begin(), written.end(),
                           [](const std::string& l) { return l.find("M7") != std::string::npos; }));
  AuditFileSource fifty = Books();
  for (int j = 0; j < 48; ++j) fifty.vouchers.push_back(Line("20080201", "J", "J" + std::to_string(j), "0100", 1, 0));
  EXPECT_FALSE(Build(fifty).empty());
}

TEST(AuditFile, LeavesOutEmptyPartsAndRefusesWhatCannotBeValid) {
  ExpectTheEmptyPartsLeftOut();
  ASSERT_NO_FATAL_FAILURE(ExpectEveryRefusal());
  ExpectTheRefusalTextsToNameWhatIsWrong();
  ExpectWhatStillFitsToBeWritten();
}

// ---------------------------------------------------------------- the schema

TEST_F(Schema, WrittenFilesAreValid) {
  AuditFileSource bare = Books();
  bare.customers.clear();
  bare.suppliers.clear();
  bare.freezes.clear();
  AuditFileSource fullPartner = Books();
  PartnerRec& p = fullPartner.customers[0];
  p.SetName(std::string(50, 'N'));
  p.SetZipCode(std::string(10, '9'));
  p.SetProperty("2e etage");
  p.SetRegion("ZH");
  p.SetCorrTown("Delft");
  p.SetCorrState("ZH");
  p.SetTelephone("015");
  p.SetFax("016");
  p.SetWebsite("www.example");
  p.SetContact1Name("Jan");
  fullPartner.vouchers[1].SetProductDescription("P");
  fullPartner.vouchers[1].SetProjectDescription("Q");
  fullPartner.vouchers[1].SetBookNumber(std::string(20, 'B'));
  fullPartner.vouchers[2].SetBookNumber(std::string(20, 'B'));
  struct Case {
    const char* name;
    AuditFileSource source;
    std::string choice;
  } cases[] = {
      {"open period", Books(), "2008 2008-02/12"},
      {"whole year", Books(), "2008 2008-12/12"},
      {"no partners, no start balance", bare, "2008 2008-12/12"},
      {"every optional element", fullPartner, "2008 2008-02/12"},
  };
  for (const auto& c : cases) {
    std::string output;
    EXPECT_TRUE(Valid(Joined(Build(c.source, Request(c.choice))), &output)) << c.name << "\n" << output;
  }
}

// The golden file: the small administration's file byte for byte (CR LF,
// indentation, code page 1252 bytes), valid against the schema.
TEST_F(Schema, TheGoldenFileIsWrittenExactlyAndIsValid) {
  const std::string path = std::string(OMBRELO_GOLDEN_DIR) + "/auditfile.xaf";
  const std::string text = Joined(Build(Books()));
  if (std::getenv("OMBRELO_WRITE_GOLDEN")) std::ofstream(path, std::ios::binary) << text;
  std::ifstream in(path, std::ios::binary);
  const std::string golden(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(text, golden);
  std::string output;
  EXPECT_TRUE(Valid(golden, &output)) << output;
}

TEST_F(Schema, BrokenFilesFail) {
  const std::string good = Joined(Build(Books()));
  ASSERT_TRUE(Valid(good));
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
  };
  // A customers part with every relation taken out.
  std::string emptyPartners = good;
  {
    std::size_t from = emptyPartners.find("  <customerSupplier>");
    std::size_t to = emptyPartners.find(" </customersSuppliers>");
    emptyPartners.erase(from, to - from);
  }
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"cusSupID in a line", replaced("<custSupID>CUS12</custSupID>\r\n     <description>",
                                      "<cusSupID>CUS12</cusSupID>\r\n     <description>")},
      {"21-character transactionID",
       replaced("<transactionID>1</transactionID>", "<transactionID>" + std::string(21, '1') + "</transactionID>")},
      {"16-character postalCode",
       replaced("<postalCode>2611 GT</postalCode>", "<postalCode>" + std::string(16, '1') + "</postalCode>")},
      {"-- as a date", replaced("<taxVerificationDate>2008-03-01<", "<taxVerificationDate>--<")},
      {"empty customersSuppliers", emptyPartners},
      {"line on an unlisted account",
       replaced("     <accountID>1600</accountID>", "     <accountID>1601</accountID>")},
      {"two equal custSupID", replaced("<custSupID>VEN3</custSupID>", "<custSupID>CUS12</custSupID>")},
      {"version CLAIR2.00.01", replaced("<auditfileVersion>CLAIR2.00.00<", "<auditfileVersion>CLAIR2.00.01<")},
      {"51-character city", replaced("<city>Delft</city>", "<city>" + std::string(51, 'c') + "</city>")},
      {"51-character country",
       replaced("<country>NL</country>", "<country>" + std::string(51, 'c') + "</country>")},
      {"51-character relation type", replaced("<type>CUS</type>", "<type>" + std::string(51, 't') + "</type>")},
      {"51-character transaction description",
       replaced("<description>20080115 V1</description>",
                "<description>" + std::string(51, 'd') + "</description>")},
      {"16-character house number",
       replaced("<address>Markt 2</address>",
                "<streetname>Markt</streetname><number>" + std::string(16, '2') + "</number>")},
      {"11-character number extension",
       replaced("<address>Markt 2</address>", "<streetname>Markt</streetname><number>2</number><numberExtension>" +
                                                  std::string(11, 'a') + "</numberExtension>")},
      {"sales-tax data without percentage or amount",
       replaced("     <currency>", "     <vat><vatCode>H</vatCode></vat>\r\n     <currency>")},
      {"16-character sales-tax code",
       replaced("     <currency>", "     <vat><vatCode>" + std::string(16, 'H') +
                                        "</vatCode><vatAmount>1.00</vatAmount></vat>\r\n     <currency>")},
      {"sales-tax percentage and amount",
       replaced("     <currency>",
                "     <vat><vatPercentage>21</vatPercentage><vatAmount>1.00</vatAmount></vat>\r\n     <currency>")},
  };
  for (const auto& c : cases) EXPECT_FALSE(Valid(c.text)) << c.name;

  // What the standard allows there still passes.
  const std::string allowed[] = {
      replaced("<address>Markt 2</address>",
               "<streetname>Markt</streetname><number>2</number><numberExtension>a</numberExtension>"),
      replaced("<city>Delft</city>", "<city>" + std::string(50, 'c') + "</city>"),
      replaced("     <currency>", "     <vat><vatCode>H</vatCode><vatAmount>21.00</vatAmount></vat>\r\n     <currency>"),
      replaced("     <currency>", "     <vat><vatPercentage>21</vatPercentage></vat>\r\n     <currency>"),
  };
  for (const auto& text : allowed) {
    std::string output;
    EXPECT_TRUE(Valid(text, &output)) << output;
  }
}

// ---------------------------------------------------------------- reading

TEST(AuditFileSourceRead, ReadsEveryFileInOneSet) {
  support::FakeDataStore store;
  store.fs.AddFolder("/d/ACME");
  store::SetDataRoot("/d/");
  store::SetCurrentAdministrationFolder("ACME");
  const AuditFileSource books = Books();
  store.fs.SetFile("/d/ACME/adminset.vlk", support::Bytes(books.settings));
  store.fs.SetFile("/d/ACME/ledger.vlk", support::Bytes(books.accounts));
  store.fs.SetFile("/d/ACME/customer.vlk", support::Bytes(books.customers));
  store.fs.SetFile("/d/ACME/supplier.vlk", support::Bytes(books.suppliers));
  store.fs.SetFile("/d/ACME/book.vlk", support::Bytes(books.vouchers));
  store.fs.SetFile("/d/ACME/freeze.vlk", support::Bytes(books.freezes));
  auto read = books::exchange::ReadAuditFileSource();
  ASSERT_TRUE(std::holds_alternative<AuditFileSource>(read));
  const AuditFileSource& got = std::get<AuditFileSource>(read);
  EXPECT_EQ(Build(got), Build(books));
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.OpenHandles(), 0);
}

// ---------------------------------------------------------------- streaming

// The books in the data files, with `extra` voucher lines after the
// fixture's own (enough for several read blocks of the voucher file).
void StoreBooks(support::FakeDataStore& store, const AuditFileSource& books) {
  store.fs.AddFolder("/d/ACME");
  store::SetDataRoot("/d/");
  store::SetCurrentAdministrationFolder("ACME");
  store.fs.SetFile("/d/ACME/adminset.vlk", support::Bytes(books.settings));
  store.fs.SetFile("/d/ACME/ledger.vlk", support::Bytes(books.accounts));
  store.fs.SetFile("/d/ACME/customer.vlk", support::Bytes(books.customers));
  store.fs.SetFile("/d/ACME/supplier.vlk", support::Bytes(books.suppliers));
  store.fs.SetFile("/d/ACME/book.vlk", support::Bytes(books.vouchers));
  store.fs.SetFile("/d/ACME/freeze.vlk", support::Bytes(books.freezes));
}

// Books whose voucher file spans several read blocks: three journals taking
// turns line by line, transactions of three lines that run across the
// blocks' edges, partner-linked lines, lines outside the range at both ends.
AuditFileSource LargeBooks() {
  AuditFileSource books = Books();
  const char* journals[] = {"Verkoop", "Memoriaal", "Bank & Kas"};
  std::vector<JournalVoucherRec> lines;
  lines.push_back(Line("20071230", "OLD", "Memoriaal", "0100", 1, 0));
  for (int i = 0; i < 9000; ++i) {
    char date[9];
    std::snprintf(date, sizeof date, "2008%02d%02d", 1 + i / 4500, 1 + i / 200 % 28);
    JournalVoucherRec v = Line(date, "B" + std::to_string(i / 9), journals[i / 3 % 3],
                               i % 5 ? "0100" : "8000", i % 2 ? i * 1.005 : 0, i % 2 ? 0 : i / 3.0);
    v.SetLineText("regel <" + std::to_string(i) + "> \x80");
    if (i % 7 == 0) {
      v.SetPartnerType("CUS");
      v.SetPartnerNumber(12);
    }
    if (i % 11 == 0) v.SetCostCentre("K" + std::to_string(i % 4) + "   ");
    lines.push_back(v);
  }
  lines.push_back(Line("20080301", "LATE", "Verkoop", "8000", 7, 0));
  books.vouchers = lines;
  return books;
}

TEST(AuditFileStream, FromTheDataFilesEqualsTheFileOfTheValues) {
  support::FakeDataStore store;
  const AuditFileSource books = LargeBooks();
  StoreBooks(store, books);
  ASSERT_GT(books.vouchers.size() * JournalVoucherRec::kSize, 3u << 20);  // several blocks
  books::exchange::AuditFileText text;
  const books::exchange::AuditFileRun run = books::exchange::WriteAuditFileFromStore(Request(), text);
  ASSERT_FALSE(run.openFailure);
  ASSERT_FALSE(run.refusal);
  const std::vector<std::string> lines = Build(books);
  EXPECT_EQ(text.Text(), Joined(lines));
  EXPECT_GT(text.pieces.size(), 1u);
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.OpenHandles(), 0);
  // Numbered in the order written: journal by journal, from 1 on.
  std::int64_t record = 0, transaction = 0;
  bool inOrder = true;
  for (const std::string& line : lines) {
    const auto number = [&](const std::string& open) -> std::optional<std::int64_t> {
      const std::size_t at = line.find(open);
      if (at == std::string::npos || line.find("start balance") != std::string::npos) return std::nullopt;
      return std::atoll(line.c_str() + at + open.size());
    };
    if (auto r = number("<recordID>")) inOrder = inOrder && *r == ++record;
    if (auto t = number("<transactionID>")) inOrder = inOrder && *t == ++transaction;
  }
  EXPECT_TRUE(inOrder);
  EXPECT_EQ(record, 9000 + 2);  // the range's lines and the two start balances
  EXPECT_GE(transaction, 3000);  // at least one per journal and book number
  EXPECT_TRUE(Has(lines, "  <numberEntries>9002</numberEntries>"));
}

// The lines a sink receives do not depend on how the text is cut into
// pieces; a refused run gives the sink nothing.
TEST(AuditFileStream, SinksGetWholeLinesAndNothingOnARefusal) {
  const AuditFileSource books = LargeBooks();
  books::exchange::AuditFileText text;
  ASSERT_FALSE(books::exchange::WriteAuditFile(books, Request(), text));
  books::exchange::AuditFileLines lines;  // the text's pieces, each of whole lines
  for (const std::string& piece : text.pieces) {
    EXPECT_TRUE(piece.ends_with("\r\n"));
    lines.Write(piece);
  }
  EXPECT_EQ(lines.lines, Build(books));

  AuditFileSource broken = books;
  broken.vouchers[5000].SetAccountNumber("9999");
  books::exchange::AuditFileText nothing;
  const auto refusal = books::exchange::WriteAuditFile(broken, Request(), nothing);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(*refusal, (AuditFileRefusal{AuditFileFault::UnlistedAccount, "9999"}));
  EXPECT_TRUE(nothing.pieces.empty());

  support::FakeDataStore store;
  StoreBooks(store, broken);
  const books::exchange::AuditFileRun run = books::exchange::WriteAuditFileFromStore(Request(), nothing);
  ASSERT_TRUE(run.refusal);
  EXPECT_EQ(*run.refusal, *refusal);
  EXPECT_TRUE(nothing.pieces.empty());
  EXPECT_FALSE(store::FileSetOpen);
}

}  // namespace
