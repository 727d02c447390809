// The journal form's bank-import tabs through the Qt front end: tab 7 after
// a statement was split and tab 8 after a run render with their grids,
// fields and progress bar. OMBRELO_RENDER_DIR=folder keeps the two
// pictures (scripts/screenshots.sh uses it).
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <cstdlib>
#include <string>

#include "journal/boekingstuk.h"
#include "platform/numberformat.h"
#include "qtfixture.h"
#include "store/fileset.h"
#include "text/systemsettings.h"
#include "support/adminfolder.h"
#include "support/bankbooks.h"
#include "support/journalform.h"

namespace qttest {
namespace {

class BankImportRender : public QtFrontTest, public support::AdministrationFolder {
 protected:
  void SetUp() override {
    backend.messageHook = [](const ui::Text&, const ui::Text&, ui::Buttons, ui::DialogKind) {
      return std::optional<ui::ModalResult>(ui::ModalResult::Yes);
    };
    backend.dialogHook = [](const std::string&, const ui::FileDialogOptions&) {
      return std::optional<std::optional<std::string>>(std::optional<std::string>("/home/anne/statement.csv"));
    };
    support::ReadyJournalForm(store);
    support::WriteBankBooks(store);
    store.fs.SetFile("/home/anne/statement.csv", support::StatementFixture("semicolon-utf8-crlf.csv"));
  }

  void Keep(const QImage& img, const char* name) {
    ASSERT_FALSE(img.isNull());
    EXPECT_GE(img.width(), 400);
    qttest::KeepPicture(img, name);
  }

  platform::ScopedNumberFormat numbers{','};
};

TEST_F(BankImportRender, TheSplitStatementAndTheRunRender) {
  journal::Tboeking form;
  int result = -1;
  store::OpenFileSet("IFS;GLA;JVT", result);
  ASSERT_EQ(result, 0);
  form.OnActivate();  // ends the set, as at a showing
  form.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
  form.BankImport.Button8.UserClick();
  support::SplitSemicolonStatement(form);
  support::TypeSemicolonProfile(form, "Bank ;");
  ASSERT_EQ(form.BankImport.StringGrid4.RowCount(), 4);
  Keep(qtfront::RenderForm(form), "journal-import-split.png");

  form.ComboBox4.SetItemIndex(0);
  form.BankImport.Button25.UserClick();
  form.BankImport.Button26.UserClick();
  ASSERT_EQ(form.BankImport.Edit117.GetText(), "Import payments         : 3");
  auto* bar = qobject_cast<QProgressBar*>(backend.WidgetFor(form.BankImport.ImportProgressBar));
  ASSERT_NE(bar, nullptr);
  Keep(qtfront::RenderForm(form), "journal-import-run.png");
  EXPECT_EQ(bar->value(), 3);
  EXPECT_EQ(bar->maximum(), 3);
  // The summary names the help topic by its title, not by a raw tag.
  auto* status = qobject_cast<QStatusBar*>(backend.WidgetFor(form.StatusBar1));
  ASSERT_NE(status, nullptr);
  const QList<QLabel*> panels = status->findChildren<QLabel*>();
  ASSERT_FALSE(panels.isEmpty());
  const QString summary = panels.front()->text();
  EXPECT_TRUE(summary.contains("1 refunds without partner (see Help: \"Importing a bank statement\")"))
      << summary.toStdString();
  EXPECT_FALSE(summary.contains('<')) << summary.toStdString();
}

}  // namespace
}  // namespace qttest
