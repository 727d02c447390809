#include "platform/filesystem.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/oserror.h"

namespace platform {

std::string ParentFolder(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  const auto slash = p.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return p.substr(0, slash);
}

namespace {

bool IsFolderPath(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ExistsPath(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// The code for `err` from an operation on `path`.
int CodeFor(int err, const std::string& path) {
  return CodeFromErrno(err, err == ENOENT && IsFolderPath(ParentFolder(path)));
}

class PosixFile : public FileHandle {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  int Size(std::uint64_t& size) override {
    if (fd_ < 0) return kFileNotOpen;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return CodeFromErrno(errno, true);
    size = static_cast<std::uint64_t>(st.st_size);
    return kNoError;
  }

  int ReadAt(std::uint64_t offset, void* data, std::size_t length, std::size_t& done) override {
    done = 0;
    if (fd_ < 0) return kFileNotOpen;
    auto* p = static_cast<char*>(data);
    while (done < length) {
      const ssize_t n = ::pread(fd_, p + done, length - done, static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        return CodeFromErrno(errno, true);
      }
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    return kNoError;
  }

  int WriteAt(std::uint64_t offset, const void* data, std::size_t length) override {
    if (fd_ < 0) return kFileNotOpen;
    const auto* p = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < length) {
      const ssize_t n = ::pwrite(fd_, p + done, length - done, static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        return CodeFromErrno(errno, true);
      }
      done += static_cast<std::size_t>(n);
    }
    return kNoError;
  }

  int Truncate(std::uint64_t size) override {
    if (fd_ < 0) return kFileNotOpen;
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return CodeFromErrno(errno, true);
    return kNoError;
  }

  int Sync() override {
    if (fd_ < 0) return kFileNotOpen;
    if (::fsync(fd_) != 0) return CodeFromErrno(errno, true);
    return kNoError;
  }

  void StartWriteBack(std::uint64_t offset, std::uint64_t length) override {
#ifdef SYNC_FILE_RANGE_WRITE
    if (fd_ >= 0)
      ::sync_file_range(fd_, static_cast<off64_t>(offset), static_cast<off64_t>(length), SYNC_FILE_RANGE_WRITE);
#else
    (void)offset;
    (void)length;
#endif
  }

  int Close() override {
    if (fd_ < 0) return kFileNotOpen;
    const int rc = ::close(fd_);
    fd_ = -1;
    // The descriptor is gone even when close reports an error.
    return rc == 0 || errno == EINTR ? kNoError : CodeFromErrno(errno, true);
  }

 private:
  int fd_;
};

class PosixLock : public LockHandle {
 public:
  explicit PosixLock(int fd) : fd_(fd) {}
  // Closing the only descriptor of the open file description releases the
  // lock.
  ~PosixLock() override { ::close(fd_); }

 private:
  int fd_;
};

int CopyBytes(int in, int out) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return CodeFromErrno(errno, true);
    }
    if (n == 0) return kNoError;
    ssize_t written = 0;
    while (written < n) {
      const ssize_t w = ::write(out, buffer.data() + written, static_cast<std::size_t>(n - written));
      if (w < 0) {
        if (errno == EINTR) continue;
        return CodeFromErrno(errno, true);
      }
      written += w;
    }
  }
}

class PosixFileSystem : public FileSystem {
 public:
  int OpenExisting(const std::string& path, OpenMode mode, std::unique_ptr<FileHandle>& out) override {
    const int flags = (mode == OpenMode::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) return errno == EISDIR ? kAccessDenied : CodeFor(errno, path);
    // A folder is not a file: opening one fails as it does for writing.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      return kAccessDenied;
    }
    out = std::make_unique<PosixFile>(fd);
    return kNoError;
  }

  int CreateEmpty(const std::string& path, std::unique_ptr<FileHandle>& out) override {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EISDIR ? kAccessDenied : CodeFor(errno, path);
    out = std::make_unique<PosixFile>(fd);
    return kNoError;
  }

  int Size(const std::string& path, std::uint64_t& size) override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return CodeFor(errno, path);
    size = static_cast<std::uint64_t>(st.st_size);
    return kNoError;
  }

  int RenameOver(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return RenameCode(errno, from, to);
    return kNoError;
  }

  int RenameNoReplace(const std::string& from, const std::string& to) override {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return kNoError;
    const int err = errno;
    if (err != EINVAL && err != ENOSYS) return RenameCode(err, from, to);
    // The file system cannot rename without replacing: a hard link fails
    // on an existing target in one step.
    if (::link(from.c_str(), to.c_str()) == 0) {
      ::unlink(from.c_str());
      return kNoError;
    }
    if (errno != EPERM && errno != ENOSYS) return RenameCode(errno, from, to);
    if (ExistsPath(to)) return kErrnoBase + EEXIST;
    return RenameOver(from, to);
  }

  int Copy(const std::string& from, const std::string& to, CopyMode mode) override {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return CodeFor(errno, from);
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == CopyMode::FailIfExists ? O_EXCL : O_TRUNC);
    const int out = ::open(to.c_str(), flags, 0666);
    if (out < 0) {
      const int code = CodeFor(errno, to);
      ::close(in);
      return code;
    }
    int code = CopyBytes(in, out);
    ::close(in);
    if (::close(out) != 0 && code == kNoError) code = CodeFromErrno(errno, true);
    // A target this call created is not left behind half written.
    if (code != kNoError && mode == CopyMode::FailIfExists) ::unlink(to.c_str());
    return code;
  }

  int Delete(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return CodeFor(errno, path);
    return kNoError;
  }

  bool Exists(const std::string& path) override { return ExistsPath(path); }

  bool IsFolder(const std::string& path) override { return IsFolderPath(path); }

  int MakeFolders(const std::string& path) override {
    if (path.empty()) return kNoError;
    std::size_t pos = 0;
    for (;;) {
      pos = path.find('/', pos + 1);
      const std::string part = path.substr(0, pos);
      if (!part.empty() && part != "/") {
        if (::mkdir(part.c_str(), 0777) != 0) {
          const int err = errno;
          if (err != EEXIST) return CodeFor(err, part);
          if (!IsFolderPath(part)) return kPathNotFound;
        }
      }
      if (pos == std::string::npos || pos + 1 >= path.size()) break;
    }
    return kNoError;
  }

  int LockExclusive(const std::string& path, std::unique_ptr<LockHandle>& out) override {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // A folder in the lock file's place is no lock file: access denied.
    if (fd < 0) return errno == EISDIR ? kAccessDenied : CodeFor(errno, path);
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    fl.l_pid = 0;
    if (::fcntl(fd, F_OFD_SETLK, &fl) != 0) {
      const int err = errno;
      ::close(fd);
      if (err == EAGAIN || err == EACCES) return kSharingViolation;
      return CodeFromErrno(err, true);
    }
    out = std::make_unique<PosixLock>(fd);
    return kNoError;
  }

  std::string ResolvedFolder(const std::string& path) override {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return path;
    std::string out(real);
    std::free(real);
    if (out.empty() || out.back() != '/') out += '/';
    return out;
  }

  int SyncFolderOf(const std::string& path) override {
    const std::string::size_type slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return CodeFor(errno, folder);
    const int rc = ::fsync(fd);
    const int code = rc != 0 ? CodeFromErrno(errno, true) : kNoError;
    ::close(fd);
    return code;
  }

  int AccessMode(const std::string& path, std::uint32_t& mode) override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return CodeFor(errno, path);
    mode = static_cast<std::uint32_t>(st.st_mode & 07777);
    return kNoError;
  }

  int CreateEmptyWithMode(const std::string& path, std::uint32_t mode, std::unique_ptr<FileHandle>& out) override {
    // Created with no rights for others at all, then given the mode exactly
    // (the umask would otherwise change it; an existing file keeps its old
    // mode through O_CREAT).
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EISDIR ? kAccessDenied : CodeFor(errno, path);
    if (::fchmod(fd, static_cast<mode_t>(mode & 07777)) != 0) {
      const int code = CodeFromErrno(errno, true);
      ::close(fd);
      return code;
    }
    out = std::make_unique<PosixFile>(fd);
    return kNoError;
  }

 private:
  static int RenameCode(int err, const std::string& from, const std::string& to) {
    if (err == ENOENT && !ExistsPath(from)) return CodeFor(err, from);
    return CodeFor(err, to);
  }
};

FileSystem* g_installed = nullptr;

}  // namespace

FileSystem& RealFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

FileSystem& Fs() { return g_installed != nullptr ? *g_installed : RealFileSystem(); }

FileSystem* SetFileSystem(FileSystem* fs) {
  FileSystem* previous = g_installed;
  g_installed = (fs == &RealFileSystem()) ? nullptr : fs;
  return previous;
}

}  // namespace platform
