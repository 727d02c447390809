// Reading rich text: the formatting the reports and help texts use, the
// state a marker or padding line leaves, pages, and damaged input.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ui/rtfreader.h"

namespace {

using ui::ReadRtf;
using ui::RtfAlign;

std::vector<std::string> Texts(const ui::RtfDocument& d) {
  std::vector<std::string> out;
  for (const auto& p : d.paragraphs) out.push_back(p.Text());
  return out;
}

TEST(RtfReader, HeaderTablesAndCharacterFormatting) {
  const auto d = ReadRtf(
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern Courier New;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;}\\paperw16838\\paperh11906\\margl800\\landscape\r\n"
      "{\\*\\generator Some writer;}{\\info{\\title T}}\\pard\\plain\\fs20 plain {\\b bold}{\\i\\cf1 red} "
      "\\f1\\ul under\\ulnone  done\\par}");
  ASSERT_EQ(d.paragraphs.size(), 1u);
  const auto& runs = d.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 6u);
  EXPECT_EQ(runs[0].text, "plain ");
  EXPECT_EQ(runs[0].format.font, "Arial");
  EXPECT_EQ(runs[0].format.sizeHalfPoints, 20);
  EXPECT_TRUE(runs[1].format.bold);
  EXPECT_EQ(runs[1].text, "bold");
  EXPECT_TRUE(runs[2].format.italic);
  EXPECT_EQ(runs[2].format.color, (ui::RtfColor{255, 0, 0}));
  EXPECT_FALSE(runs[3].format.bold) << "a group's formatting ends with it";
  EXPECT_FALSE(runs[3].format.color);
  EXPECT_EQ(runs[4].text, "under");
  EXPECT_FALSE(runs[5].format.underline);
  EXPECT_EQ(runs[4].format.font, "Courier New");
  EXPECT_TRUE(runs[4].format.underline);
  EXPECT_EQ(d.paperWidth, 16838);
  EXPECT_EQ(d.paperHeight, 11906);
  EXPECT_EQ(d.marginLeft, 800);
  EXPECT_TRUE(d.landscape);
  EXPECT_EQ(d.paragraphs[0].Text(), "plain boldred under done");
}

TEST(RtfReader, CharactersEscapesAndUnicode) {
  struct Case {
    const char* rtf;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"{\\rtf1 a\\\\b\\{c\\}\\par}", "a\\b{c}"},
      {"{\\rtf1 caf\\'e9 \\'80 \xE9\\par}", "caf\xC3\xA9 \xE2\x82\xAC \xC3\xA9"},
      {"{\\rtf1 a\\~b\\-c\\_d\\par}", "a\xC2\xA0" "bc-d"},
      {"{\\rtf1\\uc1 x\\u8364?y\\u-4064?\\par}", "x\xE2\x82\xAC" "y\xEF\x80\xA0"},
      {"{\\rtf1\\uc2 \\u8364\\'80\\'80z\\par}", "\xE2\x82\xAC" "z"},
      {"{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\par}",
       "\xE2\x80\x94\xE2\x80\x93\xE2\x80\xA2\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D"},
      {"{\\rtf1 one\\tab two\\line three\\par}", "one\ttwo\nthree"},
      {"{\\rtf1 li\r\nne\\par}", "line"},
      {"{\\rtf1 \\unknownword12 kept\\par}", "kept"},
  };
  for (const Case& c : cases) {
    const auto d = ReadRtf(c.rtf);
    ASSERT_EQ(d.paragraphs.size(), 1u) << c.rtf;
    EXPECT_EQ(d.paragraphs[0].Text(), c.text) << c.rtf;
  }
}

TEST(RtfReader, ParagraphFormattingLastsUntilPard) {
  const auto d = ReadRtf(
      "{\\rtf1\\pard\\qr\\li100\\ri50\\fi-20\\sb60\\sa30\\tx1000\\tqr\\tx5000 one\\par two\\par"
      "\\pard three\\par}");
  ASSERT_EQ(d.paragraphs.size(), 3u);
  for (int i : {0, 1}) {
    const auto& p = d.paragraphs[static_cast<std::size_t>(i)];
    EXPECT_EQ(p.align, RtfAlign::Right);
    EXPECT_EQ(p.leftIndent, 100);
    EXPECT_EQ(p.rightIndent, 50);
    EXPECT_EQ(p.firstIndent, -20);
    EXPECT_EQ(p.spaceBefore, 60);
    EXPECT_EQ(p.spaceAfter, 30);
    EXPECT_EQ(p.tabs, (std::vector<ui::RtfTabStop>{{1000, ui::RtfTabStop::Left}, {5000, ui::RtfTabStop::Right}}));
  }
  EXPECT_EQ(d.paragraphs[2].align, RtfAlign::Left);
  EXPECT_TRUE(d.paragraphs[2].tabs.empty());
}

TEST(RtfReader, AMarkerLineLeavesItsCentreAndSizeToTheNextLineUnlessItResets) {
  const auto d = ReadRtf(
      "{\\rtf1\\fs20\n"
      "\\fs18\\qc .   .  . . . ...new page 1 ... . . .  .   .\\par\n"
      "inherits\\par\n"
      "\\fs4\\par\n"
      "\\pard\\plain\\fs20 resets\\par\n}");
  ASSERT_EQ(d.paragraphs.size(), 4u);
  EXPECT_EQ(d.paragraphs[1].align, RtfAlign::Center);
  EXPECT_EQ(d.paragraphs[1].runs[0].format.sizeHalfPoints, 18);
  EXPECT_EQ(d.paragraphs[2].sizeHalfPoints, 4) << "padding: an empty 2-point line";
  EXPECT_TRUE(d.paragraphs[2].runs.empty());
  EXPECT_EQ(d.paragraphs[3].align, RtfAlign::Left);
  EXPECT_EQ(d.paragraphs[3].runs[0].format.sizeHalfPoints, 20);
}

TEST(RtfReader, PagesAreCutAtWholeMarkerParagraphsAndPageBreaks) {
  const auto d = ReadRtf(
      "{\\rtf1 a\\par\n"
      "\\fs18\\qc .   .  . . . ...new page 1 ... . . .  .   .\\par\n"
      "b says .   .  . . . ...new page 2 ... . . .  .   .\\par\n"
      "\\fs18\\qc .   .  . . . ...new page 12 ... . . .  .   .\\par\n"
      "c\\par\\page d\\par}");
  const auto pages = ui::SplitPages(d);
  ASSERT_EQ(pages.size(), 4u);
  EXPECT_EQ(pages[0].size(), 1u);
  EXPECT_EQ(pages[1].size(), 1u) << "text holding the marker's words is no marker";
  EXPECT_EQ(pages[2][0].Text(), "c");
  EXPECT_EQ(pages[3][0].Text(), "d");
  EXPECT_EQ(ui::WithoutMarkers(d).size(), 4u);
  EXPECT_EQ(ui::SplitPages(ReadRtf("")).size(), 1u);
}

TEST(RtfReader, DamagedInputNeverRaisesAndKeepsWhatItCan) {
  struct Case {
    std::string rtf;
    std::vector<std::string> texts;
  };
  const std::vector<Case> cases = {
      {"{\\rtf1 open groups {\\b never closed", {"open groups never closed"}},
      {"{\\rtf1 extra}}} close\\par}", {"extra close"}},
      {"no header at all\\par", {"no header at all"}},
      {"{\\rtf1 bad hex \\'zz end\\par}", {"bad hex zz end"}},
      {"{\\rtf1 trailing backslash \\", {"trailing backslash "}},
      {"{\\rtf1 {\\*\\unknowndest skipped {nested}} shown\\par}", {" shown"}},
      {"{\\rtf1 \\fs99999999999 huge\\par}", {"huge"}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Texts(ReadRtf(c.rtf)), c.texts) << c.rtf;
  std::mt19937 random(7);
  const std::string alphabet = "{}\\'abcfsuxpar0129 -*;\r\n";
  for (int i = 0; i < 2000; ++i) {
    std::string junk;
    for (int j = 0; j < 60; ++j) junk += alphabet[random() % alphabet.size()];
    EXPECT_NO_THROW(ui::SplitPages(ReadRtf(junk))) << junk;
  }
}

}  // namespace
