// The GL account record, the records the GL accounts form reads, and the
// form itself, driven headless on the in-memory file system.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "masterdata/Ledgerunit.h"
#include "store/adminsettingsload.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/freezerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "records/partnerrec.h"
#include "store/fileset.h"
#include "formkit/helpunit.h"
#include "text/languagetext.h"
#include "program/startschermunit.h"
#include "text/languagefile.h"
#include "store/session.h"
#include "system/systemscreen.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/fakefs.h"
#include "support/records.h"
#include "support/formfixture.h"
#include "ui/headless.h"
#include "formkit/website.h"

namespace {

using masterdata::TLedger;
using support::Bytes;

// A short string as stored: the length byte and the characters.
std::string Short(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }

std::string DoubleBytes(double v) {
  records::Record<8> r;
  records::WriteDouble(r.data(), v);
  return Bytes(r);
}

// ---- the records

TEST(LedgerAccountRec, EveryFieldLiesAtItsOffset) {
  records::LedgerAccountRec rec;
  rec.SetAccountNumber("1000");
  rec.SetCaption("Cash");
  rec.SetAccountType("D");
  rec.SetCategoryName("Current assets");
  rec.SetLeadCode("L7");
  rec.SetStartDate("20231231");
  rec.SetStartAmount(1234.5678);
  rec.SetEndDate("20501231");
  rec.SetSecondAmount(-2.5);
  rec.SetIsCashOrBank(true);
  rec.SetJournalName("Cash book");
  rec.SetAccountFunction("Sales account 1");
  rec.SetSalesTaxCode("HIGH");
  rec.SetChangedBy("ANNE");
  rec.SetChangedAt("17-05-2024 09:30:15");

  std::string golden(376, '\0');
  auto put = [&golden](std::size_t at, const std::string& bytes) { golden.replace(at, bytes.size(), bytes); };
  put(0, Short("1000"));
  put(16, Short("Cash"));
  put(67, Short("D"));
  put(78, Short("Current assets"));
  put(129, Short("L7"));
  put(180, Short("20231231"));
  put(192, DoubleBytes(1234.5678));
  put(200, Short("20501231"));
  put(216, DoubleBytes(-2.5));
  put(224, "\x01");
  put(225, Short("Cash book"));
  put(276, Short("Sales account 1"));
  put(327, Short("HIGH"));
  put(340, Short("ANNE"));
  put(351, Short("17-05-2024 09:30:15"));
  EXPECT_EQ(Bytes(rec), golden);

  // Texts are cut at their capacity and leave the next field alone.
  rec.SetAccountNumber("1234567890123456789");
  rec.SetSalesTaxCode("ABCDEFGHIJKLMNOP");
  EXPECT_EQ(rec.AccountNumber(), "123456789012345");
  EXPECT_EQ(rec.Caption(), "Cash");
  EXPECT_EQ(rec.SalesTaxCode(), "ABCDEFGHIJKL");
  EXPECT_EQ(rec.ChangedBy(), "ANNE");
}

// The fields the GL accounts form reads from the other files, at their
// offsets (the rest of each layout is the owners' business).
TEST(ReadRecords, TheFieldsTheFormReadsLieAtTheirOffsets) {
  records::JournalVoucherRec line;
  line.SetVoucherDate("20240401");
  line.SetBookNumber("A12");
  line.SetAccountNumber("1000           ");
  line.SetPartnerNumber(-1);
  line.SetDebitAmount(100.25);
  line.SetCreditAmount(3);
  line.SetChangedAt("17-05-2024 09:30:15");
  const std::string l = Bytes(line);
  EXPECT_EQ(l.substr(0, 9), Short("20240401"));
  EXPECT_EQ(l.substr(9, 4), Short("A12"));
  EXPECT_EQ(l.substr(183, 16), Short("1000           "));
  EXPECT_EQ(l.substr(300, 4), std::string("\xff\xff\xff\xff", 4));
  EXPECT_EQ(l.substr(320, 8), DoubleBytes(100.25));
  EXPECT_EQ(l.substr(328, 8), DoubleBytes(3));
  EXPECT_EQ(l.substr(368, 20), Short("17-05-2024 09:30:15"));

  auto freeze = std::make_unique<records::FreezeRec>();
  freeze->SetPeriodEndDate("20240401");
  freeze->SetBookYear(2024);
  records::FreezeAccountRow row;
  row.SetAccountNumber("1000");
  row.SetAccountType("D");
  row.SetClosingOwnSide(700);
  row.SetClosingOtherSide(200);
  freeze->SetAccount(400, row);
  const std::string f = Bytes(*freeze);
  EXPECT_EQ(f.substr(0, 9), Short("20240401"));
  EXPECT_EQ(f.substr(76, 4), std::string("\xe8\x07\0\0", 4));
  const std::size_t last = 80 + 399 * 160;
  EXPECT_EQ(f.substr(last, 5), Short("1000"));
  EXPECT_EQ(f.substr(last + 83, 2), Short("D"));
  EXPECT_EQ(f.substr(last + 144, 8), DoubleBytes(700));
  EXPECT_EQ(f.substr(last + 152, 8), DoubleBytes(200));
  EXPECT_EQ(freeze->Account(400).ClosingOtherSide(), 200);
  EXPECT_THROW(freeze->Account(0), std::out_of_range);
  EXPECT_THROW(freeze->Account(401), std::out_of_range);

  records::PartnerRec partner;
  const std::vector<std::size_t> accountOffsets = {1416, 1437, 1458, 1479, 1500, 1521, 1542};
  for (int i = 0; i < 7; ++i) partner.SetAccountField(i, "A" + std::to_string(i));
  partner.SetOurNumber(25);
  const std::string p = Bytes(partner);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(p.substr(accountOffsets[i], 3), Short("A" + std::to_string(i))) << i;
  EXPECT_EQ(partner.SalesCostGroup3(), "A3");
  EXPECT_EQ(p.substr(104, 4), std::string("\x19\0\0\0", 4));
}

TEST(LedgerUnit, TypeLettersAndAccountNumbers) {
  struct TypeCase {
    std::string stored;
    char code;
  };
  for (const TypeCase& c : std::vector<TypeCase>{{"P", 'P'}, {"p", 'P'}, {"T", 'T'}, {"t", 'T'}, {"D", 'D'},
                                                 {"d", 'D'}, {"Debit", 'D'}, {"C", 'C'}, {"c", 'C'},
                                                 {"X", 'C'}, {"", 'C'}})
    EXPECT_EQ(masterdata::LedgerTypeCode(c.stored), c.code) << c.stored;

  struct NumberCase {
    std::string number;
    bool acceptable;
  };
  for (const NumberCase& c : std::vector<NumberCase>{{"1000", true},
                                                     {"123456789012345", true},
                                                     {"1234567890123456", false},
                                                     {"\x80\x80\x80", true},
                                                     {"1000 ", false},
                                                     {"10 00", true},
                                                     {"10{0", false},
                                                     {"10;0", false},
                                                     {"#100", false},
                                                     {"10#", true}})
    EXPECT_EQ(masterdata::AccountNumberAcceptable(c.number), c.acceptable) << c.number;
}

// ---- the form

// Aggregate initialisation names the leading fields; the rest keep their
// defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
struct Account {
  std::string number;
  std::string type = "D";
  std::string category = "Assets";
  std::string startDate = "20231231";
  double startAmount = 0;
  std::string caption = "Account";
  std::string function;
  std::string changedBy = "OLD";
  std::string changedAt = "01-01-2020 10:00:00";
};

records::LedgerAccountRec AccountRec(const Account& a) {
  records::LedgerAccountRec rec;
  rec.SetAccountNumber(a.number);
  rec.SetCaption(a.caption);
  rec.SetAccountType(a.type);
  rec.SetCategoryName(a.category);
  rec.SetStartDate(a.startDate);
  rec.SetStartAmount(a.startAmount);
  rec.SetEndDate("20501231");
  rec.SetAccountFunction(a.function);
  rec.SetChangedBy(a.changedBy);
  rec.SetChangedAt(a.changedAt);
  return rec;
}

// A voucher line as the voucher store writes it: the account number padded
// with blanks.
records::JournalVoucherRec Line(const std::string& date, const std::string& book, const std::string& account,
                                double debit, double credit) {
  records::JournalVoucherRec rec;
  rec.SetVoucherDate(date);
  rec.SetBookNumber(book);
  rec.SetAccountNumber(account + std::string(30, ' '));
  rec.SetDebitAmount(debit);
  rec.SetCreditAmount(credit);
  return rec;
}

struct FrozenAccount {
  std::string number;
  std::string type;
  double own, other;
};

std::string FreezeFile(const std::string& periodEnd, const std::vector<FrozenAccount>& accounts) {
  auto rec = std::make_unique<records::FreezeRec>();
  rec->SetPeriodEndDate(periodEnd);
  int i = 1;
  for (const FrozenAccount& a : accounts) {
    records::FreezeAccountRow row;
    row.SetAccountNumber(a.number);
    row.SetAccountType(a.type);
    row.SetClosingOwnSide(a.own);
    row.SetClosingOtherSide(a.other);
    rec->SetAccount(i++, row);
  }
  return Bytes(*rec);
}

class LedgerForm : public ::testing::Test, public support::AdministrationFolder {
 protected:
  static constexpr const char* kGla = "/d/ACME/ledger.vlk";
  static constexpr const char* kGlc = "/d/ACME/ledgerct.vlk";
  static constexpr const char* kJvo = "/d/ACME/book.vlk";
  static constexpr const char* kFrz = "/d/ACME/freeze.vlk";
  static constexpr const char* kCus = "/d/ACME/customer.vlk";
  static constexpr const char* kSup = "/d/ACME/supplier.vlk";

  ui::HeadlessBackend backend;
  platform::ScopedNumberFormat numbers{'.'};
  TLedger form;

  void SetUp() override {
    text::SystemSettings.AmountDecimals = 2;
    for (int i = 0; i < records::SystemParamRec::kTaxRateCount; ++i) store::SystemParams.SetTaxRateName(i, "");
    store::SystemParams.SetTaxRateName(0, "HIGH");
    store::SystemParams.SetTaxRateName(2, "LOW");
    store::AdminSettings.SetBookYearStart("20240101");
    store::AdminSettings.SetProfitAccountNumber("0900");
    Categories({"Assets", "Sales"});
  }

  void Accounts(const std::vector<Account>& accounts) {
    std::vector<records::LedgerAccountRec> recs;
    for (const Account& a : accounts) recs.push_back(AccountRec(a));
    store.fs.SetFile(kGla, Bytes(recs));
  }
  void Categories(const std::vector<std::string>& names) {
    std::vector<records::LedgerCategoryRec> recs(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) recs[i].SetCategoryName(names[i]);
    store.fs.SetFile(kGlc, Bytes(recs));
  }
  void Lines(const std::vector<records::JournalVoucherRec>& lines) { store.fs.SetFile(kJvo, Bytes(lines)); }
  // A customer (or supplier) with `number` in account field `field`.
  void PartnerNaming(const std::string& path, int field, const std::string& number) {
    records::PartnerRec other, partner;
    other.SetPartnerGroup("1300");
    partner.SetAccountField(field, number);
    store.fs.SetFile(path, Bytes(std::vector<records::PartnerRec>{other, partner}));
  }

  // Shows the form as the function tree does; `body` runs while it is shown.
  void Show(const std::function<void(TLedger&)>& body) { support::ShowAsTreeDoes(backend, form, "FRZ;GLA;GLC", body); }

  static void SelectRow(TLedger& f, int row) {
    f.StringGrid1.UserSelectCell(0, row);
    f.SelectImage.UserClick();
  }
  static void Type(TLedger& f, const std::string& number, const std::string& category = "Assets") {
    f.MaskEdit1.UserSetText(number);
    f.ComboBox1.UserSetText(category);
  }
  static void Post(TLedger& f) { f.PostImage.UserClick(); }
  static std::vector<std::string> GridNumbers(const TLedger& f) {
    std::vector<std::string> numbers;
    for (int r = 1; r <= f.LedgerRowTotal(); ++r) numbers.push_back(f.StringGrid1.Cell(TLedger::ColNumber, r));
    return numbers;
  }
  std::vector<records::LedgerAccountRec> FileAccounts() const {
    return support::Records<records::LedgerAccountRec>(store.fs.File(kGla));
  }
  static std::string Amount(double v) { return text::FormatAmount(v, 2, 'Y'); }
};

TEST_F(LedgerForm, PostKeepsByteOrderAndRefusesBadNumbersWithTheStrongestMessage) {
  struct Case {
    const char* name;
    std::vector<std::string> grid;
    std::string number;  // set as the program sets it (no length limit)
    std::string category;
    std::vector<std::string> expected;  // empty: refused
    const std::string* message = nullptr;
  };
  const std::string* dup = &masterdata::LedgerDuplicateText;
  const std::string* num = &masterdata::LedgerNumberText;
  const std::string* cat = &masterdata::LedgerCategoryText;
  const std::vector<Case> cases = {
      {"text order", {"1", "2", "3"}, "100", "Assets", {"1", "100", "2", "3"}},
      {"between", {"1", "3"}, "20", "Assets", {"1", "20", "3"}},
      {"10 before 9", {"9"}, "10", "Assets", {"10", "9"}},
      {"high byte after z", {"a", "z"}, "\x80x", "Assets", {"a", "z", "\x80x"}},
      {"first", {"5"}, "0", "Assets", {"0", "5"}},
      {"duplicate", {"1", "2"}, "2", "Assets", {}, dup},
      {"duplicate of a padded number", {"2  "}, "2", "Assets", {}, dup},
      {"empty number", {"1"}, "", "Assets", {}, num},
      {"leading blank", {"1"}, " 5", "Assets", {}, num},
      {"trailing blank", {"1"}, "5 ", "Assets", {}, num},
      {"brace", {"1"}, "5{6", "Assets", {}, num},
      {"semicolon", {"1"}, "5;6", "Assets", {}, num},
      {"leading hash", {"1"}, "#5", "Assets", {}, num},
      {"sixteen bytes", {"1"}, "1234567890123456", "Assets", {}, num},
      {"fifteen bytes", {}, "123456789012345", "Assets", {"123456789012345"}},
      {"category over empty number", {"1"}, "", "", {}, cat},
      {"blank over category", {"1"}, " 5", "", {}, num},
      {"duplicate over blank", {" 5"}, " 5", "", {}, dup},
      {"category typed in another case", {}, "7", "sales", {"7"}},
      {"category not in the list", {}, "7", "Nothing", {}, cat},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Account> accounts;
    for (const std::string& n : c.grid) accounts.push_back({n});
    Accounts(accounts);
    Show([&](TLedger& f) {
      f.MaskEdit1.SetText(c.number);
      f.ComboBox1.UserSetText(c.category);
      f.ComboBox1.SetFocus();
      f.MaskEdit1.SetFocus();  // leaving the list checks it
      Post(f);
      if (c.message) {
        EXPECT_EQ(GridNumbers(f), c.grid);
        EXPECT_EQ(f.StatusBar1.PanelText(0), *c.message);
        EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
        EXPECT_EQ(f.MaskEdit1.GetText(), c.number);  // the entry stays for correction
      } else {
        EXPECT_EQ(GridNumbers(f), c.expected);
        EXPECT_EQ(f.StatusBar1.PanelText(0), "");
        EXPECT_EQ(f.MaskEdit1.GetText(), "");
      }
      EXPECT_EQ(f.StringGrid1.Cell(TLedger::ColNumber, 0), text::L(2391));  // headings untouched
    });
  }
}

// F = 20240401 is the first day after the frozen periods: the lines dated
// before it are in the snapshot, the lines from F on are added to it.
TEST_F(LedgerForm, BalancesAddTheLinesFromTheFreezeEndToTheSnapshot) {
  struct Case {
    const char* name;
    bool freeze;
    std::string type;
    double periodStart, balance;
  };
  // Lines of 1000: 20240101 debit 2000 and 20240331 debit 1000 (frozen),
  // 20240401 debit 100 and credit 30 under two voucher numbers, 20240402
  // debit 5: S = 75 from F on, 3075 in all. The snapshot holds own 700 and
  // other 200: A = 500. The lines of 1000A never count for 1000.
  const std::vector<Case> cases = {
      {"debit with a freeze", true, "D", 500, 575},
      {"credit with a freeze", true, "C", 500, 425},
      {"debit without a freeze", false, "D", 0, 3075},
      {"credit without a freeze", false, "C", 0, -3075},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Accounts({{"1000", c.type, "Assets", "20240415"}, {"1000A"}});
    Lines({Line("20240101", "X1", "1000", 2000, 0), Line("20240331", "A9", "1000", 1000, 0),
           Line("20240331", "A9", "1000A", 0, 1000), Line("20240401", "B1", "1000", 100, 0),
           Line("20240401", "B1", "1000A", 0, 100), Line("20240401", "B2", "1000", 0, 30),
           Line("20240401", "B2", "1000A", 30, 0), Line("20240402", "C1", "1000", 5, 0),
           Line("20240402", "C1", "1000A", 0, 5)});
    if (c.freeze)
      store.fs.SetFile(kFrz, FreezeFile("20240401", {{"1000A", c.type, 1, 2}, {"1000", c.type, 700, 200}}));
    else
      store.fs.SetFile(kFrz, "");
    Show([&](TLedger& f) {
      SelectRow(f, 1);
      EXPECT_EQ(f.Edit1.GetText(), Amount(c.periodStart));
      EXPECT_EQ(f.Edit2.GetText(), Amount(c.balance));
      // An account with lines keeps its number and stays.
      EXPECT_FALSE(f.MaskEdit1.Enabled());
      EXPECT_FALSE(f.Delete.Enabled());
      // The end date cannot go before the latest line.
      EXPECT_EQ(f.DateTimePicker2.MinDate(), text::YmdToDate("20240402"));
      if (c.freeze) {
        // The start date cannot go before F, nor after the earliest line
        // counted.
        EXPECT_EQ(f.DateTimePicker1.MinDate(), text::YmdToDate("20240401"));
        f.DateTimePicker1.UserSetDate(text::YmdToDate("20240420"));
        EXPECT_EQ(f.DateTimePicker1.Date(), text::YmdToDate("20240415"));
        // A date before the minimum is refused; the picker keeps its date.
        f.DateTimePicker1.UserSetDate(text::YmdToDate("20240301"));
        EXPECT_EQ(f.DateTimePicker1.Date(), text::YmdToDate("20240415"));
      }
    });
  }
}

TEST_F(LedgerForm, AccountsInUseKeepTheirNumber) {
  struct Case {
    const char* name;
    bool freeze;
    std::string startDate;
    std::vector<records::JournalVoucherRec> lines;
    std::string profitAccount;
    std::string partnerFile;  // empty: no partner names it
    int partnerField;
    bool locked;
  };
  const std::string free = "20240415";   // after F
  const std::string frozen = "20240301";  // in the frozen periods
  const auto lineAfter = std::vector{Line("20240410", "B1", "1000", 1, 0)};
  const auto lineBefore = std::vector{Line("20240310", "A1", "1000", 1, 0), Line("20240410", "B1", "1001", 1, 0)};
  std::vector<Case> cases = {
      {"no use, no freeze", false, free, {}, "0900", "", 0, false},
      {"no use, freeze", true, free, {}, "0900", "", 0, false},
      {"lines, no freeze", false, free, lineBefore, "0900", "", 0, true},
      {"lines after the freeze", true, free, lineAfter, "0900", "", 0, true},
      {"lines only in the frozen periods", true, free, lineBefore, "0900", "", 0, false},
      {"start date frozen", true, frozen, {}, "0900", "", 0, true},
      {"profit account", false, free, {}, "1000", "", 0, true},
      {"profit account after a freeze", true, free, {}, "1000", "", 0, true},
      {"profit account stored padded", true, free, {}, "1000  ", "", 0, true},
  };
  for (int field = 0; field < 7; ++field) {
    cases.push_back({"customer field", false, free, {}, "0900", kCus, field, true});
    cases.push_back({"supplier field after a freeze", true, free, {}, "0900", kSup, field, true});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.partnerField));
    Accounts({{"1000", "D", "Assets", c.startDate}, {"1001"}});
    Lines(c.lines);
    store.fs.SetFile(kFrz, c.freeze ? FreezeFile("20240401", {}) : "");
    store.fs.SetFile(kCus, "");
    store.fs.SetFile(kSup, "");
    if (!c.partnerFile.empty()) PartnerNaming(c.partnerFile, c.partnerField, "1000");
    store::AdminSettings.SetProfitAccountNumber(c.profitAccount);
    Show([&](TLedger& f) {
      SelectRow(f, 1);
      EXPECT_EQ(f.MaskEdit1.GetText(), "1000");
      EXPECT_EQ(f.MaskEdit1.Enabled(), !c.locked);
      EXPECT_EQ(f.Delete.Enabled(), !c.locked);
      EXPECT_EQ(f.ActiveControl(), c.locked ? static_cast<ui::Component*>(&f.Edit5) : &f.MaskEdit1);
      // Only a start date in the frozen periods freezes the date and amount.
      const bool startFrozen = c.freeze && c.startDate == frozen;
      EXPECT_EQ(f.DateTimePicker1.Enabled(), !startFrozen);
      EXPECT_EQ(f.MaskEdit2.Enabled(), !startFrozen);
    });
  }
}

TEST_F(LedgerForm, SelectHoldsOneEntryUntilPostOrDelete) {
  Accounts({{"1000", "D", "Assets", "20231231", 0, ""}, {"2000", "D", "Assets", "20231231", 0, ""}});
  Show([&](TLedger& f) {
    EXPECT_TRUE(f.SelectImage.Enabled());
    EXPECT_TRUE(f.Save.Enabled());
    SelectRow(f, 1);  // an account without a caption
    EXPECT_TRUE(f.EntryHeld());
    EXPECT_EQ(f.MaskEdit1.GetText(), "1000");
    EXPECT_EQ(GridNumbers(f), std::vector<std::string>{"2000"});
    EXPECT_FALSE(f.SelectImage.Enabled());
    EXPECT_FALSE(f.Select.Enabled());
    EXPECT_FALSE(f.Save.Enabled());

    // A second Select is refused, even with an empty caption.
    f.SelectExecute();
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::LedgerNotPostedText);
    EXPECT_EQ(f.MaskEdit1.GetText(), "1000");
    EXPECT_EQ(GridNumbers(f), std::vector<std::string>{"2000"});

    // Clearing the number does not make Save drop the held account.
    f.MaskEdit1.UserSetText("");
    EXPECT_FALSE(f.Save.Enabled());
    f.saveExecute();
    EXPECT_TRUE(f.InModalLoop());
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::LedgerNotPostedText);

    f.MaskEdit1.UserSetText("1000");
    Post(f);
    EXPECT_FALSE(f.EntryHeld());
    EXPECT_EQ(GridNumbers(f), (std::vector<std::string>{"1000", "2000"}));
    EXPECT_TRUE(f.SelectImage.Enabled());
    EXPECT_TRUE(f.Select.Enabled());
    EXPECT_TRUE(f.Save.Enabled());
    f.Button1.UserClick();
    EXPECT_FALSE(f.InModalLoop());
  });
  ASSERT_EQ(FileAccounts().size(), 2u);
  EXPECT_EQ(FileAccounts()[0].AccountNumber(), "1000");
}

// Post from the tool bar leaves the focus in the list fields: their typed
// texts are checked all the same, as on leaving the field.
TEST_F(LedgerForm, PostChecksTheListFieldsItselfWhenTheFocusNeverLeftThem) {
  Show([&](TLedger& f) {
    f.MaskEdit1.UserSetText("1000");
    f.ComboBox1.UserSetText("sALES");  // an item ignoring case
    f.ToolButton2.UserClick();
    ASSERT_EQ(GridNumbers(f), std::vector<std::string>{"1000"});
    EXPECT_EQ(f.StringGrid1.Cell(TLedger::ColCategory, 1), "Sales");

    f.MaskEdit1.UserSetText("2000");
    f.ComboBox1.UserSetText("Salez");  // no item: cleared, so refused
    f.ToolButton2.UserClick();
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::LedgerCategoryText);
    EXPECT_EQ(GridNumbers(f), std::vector<std::string>{"1000"});
    f.UserKeyDown(ui::keys::Escape);
  });
}

// With the only account taken out, a second Select is refused as it is
// while other rows remain.
TEST_F(LedgerForm, SelectIsRefusedWhileTheLastAccountIsHeld) {
  Accounts({{"1000"}});
  Show([&](TLedger& f) {
    SelectRow(f, 1);
    ASSERT_TRUE(f.EntryHeld());
    f.SelectExecute();
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::LedgerNotPostedText);
    EXPECT_EQ(f.MaskEdit1.GetText(), "1000");
    f.UserKeyDown(ui::keys::Escape);
  });
}

TEST_F(LedgerForm, CancelledSelectLeavesNothingBehindForTheNextShowing) {
  Accounts({{"1000"}});
  Lines({Line("20240410", "B1", "1000", 1, 0)});
  const std::string before = store.fs.File(kGla);
  Show([&](TLedger& f) {
    SelectRow(f, 1);
    EXPECT_FALSE(f.MaskEdit1.Enabled());
    EXPECT_TRUE(f.DateTimePicker2.MinDate().has_value());
    f.UserKeyDown(ui::keys::Escape);
    EXPECT_FALSE(f.InModalLoop());
  });
  EXPECT_EQ(store.fs.File(kGla), before);

  Show([&](TLedger& f) {
    EXPECT_EQ(GridNumbers(f), std::vector<std::string>{"1000"});
    EXPECT_FALSE(f.EntryHeld());
    EXPECT_TRUE(f.MaskEdit1.Enabled());
    EXPECT_TRUE(f.MaskEdit2.Enabled());
    EXPECT_TRUE(f.Select.Enabled());
    EXPECT_TRUE(f.SelectImage.Enabled());
    EXPECT_TRUE(f.Delete.Enabled());
    EXPECT_EQ(f.DateTimePicker1.MinDate(), std::nullopt);
    EXPECT_EQ(f.DateTimePicker2.MinDate(), std::nullopt);
    EXPECT_EQ(f.DateTimePicker1.Date(), text::YmdToDate("20231231"));  // the day before the book year
    EXPECT_EQ(f.DateTimePicker2.Date(), text::YmdToDate("20501231"));
    EXPECT_EQ(f.MaskEdit1.GetText(), "");
    Type(f, "0500");
    Post(f);
    EXPECT_EQ(GridNumbers(f), (std::vector<std::string>{"0500", "1000"}));
  });
}

TEST_F(LedgerForm, SelectOnAnEmptyGridDoesNothing) {
  store.fs.SetFile(kGla, "");
  Show([&](TLedger& f) {
    EXPECT_EQ(f.StringGrid1.RowCount(), 2);
    EXPECT_FALSE(f.SelectImage.Enabled());
    f.Select.Execute();
    EXPECT_FALSE(f.EntryHeld());
    EXPECT_EQ(f.LedgerRowTotal(), 0);
    EXPECT_EQ(f.StatusBar1.PanelText(0), "");
    Type(f, "1000");
    Post(f);
    EXPECT_EQ(f.StringGrid1.Cell(TLedger::ColNumber, 0), text::L(2391));
    EXPECT_EQ(GridNumbers(f), std::vector<std::string>{"1000"});
    // One account is enough to select it.
    EXPECT_TRUE(f.SelectImage.Enabled());
    f.Button1.UserClick();
  });
  ASSERT_EQ(FileAccounts().size(), 1u);
  EXPECT_EQ(FileAccounts()[0].AccountNumber(), "1000");
}

TEST_F(LedgerForm, TheFourHundredthAccountIsTheLast) {
  std::vector<Account> accounts;
  for (int i = 0; i < 399; ++i) accounts.push_back({std::to_string(10000 + i)});
  Accounts(accounts);
  Show([&](TLedger& f) {
    Type(f, "90000");
    Post(f);
    EXPECT_EQ(f.LedgerRowTotal(), 400);
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::LedgerLimitText);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
    Type(f, "90001");
    Post(f);
    EXPECT_EQ(f.LedgerRowTotal(), 400);
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::LedgerLimitText);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Red);
    // A row taken out may go back.
    f.MaskEdit1.UserSetText("");
    f.ComboBox1.UserSetText("");
    SelectRow(f, 400);
    EXPECT_EQ(f.MaskEdit1.GetText(), "90000");
    Post(f);
    EXPECT_EQ(f.LedgerRowTotal(), 400);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
  });
}

TEST_F(LedgerForm, PostAndDeleteClearEveryEntryField) {
  store.fs.SetFile(kGla, [&] {
    records::LedgerAccountRec rec = AccountRec({"1000", "T", "Assets", "20231231", 0, "Bank", "Sales account 2"});
    rec.SetLeadCode("LEAD");
    rec.SetJournalName("Bank book");
    rec.SetIsCashOrBank(true);
    rec.SetSalesTaxCode("LOW");
    return Bytes(rec);
  }());
  Show([&](TLedger& f) {
    EXPECT_FALSE(f.RadioButton2.Enabled());  // one transfer account
    SelectRow(f, 1);
    EXPECT_TRUE(f.RadioButton2.Enabled());
    EXPECT_TRUE(f.RadioButton2.Checked());
    EXPECT_EQ(f.Edit6.GetText(), "LEAD");
    EXPECT_EQ(f.Edit7.GetText(), "Bank book");
    EXPECT_TRUE(f.Edit7.Visible());
    EXPECT_EQ(f.ComboBox3.ItemIndex(), 3);
    EXPECT_EQ(f.ComboBox2.GetText(), "LOW");
    f.Delete.Execute();
    EXPECT_FALSE(f.EntryHeld());
    for (const ui::Edit* e : {&f.MaskEdit1, &f.Edit5, &f.MaskEdit2, &f.Edit6, &f.Edit7, &f.Edit1, &f.Edit2, &f.Edit3,
                              &f.Edit4})
      EXPECT_EQ(e->GetText(), "") << e->Name();
    EXPECT_FALSE(f.Edit7.Visible());
    EXPECT_FALSE(f.CheckBox1.Checked());
    EXPECT_TRUE(f.RadioButton3.Checked());
    EXPECT_EQ(f.ComboBox1.GetText(), "");
    EXPECT_EQ(f.ComboBox2.GetText(), "");
    EXPECT_EQ(f.ComboBox3.GetText(), "");
    EXPECT_EQ(f.DateTimePicker2.Date(), text::YmdToDate("20501231"));
    EXPECT_FALSE(f.SelectImage.Enabled());  // the grid is empty now

    Type(f, "2000");
    Post(f);
    f.Button1.UserClick();
  });
  // The deleted account is gone; the new one took nothing of it.
  const auto recs = FileAccounts();
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].AccountNumber(), "2000");
  EXPECT_EQ(recs[0].AccountType(), "D");
  EXPECT_EQ(recs[0].LeadCode(), "");
  EXPECT_EQ(recs[0].JournalName(), "");
  EXPECT_EQ(recs[0].AccountFunction(), "");
  EXPECT_EQ(recs[0].SalesTaxCode(), "");
  EXPECT_FALSE(recs[0].IsCashOrBank());
}

TEST_F(LedgerForm, InvalidStoredDatesNeitherRaiseNorLeaveTheSetOpen) {
  store::AdminSettings.SetBookYearStart("");
  store.fs.SetFile(kGla, [&] {
    records::LedgerAccountRec rec = AccountRec({"1000", "D", "Assets", "2024XX01"});
    rec.SetEndDate("");
    records::LedgerAccountRec other = AccountRec({"2000", "D", "Assets", "20240501"});
    other.SetEndDate("20241301");
    return Bytes(rec) + Bytes(other);
  }());
  // Without a freeze and without a book year, a new account starts today.
  Show([&](TLedger& f) {
    EXPECT_EQ(f.DateTimePicker1.Date(), platform::Date());
    SelectRow(f, 2);
    EXPECT_EQ(f.MaskEdit1.GetText(), "2000");
    EXPECT_EQ(f.DateTimePicker2.Date(), text::YmdToDate("20501231"));
    SelectRow(f, 1);  // refused: an entry is held
    Post(f);
    SelectRow(f, 1);
    EXPECT_EQ(f.MaskEdit1.GetText(), "1000");
    EXPECT_TRUE(f.MaskEdit1.Enabled());
    EXPECT_FALSE(store::FileSetOpen);
    f.Cancel.Execute();
  });
  // After a freeze, a start date that is no date counts as frozen: it stays
  // as stored.
  store.fs.SetFile(kFrz, FreezeFile("20240401", {}));
  Show([&](TLedger& f) {
    SelectRow(f, 1);
    EXPECT_TRUE(f.EntryHeld());
    EXPECT_FALSE(f.MaskEdit1.Enabled());
    EXPECT_FALSE(f.DateTimePicker1.Enabled());
    EXPECT_FALSE(store::FileSetOpen);
    Post(f);
    f.Button1.UserClick();
  });
  EXPECT_TRUE(backend.messages.empty());
  const auto recs = FileAccounts();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0].StartDate(), "2024XX01");
  EXPECT_EQ(recs[1].EndDate(), "20241301");  // not selected in this showing
}

// Select and Post change nothing the user did not change: stored dates the
// pickers cannot show stay as stored, unless the user picks a date.
TEST_F(LedgerForm, SelectAndPostKeepStoredDatesThePickersCannotShow) {
  store.fs.SetFile(kGla, [&] {
    records::LedgerAccountRec rec = AccountRec({"1000", "D", "Assets", ""});
    rec.SetEndDate("2024XX01");
    records::LedgerAccountRec other = AccountRec({"2000", "D", "Assets", "2024XX01"});
    other.SetEndDate("");
    return Bytes(rec) + Bytes(other);
  }());
  Show([&](TLedger& f) {
    SelectRow(f, 1);
    Post(f);
    SelectRow(f, 2);
    f.DateTimePicker1.UserSetDate(text::YmdToDate("20240105"));
    f.DateTimePicker2.UserSetDate(text::YmdToDate("20301231"));
    Post(f);
    f.Button1.UserClick();
  });
  const auto recs = FileAccounts();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0].StartDate(), "");
  EXPECT_EQ(recs[0].EndDate(), "2024XX01");
  EXPECT_EQ(recs[1].StartDate(), "20240105");
  EXPECT_EQ(recs[1].EndDate(), "20301231");
}

TEST_F(LedgerForm, ActivationShowsStoredCodesThroughTheirCaptions) {
  store.fs.SetFile(kGla, [&] {
    records::LedgerAccountRec unknownTax = AccountRec({"4000", "c"});
    unknownTax.SetSalesTaxCode("OLD");
    return Bytes(AccountRec({"0900", "P"})) + Bytes(AccountRec({"1000", "d", "Assets", "20231231", 0,
                                                                             "Cash", "Customer group"})) +
           Bytes(AccountRec({"3000", "X"})) + Bytes(unknownTax);
  }());
  Show([&](TLedger& f) {
    EXPECT_EQ(f.StringGrid1.Cell(TLedger::ColType, 1), f.RadioButton1.Caption());
    EXPECT_EQ(f.StringGrid1.Cell(TLedger::ColType, 2), f.RadioButton3.Caption());
    EXPECT_EQ(f.StringGrid1.Cell(TLedger::ColType, 3), f.RadioButton4.Caption());
    EXPECT_EQ(f.StringGrid1.Cell(TLedger::ColFunction, 2), f.ComboBox3.Items()[1].text);
    EXPECT_EQ(f.StringGrid1.Cell(TLedger::ColCashOrBank, 2), "false");
    EXPECT_FALSE(f.RadioButton1.Enabled());
    EXPECT_TRUE(f.RadioButton2.Enabled());
    EXPECT_EQ(f.StatusBar1.PanelText(0), masterdata::LedgerTaxCodeText);
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Yellow);
    EXPECT_EQ(f.ComboBox2.Items().size(), 3u);  // empty, HIGH, LOW
    SelectRow(f, 1);
    EXPECT_TRUE(f.RadioButton1.Enabled());
  });
}

// Save writes every row afresh: loaded rows keep their stamps and stored
// values (a start amount with more decimals than shown, a lower-case type
// letter), posted rows get the user and the time; the captions shown play
// no part, even when the language has no texts at all.
TEST_F(LedgerForm, SaveWritesTheRowsWholeThroughATemporaryFile) {
  for (bool emptyLanguage : {false, true}) {
    SCOPED_TRACE(emptyLanguage ? "empty language" : "built-in English");
    if (emptyLanguage) {
      text::CurrentLanguage = text::LanguageRec{};
      form.ApplyLanguageTexts();
      EXPECT_EQ(form.RadioButton1.Caption(), "");
    }
    records::LedgerAccountRec kept = AccountRec({"1000", "d", "Assets", "20231231", 1234.5678, "Cash", "Sales account 2"});
    kept.SetSecondAmount(99);
    kept.SetSalesTaxCode("HIGH");
    kept.SetIsCashOrBank(true);
    kept.SetJournalName("Cash book");
    kept.SetLeadCode("L1");
    kept.Bytes[300] = 0x55;  // a stray byte in the room after a text
    const records::LedgerAccountRec reposted =
        AccountRec({"2000", "C", "Sales", "20231231", -0.0051, "Sales", "VAT Sales account 1"});
    const records::LedgerAccountRec profit = AccountRec({"0900", "P", "Sales", "20231231", 0, "Profit"});
    store.fs.SetFile(kGla, Bytes(profit) + Bytes(kept) + Bytes(reposted));

    Show([&](TLedger& f) {
      SelectRow(f, 3);
      EXPECT_EQ(f.MaskEdit2.GetText(), Amount(-0.0051));
      Post(f);  // unchanged
      Type(f, "3000", "Sales");
      f.Edit5.UserSetText("New");
      f.RadioButton1.UserClick();  // refused: the profit account exists
      EXPECT_TRUE(f.RadioButton3.Checked());
      f.RadioButton4.UserClick();
      f.MaskEdit2.UserSetText("12.5");
      // The function is kept by its item, even when the items show no text.
      if (emptyLanguage)
        f.ComboBox3.UserSelect(7);
      else
        f.ComboBox3.UserSetText("cash DISCOUNT sales");
      f.ComboBox3.SetFocus();
      f.MaskEdit1.SetFocus();
      Post(f);
      store.fs.ClearLog();
      f.Button1.UserClick();
      EXPECT_FALSE(f.InModalLoop());
    });

    records::LedgerAccountRec keptOut = AccountRec({"1000", "D", "Assets", "20231231", 1234.5678, "Cash",
                                                    "Sales account 2"});
    keptOut.SetSalesTaxCode("HIGH");
    keptOut.SetIsCashOrBank(true);
    keptOut.SetJournalName("Cash book");
    keptOut.SetLeadCode("L1");
    records::LedgerAccountRec repostedOut = reposted;
    repostedOut.SetChangedBy("ANNE");
    repostedOut.SetChangedAt("17-05-2024 09:30:15");
    records::LedgerAccountRec added = AccountRec({"3000", "C", "Sales", "20231231", 12.5, "New", "Cash discount sales"});
    added.SetChangedBy("ANNE");
    added.SetChangedAt("17-05-2024 09:30:15");
    EXPECT_EQ(store.fs.File(kGla),
              Bytes(profit) + Bytes(keptOut) + Bytes(repostedOut) + Bytes(added));
    EXPECT_EQ(store.fs.LogOf("rename "), std::vector<std::string>{std::string(kGla) + ".ombrelo-tmp -> " + kGla});
  }
}

TEST_F(LedgerForm, FilesThatCannotBeOpenedChangeNothing) {
  Accounts({{"1000"}});
  const std::string before = store.fs.File(kGla);
  // Save: the message, and the form stays open with its rows.
  Show([&](TLedger& f) {
    store.fs.InjectError(kGla, support::FakeFileSystem::Op::OpenReadWrite, 5);
    f.Button1.UserClick();
    EXPECT_TRUE(f.InModalLoop());
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(f.LedgerRowTotal(), 1);
    store.fs.ClearErrors();
  });
  EXPECT_EQ(store.fs.File(kGla), before);

  // Activation on its own: the message, and the form closes at once with
  // nothing to save.
  backend.messages.clear();
  store.fs.InjectError(kGla, support::FakeFileSystem::Op::OpenReadWrite, 5);
  bool shown = false;
  backend.scripts["Ledger"] = [&](ui::Form&) { shown = true; };
  form.ShowModal();
  store.fs.ClearErrors();
  EXPECT_FALSE(shown);
  EXPECT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(form.LedgerRowTotal(), 0);
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store.fs.File(kGla), before);
}

TEST_F(LedgerForm, LanguageTextsHelpAndKeys) {
  store::ProductTitle = "Ombrelo Account Enterprise 2.0.6";
  store::CurrentAdministrationName = std::string(60, 'N');
  form.ApplyLanguageTexts();
  EXPECT_EQ(form.Caption(), "Ombrelo Account Enterprise 2.0.6 : " + text::L(965) + " / " + text::L(996));
  // " " + the form text, " (", the name and ")" cut at 31, 33, 63 and 64.
  const std::string title = form.Label6.Caption();
  EXPECT_EQ(title.size(), 64u);
  EXPECT_EQ(title.substr(0, 1 + text::L(996).size() + 2), " " + text::L(996) + " (");
  EXPECT_EQ(title.back(), ')');
  EXPECT_EQ(form.StringGrid1.Cell(TLedger::ColType, 0), "D/C");
  EXPECT_EQ(form.ComboBox3.Count(), 15);
  EXPECT_EQ(form.ComboBox3.Items()[14].text, text::L(3294));
  EXPECT_EQ(masterdata::AccountFunctionCodes[1], "Customer group");
  EXPECT_EQ(masterdata::AccountFunctionCodes[14], "Cash discount purchase");
  EXPECT_EQ(masterdata::AccountFunctionCodes[15], "");
  EXPECT_EQ(masterdata::LedgerNumberText, text::L(10796));
  EXPECT_EQ(form.Button1.Caption(), text::L(54));

  masterdata::LedgerHelpCaptions.LanguageName = "Deutsch";
  Accounts({});
  Show([&](TLedger& f) {
    f.UserKeyDown(ui::keys::F1);
    EXPECT_EQ(formkit::RequestedHelpTag, "<GLA00>");
    EXPECT_TRUE(f.Showing());
    f.Tutorial1.UserClick();
    EXPECT_EQ(formkit::RequestedHelpTag, "<TUT00>");
    f.BrenvickHelp1.UserClick();
    EXPECT_EQ(formkit::RequestedHelpTag, "");
    f.BrenvickHomepage1.UserClick();
    EXPECT_EQ(backend.urlsOpened, std::vector<std::string>{formkit::HomePageUrl("Deutsch")});
    f.UserKeyDown(ui::keys::Escape);
    EXPECT_FALSE(f.InModalLoop());
  });
}

TEST_F(LedgerForm, StartAmountIsFilteredWhileTypedAndReformattedOnLeaving) {
  Accounts({});
  Show([&](TLedger& f) {
    f.MaskEdit2.SetFocus();
    f.MaskEdit2.UserSetText("12a34.567");
    EXPECT_EQ(f.MaskEdit2.GetText(), "1234.56");
    f.MaskEdit1.SetFocus();
    EXPECT_EQ(f.MaskEdit2.GetText(), Amount(1234.56));
    // The reformatted text is not filtered again.
    EXPECT_FALSE(f.StartAmountSkipFilter);
    f.MaskEdit2.SetFocus();
    EXPECT_EQ(f.MaskEdit2.SelLength(), static_cast<int>(f.MaskEdit2.GetText().size()));
    f.MaskEdit2.UserSetText("1-2");
    f.MaskEdit1.SetFocus();
    EXPECT_EQ(f.MaskEdit2.BackColor(), ui::colors::Yellow);
    // Post refuses what is no amount before it changes anything.
    Type(f, "1000");
    Post(f);
    EXPECT_EQ(f.LedgerRowTotal(), 0);
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_NE(backend.messages[0].text.find("not a valid amount"), std::string::npos);
    EXPECT_FALSE(store::FileSetOpen);
  });
}

}  // namespace

// ---- balances, untouched fields, saves beside another copy

TEST(LedgerUnit, BalancesFollowTheTrialBalanceRule) {
  // Start amount 1000, snapshot net (own - other) 300, lines after the
  // freeze debit - credit = 50.
  enum Freeze { None, MidYear, YearEnd };
  struct Case {
    Freeze freeze;
    const char* kind;
    char type;
    double periodStart, actual;
  };
  const char* bs = "Balance sheet account";
  const char* pl = "Profit and Loss account";
  const std::vector<Case> cases = {
      {None, bs, 'D', 1000, 1050},  {None, bs, 'C', 1000, 950},  {None, pl, 'C', 1000, 950},
      {MidYear, bs, 'D', 300, 350}, {MidYear, bs, 'C', 300, 250}, {MidYear, pl, 'C', 300, 250},
      {YearEnd, bs, 'D', 300, 350}, {YearEnd, bs, 'C', 300, 250}, {YearEnd, pl, 'C', 0, -50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.freeze) + " " + c.kind + " " + c.type);
    masterdata::BalanceFacts facts;
    facts.freeze = c.freeze != None;
    facts.yearClosed = c.freeze == YearEnd;
    if (facts.freeze) facts.frozenNet = 300;
    facts.categoryKind = c.kind;
    facts.type = c.type;
    facts.startAmount = 1000;
    facts.lineSum = 50;
    EXPECT_EQ(masterdata::LedgerBalances(facts), (masterdata::AccountBalances{c.periodStart, c.actual}));
    // An account the snapshot does not hold starts with its start amount.
    facts.frozenNet.reset();
    EXPECT_EQ(masterdata::LedgerBalances(facts).periodStart, 1000);
  }

  struct LabelCase {
    std::string label;
    bool closes;
  };
  for (const LabelCase& c : std::vector<LabelCase>{{"2024-12/12", true},
                                                   {"2024-13/13", true},
                                                   {"2024-06/12", false},
                                                   {"2024-00/12", false},
                                                   {"", false},
                                                   {"2024-12", false}})
    EXPECT_EQ(masterdata::FreezeClosesBookYear(c.label), c.closes) << c.label;
}

TEST_F(LedgerForm, SelectShowsTheTrialBalanceFigures) {
  struct Case {
    const char* name;
    std::string label;  // empty: no freeze
    std::string category;
    std::string type;
    double periodStart, actual;
  };
  // 8000 starts with 1000 on 20231231; the snapshot holds own 5000, other
  // 0; one credit line of 100 after it.
  const std::vector<Case> cases = {
      {"no freeze: the start amount", "", "Assets", "D", 1000, 900},
      {"after the year-end freeze, profit and loss", "2024-12/12", "Sales", "C", 0, 100},
      {"after the year-end freeze, balance sheet", "2024-12/12", "Assets", "C", 5000, 5100},
      {"after a mid-year freeze, profit and loss", "2025-06/12", "Sales", "C", 5000, 5100},
  };
  records::LedgerCategoryRec assets, sales;
  assets.SetCategoryKind(records::kBalanceSheetKind);
  assets.SetCategoryName("Assets");
  sales.SetCategoryKind(records::kProfitAndLossKind);
  sales.SetCategoryName("Sales");
  store.fs.SetFile(kGlc, Bytes(assets) + Bytes(sales));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Accounts({{"8000", c.type, c.category, "20231231", 1000}});
    Lines({Line("20250115", "B1", "8000", 0, 100)});
    if (c.label.empty()) {
      store.fs.SetFile(kFrz, "");
    } else {
      auto rec = std::make_unique<records::FreezeRec>();
      rec->SetPeriodEndDate("20250101");
      rec->SetPeriodLabel(c.label);
      records::FreezeAccountRow row;
      row.SetAccountNumber("8000");
      row.SetAccountType(c.type);
      row.SetClosingOwnSide(5000);
      rec->SetAccount(1, row);
      store.fs.SetFile(kFrz, Bytes(*rec));
    }
    Show([&](TLedger& f) {
      SelectRow(f, 1);
      EXPECT_EQ(f.Edit1.GetText(), Amount(c.periodStart));
      EXPECT_EQ(f.Edit2.GetText(), Amount(c.actual));
    });
  }
}

// The record built afresh from its fields, all other bytes zero (as the
// form writes it).
records::LedgerAccountRec Fresh(const records::LedgerAccountRec& r) {
  records::LedgerAccountRec rec;
  rec.SetAccountNumber(r.AccountNumber());
  rec.SetCaption(r.Caption());
  rec.SetAccountType(r.AccountType());
  rec.SetCategoryName(r.CategoryName());
  rec.SetLeadCode(r.LeadCode());
  rec.SetStartDate(r.StartDate());
  rec.SetStartAmount(r.StartAmount());
  rec.SetEndDate(r.EndDate());
  rec.SetIsCashOrBank(r.IsCashOrBank());
  rec.SetJournalName(r.JournalName());
  rec.SetAccountFunction(r.AccountFunction());
  rec.SetSalesTaxCode(r.SalesTaxCode());
  rec.SetChangedBy(r.ChangedBy());
  rec.SetChangedAt(r.ChangedAt());
  return rec;
}

TEST_F(LedgerForm, SelectAndPostKeepEveryStoredFieldTheUserLeftAlone) {
  struct Case {
    const char* name;
    std::function<void(records::LedgerAccountRec&)> stored;
    bool withLine = false;
  };
  const std::vector<Case> cases = {
      {"a sales-tax name no longer offered", [](records::LedgerAccountRec& r) { r.SetSalesTaxCode("OLD"); }},
      {"a category in another case", [](records::LedgerAccountRec& r) { r.SetCategoryName("assets"); }},
      {"a category no longer offered", [](records::LedgerAccountRec& r) { r.SetCategoryName("Stock"); }},
      {"an unknown function code", [](records::LedgerAccountRec& r) { r.SetAccountFunction("Bogus"); }},
      {"invalid stored dates",
       [](records::LedgerAccountRec& r) {
         r.SetStartDate("2023");
         r.SetEndDate("");
       }},
      {"a number with a leading blank and a line", [](records::LedgerAccountRec& r) { r.SetAccountNumber(" 500"); },
       true},
      {"a number with a leading blank and no line",
       [](records::LedgerAccountRec& r) { r.SetAccountNumber(" 500"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    records::LedgerAccountRec rec = AccountRec({"4000", "C", "Sales", "20231231", 12.345, "Old caption",
                                                "Sales account 1"});
    rec.SetSalesTaxCode("HIGH");
    rec.SetIsCashOrBank(true);
    rec.SetJournalName("Bank");
    rec.SetLeadCode("L9");
    c.stored(rec);
    rec = Fresh(rec);
    store.fs.SetFile(kGla, Bytes(rec));
    Lines(c.withLine ? std::vector{Line("20240410", "B1", rec.AccountNumber(), 1, 0)}
                     : std::vector<records::JournalVoucherRec>{});
    Show([&](TLedger& f) {
      SelectRow(f, 1);
      f.Edit5.UserSetText("New caption");
      // The user passes through the list fields without changing them.
      for (ui::Component* c : std::initializer_list<ui::Component*>{&f.ComboBox1, &f.ComboBox2, &f.ComboBox3})
        c->SetFocus();
      f.Edit5.SetFocus();
      Post(f);
      EXPECT_EQ(f.LedgerRowTotal(), 1) << f.StatusBar1.PanelText(0);
      f.Button1.UserClick();
      EXPECT_FALSE(f.InModalLoop());
    });
    records::LedgerAccountRec expected = rec;
    expected.SetCaption("New caption");
    expected.SetChangedBy("ANNE");
    expected.SetChangedAt("17-05-2024 09:30:15");
    EXPECT_EQ(store.fs.File(kGla), Bytes(Fresh(expected)));
  }
  // A tax name the user changes is checked against the list.
  Accounts({{"4000"}});
  Show([&](TLedger& f) {
    SelectRow(f, 1);
    f.ComboBox2.UserSetText("OLDER");
    Post(f);
    EXPECT_EQ(f.Rows().at(0).salesTaxCode, "");
  });
}

TEST_F(LedgerForm, SaveRefusesWhatAnotherCopyChangedMeanwhile) {
  struct Case {
    const char* name;
    std::function<void()> otherCopy;  // runs after Select
    bool deleteIt;                               // else renumber 1000 to 1500
    std::string message;                         // empty: saved
  };
  const std::string inUse = masterdata::MsgAccountInUse("1000");
  const std::vector<Case> cases = {
      {"nothing changed: renumbered", [] {}, false, ""},
      {"nothing changed: deleted", [] {}, true, ""},
      {"a voucher line on the renumbered account", [this] { Lines({Line("20240410", "B1", "1000", 1, 0)}); }, false,
       inUse},
      {"a partner names the deleted account", [this] { PartnerNaming(kCus, 2, "1000"); }, true, inUse},
      {"a line on another account", [this] { Lines({Line("20240410", "B1", "2000", 1, 0)}); }, true, ""},
      {"another account added",
       [this] {
         Accounts({{"1000"}, {"2000"}, {"3000"}});
       },
       false, text::MsgChangedInAnotherCopy()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    backend.messages.clear();
    Accounts({{"1000"}, {"2000"}});
    Lines({});
    store.fs.SetFile(kCus, "");
    store.fs.SetFile(kSup, "");
    Show([&](TLedger& f) {
      SelectRow(f, 1);
      ASSERT_TRUE(f.MaskEdit1.Enabled());
      c.otherCopy();
      const std::string before = store.fs.File(kGla);
      if (c.deleteIt) {
        f.Button3.UserClick();
      } else {
        f.MaskEdit1.UserSetText("1500");
        Post(f);
      }
      f.Button1.UserClick();
      if (c.message.empty()) {
        EXPECT_FALSE(f.InModalLoop());
        EXPECT_TRUE(backend.messages.empty());
        return;
      }
      // Nothing written, the message names why, and the form keeps the work.
      EXPECT_TRUE(f.InModalLoop());
      ASSERT_EQ(backend.messages.size(), 1u);
      EXPECT_EQ(backend.messages[0].text, c.message);
      EXPECT_EQ(store.fs.File(kGla), before);
      const std::vector<std::string> kept =
          c.deleteIt ? std::vector<std::string>{"2000"} : std::vector<std::string>{"1500", "2000"};
      EXPECT_EQ(GridNumbers(f), kept);
      EXPECT_FALSE(store::FileSetOpen);
      f.Button2.UserClick();
    });
  }
}
