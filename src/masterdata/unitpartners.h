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
// The form keeps the menus, the tool bar, the search criteria, the tab
// control, the bottom row, the status bar and the glue between the tabs;
// each tab's panel is a page that holds its components (under their own
// names, which the front end finds them by), its state and its handlers:
// `details` (tabs 0 and 1, partnerdetailspage.h), `finance`
// (partnerfinancepage.h), `chart` (partnerchartpage.h) and `list`
// (partnerlistpage.h). The handlers keep their names on the form, which
// binds every event and forwards to the page where the work lives. No page
// touches another page: what one needs of another (the name on the finance
// tab, the kind and partner the figures are for, the chart's titles) goes
// through the form's named glue.
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
#include "masterdata/partnerdetailspage.h"
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
// The help captions, set by the language routine. The administration
// settings and the system parameters are read from the session
// (store::AdminSettings, store::SystemParams).
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

  // ---- tabs 0 and 1: details 1 and 2
  PartnerDetailsPage details{&TabControl1};

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
  std::array<ui::Edit*, 7> AccountEdits() { return details.AccountEdits(); }
  // The picker's items (item 0 empty), as the activation built them.
  const std::vector<std::string>& PickerList() const { return details.PickerList(); }
  // The partner the form shows as loaded or saved; nullopt for a new one.
  const std::optional<books::partners::FoundPartner>& Loaded() const { return loaded_; }
  // The partner the last Save of this showing wrote; nullopt when none (a
  // caller that showed the form for a new partner takes it from here).
  const std::optional<books::partners::FoundPartner>& SavedPartner() const { return saved_; }
  // The page the list shows.
  const books::partners::PartnerRows& ListedPage() const { return list.Page(); }
  // The figures the finance tabs show.
  const books::partners::PartnerFinance& Finance() const { return finance.Figures(); }
  // The style buttons by style and the slot toggles by slot.
  std::array<ui::ToolButton*, 3> StyleButtons() { return chart.StyleButtons(); }
  std::array<ui::ToolButton*, 6> SlotToggles() { return chart.SlotToggles(); }

  // The account edit the picker serves (an index into AccountEdits), -1
  // while it is hidden.
  int PickerTarget() const { return details.PickerTarget(); }

 private:
  // The constructor's phases.
  void BindActions();
  void LayOutFrame();
  void BindEvents();
  // The form's texts, one function per part.
  void ApplyFormTexts();
  void ApplyFrameTexts();
  // The search kind's item index (the last valid one).
  int SearchKind() const;
  void ShowPage(const books::partners::PartnerPage& page);
  void RunSearch(int page);
  void ClearCriteria();
  void ClearList();
  void ClearDetails(bool keepCallerFields);
  void SetKindLocked(bool locked);
  void FinanceRefresh();
  void ClearFinance();
  void SetChartTitles();
  void ShowStatus(const std::string& text, ui::Color color);
  // What a Save's outcome shows.
  void ShowSaveResult(const books::partners::PartnerResult& r);

  std::vector<books::partners::PickerAccount> accounts_;
  std::optional<books::partners::FoundPartner> loaded_;
  std::optional<books::partners::FoundPartner> saved_;
  books::partners::PartnerCriteria savedCriteria_;
  int savedKind_ = 0;
  int lastSearchKind_ = 0;
};

extern Tpartners2* partners2;

}  // namespace masterdata
