// The release-flag record, the old record layouts and their conversions to
// today's, and the conversion run at log-in: chaining, backups, damaged
// files, failures and crashes part-way.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "records/releaseflagrec.h"
#include "store/adminsettingsload.h"
#include "store/dataconversion.h"
#include "store/fileset.h"
#include "store/scopedfileset.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {



TEST(ReleaseFlagRec, GoldenBytes) {
  records::ReleaseFlagRec rec;
  rec.SetConversionCode("007");
  EXPECT_EQ(support::Bytes(rec), std::string("\x03" "007", 4));
  rec.SetConversionCode("12345");  // cut to three characters
  EXPECT_EQ(support::Bytes(rec), std::string("\x03" "123", 4));
  // A length byte beyond the room reads as three characters.
  rec.Bytes = {9, '0', '1', '1'};
  EXPECT_EQ(rec.ConversionCode(), "011");
}

std::vector<std::string> All() { return {"001", "002", "003", "004", "005", "006", "007", "008", "009", "010", "011"}; }

TEST(DataConversion, MissingCodes) {
  struct Case {
    const char* name;
    std::vector<std::string> recorded;
    std::vector<std::string> missing;
  };
  const std::vector<Case> cases = {
      {"EverythingRecorded", All(), {}},
      // The order of the records does not matter, nor do doubles.
      {"AnyOrder", {"011", "010", "009", "008", "007", "006", "005", "004", "003", "002", "001", "001"}, {}},
      {"OldRelease", {"001", "002", "003", "004", "005", "006", "007", "008"}, {"009", "010", "011"}},
      // Texts that are no code, and codes written without their zeros.
      {"Garbage", {"", "1", "01", "012", "abc"}, All()},
  };
  for (const Case& c : cases) EXPECT_EQ(store::MissingConversionCodes(c.recorded), c.missing) << c.name;
}

using store::FileCode;

// An old record written byte by byte at the offsets of its layout, over a
// filler, so that gaps and the room after each text hold bytes a
// conversion must not carry over.
class OldBytes {
 public:
  explicit OldBytes(std::size_t size) : b_(size, '\xEE') {}
  OldBytes& S(std::size_t at, std::size_t capacity, const std::string& v) {
    EXPECT_LE(v.size(), capacity);
    b_[at] = static_cast<char>(v.size());
    std::memcpy(b_.data() + at + 1, v.data(), v.size());
    return *this;
  }
  OldBytes& I(std::size_t at, std::int32_t v) { return Raw(at, &v, 4); }
  OldBytes& H(std::size_t at, std::int16_t v) { return Raw(at, &v, 2); }
  OldBytes& D(std::size_t at, double v) { return Raw(at, &v, 8); }
  OldBytes& B(std::size_t at, bool v) {
    b_[at] = v ? 1 : 0;
    return *this;
  }
  const std::string& Bytes() const { return b_; }

 private:
  OldBytes& Raw(std::size_t at, const void* v, std::size_t n) {
    std::memcpy(b_.data() + at, v, n);  // little-endian, as the files
    return *this;
  }
  std::string b_;
};

// A text of exactly `n` characters, distinct per `tag`.
std::string Full(const std::string& tag, std::size_t n) {
  std::string s = tag;
  while (s.size() < n) s += static_cast<char>('a' + s.size() % 26);
  return s.substr(0, n);
}

struct MappingCase {
  const char* name;
  const char* code;
  FileCode file;
  std::string oldBytes;
  std::string want;  // the new record's bytes
};

records::InvoiceRec InvoiceHead(double amount, double paid, bool created) {
  records::InvoiceRec n;
  n.SetInvoiceDate("20240115");
  n.SetInvoiceNumber(Full("INV", 15));
  n.SetPartnerType("CUS");
  n.SetPartnerNumber(4711);
  n.SetEntryNumber(Full("INV", 10));  // the invoice number, cut
  n.SetDiscountDate("20240125");
  n.SetDueDate("20240214");
  n.SetVoucherDate("20240116");
  n.SetInvoiceAmount(amount);
  n.SetPaidAmount(paid);
  n.SetMemo(Full("memo", 80));
  n.SetVoucherCreated(created);
  return n;
}

records::PaymentRec PaymentWant() {
  records::PaymentRec n;
  n.SetValueDate("20240301");
  n.SetBankAccount(Full("NL", 15));
  n.SetPaymentNumber(3);
  n.SetPartnerType("VEN");
  n.SetPartnerNumber(815);
  for (int k = 1; k <= 6; ++k) n.SetNarrative(k, Full("narr" + std::to_string(k), 60));
  n.SetAmount(-99.75);
  n.SetMemo(Full("pmemo", 60));
  n.SetVoucherCreated(true);
  return n;
}

records::LedgerAccountRec AccountWant(bool cash) {
  records::LedgerAccountRec n;
  n.SetAccountNumber(Full("1000", 15));  // 20 characters cut to 15
  n.SetCaption(Full("Bank", 30));
  n.SetAccountType("Balance");
  n.SetCategoryName(Full("Liquid", 30));
  n.SetStartDate("20230101");
  n.SetStartAmount(500.5);
  n.SetEndDate("20501231");
  n.SetSecondAmount(77.25);
  n.SetIsCashOrBank(cash);
  n.SetSalesTaxCode("VAT21");
  n.SetChangedBy("ANNA");
  n.SetChangedAt("2023-12-31 23:59:59");
  if (cash) n.SetJournalName(Full("Bank", 30));
  return n;
}

std::string OldAccount(bool cash) {
  return OldBytes(184)
      .S(0, 20, Full("1000", 20))
      .S(21, 30, Full("Bank", 30))
      .S(52, 10, "Balance")
      .S(63, 30, Full("Liquid", 30))
      .S(94, 8, "20230101")
      .D(104, 500.5)
      .S(112, 8, "20501231")
      .D(128, 77.25)
      .B(136, cash)
      .S(137, 12, "VAT21")
      .S(150, 10, "ANNA")
      .S(161, 20, "2023-12-31 23:59:59")
      .Bytes();
}

std::string OldPartner() {
  OldBytes o(1176);
  o.S(0, 50, Full("Name", 50)).I(52, 1234).S(56, 8, "20240101").S(65, 3, "CUS").S(69, 15, Full("Their", 15));
  o.S(85, 30, Full("Street", 30)).S(116, 15, Full("Zip", 15)).S(132, 30, Full("Town", 30)).S(163, 1, "P");
  o.S(165, 30, Full("CorrStreet", 30)).S(196, 15, Full("CorrZip", 15)).S(212, 30, Full("CorrTown", 30));
  o.S(243, 30, Full("Region", 30)).S(274, 30, Full("Country", 30)).S(305, 20, Full("Tel", 20));
  o.S(326, 20, Full("Fax", 20)).S(347, 30, Full("Mail", 30)).S(378, 50, Full("Web", 50));
  o.S(429, 50, Full("C1Name", 50)).S(480, 20, Full("C1Phone", 20)).S(501, 50, Full("C1Text", 50));
  o.S(552, 50, Full("C2Text", 50)).S(603, 50, Full("C2Name", 50)).S(654, 20, Full("C2Phone", 20));
  o.S(675, 100, Full("Memo", 100)).S(776, 15, Full("BankNo", 15)).S(792, 60, Full("BankName", 60));
  o.S(853, 15, Full("TaxNo", 15)).S(869, 10, Full("Bi1", 10)).S(880, 10, Full("Bi2", 10));
  o.S(891, 20, Full("Free1", 20)).S(912, 20, Full("Free2", 20)).S(933, 20, "not carried").D(968, 2500.0);
  o.S(976, 20, Full("Group", 20)).S(997, 20, Full("Cost1", 20)).S(1018, 20, Full("Cost2", 20));
  o.S(1039, 20, Full("Vat1", 20)).S(1060, 20, Full("Vat2", 20)).S(1081, 20, Full("Disc", 20));
  o.S(1102, 20, "not carried either").I(1144, 8).D(1152, 2.5).I(1160, 30).D(1168, 1.25);
  return o.Bytes();
}

records::PartnerRec PartnerWant(bool supplier) {
  records::PartnerRec n;
  using P = records::PartnerRec;
  n.SetName(Full("Name", 50));
  n.SetCompanyName(Full("Name", 50));
  n.SetOurNumber(1234);
  n.SetSuspendedDate("20240101");
  n.SetRelationshipType("CUS");
  n.SetTheirNumber(Full("Their", 15));
  n.SetAddress(Full("Street", 30));
  if (supplier) n.SetProperty(Full("Name", 50));
  n.SetZipCode(Full("Zip", 10));  // 15 cut to 10
  n.SetTown(Full("Town", 30));
  n.SetRegion(Full("Region", 30));
  n.SetCountry(Full("Country", 30));
  n.SetCorrCode("P");
  n.SetCorrAddress(Full("CorrStreet", 30));
  n.SetCorrZipCode(Full("CorrZip", 10));
  n.SetCorrTown(Full("CorrTown", 30));
  n.SetCorrState(Full("Region", 30));
  n.SetCorrCountry(Full("Country", 30));
  n.SetTelephone(Full("Tel", 20));
  n.SetFax(Full("Fax", 20));
  n.SetEmail(Full("Mail", 30));
  n.SetWebsite(Full("Web", 50));
  n.SetContact1Name(Full("C1Name", 50));
  n.SetContact1Phone(Full("C1Phone", 20));
  n.SetContact1Text(Full("C1Text", 50));
  n.SetContact2Text(Full("C2Text", 50));
  n.SetContact2Name(Full("C2Name", 50));
  n.SetContact2Phone(Full("C2Phone", 20));
  n.SetMemo(Full("Memo", 100));
  n.SetBankAccountNumber(Full("BankNo", 15));
  n.SetBankAccountName(Full("BankName", 60));
  n.SetTaxAccountNumber(Full("TaxNo", 15));
  n.SetBiFeature1(Full("Bi1", 10));
  n.SetBiFeature2(Full("Bi2", 10));
  n.SetFreeItem1(Full("Free1", 20));
  n.SetFreeItem2(Full("Free2", 20));
  n.SetCreditLimit(2500.0);
  n.Set<P::kPartnerGroup>(Full("Group", 20));
  n.Set<P::kSalesCostGroup1>(Full("Cost1", 20));
  n.Set<P::kSalesCostGroup2>(Full("Cost2", 20));
  n.Set<P::kVatGroup1>(Full("Vat1", 20));
  n.Set<P::kVatGroup2>(Full("Vat2", 20));
  n.SetCashDiscountAccount(Full("Disc", 20));
  n.SetDiscountDays(8);
  n.SetDiscountRate(2.5);
  n.SetNetDays(30);
  n.SetPenaltyRate(1.25);
  return n;
}

std::string OldSettings() {
  OldBytes o(746);
  o.S(0, 50, Full("Company", 50)).S(51, 50, Full("Address", 50)).S(102, 15, Full("Zip", 15));
  o.S(118, 30, Full("Town", 30)).S(149, 30, Full("State", 30)).S(180, 30, Full("Country", 30));
  o.S(211, 20, Full("Tel", 20)).S(232, 20, Full("Fax", 20)).S(253, 30, Full("Mail", 30));
  o.S(284, 30, Full("Web", 30)).S(315, 50, Full("Extra2", 50)).S(366, 20, "2023-12-31 23:59:59");
  o.S(387, 10, "ANNA").S(398, 50, Full("Extra1", 50)).S(449, 50, Full("Register", 50));
  o.S(500, 30, Full("Profit", 30)).S(531, 20, Full("0900", 20)).S(552, 8, "20240101").S(561, 8, "20241231");
  o.B(570, true).H(572, 12);
  for (int k = 1; k <= 15; ++k) o.S(574 + 9 * (k - 1), 8, "2024" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
  o.S(709, 8, "2023").S(718, 8, "03/12").S(727, 8, "2024").S(736, 8, "04/12");
  return o.Bytes();
}

records::AdminSettingsRec SettingsWant() {
  records::AdminSettingsRec n;
  n.SetCompanyShortName(Full("Company", 20));  // 50 cut to 20
  n.SetCompanyName(Full("Company", 50));
  n.SetAddress(Full("Address", 50));
  n.SetZipCode(Full("Zip", 10));
  n.SetTown(Full("Town", 30));
  n.SetState(Full("State", 30));
  n.SetCountry(Full("Country", 30));
  n.SetTelephone(Full("Tel", 20));
  n.SetFax(Full("Fax", 20));
  n.SetEmail(Full("Mail", 30));
  n.SetWebsite(Full("Web", 30));
  n.SetExtraItem2(Full("Extra2", 50));
  n.SetChangedAt("2023-12-31 23:59:59");
  n.SetChangedBy("ANNA");
  n.SetExtraItem1(Full("Extra1", 50));
  n.SetCompanyRegistration(Full("Register", 50));
  n.SetProfitAccountCaption(Full("Profit", 30));
  n.SetProfitAccountNumber(Full("0900", 20));
  n.SetBookYearStart("20240101");
  n.SetBookYearEnd("20241231");
  n.SetNoSalesTaxAccounts(true);
  n.SetPeriodCount(12);
  for (int k = 1; k <= 15; ++k) n.SetPeriodStart(k, "2024" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
  n.SetApprovedAnnualBalance("2023");
  n.SetLastClosedPeriod("03/12");
  n.SetCurrentAnnualBalance("2024");
  n.SetCurrentPeriod("04/12");
  n.SetSalesBookName(store::DefaultJournalNames[0]);
  n.SetPurchaseBookName(store::DefaultJournalNames[1]);
  n.SetDayBookName(store::DefaultJournalNames[2]);
  n.SetSplitJournals("true");
  return n;
}

std::vector<MappingCase> MappingCases() {
  using support::Bytes;
  std::vector<MappingCase> cases;
  {
    const std::string old = OldBytes(176)
                                .S(0, 8, "20240115").S(9, 15, Full("INV", 15)).S(25, 3, "CUS").I(32, 4711)
                                .S(36, 8, "20240125").S(45, 8, "20240214").S(54, 8, "20240116")
                                .D(72, 1234.5).D(80, 200.25).S(88, 80, Full("memo", 80)).B(169, true)
                                .Bytes();
    cases.push_back({"InvoiceV1", "001", FileCode::INV, old, Bytes(InvoiceHead(1234.5, 200.25, true))});
  }
  {
    const std::string old = OldBytes(192)
                                .S(0, 8, "20240115").S(9, 15, Full("INV", 15)).S(25, 3, "CUS").I(32, 4711)
                                .S(47, 8, "20240125").S(56, 8, "20240214")
                                .S(65, 8, "20240116").D(80, 42.0).D(88, 1234.5).D(96, 200.25)
                                .S(104, 80, Full("memo", 80)).B(185, false)
                                .Bytes();
    cases.push_back({"InvoiceV2", "009", FileCode::INV, old, Bytes(InvoiceHead(1234.5, 200.25, false))});
  }
  {
    const std::string old = OldBytes(216)
                                .S(0, 8, "20240115").S(9, 15, Full("INV", 15)).S(25, 3, "CUS").I(32, 4711)
                                .S(36, 10, "OLDENTRY").S(47, 8, "20240125").S(56, 8, "20240214")
                                .S(65, 8, "20240116").D(80, 1234.5).D(88, 200.25).S(96, 80, Full("memo", 80))
                                .B(177, true).S(178, 10, Full("Chg", 10)).S(189, 20, "2024-01-16 10:11:12")
                                .Bytes();
    records::InvoiceRec want = InvoiceHead(1234.5, 200.25, true);
    std::memset(want.data() + records::InvoiceRec::kEntryNumber.offset, 0, 11);
    want.SetEntryNumber("OLDENTRY");  // the text found at today's place
    want.SetChangedBy(Full("Chg", 10));
    want.SetChangedAt("2024-01-16 10:11:12");
    cases.push_back({"InvoiceV3", "011", FileCode::INV, old, Bytes(want)});
  }
  {
    OldBytes o(504);
    o.S(0, 8, "20240301").S(9, 15, Full("NL", 15)).I(28, 3).S(32, 3, "VEN").I(36, 815);
    for (int k = 1; k <= 6; ++k) o.S(40 + 61 * (k - 1), 60, Full("narr" + std::to_string(k), 60));
    o.D(408, -99.75).S(416, 60, Full("pmemo", 60)).S(477, 20, "not carried").B(502, true);
    cases.push_back({"PaymentV1", "002", FileCode::PAY, o.Bytes(), Bytes(PaymentWant())});
  }
  {
    OldBytes o(520);
    o.S(0, 8, "20240301").S(9, 15, Full("NL", 15)).I(28, 3).S(32, 10, "OLDENTRY").S(43, 3, "VEN").I(48, 815);
    for (int k = 1; k <= 6; ++k) o.S(52 + 61 * (k - 1), 60, Full("narr" + std::to_string(k), 60));
    o.D(424, -99.75).S(432, 60, Full("pmemo", 60)).S(493, 20, "not carried").B(518, true);
    records::PaymentRec want = PaymentWant();
    want.SetEntryNumber("OLDENTRY");  // the text found at today's place
    cases.push_back({"PaymentV2", "010", FileCode::PAY, o.Bytes(), Bytes(want)});
  }
  // A cash or bank account becomes its own journal; another does not.
  cases.push_back({"LedgerAccountCash", "003", FileCode::GLA, OldAccount(true), Bytes(AccountWant(true))});
  cases.push_back({"LedgerAccountOther", "003", FileCode::GLA, OldAccount(false), Bytes(AccountWant(false))});
  {
    const std::string old = OldBytes(94)
                                .S(0, 30, Full("Kind", 30)).S(31, 30, Full("Category", 30)).S(62, 10, "PIET")
                                .S(73, 20, "2022-02-02 02:02:02")
                                .Bytes();
    records::LedgerCategoryRec want;
    want.SetCategoryKind(Full("Kind", 30));
    want.SetCategoryName(Full("Category", 30));
    want.SetChangedBy("PIET");
    want.SetChangedAt("2022-02-02 02:02:02");
    cases.push_back({"LedgerCategory", "004", FileCode::GLC, old, Bytes(want)});
  }
  {
    const std::string old = OldBytes(208)
                                .S(0, 8, "20240405").S(9, 20, Full("BOOK", 20)).S(30, 20, "not carried")
                                .S(51, 40, Full("Line", 40)).S(92, 20, Full("8000", 20)).S(113, 30, Full("Sales", 30))
                                .S(144, 20, Full("Cost", 20)).B(165, true).S(166, 3, "VEN").I(172, 815)
                                .S(176, 15, Full("INVNO", 15)).D(192, 10.5).D(200, 0.25)
                                .Bytes();
    records::JournalVoucherRec want;
    want.SetVoucherDate("20240405");
    want.SetBookNumber(Full("BOOK", 20));
    want.SetLineText(Full("Line", 40));
    want.SetAccountNumber(Full("8000", 15));  // 20 cut to 15
    want.SetAccountCaption(Full("Sales", 30));
    want.SetCostCentre(Full("Cost", 20));
    want.SetInvoiceAttached(true);
    want.SetPartnerType("VEN");
    want.SetPartnerNumber(815);
    want.SetInvoiceNumber(Full("INVNO", 15));
    want.SetDebitAmount(10.5);
    want.SetCreditAmount(0.25);
    cases.push_back({"JournalVoucher", "005", FileCode::JVO, old, Bytes(want)});
  }
  cases.push_back({"Customer", "006", FileCode::CUS, OldPartner(), Bytes(PartnerWant(false))});
  cases.push_back({"Supplier", "006", FileCode::SUP, OldPartner(), Bytes(PartnerWant(true))});
  cases.push_back({"AdminSettings", "007", FileCode::ADS, OldSettings(), Bytes(SettingsWant())});
  return cases;
}

// Each old layout: every mapped field lands in its new field, cut to its
// room; nothing else of the old bytes (gaps, the room after texts) reaches
// the new record, whose other bytes are zero. The old records are written
// byte by byte at the layouts' offsets, apart from the old record types, and
// the new ones compared whole: golden bytes for both.
TEST(DataConversion, EachCodeMapsEveryFieldAndNothingElse) {
  for (const MappingCase& c : MappingCases()) {
    SCOPED_TRACE(c.name);
    const std::string two = c.oldBytes + c.oldBytes;
    EXPECT_EQ(store::ConvertedBytes(c.code, c.file, c.oldBytes), c.want);
    // Record by record; a partial record at the end is left out.
    EXPECT_EQ(store::ConvertedBytes(c.code, c.file, two + "xy"), c.want + c.want);
  }
}

// The 192- and 216-byte invoices and the 520-byte payments have room for
// the entry number where today's records keep it: a text there is carried
// over; other bytes there are not, and the entry number is then the
// invoice number (cut), or empty for a payment.
TEST(DataConversion, AnEntryNumberIsCarriedOnlyWhenItsRoomHoldsAText) {
  struct Case {
    const char* name;
    std::string room;  // the 11 bytes at the entry number's place
    std::string invoiceEntry;
    std::string paymentEntry;
  };
  const std::string inv10 = Full("INV", 10);
  const std::vector<Case> cases = {
      {"Text", std::string("\x04" "E-77") + std::string(6, '\0'), "E-77", "E-77"},
      {"FullRoom", "\x0A" "ABCDEFGHIJ", "ABCDEFGHIJ", "ABCDEFGHIJ"},
      {"Zeros", std::string(11, '\0'), inv10, ""},
      {"LengthBeyondRoom", "\x0B" "ABCDEFGHIJ", inv10, ""},
      {"ControlCharacter", std::string("\x03" "A\x01" "B") + std::string(7, ' '), inv10, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* code : {"009", "011"}) {
      std::string old = MappingCases()[code == std::string("009") ? 1 : 2].oldBytes;
      old.replace(36, 11, c.room);
      const auto n = support::Record<records::InvoiceRec>(store::ConvertedBytes(code, FileCode::INV, old));
      EXPECT_EQ(n.EntryNumber(), c.invoiceEntry) << code;
      // The room after the text is zero, whatever was put there first.
      const std::string bytes = support::Bytes(n);
      EXPECT_EQ(bytes.substr(37 + c.invoiceEntry.size(), 10 - c.invoiceEntry.size()),
                std::string(10 - c.invoiceEntry.size(), '\0'))
          << code;
    }
    std::string pay = MappingCases()[4].oldBytes;
    pay.replace(32, 11, c.room);
    const auto p = support::Record<records::PaymentRec>(store::ConvertedBytes("010", FileCode::PAY, pay));
    EXPECT_EQ(p.EntryNumber(), c.paymentEntry);
  }
}

TEST(DataConversion, FreezeKeeps150RowsAndAddsEmptyOnes) {
  OldBytes o(24080);
  o.S(0, 8, "20240401").S(9, 8, "20240301").S(18, 8, "20231231").S(27, 11, "2024-03/12").S(39, 8, "2023");
  o.S(48, 8, "02/12").S(57, 8, "2024").S(66, 8, "03/12").I(76, 1999);
  for (int row : {1, 150}) {
    const std::size_t at = 80 + static_cast<std::size_t>(row - 1) * 160;
    const std::string r = std::to_string(row);
    o.S(at, 20, Full("Acc" + r, 20)).S(at + 21, 30, Full("Cap" + r, 30)).S(at + 52, 30, Full("Cat" + r, 30));
    o.S(at + 83, 1, "B").S(at + 85, 30, Full("Kind" + r, 30));
    for (int d = 0; d < 5; ++d) o.D(at + 120 + 8 * static_cast<std::size_t>(d), row * 10.0 + d);
  }
  const std::string bytes = store::ConvertedBytes("008", FileCode::FRZ, o.Bytes());
  ASSERT_EQ(bytes.size(), 64080u);
  auto n = std::make_unique<records::FreezeRec>(support::Record<records::FreezeRec>(bytes));
  EXPECT_EQ(n->PeriodEndDate(), "20240401");
  EXPECT_EQ(n->PeriodStartDate(), "20240301");
  EXPECT_EQ(n->YearBaseDate(), "20231231");
  EXPECT_EQ(n->PeriodLabel(), "2024-03/12");
  EXPECT_EQ(n->ApprovedAnnualBalance(), "2023");
  EXPECT_EQ(n->LastClosedPeriod(), "02/12");
  EXPECT_EQ(n->CurrentAnnualBalance(), "2024");
  EXPECT_EQ(n->CurrentPeriod(), "03/12");
  EXPECT_EQ(n->BookYear(), 2024);  // from the period start, not the old bytes 76..79
  EXPECT_EQ(bytes[75], '\0');
  for (int row : {1, 150}) {
    SCOPED_TRACE(row);
    const std::string r = std::to_string(row);
    const records::FreezeAccountRow a = n->Account(row);
    records::FreezeAccountRow want;
    want.SetAccountNumber(Full("Acc" + r, 20));
    want.SetCaption(Full("Cap" + r, 30));
    want.SetCategoryName(Full("Cat" + r, 30));
    want.SetAccountType("B");
    want.SetCategoryKind(Full("Kind" + r, 30));
    want.SetYearOpeningBalance(row * 10.0);
    want.SetOpeningOwnSide(row * 10.0 + 1);
    want.SetOpeningOtherSide(row * 10.0 + 2);
    want.SetClosingOwnSide(row * 10.0 + 3);
    want.SetClosingOtherSide(row * 10.0 + 4);
    EXPECT_EQ(support::Bytes(a), support::Bytes(want));  // the pad 116..119 zero
  }
  // Rows 151 to 400 are empty.
  EXPECT_EQ(bytes.substr(80 + 150 * 160), std::string(250 * 160, '\0'));

  // A period start that is no date gives book year 0.
  for (const char* start : {"", "20x4", "abc"}) {
    OldBytes bad(24080);
    bad.S(9, 8, start);
    const std::string b = store::ConvertedBytes("008", FileCode::FRZ, bad.Bytes());
    EXPECT_EQ(support::Record<records::FreezeRec>(b).BookYear(), 0) << start;
  }
}

// The mapping case called `name`.
MappingCase Mapping(const std::string& name) {
  for (const MappingCase& c : MappingCases())
    if (c.name == name) return c;
  ADD_FAILURE() << name;
  return {};
}

std::string Times(const std::string& bytes, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += bytes;
  return out;
}

// `n` bytes that are no record of any kind (the size alone decides).
std::string Zeros(std::uint64_t n) { return std::string(static_cast<std::size_t>(n), '\0'); }

TEST(DataConversion, TheSizeDecidesWhatAFileHolds) {
  using Plan = store::FilePlan;
  using Reading = store::LayoutReading;
  struct Case {
    const char* name;
    FileCode file;
    const char* code;  // the first unrecorded code of the file
    std::string bytes;
    Plan want;
  };
  // Sizes that fit two layouts, with records that carry their dates: 11
  // invoices of today's 224 bytes are 14 of the old 176, 26 voucher lines of
  // 392 are 49 of 208, 23 GL accounts of 376 are 47 of 184.
  const std::string invoices = Times(support::Bytes(InvoiceHead(12.5, 0, false)), 11);
  const std::string oldInvoices = Times(Mapping("InvoiceV1").oldBytes, 14);
  const std::string lines = Times(Mapping("JournalVoucher").want, 26);
  const std::string oldLines = Times(Mapping("JournalVoucher").oldBytes, 49);
  const std::string accounts = Times(support::Bytes(AccountWant(true)), 23);
  const std::string oldAccounts = Times(OldAccount(false), 47);
  // 29 old partners of 1176 bytes are 21 of today's 1624; with the only
  // dates set where the other reading has no date field, both read as
  // dates.
  std::string partners = Zeros(29 * 1176);
  std::memcpy(partners.data() + 56, "\x08" "20240101", 9);    // the old suspended date
  std::memcpy(partners.data() + 108, "\x08" "20240101", 9);   // today's suspended date
  std::memcpy(partners.data() + 1329, "\x08" "20240101", 9);  // today's tax verification date
  const std::vector<Case> cases = {
      {"Empty", FileCode::INV, "001", "", {Plan::Empty, "001"}},
      {"OldLayout", FileCode::INV, "001", Zeros(3 * 176), {Plan::Convert, "001"}},
      // Not the expected layout but a later one of the file: that one runs.
      {"LaterLayout192", FileCode::INV, "001", Zeros(2 * 192), {Plan::Convert, "009"}},
      {"LaterLayout216", FileCode::INV, "001", Zeros(2 * 216), {Plan::Convert, "011"}},
      {"Current", FileCode::INV, "001", Zeros(224), {Plan::Current, "001"}},
      // No fit: the expected layout, the partial last record left out.
      {"NoFit", FileCode::INV, "001", Zeros(177), {Plan::Convert, "001", 1}},
      {"NoFitPartial", FileCode::INV, "001", Zeros(2 * 176 + 100), {Plan::Convert, "001", 100}},
      // An earlier layout than the expected one is no fit.
      {"EarlierLayout", FileCode::INV, "009", Zeros(176), {Plan::Convert, "009", 176}},
      {"PaymentLater", FileCode::PAY, "002", Zeros(520), {Plan::Convert, "010"}},
      {"PaymentEarlier", FileCode::PAY, "010", Zeros(504), {Plan::Convert, "010", 504}},
      {"PaymentCurrent", FileCode::PAY, "002", Zeros(584 * 2), {Plan::Current, "002"}},
      {"PartnerCurrent", FileCode::CUS, "006", Zeros(1624), {Plan::Current, "006"}},
      {"FreezeOld", FileCode::FRZ, "008", Zeros(24080), {Plan::Convert, "008"}},
      {"FreezePartial", FileCode::FRZ, "008", Zeros(100), {Plan::Convert, "008", 100}},
      // Both sizes fit: the dates decide.
      {"InvoicesCurrent", FileCode::INV, "001", invoices, {Plan::Current, "001"}},
      {"InvoicesOld", FileCode::INV, "001", oldInvoices, {Plan::Convert, "001"}},
      {"VoucherLinesCurrent", FileCode::JVO, "005", lines, {Plan::Current, "005"}},
      {"VoucherLinesOld", FileCode::JVO, "005", oldLines, {Plan::Convert, "005"}},
      {"AccountsCurrent", FileCode::GLA, "003", accounts, {Plan::Current, "003"}},
      {"AccountsOld", FileCode::GLA, "003", oldAccounts, {Plan::Convert, "003"}},
      // 1,344 bytes are 7 invoices of 192 or 6 of 224.
      {"InvoicesOld192", FileCode::INV, "009", Times(Mapping("InvoiceV2").oldBytes, 7), {Plan::Convert, "009"}},
      {"InvoicesCurrentNot192", FileCode::INV, "009", Times(support::Bytes(InvoiceHead(1, 0, true)), 6),
       {Plan::Current, "009"}},
      // Both readings are dates, or neither: undecided, with both counts.
      {"BothRead", FileCode::CUS, "006", partners,
       {Plan::Undecided, "006", 0, {Reading{1176, 29, false}, Reading{1624, 21, true}}}},
      {"NeitherReads", FileCode::INV, "001", Zeros(2464),
       {Plan::Undecided, "001", 0, {Reading{176, 14, false}, Reading{224, 11, true}}}},
      // The GL categories hold no dates: a size of both can never be told.
      {"CategoriesOfBothSizes", FileCode::GLC, "004", Zeros(94 * 134),
       {Plan::Undecided, "004", 0, {Reading{94, 134, false}, Reading{134, 94, true}}}},
  };
  for (const Case& c : cases) EXPECT_EQ(store::PlanFor(c.file, c.code, c.bytes), c.want) << c.name;
}

TEST(DataConversion, ADateFieldReadsAsADateOrAnEmptyTextWhereAllowed) {
  struct Case {
    const char* name;
    std::string invoiceDate;  // the short string's bytes, length byte first
    std::string dueDate;
    bool reads;
  };
  const std::vector<Case> cases = {
      {"Dates", std::string("\x08" "20240229"), std::string("\x08" "22001231"), true},
      {"EmptyDueDate", std::string("\x08" "19000101"), std::string(9, '\0'), true},
      {"EmptyInvoiceDate", std::string(9, '\0'), std::string("\x08" "20240101"), false},
      {"NoSuchDay", std::string("\x08" "20230229"), std::string(9, '\0'), false},
      {"Month13", std::string("\x08" "20241301"), std::string(9, '\0'), false},
      {"YearOutside", std::string("\x08" "18991231"), std::string(9, '\0'), false},
      {"NotDigits", std::string("\x08" "2024-1-1"), std::string(9, '\0'), false},
      {"ShortText", std::string("\x06" "202401\0\0", 9), std::string(9, '\0'), false},
  };
  for (const Case& c : cases) {
    std::string rec = Zeros(224);
    std::memcpy(rec.data() + records::InvoiceRec::kInvoiceDate.offset, c.invoiceDate.data(), 9);
    std::memcpy(rec.data() + records::InvoiceRec::kDueDate.offset, c.dueDate.data(), 9);
    EXPECT_EQ(store::ReadsAsDates(FileCode::INV, 224, rec + rec), c.reads) << c.name;
  }
}

TEST(DataConversion, AConversionRecordsTheLaterOnesOfItsFile) {
  using V = std::vector<std::string>;
  EXPECT_EQ(store::CodesDoneWith(FileCode::INV, "001"), (V{"001", "009", "011"}));
  EXPECT_EQ(store::CodesDoneWith(FileCode::INV, "009"), (V{"009", "011"}));
  EXPECT_EQ(store::CodesDoneWith(FileCode::INV, "011"), (V{"011"}));
  EXPECT_EQ(store::CodesDoneWith(FileCode::PAY, "002"), (V{"002", "010"}));
  EXPECT_EQ(store::CodesDoneWith(FileCode::SUP, "006"), (V{"006"}));
  EXPECT_EQ(store::BackupName("invsum.vlk", "001"), "invsum001.vlk");
  EXPECT_EQ(store::BackupName("customer.vlk", "006"), "customer006.vlk");
}

// ---------------------------------------------------------------------------
// The run, on an administration folder of the fake file system.

const std::string kFolder = "/w/data/ACME/";

std::string Flags(const std::vector<std::string>& codes) {
  std::vector<records::ReleaseFlagRec> recs(11);
  for (const std::string& code : codes) recs[static_cast<std::size_t>(std::stoi(code) - 1)].SetConversionCode(code);
  return support::Bytes(recs);
}

class ConversionRun : public ::testing::Test {
 protected:
  support::FakeDataStore store;

  void SetUp() override {
    store.fs.AddFolder(kFolder);
    store::SetDataRoot("/w/data/");
    store::SetCurrentAdministrationFolder("ACME");
  }
  // ConvertDataFiles inside the log-in's set (nothing when the set cannot
  // be opened: a failure).
  store::ConversionOutcome Run(bool mustOpen = true) {
    store::ScopedFileSet set("ADS;FLG;INV;PAY;ADM;CUS;SUP;JVO;GLA;GLC;FRZ");
    EXPECT_TRUE(set.Ok() || !mustOpen);
    if (!set.Ok()) {
      store::ConversionOutcome failed;
      failed.failure = store::ConversionOutcome::FileError;
      return failed;
    }
    return store::ConvertDataFiles();
  }
  // Every old layout, one or two records per file, the flag file empty.
  void OldAdministration() {
    store.fs.SetFile(kFolder + "releaseflag.vlk", "");
    for (const MappingCase& c : MappingCases())
      if (std::string(c.code) <= "008" && c.file != FileCode::GLA)
        store.fs.SetFile(kFolder + store::FileInfo(c.file).fileName, c.oldBytes);
    store.fs.SetFile(kFolder + "ledger.vlk", OldAccount(true) + OldAccount(false));
    store.fs.SetFile(kFolder + "freeze.vlk", OldBytes(24080).S(9, 8, "20240301").Bytes());
  }
  // The files of the folder and their bytes, the lock file left out.
  std::map<std::string, std::string> Files() {
    std::map<std::string, std::string> files;
    for (const std::string& name : store.fs.FilesIn(kFolder))
      if (name != ".ombrelo.lock") files[name] = store.fs.File(kFolder + name);
    return files;
  }
};

const std::vector<std::string> kAll = {"001", "002", "003", "004", "005", "006", "007", "008", "009", "010", "011"};

TEST_F(ConversionRun, AnOldAdministrationGetsEveryConversionInOrder) {
  OldAdministration();
  const std::map<std::string, std::string> before = Files();
  const store::ConversionOutcome outcome = Run();
  ASSERT_TRUE(outcome.Ok()) << outcome.fileName << " " << outcome.errorText;
  const std::vector<store::ConvertedFile> want = {
      {"invsum.vlk", "invsum001.vlk", "001"},     {"payment.vlk", "payment002.vlk", "002"},
      {"ledger.vlk", "ledger003.vlk", "003"},     {"ledgerct.vlk", "ledgerct004.vlk", "004"},
      {"book.vlk", "book005.vlk", "005"},         {"customer.vlk", "customer006.vlk", "006"},
      {"supplier.vlk", "supplier006.vlk", "006"}, {"adminset.vlk", "adminset007.vlk", "007"},
      {"freeze.vlk", "freeze008.vlk", "008"},
  };
  EXPECT_EQ(outcome.converted, want);
  EXPECT_EQ(store.fs.File(kFolder + "releaseflag.vlk"), Flags(kAll));
  for (const store::ConvertedFile& f : want) {
    SCOPED_TRACE(f.fileName);
    // The backup holds the old bytes, the file their conversion.
    EXPECT_EQ(store.fs.File(kFolder + f.backupName), before.at(f.fileName));
    const FileCode file = *store::FileCodeFromText(f.fileName == "invsum.vlk"     ? "INV"
                                                   : f.fileName == "payment.vlk"  ? "PAY"
                                                   : f.fileName == "ledger.vlk"   ? "GLA"
                                                   : f.fileName == "ledgerct.vlk" ? "GLC"
                                                   : f.fileName == "book.vlk"     ? "JVO"
                                                   : f.fileName == "customer.vlk" ? "CUS"
                                                   : f.fileName == "supplier.vlk" ? "SUP"
                                                   : f.fileName == "adminset.vlk" ? "ADS"
                                                                                  : "FRZ");
    EXPECT_EQ(store.fs.File(kFolder + f.fileName), store::ConvertedBytes(f.code, file, before.at(f.fileName)));
  }
  // A second run changes nothing.
  const std::map<std::string, std::string> after = Files();
  const store::ConversionOutcome again = Run();
  EXPECT_TRUE(again.Ok());
  EXPECT_TRUE(again.converted.empty());
  EXPECT_EQ(Files(), after);
}

TEST_F(ConversionRun, AnOlderReleaseRunsOnlyTheMissingConversions) {
  const auto cases = MappingCases();
  const std::string inv = cases[1].oldBytes + cases[1].oldBytes;  // 192-byte layout
  const std::string pay = cases[4].oldBytes;                      // 520-byte layout
  store.fs.SetFile(kFolder + "releaseflag.vlk", Flags({"001", "002", "003", "004", "005", "006", "007", "008"}));
  store.fs.SetFile(kFolder + "invsum.vlk", inv);
  store.fs.SetFile(kFolder + "payment.vlk", pay);
  const store::ConversionOutcome outcome = Run();
  ASSERT_TRUE(outcome.Ok());
  EXPECT_EQ(outcome.converted, (std::vector<store::ConvertedFile>{{"invsum.vlk", "invsum009.vlk", "009"},
                                                                  {"payment.vlk", "payment010.vlk", "010"}}));
  EXPECT_EQ(store.fs.File(kFolder + "releaseflag.vlk"), Flags(kAll));
  EXPECT_EQ(store.fs.File(kFolder + "invsum.vlk"), cases[1].want + cases[1].want);
  EXPECT_EQ(store.fs.File(kFolder + "payment.vlk"), cases[4].want);
  EXPECT_FALSE(store.fs.HasFile(kFolder + "invsum011.vlk"));
}

TEST_F(ConversionRun, ANewAdministrationGetsTheCodesAndNoBackups) {
  const store::ConversionOutcome outcome = Run();
  EXPECT_TRUE(outcome.Ok());
  EXPECT_TRUE(outcome.converted.empty());
  EXPECT_EQ(store.fs.File(kFolder + "releaseflag.vlk"), Flags(kAll));
  const std::map<std::string, std::string> after = Files();
  for (const auto& [name, bytes] : after)
    if (name != "releaseflag.vlk") {
      EXPECT_EQ(bytes, "") << name;  // the set's empty files, no backups
    }
  EXPECT_EQ(after.size(), 10u);  // "admin.vlk" is in the working folder
  Run();
  EXPECT_EQ(Files(), after);
}

// A size that fits no layout: the whole records are converted by the
// expected layout; the partial last one stays in the backup and is named.
TEST_F(ConversionRun, APartialLastRecordIsLeftOutAndKeptInTheBackup) {
  const std::string account = OldAccount(true);
  const std::string old = account + account + "xyz";
  store.fs.SetFile(kFolder + "ledger.vlk", old);
  const store::ConversionOutcome outcome = Run();
  ASSERT_TRUE(outcome.Ok()) << outcome.errorText;
  EXPECT_EQ(outcome.converted, (std::vector<store::ConvertedFile>{{"ledger.vlk", "ledger003.vlk", "003", 3}}));
  EXPECT_EQ(store.fs.File(kFolder + "ledger003.vlk"), old);
  const std::string one = store::ConvertedBytes("003", FileCode::GLA, account);
  EXPECT_EQ(store.fs.File(kFolder + "ledger.vlk"), one + one);
  EXPECT_EQ(store.fs.File(kFolder + "releaseflag.vlk"), Flags(kAll));
  // The next log-in finds every code: nothing more happens.
  const std::map<std::string, std::string> after = Files();
  EXPECT_TRUE(Run().converted.empty());
  EXPECT_EQ(Files(), after);
}

TEST_F(ConversionRun, AnExistingBackupIsNeverOverwritten) {
  const MappingCase inv = MappingCases()[0];
  // 11 invoices of the old layout whose dates read as dates in neither
  // layout; converted they are 2,464 bytes, also 14 records of the old
  // 176: only the check for a backup converted can tell.
  std::string eleven;
  for (int i = 0; i < 11; ++i)
    eleven += OldBytes(176).S(0, 8, "15-01-24").S(9, 15, "INV" + std::to_string(i)).S(25, 3, "CUS").Bytes();
  const std::string elevenConverted = store::ConvertedBytes("001", FileCode::INV, eleven);
  ASSERT_EQ(elevenConverted.size(), 2464u);
  struct Case {
    const char* name;
    std::string backup;  // invsum001.vlk before the run
    std::string file;    // invsum.vlk before the run
    store::ConversionOutcome::Failure failure;
    std::string fileAfter;
    std::vector<store::ConvertedFile> converted;
  };
  const std::vector<Case> cases = {
      // Equal to the file: used.
      {"BackupEqual",
       inv.oldBytes,
       inv.oldBytes,
       store::ConversionOutcome::None,
       inv.want,
       {{"invsum.vlk", "invsum001.vlk", "001"}}},
      // The file holds the backup converted: a run stopped before it
      // recorded the code; only the code is recorded.
      {"Interrupted", inv.oldBytes, inv.want, store::ConversionOutcome::None, inv.want, {}},
      {"InterruptedSizeOfBoth", eleven, elevenConverted, store::ConversionOutcome::None, elevenConverted, {}},
      // Something else: stop, naming both.
      {"BackupDiffers",
       inv.oldBytes + inv.oldBytes,
       inv.oldBytes,
       store::ConversionOutcome::BackupDiffers,
       inv.oldBytes,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.fs.SetFile(kFolder + "releaseflag.vlk", "");
    store.fs.SetFile(kFolder + "invsum001.vlk", c.backup);
    store.fs.SetFile(kFolder + "invsum.vlk", c.file);
    const store::ConversionOutcome outcome = Run();
    EXPECT_EQ(outcome.failure, c.failure);
    EXPECT_EQ(outcome.converted, c.converted);
    EXPECT_EQ(store.fs.File(kFolder + "invsum001.vlk"), c.backup);
    EXPECT_EQ(store.fs.File(kFolder + "invsum.vlk"), c.fileAfter);
    if (c.failure == store::ConversionOutcome::None) {
      EXPECT_EQ(store.fs.File(kFolder + "releaseflag.vlk"), Flags(kAll));
    } else {
      EXPECT_EQ(outcome.fileName, "invsum.vlk");
      EXPECT_EQ(outcome.backupName, "invsum001.vlk");
      EXPECT_EQ(store.fs.File(kFolder + "releaseflag.vlk"), "");
    }
  }
}

// A file whose size fits two layouts and whose dates tell neither: the run
// stops before it writes anything, also the conversions of other files.
TEST_F(ConversionRun, ALayoutTheDatesCannotTellStopsBeforeAnyWrite) {
  OldAdministration();
  store.fs.SetFile(kFolder + "ledgerct.vlk", std::string(94 * 134, '\0'));
  const std::map<std::string, std::string> before = Files();
  const store::ConversionOutcome outcome = Run();
  EXPECT_EQ(outcome.failure, store::ConversionOutcome::LayoutUndecided);
  EXPECT_EQ(outcome.fileName, "ledgerct.vlk");
  EXPECT_EQ(outcome.readings, (std::vector<store::LayoutReading>{{94, 134, false}, {134, 94, true}}));
  EXPECT_TRUE(outcome.converted.empty());
  EXPECT_EQ(Files(), before);
}

TEST_F(ConversionRun, AFileErrorPartWayLosesNothingAndRecordsNothing) {
  const MappingCase pay = MappingCases()[3];
  struct Case {
    const char* name;
    std::string path;
    support::FakeFileSystem::Op op;
  };
  const std::vector<Case> cases = {
      {"BackupWrite", kFolder + "payment002.vlk.ombrelo-tmp", support::FakeFileSystem::Op::Write},
      {"BackupRename", kFolder + "payment002.vlk.ombrelo-tmp", support::FakeFileSystem::Op::Rename},
      {"NewFileWrite", kFolder + "payment.vlk.ombrelo-tmp", support::FakeFileSystem::Op::Write},
      {"NewFileRename", kFolder + "payment.vlk.ombrelo-tmp", support::FakeFileSystem::Op::Rename},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.fs.SetFile(kFolder + "releaseflag.vlk", Flags({"001"}));
    store.fs.SetFile(kFolder + "payment.vlk", pay.oldBytes);
    store.fs.Delete(kFolder + "payment002.vlk");
    store.fs.InjectError(c.path, c.op, 39);
    const store::ConversionOutcome outcome = Run();
    store.fs.ClearErrors();
    EXPECT_EQ(outcome.failure, store::ConversionOutcome::FileError);
    EXPECT_EQ(outcome.fileName, "payment.vlk");
    EXPECT_EQ(outcome.errorCode, 39);
    EXPECT_EQ(store.fs.File(kFolder + "payment.vlk"), pay.oldBytes);
    // The run stopped at "002", before "009" and "011" of the empty invoice
    // file.
    EXPECT_EQ(store.fs.File(kFolder + "releaseflag.vlk"), Flags({"001"}));
    // A backup that was placed holds the old bytes.
    if (store.fs.HasFile(kFolder + "payment002.vlk")) {
      EXPECT_EQ(store.fs.File(kFolder + "payment002.vlk"), pay.oldBytes);
    }
    // The next log-in converts.
    const store::ConversionOutcome again = Run();
    EXPECT_TRUE(again.Ok());
    EXPECT_EQ(store.fs.File(kFolder + "payment.vlk"), pay.want);
    EXPECT_EQ(store.fs.File(kFolder + "payment002.vlk"), pay.oldBytes);
    EXPECT_EQ(store.fs.File(kFolder + "releaseflag.vlk"), Flags(kAll));
  }
}

// A crash after each write in turn, then a log-in: the files end as after
// a run that was never stopped.
TEST_F(ConversionRun, ACrashAnywhereEndsAsACompleteRun) {
  OldAdministration();
  const std::map<std::string, std::string> old = Files();
  Run();
  const std::map<std::string, std::string> complete = Files();
  for (int goodCalls = 0;; ++goodCalls) {
    SCOPED_TRACE(goodCalls);
    for (const auto& [name, bytes] : Files()) store.fs.Delete(kFolder + name);
    for (const auto& [name, bytes] : old) store.fs.SetFile(kFolder + name, bytes);
    store.fs.CrashAfter(goodCalls);
    try {
      Run(false);
    } catch (const std::exception&) {
      // the set's own open or close after the crash
    }
    const bool crashed = store.fs.Crashed();
    store::ForceCloseFileSet();
    store.fs.ClearErrors();
    const store::ConversionOutcome next = Run();
    EXPECT_TRUE(next.Ok()) << next.fileName << " " << next.errorText;
    EXPECT_EQ(Files(), complete);
    if (!crashed) break;
  }
}

}  // namespace
