// The partner record and the partner store: kinds, search and pages, the
// lookup by number, the numbering and the saves, on the in-memory file
// system.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "books/partners/partnerstore.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "records/partnerrec.h"
#include "store/fileset.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using books::partners::PartnerCriteria;
using books::partners::PartnerKind;
using books::partners::PartnerOutcome;
using records::PartnerRec;
using support::Bytes;
using support::Records;
using Op = support::FakeFileSystem::Op;

constexpr const char* kCus = "/d/ACME/customer.vlk";
constexpr const char* kSup = "/d/ACME/supplier.vlk";

std::string Short(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }

std::string DoubleBytes(double v) {
  records::Record<8> r;
  records::WriteDouble(r.data(), v);
  return Bytes(r);
}

std::string Int32Bytes(std::int32_t v) {
  records::Record<4> r;
  records::WriteInt32(r.data(), v);
  return Bytes(r);
}

PartnerRec Partner(std::int32_t number, const std::string& name, const std::string& bank = "",
                   const std::string& their = "") {
  PartnerRec rec;
  rec.SetOurNumber(number);
  rec.SetName(name);
  rec.SetAddress("Street " + std::to_string(number));
  rec.SetTown("Town");
  rec.SetBankAccountNumber(bank);
  rec.SetTheirNumber(their);
  rec.SetRelationshipType("CUS");
  rec.SetPartnerGroup("1300");
  rec.SetSalesCostGroup1("8000");
  return rec;
}

// Partners numbered first, first + 1, ... named "P<number>".
std::vector<PartnerRec> Dense(std::int32_t first, int count) {
  std::vector<PartnerRec> recs;
  for (int i = 0; i < count; ++i) recs.push_back(Partner(first + i, "P" + std::to_string(first + i)));
  return recs;
}

// A partner as the form hands it to a save: the accounts filled, no number.
PartnerRec Typed(const std::string& name) {
  PartnerRec rec;
  rec.SetName(name);
  rec.SetPartnerGroup("1300");
  rec.SetSalesCostGroup1("8000");
  return rec;
}

class PartnerStore : public ::testing::Test, public support::AdministrationFolder {
 public:
  void SetCus(const std::vector<PartnerRec>& recs) { store.fs.SetFile(kCus, Bytes(recs)); }
  std::vector<PartnerRec> Cus() const { return Records<PartnerRec>(store.fs.File(kCus)); }
  std::vector<PartnerRec> Sup() const { return Records<PartnerRec>(store.fs.File(kSup)); }
  // Whether any partner file was opened since the log was cleared.
  bool OpenedAFile() const {
    for (const std::string& e : store.fs.Log())
      if (e.find("customer.vlk") != std::string::npos || e.find("supplier.vlk") != std::string::npos) return true;
    return false;
  }
  void ExpectNoSetLeft() const {
    EXPECT_FALSE(store::FileSetOpen);
    EXPECT_EQ(store.fs.OpenHandles(), 0);
    EXPECT_EQ(store.fs.HeldLocks(), 0);
  }
  books::partners::FoundPartner Load(PartnerKind kind, std::int32_t number) {
    const auto r = books::partners::FindPartnerByNumber(kind, number);
    EXPECT_EQ(r.outcome, PartnerOutcome::Done) << number;
    return r.value.value_or(books::partners::FoundPartner{});
  }
};

// --- The record ------------------------------------------------------------------

TEST(PartnerRecord, EveryFieldLiesAtItsOffset) {
  PartnerRec rec;
  std::string golden(1624, '\0');
  auto put = [&golden](std::size_t at, const std::string& bytes) { golden.replace(at, bytes.size(), bytes); };
  struct Text {
    void (PartnerRec::*set)(std::string_view);
    std::size_t offset;
    const char* value;
  } texts[] = {
      {&PartnerRec::SetName, 0, "Name"},
      {&PartnerRec::SetCompanyName, 51, "Company"},
      {&PartnerRec::SetSuspendedDate, 108, "20240301"},
      {&PartnerRec::SetRelationshipType, 117, "VEN"},
      {&PartnerRec::SetTheirNumber, 121, "THEIR-9"},
      {&PartnerRec::SetAddress, 137, "Address"},
      {&PartnerRec::SetProperty, 188, "Property"},
      {&PartnerRec::SetZipCode, 239, "1234 AB"},
      {&PartnerRec::SetTown, 250, "Town"},
      {&PartnerRec::SetRegion, 301, "Region"},
      {&PartnerRec::SetCountry, 352, "Country"},
      {&PartnerRec::SetCorrCode, 403, "X"},
      {&PartnerRec::SetCorrAddress, 405, "CorrAddress"},
      {&PartnerRec::SetCorrZipCode, 456, "9999 ZZ"},
      {&PartnerRec::SetCorrTown, 467, "CorrTown"},
      {&PartnerRec::SetCorrState, 518, "CorrState"},
      {&PartnerRec::SetCorrCountry, 569, "CorrCountry"},
      {&PartnerRec::SetTelephone, 620, "010-1234567"},
      {&PartnerRec::SetFax, 651, "010-7654321"},
      {&PartnerRec::SetEmail, 682, "mail@example.org"},
      {&PartnerRec::SetWebsite, 783, "www.example.org"},
      {&PartnerRec::SetContact1Name, 884, "Contact1"},
      {&PartnerRec::SetContact1Phone, 935, "0611"},
      {&PartnerRec::SetContact1Text, 956, "Text1"},
      {&PartnerRec::SetContact2Text, 1007, "Text2"},
      {&PartnerRec::SetContact2Name, 1058, "Contact2"},
      {&PartnerRec::SetContact2Phone, 1109, "0622"},
      {&PartnerRec::SetMemo, 1130, "Memo"},
      {&PartnerRec::SetBankAccountNumber, 1231, "NL00BANK0123456789"},
      {&PartnerRec::SetBankAccountName, 1252, "Holder"},
      {&PartnerRec::SetTaxAccountNumber, 1313, "NL001B01"},
      {&PartnerRec::SetTaxVerificationDate, 1329, "20231231"},
      {&PartnerRec::SetBiFeature1, 1338, "BI1"},
      {&PartnerRec::SetBiFeature2, 1349, "BI2"},
      {&PartnerRec::SetFreeItem1, 1360, "Free1"},
      {&PartnerRec::SetFreeItem2, 1381, "Free2"},
      {&PartnerRec::SetPartnerGroup, 1416, "1300"},
      {&PartnerRec::SetSalesCostGroup1, 1437, "8000"},
      {&PartnerRec::SetSalesCostGroup2, 1458, "8010"},
      {&PartnerRec::SetSalesCostGroup3, 1479, "8020"},
      {&PartnerRec::SetVatGroup1, 1500, "1500"},
      {&PartnerRec::SetVatGroup2, 1521, "1510"},
      {&PartnerRec::SetCashDiscountAccount, 1542, "8100"},
      {&PartnerRec::SetChangedBy, 1592, "ANNE"},
      {&PartnerRec::SetChangedAt, 1603, "17-05-2024 09:30:15"},
  };
  for (const Text& t : texts) {
    (rec.*t.set)(t.value);
    put(t.offset, Short(t.value));
  }
  rec.SetOurNumber(1000);
  put(104, Int32Bytes(1000));
  rec.SetCreditLimit(2500.5);
  put(1408, DoubleBytes(2500.5));
  rec.SetDiscountDays(8);
  put(1564, Int32Bytes(8));
  rec.SetDiscountRate(1.125);
  put(1568, DoubleBytes(1.125));
  rec.SetNetDays(30);
  put(1576, Int32Bytes(30));
  rec.SetPenaltyRate(0.75);
  put(1584, DoubleBytes(0.75));
  EXPECT_EQ(Bytes(rec), golden);

  // The account fields in record order, and texts cut at their room.
  const char* accounts[] = {"1300", "8000", "8010", "8020", "1500", "1510", "8100"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(rec.AccountField(i), accounts[i]) << i;
  rec.SetTheirNumber("1234567890123456789");
  EXPECT_EQ(rec.TheirNumber(), "123456789012345");
  EXPECT_EQ(rec.Address(), "Address");
}

// --- Kinds -----------------------------------------------------------------------

TEST(PartnerKinds, TheItemIndexPicksFileAndStoredType) {
  EXPECT_EQ(books::partners::KindFromItemIndex(0), PartnerKind::Customer);
  EXPECT_EQ(books::partners::KindFromItemIndex(1), PartnerKind::Supplier);
  EXPECT_EQ(books::partners::KindFromItemIndex(-1), std::nullopt);
  EXPECT_EQ(books::partners::KindFromItemIndex(2), std::nullopt);
  const auto& cus = books::partners::KindInfo(PartnerKind::Customer);
  EXPECT_STREQ(cus.code, "CUS");
  EXPECT_STREQ(cus.fileName, "customer.vlk");
  EXPECT_EQ(cus.file, store::FileCode::CUS);
  EXPECT_EQ(records::CodeOf(cus.relationshipType), "CUS");
  const auto& sup = books::partners::KindInfo(PartnerKind::Supplier);
  EXPECT_STREQ(sup.code, "SUP");
  EXPECT_STREQ(sup.fileName, "supplier.vlk");
  EXPECT_EQ(sup.file, store::FileCode::SUP);
  EXPECT_EQ(records::CodeOf(sup.relationshipType), "VEN");
  // The file table agrees.
  EXPECT_STREQ(store::FileInfo(cus.file).fileName, cus.fileName);
  EXPECT_STREQ(store::FileInfo(sup.file).fileName, sup.fileName);
  for (const char* type : {"VEN", "", "cus", "SUP"})
    EXPECT_EQ(books::partners::KindOfRelationshipType(type), PartnerKind::Supplier) << type;
  EXPECT_EQ(books::partners::KindOfRelationshipType("CUS"), PartnerKind::Customer);
}

// --- Matching --------------------------------------------------------------------

TEST(PartnerSearchRules, FoldCaseFoldsTheCodePagesLetters) {
  using cp1252::L;
  struct Case {
    std::string in, out;
  } cases[] = {
      {"ABC xyz 123", "abc xyz 123"},
      {L("ÉCOLE Ñandú"), L("école ñandú")},
      {L("ŠŒŽŸ"), L("šœžÿ")},
      {L("Straße"), "strasse"},
      {L("×÷"), L("×÷")},  // not letters
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(books::partners::FoldCase(c.in), c.out) << c.in;
}

TEST(PartnerSearchRules, AnyUsedCriterionMatches) {
  using cp1252::L;
  const PartnerRec bank = Partner(1000, "Acme Trading", "NL00BANK0123", "C-17");
  const PartnerRec seven = Partner(7, L("Café Éclair"), "DE44500105175407324931", "007");
  const PartnerRec street = Partner(1234, L("Straße GmbH"));
  struct Case {
    const char* what;
    PartnerCriteria criteria;
    bool bank, seven, street;
  } cases[] = {
      {"all empty: everything", {}, true, true, true},
      {"our number", {"1000", "", "", ""}, true, false, false},
      {"our number exactly: 7 is not 007", {"007", "", "", ""}, false, false, false},
      {"our number 7", {"7", "", "", ""}, false, true, false},
      {"our number is no text search", {"100", "", "", ""}, false, false, false},
      {"their number exactly", {"", "007", "", ""}, false, true, false},
      {"their number is case-sensitive", {"", "c-17", "", ""}, false, false, false},
      {"their number is no text search", {"", "C-1", "", ""}, false, false, false},
      {"text in the name, any case", {"", "", "TRADING", ""}, true, false, false},
      {"text in the bank account", {"", "", "bank", ""}, true, false, false},
      {"text folds accents", {"", "", L("CAFÉ ÉCL"), ""}, false, true, false},
      {"text folds sharp s", {"", "", "STRASSE", ""}, false, false, true},
      {"text is not the number", {"", "", "1000", ""}, false, false, false},
      {"text in neither", {"", "", "zzz", ""}, false, false, false},
      {"bank account exactly", {"", "", "", "NL00BANK0123"}, true, false, false},
      {"bank account not in part", {"", "", "", "NL00BANK"}, false, false, false},
      {"bank account is case-sensitive", {"", "", "", "nl00bank0123"}, false, false, false},
      {"OR: number or text", {"7", "", "acme", ""}, true, true, false},
      {"OR: one criterion failing does not veto", {"9", "007", "zzz", "none"}, false, true, false},
      {"OR: all four as the journal form fills them", {"1234", "1234", "1234", "1234"}, false, false, true},
      {"a blank is a used criterion", {"", "", " ", ""}, true, true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(books::partners::PartnerMatches(bank, c.criteria), c.bank) << c.what;
    EXPECT_EQ(books::partners::PartnerMatches(seven, c.criteria), c.seven) << c.what;
    EXPECT_EQ(books::partners::PartnerMatches(street, c.criteria), c.street) << c.what;
  }
}

// --- Search and pages ------------------------------------------------------------

TEST_F(PartnerStore, PagesOf100RowsWithPreviousAndMore) {
  // 300 partners, 250 of them matching "Match": 100, 100 and 50.
  std::vector<PartnerRec> recs;
  for (int i = 0; i < 300; ++i) recs.push_back(Partner(1000 + i, (i % 6 == 5 ? "Other " : "Match ") + std::to_string(i)));
  SetCus(recs);
  const PartnerCriteria match{"", "", "match", ""};
  struct Case {
    int page;
    std::size_t rows;
    std::int32_t first, last;
    bool more, previous;
  } cases[] = {
      {0, 100, 1000, 1118, true, false},
      {1, 100, 1120, 1238, true, true},
      {2, 50, 1240, 1298, false, true},
      {1, 100, 1120, 1238, true, true},  // back from the last page
  };
  for (const Case& c : cases) {
    const auto page = books::partners::SearchPartners(PartnerKind::Customer, match, c.page);
    ASSERT_EQ(page.outcome, PartnerOutcome::Done) << c.page;
    ASSERT_EQ(page.value->rows.size(), c.rows) << c.page;
    EXPECT_EQ(page.value->rows.front().number, c.first) << c.page;
    EXPECT_EQ(page.value->rows.back().number, c.last) << c.page;
    EXPECT_EQ(page.value->more, c.more) << c.page;
    EXPECT_EQ(page.value->HasPrevious(), c.previous) << c.page;
    EXPECT_FALSE(page.value->SingleMatch());
    EXPECT_EQ(page.value->fileCount, 300);
    for (const auto& row : page.value->rows) EXPECT_EQ(row.index, row.number - 1000);
  }
  const auto beyond = books::partners::SearchPartners(PartnerKind::Customer, match, 3);
  EXPECT_EQ(beyond.outcome, PartnerOutcome::NotFound);
  EXPECT_TRUE(beyond.value->rows.empty());
  EXPECT_FALSE(beyond.value->more);
  EXPECT_EQ(books::partners::SearchPartners(PartnerKind::Customer, match, -4).value->page, 0);
  ExpectNoSetLeft();
}

TEST_F(PartnerStore, ExactlyAPageOfMatchesHasNoFurtherPage) {
  // 100 matches, then records that do not match: no next page.
  std::vector<PartnerRec> recs = Dense(1, 100);
  for (int i = 0; i < 30; ++i) recs.push_back(Partner(101 + i, "Nobody"));
  SetCus(recs);
  const auto page = books::partners::SearchPartners(PartnerKind::Customer, {"", "", "P", ""});
  EXPECT_EQ(page.value->rows.size(), 100u);
  EXPECT_FALSE(page.value->more);
  // 101 matches: one more page of one row, which is no single match.
  recs.push_back(Partner(131, "P131"));
  SetCus(recs);
  const auto first = books::partners::SearchPartners(PartnerKind::Customer, {"", "", "P", ""});
  EXPECT_TRUE(first.value->more);
  const auto second = books::partners::SearchPartners(PartnerKind::Customer, {"", "", "P", ""}, 1);
  ASSERT_EQ(second.value->rows.size(), 1u);
  EXPECT_EQ(second.value->rows[0].number, 131);
  EXPECT_EQ(second.value->rows[0].index, 130);
  EXPECT_FALSE(second.value->more);
  EXPECT_FALSE(second.value->SingleMatch());
}

TEST_F(PartnerStore, ARowCarriesTheListColumnsAndASingleMatchIsMarked) {
  PartnerRec rec = Partner(1001, "Acme", "NL00BANK0123", "C-17");
  rec.SetAddress("Main Street 1");
  rec.SetTown("Utrecht");
  SetCus({Partner(1000, "Other"), rec, Partner(1002, "Third")});
  const auto page = books::partners::SearchPartners(PartnerKind::Customer, {"", "", "", "NL00BANK0123"});
  ASSERT_EQ(page.value->rows.size(), 1u);
  EXPECT_TRUE(page.value->SingleMatch());
  const auto& row = page.value->rows[0];
  EXPECT_EQ(row.index, 1);
  EXPECT_EQ(row.number, 1001);
  EXPECT_EQ(row.name, "Acme");
  EXPECT_EQ(row.address, "Main Street 1");
  EXPECT_EQ(row.town, "Utrecht");
  EXPECT_EQ(row.theirNumber, "C-17");
  EXPECT_EQ(row.bankAccount, "NL00BANK0123");
}

TEST_F(PartnerStore, NoMatchAndAnEmptyFileAreTold) {
  SetCus(Dense(1000, 3));
  const auto none = books::partners::SearchPartners(PartnerKind::Customer, {"", "", "zzz", ""});
  EXPECT_EQ(none.outcome, PartnerOutcome::NotFound);
  EXPECT_EQ(books::partners::LanguageOffsetOf(none.outcome), 9892);
  EXPECT_EQ(none.value->fileCount, 3);
  const auto empty = books::partners::SearchPartners(PartnerKind::Supplier, {});
  EXPECT_EQ(empty.outcome, PartnerOutcome::FileEmpty);
  EXPECT_EQ(books::partners::LanguageOffsetOf(empty.outcome), 9831);
  ExpectNoSetLeft();
}

TEST_F(PartnerStore, EachKindSearchesItsOwnFile) {
  SetCus({Partner(5, "Customer five")});
  store.fs.SetFile(kSup, Bytes({Partner(5, "Supplier five")}));
  EXPECT_EQ(books::partners::SearchPartners(PartnerKind::Customer, {"5", "", "", ""}).value->rows.at(0).name, "Customer five");
  EXPECT_EQ(books::partners::SearchPartners(PartnerKind::Supplier, {"5", "", "", ""}).value->rows.at(0).name, "Supplier five");
  EXPECT_EQ(Load(PartnerKind::Supplier, 5).record.Name(), "Supplier five");
}

// --- Lookup by number ------------------------------------------------------------

TEST_F(PartnerStore, FindByNumberTrustsTheIndexOnlyWhenItCarriesTheNumber) {
  auto damaged = Dense(1000, 5);
  damaged[0].SetOurNumber(0);  // record 0 damaged: every index is off
  struct Case {
    const char* what;
    std::vector<PartnerRec> file;
    std::int32_t number;
    PartnerOutcome outcome;
    int index;
  } cases[] = {
      {"dense: first", Dense(1000, 5), 1000, PartnerOutcome::Done, 0},
      {"dense: at its index", Dense(1000, 5), 1003, PartnerOutcome::Done, 3},
      {"dense: beyond the end", Dense(1000, 5), 1005, PartnerOutcome::NotFound, -1},
      {"dense: below the base", Dense(1000, 5), 999, PartnerOutcome::NotFound, -1},
      {"dense: no partner", Dense(1000, 5), -1, PartnerOutcome::NotFound, -1},
      {"gap: found by scanning", {Partner(1000, "A"), Partner(1002, "B"), Partner(1003, "C")}, 1003,
       PartnerOutcome::Done, 2},
      {"gap: the missing number", {Partner(1000, "A"), Partner(1002, "B"), Partner(1003, "C")}, 1001,
       PartnerOutcome::NotFound, -1},
      {"out of order", {Partner(1002, "C"), Partner(1000, "A"), Partner(1001, "B")}, 1000, PartnerOutcome::Done, 1},
      {"damaged record 0: scanning", damaged, 1002, PartnerOutcome::Done, 2},
      {"damaged record 0: index would be 1000 off", damaged, 1, PartnerOutcome::NotFound, -1},
      {"the highest number", {Partner(1, "A"), Partner(2147483647, "B")}, 2147483647, PartnerOutcome::Done, 1},
      {"the lowest number", {Partner(2147483647, "A")}, -2147483647 - 1, PartnerOutcome::NotFound, -1},
      {"empty file", {}, 1000, PartnerOutcome::FileEmpty, -1},
  };
  for (const Case& c : cases) {
    SetCus(c.file);
    const auto r = books::partners::FindPartnerByNumber(PartnerKind::Customer, c.number);
    EXPECT_EQ(r.outcome, c.outcome) << c.what;
    EXPECT_EQ(r.value.has_value(), c.index >= 0) << c.what;
    if (r.value) {
      EXPECT_EQ(r.value->index, c.index) << c.what;
      EXPECT_EQ(Bytes(r.value->record), Bytes(c.file[static_cast<std::size_t>(c.index)])) << c.what;
    }
    ExpectNoSetLeft();
  }
}

TEST_F(PartnerStore, FindByNumberInsideTheCallersSetLeavesItOpen) {
  SetCus(Dense(1000, 3));
  int result = -1;
  store::OpenFileSet("CUS;SUP;GLA;INV", result);
  ASSERT_EQ(result, 0);
  EXPECT_EQ(Load(PartnerKind::Customer, 1002).index, 2);
  EXPECT_TRUE(store::FileSetOpen);
  EXPECT_EQ(store::FileSetDepth, 0);
  store::CloseFileSet();
  ExpectNoSetLeft();
}

// --- Numbering -------------------------------------------------------------------

TEST(PartnerNumbering, AStartValueIsAnIntegerOfAtLeastOne) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"1", 1},           {"1000", 1000},        {" 42 ", 42},          {"2147483647", 2147483647},
      {"0", std::nullopt}, {"-5", std::nullopt},  {"x", std::nullopt},   {"", std::nullopt},
      {"12a", std::nullopt}, {"1.5", std::nullopt}, {"+3", std::nullopt}, {"2147483648", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(books::partners::ParseStartValue(c.text), c.value) << c.text;
}

TEST(PartnerNumbering, NextNumberRunsOnAndNeverRepeats) {
  struct Case {
    const char* what;
    std::int32_t base;
    int count;
    std::int32_t highest;
    std::optional<std::int32_t> next;
  } cases[] = {
      {"dense", 1000, 3, 1002, 1003},
      {"a gap: number + count is free", 1000, 3, 1001, 1003},
      {"a higher number further on", 1000, 3, 1500, 1501},
      {"record 0 damaged to 0", 0, 3, 1002, 1003},
      {"everything damaged to 0", 0, 1, 0, 1},
      {"negative numbers", -50, 2, -49, 1},
      {"at the top", 2147483646, 1, 2147483646, 2147483647},
      {"past the top", 2147483647, 1, 2147483647, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(books::partners::NextNumberFor(c.base, c.count, c.highest), c.next) << c.what;
}

TEST_F(PartnerStore, NextPartnerNumberReadsTheFile) {
  const auto empty = books::partners::NextPartnerNumber(PartnerKind::Customer);
  EXPECT_EQ(empty.outcome, PartnerOutcome::Done);
  EXPECT_EQ(empty.value->count, 0);
  EXPECT_EQ(empty.value->next, std::nullopt);
  SetCus({Partner(1000, "A"), Partner(1001, "B"), Partner(1700, "Imported")});
  const auto n = books::partners::NextPartnerNumber(PartnerKind::Customer);
  EXPECT_EQ(n.value->count, 3);
  EXPECT_EQ(n.value->next, 1701);
  SetCus({Partner(2147483647, "Top")});
  EXPECT_EQ(books::partners::NextPartnerNumber(PartnerKind::Customer).outcome, PartnerOutcome::NoNumberLeft);
  ExpectNoSetLeft();
}

// --- Saving a new partner --------------------------------------------------------

TEST_F(PartnerStore, TheFirstPartnerTakesTheStartValueAndTheNextRunsOn) {
  const auto ask = books::partners::SaveNewPartner(PartnerKind::Customer, Typed("First"));
  EXPECT_EQ(ask.outcome, PartnerOutcome::StartValueNeeded);
  EXPECT_TRUE(Cus().empty());

  const auto first = books::partners::SaveNewPartner(PartnerKind::Customer, Typed("First"), 1000);
  ASSERT_EQ(first.outcome, PartnerOutcome::Done);
  EXPECT_EQ(first.value->index, 0);
  EXPECT_EQ(first.value->record.OurNumber(), 1000);

  const auto next = books::partners::SaveNewPartner(PartnerKind::Customer, Typed("Second"));
  ASSERT_EQ(next.outcome, PartnerOutcome::Done);
  EXPECT_EQ(next.value->index, 1);
  EXPECT_EQ(next.value->record.OurNumber(), 1001);

  const auto cus = Cus();
  ASSERT_EQ(cus.size(), 2u);
  EXPECT_EQ(Bytes(cus[0]), Bytes(first.value->record));
  EXPECT_EQ(Bytes(cus[1]), Bytes(next.value->record));
  EXPECT_EQ(cus[1].Name(), "Second");
  EXPECT_EQ(Load(PartnerKind::Customer, 1001).index, 1);

  // Supplier 1 lives in its own file.
  const auto sup = books::partners::SaveNewPartner(PartnerKind::Supplier, Typed("Vendor"), 1);
  ASSERT_EQ(sup.outcome, PartnerOutcome::Done);
  ASSERT_EQ(Sup().size(), 1u);
  EXPECT_EQ(Sup()[0].OurNumber(), 1);
  EXPECT_EQ(Cus().size(), 2u);
  ExpectNoSetLeft();
}

TEST_F(PartnerStore, ANewPartnerIsStampedByTheStore) {
  PartnerRec typed = Typed("Vendor");
  typed.SetCompanyName("Left over from the last partner shown");
  typed.SetRelationshipType("CUS");
  typed.SetOurNumber(77);
  text::SystemSettings.CurrentUser = "A-LONG-USER-NAME";
  const auto r = books::partners::SaveNewPartner(PartnerKind::Supplier, typed, 1);
  ASSERT_EQ(r.outcome, PartnerOutcome::Done);
  const PartnerRec stored = Sup().at(0);
  EXPECT_EQ(stored.OurNumber(), 1);
  EXPECT_EQ(stored.CompanyName(), "");
  EXPECT_EQ(stored.RelationshipType(), "VEN");
  EXPECT_EQ(stored.ChangedBy(), "A-LONG-USE");
  EXPECT_EQ(stored.ChangedAt(), text::Cut(platform::DateTimeToText(platform::Now()), 20));
  EXPECT_EQ(stored.Name(), "Vendor");
}

TEST_F(PartnerStore, ANewPartnerNeverTakesANumberTwice) {
  // Imported out of order, with a number far above the rest.
  SetCus({Partner(1000, "A"), Partner(1900, "Imported"), Partner(1001, "B")});
  const std::string before = store.fs.File(kCus);
  const auto r = books::partners::SaveNewPartner(PartnerKind::Customer, Typed("New"));
  ASSERT_EQ(r.outcome, PartnerOutcome::Done);
  EXPECT_EQ(r.value->record.OurNumber(), 1901);
  EXPECT_EQ(r.value->index, 3);
  EXPECT_EQ(store.fs.File(kCus).substr(0, before.size()), before);
}

TEST_F(PartnerStore, BadInputIsRefusedBeforeAnyFileOpens) {
  PartnerRec noGroup = Typed("X");
  noGroup.SetPartnerGroup("");
  PartnerRec noSales = Typed("X");
  noSales.SetSalesCostGroup1("   ");
  struct Case {
    const char* what;
    PartnerRec rec;
    std::optional<std::int32_t> start;
    PartnerOutcome outcome;
  } cases[] = {
      {"no group account", noGroup, 1, PartnerOutcome::Required},
      {"no sales account", noSales, std::nullopt, PartnerOutcome::Required},
      {"start value 0", Typed("X"), 0, PartnerOutcome::BadStartValue},
      {"start value -5", Typed("X"), -5, PartnerOutcome::BadStartValue},
  };
  SetCus(Dense(1000, 2));
  const std::string before = store.fs.File(kCus);
  for (const Case& c : cases) {
    store.fs.ClearLog();
    EXPECT_EQ(books::partners::SaveNewPartner(PartnerKind::Customer, c.rec, c.start).outcome, c.outcome) << c.what;
    EXPECT_FALSE(OpenedAFile()) << c.what;
  }
  store.fs.ClearLog();
  const auto load = Load(PartnerKind::Customer, 1001);
  store.fs.ClearLog();
  EXPECT_EQ(books::partners::SavePartnerChange(PartnerKind::Customer, load, noGroup).outcome, PartnerOutcome::Required);
  EXPECT_FALSE(OpenedAFile());
  EXPECT_EQ(books::partners::LanguageOffsetOf(PartnerOutcome::Required), 9770);
  EXPECT_EQ(store.fs.File(kCus), before);
  EXPECT_FALSE(store.fs.HasFile(kSup));
}

TEST_F(PartnerStore, AStartValueIsRefusedOnceAnotherCopyAddedTheFirstPartner) {
  // This copy saw an empty file and asked for a start value; meanwhile
  // another copy saved partner 1.
  SetCus({Partner(1, "Saved by the other copy")});
  const std::string before = store.fs.File(kCus);
  EXPECT_EQ(books::partners::SaveNewPartner(PartnerKind::Customer, Typed("Mine"), 1).outcome,
            PartnerOutcome::StartValueTooLate);
  EXPECT_EQ(store.fs.File(kCus), before);
}

TEST_F(PartnerStore, NoNumberLeftWritesNothing) {
  SetCus({Partner(2147483647, "Top")});
  const std::string before = store.fs.File(kCus);
  EXPECT_EQ(books::partners::SaveNewPartner(PartnerKind::Customer, Typed("New")).outcome, PartnerOutcome::NoNumberLeft);
  EXPECT_EQ(store.fs.File(kCus), before);
}

// --- Changing a partner ----------------------------------------------------------

TEST_F(PartnerStore, AChangeIsWrittenInPlaceKeepingNumberAndCompanyName) {
  auto recs = Dense(1000, 3);
  recs[1].SetCompanyName("Imported Ltd");
  SetCus(recs);
  const auto loaded = Load(PartnerKind::Customer, 1001);
  PartnerRec changed = Typed("Renamed");  // as the form reads it: no company name
  changed.SetOurNumber(1002);             // a number edit cannot move a partner
  const auto r = books::partners::SavePartnerChange(PartnerKind::Customer, loaded, changed);
  ASSERT_EQ(r.outcome, PartnerOutcome::Done);
  EXPECT_EQ(r.value->index, 1);
  const auto cus = Cus();
  ASSERT_EQ(cus.size(), 3u);
  EXPECT_EQ(Bytes(cus[0]), Bytes(recs[0]));
  EXPECT_EQ(Bytes(cus[2]), Bytes(recs[2]));
  EXPECT_EQ(Bytes(cus[1]), Bytes(r.value->record));
  EXPECT_EQ(cus[1].Name(), "Renamed");
  EXPECT_EQ(cus[1].OurNumber(), 1001);
  EXPECT_EQ(cus[1].CompanyName(), "Imported Ltd");
  EXPECT_EQ(cus[1].ChangedBy(), "ANNE");
  // Saved again from what the save returned: no conflict with itself.
  EXPECT_EQ(books::partners::SavePartnerChange(PartnerKind::Customer, *r.value, cus[1]).outcome,
            PartnerOutcome::Done);
}

TEST_F(PartnerStore, AChangeRefusesWhenTheFileNoLongerHoldsThePartnerAsLoaded) {
  auto reordered = Dense(1000, 3);
  std::swap(reordered[0], reordered[2]);
  auto otherEdit = Dense(1000, 3);
  otherEdit[1].SetTown("Changed by the other copy");
  auto gone = Dense(1000, 3);
  gone[1].SetOurNumber(1005);
  struct Case {
    const char* what;
    std::vector<PartnerRec> now;  // the file when this copy saves
    PartnerOutcome outcome;
    int index;  // where the change lands
  } cases[] = {
      {"unchanged", Dense(1000, 3), PartnerOutcome::Done, 1},
      {"edited by another copy", otherEdit, PartnerOutcome::ChangedInAnotherCopy, -1},
      {"no record carries the number", gone, PartnerOutcome::NotFound, -1},
      {"the file was cut", Dense(1000, 1), PartnerOutcome::NotFound, -1},
      {"reordered, same bytes: found by scanning", {Partner(1001, "P1001"), Partner(1000, "P1000")},
       PartnerOutcome::Done, 0},
      {"reordered and edited", {otherEdit[1], Partner(1000, "P1000")}, PartnerOutcome::ChangedInAnotherCopy, -1},
  };
  for (const Case& c : cases) {
    SetCus(Dense(1000, 3));
    const auto loaded = Load(PartnerKind::Customer, 1001);
    SetCus(c.now);
    const std::string before = store.fs.File(kCus);
    const auto r = books::partners::SavePartnerChange(PartnerKind::Customer, loaded, Typed("Mine"));
    EXPECT_EQ(r.outcome, c.outcome) << c.what;
    ExpectNoSetLeft();
    if (c.index < 0) {
      EXPECT_EQ(store.fs.File(kCus), before) << c.what;
      EXPECT_FALSE(r.value.has_value()) << c.what;
      continue;
    }
    ASSERT_TRUE(r.value.has_value()) << c.what;
    EXPECT_EQ(r.value->index, c.index) << c.what;
    const auto cus = Cus();
    ASSERT_EQ(cus.size(), c.now.size()) << c.what;
    for (std::size_t i = 0; i < cus.size(); ++i)
      EXPECT_EQ(cus[i].Name(), static_cast<int>(i) == c.index ? "Mine" : c.now[i].Name()) << c.what << " " << i;
  }
  // A change of one kind never touches the other file.
  EXPECT_FALSE(store.fs.HasFile(kSup) && !store.fs.File(kSup).empty());
}

// --- Failures --------------------------------------------------------------------

TEST_F(PartnerStore, AFailingSetOpenIsReportedAsAValue) {
  SetCus(Dense(1000, 2));
  const auto loaded = Load(PartnerKind::Customer, 1000);
  const std::string before = store.fs.File(kCus);
  store.fs.InjectError(kCus, Op::OpenReadWrite, 13);
  const auto check = [&](PartnerOutcome outcome, const store::FileSetFailure& failure, const char* what) {
    EXPECT_EQ(outcome, PartnerOutcome::FileSetFailed) << what;
    EXPECT_EQ(failure.result, 1) << what;
    EXPECT_NE(failure.text.find("cus"), std::string::npos) << what << ": " << failure.text;
    ExpectNoSetLeft();
  };
  {
    const auto r = books::partners::FindPartnerByNumber(PartnerKind::Customer, 1000);
    check(r.outcome, r.failure, "find");
  }
  {
    const auto r = books::partners::SearchPartners(PartnerKind::Customer, {});
    check(r.outcome, r.failure, "search");
  }
  {
    const auto r = books::partners::NextPartnerNumber(PartnerKind::Customer);
    check(r.outcome, r.failure, "numbering");
  }
  {
    const auto r = books::partners::SaveNewPartner(PartnerKind::Customer, Typed("New"));
    check(r.outcome, r.failure, "new");
  }
  {
    const auto r = books::partners::SavePartnerChange(PartnerKind::Customer, loaded, Typed("Mine"));
    check(r.outcome, r.failure, "change");
  }
  store.fs.ClearErrors();
  EXPECT_EQ(store.fs.File(kCus), before);

  // Another copy holding the folder's lock: "in use" after the waiting.
  store.fs.HoldLock("/d/ACME/.ombrelo.lock");
  const auto busy = books::partners::SaveNewPartner(PartnerKind::Customer, Typed("New"));
  EXPECT_EQ(busy.outcome, PartnerOutcome::FileSetFailed);
  EXPECT_EQ(busy.failure.result, 2);
  EXPECT_EQ(store.fs.File(kCus), before);
}

TEST_F(PartnerStore, AnIoErrorPartWayRaisesAfterTheSetClosedAndLosesNoPartner) {
  SetCus(Dense(1000, 3));
  const std::string before = store.fs.File(kCus);
  const auto loaded = Load(PartnerKind::Customer, 1001);

  store.fs.InjectError(kCus, Op::Write, 5, 1);
  EXPECT_THROW(books::partners::SaveNewPartner(PartnerKind::Customer, Typed("New")), platform::IoError);
  store.fs.ClearErrors();
  ExpectNoSetLeft();
  EXPECT_EQ(store.fs.File(kCus), before);

  store.fs.InjectError(kCus, Op::Write, 5, 1);
  EXPECT_THROW(books::partners::SavePartnerChange(PartnerKind::Customer, loaded, Typed("Mine")), platform::IoError);
  store.fs.ClearErrors();
  ExpectNoSetLeft();
  EXPECT_EQ(store.fs.File(kCus), before);

  // A read failing in the middle of a scan (blocks of 16 and 64 records
  // before the last).
  store.fs.SetFile(kSup, Bytes(Dense(1, 100)));
  store.fs.InjectError(kSup, Op::Read, 5, 1, 1);
  EXPECT_THROW(books::partners::SearchPartners(PartnerKind::Supplier, {"", "", "zzz", ""}), platform::IoError);
  store.fs.ClearErrors();
  ExpectNoSetLeft();

  // Afterwards the store works on the same file.
  const auto r = books::partners::SaveNewPartner(PartnerKind::Customer, Typed("New"));
  ASSERT_EQ(r.outcome, PartnerOutcome::Done);
  EXPECT_EQ(r.value->record.OurNumber(), 1003);
  EXPECT_EQ(Cus().size(), 4u);
}

}  // namespace
