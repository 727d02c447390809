// Laying out a report: the page-layout drivers, their emitters, and the
// rich-text file the report is saved as, without a form.
//
// A driver copies the sections of a parsed template (reports/
// reporttemplate.h) into the report's RTF lines (`ReportOutput`) as a line
// source (books/reporting/paging.h) gives the report lines, keeps six running sums
// and breaks pages by a budget of half-points: the page subtotal, the footer
// padded to the page foot, a visible page-marker line, the next page's
// header, a subheader and the carried sums. `BuildLedgerReport` serves
// kinds 1 to 4 (groups: the balance sheet's two parts, one ledger card per
// account), `BuildOpenItemsReport` kinds 5 and 6 (no groups). Both are pure
// functions of their input; nothing here opens a file or raises.
//
// Every inserted value is RTF-escaped. The marker line is the only place
// where pages are told apart in the output; the reader recognises it as a
// whole paragraph (ui/rtfreader.h), and the save-as file replaces it by a
// page break (`SaveReportRtf`).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "books/reporting/paging.h"
#include "books/reporting/reporttemplate.h"

namespace books::reporting {

// The page budgets: the landscape trial balance and every other report.
inline constexpr int kLandscapePageHeight = 998;
inline constexpr int kPortraitPageHeight = 1367;
int PageHeightOf(char kind);
// Whether a report kind prints landscape (the trial balance only).
bool IsLandscapeKind(char kind);

// The margins of a printed or saved report, in twips.
inline constexpr int kMarginLeft = 800, kMarginRight = 100, kMarginTop = 500, kMarginBottom = 100;

// The text of the page marker after page `n` (43, 44 or 45 characters for
// one, two or three digits) and its whole output line.
std::string PageMarkerText(int n);
std::string PageMarkerLine(int n);

// What a driver needs besides the line source.
struct ReportLayoutInput {
  char kind = '1';
  int pageHeight = kPortraitPageHeight;
  int decimals = 2;            // the amount decimals of the system settings
  std::string periodText;      // kinds 3, 4: the period as chosen ("<curperd>")
  std::string today;           // "YYYYMMDD", the local date at the start of the run
  // Kind 4 (and kind 3 before its first card): the account the account
  // choice shows ("<gln>", "<glname>").
  std::string accountNumber = "*.*";
  std::string accountName;
  // Kind 3 over all accounts: told the card in print as a percentage.
  std::function<void(int percent)> progress;
};

struct BuiltReport {
  std::vector<std::string> output;  // ReportOutput: RTF lines, CP1252
  int preambleLines = 0;            // the lines before the first Header line
  int pages = 1;                    // the page markers + 1
  std::string status;               // a note for the status line (an empty card list)
  char kind = '1';
  int paperWidth = 0, paperHeight = 0;  // twips, 0 when the template gives none
};

// Kinds 1 to 4 on `parsed` (a successful ParseReportTemplate of the kind's
// template) and `sources` (whose `sums` the driver points at its own).
BuiltReport BuildLedgerReport(const books::reporting::ParsedTemplate& parsed,
                              const books::reporting::ReportLineSources& sources, const ReportLayoutInput& input);
// Kinds 5 and 6.
BuiltReport BuildOpenItemsReport(const books::reporting::ParsedTemplate& parsed,
                                 const books::reporting::ReportLineSources& sources, const ReportLayoutInput& input);

// The report's lines as one RTF text (what the view shows), CR LF after
// each line.
std::string ReportRtf(const BuiltReport& report);

// Whether `line` of ReportOutput is a page-marker line (as NewReportPage
// writes it).
bool IsPageMarkerLine(const std::string& line);

// The report as a rich-text file: the lines of `report` with each marker
// line replaced by a page break, the paper size (when the template gave
// one), the margins and, for a landscape report, the landscape marks after
// the preamble; CP1252 bytes with CR LF after every line.
std::string SaveReportRtf(const BuiltReport& report);

// The whole days from `fromYmd` to `toYmd` (negative when `toYmd` lies
// before); 0 when either is no date.
int DaysBetween(const std::string& fromYmd, const std::string& toYmd);

}  // namespace books::reporting
