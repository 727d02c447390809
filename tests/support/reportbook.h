// A small book for the report tests, with figures that can be worked out
// by hand: the book year 2024 in twelve periods, four categories (two of
// each kind), eight GL accounts (the profit account P among the
// balance-sheet accounts, the transfer account T among the profit-and-loss
// accounts), vouchers in January and February, January frozen, and open
// customer and supplier invoices.
//
//   account            opening   January        February      end of February
//   1000 Bank          1000 D                   +300 -100     1200 D
//   1300 Debtors                 +500           -300           200 D
//   0500 Equity        1000 C                                 1000 C
//   1600 Creditors               +200 C                        200 C
//   4000 Sales                   +500 C                        500 C
//   7000 Costs                   +200 D         +100           300 D
//   profit: 500 - 300 = 200 (January 300)
//
//   open invoices: customer 1 "Alpha Retail" F1 500 - 300 paid = 200,
//   customer 2 "Beta Shop" F2 paid in full; supplier 1 "Gamma Supplies"
//   P1 200 open.
#pragma once

#include <map>
#include <string>

#include "records/adminsettingsrec.h"
#include "support/fakefs.h"

namespace support {

// The settings of the book (current period 02/12, profit account 0900).
records::AdminSettingsRec ReportBookSettings();
// The same with the closing fields that go with January frozen (the year
// 2023 approved, 01/12 the last closed period, fiscal year 2024) and the
// day book "Memorial", as a freeze reads them.
records::AdminSettingsRec ReportBookClosingSettings();
// The data files by file name ("ledger.vlk", ...), January's freeze record
// computed by the program's own trial balance.
std::map<std::string, std::string> ReportBookFiles();
// The six report templates shipped with the program, by file name.
std::map<std::string, std::string> ShippedReportTemplates();
// Writes the data files into `dataFolder` and the shipped templates into
// `workFolder` (both ending in "/").
void WriteReportBook(FakeDataStore& store, const std::string& dataFolder, const std::string& workFolder);

}  // namespace support
