// The journal form's bank-import tabs driven headless: a statement opened
// through the dialog, split, a profile saved, Next and Run Import into the
// books of support/bankbooks.h; a second run and a second import; the
// grids after a shorter statement; the refusals of Go and Next; an
// interrupted run continued.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "journal/boekingstuk.h"
#include "platform/numberformat.h"
#include "records/importprofilerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/paymentrec.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/bankbooks.h"
#include "support/fakefs.h"
#include "support/formfixture.h"
#include "support/journalform.h"
#include "support/records.h"
#include "ui/headless.h"

namespace {

using journal::Tboeking;
using support::Records;

constexpr const char* kStatement = "/home/anne/statement.csv";

class BankImportForm : public ::testing::Test, public support::AdministrationFolder {
 protected:
  ui::HeadlessBackend backend;
  platform::ScopedNumberFormat numbers{','};
  Tboeking form;

  void SetUp() override {
    support::ReadyJournalForm(store);
    support::WriteBankBooks(store);
    store.fs.SetFile(kStatement, support::StatementFixture("semicolon-utf8-crlf.csv"));
  }

  void Show(const std::function<void(Tboeking&)>& body) {
    support::ShowAsTreeDoes(backend, form, "IFS;GLA;JVT", body);
  }

  // Opens `path` through the dialog and splits it with ";" and a header.
  void OpenAndGo(Tboeking& f, const std::string& path = kStatement) {
    backend.dialogAnswers.push_back(path);
    f.BankImport.Button8.UserClick();
    support::SplitSemicolonStatement(f);
  }

  // Types the profile of the ";" statement into profile 1 and saves it.
  static void TypeProfile(Tboeking& f) { support::TypeSemicolonProfile(f, "Bank ;"); }

  // "Add + JV" and Delete of the payment tab, buttons and menu items.
  static void ExpectPaymentButtons(const Tboeking& f, bool shown) {
    EXPECT_EQ(f.Payment.Button15.Visible(), shown);
    EXPECT_EQ(f.AddPayment1.Visible(), shown);
    EXPECT_EQ(f.DeletePayment1.Visible(), shown);
    if (!shown) {
      EXPECT_FALSE(f.Payment.Button21.Visible());
      EXPECT_FALSE(f.AddPayment.Enabled());
      EXPECT_FALSE(f.DeletePayment.Enabled());
    }
  }

  std::vector<records::PaymentRec> Pay() const { return Records<records::PaymentRec>(store.fs.File(support::kBankPay)); }
  std::vector<records::InvoiceRec> Inv() const { return Records<records::InvoiceRec>(store.fs.File(support::kBankInv)); }
  std::vector<records::JournalVoucherRec> Jvo() const {
    return Records<records::JournalVoucherRec>(store.fs.File(support::kBankJvo));
  }
};

// Three periods, the first (1 to 5 January) closed: period 2 starts on 6
// January.
void CloseTheFirstPeriod(records::AdminSettingsRec& s) {
  s.SetPeriodCount(3);
  s.SetPeriodStart(1, "20240101");
  s.SetPeriodStart(2, "20240106");
  s.SetPeriodStart(3, "20240201");
  s.SetLastClosedPeriod("01/03");
  s.SetCurrentPeriod("02/03");
}

TEST_F(BankImportForm, OpenGoSaveNextRunAndASecondImportNamesDuplicates) {
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    EXPECT_TRUE(f.BankImport.Panel9.Visible());
    EXPECT_EQ(f.BankImport.Edit91.GetText(), ",");
    EXPECT_EQ(f.BankImport.Edit109.GetText(), "1");
    EXPECT_EQ(f.BankImport.Edit110.GetText(), "");  // -1 is shown empty

    OpenAndGo(f);
    ASSERT_EQ(backend.dialogsShown.size(), 1u);
    EXPECT_EQ(backend.dialogsShown[0].defaultExtension, "csv");
    ASSERT_EQ(f.BankImport.StringGrid5.RowCount(), 4);
    EXPECT_EQ(f.BankImport.StringGrid5.Cell(0, 0), "Datum;Rekening;Tegenrekening;Naam;Af Bij;Bedrag;Omschrijving;");
    ASSERT_EQ(f.BankImport.StringGrid4.RowCount(), 4);
    ASSERT_EQ(f.BankImport.StringGrid4.ColCount(), 7);
    EXPECT_EQ(f.BankImport.StringGrid4.Cell(6, 0), "6");
    EXPECT_EQ(f.BankImport.StringGrid4.Cell(3, 1), "Caf\xE9 \"Zon\"");
    EXPECT_EQ(f.BankImport.StringGrid4.Cell(6, 1), "Invoice 2024-7; thanks");
    EXPECT_EQ(f.BankImport.StringGrid4.Cell(5, 2), "1.234,56");
    EXPECT_TRUE(f.BankImport.Button25.Enabled());

    TypeProfile(f);
    EXPECT_EQ(f.BankImport.ComboBox9.GetText(), "1 : Bank ;");
    const std::string ifs = store.fs.File(support::kBankIfs);
    ASSERT_EQ(ifs.size(), 10u * 116);
    EXPECT_EQ(ifs.substr(88, 4), std::string("\x05\x00\x00\x00", 4));
    EXPECT_EQ(ifs.substr(92 + 4, 4), std::string("\xFF\xFF\xFF\xFF", 4));  // narrative 2 empty: -1

    f.ComboBox4.SetItemIndex(0);
    f.BankImport.Button25.UserClick();
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabMatchImport);
    EXPECT_EQ(f.BankImport.Edit111.GetText(), "NL01BANK0123456789");
    EXPECT_EQ(f.BankImport.Edit114.GetText(), "1000{Bank}");
    EXPECT_EQ(f.BankImport.Edit115.GetText(), "P2024-");
    EXPECT_EQ(f.BankImport.Edit122.GetText(), "0001");
    EXPECT_EQ(f.BankImport.Edit121.GetText(), "");
    ASSERT_TRUE(f.BankImport.Button26.Enabled());

    f.BankImport.Button26.UserClick();
    EXPECT_EQ(f.BankImport.Edit117.GetText(), "Import payments         : 3");
    EXPECT_EQ(f.BankImport.Edit118.GetText(), "Counterparty found      : 1");
    EXPECT_EQ(f.BankImport.Edit119.GetText(), "Payments with JV        : 1");
    EXPECT_EQ(f.BankImport.Edit120.GetText(), "Payments without JV     : 2");
    EXPECT_EQ(f.BankImport.ImportProgressBar.Position(), 3);
    EXPECT_FALSE(f.BankImport.Button27.Visible());
    EXPECT_FALSE(f.BankImport.Button26.Enabled());
    EXPECT_NE(f.StatusBar1.PanelText(0).find("1 refunds without partner"), std::string::npos);
    EXPECT_EQ(f.StatusBar1.PanelText(0).find("<PAY02>"), std::string::npos);

    const auto pay = Pay();
    ASSERT_EQ(pay.size(), 3u);
    EXPECT_EQ(pay[0].PartnerType(), "VEN");
    EXPECT_TRUE(pay[0].VoucherCreated());
    EXPECT_EQ(pay[1].PartnerType(), "REC");
    EXPECT_EQ(pay[2].PartnerType(), "PAY");
    EXPECT_DOUBLE_EQ(Inv()[1].PaidAmount(), 121);
    EXPECT_EQ(Jvo().size(), 2u);

    // A second Run Import adds nothing and shows tab 8.
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    f.Button26Click();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabMatchImport);
    EXPECT_EQ(Pay().size(), 3u);

    // Opened again: Next names every row a probable duplicate; Yes leaves
    // them out, and the numbering goes on above the stored entry numbers.
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    backend.messages.clear();
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.BankImport.Button25.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_NE(backend.messages[0].text.find("3 rows equal a stored payment"), std::string::npos);
    EXPECT_NE(backend.messages[0].text.find("line 2\nline 3\nline 4"), std::string::npos);
    ASSERT_TRUE(f.CurrentImport().has_value());
    EXPECT_TRUE(f.CurrentImport()->rows.empty());
    EXPECT_EQ(f.BankImport.Edit121.GetText(), "P2024-0003");
    EXPECT_EQ(f.BankImport.Edit122.GetText(), "0004");
    EXPECT_FALSE(f.BankImport.Button26.Enabled());
  });
}

TEST_F(BankImportForm, AShorterSecondStatementShowsOnlyItsOwnRows) {
  store.fs.SetFile("/home/anne/short.csv", "a;b\r\nc;d\r\n");
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    ASSERT_EQ(f.BankImport.StringGrid4.RowCount(), 4);
    OpenAndGo(f, "/home/anne/short.csv");
    EXPECT_EQ(f.BankImport.StringGrid5.RowCount(), 2);
    ASSERT_EQ(f.BankImport.StringGrid4.RowCount(), 2);  // the heading and "c;d"
    EXPECT_EQ(f.BankImport.StringGrid4.ColCount(), 2);
    EXPECT_EQ(f.BankImport.StringGrid4.Cell(0, 1), "c");
    ASSERT_EQ(f.StatementRows().size(), 1u);
  });
}

TEST_F(BankImportForm, RefusalsOfOpenGoAndNext) {
  store.fs.SetFile("/home/anne/empty.csv", "\r\n\r\n");
  store.fs.SetFile("/home/anne/bad.csv",
                   "h0;h1;h2;h3;h4;h5\r\n05-01-2024;NL01;X;N;D;1\r\n31-02-2024;NL01;X;N;D;1\r\n05-01-2024;NL01;X;N;D;x\r\n"
                   "05-01-2024;NL02;X;N;D;1\r\n");
  store.fs.SetFile("/home/anne/open.csv", "h\r\n05-01-2024;\"NL01;x\r\n");
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    const int rows = f.BankImport.StringGrid4.RowCount();

    // A missing and an empty statement: one message each, nothing changes.
    for (const char* path : {"/home/anne/missing.csv", "/home/anne/empty.csv"}) {
      backend.messages.clear();
      backend.dialogAnswers.push_back(path);
      f.BankImport.Button8.UserClick();
      ASSERT_EQ(backend.messages.size(), 1u) << path;
      EXPECT_EQ(f.BankImport.StringGrid4.RowCount(), rows) << path;
    }
    // Go without a separator: a red status, the grid as it was.
    f.BankImport.Edit91.UserSetText("");
    f.BankImport.Button22.UserClick();
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_EQ(f.BankImport.StringGrid4.RowCount(), rows);

    // A qualifier left open names its line.
    OpenAndGo(f, "/home/anne/open.csv");
    EXPECT_EQ(f.StatusBar1.PanelText(0), "Line 2: a text qualifier is not closed");
    EXPECT_FALSE(f.BankImport.Button25.Enabled());

    // Bad rows: one message, their number in red, nothing prepared.
    OpenAndGo(f, "/home/anne/bad.csv");
    TypeProfile(f);
    backend.messages.clear();
    f.ComboBox4.SetItemIndex(-1);
    f.BankImport.Button25.UserClick();  // no cash account chosen
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_FALSE(f.CurrentImport().has_value());
    f.ComboBox4.SetItemIndex(0);
    f.BankImport.Button25.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text,
              "line 3: Non existing date\nline 4: the amount is no number\nline 5: another own account than the first row that reads");
    EXPECT_EQ(f.StatusBar1.PanelText(0), "3 rows cannot be imported");
    EXPECT_FALSE(f.CurrentImport().has_value());
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabPaymentImport);
  });
}

TEST_F(BankImportForm, ADamagedProfileFileIsNamedOnceAndRewrittenOnYes) {
  records::ImportProfileRec p;
  p.SetProfileNumber(1);
  p.SetProfileName("Old");
  p.SetDateColumn(-1);
  records::ImportProfileRec q = p;
  q.SetProfileNumber(12);
  const std::string damaged = support::Bytes(std::vector<records::ImportProfileRec>{p, q, p});
  store.fs.SetFile(support::kBankIfs, damaged);
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    f.TabControl1.UserSelectTab(books::journal::TabVoucher);
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_NE(backend.messages[0].text.find("ifs.vlk"), std::string::npos);
    EXPECT_EQ(f.BankImport.Edit108.GetText(), "Old");
    // No: nothing is written.
    backend.messageAnswers.push_back(ui::ModalResult::No);
    f.BankImport.Edit108.UserSetText("New");
    f.BankImport.Button24.UserClick();
    EXPECT_EQ(store.fs.File(support::kBankIfs), damaged);
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.BankImport.Button24.UserClick();
    const auto profiles = Records<records::ImportProfileRec>(store.fs.File(support::kBankIfs));
    ASSERT_EQ(profiles.size(), 10u);
    EXPECT_EQ(profiles[0].ProfileName(), "New");
    EXPECT_EQ(profiles[9].ProfileNumber(), 10);
    EXPECT_EQ(f.BankImport.ComboBox9.Count(), 10);
    EXPECT_EQ(f.BankImport.ComboBox9.GetText(), "1 : New");
  });
}

TEST_F(BankImportForm, RowsBeforeTheOpenPeriodAreNamedAndNoStopsNext) {
  // Period 1 (from 1 January) is closed; period 2 starts on 6 January.
  CloseTheFirstPeriod(journal::JournalAdminSettings);
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    TypeProfile(f);
    f.ComboBox4.SetItemIndex(0);
    ASSERT_EQ(f.LowestOpenDateYmd(), "20240106");
    backend.messageAnswers.push_back(ui::ModalResult::No);
    f.BankImport.Button25.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_NE(backend.messages[0].text.find("1 rows are dated before the first open day"), std::string::npos);
    EXPECT_FALSE(f.CurrentImport().has_value());
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.BankImport.Button25.UserClick();
    ASSERT_TRUE(f.CurrentImport().has_value());
    EXPECT_EQ(f.CurrentImport()->rows.size(), 2u);
    EXPECT_EQ(f.CurrentImport()->leftOut, 1);
  });
}

TEST_F(BankImportForm, AnInterruptedRunIsContinuedOrEnded) {
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    TypeProfile(f);
    f.ComboBox4.SetItemIndex(0);
    f.BankImport.Button25.UserClick();
    // The batch of all rows fails when PAY is synced and is put back (PAY
    // opened twice); its rows go one by one, and the second row's open of
    // PAY fails.
    store.fs.InjectError(support::kBankPay, support::FakeFileSystem::Op::Sync, 5, 1, 0);
    store.fs.InjectError(support::kBankPay, support::FakeFileSystem::Op::OpenReadWrite, 5, 1, 3);
    f.BankImport.Button26.UserClick();
    EXPECT_TRUE(f.BankImport.Button27.Visible());
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_NE(f.StatusBar1.PanelText(0).find("line 3"), std::string::npos);
    EXPECT_EQ(f.BankImport.Edit117.GetText(), "Import payments         : 1");
    EXPECT_EQ(Pay().size(), 1u);
    // Meanwhile the payment tab neither stores nor deletes, whatever is typed.
    f.SpeedButton7Click();
    f.Payment.ComboBox6.UserSelect(2);  // a receipt: Add + JV needs only an amount
    f.Payment.Edit30.UserSetText("5");
    ExpectPaymentButtons(f, false);
    f.TabControl1.UserSelectTab(books::journal::TabMatchImport);
    f.BankImport.Button27.UserClick();
    EXPECT_FALSE(f.BankImport.Button27.Visible());
    ExpectPaymentButtons(f, true);
    EXPECT_TRUE(f.AddPayment.Enabled());
    EXPECT_FALSE(f.DeletePayment.Enabled());  // a new payment has nothing to delete
    EXPECT_EQ(f.BankImport.Edit117.GetText(), "Import payments         : 3");
    EXPECT_EQ(Pay().size(), 3u);
    EXPECT_EQ(Jvo().size(), 2u);  // row 1's voucher only once

    // Ended instead of continued: the lines as far as it got.
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    backend.messageAnswers.push_back(ui::ModalResult::No);  // import the duplicates
    f.BankImport.Button25.UserClick();
    store.fs.InjectError(support::kBankPay, support::FakeFileSystem::Op::Sync, 5, 1, 0);
    store.fs.InjectError(support::kBankPay, support::FakeFileSystem::Op::OpenReadWrite, 5, 1, 3);
    f.BankImport.Button26.UserClick();
    ASSERT_TRUE(f.BankImport.Button27.Visible());
    // The payment tab's Cancel ends it.
    f.TabControl1.UserSelectTab(books::journal::TabPayment);
    f.Payment.Button16.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabMatchImport);
    EXPECT_FALSE(f.BankImport.Button27.Visible());
    EXPECT_EQ(f.BankImport.Edit117.GetText(), "Import payments         : 1");
    ExpectPaymentButtons(f, true);
    EXPECT_FALSE(f.EndInterruptedImport());
    // With no import left, Cancel is the payment tab's own again.
    f.TabControl1.UserSelectTab(books::journal::TabPayment);
    f.Payment.Button16.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabVoucher);
  });
}

TEST_F(BankImportForm, EveryWayIntoTheImportTabLoadsTheProfileAndDecidesGoAndNext) {
  Show([&](Tboeking& f) {
    f.SpeedButton9Click();  // the tool button selects the tab itself
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabPaymentImport);
    EXPECT_EQ(f.BankImport.Edit109.GetText(), "1");
    EXPECT_FALSE(f.BankImport.Button22.Enabled());
    EXPECT_FALSE(f.BankImport.Button25.Enabled());
    OpenAndGo(f);
    TypeProfile(f);
    f.BankImport.Edit108.UserSetText("typed, not saved");
    f.TabControl1.UserSelectTab(books::journal::TabVoucher);
    f.SpeedButton9Click();
    EXPECT_EQ(f.BankImport.Edit108.GetText(), "Bank ;");
    EXPECT_TRUE(f.BankImport.Button22.Enabled());
    EXPECT_TRUE(f.BankImport.Button25.Enabled());
  });
}

TEST_F(BankImportForm, TheRunBooksOnTheCashAccountChosenAndListsWhatIsLeftWithoutVoucher) {
  records::LedgerAccountRec cash;
  cash.SetAccountNumber("1010");
  cash.SetCaption("Cash");
  cash.SetIsCashOrBank(true);
  store.fs.SetFile(support::kBankGla, store.fs.File(support::kBankGla) + support::Bytes(cash));
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    TypeProfile(f);
    f.ComboBox4.SetItemIndex(0);
    f.BankImport.Button25.UserClick();
    ASSERT_EQ(f.BankImport.Edit114.GetText(), "1000{Bank}");
    const int other = f.ComboBox4.IndexOf("1010{Cash}");
    ASSERT_GE(other, 0);
    f.ComboBox4.UserSelect(other);
    EXPECT_EQ(f.BankImport.Edit114.GetText(), "1010{Cash}");
    f.BankImport.Button26.UserClick();
    const auto jvo = Jvo();
    ASSERT_EQ(jvo.size(), 2u);
    EXPECT_EQ(text::TrimTrailingBlanks(jvo[0].AccountNumber()), "1010");
    EXPECT_EQ(text::TrimTrailingBlanks(jvo[0].AccountCaption()), "Cash");

    // The match tab's button lists the two payments left without voucher.
    f.BankImport.Button28.UserClick();
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabPaymentList);
    EXPECT_TRUE(f.Payment.CheckBox7.Checked());
    ASSERT_EQ(f.Payment.StringGrid3.RowCount(), 3);
    EXPECT_EQ(f.Payment.StringGrid3.Cell(15, 1), "false");
    EXPECT_EQ(f.Payment.StringGrid3.Cell(15, 2), "false");
  });
}

}  // namespace

namespace {

// An entry number is at most 10 characters: a prefix that leaves too little
// room for the last row's counter is refused at Run Import and at Next,
// and nothing is stored.
TEST_F(BankImportForm, EntryNumbersOverTenCharactersAreRefusedBeforeAnythingIsStored) {
  const std::string pay = store.fs.File(support::kBankPay);
  const std::string jvo = store.fs.File(support::kBankJvo);
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    TypeProfile(f);
    f.ComboBox4.SetItemIndex(0);
    f.BankImport.Button25.UserClick();
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabMatchImport);
    ASSERT_TRUE(f.BankImport.Button26.Enabled());

    // "PAYM2024-" and "0001" make 13 characters.
    f.BankImport.Edit115.UserFocus();
    f.BankImport.Edit115.UserSetText("PAYM2024-");
    f.BankImport.Button26.UserClick();
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    const std::string says =
        "the entry numbers need 4 digits: the prefix may have at most 6 characters, now \"PAYM2024-\"";
    EXPECT_EQ(f.StatusBar1.PanelText(0), says);
    EXPECT_EQ(store.fs.File(support::kBankPay), pay);
    EXPECT_EQ(store.fs.File(support::kBankJvo), jvo);

    // Next again keeps the typed prefix, and refuses it as well.
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    f.BankImport.Button25.UserClick();
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_EQ(f.StatusBar1.PanelText(0), says);
    EXPECT_EQ(store.fs.File(support::kBankPay), pay);
  });
}

}  // namespace

namespace {

// The profile number shown must be one of the ten: Next and Save setting
// refuse any other with one message and change nothing.
TEST_F(BankImportForm, AProfileNumberOutsideOneToTenIsRefusedByNextAndSave) {
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    TypeProfile(f);
    f.ComboBox4.SetItemIndex(0);
    const std::string ifs = store.fs.File(support::kBankIfs);
    for (const char* number : {"", "0", "11", "x"}) {
      SCOPED_TRACE(number);
      f.BankImport.Edit109.SetText(number);
      backend.messages.clear();
      f.BankImport.Button25.UserClick();
      ASSERT_EQ(backend.messages.size(), 1u);
      EXPECT_NE(backend.messages[0].text.find("1 to 10"), std::string::npos) << backend.messages[0].text;
      EXPECT_FALSE(f.CurrentImport().has_value());
      EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabPaymentImport);
      backend.messages.clear();
      f.BankImport.Button24.UserClick();
      ASSERT_EQ(backend.messages.size(), 1u);
      EXPECT_EQ(store.fs.File(support::kBankIfs), ifs);
    }
  });
}

}  // namespace

namespace {

// With the default prefix "P2024-" and a stored "P2024-9999", the next
// entry numbers need 5 digits: Next says how short the prefix must be,
// stores nothing, and goes on once the prefix field holds a shorter one.
// The stored number stays as it is.
TEST_F(BankImportForm, NextSaysHowShortThePrefixMustBeAndTakesAShorterOne) {
  records::PaymentRec old;
  old.SetValueDate("20231201");
  old.SetPartnerType("REC");
  old.SetEntryNumber("P2024-9999");
  old.SetAmount(1);
  const std::string pay = support::Bytes(old);
  store.fs.SetFile(support::kBankPay, pay);
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    TypeProfile(f);
    f.ComboBox4.SetItemIndex(0);
    f.BankImport.Button25.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0),
              "the entry numbers need 5 digits: the prefix may have at most 5 characters, now \"P2024-\"");
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_FALSE(f.CurrentImport().has_value());
    EXPECT_EQ(f.BankImport.Edit115.GetText(), "P2024-");
    EXPECT_EQ(store.fs.File(support::kBankPay), pay);

    f.TabControl1.UserSelectTab(books::journal::TabMatchImport);
    f.BankImport.Edit115.UserSetText("P24-");
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    f.BankImport.Button25.UserClick();
    ASSERT_TRUE(f.CurrentImport().has_value());
    EXPECT_EQ(f.TabControl1.TabIndex(), books::journal::TabMatchImport);
    EXPECT_EQ(f.BankImport.Edit115.GetText(), "P24-");
    EXPECT_EQ(f.BankImport.Edit122.GetText(), "0001");
    f.BankImport.Button26.UserClick();
    const auto payments = Pay();
    ASSERT_EQ(payments.size(), 4u);
    EXPECT_EQ(payments[0].EntryNumber(), "P2024-9999");
  });
}

// Rows are checked against the lowest open date the voucher store refuses
// by, read from the settings file at Next, not only against the form's
// copy: a row the store would refuse a voucher for is named, and on Yes
// left out, so no payment is stored that can never get its voucher. With
// nothing frozen the store takes any day, so a row before the book year's
// start is stored with its voucher.
TEST_F(BankImportForm, NoPaymentIsStoredWhoseVoucherTheStoreWouldRefuse) {
  store.fs.SetFile("/home/anne/early.csv", "h0;h1;h2;h3;h4;h5;h6\r\n"
                                           "29-12-2023;NL01;NL02BANK98765432;Supplier;D;121,00;2024-7\r\n");
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f, "/home/anne/early.csv");
    TypeProfile(f);
    f.ComboBox4.SetItemIndex(0);
    f.BankImport.Button25.UserClick();
    EXPECT_TRUE(backend.messages.empty());
    f.BankImport.Button26.UserClick();
    ASSERT_EQ(Pay().size(), 1u);
    EXPECT_EQ(Pay()[0].ValueDate(), "20231229");
    EXPECT_TRUE(Pay()[0].VoucherCreated());
    EXPECT_EQ(Jvo().size(), 2u);
  });
  // Another copy closed period 1 (to 6 January); this form's copy still
  // shows nothing frozen.
  store.fs.SetFile(support::kBankPay, "");
  store.fs.SetFile(support::kBankJvo, "");
  records::AdminSettingsRec closed = journal::JournalAdminSettings;
  CloseTheFirstPeriod(closed);
  store.fs.SetFile("/d/ACME/adminset.vlk", support::Bytes(closed));
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    OpenAndGo(f);
    TypeProfile(f);
    f.ComboBox4.SetItemIndex(0);
    ASSERT_EQ(f.LowestOpenDateYmd(), "19000101");
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.BankImport.Button25.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_NE(backend.messages[0].text.find("1 rows are dated before the first open day"), std::string::npos);
    EXPECT_NE(backend.messages[0].text.find("line 2"), std::string::npos);
    ASSERT_TRUE(f.CurrentImport().has_value());
    EXPECT_EQ(f.CurrentImport()->rows.size(), 2u);
    EXPECT_EQ(f.CurrentImport()->lowestOpenDate, "20240106");  // the run's voucher check too
    f.BankImport.Button26.UserClick();
    for (const auto& p : Pay()) EXPECT_GE(p.ValueDate(), "20240106");
    EXPECT_EQ(Pay().size(), 2u);
  });
}

// Next names every row with more fields than the header line: an unquoted
// "121,50" under a comma separator; the header left in fails alone, with
// the hint to tick "exclude first row".
TEST_F(BankImportForm, NextNamesShiftedColumnsAndAHeaderLeftIn) {
  store.fs.SetFile("/home/anne/comma.csv", "Date,Own,Other,Name,DC,Amount\r\n"
                                           "05-01-2024,NL01,X,N,D,121,50\r\n05-01-2024,NL01,X,N,D,7\r\n");
  Show([&](Tboeking& f) {
    f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
    backend.dialogAnswers.push_back("/home/anne/comma.csv");
    f.BankImport.Button8.UserClick();
    f.BankImport.Edit91.UserSetText(",");
    if (!f.BankImport.CheckBox15.Checked()) f.BankImport.CheckBox15.UserClick();
    f.BankImport.Button22.UserClick();
    TypeProfile(f);
    f.BankImport.ImportNarrativeEdits[0].UserSetText("");
    f.BankImport.Button24.UserClick();
    f.ComboBox4.SetItemIndex(0);
    f.BankImport.Button25.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text, "line 2: 7 fields, more than the 6 of the header line");
    EXPECT_FALSE(f.CurrentImport().has_value());

    // The ";" statement with its header left in.
    backend.messages.clear();
    backend.dialogAnswers.push_back(kStatement);
    f.BankImport.Button8.UserClick();
    f.BankImport.Edit91.UserSetText(";");
    f.BankImport.CheckBox15.UserClick();
    ASSERT_FALSE(f.BankImport.CheckBox15.Checked());
    f.BankImport.Button22.UserClick();
    TypeProfile(f);
    f.BankImport.Button25.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text, "line 1: Non existing date; row 1 may be a header: tick exclude first row");
    EXPECT_FALSE(f.CurrentImport().has_value());
  });
}

}  // namespace
