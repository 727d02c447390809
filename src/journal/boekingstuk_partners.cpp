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

void Tboeking::zoekpartnerExecute() {
  StatusBar1.Show("", ui::colors::Default);
  Invoice.SearchPartner();
}

void Tboeking::SpeedButton11Click() {
  StatusBar1.Show("", ui::colors::Default);
  Payment.SearchPartner();
}

void Tboeking::SearchPartnerFor(books::journal::PartnerRequester requester, PartnerKind kind, const std::string& text) {
  PartnerList.Search(requester, kind, text);
}

std::string Tboeking::PartnerKindText(int kind) const {
  return ComboBox3.Count() > kind ? ComboBox3.Items()[static_cast<std::size_t>(kind)].text : std::string();
}

void Tboeking::TakePartner(books::journal::PartnerRequester requester, const records::PartnerRec& partner) {
  PartnerList.ForgetRequester();
  switch (requester) {
    case books::journal::PartnerRequester::InvoiceTab:
    case books::journal::PartnerRequester::InvoiceRow:
    case books::journal::PartnerRequester::InvoiceList:
      Invoice.TakePartner(requester, partner);
      break;
    case books::journal::PartnerRequester::PaymentTab:
    case books::journal::PartnerRequester::PaymentList:
      Payment.TakePartner(requester, partner);
      break;
  }
}

void Tboeking::aanroeppartnerExecute() {
  const bool fromPayment = TabControl1.TabIndex() == books::journal::TabPayment;
  // From the invoice tab no bank account is offered: the payment tab's
  // counterparty account has nothing to do with this partner.
  const int kind = std::max(0, std::min(1, (fromPayment ? Payment.ComboBox6 : ComboBox3).ItemIndex()));
  const std::optional<books::partners::FoundPartner> saved = books::partners::AskNewPartner(
      NewPartnerRequestFor(kind, fromPayment, fromPayment ? Payment.Ascription() : "",
                           fromPayment ? Payment.CounterpartyAccount() : ""));
  if (!saved) return;  // cancelled, or no partners form: nothing changes
  TakePartner(fromPayment ? books::journal::PartnerRequester::PaymentTab : books::journal::PartnerRequester::InvoiceTab,
              saved->record);
}

}  // namespace journal
