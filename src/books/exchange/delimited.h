// The ";"-separated data files: seven kinds of records written to text lines
// and read back, without a form. The export form shows and saves the lines
// and asks before an import replaces a data file (books/exchange/importfile.h
// writes it).
//
// A file is one header line (the kind's column names, then its marker) and
// one line per record in the data file's order; the writer gives the lines
// without line ends and CsvFileText ends each one with CR LF, the last one
// too. Every value is followed by ";". Texts are written as stored, in code
// page 1252, without padding (the voucher lines' texts keep the blanks the
// voucher store appends); a ";", CR or LF inside a text is written as a
// blank, and the values so changed are counted. Booleans are "true" for a
// stored 1 and "false" for anything else; integers in decimal; doubles as
// books/exchange/exportnumber.h writes them, with the separator of
// platform/numberformat.h. A GL account number in the account and voucher
// files is written with "#" in place of a leading "0". A NaN or infinite
// double refuses the whole export, naming the record and the column.
//
// An import reads the whole text before anything is written. The text is
// decoded as cp1252::DecodeTextFile reads a text file: a UTF-8 file (with
// its byte-order mark, or valid UTF-8 holding a character beyond ASCII
// throughout) becomes code page 1252, anything else (the program's own
// exports) is taken byte for byte; a character of a record line that code
// page 1252 lacks refuses the import with its line and column. Line 1 must
// hold the kind's marker (anywhere in the line); each further line is one
// record. Lines end in CR LF or LF. A
// line's fields are taken from the left: for each column but the last, the
// text before the next ";" (when none is left, the field is empty and the
// rest stays for the last column); the last column takes the rest up to a
// ";" or the end, so values beyond the columns are ignored. There is no cut
// on a line's length. Each record starts as zeros (fields the format does
// not carry, pad bytes and the bytes after a text's length stay zero); a
// text is cut to its field, a Boolean is 1 only for exactly "true", an
// integer or double that does not read refuses the import with its line
// number (the header is line 1), column (from 1) and text; so does a voucher
// line's date that is no day (text::IsValidYmd), and an invoice's or a
// payment's date that is neither empty nor a day (the partner and account
// dates are texts: they may be empty or "19000101"). An account
// number starting with "#" gets "0" for it; a voucher line's account number
// is padded with blanks to 15 first. Then the kind's own rules: accounts
// hold no number twice (compared without blanks at either end, as the audit
// file compares them), at most 400 accounts and at most one of type P and
// one of type T, and are sorted by number; voucher lines are sorted by date
// + voucher number; invoices hold no (book date, kind, partner, number)
// twice and payments no (value date, kind, partner, payment number) twice,
// and are sorted by their file keys; partners hold no number twice (gaps
// are fine); categories have one of the two kind texts and no name twice.
// Sorts are stable. A refusal produces no records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/journalvoucherrec.h"
#include "records/invoicerec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "store/fileset.h"

namespace books::exchange {

enum class CsvKind {
  Customers,
  Suppliers,
  LedgerAccounts,
  JournalVouchers,
  Invoices,
  Payments,
  LedgerCategories,
};

// The data file a kind is written from and read into.
store::FileCode CsvDataFile(CsvKind kind);
// "{***customerfile***}", ...
std::string_view CsvMarker(CsvKind kind);
// Line 1: the column names followed by the marker.
std::string CsvHeaderLine(CsvKind kind);
// The number of columns a record line carries.
int CsvColumnCount(CsvKind kind);
// The most accounts the GL account file holds.
inline constexpr int kMaxLedgerAccounts = 400;

// A value the export cannot write: record `record` (from 1, in file order),
// column `column` (from 1) named `columnName` in the header.
struct CsvBadValue {
  int record = 0;
  int column = 0;
  std::string columnName;
  bool operator==(const CsvBadValue&) const = default;
};

struct CsvExport {
  // The header line, then one line per record; empty when refused.
  std::vector<std::string> lines;
  int records = 0;
  // Values in which a ";", CR or LF was written as a blank.
  int changedValues = 0;
  std::optional<CsvBadValue> refused;
};

CsvExport ExportPartners(const std::vector<records::PartnerRec>& partners, bool customers);
CsvExport ExportLedgerAccounts(const std::vector<records::LedgerAccountRec>& accounts);
CsvExport ExportJournalVouchers(const std::vector<records::JournalVoucherRec>& lines);
CsvExport ExportInvoices(const std::vector<records::InvoiceRec>& invoices);
CsvExport ExportPayments(const std::vector<records::PaymentRec>& payments);
CsvExport ExportLedgerCategories(const std::vector<records::LedgerCategoryRec>& categories);

// The bytes of a text file of `lines`: each line followed by CR LF.
std::string CsvFileText(const std::vector<std::string>& lines);

enum class CsvFault {
  NoMarker,              // line 1 lacks the kind's marker (or the text is empty)
  BadInteger,            // a field that is no 32-bit integer
  BadNumber,             // a field that is no number
  BadDate,               // a date field that is no day ("YYYYMMDD"), or empty where one is needed
  LostCharacter,         // a UTF-8 text holding a character code page 1252 lacks
  DuplicateKey,          // two records with one key (the lines named)
  TooManyAccounts,       // more than kMaxLedgerAccounts accounts (value: the count)
  SecondProfitAccount,   // two accounts of type P (the lines named)
  SecondTransferAccount, // two accounts of type T (the lines named)
  UnknownCategoryKind,   // a category kind other than the two kind texts
};

// Why an import was refused. Lines count from 1 (the header), columns from
// 1; a fault about records names their lines in text order.
struct CsvImportError {
  CsvFault fault = CsvFault::NoMarker;
  std::vector<int> lines;
  int column = 0;
  std::string value;
  bool operator==(const CsvImportError&) const = default;
};

template <class R>
struct CsvImport {
  // The checked records, in the order the data file keeps them; empty when
  // refused.
  std::vector<R> records;
  // The record lines of the text (the header not counted). 0 without an
  // error: the file holds only its header and nothing is to be imported.
  int lines = 0;
  // Voucher lines only: the lines dated before the lowest open date given.
  int linesBeforeOpenDate = 0;
  std::optional<CsvImportError> error;
};

CsvImport<records::PartnerRec> ImportPartners(std::string_view text, bool customers);
CsvImport<records::LedgerAccountRec> ImportLedgerAccounts(std::string_view text);
// `lowestOpenDate` ("YYYYMMDD"; empty: none) only feeds linesBeforeOpenDate.
CsvImport<records::JournalVoucherRec> ImportJournalVouchers(std::string_view text,
                                                             std::string_view lowestOpenDate = {});
CsvImport<records::InvoiceRec> ImportInvoices(std::string_view text);
CsvImport<records::PaymentRec> ImportPayments(std::string_view text);
CsvImport<records::LedgerCategoryRec> ImportLedgerCategories(std::string_view text);

// The voucher lines dated before `date` ("YYYYMMDD", compared as text); 0
// for an empty date. The form counts the data file's lines with it.
int VoucherLinesBefore(const std::vector<records::JournalVoucherRec>& lines, std::string_view date);

// The message for a refused import, in the program's language, naming the
// line(s), the column and the value.
std::string CsvImportErrorText(const CsvImportError& error);
// The message for a refused export.
std::string CsvBadValueText(const CsvBadValue& bad);

}  // namespace books::exchange
