// The system-settings form: the program-wide configuration kept in record 0
// of the system-parameter file in the working folder (company data,
// language, user options, two sets of sales-tax rates, the data folder, the
// amount decimals, the currency sign and its position, tips and the news
// page).
//
// The form is created once at start-up; its creation handler loads the
// record (or, on the first run, writes one with the defaults), applies the
// installer's language hint, runs the news-page check and loads the
// language. A file that holds bytes but not one whole record is damaged: the
// creation handler reports it by name and writes nothing. The form reads the
// file again each time it is shown. Saving checks every field first, creates
// the data folder, checks under the Save's own file set that the file still
// holds what the form read (else another copy changed it: nothing is
// written), and only then writes the record, so a refused save changes
// nothing.
//
// The six sales-tax lines are one repeated group (`RateLine`): each line's
// components keep their own names, and one handler serves the rate edits of
// all lines, bound with the line's index.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formkit/website.h"
#include "store/fileset.h"
#include "records/systemparamrec.h"
#include "formkit/helpunit.h"
#include "store/session.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace systemforms {

// Set while the program writes a rate edit, so that the rate filter leaves
// the text alone.
extern bool RateInputSkip;
// The unit's copy of the help captions, handed to the help form.
extern formkit::HelpCaptionBlockRec SystemschermHelpCaptionBlock;

// Message texts of the unit.
extern std::string MsgNewsPage;             // shown before the news page opens
extern std::string MsgDataFolderNotCreated; // + the folder, two blanks, the OS text
extern std::string MsgDataFolderTooLong;
extern std::string MsgDataFolderNotUsable;
extern std::string MsgInvalidDecimals;
extern std::string MsgInvalidRate;          // + the text that is no rate
extern std::string MsgCurrencySignMissing;

// The next date the news page is due, when `nextNewsDate` lies before
// `today` (both "YYYYMMDD"): that date moved on in steps of 90 days to the
// first one after today. nullopt when it is not due yet.
std::optional<std::string> NextNewsDateAfter(std::string_view nextNewsDate, std::string_view today);
// The language an installer hint presets: "DU" "Deutsch", "GB" "English",
// "NL" "Nederlands"; any other code none ("").
std::string LanguageForInstallHint(std::string_view code);
// A rate as the shortest decimal text that reads back to the same value,
// with the locale's decimal separator; a value that is not a number "0".
std::string RateText(double rate);
// The program-wide SystemSettings from SystemParams: decimals (0 to 4),
// currency sign and position, current user. The data folder is the data
// store's business (SetDataRoot).
void RefreshSystemSettings();
// The unit state above (the rate filter's skip flag, the messages, the help
// captions) as a new program has it.
void ResetSystemSettingsState();

// One sales-tax line of the form: the name and the rate with their labels.
// Each component keeps its own name ("Edit19"); the line is placed in its
// rate set's panel.
struct RateLine {
  RateLine(ui::Container* panel, const char* nameLabel, const char* nameEdit, const char* rateLabel,
           const char* rateEdit)
      : NameLabel(panel, nameLabel, "Name"), Name(panel, nameEdit), RateLabel(panel, rateLabel, "Rate %"),
        Rate(panel, rateEdit) {}
  ui::Label NameLabel;
  ui::Edit Name;
  ui::Label RateLabel;
  ui::Edit Rate;
};

class Tsystemscherm : public ui::Form {
 public:
  Tsystemscherm();

  // Set by the creation handler when the system-parameter file held no
  // record and the defaults were written.
  bool FirstRun = false;
  // The news page the BrowseURL2 action opens; the language routine may set
  // it as well.
  std::string BrowseURL2URL;

  ui::Action opslaan{this, "opslaan"};
  ui::Action Annuleren{this, "Annuleren"};
  ui::Action BrowseURL2{this, "BrowseURL2"};

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "&File"};
  ui::MenuItem Cancel1{&File1, "Cancel1"};
  ui::MenuItem Edit13{&MainMenu1, "Edit13", "&Run"};
  ui::MenuItem Save1{&Edit13, "Save1"};
  ui::MenuItem Help1{&MainMenu1, "Help1", "&Help"};
  ui::MenuItem BrenvickSystemsettingshelp1{&Help1, "BrenvickSystemsettingshelp1", "System settings help"};
  ui::MenuItem BrenvickHelp1{&Help1, "BrenvickHelp1", "Help"};
  ui::MenuItem utorial1{&Help1, "utorial1", "Tutorial"};
  ui::MenuItem Brenvickhomepage1{&Help1, "Brenvickhomepage1", "Home page"};
  ui::MenuItem About1{&Help1, "About1", "About..."};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};
  ui::ToolButton ToolButton5{&ToolBar1, "ToolButton5", "Help"};

  ui::Label Label16{this, "Label16", " System settings"};

  ui::Panel Body{this, "Body", ui::LayoutKind::Horizontal};

  // Left column: company data, data folder, last save.
  ui::Panel LeftColumn{&Body, "LeftColumn"};
  ui::Panel CompanyPanel{&LeftColumn, "CompanyPanel", ui::LayoutKind::Grid};
  ui::Label Label1{&CompanyPanel, "Label1", "Company name"};
  ui::Edit Edit1{&CompanyPanel, "Edit1"};
  ui::Label Label2{&CompanyPanel, "Label2", "Address"};
  ui::Edit Edit2{&CompanyPanel, "Edit2"};
  ui::Label Label15{&CompanyPanel, "Label15", "Address 2"};
  ui::Edit Edit14{&CompanyPanel, "Edit14"};
  ui::Label Label3{&CompanyPanel, "Label3", "Zip code"};
  ui::Edit Edit3{&CompanyPanel, "Edit3"};
  ui::Label Label4{&CompanyPanel, "Label4", "Town"};
  ui::Edit Edit4{&CompanyPanel, "Edit4"};
  ui::Label Label5{&CompanyPanel, "Label5", "Country"};
  ui::Edit Edit5{&CompanyPanel, "Edit5"};
  ui::Label Label6{&CompanyPanel, "Label6", "Telephone"};
  ui::Edit Edit6{&CompanyPanel, "Edit6"};
  ui::Label Label7{&CompanyPanel, "Label7", "Fax"};
  ui::Edit Edit7{&CompanyPanel, "Edit7"};
  ui::Label Label8{&CompanyPanel, "Label8", "Email"};
  ui::Edit Edit8{&CompanyPanel, "Edit8"};
  ui::Label Label10{&CompanyPanel, "Label10", "Website"};
  ui::Edit Edit17{&CompanyPanel, "Edit17"};

  ui::Panel FolderPanel{&LeftColumn, "FolderPanel", ui::LayoutKind::Grid};
  ui::Label Label9{&FolderPanel, "Label9", "Data folder"};
  ui::Edit Edit9{&FolderPanel, "Edit9"};
  ui::Button BrowseFolderButton{&FolderPanel, "BrowseFolderButton", "..."};

  ui::Panel SavedPanel{&LeftColumn, "SavedPanel", ui::LayoutKind::Grid};
  ui::Label Label11{&SavedPanel, "Label11", "Saved by"};
  ui::Edit Edit15{&SavedPanel, "Edit15"};
  ui::Label Label14{&SavedPanel, "Label14", "Saved at"};
  ui::Edit Edit16{&SavedPanel, "Edit16"};

  // Right column: language and amounts, user options, sales-tax rates.
  ui::Panel RightColumn{&Body, "RightColumn"};
  ui::Panel OptionsPanel{&RightColumn, "OptionsPanel", ui::LayoutKind::Grid};
  ui::Label Label12{&OptionsPanel, "Label12", "Language"};
  ui::ComboBox ComboBox1{&OptionsPanel, "ComboBox1", ui::ComboStyle::DropDownList};
  ui::Label Label13{&OptionsPanel, "Label13", "Decimals (amounts)"};
  ui::ComboBox ComboBox2{&OptionsPanel, "ComboBox2", ui::ComboStyle::DropDownList};
  ui::Label Label31{&OptionsPanel, "Label31", "Currency"};
  ui::ComboBox ComboBox3{&OptionsPanel, "ComboBox3"};
  ui::Panel SignPanel{&OptionsPanel, "SignPanel"};
  ui::RadioButton RadioButton1{&SignPanel, "RadioButton1"};
  ui::RadioButton RadioButton2{&SignPanel, "RadioButton2"};

  ui::Panel UserOptionsPanel{&RightColumn, "UserOptionsPanel"};
  ui::CheckBox CheckBox1{&UserOptionsPanel, "CheckBox1", "User identification"};
  ui::CheckBox CheckBox2{&UserOptionsPanel, "CheckBox2", "User, password protection"};
  ui::CheckBox CheckBox3{&UserOptionsPanel, "CheckBox3", "Authorisation levels"};
  ui::CheckBox CheckBox7{&UserOptionsPanel, "CheckBox7", "Show tips at startup"};
  ui::CheckBox CheckBox6{&UserOptionsPanel, "CheckBox6", "Check for updates once a month"};

  ui::Panel TaxPanel{&RightColumn, "TaxPanel"};
  ui::Label Label18{&TaxPanel, "Label18", "Sales tax rate depends on features of :"};
  ui::CheckBox CheckBox4{&TaxPanel, "CheckBox4", "Products or Service"};
  ui::Panel RateSet1Panel{&TaxPanel, "RateSet1Panel", ui::LayoutKind::Grid};
  ui::CheckBox CheckBox5{&TaxPanel, "CheckBox5", "Customer or vendor"};
  ui::Panel RateSet2Panel{&TaxPanel, "RateSet2Panel", ui::LayoutKind::Grid};
  // The six sales-tax lines in record order: lines 0 to 2 set 1, 3 to 5
  // set 2.
  static constexpr int kRateLines = records::SystemParamRec::kTaxRateCount;
  std::array<RateLine, kRateLines> RateLines{{
      {&RateSet1Panel, "Label19", "Edit18", "Label21", "Edit19"},
      {&RateSet1Panel, "Label20", "Edit20", "Label23", "Edit21"},
      {&RateSet1Panel, "Label22", "Edit22", "Label25", "Edit23"},
      {&RateSet2Panel, "Label24", "Edit24", "Label26", "Edit25"},
      {&RateSet2Panel, "Label27", "Edit26", "Label28", "Edit27"},
      {&RateSet2Panel, "Label29", "Edit28", "Label30", "Edit29"},
  }};

  ui::Panel ButtonPanel{this, "ButtonPanel", ui::LayoutKind::Horizontal};
  ui::Button Button2{&ButtonPanel, "Button2"};
  ui::Button Button3{&ButtonPanel, "Button3"};

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  // Handlers.
  void FormCreate();
  void FormActivate();
  void FormKeyPress(char& key);
  void FormKeyDown(uint16_t& key, unsigned shift);
  void opslaanExecute();
  void AnnulerenExecute();
  void CheckBox1Click();
  void CheckBox2Click();
  void CheckBox4Click();
  void CheckBox5Click();
  // The rate filter of the rate edit of line `line`.
  void RateChange(int line);
  void ComboBox1Change();
  void ComboBox1Exit();
  // Draws the sample amounts; shared by both radio buttons, the decimals box
  // and the currency box.
  void RadioButton1Click();
  // The data-folder picker (the browse button beside the folder edit).
  void Edit9Enter();
  void BrowseURL2Execute();

  // Every caption of the form from the current language record.
  void ApplyLanguageTexts();

  // The checked input of the form, or nullopt after the status bar has said
  // what is wrong (the offending field painted yellow).
  struct Input {
    std::int16_t decimals = 2;
    char currencySign = '\x80';
    std::string dataFolder;  // as it will be stored, ending in "/"
    double rates[records::SystemParamRec::kTaxRateCount] = {};
  };
  std::optional<Input> CheckInput();

  // The name and the rate edit of line i.
  ui::Edit* NameEdit(int i) { return &RateLines.at(static_cast<std::size_t>(i)).Name; }
  ui::Edit* RateEdit(int i) { return &RateLines.at(static_cast<std::size_t>(i)).Rate; }

  // What the file held when the form last read or wrote it.
  const store::FileSnapshot& Snapshot() const { return snapshot_; }

 private:
  // Fills the form from SystemParams; the language box gets `language`, the
  // data-folder edit `dataFolder`.
  void FillFromParams(const std::string& language, const std::string& dataFolder);
  void SetFirstRunDefaults();
  void SetRateEdit(ui::Edit& e, const std::string& text);
  void SelectLanguage(const std::string& language);
  void ShowRateSet(int set, bool visible);
  // Within a set holding SYS: the snapshot of the file; a file larger than a
  // settings file can be is refused by name.
  void TakeSnapshot();
  // Reads record 0 again into SystemParams (the session's current user
  // kept) and fills the form from it.
  void Reload();

  store::FileSnapshot snapshot_;
};

// The form into SystemParams and record 0 of the system-parameter file, the
// chosen language loaded, DataRootFolder and the data root set. The file set
// holding SYS (and LAN) must be open. Checks the input first: returns false,
// with nothing changed, when a field is invalid.
bool SaveSystemSettings(Tsystemscherm& form);

// Creates the data folder and every folder above it that is missing; false
// (after a message box that names the folder) when that fails.
bool CreateDataFolderPath(const std::string& folder);

extern Tsystemscherm* systemscherm;

}  // namespace systemforms
