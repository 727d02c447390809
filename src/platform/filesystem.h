// The file-system seam. Everything the data store does with files goes
// through one FileSystem: the real POSIX one in the program, an in-memory
// one in tests (which can fail any operation on any path with any code,
// something real files cannot do for a test running as root).
//
// Paths are UTF-8. Every operation returns a code of platform/oserror.h:
// 0 on success, 2, 3, 5, 32 or 1000 + errno on failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// An open file. Closing happens at Close() or, silently, at destruction.
class FileHandle {
 public:
  virtual ~FileHandle() = default;
  virtual int Size(std::uint64_t& size) = 0;
  // Reads up to `length` bytes at `offset`; `done` tells how many were read
  // (fewer only at the end of the file).
  virtual int ReadAt(std::uint64_t offset, void* data, std::size_t length, std::size_t& done) = 0;
  // Writes all `length` bytes at `offset`, extending the file when needed.
  virtual int WriteAt(std::uint64_t offset, const void* data, std::size_t length) = 0;
  virtual int Truncate(std::uint64_t size) = 0;
  // Forces the written data to the disk.
  virtual int Sync() = 0;
  // A hint that the written range [offset, offset + length) may go to the
  // disk now, without waiting for it: a later Sync of a large file then has
  // less left to wait for. It changes nothing else and never fails.
  virtual void StartWriteBack(std::uint64_t offset, std::uint64_t length) {}
  // Closes the file; later calls fail with 6.
  virtual int Close() = 0;
};

// An exclusive lock; released when the object is destroyed.
class LockHandle {
 public:
  virtual ~LockHandle() = default;
};

enum class OpenMode { ReadWrite, Read };
enum class CopyMode { FailIfExists, Overwrite };

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens an existing file (2 when it is missing, 3 when its folder is, 5
  // when the path names a folder).
  virtual int OpenExisting(const std::string& path, OpenMode mode, std::unique_ptr<FileHandle>& out) = 0;
  // Creates the file empty, or empties an existing one; open for reading and
  // writing.
  virtual int CreateEmpty(const std::string& path, std::unique_ptr<FileHandle>& out) = 0;
  virtual int Size(const std::string& path, std::uint64_t& size) = 0;
  // Renames `from` to `to`, replacing an existing `to` in one step.
  virtual int RenameOver(const std::string& from, const std::string& to) = 0;
  // Renames `from` to `to`; fails (1017, EEXIST) when `to` exists.
  virtual int RenameNoReplace(const std::string& from, const std::string& to) = 0;
  // Copies the bytes of `from` into `to`; with FailIfExists an existing
  // `to` is a failure (1017, EEXIST) and stays untouched.
  virtual int Copy(const std::string& from, const std::string& to, CopyMode mode) = 0;
  virtual int Delete(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool IsFolder(const std::string& path) = 0;
  // Creates the folder and every missing folder above it (mkdir -p); an
  // existing folder is no error.
  virtual int MakeFolders(const std::string& path) = 0;
  // Takes an exclusive advisory lock on the lock file `path` (created when
  // missing), without waiting: 32 when another holder has it. The lock
  // belongs to the returned handle: a second call in the same process
  // conflicts with the first as another copy's would.
  virtual int LockExclusive(const std::string& path, std::unique_ptr<LockHandle>& out) = 0;
  // The folder as the system resolves it (symbolic links followed), so two
  // names of one folder compare equal; the path itself when it cannot be
  // resolved.
  virtual std::string ResolvedFolder(const std::string& path) { return path; }
  // The access mode (permission bits, 07777) of an existing file: 2 or 3
  // when it is missing.
  virtual int AccessMode(const std::string& path, std::uint32_t& mode) = 0;
  // As CreateEmpty, but the file has exactly the access mode `mode` before
  // anything is written to it (also when it existed with another mode), so
  // a copy of a protected file is never readable by more people than the
  // file itself, not even for a moment.
  virtual int CreateEmptyWithMode(const std::string& path, std::uint32_t mode,
                                  std::unique_ptr<FileHandle>& out) = 0;
  // Makes the names in the folder of `path` (a file created, renamed or
  // deleted there) reach the disk, as Sync does for a file's bytes. A file
  // system without such a notion does nothing.
  virtual int SyncFolderOf(const std::string& path) { return 0; }
};

// The file system in use: the real one unless another was installed.
FileSystem& Fs();
// The POSIX implementation.
FileSystem& RealFileSystem();
// Installs `fs` (nullptr: the real one again); returns the one installed
// before (nullptr when that was the real one).
FileSystem* SetFileSystem(FileSystem* fs);

// Installs a file system for the lifetime of the object.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& fs) : previous_(SetFileSystem(&fs)) {}
  ~ScopedFileSystem() { SetFileSystem(previous_); }
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

// The folder part of a path ("/a/b/c" -> "/a/b", "/a" -> "/", "c" -> ".").
std::string ParentFolder(const std::string& path);

}  // namespace platform
