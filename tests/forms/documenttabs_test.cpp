// The journal form's document tabs driven headless on the in-memory file
// system: the refusals before any write (a duplicate invoice, an invoice
// number whose voucher number would not fit, a second "Add + JV" of a
// payment), the partner chosen only for the tab that asked (and, from the
// partner list, for every requester and hit), the payment
// kind kept over a tab change, the tick limit, the list pages, the menus by
// tab, the drop-down exits and a loaded amount kept at its stored value.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "journal/boekingstuk.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/invoicerec.h"
#include "records/ledgeraccountrec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "text/languagefile.h"
#include "text/languagetext.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/formfixture.h"
#include "support/journalform.h"
#include "support/records.h"
#include "ui/headless.h"

namespace {

using journal::Tboeking;
using support::Bytes;

records::PartnerRec Partner(int number, const std::string& name, const std::string& type = "CUS") {
  records::PartnerRec p;
  p.SetOurNumber(number);
  p.SetName(name);
  p.SetRelationshipType(type);
  p.SetPartnerGroup("1300");
  p.SetSalesCostGroup1("4000");
  p.SetVatGroup1("1600");
  p.SetCashDiscountAccount("8100");
  p.SetDiscountRate(2);
  return p;
}

records::InvoiceRec Invoice(const std::string& bookDate, int partner, const std::string& number, double amount,
                            bool booked = false) {
  records::InvoiceRec r;
  r.SetVoucherDate(bookDate);
  r.SetInvoiceDate(bookDate);
  r.SetDiscountDate(bookDate);
  r.SetDueDate(bookDate);
  r.SetPartnerType("CUS");
  r.SetPartnerNumber(partner);
  r.SetInvoiceNumber(number);
  r.SetInvoiceAmount(amount);
  r.SetVoucherCreated(booked);
  return r;
}

class DocumentTabs : public ::testing::Test, public support::AdministrationFolder {
 protected:
  static constexpr const char* kInv = "/d/ACME/invsum.vlk";
  static constexpr const char* kPay = "/d/ACME/payment.vlk";
  static constexpr const char* kCus = "/d/ACME/customer.vlk";

  ui::HeadlessBackend backend;
  platform::ScopedNumberFormat numbers{'.'};
  Tboeking form;

  void SetUp() override {
    support::ReadyJournalForm(store);
    std::vector<records::LedgerAccountRec> accounts;
    for (const char* n : {"1000", "1300", "1600", "4000", "8100"}) {
      records::LedgerAccountRec r;
      r.SetAccountNumber(n);
      r.SetCaption(std::string("Account ") + n);
      r.SetIsCashOrBank(std::string(n) == "1000");
      accounts.push_back(r);
    }
    store.fs.SetFile("/d/ACME/ledger.vlk", Bytes(accounts));
    for (const char* f : {"/d/ACME/book.vlk", kInv, kPay, "/d/ACME/supplier.vlk"}) store.fs.SetFile(f, "");
    store.fs.SetFile(kCus, Bytes(std::vector<records::PartnerRec>{Partner(1, "Jansen"), Partner(2, "Jansen & Co"),
                                                                  Partner(1234, "Long number")}));
  }

  void Show(const std::function<void(Tboeking&)>& body) {
    support::ShowAsTreeDoes(backend, form, "IFS;GLA;JVT", [&body](Tboeking& f) {
      f.ComboBox3.UserSelect(0);
      body(f);
    });
  }

  static void InvoicePartner(Tboeking& f, const std::string& text) {
    f.SpeedButton5.UserClick();
    f.Invoice.Edit4.UserFocus();
    f.Invoice.Edit4.UserSetText(text);
    f.Invoice.SpeedButton4.UserClick();
  }
  static void InvoiceData(Tboeking& f, const std::string& number, const std::string& amount) {
    f.Invoice.Edit7.UserFocus();
    f.Invoice.Edit7.UserSetText(number);
    f.Invoice.Edit17.UserFocus();
    f.Invoice.Edit17.UserSetText(amount);
    f.Invoice.Edit19.UserFocus();
  }
  // Shows a list tab with its partner filter on.
  static void FilterByPartner(Tboeking& f, int tab, ui::CheckBox& byPartner) {
    f.TabControl1.UserSelectTab(tab);
    if (!byPartner.Checked()) byPartner.UserClick();
  }
  std::vector<records::PaymentRec> Payments() const { return support::Records<records::PaymentRec>(store.fs.File(kPay)); }
};

TEST_F(DocumentTabs, TheBookedMarksTakeTheirCaptionFromTheLanguage) {
  EXPECT_EQ(form.Invoice.CheckBox1.Caption(), "JV created");
  text::CurrentLanguage.SetL(3640, "Geboekt");
  form.ApplyLanguageTexts();
  EXPECT_EQ(form.Invoice.CheckBox1.Caption(), "Geboekt");
  EXPECT_EQ(form.Payment.CheckBox2.Caption(), "Geboekt");
}

TEST_F(DocumentTabs, RefusedInvoicesLeaveTheFileAsItWas) {
  store.fs.SetFile(kInv, Bytes(std::vector<records::InvoiceRec>{Invoice("20240517", 1, "1001", 50)}));
  const std::string before = store.fs.File(kInv);
  Show([&](Tboeking& f) {
    // The same book date, kind, partner and number: refused, nothing proposed.
    InvoicePartner(f, "1");
    ASSERT_EQ(f.Invoice.Edit20.GetText(), "1");
    InvoiceData(f, "1001", "121");
    f.Invoice.Button9.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(9648));
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    EXPECT_EQ(store.fs.File(kInv), before);

    // "CUS1234/" leaves 12 characters of the voucher number's 20.
    f.SpeedButton5.UserClick();
    InvoiceData(f, "2024-VK-00017", "10");  // typed before the partner: not yet limited
    f.Invoice.Edit4.UserFocus();
    f.Invoice.Edit4.UserSetText("1234");
    f.Invoice.SpeedButton4.UserClick();
    ASSERT_EQ(f.Invoice.Edit20.GetText(), "1234");
    EXPECT_EQ(f.Invoice.Edit7.MaxLength(), 12);
    f.Invoice.Button9.UserClick();
    EXPECT_NE(f.StatusBar1.PanelText(0).find("12"), std::string::npos) << f.StatusBar1.PanelText(0);
    EXPECT_EQ(store.fs.File(kInv), before);

    // An amount that is no number gets a message, not an exception.
    f.Invoice.Edit7.SetText("9");
    f.Invoice.Edit17.SetText("1-2");
    f.Invoice.Button9.UserClick();
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_EQ(store.fs.File(kInv), before);
  });
}

TEST_F(DocumentTabs, TheCollisionPairStaysTwoInvoices) {
  Show([&](Tboeking& f) {
    for (const auto& [partner, number] : std::vector<std::pair<std::string, std::string>>{{"1", "23"}, {"1234", "3"}}) {
      InvoicePartner(f, partner);
      InvoiceData(f, number, "10");
      f.Invoice.Button9.UserClick();
      ASSERT_EQ(f.StatusBar1.PanelText(0), "") << partner;
      f.Invoice.Button10.UserClick();
    }
    EXPECT_EQ(support::Records<records::InvoiceRec>(store.fs.File(kInv)).size(), 2u);
  });
}

TEST_F(DocumentTabs, APaymentIsStoredOnceAndKeepsItsKindOverATabChange) {
  Show([&](Tboeking& f) {
    // A receipt being typed stays a receipt when the tabs change.
    f.SpeedButton7.UserClick();
    f.Payment.ComboBox6.UserSelect(2);
    f.Payment.Edit30.UserFocus();
    f.Payment.Edit30.UserSetText("50");
    f.Payment.Edit47.UserFocus();
    f.SpeedButton6.UserClick();
    f.SpeedButton5.UserClick();
    EXPECT_EQ(f.Payment.ComboBox6.ItemIndex(), 2);
    f.TabControl1.UserSelectTab(books::journal::TabPayment);
    ASSERT_TRUE(f.AddPayment.Enabled());
    f.Payment.Button15.UserClick();
    ASSERT_EQ(Payments().size(), 1u);
    EXPECT_EQ(Payments()[0].PartnerType(), "REC");
    EXPECT_EQ(f.Edit3.GetText(), "REC0/1");
    EXPECT_EQ(f.Lines[1].Text.GetText(), "0");

    // "Add + JV" again: the payment is changed, not stored a second time.
    f.TabControl1.UserSelectTab(books::journal::TabPayment);
    EXPECT_EQ(f.Payment.Edit80.GetText(), "1");
    f.Payment.Button15.UserClick();
    EXPECT_EQ(Payments().size(), 1u);
    EXPECT_EQ(f.PaymentState(), Tboeking::DocumentState::LoadedUnbooked);
  });
}

TEST_F(DocumentTabs, TheChosenPartnerGoesOnlyToTheTabThatAsked) {
  Show([&](Tboeking& f) {
    // A payment-tab search with one hit.
    f.SpeedButton7.UserClick();
    f.Payment.Edit8.UserFocus();
    f.Payment.Edit8.UserSetText("2");
    f.Payment.SpeedButton11.UserClick();
    ASSERT_EQ(f.Payment.Edit9.GetText(), "2");
    // Then an invoice-tab search with several: the partner list, then the
    // invoice tab; the payment keeps its partner.
    InvoicePartner(f, "jansen");
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabPartnerList);
    EXPECT_EQ(f.PartnerList.StringGrid1.Cell(1, 1), "Jansen");
    EXPECT_EQ(f.PartnerList.StringGrid1.Cell(1, 2), "Jansen & Co");
    EXPECT_FALSE(f.PartnerList.BitBtn2.Visible());
    f.PartnerList.StringGrid1.UserSelectCell(0, 1);
    f.PartnerList.Button11.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    EXPECT_EQ(f.Invoice.Edit20.GetText(), "1");
    EXPECT_EQ(f.Payment.Edit9.GetText(), "2");
    EXPECT_EQ(f.PaymentPartner()->OurNumber(), 2);

    // Nothing found on the payment tab: the typed amount stays.
    f.SpeedButton7.UserClick();
    f.Payment.Edit30.UserFocus();
    f.Payment.Edit30.UserSetText("75");
    f.Payment.Edit8.UserFocus();
    f.Payment.Edit8.UserSetText("99");
    f.Payment.SpeedButton11.UserClick();
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
    EXPECT_EQ(f.Payment.Edit30.GetText(), text::FormatAmount(75, 2, 'Y'));

    // A new partner: what the partner form saved lands on the payment tab;
    // a cancelled form changes nothing.
    books::partners::NewPartnerRequest asked;
    books::partners::SetNewPartnerEntry(
        [&](const books::partners::NewPartnerRequest& r) -> std::optional<books::partners::FoundPartner> {
          asked = r;
          return std::nullopt;
        });
    f.Payment.Edit37.UserFocus();
    f.Payment.Edit37.UserSetText("NL01BANK");
    f.Payment.SpeedButton10.UserClick();
    EXPECT_EQ(asked.bankAccount, "NL01BANK");
    EXPECT_EQ(f.Payment.Edit9.GetText(), "");
    books::partners::SetNewPartnerEntry(
        [](const books::partners::NewPartnerRequest&) -> std::optional<books::partners::FoundPartner> {
          return books::partners::FoundPartner{1, Partner(2, "Jansen & Co")};
        });
    f.Payment.SpeedButton10.UserClick();
    EXPECT_EQ(f.Payment.Edit9.GetText(), "2");
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabPayment);
    // From the invoice tab no bank account is offered.
    books::partners::SetNewPartnerEntry(
        [&](const books::partners::NewPartnerRequest& r) -> std::optional<books::partners::FoundPartner> {
          asked = r;
          return std::nullopt;
        });
    f.SpeedButton5.UserClick();
    f.Invoice.SpeedButton1.UserClick();
    EXPECT_EQ(asked.bankAccount, "");
  });
}

// Every requester of the partner lookup, with a search of several hits, and
// each hit chosen in the partner list: the partner lands in the fields of
// the tab that asked, that tab is shown, and no other tab's partner changes.
TEST_F(DocumentTabs, APartnerChosenInTheListGoesToTheRequestersTab) {
  store.fs.SetFile(kCus, Bytes(std::vector<records::PartnerRec>{Partner(1, "Jansen"), Partner(2, "Jansen & Co"),
                                                                Partner(3, "Jansen Bouw"), Partner(7, "Pieters"),
                                                                Partner(7, "Pieters twice")}));
  Show([&](Tboeking& f) {
    struct Requester {
      const char* name;
      std::function<void()> open;  // shows the requester's tab
      ui::Edit* search;
      ui::Button* find;
      std::string text;
      std::vector<std::pair<int, std::string>> hits;  // the partner each listed row gives
      int tab;
      ui::Edit* number;
      ui::Edit* partnerName;
    };
    const std::vector<std::pair<int, std::string>> jansens = {{1, "Jansen"}, {2, "Jansen & Co"}, {3, "Jansen Bouw"}};
    // The payment tab searches by number: two partners with one number (a
    // file an import made) are its several hits, and both give the first.
    const std::vector<Requester> requesters = {
        {"invoice tab", [&] { f.SpeedButton5.UserClick(); }, &f.Invoice.Edit4, &f.Invoice.SpeedButton4, "jansen",
         jansens, books::journal::TabInvoice, &f.Invoice.Edit20, &f.Invoice.Edit27},
        {"invoice list", [&] { FilterByPartner(f, books::journal::TabInvoiceList, f.Invoice.CheckBox6); },
         &f.Invoice.Edit58, &f.Invoice.SpeedButton12, "jansen", jansens, books::journal::TabInvoiceList,
         &f.Invoice.Edit39, &f.Invoice.Edit49},
        {"payment tab",
         [&] { f.SpeedButton7.UserClick(); },
         &f.Payment.Edit8,
         &f.Payment.SpeedButton11,
         "7",
         {{7, "Pieters"}, {7, "Pieters"}},
         books::journal::TabPayment,
         &f.Payment.Edit9,
         &f.Payment.Edit10},
        {"payment list", [&] { FilterByPartner(f, books::journal::TabPaymentList, f.Payment.CheckBox9); },
         &f.Payment.Edit79, &f.Payment.SpeedButton13, "jansen", jansens, books::journal::TabPaymentList,
         &f.Payment.Edit70, &f.Payment.Edit77},
    };
    auto numbers = [&] {
      std::vector<std::string> out;
      for (const Requester& r : requesters) out.push_back(r.number->GetText());
      return out;
    };
    for (std::size_t q = 0; q < requesters.size(); ++q) {
      const Requester& r = requesters[q];
      for (std::size_t row = 1; row <= r.hits.size(); ++row) {
        SCOPED_TRACE(std::string(r.name) + ", row " + std::to_string(row));
        r.open();
        ASSERT_EQ(f.TabControl1.TabIndex(), r.tab);
        r.search->UserFocus();
        r.search->UserSetText(r.text);
        r.find->UserClick();
        ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabPartnerList);
        ASSERT_EQ(f.PartnerList.StringGrid1.RowCount(), static_cast<int>(r.hits.size()) + 1);
        std::vector<std::string> before = numbers();
        f.PartnerList.StringGrid1.UserSelectCell(0, static_cast<int>(row));
        f.PartnerList.Button11.UserClick();
        EXPECT_EQ(f.TabControl1.TabIndex(), r.tab);
        EXPECT_EQ(r.number->GetText(), std::to_string(r.hits[row - 1].first));
        EXPECT_EQ(r.partnerName->GetText(), r.hits[row - 1].second);
        std::vector<std::string> after = numbers();
        before.erase(before.begin() + static_cast<std::ptrdiff_t>(q));
        after.erase(after.begin() + static_cast<std::ptrdiff_t>(q));
        EXPECT_EQ(after, before) << "another tab's partner changed";
      }
    }
  });
}

TEST_F(DocumentTabs, TheProposalUsesTheInvoicesOwnPartner) {
  std::vector<records::PartnerRec> partners = {Partner(1, "Jansen"), Partner(2, "Jansen & Co")};
  partners[1].SetPartnerGroup("1000");
  partners[1].SetSalesCostGroup1("8100");
  store.fs.SetFile(kCus, Bytes(partners));
  Show([&](Tboeking& f) {
    InvoicePartner(f, "1");
    InvoiceData(f, "5", "121");
    // A search on the payment tab in between finds another partner.
    f.TabControl1.UserSelectTab(books::journal::TabPayment);
    f.Payment.ComboBox6.UserSelect(0);
    f.Payment.Edit8.UserFocus();
    f.Payment.Edit8.UserSetText("2");
    f.Payment.SpeedButton11.UserClick();
    ASSERT_EQ(f.Payment.Edit9.GetText(), "2");
    f.TabControl1.UserSelectTab(books::journal::TabInvoice);
    f.Invoice.Button9.UserClick();
    EXPECT_EQ(f.Edit5.GetText(), "1");
    EXPECT_EQ(f.Lines[0].Number.GetText(), "1300");
    EXPECT_EQ(f.Lines[0].Text.GetText(), "1/5");
    EXPECT_EQ(f.Lines[1].Number.GetText(), "4000");
  });
}

TEST_F(DocumentTabs, TicksBeyondEightLinesAreRefused) {
  std::vector<records::InvoiceRec> invoices;
  for (int i = 1; i <= 6; ++i) invoices.push_back(Invoice("20240517", 1, std::to_string(i), 100));
  store.fs.SetFile(kInv, Bytes(invoices));
  Show([&](Tboeking& f) {
    f.SpeedButton7.UserClick();
    f.Payment.Edit8.UserFocus();
    f.Payment.Edit8.UserSetText("1");
    f.Payment.SpeedButton11.UserClick();
    ASSERT_EQ(f.Payment.CheckListBox1.Items().size(), 6u);
    EXPECT_EQ(f.Payment.CheckListBox1.Items()[0].text, "20240517/6/ 100.00 (2.00 )");  // newest first
    // Bank + invoices + discount (no tax rate on 1600) + remainder: five fit.
    for (int i = 0; i < 6; ++i) f.Payment.CheckListBox1.UserToggle(i);
    EXPECT_EQ(f.Payment.CheckListBox1.Items()[4].checked, true);
    EXPECT_EQ(f.Payment.CheckListBox1.Items()[5].checked, false);
    EXPECT_FALSE(f.StatusBar1.PanelText(0).empty());
  });
}

TEST_F(DocumentTabs, ListPagesOfAHundredNeitherSkipNorRepeat) {
  std::vector<records::InvoiceRec> invoices;
  for (int i = 0; i < 250; ++i) invoices.push_back(Invoice("20240101", 1, std::to_string(1000 + i), 10));
  store.fs.SetFile(kInv, Bytes(invoices));
  Show([&](Tboeking& f) {
    f.SpeedButton6.UserClick();
    f.Invoice.Image5.UserClick();
    std::vector<std::string> seen;
    auto page = [&](int rows) {
      EXPECT_EQ(f.Invoice.StringGrid2.RowCount(), rows + 1);
      for (int r = 1; r <= rows; ++r) seen.push_back(f.Invoice.StringGrid2.Cell(3, r));
    };
    page(100);
    EXPECT_FALSE(f.Invoice.BitBtn5.Visible());
    ASSERT_TRUE(f.Invoice.BitBtn6.Visible());
    f.Invoice.BitBtn6.UserClick();
    page(100);
    f.Invoice.BitBtn6.UserClick();
    page(50);
    EXPECT_FALSE(f.Invoice.BitBtn6.Visible());
    EXPECT_TRUE(f.Invoice.BitBtn5.Visible());
    ASSERT_EQ(seen.size(), 250u);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
    f.Invoice.BitBtn5.UserClick();
    EXPECT_EQ(f.Invoice.StringGrid2.Cell(3, 1), "1149");
  });
}

TEST_F(DocumentTabs, ALoadedInvoiceKeepsItsStoredAmountAndABookedOneIsNotDeleted) {
  store.fs.SetFile(kInv, Bytes(std::vector<records::InvoiceRec>{Invoice("20240517", 1, "7", 10.005),
                                                                 Invoice("20240517", 1, "8", 20, true)}));
  Show([&](Tboeking& f) {
    f.SpeedButton6.UserClick();
    f.Invoice.CheckBox5.UserClick();
    f.Invoice.Image5.UserClick();
    ASSERT_EQ(f.Invoice.StringGrid2.Cell(3, 2), "7");
    f.Invoice.StringGrid2.UserSelectCell(0, 2);
    f.Invoice.Button13.UserClick();
    ASSERT_EQ(f.InvoiceState(), Tboeking::DocumentState::LoadedUnbooked);
    EXPECT_TRUE(f.DeleteInvoice.Enabled());
    EXPECT_TRUE(f.Invoice.Button19.Visible());
    f.Invoice.Edit19.UserFocus();
    f.Invoice.Edit19.UserSetText("Changed");
    f.Invoice.Button9.UserClick();
    const auto stored = support::Records<records::InvoiceRec>(store.fs.File(kInv));
    EXPECT_DOUBLE_EQ(stored[0].InvoiceAmount(), 10.005);
    EXPECT_EQ(stored[0].Memo(), "Changed");

    f.SpeedButton6.UserClick();
    f.Invoice.CheckBox5.UserClick();
    f.Invoice.Image5.UserClick();
    ASSERT_EQ(f.Invoice.StringGrid2.Cell(3, 1), "8");
    f.Invoice.StringGrid2.UserSelectCell(0, 1);
    f.Invoice.Button13.UserClick();
    EXPECT_EQ(f.InvoiceState(), Tboeking::DocumentState::LoadedBooked);
    EXPECT_FALSE(f.DeleteInvoice.Enabled());
    EXPECT_FALSE(f.Delete2.Enabled());
    EXPECT_FALSE(f.Invoice.Button19.Visible());

    // The invoice without voucher is deleted; the list is left.
    f.SpeedButton6.UserClick();
    f.Invoice.CheckBox5.UserClick();
    f.Invoice.Image5.UserClick();
    f.Invoice.StringGrid2.UserSelectCell(0, 2);
    f.Invoice.Button13.UserClick();
    ASSERT_EQ(f.Invoice.Edit7.GetText(), "7");
    f.Invoice.Button19.UserClick();
    const auto left = support::Records<records::InvoiceRec>(store.fs.File(kInv));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].InvoiceNumber(), "8");
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabVoucher);
    EXPECT_EQ(f.InvoiceState(), Tboeking::DocumentState::New);
  });
}

TEST_F(DocumentTabs, MenusFocusAndDropDownExitsByTab) {
  Show([&](Tboeking& f) {
    struct Case {
      int tab;
      ui::MenuItem* on;
      ui::MenuItem* off;
    };
    for (const Case& c : std::vector<Case>{{books::journal::TabInvoice, &f.CancelInvoice1, &f.Search1},
                                           {books::journal::TabInvoiceList, &f.SearchInvoice1, &f.CancelInvoice1},
                                           {books::journal::TabPartnerList, &f.CancelPartnerList1, &f.SelectPartner},
                                           {books::journal::TabPayment, &f.CancelPayment1, &f.SearchInvoice1},
                                           {books::journal::TabPaymentList, &f.Search1, &f.CancelPayment1}}) {
      f.TabControl1.UserSelectTab(c.tab);
      EXPECT_TRUE(c.on->Enabled()) << c.tab;
      EXPECT_FALSE(c.off->Enabled()) << c.tab;
      EXPECT_FALSE(f.Cancel1.Enabled()) << c.tab;
    }
    f.TabControl1.UserSelectTab(books::journal::TabPaymentList);
    EXPECT_TRUE(f.Payment.CheckBox7.Focused());
    f.TabControl1.UserSelectTab(books::journal::TabInvoiceList);
    EXPECT_TRUE(f.Invoice.CheckBox3.Focused());

    // Exits: a match in another case takes the item, no match the fallback.
    f.TabControl1.UserSelectTab(books::journal::TabPayment);
    f.Payment.ComboBox6.UserFocus();
    f.Payment.ComboBox6.UserSetText(cp1252::ToUpper(f.Payment.ComboBox6.Items()[1].text));
    f.Payment.Edit37.UserFocus();
    EXPECT_EQ(f.Payment.ComboBox6.ItemIndex(), 1);
    f.Payment.ComboBox6.UserFocus();
    f.Payment.ComboBox6.UserSetText("nothing like it");
    f.Payment.Edit37.UserFocus();
    EXPECT_EQ(f.Payment.ComboBox6.ItemIndex(), 0);
    f.ComboBox4.UserFocus();
    f.ComboBox4.UserSetText("none");
    f.Payment.Edit37.UserFocus();
    EXPECT_EQ(f.ComboBox4.ItemIndex(), 0);

    // The kind filters of the invoice list and the payment list.
    struct Filter {
      int tab;
      ui::CheckBox* byPartner;
      ui::ComboBox* kind;
      ui::Component* next;
    };
    for (const Filter& k :
         {Filter{books::journal::TabInvoiceList, &f.Invoice.CheckBox6, &f.Invoice.ComboBox7, &f.Invoice.Edit58},
          Filter{books::journal::TabPaymentList, &f.Payment.CheckBox9, &f.Payment.ComboBox8, &f.Payment.Edit79}}) {
      SCOPED_TRACE(k.kind->Name());
      FilterByPartner(f, k.tab, *k.byPartner);
      ASSERT_GE(k.kind->Count(), 2);
      for (const auto& [typed, index] : std::vector<std::pair<std::string, int>>{
               {cp1252::ToLower(k.kind->Items()[1].text), 1}, {"nothing like it", 0}}) {
        k.kind->UserFocus();
        k.kind->UserSetText(typed);
        k.next->UserFocus();
        EXPECT_EQ(k.kind->ItemIndex(), index) << typed;
        EXPECT_EQ(k.kind->GetText(), k.kind->Items()[index].text);
      }
    }
  });
}

TEST_F(DocumentTabs, TheBookPeriodMovesTheBookDateButNotBelowTheOpenPeriods) {
  auto& s = journal::JournalAdminSettings;
  s.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, "2024" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
  s.SetPeriodStart(13, "20250101");
  s.SetLastClosedPeriod("02/12");
  s.SetCurrentPeriod("03/12");
  Show([&](Tboeking& f) {
    f.SpeedButton5.UserClick();
    ASSERT_EQ(f.LowestOpenDateYmd(), "20240301");
    const platform::TDateTime before = f.Invoice.DateTimePicker4.Date();
    // No period: the book date would be the invoice date, in a closed period.
    f.Invoice.DateTimePicker3.UserSetDate(platform::EncodeDate(2024, 2, 15));
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(10715));
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_EQ(f.Invoice.DateTimePicker4.Date(), before);
    // Period 3 takes it to its first day; a text no item equals is item 1.
    f.Invoice.ComboBox5.UserFocus();
    f.Invoice.ComboBox5.UserSetText("xx");
    f.Invoice.Edit17.UserFocus();
    EXPECT_EQ(f.Invoice.ComboBox5.GetText(), "03/12");
    EXPECT_EQ(f.Invoice.DateTimePicker4.Date(), platform::EncodeDate(2024, 3, 1));
    EXPECT_FALSE(f.Invoice.DateTimePicker4.Enabled());
    f.Invoice.ComboBox5.UserFocus();
    f.Invoice.ComboBox5.UserSetText("04/12");
    f.Invoice.Edit17.UserFocus();
    f.Invoice.DateTimePicker3.UserSetDate(platform::EncodeDate(2024, 6, 3));
    EXPECT_EQ(f.Invoice.DateTimePicker4.Date(), platform::EncodeDate(2024, 4, 30));
  });
}

}  // namespace

namespace {

// The discount and due dates follow the invoice's partner: chosen first,
// then replaced by another partner with other terms, and kept over a
// partner search made on the payment tab.
TEST_F(DocumentTabs, TheTermsFollowAChangeOfTheInvoicesPartner) {
  std::vector<records::PartnerRec> partners = {Partner(1, "Jansen"), Partner(2, "Jansen & Co")};
  partners[0].SetDiscountDays(10);
  partners[0].SetNetDays(30);
  partners[1].SetDiscountDays(5);
  partners[1].SetNetDays(60);
  store.fs.SetFile(kCus, Bytes(partners));
  Show([&](Tboeking& f) {
    InvoicePartner(f, "1");
    ASSERT_EQ(f.Invoice.Edit20.GetText(), "1");
    const platform::TDateTime invoiceDate = f.Invoice.DateTimePicker3.Date();
    EXPECT_EQ(f.Invoice.DateTimePicker5.Date(), invoiceDate + 10);
    EXPECT_EQ(f.Invoice.DateTimePicker6.Date(), invoiceDate + 30);

    f.Invoice.Edit4.UserFocus();
    f.Invoice.Edit4.UserSetText("2");
    f.Invoice.SpeedButton4.UserClick();
    ASSERT_EQ(f.Invoice.Edit20.GetText(), "2");
    EXPECT_EQ(f.Invoice.DateTimePicker5.Date(), invoiceDate + 5);
    EXPECT_EQ(f.Invoice.DateTimePicker6.Date(), invoiceDate + 60);

    // Another tab's search leaves the invoice's terms alone.
    f.TabControl1.UserSelectTab(books::journal::TabPayment);
    f.Payment.ComboBox6.UserSelect(0);
    f.Payment.Edit8.UserFocus();
    f.Payment.Edit8.UserSetText("1");
    f.Payment.SpeedButton11.UserClick();
    ASSERT_EQ(f.Payment.Edit9.GetText(), "1");
    f.TabControl1.UserSelectTab(books::journal::TabInvoice);
    EXPECT_EQ(f.Invoice.Edit20.GetText(), "2");
    EXPECT_EQ(f.Invoice.DateTimePicker5.Date(), invoiceDate + 5);
    EXPECT_EQ(f.Invoice.DateTimePicker6.Date(), invoiceDate + 60);
  });
}

}  // namespace

namespace {

// Cancel on the list tabs empties every column of the grid and takes away
// Select and the page buttons; a list of an emptied file shows no row of the
// list before it.
TEST_F(DocumentTabs, CancelAndAnEmptyFileLeaveNoRowOfAnEarlierList) {
  std::vector<records::InvoiceRec> invoices;
  for (int i = 0; i < 120; ++i) invoices.push_back(Invoice("20240101", 1, std::to_string(1000 + i), 10));
  store.fs.SetFile(kInv, Bytes(invoices));
  std::vector<records::PaymentRec> payments;
  for (int i = 1; i <= 120; ++i) {
    records::PaymentRec p;
    p.SetValueDate("20240102");
    p.SetPartnerType("CUS");
    p.SetPartnerNumber(1);
    p.SetPaymentNumber(i);
    p.SetAmount(10);
    p.SetMemo("memo");
    payments.push_back(p);
  }
  store.fs.SetFile(kPay, Bytes(payments));
  auto expectEmpty = [](const ui::StringGrid& grid, const ui::Action& select, const ui::Button& previous,
                        const ui::Button& next) {
    EXPECT_EQ(grid.RowCount(), 2);
    for (int c = 0; c < grid.ColCount(); ++c) EXPECT_EQ(grid.Cell(c, 1), "") << "column " << c;
    EXPECT_FALSE(select.Enabled());
    EXPECT_FALSE(previous.Visible());
    EXPECT_FALSE(next.Visible());
  };
  Show([&](Tboeking& f) {
    // Invoices: a list of a file another copy emptied, then Cancel.
    const std::string inv = store.fs.File(kInv);
    f.SpeedButton6.UserClick();
    f.Invoice.Image5.UserClick();
    ASSERT_EQ(f.Invoice.StringGrid2.ColCount(), 14);
    ASSERT_NE(f.Invoice.StringGrid2.Cell(13, 1), "");
    store.fs.SetFile(kInv, "");
    f.Invoice.Image5.UserClick();
    expectEmpty(f.Invoice.StringGrid2, f.SelectInvoiceRow, f.Invoice.BitBtn5, f.Invoice.BitBtn6);
    store.fs.SetFile(kInv, inv);
    f.Invoice.Image5.UserClick();
    ASSERT_NE(f.Invoice.StringGrid2.Cell(13, 1), "");
    ASSERT_TRUE(f.Invoice.BitBtn6.Visible());
    f.Invoice.Button14.UserClick();
    expectEmpty(f.Invoice.StringGrid2, f.SelectInvoiceRow, f.Invoice.BitBtn5, f.Invoice.BitBtn6);

    // Payments alike.
    const std::string pay = store.fs.File(kPay);
    f.TabControl1.UserSelectTab(books::journal::TabPaymentList);
    f.Payment.SpeedButton2.UserClick();
    const int last = f.Payment.StringGrid3.ColCount() - 1;
    ASSERT_NE(f.Payment.StringGrid3.Cell(last, 1), "");
    store.fs.SetFile(kPay, "");
    f.Payment.SpeedButton2.UserClick();
    expectEmpty(f.Payment.StringGrid3, f.SelectPaymentRow, f.Payment.BitBtn3, f.Payment.BitBtn4);
    store.fs.SetFile(kPay, pay);
    f.Payment.SpeedButton2.UserClick();
    ASSERT_NE(f.Payment.StringGrid3.Cell(last, 1), "");
    ASSERT_TRUE(f.Payment.BitBtn4.Visible());
    f.Payment.Button18.UserClick();
    expectEmpty(f.Payment.StringGrid3, f.SelectPaymentRow, f.Payment.BitBtn3, f.Payment.BitBtn4);
  });
}

}  // namespace
