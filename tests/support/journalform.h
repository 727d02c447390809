// The journal form in form tests on support::AdministrationFolder
// ("/d/ACME/"): the settings they start from, and the bank-import steps
// that the form, render and end-to-end tests take on the ";" statement
// fixture (support/bankbooks.h) alike.
#pragma once

#include <string>

#include "journal/boekingstuk.h"
#include "support/fakefs.h"

namespace support {

// Amounts in two decimals, the form's book year 2024 with the journals not
// split, and an empty voucher-template file and import-profile file.
void ReadyJournalForm(FakeDataStore& store);

// On the import tab, after a statement was opened: the separator ";", the
// first line a heading, and Go.
void SplitSemicolonStatement(journal::Tboeking& f);

// On the import tab, after Go: types the ";" statement's profile under
// `name` (no lines skipped, dates dd-mm-yyyy, own account 1, counterparty
// 2, name 3, "D" in column 4 for a debit, amount 5, narrative 6) and saves
// it.
void TypeSemicolonProfile(journal::Tboeking& f, const std::string& name);

// On the voucher tab: types `account` into line `line` through the number
// picker, then the amounts (and `text` first when given), leaving each
// field as a user does.
void TypeVoucherLine(journal::Tboeking& f, int line, const std::string& account, const std::string& debit,
                     const std::string& credit, const std::string& text = "");

}  // namespace support
