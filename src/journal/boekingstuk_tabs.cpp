// The journal form's tabs: the tab change with its panels, menu items and
// focus, the document tool buttons, the go-to-document button, the
// drop-down exits of the document tabs, and the bindings and texts of tabs
// 2 to 6.
#include <variant>

#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "platform/numberformat.h"
#include "text/builtintext.h"
#include "text/languagetext.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace journal {

using text::L;

namespace {

std::vector<std::string> Texts(const ui::ComboBox& box) {
  std::vector<std::string> texts;
  for (const auto& item : box.Items()) texts.push_back(item.text);
  return texts;
}

// The menu items a tab enables (beyond those that follow their buttons).
std::vector<ui::MenuItem*> TabMenuItems(Tboeking& f, int tab) {
  switch (tab) {
    case books::journal::TabInvoice:
      return {&f.SelectPartner, &f.SearchPartner1, &f.NewPartner1, &f.CancelInvoice1};
    case books::journal::TabInvoiceList:
      return {&f.SearchInvoice1, &f.CancelInvoiceList1, &f.SelectPartner, &f.SearchPartner1};
    case books::journal::TabPartnerList:
      return {&f.CancelPartnerList1};
    case books::journal::TabPayment:
      return {&f.SearchPartner2, &f.CancelPayment1, &f.SelectPartner, &f.NewPartner1};
    case books::journal::TabPaymentList:
      return {&f.Search1, &f.CancelPaymentList1, &f.SelectPartner, &f.SearchPartner2};
    default: return {};
  }
}

}  // namespace

void Tboeking::TabControl1Change() {
  const int tab = TabControl1.TabIndex();
  Cancel1.SetVisible(true);
  Cancel1.SetEnabled(tab == books::journal::TabVoucher);
  for (ui::Action* a : {&sjabloonopslaan, &sjabloonverwijderen, &sjabloonannuleren}) a->SetEnabled(false);
  for (ui::MenuItem* item : {&SearchPartner1, &SelectPartner, &NewPartner1, &CancelInvoice1, &SearchInvoice1,
                             &CancelInvoiceList1, &CancelPartnerList1, &SearchPartner2, &CancelPayment1, &Search1,
                             &CancelPaymentList1})
    item->SetEnabled(false);
  Edit7Exit();
  // An empty new payment takes the invoice kind, through its kind handler; a
  // payment being typed keeps its own.
  if (paymentState_ == DocumentState::New && Edit9.GetText().empty() && !paymentPartner_ &&
      ComboBox6.ItemIndex() != ComboBox3.ItemIndex() && ComboBox6.ItemIndex() < 2 &&
      (Edit30.GetText().empty() || TryParseAmountOr0(Edit30.GetText()) == 0)) {
    ComboBox6.SetItemIndex(ComboBox3.ItemIndex());
    ComboBox6Select();
  }
  if (tabSwitchSuppressed_) return;
  PanelsForTab(tab);
}

double Tboeking::TryParseAmountOr0(const std::string& text) { return text::TryParseAmount(text).value_or(0); }

void Tboeking::PanelsForTab(int tab) {
  std::array<ui::Panel*, books::journal::JournalTabCount> panels = {
      &Panel6, &Templates.Panel5, &Panel3, &Panel7, &PartnerList.Panel4, &Panel1, &Panel8, &BankImport.Panel9,
      &BankImport.Panel10};
  for (ui::Panel* p : panels) {
    p->SetVisible(false);
    p->SetEnabled(false);
  }
  if (tab < 0 || tab >= books::journal::JournalTabCount) return;
  panels[tab]->SetVisible(true);
  panels[tab]->SetEnabled(true);
  for (ui::MenuItem* item : TabMenuItems(*this, tab)) item->SetEnabled(true);
  switch (tab) {
    case books::journal::TabVoucher:
      if (Button7.Reachable()) Button7.SetFocus();
      break;
    case books::journal::TabTemplate:
      // The lines are shown, not edited, beside the template panel.
      Panel6.SetVisible(true);
      for (ui::Action* a : {&sjabloonopslaan, &sjabloonverwijderen, &sjabloonannuleren}) a->SetEnabled(true);
      Templates.Show();
      break;
    case books::journal::TabInvoice:
      if (!invoicePartner_) Label23.SetCaption(ComboBox3.GetText());
      if (Edit7.Reachable()) Edit7.SetFocus();
      else if (Button10.Reachable()) Button10.SetFocus();
      break;
    case books::journal::TabInvoiceList:
      if (CheckBox3.Reachable()) CheckBox3.SetFocus();
      break;
    case books::journal::TabPartnerList:
      if (PartnerList.StringGrid1.Reachable()) PartnerList.StringGrid1.SetFocus();
      break;
    case books::journal::TabPayment:
      if (Edit8.Reachable()) Edit8.SetFocus();
      else if (Edit37.Reachable()) Edit37.SetFocus();
      break;
    case books::journal::TabPaymentList:
      if (CheckBox7.Reachable()) CheckBox7.SetFocus();
      break;
    case books::journal::TabPaymentImport:
      BankImport.Show();
      break;
    default: break;
  }
}

// ---- tool buttons

void Tboeking::SpeedButton5Click() {
  if (!MayDiscard(books::journal::DiscardAction::New)) return;
  NewVoucher();
  Button10Click();
  SelectTab(books::journal::TabInvoice);
}

void Tboeking::SpeedButton6Click() {
  if (!MayDiscard(books::journal::DiscardAction::New)) return;
  NewVoucher();
  CheckBox3.SetChecked(true);
  CheckBox4.SetChecked(true);
  for (ui::CheckBox* c : {&CheckBox5, &CheckBox6, &CheckBox10}) c->SetChecked(false);
  SelectTab(books::journal::TabInvoiceList);
}

void Tboeking::SpeedButton8Click() {
  if (!MayDiscard(books::journal::DiscardAction::New)) return;
  NewVoucher();
  CheckBox7.SetChecked(true);
  for (ui::CheckBox* c : {&CheckBox8, &CheckBox9, &CheckBox11}) c->SetChecked(false);
  SelectTab(books::journal::TabPaymentList);
  StatusBar1.Show("", ui::colors::Default);
}

void Tboeking::SpeedButton9Click() { SelectTab(books::journal::TabPaymentImport); }

void Tboeking::SpeedButton14Click() {
  const bool cash = chosenIndex_ >= 0 && static_cast<std::size_t>(chosenIndex_) < journals_.size() &&
                    journals_[static_cast<std::size_t>(chosenIndex_)].ref.kind == books::journal::JournalKind::Cash;
  if (cash) SpeedButton8Click();
  else SpeedButton6Click();
}

void Tboeking::SpeedButton15Click() {
  if (chosenIndex_ < 0 || static_cast<std::size_t>(chosenIndex_) >= journals_.size()) return;
  switch (journals_[static_cast<std::size_t>(chosenIndex_)].ref.kind) {
    case books::journal::JournalKind::Sales:
    case books::journal::JournalKind::Purchase:
    case books::journal::JournalKind::Free:
      SpeedButton5Click();
      break;
    case books::journal::JournalKind::Cash:
      if (ComboBox4.GetText().empty()) {
        // No cash account to pay through: a new voucher on the voucher tab.
        ComboBox3.SetItemIndex(0);
        annulerenExecute();
        SelectTab(books::journal::TabVoucher);
      } else {
        SpeedButton7Click();
      }
      break;
    case books::journal::JournalKind::Day:
      break;
  }
}

void Tboeking::SelectPartnerClick() {
  const int tab = TabControl1.TabIndex();
  if (tab == books::journal::TabInvoice || tab == books::journal::TabInvoiceList)
    zoekpartner.Execute();
  else if (tab == books::journal::TabPayment || tab == books::journal::TabPaymentList)
    SpeedButton11Click();
}

// ---- go to the document of the shown voucher

void Tboeking::Button23Click() {
  const bool all = CheckBox12.Checked();
  CheckBox12.SetChecked(true);
  goToDocument_ = true;
  // The lists are filled for exactly the linked document; the filter boxes
  // the user set stay as they were.
  if (const auto* invoice = std::get_if<books::journal::InvoiceKey>(&link_)) {
    books::journal::InvoiceFilter filter;
    filter.owing = filter.withoutVoucher = false;
    filter.linked = *invoice;
    FillInvoiceList(filter, 0);
    if (singleListRow_) {
      StringGrid2.SetRow(1);
      Button13Click();
    }
  } else if (const auto* payment = std::get_if<books::journal::PaymentKey>(&link_)) {
    books::journal::PaymentFilter filter;
    filter.withoutVoucher = false;
    filter.linked = *payment;
    FillPaymentList(filter, 0);
    if (singleListRow_) {
      StringGrid3.SetRow(1);
      Button17Click();
    }
  }
  goToDocument_ = false;
  CheckBox12.SetChecked(all);
}

// ---- drop-down exits

void Tboeking::ComboBox3Exit() {
  ComboBox3.SetItemIndex(ListChoiceIndex(Texts(ComboBox3), ComboBox3.GetText(), 0));
  const std::string text = ComboBox3.GetText();
  ComboBox7.SetItemIndex(ComboBox3.ItemIndex());
  ComboBox8.SetItemIndex(ComboBox3.ItemIndex());
  SpeedButton5.SetHint(NewInvoice1.Caption() + " (" + text + ")");
  if (!invoicePartner_) Label23.SetCaption(text);
}

void Tboeking::ComboBox7Exit() { ComboBox7.SetItemIndex(ListChoiceIndex(Texts(ComboBox7), ComboBox7.GetText(), 0)); }

// The payment list's kind filter: a typed kind in other capitals is taken,
// anything else is the first kind.
void Tboeking::ComboBox8Exit() { ComboBox8.SetItemIndex(ListChoiceIndex(Texts(ComboBox8), ComboBox8.GetText(), 0)); }

void Tboeking::ComboBox5Exit() {
  ComboBox5.SetItemIndex(ListChoiceIndex(Texts(ComboBox5), ComboBox5.GetText(), 1));
  ComboBox5Change();
}

void Tboeking::ComboBox6Exit() {
  ComboBox6.SetItemIndex(ListChoiceIndex(Texts(ComboBox6), ComboBox6.GetText(), 0));
  ComboBox6Select();
}

void Tboeking::ComboBox4Exit() {
  ComboBox4.SetItemIndex(ListChoiceIndex(Texts(ComboBox4), ComboBox4.GetText(), 0));
  SpeedButton7.SetHint(NewPayment1.Caption() + " (" + ComboBox4.GetText() + ")");
  // The match tab shows the account an import books on; rows already
  // stored keep theirs.
  BankImport.CashAccountChanged(ComboBox4.GetText());
}

// ---- bindings and texts of the document tabs

void Tboeking::BindDocumentTabs() {
  BindDocumentActions();
  BindInvoiceEvents();
  BindPaymentEvents();
  BindDocumentAmountFields();
  LayOutDocumentTabs();
}

// Actions shared by a button and a menu item, the partner buttons, the
// tool buttons.
void Tboeking::BindDocumentActions() {
  using Clients = std::initializer_list<ui::ActionClient*>;
  auto bind = [](ui::Action& a, Clients clients, std::function<void()> run) {
    a.OnExecute = std::move(run);
    for (ui::ActionClient* c : clients) c->SetAction(&a);
  };
  bind(AddInvoice, {&Button9, &AddInvoice1}, [this] { Button9Click(); });
  bind(DeleteInvoice, {&Button19, &Delete2}, [this] { Button19Click(); });
  bind(SelectInvoiceRow, {&Button13, &SelectRow1}, [this] { Button13Click(); });
  bind(SelectPartnerRow, {&PartnerList.Button11, &SelectRow2}, [this] { Button11Click(); });
  bind(AddPayment, {&Button15, &AddPayment1}, [this] { Button15Click(); });
  bind(DeletePayment, {&Button21, &DeletePayment1}, [this] { Button21Click(); });
  bind(SelectPaymentRow, {&Button17, &Select1}, [this] { Button17Click(); });
  zoekpartner.OnExecute = [this] { zoekpartnerExecute(); };
  aanroeppartner.OnExecute = [this] { aanroeppartnerExecute(); };
  ophalenfacturen.OnExecute = [this] { ophalenfacturenExecute(); };
  nieuwefactuur.OnExecute = [this] { SelectTab(books::journal::TabInvoice); };
  for (ui::Component* c : std::initializer_list<ui::Component*>{&SpeedButton4, &SpeedButton12, &SearchPartner1})
    c->OnClick = [this] { zoekpartner.Execute(); };
  for (ui::Component* c : std::initializer_list<ui::Component*>{&SpeedButton1, &SpeedButton10, &NewPartner1})
    c->OnClick = [this] { aanroeppartner.Execute(); };
  for (ui::Component* c : std::initializer_list<ui::Component*>{&SpeedButton11, &SpeedButton13, &SearchPartner2})
    c->OnClick = [this] { SpeedButton11Click(); };
  SelectPartner.OnClick = [this] { SelectPartnerClick(); };
  auto onEnter = [](ui::Component& c, std::function<void()> run) {
    c.OnKeyPress = [run = std::move(run)](char& key) {
      if (key != '\r') return;
      key = 0;
      run();
    };
  };
  onEnter(Edit4, [this] { zoekpartner.Execute(); });
  onEnter(Edit58, [this] { zoekpartner.Execute(); });
  for (ui::Edit* e : {&Edit8, &Edit37, &Edit79}) onEnter(*e, [this] { SpeedButton11Click(); });

  // Tool buttons and menu items.
  SpeedButton5.OnClick = [this] { SpeedButton5Click(); };
  NewInvoice1.OnClick = [this] { SpeedButton5Click(); };
  SpeedButton6.OnClick = [this] { SpeedButton6Click(); };
  SpeedButton7.OnClick = [this] { SpeedButton7Click(); };
  NewPayment1.OnClick = [this] { SpeedButton7Click(); };
  SpeedButton8.OnClick = [this] { SpeedButton8Click(); };
  SpeedButton9.OnClick = [this] { SpeedButton9Click(); };
  SpeedButton14.OnClick = [this] { SpeedButton14Click(); };
  SpeedButton15.OnClick = [this] { SpeedButton15Click(); };
  Button23.OnClick = [this] { Button23Click(); };
}

// The invoice tab and list, and the partner list.
void Tboeking::BindInvoiceEvents() {
  Button10.OnClick = [this] { Button10Click(); };
  CancelInvoice1.OnClick = [this] { Button10Click(); };
  Image5.OnClick = [this] { Image5Click(); };
  SearchInvoice1.OnClick = [this] { Image5Click(); };
  Button14.OnClick = [this] { Button14Click(); };
  CancelInvoiceList1.OnClick = [this] { Button14Click(); };
  BitBtn5.OnClick = [this] { BitBtn5Click(); };
  BitBtn6.OnClick = [this] { BitBtn6Click(); };
  StringGrid2.OnDblClick = [this] { SelectInvoiceRow.Execute(); };
  DateTimePicker3.OnChange = [this] { DateTimePicker3Change(); };
  DateTimePicker4.OnChange = [this] { Edit7Exit(); };
  ComboBox5.OnChange = [this] { ComboBox5Change(); };
  ComboBox5.OnSelect = [this] { ComboBox5Change(); };
  ComboBox5.OnExit = [this] { ComboBox5Exit(); };
  ComboBox3.OnExit = [this] { ComboBox3Exit(); };
  ComboBox3.OnSelect = [this] { ComboBox3Exit(); };
  ComboBox7.OnExit = [this] { ComboBox7Exit(); };
  ComboBox8.OnExit = [this] { ComboBox8Exit(); };
  ComboBox8.OnSelect = [this] { ComboBox8Exit(); };
  Edit7.OnExit = [this] { Edit7Exit(); };
  Edit7.OnChange = [this] { Edit7Exit(); };
  Edit20.OnChange = [this] { Edit7Exit(); };
  Edit17.OnExit = [this] { InvoiceAmountExit(false); };
  Edit124.OnExit = [this] { InvoiceAmountExit(true); };
  SpeedButton3.OnClick = [this] { SpeedButton3Click(); };
  CheckBox6.OnClick = [this] { CheckBox6Click(); };
  CheckBox10.OnClick = [this] { CheckBox10Click(); };

  // Partner list.
  CancelPartnerList1.OnClick = [this] { Button12Click(); };
  PartnerList.Bind();
}

// The payment tab and list.
void Tboeking::BindPaymentEvents() {
  Button16.OnClick = [this] { Button16Click(); };
  CancelPayment1.OnClick = [this] { Button16Click(); };
  SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  Search1.OnClick = [this] { SpeedButton2Click(); };
  Button18.OnClick = [this] { Button18Click(); };
  CancelPaymentList1.OnClick = [this] { Button18Click(); };
  BitBtn3.OnClick = [this] { BitBtn3Click(); };
  BitBtn4.OnClick = [this] { BitBtn4Click(); };
  StringGrid3.OnDblClick = [this] { SelectPaymentRow.Execute(); };
  CheckListBox1.OnClickCheck = [this](int i) { CheckListBox1Click(i); };
  ComboBox6.OnSelect = [this] { ComboBox6Select(); };
  ComboBox6.OnExit = [this] { ComboBox6Exit(); };
  ComboBox4.OnExit = [this] { ComboBox4Exit(); };
  ComboBox4.OnSelect = [this] { ComboBox4Exit(); };
  Edit9.OnChange = [this] { Edit9Change(); };
  Edit30.OnExit = [this] { Edit30Exit(); };
  CheckBox9.OnClick = [this] { CheckBox9Click(); };
  CheckBox11.OnClick = [this] { CheckBox11Click(); };
}

// The document amount fields: filtered while typed, wholly selected on
// entry, the caret at the start on a click.
void Tboeking::BindDocumentAmountFields() {
  for (ui::Edit* e : {&Edit17, &Edit124, &Edit30}) {
    e->OnChange = [this, e, prev = e->OnChange] {
      if (!amountFilterSkip_) {
        const std::string filtered = books::journal::AmountFieldChanged(e->GetText(), false);
        if (filtered != e->GetText()) SetAmountText(*e, filtered);
      }
      if (prev) prev();
    };
    e->OnEnter = [e] { e->SelectAll(); };
    e->OnClick = [e] { e->SetSelection(0, 0); };
  }
  Edit30.OnChange = [this, prev = Edit30.OnChange] {
    if (prev) prev();
    Edit9Change();
  };
}

void Tboeking::LayOutDocumentTabs() {
  PartnerList.LayOut();
  Panel3.gridColumns = 4;
  ComboBox3.hints.width = 160;
  ComboBox4.hints.width = 260;
  Panel1.gridColumns = 4;
  Panel26.gridColumns = 3;
  for (ui::Panel* p : {&Panel18, &Panel19, &Panel20, &Panel21, &Panel22, &Panel23, &Panel25, &Panel26,
                       &Panel27, &Panel28, &Panel29, &Panel30, &Panel31})
    p->SetBevel(false);
  for (ui::Edit* e : {&Edit27, &Edit28, &Edit18, &Edit57, &Edit39, &Edit49, &Edit50, &Edit10, &Edit29, &Edit40, &Edit69,
                      &Edit70, &Edit77, &Edit78, &Edit80, &Edit20, &Edit9})
    e->SetReadOnly(true);
  Edit19.SetMaxLength(80);
  Edit87.SetMaxLength(10);
  Edit7.SetMaxLength(15);
  Edit37.SetMaxLength(15);
  Edit47.SetMaxLength(60);
  Edit96.SetMaxLength(10);
  Edit113.SetMaxLength(60);
  for (ui::Edit* e : {&Edit38, &Edit48, &Edit59, &Edit60, &Edit67, &Edit68}) e->SetMaxLength(60);
  for (ui::Edit* e : {&Edit19, &Edit28, &Edit27, &Edit113, &Edit47}) e->hints.minWidth = 260;
  CheckBox1.SetEnabled(false);
  CheckBox2.SetEnabled(false);
  for (ui::StringGrid* g : {&StringGrid2, &StringGrid3}) {
    g->hints.stretch = 1;
    g->hints.height = 260;
  }
  CheckListBox1.hints.height = 120;
  CheckBox3.SetChecked(true);
  CheckBox4.SetChecked(true);
  CheckBox7.SetChecked(true);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit97, &Edit98, &Panel22, &Panel29, &BitBtn3, &BitBtn4, &BitBtn5, &BitBtn6})
    c->SetVisible(false);
}

void Tboeking::ApplyDocumentTexts() {
  using text::BuiltInText;
  Invoice1.SetCaption(L(4062));
  Payment1.SetCaption(L(4149));
  // The booked marks of the invoice and payment tabs ("JV created").
  CheckBox1.SetCaption(L(3640));
  CheckBox2.SetCaption(L(3640));
  NewInvoice1.SetCaption(BuiltInText("New Invoice", "Nieuwe factuur", "Neue Rechnung"));
  SearchPartner1.SetCaption(BuiltInText("Search Partner", "Relatie zoeken", "Partner suchen"));
  SearchPartner2.SetCaption(SearchPartner1.Caption());
  SelectPartner.SetCaption(BuiltInText("Select Partner", "Relatie kiezen", "Partner wählen"));
  NewPartner1.SetCaption(BuiltInText("New Partner", "Nieuwe relatie", "Neuer Partner"));
  AddInvoice1.SetCaption(BuiltInText("Add Invoice and Propose Journal Voucher", "Factuur toevoegen en boeking voorstellen",
                                     "Rechnung hinzufügen und Buchung vorschlagen"));
  CancelInvoice1.SetCaption(L(306));
  SearchInvoice1.SetCaption(BuiltInText("Search Invoice", "Factuur zoeken", "Rechnung suchen"));
  SelectRow1.SetCaption(BuiltInText("Select row", "Regel kiezen", "Zeile wählen"));
  SelectRow2.SetCaption(SelectRow1.Caption());
  CancelInvoiceList1.SetCaption(L(306));
  CancelPartnerList1.SetCaption(L(306));
  NewPayment1.SetCaption(BuiltInText("New payment", "Nieuwe betaling", "Neue Zahlung"));
  AddPayment1.SetCaption(BuiltInText("Add Payment and Propose JV", "Betaling toevoegen en boeking voorstellen",
                                     "Zahlung hinzufügen und Buchung vorschlagen"));
  DeletePayment1.SetCaption(L(260));
  CancelPayment1.SetCaption(L(306));
  Search1.SetCaption(BuiltInText("Search", "Zoeken", "Suchen"));
  Select1.SetCaption(SelectRow1.Caption());
  CancelPaymentList1.SetCaption(L(306));
  DeleteInvoice.SetCaption(L(260));
  DeletePayment.SetCaption(L(260));
  SelectInvoiceRow.SetCaption(BuiltInText("Select", "Kiezen", "Wählen"));
  SelectPartnerRow.SetCaption(SelectInvoiceRow.Caption());
  SelectPaymentRow.SetCaption(SelectInvoiceRow.Caption());
  for (ui::Button* b : {&Button10, &Button14, &Button16, &Button18}) b->SetCaption(L(306));
  Image5.SetCaption(SearchInvoice1.Caption());
  SpeedButton2.SetCaption(Search1.Caption());
  Button23.SetCaption(BuiltInText("Go to document", "Naar het document", "Zum Beleg"));
  SpeedButton5.SetHint(NewInvoice1.Caption());
  SpeedButton6.SetHint(SearchInvoice1.Caption());
  SpeedButton7.SetHint(NewPayment1.Caption());
  SpeedButton8.SetHint(Search1.Caption());
  for (ui::ToolButton* b : {&SpeedButton5, &SpeedButton6, &SpeedButton7, &SpeedButton8, &SpeedButton9, &SpeedButton14,
                            &SpeedButton15})
    b->SetCaption(b->Hint());
  SpeedButton9.SetHint(BuiltInText("Import payments", "Betalingen inlezen", "Zahlungen einlesen"));
  SpeedButton9.SetCaption(SpeedButton9.Hint());
  Label15.SetCaption(BuiltInText("Book date", "Boekdatum", "Buchungsdatum"));
  Label17.SetCaption(BuiltInText("Amount", "Bedrag", "Betrag"));
  Label73.SetCaption(BuiltInText("Prepaid", "Vooruitbetaald", "Vorausbezahlt"));
  Label18.SetCaption(BuiltInText("Paid", "Betaald", "Bezahlt"));
  Label19.SetCaption(BuiltInText("Owing", "Open", "Offen"));
  Label20.SetCaption(BuiltInText("Bank or cash account", "Bank- of kasrekening", "Bank- oder Kassenkonto"));
  Label21.SetCaption(BuiltInText("Kind", "Soort", "Art"));
  Label22.SetCaption(Label32.Caption());
  Label24.SetCaption(BuiltInText("Bank account", "Bankrekening", "Bankkonto"));
  CheckBox3.SetCaption(BuiltInText("Owing amount", "Openstaand bedrag", "Offener Betrag") + "  <> 0" +
                       std::string(1, platform::DecimalSeparator()) + "00");
  CheckBox4.SetCaption(BuiltInText("Without Journal voucher", "Zonder boeking", "Ohne Buchung"));
  CheckBox5.SetCaption(BuiltInText("All", "Alle", "Alle"));
  CheckBox6.SetCaption(BuiltInText("Select partner", "Relatie kiezen", "Partner wählen"));
  CheckBox10.SetCaption(BuiltInText("Entrynumber", "Stuknummer", "Belegnummer"));
  CheckBox7.SetCaption(BuiltInText("Without JV", "Zonder boeking", "Ohne Buchung"));
  CheckBox8.SetCaption(CheckBox5.Caption());
  CheckBox9.SetCaption(BuiltInText("Selected partner", "Gekozen relatie", "Gewählter Partner"));
  CheckBox11.SetCaption(CheckBox10.Caption());
  const std::vector<std::string> invoiceHeads = {
      BuiltInText("Book date", "Boekdatum", "Buchungsdatum"), Label21.Caption(), Label74.Caption(), Label16.Caption(),
      CheckBox10.Caption(), Label17.Caption(), Label18.Caption(), Label35.Caption(), CheckBox1.Caption(),
      Label36.Caption(), Label37.Caption(), Label38.Caption(), Label19.Caption(), Label73.Caption()};
  for (int c = 0; c < static_cast<int>(invoiceHeads.size()); ++c) StringGrid2.SetCell(c, 0, invoiceHeads[c]);
  const std::vector<std::string> paymentHeads = {
      Label76.Caption(), Label21.Caption(), Label75.Caption(), Label77.Caption(), Label24.Caption(),
      Label86.Caption(), Label82.Caption(), Label83.Caption(), Label84.Caption() + " 1", Label84.Caption() + " 2",
      Label84.Caption() + " 3", Label84.Caption() + " 4", Label84.Caption() + " 5", Label84.Caption() + " 6",
      Label85.Caption(), CheckBox2.Caption()};
  for (int c = 0; c < static_cast<int>(paymentHeads.size()); ++c) StringGrid3.SetCell(c, 0, paymentHeads[c]);
  const std::vector<std::string> partnerHeads = {Label74.Caption(), BuiltInText("Name", "Naam", "Name"),
                                                 Label34.Caption(),
                                                 BuiltInText("Town", "Plaats", "Ort"),
                                                 BuiltInText("Their number", "Hun nummer", "Ihre Nummer"),
                                                 Label24.Caption()};
  PartnerList.ApplyTexts(L(306), partnerHeads);
}

}  // namespace journal
