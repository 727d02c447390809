// The journal form's partner lookup: the searches of the invoice tab, the
// invoice list, the payment tab and the payment list through the partner
// store, the partner list (tab 4) with its pages, and the new partner made
// through the partner form. The partner chosen goes only to the tab that
// asked for it (`requester_`, set at each search).
#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "text/builtintext.h"
#include "text/languagetext.h"
#include "text/textroutines.h"

namespace journal {

using books::partners::PartnerKind;
using text::L;

namespace {

std::string PartnerNotFoundText(books::partners::PartnerOutcome outcome) {
  if (const int offset = books::partners::LanguageOffsetOf(outcome); offset != 0) return L(offset);
  return text::BuiltInText("No partner found", "Geen relatie gevonden", "Kein Partner gefunden");
}

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
  requester_ = requester;
  searchKind_ = kind;
  searchCriteria_ = CriteriaFor(requester, text);
  partnerPage_ = 0;
  const books::partners::PartnerPage page = books::partners::SearchPartners(kind, searchCriteria_, 0);
  if (page.outcome == books::partners::PartnerOutcome::FileSetFailed) {
    formkit::ReportFileSetError(page.failure);
    return;
  }
  if (!page.Ok()) {
    // Nothing found: only the status says so; a typed amount or date stays.
    StatusBar1.Show(PartnerNotFoundText(page.outcome), ui::colors::Lime);
    return;
  }
  if (page.SingleMatch()) {
    const books::partners::PartnerResult found = books::partners::FindPartnerByNumber(kind, page.rows.front().number);
    if (found.outcome == books::partners::PartnerOutcome::FileSetFailed)
      return formkit::ReportFileSetError(found.failure);
    if (!found.Ok()) return StatusBar1.Show(PartnerNotFoundText(found.outcome), ui::colors::Lime);
    TakePartner(requester, found.partner->record);
    return;
  }
  ShowPartnerPage(0);
}

void Tboeking::ShowPartnerPage(int pageNumber) {
  const books::partners::PartnerPage page = books::partners::SearchPartners(searchKind_, searchCriteria_, pageNumber);
  if (page.outcome == books::partners::PartnerOutcome::FileSetFailed) return formkit::ReportFileSetError(page.failure);
  partnerPage_ = page.page;
  partnerRows_ = page.rows;
  const int rows = static_cast<int>(partnerRows_.size());
  StringGrid1.SetRowCount(std::max(2, rows + 1));
  for (int c = 0; c < StringGrid1.ColCount(); ++c) StringGrid1.SetCell(c, 1, "");
  for (int r = 0; r < rows; ++r) {
    const books::partners::PartnerRow& p = partnerRows_[static_cast<std::size_t>(r)];
    const std::vector<std::string> cells = {std::to_string(p.number), p.name, p.address, p.town, p.theirNumber,
                                            p.bankAccount};
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) StringGrid1.SetCell(c, r + 1, cells[c]);
  }
  StringGrid1.SetEnabled(rows > 0);
  StringGrid1.SetRow(1);
  SelectPartnerRow.SetEnabled(rows > 0);
  BitBtn1.SetVisible(page.HasPrevious());
  BitBtn2.SetVisible(page.more);
  Label80.SetCaption(ComboBox3.Count() > static_cast<int>(searchKind_)
                         ? ComboBox3.Items()[static_cast<std::size_t>(searchKind_)].text
                         : std::string());
  if (!page.Ok()) StatusBar1.Show(PartnerNotFoundText(page.outcome), ui::colors::Lime);
  SelectTab(books::journal::TabPartnerList);
}

void Tboeking::BitBtn1Click() { ShowPartnerPage(std::max(0, partnerPage_ - 1)); }
void Tboeking::BitBtn2Click() { ShowPartnerPage(partnerPage_ + 1); }

void Tboeking::Button11Click() {
  const int row = StringGrid1.Row();
  if (!requester_ || row < 1 || row > static_cast<int>(partnerRows_.size())) return;
  const books::partners::PartnerResult found =
      books::partners::FindPartnerByNumber(searchKind_, partnerRows_[static_cast<std::size_t>(row - 1)].number);
  if (found.outcome == books::partners::PartnerOutcome::FileSetFailed)
    return formkit::ReportFileSetError(found.failure);
  if (!found.Ok()) return StatusBar1.Show(PartnerNotFoundText(found.outcome), ui::colors::Lime);
  const books::journal::PartnerRequester requester = *requester_;
  Button12Click();
  TakePartner(requester, found.partner->record);
}

void Tboeking::Button12Click() {
  partnerRows_.clear();
  for (int r = 1; r < StringGrid1.RowCount(); ++r)
    for (int c = 0; c < StringGrid1.ColCount(); ++c) StringGrid1.SetCell(c, r, "");
  StringGrid1.SetRowCount(2);
  StringGrid1.SetEnabled(false);
  SelectPartnerRow.SetEnabled(false);
  BitBtn1.SetVisible(false);
  BitBtn2.SetVisible(false);
  StatusBar1.Show("", ui::colors::Default);
  SelectTab(requester_ ? books::journal::TabOf(*requester_) : books::journal::TabInvoice);
}

void Tboeking::TakePartner(books::journal::PartnerRequester requester, const records::PartnerRec& partner) {
  requester_.reset();
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
