// The report form: the user picks one of six reports (trial balance,
// balance sheet with profit and loss, ledger account card, journal,
// debtors, creditors) and a period (an account for the card, a journal for
// the journal), generates it, previews it, prints it, saves it as a
// rich-text file and copies it.
//
// The trial balance and the balance sheet are computed into the grid first
// (src/books/closing/balance.h) and laid out by the preview; the other kinds are laid
// out at once (books/reporting/reportrun.h) and shown in the rich-text view, which
// loads the report from memory. What a generate used (report, period,
// account, journal) is captured: changing the report or the period turns
// preview, print, save and freeze off until the next generate, so nothing
// prints or freezes with dates that do not belong to the figures. Save as
// writes the report's own lines (page markers as page breaks, paper and
// margins after the preamble, the landscape mark for the trial balance
// only) through a temporary file, replacing an existing file only after
// Yes. Printing cuts the report at its page markers and prints each page on
// one sheet, scaled to fit (ui/printing.h), the trial balance landscape.
//
// The freeze of the open period is enabled as the balance sheet's
// computation allows. It asks Yes/No first, naming the period, and then
// runs the closing service (src/books/closing/periodclosing.h), which checks, stores
// the snapshot, posts the closing vouchers and saves the settings in one
// file set and closes it; the form shows each refusal in a message box, and
// after a freeze keeps the service's results in the unit's globals below,
// refills the period list and closes itself. The start screen then sets
// `FreezeDone`, and the next activation says " freeze succesful ".
// The start screen opens "GLA;FRZ" before each showing; the activation
// reads the accounts and ends that set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formkit/helpunit.h"
#include "records/adminsettingsrec.h"
#include "books/closing/balance.h"
#include "books/reporting/reportbuild.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/progressbar.h"
#include "ui/richedit.h"

namespace reports {

// Set by the start screen when a freeze has just been done: the next
// activation says so and chooses the balance sheet.
extern bool FreezeDone;
// The form's own copy of the administration settings, not the session's:
// taken by the language routine (at every activation of the start screen
// and at log-in, so before the form is shown) and advanced by a freeze.
// The form computes its periods and freezes by it; a freeze is refused when
// the period set-up on file is no longer the one this copy saw.
extern records::AdminSettingsRec ReportAdminSettings;
// What the last freeze left for the start screen's flow: whether it closed
// the book year, the period label, the period's profit and the transfer
// account (type T), the profit at the period end and the profit account
// (type P), and the first day after the frozen period ("YYYYMMDD").
extern bool FreezeClosedYear;
extern std::string FreezeLabel;
extern std::string FreezeProfitText;
extern std::string ReportTransferAccountNumber;
extern std::string ReportTransferAccountCaption;
extern std::string ReportProfitText;
extern std::string ReportProfitAccountNumber;
extern std::string ReportProfitAccountCaption;
extern std::string ReportPeriodEnd;
// The report kind of the last generate ('1'..'6'; 0 before any).
extern char ReportKind;
// The unit's copy of the help caption block, set by the language routine.
extern formkit::HelpCaptionBlockRec RapportHelpCaptions;

// Fixed texts of the form, as the program has always shown them.
inline constexpr const char* kComboEmptyText = "Combobox is emty";
inline constexpr const char* kFreezeSuccessText = " freeze succesful ";
inline constexpr const char* kOverwriteText = "File already exists, overwrite ?";
inline constexpr const char* kRtfFilter = "Richtext files (*.rtf)|*.rtf";
inline constexpr const char* kAllItems = "*.*";

// The six report names of the report choice ("1. " + its language text,
// cut to 48 characters).
std::vector<std::string> ReportNames();
// The account choice's item of an account: number + " | " (cut to 18) and
// caption, cut to 68; and the number and name an item stands for.
std::string AccountItem(const std::string& number, const std::string& caption);
books::reporting::CardAccount AccountOfItem(const std::string& item);

// Puts the unit's globals back as at program start.
void ResetRapportState();

class TRapport1 : public ui::Form {
 public:
  TRapport1();

  ui::Action genereerrapport{this, "genereerrapport"};
  ui::Action Afdrukvoorbeeld{this, "Afdrukvoorbeeld"};
  ui::Action Afdrukken{this, "Afdrukken"};
  ui::Action saveas{this, "saveas"};
  ui::Action selectall{this, "selectall"};
  ui::Action copytoclipboard{this, "copytoclipboard"};
  ui::Action freezeperiode{this, "freezeperiode"};
  ui::Action Sluiten{this, "Sluiten"};
  ui::Action helpfile{this, "helpfile"};

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "&File"};
  ui::MenuItem Generate1{&File1, "Generate1"};
  ui::MenuItem Preview1{&File1, "Preview1"};
  ui::MenuItem Print1{&File1, "Print1"};
  ui::MenuItem Saveas1{&File1, "Saveas1"};
  ui::MenuItem Close1{&File1, "Close1"};
  ui::MenuItem Edit1{&MainMenu1, "Edit1", "&Edit"};
  ui::MenuItem Selectall1{&Edit1, "Selectall1"};
  ui::MenuItem Copy1{&Edit1, "Copy1"};
  ui::MenuItem Run1{&MainMenu1, "Run1", "&Run"};
  ui::MenuItem Freeze1{&Run1, "Freeze1"};
  ui::MenuItem Help1{&MainMenu1, "Help1", "&Help"};
  ui::MenuItem BrenvickReporthelp1{&Help1, "BrenvickReporthelp1", "Report help"};
  ui::MenuItem BrenvickHelp1{&Help1, "BrenvickHelp1", "Help"};
  ui::MenuItem utorial1{&Help1, "utorial1", "Tutorial"};
  ui::MenuItem BrenvickHomepage1{&Help1, "BrenvickHomepage1", "Home page"};
  ui::MenuItem Helpabout1{&Help1, "Helpabout1", "About..."};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};  // generate
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2"};  // preview
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3"};  // print
  ui::ToolButton ToolButton4{&ToolBar1, "ToolButton4"};  // save as
  ui::ToolButton ToolButton5{&ToolBar1, "ToolButton5"};  // freeze
  ui::ToolButton ToolButton6{&ToolBar1, "ToolButton6", "?"};  // help

  // The choices.
  ui::Panel Panel1{this, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label3{&Panel1, "Label3", "Report"};
  ui::ComboBox ComboBox4{&Panel1, "ComboBox4"};
  ui::Label Boekjaar{&Panel1, "Boekjaar", "Period"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1"};
  ui::Label Label1{&Panel1, "Label1", "GL account"};
  ui::ComboBox ComboBox3{&Panel1, "ComboBox3"};
  ui::Label Label4{&Panel1, "Label4", "Journal"};
  ui::ComboBox ComboBox2{&Panel1, "ComboBox2"};

  ui::Panel Panel2{this, "Panel2", ui::LayoutKind::Horizontal};
  ui::Button Button1{&Panel2, "Button1"};  // generate
  ui::Button Button2{&Panel2, "Button2"};  // print
  ui::Button Button3{&Panel2, "Button3"};  // close

  ui::StringGrid StringGrid1{this, "StringGrid1", 8, 555};
  ui::RichEdit RichEdit1{this, "RichEdit1"};
  ui::ProgressBar ProgressBar1{this, "ProgressBar1"};
  ui::StatusBar StatusBar1{this, "StatusBar1"};

  void FormActivate();
  void ComboBox4Select();
  void ComboBox1Change();
  void ComboBox3Change();
  void ComboBox4Exit();
  void ComboBox1Exit();
  void ComboBox3Exit();
  void ComboBox2Exit();
  void genereerrapportExecute();
  void AfdrukvoorbeeldExecute();
  void saveasExecute();
  void AfdrukkenExecute();
  void selectallExecute();
  void copytoclipboardExecute();
  // The freeze of the open period (above).
  void freezeperiodeExecute();
  void SluitenExecute();
  void FormKeyPress(char& key);
  void FormKeyDown(uint16_t& key, unsigned shift);
  void FillPeriodList();
  void FillJournalList();

  // The report last laid out (ReportOutput); none before the first.
  const std::optional<books::reporting::BuiltReport>& LastReport() const { return report_; }
  // The grid's computation of the last generate of kinds 1 and 2.
  const std::optional<books::closing::BalanceResult>& LastBalance() const { return balance_; }

 private:
  // What a generate used.
  struct Choice {
    std::string report, period, account, journal;
  };
  std::optional<Choice> generated_;
  std::optional<books::reporting::BuiltReport> report_;
  std::optional<books::closing::BalanceResult> balance_;
  std::vector<books::reporting::CardAccount> accounts_;

  void EnableAfterLayout(bool on);
  // The texts of the balance grid, for the generate and the freeze alike.
  static books::closing::BalanceTexts GridTexts();
  // The report or the period changed since the generate.
  void ChoiceChanged();
  void ShowGrid(const books::closing::BalanceResult& r);
  void ShowReport(books::reporting::BuiltReport report);
  bool LayOut(const Choice& c);
  void ComboExit(ui::ComboBox& box);
};

extern TRapport1* Rapport1;

}  // namespace reports
