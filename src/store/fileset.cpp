#include "store/fileset.h"

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <climits>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "platform/sleep.h"
#include "records/codec.h"
#include "text/systemsettings.h"

namespace store {

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
constexpr const char* kRollbackSuffix = ".ombrelo-rollback";
// The system parameters' stored data folder: string[100] at offset 669.
constexpr records::ShortString kStoredDataFolder{669, 100};
// The block of the moves and the journal: small enough to stay in the
// processor's cache between its read, its checksum and its write.
constexpr std::size_t kMoveBlock = 512u << 10;

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

void UpdateDataFolder() { text::SystemSettings.DataFolder = CurrentDataFolder(); }

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

// A lock that failed: a lock held by another copy (32) and a missing folder
// (3) are the failure of the file that needed it; any other failure names
// the lock file as well, since that is what could not be opened.
int FailLock(FileCode c, int code, const std::string& folder, const std::string& filePath) {
  Fail(c, code, filePath);
  if (code != platform::kSharingViolation && code != platform::kPathNotFound)
    FileErrorText += std::string(" (lock file ") + folder + kLockFileName + ")";
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

std::vector<std::uint8_t>& MoveBuffer(std::uint64_t bytes) {
  auto& b = U().moveBuffer;
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, kMoveBlock));
  if (b.size() < want) b.resize(want);
  return b;
}

// Hands the bytes a large change has written to the disk as it goes
// (FileHandle::StartWriteBack, which never waits), in steps of 8 MiB, so
// that the sync at the change's end has less left to wait for.
class WriteBack {
 public:
  explicit WriteBack(FileHandle& h) : h_(h) {}
  void Wrote(std::uint64_t at, std::uint64_t length) {
    low_ = std::min(low_, at);
    high_ = std::max(high_, at + length);
    if (high_ - low_ < kStep) return;
    h_.StartWriteBack(low_, high_ - low_);
    low_ = UINT64_MAX;
    high_ = 0;
  }

 private:
  static constexpr std::uint64_t kStep = 8u << 20;
  FileHandle& h_;
  std::uint64_t low_ = UINT64_MAX;
  std::uint64_t high_ = 0;
};

// --- rollback journal -------------------------------------------------------
//
// A change that moves records in place (insert, delete) first saves the
// bytes it will overwrite, from the first changed byte to the old end of
// the file, in "<file>.ombrelo-rollback" beside it: a 40-byte header (a
// magic, the old size, the offset of the saved bytes, their length, a
// checksum over those three and the bytes) and the bytes. The journal is
// synced before the first move; after the file is synced the journal's
// header is cleared (synced), never the file deleted: it is kept and reused
// by the next change, so only its creation changes a name in the folder
// (and only then is the folder synced), and its disk blocks stay allocated
// (bytes of an older, longer journal may follow the header's length). A
// journal found with our magic when the file is opened puts the file back:
// the bytes are written back, the file is cut to its old size and synced,
// then the header is cleared. An empty or cleared journal holds nothing to
// roll back; one that is not whole (the copy was killed while writing it)
// was written before anything of the file changed: its header is only
// cleared.
//
// A change of several files together (ChangeTogether) keeps one journal per
// folder, ".ombrelo-group-rollback": the saved bytes of every file it
// changes, in sections, behind one checksum. Clearing its header is the one
// moment the change as a whole is done; a whole group journal found when a
// file of its folder is opened puts every file it names back first.

constexpr std::size_t kJournalHeader = 40;
// A kept journal larger than this is cut to nothing once its change is done.
constexpr std::uint64_t kKeptJournalLimit = 256ull << 20;
constexpr char kJournalMagic[8] = {'O', 'M', 'B', 'R', 'L', 'R', 'B', '1'};
constexpr std::size_t kGroupHeader = 32;
constexpr char kGroupMagic[8] = {'O', 'M', 'B', 'R', 'L', 'G', 'R', '1'};
constexpr const char* kGroupJournalName = ".ombrelo-group-rollback";
constexpr std::uint64_t kHashBasis = 1469598103934665603ull;
constexpr std::uint64_t kHashPrime = 1099511628211ull;

void PutU64(std::uint8_t* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint64_t GetU64(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
  return v;
}

// A 64-bit checksum of a byte stream, the same however the stream is cut
// into pieces: four multiply-xor lanes over 32-byte blocks, fast enough to
// cost little beside the copy of the bytes it guards.
class Checksum {
 public:
  void Add(const std::uint8_t* p, std::size_t n) {
    total_ += n;
    if (fill_ > 0) {
      const std::size_t take = std::min(sizeof carry_ - fill_, n);
      std::memcpy(carry_ + fill_, p, take);
      fill_ += take, p += take, n -= take;
      if (fill_ < sizeof carry_) return;
      Block(carry_);
      fill_ = 0;
    }
    for (; n >= sizeof carry_; p += sizeof carry_, n -= sizeof carry_) Block(p);
    std::memcpy(carry_, p, n);
    fill_ = n;
  }
  std::uint64_t Value() const {
    std::uint64_t h = kHashBasis;
    for (std::uint64_t lane : lanes_) h = (h ^ lane) * kHashPrime;
    for (std::size_t i = 0; i < fill_; ++i) h = (h ^ carry_[i]) * kHashPrime;
    return (h ^ total_) * kHashPrime;
  }

 private:
  void Block(const std::uint8_t* p) {
    for (int i = 0; i < 4; ++i) {
      std::uint64_t w = 0;
      std::memcpy(&w, p + 8 * i, 8);
      lanes_[i] = (lanes_[i] ^ w) * kHashPrime;
    }
  }
  std::uint64_t lanes_[4] = {kHashBasis, kHashBasis + 1, kHashBasis + 2, kHashBasis + 3};
  std::uint8_t carry_[32] = {};
  std::size_t fill_ = 0;
  std::uint64_t total_ = 0;
};

std::string JournalPath(const std::string& path) { return path + kRollbackSuffix; }

std::string FolderPart(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

std::string GroupJournalPath(const std::string& path) { return FolderPart(path) + kGroupJournalName; }

// Ends the set's hold on a file whose state is in doubt after a failure
// (the file could not be put back, or a journal could not be emptied): its
// handle is closed, so later record calls on it fail with 6, and the next
// set that names it opens it again, which puts it right first.
void DropFromSet(FileCode c) {
  OpenFile& f = U().files[FileIndex(c)];
  if (f.handle) f.handle->Close();
  f.handle.reset();
  FileState[FileIndex(c)] = 1;
}

// A kept journal opened for a new change: created with the access mode of
// `dataPath` when missing (`created` tells that its name is new), made anew
// with that mode when its mode differs, else opened as it is.
struct KeptJournal {
  std::unique_ptr<FileHandle> h;
  bool created = false;
};

KeptJournal OpenKeptJournal(const std::string& journal, const std::string& dataPath) {
  auto& fs = platform::Fs();
  // The journal holds the file's bytes: it has the file's access mode.
  std::uint32_t mode = 0600;
  Check(fs.AccessMode(Utf8(dataPath), mode), "reading the access mode of", dataPath);
  std::uint32_t kept = 0;
  const int code = fs.AccessMode(Utf8(journal), kept);
  KeptJournal out;
  if (code == platform::kNoError && kept == mode) {
    Check(fs.OpenExisting(Utf8(journal), platform::OpenMode::ReadWrite, out.h), "opening", journal);
  } else {
    Check(fs.CreateEmptyWithMode(Utf8(journal), mode, out.h), "creating", journal);
    out.created = code != platform::kNoError;
  }
  return out;
}

// Ends a journal written in full: its bytes synced, and a new name synced in
// its folder, before the file it guards changes. Bytes of an earlier,
// longer journal may follow its own: its header tells where it ends.
void SealJournal(KeptJournal& j, const std::string& journal) {
  Check(j.h->Sync(), "writing", journal);
  if (j.created) Check(platform::Fs().SyncFolderOf(Utf8(journal)), "writing the folder of", journal);
}

// Marks a journal as holding nothing to roll back: its header is cleared,
// so the file keeps its size and its disk blocks for the next change (no
// name, size or allocation changes); one grown past kKeptJournalLimit is
// cut to nothing instead, so it does not hold that much disk for good.
int ClearJournal(FileHandle& j) {
  std::uint64_t size = 0;
  int code = j.Size(size);
  if (code != platform::kNoError) return code;
  if (size > kKeptJournalLimit) return j.Truncate(0);
  static constexpr std::uint8_t kCleared[kJournalHeader] = {};
  return j.WriteAt(0, kCleared, std::min<std::uint64_t>(size, kJournalHeader));
}

// Clears a journal on the disk: nothing to roll back any more.
int EmptyJournal(FileHandle& j) {
  int code = ClearJournal(j);
  if (code == platform::kNoError) code = j.Sync();
  return code;
}

// Clears the journal of a change that is done: once the header is cleared
// the change counts as done, so only a failed clearing is a failed change;
// a failing sync of it is not reported (a power loss before it reaches the
// disk could at worst bring back the journal of this last change).
int EndChange(FileHandle& j) {
  const int code = ClearJournal(j);
  if (code == platform::kNoError) j.Sync();
  return code;
}

// After a failure while a journal was written (the file it guards is
// untouched yet): the journal is emptied; when even that fails, the file
// leaves the set, so that the next open looks at the journal again.
void AbandonJournal(FileCode c, KeptJournal& j) {
  const bool emptied = j.h && EmptyJournal(*j.h) == platform::kNoError;
  j.h.reset();
  if (!emptied) DropFromSet(c);
}

// Saves the bytes [from, to) of the open file `h`, whose size is `oldSize`,
// in its journal and syncs it; returns the journal, open. A failure leaves
// the journal empty (the file is untouched yet) and raises.
std::unique_ptr<FileHandle> WriteJournal(FileCode c, FileHandle& h, const std::string& path, std::uint64_t from,
                                         std::uint64_t to, std::uint64_t oldSize) {
  const std::string journal = JournalPath(path);
  KeptJournal j = OpenKeptJournal(journal, path);
  try {
    std::uint8_t head[kJournalHeader] = {};
    std::memcpy(head, kJournalMagic, sizeof kJournalMagic);
    PutU64(head + 8, oldSize);
    PutU64(head + 16, from);
    PutU64(head + 24, to - from);
    Checksum sum;
    sum.Add(head + 8, 24);
    auto& buffer = MoveBuffer(to - from);
    WriteBack hint(*j.h);
    for (std::uint64_t pos = from; pos < to;) {
      const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), to - pos));
      ReadExactly(h, pos, buffer.data(), len, path);
      sum.Add(buffer.data(), len);
      Check(j.h->WriteAt(kJournalHeader + (pos - from), buffer.data(), len), "writing", journal);
      hint.Wrote(kJournalHeader + (pos - from), len);
      pos += len;
    }
    PutU64(head + 32, sum.Value());
    Check(j.h->WriteAt(0, head, kJournalHeader), "writing", journal);
    SealJournal(j, journal);
  } catch (...) {
    AbandonJournal(c, j);
    throw;
  }
  return std::move(j.h);
}

// The size of a journal whose first bytes are `magic`: 0 when it is
// missing, or holds nothing to roll back (empty, or cleared).
std::uint64_t JournalSize(const std::string& journal, const char (&magic)[8]) {
  auto& fs = platform::Fs();
  std::uint64_t size = 0;
  const int code = fs.Size(Utf8(journal), size);
  if (code == platform::kFileNotFound || code == platform::kPathNotFound) return 0;
  Check(code, "reading the size of", journal);
  if (size < sizeof magic) return 0;
  std::unique_ptr<FileHandle> j;
  Check(fs.OpenExisting(Utf8(journal), platform::OpenMode::Read, j), "opening", journal);
  char head[sizeof magic];
  ReadExactly(*j, 0, head, sizeof head, journal);
  j->Close();
  return std::memcmp(head, magic, sizeof magic) == 0 ? size : 0;
}

// Puts the open file `h` back from its journal, if it holds one (see
// above), and clears the journal. Returns whether bytes were put back;
// raises on a failure, leaving the journal for the next attempt.
bool RestoreFromJournal(FileHandle& h, const std::string& path) {
  auto& fs = platform::Fs();
  const std::string journal = JournalPath(path);
  const std::uint64_t size = JournalSize(journal, kJournalMagic);
  if (size == 0) return false;
  std::unique_ptr<FileHandle> j;
  Check(fs.OpenExisting(Utf8(journal), platform::OpenMode::ReadWrite, j), "opening", journal);
  std::uint8_t head[kJournalHeader] = {};
  std::uint64_t oldSize = 0, from = 0, length = 0;
  bool whole = false;
  if (size >= kJournalHeader) {
    ReadExactly(*j, 0, head, kJournalHeader, journal);
    oldSize = GetU64(head + 8);
    from = GetU64(head + 16);
    length = GetU64(head + 24);
    whole = std::memcmp(head, kJournalMagic, sizeof kJournalMagic) == 0 && from <= oldSize &&
            length <= oldSize - from && size - kJournalHeader >= length;
  }
  auto& buffer = MoveBuffer(whole ? length : 0);
  if (whole) {
    Checksum sum;
    sum.Add(head + 8, 24);
    for (std::uint64_t pos = 0; pos < length;) {
      const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), length - pos));
      ReadExactly(*j, kJournalHeader + pos, buffer.data(), len, journal);
      sum.Add(buffer.data(), len);
      pos += len;
    }
    whole = sum.Value() == GetU64(head + 32);
  }
  if (whole) {
    for (std::uint64_t pos = 0; pos < length;) {
      const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), length - pos));
      ReadExactly(*j, kJournalHeader + pos, buffer.data(), len, journal);
      Check(h.WriteAt(from + pos, buffer.data(), len), "writing", path);
      pos += len;
    }
    Check(h.Truncate(oldSize), "truncating", path);
    Check(h.Sync(), "writing", path);
  }
  Check(EmptyJournal(*j), "emptying", journal);
  Check(j->Close(), "closing", journal);
  return whole;
}

// --- the group journal ------------------------------------------------------
//
// Header: the magic, the number of sections, the length of the sections and
// a checksum over those two and the sections. A section: the length of the
// file's name, the name, the file's old size, the offset of the saved bytes,
// their length, and the bytes.

struct GroupSection {
  std::string name;  // the file's name in the journal's folder (code page 1252)
  std::uint64_t oldSize = 0, from = 0, length = 0;
  std::uint64_t at = 0;  // where the bytes lie in the journal
};

// The sections of a whole group journal of `size` bytes; nullopt when it is
// not whole.
std::optional<std::vector<GroupSection>> ReadGroupSections(FileHandle& j, const std::string& journal,
                                                           std::uint64_t size) {
  if (size < kGroupHeader) return std::nullopt;
  std::uint8_t head[kGroupHeader] = {};
  ReadExactly(j, 0, head, kGroupHeader, journal);
  const std::uint64_t count = GetU64(head + 8), body = GetU64(head + 16);
  if (std::memcmp(head, kGroupMagic, sizeof kGroupMagic) != 0 || body > size - kGroupHeader) return std::nullopt;
  Checksum sum;
  sum.Add(head + 8, 16);
  auto& buffer = MoveBuffer(body);
  for (std::uint64_t pos = 0; pos < body;) {
    const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), body - pos));
    ReadExactly(j, kGroupHeader + pos, buffer.data(), len, journal);
    sum.Add(buffer.data(), len);
    pos += len;
  }
  if (sum.Value() != GetU64(head + 24)) return std::nullopt;
  std::vector<GroupSection> out;
  std::uint64_t pos = kGroupHeader;
  const std::uint64_t stop = kGroupHeader + body;  // stale bytes of a longer journal may follow
  for (std::uint64_t k = 0; k < count; ++k) {
    std::uint8_t n[8];
    if (stop - pos < 8) return std::nullopt;
    ReadExactly(j, pos, n, 8, journal);
    GroupSection s;
    const std::uint64_t nameLength = GetU64(n);
    if (nameLength > 255 || stop - pos - 8 < nameLength + 24) return std::nullopt;
    s.name.resize(static_cast<std::size_t>(nameLength));
    ReadExactly(j, pos + 8, s.name.data(), s.name.size(), journal);
    std::uint8_t fields[24];
    ReadExactly(j, pos + 8 + nameLength, fields, 24, journal);
    s.oldSize = GetU64(fields), s.from = GetU64(fields + 8), s.length = GetU64(fields + 16);
    s.at = pos + 32 + nameLength;
    if (s.from > s.oldSize || s.length > s.oldSize - s.from || stop - s.at < s.length) return std::nullopt;
    pos = s.at + s.length;
    out.push_back(std::move(s));
  }
  return out;
}

// Writes the saved bytes of one section back into the file at `path` (open
// as `h`), cuts it to its old size and syncs it.
void RestoreSection(FileHandle& j, const std::string& journal, const GroupSection& s, FileHandle& h,
                    const std::string& path) {
  auto& buffer = MoveBuffer(s.length);
  for (std::uint64_t pos = 0; pos < s.length;) {
    const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), s.length - pos));
    ReadExactly(j, s.at + pos, buffer.data(), len, journal);
    Check(h.WriteAt(s.from + pos, buffer.data(), len), "writing", path);
    pos += len;
  }
  Check(h.Truncate(s.oldSize), "truncating", path);
  Check(h.Sync(), "writing", path);
}

// Puts back every file a whole group journal in the folder of `path` names
// (a file no longer there is passed by), then empties the journal. Raises
// on a failure, leaving the journal for the next attempt.
void RestoreGroup(const std::string& path) {
  auto& fs = platform::Fs();
  const std::string journal = GroupJournalPath(path);
  const std::uint64_t size = JournalSize(journal, kGroupMagic);
  if (size == 0) return;
  std::unique_ptr<FileHandle> j;
  Check(fs.OpenExisting(Utf8(journal), platform::OpenMode::ReadWrite, j), "opening", journal);
  if (const auto sections = ReadGroupSections(*j, journal, size)) {
    for (const GroupSection& s : *sections) {
      const std::string file = FolderPart(path) + s.name;
      std::unique_ptr<FileHandle> h;
      const int code = fs.OpenExisting(Utf8(file), platform::OpenMode::ReadWrite, h);
      if (code == platform::kFileNotFound) continue;
      Check(code, "opening", file);
      RestoreSection(*j, journal, s, *h, file);
      Check(h->Close(), "closing", file);
    }
  }
  Check(EmptyJournal(*j), "emptying", journal);
  Check(j->Close(), "closing", journal);
}

// What opening a record file finds beside it: a group journal of its folder
// and its own journal put the files back first; a temporary file left by a
// rewrite that never finished goes. A failure is the file's failure
// (FileErrorText set) and raises.
void CleanUpAtOpen(FileCode c, FileHandle& h, const std::string& path) {
  auto& fs = platform::Fs();
  try {
    RestoreGroup(path);
    RestoreFromJournal(h, path);
  } catch (const platform::IoError& e) {
    Fail(c, e.Code(), path);
    throw;
  }
  // A stale temporary file is only in the way; one that cannot be removed
  // makes the next rewrite fail, not this open.
  const std::string temp = path + kTempSuffix;
  if (fs.Exists(Utf8(temp))) fs.Delete(Utf8(temp));
}

// A file that was missing and has just been created: a journal or temporary
// file of the file that was there before belongs to nothing now.
void CleanUpCreated(FileCode c, const std::string& path) {
  auto& fs = platform::Fs();
  for (const std::string& stale : {JournalPath(path), path + kTempSuffix}) {
    if (!fs.Exists(Utf8(stale))) continue;
    const int code = fs.Delete(Utf8(stale));
    if (code != platform::kNoError && stale == JournalPath(path)) {
      Fail(c, code, path);
      Raise(code, "deleting", stale);
    }
  }
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
  std::uint32_t mode = 0600;
  int code = fs.AccessMode(Utf8(legacyPath), mode);
  if (code == platform::kNoError) code = fs.CreateEmptyWithMode(Utf8(temp), mode, out);
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
  if (code != platform::kNoError) return FailLock(FileCode::ADM, code, a, path);
  std::unique_ptr<FileHandle> h;
  code = fs.OpenExisting(Utf8(path), platform::OpenMode::ReadWrite, h);
  FileErrorCode = code;
  if (code == platform::kNoError) {
    FileHandle& opened = *h;
    Store(FileCode::ADM, std::move(h), path, added);
    CleanUpAtOpen(FileCode::ADM, opened, path);
    return code;
  }
  if (code != platform::kFileNotFound) return Fail(FileCode::ADM, code, path);
  if (a != w) {
    code = EnsureLocked(w, added);
    if (code != platform::kNoError) return FailLock(FileCode::ADM, code, w, path);
    const std::string legacyPath = w + FileInfo(FileCode::ADM).fileName;
    std::unique_ptr<FileHandle> legacy;
    code = fs.OpenExisting(Utf8(legacyPath), platform::OpenMode::ReadWrite, legacy);
    FileErrorCode = code;
    if (code == platform::kNoError) return MoveLegacyAdministrations(std::move(legacy), legacyPath, path, added);
    if (code != platform::kFileNotFound) return Fail(FileCode::ADM, code, legacyPath);
  }
  Store(FileCode::ADM, CreateMissing(FileCode::ADM, path), path, added);
  CleanUpCreated(FileCode::ADM, path);
  return platform::kNoError;
}

int OpenTextFile(FileCode c, Added& added) {
  auto& fs = platform::Fs();
  const std::string folder = FolderOf(c);
  const std::string path = folder + TextFileName;
  int code = EnsureLocked(folder, added);
  if (code != platform::kNoError) return FailLock(c, code, folder, path);
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
  if (code != platform::kNoError) return FailLock(c, code, w, second);
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
  if (code != platform::kNoError) return FailLock(c, code, folder, path);
  std::unique_ptr<FileHandle> h;
  code = platform::Fs().OpenExisting(Utf8(path), platform::OpenMode::ReadWrite, h);
  FileErrorCode = code;
  if (code == platform::kFileNotFound) {
    Store(c, CreateMissing(c, path), path, added);
    CleanUpCreated(c, path);
    return platform::kNoError;
  }
  if (code != platform::kNoError) return Fail(c, code, path);
  FileHandle& opened = *h;
  Store(c, std::move(h), path, added);
  CleanUpAtOpen(c, opened, path);
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

namespace {

OpenHook openHook = nullptr;
std::string closingBlock;

// The hook runs once the outermost set holds its files; an error it raises
// closes the set like any other error of the open.
void RunOpenHook(const std::vector<FileCode>& named) {
  if (!openHook) return;
  const bool names = std::any_of(named.begin(), named.end(), [](FileCode c) {
    return c == FileCode::FRZ || c == FileCode::ADS || c == FileCode::JVO;
  });
  if (!names) return;
  try {
    openHook();
  } catch (...) {
    CloseAllQuietly();
    throw;
  }
}

}  // namespace

void SetOpenHook(OpenHook hook) { openHook = hook; }

void BlockClosingFiles(std::string message) { closingBlock = std::move(message); }

const std::string& ClosingFilesBlock() { return closingBlock; }

void OpenFileSet(const std::string& List, int& Result) {
  if (FileSetOpen) {
    OpenNested(List, Result);
    return;
  }
  FileSetDepth = 0;
  FileErrorText = "";
  Result = 0;
  closingBlock.clear();
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
    if (code == platform::kNoError) {
      RunOpenHook(named);
      return;
    }
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
  openHook = nullptr;
  closingBlock.clear();
  FileState.fill(0);
  FileErrorText.clear();
  FileErrorCode = 0;
  TextFileName.clear();
  AdminFileFolder.clear();
  StartFolder = startFolder;
  ClearDataFolderOverride();
  SetCurrentAdministrationFolder("");
  SetDataRoot("");
  text::SystemSettings.DataFolder.clear();
}

std::string FolderFromStored(std::string_view stored) {
  std::string s(stored);
  if (s.empty()) return s;
  // NUL and control characters name no folder the program made (a damaged
  // record); the default is used. The working folder's own name is the
  // system's, not the record's, and is taken as it is.
  const std::string w = WorkingFolder();
  const std::size_t own = !w.empty() && s.compare(0, w.size(), w) == 0 ? w.size() : 0;
  for (std::size_t i = own; i < s.size(); ++i)
    if (static_cast<unsigned char>(s[i]) < 0x20 || s[i] == 0x7F) return {};
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

// A change of a file of a closing that cannot be finished is refused.
void RefuseWhileBlocked(FileCode c) {
  if (closingBlock.empty() || (c != FileCode::FRZ && c != FileCode::ADS && c != FileCode::JVO)) return;
  throw platform::IoError(platform::kErrnoBase + EBUSY, closingBlock);
}

[[noreturn]] void OutOfRange(const RecordFile& f, long long index, std::uint64_t count) {
  throw platform::IoError(platform::kEndOfFile, "IO error 38: record " + std::to_string(index) +
                                                    " lies outside \"" + f.path + "\" (" +
                                                    std::to_string(count) + " records)");
}

// Moves the bytes [from, end) up by `shift`, in large blocks from the end:
// the bytes on disk are those of moving one record after the other.
void MoveUp(const RecordFile& f, std::uint64_t from, std::uint64_t end, std::uint64_t shift, WriteBack& hint) {
  auto& buffer = MoveBuffer(end - from);
  std::uint64_t pos = end;
  while (pos > from) {
    const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), pos - from));
    pos -= len;
    ReadExactly(f.h, pos, buffer.data(), len, f.path);
    Check(f.h.WriteAt(pos + shift, buffer.data(), len), "writing", f.path);
    hint.Wrote(pos + shift, len);
  }
}

// Moves the bytes [from, end) down by `shift`, in large blocks from the
// start.
void MoveDown(const RecordFile& f, std::uint64_t from, std::uint64_t end, std::uint64_t shift) {
  auto& buffer = MoveBuffer(end - from);
  WriteBack hint(f.h);
  std::uint64_t pos = from;
  while (pos < end) {
    const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), end - pos));
    ReadExactly(f.h, pos, buffer.data(), len, f.path);
    Check(f.h.WriteAt(pos - shift, buffer.data(), len), "writing", f.path);
    hint.Wrote(pos - shift, len);
    pos += len;
  }
}

// Runs `apply` under `journal`, already written and synced: when `apply`
// fails, or the journal cannot be emptied after it, `restore` puts the files
// back from the journal (closed first) and the error goes on; when even
// that fails, `drop` takes the files out of the set, so that the next open
// puts them back. A journal left whole would put the files back over later
// changes: emptying it is the moment the change counts as done.
void RunUnderJournal(std::unique_ptr<FileHandle> journal, const std::string& journalPath,
                     const std::function<void()>& apply, const std::function<void()>& restore,
                     const std::function<void()>& drop) {
  const auto rollBack = [&] {
    journal.reset();
    try {
      restore();
    } catch (...) {
      drop();
    }
  };
  try {
    apply();
  } catch (...) {
    rollBack();
    throw;
  }
  const int code = EndChange(*journal);
  if (code != platform::kNoError) {
    rollBack();
    Raise(code, "emptying", journalPath);
  }
  journal->Close();
}

// Runs `change`, which overwrites bytes of the file from `from` on (and may
// cut or extend it), so that a crash at any point leaves the old file or the
// new one: the bytes [from, to) go into the journal first (`to` is the old
// size unless the change overwrites only up to `to` and keeps the size), the
// file is synced after the change, then the journal is emptied. A failure in
// between puts the file back from the journal at once; when even that fails,
// the file leaves the set and the next open puts it back.
void ChangeSafely(FileCode c, const RecordFile& f, std::uint64_t from, std::uint64_t oldSize,
                  const std::function<void()>& change, std::optional<std::uint64_t> to = std::nullopt) {
  const std::string path = f.path;
  RunUnderJournal(
      WriteJournal(c, f.h, f.path, from, to.value_or(oldSize), oldSize), JournalPath(path),
      [&] {
        change();
        Check(f.h.Sync(), "writing", path);
      },
      [&] { RestoreFromJournal(f.h, path); }, [&] { DropFromSet(c); });
}

// One file of a group change, as ChangeTogether checked it.
struct GroupFile {
  const FileChange* change;
  RecordFile file;
  std::uint64_t size = 0;  // bytes
  std::uint64_t from = 0;  // the first byte the change touches
  std::uint64_t to = 0;    // the end of the bytes it overwrites or moves
};

GroupFile CheckGroupFile(const FileChange& change) {
  const RecordFile f = Open(change.code);
  GroupFile g{&change, f};
  g.size = SizeOf(f.h, f.path);
  const std::uint64_t n = g.size / f.size;
  const std::size_t inserts = change.insertAt.size(), overwrites = change.overwriteAt.size();
  if (change.insertBytes.size() != inserts * f.size || change.overwriteBytes.size() != overwrites * f.size)
    throw std::logic_error(std::string("records of the wrong size for ") + f.code);
  if (!std::is_sorted(change.insertAt.begin(), change.insertAt.end()))
    throw std::logic_error(std::string("inserts out of order for ") + f.code);
  std::uint64_t first = n;
  for (const int at : change.insertAt) {
    if (at < 0 || static_cast<std::uint64_t>(at) > n) OutOfRange(f, at, n);
    first = std::min<std::uint64_t>(first, static_cast<std::uint64_t>(at));
  }
  std::uint64_t last = 0;
  for (const int at : change.overwriteAt) {
    if (at < 0 || static_cast<std::uint64_t>(at) >= n) OutOfRange(f, at, n);
    first = std::min<std::uint64_t>(first, static_cast<std::uint64_t>(at));
    last = std::max<std::uint64_t>(last, static_cast<std::uint64_t>(at) + 1);
  }
  g.from = first * f.size;
  g.to = inserts > 0 ? g.size : std::max(g.from, last * f.size);
  return g;
}

// Writes the group journal of the files' folder: a section per file with
// its bytes [from, to), synced before any file changes. Returns it, open.
std::unique_ptr<FileHandle> WriteGroupJournal(const std::vector<GroupFile>& files) {
  const std::string journal = GroupJournalPath(files.front().file.path);
  KeptJournal j = OpenKeptJournal(journal, files.front().file.path);
  try {
    Checksum sum;
    std::uint64_t pos = kGroupHeader;
    WriteBack hint(*j.h);
    const auto put = [&](const void* data, std::size_t length) {
      sum.Add(static_cast<const std::uint8_t*>(data), length);
      Check(j.h->WriteAt(pos, data, length), "writing", journal);
      hint.Wrote(pos, length);
      pos += length;
    };
    std::uint8_t head[kGroupHeader] = {};
    std::memcpy(head, kGroupMagic, sizeof kGroupMagic);
    PutU64(head + 8, files.size());
    std::uint64_t body = 0;
    for (const GroupFile& g : files) body += 8 + (g.file.path.size() - FolderPart(g.file.path).size()) + 24 + (g.to - g.from);
    PutU64(head + 16, body);
    sum.Add(head + 8, 16);
    for (const GroupFile& g : files) {
      const std::string name = g.file.path.substr(FolderPart(g.file.path).size());
      std::uint8_t fields[24];
      PutU64(fields, name.size());
      put(fields, 8);
      put(name.data(), name.size());
      PutU64(fields, g.size);
      PutU64(fields + 8, g.from);
      PutU64(fields + 16, g.to - g.from);
      put(fields, 24);
      auto& buffer = MoveBuffer(g.to - g.from);
      for (std::uint64_t at = g.from; at < g.to;) {
        const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), g.to - at));
        ReadExactly(g.file.h, at, buffer.data(), len, g.file.path);
        put(buffer.data(), len);
        at += len;
      }
    }
    PutU64(head + 24, sum.Value());
    Check(j.h->WriteAt(0, head, kGroupHeader), "writing", journal);
    SealJournal(j, journal);
  } catch (...) {
    const bool emptied = j.h && EmptyJournal(*j.h) == platform::kNoError;
    j.h.reset();
    if (!emptied)
      for (const GroupFile& g : files) DropFromSet(g.change->code);
    throw;
  }
  return std::move(j.h);
}

// Merges the new records of a group change into its file in place, from
// the end: the records of the new file are put together back to front in
// one block buffer (old records read backwards in blocks, new ones from the
// change), and each full block is written in one call. A block only ever
// lands on old records that were read already, so nothing is overwritten
// before it is read. The bytes equal those of moving each run of old records
// up and writing the new ones into the gaps.
void MergeInserts(const GroupFile& g, WriteBack& hint) {
  const RecordFile& f = g.file;
  const FileChange& c = *g.change;
  const std::size_t size = f.size;
  const std::size_t block = std::max<std::size_t>(kMoveBlock / size, 1);
  std::vector<std::uint8_t> in(block * size), out(block * size);
  std::uint64_t i = g.size / size;  // old records [0, i) not placed yet
  std::size_t j = c.insertAt.size();  // new records [0, j) not placed yet
  const std::uint64_t first = c.insertAt.empty() ? i : static_cast<std::uint64_t>(c.insertAt.front());
  std::uint64_t inFirst = i;  // `in` holds the old records from inFirst on that were read last
  std::size_t filled = 0;     // records at the end of `out`
  const auto flush = [&] {
    if (filled == 0) return;
    const std::uint64_t at = (i + j) * size;  // the first record of the block lands here
    Check(f.h.WriteAt(at, out.data() + (block - filled) * size, filled * size), "writing", f.path);
    hint.Wrote(at, filled * size);
    filled = 0;
  };
  while (i > first || j > 0) {
    if (filled == block) flush();
    std::uint8_t* to = out.data() + (block - filled - 1) * size;
    if (j > 0 && static_cast<std::uint64_t>(c.insertAt[j - 1]) >= i) {
      --j;
      std::memcpy(to, c.insertBytes.data() + j * size, size);
    } else {
      if (inFirst == i) {
        const std::uint64_t k = std::min<std::uint64_t>(block, i - first);
        inFirst = i - k;
        ReadExactly(f.h, inFirst * size, in.data(), static_cast<std::size_t>(k * size), f.path);
      }
      --i;
      std::memcpy(to, in.data() + (i - inFirst) * size, size);
    }
    ++filled;
  }
  flush();
}

// Applies one file's inserts and overwrites: the new records merged in,
// then the overwrites at their new places. Synced.
void ApplyGroupFile(const GroupFile& g) {
  const RecordFile& f = g.file;
  const FileChange& c = *g.change;
  WriteBack hint(f.h);
  if (!c.insertAt.empty()) MergeInserts(g, hint);
  for (std::size_t i = 0; i < c.overwriteAt.size(); ++i) {
    const int at = c.overwriteAt[i];
    const auto moved = std::upper_bound(c.insertAt.begin(), c.insertAt.end(), at) - c.insertAt.begin();
    Check(f.h.WriteAt((static_cast<std::uint64_t>(at) + static_cast<std::uint64_t>(moved)) * f.size,
                      c.overwriteBytes.data() + i * f.size, f.size),
          "writing", f.path);
  }
  Check(f.h.Sync(), "writing", f.path);
}

}  // namespace

namespace fileset_detail {
void CheckRecordSize(FileCode c, std::size_t size) {
  if (static_cast<std::size_t>(FileInfo(c).recordSize) != size)
    throw std::logic_error(std::string("record of ") + std::to_string(size) + " bytes for " + FileInfo(c).name);
}
}  // namespace fileset_detail

int RecordCount(FileCode c) {
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (n > static_cast<std::uint64_t>(INT_MAX))
    throw platform::IoError(platform::kErrnoBase + EOVERFLOW,
                            "The file \"" + f.path + "\" holds " + std::to_string(n) +
                                " records, more than the program can count");
  return static_cast<int>(n);
}

void ReadRecord(FileCode c, int index, void* buffer) {
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (index < 0 || static_cast<std::uint64_t>(index) >= n) OutOfRange(f, index, n);
  ReadExactly(f.h, static_cast<std::uint64_t>(index) * f.size, buffer, f.size, f.path);
}

void WriteRecord(FileCode c, int index, const void* buffer) {
  RefuseWhileBlocked(c);
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (index < 0 || static_cast<std::uint64_t>(index) > n) OutOfRange(f, index, n);
  Check(f.h.WriteAt(static_cast<std::uint64_t>(index) * f.size, buffer, f.size), "writing", f.path);
}

void AppendRecord(FileCode c, const void* buffer) {
  RefuseWhileBlocked(c);
  const RecordFile f = Open(c);
  Check(f.h.WriteAt(Count(f) * f.size, buffer, f.size), "writing", f.path);
}

void TruncateRecords(FileCode c, int count) {
  RefuseWhileBlocked(c);
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (count < 0 || static_cast<std::uint64_t>(count) > n) OutOfRange(f, count, n);
  Check(f.h.Truncate(static_cast<std::uint64_t>(count) * f.size), "truncating", f.path);
}

void InsertRecords(FileCode c, int index, const void* records, int count) {
  RefuseWhileBlocked(c);
  const RecordFile f = Open(c);
  const std::uint64_t size = SizeOf(f.h, f.path);
  const std::uint64_t n = size / f.size;
  if (index < 0 || static_cast<std::uint64_t>(index) > n) OutOfRange(f, index, n);
  if (count <= 0) return;
  const std::uint64_t at = static_cast<std::uint64_t>(index) * f.size;
  const std::uint64_t bytes = static_cast<std::uint64_t>(count) * f.size;
  ChangeSafely(c, f, at, size, [&] {
    WriteBack hint(f.h);
    MoveUp(f, at, n * f.size, bytes, hint);
    Check(f.h.WriteAt(at, records, static_cast<std::size_t>(bytes)), "writing", f.path);
  });
}

void DeleteRecords(FileCode c, int index, int count) {
  RefuseWhileBlocked(c);
  const RecordFile f = Open(c);
  const std::uint64_t size = SizeOf(f.h, f.path);
  const std::uint64_t n = size / f.size;
  if (count <= 0) return;
  if (index < 0 || static_cast<std::uint64_t>(index) + static_cast<std::uint64_t>(count) > n)
    OutOfRange(f, index, n);
  const std::uint64_t at = static_cast<std::uint64_t>(index) * f.size;
  const std::uint64_t bytes = static_cast<std::uint64_t>(count) * f.size;
  ChangeSafely(c, f, at, size, [&] {
    MoveDown(f, at + bytes, n * f.size, bytes);
    Check(f.h.Truncate(n * f.size - bytes), "truncating", f.path);
  });
}

void ReplaceRecords(FileCode c, int index, int oldCount, const void* records, int newCount) {
  RefuseWhileBlocked(c);
  const RecordFile f = Open(c);
  const std::uint64_t size = SizeOf(f.h, f.path);
  const std::uint64_t n = size / f.size;
  if (index < 0 || oldCount < 0 || newCount < 0 ||
      static_cast<std::uint64_t>(index) + static_cast<std::uint64_t>(oldCount) > n)
    OutOfRange(f, index, n);
  const std::uint64_t at = static_cast<std::uint64_t>(index) * f.size;
  const std::uint64_t oldBytes = static_cast<std::uint64_t>(oldCount) * f.size;
  const std::uint64_t newBytes = static_cast<std::uint64_t>(newCount) * f.size;
  if (oldCount == newCount) {
    // Overwritten in place; the journal keeps only the replaced records, so
    // a crash leaves the old run or the new one, never a mix.
    if (newBytes == 0) return;
    ChangeSafely(
        c, f, at, size,
        [&] { Check(f.h.WriteAt(at, records, static_cast<std::size_t>(newBytes)), "writing", f.path); },
        at + newBytes);
    return;
  }
  ChangeSafely(c, f, at, size, [&] {
    const std::uint64_t tailFrom = at + oldBytes;
    const std::uint64_t tailEnd = n * f.size;
    WriteBack hint(f.h);
    if (newBytes > oldBytes)
      MoveUp(f, tailFrom, tailEnd, newBytes - oldBytes, hint);
    else
      MoveDown(f, tailFrom, tailEnd, oldBytes - newBytes);
    if (newBytes > 0) Check(f.h.WriteAt(at, records, static_cast<std::size_t>(newBytes)), "writing", f.path);
    if (newBytes < oldBytes) Check(f.h.Truncate(tailEnd - (oldBytes - newBytes)), "truncating", f.path);
  });
}

void ChangeTogether(const std::vector<FileChange>& changes) {
  std::vector<GroupFile> files;
  for (const FileChange& c : changes) {
    if (c.insertAt.empty() && c.overwriteAt.empty()) continue;
    RefuseWhileBlocked(c.code);
    for (const GroupFile& g : files)
      if (g.change->code == c.code) throw std::logic_error(std::string("two changes of ") + FileInfo(c.code).name);
    files.push_back(CheckGroupFile(c));
  }
  if (files.empty()) return;
  for (const GroupFile& g : files)
    if (FolderPart(g.file.path) != FolderPart(files.front().file.path))
      throw std::logic_error("a group change of files in several folders");
  const std::string path = files.front().file.path;
  RunUnderJournal(
      WriteGroupJournal(files), GroupJournalPath(path),
      [&] {
        for (const GroupFile& g : files) ApplyGroupFile(g);
      },
      [&] { RestoreGroup(path); },
      [&] {
        for (const GroupFile& g : files) DropFromSet(g.change->code);
      });
}

void RewriteFile(FileCode c, const void* records, int count) {
  RefuseWhileBlocked(c);
  const RecordFile f = Open(c);
  // The new file keeps who may read the old one (the user file holds the
  // password checksums), from the moment it exists.
  std::uint32_t mode = 0600;
  Check(platform::Fs().AccessMode(Utf8(f.path), mode), "reading the access mode of", f.path);
  RewriteFileWithMode(c, records, count, mode);
}

void RewriteFileWithMode(FileCode c, const void* records, int count, std::uint32_t mode) {
  const RecordFile f = Open(c);
  auto& fs = platform::Fs();
  const std::string path = f.path;
  const std::string temp = path + kTempSuffix;
  std::unique_ptr<FileHandle> out;
  Check(fs.CreateEmptyWithMode(Utf8(temp), mode, out), "creating", temp);
  try {
    if (count > 0)
      Check(out->WriteAt(0, records, static_cast<std::size_t>(count) * f.size), "writing", temp);
    Check(out->Sync(), "writing", temp);
    Check(out->Close(), "closing", temp);
    out.reset();
    Check(fs.RenameOver(Utf8(temp), Utf8(path)), "renaming into place", path);
  } catch (...) {
    out.reset();
    fs.Delete(Utf8(temp));
    throw;
  }
  // The new name goes to the disk (the file is in place by now: a failure
  // here does not make the rewrite a failed one).
  fs.SyncFolderOf(Utf8(path));
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
    throw platform::IoError(platform::kErrnoBase + EFBIG,
                            "The file \"" + f.path + "\" is damaged: it holds " + std::to_string(size) +
                                " bytes, more than the " + std::to_string(maxBytes) + " such a file can hold");
}

std::uint64_t WholeRecords(FileCode c) { return Count(Open(c)); }

void ReadRecords(FileCode c, std::uint64_t first, std::size_t count, void* out) {
  const RecordFile f = Open(c);
  const std::uint64_t n = Count(f);
  if (first > n || count > n - first) OutOfRange(f, static_cast<long long>(first + count), n);
  ReadExactly(f.h, first * f.size, out, count * f.size, f.path);
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

std::uint64_t FileSize(FileCode c) {
  OpenFile& f = U().files[FileIndex(c)];
  if (!f.handle)
    throw platform::IoError(platform::kFileNotOpen, std::string("IO error 6: the file ") + FileInfo(c).name +
                                                        " is not open in the file set");
  return SizeOf(*f.handle, f.path);
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

}  // namespace store
