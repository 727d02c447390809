#include "journal/boekingstuk.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <variant>

#include "formkit/filesetscope.h"
#include "formkit/helpmenu.h"
#include "journal/formhelpers.h"
#include "books/journal/templatestore.h"
#include "books/journal/voucherstore.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "records/importprofilerec.h"
#include "records/ledgeraccountrec.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "ui/application.h"

namespace journal {

using text::Cut;
using text::L;

Tboeking* boeking = nullptr;

// ---- the entry lines

namespace {

constexpr int kDebitColumn = 5;
constexpr int kCreditColumn = 6;

// Texts the language file has no offset for.
std::string AskDiscardText() {
  return text::BuiltInText(text::BuiltIn::AskDiscardText);
}
std::string AskDeleteText() {
  return text::BuiltInText(text::BuiltIn::AskDeleteText);
}
std::string TemplateNotFoundText() {
  return text::BuiltInText(text::BuiltIn::TemplateNotFoundText);
}
std::string RefusedText(books::journal::StoreOutcome outcome) {
  switch (outcome) {
    case books::journal::StoreOutcome::ChangedInAnotherCopy:
      return text::MsgChangedInAnotherCopy();
    case books::journal::StoreOutcome::BeforeOpenPeriod:
      return text::BuiltInText(text::BuiltIn::BeforeOpenPeriod);
    case books::journal::StoreOutcome::Locked:
      return text::BuiltInText(text::BuiltIn::Locked);
    default:
      return text::BuiltInText(text::BuiltIn::VoucherWasNotSavedItIs);
  }
}
std::string UnknownAccountText(const std::string& typed) {
  return text::BuiltInText(text::BuiltIn::UnknownAccountText, {typed});
}
std::string ReceiptKindText() { return text::BuiltInText(text::BuiltIn::ReceiptKindText); }
std::string PaymentKindText() { return text::BuiltInText(text::BuiltIn::Payment); }

}  // namespace

// ---- the form

Tboeking::Tboeking() {
  width = 1020;
  height = 0;  // from the layout
  BindActions();
  LayOut();
  BindEvents();
  BindEntryLines();
  BindDocumentTabs();
  ApplyLanguageTexts();
  for (EntryLine& line : Lines) line.CostCentre.SetVisible(false);
  Label43.SetVisible(false);
  for (ui::ComboBox* box : {&ComboBox1, &ComboBox13, &ComboBox2}) box->SetVisible(false);
  SelectTab(books::journal::TabVoucher);
  ClearVoucherForm();
  BankImport.Bind();
}

// The actions with their buttons and menu items, and the tool buttons' images.
void Tboeking::BindActions() {
  Opslaan.OnExecute = [this] { OpslaanExecute(); };
  Verwijderen.OnExecute = [this] { VerwijderenExecute(); };
  annuleren.OnExecute = [this] { annulerenExecute(); };
  leesvorigrecord.OnExecute = [this] { leesvorigrecordExecute(); };
  leesvolgendrecord.OnExecute = [this] { leesvolgendrecordExecute(); };
  leeslaatsterecord.OnExecute = [this] { leeslaatsterecordExecute(); };
  sjabloonbeheer.OnExecute = [this] { sjabloonbeheerExecute(); };
  sjabloonannuleren.OnExecute = [this] { sjabloonannulerenExecute(); };
  sjabloonopslaan.OnExecute = [this] { sjabloonopslaanExecute(); };
  sjabloonverwijderen.OnExecute = [this] { sjabloonverwijderenExecute(); };
  using Clients = std::initializer_list<ui::ActionClient*>;
  for (ui::ActionClient* c : Clients{&Button5, &Save1, &ToolButton2}) c->SetAction(&Opslaan);
  for (ui::ActionClient* c : Clients{&Button6, &Delete1, &ToolButton3}) c->SetAction(&Verwijderen);
  for (ui::ActionClient* c : Clients{&Button7, &New1, &ToolButton1, &Cancel1}) c->SetAction(&annuleren);
  for (ui::ActionClient* c : Clients{&Previous1, &ToolButton4}) c->SetAction(&leesvorigrecord);
  for (ui::ActionClient* c : Clients{&Next1, &ToolButton5}) c->SetAction(&leesvolgendrecord);
  Image2.OnClick = [this] { leesvorigrecord.Execute(); };
  Image3.OnClick = [this] { leesvolgendrecord.Execute(); };
  for (ui::ActionClient* c : Clients{&Last1, &ToolButton6}) c->SetAction(&leeslaatsterecord);
  for (ui::ActionClient* c : Clients{&Button4, &Templatemanagement1}) c->SetAction(&sjabloonbeheer);
  for (ui::ActionClient* c : Clients{&Templates.Button3, &CancelTemplate1}) c->SetAction(&sjabloonannuleren);
  for (ui::ActionClient* c : Clients{&Templates.Button1, &SaveTemplate1}) c->SetAction(&sjabloonopslaan);
  for (ui::ActionClient* c : Clients{&Templates.Button2, &DeleteTemplate1}) c->SetAction(&sjabloonverwijderen);
  for (int i = 0; ui::ToolButton * b : {&ToolButton1, &ToolButton2, &ToolButton3, &ToolButton4, &ToolButton5,
                                        &ToolButton6})
    b->SetImageIndex(i++);
  ToolButton9.SetImageIndex(8);
  ToolButton10.SetImageIndex(9);
}

// Sizes, limits and what is read-only.
void Tboeking::LayOut() {
  Label1.SetBold(true);
  TabControl1.hints.stretch = 1;
  TabControl1.SetTabs({"Journal Voucher", "Template", "Invoice", "Invoice list", "Partner list", "Payment",
                       "Payment list", "Payment import", "Match import"});

  Panel6.SetBevel(false);
  Panel6.hints.stretch = 1;
  for (ui::Panel* p : {&Panel11, &Panel2, &Panel12, &Panel13, &Panel14, &Panel15, &Panel16, &Panel17})
    p->SetBevel(false);
  ComboBox12.hints.width = 200;
  ComboBox11.hints.width = 200;
  ComboBox11.SetMaxLength(static_cast<int>(books::journal::kTemplateNameRoom));
  Panel2.gridColumns = 6;
  Edit3.hints.width = 180;
  Edit116.SetMaxLength(50);
  Edit116.hints.stretch = 1;
  Edit123.SetMaxLength(15);
  Edit5.SetReadOnly(true);
  Edit6.SetReadOnly(true);

  Panel14.gridColumns = 6;
  Label40.hints.newRow = true;
  for (EntryLine& line : Lines) {
    line.Text.SetMaxLength(50);
    line.Text.hints.minWidth = 240;
    line.Number.SetMaxLength(15);
    line.Caption.SetMaxLength(30);
    line.Caption.hints.minWidth = 200;
    line.CostCentre.SetMaxLength(20);
    line.Debit.hints.width = 120;
    line.Credit.hints.width = 120;
  }
  ComboBox1.hints.width = 260;
  ComboBox13.hints.width = 260;
  Edit88.SetReadOnly(true);
  Edit89.SetReadOnly(true);
  Edit88.hints.width = 120;
  Edit89.hints.width = 120;
  for (ui::Button* b : {&Button7, &Button5, &Button6}) b->hints.width = 160;
  Edit1.hints.width = 180;

  Templates.LayOut();
  for (ui::Panel* p : {&PartnerList.Panel4, &BankImport.Panel9, &BankImport.Panel10}) p->SetBevel(false);
  ComboBox3.SetItems({"Customer", "Vendor"});
}

// The form's, the voucher tab's and the menus' events.
void Tboeking::BindEvents() {
  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  Exit1.OnClick = [this] { Close(); };
  ToolButton10.OnClick = [this] { Close(); };
  SelectJournalVoucher1.OnClick = [this] { Image1Click(); };
  Image1.OnClick = [this] { Image1Click(); };
  for (ui::Component* c : {static_cast<ui::Component*>(&Edit1), static_cast<ui::Component*>(&DateTimePicker1)})
    c->OnKeyPress = [this](char& key) {
      if (key == '\r') {
        key = 0;
        Image1Click();
      }
    };
  ComboBox11.OnSelect = [this] { ComboBox11Select(); };
  ComboBox11.OnExit = [this] { ComboBox11Exit(); };
  ComboBox12.OnExit = [this] { ComboBox12Exit(); };
  ComboBox12.OnCloseUp = [this] { ComboBox12Exit(); };
  ComboBox12.OnSelect = [this] { ComboBox12Exit(); };
  ComboBox12.OnKeyPress = [this](char& key) {
    if (key == '\r') {
      key = 0;
      ComboBox12Exit();
    }
  };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  ComboBox13.OnExit = [this] { ComboBox13Exit(); };
  ComboBox1.OnKeyDown = [this](uint16_t& k, unsigned s) { ComboBox1KeyDown(k, s); };
  ComboBox13.OnKeyDown = [this](uint16_t& k, unsigned s) { ComboBox1KeyDown(k, s); };
  ComboBox2.OnChange = [this] { ComboBox2Change(); };
  ComboBox2.OnExit = [this] { ComboBox2.SetVisible(false); };
  TabControl1.OnChange = [this] { TabControl1Change(); };
  // The date and the number take part in the Save test.
  DateTimePicker2.OnChange = [this] { RecalcTotals(); };
  Edit3.OnChange = [this] { RecalcTotals(); };
  BrenvickJournalizehelp1.OnClick = [this] { JournalizeHelp(); };
  ToolButton9.OnClick = [this] { JournalizeHelp(); };
  formkit::BindHelpMenu(*this, JournalHelpCaptions,
                        {{&BrenvickHelp1, ""}, {&utorial1, "<TUT00>"}, {&About1, "<ABO00>"}}, &BrenvickHomepage1);
  // Each journal menu item stands for its journal, whatever its caption.
  auto journalItem = [this](ui::MenuItem& item, std::function<books::journal::JournalRef()> ref) {
    item.OnClick = [this, ref = std::move(ref)] { PickJournal(ref()); };
  };
  journalItem(Salesbook1, [] { return books::journal::JournalRef{books::journal::JournalKind::Sales, 0}; });
  journalItem(Purchasebook1, [] { return books::journal::JournalRef{books::journal::JournalKind::Purchase, 0}; });
  journalItem(daybook1, [] { return books::journal::JournalRef{books::journal::JournalKind::Day, 0}; });
  for (std::size_t j = 0; j < freejournal.size(); ++j)
    journalItem(freejournal[j], [j] { return books::journal::JournalRef{books::journal::JournalKind::Free, j}; });
  for (std::size_t k = 0; k < payjournal.size(); ++k)
    journalItem(payjournal[k], [this, k] { return payjournalRefs_[k]; });
}

// The entry lines' families, each bound with its line.
void Tboeking::BindEntryLines() {
  for (int i = 0; i < books::journal::kVoucherLines; ++i) {
    EntryLine& line = Lines[i];
    line.Number.OnEnter = [this, i] { AccountNumberEnter(i); };
    line.Caption.OnEnter = [this, i] { AccountCaptionEnter(i); };
    line.CostCentre.OnEnter = [this, i] { CostCentreEnter(i); };
    for (int column : {kDebitColumn, kCreditColumn}) {
      ui::Edit& e = line.Field(column);
      e.OnChange = [this, i, column] { AmountChange(i, column); };
      e.OnEnter = [this, i, column] { AmountEnter(i, column); };
      e.OnExit = [this, i, column] { AmountExit(i, column); };
      e.OnClick = [this, i, column] { AmountClick(i, column); };
    }
    for (int column : {1, kDebitColumn, kCreditColumn}) {
      ui::Edit& e = line.Field(column);
      e.OnKeyPress = [this, i, column](char& key) { LineKeyPress(i, column, key); };
      e.OnKeyDown = [this, i, column](uint16_t& key, unsigned) { LineKeyDown(i, column, key); };
    }
  }
}

// ---- texts

void Tboeking::ApplyLanguageTexts() {
  SetCaption(store::ProductTitle + " : " + L(852) + " / " + L(870));
  std::string title = Cut(" " + L(870), 26);
  title = Cut(title + " (", 28);
  title = Cut(title + store::CurrentAdministrationName, 58);
  Label1.SetCaption(Cut(title + ")", 59));

  File1.SetCaption(L(21));
  New1.SetCaption(L(32) + " " + L(4004));
  Exit1.SetCaption(L(123));
  Help1.SetCaption(L(284));
  About1.SetCaption(L(295));
  BrenvickHomepage1.SetCaption(L(486));
  BrenvickHelp1.SetCaption(store::ProductTitle + " " + L(284));
  BrenvickJournalizehelp1.SetCaption(L(870) + " " + L(284));
  utorial1.SetCaption(text::TutorialCaption());
  Delete1.SetCaption(L(260));
  Verwijderen.SetCaption(L(260));
  annuleren.SetCaption(L(32) + " " + L(4004));
  Voucher1.SetCaption(L(4004));
  SelectJournalVoucher1.SetCaption(L(345) + " " + L(4004));
  Template1.SetCaption(L(4033));
  Journal1.SetCaption(L(852));
  sjabloonopslaan.SetCaption(L(54) + L(4284));
  sjabloonverwijderen.SetCaption(L(260) + L(4284));
  sjabloonbeheer.SetCaption(L(4284) + L(3706));
  sjabloonannuleren.SetCaption(L(306));
  Templates.ApplyTexts();
  Label26.SetCaption(L(4033));
  using text::BuiltInText;
  Label71.SetCaption(L(852));
  CheckBox12.SetCaption(BuiltInText(text::BuiltIn::AllJournals));
  CheckBox13.SetCaption(CheckBox12.Caption());
  Label2.SetCaption(BuiltInText(text::BuiltIn::Date));
  Label3.SetCaption(BuiltInText(text::BuiltIn::Number));
  Label4.SetCaption(BuiltInText(text::BuiltIn::Journal));
  Label5.SetCaption(BuiltInText(text::BuiltIn::Text));
  Label6.SetCaption(BuiltInText(text::BuiltIn::Reference));
  Label40.SetCaption(BuiltInText(text::BuiltIn::LineText));
  Label41.SetCaption(BuiltInText(text::BuiltIn::Account2));
  Label42.SetCaption(BuiltInText(text::BuiltIn::Caption));
  Label43.SetCaption(BuiltInText(text::BuiltIn::CostCentre));
  Label44.SetCaption(BuiltInText(text::BuiltIn::Debit));
  Label45.SetCaption(BuiltInText(text::BuiltIn::Credit));
  Label47.SetCaption(BuiltInText(text::BuiltIn::Totals));
  Label48.SetCaption(BuiltInText(text::BuiltIn::GoToVoucher));
  const std::vector<std::string> tabs = {L(4004), L(4033), L(4062), L(4091), L(4120),
                                         L(4149), L(4178), L(4207), L(4236)};
  const int tab = TabControl1.TabIndex();
  TabControl1.SetTabs(tabs);
  TabControl1.SetTabIndex(tab);
  const std::string kind = ComboBox3.GetText();
  ComboBox3.SetItems({L(5832), L(5817)});
  ComboBox3.SetItemIndex(kind == ComboBox3.Items()[1].text ? 1 : 0);
  ApplyDocumentTexts();
  ShowModeCaption();
  if (mode_ == books::journal::EntryMode::Change && partner_)
    Label31.SetCaption(std::holds_alternative<books::journal::InvoiceKey>(link_) ? L(3596) : L(3848));
}

void Tboeking::ShowModeCaption() { Opslaan.SetCaption(mode_ == books::journal::EntryMode::Change ? L(460) : L(424)); }

// ---- set-up

void Tboeking::FormActivate() {
  ResetForActivation();
  if (!ReadAccountTables()) {
    Close();
    return;
  }
  ShowSetUpLists();
  ChooseFirstJournal();
}

// The state, the fields and the kind lists as a new showing starts them.
void Tboeking::ResetForActivation() {
  tabSwitchSuppressed_ = true;
  LinkedDocumentKind = DocumentKind::Selection;
  activeLine_ = 0;
  accountDownMove_ = false;
  amountFilterSkip_ = false;
  amountEntered_ = false;
  chosenJournal_.clear();
  chosenIndex_ = -1;
  StatusBar1.Show("", ui::colors::Default);
  for (EntryLine& line : Lines) line.CostCentre.SetVisible(false);
  Label43.SetVisible(false);
  SpeedButton9.SetVisible(false);

  // Today, where the pickers allow it.
  const platform::TDateTime today = platform::Date();
  for (ui::DatePicker* picker : {&DateTimePicker1, &DateTimePicker2})
    if (!picker->MinDate() || *picker->MinDate() <= today) picker->SetDate(today);

  for (ui::Edit* e : {&Edit116, &Edit1}) e->SetText("");
  Invoice.ResetFields();
  Payment.ResetFields();

  const std::vector<std::string> invoiceKinds = ItemTexts(ComboBox3);
  std::vector<std::string> paymentKinds = invoiceKinds;
  paymentKinds.push_back(ReceiptKindText());
  paymentKinds.push_back(PaymentKindText());
  Payment.SetKinds(paymentKinds, invoiceKinds, ComboBox3.GetText());
  Invoice.SetKinds(invoiceKinds, ComboBox3.GetText());
}

// Reads the GL accounts, the sales-tax table, the import profiles and the
// journals into the lists, then ends the set the start screen opened for
// this showing. False (after a message) when a file could not be read.
bool Tboeking::ReadAccountTables() {
  bool read = false;
  try {
    accounts_.clear();
    cashJournals_.clear();
    SalesTaxAccountTable.clear();
    ImportProfiles.clear();
    const std::vector<books::journal::AccountItem> cash = ReadLedgerAccounts();
    ReadImportProfiles();
    FillAccountLists(cash);
    FillJournalLists();
    LoadTemplateList();
    read = true;
  } catch (const std::exception& e) {
    ui::ShowMessage(e.what());
  }
  if (store::FileSetOpen) store::CloseFileSet();
  return read;
}

// The GL accounts, the cash journals and the sales-tax table; returns the
// cash and bank accounts.
std::vector<books::journal::AccountItem> Tboeking::ReadLedgerAccounts() {
  std::vector<books::journal::AccountItem> cash;
  std::vector<books::journal::SalesTaxAccount> taxCodes;
  for (const records::LedgerAccountRec& rec :
       store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit)) {
    books::journal::AccountItem item{text::TrimTrailingBlanks(rec.AccountNumber()), rec.Caption()};
    if (rec.IsCashOrBank()) {
      cash.push_back(item);
      cashJournals_.push_back(rec.JournalName());
    }
    taxCodes.push_back({item.number, rec.SalesTaxCode()});
    accounts_.push_back(std::move(item));
  }
  std::array<std::string, 6> taxNames;
  std::array<double, 6> taxRates{};
  for (int i = 0; i < records::SystemParamRec::kTaxRateCount; ++i) {
    taxNames[static_cast<std::size_t>(i)] = store::SystemParams.TaxRateName(i);
    taxRates[static_cast<std::size_t>(i)] = store::SystemParams.TaxRate(i);
  }
  SalesTaxAccountTable = books::journal::SalesTaxAccounts(taxCodes, taxNames, taxRates);
  return cash;
}

// Import profiles: an empty profile file gets the ten empty profiles; any
// other is read as it stands.
void Tboeking::ReadImportProfiles() {
  std::vector<records::ImportProfileRec> profiles =
      store::ReadAll<records::ImportProfileRec>(store::FileCode::IFS, store::kSmallFileLimit);
  if (profiles.empty()) {
    profiles = books::journal::EmptyImportProfiles();
    store::RewriteFile(store::FileCode::IFS, profiles);
  }
  ImportProfiles = std::move(profiles);
  BankImport.FillProfileList(1);
}

// The account pickers by number and by name, and the cash accounts.
void Tboeking::FillAccountLists(const std::vector<books::journal::AccountItem>& cash) {
  ComboBox1.ClearItems();
  ComboBox1.AddItem("", -1);
  for (std::size_t i = 0; i < accounts_.size(); ++i)
    ComboBox1.AddItem(books::journal::ByNumberText(accounts_[i]), static_cast<int64_t>(i));
  byName_ = books::journal::SortedByName(accounts_);
  ComboBox13.ClearItems();
  for (std::size_t i = 0; i < byName_.size(); ++i)
    ComboBox13.AddItem(books::journal::ByNameText(byName_[i]), static_cast<int64_t>(i));
  ComboBox4.ClearItems();
  for (const books::journal::AccountItem& item : cash) ComboBox4.AddItem(ByNumberText(item));
}

// The journal list and the journal menu.
void Tboeking::FillJournalLists() {
  const records::AdminSettingsRec& settings = JournalAdminSettings;
  journals_ = books::journal::JournalItems(settings, cashJournals_);
  ComboBox12.ClearItems();
  for (std::size_t i = 0; i < journals_.size(); ++i) ComboBox12.AddItem(journals_[i].name, static_cast<int64_t>(i));
  Salesbook1.SetCaption(books::journal::MenuCaptionText(settings.SalesBookName()));
  Purchasebook1.SetCaption(books::journal::MenuCaptionText(settings.PurchaseBookName()));
  daybook1.SetCaption(books::journal::MenuCaptionText(settings.DayBookName()));
  const auto free = books::journal::FreeJournalMenuItems(settings);
  for (std::size_t j = 0; j < freejournal.size(); ++j) {
    freejournal[j].SetVisible(free[j].has_value());
    freejournal[j].SetCaption(books::journal::MenuCaptionText(free[j].value_or("")));
  }
  const std::vector<books::journal::JournalItem> cashItems = books::journal::CashJournalMenuItems(cashJournals_);
  for (std::size_t k = 0; k < payjournal.size(); ++k) {
    const bool shown = k < cashItems.size();
    payjournal[k].SetVisible(shown);
    payjournal[k].SetCaption(shown ? books::journal::MenuCaptionText(cashItems[k].name) : "");
    payjournalRefs_[k] = shown ? cashItems[k].ref
                               : books::journal::JournalRef{books::journal::JournalKind::Cash, cashJournals_.size()};
  }
}

// The cash account, the list grids, the book periods and what split
// journals show.
void Tboeking::ShowSetUpLists() {
  for (ui::ComboBox* box : {&ComboBox1, &ComboBox13, &ComboBox2}) box->SetVisible(false);

  // The cash account: none leaves the payment buttons off.
  ComboBox4.SetItemIndex(ComboBox4.Count() > 0 ? 0 : -1);
  SpeedButton7.SetEnabled(!ComboBox4.GetText().empty());
  SpeedButton8.SetEnabled(!ComboBox4.GetText().empty());

  for (ui::StringGrid* grid : {&PartnerList.StringGrid1, &Invoice.StringGrid2, &Payment.StringGrid3}) {
    grid->SetRowCount(2);
    grid->SetEnabled(false);
  }

  // Book periods.
  const std::vector<std::string> periods =
      books::journal::BookPeriodItems(JournalAdminSettings.CurrentPeriod(), JournalAdminSettings.PeriodCount());
  Invoice.SetPeriods(periods);

  // Split journals show the journal controls, and the journal decides the
  // invoice kind and the cash account; otherwise the invoice kind and the
  // cash account lists stand in their place and every journal is shown.
  const bool split = books::journal::SplitJournals(JournalAdminSettings);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&ComboBox12, &CheckBox12, &Label71, &Label4, &Label72,
                                                                &Journal1, &SpeedButton14, &SpeedButton15,
                                                                &CheckBox13})
    c->SetVisible(split);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&ComboBox3, &ComboBox4, &Label20,
                                                                &SpeedButton5, &SpeedButton6, &SpeedButton7,
                                                                &SpeedButton8})
    c->SetVisible(!split);
  SpeedButton9.hints.width = split ? 31 : 25;
  SpeedButton9.hints.height = split ? 32 : 25;
  if (!split) {
    CheckBox12.SetChecked(true);
    CheckBox13.SetChecked(true);
  }
}

// The first journal choice starts the new voucher; the document tabs start
// empty; the voucher tab shows.
void Tboeking::ChooseFirstJournal() {
  tabSwitchSuppressed_ = false;
  ComboBox12.SetItemIndex(ComboBox12.Count() > 1 ? 1 : ComboBox12.Count() - 1);
  ChooseJournal(ComboBox12.ItemIndex());
  if (ComboBox12.GetText() != "*" && CheckBox12.Visible()) CheckBox12.SetChecked(false);
  // The document tabs start empty.
  tabSwitchSuppressed_ = true;
  Invoice.ClearInvoiceTab();
  Payment.ClearPaymentTab();
  Button14Click();
  Button18Click();
  tabSwitchSuppressed_ = false;
  PartnerList.ForgetRequester();
  SelectTab(books::journal::TabVoucher);
  shown_ = Snapshot();
}

// ---- journals

void Tboeking::ComboBox12Exit() {
  const int i = JournalChoiceIndex(ItemTexts(ComboBox12), ComboBox12.GetText(), ComboBox12.ItemIndex());
  ComboBox12.SetItemIndex(i);
  ComboBox12CloseUp();
  Label72.SetCaption(ComboBox12.GetText());
  if (ComboBox12.GetText() == "*") CheckBox12.SetChecked(true);
  else if (CheckBox12.Visible()) CheckBox12.SetChecked(false);
}

void Tboeking::PickJournal(const books::journal::JournalRef& journal) {
  for (std::size_t i = 0; i < journals_.size(); ++i)
    if (journals_[i].ref == journal) {
      ComboBox12.SetItemIndex(static_cast<int>(i));
      ComboBox12Exit();
      return;
    }
}

void Tboeking::ComboBox12CloseUp() {
  const int i = ComboBox12.ItemIndex();
  if (i == chosenIndex_) {
    SelectTab(books::journal::TabVoucher);
    return;
  }
  if (!MayDiscard(books::journal::DiscardAction::New)) {
    ComboBox12.SetItemIndex(chosenIndex_);
    return;
  }
  ChooseJournal(i);
}

void Tboeking::ChooseJournal(int index) {
  const bool known = index >= 0 && static_cast<std::size_t>(index) < journals_.size();
  chosenIndex_ = known ? index : -1;
  chosenJournal_ = known ? journals_[static_cast<std::size_t>(index)].name : std::string();
  const bool split = books::journal::SplitJournals(JournalAdminSettings);
  JournalOffer offer;
  if (known) offer = OfferOfJournal(JournalAdminSettings, journals_[static_cast<std::size_t>(index)].ref, split);
  if (offer.invoiceKind) ComboBox3.SetItemIndex(*offer.invoiceKind);
  if (offer.cashJournal && *offer.cashJournal < ComboBox4.Count()) ComboBox4.SetItemIndex(*offer.cashJournal);
  SpeedButton14.SetVisible(split && offer.journalButtons);
  SpeedButton15.SetVisible(split && offer.journalButtons);
  SpeedButton9.SetVisible(false);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Label26, &ComboBox11, &Button4})
    c->SetVisible(offer.templates);
  NewVoucher();
  Label72.SetCaption(chosenJournal_);
  SelectTab(books::journal::TabVoucher);
}

std::optional<std::string> Tboeking::JournalFilter() const {
  if (CheckBox12.Checked()) return std::nullopt;
  return chosenJournal_;
}

// ---- tabs, keys, help, close

void Tboeking::SelectTab(int tab) {
  TabControl1.SetTabIndex(tab);
  TabControl1Change();
}

void Tboeking::FormKeyDown(uint16_t& key, unsigned) {
  if (key == ui::keys::Escape) {
    key = 0;
    Close();
  } else if (key == ui::keys::F1) {
    key = 0;
    JournalizeHelp();
  }
}

void Tboeking::JournalizeHelp() {
  formkit::ShowHelpFrom(*this, JournalHelpTag(TabControl1.TabIndex()), JournalHelpCaptions);
}

void Tboeking::FormCloseQuery(bool& canClose) { canClose = MayDiscard(books::journal::DiscardAction::Close); }

bool Tboeking::MayDiscard(books::journal::DiscardAction action) {
  if (!AskBeforeDiscard(action, shown_, Snapshot())) return true;
  const std::string text = action == books::journal::DiscardAction::Delete ? AskDeleteText() : AskDiscardText();
  return ui::MessageDlg(text, ui::DialogKind::Confirmation, ui::Buttons::YesNo) == ui::ModalResult::Yes;
}

// ---- the screen's values

std::string Tboeking::VoucherDateYmd() const { return text::DateToYmd(DateTimePicker2.Date()); }

books::journal::EntrySnapshot Tboeking::Snapshot() const {
  books::journal::EntrySnapshot s;
  s.voucherNumber = Edit3.GetText();
  s.voucherText = Edit116.GetText();
  s.reference = Edit123.GetText();
  for (int i = 0; i < books::journal::kVoucherLines; ++i)
    for (int c = 1; c <= 6; ++c) s.lines[i][c - 1] = Lines[i].Field(c).GetText();
  return s;
}

bool Tboeking::AccountInLedger(const std::string& number) const {
  const std::string n = text::TrimTrailingBlanks(number);
  if (n.empty()) return false;
  return std::any_of(accounts_.begin(), accounts_.end(),
                     [&n](const books::journal::AccountItem& a) { return a.number == n; });
}

books::journal::EntryScreen Tboeking::Screen() const {
  books::journal::EntryScreen s;
  for (int i = 0; i < books::journal::kVoucherLines; ++i) {
    s.lines[i].accountNumber = text::TrimTrailingBlanks(Lines[i].Number.GetText());
    s.lines[i].debitText = Lines[i].Debit.GetText();
    s.lines[i].creditText = Lines[i].Credit.GetText();
    s.lines[i].accountInLedger = AccountInLedger(Lines[i].Number.GetText());
  }
  s.voucherDate = VoucherDateYmd();
  s.voucherNumber = Edit3.GetText();
  s.mode = mode_;
  s.lowestOpenDate = lowestOpenDate_;
  s.bookYearEnd = JournalAdminSettings.BookYearEnd();
  s.loadedLocked = loaded_ && (loaded_->Locked() ||
                               books::journal::LoadedVoucherLock(
                                   loaded_->records.front().VoucherDate(), loaded_->records.front().BookNumber(),
                                   lowestOpenDate_, loaded_->records.size()) != books::journal::VoucherLock::None);
  s.amountDecimals = Decimals();
  return s;
}

books::journal::Voucher Tboeking::ScreenVoucher() const {
  books::journal::Voucher v;
  v.header.date = VoucherDateYmd();
  v.header.number = Edit3.GetText();
  v.header.text = Edit116.GetText();
  v.header.reference = Edit123.GetText();
  v.header.journal = journal_;
  for (int i = 0; i < books::journal::kVoucherLines; ++i) {
    const EntryLine& l = Lines[i];
    books::journal::VoucherLine line;
    line.text = l.Text.GetText();
    line.account = text::TrimTrailingBlanks(l.Number.GetText());
    line.caption = l.Caption.GetText();
    line.costCentre = l.CostCentre.GetText();
    line.debit = books::journal::ReadEntryAmount(l.Debit.GetText()).value_or(0);
    line.credit = books::journal::ReadEntryAmount(l.Credit.GetText()).value_or(0);
    line.readOnly = readOnly_[i];
    v.lines.push_back(std::move(line));
  }
  v.mode = mode_;
  v.link = link_;
  v.partner = partner_;
  return v;
}

// ---- totals and the Save test

void Tboeking::RecalcTotals() {
  const books::journal::EntryScreen screen = Screen();
  const books::journal::EntryTotals totals = ComputeTotals(screen);
  Edit88.SetText(totals.debitText);
  Edit89.SetText(totals.creditText);
  const books::journal::SaveTest test = TestSave(screen);
  Opslaan.SetEnabled(test.saveEnabled);

  for (EntryLine& line : Lines)
    for (ui::Edit* e : {&line.Number, &line.Debit, &line.Credit}) e->SetBackColor(ui::colors::Default);
  Edit3.SetBackColor(ui::colors::Default);
  DateTimePicker2.SetBackColor(ui::colors::Default);
  for (const books::journal::FieldMark& mark : test.marks) {
    ui::Edit* field = nullptr;
    switch (mark.field) {
      case books::journal::EntryField::VoucherDate:
        DateTimePicker2.SetBackColor(ui::colors::Yellow);
        break;
      case books::journal::EntryField::VoucherNumber:
        field = &Edit3;
        break;
      case books::journal::EntryField::AccountNumber:
        field = &Lines[mark.line - 1].Number;
        break;
      case books::journal::EntryField::Debit:
        field = &Lines[mark.line - 1].Debit;
        break;
      case books::journal::EntryField::Credit:
        field = &Lines[mark.line - 1].Credit;
        break;
    }
    if (field) field->SetBackColor(ui::colors::Yellow);
  }
  if (!test.status.empty()) {
    StatusBar1.Show(test.status, test.statusYellow ? ui::colors::Yellow : ui::colors::Red);
    statusFromTest_ = true;
  } else if (statusFromTest_) {
    StatusBar1.Show("", ui::colors::Default);
    statusFromTest_ = false;
  }
}

// ---- amount fields

void Tboeking::SetAmountText(ui::Edit& e, const std::string& text) {
  if (e.GetText() == text) return;
  amountFilterSkip_ = true;
  e.SetText(text);
  amountFilterSkip_ = false;
}

void Tboeking::AmountChange(int line, int column) {
  ui::Edit& e = Lines[line].Field(column);
  const bool skip = amountFilterSkip_;
  amountFilterSkip_ = false;
  const std::string filtered = books::journal::AmountFieldChanged(e.GetText(), skip);
  if (filtered != e.GetText()) e.SetText(filtered);
  RecalcTotals();
}

void Tboeking::AmountEnter(int line, int column) {
  ui::Edit& e = Lines[line].Field(column);
  amountFilterSkip_ = false;
  const std::string filtered = books::journal::AmountFieldChanged(e.GetText(), false);
  if (filtered != e.GetText()) e.SetText(filtered);
  e.SelectAll();
  amountEntered_ = true;
  amountEnteredAt_ = platform::Now();
}

void Tboeking::AmountClick(int line, int column) {
  // Within 2e-06 day (0.17 s) of entering: the entering click itself.
  if (amountEntered_ && platform::Now() - amountEnteredAt_ < 2e-06) Lines[line].Field(column).SelectAll();
  amountEntered_ = false;
}

void Tboeking::AmountExit(int line, int column) {
  ui::Edit& e = Lines[line].Field(column);
  const books::journal::AmountExit exit = books::journal::AmountFieldLeft(e.GetText(), Decimals());
  if (exit.text != e.GetText()) {
    amountFilterSkip_ = exit.skipNextChange;
    e.SetText(exit.text);
    amountFilterSkip_ = false;
  }
  RecalcTotals();
}

// ---- entry-line keys

void Tboeking::LineKeyPress(int line, int column, char& key) {
  if (key != '\r') return;
  key = 0;
  if (line + 1 < books::journal::kVoucherLines) Lines[line + 1].Field(column).SetFocus();
}

void Tboeking::LineKeyDown(int line, int column, uint16_t& key) {
  if (key == ui::keys::Up && line > 0) {
    key = 0;
    Lines[line - 1].Field(column).SetFocus();
  } else if (key == ui::keys::Down && line + 1 < books::journal::kVoucherLines) {
    key = 0;
    Lines[line + 1].Field(column).SetFocus();
  }
}

// ---- account pickers

void Tboeking::AccountNumberEnter(int line) {
  activeLine_ = line;
  const auto preset = books::journal::PresetItem(accounts_, Lines[line].Number.GetText());
  ComboBox1.SetItemIndex(preset ? static_cast<int>(*preset) + 1 : -1);
  if (!preset) ComboBox1.SetText("");
  ComboBox1.SetVisible(true);
  ComboBox1.SetFocus();
}

void Tboeking::AccountCaptionEnter(int line) {
  activeLine_ = line;
  const auto preset = books::journal::PresetItem(byName_, Lines[line].Number.GetText());
  ComboBox13.SetItemIndex(preset ? static_cast<int>(*preset) : -1);
  if (!preset) ComboBox13.SetText("");
  ComboBox13.SetVisible(true);
  ComboBox13.SetFocus();
}

void Tboeking::CostCentreEnter(int line) {
  activeLine_ = line;
  ComboBox2.SetText(Lines[line].CostCentre.GetText());
  ComboBox2.SetVisible(true);
}

void Tboeking::ComboBox2Change() {
  ComboBox2.SetVisible(false);
  Lines[activeLine_].CostCentre.SetText(ComboBox2.GetText());
  ComboBox2.SetText("");
}

void Tboeking::ComboBox1KeyDown(uint16_t& key, unsigned) {
  if (key == ui::keys::Return) {
    key = 0;
    accountDownMove_ = true;
    // Leaving the picker takes the account and moves down.
    if (ComboBox1.Focused()) Lines[activeLine_].Caption.SetFocus();
    else Lines[activeLine_].Debit.SetFocus();
  } else {
    accountDownMove_ = false;
  }
}

std::optional<books::journal::AccountItem> Tboeking::PickedAccount(const ui::ComboBox& box, bool byName) const {
  const std::vector<books::journal::AccountItem>& items = byName ? byName_ : accounts_;
  const int i = box.ItemIndex();
  if (i >= 0 && box.Items()[i].text == box.GetText() && box.Items()[i].data >= 0 &&
      box.Items()[i].data < static_cast<int64_t>(items.size()))
    return items[static_cast<std::size_t>(box.Items()[i].data)];
  const auto match =
      byName ? books::journal::MatchByName(items, box.GetText()) : books::journal::MatchByNumber(items, box.GetText());
  if (!match) return std::nullopt;
  return items[*match];
}

void Tboeking::TakeAccount(int line, const std::optional<books::journal::AccountItem>& account) {
  Lines[line].Number.SetText(account ? account->number : "");
  Lines[line].Caption.SetText(account ? account->caption : "");
}

namespace {

// Whether the focus went where the user put it (a click on a field or a
// button) rather than to no control, to the pickers' own row or to a
// read-only total (where Tab from a picker lands): then the line's next
// field follows.
bool UserChoseTarget(const ui::Component* target, const ui::Container& pickers) {
  if (!target) return false;
  if (const auto* edit = dynamic_cast<const ui::Edit*>(target); edit && edit->ReadOnly()) return false;
  for (const ui::Container* p = target->Parent(); p; p = p->Parent())
    if (p == &pickers) return false;
  return true;
}

}  // namespace

// Leaving an account picker: the line takes the account, the picker hides,
// and the focus goes down to the same field of the next line (Enter) or on
// to the line's next field, unless the user chose another target.
void Tboeking::AccountPickerExit(ui::ComboBox& picker, bool byName, ui::Edit EntryLine::*sameField,
                                 ui::Edit EntryLine::*nextField) {
  const int line = activeLine_;
  const std::optional<books::journal::AccountItem> account = PickedAccount(picker, byName);
  TakeAccount(line, account);
  // The line's account goes empty; the user is told why.
  const std::string typed = text::TrimText(picker.GetText());
  if (!account && !typed.empty()) StatusBar1.Show(UnknownAccountText(typed), ui::colors::Red);
  picker.SetText("");
  picker.SetVisible(false);
  RecalcTotals();
  const bool down = accountDownMove_;
  accountDownMove_ = false;
  if (down) {
    if (line + 1 < books::journal::kVoucherLines)
      (Lines[line + 1].*sameField).SetFocus();
    else Lines[line].Debit.SetFocus();
  } else if (!UserChoseTarget(ActiveControl(), Panel15) && Showing()) {
    (Lines[line].*nextField).SetFocus();
  }
}

void Tboeking::ComboBox1Exit() { AccountPickerExit(ComboBox1, false, &EntryLine::Number, &EntryLine::Caption); }

void Tboeking::ComboBox13Exit() { AccountPickerExit(ComboBox13, true, &EntryLine::Caption, &EntryLine::Debit); }

void Tboeking::SetEntryLine(int line, const std::string& account, const std::string& text, double amount,
                            char side) {
  EntryLine& l = Lines[line];
  l.Text.SetText(text);
  l.Number.SetText(account);
  l.Caption.SetText(books::journal::CaptionOf(accounts_, account).value_or(""));
  l.CostCentre.SetText("");
  const books::journal::LineAmounts amounts = books::journal::EntryLineAmounts(line + 1, amount, side, Decimals());
  SetAmountText(l.Debit, amounts.debitText);
  SetAmountText(l.Credit, amounts.creditText);
  RecalcTotals();
}

// ---- clearing, New, showing a voucher

void Tboeking::ClearVoucherForm() {
  Verwijderen.SetEnabled(false);
  mode_ = books::journal::EntryMode::Add;
  ShowModeCaption();
  Edit116.SetEnabled(true);
  Edit123.SetReadOnly(false);
  for (ui::ComboBox* box : {&ComboBox1, &ComboBox13, &ComboBox2}) box->SetVisible(false);
  for (ui::Edit* e : {&Edit3, &Edit5, &Edit6, &Edit116, &Edit123}) e->SetText("");
  for (EntryLine& line : Lines)
    for (int c = 1; c <= 6; ++c) {
      ui::Edit& e = line.Field(c);
      if (c == kDebitColumn || c == kCreditColumn) SetAmountText(e, "");
      else e.SetText("");
      e.SetEnabled(true);
    }
  readOnly_.fill(false);
  StatusBar1.Show("", ui::colors::Default);
  statusFromTest_ = false;
  DateTimePicker2.SetEnabled(true);
  Edit3.SetEnabled(true);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit5, &Label30, &Label31, &Edit6, &Button23})
    c->SetVisible(false);
  loaded_.reset();
  link_ = std::monostate{};
  partner_.reset();
}

void Tboeking::SetLowestOpenDate() {
  lowestOpenDate_ = books::journal::LowestOpenDate(JournalAdminSettings, lowestOpenDate_);
  if (!text::IsValidYmd(lowestOpenDate_)) return;
  const platform::TDateTime lowest = text::YmdToDate(lowestOpenDate_);
  for (ui::DatePicker* picker : {&DateTimePicker2, &Invoice.DateTimePicker4}) {
    picker->SetMinDate(std::nullopt);
    if (picker->Date() < lowest) picker->SetDate(lowest);
    picker->SetMinDate(lowest);
  }
}

void Tboeking::NewVoucher() {
  LinkedDocumentKind = DocumentKind::Selection;
  const bool suppressed = tabSwitchSuppressed_;
  tabSwitchSuppressed_ = true;
  ClearVoucherForm();
  ComboBox11.SetText("");
  lastTemplate_.clear();
  tabSwitchSuppressed_ = suppressed;
  SetLowestOpenDate();
  journal_ = books::journal::SplitJournals(JournalAdminSettings) && chosenJournal_ != "*" ? chosenJournal_ : "";
  Label72.SetCaption(chosenJournal_);
  activeLine_ = 0;
  shown_ = Snapshot();
  RecalcTotals();
}

void Tboeking::annulerenExecute() {
  if (!MayDiscard(books::journal::DiscardAction::New)) return;
  NewVoucher();
  FocusVoucherDate();
}

void Tboeking::FocusVoucherDate() {
  if (Showing() && TabControl1.TabIndex() == books::journal::TabVoucher && DateTimePicker2.Reachable())
    DateTimePicker2.SetFocus();
}

void Tboeking::ShowVoucher(const books::journal::LoadedVoucher& v) {
  ClearVoucherForm();
  const records::JournalVoucherRec& first = v.records.front();
  const std::string date = first.VoucherDate();
  const std::string number = first.BookNumber();
  if (!v.invalidDate && text::IsValidYmd(date)) {
    // The minimum follows the voucher, so that a closed period shows.
    const platform::TDateTime d = text::YmdToDate(date);
    DateTimePicker2.SetMinDate(std::nullopt);
    DateTimePicker2.SetDate(d);
    DateTimePicker2.SetMinDate(std::min(d, text::IsValidYmd(lowestOpenDate_) ? text::YmdToDate(lowestOpenDate_) : d));
  }
  Edit3.SetText(number);
  DateTimePicker2.SetEnabled(false);
  Edit3.SetEnabled(false);
  Edit116.SetText(first.TransactionText());
  Edit123.SetText(first.DocumentId());
  journal_ = first.JournalName();
  Label72.SetCaption(journal_.empty() ? "*" : journal_);

  if (first.PartnerNumber() != -1) {
    partner_ = books::journal::VoucherPartner{first.PartnerNumber(), first.PartnerType()};
    for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit5, &Label30, &Label31, &Edit6, &Button23})
      c->SetVisible(true);
    Edit5.SetText(std::to_string(first.PartnerNumber()));
    // An unknown stored kind shows as its code.
    const int k = books::journal::KindIndexOf(first.PartnerType());
    const ui::ComboBox& paymentKinds = Payment.ComboBox6;
    Label30.SetCaption(k >= 0 && k < paymentKinds.Count() ? paymentKinds.Items()[static_cast<std::size_t>(k)].text
                                                           : first.PartnerType());
    Edit6.SetText(date + "/" + number);
    Label31.SetCaption(!text::TrimTrailingBlanks(first.InvoiceNumber()).empty() ? L(3596) : L(3848));
  }
  link_ = books::journal::LinkOf(v);

  const books::journal::VoucherLock lock =
      v.Locked() ? (v.invalidDate      ? books::journal::VoucherLock::InvalidDate
                    : v.overEightLines ? books::journal::VoucherLock::OverEightLines
                                       : books::journal::VoucherLock::SystemVoucher)
                 : books::journal::LoadedVoucherLock(date, number, lowestOpenDate_, v.records.size());
  const bool locked = lock != books::journal::VoucherLock::None;
  const bool profitVoucher = text::TrimText(number) == books::journal::kProfitVoucherNumber;
  const int shownLines = std::min<int>(v.Count(), books::journal::kVoucherLines);
  for (int i = 0; i < shownLines; ++i) {
    const records::JournalVoucherRec& rec = v.records[i];
    EntryLine& l = Lines[i];
    l.Text.SetText(text::TrimTrailingBlanks(rec.LineText()));
    l.Number.SetText(text::TrimTrailingBlanks(rec.AccountNumber()));
    l.Caption.SetText(text::TrimTrailingBlanks(rec.AccountCaption()));
    l.CostCentre.SetText(text::TrimTrailingBlanks(rec.CostCentre()));
    const double debit = rec.DebitAmount(), credit = rec.CreditAmount();
    SetAmountText(l.Debit, debit != 0 || profitVoucher ? text::FormatAmount(debit, Decimals(), 'Y') : "");
    SetAmountText(l.Credit, credit != 0 ? text::FormatAmount(credit, Decimals(), 'Y') : "");
    readOnly_[i] = rec.InvoiceAttached() == 1;
    if (readOnly_[i] || locked)
      for (int c = 1; c <= 6; ++c) l.Field(c).SetEnabled(false);
  }

  loaded_ = v;
  mode_ = books::journal::EntryMode::Change;
  ShowModeCaption();
  Verwijderen.SetEnabled(!locked);
  if (locked) {
    Edit116.SetEnabled(false);
    Edit123.SetReadOnly(true);
  }
  shown_ = Snapshot();
  RecalcTotals();
  if (const std::string text = books::journal::VoucherLockText(lock); !text.empty())
    StatusBar1.Show(text, ui::colors::Yellow);
}

void Tboeking::ShowOutcome(books::journal::StoreOutcome outcome, bool reading) {
  if (const int offset = LanguageOffsetOf(outcome); offset != 0) {
    const bool red = outcome == books::journal::StoreOutcome::FileEmpty && !reading;
    StatusBar1.Show(L(offset), red ? ui::colors::Red : ui::colors::Lime);
  } else {
    StatusBar1.Show(RefusedText(outcome), ui::colors::Red);
  }
  statusFromTest_ = false;
}

// ---- the store

void Tboeking::OpslaanExecute() {
  if (!Opslaan.Enabled()) return;
  StatusBar1.Show("", ui::colors::Default);
  const books::journal::StoreWriteResult r =
      SaveVoucher(ScreenVoucher(), mode_ == books::journal::EntryMode::Change ? loaded_ : std::nullopt);
  if (formkit::ReportFileFailure(r)) return;
  if (!r.Ok()) {
    ShowOutcome(r.outcome, false);
    return;
  }
  // The document the voucher was proposed for is booked now: its tab
  // starts a new one.
  const bool invoice =
      std::holds_alternative<books::journal::InvoiceKey>(link_) && mode_ == books::journal::EntryMode::Add;
  const bool payment =
      std::holds_alternative<books::journal::PaymentKey>(link_) && mode_ == books::journal::EntryMode::Add;
  const bool suppressed = tabSwitchSuppressed_;
  tabSwitchSuppressed_ = true;
  if (invoice) Invoice.ClearInvoiceTab();
  if (payment) Payment.ClearPaymentTab();
  tabSwitchSuppressed_ = suppressed;
  NewVoucher();
  FocusVoucherDate();
}

void Tboeking::VerwijderenExecute() {
  if (!loaded_ || !MayDiscard(books::journal::DiscardAction::Delete)) return;
  const books::journal::StoreWriteResult r = DeleteVoucher(ScreenVoucher(), loaded_);
  if (formkit::ReportFileFailure(r)) return;
  if (!r.Ok()) {
    ShowOutcome(r.outcome, false);
    return;
  }
  NewVoucher();
  FocusVoucherDate();
}

std::pair<std::string, std::string> Tboeking::ShownKey() const {
  // A loaded voucher's own key, also when its stored date is no date the
  // picker could show.
  if (loaded_) return {loaded_->records.front().VoucherDate(), loaded_->records.front().BookNumber()};
  return {VoucherDateYmd(), Edit3.GetText()};
}

void Tboeking::ShowWalkedVoucher(const books::journal::LoadedVoucher& v) {
  ShowVoucher(v);
  // A voucher shows on the voucher tab, wherever the walk started.
  if (TabControl1.TabIndex() != books::journal::TabVoucher && TabControl1.TabIndex() != books::journal::TabTemplate)
    SelectTab(books::journal::TabVoucher);
}

void Tboeking::leesvorigrecordExecute() {
  const auto [date, number] = ShownKey();
  const books::journal::StoreResult r = books::journal::ReadPreviousVoucher(date, number, JournalFilter());
  if (formkit::ReportFileFailure(r)) return;
  if (r.value) ShowWalkedVoucher(*r.value);
  if (!r.Ok()) ShowOutcome(r.outcome, true);
}

void Tboeking::leesvolgendrecordExecute() {
  const auto [date, number] = ShownKey();
  const books::journal::StoreResult r = books::journal::ReadNextVoucher(date, number, JournalFilter());
  if (formkit::ReportFileFailure(r)) return;
  if (r.value) ShowWalkedVoucher(*r.value);
  if (!r.Ok()) ShowOutcome(r.outcome, true);
}

void Tboeking::leeslaatsterecordExecute() {
  NewVoucher();
  const books::journal::StoreResult r = books::journal::ReadLastVoucher(JournalFilter());
  if (formkit::ReportFileFailure(r)) return;
  if (r.value) ShowWalkedVoucher(*r.value);
  if (!r.Ok()) ShowOutcome(r.outcome, true);
}

books::journal::StoreOutcome Tboeking::Image1Click() {
  const DocumentKind kind = LinkedDocumentKind;
  LinkedDocumentKind = DocumentKind::Selection;
  books::journal::StoreResult r;
  if (kind == DocumentKind::Selection) {
    CheckBox12.SetChecked(CheckBox13.Checked());
    r = books::journal::FindNearestVoucher(text::DateToYmd(DateTimePicker1.Date()), Edit1.GetText(), JournalFilter());
  } else {
    const books::journal::DocumentVoucher sought =
        kind == DocumentKind::Invoice
            ? books::journal::InvoiceVoucherSought(text::DateToYmd(Invoice.DateTimePicker4.Date()),
                                                   ComboBox3.ItemIndex(), Invoice.Edit20.GetText(),
                                                   Invoice.Edit7.GetText())
            : books::journal::PaymentVoucherSought(text::DateToYmd(Payment.DateTimePicker7.Date()),
                                                   Payment.ComboBox6.ItemIndex(), Payment.Edit9.GetText(),
                                                   Payment.Edit80.GetText());
    // The document's own voucher, in whatever journal it was saved, or
    // NotFound: never a neighbour shown as if it were the document's.
    if (const auto* invoice = std::get_if<books::journal::InvoiceKey>(&sought.document))
      r = books::journal::FindVoucherOf(*invoice);
    else if (const auto* payment = std::get_if<books::journal::PaymentKey>(&sought.document))
      r = books::journal::FindVoucherOf(*payment);
    else
      r.outcome = books::journal::StoreOutcome::NotFound;
  }
  if (formkit::ReportFileFailure(r)) return r.outcome;
  if (r.value) ShowVoucher(*r.value);
  if (!r.Ok()) ShowOutcome(r.outcome, true);
  SelectTab(books::journal::TabVoucher);
  return r.outcome;
}

// ---- templates

books::journal::VoucherTemplate Tboeking::ScreenTemplate(const std::string& name) const {
  books::journal::VoucherTemplate t;
  t.name = name;
  for (int i = 0; i < books::journal::kVoucherLines; ++i) {
    const EntryLine& l = Lines[i];
    t.lines[i] = {text::TrimTrailingBlanks(l.Text.GetText()),
                  text::TrimTrailingBlanks(l.Number.GetText()),
                  text::TrimTrailingBlanks(l.Caption.GetText()),
                  text::TrimTrailingBlanks(l.CostCentre.GetText()),
                  books::journal::ReadEntryAmount(l.Debit.GetText()).value_or(0),
                  books::journal::ReadEntryAmount(l.Credit.GetText()).value_or(0)};
  }
  return t;
}

void Tboeking::TemplateDeleted() {
  ComboBox11.SetText("");
  LoadTemplateList();
  NewVoucher();
}

void Tboeking::ShowTemplateNotFound() { StatusBar1.Show(TemplateNotFoundText(), ui::colors::Lime); }

void Tboeking::ShowTemplateButton(bool shown) { Button4.SetVisible(shown); }

void Tboeking::LoadTemplateList() {
  const books::journal::TemplateNames list = books::journal::ListTemplates();
  if (formkit::ReportFileFailure(list)) return;
  const std::string text = ComboBox11.GetText();
  ComboBox11.ClearItems();
  ComboBox11.AddItem("");
  for (const std::string& name : *list.value) ComboBox11.AddItem(name);
  ComboBox11.SetText(text);
}

void Tboeking::ComboBox11Select() {
  const std::string name = ComboBox11.GetText();
  if (name == lastTemplate_) return;
  if (!MayDiscard(books::journal::DiscardAction::TemplatePick)) {
    ComboBox11.SetText(lastTemplate_);
    return;
  }
  LoadTemplateNamed(name);
}

void Tboeking::ComboBox11Exit() {
  const std::vector<std::string> items = ItemTexts(ComboBox11);
  const int i = ListChoiceIndex(items, ComboBox11.GetText(), 0);
  ComboBox11.SetItemIndex(i);
  // A template loads when the choice changed; passing through the list
  // keeps what was typed on the loaded one.
  if (ComboBox11.GetText().empty() || ComboBox11.GetText() == lastTemplate_) return;
  ComboBox11Select();
}

void Tboeking::LoadTemplateNamed(const std::string& name) {
  NewVoucher();
  ComboBox11.SetText(name);
  lastTemplate_ = name;
  if (name.empty()) return;
  const books::journal::LoadedTemplate loaded = books::journal::LoadTemplate(name);
  if (formkit::ReportFileFailure(loaded)) return;
  if (!loaded.value) {
    StatusBar1.Show(TemplateNotFoundText(), ui::colors::Red);
    return;
  }
  for (int i = 0; i < books::journal::kVoucherLines; ++i) {
    const books::journal::TemplateLine& t = loaded.value->lines[i];
    EntryLine& l = Lines[i];
    l.Text.SetText(t.text);
    l.Number.SetText(t.accountNumber);
    l.Caption.SetText(t.accountCaption);
    l.CostCentre.SetText(t.costCentre);
    SetAmountText(l.Debit, t.debit != 0 ? text::FormatAmount(t.debit, Decimals(), 'Y') : "");
    SetAmountText(l.Credit, t.credit != 0 ? text::FormatAmount(t.credit, Decimals(), 'Y') : "");
  }
  shown_ = Snapshot();
  RecalcTotals();
}

}  // namespace journal
