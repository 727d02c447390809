// An in-memory file system for tests, a counting sleeper, and a scope that
// puts the data-file set on both with a clean state.
//
// The fake keeps files and folders in maps; open handles share the file's
// bytes as POSIX descriptors share an inode (a rename or delete leaves an
// open handle on the old bytes). Any operation on any path can be made to
// fail with any code, for a number of calls, after a number of calls that
// succeed; and a lock file can be held "by another copy" for the first N
// attempts. It can also "crash": after a number of calls that change the
// disk, every call fails, as if the process had been killed there. It keeps
// each file's access mode but does not enforce it, as for root.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/filesystem.h"
#include "platform/sleep.h"

namespace support {

class FakeFileSystem : public platform::FileSystem {
 public:
  enum class Op {
    OpenReadWrite, OpenRead, Create, Size, Read, Write, Truncate, Sync, Close,
    Rename, Copy, Delete, MakeFolders, Lock
  };

  FakeFileSystem();

  // Set-up and inspection (paths are UTF-8 and absolute).
  void AddFolder(const std::string& path);            // with every parent
  void SetFile(const std::string& path, std::string bytes);  // adds the folders
  bool HasFile(const std::string& path) const;
  bool HasFolder(const std::string& path) const;
  std::string File(const std::string& path) const;    // "" when missing
  // The file names (not paths) directly in `folder`, sorted.
  std::vector<std::string> FilesIn(const std::string& folder) const;

  // The next `times` calls of `op` on `path` (-1: every call), after the
  // first `after` calls that go through, fail with `code`.
  void InjectError(const std::string& path, Op op, int code, int times = -1, int after = 0);
  // Clears the injected errors and ends a crash.
  void ClearErrors();
  // After `goodCalls` more calls that change the disk (create, write,
  // truncate, sync, rename, copy, delete, make folders) every call of any
  // kind fails with 5: nothing more reaches the files, as after a kill -9.
  // When the first call that fails is a write, the first half of its bytes
  // reach the file (a write cut off part-way). ClearErrors ends it.
  void CrashAfter(int goodCalls);
  bool Crashed() const { return crashAfter_ == 0; }
  // The calls that changed the disk since the last CrashAfter or
  // ClearErrors.
  int ChangingCalls() const { return changingCalls_; }
  // The access mode of a file (0644 for files made by SetFile or
  // CreateEmpty); 0 when it is missing.
  std::uint32_t ModeOf(const std::string& path) const;
  void SetMode(const std::string& path, std::uint32_t mode);
  // Another copy holds the lock file `path` for the next `attempts` lock
  // attempts (-1: until ReleaseLock).
  void HoldLock(const std::string& path, int attempts = -1);
  void ReleaseLock(const std::string& path);

  int OpenHandles() const { return openHandles_; }
  int HeldLocks() const { return static_cast<int>(locked_.size()); }
  // "open rw P", "open r P", "create P", "close P", "lock P", "unlock P",
  // "rename A -> B", "copy A -> B", "delete P", "mkdir P".
  const std::vector<std::string>& Log() const { return log_; }
  // The entries of the log that start with `prefix`, without it.
  std::vector<std::string> LogOf(const std::string& prefix) const;
  void ClearLog() { log_.clear(); }

  // platform::FileSystem
  int OpenExisting(const std::string& path, platform::OpenMode mode,
                   std::unique_ptr<platform::FileHandle>& out) override;
  int CreateEmpty(const std::string& path, std::unique_ptr<platform::FileHandle>& out) override;
  int Size(const std::string& path, std::uint64_t& size) override;
  int RenameOver(const std::string& from, const std::string& to) override;
  int RenameNoReplace(const std::string& from, const std::string& to) override;
  int Copy(const std::string& from, const std::string& to, platform::CopyMode mode) override;
  int Delete(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  int MakeFolders(const std::string& path) override;
  int LockExclusive(const std::string& path, std::unique_ptr<platform::LockHandle>& out) override;
  int AccessMode(const std::string& path, std::uint32_t& mode) override;
  int CreateEmptyWithMode(const std::string& path, std::uint32_t mode,
                          std::unique_ptr<platform::FileHandle>& out) override;
  // Logs "syncfolder P" with the file's path (the fake keeps no names apart
  // from the bytes, so there is nothing to write).
  int SyncFolderOf(const std::string& path) override;

  // Used by the handles.
  int Injected(const std::string& path, Op op);
  // True once, for the write that the crash cut off.
  bool TakeTornWrite();
  void Note(const std::string& entry) { log_.push_back(entry); }
  void HandleClosed() { --openHandles_; }
  void Unlock(const std::string& path);

 private:
  struct Injection {
    std::string path;
    Op op;
    int code;
    int times;
    int after;
  };
  using Bytes = std::shared_ptr<std::string>;

  static std::string Norm(const std::string& path);
  // 0 when the parent folder of `path` exists, else 3.
  int ParentCode(const std::string& path) const;
  int MissingCode(const std::string& path) const;  // 2 or 3
  std::unique_ptr<platform::FileHandle> MakeHandle(const std::string& path, Bytes bytes, bool writable);

  std::map<std::string, Bytes> files_;
  std::map<std::string, std::uint32_t> modes_;
  int crashAfter_ = -1;  // -1: no crash planned
  int changingCalls_ = 0;
  bool crashSeen_ = false;
  bool tornWrite_ = false;
  std::set<std::string> folders_;
  std::vector<Injection> injections_;
  std::map<std::string, int> heldByOther_;
  std::set<std::string> locked_;
  std::vector<std::string> log_;
  int openHandles_ = 0;
};

// Replaces the blocking sleep by a counter while it lives. `onSleep` runs at
// each sleep with the number of sleeps so far.
class CountingSleeper {
 public:
  CountingSleeper();
  ~CountingSleeper();
  CountingSleeper(const CountingSleeper&) = delete;
  CountingSleeper& operator=(const CountingSleeper&) = delete;
  int Count() const { return count_; }
  int TotalMilliseconds() const { return total_; }
  std::function<void(int count)> onSleep;

 private:
  platform::Sleeper previous_;
  int count_ = 0;
  int total_ = 0;
};

// Whether the bytes of a rollback journal (a file's "<file>.ombrelo-rollback"
// or a folder's ".ombrelo-group-rollback") hold nothing to roll back: the
// file is missing or empty, or its header was cleared (a kept journal keeps
// the bytes of its last change behind a cleared header).
inline bool HoldsNothingToRollBack(const std::string& journal) {
  return journal.size() < 8 || (journal.compare(0, 8, "OMBRLRB1") != 0 && journal.compare(0, 8, "OMBRLGR1") != 0);
}

// Resets the data-file set: no set open, depth 0, every state and error
// cleared, no data root, administration or override, and StartFolder :=
// `startFolder` (code page 1252, "/"-terminated).
void ResetFileSetUnit(const std::string& startFolder);

// A fake file system and a counting sleeper installed, with the working
// folder "/w/" present and the data-file set reset to it. Restores the
// real file system and sleep (and resets the unit again) at the end.
class FakeDataStore {
 public:
  explicit FakeDataStore(const std::string& startFolder = "/w/");
  ~FakeDataStore();
  FakeDataStore(const FakeDataStore&) = delete;
  FakeDataStore& operator=(const FakeDataStore&) = delete;

  FakeFileSystem fs;
  CountingSleeper sleeper;

 private:
  platform::ScopedFileSystem scope_;
};

}  // namespace support
