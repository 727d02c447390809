// The invoice, payment and voucher-line records against golden bytes: every
// field at its stored offset, pads untouched.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/paymentrec.h"
#include "support/records.h"

namespace {

using support::Bytes;

std::string Short(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }
std::string Int32Bytes(std::int32_t v) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  return out;
}
std::string DoubleBytes(double v) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &v, 8);
  std::string out(8, '\0');
  for (int i = 0; i < 8; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return out;
}

struct Golden {
  std::string bytes;
  explicit Golden(std::size_t size) : bytes(size, '\0') {}
  void Put(std::size_t at, const std::string& b) { bytes.replace(at, b.size(), b); }
};

TEST(InvoiceRecTest, EveryFieldLiesAtItsOffset) {
  records::InvoiceRec rec;
  rec.SetInvoiceDate("20240510");
  rec.SetInvoiceNumber("F-2024-0001");
  rec.SetPartnerType("CUS");
  rec.SetPartnerNumber(25);
  rec.SetEntryNumber("E17");
  rec.SetDiscountDate("20240520");
  rec.SetDueDate("20240609");
  rec.SetVoucherDate("20240511");
  rec.SetInvoiceAmount(121.0);
  rec.SetPaidAmount(-20.5);
  rec.SetPrepaidAmount(10.25);
  rec.SetMemo("Consulting May");
  rec.SetVoucherCreated(true);
  rec.SetChangedBy("ANNE");
  rec.SetChangedAt("17-05-2024 09:30:15");

  Golden g(224);
  g.Put(0, Short("20240510"));
  g.Put(9, Short("F-2024-0001"));
  g.Put(25, Short("CUS"));
  g.Put(32, Int32Bytes(25));
  g.Put(36, Short("E17"));
  g.Put(47, Short("20240520"));
  g.Put(56, Short("20240609"));
  g.Put(65, Short("20240511"));
  g.Put(80, DoubleBytes(121.0));
  g.Put(88, DoubleBytes(-20.5));
  g.Put(96, DoubleBytes(10.25));
  g.Put(104, Short("Consulting May"));
  g.Put(185, "\x01");
  g.Put(186, Short("ANNE"));
  g.Put(197, Short("17-05-2024 09:30:15"));
  EXPECT_EQ(Bytes(rec), g.bytes);

  // Cut at the capacity, the neighbours untouched.
  rec.SetInvoiceNumber("1234567890123456789");
  rec.SetChangedBy("ABCDEFGHIJKLMN");
  EXPECT_EQ(rec.InvoiceNumber(), "123456789012345");
  EXPECT_EQ(rec.PartnerType(), "CUS");
  EXPECT_EQ(rec.ChangedBy(), "ABCDEFGHIJ");
  EXPECT_EQ(rec.ChangedAt(), "17-05-2024 09:30:15");
}

TEST(PaymentRecTest, EveryFieldLiesAtItsOffset) {
  records::PaymentRec rec;
  rec.SetValueDate("20240512");
  rec.SetBankAccount("NL91BANK0417164");
  rec.SetPaymentNumber(3);
  rec.SetEntryNumber("IMP0042");
  rec.SetPartnerType("VEN");
  rec.SetPartnerNumber(-7);
  rec.SetAscription("Supplier Ltd");
  for (int k = 1; k <= records::PaymentRec::kNarrativeCount; ++k) rec.SetNarrative(k, "line " + std::to_string(k));
  rec.SetAmount(99.99);
  rec.SetMemo("May rent");
  rec.SetVoucherCreated(true);
  rec.SetChangedBy("BERT");
  rec.SetChangedAt("17-05-2024 09:30:15");

  Golden g(584);
  g.Put(0, Short("20240512"));
  g.Put(9, Short("NL91BANK0417164"));
  g.Put(28, Int32Bytes(3));
  g.Put(32, Short("IMP0042"));
  g.Put(43, Short("VEN"));
  g.Put(48, Int32Bytes(-7));
  g.Put(52, Short("Supplier Ltd"));
  const std::size_t narrative[] = {113, 174, 235, 296, 357, 418};
  for (int k = 1; k <= 6; ++k) g.Put(narrative[k - 1], Short("line " + std::to_string(k)));
  g.Put(480, DoubleBytes(99.99));
  g.Put(488, Short("May rent"));
  g.Put(549, "\x01");
  g.Put(550, Short("BERT"));
  g.Put(561, Short("17-05-2024 09:30:15"));
  EXPECT_EQ(Bytes(rec), g.bytes);

  EXPECT_EQ(rec.Narrative(6), "line 6");
  EXPECT_EQ(rec.Narrative(7), "");
  rec.SetNarrative(0, "nowhere");
  EXPECT_EQ(Bytes(rec), g.bytes);
}

TEST(JournalVoucherRecTest, EveryFieldLiesAtItsOffset) {
  records::JournalVoucherRec rec;
  rec.SetVoucherDate("20240517");
  rec.SetBookNumber("CUS25/1001");
  rec.SetJournalName("Sales book");
  rec.SetTransactionText("Invoice 1001");
  rec.SetLineText("20240511/1001");
  rec.SetAccountNumber("1300");
  rec.SetAccountCaption("Debtors");
  rec.SetCostCentre("CC1");
  rec.SetProjectDescription("P1");
  rec.SetProductDescription("Q1");
  rec.SetInvoiceAttached(true);
  rec.SetPartnerType("CUS");
  rec.SetPartnerNumber(-1);
  rec.SetInvoiceNumber("1001");
  rec.SetDebitAmount(121.0);
  rec.SetCreditAmount(0.5);
  rec.SetDocumentId("REF9");
  rec.SetChangedBy("ANNE");
  rec.SetChangedAt("17-05-2024 09:30:15");

  Golden g(392);
  g.Put(0, Short("20240517"));
  g.Put(9, Short("CUS25/1001"));
  g.Put(30, Short("Sales book"));
  g.Put(81, Short("Invoice 1001"));
  g.Put(132, Short("20240511/1001"));
  g.Put(183, Short("1300"));
  g.Put(199, Short("Debtors"));
  g.Put(230, Short("CC1"));
  g.Put(251, Short("P1"));
  g.Put(272, Short("Q1"));
  g.Put(293, "\x01");
  g.Put(294, Short("CUS"));
  g.Put(300, Int32Bytes(-1));
  g.Put(304, Short("1001"));
  g.Put(320, DoubleBytes(121.0));
  g.Put(328, DoubleBytes(0.5));
  g.Put(336, Short("REF9"));
  g.Put(352, Short("ANNE"));
  g.Put(368, Short("17-05-2024 09:30:15"));
  EXPECT_EQ(Bytes(rec), g.bytes);
}

}  // namespace
