// Shared by the Qt front end's tests: a form with one component of every
// kind, a fixture with the backend, and an answerer for message boxes.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "qt/qtbackend.h"
#include "support/reset.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace qttest {

// Keeps a rendered picture as `name` in the folder OMBRELO_RENDER_DIR names
// (scripts/screenshots.sh sets it to docs/screenshots); without it, nothing.
inline void KeepPicture(const QImage& picture, const std::string& name) {
  const char* dir = std::getenv("OMBRELO_RENDER_DIR");
  if (dir && *dir) picture.save(QString::fromStdString(std::string(dir) + "/" + name));
}

class EveryKindForm : public ui::Form {
 public:
  EveryKindForm() : ui::Form("EveryKind", "TEveryKind") {
    SetCaption("Every kind");
    Panel1.gridColumns = 2;
    Memo1.hints.height = 60;
    ComboBox1.SetItems({"One", "Two", "Three"});
    ComboBox1.SetItemIndex(0);
    ComboBox2.SetItems({"Alpha", "Beta"});
    RadioGroup1.SetItems({"Debit", "Credit", "Both"});
    RadioGroup1.SetColumns(3);
    RadioGroup1.SetItemIndex(0);
    TabControl1.SetTabs({"First", "Second", "Third"});
    StringGrid1.SetCell(0, 0, "Code");
    StringGrid1.SetCell(1, 0, "Name");
    StringGrid1.SetCell(2, 0, "Hidden");
    StringGrid1.SetColWidth(1, 160);
    StringGrid1.SetColWidth(2, 0);
    for (int r = 1; r < 4; ++r) {
      StringGrid1.SetCell(0, r, std::to_string(1000 * r));
      StringGrid1.SetCell(1, r, "Account " + std::to_string(r));
    }
    ui::TreeNode* root = TreeView1.AddRoot("Ledger");
    TreeView1.AddChild(root, "Accounts");
    TreeView1.AddChild(root, "Journals");
    TreeView1.Expand(root);
    CheckListBox1.AddItem("Sales", true);
    CheckListBox1.AddItem("Purchases");
    StatusBar1.Show("Ready", ui::colors::Lime);
    StatusBar1.SetPanelText(1, "2.0.6");
    Checked1.SetChecked(true);
    Hidden1.SetVisible(false);
  }

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "&File"};
  ui::MenuItem Open1{&File1, "Open1", "&Open"};
  ui::MenuItem N1{&File1, "N1", "-"};
  ui::MenuItem Checked1{&File1, "Checked1", "&Checked"};
  ui::MenuItem Hidden1{&File1, "Hidden1", "&Hidden"};
  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1", "Save"};
  ui::Panel Panel1{this, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label1{&Panel1, "Label1", "Name"};
  ui::Edit Edit1{&Panel1, "Edit1"};
  ui::Label Label2{&Panel1, "Label2", "Notes"};
  ui::Memo Memo1{&Panel1, "Memo1"};
  ui::Label Label3{&Panel1, "Label3", "Kind"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1", ui::ComboStyle::DropDownList};
  ui::Label Label4{&Panel1, "Label4", "Search"};
  ui::ComboBox ComboBox2{&Panel1, "ComboBox2", ui::ComboStyle::DropDown};
  ui::Label Label5{&Panel1, "Label5", "Date"};
  ui::DatePicker DatePicker1{&Panel1, "DatePicker1"};
  ui::GroupBox GroupBox1{this, "GroupBox1", "Options", ui::LayoutKind::Horizontal};
  ui::CheckBox CheckBox1{&GroupBox1, "CheckBox1", "&Split"};
  ui::RadioButton RadioButton1{&GroupBox1, "RadioButton1", "&Left"};
  ui::RadioButton RadioButton2{&GroupBox1, "RadioButton2", "&Right"};
  ui::RadioGroup RadioGroup1{this, "RadioGroup1", "Side"};
  ui::TabControl TabControl1{this, "TabControl1"};
  ui::StringGrid StringGrid1{&TabControl1, "StringGrid1", 3, 4};
  ui::Panel Panel2{this, "Panel2", ui::LayoutKind::Horizontal};
  ui::TreeView TreeView1{&Panel2, "TreeView1"};
  ui::CheckListBox CheckListBox1{&Panel2, "CheckListBox1"};
  ui::Button Button1{this, "Button1", "&OK"};
  ui::StatusBar StatusBar1{this, "StatusBar1", 2};
};

// A small form for one control under test.
class SmallForm : public ui::Form {
 public:
  explicit SmallForm(std::string name = "Small") : ui::Form(name, "T" + name) {}
  ui::Edit Edit1{this, "Edit1"};
  ui::Edit Edit2{this, "Edit2"};
  ui::ComboBox ComboBox1{this, "ComboBox1", ui::ComboStyle::DropDownList};
  ui::Button Button1{this, "Button1", "&Go"};
  ui::Label Label1{this, "Label1", "Label"};
};

template <typename W = QWidget>
W* WidgetOf(ui::Form& form, const std::string& name) {
  QWidget* w = qtfront::FindWidget(form, name);
  EXPECT_NE(w, nullptr) << name;
  W* typed = qobject_cast<W*>(w);
  EXPECT_NE(typed, nullptr) << name << " is a " << (w ? w->metaObject()->className() : "null");
  return typed;
}

// Shows the form's window (offscreen in the tests) so that widgets have
// their geometry for mouse events; returns the window.
inline QWidget* ShowWindow(ui::Form& form) {
  qtfront::RenderForm(form);
  QWidget* w = qtfront::FindWidget(form, form.Name());
  w->show();
  return w;
}

// A double click as the window system delivers it: press, release, then
// the second press as a double click, and its release.
inline void DoubleClick(QWidget* w, QPoint at) {
  QTest::mouseClick(w, Qt::LeftButton, {}, at);
  QTest::mouseDClick(w, Qt::LeftButton, {}, at);
  QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

// Answers each message box that comes up while it lives: records its text
// and presses `button`.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(QMessageBox::StandardButton button = QMessageBox::Ok) : button_(button) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      texts.push_back(box->text().toStdString());
      titles.push_back(box->windowTitle().toStdString());
      if (QAbstractButton* b = box->button(button_))
        b->click();
      else
        box->reject();
    });
    timer_.start();
  }
  std::vector<std::string> texts, titles;

 private:
  QMessageBox::StandardButton button_;
  QTimer timer_;
};

class QtFrontTest : public ::testing::Test {
 protected:
  // What a test registered (boundary clean-ups) ends with it.
  ~QtFrontTest() override { support::ResetProgram(""); }

  qtfront::QtBackend backend;
  std::vector<std::string> events;
  void Record(const std::string& e) { events.push_back(e); }
};

}  // namespace qttest
