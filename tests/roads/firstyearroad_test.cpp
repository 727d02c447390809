// A bookkeeper's first year, end to end and headless, through the forms'
// own handlers only: the first start in an empty working folder and its
// system settings, a new administration with book year 2026 in twelve
// months, its categories, accounts and partners, the opening balances as
// the accounts' start amounts, the trial balance and freeze of period 00,
// January's vouchers, invoices, payment and bank statement, the six reports
// of January, January's freeze, the ';' export of every kind and the audit
// file. Every figure checked is worked out by hand in the comments beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "journal/boekingstuk.h"
#include "masterdata/Administrationsunit.h"
#include "masterdata/Ledgerunit.h"
#include "masterdata/adminsettings.h"
#include "masterdata/ledgercatunit.h"
#include "masterdata/unitpartners.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "program/startschermunit.h"
#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgercategoryrec.h"
#include "records/ledgeraccountrec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "reports/Rapport1unit.h"
#include "reports/impexp.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "support/program.h"
#include "support/records.h"
#include "support/reportbook.h"
#include "support/journalform.h"
#include "support/schemacheck.h"
#include "system/systemscreen.h"

namespace {

using program::TreeFunction;

const std::string W = "/w/";
const std::string D = "/w/data/ACME/";

std::string Amount(double v) { return text::FormatAmount(v, 2, 'Y'); }

// The word of an export kind in the export form's list, "1" to "9".
std::string ExportKindWord(const std::string& digit) {
  const int offsets[] = {0, 8493, 8519, 8545, 8571, 8602, 8628, 8654, 0, 8680};
  return text::L(offsets[std::stoi(digit)]);
}

class FirstYearRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2026, 2, 10) + platform::EncodeTime(9, 0, 0, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  template <class R>
  std::vector<R> Records(const std::string& name) const {
    return support::Records<R>(store.fs.File(D + name));
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const auto& m : backend.messages) out.push_back(m.text);
    backend.messages.clear();
    return out;
  }

  // The first start in the empty working folder: the system settings come
  // first (the sales-tax rate HIGH 21 % by product typed in), then the log-in without
  // an administration, the administrations form makes ACME, and the log-in
  // to it.
  void FirstStartAndNewAdministration() {
    backend.scripts["systemscherm"] = [](ui::Form& form) {
      auto& f = static_cast<systemforms::Tsystemscherm&>(form);
      f.CheckBox4.UserClick();  // rates by product or service
      f.NameEdit(0)->UserFocus();
      f.NameEdit(0)->UserSetText("HIGH");
      f.RateEdit(0)->UserFocus();
      f.RateEdit(0)->UserSetText("21");
      f.Button2.UserClick();
      EXPECT_FALSE(f.Showing()) << f.StatusBar1.PanelText(0);
    };
    // The set-up script puts the shipped report templates in the working
    // folder.
    for (const auto& [name, text] : support::ShippedReportTemplates()) store.fs.SetFile(W + name, text);
    Start();
    backend.scripts.erase("systemscherm");
    ASSERT_TRUE(store.fs.HasFile(W + "sysparm010000.vlk"));
    program::TStartscherm& s = Screen();
    ASSERT_TRUE(s.Panel1.Visible());
    s.Button1.UserClick();  // nobody is asked: the system functions
    ShowFromTree<masterdata::TAdministrations>(TreeFunction::Administrations, "Administrations",
                                               [](masterdata::TAdministrations& a) {
                                                 a.Edit1.UserSetText("ACME");
                                                 a.Edit2.UserSetText("Acme Ltd");
                                                 a.Image3.UserClick();
                                                 a.Save2.UserClick();
                                               });
    ASSERT_TRUE(s.Panel1.Visible());
    ASSERT_EQ(s.ComboBox1.GetText(), "Acme Ltd");
    s.Button1.UserClick();
    ASSERT_EQ(store::CurrentAdministrationCode, "ACME");
    ASSERT_TRUE(Messages().empty());
  }

  // The administration settings: book year 2026 in twelve months, journals
  // not split; `profit` the profit account when not empty.
  void Settings(const std::string& profit) {
    ShowFromTree<masterdata::Tadministrationsetting>(
        TreeFunction::AdministrationSettings, "administrationsetting", [&](masterdata::Tadministrationsetting& f) {
          f.Edit1.UserSetText("Acme Ltd");
          f.Edit22.UserSetText("NL001234567B01");  // the tax registration the audit file names
          f.TabControl1.UserSelectTab(1);
          f.Edit23.UserSetText("2026");             // the fiscal year
          if (f.DateTimePicker1.Enabled()) f.DateTimePicker1.UserSetDate(platform::EncodeDate(2026, 1, 1));
          if (f.ComboBox1.Enabled()) f.ComboBox1.UserSelect(11);  // "12"
          if (f.CheckBox13.Checked()) f.CheckBox13.UserClick();
          if (!profit.empty()) {
            f.ComboBox2.UserFocus();
            for (int i = 0; i < f.ComboBox2.Count(); ++i)
              if (f.ComboBox2.Items()[static_cast<std::size_t>(i)].text.starts_with(profit + "{")) f.ComboBox2.UserSelect(i);
            f.Edit23.UserFocus();
          }
          f.Button1.UserClick();
          EXPECT_FALSE(f.Showing()) << f.StatusBar1.PanelText(0);
        });
  }
  // The GL categories: two of the balance sheet first, then two of profit
  // and loss. A category is posted at the selected row, above the rows
  // posted before it: the last one first.
  void Categories() {
    ShowFromTree<masterdata::TLedgercategory>(TreeFunction::GLCategories, "Ledgercategory",
                                              [](masterdata::TLedgercategory& f) {
                                                for (const char* name : {"Expenses", "Revenue"}) {
                                                  f.RadioButton2.UserClick();
                                                  f.Edit1.UserSetText(name);
                                                  f.Image3.UserClick();
                                                }
                                                for (const char* name : {"Equity and liabilities", "Assets"}) {
                                                  f.RadioButton1.UserClick();
                                                  f.Edit1.UserSetText(name);
                                                  f.Image3.UserClick();
                                                }
                                                f.Save2.UserClick();
                                                EXPECT_FALSE(f.Showing()) << f.StatusBar1.PanelText(0);
                                              });
  }

  struct Account {
    const char* number;
    const char* caption;
    const char* category;
    char type;              // P, T, D or C
    const char* start;      // the start amount typed, "" for none
    int function;           // item of the function list, 0 for none
    const char* tax;        // sales-tax name, "" for none
    const char* journal;    // cash or bank journal, "" for none
  };

  // The accounts, each posted on the GL accounts form and saved at once.
  // A new account starts the day before the book year, so its start
  // amount is an opening balance.
  void Accounts(const std::vector<Account>& accounts) {
    ShowFromTree<masterdata::TLedger>(TreeFunction::GLAccounts, "Ledger", [&](masterdata::TLedger& f) {
      for (const Account& a : accounts) {
        SCOPED_TRACE(a.number);
        f.MaskEdit1.UserFocus();
        f.MaskEdit1.UserSetText(a.number);
        f.Edit5.UserFocus();
        f.Edit5.UserSetText(a.caption);
        f.ComboBox1.UserFocus();
        f.ComboBox1.UserSetText(a.category);
        f.Edit5.UserFocus();
        ui::RadioButton* type[] = {&f.RadioButton1, &f.RadioButton2, &f.RadioButton3, &f.RadioButton4};
        type[std::string("PTDC").find(a.type)]->UserClick();
        EXPECT_EQ(text::DateToYmd(f.DateTimePicker1.Date()), "20251231");
        if (*a.start) {
          f.MaskEdit2.UserFocus();
          f.MaskEdit2.UserSetText(a.start);
          f.Edit5.UserFocus();
        }
        if (a.function) {
          f.ComboBox3.UserFocus();
          f.ComboBox3.UserSelect(a.function);
          f.Edit5.UserFocus();
        }
        if (*a.tax) {
          f.ComboBox2.UserFocus();
          f.ComboBox2.UserSetText(a.tax);
          f.Edit5.UserFocus();
        }
        if (*a.journal) {
          f.CheckBox1.UserClick();
          f.Edit7.UserSetText(a.journal);
        }
        f.PostImage.UserClick();
        EXPECT_EQ(f.StatusBar1.PanelText(0), "");
      }
      f.Button1.UserClick();
      EXPECT_FALSE(f.Showing()) << f.StatusBar1.PanelText(0);
    });
  }

  // A customer (kind 0) or supplier (kind 1) with its bank account, the
  // default accounts of its kind and the terms: 2 % cash discount within
  // 10 days, 30 days net. The first of a kind asks for the start value: 1.
  void Partner(int kind, const std::string& name, const std::string& bank) {
    ShowFromTree<masterdata::Tpartners2>(TreeFunction::Partners, "partners2", [&](masterdata::Tpartners2& f) {
      f.ComboBox2.UserSelect(kind);
      f.Button4.UserClick();
      f.details.Edit1.UserSetText(name);
      f.TabControl1.UserSelectTab(books::partners::TabDetails2);
      f.details.Edit20.UserSetText(bank);
      f.details.Edit37.UserSetText("10");
      f.details.Edit38.UserSetText("2");
      f.details.Edit39.UserSetText("30");
      f.details.Button12.UserClick();
      f.Button5.UserClick();
      if (!backend.messages.empty()) {  // the start value is asked for
        backend.messages.clear();
        f.details.Edit26.UserSetText("1");
        f.Button5.UserClick();
      }
      EXPECT_TRUE(backend.messages.empty()) << backend.messages.front().text;
      EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    });
  }
  // ---- the journal form

  static void SaveProposal(journal::Tboeking& f) {
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabVoucher);
    ASSERT_TRUE(f.Opslaan.Enabled()) << f.Edit3.GetText() << ": " << f.StatusBar1.PanelText(0);
    f.Button5.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), "") << f.Edit3.GetText();
  }
  // An invoice of `kind` (0 customer, 1 supplier) for the partner found by
  // `name`, dated 2026-01-`day`, `gross` including 21 % sales tax; its
  // proposed voucher saved.
  static void Invoice(journal::Tboeking& f, int kind, const std::string& name, const std::string& number, int day,
                      const std::string& gross) {
    SCOPED_TRACE(number);
    f.ComboBox3.UserSelect(kind);
    f.SpeedButton5.UserClick();
    ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabInvoice);
    f.Invoice.Edit4.UserFocus();
    f.Invoice.Edit4.UserSetText(name);
    f.Invoice.SpeedButton4.UserClick();
    ASSERT_NE(f.Invoice.Edit20.GetText(), "") << f.StatusBar1.PanelText(0);
    f.Invoice.DateTimePicker3.UserSetDate(platform::EncodeDate(2026, 1, day));
    f.Invoice.DateTimePicker4.UserSetDate(platform::EncodeDate(2026, 1, day));
    f.Invoice.Edit7.UserFocus();
    f.Invoice.Edit7.UserSetText(number);
    f.Invoice.Edit17.UserFocus();
    f.Invoice.Edit17.UserSetText(gross);
    f.Invoice.Edit19.UserFocus();
    ASSERT_TRUE(f.AddInvoice.Enabled()) << f.StatusBar1.PanelText(0);
    f.Invoice.Button9.UserClick();
    SaveProposal(f);
  }

  // January in the journal form: an ordinary voucher, three sales invoices
  // and two purchase invoices with their vouchers (one of each left open), and the first customer's
  // payment within the discount days.
  void January() {
    ShowFromTree<journal::Tboeking>(TreeFunction::JournalVouchers, "boeking", [&](journal::Tboeking& f) {
      // The office rent, paid from the bank.
      f.DateTimePicker2.UserSetDate(platform::EncodeDate(2026, 1, 5));
      f.Edit3.UserSetText("M1");
      f.Edit116.UserSetText("Office rent January");
      support::TypeVoucherLine(f, 0, "4000", "500", "");
      support::TypeVoucherLine(f, 1, "1000", "", "500");
      SaveProposal(f);

      Invoice(f, 0, "jansen", "2026-001", 10, "1210");
      Invoice(f, 1, "office", "INV-77", 12, "605");
      Invoice(f, 0, "vries", "2026-002", 14, "242");

      // Jansen pays on the 15th, within the ten discount days: 1,210.00
      // less 2 % (24.20, of which 4.20 sales tax) is 1,185.80.
      f.SpeedButton7.UserClick();
      ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabPayment);
      f.Payment.ComboBox6.UserSelect(0);
      f.Payment.Edit8.UserFocus();
      f.Payment.Edit8.UserSetText("1");  // the payment tab finds a partner by its number
      f.Payment.SpeedButton11.UserClick();
      ASSERT_EQ(f.Payment.Edit9.GetText(), "1");
      f.Payment.DateTimePicker7.UserSetDate(platform::EncodeDate(2026, 1, 15));
      ASSERT_EQ(f.Payment.CheckListBox1.Items().size(), 1u);
      EXPECT_EQ(f.Payment.CheckListBox1.Items()[0].text, "20260110/2026-001/ 1,210.00 (24.20 )");
      f.Payment.Edit30.UserFocus();
      f.Payment.Edit30.UserSetText("1185.80");
      f.Payment.Edit96.UserFocus();
      f.Payment.CheckListBox1.UserToggle(0);
      ASSERT_TRUE(f.AddPayment.Enabled()) << f.StatusBar1.PanelText(0);
      f.Payment.Button15.UserClick();
      SaveProposal(f);

      Invoice(f, 1, "paper", "P-100", 28, "121");
      Invoice(f, 0, "jansen", "2026-003", 30, "363");
    });
  }

  // The bank statement of January: the purchase invoice paid and the
  // second sales invoice received, each found by the partner's bank
  // account and booked.
  void BankStatement() {
    store.fs.SetFile("/home/anne/january.csv",
                     "Date;Account;Counterparty;Name;Debit Credit;Amount;Narrative;\r\n"
                     "20-01-2026;NL99BANK0000000099;NL03BANK0000000003;Office Supplies Ltd;D;605,00;INV-77;\r\n"
                     "25-01-2026;NL99BANK0000000099;NL02BANK0000000002;De Vries Shop;C;242,00;2026-002;\r\n");
    ShowFromTree<journal::Tboeking>(TreeFunction::JournalVouchers, "boeking", [&](journal::Tboeking& f) {
      f.TabControl1.UserSelectTab(books::journal::TabPaymentImport);
      backend.dialogAnswers.push_back("/home/anne/january.csv");
      f.BankImport.Button8.UserClick();
      support::SplitSemicolonStatement(f);
      ASSERT_EQ(f.BankImport.StringGrid4.RowCount(), 3);
      support::TypeSemicolonProfile(f, "Our bank");
      ASSERT_EQ(f.ComboBox4.GetText(), "1000{Bank}");
      f.BankImport.Button25.UserClick();
      ASSERT_TRUE(backend.messages.empty()) << backend.messages[0].text;
      ASSERT_EQ(f.TabControl1.TabIndex(), books::journal::TabMatchImport);
      f.BankImport.Button26.UserClick();
      EXPECT_EQ(f.BankImport.Edit117.GetText(), "Import payments         : 2");
      EXPECT_EQ(f.BankImport.Edit119.GetText(), "Payments with JV        : 2");
    });
  }
  // ---- the report form

  // Opens the reports node; `script` runs at each showing of the report
  // form (its argument counts the showings from 0).
  void Reports(const std::function<void(reports::TRapport1&, int)>& script) {
    int showing = 0;
    backend.scripts["Rapport1"] = [&](ui::Form& f) { script(static_cast<reports::TRapport1&>(f), showing++); };
    ASSERT_TRUE(DoubleClick(TreeFunction::Reports));
    backend.scripts.erase("Rapport1");
    EXPECT_GT(showing, 0);
    EXPECT_FALSE(store::FileSetOpen);
  }
  // Generates report `kind` (0 trial balance ... 5 creditors) and gives
  // its text; the two balance reports through their preview.
  static std::string Report(reports::TRapport1& f, int kind) {
    f.ComboBox4.UserFocus();
    f.ComboBox4.UserSelect(kind);
    f.Button1.UserClick();
    if (kind < 2) f.ToolButton2.UserClick();
    return f.RichEdit1.Document().PlainText();
  }
  // The trial balance's row of `account`: its columns 1 to 6.
  static std::vector<std::string> GridRow(const reports::TRapport1& f, const std::string& account) {
    for (int r = 1; r < f.StringGrid1.RowCount(); ++r)
      if (f.StringGrid1.Cell(0, r).starts_with(account)) {
        std::vector<std::string> cells;
        for (int c = 1; c <= 6; ++c) cells.push_back(f.StringGrid1.Cell(c, r));
        return cells;
      }
    return {};
  }
  static std::vector<std::string> TotalRow(const reports::TRapport1& f) { return GridRow(f, std::string(23, ' ') + "TOTAL"); }
  // The freeze of the open period from the balance sheet, answered Yes.
  static void Freeze(reports::TRapport1& f) {
    Report(f, 1);
    ASSERT_TRUE(f.freezeperiode.Enabled()) << f.StatusBar1.PanelText(0);
    f.ToolButton5.UserClick();
  }
  static bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

  // ---- the road's phases

  // The first start, the administration ACME and its settings: book year
  // 2026 in twelve months, the opening period 00 current.
  void SetUpTheAdministration() {
    FirstStartAndNewAdministration();
    Settings("");
    const auto settings = Records<records::AdminSettingsRec>("adminset.vlk");
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(settings[0].BookYearStart(), "20260101");
    EXPECT_EQ(settings[0].BookYearEnd(), "20261231");
    EXPECT_EQ(settings[0].PeriodCount(), 12);
    EXPECT_EQ(settings[0].CurrentPeriod(), "00/00");
    EXPECT_EQ(settings[0].PeriodStart(2), "20260201");
  }

  // The categories and accounts, then the profit account in the settings.
  void SetUpTheLedger() {
    Categories();
    std::vector<std::string> categories;
    for (const auto& c : Records<records::LedgerCategoryRec>("ledgerct.vlk")) categories.push_back(c.CategoryName());
    EXPECT_EQ(categories, (std::vector<std::string>{"Assets", "Equity and liabilities", "Revenue", "Expenses"}));
    const std::vector<Account> accounts = {
        {"0100", "Equity", "Equity and liabilities", 'C', "10000", 0, "", ""},
        {"0900", "Profit for the year", "Equity and liabilities", 'P', "", 0, "", ""},
        {"0910", "Result transferred", "Equity and liabilities", 'T', "", 0, "", ""},
        {"1000", "Bank", "Assets", 'D', "10000", 0, "", "Bank"},
        {"1300", "Debtors", "Assets", 'D', "", 1, "", ""},
        {"1600", "Creditors", "Equity and liabilities", 'C', "", 8, "", ""},
        {"1700", "Sales tax payable", "Equity and liabilities", 'C', "", 5, "HIGH", ""},
        {"1710", "Sales tax receivable", "Assets", 'D', "", 12, "HIGH", ""},
        {"4000", "Office costs", "Expenses", 'D', "", 0, "", ""},
        {"7000", "Purchases", "Expenses", 'D', "", 9, "", ""},
        {"7100", "Discount received", "Revenue", 'C', "", 14, "", ""},
        {"8000", "Sales", "Revenue", 'C', "", 2, "", ""},
        {"8100", "Discount given", "Expenses", 'D', "", 7, "", ""},
    };
    Accounts(accounts);
    const auto gla = Records<records::LedgerAccountRec>("ledger.vlk");
    ASSERT_EQ(gla.size(), accounts.size());
    EXPECT_EQ(gla[0].StartDate(), "20251231");
    EXPECT_DOUBLE_EQ(gla[0].StartAmount(), 10000);
    EXPECT_EQ(gla[3].AccountNumber(), "1000");
    EXPECT_TRUE(gla[3].IsCashOrBank());
    EXPECT_EQ(gla[6].SalesTaxCode(), "HIGH");
    EXPECT_EQ(store::SystemParams.TaxRateName(0), "HIGH");
    EXPECT_EQ(store::SystemParams.TaxRate(0), 21);
    EXPECT_EQ(gla[4].AccountFunction(), "Customer group");
    Settings("0900");
    EXPECT_EQ(Records<records::AdminSettingsRec>("adminset.vlk")[0].ProfitAccountNumber(), "0900");
  }

  // Two customers and two suppliers.
  void AddThePartners() {
    Partner(0, "Jansen Trading", "NL01BANK0000000001");
    Partner(0, "De Vries Shop", "NL02BANK0000000002");
    Partner(1, "Office Supplies Ltd", "NL03BANK0000000003");
    Partner(1, "Paper and Co", "NL04BANK0000000004");
    const auto customers = Records<records::PartnerRec>("customer.vlk");
    ASSERT_EQ(customers.size(), 2u);
    EXPECT_EQ(customers[1].OurNumber(), 2);
    EXPECT_EQ(customers[1].PartnerGroup(), "1300");
    EXPECT_EQ(customers[1].SalesCostGroup1(), "8000");
    EXPECT_EQ(customers[1].VatGroup1(), "1700");
    EXPECT_EQ(customers[1].CashDiscountAccount(), "8100");
    const auto suppliers = Records<records::PartnerRec>("supplier.vlk");
    ASSERT_EQ(suppliers.size(), 2u);
    EXPECT_EQ(suppliers[0].PartnerGroup(), "1600");
    EXPECT_EQ(suppliers[0].SalesCostGroup1(), "7000");
  }

  // Period 00 holds the opening balances: bank 10,000.00 against equity
  // 10,000.00. Its trial balance, then its freeze, which closes the year
  // before (2025) and opens January.
  void CloseTheOpeningPeriod() {
    Reports([&](reports::TRapport1& f, int showing) {
      if (showing > 0) return;
      EXPECT_EQ(f.ComboBox1.GetText(), "2026-00/00");
      Report(f, 0);
      EXPECT_EQ(f.StatusBar1.PanelText(0), "");
      EXPECT_EQ(GridRow(f, "1000"), (std::vector<std::string>{Amount(10000), Amount(0), "", "", Amount(10000), ""}));
      EXPECT_EQ(GridRow(f, "0100"), (std::vector<std::string>{Amount(0), Amount(10000), "", "", "", Amount(10000)}));
      EXPECT_EQ(TotalRow(f), (std::vector<std::string>{Amount(10000), Amount(10000), Amount(0), Amount(0),
                                                       Amount(10000), Amount(10000)}));
      // Every report of period 00 is produced.
      for (int kind = 1; kind < 6; ++kind) {
        const std::string text = Report(f, kind);
        EXPECT_TRUE(Has(text, "2026")) << kind << ": " << f.StatusBar1.PanelText(0);
        EXPECT_TRUE(f.Afdrukken.Enabled()) << kind;
      }
      EXPECT_TRUE(backend.messages.empty()) << backend.messages.front().text;
      Freeze(f);
      EXPECT_FALSE(f.Showing());
    });
    EXPECT_EQ(Messages(), std::vector<std::string>{"Freeze the period 2026-00/00 and post its closing vouchers?"});
    ASSERT_EQ(Records<records::FreezeRec>("freeze.vlk").size(), 1u);
    EXPECT_EQ(Records<records::FreezeRec>("freeze.vlk")[0].PeriodLabel(), "2025-01/01");
    EXPECT_EQ(Records<records::AdminSettingsRec>("adminset.vlk")[0].CurrentPeriod(), "01/12");
  }

  // January's vouchers, invoices, payment and bank statement, and what
  // they left in the files.
  void BookJanuary() {
    January();
    BankStatement();
    const auto invoices = Records<records::InvoiceRec>("invsum.vlk");
    ASSERT_EQ(invoices.size(), 5u);
    for (const auto& i : invoices) {
      const bool open = i.InvoiceNumber() == "P-100" || i.InvoiceNumber() == "2026-003";
      EXPECT_TRUE(i.VoucherCreated()) << i.InvoiceNumber();
      EXPECT_DOUBLE_EQ(i.PaidAmount(), open ? 0 : i.InvoiceAmount()) << i.InvoiceNumber();
    }
    const auto payments = Records<records::PaymentRec>("payment.vlk");
    ASSERT_EQ(payments.size(), 3u);
    for (const auto& p : payments) EXPECT_TRUE(p.VoucherCreated()) << p.ValueDate();
  }

  // January's lines, debit minus credit by account, worked out by hand:
  // rent 500.00; invoices 1,210.00 = 1,000.00 + 210.00, 605.00 = 500.00 +
  // 105.00, 242.00 = 200.00 + 42.00, 121.00 = 100.00 + 21.00 (bought),
  // 363.00 = 300.00 + 63.00 (sold); Jansen's 1,185.80 with 20.00 discount
  // and 4.20 of its tax; the bank's 605.00 out and 242.00 in.
  void CheckTheLinesOfJanuary() {
    std::map<std::string, double> net;
    for (const auto& v : Records<records::JournalVoucherRec>("book.vlk"))
      net[text::TrimTrailingBlanks(v.AccountNumber())] += v.DebitAmount() - v.CreditAmount();
    const std::map<std::string, double> expected = {
        {"1000", -500 + 1185.80 - 605 + 242}, {"1300", 1210 + 242 - 1210 - 242 + 363}, {"1600", -605 + 605 - 121},
        {"1700", -210 - 42 + 4.20 - 63},      {"1710", 105 + 21},                       {"4000", 500},
        {"7000", 500 + 100},                  {"8000", -1000 - 200 - 300},              {"8100", 20},
        {"0900", 0},                          {"0910", 0}};  // the closing voucher of 2025 moves nothing
    for (const auto& [account, amount] : net) EXPECT_TRUE(expected.count(account)) << account << " " << amount;
    for (const auto& [account, amount] : expected) EXPECT_NEAR(net[account], amount, 0.000001) << account;
  }

  // The six reports of January, then January's freeze. Its profit: sales
  // 1,500.00 less rent 500.00, purchases 600.00 and the discount of 20.00
  // is 380.00. The trial balance adds every debit (15,098.00, the opening
  // balances with it) and the profit on the transfer row: 15,478.00 on
  // both sides.
  void ReportAndFreezeJanuary() {
    Reports([&](reports::TRapport1& f, int showing) {
      if (showing > 0) return;
      EXPECT_EQ(f.ComboBox1.GetText(), "2026-01/12");
      Report(f, 0);
      EXPECT_EQ(GridRow(f, "1000"), (std::vector<std::string>{Amount(11427.80), Amount(1105), "", "",
                                                              Amount(10322.80), ""}));
      EXPECT_EQ(GridRow(f, "0900")[5], Amount(380));
      EXPECT_EQ(GridRow(f, "0910")[2], Amount(380));
      EXPECT_EQ(TotalRow(f)[0], Amount(15478));
      EXPECT_EQ(TotalRow(f)[1], Amount(15478));
      const std::string balance = Report(f, 1);
      EXPECT_TRUE(Has(balance, "10,811.80")) << balance;  // the balance sheet's total
      f.ComboBox3.UserFocus();
      f.ComboBox3.UserSelect(f.ComboBox3.IndexOf("1000 | Bank"));
      const std::string card = Report(f, 2);
      EXPECT_TRUE(Has(card, "10,000.00")) << card;     // the bank opens at the opening balance
      EXPECT_TRUE(Has(card, "10,322.80")) << card;  // and closes at January's end
      const std::string journal = Report(f, 3);
      EXPECT_TRUE(Has(journal, "5,098.00")) << journal;  // January's lines on each side
      const std::string debtors = Report(f, 4);
      EXPECT_TRUE(Has(debtors, "Jansen Trading")) << debtors;
      EXPECT_TRUE(Has(debtors, "363.00")) << debtors;
      EXPECT_FALSE(Has(debtors, "De Vries Shop")) << debtors;  // paid in full
      const std::string creditors = Report(f, 5);
      EXPECT_TRUE(Has(creditors, "Paper and Co")) << creditors;
      EXPECT_TRUE(Has(creditors, "121.00")) << creditors;
      EXPECT_FALSE(Has(creditors, "Office Supplies Ltd")) << creditors;

      // January frozen.
      Freeze(f);
      EXPECT_FALSE(f.Showing());
    });
    EXPECT_EQ(Messages(), std::vector<std::string>{"Freeze the period 2026-01/12 and post its closing vouchers?"});
    const auto frozen = Records<records::FreezeRec>("freeze.vlk");
    ASSERT_EQ(frozen.size(), 2u);
    EXPECT_EQ(frozen[1].PeriodLabel(), "2026-01/12");
    EXPECT_EQ(Records<records::AdminSettingsRec>("adminset.vlk")[0].CurrentPeriod(), "02/12");
  }

  // January is closed to new vouchers: the voucher date cannot go back into
  // it, so Save stores February's voucher only.
  void CheckJanuaryIsClosed() {
    ShowFromTree<journal::Tboeking>(TreeFunction::JournalVouchers, "boeking", [&](journal::Tboeking& f) {
      f.DateTimePicker2.UserSetDate(platform::EncodeDate(2026, 1, 31));
      EXPECT_EQ(text::DateToYmd(f.DateTimePicker2.Date()), "20260210");
      ASSERT_TRUE(f.DateTimePicker2.MinDate());
      EXPECT_EQ(text::DateToYmd(*f.DateTimePicker2.MinDate()), "20260201");
    });
    Messages();
  }

  // Every kind exported, and the audit file of January.
  void ExportEveryKindAndTheAuditFile() {
    ShowFromTree<reports::TExportImport>(TreeFunction::ExportImport, "ExportImport", [&](reports::TExportImport& f) {
      for (const char* kind : {"1", "2", "3", "4", "5", "6", "7"}) {
        SCOPED_TRACE(kind);
        const int i = f.ComboBox1.IndexOf(std::string(kind) + ": " + ExportKindWord(kind));
        ASSERT_GE(i, 0);
        f.ComboBox1.UserSelect(i);
        f.RadioGroup1.UserSelect(0);
        backend.dialogAnswers.push_back(W + "export" + kind + ".csv");
        f.Button1.UserClick();
        EXPECT_TRUE(store.fs.HasFile(W + "export" + kind + ".csv"));
      }
      f.ComboBox1.UserSelect(f.ComboBox1.IndexOf("9: " + ExportKindWord("9")));
      ASSERT_GE(f.ComboBox2.IndexOf("2026 2026-01/12"), 0);
      f.ComboBox2.UserSelect(f.ComboBox2.IndexOf("2026 2026-01/12"));
      backend.dialogAnswers.push_back(W + "january.xaf");
      f.Button1.UserClick();
      EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    });
    for (const auto& m : Messages()) ADD_FAILURE() << m;
  }

  // Every voucher line is a line of the export, after its heading; the
  // audit file covers January and is valid.
  void CheckTheExportAndTheAuditFile() {
    const std::string lines = store.fs.File(W + "export4.csv");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1 + static_cast<long>(Records<records::JournalVoucherRec>("book.vlk").size()));
    const std::string xaf = store.fs.File(W + "january.xaf");
    EXPECT_NE(xaf.find("<startDate>2026-01-01</startDate>"), std::string::npos);
    EXPECT_NE(xaf.find("<endDate>2026-01-31</endDate>"), std::string::npos);
    std::string output;
    EXPECT_TRUE(support::ValidAuditFile(xaf, &output)) << output.substr(0, 2000);
    for (const auto& m : Messages()) ADD_FAILURE() << m;
  }
};

TEST_F(FirstYearRoad, FromTheFirstStartToTheAuditFileOfJanuary) {
  ASSERT_NO_FATAL_FAILURE(SetUpTheAdministration());
  ASSERT_NO_FATAL_FAILURE(SetUpTheLedger());
  ASSERT_NO_FATAL_FAILURE(AddThePartners());
  ASSERT_NO_FATAL_FAILURE(CloseTheOpeningPeriod());
  ASSERT_NO_FATAL_FAILURE(BookJanuary());
  ASSERT_NO_FATAL_FAILURE(CheckTheLinesOfJanuary());
  ASSERT_NO_FATAL_FAILURE(ReportAndFreezeJanuary());
  ASSERT_NO_FATAL_FAILURE(CheckJanuaryIsClosed());
  ASSERT_NO_FATAL_FAILURE(ExportEveryKindAndTheAuditFile());
  CheckTheExportAndTheAuditFile();
}

}  // namespace
