// The help form, headless: the text it shows without preamble, marks and
// tags (formatting kept), the topic tree, the positioning by tag and by
// click, the language switch, the documents that must not harm it, the file
// fallback with its messages, the captions, the keys and the web actions.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "formkit/helptext.h"
#include "formkit/helpunit.h"
#include "platform/cp1252.h"
#include "platform/oserror.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "text/languagetext.h"
#include "support/fakefs.h"
#include "ui/headless.h"

namespace {

using formkit::Thelpform;

// A help document in the generator's rich-text subset: a paragraph that
// starts with "<" is a bold heading, any other plain text.
std::string Rtf(const std::vector<std::string>& paragraphs) {
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\fs20\n";
  for (const std::string& p : paragraphs) {
    std::string text;
    for (char c : p) {
      if (c == '\\' || c == '{' || c == '}') text += '\\';
      text += c;
    }
    out += p.starts_with("<") ? "{\\b\\fs32 " + text + "}\\par\n" : text + "\\par\n";
  }
  return out + "}\n";
}

const std::vector<std::string> kFiveLines = {"preamble", "<0><1><GLA00>Accounts", "Some text.", "<2>Details",
                                             "<1>End"};

class HelpFormTest : public ::testing::Test {
 protected:
  HelpFormTest() { formkit::helpform = &form; }
  ~HelpFormTest() override { formkit::helpform = nullptr; }

  void Ship(const std::string& file, const std::vector<std::string>& paragraphs) {
    store.fs.SetFile("/w/" + file, Rtf(paragraphs));
  }
  // Shows the help as a form does, in `language`, asking for `tag`, and
  // runs `script` while it shows.
  void Open(const std::string& language, const std::string& tag, const std::function<void()>& script = {}) {
    formkit::HelpCaptionBlockRec block;
    block.LanguageName = language;
    backend.scripts["helpform"] = [&](ui::Form&) {
      if (script) script();
    };
    formkit::RequestedHelpTag = tag;
    formkit::HelpCaptionBlock = block;
    form.ShowModal();
  }

  // The tree, one line per node: two blanks per level and the text.
  std::vector<std::string> Tree() const {
    std::vector<std::string> out;
    for (ui::TreeNode* n : form.TreeView1.AllNodes()) out.push_back(std::string(2 * n->Level(), ' ') + n->GetText());
    return out;
  }
  std::string Selected() const { return form.TreeView1.Selected() ? form.TreeView1.Selected()->GetText() : "-"; }
  std::vector<std::string> ShownLines() const {
    std::vector<std::string> out;
    for (const auto& p : form.RichEdit1.Document().paragraphs) out.push_back(p.Text());
    return out;
  }

  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  Thelpform form;
};

TEST_F(HelpFormTest, TheFiveLineDocumentShowsWithoutPreambleMarksAndTagAndKeepsItsFormat) {
  Ship("helpenglish.rtf", kFiveLines);
  Open("English", "<GLA00>");
  EXPECT_EQ(Tree(), (std::vector<std::string>{"Contents", "  Accounts", "    Details"})) << "End closes the document";
  EXPECT_EQ(ShownLines(), (std::vector<std::string>{"Accounts", "Some text.", "Details", "End"}));
  const auto& first = form.RichEdit1.Document().paragraphs.front();
  ASSERT_EQ(first.runs.size(), 1u);
  EXPECT_TRUE(first.runs[0].format.bold);
  EXPECT_EQ(first.runs[0].format.sizeHalfPoints, 32);
  EXPECT_EQ(Selected(), "Accounts");
  EXPECT_EQ(form.RichEdit1.TopParagraph(), 0);
  EXPECT_EQ(formkit::LastHelpTag, "<GLA00>");
  EXPECT_EQ(formkit::RequestedHelpTag, "") << "the request is used up";
  EXPECT_TRUE(backend.messages.empty());
}

TEST(HelpTextTest, CutsTakeTheFirstRunsAndKeepTheRest) {
  // "<0>" in a run of its own, the level mark and tag split over two runs,
  // the caption in a third: the emptied runs go, the caption keeps its
  // italic format, the paragraph its indent.
  const ui::RtfDocument read = ui::ReadRtf(
      "{\\rtf1\\ansi pre\\par\\pard\\li720 <0>{\\b <1><GL}{\\b\\ul A00>Ac}{\\i counts}\\par body\\par <1>End\\par}");
  const formkit::HelpDocument topics = formkit::ParseHelpDocument(formkit::ParagraphTexts(read));
  const ui::RtfDocument shown = formkit::ShownHelpText(read, topics);
  ASSERT_EQ(shown.paragraphs.size(), 3u);
  const auto& heading = shown.paragraphs[0];
  EXPECT_EQ(heading.Text(), "Accounts");
  ASSERT_EQ(heading.runs.size(), 2u);
  EXPECT_EQ(heading.runs[0].text, "Ac");
  EXPECT_TRUE(heading.runs[0].format.underline);
  EXPECT_TRUE(heading.runs[1].format.italic);
  EXPECT_EQ(heading.leftIndent, 720);
  EXPECT_EQ(shown.paragraphs[1].Text(), "body");
  EXPECT_EQ(shown.paragraphs[2].Text(), "End");
}

TEST_F(HelpFormTest, TheTreeFollowsTheLevels) {
  Ship("helpenglish.rtf", {"<0>", "<1>A", "<2>B", "<3>C", "<3>D", "<2>E", "<1>F", "<3>G", "<1>End"});
  Open("English", "");
  EXPECT_EQ(Tree(), (std::vector<std::string>{"Contents", "  A", "    B", "      C", "      D", "    E", "  F",
                                              "    G"}))
      << "a level 3 without a level 2 of its level 1 goes under the level 1";
  EXPECT_EQ(Selected(), "A") << "no tag: the first topic";
}

TEST_F(HelpFormTest, NoDocumentHarmsTheView) {
  std::vector<std::string> many;
  for (int i = 1; i <= 150; ++i) many.push_back((i == 1 ? "<0><1>Topic " : "<1>Topic ") + std::to_string(i));
  many.push_back("<1>End");
  struct Case {
    const char* name;
    std::vector<std::string> document;
    std::size_t nodes;            // the root included
    std::size_t shown;            // paragraphs
    std::string firstLine;
  };
  const std::vector<Case> cases = {
      {"no start mark", {"Title", "<1><GLA00>Accounts", "text", "<1>End"}, 0, 4, "Title"},
      {"no heading", {"Title", "<0>Only text", "more"}, 0, 2, "Only text"},
      {"a mark before the start mark", {"<1>Early", "<0><1>A", "<1>End"}, 2, 2, "A"},
      {"level 4 stays text", {"<0><1>A", "<4>x", "<1>End"}, 2, 3, "A"},
      {"caption starting with <", {"<0><1><Caption", "<1><AB>", "<1>End"}, 3, 3, "<Caption"},
      {"a short paragraph", {"<0><1>A", "<", "<1", "<1>", "<1>End"}, 3, 5, "A"},
      {"150 headings", many, 151, 151, "Topic 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Ship("helpenglish.rtf", c.document);
    Open("English", "<GLA00>");
    EXPECT_EQ(form.TreeView1.AllNodes().size(), c.nodes);
    EXPECT_EQ(ShownLines().size(), c.shown);
    if (!ShownLines().empty()) {
      EXPECT_EQ(ShownLines().front(), c.firstLine);
    }
    EXPECT_EQ(form.RichEdit1.TopParagraph(), 0);
    EXPECT_TRUE(backend.messages.empty());
  }
  // Bytes that are no rich text at all show as text.
  store.fs.SetFile("/w/helpenglish.rtf", std::string("\0\xff}{\\\\'zz\\bin", 11));
  Open("English", "");
  EXPECT_TRUE(form.TreeView1.AllNodes().empty());
}

TEST_F(HelpFormTest, PositioningByTagAndByClick) {
  Ship("helpenglish.rtf", {"pre", "<0><1>General", "a", "<1><GLA00>Accounts", "b", "<2>Same", "c", "<1><GLC00>Same",
                           "d", "<1>End"});
  struct Case {
    const char* name;
    std::function<void()> act;
    std::string selected;
    int top;
  };
  auto click = [&](std::size_t node) {
    return [&, node] {
      // As the front end reports a click: the selection when it moved, then
      // the click.
      form.TreeView1.UserSelect(form.TreeView1.AllNodes()[node]);
      form.TreeView1.UserClick();
    };
  };
  const std::vector<Case> cases = {
      {"the tag's topic", [&] { Open("English", "<GLC00>"); }, "Same", 6},
      {"an unknown tag: the first topic", [&] { Open("English", "<XYZ99>"); }, "General", 0},
      {"no tag: the first topic", [&] { Open("English", ""); }, "General", 0},
      {"a click on the first of two same captions", [&] { Open("English", "<GLC00>", click(3)); }, "Same", 4},
      {"a click on the second", [&] { Open("English", "", click(4)); }, "Same", 6},
      {"a click on the root: the top", [&] { Open("English", "<GLA00>", click(0)); }, "Contents", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.act();
    EXPECT_EQ(Selected(), c.selected);
    EXPECT_EQ(form.RichEdit1.TopParagraph(), c.top);
  }
  // A double click and the action show the selected topic as well.
  Open("English", "", [&] {
    form.TreeView1.Select(form.TreeView1.AllNodes()[2]);
    form.TreeView1.UserDblClick();
    EXPECT_EQ(form.RichEdit1.TopParagraph(), 2);
    form.TreeView1.Select(form.TreeView1.AllNodes()[4]);
    form.positierichedit.Execute();
    EXPECT_EQ(form.RichEdit1.TopParagraph(), 6);
  });
}

TEST_F(HelpFormTest, ALanguageSwitchKeepsATagReachedTopicAndNotAClickedOne) {
  Ship("helpenglish.rtf", {"<0><1>General", "text", "<1><GLA00>Accounts", "text", "<1>End"});
  Ship("helpDeutsch.rtf", {"Vorwort", "mehr", "<0><1>Allgemein", "Text", "Text", "<1><GLA00>Konten", "Text",
                           "<1>Ende"});
  std::string afterTag, afterClick;
  int topAfterTag = -1;
  Open("English", "<GLA00>", [&] {
    form.ComboBox1.UserSelect(form.ComboBox1.IndexOf("Deutsch"));
    afterTag = Selected();
    topAfterTag = form.RichEdit1.TopParagraph();
    form.TreeView1.UserClick();  // on Konten, selected already
    form.ComboBox1.UserSelect(form.ComboBox1.IndexOf("English"));
    afterClick = Selected();
  });
  EXPECT_EQ(afterTag, "Konten");
  EXPECT_EQ(topAfterTag, 3);
  EXPECT_EQ(afterClick, "General");
  EXPECT_EQ(formkit::HelpFileName, "helpenglish.rtf");
}

TEST_F(HelpFormTest, TheLanguageBoxPicksTheDocument) {
  Ship("helpenglish.rtf", {"<0><1>General", "<1>End"});
  Ship("helpNederlands.rtf", {"<0><1>Algemeen", "<1>Einde"});
  Ship("helpDeutsch.rtf", {"<0><1>Allgemein", "<1>Ende"});
  struct Case {
    std::string language, box, file, topic;
  };
  for (const Case& c : std::vector<Case>{{"Nederlands", "Nederlands", "helpNederlands.rtf", "Algemeen"},
                                         {"Deutsch", "Deutsch", "helpDeutsch.rtf", "Allgemein"},
                                         {"English", "English", "helpenglish.rtf", "General"},
                                         {cp1252::L("Français"), "English", "helpenglish.rtf", "General"},
                                         {"", "English", "helpenglish.rtf", "General"}}) {
    SCOPED_TRACE(c.language);
    Open(c.language, "");
    EXPECT_EQ(form.ComboBox1.GetText(), c.box);
    EXPECT_EQ(formkit::HelpFileName, c.file);
    EXPECT_EQ(Selected(), c.topic);
  }
}

TEST_F(HelpFormTest, AMissingDocumentFallsBackToEnglishWithOneMessage) {
  Ship("helpenglish.rtf", {"<0><1>General", "<1>End"});
  Open("Deutsch", "");
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: hen2 " + platform::OsErrorText(2));
  EXPECT_EQ(formkit::HelpFileName, "helpenglish.rtf");
  EXPECT_EQ(formkit::HelpLoadFailed, 0);
  EXPECT_EQ(Selected(), "General");
}

TEST_F(HelpFormTest, BothMissingGiveTwoMessagesAndAnEmptyViewAndTree) {
  Ship("helpenglish.rtf", {"<0><1>General", "<1>End"});
  Open("English", "");  // a document shown first, so that emptying shows
  store.fs.Delete("/w/helpenglish.rtf");
  Open("Nederlands", "<GLA00>");
  ASSERT_EQ(backend.messages.size(), 2u);
  EXPECT_EQ(backend.messages[1].text, "IO errorcode: hen2 " + platform::OsErrorText(2));
  EXPECT_EQ(formkit::HelpLoadFailed, 2);
  EXPECT_TRUE(form.TreeView1.AllNodes().empty());
  EXPECT_TRUE(form.RichEdit1.Document().paragraphs.empty());
}

TEST_F(HelpFormTest, TheFileIsTestedAlsoInsideAnOpenSetAndDamageIsReported) {
  // An open file set does not hide a missing document.
  int result = -1;
  store::OpenFileSet("USE", result);
  ASSERT_EQ(result, 0);
  Open("English", "");
  store::ForceCloseFileSet();
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: hen2 " + platform::OsErrorText(2));

  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"unreadable", [&] { store.fs.InjectError("/w/helpenglish.rtf", support::FakeFileSystem::Op::OpenRead, 5); },
       "IO errorcode: hen5 " + platform::OsErrorText(5)},
      {"too large", [&] { store.fs.SetFile("/w/helpenglish.rtf", std::string(formkit::kHelpFileLimit + 1, 'x')); },
       "The help file /w/helpenglish.rtf is damaged: it is larger than 16 MB."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Ship("helpenglish.rtf", {"<0><1>General", "<1>End"});
    c.arrange();
    backend.messages.clear();
    Open("English", "");
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text, c.message);
    EXPECT_TRUE(form.TreeView1.AllNodes().empty());
    store.fs.ClearErrors();
  }
}

TEST_F(HelpFormTest, CaptionsComeFromTheBlockOrTheProgramsOwnTexts) {
  Ship("helpenglish.rtf", {"<0><1>General", "<1>End"});
  formkit::HelpCaptionBlockRec block{"Bestand", "Afsluiten", "Annuleren", "Nederlands", "Inhoudsopg"};
  formkit::HelpCaptionBlock = block;
  form.ShowModal();
  EXPECT_EQ(form.Button1.Caption(), "Annuleren");
  EXPECT_EQ(form.File1.Caption(), "Bestand");
  EXPECT_EQ(form.Sluiten1.Caption(), "Afsluiten");
  EXPECT_EQ(form.Label1.Caption(), " Inhoudsopg");
  EXPECT_EQ(form.Caption(), " Ombrelo Account : Inhoudsopg");
  EXPECT_EQ(form.TreeView1.AllNodes().front()->GetText(), "Inhoudsopg");

  // An empty block (no language routine ran for the opening form): the
  // program's texts in the language in use.
  text::CurrentLanguage = text::BuiltInEnglish();
  text::CurrentLanguage.SetL(0, "Deutsch");
  formkit::HelpCaptionBlock = {};
  form.ShowModal();
  EXPECT_EQ(form.Button1.Caption(), "Abbrechen");
  EXPECT_EQ(form.File1.Caption(), "Datei");
  EXPECT_EQ(form.Sluiten1.Caption(), "Beenden");
  EXPECT_EQ(form.Caption(), " Ombrelo Account : Inhalt");
}

TEST_F(HelpFormTest, EscapeTheButtonTheToolButtonAndExitClose) {
  Ship("helpenglish.rtf", {"<0><1>General", "<1>End"});
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"Escape", [&] { form.UserKeyDown(ui::keys::Escape); }},
      {"Button1", [&] { form.Button1.UserClick(); }},
      {"ToolButton1", [&] { form.ToolButton1.UserClick(); }},
      {"Sluiten1", [&] { form.Sluiten1.UserClick(); }},
  };
  for (const auto& [name, close] : ways) {
    bool closed = false;
    Open("English", "", [&] {
      close();
      closed = !form.InModalLoop();
    });
    EXPECT_TRUE(closed) << name;
  }
}

TEST_F(HelpFormTest, TheWebActionsOpenTheirPages) {
  form.BrowseURL1URL = "https://example.test/indexde.html";
  form.BrowseURL1.Execute();
  form.BrowseURL1URL.clear();
  formkit::HelpCaptionBlock.LanguageName = "Nederlands";
  form.BrowseURL1.Execute();
  form.BrowseURL2.Execute();
  ASSERT_EQ(backend.urlsOpened.size(), 3u);
  EXPECT_EQ(backend.urlsOpened[0], "https://example.test/indexde.html");
  EXPECT_TRUE(backend.urlsOpened[1].ends_with("/indexnl.html")) << backend.urlsOpened[1];
  EXPECT_TRUE(backend.urlsOpened[2].ends_with("/newsnl.html")) << backend.urlsOpened[2];
}

}  // namespace
