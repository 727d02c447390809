// Laying out reports: page breaks by the half-point budget, padding, the
// carried sums, the group totals, the ledger cards at a page foot, the open
// items, escaping, and the rich-text file a report is saved as. The
// templates are tiny, every line 10 half-points, so that the budgets are
// easy to follow.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "platform/numberformat.h"
#include "records/ledgercategoryrec.h"
#include "books/reporting/reportbuild.h"
#include "text/textroutines.h"
#include "ui/rtfreader.h"

namespace {

using books::reporting::ReportLineSources;
using books::reporting::BuiltReport;
using books::reporting::ReportLayoutInput;

// A template whose every line is 10 half-points: the footer is 20 (its
// last line is a dummy that is never printed). The opening-line sections
// stand before Detail1: the parse tests Detail1's tag before theirs, so
// listed after it they would be copied into Detail1 as lines.
const char* kTemplate =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\paperw11906\\paperh16838\\fs10\n"
    "<Header>\n"
    "\\pard\\plain\\fs10 HEAD\\par\n"
    "<Subheader1>\n"
    "\\pard\\plain\\fs10 SUB1 <gln> <glname> <curperd><printdate>\\par\n"
    "<Subheader2>\n"
    "\\pard\\plain\\fs10 SUB2 <curperd>\\par\n"
    "<FromBS>\n"
    "\\pard\\plain\\fs10 FROM <desc> <debit>|<credit>\\par\n"
    "<FromP&L>\n"
    "\\pard\\plain\\fs10 FROMPL <desc> <debit>|<credit>\\par\n"
    "<Detail1>\n"
    "\\pard\\plain\\fs10 D <gld> <desc><glname> <debit>|<credit><pybald><Customer> <Custno> <Days> <Debits>\\par\n"
    "<ToBS>\n"
    "\\pard\\plain\\fs10 TO <desc> <debit>|<credit>\\par\n"
    "<ToP&L>\n"
    "\\pard\\plain\\fs10 TOPL <desc> <debit>|<credit>\\par\n"
    "<Subtotal1>\n"
    "\\pard\\plain\\fs10 ST <debit>|<credit><cpttot>|<cpttot><Debits>\\par\n"
    "<Subtotal1nextpage>\n"
    "\\pard\\plain\\fs10 CF <debit>|<credit><cpttot>|<cpttot><Debits>\\par\n"
    "<Total1>\n"
    "\\pard\\plain\\fs10 TOT <glname><debit>|<credit><cpttot>|<cpttot><Debits>\\par\n"
    "<Footer>\n"
    "\\pard\\plain\\fs10 PAGE <Pagenumber>\\par\n"
    "\\pard\\plain\\fs10 dummy\\par\n"
    "}\n";

books::reporting::ParsedTemplate Parsed() {
  auto t = books::reporting::ParseReportTemplate("test.rtf", kTemplate, {});
  EXPECT_TRUE(t.parsed) << t.error;
  return *t.parsed;
}

// The report in short: one entry per line after the preamble, the section
// words kept, blanks squeezed, a run of padding lines as "pad N" and a
// marker line as "--N--".
std::vector<std::string> Trace(const BuiltReport& r) {
  std::vector<std::string> out;
  int pads = 0;
  auto flush = [&] {
    if (pads) out.push_back("pad " + std::to_string(pads));
    pads = 0;
  };
  for (std::size_t i = static_cast<std::size_t>(r.preambleLines); i < r.output.size(); ++i) {
    std::string line = r.output[i];
    if (line == "\\fs4\\par") {
      ++pads;
      continue;
    }
    flush();
    std::smatch m;
    if (std::regex_match(line, m, std::regex(R"(\\fs18\\qc \.   \.  \. \. \. \.\.\.new page (\d+) \.\.\. \. \. \.  \.   \.\\par)"))) {
      out.push_back("--" + m[1].str() + "--");
      continue;
    }
    if (line.starts_with("\\pard\\plain\\fs10 ")) line = line.substr(17);
    if (line.ends_with("\\par")) line.resize(line.size() - 4);
    // The placeholders a kind does not fill, and the currency sign.
    line = std::regex_replace(line, std::regex("<[A-Za-z]+>|\\\\'80"), "");
    line = std::regex_replace(line, std::regex(" +"), " ");
    line = std::regex_replace(line, std::regex(R"(\| )"), "|");
    line = std::regex_replace(line, std::regex(R"(\|+$)"), "");
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out.push_back(line);
  }
  flush();
  return out;
}

records::JournalVoucherRec Line(const std::string& date, const std::string& text, double debit, double credit,
                                const std::string& account = "1000") {
  records::JournalVoucherRec v;
  v.SetVoucherDate(date);
  v.SetJournalName("Bank");
  v.SetBookNumber("B1");
  v.SetLineText(text);
  v.SetAccountNumber(text::Cut(account + std::string(15, ' '), 15));
  v.SetDebitAmount(debit);
  v.SetCreditAmount(credit);
  return v;
}

class ReportBuildTest : public ::testing::Test {
 protected:
  platform::ScopedNumberFormat format{'.'};
  books::reporting::ParsedTemplate parsed = Parsed();
  std::vector<records::JournalVoucherRec> vouchers;
  ReportLineSources src;
  ReportLayoutInput in;

  void SetUp() override {
    src.kind = '4';
    src.vouchers = &vouchers;
    src.period = books::closing::ReportPeriod{};
    src.period->start = "20240301";
    src.period->end = "20240401";
    src.openPeriodChosen = false;
    in.kind = '4';
    in.pageHeight = 100;
    in.periodText = "2024-03/12";
    in.accountNumber = "*.*";
  }
  void Journal(int lines) {
    vouchers.clear();
    for (int i = 1; i <= lines; ++i) vouchers.push_back(Line("20240310", "L" + std::to_string(i), i, 0));
  }
};

TEST_F(ReportBuildTest, JournalBreaksPagesCarriesSumsAndPadsEachFooter) {
  Journal(8);
  const BuiltReport r = books::reporting::BuildLedgerReport(parsed, src, in);
  // Header and subheader are 20; a line fits while 100 - fill - subtotal
  // - footer - line >= 1, so after the fourth line (fill 60) the page
  // breaks; later pages start at 30 (header, subheader, carried sums).
  // Padding runs while 100 - footer (- 20 at the end) >= fill, 4 each.
  EXPECT_EQ(Trace(r), (std::vector<std::string>{
                          "HEAD", "SUB1 *.* 2024-03/12",
                          "D 20240310 L1 1.00", "D 20240310 L2 2.00", "D 20240310 L3 3.00",
                          "D 20240310 L4 4.00", "ST 10.00|0.00", "pad 3", "PAGE 1", "--1--",
                          "HEAD", "SUB1 *.* 2024-03/12", "CF 10.00|0.00",
                          "D 20240310 L5 5.00", "D 20240310 L6 6.00", "D 20240310 L7 7.00",
                          "ST 28.00|0.00", "pad 3", "PAGE 2", "--2--",
                          "HEAD", "SUB1 *.* 2024-03/12", "CF 28.00|0.00",
                          "D 20240310 L8 8.00", "TOT 36.00|0.00", "pad 3", "PAGE 3", "}"}));
  EXPECT_EQ(r.pages, 3);
  EXPECT_EQ(r.preambleLines, 1);
}

TEST_F(ReportBuildTest, ThePageBreaksWhenLessThanOneHalfPointWouldRemain) {
  Journal(6);
  struct Case {
    int pageHeight;
    int linesOnFirstPage;
  };
  // 90: after three lines (fill 50) 90 - 50 - 40 = 0 < 1; 91: 1 remains.
  for (const Case& c : {Case{90, 3}, Case{91, 4}}) {
    in.pageHeight = c.pageHeight;
    const auto trace = Trace(books::reporting::BuildLedgerReport(parsed, src, in));
    const auto st = std::find_if(trace.begin(), trace.end(), [](const std::string& l) { return l.starts_with("ST"); });
    ASSERT_NE(st, trace.end());
    EXPECT_EQ(std::count_if(trace.begin(), st, [](const std::string& l) { return l.starts_with("D "); }),
              c.linesOnFirstPage)
        << c.pageHeight;
  }
}

TEST_F(ReportBuildTest, ElevenPagesNumberTheirMarkersAndFootersInSequence) {
  Journal(33);
  const BuiltReport r = books::reporting::BuildLedgerReport(parsed, src, in);
  std::vector<std::string> markers, footers;
  for (const std::string& l : Trace(r)) {
    if (l.starts_with("--")) markers.push_back(l);
    if (l.starts_with("PAGE")) footers.push_back(l.substr(5));
  }
  ASSERT_EQ(r.pages, 11);
  EXPECT_EQ(markers.size(), 10u);
  EXPECT_EQ(markers.back(), "--10--");
  EXPECT_EQ(footers.size(), 11u);
  for (std::size_t i = 0; i < footers.size(); ++i) EXPECT_EQ(footers[i], std::to_string(i + 1));
}

TEST_F(ReportBuildTest, InsertedValuesAreEscaped) {
  vouchers = {Line("20240310", "A {b} c\\d \xE9", 1, 0)};
  const BuiltReport r = books::reporting::BuildLedgerReport(parsed, src, in);
  const auto found = std::find_if(r.output.begin(), r.output.end(),
                                  [](const std::string& l) { return l.find(" D ") != std::string::npos ||
                                                                    l.starts_with("\\pard\\plain\\fs10 D "); });
  ASSERT_NE(found, r.output.end());
  EXPECT_NE(found->find("A \\{b\\} c\\\\d \\'e9"), std::string::npos) << *found;
}

TEST_F(ReportBuildTest, MarkerLinesAreKnownByTheirWholeText) {
  struct Case {
    std::string line;
    bool marker;
  };
  const std::vector<Case> cases = {
      {books::reporting::PageMarkerLine(1), true},
      {books::reporting::PageMarkerLine(12), true},
      {books::reporting::PageMarkerLine(123), true},
      {"\\pard text .   .  . . . ...new page 1 ... . . .  .   .\\par", false},
      {"\\fs18\\qc .   .  . . . ...new page x ... . . .  .   .\\par", false},
      {"\\fs18\\qc .   .  . . . ...new page  ... . . .  .   .\\par", false},
  };
  for (const Case& c : cases) EXPECT_EQ(books::reporting::IsPageMarkerLine(c.line), c.marker) << c.line;
  for (auto [n, length] : {std::pair{9, 43}, std::pair{10, 44}, std::pair{99, 44}, std::pair{100, 45}})
    EXPECT_EQ(books::reporting::PageMarkerText(n).size(), static_cast<std::size_t>(length)) << n;
}

// The ledger card of 1000 (opening 100 debit) with lines, then 8000.
class CardBuildTest : public ReportBuildTest {
 protected:
  std::vector<records::LedgerAccountRec> accounts;
  std::vector<records::LedgerCategoryRec> categories;
  void SetUp() override {
    ReportBuildTest::SetUp();
    src.kind = in.kind = '3';
    records::LedgerAccountRec bank, sales;
    bank.SetAccountNumber("1000");
    bank.SetAccountType("D");
    bank.SetCategoryName("Assets");
    bank.SetStartAmount(100);
    sales.SetAccountNumber("8000");
    sales.SetAccountType("C");
    sales.SetCategoryName("Revenue");
    accounts = {bank, sales};
    records::LedgerCategoryRec assets, revenue;
    assets.SetCategoryKind(records::kBalanceSheetKind);
    assets.SetCategoryName("Assets");
    revenue.SetCategoryKind(records::kProfitAndLossKind);
    revenue.SetCategoryName("Revenue");
    categories = {assets, revenue};
    src.accounts = &accounts;
    src.categories = &categories;
    src.cardAccounts = {{"1000", "Bank"}, {"8000", "Sales"}};
    vouchers = {Line("20240305", "in", 20, 0), Line("20240306", "out", 0, 5), Line("20240307", "sale", 0, 20, "8000")};
  }
  // The subheader line above the first "TOT" line.
  static std::string SubheaderAboveFirstTotal(const std::vector<std::string>& trace) {
    std::string sub;
    for (const std::string& l : trace) {
      if (l.starts_with("SUB1")) sub = l;
      if (l.starts_with("TOT")) return sub;
    }
    return {};
  }
};

TEST_F(CardBuildTest, EachCardIsAGroupOnItsOwnPages) {
  in.pageHeight = 1000;
  const BuiltReport r = books::reporting::BuildLedgerReport(parsed, src, in);
  EXPECT_EQ(Trace(r), (std::vector<std::string>{
                          "HEAD", "SUB1 1000 Bank 2024-03/12", "FROM Bank 100.00", "D 20240305 in 20.00",
                          "D 20240306 out |5.00", "TO Bank |115.00", "TOT 120.00|120.00", "pad 228", "PAGE 1",
                          "--1--", "HEAD", "SUB1 8000 Sales 2024-03/12", "FROMPL Sales |0.00",
                          "D 20240307 sale |20.00", "TOPL Sales 20.00", "TOT 20.00|20.00", "pad 226", "PAGE 2",
                          "}"}));
}

TEST_F(CardBuildTest, ACardWhoseTotalNeedsANewPageTotalsUnderItsOwnAccount) {
  // The first card fills its page with the closing line: 20 + 4 lines =
  // 60, and a total (10) plus the footer (20) leave 100 - 90 = 10; at 89
  // the total does not fit and goes to a page of the same card.
  in.pageHeight = 89;
  const auto trace = Trace(books::reporting::BuildLedgerReport(parsed, src, in));
  EXPECT_EQ(SubheaderAboveFirstTotal(trace), "SUB1 1000 Bank 2024-03/12");
  const auto total = std::find_if(trace.begin(), trace.end(), [](const std::string& l) { return l.starts_with("TOT"); });
  ASSERT_NE(total, trace.end());
  EXPECT_EQ(*total, "TOT 120.00|120.00");
  // Bank's total has a page of its own card; Sales starts on the next.
  EXPECT_EQ(std::count(trace.begin(), trace.end(), std::string("SUB1 1000 Bank 2024-03/12")), 2);
  // The last card ends the report without stepping past the last account.
  EXPECT_EQ(trace.back(), "}");
}

TEST_F(CardBuildTest, NoAccountsGiveAnEmptyReportWithANote) {
  src.cardAccounts.clear();
  int progressCalls = 0;
  in.progress = [&](int) { ++progressCalls; };
  const BuiltReport r = books::reporting::BuildLedgerReport(parsed, src, in);
  EXPECT_FALSE(r.status.empty());
  EXPECT_EQ(r.pages, 1);
  EXPECT_EQ(progressCalls, 0);
  const auto trace = Trace(r);
  EXPECT_EQ(std::count_if(trace.begin(), trace.end(), [](const std::string& l) { return l.starts_with("D "); }), 0);
}

TEST_F(CardBuildTest, ProgressFollowsTheCards) {
  std::vector<int> seen;
  in.progress = [&](int p) { seen.push_back(p); };
  books::reporting::BuildLedgerReport(parsed, src, in);
  EXPECT_EQ(seen, (std::vector<int>{0, 100}));
}

TEST_F(ReportBuildTest, OpenItemsListWhatIsStillOwed) {
  src.kind = in.kind = '5';
  in.today = "20240331";
  std::vector<records::InvoiceRec> invoices(4);
  auto set = [](records::InvoiceRec& i, const char* type, int partner, double amount, double paid, const char* no) {
    i.SetPartnerType(type);
    i.SetPartnerNumber(partner);
    i.SetInvoiceAmount(amount);
    i.SetPaidAmount(paid);
    i.SetInvoiceNumber(no);
    i.SetInvoiceDate("20240301");
  };
  set(invoices[0], "CUS", 7, 100, 40, "F1");
  set(invoices[1], "CUS", 7, 50, 50, "F2");   // paid in full
  set(invoices[2], "VEN", 9, 80, 0, "P1");    // a supplier's
  set(invoices[3], "CUS", 8, 10, 0, "F3");
  src.invoices = &invoices;
  src.partner = [](std::int32_t n) -> std::optional<records::PartnerRec> {
    if (n != 7) return std::nullopt;
    records::PartnerRec p;
    p.SetOurNumber(7);
    p.SetName("Smith {&} Co");
    return p;
  };
  const auto trace = Trace(books::reporting::BuildOpenItemsReport(parsed, src, in));
  EXPECT_EQ(trace, (std::vector<std::string>{"HEAD", "SUB1 20240331", "D |Smith \\{&\\} Co 7 30 60.00",
                                             "D |30 10.00", "TOT ||70.00", "pad 3", "PAGE 1", "}"}));
}

TEST_F(ReportBuildTest, TrialBalanceRowsSumIntoTheSubtotalAndTheTotalRowCloses) {
  src.kind = in.kind = '1';
  std::vector<books::closing::GridRow> grid(5);
  grid[0][6] = "2024-03/12";
  grid[2] = {"Bank", "10.00", "", "", "", "", ""};
  grid[3] = {"Sales", "", "4.00", "", "", "", ""};
  grid[4] = {books::closing::kTotalText, "10.00", "4.00", "", "", "", ""};
  src.grid = &grid;
  src.gridRowCount = 4;
  in.pageHeight = 1000;
  const auto trace = Trace(books::reporting::BuildLedgerReport(parsed, src, in));
  ASSERT_GE(trace.size(), 5u);
  EXPECT_EQ(trace[1], "SUB1 2024-03/12");
  EXPECT_EQ(trace[2], "D Bank |10.00");
  EXPECT_EQ(trace[3], "D Sales");
  EXPECT_EQ(trace[4], "TOT TOTAL|10.00|4.00");
}

TEST_F(ReportBuildTest, TheSavedFileHasPageBreaksForMarkersAndPaperAfterThePreamble) {
  Journal(33);
  for (char kind : {'1', '4'}) {
    BuiltReport r = books::reporting::BuildLedgerReport(parsed, src, in);
    r.kind = kind;
    const std::string file = books::reporting::SaveReportRtf(r);
    EXPECT_EQ(file.find("new page"), std::string::npos);
    std::size_t breaks = 0;
    for (std::size_t p = file.find("\\fs18\\qc\\page\r\n"); p != std::string::npos;
         p = file.find("\\fs18\\qc\\page\r\n", p + 1))
      ++breaks;
    EXPECT_EQ(breaks, 10u);
    const std::string paper = "\\paperw11906\\paperh16838\\margl800\\margr100\\margt500\\margb100";
    const std::size_t at = file.find(paper);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(file.find(paper, at + 1), std::string::npos) << "the paper line once";
    EXPECT_LT(at, file.find("HEAD")) << "after the preamble, before the first header";
    EXPECT_EQ(file.find("\\landscape\\lndscpsxn") != std::string::npos, kind == '1');
    EXPECT_EQ(file.find('\n'), file.find("\r\n") + 1);
    EXPECT_EQ(file.find("\\paperw0"), std::string::npos);
    // Read back: the paragraphs of the report as shown, without its markers.
    std::vector<std::string> saved, shown;
    for (const auto& p : ui::ReadRtf(file).paragraphs) saved.push_back(p.Text());
    for (const auto& p : ui::WithoutMarkers(ui::ReadRtf(books::reporting::ReportRtf(r)))) shown.push_back(p.Text());
    EXPECT_EQ(saved, shown);
    EXPECT_EQ(ui::SplitPages(ui::ReadRtf(file)).size(), 11u);
  }
}

TEST(SaveReportRtf, WithoutAPaperSizeOnlyTheMarginsAreWritten) {
  BuiltReport r;
  r.kind = '3';
  r.output = {"{\\rtf1\\ansi", "\\pard x\\par", "}"};
  r.preambleLines = 1;
  EXPECT_EQ(books::reporting::SaveReportRtf(r),
            "{\\rtf1\\ansi\r\n\\margl800\\margr100\\margt500\\margb100 \r\n\\pard x\\par\r\n}\r\n");
}

TEST(DaysBetween, WholeDaysOrZeroForNoDate) {
  EXPECT_EQ(books::reporting::DaysBetween("20240301", "20240331"), 30);
  EXPECT_EQ(books::reporting::DaysBetween("20240331", "20240301"), -30);
  EXPECT_EQ(books::reporting::DaysBetween("", "20240301"), 0);
  EXPECT_EQ(books::reporting::DaysBetween("20241301", "20240301"), 0);
}

}  // namespace
