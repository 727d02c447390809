// What the benchmarks share (see support.h).
#include "support.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <random>

#include "records/adminsettingsrec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "store/fileset.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

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
  if (::ftruncate(fd, static_cast<off_t>(n)) != 0) std::abort();
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
  store::ResetFileSetState("");
  std::filesystem::remove_all(dir);
}

void DataFolder::Use() const {
  store::ResetFileSetState(dir + "/");
  text::SystemSettings.CurrentUser = "BENCH";
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
  if (ratios.empty()) return 0;
  const std::size_t n = ratios.size();
  // An even count has two middle values: the median is their mean.
  return n % 2 == 1 ? ratios[n / 2] : (ratios[n / 2 - 1] + ratios[n / 2]) / 2;
}

namespace {

// A handle whose syncs the timer measures.
class TimedHandle : public platform::FileHandle {
 public:
  TimedHandle(SyncTimer& timer, std::unique_ptr<platform::FileHandle> h) : timer_(timer), h_(std::move(h)) {}
  int Size(std::uint64_t& size) override { return h_->Size(size); }
  int ReadAt(std::uint64_t o, void* d, std::size_t n, std::size_t& done) override { return h_->ReadAt(o, d, n, done); }
  int WriteAt(std::uint64_t o, const void* d, std::size_t n) override { return h_->WriteAt(o, d, n); }
  int Truncate(std::uint64_t size) override { return h_->Truncate(size); }
  int Sync() override {
    const auto a = Clock::now();
    const int code = h_->Sync();
    timer_.Add(Seconds(a, Clock::now()));
    return code;
  }
  void StartWriteBack(std::uint64_t offset, std::uint64_t length) override { h_->StartWriteBack(offset, length); }
  int Close() override { return h_->Close(); }

 private:
  SyncTimer& timer_;
  std::unique_ptr<platform::FileHandle> h_;
};

}  // namespace

SyncTimer::SyncTimer() : inner_(&platform::Fs()), previous_(platform::SetFileSystem(this)) {}

SyncTimer::~SyncTimer() { platform::SetFileSystem(previous_); }

int SyncTimer::Wrap(int code, std::unique_ptr<platform::FileHandle>& out) {
  if (code == 0 && out) out = std::make_unique<TimedHandle>(*this, std::move(out));
  return code;
}

int SyncTimer::OpenExisting(const std::string& path, platform::OpenMode mode,
                            std::unique_ptr<platform::FileHandle>& out) {
  return Wrap(inner_->OpenExisting(path, mode, out), out);
}

int SyncTimer::CreateEmpty(const std::string& path, std::unique_ptr<platform::FileHandle>& out) {
  return Wrap(inner_->CreateEmpty(path, out), out);
}

int SyncTimer::CreateEmptyWithMode(const std::string& path, std::uint32_t mode,
                                   std::unique_ptr<platform::FileHandle>& out) {
  return Wrap(inner_->CreateEmptyWithMode(path, mode, out), out);
}

int SyncTimer::SyncFolderOf(const std::string& path) {
  const auto a = Clock::now();
  const int code = inner_->SyncFolderOf(path);
  Add(bench::Seconds(a, Clock::now()));
  return code;
}

std::string BookAccountNumber(int i) { return std::to_string(1000 + i * 10); }

void GenerateBook(const std::string& dir, int vouchers) {
  const int kVouchers = vouchers;
  constexpr int kAccounts = kBookAccounts;
  constexpr std::size_t kLine = records::JournalVoucherRec::kSize;
  const auto Number = BookAccountNumber;
  std::vector<records::LedgerCategoryRec> categories(4);
  const char* names[] = {"Assets", "Liabilities", "Revenue", "Expenses"};
  for (int c = 0; c < 4; ++c) {
    categories[static_cast<std::size_t>(c)].SetCategoryKind(c < 2 ? records::kBalanceSheetKind
                                                                  : records::kProfitAndLossKind);
    categories[static_cast<std::size_t>(c)].SetCategoryName(names[c]);
  }
  std::vector<records::LedgerAccountRec> accounts(kAccounts);
  for (int i = 0; i < kAccounts; ++i) {
    records::LedgerAccountRec& a = accounts[static_cast<std::size_t>(i)];
    a.SetAccountNumber(Number(i));
    a.SetCaption("Account " + Number(i));
    const int c = i * 4 / kAccounts;
    a.SetCategoryName(names[c]);
    a.SetAccountType(i == 0 ? "P" : i == kAccounts - 1 ? "T" : (c == 0 || c == 3) ? "D" : "C");
    a.SetStartDate("20240101");
    a.SetEndDate("20501231");
  }
  records::AdminSettingsRec s;
  s.SetBookYearStart("20240101");
  s.SetBookYearEnd("20241231");
  // One period, the whole year: every line of the book counts.
  s.SetPeriodCount(1);
  s.SetPeriodStart(1, "20240101");
  for (int k = 2; k <= 15; ++k) s.SetPeriodStart(k, "20250101");
  s.SetCurrentAnnualBalance("2024");
  s.SetCurrentPeriod("01/01");
  s.SetProfitAccountNumber(Number(0));
  WriteSynced(dir + "/ledgerct.vlk", reinterpret_cast<const char*>(categories.data()),
              categories.size() * records::LedgerCategoryRec::kSize);
  WriteSynced(dir + "/ledger.vlk", reinterpret_cast<const char*>(accounts.data()),
              accounts.size() * records::LedgerAccountRec::kSize);
  WriteSynced(dir + "/adminset.vlk", reinterpret_cast<const char*>(&s), records::AdminSettingsRec::kSize);
  WriteSynced(dir + "/freeze.vlk", "", 0);

  const int fd = ::open((dir + "/book.vlk").c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  std::mt19937 random(11);
  std::vector<records::JournalVoucherRec> block;
  off_t at = 0;
  for (int v = 0; v < kVouchers; ++v) {
    const int lines = 2 + static_cast<int>(random() % 3);
    const int day = v * 365 / kVouchers;
    const std::string date = text::DateToYmd(text::YmdToDate("20240101") + day);
    const double amount = 1 + static_cast<double>(random() % 100000) / 100;
    for (int l = 0; l < lines; ++l) {
      records::JournalVoucherRec r;
      r.SetVoucherDate(date);
      r.SetBookNumber("V" + std::to_string(v));
      r.SetJournalName("Memorial");
      r.SetLineText("Generated line");
      r.SetAccountNumber((Number(static_cast<int>(random() % kAccounts)) + std::string(15, ' ')).substr(0, 15));
      // The first line takes the whole amount on one side, the others
      // share it on the other side.
      const double part = l == 0 ? amount : amount / (lines - 1);
      if ((l == 0) == (v % 2 == 0)) {
        r.SetDebitAmount(part);
      } else {
        r.SetCreditAmount(part);
      }
      block.push_back(r);
    }
    if (block.size() >= 4096 || v + 1 == kVouchers) {
      WriteAll(fd, reinterpret_cast<const char*>(block.data()), block.size() * kLine, at);
      at += static_cast<off_t>(block.size() * kLine);
      block.clear();
    }
  }
  if (::fsync(fd) != 0) std::abort();
  ::close(fd);
}

const char* Verdict(bool within) { return within ? "within" : "OVER THE LIMIT"; }

}  // namespace bench
