#include "platform/filecopy.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/oserror.h"

namespace platform {

CreatedFile CreateEmptyLike(const std::string& path, const std::string& like) {
  FileSystem& fs = Fs();
  CreatedFile out;
  std::uint32_t mode = 0;
  if (fs.AccessMode(like, mode) == kNoError)
    out.code = fs.CreateEmptyWithMode(path, mode, out.handle);
  else
    out.code = fs.CreateEmpty(path, out.handle);
  return out;
}

namespace {

// The bytes of `in` into `out`, in blocks.
int CopyBytes(FileHandle& in, FileHandle& out) {
  std::uint64_t size = 0;
  if (const int code = in.Size(size); code != kNoError) return code;
  std::vector<char> block(static_cast<std::size_t>(std::min<std::uint64_t>(size, 1u << 20)));
  for (std::uint64_t at = 0; at < size;) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - at));
    std::size_t done = 0;
    if (const int code = in.ReadAt(at, block.data(), want, done); code != kNoError) return code;
    if (done == 0) break;  // the file got shorter meanwhile
    if (const int code = out.WriteAt(at, block.data(), done); code != kNoError) return code;
    at += done;
  }
  return kNoError;
}

}  // namespace

int CopyKeepingMode(const std::string& from, const std::string& to) {
  FileSystem& fs = Fs();
  std::unique_ptr<FileHandle> in;
  if (const int code = fs.OpenExisting(from, OpenMode::Read, in); code != kNoError) return code;
  std::uint32_t mode = 0;
  if (const int code = fs.AccessMode(from, mode); code != kNoError) return code;
  const std::string temp = to + ".ombrelo-tmp";
  std::unique_ptr<FileHandle> out;
  if (const int code = fs.CreateEmptyWithMode(temp, mode, out); code != kNoError) return code;
  int code = CopyBytes(*in, *out);
  if (code == kNoError) code = out->Sync();
  if (code == kNoError) code = out->Close();
  out.reset();
  in.reset();
  if (code == kNoError) code = fs.RenameOver(temp, to);
  if (code != kNoError) {
    fs.Delete(temp);
    return code;
  }
  return fs.SyncFolderOf(to);
}

}  // namespace platform
