// The journal voucher as a value: what the entry screen, the year-end
// closing and the unfreeze hand to the voucher store (src/books/journal/voucherstore.h),
// and what the store hands back when it read a voucher.
//
// The value holds state, never captions: the mode is an enum, the link is a
// typed key (none, an invoice, a payment) and the partner kind is its code
// ("CUS", "VEN", "REC", "PAY"). The store reads nothing from a form; a form
// fills a `Voucher` from its fields and shows what the store returns.
//
// Amounts are doubles as parsed from the screen, before netting: the store
// nets debit against credit itself. Texts are code page 1252 as typed,
// without the blanks that stored line texts are padded with.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "records/journalvoucherrec.h"

namespace books::journal {

// The system voucher numbers: the year-end profit closing's and a reserved
// one. Only the profit save writes them; the unfreeze deletes both.
inline constexpr const char* kProfitVoucherNumber = "! SYSTEM";
inline constexpr const char* kReservedVoucherNumber = "{SYSTEM}";
// The most lines a voucher has on the entry screen.
inline constexpr int kVoucherLines = 8;
// The room of the stored voucher number: a longer typed number is refused.
inline constexpr std::size_t kVoucherNumberRoom = 20;

enum class EntryMode {
  Add,     // a new voucher; an existing key is refused
  Change,  // the loaded voucher is replaced by this one
  Profit,  // the year-end closing's voucher: added, lines 1 and 2 always
           // written, the system number allowed
};

// An invoice as the voucher store finds it: field by field, as stored.
struct InvoiceKey {
  std::string bookDate;        // InvoiceRec.VoucherDate, "YYYYMMDD"
  std::string kind;            // "CUS" or "VEN"
  std::int32_t partner = 0;    // InvoiceRec.PartnerNumber
  std::string number;          // InvoiceRec.InvoiceNumber
  bool operator==(const InvoiceKey&) const = default;
};

// A payment, field by field.
struct PaymentKey {
  std::string valueDate;       // PaymentRec.ValueDate
  std::string kind;            // "CUS", "VEN", "REC" or "PAY"
  std::int32_t partner = 0;    // PaymentRec.PartnerNumber
  std::int32_t number = 0;     // PaymentRec.PaymentNumber
  bool operator==(const PaymentKey&) const = default;
};

// The document a voucher was proposed for: none, an invoice or a payment.
using VoucherLink = std::variant<std::monostate, InvoiceKey, PaymentKey>;

// The partner of a voucher with a partner.
struct VoucherPartner {
  std::int32_t number = 0;
  std::string kind;  // "CUS", "VEN", "REC" or "PAY"
  bool operator==(const VoucherPartner&) const = default;
};

struct VoucherHeader {
  std::string date;       // "YYYYMMDD"
  std::string number;     // as typed; over 20 bytes is refused
  std::string text;       // TransactionText
  std::string reference;  // DocumentId
  std::string journal;    // JournalName; empty when journals are not split
  bool operator==(const VoucherHeader&) const = default;
};

struct VoucherLine {
  std::string text;
  std::string account;
  std::string caption;
  std::string costCentre;
  double debit = 0;
  double credit = 0;
  // Proposed from an invoice or a payment and shown read-only. A read-only
  // line whose text is "YYYYMMDD/number" pays that invoice of the partner.
  bool readOnly = false;
  bool operator==(const VoucherLine&) const = default;
};

struct Voucher {
  VoucherHeader header;
  // Screen lines 1..8 in order; empty lines may stay (they are not written).
  std::vector<VoucherLine> lines;
  EntryMode mode = EntryMode::Add;
  VoucherLink link;
  std::optional<VoucherPartner> partner;
};

// A voucher as read from the voucher file: its records in file order and
// where they lie. A change or a delete hands it back, and the store writes
// only when the file still holds exactly these records there.
struct LoadedVoucher {
  std::vector<records::JournalVoucherRec> records;
  int first = 0;  // index of the first record in the file
  // The stored date is no real date: shown locked.
  bool invalidDate = false;
  // More than eight records share the key (possible through an import):
  // shown read-only with a warning, neither changed nor deleted.
  bool overEightLines = false;
  // "! SYSTEM" or "{SYSTEM}": shown locked.
  bool systemNumber = false;
  // Shown locked: neither saved nor deleted from the entry screen.
  bool Locked() const { return invalidDate || overEightLines || systemNumber; }
  int Count() const { return static_cast<int>(records.size()); }
  // VoucherDate + BookNumber of the first record.
  std::string Key() const;
};

// The document a stored voucher was proposed for, read from its first
// record: a voucher without partner (PartnerNumber -1) has none; with a
// partner, an invoice number on the first record makes it an invoice
// voucher and its number "KKKpartner/invoice" names the invoice, otherwise
// it is a payment voucher whose number "KKKpartner/payment" names the
// payment. A number of another shape names nothing (no link). The entry
// screen shows this link; a change and a delete mark this link's document,
// whatever the screen holds.
VoucherLink LinkOf(const LoadedVoucher& v);

// VoucherDate + BookNumber, the sort key of the voucher file (compared as
// bytes: std::string's ordering is that).
std::string VoucherKeyOf(const records::JournalVoucherRec& rec);
// The key of a voucher value: its date and its number as it will be stored.
std::string VoucherKeyOf(const VoucherHeader& header);

// The voucher number of a document's proposed voucher: kind + partner + "/"
// + document number ("CUS25/1001").
std::string VoucherNumberOf(const InvoiceKey& key);
std::string VoucherNumberOf(const PaymentKey& key);
// The linked-document texts back to keys: "20240517/CUS25/1001" as an
// invoice, "20240517/CUS25/3" as a payment; nullopt for a text of another
// shape (a payment number that is not a whole number, a kind that is not
// three letters, a partner that is not a number).
std::optional<InvoiceKey> ParseInvoiceLink(std::string_view text);
std::optional<PaymentKey> ParsePaymentLink(std::string_view text);

// The invoice a read-only line pays: its text "YYYYMMDD/number" with the
// voucher's partner; nullopt when the text has another shape (a partner
// line holds the partner number, without "/") or there is no partner.
std::optional<InvoiceKey> LinePaysInvoice(std::string_view lineText, const std::optional<VoucherPartner>& partner);

// One line netted: both amounts non-zero leave only their difference on
// the larger side (equal amounts leave both zero); a line with one amount
// keeps it as it is, a negative one too.
struct NettedAmounts {
  double debit = 0;
  double credit = 0;
  bool operator==(const NettedAmounts&) const = default;
};
NettedAmounts NetLine(double debit, double credit);

}  // namespace books::journal
