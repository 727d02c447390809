// The invoice and payment road, end to end and headless: log in, open the
// journal form from the function tree, find a customer from the invoice
// tab, store an invoice of 121.00 at 21 % and save the voucher it proposes,
// list it, pay it from the payment tab with the invoice ticked and save
// that voucher, go from each voucher to its document, and delete the
// payment's voucher again; invoice numbers with blanks at their ends, typed
// or stored by an older file, are paid all the same. The files hold what the
// program writes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "journal/boekingstuk.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "support/program.h"
#include "support/records.h"

namespace {

using journal::Tboeking;
using program::TreeFunction;
using support::Bytes;

const std::string D = "/w/data/ACME/";

records::PartnerRec Customer(int number, const std::string& name) {
  records::PartnerRec p;
  p.SetOurNumber(number);
  p.SetName(name);
  p.SetRelationshipType("CUS");
  p.SetPartnerGroup("1300");
  p.SetSalesCostGroup1("4000");
  p.SetVatGroup1("1600");
  p.SetCashDiscountAccount("8100");
  p.SetDiscountDays(10);
  p.SetNetDays(30);
  return p;
}

class DocumentRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 5, 17) + platform::EncodeTime(9, 30, 15, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  void SetUp() override {
    StartWithAcme();
    store::SystemParams.SetTaxRateName(0, "HIGH");
    store::SystemParams.SetTaxRate(0, 21);
    LogInToAcme();
    records::AdminSettingsRec s = support::MonthlyBookYear(2024);
    s.SetCurrentPeriod("05/12");
    s.SetSplitJournals("false");
    s.SetSalesBookName("Sales");
    s.SetPurchaseBookName("Purchases");
    s.SetDayBookName("Memorial");
    LogInAgainWith(s);
    struct A {
      const char *number, *caption, *tax;
      bool cash;
    };
    std::vector<records::LedgerAccountRec> accounts;
    for (const A& a : std::vector<A>{{"1000", "Bank", "", true},
                                     {"1300", "Debtors", "", false},
                                     {"1600", "Sales tax", "HIGH", false},
                                     {"4000", "Sales", "", false},
                                     {"8100", "Discounts", "", false}}) {
      records::LedgerAccountRec r;
      r.SetAccountNumber(a.number);
      r.SetCaption(a.caption);
      r.SetSalesTaxCode(a.tax);
      r.SetIsCashOrBank(a.cash);
      accounts.push_back(r);
    }
    store.fs.SetFile(D + "ledger.vlk", Bytes(accounts));
    store.fs.SetFile(D + "customer.vlk", Bytes(std::vector<records::PartnerRec>{Customer(1, "Jansen"),
                                                                                 Customer(2, "Pietersen")}));
    store.fs.SetFile(D + "supplier.vlk", "");
    store.fs.SetFile(D + "invsum.vlk", "");
    store.fs.SetFile(D + "payment.vlk", "");
  }

  std::vector<records::InvoiceRec> Invoices() const {
    return support::Records<records::InvoiceRec>(store.fs.File(D + "invsum.vlk"));
  }
  std::vector<records::PaymentRec> Payments() const {
    return support::Records<records::PaymentRec>(store.fs.File(D + "payment.vlk"));
  }
  std::vector<records::JournalVoucherRec> Vouchers() const {
    return support::Records<records::JournalVoucherRec>(store.fs.File(D + "book.vlk"));
  }
  static std::string Amount(double v) { return text::FormatAmount(v, 2, 'Y'); }
  static void ExpectLine(const Tboeking& f, int line, const std::string& account, const std::string& debit,
                         const std::string& credit) {
    SCOPED_TRACE("line " + std::to_string(line + 1));
    EXPECT_EQ(f.Lines[line].Number.GetText(), account);
    EXPECT_EQ(f.Lines[line].Debit.GetText(), debit);
    EXPECT_EQ(f.Lines[line].Credit.GetText(), credit);
  }

  // ---- the phases of an invoice's road

  // A new invoice; the partner found by its name fills the invoice tab.
  static void EnterAnInvoice(Tboeking& f) {
    f.ComboBox3.UserSelect(0);  // customer invoices
    f.SpeedButton5.UserClick();
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    EXPECT_TRUE(f.SelectPartner.Enabled());
    EXPECT_FALSE(f.Search1.Enabled());
    f.Invoice.Edit4.UserFocus();
    f.Invoice.Edit4.UserSetText("jansen");
    f.Invoice.SpeedButton4.UserClick();
    ASSERT_EQ(f.Invoice.Edit20.GetText(), "1") << f.StatusBar1.PanelText(0);
    EXPECT_EQ(f.Invoice.Edit27.GetText(), "Jansen");
    EXPECT_EQ(f.Invoice.DateTimePicker5.Date(), platform::EncodeDate(2024, 5, 27));  // the partner's terms
    EXPECT_EQ(f.Invoice.DateTimePicker6.Date(), platform::EncodeDate(2024, 6, 16));
    f.Invoice.Edit7.UserFocus();
    f.Invoice.Edit7.UserSetText("1001");
    f.Invoice.Edit17.UserFocus();
    f.Invoice.Edit17.UserSetText("121");
    f.Invoice.Edit19.UserFocus();
    EXPECT_EQ(f.Invoice.Edit18.GetText(), Amount(0));
    EXPECT_EQ(f.Invoice.Edit57.GetText(), Amount(121));
    ASSERT_TRUE(f.AddInvoice.Enabled());
    f.Invoice.Button9.UserClick();
  }

  // Stored, and its voucher proposed: 121.00 D, 100.00 C, 21.00 C; the
  // voucher saved; listed with every invoice: booked.
  void BookTheInvoice(Tboeking& f) {
    ASSERT_EQ(Invoices().size(), 1u);
    EXPECT_EQ(Invoices()[0].InvoiceNumber(), "1001");
    EXPECT_EQ(Invoices()[0].VoucherDate(), "20240517");
    EXPECT_FALSE(Invoices()[0].VoucherCreated());
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabVoucher);
    EXPECT_EQ(f.Edit3.GetText(), "CUS1/1001");
    EXPECT_EQ(f.Edit6.GetText(), "20240517/CUS1/1001");
    ExpectLine(f, 0, "1300", Amount(121), "");
    ExpectLine(f, 1, "4000", "", Amount(100));
    ExpectLine(f, 2, "1600", "", Amount(21));
    ASSERT_TRUE(f.Opslaan.Enabled()) << f.StatusBar1.PanelText(0);
    f.Button5.UserClick();
    ASSERT_EQ(Vouchers().size(), 3u);
    EXPECT_TRUE(Invoices()[0].VoucherCreated());
    EXPECT_EQ(f.InvoiceState(), Tboeking::DocumentState::New);

    f.SpeedButton6.UserClick();
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoiceList);
    f.Invoice.CheckBox5.UserClick();
    f.Invoice.Image5.UserClick();
    EXPECT_EQ(f.Invoice.StringGrid2.Cell(3, 1), "1001");
    EXPECT_EQ(f.Invoice.StringGrid2.Cell(8, 1), "true");
    EXPECT_EQ(f.Invoice.StringGrid2.Cell(12, 1), Amount(121));
  }

  // A payment of 121.00 with the invoice ticked, and its voucher saved.
  void PayTheInvoice(Tboeking& f) {
    f.SpeedButton7.UserClick();
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabPayment);
    ASSERT_EQ(f.Payment.ComboBox6.ItemIndex(), 0);
    f.Payment.Edit8.UserFocus();
    f.Payment.Edit8.UserSetText("1");
    f.Payment.SpeedButton11.UserClick();
    ASSERT_EQ(f.Payment.Edit9.GetText(), "1");
    ASSERT_EQ(f.Payment.CheckListBox1.Items().size(), 1u);
    EXPECT_EQ(f.Payment.CheckListBox1.Items()[0].text, "20240517/1001/ 121.00 (0.00 )");
    f.Payment.Edit30.UserFocus();
    f.Payment.Edit30.UserSetText("121");
    f.Payment.Edit96.UserFocus();
    f.Payment.CheckListBox1.UserToggle(0);
    EXPECT_EQ(f.Payment.Edit69.GetText(), Amount(0));
    ASSERT_TRUE(f.AddPayment.Enabled());
    f.Payment.Button15.UserClick();
    ASSERT_EQ(Payments().size(), 1u);
    EXPECT_EQ(Payments()[0].PaymentNumber(), 1);
    EXPECT_EQ(f.Edit3.GetText(), "CUS1/1");
    ExpectLine(f, 0, "1000", Amount(121), "");
    ExpectLine(f, 1, "1300", "", Amount(121));
    EXPECT_EQ(f.Lines[1].Text.GetText(), "20240517/1001");
    ASSERT_TRUE(f.Opslaan.Enabled()) << f.StatusBar1.PanelText(0);
    f.Button5.UserClick();
    ASSERT_EQ(Vouchers().size(), 5u);
    EXPECT_DOUBLE_EQ(Invoices()[0].PaidAmount(), 121);
    EXPECT_TRUE(Payments()[0].VoucherCreated());
  }

  // From each voucher to its document.
  static void GoFromTheVouchersToTheDocuments(Tboeking& f) {
    f.leeslaatsterecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "CUS1/1001");
    ASSERT_TRUE(f.Button23.Visible());
    f.Button23.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    EXPECT_EQ(f.Invoice.Edit7.GetText(), "1001");
    EXPECT_EQ(f.InvoiceState(), Tboeking::DocumentState::LoadedBooked);
    EXPECT_EQ(f.Invoice.Edit17.GetText(), Amount(121));

    f.leeslaatsterecord.Execute();
    f.leesvorigrecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "CUS1/1");
    f.Button23.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabPayment);
    EXPECT_EQ(f.Payment.Edit80.GetText(), "1");
    EXPECT_EQ(f.PaymentState(), Tboeking::DocumentState::LoadedBooked);
    ASSERT_EQ(f.Payment.CheckListBox1.Items().size(), 1u);
    EXPECT_TRUE(f.Payment.CheckListBox1.Items()[0].checked);
  }

  // Deleting the payment's voucher gives the invoice its owing back.
  void DeleteThePaymentsVoucher(Tboeking& f) {
    f.leeslaatsterecord.Execute();
    f.leesvorigrecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "CUS1/1");
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.Button6.UserClick();
    EXPECT_EQ(Vouchers().size(), 3u);
    EXPECT_DOUBLE_EQ(Invoices()[0].PaidAmount(), 0);
    EXPECT_FALSE(Payments()[0].VoucherCreated());
  }
};

TEST_F(DocumentRoad, AnInvoiceIsBookedPaidAndUnpaid) {
  bool shown = false;
  backend.scripts["boeking"] = [&](ui::Form& form) {
    auto& f = static_cast<Tboeking&>(form);
    shown = true;
    ASSERT_NO_FATAL_FAILURE(EnterAnInvoice(f));
    ASSERT_NO_FATAL_FAILURE(BookTheInvoice(f));
    ASSERT_NO_FATAL_FAILURE(PayTheInvoice(f));
    ASSERT_NO_FATAL_FAILURE(GoFromTheVouchersToTheDocuments(f));
    DeleteThePaymentsVoucher(f);
  };
  ASSERT_TRUE(DoubleClick(TreeFunction::JournalVouchers));
  EXPECT_TRUE(shown);
  EXPECT_FALSE(store::FileSetOpen);
}

// An invoice number typed with blanks at its ends is stored without them;
// invoices an older file holds with such blanks are paid like any other:
// the payment's voucher raises their paid amount, so they do not stay open.
TEST_F(DocumentRoad, InvoiceNumbersWithBlanksArePaidNewAndAlreadyStored) {
  auto stored = [](const std::string& number) {
    records::InvoiceRec r;
    r.SetVoucherDate("20240510");
    r.SetInvoiceDate("20240510");
    r.SetDiscountDate("20240510");
    r.SetDueDate("20240510");
    r.SetPartnerType("CUS");
    r.SetPartnerNumber(2);
    r.SetInvoiceNumber(number);
    r.SetInvoiceAmount(121);
    r.SetVoucherCreated(true);
    return r;
  };
  store.fs.SetFile(D + "invsum.vlk", Bytes(std::vector<records::InvoiceRec>{stored(" 2002"), stored("2003 ")}));
  auto paid = [&](const std::string& number) {
    for (const records::InvoiceRec& r : Invoices())
      if (r.InvoiceNumber() == number) return r.PaidAmount();
    ADD_FAILURE() << "no invoice '" << number << "'";
    return -1.0;
  };
  backend.scripts["boeking"] = [&](ui::Form& form) {
    auto& f = static_cast<Tboeking&>(form);
    f.ComboBox3.UserSelect(0);

    // New: typed with blanks, stored, proposed and booked without them.
    f.SpeedButton5.UserClick();
    f.Invoice.Edit4.UserFocus();
    f.Invoice.Edit4.UserSetText("1");
    f.Invoice.SpeedButton4.UserClick();
    ASSERT_EQ(f.Invoice.Edit20.GetText(), "1");
    f.Invoice.Edit7.UserFocus();
    f.Invoice.Edit7.UserSetText(" 1001  ");
    f.Invoice.Edit17.UserFocus();
    f.Invoice.Edit17.UserSetText("121");
    f.Invoice.Edit19.UserFocus();
    f.Invoice.Button9.UserClick();
    EXPECT_EQ(f.Invoice.Edit7.GetText(), "1001");
    EXPECT_EQ(f.Edit3.GetText(), "CUS1/1001");
    ASSERT_TRUE(f.Opslaan.Enabled()) << f.StatusBar1.PanelText(0);
    f.Button5.UserClick();
    EXPECT_DOUBLE_EQ(paid("1001"), 0);

    // Each customer pays what is open.
    for (const auto& [partner, amount, count] : std::vector<std::tuple<std::string, std::string, int>>{
             {"1", "121", 1}, {"2", "242", 2}}) {
      SCOPED_TRACE("customer " + partner);
      f.SpeedButton7.UserClick();
      f.Payment.Edit8.UserFocus();
      f.Payment.Edit8.UserSetText(partner);
      f.Payment.SpeedButton11.UserClick();
      ASSERT_EQ(f.Payment.Edit9.GetText(), partner);
      ASSERT_EQ(f.Payment.CheckListBox1.Items().size(), static_cast<std::size_t>(count));
      f.Payment.Edit30.UserFocus();
      f.Payment.Edit30.UserSetText(amount);
      f.Payment.Edit96.UserFocus();
      for (int i = 0; i < count; ++i) f.Payment.CheckListBox1.UserToggle(i);
      ASSERT_TRUE(f.AddPayment.Enabled());
      f.Payment.Button15.UserClick();
      ASSERT_TRUE(f.Opslaan.Enabled()) << f.StatusBar1.PanelText(0);
      f.Button5.UserClick();
    }
    EXPECT_DOUBLE_EQ(paid("1001"), 121);
    EXPECT_DOUBLE_EQ(paid(" 2002"), 121);
    EXPECT_DOUBLE_EQ(paid("2003 "), 121);

    // Nothing is left open to be paid twice.
    f.SpeedButton7.UserClick();
    f.Payment.Edit8.UserFocus();
    f.Payment.Edit8.UserSetText("2");
    f.Payment.SpeedButton11.UserClick();
    EXPECT_TRUE(f.Payment.CheckListBox1.Items().empty());
  };
  ASSERT_TRUE(DoubleClick(TreeFunction::JournalVouchers));
  EXPECT_FALSE(store::FileSetOpen);
}

}  // namespace

namespace {

// A voucher whose document another copy deleted: the go-to-document button
// loads nothing (no neighbouring document either) and leaves the list
// filters the user set as they were.
TEST_F(DocumentRoad, GoingToADeletedDocumentLoadsNothingAndKeepsTheFilters) {
  bool shown = false;
  backend.scripts["boeking"] = [&](ui::Form& form) {
    auto& f = static_cast<Tboeking&>(form);
    shown = true;

    // Two booked invoices of one partner: 1001 and 1002.
    f.ComboBox3.UserSelect(0);
    for (const char* number : {"1001", "1002"}) {
      f.SpeedButton5.UserClick();
      f.Invoice.Edit4.UserFocus();
      f.Invoice.Edit4.UserSetText("jansen");
      f.Invoice.SpeedButton4.UserClick();
      ASSERT_EQ(f.Invoice.Edit20.GetText(), "1");
      f.Invoice.Edit7.UserFocus();
      f.Invoice.Edit7.UserSetText(number);
      f.Invoice.Edit17.UserFocus();
      f.Invoice.Edit17.UserSetText("121");
      f.Invoice.Edit19.UserFocus();
      f.Invoice.Button9.UserClick();
      ASSERT_TRUE(f.Opslaan.Enabled()) << f.StatusBar1.PanelText(0);
      f.Button5.UserClick();
    }
    ASSERT_EQ(Invoices().size(), 2u);
    ASSERT_EQ(Vouchers().size(), 6u);

    // The user's list filters: every invoice, the "All" box cleared.
    f.SpeedButton6.UserClick();
    f.Invoice.CheckBox5.UserClick();
    const bool everyInvoice = f.Invoice.CheckBox5.Checked();

    // Another copy deletes invoice 1001 (the older one, first in the file).
    std::vector<records::InvoiceRec> left = Invoices();
    ASSERT_EQ(left[0].InvoiceNumber(), "1001");
    left.erase(left.begin());
    store.fs.SetFile(D + "invsum.vlk", Bytes(left));

    // Its voucher is the first one saved.
    f.leeslaatsterecord.Execute();
    f.leesvorigrecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "CUS1/1001");
    const bool allJournals = f.CheckBox12.Checked();
    ASSERT_TRUE(f.Button23.Visible());
    f.Button23.UserClick();
    EXPECT_NE(f.InvoiceState(), Tboeking::DocumentState::LoadedBooked);
    EXPECT_NE(f.Invoice.Edit7.GetText(), "1002");  // never the neighbour
    EXPECT_EQ(f.Invoice.StringGrid2.Cell(3, 1), "");
    EXPECT_FALSE(f.Invoice.StringGrid2.Enabled());
    EXPECT_EQ(f.Invoice.CheckBox5.Checked(), everyInvoice);
    EXPECT_EQ(f.CheckBox12.Checked(), allJournals);

    // The list the user asks for next follows the user's filters again.
    f.SpeedButton6.UserClick();
    f.Invoice.Image5.UserClick();
    EXPECT_EQ(f.Invoice.StringGrid2.Cell(3, 1), "1002");
  };
  ASSERT_TRUE(DoubleClick(TreeFunction::JournalVouchers));
  EXPECT_TRUE(shown);
  EXPECT_FALSE(store::FileSetOpen);
}

}  // namespace
