// The management cockpit form, which the program does not offer: should
// anything show it, it says so in the language in use, and Escape, Enter
// and its button close it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "reports/managementcockpit.h"
#include "text/languagefile.h"
#include "text/languagetext.h"
#include "support/program.h"

namespace {

class Cockpit : public ::testing::Test, public support::ProgramFixture {
 protected:
  void SetUp() override { Start(); }
  reports::Tcockpit& form() { return *reports::cockpit; }
};

TEST_F(Cockpit, EscapeEnterAndTheButtonClose) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"Escape", [&] { form().UserKeyDown(ui::keys::Escape); }},
      {"Enter", [&] { form().UserKeyDown(ui::keys::Return); }},
      {"Button", [&] { form().Button1.UserClick(); }},
  };
  for (const auto& [name, close] : ways) {
    bool closed = false;
    backend.scripts["cockpit"] = [&](ui::Form&) {
      close();
      closed = !form().InModalLoop();
    };
    form().ShowModal();
    EXPECT_TRUE(closed) << name;
  }
}

TEST_F(Cockpit, SaysTheFunctionIsNotOfferedInTheLanguageInUse) {
  struct Case {
    std::string language, text;
  };
  for (const Case& c : std::vector<Case>{
           {"English", "The management cockpit is not offered by this program."},
           {"Nederlands", "Het management cockpit wordt door dit programma niet aangeboden."},
           {"Deutsch", "Das Management-Cockpit wird von diesem Programm nicht angeboten."}}) {
    text::CurrentLanguage = text::BuiltInEnglish();
    text::CurrentLanguage.SetL(0, c.language);
    form().ShowModal();
    EXPECT_EQ(form().Label1.Caption(), c.text);
    EXPECT_EQ(form().Caption(), "Ombrelo Account Enterprise 2.0.6 : Management cockpit");
    EXPECT_EQ(form().Button1.Caption(), "OK");
  }
}

}  // namespace
