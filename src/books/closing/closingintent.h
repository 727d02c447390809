// The intent record of a period closing or of its undoing: every change the
// operation will make to the freeze file (FRZ), the voucher file (JVO) and
// the settings file (ADS), with the state before it, written ahead into
// "closing.ombrelo-intent" in the administration's folder.
//
// Rules:
// - The record is written to "closing.ombrelo-intent.ombrelo-tmp" (with the
//   access mode of the folder's settings file), synced,
//   renamed into place and the folder synced before the first change; the
//   changes follow; then the record is deleted and the folder synced.
// - The changes are made by ApplyIntentSteps, the same routine that
//   finishes a record left by a copy that stopped part-way. Per file it
//   finds how far the steps got: a step is done when its file holds the
//   after-state, still to do when it holds the before-state (FRZ and JVO by
//   their record count and the records at the step's index, ADS by its
//   bytes). Every file is looked at before anything changes: any other
//   state stops the whole replay, with a message, and the record stays.
// - A record that is cut off or damaged (magic, sizes, checksum) was never
//   finished, so no step began: it is deleted.
// - FinishClosingIntent runs inside an open set that names FRZ, ADS and
//   JVO; the data store calls it through its open hook (SetOpenHook) at the
//   outermost open of such a set, after the rollback journals.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/journalvoucherrec.h"

namespace books::closing {

inline constexpr const char* kIntentFileName = "closing.ombrelo-intent";

struct FreezeFileStep {
  enum class Op { Append, Cut } op = Op::Append;
  int countBefore = 0;      // FRZ's record count before the step
  records::FreezeRec rec;   // the snapshot appended, or the last one cut
};

struct VoucherFileStep {
  enum class Op { Insert, Delete } op = Op::Insert;
  int index = 0;            // where the records go or lie
  int countBefore = 0;      // JVO's record count before the step
  std::vector<records::JournalVoucherRec> recs;
};

struct ClosingIntent {
  FreezeFileStep freeze;
  // All inserts or all deletes, in the order they are made.
  std::vector<VoucherFileStep> vouchers;
  records::AdminSettingsRec settingsBefore;
  records::AdminSettingsRec settingsAfter;
};

// The bytes of the record and back; nullopt for bytes that are cut off or
// damaged.
std::string EncodeIntent(const ClosingIntent& intent);
std::optional<ClosingIntent> DecodeIntent(std::string_view bytes);

// The path (UTF-8) of the intent record beside the open set's ADS file.
std::string IntentPath();

// Writes the record as described above; raises platform::IoError.
void WriteIntent(const ClosingIntent& intent);
// Deletes the record and syncs the folder; raises platform::IoError.
void DeleteIntent();

// Brings FRZ, JVO and ADS from any state the steps pass through to the
// state after the last step. Empty when done; else the message why it
// stopped (nothing more is changed then).
std::string ApplyIntentSteps(const ClosingIntent& intent);

struct IntentReplay {
  enum class Outcome { NoRecord, Finished, Discarded, Stopped } outcome = Outcome::NoRecord;
  std::string message;  // what the user is told (Finished, Stopped)
};
// Finishes a record left behind, inside a set that names FRZ, ADS and JVO.
IntentReplay FinishClosingIntent();

// What the last replay at an open said ("" when none ran or it found no
// record); the form that opened the set shows it. TakeReplayNote empties it.
std::string TakeReplayNote();
// Installs FinishClosingIntent as the data store's open hook. A record that
// cannot be finished blocks every change of FRZ, ADS and JVO in that set
// (store::BlockClosingFiles) with the message naming the file that no
// longer matches; reading goes on, and the record is never deleted or
// renamed here: once the file is mended, the next open finishes it.
void InstallClosingIntentHook();

// Texts.
std::string MsgIntentFinished();
std::string MsgIntentStopped();
// The file `fileName` no longer holds what the closing left; `should` says
// what it should hold.
std::string MsgIntentStoppedAt(const std::string& fileName, const std::string& should);

}  // namespace books::closing
