// The administration settings of the current administration: the copy
// `AdminSettings` that the rest of the program reads, the values the
// settings form shows, and the loader and saver that move them between the
// file "adminset.vlk" (ADS), the copy and the form's values.
//
// The settings form is the record's only editor. Its values live here, in
// `AdminSettingsValues`, one member per control; the form copies them onto
// its controls after a load and back before a save, so the loader and the
// saver also work where the form is not shown (log-in, year-end closing,
// unfreeze).
//
// A stored date that is not a valid "YYYYMMDD" date never stops a load: it
// is replaced by a date derived from the others (see LoadAdminSettings), in
// the values and in `AdminSettings`, and its field is named in
// `AdminSettingsRepairedFields`; the next save stores the replacement.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/datetime.h"
#include "records/adminsettingsrec.h"
#include "store/fileset.h"
#include "store/session.h"
#include "store/scopedfileset.h"

namespace store {

// What the settings form shows, by control.
struct AdminSettingsFormValues {
  // Company data (first tab).
  std::string CompanyName;          // Edit1
  std::string Address;              // Edit2
  std::string ZipCode;              // Edit3
  std::string Town;                 // Edit4
  std::string State;                // Edit14
  std::string Country;              // Edit5
  std::string Telephone;            // Edit6
  std::string Fax;                  // Edit7
  std::string Email;                // Edit8
  std::string Website;              // Edit9
  std::string ExtraItem2;           // Edit10
  std::string ExtraItem1;           // Edit11
  std::string CompanyRegistration;  // Edit12
  std::string TaxRegistrationId;    // Edit22
  std::string ChangedAt;            // Edit15, read-only
  std::string ChangedBy;            // Edit16, read-only

  // Book year, periods, currency (second tab).
  platform::TDateTime BookYearStart = 0;         // DateTimePicker1
  platform::TDateTime BookYearEnd = 0;           // DateTimePicker2
  platform::TDateTime BookYearEndMinimum = 0;    // its minimum: the start + 1 day
  std::string PeriodCountText;                   // ComboBox1, "01" to "15"
  std::array<platform::TDateTime, 15> PeriodStart{};  // DateTimePicker3 (period 1) to 17
  std::string CurrencyCode;                      // Edit21
  std::string FiscalYear;                        // Edit23
  bool NoSalesTaxAccounts = false;               // CheckBox1

  // Journals.
  bool SplitJournals = false;                    // CheckBox13
  // Sales book, purchase book, day book, optional journals 1 to 3
  // (Edit24 to Edit29).
  std::array<std::string, 6> JournalNames;
  // Customer 1, supplier 1, customer 2, supplier 2, customer 3, supplier 3
  // (CheckBox7 to CheckBox12).
  std::array<bool, 6> JournalFlags{};

  // The closing state (always visible, read-only).
  std::string ApprovedAnnualBalance;  // Edit17
  std::string CurrentAnnualBalance;   // Edit18
  std::string LastClosedPeriod;       // Edit19
  std::string CurrentPeriod;          // Edit20
};

// The record as last read or written: `AdminSettings`, declared with the
// session (store/session.h).
// The values of the settings form.
extern AdminSettingsFormValues AdminSettingsValues;
// The profit account between the moment it is read (the loader: from the
// record; the form's save: from its choice) and SaveAdminSettings.
extern std::string ProfitAccountNumberText;
extern std::string ProfitAccountCaptionText;
// The stored dates the last load had to replace ("BookYearStart",
// "BookYearEnd", "PeriodStart[7]", ...); empty when every date was valid.
extern std::vector<std::string> AdminSettingsRepairedFields;
// What ADS held when the settings were last loaded or saved.
extern store::FileSnapshot AdminSettingsSnapshot;

// Empties the unit: no settings loaded, empty values, no repaired fields.
void ResetAdminSettingsState();
// The warning the settings form shows when the last load replaced dates.
extern std::string MsgStoredDatesReplaced;

// The journal names a new administration starts with: sales book, purchase
// book, day book, no optional journals.
extern const std::array<std::string, 6> DefaultJournalNames;

// The number of periods as the form shows it: two digits ("04", "12").
std::string PeriodCountText(int count);

// Opens "ADS;" and reads record 0 into AdminSettings
// and onto the form's values; an empty file (a new administration) gets the
// defaults of a new administration, which are saved at once. On an open
// failure a message box shows the operating system's text of the error and
// nothing changes.
//
// Stored dates that are not valid "YYYYMMDD" dates are replaced:
// - BookYearStart: period 1's start when that is valid, else 1 January of
//   the book-year end's year when that is valid, else 1 January of today's
//   year;
// - BookYearEnd (also one not after the start): the day before the start's
//   day a year later;
// - PeriodStart[k]: k = 1 the book-year start; k up to the number of periods
//   N the equal share start + (end - start) * (k - 1) / N (days, cut to a
//   whole day), as the form proposes; every later element the day after the
//   book-year end.
// N is the stored period count held to 1 to 15 for these rules.
// The data files are in today's layouts: the log-in converts them
// (store/dataconversion.h) before its first load of an administration.
// When the file set cannot be opened nothing changes and the failure comes
// back; the caller tells the user (the operating system's text alone).
std::optional<store::FileSetFailure> LoadAdminSettings();
// "damaged file <name>: <what>", in the language in use.
std::string MsgDamagedFile(const std::string& fileName, const std::string& what);
// What is wrong with the fields of a settings record ("" when nothing):
// BookYearStart and BookYearEnd valid "YYYYMMDD" dates with the start not
// after the end; PeriodCount 1 to 15; PeriodStart[1..PeriodCount] valid
// dates, none before the one before it; CurrentPeriod "PP/NN" with PP <=
// NN <= 15 ("00/00" before anything was closed); LastClosedPeriod empty or
// "PP/NN". The fiscal year is not looked at (conversion 007 leaves it
// empty).
std::string SettingsRecordFault(const records::AdminSettingsRec& rec);
// ADS of the open set, checked before anything depends on it: its size
// first (exactly one whole record; a file of another size is neither read
// nor hashed), then the fields. `damage` is MsgDamagedFile's text when the
// file is damaged; else `rec` holds the record (`bytes` as read).
struct CheckedSettings {
  std::optional<records::AdminSettingsRec> rec;
  std::string damage;
};
CheckedSettings ReadCheckedSettings();

// Builds AdminSettings from the form's values and writes it as the only
// record of ADS (the whole file is replaced). The ADS file must be named by
// the open file set. ChangedAt and ChangedBy are stamped with now and the
// current user; CompanyShortName, CreatedBy and CreatedAt keep what
// AdminSettings holds; a number-of-periods text that is not a number from 1
// to 15 counts as "01". Bytes of AdminSettings that no field covers (the pad
// byte, the room after each text) are written as they are.
// The file must still hold what the last LoadAdminSettings (or save) left
// in it: when another copy of the program saved the settings meanwhile,
// nothing is written and the result is false (the caller tells the user,
// MsgChangedInAnotherCopy); true when the record was written.
bool SaveAdminSettings();

// The record for the form's values, built on top of `base` (whose bytes
// the values do not cover are kept), stamped with `changedAt`/`changedBy`.
records::AdminSettingsRec RecordFromValues(const AdminSettingsFormValues& values, const records::AdminSettingsRec& base,
                                           const std::string& changedAt, const std::string& changedBy);

// The book-year logic of the settings form, on a holder of its values. The
// form calls these from its handlers and then sets its controls (which
// period pickers show, the Unfreeze button); the routines touch values only.
// Each works on a copy and assigns it at the end, so a date that cannot be
// handled raises platform::ConversionError with `values` unchanged.

// The number of periods on leaving its choice: a text that is none of the
// items "01" to "15" becomes "01".
void CheckPeriodCountText(AdminSettingsFormValues& values);

// The day the period `k` of `n` (2 to n) starts when the book year from
// `start` to `end` (its last day) is cut into equal parts:
// start + (end - start) * (k - 1) / n, cut to a whole day.
platform::TDateTime EqualPartStart(platform::TDateTime start, platform::TDateTime end, int k, int n);

// The period proposal (the number of periods or the book-year end changed):
// - the number-of-periods text is checked (CheckPeriodCountText), N is its
//   number;
// - the current period becomes "00/00" while no period was closed, else
//   "01/" + the number-of-periods text;
// - periods 2 to N start at the equal parts of the book year; for a year
//   that starts on 1 January, 12 periods are the calendar months and 4 the
//   calendar quarters;
// - for N below 15, element N + 1 is the day after the book-year end (the
//   exclusive end of the last period). Later elements are not touched.
void ProposePeriods(AdminSettingsFormValues& values);

// The book-year start changed: period 1 starts with it; the end becomes
// the day before the same day a year later (a start on 29 February ends on
// 28 February of the next year), its minimum the day after the start; the
// approved annual balance is emptied; the current annual balance becomes
// "YYYY" for a year starting on 1 January, else the two-digit years of the
// start and of the year after it ("0809" for 1 April 2008); then the period
// proposal.
void BookYearStartChanged(AdminSettingsFormValues& values);

// The four closing fields of the settings.
struct ClosingFields {
  std::string ApprovedAnnualBalance;
  std::string LastClosedPeriod;
  std::string CurrentAnnualBalance;
  std::string CurrentPeriod;
  bool operator==(const ClosingFields&) const = default;
};
ClosingFields ClosingFieldsOf(const records::AdminSettingsRec& rec);

// The form's values for a stored record, its invalid dates replaced as a
// load replaces them.
AdminSettingsFormValues ValuesOfRecord(const records::AdminSettingsRec& rec);

// The computing half of ApplyClosedPeriodFields: `values` after a closing
// that leaves `fields` as the new closing state. With `moveYear` the book
// year moves on as described below; a book year that really moves (one was
// closed before) also moves the fiscal year on by one when it is a number.
// Raises platform::ConversionError when the date the new start comes from
// is not valid.
AdminSettingsFormValues ClosedPeriodValues(const AdminSettingsFormValues& values, const ClosingFields& fields,
                                           bool moveYear);

// The same on a record as read: the record with only its closing fields,
// book year, periods and fiscal year taken from ClosedPeriodValues; every
// other byte (company data, stamps, profit account, journals) as read.
records::AdminSettingsRec ClosedPeriodRecord(const records::AdminSettingsRec& read, const ClosingFields& fields,
                                             bool moveYear);

// The writing half: stores `rec` as the only record of ADS (which the open
// set must name) and makes it the loaded settings (AdminSettings, the
// form's book-year, period, fiscal-year and closing values, the snapshot).
// No check of another copy: the caller read ADS inside the same set.
void WriteClosedPeriodSettings(const records::AdminSettingsRec& rec);
// The second half of that alone, for a caller that wrote `rec` itself.
void AdoptWrittenSettings(const records::AdminSettingsRec& rec);

// Takes the closing state that the year-end flow has put into
// AdminSettings (approved and current annual balance, last closed and
// current period) onto the form's values and saves; the ADS file must be
// named by the open file set.
//
// With `MoveYear` (the freeze closed the last period of a book year) the
// book year moves on first: when the values hold an approved annual balance
// (a book year was closed before), the start becomes the day after the
// book-year end; then BookYearStartChanged and ProposePeriods. While none
// is held, the freeze closed the year before the first book year (the
// opening balance) and the start stays; its end and periods are proposed
// anew all the same.
//
// The date the new start comes from must be a valid "YYYYMMDD" date;
// otherwise platform::ConversionError is raised before anything changes.
// When the save fails the form's values are put back as they were; when
// another copy saved the settings since they were loaded, that is a failure
// too (platform::IoError with MsgChangedInAnotherCopy's text).
void ApplyClosedPeriodFields(bool& MoveYear);

}  // namespace store
