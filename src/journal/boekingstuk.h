// The journal form: one window whose tabs share the voucher entry screen,
// the voucher templates, the invoices, the payments and the bank-statement
// import.
//
// `Tboeking` is the window (journalwindow.h: the menus, the tool bar, the
// tab control and the voucher tab's components) with the status bar, the
// voucher tab's work and the glue between the tabs. Every other tab is a
// page it holds: `Templates` (templatepage.h), `Invoice` (invoicepage.h),
// `PartnerList` (partnerlistpage.h), `Payment` (paymentpage.h) and
// `BankImport` (bankimportpage.h). A page works on its own components and
// state and reaches the rest of the form only through the form's own
// members and named glue functions, never through another page; the
// handlers keep their names here (`Tboeking::Button15Click`...), forwarding
// to the page where the work lives.
//
// The voucher tab shows a header, eight entry lines Edit11..Edit86 (one
// repeated group, `EntryLine`, whose components keep their own names) and
// the debit and credit totals. Save, Delete, previous, next, last and the
// voucher selection go through the voucher store (src/books/journal/voucherstore.h):
// the form builds one `Voucher` value from its fields and shows the voucher
// the store hands back.
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
//   lists) is a plain function of src/books/journal/entryrules.h; the form only moves
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
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "journal/bankimportpage.h"
#include "journal/invoicepage.h"
#include "journal/journalunit.h"
#include "journal/journalwindow.h"
#include "journal/partnerlistpage.h"
#include "journal/paymentpage.h"
#include "journal/templatepage.h"
#include "books/journal/documentrules.h"
#include "books/journal/entryrules.h"
#include "books/journal/templatestore.h"
#include "books/journal/voucher.h"
#include "books/journal/voucherstore.h"
#include "ui/form.h"

namespace journal {

class Tboeking : public JournalWindow {
  friend struct BankImportPage;
  friend struct TemplatePage;
  friend struct PartnerListPage;
  friend struct InvoicePage;
  friend struct PaymentPage;

 public:
  Tboeking();

  TemplatePage Templates{*this, &TabControl1};  // tab 1

  InvoicePage Invoice{*this, &TabControl1};  // tabs 2 and 3
  PartnerListPage PartnerList{*this, &TabControl1};  // tab 4

  PaymentPage Payment{*this, &TabControl1};  // tabs 5 and 6
  BankImportPage BankImport{*this, &TabControl1};  // tabs 7 and 8

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
  books::journal::StoreOutcome Image1Click();
  // The template page's actions; the work is the page's.
  void sjabloonbeheerExecute() { Templates.Manage(); }
  void sjabloonannulerenExecute() { Templates.Cancel(); }
  void sjabloonopslaanExecute() { Templates.Save(); }
  void sjabloonverwijderenExecute() { Templates.Delete(); }
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
  // After New, a save or a delete on the voucher tab of the shown form: the
  // focus goes to the voucher date, the first field the next voucher is
  // typed in.
  void FocusVoucherDate();

  // Puts the current language's texts into the form.
  void ApplyLanguageTexts();

  // ---- the document tabs (tabs 2 to 6)
  // The tool buttons and the go-to-document button.
  void SpeedButton5Click();   // new invoice
  void SpeedButton6Click();   // invoice list
  void SpeedButton8Click();   // payment list
  void SpeedButton9Click();   // bank import
  void SpeedButton14Click();  // documents of the journal
  void SpeedButton15Click();  // new document of the journal
  void SelectPartnerClick();
  void Button23Click();
  void ComboBox3Exit();
  void ComboBox7Exit() { Invoice.ComboBox7Exit(); }
  void ComboBox8Exit() { Payment.ComboBox8Exit(); }
  void PanelsForTab(int tab);
  void BindDocumentTabs();
  void BindDocumentActions();
  void BindDocumentMenus();
  void LayOutDocumentTabs();
  void ApplyDocumentTexts();
  void ApplyListHeads();
  static double TryParseAmountOr0(const std::string& text);

  // Partner lookup (boekingstuk_partners.cpp).
  void zoekpartnerExecute();     // invoice tab and invoice-list filter
  void SpeedButton11Click();     // payment tab and payment-list filter
  void aanroeppartnerExecute();  // new partner
  void Button11Click() { PartnerList.Button11Click(); }  // partner list: select
  void Button12Click() { PartnerList.Button12Click(); }  // partner list: cancel
  void BitBtn1Click() { PartnerList.BitBtn1Click(); }
  void BitBtn2Click() { PartnerList.BitBtn2Click(); }
  // Runs a search for `requester`: one match fills its fields, several go
  // to the partner list, none shows the store's text.
  void SearchPartnerFor(books::journal::PartnerRequester requester, books::partners::PartnerKind kind,
                        const std::string& text);
  void ShowPartnerPage(int page) { PartnerList.ShowPage(page); }
  // The caption of partner kind `kind` (0 customer, 1 supplier) as the
  // invoice kind list shows it.
  std::string PartnerKindText(int kind) const;
  // The chosen partner goes to the tab that asked, and only there.
  void TakePartner(books::journal::PartnerRequester requester, const records::PartnerRec& partner);

  // The invoice page's handlers (invoicepage.h), where the callers know
  // them; the work is the page's.
  void Button9Click() { Invoice.Button9Click(); }    // Add + JV
  void Button10Click() { Invoice.Button10Click(); }  // new invoice / cancel
  void Button19Click() { Invoice.Button19Click(); }  // delete
  void Image5Click() { Invoice.Image5Click(); }      // fill the invoice list
  void Button13Click() { Invoice.Button13Click(); }  // select a list row
  void Button14Click() { Invoice.Button14Click(); }  // list cancel
  void BitBtn5Click() { Invoice.BitBtn5Click(); }
  void BitBtn6Click() { Invoice.BitBtn6Click(); }
  void DateTimePicker3Change() { Invoice.DateTimePicker3Change(); }
  void ComboBox5Change() { Invoice.ComboBox5Change(); }
  void ComboBox5Exit() { Invoice.ComboBox5Exit(); }
  void Edit7Exit() { Invoice.Edit7Exit(); }
  void InvoiceAmountExit(bool prepaid) { Invoice.InvoiceAmountExit(prepaid); }
  void SpeedButton3Click() { Invoice.SpeedButton3Click(); }
  void CheckBox6Click() { Invoice.CheckBox6Click(); }
  void CheckBox10Click() { Invoice.CheckBox10Click(); }

  // The payment page's handlers (paymentpage.h).
  void Button15Click() { Payment.Button15Click(); }  // Add + JV
  void Button16Click() { Payment.Button16Click(); }  // cancel
  void Button21Click() { Payment.Button21Click(); }  // delete
  void SpeedButton7Click() { Payment.SpeedButton7Click(); }  // new payment
  void SpeedButton2Click() { Payment.SpeedButton2Click(); }  // fill the payment list
  void Button17Click() { Payment.Button17Click(); }  // select a list row
  void Button18Click() { Payment.Button18Click(); }  // list cancel
  void BitBtn3Click() { Payment.BitBtn3Click(); }
  void BitBtn4Click() { Payment.BitBtn4Click(); }
  void Button28Click() { Payment.Button28Click(); }  // the payments without voucher
  void ophalenfacturenExecute() { Payment.ophalenfacturenExecute(); }
  void CheckListBox1Click(int index) { Payment.CheckListBox1Click(index); }
  void ComboBox6Select() { Payment.ComboBox6Select(); }
  void ComboBox6Exit() { Payment.ComboBox6Exit(); }
  void Edit9Change() { Payment.Edit9Change(); }
  void Edit30Exit() { Payment.Edit30Exit(); }
  void CheckBox9Click() { Payment.CheckBox9Click(); }
  void CheckBox11Click() { Payment.CheckBox11Click(); }
  void ComboBox4Exit();  // the cash account above the tabs

  // The bank import tabs' handlers, where the callers know them; the work
  // is the page's.
  void Button8Click() { BankImport.Button8Click(); }
  void Button22Click() { BankImport.Button22Click(); }
  void ComboBox9Exit() { BankImport.ComboBox9Exit(); }
  void Button24Click() { BankImport.Button24Click(); }
  void Button25Click() { BankImport.Button25Click(); }
  void Button26Click() { BankImport.Button26Click(); }
  void ComboBox10Change() { BankImport.ComboBox10Change(); }
  bool EndInterruptedImport() { return BankImport.EndInterruptedImport(); }
  bool ImportRunning() const { return BankImport.ImportRunning(); }
  const std::vector<books::journal::StatementRow>& StatementRows() const { return BankImport.StatementRows(); }
  const std::optional<books::journal::ImportJob>& CurrentImport() const { return BankImport.CurrentImport(); }

  // The state of a document on its tab.
  using DocumentState = journal::DocumentState;
  DocumentState InvoiceState() const { return Invoice.State(); }
  DocumentState PaymentState() const { return Payment.State(); }
  const std::optional<records::PartnerRec>& InvoicePartner() const { return Invoice.Partner(); }
  const std::optional<records::PartnerRec>& PaymentPartner() const { return Payment.Partner(); }
  const std::vector<books::journal::OpenInvoiceItem>& OpenItems() const { return Payment.OpenItems(); }
  std::optional<books::journal::PartnerRequester> Requester() const { return PartnerList.Requester(); }

  // What the voucher selection seeks: the selection panel's date and
  // number, or the voucher of the document the invoice tab (book date,
  // kind, partner number, invoice number) or the payment tab (value date,
  // kind, partner number, payment number) shows. The invoice and payment
  // handlers set it when they show a document; the selection returns it to
  // Selection, and so do New and the activation.
  enum class DocumentKind { Selection = 1, Invoice = 2, Payment = 3 };
  DocumentKind LinkedDocumentKind = DocumentKind::Selection;

  // State, for the tests and the callers.
  books::journal::EntryMode Mode() const { return mode_; }
  const std::optional<books::journal::LoadedVoucher>& Loaded() const { return loaded_; }
  const books::journal::VoucherLink& Link() const { return link_; }
  const std::optional<books::journal::VoucherPartner>& Partner() const { return partner_; }
  const std::string& LowestOpenDateYmd() const { return lowestOpenDate_; }
  int ActiveEntryLine() const { return activeLine_; }
  bool AmountFilterSkip() const { return amountFilterSkip_; }
  const std::vector<books::journal::AccountItem>& Accounts() const { return accounts_; }
  // The voucher the screen holds, as Save hands it to the store.
  books::journal::Voucher ScreenVoucher() const;

 private:
  // The constructor's phases.
  void BindActions();
  void LayOut();
  void BindEvents();
  void BindEntryLines();
  // The activation's phases.
  void ResetForActivation();
  bool ReadAccountTables();
  std::vector<books::journal::AccountItem> ReadLedgerAccounts();
  void ReadImportProfiles();
  void FillAccountLists(const std::vector<books::journal::AccountItem>& cash);
  void FillJournalLists();
  void ShowSetUpLists();
  void ChooseFirstJournal();
  void ClearVoucherForm();
  // The template page's glue: a template of the screen's lines under
  // `name`; the template list's choice; after a delete, the list read again
  // and a new voucher; the status of a template not found; the template
  // button on the voucher tab.
  books::journal::VoucherTemplate ScreenTemplate(const std::string& name) const;
  std::string ChosenTemplateName() const { return ComboBox11.GetText(); }
  void TemplateDeleted();
  void ShowTemplateNotFound();
  void ShowTemplateButton(bool shown);
  // While suppressed, a change of tab shows no panel (the caller selects
  // the tab it wants after).
  bool TabSwitchSuppressed() const { return tabSwitchSuppressed_; }
  void SuppressTabSwitch(bool suppressed) { tabSwitchSuppressed_ = suppressed; }
  // The journal a save stores now (empty when journals are not split).
  const std::string& StoredJournal() const { return journal_; }
  void ShowVoucher(const books::journal::LoadedVoucher& v);
  void ShowWalkedVoucher(const books::journal::LoadedVoucher& v);
  void ShowOutcome(books::journal::StoreOutcome outcome, bool reading);
  void ShowModeCaption();
  void SetAmountText(ui::Edit& e, const std::string& text);
  void SetLowestOpenDate();
  void LoadTemplateList();
  void LoadTemplateNamed(const std::string& name);
  void SelectTab(int tab);
  void ChooseJournal(int index);
  // Chooses the journal a menu item stands for, as a pick from the list.
  void PickJournal(const books::journal::JournalRef& journal);
  std::optional<std::string> JournalFilter() const;
  std::string VoucherDateYmd() const;
  // The key the walks start from: the loaded voucher's, else the screen's.
  std::pair<std::string, std::string> ShownKey() const;
  books::journal::EntryScreen Screen() const;
  books::journal::EntrySnapshot Snapshot() const;
  // Asks Yes/No when `action` would lose typed lines; true to go on.
  bool MayDiscard(books::journal::DiscardAction action);
  bool AccountInLedger(const std::string& number) const;
  // The account a picker left with: the picked item's data while its text
  // still stands, else the match of the typed text.
  std::optional<books::journal::AccountItem> PickedAccount(const ui::ComboBox& box, bool byName) const;
  void TakeAccount(int line, const std::optional<books::journal::AccountItem>& account);

  // The glue of the document pages (boekingstuk_documents.cpp).
  void ShowDocumentHeader(const std::string& kind, std::int32_t partner, const std::string& linkText, bool invoice);
  // Reads an amount field; nullopt, with `what` named in the status bar,
  // when it holds no amount.
  std::optional<double> AmountOf(const ui::Edit& e, const std::string& what);
  static std::string AmountText(double value);
  // A document amount field: filtered while typed, wholly selected on
  // entry, the caret at the start on a click.
  void BindDocumentAmountField(ui::Edit& e);
  // Runs `store` (an invoice or payment store) with "All Journals" ticked,
  // as the voucher it finds may be in any journal: the status bar cleared
  // first, the tick put back after.
  void StoreWithAllJournals(const std::function<void()>& store);
  // Shows a booked document's own voucher, as FindVoucherOf gave it, on the
  // voucher tab. False when it is not there; a failed file set is reported
  // and counts as shown.
  bool ShowDocumentVoucher(const books::journal::StoreResult& found);
  // A voucher proposed from a document: the screen cleared, dated `ymd`.
  void StartProposal(const std::string& ymd);
  // Line `line` (0-based) of a proposal shown, not edited; or only its text.
  void ShowLineOnly(int line);
  void ShowLineTextOnly(int line);
  // The head of a voucher proposed from a document: the voucher number
  // `number`, the document's entry number and memo, the link and partner,
  // Add mode, the document header with `date`, the date and number fixed.
  void ShowProposalHead(const books::journal::VoucherLink& link, const books::journal::VoucherPartner& partner,
                        const std::string& number, const std::string& entryNumber, const std::string& memo,
                        const std::string& date, bool invoice);
  // The voucher tab with the proposal's totals, Save focused.
  void GoToProposal();
  // True when an invoice's (`invoice`) or payment's store, change or
  // delete was done; else says why: a failed file set reported, a refusal
  // in the status bar.
  bool DocumentDone(books::journal::DocumentOutcome outcome, const store::FileSetFailure& failure, bool invoice);
  // Sets a picker's date, lowering its minimum to it when the date lies
  // before (a document booked in a closed period).
  static void ShowDate(ui::DatePicker& picker, const std::string& ymd);
  void ShowPaymentButtons() { Payment.ShowPaymentButtons(); }

  books::journal::EntryMode mode_ = books::journal::EntryMode::Add;
  std::optional<books::journal::LoadedVoucher> loaded_;
  books::journal::VoucherLink link_;
  std::optional<books::journal::VoucherPartner> partner_;
  std::string journal_;          // the journal a save stores
  std::string chosenJournal_;    // the journal list's last choice
  std::string lowestOpenDate_ = std::string(books::journal::kNoClosedPeriodDate);
  std::string lastTemplate_;     // the template the list loaded last
  std::array<bool, books::journal::kVoucherLines> readOnly_{};
  int activeLine_ = 0;
  bool amountFilterSkip_ = false;
  bool accountDownMove_ = false;
  // The moment an amount field was entered: the click that entered it keeps
  // the whole text selected.
  bool amountEntered_ = false;
  double amountEnteredAt_ = 0;
  bool tabSwitchSuppressed_ = false;
  bool statusFromTest_ = false;
  books::journal::EntrySnapshot shown_;
  std::vector<books::journal::AccountItem> accounts_;  // GL file order
  std::vector<books::journal::AccountItem> byName_;    // the by-name list's order
  std::vector<std::string> cashJournals_;
  // The journal list's items and what they are; the cash-journal menu
  // items' journals; the list's last choice (-1: none).
  std::vector<books::journal::JournalItem> journals_;
  std::array<books::journal::JournalRef, books::journal::kCashJournalMenuItems> payjournalRefs_{};
  int chosenIndex_ = -1;
};

extern Tboeking* boeking;

}  // namespace journal
