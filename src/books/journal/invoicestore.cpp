// The invoice store (see invoicestore.h).
#include "books/journal/invoicestore.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "store/fileset.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "text/amount.h"

namespace books::journal {

namespace {

using records::InvoiceRec;
using store::FileCode;

constexpr const char* kInvoiceSet = "INV";

// The key as it would be stored: each text cut to its field.
InvoiceKey Stored(const InvoiceKey& key) {
  return {text::Cut(key.bookDate, InvoiceRec::kVoucherDate.capacity),
          text::Cut(key.kind, InvoiceRec::kPartnerType.capacity), key.partner,
          text::Cut(key.number, InvoiceRec::kInvoiceNumber.capacity)};
}

// Whether `rec` holds `stored` (a key as Stored gives it), field by field
// on the record's bytes: the one test of an invoice's key.
bool SameKey(const InvoiceRec& rec, const InvoiceKey& stored) {
  return rec.PartnerNumber() == stored.partner && FieldView(rec, InvoiceRec::kInvoiceNumber) == stored.number &&
         FieldView(rec, InvoiceRec::kVoucherDate) == stored.bookDate &&
         FieldView(rec, InvoiceRec::kPartnerType) == stored.kind;
}

// The text without blanks (and control bytes) at either end.
std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Whether `rec` is the invoice `stored` names as a voucher line names it:
// the number compared without blanks at either end, so that an invoice
// stored with a blank before or after its number is still found.
bool SameKeyTrimmed(const InvoiceRec& rec, const InvoiceKey& stored) {
  return rec.PartnerNumber() == stored.partner &&
         Trimmed(FieldView(rec, InvoiceRec::kInvoiceNumber)) == Trimmed(stored.number) &&
         FieldView(rec, InvoiceRec::kVoucherDate) == stored.bookDate &&
         FieldView(rec, InvoiceRec::kPartnerType) == stored.kind;
}


// The place text of a stored record into `out` (reused, so a scan builds
// no string per record).
void PlaceTextInto(const InvoiceRec& rec, std::string& out) {
  out.clear();
  out.append(FieldView(rec, InvoiceRec::kVoucherDate));
  out.append(FieldView(rec, InvoiceRec::kPartnerType));
  AppendDecimal(out, rec.PartnerNumber());
  out.append(FieldView(rec, InvoiceRec::kInvoiceNumber));
}

}  // namespace

InvoiceKey InvoiceKeyOf(const InvoiceRec& rec) {
  return {rec.VoucherDate(), rec.PartnerType(), rec.PartnerNumber(), rec.InvoiceNumber()};
}

bool HasInvoiceKey(const InvoiceRec& rec, const InvoiceKey& key) { return SameKeyTrimmed(rec, Stored(key)); }

std::string InvoicePlaceText(const InvoiceKey& key) {
  const InvoiceKey k = Stored(key);
  std::string out = k.bookDate + k.kind;
  AppendDecimal(out, k.partner);
  return out + k.number;
}

std::optional<std::int64_t> OwingUnits(const InvoiceRec& rec, int decimals) {
  const std::optional<std::int64_t> amount = text::ToCents(rec.InvoiceAmount(), decimals);
  const std::optional<std::int64_t> paid = text::ToCents(rec.PaidAmount(), decimals);
  if (!amount || !paid) return std::nullopt;
  return *amount - *paid;
}

bool InvoiceOwes(const InvoiceRec& rec, int decimals) {
  return OwingUnits(rec, decimals).value_or(0) != 0;
}

bool InvoiceOwesPositive(const InvoiceRec& rec, int decimals) {
  return OwingUnits(rec, decimals).value_or(0) > 0;
}

std::optional<int> LocateInvoice(const InvoiceKey& key) {
  const InvoiceKey k = Stored(key);
  // One scan from the end: the last invoice with the very bytes, else the
  // last one whose number differs only by blanks at its ends.
  std::optional<int> trimmed;
  BackwardScan<InvoiceRec> scan(FileCode::INV, store::RecordCount(FileCode::INV));
  while (const InvoiceRec* r = scan.Previous()) {
    if (SameKey(*r, k)) return scan.Index();
    if (!trimmed && SameKeyTrimmed(*r, k)) trimmed = scan.Index();
  }
  return trimmed;
}

InvoiceResult InsertInvoice(InvoiceRec rec) {
  const InvoiceKey key = InvoiceKeyOf(rec);
  const std::string text = InvoicePlaceText(key);
  rec.SetPaidAmount(rec.PrepaidAmount());
  rec.SetVoucherCreated(false);
  StampDocument(rec);

  store::ScopedFileSet set(kInvoiceSet);
  if (!set.Ok()) return SetFailed<InvoiceResult>(set);
  // The records with an equal key text before the insert point are checked
  // for the key.
  const auto at = InsertPoint<InvoiceRec>(
      FileCode::INV, text, PlaceTextInto, [&](const InvoiceRec& r) { return !SameKey(r, key); },
      [](const InvoiceRec& r) { return FieldView(r, InvoiceRec::kVoucherDate); });
  if (!at) return OutcomeOnly<InvoiceRec>(DocumentOutcome::Duplicate);
  store::InsertRecords(FileCode::INV, *at, rec.data());
  set.Close();
  return WrittenAt(rec, *at);
}

InvoiceResult ChangeInvoice(InvoiceRec rec, const LoadedInvoice& loaded) {
  const InvoiceKey key = InvoiceKeyOf(loaded.record);
  if (!(InvoiceKeyOf(rec) == key)) return OutcomeOnly<InvoiceRec>(DocumentOutcome::NotLoaded);
  return ChangeDocument(
      kInvoiceSet, FileCode::INV, std::move(rec), loaded, [&](const InvoiceRec& r) { return SameKey(r, key); },
      [](InvoiceRec& r, const InvoiceRec& stored) {
        r.SetPaidAmount(r.PrepaidAmount() + stored.PaidAmount() - stored.PrepaidAmount());
        r.SetVoucherCreated(stored.VoucherCreated());
      });
}

InvoiceResult DeleteInvoice(const LoadedInvoice& loaded) {
  const InvoiceKey key = InvoiceKeyOf(loaded.record);
  return DeleteDocument(kInvoiceSet, FileCode::INV, loaded, [&](const InvoiceRec& r) { return SameKey(r, key); });
}

InvoiceResult FindInvoice(const InvoiceKey& key) {
  return FindDocument<InvoiceRec>(kInvoiceSet, FileCode::INV, [&] { return LocateInvoice(key); });
}

bool PassesInvoiceFilter(const InvoiceRec& rec, const InvoiceFilter& f, int decimals) {
  const bool any = (f.owing && InvoiceOwes(rec, decimals)) || (f.withoutVoucher && !rec.VoucherCreated()) || f.all ||
                   (f.linked && HasInvoiceKey(rec, *f.linked)) ||
                   (f.entryNumber && rec.EntryNumber() == *f.entryNumber);
  if (!any) return false;
  return !f.partner || (rec.PartnerType() == records::CodeOf(f.partner->kind) && rec.PartnerNumber() == f.partner->number);
}

InvoicePage ListInvoices(const InvoiceFilter& filter, int page) {
  const int decimals = text::SystemSettings.AmountDecimals;
  return ListDocuments<InvoiceRec>(kInvoiceSet, FileCode::INV, page,
                                   [&](const InvoiceRec& r) { return PassesInvoiceFilter(r, filter, decimals); });
}

InvoiceList OpenInvoicesOf(records::DocumentKind kind, std::int32_t partner) {
  const std::string_view code = records::CodeOf(kind);
  const int decimals = text::SystemSettings.AmountDecimals;
  store::ScopedFileSet set(kInvoiceSet);
  if (!set.Ok()) return SetFailed<InvoiceList>(set);
  std::vector<LoadedInvoice> documents;
  BackwardScan<InvoiceRec> scan(FileCode::INV, store::RecordCount(FileCode::INV));
  while (const InvoiceRec* r = scan.Previous())
    if (r->PartnerType() == code && r->PartnerNumber() == partner && InvoiceOwesPositive(*r, decimals))
      documents.push_back({*r, scan.Index()});
  set.Close();
  return {DocumentOutcome::Done, {}, std::move(documents)};
}

DocumentCheck AnyInvoiceWithoutVoucherBefore(const std::string& date) {
  return CheckWithoutVoucher<InvoiceRec>(kInvoiceSet, FileCode::INV, date,
                                         [](const InvoiceRec& r) { return r.VoucherDate(); });
}

namespace {
template <class Change>
InvoiceResult ChangeMark(const InvoiceKey& key, Change change) {
  return MarkDocument<InvoiceRec>(kInvoiceSet, FileCode::INV, [&] { return LocateInvoice(key); }, change);
}
}  // namespace

InvoiceResult SetInvoiceVoucherCreated(const InvoiceKey& key, bool created) {
  return ChangeMark(key, [&](InvoiceRec& r) { r.SetVoucherCreated(created); });
}

InvoiceResult AdjustInvoicePaid(const InvoiceKey& key, double delta) {
  return ChangeMark(key, [&](InvoiceRec& r) { r.SetPaidAmount(r.PaidAmount() + delta); });
}

}  // namespace books::journal
