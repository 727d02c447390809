// The ";"-separated data files: the exact text of each kind, the round trip
// of every kind under both decimal separators, the refusals of a malformed
// or rule-breaking text, invoice numbers read without blanks at their ends,
// and the write of an import over its data file.
#include "books/exchange/delimited.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "platform/numberformat.h"
#include "books/exchange/importfile.h"
#include "store/fileset.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using books::exchange::CsvFault;
using books::exchange::CsvImportError;
using books::exchange::CsvKind;
using platform::ScopedNumberFormat;
using records::InvoiceRec;
using records::JournalVoucherRec;
using records::LedgerAccountRec;
using records::LedgerCategoryRec;
using records::PartnerRec;
using records::PaymentRec;

// The first byte where two records differ, for a readable failure.
template <class R>
::testing::AssertionResult SameBytes(const R& got, const R& want) {
  for (std::size_t i = 0; i < R::kSize; ++i) {
    if (got.Bytes[i] != want.Bytes[i])
      return ::testing::AssertionFailure() << "byte " << i << ": got " << int(got.Bytes[i]) << ", want "
                                           << int(want.Bytes[i]);
  }
  return ::testing::AssertionSuccess();
}

std::string Text(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

// ---- Golden texts -----------------------------------------------------------

PartnerRec GoldenPartner() {
  PartnerRec p;
  p.SetName("nm");
  p.SetCompanyName("co");
  p.SetOurNumber(12);
  p.SetSuspendedDate("");
  p.SetRelationshipType("CUS");
  p.SetTheirNumber("th");
  p.SetAddress("ad");
  p.SetProperty("pr");
  p.SetZipCode("zp");
  p.SetTown("tw");
  p.SetRegion("rg");
  p.SetCountry("cy");
  p.SetCorrCode("X");
  p.SetCorrAddress("ca");
  p.SetCorrZipCode("cz");
  p.SetCorrTown("ct");
  p.SetCorrState("cs");
  p.SetCorrCountry("cc");
  p.SetTelephone("te");
  p.SetFax("fx");
  p.SetEmail("em");
  p.SetWebsite("ws");
  p.SetContact1Name("c1n");
  p.SetContact1Phone("c1p");
  p.SetContact1Text("c1t");
  p.SetContact2Text("c2t");
  p.SetContact2Name("c2n");
  p.SetContact2Phone("c2p");
  p.SetMemo("me");
  p.SetBankAccountNumber("ba");
  p.SetBankAccountName("bn");
  p.SetTaxAccountNumber("tx");
  p.SetTaxVerificationDate("20260101");
  p.SetBiFeature1("b1");
  p.SetBiFeature2("b2");
  p.SetFreeItem1("f1");
  p.SetFreeItem2("f2");
  p.Set<PartnerRec::kCreditLimit>(5000.5);
  p.Set<PartnerRec::kPartnerGroup>(std::string_view("pg"));
  p.Set<PartnerRec::kSalesCostGroup1>(std::string_view("s1"));
  p.Set<PartnerRec::kSalesCostGroup2>(std::string_view("s2"));
  p.Set<PartnerRec::kSalesCostGroup3>(std::string_view("s3"));
  p.Set<PartnerRec::kVatGroup1>(std::string_view("v1"));
  p.Set<PartnerRec::kVatGroup2>(std::string_view("v2"));
  p.Set<PartnerRec::kCashDiscountAccount>(std::string_view("0800"));
  p.Set<PartnerRec::kDiscountDays>(std::int32_t{14});
  p.Set<PartnerRec::kDiscountRate>(2.5);
  p.Set<PartnerRec::kNetDays>(std::int32_t{-30});
  p.Set<PartnerRec::kPenaltyRate>(-1.5);
  p.Set<PartnerRec::kChangedBy>(std::string_view("ADMIN"));
  p.Set<PartnerRec::kChangedAt>(std::string_view("TS"));
  return p;
}

LedgerAccountRec GoldenAccount() {
  LedgerAccountRec a;
  a.Set<LedgerAccountRec::kAccountNumber>(std::string_view("0100"));
  a.Set<LedgerAccountRec::kCaption>(std::string_view("Buildings"));
  a.Set<LedgerAccountRec::kAccountType>(std::string_view("D"));
  a.Set<LedgerAccountRec::kCategoryName>(std::string_view("Fixed assets"));
  a.Set<LedgerAccountRec::kLeadCode>(std::string_view("L1"));
  a.Set<LedgerAccountRec::kStartDate>(std::string_view("20260101"));
  a.Set<LedgerAccountRec::kStartAmount>(-1234.5);
  a.Set<LedgerAccountRec::kEndDate>(std::string_view("20501231"));
  a.Set<LedgerAccountRec::kSecondAmount>(99.0);  // not carried
  a.Set<LedgerAccountRec::kIsCashOrBank>(true);
  a.Set<LedgerAccountRec::kJournalName>(std::string_view("Bank"));
  a.Set<LedgerAccountRec::kAccountFunction>(std::string_view("FUNC"));
  a.Set<LedgerAccountRec::kSalesTaxCode>(std::string_view("V21"));
  a.Set<LedgerAccountRec::kChangedBy>(std::string_view("ADMIN"));
  a.Set<LedgerAccountRec::kChangedAt>(std::string_view("TS"));
  return a;
}

// As the voucher store writes a line: texts padded with 30 blanks, cut.
JournalVoucherRec GoldenVoucherLine() {
  JournalVoucherRec j;
  j.SetVoucherDate("20260315");
  j.SetBookNumber("M1");
  j.SetJournalName("Memorial");
  j.SetTransactionText("March rent");
  j.SetLineText("Rent" + std::string(30, ' '));
  j.SetAccountNumber("0100" + std::string(11, ' '));
  j.SetAccountCaption("Buildings" + std::string(21, ' '));
  j.SetCostCentre("CC1" + std::string(17, ' '));
  j.SetProjectDescription("P1");
  j.SetProductDescription("PR1");
  j.Bytes[JournalVoucherRec::kInvoiceAttached.offset] = 2;  // not 1: "false"
  j.SetPartnerType("CUS");
  j.SetPartnerNumber(-7);
  j.SetInvoiceNumber("F1");
  j.SetDebitAmount(1234.5);
  j.SetCreditAmount(0);
  j.SetDocumentId("D1");
  j.SetChangedBy("ADMIN");
  j.SetChangedAt("TS");
  return j;
}

InvoiceRec GoldenInvoice() {
  InvoiceRec v;
  v.SetInvoiceDate("20260301");
  v.SetInvoiceNumber("F-9");
  v.SetPartnerType("VEN");
  v.SetPartnerNumber(12);
  v.SetEntryNumber("E1");
  v.SetDiscountDate("20260310");
  v.SetDueDate("20260331");
  v.SetVoucherDate("20260302");
  v.SetInvoiceAmount(1e15);
  v.SetPaidAmount(0.00001);
  v.SetPrepaidAmount(-2.5e20);
  v.SetMemo("memo");
  v.SetVoucherCreated(true);
  v.SetChangedBy("ADMIN");
  v.SetChangedAt("TS");
  return v;
}

PaymentRec GoldenPayment() {
  PaymentRec p;
  p.SetValueDate("20260305");
  p.SetBankAccount("NL01");
  p.SetPaymentNumber(3);
  p.SetEntryNumber("E2");
  p.SetPartnerType("REC");
  p.SetPartnerNumber(0);
  p.SetAscription("not carried");
  for (int k = 1; k <= 6; ++k) p.SetNarrative(k, "n" + std::to_string(k));
  p.SetAmount(0.1 + 0.2);
  p.SetMemo("m");
  p.SetVoucherCreated(false);
  p.SetChangedBy("ADMIN");
  p.SetChangedAt("TS");
  return p;
}

LedgerCategoryRec GoldenCategory() {
  LedgerCategoryRec c;
  c.SetCategoryKind(records::kBalanceSheetKind);
  c.SetCategoryName("Fixed assets");
  c.SetChangedBy("ADMIN");
  c.SetChangedAt("2026-01-02 10:11:12");
  return c;
}

const std::string kPartnerHeader =
    "name;company name;our number;partner suspended date;relatinship type;their number;adress;property;"
    "zip code;town;region;country;corr. code;corr. adress;corr. zipcode;corr. town;corr. state;"
    "corr. country;telephone;fax;email;website;contact persoon1;telephone contact persoon1;text1;"
    "contact persoon 2;telephone contact person 2;text2;memo;bankaccount number;bankaccount name;"
    "taxaccount number;taxverification date;BI feature 1;BIfeature 2;Free item 1;Free item 2;creditlimit;"
    "partner group;salescostgroup 1;salescostgroup 2;salescostgroup 3;vatgroup1;vatgroup2;"
    "Cash discount GL account;discount days;discount rate;net days;penalty rate;userid;timestamp;";

TEST(DelimitedExport, WritesEachKindExactly) {
  struct Case {
    char separator;
    books::exchange::CsvExport out;
    std::string want;
  };
  for (char sep : {'.', ','}) {
    ScopedNumberFormat format(sep);
    const std::string d = std::string(1, sep);
    const Case cases[] = {
        {sep, books::exchange::ExportPartners({GoldenPartner()}, true),
         Text({kPartnerHeader + "{***customerfile***}",
               "nm;co;12;;CUS;th;ad;pr;zp;tw;rg;cy;X;ca;cz;ct;cs;cc;te;fx;em;ws;c1n;c1p;c1t;c2n;c2p;c2t;me;ba;bn;"
               "tx;20260101;b1;b2;f1;f2;5000" +
                   d + "5;pg;s1;s2;s3;v1;v2;0800;14;2" + d + "5;-30;-1" + d + "5;ADMIN;TS;"})},
        {sep, books::exchange::ExportPartners({GoldenPartner()}, false),
         Text({kPartnerHeader + "{***supplierfile***}",
               "nm;co;12;;CUS;th;ad;pr;zp;tw;rg;cy;X;ca;cz;ct;cs;cc;te;fx;em;ws;c1n;c1p;c1t;c2n;c2p;c2t;me;ba;bn;"
               "tx;20260101;b1;b2;f1;f2;5000" +
                   d + "5;pg;s1;s2;s3;v1;v2;0800;14;2" + d + "5;-30;-1" + d + "5;ADMIN;TS;"})},
        {sep, books::exchange::ExportLedgerAccounts({GoldenAccount()}),
         Text({"number;caption;debit;category;lead;startdate;startamount;enddate;CahsBankBook;CashBankBookName;"
               "VATgroup;account directive;user;timstamp;journalname;{***GL accounts file***}",
               "#100;Buildings;D;Fixed assets;L1;20260101;-1234" + d + "5;20501231;true;Bank;V21;FUNC;ADMIN;TS;"})},
        {sep, books::exchange::ExportJournalVouchers({GoldenVoucherLine()}),
         Text({"JV date; booknumber;journalname;text transaction; text line;GL account number;GL account caption;"
               " costcentre; project description; product description;invoice attached;partnertype; partner "
               "number; invoicenumber;debit amount;credit amount;document ID;Userid; Timestamp;"
               "{***Journal Vouchers file***}",
               "20260315;M1;Memorial;March rent;Rent" + std::string(30, ' ') + ";#100" + std::string(11, ' ') +
                   ";Buildings" + std::string(21, ' ') + ";CC1" + std::string(17, ' ') +
                   ";P1;PR1;false;CUS;-7;F1;1234" + d + "5;0;D1;ADMIN;TS;"})},
        {sep, books::exchange::ExportInvoices({GoldenInvoice()}),
         Text({"Invoice date; Invoice number; Partner Type; Partner Our Number;entrynumber; Net date; Due date;"
               "JV date; Invoice amount; Payed amount;Prepayed amount; memo; JV created; UserID; Timestamp;"
               "{***Invoice file***}",
               "20260301;F-9;VEN;12;E1;20260310;20260331;20260302;1E15;0" + d + "00001;-2" + d +
                   "5E20;memo;true;ADMIN;TS;"})},
        {sep, books::exchange::ExportPayments({GoldenPayment()}),
         Text({"Value date;Bank account;number;Entrynumber;Partnertype;Partnerournumber;Narrative1;Narrative2;"
               "Narrative3;Narrative4;Narrative5;Narrative6;Amount;Memo;JV created;UserId ;Timestamp"
               "{***Payment file***}",
               "20260305;NL01;3;E2;REC;0;n1;n2;n3;n4;n5;n6;0" + d + "3;m;false;ADMIN;TS;"})},
        {sep, books::exchange::ExportLedgerCategories({GoldenCategory()}),
         Text({"P&L or BS;Category;UserId;Timestamp{***GL category file***}",
               "Balance sheet account;Fixed assets;ADMIN;2026-01-02 10:11:12;"})},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string("separator ") + sep + ": " + c.want.substr(c.want.find("{***"), 30));
      EXPECT_FALSE(c.out.refused);
      EXPECT_EQ(c.out.records, 1);
      EXPECT_EQ(c.out.changedValues, 0);
      EXPECT_EQ(books::exchange::CsvFileText(c.out.lines), c.want);
    }
  }
}

TEST(DelimitedExport, AnEmptyFileGivesTheHeaderOnly) {
  const auto out = books::exchange::ExportLedgerCategories({});
  EXPECT_EQ(out.records, 0);
  EXPECT_EQ(books::exchange::CsvFileText(out.lines), "P&L or BS;Category;UserId;Timestamp{***GL category file***}\r\n");
}

TEST(DelimitedExport, WritesSeparatorsAndLineBreaksInsideValuesAsBlanks) {
  PartnerRec p = GoldenPartner();
  p.SetMemo("line 1\r\nline 2");
  p.SetName("a;b");
  p.SetTown("plain");
  PartnerRec other = GoldenPartner();
  other.SetOurNumber(13);
  const auto out = books::exchange::ExportPartners({p, other}, true);
  EXPECT_EQ(out.changedValues, 2);  // values, not characters
  ASSERT_EQ(out.lines.size(), 3u);
  EXPECT_TRUE(out.lines[1].starts_with("a b;co;12;"));
  EXPECT_NE(out.lines[1].find(";line 1  line 2;"), std::string::npos);
  // What it wrote reads back.
  const auto in = books::exchange::ImportPartners(books::exchange::CsvFileText(out.lines), true);
  ASSERT_FALSE(in.error);
  EXPECT_EQ(in.records[0].Memo(), "line 1  line 2");
}

TEST(DelimitedExport, RefusesNanAndInfinityNamingTheRecord) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity()};
  for (double v : bad) {
    std::vector<InvoiceRec> invoices(3, GoldenInvoice());
    invoices[1].SetPaidAmount(v);
    const auto out = books::exchange::ExportInvoices(invoices);
    ASSERT_TRUE(out.refused);
    EXPECT_EQ(*out.refused, (books::exchange::CsvBadValue{2, 10, "Payed amount"}));
    EXPECT_TRUE(out.lines.empty());
    EXPECT_NE(books::exchange::CsvBadValueText(*out.refused).find("Payed amount"), std::string::npos);
  }
}

// ---- Round trip ---------------------------------------------------------------

// A text of `width` bytes, code page 1252 letters beyond ASCII included, no
// ";" and no line break.
std::string Fill(std::size_t width, char seed) {
  std::string s;
  for (std::size_t i = 0; s.size() < width; ++i) {
    const char c = static_cast<char>(seed + i % 20);
    s += (i % 3 == 2) ? '\xE9' : c == ';' ? '_' : c;
  }
  return s;
}

// Record k of a fixture: 0 with every text at full width, 1 with short
// texts, 2 with empty ones; Booleans stored as k (0, 1, 2). `dirty` starts
// from 0xAA bytes (pads, bytes after a short text) and sets the fields the
// format does not carry; the clean form is what an import must give back.
template <class R>
R Start(bool dirty) {
  R r;
  r.Bytes.fill(dirty ? 0xAA : 0);
  return r;
}

std::string Width(std::size_t capacity, int k, char seed) {
  return k == 0 ? Fill(capacity, seed) : k == 1 ? Fill(capacity / 3, seed) : std::string();
}

#define SET_TEXT(R, field, seed) r.Set<R::field>(std::string_view(Width(R::field.capacity, k, seed)))

PartnerRec PartnerFixture(int k, bool dirty) {
  using R = PartnerRec;
  R r = Start<R>(dirty);
  SET_TEXT(R, kName, 'A');
  SET_TEXT(R, kCompanyName, 'B');
  r.SetOurNumber(k == 0 ? -5 : k * 10);  // numbers with gaps
  SET_TEXT(R, kSuspendedDate, '0');
  SET_TEXT(R, kRelationshipType, 'C');
  SET_TEXT(R, kTheirNumber, 'D');
  SET_TEXT(R, kAddress, 'E');
  SET_TEXT(R, kProperty, 'F');
  SET_TEXT(R, kZipCode, 'G');
  SET_TEXT(R, kTown, 'H');
  SET_TEXT(R, kRegion, 'I');
  SET_TEXT(R, kCountry, 'J');
  SET_TEXT(R, kCorrCode, 'K');
  SET_TEXT(R, kCorrAddress, 'L');
  SET_TEXT(R, kCorrZipCode, 'M');
  SET_TEXT(R, kCorrTown, 'N');
  SET_TEXT(R, kCorrState, 'O');
  SET_TEXT(R, kCorrCountry, 'P');
  SET_TEXT(R, kTelephone, 'Q');
  SET_TEXT(R, kFax, 'R');
  SET_TEXT(R, kEmail, 'S');
  SET_TEXT(R, kWebsite, 'T');
  SET_TEXT(R, kContact1Name, 'U');
  SET_TEXT(R, kContact1Phone, 'V');
  SET_TEXT(R, kContact1Text, 'W');
  SET_TEXT(R, kContact2Text, 'X');
  SET_TEXT(R, kContact2Name, 'Y');
  SET_TEXT(R, kContact2Phone, 'Z');
  SET_TEXT(R, kMemo, 'a');
  SET_TEXT(R, kBankAccountNumber, 'b');
  SET_TEXT(R, kBankAccountName, 'c');
  SET_TEXT(R, kTaxAccountNumber, 'd');
  SET_TEXT(R, kTaxVerificationDate, '1');
  SET_TEXT(R, kBiFeature1, 'e');
  SET_TEXT(R, kBiFeature2, 'f');
  SET_TEXT(R, kFreeItem1, 'g');
  SET_TEXT(R, kFreeItem2, 'h');
  r.Set<R::kCreditLimit>(k == 0 ? -1234.5 : 1e15 * k);
  SET_TEXT(R, kPartnerGroup, 'i');
  SET_TEXT(R, kSalesCostGroup1, 'j');
  SET_TEXT(R, kSalesCostGroup2, 'k');
  SET_TEXT(R, kSalesCostGroup3, 'l');
  SET_TEXT(R, kVatGroup1, 'm');
  SET_TEXT(R, kVatGroup2, 'n');
  SET_TEXT(R, kCashDiscountAccount, 'o');
  r.Set<R::kDiscountDays>(std::int32_t{-14 * k});
  r.Set<R::kDiscountRate>(k == 0 ? 0.00001 : k == 1 ? 0.00002 : 99.99);
  r.Set<R::kNetDays>(std::int32_t{std::numeric_limits<std::int32_t>::min() + k});
  r.Set<R::kPenaltyRate>(-2.5e-7);
  SET_TEXT(R, kChangedBy, 'p');
  SET_TEXT(R, kChangedAt, '2');
  return r;
}

LedgerAccountRec AccountFixture(int k, bool dirty) {
  using R = LedgerAccountRec;
  R r = Start<R>(dirty);
  const std::string numbers[] = {"0100", Fill(15, '1'), "2"};
  r.Set<R::kAccountNumber>(std::string_view(numbers[k]));
  SET_TEXT(R, kCaption, 'A');
  r.Set<R::kAccountType>(std::string_view(k == 0 ? "P" + Fill(9, 'a') : k == 1 ? "T" : ""));
  SET_TEXT(R, kCategoryName, 'B');
  SET_TEXT(R, kLeadCode, 'C');
  SET_TEXT(R, kStartDate, '0');
  r.Set<R::kStartAmount>(k == 0 ? -1234.5 : k == 1 ? 0.3 : 1e-300);
  SET_TEXT(R, kEndDate, '1');
  if (dirty) r.Set<R::kSecondAmount>(77.0);
  r.Bytes[R::kIsCashOrBank.offset] = static_cast<std::uint8_t>(k);
  if (!dirty && k == 2) r.Bytes[R::kIsCashOrBank.offset] = 0;
  SET_TEXT(R, kJournalName, 'D');
  SET_TEXT(R, kAccountFunction, 'E');
  SET_TEXT(R, kSalesTaxCode, 'F');
  SET_TEXT(R, kChangedBy, 'G');
  SET_TEXT(R, kChangedAt, 'H');
  return r;
}

JournalVoucherRec VoucherFixture(int k, bool dirty) {
  using R = JournalVoucherRec;
  R r = Start<R>(dirty);
  r.SetVoucherDate("2026030" + std::to_string(k + 1));
  SET_TEXT(R, kBookNumber, 'A');
  SET_TEXT(R, kJournalName, 'B');
  SET_TEXT(R, kTransactionText, 'C');
  SET_TEXT(R, kLineText, 'D');
  // Stored unpadded in the dirty record; an import pads it to 15.
  const std::string numbers[] = {"0100", Fill(15, '1'), ""};
  r.SetAccountNumber(dirty || k == 1 ? numbers[k] : numbers[k] + std::string(15 - numbers[k].size(), ' '));
  SET_TEXT(R, kAccountCaption, 'E');
  SET_TEXT(R, kCostCentre, 'F');
  SET_TEXT(R, kProjectDescription, 'G');
  SET_TEXT(R, kProductDescription, 'H');
  r.Bytes[R::kInvoiceAttached.offset] = static_cast<std::uint8_t>(!dirty && k == 2 ? 0 : k);
  SET_TEXT(R, kPartnerType, 'I');
  r.SetPartnerNumber(k == 0 ? -7 : 7);
  SET_TEXT(R, kInvoiceNumber, 'J');
  r.SetDebitAmount(k == 0 ? -1234.5 : 123456789012345.0);
  r.SetCreditAmount(k == 1 ? -0.0001 : 0);
  SET_TEXT(R, kDocumentId, 'K');
  SET_TEXT(R, kChangedBy, 'L');
  SET_TEXT(R, kChangedAt, 'M');
  return r;
}

InvoiceRec InvoiceFixture(int k, bool dirty) {
  using R = InvoiceRec;
  R r = Start<R>(dirty);
  // The dates are days, or empty (record 2).
  const auto day = [k](const char* ymd) { return k == 2 ? std::string() : std::string(ymd); };
  r.SetInvoiceDate(day("20260228"));
  SET_TEXT(R, kInvoiceNumber, 'A');
  SET_TEXT(R, kPartnerType, 'B');
  r.SetPartnerNumber(k == 0 ? -3 : k);
  SET_TEXT(R, kEntryNumber, 'C');
  r.SetDiscountDate(day("20260310"));
  r.SetDueDate(day("20260331"));
  r.SetVoucherDate("2026030" + std::to_string(k + 1));
  r.SetInvoiceAmount(k == 0 ? -1234.5 : 1.5e-6);
  r.SetPaidAmount(-2.5e20);
  r.SetPrepaidAmount(k);
  SET_TEXT(R, kMemo, 'D');
  r.Bytes[R::kVoucherCreated.offset] = static_cast<std::uint8_t>(!dirty && k == 2 ? 0 : k);
  SET_TEXT(R, kChangedBy, 'E');
  SET_TEXT(R, kChangedAt, 'F');
  return r;
}

PaymentRec PaymentFixture(int k, bool dirty) {
  using R = PaymentRec;
  R r = Start<R>(dirty);
  r.SetValueDate("2026030" + std::to_string(k + 1));
  SET_TEXT(R, kBankAccount, 'A');
  r.SetPaymentNumber(k == 0 ? -1 : k);
  SET_TEXT(R, kEntryNumber, 'B');
  SET_TEXT(R, kPartnerType, 'C');
  r.SetPartnerNumber(k == 0 ? -9 : 0);
  if (dirty) r.SetAscription(Fill(60, 'x'));
  SET_TEXT(R, kNarrative1, 'D');
  SET_TEXT(R, kNarrative2, 'E');
  SET_TEXT(R, kNarrative3, 'F');
  SET_TEXT(R, kNarrative4, 'G');
  SET_TEXT(R, kNarrative5, 'H');
  SET_TEXT(R, kNarrative6, 'I');
  r.SetAmount(k == 0 ? -1234.5 : 1234.5);
  SET_TEXT(R, kMemo, 'J');
  r.Bytes[R::kVoucherCreated.offset] = static_cast<std::uint8_t>(!dirty && k == 2 ? 0 : k);
  SET_TEXT(R, kChangedBy, 'K');
  SET_TEXT(R, kChangedAt, 'L');
  return r;
}

LedgerCategoryRec CategoryFixture(int k, bool dirty) {
  using R = LedgerCategoryRec;
  R r = Start<R>(dirty);
  r.SetCategoryKind(k == 1 ? records::kProfitAndLossKind : records::kBalanceSheetKind);
  SET_TEXT(R, kCategoryName, static_cast<char>('A' + k));
  if (k == 2) r.SetCategoryName("");
  SET_TEXT(R, kChangedBy, 'B');
  SET_TEXT(R, kChangedAt, 'C');
  return r;
}

#undef SET_TEXT

template <class R, class Fixture, class Export, class Import>
void CheckRoundTrip(Fixture fixture, Export exportRecords, Import importText) {
  std::vector<R> stored, want;
  for (int k = 0; k < 3; ++k) {
    stored.push_back(fixture(k, true));
    want.push_back(fixture(k, false));
  }
  for (char sep : {',', '.'}) {
    SCOPED_TRACE(std::string("separator ") + sep);
    ScopedNumberFormat format(sep);
    const auto out = exportRecords(stored);
    ASSERT_FALSE(out.refused);
    EXPECT_EQ(out.records, 3);
    const auto in = importText(books::exchange::CsvFileText(out.lines));
    ASSERT_FALSE(in.error) << books::exchange::CsvImportErrorText(*in.error);
    EXPECT_EQ(in.lines, 3);
    ASSERT_EQ(in.records.size(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(SameBytes(in.records[k], want[k])) << "record " << k;
  }
}

TEST(DelimitedRoundTrip, EveryKindComesBackUnderBothSeparators) {
  for (bool customers : {true, false}) {
    CheckRoundTrip<PartnerRec>(
        PartnerFixture, [&](const auto& r) { return books::exchange::ExportPartners(r, customers); },
        [&](std::string_view t) { return books::exchange::ImportPartners(t, customers); });
  }
  CheckRoundTrip<LedgerAccountRec>(AccountFixture, books::exchange::ExportLedgerAccounts,
                                   books::exchange::ImportLedgerAccounts);
  CheckRoundTrip<JournalVoucherRec>(VoucherFixture, books::exchange::ExportJournalVouchers,
                                    [](std::string_view t) { return books::exchange::ImportJournalVouchers(t); });
  CheckRoundTrip<InvoiceRec>(InvoiceFixture, books::exchange::ExportInvoices, books::exchange::ImportInvoices);
  CheckRoundTrip<PaymentRec>(PaymentFixture, books::exchange::ExportPayments, books::exchange::ImportPayments);
  CheckRoundTrip<LedgerCategoryRec>(CategoryFixture, books::exchange::ExportLedgerCategories,
                                    books::exchange::ImportLedgerCategories);
}

// The golden files: per kind and separator, the bytes an export of the
// kind's fixture gives (tests/data/golden/<kind>-<point|comma>.csv): the
// case-table record, then the full-width, short and empty records. Reading
// a golden file gives the clean fixture back.
std::string GoldenPath(const std::string& name) { return std::string(OMBRELO_GOLDEN_DIR) + "/" + name; }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

template <class R, class Fixture, class Export, class Import>
void CheckGolden(const std::string& kind, R caseRecord, Fixture fixture, Export exportRecords, Import importText) {
  std::vector<R> stored{caseRecord};
  for (int k = 0; k < 3; ++k) stored.push_back(fixture(k, true));
  for (char sep : {'.', ','}) {
    const std::string name = kind + (sep == '.' ? "-point.csv" : "-comma.csv");
    SCOPED_TRACE(name);
    ScopedNumberFormat format(sep);
    const std::string text = books::exchange::CsvFileText(exportRecords(stored).lines);
    if (std::getenv("OMBRELO_WRITE_GOLDEN")) std::ofstream(GoldenPath(name), std::ios::binary) << text;
    const std::string golden = ReadFileBytes(GoldenPath(name));
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(text, golden);
    const auto in = importText(golden);
    ASSERT_FALSE(in.error) << books::exchange::CsvImportErrorText(*in.error);
    ASSERT_EQ(in.records.size(), 4u);
  }
}

TEST(DelimitedGolden, EveryKindWritesItsGoldenFileUnderBothSeparators) {
  CheckGolden<PartnerRec>(
      "customers", GoldenPartner(), PartnerFixture,
      [](const auto& r) { return books::exchange::ExportPartners(r, true); },
      [](std::string_view t) { return books::exchange::ImportPartners(t, true); });
  CheckGolden<PartnerRec>(
      "suppliers", GoldenPartner(), PartnerFixture,
      [](const auto& r) { return books::exchange::ExportPartners(r, false); },
      [](std::string_view t) { return books::exchange::ImportPartners(t, false); });
  LedgerAccountRec account = GoldenAccount();
  account.SetAccountNumber("0099");  // the fixture holds 0100
  CheckGolden<LedgerAccountRec>("glaccounts", account, AccountFixture, books::exchange::ExportLedgerAccounts,
                                books::exchange::ImportLedgerAccounts);
  CheckGolden<JournalVoucherRec>("vouchers", GoldenVoucherLine(), VoucherFixture,
                                 books::exchange::ExportJournalVouchers,
                                 [](std::string_view t) { return books::exchange::ImportJournalVouchers(t); });
  CheckGolden<InvoiceRec>("invoices", GoldenInvoice(), InvoiceFixture, books::exchange::ExportInvoices,
                          books::exchange::ImportInvoices);
  CheckGolden<PaymentRec>("payments", GoldenPayment(), PaymentFixture, books::exchange::ExportPayments,
                          books::exchange::ImportPayments);
  CheckGolden<LedgerCategoryRec>("glcategories", GoldenCategory(), CategoryFixture,
                                 books::exchange::ExportLedgerCategories, books::exchange::ImportLedgerCategories);
}

TEST(DelimitedRoundTrip, AccountZeroOneHundredTravelsAsHash) {
  const auto out = books::exchange::ExportLedgerAccounts({AccountFixture(0, false)});
  EXPECT_TRUE(out.lines[1].starts_with("#100;"));
  const auto jv = books::exchange::ExportJournalVouchers({VoucherFixture(0, true)});
  EXPECT_NE(jv.lines[1].find(";#100;"), std::string::npos);  // stored unpadded here
  const auto in = books::exchange::ImportJournalVouchers(books::exchange::CsvFileText(jv.lines));
  ASSERT_EQ(in.records.size(), 1u);
  EXPECT_EQ(in.records[0].AccountNumber(), "0100           ");
}

TEST(DelimitedRoundTrip, ALongPartnerLineKeepsItsLastColumns) {
  const auto out = books::exchange::ExportPartners({PartnerFixture(0, false)}, true);
  ASSERT_EQ(out.lines.size(), 2u);
  EXPECT_GT(out.lines[1].size(), 1600u);
  const auto in = books::exchange::ImportPartners(books::exchange::CsvFileText(out.lines), true);
  ASSERT_FALSE(in.error);
  EXPECT_EQ(in.records[0].Get<PartnerRec::kChangedAt>(), Fill(20, '2'));
  EXPECT_EQ(in.records[0].Get<PartnerRec::kPenaltyRate>(), -2.5e-7);
}

// ---- Reading a text ------------------------------------------------------------

const std::string kCategoryHeader = "P&L or BS;Category;UserId;Timestamp{***GL category file***}";
const std::string kInvoiceHeader = books::exchange::CsvHeaderLine(CsvKind::Invoices);

TEST(DelimitedImport, SplitsFieldsFromTheLeft) {
  struct Case {
    const char* line;
    const char* name;  // column 2
    const char* by;    // column 3
    const char* at;    // column 4
  };
  const Case cases[] = {
      {"Balance sheet account;N;U;T;", "N", "U", "T"},
      {"Balance sheet account;N;U;T", "N", "U", "T"},                 // the last without ";"
      {"Balance sheet account;N;U;T;extra;more;", "N", "U", "T"},     // extra values ignored
      {"Balance sheet account;N;U;", "N", "U", ""},                   // one value short
      {"Balance sheet account;N", "", "", "N"},                       // no ";" left: empty, the rest goes last
      {"Balance sheet account;;;;", "", "", ""},
  };
  for (const Case& c : cases) {
    const auto in = books::exchange::ImportLedgerCategories(kCategoryHeader + "\r\n" + c.line + "\r\n");
    ASSERT_FALSE(in.error) << c.line;
    ASSERT_EQ(in.records.size(), 1u);
    EXPECT_EQ(in.records[0].CategoryName(), c.name) << c.line;
    EXPECT_EQ(in.records[0].ChangedBy(), c.by) << c.line;
    EXPECT_EQ(in.records[0].ChangedAt(), c.at) << c.line;
  }
}

TEST(DelimitedImport, ReadsLineEndsAndMarkers) {
  const std::string line = "Balance sheet account;N;U;T;";
  struct Case {
    std::string text;
    int lines;  // -1: refused for the marker
  };
  const Case cases[] = {
      {kCategoryHeader + "\r\n" + line + "\r\n", 1},
      {kCategoryHeader + "\n" + line + "\n", 1},        // LF only
      {kCategoryHeader + "\r\n" + line, 1},              // no end after the last line
      {"\xEF\xBB\xBF" + kCategoryHeader + "\r\n" + line + "\r\n", 1},  // byte-order mark
      {"junk " + kCategoryHeader + " junk\r\n" + line + "\r\n", 1},  // the marker anywhere in line 1
      {kCategoryHeader + "\r\n", 0},                     // the header alone: nothing to do
      {kCategoryHeader, 0},
      {"", -1},
      {"P&L or BS;Category;UserId;Timestamp\r\n" + line + "\r\n", -1},
      {line + "\r\n" + kCategoryHeader + "\r\n", -1},    // the marker must be in line 1
  };
  for (const Case& c : cases) {
    const auto in = books::exchange::ImportLedgerCategories(c.text);
    if (c.lines < 0) {
      ASSERT_TRUE(in.error) << c.text;
      EXPECT_EQ(*in.error, (CsvImportError{CsvFault::NoMarker, {1}, 0, {}}));
      EXPECT_TRUE(in.records.empty());
    } else {
      ASSERT_FALSE(in.error) << c.text;
      EXPECT_EQ(in.lines, c.lines) << c.text;
      EXPECT_EQ(in.records.size(), static_cast<std::size_t>(c.lines));
    }
  }
}

TEST(DelimitedImport, ACustomerFileIsNoSupplierFile) {
  const auto out = books::exchange::ExportPartners({GoldenPartner()}, true);
  const auto in = books::exchange::ImportPartners(books::exchange::CsvFileText(out.lines), false);
  ASSERT_TRUE(in.error);
  EXPECT_EQ(in.error->fault, CsvFault::NoMarker);
}

TEST(DelimitedImport, OnlyExactlyTrueIsTrue) {
  const std::string text = books::exchange::CsvFileText(books::exchange::ExportInvoices({GoldenInvoice()}).lines);
  for (const auto& [word, stored] : {std::pair{"true", 1}, {"TRUE", 0}, {"True", 0}, {"1", 0}, {"", 0}}) {
    std::string edited = text;
    edited.replace(edited.find(";true;"), 6, std::string(";") + word + ";");
    const auto in = books::exchange::ImportInvoices(edited);
    ASSERT_FALSE(in.error) << word;
    EXPECT_EQ(in.records[0].Bytes[InvoiceRec::kVoucherCreated.offset], stored) << word;
  }
}

// A bad field names its line, column and text, and nothing is produced,
// however many good lines surround it.
TEST(DelimitedImport, AMalformedLineRefusesEverything) {
  ScopedNumberFormat comma(',');
  const std::string good = "20260301;F1;CUS;1;E;;;20260301;10,5;0;0;m;false;U;T;";
  struct Case {
    std::string badLine;
    CsvImportError error;
  };
  const Case cases[] = {
      {"20260302;F2;CUS;x1;E;;;20260302;10,5;0;0;m;false;U;T;", {CsvFault::BadInteger, {3}, 4, "x1"}},
      {"20260302;F2;CUS;;E;;;20260302;10,5;0;0;m;false;U;T;", {CsvFault::BadInteger, {3}, 4, ""}},
      {"20260302;F2;CUS;99999999999;E;;;20260302;1;0;0;m;false;U;T;", {CsvFault::BadInteger, {3}, 4, "99999999999"}},
      {"20260302;F2;CUS;2;E;;;20260302;10.5;0;0;m;false;U;T;", {CsvFault::BadNumber, {3}, 9, "10.5"}},
      {"20260302;F2;CUS;2;E;;;20260302;1;0;NaN;m;false;U;T;", {CsvFault::BadNumber, {3}, 11, "NaN"}},
      {"20260302;F2;CUS;2;E;;;20260302;1;0;1E999;m;false;U;T;", {CsvFault::BadNumber, {3}, 11, "1E999"}},
      {"20260302;F2;CUS;2;E;;;20260302;1;", {CsvFault::BadNumber, {3}, 10, ""}},  // too few values
      {"", {CsvFault::BadInteger, {3}, 4, ""}},                                     // an empty line
  };
  for (const Case& c : cases) {
    const auto in = books::exchange::ImportInvoices(Text({kInvoiceHeader, good, c.badLine, good}));
    ASSERT_TRUE(in.error) << c.badLine;
    EXPECT_EQ(*in.error, c.error) << c.badLine;
    EXPECT_TRUE(in.records.empty());
    EXPECT_EQ(in.lines, 0);
    const std::string message = books::exchange::CsvImportErrorText(*in.error);
    EXPECT_NE(message.find('3'), std::string::npos) << message;
  }
}

TEST(DelimitedImport, ACommaExportFailsUnderAPointAtItsFirstDecimalAmount) {
  std::string text;
  {
    ScopedNumberFormat comma(',');
    text = books::exchange::CsvFileText(books::exchange::ExportJournalVouchers({GoldenVoucherLine()}).lines);
  }
  ScopedNumberFormat point('.');
  const auto in = books::exchange::ImportJournalVouchers(text);
  ASSERT_TRUE(in.error);
  EXPECT_EQ(*in.error, (CsvImportError{CsvFault::BadNumber, {2}, 15, "1234,5"}));
}

// ---- The kinds' own rules -------------------------------------------------------

std::string AccountLine(const std::string& number, const std::string& type) {
  return number + ";c;" + type + ";cat;;;0;;false;;;;;;";
}

TEST(DelimitedImport, AccountsAreCheckedAndSorted) {
  const std::string header = books::exchange::CsvHeaderLine(CsvKind::LedgerAccounts);
  struct Case {
    std::vector<std::string> lines;
    std::optional<CsvImportError> error;
    std::vector<std::string> numbers;  // when accepted, in file order
  };
  std::vector<std::string> many;
  for (int i = 0; i < 401; ++i) many.push_back(AccountLine(std::to_string(1000 + i), "D"));
  std::vector<std::string> enough(many.begin(), many.end() - 1);
  const Case cases[] = {
      {{AccountLine("3000", "C"), AccountLine("#100", "P"), AccountLine("2000", "T"), AccountLine("1000", "D")},
       std::nullopt,
       {"0100", "1000", "2000", "3000"}},
      {{AccountLine("1000", "D"), AccountLine("2000", "D"), AccountLine("1000", "C")},
       CsvImportError{CsvFault::DuplicateKey, {2, 4}, 0, {}},
       {}},
      {{AccountLine("#100", "D"), AccountLine("0100", "D")}, CsvImportError{CsvFault::DuplicateKey, {2, 3}, 0, {}}, {}},
      // Compared as the audit file compares them: blanks at either end do not count.
      {{AccountLine("0100 ", "D"), AccountLine("#100", "D")}, CsvImportError{CsvFault::DuplicateKey, {2, 3}, 0, {}}, {}},
      {{AccountLine("1000", "D"), AccountLine(" 1000", "D")}, CsvImportError{CsvFault::DuplicateKey, {2, 3}, 0, {}}, {}},
      {{AccountLine("1", "P"), AccountLine("2", "D"), AccountLine("3", "profit")},
       CsvImportError{CsvFault::SecondProfitAccount, {2, 4}, 3, "P"},
       {}},
      {{AccountLine("1", "T"), AccountLine("2", "t")}, CsvImportError{CsvFault::SecondTransferAccount, {2, 3}, 3, "T"},
       {}},
      {many, CsvImportError{CsvFault::TooManyAccounts, {}, 0, "401"}, {}},
  };
  for (const Case& c : cases) {
    std::string text = header + "\r\n";
    for (const std::string& l : c.lines) text += l + "\r\n";
    const auto in = books::exchange::ImportLedgerAccounts(text);
    EXPECT_EQ(in.error, c.error) << c.lines.front();
    if (c.error) {
      EXPECT_TRUE(in.records.empty());
      continue;
    }
    std::vector<std::string> numbers;
    for (const auto& a : in.records) numbers.push_back(a.AccountNumber());
    EXPECT_EQ(numbers, c.numbers);
  }
  std::string text = header + "\r\n";
  for (const std::string& l : enough) text += l + "\r\n";
  EXPECT_EQ(books::exchange::ImportLedgerAccounts(text).records.size(), 400u);
}

TEST(DelimitedImport, VoucherLinesAreSortedStablyAndCountedBeforeTheOpenDate) {
  const std::string header = books::exchange::CsvHeaderLine(CsvKind::JournalVouchers);
  const auto line = [](const std::string& date, const std::string& number, const std::string& text) {
    return date + ";" + number + ";J;;" + text + ";1000;;;;;false;;0;;1;0;;;;";
  };
  const auto in = books::exchange::ImportJournalVouchers(
      Text({header, line("20260301", "B", "b1"), line("20260301", "A", "a1"), line("20260201", "Z", "z1"),
            line("20260301", "B", "b2"), line("20260301", "A", "a2")}),
      "20260301");
  ASSERT_FALSE(in.error);
  std::vector<std::string> order;
  for (const auto& j : in.records) order.push_back(j.LineText());
  EXPECT_EQ(order, (std::vector<std::string>{"z1", "a1", "a2", "b1", "b2"}));
  EXPECT_EQ(in.lines, 5);
  EXPECT_EQ(in.linesBeforeOpenDate, 1);
  EXPECT_EQ(books::exchange::VoucherLinesBefore(in.records, "20260302"), 5);
  EXPECT_EQ(books::exchange::VoucherLinesBefore(in.records, ""), 0);
  EXPECT_EQ(in.records[0].AccountNumber(), "1000           ");
}

TEST(DelimitedImport, PartnersAllowGapsButNoNumberTwice) {
  const auto text = [](std::vector<int> numbers) {
    std::vector<PartnerRec> partners;
    for (int n : numbers) {
      partners.push_back(GoldenPartner());
      partners.back().SetOurNumber(n);
    }
    return books::exchange::CsvFileText(books::exchange::ExportPartners(partners, true).lines);
  };
  const auto gaps = books::exchange::ImportPartners(text({1, 5, 3}), true);
  ASSERT_FALSE(gaps.error);
  ASSERT_EQ(gaps.records.size(), 3u);
  EXPECT_EQ(gaps.records[1].OurNumber(), 5);  // kept in text order
  const auto twice = books::exchange::ImportPartners(text({1, 5, 3, 5}), true);
  EXPECT_EQ(twice.error, (CsvImportError{CsvFault::DuplicateKey, {3, 5}, 0, {}}));
  EXPECT_TRUE(twice.records.empty());
}

TEST(DelimitedImport, InvoicesAndPaymentsHoldEachKeyOnceAndAreSorted) {
  InvoiceRec a = GoldenInvoice(), b = GoldenInvoice(), c = GoldenInvoice();
  b.SetVoucherDate("20260101");
  c.SetInvoiceNumber("F-1");  // same book date, kind and partner: sorts by number
  {
    const auto in =
        books::exchange::ImportInvoices(books::exchange::CsvFileText(books::exchange::ExportInvoices({a, b, c}).lines));
    ASSERT_FALSE(in.error);
    EXPECT_EQ(in.records[0].VoucherDate(), "20260101");
    EXPECT_EQ(in.records[1].InvoiceNumber(), "F-1");
    EXPECT_EQ(in.records[2].InvoiceNumber(), "F-9");
  }
  {
    InvoiceRec again = a;
    again.SetMemo("other");
    const auto in = books::exchange::ImportInvoices(
        books::exchange::CsvFileText(books::exchange::ExportInvoices({a, b, again}).lines));
    EXPECT_EQ(in.error, (CsvImportError{CsvFault::DuplicateKey, {2, 4}, 0, {}}));
  }
  PaymentRec p = GoldenPayment(), q = GoldenPayment(), r = GoldenPayment();
  q.SetPaymentNumber(1);  // same date, kind and partner: text order kept
  r.SetValueDate("20260101");
  {
    const auto in =
        books::exchange::ImportPayments(books::exchange::CsvFileText(books::exchange::ExportPayments({p, q, r}).lines));
    ASSERT_FALSE(in.error);
    EXPECT_EQ(in.records[0].ValueDate(), "20260101");
    EXPECT_EQ(in.records[1].PaymentNumber(), 3);
    EXPECT_EQ(in.records[2].PaymentNumber(), 1);
    EXPECT_EQ(in.records[1].Ascription(), "");
  }
  {
    const auto in =
        books::exchange::ImportPayments(books::exchange::CsvFileText(books::exchange::ExportPayments({p, r, p}).lines));
    EXPECT_EQ(in.error, (CsvImportError{CsvFault::DuplicateKey, {2, 4}, 0, {}}));
  }
}

// An invoice number enters without the blanks at its ends (trimmed before
// it is cut to its 15 characters), as the invoice tab stores it; two lines
// that differ only by such blanks hold the same key.
TEST(DelimitedImport, InvoiceNumbersComeInWithoutBlanksAtTheirEnds) {
  ScopedNumberFormat point('.');
  auto line = [](const std::string& number, int partner) {
    return "20260301;" + number + ";CUS;" + std::to_string(partner) + ";E;;;20260301;10.5;0;0;m;false;U;T;";
  };
  const std::string fifteen = "123456789012345";
  const auto in = books::exchange::ImportInvoices(
      Text({kInvoiceHeader, line(" F1", 1), line("F2 ", 2), line("  F3  ", 3), line(" " + fifteen + " ", 4)}));
  ASSERT_FALSE(in.error) << books::exchange::CsvImportErrorText(*in.error);
  ASSERT_EQ(in.records.size(), 4u);
  EXPECT_EQ(in.records[0].InvoiceNumber(), "F1");
  EXPECT_EQ(in.records[1].InvoiceNumber(), "F2");
  EXPECT_EQ(in.records[2].InvoiceNumber(), "F3");
  EXPECT_EQ(in.records[3].InvoiceNumber(), fifteen);
  const auto twice = books::exchange::ImportInvoices(Text({kInvoiceHeader, line("F1", 1), line(" F1 ", 1)}));
  EXPECT_EQ(twice.error, (CsvImportError{CsvFault::DuplicateKey, {2, 3}, 0, {}}));
}

TEST(DelimitedImport, CategoriesNeedAKnownKindAndADistinctName) {
  struct Case {
    std::vector<std::string> lines;
    std::optional<CsvImportError> error;
  };
  const Case cases[] = {
      {{"Balance sheet account;A;;;", "Profit and Loss account;B;;;"}, std::nullopt},
      {{"Balance sheet account;A;;;", "balance sheet account;B;;;"},
       CsvImportError{CsvFault::UnknownCategoryKind, {3}, 1, "balance sheet account"}},
      {{";A;;;"}, CsvImportError{CsvFault::UnknownCategoryKind, {2}, 1, ""}},
      {{"Balance sheet account;A;;;", "Profit and Loss account;B;;;", "Profit and Loss account;A;;;"},
       CsvImportError{CsvFault::DuplicateKey, {2, 4}, 0, {}}},
  };
  for (const Case& c : cases) {
    std::string text = kCategoryHeader + "\r\n";
    for (const std::string& l : c.lines) text += l + "\r\n";
    const auto in = books::exchange::ImportLedgerCategories(text);
    EXPECT_EQ(in.error, c.error) << c.lines.back();
    EXPECT_EQ(in.records.size(), c.error ? 0u : c.lines.size());
  }
}

// ---- Dates -------------------------------------------------------------------

// `line` with its field `column` (from 1) replaced by `value`.
std::string WithField(const std::string& line, int column, const std::string& value) {
  std::size_t from = 0;
  for (int i = 1; i < column; ++i) from = line.find(';', from) + 1;
  const std::size_t to = line.find(';', from);
  return line.substr(0, from) + value + line.substr(to);
}

// A voucher line's date must be a day; an invoice's and a payment's dates
// a day or empty. A refusal names the line, the column and the value.
TEST(DelimitedImport, DatesThatAreNoDaysRefuseTheImport) {
  const auto voucher = books::exchange::ExportJournalVouchers({GoldenVoucherLine()}).lines;
  const auto invoice = books::exchange::ExportInvoices({GoldenInvoice()}).lines;
  const auto payment = books::exchange::ExportPayments({GoldenPayment()}).lines;
  using Import = std::function<std::optional<CsvImportError>(const std::string&)>;
  const Import vouchers = [](const std::string& t) { return books::exchange::ImportJournalVouchers(t).error; };
  const Import invoices = [](const std::string& t) { return books::exchange::ImportInvoices(t).error; };
  const Import payments = [](const std::string& t) { return books::exchange::ImportPayments(t).error; };
  struct Case {
    const std::vector<std::string>* lines;
    Import import;
    int column;
    std::string value;
    bool refused;
  };
  const Case cases[] = {
      {&voucher, vouchers, 1, "20080230", true},  {&voucher, vouchers, 1, "2008-02-15", true},
      {&voucher, vouchers, 1, "15-02-2008", true}, {&voucher, vouchers, 1, "", true},
      {&voucher, vouchers, 1, "19891231", true},  {&voucher, vouchers, 1, "20080229", false},
      {&invoice, invoices, 1, "2008-13-45", true}, {&invoice, invoices, 7, "31022008", true},
      {&invoice, invoices, 6, "2008021", true},    {&invoice, invoices, 8, "x", true},
      {&invoice, invoices, 1, "", false},         {&invoice, invoices, 8, "", false},
      {&payment, payments, 1, "tomorrow", true},   {&payment, payments, 1, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.column) + " \"" + c.value + "\"");
    const std::string text = Text({(*c.lines)[0], WithField((*c.lines)[1], c.column, c.value)});
    const auto error = c.import(text);
    if (!c.refused) {
      EXPECT_FALSE(error) << books::exchange::CsvImportErrorText(*error);
      continue;
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, (CsvImportError{CsvFault::BadDate, {2}, c.column, c.value}));
    EXPECT_NE(books::exchange::CsvImportErrorText(*error).find("Line 2, column " + std::to_string(c.column)),
              std::string::npos);
  }
}

// The partner and account dates are texts as before: an empty one and
// "19000101" come back as they were.
TEST(DelimitedImport, PartnerAndAccountDatesStayTexts) {
  for (const char* date : {"", "19000101"}) {
    PartnerRec p = GoldenPartner();
    p.SetTaxVerificationDate(date);
    const auto partners = books::exchange::ImportPartners(
        books::exchange::CsvFileText(books::exchange::ExportPartners({p}, true).lines), true);
    ASSERT_FALSE(partners.error) << date;
    ASSERT_EQ(partners.records.size(), 1u);
    EXPECT_EQ(partners.records[0].TaxVerificationDate(), date);
    EXPECT_EQ(books::exchange::ExportPartners(partners.records, true).lines,
              books::exchange::ExportPartners({p}, true).lines);
  }
  LedgerAccountRec a = GoldenAccount();
  a.SetStartDate("");
  const auto accounts = books::exchange::ImportLedgerAccounts(
      books::exchange::CsvFileText(books::exchange::ExportLedgerAccounts({a}).lines));
  ASSERT_FALSE(accounts.error);
  ASSERT_EQ(accounts.records.size(), 1u);
  EXPECT_EQ(accounts.records[0].StartDate(), "");
  EXPECT_EQ(books::exchange::ExportLedgerAccounts(accounts.records).lines,
            books::exchange::ExportLedgerAccounts({a}).lines);
}

// ---- Encodings -------------------------------------------------------------------

// A file saved as UTF-8, with or without its byte-order mark, gives the
// records its code page 1252 twin gives; a character the code page lacks is
// refused where it stands; the program's own export (é, €, the five bytes
// the code page leaves undefined) comes back byte for byte.
TEST(DelimitedImport, AUtf8FileReadsAsItsCodePageTwin) {
  PartnerRec p = GoldenPartner();
  p.SetName("Caf\xE9 \x80 5");
  p.SetTown("\x81\x8D\x8F\x90\x9D");
  p.SetMemo("\x93quoted\x94 \xDF");
  const std::string cp = books::exchange::CsvFileText(books::exchange::ExportPartners({p}, true).lines);
  const auto fromCp = books::exchange::ImportPartners(cp, true);
  ASSERT_FALSE(fromCp.error) << books::exchange::CsvImportErrorText(*fromCp.error);
  ASSERT_EQ(fromCp.records.size(), 1u);
  EXPECT_TRUE(SameBytes(fromCp.records[0], p));
  for (const std::string& utf8 : {cp1252::ToUtf8(cp), "\xEF\xBB\xBF" + cp1252::ToUtf8(cp)}) {
    ASSERT_NE(utf8, cp);
    const auto in = books::exchange::ImportPartners(utf8, true);
    ASSERT_FALSE(in.error) << books::exchange::CsvImportErrorText(*in.error);
    ASSERT_EQ(in.records.size(), 1u);
    EXPECT_TRUE(SameBytes(in.records[0], p));
  }
  // An arrow in line 3's second column, after a good line 2.
  const std::string category = "Balance sheet account;A \xC3\xA9;U;T;";
  for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
    const auto in = books::exchange::ImportLedgerCategories(
        mark + Text({kCategoryHeader, category, "Balance sheet account;B \xE2\x86\x92 C;U;T;"}));
    ASSERT_TRUE(in.error);
    EXPECT_EQ(*in.error, (CsvImportError{CsvFault::LostCharacter, {3}, 2, "B ? C"}));
    EXPECT_TRUE(in.records.empty());
    EXPECT_EQ(books::exchange::CsvImportErrorText(*in.error).substr(0, 16), "Line 3, column 2");
  }
  // The same arrow in the header line stores nothing and is let be.
  const auto header = books::exchange::ImportLedgerCategories(Text({kCategoryHeader + " \xE2\x86\x92", category}));
  ASSERT_FALSE(header.error);
  EXPECT_EQ(header.records[0].CategoryName(), "A \xE9");
  const auto both = books::exchange::ImportLedgerCategories(
      Text({kCategoryHeader + " \xE2\x86\x92", category, category, "Balance sheet account;B;U;T \xE2\x86\x92;"}));
  ASSERT_TRUE(both.error);
  EXPECT_EQ(*both.error, (CsvImportError{CsvFault::LostCharacter, {4}, 4, "T ?"}));
}

// ---- Writing the data file ------------------------------------------------------

class ImportWriteTest : public ::testing::Test {
 protected:
  support::FakeDataStore store;
  const std::string path = std::string("/w/") + store::FileInfo(store::FileCode::GLC).fileName;
  const std::string backup = path + ".before-import";
};

TEST_F(ImportWriteTest, KeepsTheOldFileBesideAndReplacesIt) {
  const std::vector<LedgerCategoryRec> old{CategoryFixture(0, false)};
  const std::vector<LedgerCategoryRec> first{CategoryFixture(1, false), CategoryFixture(2, false)};
  store.fs.SetFile(path, support::Bytes(old));
  ASSERT_TRUE(books::exchange::WriteImportedRecords(store::FileCode::GLC, first).Ok());
  EXPECT_EQ(store.fs.File(path), support::Bytes(first));
  EXPECT_EQ(store.fs.File(backup), support::Bytes(old));
  // The next import replaces the one copy.
  ASSERT_TRUE(books::exchange::WriteImportedRecords(store::FileCode::GLC, old).Ok());
  EXPECT_EQ(store.fs.File(path), support::Bytes(old));
  EXPECT_EQ(store.fs.File(backup), support::Bytes(first));
  EXPECT_FALSE(store::FileSetOpen);
}

// The copy holds the whole file: nobody may read it who may not read the
// file, also when an older copy was readable by more.
TEST_F(ImportWriteTest, TheCopyKeepsTheFilesAccessMode) {
  for (std::uint32_t mode : {0600u, 0640u}) {
    store.fs.SetFile(path, support::Bytes(std::vector{CategoryFixture(0, false)}));
    store.fs.SetMode(path, mode);
    store.fs.SetFile(backup, "an older copy");  // 0644
    ASSERT_TRUE(
        books::exchange::WriteImportedRecords(store::FileCode::GLC, std::vector{CategoryFixture(1, false)}).Ok());
    EXPECT_EQ(store.fs.ModeOf(backup), mode);
    EXPECT_EQ(store.fs.File(backup), support::Bytes(std::vector{CategoryFixture(0, false)}));
    EXPECT_FALSE(store.fs.HasFile(backup + ".ombrelo-tmp"));
  }
}

TEST_F(ImportWriteTest, WorksInsideTheCallersSet) {
  store.fs.SetFile(path, support::Bytes(std::vector{CategoryFixture(0, false)}));
  store::ScopedFileSet set("GLC");
  ASSERT_TRUE(set.Ok());
  const std::vector<LedgerCategoryRec> recs{CategoryFixture(1, false)};
  ASSERT_TRUE(books::exchange::WriteImportedRecords(store::FileCode::GLC, recs).Ok());
  EXPECT_TRUE(store::FileSetOpen);
  EXPECT_EQ(store::RecordCount(store::FileCode::GLC), 1);
  EXPECT_EQ(store.fs.File(path), support::Bytes(recs));
}

TEST_F(ImportWriteTest, AFailedCopyOrWriteLeavesTheFileAsItWas) {
  const std::string old = support::Bytes(std::vector{CategoryFixture(0, false)});
  const std::vector<LedgerCategoryRec> recs{CategoryFixture(1, false)};
  store.fs.SetFile(path, old);
  store.fs.InjectError(backup + ".ombrelo-tmp", support::FakeFileSystem::Op::Write, 5);
  const auto copy = books::exchange::WriteImportedRecords(store::FileCode::GLC, recs);
  EXPECT_EQ(copy.step, books::exchange::ImportWriteStep::Backup);
  EXPECT_EQ(copy.code, 5);
  EXPECT_EQ(store.fs.File(path), old);

  store.fs.ClearErrors();
  store.fs.InjectError(path + ".ombrelo-tmp", support::FakeFileSystem::Op::Write, 1028);
  const auto write = books::exchange::WriteImportedRecords(store::FileCode::GLC, recs);
  EXPECT_EQ(write.step, books::exchange::ImportWriteStep::Replace);
  EXPECT_EQ(store.fs.File(path), old);
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(ImportWriteTest, ASetThatDoesNotOpenWritesNothing) {
  store.fs.SetFile(path, "old");
  store.fs.InjectError(path, support::FakeFileSystem::Op::OpenReadWrite, 5);
  const auto result =
      books::exchange::WriteImportedRecords(store::FileCode::GLC, std::vector{CategoryFixture(1, false)});
  EXPECT_EQ(result.step, books::exchange::ImportWriteStep::OpenSet);
  EXPECT_EQ(result.failure.result, 1);
  EXPECT_EQ(store.fs.File(path), "old");
  EXPECT_FALSE(store.fs.HasFile(backup));
}

}  // namespace
