// The journal form driven headless on the in-memory file system: the set-up,
// the entry screen, the account pickers, Save, Delete and the walks through
// the voucher store, the locks of loaded vouchers, templates, the journal
// choice, the questions before typed lines go, keys and help.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "formkit/helpunit.h"
#include "journal/boekingstuk.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/importprofilerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/vouchertemplaterec.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/fakefs.h"
#include "support/formfixture.h"
#include "support/journalform.h"
#include "support/records.h"
#include "ui/headless.h"

namespace {

using books::journal::EntryMode;
using journal::Tboeking;
using support::Bytes;

struct Account {
  Account(std::string n, std::string c, bool cashOrBank = false, std::string j = "")
      : number(std::move(n)), caption(std::move(c)), cash(cashOrBank), journal(std::move(j)) {}
  std::string number, caption;
  bool cash = false;
  std::string journal;
};

class JournalForm : public ::testing::Test, public support::AdministrationFolder {
 protected:
  static constexpr const char* kGla = "/d/ACME/ledger.vlk";
  static constexpr const char* kJvo = "/d/ACME/book.vlk";
  static constexpr const char* kJvt = "/d/ACME/booktemp.vlk";
  static constexpr const char* kIfs = "/w/ifs.vlk";

  ui::HeadlessBackend backend;
  platform::ScopedNumberFormat numbers{'.'};
  Tboeking form;

  void SetUp() override {
    support::ReadyJournalForm(store);
    auto& s = journal::JournalAdminSettings;
    s.SetSalesBookName("Sales");
    s.SetPurchaseBookName("Purchases");
    s.SetDayBookName("Memorial");
    Accounts({{"1000", "Cash", true, "Cash book"}, {"130", "Debtors"}, {"1300", "Creditors"}, {"4000", "Sales"},
              {"8000", "Rent {old}"}});
    store.fs.SetFile(kJvo, "");
  }

  void Accounts(const std::vector<Account>& accounts) {
    std::vector<records::LedgerAccountRec> recs;
    for (const Account& a : accounts) {
      records::LedgerAccountRec r;
      r.SetAccountNumber(a.number);
      r.SetCaption(a.caption);
      r.SetIsCashOrBank(a.cash);
      r.SetJournalName(a.journal);
      recs.push_back(r);
    }
    store.fs.SetFile(kGla, Bytes(recs));
  }

  void Show(const std::function<void(Tboeking&)>& body) {
    support::ShowAsTreeDoes(backend, form, "IFS;GLA;JVT", body);
  }

  static std::string Amount(double v) { return text::FormatAmount(v, 2, 'Y'); }

  static void Header(Tboeking& f, int y, int m, int d, const std::string& number) {
    f.DateTimePicker2.UserSetDate(platform::EncodeDate(y, m, d));
    f.Edit3.UserSetText(number);
  }
  // A two-line voucher: debit `account`, credit 4000.
  static void Voucher(Tboeking& f, int y, int m, int d, const std::string& number, const std::string& amount,
                      const std::string& account = "1000") {
    Header(f, y, m, d, number);
    support::TypeVoucherLine(f, 0, account, amount, "");
    support::TypeVoucherLine(f, 1, "4000", "", amount);
  }
  std::vector<records::JournalVoucherRec> FileVouchers() const {
    return support::Records<records::JournalVoucherRec>(store.fs.File(kJvo));
  }
  std::vector<std::string> FileKeys() const {
    std::vector<std::string> keys;
    for (const auto& r : FileVouchers()) keys.push_back(r.VoucherDate() + r.BookNumber());
    return keys;
  }
  static records::JournalVoucherRec Line(const std::string& date, const std::string& number,
                                         const std::string& account, double debit, double credit,
                                         const std::string& journalName = "") {
    records::JournalVoucherRec r;
    r.SetVoucherDate(date);
    r.SetBookNumber(number);
    r.SetJournalName(journalName);
    r.SetAccountNumber(account);
    r.SetDebitAmount(debit);
    r.SetCreditAmount(credit);
    r.SetPartnerNumber(-1);
    return r;
  }
};

// ---- plain functions

TEST(JournalFormRules, HelpTagsFollowTheTab) {
  const std::vector<std::pair<int, std::string>> cases = {
      {0, "<JVO00>"}, {1, "<JVT00>"}, {2, "<INV00>"}, {3, "<INV01>"}, {4, "<PAR00>"}, {5, "<PAY00>"},
      {6, "<PAY01>"}, {7, "<PAY02>"}, {8, "<PAY03>"}, {9, "<PAY00>"}, {12, "<PAY00>"}, {13, "<JVO00>"},
      {-1, "<JVO00>"}};
  for (const auto& [tab, tag] : cases) EXPECT_EQ(journal::JournalHelpTag(tab), tag) << tab;
}

TEST(JournalFormRules, TheJournalListTakesTheItemTypedInAnyCaseElseItemOne) {
  const std::vector<std::string> items = {"Sales", "Purchases", "Memorial", "Cash book"};
  EXPECT_EQ(journal::JournalChoiceIndex(items, "sALES"), 0);
  EXPECT_EQ(journal::JournalChoiceIndex(items, "cash book"), 3);
  EXPECT_EQ(journal::JournalChoiceIndex(items, "Nowhere"), 1);
  EXPECT_EQ(journal::JournalChoiceIndex({"Only"}, "Nowhere"), -1);
  EXPECT_EQ(journal::ListChoiceIndex({"", "Rent", "rent"}, "RENT", 0), 2);
  EXPECT_EQ(journal::ListChoiceIndex({"", "Rent"}, "Lease", 0), 0);
}

TEST(JournalFormRules, AJournalDecidesTheInvoiceKindTheCashAccountAndTheTemplates) {
  records::AdminSettingsRec s;
  s.SetSalesBookName("Sales");
  s.SetPurchaseBookName("Purchases");
  s.SetDayBookName("Memorial");
  s.SetJournalName(3, "Projects");  // optional journal 1, no flags
  s.SetJournalName(4, "Clients");   // optional journal 2, customer flag
  s.SetJournalFlag(2, "true");
  using books::journal::JournalKind;
  using books::journal::JournalRef;
  using journal::JournalOffer;
  struct Case {
    JournalRef journal;
    JournalOffer offer;
  };
  const std::vector<Case> cases = {
      {{JournalKind::Sales, 0}, {0, std::nullopt, false, true}},
      {{JournalKind::Purchase, 0}, {1, std::nullopt, false, true}},
      {{JournalKind::Day, 0}, {0, std::nullopt, true, false}},
      {{JournalKind::Free, 0}, {0, std::nullopt, true, false}},  // no flags: as the day book
      {{JournalKind::Free, 1}, {0, std::nullopt, false, true}},  // customer flag
      {{JournalKind::Cash, 1}, {std::nullopt, 1, false, true}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(journal::OfferOfJournal(s, c.journal, true), c.offer)
        << static_cast<int>(c.journal.kind) << " " << c.journal.index;
  // Without split journals the templates are always offered.
  EXPECT_TRUE(journal::OfferOfJournal(s, {JournalKind::Sales, 0}, false).templates);
}

// ---- set-up

TEST(JournalFormRules, TheVoucherOfADocumentIsSoughtByItsKeyFields) {
  using books::journal::DocumentVoucher;
  using books::journal::InvoiceKey;
  using books::journal::PaymentKey;
  struct Case {
    bool invoice;
    int kind;
    std::string partner, number;
    DocumentVoucher sought;
  };
  const std::string d = "20240517";
  const std::vector<Case> cases = {
      {true, 0, "1", "23", {d, "CUS1/23", InvoiceKey{d, "CUS", 1, "23"}}},
      {true, 0, "12", "3", {d, "CUS12/3", InvoiceKey{d, "CUS", 12, "3"}}},
      {true, 1, " 25 ", "A-7  ", {d, "VEN25/A-7", InvoiceKey{d, "VEN", 25, "A-7"}}},
      {true, -1, "25", "7", {d, "VEN25/7", InvoiceKey{d, "VEN", 25, "7"}}},
      {true, 0, "", "7", {d, "CUS/7", std::monostate{}}},
      {true, 0, "x1", "7", {d, "CUSx1/7", std::monostate{}}},
      {true, 0, "1", "", {d, "CUS1/", std::monostate{}}},
      {false, 0, "1", "23", {d, "CUS1/23", PaymentKey{d, "CUS", 1, 23}}},
      {false, 0, "12", "3", {d, "CUS12/3", PaymentKey{d, "CUS", 12, 3}}},
      {false, 1, "", "4", {d, "VEN0/4", PaymentKey{d, "VEN", 0, 4}}},
      {false, 2, "99", "5", {d, "REC0/5", PaymentKey{d, "REC", 0, 5}}},
      {false, 3, "99", "6", {d, "PAY0/6", PaymentKey{d, "PAY", 0, 6}}},
      {false, -1, "", "6", {d, "PAY0/6", PaymentKey{d, "PAY", 0, 6}}},
      {false, 0, "1", "", {d, "CUS1/", std::monostate{}}},
      {false, 0, "1", "2b", {d, "CUS1/2b", std::monostate{}}},
  };
  for (const Case& c : cases) {
    const DocumentVoucher got = c.invoice ? books::journal::InvoiceVoucherSought(d, c.kind, c.partner, c.number)
                                          : books::journal::PaymentVoucherSought(d, c.kind, c.partner, c.number);
    EXPECT_EQ(got, c.sought) << (c.invoice ? "invoice " : "payment ") << c.kind << " '" << c.partner << "' '"
                             << c.number << "'";
  }
}

TEST_F(JournalForm, EveryShowingRebuildsTheListsFromTheFiles) {
  records::ImportProfileRec p;
  p.SetProfileNumber(1);
  p.SetProfileName("Bank");
  // A profile file of three records, not ten, reads as it is.
  store.fs.SetFile(kIfs, Bytes(std::vector<records::ImportProfileRec>(3, p)));
  for (int showing = 0; showing < 2; ++showing)
    Show([&](Tboeking& f) {
      ASSERT_EQ(f.ComboBox1.Count(), 6);
      EXPECT_EQ(f.ComboBox1.Items()[0].text, "");
      EXPECT_EQ(f.ComboBox1.Items()[1].text, "1000{Cash}");
      EXPECT_EQ(f.ComboBox1.Items()[5].text, "8000{Rent {old}}");
      std::vector<std::string> byName;
      for (const auto& item : f.ComboBox13.Items()) byName.push_back(item.text);
      EXPECT_EQ(byName, (std::vector<std::string>{"Cash{1000}", "Creditors{1300}", "Debtors{130}",
                                                  "Rent {old}{8000}", "Sales{4000}"}));
      EXPECT_EQ(f.ComboBox4.Count(), 1);
      EXPECT_EQ(f.BankImport.ComboBox9.Count(), 3);
      EXPECT_EQ(f.BankImport.ComboBox9.GetText(), "1 : Bank");
      EXPECT_EQ(f.ComboBox12.Count(), 4);  // three books and the cash journal
      EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabVoucher);
      EXPECT_TRUE(f.Panel6.Visible());
      EXPECT_FALSE(f.Templates.Panel5.Visible());
      EXPECT_FALSE(f.Lines[0].CostCentre.Visible());
      EXPECT_FALSE(f.ComboBox1.Visible());
      EXPECT_EQ(f.Mode(), EntryMode::Add);
      EXPECT_FALSE(f.Opslaan.Enabled());
      // Not split: every journal is shown.
      EXPECT_TRUE(f.CheckBox12.Checked());
      EXPECT_FALSE(f.ComboBox12.Visible());
    });
}

TEST_F(JournalForm, TheSalesTaxTableIsRebuiltFromTheLedgerAtEveryShowing) {
  auto ledger = [&](const std::vector<std::pair<std::string, std::string>>& accounts) {
    std::vector<records::LedgerAccountRec> recs;
    for (const auto& [number, code] : accounts) {
      records::LedgerAccountRec r;
      r.SetAccountNumber(number);
      r.SetCaption("Account " + number);
      r.SetSalesTaxCode(code);
      recs.push_back(r);
    }
    store.fs.SetFile(kGla, Bytes(recs));
  };
  auto& params = store::SystemParams;
  params.SetTaxRateName(0, "HIGH");
  params.SetTaxRate(0, 21);
  params.SetTaxRateName(1, "LOW");
  params.SetTaxRate(1, 9);
  std::vector<std::pair<std::string, std::string>> accounts{{"1000", ""}, {"4000", "HIGH"}, {"4100", "LOW"},
                                                            {"4200", "NONE"}};
  // More than thirty accounts with a code: every one is in the table and
  // the status stays quiet.
  for (int i = 0; i < 31; ++i) accounts.push_back({std::to_string(5000 + i), "LOW"});
  ledger(accounts);
  Show([&](Tboeking& f) {
    const auto& table = journal::SalesTaxAccountTable;
    ASSERT_EQ(table.size(), 34u);
    EXPECT_EQ(table[0], (books::journal::SalesTaxAccount{"4000", "HIGH", 21}));
    EXPECT_EQ(table[1], (books::journal::SalesTaxAccount{"4100", "LOW", 9}));
    EXPECT_EQ(table[2], (books::journal::SalesTaxAccount{"4200", "NONE", 0}));
    EXPECT_EQ(table[33], (books::journal::SalesTaxAccount{"5030", "LOW", 9}));
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    EXPECT_NE(f.StatusBar1.BackColor(), ui::colors::Yellow);
  });
  // The same files give the same table again, not a longer one.
  const std::vector<books::journal::SalesTaxAccount> first = journal::SalesTaxAccountTable;
  Show([&](Tboeking&) { EXPECT_EQ(journal::SalesTaxAccountTable, first); });
  // The next showing starts from scratch: the new rate, the account gone.
  params.SetTaxRate(0, 19);
  ledger({{"4000", "HIGH"}});
  Show([&](Tboeking&) {
    EXPECT_EQ(journal::SalesTaxAccountTable, (std::vector<books::journal::SalesTaxAccount>{{"4000", "HIGH", 19}}));
  });
}

TEST_F(JournalForm, AnEmptyProfileFileGetsTheTenProfilesOnce) {
  Show([&](Tboeking& f) {
    ASSERT_EQ(f.BankImport.ComboBox9.Count(), 10);
    EXPECT_EQ(f.BankImport.ComboBox9.GetText(), "1 : ");
    EXPECT_EQ(f.BankImport.ComboBox9.Items()[9].text, "10 : ");
  });
  const std::string file = store.fs.File(kIfs);
  ASSERT_EQ(file.size(), 10u * records::ImportProfileRec::kSize);
  // Profile 7: its number, no name, date column -1, the first date layout,
  // every other byte zero.
  std::string golden(records::ImportProfileRec::kSize, '\0');
  golden[0] = 7;
  golden.replace(20, 4, "\xFF\xFF\xFF\xFF");
  golden.replace(24, 9, std::string("\x08yyyymmdd"));
  EXPECT_EQ(file.substr(6 * records::ImportProfileRec::kSize, records::ImportProfileRec::kSize), golden);
  EXPECT_EQ(journal::ImportProfiles.size(), 10u);

  // The second showing finds ten profiles and writes nothing.
  store.fs.ClearLog();
  Show([&](Tboeking& f) { EXPECT_EQ(f.BankImport.ComboBox9.Count(), 10); });
  EXPECT_TRUE(store.fs.LogOf("rename ").empty());
  EXPECT_TRUE(store.fs.LogOf("create ").empty());
  EXPECT_EQ(store.fs.File(kIfs), file);
}

TEST_F(JournalForm, AProfileFileOfMoreThanTenRecordsIsReadAsItStands) {
  std::vector<records::ImportProfileRec> recs(12);
  for (int n = 1; n <= 12; ++n) {
    recs[static_cast<std::size_t>(n - 1)].SetProfileNumber(n);
    recs[static_cast<std::size_t>(n - 1)].SetProfileName("P" + std::to_string(n));
  }
  const std::string file = Bytes(recs);
  store.fs.SetFile(kIfs, file);
  store.fs.ClearLog();
  Show([&](Tboeking& f) {
    ASSERT_EQ(f.BankImport.ComboBox9.Count(), 12);
    EXPECT_EQ(f.BankImport.ComboBox9.Items()[11].text, "12 : P12");
    EXPECT_EQ(journal::ImportProfiles.size(), 12u);
    EXPECT_TRUE(backend.messages.empty());
  });
  EXPECT_EQ(store.fs.File(kIfs), file);
  EXPECT_TRUE(store.fs.LogOf("create ").empty());
}

TEST_F(JournalForm, WithoutACashAccountTheFormStillOpens) {
  Accounts({{"4000", "Sales"}, {"8000", "Rent"}});
  Show([&](Tboeking& f) {
    EXPECT_EQ(f.ComboBox4.Count(), 0);
    EXPECT_FALSE(f.SpeedButton7.Enabled());
    EXPECT_FALSE(f.SpeedButton8.Enabled());
    for (const auto& item : f.payjournal) EXPECT_FALSE(item.Visible());
  });
}

TEST_F(JournalForm, WithoutAnyAccountTheListsHoldOnlyTheEmptyNumberItem) {
  Accounts({});
  Show([&](Tboeking& f) {
    ASSERT_EQ(f.ComboBox1.Count(), 1);
    EXPECT_EQ(f.ComboBox1.Items()[0].text, "");
    EXPECT_EQ(f.ComboBox13.Count(), 0);
    EXPECT_EQ(f.ComboBox4.Count(), 0);
    EXPECT_EQ(f.ComboBox12.Count(), 3);  // the three books
  });
}

TEST_F(JournalForm, TheTenthCashAccountIsListedButHasNoMenuItem) {
  std::vector<Account> accounts;
  for (int i = 1; i <= 10; ++i) accounts.push_back({std::to_string(1000 + i), "Bank", true, "Bank " + std::to_string(i)});
  accounts.push_back({"4000", "Sales"});
  Accounts(accounts);
  Show([&](Tboeking& f) {
    EXPECT_EQ(f.ComboBox4.Count(), 10);
    ASSERT_EQ(f.ComboBox12.Count(), 13);
    EXPECT_EQ(f.ComboBox12.Items()[12].text, "Bank 10");
    for (const auto& item : f.payjournal) EXPECT_TRUE(item.Visible()) << item.Name();
    EXPECT_EQ(f.payjournal[8].Caption(), "Bank 9");
  });
}

// Split journals show the journal controls and hide the invoice kind and
// cash account lists with their buttons; without them the groups swap. The
// invoice tab's partner kind label (Label23) shows in both.
TEST_F(JournalForm, SplitJournalsSwapTheShownGroups) {
  for (const bool split : {true, false}) {
    journal::JournalAdminSettings.SetSplitJournals(split ? "true" : "false");
    Show([&](Tboeking& f) {
      for (const ui::Component* c : std::initializer_list<const ui::Component*>{
               &f.ComboBox12, &f.CheckBox12, &f.Label71, &f.Label72, &f.Journal1, &f.SpeedButton14, &f.SpeedButton15,
               &f.CheckBox13})
        EXPECT_EQ(c->Visible(), split) << c->Name() << (split ? " split" : " not split");
      for (const ui::Component* c : std::initializer_list<const ui::Component*>{
               &f.ComboBox3, &f.ComboBox4, &f.Label20, &f.SpeedButton5, &f.SpeedButton6, &f.SpeedButton7,
               &f.SpeedButton8})
        EXPECT_EQ(c->Visible(), !split) << c->Name() << (split ? " split" : " not split");
      EXPECT_EQ(f.SpeedButton9.hints.width, split ? 31 : 25);
      EXPECT_EQ(f.SpeedButton9.hints.height, split ? 32 : 25);
      // Hidden, the "All Journals" boxes are ticked.
      if (!split) {
        EXPECT_TRUE(f.CheckBox12.Checked());
        EXPECT_TRUE(f.CheckBox13.Checked());
      }
    });
  }
}

// The journal menu stands for its journals, whatever their names: an "&"
// shows as itself and a cash journal named like the sales book stays the
// cash journal. An account without a journal name offers no journal.
TEST_F(JournalForm, JournalMenuItemsChooseTheirOwnJournal) {
  auto& s = journal::JournalAdminSettings;
  s.SetSplitJournals("true");
  s.SetSalesBookName("Sales & Co");
  Accounts({{"1000", "Cash", true, ""}, {"1100", "Till", true, "Sales & Co"}, {"1200", "Bank", true, "Cash & Bank"},
            {"4000", "Sales"}});
  Show([&](Tboeking& f) {
    std::vector<std::string> journals;
    for (const auto& item : f.ComboBox12.Items()) journals.push_back(item.text);
    EXPECT_EQ(journals, (std::vector<std::string>{"Sales & Co", "Purchases", "Memorial", "Sales & Co", "Cash & Bank"}));
    EXPECT_EQ(f.Salesbook1.Caption(), "Sales && Co");
    EXPECT_EQ(f.payjournal[0].Caption(), "Sales && Co");
    EXPECT_EQ(f.payjournal[1].Caption(), "Cash && Bank");
    EXPECT_FALSE(f.payjournal[2].Visible());

    struct Case {
      ui::MenuItem* item;
      int journal;        // the journal list's item
      int cashAccount;    // the cash account list's item
      bool templates;
    };
    const std::vector<Case> cases = {
        {&f.payjournal[1], 4, 2, false},
        {&f.daybook1, 2, 2, true},
        {&f.payjournal[0], 3, 1, false},  // the cash journal, not the sales book
        {&f.Purchasebook1, 1, 1, false},
        {&f.Salesbook1, 0, 1, false},
    };
    for (const Case& c : cases) {
      c.item->UserClick();
      EXPECT_EQ(f.ComboBox12.ItemIndex(), c.journal) << c.item->Name();
      EXPECT_EQ(f.Label72.Caption(), f.ComboBox12.Items()[static_cast<std::size_t>(c.journal)].text)
          << c.item->Name();
      EXPECT_EQ(f.ComboBox4.ItemIndex(), c.cashAccount) << c.item->Name();
      EXPECT_EQ(f.ComboBox11.Visible(), c.templates) << c.item->Name();
    }
    // A pick from the list keeps the picked one of two equal names.
    f.ComboBox12.UserFocus();
    f.ComboBox12.UserSelect(3);
    f.Lines[0].Text.UserFocus();
    EXPECT_EQ(f.ComboBox12.ItemIndex(), 3);
    EXPECT_EQ(f.ComboBox4.ItemIndex(), 1);
    EXPECT_FALSE(f.ComboBox11.Visible());
  });
}

// ---- the entry screen

TEST_F(JournalForm, TheSaveTestFollowsTheScreen) {
  Show([&](Tboeking& f) {
    Header(f, 2024, 5, 17, "A1");
    support::TypeVoucherLine(f, 0, "1000", "100", "");
    EXPECT_FALSE(f.Opslaan.Enabled());  // one line
    support::TypeVoucherLine(f, 1, "4000", "", "50");
    EXPECT_FALSE(f.Opslaan.Enabled()) << "debit 100 against credit 50";
    f.Lines[1].Credit.UserFocus();
    f.Lines[1].Credit.UserSetText("100");
    f.Lines[1].Text.UserFocus();
    EXPECT_TRUE(f.Opslaan.Enabled());
    EXPECT_TRUE(f.Button5.Enabled());
    EXPECT_EQ(f.Edit88.GetText(), Amount(100));
    EXPECT_EQ(f.Edit89.GetText(), Amount(100));

    // Typing "-" never raises: the field is marked and Save goes off.
    f.Lines[2].Debit.UserFocus();
    f.Lines[2].Debit.UserSetText("-");
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_FALSE(f.Opslaan.Enabled());
    EXPECT_EQ(f.Lines[2].Debit.BackColor(), ui::colors::Yellow);
    f.Lines[2].Debit.UserSetText("");
    EXPECT_TRUE(f.Opslaan.Enabled());
    EXPECT_EQ(f.Lines[2].Debit.BackColor(), ui::colors::Default);

    // System numbers are refused from the first voucher on.
    f.Edit3.UserSetText("! SYSTEM");
    EXPECT_FALSE(f.Opslaan.Enabled());
    f.Edit3.UserSetText(std::string(21, '9'));
    EXPECT_FALSE(f.Opslaan.Enabled());
    f.Edit3.UserSetText("A1");
    EXPECT_TRUE(f.Opslaan.Enabled());

    // A date after the book year is a yellow warning only.
    f.DateTimePicker2.UserSetDate(platform::EncodeDate(2025, 1, 3));
    EXPECT_TRUE(f.Opslaan.Enabled());
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Yellow);
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
    f.DateTimePicker2.UserSetDate(platform::EncodeDate(2024, 5, 17));
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
  });
}

TEST_F(JournalForm, AnAccountTheLedgerLacksKeepsSaveOffAndIsNamed) {
  Show([&](Tboeking& f) {
    Header(f, 2024, 5, 17, "A1");
    f.SetEntryLine(0, "9999", "proposed", 100, 'D');
    f.SetEntryLine(1, "4000", "proposed", 100, 'C');
    EXPECT_EQ(f.Lines[0].Caption.GetText(), "");
    EXPECT_EQ(f.Lines[1].Caption.GetText(), "Sales");
    EXPECT_FALSE(f.Opslaan.Enabled());
    EXPECT_EQ(f.Lines[0].Number.BackColor(), ui::colors::Yellow);
    EXPECT_NE(f.StatusBar1.PanelText(0).find("9999"), std::string::npos);
    // Amounts written by the program are not filtered again: the currency
    // sign of the formatted amount survives.
    EXPECT_EQ(f.Lines[0].Debit.GetText(), Amount(100));
    EXPECT_EQ(f.Lines[1].Credit.GetText(), Amount(100));
  });
}

TEST_F(JournalForm, AccountPickersKeepTheLinesAccountAndTakeExactTexts) {
  Show([&](Tboeking& f) {
    // Typing 4000 takes number and caption.
    support::TypeVoucherLine(f, 0, "4000", "10", "");
    EXPECT_EQ(f.Lines[0].Number.GetText(), "4000");
    EXPECT_EQ(f.Lines[0].Caption.GetText(), "Sales");
    // A prefix takes nothing: 13 is neither 130 nor 1300.
    support::TypeVoucherLine(f, 1, "13", "", "10");
    EXPECT_EQ(f.Lines[1].Number.GetText(), "");
    EXPECT_EQ(f.Lines[1].Caption.GetText(), "");
    // 130 stays 130 when the field is passed through without typing.
    support::TypeVoucherLine(f, 1, "130", "", "10");
    f.Lines[1].Number.UserFocus();
    EXPECT_EQ(f.ComboBox1.GetText(), "130{Debtors}");
    EXPECT_EQ(f.ActiveEntryLine(), 1);
    f.Lines[1].Debit.UserFocus();
    EXPECT_EQ(f.Lines[1].Number.GetText(), "130");
    EXPECT_EQ(f.Lines[1].Caption.GetText(), "Debtors");
    // By name, ignoring case, a caption with braces.
    f.Lines[2].Caption.UserFocus();
    EXPECT_TRUE(f.ComboBox13.Visible());
    f.ComboBox13.UserSetText("rent {OLD}");
    f.Lines[2].Debit.UserFocus();
    EXPECT_FALSE(f.ComboBox13.Visible());
    EXPECT_EQ(f.Lines[2].Number.GetText(), "8000");
    EXPECT_EQ(f.Lines[2].Caption.GetText(), "Rent {old}");
    // Tab out of the picker (onto the read-only totals) goes on to the
    // line's caption, and from the caption picker to the debit.
    f.Lines[4].Number.UserFocus();
    f.ComboBox1.UserSetText("4000");
    f.Edit88.UserFocus();
    EXPECT_EQ(f.Lines[4].Number.GetText(), "4000");
    EXPECT_TRUE(f.ComboBox13.Focused());
    EXPECT_EQ(f.ComboBox13.GetText(), "Sales{4000}");
    f.Edit88.UserFocus();
    EXPECT_TRUE(f.Lines[4].Debit.Focused());
    EXPECT_EQ(f.Lines[4].Caption.GetText(), "Sales");
    // Enter in the picker moves to the next line's account.
    f.Lines[3].Number.UserFocus();
    f.ComboBox1.UserSetText("1000");
    f.UserKeyDown(ui::keys::Return);
    EXPECT_EQ(f.Lines[3].Number.GetText(), "1000");
    EXPECT_EQ(f.ActiveEntryLine(), 4);
    EXPECT_TRUE(f.ComboBox1.Focused());
  });
}

TEST_F(JournalForm, EntryLineKeysMoveBetweenLines) {
  Show([&](Tboeking& f) {
    f.Lines[7].Debit.UserFocus();
    f.UserKeyDown(ui::keys::Up);
    EXPECT_TRUE(f.Lines[6].Debit.Focused());
    f.Lines[7].Debit.UserFocus();
    f.UserKeyDown(ui::keys::Down);
    EXPECT_TRUE(f.Lines[7].Debit.Focused());
    f.Lines[2].Text.UserFocus();
    EXPECT_EQ(f.UserKeyPress('\r'), 0);
    EXPECT_TRUE(f.Lines[3].Text.Focused());
  });
}

// ---- the store through the form

TEST_F(JournalForm, SaveBrowseChangeAndDelete) {
  Show([&](Tboeking& f) {
    Voucher(f, 2024, 5, 17, "B2", "100");
    f.Button5.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    EXPECT_EQ(f.Edit3.GetText(), "") << "a saved voucher clears the screen";
    Voucher(f, 2024, 5, 17, "A1", "50");
    f.Lines[2].Number.UserFocus();
    f.ComboBox1.UserSetText("130");
    f.Lines[2].Debit.UserFocus();
    f.Lines[2].Debit.UserSetText("25");
    f.Lines[1].Credit.UserFocus();
    f.Lines[1].Credit.UserSetText("75");
    f.Lines[0].Text.UserFocus();
    ASSERT_TRUE(f.Opslaan.Enabled());
    f.Save1.UserClick();
    EXPECT_EQ(FileKeys(), (std::vector<std::string>{"20240517A1", "20240517A1", "20240517A1", "20240517B2",
                                                    "20240517B2"}));
    // Saving an existing key again is refused and keeps the screen.
    Voucher(f, 2024, 5, 17, "B2", "1");
    f.Button5.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(9648));
    EXPECT_EQ(f.Edit3.GetText(), "B2");
    EXPECT_EQ(FileVouchers().size(), 5u);

    // Last, then previous: change mode, key fields locked.
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.annuleren.Execute();
    f.leeslaatsterecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "B2");
    EXPECT_EQ(f.Mode(), EntryMode::Change);
    EXPECT_EQ(f.Button5.Caption(), text::L(460));
    EXPECT_FALSE(f.Edit3.Enabled());
    f.Image2.UserClick();
    EXPECT_EQ(f.Edit3.GetText(), "A1");
    EXPECT_EQ(f.Lines[2].Number.GetText(), "130");
    f.Image2.UserClick();
    EXPECT_EQ(f.Edit3.GetText(), "A1") << "previous at the first voucher keeps it shown";
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(10532));

    // A change to fewer lines.
    f.Lines[2].Debit.UserFocus();
    f.Lines[2].Debit.UserSetText("");
    f.Lines[1].Credit.UserFocus();
    f.Lines[1].Credit.UserSetText("50");
    f.Lines[0].Text.UserFocus();
    // The mode is state: a caption the language changed decides nothing.
    f.Opslaan.SetCaption(text::L(424));
    ASSERT_TRUE(f.Opslaan.Enabled());
    f.Button5.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    EXPECT_EQ(FileKeys(), (std::vector<std::string>{"20240517A1", "20240517A1", "20240517B2", "20240517B2"}));
    EXPECT_EQ(FileVouchers()[1].CreditAmount(), 50);

    // Delete asks; No keeps the voucher.
    f.leesvolgendrecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "A1");
    f.leesvolgendrecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "B2");
    ASSERT_TRUE(f.Verwijderen.Enabled());
    backend.messages.clear();
    backend.messageAnswers.push_back(ui::ModalResult::No);
    f.Button6.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(FileVouchers().size(), 4u);
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.Button6.UserClick();
    EXPECT_EQ(FileKeys(), (std::vector<std::string>{"20240517A1", "20240517A1"}));
    EXPECT_EQ(f.Mode(), EntryMode::Add);
  });
}

// The invoice and payment tabs' components as a shown document leaves
// them; the voucher selection then shows that document's voucher.
TEST_F(JournalForm, TheVoucherOfAShownDocumentIsShown) {
  using Kind = Tboeking::DocumentKind;
  using books::journal::StoreOutcome;
  auto voucher = [](const std::string& date, const std::string& number) {
    return std::vector<records::JournalVoucherRec>{Line(date, number, "1000", 10, 0),
                                                   Line(date, number, "4000", 0, 10)};
  };
  std::vector<records::JournalVoucherRec> file;
  for (const auto& [date, number] : std::vector<std::pair<std::string, std::string>>{
           {"20240516", "CUS1/5"}, {"20240517", "CUS1/23"}, {"20240517", "CUS12/3"}, {"20240517", "VEN1/23"},
           {"20240520", "CUS4/2"}, {"20240520", "REC0/7"}})
    for (const auto& r : voucher(date, number)) file.push_back(r);
  store.fs.SetFile(kJvo, Bytes(file));

  struct Case {
    Kind kind;
    int day;
    int kindIndex;
    std::string partner, number;
    std::string shown;  // the voucher number shown afterwards
    int shownDay;
    StoreOutcome outcome;
  };
  const std::vector<Case> cases = {
      {Kind::Invoice, 17, 0, "1", "23", "CUS1/23", 17, StoreOutcome::Done},
      {Kind::Invoice, 17, 0, "12", "3", "CUS12/3", 17, StoreOutcome::Done},
      {Kind::Invoice, 17, 1, "1", "23", "VEN1/23", 17, StoreOutcome::Done},
      // Its voucher is missing (the one of the 16th is another date): no
      // neighbour shows, the voucher shown before stays.
      {Kind::Invoice, 17, 0, "1", "5", "VEN1/23", 17, StoreOutcome::NotFound},
      {Kind::Invoice, 18, 0, "1", "23", "VEN1/23", 17, StoreOutcome::NotFound},
      {Kind::Payment, 20, 0, "4", "2", "CUS4/2", 20, StoreOutcome::Done},
      {Kind::Payment, 20, 2, "", "7", "REC0/7", 20, StoreOutcome::Done},
      {Kind::Payment, 17, 0, "12", "3", "CUS12/3", 17, StoreOutcome::Done},
      {Kind::Payment, 17, 0, "1", "23", "CUS1/23", 17, StoreOutcome::Done},
      {Kind::Payment, 17, 3, "", "1", "CUS1/23", 17, StoreOutcome::NotFound},
  };
  Show([&](Tboeking& f) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.partner + "/" + c.number + " on the " + std::to_string(c.day));
      f.TabControl1.SetTabIndex(c.kind == Kind::Invoice ? books::journal::TabInvoice : books::journal::TabPayment);
      const platform::TDateTime date = platform::EncodeDate(2024, 5, c.day);
      if (c.kind == Kind::Invoice) {
        f.Invoice.DateTimePicker4.SetDate(date);
        f.ComboBox3.SetItemIndex(c.kindIndex);
        f.Invoice.Edit20.SetText(c.partner);
        f.Invoice.Edit7.SetText(c.number);
      } else {
        f.Payment.DateTimePicker7.SetDate(date);
        f.Payment.ComboBox6.SetItemIndex(c.kindIndex);
        f.Payment.Edit9.SetText(c.partner);
        f.Payment.Edit80.SetText(c.number);
      }
      f.LinkedDocumentKind = c.kind;
      EXPECT_EQ(f.Image1Click(), c.outcome);
      EXPECT_EQ(f.Edit3.GetText(), c.shown);
      EXPECT_EQ(f.DateTimePicker2.Date(), platform::EncodeDate(2024, 5, c.shownDay));
      EXPECT_EQ(f.Mode(), EntryMode::Change);
      EXPECT_EQ(f.StatusBar1.PanelText(0), c.outcome == StoreOutcome::Done ? "" : text::L(10471));
      EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabVoucher);
      EXPECT_EQ(f.LinkedDocumentKind, Kind::Selection);
    }

    // After the last voucher: the store's message, the screen as it was.
    f.Invoice.DateTimePicker4.SetDate(platform::EncodeDate(2024, 5, 21));
    f.ComboBox3.SetItemIndex(0);
    f.Invoice.Edit20.SetText("1");
    f.Invoice.Edit7.SetText("23");
    f.LinkedDocumentKind = Kind::Invoice;
    f.SelectJournalVoucher1.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(10471));
    EXPECT_EQ(f.Edit3.GetText(), "CUS1/23");
    EXPECT_EQ(f.LinkedDocumentKind, Kind::Selection);

    // Back to the selection panel: its own date and number are sought, not
    // the document's.
    f.DateTimePicker1.SetDate(platform::EncodeDate(2024, 5, 16));
    f.Edit1.SetText("CUS1/5");
    f.Image1.UserClick();
    EXPECT_EQ(f.Edit3.GetText(), "CUS1/5");

    // New forgets a document shown before.
    f.LinkedDocumentKind = Kind::Payment;
    f.annuleren.Execute();
    EXPECT_EQ(f.LinkedDocumentKind, Kind::Selection);
  });
}

TEST_F(JournalForm, AVoucherAnotherCopyChangedIsNeitherChangedNorDeleted) {
  store.fs.SetFile(kJvo, Bytes({Line("20240517", "A1", "1000", 10, 0), Line("20240517", "A1", "4000", 0, 10)}));
  Show([&](Tboeking& f) {
    f.leeslaatsterecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "A1");
    const std::string other = Bytes({Line("20240517", "A1", "1000", 20, 0), Line("20240517", "A1", "4000", 0, 20)});
    store.fs.SetFile(kJvo, other);
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.Button6.UserClick();
    EXPECT_EQ(store.fs.File(kJvo), other);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
  });
}

TEST_F(JournalForm, TheStarOfAnEmptyJournalIsShownNeverSaved) {
  store.fs.SetFile(kJvo, Bytes({Line("20240517", "A1", "1000", 10, 0), Line("20240517", "A1", "4000", 0, 10)}));
  Show([&](Tboeking& f) {
    f.leeslaatsterecord.Execute();
    EXPECT_EQ(f.Label72.Caption(), "*");
    f.Lines[0].Debit.UserFocus();
    f.Lines[0].Debit.UserSetText("20");
    f.Lines[1].Credit.UserFocus();
    f.Lines[1].Credit.UserSetText("20");
    f.Lines[0].Text.UserFocus();
    f.Button5.UserClick();
    ASSERT_EQ(FileVouchers().size(), 2u);
    EXPECT_EQ(FileVouchers()[0].DebitAmount(), 20);
    EXPECT_EQ(FileVouchers()[0].JournalName(), "");
  });
}

TEST_F(JournalForm, SystemVouchersAndClosedPeriodsLoadLocked) {
  journal::JournalAdminSettings.SetLastClosedPeriod("03/12");
  journal::JournalAdminSettings.SetCurrentPeriod("04/12");
  journal::JournalAdminSettings.SetPeriodStart(4, "20240401");
  store.fs.SetFile(kJvo, Bytes({Line("20240115", "C1", "1000", 10, 0), Line("20240115", "C1", "4000", 0, 10),
                                Line("20240501", "! SYSTEM", "1000", 0, 0),
                                Line("20240501", "! SYSTEM", "4000", 0, 0)}));
  Show([&](Tboeking& f) {
    EXPECT_EQ(f.LowestOpenDateYmd(), "20240401");
    f.leeslaatsterecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "! SYSTEM");
    EXPECT_FALSE(f.Opslaan.Enabled());
    EXPECT_FALSE(f.Verwijderen.Enabled());
    EXPECT_FALSE(f.Lines[0].Number.Enabled());
    EXPECT_EQ(f.Lines[0].Debit.GetText(), Amount(0)) << "a system voucher shows its zero debit";
    f.leesvorigrecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "C1");
    EXPECT_FALSE(f.Opslaan.Enabled());
    EXPECT_FALSE(f.Verwijderen.Enabled());
    EXPECT_FALSE(f.Edit116.Enabled());
    EXPECT_TRUE(f.Edit123.ReadOnly());
    // A new voucher may not go before the lowest open date either.
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.annuleren.Execute();
    EXPECT_EQ(f.DateTimePicker2.MinDate(), platform::EncodeDate(2024, 4, 1));
  });
}

TEST_F(JournalForm, StrangeStoredVouchersLoadReadOnlyWithAWarning) {
  std::vector<records::JournalVoucherRec> recs;
  for (int i = 0; i < 9; ++i) recs.push_back(Line("20241201", "Z9", "1000", i % 2 ? 0 : 1, i % 2 ? 1 : 0));
  recs.push_back(Line("20241340", "X1", "1000", 10, 0));
  recs.push_back(Line("20241340", "X1", "4000", 0, 10));
  store.fs.SetFile(kJvo, Bytes(recs));
  Show([&](Tboeking& f) {
    // A stored date that is no date never raises: locked, with a message.
    f.leeslaatsterecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "X1");
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_FALSE(f.Opslaan.Enabled());
    EXPECT_FALSE(f.Verwijderen.Enabled());
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
    // Nine records of one key: eight shown, nothing may be saved or deleted.
    // The walk starts from the shown voucher's own key.
    f.leesvorigrecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "Z9");
    EXPECT_EQ(f.Lines[7].Number.GetText(), "1000");
    EXPECT_FALSE(f.Opslaan.Enabled());
    EXPECT_FALSE(f.Verwijderen.Enabled());
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Yellow);
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
  });
}

TEST_F(JournalForm, AClickThatEntersAnAmountKeepsItSelected) {
  Show([&](Tboeking& f) {
    f.Lines[0].Debit.UserFocus();
    f.Lines[0].Debit.UserSetText("12");
    f.Lines[0].Text.UserFocus();
    f.Lines[0].Debit.UserFocus();
    f.Lines[0].Debit.UserClick();
    EXPECT_EQ(f.Lines[0].Debit.SelLength(), static_cast<int>(f.Lines[0].Debit.GetText().size()));
  });
}

TEST_F(JournalForm, TheSetUpNamesTheJournalsAndTheFirstBookPeriod) {
  auto& s = journal::JournalAdminSettings;
  s.SetJournalName(5, "Projects");  // optional journal 3 only
  s.SetCurrentPeriod("11/12");
  s.SetPeriodCount(12);
  journal::PeriodCaptionPending = true;
  form.Invoice.Label53.SetCaption("Year");
  Show([&](Tboeking& f) {
    EXPECT_FALSE(f.freejournal[0].Visible());
    EXPECT_FALSE(f.freejournal[1].Visible());
    EXPECT_TRUE(f.freejournal[2].Visible());
    EXPECT_EQ(f.freejournal[2].Caption(), "Projects");
    EXPECT_TRUE(f.payjournal[0].Visible());
    EXPECT_EQ(f.payjournal[0].Caption(), "Cash book");
    EXPECT_FALSE(f.payjournal[1].Visible());
    std::vector<std::string> periods;
    for (const auto& item : f.Invoice.ComboBox5.Items()) periods.push_back(item.text);
    EXPECT_EQ(periods, (std::vector<std::string>{"", "11/12", "12/12"}));
    EXPECT_EQ(f.Invoice.Label53.Caption(), "Year 11/12");
  });
  EXPECT_FALSE(journal::PeriodCaptionPending);
}

// ---- templates

TEST_F(JournalForm, TemplatesSaveListAndLoad) {
  Show([&](Tboeking& f) {
    Voucher(f, 2024, 5, 17, "T1", "120");
    f.Button4.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabTemplate);
    EXPECT_TRUE(f.Templates.Panel5.Visible());
    EXPECT_FALSE(f.Panel6.Enabled());
    f.Templates.Edit2.UserSetText("Rent");
    f.Templates.Button1.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabVoucher);
    ASSERT_EQ(f.ComboBox11.Count(), 2);
    EXPECT_EQ(f.ComboBox11.Items()[1].text, "Rent");
    const auto stored = support::Records<records::VoucherTemplateRec>(store.fs.File(kJvt));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].Name(), "Rent");

    // Picking it asks first, since lines were typed.
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.ComboBox11.UserSelect(1);
    EXPECT_EQ(f.Lines[0].Number.GetText(), "1000");
    EXPECT_EQ(f.Lines[1].Credit.GetText(), Amount(120));
    EXPECT_EQ(f.Edit3.GetText(), "");
    // Typed amounts survive passing through the list.
    f.Lines[0].Debit.UserFocus();
    f.Lines[0].Debit.UserSetText("130");
    f.ComboBox11.UserFocus();
    f.Lines[0].Text.UserFocus();
    EXPECT_EQ(f.Lines[0].Debit.GetText(), Amount(130));

    // An empty name is refused; deleting a name not there changes nothing.
    f.Button4.UserClick();
    f.Templates.Edit2.UserSetText("");
    f.Templates.Button1.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(10654));
    const std::string before = store.fs.File(kJvt);
    f.Templates.Edit2.UserSetText("Lease");
    f.Templates.Button2.UserClick();
    EXPECT_EQ(store.fs.File(kJvt), before);
  });
}

TEST_F(JournalForm, AnUnknownTemplateNameLoadsNothing) {
  Show([&](Tboeking& f) {
    f.ComboBox11.AddItem("Gone");  // another copy deleted it meanwhile
    f.ComboBox11.UserSelect(1);
    EXPECT_EQ(f.Lines[0].Number.GetText(), "");
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
  });
}

// ---- journals

TEST_F(JournalForm, TheJournalChoiceStartsANewVoucherOnlyWhenTheJournalChanges) {
  journal::JournalAdminSettings.SetSplitJournals("true");
  store.fs.SetFile(kJvo, Bytes({Line("20240110", "P1", "1000", 10, 0, "Purchases"),
                                Line("20240110", "P1", "4000", 0, 10, "Purchases"),
                                Line("20240111", "S1", "1000", 10, 0, "Sales"),
                                Line("20240111", "S1", "4000", 0, 10, "Sales"),
                                Line("20240112", "P2", "1000", 10, 0, "Purchases"),
                                Line("20240112", "P2", "4000", 0, 10, "Purchases")}));
  Show([&](Tboeking& f) {
    EXPECT_TRUE(f.ComboBox12.Visible());
    EXPECT_EQ(f.ComboBox12.GetText(), "Purchases");
    EXPECT_EQ(f.Label72.Caption(), "Purchases");
    EXPECT_FALSE(f.CheckBox12.Checked());
    EXPECT_FALSE(f.ComboBox11.Visible()) << "no templates on the purchase book";

    // The same journal again keeps what was typed.
    f.Lines[0].Text.UserFocus();
    f.Lines[0].Text.UserSetText("typed");
    f.ComboBox12.UserFocus();
    f.ComboBox12.UserSetText("purchases");
    f.Lines[0].Text.UserFocus();
    EXPECT_EQ(f.ComboBox12.GetText(), "Purchases");
    EXPECT_EQ(f.Lines[0].Text.GetText(), "typed");
    EXPECT_TRUE(backend.messages.empty());

    // Another journal asks, then starts anew; the day book offers templates.
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.ComboBox12.UserFocus();
    f.ComboBox12.UserSetText("MEMORIAL");
    f.Lines[0].Text.UserFocus();
    EXPECT_EQ(f.ComboBox12.GetText(), "Memorial");
    EXPECT_EQ(f.Lines[0].Text.GetText(), "");
    EXPECT_TRUE(f.ComboBox11.Visible());
    EXPECT_FALSE(f.SpeedButton14.Visible());

    // Browsing by journal: the purchase book's vouchers only.
    f.ComboBox12.UserFocus();
    f.ComboBox12.UserSetText("nowhere");  // item 1: the purchase book
    f.Lines[0].Text.UserFocus();
    EXPECT_EQ(f.ComboBox12.GetText(), "Purchases");
    f.leeslaatsterecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "P2");
    f.leesvorigrecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "P1");
    f.leesvorigrecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "P1");
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(10532));
    // The journal is stored as chosen, and a loaded voucher keeps its own.
    EXPECT_EQ(f.ScreenVoucher().header.journal, "Purchases");
  });
}

// ---- questions, keys and help

TEST_F(JournalForm, EscapeAsksOnlyWhenTypedLinesWouldBeLost) {
  Show([&](Tboeking& f) {
    f.UserKeyDown(ui::keys::Escape);
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_FALSE(f.InModalLoop());
  });
  Show([&](Tboeking& f) {
    f.Lines[0].Text.UserFocus();
    f.Lines[0].Text.UserSetText("typed");
    backend.messageAnswers.push_back(ui::ModalResult::No);
    f.UserKeyDown(ui::keys::Escape);
    EXPECT_EQ(backend.messages.size(), 1u);
    EXPECT_TRUE(f.InModalLoop());
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.UserKeyDown(ui::keys::Escape);
    EXPECT_FALSE(f.InModalLoop());
  });
}

TEST_F(JournalForm, LanguageTextsAndHelpByTab) {
  store::ProductTitle = "Ombrelo Account";
  form.ApplyLanguageTexts();
  EXPECT_EQ(form.Caption(), "Ombrelo Account : " + text::L(852) + " / " + text::L(870));
  EXPECT_EQ(form.TabControl1.Tabs().size(), 9u);
  EXPECT_EQ(form.TabControl1.Tabs()[1], text::L(4033));
  EXPECT_EQ(form.Button5.Caption(), text::L(424));
  EXPECT_EQ(form.Save1.Caption(), text::L(424));
  Show([&](Tboeking& f) {
    f.UserKeyDown(ui::keys::F1);
    EXPECT_EQ(formkit::RequestedHelpTag, "<JVO00>");
    f.Button4.UserClick();
    f.UserKeyDown(ui::keys::F1);
    EXPECT_EQ(formkit::RequestedHelpTag, "<JVT00>");
    f.utorial1.UserClick();
    EXPECT_EQ(formkit::RequestedHelpTag, "<TUT00>");
    EXPECT_TRUE(f.InModalLoop());
  });
}

}  // namespace
