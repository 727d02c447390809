// The invoice store: the sales and purchase invoice summaries of an
// administration in the invoice file INV ("invsum.vlk"), one
// records::InvoiceRec each, kept in ascending order of the key text book
// date + kind + partner number in decimal + invoice number (byte order).
//
// Every operation is one call that opens its own set (nested into a set the
// caller holds) and returns a value (documentstore.h); the store reads no
// form and shows nothing.
//
// Rules the store keeps:
// - Two invoices are the same only when book date, kind, partner number and
//   invoice number are equal field by field: partner 1 with "23" and
//   partner 12 with "3" are two invoices, although their key texts are
//   equal. The key text only places records: a new invoice goes in after
//   the last record whose key text is not greater (store::InsertRecords), so
//   an unsorted file (an import) still gets a fixed place.
// - Numbers enter without blanks at their ends (the invoice tab and the
//   import trim them), but older files may hold " F1" or "F1 ". Placement,
//   duplicates, changes and deletes compare the stored bytes; where a
//   voucher names an invoice (`HasInvoiceKey`, `LocateInvoice` and the marks
//   built on it) the number is compared without blanks at either end, the
//   very bytes first, so that such an invoice is paid like any other.
// - A new invoice gets PaidAmount = PrepaidAmount and no voucher; a change
//   of a loaded invoice keeps its key, its voucher flag and the payments
//   booked on it: PaidAmount = new prepaid + stored paid - stored prepaid.
//   Both are stamped with the current user and time.
// - A change or delete only when the file still holds the loaded invoice as
//   read (documentstore.h); an invoice whose voucher exists is neither
//   changed nor deleted (`HasVoucher`).
// - The voucher store marks invoices through `AdjustInvoicePaid` and
//   `SetInvoiceVoucherCreated`, or, inside its own set, `LocateInvoice`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "books/journal/documentstore.h"
#include "books/journal/voucher.h"
#include "records/invoicerec.h"

namespace books::journal {

using LoadedInvoice = LoadedDocument<records::InvoiceRec>;
using InvoiceResult = DocumentResult<records::InvoiceRec>;
using InvoicePage = DocumentPage<records::InvoiceRec>;
using InvoiceList = DocumentList<records::InvoiceRec>;

// The key of a stored invoice.
InvoiceKey InvoiceKeyOf(const records::InvoiceRec& rec);
// Whether `rec` is the invoice `key` names: field by field, the key's texts
// taken as they would be stored (cut to their fields), the two numbers
// without blanks at either end.
bool HasInvoiceKey(const records::InvoiceRec& rec, const InvoiceKey& key);
// The key text that places an invoice: book date + kind + decimal partner
// + number, each as stored.
std::string InvoicePlaceText(const InvoiceKey& key);

// What an invoice still owes in units of the amount decimals of the settings
// (0..4): its amount's units less its paid amount's units, each counted as
// the screen shows it (text::ToCents), so that an invoice shown as paid in
// full owes nothing and sums of paid amounts that miss by a rounding error
// count as paid; nullopt when either amount cannot be counted.
std::optional<std::int64_t> OwingUnits(const records::InvoiceRec& rec, int decimals);
// Whether an invoice still owes something, and owes a positive amount.
bool InvoiceOwes(const records::InvoiceRec& rec, int decimals);
bool InvoiceOwesPositive(const records::InvoiceRec& rec, int decimals);

// ---- Inside an open set holding INV (the voucher store's marks).

// The index of the last record with `key` byte for byte, else of the last
// one that has it by `HasInvoiceKey`.
std::optional<int> LocateInvoice(const InvoiceKey& key);

// ---- Stores

// Stores `rec` as a new invoice at its sorted place (see the file comment).
// Duplicate when an invoice with its key exists. Returns the record as
// written and its index.
InvoiceResult InsertInvoice(records::InvoiceRec rec);
// Writes `rec` over the invoice `loaded` (as listed or found). NotLoaded
// when `rec` has another key; HasVoucher when the loaded invoice has its
// voucher; NotFound or ChangedInAnotherCopy from the file.
InvoiceResult ChangeInvoice(records::InvoiceRec rec, const LoadedInvoice& loaded);
// Deletes the invoice `loaded`: HasVoucher when its voucher exists (as
// loaded or as the file holds it now); NotFound (nothing changed) when it
// is gone; ChangedInAnotherCopy when its record changed. Later records move
// down, the file is cut by one.
InvoiceResult DeleteInvoice(const LoadedInvoice& loaded);
// The invoice with `key`: NotFound when there is none.
InvoiceResult FindInvoice(const InvoiceKey& key);

// ---- Lists

// The invoice list's filters. A record passes when at least one of the
// chosen conditions holds (owing, without voucher, all, the linked invoice,
// the entry number) and, with a partner, its kind and number are the
// partner's.
struct InvoiceFilter {
  bool owing = true;           // amount <> paid
  bool withoutVoucher = true;  // no voucher yet
  bool all = false;
  std::optional<InvoiceKey> linked;         // the go-to-document: exactly this invoice
  std::optional<std::string> entryNumber;   // EntryNumber equals it
  std::optional<DocumentPartner> partner;   // kind and number equal
};
bool PassesInvoiceFilter(const records::InvoiceRec& rec, const InvoiceFilter& filter, int decimals);

// Page `page` (from 0; negative is 0) of the invoices that pass `filter`,
// newest first. FileEmpty for an empty file, NotFound when the page is empty.
InvoicePage ListInvoices(const InvoiceFilter& filter, int page = 0);
// Every invoice of the partner (`kind` a customer or a vendor, `partner`)
// that owes a positive amount, newest first.
InvoiceList OpenInvoicesOf(records::DocumentKind kind, std::int32_t partner);
// Whether an invoice without voucher has a book date before `date`
// ("YYYYMMDD"); `date` of the result is the earliest such book date.
DocumentCheck AnyInvoiceWithoutVoucherBefore(const std::string& date);

// ---- Marks of the voucher store, each in its own set: NotFound when no
// invoice has the key.
InvoiceResult SetInvoiceVoucherCreated(const InvoiceKey& key, bool created);
// The paid amount moves by `delta`.
InvoiceResult AdjustInvoicePaid(const InvoiceKey& key, double delta);

}  // namespace books::journal
