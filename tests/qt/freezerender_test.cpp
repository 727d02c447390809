// The report form as the desktop program draws it right after a freeze: the
// start screen has shown it again, it says " freeze succesful " and offers
// the next open period. With OMBRELO_RENDER_DIR set the picture is saved
// there (scripts/screenshots.sh).
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "qt/qtbackend.h"
#include "records/adminsettingsrec.h"
#include "records/invoicerec.h"
#include "reports/Rapport1unit.h"
#include "support/program.h"
#include "support/records.h"
#include "support/reportbook.h"

namespace {

const std::string D = "/w/data/ACME/";

class FreezeRender : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 3, 4) + platform::EncodeTime(9, 30, 0, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  void SetUp() override {
    StartWithAcme();
    support::WriteReportBook(store, D, "/w/");
    store.fs.SetFile(D + "adminset.vlk", support::Bytes(support::ReportBookClosingSettings()));
    auto invoices = support::Records<records::InvoiceRec>(store.fs.File(D + "invsum.vlk"));
    for (auto& i : invoices) {
      i.SetVoucherDate(i.InvoiceDate());
      i.SetVoucherCreated(true);
    }
    store.fs.SetFile(D + "invsum.vlk", support::Bytes(invoices));
    LogInToAcme();
  }
};

TEST_F(FreezeRender, TheReportFormAfterAFreeze) {
  int showing = 0;
  backend.scripts["Rapport1"] = [&](ui::Form& form) {
    auto& f = static_cast<reports::TRapport1&>(form);
    if (showing++ > 0) return;
    f.ComboBox4.UserFocus();
    f.ComboBox4.UserSelect(1);
    f.Button1.UserClick();
    f.ToolButton5.UserClick();
  };
  ASSERT_TRUE(DoubleClick(program::TreeFunction::Reports));
  backend.scripts.erase("Rapport1");
  ASSERT_EQ(showing, 2);
  reports::TRapport1& f = *reports::Rapport1;
  EXPECT_EQ(f.StatusBar1.PanelText(0), reports::kFreezeSuccessText);
  EXPECT_EQ(f.ComboBox1.GetText(), "2024-03/12");
  {
    qtfront::QtBackend qt;
    const QImage shot = qtfront::RenderForm(f);
    ASSERT_FALSE(shot.isNull());
    if (const char* dir = std::getenv("OMBRELO_RENDER_DIR"); dir && *dir)
      shot.save(QString::fromStdString(std::string(dir) + "/reports-after-freeze.png"));
  }
  ui::SetBackend(&backend);
}

}  // namespace
