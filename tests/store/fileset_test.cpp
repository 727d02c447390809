// The data-file set: lists, order, nesting, creation, errors and their
// texts, the wait for files in use, the data folders and the move of the
// administrations file. Mostly on the in-memory file system; the locks and
// the errno mapping also on a real temporary folder.
#include "store/fileset.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "records/codec.h"
#include "text/systemsettings.h"
#include "support/fakefs.h"

namespace {

using store::FileCode;
using store::FileErrorCode;
using store::FileErrorText;
using store::FileSetDepth;
using store::FileSetOpen;
using support::FakeFileSystem;

// A system-parameter record whose data folder is `folder`.
std::string SysRecord(const std::string& folder) {
  std::string rec(816, '\0');
  rec[669] = static_cast<char>(folder.size());
  rec.replace(670, folder.size(), folder);
  return rec;
}

std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

class FileSetTest : public ::testing::Test {
 protected:
  int Open(const std::string& list) {
    int result = -1;
    store::OpenFileSet(list, result);
    return result;
  }
  // The names of the files opened so far, in order (not the lock files).
  std::vector<std::string> Opened() const {
    std::vector<std::string> out;
    for (const std::string& e : fs.Log())
      if (e.rfind("open ", 0) == 0) out.push_back(FileName(e));
    return out;
  }
  std::vector<std::string> Closed() const {
    std::vector<std::string> out;
    for (const std::string& p : fs.LogOf("close ")) out.push_back(FileName(p));
    return out;
  }
  void ExpectNoSetLeft() {
    EXPECT_FALSE(FileSetOpen);
    EXPECT_EQ(FileSetDepth, 0);
    EXPECT_EQ(fs.OpenHandles(), 0);
    EXPECT_EQ(fs.HeldLocks(), 0);
  }
  // A data root "/d/" named by the system parameters, and read.
  void UseDataRoot() {
    fs.SetFile("/w/sysparm010000.vlk", SysRecord("/d/"));
    fs.AddFolder("/d");
    ASSERT_EQ(Open("SYS"), 0);
    store::CloseFileSet();
    fs.ClearLog();
  }

  support::FakeDataStore store;
  FakeFileSystem& fs = store.fs;
};

TEST_F(FileSetTest, ListIsReadThreeCharactersAndASeparatorAtATime) {
  const struct {
    const char* list;
    std::vector<std::string> opened;
  } cases[] = {
      {"", {}},
      {"GLA;ADS", {"ledger.vlk", "adminset.vlk"}},
      {"ADS;GLA;", {"ledger.vlk", "adminset.vlk"}},
      {"XYZ;GLA", {"ledger.vlk"}},
      {"dummy", {}},
      {"GLA,JVO", {"ledger.vlk", "book.vlk"}},
      {"GLAADS", {"ledger.vlk"}},  // "A" is the separator, "DS" too short
      {"gla;GL", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list);
    fs.ClearLog();
    EXPECT_EQ(Open(c.list), 0);
    EXPECT_TRUE(FileSetOpen);
    EXPECT_EQ(Opened(), c.opened);
    store::CloseFileSet();
    ExpectNoSetLeft();
  }
}

TEST_F(FileSetTest, FilesOpenInTableOrderAndCloseInReverse) {
  UseDataRoot();
  fs.SetFile("/d/admin.vlk", "");
  fs.SetFile("/w/help.rtf", "{\\rtf1}");
  store::TextFileName = "help.rtf";
  ASSERT_EQ(Open("FIX;USE;LAN;HEN;JVT;INV;PAY;ADS;ADM;SUP;CUS;FRZ;JVO;GLC;GLA;INS;IFS;FLG;SYS"), 0)
      << FileErrorText;
  const std::vector<std::string> order = {
      "sysparm010000.vlk", "releaseflag.vlk", "ifs.vlk",      "ins.vlk",     "ledger.vlk",
      "ledgerct.vlk",      "book.vlk",        "freeze.vlk",   "customer.vlk", "supplier.vlk",
      "admin.vlk",         "adminset.vlk",    "payment.vlk",  "invsum.vlk",  "booktemp.vlk",
      "help.rtf",          "vlk010005.lan",   "user.vlk",     "fixed.vlk"};
  EXPECT_EQ(Opened(), order);
  for (int k = 0; k < store::kFileCodeCount; ++k)
    EXPECT_EQ(store::FileState[k], k == store::FileIndex(FileCode::RAP) ? 0 : 2) << k;
  store::CloseFileSet();
  EXPECT_EQ(Closed(), std::vector<std::string>(order.rbegin(), order.rend()));
  ExpectNoSetLeft();
}

// Every file: its folder and name, its record size and its error text.
TEST_F(FileSetTest, EachFileHasItsFolderSizeAndErrorText) {
  const std::string os5 = platform::OsErrorText(5);
  const struct {
    const char* code;
    const char* path;
    int size;
    std::string text;
  } files[] = {
      {"SYS", "/w/sysparm010000.vlk", 816, "IO errorcode: SYS5"},
      {"FLG", "/d/releaseflag.vlk", 4, "IO errorcode: FLG5 /d/releaseflag.vlk"},
      {"IFS", "/w/ifs.vlk", 116, "IO errorcode: IFS5"},
      {"INS", "/w/ins.vlk", 3, "IO errorcode: INS5"},
      {"GLA", "/d/ledger.vlk", 376, "IO errorcode: GLA5"},
      {"GLC", "/d/ledgerct.vlk", 134, "IO errorcode: GLC5"},
      {"JVO", "/d/book.vlk", 392, "IO errorcode: JVO5"},
      {"FRZ", "/d/freeze.vlk", 64080, "IO errorcode: frz5"},
      {"CUS", "/d/customer.vlk", 1624, "IO errorcode: cus5"},
      {"SUP", "/d/supplier.vlk", 1624, "IO errorcode: sup5"},
      {"ADM", "/a/admin.vlk", 275, "IO errorcode: adm5"},
      {"ADS", "/d/adminset.vlk", 1386, "IO errorcode: ads5"},
      {"PAY", "/d/payment.vlk", 584, "IO errorcode: pay5"},
      {"INV", "/d/invsum.vlk", 224, "IO errorcode: inv5"},
      {"JVT", "/d/booktemp.vlk", 3184, "IO errorcode: jvt5"},
      {"HEN", "/w/t.rtf", 0, "IO errorcode: hen5 " + os5},
      {"RAP", "/d/t.rtf", 0, "IO errorcode: RAP5"},
      {"LAN", "/w/vlk010005.lan", 11354, "IO errorcode: LAN5"},
      {"USE", "/w/user.vlk", 284, "IO errorcode: USE5"},
      {"FIX", "/d/fixed.vlk", 256, "IO errorcode: FIX5"},
  };
  store::SetDataRoot("/d/");
  store::AdminFileFolder = "/a/";
  fs.AddFolder("/d");
  fs.AddFolder("/a");
  store::TextFileName = "t.rtf";
  for (const auto& f : files) {
    SCOPED_TRACE(f.code);
    store::AdminFileFolder = "/a/";  // opening SYS set it to the root
    const bool text = f.size == 0;
    const bool sys = std::string(f.code) == "SYS";  // its record names the data root
    fs.SetFile(f.path, sys ? SysRecord("/d/") + SysRecord("/d/") + "r"
                           : std::string(static_cast<std::size_t>(2 * f.size + 1), 'r'));
    ASSERT_EQ(Open(f.code), 0) << FileErrorText;
    if (!text) {
      EXPECT_EQ(store::RecordCount(*store::FileCodeFromText(f.code)), 2);
    }
    EXPECT_EQ(store::OpenedFilePath(*store::FileCodeFromText(f.code)), f.path);
    store::CloseFileSet();

    fs.InjectError(f.path, text ? FakeFileSystem::Op::OpenRead : FakeFileSystem::Op::OpenReadWrite, 5, 1);
    EXPECT_EQ(Open(f.code), 1);
    EXPECT_EQ(FileErrorText, f.text);
    EXPECT_EQ(FileErrorCode, 5);
    ExpectNoSetLeft();
  }
}

TEST_F(FileSetTest, MissingRecordFileIsCreatedEmpty) {
  EXPECT_EQ(Open("GLA;USE"), 0);
  EXPECT_EQ(FileErrorCode, 2);
  EXPECT_TRUE(fs.HasFile("/w/ledger.vlk"));
  EXPECT_EQ(fs.File("/w/user.vlk"), "");
  EXPECT_EQ(store::RecordCount(FileCode::GLA), 0);
  store::CloseFileSet();
}

TEST_F(FileSetTest, MissingDataFolderFailsWithCodeThree) {
  store::SetDataRoot("/d/x/");
  const struct {
    const char* list;
    const char* text;
  } cases[] = {
      {"GLA", "IO errorcode: GLA3"},
      {"SYS;FLG;GLA", "IO errorcode: FLG3 /d/x/releaseflag.vlk"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Open(c.list), 1);
    EXPECT_EQ(FileErrorText, c.text);
    EXPECT_EQ(FileErrorCode, 3);
    ExpectNoSetLeft();
    store::CloseFileSet();  // one close too many changes nothing
    ExpectNoSetLeft();
  }
  EXPECT_FALSE(fs.HasFile("/d/x/ledger.vlk"));
}

// A lock file that cannot be taken for another reason than another copy or
// a missing folder is named in the text: it, not the data file, failed.
TEST_F(FileSetTest, LockFileErrorsNameTheLockFile) {
  const struct {
    const char* what;
    std::function<void()> setUp;
    const char* list;
    int code;
    const char* text;
  } cases[] = {
      {"a folder in its place", [&] { fs.AddFolder("/w/.ombrelo.lock"); }, "SYS;USE", 5,
       "IO errorcode: SYS5 (lock file /w/.ombrelo.lock)"},
      {"access denied",
       [&] { fs.InjectError("/w/.ombrelo.lock", FakeFileSystem::Op::Lock, platform::kAccessDenied); }, "USE", 5,
       "IO errorcode: USE5 (lock file /w/.ombrelo.lock)"},
      {"an I/O error in the data folder",
       [&] { fs.InjectError("/d/.ombrelo.lock", FakeFileSystem::Op::Lock, platform::kErrnoBase + 5); }, "FLG",
       1005, "IO errorcode: FLG1005 /d/releaseflag.vlk (lock file /d/.ombrelo.lock)"},
      {"the administrations folder",
       [&] { fs.InjectError("/d/.ombrelo.lock", FakeFileSystem::Op::Lock, platform::kAccessDenied); }, "ADM", 5,
       "IO errorcode: adm5 (lock file /d/.ombrelo.lock)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs.ClearErrors();
    support::ResetFileSetUnit("/w/");
    fs.AddFolder("/d");
    store::SetDataRoot("/d/");
    store::AdminFileFolder = "/d/";
    c.setUp();
    EXPECT_EQ(Open(c.list), 1);
    EXPECT_EQ(FileErrorText, c.text);
    EXPECT_EQ(FileErrorCode, c.code);
    ExpectNoSetLeft();
  }
}

TEST_F(FileSetTest, FailureStopsThePassAndClosesWhatWasOpened) {
  fs.InjectError("/w/ins.vlk", FakeFileSystem::Op::OpenReadWrite, 5);
  EXPECT_EQ(Open("SYS;INS;USE"), 1);
  EXPECT_EQ(Opened(), (std::vector<std::string>{"sysparm010000.vlk", "ins.vlk"}));
  EXPECT_EQ(Closed(), std::vector<std::string>{"sysparm010000.vlk"});
  EXPECT_EQ(store.sleeper.Count(), 0);
  ExpectNoSetLeft();
}

TEST_F(FileSetTest, MissingHelpFileNamesTheSystemText) {
  store::TextFileName = "helpenglish.rtf";
  EXPECT_EQ(Open("HEN"), 1);
  EXPECT_EQ(FileErrorText, "IO errorcode: hen2 " + platform::OsErrorText(2));
  EXPECT_FALSE(fs.HasFile("/w/helpenglish.rtf"));
  ExpectNoSetLeft();
}

TEST_F(FileSetTest, ReportTemplateIsLookedForInTheDataFolderThenTheWorkingFolder) {
  store::TextFileName = "balance.rtf";
  const struct {
    bool inData, inWork, dataFolderMissing;
    int result;
    const char* opened;
    const char* text;
  } cases[] = {
      {true, true, false, 0, "/d/balance.rtf", ""},
      {false, true, false, 0, "/w/balance.rtf", ""},
      {false, false, false, 1, "", "No report template available.(balance.rtf)"},
      {false, true, true, 1, "", "IO errorcode: RAP3"},
  };
  for (const auto& c : cases) {
    support::ResetFileSetUnit("/w/");
    store::TextFileName = "balance.rtf";
    fs.SetFile("/w/balance.rtf", "work");
    if (!c.inWork) fs.Delete("/w/balance.rtf");
    store::SetDataRoot(c.dataFolderMissing ? "/nowhere/" : "/d/");
    fs.SetFile("/d/balance.rtf", "data");
    if (!c.inData) fs.Delete("/d/balance.rtf");
    SCOPED_TRACE(c.opened);
    EXPECT_EQ(Open("RAP"), c.result);
    EXPECT_EQ(FileErrorText, c.text);
    EXPECT_EQ(store::OpenedFilePath(FileCode::RAP), c.opened);
    if (c.result == 0) {
      EXPECT_EQ(store::ReadTextFile(FileCode::RAP), c.inData ? "data" : "work");
    }
    store::CloseFileSet();
    ExpectNoSetLeft();
  }
}

// --- the wait for files in use ----------------------------------------------

TEST_F(FileSetTest, FilesInUseForTheWholeWaitGiveResultTwo) {
  const struct {
    const char* what;
    bool lockHeld;  // else the file itself reports a sharing violation
  } cases[] = {{"lock held by another copy", true}, {"file in use", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    support::CountingSleeper sleeper;
    if (c.lockHeld)
      fs.HoldLock("/w/.ombrelo.lock");
    else
      fs.InjectError("/w/user.vlk", FakeFileSystem::Op::OpenReadWrite, 32);
    EXPECT_EQ(Open("SYS;USE"), 2);
    EXPECT_EQ(FileErrorText, "File(s) in use, try again");
    EXPECT_EQ(FileErrorCode, 32);
    EXPECT_EQ(sleeper.Count(), 49);
    EXPECT_EQ(sleeper.TotalMilliseconds(), 4900);
    ExpectNoSetLeft();
    fs.ReleaseLock("/w/.ombrelo.lock");
    fs.ClearErrors();
  }
}

TEST_F(FileSetTest, ReleasedDuringTheWaitTheWholeSetOpens) {
  fs.HoldLock("/w/.ombrelo.lock", 3);
  EXPECT_EQ(Open("SYS;USE"), 0);
  EXPECT_EQ(store.sleeper.Count(), 3);
  EXPECT_TRUE(FileSetOpen);
  store::CloseFileSet();

  // A file in use is tried again with the whole set, from its first file.
  fs.ClearLog();
  support::CountingSleeper sleeper;
  fs.InjectError("/w/user.vlk", FakeFileSystem::Op::OpenReadWrite, 32);
  sleeper.onSleep = [&](int n) {
    if (n == 4) fs.ClearErrors();
  };
  EXPECT_EQ(Open("SYS;USE"), 0);
  EXPECT_EQ(sleeper.Count(), 4);
  EXPECT_EQ(fs.LogOf("open rw /w/sysparm").size(), 5u);
  EXPECT_EQ(store::FileState[store::FileIndex(FileCode::SYS)], 2);
  EXPECT_EQ(store::FileState[store::FileIndex(FileCode::USE)], 2);
  store::CloseFileSet();
  ExpectNoSetLeft();
}

// --- nesting ----------------------------------------------------------------

TEST_F(FileSetTest, NestedSetsCountAndTheOutermostCloseClosesAll) {
  ASSERT_EQ(Open("GLA;ADS"), 0);
  fs.ClearLog();
  EXPECT_EQ(Open("GLA"), 0);
  EXPECT_EQ(Open(""), 0);
  EXPECT_EQ(FileSetDepth, 2);
  EXPECT_TRUE(fs.Log().empty());
  store::CloseFileSet();
  store::CloseFileSet();
  EXPECT_TRUE(FileSetOpen);
  EXPECT_TRUE(Closed().empty());
  store::CloseFileSet();
  EXPECT_EQ(Closed(), (std::vector<std::string>{"adminset.vlk", "ledger.vlk"}));
  ExpectNoSetLeft();
}

TEST_F(FileSetTest, NestedSetOpensTheFilesTheOuterSetLacks) {
  ASSERT_EQ(Open("GLA"), 0);
  EXPECT_EQ(Open("GLA;JVO;"), 0);
  EXPECT_EQ(FileSetDepth, 1);
  EXPECT_EQ(Opened(), (std::vector<std::string>{"ledger.vlk", "book.vlk"}));
  store::CloseFileSet();
  EXPECT_EQ(store::RecordCount(FileCode::JVO), 0);  // still open
  store::CloseFileSet();
  EXPECT_EQ(Closed(), (std::vector<std::string>{"book.vlk", "ledger.vlk"}));
  ExpectNoSetLeft();
}

TEST_F(FileSetTest, FailedNestedOpenLeavesTheOuterSetAsItWas) {
  UseDataRoot();
  const struct {
    const char* what;
    int result;
    const char* text;
  } cases[] = {{"error", 1, "IO errorcode: USE5"}, {"in use", 2, "File(s) in use, try again"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    support::CountingSleeper sleeper;
    ASSERT_EQ(Open("GLA"), 0);  // in /d/
    ASSERT_EQ(Open("GLA"), 0);
    if (c.result == 1)
      fs.InjectError("/w/user.vlk", FakeFileSystem::Op::OpenReadWrite, 5);
    else
      fs.HoldLock("/w/.ombrelo.lock");
    EXPECT_EQ(Open("JVO;USE"), c.result);
    EXPECT_EQ(FileErrorText, c.text);
    EXPECT_EQ(sleeper.Count(), c.result == 2 ? 49 : 0);
    EXPECT_TRUE(FileSetOpen);
    EXPECT_EQ(FileSetDepth, 1);
    EXPECT_EQ(fs.OpenHandles(), 1);  // GLA only
    EXPECT_EQ(fs.HeldLocks(), 1);    // /d/ only
    EXPECT_EQ(store::FileState[store::FileIndex(FileCode::JVO)], 0);
    EXPECT_EQ(store::FileState[store::FileIndex(FileCode::GLA)], 2);
    EXPECT_EQ(store::RecordCount(FileCode::GLA), 0);
    store::CloseFileSet();
    store::CloseFileSet();
    ExpectNoSetLeft();
    fs.ClearErrors();
    fs.ReleaseLock("/w/.ombrelo.lock");
  }
}

TEST_F(FileSetTest, ForceCloseEndsEveryLevel) {
  ASSERT_EQ(Open("GLA"), 0);
  ASSERT_EQ(Open("USE"), 0);
  ASSERT_EQ(Open(""), 0);
  store::ForceCloseFileSet();
  ExpectNoSetLeft();
  fs.ClearLog();
  ASSERT_EQ(Open("GLA"), 0);
  EXPECT_EQ(Opened(), std::vector<std::string>{"ledger.vlk"});  // a new set, not nested
  store::CloseFileSet();
}

// --- errors raised inside the open ---------------------------------------------

TEST_F(FileSetTest, IoErrorWhileCreatingClosesTheSetBeforeItGoesOn) {
  fs.InjectError("/w/user.vlk", FakeFileSystem::Op::Create, 5);
  try {
    Open("SYS;USE;LAN");
    FAIL() << "no error";
  } catch (const platform::IoError& e) {
    EXPECT_EQ(e.Code(), 5);
  }
  EXPECT_EQ(FileErrorText, "IO errorcode: USE5");
  EXPECT_EQ(FileErrorCode, 5);
  ExpectNoSetLeft();

  // A nested open that raises keeps the outer set.
  ASSERT_EQ(Open("SYS"), 0);
  EXPECT_THROW(Open("USE"), platform::IoError);
  EXPECT_TRUE(FileSetOpen);
  EXPECT_EQ(FileSetDepth, 0);
  EXPECT_EQ(fs.OpenHandles(), 1);
  store::CloseFileSet();
  ExpectNoSetLeft();
}

TEST_F(FileSetTest, FailingCloseRaisesAfterClosingEverything) {
  ASSERT_EQ(Open("GLA;USE"), 0);
  fs.InjectError("/w/user.vlk", FakeFileSystem::Op::Close, platform::kErrnoBase + 5);
  EXPECT_THROW(store::CloseFileSet(), platform::IoError);
  ExpectNoSetLeft();
}

// --- locks --------------------------------------------------------------------

TEST_F(FileSetTest, OneLockPerFolderTouchedHeldUntilTheOutermostClose) {
  UseDataRoot();
  fs.SetFile("/d/admin.vlk", "");
  ASSERT_EQ(Open("SYS;GLA;ADM;USE"), 0);
  EXPECT_EQ(fs.LogOf("lock "), (std::vector<std::string>{"/w/.ombrelo.lock", "/d/.ombrelo.lock"}));
  EXPECT_EQ(fs.HeldLocks(), 2);
  ASSERT_EQ(Open("JVO"), 0);
  EXPECT_EQ(fs.LogOf("lock ").size(), 2u);
  store::CloseFileSet();
  EXPECT_EQ(fs.HeldLocks(), 2);
  store::CloseFileSet();
  EXPECT_EQ(fs.HeldLocks(), 0);
}

// --- the system parameters and the data folders ------------------------------

TEST_F(FileSetTest, SystemParametersNameTheDataRoot) {
  const struct {
    std::string stored;
    std::string root;
  } cases[] = {
      {"", "/w/data/"},
      {"/srv/books/", "/srv/books/"},
      {"/srv/books", "/srv/books/"},
      // A folder of another system names nothing here: the default.
      {"C:\\books\\data\\", "/w/data/"},
      {"d:data", "/w/data/"},
      // Two names of one folder are one folder.
      {"/w//./data/../books/", "/w/books/"},
      {".", "/w/"},
      {"archive\\2008\\", "/w/archive/2008/"},
      // NUL and control characters name no folder (a damaged record).
      {std::string("abc\0def", 7), "/w/data/"},
      {std::string("rootx\0\0\0\0", 9), "/w/data/"},
      {"a\nb", "/w/data/"},
      {"/srv/\x01x/", "/w/data/"},
      {"/srv/x\x7f/", "/w/data/"},
      {"/srv/tab\there/", "/w/data/"},
      // Other bytes of code page 1252 are names like any other.
      {"/srv/dat\xe9\x81 ~/", "/srv/dat\xe9\x81 ~/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    support::ResetFileSetUnit("/w/");
    fs.SetFile("/w/sysparm010000.vlk", SysRecord(c.stored));
    ASSERT_EQ(Open("SYS"), 0);
    EXPECT_EQ(store::DataRoot(), c.root);
    EXPECT_EQ(store::AdminFileFolder, c.root);
    EXPECT_EQ(text::SystemSettings.DataFolder, c.root);
    store::CloseFileSet();
  }
  // A working folder whose own name holds a control character keeps its
  // default data root below it.
  support::ResetFileSetUnit("/w\x01/");
  fs.SetFile("/w\x01/sysparm010000.vlk", SysRecord(""));
  ASSERT_EQ(Open("SYS"), 0);
  EXPECT_EQ(store::DataRoot(), "/w\x01/data/");
  store::CloseFileSet();
}

TEST_F(FileSetTest, NewOrEmptySystemParametersLeaveTheFoldersAsTheyWere) {
  for (bool exists : {false, true}) {
    SCOPED_TRACE(exists);
    support::ResetFileSetUnit("/w/");
    if (exists) fs.SetFile("/w/sysparm010000.vlk", std::string(815, '\0'));
    ASSERT_EQ(Open("SYS;GLA"), 0);
    EXPECT_EQ(store::AdminFileFolder, "");
    EXPECT_EQ(text::SystemSettings.DataFolder, "");
    EXPECT_EQ(store::OpenedFilePath(FileCode::GLA), "/w/ledger.vlk");
    store::CloseFileSet();
    fs.Delete("/w/sysparm010000.vlk");
  }
}

TEST_F(FileSetTest, SystemParametersDoNotSendTheAdministrationsFilesToTheRoot) {
  UseDataRoot();
  fs.AddFolder("/d/ACME");
  fs.AddFolder("/d/COPY");
  fs.SetFile("/d/admin.vlk", "");
  store::SetCurrentAdministrationFolder("ACME");
  EXPECT_EQ(text::SystemSettings.DataFolder, "/d/ACME/");
  ASSERT_EQ(Open("SYS;GLA;ADM"), 0);
  EXPECT_EQ(store::OpenedFilePath(FileCode::GLA), "/d/ACME/ledger.vlk");
  EXPECT_EQ(store::OpenedFilePath(FileCode::ADM), "/d/admin.vlk");
  EXPECT_EQ(text::SystemSettings.DataFolder, "/d/ACME/");
  EXPECT_EQ(store::AdminFileFolder, "/d/");
  store::CloseFileSet();

  store::SetDataFolderOverride("/d/COPY\\");
  EXPECT_EQ(text::SystemSettings.DataFolder, "/d/COPY/");
  ASSERT_EQ(Open("GLA"), 0);
  EXPECT_EQ(store::OpenedFilePath(FileCode::GLA), "/d/COPY/ledger.vlk");
  store::CloseFileSet();
  store::ClearDataFolderOverride();
  EXPECT_EQ(text::SystemSettings.DataFolder, "/d/ACME/");
}

// --- the administrations file --------------------------------------------------

TEST_F(FileSetTest, FirstRunCreatesTheStartUpFilesInTheWorkingFolder) {
  ASSERT_EQ(Open("USE;SYS;ADM;LAN;INS"), 0) << FileErrorText;
  store::CloseFileSet();
  EXPECT_EQ(fs.FilesIn("/w"), (std::vector<std::string>{".ombrelo.lock", "admin.vlk", "ins.vlk",
                                                         "sysparm010000.vlk", "user.vlk", "vlk010005.lan"}));
  EXPECT_EQ(store::AdminFileFolder, "");
}

TEST_F(FileSetTest, MissingDataRootIsCreatedBeforeTheAdministrationsFile) {
  // The settings of the first run name the default folder, which was never
  // made: the next start makes it and moves the administrations file there.
  fs.SetFile("/w/admin.vlk", "");
  fs.SetFile("/w/sysparm010000.vlk", SysRecord(""));
  ASSERT_EQ(Open("USE;SYS;ADM;LAN;INS"), 0) << FileErrorText;
  EXPECT_TRUE(fs.HasFolder("/w/data"));
  EXPECT_EQ(store::OpenedFilePath(FileCode::ADM), "/w/data/admin.vlk");
  store::CloseFileSet();
  EXPECT_FALSE(fs.HasFile("/w/admin.vlk"));

  support::ResetFileSetUnit("/w/");
  fs.SetFile("/w/sysparm010000.vlk", SysRecord("/e/books/"));
  fs.InjectError("/e/books", FakeFileSystem::Op::MakeFolders, 5);
  EXPECT_EQ(Open("SYS;ADM"), 1);
  EXPECT_EQ(FileErrorText, "IO errorcode: adm5");
  ExpectNoSetLeft();
}

std::string AdmRecords(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += std::string(275, static_cast<char>('a' + i));
  return s;
}

TEST_F(FileSetTest, WorkingFolderAdministrationsFileMovesIntoTheDataFolder) {
  UseDataRoot();
  fs.SetFile("/w/admin.vlk", AdmRecords(3) + "part");
  ASSERT_EQ(Open("SYS;ADM"), 0) << FileErrorText;
  EXPECT_EQ(fs.File("/d/admin.vlk"), AdmRecords(3));
  EXPECT_FALSE(fs.HasFile("/w/admin.vlk"));
  EXPECT_FALSE(fs.HasFile("/d/admin.vlk.ombrelo-tmp"));
  EXPECT_EQ(fs.LogOf("rename "), std::vector<std::string>{"/d/admin.vlk.ombrelo-tmp -> /d/admin.vlk"});
  std::string rec(275, '\0');
  store::ReadRecord(FileCode::ADM, 2, rec.data());
  EXPECT_EQ(rec, std::string(275, 'c'));
  store::CloseFileSet();
  ExpectNoSetLeft();
}

TEST_F(FileSetTest, InterruptedMoveOfTheAdministrationsFileLosesNothing) {
  UseDataRoot();
  fs.SetFile("/w/admin.vlk", AdmRecords(3));
  fs.InjectError("/d/admin.vlk.ombrelo-tmp", FakeFileSystem::Op::Write, platform::kErrnoBase + 28, 1, 1);
  EXPECT_THROW(Open("SYS;ADM"), platform::IoError);
  ExpectNoSetLeft();
  EXPECT_EQ(fs.File("/w/admin.vlk"), AdmRecords(3));
  EXPECT_FALSE(fs.HasFile("/d/admin.vlk"));
  EXPECT_FALSE(fs.HasFile("/d/admin.vlk.ombrelo-tmp"));

  ASSERT_EQ(Open("SYS;ADM"), 0);  // the next try moves it
  EXPECT_EQ(fs.File("/d/admin.vlk"), AdmRecords(3));
  EXPECT_FALSE(fs.HasFile("/w/admin.vlk"));
  store::CloseFileSet();
}

TEST_F(FileSetTest, AdministrationsFileFailuresUseTheAdmLetters) {
  UseDataRoot();
  const struct {
    const char* what;
    const char* path;
    FakeFileSystem::Op op;
  } cases[] = {
      {"working-folder file unreadable", "/w/admin.vlk", FakeFileSystem::Op::OpenReadWrite},
      {"new file not creatable", "/d/admin.vlk.ombrelo-tmp", FakeFileSystem::Op::Create},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs.SetFile("/w/admin.vlk", AdmRecords(1));
    fs.InjectError(c.path, c.op, 5, 1);
    EXPECT_EQ(Open("SYS;ADM"), 1);
    EXPECT_EQ(FileErrorText, "IO errorcode: adm5");
    EXPECT_EQ(fs.File("/w/admin.vlk"), AdmRecords(1));
    EXPECT_FALSE(fs.HasFile("/d/admin.vlk"));
    ExpectNoSetLeft();
  }
}

// --- the real file system ---------------------------------------------------

class RealFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/ombrelo-fileset-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    support::ResetFileSetUnit(dir + "/");
  }
  void TearDown() override {
    support::ResetFileSetUnit("");
    std::filesystem::remove_all(dir);
  }
  std::string dir;
};

TEST_F(RealFolder, ALockHeldByAnotherOpenFileDescriptionMakesTheSetWait) {
  support::CountingSleeper sleeper;
  const std::string lockPath = dir + "/.ombrelo.lock";
  const int other = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_GE(other, 0);
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  ASSERT_EQ(::fcntl(other, F_OFD_SETLK, &fl), 0);

  int result = -1;
  store::OpenFileSet("USE", result);
  EXPECT_EQ(result, 2);
  EXPECT_EQ(FileErrorCode, 32);
  EXPECT_EQ(sleeper.Count(), 49);
  ::close(other);

  store::OpenFileSet("USE", result);
  ASSERT_EQ(result, 0) << FileErrorText;
  // Now this copy holds it: another description cannot take it until the
  // set closes.
  const int probe = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(probe, 0);
  struct flock pl {};
  pl.l_type = F_WRLCK;
  pl.l_whence = SEEK_SET;
  EXPECT_EQ(::fcntl(probe, F_OFD_SETLK, &pl), -1);
  store::CloseFileSet();
  EXPECT_EQ(::fcntl(probe, F_OFD_SETLK, &pl), 0);
  ::close(probe);
}

TEST_F(RealFolder, MissingFileAndMissingFolderGiveTwoAndThree) {
  int result = -1;
  store::OpenFileSet("GLA", result);
  ASSERT_EQ(result, 0);
  store::CloseFileSet();
  EXPECT_TRUE(std::filesystem::exists(dir + "/ledger.vlk"));

  store::SetDataRoot(dir + "/missing/");
  store::OpenFileSet("GLA", result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(FileErrorText, "IO errorcode: GLA3");

  auto& fs = platform::RealFileSystem();
  std::unique_ptr<platform::FileHandle> h;
  EXPECT_EQ(fs.OpenExisting(dir + "/nope.vlk", platform::OpenMode::Read, h), 2);
  EXPECT_EQ(fs.OpenExisting(dir + "/no/nope.vlk", platform::OpenMode::Read, h), 3);
  EXPECT_EQ(fs.OpenExisting(dir + "/ledger.vlk/x", platform::OpenMode::Read, h), 3);
  EXPECT_EQ(fs.OpenExisting(dir, platform::OpenMode::Read, h), 5);
}

TEST_F(RealFolder, RenameAndCopyWithoutOverwritingRefuseAnExistingTarget) {
  auto& fs = platform::RealFileSystem();
  std::unique_ptr<platform::FileHandle> h;
  ASSERT_EQ(fs.CreateEmpty(dir + "/a", h), 0);
  ASSERT_EQ(h->WriteAt(0, "abc", 3), 0);
  h.reset();
  ASSERT_EQ(fs.CreateEmpty(dir + "/b", h), 0);
  h.reset();
  EXPECT_EQ(fs.RenameNoReplace(dir + "/a", dir + "/b"), platform::kErrnoBase + EEXIST);
  EXPECT_EQ(fs.Copy(dir + "/a", dir + "/b", platform::CopyMode::FailIfExists), platform::kErrnoBase + EEXIST);
  std::uint64_t size = 9;
  EXPECT_EQ(fs.Size(dir + "/b", size), 0);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(fs.Copy(dir + "/a", dir + "/b", platform::CopyMode::Overwrite), 0);
  EXPECT_EQ(fs.Size(dir + "/b", size), 0);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(fs.RenameNoReplace(dir + "/a", dir + "/c"), 0);
  EXPECT_FALSE(fs.Exists(dir + "/a"));
  EXPECT_EQ(fs.MakeFolders(dir + "/x/y/z/"), 0);
  EXPECT_TRUE(fs.IsFolder(dir + "/x/y/z"));
  EXPECT_EQ(fs.MakeFolders(dir + "/c/d"), 3);  // "c" is a file
}

TEST(OsErrorTest, ErrnoMapsToTheProgramsCodes) {
  const struct {
    int err;
    bool parent;
    int code;
  } cases[] = {
      {ENOENT, true, 2}, {ENOENT, false, 3}, {ENOTDIR, true, 3},      {EACCES, true, 5},
      {EPERM, true, 5},  {EROFS, true, 5},   {ENOSPC, true, 1000 + ENOSPC}, {0, true, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::CodeFromErrno(c.err, c.parent), c.code) << c.err;
  for (int code : {2, 3, 5, 32}) {
    EXPECT_FALSE(platform::OsErrorText(code).empty());
    EXPECT_EQ(platform::OsErrorText(code).find("Unknown"), std::string::npos);
  }
  EXPECT_NE(platform::OsErrorText(2), platform::OsErrorText(3));
  EXPECT_EQ(platform::OsErrorText(1000 + ENOSPC), std::strerror(ENOSPC));
  EXPECT_EQ(platform::OsErrorText(77777), "Unknown error 77777");
}

}  // namespace

namespace {

// A data folder that is the working folder under another name (a link to
// it, "./") shares the working folder's lock: the start-up set never waits
// for itself.
TEST_F(RealFolder, AnotherNameOfTheWorkingFolderSharesItsLock) {
  support::CountingSleeper sleeper;
  std::filesystem::create_directory_symlink(dir, dir + "/same");
  for (const std::string& stored : {dir + "/same/", dir + "/./"}) {
    SCOPED_TRACE(stored);
    support::ResetFileSetUnit(dir + "/");
    const std::string rec = SysRecord(stored);
    std::FILE* f = std::fopen((dir + "/sysparm010000.vlk").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(rec.data(), 1, rec.size(), f);
    std::fclose(f);
    int result = -1;
    store::OpenFileSet("USE;SYS;ADM;", result);
    EXPECT_EQ(result, 0) << FileErrorText;
    store::CloseFileSet();
  }
  EXPECT_EQ(sleeper.Count(), 0);
}

// A file rewritten whole keeps who may read it.
TEST_F(RealFolder, AWholeRewriteKeepsTheAccessMode) {
  int result = -1;
  store::OpenFileSet("USE", result);
  ASSERT_EQ(result, 0);
  const std::string path = dir + "/user.vlk";
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  const std::string recs(2 * 284, 'u');
  store::RewriteFile(store::FileCode::USE, recs.data(), 2);
  store::CloseFileSet();
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(st.st_size, 2 * 284);
}

// A file created with a mode has exactly that mode whatever the umask, also
// when it existed before with another.
TEST_F(RealFolder, CreateWithModeGivesExactlyThatMode) {
  auto& fs = platform::RealFileSystem();
  const std::string path = dir + "/copy";
  const mode_t oldMask = ::umask(022);
  for (std::uint32_t mode : {0600u, 0664u, 0640u}) {
    std::unique_ptr<platform::FileHandle> h;
    ASSERT_EQ(fs.CreateEmptyWithMode(path, mode, h), 0);
    std::uint32_t got = 0;
    EXPECT_EQ(fs.AccessMode(path, got), 0);
    EXPECT_EQ(got, mode);
    ASSERT_EQ(h->WriteAt(0, "x", 1), 0);
  }
  ::umask(oldMask);
  std::uint32_t mode = 0;
  EXPECT_EQ(fs.AccessMode(dir + "/missing", mode), 2);
  std::unique_ptr<platform::FileHandle> h;
  EXPECT_EQ(fs.CreateEmptyWithMode(dir, 0600, h), 5);
}

// A folder in the lock file's place is access denied, named in the text.
TEST_F(RealFolder, AFolderInPlaceOfTheLockFileIsAccessDenied) {
  ASSERT_TRUE(std::filesystem::create_directory(dir + "/.ombrelo.lock"));
  int result = -1;
  store::OpenFileSet("USE", result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(FileErrorCode, 5);
  EXPECT_EQ(FileErrorText, "IO errorcode: USE5 (lock file " + dir + "/.ombrelo.lock)");
}

// A file with more records than an int counts is refused by name, not
// narrowed; a limited ReadAll refuses it before reading.
TEST_F(RealFolder, AFileWithMoreRecordsThanAnIntIsRefusedByName) {
  const std::string path = dir + "/ins.vlk";
  {
    std::ofstream(path, std::ios::binary) << "abc";
  }
  const std::uintmax_t records = (std::uintmax_t{1} << 31) + 5;
  std::filesystem::resize_file(path, records * 3);  // sparse
  int result = -1;
  store::OpenFileSet("INS", result);
  ASSERT_EQ(result, 0) << FileErrorText;
  try {
    store::RecordCount(FileCode::INS);
    ADD_FAILURE() << "counted";
  } catch (const platform::IoError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(std::to_string(records)), std::string::npos) << e.what();
  }
  struct InsRec : records::Record<3> {};
  EXPECT_THROW(store::ReadAll<InsRec>(FileCode::INS, store::kSmallFileLimit), platform::IoError);
  store::CloseFileSet();
}

// The real file system, but the process ends (as by kill -9) right before
// its `killAt`-th call that changes the disk.
class KillingFileSystem : public platform::FileSystem {
 public:
  explicit KillingFileSystem(int killAt) : killAt_(killAt) {}
  void Step() {
    if (++calls_ == killAt_) ::_exit(0);
  }
  int OpenExisting(const std::string& p, platform::OpenMode m, std::unique_ptr<platform::FileHandle>& out) override {
    return Wrap(real_.OpenExisting(p, m, out), out);
  }
  int CreateEmpty(const std::string& p, std::unique_ptr<platform::FileHandle>& out) override {
    Step();
    return Wrap(real_.CreateEmpty(p, out), out);
  }
  int CreateEmptyWithMode(const std::string& p, std::uint32_t mode,
                          std::unique_ptr<platform::FileHandle>& out) override {
    Step();
    return Wrap(real_.CreateEmptyWithMode(p, mode, out), out);
  }
  int Size(const std::string& p, std::uint64_t& size) override { return real_.Size(p, size); }
  int RenameOver(const std::string& a, const std::string& b) override { return Step(), real_.RenameOver(a, b); }
  int RenameNoReplace(const std::string& a, const std::string& b) override {
    return Step(), real_.RenameNoReplace(a, b);
  }
  int Copy(const std::string& a, const std::string& b, platform::CopyMode m) override {
    return Step(), real_.Copy(a, b, m);
  }
  int Delete(const std::string& p) override { return Step(), real_.Delete(p); }
  bool Exists(const std::string& p) override { return real_.Exists(p); }
  bool IsFolder(const std::string& p) override { return real_.IsFolder(p); }
  int MakeFolders(const std::string& p) override { return Step(), real_.MakeFolders(p); }
  int LockExclusive(const std::string& p, std::unique_ptr<platform::LockHandle>& out) override {
    return real_.LockExclusive(p, out);
  }
  std::string ResolvedFolder(const std::string& p) override { return real_.ResolvedFolder(p); }
  int AccessMode(const std::string& p, std::uint32_t& mode) override { return real_.AccessMode(p, mode); }

 private:
  class Handle : public platform::FileHandle {
   public:
    Handle(KillingFileSystem& fs, std::unique_ptr<platform::FileHandle> h) : fs_(fs), h_(std::move(h)) {}
    int Size(std::uint64_t& size) override { return h_->Size(size); }
    int ReadAt(std::uint64_t o, void* d, std::size_t n, std::size_t& done) override { return h_->ReadAt(o, d, n, done); }
    int WriteAt(std::uint64_t o, const void* d, std::size_t n) override {
      fs_.Step();
      return h_->WriteAt(o, d, n);
    }
    int Truncate(std::uint64_t size) override { return fs_.Step(), h_->Truncate(size); }
    int Sync() override { return fs_.Step(), h_->Sync(); }
    int Close() override { return h_->Close(); }

   private:
    KillingFileSystem& fs_;
    std::unique_ptr<platform::FileHandle> h_;
  };
  int Wrap(int code, std::unique_ptr<platform::FileHandle>& out) {
    if (code == 0) out = std::make_unique<Handle>(*this, std::move(out));
    return code;
  }
  platform::FileSystem& real_ = platform::RealFileSystem();
  int killAt_;
  int calls_ = 0;
};

// A copy killed at each changing call of an insert and a delete on disk: the
// next open finds the old records or the new ones.
TEST_F(RealFolder, ACopyKilledPartWayLeavesTheOldOrTheNewRecordsOnDisk) {
  const std::string path = dir + "/book.vlk";
  std::string original;
  for (int i = 0; i < 20; ++i) original += std::string(392, static_cast<char>('a' + i));
  const std::string rec(392, 'N');
  const std::string inserted = original.substr(0, 392 * 3) + rec + original.substr(392 * 3);
  const std::string deleted = original.substr(0, 392 * 2) + original.substr(392 * 5);
  const auto contents = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  for (bool insert : {true, false}) {
    SCOPED_TRACE(insert ? "insert" : "delete");
    bool finished = false, done = false;
    int old = 0;
    for (int killAt = 1; !finished && killAt < 40; ++killAt) {
      SCOPED_TRACE(killAt);
      { std::ofstream(path, std::ios::binary | std::ios::trunc) << original; }
      std::fflush(nullptr);
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        KillingFileSystem killing(killAt);
        platform::SetFileSystem(&killing);
        try {
          int result = -1;
          store::OpenFileSet("JVO", result);
          if (insert)
            store::InsertRecords(FileCode::JVO, 3, rec.data(), 1);
          else
            store::DeleteRecords(FileCode::JVO, 2, 3);
          store::CloseFileSet();
        } catch (...) {
          ::_exit(8);
        }
        ::_exit(7);  // not killed: the change went through
      }
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status));
      ASSERT_NE(WEXITSTATUS(status), 8);
      finished = WEXITSTATUS(status) == 7;
      int result = -1;
      store::OpenFileSet("JVO", result);
      ASSERT_EQ(result, 0) << FileErrorText;
      store::CloseFileSet();
      std::ifstream journal(path + ".ombrelo-rollback", std::ios::binary);
      EXPECT_TRUE(support::HoldsNothingToRollBack(std::string(std::istreambuf_iterator<char>(journal), {})));
      // Old records up to the moment the journal is emptied, new ones from
      // then on (a kill at the sync of the emptied journal finds the change
      // done).
      const bool changed = contents() == (insert ? inserted : deleted);
      EXPECT_TRUE(changed || contents() == original);
      EXPECT_TRUE(changed || !done);
      done = done || changed;
      if (!changed) ++old;
    }
    EXPECT_TRUE(finished);
    EXPECT_GE(old, 6);  // journal created, written, synced; moves; sync; journal emptied
  }
}

}  // namespace
