// Help end to end, headless, on the shipped documents: the program started
// in a working folder that holds them, F1 on the start screen, the system
// settings and the administrations form opens the help on each form's
// topic with that topic's heading at the top, a switch of the language box
// shows the same topic in the other language, and closing the help shows
// the form again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formkit/helpunit.h"
#include "program/startschermunit.h"
#include "store/session.h"
#include "support/program.h"

namespace {

using program::TreeFunction;

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// What the help showed: the document, the selected topic's tag and whether
// its heading is the top line.
struct Shown {
  std::string file, tag;
  bool headingOnTop = false;
  bool operator==(const Shown&) const = default;
};

Shown WhatTheHelpShows(const formkit::Thelpform& help) {
  Shown out{formkit::HelpFileName, "?", false};
  const ui::TreeNode* node = help.TreeView1.Selected();
  if (!node || node->data < 0) return out;
  const formkit::HelpTopic& topic = help.Topics().topics.at(static_cast<std::size_t>(node->data));
  out.tag = topic.tag;
  out.headingOnTop = help.RichEdit1.TopParagraph() == static_cast<int>(topic.line);
  return out;
}

class HelpRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  void SetUp() override {
    for (const char* name : {"helpenglish.rtf", "helpNederlands.rtf", "helpDeutsch.rtf"}) {
      const std::string bytes = ReadBytes(std::filesystem::path(OMBRELO_HELP_FOLDER) / name);
      ASSERT_FALSE(bytes.empty()) << name;
      store.fs.SetFile(std::string("/w/") + name, bytes);
    }
    Start();
    LogIn("", "", "");
    // The help: what it shows on opening, then after a switch to German.
    backend.scripts["helpform"] = [this](ui::Form& f) {
      auto& help = static_cast<formkit::Thelpform&>(f);
      formHidden.push_back(!openedFrom->Showing());
      shown.push_back(WhatTheHelpShows(help));
      help.ComboBox1.UserSelect(help.ComboBox1.IndexOf("Deutsch"));
      shown.push_back(WhatTheHelpShows(help));
      help.UserKeyDown(ui::keys::Escape);
    };
  }

  ui::Form* openedFrom = nullptr;
  std::vector<bool> formHidden;
  std::vector<Shown> shown;
};

TEST_F(HelpRoad, F1OnThreeFormsOpensTheirTopicsAndALanguageSwitchKeepsIt) {
  struct Case {
    const char* form;  // empty: the start screen
    TreeFunction function;
    std::string tag;
  };
  const std::vector<Case> cases = {
      {"", TreeFunction::None, "<MEN00>"},
      {"systemscherm", TreeFunction::SystemSettings, "<SYS00>"},
      {"Administrations", TreeFunction::Administrations, "<ADM00>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    shown.clear();
    formHidden.clear();
    bool showsAgain = false;
    if (c.function == TreeFunction::None) {
      openedFrom = &Screen();
      Screen().UserKeyDown(ui::keys::F1);
      showsAgain = Screen().Showing();
    } else {
      backend.scripts[c.form] = [&](ui::Form& f) {
        openedFrom = &f;
        f.UserKeyDown(ui::keys::F1);
        showsAgain = f.Showing();
      };
      ASSERT_TRUE(DoubleClick(c.function));
    }
    EXPECT_EQ(shown, (std::vector<Shown>{{"helpenglish.rtf", c.tag, true}, {"helpDeutsch.rtf", c.tag, true}}));
    EXPECT_EQ(formHidden, std::vector<bool>{true});
    EXPECT_TRUE(showsAgain);
  }
  EXPECT_TRUE(backend.messages.empty());
}

TEST_F(HelpRoad, TheLanguageRoutineGivesTheHelpItsLanguageAndWebPages) {
  store::SystemParams.SetLanguageName("Nederlands");
  Screen().FormActivate();
  openedFrom = &Screen();
  Screen().UserKeyDown(ui::keys::F1);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.front(), (Shown{"helpNederlands.rtf", "<MEN00>", true}));
  ASSERT_NE(formkit::helpform, nullptr);
  EXPECT_TRUE(formkit::helpform->BrowseURL1URL.ends_with("/indexnl.html")) << formkit::helpform->BrowseURL1URL;
  EXPECT_TRUE(formkit::helpform->BrowseURL2URL.ends_with("/newsnl.html")) << formkit::helpform->BrowseURL2URL;
}

}  // namespace
