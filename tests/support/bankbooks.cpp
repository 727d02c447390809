// The bank-import tests' books (see bankbooks.h).
#include "support/bankbooks.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "records/ledgeraccountrec.h"
#include "support/records.h"

namespace support {

std::string StatementFixture(const std::string& name) {
  std::ifstream in(std::string(OMBRELO_BANK_STATEMENTS) + "/" + name, std::ios::binary);
  if (!in) throw std::runtime_error("missing fixture " + name);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

records::PartnerRec BankPartner(int number, const std::string& kind, const std::string& account,
                                const std::string& group) {
  records::PartnerRec p;
  p.SetOurNumber(number);
  p.SetRelationshipType(kind);
  p.SetName(kind == "CUS" ? "Customer Ltd" : "Supplier Ltd");
  p.SetBankAccountNumber(account);
  p.SetPartnerGroup(group);
  return p;
}

records::InvoiceRec BankInvoice(const std::string& kind, int partner, const std::string& number,
                                const std::string& bookDate, double amount, double paid) {
  records::InvoiceRec r;
  r.SetInvoiceDate(bookDate);
  r.SetVoucherDate(bookDate);
  r.SetInvoiceNumber(number);
  r.SetPartnerType(kind);
  r.SetPartnerNumber(partner);
  r.SetInvoiceAmount(amount);
  r.SetPaidAmount(paid);
  r.SetVoucherCreated(true);
  return r;
}

void WriteBankBooks(FakeDataStore& store) {
  std::vector<records::LedgerAccountRec> accounts;
  for (auto [number, caption, cash] : {std::tuple{"1000", "Bank", true}, std::tuple{"130", "Debtors", false},
                                       std::tuple{"1300", "Creditors", false}}) {
    records::LedgerAccountRec a;
    a.SetAccountNumber(number);
    a.SetCaption(caption);
    a.SetIsCashOrBank(cash);
    accounts.push_back(a);
  }
  store.fs.SetFile(kBankGla, Bytes(accounts));
  store.fs.SetFile(kBankCus, Bytes({BankPartner(1, "CUS", "NL03 BANK 1111 2222", "130")}));
  store.fs.SetFile(kBankSup, Bytes({BankPartner(1, "VEN", "nl02 bank 9876 5432", "1300")}));
  store.fs.SetFile(kBankInv, Bytes({BankInvoice("VEN", 1, "2023-99", "20231201", 121, 121),
                                    BankInvoice("VEN", 1, "2024-7", "20240102", 121),
                                    BankInvoice("CUS", 1, "S-1", "20240103", 50)}));
  store.fs.SetFile(kBankPay, "");
  store.fs.SetFile(kBankJvo, "");
}

}  // namespace support
