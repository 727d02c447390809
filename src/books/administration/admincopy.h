// Copying one administration's data files into another, listed one: a full
// copy, or the general ledger only as the start of a new book year. The
// administrations form's copy panel asks what and where; this unit does the
// copy and shows nothing: it asks its questions through the callbacks it is
// given and returns what it did, or why it stopped.
//
// The copy reads the source's eleven files whole inside a file set opened
// on the source's folder (so rollback journals and stale temporary files
// there are dealt with first, under the source's lock), closes it, then
// opens the same set on the target's folder and keeps it open until the
// end; every target file is replaced through a temporary file, synced and
// renamed over (store::RewriteFile). A file missing in the source counts as
// an empty one ("booktemp.vlk" before the journal form was first shown).
//
// Refusals, before anything changes: a source whose release-flag file
// lacks a conversion code (its files may be in old layouts: log in to it
// first), and a target lacking a code while one of its data files holds
// data. A source file whose size is no whole number of records is damaged:
// the copy stops at it.
//
// A period closing that stopped part-way is finished first in both
// folders, as at a log-in (the record "closing.ombrelo-intent"); a record
// that stays (it cannot be finished) refuses the copy, naming it and its
// folder: its closing must not travel into the target, nor the target's
// files change under it.
//
// An unfinished copy. Before the first target file changes, the marker
// "copy.ombrelo-unfinished" is written into the target folder (through a
// temporary file, synced, renamed, the folder synced); it is removed (the
// folder synced) only after every file of a copy that went through to its
// end is in place. A copy killed or stopped part-way leaves it, and with it
// a target with some files copied and others not: the log-in and the
// administrations form tell so (UnfinishedCopyText), and the next copy into
// that folder that goes through removes it. The target files get the
// source files' access modes, as copies do.
//
// The general-ledger copy first asks one question naming the target files
// it would empty (those of the seven transaction files that hold data); No
// ends the copy with nothing changed. Then, file by file in the fixed
// order: the seven transaction files are emptied, the release-flag file is
// copied without a question, and every other file is copied, asking first
// when the target's file holds data (Yes, No, Yes to all; a closed dialog
// counts as No). In the general-ledger copy the accounts are re-dated as
// they are written (start the day before the first date, end "20501231",
// start amount 0) and the settings record gets the new book year; a file
// the user kept is neither re-dated nor replaced.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/ledgeraccountrec.h"
#include "store/fileset.h"

namespace books::administration {

// The files copied, in the order they are copied.
inline constexpr std::array<store::FileCode, 11> kCopiedFiles = {
    store::FileCode::FLG, store::FileCode::GLA, store::FileCode::GLC, store::FileCode::JVO,
    store::FileCode::FRZ, store::FileCode::CUS, store::FileCode::SUP, store::FileCode::ADS,
    store::FileCode::PAY, store::FileCode::INV, store::FileCode::JVT};

// Whether the general-ledger copy empties `file` in the target (vouchers,
// freezes, partners, payments, invoices and templates).
bool EmptiedByLedgerCopy(store::FileCode file);

// The overwrite prompt's answers, as the unit keeps them in CopyAnswer.
inline constexpr const char* kAnswerYes = "yes";
inline constexpr const char* kAnswerNo = "no";
inline constexpr const char* kAnswerYesToAll = "yestoall";

// What happens to a copied file whose target holds data or not, with the
// answer given so far in this run: ask, write, or keep the target's file.
enum class OverwriteStep { Ask, Write, Keep };
OverwriteStep StepBeforeAsking(bool targetHoldsData, std::string_view answer);
// After the prompt: Write for "yes" and "yestoall", else Keep.
OverwriteStep StepAfterAnswer(std::string_view answer);

// The new book year of the general-ledger copy, from its first date
// ("YYYYMMDD"): the end is the day before the same day a year later (a
// first date on 29 February ends on 28 February); the annual-balance label
// is "YYYY" for a year starting on 1 January, else the two-digit years of
// the start and of the year after ("0809").
std::string BookYearEndFor(std::string_view firstDate);
std::string AnnualBalanceFor(std::string_view firstDate);

// An account re-dated for the new book year: start date the day before the
// first date, end date "20501231", start amount 0; every other byte as it
// was.
records::LedgerAccountRec RedatedAccount(const records::LedgerAccountRec& account, std::string_view firstDate);

// The settings record of the new book year: the source's company data,
// currency, profit account, journals, split flag and sales-tax option; new
// are the book year (start, end, fiscal year), one period (element 1 the
// first date, element 2 the day after the end, 3 to 15 the first date),
// the closing fields (no approved year, no closed period, the annual-balance
// label, current period "00/00") and the creation stamp.
records::AdminSettingsRec NewBookYearSettings(const records::AdminSettingsRec& source, std::string_view firstDate,
                                              std::string_view createdBy, std::string_view createdAt);

enum class CopyKind { Full, GeneralLedger };

struct CopyRequest {
  std::string fromFolder;  // the data folders, code page 1252, ending in "/"
  std::string toFolder;
  CopyKind kind = CopyKind::Full;
  std::string firstDate;  // "YYYYMMDD", general-ledger copy only
  std::string createdBy;  // the creation stamp of the new settings record
  std::string createdAt;
};

struct CopyQuestions {
  // The target files (names) the general-ledger copy would empty; true: go
  // on.
  std::function<bool(const std::vector<std::string>& fileNames)> confirmEmptying;
  // The target's file (name) holds data: the answer ("yes", "no",
  // "yestoall"; anything else counts as "no").
  std::function<std::string(const std::string& fileName)> askOverwrite;
};

// The marker of a copy into the folder that did not finish.
inline constexpr const char* kUnfinishedCopyFileName = "copy.ombrelo-unfinished";
// Whether the data folder `folder` (code page 1252, ending in "/") carries
// the marker.
bool CarriesUnfinishedCopy(const std::string& folder);
// "The copy into this administration did not finish: copy it again", in
// the language in use.
std::string UnfinishedCopyText();
// Why a copy was refused: a closing intent record (named after the text)
// that cannot be finished, in the language in use.
std::string LeftClosingText();

struct CopyOutcome {
  enum Result {
    Done,
    Declined,          // No to the question on the files to be emptied: nothing changed
    SourceNotCurrent,  // the source lacks a conversion code: nothing changed
    TargetNotCurrent,  // the target lacks one and holds data: nothing changed
    Failed,            // stopped at `fileName`: `errorText`
  };
  Result result = Done;
  std::vector<std::string> copied;   // target files written, in order
  std::vector<std::string> kept;     // target files the user kept
  std::vector<std::string> emptied;  // transaction files emptied
  std::string fileName;              // Failed: the file (or folder) it stopped at
  std::string errorText;             // Failed: the system's text
  // What finishing a period closing left part-way in either folder said.
  std::vector<std::string> notes;
};

// Copies as the file comment says. Needs no open file set; leaves none
// open and the data folder as it found it.
CopyOutcome CopyAdministration(const CopyRequest& request, const CopyQuestions& questions);

}  // namespace books::administration
