// The journal form's partner lookup: the searches of the invoice tab, the
// invoice list, the payment tab and the payment list (the partner list,
// tab 4, is partnerlistpage.cpp), the partner taken by the tab that asked
// for it and only there, and the new partner made through the partner form.
#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "text/builtintext.h"
#include "text/languagetext.h"
#include "text/textroutines.h"

namespace journal {

using books::partners::PartnerKind;
using text::L;

namespace {

std::string AddressOf(const records::PartnerRec& p) {
  return text::TrimTrailingBlanks(p.Address()) + ", " + text::TrimTrailingBlanks(p.Town());
}

}  // namespace

void Tboeking::zoekpartnerExecute() {
  StatusBar1.Show("", ui::colors::Default);
  if (TabControl1.TabIndex() == books::journal::TabInvoiceList) {
    const auto kind = books::partners::KindFromItemIndex(ComboBox7.ItemIndex()).value_or(PartnerKind::Customer);
    SearchPartnerFor(books::journal::PartnerRequester::InvoiceList, kind, Edit58.GetText());
  } else {
    const auto kind = books::partners::KindFromItemIndex(ComboBox3.ItemIndex()).value_or(PartnerKind::Customer);
    SearchPartnerFor(books::journal::PartnerRequester::InvoiceTab, kind, Edit4.GetText());
  }
}

void Tboeking::SpeedButton11Click() {
  StatusBar1.Show("", ui::colors::Default);
  if (TabControl1.TabIndex() == books::journal::TabPaymentList) {
    const auto kind = books::partners::KindFromItemIndex(ComboBox8.ItemIndex()).value_or(PartnerKind::Customer);
    SearchPartnerFor(books::journal::PartnerRequester::PaymentList, kind, Edit79.GetText());
    return;
  }
  // The payment tab: a receipt or payment without partner has none to find.
  const auto kind = books::partners::KindFromItemIndex(ComboBox6.ItemIndex());
  if (!kind) return;
  ClearPaymentPartner();
  SearchPartnerFor(books::journal::PartnerRequester::PaymentTab, *kind, Edit8.GetText());
}

void Tboeking::SearchPartnerFor(books::journal::PartnerRequester requester, PartnerKind kind, const std::string& text) {
  PartnerList.Search(requester, kind, text);
}

std::string Tboeking::PartnerKindText(int kind) const {
  return ComboBox3.Count() > kind ? ComboBox3.Items()[static_cast<std::size_t>(kind)].text : std::string();
}

void Tboeking::TakePartner(books::journal::PartnerRequester requester, const records::PartnerRec& partner) {
  PartnerList.ForgetRequester();
  const std::string number = std::to_string(partner.OurNumber());
  const std::string name = text::TrimTrailingBlanks(partner.Name());
  switch (requester) {
    case books::journal::PartnerRequester::InvoiceTab:
    case books::journal::PartnerRequester::InvoiceRow:
      SetInvoicePartner(partner);
      if (requester == books::journal::PartnerRequester::InvoiceTab) SelectTab(books::journal::TabInvoice);
      break;
    case books::journal::PartnerRequester::InvoiceList:
      Edit39.SetText(number);
      Edit49.SetText(name);
      Edit50.SetText(AddressOf(partner));
      SelectTab(books::journal::TabInvoiceList);
      break;
    case books::journal::PartnerRequester::PaymentTab:
      SetPaymentPartner(partner);
      StatusBar1.Show("", ui::colors::Default);
      SelectTab(books::journal::TabPayment);
      break;
    case books::journal::PartnerRequester::PaymentList:
      Edit70.SetText(number);
      Edit77.SetText(name);
      Edit78.SetText(AddressOf(partner));
      SelectTab(books::journal::TabPaymentList);
      break;
  }
}

void Tboeking::SetInvoicePartner(const records::PartnerRec& partner) {
  invoicePartner_ = partner;
  const int kind = static_cast<int>(books::partners::KindOfRelationshipType(partner.RelationshipType()));
  if (kind < ComboBox3.Count()) Label23.SetCaption(ComboBox3.Items()[static_cast<std::size_t>(kind)].text);
  Edit4.SetText(std::to_string(partner.OurNumber()));
  Edit20.SetText(std::to_string(partner.OurNumber()));
  Edit27.SetText(text::TrimTrailingBlanks(partner.Name()));
  Edit28.SetText(AddressOf(partner));
  Edit7.SetMaxLength(books::journal::MaxInvoiceNumberLength(books::journal::KindCodeOf(kind), partner.OurNumber()));
  // The terms follow the partner.
  if (invoiceState_ == DocumentState::New) DateTimePicker3Change();
  Edit7Exit();
}

void Tboeking::ClearPaymentPartner() {
  paymentPartner_.reset();
  for (ui::Edit* e : {&Edit9, &Edit10, &Edit29, &Edit40}) e->SetText("");
  openItems_.clear();
  CheckListBox1.ClearItems();
  ShowRest();
}

void Tboeking::SetPaymentPartner(const records::PartnerRec& partner) {
  paymentPartner_ = partner;
  const int kind = static_cast<int>(books::partners::KindOfRelationshipType(partner.RelationshipType()));
  if (ComboBox6.ItemIndex() != kind) {
    paymentLoading_ = true;  // the kind handler keeps the partner fields
    ComboBox6.SetItemIndex(kind);
    ComboBox6Select();
  }
  Edit8.SetText(std::to_string(partner.OurNumber()));
  Edit9.SetText(std::to_string(partner.OurNumber()));
  Edit10.SetText(text::TrimTrailingBlanks(partner.Name()));
  Edit29.SetText(AddressOf(partner));
  Edit40.SetText(text::TrimTrailingBlanks(partner.BankAccountNumber()));
  ophalenfacturen.Execute();
  Edit9Change();
}

books::partners::NewPartnerRequest NewPartnerRequestFor(int kind, bool fromPayment, const std::string& name,
                                                        const std::string& bankAccount) {
  books::partners::NewPartnerRequest out;
  out.kind = kind == 1 ? books::partners::PartnerKind::Supplier : books::partners::PartnerKind::Customer;
  out.fromPayment = fromPayment;
  if (fromPayment) {
    out.name = name;
    out.bankAccount = bankAccount;
  }
  return out;
}

void Tboeking::aanroeppartnerExecute() {
  const bool fromPayment = TabControl1.TabIndex() == books::journal::TabPayment;
  // From the invoice tab no bank account is offered: the payment tab's
  // counterparty account has nothing to do with this partner.
  const int kind = std::max(0, std::min(1, (fromPayment ? ComboBox6 : ComboBox3).ItemIndex()));
  const std::optional<books::partners::FoundPartner> saved = books::partners::AskNewPartner(NewPartnerRequestFor(
      kind, fromPayment, fromPayment ? Edit113.GetText() : "", fromPayment ? Edit37.GetText() : ""));
  if (!saved) return;  // cancelled, or no partners form: nothing changes
  TakePartner(fromPayment ? books::journal::PartnerRequester::PaymentTab : books::journal::PartnerRequester::InvoiceTab,
              saved->record);
}

}  // namespace journal
