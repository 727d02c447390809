// The trial balance of a large book, against one plain sequential pass over
// the voucher file that adds each line into its account, in the same run.
//
// The generated book holds 200,000 vouchers of 2 to 4 lines (about 600,000
// lines, 235 MB) over 60 accounts in one year; the trial balance must stay
// within 3 times the plain pass, and the preview of the computed grid within
// a quarter of the computation (it reads no voucher). The ledger cards of all accounts index the
// period's lines in one pass over the vouchers (not one pass per account)
// and are reported. `--book DIR` times an existing administration folder
// instead: a folder holding only book.vlk, ledger.vlk and ledgerct.vlk gets
// the default settings (so the book year is the default one), and the
// folder itself is never written.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "services/balance.h"
#include "reports/paging.h"
#include "reports/reportrun.h"
#include "shell/adminsettingsload.h"
#include "shell/fileset.h"
#include "shell/scopedfileset.h"
#include "shell/textroutines.h"
#include "support.h"

namespace {

using namespace bench;

std::string g_book;  // --book DIR

constexpr int kVouchers = 200000;
constexpr int kAccounts = 60;
constexpr std::size_t kLine = records::JournalVoucherRec::kSize;

std::string Number(int i) { return std::to_string(1000 + i * 10); }

// Writes the generated book into `dir`.
void GenerateBook(const std::string& dir) {
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
    const std::string date = shell::DateToYmd(shell::YmdToDate("20240101") + day);
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

// The folder the benchmark reads: the generated book, or links to the
// files of --book (so that its default settings are written only here).
struct BookFolder : DataFolder {
  BookFolder() : DataFolder("tbbench") {
    if (g_book.empty()) {
      GenerateBook(dir);
    } else {
      for (const char* name : {"book.vlk", "ledger.vlk", "ledgerct.vlk", "freeze.vlk", "adminset.vlk"}) {
        const std::filesystem::path from = std::filesystem::absolute(g_book) / name;
        if (std::filesystem::exists(from)) std::filesystem::create_symlink(from, std::filesystem::path(dir) / name);
      }
    }
    Use();
    masterdata::LoadAdminSettings();
  }
};

// One plain pass: the voucher file read sequentially in blocks of 1 MiB,
// each line's debit less credit added into its account.
double PlainPass(const std::string& path, std::unordered_map<std::string, double>& sums) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  const off_t size = ::lseek(fd, 0, SEEK_END);
  const std::size_t lines = static_cast<std::size_t>(size) / kLine;
  std::vector<char> block(kLine * 2700);
  const Clock::time_point a = Clock::now();
  sums.clear();
  records::JournalVoucherRec r;
  for (std::size_t first = 0; first < lines;) {
    const std::size_t n = std::min(lines - first, block.size() / kLine);
    ReadAll(fd, block.data(), n * kLine, static_cast<off_t>(first * kLine));
    for (std::size_t i = 0; i < n; ++i) {
      std::memcpy(&r, block.data() + i * kLine, kLine);
      sums[r.AccountNumber()] += r.DebitAmount() - r.CreditAmount();
    }
    first += n;
  }
  const double t = Seconds(a, Clock::now());
  ::close(fd);
  return t;
}

// The trial balance of the folder's current period; where the settings
// name none (the defaults' "00/00"), of the first period of the book year.
reports::BalanceRequest TrialBalanceRequest() {
  reports::BalanceRequest rq;
  rq.kind = '1';
  rq.settings = masterdata::AdminSettings;
  rq.periodText = rq.settings.CurrentAnnualBalance() + "-" + rq.settings.CurrentPeriod();
  if (!reports::ComputeReportPeriod(rq.periodText, rq.settings, {}).period) {
    const int n = std::clamp<int>(rq.settings.PeriodCount(), 1, 15);
    rq.periodText = rq.settings.BookYearStart().substr(0, 4) + "-01/" + (n < 10 ? "0" : "") + std::to_string(n);
  }
  return rq;
}

void BM_TrialBalanceAgainstOnePlainPass(benchmark::State& state) {
  BookFolder folder;
  const reports::BalanceRequest rq = TrialBalanceRequest();
  std::printf("TrialBalance: period %s of %s\n", rq.periodText.c_str(), folder.dir.c_str());
  std::unordered_map<std::string, double> sums;
  PlainPass(folder.dir + "/book.vlk", sums);  // the page cache
  std::vector<double> ratios;
  double plain = 0, ours = 0, closing = 0;
  std::size_t rows = 0;
  for (auto _ : state) {
    plain = PlainPass(folder.dir + "/book.vlk", sums);
    const Clock::time_point a = Clock::now();
    const reports::BalanceGridRun run = reports::ComputeBalanceGrid(rq);
    ours = Seconds(a, Clock::now());
    if (run.openFailure || !run.result.error.empty()) {
      state.SkipWithError("the trial balance was refused");
      return;
    }
    benchmark::DoNotOptimize(run.result.gridRowCount);
    rows = run.result.table.size();
    closing = run.result.sums.BsDebit.CloseOwn + run.result.sums.PlDebit.CloseOwn;
    ratios.push_back(ours / plain);
    state.SetIterationTime(ours);
  }
  const double median = Median(ratios);
  state.counters["plain_s"] = plain;
  state.counters["trial_balance_s"] = ours;
  state.counters["ratio"] = median;
  std::printf("TrialBalance: %zu accounts, debit sides %.2f; %.3f s, plain pass %.3f s, ratio %.2f (limit 3): %s\n",
              rows, closing, ours, plain, median, Verdict(median <= 3));
}
BENCHMARK(BM_TrialBalanceAgainstOnePlainPass)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// A template of the trial balance's sections, enough to lay out every row.
constexpr const char kTrialBalanceTemplate[] =
    "{\\rtf1\\ansi\\ansicpg1252\\fs16\n<Header>\n\\pard <Company>\\par\n<Subheader1>\n\\pard <curperd>\\par\n"
    "<Detail1>\n\\pard <glname>\\tab <cptbald>\\tab <cptbalc>\\tab <cpprod>\\tab <cpproc>\\tab <cpbald>\\tab "
    "<cpbalc>\\par\n<Total1>\n\\pard <glname>\\tab <cpttot>\\tab <cpttot>\\par\n<Footer>\n\\pard <Pagenumber>\\par\n"
    "\\pard end\\par\n}\n";

// The preview (and print) of a computed trial balance lays out the grid the
// computation gave it and reads no voucher: however large the book, it
// costs a small part of the computation (limit: a quarter of it).
void BM_TrialBalancePreviewAgainstTheComputation(benchmark::State& state) {
  BookFolder folder;
  WriteSynced(folder.dir + "/trailbalancetemplate.rtf", kTrialBalanceTemplate, sizeof kTrialBalanceTemplate - 1);
  const reports::BalanceRequest rq = TrialBalanceRequest();
  const Clock::time_point a = Clock::now();
  const reports::BalanceGridRun grid = reports::ComputeBalanceGrid(rq);
  const double computation = Seconds(a, Clock::now());
  if (grid.openFailure || !grid.result.error.empty()) {
    state.SkipWithError("the trial balance was refused");
    return;
  }
  reports::ReportRunRequest run;
  run.kind = '1';
  run.periodText = rq.periodText;
  run.balance = &grid.result;
  run.settings = rq.settings;
  run.today = "20240101";
  double preview = 0;
  int pages = 0;
  for (auto _ : state) {
    const Clock::time_point b = Clock::now();
    const reports::ReportRunResult report = reports::RunReport(run);
    preview = Seconds(b, Clock::now());
    if (!report.report) {
      state.SkipWithError(("the preview was refused: " + report.error).c_str());
      return;
    }
    pages = report.report->pages;
    state.SetIterationTime(preview);
  }
  const double ratio = preview / computation;
  state.counters["computation_s"] = computation;
  state.counters["preview_s"] = preview;
  state.counters["ratio"] = ratio;
  std::printf("TrialBalancePreview: %d pages; %.4f s against the computation's %.3f s, ratio %.3f (limit 0.25): %s\n",
              pages, preview, computation, ratio, Verdict(ratio <= 0.25));
}
BENCHMARK(BM_TrialBalancePreviewAgainstTheComputation)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_TrialBalanceLedgerCardsOfAllAccountsReadTheVouchersOnce(benchmark::State& state) {
  BookFolder folder;
  const auto vouchers = [&] {
    shell::ScopedFileSet set("JVO;GLA");
    return shell::ReadAll<records::JournalVoucherRec>(shell::FileCode::JVO);
  }();
  std::vector<reports::CardAccount> accounts;
  for (int i = 0; i < kAccounts; ++i) accounts.push_back({Number(i), "Account"});
  reports::ReportLineSources src;
  src.kind = '3';
  src.vouchers = &vouchers;
  src.period = reports::ReportPeriod{};
  src.period->start = "20240101";
  src.period->end = "20250101";
  src.cardAccounts = accounts;
  std::array<double, 6> sums{};
  src.sums = &sums;
  for (auto _ : state) {
    reports::ReportLineState s;
    std::size_t lines = 0;
    reports::StartLedgerCard(s, src);
    while (!s.endOfData) {
      reports::NextReportLine(s, src);
      lines += s.lineFound;
      if (s.groupEnd && !s.prevGroupEnd && !reports::StartLedgerCard(s, src)) break;
    }
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_TrialBalanceLedgerCardsOfAllAccountsReadTheVouchersOnce)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

// The benchmark program's main: takes --book DIR, then Google Benchmark's
// own flags.
int main(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--book" && i + 1 < argc) {
      g_book = argv[++i];
    } else if (a.rfind("--book=", 0) == 0) {
      g_book = a.substr(7);
    } else {
      rest.push_back(argv[i]);
    }
  }
  int n = static_cast<int>(rest.size());
  benchmark::Initialize(&n, rest.data());
  if (benchmark::ReportUnrecognizedArguments(n, rest.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
