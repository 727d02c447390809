// The journal form's payment tab (tab 5) and payment list (tab 6): store a
// payment and propose its voucher, the partner's open invoices with their
// ticks, the rest, the kind, change or delete a payment without voucher,
// and the list with its filters and pages. The payment store
// (src/books/journal/paymentstore.h) keeps the file and numbers the payments; the
// proposal is a plain function (src/books/journal/documentrules.h).
#include <algorithm>
#include <cstdio>

#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "books/journal/voucherstore.h"
#include "platform/datetime.h"
#include "text/builtintext.h"
#include "text/languagetext.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace journal {

using text::BuiltInText;
using text::Cut;
using text::L;

namespace {

int Decimals() { return text::SystemSettings.AmountDecimals; }

bool WithPartner(int kindIndex) { return kindIndex == 0 || kindIndex == 1; }

std::vector<ui::Edit*> NarrativeEdits(Tboeking& f) {
  return {&f.Edit38, &f.Edit48, &f.Edit59, &f.Edit60, &f.Edit67, &f.Edit68};
}

}  // namespace

// ---- the tab's fields

void Tboeking::SpeedButton7Click() {
  const bool suppressed = tabSwitchSuppressed_;
  tabSwitchSuppressed_ = true;
  NewVoucher();
  tabSwitchSuppressed_ = suppressed;
  ClearPaymentTab();
  SelectTab(books::journal::TabPayment);
}

void Tboeking::ClearPaymentTab() {
  paymentState_ = DocumentState::New;
  loadedPayment_.reset();
  paymentPartner_.reset();
  for (ui::Edit* e : NarrativeEdits(*this)) e->SetText("");
  for (ui::Edit* e : {&Edit37, &Edit113, &Edit47, &Edit40, &Edit96, &Edit80, &Edit8, &Edit9, &Edit10, &Edit29})
    e->SetText("");
  SetAmountText(Edit30, "0");
  const platform::TDateTime today = platform::Date();
  DateTimePicker7.SetMinDate(std::nullopt);
  if (text::IsValidYmd(lowestOpenDate_)) {
    const platform::TDateTime lowest = text::YmdToDate(lowestOpenDate_);
    DateTimePicker7.SetDate(std::max(today, lowest));
    DateTimePicker7.SetMinDate(lowest);
  } else {
    DateTimePicker7.SetDate(today);
  }
  CheckBox2.SetChecked(false);
  openItems_.clear();
  CheckListBox1.ClearItems();
  AddPayment.SetCaption(L(3344));
  AddPayment.SetEnabled(false);
  Edit69.SetVisible(true);
  ShowPaymentButtons();
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit37, &Edit8, &DateTimePicker7, &ComboBox6,
                                                                &Edit30, &Edit113, &Edit47, &Edit96, &SpeedButton10,
                                                                &SpeedButton11, &CheckListBox1})
    c->SetEnabled(true);
  for (ui::Edit* e : NarrativeEdits(*this)) e->SetEnabled(true);
  ComboBox6Select();
  ShowRest();
  StatusBar1.Show("", ui::colors::Default);
}

void Tboeking::Button16Click() {
  // While an import is interrupted, Cancel ends the import.
  if (EndInterruptedImport()) return;
  SpeedButton7Click();
  SelectTab(books::journal::TabVoucher);
}

void Tboeking::ShowPaymentButtons() {
  const bool running = ImportRunning();
  AddPayment.SetVisible(!running);
  DeletePayment.SetVisible(!running);
  const bool unbooked = !running && paymentState_ == DocumentState::LoadedUnbooked;
  DeletePayment.SetEnabled(unbooked);
  Button21.SetVisible(unbooked);
  if (running) AddPayment.SetEnabled(false);
  else if (paymentState_ == DocumentState::LoadedBooked) AddPayment.SetEnabled(true);
  else Edit9Change();
}

void Tboeking::ComboBox6Select() {
  const int kind = ComboBox6.ItemIndex();
  const bool partner = WithPartner(kind);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit8, &Edit40, &Edit9, &Edit10, &Edit29, &Edit69,
                                                                &CheckListBox1, &SpeedButton10, &SpeedButton11,
                                                                &Label22, &Label75, &Label78, &Label79, &Label81,
                                                                &Label87, &Label88, &Panel25})
    c->SetVisible(partner);
  if (!paymentLoading_) {
    paymentPartner_.reset();
    for (ui::Edit* e : {&Edit8, &Edit40, &Edit9, &Edit10, &Edit29}) e->SetText("");
    openItems_.clear();
    CheckListBox1.ClearItems();
    ShowRest();
  }
  paymentLoading_ = false;
  Edit9Change();
}

void Tboeking::Edit9Change() {
  if (paymentState_ == DocumentState::LoadedBooked) return;
  if (ImportRunning()) return AddPayment.SetEnabled(false);
  const bool partner = WithPartner(ComboBox6.ItemIndex());
  AddPayment.SetEnabled(!Edit30.GetText().empty() && (!partner || !Edit9.GetText().empty()));
}

void Tboeking::Edit30Exit() {
  const books::journal::AmountExit left = books::journal::AmountFieldLeft(Edit30.GetText(), Decimals());
  if (left.text != Edit30.GetText()) SetAmountText(Edit30, left.text);
  ShowRest();
}

std::vector<books::journal::OpenInvoiceItem> Tboeking::TickedItems() const {
  std::vector<books::journal::OpenInvoiceItem> ticked;
  for (int i = 0; i < static_cast<int>(CheckListBox1.Items().size()) && i < static_cast<int>(openItems_.size()); ++i)
    if (CheckListBox1.Checked(i)) ticked.push_back(openItems_[static_cast<std::size_t>(i)]);
  return ticked;
}

void Tboeking::ShowRest() {
  const double amount = TryParseAmountOr0(Edit30.GetText());
  Edit69.SetText(AmountText(books::journal::PaymentRest(amount, TickedItems(), Decimals())));
}

void Tboeking::ophalenfacturenExecute() {
  openItems_.clear();
  CheckListBox1.ClearItems();
  if (!paymentPartner_) return ShowRest();
  const std::string kind = books::partners::KindOfRelationshipType(paymentPartner_->RelationshipType()) ==
                                   books::partners::PartnerKind::Customer
                               ? "CUS"
                               : "VEN";
  // Every open invoice of the partner, not one list page.
  const books::journal::InvoiceList list = books::journal::OpenInvoicesOf(kind, paymentPartner_->OurNumber());
  if (list.outcome == books::journal::DocumentOutcome::FileSetFailed) return formkit::ReportFileSetError(list.failure);
  std::vector<records::InvoiceRec> invoices;
  for (const books::journal::LoadedInvoice& doc : list.documents) invoices.push_back(doc.record);
  openItems_ = books::journal::OpenInvoiceItems(invoices, paymentPartner_->DiscountRate(), Decimals());
  for (std::size_t i = 0; i < openItems_.size(); ++i)
    CheckListBox1.AddItem(openItems_[i].Text(Decimals()), false, static_cast<int64_t>(i));
  ShowRest();
}

void Tboeking::CheckListBox1Click(int index) {
  if (index >= 0 && index < static_cast<int>(openItems_.size()) && CheckListBox1.Checked(index)) {
    const std::vector<books::journal::OpenInvoiceItem> ticked = TickedItems();
    bool discount = false;
    for (const books::journal::OpenInvoiceItem& item : ticked) discount = discount || item.discount > 0;
    const bool tax = paymentPartner_ && !text::TrimTrailingBlanks(paymentPartner_->VatGroup1()).empty() &&
                     books::journal::RateOfAccount(SalesTaxAccountTable, paymentPartner_->VatGroup1()) > 0;
    if (books::journal::PaymentLinesNeeded(static_cast<int>(ticked.size()), discount, tax) >
        books::journal::kVoucherLines) {
      CheckListBox1.SetChecked(index, false);
      StatusBar1.Show(BuiltInText("No more invoices fit on this payment's voucher of eight lines",
                                  "Er passen geen facturen meer op de boeking van acht regels van deze betaling",
                                  "Auf die Buchung dieser Zahlung mit acht Zeilen passen keine Rechnungen mehr"),
                      ui::colors::Red);
    }
  }
  ShowRest();
}

// ---- store and propose

records::PaymentRec Tboeking::PaymentFromTab() const {
  records::PaymentRec rec;
  if (loadedPayment_) rec = loadedPayment_->record;
  const std::string kind = books::journal::KindCodeOf(ComboBox6.ItemIndex());
  if (!loadedPayment_) {
    rec.SetValueDate(text::DateToYmd(DateTimePicker7.Date()));
    rec.SetPartnerType(kind);
    rec.SetPartnerNumber(WithPartner(ComboBox6.ItemIndex()) && paymentPartner_ ? paymentPartner_->OurNumber() : 0);
  }
  rec.SetBankAccount(Cut(Edit37.GetText(), 15));
  rec.SetEntryNumber(Cut(Edit96.GetText(), 10));
  rec.SetAscription(Cut(Edit113.GetText(), 60));
  const std::vector<ui::Edit*> narratives = NarrativeEdits(const_cast<Tboeking&>(*this));
  for (int k = 1; k <= 6; ++k) rec.SetNarrative(k, Cut(narratives[static_cast<std::size_t>(k - 1)]->GetText(), 60));
  rec.SetMemo(Cut(Edit47.GetText(), 60));
  // A loaded amount the user left as shown keeps the record's value.
  if (loadedPayment_ && Edit30.GetText() == AmountText(loadedPayment_->record.Amount()))
    rec.SetAmount(loadedPayment_->record.Amount());
  else
    rec.SetAmount(TryParseAmountOr0(Edit30.GetText()));
  return rec;
}

void Tboeking::Button15Click() { StoreWithAllJournals(&Tboeking::StorePayment); }

void Tboeking::StorePayment() {
  if (paymentState_ == DocumentState::LoadedBooked && loadedPayment_) {
    if (!ShowDocumentVoucher(books::journal::FindVoucherOf(books::journal::PaymentKeyOf(loadedPayment_->record))))
      StatusBar1.Show(L(9892), ui::colors::Lime);
    return;
  }
  // Every check before the file opens.
  if (WithPartner(ComboBox6.ItemIndex()) && !paymentPartner_) {
    StatusBar1.Show(BuiltInText("Choose the payment's partner first", "Kies eerst de relatie van de betaling",
                                "Wählen Sie zuerst den Partner der Zahlung"),
                    ui::colors::Red);
    return;
  }
  if (ComboBox4.GetText().empty()) {
    StatusBar1.Show(BuiltInText("There is no bank or cash account to book the payment on",
                                "Er is geen bank- of kasrekening om de betaling op te boeken",
                                "Es gibt kein Bank- oder Kassenkonto für die Zahlung"),
                    ui::colors::Red);
    return;
  }
  if (!AmountOf(Edit30, Label82.Caption())) return;

  const records::PaymentRec rec = PaymentFromTab();
  const books::journal::PaymentResult r =
      paymentState_ == DocumentState::New ? books::journal::InsertPayment(rec) : ChangePayment(rec, *loadedPayment_);
  if (!DocumentDone(r.outcome, r.failure, false)) return;
  // The payment is stored once: its number shows, a second press changes it.
  loadedPayment_ = r.document;
  paymentState_ = DocumentState::LoadedUnbooked;
  Edit80.SetText(std::to_string(r.document->record.PaymentNumber()));
  AddPayment.SetCaption(L(3409));
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit37, &Edit8, &SpeedButton10, &SpeedButton11,
                                                                &DateTimePicker7, &ComboBox6})
    c->SetEnabled(false);
  ShowPaymentButtons();
  ProposePaymentVoucher(r.document->record);
}

void Tboeking::ProposePaymentVoucher(const records::PaymentRec& rec) {
  const books::journal::PaymentKey key = books::journal::PaymentKeyOf(rec);
  ClearVoucherForm();
  const std::string valueDate = rec.ValueDate();
  ShowDate(DateTimePicker2, valueDate);
  books::journal::PaymentProposalInput in;
  in.kind = key.kind;
  const std::string bank = ComboBox4.GetText();
  in.bankAccount = bank.substr(0, bank.find('{'));
  if (paymentPartner_) in.partner = *paymentPartner_;
  in.partnerNumber = key.partner;
  in.amount = rec.Amount();
  in.valueDate = valueDate;
  in.ticked = TickedItems();
  in.discountTaxRate = books::journal::RateOfAccount(SalesTaxAccountTable, in.partner.VatGroup1());
  in.decimals = Decimals();
  const std::vector<books::journal::ProposedLine> lines = books::journal::PaymentProposal(in);
  for (std::size_t i = 0; i < lines.size() && i < static_cast<std::size_t>(books::journal::kVoucherLines); ++i) {
    SetEntryLine(static_cast<int>(i), lines[i].account, lines[i].text, lines[i].amount, lines[i].side);
    const int line = static_cast<int>(i);
    // The bank line and the invoices it pays are shown, not edited; a text
    // the proposal wrote stays.
    if (i == 0 || lines[i].paysInvoice) {
      readOnly_[static_cast<std::size_t>(line)] = true;
      for (int c = 1; c <= 6; ++c) Lines[static_cast<std::size_t>(line)].Field(c).SetEnabled(false);
    } else if (!lines[i].text.empty()) {
      Lines[static_cast<std::size_t>(line)].Text.SetEnabled(false);
    }
  }
  ShowProposalHead(key, books::journal::VoucherPartner{key.partner, key.kind}, books::journal::VoucherNumberOf(key),
                   rec.EntryNumber(), rec.Memo(), valueDate, false);
  GoToProposal();
}

void Tboeking::Button21Click() {
  if (paymentState_ != DocumentState::LoadedUnbooked || !loadedPayment_) return;
  const books::journal::PaymentResult r = books::journal::DeletePayment(*loadedPayment_);
  if (!DocumentDone(r.outcome, r.failure, false)) return;
  ClearPaymentTab();
}

// ---- the list

books::journal::PaymentFilter Tboeking::PaymentFilterFromTab() const {
  books::journal::PaymentFilter f;
  f.withoutVoucher = CheckBox7.Checked();
  f.all = CheckBox8.Checked();
  if (CheckBox11.Checked()) f.entryNumber = Edit98.GetText();
  if (CheckBox9.Checked()) {
    std::int32_t number = -1;
    if (auto v = text::TryParseAmount(Edit70.GetText()); v && !Edit70.GetText().empty())
      number = static_cast<std::int32_t>(*v);
    f.partner =
        books::journal::DocumentPartner{books::journal::KindCodeOf(std::clamp(ComboBox8.ItemIndex(), 0, 1)), number};
  }
  return f;
}

void Tboeking::SpeedButton2Click() { FillPaymentList(PaymentFilterFromTab(), 0); }
void Tboeking::BitBtn3Click() { FillPaymentList(paymentFilter_, std::max(0, paymentPage_ - 1)); }
void Tboeking::BitBtn4Click() { FillPaymentList(paymentFilter_, paymentPage_ + 1); }

void Tboeking::Button28Click() {
  CheckBox7.SetChecked(true);
  for (ui::CheckBox* c : {&CheckBox8, &CheckBox9, &CheckBox11}) c->SetChecked(false);
  SelectTab(books::journal::TabPaymentList);
  SpeedButton2Click();
}

void Tboeking::FillPaymentList(const books::journal::PaymentFilter& filter, int page) {
  StatusBar1.Show("", ui::colors::Default);
  paymentFilter_ = filter;
  const books::journal::PaymentPage p = ListPayments(filter, page);
  if (p.outcome == books::journal::DocumentOutcome::FileSetFailed) return formkit::ReportFileSetError(p.failure);
  paymentRows_ = p.rows;
  paymentPage_ = p.page;
  ListPage shown{{}, p.HasPrevious(), p.more, p.SingleMatch(), L(9892)};
  for (const books::journal::LoadedPayment& doc : paymentRows_) {
    const records::PaymentRec& rec = doc.record;
    const int k = std::max(0, books::journal::KindIndexOf(rec.PartnerType()));
    std::vector<std::string>& cells = shown.cells.emplace_back(std::vector<std::string>{
        rec.ValueDate(), k < ComboBox6.Count() ? ComboBox6.Items()[static_cast<std::size_t>(k)].text : "",
        std::to_string(rec.PartnerNumber()), std::to_string(rec.PaymentNumber()), rec.BankAccount(),
        rec.EntryNumber(), AmountText(rec.Amount()), rec.Ascription()});
    for (int n = 1; n <= 6; ++n) cells.push_back(rec.Narrative(n));
    cells.push_back(rec.Memo());
    cells.push_back(rec.VoucherCreated() ? "true" : "false");
  }
  ShowListPage(StringGrid3, SelectPaymentRow, BitBtn3, BitBtn4, shown);
}

void Tboeking::Button17Click() {
  const int row = StringGrid3.Row();
  if (row < 1 || row > static_cast<int>(paymentRows_.size())) return;
  const books::journal::LoadedPayment doc = paymentRows_[static_cast<std::size_t>(row - 1)];
  const records::PaymentRec& rec = doc.record;
  const int kind = std::max(0, books::journal::KindIndexOf(rec.PartnerType()));
  std::optional<records::PartnerRec> partner;
  if (WithPartner(kind)) {
    const books::partners::PartnerResult found = books::partners::FindPartnerByNumber(
        kind == 0 ? books::partners::PartnerKind::Customer : books::partners::PartnerKind::Supplier,
        rec.PartnerNumber());
    if (found.outcome == books::partners::PartnerOutcome::FileSetFailed)
      return formkit::ReportFileSetError(found.failure);
    if (found.Ok()) partner = found.partner->record;
  }
  const bool all = CheckBox12.Checked();
  CheckBox12.SetChecked(true);
  ClearPaymentTab();
  paymentLoading_ = true;
  ComboBox6.SetItemIndex(kind);
  ComboBox6Select();
  if (partner) {
    SetPaymentPartner(*partner);
  } else if (WithPartner(kind)) {
    Edit9.SetText(std::to_string(rec.PartnerNumber()));
    Edit8.SetText(Edit9.GetText());
  }
  loadedPayment_ = doc;
  const bool booked = rec.VoucherCreated();
  paymentState_ = booked ? DocumentState::LoadedBooked : DocumentState::LoadedUnbooked;
  Edit80.SetText(std::to_string(rec.PaymentNumber()));
  if (text::IsValidYmd(rec.ValueDate())) {
    const platform::TDateTime d = text::YmdToDate(rec.ValueDate());
    const std::optional<platform::TDateTime> min = DateTimePicker7.MinDate();
    DateTimePicker7.SetMinDate(std::nullopt);
    DateTimePicker7.SetDate(d);
    DateTimePicker7.SetMinDate(min ? std::min(*min, d) : d);
  }
  Edit37.SetText(text::TrimTrailingBlanks(rec.BankAccount()));
  Edit96.SetText(text::TrimTrailingBlanks(rec.EntryNumber()));
  // The amount from the record, never from the grid's text.
  SetAmountText(Edit30, AmountText(rec.Amount()));
  Edit47.SetText(text::TrimTrailingBlanks(rec.Memo()));
  Edit113.SetText(text::TrimTrailingBlanks(rec.Ascription()));
  const std::vector<ui::Edit*> narratives = NarrativeEdits(*this);
  for (int k = 1; k <= 6; ++k)
    narratives[static_cast<std::size_t>(k - 1)]->SetText(text::TrimTrailingBlanks(rec.Narrative(k)));
  CheckBox2.SetChecked(booked);
  if (booked) {
    // The invoices the voucher paid, ticked, from its lines.
    openItems_.clear();
    CheckListBox1.ClearItems();
    const books::journal::StoreResult r = books::journal::FindVoucherOf(books::journal::PaymentKeyOf(rec));
    if (r.Ok() && r.voucher)
      for (std::size_t i = 1; i < r.voucher->records.size(); ++i) {
        const records::JournalVoucherRec& line = r.voucher->records[i];
        if (!line.InvoiceAttached() || text::TrimTrailingBlanks(line.InvoiceNumber()).empty()) continue;
        books::journal::OpenInvoiceItem item;
        const std::string text = text::TrimTrailingBlanks(line.LineText());
        item.key = {text.substr(0, 8), rec.PartnerType(), rec.PartnerNumber(),
                    text::TrimTrailingBlanks(line.InvoiceNumber())};
        item.owing = kind == 0 ? line.CreditAmount() : line.DebitAmount();
        openItems_.push_back(item);
        CheckListBox1.AddItem(text + "/" + AmountText(item.owing), true, static_cast<int64_t>(openItems_.size() - 1));
      }
  }
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit37, &Edit8, &SpeedButton10, &SpeedButton11,
                                                                &DateTimePicker7, &ComboBox6})
    c->SetEnabled(false);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit30, &Edit96, &Edit47, &Edit113, &CheckListBox1})
    c->SetEnabled(!booked);
  for (ui::Edit* e : narratives) e->SetEnabled(!booked);
  ShowRest();
  AddPayment.SetCaption(booked ? L(3981) : L(3409));
  ShowPaymentButtons();
  Edit69.SetVisible(!booked);

  tabSwitchSuppressed_ = true;
  Button18Click();
  tabSwitchSuppressed_ = false;
  SelectTab(books::journal::TabPayment);
  CheckBox12.SetChecked(all);
}

void Tboeking::Button18Click() {
  paymentRows_.clear();
  CheckBox9.SetChecked(false);
  for (ui::Edit* e : {&Edit79, &Edit70, &Edit77, &Edit78}) e->SetText("");
  ComboBox8.SetItemIndex(0);
  EmptyList(StringGrid3, SelectPaymentRow);
  BitBtn3.SetVisible(false);
  BitBtn4.SetVisible(false);
  StatusBar1.Show("", ui::colors::Default);
  SelectTab(books::journal::TabVoucher);
}

void Tboeking::CheckBox9Click() {
  Panel29.SetVisible(CheckBox9.Checked());
  SearchPartner2.SetVisible(CheckBox9.Checked() || TabControl1.TabIndex() != books::journal::TabPaymentList);
}

void Tboeking::CheckBox11Click() {
  Edit98.SetVisible(CheckBox11.Checked());
  Edit98.SetText("");
}

}  // namespace journal
