#include "shell/fileset.h"

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <map>
#include <memory>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "platform/sleep.h"
#include "records/codec.h"
#include "shell/systemsettings.h"

namespace shell {

bool FileSetOpen = false;
std::int32_t FileSetDepth = 0;
std::array<std::int32_t, kFileCodeCount> FileState{};
std::string FileErrorText;
std::int32_t FileErrorCode = 0;
std::string TextFileName;
std::string AdminFileFolder;
std::string StartFolder;

namespace {

using platform::FileHandle;
using platform::LockHandle;

constexpr std::array<FileCodeInfo, kFileCodeCount> kTable = {{
    {FileCode::SYS, "SYS", "sysparm010000.vlk", 'W', 816, "SYS"},
    {FileCode::FLG, "FLG", "releaseflag.vlk", 'D', 4, "FLG"},
    {FileCode::IFS, "IFS", "ifs.vlk", 'W', 116, "IFS"},
    {FileCode::INS, "INS", "ins.vlk", 'W', 3, "INS"},
    {FileCode::GLA, "GLA", "ledger.vlk", 'D', 376, "GLA"},
    {FileCode::GLC, "GLC", "ledgerct.vlk", 'D', 134, "GLC"},
    {FileCode::JVO, "JVO", "book.vlk", 'D', 392, "JVO"},
    {FileCode::FRZ, "FRZ", "freeze.vlk", 'D', 64080, "frz"},
    {FileCode::CUS, "CUS", "customer.vlk", 'D', 1624, "cus"},
    {FileCode::SUP, "SUP", "supplier.vlk", 'D', 1624, "sup"},
    {FileCode::ADM, "ADM", "admin.vlk", 'A', 275, "adm"},
    {FileCode::ADS, "ADS", "adminset.vlk", 'D', 1386, "ads"},
    {FileCode::PAY, "PAY", "payment.vlk", 'D', 584, "pay"},
    {FileCode::INV, "INV", "invsum.vlk", 'D', 224, "inv"},
    {FileCode::JVT, "JVT", "booktemp.vlk", 'D', 3184, "jvt"},
    {FileCode::HEN, "HEN", "", 'W', 0, "hen"},
    {FileCode::RAP, "RAP", "", 'D', 0, "RAP"},
    {FileCode::LAN, "LAN", "vlk010005.lan", 'W', 11354, "LAN"},
    {FileCode::USE, "USE", "user.vlk", 'W', 284, "USE"},
    {FileCode::FIX, "FIX", "fixed.vlk", 'D', 256, "FIX"},
}};

constexpr int kPasses = 50;
constexpr const char* kInUseText = "File(s) in use, try again";
constexpr const char* kLockFileName = ".ombrelo.lock";
constexpr const char* kTempSuffix = ".ombrelo-tmp";
// The system parameters' stored data folder: string[100] at offset 669.
constexpr records::ShortString kStoredDataFolder{669, 100};
constexpr std::size_t kMoveBlock = 4u << 20;

struct OpenFile {
  std::unique_ptr<FileHandle> handle;
  std::string path;  // code page 1252
};

struct Unit {
  std::array<OpenFile, kFileCodeCount> files;
  // The folder locks of the open set, by folder (code page 1252).
  std::map<std::string, std::unique_ptr<LockHandle>> locks;
  std::string root;
  std::string administration;
  std::string override;
  bool hasOverride = false;
  std::vector<std::uint8_t> moveBuffer;
};

Unit& U() {
  static Unit u;
  return u;
}

// What one OpenFileSet call opened, so that it can be undone.
struct Added {
  std::vector<FileCode> files;
  std::vector<std::string> locks;
};

std::string Utf8(const std::string& cp) { return cp1252::ToUtf8(cp); }

[[noreturn]] void Raise(int code, const char* action, const std::string& path) {
  throw platform::IoError(code, "IO error " + std::to_string(code) + " " + action + " \"" + path +
                                    "\": " + platform::OsErrorText(code));
}

void Check(int code, const char* action, const std::string& path) {
  if (code != platform::kNoError) Raise(code, action, path);
}

void UpdateDataFolder() { SystemSettings.DataFolder = CurrentDataFolder(); }

std::string FolderOf(FileCode c) {
  switch (FileInfo(c).folder) {
    case 'D': {
      const std::string d = CurrentDataFolder();
      return d.empty() ? WorkingFolder() : FolderFromStored(d);
    }
    case 'A':
      return AdminFileFolder.empty() ? WorkingFolder() : FolderFromStored(AdminFileFolder);
    default:
      return WorkingFolder();
  }
}

// The codes a list names, in table order, each once.
std::vector<FileCode> ParseList(const std::string& list) {
  std::array<bool, kFileCodeCount> named{};
  std::size_t i = 0;
  do {
    if (auto c = FileCodeFromText(list.substr(std::min(i, list.size()), 3))) named[FileIndex(*c)] = true;
    i += 4;
  } while (i + 3 <= list.size());
  std::vector<FileCode> out;
  for (int k = 0; k < kFileCodeCount; ++k)
    if (named[k]) out.push_back(static_cast<FileCode>(k));
  return out;
}

// Sets the error text of a failed file (a sharing violation has none: the
// opener tries again) and returns the code.
int Fail(FileCode c, int code, const std::string& path) {
  FileErrorCode = code;
  if (code == platform::kSharingViolation) return code;
  FileErrorText = "IO errorcode: " + std::string(FileInfo(c).errorLetters) + std::to_string(code);
  if (c == FileCode::FLG) FileErrorText += " " + path;
  if (c == FileCode::HEN) FileErrorText += " " + platform::OsErrorText(code);
  return code;
}

// Locks are held per folder as the system resolves it: two names of one
// folder ("/w/", "/w/./", a link to it) share one lock, so a set never waits
// for itself.
int EnsureLocked(const std::string& folder, Added& added) {
  Unit& u = U();
  const std::string key = platform::Fs().ResolvedFolder(Utf8(folder));
  if (u.locks.count(key) != 0) return platform::kNoError;
  std::unique_ptr<LockHandle> lock;
  const int code = platform::Fs().LockExclusive(Utf8(folder + kLockFileName), lock);
  if (code != platform::kNoError) return code;
  u.locks.emplace(key, std::move(lock));
  added.locks.push_back(key);
  return platform::kNoError;
}

void Store(FileCode c, std::unique_ptr<FileHandle> h, const std::string& path, Added& added) {
  OpenFile& f = U().files[FileIndex(c)];
  f.handle = std::move(h);
  f.path = path;
  added.files.push_back(c);
}

// Creates a missing record file; a failure raises, with the file's error
// text in FileErrorText for the caller that reports it.
std::unique_ptr<FileHandle> CreateMissing(FileCode c, const std::string& path) {
  std::unique_ptr<FileHandle> h;
  const int code = platform::Fs().CreateEmpty(Utf8(path), h);
  if (code != platform::kNoError) {
    Fail(c, code, path);
    Raise(code, "creating", path);
  }
  return h;
}

std::uint64_t SizeOf(FileHandle& h, const std::string& path) {
  std::uint64_t size = 0;
  Check(h.Size(size), "reading the size of", path);
  return size;
}

void ReadExactly(FileHandle& h, std::uint64_t offset, void* data, std::size_t length, const std::string& path) {
  std::size_t done = 0;
  Check(h.ReadAt(offset, data, length, done), "reading", path);
  if (done != length) Raise(platform::kEndOfFile, "reading", path);
}

// The system parameters name the data root.
void ReadDataRoot(FileHandle& h, const std::string& path) {
  if (SizeOf(h, path) < static_cast<std::uint64_t>(FileInfo(FileCode::SYS).recordSize)) return;
  std::vector<std::uint8_t> rec(static_cast<std::size_t>(FileInfo(FileCode::SYS).recordSize));
  ReadExactly(h, 0, rec.data(), rec.size(), path);
  const std::string stored = kStoredDataFolder.Read(rec.data());
  // No stored folder (or one that names nothing here): the default.
  const std::string folder = FolderFromStored(stored);
  SetDataRoot(folder.empty() ? WorkingFolder() + "data/" : folder);
  AdminFileFolder = DataRoot();
}

// Copies the records of the working folder's administrations file into a
// temporary file beside `target` and renames it into place; the old file is
// deleted last. A failure part-way leaves the old file as it was and no
// target behind.
int MoveLegacyAdministrations(std::unique_ptr<FileHandle> legacy, const std::string& legacyPath,
                              const std::string& target, Added& added) {
  auto& fs = platform::Fs();
  const std::string temp = target + kTempSuffix;
  std::unique_ptr<FileHandle> out;
  const int code = fs.CreateEmpty(Utf8(temp), out);
  if (code != platform::kNoError) return Fail(FileCode::ADM, code, target);
  try {
    const std::size_t recordSize = static_cast<std::size_t>(FileInfo(FileCode::ADM).recordSize);
    const std::uint64_t count = SizeOf(*legacy, legacyPath) / recordSize;
    std::vector<std::uint8_t> rec(recordSize);
    for (std::uint64_t i = 0; i < count; ++i) {
      ReadExactly(*legacy, i * recordSize, rec.data(), recordSize, legacyPath);
      Check(out->WriteAt(i * recordSize, rec.data(), recordSize), "writing", temp);
    }
    Check(out->Sync(), "writing", temp);
    Check(out->Close(), "closing", temp);
    out.reset();
    Check(fs.RenameNoReplace(Utf8(temp), Utf8(target)), "renaming into place", target);
  } catch (...) {
    out.reset();
    fs.Delete(Utf8(temp));
    throw;
  }
  std::unique_ptr<FileHandle> h;
  Check(fs.OpenExisting(Utf8(target), platform::OpenMode::ReadWrite, h), "opening", target);
  Store(FileCode::ADM, std::move(h), target, added);
  Check(legacy->Close(), "closing", legacyPath);
  legacy.reset();
  Check(fs.Delete(Utf8(legacyPath)), "deleting", legacyPath);
  FileErrorCode = platform::kNoError;
  return platform::kNoError;
}

int OpenAdministrations(Added& added) {
  auto& fs = platform::Fs();
  const std::string w = WorkingFolder();
  const std::string a = FolderOf(FileCode::ADM);
  const std::string path = a + FileInfo(FileCode::ADM).fileName;
  // A data root that does not exist yet (a first run whose settings were
  // never saved, a deleted folder) is made here.
  if (a != w && !fs.IsFolder(Utf8(a))) {
    const int code = fs.MakeFolders(Utf8(a));
    if (code != platform::kNoError) return Fail(FileCode::ADM, code, path);
  }
  int code = EnsureLocked(a, added);
  if (code != platform::kNoError) return Fail(FileCode::ADM, code, path);
  std::unique_ptr<FileHandle> h;
  code = fs.OpenExisting(Utf8(path), platform::OpenMode::ReadWrite, h);
  FileErrorCode = code;
  if (code == platform::kNoError) {
    Store(FileCode::ADM, std::move(h), path, added);
    return code;
  }
  if (code != platform::kFileNotFound) return Fail(FileCode::ADM, code, path);
  if (a != w) {
    code = EnsureLocked(w, added);
    if (code != platform::kNoError) return Fail(FileCode::ADM, code, path);
    const std::string legacyPath = w + FileInfo(FileCode::ADM).fileName;
    std::unique_ptr<FileHandle> legacy;
    code = fs.OpenExisting(Utf8(legacyPath), platform::OpenMode::ReadWrite, legacy);
    FileErrorCode = code;
    if (code == platform::kNoError) return MoveLegacyAdministrations(std::move(legacy), legacyPath, path, added);
    if (code != platform::kFileNotFound) return Fail(FileCode::ADM, code, legacyPath);
  }
  Store(FileCode::ADM, CreateMissing(FileCode::ADM, path), path, added);
  return platform::kNoError;
}

int OpenTextFile(FileCode c, Added& added) {
  auto& fs = platform::Fs();
  const std::string folder = FolderOf(c);
  const std::string path = folder + TextFileName;
  int code = EnsureLocked(folder, added);
  if (code != platform::kNoError) return Fail(c, code, path);
  std::unique_ptr<FileHandle> h;
  code = TextFileName.empty() ? platform::kFileNotFound
                              : fs.OpenExisting(Utf8(path), platform::OpenMode::Read, h);
  FileErrorCode = code;
  if (code == platform::kNoError) {
    Store(c, std::move(h), path, added);
    return code;
  }
  if (c == FileCode::HEN || code != platform::kFileNotFound) return Fail(c, code, path);
  // A report template not in the data folder is looked for in the working
  // folder.
  const std::string w = WorkingFolder();
  const std::string second = w + TextFileName;
  code = EnsureLocked(w, added);
  if (code != platform::kNoError) return Fail(c, code, second);
  code = TextFileName.empty() ? platform::kFileNotFound
                              : fs.OpenExisting(Utf8(second), platform::OpenMode::Read, h);
  FileErrorCode = code;
  if (code == platform::kNoError) {
    Store(c, std::move(h), second, added);
    return code;
  }
  if (code == platform::kFileNotFound) {
    FileErrorText = "No report template available.(" + TextFileName + ")";
    return code;
  }
  return Fail(c, code, second);
}

int OpenRecordFile(FileCode c, Added& added) {
  const std::string folder = FolderOf(c);
  const std::string path = folder + FileInfo(c).fileName;
  int code = EnsureLocked(folder, added);
  if (code != platform::kNoError) return Fail(c, code, path);
  std::unique_ptr<FileHandle> h;
  code = platform::Fs().OpenExisting(Utf8(path), platform::OpenMode::ReadWrite, h);
  FileErrorCode = code;
  if (code == platform::kFileNotFound) {
    Store(c, CreateMissing(c, path), path, added);
    return platform::kNoError;
  }
  if (code != platform::kNoError) return Fail(c, code, path);
  FileHandle& opened = *h;
  Store(c, std::move(h), path, added);
  if (c == FileCode::SYS) ReadDataRoot(opened, path);
  return platform::kNoError;
}

int OpenOne(FileCode c, Added& added) {
  if (c == FileCode::ADM) return OpenAdministrations(added);
  if (c == FileCode::HEN || c == FileCode::RAP) return OpenTextFile(c, added);
  return OpenRecordFile(c, added);
}

// One pass: opens the codes whose FileState is 1, in table order; stops at
// the first failure and returns its code.
int OpenPass(const std::vector<FileCode>& codes, Added& added) {
  for (FileCode c : codes) {
    if (FileState[FileIndex(c)] != 1) continue;
    const int code = OpenOne(c, added);
    if (code != platform::kNoError) return code;
    FileState[FileIndex(c)] = 2;
  }
  return platform::kNoError;
}

// Closes what one call opened (reverse table order) and releases the locks
// it took; errors are ignored, a failure is on its way already.
void Undo(Added& added) {
  Unit& u = U();
  std::sort(added.files.begin(), added.files.end(), [](FileCode a, FileCode b) { return FileIndex(a) > FileIndex(b); });
  for (FileCode c : added.files) {
    OpenFile& f = u.files[FileIndex(c)];
    if (f.handle) f.handle->Close();
    f.handle.reset();
  }
  for (const std::string& folder : added.locks) u.locks.erase(folder);
  added = Added{};
}

// Closes every open file in reverse table order and releases every lock.
// Returns the first failing close's code and path.
int CloseAll(std::string& failedPath) {
  Unit& u = U();
  int first = platform::kNoError;
  for (int k = kFileCodeCount - 1; k >= 0; --k) {
    OpenFile& f = u.files[k];
    if (!f.handle) continue;
    const int code = f.handle->Close();
    f.handle.reset();
    if (code != platform::kNoError && first == platform::kNoError) {
      first = code;
      failedPath = f.path;
    }
  }
  u.locks.clear();
  return first;
}

void CloseAllQuietly() {
  std::string ignored;
  CloseAll(ignored);
  FileSetOpen = false;
  FileSetDepth = 0;
}

void OpenNested(const std::string& list, int& result) {
  std::vector<FileCode> missing;
  for (FileCode c : ParseList(list))
    if (!U().files[FileIndex(c)].handle) missing.push_back(c);
  result = 0;
  if (missing.empty()) {
    ++FileSetDepth;
    return;
  }
  std::array<std::int32_t, kFileCodeCount> before = FileState;
  auto restore = [&] {
    for (FileCode c : missing) FileState[FileIndex(c)] = before[FileIndex(c)];
  };
  int code = platform::kNoError;
  for (int pass = 1; pass <= kPasses; ++pass) {
    if (pass > 1) platform::SleepMilliseconds(platform::kOpenRetryMilliseconds);
    for (FileCode c : missing) FileState[FileIndex(c)] = 1;
    Added added;
    try {
      code = OpenPass(missing, added);
    } catch (...) {
      Undo(added);
      restore();
      throw;
    }
    if (code == platform::kNoError) {
      ++FileSetDepth;
      return;
    }
    Undo(added);
    if (code != platform::kSharingViolation) {
      restore();
      result = 1;
      return;
    }
  }
  restore();
  result = 2;
  FileErrorText = kInUseText;
}

}  // namespace

const std::array<FileCodeInfo, kFileCodeCount>& FileTable() { return kTable; }

const FileCodeInfo& FileInfo(FileCode c) { return kTable[static_cast<std::size_t>(FileIndex(c))]; }

std::optional<FileCode> FileCodeFromText(std::string_view text) {
  for (const FileCodeInfo& i : kTable)
    if (text == i.name) return i.code;
  return std::nullopt;
}

void OpenFileSet(const std::string& List, int& Result) {
  if (FileSetOpen) {
    OpenNested(List, Result);
    return;
  }
  FileSetDepth = 0;
  FileErrorText = "";
  Result = 0;
  FileSetOpen = true;
  FileState.fill(0);
  const std::vector<FileCode> named = ParseList(List);
  for (FileCode c : named) FileState[FileIndex(c)] = 1;
  UpdateDataFolder();
  for (int pass = 1; pass <= kPasses; ++pass) {
    if (pass > 1) {
      platform::SleepMilliseconds(platform::kOpenRetryMilliseconds);
      FileSetOpen = true;
      for (FileCode c : named) FileState[FileIndex(c)] = 1;
    }
    Added added;
    int code = platform::kNoError;
    try {
      code = OpenPass(named, added);
    } catch (...) {
      CloseAllQuietly();
      throw;
    }
    if (code == platform::kNoError) return;
    CloseAllQuietly();
    if (code != platform::kSharingViolation) {
      Result = 1;
      return;
    }
  }
  Result = 2;
  FileErrorText = kInUseText;
}

void CloseFileSet() {
  if (FileSetDepth > 0) {
    --FileSetDepth;
    return;
  }
  if (!FileSetOpen) return;
  FileSetOpen = false;
  std::string path;
  const int code = CloseAll(path);
  if (code != platform::kNoError) Raise(code, "closing", path);
}

void ForceCloseFileSet() { CloseAllQuietly(); }

void CloseFileSetDownTo(int levels) {
  if (FileSetLevels() <= levels) return;
  if (levels <= 0) {
    CloseAllQuietly();
    return;
  }
  FileSetDepth = levels - 1;
}

// --- folders ---------------------------------------------------------------

std::string WorkingFolder() {
  if (StartFolder.empty() || StartFolder.back() == '/') return StartFolder;
  return StartFolder + "/";
}

namespace {

// "/a//b/./c/../" -> "/a/b/": empty and "." steps dropped, ".." taking the
// step before it (never above the root).
std::string TidyFolder(const std::string& folder) {
  std::vector<std::string> steps;
  std::size_t i = 0;
  while (i <= folder.size()) {
    const std::size_t j = std::min(folder.find('/', i), folder.size());
    const std::string step = folder.substr(i, j - i);
    if (step == "..") {
      if (!steps.empty()) steps.pop_back();
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    i = j + 1;
  }
  std::string out = !folder.empty() && folder[0] == '/' ? "/" : "";
  for (const auto& s : steps) out += s + "/";
  return out;
}

}  // namespace

void ResetFileSetState(const std::string& startFolder) {
  ForceCloseFileSet();
  FileState.fill(0);
  FileErrorText.clear();
  FileErrorCode = 0;
  TextFileName.clear();
  AdminFileFolder.clear();
  StartFolder = startFolder;
  ClearDataFolderOverride();
  SetCurrentAdministrationFolder("");
  SetDataRoot("");
  SystemSettings.DataFolder.clear();
}

std::string FolderFromStored(std::string_view stored) {
  std::string s(stored);
  if (s.empty()) return s;
  std::replace(s.begin(), s.end(), '\\', '/');
  // A folder with a drive letter comes from another system and names
  // nothing here: it counts as no folder at all (the default is used).
  const bool drive = s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) != 0 && s[1] == ':';
  if (drive) return {};
  if (s[0] != '/') {
    s.insert(0, WorkingFolder());
  }
  return TidyFolder(s);
}

const std::string& DataRoot() { return U().root; }

void SetDataRoot(std::string_view folder) {
  U().root = FolderFromStored(folder);
  UpdateDataFolder();
}

void SetCurrentAdministrationFolder(std::string_view name) {
  std::string n(name);
  std::replace(n.begin(), n.end(), '\\', '/');
  while (!n.empty() && n.back() == '/') n.pop_back();
  U().administration = n;
  UpdateDataFolder();
}

const std::string& CurrentAdministrationFolder() { return U().administration; }

void SetDataFolderOverride(std::string_view folder) {
  if (folder.empty()) {
    ClearDataFolderOverride();
    return;
  }
  U().override = FolderFromStored(folder);
  U().hasOverride = true;
  UpdateDataFolder();
}

void ClearDataFolderOverride() {
  U().override.clear();
  U().hasOverride = false;
  UpdateDataFolder();
}

std::string CurrentDataFolder() {
  const Unit& u = U();
  if (u.hasOverride) return u.override;
  if (u.administration.empty()) return u.root;
  return (u.root.empty() ? WorkingFolder() : u.root) + u.administration + "/";
}

// --- records ---------------------------------------------------------------

namespace {

struct RecordFile {
  FileHandle& h;
  const std::string& path;
  std::size_t size;  // record size
  const char* code;
};

RecordFile Open(FileCode c) {
  OpenFile& f = U().files[FileIndex(c)];
  if (!f.handle)
    throw platform::IoError(platform::kFileNotOpen, std::string("IO error 6: the file ") + FileInfo(c).name +
                                                        " is not open in the file set");
  if (FileInfo(c).recordSize == 0) throw std::logic_error(std::string(FileInfo(c).name) + " is a text file");
  return {*f.handle, f.path, static_cast<std::size_t>(FileInfo(c).recordSize), FileInfo(c).name};
}

std::uint64_t Count(const RecordFile& f) { return SizeOf(f.h, f.path) / f.size; }

[[noreturn]] void OutOfRange(const RecordFile& f, long long index, std::uint64_t count) {
  throw platform::IoError(platform::kEndOfFile, "IO error 38: record " + std::to_string(index) +
                                                    " lies outside \"" + f.path + "\" (" +
                                                    std::to_string(count) + " records)");
}

std::vector<std::uint8_t>& MoveBuffer(std::uint64_t bytes) {
  auto& b = U().moveBuffer;
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, kMoveBlock));
  if (b.size() < want) b.resize(want);
  return b;
}

// Moves the bytes [from, end) up by `shift`, in large blocks from the end:
// the bytes on disk are those of moving one record after the other.
void MoveUp(const RecordFile& f, std::uint64_t from, std::uint64_t end, std::uint64_t shift) {
  auto& buffer = MoveBuffer(end - from);
  std::uint64_t pos = end;
  while (pos > from) {
    const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), pos - from));
    pos -= len;
    ReadExactly(f.h, pos, buffer.data(), len, f.path);
    Check(f.h.WriteAt(pos + shift, buffer.data(), len), "writing", f.path);
  }
}

// Moves the bytes [from, end) down by `shift`, in large blocks from the
// start.
void MoveDown(const RecordFile& f, std::uint64_t from, std::uint64_t end, std::uint64_t shift) {
  auto& buffer = MoveBuffer(end - from);
  std::uint64_t pos = from;
  while (pos < end) {
    const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), end - pos));
    ReadExactly(f.h, pos, buffer.data(), len, f.path);
    Check(f.h.WriteAt(pos - shift, buffer.data(), len), "writing", f.path);
    pos += len;
  }
}

}  // namespace

namespace fileset_detail {
void CheckRecordSize(FileCode c, std::size_t size) {
  if (static_cast<std::size_t>(FileInfo(c).recordSize) != size)
    throw std::logic_error(std::string("record of ") + std::to_string(size) + " bytes for " + FileInfo(c).name);
}
}  // namespace fileset_detail

int RecordCount(FileCode c) { return static_cast<int>(Count(Open(c))); }

void ReadRecord(FileCode c, int index, void* buffer) {
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (index < 0 || static_cast<std::uint64_t>(index) >= n) OutOfRange(f, index, n);
  ReadExactly(f.h, static_cast<std::uint64_t>(index) * f.size, buffer, f.size, f.path);
}

void WriteRecord(FileCode c, int index, const void* buffer) {
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (index < 0 || static_cast<std::uint64_t>(index) > n) OutOfRange(f, index, n);
  Check(f.h.WriteAt(static_cast<std::uint64_t>(index) * f.size, buffer, f.size), "writing", f.path);
}

void AppendRecord(FileCode c, const void* buffer) {
  const RecordFile f = Open(c);
  Check(f.h.WriteAt(Count(f) * f.size, buffer, f.size), "writing", f.path);
}

void TruncateRecords(FileCode c, int count) {
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (count < 0 || static_cast<std::uint64_t>(count) > n) OutOfRange(f, count, n);
  Check(f.h.Truncate(static_cast<std::uint64_t>(count) * f.size), "truncating", f.path);
}

void InsertRecords(FileCode c, int index, const void* records, int count) {
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (index < 0 || static_cast<std::uint64_t>(index) > n) OutOfRange(f, index, n);
  if (count <= 0) return;
  const std::uint64_t at = static_cast<std::uint64_t>(index) * f.size;
  const std::uint64_t bytes = static_cast<std::uint64_t>(count) * f.size;
  MoveUp(f, at, n * f.size, bytes);
  Check(f.h.WriteAt(at, records, static_cast<std::size_t>(bytes)), "writing", f.path);
}

void DeleteRecords(FileCode c, int index, int count) {
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (count <= 0) return;
  if (index < 0 || static_cast<std::uint64_t>(index) + static_cast<std::uint64_t>(count) > n)
    OutOfRange(f, index, n);
  const std::uint64_t at = static_cast<std::uint64_t>(index) * f.size;
  const std::uint64_t bytes = static_cast<std::uint64_t>(count) * f.size;
  MoveDown(f, at + bytes, n * f.size, bytes);
  Check(f.h.Truncate(n * f.size - bytes), "truncating", f.path);
}

void RewriteFile(FileCode c, const void* records, int count) {
  const RecordFile f = Open(c);
  auto& fs = platform::Fs();
  const std::string path = f.path;
  const std::string temp = path + kTempSuffix;
  std::unique_ptr<FileHandle> out;
  Check(fs.CreateEmpty(Utf8(temp), out), "creating", temp);
  try {
    if (count > 0)
      Check(out->WriteAt(0, records, static_cast<std::size_t>(count) * f.size), "writing", temp);
    Check(out->Sync(), "writing", temp);
    Check(out->Close(), "closing", temp);
    out.reset();
    // The new file keeps who may read the old one (the user file holds the
    // password checksums).
    Check(fs.CopyAccessMode(Utf8(path), Utf8(temp)), "setting the access mode of", temp);
    Check(fs.RenameOver(Utf8(temp), Utf8(path)), "renaming into place", path);
  } catch (...) {
    out.reset();
    fs.Delete(Utf8(temp));
    throw;
  }
  // The old file is gone; the set goes on with the new one.
  OpenFile& slot = U().files[FileIndex(c)];
  slot.handle->Close();
  slot.handle.reset();
  std::unique_ptr<FileHandle> h;
  const int code = fs.OpenExisting(Utf8(path), platform::OpenMode::ReadWrite, h);
  if (code != platform::kNoError) {
    FileState[FileIndex(c)] = 1;
    Raise(code, "opening", path);
  }
  slot.handle = std::move(h);
}

// --- text files ------------------------------------------------------------

namespace fileset_detail {
void CheckFileSize(FileCode c, std::uint64_t maxBytes) {
  const RecordFile f = Open(c);
  const std::uint64_t size = SizeOf(f.h, f.path);
  if (size > maxBytes)
    throw platform::IoError(platform::kErrnoBase + EFBIG, "The file \"" + f.path + "\" is damaged: it holds " +
                                                              std::to_string(size) + " bytes, more than it can");
}
}  // namespace fileset_detail

FileSnapshot SnapshotOf(FileCode c) {
  OpenFile& f = U().files[FileIndex(c)];
  if (!f.handle)
    throw platform::IoError(platform::kFileNotOpen, std::string("IO error 6: the file ") + FileInfo(c).name +
                                                        " is not open in the file set");
  // FNV-1a over the bytes, read in blocks.
  FileSnapshot snap;
  snap.size = SizeOf(*f.handle, f.path);
  snap.hash = 1469598103934665603ull;
  std::vector<unsigned char> block(1 << 16);
  for (std::uint64_t at = 0; at < snap.size;) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), snap.size - at));
    std::size_t done = 0;
    Check(f.handle->ReadAt(at, block.data(), want, done), "reading", f.path);
    if (done == 0) break;
    for (std::size_t i = 0; i < done; ++i) snap.hash = (snap.hash ^ block[i]) * 1099511628211ull;
    at += done;
  }
  return snap;
}

std::string ReadTextFile(FileCode c) {
  OpenFile& f = U().files[FileIndex(c)];
  if (!f.handle || FileInfo(c).recordSize != 0)
    throw platform::IoError(platform::kFileNotOpen, std::string("IO error 6: the text file ") + FileInfo(c).name +
                                                        " is not open in the file set");
  const std::uint64_t size = SizeOf(*f.handle, f.path);
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  Check(f.handle->ReadAt(0, text.data(), text.size(), done), "reading", f.path);
  text.resize(done);
  return text;
}

std::vector<std::string> ReadTextLines(FileCode c) {
  const std::string text = ReadTextFile(c);
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == '\r' || ch == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += ch;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::string OpenedFilePath(FileCode c) {
  const OpenFile& f = U().files[FileIndex(c)];
  return f.handle ? f.path : std::string();
}

}  // namespace shell
