// The report period and the line sources of the report engine, without a
// form. `ResolveReportPeriod` turns the report and period texts into the
// kind, the dates and the opening snapshot; `NextReportLine` steps a line
// source to the next report line: a row of the balance grid (kinds 1 and
// 2), a line of a ledger card (kind 3), a journal line of the period
// (kind 4), an open customer or supplier invoice (kinds 5 and 6). The page-layout drivers ask it for lines until
// `endOfData` and print what it found.
//
// The sources are the records read in file order; nothing here opens a
// file except `ReadPartnerByNumber`, which reads the open CUS or SUP file.
// A partner's number fixes its place in its file (index = number - number
// of record 0); the place is checked, and when it does not hold the number
// the file is scanned.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/partnerrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "books/closing/balance.h"
#include "books/reporting/reporttemplate.h"
#include "store/fileset.h"

namespace books::reporting {

// The choice of the report form resolved: the kind is the first character
// of the report text; kinds '1' to '4' also get the period (dates, the
// freeze record chosen, else the last one as opening snapshot). A period
// text that names no period of the book year is refused with a message.
struct ResolvedReport {
  char kind = 0;
  std::optional<books::closing::ReportPeriod> period;  // kinds 1 to 4
  std::string error;                   // kinds 1 to 4: the period was refused
  // The freeze record whose closing sides open a ledger card: the one
  // before the chosen frozen period (none when that is the first record),
  // else the last; none for an empty freeze file.
  std::optional<int> OpeningSnapshot() const { return period ? period->openingSnapshot : std::nullopt; }
  // No frozen period was chosen.
  bool OpenPeriodChosen() const { return !period || !period->hit; }
};
ResolvedReport ResolveReportPeriod(const std::string& reportText, const std::string& periodText,
                                   const records::AdminSettingsRec& settings,
                                   const std::vector<records::FreezeRec>& freezes);

// The index of the partner with `number` among `count` records whose
// numbers `numberAt` gives: index number - numberAt(0) when that record
// holds the number, else the first record that does; nullopt for none.
std::optional<int> FindPartnerIndex(int count, std::int32_t number,
                                    const std::function<std::int32_t(int)>& numberAt);
// The same on a partner list read from a file.
std::optional<int> FindPartnerIndex(const std::vector<records::PartnerRec>& partners, std::int32_t number);
// The partner `number` of the open file CUS or SUP; nullopt when the file
// holds none.
std::optional<records::PartnerRec> ReadPartnerByNumber(store::FileCode file, std::int32_t number);

// Whether an invoice of report kind 5 (customers) or 6 (suppliers) is
// listed: it is a customer's or a vendor's invoice and not paid in full.
bool IsOpenInvoice(const records::InvoiceRec& invoice, char kind);

// An account of the ledger-card report: its number and its name.
struct CardAccount {
  std::string number;
  std::string name;
};

// What a line source reads.
struct ReportLineSources {
  char kind = '1';
  // Kinds 1 and 2: the balance grid and its last row.
  const std::vector<books::closing::GridRow>* grid = nullptr;
  int gridRowCount = 0;
  // Kind 4: the voucher lines in file order, the period, the journal
  // ("*.*": every journal) and whether the open period was chosen (then
  // every line from the period start on is taken).
  const std::vector<records::JournalVoucherRec>* vouchers = nullptr;
  std::optional<books::closing::ReportPeriod> period;
  std::string journal = "*.*";
  bool openPeriodChosen = true;
  // Kind 3: the accounts to print a card for (one, or all for "*.*"), the
  // GL accounts and categories, the opening snapshot (the freeze record
  // before the chosen one, else the last; see ResolvedReport), and the
  // report's sums 1 (debit) and 2 (credit) so far.
  // `vouchers` and `period` as for kind 4.
  std::vector<CardAccount> cardAccounts;
  const std::vector<records::LedgerAccountRec>* accounts = nullptr;
  const std::vector<records::LedgerCategoryRec>* categories = nullptr;
  const records::FreezeRec* openingSnapshot = nullptr;
  const std::array<double, 6>* sums = nullptr;
  // Kinds 5 and 6: the invoices in file order and the partner lookup.
  const std::vector<records::InvoiceRec>* invoices = nullptr;
  std::function<std::optional<records::PartnerRec>(std::int32_t)> partner;
};

// The state of a line source between calls; the first call starts it.
struct ReportLineState {
  bool endOfData = false;
  bool lineFound = false;
  bool groupEnd = false;
  bool prevGroupEnd = false;
  bool lastLine = false;
  int lineIndex = 0;            // kinds 1, 2: the grid row; start at 1 (kind 1) or 2 (kind 2)
  std::string sideText;         // "debet", "credit" or empty
  std::size_t next = 0;         // kinds 4 to 6: the next record to read
  records::JournalVoucherRec voucher;  // kind 4: the line found
  records::InvoiceRec invoice;         // kinds 5, 6: the invoice found
  std::string partnerName;             // its partner's name and number ("" when unknown)
  std::string partnerNumber;
  // Kind 3: the card in print.
  struct Card {
    int accountIndex = -1;      // into cardAccounts; -1 before the first card
    bool started = false;       // the opening line was given
    bool ended = false;         // the closing line was given
    bool lastAccount = false;
    std::string type;           // the account's type letter
    char kindLetter = 0;        // first letter of its category kind
    std::size_t position = 0;   // next of the account's lines in the period
  } card;
  Section section = Section::Detail1;  // kind 3: the section of the line found
  // Kind 3: the indexes of the period's voucher lines per account number,
  // in file order, made in one pass over the vouchers at the first card.
  std::optional<std::unordered_map<std::string, std::vector<std::size_t>>> cardLines;
};

// Steps `state` to the next line of its kind. Kinds 1 and 2 move to the
// next grid row: the data ends at the last row (the TOTAL row, printed by
// the group total), and in kind 2 the hidden total-row marker starts the
// second group. Kind 4 finds the next line of the journal dated in the
// period; successive "! SYSTEM" lines show a zero amount as debit, then
// as credit, by turns (`sideText`). Kinds 5 and 6 find the next open invoice of their partner type
// and look up its partner. When a source ends without another line,
// `lineFound` is false and `endOfData` true.
//
// Kind 3 gives the card of the current account (see StartLedgerCard): an
// opening line (section FromBS or FromP&L by the category kind, the
// opening balance on the account's own side), its voucher lines of the
// period (Detail1), and a closing line (ToBS or ToP&L) that balances the
// card from sums 1 and 2. The opening balance is the opening snapshot
// row's closing sides carried by the freeze rule (profit and loss opens at
// zero in a new book year); an account the snapshot does not hold, or any
// account without a snapshot, opens with its start amount when it starts
// before the period ends (as the trial balance takes it), else at zero. After
// the closing line the next call sets `groupEnd` (the card's total is due)
// and, after the last account, `endOfData`.
void NextReportLine(ReportLineState& state, const ReportLineSources& sources);

// Moves kind 3 to the next account's card: false, with nothing changed,
// when there is none (the last card never steps past the last account;
// an empty account list is an empty report). The driver calls it for the
// first card and after each card's total, and zeroes its sums.
bool StartLedgerCard(ReportLineState& state, const ReportLineSources& sources);

// The day before a "YYYYMMDD" date; any other text comes back as it is.
std::string DayBefore(const std::string& ymd);

}  // namespace books::reporting
