// The partners' main road, end to end and headless: log in, open the
// partners from the function tree, add the first customer with its start
// value and the next one, a first supplier in its own file, find them again
// by name text, bank account and number, and page through 250 matches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "masterdata/Ledgerunit.h"
#include "books/partners/partnerrules.h"
#include "masterdata/unitpartners.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/ledgeraccountrec.h"
#include "records/partnerrec.h"
#include "formkit/helpunit.h"
#include "store/adminsettingsload.h"
#include "text/languagefile.h"
#include "text/languagetext.h"
#include "program/languageroutine.h"
#include "store/session.h"
#include "support/program.h"
#include "support/records.h"

namespace {

using masterdata::Tpartners2;
using program::TreeFunction;
using records::PartnerRec;
using support::Bytes;

const std::string D = "/w/data/ACME/";

class PartnersRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 5, 17) + platform::EncodeTime(9, 30, 15, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  void SetUp() override {
    StartWithAcme();
    LogInToAcme();
    ASSERT_TRUE(program::LoginDone);
    std::vector<records::LedgerAccountRec> accounts(4);
    const char* numbers[] = {"1300", "1600", "7000", "8000"};
    const char* functions[] = {"Customer group", "Supplier group", "Purchase account 1", "Sales account 1"};
    for (std::size_t i = 0; i < accounts.size(); ++i) {
      accounts[i].SetAccountNumber(numbers[i]);
      accounts[i].SetCaption(std::string("Account ") + numbers[i]);
      accounts[i].SetAccountFunction(functions[i]);
    }
    store.fs.SetFile(D + "ledger.vlk", Bytes(accounts));
  }

  // Shows the partners from the tree and runs `script` inside.
  void Partners(const std::function<void(Tpartners2&)>& script) {
    ShowFromTree<Tpartners2>(TreeFunction::Partners, "partners2", script);
  }

  static void Add(Tpartners2& f, const std::string& name, const std::string& bank) {
    f.Button4.UserClick();
    f.details.Edit1.UserSetText(name);
    f.TabControl1.UserSelectTab(books::partners::TabDetails2);
    f.details.Edit20.UserSetText(bank);
    f.details.Button12.UserClick();  // the default accounts of the kind
    f.Button5.UserClick();
  }
  static void Search(Tpartners2& f, const std::string& number, const std::string& text, const std::string& bank) {
    f.Edit28.UserSetText(number);
    f.Edit29.UserSetText("");
    f.Edit30.UserSetText(text);
    f.Edit42.UserSetText(bank);
    f.Button1.UserClick();
  }

  std::vector<PartnerRec> File(const std::string& name) const {
    return support::Records<PartnerRec>(store.fs.File(D + name));
  }
};

TEST_F(PartnersRoad, CustomersAndSuppliersAreAddedFoundAndPaged) {
  Partners([&](Tpartners2& f) {
    EXPECT_EQ(f.Caption(), store::ProductTitle + " : " + text::L(852) + " / " + text::L(4720));
    // The search kind starts as the supplier: take the customers.
    f.ComboBox2.UserSelect(0);
    f.Button4.UserClick();
    Add(f, "Alpha Trading", "NL11BANK0000000001");
    ASSERT_EQ(backend.messages.size(), 1u);  // the start value is asked for
    EXPECT_EQ(backend.messages[0].text, books::partners::StartValueMessage("English"));
    f.details.Edit26.UserSetText("1000");
    f.Button5.UserClick();
    EXPECT_EQ(f.details.Edit26.GetText(), "1000");
    Add(f, "Beta Stores", "NL22BANK0000000002");
    EXPECT_EQ(f.details.Edit26.GetText(), "1001");
    EXPECT_EQ(f.details.Edit34.GetText(), "1300{Account 1300}");

    // The first supplier: its own file, its own start value.
    f.ComboBox2.UserSelect(1);
    Add(f, "Gamma Supplies", "NL33BANK0000000003");
    f.details.Edit26.UserSetText("1");
    f.Button5.UserClick();
    EXPECT_EQ(f.details.Edit26.GetText(), "1");
    EXPECT_EQ(f.details.Edit34.GetText(), "1600{Account 1600}");

    // Found again: by a piece of the name in any case, by the bank account,
    // by the number.
    f.ComboBox2.UserSelect(0);
    struct Case {
      const char* number;
      const char* text;
      const char* bank;
      const char* found;
    } cases[] = {{"", "BETA", "", "Beta Stores"},
                 {"", "", "NL11BANK0000000001", "Alpha Trading"},
                 {"", "bank0000000002", "", "Beta Stores"},  // the text also looks in the bank account
                 {"1000", "", "", "Alpha Trading"}};
    for (const Case& c : cases) {
      Search(f, c.number, c.text, c.bank);
      EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabDetails1) << c.found;
      EXPECT_EQ(f.details.Edit1.GetText(), c.found);
    }
    Search(f, "", "a", "");
    EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabPartnerList);
    EXPECT_EQ(f.list.StringGrid1.RowCount(), 3);
    f.ComboBox2.UserSelect(1);
    Search(f, "1", "", "");
    EXPECT_EQ(f.details.Edit1.GetText(), "Gamma Supplies");
  });

  const std::vector<PartnerRec> customers = File("customer.vlk");
  ASSERT_EQ(customers.size(), 2u);
  EXPECT_EQ(customers[0].OurNumber(), 1000);
  EXPECT_EQ(customers[1].OurNumber(), 1001);
  EXPECT_EQ(customers[1].Name(), "Beta Stores");
  EXPECT_EQ(customers[1].PartnerGroup(), "1300");
  EXPECT_EQ(customers[1].SalesCostGroup1(), "8000");
  EXPECT_EQ(customers[1].ChangedBy(), "SYSTEM");
  const std::vector<PartnerRec> suppliers = File("supplier.vlk");
  ASSERT_EQ(suppliers.size(), 1u);
  EXPECT_EQ(suppliers[0].OurNumber(), 1);
  EXPECT_EQ(suppliers[0].RelationshipType(), "VEN");
  EXPECT_EQ(suppliers[0].SalesCostGroup1(), "7000");
}

TEST_F(PartnersRoad, TwoHundredAndFiftyMatchesArePagedAndPagedBack) {
  std::vector<PartnerRec> many(250);
  for (int i = 0; i < 250; ++i) {
    many[i].SetOurNumber(1 + i);
    many[i].SetName("Customer " + std::to_string(1 + i));
    many[i].SetRelationshipType("CUS");
  }
  store.fs.SetFile(D + "customer.vlk", Bytes(many));
  Partners([&](Tpartners2& f) {
    f.ComboBox2.UserSelect(0);
    Search(f, "", "customer", "");
    std::vector<std::pair<int, std::string>> seen;
    auto note = [&] { seen.emplace_back(f.list.StringGrid1.RowCount() - 1, f.list.StringGrid1.Cell(0, 1)); };
    note();
    f.list.BitBtn2.UserClick();
    note();
    f.list.BitBtn2.UserClick();
    note();
    EXPECT_FALSE(f.list.BitBtn2.Visible());
    f.list.BitBtn1.UserClick();
    note();
    f.list.BitBtn1.UserClick();
    note();
    EXPECT_FALSE(f.list.BitBtn1.Visible());
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{
                        {100, "1"}, {100, "101"}, {50, "201"}, {100, "101"}, {100, "1"}}));
  });
}

TEST_F(PartnersRoad, TheLanguageRoutineFillsThePartnerUnit) {
  masterdata::AccountFunctionCodes[3] = "Changed meanwhile";
  text::CurrentLanguage.SetL(4720, "Relatiegegevens");
  text::CurrentLanguage.SetL(5817, "Leverancier");
  text::CurrentLanguage.SetL(5662, "Gegevens 1");
  text::CurrentLanguage.SetL(9892, "Niets gevonden");
  text::CurrentLanguage.SetL(5521, "Omzetrekening 1");
  store::AdminSettings.SetProfitAccountNumber("0900");
  program::ApplyLanguage();
  const Tpartners2& f = *masterdata::partners2;
  EXPECT_EQ(f.Caption(), store::ProductTitle + " : " + text::L(852) + " / Relatiegegevens");
  EXPECT_EQ(f.ComboBox2.Items()[1].text, "Leverancier");
  EXPECT_EQ(f.details.ComboBox1.Items()[1].text, "Leverancier");
  EXPECT_EQ(f.TabControl1.Tabs()[0], "Gegevens 1");
  EXPECT_EQ(f.details.Label35.Caption(), "Omzetrekening 1");
  EXPECT_EQ(masterdata::PartnerNotFoundText, "Niets gevonden");
  EXPECT_EQ(masterdata::PartnerRequiredText, text::L(9770));
  // The settings the form reads (the session's) and its help captions.
  EXPECT_EQ(store::AdminSettings.ProfitAccountNumber(), "0900");
  EXPECT_EQ(masterdata::PartnerHelpCaptions.LanguageName, program::MasterHelpCaptionBlock.LanguageName);
  // The function codes: the stored English codes, 15 empty.
  EXPECT_EQ(masterdata::PartnerFunctionCodes[1], "Customer group");
  EXPECT_EQ(masterdata::PartnerFunctionCodes[3], "Sales account 2");
  EXPECT_EQ(masterdata::PartnerFunctionCodes[14], "Cash discount purchase");
  EXPECT_EQ(masterdata::PartnerFunctionCodes[15], "");
}

}  // namespace
