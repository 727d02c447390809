// The journal form: one window whose tabs share the voucher entry screen,
// the voucher templates and (in later versions) the invoices, the payments
// and the bank-statement import.
//
// The voucher tab shows a header, eight entry lines Edit11..Edit86 (one
// repeated group, `EntryLine`, whose components keep their own names) and
// the debit and credit totals. Save, Delete, previous, next, last and the
// voucher selection go through the voucher store (journal/voucherstore.h):
// the form builds one `Voucher` value from its fields and shows the voucher
// the store hands back. The template tab saves and deletes templates through
// the template store (journal/templatestore.h); the template list on the
// voucher tab loads one.
//
// Rules the form keeps:
// - The mode (add or change), the link of a loaded voucher and its partner
//   are kept as state; captions only show them. So is the journal: the
//   journal list's items and the journal menu's items each stand for one
//   journal (JournalRef), found by place, never by caption; a menu caption
//   shows "&" doubled.
// - The journal of a new voucher is the chosen journal when journals are
//   split, and empty otherwise; a loaded voucher keeps its own. The "*" the
//   journal label shows for an empty journal is never saved.
// - Every decision (the Save test, the amount fields, the account pickers,
//   the lowest open date, the locks, the discard questions, the set-up's
//   lists) is a plain function of journal/entryrules.h; the form only moves
//   values between its components and those functions.
// - Typed lines are not discarded without a Yes: Escape, Close, New, a
//   template pick and a change of journal ask first when something was typed
//   since the form filled the screen. Delete always asks.
// - The activation rebuilds every list and table from the files the start
//   screen opened ("IFS;GLA;JVT") and ends that set; an empty profile file
//   gets its ten empty profiles there, any other profile file is only read.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "formkit/helpunit.h"
#include "journal/documentrules.h"
#include "journal/entryrules.h"
#include "journal/templatestore.h"
#include "journal/voucher.h"
#include "journal/voucherstore.h"
#include "records/adminsettingsrec.h"
#include "records/importprofilerec.h"
#include "records/systemparamrec.h"
#include "ui/form.h"

namespace journal {

// The unit's copies, set by the language routine: the administration
// settings, the system parameters (the sales-tax names and rates), the help
// captions, and whether the period label still waits for the first book
// period.
extern records::AdminSettingsRec JournalAdminSettings;
extern records::SystemParamRec JournalSystemParams;
extern shell::HelpCaptionBlockRec JournalHelpCaptions;
extern bool PeriodCaptionPending;

// The tables the activation builds from the files, for the form's tabs: the
// GL accounts with a sales-tax code and their rates (GL-file order), and
// the bank-import profiles as the profile file holds them (an empty file is
// first filled with the ten empty profiles).
extern std::vector<SalesTaxAccount> SalesTaxAccountTable;
extern std::vector<records::ImportProfileRec> ImportProfiles;

// Puts the unit's globals back as the program starts with them.
void ResetBoekingState();


// The help topic of the journalize help on a tab.
std::string JournalHelpTag(int tab);

// The journal list's choice for its text: the current item when its text
// is exactly that (a pick from the list, so that of two journals of one name
// the picked one is taken), else the item equal to it ignoring case (the
// last such), else item 1; -1 when the list has no item 1.
int JournalChoiceIndex(const std::vector<std::string>& items, const std::string& typed, int current = -1);

// A drop-down's choice for a typed text: the last item equal to it ignoring
// case, else `fallback`.
int ListChoiceIndex(const std::vector<std::string>& items, const std::string& typed, int fallback);

// What choosing a journal offers: the invoice kind it sets (0 customer, 1
// vendor; nullopt: left alone), the cash account it selects (0-based, in
// the order of the cash accounts), whether the template controls show and
// whether the two journal tool buttons do. The journal is known by its
// place, never by its name.
struct JournalOffer {
  std::optional<int> invoiceKind;
  std::optional<int> cashJournal;
  bool templates = true;
  bool journalButtons = true;
  bool operator==(const JournalOffer&) const = default;
};
JournalOffer OfferOfJournal(const records::AdminSettingsRec& settings, const JournalRef& journal, bool split);

// One entry line: text, account number, account caption, cost centre (a
// hidden column), debit and credit, named Edit<line><column>.
struct EntryLine {
  EntryLine(ui::Container* panel, int line);
  ui::Edit Text, Number, Caption, CostCentre, Debit, Credit;
  // Column 1..6.
  ui::Edit& Field(int column);
  const ui::Edit& Field(int column) const;
};

class Tboeking : public ui::Form {
 public:
  Tboeking();

  // ---- actions
  ui::Action Opslaan{this, "Opslaan"};                 // Save (Button5, Save1)
  ui::Action Verwijderen{this, "Verwijderen"};         // Delete
  ui::Action annuleren{this, "annuleren"};             // New
  ui::Action leesvorigrecord{this, "leesvorigrecord"};  // previous voucher
  ui::Action leesvolgendrecord{this, "leesvolgendrecord"};
  ui::Action leeslaatsterecord{this, "leeslaatsterecord"};
  ui::Action sjabloonbeheer{this, "sjabloonbeheer"};   // template management
  ui::Action sjabloonannuleren{this, "sjabloonannuleren"};
  ui::Action sjabloonopslaan{this, "sjabloonopslaan"};
  ui::Action sjabloonverwijderen{this, "sjabloonverwijderen"};

  // ---- menus
  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1"};
  ui::MenuItem New1{&File1, "New1"};
  ui::MenuItem Save1{&File1, "Save1"};
  ui::MenuItem Delete1{&File1, "Delete1"};
  ui::MenuItem Exit1{&File1, "Exit1"};
  ui::MenuItem Voucher1{&MainMenu1, "Voucher1"};
  ui::MenuItem Previous1{&Voucher1, "Previous1"};
  ui::MenuItem Next1{&Voucher1, "Next1"};
  ui::MenuItem Last1{&Voucher1, "Last1"};
  ui::MenuItem SelectJournalVoucher1{&Voucher1, "SelectJournalVoucher1"};
  ui::MenuItem Cancel1{&Voucher1, "Cancel1"};
  ui::MenuItem Template1{&MainMenu1, "Template1"};
  ui::MenuItem Templatemanagement1{&Template1, "Templatemanagement1"};
  ui::MenuItem SaveTemplate1{&Template1, "SaveTemplate1"};
  ui::MenuItem DeleteTemplate1{&Template1, "DeleteTemplate1"};
  ui::MenuItem CancelTemplate1{&Template1, "CancelTemplate1"};
  ui::MenuItem Journal1{&MainMenu1, "Journal1"};
  ui::MenuItem Salesbook1{&Journal1, "Salesbook1"};
  ui::MenuItem Purchasebook1{&Journal1, "Purchasebook1"};
  ui::MenuItem daybook1{&Journal1, "daybook1"};
  std::array<ui::MenuItem, 3> freejournal{{{&Journal1, "freejournal1"}, {&Journal1, "freejournal2"},
                                           {&Journal1, "freejournal3"}}};
  std::array<ui::MenuItem, kCashJournalMenuItems> payjournal{
      {{&Journal1, "payjournal1"}, {&Journal1, "payjournal2"}, {&Journal1, "payjournal3"},
       {&Journal1, "payjournal4"}, {&Journal1, "payjournal5"}, {&Journal1, "payjournal6"},
       {&Journal1, "payjournal7"}, {&Journal1, "payjournal8"}, {&Journal1, "payjournal9"}}};
  ui::MenuItem Help1{&MainMenu1, "Help1"};
  ui::MenuItem BrenvickJournalizehelp1{&Help1, "BrenvickJournalizehelp1"};
  ui::MenuItem BrenvickHelp1{&Help1, "BrenvickHelp1"};
  ui::MenuItem utorial1{&Help1, "utorial1", "Tutorial"};
  ui::MenuItem BrenvickHomepage1{&Help1, "BrenvickHomepage1"};
  ui::MenuItem About1{&Help1, "About1"};

  // ---- tool buttons
  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};  // New
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2"};  // Save
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3"};  // Delete
  ui::ToolButton ToolButton4{&ToolBar1, "ToolButton4"};  // previous
  ui::ToolButton ToolButton5{&ToolBar1, "ToolButton5"};  // next
  ui::ToolButton ToolButton6{&ToolBar1, "ToolButton6"};  // last
  ui::ToolButton SpeedButton14{&ToolBar1, "SpeedButton14"};  // documents of the journal
  ui::ToolButton SpeedButton15{&ToolBar1, "SpeedButton15"};  // new document of the journal
  ui::ToolButton SpeedButton5{&ToolBar1, "SpeedButton5"};    // new invoice
  ui::ToolButton SpeedButton6{&ToolBar1, "SpeedButton6"};    // invoice list
  ui::ToolButton SpeedButton7{&ToolBar1, "SpeedButton7"};    // new payment
  ui::ToolButton SpeedButton8{&ToolBar1, "SpeedButton8"};    // payment list
  ui::ToolButton SpeedButton9{&ToolBar1, "SpeedButton9"};    // bank import
  ui::ToolButton ToolButton9{&ToolBar1, "ToolButton9", "Help"};
  ui::ToolButton ToolButton10{&ToolBar1, "ToolButton10"};  // Exit

  ui::Label Label1{this, "Label1"};

  ui::TabControl TabControl1{this, "TabControl1"};

  // ---- tab 0: the voucher (also shown, not edited, on the template tab)
  ui::Panel Panel6{&TabControl1, "Panel6"};
  // The journal and the template list.
  ui::Panel Panel11{&Panel6, "Panel11", ui::LayoutKind::Horizontal};
  ui::Label Label71{&Panel11, "Label71"};
  ui::ComboBox ComboBox12{&Panel11, "ComboBox12"};
  ui::CheckBox CheckBox12{&Panel11, "CheckBox12"};
  ui::Label Label26{&Panel11, "Label26"};
  ui::ComboBox ComboBox11{&Panel11, "ComboBox11"};
  ui::Button Button4{&Panel11, "Button4"};
  // The header.
  ui::Panel Panel2{&Panel6, "Panel2", ui::LayoutKind::Grid};
  ui::Label Label2{&Panel2, "Label2"};
  ui::DatePicker DateTimePicker2{&Panel2, "DateTimePicker2"};
  ui::Label Label3{&Panel2, "Label3"};
  ui::Panel Panel12{&Panel2, "Panel12", ui::LayoutKind::Horizontal};
  ui::Button Image2{&Panel12, "Image2", "<"};  // previous
  ui::Edit Edit3{&Panel12, "Edit3"};
  ui::Button Image3{&Panel12, "Image3", ">"};  // next
  ui::Label Label4{&Panel2, "Label4"};
  ui::Label Label72{&Panel2, "Label72"};
  ui::Label Label5{&Panel2, "Label5"};
  ui::Edit Edit116{&Panel2, "Edit116"};
  ui::Label Label6{&Panel2, "Label6"};
  ui::Edit Edit123{&Panel2, "Edit123"};
  ui::Label Label30{&Panel2, "Label30"};
  ui::Edit Edit5{&Panel2, "Edit5"};
  ui::Label Label31{&Panel2, "Label31"};
  ui::Panel Panel13{&Panel2, "Panel13", ui::LayoutKind::Horizontal};
  ui::Edit Edit6{&Panel13, "Edit6"};
  ui::Button Button23{&Panel13, "Button23"};
  // The lines.
  ui::Panel Panel14{&Panel6, "Panel14", ui::LayoutKind::Grid};
  ui::Label Label40{&Panel14, "Label40"};
  ui::Label Label41{&Panel14, "Label41"};
  ui::Label Label42{&Panel14, "Label42"};
  ui::Label Label43{&Panel14, "Label43"};
  ui::Label Label44{&Panel14, "Label44"};
  ui::Label Label45{&Panel14, "Label45"};
  std::array<EntryLine, kVoucherLines> Lines{{{&Panel14, 1}, {&Panel14, 2}, {&Panel14, 3}, {&Panel14, 4},
                                              {&Panel14, 5}, {&Panel14, 6}, {&Panel14, 7}, {&Panel14, 8}}};
  // The account pickers (by number, by name) and the cost-centre picker,
  // shown for the active line.
  ui::Panel Panel15{&Panel6, "Panel15", ui::LayoutKind::Horizontal};
  ui::Label Label46{&Panel15, "Label46"};
  ui::ComboBox ComboBox1{&Panel15, "ComboBox1"};
  ui::ComboBox ComboBox13{&Panel15, "ComboBox13"};
  ui::ComboBox ComboBox2{&Panel15, "ComboBox2"};
  // The totals and the buttons.
  ui::Panel Panel16{&Panel6, "Panel16", ui::LayoutKind::Horizontal};
  ui::Label Label47{&Panel16, "Label47"};
  ui::Edit Edit88{&Panel16, "Edit88"};
  ui::Edit Edit89{&Panel16, "Edit89"};
  ui::Button Button7{&Panel16, "Button7"};  // New
  ui::Button Button5{&Panel16, "Button5"};  // Save
  ui::Button Button6{&Panel16, "Button6"};  // Delete
  // The voucher selection: go to a date and number.
  ui::Panel Panel17{&Panel6, "Panel17", ui::LayoutKind::Horizontal};
  ui::Label Label48{&Panel17, "Label48"};
  ui::DatePicker DateTimePicker1{&Panel17, "DateTimePicker1"};
  ui::Edit Edit1{&Panel17, "Edit1"};
  ui::CheckBox CheckBox13{&Panel17, "CheckBox13"};
  ui::Button Image1{&Panel17, "Image1", "==>"};

  // ---- tab 1: templates
  ui::Panel Panel5{&TabControl1, "Panel5", ui::LayoutKind::Horizontal};
  ui::Label Label25{&Panel5, "Label25"};
  ui::Edit Edit2{&Panel5, "Edit2"};
  ui::GroupBox GroupBox1{&Panel5, "GroupBox1", "Incl. bedragen ?", ui::LayoutKind::Horizontal};
  ui::RadioButton RadioButton1{&GroupBox1, "RadioButton1", "123,45"};
  ui::RadioButton RadioButton2{&GroupBox1, "RadioButton2", "    0,00"};
  ui::Button Button1{&Panel5, "Button1"};  // save template
  ui::Button Button2{&Panel5, "Button2"};  // delete template
  ui::Button Button3{&Panel5, "Button3"};  // cancel

  // ---- tab 2: invoice (its handlers come with the invoices)
  ui::Panel Panel3{&TabControl1, "Panel3", ui::LayoutKind::Grid};
  ui::Label Label23{&Panel3, "Label23"};
  ui::ComboBox ComboBox3{&Panel3, "ComboBox3", ui::ComboStyle::DropDown};
  ui::Label Label74{&Panel3, "Label74", "Partner number"};
  ui::Edit Edit20{&Panel3, "Edit20"};  // partner number
  ui::Label Label15{&Panel3, "Label15"};
  ui::DatePicker DateTimePicker4{&Panel3, "DateTimePicker4"};  // book date
  ui::Label Label16{&Panel3, "Label16"};
  ui::Edit Edit7{&Panel3, "Edit7"};  // invoice number
  ui::Label Label17{&Panel3, "Label17"};
  ui::Edit Edit17{&Panel3, "Edit17"};
  ui::Label Label18{&Panel3, "Label18"};
  ui::Edit Edit18{&Panel3, "Edit18"};
  ui::Label Label19{&Panel3, "Label19"};
  ui::Edit Edit124{&Panel3, "Edit124"};
  ui::Label Label53{&Panel3, "Label53"};
  ui::ComboBox ComboBox5{&Panel3, "ComboBox5"};
  ui::Button Button10{&Panel3, "Button10"};

  // ---- tab 3: invoice list
  ui::Panel Panel7{&TabControl1, "Panel7"};
  ui::ComboBox ComboBox7{&Panel7, "ComboBox7"};
  ui::CheckBox CheckBox3{&Panel7, "CheckBox3"};
  ui::StringGrid StringGrid2{&Panel7, "StringGrid2", 14, 2};

  // ---- tab 4: partner list
  ui::Panel Panel4{&TabControl1, "Panel4"};
  ui::StringGrid StringGrid1{&Panel4, "StringGrid1", 5, 2};

  // ---- tab 5: payment
  ui::Panel Panel1{&TabControl1, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label20{&Panel1, "Label20"};
  ui::ComboBox ComboBox4{&Panel1, "ComboBox4"};
  ui::Label Label21{&Panel1, "Label21"};
  ui::ComboBox ComboBox6{&Panel1, "ComboBox6"};  // kind
  ui::Label Label22{&Panel1, "Label22"};
  ui::Edit Edit8{&Panel1, "Edit8"};
  ui::Label Label75{&Panel1, "Label75", "Partner number"};
  ui::Edit Edit9{&Panel1, "Edit9"};  // partner number
  ui::Label Label76{&Panel1, "Label76", "Value date"};
  ui::DatePicker DateTimePicker7{&Panel1, "DateTimePicker7"};
  ui::Label Label77{&Panel1, "Label77", "Payment number"};
  ui::Edit Edit80{&Panel1, "Edit80"};  // empty for a payment not yet stored
  ui::Label Label24{&Panel1, "Label24"};
  ui::Edit Edit37{&Panel1, "Edit37"};

  // ---- tab 6: payment list
  ui::Panel Panel8{&TabControl1, "Panel8"};
  ui::ComboBox ComboBox8{&Panel8, "ComboBox8"};
  ui::CheckBox CheckBox7{&Panel8, "CheckBox7"};
  ui::StringGrid StringGrid3{&Panel8, "StringGrid3", 14, 2};

  // ---- tab 7: payment import
  ui::Panel Panel9{&TabControl1, "Panel9"};
  ui::ComboBox ComboBox9{&Panel9, "ComboBox9"};

  // ---- tab 8: match import
  ui::Panel Panel10{&TabControl1, "Panel10"};
  ui::Label Label60{&Panel10, "Label60"};

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  // ---- handlers
  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void FormCloseQuery(bool& canClose);
  void OpslaanExecute();
  void VerwijderenExecute();
  void annulerenExecute();  // New, asking before typed lines go
  void leesvorigrecordExecute();
  void leesvolgendrecordExecute();
  void leeslaatsterecordExecute();
  // Shows the voucher the selection panel names, or the voucher of the
  // invoice or payment the document tabs show (LinkedDocumentKind), or
  // the next one after it; selects the voucher tab. Done when the voucher
  // sought itself is shown, NotFound when a document's voucher is missing
  // and the next one is shown instead, else the store's outcome.
  StoreOutcome Image1Click();
  void sjabloonbeheerExecute();
  void sjabloonannulerenExecute();
  bool TemplateChangeDone(const TemplateStatus& status);
  void sjabloonopslaanExecute();
  void sjabloonverwijderenExecute();
  void ComboBox11Select();
  void ComboBox11Exit();
  void ComboBox12Exit();
  void ComboBox12CloseUp();
  void ComboBox1Exit();
  void ComboBox13Exit();
  void AccountPickerExit(ui::ComboBox& picker, bool byName, ui::Edit EntryLine::*sameField,
                         ui::Edit EntryLine::*nextField);
  void ComboBox1KeyDown(uint16_t& key, unsigned shift);
  void ComboBox2Change();
  void TabControl1Change();
  void JournalizeHelp();
  // The line families, bound with the line (0-based).
  void AccountNumberEnter(int line);
  void AccountCaptionEnter(int line);
  void CostCentreEnter(int line);
  void AmountChange(int line, int column);
  void AmountEnter(int line, int column);
  void AmountExit(int line, int column);
  void AmountClick(int line, int column);
  void LineKeyPress(int line, int column, char& key);
  void LineKeyDown(int line, int column, uint16_t& key);

  // Fills one line as a proposal does: the caption of exactly that
  // account (empty when the GL lacks it), the amount on its side.
  void SetEntryLine(int line, const std::string& account, const std::string& text, double amount, char side);
  // Recomputes the totals and the Save test and shows them.
  void RecalcTotals();
  // Empties the screen without asking and starts a new voucher.
  void NewVoucher();

  // Puts the current language's texts into the form.
  void ApplyLanguageTexts();

  // What the voucher selection seeks: the selection panel's date and
  // number, or the voucher of the document the invoice tab (book date,
  // kind, partner number, invoice number) or the payment tab (value date,
  // kind, partner number, payment number) shows. The invoice and payment
  // handlers set it when they show a document; the selection returns it to
  // Selection, and so do New and the activation.
  enum class DocumentKind { Selection = 1, Invoice = 2, Payment = 3 };
  DocumentKind LinkedDocumentKind = DocumentKind::Selection;

  // State, for the tests and the callers.
  EntryMode Mode() const { return mode_; }
  const std::optional<LoadedVoucher>& Loaded() const { return loaded_; }
  const VoucherLink& Link() const { return link_; }
  const std::optional<VoucherPartner>& Partner() const { return partner_; }
  const std::string& LowestOpenDateYmd() const { return lowestOpenDate_; }
  int ActiveEntryLine() const { return activeLine_; }
  bool AmountFilterSkip() const { return amountFilterSkip_; }
  const std::vector<AccountItem>& Accounts() const { return accounts_; }
  // The voucher the screen holds, as Save hands it to the store.
  Voucher ScreenVoucher() const;

 private:
  void ClearVoucherForm();
  void ShowVoucher(const LoadedVoucher& v);
  void ShowOutcome(StoreOutcome outcome, bool reading);
  void ShowModeCaption();
  void SetAmountText(ui::Edit& e, const std::string& text);
  void SetLowestOpenDate();
  void LoadTemplateList();
  void LoadTemplateNamed(const std::string& name);
  void SelectTab(int tab);
  void ChooseJournal(int index);
  // Chooses the journal a menu item stands for, as a pick from the list.
  void PickJournal(const JournalRef& journal);
  std::optional<std::string> JournalFilter() const;
  std::string VoucherDateYmd() const;
  // The key the walks start from: the loaded voucher's, else the screen's.
  std::pair<std::string, std::string> ShownKey() const;
  EntryScreen Screen() const;
  EntrySnapshot Snapshot() const;
  // Asks Yes/No when `action` would lose typed lines; true to go on.
  bool MayDiscard(DiscardAction action);
  bool AccountInLedger(const std::string& number) const;
  // The account a picker left with: the picked item's data while its text
  // still stands, else the match of the typed text.
  std::optional<AccountItem> PickedAccount(const ui::ComboBox& box, bool byName) const;
  void TakeAccount(int line, const std::optional<AccountItem>& account);

  EntryMode mode_ = EntryMode::Add;
  std::optional<LoadedVoucher> loaded_;
  VoucherLink link_;
  std::optional<VoucherPartner> partner_;
  std::string journal_;          // the journal a save stores
  std::string chosenJournal_;    // the journal list's last choice
  std::string lowestOpenDate_ = std::string(kNoClosedPeriodDate);
  std::string lastTemplate_;     // the template the list loaded last
  std::array<bool, kVoucherLines> readOnly_{};
  int activeLine_ = 0;
  bool amountFilterSkip_ = false;
  bool accountDownMove_ = false;
  // The moment an amount field was entered: the click that entered it keeps
  // the whole text selected.
  bool amountEntered_ = false;
  double amountEnteredAt_ = 0;
  bool tabSwitchSuppressed_ = false;
  bool statusFromTest_ = false;
  EntrySnapshot shown_;
  std::vector<AccountItem> accounts_;  // GL file order
  std::vector<AccountItem> byName_;    // the by-name list's order
  std::vector<std::string> cashJournals_;
  // The journal list's items and what they are; the cash-journal menu
  // items' journals; the list's last choice (-1: none).
  std::vector<JournalItem> journals_;
  std::array<JournalRef, kCashJournalMenuItems> payjournalRefs_{};
  int chosenIndex_ = -1;
};

extern Tboeking* boeking;

}  // namespace journal
