// The front end renders a form's declared component tree: every kind
// becomes its widget, in place, readable and in declaration order.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "qtfixture.h"

namespace qttest {
namespace {

using RenderTest = QtFrontTest;

TEST_F(RenderTest, EveryKindRendersToASensibleImage) {
  EveryKindForm f;
  QImage img = qtfront::RenderForm(f);
  ASSERT_FALSE(img.isNull());
  EXPECT_GE(img.width(), 300);
  EXPECT_LE(img.width(), 1600);
  EXPECT_GE(img.height(), 300);
  EXPECT_LE(img.height(), 1400);
  // Something was drawn: texts, frames and the status colour at least.
  QSet<QRgb> colours;
  for (int y = 0; y < img.height(); y += 3)
    for (int x = 0; x < img.width(); x += 3) colours.insert(img.pixel(x, y));
  EXPECT_GT(colours.size(), 20);
  // The status line's lime shows.
  EXPECT_TRUE(colours.contains(qRgb(0, 255, 0)));
}

TEST_F(RenderTest, EachKindBecomesItsWidget) {
  EveryKindForm f;
  const std::vector<std::pair<std::string, const char*>> cases = {
      {"Label1", "QLabel"},           {"Edit1", "QLineEdit"},          {"Memo1", "QPlainTextEdit"},
      {"ComboBox1", "QComboBox"},     {"DatePicker1", "QDateEdit"},    {"GroupBox1", "QGroupBox"},
      {"CheckBox1", "QCheckBox"},     {"RadioButton1", "QRadioButton"}, {"RadioGroup1", "QGroupBox"},
      {"Panel1", "QFrame"},           {"TabControl1", "QWidget"},      {"StringGrid1", "QTableWidget"},
      {"TreeView1", "QTreeWidget"},   {"CheckListBox1", "QListWidget"}, {"Button1", "QPushButton"},
      {"StatusBar1", "QStatusBar"},   {"MainMenu1", "QMenuBar"},       {"ToolBar1", "QToolBar"},
      {"ToolButton1", "QToolButton"},
  };
  for (const auto& [name, cls] : cases) {
    QWidget* w = qtfront::FindWidget(f, name);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_TRUE(w->inherits(cls)) << name << " is a " << w->metaObject()->className();
    EXPECT_EQ(w->objectName().toStdString(), name);
  }
  // The form's menu, tool and status bars are the window's own.
  auto* window = qobject_cast<QMainWindow*>(qtfront::FindWidget(f, "EveryKind"));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->menuBar(), qtfront::FindWidget(f, "MainMenu1"));
  EXPECT_EQ(window->statusBar(), qtfront::FindWidget(f, "StatusBar1"));
  EXPECT_EQ(window->windowTitle(), "Every kind");
}

TEST_F(RenderTest, ModelStateShowsInTheWidgets) {
  EveryKindForm f;
  ShowWindow(f);
  f.Edit1.SetText(cp1252::L("Grüße"));
  f.Memo1.SetLines({"line 1", cp1252::L("línea 2")});

  EXPECT_EQ(WidgetOf<QLineEdit>(f, "Edit1")->text(), QString::fromUtf8("Grüße"));
  EXPECT_EQ(WidgetOf<QPlainTextEdit>(f, "Memo1")->toPlainText(), QString::fromUtf8("line 1\nlínea 2"));

  // Row 0 of the grid is the header; a column of width 0 is hidden.
  auto* grid = WidgetOf<QTableWidget>(f, "StringGrid1");
  EXPECT_EQ(grid->rowCount(), 3);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Code");
  EXPECT_EQ(grid->item(0, 1)->text(), "Account 1");
  EXPECT_TRUE(grid->isColumnHidden(2));
  EXPECT_EQ(grid->columnWidth(1), 160);
  EXPECT_EQ(grid->currentRow(), 0);  // the model's row 1

  auto* tree = WidgetOf<QTreeWidget>(f, "TreeView1");
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
  EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());

  auto* list = WidgetOf<QListWidget>(f, "CheckListBox1");
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);

  auto* radios = WidgetOf<QGroupBox>(f, "RadioGroup1");
  const auto buttons = radios->findChildren<QRadioButton*>();
  ASSERT_EQ(buttons.size(), 3);
  EXPECT_TRUE(buttons[0]->isChecked());
  // Three columns: the items stand side by side.
  EXPECT_LT(buttons[0]->geometry().right(), buttons[1]->geometry().left() + 1);

  auto* tabs = WidgetOf<QWidget>(f, "TabControl1")->findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(1), "Second");

  // The status line: panel 0 carries the text in its colour.
  auto* status = WidgetOf<QStatusBar>(f, "StatusBar1");
  const auto panels = status->findChildren<QLabel*>();
  ASSERT_GE(panels.size(), 2);
  EXPECT_EQ(panels[0]->text(), "Ready");
  EXPECT_EQ(panels[0]->palette().color(QPalette::Window), QColor(0, 255, 0));
  f.StatusBar1.Show("Failed", ui::colors::Red);
  EXPECT_EQ(panels[0]->text(), "Failed");
  EXPECT_EQ(panels[0]->palette().color(QPalette::Window), QColor(255, 0, 0));

  // Menus: captions keep "&", separators, checked and invisible items.
  QAction* open = backend.ActionFor(f.Open1);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->text(), "&Open");
  EXPECT_TRUE(backend.ActionFor(f.N1)->isSeparator());
  EXPECT_TRUE(backend.ActionFor(f.Checked1)->isChecked());
  EXPECT_FALSE(backend.ActionFor(f.Hidden1)->isVisible());
  f.Hidden1.SetVisible(true);
  EXPECT_TRUE(backend.ActionFor(f.Hidden1)->isVisible());
  EXPECT_EQ(WidgetOf<QPushButton>(f, "Button1")->text(), "&OK");

  // Colours the model sets; Default gives the style's own back.
  f.Edit1.SetBackColor(ui::colors::Yellow);
  EXPECT_EQ(WidgetOf<QLineEdit>(f, "Edit1")->palette().color(QPalette::Base), QColor(255, 255, 0));
  f.Label1.SetFontColor(ui::colors::Navy);
  EXPECT_EQ(WidgetOf<QLabel>(f, "Label1")->palette().color(QPalette::WindowText), QColor(0, 0, 128));
  f.Edit1.SetBackColor(ui::colors::Default);
  EXPECT_EQ(WidgetOf<QLineEdit>(f, "Edit1")->palette().color(QPalette::Base),
            QApplication::palette(WidgetOf<QLineEdit>(f, "Edit1")).color(QPalette::Base));
}

TEST_F(RenderTest, InvisibleAndDisabledComponentsFollowTheModel) {
  EveryKindForm f;
  ShowWindow(f);
  QWidget* edit = qtfront::FindWidget(f, "Edit1");
  QWidget* panel = qtfront::FindWidget(f, "Panel2");
  EXPECT_TRUE(edit->isVisible());
  f.Edit1.SetVisible(false);
  EXPECT_FALSE(edit->isVisible());
  f.Panel2.SetVisible(false);
  EXPECT_FALSE(qtfront::FindWidget(f, "TreeView1")->isVisible());
  f.Panel2.SetVisible(true);
  EXPECT_TRUE(panel->isVisible());
  f.Button1.SetEnabled(false);
  EXPECT_FALSE(qtfront::FindWidget(f, "Button1")->isEnabled());
  // A tool button's visibility goes through its tool-bar action.
  f.ToolButton1.SetVisible(false);
  EXPECT_FALSE(backend.ActionFor(f.ToolButton1)->isVisible());
}

TEST_F(RenderTest, GridLayoutPutsLabelsBesideTheirFields) {
  EveryKindForm f;
  ShowWindow(f);
  const QRect label = qtfront::FindWidget(f, "Label1")->geometry();
  const QRect edit = qtfront::FindWidget(f, "Edit1")->geometry();
  const QRect label3 = qtfront::FindWidget(f, "Label3")->geometry();
  EXPECT_LT(label.right(), edit.left());
  EXPECT_LT(std::abs(label.center().y() - edit.center().y()), 4);
  EXPECT_GT(label3.top(), label.bottom());
  EXPECT_EQ(label3.left(), label.left());
  // The field column takes the width.
  EXPECT_GT(edit.width(), label.width());
}

TEST_F(RenderTest, GridHintsSpanColumnsAndStartRows) {
  class GridForm : public ui::Form {
   public:
    GridForm() : ui::Form("GridForm", "TGridForm") {
      layout = ui::LayoutKind::Grid;
      gridColumns = 3;
      Wide.hints.colSpan = 2;
      Fresh.hints.newRow = true;
      Fixed.hints.width = 77;
    }
    ui::Label A{this, "A", "a"};
    ui::Edit Wide{this, "Wide"};   // a and Wide fill the first row
    ui::Label B{this, "B", "b"};   // no room left: next row
    ui::Edit Fresh{this, "Fresh"}; // starts a row of its own
    ui::Edit Fixed{this, "Fixed"};
  } f;
  ShowWindow(f);
  auto geo = [&](const char* n) { return qtfront::FindWidget(f, n)->geometry(); };
  EXPECT_EQ(geo("A").top(), geo("Wide").top());
  EXPECT_GT(geo("Wide").width(), geo("Fixed").width());
  EXPECT_GT(geo("B").top(), geo("A").bottom());
  EXPECT_EQ(geo("B").left(), geo("A").left());
  EXPECT_GT(geo("Fresh").top(), geo("B").bottom());
  EXPECT_EQ(geo("Fresh").left(), geo("A").left());
  EXPECT_EQ(geo("Fixed").top(), geo("Fresh").top());
  EXPECT_EQ(geo("Fixed").width(), 77);
}

TEST_F(RenderTest, TabOrderIsDeclarationOrder) {
  EveryKindForm f;
  ShowWindow(f);
  const std::vector<std::string> order = {"Edit1", "Memo1", "ComboBox1", "ComboBox2", "DatePicker1",
                                          "CheckBox1", "RadioButton1", "RadioButton2"};
  std::vector<QWidget*> wanted;
  for (const auto& n : order) wanted.push_back(qtfront::FindWidget(f, n));
  std::vector<std::string> seen;
  QWidget* w = wanted.front();
  for (int guard = 0; guard < 500 && seen.size() < order.size(); ++guard, w = w->nextInFocusChain()) {
    auto it = std::find(wanted.begin(), wanted.end(), w);
    if (it != wanted.end() &&
        (seen.empty() || seen.back() != order[static_cast<size_t>(it - wanted.begin())]))
      seen.push_back(order[static_cast<size_t>(it - wanted.begin())]);
  }
  EXPECT_EQ(seen, order);
}

}  // namespace
}  // namespace qttest
