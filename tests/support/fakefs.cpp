#include "support/fakefs.h"

#include <algorithm>

#include "platform/oserror.h"
#include "store/fileset.h"
#include "text/systemsettings.h"
#include "support/reset.h"

namespace support {

using platform::kAccessDenied;
using platform::kFileNotFound;
using platform::kFileNotOpen;
using platform::kNoError;
using platform::kPathNotFound;
using platform::kSharingViolation;

namespace {

constexpr int kExists = platform::kErrnoBase + 17;  // EEXIST

class FakeHandle : public platform::FileHandle {
 public:
  FakeHandle(FakeFileSystem& fs, std::string path, std::shared_ptr<std::string> bytes, bool writable)
      : fs_(fs), path_(std::move(path)), bytes_(std::move(bytes)), writable_(writable) {}
  ~FakeHandle() override {
    if (bytes_) fs_.HandleClosed();
  }

  int Size(std::uint64_t& size) override {
    if (!bytes_) return kFileNotOpen;
    if (int c = fs_.Injected(path_, FakeFileSystem::Op::Size)) return c;
    size = bytes_->size();
    return kNoError;
  }
  int ReadAt(std::uint64_t offset, void* data, std::size_t length, std::size_t& done) override {
    done = 0;
    if (!bytes_) return kFileNotOpen;
    if (int c = fs_.Injected(path_, FakeFileSystem::Op::Read)) return c;
    if (offset >= bytes_->size()) return kNoError;
    done = static_cast<std::size_t>(std::min<std::uint64_t>(length, bytes_->size() - offset));
    std::copy_n(bytes_->data() + offset, done, static_cast<char*>(data));
    return kNoError;
  }
  int WriteAt(std::uint64_t offset, const void* data, std::size_t length) override {
    if (!bytes_) return kFileNotOpen;
    if (!writable_) return kAccessDenied;
    if (int c = fs_.Injected(path_, FakeFileSystem::Op::Write)) {
      if (fs_.TakeTornWrite()) Put(offset, data, length / 2);
      return c;
    }
    Put(offset, data, length);
    return kNoError;
  }
  void Put(std::uint64_t offset, const void* data, std::size_t length) {
    if (bytes_->size() < offset + length) bytes_->resize(static_cast<std::size_t>(offset + length), '\0');
    std::copy_n(static_cast<const char*>(data), length, bytes_->data() + offset);
  }
  int Truncate(std::uint64_t size) override {
    if (!bytes_) return kFileNotOpen;
    if (!writable_) return kAccessDenied;
    if (int c = fs_.Injected(path_, FakeFileSystem::Op::Truncate)) return c;
    bytes_->resize(static_cast<std::size_t>(size), '\0');
    return kNoError;
  }
  int Sync() override {
    if (!bytes_) return kFileNotOpen;
    return fs_.Injected(path_, FakeFileSystem::Op::Sync);
  }
  int Close() override {
    if (!bytes_) return kFileNotOpen;
    fs_.Note("close " + path_);
    bytes_.reset();
    fs_.HandleClosed();
    return fs_.Injected(path_, FakeFileSystem::Op::Close);
  }

 private:
  FakeFileSystem& fs_;
  std::string path_;
  std::shared_ptr<std::string> bytes_;
  bool writable_;
};

class FakeLock : public platform::LockHandle {
 public:
  FakeLock(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  ~FakeLock() override { fs_.Unlock(path_); }

 private:
  FakeFileSystem& fs_;
  std::string path_;
};

}  // namespace

FakeFileSystem::FakeFileSystem() { folders_.insert("/"); }

std::string FakeFileSystem::Norm(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

int FakeFileSystem::ParentCode(const std::string& path) const {
  return folders_.count(platform::ParentFolder(Norm(path))) != 0 ? kNoError : kPathNotFound;
}

int FakeFileSystem::MissingCode(const std::string& path) const {
  return ParentCode(path) == kNoError ? kFileNotFound : kPathNotFound;
}

void FakeFileSystem::AddFolder(const std::string& path) {
  std::string p = Norm(path);
  while (p != "/" && p != "." && !p.empty()) {
    folders_.insert(p);
    p = platform::ParentFolder(p);
  }
}

void FakeFileSystem::SetFile(const std::string& path, std::string bytes) {
  AddFolder(platform::ParentFolder(Norm(path)));
  auto& slot = files_[Norm(path)];
  if (slot)
    *slot = std::move(bytes);
  else
    slot = std::make_shared<std::string>(std::move(bytes));
  modes_.try_emplace(Norm(path), 0644);
}

std::uint32_t FakeFileSystem::ModeOf(const std::string& path) const {
  if (files_.count(Norm(path)) == 0) return 0;
  auto it = modes_.find(Norm(path));
  return it == modes_.end() ? 0644 : it->second;
}

void FakeFileSystem::SetMode(const std::string& path, std::uint32_t mode) { modes_[Norm(path)] = mode; }

bool FakeFileSystem::HasFile(const std::string& path) const { return files_.count(Norm(path)) != 0; }

bool FakeFileSystem::HasFolder(const std::string& path) const { return folders_.count(Norm(path)) != 0; }

std::string FakeFileSystem::File(const std::string& path) const {
  auto it = files_.find(Norm(path));
  return it == files_.end() ? std::string() : *it->second;
}

std::vector<std::string> FakeFileSystem::FilesIn(const std::string& folder) const {
  std::vector<std::string> out;
  const std::string f = Norm(folder);
  for (const auto& [path, bytes] : files_)
    if (platform::ParentFolder(path) == f) out.push_back(path.substr(path.rfind('/') + 1));
  return out;
}

void FakeFileSystem::InjectError(const std::string& path, Op op, int code, int times, int after) {
  injections_.push_back({Norm(path), op, code, times, after});
}

void FakeFileSystem::ClearErrors() {
  injections_.clear();
  crashAfter_ = -1;
  changingCalls_ = 0;
  crashSeen_ = tornWrite_ = false;
}

void FakeFileSystem::CrashAfter(int goodCalls) {
  crashAfter_ = goodCalls;
  changingCalls_ = 0;
  crashSeen_ = tornWrite_ = false;
}

bool FakeFileSystem::TakeTornWrite() {
  const bool torn = tornWrite_;
  tornWrite_ = false;
  return torn;
}

void FakeFileSystem::HoldLock(const std::string& path, int attempts) { heldByOther_[Norm(path)] = attempts; }

void FakeFileSystem::ReleaseLock(const std::string& path) { heldByOther_.erase(Norm(path)); }

std::vector<std::string> FakeFileSystem::LogOf(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& e : log_)
    if (e.rfind(prefix, 0) == 0) out.push_back(e.substr(prefix.size()));
  return out;
}

int FakeFileSystem::Injected(const std::string& path, Op op) {
  if (crashAfter_ == 0) {
    tornWrite_ = !crashSeen_ && op == Op::Write;
    crashSeen_ = true;
    return kAccessDenied;
  }
  switch (op) {
    case Op::Create: case Op::Write: case Op::Truncate: case Op::Sync: case Op::Rename:
    case Op::Copy: case Op::Delete: case Op::MakeFolders:
      ++changingCalls_;
      if (crashAfter_ > 0) --crashAfter_;
      break;
    default:
      break;
  }
  const std::string p = Norm(path);
  for (Injection& i : injections_) {
    if (i.path != p || i.op != op || i.times == 0) continue;
    if (i.after > 0) {
      --i.after;
      continue;
    }
    if (i.times > 0) --i.times;
    return i.code;
  }
  return kNoError;
}

std::unique_ptr<platform::FileHandle> FakeFileSystem::MakeHandle(const std::string& path, Bytes bytes,
                                                                 bool writable) {
  ++openHandles_;
  return std::make_unique<FakeHandle>(*this, path, std::move(bytes), writable);
}

int FakeFileSystem::OpenExisting(const std::string& path, platform::OpenMode mode,
                                 std::unique_ptr<platform::FileHandle>& out) {
  const std::string p = Norm(path);
  const bool rw = mode == platform::OpenMode::ReadWrite;
  log_.push_back((rw ? "open rw " : "open r ") + p);
  if (int c = Injected(p, rw ? Op::OpenReadWrite : Op::OpenRead)) return c;
  if (folders_.count(p) != 0) return kAccessDenied;
  auto it = files_.find(p);
  if (it == files_.end()) return MissingCode(p);
  out = MakeHandle(p, it->second, rw);
  return kNoError;
}

int FakeFileSystem::CreateEmpty(const std::string& path, std::unique_ptr<platform::FileHandle>& out) {
  const std::string p = Norm(path);
  log_.push_back("create " + p);
  if (int c = Injected(p, Op::Create)) return c;
  if (int c = ParentCode(p)) return c;
  if (folders_.count(p) != 0) return kAccessDenied;
  auto& slot = files_[p];
  if (slot)
    slot->clear();
  else
    slot = std::make_shared<std::string>();
  modes_.try_emplace(p, 0644);
  out = MakeHandle(p, slot, true);
  return kNoError;
}

int FakeFileSystem::CreateEmptyWithMode(const std::string& path, std::uint32_t mode,
                                        std::unique_ptr<platform::FileHandle>& out) {
  const int code = CreateEmpty(path, out);
  if (code == kNoError) modes_[Norm(path)] = mode & 07777;
  return code;
}

int FakeFileSystem::AccessMode(const std::string& path, std::uint32_t& mode) {
  const std::string p = Norm(path);
  if (files_.count(p) == 0) {
    if (folders_.count(p) == 0) return MissingCode(p);
    mode = 0755;
    return kNoError;
  }
  mode = ModeOf(p);
  return kNoError;
}

int FakeFileSystem::Size(const std::string& path, std::uint64_t& size) {
  const std::string p = Norm(path);
  if (int c = Injected(p, Op::Size)) return c;
  auto it = files_.find(p);
  if (it == files_.end()) return MissingCode(p);
  size = it->second->size();
  return kNoError;
}

int FakeFileSystem::RenameOver(const std::string& from, const std::string& to) {
  const std::string f = Norm(from), t = Norm(to);
  log_.push_back("rename " + f + " -> " + t);
  if (int c = Injected(f, Op::Rename)) return c;
  auto it = files_.find(f);
  if (it == files_.end()) return MissingCode(f);
  if (int c = ParentCode(t)) return c;
  if (folders_.count(t) != 0) return kAccessDenied;
  Bytes bytes = it->second;
  files_.erase(it);
  files_[t] = std::move(bytes);
  const std::uint32_t mode = modes_.count(f) != 0 ? modes_[f] : 0644;
  modes_.erase(f);
  modes_[t] = mode;
  return kNoError;
}

int FakeFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  if (files_.count(Norm(to)) != 0 || folders_.count(Norm(to)) != 0) {
    log_.push_back("rename " + Norm(from) + " -> " + Norm(to));
    return kExists;
  }
  return RenameOver(from, to);
}

int FakeFileSystem::Copy(const std::string& from, const std::string& to, platform::CopyMode mode) {
  const std::string f = Norm(from), t = Norm(to);
  log_.push_back("copy " + f + " -> " + t);
  if (int c = Injected(f, Op::Copy)) return c;
  auto it = files_.find(f);
  if (it == files_.end()) return MissingCode(f);
  if (int c = ParentCode(t)) return c;
  auto target = files_.find(t);
  if (target != files_.end()) {
    if (mode == platform::CopyMode::FailIfExists) return kExists;
    *target->second = *it->second;
  } else {
    files_[t] = std::make_shared<std::string>(*it->second);
  }
  return kNoError;
}

int FakeFileSystem::SyncFolderOf(const std::string& path) {
  log_.push_back("syncfolder " + Norm(path));
  return kNoError;
}

int FakeFileSystem::Delete(const std::string& path) {
  const std::string p = Norm(path);
  log_.push_back("delete " + p);
  if (int c = Injected(p, Op::Delete)) return c;
  if (folders_.count(p) != 0) return kAccessDenied;
  if (files_.erase(p) == 0) return MissingCode(p);
  modes_.erase(p);
  return kNoError;
}

bool FakeFileSystem::Exists(const std::string& path) {
  const std::string p = Norm(path);
  return files_.count(p) != 0 || folders_.count(p) != 0;
}

bool FakeFileSystem::IsFolder(const std::string& path) { return folders_.count(Norm(path)) != 0; }

int FakeFileSystem::MakeFolders(const std::string& path) {
  const std::string p = Norm(path);
  log_.push_back("mkdir " + p);
  if (int c = Injected(p, Op::MakeFolders)) return c;
  for (std::string q = p; q != "/" && q != "." && !q.empty(); q = platform::ParentFolder(q))
    if (files_.count(q) != 0) return kPathNotFound;
  AddFolder(p);
  return kNoError;
}

int FakeFileSystem::LockExclusive(const std::string& path, std::unique_ptr<platform::LockHandle>& out) {
  const std::string p = Norm(path);
  log_.push_back("lock " + p);
  if (int c = Injected(p, Op::Lock)) return c;
  if (int c = ParentCode(p)) return c;
  if (folders_.count(p) != 0) return kAccessDenied;
  auto held = heldByOther_.find(p);
  if (held != heldByOther_.end()) {
    if (held->second < 0) return kSharingViolation;
    if (held->second > 0) {
      if (--held->second == 0) heldByOther_.erase(held);
      return kSharingViolation;
    }
  }
  if (locked_.count(p) != 0) return kSharingViolation;
  if (files_.count(p) == 0) files_[p] = std::make_shared<std::string>();
  locked_.insert(p);
  out = std::make_unique<FakeLock>(*this, p);
  return kNoError;
}

void FakeFileSystem::Unlock(const std::string& path) {
  log_.push_back("unlock " + path);
  locked_.erase(path);
}

CountingSleeper::CountingSleeper()
    : previous_(platform::SetSleeper([this](int ms) {
        ++count_;
        total_ += ms;
        if (onSleep) onSleep(count_);
      })) {}

CountingSleeper::~CountingSleeper() { platform::SetSleeper(std::move(previous_)); }

void ResetFileSetUnit(const std::string& startFolder) { store::ResetFileSetState(startFolder); }

FakeDataStore::FakeDataStore(const std::string& startFolder) : scope_(fs) {
  fs.AddFolder(startFolder);
  ResetProgram(startFolder);
}

FakeDataStore::~FakeDataStore() { ResetProgram(""); }

}  // namespace support
