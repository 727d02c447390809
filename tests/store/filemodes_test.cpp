// The access modes of the files the program makes from others: a copy,
// a backup, the closing's intent record. Each gets the mode of what it
// copies; with nothing to copy from, the umask decides (the fake's 0644).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/filecopy.h"
#include "records/ledgeraccountrecv1.h"
#include "books/closing/closingintent.h"
#include "store/dataconversion.h"
#include "store/fileset.h"
#include "store/scopedfileset.h"
#include "support/fakefs.h"

namespace {

const std::string kFolder = "/w/data/ACME/";

class FileModes : public ::testing::Test {
 protected:
  support::FakeDataStore store;
  void SetUp() override {
    store.fs.AddFolder(kFolder);
    store::SetDataRoot("/w/data/");
    store::SetCurrentAdministrationFolder("ACME");
  }
};

TEST_F(FileModes, TheClosingRecordTakesTheModeOfTheFoldersSettingsFile) {
  struct Case {
    const char* name;
    bool settingsFile;
    std::uint32_t mode;
    std::uint32_t want;
  };
  const std::vector<Case> cases = {
      {"Private", true, 0600, 0600},
      {"SharedByGroup", true, 0660, 0660},
      // No data file to follow: the umask's.
      {"EmptyFolder", false, 0, 0644},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.fs.Delete(kFolder + "adminset.vlk");
    if (c.settingsFile) {
      store.fs.SetFile(kFolder + "adminset.vlk", std::string(1386, '\0'));
      store.fs.SetMode(kFolder + "adminset.vlk", c.mode);
    }
    store.fs.ClearLog();
    books::closing::WriteIntent(books::closing::ClosingIntent{});
    const std::string path = kFolder + books::closing::kIntentFileName;
    EXPECT_EQ(store.fs.ModeOf(path), c.want);
    // Made under its temporary name, which it had from the start.
    EXPECT_EQ(store.fs.LogOf("rename ").front(), path + ".ombrelo-tmp -> " + path);
    books::closing::DeleteIntent();
  }
}

TEST_F(FileModes, ACopyKeepsItsOriginalsModeAndReplacesTheOldCopyWhole) {
  const std::string from = kFolder + "ledger.vlk", to = kFolder + "ledger.vlk.before-import";
  store.fs.SetFile(from, "the file");
  store.fs.SetMode(from, 0600);
  store.fs.SetFile(to, "an older copy");  // 0644
  EXPECT_EQ(platform::CopyKeepingMode(from, to), 0);
  EXPECT_EQ(store.fs.File(to), "the file");
  EXPECT_EQ(store.fs.ModeOf(to), 0600u);
  EXPECT_FALSE(store.fs.HasFile(to + ".ombrelo-tmp"));
  // A failure part-way leaves the old copy and no temporary file.
  store.fs.SetFile(from, "the next file");
  store.fs.InjectError(to + ".ombrelo-tmp", support::FakeFileSystem::Op::Sync, 1028);
  EXPECT_EQ(platform::CopyKeepingMode(from, to), 1028);
  store.fs.ClearErrors();
  EXPECT_EQ(store.fs.File(to), "the file");
  EXPECT_FALSE(store.fs.HasFile(to + ".ombrelo-tmp"));
  // A missing original copies nothing.
  EXPECT_EQ(platform::CopyKeepingMode(kFolder + "gone.vlk", to), 2);
  EXPECT_EQ(store.fs.File(to), "the file");
}

TEST_F(FileModes, AConversionBackupKeepsTheFilesMode) {
  store.fs.SetFile(kFolder + "ledger.vlk", std::string(records::LedgerAccountRecV1::kSize, '\0'));
  store.fs.SetMode(kFolder + "ledger.vlk", 0600);
  store::ScopedFileSet set("ADS;FLG;INV;PAY;ADM;CUS;SUP;JVO;GLA;GLC;FRZ");
  ASSERT_TRUE(set.Ok());
  ASSERT_TRUE(store::ConvertDataFiles().Ok());
  EXPECT_EQ(store.fs.ModeOf(kFolder + "ledger003.vlk"), 0600u);
  EXPECT_EQ(store.fs.ModeOf(kFolder + "ledger.vlk"), 0600u);
}

}  // namespace
