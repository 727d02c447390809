// The voucher-template and import-profile records against golden bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "records/codec.h"
#include "records/importprofilerec.h"
#include "records/journalvoucherrec.h"
#include "records/vouchertemplaterec.h"
#include "support/records.h"

namespace {

using support::Bytes;

// A short string as stored: the length byte and the characters.
std::string Short(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }

std::string Int32Bytes(std::int32_t v) {
  records::Record<4> r;
  records::WriteInt32(r.data(), v);
  return Bytes(r);
}

std::string DoubleBytes(double v) {
  records::Record<8> r;
  records::WriteDouble(r.data(), v);
  return Bytes(r);
}

void Put(std::string& golden, std::size_t at, const std::string& bytes) { golden.replace(at, bytes.size(), bytes); }

TEST(VoucherTemplateRec, NameAndEveryLineLieAtTheirOffsets) {
  records::VoucherTemplateRec rec;
  rec.SetName("Monthly rent");
  for (int k = 1; k <= 8; ++k) {
    records::JournalVoucherRec line;
    line.SetLineText("text " + std::to_string(k));
    line.SetAccountNumber(std::to_string(4000 + k));
    line.SetAccountCaption("caption " + std::to_string(k));
    line.SetCostCentre("cc" + std::to_string(k));
    line.SetDebitAmount(100.25 * k);
    line.SetCreditAmount(-0.5 * k);
    rec.SetLine(k, line);
  }

  std::string golden(3184, '\0');
  Put(golden, 0, Short("Monthly rent"));
  for (int k = 1; k <= 8; ++k) {
    const std::size_t base = 48 + 392 * static_cast<std::size_t>(k - 1);
    Put(golden, base + 132, Short("text " + std::to_string(k)));
    Put(golden, base + 183, Short(std::to_string(4000 + k)));
    Put(golden, base + 199, Short("caption " + std::to_string(k)));
    Put(golden, base + 230, Short("cc" + std::to_string(k)));
    Put(golden, base + 320, DoubleBytes(100.25 * k));
    Put(golden, base + 328, DoubleBytes(-0.5 * k));
  }
  EXPECT_EQ(Bytes(rec), golden);

  const records::VoucherTemplateRec back = support::Record<records::VoucherTemplateRec>(golden);
  EXPECT_EQ(back.Name(), "Monthly rent");
  const records::JournalVoucherRec line8 = back.Line(8);
  EXPECT_EQ(line8.LineText(), "text 8");
  EXPECT_EQ(line8.AccountNumber(), "4008");
  EXPECT_EQ(line8.DebitAmount(), 802.0);
  EXPECT_EQ(line8.CreditAmount(), -4.0);
}

TEST(VoucherTemplateRec, NameIsCutAtFortyAndPadStaysZero) {
  records::VoucherTemplateRec rec;
  rec.SetName(std::string(45, 'N'));
  std::string golden(3184, '\0');
  Put(golden, 0, std::string(1, '\x28') + std::string(40, 'N'));
  EXPECT_EQ(Bytes(rec), golden);
  EXPECT_EQ(rec.Name(), std::string(40, 'N'));
}

TEST(VoucherTemplateRec, LinesOutsideOneToEightAreRefused) {
  records::VoucherTemplateRec rec;
  EXPECT_THROW(rec.Line(0), std::out_of_range);
  EXPECT_THROW(rec.Line(9), std::out_of_range);
  EXPECT_THROW(rec.SetLine(9, records::JournalVoucherRec{}), std::out_of_range);
  EXPECT_EQ(records::VoucherTemplateRec::LineOffset(8), 48u + 7u * 392u);
}

TEST(ImportProfileRec, EveryFieldLiesAtItsOffset) {
  records::ImportProfileRec rec;
  rec.SetProfileNumber(3);
  rec.SetProfileName("House bank");
  rec.SetDateColumn(0);
  rec.SetDateFormat("dd-mm-yyyy");
  rec.SetCurrencyCode("EUR");
  rec.SetOwnAccountColumn(1);
  rec.SetCounterpartyAccountColumn(-1);
  rec.SetAscriptionColumn(4);
  rec.SetDebitCreditColumn(5);
  rec.SetDebitString("Af");
  rec.SetAmountColumn(6);
  for (int k = 1; k <= 6; ++k) rec.SetNarrativeColumn(k, k < 4 ? 6 + k : -1);

  std::string golden(116, '\0');
  Put(golden, 0, Int32Bytes(3));
  Put(golden, 4, Short("House bank"));
  Put(golden, 20, Int32Bytes(0));
  Put(golden, 24, Short("dd-mm-yyyy"));
  Put(golden, 40, Short("EUR"));
  Put(golden, 56, Int32Bytes(1));
  Put(golden, 60, Int32Bytes(-1));
  Put(golden, 64, Int32Bytes(4));
  Put(golden, 68, Int32Bytes(5));
  Put(golden, 72, Short("Af"));
  Put(golden, 88, Int32Bytes(6));
  Put(golden, 92, Int32Bytes(7));
  Put(golden, 96, Int32Bytes(8));
  Put(golden, 100, Int32Bytes(9));
  Put(golden, 104, Int32Bytes(-1));
  Put(golden, 108, Int32Bytes(-1));
  Put(golden, 112, Int32Bytes(-1));
  EXPECT_EQ(Bytes(rec), golden);

  const records::ImportProfileRec back = support::Record<records::ImportProfileRec>(golden);
  EXPECT_EQ(back.ProfileNumber(), 3);
  EXPECT_EQ(back.ProfileName(), "House bank");
  EXPECT_EQ(back.DateFormat(), "dd-mm-yyyy");
  EXPECT_EQ(back.CounterpartyAccountColumn(), -1);
  EXPECT_EQ(back.DebitString(), "Af");
  EXPECT_EQ(back.NarrativeColumn(3), 9);
  EXPECT_EQ(back.NarrativeColumn(6), -1);
}

TEST(ImportProfileRec, TextsAreCutToTheirFieldsAndPadsStayZero) {
  records::ImportProfileRec rec;
  rec.SetProfileName("A profile name that is long");  // 15
  rec.SetDateFormat("yyyy-mm-dd-x");                 // 10
  rec.SetDebitString("DEBIT-DEBIT-D");               // 12
  std::string golden(116, '\0');
  Put(golden, 4, Short("A profile name "));
  Put(golden, 24, Short("yyyy-mm-dd"));
  Put(golden, 72, Short("DEBIT-DEBIT-"));
  EXPECT_EQ(Bytes(rec), golden);
  EXPECT_THROW(rec.NarrativeColumn(0), std::out_of_range);
  EXPECT_THROW(rec.SetNarrativeColumn(7, 1), std::out_of_range);
}

}  // namespace
