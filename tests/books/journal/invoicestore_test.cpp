// The invoice store on the in-memory file system: keys equal field by field
// while their texts place records, insert points, changes and deletes of a
// loaded invoice (and their refusals), pages of 100 newest first, the open
// invoices of a partner, the freeze's query, and failures.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "books/journal/invoicestore.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "records/invoicerec.h"
#include "store/fileset.h"
#include "text/systemsettings.h"
#include "support/adminfolder.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using books::journal::DocumentOutcome;
using books::journal::InvoiceFilter;
using books::journal::InvoiceKey;
using records::InvoiceRec;
using support::Bytes;
using support::Records;

constexpr const char* kInv = "/d/ACME/invsum.vlk";

InvoiceRec Invoice(const std::string& bookDate, const std::string& kind, int partner, const std::string& number,
                   double amount = 121, double paid = 0, bool created = false) {
  InvoiceRec rec;
  rec.SetInvoiceDate(bookDate);
  rec.SetVoucherDate(bookDate);
  rec.SetPartnerType(kind);
  rec.SetPartnerNumber(partner);
  rec.SetInvoiceNumber(number);
  rec.SetEntryNumber(number);
  rec.SetInvoiceAmount(amount);
  rec.SetPaidAmount(paid);
  rec.SetVoucherCreated(created);
  return rec;
}

std::string Label(const InvoiceRec& r) {
  return r.VoucherDate() + "/" + r.PartnerType() + std::to_string(r.PartnerNumber()) + "/" + r.InvoiceNumber();
}

class InvoiceStore : public ::testing::Test, public support::AdministrationFolder {
 public:
  void SetUp() override { text::SystemSettings.AmountDecimals = 2; }
  void Put(const std::vector<InvoiceRec>& recs) { store.fs.SetFile(kInv, Bytes(recs)); }
  std::vector<InvoiceRec> Inv() const { return Records<InvoiceRec>(store.fs.File(kInv)); }
  std::vector<std::string> Labels() const {
    std::vector<std::string> out;
    for (const auto& r : Inv()) out.push_back(Label(r));
    return out;
  }
  books::journal::LoadedInvoice Load(const InvoiceKey& key) {
    const auto r = books::journal::FindInvoice(key);
    EXPECT_EQ(r.outcome, DocumentOutcome::Done);
    return r.value.value_or(books::journal::LoadedInvoice{});
  }
};

// --- Decisions -----------------------------------------------------------------

TEST(InvoiceKeys, AreEqualFieldByFieldWhileTheirTextsPlaceRecords) {
  const InvoiceRec rec = Invoice("20240511", "CUS", 1, "23");
  struct Case {
    InvoiceKey key;
    bool same;
  } cases[] = {
      {{"20240511", "CUS", 1, "23"}, true},
      {{"20240511", "CUS", 12, "3"}, false},  // the same key text
      {{"20240511", "VEN", 1, "23"}, false},
      {{"20240512", "CUS", 1, "23"}, false},
      {{"20240511", "CUS", 1, "230"}, false},
      {{"20240511", "CUS", 1, "2"}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(books::journal::HasInvoiceKey(rec, c.key), c.same) << c.key.partner << c.key.number;
  EXPECT_EQ(books::journal::InvoicePlaceText({"20240511", "CUS", 1, "23"}),
            books::journal::InvoicePlaceText({"20240511", "CUS", 12, "3"}));
  // Numbers are taken as stored: cut to the 15 bytes of the field.
  const InvoiceRec longNumber = Invoice("20240511", "CUS", 1, "123456789012345678");
  EXPECT_TRUE(books::journal::HasInvoiceKey(longNumber, {"20240511", "CUS", 1, "123456789012345678"}));
  // Byte order: partner 10 before 9, "10" before "9", "CUS" before "VEN".
  EXPECT_LT(books::journal::InvoicePlaceText({"20240511", "CUS", 10, "1"}),
            books::journal::InvoicePlaceText({"20240511", "CUS", 9, "1"}));
  EXPECT_LT(books::journal::InvoicePlaceText({"20240511", "CUS", 9, "10"}),
            books::journal::InvoicePlaceText({"20240511", "CUS", 9, "9"}));
  EXPECT_LT(books::journal::InvoicePlaceText({"20240511", "VEN", 1, "1"}),
            books::journal::InvoicePlaceText({"20240512", "CUS", 1, "1"}));
}

TEST(InvoiceOwing, IsCountedAtTheAmountDecimals) {
  struct Case {
    double amount, paid;
    int decimals;
    bool owes, positive;
  } cases[] = {
      {121, 0, 2, true, true},        {121, 121, 2, false, false},      {121, 121.004, 2, false, false},
      {121, 120.99, 2, true, true},   {121, 122, 2, true, false},       {0.3, 0.1 + 0.2, 2, false, false},
      {121, 120.6, 0, false, false},  {121, 120.4, 0, true, true},
  };
  for (const auto& c : cases) {
    const InvoiceRec rec = Invoice("20240511", "CUS", 1, "1", c.amount, c.paid);
    EXPECT_EQ(books::journal::InvoiceOwes(rec, c.decimals), c.owes) << c.amount << " " << c.paid;
    EXPECT_EQ(books::journal::InvoiceOwesPositive(rec, c.decimals), c.positive) << c.amount << " " << c.paid;
  }
}

TEST(InvoiceFilters, PassWhenAnyChosenConditionHoldsAndThePartnerFits) {
  const InvoiceRec open = Invoice("20240511", "CUS", 5, "1", 121, 0);
  const InvoiceRec booked = Invoice("20240511", "CUS", 5, "2", 121, 0, true);
  const InvoiceRec paid = Invoice("20240511", "CUS", 5, "3", 121, 121, true);
  const InvoiceRec vendor = Invoice("20240511", "VEN", 5, "1", 121, 0);
  const InvoiceRec collide = Invoice("20240511", "CUS", 12, "3", 121, 121, true);
  InvoiceFilter none;
  none.owing = none.withoutVoucher = false;
  InvoiceFilter owing = none, without = none, all = none, entry = none, customer5 = none, linked = none;
  owing.owing = true;
  without.withoutVoucher = true;
  all.all = true;
  entry.entryNumber = "2";
  customer5.all = true;
  customer5.partner = books::journal::DocumentPartner{records::DocumentKind::Customer, 5};
  linked.linked = InvoiceKey{"20240511", "CUS", 1, "23"};
  struct Case {
    const char* name;
    InvoiceFilter f;
    std::vector<bool> pass;  // open, booked, paid, vendor, collide
  } cases[] = {
      {"none", none, {false, false, false, false, false}},
      {"owing", owing, {true, true, false, true, false}},
      {"without", without, {true, false, false, true, false}},
      {"all", all, {true, true, true, true, true}},
      {"entry", entry, {false, true, false, false, false}},
      {"customer 5, not supplier 5", customer5, {true, true, true, false, false}},
      {"linked partner 1 \"23\", not 12 \"3\"", linked, {false, false, false, false, false}},
  };
  for (const auto& c : cases) {
    std::vector<bool> got;
    for (const InvoiceRec* r : {&open, &booked, &paid, &vendor, &collide})
      got.push_back(books::journal::PassesInvoiceFilter(*r, c.f, 2));
    EXPECT_EQ(got, c.pass) << c.name;
  }
  linked.linked = InvoiceKey{"20240511", "CUS", 12, "3"};
  EXPECT_TRUE(books::journal::PassesInvoiceFilter(collide, linked, 2));
}

// --- Stores --------------------------------------------------------------------

TEST_F(InvoiceStore, NewInvoicesGoInAtTheirSortedPlace) {
  const std::vector<InvoiceRec> file = {Invoice("20240201", "CUS", 1, "1"), Invoice("20240301", "CUS", 10, "5"),
                                        Invoice("20240301", "CUS", 9, "5"), Invoice("20240401", "CUS", 1, "1")};
  struct Case {
    InvoiceRec rec;
    int at;
  } cases[] = {
      {Invoice("20240101", "CUS", 1, "1"), 0},  // before all
      {Invoice("20240501", "CUS", 1, "1"), 4},  // after all: an append
      {Invoice("20240301", "CUS", 10, "6"), 2},
      {Invoice("20240301", "CUS", 9, "10"), 2},  // "10" before "5"
      {Invoice("20240301", "CUS", 11, "1"), 2},  // partner "11" before "9"
      {Invoice("20240301", "VEN", 1, "1"), 3},
  };
  for (const auto& c : cases) {
    Put(file);
    const auto r = books::journal::InsertInvoice(c.rec);
    ASSERT_EQ(r.outcome, DocumentOutcome::Done) << Label(c.rec);
    EXPECT_EQ(r.value->index, c.at) << Label(c.rec);
    const auto now = Inv();
    ASSERT_EQ(now.size(), 5u);
    EXPECT_EQ(Label(now[static_cast<std::size_t>(c.at)]), Label(c.rec));
    for (std::size_t i = 1; i < now.size(); ++i)
      EXPECT_LE(books::journal::InvoicePlaceText(books::journal::InvoiceKeyOf(now[i - 1])),
                books::journal::InvoicePlaceText(books::journal::InvoiceKeyOf(now[i])));
  }
}

TEST_F(InvoiceStore, ANewInvoiceIsStampedAndPaidItsPrepaidAmountWithoutVoucher) {
  InvoiceRec rec = Invoice("20240511", "CUS", 25, "1001", 121, 999, true);
  rec.SetPrepaidAmount(50);
  const auto r = books::journal::InsertInvoice(rec);
  ASSERT_TRUE(r.Ok());
  const InvoiceRec stored = Inv().at(0);
  EXPECT_EQ(stored.PaidAmount(), 50);
  EXPECT_FALSE(stored.VoucherCreated());
  EXPECT_EQ(stored.ChangedBy(), "ANNE");
  EXPECT_FALSE(stored.ChangedAt().empty());
  EXPECT_EQ(r.value->record, stored);
}

TEST_F(InvoiceStore, AnExistingKeyIsADuplicateButAnEqualKeyTextIsNot) {
  Put({Invoice("20240511", "CUS", 1, "23"), Invoice("20240601", "CUS", 1, "1")});
  const std::string before = store.fs.File(kInv);
  EXPECT_EQ(books::journal::InsertInvoice(Invoice("20240511", "CUS", 1, "23")).outcome, DocumentOutcome::Duplicate);
  EXPECT_EQ(store.fs.File(kInv), before);
  EXPECT_EQ(books::journal::LanguageOffsetOf(DocumentOutcome::Duplicate), 9648);
  ASSERT_TRUE(books::journal::InsertInvoice(Invoice("20240511", "CUS", 12, "3")).Ok());
  EXPECT_EQ(Labels(), (std::vector<std::string>{"20240511/CUS1/23", "20240511/CUS12/3", "20240601/CUS1/1"}));
  EXPECT_EQ(books::journal::InsertInvoice(Invoice("20240511", "CUS", 12, "3")).outcome, DocumentOutcome::Duplicate);
}

TEST_F(InvoiceStore, AChangeKeepsKeyVoucherFlagAndPaymentsAndStaysInPlace) {
  InvoiceRec rec = Invoice("20240511", "CUS", 25, "1001", 200, 120);
  rec.SetPrepaidAmount(50);
  Put({Invoice("20240101", "CUS", 1, "1"), rec, Invoice("20240601", "CUS", 1, "1")});
  const auto loaded = Load({"20240511", "CUS", 25, "1001"});
  InvoiceRec changed = loaded.record;
  changed.SetPrepaidAmount(80);
  changed.SetInvoiceAmount(250);
  changed.SetPaidAmount(0);  // not trusted: computed from the stored record
  changed.SetMemo("changed");
  const auto r = books::journal::ChangeInvoice(changed, loaded);
  ASSERT_EQ(r.outcome, DocumentOutcome::Done);
  ASSERT_EQ(Inv().size(), 3u);
  const InvoiceRec stored = Inv()[1];
  EXPECT_EQ(stored.PaidAmount(), 150);  // 80 + 120 - 50
  EXPECT_EQ(stored.InvoiceAmount(), 250);
  EXPECT_EQ(stored.Memo(), "changed");
  EXPECT_EQ(stored.ChangedBy(), "ANNE");
}

TEST_F(InvoiceStore, AChangeFollowsItsInvoiceWhenAnotherCopyInsertedBeforeIt) {
  Put({Invoice("20240301", "CUS", 1, "1"), Invoice("20240511", "CUS", 25, "1001")});
  const auto loaded = Load({"20240511", "CUS", 25, "1001"});
  ASSERT_EQ(loaded.index, 1);
  ASSERT_TRUE(books::journal::InsertInvoice(Invoice("20240101", "CUS", 1, "1")).Ok());
  InvoiceRec changed = loaded.record;
  changed.SetMemo("moved");
  const auto r = books::journal::ChangeInvoice(changed, loaded);
  ASSERT_EQ(r.outcome, DocumentOutcome::Done);
  EXPECT_EQ(r.value->index, 2);
  EXPECT_EQ(Inv()[2].Memo(), "moved");
  EXPECT_EQ(Label(Inv()[1]), "20240301/CUS1/1");
}

TEST_F(InvoiceStore, AChangeOfAGoneOrChangedInvoiceIsRefusedAndWritesNothing) {
  const InvoiceRec a = Invoice("20240301", "CUS", 1, "1"), b = Invoice("20240511", "CUS", 25, "1001"),
                   c = Invoice("20240601", "CUS", 1, "1");
  struct Case {
    const char* name;
    std::vector<InvoiceRec> fileNow;  // what another copy left
    DocumentOutcome outcome;
  } cases[] = {
      // Deleted: another invoice now lies at the loaded index.
      {"gone", {a, c}, DocumentOutcome::NotFound},
      {"gone, file empty", {}, DocumentOutcome::NotFound},
      {"memo changed", {a, Invoice("20240511", "CUS", 25, "1001", 121, 0)}, DocumentOutcome::ChangedInAnotherCopy},
      {"booked meanwhile", {a, Invoice("20240511", "CUS", 25, "1001", 121, 0, true), c},
       DocumentOutcome::ChangedInAnotherCopy},
      {"paid meanwhile", {a, Invoice("20240511", "CUS", 25, "1001", 121, 21), c},
       DocumentOutcome::ChangedInAnotherCopy},
  };
  for (const auto& cs : cases) {
    InvoiceRec loadedRec = b;
    loadedRec.SetMemo("as loaded");
    Put({a, loadedRec, c});
    const books::journal::LoadedInvoice loaded{loadedRec, 1};
    Put(cs.fileNow);
    const std::string before = store.fs.File(kInv);
    InvoiceRec changed = loadedRec;
    changed.SetMemo("mine");
    EXPECT_EQ(books::journal::ChangeInvoice(changed, loaded).outcome, cs.outcome) << cs.name;
    EXPECT_EQ(store.fs.File(kInv), before) << cs.name;
    EXPECT_FALSE(store::FileSetOpen);
  }
}

TEST_F(InvoiceStore, AChangeOfAnotherKeyOrOfABookedInvoiceIsRefusedBeforeAnyFileOpens) {
  const InvoiceRec booked = Invoice("20240511", "CUS", 25, "1001", 121, 0, true);
  Put({booked});
  store.fs.InjectError(kInv, support::FakeFileSystem::Op::OpenReadWrite, 13);
  InvoiceRec other = booked;
  other.SetPartnerNumber(26);
  EXPECT_EQ(books::journal::ChangeInvoice(other, {booked, 0}).outcome, DocumentOutcome::NotLoaded);
  EXPECT_EQ(books::journal::ChangeInvoice(booked, {booked, 0}).outcome, DocumentOutcome::HasVoucher);
  EXPECT_EQ(books::journal::DeleteInvoice({booked, 0}).outcome, DocumentOutcome::HasVoucher);
}

TEST_F(InvoiceStore, DeleteRemovesTheLoadedInvoiceOnly) {
  const InvoiceRec a = Invoice("20240301", "CUS", 1, "1"), b = Invoice("20240511", "CUS", 25, "1001"),
                   c = Invoice("20240601", "CUS", 1, "1");
  Put({a, b, c});
  ASSERT_EQ(books::journal::DeleteInvoice({b, 1}).outcome, DocumentOutcome::Done);
  EXPECT_EQ(Labels(), (std::vector<std::string>{"20240301/CUS1/1", "20240601/CUS1/1"}));
  ASSERT_EQ(books::journal::DeleteInvoice({c, 1}).outcome, DocumentOutcome::Done);  // the last: a cut
  EXPECT_EQ(store.fs.File(kInv), Bytes({a}));
  // Gone meanwhile: nothing changes.
  EXPECT_EQ(books::journal::DeleteInvoice({b, 1}).outcome, DocumentOutcome::NotFound);
  EXPECT_EQ(store.fs.File(kInv), Bytes({a}));
  // Booked by another copy since it was loaded.
  Put({a, Invoice("20240511", "CUS", 25, "1001", 121, 0, true)});
  EXPECT_EQ(books::journal::DeleteInvoice({b, 1}).outcome, DocumentOutcome::HasVoucher);
  EXPECT_EQ(Inv().size(), 2u);
  // Partner 12 "3" is not partner 1 "23".
  Put({Invoice("20240511", "CUS", 1, "23")});
  EXPECT_EQ(books::journal::DeleteInvoice({Invoice("20240511", "CUS", 12, "3"), 0}).outcome, DocumentOutcome::NotFound);
  EXPECT_EQ(Inv().size(), 1u);
}

// --- Lists ---------------------------------------------------------------------

// A file of `matches` open invoices with a booked, paid invoice after each,
// so that the non-matching records lie between the matching ones.
std::vector<InvoiceRec> Interleaved(int matches) {
  std::vector<InvoiceRec> recs;
  for (int i = 0; i < matches; ++i) {
    recs.push_back(Invoice("20240101", "CUS", 1, std::to_string(100000 + i)));
    recs.push_back(Invoice("20240101", "CUS", 1, std::to_string(100000 + i) + "b", 121, 121, true));
  }
  return recs;
}

TEST_F(InvoiceStore, PagesOfAHundredNewestFirstSkipAndRepeatNoRow) {
  for (const int n : {0, 1, 99, 100, 101, 200, 201}) {
    Put(Interleaved(n));
    std::vector<int> seen;
    int page = 0;
    for (;; ++page) {
      const auto p = books::journal::ListInvoices(InvoiceFilter{}, page);
      if (n == 0) {
        EXPECT_EQ(p.outcome, DocumentOutcome::FileEmpty);
        break;
      }
      ASSERT_EQ(p.outcome, DocumentOutcome::Done) << n << " page " << page;
      EXPECT_EQ(p.value->HasPrevious(), page > 0);
      EXPECT_LE(p.value->rows.size(), 100u);
      for (const auto& row : p.value->rows) {
        EXPECT_FALSE(row.record.VoucherCreated());
        EXPECT_EQ(Inv()[static_cast<std::size_t>(row.index)], row.record);
        seen.push_back(row.index);
      }
      EXPECT_EQ(p.value->more, static_cast<int>(seen.size()) < n) << n << " page " << page;
      if (!p.value->more) break;
    }
    EXPECT_EQ(page, n == 0 ? 0 : (n - 1) / 100) << n;
    ASSERT_EQ(static_cast<int>(seen.size()), n);
    for (int i = 0; i < n; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], 2 * (n - 1 - i)) << n;  // newest first
    if (n > 0) {
      EXPECT_EQ(books::journal::ListInvoices(InvoiceFilter{}, page + 1).outcome, DocumentOutcome::NotFound);
      EXPECT_EQ(books::journal::ListInvoices(InvoiceFilter{}, 0).value->SingleMatch(), n == 1);
    }
  }
  // Records, none passing.
  Put({Invoice("20240101", "CUS", 1, "1", 121, 121, true)});
  EXPECT_EQ(books::journal::ListInvoices(InvoiceFilter{}).outcome, DocumentOutcome::NotFound);
  EXPECT_EQ(books::journal::LanguageOffsetOf(DocumentOutcome::NotFound, true), 9892);
}

TEST_F(InvoiceStore, ListFiltersOnThePartnerWithItsKind) {
  Put({Invoice("20240101", "CUS", 5, "1"), Invoice("20240102", "VEN", 5, "1"), Invoice("20240103", "CUS", 5, "2"),
       Invoice("20240104", "CUS", 6, "1")});
  InvoiceFilter f;
  f.partner = books::journal::DocumentPartner{records::DocumentKind::Customer, 5};
  const auto p = books::journal::ListInvoices(f);
  ASSERT_EQ(p.value->rows.size(), 2u);
  EXPECT_EQ(Label(p.value->rows[0].record), "20240103/CUS5/2");
  EXPECT_EQ(Label(p.value->rows[1].record), "20240101/CUS5/1");
  InvoiceFilter go;
  go.owing = go.withoutVoucher = false;
  go.linked = InvoiceKey{"20240102", "VEN", 5, "1"};
  const auto one = books::journal::ListInvoices(go);
  ASSERT_EQ(one.value->rows.size(), 1u);
  EXPECT_TRUE(one.value->SingleMatch());
  EXPECT_EQ(one.value->rows[0].index, 1);
}

TEST_F(InvoiceStore, OpenInvoicesOfAPartnerAreAllOfThemNewestFirst) {
  std::vector<InvoiceRec> recs;
  for (int i = 0; i < 120; ++i) {
    const std::string n = std::to_string(1000 + i);
    recs.push_back(Invoice("20240101", "CUS", 7, n));
    recs.push_back(Invoice("20240101", "CUS", 7, n + "p", 121, 121, true));  // paid
    recs.push_back(Invoice("20240101", "CUS", 7, n + "o", 121, 130, true));  // overpaid
    recs.push_back(Invoice("20240101", "VEN", 7, n));                       // supplier 7
  }
  Put(recs);
  const auto r = books::journal::OpenInvoicesOf(records::DocumentKind::Customer, 7);
  ASSERT_TRUE(r.Ok());
  ASSERT_EQ(r.value->size(), 120u);
  for (std::size_t i = 0; i < 120; ++i) {
    EXPECT_EQ((*r.value)[i].record.InvoiceNumber(), std::to_string(1119 - static_cast<int>(i)));
    EXPECT_EQ((*r.value)[i].record.PartnerType(), "CUS");
  }
  EXPECT_TRUE(books::journal::OpenInvoicesOf(records::DocumentKind::Customer, 8).value->empty());
}

TEST_F(InvoiceStore, TheFreezeFindsAnInvoiceWithoutVoucherBeforeADate) {
  struct Case {
    const char* name;
    std::vector<InvoiceRec> file;
    bool found;
    std::string date;
  } cases[] = {
      {"empty", {}, false, ""},
      {"all booked", {Invoice("20240101", "CUS", 1, "1", 121, 0, true)}, false, ""},
      {"on the date is not before", {Invoice("20240301", "CUS", 1, "1")}, false, ""},
      {"one before",
       {Invoice("20240101", "CUS", 1, "1", 121, 0, true), Invoice("20240215", "CUS", 1, "2"),
        Invoice("20240401", "CUS", 1, "3")},
       true, "20240215"},
      {"unsorted: the earliest", {Invoice("20240220", "CUS", 1, "1"), Invoice("20240110", "CUS", 1, "2")}, true,
       "20240110"},
  };
  for (const auto& c : cases) {
    Put(c.file);
    const auto r = books::journal::AnyInvoiceWithoutVoucherBefore("20240301");
    ASSERT_TRUE(r.Ok()) << c.name;
    EXPECT_EQ(r.value.has_value(), c.found) << c.name;
    EXPECT_EQ(r.value.value_or(""), c.date) << c.name;
  }
}

// --- Marks ---------------------------------------------------------------------

TEST_F(InvoiceStore, MarksFindTheirInvoiceFieldByField) {
  Put({Invoice("20240511", "CUS", 1, "23"), Invoice("20240511", "CUS", 12, "3")});
  ASSERT_TRUE(books::journal::SetInvoiceVoucherCreated({"20240511", "CUS", 12, "3"}, true).Ok());
  ASSERT_TRUE(books::journal::AdjustInvoicePaid({"20240511", "CUS", 12, "3"}, 21).Ok());
  EXPECT_FALSE(Inv()[0].VoucherCreated());
  EXPECT_EQ(Inv()[0].PaidAmount(), 0);
  EXPECT_TRUE(Inv()[1].VoucherCreated());
  EXPECT_EQ(Inv()[1].PaidAmount(), 21);
  const std::string before = store.fs.File(kInv);
  EXPECT_EQ(books::journal::AdjustInvoicePaid({"20240511", "VEN", 12, "3"}, 21).outcome, DocumentOutcome::NotFound);
  EXPECT_EQ(store.fs.File(kInv), before);
}

// --- Failures ------------------------------------------------------------------

TEST_F(InvoiceStore, AFailingSetOpenIsReportedAsAValue) {
  Put({Invoice("20240511", "CUS", 1, "1")});
  store.fs.InjectError(kInv, support::FakeFileSystem::Op::OpenReadWrite, 13);
  const auto r = books::journal::InsertInvoice(Invoice("20240101", "CUS", 1, "1"));
  EXPECT_EQ(r.outcome, DocumentOutcome::FileSetFailed);
  EXPECT_FALSE(r.failure.text.empty());
  EXPECT_EQ(books::journal::ListInvoices(InvoiceFilter{}).outcome, DocumentOutcome::FileSetFailed);
  EXPECT_EQ(books::journal::OpenInvoicesOf(records::DocumentKind::Customer, 1).outcome, DocumentOutcome::FileSetFailed);
  EXPECT_EQ(books::journal::AnyInvoiceWithoutVoucherBefore("20250101").outcome, DocumentOutcome::FileSetFailed);
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(InvoiceStore, AnIoErrorWhileMovingLosesNoInvoiceAndLeavesNoSetOpen) {
  Put(Interleaved(40));
  const std::string before = store.fs.File(kInv);
  store.fs.InjectError(kInv, support::FakeFileSystem::Op::Write, 5, 1, 1);
  EXPECT_THROW(books::journal::InsertInvoice(Invoice("20230101", "CUS", 1, "1")), platform::IoError);
  store.fs.ClearErrors();
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.File(kInv), before);
  ASSERT_TRUE(books::journal::InsertInvoice(Invoice("20230101", "CUS", 1, "1")).Ok());
  EXPECT_EQ(Inv().size(), 81u);
}

}  // namespace
