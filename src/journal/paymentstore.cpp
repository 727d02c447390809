// The payment store (see paymentstore.h).
#include "journal/paymentstore.h"

#include <algorithm>
#include <utility>

#include "journal/invoicestore.h"
#include "shell/fileset.h"
#include "shell/textroutines.h"

namespace journal {

namespace {

using records::PaymentRec;
using shell::FileCode;

constexpr const char* kPaymentSet = "PAY";

PaymentResult Outcome(DocumentOutcome o) {
  PaymentResult r;
  r.outcome = o;
  return r;
}

PaymentResult Failed(const shell::ScopedFileSet& set) {
  PaymentResult r;
  r.outcome = DocumentOutcome::FileSetFailed;
  r.failure = set.Failure();
  return r;
}

PaymentResult Written(const PaymentRec& rec, int index) {
  PaymentResult r;
  r.document = LoadedPayment{rec, index};
  return r;
}

PaymentKey Stored(const PaymentKey& key) {
  return {shell::Cut(key.valueDate, PaymentRec::kValueDate.capacity),
          shell::Cut(key.kind, PaymentRec::kPartnerType.capacity), key.partner, key.number};
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

void Stamp(PaymentRec& rec) {
  rec.SetChangedBy(DocumentStampUser());
  rec.SetChangedAt(DocumentStampTime());
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
  Stamp(rec);

  shell::ScopedFileSet set(kPaymentSet);
  if (!set.Ok()) return Failed(set);
  // Back from the end to the last record whose place text is not greater;
  // the run of equal texts before it gives the highest number in use.
  int at = 0;
  bool placed = false;
  std::int32_t highest = 0;
  std::string other;
  BackwardScan<PaymentRec> scan(FileCode::PAY, shell::RecordCount(FileCode::PAY));
  while (const PaymentRec* r = scan.Previous()) {
    PlaceTextInto(*r, other);
    const int c = other.compare(text);
    if (c > 0) continue;
    if (!placed) {
      at = scan.Index() + 1;
      placed = true;
    }
    if (c < 0) break;
    if (SameParty(*r, rec)) highest = std::max(highest, r->PaymentNumber());
  }
  rec.SetPaymentNumber(highest + 1);
  shell::InsertRecords(FileCode::PAY, at, rec.data());
  set.Close();
  return Written(rec, at);
}

PaymentResult ChangePayment(PaymentRec rec, const LoadedPayment& loaded) {
  const PaymentKey key = PaymentKeyOf(loaded.record);
  if (!(PaymentKeyOf(rec) == key)) return Outcome(DocumentOutcome::NotLoaded);
  if (loaded.record.VoucherCreated()) return Outcome(DocumentOutcome::HasVoucher);

  shell::ScopedFileSet set(kPaymentSet);
  if (!set.Ok()) return Failed(set);
  const auto [o, at] =
      Relocate<PaymentRec>(FileCode::PAY, loaded, [&](const PaymentRec& r) { return SameKey(r, key); });
  if (o != DocumentOutcome::Done) return Outcome(o);
  rec.SetVoucherCreated(false);
  Stamp(rec);
  shell::WriteRecord(FileCode::PAY, at, rec);
  set.Close();
  return Written(rec, at);
}

PaymentResult DeletePayment(const LoadedPayment& loaded) {
  if (loaded.record.VoucherCreated()) return Outcome(DocumentOutcome::HasVoucher);
  const PaymentKey key = PaymentKeyOf(loaded.record);
  shell::ScopedFileSet set(kPaymentSet);
  if (!set.Ok()) return Failed(set);
  const auto [o, at] =
      Relocate<PaymentRec>(FileCode::PAY, loaded, [&](const PaymentRec& r) { return SameKey(r, key); });
  if (o == DocumentOutcome::ChangedInAnotherCopy) {
    // Booked meanwhile by another copy: say so rather than "changed".
    PaymentRec now;
    shell::ReadRecord(FileCode::PAY, at, now);
    if (now.VoucherCreated()) return Outcome(DocumentOutcome::HasVoucher);
  }
  if (o != DocumentOutcome::Done) return Outcome(o);
  shell::DeleteRecords(FileCode::PAY, at, 1);
  set.Close();
  return Written(loaded.record, at);
}

PaymentResult FindPayment(const PaymentKey& key) {
  shell::ScopedFileSet set(kPaymentSet);
  if (!set.Ok()) return Failed(set);
  const auto at = LocatePayment(key);
  if (!at) return Outcome(DocumentOutcome::NotFound);
  PaymentRec rec;
  shell::ReadRecord(FileCode::PAY, *at, rec);
  set.Close();
  return Written(rec, *at);
}

bool PassesPaymentFilter(const PaymentRec& rec, const PaymentFilter& f) {
  const bool any = (f.withoutVoucher && !rec.VoucherCreated()) || f.all || (f.linked && HasPaymentKey(rec, *f.linked)) ||
                   (f.entryNumber && rec.EntryNumber() == *f.entryNumber);
  if (!any) return false;
  return !f.partner || (rec.PartnerType() == f.partner->kind && rec.PartnerNumber() == f.partner->number);
}

PaymentPage ListPayments(const PaymentFilter& filter, int page) {
  shell::ScopedFileSet set(kPaymentSet);
  if (!set.Ok()) {
    PaymentPage p;
    p.outcome = DocumentOutcome::FileSetFailed;
    p.failure = set.Failure();
    return p;
  }
  PaymentPage p =
      PageWhere<PaymentRec>(FileCode::PAY, page, [&](const PaymentRec& r) { return PassesPaymentFilter(r, filter); });
  set.Close();
  return p;
}

DocumentCheck AnyPaymentWithoutVoucherBefore(const std::string& date) {
  DocumentCheck out;
  shell::ScopedFileSet set(kPaymentSet);
  if (!set.Ok()) {
    out.outcome = DocumentOutcome::FileSetFailed;
    out.failure = set.Failure();
    return out;
  }
  EarliestWithoutVoucher<PaymentRec>(FileCode::PAY, date, [](const PaymentRec& r) { return r.ValueDate(); }, out);
  set.Close();
  return out;
}

DocumentCheck AnyDocumentWithoutVoucherBefore(const std::string& date) {
  shell::ScopedFileSet set("INV;PAY");
  if (!set.Ok()) {
    DocumentCheck out;
    out.outcome = DocumentOutcome::FileSetFailed;
    out.failure = set.Failure();
    return out;
  }
  DocumentCheck out = AnyInvoiceWithoutVoucherBefore(date);
  if (out.Ok()) EarliestWithoutVoucher<PaymentRec>(FileCode::PAY, date, [](const PaymentRec& r) { return r.ValueDate(); }, out);
  set.Close();
  return out;
}

PaymentResult SetPaymentVoucherCreated(const PaymentKey& key, bool created) {
  shell::ScopedFileSet set(kPaymentSet);
  if (!set.Ok()) return Failed(set);
  const auto at = LocatePayment(key);
  if (!at) return Outcome(DocumentOutcome::NotFound);
  PaymentRec rec;
  shell::ReadRecord(FileCode::PAY, *at, rec);
  rec.SetVoucherCreated(created);
  shell::WriteRecord(FileCode::PAY, *at, rec);
  set.Close();
  return Written(rec, *at);
}

}  // namespace journal
