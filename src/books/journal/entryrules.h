// The decisions of the journal-voucher entry screen and of the journal
// form's set-up, as plain functions over plain values: the Save test, the
// amount fields and totals, the netting of a line, the lowest open booking
// date, the account pickers, the screen's voucher key, the locks of a loaded
// voucher, the voucher sought for a shown invoice or payment, the questions
// before typed lines are discarded, and the lists the set-up builds. The
// form only carries values between its components and these functions;
// nothing here touches a component or a file.
//
// Rules:
// - Dates are "YYYYMMDD" texts; texts are code page 1252 bytes.
// - Amount texts are read without ever raising: an empty text is 0, a text
//   that is no amount ("-", "12-3") is unreadable, which keeps Save disabled
//   and marks that field; it is never an error.
// - Balanced means |debit total - credit total| < text::kVoucherTolerance, in both
//   directions (debit 100 against credit 50 is refused, and so is the
//   reverse). The tolerance only absorbs the binary error of sums of amounts
//   with up to four decimals; amounts are never rounded to make a voucher
//   balance.
// - A voucher needs at least two lines that are written, counted after each
//   line's debit is netted against its credit (NetLine), as the voucher
//   store writes them. The year-end profit booking always writes lines 1
//   and 2.
// - "! SYSTEM" and "{SYSTEM}" are refused as typed numbers, and so are dates
//   before the lowest open date, whether or not a voucher was loaded before;
//   only the profit booking of the year-end closing passes both (it writes
//   "! SYSTEM", dated in the period it has just closed). A number over 20
//   characters is refused: it could not be stored as typed.
// - Every line with an amount needs an account number that is in the GL
//   file; a line whose account is missing keeps Save disabled and the status
//   names the account.
// - A voucher date after the book year's end is only a warning: Save stays
//   enabled.
// - Account pickers work on item data (number, caption), never on the
//   item's text: a typed text takes an account only when it equals an
//   account number, a caption, or a whole item text, ignoring case; never a
//   prefix (130 is not 1300).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/journal/bankimport.h"
#include "books/journal/voucher.h"
#include "records/adminsettingsrec.h"
#include "records/importprofilerec.h"

namespace books::journal {

// The lines, the number's room and the system numbers are the voucher's
// (src/books/journal/voucher.h).
// The lowest open date when no period is closed.
inline constexpr std::string_view kNoClosedPeriodDate = "19000101";

// ---------------------------------------------------------------- amounts

// The value of an amount field: 0 for an empty (or blank) text, nullopt for
// a text that is no amount. Never raises.
std::optional<double> ReadEntryAmount(std::string_view text);

// What an amount field's change does: the text cleaned of what an amount
// cannot hold (unless the program itself wrote it, `skip`); the skip flag is
// spent either way.
std::string AmountFieldChanged(std::string_view text, bool skip);

// What leaving an amount field does: a readable, non-empty text is shown
// again formatted with `decimals`, grouped; an empty or unreadable text
// stays as it is (the Save test marks the latter). `skipNextChange` is set
// when the text changes, so that putting it back is not filtered again and
// the currency sign survives.
struct AmountExit {
  std::string text;
  bool skipNextChange = false;
  bool operator==(const AmountExit&) const = default;
};
AmountExit AmountFieldLeft(std::string_view text, int decimals);

// A line's debit is netted against its credit by the voucher store's rule
// (NetLine, src/books/journal/voucher.h). A netted line is written when one of its
// sides is not zero.
bool IsWritten(const NettedAmounts& line);

// ------------------------------------------------------------ the screen

// One entry line as the screen holds it.
struct EntryLineInput {
  std::string accountNumber;
  std::string debitText;
  std::string creditText;
  // The account number is in the GL file (the form looks it up in its
  // account list; an empty number counts as not in it).
  bool accountInLedger = false;
};

// The screen as the Save test reads it.
struct EntryScreen {
  std::array<EntryLineInput, kVoucherLines> lines{};
  std::string voucherDate;     // "YYYYMMDD"
  std::string voucherNumber;   // as typed
  EntryMode mode = EntryMode::Add;
  std::string lowestOpenDate = std::string(kNoClosedPeriodDate);
  std::string bookYearEnd;     // "YYYYMMDD"; empty: not known
  bool loadedLocked = false;   // a loaded voucher that LoadedVoucherLock locked
  int amountDecimals = 2;
};

// The totals of the screen. Unreadable amounts count as 0 here.
struct EntryTotals {
  double debit = 0;
  double credit = 0;
  double difference = 0;  // debit - credit
  std::string debitText;
  std::string creditText;
  std::string differenceText;
};
// Totals shown with 2 decimals, or with the amount decimals when those are
// more (so that an imbalance of 0.004 shows with 3 decimals), grouped.
int TotalsDecimals(int amountDecimals);
EntryTotals ComputeTotals(const EntryScreen& screen);

// The lines that the store would write: netted, non-zero, counted from the
// screen's readable amounts.
int LinesLeftAfterNetting(const EntryScreen& screen);

// Why Save is disabled, the first that applies in this order.
enum class SaveBlock {
  None,
  Locked,               // a loaded voucher that cannot be changed
  InvalidDate,          // the voucher date is no date
  NumberTooLong,        // over 20 characters
  SystemNumber,         // "! SYSTEM" or "{SYSTEM}" outside the profit booking
  DateBeforeLowestOpen, // in a closed period
  UnreadableAmount,     // a field holds no amount
  AccountMissing,       // an amount on a line without an account number (marked, no text)
  AccountNotInLedger,   // an amount on an account the GL file lacks
  TooFewLines,          // fewer than two lines left after netting
  Unbalanced,           // debits and credits differ
};

// A field the form colours yellow.
enum class EntryField { VoucherDate, VoucherNumber, AccountNumber, Debit, Credit };
struct FieldMark {
  EntryField field = EntryField::VoucherDate;
  int line = 0;  // 1..8 for line fields, 0 for the header
  bool operator==(const FieldMark&) const = default;
};

// The Save test's outcome. `status` is the text for status panel 0 (empty:
// leave it empty, as for an incomplete or unbalanced voucher); `statusYellow`
// gives the status bar yellow. `marks` are every field to colour yellow.
struct SaveTest {
  bool saveEnabled = false;
  SaveBlock block = SaveBlock::None;
  int line = 0;             // the line the block is about, 0 for the header
  std::string account;      // the account the block names
  bool dateAfterBookYearEnd = false;  // warning only
  std::vector<FieldMark> marks;
  std::string status;
  bool statusYellow = false;
};
SaveTest TestSave(const EntryScreen& screen);

// ---------------------------------------------------------- dates and keys

// "YYYYMMDD" of an existing date (any year 1 to 9999).
bool IsDateText(std::string_view ymd);

// The earliest date that may be booked, from the administration settings'
// closed periods: "19000101" when LastClosedPeriod is empty; otherwise, with
// k and c the first two characters of LastClosedPeriod and CurrentPeriod as
// numbers, PeriodStart[1] when c is 1, else PeriodStart[k + 1] for k 1..14.
// Any other k, and a period start that is no date, leave `previous`.
std::string LowestOpenDate(std::string_view lastClosedPeriod, std::string_view currentPeriod,
                           const std::array<std::string, 15>& periodStart, std::string_view previous);
std::string LowestOpenDate(const records::AdminSettingsRec& settings, std::string_view previous);

// The screen's view of a voucher's key: the date "YYYYMMDD" followed by the
// number exactly as it is stored. Nullopt when the number is over 20
// characters (the screen refuses it) or the date is no date. Keys compare as
// byte strings (CompareVoucherKeys: <0, 0, >0); the voucher store keeps its
// own key of the records and sorts by the same order.
struct EntryKey {
  std::string text;
  bool operator==(const EntryKey&) const = default;
};
std::optional<EntryKey> MakeEntryKey(std::string_view ymd, std::string_view number);
int CompareVoucherKeys(std::string_view a, std::string_view b);

// Why a loaded voucher is shown read-only (Save and Delete off), the first
// that applies.
enum class VoucherLock { None, InvalidDate, SystemVoucher, ClosedPeriod, OverEightLines };
VoucherLock LoadedVoucherLock(std::string_view storedDate, std::string_view storedNumber,
                              std::string_view lowestOpenDate, std::size_t recordCount);
// The message for status panel 0 that goes with a lock (empty for None and
// for the system vouchers, which explain themselves).
std::string VoucherLockText(VoucherLock lock);

// ------------------------------------------------------------- accounts

// One GL account as an item of the account pickers.
struct AccountItem {
  std::string number;
  std::string caption;
  bool operator==(const AccountItem&) const = default;
};
// The item texts: number + "{" + caption + "}" (by number), caption + "{" +
// number + "}" (by name).
std::string ByNumberText(const AccountItem& item);
std::string ByNameText(const AccountItem& item);

// The by-name list's order: the accounts sorted by caption ignoring case,
// accounts of equal captions in their file order.
std::vector<AccountItem> SortedByName(std::vector<AccountItem> accounts);

// The account a picker takes when the user leaves it with `typed` (blanks
// at either end ignored): by number, the account whose number equals it,
// else the last whose whole item text equals it ignoring case, else the
// last whose number equals it ignoring case; by name, the account whose
// whole item text equals it ignoring case, else the one account whose
// caption equals it ignoring case (several such: none, as no one account
// is meant). Nullopt when nothing equals it: both fields are emptied.
std::optional<std::size_t> MatchByNumber(const std::vector<AccountItem>& items, std::string_view typed);
std::optional<std::size_t> MatchByName(const std::vector<AccountItem>& items, std::string_view typed);

// The item a picker shows when a line's field is entered: the account of
// the line (its number, trailing blanks ignored), exactly; nullopt when the
// line has none or it is not in the list. The by-name picker presets the
// same account, so passing through either field keeps the line's account.
std::optional<std::size_t> PresetItem(const std::vector<AccountItem>& items, std::string_view lineNumber);

// A line filled by a proposal (SetEntryLine): the caption of exactly that
// account, nullopt when it is not in the list (the caption stays empty and
// the Save test names the account).
std::optional<std::string> CaptionOf(const std::vector<AccountItem>& items, std::string_view number);

// The amount texts of a filled line: side 'D' the debit, 'C' the credit,
// any other side neither, except that line 1 takes every side other than
// 'D' as 'C'. Formatted with `decimals`, grouped.
struct LineAmounts {
  std::string debitText;
  std::string creditText;
  bool operator==(const LineAmounts&) const = default;
};
LineAmounts EntryLineAmounts(int line, double amount, char side, int decimals);

// ------------------------------------------------------------- questions

// What the screen shows of a voucher: header texts and the 8 x 6 line
// texts. The form keeps the one it showed last (after New, a load or a
// template) and compares.
struct EntrySnapshot {
  std::string voucherNumber;
  std::string voucherText;
  std::string reference;
  std::array<std::array<std::string, 6>, kVoucherLines> lines{};
  bool operator==(const EntrySnapshot&) const = default;
};
// Something was typed since the form filled the screen.
bool TypedLinesWouldBeLost(const EntrySnapshot& shown, const EntrySnapshot& now);

enum class DiscardAction { Escape, Close, New, TemplatePick, Delete };
// Whether to ask Yes/No first: Delete always (a voucher goes); the others
// only when typed lines would be lost.
bool AskBeforeDiscard(DiscardAction action, const EntrySnapshot& shown, const EntrySnapshot& now);

// ------------------------------------------------ the voucher of a document

// The voucher the voucher selection seeks for the invoice or the payment
// the document tabs show: its date, the voucher number a proposal gave it
// (kind + partner + "/" + document number) and, when the tab's fields hold
// a document, that document's key. The kind comes from the kind list's
// item index, never from a caption: invoices 0 customer, any other vendor;
// payments 0 customer, 1 vendor, 2 receipt, any other payment. The partner
// number text is read with blanks around it ignored; receipts and payments
// have partner 0, and an empty payment partner counts as 0. Fields that
// hold no document (a partner that is no whole number, an empty invoice
// number, a payment number that is no whole number, as for a payment not
// yet stored) leave `document` empty and the number as the texts read.
struct DocumentVoucher {
  std::string date;    // "YYYYMMDD"
  std::string number;  // the voucher number sought
  VoucherLink document;
  bool operator==(const DocumentVoucher&) const = default;
};
DocumentVoucher InvoiceVoucherSought(std::string_view bookDate, int kindIndex, std::string_view partner,
                                     std::string_view invoiceNumber);
DocumentVoucher PaymentVoucherSought(std::string_view valueDate, int kindIndex, std::string_view partner,
                                     std::string_view paymentNumber);

// ---------------------------------------------------------- the set-up

// Which journal an item of the journal list or of the journal menu is: one
// of the three books, optional journal `index` (0..2), or the journal of
// cash or bank account `index` (0-based, in GL-file order, as the cash
// account list holds them). The menu and the list are bound to journals by
// this, never by their texts, so two journals of one name stay apart.
enum class JournalKind { Sales, Purchase, Day, Free, Cash };
struct JournalRef {
  JournalKind kind = JournalKind::Sales;
  std::size_t index = 0;
  bool operator==(const JournalRef&) const = default;
};
struct JournalItem {
  std::string name;
  JournalRef ref;
  bool operator==(const JournalItem&) const = default;
};
// The journal list: the sales, purchase and day book names, the optional
// journals 1..3 that are not empty, then the journal of every cash or bank
// account in GL-file order whose journal name is not empty (an account
// without one has no journal to offer).
std::vector<JournalItem> JournalItems(const records::AdminSettingsRec& settings,
                                      const std::vector<std::string>& cashJournals);
// The names of JournalItems, as the list shows them.
std::vector<std::string> JournalListItems(const records::AdminSettingsRec& settings,
                                          const std::vector<std::string>& cashJournals);
// The optional journals' menu items: shown (with the name) when the name is
// not empty.
std::array<std::optional<std::string>, 3> FreeJournalMenuItems(const records::AdminSettingsRec& settings);
// The cash-journal menu holds the first nine cash or bank journals of the
// journal list (those with a name).
inline constexpr std::size_t kCashJournalMenuItems = 9;
std::vector<JournalItem> CashJournalMenuItems(const std::vector<std::string>& cashJournals);
// A journal name as a menu caption shows it: every "&" doubled, so that the
// menu shows it instead of taking it as the mnemonic mark.
std::string MenuCaptionText(std::string_view name);

// The book-period list: empty when CurrentPeriod is empty; else an empty
// item, then the periods p, p + 1, p + 2 that do not exceed PeriodCount,
// each as two-digit p + "/" + two-digit PeriodCount ("11/12"). p is the
// whole number CurrentPeriod starts with ("11/12", "1", "1/"); none, or 0
// (as after the last period was reopened, "00/00"), counts as 1. Never
// raises.
std::vector<std::string> BookPeriodItems(std::string_view currentPeriod, int periodCount);

// The sales-tax rate of a code: the rate of the last of the six tax names
// equal to it; nullopt when none is.
std::optional<double> SalesTaxRate(std::string_view code, const std::array<std::string, 6>& names,
                                   const std::array<double, 6>& rates);

// One GL account with a sales-tax code: its number (as the account lists
// show it, without trailing blanks), its code and the code's rate in
// percent.
struct SalesTaxAccount {
  std::string accountNumber;
  std::string code;
  double rate = 0;
  bool operator==(const SalesTaxAccount&) const = default;
};
// The sales-tax account table: one entry per account whose code is not
// empty, in the order given (GL-file order), with the rate of SalesTaxRate;
// a code no tax name equals gets rate 0. No limit on the number of entries.
std::vector<SalesTaxAccount> SalesTaxAccounts(const std::vector<SalesTaxAccount>& accounts,
                                              const std::array<std::string, 6>& names,
                                              const std::array<double, 6>& rates);

// The bank-statement import keeps ten profiles, numbers 1..10.
inline constexpr int kImportProfileCount = 10;
// The date layouts of a profile: the statement reader's (src/books/journal/bankimport.h).
inline constexpr const auto& kImportDateLayouts = kStatementDateLayouts;
// What an empty profile file is filled with: profiles 1..10, each with an
// empty name, currency and debit text, date column -1 and the first date
// layout; the other columns 0.
std::vector<records::ImportProfileRec> EmptyImportProfiles();
// A profile's item in the profile list: number + " : " + name.
std::string ImportProfileItem(const records::ImportProfileRec& profile);

// Journals are split when the setting reads "true".
bool SplitJournals(const records::AdminSettingsRec& settings);

}  // namespace books::journal
