// The XML audit file: one book year, up to a chosen period, as an auditor's
// program reads it — the company header, the GL accounts, the customers and
// suppliers, a start-balance journal and every voucher line of the range,
// grouped by journal and transaction. No form: `WriteAuditFile` is a pure
// function of the values that streams the text, every line ended by CR LF
// (the last one too), into a sink: `AuditFileText` keeps it as one text,
// which the export form saves as an "*.XAF" file, `AuditFileLines` as lines
// without their ends, which `BuildAuditFile` gives. `WriteAuditFileFromStore`
// writes from the data files inside one file set, reading the voucher file
// twice block by block (once for the checks, the totals and the journals,
// once for the lines) and never holding it whole; `ReadAuditFileSource`
// reads every value whole for callers that want them.
//
// Rules of the text: one element per line, indented one blank per level
// below `auditfile`; the file declares ISO-8859-1. Stored texts are code page
// 1252: "&", "<" and ">" become the predefined entities, a byte
// below 0x20 other than tab a blank, a byte from 0x80 to 0x9F the numeric
// character reference of its code page character (the five the code page
// leaves undefined: of the C1 control with the same value, as
// platform/cp1252.h maps them); the other bytes are the same in both code
// pages. Dates "YYYYMMDD" are written "YYYY-MM-DD". Amounts are rounded as
// the amount routines round (text::RoundedAmountDigits: half away from zero
// to two decimals on the shortest text that reads back as the amount) and
// written with "." and two decimals, no grouping, in any locale; the file
// holds amounts below 1E15 (15 digits before the point). numberEntries
// counts the lines written and totalDebit/totalCredit add the amounts as
// written. The whole tree is written in every case: without start balances
// the start-balance journal is left out, without lines the other journals,
// and `transactions` then holds the count and the totals only.
//
// The range: a book year begins where the newest snapshot of an older year
// ends (its PeriodEndDate, the day after its last day; the first year's older
// snapshot is the opening freeze); its start balances are that snapshot's
// closing balance (own side - other side) of each balance-sheet ("B") row,
// dated at the year's start. The current year without an older snapshot
// begins at the settings' book-year start. The end is, in the current year,
// the chosen period's last day (the book-year end for the last period); in
// an earlier year, the last day of that year's newest snapshot. Transaction
// periods come from the settings' period starts in the current year and from
// the year's own snapshots in an earlier one.
//
// A run that would write an invalid file writes nothing and names the first
// fault: no tax registration number, a fiscal year that is no number or below
// 1990, no start or end date, no GL account, two accounts or two partners
// with the same identifier, a voucher line of the range dated on no day of
// the calendar (named by its book number and date), a voucher line or
// start-balance row on an account that is not listed, an amount that is no
// number or of 1E15 or more (named with the account and the largest amount
// the file holds), totals of 1E16 or more, more than 50 journals in the
// range.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/partnerrec.h"
#include "store/scopedfileset.h"

namespace books::exchange {

// Everything one run reads. The vectors are in file order.
struct AuditFileSource {
  records::AdminSettingsRec settings;
  std::vector<records::LedgerAccountRec> accounts;
  std::vector<records::PartnerRec> customers;
  std::vector<records::PartnerRec> suppliers;
  std::vector<records::JournalVoucherRec> vouchers;  // ascending date order
  std::vector<records::FreezeRec> freezes;           // oldest first
};

// What the run covers and the values the program fills in.
struct AuditFileRequest {
  std::string administrationCode;  // companyID
  // The export form's period item: book year, a blank, "YYYY-PP/NN".
  std::string periodChoice;
  std::string today;  // "YYYYMMDD", dateCreated
};

enum class AuditFileFault {
  NoTaxRegistration,
  FiscalYearNotANumber,
  FiscalYearTooEarly,
  NoDateRange,
  NoAccounts,
  DuplicateAccount,
  DuplicatePartner,
  UnlistedAccount,
  TooManyJournals,
  UnwritableAmount,    // NaN or infinite
  AmountTooLarge,      // 1E15 and more
  TotalTooLarge,       // a total of 1E16 and more
  InvalidVoucherDate,  // an in-range line dated on no day of the calendar
};

// Why nothing was written: the fault and the value it is about (an account
// number, a partner identifier, a journal name, a voucher's book number;
// empty when none), and for an amount too large and a date that is no day
// the amount and the date.
struct AuditFileRefusal {
  AuditFileFault fault;
  std::string value;
  std::string detail = {};
  bool operator==(const AuditFileRefusal&) const = default;
};

// The status text of a refusal, in the language in use (the program's own
// texts; the export form shows its language texts for the first and third
// faults, which its own checks find first).
std::string AuditFileRefusalText(const AuditFileRefusal& refusal);

// Where the writer puts the file: the text in order, in pieces of one or
// more whole lines, each ended by CR LF. Take hands over a piece the writer
// no longer needs (a sink that keeps the text keeps it without a copy).
class AuditFileSink {
 public:
  virtual ~AuditFileSink() = default;
  virtual void Write(std::string_view lines) = 0;
  virtual void Take(std::string piece) { Write(piece); }
};

// The file as it is written: its pieces in order (a large file is never
// copied into one block); Text joins them.
struct AuditFileText : AuditFileSink {
  std::vector<std::string> pieces;
  void Write(std::string_view lines) override;
  void Take(std::string piece) override;
  std::size_t Size() const;
  std::string Text() const;
};

// The file as lines, without their CR LF.
struct AuditFileLines : AuditFileSink {
  std::vector<std::string> lines;
  void Write(std::string_view piece) override;
};

// The audit file of `source` written to `sink`, or the first reason to write
// nothing (the sink is then given nothing: every check is made before the
// first line goes out).
std::optional<AuditFileRefusal> WriteAuditFile(const AuditFileSource& source, const AuditFileRequest& request,
                                               AuditFileSink& sink);

// The lines of the audit file, or the first reason to write nothing.
std::variant<std::vector<std::string>, AuditFileRefusal> BuildAuditFile(const AuditFileSource& source,
                                                                          const AuditFileRequest& request);

// What a run from the data files came to: the set did not open, the run
// was refused (nothing was given to the sink), or neither: written.
struct AuditFileRun {
  std::optional<store::FileSetFailure> openFailure;
  std::optional<AuditFileRefusal> refusal;
};

// The audit file of the data files written to `sink`: opens
// "ADS;GLA;CUS;SUP;JVO;FRZ;" for the whole run and closes it at the end;
// the voucher file is read in blocks, twice, and never held whole. A
// failing read raises platform::IoError as every record read does (the set
// is closed on that path too).
AuditFileRun WriteAuditFileFromStore(const AuditFileRequest& request, AuditFileSink& sink);

// The data files' values: opens "ADS;GLA;CUS;SUP;JVO;FRZ;" for the whole
// read and closes it at the end; a set that does not open gives its failure,
// a failing read raises platform::IoError as every record read does (the set
// is closed on that path too).
std::variant<AuditFileSource, store::FileSetFailure> ReadAuditFileSource();

// Parts of the text, for the tables that test them.
// A code page 1252 text as XML character data in ISO-8859-1.
std::string XmlText(std::string_view cp1252);
// "YYYYMMDD" as "YYYY-MM-DD".
std::string XmlDate(std::string_view ymd);
// An amount in cents as text::ToCents counts them; nullopt for NaN, the
// infinities and magnitudes of 1E15 and more.
std::optional<std::int64_t> AmountCents(double value);
// Cents as "-1234.50".
std::string CentsText(std::int64_t cents);

}  // namespace books::exchange
