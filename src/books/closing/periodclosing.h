// The period freeze, the year-end closing that goes with it, and its
// undoing, as form-free operations: the report form's freeze action and the
// settings form's Unfreeze button each make one call here and show what it
// returns.
//
// A freeze (FreezeOpenPeriod) runs in one file set "FRZ;ADS;GLA;GLC;JVO;
// INV;PAY;":
// - checks first, and a refusal writes nothing: the settings file must
//   still hold the current period and period dates the report form froze
//   by; no invoice (by book date) and no payment (by value date) before the
//   period end may lack a voucher (both are asked, each refusal is its own
//   message); the fiscal year must be a number; the balance of the open
//   period, computed here from the files, must allow a freeze (in balance,
//   a P and a T account, a profit account in the settings, at most 400
//   accounts); no system voucher may exist on a date the closing posts;
// - then the intent record (src/books/closing/closingintent.h) and its steps: the
//   snapshot appended to FRZ, the period voucher "! SYSTEM" on the period's
//   last day (at a year end also the opening voucher on the new book year's
//   first day) inserted into JVO as the voucher store's profit save writes
//   them, ADS rewritten as read with only the closing, book-year, period and
//   fiscal-year fields changed.
// An unfreeze (UnfreezeLastPeriod) undoes the last freeze the same way.
// Every check that can refuse either runs before the intent record is
// written, the files' own among them: the settings file must hold exactly
// one whole record with valid fields and the last snapshot valid fields
// (else "damaged file <name>: <what>"); the files that are read whole are
// held to the store's small-file limit. While a closing that cannot be
// finished is left, both are refused with its message.
//
// Rules of the closing fields (AdvanceClosingFields): the label's period PP
// of NN moves to PP + 1; the last period (PP = NN) closes the book year: the
// approved annual balance becomes the label's year, the current annual
// balance follows the new book-year start ("0809" is followed by "0910"),
// the book year moves on and so does the fiscal year. The opening freeze
// (current period "00/00") closes the year before the first book year: it
// moves neither the book year nor the fiscal year.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "books/journal/voucher.h"
#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "books/closing/balance.h"
#include "store/scopedfileset.h"

namespace books::closing {

// --- pure rules --------------------------------------------------------------

// The first day after the open period (E): for PP 0 PeriodStart[1]; for PP
// 1 to 14 below NN PeriodStart[PP + 1]; for the last period the day after
// the book-year end. Empty when the dates do not allow it.
std::string OpenPeriodEnd(const records::AdminSettingsRec& s);

// The label of the open period: the one the report form lists on top, the
// freeze asks about, computes with and stores. After a frozen period PP of
// NN with PP below NN it is the last label's "YYYY-" and PP + 1 in two
// digits, with the same "/NN"; otherwise (nothing frozen, or the last
// freeze closed its book year) the current annual balance, "-" and the
// current period ("2026-00/00" for a new administration, "0809-01/12" for
// a book year from 1 April 2008). Labels go on from the last one stored,
// whatever its year reads, so labels written earlier are never rewritten.
std::string OpenPeriodLabel(const std::optional<std::string>& lastFrozenLabel,
                            const std::string& currentAnnualBalance, const std::string& currentPeriod);
std::string OpenPeriodLabel(const records::AdminSettingsRec& s, const std::optional<std::string>& lastFrozenLabel);

// The label a freeze stores for the open period `openLabel`, computed as
// `period`: the open label itself, except a label without periods (PP or
// NN "00"): when the period starts before PeriodStart[1] (the opening
// period) it is the year of the year base date + "-01/01"; otherwise the
// year of the period start, "-", the first period k whose PeriodStart[k +
// 1] lies after the start ("15" for none) and the period count, both in two
// digits.
std::string StoredFreezeLabel(const std::string& openLabel, const ReportPeriod& period,
                              const records::AdminSettingsRec& s);

// "YYYY" for a book year starting on 1 January, else the two-digit years of
// the start and of the year after it ("0809"); empty for a start that is no
// date.
std::string AnnualBalanceTextFor(const std::string& bookYearStart);

struct AdvancedFields {
  std::string ApprovedAnnualBalance, LastClosedPeriod, CurrentAnnualBalance, CurrentPeriod;
  bool closedYear = false;
  bool operator==(const AdvancedFields&) const = default;
};
// The closing fields after freezing the period of `label` ("YYYY-PP/NN"),
// from `s` as read. The current annual balance of a closed year is left as
// read here: it follows the new start, which the closing works out.
AdvancedFields AdvanceClosingFields(const records::AdminSettingsRec& s, const std::string& label);

// The settings record after the freeze of `label`: the closing fields
// advanced, and at a year end the book year, its periods and the fiscal year
// moved on (not by the opening freeze). Raises platform::ConversionError for
// dates that cannot move.
records::AdminSettingsRec SettingsAfterFreeze(const records::AdminSettingsRec& s, const std::string& label,
                                              bool* closedYear = nullptr);

// The snapshot of a computed balance: the period's dates, the label, the
// closing fields of `before`, `bookYear`, and the table's first 400 rows
// copied field by field (texts cut to the record's widths).
records::FreezeRec BuildFreezeRec(const BalanceResult& balance, const records::AdminSettingsRec& before,
                                  const std::string& label, std::int32_t bookYear);

// The closing vouchers a freeze posts (profit mode, day book): the period
// voucher on `periodEnd` - 1 day, and at a year end the opening voucher on
// the new book-year start.
struct ClosingAmounts {
  std::string transferNumber, transferCaption;  // type T account
  std::string profitNumber, profitCaption;      // type P account
  double periodProfit = 0;                      // FreezeProfitText's amount
  double yearProfit = 0;                        // ReportProfitText's amount
};
std::vector<books::journal::Voucher> ClosingVouchers(const records::AdminSettingsRec& before,
                                                     const records::AdminSettingsRec& after, bool closedYear,
                                                     const std::string& periodEnd, const ClosingAmounts& amounts);

// --- the operations ----------------------------------------------------------

enum class FreezeOutcome {
  Done,
  FileSetFailed,        // `failure`: FileErrorText and the system's text
  UnbookedDocuments,    // invoices and/or payments without a voucher
  SettingsChanged,      // another copy changed the period meanwhile
  BadFiscalYear,        // the fiscal year is no number
  NotPermitted,         // the balance does not allow a freeze
  SystemVoucherExists,  // a system voucher on a date the closing posts
  Stopped,              // a closing that stopped part-way cannot be finished
  DamagedFile,          // the settings or the freeze file is damaged
};

struct FreezeRun {
  FreezeOutcome outcome = FreezeOutcome::Done;
  store::FileSetFailure failure;
  // UnbookedDocuments: which refused (messages 11132 and 11243).
  bool invoicesWithoutVoucher = false;
  bool paymentsWithoutVoucher = false;
  // The messages to show, one box each, in order (empty for Done).
  std::vector<std::string> messages;
  // Done: what the report form keeps.
  bool FreezeClosedYear = false;
  std::string FreezeLabel;
  std::string FreezeProfitText;          // grouped, with the currency sign
  std::string ReportTransferAccountNumber, ReportTransferAccountCaption;
  std::string ReportProfitText, ReportProfitAccountNumber, ReportProfitAccountCaption;
  std::string ReportPeriodEnd;
  records::AdminSettingsRec settings;    // ADS as now written
  int vouchersPosted = 0;
  bool Ok() const { return outcome == FreezeOutcome::Done; }
};

// The Yes/No question before a freeze, naming the open period as listed.
std::string FreezeQuestion(const std::string& openLabel);

// Freezes the open period of `frozenBy` (the settings the report form
// froze by) with its closing, as described at the top. `texts` are the
// balance grid's texts in the language in use. `shownLabel`, when given, is
// the period the form computed and asked about: a freeze whose open period
// is another one by now (another copy froze meanwhile) is refused as
// changed. On Done the loaded settings (store::AdminSettings and the
// form's values) are the record written, and ClosingDone is set for the
// start screen.
FreezeRun FreezeOpenPeriod(const records::AdminSettingsRec& frozenBy, const BalanceTexts& texts = {},
                           const std::optional<std::string>& shownLabel = std::nullopt);

enum class UnfreezeOutcome {
  Done,
  FileSetFailed,
  NothingFrozen,    // the freeze file is empty: nothing changed
  SettingsChanged,  // ADS no longer holds what the form loaded
  Stopped,
  DamagedFile,      // the settings or the freeze file is damaged
};

struct UnfreezeRun {
  UnfreezeOutcome outcome = UnfreezeOutcome::Done;
  store::FileSetFailure failure;
  std::string message;               // to show in a box (not for Done)
  std::string label;                 // the period unfrozen
  records::AdminSettingsRec settings;  // ADS as now written
  int vouchersDeleted = 0;
  bool Ok() const { return outcome == UnfreezeOutcome::Done; }
};

// The label of the last snapshot; nullopt with an empty freeze file, or
// the failure of the open.
struct LastFreeze {
  std::optional<std::string> label;
  std::optional<store::FileSetFailure> failure;
};
LastFreeze ReadLastFreezeLabel();
std::string UnfreezeQuestion(const std::string& label);

// Undoes the last freeze, when ADS still holds `loaded`: the snapshot is cut
// off FRZ; the four closing fields come back from it; the "{SYSTEM}" and
// "! SYSTEM" vouchers of the frozen period's last day are deleted (read by
// key, as they are); after a year end also those of the book-year start,
// and the book year moves back (end: the day before the snapshot's period
// end; period k from the snapshot of period k, the last one read standing
// in for earlier ones; element n + 1 the snapshot's period end; the fiscal
// year the snapshot's). Undoing the opening freeze ("00/00") deletes the
// vouchers of the book-year start and the day before it and keeps the
// book year.
UnfreezeRun UnfreezeLastPeriod(const records::AdminSettingsRec& loaded);

// Set by a freeze that closed, for the start screen's flow after the report
// form: whether one ran, and whether it closed the book year.
struct ClosingState {
  bool done = false;
  bool closedYear = false;
};
extern ClosingState ClosingDone;
void ResetClosingState();

// Texts.
std::string MsgFreezeSettingsChanged();
std::string MsgUnfreezeSettingsChanged();
std::string MsgBadFiscalYear();
std::string MsgSystemVoucherExists(const std::string& date);
std::string MsgNothingFrozen();
std::string MsgTooManyAccountsToFreeze();
std::string MsgPeriodFrozenAlready(const std::string& label);
std::string MsgNewBookYearProposal();  // "Proposal periods date new bookyear"

}  // namespace books::closing
