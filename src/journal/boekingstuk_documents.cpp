// The journal form's glue for the invoice page (tabs 2 and 3) and the
// payment page (tabs 5 and 6): storing with every journal in reach, the
// amount fields, a booked document's own voucher, a voucher proposed from a
// document on the voucher tab, and what a refused store or delete says.
#include <algorithm>
#include <functional>

#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "journal/formhelpers.h"
#include "records/documentkind.h"
#include "text/builtintext.h"
#include "text/languagetext.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace journal {

using text::BuiltInText;
using text::Cut;
using text::L;

void Tboeking::StoreWithAllJournals(const std::function<void()>& store) {
  StatusBar1.Show("", ui::colors::Default);
  const bool all = CheckBox12.Checked();
  CheckBox12.SetChecked(true);
  store();
  CheckBox12.SetChecked(all);
}

std::string Tboeking::AmountText(double value) { return text::FormatAmount(value, Decimals(), 'Y'); }

std::optional<double> Tboeking::AmountOf(const ui::Edit& e, const std::string& what) {
  if (auto v = text::TryParseAmount(e.GetText())) return v;
  std::string text = BuiltInText(text::BuiltIn::FieldSHoldsNoAmount);
  if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, what);
  StatusBar1.Show(text, ui::colors::Red);
  return std::nullopt;
}

void Tboeking::BindDocumentAmountField(ui::Edit& field) {
  ui::Edit* e = &field;
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

bool Tboeking::ShowDocumentVoucher(const books::journal::StoreResult& found) {
  if (formkit::ReportFileFailure(found)) return true;
  if (!found.Ok() || !found.value) return false;
  ShowVoucher(*found.value);
  SelectTab(books::journal::TabVoucher);
  return true;
}

void Tboeking::ShowProposalHead(const books::journal::VoucherLink& link, const books::journal::VoucherPartner& partner,
                                const std::string& number, const std::string& entryNumber, const std::string& memo,
                                const std::string& date, bool invoice) {
  Edit3.SetText(number);
  Edit123.SetText(Cut(text::TrimTrailingBlanks(entryNumber), 15));
  Edit116.SetText(Cut(text::TrimTrailingBlanks(memo), 50));
  link_ = link;
  partner_ = partner;
  mode_ = books::journal::EntryMode::Add;
  ShowModeCaption();
  ShowDocumentHeader(partner.kind, partner.number, date + "/" + Edit3.GetText(), invoice);
  DateTimePicker2.SetEnabled(false);
  Edit3.SetEnabled(false);
}

void Tboeking::StartProposal(const std::string& ymd) {
  ClearVoucherForm();
  ShowDate(DateTimePicker2, ymd);
}

void Tboeking::ShowLineOnly(int line) {
  readOnly_[static_cast<std::size_t>(line)] = true;
  for (int c = 1; c <= 6; ++c) Lines[static_cast<std::size_t>(line)].Field(c).SetEnabled(false);
}

void Tboeking::ShowLineTextOnly(int line) { Lines[static_cast<std::size_t>(line)].Text.SetEnabled(false); }

void Tboeking::ShowDocumentHeader(const std::string& kind, std::int32_t partner, const std::string& linkText,
                                  bool invoice) {
  const int k = books::journal::KindIndexOf(kind);
  const ui::ComboBox& kinds = Payment.ComboBox6;
  Label30.SetCaption(k >= 0 && k < kinds.Count() ? kinds.Items()[static_cast<std::size_t>(k)].text : kind);
  // A receipt or payment without partner shows partner 0; an unknown kind its number.
  const std::optional<records::DocumentKind> documentKind = records::DocumentKindOf(kind);
  Edit5.SetText(documentKind && !records::HasPartner(*documentKind) ? "0" : std::to_string(partner));
  Edit6.SetText(linkText);
  Label31.SetCaption(invoice ? L(3596) : L(3848));
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit5, &Label30, &Label31, &Edit6, &Button23})
    c->SetVisible(true);
}

void Tboeking::GoToProposal() {
  SelectTab(books::journal::TabVoucher);
  RecalcTotals();
  if (Button5.Reachable()) Button5.SetFocus();
}

namespace {

std::string DocumentRefusedText(books::journal::DocumentOutcome outcome, bool invoice) {
  switch (outcome) {
    case books::journal::DocumentOutcome::ChangedInAnotherCopy:
      return text::MsgChangedInAnotherCopy();
    case books::journal::DocumentOutcome::HasVoucher:
      return invoice ? BuiltInText(text::BuiltIn::ThisInvoiceHasItsJournalVoucher)
                     : BuiltInText(text::BuiltIn::ThisPaymentHasItsJournalVoucher);
    default:
      return invoice ? BuiltInText(text::BuiltIn::ThisInvoiceIsNoLongerIn)
                     : BuiltInText(text::BuiltIn::ThisPaymentIsNoLongerIn);
  }
}

}  // namespace

bool Tboeking::DocumentDone(books::journal::DocumentOutcome outcome, const store::FileSetFailure& failure,
                            bool invoice) {
  if (outcome == books::journal::DocumentOutcome::FileSetFailed) {
    formkit::ReportFileSetError(failure);
    return false;
  }
  if (outcome == books::journal::DocumentOutcome::Done) return true;
  StatusBar1.Show(DocumentRefusedText(outcome, invoice), ui::colors::Red);
  return false;
}

void Tboeking::ShowDate(ui::DatePicker& picker, const std::string& ymd) {
  if (!text::IsValidYmd(ymd)) return;
  const platform::TDateTime d = text::YmdToDate(ymd);
  const std::optional<platform::TDateTime> min = picker.MinDate();
  picker.SetMinDate(std::nullopt);
  picker.SetDate(d);
  if (min) picker.SetMinDate(std::min(*min, d));
}

}  // namespace journal
