// What the benchmarks share (see support.h).
#include "support.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "shell/fileset.h"
#include "shell/systemsettings.h"

namespace bench {

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void ReadAll(int fd, char* p, std::size_t n, off_t at) {
  while (n > 0) {
    const ssize_t r = ::pread(fd, p, n, at);
    if (r <= 0) std::abort();
    p += r, n -= static_cast<std::size_t>(r), at += r;
  }
}

void WriteAll(int fd, const char* p, std::size_t n, off_t at) {
  while (n > 0) {
    const ssize_t w = ::pwrite(fd, p, n, at);
    if (w <= 0) std::abort();
    p += w, n -= static_cast<std::size_t>(w), at += w;
  }
}

void WriteSynced(const std::string& path, const char* data, std::size_t n) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  WriteAll(fd, data, n, 0);
  if (::fsync(fd) != 0) std::abort();
  ::close(fd);
}

std::string MakeTempFolder(const char* tag) {
  std::string tmpl = std::string("/tmp/ombrelo-") + tag + "-XXXXXX";
  if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
  return tmpl;
}

DataFolder::DataFolder(const char* tag) : dir(MakeTempFolder(tag)) {}

DataFolder::~DataFolder() {
  shell::ResetFileSetState("");
  std::filesystem::remove_all(dir);
}

void DataFolder::Use() const {
  shell::ResetFileSetState(dir + "/");
  shell::SystemSettings.CurrentUser = "BENCH";
}

SequentialRead::SequentialRead(int fd, std::size_t bytes) : fd_(fd), bytes_(bytes), block_(1u << 20) {}

void SequentialRead::operator()() {
  for (std::size_t at = 0; at < bytes_;) {
    const std::size_t len = std::min(block_.size(), bytes_ - at);
    ReadAll(fd_, block_.data(), len, static_cast<off_t>(at));
    at += len;
  }
}

TailCopy CopyTail(int fd, int side, std::vector<char>& buffer, std::size_t bytes, std::size_t shift) {
  const auto b0 = Clock::now();
  ReadAll(fd, buffer.data(), bytes, 0);
  WriteAll(fd, buffer.data(), bytes, static_cast<off_t>(shift));
  const auto b1 = Clock::now();
  if (::fsync(fd) != 0) std::abort();
  const auto b2 = Clock::now();
  WriteAll(side, buffer.data(), bytes, 0);
  const auto s0 = Clock::now();
  if (::fsync(side) != 0) std::abort();
  const auto s1 = Clock::now();
  if (::ftruncate(side, 0) != 0) std::abort();
  return {Seconds(b0, b1), Seconds(b1, b2) + Seconds(s0, s1)};
}

void MoveTailBack(int fd, std::vector<char>& buffer, std::size_t bytes, std::size_t shift) {
  ReadAll(fd, buffer.data(), bytes, static_cast<off_t>(shift));
  WriteAll(fd, buffer.data(), bytes, 0);
  if (::ftruncate(fd, static_cast<off_t>(bytes)) != 0) std::abort();
}

double Median(std::vector<double>& ratios) {
  std::sort(ratios.begin(), ratios.end());
  return ratios.empty() ? 0 : ratios[ratios.size() / 2];
}

const char* Verdict(bool within) { return within ? "within" : "OVER THE LIMIT"; }

}  // namespace bench
