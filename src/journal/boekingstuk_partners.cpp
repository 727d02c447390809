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

using masterdata::PartnerKind;
using shell::L;

namespace {

std::string PartnerNotFoundText(masterdata::PartnerOutcome outcome) {
  if (const int offset = masterdata::LanguageOffsetOf(outcome); offset != 0) return L(offset);
  return shell::BuiltInText("No partner found", "Geen relatie gevonden", "Kein Partner gefunden");
}

std::string AddressOf(const records::PartnerRec& p) {
  return shell::TrimTrailingBlanks(p.Address()) + ", " + shell::TrimTrailingBlanks(p.Town());
}

}  // namespace

void Tboeking::zoekpartnerExecute() {
  StatusBar1.Show("", ui::colors::Default);
  if (TabControl1.TabIndex() == TabInvoiceList) {
    const auto kind = masterdata::KindFromItemIndex(ComboBox7.ItemIndex()).value_or(PartnerKind::Customer);
    SearchPartnerFor(PartnerRequester::InvoiceList, kind, Edit58.GetText());
  } else {
    const auto kind = masterdata::KindFromItemIndex(ComboBox3.ItemIndex()).value_or(PartnerKind::Customer);
    SearchPartnerFor(PartnerRequester::InvoiceTab, kind, Edit4.GetText());
  }
}

void Tboeking::SpeedButton11Click() {
  StatusBar1.Show("", ui::colors::Default);
  if (TabControl1.TabIndex() == TabPaymentList) {
    const auto kind = masterdata::KindFromItemIndex(ComboBox8.ItemIndex()).value_or(PartnerKind::Customer);
    SearchPartnerFor(PartnerRequester::PaymentList, kind, Edit79.GetText());
    return;
  }
  // The payment tab: a receipt or payment without partner has none to find.
  const auto kind = masterdata::KindFromItemIndex(ComboBox6.ItemIndex());
  if (!kind) return;
  ClearPaymentPartner();
  SearchPartnerFor(PartnerRequester::PaymentTab, *kind, Edit8.GetText());
}

void Tboeking::SearchPartnerFor(PartnerRequester requester, PartnerKind kind, const std::string& text) {
  requester_ = requester;
  searchKind_ = kind;
  searchCriteria_ = CriteriaFor(requester, text);
  partnerPage_ = 0;
  const masterdata::PartnerPage page = masterdata::SearchPartners(kind, searchCriteria_, 0);
  if (page.outcome == masterdata::PartnerOutcome::FileSetFailed) {
    shell::ReportFileSetError(page.failure);
    return;
  }
  if (!page.Ok()) {
    // Nothing found: only the status says so; a typed amount or date stays.
    StatusBar1.Show(PartnerNotFoundText(page.outcome), ui::colors::Lime);
    return;
  }
  if (page.SingleMatch()) {
    const masterdata::PartnerResult found = masterdata::FindPartnerByNumber(kind, page.rows.front().number);
    if (found.outcome == masterdata::PartnerOutcome::FileSetFailed) return shell::ReportFileSetError(found.failure);
    if (!found.Ok()) return StatusBar1.Show(PartnerNotFoundText(found.outcome), ui::colors::Lime);
    TakePartner(requester, found.partner->record);
    return;
  }
  ShowPartnerPage(0);
}

void Tboeking::ShowPartnerPage(int pageNumber) {
  const masterdata::PartnerPage page = masterdata::SearchPartners(searchKind_, searchCriteria_, pageNumber);
  if (page.outcome == masterdata::PartnerOutcome::FileSetFailed) return shell::ReportFileSetError(page.failure);
  partnerPage_ = page.page;
  partnerRows_ = page.rows;
  const int rows = static_cast<int>(partnerRows_.size());
  StringGrid1.SetRowCount(std::max(2, rows + 1));
  for (int c = 0; c < StringGrid1.ColCount(); ++c) StringGrid1.SetCell(c, 1, "");
  for (int r = 0; r < rows; ++r) {
    const masterdata::PartnerRow& p = partnerRows_[static_cast<std::size_t>(r)];
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
  SelectTab(TabPartnerList);
}

void Tboeking::BitBtn1Click() { ShowPartnerPage(std::max(0, partnerPage_ - 1)); }
void Tboeking::BitBtn2Click() { ShowPartnerPage(partnerPage_ + 1); }

void Tboeking::Button11Click() {
  const int row = StringGrid1.Row();
  if (!requester_ || row < 1 || row > static_cast<int>(partnerRows_.size())) return;
  const masterdata::PartnerResult found =
      masterdata::FindPartnerByNumber(searchKind_, partnerRows_[static_cast<std::size_t>(row - 1)].number);
  if (found.outcome == masterdata::PartnerOutcome::FileSetFailed) return shell::ReportFileSetError(found.failure);
  if (!found.Ok()) return StatusBar1.Show(PartnerNotFoundText(found.outcome), ui::colors::Lime);
  const PartnerRequester requester = *requester_;
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
  SelectTab(requester_ ? TabOf(*requester_) : TabInvoice);
}

void Tboeking::TakePartner(PartnerRequester requester, const records::PartnerRec& partner) {
  requester_.reset();
  const std::string number = std::to_string(partner.OurNumber());
  const std::string name = shell::TrimTrailingBlanks(partner.Name());
  switch (requester) {
    case PartnerRequester::InvoiceTab:
    case PartnerRequester::InvoiceRow:
      SetInvoicePartner(partner);
      if (requester == PartnerRequester::InvoiceTab) SelectTab(TabInvoice);
      break;
    case PartnerRequester::InvoiceList:
      Edit39.SetText(number);
      Edit49.SetText(name);
      Edit50.SetText(AddressOf(partner));
      SelectTab(TabInvoiceList);
      break;
    case PartnerRequester::PaymentTab:
      SetPaymentPartner(partner);
      StatusBar1.Show("", ui::colors::Default);
      SelectTab(TabPayment);
      break;
    case PartnerRequester::PaymentList:
      Edit70.SetText(number);
      Edit77.SetText(name);
      Edit78.SetText(AddressOf(partner));
      SelectTab(TabPaymentList);
      break;
  }
}

void Tboeking::SetInvoicePartner(const records::PartnerRec& partner) {
  invoicePartner_ = partner;
  const int kind = static_cast<int>(masterdata::KindOfRelationshipType(partner.RelationshipType()));
  if (kind < ComboBox3.Count()) Label23.SetCaption(ComboBox3.Items()[static_cast<std::size_t>(kind)].text);
  Edit4.SetText(std::to_string(partner.OurNumber()));
  Edit20.SetText(std::to_string(partner.OurNumber()));
  Edit27.SetText(shell::TrimTrailingBlanks(partner.Name()));
  Edit28.SetText(AddressOf(partner));
  Edit7.SetMaxLength(MaxInvoiceNumberLength(KindCodeOf(kind), partner.OurNumber()));
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
  const int kind = static_cast<int>(masterdata::KindOfRelationshipType(partner.RelationshipType()));
  if (ComboBox6.ItemIndex() != kind) {
    paymentLoading_ = true;  // the kind handler keeps the partner fields
    ComboBox6.SetItemIndex(kind);
    ComboBox6Select();
  }
  Edit8.SetText(std::to_string(partner.OurNumber()));
  Edit9.SetText(std::to_string(partner.OurNumber()));
  Edit10.SetText(shell::TrimTrailingBlanks(partner.Name()));
  Edit29.SetText(AddressOf(partner));
  Edit40.SetText(shell::TrimTrailingBlanks(partner.BankAccountNumber()));
  ophalenfacturen.Execute();
  Edit9Change();
}

masterdata::NewPartnerRequest NewPartnerRequestFor(int kind, bool fromPayment, const std::string& name,
                                                   const std::string& bankAccount) {
  masterdata::NewPartnerRequest out;
  out.kind = kind == 1 ? masterdata::PartnerKind::Supplier : masterdata::PartnerKind::Customer;
  out.fromPayment = fromPayment;
  if (fromPayment) {
    out.name = name;
    out.bankAccount = bankAccount;
  }
  return out;
}

void Tboeking::aanroeppartnerExecute() {
  const bool fromPayment = TabControl1.TabIndex() == TabPayment;
  // From the invoice tab no bank account is offered: the payment tab's
  // counterparty account has nothing to do with this partner.
  const int kind = std::max(0, std::min(1, (fromPayment ? ComboBox6 : ComboBox3).ItemIndex()));
  const std::optional<masterdata::FoundPartner> saved = masterdata::AskNewPartner(
      NewPartnerRequestFor(kind, fromPayment, fromPayment ? Edit113.GetText() : "", fromPayment ? Edit37.GetText() : ""));
  if (!saved) return;  // cancelled, or no partners form: nothing changes
  TakePartner(fromPayment ? PartnerRequester::PaymentTab : PartnerRequester::InvoiceTab, saved->record);
}

}  // namespace journal
