// The journal form's tabs: the tab change with its panels, menu items and
// focus, the document tool buttons, the go-to-document button, the invoice
// kind and cash account above the tabs, and the menus, bindings and texts
// that tie the document pages (tabs 2 to 6) to the form.
#include <variant>

#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "journal/formhelpers.h"
#include "platform/numberformat.h"
#include "text/builtintext.h"
#include "text/languagetext.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace journal {

using text::L;

namespace {

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
  Payment.FollowInvoiceKind(ComboBox3.ItemIndex());
  if (tabSwitchSuppressed_) return;
  PanelsForTab(tab);
}

double Tboeking::TryParseAmountOr0(const std::string& text) { return text::TryParseAmount(text).value_or(0); }

void Tboeking::PanelsForTab(int tab) {
  std::array<ui::Panel*, books::journal::JournalTabCount> panels = {
      &Panel6,         &Templates.Panel5,  &Invoice.Panel3,     &Invoice.Panel7,     &PartnerList.Panel4,
      &Payment.Panel1, &Payment.Panel8, &BankImport.Panel9, &BankImport.Panel10};
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
    case books::journal::TabInvoiceList:
      Invoice.Show(tab == books::journal::TabInvoiceList);
      break;
    case books::journal::TabPartnerList:
      if (PartnerList.StringGrid1.Reachable()) PartnerList.StringGrid1.SetFocus();
      break;
    case books::journal::TabPayment:
    case books::journal::TabPaymentList:
      Payment.Show(tab == books::journal::TabPaymentList);
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
  Invoice.ResetListFilters();
  SelectTab(books::journal::TabInvoiceList);
}

void Tboeking::SpeedButton8Click() {
  if (!MayDiscard(books::journal::DiscardAction::New)) return;
  NewVoucher();
  Payment.ResetListFilters();
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
  // The lists are filled for exactly the linked document; the filter boxes
  // the user set stay as they were.
  if (const auto* invoice = std::get_if<books::journal::InvoiceKey>(&link_)) Invoice.GoToLinked(*invoice);
  else if (const auto* payment = std::get_if<books::journal::PaymentKey>(&link_)) Payment.GoToLinked(*payment);
  CheckBox12.SetChecked(all);
}

// ---- drop-down exits

void Tboeking::ComboBox3Exit() {
  ComboBox3.SetItemIndex(ListChoiceIndex(ItemTexts(ComboBox3), ComboBox3.GetText(), 0));
  const std::string text = ComboBox3.GetText();
  Invoice.KindChanged(ComboBox3.ItemIndex(), text);
  Payment.KindChanged(ComboBox3.ItemIndex());
  SpeedButton5.SetHint(NewInvoice1.Caption() + " (" + text + ")");
}

void Tboeking::ComboBox4Exit() {
  ComboBox4.SetItemIndex(ListChoiceIndex(ItemTexts(ComboBox4), ComboBox4.GetText(), 0));
  SpeedButton7.SetHint(NewPayment1.Caption() + " (" + ComboBox4.GetText() + ")");
  // The match tab shows the account an import books on; rows already
  // stored keep theirs.
  BankImport.CashAccountChanged(ComboBox4.GetText());
}

// ---- bindings and texts of the document tabs

void Tboeking::BindDocumentTabs() {
  BindDocumentActions();
  BindDocumentMenus();
  Invoice.Bind();
  PartnerList.Bind();
  Payment.Bind();
  LayOutDocumentTabs();
}

// Actions shared by a button and a menu item, the tool buttons.
void Tboeking::BindDocumentActions() {
  using Clients = std::initializer_list<ui::ActionClient*>;
  auto bind = [](ui::Action& a, Clients clients, std::function<void()> run) {
    a.OnExecute = std::move(run);
    for (ui::ActionClient* c : clients) c->SetAction(&a);
  };
  bind(AddInvoice, {&Invoice.Button9, &AddInvoice1}, [this] { Button9Click(); });
  bind(DeleteInvoice, {&Invoice.Button19, &Delete2}, [this] { Button19Click(); });
  bind(SelectInvoiceRow, {&Invoice.Button13, &SelectRow1}, [this] { Button13Click(); });
  bind(SelectPartnerRow, {&PartnerList.Button11, &SelectRow2}, [this] { Button11Click(); });
  bind(AddPayment, {&Payment.Button15, &AddPayment1}, [this] { Button15Click(); });
  bind(DeletePayment, {&Payment.Button21, &DeletePayment1}, [this] { Button21Click(); });
  bind(SelectPaymentRow, {&Payment.Button17, &Select1}, [this] { Button17Click(); });
  zoekpartner.OnExecute = [this] { zoekpartnerExecute(); };
  aanroeppartner.OnExecute = [this] { aanroeppartnerExecute(); };
  ophalenfacturen.OnExecute = [this] { ophalenfacturenExecute(); };
  nieuwefactuur.OnExecute = [this] { SelectTab(books::journal::TabInvoice); };

  SpeedButton5.OnClick = [this] { SpeedButton5Click(); };
  SpeedButton6.OnClick = [this] { SpeedButton6Click(); };
  SpeedButton7.OnClick = [this] { SpeedButton7Click(); };
  SpeedButton8.OnClick = [this] { SpeedButton8Click(); };
  SpeedButton9.OnClick = [this] { SpeedButton9Click(); };
  SpeedButton14.OnClick = [this] { SpeedButton14Click(); };
  SpeedButton15.OnClick = [this] { SpeedButton15Click(); };
  Button23.OnClick = [this] { Button23Click(); };
  ComboBox3.OnExit = [this] { ComboBox3Exit(); };
  ComboBox3.OnSelect = [this] { ComboBox3Exit(); };
  ComboBox4.OnExit = [this] { ComboBox4Exit(); };
  ComboBox4.OnSelect = [this] { ComboBox4Exit(); };
}

// The document menus' items that no action carries.
void Tboeking::BindDocumentMenus() {
  SearchPartner1.OnClick = [this] { zoekpartner.Execute(); };
  NewPartner1.OnClick = [this] { aanroeppartner.Execute(); };
  SearchPartner2.OnClick = [this] { SpeedButton11Click(); };
  SelectPartner.OnClick = [this] { SelectPartnerClick(); };
  NewInvoice1.OnClick = [this] { SpeedButton5Click(); };
  NewPayment1.OnClick = [this] { SpeedButton7Click(); };
  CancelInvoice1.OnClick = [this] { Button10Click(); };
  SearchInvoice1.OnClick = [this] { Image5Click(); };
  CancelInvoiceList1.OnClick = [this] { Button14Click(); };
  CancelPartnerList1.OnClick = [this] { Button12Click(); };
  CancelPayment1.OnClick = [this] { Button16Click(); };
  Search1.OnClick = [this] { SpeedButton2Click(); };
  CancelPaymentList1.OnClick = [this] { Button18Click(); };
}

void Tboeking::LayOutDocumentTabs() {
  PartnerList.LayOut();
  Invoice.LayOut();
  Payment.LayOut();
  ComboBox3.hints.width = 160;
  ComboBox4.hints.width = 260;
  Panel31.SetBevel(false);
}

void Tboeking::ApplyDocumentTexts() {
  using text::BuiltInText;
  Invoice1.SetCaption(L(4062));
  Payment1.SetCaption(L(4149));
  NewInvoice1.SetCaption(BuiltInText(text::BuiltIn::NewInvoice));
  SearchPartner1.SetCaption(BuiltInText(text::BuiltIn::SearchPartner));
  SearchPartner2.SetCaption(SearchPartner1.Caption());
  SelectPartner.SetCaption(BuiltInText(text::BuiltIn::SelectPartner));
  NewPartner1.SetCaption(BuiltInText(text::BuiltIn::NewPartner));
  AddInvoice1.SetCaption(BuiltInText(text::BuiltIn::AddInvoiceAndProposeJournalVoucher));
  CancelInvoice1.SetCaption(L(306));
  SearchInvoice1.SetCaption(BuiltInText(text::BuiltIn::SearchInvoice));
  SelectRow1.SetCaption(BuiltInText(text::BuiltIn::SelectRow));
  SelectRow2.SetCaption(SelectRow1.Caption());
  CancelInvoiceList1.SetCaption(L(306));
  CancelPartnerList1.SetCaption(L(306));
  NewPayment1.SetCaption(BuiltInText(text::BuiltIn::NewPayment));
  AddPayment1.SetCaption(BuiltInText(text::BuiltIn::AddPaymentAndProposeJV));
  DeletePayment1.SetCaption(L(260));
  CancelPayment1.SetCaption(L(306));
  Search1.SetCaption(BuiltInText(text::BuiltIn::Search));
  Select1.SetCaption(SelectRow1.Caption());
  CancelPaymentList1.SetCaption(L(306));
  DeleteInvoice.SetCaption(L(260));
  DeletePayment.SetCaption(L(260));
  SelectInvoiceRow.SetCaption(BuiltInText(text::BuiltIn::Select));
  SelectPartnerRow.SetCaption(SelectInvoiceRow.Caption());
  SelectPaymentRow.SetCaption(SelectInvoiceRow.Caption());
  Button23.SetCaption(BuiltInText(text::BuiltIn::GoToDocument));
  SpeedButton5.SetHint(NewInvoice1.Caption());
  SpeedButton6.SetHint(SearchInvoice1.Caption());
  SpeedButton7.SetHint(NewPayment1.Caption());
  SpeedButton8.SetHint(Search1.Caption());
  for (ui::ToolButton* b : {&SpeedButton5, &SpeedButton6, &SpeedButton7, &SpeedButton8, &SpeedButton9, &SpeedButton14,
                            &SpeedButton15})
    b->SetCaption(b->Hint());
  SpeedButton9.SetHint(BuiltInText(text::BuiltIn::ImportPayments2));
  SpeedButton9.SetCaption(SpeedButton9.Hint());
  Label20.SetCaption(BuiltInText(text::BuiltIn::BankOrCashAccount));
  Invoice.ApplyTexts();
  Payment.ApplyTexts();
  ApplyListHeads();
}

// The texts the payment page shares with the invoice page, and the lists'
// headings, which take the tabs' captions.
void Tboeking::ApplyListHeads() {
  using text::BuiltInText;
  const InvoicePage& i = Invoice;
  PaymentPage& p = Payment;
  p.Label22.SetCaption(i.Label32.Caption());
  p.CheckBox8.SetCaption(i.CheckBox5.Caption());
  p.CheckBox11.SetCaption(i.CheckBox10.Caption());
  Invoice.SetListHeads({BuiltInText(text::BuiltIn::BookDate), p.Label21.Caption(),
                        i.Label74.Caption(), i.Label16.Caption(), i.CheckBox10.Caption(), i.Label17.Caption(),
                        i.Label18.Caption(), i.Label35.Caption(), i.CheckBox1.Caption(), i.Label36.Caption(),
                        i.Label37.Caption(), i.Label38.Caption(), i.Label19.Caption(), i.Label73.Caption()});
  Payment.SetListHeads({p.Label76.Caption(), p.Label21.Caption(), p.Label75.Caption(), p.Label77.Caption(),
                        p.Label24.Caption(), p.Label86.Caption(), p.Label82.Caption(), p.Label83.Caption(),
                        p.Label84.Caption() + " 1", p.Label84.Caption() + " 2", p.Label84.Caption() + " 3",
                        p.Label84.Caption() + " 4", p.Label84.Caption() + " 5", p.Label84.Caption() + " 6",
                        p.Label85.Caption(), p.CheckBox2.Caption()});
  PartnerList.ApplyTexts(L(306), {i.Label74.Caption(), BuiltInText(text::BuiltIn::Name), i.Label34.Caption(),
                                  BuiltInText(text::BuiltIn::Town),
                                  BuiltInText(text::BuiltIn::TheirNumber), p.Label24.Caption()});
}

}  // namespace journal
