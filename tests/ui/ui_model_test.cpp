// The component model's event semantics, modality, keys and event boundary,
// driven headless.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "formkit/filesetscope.h"
#include "platform/errors.h"
#include "program/mainblock.h"
#include "store/fileset.h"
#include "support/fakefs.h"
#include "support/reset.h"
#include "ui/application.h"
#include "ui/headless.h"

namespace {

using ui::ModalResult;

struct TestForm : ui::Form {
  TestForm(const std::string& name = "TestForm") : ui::Form(name, "T" + name) {}
  ui::Edit Edit1{this, "Edit1"};
  ui::Edit Edit2{this, "Edit2"};
  ui::CheckBox CheckBox1{this, "CheckBox1"};
  ui::ComboBox ComboBox1{this, "ComboBox1"};
  ui::ComboBox ComboBox2{this, "ComboBox2", ui::ComboStyle::DropDownList};
  ui::RadioGroup RadioGroup1{this, "RadioGroup1"};
  ui::Panel Panel1{this, "Panel1"};
  ui::Button Button1{&Panel1, "Button1", "OK"};
  ui::StringGrid StringGrid1{this, "StringGrid1", 3, 3};
  ui::DatePicker DatePicker1{this, "DatePicker1"};
};

class UiModel : public ::testing::Test {
 protected:
  // The clean-ups a test registers end with it.
  support::ProgramState state;
  ui::HeadlessBackend backend;
  TestForm form;
  std::vector<std::string> log;
};

TEST_F(UiModel, EditChangeFiresOnEveryTextChangeByProgramOrUser) {
  form.Edit1.OnChange = [&] { log.push_back("change:" + form.Edit1.GetText()); };
  form.Edit1.SetText("a");
  form.Edit1.SetText("a");  // same text: nothing
  form.Edit1.UserSetText("ab");
  EXPECT_EQ(log, (std::vector<std::string>{"change:a", "change:ab"}));
}

TEST_F(UiModel, UserTypingHonoursMaxLengthUpperCaseAndReadOnly) {
  form.Edit1.SetMaxLength(3);
  form.Edit1.SetCharCase(ui::CharCase::Upper);
  form.Edit1.UserSetText("abcd\xe9");
  EXPECT_EQ(form.Edit1.GetText(), "ABC");
  // The program is not limited by the edit's own settings.
  form.Edit1.SetText("abcdef");
  EXPECT_EQ(form.Edit1.GetText(), "abcdef");
  form.Edit1.SetReadOnly(true);
  form.Edit1.UserSetText("x");
  EXPECT_EQ(form.Edit1.GetText(), "abcdef");
  form.Edit2.SetCharCase(ui::CharCase::Upper);
  form.Edit2.UserSetText("\xe9t\xe9");  // CP1252 letters upper-case too
  EXPECT_EQ(form.Edit2.GetText(), "\xc9T\xc9");
}

TEST_F(UiModel, HandlerRewritingItsOwnEditSeesOneMoreChange) {
  // The amount filters rely on this: the rewrite fires OnChange again, and
  // a skip flag set around it keeps the handler from running twice.
  bool skip = false;
  form.Edit1.OnChange = [&] {
    log.push_back(form.Edit1.GetText());
    if (skip) return;
    skip = true;
    form.Edit1.SetText("filtered");
    skip = false;
  };
  form.Edit1.UserSetText("raw");
  EXPECT_EQ(log, (std::vector<std::string>{"raw", "filtered"}));
  EXPECT_EQ(form.Edit1.GetText(), "filtered");
}

TEST_F(UiModel, CheckBoxClickFiresOnStateChangeByProgramOrUser) {
  form.CheckBox1.OnClick = [&] { log.push_back(form.CheckBox1.Checked() ? "on" : "off"); };
  form.CheckBox1.SetChecked(true);
  form.CheckBox1.SetChecked(true);
  form.CheckBox1.UserClick();
  EXPECT_EQ(log, (std::vector<std::string>{"on", "off"}));
}

TEST_F(UiModel, RadioGroupClickFiresOnIndexChange) {
  form.RadioGroup1.SetItems({"a", "b"});
  form.RadioGroup1.OnClick = [&] { log.push_back(std::to_string(form.RadioGroup1.ItemIndex())); };
  form.RadioGroup1.SetItemIndex(1);
  form.RadioGroup1.SetItemIndex(1);
  form.RadioGroup1.UserSelect(0);
  EXPECT_EQ(log, (std::vector<std::string>{"1", "0"}));
}

TEST_F(UiModel, ComboChangeFiresOnUserActionOnly) {
  auto& c = form.ComboBox1;
  c.SetItems({"Alpha", "Beta"});
  c.OnChange = [&] { log.push_back("change:" + c.GetText()); };
  c.OnSelect = [&] { log.push_back("select"); };
  c.SetItemIndex(1);
  c.SetText("Alpha");
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(c.ItemIndex(), 0);
  c.UserSelect(1);
  c.UserSetText("Gamma");
  EXPECT_EQ(log, (std::vector<std::string>{"select", "change:Beta", "change:Gamma"}));
  EXPECT_EQ(c.ItemIndex(), -1);
  EXPECT_EQ(c.IndexOfIgnoringCase("bETA"), 1);
}

TEST_F(UiModel, ListOnlyComboHoldsOnlyItemTexts) {
  auto& c = form.ComboBox2;
  c.SetItems({"One", "Two"});
  c.SetText("Two");
  EXPECT_EQ(c.ItemIndex(), 1);
  c.SetText("Three");
  EXPECT_EQ(c.ItemIndex(), -1);
  EXPECT_EQ(c.GetText(), "");
  c.UserSetText("One");  // nothing to type into
  EXPECT_EQ(c.GetText(), "");
}

TEST_F(UiModel, FocusMoveFiresExitThenEnter) {
  form.Edit1.OnEnter = [&] { log.push_back("enter1"); };
  form.Edit1.OnExit = [&] { log.push_back("exit1"); };
  form.Edit2.OnEnter = [&] { log.push_back("enter2"); };
  form.Edit1.SetFocus();
  form.Edit2.UserFocus();
  form.Edit2.SetFocus();  // already there
  EXPECT_EQ(log, (std::vector<std::string>{"enter1", "exit1", "enter2"}));
  EXPECT_TRUE(form.Edit2.Focused());
}

TEST_F(UiModel, FormSeesKeysBeforeItsControls) {
  form.OnKeyDown = [&](uint16_t& key, unsigned) {
    log.push_back("form:" + std::to_string(key));
    if (key == ui::keys::Escape) key = 0;
  };
  form.Edit1.OnKeyDown = [&](uint16_t& key, unsigned) { log.push_back("edit:" + std::to_string(key)); };
  form.Edit1.SetFocus();
  EXPECT_TRUE(form.UserKeyDown(ui::keys::Escape));
  EXPECT_FALSE(form.UserKeyDown(ui::keys::F1));
  EXPECT_EQ(log, (std::vector<std::string>{"form:27", "form:112", "edit:112"}));
}

TEST_F(UiModel, KeyPressMayBeReplacedOrConsumed) {
  form.OnKeyPress = [](char& k) {
    if (k == 'x') k = 0;
    if (k == 'a') k = 'A';
  };
  EXPECT_EQ(form.UserKeyPress('x'), 0);
  EXPECT_EQ(form.UserKeyPress('a'), 'A');
  EXPECT_EQ(form.UserKeyPress('b'), 'b');
}

TEST_F(UiModel, ShowModalActivatesOnceAndHideDoesNotEndTheLoop) {
  form.OnShow = [&] { log.push_back("show"); };
  form.OnActivate = [&] { log.push_back("activate"); };
  form.OnClose = [&] { log.push_back("close"); };
  backend.scripts["TestForm"] = [&](ui::Form& f) {
    f.Hide();  // as before showing help
    EXPECT_TRUE(f.InModalLoop());
    f.Show();
    log.push_back("script");
    f.SetModalResult(ModalResult::Ok);
    f.Close();
  };
  EXPECT_EQ(form.ShowModal(), ModalResult::Ok);
  EXPECT_EQ(log, (std::vector<std::string>{"show", "activate", "script", "close"}));
  EXPECT_FALSE(form.Showing());
  EXPECT_EQ(backend.modalShown, std::vector<std::string>{"TestForm"});
}

TEST_F(UiModel, NestedModalFormsReturnToTheirCaller) {
  TestForm help("Help");
  form.OnActivate = [&] { log.push_back("activate outer"); };
  help.OnActivate = [&] { log.push_back("activate help"); };
  backend.scripts["TestForm"] = [&](ui::Form& f) {
    f.Hide();
    help.ShowModal();
    f.Show();
    log.push_back("back");
  };
  form.ShowModal();
  EXPECT_EQ(log, (std::vector<std::string>{"activate outer", "activate help", "back"}));
  EXPECT_EQ(backend.modalShown, (std::vector<std::string>{"TestForm", "Help"}));
}

TEST_F(UiModel, AFailingActivationLeavesTheFormUnshown) {
  form.OnActivate = [] { throw platform::IoError(5, "IO errorcode: GLC5"); };
  bool scriptRan = false;
  backend.scripts["TestForm"] = [&](ui::Form&) { scriptRan = true; };
  // The caller's boundary shows the error; the form is neither showing nor
  // stuck in a modal state.
  EXPECT_FALSE(ui::RunGuarded([&] { form.ShowModal(); }));
  EXPECT_FALSE(scriptRan);
  EXPECT_FALSE(form.Showing());
  EXPECT_FALSE(form.InModalLoop());
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: GLC5");
}

TEST_F(UiModel, CloseQueryCanRefuse) {
  bool allow = false;
  form.OnCloseQuery = [&](bool& can) { can = allow; };
  backend.scripts["TestForm"] = [&](ui::Form& f) {
    f.Close();
    EXPECT_TRUE(f.InModalLoop());
    allow = true;
    f.Close();
    EXPECT_FALSE(f.InModalLoop());
  };
  form.ShowModal();
}

TEST_F(UiModel, BoundaryShowsTheErrorRestoresToItsMarkAndGoesOn) {
  // A clean-up that counts: the mark is the count of opened "things" when
  // the action starts; the restore brings the count back to it.
  int opened = 0;
  std::vector<int> restores;
  ui::SetBoundaryCleanup("count", {[&] { return opened; }, [&](int mark) {
                                     restores.push_back(mark);
                                     opened = mark;
                                   }});
  opened = 2;
  form.Button1.OnClick = [&] {
    ++opened;
    throw platform::IoError(5, "IO errorcode: GLA5");
  };
  form.Button1.UserClick();
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: GLA5");
  EXPECT_EQ(restores, std::vector<int>{2});
  EXPECT_EQ(opened, 2);
  // The program goes on: the next action runs normally, nothing restored.
  form.Button1.OnClick = [&] { log.push_back("ran"); };
  form.Button1.UserClick();
  EXPECT_EQ(log, std::vector<std::string>{"ran"});
  EXPECT_EQ(restores.size(), 1u);
  // A second registration under the same name replaces the first.
  int other = 0;
  ui::SetBoundaryCleanup("count", {[] { return 7; }, [&](int mark) { other = mark; }});
  form.Button1.OnClick = [] { throw std::runtime_error("x"); };
  form.Button1.UserClick();
  EXPECT_EQ(restores.size(), 1u);
  EXPECT_EQ(other, 7);
}

TEST_F(UiModel, HeadlessMainLoopShowsAnActivationErrorAndGoesOn) {
  form.OnActivate = [] { throw platform::IoError(5, "IO errorcode: adm5"); };
  bool scriptRan = false;
  backend.mainScript = [&](ui::Form& f) {
    scriptRan = true;
    EXPECT_TRUE(f.Showing());
  };
  backend.RunMain(form);  // no exception leaves the main loop
  EXPECT_TRUE(scriptRan);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: adm5");
  EXPECT_FALSE(form.Showing());
}

TEST_F(UiModel, HiddenOrDisabledContainersBlockUserInput) {
  int clicks = 0;
  form.Button1.OnClick = [&] { ++clicks; };
  form.Panel1.SetVisible(false);
  form.Button1.UserClick();
  form.Panel1.SetVisible(true);
  form.Button1.SetEnabled(false);
  form.Button1.UserClick();
  form.Button1.SetEnabled(true);
  form.Button1.UserClick();
  EXPECT_EQ(clicks, 1);
}

TEST_F(UiModel, ActionsDriveTheirClients) {
  ui::Action save(&form, "Save");
  int runs = 0;
  save.OnExecute = [&] { ++runs; };
  save.SetCaption("&Save");
  ui::MainMenu menu(&form, "MainMenu1");
  ui::MenuItem item(&menu, "Save1");
  form.Button1.SetAction(&save);
  item.SetAction(&save);
  EXPECT_EQ(form.Button1.Caption(), "&Save");
  EXPECT_EQ(item.Caption(), "&Save");
  form.Button1.UserClick();
  item.UserClick();
  save.SetEnabled(false);
  EXPECT_FALSE(form.Button1.Enabled());
  EXPECT_FALSE(item.Enabled());
  form.Button1.UserClick();
  EXPECT_EQ(runs, 2);
}

TEST_F(UiModel, GridKeepsItsHeadingRowAsCellsAndRefusedSelection) {
  auto& g = form.StringGrid1;
  g.SetCell(0, 0, "Number");
  g.SetCell(1, 2, "x");
  EXPECT_EQ(g.Cell(0, 0), "Number");
  // Shrinking and growing again keeps the texts of the rows beyond.
  g.SetRowCount(2);
  EXPECT_EQ(g.Cell(1, 2), "");
  g.SetRowCount(3);
  EXPECT_EQ(g.Cell(1, 2), "x");
  g.OnSelectCell = [](int, int row, bool& allow) { allow = row != 2; };
  g.UserSelectCell(1, 2);
  EXPECT_EQ(g.Row(), 1);
  g.UserSelectCell(1, 1);
  EXPECT_EQ(g.Col(), 1);
  g.DeleteRow(1);
  EXPECT_EQ(g.Cell(1, 1), "x");
  EXPECT_EQ(g.Cell(0, 0), "Number");
}

TEST_F(UiModel, DatePickerRefusesADateBeforeItsMinimum) {
  auto& d = form.DatePicker1;
  d.SetDate(40010);
  d.SetMinDate(40000);
  EXPECT_THROW(d.SetDate(39999), platform::ConversionError);
  EXPECT_EQ(d.Date(), 40010);
  int changes = 0;
  d.OnChange = [&] { ++changes; };
  d.SetDate(40020);  // by program: no event
  EXPECT_EQ(changes, 0);
  d.UserSetDate(39000);  // a day before the minimum changes nothing
  EXPECT_EQ(d.Date(), 40020);
  EXPECT_EQ(changes, 0);
  d.UserSetDate(40000);
  EXPECT_EQ(d.Date(), 40000);
  EXPECT_EQ(changes, 1);
}

TEST_F(UiModel, DatePickerMinimumAboveTheDateIsRefusedAndDaysCompareWhole) {
  struct Case {
    const char* what;
    double date;
    std::optional<double> oldMin;
    std::optional<double> newMin;
    bool refused;
  };
  const std::vector<Case> cases = {
      {"minimum a day after the date", 40010, std::nullopt, 40011, true},
      {"minimum the same day, later time", 40030, std::nullopt, 40030.5, false},
      {"minimum the same day as a date with a time", 40030.75, std::nullopt, 40030.25, false},
      {"minimum below the date", 40010, 40000, 40005, false},
      {"minimum raised above the date", 40010, 40000, 40020, true},
      {"minimum cleared", 40010, 40000, std::nullopt, false},
      {"a day before 1899-12-30 with a time", -1.5, std::nullopt, -1.25, false},
      {"minimum the next day before 1899-12-30", -1.5, std::nullopt, -0.5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestForm f;
    auto& d = f.DatePicker1;
    d.SetDate(c.date);
    d.SetMinDate(c.oldMin);
    if (c.refused) {
      EXPECT_THROW(d.SetMinDate(c.newMin), platform::ConversionError);
      EXPECT_EQ(d.MinDate(), c.oldMin);
    } else {
      d.SetMinDate(c.newMin);
      EXPECT_EQ(d.MinDate(), c.newMin);
    }
    EXPECT_EQ(d.Date(), c.date);
  }
  // The same day as the minimum, by program and by the user, is kept as
  // given: no time of day is taken from the minimum.
  auto& d = form.DatePicker1;
  d.SetDate(40031);
  d.SetMinDate(40030.5);
  d.SetDate(40030);
  EXPECT_EQ(d.Date(), 40030);
  int changes = 0;
  d.OnChange = [&] { ++changes; };
  d.UserSetDate(40031);
  d.UserSetDate(40030);
  EXPECT_EQ(d.Date(), 40030);
  EXPECT_EQ(changes, 2);
}

TEST_F(UiModel, MessageBoxesTakeQueuedAnswers) {
  backend.messageAnswers.push_back(ModalResult::No);
  EXPECT_EQ(ui::MessageDlg("Delete?", ui::DialogKind::Confirmation, ui::Buttons::YesNo), ModalResult::No);
  EXPECT_EQ(ui::MessageDlg("Again?", ui::DialogKind::Confirmation, ui::Buttons::YesNo), ModalResult::Yes);
  ASSERT_EQ(backend.messages.size(), 2u);
  EXPECT_EQ(backend.messages[1].text, "Again?");
  EXPECT_FALSE(ui::GetBackend().OpenFileDialog({}).has_value());
}

// The program's boundary around a form shown modally by an outer action:
// an error in the inner form's action is shown once, and only what that
// action left open is closed; the outer action's file set goes on.
class NestedBoundary : public ::testing::Test {
 protected:
  void SetUp() override {
    store.fs.AddFolder("/d/ACME");
    store::SetDataRoot("/d/");
    store::SetCurrentAdministrationFolder("ACME");
    program::RegisterEventBoundary();
  }

  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  TestForm outer{"Outer"};
  TestForm inner{"Inner"};
};

TEST_F(NestedBoundary, AnErrorInANestedFormLeavesTheOuterFileSetOpen) {
  struct Case {
    const char* what;
    int levelsLeftOpen;  // nested levels the inner action opens and leaves
  };
  const std::vector<Case> cases = {
      {"nothing open", 0}, {"one nested level left open", 1}, {"two nested levels left open", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    backend.messages.clear();
    std::vector<std::string> steps;
    inner.Button1.OnClick = [&] {
      for (int i = 0; i < c.levelsLeftOpen; ++i) {
        int result = -1;
        store::OpenFileSet(i == 0 ? "GLA;GLC" : "GLA", result);
        ASSERT_EQ(result, 0) << store::FileErrorText;
      }
      throw platform::ConversionError("'12,x' is not a valid floating point value");
    };
    backend.scripts["Inner"] = [](ui::Form& f) { static_cast<TestForm&>(f).Button1.UserClick(); };
    outer.Button1.OnClick = [&] {
      formkit::FileSetScope scope("GLA");
      if (!scope.Ok()) return;
      store::AppendRecord(store::FileCode::GLA, std::string(376, 'a').data());
      inner.ShowModal();
      steps.push_back("resumed at level " + std::to_string(store::FileSetLevels()));
      // The outer set is still usable.
      store::AppendRecord(store::FileCode::GLA, std::string(376, 'b').data());
      steps.push_back("records " + std::to_string(store::RecordCount(store::FileCode::GLA)));
    };
    outer.Button1.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text, "'12,x' is not a valid floating point value");
    EXPECT_EQ(steps, (std::vector<std::string>{"resumed at level 1", "records 2"}));
    // The outer scope closed the set normally.
    EXPECT_EQ(store::FileSetLevels(), 0);
    EXPECT_EQ(store.fs.OpenHandles(), 0);
    EXPECT_EQ(store.fs.HeldLocks(), 0);
    EXPECT_EQ(store.fs.File("/d/ACME/ledger.vlk"), std::string(376, 'a') + std::string(376, 'b'));
    store.fs.SetFile("/d/ACME/ledger.vlk", "");
  }
}

TEST_F(NestedBoundary, AnErrorInTheOutermostActionClosesWhatItLeftOpen) {
  outer.Button1.OnClick = [] {
    int result = -1;
    store::OpenFileSet("GLA", result);
    ASSERT_EQ(result, 0) << store::FileErrorText;
    store::OpenFileSet("GLC", result);
    throw platform::IoError(5, "IO errorcode: GLA5");
  };
  outer.Button1.UserClick();
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(store::FileSetLevels(), 0);
  EXPECT_EQ(store.fs.OpenHandles(), 0);
  EXPECT_EQ(store.fs.HeldLocks(), 0);
  // A later action opens a set of its own.
  outer.Button1.OnClick = [] {
    formkit::FileSetScope scope("GLA");
    EXPECT_TRUE(scope.Ok());
    EXPECT_EQ(store::FileSetLevels(), 1);
  };
  outer.Button1.UserClick();
  EXPECT_EQ(backend.messages.size(), 1u);
}

}  // namespace
