// The bank-statement import without a form: the rows of a split statement
// checked against a profile ("Next"), the entry numbers the payments get,
// and the run that stores each row as one payment through the payment store
// (src/books/journal/paymentstore.h), finds its partner by bank account and, when one
// open invoice of that partner owes exactly the amount, saves the voucher
// that pays it through the voucher store.
//
// Rules:
// - Bank accounts are compared with blanks removed and letters in upper
//   case, over the first 20 characters (the partner's field); a payment
//   stores the row's account so normalised, cut to its 15.
// - The row's direction decides the kind, and the partner is sought among
//   that kind only: a credit row is a customer payment ("CUS"), else a
//   receipt without partner ("REC"); a debit row a vendor payment ("VEN"),
//   else a payment without partner ("PAY"). No partner when the account is
//   empty, carried by several partners of the kind (ambiguous), or carried
//   only by a partner of the other kind (a refund).
// - Without a debit/credit column the amount's sign is the direction
//   (negative: debit); the amount is always stored without its sign.
// - Rows are refused for their content at Next, never during the run. Each
//   row is built afresh from an empty payment; the run's counter moves on
//   only when the row is stored, so a run that stopped starts again at the
//   first row not stored, and a row whose voucher the save's checks refused
//   is stored without it, once.
// - The partner files, INV and GLA are read once per run.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/journal/bankimport.h"
#include "books/journal/voucher.h"
#include "records/importprofilerec.h"
#include "records/invoicerec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "store/result.h"
#include "store/scopedfileset.h"

namespace books::journal {

// ---- The statement file ------------------------------------------------------

// A statement's bytes: code 0 when read, else the operating system's code
// (2 missing, 5 no access, ...).
struct StatementFile {
  int code = 0;
  std::string bytes;
};
StatementFile ReadStatementFile(const std::string& path);

// ---- Accounts ----------------------------------------------------------------

// The partner's field holds 20 characters, the payment's 15.
inline constexpr std::size_t kMatchAccountRoom = 20;
inline constexpr std::size_t kStoredAccountRoom = 15;

// `account` without blanks, letters in upper case, cut to 20.
std::string MatchAccount(std::string_view account);
// What a payment stores: MatchAccount cut to 15.
std::string StoredAccount(std::string_view account);

// ---- Rows --------------------------------------------------------------------

enum class RowDirection { Credit, Debit };

// What makes a row bad at Next.
enum class RowFault {
  None,
  EmptyDate,
  NonExistingDate,   // the date does not fit the layout or is no day
  EmptyAmount,
  AmountNotANumber,
  NegativeAmount,    // a negative amount beside a debit/credit column
  AmountTooManyDecimals,  // more digits after the decimal separator than the amount decimals
  AmountTooLarge,    // 10^15 or more
  EmptyOwnAccount,
  OtherOwnAccount,   // the own account differs from the first row that reads
};

// The smallest amount a statement row may not hold: beyond it a double no
// longer keeps the cents.
inline constexpr double kLargestStatementAmount = 1e15;

// One statement row as it becomes a payment.
struct ImportRow {
  int line = 0;              // the line in the file (1-based)
  std::string valueDate;     // "YYYYMMDD"
  double amount = 0;         // without sign
  RowDirection direction = RowDirection::Credit;
  std::string ownAccount;    // MatchAccount of the own-account cell
  std::string counterparty;  // the counterparty cell as split (empty when missing)
  std::string ascription;
  std::array<std::string, records::PaymentRec::kNarrativeCount> narratives{};
  bool operator==(const ImportRow&) const = default;
};

struct RowReading {
  RowFault fault = RowFault::None;
  std::optional<ImportRow> row;  // set when fault is None
  std::string value;             // the amount cell of an amount refused for its size
};

// Reads one split row with `profile`; `decimals` are the amount decimals.
// `firstOwnAccount` is the own account of the first row that read, as
// MatchAccount gives it (empty while no row has). A missing ascription,
// narrative or counterparty cell reads as empty; the debit string is
// compared trimmed, ignoring case.
RowReading ReadImportRow(const StatementRow& row, const records::ImportProfileRec& profile, int decimals,
                         std::string_view firstOwnAccount);

// The text of a fault for the list of bad rows, in the language in use.
std::string RowFaultText(RowFault fault);

// Why a profile cannot be used at Next: the three columns every row needs,
// and the date layout.
enum class ProfileFault { None, NumberOutside, NoDateColumn, NoAmountColumn, NoOwnAccountColumn, NoDateLayout };
ProfileFault CheckImportProfile(const records::ImportProfileRec& profile);

// The debit/credit values of `rows` other than the profile's debit text
// (trimmed, compared ignoring case; an empty cell is a value too), in the
// order first met, each with its lines; the first 20 such values only.
// Nothing without a debit/credit column.
struct DebitCreditValue {
  std::string value;
  std::vector<int> lines;
  bool operator==(const DebitCreditValue&) const = default;
};
std::vector<DebitCreditValue> OtherDebitCreditValues(const std::vector<StatementRow>& rows,
                                                     const records::ImportProfileRec& profile);

// What Next checks the rows against besides the profile.
struct StatementRules {
  std::string lowestOpenDate;    // rows dated before it are named in beforeOpen
  int decimals = 2;              // the amount decimals
  std::size_t headerFields = 0;  // the excluded header line's fields (0: none excluded)
};

// The checked statement: the good rows in order, "line n: reason" for each
// bad one, the good rows dated before the lowest open date, and the own
// account of the first row that reads. Next refuses the statement when a
// line is bad:
// - rows with more fields than the header line (or, with none excluded,
//   row 1): a value with the separator in it moved the columns; then no
//   row is read;
// - rows that do not read (ReadImportRow); when that is row 1 alone and
//   nothing is excluded, its line adds that it may be a header;
// - more than one debit/credit value other than the debit text among the
//   rows that read: each value with its lines.
struct StatementCheck {
  std::vector<ImportRow> rows;
  std::vector<std::string> badRows;
  std::vector<std::size_t> beforeOpen;  // indices into rows
  std::string ownAccount;
};
StatementCheck CheckStatementRows(const std::vector<StatementRow>& rows, const records::ImportProfileRec& profile,
                                  const StatementRules& rules);

// The bad rows as one message: the first 20 lines, then "and k more".
std::string BadRowsMessage(const std::vector<std::string>& badRows);

// Whether a stored payment is probably this row imported before: equal
// value date, amount (in cents), counterparty account (as stored) and first
// narrative.
bool SameAsStoredPayment(const ImportRow& row, const records::PaymentRec& stored);
// The indices of the rows that equal a payment in `stored`.
std::vector<std::size_t> ProbableDuplicates(const std::vector<ImportRow>& rows,
                                            const std::vector<records::PaymentRec>& stored);

// ---- Entry numbers -----------------------------------------------------------

inline constexpr std::size_t kEntryNumberRoom = 10;
inline constexpr const char* kDefaultEntryCounter = "0001";

// "P" + year + "-": "P2024-".
std::string DefaultEntryPrefix(int year);
// The highest counter among the entry numbers that are `prefix` followed by
// digits only, and that entry number; nullopt when none is.
struct HighestEntry {
  std::int64_t counter = 0;
  std::string entryNumber;
};
std::optional<HighestEntry> HighestEntryCounter(std::string_view prefix,
                                                const std::vector<records::PaymentRec>& payments);
// `value` in decimal with leading zeros to `width` digits.
std::string CounterText(std::int64_t value, std::size_t width);
// The entry number of the row `offset` (from 0) after the counter text:
// prefix + counter + offset, keeping the counter's width and leading zeros;
// nullopt when the counter is no number.
std::optional<std::string> EntryNumberAt(std::string_view prefix, std::string_view counter, std::size_t offset);
// The digits the last of `rowCount` rows numbered from `counter` needs, and
// the most characters a prefix may then have; nullopt when the counter is
// no number.
struct EntryRoom {
  std::size_t digits = 0;
  std::size_t prefixRoom = 0;
  bool operator==(const EntryRoom&) const = default;
};
std::optional<EntryRoom> EntryNumberRoom(std::string_view counter, std::size_t rowCount);
// Whether `rowCount` rows numbered from `counter` fit the entry number's 10.
bool EntryNumbersFit(std::string_view prefix, std::string_view counter, std::size_t rowCount);

// ---- Partners ----------------------------------------------------------------

enum class PartnerSearch { Found, NoAccount, NotFound, Ambiguous, Refund };

// The bank accounts of the customers and suppliers, as MatchAccount gives
// them, read once per run.
class PartnerAccounts {
 public:
  PartnerAccounts() = default;
  PartnerAccounts(const std::vector<records::PartnerRec>& customers, const std::vector<records::PartnerRec>& suppliers);
  struct Answer {
    PartnerSearch search = PartnerSearch::NotFound;
    std::optional<records::PartnerRec> partner;  // Found only
  };
  // The partner of `direction`'s kind (credit: customers, debit: suppliers)
  // whose account is `account`.
  Answer Find(RowDirection direction, std::string_view account) const;

  // The partners of one kind that carry an account: the accounts sorted
  // (file order kept among equal ones), the partner of each beside it.
  struct Kind {
    std::vector<std::string> accounts;
    std::vector<records::PartnerRec> partners;
  };

 private:
  Kind customers_, suppliers_;
};

// ---- The payment and its voucher --------------------------------------------

// The payment of a row, from an empty record: value date, stored account,
// kind and partner (0 without one), entry number, ascription, narratives,
// amount without sign. Number, stamps and voucher flag are the store's.
records::PaymentRec ImportPayment(const ImportRow& row, const PartnerAccounts::Answer& partner,
                                  const std::string& entryNumber);

// The invoice an imported payment pays: of `open` (the partner's invoices
// newest first), the first that owes exactly `amount` in cents.
std::optional<records::InvoiceRec> MatchingInvoice(const std::vector<records::InvoiceRec>& open, double amount);

// What the voucher of a matched import payment is built from.
struct ImportMatch {
  records::PaymentRec payment;  // as stored (with its number)
  records::PartnerRec partner;
  records::InvoiceRec invoice;
  std::string cashAccount;      // the bank or cash GL account
  std::string journal;          // the journal a save stores
  int decimals = 2;             // amount decimals
};
// The voucher that pays the matched invoice in full: the payment tab's
// proposal (PaymentProposal, src/books/journal/documentrules.h) with that invoice
// ticked and no cash discount, so a bank line and one invoice line. The
// line captions are left to the caller.
Voucher ProposeImportVoucher(const ImportMatch& match);

// ---- The run -----------------------------------------------------------------

// The import between "Next" and its end: the rows, the entry numbering and
// what has been done so far.
struct ImportJob {
  std::vector<ImportRow> rows;
  std::string prefix;
  std::string counter;        // the first row's counter text
  std::string cashAccount;    // GL account number of the bank line
  std::string journal;
  std::string lowestOpenDate;
  int decimals = 2;           // amount decimals
  int stored = 0;             // rows whose payment is stored: the next row is rows[stored]
  int found = 0;              // stored with a partner
  int withVoucher = 0;        // stored with a saved voucher
  int ambiguous = 0;          // no partner: several carry the account
  int refunds = 0;            // no partner: only the other kind carries it
  int leftOut = 0;            // rows left out at Next (closed period, duplicates)
  bool Finished() const { return stored >= static_cast<int>(rows.size()); }
  int WithoutVoucher() const { return stored - withVoucher; }
};

enum class RunOutcome { Done, FileSetFailed, PaymentFailed };
// The value: the line of the row the run stopped at (a batch's set that did
// not open).
using RunResult = store::Result<RunOutcome, int>;

// Stores the rows from job.stored on, `batchRows` rows at a time: each
// batch is one change of PAY, JVO and INV (store::ChangeTogether), so that
// every row is stored whole (its payment, and its voucher and the invoice's
// paid amount when it was matched) or not at all, also when the program is
// killed; the payment and voucher files are read once per batch and the new
// records merged in at their places in one pass. A batch that fails stores
// nothing and its rows go again one by one, so a row that fails leaves the
// rows before it stored and the next run starts at it. `progress` is called
// after every batch stored. An I/O error of a single row raises (the
// counters stay as far as they got).
inline constexpr int kImportBatchRows = 100000;
RunResult RunImport(ImportJob& job, const std::function<void(const ImportJob&)>& progress = {},
                    int batchRows = kImportBatchRows);

// The four result lines in their fixed-width layout ("label" padded to 24,
// ": ", the number), in the language in use: rows stored, with a partner,
// with a saved voucher, without voucher.
std::array<std::string, 4> ImportResultLines(const ImportJob& job);

}  // namespace books::journal
