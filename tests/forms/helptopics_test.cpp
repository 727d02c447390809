// The help document's topic table: preamble, marks and tags cut, the tree's
// parents, the closing heading, positioning by tag and by click, and the
// documents that must not harm the view.
#include "formkit/helptopics.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using formkit::HelpDocument;
using formkit::ParseHelpDocument;
using formkit::PositionForTag;
using formkit::PositionForTopic;

std::vector<std::string> Captions(const HelpDocument& d) {
  std::vector<std::string> out;
  for (const auto& t : d.topics) out.push_back(t.caption);
  return out;
}

// A parent as the caption of the parent topic, "root" for none.
std::vector<std::string> Parents(const HelpDocument& d) {
  std::vector<std::string> out;
  for (const auto& t : d.topics) out.push_back(t.parent ? d.topics[*t.parent].caption : "root");
  return out;
}

TEST(HelpTopicsTest, TheFiveLineDocument) {
  const HelpDocument d =
      ParseHelpDocument({"preamble", "<0><1><GLA00>Accounts", "Some text.", "<2>Details", "<1>End"});
  EXPECT_TRUE(d.started);
  EXPECT_EQ(d.preamble, 1u);
  EXPECT_EQ(d.shown, (std::vector<std::string>{"Accounts", "Some text.", "Details", "End"}));
  EXPECT_EQ(d.cut, (std::vector<std::size_t>{13, 0, 3, 3}));
  ASSERT_EQ(d.topics.size(), 2u) << "End closes the document and is no topic";
  EXPECT_EQ(d.topics[0].tag, "<GLA00>");
  EXPECT_EQ(d.topics[0].line, 0u);
  EXPECT_EQ(d.topics[1].line, 2u);
  EXPECT_EQ(d.topics[1].parent, std::optional<std::size_t>(0));
  EXPECT_EQ(d.closingLine, std::optional<std::size_t>(3));
  const auto at = PositionForTag(d, "<GLA00>");
  EXPECT_EQ(at.topic, std::optional<std::size_t>(0));
  EXPECT_EQ(at.line, 0u);
}

TEST(HelpTopicsTest, ParentsFollowTheLevels) {
  const HelpDocument d = ParseHelpDocument(
      {"<0>", "<1>A", "<2>B", "<3>C", "<3>D", "<2>E", "<1>F", "<3>G", "<1>End"});
  EXPECT_EQ(Captions(d), (std::vector<std::string>{"A", "B", "C", "D", "E", "F", "G"}));
  EXPECT_EQ(Parents(d), (std::vector<std::string>{"root", "A", "B", "B", "A", "root", "F"}))
      << "a level 3 without a level 2 of its level 1 goes under the level 1";
}

TEST(HelpTopicsTest, HeadingsBeforeAnyLevelOneGoUnderTheRoot) {
  const HelpDocument d = ParseHelpDocument({"<0><3>X", "<2>Y", "<3>Z", "<1>End"});
  EXPECT_EQ(Parents(d), (std::vector<std::string>{"root", "root", "Y"}));
}

TEST(HelpTopicsTest, MarksAndTagsOnlyWhereTheyAreReal) {
  struct Case {
    const char* paragraph;
    const char* shown;
    int level;  // 0: no heading
    const char* tag;
  };
  const Case cases[] = {
      {"<4>x", "<4>x", 0, ""},                     // another level stays text
      {"<1><GLA00>Accounts", "Accounts", 1, "<GLA00>"},
      {"<2><E&I00>Export", "Export", 2, "<E&I00>"},
      {"<1><Note> on caption", "<Note> on caption", 1, ""},  // "<" caption keeps its text
      {"<1><gla00>x", "<gla00>x", 1, ""},          // small letters are no tag
      {"<1><GLA0X>x", "<GLA0X>x", 1, ""},
      {"<1><GL", "<GL", 1, ""},                    // short: never read past the end
      {"<1>", "", 1, ""},
      {"<1", "<1", 0, ""},
      {"<", "<", 0, ""},
      {"", "", 0, ""},
      {"<0><2>Two marks", "Two marks", 2, ""},     // a later start mark is cut as well
      {"text <1>inside", "text <1>inside", 0, ""},
  };
  for (const Case& c : cases) {
    const HelpDocument d = ParseHelpDocument({"<0>", c.paragraph, "<1>End"});
    SCOPED_TRACE(c.paragraph);
    ASSERT_EQ(d.shown.size(), 3u);
    EXPECT_EQ(d.shown[1], c.shown);
    EXPECT_EQ(d.cut[1] + d.shown[1].size(), std::string(c.paragraph).size());
    if (c.level == 0) {
      EXPECT_TRUE(d.topics.empty());
    } else {
      ASSERT_EQ(d.topics.size(), 1u);
      EXPECT_EQ(d.topics[0].level, c.level);
      EXPECT_EQ(d.topics[0].tag, c.tag);
      EXPECT_EQ(d.topics[0].caption, c.shown);
    }
  }
}

TEST(HelpTopicsTest, DocumentsThatMustNotHarmTheView) {
  // No start mark: nothing is preamble, the marks are text, no topics.
  HelpDocument d = ParseHelpDocument({"title", "<1><GLA00>Accounts", "<1>End"});
  EXPECT_FALSE(d.started);
  EXPECT_EQ(d.preamble, 0u);
  EXPECT_EQ(d.shown, (std::vector<std::string>{"title", "<1><GLA00>Accounts", "<1>End"}));
  EXPECT_TRUE(d.topics.empty());
  EXPECT_FALSE(PositionForTag(d, "<GLA00>").topic);
  EXPECT_EQ(PositionForTag(d, "<GLA00>").line, 0u);

  // A mark before the start mark is part of the preamble.
  d = ParseHelpDocument({"<1>Early", "<0>Start", "<1>A", "<1>End"});
  EXPECT_EQ(d.preamble, 1u);
  EXPECT_EQ(Captions(d), (std::vector<std::string>{"A"}));

  // No heading, and one heading only (it closes the document).
  d = ParseHelpDocument({"<0>Only text", "more"});
  EXPECT_TRUE(d.topics.empty());
  EXPECT_FALSE(d.closingLine);
  EXPECT_FALSE(PositionForTopic(d, 0).topic);
  d = ParseHelpDocument({"<0><1>Alone"});
  EXPECT_TRUE(d.topics.empty());
  EXPECT_EQ(d.closingLine, std::optional<std::size_t>(0));

  // An empty document.
  d = ParseHelpDocument({});
  EXPECT_TRUE(d.shown.empty());
  EXPECT_FALSE(PositionForTag(d, "").topic);

  // 150 headings: no limit.
  std::vector<std::string> many{"<0>"};
  for (int i = 0; i < 150; ++i) many.push_back("<2>Topic " + std::to_string(i));
  many.push_back("<1>End");
  d = ParseHelpDocument(many);
  ASSERT_EQ(d.topics.size(), 150u);
  EXPECT_EQ(d.topics[149].line, 150u);
  EXPECT_EQ(PositionForTopic(d, 149).line, 150u);
}

TEST(HelpTopicsTest, Positioning) {
  const HelpDocument d = ParseHelpDocument({"<0><1>General", "text", "<1><GLA00>Accounts", "<2>Same",
                                            "<1><GLC00>Categories", "<2>Same", "<2><GLC00>Again", "<1>End"});
  struct Case {
    const char* tag;
    std::size_t topic;
    std::size_t line;
  };
  const Case byTag[] = {
      {"", 0, 0},          // no tag: the first topic
      {"<XYZ00>", 0, 0},   // unknown tag: the first topic
      {"<GLA00>", 1, 2},
      {"<GLC00>", 3, 4},   // the first topic carrying it
  };
  for (const Case& c : byTag) {
    SCOPED_TRACE(c.tag);
    const auto at = PositionForTag(d, c.tag);
    EXPECT_EQ(at.topic, std::optional<std::size_t>(c.topic));
    EXPECT_EQ(at.line, c.line);
  }
  // Two topics captioned "Same": each click shows its own.
  EXPECT_EQ(PositionForTopic(d, 2).line, 3u);
  EXPECT_EQ(PositionForTopic(d, 4).line, 5u);
  EXPECT_EQ(PositionForTopic(d, 99).topic, std::optional<std::size_t>(0));
}

TEST(HelpTopicsTest, FileNameByLanguage) {
  EXPECT_EQ(formkit::HelpFileNameFor("Deutsch"), "helpDeutsch.rtf");
  EXPECT_EQ(formkit::HelpFileNameFor("Nederlands"), "helpNederlands.rtf");
  EXPECT_EQ(formkit::HelpFileNameFor("English"), "helpenglish.rtf");
  EXPECT_EQ(formkit::HelpFileNameFor("Fran\xE7"
                                     "ais"),
            "helpenglish.rtf");
  EXPECT_EQ(formkit::HelpFileNameFor("deutsch"), "helpenglish.rtf") << "names compare exactly";
}

}  // namespace
