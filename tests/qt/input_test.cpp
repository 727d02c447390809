// Real widget events reach the model through its User... entry points, and
// the program's changes show in the widgets without coming back as input.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "qt/convert.h"
#include "qtfixture.h"

namespace qttest {
namespace {

using InputTest = QtFrontTest;

void TypeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
  }
}

TEST_F(InputTest, TypingReachesOnChangeAsCp1252) {
  SmallForm f;
  std::vector<ui::Text> seen;
  f.Edit1.OnChange = [&] { seen.push_back(f.Edit1.GetText()); };
  auto* le = WidgetOf<QLineEdit>(f, "Edit1");
  TypeText(le, QString::fromUtf8("é€"));
  EXPECT_EQ(seen, (std::vector<ui::Text>{"\xE9", "\xE9\x80"}));
  // A character the code page cannot hold is "?" in the model and then on
  // the screen.
  TypeText(le, QString::fromUtf8("ā"));
  EXPECT_EQ(f.Edit1.GetText(), "\xE9\x80?");
  EXPECT_EQ(le->text(), QString::fromUtf8("é€?"));
}

TEST_F(InputTest, TheModelShapesWhatTheUserTyped) {
  struct Case {
    const char* name;
    std::function<void(ui::Edit&)> setup;
    const char* typed;
    const char* shown;
    int caret;
  };
  const std::vector<Case> cases = {
      {"upper case", [](ui::Edit& e) { e.SetCharCase(ui::CharCase::Upper); }, "abc", "ABC", 3},
      {"max length", [](ui::Edit& e) { e.SetMaxLength(3); }, "abcd", "abc", 3},
      {"handler rewrites",
       [](ui::Edit& e) {
         e.OnChange = [&e] {
           ui::Text digits;
           for (char c : e.GetText())
             if (c >= '0' && c <= '9') digits += c;
           e.SetText(digits);
         };
       },
       "1a2b3", "123", 3},
      {"read-only", [](ui::Edit& e) { e.SetReadOnly(true); }, "abc", "", 0},
  };
  for (const auto& c : cases) {
    SmallForm f;
    c.setup(f.Edit1);
    auto* le = WidgetOf<QLineEdit>(f, "Edit1");
    QTest::keyClicks(le, c.typed);
    EXPECT_EQ(le->text().toStdString(), c.shown) << c.name;
    EXPECT_EQ(f.Edit1.GetText(), c.shown) << c.name;
    EXPECT_EQ(le->cursorPosition(), c.caret) << c.name;
  }
}

TEST_F(InputTest, TypingInTheMiddleKeepsTheCaret) {
  SmallForm f;
  f.Edit1.SetCharCase(ui::CharCase::Upper);
  f.Edit1.SetText("AC");
  auto* le = WidgetOf<QLineEdit>(f, "Edit1");
  le->setCursorPosition(1);
  QTest::keyClicks(le, "b");
  EXPECT_EQ(f.Edit1.GetText(), "ABC");
  EXPECT_EQ(le->cursorPosition(), 2);
  // The caret the user put is the model's selection too.
  EXPECT_EQ(f.Edit1.SelStart(), 2);
  f.Edit1.SelectAll();
  EXPECT_EQ(le->selectedText(), "ABC");
}

TEST_F(InputTest, ProgramSetTextShowsAndFiresOnChangeOnce) {
  SmallForm f;
  int changes = 0;
  f.Edit1.OnChange = [&] { ++changes; };
  auto* le = WidgetOf<QLineEdit>(f, "Edit1");
  f.Edit1.SetMaxLength(3);
  f.Edit1.SetText(cp1252::L("Grüße"));
  EXPECT_EQ(changes, 1);
  // The program may set more than MaxLength; the widget shows all of it.
  EXPECT_EQ(le->text(), QString::fromUtf8("Grüße"));
  f.Edit1.SetText(cp1252::L("Grüße"));
  EXPECT_EQ(changes, 1);
}

TEST_F(InputTest, ButtonClickRunsTheHandler) {
  SmallForm f;
  int clicks = 0;
  f.Button1.OnClick = [&] { ++clicks; };
  ShowWindow(f);
  auto* b = WidgetOf<QPushButton>(f, "Button1");
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  f.Button1.SetEnabled(false);
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

TEST_F(InputTest, ClicksOnLabelsAndTheFormReachTheirOwnHandlers) {
  SmallForm f;
  f.Label1.OnClick = [&] { Record("label"); };
  f.OnClick = [&] { Record("form"); };
  f.Edit1.OnClick = [&] { Record("edit"); };
  QWidget* window = ShowWindow(f);
  QTest::mouseClick(qtfront::FindWidget(f, "Label1"), Qt::LeftButton);
  // The form's background: the widget the central page area scrolls.
  QWidget* central = static_cast<QScrollArea*>(static_cast<QMainWindow*>(window)->centralWidget())->widget();
  QTest::mouseClick(central, Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseClick(qtfront::FindWidget(f, "Edit1"), Qt::LeftButton);
  EXPECT_EQ(events, (std::vector<std::string>{"label", "form", "edit"}));
}

TEST_F(InputTest, ComboSelectionByTheUserFiresOnChangeByTheProgramNot) {
  SmallForm f;
  f.ComboBox1.SetItems({"One", "Two", "Three"});
  f.ComboBox1.SetItemIndex(0);
  f.ComboBox1.OnSelect = [&] { Record("select " + f.ComboBox1.GetText()); };
  f.ComboBox1.OnChange = [&] { Record("change " + f.ComboBox1.GetText()); };
  auto* cb = WidgetOf<QComboBox>(f, "ComboBox1");
  QTest::keyClick(cb, Qt::Key_Down);
  EXPECT_EQ(events, (std::vector<std::string>{"select Two", "change Two"}));
  EXPECT_EQ(f.ComboBox1.ItemIndex(), 1);
  events.clear();
  f.ComboBox1.SetItemIndex(2);
  EXPECT_EQ(cb->currentIndex(), 2);
  EXPECT_EQ(cb->currentText(), "Three");
  EXPECT_TRUE(events.empty());
  // Items the program adds show at once.
  f.ComboBox1.AddItem("Four");
  EXPECT_EQ(cb->count(), 4);
  f.ComboBox1.SetItems({"A", "B"});
  EXPECT_EQ(cb->count(), 2);
  EXPECT_EQ(cb->itemText(1), "B");
}

TEST_F(InputTest, EditableComboTypingAndDropDown) {
  EveryKindForm f;
  f.ComboBox2.OnChange = [&] { Record("change " + f.ComboBox2.GetText()); };
  f.ComboBox2.OnDropDown = [&] {
    Record("drop down");
    f.ComboBox2.AddItem("Gamma");  // filled as it opens
  };
  f.ComboBox2.OnCloseUp = [&] { Record("close up"); };
  ShowWindow(f);
  auto* cb = WidgetOf<QComboBox>(f, "ComboBox2");
  ASSERT_TRUE(cb->isEditable());
  QTest::keyClicks(cb->lineEdit(), "Be");
  EXPECT_EQ(f.ComboBox2.GetText(), "Be");
  cb->showPopup();
  EXPECT_EQ(cb->count(), 3);
  cb->hidePopup();
  EXPECT_EQ(events, (std::vector<std::string>{"change B", "change Be", "drop down", "close up"}));
  // Enter is the form's: it does not pick the item that matches the text.
  events.clear();
  f.ComboBox2.SetText("Beta");
  QTest::keyClick(cb->lineEdit(), Qt::Key_Return);
  EXPECT_TRUE(events.empty());
}

TEST_F(InputTest, FormKeysRunBeforeTheFocusedControl) {
  const std::vector<std::pair<Qt::Key, uint16_t>> keys = {{Qt::Key_Escape, ui::keys::Escape},
                                                          {Qt::Key_F1, ui::keys::F1},
                                                          {Qt::Key_Return, ui::keys::Return},
                                                          {Qt::Key_Enter, ui::keys::Return},
                                                          {Qt::Key_Up, ui::keys::Up},
                                                          {Qt::Key_Down, ui::keys::Down}};
  for (const auto& [qtKey, vk] : keys) {
    SmallForm f;
    std::vector<std::string> seen;
    f.OnKeyDown = [&](uint16_t& k, unsigned) { seen.push_back("form " + std::to_string(k)); };
    f.Edit1.OnKeyDown = [&](uint16_t& k, unsigned) { seen.push_back("edit " + std::to_string(k)); };
    f.Edit1.SetFocus();
    QTest::keyClick(WidgetOf<QLineEdit>(f, "Edit1"), qtKey);
    EXPECT_EQ(seen, (std::vector<std::string>{"form " + std::to_string(vk), "edit " + std::to_string(vk)})) << vk;
  }
}

TEST_F(InputTest, AKeyTheFormConsumesNeverReachesTheWidget) {
  SmallForm f;
  f.ComboBox1.SetItems({"One", "Two"});
  f.ComboBox1.SetItemIndex(0);
  int changes = 0;
  f.ComboBox1.OnChange = [&] { ++changes; };
  f.OnKeyDown = [](uint16_t& k, unsigned) {
    if (k == ui::keys::Down) k = 0;
  };
  auto* cb = WidgetOf<QComboBox>(f, "ComboBox1");
  QTest::keyClick(cb, Qt::Key_Down);
  EXPECT_EQ(cb->currentIndex(), 0);
  EXPECT_EQ(changes, 0);
}

// Counts the key presses that reach a widget past the application's filter.
class KeyCounter : public QObject {
 public:
  explicit KeyCounter(QObject* target) { target->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) ++count;
    return false;
  }
  int count = 0;
};

// Escape, Enter and F1 reach the form's key preview from the widgets that
// hold the focus while the user works in a field: a grid's cell editor, a
// date edit, a memo. In an open combo list Escape and Enter belong to the
// list (Escape closes it, Enter picks the highlighted item and closes it)
// and go no further; F1 closes the list and reaches the form.
TEST_F(InputTest, EscapeEnterAndF1ReachTheFormFromEveryField) {
  enum class Target { GridEditor, DateEdit, Memo, OpenComboList };
  const std::vector<std::pair<Target, const char*>> targets = {{Target::GridEditor, "grid editor"},
                                                               {Target::DateEdit, "date edit"},
                                                               {Target::Memo, "memo"},
                                                               {Target::OpenComboList, "open combo list"}};
  const std::vector<std::pair<Qt::Key, uint16_t>> keys = {
      {Qt::Key_Escape, ui::keys::Escape}, {Qt::Key_Return, ui::keys::Return}, {Qt::Key_F1, ui::keys::F1}};
  for (const auto& [target, what] : targets) {
    for (const auto& [qtKey, vk] : keys) {
      for (const bool consume : {false, true}) {
        SCOPED_TRACE(std::string(what) + " key " + std::to_string(vk) + (consume ? " consumed" : " passed on"));
        EveryKindForm f;
        f.StringGrid1.SetEditable(true);
        std::vector<std::string> seen;
        f.OnKeyDown = [&](uint16_t& k, unsigned) {
          seen.push_back("form " + std::to_string(k));
          if (consume) k = 0;
        };
        f.ComboBox1.OnSelect = [&] { seen.push_back("select " + f.ComboBox1.GetText()); };
        f.ComboBox1.OnChange = [&] { seen.push_back("change " + f.ComboBox1.GetText()); };
        f.ComboBox1.OnCloseUp = [&] { seen.push_back("close up"); };
        ShowWindow(f);

        QWidget* field = nullptr;
        QComboBox* combo = nullptr;
        switch (target) {
          case Target::GridEditor: {
            auto* t = WidgetOf<QTableWidget>(f, "StringGrid1");
            t->setCurrentCell(0, 1);
            t->editItem(t->item(0, 1));
            field = t->viewport()->findChild<QLineEdit*>();
            break;
          }
          case Target::DateEdit: field = WidgetOf<QDateEdit>(f, "DatePicker1"); break;
          case Target::Memo: field = WidgetOf<QPlainTextEdit>(f, "Memo1"); break;
          case Target::OpenComboList: {
            combo = WidgetOf<QComboBox>(f, "ComboBox1");
            combo->showPopup();
            combo->view()->setCurrentIndex(combo->model()->index(2, 0));
            field = combo->view();
            break;
          }
        }
        ASSERT_NE(field, nullptr);
        KeyCounter widget(field);
        seen.clear();
        QTest::keyClick(field, qtKey);

        const std::string formSaw = "form " + std::to_string(vk);
        if (target != Target::OpenComboList) {
          EXPECT_EQ(seen, std::vector<std::string>{formSaw});
          // The form comes first: a key it consumed never reaches the field.
          EXPECT_EQ(widget.count, consume ? 0 : 1);
          continue;
        }
        EXPECT_FALSE(combo->view()->isVisible());
        if (qtKey == Qt::Key_F1) {
          EXPECT_EQ(seen, (std::vector<std::string>{"close up", formSaw}));
          EXPECT_EQ(f.ComboBox1.ItemIndex(), 0);
        } else if (qtKey == Qt::Key_Escape) {
          EXPECT_EQ(seen, std::vector<std::string>{"close up"});
          EXPECT_EQ(f.ComboBox1.ItemIndex(), 0);
        } else {
          EXPECT_EQ(seen, (std::vector<std::string>{"close up", "select Three", "change Three"}));
          EXPECT_EQ(f.ComboBox1.ItemIndex(), 2);
        }
      }
    }
  }
}

TEST_F(InputTest, KeyPressHandlersConsumeOrReplaceCharacters) {
  SmallForm f;
  std::vector<int> pressed;
  f.OnKeyPress = [&](char& c) {
    pressed.push_back(static_cast<unsigned char>(c));
    if (c == 'x') c = 0;
    if (c == 'a') c = 'b';
    if (c == ',') c = '.';  // as the amount filters swap separators
  };
  f.Edit1.SetFocus();
  auto* le = WidgetOf<QLineEdit>(f, "Edit1");
  QTest::keyClicks(le, "xa1,5");
  EXPECT_EQ(f.Edit1.GetText(), "b1.5");
  EXPECT_EQ(le->text(), "b1.5");
  // Escape and Enter come as characters 27 and 13 after the key down.
  QTest::keyClick(le, Qt::Key_Escape);
  QTest::keyClick(le, Qt::Key_Return);
  EXPECT_EQ(pressed, (std::vector<int>{'x', 'a', '1', ',', '5', 27, 13}));
}

TEST_F(InputTest, CheckBoxClicksByUserAndProgram) {
  EveryKindForm f;
  int clicks = 0;
  f.CheckBox1.OnClick = [&] { ++clicks; };
  ShowWindow(f);
  auto* box = WidgetOf<QCheckBox>(f, "CheckBox1");
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_TRUE(f.CheckBox1.Checked());
  EXPECT_EQ(clicks, 1);
  f.CheckBox1.SetChecked(false);
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(clicks, 2);
  // A handler that puts the state back wins over the widget.
  f.CheckBox1.OnClick = [&] {
    if (f.CheckBox1.Checked()) f.CheckBox1.SetChecked(false);
  };
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_FALSE(box->isChecked());
}

TEST_F(InputTest, GridCellSelectionAsksTheForm) {
  EveryKindForm f;
  bool allow = true;
  std::vector<std::pair<int, int>> asked;
  f.StringGrid1.OnSelectCell = [&](int c, int r, bool& a) {
    asked.emplace_back(c, r);
    a = allow;
  };
  int dbl = 0;
  f.StringGrid1.OnDblClick = [&] { ++dbl; };
  ShowWindow(f);
  auto* t = WidgetOf<QTableWidget>(f, "StringGrid1");
  auto clickCell = [&](int row, int col) {
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(t->item(row, col)).center());
  };
  clickCell(2, 1);  // the model's row 3
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back(), std::make_pair(1, 3));
  EXPECT_EQ(f.StringGrid1.Row(), 3);
  allow = false;
  clickCell(1, 0);
  QApplication::processEvents();  // the grid shows the model's refusal
  EXPECT_EQ(f.StringGrid1.Row(), 3);
  EXPECT_EQ(t->currentRow(), 2);
  DoubleClick(t->viewport(), t->visualItemRect(t->item(2, 1)).center());
  EXPECT_EQ(dbl, 1);
  // Programs fill grids cell by cell; the grid shows it all in one pass.
  f.StringGrid1.SetRowCount(6);
  f.StringGrid1.SetCell(1, 5, "Added");
  QApplication::processEvents();
  EXPECT_EQ(t->rowCount(), 5);
  EXPECT_EQ(t->item(4, 1)->text(), "Added");
}

TEST_F(InputTest, TreeSelectionAndDoubleClick) {
  EveryKindForm f;
  f.TreeView1.OnChange = [&] { Record("change " + f.TreeView1.Selected()->GetText()); };
  f.TreeView1.OnDblClick = [&] { Record("double"); };
  ShowWindow(f);
  auto* tree = WidgetOf<QTreeWidget>(f, "TreeView1");
  QTreeWidgetItem* journals = tree->topLevelItem(0)->child(1);
  const QPoint at = tree->visualItemRect(journals).center();
  DoubleClick(tree->viewport(), at);
  EXPECT_EQ(events, (std::vector<std::string>{"change Journals", "double"}));
  // The program's selection shows without an event.
  events.clear();
  f.TreeView1.Select(f.TreeView1.Roots()[0].get());
  QApplication::processEvents();
  EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
  EXPECT_TRUE(events.empty());
  // Rebuilt after a clear.
  f.TreeView1.Clear();
  f.TreeView1.AddRoot("Fresh");
  QApplication::processEvents();
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "Fresh");
}

TEST_F(InputTest, TabChangeByTheUserCanBeRefused) {
  EveryKindForm f;
  bool allow = false;
  f.TabControl1.OnChanging = [&](bool& a) { a = allow; };
  f.TabControl1.OnChange = [&] { Record("change " + std::to_string(f.TabControl1.TabIndex())); };
  ShowWindow(f);
  auto* bar = WidgetOf<QWidget>(f, "TabControl1")->findChild<QTabBar*>();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  EXPECT_EQ(bar->currentIndex(), 0);
  EXPECT_EQ(f.TabControl1.TabIndex(), 0);
  allow = true;
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
  EXPECT_EQ(f.TabControl1.TabIndex(), 2);
  f.TabControl1.SetTabIndex(1);
  EXPECT_EQ(bar->currentIndex(), 1);
  EXPECT_EQ(events, (std::vector<std::string>{"change 2"}));
}

TEST_F(InputTest, DatePickerUserChangeAndMinimum) {
  EveryKindForm f;
  int changes = 0;
  f.DatePicker1.OnChange = [&] { ++changes; };
  const ui::DateValue jan10 = qtfront::ValueFromDate(QDate(2024, 1, 10));
  f.DatePicker1.SetDate(jan10 + 0.5);
  auto* de = WidgetOf<QDateEdit>(f, "DatePicker1");
  EXPECT_EQ(de->date(), QDate(2024, 1, 10));
  EXPECT_EQ(changes, 0);
  de->setSelectedSection(QDateTimeEdit::DaySection);
  QTest::keyClick(de, Qt::Key_Up);
  EXPECT_EQ(changes, 1);
  EXPECT_DOUBLE_EQ(f.DatePicker1.Date(), jan10 + 1.5);  // the time of day stays
  f.DatePicker1.SetMinDate(jan10 + 1);
  EXPECT_EQ(de->minimumDate(), QDate(2024, 1, 11));
  QTest::keyClick(de, Qt::Key_Down);
  EXPECT_EQ(de->date(), QDate(2024, 1, 11));
}

TEST_F(InputTest, CheckListBoxToggleAndMenuClicks) {
  EveryKindForm f;
  std::vector<int> toggled;
  f.CheckListBox1.OnClickCheck = [&](int i) { toggled.push_back(i); };
  f.Open1.OnClick = [&] { Record("open"); };
  f.File1.OnClick = [&] { Record("file"); };
  ShowWindow(f);
  auto* list = WidgetOf<QListWidget>(f, "CheckListBox1");
  list->item(1)->setCheckState(Qt::Checked);  // as a click on the box does
  EXPECT_EQ(toggled, std::vector<int>{1});
  EXPECT_TRUE(f.CheckListBox1.Checked(1));
  f.CheckListBox1.SetChecked(0, false);
  EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
  EXPECT_EQ(toggled, std::vector<int>{1});

  backend.ActionFor(f.Open1)->trigger();
  f.Open1.SetEnabled(false);
  backend.ActionFor(f.Open1)->trigger();
  EXPECT_EQ(events, std::vector<std::string>{"open"});
}

TEST_F(InputTest, FocusFollowsTheModelAndTheUser) {
  SmallForm f;
  f.Edit1.OnExit = [&] { Record("exit 1"); };
  f.Edit2.OnEnter = [&] { Record("enter 2"); };
  f.Edit2.OnExit = [&] { Record("exit 2"); };
  f.Edit1.OnEnter = [&] { Record("enter 1"); };
  QWidget* window = ShowWindow(f);
  QApplication::setActiveWindow(window);
  if (!window->isActiveWindow()) GTEST_SKIP() << "the platform gives no keyboard focus";
  f.Edit2.SetFocus();
  EXPECT_TRUE(qtfront::FindWidget(f, "Edit2")->hasFocus());
  events.clear();
  // The user tabs back: the model follows.
  QTest::keyClick(window, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(f.ActiveControl(), &f.Edit1);
  EXPECT_EQ(events, (std::vector<std::string>{"exit 2", "enter 1"}));
}

}  // namespace
}  // namespace qttest
