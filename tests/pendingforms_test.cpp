// The forms whose function comes in a later version: each opens as a
// captioned window with one line of text, and Escape, Enter and its button
// close it; F1 on the start screen ends in the same kind of window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formkit/helpunit.h"
#include "formkit/pendingform.h"
#include "masterdata/adminsettings.h"
#include "reports/impexp.h"
#include "reports/managementcockpit.h"
#include "shell/fileset.h"
#include "shell/languagefile.h"
#include "shell/languagetext.h"
#include "support/program.h"

namespace {

using support::ProgramFixture;

class PendingForms : public ::testing::Test, public ProgramFixture {
 protected:
  void SetUp() override { Start(); }
};

std::vector<shell::PendingForm*> AllPendingForms() {
  return {reports::cockpit, shell::helpform};
}

TEST_F(PendingForms, EscapeEnterAndTheButtonCloseTheForm) {
  struct Way {
    const char* name;
    std::function<void(shell::PendingForm&)> close;
  };
  const std::vector<Way> ways = {
      {"Escape", [](shell::PendingForm& f) { f.UserKeyDown(ui::keys::Escape); }},
      {"Enter", [](shell::PendingForm& f) { f.UserKeyDown(ui::keys::Return); }},
      {"Button", [](shell::PendingForm& f) { f.Button1.UserClick(); }},
  };
  for (shell::PendingForm* form : AllPendingForms()) {
    ASSERT_NE(form, nullptr);
    for (const Way& way : ways) {
      bool closedByTheKey = false;
      backend.scripts[form->Name()] = [&](ui::Form&) {
        way.close(*form);
        closedByTheKey = !form->InModalLoop();
      };
      form->ShowModal();
      EXPECT_TRUE(closedByTheKey) << form->ClassName() << " " << way.name;
    }
  }
}

TEST_F(PendingForms, CaptionNamesTheProductAndTheFunctionAndTheTextFollowsTheLanguage) {
  struct Case {
    shell::PendingForm* form;
    std::string english, dutch;
  };
  const std::vector<Case> cases = {
      {reports::cockpit, "Management cockpit", "Management cockpit"},
      {shell::helpform, "Help", "Help"},
  };
  auto dutch = [] {
    shell::CurrentLanguage = shell::BuiltInEnglish();
    shell::CurrentLanguage.SetL(0, "Nederlands");
    for (auto [offset, text] : std::vector<std::pair<int, std::string>>{
             {870, "Journaalposten"}, {919, "Relaties"}, {944, "Rapporten"},
             {1079, "Administratie-instellingen"}, {8172, "Export en import "}})
      shell::CurrentLanguage.SetL(offset, text);
  };
  for (bool inDutch : {false, true}) {
    if (inDutch) dutch();
    for (const Case& c : cases) {
      c.form->ShowModal();
      const std::string name = inDutch ? c.dutch : c.english;
      EXPECT_EQ(c.form->Caption(), "Ombrelo Account Enterprise 2.0.6 : " + name);
      EXPECT_EQ(c.form->Label1.Caption(), inDutch ? "Deze functie komt in een latere versie van het programma."
                                                  : "This function comes in a later version of the program.");
      EXPECT_EQ(c.form->Button1.Caption(), "OK");
    }
  }
}

TEST_F(PendingForms, OnlyTheFormsTheStartScreenOpensFilesForEndTheSet) {
  struct Case {
    shell::PendingForm* form;
    bool endsSet;
  };
  for (const Case& c : {Case{shell::helpform, false}, Case{reports::cockpit, false}}) {
    int result = 0;
    shell::OpenFileSet("USE", result);
    ASSERT_EQ(result, 0);
    bool openInside = true;
    backend.scripts[c.form->Name()] = [&](ui::Form&) { openInside = shell::FileSetOpen; };
    c.form->ShowModal();
    EXPECT_EQ(openInside, !c.endsSet) << c.form->ClassName();
    shell::ForceCloseFileSet();
  }
}

TEST_F(PendingForms, F1OnTheStartScreenOpensTheHelpWindowThatEscapeCloses) {
  bool closed = false;
  std::string caption;
  backend.scripts["helpform"] = [&](ui::Form& f) {
    caption = f.Caption();
    f.UserKeyDown(ui::keys::Escape);
    closed = !f.InModalLoop();
  };
  Screen().UserKeyDown(ui::keys::F1);
  EXPECT_EQ(backend.modalShown.back(), "helpform");
  EXPECT_EQ(caption, "Ombrelo Account Enterprise 2.0.6 : Help");
  EXPECT_TRUE(closed);
  EXPECT_TRUE(Screen().Showing());
}

}  // namespace
