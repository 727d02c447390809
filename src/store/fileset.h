// The data-file set: the table of the program's data files, the opening and
// closing of the files one operation needs, and the record access on them.
//
// Every operation names the files it needs in a file-code list ("GLA;ADS;"),
// opens them with OpenFileSet, works on the records and closes them with
// CloseFileSet. Files open in the fixed order of the table and close in the
// reverse order; sets nest (the inner call only counts, and opens the files
// of its list that the open set does not hold yet).
//
// Folders. Three folders hold the files: W, the working folder
// (`StartFolder`, the absolute folder the program was started in; the
// process's current directory is never used); D, the current data folder;
// A, the folder of the administrations file (`AdminFileFolder`). Folders are
// code page 1252 texts with "/" separators and a trailing "/"; they become
// UTF-8 only at the file-system call. Opening the system-parameter file sets
// the data root (its stored data folder, or W + "data/" when that is empty)
// and A := the root. D is the root followed by the current administration's
// folder (SetCurrentAdministrationFolder, empty before a log-in), unless an
// override is set (SetDataFolderOverride, used while an administration is
// copied); an empty folder stands for W. SystemSettings.DataFolder always
// holds the current D: it is written here (by the setters below and at the
// start of every outermost OpenFileSet), never read, so D is changed through
// the setters only.
//
// Copies on the same data. The outermost set takes an exclusive advisory
// lock on the file ".ombrelo.lock" in every folder it touches, before the
// first file there is opened, and releases them when it closes. A lock held
// by another copy is code 32: the pass fails, and the opener tries again in
// 100 ms passes, 50 passes in all, then reports "File(s) in use, try again".
// A lock that fails otherwise is the failure of the file that needed it,
// with that file's error text; unless the folder is missing (3), the text
// names the lock file too ("IO errorcode: SYS5 (lock file /w/.ombrelo.lock)"),
// and a folder in the lock file's place is 5.
//
// Crashes. A file changed in place by InsertRecords or DeleteRecords keeps a
// rollback journal "<file>.ombrelo-rollback" beside it, which holds the
// bytes the change overwrites while it runs and is empty otherwise (it is
// kept and reused, never deleted, so a change renames nothing); opening the
// file puts it back from a whole journal it finds and empties it (an empty
// journal, or one that was never finished, holds nothing to roll back), so a
// copy killed part-way leaves the old records or the new ones, never a mix.
// ChangeTogether does the same for several files of a folder with one
// journal, ".ombrelo-group-rollback". Opening a file also removes a
// "<file>.ombrelo-tmp" that a RewriteFile killed part-way left behind.
//
// Errors. OpenFileSet reports its failures in Result, `FileErrorText` and
// `FileErrorCode`. Every other file error (creating a missing file, reading,
// writing, truncating, closing) raises platform::IoError with the code; one
// raised inside OpenFileSet closes what that call opened first.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// The file codes, in the fixed open order.
enum class FileCode {
  SYS, FLG, IFS, INS, GLA, GLC, JVO, FRZ, CUS, SUP,
  ADM, ADS, PAY, INV, JVT, HEN, RAP, LAN, USE, FIX
};
constexpr int kFileCodeCount = 20;

struct FileCodeInfo {
  FileCode code;
  const char* name;        // "SYS"
  const char* fileName;    // "sysparm010000.vlk"; empty for HEN and RAP
  char folder;             // 'W', 'D' or 'A'; RAP: 'D' (then W)
  int recordSize;          // bytes; 0 for the text files HEN and RAP
  const char* errorLetters;  // the letters in "IO errorcode: " + letters + code
};

// The table, in the fixed open order.
const std::array<FileCodeInfo, kFileCodeCount>& FileTable();
const FileCodeInfo& FileInfo(FileCode c);
// "GLA" -> FileCode::GLA; nullopt for a text that is no code (case matters).
std::optional<FileCode> FileCodeFromText(std::string_view text);
constexpr int FileIndex(FileCode c) { return static_cast<int>(c); }

// The state of the unit.
extern bool FileSetOpen;
extern std::int32_t FileSetDepth;
// Per file code: 0 not named by the current set, 1 named but not open,
// 2 open. Reset at the start of each outermost OpenFileSet; CloseFileSet
// leaves it as it is.
extern std::array<std::int32_t, kFileCodeCount> FileState;
extern std::string FileErrorText;
// The code of the last file the opener tried (0 opened, 2 created, ...).
extern std::int32_t FileErrorCode;
// The text file that HEN and RAP open; set before the call.
extern std::string TextFileName;
// The folder of the administrations file; empty: the working folder.
extern std::string AdminFileFolder;
// The working folder (absolute, "/"-terminated); set by the main block.
extern std::string StartFolder;

// Opens the files of `List` (see the file comment). Result 0: open (or
// nested into the open set); 1: a file could not be opened, FileErrorText
// says which; 2: the files stayed in use, "File(s) in use, try again". On 1
// and 2 an outermost call leaves no set open; a nested call leaves the outer
// set and its depth as they were (so the caller must not close then).
void OpenFileSet(const std::string& List, int& Result);
// Ends the innermost set; the outermost one closes its files in reverse
// table order and releases its locks.
void CloseFileSet();

// A routine the outermost OpenFileSet runs when it opened a list naming FRZ,
// ADS or JVO, after the rollback journals were applied and before its
// caller reads anything (the period closing finishes a run that stopped
// part-way). It may nest sets of its own. Cleared by ResetFileSetState.
using OpenHook = void (*)();
void SetOpenHook(OpenHook hook);
// A period closing that stopped part-way and cannot be finished needs its
// files as they are: while a block is set, every change of FRZ, ADS or JVO
// (write, append, truncate, insert, delete, replace, rewrite) raises
// platform::IoError with `message` before anything is written; reading
// goes on. The open hook sets it; every outermost OpenFileSet clears it
// before the hook runs, and ResetFileSetState too.
void BlockClosingFiles(std::string message);
// The message of the block in force; empty when none is.
const std::string& ClosingFilesBlock();
// Ends every level of an open set at once, closes all files, releases the
// locks and ignores errors.
void ForceCloseFileSet();
// The number of open levels: 0 when no set is open, else FileSetDepth + 1.
inline int FileSetLevels() { return FileSetOpen ? FileSetDepth + 1 : 0; }
// Ends the levels above `levels` (a count FileSetLevels gave earlier) and
// nothing below them: down to 0 it closes the set as ForceCloseFileSet does;
// otherwise only the depth drops (the files a nested level added stay open
// until the outermost level ends, as with CloseFileSet). Fewer levels than
// `levels` are left as they are. Ignores errors. The event boundary calls it
// after an error with the levels open when the failed action started.
void CloseFileSetDownTo(int levels);
// Resets the unit: no set open, depth 0, every state and error cleared, no
// data root, administration or override, and StartFolder := `startFolder`
// (code page 1252, "/"-terminated).
void ResetFileSetState(const std::string& startFolder);

// Folders.
// A folder as stored in a record, as the program holds it: "\" becomes "/",
// a relative folder is taken relative to StartFolder, "//", "./" and "../"
// are tidied away, and a trailing "/" is added. Empty stays empty, and so
// does a folder with a drive letter ("C:\books\"), which names nothing on
// this system, and one holding NUL or control characters (below 32, 127).
std::string FolderFromStored(std::string_view stored);
// The working folder: StartFolder ending in "/".
std::string WorkingFolder();
// The data root (set by opening the system-parameter file).
const std::string& DataRoot();
void SetDataRoot(std::string_view folder);
// The current administration's folder name below the root ("" before a
// log-in); D becomes root + name + "/".
void SetCurrentAdministrationFolder(std::string_view name);
const std::string& CurrentAdministrationFolder();
// D := `folder` (as stored) whatever the root and administration; an empty
// folder ends the override.
void SetDataFolderOverride(std::string_view folder);
void ClearDataFolderOverride();
// The current D folder ("" while nothing set it: then W is used).
std::string CurrentDataFolder();

// Records of the open files. A record file is an array of fixed-size
// records from index 0, without a header. Errors raise platform::IoError:
// code 6 for a file the open set does not hold, 38 for an index outside the
// file.
// The number of whole records (a partial record at the end is not counted).
// Counts are 64-bit inside; a file with more records than an int holds
// raises an IoError naming the file.
int RecordCount(FileCode c);
// Reads record `index` whole into `buffer` (the file's record size).
void ReadRecord(FileCode c, int index, void* buffer);
// Writes record `index` whole; `index` may be RecordCount (appending).
void WriteRecord(FileCode c, int index, const void* buffer);
void AppendRecord(FileCode c, const void* buffer);
// Cuts the file after `count` records.
void TruncateRecords(FileCode c, int count);
// Inserts `count` records (contiguous) at `index` (0..RecordCount): records
// index..n-1 move up by `count`, from the end, then the new ones are written
// at `index`.
void InsertRecords(FileCode c, int index, const void* records, int count = 1);
// Deletes `count` records at `index`: the later records move down and the
// file is cut after the last kept record.
void DeleteRecords(FileCode c, int index, int count = 1);
// Replaces the `oldCount` records at `index` by the `newCount` records at
// `records` in one change: the later records move once, by the difference
// (up from the end, or down from the start and the file is cut), then the
// new records are written. With equal counts nothing moves: the records are
// overwritten in place with one write and no journal (a crash part-way can
// leave only these records part old, part new).
void ReplaceRecords(FileCode c, int index, int oldCount, const void* records, int newCount);
// The three moving ones save the bytes from the first record they change to the end of the
// file in the file's rollback journal (synced) before they move anything,
// sync the file after the moves and then empty the journal (synced). A failure
// part-way puts the file back from the journal at once; when that fails as
// well, the file leaves the set (later calls on it: code 6) and the next
// set that opens it puts it back. Either way the error is raised.
//
//
// A change of several record files of one folder that reaches them whole or
// not at all (a batch of imported rows: their payments, vouchers and the
// invoices they pay). For each file, new records inserted before the
// record at an index of the file as it is now (ascending; several at one
// index keep their order), and records overwritten in place at their index
// in the file as it is now. The bytes from each file's first touched record
// on go into one journal of the folder first (synced); then each file is
// changed and synced; then that journal is emptied, the one moment the
// whole change is done. A failure part-way puts every file back at once;
// when that fails too, the files leave the set and the next open of any
// file of the folder puts them all back. Either way the error is raised.
struct FileChange {
  FileCode code;
  std::vector<int> insertAt;     // ascending, 0..RecordCount
  std::string insertBytes;       // the new records, one after the other
  std::vector<int> overwriteAt;  // 0..RecordCount - 1
  std::string overwriteBytes;    // the records written there
};
void ChangeTogether(const std::vector<FileChange>& changes);
//
// Replaces the whole file by `count` records: they are written to a
// temporary file in the same folder, created with the old file's access
// mode, which is then renamed over the old one; the set goes on with the
// new file. A failure part-way leaves the old file as it was.
void RewriteFile(FileCode c, const void* records, int count);
// The same, the new file created with the access mode `mode` (a copy of
// another folder's file keeps that file's mode).
void RewriteFileWithMode(FileCode c, const void* records, int count, std::uint32_t mode);

// Typed forms for record types (records::Record<N>): the record size must
// be the file's (std::logic_error otherwise).
template <class R>
concept RecordType = requires(const R& r) {
  R::kSize;
  r.data();
} && sizeof(R) == R::kSize;

template <RecordType R>
void ReadRecord(FileCode c, int index, R& rec);
template <RecordType R>
void WriteRecord(FileCode c, int index, const R& rec);
template <RecordType R>
void AppendRecord(FileCode c, const R& rec);
template <RecordType R>
void InsertRecords(FileCode c, int index, const std::vector<R>& recs);
template <RecordType R>
void RewriteFile(FileCode c, const std::vector<R>& recs);

// The most bytes a record file may hold whose owner keeps a few hundred
// records at most (users, administrations, GL accounts and categories, the
// settings files): a larger file is damaged, not read.
inline constexpr std::uint64_t kSmallFileLimit = 64ull << 20;
// Every whole record of the file, in file order, read in blocks. A file
// larger than `maxBytes` (0: no limit) raises platform::IoError naming the
// file, before anything is read.
template <RecordType R>
std::vector<R> ReadAll(FileCode c, std::uint64_t maxBytes = 0);

// What a file held when a form read it: its size and a 64-bit hash of its
// bytes (a partial record at the end included). A form that rewrites the
// whole file takes one when it loads and compares it at Save, inside the
// Save's own file set: when the file no longer matches, another copy of the
// program has changed it meanwhile and the form must not write.
struct FileSnapshot {
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  bool operator==(const FileSnapshot&) const = default;
};
// The snapshot of an open file of the set (record or text file).
FileSnapshot SnapshotOf(FileCode c);
// The size in bytes of an open file of the set, partial records included;
// nothing of it is read.
std::uint64_t FileSize(FileCode c);

// The text file of HEN or RAP: its bytes, or its lines (ended by CR LF, LF
// or CR; the line ends are not part of the lines).
std::string ReadTextFile(FileCode c);
std::vector<std::string> ReadTextLines(FileCode c);
// The path (code page 1252) under which an open file was opened; RAP gives
// the folder where the template was found.
std::string OpenedFilePath(FileCode c);

// ---------------------------------------------------------------------------

namespace fileset_detail {
void CheckRecordSize(FileCode c, std::size_t size);
// Raises platform::IoError naming the file when it holds more than maxBytes.
void CheckFileSize(FileCode c, std::uint64_t maxBytes);
// The number of whole records, 64-bit.
std::uint64_t WholeRecords(FileCode c);
// Reads the `count` whole records from index `first` into `out` in one call.
void ReadRecords(FileCode c, std::uint64_t first, std::size_t count, void* out);
}

template <RecordType R>
void ReadRecord(FileCode c, int index, R& rec) {
  fileset_detail::CheckRecordSize(c, R::kSize);
  ReadRecord(c, index, static_cast<void*>(rec.data()));
}
template <RecordType R>
void WriteRecord(FileCode c, int index, const R& rec) {
  fileset_detail::CheckRecordSize(c, R::kSize);
  WriteRecord(c, index, static_cast<const void*>(rec.data()));
}
template <RecordType R>
void AppendRecord(FileCode c, const R& rec) {
  fileset_detail::CheckRecordSize(c, R::kSize);
  AppendRecord(c, static_cast<const void*>(rec.data()));
}
template <RecordType R>
void InsertRecords(FileCode c, int index, const std::vector<R>& recs) {
  fileset_detail::CheckRecordSize(c, R::kSize);
  InsertRecords(c, index, static_cast<const void*>(recs.data()), static_cast<int>(recs.size()));
}
template <RecordType R>
std::vector<R> ReadAll(FileCode c, std::uint64_t maxBytes) {
  fileset_detail::CheckRecordSize(c, R::kSize);
  if (maxBytes != 0) fileset_detail::CheckFileSize(c, maxBytes);
  // In blocks of about 1 MiB; the vector grows with what was read, never
  // ahead of it from the file's size.
  constexpr std::size_t kBlock = R::kSize >= (1u << 20) ? 1 : (1u << 20) / R::kSize;
  const std::uint64_t count = fileset_detail::WholeRecords(c);
  std::vector<R> recs;
  for (std::uint64_t done = 0; done < count;) {
    const std::size_t k = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, count - done));
    recs.resize(static_cast<std::size_t>(done) + k);
    fileset_detail::ReadRecords(c, done, k, static_cast<void*>(recs[static_cast<std::size_t>(done)].data()));
    done += k;
  }
  return recs;
}
template <RecordType R>
void RewriteFile(FileCode c, const std::vector<R>& recs) {
  fileset_detail::CheckRecordSize(c, R::kSize);
  RewriteFile(c, static_cast<const void*>(recs.data()), static_cast<int>(recs.size()));
}

}  // namespace store
