#include "books/closing/closingintent.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/filecopy.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "text/builtintext.h"
#include "store/fileset.h"

namespace books::closing {

namespace {

using store::FileCode;

constexpr char kMagic[8] = {'O', 'M', 'B', 'C', 'L', 'S', '0', '1'};
constexpr std::size_t kHeader = 8 + 8 + 8;  // magic, payload length, checksum

std::string replayNote;

std::uint64_t Checksum(std::string_view bytes) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutU64(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
template <class R>
void PutRec(std::string& out, const R& rec) {
  out.append(reinterpret_cast<const char*>(rec.data()), R::kSize);
}

// Reads from a payload; any read past its end makes it invalid.
struct Reader {
  std::string_view in;
  std::size_t at = 0;
  bool ok = true;
  std::uint64_t Get(int bytes) {
    if (!ok || in.size() - at < static_cast<std::size_t>(bytes)) {
      ok = false;
      return 0;
    }
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint64_t(static_cast<unsigned char>(in[at + i])) << (8 * i);
    at += bytes;
    return v;
  }
  template <class R>
  R Rec() {
    R rec;
    if (!ok || in.size() - at < R::kSize) {
      ok = false;
      return rec;
    }
    std::memcpy(rec.data(), in.data() + at, R::kSize);
    at += R::kSize;
    return rec;
  }
};

[[noreturn]] void Fail(int code, const std::string& what, const std::string& path) {
  throw platform::IoError(code, "IO error " + std::to_string(code) + " " + what + " \"" + cp1252::FromUtf8(path) +
                                    "\": " + platform::OsErrorText(code));
}

void Check(int code, const char* what, const std::string& path) {
  if (code != platform::kNoError) Fail(code, what, path);
}

std::optional<std::string> ReadWhole(const std::string& path) {
  std::unique_ptr<platform::FileHandle> h;
  if (platform::Fs().OpenExisting(path, platform::OpenMode::Read, h) != platform::kNoError) return std::nullopt;
  std::uint64_t size = 0;
  Check(h->Size(size), "reading", path);
  std::string bytes(size, '\0');
  std::size_t done = 0;
  Check(h->ReadAt(0, bytes.data(), bytes.size(), done), "reading", path);
  bytes.resize(done);
  h->Close();
  return bytes;
}

// Whether the records at `index` of `c` are `recs`.
template <class R>
bool HoldsAt(FileCode c, int index, const std::vector<R>& recs) {
  if (index < 0 || index + static_cast<int>(recs.size()) > store::RecordCount(c)) return false;
  for (std::size_t i = 0; i < recs.size(); ++i) {
    R rec;
    store::ReadRecord(c, index + static_cast<int>(i), rec);
    if (std::memcmp(rec.data(), recs[i].data(), R::kSize) != 0) return false;
  }
  return true;
}

std::string StoppedAt(FileCode c, const std::string& should) {
  return MsgIntentStoppedAt(store::FileInfo(c).fileName, should);
}

std::string Records(int n) { return std::to_string(n) + (n == 1 ? " record" : " records"); }

// How far the steps on one file got: every step done, some still to do
// (from `next` on), or a state no step passes through.
struct Progress {
  bool known = true;
  std::size_t next = 0;  // the first step still to do
};

Progress FreezeFileProgress(const FreezeFileStep& s) {
  const int count = store::RecordCount(FileCode::FRZ);
  const std::vector<records::FreezeRec> one{s.rec};
  if (s.op == FreezeFileStep::Op::Append) {
    if (count == s.countBefore + 1 && HoldsAt(FileCode::FRZ, s.countBefore, one)) return {true, 1};
    return {count == s.countBefore, 0};
  }
  if (count == s.countBefore - 1) return {true, 1};
  return {count == s.countBefore && HoldsAt(FileCode::FRZ, s.countBefore - 1, one), 0};
}

int CountAfter(const VoucherFileStep& s) {
  const int n = static_cast<int>(s.recs.size());
  return s.op == VoucherFileStep::Op::Insert ? s.countBefore + n : s.countBefore - n;
}

Progress VoucherFileProgress(const std::vector<VoucherFileStep>& steps) {
  if (steps.empty()) return {true, 0};
  const int count = store::RecordCount(FileCode::JVO);
  // The count tells how many steps are done: each changes it, all in one
  // direction.
  for (std::size_t k = 0; k <= steps.size(); ++k) {
    const int expected = k == 0 ? steps[0].countBefore : CountAfter(steps[k - 1]);
    if (count != expected) continue;
    if (k > 0) {
      const VoucherFileStep& last = steps[k - 1];
      if (last.op == VoucherFileStep::Op::Insert && !HoldsAt(FileCode::JVO, last.index, last.recs)) return {false, 0};
    }
    if (k < steps.size()) {
      const VoucherFileStep& next = steps[k];
      if (next.op == VoucherFileStep::Op::Delete && !HoldsAt(FileCode::JVO, next.index, next.recs)) return {false, 0};
    }
    return {true, k};
  }
  return {false, 0};
}

Progress SettingsFileProgress(const ClosingIntent& intent) {
  if (store::RecordCount(FileCode::ADS) != 1) return {false, 0};
  if (HoldsAt(FileCode::ADS, 0, std::vector<records::AdminSettingsRec>{intent.settingsAfter})) return {true, 1};
  return {HoldsAt(FileCode::ADS, 0, std::vector<records::AdminSettingsRec>{intent.settingsBefore}), 0};
}

}  // namespace

std::string MsgIntentFinished() {
  return text::BuiltInText(text::BuiltIn::IntentFinished);
}

std::string MsgIntentStopped() {
  return text::BuiltInText(text::BuiltIn::IntentStopped);
}

std::string MsgIntentStoppedAt(const std::string& fileName, const std::string& should) {
  return text::BuiltInText(text::BuiltIn::IntentStoppedAt, {fileName, should});
}

std::string EncodeIntent(const ClosingIntent& intent) {
  std::string p;
  p.push_back(intent.freeze.op == FreezeFileStep::Op::Append ? 1 : 2);
  PutU32(p, static_cast<std::uint32_t>(intent.freeze.countBefore));
  PutRec(p, intent.freeze.rec);
  PutU32(p, static_cast<std::uint32_t>(intent.vouchers.size()));
  for (const VoucherFileStep& s : intent.vouchers) {
    p.push_back(s.op == VoucherFileStep::Op::Insert ? 1 : 2);
    PutU32(p, static_cast<std::uint32_t>(s.index));
    PutU32(p, static_cast<std::uint32_t>(s.countBefore));
    PutU32(p, static_cast<std::uint32_t>(s.recs.size()));
    for (const auto& r : s.recs) PutRec(p, r);
  }
  PutRec(p, intent.settingsBefore);
  PutRec(p, intent.settingsAfter);
  std::string out(kMagic, sizeof kMagic);
  PutU64(out, p.size());
  PutU64(out, Checksum(p));
  return out + p;
}

std::optional<ClosingIntent> DecodeIntent(std::string_view bytes) {
  if (bytes.size() < kHeader || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
  Reader head{bytes.substr(8, 16)};
  const std::uint64_t length = head.Get(8), sum = head.Get(8);
  if (bytes.size() - kHeader != length) return std::nullopt;
  const std::string_view payload = bytes.substr(kHeader);
  if (Checksum(payload) != sum) return std::nullopt;
  Reader r{payload};
  ClosingIntent intent;
  const auto freezeOp = r.Get(1);
  if (freezeOp != 1 && freezeOp != 2) return std::nullopt;
  intent.freeze.op = freezeOp == 1 ? FreezeFileStep::Op::Append : FreezeFileStep::Op::Cut;
  intent.freeze.countBefore = static_cast<int>(r.Get(4));
  intent.freeze.rec = r.Rec<records::FreezeRec>();
  const auto steps = r.Get(4);
  for (std::uint64_t k = 0; r.ok && k < steps; ++k) {
    VoucherFileStep s;
    const auto op = r.Get(1);
    if (op != 1 && op != 2) return std::nullopt;
    s.op = op == 1 ? VoucherFileStep::Op::Insert : VoucherFileStep::Op::Delete;
    s.index = static_cast<int>(r.Get(4));
    s.countBefore = static_cast<int>(r.Get(4));
    const auto n = r.Get(4);
    for (std::uint64_t i = 0; r.ok && i < n; ++i) s.recs.push_back(r.Rec<records::JournalVoucherRec>());
    intent.vouchers.push_back(std::move(s));
  }
  intent.settingsBefore = r.Rec<records::AdminSettingsRec>();
  intent.settingsAfter = r.Rec<records::AdminSettingsRec>();
  if (!r.ok || r.at != payload.size()) return std::nullopt;
  return intent;
}

std::string IntentPath() { return cp1252::ToUtf8(store::CurrentDataFolder()) + kIntentFileName; }

void WriteIntent(const ClosingIntent& intent) {
  const std::string path = IntentPath();
  const std::string tmp = path + ".ombrelo-tmp";
  const std::string bytes = EncodeIntent(intent);
  platform::FileSystem& fs = platform::Fs();
  // The record holds the settings, snapshots and vouchers: it gets the
  // access mode of the folder's data files.
  const std::string like = cp1252::ToUtf8(store::CurrentDataFolder()) + store::FileInfo(FileCode::ADS).fileName;
  platform::CreatedFile created = platform::CreateEmptyLike(tmp, like);
  Check(created.code, "creating", tmp);
  std::unique_ptr<platform::FileHandle> h = std::move(created.handle);
  try {
    Check(h->WriteAt(0, bytes.data(), bytes.size()), "writing", tmp);
    Check(h->Sync(), "syncing", tmp);
    Check(h->Close(), "closing", tmp);
    h.reset();
    Check(fs.RenameOver(tmp, path), "renaming", tmp);
  } catch (...) {
    h.reset();
    fs.Delete(tmp);
    throw;
  }
  Check(fs.SyncFolderOf(path), "syncing the folder of", path);
}

void DeleteIntent() {
  const std::string path = IntentPath();
  Check(platform::Fs().Delete(path), "deleting", path);
  Check(platform::Fs().SyncFolderOf(path), "syncing the folder of", path);
}

std::string ApplyIntentSteps(const ClosingIntent& intent) {
  // Every file is looked at before anything changes: a state no step passes
  // through stops the whole replay.
  const Progress freeze = FreezeFileProgress(intent.freeze);
  if (!freeze.known) {
    const int n = intent.freeze.countBefore;
    const std::string label = intent.freeze.rec.PeriodLabel();
    return StoppedAt(FileCode::FRZ, intent.freeze.op == FreezeFileStep::Op::Append
                                        ? Records(n) + ", or " + Records(n + 1) + " with the period " + label + " last"
                                        : Records(n) + " with the period " + label + " last, or " + Records(n - 1));
  }
  const Progress vouchers = VoucherFileProgress(intent.vouchers);
  if (!vouchers.known)
    return StoppedAt(FileCode::JVO, Records(intent.vouchers.front().countBefore) +
                                        " as before the closing's vouchers, or " +
                                        Records(CountAfter(intent.vouchers.back())) + " as after them");
  const Progress settings = SettingsFileProgress(intent);
  if (!settings.known) return StoppedAt(FileCode::ADS, "1 record: the settings as before the closing or as after it");

  if (freeze.next == 0) {
    if (intent.freeze.op == FreezeFileStep::Op::Append)
      store::AppendRecord(FileCode::FRZ, intent.freeze.rec);
    else
      store::TruncateRecords(FileCode::FRZ, intent.freeze.countBefore - 1);
  }
  for (std::size_t k = vouchers.next; k < intent.vouchers.size(); ++k) {
    const VoucherFileStep& s = intent.vouchers[k];
    if (s.op == VoucherFileStep::Op::Insert)
      store::InsertRecords(FileCode::JVO, s.index, s.recs);
    else
      store::DeleteRecords(FileCode::JVO, s.index, static_cast<int>(s.recs.size()));
  }
  if (settings.next == 0)
    store::RewriteFile(FileCode::ADS, std::vector<records::AdminSettingsRec>{intent.settingsAfter});
  return {};
}

IntentReplay FinishClosingIntent() {
  IntentReplay out;
  const std::string path = IntentPath();
  platform::FileSystem& fs = platform::Fs();
  // A temporary record never renamed into place: no step began.
  if (fs.Exists(path + ".ombrelo-tmp")) fs.Delete(path + ".ombrelo-tmp");
  if (!fs.Exists(path)) return out;
  const std::optional<std::string> bytes = ReadWhole(path);
  const std::optional<ClosingIntent> intent = bytes ? DecodeIntent(*bytes) : std::nullopt;
  if (!intent) {
    DeleteIntent();
    out.outcome = IntentReplay::Outcome::Discarded;
    return out;
  }
  int result = 0;
  store::OpenFileSet("FRZ;ADS;JVO;", result);
  if (result != 0) {
    out.outcome = IntentReplay::Outcome::Stopped;
    out.message = MsgIntentStopped() + "  " + store::FileErrorText;
    return out;
  }
  std::string stopped;
  try {
    stopped = ApplyIntentSteps(*intent);
  } catch (...) {
    store::CloseFileSet();
    throw;
  }
  store::CloseFileSet();
  if (!stopped.empty()) {
    out.outcome = IntentReplay::Outcome::Stopped;
    out.message = stopped;
    return out;
  }
  DeleteIntent();
  out.outcome = IntentReplay::Outcome::Finished;
  out.message = MsgIntentFinished();
  return out;
}

std::string TakeReplayNote() { return std::exchange(replayNote, std::string()); }

void InstallClosingIntentHook() {
  store::SetOpenHook([] {
    const IntentReplay r = FinishClosingIntent();
    if (!r.message.empty()) replayNote = r.message;
    // Until it can be finished, its files do not move further away from it.
    if (r.outcome == IntentReplay::Outcome::Stopped) store::BlockClosingFiles(r.message);
  });
}

}  // namespace books::closing
