// The payment store: the bank and cash movements of an administration in
// the payment file PAY ("payment.vlk"), one records::PaymentRec each, kept
// in ascending order of the place text value date + kind + partner number
// in decimal (byte order); payments with equal such texts keep the order
// they were stored in and carry ascending payment numbers.
//
// Every operation is one call that opens its own set (nested into a set the
// caller holds) and returns a value (documentstore.h); the store reads no
// form and shows nothing.
//
// Rules the store keeps:
// - Two payments are the same only when value date, kind, partner number and
//   payment number are equal field by field (`HasPaymentKey`, the one test
//   of a payment's key that every reader uses): partner 1 with payment 23
//   and partner 12 with payment 3 are two payments.
// - A new payment goes in after the last record whose place text is not
//   greater (store::InsertRecords) and is numbered one above the highest
//   number of the payments of its date, kind and partner (1 for the first).
//   The number is given once: a change keeps it, and the store hands the
//   written record back so that the form shows it and stores no second copy.
// - A new or changed payment has no voucher and is stamped with the current
//   user and time; a change or delete only when the file still holds the
//   loaded payment as read (documentstore.h), never of a payment whose
//   voucher exists (`HasVoucher`).
// - The voucher store marks payments through `SetPaymentVoucherCreated`, or,
//   inside its own set, `LocatePayment`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "books/journal/documentstore.h"
#include "books/journal/voucher.h"
#include "records/paymentrec.h"

namespace books::journal {

using LoadedPayment = LoadedDocument<records::PaymentRec>;
using PaymentResult = DocumentResult<records::PaymentRec>;
using PaymentPage = DocumentPage<records::PaymentRec>;

// The key of a stored payment.
PaymentKey PaymentKeyOf(const records::PaymentRec& rec);
// Whether `rec` is the payment `key` names: field by field, the key's texts
// taken as they would be stored.
bool HasPaymentKey(const records::PaymentRec& rec, const PaymentKey& key);
// The text that places a payment: value date + kind + decimal partner.
std::string PaymentPlaceText(const records::PaymentRec& rec);

// ---- Inside an open set holding PAY (the voucher store's marks).

// The index of the last record with `key`.
std::optional<int> LocatePayment(const PaymentKey& key);

// ---- Stores

// Stores `rec` as a new payment at its sorted place with the next number
// of its date, kind and partner (the number in `rec` is not used). Returns
// the record as written (its number) and its index.
PaymentResult InsertPayment(records::PaymentRec rec);
// Writes `rec` over the payment `loaded`. NotLoaded when `rec` has another
// key; HasVoucher when the loaded payment has its voucher; NotFound or
// ChangedInAnotherCopy from the file.
PaymentResult ChangePayment(records::PaymentRec rec, const LoadedPayment& loaded);
// Deletes the payment `loaded`: HasVoucher when its voucher exists (as
// loaded or as the file holds it now); NotFound (nothing changed) when it
// is gone; ChangedInAnotherCopy when its record changed.
PaymentResult DeletePayment(const LoadedPayment& loaded);
// The payment with `key`: NotFound when there is none.
PaymentResult FindPayment(const PaymentKey& key);

// ---- Lists

// The payment list's filters. A record passes when at least one of the
// chosen conditions holds (without voucher, all, the linked payment, the
// entry number) and, with a partner, its kind and number are the partner's.
struct PaymentFilter {
  bool withoutVoucher = true;
  bool all = false;
  std::optional<PaymentKey> linked;        // the go-to-document: exactly this payment
  std::optional<std::string> entryNumber;  // EntryNumber equals it
  std::optional<DocumentPartner> partner;  // kind and number equal
};
bool PassesPaymentFilter(const records::PaymentRec& rec, const PaymentFilter& filter);

// Page `page` (from 0; negative is 0) of the payments that pass `filter`,
// newest first. FileEmpty for an empty file, NotFound when the page is empty.
PaymentPage ListPayments(const PaymentFilter& filter, int page = 0);
// Whether a payment without voucher has a value date before `date`; `date`
// of the result is the earliest such value date.
DocumentCheck AnyPaymentWithoutVoucherBefore(const std::string& date);
// The same over invoices (book date) and payments in one set "INV;PAY":
// the earliest date of either.
DocumentCheck AnyDocumentWithoutVoucherBefore(const std::string& date);

// ---- Mark of the voucher store, in its own set: NotFound when no payment
// has the key.
PaymentResult SetPaymentVoucherCreated(const PaymentKey& key, bool created);

}  // namespace books::journal
