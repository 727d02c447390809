// The shipped help documents (built from data/help/ by tools/helpgen) and the
// generator's refusals. The documents are read back from their rich text as
// the viewer's paragraphs and checked: code page 1252 and printable, the
// start mark, every help tag the forms ask for once and in the same order and
// at the same level in all three, a general topic first, a closing heading
// last, no paragraph that the viewer would take for a mark by mistake, and
// every topic between 100 and 400 words.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "formkit/helptopics.h"
#include "platform/cp1252.h"
#include "ui/rtfreader.h"

namespace {

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The paragraphs of a document as the help form reads them (the program's
// rich-text reader), in code page 1252.
std::vector<std::string> Paragraphs(const std::string& rtf) {
  std::vector<std::string> out;
  for (const ui::RtfParagraph& p : ui::ReadRtf(rtf).paragraphs) out.push_back(cp1252::FromUtf8(p.Text()));
  return out;
}

// The tags the forms ask for.
const std::set<std::string> kFormTags = {
    "<MEN00>", "<SYS00>", "<USE00>", "<ADM00>", "<ADS00>", "<GLA00>", "<GLC00>", "<SUP00>", "<SUP02>",
    "<SUP03>", "<SUP04>", "<SUP05>", "<JVO00>", "<JVT00>", "<INV00>", "<INV01>", "<PAR00>", "<PAY00>",
    "<PAY01>", "<PAY02>", "<PAY03>", "<RAP00>", "<E&I00>", "<TUT00>", "<ABO00>"};

std::size_t Words(const std::string& text) {
  std::istringstream in(text);
  std::string w;
  std::size_t n = 0;
  while (in >> w) ++n;
  return n;
}

bool Readable(const std::string& cp1252) {
  for (unsigned char c : cp1252) {
    if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) return false;
  }
  return true;
}

struct Document {
  std::string name;
  std::vector<std::string> paragraphs;
  formkit::HelpDocument parsed;
};

Document Load(const std::string& name) {
  Document d{name, {}, {}};
  const std::string rtf = ReadBytes(std::filesystem::path(OMBRELO_HELP_FOLDER) / name);
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252")) << name;
  for (unsigned char c : rtf) {
    EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << name << ": byte " << int(c) << " in the rich text";
    if (!(c == '\n' || (c >= 0x20 && c < 0x7F))) break;
  }
  d.paragraphs = Paragraphs(rtf);
  d.parsed = formkit::ParseHelpDocument(d.paragraphs);
  return d;
}

class ShippedHelpTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    documents = new std::vector<Document>{Load("helpenglish.rtf"), Load("helpNederlands.rtf"),
                                          Load("helpDeutsch.rtf")};
  }
  static void TearDownTestSuite() {
    delete documents;
    documents = nullptr;
  }
  static std::vector<Document>* documents;
};
std::vector<Document>* ShippedHelpTest::documents = nullptr;

TEST_F(ShippedHelpTest, EveryParagraphIsReadableText) {
  for (const Document& d : *documents) {
    ASSERT_FALSE(d.paragraphs.empty()) << d.name;
    for (std::size_t i = 0; i < d.paragraphs.size(); ++i) {
      EXPECT_TRUE(Readable(d.paragraphs[i])) << d.name << ": paragraph " << i << ": " << d.paragraphs[i];
    }
  }
}

TEST_F(ShippedHelpTest, StartMarkTopicsAndClosingHeading) {
  for (const Document& d : *documents) {
    SCOPED_TRACE(d.name);
    EXPECT_TRUE(d.parsed.started);
    EXPECT_GE(d.parsed.preamble, 1u) << "a preamble line names the document";
    ASSERT_FALSE(d.parsed.topics.empty());
    EXPECT_EQ(d.parsed.topics.front().tag, "") << "the first topic is the general help";
    EXPECT_EQ(d.parsed.topics.front().level, 1);
    ASSERT_TRUE(d.parsed.closingLine);
    EXPECT_EQ(*d.parsed.closingLine + 1, d.parsed.shown.size()) << "the closing heading is the last paragraph";
    EXPECT_LE(d.parsed.topics.size() + 1, 99u) << "the viewer of older versions takes up to 99 headings";

    std::multiset<std::string> tags;
    for (const auto& t : d.parsed.topics) {
      if (!t.tag.empty()) tags.insert(t.tag);
      EXPECT_FALSE(t.caption.empty());
      EXPECT_FALSE(t.caption.starts_with("<")) << t.caption;
    }
    for (const std::string& tag : kFormTags) EXPECT_EQ(tags.count(tag), 1u) << tag;
    EXPECT_EQ(tags.size(), kFormTags.size()) << "no tag the forms do not ask for";
  }
}

TEST_F(ShippedHelpTest, BodyParagraphsAreNeverTakenForMarks) {
  for (const Document& d : *documents) {
    std::set<std::size_t> headingLines;
    for (const auto& t : d.parsed.topics) headingLines.insert(t.line);
    headingLines.insert(*d.parsed.closingLine);
    for (std::size_t i = 0; i < d.parsed.shown.size(); ++i) {
      if (headingLines.count(i)) continue;
      EXPECT_FALSE(d.parsed.shown[i].starts_with("<")) << d.name << ": " << d.parsed.shown[i];
    }
  }
}

TEST_F(ShippedHelpTest, SameTopicsInTheSameOrderAndTreeInEveryLanguage) {
  const auto& english = (*documents)[0].parsed.topics;
  for (const Document& d : *documents) {
    SCOPED_TRACE(d.name);
    ASSERT_EQ(d.parsed.topics.size(), english.size());
    for (std::size_t i = 0; i < english.size(); ++i) {
      EXPECT_EQ(d.parsed.topics[i].tag, english[i].tag) << "topic " << i;
      EXPECT_EQ(d.parsed.topics[i].level, english[i].level) << "topic " << i;
      EXPECT_EQ(d.parsed.topics[i].parent, english[i].parent) << "topic " << i;
    }
  }
}

TEST_F(ShippedHelpTest, EveryTopicHasBetween100And400Words) {
  for (const Document& d : *documents) {
    const auto& topics = d.parsed.topics;
    for (std::size_t i = 0; i < topics.size(); ++i) {
      const std::size_t end = i + 1 < topics.size() ? topics[i + 1].line : *d.parsed.closingLine;
      std::size_t words = 0;
      for (std::size_t line = topics[i].line + 1; line < end; ++line) words += Words(d.parsed.shown[line]);
      EXPECT_GE(words, 100u) << d.name << ": " << topics[i].caption;
      EXPECT_LE(words, 400u) << d.name << ": " << topics[i].caption;
    }
  }
}

// The topic of `tag`: its shown paragraphs joined by line breaks.
std::string TopicText(const Document& d, const std::string& tag) {
  const auto& topics = d.parsed.topics;
  for (std::size_t i = 0; i < topics.size(); ++i) {
    if (topics[i].tag != tag) continue;
    const std::size_t end = i + 1 < topics.size() ? topics[i + 1].line : *d.parsed.closingLine;
    std::string text;
    for (std::size_t line = topics[i].line + 1; line < end; ++line) text += d.parsed.shown[line] + "\n";
    return text;
  }
  ADD_FAILURE() << d.name << ": no topic " << tag;
  return {};
}

// What a new user reads, in every language: the administration settings,
// the reports and the tutorial lead through period 00 (a new
// administration's book year 2008, the opening balances as start amounts,
// the freeze of the opening); the bank account and the VAT number are on
// the partner's second details tab; the import profile's own account column
// is required and its column fields count from 0.
TEST_F(ShippedHelpTest, TheFirstStepsAndTheFieldsAreWhereTheFormsHaveThem) {
  struct Words {
    std::string startAmount, vatNumber, zeroColumn, ownAccountRequired;
  };
  const std::vector<Words> words = {
      {"start amounts", "VAT number", "a field holding 0 means the first column", "own account column is required"},
      {"bedragen op begindatum", "btw-nummer", "een veld met 0 betekent de eerste kolom", "kolom eigen rekening is verplicht"},
      {cp1252::FromUtf8("Beträge am Startdatum"), "USt-IdNr.", "Ein Feld mit 0 bedeutet die erste Spalte",
       "Spalte des eigenen Kontos ist Pflicht"},
  };
  ASSERT_EQ(documents->size(), words.size());
  for (std::size_t k = 0; k < words.size(); ++k) {
    const Document& d = (*documents)[k];
    const Words& w = words[k];
    SCOPED_TRACE(d.name);
    const std::string settings = TopicText(d, "<ADS00>"), reports = TopicText(d, "<RAP00>");
    for (const std::string& needed : {std::string("2008"), std::string(" 00"), w.startAmount})
      EXPECT_NE(settings.find(needed), std::string::npos) << needed;
    for (const std::string& needed : {std::string("2026-00/00"), std::string("2026-01/12"), w.startAmount})
      EXPECT_NE(reports.find(needed), std::string::npos) << needed;
    EXPECT_NE(TopicText(d, "<TUT00>").find(" 00"), std::string::npos);
    EXPECT_NE(TopicText(d, "<SUP02>").find(w.vatNumber), std::string::npos);
    EXPECT_EQ(TopicText(d, "<SUP00>").find(w.vatNumber), std::string::npos);
    const std::string import = TopicText(d, "<PAY02>");
    EXPECT_NE(import.find(w.zeroColumn), std::string::npos);
    EXPECT_NE(import.find(w.ownAccountRequired), std::string::npos);
  }
}

// The generator, run on small sources.
class HelpgenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("helpgen_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  int Run(const std::string& source) {
    std::ofstream(dir / "help.txt", std::ios::binary) << source;
    const std::string cmd = std::string("\"") + OMBRELO_HELPGEN + "\" \"" + (dir / "help.txt").string() + "\" \"" +
                            (dir / "out.rtf").string() + "\" 2> \"" + (dir / "err.txt").string() + "\"";
    const int status = std::system(cmd.c_str());
    errors = ReadBytes(dir / "err.txt");
    return status;
  }

  std::filesystem::path dir;
  std::string errors;
};

TEST_F(HelpgenTest, WritesTheRichTextSubset) {
  ASSERT_EQ(Run("# comment\nTitle\r\n<0><1>Caf\xC3\xA9 {x}\nA **bold** word \\ here.\n\n<2><GLA00>Accounts\n<1>End\n\n"),
            0)
      << errors;
  EXPECT_EQ(ReadBytes(dir / "out.rtf"),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\fs20\n"
            "Title\\par\n"
            "{\\b\\fs32 <0><1>Caf\\'e9 \\{x\\}}\\par\n"
            "A {\\b bold} word \\\\ here.\\par\n"
            "\\par\n"
            "{\\b\\fs26 <2><GLA00>Accounts}\\par\n"
            "{\\b\\fs32 <1>End}\\par\n"
            "}\n");
  EXPECT_EQ(Paragraphs(ReadBytes(dir / "out.rtf")), (std::vector<std::string>{"Title", "<0><1>Caf\xE9 {x}", "A bold word \\ here.", "",
                                                       "<2><GLA00>Accounts", "<1>End"}));
}

TEST_F(HelpgenTest, RefusesFaultySourcesAndWritesNothing) {
  struct Case {
    const char* source;
    const char* fault;
  };
  const Case cases[] = {
      {"Title\n<1>A\n<1>End\n", "no start mark"},
      {"<0><1>A\n<0>again\n<1>End\n", "help.txt:2: a second start mark"},
      {"<0><1>A\n<x> text\n<1>End\n", "help.txt:2: a paragraph must not start with"},
      {"<0><1>A\n<4>deep\n<1>End\n", "help.txt:2: a paragraph must not start with"},
      {"<0><1><Caption\n<1>End\n", "help.txt:1: a caption must not start with"},
      {"<0><1><GLA00>\n<1>End\n", "help.txt:1: a heading without a caption"},
      {"<0><1>A\nbad \xC3(\n<1>End\n", "help.txt:2: not valid UTF-8"},
      {"<0><1>A\nno \xE2\x82\xBF here\n<1>End\n", "help.txt:2: not valid UTF-8, or a character"},
      {"<0><1>A\na\ttab\n<1>End\n", "help.txt:2: a control character"},
      {"<0><1>A\nopen **bold\n<1>End\n", "help.txt:2: a bold switch"},
      {"<0>only text\n", "no heading"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    std::filesystem::remove(dir / "out.rtf");
    EXPECT_NE(Run(c.source), 0);
    EXPECT_NE(errors.find(c.fault), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.rtf"));
  }
}

}  // namespace
