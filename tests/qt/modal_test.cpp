// Modality, the main loop and the event boundary with real Qt loops. Each
// step runs from a 0 ms single-shot timer inside the loop under test.
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "formkit/filesetscope.h"
#include "platform/errors.h"
#include "program/mainblock.h"
#include "qtfixture.h"
#include "store/fileset.h"
#include "support/fakefs.h"

namespace qttest {
namespace {

using ModalTest = QtFrontTest;

void Later(std::function<void()> fn) { QTimer::singleShot(0, std::move(fn)); }

class RecordingForm : public SmallForm {
 public:
  RecordingForm(std::string name, std::vector<std::string>& log) : SmallForm(name) {
    OnShow = [this, &log] { log.push_back(Name() + " show"); };
    OnActivate = [this, &log] { log.push_back(Name() + " activate"); };
    OnHide = [this, &log] { log.push_back(Name() + " hide"); };
    OnClose = [this, &log] { log.push_back(Name() + " close"); };
  }
};

std::string Visible(ui::Form& f) {
  QWidget* w = qtfront::FindWidget(f, f.Name());
  return f.Name() + (w->isVisible() ? " visible" : " hidden");
}

TEST_F(ModalTest, HidingInsideTheModalLoopDoesNotEndIt) {
  RecordingForm a("A", events);
  Later([&] {
    Record(Visible(a));
    a.Hide();
    Record(Visible(a));
    Later([&] {
      Record(a.InModalLoop() ? "still modal" : "loop ended");
      a.Show();
      Record(Visible(a));
      Later([&] { a.Close(); });
    });
  });
  a.ShowModal();
  Record("returned");
  Record(Visible(a));
  EXPECT_EQ(events, (std::vector<std::string>{"A show", "A activate", "A visible", "A hide", "A hidden",
                                              "still modal", "A visible", "A close", "returned", "A hidden"}));
}

TEST_F(ModalTest, NestedModalFormsReturnToTheirCaller) {
  RecordingForm a("A", events);
  RecordingForm help("Help", events);
  Later([&] {
    // As a form shows its help: hide, show the help modally, show again.
    a.Hide();
    Later([&] { help.Close(); });
    help.ShowModal();
    Record("help returned");
    a.Show();
    Record(Visible(a));
    Later([&] { a.Close(); });
  });
  a.ShowModal();
  Record("returned");
  // The caller's activation does not run again when the help returns.
  EXPECT_EQ(events, (std::vector<std::string>{"A show", "A activate", "A hide", "Help show", "Help activate",
                                              "Help close", "help returned", "A visible", "A close", "returned"}));
}

TEST_F(ModalTest, TheCloseButtonAsksTheForm) {
  RecordingForm a("A", events);
  bool mayClose = false;
  a.OnCloseQuery = [&](bool& can) {
    Record("query");
    can = mayClose;
  };
  Later([&] {
    QWidget* w = qtfront::FindWidget(a, "A");
    w->close();
    Record(Visible(a));
    mayClose = true;
    w->close();
  });
  a.ShowModal();
  EXPECT_EQ(events, (std::vector<std::string>{"A show", "A activate", "query", "A visible", "query", "A close"}));
  EXPECT_EQ(a.GetModalResult(), ui::ModalResult::Close);
}

TEST_F(ModalTest, AFormClosedByItsActivationIsNotShown) {
  RecordingForm a("A", events);
  a.OnActivate = [&] { a.Close(); };
  a.ShowModal();
  EXPECT_FALSE(a.InModalLoop());
  EXPECT_EQ(events, (std::vector<std::string>{"A show", "A close"}));
}

TEST_F(ModalTest, TheMainLoopEndsWhenTheMainFormClosesNotWhenItHides) {
  RecordingForm main("Main", events);
  RecordingForm other("Other", events);
  Later([&] {
    main.Hide();  // no window is showing now
    Later([&] {
      Record("loop goes on");
      Later([&] { other.Close(); });
      other.ShowModal();
      main.Show();
      Later([&] { main.Close(); });
    });
  });
  backend.RunMain(main);
  Record("main returned");
  EXPECT_EQ(events,
            (std::vector<std::string>{"Main show", "Main activate", "Main hide", "loop goes on", "Other show",
                                      "Other activate", "Other close", "Main close", "main returned"}));
}

TEST_F(ModalTest, AKeyWhoseHandlerRunsAModalLoopReachesTheFormOnce) {
  RecordingForm a("A", events);
  RecordingForm help("Help", events);
  a.OnKeyDown = [&](uint16_t& key, unsigned) {
    if (key != ui::keys::F1) return;
    Record("F1");
    Later([&] {
      // The key's release comes while the help shows, as it does when the
      // user lets go of F1.
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier);
      QApplication::sendEvent(WidgetOf<QLineEdit>(help, "Edit1"), &release);
      help.Close();
    });
    help.ShowModal();  // the key is not consumed: it goes on to the edit
  };
  a.Edit1.SetFocus();
  // The edit does not take F1; the key goes on to its parents.
  QTest::keyClick(WidgetOf<QLineEdit>(a, "Edit1"), Qt::Key_F1);
  EXPECT_EQ(events, (std::vector<std::string>{"F1", "Help show", "Help activate", "Help close"}));
}

TEST_F(ModalTest, AThrowingHandlerShowsTheErrorAndTheProgramGoesOn) {
  SmallForm f;
  int cleanups = 0;
  ui::SetBoundaryCleanup("count", {[] { return 0; }, [&](int) { ++cleanups; }});
  int clicks = 0;
  f.Button1.OnClick = [&] {
    if (++clicks == 1) throw std::runtime_error(cp1252::L("Kaputt: ä"));
  };
  ui::SetApplicationTitle("Ombrelo Account");
  ShowWindow(f);
  BoxAnswerer answer;
  auto* b = WidgetOf<QPushButton>(f, "Button1");
  QTest::mouseClick(b, Qt::LeftButton);
  ASSERT_EQ(answer.texts.size(), 1u);
  EXPECT_EQ(answer.texts[0], "Kaputt: ä");
  EXPECT_EQ(answer.titles[0], "Ombrelo Account");
  EXPECT_EQ(cleanups, 1);
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(answer.texts.size(), 1u);
}

// The outer action holds a file set and shows a form modally; a button of
// that form fails. One message, and the outer action goes on with its set.
TEST_F(ModalTest, AnErrorInANestedFormLeavesTheOuterActionsFileSet) {
  support::FakeDataStore store;
  store.fs.AddFolder("/d/ACME");
  store::SetDataRoot("/d/");
  store::SetCurrentAdministrationFolder("ACME");
  program::RegisterEventBoundary();
  ui::SetApplicationTitle("Ombrelo Account");
  SmallForm outer("Outer");
  SmallForm inner("Inner");
  inner.Button1.OnClick = [] { throw platform::ConversionError("'12,x' is not a valid floating point value"); };
  outer.Button1.OnClick = [&] {
    formkit::FileSetScope scope("GLA");
    if (!scope.Ok()) return;
    store::AppendRecord(store::FileCode::GLA, std::string(376, 'a').data());
    Later([&] {
      QTest::mouseClick(WidgetOf<QPushButton>(inner, "Button1"), Qt::LeftButton);
      Later([&] { inner.Close(); });
    });
    inner.ShowModal();
    Record("resumed at level " + std::to_string(store::FileSetLevels()));
    store::AppendRecord(store::FileCode::GLA, std::string(376, 'b').data());
    Record("records " + std::to_string(store::RecordCount(store::FileCode::GLA)));
  };
  ShowWindow(outer);
  BoxAnswerer answer;
  QTest::mouseClick(WidgetOf<QPushButton>(outer, "Button1"), Qt::LeftButton);
  EXPECT_EQ(answer.texts, std::vector<std::string>{"'12,x' is not a valid floating point value"});
  EXPECT_EQ(events, (std::vector<std::string>{"resumed at level 1", "records 2"}));
  EXPECT_EQ(store::FileSetLevels(), 0);
  EXPECT_EQ(store.fs.OpenHandles(), 0);
  EXPECT_EQ(store.fs.HeldLocks(), 0);
  EXPECT_EQ(store.fs.File("/d/ACME/ledger.vlk"), std::string(376, 'a') + std::string(376, 'b'));
}

TEST_F(ModalTest, MessageBoxesOfferTheButtonsAndReturnTheAnswer) {
  struct Case {
    ui::Buttons buttons;
    QMessageBox::StandardButtons shown;
    QMessageBox::StandardButton press;
    ui::ModalResult result;
  };
  using B = QMessageBox;
  const std::vector<Case> cases = {
      {ui::Buttons::Ok, B::Ok, B::Ok, ui::ModalResult::Ok},
      {ui::Buttons::YesNo, B::Yes | B::No, B::No, ui::ModalResult::No},
      {ui::Buttons::YesNoCancel, B::Yes | B::No | B::Cancel, B::Cancel, ui::ModalResult::Cancel},
      {ui::Buttons::YesNoYesToAll, B::Yes | B::No | B::YesToAll, B::YesToAll, ui::ModalResult::YesToAll},
      {ui::Buttons::OkCancel, B::Ok | B::Cancel, B::Ok, ui::ModalResult::Ok},
  };
  for (const auto& c : cases) {
    QMessageBox::StandardButtons seen;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen = box->standardButtons();
      box->button(c.press)->click();
    });
    timer.start();
    EXPECT_EQ(ui::MessageDlg(cp1252::L("Überschreiben?"), ui::DialogKind::Confirmation, c.buttons), c.result);
    EXPECT_EQ(seen, c.shown);
  }
  // A hook answers in place of the box.
  backend.messageHook = [](const ui::Text&, const ui::Text&, ui::Buttons, ui::DialogKind) {
    return std::optional<ui::ModalResult>(ui::ModalResult::No);
  };
  EXPECT_EQ(ui::MessageDlg("?", ui::DialogKind::Warning, ui::Buttons::YesNo), ui::ModalResult::No);
}

}  // namespace
}  // namespace qttest
