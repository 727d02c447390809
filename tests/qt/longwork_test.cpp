// Long work in the real window (the report form of a small book, tests/
// support/reportbook.h): while a generate, a print or a save runs, the
// window repaints (the progress bar of the ledger cards moves), the wait
// cursor shows, and a click on the same command, Escape or the window's
// close button meanwhile starts nothing and closes nothing; a question the
// work asks still takes its answer; the export form's run likewise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/datetime.h"
#include "platform/filesystem.h"
#include "platform/numberformat.h"
#include "qt/qtbackend.h"
#include "qt/richtext.h"
#include "qtfixture.h"
#include "records/ledgercategoryrec.h"
#include "reports/Rapport1unit.h"
#include "reports/impexp.h"
#include "support/adminfolder.h"
#include "support/program.h"
#include "support/records.h"
#include "support/reportbook.h"
#include "ui/application.h"
#include "ui/longwork.h"
#include "ui/printing.h"

namespace {

// What the window showed while an action ran.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
  ~PaintWatch() override { qApp->removeEventFilter(this); }

  bool working = false;
  int paints = 0;            // paint events in the window while working
  int paintsWithoutWait = 0;  // ... of which without the wait cursor
  std::set<int> barValues;   // the progress bar's values it painted

  bool eventFilter(QObject* obj, QEvent* e) override {
    if (!working || e->type() != QEvent::Paint || !obj->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(obj);
    if (w->window() != window_) return false;
    ++paints;
    const QCursor* cursor = QApplication::overrideCursor();
    if (!cursor || cursor->shape() != Qt::WaitCursor) ++paintsWithoutWait;
    if (auto* bar = qobject_cast<QProgressBar*>(w); bar && bar->objectName() == "ProgressBar1")
      barValues.insert(bar->value());
    return false;
  }

 private:
  QWidget* window_;
};

class LongWorkQt : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 3, 1) + platform::EncodeTime(9, 30, 0, 0)};
  platform::ScopedNumberFormat numbers{'.'};
  qtfront::QtPrintService printer;
  QTemporaryDir temp;

  void SetUp() override {
    StartWithAcme();
    support::WriteReportBook(store, "/w/data/ACME/", "/w/");
    LogInToAcme();
    ui::SetPrintService(&printer);
    printer.outputFile = temp.path().toStdString() + "/print%1.pdf";
  }
  void TearDown() override {
    ui::SetPrintService(nullptr);
    ui::SetBackend(&backend);
  }

  // The report form as the tree shows it, report `kind` (1..6) chosen and,
  // when `generate`, generated.
  reports::TRapport1& ReportForm(int kind, bool generate) {
    ui::SetBackend(&backend);  // the Qt backend of a case before has gone
    backend.scripts["Rapport1"] = [&](ui::Form& form) {
      auto& f = static_cast<reports::TRapport1&>(form);
      f.ComboBox4.UserFocus();
      f.ComboBox4.UserSelect(kind - 1);
      if (generate) f.Button1.UserClick();
    };
    EXPECT_TRUE(DoubleClick(program::TreeFunction::Reports));
    backend.scripts.erase("Rapport1");
    return *reports::Rapport1;
  }
};

struct Case {
  const char* what;
  int kind;
  const char* button;  // the command's button or tool button
  ui::Action reports::TRapport1::*action;
};

TEST_F(LongWorkQt, TheWindowRepaintsAndTakesNoOtherCommandWhileLongWorkRuns) {
  const Case cases[] = {
      {"the ledger cards of all accounts", 3, "Button1", &reports::TRapport1::genereerrapport},
      {"the journal printed", 4, "Button2", &reports::TRapport1::Afdrukken},
      {"the journal saved", 4, "ToolButton4", &reports::TRapport1::saveas},
  };
  int printed = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const bool generate = c.action != &reports::TRapport1::genereerrapport;
    reports::TRapport1& f = ReportForm(c.kind, generate);
    qtfront::QtBackend qt;
    qt.longWorkRepaintMs = 0;
    qt.dialogHook = [](const std::string&, const ui::FileDialogOptions&) {
      return std::optional<std::optional<std::string>>(std::string("/w/journal.rtf"));
    };
    QWidget* window = qttest::ShowWindow(f);
    QApplication::processEvents();
    QWidget* button = qtfront::FindWidget(f, c.button);
    ASSERT_NE(button, nullptr);

    PaintWatch watch(window);
    ui::Action& action = f.*c.action;
    int runs = 0;
    bool acted = false;
    const ui::Event original = action.OnExecute;
    action.OnExecute = [&] {
      ++runs;
      watch.working = true;
      original();
      watch.working = false;
    };
    // Comes up at the first repaint of the work: the window is to be drawn
    // again (as when another window uncovered it), and the user tries the
    // same command again, Escape (which closes the form) and the window's
    // close button.
    QTimer::singleShot(0, [&] {
      if (!watch.working) return;
      acted = true;
      window->update();
      QTest::mouseClick(button, Qt::LeftButton);
      QTest::keyClick(window, Qt::Key_Escape);
      window->close();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    action.OnExecute = original;

    EXPECT_TRUE(acted) << "the window repainted while the work ran";
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_GT(watch.paints, 0);
    EXPECT_EQ(watch.paintsWithoutWait, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    if (c.kind == 3) {
      EXPECT_GE(watch.barValues.size(), 3u) << "the progress bar moved";
      EXPECT_FALSE(qtfront::FindWidget(f, "ProgressBar1")->isVisible()) << "hidden when the cards are done";
    }
    if (c.action == &reports::TRapport1::Afdrukken) ++printed;
    EXPECT_EQ(std::filesystem::exists(temp.path().toStdString() + "/print2.pdf"), false) << "one print only";
    EXPECT_EQ(std::filesystem::exists(temp.path().toStdString() + "/print1.pdf"), printed == 1);
    if (c.action == &reports::TRapport1::saveas) {
      EXPECT_TRUE(platform::Fs().Exists("/w/journal.rtf"));
    }
    // The user's input after the work is taken as usual.
    EXPECT_FALSE(ui::InLongWork());
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
  }
}


// A question the work asks meanwhile (the administration copy's overwrite
// question) takes its answer, with the normal pointer; the form's own
// buttons take nothing until the work ends.
using LongWorkDialogs = qttest::QtFrontTest;

TEST_F(LongWorkDialogs, AQuestionDuringLongWorkTakesItsAnswerTheFormNothing) {
  qttest::SmallForm f;
  int clicks = 0;
  f.Button1.OnClick = [&] { ++clicks; };
  backend.longWorkRepaintMs = 0;
  qttest::ShowWindow(f);
  QWidget* button = qtfront::FindWidget(f, "Button1");
  std::vector<Qt::CursorShape> shapes;
  QTimer asking;
  asking.setInterval(0);
  QObject::connect(&asking, &QTimer::timeout, [&] {
    if (QApplication::activeModalWidget() && QApplication::overrideCursor())
      shapes.push_back(QApplication::overrideCursor()->shape());
  });
  asking.start();
  qttest::BoxAnswerer no(QMessageBox::No);
  ui::ModalResult answer = ui::ModalResult::None;
  {
    ui::LongWork work;
    QTest::mouseClick(button, Qt::LeftButton);
    ui::LongWorkTick();
    answer = ui::MessageDlg("Overwrite book.vlk?", ui::DialogKind::Warning, ui::Buttons::YesNoYesToAll);
    QTest::mouseClick(button, Qt::LeftButton);
    ui::LongWorkTick();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(answer, ui::ModalResult::No);
  EXPECT_EQ(no.texts, std::vector<std::string>{"Overwrite book.vlk?"});
  EXPECT_FALSE(shapes.empty());
  for (Qt::CursorShape s : shapes) EXPECT_EQ(s, Qt::ArrowCursor);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}


// The export form's run (its text file written piece by piece, as the audit
// file of a large year is) repaints the window with the wait cursor, and OK
// clicked again meanwhile runs nothing.
TEST_F(LongWorkDialogs, AnExportRepaintsAndTakesNoSecondRun) {
  support::AdministrationFolder admin;
  std::vector<records::LedgerCategoryRec> categories(2);
  categories[0].SetCategoryKind(records::kBalanceSheetKind);
  categories[0].SetCategoryName("Fixed assets");
  categories[1].SetCategoryKind(records::kProfitAndLossKind);
  categories[1].SetCategoryName("Sales");
  admin.store.fs.SetFile("/d/ACME/ledgerct.vlk", support::Bytes(categories));
  reports::ExportImportStartFolder = "/w/";
  backend.longWorkRepaintMs = 0;
  backend.dialogHook = [](const std::string&, const ui::FileDialogOptions&) {
    return std::optional<std::optional<std::string>>(std::optional<std::string>("/w/categories.csv"));
  };
  reports::TExportImport form;
  form.ApplyLanguageTexts();
  form.FormActivate();
  form.ComboBox1.UserSelect(6);  // GL categories
  QWidget* window = qttest::ShowWindow(form);
  QApplication::processEvents();
  QWidget* ok = qtfront::FindWidget(form, "Button1");
  PaintWatch watch(window);
  int runs = 0;
  bool acted = false;
  const ui::Event original = form.OkAction.OnExecute;
  form.OkAction.OnExecute = [&] {
    ++runs;
    watch.working = true;
    original();
    watch.working = false;
  };
  QTimer::singleShot(0, [&] {
    if (!watch.working) return;
    acted = true;
    window->update();
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  QTest::mouseClick(ok, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_TRUE(acted);
  EXPECT_EQ(runs, 1);
  EXPECT_GT(watch.paints, 0);
  EXPECT_EQ(watch.paintsWithoutWait, 0);
  EXPECT_FALSE(admin.store.fs.File("/w/categories.csv").empty());
}

}  // namespace
