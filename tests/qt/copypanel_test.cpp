// The administrations form with its copy panel open, and the fixed-assets
// form, as the Qt front end shows them. OMBRELO_RENDER_DIR=folder keeps the
// pictures (the screenshot script uses them).
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <cstdlib>
#include <string>
#include <vector>

#include "masterdata/Administrationsunit.h"
#include "masterdata/fixedassets.h"
#include "qtfixture.h"
#include "records/administrationrec.h"
#include "records/ledgeraccountrec.h"
#include "store/fileset.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace qttest {
namespace {

class CopyPanelRender : public QtFrontTest {
 protected:
  void SetUp() override {
    store.fs.AddFolder("/d/ACME");
    store.fs.AddFolder("/d/NEW");
    store::SetDataRoot("/d/");
    store::AdminFileFolder = "/d/";
    std::vector<records::AdministrationRec> recs(2);
    recs[0].SetShortName("ACME");
    recs[0].SetName("Acme Trading");
    recs[1].SetShortName("NEW");
    recs[1].SetName("Acme Trading 2025");
    store.fs.SetFile("/d/admin.vlk", support::Bytes(recs));
  }
  support::FakeDataStore store;
};

TEST_F(CopyPanelRender, ThePreparedPanelShowsBothChoicesAndTheFirstDate) {
  masterdata::TAdministrations form;
  form.OnCreate();
  form.FormActivate();
  form.StringGrid1.UserSelectCell(0, 2);
  form.Button1.UserClick();
  form.RadioGroup1.SetItemIndex(1);
  form.RadioGroup1Click();
  const QImage img = qtfront::RenderForm(form);
  ASSERT_FALSE(img.isNull());
  qttest::KeepPicture(img, "copy-panel.png");
  auto* from = qobject_cast<QComboBox*>(qtfront::FindWidget(form, "ComboBox1"));
  auto* to = qobject_cast<QComboBox*>(qtfront::FindWidget(form, "ComboBox2"));
  ASSERT_NE(from, nullptr);
  ASSERT_NE(to, nullptr);
  EXPECT_TRUE(from->isVisibleTo(from->window()));
  EXPECT_EQ(from->currentText().toStdString(), "ACME | Acme Trading");
  EXPECT_EQ(to->currentText().toStdString(), "NEW | Acme Trading 2025");
  EXPECT_TRUE(qtfront::FindWidget(form, "DateTimePicker1")->isVisibleTo(from->window()));
  auto* start = qobject_cast<QPushButton*>(qtfront::FindWidget(form, "Button4"));
  ASSERT_NE(start, nullptr);
  EXPECT_TRUE(start->isEnabled());
}

TEST_F(CopyPanelRender, FixedAssetsShowOnlyTheStoredFields) {
  store::SetCurrentAdministrationFolder("ACME");
  records::LedgerAccountRec account;
  account.SetAccountNumber("0400");
  account.SetCaption("Machines");
  store.fs.SetFile("/d/ACME/ledger.vlk", support::Bytes(account));
  masterdata::TFixedassetsform form;
  form.FormActivate();
  const QImage img = qtfront::RenderForm(form);
  ASSERT_FALSE(img.isNull());
  qttest::KeepPicture(img, "fixed-assets.png");
  EXPECT_TRUE(qtfront::FindWidget(form, "Edit2")->isVisibleTo(qtfront::FindWidget(form, "Edit2")->window()));
  EXPECT_FALSE(qtfront::FindWidget(form, "Edit5")->isVisibleTo(qtfront::FindWidget(form, "Edit5")->window()));
}

}  // namespace
}  // namespace qttest
