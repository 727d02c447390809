// The journal form's partner lookup in the whole program. A search from the
// invoice tab with one hit fills the tab; with several it shows the partner
// list, and the partner chosen there lands on the invoice tab (not on the
// payment tab that searched before). The "new partner" button beside the
// partner fields of the payment tab and of the invoice tab shows the
// partners form (the program joins the two forms), which starts with what
// the tab offers; the partner saved there lands on the tab that asked, and
// a form closed without saving changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "journal/boekingstuk.h"
#include "masterdata/unitpartners.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "records/ledgeraccountrec.h"
#include "records/partnerrec.h"
#include "store/fileset.h"
#include "support/program.h"
#include "support/records.h"

namespace {

using journal::Tboeking;
using masterdata::Tpartners2;
using program::TreeFunction;
using support::Bytes;

const std::string D = "/w/data/ACME/";

records::PartnerRec Partner(int number, const std::string& name, const char* type) {
  records::PartnerRec p;
  p.SetOurNumber(number);
  p.SetName(name);
  p.SetRelationshipType(type);
  return p;
}

TEST(PartnerRequestFor, TheKindAndWhatAPaymentOffers) {
  struct Case {
    int kind;
    bool fromPayment;
    books::partners::PartnerKind want;
    const char* name;
  } cases[] = {{0, true, books::partners::PartnerKind::Customer, "Delta"},
               {1, true, books::partners::PartnerKind::Supplier, "Delta"},
               {1, false, books::partners::PartnerKind::Supplier, ""},
               {7, false, books::partners::PartnerKind::Customer, ""}};
  for (const Case& c : cases) {
    const books::partners::NewPartnerRequest out =
        journal::NewPartnerRequestFor(c.kind, c.fromPayment, "Delta", "NL44BANK");
    EXPECT_EQ(out.kind, c.want) << c.kind;
    EXPECT_EQ(out.fromPayment, c.fromPayment);
    EXPECT_EQ(out.name, c.name);
    EXPECT_EQ(out.bankAccount, c.fromPayment ? "NL44BANK" : "");
  }
}

class NewPartnerRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 5, 17) + platform::EncodeTime(9, 30, 15, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  void SetUp() override {
    StartWithAcme();
    LogInToAcme();
    records::AdminSettingsRec s = support::MonthlyBookYear(2024);
    s.SetCurrentPeriod("05/12");
    s.SetSplitJournals("false");
    s.SetDayBookName("Memorial");
    std::vector<records::LedgerAccountRec> accounts;
    const std::pair<const char*, const char*> functions[] = {{"1000", ""},
                                                             {"1300", "Customer group"},
                                                             {"1600", "Supplier group"},
                                                             {"7000", "Purchase account 1"},
                                                             {"8000", "Sales account 1"}};
    for (const auto& [number, function] : functions) {
      records::LedgerAccountRec r;
      r.SetAccountNumber(number);
      r.SetCaption(std::string("Account ") + number);
      r.SetAccountFunction(function);
      r.SetIsCashOrBank(std::string(number) == "1000");
      accounts.push_back(r);
    }
    store.fs.SetFile(D + "ledger.vlk", Bytes(accounts));
    store.fs.SetFile(D + "customer.vlk", Bytes(std::vector<records::PartnerRec>{Partner(1, "Jansen", "CUS"),
                                                                                 Partner(2, "Pietersen", "CUS")}));
    store.fs.SetFile(D + "supplier.vlk", Bytes(std::vector<records::PartnerRec>{Partner(1, "Gamma", "VEN")}));
    store.fs.SetFile(D + "invsum.vlk", "");
    store.fs.SetFile(D + "payment.vlk", "");
    LogInAgainWith(s);
    ASSERT_TRUE(backend.messages.empty()) << backend.messages.back().text;
  }

  void Journal(const std::function<void(Tboeking&)>& script) {
    ShowFromTree<Tboeking>(TreeFunction::JournalVouchers, "boeking", script);
  }
  // What the partners form does when the journal form shows it: `script`.
  void OnPartners(const std::function<void(Tpartners2&)>& script) {
    backend.scripts["partners2"] = [script](ui::Form& f) { script(static_cast<Tpartners2&>(f)); };
  }
  // The form comes up ready for a new partner: a name where none was
  // offered, the kind's default accounts, Save.
  static void SaveNew(Tpartners2& f, const std::string& name) {
    if (!name.empty()) f.details.Edit1.UserSetText(name);
    f.TabControl1.UserSelectTab(books::partners::TabDetails2);
    f.details.Button12.UserClick();
    f.Button5.UserClick();
    EXPECT_FALSE(f.details.Edit26.GetText().empty()) << f.StatusBar1.PanelText(0);
  }
  std::vector<records::PartnerRec> File(const std::string& name) const {
    return support::Records<records::PartnerRec>(store.fs.File(D + name));
  }
};

TEST_F(NewPartnerRoad, AnInvoiceTabSearchFillsTheTabOrGoesThroughThePartnerList) {
  Journal([&](Tboeking& f) {
    // A supplier's payment found first: its search must not decide where a
    // later invoice-tab choice goes.
    f.SpeedButton7.UserClick();
    f.Payment.ComboBox6.UserSelect(1);
    f.Payment.Edit8.UserFocus();
    f.Payment.Edit8.UserSetText("1");
    f.Payment.SpeedButton11.UserClick();
    ASSERT_EQ(f.Payment.Edit10.GetText(), "Gamma") << f.StatusBar1.PanelText(0);

    f.ComboBox3.UserSelect(0);  // customer invoices
    f.SpeedButton5.UserClick();
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    auto search = [&](const std::string& text) {
      f.Invoice.Edit4.UserFocus();
      f.Invoice.Edit4.UserSetText(text);
      f.Invoice.SpeedButton4.UserClick();
    };

    // One hit: straight onto the invoice tab.
    search("pietersen");
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    EXPECT_EQ(f.Invoice.Edit20.GetText(), "2") << f.StatusBar1.PanelText(0);
    EXPECT_EQ(f.Invoice.Edit27.GetText(), "Pietersen");

    // Several: the partner list, one row each; the one chosen lands on the
    // invoice tab, the payment keeps its supplier.
    search("sen");
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabPartnerList);
    ASSERT_EQ(f.PartnerList.StringGrid1.RowCount(), 3);
    std::vector<std::string> names = {f.PartnerList.StringGrid1.Cell(1, 1), f.PartnerList.StringGrid1.Cell(1, 2)};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Jansen", "Pietersen"}));
    const int jansen = f.PartnerList.StringGrid1.Cell(1, 1) == "Jansen" ? 1 : 2;
    f.PartnerList.StringGrid1.UserSelectCell(0, jansen);
    f.PartnerList.Button11.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    EXPECT_EQ(f.Invoice.Edit20.GetText(), "1") << f.StatusBar1.PanelText(0);
    EXPECT_EQ(f.Invoice.Edit27.GetText(), "Jansen");
    EXPECT_EQ(f.Payment.Edit10.GetText(), "Gamma");
    EXPECT_EQ(f.Payment.Edit9.GetText(), "1");

    // Nothing found: the status says so and the tab keeps its partner.
    search("nobody");
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
    EXPECT_EQ(f.Invoice.Edit20.GetText(), "1");
  });
  EXPECT_TRUE(backend.messages.empty()) << backend.messages.back().text;
}

TEST_F(NewPartnerRoad, APartnerMadeFromThePaymentTabLandsOnIt) {
  Journal([&](Tboeking& f) {
    f.SpeedButton7.UserClick();
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabPayment);
    f.Payment.ComboBox6.UserSelect(1);  // a supplier's payment
    f.Payment.Edit113.UserFocus();
    f.Payment.Edit113.UserSetText("Delta Parts");
    f.Payment.Edit37.UserFocus();
    f.Payment.Edit37.UserSetText("NL44BANK0004");

    // Closed without saving: nothing changes.
    OnPartners([](Tpartners2& p) { EXPECT_EQ(p.details.Edit1.GetText(), "Delta Parts"); });
    f.Payment.SpeedButton10.UserClick();
    EXPECT_EQ(f.Payment.Edit9.GetText(), "");
    EXPECT_EQ(File("supplier.vlk").size(), 1u);

    // Saved: the form started with the payment's name and bank account and
    // the kind fixed; the new supplier is the payment's partner.
    OnPartners([](Tpartners2& p) {
      EXPECT_FALSE(store::FileSetOpen);
      EXPECT_EQ(p.ComboBox2.ItemIndex(), 1);
      EXPECT_FALSE(p.ComboBox2.Enabled());
      EXPECT_EQ(p.details.Edit20.GetText(), "NL44BANK0004");
      SaveNew(p, "");
    });
    f.Payment.SpeedButton10.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabPayment);
    EXPECT_EQ(f.Payment.Edit9.GetText(), "2") << f.StatusBar1.PanelText(0);
    EXPECT_EQ(f.Payment.Edit10.GetText(), "Delta Parts");
    EXPECT_EQ(f.Payment.Edit40.GetText(), "NL44BANK0004");
  });
  backend.scripts.erase("partners2");
  const auto suppliers = File("supplier.vlk");
  ASSERT_EQ(suppliers.size(), 2u);
  EXPECT_EQ(suppliers[1].Name(), "Delta Parts");
  EXPECT_EQ(suppliers[1].BankAccountNumber(), "NL44BANK0004");
  EXPECT_TRUE(masterdata::partners2->ComboBox2.Enabled()) << "the kind is free again for the partners node";
}

TEST_F(NewPartnerRoad, APartnerMadeFromTheInvoiceTabLandsOnIt) {
  Journal([&](Tboeking& f) {
    f.ComboBox3.UserSelect(0);  // customer invoices
    f.SpeedButton5.UserClick();
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    OnPartners([](Tpartners2& p) {
      EXPECT_EQ(p.ComboBox2.ItemIndex(), 0);
      EXPECT_EQ(p.details.Edit20.GetText(), "") << "an invoice offers no bank account";
      SaveNew(p, "Epsilon Foods");
    });
    f.Invoice.SpeedButton1.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    EXPECT_EQ(f.Invoice.Edit20.GetText(), "3") << f.StatusBar1.PanelText(0);
    EXPECT_EQ(f.Invoice.Edit27.GetText(), "Epsilon Foods");
  });
  backend.scripts.erase("partners2");
  const auto customers = File("customer.vlk");
  ASSERT_EQ(customers.size(), 3u);
  EXPECT_EQ(customers[2].OurNumber(), 3);
}

}  // namespace
