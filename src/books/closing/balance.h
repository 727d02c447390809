// The trial balance and the balance sheet with profit and loss, without a
// form: the balance table of a report period, its sums, and the grid that
// the report form shows and the report engine prints.
//
// `ComputeBalanceCore` is a pure function of the records (categories,
// accounts, freeze records, voucher lines) and the administration settings;
// `ComputeBalanceGrid` reads those records inside its own file set
// ("FRZ;GLA;GLC;JVO;") and hands them to the core. The table and the grid
// are sized by what the files hold: nothing is capped at 150 categories,
// 400 accounts or 555 grid rows. Each account is placed once, in the first
// category of its name in file order, and every placed row takes its voucher
// lines and counts in the sums. More than 400 rows are computed and shown,
// but only the freeze (whose record holds 400 rows) is refused, with a
// message block saying so. A refusal (an unreadable period text or book
// year, a file set that did not open) leaves an empty grid, no freeze and
// a message; nothing here raises for bad data.
//
// How balances carry over a freeze is the rule of books/closing/balancerule.h,
// which the GL accounts form shares. Period dates are "YYYYMMDD" texts compared as text. Amounts in the grid
// are written with text::FormatAmount (the system settings' decimals,
// grouped); the profit text ungrouped.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "store/scopedfileset.h"

namespace text {
struct LanguageRec;
}  // namespace text

namespace books::closing {

// The end date the program treats as "open ended", 31 December 2050.
inline constexpr const char* kReportFarEndDate = "20501231";
// The rows a freeze record holds: more accounts than this cannot be frozen.
inline constexpr int kFreezeCapacity = records::FreezeRec::kAccountRows;

// The dates of a report period, worked out in this run from the period
// text "YYYY-PP/NN", the settings and the freeze records.
struct ReportPeriod {
  std::string label;        // the period text as chosen
  int pp = 0;               // PP, 0 to 15
  int nn = 0;               // NN
  std::optional<int> hit;   // index of the freeze record of this label
  std::optional<int> snapshot;  // the hit, else the last freeze record
  // The record a ledger card opens at: the one before the hit (none when
  // the hit is record 0), else the last freeze record.
  std::optional<int> openingSnapshot;
  std::string yearBaseDate;  // base of the year openings (ReportYearBaseDate)
  std::string cardYearBaseDate;  // the hit's base date, else book-year start - 1
  std::string start;         // first day of the period
  std::string end;           // first day after the period
  bool operator==(const ReportPeriod&) const = default;
};
// The period of `label`. A hit takes its three dates from its own freeze
// record (the settings may belong to a later book year). Otherwise: PP "00"
// (also "00/00", the opening period of a new administration) runs from the
// year base date to the book-year start; PP "01" sets the
// year base date to book-year start - 1; PP k (1..15) starts at
// PeriodStart[k] and ends at PeriodStart[k + 1]; when PP equals NN (and is
// not "00") the period ends the day after the book-year end. Refused, with
// a message: a text not of the form "YYYY-PP/NN", PP above 15 or above NN,
// NN above 15, NN "00" with a PP other than "00", a book-year start or end that is not a date, an empty
// PeriodStart[PP].
struct PeriodOrError {
  std::optional<ReportPeriod> period;
  std::string error;
};
PeriodOrError ComputeReportPeriod(const std::string& label, const records::AdminSettingsRec& settings,
                                  const std::vector<records::FreezeRec>& freezes);

// What is wrong with a freeze record ("" when nothing): its period end,
// period start and year base date must be valid "YYYYMMDD" dates and its
// label "YYYY-PP/NN" (digits; the year part may be an annual balance text
// such as "0809"). A computation whose snapshot is such a record is refused
// with "damaged file freeze.vlk: record N: <what>".
std::string FreezeRecordFault(const records::FreezeRec& rec);

// One row of the balance table.
struct BalanceTableRow {
  std::string AccountNumber;
  std::string Caption;          // cut to 50
  std::string CategoryName;
  std::string AccountType;      // one letter as stored: P, T, D, C (or d, c)
  std::string CategoryKind;
  double YearOpeningBalance = 0;
  double OpeningOwnSide = 0;
  double ClosingOwnSide = 0;
  double OpeningOtherSide = 0;
  double ClosingOtherSide = 0;
};

struct CategoryTableEntry {
  std::string CategoryKind;
  std::string CategoryName;
  int AccountCount = 0;   // accounts of the period placed in this category
};

// The five sums of one class of accounts.
struct ClassSums {
  double Year = 0, OpenOwn = 0, OpenOther = 0, CloseOwn = 0, CloseOther = 0;
};
struct BalanceSums {
  ClassSums BsDebit, BsCredit, PlDebit, PlCredit;
  double BsOpeningNet = 0, BsClosingNet = 0, BsYearNet = 0;
  double PlOpeningProfit = 0, PlClosingProfit = 0, PlYearProfit = 0;
};

// The language texts of the grid (English by default; the form passes the
// current language's, BalanceTextsOf, to the generate and the freeze alike).
struct BalanceTexts {
  std::string accountHeading = "Account name";        // 2410
  std::string debit = "Debit";                        // 2454
  std::string credit = "Credit";                      // 2465
  std::string balanceSheet = "Balance sheet";         // 8078
  std::string totals = "Totals";                      // 8104
  std::string profitAndLoss = "Profit and loss";      // 8130
  std::string noProfitOrTransfer = "No profit (P) or transfer (T) account in the GL accounts";  // 9923
  std::string noProfitAccountNumber = "No profit account in the administration settings";     // 9994
  std::string openingOutOfBalance = "The opening balance is out of balance";                 // 10065
  std::string resultsDiffer = "Balance-sheet result and profit-and-loss result differ";      // 10136
  std::string closingOutOfBalance = "The closing balance is out of balance";                 // 10207
  std::string withoutCategory = "accounts without a valid GL category";                      // 10990
  std::string notACategory = "is not an existing GL category";                               // 11071
};

// The grid's texts from a language record, each from its field (the offset
// beside it above); a field the record leaves empty keeps the English text.
BalanceTexts BalanceTextsOf(const text::LanguageRec& language);

// What the computation needs besides the records.
struct BalanceRequest {
  char kind = '1';               // '1' trial balance, '2' balance sheet; others: compute only
  std::string periodText;        // "YYYY-PP/NN"
  records::AdminSettingsRec settings;
  std::string farEndDate = kReportFarEndDate;
  BalanceTexts texts;
};

// The records the computation reads, in file order.
struct BalanceFiles {
  std::vector<records::LedgerCategoryRec> categories;
  std::vector<records::LedgerAccountRec> accounts;
  std::vector<records::FreezeRec> freezes;
  std::vector<records::JournalVoucherRec> vouchers;
};

using GridRow = std::array<std::string, 8>;
// The hidden marker of column 7 on the balance-sheet total row.
inline constexpr const char* kTotalRowMarker = "totaalregel";
inline constexpr const char* kTotalText = "                       TOTAL";
inline constexpr const char* kStarLine = "****************************************";

struct BalanceResult {
  std::string error;                    // a refusal; empty when computed
  std::optional<ReportPeriod> period;
  std::vector<BalanceTableRow> table;   // blocks per category, in file order
  std::vector<CategoryTableEntry> categories;
  BalanceSums sums;
  std::optional<std::size_t> profitRow;    // table index of the type P account
  std::optional<std::size_t> transferRow;  // table index of the type T account
  int withoutCategory = 0;                 // accounts whose category does not exist
  std::vector<std::string> missingCategories;  // the first three such names
  std::vector<std::string> ambiguousCategories;  // names under both kinds
  std::string profitText;                  // PlClosingProfit, ungrouped
  std::string profitAccountNumber;
  std::string profitAccountCaption;        // cut to 30
  std::vector<GridRow> grid;               // rows 0..gridRowCount; empty for other kinds
  int gridRowCount = 0;
  bool freezeAllowed = false;
};

// The whole computation on records already read.
BalanceResult ComputeBalanceCore(const BalanceRequest& request, const BalanceFiles& files);

// Whether the freeze of the computed period may run: the closing balance
// is in balance, the period is open (no hit), the settings name a profit
// account, a P and a T account exist, the period ends by `farEndDate`, and
// the table fits a freeze record.
struct FreezeConditions {
  bool closingInBalance = false;
  bool openPeriod = false;
  bool profitAccountNamed = false;
  bool profitAndTransferExist = false;
  bool endsByFarEnd = false;
  bool fitsFreezeRecord = false;
};
bool FreezePermitted(const FreezeConditions& c);

// A run on the files: the result, or, when the file set did not open, the
// failure the caller shows (its text, two blanks and the operating
// system's text for its code) beside an empty result.
struct BalanceGridRun {
  BalanceResult result;
  std::optional<store::FileSetFailure> openFailure;
};
// Opens "FRZ;GLA;GLC;JVO;", reads the four files, closes the set and
// computes. On a failed open nothing is computed: an empty grid, no
// freeze, and the failure for the caller's message box.
BalanceGridRun ComputeBalanceGrid(const BalanceRequest& request);

}  // namespace books::closing
