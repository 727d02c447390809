// The books the bank-import tests run on, in the in-memory data store of
// support::AdministrationFolder: the GL accounts 1000 (bank), 130 (debtors)
// and 1300 (creditors); supplier 1 whose account is typed with blanks and
// who has one open invoice of 121.00 (and an older one of 121.00 already
// paid); customer 1 with one open invoice of 50.00; the fixture statements
// of tests/data/bankstatements read from disk.
#pragma once

#include <string>
#include <vector>

#include "records/invoicerec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "support/fakefs.h"

namespace support {

inline constexpr const char* kBankPay = "/d/ACME/payment.vlk";
inline constexpr const char* kBankInv = "/d/ACME/invsum.vlk";
inline constexpr const char* kBankJvo = "/d/ACME/book.vlk";
inline constexpr const char* kBankCus = "/d/ACME/customer.vlk";
inline constexpr const char* kBankSup = "/d/ACME/supplier.vlk";
inline constexpr const char* kBankGla = "/d/ACME/ledger.vlk";
inline constexpr const char* kBankIfs = "/w/ifs.vlk";

// The bytes of a fixture statement ("semicolon-utf8-crlf.csv", ...).
std::string StatementFixture(const std::string& name);

records::PartnerRec BankPartner(int number, const std::string& kind, const std::string& account,
                                const std::string& group);
records::InvoiceRec BankInvoice(const std::string& kind, int partner, const std::string& number,
                                const std::string& bookDate, double amount, double paid = 0);

// Writes the books described above into `store`.
void WriteBankBooks(FakeDataStore& store);

}  // namespace support
