// Keyboard and mouse on the program's real forms, shown offscreen with
// their own components: dates typed into date fields, clicks on the items
// of open combo lists, Tab through the fields of a tab page, the focus after
// New, and the words bad input gets.
#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <string>
#include <vector>

#include "journal/boekingstuk.h"
#include "masterdata/adminsettings.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "qt/convert.h"
#include "qt/datefield.h"
#include "qtfixture.h"
#include "records/adminsettingsrec.h"
#include "records/ledgeraccountrec.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "support/adminfolder.h"
#include "support/journalform.h"
#include "support/program.h"
#include "support/records.h"
#include "system/systemscreen.h"

namespace qttest {
namespace {

// The journal form as the start screen shows it: the book year 2024, the
// accounts 1000 (bank), 1300 and 4000, no voucher yet.
class JournalQt : public QtFrontTest, public support::AdministrationFolder {
 protected:
  void SetUp() override {
    backend.messageHook = [this](const ui::Text& text, const ui::Text&, ui::Buttons, ui::DialogKind) {
      messages.push_back(text);
      return std::optional<ui::ModalResult>(ui::ModalResult::Yes);
    };
    support::ReadyJournalForm(store);
    std::vector<records::LedgerAccountRec> accounts(3);
    const char* numbers[] = {"1000", "1300", "4000"};
    const char* captions[] = {"Bank", "Creditors", "Sales"};
    for (std::size_t i = 0; i < accounts.size(); ++i) {
      accounts[i].SetAccountNumber(numbers[i]);
      accounts[i].SetCaption(captions[i]);
    }
    accounts[0].SetIsCashOrBank(true);
    accounts[0].SetJournalName("Bank book");
    store.fs.SetFile("/d/ACME/ledger.vlk", support::Bytes(accounts));
    store.fs.SetFile("/d/ACME/book.vlk", "");
    int result = -1;
    store::OpenFileSet("IFS;GLA;JVT", result);
    ASSERT_EQ(result, 0);
    form.Activate();  // ends the set, as at a showing
    window = ShowWindow(form);
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window)) return;
    QApplication::processEvents();
  }

  bool HasKeyboard() const { return window->isActiveWindow(); }
  QWidget* Focus() const { return QApplication::focusWidget(); }
  std::string FocusName() const {
    const ui::Component* c = form.ActiveControl();
    return c ? c->Name() : std::string("(none)");
  }

  platform::ScopedNumberFormat numbers{'.'};
  journal::Tboeking form;
  QWidget* window = nullptr;
  std::vector<std::string> messages;
};

// A tab page taller than the window scrolls, and the field the page gives
// the focus to is scrolled into view (the template tab's name field lies
// below the voucher tab's height).
TEST_F(JournalQt, TheFieldATabPageFocusesIsScrolledIntoView) {
  if (!HasKeyboard()) GTEST_SKIP() << "the platform gives no keyboard focus";
  form.TabControl1.UserSelectTab(books::journal::TabTemplate);
  QApplication::processEvents();
  QApplication::processEvents();
  QWidget* field = Focus();
  ASSERT_NE(field, nullptr) << FocusName();
  const QRect shown(field->mapTo(window, QPoint(0, 0)), field->size());
  EXPECT_TRUE(window->rect().contains(shown)) << FocusName() << " at " << shown.y() << ".." << shown.bottom()
                                              << " in a window of height " << window->height();
}

// The typing of a date, character by character over 10-01-2024.
TEST(DateTyping, SectionsFillAndMoveOn) {
  struct Case {
    int section;
    const char* typed;
    const char* shown;  // the text while typing, or "" when complete
    std::optional<QDate> date;
  };
  const QDate base(2024, 1, 10);
  const std::vector<Case> cases = {
      {0, "01", "01-01-2024", QDate(2024, 1, 1)},
      {0, "3", "3-01-2024", QDate(2024, 1, 3)},
      {1, "12", "10-12-2024", QDate(2024, 12, 10)},
      {2, "2008", "", QDate(2008, 1, 10)},
      {2, "24", "10-01-24", QDate(2024, 1, 10)},
      {2, "200", "10-01-200", std::nullopt},
      {0, "15032025", "", QDate(2025, 3, 15)},
      {0, "1-3-25", "1-3-25", QDate(2025, 3, 1)},
      {0, "31022026", "", std::nullopt},
      {0, "00", "00-01-2024", std::nullopt},
      {0, "-5", "5-01-2024", QDate(2024, 1, 5)},  // a separator before any digit is not taken
  };
  for (const Case& c : cases) {
    qtfront::DateTyping t;
    t.section = c.section;
    for (QChar ch : QString(c.typed))
      if (auto next = qtfront::TypeDateChar(t, ch)) t = *next;
    EXPECT_EQ(t.complete, std::string(c.shown).empty()) << c.typed;
    if (!t.complete) {
      EXPECT_EQ(qtfront::TypedDateText(t, base).toStdString(), c.shown) << c.typed;
    }
    EXPECT_EQ(qtfront::TypedDate(t, base), c.date) << c.typed;
  }
  EXPECT_FALSE(qtfront::TypeDateChar({}, 'x'));
}

// Types `text` into the date field as a user does: each key through the
// application, so the form sees it first.
void TypeInto(QWidget* w, const QString& text) { QTest::keyClicks(w, text); }

QLineEdit* LineOf(QDateEdit* d) { return d->findChild<QLineEdit*>(); }

// A click into the date field at the character `at` of its text.
void ClickAt(QDateEdit* d, int at) {
  QLineEdit* le = LineOf(d);
  const int x = le->fontMetrics().horizontalAdvance(le->text().left(at)) + 2 + le->textMargins().left();
  QTest::mouseClick(le, Qt::LeftButton, {}, QPoint(x, le->height() / 2));
}

ui::DateValue Day(int y, int m, int d) { return qtfront::ValueFromDate(QDate(y, m, d)); }

TEST_F(JournalQt, DigitsTypedIntoTheVoucherDateGiveTheDate) {
  if (!HasKeyboard()) GTEST_SKIP() << "the platform gives no keyboard focus";
  int changes = 0;
  const ui::Event recalc = form.DateTimePicker2.OnChange;
  form.DateTimePicker2.OnChange = [&] {
    ++changes;
    recalc();
  };
  auto* date = WidgetOf<QDateEdit>(form, "DateTimePicker2");
  ASSERT_EQ(date->date(), QDate(2024, 5, 17));

  // The day after a click into it; Tab takes it.
  ClickAt(date, 1);
  TypeInto(date, "01");
  EXPECT_EQ(LineOf(date)->text(), "01-05-2024");
  QTest::keyClick(date, Qt::Key_Tab);
  EXPECT_EQ(form.DateTimePicker2.Date(), Day(2024, 5, 1));
  EXPECT_EQ(changes, 1);

  // A year after a double click: all four digits, taken at the fourth.
  form.DateTimePicker2.UserFocus();
  DoubleClick(LineOf(date), QPoint(LineOf(date)->width() - 12, LineOf(date)->height() / 2));
  TypeInto(date, "2008");
  EXPECT_EQ(form.DateTimePicker2.Date(), Day(2008, 5, 1));
  EXPECT_EQ(LineOf(date)->text(), "01-05-2008");
  EXPECT_EQ(changes, 2);

  // A whole date over the whole text, with or without separators: one
  // change each.
  for (const auto& [typed, want] : std::vector<std::pair<QString, QDate>>{{"15032025", QDate(2025, 3, 15)},
                                                                          {"7-6-2024", QDate(2024, 6, 7)},
                                                                          {"31.12.2024", QDate(2024, 12, 31)}}) {
    const int before = changes;
    LineOf(date)->selectAll();
    TypeInto(date, typed);
    EXPECT_EQ(date->date(), want) << typed.toStdString();
    EXPECT_EQ(form.DateTimePicker2.Date(), qtfront::ValueFromDate(want)) << typed.toStdString();
    EXPECT_EQ(changes, before + 1) << typed.toStdString();
  }

  // No such day, or a day before the minimum: refused, the field shows the
  // last date again and nothing fires.
  form.DateTimePicker2.SetMinDate(Day(2024, 1, 1));
  for (const QString typed : {"31022026", "31122023", "3002"}) {
    const int before = changes;
    LineOf(date)->selectAll();
    TypeInto(date, typed);
    QTest::keyClick(date, Qt::Key_Tab);
    EXPECT_EQ(form.DateTimePicker2.Date(), Day(2024, 12, 31)) << typed.toStdString();
    EXPECT_EQ(LineOf(date)->text(), "31-12-2024") << typed.toStdString();
    EXPECT_EQ(changes, before) << typed.toStdString();
    form.DateTimePicker2.UserFocus();
  }

  // Up and Down as before: one change a step.
  date->setSelectedSection(QDateTimeEdit::DaySection);
  QTest::keyClick(date, Qt::Key_Down);
  EXPECT_EQ(form.DateTimePicker2.Date(), Day(2024, 12, 30));
  EXPECT_EQ(LineOf(date)->text(), "30-12-2024");
}

TEST_F(JournalQt, EnterAfterTypedDigitsSeesTheTypedDate) {
  if (!HasKeyboard()) GTEST_SKIP() << "the platform gives no keyboard focus";
  // The key goes to the form before the field: the date typed is the
  // model's by then.
  std::vector<ui::DateValue> seen;
  form.OnKeyDown = [&](uint16_t& key, unsigned) {
    if (key == ui::keys::Return) seen.push_back(form.DateTimePicker2.Date());
  };
  auto* date = WidgetOf<QDateEdit>(form, "DateTimePicker2");
  form.DateTimePicker2.UserFocus();
  ClickAt(date, 4);
  TypeInto(date, "02");
  QTest::keyClick(date, Qt::Key_Return);
  EXPECT_EQ(seen, std::vector<ui::DateValue>{Day(2024, 2, 17)});
}

TEST_F(JournalQt, TabWalksTheShownFieldsOfTheVoucherTabInReadingOrder) {
  if (!HasKeyboard()) GTEST_SKIP() << "the platform gives no keyboard focus";
  auto walk = [&](Qt::Key key, int steps) {
    std::vector<std::string> names;
    for (int i = 0; i < steps; ++i) {
      QTest::keyClick(Focus(), key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
      names.push_back(FocusName());
      EXPECT_TRUE(Focus()->isVisible() && Focus()->isEnabled()) << names.back();
      EXPECT_EQ(Focus(), qtfront::FindWidget(form, names.back())) << names.back();
    }
    return names;
  };
  form.DateTimePicker2.UserFocus();
  // The date, then the header row by row; leaving a line's account picker
  // goes on to the line's caption, whose picker takes the focus.
  EXPECT_EQ(walk(Qt::Key_Tab, 9), (std::vector<std::string>{"Image2", "Edit3", "Image3", "Edit116", "Edit123", "Edit11",
                                                            "ComboBox1", "ComboBox13", "Edit15"}));
  form.Edit123.UserFocus();
  EXPECT_EQ(walk(Qt::Key_Backtab, 5),
            (std::vector<std::string>{"Edit116", "Image3", "Edit3", "Image2", "DateTimePicker2"}));

  // Enter moves down a line, from a picker and from an amount, as before.
  form.Lines[2].Number.UserFocus();
  QTest::keyClicks(Focus(), "4000");
  QTest::keyClick(Focus(), Qt::Key_Return);
  EXPECT_EQ(form.Lines[2].Caption.GetText(), "Sales");
  EXPECT_EQ(FocusName(), "ComboBox1");  // line 4's account, its picker shown
  form.Lines[3].Debit.UserFocus();
  QTest::keyClick(Focus(), Qt::Key_Return);
  EXPECT_EQ(FocusName(), "Edit55");

  // A hidden or disabled field is passed by.
  form.Image2.SetVisible(false);
  form.Edit3.SetEnabled(false);
  form.DateTimePicker2.UserFocus();
  EXPECT_EQ(walk(Qt::Key_Tab, 2), (std::vector<std::string>{"Image3", "Edit116"}));
  EXPECT_EQ(walk(Qt::Key_Backtab, 2), (std::vector<std::string>{"Image3", "DateTimePicker2"}));
}

TEST_F(JournalQt, NewSaveAndDeleteLeaveTheFocusOnTheVoucherDate) {
  if (!HasKeyboard()) GTEST_SKIP() << "the platform gives no keyboard focus";
  auto* date = WidgetOf<QDateEdit>(form, "DateTimePicker2");
  auto type = [&](ui::Edit& field, const char* text) {
    field.UserFocus();
    QTest::keyClicks(Focus(), text);
  };
  auto voucher = [&] {
    type(form.Edit3, "V1");
    type(form.Lines[0].Number, "1000");
    type(form.Lines[0].Debit, "100");
    type(form.Lines[1].Number, "4000");
    type(form.Lines[1].Credit, "100");
    form.Lines[1].Text.UserFocus();
  };
  voucher();
  ASSERT_TRUE(form.Opslaan.Enabled());
  QTest::mouseClick(WidgetOf<QWidget>(form, "Button5"), Qt::LeftButton);  // Save
  EXPECT_EQ(form.Lines[0].Number.GetText(), "");
  EXPECT_EQ(FocusName(), "DateTimePicker2");
  EXPECT_EQ(Focus(), date);

  type(form.Edit116, "half typed");
  QTest::mouseClick(WidgetOf<QWidget>(form, "Button7"), Qt::LeftButton);  // New
  EXPECT_EQ(form.Edit116.GetText(), "");
  EXPECT_EQ(FocusName(), "DateTimePicker2");
  EXPECT_EQ(Focus(), date);

  form.leeslaatsterecord.Execute();  // the saved voucher
  ASSERT_EQ(form.Edit3.GetText(), "V1");
  QTest::mouseClick(WidgetOf<QWidget>(form, "Button6"), Qt::LeftButton);  // Delete, Yes
  EXPECT_EQ(form.Edit3.GetText(), "");
  EXPECT_EQ(FocusName(), "DateTimePicker2");
  EXPECT_EQ(Focus(), date);
}

TEST_F(JournalQt, AnUnknownAccountNumberIsNamedInTheStatusBar) {
  if (!HasKeyboard()) GTEST_SKIP() << "the platform gives no keyboard focus";
  auto* status = qobject_cast<QStatusBar*>(qtfront::FindWidget(form, "StatusBar1"));
  ASSERT_NE(status, nullptr);
  auto statusText = [&] {
    const QList<QLabel*> labels = status->findChildren<QLabel*>();
    return labels.isEmpty() ? std::string() : labels.front()->text().toStdString();
  };
  struct Case {
    const char* language;
    const char* typed;
    const char* said;
  };
  for (const Case& c : {Case{"English", "4711", "Account 4711 does not exist"},
                        Case{"Nederlands", "4711", "Rekening 4711 bestaat niet"},
                        Case{"Deutsch", " 99 ", "Konto 99 existiert nicht"}}) {
    text::CurrentLanguage.SetL(0, c.language);
    form.Lines[0].Caption.SetText("stale");
    form.Lines[0].Number.UserFocus();
    ASSERT_EQ(FocusName(), "ComboBox1");
    QTest::keyClicks(Focus(), c.typed);
    QTest::keyClick(Focus(), Qt::Key_Tab);
    EXPECT_EQ(form.Lines[0].Number.GetText(), "") << c.language;
    EXPECT_EQ(form.Lines[0].Caption.GetText(), "") << c.language;
    EXPECT_EQ(form.StatusBar1.PanelText(0), c.said);
    EXPECT_EQ(statusText(), c.said);
  }
  // A known account says nothing new.
  form.StatusBar1.Show("", ui::colors::Default);
  form.Lines[1].Number.UserFocus();
  QTest::keyClicks(Focus(), "4000");
  QTest::keyClick(Focus(), Qt::Key_Tab);
  EXPECT_EQ(form.Lines[1].Caption.GetText(), "Sales");
  EXPECT_EQ(form.StatusBar1.PanelText(0), "");
}

// The administration settings' book-year start takes a typed date; its
// handler (the periods proposed anew) runs once.
TEST_F(QtFrontTest, TheBookYearStartTakesATypedDate) {
  support::ProgramState program;
  masterdata::Tadministrationsetting f;
  records::AdminSettingsRec s;
  s.SetBookYearStart("20250101");
  s.SetBookYearEnd("20251231");
  s.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, "2025" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
  for (int k = 13; k <= 15; ++k) s.SetPeriodStart(k, "20260101");
  store::AdminSettingsValues = store::ValuesOfRecord(s);
  f.ShowValues();
  f.UpdatePeriodControls();
  f.Button6Click();  // tab 2
  int changes = 0;
  const ui::Event propose = f.DateTimePicker1.OnChange;
  f.DateTimePicker1.OnChange = [&] {
    ++changes;
    propose();
  };
  QWidget* window = ShowWindow(f);
  QApplication::setActiveWindow(window);
  if (!QTest::qWaitForWindowActive(window)) GTEST_SKIP() << "the platform gives no keyboard focus";
  auto* start = WidgetOf<QDateEdit>(f, "DateTimePicker1");
  ASSERT_TRUE(start->isVisible());
  f.DateTimePicker1.UserFocus();
  ClickAt(start, 4);  // the month
  TypeInto(start, "07");
  QTest::keyClick(start, Qt::Key_Tab);
  EXPECT_EQ(f.DateTimePicker1.Date(), Day(2025, 7, 1));
  EXPECT_EQ(changes, 1);
  f.DateTimePicker1.UserFocus();
  LineOf(start)->selectAll();
  TypeInto(start, "01-04-2025");
  EXPECT_EQ(f.DateTimePicker1.Date(), Day(2025, 4, 1));
  EXPECT_EQ(changes, 2);
  // The second period follows the new start.
  EXPECT_EQ(f.PeriodPickers[1].Picker.Date(), Day(2025, 5, 1));
}

// A click on an item of an open list-only box (the system settings'
// decimals) takes it, as on the editable boxes of the partner form.
TEST_F(QtFrontTest, AClickOnAnItemOfAnOpenPlainListTakesIt) {
  support::ProgramState program;
  systemforms::Tsystemscherm f;
  f.ComboBox2.SetItemIndex(2);
  std::vector<std::string> seen;
  f.ComboBox2.OnSelect = [&] { seen.push_back("select " + f.ComboBox2.GetText()); };
  QWidget* window = ShowWindow(f);
  QApplication::setActiveWindow(window);
  if (!QTest::qWaitForWindowActive(window)) GTEST_SKIP() << "the platform gives no keyboard focus";
  auto* box = WidgetOf<QComboBox>(f, "ComboBox2");
  ASSERT_FALSE(box->isEditable());
  QTest::mouseClick(box, Qt::LeftButton);
  QAbstractItemView* list = box->view();
  ASSERT_TRUE(list->isVisible());
  QTest::qWait(QApplication::doubleClickInterval() + 50);  // not the release of the click that opened it
  const QPoint item = list->visualRect(list->model()->index(3, 0)).center();
  QTest::mouseMove(list->viewport(), item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
  EXPECT_FALSE(list->isVisible());
  EXPECT_EQ(f.ComboBox2.ItemIndex(), 3);
  EXPECT_EQ(f.ComboBox2.GetText(), "3");
  EXPECT_EQ(seen, std::vector<std::string>{"select 3"});
  EXPECT_EQ(box->currentText(), "3");
}

}  // namespace
}  // namespace qttest
