#include "books/administration/admincopy.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "books/closing/closingintent.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/filecopy.h"
#include "platform/filesystem.h"
#include "platform/longwork.h"
#include "platform/oserror.h"
#include "records/releaseflagrec.h"
#include "store/dataconversion.h"
#include "text/builtintext.h"

namespace books::administration {

using store::FileCode;

bool EmptiedByLedgerCopy(FileCode file) {
  switch (file) {
    case FileCode::JVO:
    case FileCode::FRZ:
    case FileCode::CUS:
    case FileCode::SUP:
    case FileCode::PAY:
    case FileCode::INV:
    case FileCode::JVT:
      return true;
    default:
      return false;
  }
}

OverwriteStep StepBeforeAsking(bool targetHoldsData, std::string_view answer) {
  if (!targetHoldsData || answer == kAnswerYesToAll) return OverwriteStep::Write;
  return OverwriteStep::Ask;
}

OverwriteStep StepAfterAnswer(std::string_view answer) {
  return answer == kAnswerYes || answer == kAnswerYesToAll ? OverwriteStep::Write : OverwriteStep::Keep;
}

std::string BookYearEndFor(std::string_view firstDate) {
  const std::string first(firstDate);
  const std::string nextYear = std::to_string(std::stoi(first.substr(0, 4)) + 1);
  const std::string monthDay = first.substr(4, 4);
  // 29 February has no day a year later: the year ends on 28 February.
  if (monthDay == "0229") return nextYear + "0228";
  return platform::YmdDayBefore(nextYear + monthDay);
}

std::string AnnualBalanceFor(std::string_view firstDate) {
  const std::string first(firstDate);
  if (first.substr(4, 4) == "0101") return first.substr(0, 4);
  const int year = std::stoi(first.substr(0, 4));
  auto twoDigits = [](int y) {
    const std::string s = std::to_string(y % 100);
    return s.size() == 1 ? "0" + s : s;
  };
  return twoDigits(year) + twoDigits(year + 1);
}

records::LedgerAccountRec RedatedAccount(const records::LedgerAccountRec& account, std::string_view firstDate) {
  records::LedgerAccountRec out = account;
  out.SetStartDate(platform::YmdDayBefore(firstDate));
  out.SetEndDate("20501231");
  out.SetStartAmount(0.0);
  return out;
}

namespace {

// Zeroes the field's bytes, so that a shorter new text leaves nothing of
// the old one behind.
template <class Field>
void Clear(records::AdminSettingsRec& rec, const Field& field) {
  std::memset(rec.data() + field.offset, 0, field.Size());
}

}  // namespace

records::AdminSettingsRec NewBookYearSettings(const records::AdminSettingsRec& source, std::string_view firstDate,
                                              std::string_view createdBy, std::string_view createdAt) {
  using R = records::AdminSettingsRec;
  R rec = source;
  for (const auto& field : {R::kBookYearStart, R::kBookYearEnd, R::kFiscalYear, R::kApprovedAnnualBalance,
                            R::kLastClosedPeriod, R::kCurrentAnnualBalance, R::kCurrentPeriod, R::kCreatedBy,
                            R::kCreatedAt})
    Clear(rec, field);
  std::memset(rec.data() + R::kPeriodStartOffset, 0, 9 * R::kPeriodStartCount);
  const std::string first(firstDate);
  const std::string end = BookYearEndFor(first);
  rec.SetBookYearStart(first);
  rec.SetBookYearEnd(end);
  rec.SetFiscalYear(first.substr(0, 4));
  rec.SetPeriodCount(1);
  // Period k runs from element k up to element k + 1: element 2 is the day
  // after the end; the unused ones hold a valid date as well.
  for (int k = 1; k <= R::kPeriodStartCount; ++k) rec.SetPeriodStart(k, first);
  rec.SetPeriodStart(2, platform::YmdAddDays(end, 1));
  rec.SetCurrentAnnualBalance(AnnualBalanceFor(first));
  rec.SetCurrentPeriod("00/00");
  rec.SetCreatedBy(createdBy);
  rec.SetCreatedAt(createdAt);
  return rec;
}

bool CarriesUnfinishedCopy(const std::string& folder) {
  return platform::Fs().Exists(cp1252::ToUtf8(folder) + kUnfinishedCopyFileName);
}

std::string UnfinishedCopyText() {
  return text::BuiltInText(text::BuiltIn::UnfinishedCopyText);
}

std::string LeftClosingText() {
  return text::BuiltInText(text::BuiltIn::LeftClosingText);
}

// ---------------------------------------------------------------------------
// The run.

namespace {

std::string ListOfCopiedFiles() {
  std::string list;
  for (FileCode c : kCopiedFiles) list += std::string(store::FileInfo(c).name) + ";";
  return list;
}

std::string FileName(FileCode c) { return store::FileInfo(c).fileName; }

// Why the run stopped, thrown inside it.
struct Stop {
  std::string fileName;
  std::string errorText;
};

// The set on `folder`, closed (and the folder given back) at the end of
// the scope.
class FolderSet {
 public:
  explicit FolderSet(const std::string& folder) {
    store::SetDataFolderOverride(folder);
    int result = 0;
    store::OpenFileSet(ListOfCopiedFiles(), result);
    if (result != 0) {
      store::ClearDataFolderOverride();
      std::string text = store::FileErrorText;
      if (result == 1) text += "  " + platform::OsErrorText(store::FileErrorCode);
      throw Stop{folder, text};
    }
  }
  ~FolderSet() {
    if (store::FileSetOpen) store::ForceCloseFileSet();
    store::ClearDataFolderOverride();
  }
  FolderSet(const FolderSet&) = delete;
  FolderSet& operator=(const FolderSet&) = delete;
};

bool HasEveryCode() {
  std::vector<std::string> recorded;
  for (const records::ReleaseFlagRec& rec :
       store::ReadAll<records::ReleaseFlagRec>(FileCode::FLG, store::kSmallFileLimit))
    recorded.push_back(rec.ConversionCode());
  return store::MissingConversionCodes(recorded).empty();
}

std::uint64_t SizeOf(FileCode c) { return store::SnapshotOf(c).size; }

// The bytes of an open record file, which must hold whole records.
std::string WholeFile(FileCode c) {
  const std::uint64_t size = SizeOf(c);
  const std::uint64_t recordSize = static_cast<std::uint64_t>(store::FileInfo(c).recordSize);
  if (size % recordSize != 0)
    throw platform::IoError(0, "the file's size, " + std::to_string(size) + " bytes, is no whole number of records of " +
                                   std::to_string(recordSize) + " bytes: the file is damaged");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  const std::uint64_t count = size / recordSize;
  if (count > 0) store::fileset_detail::ReadRecords(c, 0, static_cast<std::size_t>(count), bytes.data());
  return bytes;
}

// Replaces the target's file `c` by `bytes`, with `mode` when the source
// had the file.
void Replace(FileCode c, const std::string& bytes, std::optional<std::uint32_t> mode = std::nullopt) {
  const std::size_t recordSize = static_cast<std::size_t>(store::FileInfo(c).recordSize);
  const int count = static_cast<int>(bytes.size() / recordSize);
  if (mode)
    store::RewriteFileWithMode(c, bytes.data(), count, *mode);
  else
    store::RewriteFile(c, bytes.data(), count);
}

// The access mode of the source's file `c`, when it has one.
std::optional<std::uint32_t> SourceMode(const std::string& folder, FileCode c) {
  std::uint32_t mode = 0;
  if (platform::Fs().AccessMode(cp1252::ToUtf8(folder + FileName(c)), mode) != platform::kNoError) return std::nullopt;
  return mode;
}

// Finishes a period closing left part-way in the open set's folder, as the
// log-in does (the store's open hook has done so already when it is
// installed; what it said is taken here). A record that stays refuses the
// copy.
void FinishLeftClosing(const std::string& folder, CopyOutcome& outcome) {
  std::string note = books::closing::TakeReplayNote();
  books::closing::IntentReplay replay;
  try {
    replay = books::closing::FinishClosingIntent();
  } catch (const platform::IoError& e) {
    throw Stop{folder + books::closing::kIntentFileName, e.what()};
  }
  if (!replay.message.empty()) note = replay.message;
  if (platform::Fs().Exists(cp1252::ToUtf8(folder) + books::closing::kIntentFileName))
    throw Stop{folder + books::closing::kIntentFileName, LeftClosingText()};
  if (!note.empty()) outcome.notes.push_back(note);
}

[[noreturn]] void Fail(int code, const std::string& what, const std::string& path) {
  throw platform::IoError(code, what + " \"" + path + "\": " + platform::OsErrorText(code));
}

// The marker of the copy in the target folder (see the header).
class UnfinishedMarker {
 public:
  UnfinishedMarker(const std::string& toFolder, const std::string& fromFolder)
      : folder_(toFolder), from_(fromFolder), path_(cp1252::ToUtf8(toFolder) + kUnfinishedCopyFileName) {}
  // Before a target file changes: written, synced and named, once.
  void Place() {
    if (placed_) return;
    platform::FileSystem& fs = platform::Fs();
    const std::string temp = path_ + ".ombrelo-tmp";
    const std::string text = "Copy from " + from_ + "\r\n";
    platform::CreatedFile created =
        platform::CreateEmptyLike(temp, cp1252::ToUtf8(folder_ + FileName(FileCode::ADS)));
    if (created.code != platform::kNoError) Fail(created.code, "creating", temp);
    int code = created.handle->WriteAt(0, text.data(), text.size());
    if (code == platform::kNoError) code = created.handle->Sync();
    if (code == platform::kNoError) code = created.handle->Close();
    created.handle.reset();
    if (code == platform::kNoError) code = fs.RenameOver(temp, path_);
    if (code != platform::kNoError) {
      fs.Delete(temp);
      Fail(code, "writing", path_);
    }
    if (const int synced = fs.SyncFolderOf(path_); synced != platform::kNoError)
      Fail(synced, "writing the folder of", path_);
    placed_ = true;
  }
  // After every file is in place: the marker goes, this copy's or one an
  // earlier copy left.
  void Remove() {
    platform::FileSystem& fs = platform::Fs();
    if (!fs.Exists(path_)) return;
    // The names of the files copied reach the disk before the marker goes.
    int code = fs.SyncFolderOf(path_);
    if (code == platform::kNoError) code = fs.Delete(path_);
    if (code == platform::kNoError) code = fs.SyncFolderOf(path_);
    if (code != platform::kNoError) Fail(code, "deleting", path_);
  }
  std::string Path() const { return cp1252::FromUtf8(path_); }

 private:
  std::string folder_, from_, path_;
  bool placed_ = false;
};

// The general-ledger copy's changes to the source's bytes of `c`.
void AdaptForNewBookYear(FileCode c, std::string& bytes, const CopyRequest& request) {
  if (c == FileCode::GLA) {
    records::LedgerAccountRec account;
    for (std::size_t at = 0; at + account.kSize <= bytes.size(); at += account.kSize) {
      std::memcpy(account.data(), bytes.data() + at, account.kSize);
      const records::LedgerAccountRec redated = RedatedAccount(account, request.firstDate);
      std::memcpy(bytes.data() + at, redated.data(), account.kSize);
    }
  } else if (c == FileCode::ADS) {
    records::AdminSettingsRec source;
    if (bytes.size() >= source.kSize) std::memcpy(source.data(), bytes.data(), source.kSize);
    const records::AdminSettingsRec fresh =
        NewBookYearSettings(source, request.firstDate, request.createdBy, request.createdAt);
    if (bytes.size() < fresh.kSize) bytes.resize(fresh.kSize);
    std::memcpy(bytes.data(), fresh.data(), fresh.kSize);
  }
}

void Run(const CopyRequest& request, const CopyQuestions& questions, CopyOutcome& outcome) {
  const bool ledgerOnly = request.kind == CopyKind::GeneralLedger;
  // The source, read whole under its own set.
  std::array<std::string, kCopiedFiles.size()> source;
  std::array<std::optional<std::uint32_t>, kCopiedFiles.size()> modes;
  {
    FolderSet set(request.fromFolder);
    FinishLeftClosing(request.fromFolder, outcome);
    FileCode at = FileCode::FLG;
    try {
      if (!HasEveryCode()) {
        outcome.result = CopyOutcome::SourceNotCurrent;
        return;
      }
      for (std::size_t i = 0; i < kCopiedFiles.size(); ++i) {
        at = kCopiedFiles[i];
        if (ledgerOnly && EmptiedByLedgerCopy(at)) continue;
        source[i] = WholeFile(at);
        modes[i] = SourceMode(request.fromFolder, at);
        platform::LongWorkTick();
      }
    } catch (const platform::IoError& e) {
      throw Stop{request.fromFolder + FileName(at), e.what()};
    }
  }

  FolderSet set(request.toFolder);
  FinishLeftClosing(request.toFolder, outcome);
  UnfinishedMarker marker(request.toFolder, request.fromFolder);
  FileCode at = FileCode::FLG;
  try {
    // A target in older layouts that holds data would be mixed with the
    // copied files.
    bool holdsData = false;
    for (FileCode c : kCopiedFiles)
      if (c != FileCode::FLG && SizeOf(c) > 0) holdsData = true;
    if (holdsData && !HasEveryCode()) {
      outcome.result = CopyOutcome::TargetNotCurrent;
      return;
    }
    if (ledgerOnly) {
      std::vector<std::string> toEmpty;
      for (FileCode c : kCopiedFiles)
        if (EmptiedByLedgerCopy(c) && SizeOf(c) > 0) toEmpty.push_back(FileName(c));
      if (!toEmpty.empty() && !(questions.confirmEmptying && questions.confirmEmptying(toEmpty))) {
        outcome.result = CopyOutcome::Declined;
        return;
      }
    }
    std::string answer;
    for (std::size_t i = 0; i < kCopiedFiles.size(); ++i) {
      at = kCopiedFiles[i];
      const bool targetHoldsData = SizeOf(at) > 0;
      if (ledgerOnly && EmptiedByLedgerCopy(at)) {
        if (targetHoldsData) {
          marker.Place();
          Replace(at, {});
          outcome.emptied.push_back(FileName(at));
        }
        continue;
      }
      // The release flags go with the files they describe.
      OverwriteStep step = at == FileCode::FLG ? OverwriteStep::Write : StepBeforeAsking(targetHoldsData, answer);
      if (step == OverwriteStep::Ask) {
        answer = questions.askOverwrite ? questions.askOverwrite(FileName(at)) : std::string();
        step = StepAfterAnswer(answer);
      }
      if (step == OverwriteStep::Keep) {
        outcome.kept.push_back(FileName(at));
        continue;
      }
      std::string bytes = std::move(source[i]);
      if (ledgerOnly) AdaptForNewBookYear(at, bytes, request);
      marker.Place();
      Replace(at, bytes, modes[i]);
      outcome.copied.push_back(FileName(at));
      platform::LongWorkTick();
    }
  } catch (const platform::IoError& e) {
    throw Stop{request.toFolder + FileName(at), e.what()};
  }
  try {
    marker.Remove();
  } catch (const platform::IoError& e) {
    throw Stop{marker.Path(), e.what()};
  }
}

}  // namespace

CopyOutcome CopyAdministration(const CopyRequest& request, const CopyQuestions& questions) {
  // File by file: the window repaints between the files and takes no other
  // command (the overwrite question still takes its answer).
  platform::LongWork work;
  CopyOutcome outcome;
  if (store::FileSetOpen) {
    // The set would nest into the open one, on its folder.
    outcome.result = CopyOutcome::Failed;
    outcome.fileName = request.fromFolder;
    outcome.errorText = "File(s) in use, try again";
    return outcome;
  }
  try {
    Run(request, questions, outcome);
  } catch (const Stop& stop) {
    outcome.result = CopyOutcome::Failed;
    outcome.fileName = stop.fileName;
    outcome.errorText = stop.errorText;
  }
  return outcome;
}

}  // namespace books::administration
