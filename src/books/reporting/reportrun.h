// One run of a report on the administration's files, without a form: the
// template of the kind is found (data folder, then working folder) and
// parsed, the records are read inside one file set, and the pure drivers
// of books/reporting/reportbuild.h lay the report out. Also the plain decisions of
// the report form: the period list, the journal list, a combo box's exit
// check, and writing the saved file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "books/closing/balance.h"
#include "books/reporting/reportbuild.h"
#include "records/adminsettingsrec.h"
#include "records/journalvoucherrec.h"
#include "records/systemparamrec.h"

namespace books::reporting {

// What a run needs besides the files.
struct ReportRunRequest {
  char kind = '3';
  std::string periodText;    // kinds 1 to 4
  std::string journal = "*.*";  // kind 4
  // Kind 3: the accounts whose cards print (one, or all for "*.*").
  std::vector<books::reporting::CardAccount> cardAccounts;
  std::string accountNumber = "*.*", accountName;  // as the account choice shows them
  // Kinds 1 and 2: the computed grid.
  const books::closing::BalanceResult* balance = nullptr;
  records::AdminSettingsRec settings;
  records::SystemParamRec system;
  int decimals = 2;
  std::string today;  // "YYYYMMDD"
  std::string time;   // as "<time>" shows it
  std::function<void(int percent)> progress;
};

struct ReportRunResult {
  std::optional<BuiltReport> report;
  std::string error;  // the file set's text, the template's or the period's refusal
};

// Opens the kind's file set ("FRZ;RAP;JVO;GLA;GLC" for kinds 1 to 4,
// "RAP;INV;CUS;PAY" or "RAP;INV;SUP;PAY" for kinds 5 and 6), reads what it
// needs, closes the set and lays the report out. Kinds 5 and 6 find each
// partner once by number (src/books/partners/partnerstore.h).
ReportRunResult RunReport(const ReportRunRequest& request);

// The period list of the report form, newest first: the open period on
// top (the period after the last frozen one of its year, else the
// settings' current annual balance and period), then the frozen labels
// from the newest.
std::vector<std::string> PeriodListItems(const std::vector<std::string>& frozenLabels,
                                         const std::string& currentAnnualBalance, const std::string& currentPeriod);

// The journal list of the report form: "*.*", then the journals of the
// period's vouchers, once each and sorted ignoring case. The vouchers are
// read from the last one backwards, up to the first one dated before the
// period start; with the open period chosen every voucher from the start
// on counts.
std::vector<std::string> JournalListItems(const std::vector<records::JournalVoucherRec>& vouchers,
                                          const books::closing::ReportPeriod& period, bool openPeriodChosen);

// The text a combo box keeps when it is left: its own when an item equals
// it ignoring case, else the first item (empty without items).
std::string ComboExitText(const std::vector<std::string>& items, const std::string& text);

// Writes `bytes` to `path` (UTF-8) through a temporary file beside it,
// replacing the file only once everything is written; an error text, or
// empty when written.
std::string WriteReportFile(const std::string& path, const std::string& bytes);

}  // namespace books::reporting
