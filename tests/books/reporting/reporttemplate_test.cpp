// Report templates: line heights, escaping, and the split into sections,
// with well-formed and damaged templates; the room the shipped grid
// templates give their amount columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "records/systemparamrec.h"
#include "books/reporting/reporttemplate.h"
#include "text/textroutines.h"
#include "support/reportbook.h"

namespace {

using books::reporting::ParseReportTemplate;
using books::reporting::Section;

TEST(RtfLineHeight, SizesCarryFromLineToLine) {
  struct Case {
    const char* line;
    int height;
    int currentAfter;  // 0: back to the default for the next line
  };
  // One run through the lines, default size 20.
  const std::vector<Case> cases = {
      {"\\fs24 a \\fs9 b\\par", 24, 9},       // the largest size of the line
      {"\\par", 9, 9},                        // the carried size
      {"}", 9, 0},                            // closes a group: the size in force
      {"\\par", 20, 20},                      // and the next line starts at the default
      {"{\\b x}\\par", 20, 20},               // a group without a size: the default
      {"\\f1\\fswiss\\fs18 x\\par", 18, 18},  // "\fswiss" is not a size
      {"\\fswiss only", 18, 18},
      {"\\fs100 big\\par", 100, 100},         // three digits
      {"\\fs1234\\par", 123, 123},            // at most three
      {"plain text", 123, 123},               // nothing on it: the size it starts with
      {"{\\fs30 in a group}\\par", 30, 30},
      {"", 30, 30},
      {"\\fs", 30, 30},
  };
  books::reporting::RtfSizeState state{20, 0};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(books::reporting::RtfLineHeight(c.line, state), c.height);
    EXPECT_EQ(state.current, c.currentAfter);
  }
}

TEST(RtfEscape, EscapesGroupCharactersAndHighBytes) {
  struct Case {
    std::string in, out;
  };
  const std::vector<Case> cases = {
      {"Plain Co. 12", "Plain Co. 12"},
      {"A\\B {C}", "A\\\\B \\{C\\}"},
      {"Caf\xE9 \x80", "Caf\\'e9 \\'80"},
      {"two\r\nlines\tx", "two  lines x"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(books::reporting::RtfEscape(c.in), c.out) << c.in;
}

// A template as the report files hold it, with CR LF line ends.
std::string Crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

const std::vector<std::string> kGoodTemplate = {
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Liberation Sans;}}",
    "\\paperw16838\\paperh11906\\fs20",
    "<Header>",
    "\\pard\\plain\\fs28 <Company> <Company>\\par",
    "\\pard\\plain\\fs20 <Town>, <printdate>\\par",
    "<Subheader1>",
    "\\pard\\plain\\fs20 <curperd>\\par",
    "<Detail1>",
    "\\pard\\plain\\fs18 <glname>\\par",
    "<Subtotal1>",
    "\\pard\\plain\\fs20 <cpttot>\\par",
    "<Subtotal1nextpage>",
    "\\pard\\plain\\fs20 <cpttot>\\par",
    "\\pard\\plain\\fs20 <pyst>\\par",
    "<Total1>",
    "\\pard\\plain\\fs24 <cpttot>\\par",
    "<Footer>",
    "\\pard\\plain\\fs16 page <Pagenumber>\\par",
    "}",
    "\\pard\\plain\\par",
    "}",
};

TEST(ParseReportTemplate, SplitsPreambleAndSectionsAndMeasuresThem) {
  const auto r = ParseReportTemplate("trailbalancetemplate.rtf", Crlf(kGoodTemplate),
                                     {{"<Company>", "A{B}"}, {"<Town>", "Gen\xE8ve"}, {"<printdate>", "20240517"}});
  ASSERT_TRUE(r.parsed) << r.error;
  const books::reporting::ParsedTemplate& t = *r.parsed;
  EXPECT_EQ(t.paperWidth, 16838);
  EXPECT_EQ(t.paperHeight, 11906);
  EXPECT_EQ(t.defaultFontSize, 20);

  struct Expect {
    Section s;
    int count, height;
  };
  for (const Expect& e : std::vector<Expect>{{Section::Header, 2, 48},
                                             {Section::Subheader1, 1, 20},
                                             {Section::Subheader2, 0, 0},  // missing
                                             {Section::Detail1, 1, 18},
                                             {Section::FromBS, 0, 0},
                                             {Section::Subtotal1, 1, 20},
                                             {Section::Subtotal1nextpage, 2, 40},
                                             {Section::Total1, 1, 24},
                                             {Section::Footer, 2, 32}}) {
    SCOPED_TRACE(std::string(books::reporting::SectionTag(e.s)));
    EXPECT_EQ(t[e.s].count, e.count);
    EXPECT_EQ(t[e.s].height, e.height);
  }
  EXPECT_EQ(t.Lines(Section::Subtotal1), std::vector<std::string>{"\\pard\\plain\\fs20 <cpttot>\\par"});
  // The Footer's "}" lines are dropped; no tag line is copied.
  EXPECT_EQ(t.Lines(Section::Footer),
            (std::vector<std::string>{"\\pard\\plain\\fs16 page <Pagenumber>\\par", "\\pard\\plain\\par"}));
  for (const auto& line : t.lines) EXPECT_EQ(line.find("<Footer>"), std::string::npos);

  // The output: the preamble, then the header with its fixed values
  // (first occurrence only, escaped).
  EXPECT_EQ(t.output, (std::vector<std::string>{kGoodTemplate[0], kGoodTemplate[1],
                                                "\\pard\\plain\\fs28 A\\{B\\} <Company>\\par",
                                                "\\pard\\plain\\fs20 Gen\\'e8ve, 20240517\\par"}));
}

TEST(ParseReportTemplate, DamagedTemplatesGiveDefaultsOrAMessage) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    bool refused;
    int defaultSize;
    std::vector<std::string> detail;  // the Detail1 lines
  };
  const std::vector<Case> cases = {
      {"no Header", {"{\\rtf1\\fs20", "<Detail1>", "x\\par", "<Footer>", "y\\par"}, true, 0, {}},
      {"empty", {}, true, 0, {}},
      {"Subheader1 without Header", {"{\\rtf1\\fs20", "<Subheader1>", "s\\par", "<Detail1>", "d\\par"}, true, 0, {}},
      {"Subheader1 after a section, no Header",
       {"{\\rtf1\\fs20", "<Detail1>", "d\\par", "<Subheader1>", "<Company>\\par", "<Footer>", "f\\par"}, true, 0, {}},
      {"no size anywhere", {"{\\rtf1", "<Header>", "h\\par", "<Detail1>", "d\\par"}, false, 24, {"d\\par"}},
      {"font family before the size", {"{\\rtf1{\\f0\\fswiss Arial;}\\fs18", "<Header>", "<Detail1>", "d\\par"}, false,
       18, {"d\\par"}},
      {"out-of-order tag is copied into the section before it",
       {"{\\rtf1\\fs20", "<Header>", "<Total1>", "t\\par", "<Detail1>", "d\\par"}, false, 20, {"d\\par"}},
      {"unbalanced braces", {"{\\rtf1{{{\\fs20", "<Header>", "}}}}}", "<Detail1>", "{d\\par"}, false, 20, {"{d\\par"}},
      {"Subtotal1nextpage is not Subtotal1",
       {"{\\rtf1\\fs20", "<Header>", "<Detail1>", "d\\par", "<Subtotal1nextpage>", "n\\par"}, false, 20, {"d\\par"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto r = ParseReportTemplate("journaltemplate.rtf", Crlf(c.lines), {});
    if (c.refused) {
      EXPECT_FALSE(r.parsed);
      EXPECT_NE(r.error.find("journaltemplate.rtf"), std::string::npos) << r.error;
      continue;
    }
    ASSERT_TRUE(r.parsed) << r.error;
    EXPECT_EQ(r.parsed->defaultFontSize, c.defaultSize);
    EXPECT_EQ(r.parsed->Lines(Section::Detail1), c.detail);
  }
}

TEST(ParseReportTemplate, TagOrderDecidesWhereATagLineGoes) {
  // "<Total1>" is tested before "<Detail1>": in the Detail1 section it
  // switches without being copied; "<Header>" is tested last, so in the
  // Footer it is copied into the Footer before it switches.
  const auto r = ParseReportTemplate(
      "x.rtf", Crlf({"{\\rtf1\\fs20", "<Header>", "h\\par", "<Detail1>", "d\\par", "<Total1>", "t\\par", "<Footer>",
                     "f\\par", "<Header>", "h2\\par"}),
      {});
  ASSERT_TRUE(r.parsed);
  EXPECT_EQ(r.parsed->Lines(Section::Total1), std::vector<std::string>{"t\\par"});
  EXPECT_EQ(r.parsed->Lines(Section::Footer), (std::vector<std::string>{"f\\par", "<Header>"}));
  EXPECT_EQ(r.parsed->Lines(Section::Header), std::vector<std::string>{"h2\\par"});
  // The output ends its preamble at the last Header tag line.
  EXPECT_EQ(r.parsed->output.back(), "h2\\par");
}

TEST(ParseReportTemplate, LineEndsOfEveryKindAndPaperWithoutDigits) {
  const auto r = ParseReportTemplate("x.rtf", "{\\rtf1\\paperw\\paperh842\\fs20\r<Header>\nh\\par\r\n<Detail1>\rd\\par",
                                     {});
  ASSERT_TRUE(r.parsed);
  EXPECT_EQ(r.parsed->paperWidth, 0);
  EXPECT_EQ(r.parsed->paperHeight, 842);
  EXPECT_EQ(r.parsed->Lines(Section::Detail1), std::vector<std::string>{"d\\par"});
  EXPECT_EQ(r.parsed->output, (std::vector<std::string>{"{\\rtf1\\paperw\\paperh842\\fs20", "h\\par"}));
}

TEST(FixedPlaceholders, NameEveryFieldInParseOrder) {
  records::AdminSettingsRec a;
  a.SetCompanyName("Acme");
  a.SetTown("Delft");
  records::SystemParamRec s;
  s.SetCompanyName("SysCo");
  s.SetAddressExtra("Region");
  const auto fixed = books::reporting::FixedPlaceholders(a, s, "Sales", "20240517", "09:30");
  ASSERT_EQ(fixed.size(), 28u);
  EXPECT_EQ(fixed.front(), (books::reporting::Placeholder{"<Balancename>", "Balance sheet"}));
  EXPECT_EQ(fixed[2], (books::reporting::Placeholder{"<Journal>", "Sales"}));
  EXPECT_EQ(fixed[3], (books::reporting::Placeholder{"<Company>", "Acme"}));
  EXPECT_EQ(fixed[6], (books::reporting::Placeholder{"<Town>", "Delft"}));
  EXPECT_EQ(fixed[16], (books::reporting::Placeholder{"<SystemCompany>", "SysCo"}));
  EXPECT_EQ(fixed[24], (books::reporting::Placeholder{"<SystemState>", "Region"}));
  EXPECT_EQ(fixed.back(), (books::reporting::Placeholder{"<time>", "09:30"}));
}

TEST(TemplateFileName, OnePerKind) {
  EXPECT_EQ(books::reporting::TemplateFileName('1'), "trailbalancetemplate.rtf");
  EXPECT_EQ(books::reporting::TemplateFileName('5'), "Debtorstemplate.rtf");
  EXPECT_EQ(books::reporting::TemplateFileName('6'), "Creditorstemplate.rtf");
  EXPECT_EQ(books::reporting::TemplateFileName('7'), "");
}

}  // namespace

namespace {

// The advance of a character of an amount text in Liberation Sans, the
// shipped templates' font, in thousandths of an em (regular and bold alike).
int AmountCharWidth(char c) {
  if (c >= '0' && c <= '9') return 556;
  switch (c) {
    case '\x80': return 556;  // the euro sign
    case '-': return 333;
    case ',': case '.': case ' ': return 278;
    default: ADD_FAILURE() << "no width for '" << c << "'"; return 0;
  }
}

int AmountWidth(const std::string& text) {
  int w = 0;
  for (char c : text) w += AmountCharWidth(c);
  return w;
}

// The numbers after each `word` of the line ("\\tqr\\tx" gives the right tab stops).
std::vector<int> NumbersAfter(const std::string& line, const std::string& word) {
  std::vector<int> out;
  for (std::size_t p = line.find(word); p != std::string::npos; p = line.find(word, p + 1))
    out.push_back(std::stoi(line.substr(p + word.size())));
  return out;
}

}  // namespace

// The trial balance and the balance sheet print six amount columns on right
// tab stops: two neighbouring stops lie at least as far apart as the widest
// amount of 15 digits (negative, grouped, with the currency sign) is wide
// at the line's size, plus one blank, and the last stop lies on the paper.
TEST(ShippedTemplates, TheGridReportsAmountColumnsHoldFifteenDigits) {
  platform::ScopedNumberFormat numbers{'.'};
  const std::string widest = text::FormatAmount(-1234567890123.45, 2, 'Y');
  ASSERT_NE(widest.find("1,234,567,890,123.45"), std::string::npos) << widest;
  const auto templates = support::ShippedReportTemplates();
  struct Case {
    const char* name;
    int printable;  // paper width less the left and right margins (800, 100)
  };
  for (const Case& c : {Case{"trailbalancetemplate.rtf", 16838 - 900}, Case{"balancetemplate.rtf", 11906 - 900}}) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(templates.count(c.name));
    const std::string& text = templates.at(c.name);
    int amountLines = 0;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find_first_of("\r\n", start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      start = end + 1;
      const std::vector<int> stops = NumbersAfter(line, "\\tqr\\tx");
      if (stops.size() != 6) continue;
      ++amountLines;
      const std::vector<int> sizes = NumbersAfter(line, "\\fs");
      ASSERT_EQ(sizes.size(), 1u) << line;
      // Twips: thousandths of an em times the size in half-points times 10 / 1000.
      const int needed = (AmountWidth(widest) + AmountCharWidth(' ')) * sizes[0] * 10 / 1000;
      for (std::size_t i = 1; i < stops.size(); ++i)
        EXPECT_GE(stops[i] - stops[i - 1], needed) << "stops " << stops[i - 1] << " and " << stops[i] << ": " << line;
      EXPECT_LE(stops.back(), c.printable) << line;
    }
    EXPECT_GE(amountLines, 5) << "heading, detail, carried, brought forward and total lines";
  }
}
