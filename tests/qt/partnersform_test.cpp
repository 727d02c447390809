// The partners form through the Qt front end: the details tab of a partner
// and the partner list render with their widgets, and the GL-account
// picker appears for the account edit entered. OMBRELO_RENDER_DIR=folder
// keeps the pictures of the details, the finance tab, the chart and the
// list (scripts/screenshots.sh puts them in the docs).
#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QHash>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "masterdata/unitpartners.h"
#include "qt/contrast.h"
#include "qt/formwindow.h"
#include "qtfixture.h"
#include "records/ledgeraccountrec.h"
#include "records/invoicerec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "store/session.h"
#include "support/adminfolder.h"
#include "support/records.h"

namespace qttest {
namespace {

class PartnersFormQt : public QtFrontTest, public support::AdministrationFolder {
 protected:
  void SetUp() override {
    std::vector<records::LedgerAccountRec> accounts(4);
    const char* numbers[] = {"1300", "4000", "1510", "8000"};
    const char* captions[] = {"Debtors", "Sales", "Sales tax high", "Cash discount"};
    for (std::size_t i = 0; i < accounts.size(); ++i) {
      accounts[i].SetAccountNumber(numbers[i]);
      accounts[i].SetCaption(captions[i]);
    }
    store.fs.SetFile("/d/ACME/ledger.vlk", support::Bytes(accounts));
    std::vector<records::PartnerRec> partners(130);
    for (int i = 0; i < 130; ++i) {
      records::PartnerRec& p = partners[static_cast<std::size_t>(i)];
      p.SetOurNumber(1000 + i);
      p.SetName(i == 0 ? "Alpha Trading Ltd" : "Customer " + std::to_string(1000 + i));
      p.SetRelationshipType("CUS");
      p.SetAddress(std::to_string(10 + i) + " Harbour Street");
      p.SetZipCode("1011 AB");
      p.SetTown(i % 2 ? "Rotterdam" : "Amsterdam");
      p.SetCountry("Netherlands");
      p.SetTelephone("020-555 01" + std::to_string(i % 10));
      p.SetEmail("accounts@alpha.example");
      p.SetBankAccountNumber("NL91BANK04171" + std::to_string(10000 + i));
      p.SetPartnerGroup("1300");
      p.SetSalesCostGroup1("4000");
      p.SetVatGroup1("1510");
      p.SetNetDays(30);
      p.SetCreditLimit(5000);
      p.SetChangedBy("ANNE");
      p.SetChangedAt("16-05-2024 14:02:11");
    }
    store.fs.SetFile("/d/ACME/customer.vlk", support::Bytes(partners));
    // Alpha's invoices over two book years, and one payment not booked.
    std::vector<records::InvoiceRec> invoices;
    for (int year : {2023, 2024})
      for (int month = 1; month <= 12; ++month) {
        if (year == 2024 && month > 5) break;
        records::InvoiceRec inv;
        inv.SetPartnerType("CUS");
        inv.SetPartnerNumber(1000);
        const std::string date = std::to_string(year) + (month < 10 ? "0" : "") + std::to_string(month) + "15";
        inv.SetVoucherDate(date);
        inv.SetInvoiceDate(date);
        inv.SetInvoiceNumber(std::to_string(year) + "-" + std::to_string(month));
        inv.SetInvoiceAmount(1000 + 150 * month + (year == 2024 ? 400 : 0));
        inv.SetPaidAmount(year == 2024 && month >= 4 ? 0 : 1000 + 150 * month + (year == 2024 ? 400 : 0));
        invoices.push_back(inv);
      }
    store.fs.SetFile("/d/ACME/invsum.vlk", support::Bytes(invoices));
    records::PaymentRec pay;
    pay.SetPartnerType("CUS");
    pay.SetPartnerNumber(1000);
    pay.SetValueDate("20240520");
    pay.SetPaymentNumber(17);
    pay.SetAmount(500);
    store.fs.SetFile("/d/ACME/payment.vlk", support::Bytes(std::vector<records::PaymentRec>{pay}));
    store::AdminSettings.SetPeriodCount(12);
    for (int k = 1; k <= 12; ++k)
      store::AdminSettings.SetPeriodStart(k, std::string("2024") + (k < 10 ? "0" : "") + std::to_string(k) + "01");
    store::AdminSettings.SetPeriodStart(13, "20250101");
    store::AdminSettings.SetBookYearEnd("20241231");
    store::AdminSettings.SetCurrentAnnualBalance("2024");
    store::AdminSettings.SetApprovedAnnualBalance("2023");
    store::AdminSettings.SetLastClosedPeriod("04/12");
    store::CurrentAdministrationName = "Acme Trading";
    form.ApplyLanguageTexts();
    form.FormActivate();
    form.ComboBox2.SetItemIndex(0);
  }

  masterdata::Tpartners2 form;
};

TEST_F(PartnersFormQt, TheDetailsOfAPartnerAndThePartnerListRender) {
  form.Edit30.SetText("alpha");
  form.Button1.UserClick();
  ASSERT_EQ(form.TabControl1.TabIndex(), books::partners::TabDetails1);
  QImage details = qtfront::RenderForm(form);
  ASSERT_FALSE(details.isNull());
  qttest::KeepPicture(details, "partners-details.png");
  auto* name = qobject_cast<QLineEdit*>(qtfront::FindWidget(form, "Edit1"));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text(), "Alpha Trading Ltd");
  EXPECT_TRUE(name->isVisibleTo(qtfront::FindWidget(form, "partners2")));

  form.TabControl1.UserSelectTab(books::partners::TabDetails2);
  auto* group = qobject_cast<QLineEdit*>(qtfront::FindWidget(form, "Edit34"));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->text(), "1300{Debtors}");
  form.details.Edit34.UserFocus();
  auto* picker = qobject_cast<QComboBox*>(qtfront::FindWidget(form, "ComboBox6"));
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(picker->count(), 5);
  EXPECT_EQ(picker->currentText(), "1300{Debtors}");
  form.details.Edit43.UserFocus();

  // The finance tab and the chart of the partner.
  form.TabControl1.UserSelectTab(books::partners::TabFinance);
  QApplication::processEvents();
  auto* invoices = qobject_cast<QTableWidget*>(qtfront::FindWidget(form, "StringGrid2"));
  ASSERT_NE(invoices, nullptr);
  EXPECT_EQ(invoices->rowCount(), 17);
  qttest::KeepPicture(qtfront::RenderForm(form), "partners-finance.png");
  form.TabControl1.UserSelectTab(books::partners::TabGraphics);
  form.chart.ToolButton18.UserClick();  // the previous year beside the current one
  ASSERT_NE(qtfront::FindWidget(form, "Chart1"), nullptr);
  qttest::KeepPicture(qtfront::RenderForm(form), "partners-chart.png");

  form.Edit30.SetText("");
  form.Button1.UserClick();
  ASSERT_EQ(form.TabControl1.TabIndex(), books::partners::TabPartnerList);
  QApplication::processEvents();
  auto* list = qobject_cast<QTableWidget*>(qtfront::FindWidget(form, "StringGrid1"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->rowCount(), 100);  // the heading row is the header
  EXPECT_EQ(list->item(0, 1)->text(), "Alpha Trading Ltd");
  qttest::KeepPicture(qtfront::RenderForm(form), "partners-list.png");
}


// A click on an item of the open Kind list takes it, also after a Save
// refused the empty kind (the field yellow); the search kind's list alike.
TEST_F(PartnersFormQt, AClickOnAnItemOfTheOpenKindListTakesIt) {
  QWidget* window = ShowWindow(form);
  QApplication::setActiveWindow(window);
  if (!QTest::qWaitForWindowActive(window)) GTEST_SKIP() << "the platform gives no keyboard focus";
  form.ToolButton1.UserClick();  // New
  form.details.ComboBox1.SetText("");
  form.Savepartner.Execute();
  ASSERT_EQ(form.details.ComboBox1.BackColor(), ui::colors::Yellow);
  for (const char* name : {"ComboBox1", "ComboBox2"}) {
    SCOPED_TRACE(name);
    auto* box = qobject_cast<QComboBox*>(qtfront::FindWidget(form, name));
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 8, box->height() / 2));  // the arrow
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(list->isVisible());
    QTest::qWait(QApplication::doubleClickInterval() + 50);  // not the release of the click that opened it
    const QPoint item = list->visualRect(list->model()->index(1, 0)).center();
    QTest::mouseMove(list->viewport(), item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
    EXPECT_FALSE(list->isVisible());
    const ui::ComboBox& model = *static_cast<ui::ComboBox*>(form.Find(name));
    EXPECT_EQ(model.ItemIndex(), 1);
    EXPECT_EQ(box->currentText().toStdString(), model.Items()[1].text);
  }
}

// While it is shown the window keeps the size the user gave it: the first
// Save of an empty supplier file (the start-value message), a long status
// message and a change to a taller tab page do not grow it. The taller page
// scrolls inside its tab; Save and Exit stay in the window.
TEST_F(PartnersFormQt, TheWindowKeepsTheSizeTheUserGaveIt) {
  BoxAnswerer ok;
  QWidget* window = ShowWindow(form);
  QApplication::processEvents();
  const QSize given(window->width() - 60, 660);
  window->resize(given);
  QApplication::processEvents();
  ASSERT_EQ(window->size(), given);

  form.ComboBox2.SetItemIndex(1);  // suppliers: an empty file
  form.Button4Click();
  form.details.Edit1.SetText("Bolt Supplies");
  form.details.Edit34.SetText("1300{Debtors}");
  form.details.Edit35.SetText("4000{Sales}");
  QTest::mouseClick(qtfront::FindWidget(form, "Button5"), Qt::LeftButton);
  ASSERT_EQ(ok.texts.size(), 1u);
  EXPECT_NE(ok.texts[0].find("startvalue"), std::string::npos) << ok.texts[0];
  QApplication::processEvents();
  EXPECT_EQ(window->size(), given);
  form.StatusBar1.Show(std::string(300, 'x'), ui::colors::Red);
  QApplication::processEvents();
  EXPECT_EQ(window->size(), given);

  QTest::mouseClick(qtfront::FindWidget(form, "Button8"), Qt::LeftButton);  // next tab: details 2
  ASSERT_EQ(form.TabControl1.TabIndex(), books::partners::TabDetails2);
  QApplication::processEvents();
  EXPECT_EQ(window->size(), given);
  auto* page = qtfront::FindWidget(form, "TabControl1")->findChild<QScrollArea*>();
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->verticalScrollBar()->isVisible());
  for (const char* button : {"Button5", "Button6"}) {
    QWidget* b = qtfront::FindWidget(form, button);
    const QRect inWindow(b->mapTo(window, QPoint(0, 0)), b->size());
    EXPECT_TRUE(window->rect().contains(inWindow)) << button;
  }
}

// The contrast of the darkest or lightest pixel in the middle of `w` to the
// colour most of its pixels have (its background).
double TextContrast(QWidget* w) {
  const QImage img = w->grab().toImage();
  QHash<QRgb, int> counts;
  const QRect inner = img.rect().adjusted(4, 4, -4, -4);
  for (int y = inner.top(); y <= inner.bottom(); ++y)
    for (int x = inner.left(); x <= inner.right(); ++x) ++counts[img.pixel(x, y)];
  QRgb back = 0;
  int most = 0;
  for (auto it = counts.begin(); it != counts.end(); ++it)
    if (it.value() > most) {
      most = it.value();
      back = it.key();
    }
  double best = 1;
  for (auto it = counts.begin(); it != counts.end(); ++it)
    best = std::max(best, qtfront::ContrastRatio(QColor(it.key()), QColor(back)));
  return best;
}

// Locked fields can be read: the number and the kind of a shown partner
// (disabled, sky blue) and the read-only changed-by field.
TEST_F(PartnersFormQt, DisabledAndReadOnlyFieldsAreReadable) {
  form.Edit30.SetText("alpha");
  form.Button1.UserClick();
  ASSERT_FALSE(form.details.Edit26.Enabled());
  ASSERT_FALSE(form.details.ComboBox1.Enabled());
  ASSERT_TRUE(form.details.Edit53.ReadOnly());
  ShowWindow(form);
  QApplication::processEvents();
  struct Case {
    const char* field;
    QString text;
  };
  const Case cases[] = {{"Edit26", "1000"}, {"ComboBox1", "Customer"}, {"Edit53", "ANNE"}};
  for (const Case& c : cases) {
    QWidget* w = qtfront::FindWidget(form, c.field);
    ASSERT_NE(w, nullptr) << c.field;
    auto* edit = qobject_cast<QLineEdit*>(w);
    if (auto* combo = qobject_cast<QComboBox*>(w)) edit = combo->lineEdit();
    ASSERT_NE(edit, nullptr) << c.field;
    EXPECT_EQ(edit->text(), c.text) << c.field;
    EXPECT_GE(TextContrast(w), qtfront::kReadableContrast) << c.field;
  }
}

// Text colours: a colour that reads on its background stays; one that does
// not moves towards black on a light background, towards white on a dark
// one, no further than it must.
TEST(ReadableText, KeepsOrMovesTheTextColourJustFarEnough) {
  struct Case {
    QColor text, back;
    bool kept;
  };
  const QColor skyBlue(166, 202, 240), cream(255, 251, 240), navy(0, 0, 128), grey(190, 190, 190);
  const Case cases[] = {
      {Qt::black, cream, true}, {Qt::black, skyBlue, true}, {Qt::white, navy, true},
      {grey, skyBlue, false},   {grey, cream, false},       {QColor(60, 60, 60), navy, false},
  };
  for (const Case& c : cases) {
    const QColor r = qtfront::ReadableOn(c.text, c.back);
    SCOPED_TRACE(c.text.name().toStdString() + " on " + c.back.name().toStdString());
    EXPECT_GE(qtfront::ContrastRatio(r, c.back), qtfront::kReadableContrast);
    EXPECT_EQ(r == c.text, c.kept);
    if (!c.kept) {
      // Grey stays grey, and is not pushed to the extreme when less will do.
      EXPECT_EQ(r.red(), r.green());
      EXPECT_NE(r, QColor(Qt::black));
      EXPECT_NE(r, QColor(Qt::white));
    }
  }
}

}  // namespace
}  // namespace qttest
