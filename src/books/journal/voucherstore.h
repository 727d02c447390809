// The voucher store: the journal vouchers of an administration in the
// voucher file JVO ("book.vlk"), kept in ascending byte order of the key
// date + voucher number, and the marks that saving and deleting leave on the
// invoice file INV (paid amount, voucher created) and the payment file PAY
// (voucher created).
//
// Every operation is one call that takes a voucher value (src/books/journal/voucher.h)
// and returns a `StoreResult`: an outcome and, where one was read, the
// voucher as loaded (a save or a delete: a `StoreWriteResult`, where it wrote). The store reads no form and shows nothing; the form
// shows the message the outcome names (`LanguageOffsetOf`) and the voucher
// it got back.
//
// Rules the store keeps:
// - Every check runs before the first write: a refused save or delete
//   leaves JVO, INV and PAY byte for byte as they were.
// - A change or a delete hands back the voucher it loaded; under the set's
//   lock the store checks that the file still holds exactly those records
//   at that place (and no further record of the key). When another copy
//   changed or deleted the voucher meanwhile, nothing is written and the
//   outcome is `ChangedInAnotherCopy` (a change never brings back a voucher
//   another copy deleted).
// - A change moves the later records of the file once: the old run is
//   replaced by the new one (store::ReplaceRecords), in place when the line
//   count stays the same. An add inserts once at its sorted place (after the
//   last record whose key is not greater), an append for a voucher dated
//   last.
// - Invoices and payments are found field by field (date, kind, partner,
//   number) by the invoice and payment stores' own key tests
//   (src/books/journal/invoicestore.h, src/books/journal/paymentstore.h), and the same key
//   raises a paid amount at save and lowers it at delete. Flags and paid
//   amounts change only when the voucher was really written or removed.
//   The marks on their own (a paid amount, a voucher flag) are the invoice
//   and payment stores' calls.
// - Reads go backwards from the end of the file in blocks that grow, so a
//   voucher near the end costs a few reads and one at the start about one
//   sequential read of the file.
// - An I/O error part-way raises platform::IoError after the set closed
//   (the event boundary shows it); the record moves are crash-safe, so no
//   other voucher is lost.
#pragma once

#include <optional>
#include <string>

#include "books/journal/voucher.h"
#include "store/result.h"
#include "store/scopedfileset.h"

namespace books::journal {

enum class StoreOutcome {
  Done,                  // saved, deleted, read, or the mark updated
  FileSetFailed,         // the set did not open: see `failure`
  // Refused before any file opened (the entry screen's Save test also
  // keeps them out):
  NumberTooLong,         // the typed number is over 20 bytes
  SystemNumber,          // "! SYSTEM" or "{SYSTEM}" outside the profit save
  InvalidDate,           // the date is no "YYYYMMDD" of a real day
  TooManyLines,          // more than eight lines
  AccountMissing,        // a line with an amount has no account number
  TooFewLines,           // fewer than two lines left after netting
  Unbalanced,            // debit total and credit total differ
  BeforeOpenPeriod,      // dated before the lowest open date of the
                         // settings as read under the store's lock (a
                         // period frozen meanwhile in another copy)
  NotLoaded,             // a change or delete of a voucher not loaded, or
                         // with another key than the loaded one
  Locked,                // the loaded voucher is locked (over eight lines,
                         // an invalid date, a system number)
  // Found in the file:
  Duplicate,             // add: the key exists already
  ChangedInAnotherCopy,  // change or delete: the file no longer holds the
                         // loaded voucher as it was read
  FileEmpty,             // the voucher file is empty
  NotFound,              // delete or go-to: no voucher with that key;
                         // a mark: no such invoice or payment
  NoEarlier,             // previous: no earlier voucher (of the journal)
  NoLater,               // next: no later voucher (of the journal)
};

// The answer of a read; the value: the voucher read, where one was.
using StoreResult = store::Result<StoreOutcome, LoadedVoucher>;

// Where a save or a delete changed the voucher file.
struct VoucherPlace {
  int first = -1;  // save: where the voucher now lies; delete: where it lay
  int count = 0;   // save: records written; delete: removed
};
// The answer of a save or a delete; the value (Done only): where it wrote.
using StoreWriteResult = store::Result<StoreOutcome, VoucherPlace>;

// The language offset of the message an outcome names; 0 when the form
// shows a program-carried text of its own (or nothing: Done).
int LanguageOffsetOf(StoreOutcome outcome);

// The checks a save makes before it opens a file, in that order; Done when
// the voucher may be saved. The lines are counted after netting.
StoreOutcome CheckVoucher(const Voucher& v);
// The lines a save writes (netted non-zero lines; lines 1 and 2 always in a
// profit save).
int WrittenLineCount(const Voucher& v);
// The records a save writes for `v`, stamped with `user` and `changedAt`.
// The first record written carries the partner and the link: the partner
// number (-1 when none) and kind; when it is a read-only line, the invoice
// number of an invoice link. A later read-only line carries the partner and,
// when its text is "YYYYMMDD/number", that invoice number. Editable lines
// carry partner number 0 and the partner's kind code. Texts are padded with
// blanks to their fields.
std::vector<records::JournalVoucherRec> VoucherRecords(const Voucher& v, std::string_view user,
                                                       std::string_view changedAt);

// The lowest open date of the settings as ADS holds them now (ADS in the
// caller's open set): a save or delete of a voucher dated before it is
// refused (BeforeOpenPeriod). Empty when ADS holds no settings; a damaged
// settings file raises the I/O error that names it.
std::string StoredLowestOpenDate();

// Saves `v` by its mode. Except in the profit mode, a date before the
// lowest open date of ADS as read inside the store's own set is refused
// (BeforeOpenPeriod), so that no copy books into a period another copy
// froze meanwhile. Add and Profit: refused when the key exists;
// inserted at the sorted place. Change: `loaded` is the voucher as read; it
// is replaced by `v`, which keeps the loaded voucher's link (`LinkOf`, not
// `v.link`). Then the marks: an invoice link sets the invoice's
// voucher-created flag, a payment link the payment's, and each read-only
// invoice line raises that invoice's paid amount (a change first takes the
// old lines' amounts off). A profit save touches no invoice or payment.
StoreWriteResult SaveVoucher(const Voucher& v, const std::optional<LoadedVoucher>& loaded = std::nullopt);

// Deletes the voucher with `v`'s date and number. With `loaded` (the entry
// screen) only when the file still holds it as read and its date is not
// before the lowest open date (BeforeOpenPeriod), and not when it has
// over eight lines or an invalid date (Locked); without (the unfreeze
// deleting the system vouchers) whatever the key holds. Takes each linked
// line's amount off its invoice and clears the flag of the deleted
// records' own link (`LinkOf`; `v.link` is not read).
StoreWriteResult DeleteVoucher(const Voucher& v, const std::optional<LoadedVoucher>& loaded = std::nullopt);

// The voucher before the key `date` + `number` (of `journal` when given),
// the one after it, and the last one. The key need not exist.
StoreResult ReadPreviousVoucher(const std::string& date, const std::string& number,
                                const std::optional<std::string>& journal = std::nullopt);
StoreResult ReadNextVoucher(const std::string& date, const std::string& number,
                            const std::optional<std::string>& journal = std::nullopt);
StoreResult ReadLastVoucher(const std::optional<std::string>& journal = std::nullopt);
// The voucher with the key `date` + `number`: NotFound when there is none.
StoreResult FindVoucher(const std::string& date, const std::string& number);
// The voucher with the key or else the next one after it (the selection
// panel's "go to"): NoLater when there is none.
StoreResult FindNearestVoucher(const std::string& date, const std::string& number,
                               const std::optional<std::string>& journal = std::nullopt);
// The voucher proposed for an invoice or a payment: NotFound when it was
// never saved.
StoreResult FindVoucherOf(const InvoiceKey& invoice);
StoreResult FindVoucherOf(const PaymentKey& payment);

}  // namespace books::journal
