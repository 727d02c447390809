// Several copies of the program on one administration, as separate
// processes on a real folder: each drives the real GL accounts form
// headless, posts accounts and saves, opening the form again whenever a
// Save was refused. No copy may lose another's work.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "formkit/rowlist.h"
#include "masterdata/Ledgerunit.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "store/fileset.h"
#include "support/records.h"
#include "support/reset.h"
#include "ui/headless.h"

namespace {

using masterdata::TLedger;

class Copies : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/ombrelo-copies-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    std::filesystem::create_directory(dir + "/ACME");
    support::ResetProgram(dir + "/");
    store::SetDataRoot(dir + "/");
    store::SetCurrentAdministrationFolder("ACME");
  }
  void TearDown() override {
    support::ResetProgram("");
    std::filesystem::remove_all(dir);
  }

  std::string ResultFile(int copy) const { return dir + "/result-" + std::to_string(copy) + ".txt"; }

  // One copy: posts and saves `count` accounts one Save each, opening the
  // form again after every refused Save. Writes one line per Save to its
  // result file: "saved N", "refused N" (the changed-file message shown),
  // "silent N" (refused without that message) or "busy N" (another message,
  // such as files in use).
  void RunCopy(int copy, int count) const {
    std::ofstream out(ResultFile(copy));
    ui::HeadlessBackend backend;
    TLedger form;
    for (int i = 0; i < count; ++i) {
      const std::string number = std::to_string(copy) + "-" + std::to_string(i);
      for (int attempt = 0; attempt < 200; ++attempt) {
        backend.messages.clear();
        std::string outcome = "unshown";
        backend.scripts["Ledger"] = [&](ui::Form& f) {
          auto& ledger = static_cast<TLedger&>(f);
          ledger.MaskEdit1.UserSetText(number);
          ledger.ComboBox1.UserSetText("Assets");
          ledger.PostImage.UserClick();
          ledger.Button1.UserClick();
          if (!ledger.InModalLoop()) {
            outcome = "saved";
            return;
          }
          if (backend.messages.empty())
            outcome = "silent";
          else if (backend.messages.back().text == text::MsgChangedInAnotherCopy())
            outcome = "refused";
          else
            outcome = "busy";
          ledger.Button2.UserClick();
        };
        form.ShowModal();
        out << outcome << ' ' << number << '\n';
        if (outcome == "saved") break;
      }
    }
  }

  std::string dir;
};

TEST_F(Copies, FourCopiesSavingAccountsLoseNothing) {
  constexpr int kCopies = 4;
  constexpr int kAccountsEach = 6;
  {
    // One category to post the accounts under; an empty account file.
    records::LedgerCategoryRec category;
    category.SetCategoryKind(records::kBalanceSheetKind);
    category.SetCategoryName("Assets");
    std::ofstream(dir + "/ACME/ledgerct.vlk", std::ios::binary) << support::Bytes(category);
    std::ofstream(dir + "/ACME/ledger.vlk", std::ios::binary);
  }

  std::vector<pid_t> children;
  for (int copy = 0; copy < kCopies; ++copy) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      RunCopy(copy, kAccountsEach);
      std::_Exit(0);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }

  std::map<std::string, int> saved;
  for (int copy = 0; copy < kCopies; ++copy) {
    std::ifstream in(ResultFile(copy));
    std::string outcome, number;
    while (in >> outcome >> number) {
      if (outcome == "saved") {
        ++saved[number];
      } else if (outcome != "refused") {
        EXPECT_EQ(outcome, "busy") << number;  // a refused Save always says why
      }
    }
  }
  EXPECT_EQ(saved.size(), static_cast<std::size_t>(kCopies * kAccountsEach));

  std::ifstream file(dir + "/ACME/ledger.vlk", std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  const std::string all = bytes.str();
  ASSERT_EQ(all.size() % records::LedgerAccountRec::kSize, 0u);
  std::map<std::string, int> inFile;
  for (const auto& rec : support::Records<records::LedgerAccountRec>(all)) ++inFile[rec.AccountNumber()];
  // Every account whose Save succeeded is there once; nothing else is.
  EXPECT_EQ(inFile, saved);
}

}  // namespace
