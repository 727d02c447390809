// The partners form, headless on the in-memory file system: numbering with
// the start value, the kinds, the account edits and their picker, the
// default accounts, the figure fields, the search with its pages, Select,
// a change another copy made meanwhile, help and keys.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "formkit/helpunit.h"
#include "masterdata/Ledgerunit.h"
#include "books/partners/newpartner.h"
#include "books/partners/partnerrules.h"
#include "masterdata/unitpartners.h"
#include "platform/numberformat.h"
#include "records/ledgeraccountrec.h"
#include "records/partnerrec.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/formfixture.h"
#include "support/records.h"

namespace {

using masterdata::Tpartners2;
using records::PartnerRec;
using support::Bytes;

struct Account {
  std::string number, caption, function;
};

class PartnersForm : public ::testing::Test, public support::AdministrationFolder {
 protected:
  static constexpr const char* kGla = "/d/ACME/ledger.vlk";
  static constexpr const char* kCus = "/d/ACME/customer.vlk";
  static constexpr const char* kSup = "/d/ACME/supplier.vlk";

  ui::HeadlessBackend backend;
  platform::ScopedNumberFormat numbers{','};
  Tpartners2 form;

  void SetUp() override {
    text::SystemSettings.AmountDecimals = 2;
    Accounts({{"100", "Cash", ""},
              {"1000", "Bank", ""},
              {"1300", "Debtors", "Customer group"},
              {"1600", "Creditors", "Supplier group"},
              {"8000", "Sales", "Sales account 1"},
              {"7000", "Purchases", "Purchase account 1"},
              {"8100", "Discount given", "Cash discount sales"},
              {"7100", "Discount taken", "Cash discount purchase"}});
  }

  void Accounts(const std::vector<Account>& accounts) {
    std::vector<records::LedgerAccountRec> recs(accounts.size());
    for (std::size_t i = 0; i < accounts.size(); ++i) {
      recs[i].SetAccountNumber(accounts[i].number);
      recs[i].SetCaption(accounts[i].caption);
      recs[i].SetAccountFunction(accounts[i].function);
    }
    store.fs.SetFile(kGla, Bytes(recs));
  }
  std::vector<PartnerRec> Cus() const { return support::Records<PartnerRec>(store.fs.File(kCus)); }
  std::vector<PartnerRec> Sup() const { return support::Records<PartnerRec>(store.fs.File(kSup)); }
  bool OpenedPartnerFile() const {
    for (const std::string& e : store.fs.Log())
      if (e.find("customer.vlk") != std::string::npos || e.find("supplier.vlk") != std::string::npos) return true;
    return false;
  }

  void Show(const std::function<void(Tpartners2&)>& body) { support::ShowAsTreeDoes(backend, form, "GLA", body); }

  // Picks an account for an account edit through the picker: enter the
  // edit, type into the picker, leave it.
  static void Pick(Tpartners2& f, ui::Edit& edit, const std::string& typed) {
    f.TabControl1.UserSelectTab(books::partners::TabDetails2);
    edit.UserFocus();
    f.details.ComboBox6.UserSetText(typed);
    f.details.Edit43.UserFocus();
  }
  static void Fill(Tpartners2& f, const std::string& name) {
    f.TabControl1.UserSelectTab(books::partners::TabDetails1);
    f.details.Edit1.UserSetText(name);
    Pick(f, f.details.Edit34, "1300");
    Pick(f, f.details.Edit35, "8000");
  }
  static void Save(Tpartners2& f) { f.Button5.UserClick(); }
  static void Search(Tpartners2& f, const std::string& text = "") {
    f.Edit30.UserSetText(text);
    f.Button1.UserClick();
  }
};

PartnerRec Stored(std::int32_t number, const std::string& name) {
  PartnerRec p;
  p.SetOurNumber(number);
  p.SetName(name);
  p.SetRelationshipType("CUS");
  p.SetAddress("Street " + std::to_string(number));
  p.SetTown("Town");
  p.SetPartnerGroup("1300");
  p.SetSalesCostGroup1("8000");
  return p;
}

// A partner with every field the form shows filled in.
PartnerRec Full() {
  PartnerRec p;
  p.SetOurNumber(1000);
  p.SetName("Full Partner");
  p.SetRelationshipType("CUS");
  p.SetAddress("Street 1000");
  p.SetTown("Town");
  p.SetCompanyName("Full Holding");
  p.SetSuspendedDate("20240301");
  p.SetTheirNumber("T-77");
  p.SetProperty("Building B");
  p.SetZipCode("1234 AB");
  p.SetRegion("North");
  p.SetCountry("Netherlands");
  p.SetCorrCode("X");
  p.SetCorrAddress("PO Box 1");
  p.SetCorrZipCode("9999 ZZ");
  p.SetCorrTown("Mailtown");
  p.SetCorrState("South");
  p.SetCorrCountry("Belgium");
  p.SetTelephone("010-1234567");
  p.SetFax("010-7654321");
  p.SetEmail("info@full.example");
  p.SetWebsite("www.full.example");
  p.SetContact1Name("Ann");
  p.SetContact1Phone("06-1");
  p.SetContact1Text("Buyer");
  p.SetContact2Text("Accounts");
  p.SetContact2Name("Bob");
  p.SetContact2Phone("06-2");
  p.SetMemo("Pays late");
  p.SetBankAccountNumber("NL00BANK0123456789");
  p.SetBankAccountName("Full Partner Ltd");
  p.SetTaxAccountNumber("NL001B01");
  p.SetBiFeature1("BI-1");
  p.SetBiFeature2("BI-2");
  p.SetFreeItem1("Free 1");
  p.SetFreeItem2("Free 2");
  p.SetCreditLimit(12500.5);
  p.SetPartnerGroup("1000");  // an account whose number another one begins with
  p.SetSalesCostGroup1("999");  // no such account
  p.SetSalesCostGroup2("8000");
  p.SetVatGroup1("100");
  p.SetCashDiscountAccount("8100");
  p.SetDiscountDays(8);
  p.SetDiscountRate(1.125);
  p.SetNetDays(30);
  p.SetPenaltyRate(0.75);
  p.SetChangedBy("OLD");
  p.SetChangedAt("01-01-2020 10:00:00");
  return p;
}

TEST_F(PartnersForm, TheFirstPartnerTakesTheStartValueAndTheNextRunsOn) {
  Show([&](Tpartners2& f) {
    Fill(f, "First");
    Save(f);
    // An empty file: the start-value message, nothing written, the number
    // edit open for the start value.
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text, books::partners::StartValueMessage("English"));
    EXPECT_TRUE(Cus().empty());
    EXPECT_TRUE(f.details.Edit26.Enabled());
    EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabDetails1);

    // Start values that are no integer of at least 1: refused before any
    // file opens.
    for (const char* bad : {"0", "-5", "x", ""}) {
      store.fs.ClearLog();
      const std::string before = store.fs.File(kCus);
      f.details.Edit26.UserSetText(bad);
      Save(f);
      EXPECT_EQ(f.StatusBar1.PanelText(0), books::partners::MsgBadStartValue()) << bad;
      EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
      EXPECT_FALSE(OpenedPartnerFile()) << bad;
      EXPECT_EQ(store.fs.File(kCus), before) << bad;
    }

    f.details.Edit26.UserSetText("1000");
    Save(f);
    ASSERT_EQ(Cus().size(), 1u);
    EXPECT_EQ(Cus()[0].OurNumber(), 1000);
    EXPECT_EQ(Cus()[0].RelationshipType(), "CUS");
    EXPECT_EQ(f.details.Edit26.GetText(), "1000");
    EXPECT_FALSE(f.details.Edit26.Enabled());
    EXPECT_FALSE(f.details.ComboBox1.Enabled());  // the kind of a saved partner stays
    ASSERT_TRUE(f.SavedPartner());
    EXPECT_EQ(f.SavedPartner()->index, 0);

    f.Button4.UserClick();
    Fill(f, "Second");
    Save(f);
    ASSERT_EQ(Cus().size(), 2u);
    EXPECT_EQ(Cus()[1].OurNumber(), 1001);
    EXPECT_EQ(Cus()[1].Name(), "Second");
    EXPECT_EQ(f.SavedPartner()->index, 1);
  });
}

TEST_F(PartnersForm, TheKindIsTheItemIndexEvenWhenBothKindTextsAreEqual) {
  // A language whose customer and supplier texts are the same.
  text::CurrentLanguage.SetL(5817, text::L(5832));
  form.ApplyLanguageTexts();
  store.fs.SetFile(kSup, Bytes(std::vector<PartnerRec>{Stored(1, "Supplier one")}));
  Show([&](Tpartners2& f) {
    f.details.ComboBox1.UserSelect(1);
    Fill(f, "Vendor");
    Save(f);
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
  });
  EXPECT_TRUE(Cus().empty());
  ASSERT_EQ(Sup().size(), 2u);
  EXPECT_EQ(Sup()[1].RelationshipType(), "VEN");
  EXPECT_EQ(Sup()[1].OurNumber(), 2);
}

TEST_F(PartnersForm, SaveRefusesAMissingKindOrRequiredAccountInYellow) {
  Show([&](Tpartners2& f) {
    f.details.Edit1.UserSetText("No accounts");
    store.fs.ClearLog();
    Save(f);
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::PartnerRequiredText);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_EQ(f.details.Edit34.BackColor(), ui::colors::Yellow);
    EXPECT_EQ(f.details.Edit35.BackColor(), ui::colors::Yellow);
    EXPECT_FALSE(OpenedPartnerFile());

    Pick(f, f.details.Edit34, "1300");
    Pick(f, f.details.Edit35, "8000");
    f.TabControl1.UserSelectTab(books::partners::TabDetails1);
    f.details.ComboBox1.UserSetText("Nobody");
    f.details.Edit1.UserFocus();  // leaving the kind: no item, so no kind
    Save(f);
    EXPECT_EQ(f.details.ComboBox1.BackColor(), ui::colors::Yellow);
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::PartnerRequiredText);
    EXPECT_FALSE(OpenedPartnerFile());
  });
}

TEST_F(PartnersForm, AShownPartnerIsSavedBackFieldForField) {
  const PartnerRec full = Full();
  store.fs.SetFile(kCus, Bytes(std::vector<PartnerRec>{full}));
  Show([&](Tpartners2& f) {
    Search(f, "full");
    // One match: the partner itself on the details tab.
    EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabDetails1);
    EXPECT_EQ(f.details.Edit1.GetText(), "Full Partner");
    EXPECT_EQ(f.details.Edit26.GetText(), "1000");
    EXPECT_TRUE(f.details.CheckBox4.Checked());
    // The suspended date as stored, not today.
    EXPECT_EQ(text::DateToYmd(f.details.DateTimePicker1.Date()), "20240301");
    EXPECT_FALSE(f.details.CheckBox5.Checked());  // no verification date
    EXPECT_EQ(f.details.Edit32.GetText(), "12.500,50");
    EXPECT_EQ(f.details.Edit38.GetText(), "1,125");  // not cut to the amount decimals
    EXPECT_EQ(f.details.Edit40.GetText(), "0,75");
    // Each account as the item of exactly its number; an unknown one as it
    // stands, in yellow.
    EXPECT_EQ(f.details.Edit34.GetText(), "1000{Bank}");
    EXPECT_EQ(f.details.Edit35.GetText(), "999");
    EXPECT_EQ(f.details.Edit35.BackColor(), ui::colors::Yellow);
    EXPECT_EQ(f.details.Edit31.GetText(), "100{Cash}");
    EXPECT_EQ(f.details.Edit58.GetText(), "");
    // Entering and leaving the account edits changes none of them.
    f.TabControl1.UserSelectTab(books::partners::TabDetails2);
    for (ui::Edit* e : f.AccountEdits())
      if (!e->GetText().empty()) e->UserFocus();
    f.details.Edit43.UserFocus();
    EXPECT_EQ(f.details.Edit34.GetText(), "1000{Bank}");
    EXPECT_EQ(f.details.Edit35.GetText(), "999");
    EXPECT_EQ(f.finance.Edit15.GetText(), "Full Partner");
    Save(f);
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
  });
  ASSERT_EQ(Cus().size(), 1u);
  PartnerRec expected = full;
  expected.SetChangedBy(text::Cut(text::SystemSettings.CurrentUser, 10));
  expected.SetChangedAt(Cus()[0].ChangedAt());
  EXPECT_EQ(Bytes(Cus()[0]), Bytes(expected));
  EXPECT_EQ(Cus()[0].TaxVerificationDate(), "");
  EXPECT_EQ(Cus()[0].CompanyName(), "Full Holding");
}

TEST_F(PartnersForm, ANewPartnerNeverTakesTheCompanyNameOfThePartnerShownBefore) {
  store.fs.SetFile(kCus, Bytes(std::vector<PartnerRec>{Full()}));
  Show([&](Tpartners2& f) {
    Search(f, "full");
    ASSERT_EQ(f.details.Edit1.GetText(), "Full Partner");
    f.Button4.UserClick();
    EXPECT_FALSE(f.Loaded());
    Fill(f, "Newcomer");
    Save(f);
  });
  ASSERT_EQ(Cus().size(), 2u);
  EXPECT_EQ(Cus()[1].Name(), "Newcomer");
  EXPECT_EQ(Cus()[1].CompanyName(), "");
  EXPECT_EQ(Cus()[1].OurNumber(), 1001);
}

TEST_F(PartnersForm, LeavingThePickerTakesAnAccountByNumberOrItemElseTheFirstOrNone) {
  Show([&](Tpartners2& f) {
    struct Case {
      ui::Edit* edit;
      const char* typed;
      const char* shown;
    } cases[] = {
        {&f.details.Edit34, "1300", "1300{Debtors}"},
        {&f.details.Edit34, "1300{DEBTORS}", "1300{Debtors}"},
        {&f.details.Edit34, "13", "100{Cash}"},  // no account: the first, for a required edit
        {&f.details.Edit35, "", "100{Cash}"},
        {&f.details.Edit36, "13", ""},           // and none for the others
        {&f.details.Edit36, "1000", "1000{Bank}"},
        {&f.details.Edit49, "8100{discount given}", "8100{Discount given}"},
    };
    for (const Case& c : cases) {
      Pick(f, *c.edit, c.typed);
      EXPECT_EQ(c.edit->GetText(), c.shown) << c.edit->Name() << " " << c.typed;
      EXPECT_EQ(f.PickerTarget(), -1);
      EXPECT_FALSE(f.details.ComboBox6.Visible());
    }
    // Entering an empty edit offers the last account.
    f.TabControl1.UserSelectTab(books::partners::TabDetails2);
    f.details.Edit58.UserFocus();
    EXPECT_TRUE(f.details.ComboBox6.Visible());
    EXPECT_EQ(f.PickerTarget(), 3);
    EXPECT_EQ(f.details.ComboBox6.GetText(), "7100{Discount taken}");
    EXPECT_EQ(f.details.Label50.Caption(), f.details.Label58.Caption());
  });
}

TEST_F(PartnersForm, AnEmptyGlFileLeavesTheAccountsEmptyAndSaveRefuses) {
  Accounts({});
  Show([&](Tpartners2& f) {
    f.details.Edit1.UserSetText("No ledger");
    Pick(f, f.details.Edit34, "1300");
    Pick(f, f.details.Edit35, "");
    EXPECT_EQ(f.details.Edit34.GetText(), "");
    EXPECT_EQ(f.details.Edit35.GetText(), "");
    Save(f);
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::PartnerRequiredText);
  });
  EXPECT_TRUE(Cus().empty());
}

TEST_F(PartnersForm, DefaultAccountsFollowTheKind) {
  struct Case {
    int kind;
    const char* group;
    const char* first;
    const char* cashDiscount;
    const char* groupLabelEnd;
  } cases[] = {
      {0, "1300{Debtors}", "8000{Sales}", "8100{Discount given}", "group account"},
      {1, "1600{Creditors}", "7000{Purchases}", "7100{Discount taken}", "group account"},
  };
  for (const Case& c : cases) {
    Show([&](Tpartners2& f) {
      f.details.ComboBox1.UserSelect(c.kind);
      f.TabControl1.UserSelectTab(books::partners::TabDetails2);
      f.details.Button12.UserClick();
      EXPECT_EQ(f.details.Edit34.GetText(), c.group) << c.kind;
      EXPECT_EQ(f.details.Edit35.GetText(), c.first) << c.kind;
      EXPECT_EQ(f.details.Edit49.GetText(), c.cashDiscount) << c.kind;
      EXPECT_EQ(f.details.Edit36.GetText(), "") << c.kind;  // no account has that function
      EXPECT_EQ(f.details.Label34.Caption(), f.details.ComboBox1.Items()[c.kind].text + " " + text::L(5414));
      EXPECT_EQ(f.details.Label35.Caption(), text::L(c.kind == 0 ? 5521 : 5452));
    });
  }
}

TEST_F(PartnersForm, FiguresAreFilteredWhileTypedAndCheckedBeforeAnyFileOpens) {
  store.fs.SetFile(kCus, Bytes(std::vector<PartnerRec>{Stored(1000, "Kept")}));
  Show([&](Tpartners2& f) {
    f.TabControl1.UserSelectTab(books::partners::TabDetails2);
    struct Typed {
      ui::Edit* edit;
      const char* typed;
      const char* kept;
    } typed[] = {
        {&f.details.Edit32, "12a,345", "12,34"},     // the amount filter, two decimals
        {&f.details.Edit38, "1,12345", "1,12345"},   // a rate keeps its decimals
        {&f.details.Edit40, "2.5", "2,5"},
        {&f.details.Edit37, "1-4x", "14"},           // days: digits only
    };
    for (const Typed& t : typed) {
      t.edit->UserSetText(t.typed);
      EXPECT_EQ(t.edit->GetText(), t.kept) << t.edit->Name();
    }

    struct Bad {
      ui::Edit* edit;
      const char* text;
      ui::Label* label;
    } bad[] = {{&f.details.Edit32, "12-3", &f.details.Label65},
               {&f.details.Edit38, ",", &f.details.Label38},
               {&f.details.Edit40, "-", &f.details.Label40}};
    Fill(f, "Figures");
    for (const Bad& b : bad) {
      f.TabControl1.UserSelectTab(books::partners::TabDetails2);
      for (ui::Edit* e : {&f.details.Edit32, &f.details.Edit38, &f.details.Edit40}) e->UserSetText("");
      b.edit->UserSetText(b.text);
      store.fs.ClearLog();
      Save(f);
      EXPECT_EQ(f.StatusBar1.PanelText(0), books::partners::MsgNotANumber(b.label->Caption())) << b.text;
      EXPECT_EQ(b.edit->BackColor(), ui::colors::Yellow);
      EXPECT_FALSE(OpenedPartnerFile()) << b.text;
    }
    ASSERT_EQ(Cus().size(), 1u);

    // Empty day and rate fields count 0.
    for (ui::Edit* e : {&f.details.Edit32, &f.details.Edit37, &f.details.Edit38, &f.details.Edit39, &f.details.Edit40})
      e->UserSetText("");
    f.details.Edit38.UserSetText("1,125");
    Save(f);
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
  });
  ASSERT_EQ(Cus().size(), 2u);
  EXPECT_EQ(Cus()[1].DiscountDays(), 0);
  EXPECT_EQ(Cus()[1].NetDays(), 0);
  EXPECT_DOUBLE_EQ(Cus()[1].DiscountRate(), 1.125);
  EXPECT_EQ(Cus()[1].TaxVerificationDate(), "");
}

TEST_F(PartnersForm, SearchPagesBy100AndBack) {
  std::vector<PartnerRec> many;
  for (int i = 0; i < 250; ++i) many.push_back(Stored(1000 + i, "Many " + std::to_string(i)));
  store.fs.SetFile(kCus, Bytes(many));
  Show([&](Tpartners2& f) {
    struct Step {
      std::function<void()> act;
      int rows;
      std::int32_t firstNumber;
      bool previous, next;
    } steps[] = {
        {[&] { Search(f, "many"); }, 100, 1000, false, true},
        {[&] { f.list.BitBtn2.UserClick(); }, 100, 1100, true, true},
        {[&] { f.list.BitBtn2.UserClick(); }, 50, 1200, true, false},
        {[&] { f.list.BitBtn1.UserClick(); }, 100, 1100, true, true},  // Previous from the last page
        {[&] { f.list.BitBtn1.UserClick(); }, 100, 1000, false, true},
    };
    int n = 0;
    for (const Step& s : steps) {
      s.act();
      EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabPartnerList) << n;
      EXPECT_EQ(f.list.StringGrid1.RowCount(), s.rows + 1) << n;
      EXPECT_EQ(f.list.StringGrid1.Cell(Tpartners2::ColNumber, 1), std::to_string(s.firstNumber)) << n;
      EXPECT_EQ(f.list.BitBtn1.Visible(), s.previous) << n;
      EXPECT_EQ(f.list.BitBtn2.Visible(), s.next) << n;
      EXPECT_TRUE(f.Selecteerrow.Enabled()) << n;
      ++n;
    }
    // The criteria the pages use are those of the search, whatever the
    // edits hold meanwhile.
    f.Edit30.UserSetText("nothing like it");
    f.list.BitBtn2.UserClick();
    EXPECT_EQ(f.list.StringGrid1.Cell(Tpartners2::ColNumber, 1), "1100");
    EXPECT_EQ(f.Edit30.GetText(), "many");

    // Select a row: that partner, read by its number.
    f.list.StringGrid1.UserSelectCell(0, 3);
    f.list.Button3.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabDetails1);
    EXPECT_EQ(f.details.Edit26.GetText(), "1102");
    EXPECT_EQ(masterdata::CurrentPartner.Name(), "Many 102");
  });
}

TEST_F(PartnersForm, ExactlyAPageOfMatchesAndASingleHitOnTheNextPage) {
  std::vector<PartnerRec> recs;
  for (int i = 0; i < 101; ++i) recs.push_back(Stored(1 + i, i < 100 ? "Hundred" : "Other"));
  store.fs.SetFile(kCus, Bytes(recs));
  Show([&](Tpartners2& f) {
    Search(f, "hundred");
    EXPECT_EQ(f.list.StringGrid1.RowCount(), 101);
    EXPECT_FALSE(f.list.BitBtn2.Visible());  // exactly 100 matches: no next page
    // All 101: the one on the second page opens on the details tab.
    Search(f, "");
    EXPECT_TRUE(f.list.BitBtn2.Visible());
    f.list.BitBtn2.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabDetails1);
    EXPECT_EQ(f.details.Edit1.GetText(), "Other");
    EXPECT_EQ(f.details.Edit26.GetText(), "101");
    Search(f, "nobody");
    EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabPartnerList);
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::PartnerNotFoundText);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
    EXPECT_FALSE(f.Selecteerrow.Enabled());
    // The supplier file is empty.
    f.ComboBox2.UserSelect(1);
    Search(f, "");
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::PartnerFileEmptyText);
  });
}

TEST_F(PartnersForm, AChangeAnotherCopyMadeMeanwhileIsNotOverwritten) {
  store.fs.SetFile(kCus, Bytes(std::vector<PartnerRec>{Stored(1000, "Shared")}));
  Show([&](Tpartners2& f) {
    Search(f, "shared");
    ASSERT_EQ(f.details.Edit26.GetText(), "1000");
    // Another copy renames the partner.
    PartnerRec other = Stored(1000, "Renamed elsewhere");
    store.fs.SetFile(kCus, Bytes(std::vector<PartnerRec>{other}));
    f.details.Edit27.UserSetText("T-1");
    Save(f);
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::MsgChangedInAnotherCopy());
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_EQ(store.fs.File(kCus), Bytes(std::vector<PartnerRec>{other}));
  });
}

TEST_F(PartnersForm, HelpByTabEnterSearchesAndEscapeCloses) {
  masterdata::PartnerHelpCaptions.LanguageName = "Deutsch";
  store.fs.SetFile(kCus, Bytes(std::vector<PartnerRec>{Stored(1000, "Alpha"), Stored(1001, "Beta")}));
  Show([&](Tpartners2& f) {
    const char* tags[] = {"<SUP00>", "<SUP02>", "<SUP03>", "<SUP04>", "<SUP05>"};
    for (int tab = 0; tab < books::partners::PartnerTabCount; ++tab) {
      f.TabControl1.UserSelectTab(tab);
      formkit::RequestedHelpTag = "unset";
      f.UserKeyDown(ui::keys::F1);
      EXPECT_EQ(formkit::RequestedHelpTag, tags[tab]);
      EXPECT_TRUE(f.Showing());
      EXPECT_TRUE(f.ViewDetails11.Checked() == (tab == 0));
    }
    f.Tutorial1.UserClick();
    EXPECT_EQ(formkit::RequestedHelpTag, "<TUT00>");
    f.Homepage1.UserClick();
    EXPECT_EQ(backend.urlsOpened.size(), 1u);

    // The tab buttons: next skips the graphics tab.
    f.TabControl1.UserSelectTab(books::partners::TabFinance);
    f.Button8.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabPartnerList);
    f.Button7.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::partners::TabGraphics);

    f.Edit30.UserSetText("beta");
    f.Edit30.UserFocus();
    f.UserKeyDown(ui::keys::Return);
    EXPECT_EQ(f.details.Edit1.GetText(), "Beta");
    f.UserKeyDown(ui::keys::Escape);
    EXPECT_FALSE(f.InModalLoop());
  });
}

TEST_F(PartnersForm, AnotherFormGetsThePartnerTheUserSavedAndNoneAfterACancel) {
  store.fs.SetFile(kSup, Bytes(std::vector<PartnerRec>{Stored(1, "Old supplier")}));
  struct Case {
    books::partners::NewPartnerRequest request;
    bool save;
    const char* name;  // as the form starts
    const char* bank;
  } cases[] = {
      {{books::partners::PartnerKind::Supplier, true, "Statement Name", "NL44BANK0000000044"},
       true,
       "Statement Name",
       "NL44BANK0000000044"},
      // From an invoice: nothing taken from the payment's fields.
      {{books::partners::PartnerKind::Supplier, false, "Statement Name", "NL44BANK0000000044"}, true, "", ""},
      {{books::partners::PartnerKind::Supplier, true, "Cancelled", "NL55"}, false, "Cancelled", "NL55"},
  };
  int saved = 1;
  for (const Case& c : cases) {
    bool shown = false;
    backend.scripts["partners2"] = [&](ui::Form&) {
      shown = true;
      EXPECT_FALSE(store::FileSetOpen);  // the activation ended the set the entry opened
      EXPECT_FALSE(form.ComboBox2.Enabled());
      EXPECT_FALSE(form.details.ComboBox1.Enabled());
      EXPECT_EQ(form.details.ComboBox1.ItemIndex(), 1);
      EXPECT_EQ(form.details.Edit1.GetText(), c.name);
      EXPECT_EQ(form.details.Edit41.GetText(), c.name);
      EXPECT_EQ(form.details.Edit20.GetText(), c.bank);
      if (!c.save) return;
      Fill(form, "Made " + std::to_string(saved));
      Save(form);
    };
    const std::string before = store.fs.File(kSup);
    const auto partner = books::partners::AskNewPartner(c.request);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(form.ComboBox2.Enabled());
    EXPECT_EQ(masterdata::PartnerCallerMode, "");
    if (c.save) {
      ++saved;
      ASSERT_TRUE(partner) << c.name;
      EXPECT_EQ(partner->record.OurNumber(), saved);
      EXPECT_EQ(partner->record.BankAccountNumber(), c.bank);
      EXPECT_EQ(Bytes(Sup().back()), Bytes(partner->record));
    } else {
      EXPECT_FALSE(partner);
      EXPECT_EQ(store.fs.File(kSup), before);
    }
  }
  backend.scripts.erase("partners2");
}

}  // namespace
