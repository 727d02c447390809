// The trial balance of a large book, against one plain sequential pass over
// the voucher file that adds each line into its account, in the same run.
//
// The generated book (bench::GenerateBook) holds 200,000 vouchers of 2 to 4
// lines (about 600,000 lines, 235 MB) over 60 accounts in one year; the
// trial balance must stay within 1.5 times the plain pass, and its debit
// total of the period's lines equals the plain pass's own sum of them; the
// preview of the computed grid stays within a quarter of the computation (it
// reads no voucher). The
// ledger cards of all accounts index the period's lines in one pass over the
// vouchers (not one pass per account) and are reported. `--book DIR` times
// an existing administration folder instead: a folder holding only
// book.vlk, ledger.vlk and ledgerct.vlk gets the default settings (so the
// book year is the default one), and the folder itself is never written;
// `--book-vouchers N` generates a book of N vouchers instead of 200,000.
// Lines are printed to standard error, so that standard output holds only
// the benchmark's own report (also with --benchmark_format=json).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "books/reporting/reportrun.h"
#include "books/closing/balance.h"
#include "books/reporting/paging.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "store/scopedfileset.h"
#include "text/textroutines.h"
#include "support.h"

namespace {

using namespace bench;

std::string g_book;                 // --book DIR
int g_vouchers = kBookVouchers;     // --book-vouchers N: the generated book's size

constexpr std::size_t kLine = records::JournalVoucherRec::kSize;

// The folder the benchmark reads: the generated book, or links to the
// files of --book (so that its default settings are written only here).
struct BookFolder : DataFolder {
  BookFolder() : DataFolder("tbbench") {
    if (g_book.empty()) {
      GenerateBook(dir, g_vouchers);
    } else {
      for (const char* name : {"book.vlk", "ledger.vlk", "ledgerct.vlk", "freeze.vlk", "adminset.vlk"}) {
        const std::filesystem::path from = std::filesystem::absolute(g_book) / name;
        if (std::filesystem::exists(from)) std::filesystem::create_symlink(from, std::filesystem::path(dir) / name);
      }
    }
    Use();
    store::LoadAdminSettings();
  }
};

// One plain pass: the voucher file read sequentially in blocks of 1 MiB,
// each line's debit less credit added into its account; and, apart, the
// debits of the lines dated in [start, end) whose account is in `debitOf`.
struct PlainSums {
  std::unordered_map<std::string, double> net;
  double debits = 0;
};

double PlainPass(const std::string& path, const std::string& start, const std::string& end,
                 const std::unordered_map<std::string, bool>& debitOf, PlainSums& sums) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  const off_t size = ::lseek(fd, 0, SEEK_END);
  const std::size_t lines = static_cast<std::size_t>(size) / kLine;
  std::vector<char> block(kLine * 2700);
  const Clock::time_point a = Clock::now();
  sums = PlainSums{};
  records::JournalVoucherRec r;
  for (std::size_t first = 0; first < lines;) {
    const std::size_t n = std::min(lines - first, block.size() / kLine);
    ReadAll(fd, block.data(), n * kLine, static_cast<off_t>(first * kLine));
    for (std::size_t i = 0; i < n; ++i) {
      std::memcpy(&r, block.data() + i * kLine, kLine);
      const std::string account = r.AccountNumber();
      sums.net[account] += r.DebitAmount() - r.CreditAmount();
      if (debitOf.empty()) continue;
      const std::string date = r.VoucherDate();
      if (date < start || !(date < end)) continue;
      if (debitOf.count(text::TrimTrailingBlanks(account)) != 0) sums.debits += r.DebitAmount();
    }
    first += n;
  }
  const double t = Seconds(a, Clock::now());
  ::close(fd);
  return t;
}

// The debits the trial balance took from the period's vouchers: the
// closing less the opening debit side of each type D and C row.
double TableDebits(const books::closing::BalanceResult& r) {
  double sum = 0;
  for (const auto& row : r.table) {
    if (row.AccountType == "D") sum += row.ClosingOwnSide - row.OpeningOwnSide;
    if (row.AccountType == "C") sum += row.ClosingOtherSide - row.OpeningOtherSide;
  }
  return sum;
}

// The trial balance of the folder's current period; where the settings
// name none or the opening period 00 (which holds no voucher), of the first
// period of the book year.
books::closing::BalanceRequest TrialBalanceRequest() {
  books::closing::BalanceRequest rq;
  rq.kind = '1';
  rq.settings = store::AdminSettings;
  rq.periodText = rq.settings.CurrentAnnualBalance() + "-" + rq.settings.CurrentPeriod();
  if (rq.settings.CurrentPeriod().starts_with("00") ||
      !books::closing::ComputeReportPeriod(rq.periodText, rq.settings, {}).period) {
    const int n = std::clamp<int>(rq.settings.PeriodCount(), 1, 15);
    rq.periodText = rq.settings.BookYearStart().substr(0, 4) + "-01/" + (n < 10 ? "0" : "") + std::to_string(n);
  }
  return rq;
}

void BM_TrialBalanceAgainstOnePlainPass(benchmark::State& state) {
  BookFolder folder;
  const books::closing::BalanceRequest rq = TrialBalanceRequest();
  std::fprintf(stderr, "TrialBalance: period %s of %s\n", rq.periodText.c_str(),
               g_book.empty() ? ("the generated book of " + std::to_string(g_vouchers) + " vouchers").c_str()
                              : g_book.c_str());
  const std::string book = folder.dir + "/book.vlk";
  PlainSums sums;
  PlainPass(book, "", "", {}, sums);  // the page cache
  std::vector<double> ratios;
  double plain = 0, ours = 0, tableDebits = 0;
  std::size_t rows = 0;
  std::unordered_map<std::string, bool> debitOf;
  std::string start, end;
  for (auto _ : state) {
    plain = PlainPass(book, "", "", {}, sums);
    const Clock::time_point a = Clock::now();
    const books::closing::BalanceGridRun run = books::closing::ComputeBalanceGrid(rq);
    ours = Seconds(a, Clock::now());
    if (run.openFailure || !run.result.error.empty() || !run.result.period) {
      state.SkipWithError("the trial balance was refused");
      return;
    }
    benchmark::DoNotOptimize(run.result.gridRowCount);
    rows = run.result.table.size();
    tableDebits = TableDebits(run.result);
    start = run.result.period->start;
    end = run.result.period->end;
    debitOf.clear();
    for (const auto& row : run.result.table)
      if (row.AccountType == "D" || row.AccountType == "C") debitOf.emplace(row.AccountNumber, true);
    ratios.push_back(ours / plain);
    state.SetIterationTime(ours);
  }
  // The debit total against the plain pass's own sum (outside the timing).
  PlainPass(book, start, end, debitOf, sums);
  const bool same = std::fabs(tableDebits - sums.debits) <= 0.005 + 1e-9 * std::fabs(sums.debits);
  const double median = Median(ratios);
  state.counters["plain_s"] = plain;
  state.counters["trial_balance_s"] = ours;
  state.counters["ratio"] = median;
  const bool within = median <= 1.5;
  std::fprintf(stderr,
               "TrialBalance: %zu accounts, debits of the period %.2f (plain pass: %.2f, %s); %.3f s, plain pass "
               "%.3f s, ratio %.2f (limit 1.5): %s\n",
               rows, tableDebits, sums.debits, same ? "equal" : "DIFFERENT", ours, plain, median, Verdict(within));
  if (!same) state.SkipWithError("the trial balance's debits differ from the plain sum");
  else if (!within) state.SkipWithError("the trial balance is over 1.5 plain passes");
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
  const books::closing::BalanceRequest rq = TrialBalanceRequest();
  const Clock::time_point a = Clock::now();
  const books::closing::BalanceGridRun grid = books::closing::ComputeBalanceGrid(rq);
  const double computation = Seconds(a, Clock::now());
  if (grid.openFailure || !grid.result.error.empty()) {
    state.SkipWithError("the trial balance was refused");
    return;
  }
  books::reporting::ReportRunRequest run;
  run.kind = '1';
  run.periodText = rq.periodText;
  run.balance = &grid.result;
  run.settings = rq.settings;
  run.today = "20240101";
  double preview = 0;
  int pages = 0;
  for (auto _ : state) {
    const Clock::time_point b = Clock::now();
    const books::reporting::ReportRunResult report = books::reporting::RunReport(run);
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
  std::fprintf(stderr, "TrialBalancePreview: %d pages; %.4f s against the computation's %.3f s, ratio %.3f (limit 0.25): %s\n",
              pages, preview, computation, ratio, Verdict(ratio <= 0.25));
}
BENCHMARK(BM_TrialBalancePreviewAgainstTheComputation)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_TrialBalanceLedgerCardsOfAllAccountsReadTheVouchersOnce(benchmark::State& state) {
  BookFolder folder;
  std::vector<records::LedgerAccountRec> gla;
  const auto vouchers = [&] {
    store::ScopedFileSet set("JVO;GLA");
    gla = store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit);
    return store::ReadAll<records::JournalVoucherRec>(store::FileCode::JVO);
  }();
  // Every account of the book, over its book year as its settings give it.
  std::vector<books::reporting::CardAccount> accounts;
  for (const auto& a : gla) accounts.push_back({text::TrimTrailingBlanks(a.AccountNumber()), "Account"});
  const auto& settings = store::AdminSettings;
  books::reporting::ReportLineSources src;
  src.kind = '3';
  src.vouchers = &vouchers;
  src.period = books::closing::ReportPeriod{};
  src.period->start = settings.BookYearStart();
  src.period->end = text::DateToYmd(text::YmdToDate(settings.BookYearEnd()) + 1);
  src.cardAccounts = accounts;
  std::array<double, 6> sums{};
  src.sums = &sums;
  std::size_t lines = 0;
  for (auto _ : state) {
    books::reporting::ReportLineState s;
    lines = 0;
    books::reporting::StartLedgerCard(s, src);
    while (!s.endOfData) {
      books::reporting::NextReportLine(s, src);
      lines += s.lineFound;
      if (s.groupEnd && !s.prevGroupEnd && !books::reporting::StartLedgerCard(s, src)) break;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = static_cast<double>(lines);
  std::fprintf(stderr, "LedgerCards: %zu accounts, %zu lines from %s to %s\n", accounts.size(), lines,
               src.period->start.c_str(), src.period->end.c_str());
}
BENCHMARK(BM_TrialBalanceLedgerCardsOfAllAccountsReadTheVouchersOnce)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

// The benchmark program's main: takes --book DIR and --book-vouchers N, then Google Benchmark's
// own flags.
int main(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--book" && i + 1 < argc) {
      g_book = argv[++i];
    } else if (a.rfind("--book=", 0) == 0) {
      g_book = a.substr(7);
    } else if (a == "--book-vouchers" && i + 1 < argc) {
      g_vouchers = std::max(1, std::atoi(argv[++i]));
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
