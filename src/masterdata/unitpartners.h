// The partners form: customers (CUS, "customer.vlk") and suppliers (SUP,
// "supplier.vlk") over five tabs (two of details, finance, graphics and the
// partner list), with the search criteria above the tabs.
//
// The form only moves values: the search, the lookup by number, the
// numbering and the saves are the partner store's (partnerstore.h), the
// picker, default-account, figure and tab decisions partnerrules.h's. The
// journal and report forms call the store themselves, so a search never
// depends on what this form shows or on criteria left in its edits.
//
// Rules the form keeps:
// - The kind is the kind lists' item index, never their text. The kind of
//   a shown partner cannot be changed; the search kind, left with a text
//   that is no item, goes back to the last kind it held.
// - Save checks everything it can before any file opens: the kind, the
//   two required accounts (yellow, red status), the figure fields and a
//   typed start value (a red status naming the field). The number edit is
//   enabled only while the first partner of an empty file awaits its start
//   value. A shown partner is rewritten only when its file still holds it
//   as loaded; otherwise nothing is written and the status says why.
// - Program writes into the amount and rate edits are never filtered; the
//   user's typing is (the credit limit by the amount filter, the rates
//   without a limit of decimals, the day fields to digits).
// - An account edit shows the picker item of exactly its stored number; a
//   number no account has is shown as it stands (yellow) and kept.
// - The activation reads GL accounts from the file set the caller opened
//   ("GLA") and ends that set.
// - The finance and graphics tabs show the figures of the partner shown
//   (partnerfinance.h): computed when the refresh button is pressed or when
//   either tab is shown for another partner (by kind and number, never by
//   name and address). A file set that cannot be opened is reported and the
//   form stays open, keeping what was typed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formkit/helpunit.h"
#include "books/partners/newpartner.h"
#include "books/partners/partnerfinance.h"
#include "books/partners/partnerrules.h"
#include "books/partners/partnerstore.h"
#include "masterdata/partnerchartpage.h"
#include "masterdata/partnerfinancepage.h"
#include "masterdata/partnerlistpage.h"
#include "records/adminsettingsrec.h"
#include "records/partnerrec.h"
#include "records/systemparamrec.h"
#include "ui/form.h"

namespace masterdata {

// The partner last shown by Select or last saved, with where it lies.
extern records::PartnerRec CurrentPartner;
// "paytab" while the journal form's payment tab asks for a new partner:
// New keeps the name, bank account and account holder it filled in.
extern std::string PartnerCallerMode;
// Entries 1..15: the language routine's copy of the account-function codes
// (entry 15 empty); only non-empty codes name default accounts.
extern std::array<std::string, 16> PartnerFunctionCodes;
// Entries 1..15: the picker item of the default account of each function,
// filled at activation.
extern std::array<std::string, 16> PartnerDefaultAccounts;
// The unit's copies, set by the language routine.
extern records::SystemParamRec PartnerSystemParams;
extern records::AdminSettingsRec PartnerAdminSettings;
extern formkit::HelpCaptionBlockRec PartnerHelpCaptions;
// Texts of the finance tab (language offsets 6106, 5980).
extern std::string PartnerPeriodText;
extern std::string PartnerOwingHeading;
// Messages (language offsets 9770, 9831, 9892).
extern std::string PartnerRequiredText;
extern std::string PartnerFileEmptyText;
extern std::string PartnerNotFoundText;

// Puts the unit's globals back as the program starts with them.
void ResetPartnersState();

class Tpartners2 : public ui::Form {
 public:
  Tpartners2();
  ~Tpartners2() override;

  // The list's columns.
  using Column = PartnerListPage::Column;
  using enum PartnerListPage::Column;

  ui::Action Savepartner{this, "Savepartner"};
  ui::Action Selecteerrow{this, "Selecteerrow"};

  // ---- menus and tool bar
  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1"};
  ui::MenuItem New1{&File1, "New1"};
  ui::MenuItem Save1{&File1, "Save1"};
  ui::MenuItem Exit1{&File1, "Exit1"};
  ui::MenuItem View1{&MainMenu1, "View1"};
  ui::MenuItem ViewDetails11{&View1, "ViewDetails11"};
  ui::MenuItem ViewDetails21{&View1, "ViewDetails21"};
  ui::MenuItem ViewFinance1{&View1, "ViewFinance1"};
  ui::MenuItem ViewGraphics1{&View1, "ViewGraphics1"};
  ui::MenuItem ViewPartnerList1{&View1, "ViewPartnerList1"};
  ui::MenuItem N1{&View1, "N1", "-"};
  ui::MenuItem NextTab1{&View1, "NextTab1"};
  ui::MenuItem PreviousTab1{&View1, "PreviousTab1"};
  ui::MenuItem Help1{&MainMenu1, "Help1"};
  ui::MenuItem PartnerHelp1{&Help1, "PartnerHelp1"};
  ui::MenuItem GeneralHelp1{&Help1, "GeneralHelp1"};
  ui::MenuItem Tutorial1{&Help1, "Tutorial1", "Tutorial"};
  ui::MenuItem Homepage1{&Help1, "Homepage1"};
  ui::MenuItem About1{&Help1, "About1"};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};  // New, criteria cleared
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2"};  // Save
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3", "Help"};

  ui::Label Label6{this, "Label6"};  // title

  // ---- search criteria
  ui::GroupBox GroupBox1{this, "GroupBox1", {}, ui::LayoutKind::Grid};
  ui::Label Label29{&GroupBox1, "Label29"};
  ui::ComboBox ComboBox2{&GroupBox1, "ComboBox2", ui::ComboStyle::DropDown};  // kind searched
  ui::Label Label30{&GroupBox1, "Label30"};
  ui::Edit Edit28{&GroupBox1, "Edit28"};  // our number
  ui::Label Label31{&GroupBox1, "Label31"};
  ui::Edit Edit29{&GroupBox1, "Edit29"};  // their number
  ui::Label Label32{&GroupBox1, "Label32"};
  ui::Edit Edit30{&GroupBox1, "Edit30"};  // text in name or bank account
  ui::Label Label33{&GroupBox1, "Label33"};
  ui::Edit Edit42{&GroupBox1, "Edit42"};  // bank account
  ui::Panel Panel7{&GroupBox1, "Panel7", ui::LayoutKind::Horizontal};
  ui::Button Button1{&Panel7, "Button1"};  // Search
  ui::Button Button2{&Panel7, "Button2"};  // clear the criteria
  ui::Button Button4{&Panel7, "Button4"};  // New

  ui::TabControl TabControl1{this, "TabControl1"};

  // ---- tab 0: details 1
  ui::Panel Panel1{&TabControl1, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label26{&Panel1, "Label26"};
  ui::Edit Edit26{&Panel1, "Edit26"};  // our number
  ui::Label Label1{&Panel1, "Label1"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1", ui::ComboStyle::DropDown};  // kind
  ui::Label Label2{&Panel1, "Label2"};
  ui::Edit Edit1{&Panel1, "Edit1"};  // name
  ui::Label Label27{&Panel1, "Label27"};
  ui::Edit Edit27{&Panel1, "Edit27"};  // their number
  ui::Label Label3{&Panel1, "Label3"};
  ui::Edit Edit2{&Panel1, "Edit2"};  // address
  ui::Label Label55{&Panel1, "Label55"};
  ui::Edit Edit55{&Panel1, "Edit55"};  // second address line
  ui::Label Label4{&Panel1, "Label4"};
  ui::Edit Edit3{&Panel1, "Edit3"};  // zip code
  ui::Label Label5{&Panel1, "Label5"};
  ui::Edit Edit4{&Panel1, "Edit4"};  // town
  ui::Label Label8{&Panel1, "Label8"};
  ui::Edit Edit8{&Panel1, "Edit8"};  // region
  ui::Label Label9{&Panel1, "Label9"};
  ui::Edit Edit9{&Panel1, "Edit9"};  // country
  ui::Label Label10{&Panel1, "Label10"};
  ui::Edit Edit10{&Panel1, "Edit10"};  // telephone
  ui::Label Label11{&Panel1, "Label11"};
  ui::Edit Edit11{&Panel1, "Edit11"};  // fax
  ui::Label Label12{&Panel1, "Label12"};
  ui::Edit Edit12{&Panel1, "Edit12"};  // e-mail
  ui::Label Label13{&Panel1, "Label13"};
  ui::Edit Edit13{&Panel1, "Edit13"};  // website
  ui::CheckBox CheckBox1{&Panel1, "CheckBox1"};  // correspondence address
  ui::Label Label56{&Panel1, "Label56"};
  ui::Label Label15{&Panel1, "Label15"};
  ui::Edit Edit5{&Panel1, "Edit5"};  // correspondence address
  ui::Label Label16{&Panel1, "Label16"};
  ui::Edit Edit6{&Panel1, "Edit6"};  // correspondence zip code
  ui::Label Label17{&Panel1, "Label17"};
  ui::Edit Edit7{&Panel1, "Edit7"};  // correspondence town
  ui::Label Label18{&Panel1, "Label18"};
  ui::Edit Edit56{&Panel1, "Edit56"};  // correspondence state
  ui::Label Label19{&Panel1, "Label19"};
  ui::Edit Edit57{&Panel1, "Edit57"};  // correspondence country
  ui::CheckBox CheckBox4{&Panel1, "CheckBox4"};  // relationship suspended
  ui::DatePicker DateTimePicker1{&Panel1, "DateTimePicker1"};
  ui::Label Label53{&Panel1, "Label53"};
  ui::Edit Edit53{&Panel1, "Edit53"};  // changed by
  ui::Label Label54{&Panel1, "Label54"};
  ui::Edit Edit54{&Panel1, "Edit54"};  // changed at

  // ---- tab 1: details 2
  ui::Panel Panel2{&TabControl1, "Panel2", ui::LayoutKind::Horizontal};
  ui::Panel Panel8{&Panel2, "Panel8", ui::LayoutKind::Grid};
  ui::Label Label43{&Panel8, "Label43"};
  ui::Edit Edit43{&Panel8, "Edit43"};  // contact 1 name
  ui::Label Label46{&Panel8, "Label46"};
  ui::Edit Edit46{&Panel8, "Edit46"};  // contact 1 phone
  ui::Label Label47{&Panel8, "Label47"};
  ui::Edit Edit47{&Panel8, "Edit47"};  // contact 1 comment
  ui::Label Label44{&Panel8, "Label44"};
  ui::Edit Edit44{&Panel8, "Edit44"};  // contact 2 name
  ui::Label Label45{&Panel8, "Label45"};
  ui::Edit Edit45{&Panel8, "Edit45"};  // contact 2 phone
  ui::Label Label48{&Panel8, "Label48"};
  ui::Edit Edit48{&Panel8, "Edit48"};  // contact 2 comment
  ui::Label Label20{&Panel8, "Label20"};
  ui::Edit Edit20{&Panel8, "Edit20"};  // bank account
  ui::Label Label41{&Panel8, "Label41"};
  ui::Edit Edit41{&Panel8, "Edit41"};  // account holder
  ui::Label Label21{&Panel8, "Label21"};
  ui::Edit Edit21{&Panel8, "Edit21"};  // sales-tax number
  ui::CheckBox CheckBox5{&Panel8, "CheckBox5"};  // the tax number was verified
  ui::DatePicker DateTimePicker2{&Panel8, "DateTimePicker2"};
  ui::Label Label23{&Panel8, "Label23"};
  ui::Edit Edit23{&Panel8, "Edit23"};  // BI feature 1
  ui::Label Label25{&Panel8, "Label25"};
  ui::Edit Edit25{&Panel8, "Edit25"};  // BI feature 2
  ui::Label Label22{&Panel8, "Label22"};
  ui::Edit Edit22{&Panel8, "Edit22"};  // free item 1
  ui::Label Label24{&Panel8, "Label24"};
  ui::Edit Edit24{&Panel8, "Edit24"};  // free item 2
  ui::Label Label14{&Panel8, "Label14"};
  ui::Memo Memo1{&Panel8, "Memo1"};

  ui::Panel Panel9{&Panel2, "Panel9", ui::LayoutKind::Vertical};
  ui::Panel Panel10{&Panel9, "Panel10", ui::LayoutKind::Grid};
  ui::Label Label65{&Panel10, "Label65"};
  ui::Edit Edit32{&Panel10, "Edit32"};  // credit limit
  ui::Label Label37{&Panel10, "Label37"};
  ui::Edit Edit37{&Panel10, "Edit37"};  // discount days
  ui::Label Label38{&Panel10, "Label38"};
  ui::Edit Edit38{&Panel10, "Edit38"};  // discount rate
  ui::Label Label39{&Panel10, "Label39"};
  ui::Edit Edit39{&Panel10, "Edit39"};  // payment term in days
  ui::Label Label40{&Panel10, "Label40"};
  ui::Edit Edit40{&Panel10, "Edit40"};  // penalty rate
  ui::GroupBox GroupBox2{&Panel9, "GroupBox2", {}, ui::LayoutKind::Grid};  // default GL accounts
  ui::Label Label34{&GroupBox2, "Label34"};
  ui::Edit Edit34{&GroupBox2, "Edit34"};  // group account
  ui::Label Label35{&GroupBox2, "Label35"};
  ui::Edit Edit35{&GroupBox2, "Edit35"};  // sales/cost account 1
  ui::Label Label36{&GroupBox2, "Label36"};
  ui::Edit Edit36{&GroupBox2, "Edit36"};  // sales/cost account 2
  ui::Label Label58{&GroupBox2, "Label58"};
  ui::Edit Edit58{&GroupBox2, "Edit58"};  // sales/cost account 3
  ui::Label Label66{&GroupBox2, "Label66"};
  ui::Edit Edit31{&GroupBox2, "Edit31"};  // sales tax 1
  ui::Label Label67{&GroupBox2, "Label67"};
  ui::Edit Edit33{&GroupBox2, "Edit33"};  // sales tax 2
  ui::Label Label49{&GroupBox2, "Label49"};
  ui::Edit Edit49{&GroupBox2, "Edit49"};  // cash discount
  // The GL-account picker, shown for the account edit entered.
  ui::Label Label50{&GroupBox2, "Label50"};
  ui::ComboBox ComboBox6{&GroupBox2, "ComboBox6", ui::ComboStyle::DropDown};
  ui::Button Button12{&GroupBox2, "Button12"};  // default accounts

  // ---- tab 2: finance
  PartnerFinancePage finance{&TabControl1};

  // ---- tab 3: graphics
  PartnerChartPage chart{&TabControl1};

  // ---- tab 4: partner list
  PartnerListPage list{&TabControl1};

  // ---- bottom
  ui::Panel Panel6{this, "Panel6", ui::LayoutKind::Horizontal};
  ui::Button Button7{&Panel6, "Button7"};  // previous tab
  ui::Button Button8{&Panel6, "Button8"};  // next tab
  ui::Button Button5{&Panel6, "Button5"};  // Save
  ui::Button Button6{&Panel6, "Button6"};  // Close

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  // ---- handlers
  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void SavepartnerExecute();
  void Button4Click();      // New
  void ToolButton1Click();  // New, the criteria cleared too
  void Button1Click();      // Search
  void SelecteerrowExecute();
  void BitBtn1Click();  // previous 100
  void BitBtn2Click();  // next 100
  void Button2Click();  // clear the criteria
  void Button9Click();  // empty the list
  void Button12Click();  // default accounts
  void TabControl1Change();
  void AccountEditEnter(int editIndex);
  void ComboBox6Exit();
  void ComboBox1Change();
  void ComboBox1Exit();
  void ComboBox2Exit();
  void CheckBox4Click();
  void CheckBox5Click();
  void Edit1Change();
  void CreditLimitChange();
  void RateChange(ui::Edit& edit);
  void DaysChange(ui::Edit& edit);
  void SearchKeyDown(uint16_t& key);
  void Button11Click();  // the finance figures and the chart
  void StyleClick(int style);  // ToolButton14Click, ToolButton5Click, ToolButton7Click
  void SlotToggleClick(int slot);  // ToolButton21Click and its five twins
  void CheckBox6Click();  // 3D
  void ToolButton13Click();  // copy the chart

  // Shows the form for a new partner (the entry of newpartner.h): opens
  // "GLA" for the activation, fixes the kind, fills the payment's fields
  // when a payment asks, and returns the partner saved (nullopt: none).
  std::optional<books::partners::FoundPartner> ShowForNewPartner(const books::partners::NewPartnerRequest& request);

  // The current language's texts into the form and the unit's messages.
  void ApplyLanguageTexts();
  // Shows tab `tab`: its panel, its view menu item checked.
  void ShowTab(int tab);
  // The partner in CurrentPartner into the fields.
  void ShowPartnerRecord();
  // The fields as a record (`figures` checked before).
  records::PartnerRec ReadPartnerForm(const books::partners::PartnerFigures& figures) const;

  // The seven account edits in the order of the default functions (group,
  // sales/cost 1..3, sales tax 1..2, cash discount).
  std::array<ui::Edit*, 7> AccountEdits();
  // The picker's items (item 0 empty), as the activation built them.
  const std::vector<std::string>& PickerList() const { return pickerItems_; }
  // The partner the form shows as loaded or saved; nullopt for a new one.
  const std::optional<books::partners::FoundPartner>& Loaded() const { return loaded_; }
  // The partner the last Save of this showing wrote; nullopt when none (a
  // caller that showed the form for a new partner takes it from here).
  const std::optional<books::partners::FoundPartner>& SavedPartner() const { return saved_; }
  // The page the list shows.
  const books::partners::PartnerPage& ListedPage() const { return list.Page(); }
  // The figures the finance tabs show.
  const books::partners::PartnerFinance& Finance() const { return finance.Figures(); }
  // The style buttons by style and the slot toggles by slot.
  std::array<ui::ToolButton*, 3> StyleButtons() { return chart.StyleButtons(); }
  std::array<ui::ToolButton*, 6> SlotToggles() { return chart.SlotToggles(); }

  // The account edit the picker serves (an index into AccountEdits), -1
  // while it is hidden.
  int PickerTarget() const { return pickerTarget_; }

 private:
  // The constructor's phases.
  void BindActions();
  void LayOutFrame();
  void LayOutDetails();
  void BindEvents();
  // The form's texts, one function per part.
  void ApplyFormTexts();
  void ApplyFrameTexts();
  void ApplyDetailsTexts();
  // Writes an edit as the program: no input filter runs.
  void WriteField(ui::Edit& edit, const std::string& text);
  // The search kind's item index (the last valid one).
  int SearchKind() const;
  void ShowPage(const books::partners::PartnerPage& page);
  void RunSearch(int page);
  void ClearCriteria();
  void ClearList();
  void ClearDetails(bool keepCallerFields);
  void SetKindLocked(bool locked);
  void ShowAccountEdit(ui::Edit& edit, const std::string& stored);
  void FinanceRefresh();
  void ClearFinance();
  void SetChartTitles();
  void ShowStatus(const std::string& text, ui::Color color);

  std::vector<books::partners::PickerAccount> accounts_;
  std::vector<std::string> pickerItems_;
  std::optional<books::partners::FoundPartner> loaded_;
  std::optional<books::partners::FoundPartner> saved_;
  books::partners::PartnerCriteria savedCriteria_;
  int savedKind_ = 0;
  int lastSearchKind_ = 0;
  int pickerTarget_ = -1;
  std::string pickerEntered_;
  bool programWrite_ = false;
};

extern Tpartners2* partners2;

}  // namespace masterdata
