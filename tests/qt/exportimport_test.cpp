// The export and import form through the Qt front end: its list boxes show
// the model's lines (a long output list at once), a click picks a line, and
// the form's pictures on the audit file and after an export
// (OMBRELO_RENDER_DIR=folder keeps them; scripts/screenshots.sh puts them
// into docs/screenshots).
#include <QListView>
#include <cstdlib>

#include "qtfixture.h"
#include "records/freezerec.h"
#include "records/ledgercategoryrec.h"
#include "reports/impexp.h"
#include "store/fileset.h"
#include "store/session.h"
#include "support/adminfolder.h"
#include "support/records.h"
#include "ui/listbox.h"

namespace qttest {
namespace {

class ListForm : public ui::Form {
 public:
  ListForm() : ui::Form("Lists", "TLists") { SetCaption("Lists"); }
  ui::ListBox ListBox1{this, "ListBox1"};
};

TEST_F(QtFrontTest, AListBoxShowsItsLinesAndReportsAPick) {
  ListForm form;
  std::vector<ui::Text> lines;
  for (int i = 0; i < 300000; ++i) lines.push_back("line " + std::to_string(i));
  lines[1] = "caf\xE9";  // code page 1252
  form.ListBox1.SetItems(std::move(lines));
  int clicks = 0;
  form.ListBox1.OnClick = [&] { ++clicks; };
  qtfront::RenderForm(form);
  auto* view = qobject_cast<QListView*>(qtfront::FindWidget(form, "ListBox1"));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->model()->rowCount(), 300000);
  EXPECT_EQ(view->model()->index(1, 0).data().toString(), QString::fromUtf8("caf\xC3\xA9"));
  // The program changes the lines: the view follows.
  form.ListBox1.Clear();
  form.ListBox1.Add("only");
  EXPECT_EQ(view->model()->rowCount(), 1);
  // A click picks the line.
  view->show();
  const QRect r = view->visualRect(view->model()->index(0, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_EQ(form.ListBox1.ItemIndex(), 0);
  EXPECT_EQ(clicks, 1);
}

TEST_F(QtFrontTest, TheExportFormOnTheAuditFileAndAfterAnExport) {
  support::AdministrationFolder admin;
  records::FreezeRec opening;
  opening.SetBookYear(2007);
  opening.SetPeriodLabel("2007-01/01");
  opening.SetPeriodEndDate("20080101");
  admin.store.fs.SetFile("/d/ACME/freeze.vlk", support::Bytes({opening}));
  std::vector<records::LedgerCategoryRec> categories(2);
  categories[0].SetCategoryKind(records::kBalanceSheetKind);
  categories[0].SetCategoryName("Fixed assets");
  categories[1].SetCategoryKind(records::kProfitAndLossKind);
  categories[1].SetCategoryName("Sales");
  admin.store.fs.SetFile("/d/ACME/ledgerct.vlk", support::Bytes(categories));
  store::CurrentAdministrationName = "Acme Trading";
  reports::ExportImportStartFolder = "/w/";
  store::AdminSettings.SetFiscalYear("2008");
  store::AdminSettings.SetCurrentAnnualBalance("2008");
  store::AdminSettings.SetCurrentPeriod("01/12");
  backend.dialogHook = [](const std::string&, const ui::FileDialogOptions&) {
    return std::optional<std::optional<std::string>>(std::optional<std::string>("/w/categories.csv"));
  };

  reports::TExportImport form;
  form.ApplyLanguageTexts();
  form.FormActivate();
  form.ComboBox1.UserSelect(7);  // the audit file
  qttest::KeepPicture(qtfront::RenderForm(form), "export-import-audit-file.png");
  EXPECT_TRUE(qtfront::FindWidget(form, "ComboBox2")->isVisibleTo(qtfront::FindWidget(form, "ExportImport")));

  form.ComboBox1.UserSelect(6);  // GL categories
  form.Button1.UserClick();
  EXPECT_FALSE(admin.store.fs.File("/w/categories.csv").empty());
  auto* log = qobject_cast<QListView*>(qtfront::FindWidget(form, "ListBox2"));
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->model()->rowCount(), 5);  // the run's three lines, the saved line and a rule
  qttest::KeepPicture(qtfront::RenderForm(form), "export-import-after-export.png");
}

}  // namespace
}  // namespace qttest
