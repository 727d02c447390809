// The journal's main road, end to end and headless: log in, open the
// journal form from the function tree, save vouchers out of key order,
// browse them in key order (all journals and one journal), change one to
// fewer lines, delete one, save a template and load it again; the voucher
// and template files hold exactly the records the program writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/boekingstuk.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "records/importprofilerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/vouchertemplaterec.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "support/journalform.h"
#include "support/program.h"
#include "support/records.h"

namespace {

using journal::Tboeking;
using program::TreeFunction;
using support::Bytes;

const std::string D = "/w/data/ACME/";

// A stored line text: the text with 30 blanks, cut to its room.
std::string Padded(const std::string& s, std::size_t room) {
  return (s + std::string(30, ' ')).substr(0, std::min(room, s.size() + 30));
}

records::JournalVoucherRec Stored(const std::string& date, const std::string& number, const std::string& journalName,
                                  const std::string& text, const std::string& account, const std::string& caption,
                                  double debit, double credit, bool first) {
  records::JournalVoucherRec r;
  r.SetVoucherDate(date);
  r.SetBookNumber(number);
  r.SetJournalName(journalName);
  r.SetTransactionText(text);
  r.SetLineText(Padded("", 50));
  r.SetAccountNumber(Padded(account, 15));
  r.SetAccountCaption(Padded(caption, 30));
  r.SetCostCentre(Padded("", 20));
  r.SetPartnerNumber(first ? -1 : 0);
  r.SetDebitAmount(debit);
  r.SetCreditAmount(credit);
  r.SetChangedBy("SYSTEM");
  r.SetChangedAt(text::Cut(platform::DateTimeToText(platform::Now()), 20));
  return r;
}

class JournalRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 5, 17) + platform::EncodeTime(9, 30, 15, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  void SetUp() override {
    StartWithAcme();
    // The sales-tax rates as the system settings form keeps them.
    store::SystemParams.SetTaxRateName(0, "HIGH");
    store::SystemParams.SetTaxRate(0, 21);
    LogInToAcme();
    // The administration's settings as its settings form saved them, read
    // at the next log-in.
    records::AdminSettingsRec s = support::MonthlyBookYear(2024);
    s.SetCurrentPeriod("05/12");
    s.SetSplitJournals("true");
    s.SetSalesBookName("Sales");
    s.SetPurchaseBookName("Purchases");
    s.SetDayBookName("Memorial");
    LogInAgainWith(s);
    std::vector<records::LedgerAccountRec> accounts(3);
    accounts[0].SetAccountNumber("1000");
    accounts[0].SetCaption("Cash");
    accounts[0].SetIsCashOrBank(true);
    accounts[0].SetJournalName("Cash book");
    accounts[1].SetAccountNumber("4000");
    accounts[1].SetCaption("Sales");
    accounts[1].SetSalesTaxCode("HIGH");
    accounts[2].SetAccountNumber("8000");
    accounts[2].SetCaption("Rent");
    store.fs.SetFile(D + "ledger.vlk", Bytes(accounts));
  }

  static void Journal(Tboeking& f, const std::string& name) {
    f.ComboBox12.UserFocus();
    f.ComboBox12.UserSetText(name);
    f.Edit116.UserFocus();
  }
  static void SaveVoucher(Tboeking& f, int day, const std::string& number, const std::string& text,
                          const std::vector<std::pair<std::string, std::string>>& debits, const std::string& credit) {
    f.DateTimePicker2.UserSetDate(platform::EncodeDate(2024, 5, day));
    f.Edit3.UserSetText(number);
    f.Edit116.UserSetText(text);
    int line = 0;
    for (const auto& [account, amount] : debits) support::TypeVoucherLine(f, line++, account, amount, "");
    support::TypeVoucherLine(f, line, "4000", "", credit);
    ASSERT_TRUE(f.Opslaan.Enabled()) << number << ": " << f.StatusBar1.PanelText(0);
    f.Button5.UserClick();
    ASSERT_EQ(f.StatusBar1.PanelText(0), "") << number;
  }
  std::vector<records::JournalVoucherRec> Vouchers() const {
    return support::Records<records::JournalVoucherRec>(store.fs.File(D + "book.vlk"));
  }

  // ---- the road's phases

  // The form as the set-up leaves it: the purchase book chosen, the
  // set-up's tables: the sales-tax account with its rate, and the ten
  // profiles written into the empty profile file.
  void CheckTheFirstShowing(Tboeking& f) {
    EXPECT_EQ(f.ComboBox12.GetText(), "Purchases");
    EXPECT_EQ(f.ComboBox1.Count(), 4);
    EXPECT_EQ(journal::SalesTaxAccountTable, (std::vector<books::journal::SalesTaxAccount>{{"4000", "HIGH", 21}}));
    EXPECT_EQ(store.fs.File("/w/ifs.vlk").size(), 10u * records::ImportProfileRec::kSize);
    EXPECT_EQ(f.BankImport.ComboBox9.GetText(), "1 : ");
  }

  // The three vouchers as stored, in key order.
  static std::vector<records::JournalVoucherRec> TheThreeVouchers() {
    return {
        Stored("20240510", "P1", "Purchases", "Rent April", "8000", "Rent", 100, 0, true),
        Stored("20240510", "P1", "Purchases", "Rent April", "1000", "Cash", 50, 0, false),
        Stored("20240510", "P1", "Purchases", "Rent April", "4000", "Sales", 0, 150, false),
        Stored("20240515", "M1", "Memorial", "Correction", "1000", "Cash", 20, 0, true),
        Stored("20240515", "M1", "Memorial", "Correction", "4000", "Sales", 0, 20, false),
        Stored("20240520", "P2", "Purchases", "Rent May", "8000", "Rent", 300, 0, true),
        Stored("20240520", "P2", "Purchases", "Rent May", "4000", "Sales", 0, 300, false),
    };
  }

  // Three vouchers out of key order, in two journals.
  void SaveThreeVouchers(Tboeking& f) {
    SaveVoucher(f, 20, "P2", "Rent May", {{"8000", "300"}}, "300");
    SaveVoucher(f, 10, "P1", "Rent April", {{"8000", "100"}, {"1000", "50"}}, "150");
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    Journal(f, "Memorial");
    ASSERT_EQ(f.ComboBox12.GetText(), "Memorial");
    SaveVoucher(f, 15, "M1", "Correction", {{"1000", "20"}}, "20");
    EXPECT_EQ(store.fs.File(D + "book.vlk"), Bytes(TheThreeVouchers()));
  }

  // Browse every journal in key order from the last, then the purchase
  // book alone: M1 is passed over; previous at its first voucher keeps
  // that one shown.
  static void BrowseTheJournals(Tboeking& f) {
    f.CheckBox12.UserClick();
    ASSERT_TRUE(f.CheckBox12.Checked());
    f.leeslaatsterecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "P2");
    f.leesvorigrecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "M1");
    EXPECT_EQ(f.Label72.Caption(), "Memorial");
    f.leesvorigrecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "P1");
    f.leesvolgendrecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "M1");

    Journal(f, "Purchases");
    f.leeslaatsterecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "P2");
    f.leesvorigrecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "P1");
    f.leesvorigrecord.Execute();
    EXPECT_EQ(f.Edit3.GetText(), "P1");
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(10532));
  }

  // P1 to two lines: the file shrinks by one and the neighbours stay; then
  // P2 deleted.
  void ChangeP1AndDeleteP2(Tboeking& f) {
    f.Lines[1].Debit.UserFocus();
    f.Lines[1].Debit.UserSetText("");
    f.Lines[2].Credit.UserFocus();
    f.Lines[2].Credit.UserSetText("100");
    f.Lines[0].Text.UserFocus();
    ASSERT_TRUE(f.Opslaan.Enabled());
    f.Button5.UserClick();
    std::vector<records::JournalVoucherRec> changed = TheThreeVouchers();
    changed.erase(changed.begin() + 1);
    changed[1].SetCreditAmount(100);
    changed[1].SetLineText(Padded("", 50));
    EXPECT_EQ(store.fs.File(D + "book.vlk"), Bytes(changed));

    f.leeslaatsterecord.Execute();
    ASSERT_EQ(f.Edit3.GetText(), "P2");
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.Button6.UserClick();
    changed.resize(changed.size() - 2);
    EXPECT_EQ(store.fs.File(D + "book.vlk"), Bytes(changed));
  }

  // A template from the day book's lines, then loaded again.
  void SaveAndLoadATemplate(Tboeking& f) {
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    Journal(f, "Memorial");
    support::TypeVoucherLine(f, 0, "8000", "75", "");
    support::TypeVoucherLine(f, 1, "1000", "", "75");
    f.Button4.UserClick();
    f.Templates.Edit2.UserSetText("Monthly rent");
    f.Templates.Button1.UserClick();
    const auto templates = support::Records<records::VoucherTemplateRec>(store.fs.File(D + "booktemp.vlk"));
    ASSERT_EQ(templates.size(), 1u);
    EXPECT_EQ(templates[0].Name(), "Monthly rent");
    EXPECT_EQ(store.fs.File(D + "booktemp.vlk").size(), 3184u);
    EXPECT_EQ(templates[0].Line(1).AccountNumber(), "8000");
    EXPECT_EQ(templates[0].Line(1).DebitAmount(), 75);
    EXPECT_EQ(templates[0].Line(2).CreditAmount(), 75);
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.annuleren.Execute();
    EXPECT_EQ(f.Lines[0].Number.GetText(), "");
    f.ComboBox11.UserSelect(1);
    EXPECT_EQ(f.Lines[0].Number.GetText(), "8000");
    EXPECT_EQ(f.Lines[0].Caption.GetText(), "Rent");
    EXPECT_EQ(f.Lines[1].Credit.GetText(), text::FormatAmount(75, 2, 'Y'));
    f.Edit3.UserSetText("M2");
    EXPECT_TRUE(f.Opslaan.Enabled());
  }
};

TEST_F(JournalRoad, VouchersAndTemplatesFromTheFunctionTree) {
  ASSERT_TRUE(program::LoginDone);
  bool shown = false;
  backend.scripts["boeking"] = [&](ui::Form& form) {
    auto& f = static_cast<Tboeking&>(form);
    shown = true;
    CheckTheFirstShowing(f);
    ASSERT_NO_FATAL_FAILURE(SaveThreeVouchers(f));
    ASSERT_NO_FATAL_FAILURE(BrowseTheJournals(f));
    ASSERT_NO_FATAL_FAILURE(ChangeP1AndDeleteP2(f));
    SaveAndLoadATemplate(f);
  };
  ASSERT_TRUE(DoubleClick(TreeFunction::JournalVouchers));
  EXPECT_TRUE(shown);
  EXPECT_FALSE(store::FileSetOpen);
}

}  // namespace
