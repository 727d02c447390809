// The payment store (see paymentstore.h).
#include "books/journal/paymentstore.h"

#include <algorithm>
#include <utility>

#include "books/journal/invoicestore.h"
#include "store/fileset.h"
#include "text/textroutines.h"

namespace books::journal {

namespace {

using records::PaymentRec;
using store::FileCode;

constexpr const char* kPaymentSet = "PAY";

PaymentKey Stored(const PaymentKey& key) {
  return {text::Cut(key.valueDate, PaymentRec::kValueDate.capacity),
          text::Cut(key.kind, PaymentRec::kPartnerType.capacity), key.partner, key.number};
}

// Whether `rec` holds `stored` (a key as Stored gives it), field by field
// on the record's bytes: the one test of a payment's key.
bool SameKey(const PaymentRec& rec, const PaymentKey& stored) {
  return rec.PaymentNumber() == stored.number && rec.PartnerNumber() == stored.partner &&
         FieldView(rec, PaymentRec::kValueDate) == stored.valueDate &&
         FieldView(rec, PaymentRec::kPartnerType) == stored.kind;
}

bool SameParty(const PaymentRec& a, const PaymentRec& b) {
  return a.ValueDate() == b.ValueDate() && a.PartnerType() == b.PartnerType() &&
         a.PartnerNumber() == b.PartnerNumber();
}

}  // namespace

PaymentKey PaymentKeyOf(const PaymentRec& rec) {
  return {rec.ValueDate(), rec.PartnerType(), rec.PartnerNumber(), rec.PaymentNumber()};
}

bool HasPaymentKey(const PaymentRec& rec, const PaymentKey& key) { return SameKey(rec, Stored(key)); }

namespace {
// The place text of a record into `out` (reused, so a scan builds no
// string per record).
void PlaceTextInto(const PaymentRec& rec, std::string& out) {
  out.clear();
  out.append(FieldView(rec, PaymentRec::kValueDate));
  out.append(FieldView(rec, PaymentRec::kPartnerType));
  AppendDecimal(out, rec.PartnerNumber());
}
}  // namespace

std::string PaymentPlaceText(const PaymentRec& rec) {
  std::string out;
  PlaceTextInto(rec, out);
  return out;
}

std::optional<int> LocatePayment(const PaymentKey& key) {
  const PaymentKey k = Stored(key);
  return FindLastWhere<PaymentRec>(FileCode::PAY, [&](const PaymentRec& r) { return SameKey(r, k); });
}

PaymentResult InsertPayment(PaymentRec rec) {
  const std::string text = PaymentPlaceText(rec);
  rec.SetVoucherCreated(false);
  StampDocument(rec);

  store::ScopedFileSet set(kPaymentSet);
  if (!set.Ok()) return SetFailed<PaymentResult>(set);
  // The run of equal place texts before the insert point gives the highest
  // number in use.
  std::int32_t highest = 0;
  const auto at = InsertPoint<PaymentRec>(
      FileCode::PAY, text, PlaceTextInto,
      [&](const PaymentRec& r) {
        if (SameParty(r, rec)) highest = std::max(highest, r.PaymentNumber());
        return true;
      },
      [](const PaymentRec& r) { return FieldView(r, PaymentRec::kValueDate); });
  rec.SetPaymentNumber(highest + 1);
  store::InsertRecords(FileCode::PAY, *at, rec.data());
  set.Close();
  return WrittenAt(rec, *at);
}

PaymentResult ChangePayment(PaymentRec rec, const LoadedPayment& loaded) {
  const PaymentKey key = PaymentKeyOf(loaded.record);
  if (!(PaymentKeyOf(rec) == key)) return OutcomeOnly<PaymentRec>(DocumentOutcome::NotLoaded);
  return ChangeDocument(
      kPaymentSet, FileCode::PAY, std::move(rec), loaded, [&](const PaymentRec& r) { return SameKey(r, key); },
      [](PaymentRec& r, const PaymentRec&) { r.SetVoucherCreated(false); });
}

PaymentResult DeletePayment(const LoadedPayment& loaded) {
  const PaymentKey key = PaymentKeyOf(loaded.record);
  return DeleteDocument(kPaymentSet, FileCode::PAY, loaded, [&](const PaymentRec& r) { return SameKey(r, key); });
}

PaymentResult FindPayment(const PaymentKey& key) {
  return FindDocument<PaymentRec>(kPaymentSet, FileCode::PAY, [&] { return LocatePayment(key); });
}

bool PassesPaymentFilter(const PaymentRec& rec, const PaymentFilter& f) {
  const bool any = (f.withoutVoucher && !rec.VoucherCreated()) || f.all || (f.linked && HasPaymentKey(rec, *f.linked)) ||
                   (f.entryNumber && rec.EntryNumber() == *f.entryNumber);
  if (!any) return false;
  return !f.partner || (rec.PartnerType() == records::CodeOf(f.partner->kind) && rec.PartnerNumber() == f.partner->number);
}

PaymentPage ListPayments(const PaymentFilter& filter, int page) {
  return ListDocuments<PaymentRec>(kPaymentSet, FileCode::PAY, page,
                                   [&](const PaymentRec& r) { return PassesPaymentFilter(r, filter); });
}

DocumentCheck AnyPaymentWithoutVoucherBefore(const std::string& date) {
  return CheckWithoutVoucher<PaymentRec>(kPaymentSet, FileCode::PAY, date,
                                         [](const PaymentRec& r) { return r.ValueDate(); });
}

DocumentCheck AnyDocumentWithoutVoucherBefore(const std::string& date) {
  store::ScopedFileSet set("INV;PAY");
  if (!set.Ok()) return SetFailed<DocumentCheck>(set);
  DocumentCheck out = AnyInvoiceWithoutVoucherBefore(date);
  if (out.Ok()) EarliestWithoutVoucher<PaymentRec>(FileCode::PAY, date, [](const PaymentRec& r) { return r.ValueDate(); }, out);
  set.Close();
  return out;
}

PaymentResult SetPaymentVoucherCreated(const PaymentKey& key, bool created) {
  return MarkDocument<PaymentRec>(kPaymentSet, FileCode::PAY, [&] { return LocatePayment(key); },
                                  [&](PaymentRec& r) { r.SetVoucherCreated(created); });
}

}  // namespace books::journal
