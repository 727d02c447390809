// The export and import form: the one form through which the user writes a
// data file of the current administration as a ";"-separated text file,
// reads such a file back over the data file, or writes the XML audit file
// of a book year.
//
// The user picks the data (ComboBox1: "1: " customers ... "7: " GL
// categories, "9: " the audit file; there is no 8) and, for 1 to 7, the
// action (RadioGroup1 by item index: 0 export, 1 import); for the audit file
// a period of the period list (ComboBox2: the open period first, then the
// frozen ones, newest first) and a criterion (RadioGroup2 by item index: 0
// all transactions, 1 closed periods only). OK and the menu item "Strat (OK)"
// are one action with one enabled state. The formats are
// books/exchange/delimited.h and books/exchange/auditfile.h; this form reads and writes
// the files around them.
//
// Rules of the form:
// - A run starts with an empty output list; the save is offered only for
//   what this run produced, never for an earlier or a failed run's lines.
//   The audit file is always an export, whatever the hidden action holds;
//   its text is kept whole (it can run to millions of lines) and its lines
//   go into the output list only while the list is shown (the preview).
// - The dispatch checks its own preconditions again: the audit file is not
//   written for the oldest period, nor with fewer than two periods listed,
//   however the dispatch was reached.
// - The save asks before it replaces an existing file (the file name takes
//   the place of the first "%s" of the question, nothing else of the text is
//   read) and writes a temporary file beside the target that is renamed
//   over it: a failed write leaves the old file and says why.
// - An import reads and checks the whole text before it opens the data
//   file; a bad line is named with its column and value and nothing
//   changes. Then, holding the data file's set, it asks whether to replace
//   the data file (its record count now and the text's line count; for
//   voucher lines also the lines of each dated before the lowest open date)
//   and only on Yes writes it (books/exchange/importfile.h).
// - The dialogs open in the working folder; the program's current folder is
//   never changed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formkit/helpunit.h"
#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "books/exchange/auditfile.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/listbox.h"

namespace reports {

// The unit's copies, pushed in by the language routine: the administration
// code, the working folder and the help captions. The administration
// settings are read from the session (store::AdminSettings).
extern std::string ExportImportAdministrationCode;
extern std::string ExportImportStartFolder;
extern formkit::HelpCaptionBlockRec ExportImportHelpCaptions;

// Puts the unit's copies back as the program starts with them.
void ResetExportImportState();

// ---- Decisions of the form, as plain functions.

// The period list: every frozen period as "BookYear PeriodLabel", newest
// first, and before them the open period's item, which the newest snapshot
// gives (its period + 1 of the same year) or, when that snapshot ends its
// year or there is none, the settings (FiscalYear + " " +
// CurrentAnnualBalance + "-" + CurrentPeriod).
std::string OpenPeriodItem(const std::vector<records::FreezeRec>& freezes, const records::AdminSettingsRec& settings);
std::vector<std::string> PeriodListItems(const std::vector<records::FreezeRec>& freezes,
                                         const records::AdminSettingsRec& settings);
// Whether the audit file may be written for `choice`: the list holds at
// least two items and the choice equals one of them but the last (the
// oldest), ignoring case.
bool AuditPeriodExportable(const std::vector<std::string>& items, std::string_view choice);
// `format` with its first "%s" replaced by `name`; nothing else of the text
// is interpreted. Without a "%s" the name follows the text after a blank.
std::string FormatOneName(std::string_view format, std::string_view name);
// The data choice's digit: 1..7, 9; nullopt for any other text.
std::optional<int> ChoiceDigit(std::string_view choice);

// Writes `bytes` as the file `path` (UTF-8): a temporary file beside it,
// synced and renamed over it, with the old file's access mode when there is
// one. Returns 0 or the operating system's code of the step that failed;
// the old file is then as it was and no temporary file is left.
int ReplaceTextFile(const std::string& path, std::string_view bytes);
// The same with the bytes given in pieces, written one after another.
int ReplaceTextFile(const std::string& path, const std::vector<std::string_view>& pieces);

class TExportImport : public ui::Form {
 public:
  TExportImport();

  ui::Action OkAction{this, "OkAction"};  // Button1 and "Strat (OK)"
  ui::Action closeform{this, "closeform"};

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "&File"};
  ui::MenuItem Exit1{&File1, "Exit1", "Exit"};
  ui::MenuItem Action1{&MainMenu1, "Action1", "Action"};
  ui::MenuItem Strat1{&Action1, "Strat1", "Strat (OK)"};
  ui::MenuItem Help1{&MainMenu1, "Help1", "&Help"};
  ui::MenuItem helpform1{&Help1, "helpform1", "Export and import help"};
  ui::MenuItem utorial1{&Help1, "utorial1", "Tutorial"};
  ui::MenuItem Internet1{&Help1, "Internet1", "Export and import on the internet"};
  ui::MenuItem About1{&Help1, "About1", "About..."};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};       // close
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2", "?"};  // help

  ui::Label Label4{this, "Label4", "Export & import data files"};

  ui::Panel Panel1{this, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label1{&Panel1, "Label1", "Select filetype:"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1"};
  ui::Label Label2{&Panel1, "Label2", "Period:"};
  ui::ComboBox ComboBox2{&Panel1, "ComboBox2"};

  ui::Panel Panel2{this, "Panel2", ui::LayoutKind::Horizontal};
  ui::RadioGroup RadioGroup1{&Panel2, "RadioGroup1", "Action:"};
  ui::RadioGroup RadioGroup2{&Panel2, "RadioGroup2", "Select export criteria"};

  ui::CheckBox CheckBox1{this, "CheckBox1", "Preview / development only"};

  ui::Panel Panel3{this, "Panel3", ui::LayoutKind::Horizontal};
  ui::Button Button1{&Panel3, "Button1", "OK"};
  ui::Button Button2{&Panel3, "Button2", "savefile"};
  ui::Button Button3{&Panel3, "Button3", "Cancel"};

  ui::ListBox ListBox1{this, "ListBox1"};  // the output lines (hidden)
  ui::ListBox ListBox2{this, "ListBox2"};  // the log

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  void FormActivate();
  void ComboBox1Change();
  void ComboBox2Change();
  void RadioGroup2Click();
  void ComboBox1Exit();
  void ComboBox2Exit();
  void CheckBox1Click();
  void Button1Click();  // the dispatch
  void saveauditfileExecute();
  void auditfileExecute();
  void FormKeyPress(char& key);
  void FormKeyDown(uint16_t& key, unsigned shift);

  // Puts the current language's texts into the form.
  void ApplyLanguageTexts();

  // The customer flag: the data choice "1" (customers) rather than "2".
  bool CustomerFlag() const { return customers_; }
  const std::string& OpenPeriod() const { return openPeriod_; }
  // Whether the output list holds this run's output, which the save offers.
  bool OutputReady() const { return outputReady_; }

 private:
  // The export of data choice `digit` (1..7) into the output list.
  void RunExport(int digit);
  // The import of data choice `digit` (1..7).
  void RunImport(int digit);
  // The three log lines of an export or import, and the changed values.
  void LogRun(const std::string& verb, int count, int changedValues);
  std::vector<std::string> PeriodItems() const;
  void ShowStatus(const std::string& text, ui::Color colour);
  std::string TypeWord(int digit) const;
  // Fills the output list with the audit file's lines when it is empty.
  void ShowAuditLines();

  bool customers_ = true;
  std::string openPeriod_;
  bool outputReady_ = false;
  // This run's audit file, CR LF line ends included; the save writes it.
  std::optional<books::exchange::AuditFileText> auditText_;
  ui::FileDialogOptions saveOptions_;
};

extern TExportImport* ExportImport;

}  // namespace reports
