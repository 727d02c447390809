// The partner store: the customers (CUS, "customer.vlk") and suppliers (SUP,
// "supplier.vlk") of an administration, one records::PartnerRec per partner,
// and the search, the lookup by number, the numbering and the saves that the
// partner form, the journal form and the report form call, shown or hidden.
//
// Every operation is one call that opens its own file set (nested into a set
// the caller holds) and returns a value: an outcome and what it read. The
// store reads no form and shows nothing; the caller shows the message an
// outcome names (`LanguageOffsetOf`) or the set's failure.
//
// Rules the store keeps:
// - The kind is the kind lists' item index (0 customer, 1 supplier), never a
//   text; it picks the file and the stored relationship type ("CUS"/"VEN").
// - A partner's place: index = number - number of record 0. A lookup trusts
//   the index only when the record there carries the number; otherwise it
//   scans the file, so a file imported out of order or with a damaged
//   record 0 still finds its partners.
// - Numbers: the first partner of an empty file takes the start value the
//   user typed (an integer of at least 1; refused once the file holds a
//   partner). Later ones take number of record 0 + record count, or one above
//   the highest number in the file when that is higher, so a damaged or
//   unordered file never gets a number twice. A new partner goes in at the
//   end (its sorted place, its number being the highest) through
//   store::InsertRecords; nothing is ever overwritten by a new partner.
// - A change is written in place only when, under the Save's lock, the file
//   still holds the partner exactly as it was loaded; otherwise nothing is
//   written and the outcome is `ChangedInAnotherCopy` (or `NotFound` when no
//   record carries the number any more). It keeps the loaded number and
//   company name; a new partner's company name is empty.
// - Search criteria are the caller's own: empty ones are not used, a partner
//   matches when any used one holds (all empty: every partner). Our number
//   and their number and the bank account compare exactly ("7" is not
//   "007"); the text is looked for in the name and the bank account with
//   Unicode case folding of the code page's letters ("é" finds "É", "ss"
//   finds "ß").
// - Scans read in blocks that grow from 16 records to about 1 MiB; a lookup
//   reads record 0 and the record at the index.
// - Checks of the input run before any file opens; an I/O error part-way
//   raises platform::IoError after the set closed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/documentkind.h"
#include "records/partnerrec.h"
#include "store/fileset.h"
#include "store/result.h"
#include "store/scopedfileset.h"

namespace books::partners {

// The kinds, numbered as the items of the kind lists.
enum class PartnerKind { Customer = 0, Supplier = 1 };

struct PartnerKindInfo {
  const char* code;              // the file code: "CUS", "SUP"
  const char* fileName;          // "customer.vlk", "supplier.vlk"
  store::FileCode file;
  records::DocumentKind relationshipType;  // stored in the record by its code
};
const PartnerKindInfo& KindInfo(PartnerKind kind);
// The kind of a kind list's item index; nullopt for anything but 0 and 1.
std::optional<PartnerKind> KindFromItemIndex(int index);
// The kind a stored relationship type shows: the customer code a customer,
// anything else (the vendor code, an unknown or empty code) a supplier.
PartnerKind KindOfRelationshipType(std::string_view type);

enum class PartnerOutcome {
  Done,                  // found, listed or saved
  FileSetFailed,         // the set did not open: see `failure`
  // Refused before any file opened:
  Required,              // the group account or sales/cost account 1 is empty
  BadStartValue,         // a start value below 1
  // Found in the file:
  StartValueNeeded,      // a new partner for an empty file, without a start value
  StartValueTooLate,     // a start value, but the file holds a partner by now
  NoNumberLeft,          // the next number would not fit 32 bits
  ChangedInAnotherCopy,  // a change: the file no longer holds the partner as loaded
  FileEmpty,             // the file holds no partner
  NotFound,              // no partner with that number, or no match
};

// The language offset of the message an outcome names; 0 when there is none
// (the form shows a text of its own, the set's failure, or nothing).
int LanguageOffsetOf(PartnerOutcome outcome);

// A partner as read: where it lies and its bytes.
struct FoundPartner {
  int index = -1;
  records::PartnerRec record;
};

// The value: the partner found or as written.
using PartnerResult = store::Result<PartnerOutcome, FoundPartner>;

// ---- Lookup by number

// The partner with `number`: the record at index number - number of
// record 0 when it carries the number, else the first record that does.
// FileEmpty, NotFound.
PartnerResult FindPartnerByNumber(PartnerKind kind, std::int32_t number);

// ---- Search

// The search criteria; an empty one is not used.
struct PartnerCriteria {
  std::string ourNumber;    // equals the partner number as decimal text
  std::string theirNumber;  // equals TheirNumber
  std::string text;         // occurs in Name or BankAccountNumber, any case
  std::string bankAccount;  // equals BankAccountNumber
  bool Empty() const { return ourNumber.empty() && theirNumber.empty() && text.empty() && bankAccount.empty(); }
};

inline constexpr int kPartnerPageRows = 100;

// One row of a result page (the list's columns, and where the record lies).
struct PartnerRow {
  int index = -1;
  std::int32_t number = 0;
  std::string name, address, town, theirNumber, bankAccount;
};

// One page of a search: the rows and where they lie among the matches.
struct PartnerRows {
  int page = 0;                  // 0 = the first 100 matches
  std::vector<PartnerRow> rows;  // at most kPartnerPageRows
  bool more = false;             // a further match lies beyond this page
  int fileCount = 0;             // records in the file
  bool HasPrevious() const { return page > 0; }
  // Exactly one partner matched in the whole file.
  bool SingleMatch() const { return page == 0 && rows.size() == 1 && !more; }
};
// Done with rows; FileEmpty; NotFound. The value: the page, also with
// FileEmpty and NotFound (no rows then); none with FileSetFailed.
using PartnerPage = store::Result<PartnerOutcome, PartnerRows>;

// Text with the code page's letters case-folded (lower case; "ß" -> "ss").
std::string FoldCase(std::string_view cp1252);
// Whether `rec` matches `criteria` (see the file comment).
bool PartnerMatches(const records::PartnerRec& rec, const PartnerCriteria& criteria);

// Page `page` (from 0; a negative page is 0) of the partners of `kind` that
// match `criteria`, in file order: matches page * 100 + 1 to page * 100 + 100.
// NotFound when the page holds no match, FileEmpty for an empty file.
PartnerPage SearchPartners(PartnerKind kind, const PartnerCriteria& criteria, int page = 0);

// ---- Numbering

// A typed start value: an integer of at least 1 (blanks around it allowed);
// nullopt for "0", "-5", "x", an empty text or one too large.
std::optional<std::int32_t> ParseStartValue(std::string_view text);
// The number of a new partner in a file of `count` (> 0) records whose
// record 0 carries `base` and whose highest number is `highest`; nullopt
// when it would not fit 32 bits.
std::optional<std::int32_t> NextNumberFor(std::int32_t base, int count, std::int32_t highest);

// What the numbering found in the file.
struct PartnerNumbers {
  int count = 0;                     // records in the file
  std::optional<std::int32_t> next;  // nullopt: the file is empty, a start value is needed
};
// Done, FileSetFailed, NoNumberLeft; the value: the numbers (Done and
// NoNumberLeft).
using PartnerNumbering = store::Result<PartnerOutcome, PartnerNumbers>;
// The number the next new partner of `kind` would get.
PartnerNumbering NextPartnerNumber(PartnerKind kind);

// ---- Saves

// The checks a save makes before it opens a file: Required or Done.
PartnerOutcome CheckPartner(const records::PartnerRec& rec);

// Adds `rec` as a new partner of `kind`: its number is `startValue` in an
// empty file (StartValueNeeded without one; StartValueTooLate with one when
// the file holds a partner), else the next number. The store sets the
// number, the relationship type, an empty company name, ChangedBy (the
// current user) and ChangedAt (now). Returns the partner as written.
PartnerResult SaveNewPartner(PartnerKind kind, records::PartnerRec rec,
                             std::optional<std::int32_t> startValue = std::nullopt);

// Writes `rec` over the partner `loaded` (as FindPartnerByNumber gave it),
// keeping its number and company name and stamping the relationship type,
// ChangedBy and ChangedAt. Only when the file still holds `loaded` byte for
// byte: at its index, or, when the file was reordered, wherever a record
// carries its number. Returns the partner as written.
PartnerResult SavePartnerChange(PartnerKind kind, const FoundPartner& loaded, records::PartnerRec rec);

}  // namespace books::partners
