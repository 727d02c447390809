// Reading a bank statement for the import, without a form: the statement's
// bytes as text, the text as lines, each line cut into fields by a separator
// and a text qualifier, the amount and date texts of a row as values, and a
// row's cells picked out by an import profile.
//
// Rules:
// - Only delimited text is read: one statement line per text line. Tagged or
//   XML statement formats are not.
// - A statement in UTF-8 (with the byte-order mark, or valid UTF-8 holding a
//   character outside ASCII) becomes code page 1252 text; any other byte
//   sequence is taken as code page 1252 as it stands.
// - Lines end in CR LF or LF; empty lines at the end carry no statement line.
// - The separator is one character, or the word "Tab" in any case; an empty
//   separator is refused.
// - A field that begins with the qualifier is the text between its
//   qualifiers, separators included; a doubled qualifier inside stands for one
//   qualifier; it never spans lines, and one left open is an error naming the
//   line. A separator at the end of a line adds no field.
// - Nothing here raises on bad input: every reading returns a value, an empty
//   optional or an outcome.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/importprofilerec.h"

namespace books::journal {

// ---- Text -------------------------------------------------------------------

// The statement's bytes as code page 1252 text, as cp1252::DecodeTextFile
// reads a text file (the ";" import reads its files the same way): a UTF-8
// byte-order mark is dropped and the rest read as UTF-8; without the mark,
// text that is valid UTF-8 and holds a byte of 0x80 or above is converted
// from UTF-8; everything else is returned unchanged. A character code page
// 1252 lacks becomes "?".
std::string DecodeStatement(std::string_view bytes);

// The lines of a statement text, without their line ends (LF, or CR LF).
// Lines at the end holding nothing but blanks and control characters are
// dropped; an empty line further up stays a line.
std::vector<std::string> StatementLines(std::string_view text);

// ---- Split ------------------------------------------------------------------

inline constexpr char kDefaultStatementSeparator = ',';
inline constexpr char kDefaultStatementQualifier = '"';

// How the lines are cut into fields.
struct SplitOptions {
  char separator = kDefaultStatementSeparator;
  std::optional<char> qualifier = kDefaultStatementQualifier;  // none: fields are never qualified
  bool excludeFirstRow = false;
  bool operator==(const SplitOptions&) const = default;
};

enum class SplitOutcome {
  Done,
  SeparatorEmpty,        // the separator field is empty
  SeparatorNotOneChar,   // more than one character, and not the word "Tab"
  QualifierNotOneChar,   // the qualifier field holds more than one character
  QualifierIsSeparator,  // the qualifier equals the separator
  UnterminatedQualifier, // a qualified field runs to the end of its line
};

// The separator and qualifier fields of the import tab as options. The
// separator is one character or "Tab" ignoring case (a Tab); the qualifier
// is one character, or empty for none. The outcome says what was refused;
// its options are then the defaults.
struct SplitSettings {
  SplitOutcome outcome = SplitOutcome::Done;
  SplitOptions options;
};
SplitSettings ReadSplitSettings(std::string_view separatorField, std::string_view qualifierField,
                                bool excludeFirstRow);

// One line cut into its fields; nullopt when a qualified field is left open.
std::optional<std::vector<std::string>> SplitLine(std::string_view line, const SplitOptions& options);

// A statement row: its fields and the 1-based number of its line in the file
// (the excluded first row counted).
struct StatementRow {
  int line = 0;
  std::vector<std::string> cells;
  bool operator==(const StatementRow&) const = default;
};
struct SplitResult {
  SplitOutcome outcome = SplitOutcome::Done;
  std::vector<StatementRow> rows;  // empty unless Done
  int errorLine = 0;               // the line of an UnterminatedQualifier
  std::size_t columnCount = 0;     // the most fields of any row
  // The fields of the excluded first row (the header line); 0 when no row
  // is excluded or its qualifier is left open.
  std::size_t headerFields = 0;
};
// Every line after the excluded first row cut into fields.
SplitResult SplitStatement(const std::vector<std::string>& lines, const SplitOptions& options);

// ---- Values -----------------------------------------------------------------

// The value of an amount cell, whatever the locale: blanks around it are
// ignored, a "-" or "+" may stand in front, then digits with "." and ",".
// When both "." and "," occur, the right-most of them is the decimal
// separator and every other one groups ("1.234,56" and "1,234.56" are
// 1234.56). With one kind only, that kind is the decimal separator ("121,00"
// and "121.00" are 121; "1.234" is 1.234), and two of it are refused
// ("1.234.567"). Refused as well: an empty cell, no digit, any other
// character.
std::optional<double> ReadStatementAmount(std::string_view cell);
// The digits after the decimal separator that ReadStatementAmount takes
// ("1.234" and "12,345" have 3, "1.234,56" 2, "121" 0); 0 for a cell it
// refuses. Next refuses more than the amount decimals allow, so that a
// thousands separator is never read as a decimal one.
std::size_t StatementAmountDecimals(std::string_view cell);

// The date layouts of a profile, in the order the layout list offers them.
inline constexpr std::array<std::string_view, 12> kStatementDateLayouts = {
    "yyyymmdd", "yyyy-mm-dd", "yymmdd",   "yy-mm-dd",   "mmddyyyy", "mm-dd-yyyy",
    "mmddyy",   "mm-dd-yy",   "ddmmyyyy", "dd-mm-yyyy", "ddmmyy",   "dd-mm-yy"};

// A date cell read with one of the twelve layouts, as "YYYYMMDD". The cell,
// without blanks around it, has the layout's length; year, month and day are
// the digits where "yyyy" (or "yy"), "mm" and "dd" stand, a two-digit year
// getting "20" in front, and a "-" of the layout stands for any one
// character other than a digit ("31/12/07" fits "dd-mm-yy"). nullopt for a
// layout that is none of the twelve, a cell that does not fit it, and a
// date that does not exist or lies outside the years 1990 to 2200.
std::optional<std::string> ReadStatementDate(std::string_view cell, std::string_view layout);

// ---- Profile ----------------------------------------------------------------

// The cells of one row that a profile names. A column that is unused (below
// 0) or that the row does not reach gives nullopt; texts are as split.
struct StatementFields {
  std::optional<std::string> date;
  std::optional<std::string> ownAccount;
  std::optional<std::string> counterpartyAccount;
  std::optional<std::string> ascription;
  std::optional<std::string> debitCredit;
  std::optional<std::string> amount;
  std::array<std::optional<std::string>, records::ImportProfileRec::kNarrativeCount> narratives;
  bool operator==(const StatementFields&) const = default;
};
StatementFields MapStatementRow(const std::vector<std::string>& cells, const records::ImportProfileRec& profile);

}  // namespace books::journal
