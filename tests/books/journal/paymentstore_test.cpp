// The payment store on the in-memory file system: keys equal field by
// field, insert points and numbering, changes and deletes of a loaded
// payment (and their refusals), pages of 100 newest first with filters, the
// freeze's query over invoices and payments, and failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "books/journal/paymentstore.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "records/invoicerec.h"
#include "records/paymentrec.h"
#include "store/fileset.h"
#include "store/scopedfileset.h"
#include "text/systemsettings.h"
#include "support/adminfolder.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using books::journal::DocumentOutcome;
using books::journal::PaymentFilter;
using books::journal::PaymentKey;
using records::PaymentRec;
using support::Bytes;
using support::Records;

constexpr const char* kPay = "/d/ACME/payment.vlk";
constexpr const char* kInv = "/d/ACME/invsum.vlk";

PaymentRec Payment(const std::string& date, const std::string& kind, int partner, int number = 0,
                   bool created = false) {
  PaymentRec rec;
  rec.SetValueDate(date);
  rec.SetPartnerType(kind);
  rec.SetPartnerNumber(partner);
  rec.SetPaymentNumber(number);
  rec.SetEntryNumber("E" + std::to_string(number));
  rec.SetAmount(121);
  rec.SetVoucherCreated(created);
  return rec;
}

std::string Label(const PaymentRec& r) {
  return r.ValueDate() + "/" + r.PartnerType() + std::to_string(r.PartnerNumber()) + "/" +
         std::to_string(r.PaymentNumber());
}

class PaymentStore : public ::testing::Test, public support::AdministrationFolder {
 public:
  void Put(const std::vector<PaymentRec>& recs) { store.fs.SetFile(kPay, Bytes(recs)); }
  std::vector<PaymentRec> Pay() const { return Records<PaymentRec>(store.fs.File(kPay)); }
  std::vector<std::string> Labels() const {
    std::vector<std::string> out;
    for (const auto& r : Pay()) out.push_back(Label(r));
    return out;
  }
  books::journal::LoadedPayment Insert(const PaymentRec& rec) {
    const auto r = books::journal::InsertPayment(rec);
    EXPECT_EQ(r.outcome, DocumentOutcome::Done);
    return r.value.value_or(books::journal::LoadedPayment{});
  }
};

// --- Decisions -----------------------------------------------------------------

TEST(PaymentKeys, AreEqualFieldByField) {
  const PaymentRec rec = Payment("20240511", "CUS", 1, 23);
  struct Case {
    PaymentKey key;
    bool same;
  } cases[] = {
      {{"20240511", "CUS", 1, 23}, true},   {{"20240511", "CUS", 12, 3}, false},  // the joined texts are equal
      {{"20240511", "VEN", 1, 23}, false},  {{"20240512", "CUS", 1, 23}, false},
      {{"20240511", "CUS", 1, 2}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(books::journal::HasPaymentKey(rec, c.key), c.same) << c.key.partner << c.key.number;
}

TEST(PaymentFilters, PassWhenAnyChosenConditionHoldsAndThePartnerKindFits) {
  const PaymentRec open = Payment("20240511", "CUS", 5, 1);
  const PaymentRec booked = Payment("20240511", "CUS", 5, 2, true);
  const PaymentRec vendor = Payment("20240511", "VEN", 5, 1);
  const PaymentRec collide = Payment("20240511", "CUS", 12, 3, true);
  PaymentFilter none;
  none.withoutVoucher = false;
  PaymentFilter without = none, all = none, entry = none, customer5 = none, linked = none;
  without.withoutVoucher = true;
  all.all = true;
  entry.entryNumber = "E2";
  customer5.all = true;
  customer5.partner = books::journal::DocumentPartner{records::DocumentKind::Customer, 5};
  linked.linked = PaymentKey{"20240511", "CUS", 1, 23};
  struct Case {
    const char* name;
    PaymentFilter f;
    std::vector<bool> pass;  // open, booked, vendor, collide
  } cases[] = {
      {"none", none, {false, false, false, false}},
      {"without", without, {true, false, true, false}},
      {"all", all, {true, true, true, true}},
      {"entry", entry, {false, true, false, false}},
      {"customer 5, not supplier 5", customer5, {true, true, false, false}},
      {"linked partner 1 / 23, not 12 / 3", linked, {false, false, false, false}},
  };
  for (const auto& c : cases) {
    std::vector<bool> got;
    for (const PaymentRec* r : {&open, &booked, &vendor, &collide})
      got.push_back(books::journal::PassesPaymentFilter(*r, c.f));
    EXPECT_EQ(got, c.pass) << c.name;
  }
}

// --- Stores --------------------------------------------------------------------

TEST_F(PaymentStore, NewPaymentsAreNumberedWithinDateKindAndPartnerAndPlacedByText) {
  // Three of one partner on one day: 1, 2, 3 in the order stored.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Insert(Payment("20240511", "CUS", 9)).record.PaymentNumber(), i + 1);
  // Partner "10" sorts before "9"; another kind and another day number anew.
  EXPECT_EQ(Insert(Payment("20240511", "CUS", 10)).index, 0);
  EXPECT_EQ(Insert(Payment("20240511", "VEN", 9)).record.PaymentNumber(), 1);
  EXPECT_EQ(Insert(Payment("20240510", "CUS", 9)).index, 0);
  const auto fourth = Insert(Payment("20240511", "CUS", 9, 77));  // the given number is not used
  EXPECT_EQ(fourth.record.PaymentNumber(), 4);
  EXPECT_EQ(Labels(), (std::vector<std::string>{"20240510/CUS9/1", "20240511/CUS10/1", "20240511/CUS9/1",
                                                "20240511/CUS9/2", "20240511/CUS9/3", "20240511/CUS9/4",
                                                "20240511/VEN9/1"}));
  EXPECT_EQ(fourth.index, 5);
  EXPECT_EQ(Pay()[5], fourth.record);
  EXPECT_EQ(fourth.record.ChangedBy(), "ANNE");
  // Listed newest first: 4, 3, 2, 1 of partner 9.
  PaymentFilter f;
  f.partner = books::journal::DocumentPartner{records::DocumentKind::Customer, 9};
  const auto p = books::journal::ListPayments(f);
  std::vector<int> numbers;
  for (const auto& row : p.value->rows) numbers.push_back(row.record.PaymentNumber());
  EXPECT_EQ(numbers, (std::vector<int>{4, 3, 2, 1, 1}));
}

// The places of many new payments found at once (the bank import's rows)
// are those InsertPoint finds one at a time on the file as it is, sorted
// or not, and so are the records of the run of equal texts before them;
// also from the texts of the file's end only, read back to the first one
// below the text asked.
TEST_F(PaymentStore, ManyPlacesAtOnceAreThoseOfOneInsertPointEach) {
  const struct {
    const char* what;
    std::vector<PaymentRec> file;
  } files[] = {
      {"empty", {}},
      {"sorted, with runs",
       {Payment("20240510", "CUS", 9, 1), Payment("20240511", "CUS", 10, 1), Payment("20240511", "CUS", 9, 1),
        Payment("20240511", "CUS", 9, 2), Payment("20240511", "REC", 0, 1), Payment("20240511", "REC", 0, 2),
        Payment("20240512", "VEN", 3, 1)}},
      {"not sorted (imported)",
       {Payment("20240512", "VEN", 3, 1), Payment("20240511", "CUS", 9, 1), Payment("20240513", "CUS", 9, 1),
        Payment("20240510", "CUS", 9, 1), Payment("20240511", "CUS", 9, 2), Payment("20240514", "REC", 0, 1),
        Payment("20240511", "CUS", 9, 3)}},
  };
  const std::vector<PaymentRec> queries = {Payment("20240509", "CUS", 1), Payment("20240510", "CUS", 9),
                                           Payment("20240511", "CUS", 9), Payment("20240511", "PAY", 0),
                                           Payment("20240511", "REC", 0), Payment("20240512", "VEN", 3),
                                           Payment("20240513", "CUS", 9), Payment("20240520", "VEN", 1)};
  for (const auto& f : files) {
    SCOPED_TRACE(f.what);
    Put(f.file);
    std::vector<std::string> texts;
    for (const PaymentRec& r : f.file) texts.push_back(books::journal::PaymentPlaceText(r));
    const books::journal::InsertPlaces places(texts);
    store::ScopedFileSet set("PAY");
    ASSERT_TRUE(set.Ok());
    for (const PaymentRec& q : queries) {
      const std::string text = books::journal::PaymentPlaceText(q);
      SCOPED_TRACE(text);
      // The records InsertPoint hands over, by their (distinct) bytes.
      std::vector<int> run;
      const auto point = books::journal::InsertPoint<PaymentRec>(
          store::FileCode::PAY, text,
          [](const PaymentRec& r, std::string& out) { out = books::journal::PaymentPlaceText(r); },
          [&](const PaymentRec& r) {
            const auto it = std::find(f.file.begin(), f.file.end(), r);
            run.push_back(static_cast<int>(it - f.file.begin()));
            return true;
          });
      ASSERT_TRUE(point.has_value());
      EXPECT_EQ(places.After(text), *point);
      // Compared on the date first: the same place and the same run.
      std::vector<int> prefixRun;
      const auto byPrefix = books::journal::InsertPoint<PaymentRec>(
          store::FileCode::PAY, text,
          [](const PaymentRec& r, std::string& out) { out = books::journal::PaymentPlaceText(r); },
          [&](const PaymentRec& r) {
            prefixRun.push_back(static_cast<int>(std::find(f.file.begin(), f.file.end(), r) - f.file.begin()));
            return true;
          },
          [](const PaymentRec& r) { return store::FieldView(r, PaymentRec::kValueDate); });
      EXPECT_EQ(byPrefix, point);
      EXPECT_EQ(prefixRun, run);
      EXPECT_EQ(places.SameTextRun(text), run);
      // Read only back to the first record below the text: the same answers.
      int first = -1;
      auto texts = books::journal::PlaceTextsFrom<PaymentRec>(store::FileCode::PAY, text,
                                                              books::journal::PaymentPlaceText, first);
      const books::journal::InsertPlaces tail(std::move(texts), first);
      EXPECT_EQ(tail.After(text), *point);
      EXPECT_EQ(tail.SameTextRun(text), run);
    }
  }
}

TEST_F(PaymentStore, AStoredPaymentIsChangedInPlaceNeverStoredTwice) {
  Insert(Payment("20240101", "CUS", 1));
  const auto loaded = Insert(Payment("20240511", "CUS", 25));
  Insert(Payment("20240601", "CUS", 1));
  PaymentRec changed = loaded.record;
  changed.SetAmount(98);
  changed.SetMemo("second press");
  const auto r = books::journal::ChangePayment(changed, loaded);
  ASSERT_EQ(r.outcome, DocumentOutcome::Done);
  ASSERT_EQ(Pay().size(), 3u);
  EXPECT_EQ(Pay()[1].Amount(), 98);
  EXPECT_EQ(Pay()[1].PaymentNumber(), 1);
  // Again with what the first change handed back.
  changed.SetAmount(97);
  ASSERT_EQ(books::journal::ChangePayment(changed, *r.value).outcome, DocumentOutcome::Done);
  EXPECT_EQ(Pay().size(), 3u);
  EXPECT_EQ(Pay()[1].Amount(), 97);
}

TEST_F(PaymentStore, AChangeOrDeleteOfAGoneOrChangedPaymentIsRefused) {
  const PaymentRec a = Payment("20240101", "CUS", 1, 1), b = Payment("20240511", "CUS", 25, 1),
                   c = Payment("20240601", "CUS", 1, 1);
  PaymentRec paidElsewhere = b;
  paidElsewhere.SetAmount(5);
  struct Case {
    const char* name;
    std::vector<PaymentRec> fileNow;
    DocumentOutcome change, remove;
  } cases[] = {
      {"gone", {a, c}, DocumentOutcome::NotFound, DocumentOutcome::NotFound},
      {"changed", {a, paidElsewhere, c}, DocumentOutcome::ChangedInAnotherCopy, DocumentOutcome::ChangedInAnotherCopy},
      {"booked meanwhile", {a, Payment("20240511", "CUS", 25, 1, true), c}, DocumentOutcome::ChangedInAnotherCopy,
       DocumentOutcome::HasVoucher},
  };
  for (const auto& cs : cases) {
    const books::journal::LoadedPayment loaded{b, 1};
    Put(cs.fileNow);
    const std::string before = store.fs.File(kPay);
    PaymentRec changed = b;
    changed.SetMemo("mine");
    EXPECT_EQ(books::journal::ChangePayment(changed, loaded).outcome, cs.change) << cs.name;
    EXPECT_EQ(books::journal::DeletePayment(loaded).outcome, cs.remove) << cs.name;
    EXPECT_EQ(store.fs.File(kPay), before) << cs.name;
  }
  // Refused before any file opens.
  Put({a});
  store.fs.InjectError(kPay, support::FakeFileSystem::Op::OpenReadWrite, 13);
  PaymentRec renumbered = b;
  renumbered.SetPaymentNumber(2);
  EXPECT_EQ(books::journal::ChangePayment(renumbered, {b, 0}).outcome, DocumentOutcome::NotLoaded);
  const PaymentRec booked = Payment("20240511", "CUS", 25, 1, true);
  EXPECT_EQ(books::journal::ChangePayment(booked, {booked, 0}).outcome, DocumentOutcome::HasVoucher);
  EXPECT_EQ(books::journal::DeletePayment({booked, 0}).outcome, DocumentOutcome::HasVoucher);
}

TEST_F(PaymentStore, DeleteRemovesTheLoadedPaymentOnly) {
  const PaymentRec a = Payment("20240511", "CUS", 1, 23), b = Payment("20240511", "CUS", 12, 3);
  Put({a, b});
  EXPECT_EQ(books::journal::DeletePayment({Payment("20240511", "CUS", 12, 4), 1}).outcome, DocumentOutcome::NotFound);
  ASSERT_EQ(books::journal::DeletePayment({b, 1}).outcome, DocumentOutcome::Done);  // the last: a cut
  EXPECT_EQ(store.fs.File(kPay), Bytes({a}));
}

// --- Lists ---------------------------------------------------------------------

TEST_F(PaymentStore, PagesOfAHundredNewestFirstSkipAndRepeatNoRow) {
  for (const int n : {0, 1, 99, 100, 101, 200, 201}) {
    std::vector<PaymentRec> recs;
    for (int i = 0; i < n; ++i) {
      recs.push_back(Payment("20240101", "CUS", 1, 2 * i + 1));
      recs.push_back(Payment("20240101", "CUS", 1, 2 * i + 2, true));  // booked: filtered out
    }
    Put(recs);
    std::vector<int> seen;
    int page = 0;
    for (;; ++page) {
      const auto p = books::journal::ListPayments(PaymentFilter{}, page);
      if (n == 0) {
        EXPECT_EQ(p.outcome, DocumentOutcome::FileEmpty);
        break;
      }
      ASSERT_EQ(p.outcome, DocumentOutcome::Done) << n << " page " << page;
      EXPECT_LE(p.value->rows.size(), 100u);
      for (const auto& row : p.value->rows) seen.push_back(row.record.PaymentNumber());
      EXPECT_EQ(p.value->more, static_cast<int>(seen.size()) < n) << n << " page " << page;
      if (!p.value->more) break;
    }
    EXPECT_EQ(page, n == 0 ? 0 : (n - 1) / 100) << n;
    ASSERT_EQ(static_cast<int>(seen.size()), n);
    for (int i = 0; i < n; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], 2 * (n - 1 - i) + 1) << n;
    if (n > 0) {
      EXPECT_EQ(books::journal::ListPayments(PaymentFilter{}, page + 1).outcome, DocumentOutcome::NotFound);
    }
  }
}

TEST_F(PaymentStore, ThePartnerFilterComparesTheKindAndGoToShowsOnlyTheLinkedPayment) {
  Put({Payment("20240101", "CUS", 5, 1), Payment("20240101", "VEN", 5, 1), Payment("20240511", "CUS", 1, 23, true),
       Payment("20240511", "CUS", 12, 3, true)});
  PaymentFilter f;
  f.partner = books::journal::DocumentPartner{records::DocumentKind::Customer, 5};
  const auto p = books::journal::ListPayments(f);
  ASSERT_EQ(p.value->rows.size(), 1u);
  EXPECT_EQ(p.value->rows[0].index, 0);
  PaymentFilter go;
  go.withoutVoucher = false;
  go.linked = PaymentKey{"20240511", "CUS", 12, 3};
  const auto one = books::journal::ListPayments(go);
  ASSERT_EQ(one.value->rows.size(), 1u);
  EXPECT_EQ(one.value->rows[0].index, 3);
  EXPECT_TRUE(one.value->SingleMatch());
}

TEST_F(PaymentStore, TheFreezeFindsAnyInvoiceOrPaymentWithoutVoucherBeforeADate) {
  records::InvoiceRec inv;
  inv.SetVoucherDate("20240210");
  inv.SetPartnerType("CUS");
  struct Case {
    const char* name;
    std::vector<PaymentRec> payments;
    bool invoice;
    bool found;
    std::string date;
    bool paymentFound;  // by the payment query alone
  } cases[] = {
      {"nothing", {}, false, false, "", false},
      {"booked payment", {Payment("20240101", "CUS", 1, 1, true)}, false, false, "", false},
      {"payment on the date", {Payment("20240301", "CUS", 1, 1)}, false, false, "", false},
      {"payment", {Payment("20240220", "CUS", 1, 1)}, false, true, "20240220", true},
      {"invoice only", {}, true, true, "20240210", false},
      {"both: the earlier", {Payment("20240105", "REC", 0, 1)}, true, true, "20240105", true},
  };
  for (const auto& c : cases) {
    Put(c.payments);
    store.fs.SetFile(kInv, c.invoice ? Bytes({inv}) : std::string());
    const auto any = books::journal::AnyDocumentWithoutVoucherBefore("20240301");
    ASSERT_TRUE(any.Ok()) << c.name;
    EXPECT_EQ(any.value.has_value(), c.found) << c.name;
    EXPECT_EQ(any.value.value_or(""), c.date) << c.name;
    const auto pay = books::journal::AnyPaymentWithoutVoucherBefore("20240301");
    EXPECT_EQ(pay.value.has_value(), c.paymentFound) << c.name;
  }
}

// --- Marks ---------------------------------------------------------------------

TEST_F(PaymentStore, TheVoucherFlagFindsItsPaymentFieldByField) {
  Put({Payment("20240511", "CUS", 1, 23), Payment("20240511", "CUS", 12, 3)});
  ASSERT_TRUE(books::journal::SetPaymentVoucherCreated({"20240511", "CUS", 12, 3}, true).Ok());
  EXPECT_FALSE(Pay()[0].VoucherCreated());
  EXPECT_TRUE(Pay()[1].VoucherCreated());
  EXPECT_EQ(books::journal::SetPaymentVoucherCreated({"20240511", "CUS", 12, 4}, true).outcome,
            DocumentOutcome::NotFound);
}

// --- Failures ------------------------------------------------------------------

TEST_F(PaymentStore, AFailingSetOpenIsReportedAsAValue) {
  Put({Payment("20240511", "CUS", 1, 1)});
  store.fs.InjectError(kPay, support::FakeFileSystem::Op::OpenReadWrite, 13);
  const auto r = books::journal::InsertPayment(Payment("20240101", "CUS", 1));
  EXPECT_EQ(r.outcome, DocumentOutcome::FileSetFailed);
  EXPECT_FALSE(r.failure.text.empty());
  EXPECT_EQ(books::journal::ListPayments(PaymentFilter{}).outcome, DocumentOutcome::FileSetFailed);
  EXPECT_EQ(books::journal::AnyDocumentWithoutVoucherBefore("20250101").outcome, DocumentOutcome::FileSetFailed);
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(PaymentStore, AnIoErrorWhileMovingLosesNoPaymentAndLeavesNoSetOpen) {
  std::vector<PaymentRec> recs;
  for (int i = 1; i <= 40; ++i) recs.push_back(Payment("20240101", "CUS", 1, i));
  Put(recs);
  const std::string before = store.fs.File(kPay);
  store.fs.InjectError(kPay, support::FakeFileSystem::Op::Write, 5, 1, 1);
  EXPECT_THROW(books::journal::InsertPayment(Payment("20230101", "CUS", 1)), platform::IoError);
  store.fs.ClearErrors();
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.File(kPay), before);
  Insert(Payment("20230101", "CUS", 1));
  EXPECT_EQ(Pay().size(), 41u);
}

}  // namespace
