// The main block: the start-up file set, the start-up error form, the
// creation of every form in its order and the main loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/oserror.h"
#include "store/fileset.h"
#include "program/mainblock.h"
#include "program/startschermunit.h"
#include "system/startuperrorunit.h"
#include "support/fakefs.h"
#include "ui/headless.h"

namespace {

using support::FakeFileSystem;

class Startup : public ::testing::Test {
 protected:
  support::FakeDataStore store;
  ui::HeadlessBackend backend;

  // Records what the error form showed while it was on screen, then clicks
  // `target` on it.
  struct ErrorFormSeen {
    std::string caption, label2, label3, label1;
    bool closedByClick = false;
  };
  ErrorFormSeen ExpectErrorForm(const std::string& clickOn = "Button1") {
    ErrorFormSeen seen;
    backend.scripts["startuperror"] = [&seen, clickOn](ui::Form& f) {
      auto& e = static_cast<systemforms::Tstartuperror&>(f);
      seen = {e.Caption(), e.Label2.Caption(), e.Label3.Caption(), e.Label1.Caption()};
      if (clickOn == "form")
        e.UserClick();
      else
        static_cast<ui::Component*>(e.Find(clickOn))->UserClick();
      seen.closedByClick = !e.InModalLoop();
    };
    return seen;
  }
};

TEST_F(Startup, FirstRunCreatesTheStartupFilesAndEveryFormInOrder) {
  std::vector<std::string> created;
  bool setOpenInLoop = true;
  std::string caption;
  backend.mainScript = [&](ui::Form& main) {
    for (ui::Form* f : program::ProgramForms()) created.push_back(f->ClassName());
    setOpenInLoop = store::FileSetOpen;
    caption = main.Caption();
  };
  EXPECT_EQ(program::RunProgram("/w/"), 0);

  EXPECT_EQ(created, (std::vector<std::string>{
                         "TStartscherm", "TLedgercategory", "TLedger", "TRapport1", "Tsystemscherm", "TUsers",
                         "TAdministrations", "Tadministrationsetting", "Tboeking", "Tcockpit", "Thelpform",
                         "Tpartners2", "TFixedassetsform", "TExportImport"}));
  // The first activation of the start screen ended the start-up set.
  EXPECT_FALSE(setOpenInLoop);
  EXPECT_EQ(caption, "Ombrelo Account Enterprise 2.0.6 : Menu ");
  for (const char* f : {"user.vlk", "sysparm010000.vlk", "vlk010005.lan", "ins.vlk"})
    EXPECT_TRUE(store.fs.HasFile(std::string("/w/") + f)) << f;
  // The administrations file, made in the working folder while no settings
  // existed, went to the data root of the settings the first run saved.
  EXPECT_TRUE(store.fs.HasFile("/w/data/admin.vlk"));
  EXPECT_FALSE(store.fs.HasFile("/w/admin.vlk"));
  EXPECT_EQ(ui::ApplicationTitle(), "Ombrelo Account");
  EXPECT_TRUE(backend.messages.empty());
  // The forms are gone with the program.
  EXPECT_EQ(program::Startscherm, nullptr);
  EXPECT_TRUE(program::ProgramForms().empty());
}

struct StartupFailure {
  const char* name;
  std::string path;
  FakeFileSystem::Op op;
  int code;
  std::string text;
};

class StartupFailures : public Startup, public ::testing::WithParamInterface<StartupFailure> {};

TEST_P(StartupFailures, ShowTheErrorFormAndEnd) {
  const auto& p = GetParam();
  store.fs.InjectError(p.path, p.op, p.code);
  auto seen = ExpectErrorForm();
  bool mainRan = false;
  backend.mainScript = [&](ui::Form&) { mainRan = true; };

  EXPECT_EQ(program::RunProgram("/w/"), 1);

  EXPECT_FALSE(mainRan);
  EXPECT_EQ(backend.modalShown, std::vector<std::string>{"startuperror"});
  EXPECT_EQ(seen.caption, "Startup error");
  EXPECT_EQ(seen.label2, p.text);
  EXPECT_EQ(seen.label3, platform::OsErrorText(p.code));
  EXPECT_EQ(seen.label1, "1. Check file and folder properties !. (None readonly)");
  EXPECT_TRUE(seen.closedByClick);
  EXPECT_FALSE(store::FileSetOpen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupFailures,
    ::testing::Values(
        StartupFailure{"ReadOnlyUserFile", "/w/user.vlk", FakeFileSystem::Op::OpenReadWrite, 5, "IO errorcode: USE5"},
        // A file that cannot even be created no longer ends the program
        // with a runtime error: the error form reports it.
        StartupFailure{"HintFileNotCreatable", "/w/ins.vlk", FakeFileSystem::Op::Create, 5, "IO errorcode: INS5"},
        StartupFailure{"LanguageFileUnreadable", "/w/vlk010005.lan", FakeFileSystem::Op::OpenReadWrite, 1013,
                       "IO errorcode: LAN1013"}),
    [](const auto& info) { return std::string(info.param.name); });

// A user or system-parameter file a byte short of one record is damaged,
// not new: the program shows the error form naming it and writes nothing
// (no built-in user with the default password, no first run over the
// company's settings).
TEST_F(Startup, AStartFileShorterThanOneRecordIsAStartupErrorAndStaysAsItWas) {
  struct Case {
    std::string path;
    std::size_t recordSize;
  };
  for (const Case& c : {Case{"/w/user.vlk", 284}, Case{"/w/sysparm010000.vlk", 816}}) {
    SCOPED_TRACE(c.path);
    backend.modalShown.clear();
    const std::string torn(c.recordSize - 1, 'x');
    store.fs.SetFile(c.path, torn);
    auto seen = ExpectErrorForm();
    bool mainRan = false;
    backend.mainScript = [&](ui::Form&) { mainRan = true; };

    EXPECT_EQ(program::RunProgram("/w/"), 1);

    EXPECT_FALSE(mainRan);
    EXPECT_EQ(backend.modalShown, std::vector<std::string>{"startuperror"});
    EXPECT_NE(seen.label2.find(c.path), std::string::npos) << seen.label2;
    EXPECT_EQ(store.fs.File(c.path), torn);
    EXPECT_FALSE(store::FileSetOpen);
    store.fs.Delete(c.path);
  }
}

TEST_F(Startup, FilesHeldByAnotherCopyForTheWholeWait) {
  store.fs.HoldLock("/w/.ombrelo.lock");
  auto seen = ExpectErrorForm();
  EXPECT_EQ(program::RunProgram("/w/"), 1);
  EXPECT_EQ(seen.label2, "File(s) in use, try again");
  EXPECT_EQ(seen.label3, platform::OsErrorText(32));
  EXPECT_EQ(store.sleeper.Count(), 49);
}

TEST_F(Startup, ErrorFormClosesOnAClickAnywhere) {
  for (const std::string target : {"form", "Label1", "Label2", "Label3"}) {
    store.fs.InjectError("/w/user.vlk", FakeFileSystem::Op::OpenReadWrite, 5, 1);
    auto seen = ExpectErrorForm(target);
    EXPECT_EQ(program::RunProgram("/w/"), 1);
    EXPECT_TRUE(seen.closedByClick) << target;
  }
}

TEST_F(Startup, EscapeAndCancelCloseTheStartScreen) {
  for (int way = 0; way < 3; ++way) {
    bool closed = false;
    backend.mainScript = [&](ui::Form& main) {
      auto& s = static_cast<program::TStartscherm&>(main);
      if (way == 0) s.UserKeyDown(ui::keys::Escape);
      if (way == 1) s.Button2.UserClick();
      if (way == 2) s.Exit1.UserClick();
      closed = !s.Showing();
    };
    EXPECT_EQ(program::RunProgram("/w/"), 0);
    EXPECT_TRUE(closed) << way;
  }
}

}  // namespace
