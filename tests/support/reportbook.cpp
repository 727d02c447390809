#include "support/reportbook.h"

#include "books/closing/periodclosing.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "records/freezerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "records/partnerrec.h"
#include "books/closing/balance.h"
#include "books/closing/periodclosing.h"
#include "support/bookyear.h"
#include "support/records.h"

namespace support {

namespace {

std::string Pad(const std::string& s, std::size_t n) { return (s + std::string(n, ' ')).substr(0, n); }

records::LedgerAccountRec Account(const std::string& number, const std::string& caption, const std::string& type,
                                  const std::string& category, double start) {
  records::LedgerAccountRec a;
  a.SetAccountNumber(number);
  a.SetCaption(caption);
  a.SetAccountType(type);
  a.SetCategoryName(category);
  a.SetStartDate("20240101");
  a.SetStartAmount(start);
  a.SetEndDate("20501231");
  return a;
}

records::JournalVoucherRec Line(const std::string& date, const std::string& book, const std::string& journal,
                                const std::string& text, const std::string& account, const std::string& caption,
                                double debit, double credit) {
  records::JournalVoucherRec v;
  v.SetVoucherDate(date);
  v.SetBookNumber(book);
  v.SetJournalName(journal);
  v.SetTransactionText(text);
  v.SetLineText(text);
  v.SetAccountNumber(Pad(account, 15));
  v.SetAccountCaption(caption);
  v.SetDebitAmount(debit);
  v.SetCreditAmount(credit);
  return v;
}

records::InvoiceRec Invoice(const std::string& type, int partner, const std::string& number, double amount,
                            double paid) {
  records::InvoiceRec i;
  i.SetPartnerType(type);
  i.SetPartnerNumber(partner);
  i.SetInvoiceNumber(number);
  i.SetInvoiceDate(number == "P1" ? "20240120" : "20240115");
  i.SetInvoiceAmount(amount);
  i.SetPaidAmount(paid);
  return i;
}

records::PartnerRec Partner(int number, const std::string& name, const char* type) {
  records::PartnerRec p;
  p.SetOurNumber(number);
  p.SetName(name);
  p.SetRelationshipType(type);
  return p;
}

}  // namespace

records::AdminSettingsRec ReportBookSettings() {
  records::AdminSettingsRec s = MonthlyBookYear(2024);
  s.SetCompanyName("Acme Trading");
  s.SetAddress("1 Market Street");
  s.SetZipCode("1234 AB");
  s.SetTown("Springfield");
  s.SetCurrentAnnualBalance("2024");
  s.SetCurrentPeriod("02/12");
  s.SetProfitAccountNumber("0900");
  s.SetProfitAccountCaption("Profit of the year");
  return s;
}

records::AdminSettingsRec ReportBookClosingSettings() {
  records::AdminSettingsRec s = ReportBookSettings();
  s.SetApprovedAnnualBalance("2023");
  s.SetLastClosedPeriod("01/12");
  s.SetFiscalYear("2024");
  s.SetDayBookName("Memorial");
  return s;
}

std::map<std::string, std::string> ReportBookFiles() {
  books::closing::BalanceFiles f;
  records::LedgerCategoryRec c;
  for (auto [kind, name] : {std::pair{records::kBalanceSheetKind, "Assets"},
                            std::pair{records::kBalanceSheetKind, "Equity and liabilities"},
                            std::pair{records::kProfitAndLossKind, "Revenue"},
                            std::pair{records::kProfitAndLossKind, "Expenses"}}) {
    c.SetCategoryKind(kind);
    c.SetCategoryName(name);
    f.categories.push_back(c);
  }
  f.accounts = {Account("0500", "Equity", "C", "Equity and liabilities", 1000),
                Account("0900", "Profit of the year", "P", "Equity and liabilities", 0),
                Account("1000", "Bank", "D", "Assets", 1000),
                Account("1300", "Debtors", "D", "Assets", 0),
                Account("1600", "Creditors", "C", "Equity and liabilities", 0),
                Account("4000", "Sales", "C", "Revenue", 0),
                Account("7000", "Costs", "D", "Expenses", 0),
                Account("9900", "Result transfer", "T", "Expenses", 0)};
  f.vouchers = {Line("20240115", "S1", "Sales", "Invoice F1 Alpha Retail", "1300", "Debtors", 500, 0),
                Line("20240115", "S1", "Sales", "Invoice F1 Alpha Retail", "4000", "Sales", 0, 500),
                Line("20240120", "P1", "Purchases", "Invoice P1 Gamma Supplies", "7000", "Costs", 200, 0),
                Line("20240120", "P1", "Purchases", "Invoice P1 Gamma Supplies", "1600", "Creditors", 0, 200),
                Line("20240210", "B1", "Bank", "Payment F1 Alpha Retail", "1000", "Bank", 300, 0),
                Line("20240210", "B1", "Bank", "Payment F1 Alpha Retail", "1300", "Debtors", 0, 300),
                Line("20240212", "B2", "Bank", "Office rent", "7000", "Costs", 100, 0),
                Line("20240212", "B2", "Bank", "Office rent", "1000", "Bank", 0, 100)};

  // January frozen as the freeze stores a period: the trial balance's table.
  books::closing::BalanceRequest rq;
  rq.kind = '0';
  rq.periodText = "2024-01/12";
  rq.settings = ReportBookSettings();
  const books::closing::BalanceResult jan = books::closing::ComputeBalanceCore(rq, f);
  // January frozen, its snapshot as the freeze writes it.
  const records::FreezeRec frz = books::closing::BuildFreezeRec(jan, rq.settings, "2024-01/12", 0);
  std::map<std::string, std::string> files;
  files["ledgerct.vlk"] = Bytes(f.categories);
  files["ledger.vlk"] = Bytes(f.accounts);
  files["book.vlk"] = Bytes(f.vouchers);
  files["freeze.vlk"] = Bytes(frz);
  files["invsum.vlk"] = Bytes({Invoice("CUS", 1, "F1", 500, 300), Invoice("CUS", 2, "F2", 150, 150),
                               Invoice("VEN", 1, "P1", 200, 0)});
  files["customer.vlk"] = Bytes({Partner(1, "Alpha Retail", "CUS"), Partner(2, "Beta Shop", "CUS")});
  files["supplier.vlk"] = Bytes({Partner(1, "Gamma Supplies", "VEN")});
  files["adminset.vlk"] = Bytes(ReportBookSettings());
  return files;
}

std::map<std::string, std::string> ShippedReportTemplates() {
  std::map<std::string, std::string> out;
  for (const auto& entry : std::filesystem::directory_iterator(OMBRELO_REPORT_TEMPLATES)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    out[entry.path().filename().string()] = s.str();
  }
  return out;
}

void WriteReportBook(FakeDataStore& store, const std::string& dataFolder, const std::string& workFolder) {
  for (const auto& [name, bytes] : ReportBookFiles()) store.fs.SetFile(dataFolder + name, bytes);
  for (const auto& [name, bytes] : ShippedReportTemplates()) store.fs.SetFile(workFolder + name, bytes);
}

}  // namespace support
