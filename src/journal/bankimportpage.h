// The journal form's bank-import page: tab 7 opens a statement, splits it
// into the column grid and keeps the ten import profiles; tab 8 runs the
// import (bankimportpage.cpp).
//
// The page holds its two panels' components (with the names the front end
// and the tests find them by), the statement as read and split, and the
// import between Next and its end. What it needs of the rest of the form
// (the status bar, the cash account above the tabs, the lowest open date,
// the journal a save stores, the tab choice, the payment tab's buttons)
// goes through `Tboeking`'s glue; it touches no other page.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "books/journal/bankimport.h"
#include "books/journal/bankimportrun.h"
#include "records/importprofilerec.h"
#include "ui/form.h"
#include "ui/progressbar.h"

namespace journal {

class Tboeking;

struct BankImportPage {
  BankImportPage(Tboeking& owner, ui::Container* tabs) : form(owner), tabs_(tabs) {}
  BankImportPage(const BankImportPage&) = delete;
  BankImportPage& operator=(const BankImportPage&) = delete;

  Tboeking& form;

 private:
  ui::Container* tabs_;

 public:
  // ---- tab 7: payment import
  ui::Panel Panel9{tabs_, "Panel9"};
  ui::ComboBox ComboBox9{&Panel9, "ComboBox9"};  // the profiles

  // ---- tab 8: match import
  ui::Panel Panel10{tabs_, "Panel10"};
  ui::Label Label60{&Panel10, "Label60"};

  // Tab 7: open, split and preview.
  ui::Panel ImportFilePanel{&Panel9, "ImportFilePanel", ui::LayoutKind::Horizontal};
  ui::Button Button8{&ImportFilePanel, "Button8"};  // open the statement
  ui::Label ImportSeparatorLabel{&ImportFilePanel, "ImportSeparatorLabel"};
  ui::Edit Edit91{&ImportFilePanel, "Edit91"};  // separator: one character or "Tab"
  ui::Label ImportQualifierLabel{&ImportFilePanel, "ImportQualifierLabel"};
  ui::Edit Edit92{&ImportFilePanel, "Edit92"};  // text qualifier
  ui::CheckBox CheckBox15{&ImportFilePanel, "CheckBox15"};  // exclude first row
  ui::Button Button22{&ImportFilePanel, "Button22"};  // Go: split
  ui::StringGrid StringGrid5{&Panel9, "StringGrid5", 1, 1};  // the lines as read
  ui::StringGrid StringGrid4{&Panel9, "StringGrid4", 1, 1};  // row 0: column numbers
  // Tab 7: the profile shown (ComboBox9 above lists them).
  ui::Panel ImportProfilePanel{&Panel9, "ImportProfilePanel", ui::LayoutKind::Grid};
  ui::Label ImportNameLabel{&ImportProfilePanel, "ImportNameLabel"};
  ui::Edit Edit108{&ImportProfilePanel, "Edit108"};  // name
  ui::Label ImportNumberLabel{&ImportProfilePanel, "ImportNumberLabel"};
  ui::Edit Edit109{&ImportProfilePanel, "Edit109"};  // number (read-only)
  ui::Label ImportDateColumnLabel{&ImportProfilePanel, "ImportDateColumnLabel"};
  ui::Edit Edit110{&ImportProfilePanel, "Edit110"};
  ui::Label ImportDateLayoutLabel{&ImportProfilePanel, "ImportDateLayoutLabel"};
  ui::ComboBox ComboBox10{&ImportProfilePanel, "ComboBox10"};
  ui::Label ImportCurrencyLabel{&ImportProfilePanel, "ImportCurrencyLabel"};
  ui::Edit Edit112{&ImportProfilePanel, "Edit112"};
  ui::Label ImportOwnAccountLabel{&ImportProfilePanel, "ImportOwnAccountLabel"};
  ui::Edit Edit93{&ImportProfilePanel, "Edit93"};
  ui::Label ImportCounterpartyLabel{&ImportProfilePanel, "ImportCounterpartyLabel"};
  ui::Edit Edit94{&ImportProfilePanel, "Edit94"};
  ui::Label ImportAscriptionLabel{&ImportProfilePanel, "ImportAscriptionLabel"};
  ui::Edit Edit95{&ImportProfilePanel, "Edit95"};
  ui::Label ImportDebitCreditLabel{&ImportProfilePanel, "ImportDebitCreditLabel"};
  ui::Edit Edit99{&ImportProfilePanel, "Edit99"};
  ui::Label ImportDebitStringLabel{&ImportProfilePanel, "ImportDebitStringLabel"};
  ui::Edit Edit100{&ImportProfilePanel, "Edit100"};
  ui::Label ImportAmountLabel{&ImportProfilePanel, "ImportAmountLabel"};
  ui::Edit Edit101{&ImportProfilePanel, "Edit101"};
  ui::Label ImportNarrativeLabel{&ImportProfilePanel, "ImportNarrativeLabel"};
  ui::Panel ImportNarrativePanel{&ImportProfilePanel, "ImportNarrativePanel", ui::LayoutKind::Horizontal};
  std::array<ui::Edit, 6> ImportNarrativeEdits{{{&ImportNarrativePanel, "Edit102"}, {&ImportNarrativePanel, "Edit103"},
                                                {&ImportNarrativePanel, "Edit104"}, {&ImportNarrativePanel, "Edit105"},
                                                {&ImportNarrativePanel, "Edit106"}, {&ImportNarrativePanel, "Edit107"}}};
  ui::Panel ImportButtonPanel{&Panel9, "ImportButtonPanel", ui::LayoutKind::Horizontal};
  ui::Button Button24{&ImportButtonPanel, "Button24"};  // Save setting
  ui::Button Button25{&ImportButtonPanel, "Button25"};  // Next >>
  // Tab 8: the run.
  ui::Panel ImportMatchPanel{&Panel10, "ImportMatchPanel", ui::LayoutKind::Grid};
  ui::Label ImportOwnBankLabel{&ImportMatchPanel, "ImportOwnBankLabel"};
  ui::Edit Edit111{&ImportMatchPanel, "Edit111"};  // own bank account
  ui::Label ImportCashAccountLabel{&ImportMatchPanel, "ImportCashAccountLabel"};
  ui::Edit Edit114{&ImportMatchPanel, "Edit114"};  // cash or bank GL account
  ui::Label ImportLastEntryLabel{&ImportMatchPanel, "ImportLastEntryLabel"};
  ui::Edit Edit121{&ImportMatchPanel, "Edit121"};  // highest entry number of the prefix
  ui::Label ImportPrefixLabel{&ImportMatchPanel, "ImportPrefixLabel"};
  ui::Edit Edit115{&ImportMatchPanel, "Edit115"};  // entry-number prefix ("Fixed")
  ui::Label ImportCounterLabel{&ImportMatchPanel, "ImportCounterLabel"};
  ui::Edit Edit122{&ImportMatchPanel, "Edit122"};  // counter
  ui::Panel ImportRunPanel{&Panel10, "ImportRunPanel", ui::LayoutKind::Horizontal};
  ui::Button Button26{&ImportRunPanel, "Button26"};  // Run Import
  ui::Button Button27{&ImportRunPanel, "Button27"};  // continue an interrupted import
  ui::Button Button28{&ImportRunPanel, "Button28"};  // show the payments without voucher
  ui::ProgressBar ImportProgressBar{&Panel10, "ImportProgressBar"};
  ui::Edit Edit117{&Panel10, "Edit117"};  // rows stored
  ui::Edit Edit118{&Panel10, "Edit118"};  // with a partner
  ui::Edit Edit119{&Panel10, "Edit119"};  // with a saved voucher
  ui::Edit Edit120{&Panel10, "Edit120"};  // without voucher

  // Sizes, limits and events, as the form's constructor sets them up.
  void Bind();
  void ApplyTexts();
  // Tab 7 is shown: the texts, the chosen profile, Go and Next as far as
  // the statement allows.
  void Show();
  void Button8Click();    // open the statement
  void Button22Click();   // Go: split it into StringGrid4
  void ComboBox9Exit();   // show the chosen profile
  void Button24Click();   // Save setting: the shown profile's record
  void Button25Click();   // Next >>: check the rows, prepare the numbers
  void Button26Click();   // Run Import, and continue (Button27)
  void ComboBox10Change();
  // The profile list from ImportProfiles, profile `number` chosen.
  void FillProfileList(int number);
  // The cash account above the tabs changed to `item`: the match tab shows
  // it until an import stored its first row.
  void CashAccountChanged(const std::string& item);
  // Cancel of the payment tab while an import is interrupted: ends it with
  // the result lines. False (nothing done) when no import is interrupted.
  bool EndInterruptedImport();
  // Whether an import runs or stopped part-way: the continue button shows.
  bool ImportRunning() const { return Button27.Visible(); }
  const std::vector<books::journal::StatementRow>& StatementRows() const { return statementRows_; }
  const std::optional<books::journal::ImportJob>& CurrentImport() const { return importJob_; }

 private:
  void ClearMatchTab();
  void ShowImportResult();
  void ShowContinueButton(bool shown);
  // Whether Next may go on with a profile of `fault`; else the fields it
  // lacks are painted and the status says what is missing.
  bool ProfileUsableAtNext(books::journal::ProfileFault fault);
  // The profile the fields show; nullopt (after a message) when a field is
  // no number.
  std::optional<records::ImportProfileRec> ShownProfile();
  void ShowProfile(const records::ImportProfileRec& profile);
  std::vector<std::string> statementLines_;
  std::vector<books::journal::StatementRow> statementRows_;
  std::size_t statementHeaderFields_ = 0;  // the fields of the excluded header line
  std::optional<books::journal::ImportJob> importJob_;
  bool profileFileReported_ = false;  // the damaged profile file, once per activation
};

}  // namespace journal
