// The bank import without a form: accounts as compared and stored, the rows
// a profile reads and refuses, entry numbers, the partner found by account,
// the run over the fixture statements (payments, vouchers, paid amounts,
// a stopped run continued), and the profile file.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "books/journal/bankimport.h"
#include "books/journal/bankimportrun.h"
#include "books/journal/importprofilestore.h"
#include "records/importprofilerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/paymentrec.h"
#include "store/fileset.h"
#include "store/scopedfileset.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/bankbooks.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using books::journal::ImportRow;
using books::journal::PartnerSearch;
using books::journal::RowDirection;
using books::journal::RowFault;
using books::journal::StatementRow;
using records::ImportProfileRec;
using records::PaymentRec;
using support::Bytes;
using support::Records;

// The profile of the ";" fixture: date, own account, counterparty, name,
// debit/credit "D", amount, narrative 1.
ImportProfileRec SemicolonProfile() {
  ImportProfileRec p = books::journal::DefaultImportProfile(1);
  p.SetProfileName("Bank ;");
  p.SetDateColumn(0);
  p.SetDateFormat("dd-mm-yyyy");
  p.SetOwnAccountColumn(1);
  p.SetCounterpartyAccountColumn(2);
  p.SetAscriptionColumn(3);
  p.SetDebitCreditColumn(4);
  p.SetDebitString(" D ");
  p.SetAmountColumn(5);
  p.SetNarrativeColumn(1, 6);
  for (int k = 2; k <= 6; ++k) p.SetNarrativeColumn(k, -1);
  return p;
}

std::vector<StatementRow> Split(const std::string& bytes, char separator, bool header) {
  const auto split =
      books::journal::SplitStatement(books::journal::StatementLines(books::journal::DecodeStatement(bytes)),
                                     books::journal::SplitOptions{separator, '"', header});
  EXPECT_EQ(split.outcome, books::journal::SplitOutcome::Done);
  return split.rows;
}

// ---- Accounts and rows --------------------------------------------------------

TEST(BankImportAccounts, ComparedWithoutBlanksInUpperCaseOver20StoredOver15) {
  struct Case {
    const char* typed;
    const char* match;
    const char* stored;
  } cases[] = {
      {"NL02 BANK 9876 5432", "NL02BANK98765432", "NL02BANK9876543"},
      {"nl02bank98765432", "NL02BANK98765432", "NL02BANK9876543"},
      {"NL02 BANK 9876 5432 10 99 7", "NL02BANK987654321099", "NL02BANK9876543"},
      {" 12\t34 ", "1234", "1234"},
      {"DE89 3704 0044 0532 0130 00", "DE893704004405320130", "DE8937040044053"},
      {"caf\xE9", "CAF\xC9", "CAF\xC9"},
      {"", "", ""},
      {"   ", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(books::journal::MatchAccount(c.typed), c.match) << c.typed;
    EXPECT_EQ(books::journal::StoredAccount(c.typed), c.stored) << c.typed;
  }
}

TEST(BankImportRows, ReadsTheProfilesCellsAndNamesTheFault) {
  const ImportProfileRec p = SemicolonProfile();
  ImportProfileRec signedProfile = p;
  signedProfile.SetDebitCreditColumn(-1);
  struct Case {
    const char* name;
    std::vector<std::string> cells;
    const ImportProfileRec& profile;
    RowFault fault;
    RowDirection direction = RowDirection::Credit;
    double amount = 0;
  } cases[] = {
      {"debit string trimmed, any case", {"05-01-2024", "NL01", "X", "N", "d", "121,00", "t"}, p, RowFault::None,
       RowDirection::Debit, 121},
      {"anything else is credit", {"05-01-2024", "NL01", "X", "N", "C", "1.234,56"}, p, RowFault::None,
       RowDirection::Credit, 1234.56},
      {"an empty debit/credit cell is credit", {"05-01-2024", "NL01", "X", "N", "", "5"}, p, RowFault::None,
       RowDirection::Credit, 5},
      {"no column: a negative amount is a debit", {"05-01-2024", "NL01", "X", "N", "C", "-5,00"}, signedProfile,
       RowFault::None, RowDirection::Debit, 5},
      {"no column: a positive one a credit", {"05-01-2024", "NL01", "X", "N", "D", " 12,00 "}, signedProfile,
       RowFault::None, RowDirection::Credit, 12},
      {"empty date", {" ", "NL01", "X", "N", "D", "1"}, p, RowFault::EmptyDate},
      {"a missing date cell", {}, p, RowFault::EmptyDate},
      {"date not fitting the layout", {"2024-01-05", "NL01", "X", "N", "D", "1"}, p, RowFault::NonExistingDate},
      {"no such day", {"30-02-2024", "NL01", "X", "N", "D", "1"}, p, RowFault::NonExistingDate},
      {"empty amount", {"05-01-2024", "NL01", "X", "N", "D", ""}, p, RowFault::EmptyAmount},
      {"an amount that is no number", {"05-01-2024", "NL01", "X", "N", "D", "12 EUR"}, p, RowFault::AmountNotANumber},
      {"two decimal separators", {"05-01-2024", "NL01", "X", "N", "D", "1.234.567"}, p, RowFault::AmountNotANumber},
      {"negative beside a debit/credit column", {"05-01-2024", "NL01", "X", "N", "D", "-1"}, p,
       RowFault::NegativeAmount},
      {"empty own account", {"05-01-2024", "  ", "X", "N", "D", "1"}, p, RowFault::EmptyOwnAccount},
      {"another own account", {"05-01-2024", "NL09", "X", "N", "D", "1"}, p, RowFault::OtherOwnAccount},
      {"the own account compared without blanks and case", {"05-01-2024", "n l01", "X", "N", "D", "1"}, p,
       RowFault::None, RowDirection::Debit, 1},
  };
  for (const auto& c : cases) {
    const auto reading = books::journal::ReadImportRow(StatementRow{7, c.cells}, c.profile, 2, "NL01");
    EXPECT_EQ(reading.fault, c.fault) << c.name;
    ASSERT_EQ(reading.row.has_value(), c.fault == RowFault::None) << c.name;
    if (reading.row) {
      EXPECT_EQ(reading.row->direction, c.direction) << c.name;
      EXPECT_DOUBLE_EQ(reading.row->amount, c.amount) << c.name;
      EXPECT_EQ(reading.row->line, 7) << c.name;
    }
  }
  // Missing narrative, name and counterparty cells read as empty.
  const auto shortRow = books::journal::ReadImportRow(StatementRow{2, {"05-01-2024", "NL01"}}, p, 2, "");
  EXPECT_EQ(shortRow.fault, RowFault::EmptyAmount);
  ImportProfileRec amountFirst = p;
  amountFirst.SetAmountColumn(1);
  amountFirst.SetOwnAccountColumn(0);
  amountFirst.SetDateColumn(2);
  amountFirst.SetCounterpartyAccountColumn(7);
  amountFirst.SetAscriptionColumn(8);
  amountFirst.SetNarrativeColumn(1, 9);
  const auto r = books::journal::ReadImportRow(StatementRow{2, {"NL01", "3", "05-01-2024"}}, amountFirst, 2, "");
  ASSERT_TRUE(r.row);
  EXPECT_EQ(r.row->counterparty, "");
  EXPECT_EQ(r.row->ascription, "");
  EXPECT_EQ(r.row->narratives[0], "");
}

TEST(BankImportRows, NextListsBadRowsAndThoseBeforeTheOpenPeriod) {
  std::vector<StatementRow> rows;
  rows.push_back({2, {"05-01-2024", "NL01", "X", "N", "D", "1"}});
  rows.push_back({3, {"31-12-2023", "NL01", "X", "N", "D", "2"}});
  rows.push_back({4, {"05-13-2024", "NL01", "X", "N", "D", "3"}});
  for (int i = 0; i < 22; ++i) rows.push_back({5 + i, {"05-01-2024", "NL02", "X", "N", "D", "4"}});
  const auto check =
      books::journal::CheckStatementRows(rows, SemicolonProfile(), books::journal::StatementRules{"20240101"});
  ASSERT_EQ(check.rows.size(), 2u);
  EXPECT_EQ(check.beforeOpen, (std::vector<std::size_t>{1}));
  ASSERT_EQ(check.badRows.size(), 23u);
  EXPECT_EQ(check.badRows[0], "line 4: Non existing date");
  EXPECT_EQ(check.badRows[1], "line 5: another own account than the first row that reads");
  const std::string message = books::journal::BadRowsMessage(check.badRows);
  EXPECT_NE(message.find("line 4: Non existing date\nline 5:"), std::string::npos);
  EXPECT_NE(message.find("line 23:"), std::string::npos);
  EXPECT_EQ(message.find("line 24:"), std::string::npos);
  EXPECT_TRUE(message.ends_with("\nand 3 more"));
}

TEST(BankImportRows, AProfileNeedsDateAmountAndOwnAccountColumns) {
  using books::journal::ProfileFault;
  EXPECT_EQ(books::journal::CheckImportProfile(SemicolonProfile()), ProfileFault::None);
  struct Case {
    void (*change)(ImportProfileRec&);
    ProfileFault fault;
  } cases[] = {
      {[](ImportProfileRec& p) { p.SetProfileNumber(11); }, ProfileFault::NumberOutside},
      {[](ImportProfileRec& p) { p.SetProfileNumber(0); }, ProfileFault::NumberOutside},
      {[](ImportProfileRec& p) { p.SetDateColumn(-1); }, ProfileFault::NoDateColumn},
      {[](ImportProfileRec& p) { p.SetAmountColumn(-1); }, ProfileFault::NoAmountColumn},
      {[](ImportProfileRec& p) { p.SetOwnAccountColumn(-1); }, ProfileFault::NoOwnAccountColumn},
      {[](ImportProfileRec& p) { p.SetDateFormat("dd.mm.yyyy"); }, ProfileFault::NoDateLayout},
  };
  for (const auto& c : cases) {
    ImportProfileRec p = SemicolonProfile();
    c.change(p);
    EXPECT_EQ(books::journal::CheckImportProfile(p), c.fault);
  }
}

TEST(BankImportRows, ProbableDuplicatesByDateAmountAccountAndFirstNarrative) {
  ImportRow row;
  row.valueDate = "20240105";
  row.amount = 121;
  row.counterparty = "NL02 BANK 9876 5432";
  row.narratives[0] = "Invoice 7";
  PaymentRec stored;
  stored.SetValueDate("20240105");
  stored.SetAmount(121.001);
  stored.SetBankAccount("NL02BANK9876543");
  stored.SetNarrative(1, "Invoice 7");
  EXPECT_TRUE(books::journal::SameAsStoredPayment(row, stored));
  struct Case {
    void (*change)(PaymentRec&);
  } cases[] = {
      {[](PaymentRec& p) { p.SetValueDate("20240106"); }},
      {[](PaymentRec& p) { p.SetAmount(121.01); }},
      {[](PaymentRec& p) { p.SetBankAccount("NL02BANK9876544"); }},
      {[](PaymentRec& p) { p.SetNarrative(1, "Invoice 8"); }},
  };
  for (const auto& c : cases) {
    PaymentRec other = stored;
    c.change(other);
    EXPECT_FALSE(books::journal::SameAsStoredPayment(row, other));
  }
  ImportRow second = row;
  second.valueDate = "20240107";
  EXPECT_EQ(books::journal::ProbableDuplicates({second, row}, {stored}), (std::vector<std::size_t>{1}));
}

// ---- Entry numbers --------------------------------------------------------------

TEST(BankImportEntryNumbers, KeepTheCountersWidthAndStartAboveTheHighest) {
  EXPECT_EQ(books::journal::DefaultEntryPrefix(2024), "P2024-");
  struct Case {
    const char* counter;
    std::size_t offset;
    std::optional<std::string> entry;
  } cases[] = {
      {"0001", 0, "P2024-0001"}, {"0001", 99, "P2024-0100"}, {"0009", 1, "P2024-0010"},
      {"9999", 1, "P2024-10000"}, {"7", 3, "P2024-10"},     {"", 0, std::nullopt},
      {"1a", 0, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(books::journal::EntryNumberAt("P2024-", c.counter, c.offset), c.entry) << c.counter;
  EXPECT_TRUE(books::journal::EntryNumbersFit("P2024-", "0001", 9999));
  EXPECT_FALSE(books::journal::EntryNumbersFit("P2024-", "0001", 10000));  // "P2024-10000" is 11
  EXPECT_FALSE(books::journal::EntryNumbersFit("PAY2005-", "00001", 1));

  auto payment = [](const std::string& entry) {
    PaymentRec p;
    p.SetEntryNumber(entry);
    return p;
  };
  const std::vector<PaymentRec> payments = {payment("P2024-0007"), payment("P2024-12"), payment("P2024-99x"),
                                            payment("Q2024-0500"), payment("P2024-"), payment("P2024-0003")};
  const auto highest = books::journal::HighestEntryCounter("P2024-", payments);
  ASSERT_TRUE(highest);
  EXPECT_EQ(highest->counter, 12);
  EXPECT_EQ(highest->entryNumber, "P2024-12");
  EXPECT_FALSE(books::journal::HighestEntryCounter("P2025-", payments));
  EXPECT_EQ(books::journal::CounterText(13, 4), "0013");
  EXPECT_EQ(books::journal::CounterText(12345, 4), "12345");
}

// ---- Partners ---------------------------------------------------------------------

TEST(BankImportPartners, FoundInTheRowsKindOnly) {
  using support::BankPartner;
  const books::journal::PartnerAccounts accounts(
      {BankPartner(1, "CUS", "NL03 BANK 1111 2222", "130"), BankPartner(2, "CUS", "NL05", "130"),
       BankPartner(3, "CUS", "nl05", "130"), BankPartner(4, "CUS", "", "130")},
      {BankPartner(7, "VEN", "nl02 bank 9876 5432", "1300")});
  struct Case {
    RowDirection direction;
    const char* account;
    PartnerSearch search;
    int number = 0;
  } cases[] = {
      {RowDirection::Credit, "NL03BANK11112222", PartnerSearch::Found, 1},
      {RowDirection::Debit, "NL02BANK98765432", PartnerSearch::Found, 7},
      {RowDirection::Debit, "NL03BANK11112222", PartnerSearch::Refund},
      {RowDirection::Credit, "NL02 BANK 9876 5432", PartnerSearch::Refund},
      {RowDirection::Credit, "NL05", PartnerSearch::Ambiguous},
      {RowDirection::Credit, "NL99", PartnerSearch::NotFound},
      {RowDirection::Credit, "  ", PartnerSearch::NoAccount},
  };
  for (const auto& c : cases) {
    const auto answer = accounts.Find(c.direction, c.account);
    EXPECT_EQ(answer.search, c.search) << c.account;
    EXPECT_EQ(answer.partner.has_value(), c.search == PartnerSearch::Found) << c.account;
    if (answer.partner) {
      EXPECT_EQ(answer.partner->OurNumber(), c.number) << c.account;
    }
  }
}

TEST(BankImportPartners, TheFirstNewestInvoiceOwingTheAmountInCents) {
  using support::BankInvoice;
  const std::vector<records::InvoiceRec> open = {BankInvoice("VEN", 1, "B", "20240103", 100, 50),
                                                 BankInvoice("VEN", 1, "A", "20240102", 50.004)};
  EXPECT_EQ(books::journal::MatchingInvoice(open, 50)->InvoiceNumber(), "B");
  EXPECT_FALSE(books::journal::MatchingInvoice(open, 50.01));
  EXPECT_FALSE(books::journal::MatchingInvoice({}, 50));
}

// The amount cell is read whatever its separators, but one whose digits
// after the decimal separator are more than the amount decimals (a
// thousands separator taken for a decimal one) or that reaches 10^15 (no
// cents left in a double) is a row fault naming the row and the value.
TEST(BankImportRows, AmountsWithTooManyDecimalsOrTooLargeAreRefusedAtNext) {
  struct Case {
    const char* cell;
    int decimals;
    std::optional<double> amount;  // nullopt: refused
    RowFault fault = RowFault::None;
  } cases[] = {
      {"1.234", 2, std::nullopt, RowFault::AmountTooManyDecimals},
      {"2,500", 2, std::nullopt, RowFault::AmountTooManyDecimals},
      {"12,345", 2, std::nullopt, RowFault::AmountTooManyDecimals},
      {"1234567890123456,78", 2, std::nullopt, RowFault::AmountTooLarge},
      {"1000000000000000", 2, std::nullopt, RowFault::AmountTooLarge},
      {"-1.000.000.000.000.000,00", 2, std::nullopt, RowFault::AmountTooLarge},
      {"121,00", 0, std::nullopt, RowFault::AmountTooManyDecimals},
      {"1.234,56", 2, 1234.56},
      {"1,234.56", 2, 1234.56},
      {"121,00", 2, 121},
      {"121", 0, 121},
      {"1.234", 3, 1.234},
      {"99999999999999,99", 2, 99999999999999.99},
      {"999999999999999,99", 2, std::nullopt, RowFault::AmountTooLarge},  // 10^15 as a double
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.cell) + " with " + std::to_string(c.decimals) + " decimals");
    const StatementRow row{2, {"05-01-2024", "NL01", "X", "N", "C", c.cell}};
    const auto reading = books::journal::ReadImportRow(row, SemicolonProfile(), c.decimals, "");
    ASSERT_EQ(reading.row.has_value(), c.amount.has_value());
    if (c.amount) {
      EXPECT_DOUBLE_EQ(reading.row->amount, *c.amount);
      continue;
    }
    EXPECT_EQ(reading.fault, c.fault);
    const auto check = books::journal::CheckStatementRows({row}, SemicolonProfile(),
                                                          books::journal::StatementRules{"20240101", c.decimals, 0});
    ASSERT_EQ(check.badRows.size(), 1u);
    EXPECT_EQ(check.badRows[0], "line 2: " + books::journal::RowFaultText(c.fault) + ": \"" + c.cell + "\"");
  }
}

// A row with more fields than the header line (or, with no line excluded,
// than row 1) had a separator inside a value: every such row is named and
// nothing is read. A row with fewer fields is read.
TEST(BankImportRows, RowsWithMoreFieldsThanTheHeaderAreRefused) {
  ImportProfileRec comma = SemicolonProfile();
  comma.SetNarrativeColumn(1, -1);
  struct Case {
    const char* text;
    bool header;
    std::vector<std::string> bad;
  } cases[] = {
      {"Date,Own,Other,Name,DC,Amount\n05-01-2024,NL01,X,N,D,121,50\n05-01-2024,NL01,X,N,D,7\n"
       "06-01-2024,NL01,X,N,D,1,5\n",
       true,
       {"line 2: 7 fields, more than the 6 of the header line", "line 4: 7 fields, more than the 6 of the header line"}},
      {"05-01-2024,NL01,X,N,D,7\n05-01-2024,NL01,X,N,D,121,50\n", false,
       {"line 2: 7 fields, more than the 6 of the first row"}},
      {"Date,Own,Other,Name,DC,Amount,Text\n05-01-2024,NL01,X,N,D,121.50,\n05-01-2024,NL01,X,N,D,3,t\n", true, {}},
      {"Date,Own,Other,Name,DC,Amount\n05-01-2024,NL01,X,N,D,\"121,50\"\n", true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto split = books::journal::SplitStatement(books::journal::StatementLines(c.text),
                                                      books::journal::SplitOptions{',', '"', c.header});
    const auto check = books::journal::CheckStatementRows(
        split.rows, comma, books::journal::StatementRules{"20240101", 2, split.headerFields});
    EXPECT_EQ(check.badRows, c.bad);
    if (!c.bad.empty()) {
      EXPECT_TRUE(check.rows.empty());
    }
  }
}

// Debit when the cell is the debit text, else credit: that holds only when
// at most one other value occurs (an empty cell is one). More are refused,
// each value with its rows. A header row left in fails alone, with a hint,
// and the own account is taken from the first row that reads.
TEST(BankImportRows, DebitCreditValuesAndAHeaderLeftIn) {
  ImportProfileRec afBij = SemicolonProfile();
  afBij.SetDebitString("Af");
  const auto row = [](int line, const char* dc) {
    return StatementRow{line, {"05-01-2024", "NL01", "X", "N", dc, "1"}};
  };
  struct Case {
    const char* name;
    std::vector<StatementRow> rows;
    const ImportProfileRec profile;
    std::vector<std::string> bad;
  } cases[] = {
      {"D and empty", {row(2, "D"), row(3, ""), row(4, " d ")}, SemicolonProfile(), {}},
      {"Af and Bij", {row(2, "Af"), row(3, "Bij"), row(4, "AF")}, afBij, {}},
      {"only credits", {row(2, "C"), row(3, "c")}, SemicolonProfile(), {}},
      {"D, C and empty",
       {row(2, "D"), row(3, "C"), row(4, ""), row(5, "C")},
       SemicolonProfile(),
       {"lines 3, 5: debit/credit \"C\"", "line 4: debit/credit \"\"",
        "more than one debit/credit value differs from the debit text \"D\": only one may stand for credit"}},
      {"D, C and Debit",
       {row(2, "D"), row(3, "C"), row(4, "Debit")},
       SemicolonProfile(),
       {"line 3: debit/credit \"C\"", "line 4: debit/credit \"Debit\"",
        "more than one debit/credit value differs from the debit text \"D\": only one may stand for credit"}},
      {"the header left in",
       {{1, {"Datum", "Rekening", "Tegenrekening", "Naam", "Af Bij", "Bedrag"}}, row(2, "D"), row(3, "C")},
       SemicolonProfile(),
       {"line 1: Non existing date; row 1 may be a header: tick exclude first row"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto check =
        books::journal::CheckStatementRows(c.rows, c.profile, books::journal::StatementRules{"20240101"});
    EXPECT_EQ(check.badRows, c.bad);
    if (c.bad.empty()) {
      EXPECT_EQ(check.rows.size(), c.rows.size());
      EXPECT_EQ(check.ownAccount, "NL01");
    }
  }
  // The header left in: the other rows read, against the account of row 2.
  const auto header =
      books::journal::CheckStatementRows({{1, {"Datum", "Rekening", "X", "N", "Af Bij", "Bedrag"}},
                                          row(2, "D"),
                                          {3, {"05-01-2024", "NL09", "X", "N", "D", "1"}}},
                                         SemicolonProfile(), books::journal::StatementRules{"20240101"});
  EXPECT_EQ(header.ownAccount, "NL01");
  EXPECT_EQ(header.badRows, (std::vector<std::string>{"line 1: Non existing date",
                                                      "line 3: another own account than the first row that reads"}));
  EXPECT_EQ(books::journal::OtherDebitCreditValues({row(2, "D"), row(3, "C"), row(4, "c ")}, SemicolonProfile()),
            (std::vector<books::journal::DebitCreditValue>{{"C", {3, 4}}}));
}

TEST(BankImportEntryNumbers, TheRoomOfThePrefix) {
  EXPECT_EQ(books::journal::EntryNumberRoom("10000", 1), (books::journal::EntryRoom{5, 5}));
  EXPECT_EQ(books::journal::EntryNumberRoom("9999", 2), (books::journal::EntryRoom{5, 5}));
  EXPECT_EQ(books::journal::EntryNumberRoom("0001", 3), (books::journal::EntryRoom{4, 6}));
  EXPECT_EQ(books::journal::EntryNumberRoom("12345678901", 1), (books::journal::EntryRoom{11, 0}));
  EXPECT_FALSE(books::journal::EntryNumberRoom("", 1));
  EXPECT_FALSE(books::journal::EntryNumberRoom("1a", 1));
}

// ---- The run ------------------------------------------------------------------------

class BankImportRun : public ::testing::Test, public support::AdministrationFolder {
 protected:
  void SetUp() override {
    text::SystemSettings.AmountDecimals = 2;
    support::WriteBankBooks(store);
  }
  books::journal::ImportJob Job(const std::vector<StatementRow>& rows, const ImportProfileRec& profile) {
    const auto check = books::journal::CheckStatementRows(rows, profile, books::journal::StatementRules{"20240101"});
    EXPECT_TRUE(check.badRows.empty());
    books::journal::ImportJob job;
    job.rows = check.rows;
    job.prefix = "P2024-";
    job.counter = "0001";
    job.cashAccount = "1000";
    job.lowestOpenDate = "20240101";
    return job;
  }
  std::vector<PaymentRec> Pay() const { return Records<PaymentRec>(store.fs.File(support::kBankPay)); }
  std::vector<records::InvoiceRec> Inv() const { return Records<records::InvoiceRec>(store.fs.File(support::kBankInv)); }
  std::vector<records::JournalVoucherRec> Jvo() const {
    return Records<records::JournalVoucherRec>(store.fs.File(support::kBankJvo));
  }
};

// The import's voucher is the payment tab's proposal with the matched
// invoice ticked, its cash discount left out: a bank and an invoice line,
// read-only, for every kind and also within the discount term.
TEST(BankImportVoucher, ThePaymentTabsProposalWithTheInvoicePaidInFull) {
  records::PartnerRec partner;
  partner.SetPartnerGroup("1300");
  partner.SetCashDiscountAccount("8100");
  partner.SetDiscountRate(2);
  records::InvoiceRec invoice;
  invoice.SetVoucherDate("20240102");
  invoice.SetInvoiceNumber("2024-7");
  invoice.SetInvoiceAmount(121);
  invoice.SetDiscountDate("20240131");  // the payment falls within the term
  struct Case {
    const char* kind;
    bool bankDebit;
  };
  for (const Case c : {Case{"VEN", false}, Case{"CUS", true}}) {
    SCOPED_TRACE(c.kind);
    PaymentRec payment;
    payment.SetValueDate("20240110");
    payment.SetPartnerType(c.kind);
    payment.SetPartnerNumber(1);
    payment.SetPaymentNumber(2);
    payment.SetEntryNumber("P2024-0001");
    payment.SetAmount(121);
    invoice.SetPartnerType(c.kind);
    invoice.SetPartnerNumber(1);
    const books::journal::Voucher v =
        books::journal::ProposeImportVoucher({payment, partner, invoice, "1000", "Bank", 2});
    EXPECT_EQ(v.header.number, std::string(c.kind) + "1/2");
    EXPECT_EQ(v.header.date, "20240110");
    EXPECT_EQ(v.header.reference, "P2024-0001");
    EXPECT_EQ(v.header.journal, "Bank");
    ASSERT_EQ(v.lines.size(), 2u);
    books::journal::VoucherLine bank{"", "1000", "", "", 0, 0, true};
    books::journal::VoucherLine paid{"20240102/2024-7", "1300", "", "", 0, 0, true};
    (c.bankDebit ? bank.debit : bank.credit) = 121;
    (c.bankDebit ? paid.credit : paid.debit) = 121;
    EXPECT_EQ(v.lines[0], bank);
    EXPECT_EQ(v.lines[1], paid);
    ASSERT_TRUE(v.partner.has_value());
    EXPECT_EQ(v.partner->kind, c.kind);
  }
}

TEST_F(BankImportRun, EachRowOnePaymentMatchedOnesWithTheirVoucher) {
  books::journal::ImportJob job =
      Job(Split(support::StatementFixture("semicolon-utf8-crlf.csv"), ';', true), SemicolonProfile());
  ASSERT_EQ(job.rows.size(), 3u);
  std::vector<int> progress;
  const auto result =
      books::journal::RunImport(job, [&](const books::journal::ImportJob& j) { progress.push_back(j.stored); });
  EXPECT_EQ(result.outcome, books::journal::RunOutcome::Done);
  EXPECT_EQ(progress, (std::vector<int>{3}));
  EXPECT_EQ(job.stored, 3);
  EXPECT_EQ(job.found, 1);
  EXPECT_EQ(job.withVoucher, 1);
  EXPECT_EQ(job.refunds, 1);

  const auto pay = Pay();
  ASSERT_EQ(pay.size(), 3u);
  // Sorted by date + kind + partner: the supplier's debit, the receipt, the refund.
  EXPECT_EQ(pay[0].PartnerType(), "VEN");
  EXPECT_EQ(pay[0].PartnerNumber(), 1);
  EXPECT_EQ(pay[0].BankAccount(), "NL02BANK9876543");
  EXPECT_EQ(pay[0].EntryNumber(), "P2024-0001");
  EXPECT_EQ(pay[0].Ascription(), "Caf\xE9 \"Zon\"");
  EXPECT_EQ(pay[0].Narrative(1), "Invoice 2024-7; thanks");
  EXPECT_DOUBLE_EQ(pay[0].Amount(), 121);
  EXPECT_TRUE(pay[0].VoucherCreated());
  EXPECT_EQ(pay[1].PartnerType(), "REC");
  EXPECT_EQ(pay[1].PartnerNumber(), 0);
  EXPECT_EQ(pay[1].Ascription(), "Smith \"Jr\"");
  EXPECT_DOUBLE_EQ(pay[1].Amount(), 1234.56);
  EXPECT_FALSE(pay[1].VoucherCreated());
  EXPECT_EQ(pay[2].PartnerType(), "PAY");  // a debit to the customer's account: a refund, no partner
  EXPECT_EQ(pay[2].PartnerNumber(), 0);
  EXPECT_EQ(pay[2].EntryNumber(), "P2024-0003");

  // The newer open invoice of 121.00 is paid, the paid one left alone.
  const auto inv = Inv();
  EXPECT_DOUBLE_EQ(inv[0].PaidAmount(), 121);
  EXPECT_DOUBLE_EQ(inv[1].PaidAmount(), 121);
  EXPECT_DOUBLE_EQ(inv[2].PaidAmount(), 0);
  const auto jvo = Jvo();
  ASSERT_EQ(jvo.size(), 2u);
  EXPECT_EQ(jvo[0].BookNumber(), "VEN1/1");
  EXPECT_EQ(text::TrimTrailingBlanks(jvo[0].AccountNumber()), "1000");
  EXPECT_DOUBLE_EQ(jvo[0].CreditAmount(), 121);
  EXPECT_EQ(text::TrimTrailingBlanks(jvo[1].AccountNumber()), "1300");
  EXPECT_DOUBLE_EQ(jvo[1].DebitAmount(), 121);
  // The captions the entry screen would have given the proposed lines.
  EXPECT_EQ(text::TrimTrailingBlanks(jvo[0].AccountCaption()), "Bank");
  EXPECT_EQ(text::TrimTrailingBlanks(jvo[1].AccountCaption()), "Creditors");

  const auto lines = books::journal::ImportResultLines(job);
  EXPECT_EQ(lines[0], "Import payments         : 3");
  EXPECT_EQ(lines[1], "Counterparty found      : 1");
  EXPECT_EQ(lines[2], "Payments with JV        : 1");
  EXPECT_EQ(lines[3], "Payments without JV     : 2");

  // Run again: every row is stored, nothing more.
  EXPECT_EQ(books::journal::RunImport(job).outcome, books::journal::RunOutcome::Done);
  EXPECT_EQ(Pay().size(), 3u);
}

TEST_F(BankImportRun, OtherDialectsGiveTheSamePayments) {
  ImportProfileRec comma = SemicolonProfile();
  comma.SetDateFormat("yyyymmdd");
  books::journal::ImportJob job = Job(Split(support::StatementFixture("comma-cp1252-lf.csv"), ',', false), comma);
  ASSERT_EQ(job.rows.size(), 2u);
  EXPECT_EQ(job.rows[0].ascription, "Caf\xE9 Zon");
  EXPECT_DOUBLE_EQ(job.rows[1].amount, 1234.56);
  EXPECT_EQ(job.rows[1].counterparty, "");

  ImportProfileRec tab = books::journal::DefaultImportProfile(2);
  tab.SetDateColumn(0);
  tab.SetDateFormat("yyyy-mm-dd");
  tab.SetOwnAccountColumn(1);
  tab.SetCounterpartyAccountColumn(2);
  tab.SetAscriptionColumn(-1);
  tab.SetDebitCreditColumn(-1);
  tab.SetAmountColumn(3);
  tab.SetNarrativeColumn(1, 4);
  for (int k = 2; k <= 6; ++k) tab.SetNarrativeColumn(k, -1);
  const auto settings = books::journal::ReadSplitSettings("tab", "\"", true);
  ASSERT_EQ(settings.outcome, books::journal::SplitOutcome::Done);
  const auto split = books::journal::SplitStatement(
      books::journal::StatementLines(books::journal::DecodeStatement(support::StatementFixture("tab-signed.txt"))),
      settings.options);
  books::journal::ImportJob tabJob = Job(split.rows, tab);
  ASSERT_EQ(tabJob.rows.size(), 2u);
  EXPECT_EQ(tabJob.rows[0].direction, RowDirection::Debit);
  EXPECT_DOUBLE_EQ(tabJob.rows[0].amount, 121);
  EXPECT_EQ(tabJob.rows[1].direction, RowDirection::Credit);
  EXPECT_DOUBLE_EQ(tabJob.rows[1].amount, 12);
  EXPECT_EQ(books::journal::RunImport(tabJob).outcome, books::journal::RunOutcome::Done);
  const auto pay = Pay();
  ASSERT_EQ(pay.size(), 2u);
  EXPECT_EQ(pay[0].PartnerType(), "VEN");
  EXPECT_DOUBLE_EQ(pay[0].Amount(), 121);  // stored without its sign
  EXPECT_TRUE(pay[0].VoucherCreated());
  EXPECT_EQ(pay[1].PartnerType(), "REC");
}

TEST_F(BankImportRun, AFailedRowIsNotStoredAndTheNextRunStartsThere) {
  books::journal::ImportJob job =
      Job(Split(support::StatementFixture("semicolon-utf8-crlf.csv"), ';', true), SemicolonProfile());
  // The batch of all three rows fails when the payment file is synced: it
  // is put back (the payment file opened a second time) and its rows go one
  // by one, each opening the payment file once. The second row's open
  // fails.
  store.fs.InjectError(support::kBankPay, support::FakeFileSystem::Op::Sync, 5, 1, 0);
  store.fs.InjectError(support::kBankPay, support::FakeFileSystem::Op::OpenReadWrite, 5, 1, 3);
  job.rows.erase(job.rows.begin());
  ASSERT_EQ(job.rows.size(), 2u);
  job.rows.push_back(job.rows[0]);
  job.rows[2].valueDate = "20240108";
  auto result = books::journal::RunImport(job);
  EXPECT_EQ(result.outcome, books::journal::RunOutcome::FileSetFailed);
  EXPECT_EQ(job.stored, 1);
  EXPECT_EQ(Pay().size(), 1u);
  result = books::journal::RunImport(job);
  EXPECT_EQ(result.outcome, books::journal::RunOutcome::Done);
  EXPECT_EQ(job.stored, 3);
  const auto pay = Pay();
  ASSERT_EQ(pay.size(), 3u);
  EXPECT_EQ(pay[1].EntryNumber(), "P2024-0002");
  EXPECT_EQ(pay[2].EntryNumber(), "P2024-0003");
}

TEST_F(BankImportRun, AVoucherTheSaveRefusesLeavesThePaymentWithoutVoucher) {
  // The supplier's group account is not in the GL file.
  store.fs.SetFile(support::kBankSup, Bytes({support::BankPartner(1, "VEN", "NL02BANK98765432", "9999")}));
  books::journal::ImportJob job =
      Job(Split(support::StatementFixture("semicolon-utf8-crlf.csv"), ';', true), SemicolonProfile());
  EXPECT_EQ(books::journal::RunImport(job).outcome, books::journal::RunOutcome::Done);
  EXPECT_EQ(job.found, 1);
  EXPECT_EQ(job.withVoucher, 0);
  EXPECT_TRUE(Jvo().empty());
  EXPECT_FALSE(Pay()[0].VoucherCreated());
  EXPECT_DOUBLE_EQ(Inv()[1].PaidAmount(), 0);
}

TEST_F(BankImportRun, ProgressAfterEveryBatch) {
  std::vector<StatementRow> rows;
  for (int i = 0; i < 250; ++i) rows.push_back({i + 1, {"05-01-2024", "NL01", "NL77", "N", "C", "1,00"}});
  books::journal::ImportJob job = Job(rows, SemicolonProfile());
  std::vector<int> progress;
  books::journal::RunImport(
      job, [&](const books::journal::ImportJob& j) { progress.push_back(j.stored); }, 100);
  EXPECT_EQ(progress, (std::vector<int>{100, 200, 250}));
}

// ---- The profile file ---------------------------------------------------------------------

class ImportProfileStore : public ::testing::Test, public support::AdministrationFolder {};

TEST_F(ImportProfileStore, AnEmptyFileGetsTenProfilesASaveWritesOnlyItsRecord) {
  store.fs.SetFile(support::kBankIfs, "");
  auto read = books::journal::ReadImportProfiles();
  ASSERT_TRUE(read.Ok());
  ASSERT_EQ(read.value->size(), 10u);
  EXPECT_EQ((*read.value)[9].ProfileNumber(), 10);
  EXPECT_EQ((*read.value)[9].DateColumn(), -1);

  ImportProfileRec p = SemicolonProfile();
  p.SetProfileNumber(3);
  p.SetCurrencyCode("EUR");
  std::string before = store.fs.File(support::kBankIfs);
  const auto saved = books::journal::SaveImportProfile(p);
  ASSERT_TRUE(saved.Ok());
  const std::string after = store.fs.File(support::kBankIfs);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, 2 * 116), before.substr(0, 2 * 116));
  EXPECT_EQ(after.substr(3 * 116), before.substr(3 * 116));
  // Golden bytes: the currency at 40, the amount column at 88.
  EXPECT_EQ(after.substr(2 * 116 + 40, 4), std::string("\x03" "EUR", 4));
  EXPECT_EQ(after.substr(2 * 116 + 88, 4), std::string("\x05\x00\x00\x00", 4));
  EXPECT_EQ((*saved.value)[2].ProfileName(), "Bank ;");

  p.SetProfileNumber(11);
  EXPECT_EQ(books::journal::SaveImportProfile(p).outcome, books::journal::ProfileOutcome::NumberOutside);
  EXPECT_EQ(store.fs.File(support::kBankIfs), after);
}

TEST_F(ImportProfileStore, ADamagedFileIsReportedAndRewrittenOnlyWhenAsked) {
  ImportProfileRec odd = SemicolonProfile();
  odd.SetProfileNumber(4);
  ImportProfileRec outside = SemicolonProfile();
  outside.SetProfileNumber(12);
  const std::string damaged = Bytes(std::vector<ImportProfileRec>{odd, outside, odd});
  std::vector<ImportProfileRec> ten = books::journal::RepairedProfiles({});
  ten[9].SetProfileNumber(0);
  for (const std::string& bytes : {damaged, Bytes(ten)}) {
    store.fs.SetFile(support::kBankIfs, bytes);
    EXPECT_EQ(books::journal::ReadImportProfiles().outcome, books::journal::ProfileOutcome::Damaged);
    ImportProfileRec p = SemicolonProfile();
    EXPECT_EQ(books::journal::SaveImportProfile(p).outcome, books::journal::ProfileOutcome::Damaged);
    EXPECT_EQ(store.fs.File(support::kBankIfs), bytes);
  }
  store.fs.SetFile(support::kBankIfs, damaged);
  ImportProfileRec shown = SemicolonProfile();
  shown.SetProfileNumber(2);
  const auto repaired = books::journal::RepairImportProfiles(shown);
  ASSERT_TRUE(repaired.Ok());
  ASSERT_EQ(repaired.value->size(), 10u);
  EXPECT_TRUE(books::journal::ProfilesWhole(*repaired.value));
  EXPECT_EQ((*repaired.value)[1].ProfileName(), "Bank ;");   // the shown one
  EXPECT_EQ((*repaired.value)[3].ProfileName(), "Bank ;");   // kept by its number
  EXPECT_EQ((*repaired.value)[3].ProfileNumber(), 4);
  EXPECT_EQ((*repaired.value)[0].ProfileName(), "");         // empty
  EXPECT_EQ((*repaired.value)[0].DateColumn(), -1);
  EXPECT_FALSE(store.fs.HasFile(std::string(support::kBankIfs) + ".ombrelo-tmp"));
}

}  // namespace

namespace {

// Two suppliers carry the account of the debit row: no one of them is meant,
// so the row becomes a payment without partner and no voucher, counted as
// ambiguous; no supplier's invoice is paid.
TEST_F(BankImportRun, AnAccountThatSeveralPartnersCarryFindsNoPartner) {
  store.fs.SetFile(support::kBankSup, Bytes({support::BankPartner(1, "VEN", "nl02 bank 9876 5432", "1300"),
                                             support::BankPartner(2, "VEN", "NL02BANK98765432", "1300")}));
  const std::string inv = store.fs.File(support::kBankInv);
  books::journal::ImportJob job =
      Job(Split(support::StatementFixture("semicolon-utf8-crlf.csv"), ';', true), SemicolonProfile());
  ASSERT_EQ(books::journal::RunImport(job).outcome, books::journal::RunOutcome::Done);
  EXPECT_EQ(job.stored, 3);
  EXPECT_EQ(job.found, 0);
  EXPECT_EQ(job.ambiguous, 1);
  EXPECT_EQ(job.withVoucher, 0);
  const auto pay = Pay();
  ASSERT_EQ(pay.size(), 3u);
  for (const PaymentRec& p : pay) {
    EXPECT_EQ(p.PartnerNumber(), 0) << p.EntryNumber();
    EXPECT_NE(p.PartnerType(), "VEN") << p.EntryNumber();
    EXPECT_FALSE(p.VoucherCreated()) << p.EntryNumber();
  }
  EXPECT_EQ(store.fs.File(support::kBankInv), inv);
  EXPECT_TRUE(Jvo().empty());
}

}  // namespace

namespace {

// A run killed at any call that changes the disk, and the program started
// again: every row is stored whole (its payment, and its voucher and the
// invoice's paid amount when it was matched) or not at all, and importing
// the statement again lists exactly the stored rows as probable duplicates.
// The statement holds two matched rows, one of them dated before the rest.
TEST_F(BankImportRun, AKilledRunLeavesEveryRowWholeOrNotAtAll) {
  std::vector<StatementRow> rows = Split(support::StatementFixture("semicolon-utf8-crlf.csv"), ';', true);
  rows.push_back({5, {"04-01-2024", "NL01 BANK 0123 4567 89", "NL03BANK11112222", "Customer Ltd", "C", "50,00",
                      "Order S-1"}});
  const std::string inv = store.fs.File(support::kBankInv);
  struct Expected {
    const char* entry;
    const char* voucher;  // the voucher's number when the row is matched
    const char* invoice;  // the invoice it pays
    double amount;
  };
  const Expected expected[] = {{"P2024-0001", "VEN1/1", "2024-7", 121},
                               {"P2024-0002", nullptr, nullptr, 0},
                               {"P2024-0003", nullptr, nullptr, 0},
                               {"P2024-0004", "CUS1/1", "S-1", 50}};
  for (int good = 0;; ++good) {
    SCOPED_TRACE("killed after " + std::to_string(good) + " changing calls");
    ASSERT_LT(good, 500);
    store.fs.SetFile(support::kBankPay, "");
    store.fs.SetFile(support::kBankJvo, "");
    store.fs.SetFile(support::kBankInv, inv);
    books::journal::ImportJob job = Job(rows, SemicolonProfile());
    ASSERT_EQ(job.rows.size(), 4u);
    store.fs.CrashAfter(good);
    bool done = false;
    try {
      done = books::journal::RunImport(job).outcome == books::journal::RunOutcome::Done;
    } catch (const std::exception&) {
    }
    const bool crashed = store.fs.Crashed();
    store.fs.ClearErrors();
    store::ForceCloseFileSet();
    // The program starts again: its first set puts back what the run left.
    { store::ScopedFileSet set("PAY;INV;JVO"); }

    const auto pay = Pay();
    const auto jvo = Jvo();
    const auto invoices = Inv();
    std::vector<std::size_t> stored;
    std::size_t vouchers = 0;
    for (std::size_t i = 0; i < job.rows.size(); ++i) {
      const Expected& e = expected[i];
      SCOPED_TRACE(e.entry);
      const auto payment = std::find_if(pay.begin(), pay.end(), [&](const PaymentRec& p) { return p.EntryNumber() == e.entry; });
      const bool isStored = payment != pay.end();
      if (isStored) stored.push_back(i);
      if (e.voucher == nullptr) continue;
      const auto lines = std::count_if(jvo.begin(), jvo.end(), [&](const records::JournalVoucherRec& r) {
        return r.BookNumber() == e.voucher;
      });
      const auto paid = std::find_if(invoices.begin(), invoices.end(), [&](const records::InvoiceRec& r) {
        return r.InvoiceNumber() == e.invoice;
      });
      ASSERT_NE(paid, invoices.end());
      if (isStored) {
        EXPECT_TRUE(payment->VoucherCreated());
        EXPECT_EQ(lines, 2);
        EXPECT_DOUBLE_EQ(paid->PaidAmount(), e.amount);
        vouchers += 2;
      } else {
        EXPECT_EQ(lines, 0);
        EXPECT_DOUBLE_EQ(paid->PaidAmount(), 0);
      }
    }
    EXPECT_EQ(pay.size(), stored.size());
    EXPECT_EQ(jvo.size(), vouchers);
    if (stored.empty()) {
      EXPECT_EQ(store.fs.File(support::kBankInv), inv);
    }
    // Next on the same statement: the stored rows are the probable duplicates.
    EXPECT_EQ(books::journal::ProbableDuplicates(job.rows, pay), stored);
    if (!crashed && done) {
      EXPECT_EQ(stored.size(), 4u);
      break;
    }
  }
}

}  // namespace

namespace {

// A batch stores the files that storing one row after the other stores:
// rows in date order and newest first alike, many on one day without a
// partner (one run of equal place texts), and matched rows with vouchers.
TEST_F(BankImportRun, ABatchStoresWhatOneRowAfterTheOtherStores) {
  std::vector<StatementRow> inOrder;
  int line = 1;
  for (const char* day : {"03-01-2024", "04-01-2024", "05-01-2024", "06-01-2024"})
    for (int k = 0; k < 3; ++k)
      inOrder.push_back({++line, {day, "NL01", "NL77 " + std::to_string(k), "N", "C", std::to_string(k + 1) + ",00", "x"}});
  inOrder.push_back({++line, {"05-01-2024", "NL01", "NL02BANK98765432", "S", "D", "121,00", "inv"}});
  inOrder.push_back({++line, {"04-01-2024", "NL01", "NL03BANK11112222", "C", "C", "50,00", "S-1"}});
  std::vector<StatementRow> newestFirst(inOrder.rbegin(), inOrder.rend());
  const auto files = [&] {
    auto pay = Pay();
    for (PaymentRec& p : pay) p.SetChangedAt("");
    auto jvo = Jvo();
    for (auto& v : jvo) v.SetChangedAt("");
    return Bytes(pay) + Bytes(jvo) + store.fs.File(support::kBankInv);
  };
  const std::string books = Bytes(Pay()) + Bytes(Jvo()) + store.fs.File(support::kBankInv);
  for (const auto* rows : {&inOrder, &newestFirst}) {
    SCOPED_TRACE(rows == &inOrder ? "in date order" : "newest first");
    std::string byRow;
    for (const int batch : {1, books::journal::kImportBatchRows}) {
      support::WriteBankBooks(store);
      books::journal::ImportJob job = Job(*rows, SemicolonProfile());
      ASSERT_EQ(books::journal::RunImport(job, {}, batch).outcome, books::journal::RunOutcome::Done);
      EXPECT_EQ(job.stored, 14);
      EXPECT_EQ(job.withVoucher, 2);
      if (batch == 1) {
        byRow = files();
        ASSERT_NE(byRow, books);
      } else {
        EXPECT_TRUE(files() == byRow);
      }
    }
  }
}

}  // namespace
