// The export and import form, driven headless: the period list and the
// criterion, OK's one enabled state across the choices and the menu, the
// save (only this run's output, the overwrite question, the bytes written),
// the import (a bad line, the question, the file replaced or left), the
// keys and help entries, and a round of every kind through the form.
#include "reports/impexp.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "platform/numberformat.h"
#include "platform/oserror.h"
#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "books/exchange/delimited.h"
#include "books/exchange/importfile.h"
#include "books/journal/invoicestore.h"
#include "books/journal/paymentstore.h"
#include "books/journal/voucherstore.h"
#include "store/fileset.h"
#include "store/session.h"
#include "text/languagetext.h"
#include "support/adminfolder.h"
#include "support/formfixture.h"
#include "support/records.h"
#include "support/schemacheck.h"
#include "ui/headless.h"

namespace {

using records::AdminSettingsRec;
using records::FreezeRec;
using reports::TExportImport;
using ui::ModalResult;

const std::string D = "/d/ACME/";

FreezeRec Snapshot(std::int32_t year, const std::string& label, const std::string& end = "") {
  FreezeRec f;
  f.SetBookYear(year);
  f.SetPeriodLabel(label);
  f.SetPeriodEndDate(end);
  return f;
}

AdminSettingsRec Settings(const std::string& annual = "2008", const std::string& period = "01/12") {
  AdminSettingsRec s;
  s.SetFiscalYear("2008");
  s.SetCurrentAnnualBalance(annual);
  s.SetCurrentPeriod(period);
  return s;
}

// ---------------------------------------------------------------- decisions

TEST(ExportImportPeriods, ListsTheOpenPeriodThenTheFrozenOnesNewestFirst) {
  struct Case {
    const char* name;
    std::vector<FreezeRec> freezes;
    AdminSettingsRec settings;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {"nothing frozen: the settings give the open item", {}, Settings(), {"2008 2008-01/12"}},
      {"the opening freeze ends its year: the settings give the open item",
       {Snapshot(2007, "2007-01/01")},
       Settings(),
       {"2008 2008-01/12", "2007 2007-01/01"}},
      {"a period frozen: the next one is open",
       {Snapshot(2007, "2007-01/01"), Snapshot(2008, "2008-01/12")},
       Settings(),
       {"2008 2008-02/12", "2008 2008-01/12", "2007 2007-01/01"}},
      {"after 08 comes 09", {Snapshot(2008, "2008-08/12")}, Settings(), {"2008 2008-09/12", "2008 2008-08/12"}},
      {"after 09 comes 10", {Snapshot(2008, "2008-09/12")}, Settings(), {"2008 2008-10/12", "2008 2008-09/12"}},
      {"a closed year with a two-year annual balance",
       {Snapshot(2007, "2007-01/01")},
       Settings("0809"),
       {"2008 0809-01/12", "2007 2007-01/01"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(reports::PeriodListItems(c.freezes, c.settings), c.items) << c.name;
}

TEST(ExportImportPeriods, TheOldestPeriodAndAShortListCannotBeExported) {
  const std::vector<std::string> items{"2008 2008-02/12", "2008 2008-01/12", "2007 2007-01/01"};
  EXPECT_TRUE(reports::AuditPeriodExportable(items, "2008 2008-02/12"));
  EXPECT_TRUE(reports::AuditPeriodExportable(items, "2008 2008-01/12"));
  EXPECT_FALSE(reports::AuditPeriodExportable(items, "2007 2007-01/01"));
  EXPECT_FALSE(reports::AuditPeriodExportable(items, "2009 2009-01/12"));
  EXPECT_FALSE(reports::AuditPeriodExportable(items, ""));
  EXPECT_FALSE(reports::AuditPeriodExportable({"2008 2008-01/12"}, "2008 2008-01/12"));
}

TEST(ExportImportTexts, TheFileNameTakesTheFirstPlaceOnly) {
  struct Case {
    const char* format;
    const char* name;
    const char* text;
  } cases[] = {
      {"%s exists. Replace it?", "/w/a.csv", "/w/a.csv exists. Replace it?"},
      {"%s and %s, %d%%", "x", "x and %s, %d%%"},  // nothing else is read
      {"Replace?", "x", "Replace? x"},
      {"%s", "100%s", "100%s"},
  };
  for (const auto& c : cases) EXPECT_EQ(reports::FormatOneName(c.format, c.name), c.text);
  EXPECT_EQ(reports::ChoiceDigit("9: AUDIT FILE"), 9);
  EXPECT_EQ(reports::ChoiceDigit("1: Customers"), 1);
  EXPECT_EQ(reports::ChoiceDigit("8: x"), std::nullopt);
  EXPECT_EQ(reports::ChoiceDigit(""), std::nullopt);
}

// ---------------------------------------------------------------- the form

class ExportImportForm : public ::testing::Test, public support::AdministrationFolder {
 public:
  void SetUp() override {
    reports::ExportImportStartFolder = "/w/";
    reports::ExportImportAdministrationCode = "ACME";
    store::AdminSettings = Settings();
    form.ApplyLanguageTexts();
  }

  // Shows the form and runs `script` inside it.
  void Show(const std::function<void(TExportImport&)>& script) {
    support::ShowAsTreeDoes<TExportImport>(backend, form, "", script);
  }
  void Choose(TExportImport& f, const std::string& digit) {
    const int i = f.ComboBox1.IndexOf(digit + ": " + TypeWord(digit));
    ASSERT_GE(i, 0) << digit;
    f.ComboBox1.UserSelect(i);
  }
  static std::string TypeWord(const std::string& digit) {
    const int offsets[] = {0, 8493, 8519, 8545, 8571, 8602, 8628, 8654, 0, 8680};
    return text::L(offsets[std::stoi(digit)]);
  }
  std::vector<std::string> Items(const ui::ListBox& l) { return l.Items(); }
  std::vector<std::string> PeriodItems(TExportImport& f) {
    std::vector<std::string> out;
    for (const auto& i : f.ComboBox2.Items()) out.push_back(i.text);
    return out;
  }

  ui::HeadlessBackend backend;
  TExportImport form;
};

TEST_F(ExportImportForm, OkFollowsTheChoiceAndTheMenuCannotPassIt) {
  // No period frozen: the audit file cannot be chosen.
  Show([&](TExportImport& f) {
    EXPECT_EQ(PeriodItems(f), (std::vector<std::string>{"2008 2008-01/12"}));
    Choose(f, "9");
    EXPECT_FALSE(f.OkAction.Enabled());
    EXPECT_FALSE(f.Button1.Enabled());
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(8907));
    EXPECT_FALSE(f.RadioGroup1.Visible());
    EXPECT_TRUE(f.ComboBox2.Visible());
    // The menu item is the same action: it runs nothing either.
    f.Strat1.UserClick();
    EXPECT_TRUE(backend.dialogsShown.empty());
    // A data file choice turns OK on again and clears the status.
    Choose(f, "1");
    EXPECT_TRUE(f.OkAction.Enabled());
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    EXPECT_TRUE(f.RadioGroup1.Visible());
    EXPECT_FALSE(f.ComboBox2.Visible());
  });
}

TEST_F(ExportImportForm, TheOldestPeriodIsRefusedAlsoThroughTheMenu) {
  store.fs.SetFile(D + "freeze.vlk", support::Bytes({Snapshot(2007, "2007-01/01", "20080101")}));
  Show([&](TExportImport& f) {
    Choose(f, "9");
    EXPECT_TRUE(f.OkAction.Enabled());
    f.ComboBox2.UserSelect(1);  // the opening freeze
    EXPECT_FALSE(f.OkAction.Enabled());
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(8762) + ": 2007 2007-01/01");
    f.Strat1.UserClick();
    f.Button1.UserClick();
    EXPECT_TRUE(backend.dialogsShown.empty());
    EXPECT_TRUE(f.ListBox1.Items().empty());
  });
}

TEST_F(ExportImportForm, TheCriterionTakesTheOpenPeriodOutAndPutsItBackOnce) {
  store.fs.SetFile(D + "freeze.vlk", support::Bytes({Snapshot(2007, "2007-01/01", "20080101")}));
  Show([&](TExportImport& f) {
    Choose(f, "9");
    f.RadioGroup2.UserSelect(1);  // closed periods only
    EXPECT_EQ(PeriodItems(f), (std::vector<std::string>{"2007 2007-01/01"}));
    EXPECT_FALSE(f.OkAction.Enabled());
    f.RadioGroup2.UserSelect(0);
    EXPECT_EQ(PeriodItems(f), (std::vector<std::string>{"2008 2008-01/12", "2007 2007-01/01"}));
    EXPECT_EQ(f.ComboBox2.GetText(), "2008 2008-01/12");
    EXPECT_TRUE(f.OkAction.Enabled());
  });
}

TEST_F(ExportImportForm, ATypedChoiceStaysOnlyWhenItIsAnItem) {
  Show([&](TExportImport& f) {
    f.ComboBox1.UserFocus();
    f.ComboBox1.UserSetText("nothing");
    f.Button3.UserFocus();
    EXPECT_EQ(f.ComboBox1.GetText(), "");
    f.ComboBox1.UserFocus();
    f.ComboBox1.UserSetText("9: AUDIT FILE");
    f.Button3.UserFocus();
    EXPECT_EQ(f.ComboBox1.GetText(), "9: AUDIT FILE");
    EXPECT_TRUE(f.ComboBox2.Visible());  // dispatched by its digit
  });
}

// The GL categories of the administration, as the export writes them.
std::vector<records::LedgerCategoryRec> Categories() {
  records::LedgerCategoryRec a, b;
  a.SetCategoryKind(records::kBalanceSheetKind);
  a.SetCategoryName("Fixed assets");
  b.SetCategoryKind(records::kProfitAndLossKind);
  b.SetCategoryName("Sales; services");  // the ";" is written as a blank
  return {a, b};
}

TEST_F(ExportImportForm, AnExportIsSavedWithTheOverwriteQuestion) {
  store.fs.SetFile(D + "ledgerct.vlk", support::Bytes(Categories()));
  const std::string want = books::exchange::CsvFileText(books::exchange::ExportLedgerCategories(Categories()).lines);
  Show([&](TExportImport& f) {
    Choose(f, "7");
    // A new file: no question.
    backend.dialogAnswers.push_back("/w/cat.csv");
    f.Button1.UserClick();
    EXPECT_EQ(store.fs.File("/w/cat.csv"), want);
    ASSERT_EQ(backend.dialogsShown.size(), 1u);
    EXPECT_EQ(backend.dialogsShown[0].initialFolder, "/w/");
    EXPECT_EQ(backend.dialogsShown[0].defaultExtension, "CSV");
    EXPECT_EQ(backend.dialogsShown[0].title, text::L(8348) + " " + TypeWord("7"));
    EXPECT_TRUE(backend.messages.empty());
    const std::vector<std::string> log = f.ListBox2.Items();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0], std::string(53, '='));
    EXPECT_EQ(log[1], "      Export: 2  " + TypeWord("7"));
    EXPECT_EQ(log[2], "      Changed values: 1");
    EXPECT_EQ(log[4], "      " + text::L(8348) + " " + text::L(21) + " " + text::L(8747));

    // An existing file: No and Cancel keep it, Yes replaces it.
    for (ModalResult answer : {ModalResult::No, ModalResult::Cancel, ModalResult::Yes}) {
      store.fs.SetFile("/w/old.csv", "old");
      backend.messages.clear();
      backend.dialogAnswers.push_back("/w/old.csv");
      backend.messageAnswers.push_back(answer);
      f.Button1.UserClick();
      ASSERT_EQ(backend.messages.size(), 1u);
      EXPECT_EQ(backend.messages[0].text, reports::FormatOneName(text::L(8706), "/w/old.csv"));
      EXPECT_EQ(backend.messages[0].buttons, ui::Buttons::YesNoCancel);
      EXPECT_EQ(store.fs.File("/w/old.csv"), answer == ModalResult::Yes ? want : "old");
    }
    EXPECT_FALSE(store.fs.HasFile("/w/old.csv.ombrelo-tmp"));
  });
}

TEST_F(ExportImportForm, AFailedWriteKeepsTheOldFileAndSaysSo) {
  store.fs.SetFile(D + "ledgerct.vlk", support::Bytes(Categories()));
  store.fs.SetFile("/w/old.csv", "old");
  store.fs.InjectError("/w/old.csv.ombrelo-tmp", support::FakeFileSystem::Op::Write, 1028);
  Show([&](TExportImport& f) {
    Choose(f, "7");
    backend.dialogAnswers.push_back("/w/old.csv");
    backend.messageAnswers.push_back(ModalResult::Yes);
    f.Button1.UserClick();
    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_NE(backend.messages[1].text.find(platform::OsErrorText(1028)), std::string::npos);
    EXPECT_EQ(store.fs.File("/w/old.csv"), "old");
    EXPECT_FALSE(store.fs.HasFile("/w/old.csv.ombrelo-tmp"));
  });
}

TEST_F(ExportImportForm, OnlyThisRunsOutputIsOffered) {
  store.fs.SetFile(D + "ledgerct.vlk", support::Bytes(Categories()));
  Show([&](TExportImport& f) {
    // A preview run fills the list and saves nothing.
    f.CheckBox1.SetChecked(true);
    EXPECT_TRUE(f.ListBox1.Visible());
    EXPECT_TRUE(f.Button2.Visible());
    Choose(f, "7");
    f.Button1.UserClick();
    EXPECT_EQ(f.ListBox1.Items().size(), 3u);
    EXPECT_TRUE(backend.dialogsShown.empty());
    // The next run fails at its file set: nothing to save, also not from
    // the save button.
    store.fs.InjectError(D + "ledgerct.vlk", support::FakeFileSystem::Op::OpenReadWrite, 5);
    f.Button1.UserClick();
    EXPECT_EQ(backend.messages.size(), 1u);  // the file set's message
    EXPECT_TRUE(f.ListBox1.Items().empty());
    EXPECT_FALSE(f.OutputReady());
    f.Button2.UserClick();
    EXPECT_TRUE(backend.dialogsShown.empty());
  });
}

TEST_F(ExportImportForm, AnAmountWithoutTextStopsTheExportNamingItsRecord) {
  std::vector<records::InvoiceRec> invoices(2);
  invoices[0].SetInvoiceNumber("1");
  invoices[1].SetInvoiceNumber("2");
  invoices[1].SetInvoiceAmount(std::numeric_limits<double>::quiet_NaN());
  store.fs.SetFile(D + "invsum.vlk", support::Bytes(invoices));
  Show([&](TExportImport& f) {
    Choose(f, "5");
    f.Button1.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text, books::exchange::CsvBadValueText({2, 9, "Invoice amount"}));
    EXPECT_TRUE(backend.dialogsShown.empty());
    EXPECT_FALSE(f.OutputReady());
  });
}

TEST_F(ExportImportForm, AnImportChecksEverythingAsksAndKeepsACopy) {
  const std::string old = support::Bytes(Categories());
  store.fs.SetFile(D + "ledgerct.vlk", old);
  const std::string header = books::exchange::CsvHeaderLine(books::exchange::CsvKind::LedgerCategories);
  const std::string good = "Balance sheet account;Cash;U;T;\r\n";
  store.fs.SetFile("/w/bad.csv", header + "\r\n" + good + "Nonsense;Bank;U;T;\r\n");
  store.fs.SetFile("/w/empty.csv", header + "\r\n");
  store.fs.SetFile("/w/wrong.csv", books::exchange::CsvHeaderLine(books::exchange::CsvKind::Payments) + "\r\n" + good);
  store.fs.SetFile("/w/good.csv", header + "\r\n" + good + std::string(records::kProfitAndLossKind) + ";Sales;U;T;\r\n");
  Show([&](TExportImport& f) {
    Choose(f, "7");
    f.RadioGroup1.UserSelect(1);
    struct Case {
      std::string path;
      std::string message;  // empty: no message
    } cases[] = {
        {"/w/bad.csv",
         books::exchange::CsvImportErrorText({books::exchange::CsvFault::UnknownCategoryKind, {3}, 1, "Nonsense"})},
        {"/w/empty.csv", ""},
        {"/w/wrong.csv", text::L(8783) + TypeWord("7") + " " + text::L(21)},
        {"/w/missing.csv", platform::OsErrorText(2)},
        {"/w/locked.csv", "/w/locked.csv  " + platform::OsErrorText(5)},
    };
    store.fs.SetFile("/w/locked.csv", header + "\r\n" + good);
    store.fs.InjectError("/w/locked.csv", support::FakeFileSystem::Op::OpenRead, 5);
    for (const auto& c : cases) {
      backend.messages.clear();
      backend.dialogAnswers.push_back(c.path);
      f.Button1.UserClick();
      if (c.message.empty()) {
        EXPECT_TRUE(backend.messages.empty()) << c.path;
      } else {
        ASSERT_EQ(backend.messages.size(), 1u) << c.path;
        EXPECT_EQ(backend.messages[0].text, c.message);
      }
      EXPECT_EQ(store.fs.File(D + "ledgerct.vlk"), old) << c.path;
      EXPECT_TRUE(f.ListBox2.Items().empty()) << c.path;
    }
    EXPECT_NE(cases[0].message.find("3"), std::string::npos);

    // No leaves the file; Yes replaces it and keeps the old one beside.
    for (ModalResult answer : {ModalResult::No, ModalResult::Yes}) {
      backend.messages.clear();
      backend.dialogAnswers.push_back("/w/good.csv");
      backend.messageAnswers.push_back(answer);
      f.Button1.UserClick();
      ASSERT_EQ(backend.messages.size(), 1u);
      EXPECT_EQ(backend.messages[0].buttons, ui::Buttons::YesNo);
      EXPECT_NE(backend.messages[0].text.find("/d/ACME/ledgerct.vlk"), std::string::npos);
      EXPECT_NE(backend.messages[0].text.find(" 2 "), std::string::npos);  // records now, lines in the text
    }
    EXPECT_EQ(store.fs.File(D + "ledgerct.vlk.before-import"), old);
    const auto now = books::exchange::ImportLedgerCategories(store.fs.File("/w/good.csv"));
    EXPECT_EQ(store.fs.File(D + "ledgerct.vlk"), support::Bytes(now.records));
    EXPECT_EQ(f.ListBox2.Items()[1], "      Import: 2  " + TypeWord("7"));
    EXPECT_EQ(backend.dialogsShown.back().title, text::L(8374) + " " + TypeWord("7"));
    EXPECT_EQ(backend.dialogsShown.back().initialFolder, "/w/");
  });
  EXPECT_EQ(store.fs.OpenHandles(), 0);
}

// ---------------------------------------------------------------- a round

// An administration with a record of every kind: full-width and empty
// texts, negative numbers, account 0100, Booleans stored as 0, 1 and 2, two
// journals, a partner-linked voucher, a frozen period.
struct Books {
  AdminSettingsRec settings;
  std::vector<records::PartnerRec> customers, suppliers;
  std::vector<records::LedgerAccountRec> accounts;
  std::vector<records::LedgerCategoryRec> categories;
  std::vector<records::JournalVoucherRec> vouchers;
  std::vector<records::InvoiceRec> invoices;
  std::vector<records::PaymentRec> payments;
  std::vector<FreezeRec> freezes;

  Books() {
    settings = Settings("2008", "02/12");
    settings.SetTaxRegistrationId("NL001234567B01");
    settings.SetCompanyName("Smit & Zonen");
    settings.SetCurrencyCode("EUR");
    settings.SetBookYearStart("20080101");
    settings.SetBookYearEnd("20081231");
    settings.SetPeriodCount(12);
    for (int k = 1; k <= 12; ++k) settings.SetPeriodStart(k, "2008" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "01");
    settings.SetPeriodStart(13, "20090101");
    for (int k = 0; k < 3; ++k) {
      records::PartnerRec p;
      p.SetName(k == 0 ? std::string(50, 'N') : k == 1 ? "Bakker \xE9" : "");
      p.SetOurNumber(k == 0 ? 12 : k == 2 ? 40 : -3);
      p.SetRelationshipType("CUS");
      p.SetMemo(k == 0 ? std::string(100, 'M') : "");
      p.Set<records::PartnerRec::kCreditLimit>(k == 0 ? -1234.5 : 1e15);
      customers.push_back(p);
      p.SetRelationshipType("VEN");
      suppliers.push_back(p);
    }
    for (const char* n : {"0100", "1600", "8000"}) {
      records::LedgerAccountRec a;
      a.SetAccountNumber(n);
      a.SetAccountType(std::string(n) == "8000" ? "P" : "D");
      a.SetCaption(std::string("Account ") + n);
      a.SetCategoryName("Assets");
      a.Set<records::LedgerAccountRec::kStartAmount>(-0.5);
      a.Bytes[records::LedgerAccountRec::kIsCashOrBank.offset] = std::string(n) == "1600" ? 2 : 1;
      accounts.push_back(a);
    }
    categories = {};
    records::LedgerCategoryRec c;
    c.SetCategoryKind(records::kBalanceSheetKind);
    c.SetCategoryName("Assets");
    categories.push_back(c);
    auto line = [](const std::string& date, const std::string& number, const std::string& journal,
                   const std::string& account, double debit, double credit, std::uint8_t attached) {
      records::JournalVoucherRec v;
      v.SetVoucherDate(date);
      v.SetBookNumber(number);
      v.SetJournalName(journal);
      v.SetAccountNumber(account + std::string(15 - account.size(), ' '));
      v.SetLineText("text" + std::string(30, ' '));
      v.SetDebitAmount(debit);
      v.SetCreditAmount(credit);
      v.SetPartnerNumber(-1);
      v.Bytes[records::JournalVoucherRec::kInvoiceAttached.offset] = attached;
      return v;
    };
    vouchers = {line("20080115", "V1", "Sales", "8000", 0, 121, 1), line("20080115", "V1", "Sales", "0100", 121, 0, 2),
                line("20080210", "M1", "Memorial", "1600", 10.005, 0, 0),
                line("20080210", "M1", "Memorial", "0100", 0, 10.01, 0)};
    vouchers[1].SetPartnerType("CUS");
    vouchers[1].SetPartnerNumber(12);
    records::InvoiceRec inv;
    inv.SetInvoiceDate("20080115");
    inv.SetVoucherDate("20080115");
    inv.SetPartnerType("CUS");
    inv.SetPartnerNumber(12);
    inv.SetInvoiceNumber("2008001");
    inv.SetInvoiceAmount(121);
    inv.Bytes[records::InvoiceRec::kVoucherCreated.offset] = 2;
    invoices = {inv};
    records::PaymentRec pay;
    pay.SetValueDate("20080120");
    pay.SetPartnerType("CUS");
    pay.SetPartnerNumber(12);
    pay.SetPaymentNumber(1);
    pay.SetAmount(-121);
    pay.SetAscription("not carried");
    payments = {pay};
    FreezeRec opening = Snapshot(2007, "2007-01/01", "20080101");
    records::FreezeAccountRow row;
    row.SetAccountNumber("0100");
    row.SetAccountType("D");
    row.SetCategoryKind("B");
    row.SetClosingOwnSide(100);
    opening.SetAccount(1, row);
    freezes = {opening, Snapshot(2008, "2008-01/12", "20080201")};
  }

  // The master data and the snapshots as files; the vouchers, the invoice
  // and the payment through their stores, as the journal form saves them
  // (the current administration's folder is `folder`).
  void WriteTo(support::FakeFileSystem& fs, const std::string& folder) const {
    fs.SetFile(folder + "adminset.vlk", support::Bytes(settings));
    fs.SetFile(folder + "customer.vlk", support::Bytes(customers));
    fs.SetFile(folder + "supplier.vlk", support::Bytes(suppliers));
    fs.SetFile(folder + "ledger.vlk", support::Bytes(accounts));
    fs.SetFile(folder + "ledgerct.vlk", support::Bytes(categories));
    fs.SetFile(folder + "freeze.vlk", support::Bytes(freezes));
    // Voucher lines with a Boolean stored as 2 (an old file's byte).
    fs.SetFile(folder + "book.vlk", support::Bytes(vouchers));
    for (const records::InvoiceRec& inv : invoices)
      ASSERT_EQ(books::journal::InsertInvoice(inv).outcome, books::journal::DocumentOutcome::Done);
    for (const records::PaymentRec& pay : payments)
      ASSERT_EQ(books::journal::InsertPayment(pay).outcome, books::journal::DocumentOutcome::Done);
    auto voucherLine = [](const std::string& account, double debit, double credit) {
      books::journal::VoucherLine l;
      l.text = "Line " + account;
      l.account = account;
      l.caption = "Account " + account;
      l.debit = debit;
      l.credit = credit;
      return l;
    };
    books::journal::Voucher sale;
    sale.header = {"20080220", "V2", "Sale to Bakker", "F-2", "Sales"};
    sale.lines = {voucherLine("0100", 50, 0), voucherLine("8000", 0, 50)};
    sale.partner = books::journal::VoucherPartner{12, "CUS"};
    ASSERT_EQ(books::journal::SaveVoucher(sale).outcome, books::journal::StoreOutcome::Done);
    books::journal::Voucher memo;
    memo.header = {"20080221", "M2", "Correction", "", "Memorial"};
    memo.lines = {voucherLine("1600", 0, 7.5), voucherLine("0100", 7.5, 0)};
    ASSERT_EQ(books::journal::SaveVoucher(memo).outcome, books::journal::StoreOutcome::Done);
  }
};

// Every kind exported through the form and its save dialog, imported into
// a fresh administration, and exported again from there: the two texts are
// the same, under both separators; the audit file of the frozen year's open
// period is written and valid.
TEST_F(ExportImportForm, EveryKindTravelsToAFreshAdministrationAndTheAuditFileIsValid) {
  const Books books;
  books.WriteTo(store.fs, D);
  ASSERT_EQ(support::Records<records::JournalVoucherRec>(store.fs.File(D + "book.vlk")).size(), 8u);
  store.fs.AddFolder("/d/NEW");
  store::AdminSettings = books.settings;
  const char* digits[] = {"1", "2", "3", "4", "5", "6", "7"};
  for (char separator : {'.', ','}) {
    SCOPED_TRACE(std::string("separator ") + separator);
    platform::ScopedNumberFormat format(separator);
    const std::string pass = separator == '.' ? "point-" : "comma-";
    auto run = [&](const std::string& folder, int action, const std::string& name) {
      const std::string prefix = pass + name;
      store::SetCurrentAdministrationFolder(folder);
      Show([&](TExportImport& f) {
        for (const char* d : digits) {
          Choose(f, d);
          f.RadioGroup1.UserSelect(action);
          backend.dialogAnswers.push_back("/w/" + prefix + d + ".csv");
          if (action == 1) backend.messageAnswers.push_back(ModalResult::Yes);
          f.Button1.UserClick();
          EXPECT_EQ(backend.messages.size(), action == 1 ? 1u : 0u) << d;
          if (!backend.messages.empty() && action == 0) ADD_FAILURE() << backend.messages[0].text;
          backend.messages.clear();
        }
      });
    };
    run("ACME", 0, "first");
    // The fresh administration takes every file (its own files are created
    // empty when first opened).
    for (const char* d : digits)
      store.fs.SetFile("/w/" + pass + "in" + d + ".csv", store.fs.File("/w/" + pass + "first" + d + ".csv"));
    run("NEW", 1, "in");
    run("NEW", 0, "second");
    for (const char* d : digits)
      EXPECT_EQ(store.fs.File("/w/" + pass + "second" + d + ".csv"), store.fs.File("/w/" + pass + "first" + d + ".csv"))
          << d;
    // What the text does not carry comes back plain.
    const auto accounts = support::Records<records::LedgerAccountRec>(store.fs.File("/d/NEW/ledger.vlk"));
    ASSERT_EQ(accounts.size(), 3u);
    EXPECT_EQ(accounts[0].AccountNumber(), "0100");
    EXPECT_EQ(accounts[1].Bytes[records::LedgerAccountRec::kIsCashOrBank.offset], 0);  // 2 is not true
    const auto lines = support::Records<records::JournalVoucherRec>(store.fs.File("/d/NEW/book.vlk"));
    ASSERT_EQ(lines.size(), 8u);
    for (const auto& l : lines) EXPECT_EQ(l.AccountNumber().size(), 15u) << l.AccountNumber();  // padded
    EXPECT_EQ(lines[1].Bytes[records::JournalVoucherRec::kInvoiceAttached.offset], 0);          // 2 is not true
    EXPECT_EQ(support::Records<records::PaymentRec>(store.fs.File("/d/NEW/payment.vlk"))[0].Ascription(), "");
  }

  // The audit file of the open period 02 of 2008.
  store::SetCurrentAdministrationFolder("ACME");
  Show([&](TExportImport& f) {
    Choose(f, "9");
    EXPECT_EQ(f.ComboBox2.GetText(), "2008 2008-02/12");
    backend.dialogAnswers.push_back("/w/year.xaf");
    f.Button1.UserClick();
    ASSERT_FALSE(backend.dialogsShown.empty());
    EXPECT_EQ(backend.dialogsShown.back().title, "Export Xml Audit File");
    EXPECT_EQ(backend.dialogsShown.back().defaultExtension, "XAF");
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    EXPECT_EQ(f.ListBox2.Items().front(), "      " + text::L(8886) + ": 2008");
  });
  const std::string xaf = store.fs.File("/w/year.xaf");
  EXPECT_NE(xaf.find("<startDate>2008-01-01</startDate>"), std::string::npos);
  EXPECT_NE(xaf.find("<endDate>2008-02-29</endDate>"), std::string::npos);
  EXPECT_NE(xaf.find("<custSupID>CUS12</custSupID>"), std::string::npos);
  EXPECT_TRUE(xaf.ends_with("</auditfile>\r\n"));
  std::string output;
  EXPECT_TRUE(support::ValidAuditFile(xaf, &output)) << output;

  // The preview shows the file's lines and its save button writes the
  // same text; the next run's output replaces it.
  // The audit file is an export even when import was chosen for the data
  // files: no open dialog.
  Show([&](TExportImport& f) {
    Choose(f, "7");
    f.RadioGroup1.UserSelect(1);
    Choose(f, "9");
    f.CheckBox1.SetChecked(true);
    const std::size_t dialogs = backend.dialogsShown.size();
    f.Button1.UserClick();
    EXPECT_EQ(backend.dialogsShown.size(), dialogs);
    std::string shown;
    for (const auto& line : f.ListBox1.Items()) shown += line + "\r\n";
    EXPECT_EQ(shown, xaf);
    backend.dialogAnswers.push_back("/w/preview.xaf");
    f.Button2.UserClick();
    EXPECT_EQ(store.fs.File("/w/preview.xaf"), xaf);
    Choose(f, "7");
    f.RadioGroup1.UserSelect(0);
    f.Button1.UserClick();
    backend.dialogAnswers.push_back("/w/after.csv");
    f.Button2.UserClick();
    EXPECT_TRUE(store.fs.File("/w/after.csv").starts_with(f.ListBox1.Items().front()));
    EXPECT_EQ(store.fs.File("/w/after.csv").find("<auditfile>"), std::string::npos);
  });
}

// The audit file is saved whole in every case: without start balances and
// lines, with start balances only, with lines only, and without lines but
// with a ledger and partner list longer than the pieces the text is handed
// on in.
TEST_F(ExportImportForm, TheAuditFileIsSavedWholeWithOrWithoutLinesAndStartBalances) {
  const Books books;
  // The opening freeze of 2007 without a balance-sheet row: no start balance.
  std::vector<FreezeRec> noOpening = books.freezes;
  noOpening[0].SetAccount(1, records::FreezeAccountRow());
  std::vector<records::PartnerRec> many;
  for (int i = 1; i <= 9000; ++i) {
    records::PartnerRec p;
    p.SetRelationshipType("CUS");
    p.SetOurNumber(i);
    p.SetName(std::string(50, 'N'));
    p.SetAddress(std::string(50, 'A'));
    p.SetTown(std::string(50, 'T'));
    p.SetCountry(std::string(50, 'C'));
    p.SetCorrAddress(std::string(50, 'P'));
    many.push_back(p);
  }
  struct Case {
    const char* name;
    bool openings;
    bool lines;
    const std::vector<records::PartnerRec>* customers;
    const char* entries;
    const char* totalDebit;
  } cases[] = {
      {"no start balances, no lines", false, false, &books.customers, "0", "0.00"},
      {"start balances only", true, false, &books.customers, "1", "100.00"},
      {"lines only", false, true, &books.customers, "4", "131.01"},
      {"no lines, over 4 MiB of accounts and relations", false, false, &many, "0", "0.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.fs.SetFile(D + "adminset.vlk", support::Bytes(books.settings));
    store.fs.SetFile(D + "ledger.vlk", support::Bytes(books.accounts));
    store.fs.SetFile(D + "customer.vlk", support::Bytes(*c.customers));
    store.fs.SetFile(D + "supplier.vlk", support::Bytes(books.suppliers));
    store.fs.SetFile(D + "freeze.vlk", support::Bytes(c.openings ? books.freezes : noOpening));
    store.fs.SetFile(D + "book.vlk", c.lines ? support::Bytes(books.vouchers) : std::string());
    store::AdminSettings = books.settings;
    backend.dialogsShown.clear();
    Show([&](TExportImport& f) {
      Choose(f, "9");
      backend.dialogAnswers.push_back("/w/case.xaf");
      f.Button1.UserClick();
      EXPECT_EQ(backend.dialogsShown.size(), 1u);
      EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    });
    const std::string xaf = store.fs.File("/w/case.xaf");
    store.fs.SetFile("/w/case.xaf", "");
    EXPECT_TRUE(xaf.starts_with("<?xml ")) << xaf.substr(0, 200);
    EXPECT_TRUE(xaf.ends_with(" </transactions>\r\n</auditfile>\r\n"));
    if (c.customers == &many) {
      EXPECT_GT(xaf.size(), 4u << 20);
    }
    EXPECT_NE(xaf.find("  <numberEntries>" + std::string(c.entries) + "</numberEntries>\r\n"), std::string::npos);
    EXPECT_NE(xaf.find("  <totalDebit>" + std::string(c.totalDebit) + "</totalDebit>\r\n"), std::string::npos);
    // The start-balance journal is closed before the transactions end.
    EXPECT_EQ(xaf.find("<journalID>0</journalID>") != std::string::npos, c.openings);
    if (c.openings && !c.lines) {
      EXPECT_NE(xaf.find("   </transaction>\r\n  </journal>\r\n </transactions>\r\n"), std::string::npos);
    }
    std::string output;
    EXPECT_TRUE(support::ValidAuditFile(xaf, &output)) << output;
  }
}

// An in-range voucher line dated on no day of the calendar stops the audit
// file with a message naming the voucher; nothing is offered for saving.
TEST_F(ExportImportForm, AVoucherDatedOnNoDayStopsTheAuditFile) {
  Books books;
  books.freezes.push_back(Snapshot(2008, "2008-02/12", "20080301"));
  books.vouchers.push_back(books.vouchers[0]);
  books.vouchers.back().SetVoucherDate("20080230");
  books.vouchers.back().SetBookNumber("V30");
  books.WriteTo(store.fs, D);
  store::AdminSettings = books.settings;
  Show([&](TExportImport& f) {
    Choose(f, "9");
    EXPECT_EQ(f.ComboBox2.GetText(), "2008 2008-03/12");
    backend.dialogAnswers.push_back("/w/refused.xaf");
    f.Button1.UserClick();
    EXPECT_TRUE(backend.dialogsShown.empty());
    EXPECT_FALSE(f.OutputReady());
    const std::string status = f.StatusBar1.PanelText(0);
    EXPECT_NE(status.find("\"V30\""), std::string::npos) << status;
    EXPECT_NE(status.find("20080230"), std::string::npos) << status;
    f.Button2.UserClick();  // the save button offers nothing either
    EXPECT_TRUE(backend.dialogsShown.empty());
  });
  EXPECT_FALSE(store.fs.Exists("/w/refused.xaf"));
}

TEST_F(ExportImportForm, EscapeClosesAndHelpOpensTheFormsTopics) {
  Show([&](TExportImport& f) {
    struct Case {
      ui::Component* item;
      const char* tag;
    } cases[] = {{&f.helpform1, "<E&I00>"}, {&f.ToolButton2, "<E&I00>"}, {&f.utorial1, "<TUT00>"},
                 {&f.Internet1, "<E&I00>"}, {&f.About1, "<ABO00>"}};
    for (const auto& c : cases) {
      formkit::RequestedHelpTag = "unset";
      c.item->UserClick();
      EXPECT_EQ(formkit::RequestedHelpTag, c.tag);
    }
    formkit::RequestedHelpTag = "unset";
    f.UserKeyDown(ui::keys::F1);
    EXPECT_EQ(formkit::RequestedHelpTag, "<E&I00>");
    EXPECT_TRUE(f.Showing());
    f.UserKeyPress(27);
    EXPECT_FALSE(f.Showing());
  });
}

}  // namespace

namespace {

// Shown again on the audit file, the form first reads the periods and then
// decides OK by them: a period frozen since the last showing can be written.
TEST_F(ExportImportForm, ShownAgainTheChoiceIsDecidedOnTheNewPeriodList) {
  Show([&](TExportImport& f) {
    Choose(f, "9");
    EXPECT_FALSE(f.OkAction.Enabled());
    f.UserKeyPress(27);
  });
  store.fs.SetFile(D + "freeze.vlk", support::Bytes({Snapshot(2007, "2007-01/01", "20080101"),
                                                     Snapshot(2008, "2008-01/12", "20080201")}));
  Show([&](TExportImport& f) {
    ASSERT_EQ(reports::ChoiceDigit(f.ComboBox1.GetText()), 9);
    EXPECT_EQ(PeriodItems(f).size(), 3u);
    EXPECT_EQ(f.ComboBox2.GetText(), PeriodItems(f).front());
    EXPECT_TRUE(f.OkAction.Enabled());
    EXPECT_TRUE(f.Button1.Enabled());
  });
}

}  // namespace

namespace {

records::JournalVoucherRec VoucherLine(const std::string& date, const std::string& number) {
  records::JournalVoucherRec r;
  r.SetVoucherDate(date);
  r.SetBookNumber(number);
  r.SetAccountNumber("1000");
  r.SetDebitAmount(10);
  return r;
}

// A voucher import names, before it replaces anything, how many lines of
// the file and of the text lie before the first open day; No keeps the file.
TEST_F(ExportImportForm, AVoucherImportNamesTheLinesBeforeTheFirstOpenDay) {
  store.fs.SetFile(D + "freeze.vlk", support::Bytes({Snapshot(2008, "2008-01/12", "20080201")}));
  const std::string old = support::Bytes(std::vector<records::JournalVoucherRec>{
      VoucherLine("20080110", "A1"), VoucherLine("20080131", "A2"), VoucherLine("20080210", "A3")});
  store.fs.SetFile(D + "book.vlk", old);
  const books::exchange::CsvExport text = books::exchange::ExportJournalVouchers(
      {VoucherLine("20080115", "B1"), VoucherLine("20080201", "B2"), VoucherLine("20080301", "B3")});
  ASSERT_FALSE(text.lines.empty());
  store.fs.SetFile("/w/vouchers.csv", books::exchange::CsvFileText(text.lines));
  Show([&](TExportImport& f) {
    Choose(f, "4");
    f.RadioGroup1.UserSelect(1);
    backend.dialogAnswers.push_back("/w/vouchers.csv");
    backend.messageAnswers.push_back(ModalResult::No);
    f.Button1.UserClick();
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].buttons, ui::Buttons::YesNo);
    const std::string& q = backend.messages[0].text;
    EXPECT_NE(q.find("(20080201): 2 lines in the file, 1 in the text"), std::string::npos) << q;
    EXPECT_NE(q.find("holds 3 records"), std::string::npos) << q;
  });
  EXPECT_EQ(store.fs.File(D + "book.vlk"), old);
  EXPECT_FALSE(store.fs.HasFile(D + "book.vlk.before-import"));
}

// A voucher line whose date is no day, and an invoice's or payment's date
// that is neither empty nor a day, refuse the import with the line, the
// column and the value; the data file stays byte for byte as it was.
TEST_F(ExportImportForm, DatesThatAreNoDaysAreRefusedAndNothingIsStored) {
  records::JournalVoucherRec line;
  line.SetVoucherDate("20080215");
  line.SetBookNumber("B1");
  records::InvoiceRec invoice;
  invoice.SetInvoiceDate("20080215");
  invoice.SetVoucherDate("20080215");
  records::PaymentRec payment;
  payment.SetValueDate("20080215");
  store.fs.SetFile(D + "book.vlk", support::Bytes(line));
  store.fs.SetFile(D + "invsum.vlk", support::Bytes(invoice));
  store.fs.SetFile(D + "payment.vlk", support::Bytes(payment));
  const auto voucherLines = books::exchange::ExportJournalVouchers({line}).lines;
  const auto invoiceLines = books::exchange::ExportInvoices({invoice}).lines;
  const auto paymentLines = books::exchange::ExportPayments({payment}).lines;
  // `lines` with field `column` (from 1) of line 2 replaced by `value`.
  const auto edited = [](std::vector<std::string> lines, int column, const std::string& value) {
    std::string& l = lines[1];
    std::size_t from = 0;
    for (int i = 1; i < column; ++i) from = l.find(';', from) + 1;
    l = l.substr(0, from) + value + l.substr(l.find(';', from));
    return books::exchange::CsvFileText(lines);
  };
  struct Case {
    std::string digit;
    std::string file;
    const std::vector<std::string>& lines;
    int column;
    std::string value;
  };
  const Case cases[] = {
      {"4", "book.vlk", voucherLines, 1, "20080230"},     {"4", "book.vlk", voucherLines, 1, "2008-02-15"},
      {"4", "book.vlk", voucherLines, 1, "15-02-2008"},   {"4", "book.vlk", voucherLines, 1, ""},
      {"5", "invsum.vlk", invoiceLines, 1, "2008-13-45"}, {"5", "invsum.vlk", invoiceLines, 1, "31022008"},
      {"6", "payment.vlk", paymentLines, 1, "tomorrow"},
  };
  Show([&](TExportImport& f) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.digit + " \"" + c.value + "\"");
      const std::string before = store.fs.File(D + c.file);
      store.fs.SetFile("/w/dates.csv", edited(c.lines, c.column, c.value));
      Choose(f, c.digit);
      f.RadioGroup1.UserSelect(1);
      backend.messages.clear();
      backend.dialogAnswers.push_back("/w/dates.csv");
      f.Button1.UserClick();
      ASSERT_EQ(backend.messages.size(), 1u);
      EXPECT_EQ(backend.messages[0].text,
                books::exchange::CsvImportErrorText({books::exchange::CsvFault::BadDate, {2}, c.column, c.value}));
      EXPECT_NE(backend.messages[0].text.find("Line 2, column 1"), std::string::npos);
      EXPECT_EQ(store.fs.File(D + c.file), before);
      EXPECT_FALSE(store.fs.HasFile(D + c.file + ".before-import"));
    }
  });
}

// The same records saved as code page 1252, as UTF-8 and as UTF-8 with its
// byte-order mark give the same data file.
TEST_F(ExportImportForm, AUtf8FileGivesTheDataFileItsCodePageTwinGives) {
  records::LedgerCategoryRec category;
  category.SetCategoryKind(records::kBalanceSheetKind);
  category.SetCategoryName("Caf\xE9 \x80 \x81\x8D\x8F\x90\x9D");
  const std::string cp = books::exchange::CsvFileText(books::exchange::ExportLedgerCategories({category}).lines);
  store.fs.SetFile("/w/cp.csv", cp);
  store.fs.SetFile("/w/utf8.csv", cp1252::ToUtf8(cp));
  store.fs.SetFile("/w/bom.csv", "\xEF\xBB\xBF" + cp1252::ToUtf8(cp));
  Show([&](TExportImport& f) {
    Choose(f, "7");
    f.RadioGroup1.UserSelect(1);
    for (const char* path : {"/w/cp.csv", "/w/utf8.csv", "/w/bom.csv"}) {
      SCOPED_TRACE(path);
      store.fs.SetFile(D + "ledgerct.vlk", "");
      backend.messages.clear();
      backend.dialogAnswers.push_back(path);
      backend.messageAnswers.push_back(ModalResult::Yes);
      f.Button1.UserClick();
      ASSERT_EQ(backend.messages.size(), 1u);  // the question
      EXPECT_EQ(store.fs.File(D + "ledgerct.vlk"), support::Bytes(category));
    }
  });
}

}  // namespace
