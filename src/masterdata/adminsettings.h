// The administration settings form: the company data on the first tab; the
// book year, its periods, the currency, the fiscal year, the profit account
// and the journals on the second; always visible, the four read-only
// closing fields and the Unfreeze button.
//
// The form shows the values of store/adminsettingsload.h (the loader and
// the saver live there) and runs their book-year logic from its handlers:
// a new book-year start re-derives the end, period 1, the current annual
// balance and the periods; a new number of periods or end proposes the
// periods again. Only while the current period is at most "01" may the
// number of periods, the end and periods 2 to 15 change; the start only
// while no annual balance is approved.
//
// Save writes the whole record in the set "ADS", refusing when another copy
// saved the settings since the form loaded them, and when the fiscal year
// is not four digits (an empty one stores "2007"). Cancel and Escape reload
// the stored record and close. The unfreeze (src/books/closing/periodclosing.h) asks
// first, writes its own fields through the closing service and leaves the
// other, unsaved edits on the form.
//
// Its activation ends the file set the start screen opened for it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formkit/helpunit.h"
#include "ui/form.h"

namespace masterdata {

// Whether the number of periods, the end and periods 2 to 15 may change:
// the current period's first two characters are at most "01" (text order;
// an empty field too).
bool PeriodControlsEnabled(const std::string& currentPeriod);
// Whether the picker of period k (1 to 15) shows for a number of periods.
bool PeriodPickerVisible(const std::string& periodCountText, int k);

// The profit-account choice split into number and caption: "4000{Sales}"
// gives ("4000", "Sales"); a text without "{" that equals an item's number
// is that number (and its caption); any other text gives empty parts and
// `unknown`.
struct ProfitAccountChoice {
  std::string number, caption;
  bool unknown = false;
  bool operator==(const ProfitAccountChoice&) const = default;
};
ProfitAccountChoice SplitProfitAccount(const std::string& text, const std::vector<std::string>& items);

// The fiscal year at Save: empty stores "2007"; anything but four digits
// is refused; a year below 1990 is saved after the warning.
struct FiscalYearCheck {
  bool refused = false;
  bool belowMinimum = false;
  std::string stored;
};
FiscalYearCheck CheckFiscalYear(const std::string& text);

// "Fiscal year is not > 1989, please change".
extern const char* const MsgFiscalYearTooLow;
std::string MsgUnknownProfitAccount();

// Set by the year-end flow: the next showing opens on tab 2 and keeps the
// status text it was given.
extern bool SettingsYearTabFlag;
// Set by the unfreeze: the next save leaves the form open.
extern bool KeepSettingsFormOpen;
extern formkit::HelpCaptionBlockRec AdministrationsettingHelpCaptions;
void ResetAdministrationsettingState();

struct PeriodPicker {
  PeriodPicker(ui::Container* parent, const char* label, const char* picker, const char* caption)
      : Caption{parent, label, caption}, Picker{parent, picker} {}
  ui::Label Caption;
  ui::DatePicker Picker;
};

class Tadministrationsetting : public ui::Form {
 public:
  Tadministrationsetting();

  ui::Action opslaan{this, "opslaan"};
  ui::Action Annuleren{this, "Annuleren"};
  ui::Action Unfreeze{this, "Unfreeze"};

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "&File"};
  ui::MenuItem Save1{&File1, "Save1"};
  ui::MenuItem Cancel1{&File1, "Cancel1"};
  ui::MenuItem Run1{&MainMenu1, "Run1", "&Run"};
  ui::MenuItem Unfreeze1{&Run1, "Unfreeze1"};
  ui::MenuItem Nexttab1{&Run1, "Nexttab1", "next tab"};
  ui::MenuItem Prevtab1{&Run1, "Prevtab1", "prev tab"};
  ui::MenuItem Help1{&MainMenu1, "Help1", "&Help"};
  ui::MenuItem BrenvickAdministrationsettingshelp1{&Help1, "BrenvickAdministrationsettingshelp1",
                                                   "Administration settings help"};
  ui::MenuItem Brenvickhelp1{&Help1, "Brenvickhelp1", "Help"};
  ui::MenuItem utorial1{&Help1, "utorial1", "Tutorial"};
  ui::MenuItem Brenvickhomepage1{&Help1, "Brenvickhomepage1", "Home page"};
  ui::MenuItem About1{&Help1, "About1", "About..."};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};       // Save
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3"};       // Cancel
  ui::ToolButton ToolButton5{&ToolBar1, "ToolButton5"};       // Unfreeze
  ui::ToolButton ToolButton9{&ToolBar1, "ToolButton9", "<"};  // prev tab
  ui::ToolButton ToolButton7{&ToolBar1, "ToolButton7", ">"};  // next tab
  ui::ToolButton ToolButton8{&ToolBar1, "ToolButton8", "?"};  // help

  ui::Label Label16{this, "Label16", " Administration settings"};
  ui::TabControl TabControl1{this, "TabControl1"};

  // Tab 1: the company.
  ui::Panel Panel2{&TabControl1, "Panel2", ui::LayoutKind::Grid};
  ui::Label Label1{&Panel2, "Label1", "Company"};
  ui::Edit Edit1{&Panel2, "Edit1"};
  ui::Label Label2{&Panel2, "Label2", "Adress"};
  ui::Edit Edit2{&Panel2, "Edit2"};
  ui::Label Label3{&Panel2, "Label3", "Zip code"};
  ui::Edit Edit3{&Panel2, "Edit3"};
  ui::Label Label4{&Panel2, "Label4", "Town"};
  ui::Edit Edit4{&Panel2, "Edit4"};
  ui::Label Label15{&Panel2, "Label15", "State"};
  ui::Edit Edit14{&Panel2, "Edit14"};
  ui::Label Label5{&Panel2, "Label5", "Country"};
  ui::Edit Edit5{&Panel2, "Edit5"};
  ui::Label Label6{&Panel2, "Label6", "Telephone"};
  ui::Edit Edit6{&Panel2, "Edit6"};
  ui::Label Label7{&Panel2, "Label7", "Fax"};
  ui::Edit Edit7{&Panel2, "Edit7"};
  ui::Label Label8{&Panel2, "Label8", "Email"};
  ui::Edit Edit8{&Panel2, "Edit8"};
  ui::Label Label9{&Panel2, "Label9", "Website"};
  ui::Edit Edit9{&Panel2, "Edit9"};
  ui::Label Label14{&Panel2, "Label14", "Extra item 2"};
  ui::Edit Edit10{&Panel2, "Edit10"};
  ui::Label Label11{&Panel2, "Label11", "Extra item 1"};
  ui::Edit Edit11{&Panel2, "Edit11"};
  ui::Label Label10{&Panel2, "Label10", "Company Registration "};
  ui::Edit Edit12{&Panel2, "Edit12"};
  ui::Label Label24{&Panel2, "Label24", "Tax registration nbr/id"};
  ui::Edit Edit22{&Panel2, "Edit22"};
  ui::Label Label55{&Panel2, "Label55", "Changed by"};
  ui::Edit Edit16{&Panel2, "Edit16"};
  ui::Label Label56{&Panel2, "Label56", "Changed at"};
  ui::Edit Edit15{&Panel2, "Edit15"};

  // Tab 2: the book year, periods, currency, fiscal year, profit account,
  // journals.
  ui::Panel Panel3{&TabControl1, "Panel3", ui::LayoutKind::Vertical};
  ui::Panel Panel4{&Panel3, "Panel4", ui::LayoutKind::Grid};
  ui::Label Label12{&Panel4, "Label12", "Startdate bookyear"};
  ui::DatePicker DateTimePicker1{&Panel4, "DateTimePicker1"};
  ui::Label Label13{&Panel4, "Label13", "Enddate bookyear"};
  ui::DatePicker DateTimePicker2{&Panel4, "DateTimePicker2"};
  ui::Label Label17{&Panel4, "Label17", "Number of periods"};
  ui::ComboBox ComboBox1{&Panel4, "ComboBox1"};
  ui::Label Label22{&Panel4, "Label22", "Currencycode"};
  ui::Edit Edit21{&Panel4, "Edit21"};
  ui::Label Label25{&Panel4, "Label25", "Fiscal year"};
  ui::Edit Edit23{&Panel4, "Edit23"};
  ui::Label Label23{&Panel4, "Label23", "Add last year profit to the GL account:"};
  ui::ComboBox ComboBox2{&Panel4, "ComboBox2"};
  ui::CheckBox CheckBox1{&Panel4, "CheckBox1", "Do not use sales tax accounts"};
  // Period 1 to 15 (DateTimePicker3 to DateTimePicker17).
  ui::Panel Panel5{&Panel3, "Panel5", ui::LayoutKind::Grid};
  std::array<PeriodPicker, 15> PeriodPickers{{
      {&Panel5, "Label40", "DateTimePicker3", "Period 1"},    {&Panel5, "Label41", "DateTimePicker4", "Period 2"},
      {&Panel5, "Label42", "DateTimePicker5", "Period 3"},    {&Panel5, "Label43", "DateTimePicker6", "Period 4"},
      {&Panel5, "Label44", "DateTimePicker7", "Period 5"},    {&Panel5, "Label45", "DateTimePicker8", "Period 6"},
      {&Panel5, "Label46", "DateTimePicker9", "Period 7"},    {&Panel5, "Label47", "DateTimePicker10", "Period 8"},
      {&Panel5, "Label48", "DateTimePicker11", "Period 9"},   {&Panel5, "Label49", "DateTimePicker12", "Period 10"},
      {&Panel5, "Label50", "DateTimePicker13", "Period 11"},  {&Panel5, "Label51", "DateTimePicker14", "Period 12"},
      {&Panel5, "Label52", "DateTimePicker15", "Period 13"},  {&Panel5, "Label53", "DateTimePicker16", "Period 14"},
      {&Panel5, "Label54", "DateTimePicker17", "Period 15"},
  }};
  // The journals.
  ui::CheckBox CheckBox13{&Panel3, "CheckBox13", "Split up JV's into different journals"};
  ui::GroupBox GroupBox1{&Panel3, "GroupBox1", "Journal vouchers settings at company level", ui::LayoutKind::Grid};
  // The headings over the columns of boxes: customer invoices, supplier
  // invoices, other entries (the captions of CheckBox2, CheckBox4,
  // CheckBox6). Each journal's row has its boxes in those columns.
  ui::Label Label33{&GroupBox1, "Label33", ""};
  ui::Label Label34{&GroupBox1, "Label34", ""};
  ui::Label Label35{&GroupBox1, "Label35", ""};
  ui::Label Label26{&GroupBox1, "Label26", "Sales book name"};
  ui::Edit Edit24{&GroupBox1, "Edit24"};
  ui::CheckBox CheckBox2{&GroupBox1, "CheckBox2", "Customers"};
  ui::CheckBox CheckBox3{&GroupBox1, "CheckBox3", "Suppliers"};
  ui::Label Label27{&GroupBox1, "Label27", "Purchase book name"};
  ui::Edit Edit25{&GroupBox1, "Edit25"};
  ui::CheckBox CheckBox5{&GroupBox1, "CheckBox5", "Customers"};
  ui::CheckBox CheckBox4{&GroupBox1, "CheckBox4", "Suppliers"};
  ui::Label Label28{&GroupBox1, "Label28", "Daybook name"};
  ui::Edit Edit26{&GroupBox1, "Edit26"};
  ui::CheckBox CheckBox6{&GroupBox1, "CheckBox6", "General"};
  ui::Label Label29{&GroupBox1, "Label29", "Optional journal name"};
  ui::Edit Edit27{&GroupBox1, "Edit27"};
  ui::CheckBox CheckBox7{&GroupBox1, "CheckBox7", "Customers"};
  ui::CheckBox CheckBox8{&GroupBox1, "CheckBox8", "Suppliers"};
  ui::Label Label30{&GroupBox1, "Label30", "Optional journal name"};
  ui::Edit Edit28{&GroupBox1, "Edit28"};
  ui::CheckBox CheckBox9{&GroupBox1, "CheckBox9", "Customers"};
  ui::CheckBox CheckBox10{&GroupBox1, "CheckBox10", "Suppliers"};
  ui::Label Label31{&GroupBox1, "Label31", "Optional journal name"};
  ui::Edit Edit29{&GroupBox1, "Edit29"};
  ui::CheckBox CheckBox11{&GroupBox1, "CheckBox11", "Customers"};
  ui::CheckBox CheckBox12{&GroupBox1, "CheckBox12", "Suppliers"};
  ui::Label Label32{&GroupBox1, "Label32", "Cashbook, Bankbook see GL accounts!"};

  // Always visible: the closing state.
  ui::Panel Panel1{this, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label18{&Panel1, "Label18", "Approved annual balance"};
  ui::Edit Edit17{&Panel1, "Edit17"};
  ui::Label Label19{&Panel1, "Label19", "Current annual balance"};
  ui::Edit Edit18{&Panel1, "Edit18"};
  ui::Label Label20{&Panel1, "Label20", "Last closed period "};
  ui::Edit Edit19{&Panel1, "Edit19"};
  ui::Label Label21{&Panel1, "Label21", "Current period "};
  ui::Edit Edit20{&Panel1, "Edit20"};
  ui::Button Button4{&Panel1, "Button4"};

  ui::Panel Panel7{this, "Panel7", ui::LayoutKind::Horizontal};
  ui::Button Button7{&Panel7, "Button7", "< prev tab"};
  ui::Button Button6{&Panel7, "Button6", "next tab >"};
  ui::Button Button1{&Panel7, "Button1"};
  ui::Button Button5{&Panel7, "Button5"};
  ui::StatusBar StatusBar1{this, "StatusBar1"};

  // The journal block: shown exactly while CheckBox13 is checked.
  std::vector<ui::Component*> JournalBlock() ;

  void ApplyLanguageTexts();
  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void opslaanExecute();
  void AnnulerenExecute();
  void Button4Click();
  void TabControl1Change();
  void Button6Click();
  void Button7Click();
  void CheckBox13Click();
  void DateTimePicker1Change();
  void ComboBox1Change();
  void Edit23Change();
  void Edit23Exit();
  void ComboBox1Exit();
  void ComboBox2Exit();
  void UpdatePeriodControls();

  // The form's values onto its controls, and back.
  void ShowValues();
  void TakeValues();

 private:
  void ShowTab(int tab);
  void SetStatus(const std::string& text, ui::Color color);
  std::vector<std::string> profitItems_;
  bool showing_ = false;
};

extern Tadministrationsetting* administrationsetting;

// Shows and enables the period controls of the settings form for the
// values loaded (the log-in calls it after loading the settings).
void UpdatePeriodControls();

}  // namespace masterdata
