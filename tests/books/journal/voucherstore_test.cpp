// The voucher store on the in-memory file system: the key order, netting and
// the checks before any write, the insertion points, changes and deletes with
// their invoice and payment marks (the link read from the loaded voucher,
// invoice numbers compared without blanks at their ends), the reads
// backwards and forwards, another copy's changes and I/O errors part-way.
#include <gtest/gtest.h>

#include <cstring>

#include <optional>
#include <string>
#include <vector>

#include "books/journal/voucher.h"
#include "books/journal/voucherstore.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "records/adminsettingsrec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/paymentrec.h"
#include "store/fileset.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using books::journal::EntryMode;
using books::journal::InvoiceKey;
using books::journal::PaymentKey;
using books::journal::StoreOutcome;
using books::journal::Voucher;
using books::journal::VoucherLine;
using records::InvoiceRec;
using records::JournalVoucherRec;
using records::PaymentRec;
using support::Bytes;
using support::Records;

constexpr const char* kJvo = "/d/ACME/book.vlk";
constexpr const char* kInv = "/d/ACME/invsum.vlk";
constexpr const char* kPay = "/d/ACME/payment.vlk";

VoucherLine Line(const std::string& account, double debit, double credit, const std::string& text = "") {
  VoucherLine l;
  l.text = text;
  l.account = account;
  l.caption = "Caption " + account;
  l.debit = debit;
  l.credit = credit;
  return l;
}

VoucherLine Linked(const std::string& account, double debit, double credit, const std::string& text) {
  VoucherLine l = Line(account, debit, credit, text);
  l.readOnly = true;
  return l;
}

// A balanced two-line voucher.
Voucher Plain(const std::string& date, const std::string& number, double amount = 100,
              const std::string& journal = "") {
  Voucher v;
  v.header = {date, number, "text " + number, "ref", journal};
  v.lines = {Line("1000", amount, 0), Line("8000", 0, amount)};
  return v;
}

InvoiceRec Invoice(const std::string& bookDate, const std::string& kind, int partner, const std::string& number,
                   double paid = 0, bool created = false) {
  InvoiceRec rec;
  rec.SetInvoiceDate(bookDate);
  rec.SetVoucherDate(bookDate);
  rec.SetPartnerType(kind);
  rec.SetPartnerNumber(partner);
  rec.SetInvoiceNumber(number);
  rec.SetInvoiceAmount(121);
  rec.SetPaidAmount(paid);
  rec.SetVoucherCreated(created);
  return rec;
}

PaymentRec Payment(const std::string& date, const std::string& kind, int partner, int number) {
  PaymentRec rec;
  rec.SetValueDate(date);
  rec.SetPartnerType(kind);
  rec.SetPartnerNumber(partner);
  rec.SetPaymentNumber(number);
  rec.SetAmount(121);
  return rec;
}

class VoucherStore : public ::testing::Test, public support::AdministrationFolder {
 public:
  std::vector<JournalVoucherRec> Jvo() const { return Records<JournalVoucherRec>(store.fs.File(kJvo)); }
  std::vector<InvoiceRec> Inv() const { return Records<InvoiceRec>(store.fs.File(kInv)); }
  std::vector<PaymentRec> Pay() const { return Records<PaymentRec>(store.fs.File(kPay)); }
  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (const auto& r : Jvo()) keys.push_back(books::journal::VoucherKeyOf(r));
    return keys;
  }
  void Save(const Voucher& v) {
    ASSERT_EQ(books::journal::SaveVoucher(v).outcome, StoreOutcome::Done) << v.header.number;
  }
  books::journal::LoadedVoucher Load(const std::string& date, const std::string& number) {
    auto r = books::journal::FindVoucher(date, number);
    EXPECT_EQ(r.outcome, StoreOutcome::Done);
    return r.value.value_or(books::journal::LoadedVoucher{});
  }
  // Every file as it is now, to compare after a refused operation.
  std::string Files() const { return store.fs.File(kJvo) + "|" + store.fs.File(kInv) + "|" + store.fs.File(kPay); }
};

// --- Decisions ---------------------------------------------------------------

TEST(VoucherNetting, NetsBothSidesToTheLargerOne) {
  struct Case {
    double d, c, nd, nc;
  } cases[] = {
      {100, 30, 70, 0}, {30, 100, 0, 70}, {30, 30, 0, 0}, {-50, 30, 0, 80},
      {-50, 0, -50, 0}, {0, 0, 0, 0},     {0, 40, 0, 40}, {30, -50, 80, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(books::journal::NetLine(c.d, c.c), (books::journal::NettedAmounts{c.nd, c.nc})) << c.d << "/" << c.c;
}

TEST(VoucherChecks, RefuseBeforeAnyFileOpens) {
  struct Case {
    const char* what;
    Voucher v;
    StoreOutcome expected;
  };
  auto with = [](Voucher v, auto change) {
    change(v);
    return v;
  };
  const Voucher ok = Plain("20240517", "7");
  const Case cases[] = {
      {"balanced", ok, StoreOutcome::Done},
      {"number of 20", with(ok, [](Voucher& v) { v.header.number = std::string(20, '9'); }), StoreOutcome::Done},
      {"number of 21", with(ok, [](Voucher& v) { v.header.number = std::string(21, '9'); }),
       StoreOutcome::NumberTooLong},
      {"profit number typed", with(ok, [](Voucher& v) { v.header.number = "! SYSTEM"; }), StoreOutcome::SystemNumber},
      {"reserved number typed", with(ok, [](Voucher& v) { v.header.number = "{SYSTEM}"; }),
       StoreOutcome::SystemNumber},
      {"profit save of the profit number",
       with(ok, [](Voucher& v) { v.header.number = "! SYSTEM", v.mode = EntryMode::Profit; }), StoreOutcome::Done},
      {"no real date", with(ok, [](Voucher& v) { v.header.date = "20240231"; }), StoreOutcome::InvalidDate},
      {"nine lines", with(ok, [](Voucher& v) { v.lines.resize(9); }), StoreOutcome::TooManyLines},
      {"amount without account", with(ok, [](Voucher& v) { v.lines[1].account = "  "; }),
       StoreOutcome::AccountMissing},
      {"one line", with(ok, [](Voucher& v) { v.lines = {Line("1000", 0, 0)}; }), StoreOutcome::TooFewLines},
      {"D100 C100 on one line and D50", with(ok, [](Voucher& v) { v.lines = {Line("1000", 100, 100), Line("2", 50, 0)}; }),
       StoreOutcome::TooFewLines},
      {"all lines net to zero",
       with(ok, [](Voucher& v) { v.lines = {Line("1000", 100, 100), Line("8000", 30, 30)}; }),
       StoreOutcome::TooFewLines},
      {"debit 100 against credit 50", with(ok, [](Voucher& v) { v.lines[1].credit = 50; }), StoreOutcome::Unbalanced},
      {"credit 100 against debit 50", with(ok, [](Voucher& v) { v.lines[0].debit = 50; }), StoreOutcome::Unbalanced},
      {"off by 0.00001", with(ok, [](Voucher& v) { v.lines[1].credit = 100.00001; }), StoreOutcome::Unbalanced},
      {"profit of two zero lines",
       with(ok, [](Voucher& v) { v.mode = EntryMode::Profit, v.lines = {Line("0900", 0, 0), Line("1000", 0, 0)}; }),
       StoreOutcome::Done},
  };
  for (const Case& c : cases) EXPECT_EQ(books::journal::CheckVoucher(c.v), c.expected) << c.what;
}

TEST(VoucherLinks, TextsAndKeysRoundTrip) {
  EXPECT_EQ(books::journal::ParseInvoiceLink("20240511/CUS25/1001"), (InvoiceKey{"20240511", "CUS", 25, "1001"}));
  EXPECT_EQ(books::journal::ParsePaymentLink("20240512/VEN1/23"), (PaymentKey{"20240512", "VEN", 1, 23}));
  EXPECT_EQ(books::journal::ParsePaymentLink("20240512/VEN12/3"), (PaymentKey{"20240512", "VEN", 12, 3}));
  EXPECT_FALSE(books::journal::ParsePaymentLink("20240512/VEN12/x"));
  EXPECT_FALSE(books::journal::ParseInvoiceLink("20240511/XYZ25/1001"));
  EXPECT_FALSE(books::journal::ParseInvoiceLink("2024051/CUS25/1001"));
  EXPECT_EQ(books::journal::VoucherNumberOf(InvoiceKey{"20240511", "VEN", 25, "1001"}), "VEN25/1001");
  EXPECT_EQ(books::journal::VoucherNumberOf(PaymentKey{"20240512", "REC", 0, 4}), "REC0/4");
  const books::journal::VoucherPartner p{25, "CUS"};
  EXPECT_EQ(books::journal::LinePaysInvoice("20240511/1001   ", p), (InvoiceKey{"20240511", "CUS", 25, "1001"}));
  EXPECT_FALSE(books::journal::LinePaysInvoice("25", p));  // the partner line of a payment
  EXPECT_FALSE(books::journal::LinePaysInvoice("2024-05-1/1001", p));
  EXPECT_FALSE(books::journal::LinePaysInvoice("20240511/1001", std::nullopt));
}

// The link of a stored voucher is read from its first record and its number.
TEST(VoucherLinks, ALoadedVouchersLinkComesFromItsFirstRecord) {
  auto first = [](const std::string& number, int partner, const std::string& kind, const std::string& invoice) {
    JournalVoucherRec rec;
    rec.SetVoucherDate("20240511");
    rec.SetBookNumber(number);
    rec.SetPartnerNumber(partner);
    rec.SetPartnerType(kind);
    rec.SetInvoiceNumber(invoice);
    rec.SetInvoiceAttached(partner != -1);
    return books::journal::LoadedVoucher{{rec, JournalVoucherRec{}}, 0};
  };
  struct Case {
    const char* what;
    books::journal::LoadedVoucher loaded;
    books::journal::VoucherLink link;
  };
  const std::vector<Case> cases = {
      {"no partner", first("M1", -1, "", ""), std::monostate{}},
      {"invoice voucher", first("CUS25/1001", 25, "CUS", "1001"), InvoiceKey{"20240511", "CUS", 25, "1001"}},
      {"invoice with a blank", first("VEN3/ F1", 3, "VEN", " F1"), InvoiceKey{"20240511", "VEN", 3, " F1"}},
      {"payment voucher", first("CUS12/3", 12, "CUS", ""), PaymentKey{"20240511", "CUS", 12, 3}},
      {"receipt without partner number", first("REC0/4", 0, "REC", ""), PaymentKey{"20240511", "REC", 0, 4}},
      {"partner, number of no link shape", first("MEMO7", 7, "CUS", ""), std::monostate{}},
      {"payment number that is no number", first("CUS12/x", 12, "CUS", ""), std::monostate{}},
      {"no records", books::journal::LoadedVoucher{}, std::monostate{}},
  };
  for (const Case& c : cases) EXPECT_EQ(books::journal::LinkOf(c.loaded), c.link) << c.what;
}

// --- Key order and insertion points -------------------------------------------

TEST_F(VoucherStore, KeysSortAsBytesWhateverTheOrderOfSaving) {
  struct Case {
    std::vector<std::string> saved;     // numbers, saved in this order on one date
    std::vector<std::string> expected;  // the file's order
  } cases[] = {
      {{"2", "10"}, {"10", "2"}},
      {{"A1", "9"}, {"9", "A1"}},
      {{"a", "Z"}, {"Z", "a"}},
      {{"10", "1"}, {"1", "10"}},
      {{"{SYSTEM}", "X", "! SYSTEM", "5"}, {"! SYSTEM", "5", "X", "{SYSTEM}"}},
      {{"\xE9t\xE9", "zz"}, {"zz", "\xE9t\xE9"}},  // cp1252 bytes above 127 sort last
  };
  for (const Case& c : cases) {
    store.fs.SetFile(kJvo, "");
    for (const std::string& n : c.saved) {
      Voucher v = Plain("20240517", n);
      if (n.find("SYSTEM") != std::string::npos) v.mode = EntryMode::Profit;
      Save(v);
    }
    std::vector<std::string> expected;
    for (const std::string& n : c.expected) {
      expected.push_back("20240517" + n);
      expected.push_back("20240517" + n);
    }
    EXPECT_EQ(Keys(), expected) << c.saved.front();
  }
}

TEST_F(VoucherStore, InsertsAtTheSortedPlaceAndLeavesEveryOtherRecordAsItWas) {
  struct Case {
    const char* what;
    std::string date;
    int at;  // where the new voucher's records start
  } cases[] = {
      {"front", "20240101", 0},
      {"middle", "20240301", 4},
      {"append", "20241231", 8},
      {"equal date, number after", "20240201", 4},
  };
  for (const Case& c : cases) {
    store.fs.SetFile(kJvo, "");
    for (const char* d : {"20240115", "20240201", "20240401", "20240501"}) Save(Plain(d, "1"));
    const std::string before = store.fs.File(kJvo);
    Voucher v = Plain(c.date, "2");
    v.lines.push_back(Line("4000", 5, 0));
    v.lines[1].credit = 105;
    const auto r = books::journal::SaveVoucher(v);
    ASSERT_EQ(r.outcome, StoreOutcome::Done) << c.what;
    EXPECT_EQ(r.value->first, c.at) << c.what;
    EXPECT_EQ(r.value->count, 3) << c.what;
    const std::string after = store.fs.File(kJvo);
    ASSERT_EQ(after.size(), before.size() + 3 * 392) << c.what;
    const std::size_t at = static_cast<std::size_t>(c.at) * 392;
    EXPECT_EQ(after.substr(0, at), before.substr(0, at)) << c.what;
    EXPECT_EQ(after.substr(at + 3 * 392), before.substr(at)) << c.what;
  }
}

TEST_F(VoucherStore, TheFirstVoucherGoesIntoAnEmptyFileAsTheScreenGaveIt) {
  Voucher v = Plain("20240517", "7", 0, "Sales book");
  v.lines = {Line("", 0, 0), Line("1000", 100, 30, "first"), Line("8000", 30, 100)};
  Save(v);
  const auto recs = Jvo();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0].DebitAmount(), 70);
  EXPECT_EQ(recs[0].CreditAmount(), 0);
  EXPECT_EQ(recs[1].CreditAmount(), 70);
  EXPECT_EQ(recs[0].LineText(), "first" + std::string(30, ' '));
  EXPECT_EQ(recs[0].AccountNumber(), "1000" + std::string(11, ' '));
  EXPECT_EQ(recs[0].JournalName(), "Sales book");
  EXPECT_EQ(recs[0].ChangedBy(), "ANNE");
  EXPECT_EQ(recs[0].ChangedAt(), "17-05-2024 09:30:15");
  // The first record written carries "no partner", even though it is the
  // screen's line 2; later lines carry 0.
  EXPECT_EQ(recs[0].PartnerNumber(), -1);
  EXPECT_EQ(recs[1].PartnerNumber(), 0);
  EXPECT_FALSE(recs[0].InvoiceAttached());
}

TEST_F(VoucherStore, AddingAnExistingKeyWritesNothing) {
  store.fs.SetFile(kInv, Bytes({Invoice("20240517", "CUS", 25, "1001", 0, true)}));
  Save(Plain("20240517", "CUS25/1001"));
  const std::string before = Files();
  Voucher v = Plain("20240517", "CUS25/1001", 50);
  v.link = InvoiceKey{"20240517", "CUS", 25, "1001"};
  EXPECT_EQ(books::journal::SaveVoucher(v).outcome, StoreOutcome::Duplicate);
  EXPECT_EQ(Files(), before);
  EXPECT_TRUE(Inv()[0].VoucherCreated());
}

TEST_F(VoucherStore, ARefusedSaveLeavesEveryFileByteIdentical) {
  store.fs.SetFile(kInv, Bytes({Invoice("20240511", "CUS", 25, "1001")}));
  store.fs.SetFile(kPay, Bytes({Payment("20240517", "CUS", 25, 1)}));
  Save(Plain("20240517", "1"));
  const std::string before = Files();
  Voucher v = Plain("20240517", "CUS25/1");
  v.partner = books::journal::VoucherPartner{25, "CUS"};
  v.link = PaymentKey{"20240517", "CUS", 25, 1};
  v.lines = {Linked("1100", 121, 0, ""), Linked("1300", 0, 60, "20240511/1001")};
  EXPECT_EQ(books::journal::SaveVoucher(v).outcome, StoreOutcome::Unbalanced);
  v.lines[0].debit = 60;
  v.header.number = std::string(21, '1');
  EXPECT_EQ(books::journal::SaveVoucher(v).outcome, StoreOutcome::NumberTooLong);
  EXPECT_EQ(Files(), before);
}

// --- Changes -----------------------------------------------------------------

TEST_F(VoucherStore, AChangeReplacesTheVoucherInItsPlace) {
  struct Case {
    const char* what;
    int lines;  // the changed voucher's lines (it had three)
  } cases[] = {{"fewer", 2}, {"as many", 3}, {"more", 5}};
  for (const Case& c : cases) {
    store.fs.SetFile(kJvo, "");
    Save(Plain("20240101", "1"));
    Voucher three = Plain("20240201", "1");
    three.lines = {Line("1000", 100, 0), Line("8000", 0, 60), Line("8100", 0, 40)};
    Save(three);
    Save(Plain("20240301", "1"));
    const std::string before = store.fs.File(kJvo);
    const auto loaded = Load("20240201", "1");
    ASSERT_EQ(loaded.Count(), 3);
    Voucher changed = Plain("20240201", "1", 0);
    changed.mode = EntryMode::Change;
    changed.lines.clear();
    changed.lines.push_back(Line("1000", 10.0 * (c.lines - 1), 0));
    for (int i = 1; i < c.lines; ++i) changed.lines.push_back(Line("8" + std::to_string(i), 0, 10));
    const auto r = books::journal::SaveVoucher(changed, loaded);
    ASSERT_EQ(r.outcome, StoreOutcome::Done) << c.what;
    const std::string after = store.fs.File(kJvo);
    EXPECT_EQ(after.size(), before.size() + (c.lines - 3) * 392) << c.what;
    EXPECT_EQ(after.substr(0, 2 * 392), before.substr(0, 2 * 392)) << c.what;
    EXPECT_EQ(after.substr(after.size() - 2 * 392), before.substr(before.size() - 2 * 392)) << c.what;
    EXPECT_EQ(Load("20240201", "1").Count(), c.lines) << c.what;
  }
}

TEST_F(VoucherStore, AChangeWhoseLinesNetToZeroIsRefusedNotADelete) {
  Save(Plain("20240201", "1"));
  const std::string before = Files();
  Voucher v = Plain("20240201", "1");
  v.mode = EntryMode::Change;
  v.lines = {Line("1000", 100, 100), Line("8000", 50, 50)};
  EXPECT_EQ(books::journal::SaveVoucher(v, Load("20240201", "1")).outcome, StoreOutcome::TooFewLines);
  EXPECT_EQ(Files(), before);
}

TEST_F(VoucherStore, AChangeOrDeleteRefusesWhenAnotherCopyChangedTheVoucher) {
  struct Case {
    const char* what;
    void (*meddle)(VoucherStore&);
  } cases[] = {
      {"changed an amount",
       [](VoucherStore& t) {
         Voucher o = Plain("20240201", "1", 90);
         o.mode = EntryMode::Change;
         ASSERT_EQ(books::journal::SaveVoucher(o, t.Load("20240201", "1")).outcome, StoreOutcome::Done);
       }},
      {"deleted it",
       [](VoucherStore&) {
         ASSERT_EQ(books::journal::DeleteVoucher(Plain("20240201", "1")).outcome, StoreOutcome::Done);
       }},
      {"added a voucher before it", [](VoucherStore& t) { t.Save(Plain("20240101", "1")); }},
  };
  for (const Case& c : cases) {
    store.fs.SetFile(kJvo, "");
    Save(Plain("20240201", "1"));
    Save(Plain("20240301", "1"));
    const auto loaded = Load("20240201", "1");
    c.meddle(*this);
    const std::string before = Files();
    Voucher mine = Plain("20240201", "1", 70);
    mine.mode = EntryMode::Change;
    EXPECT_EQ(books::journal::SaveVoucher(mine, loaded).outcome, StoreOutcome::ChangedInAnotherCopy) << c.what;
    EXPECT_EQ(books::journal::DeleteVoucher(mine, loaded).outcome, StoreOutcome::ChangedInAnotherCopy) << c.what;
    EXPECT_EQ(Files(), before) << c.what;
  }
}

TEST_F(VoucherStore, AChangeNeedsTheLoadedVoucherOfItsKey) {
  Save(Plain("20240201", "1"));
  Voucher v = Plain("20240201", "2");
  v.mode = EntryMode::Change;
  EXPECT_EQ(books::journal::SaveVoucher(v).outcome, StoreOutcome::NotLoaded);
  EXPECT_EQ(books::journal::SaveVoucher(v, Load("20240201", "1")).outcome, StoreOutcome::NotLoaded);
}

// --- Invoice and payment marks --------------------------------------------------

// Customer 25 pays invoice "1001" of 20240511 (and nothing else) with payment
// 1 of 20240517. The files hold look-alikes for every field the match uses.
class PaymentRoundTrip : public VoucherStore {
 protected:
  void SetUp() override {
    VoucherStore::SetUp();
    store.fs.SetFile(kInv, Bytes({
                               Invoice("20240510", "CUS", 25, "1001", 5),  // other book date
                               Invoice("20240511", "CUS", 25, "1001", 10),  // the one paid
                               Invoice("20240511", "CUS", 2, "51001", 20),  // "CUS2" + "51001"
                               Invoice("20240511", "VEN", 25, "1001", 30),  // vendor 25
                           }));
    store.fs.SetFile(kPay, Bytes({
                               Payment("20240517", "CUS", 1, 23),
                               Payment("20240517", "CUS", 12, 3),
                               Payment("20240517", "VEN", 12, 3),
                           }));
  }
  Voucher PaymentVoucher(int partner, int number, std::vector<VoucherLine> lines) {
    Voucher v;
    const PaymentKey key{"20240517", "CUS", partner, number};
    v.header = {"20240517", books::journal::VoucherNumberOf(key), "payment", "IMP1", ""};
    v.partner = books::journal::VoucherPartner{partner, "CUS"};
    v.link = key;
    v.lines = std::move(lines);
    return v;
  }
};

TEST_F(PaymentRoundTrip, SaveThenDeleteBringsEveryMarkBack) {
  const std::string inv = store.fs.File(kInv), pay = store.fs.File(kPay);
  Voucher v = PaymentVoucher(12, 3, {Linked("1100", 60, 0, ""), Linked("1300", 0, 60, "20240511/1001")});
  v.partner->number = 25;  // the partner whose invoice is paid
  v.link = PaymentKey{"20240517", "CUS", 12, 3};
  Save(v);
  const auto invs = Inv();
  EXPECT_EQ(invs[0].PaidAmount(), 5);
  EXPECT_EQ(invs[1].PaidAmount(), 70);
  EXPECT_EQ(invs[2].PaidAmount(), 20);
  EXPECT_EQ(invs[3].PaidAmount(), 30);
  const auto pays = Pay();
  EXPECT_FALSE(pays[0].VoucherCreated());  // partner 1, payment 23
  EXPECT_TRUE(pays[1].VoucherCreated());   // partner 12, payment 3
  EXPECT_FALSE(pays[2].VoucherCreated());  // the vendor's
  const auto recs = Jvo();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_TRUE(recs[0].InvoiceAttached());
  EXPECT_EQ(recs[0].InvoiceNumber(), "");
  EXPECT_EQ(recs[1].InvoiceNumber(), "1001");
  EXPECT_EQ(recs[1].PartnerType(), "CUS");
  EXPECT_EQ(recs[1].PartnerNumber(), 25);

  ASSERT_EQ(books::journal::DeleteVoucher(v, Load("20240517", "CUS12/3")).outcome, StoreOutcome::Done);
  EXPECT_EQ(store.fs.File(kInv), inv);
  EXPECT_EQ(store.fs.File(kPay), pay);
  EXPECT_EQ(store.fs.File(kJvo), "");
}

TEST_F(PaymentRoundTrip, APartnerLineWithoutSlashPaysNoInvoice) {
  const std::string inv = store.fs.File(kInv);
  Save(PaymentVoucher(25, 1, {Linked("1100", 121, 0, ""), Linked("1300", 0, 121, "1001")}));
  EXPECT_EQ(store.fs.File(kInv), inv);
  const auto recs = Jvo();
  EXPECT_TRUE(recs[1].InvoiceAttached());
  EXPECT_EQ(recs[1].InvoiceNumber(), "");
  ASSERT_EQ(books::journal::DeleteVoucher(PaymentVoucher(25, 1, {}), Load("20240517", "CUS25/1")).outcome,
            StoreOutcome::Done);
  EXPECT_EQ(store.fs.File(kInv), inv);
}

TEST_F(PaymentRoundTrip, AChangeTakesTheOldAmountsOffBeforeItAddsTheNewOnes) {
  Save(PaymentVoucher(25, 1, {Linked("1100", 60, 0, ""), Linked("1300", 0, 60, "20240511/1001")}));
  Voucher v = PaymentVoucher(25, 1, {Linked("1100", 80, 0, ""), Linked("1300", 0, 80, "20240511/1001")});
  v.mode = EntryMode::Change;
  ASSERT_EQ(books::journal::SaveVoucher(v, Load("20240517", "CUS25/1")).outcome, StoreOutcome::Done);
  EXPECT_EQ(Inv()[1].PaidAmount(), 90);
}

TEST_F(VoucherStore, AnInvoiceVoucherMarksItsInvoiceOnlyWhenWrittenOrRemoved) {
  store.fs.SetFile(kInv, Bytes({Invoice("20240511", "CUS", 25, "1001"), Invoice("20240511", "VEN", 25, "1001")}));
  Voucher v = Plain("20240511", "CUS25/1001");
  v.partner = books::journal::VoucherPartner{25, "CUS"};
  v.link = InvoiceKey{"20240511", "CUS", 25, "1001"};
  v.lines[0].readOnly = true;
  Save(v);
  EXPECT_TRUE(Inv()[0].VoucherCreated());
  EXPECT_FALSE(Inv()[1].VoucherCreated());
  EXPECT_EQ(Jvo()[0].InvoiceNumber(), "1001");
  EXPECT_EQ(Jvo()[0].PartnerNumber(), 25);

  // A delete that finds nothing, and a refused save, change no flag.
  Voucher other = v;
  other.header.number = "CUS25/1002";
  EXPECT_EQ(books::journal::DeleteVoucher(other).outcome, StoreOutcome::NotFound);
  EXPECT_EQ(books::journal::SaveVoucher(v).outcome, StoreOutcome::Duplicate);
  EXPECT_TRUE(Inv()[0].VoucherCreated());

  ASSERT_EQ(books::journal::DeleteVoucher(v, Load("20240511", "CUS25/1001")).outcome, StoreOutcome::Done);
  EXPECT_FALSE(Inv()[0].VoucherCreated());
}

// A change and a delete mark the link of the voucher as loaded, whatever
// link the value carries: the change keeps the invoice link on its first
// record, the delete clears the invoice's flag.
TEST_F(VoucherStore, AChangeAndADeleteTakeTheLinkFromTheLoadedVoucher) {
  store.fs.SetFile(kInv, Bytes({Invoice("20240511", "CUS", 25, "1001"), Invoice("20240511", "CUS", 25, "1002")}));
  Voucher v = Plain("20240511", "CUS25/1001");
  v.partner = books::journal::VoucherPartner{25, "CUS"};
  v.link = InvoiceKey{"20240511", "CUS", 25, "1001"};
  v.lines[0].readOnly = true;
  Save(v);
  ASSERT_TRUE(Inv()[0].VoucherCreated());

  for (const books::journal::VoucherLink& passed :
       std::vector<books::journal::VoucherLink>{std::monostate{}, InvoiceKey{"20240511", "CUS", 25, "1002"}}) {
    Voucher changed = v;
    changed.mode = EntryMode::Change;
    changed.link = passed;
    changed.lines[1].text = "changed";
    ASSERT_EQ(books::journal::SaveVoucher(changed, Load("20240511", "CUS25/1001")).outcome, StoreOutcome::Done);
    EXPECT_EQ(Jvo()[0].InvoiceNumber(), "1001");
    EXPECT_TRUE(Inv()[0].VoucherCreated());
    EXPECT_FALSE(Inv()[1].VoucherCreated());
    EXPECT_EQ(books::journal::LinkOf(Load("20240511", "CUS25/1001")), books::journal::VoucherLink(v.link));
  }

  Voucher deleted = v;
  deleted.link = InvoiceKey{"20240511", "CUS", 25, "1002"};
  store.fs.SetFile(kInv, Bytes({Invoice("20240511", "CUS", 25, "1001", 0, true),
                                Invoice("20240511", "CUS", 25, "1002", 0, true)}));
  ASSERT_EQ(books::journal::DeleteVoucher(deleted, Load("20240511", "CUS25/1001")).outcome, StoreOutcome::Done);
  EXPECT_FALSE(Inv()[0].VoucherCreated());
  EXPECT_TRUE(Inv()[1].VoucherCreated()) << "the passed link is not the voucher's";
}

// An invoice stored with a blank before or after its number (older files;
// numbers enter trimmed now) is paid by the line that names the number
// without them, and a delete takes the amount off again; an invoice that
// holds the very bytes is preferred.
TEST_F(PaymentRoundTrip, AnInvoiceStoredWithBlanksIsPaidAndUnpaid) {
  struct Case {
    const char* what;
    std::vector<InvoiceRec> invoices;
    std::size_t paid;  // the invoice that takes the payment
  };
  const std::vector<Case> cases = {
      {"blank before", {Invoice("20240511", "CUS", 25, " 1001", 10)}, 0},
      {"blank after", {Invoice("20240511", "CUS", 25, "1001 ", 10)}, 0},
      {"blanks at both ends", {Invoice("20240511", "CUS", 25, "  1001  ", 10)}, 0},
      {"the very bytes first", {Invoice("20240511", "CUS", 25, "1001", 10), Invoice("20240511", "CUS", 25, " 1001", 10)},
       0},
      {"other partner keeps its blank", {Invoice("20240511", "CUS", 2, " 1001", 10), Invoice("20240511", "CUS", 25, "1001 ", 10)},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    store.fs.SetFile(kInv, Bytes(c.invoices));
    store.fs.SetFile(kJvo, "");
    const std::string before = store.fs.File(kInv);
    Voucher v = PaymentVoucher(25, 1, {Linked("1100", 60, 0, ""), Linked("1300", 0, 60, "20240511/1001")});
    Save(v);
    const auto invs = Inv();
    for (std::size_t i = 0; i < invs.size(); ++i)
      EXPECT_EQ(invs[i].PaidAmount(), i == c.paid ? 70 : 10) << i;
    ASSERT_EQ(books::journal::DeleteVoucher(v, Load("20240517", "CUS25/1")).outcome, StoreOutcome::Done);
    EXPECT_EQ(store.fs.File(kInv), before);
  }
}

TEST_F(VoucherStore, AProfitSaveWritesBothLinesAndTouchesNoDocument) {
  store.fs.SetFile(kInv, Bytes({Invoice("20241231", "CUS", 25, "1001")}));
  const std::string inv = store.fs.File(kInv);
  Voucher v;
  v.header = {"20241231", "! SYSTEM", "Profit", "", ""};
  v.mode = EntryMode::Profit;
  v.lines = {Line("0900", 0, 0), Line("1000", 0, 0), Line("2000", 0, 0)};
  v.lines[0].readOnly = true;
  v.link = InvoiceKey{"20241231", "CUS", 25, "1001"};
  Save(v);
  const auto recs = Jvo();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_FALSE(recs[0].InvoiceAttached());
  EXPECT_EQ(store.fs.File(kInv), inv);
  // The unfreeze deletes it without a loaded voucher.
  EXPECT_EQ(books::journal::DeleteVoucher(v).outcome, StoreOutcome::Done);
  EXPECT_EQ(Jvo().size(), 0u);
}

// --- Reading ---------------------------------------------------------------------

TEST_F(VoucherStore, PreviousNextAndLastWalkTheKeysWithAndWithoutAJournal) {
  Save(Plain("20240101", "1", 100, "Bank"));
  Save(Plain("20240102", "1", 100, "Sales"));
  Save(Plain("20240103", "1", 100, "Bank"));
  Save(Plain("20240104", "1", 100, "Sales"));
  auto key = [](const books::journal::StoreResult& r) { return r.value ? r.value->Key() : r.Ok() ? "?" : "-"; };
  const std::optional<std::string> all;
  const std::optional<std::string> sales = "Sales";
  EXPECT_EQ(key(books::journal::ReadPreviousVoucher("20240103", "1", all)), "202401021");
  EXPECT_EQ(key(books::journal::ReadPreviousVoucher("20240103", "1", sales)), "202401021");
  EXPECT_EQ(key(books::journal::ReadPreviousVoucher("20240104", "1", std::string("Bank"))), "202401031");
  EXPECT_EQ(books::journal::ReadPreviousVoucher("20240101", "1", all).outcome, StoreOutcome::NoEarlier);
  // The journal's first voucher, with a voucher of another journal before it.
  EXPECT_EQ(books::journal::ReadPreviousVoucher("20240102", "1", sales).outcome, StoreOutcome::NoEarlier);
  EXPECT_EQ(key(books::journal::ReadNextVoucher("20240102", "1", all)), "202401031");
  EXPECT_EQ(key(books::journal::ReadNextVoucher("20240102", "1", sales)), "202401041");
  EXPECT_EQ(key(books::journal::ReadNextVoucher("20231231", "", all)), "202401011");
  EXPECT_EQ(books::journal::ReadNextVoucher("20240104", "1", all).outcome, StoreOutcome::NoLater);
  EXPECT_EQ(books::journal::ReadNextVoucher("20240103", "1", std::string("Bank")).outcome, StoreOutcome::NoLater);
  EXPECT_EQ(key(books::journal::ReadLastVoucher(all)), "202401041");
  EXPECT_EQ(key(books::journal::ReadLastVoucher(std::string("Bank"))), "202401031");
  EXPECT_EQ(books::journal::ReadLastVoucher(std::string("Cash")).outcome, StoreOutcome::FileEmpty);
  // A key that is not in the file.
  EXPECT_EQ(key(books::journal::ReadPreviousVoucher("20240102", "5", all)), "202401021");
  EXPECT_EQ(key(books::journal::ReadNextVoucher("20240102", "0", all)), "202401021");
  EXPECT_EQ(books::journal::ReadNextVoucher("20240102", "1", all).value->Count(), 2);
  EXPECT_EQ(books::journal::ReadPreviousVoucher("20240103", "1", all).value->first, 2);
}

TEST_F(VoucherStore, AnEmptyFileAndMissingDocumentsAreReported) {
  EXPECT_EQ(books::journal::ReadPreviousVoucher("20240101", "1").outcome, StoreOutcome::FileEmpty);
  EXPECT_EQ(books::journal::ReadNextVoucher("20240101", "1").outcome, StoreOutcome::FileEmpty);
  EXPECT_EQ(books::journal::ReadLastVoucher().outcome, StoreOutcome::FileEmpty);
  EXPECT_EQ(books::journal::DeleteVoucher(Plain("20240101", "1")).outcome, StoreOutcome::FileEmpty);
  Save(Plain("20240511", "CUS25/1000"));
  Save(Plain("20240511", "CUS25/1002"));
  EXPECT_EQ(books::journal::FindVoucherOf(InvoiceKey{"20240511", "CUS", 25, "1001"}).outcome, StoreOutcome::NotFound);
  EXPECT_EQ(books::journal::FindVoucherOf(InvoiceKey{"20240511", "CUS", 25, "1002"}).value->Key(),
            "20240511CUS25/1002");
  EXPECT_EQ(books::journal::FindNearestVoucher("20240511", "CUS25/1001").value->Key(), "20240511CUS25/1002");
  EXPECT_EQ(books::journal::FindNearestVoucher("20240511", "CUS25/1002").value->Key(), "20240511CUS25/1002");
  EXPECT_EQ(books::journal::FindNearestVoucher("20240512", "").outcome, StoreOutcome::NoLater);
}

TEST_F(VoucherStore, StrangeStoredVouchersLoadLocked) {
  std::vector<JournalVoucherRec> recs;
  auto rec = [](const std::string& date, const std::string& number) {
    JournalVoucherRec r;
    r.SetVoucherDate(date);
    r.SetBookNumber(number);
    r.SetAccountNumber("1000");
    r.SetDebitAmount(1);
    return r;
  };
  recs.push_back(rec("20241301", "1"));
  for (int i = 0; i < 9; ++i) recs.push_back(rec("20241401", "1"));  // nine lines of one key
  store.fs.SetFile(kJvo, Bytes(recs));
  const auto first = books::journal::FindVoucher("20241301", "1");
  ASSERT_TRUE(first.value);
  EXPECT_TRUE(first.value->invalidDate);
  EXPECT_TRUE(first.value->Locked());
  const auto nine = books::journal::ReadLastVoucher();
  ASSERT_TRUE(nine.value);
  EXPECT_EQ(nine.value->Count(), 9);
  EXPECT_TRUE(nine.value->overEightLines);
  const std::string before = Files();
  EXPECT_EQ(books::journal::DeleteVoucher(Plain("20241401", "1"), nine.value).outcome, StoreOutcome::Locked);
  Voucher change = Plain("20240101", "1");
  change.mode = EntryMode::Change;
  EXPECT_EQ(books::journal::SaveVoucher(change, nine.value).outcome, StoreOutcome::NotLoaded);
  EXPECT_EQ(Files(), before);
}

// The backward reads grow their blocks (16, 64, 256, 1024, ... records): a
// walk to the start of the file crosses several block borders.
TEST_F(VoucherStore, ReadsCrossTheBordersOfTheirBlocks) {
  std::vector<JournalVoucherRec> recs;
  for (int i = 0; i < 2000; ++i) {
    JournalVoucherRec r;
    r.SetVoucherDate("20240101");
    char number[8];
    std::snprintf(number, sizeof number, "%05d", i);
    r.SetBookNumber(number);
    recs.push_back(r);
  }
  store.fs.SetFile(kJvo, Bytes(recs));
  const auto r = books::journal::ReadPreviousVoucher("20240101", "00001");
  ASSERT_TRUE(r.value);
  EXPECT_EQ(r.value->first, 0);
  EXPECT_EQ(books::journal::ReadLastVoucher().value->first, 1999);
  EXPECT_EQ(books::journal::ReadNextVoucher("20240101", "01500").value->first, 1501);
  EXPECT_EQ(books::journal::FindVoucher("20240101", "00017").value->first, 17);
}

// --- Errors part-way ------------------------------------------------------------

TEST_F(VoucherStore, AnIoErrorWhileMovingLosesNoVoucherAndLeavesNoSetOpen) {
  for (const char* d : {"20240201", "20240301", "20240401"}) Save(Plain(d, "1"));
  const std::string before = store.fs.File(kJvo);
  store.fs.InjectError(kJvo, support::FakeFileSystem::Op::Write, 5, 1, 1);
  EXPECT_THROW(books::journal::SaveVoucher(Plain("20240101", "1")), platform::IoError);
  store.fs.ClearErrors();
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.File(kJvo), before);
  Save(Plain("20240101", "1"));
  EXPECT_EQ(Jvo().size(), 8u);
}

TEST_F(VoucherStore, AnIoErrorOnTheInvoiceFileKeepsTheVouchers) {
  store.fs.SetFile(kInv, Bytes({Invoice("20240511", "CUS", 25, "1001")}));
  Save(Plain("20240601", "1"));
  Voucher v = Plain("20240511", "CUS25/1001");
  v.partner = books::journal::VoucherPartner{25, "CUS"};
  v.link = InvoiceKey{"20240511", "CUS", 25, "1001"};
  store.fs.InjectError(kInv, support::FakeFileSystem::Op::Write, 5, 1);
  EXPECT_THROW(books::journal::SaveVoucher(v), platform::IoError);
  store.fs.ClearErrors();
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(Keys(), (std::vector<std::string>{"20240511CUS25/1001", "20240511CUS25/1001", "202406011", "202406011"}));
}

TEST_F(VoucherStore, AFailingSetOpenIsReportedAsAValue) {
  store.fs.InjectError(kJvo, support::FakeFileSystem::Op::OpenReadWrite, 13);
  store.fs.SetFile(kJvo, "");
  const auto r = books::journal::SaveVoucher(Plain("20240101", "1"));
  EXPECT_EQ(r.outcome, StoreOutcome::FileSetFailed);
  EXPECT_FALSE(r.failure.text.empty());
  EXPECT_FALSE(store::FileSetOpen);
}

}  // namespace

namespace {

// Another copy froze March meanwhile: ADS as the store reads it under its
// own lock says the lowest open date is 1 April.
// The lowest open date comes from the settings: a damaged settings file
// refuses the save and the delete, naming the file, and writes nothing.
TEST_F(VoucherStore, ADamagedSettingsFileRefusesTheChangesThatDependOnIt) {
  Save(Plain("20240315", "A1"));
  const books::journal::LoadedVoucher loaded = Load("20240315", "A1");
  records::AdminSettingsRec garbage;
  std::memset(garbage.data(), '7', records::AdminSettingsRec::kSize);
  for (const std::string& bytes : {support::Bytes(garbage), support::Bytes(garbage) + support::Bytes(garbage)}) {
    store.fs.SetFile("/d/ACME/adminset.vlk", bytes);
    const std::string before = Files();
    for (int op = 0; op < 2; ++op) {
      try {
        if (op == 0) books::journal::SaveVoucher(Plain("20240401", "A2"));
        if (op == 1) books::journal::DeleteVoucher(Plain("20240315", "A1"), loaded);
        ADD_FAILURE() << "not refused: " << op;
      } catch (const platform::IoError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("damaged file adminset.vlk: ", 0), 0u) << e.what();
      }
    }
    EXPECT_EQ(Files(), before);
    EXPECT_FALSE(store::FileSetOpen);
  }
}

TEST_F(VoucherStore, ADateBeforeTheLowestOpenDateOfTheSettingsAsReadIsRefused) {
  Save(Plain("20240315", "A1"));
  records::AdminSettingsRec settings;
  settings.SetBookYearStart("20240101");
  settings.SetBookYearEnd("20241231");
  settings.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k)
    settings.SetPeriodStart(k, "2024" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
  settings.SetLastClosedPeriod("03/12");
  settings.SetCurrentPeriod("04/12");
  store.fs.SetFile("/d/ACME/adminset.vlk", support::Bytes(settings));
  const books::journal::LoadedVoucher loaded = Load("20240315", "A1");
  const std::string before = Files();

  EXPECT_EQ(books::journal::SaveVoucher(Plain("20240331", "A2")).outcome, StoreOutcome::BeforeOpenPeriod);
  Voucher change = Plain("20240315", "A1", 50);
  change.mode = books::journal::EntryMode::Change;
  EXPECT_EQ(books::journal::SaveVoucher(change, loaded).outcome, StoreOutcome::BeforeOpenPeriod);
  EXPECT_EQ(books::journal::DeleteVoucher(Plain("20240315", "A1"), loaded).outcome, StoreOutcome::BeforeOpenPeriod);
  EXPECT_EQ(Files(), before);

  // The first open day, the closing's profit save and the unfreeze's delete
  // by key still go through.
  Save(Plain("20240401", "A3"));
  Voucher profit = Plain("20240331", "! SYSTEM");
  profit.mode = books::journal::EntryMode::Profit;
  Save(profit);
  EXPECT_EQ(books::journal::DeleteVoucher(Plain("20240331", "! SYSTEM")).outcome, StoreOutcome::Done);
}

}  // namespace
