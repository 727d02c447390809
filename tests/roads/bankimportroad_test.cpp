// The bank import's main road, end to end and headless: log in, open the
// journal form from the function tree, open the ";" statement (UTF-8 with
// its mark, decimal commas) through the dialog, Go, save a profile, Next and
// Run Import into the books of a supplier and a customer whose accounts are
// typed with blanks; a second Run Import adds nothing, and the statement
// opened again is named a probable duplicate row by row.
#include <gtest/gtest.h>

#include <string>
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
#include "store/fileset.h"
#include "store/session.h"
#include "support/bankbooks.h"
#include "support/journalform.h"
#include "support/program.h"
#include "support/records.h"

namespace {

using journal::Tboeking;
using program::TreeFunction;
using support::Bytes;
using support::Records;

const std::string D = "/w/data/ACME/";

class BankImportRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 5, 17) + platform::EncodeTime(9, 30, 15, 0)};
  platform::ScopedNumberFormat numbers{','};

  void SetUp() override {
    StartWithAcme();
    LogInToAcme();
    records::AdminSettingsRec s = support::MonthlyBookYear(2024);
    s.SetCurrentPeriod("01/12");
    s.SetSplitJournals("false");
    LogInAgainWith(s);
    // The books: bank 1000, debtors 130, creditors 1300; supplier 1 with an
    // open invoice of 121.00, customer 1 with one of 50.00.
    std::vector<records::LedgerAccountRec> accounts(3);
    accounts[0].SetAccountNumber("1000");
    accounts[0].SetCaption("Bank");
    accounts[0].SetIsCashOrBank(true);
    accounts[0].SetJournalName("Bank book");
    accounts[1].SetAccountNumber("130");
    accounts[1].SetCaption("Debtors");
    accounts[2].SetAccountNumber("1300");
    accounts[2].SetCaption("Creditors");
    store.fs.SetFile(D + "ledger.vlk", Bytes(accounts));
    store.fs.SetFile(D + "customer.vlk", Bytes({support::BankPartner(1, "CUS", "NL03 BANK 1111 2222", "130")}));
    store.fs.SetFile(D + "supplier.vlk", Bytes({support::BankPartner(1, "VEN", "nl02 bank 9876 5432", "1300")}));
    store.fs.SetFile(D + "invsum.vlk", Bytes({support::BankInvoice("VEN", 1, "2024-7", "20240102", 121),
                                              support::BankInvoice("CUS", 1, "S-1", "20240103", 50)}));
    store.fs.SetFile("/home/anne/statement.csv", support::StatementFixture("semicolon-utf8-crlf.csv"));
  }

  std::vector<records::PaymentRec> Pay() const { return Records<records::PaymentRec>(store.fs.File(D + "payment.vlk")); }
};

TEST_F(BankImportRoad, AStatementBecomesPaymentsAndTheMatchedOneIsBooked) {
  ASSERT_TRUE(program::LoginDone);
  bool shown = false;
  backend.scripts["boeking"] = [&](ui::Form& form) {
    auto& f = static_cast<Tboeking&>(form);
    shown = true;
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    auto openAndGo = [&] {
      backend.dialogAnswers.push_back("/home/anne/statement.csv");
      f.BankImport.Button8.UserClick();
      support::SplitSemicolonStatement(f);
    };
    openAndGo();
    ASSERT_EQ(f.BankImport.StringGrid4.RowCount(), 4);
    support::TypeSemicolonProfile(f, "My bank");
    EXPECT_EQ(f.BankImport.ComboBox9.GetText(), "1 : My bank");
    ASSERT_EQ(f.ComboBox4.GetText(), "1000{Bank}");

    backend.messages.clear();
    f.BankImport.Button25.UserClick();
    ASSERT_TRUE(backend.messages.empty()) << backend.messages[0].text;
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabMatchImport);
    f.BankImport.Button26.UserClick();
    EXPECT_EQ(f.BankImport.Edit117.GetText(), "Import payments         : 3");
    EXPECT_EQ(f.BankImport.Edit118.GetText(), "Counterparty found      : 1");
    EXPECT_EQ(f.BankImport.Edit119.GetText(), "Payments with JV        : 1");
    EXPECT_EQ(f.BankImport.Edit120.GetText(), "Payments without JV     : 2");

    const auto pay = Pay();
    ASSERT_EQ(pay.size(), 3u);
    EXPECT_EQ(pay[0].PartnerType(), "VEN");  // the matched supplier, booked
    EXPECT_TRUE(pay[0].VoucherCreated());
    EXPECT_EQ(pay[0].ChangedBy(), "SYSTEM");
    EXPECT_EQ(pay[1].PartnerType(), "REC");  // an unmatched credit
    EXPECT_EQ(pay[2].PartnerType(), "PAY");  // a debit to the customer's account
    const auto inv = Records<records::InvoiceRec>(store.fs.File(D + "invsum.vlk"));
    EXPECT_DOUBLE_EQ(inv[0].PaidAmount(), 121);
    EXPECT_DOUBLE_EQ(inv[1].PaidAmount(), 0);
    const auto jvo = Records<records::JournalVoucherRec>(store.fs.File(D + "book.vlk"));
    ASSERT_EQ(jvo.size(), 2u);
    EXPECT_EQ(jvo[0].VoucherDate(), "20240105");
    EXPECT_EQ(jvo[0].BookNumber(), "VEN1/1");

    // A second Run Import adds nothing.
    f.Button26Click();
    EXPECT_EQ(Pay().size(), 3u);
    // Opened again: Next names every row a probable duplicate.
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    openAndGo();
    backend.messages.clear();
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.BankImport.Button25.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_NE(backend.messages[0].text.find("3 rows equal a stored payment"), std::string::npos);
    ASSERT_TRUE(f.CurrentImport().has_value());
    EXPECT_TRUE(f.CurrentImport()->rows.empty());
    f.Close();
  };
  ASSERT_TRUE(DoubleClick(TreeFunction::JournalVouchers));
  EXPECT_TRUE(shown);
}

}  // namespace
