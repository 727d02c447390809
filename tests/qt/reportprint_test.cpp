// The six reports of a small book printed through the desktop program's
// printer (QPrinter, print to file: PDF), their text read back with
// pdftotext and compared with figures worked out by hand
// (tests/support/reportbook.h). With OMBRELO_PRINT_DIR set the PDFs are
// kept there (scripts/printcheck.sh turns them into PNG pages); without
// pdftotext the comparison is skipped.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "qt/qtbackend.h"
#include "qt/richtext.h"
#include "qtfixture.h"
#include "reports/Rapport1unit.h"
#include "support/program.h"
#include "support/reportbook.h"
#include "ui/printing.h"

namespace {

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

class ReportPrint : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 3, 1) + platform::EncodeTime(9, 30, 0, 0)};
  platform::ScopedNumberFormat numbers{'.'};
  qtfront::QtPrintService printer;

  void SetUp() override {
    StartWithAcme();
    support::WriteReportBook(store, "/w/data/ACME/", "/w/");
    LogInToAcme();
    ui::SetPrintService(&printer);
  }
  void TearDown() override { ui::SetPrintService(nullptr); }
};

TEST_F(ReportPrint, TheSixReportsPrintToPdfWithTheHandWorkedFigures) {
  QTemporaryDir temp;
  const char* keep = std::getenv("OMBRELO_PRINT_DIR");
  const std::string dir = keep && *keep ? std::string(keep) : temp.path().toStdString();
  std::filesystem::create_directories(dir);
  printer.outputFile = dir + "/report%1.pdf";
  backend.scripts["Rapport1"] = [&](ui::Form& form) {
    auto& f = static_cast<reports::TRapport1&>(form);
    for (int report = 0; report < 6; ++report) {
      f.ComboBox4.UserFocus();
      f.ComboBox4.UserSelect(report);
      f.Button1.UserClick();
      if (report < 2) f.ToolButton2.UserClick();  // the grid's reports are laid out by the preview
      f.Button2.UserClick();
    }
  };
  ASSERT_TRUE(DoubleClick(program::TreeFunction::Reports));
  backend.scripts.erase("Rapport1");
  EXPECT_TRUE(backend.messages.empty()) << backend.messages.front().text;
  for (int n = 1; n <= 6; ++n) ASSERT_TRUE(std::filesystem::exists(dir + "/report" + std::to_string(n) + ".pdf")) << n;

  if (Shell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext is not installed";
  struct Case {
    int report;
    int pages;
    std::vector<std::string> texts;
  };
  // February 2024, January frozen (tests/support/reportbook.h).
  const std::vector<Case> cases = {
      {1, 1, {"Trial balance 2024-02/12", "Acme Trading", "1,200.00", "1,000.00", "2,300.00", "1,400.00", "Page 1"}},
      {2, 2, {"Balance sheet 2024-02/12", "Income statement", "1,400.00", "500.00", "Page 2"}},
      {3, 8, {"Ledger account 1000 Bank", "Office rent", "1,200.00", "1,300.00", "Page 8"}},
      {4, 1, {"Journal", "Payment F1 Alpha Retail", "Office rent", "400.00"}},
      {5, 1, {"Debtors", "Alpha Retail", "F1", "46", "200.00"}},
      {6, 1, {"Creditors", "Gamma Supplies", "P1", "41", "200.00"}},
  };
  for (const Case& c : cases) {
    const std::string pdf = dir + "/report" + std::to_string(c.report) + ".pdf";
    const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
    int pages = 0;
    for (char ch : text) pages += ch == '\f';
    EXPECT_EQ(pages, c.pages) << c.report;
    for (const std::string& t : c.texts) EXPECT_NE(text.find(t), std::string::npos) << c.report << ": " << t << "\n" << text;
    EXPECT_EQ(text.find("new page"), std::string::npos) << "markers are not printed";
  }
  const std::string debtors = Shell("pdftotext -layout '" + dir + "/report5.pdf' -");
  EXPECT_EQ(debtors.find("Beta Shop"), std::string::npos) << "paid in full";
}

// The form with the balance sheet's grid, and with a ledger card in the
// rich-text view, as the desktop program draws them; with
// OMBRELO_RENDER_DIR set the pictures are saved there (scripts/
// screenshots.sh).
TEST_F(ReportPrint, TheFormShowsTheGridAndTheReport) {
  backend.scripts["Rapport1"] = [&](ui::Form& form) {
    auto& f = static_cast<reports::TRapport1&>(form);
    f.ComboBox4.UserFocus();
    f.ComboBox4.UserSelect(1);
    f.Button1.UserClick();
  };
  ASSERT_TRUE(DoubleClick(program::TreeFunction::Reports));
  backend.scripts.erase("Rapport1");
  reports::TRapport1& f = *reports::Rapport1;
  {
    qtfront::QtBackend qt;
    const QImage grid = qtfront::RenderForm(f);
    ASSERT_FALSE(grid.isNull());
    f.ComboBox4.SetItemIndex(2);
    f.ComboBox4Select();
    f.genereerrapportExecute();
    ASSERT_TRUE(f.RichEdit1.Visible());
    const QImage card = qtfront::RenderForm(f);
    ASSERT_FALSE(card.isNull());
    qttest::KeepPicture(grid, "reports-grid.png");
    qttest::KeepPicture(card, "reports-card.png");
  }
  ui::SetBackend(&backend);
}

}  // namespace
