// The report form, headless: the period and journal lists, the combo
// boxes' exit check, and the main road end to end on a small book (log in,
// the reports node, each report generated, previewed where it has a grid,
// printed and saved; the saved file read back gives the view's paragraphs
// without the page markers), the grid in the current language, the ledger
// card of all accounts in books without accounts, the stale-choice rule,
// the grid reports' preview and print without reading the books, and the
// overwrite question.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "reports/Rapport1unit.h"
#include "books/reporting/reportrun.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "support/program.h"
#include "support/reportbook.h"
#include "ui/clipboard.h"
#include "ui/printing.h"
#include "ui/rtfreader.h"

namespace {

using program::TreeFunction;
using reports::TRapport1;

TEST(PeriodListItems, TheOpenPeriodOnTopThenTheFrozenNewestFirst) {
  struct Case {
    std::vector<std::string> frozen;
    std::vector<std::string> items;
  };
  const std::vector<Case> cases = {
      {{}, {"2024-05/12"}},
      {{"2024-01/12", "2024-02/12", "2024-03/12"}, {"2024-04/12", "2024-03/12", "2024-02/12", "2024-01/12"}},
      {{"2024-09/12"}, {"2024-10/12", "2024-09/12"}},
      {{"2023-12/12"}, {"2024-05/12", "2023-12/12"}},
      {{"2024-00/12"}, {"2024-01/12", "2024-00/12"}},
  };
  for (const Case& c : cases) EXPECT_EQ(books::reporting::PeriodListItems(c.frozen, "2024", "05/12"), c.items);
}

records::JournalVoucherRec V(const std::string& date, const std::string& journal) {
  records::JournalVoucherRec v;
  v.SetVoucherDate(date);
  v.SetJournalName(journal);
  return v;
}

TEST(JournalListItems, DistinctSortedIgnoringCaseFromTheEndBackToThePeriodStart) {
  const std::vector<records::JournalVoucherRec> vouchers = {
      V("20240301", "Zeta"),  // before a voucher dated before the start: the scan has stopped
      V("20240215", "Old"),   V("20240301", "bank"), V("20240310", "Sales"),
      V("20240320", "BANK"),  V("20240405", "Later")};
  books::closing::ReportPeriod p;
  p.start = "20240301";
  p.end = "20240401";
  EXPECT_EQ(books::reporting::JournalListItems(vouchers, p, false), (std::vector<std::string>{"*.*", "BANK", "Sales"}));
  EXPECT_EQ(books::reporting::JournalListItems(vouchers, p, true),
            (std::vector<std::string>{"*.*", "BANK", "Later", "Sales"}));
  EXPECT_EQ(books::reporting::JournalListItems({}, p, true), std::vector<std::string>{"*.*"});
}

TEST(ComboExitText, ATextEqualToAnItemIgnoringCaseStaysAsTyped) {
  const std::vector<std::string> items = {"1. Trial balance", "2. Balance sheet"};
  EXPECT_EQ(books::reporting::ComboExitText(items, "2. balance SHEET"), "2. balance SHEET");
  EXPECT_EQ(books::reporting::ComboExitText(items, "nonsense"), "1. Trial balance");
  EXPECT_EQ(books::reporting::ComboExitText({}, "x"), "");
}

const std::string W = "/w/";
const std::string D = "/w/data/ACME/";

class ReportForm : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 3, 1) + platform::EncodeTime(9, 30, 0, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  void SetUp() override {
    StartWithAcme();
    support::WriteReportBook(store, D, W);
    LogInToAcme();
  }

  // Opens the reports node and runs `script` in the form.
  void InForm(const std::function<void(TRapport1&)>& script) {
    ShowFromTree<TRapport1>(TreeFunction::Reports, "Rapport1", script);
  }

  static void Choose(TRapport1& f, int report) {
    f.ComboBox4.UserFocus();
    f.ComboBox4.UserSelect(report);
  }
  static std::vector<std::string> Texts(const std::vector<ui::RtfParagraph>& ps) {
    std::vector<std::string> out;
    for (const auto& p : ps) out.push_back(p.Text());
    return out;
  }
};

TEST_F(ReportForm, ActivationFillsTheChoicesAndEndsTheStartScreensSet) {
  InForm([](TRapport1& f) {
    ASSERT_EQ(f.ComboBox4.Count(), 6);
    EXPECT_EQ(f.ComboBox4.GetText(), f.ComboBox4.Items()[0].text);
    EXPECT_EQ(f.ComboBox1.GetText(), "2024-02/12");
    ASSERT_EQ(f.ComboBox1.Count(), 2);
    EXPECT_EQ(f.ComboBox1.Items()[1].text, "2024-01/12");
    EXPECT_EQ(f.ComboBox3.Count(), 9);
    EXPECT_EQ(f.ComboBox3.Items()[3].text, "1000 | Bank");
    EXPECT_FALSE(f.ComboBox3.Visible());
    for (ui::Action* a : {&f.Afdrukvoorbeeld, &f.Afdrukken, &f.saveas, &f.freezeperiode, &f.selectall,
                          &f.copytoclipboard})
      EXPECT_FALSE(a->Enabled()) << a->Name();
  });
}

TEST_F(ReportForm, EachReportIsGeneratedPrintedAndSavedAndTheSavedFileReadsBackAsTheView) {
  InForm([&](TRapport1& f) {
    for (int report = 0; report < 6; ++report) {
      SCOPED_TRACE(report + 1);
      Choose(f, report);
      EXPECT_EQ(f.ComboBox3.Visible(), report == 2);
      EXPECT_EQ(f.ComboBox2.Visible(), report == 3);
      f.Button1.UserClick();
      if (report < 2) {
        EXPECT_TRUE(f.StringGrid1.Visible());
        EXPECT_TRUE(f.Afdrukvoorbeeld.Enabled());
        EXPECT_FALSE(f.Afdrukken.Enabled());
        f.ToolButton2.UserClick();
      }
      ASSERT_TRUE(f.LastReport()) << backend.messages.size();
      EXPECT_TRUE(f.RichEdit1.Visible());
      for (ui::Action* a : {&f.Afdrukken, &f.saveas, &f.selectall, &f.copytoclipboard})
        EXPECT_TRUE(a->Enabled()) << a->Name();

      // Print: one sheet per page, the trial balance landscape.
      const std::size_t jobs = ui::HeadlessPrinter().printed.size();
      f.Button2.UserClick();
      ASSERT_EQ(ui::HeadlessPrinter().printed.size(), jobs + 1);
      const ui::PrintJob& job = ui::HeadlessPrinter().printed.back();
      EXPECT_EQ(job.orientation, report == 0 ? ui::PageOrientation::Landscape : ui::PageOrientation::Portrait);
      std::size_t markers = 0;
      for (const auto& p : f.RichEdit1.Document().paragraphs) markers += ui::IsPageMarkerText(p.Text());
      EXPECT_EQ(job.Pages().size(), markers + 1);
      EXPECT_EQ(static_cast<std::size_t>(f.LastReport()->pages), markers + 1);

      // Save as, and read the file back.
      const std::string path = W + "report" + std::to_string(report + 1) + ".rtf";
      backend.dialogAnswers.push_back(path);
      f.ToolButton4.UserClick();
      ASSERT_TRUE(store.fs.Exists(path));
      const ui::RtfDocument saved = ui::ReadRtf(store.fs.File(path));
      EXPECT_EQ(Texts(saved.paragraphs), Texts(ui::WithoutMarkers(f.RichEdit1.Document())));
      EXPECT_EQ(saved.landscape, report == 0);
      EXPECT_GT(saved.paragraphs.size(), 4u);

      // Select all and copy: the text and the report's RTF.
      f.Selectall1.UserClick();
      f.Copy1.UserClick();
      ASSERT_FALSE(ui::HeadlessClipboard().copied.empty());
      EXPECT_EQ(ui::HeadlessClipboard().copied.back().rtf, f.RichEdit1.Rtf());
    }
  });
  EXPECT_TRUE(backend.messages.empty()) << backend.messages[0].text;
}

TEST_F(ReportForm, ReportsShowTheBooksFigures) {
  InForm([&](TRapport1& f) {
    auto text = [&](int report) {
      Choose(f, report);
      f.Button1.UserClick();
      if (report < 2) f.ToolButton2.UserClick();
      return f.RichEdit1.Document().PlainText();
    };
    const std::string debtors = text(4);
    EXPECT_NE(debtors.find("Alpha Retail"), std::string::npos);
    EXPECT_NE(debtors.find("200.00"), std::string::npos);
    EXPECT_EQ(debtors.find("Beta Shop"), std::string::npos) << "paid in full";
    const std::string creditors = text(5);
    EXPECT_NE(creditors.find("Gamma Supplies"), std::string::npos);
    const std::string trial = text(0);
    EXPECT_NE(trial.find("1,200.00"), std::string::npos) << trial;
    EXPECT_NE(trial.find("Acme Trading"), std::string::npos);
    const std::string journal = text(3);
    EXPECT_NE(journal.find("Office rent"), std::string::npos);
    EXPECT_EQ(journal.find("Invoice F1"), std::string::npos) << "January is not in February's journal";
  });
}

// The grid's headings are the current language's, read at each generate.
TEST_F(ReportForm, TheGridSpeaksTheCurrentLanguage) {
  text::CurrentLanguage.SetL(2410, "Omschrijving");
  text::CurrentLanguage.SetL(2454, "Debet");
  text::CurrentLanguage.SetL(8104, "Totalen");
  text::CurrentLanguage.SetL(8078, "Balans");
  InForm([&](TRapport1& f) {
    Choose(f, 0);
    f.Button1.UserClick();
    EXPECT_EQ(f.StringGrid1.Cell(0, 1), "Omschrijving");
    EXPECT_EQ(f.StringGrid1.Cell(1, 1), "Debet");
    EXPECT_EQ(f.StringGrid1.Cell(2, 1), "Credit");
    EXPECT_EQ(f.StringGrid1.Cell(1, 0), "Totalen");
    EXPECT_EQ(f.StringGrid1.Cell(5, 0), "Balans");
  });
}

TEST_F(ReportForm, ChangingTheReportOrPeriodTurnsOffWhatBelongsToTheLastGenerate) {
  InForm([&](TRapport1& f) {
    Choose(f, 1);
    f.Button1.UserClick();
    EXPECT_TRUE(f.Afdrukvoorbeeld.Enabled());
    f.ComboBox1.UserFocus();
    f.ComboBox1.UserSelect(1);
    for (ui::Action* a : {&f.Afdrukvoorbeeld, &f.Afdrukken, &f.saveas, &f.freezeperiode})
      EXPECT_FALSE(a->Enabled()) << a->Name();
    Choose(f, 4);
    f.Button1.UserClick();
    EXPECT_TRUE(f.saveas.Enabled()) << "save as after every build";
    Choose(f, 3);
    EXPECT_FALSE(f.saveas.Enabled());
  });
}

// The preview and print of the trial balance and balance sheet lay out the
// grid the generate computed: they read no voucher, freeze, account or
// category, so files that can no longer be read do not stop them.
TEST_F(ReportForm, PreviewAndPrintOfTheGridReportsReadNoBookFile) {
  InForm([&](TRapport1& f) {
    for (int report : {0, 1}) {
      SCOPED_TRACE(report + 1);
      Choose(f, report);
      f.Button1.UserClick();
      ASSERT_TRUE(f.Afdrukvoorbeeld.Enabled());
      for (const char* file : {"book.vlk", "freeze.vlk", "ledger.vlk", "ledgerct.vlk"})
        store.fs.InjectError(D + file, support::FakeFileSystem::Op::Read, 5);
      const std::size_t jobs = ui::HeadlessPrinter().printed.size();
      f.ToolButton2.UserClick();
      ASSERT_TRUE(f.LastReport());
      f.Button2.UserClick();
      EXPECT_EQ(ui::HeadlessPrinter().printed.size(), jobs + 1);
      store.fs.ClearErrors();
    }
  });
  EXPECT_TRUE(backend.messages.empty()) << backend.messages[0].text;
}

// A ledger card of all accounts in books without GL accounts is an empty
// report, one page with the headings and a zero total, which prints and
// saves like any other; the status line says why it is empty.
TEST_F(ReportForm, ALedgerCardOfAllAccountsWithoutAccountsIsAnEmptyReport) {
  store.fs.SetFile(D + "ledger.vlk", "");
  InForm([&](TRapport1& f) {
    Choose(f, 2);
    ASSERT_EQ(f.ComboBox3.GetText(), "*.*");
    f.Button1.UserClick();
    ASSERT_TRUE(f.LastReport());
    EXPECT_EQ(f.LastReport()->pages, 1);
    EXPECT_TRUE(f.RichEdit1.Visible());
    const std::string text = f.RichEdit1.Document().PlainText();
    EXPECT_NE(text.find("Acme Trading"), std::string::npos) << text;
    EXPECT_NE(text.find("0.00"), std::string::npos) << text;
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
    for (ui::Action* a : {&f.Afdrukken, &f.saveas, &f.selectall, &f.copytoclipboard})
      EXPECT_TRUE(a->Enabled()) << a->Name();
    EXPECT_EQ(f.ComboBox3.GetText(), "*.*");
  });
  EXPECT_TRUE(backend.messages.empty()) << backend.messages[0].text;
}

TEST_F(ReportForm, SaveAsReplacesAnExistingFileOnlyAfterYes) {
  const std::string path = W + "old.rtf";
  store.fs.SetFile(path, "old");
  InForm([&](TRapport1& f) {
    Choose(f, 4);
    f.Button1.UserClick();
    for (ui::ModalResult answer : {ui::ModalResult::No, ui::ModalResult::Cancel}) {
      backend.dialogAnswers.push_back(path);
      backend.messageAnswers.push_back(answer);
      f.saveas.Execute();
      EXPECT_EQ(store.fs.File(path), "old");
    }
    backend.dialogAnswers.push_back(path);
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.saveas.Execute();
    EXPECT_EQ(store.fs.File(path).substr(0, 5), "{\\rtf");
  });
  ASSERT_FALSE(backend.messages.empty());
  EXPECT_EQ(backend.messages[0].text, reports::kOverwriteText);
}

TEST_F(ReportForm, AMissingTemplateIsNamedAndTheViewKeepsNothingStale) {
  store.fs.Delete(W + "Debtorstemplate.rtf");
  InForm([&](TRapport1& f) {
    Choose(f, 4);
    f.Button1.UserClick();
    EXPECT_FALSE(f.Afdrukken.Enabled());
  });
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "No report template available.(Debtorstemplate.rtf)");
}

TEST_F(ReportForm, EscapeClosesAndF1OpensTheReportHelp) {
  InForm([&](TRapport1& f) {
    f.UserKeyDown(ui::keys::F1);
    EXPECT_EQ(formkit::LastHelpTag, "<RAP00>");
    f.UserKeyPress(27);
    EXPECT_FALSE(f.InModalLoop());
  });
}

}  // namespace
