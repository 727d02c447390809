// Every form of the program renders through the Qt front end, and real
// widget events reach the forms' handlers.
#include <QHeaderView>
#include <QLineEdit>
#include <QSet>
#include <QTableWidget>
#include <cstdlib>
#include <functional>

#include "qtfixture.h"
#include "store/fileset.h"
#include "program/mainblock.h"
#include "program/startschermunit.h"
#include "masterdata/Ledgerunit.h"
#include "masterdata/adminsettings.h"
#include "records/adminsettingsrec.h"
#include "reports/Rapport1unit.h"
#include "store/adminsettingsload.h"
#include "support/fakefs.h"

namespace qttest {
namespace {

class ProgramFormsTest : public QtFrontTest {
 protected:
  void SetUp() override {
    backend.messageHook = [this](const ui::Text& text, const ui::Text&, ui::Buttons, ui::DialogKind) {
      messages.push_back(text);
      return std::optional<ui::ModalResult>(ui::ModalResult::Ok);
    };
    backend.dialogHook = [](const std::string&, const ui::FileDialogOptions&) {
      return std::optional<std::optional<std::string>>(std::optional<std::string>());
    };
    // The forms are created as at start-up: inside the start-up file set.
    int result = -1;
    store::OpenFileSet("USE;SYS;ADM;LAN;INS", result);
    ASSERT_EQ(result, 0) << store::FileErrorText;
    program::CreateForms();
    store::ForceCloseFileSet();
  }
  void TearDown() override { program::DestroyForms(); }

  support::FakeDataStore store;
  std::vector<std::string> messages;
};

// Every component of a form, depth first.
void Walk(const ui::Container& c, const std::function<void(const ui::Component&)>& fn) {
  for (const ui::Component* k : c.Children()) {
    fn(*k);
    if (auto* sub = dynamic_cast<const ui::Container*>(k)) Walk(*sub, fn);
  }
}

TEST_F(ProgramFormsTest, EveryFormRendersWithAWidgetForEachComponent) {
  ASSERT_EQ(program::ProgramForms().size(), 14u);
  for (ui::Form* form : program::ProgramForms()) {
    SCOPED_TRACE(form->ClassName());
    QImage img = qtfront::RenderForm(*form);
    ASSERT_FALSE(img.isNull());
    qttest::KeepPicture(img, form->ClassName() + ".png");
    EXPECT_GE(img.width(), 100);
    EXPECT_GE(img.height(), 50);
    EXPECT_LE(img.width(), 2000);
    EXPECT_LE(img.height(), 1600);
    Walk(*form, [&](const ui::Component& c) {
      if (c.GetKind() == ui::Kind::MenuItem) {
        EXPECT_NE(backend.ActionFor(c), nullptr) << c.Name();
      } else {
        EXPECT_NE(qtfront::FindWidget(*form, c.Name()), nullptr) << c.Name();
      }
    });
  }
}

TEST_F(ProgramFormsTest, FormsWithComponentsDrawMoreThanABlankWindow) {
  for (ui::Form* form : program::ProgramForms()) {
    if (form->Children().empty()) continue;
    SCOPED_TRACE(form->ClassName());
    QImage img = qtfront::RenderForm(*form);
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); y += 2)
      for (int x = 0; x < img.width(); x += 2) colours.insert(img.pixel(x, y));
    EXPECT_GT(colours.size(), 5);
  }
}

TEST_F(ProgramFormsTest, TypingIntoTheStartScreenReachesTheModel) {
  auto& start = *program::Startscherm;
  ShowWindow(start);
  auto* edit = WidgetOf<QLineEdit>(start, "Edit2");
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  QTest::keyClicks(edit, "system");
  // The user id edit is an upper-case edit: the model holds the id as typed
  // in capitals, and the widget shows what the model holds.
  EXPECT_EQ(start.Edit2.GetText(), "SYSTEM");
  EXPECT_EQ(edit->text().toStdString(), "SYSTEM");
}

TEST_F(ProgramFormsTest, EscapeOnTheStartScreenClosesIt) {
  auto& start = *program::Startscherm;
  bool closed = false;
  start.OnClose = [&] { closed = true; };
  QWidget* window = ShowWindow(start);
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_TRUE(closed);
}

TEST_F(ProgramFormsTest, TheSettingsFormRendersBothTabs) {
  masterdata::Tadministrationsetting& f = *masterdata::administrationsetting;
  // As the year-end flow shows it: the new book year 2025 proposed in
  // twelve months after 2024 was closed. The activation gives the journal
  // block its headings.
  f.FormActivate();
  records::AdminSettingsRec s;
  s.SetCompanyName("Acme Trading");
  s.SetAddress("1 Market Street");
  s.SetZipCode("1234 AB");
  s.SetTown("Springfield");
  s.SetCountry("Netherlands");
  s.SetBookYearStart("20250101");
  s.SetBookYearEnd("20251231");
  s.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, "2025" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
  for (int k = 13; k <= 15; ++k) s.SetPeriodStart(k, "20260101");
  s.SetApprovedAnnualBalance("2024");
  s.SetLastClosedPeriod("12/12");
  s.SetCurrentAnnualBalance("2025");
  s.SetCurrentPeriod("01/12");
  s.SetCurrencyCode("EUR");
  s.SetFiscalYear("2025");
  s.SetSplitJournals("true");
  s.SetSalesBookName("Sales");
  s.SetPurchaseBookName("Purchases");
  s.SetDayBookName("Daybook");
  store::AdminSettingsValues = store::ValuesOfRecord(s);
  f.ShowValues();
  f.UpdatePeriodControls();
  f.StatusBar1.Show("Proposal periods date new bookyear", ui::colors::Lime);
  for (int tab : {0, 1}) {
    if (tab == 0) f.Button7Click(); else f.Button6Click();
    f.StatusBar1.Show("Proposal periods date new bookyear", ui::colors::Lime);
    QImage img = qtfront::RenderForm(f);
    ASSERT_FALSE(img.isNull());
    qttest::KeepPicture(img, "administration-settings-tab" + std::to_string(tab + 1) + ".png");
    EXPECT_GE(img.height(), 200);
  }
}


// The settings form's journal block: "Customer invoices", "Supplier
// invoices" and "Other entries" (the captions of the three fixed boxes)
// stand in one row as the headings over their columns of boxes.
TEST_F(ProgramFormsTest, TheJournalBlockHasItsHeadingsOverTheirBoxes) {
  masterdata::Tadministrationsetting& f = *masterdata::administrationsetting;
  f.CheckBox2.SetCaption("Customer invoices");
  f.CheckBox4.SetCaption("Supplier invoices");
  f.CheckBox6.SetCaption("Other entries");
  f.FormActivate();
  f.Button6Click();
  if (!f.CheckBox13.Checked()) f.CheckBox13.UserClick();
  ASSERT_TRUE(f.Label33.Visible());
  qtfront::RenderForm(f);
  QWidget* window = qtfront::FindWidget(f, f.Name());
  auto place = [&](const ui::Component& c) {
    QWidget* w = qtfront::FindWidget(f, c.Name());
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
  };
  struct Column {
    const ui::Label* heading;
    const ui::CheckBox* named;
    std::vector<const ui::CheckBox*> boxes;
  };
  const Column columns[] = {
      {&f.Label33, &f.CheckBox2, {&f.CheckBox2, &f.CheckBox5, &f.CheckBox7, &f.CheckBox9, &f.CheckBox11}},
      {&f.Label34, &f.CheckBox4, {&f.CheckBox3, &f.CheckBox4, &f.CheckBox8, &f.CheckBox10, &f.CheckBox12}},
      {&f.Label35, &f.CheckBox6, {&f.CheckBox6}},
  };
  for (const Column& c : columns) {
    SCOPED_TRACE(c.heading->Name());
    EXPECT_EQ(c.heading->Caption(), c.named->Caption());
    const QRect heading = place(*c.heading);
    EXPECT_EQ(heading.top(), place(f.Label33).top());  // one row of headings
    for (const ui::CheckBox* box : c.boxes) {
      const QRect b = place(*box);
      EXPECT_EQ(b.left(), heading.left()) << box->Name();
      EXPECT_LE(heading.bottom(), b.top()) << box->Name();
    }
  }
  // The headings are above the first journal's row.
  EXPECT_LE(place(f.Label33).bottom(), place(f.Edit24).top());
}

// Grid headings show whole. A column the form gives a width it may widen
// (the GL accounts' grid) is at least as wide as its heading; a column whose
// width the report form fixes keeps that width and has its whole heading as
// its tool tip.
TEST_F(ProgramFormsTest, GridColumnsShowTheirWholeHeadings) {
  masterdata::TLedger& ledger = *masterdata::Ledger;
  // The headings as the English language file gives them.
  const std::pair<int, const char*> headings[] = {{masterdata::TLedger::ColNumber, "Account number"},
                                                  {masterdata::TLedger::ColStartAmount, "Amount on start date"},
                                                  {masterdata::TLedger::ColCashOrBank, "Cash or bank account"}};
  for (const auto& [col, text] : headings) ledger.StringGrid1.SetCell(col, 0, text);
  qtfront::RenderForm(ledger);
  auto* accounts = WidgetOf<QTableWidget>(ledger, "StringGrid1");
  ASSERT_NE(accounts, nullptr);
  for (const auto& [col, text] : headings) {
    EXPECT_EQ(accounts->horizontalHeaderItem(col)->text(), text);
    EXPECT_GE(accounts->columnWidth(col), accounts->horizontalHeader()->sectionSizeHint(col)) << text;
    EXPECT_GE(accounts->columnWidth(col), ledger.StringGrid1.ColWidth(col)) << text;
  }

  reports::TRapport1& report = *reports::Rapport1;
  report.FormActivate();
  const std::string long_heading = "Current period balance sheet debit amount";
  for (int col = 1; col <= 6; ++col) report.StringGrid1.SetCell(col, 0, long_heading);
  qtfront::RenderForm(report);
  auto* grid = WidgetOf<QTableWidget>(report, "StringGrid1");
  ASSERT_NE(grid, nullptr);
  for (int col = 1; col <= 6; ++col) {
    EXPECT_EQ(grid->columnWidth(col), 120) << col;
    EXPECT_EQ(grid->model()->headerData(col, Qt::Horizontal, Qt::ToolTipRole).toString().toStdString(),
              long_heading)
        << col;
  }
}

}  // namespace
}  // namespace qttest
