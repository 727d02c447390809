// The journal form's payment page, the payment tab (tab 5) and the payment
// list (tab 6): store a payment and propose its voucher, the partner's open
// invoices with their ticks, the rest, the kind, change or delete a payment
// without voucher, the partner, and the list with its filters and pages.
// The payment store (src/books/journal/paymentstore.h) keeps the file and
// numbers the payments; the proposal is a plain function
// (src/books/journal/documentrules.h).
#include "journal/paymentpage.h"

#include <algorithm>
#include <cstdio>

#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "journal/formhelpers.h"
#include "books/journal/voucherstore.h"
#include "platform/datetime.h"
#include "records/documentkind.h"
#include "text/builtintext.h"
#include "text/languagetext.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace journal {

using text::BuiltInText;
using text::Cut;
using text::L;

namespace {

bool WithPartner(int kindIndex) { return kindIndex == 0 || kindIndex == 1; }

}  // namespace

PaymentPage::PaymentPage(Tboeking& owner, ui::Container* tabs)
    : form(owner),
      tabs_(tabs),
      List({StringGrid3, owner.SelectPaymentRow, BitBtn3, BitBtn4, owner.StatusBar1}, books::journal::ListPayments,
           [this](const records::PaymentRec& rec) {
             const int k = std::max(0, books::journal::KindIndexOf(rec.PartnerType()));
             std::vector<std::string> cells{
                 rec.ValueDate(), k < ComboBox6.Count() ? ComboBox6.Items()[static_cast<std::size_t>(k)].text : "",
                 std::to_string(rec.PartnerNumber()), std::to_string(rec.PaymentNumber()), rec.BankAccount(),
                 rec.EntryNumber(), form.AmountText(rec.Amount()), rec.Ascription()};
             for (int n = 1; n <= 6; ++n) cells.push_back(rec.Narrative(n));
             cells.push_back(rec.Memo());
             cells.push_back(rec.VoucherCreated() ? "true" : "false");
             return cells;
           },
           [](const books::journal::PaymentPage&) { return L(9892); }) {}

std::vector<ui::Edit*> PaymentPage::NarrativeEdits() { return {&Edit38, &Edit48, &Edit59, &Edit60, &Edit67, &Edit68}; }
std::vector<const ui::Edit*> PaymentPage::NarrativeEdits() const {
  return {&Edit38, &Edit48, &Edit59, &Edit60, &Edit67, &Edit68};
}

// ---- the tab's fields

void PaymentPage::SpeedButton7Click() {
  const bool suppressed = form.TabSwitchSuppressed();
  form.SuppressTabSwitch(true);
  form.NewVoucher();
  form.SuppressTabSwitch(suppressed);
  ClearPaymentTab();
  form.SelectTab(books::journal::TabPayment);
}

void PaymentPage::ClearPaymentTab() {
  paymentState_ = DocumentState::New;
  loadedPayment_.reset();
  paymentPartner_.reset();
  for (ui::Edit* e : NarrativeEdits()) e->SetText("");
  for (ui::Edit* e : {&Edit37, &Edit113, &Edit47, &Edit40, &Edit96, &Edit80, &Edit8, &Edit9, &Edit10, &Edit29})
    e->SetText("");
  form.SetAmountText(Edit30, "0");
  const platform::TDateTime today = platform::Date();
  DateTimePicker7.SetMinDate(std::nullopt);
  if (text::IsValidYmd(form.LowestOpenDateYmd())) {
    const platform::TDateTime lowest = text::YmdToDate(form.LowestOpenDateYmd());
    DateTimePicker7.SetDate(std::max(today, lowest));
    DateTimePicker7.SetMinDate(lowest);
  } else {
    DateTimePicker7.SetDate(today);
  }
  CheckBox2.SetChecked(false);
  openItems_.clear();
  CheckListBox1.ClearItems();
  form.AddPayment.SetCaption(L(3344));
  form.AddPayment.SetEnabled(false);
  Edit69.SetVisible(true);
  ShowPaymentButtons();
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit37, &Edit8, &DateTimePicker7, &ComboBox6,
                                                                &Edit30, &Edit113, &Edit47, &Edit96, &SpeedButton10,
                                                                &SpeedButton11, &CheckListBox1})
    c->SetEnabled(true);
  for (ui::Edit* e : NarrativeEdits()) e->SetEnabled(true);
  ComboBox6Select();
  ShowRest();
  form.StatusBar1.Show("", ui::colors::Default);
}

void PaymentPage::Button16Click() {
  // While an import is interrupted, Cancel ends the import.
  if (form.EndInterruptedImport()) return;
  SpeedButton7Click();
  form.SelectTab(books::journal::TabVoucher);
}

void PaymentPage::ShowPaymentButtons() {
  const bool running = form.ImportRunning();
  form.AddPayment.SetVisible(!running);
  form.DeletePayment.SetVisible(!running);
  const bool unbooked = !running && paymentState_ == DocumentState::LoadedUnbooked;
  form.DeletePayment.SetEnabled(unbooked);
  Button21.SetVisible(unbooked);
  if (running) form.AddPayment.SetEnabled(false);
  else if (paymentState_ == DocumentState::LoadedBooked) form.AddPayment.SetEnabled(true);
  else Edit9Change();
}

void PaymentPage::ComboBox6Select() {
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

void PaymentPage::Edit9Change() {
  if (paymentState_ == DocumentState::LoadedBooked) return;
  if (form.ImportRunning()) return form.AddPayment.SetEnabled(false);
  const bool partner = WithPartner(ComboBox6.ItemIndex());
  form.AddPayment.SetEnabled(!Edit30.GetText().empty() && (!partner || !Edit9.GetText().empty()));
}

void PaymentPage::Edit30Exit() {
  const books::journal::AmountExit left = books::journal::AmountFieldLeft(Edit30.GetText(), Decimals());
  if (left.text != Edit30.GetText()) form.SetAmountText(Edit30, left.text);
  ShowRest();
}

std::vector<books::journal::OpenInvoiceItem> PaymentPage::TickedItems() const {
  std::vector<books::journal::OpenInvoiceItem> ticked;
  for (int i = 0; i < static_cast<int>(CheckListBox1.Items().size()) && i < static_cast<int>(openItems_.size()); ++i)
    if (CheckListBox1.Checked(i)) ticked.push_back(openItems_[static_cast<std::size_t>(i)]);
  return ticked;
}

void PaymentPage::ShowRest() {
  const double amount = form.TryParseAmountOr0(Edit30.GetText());
  Edit69.SetText(form.AmountText(books::journal::PaymentRest(amount, TickedItems(), Decimals())));
}

void PaymentPage::ophalenfacturenExecute() {
  openItems_.clear();
  CheckListBox1.ClearItems();
  if (!paymentPartner_) return ShowRest();
  const records::DocumentKind kind =
      books::partners::KindInfo(books::partners::KindOfRelationshipType(paymentPartner_->RelationshipType()))
          .relationshipType;
  // Every open invoice of the partner, not one list page.
  const books::journal::InvoiceList list = books::journal::OpenInvoicesOf(kind, paymentPartner_->OurNumber());
  if (formkit::ReportFileFailure(list)) return;
  std::vector<records::InvoiceRec> invoices;
  for (const books::journal::LoadedInvoice& doc : *list.value) invoices.push_back(doc.record);
  openItems_ = books::journal::OpenInvoiceItems(invoices, paymentPartner_->DiscountRate(), Decimals());
  for (std::size_t i = 0; i < openItems_.size(); ++i)
    CheckListBox1.AddItem(openItems_[i].Text(Decimals()), false, static_cast<int64_t>(i));
  ShowRest();
}

void PaymentPage::CheckListBox1Click(int index) {
  if (index >= 0 && index < static_cast<int>(openItems_.size()) && CheckListBox1.Checked(index)) {
    const std::vector<books::journal::OpenInvoiceItem> ticked = TickedItems();
    bool discount = false;
    for (const books::journal::OpenInvoiceItem& item : ticked) discount = discount || item.discount > 0;
    const bool tax = paymentPartner_ && !text::TrimTrailingBlanks(paymentPartner_->VatGroup1()).empty() &&
                     books::journal::RateOfAccount(SalesTaxAccountTable, paymentPartner_->VatGroup1()) > 0;
    if (books::journal::PaymentLinesNeeded(static_cast<int>(ticked.size()), discount, tax) >
        books::journal::kVoucherLines) {
      CheckListBox1.SetChecked(index, false);
      form.StatusBar1.Show(BuiltInText(text::BuiltIn::NoMoreInvoicesFitOnThis),
                           ui::colors::Red);
    }
  }
  ShowRest();
}

// ---- store and propose

records::PaymentRec PaymentPage::PaymentFromTab() const {
  records::PaymentRec rec;
  if (loadedPayment_) rec = loadedPayment_->record;
  const std::string kind(records::CodeOf(books::journal::KindOfItem(ComboBox6.ItemIndex())));
  if (!loadedPayment_) {
    rec.SetValueDate(text::DateToYmd(DateTimePicker7.Date()));
    rec.SetPartnerType(kind);
    rec.SetPartnerNumber(WithPartner(ComboBox6.ItemIndex()) && paymentPartner_ ? paymentPartner_->OurNumber() : 0);
  }
  rec.SetBankAccount(Cut(Edit37.GetText(), 15));
  rec.SetEntryNumber(Cut(Edit96.GetText(), 10));
  rec.SetAscription(Cut(Edit113.GetText(), 60));
  const std::vector<const ui::Edit*> narratives = NarrativeEdits();
  for (int k = 1; k <= 6; ++k) rec.SetNarrative(k, Cut(narratives[static_cast<std::size_t>(k - 1)]->GetText(), 60));
  rec.SetMemo(Cut(Edit47.GetText(), 60));
  // A loaded amount the user left as shown keeps the record's value.
  if (loadedPayment_ && Edit30.GetText() == form.AmountText(loadedPayment_->record.Amount()))
    rec.SetAmount(loadedPayment_->record.Amount());
  else
    rec.SetAmount(form.TryParseAmountOr0(Edit30.GetText()));
  return rec;
}

void PaymentPage::Button15Click() { form.StoreWithAllJournals([this] { StorePayment(); }); }

void PaymentPage::StorePayment() {
  if (paymentState_ == DocumentState::LoadedBooked && loadedPayment_) {
    if (!form.ShowDocumentVoucher(books::journal::FindVoucherOf(books::journal::PaymentKeyOf(loadedPayment_->record))))
      form.StatusBar1.Show(L(9892), ui::colors::Lime);
    return;
  }
  // Every check before the file opens.
  if (WithPartner(ComboBox6.ItemIndex()) && !paymentPartner_) {
    form.StatusBar1.Show(BuiltInText(text::BuiltIn::ChooseThePaymentSPartnerFirst),
                         ui::colors::Red);
    return;
  }
  if (form.ComboBox4.GetText().empty()) {
    form.StatusBar1.Show(BuiltInText(text::BuiltIn::ThereIsNoBankOrCash),
                         ui::colors::Red);
    return;
  }
  if (!form.AmountOf(Edit30, Label82.Caption())) return;

  const records::PaymentRec rec = PaymentFromTab();
  const books::journal::PaymentResult r =
      paymentState_ == DocumentState::New ? books::journal::InsertPayment(rec) : ChangePayment(rec, *loadedPayment_);
  if (!form.DocumentDone(r.outcome, r.failure, false)) return;
  // The payment is stored once: its number shows, a second press changes it.
  loadedPayment_ = r.value;
  paymentState_ = DocumentState::LoadedUnbooked;
  Edit80.SetText(std::to_string(r.value->record.PaymentNumber()));
  form.AddPayment.SetCaption(L(3409));
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit37, &Edit8, &SpeedButton10, &SpeedButton11,
                                                                &DateTimePicker7, &ComboBox6})
    c->SetEnabled(false);
  ShowPaymentButtons();
  ProposePaymentVoucher(r.value->record);
}

void PaymentPage::ProposePaymentVoucher(const records::PaymentRec& rec) {
  const books::journal::PaymentKey key = books::journal::PaymentKeyOf(rec);
  const std::string valueDate = rec.ValueDate();
  form.StartProposal(valueDate);
  books::journal::PaymentProposalInput in;
  in.kind = books::journal::ProposalKindOf(key.kind);
  const std::string bank = form.ComboBox4.GetText();
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
    form.SetEntryLine(static_cast<int>(i), lines[i].account, lines[i].text, lines[i].amount, lines[i].side);
    const int line = static_cast<int>(i);
    // The bank line and the invoices it pays are shown, not edited; a text
    // the proposal wrote stays.
    if (i == 0 || lines[i].paysInvoice) form.ShowLineOnly(line);
    else if (!lines[i].text.empty()) form.ShowLineTextOnly(line);
  }
  form.ShowProposalHead(key, books::journal::VoucherPartner{key.partner, key.kind},
                        books::journal::VoucherNumberOf(key), rec.EntryNumber(), rec.Memo(), valueDate, false);
  form.GoToProposal();
}

void PaymentPage::Button21Click() {
  if (paymentState_ != DocumentState::LoadedUnbooked || !loadedPayment_) return;
  const books::journal::PaymentResult r = books::journal::DeletePayment(*loadedPayment_);
  if (!form.DocumentDone(r.outcome, r.failure, false)) return;
  ClearPaymentTab();
}

// ---- the list

books::journal::PaymentFilter PaymentPage::PaymentFilterFromTab() const {
  books::journal::PaymentFilter f;
  f.withoutVoucher = CheckBox7.Checked();
  f.all = CheckBox8.Checked();
  if (CheckBox11.Checked()) f.entryNumber = Edit98.GetText();
  if (CheckBox9.Checked()) {
    std::int32_t number = -1;
    if (auto v = text::TryParseAmount(Edit70.GetText()); v && !Edit70.GetText().empty())
      number = static_cast<std::int32_t>(*v);
    f.partner =
        books::journal::DocumentPartner{books::journal::KindOfItem(std::clamp(ComboBox8.ItemIndex(), 0, 1)), number};
  }
  return f;
}

void PaymentPage::SpeedButton2Click() { List.Fill(PaymentFilterFromTab(), 0); }

void PaymentPage::Button28Click() {
  CheckBox7.SetChecked(true);
  for (ui::CheckBox* c : {&CheckBox8, &CheckBox9, &CheckBox11}) c->SetChecked(false);
  form.SelectTab(books::journal::TabPaymentList);
  SpeedButton2Click();
}

void PaymentPage::Button17Click() {
  const int row = StringGrid3.Row();
  const std::optional<books::journal::LoadedPayment> chosen = List.Chosen(row);
  if (!chosen) return;
  const books::journal::LoadedPayment doc = *chosen;
  const records::PaymentRec& rec = doc.record;
  const int kind = std::max(0, books::journal::KindIndexOf(rec.PartnerType()));
  std::optional<records::PartnerRec> partner;
  if (WithPartner(kind)) {
    const books::partners::PartnerResult found = books::partners::FindPartnerByNumber(
        kind == 0 ? books::partners::PartnerKind::Customer : books::partners::PartnerKind::Supplier,
        rec.PartnerNumber());
    if (formkit::ReportFileFailure(found)) return;
    if (found.Ok()) partner = found.value->record;
  }
  const bool all = form.CheckBox12.Checked();
  form.CheckBox12.SetChecked(true);
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
  form.SetAmountText(Edit30, form.AmountText(rec.Amount()));
  Edit47.SetText(text::TrimTrailingBlanks(rec.Memo()));
  Edit113.SetText(text::TrimTrailingBlanks(rec.Ascription()));
  const std::vector<ui::Edit*> narratives = NarrativeEdits();
  for (int k = 1; k <= 6; ++k)
    narratives[static_cast<std::size_t>(k - 1)]->SetText(text::TrimTrailingBlanks(rec.Narrative(k)));
  CheckBox2.SetChecked(booked);
  if (booked) {
    // The invoices the voucher paid, ticked, from its lines.
    openItems_.clear();
    CheckListBox1.ClearItems();
    const books::journal::StoreResult r = books::journal::FindVoucherOf(books::journal::PaymentKeyOf(rec));
    if (r.Ok() && r.value)
      for (std::size_t i = 1; i < r.value->records.size(); ++i) {
        const records::JournalVoucherRec& line = r.value->records[i];
        if (!line.InvoiceAttached() || text::TrimTrailingBlanks(line.InvoiceNumber()).empty()) continue;
        books::journal::OpenInvoiceItem item;
        const std::string text = text::TrimTrailingBlanks(line.LineText());
        item.key = {text.substr(0, 8), rec.PartnerType(), rec.PartnerNumber(),
                    text::TrimTrailingBlanks(line.InvoiceNumber())};
        item.owing = kind == 0 ? line.CreditAmount() : line.DebitAmount();
        openItems_.push_back(item);
        CheckListBox1.AddItem(text + "/" + form.AmountText(item.owing), true,
                              static_cast<int64_t>(openItems_.size() - 1));
      }
  }
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit37, &Edit8, &SpeedButton10, &SpeedButton11,
                                                                &DateTimePicker7, &ComboBox6})
    c->SetEnabled(false);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit30, &Edit96, &Edit47, &Edit113, &CheckListBox1})
    c->SetEnabled(!booked);
  for (ui::Edit* e : narratives) e->SetEnabled(!booked);
  ShowRest();
  form.AddPayment.SetCaption(booked ? L(3981) : L(3409));
  ShowPaymentButtons();
  Edit69.SetVisible(!booked);

  form.SuppressTabSwitch(true);
  Button18Click();
  form.SuppressTabSwitch(false);
  form.SelectTab(books::journal::TabPayment);
  form.CheckBox12.SetChecked(all);
}

void PaymentPage::Button18Click() {
  CheckBox9.SetChecked(false);
  for (ui::Edit* e : {&Edit79, &Edit70, &Edit77, &Edit78}) e->SetText("");
  ComboBox8.SetItemIndex(0);
  List.Clear();
  form.StatusBar1.Show("", ui::colors::Default);
  form.SelectTab(books::journal::TabVoucher);
}

void PaymentPage::CheckBox9Click() {
  Panel29.SetVisible(CheckBox9.Checked());
  form.SearchPartner2.SetVisible(CheckBox9.Checked() || form.TabControl1.TabIndex() != books::journal::TabPaymentList);
}

void PaymentPage::CheckBox11Click() {
  Edit98.SetVisible(CheckBox11.Checked());
  Edit98.SetText("");
}

// ---- set-up

void PaymentPage::Bind() {
  SpeedButton10.OnClick = [this] { form.aanroeppartner.Execute(); };
  for (ui::Component* c : std::initializer_list<ui::Component*>{&SpeedButton11, &SpeedButton13})
    c->OnClick = [this] { form.SpeedButton11Click(); };
  for (ui::Edit* e : {&Edit8, &Edit37, &Edit79})
    e->OnKeyPress = [this](char& key) {
      if (key != '\r') return;
      key = 0;
      form.SpeedButton11Click();
    };
  Button16.OnClick = [this] { Button16Click(); };
  SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  Button18.OnClick = [this] { Button18Click(); };
  BitBtn3.OnClick = [this] { BitBtn3Click(); };
  BitBtn4.OnClick = [this] { BitBtn4Click(); };
  StringGrid3.OnDblClick = [this] { form.SelectPaymentRow.Execute(); };
  CheckListBox1.OnClickCheck = [this](int i) { CheckListBox1Click(i); };
  ComboBox6.OnSelect = [this] { ComboBox6Select(); };
  ComboBox6.OnExit = [this] { ComboBox6Exit(); };
  ComboBox8.OnExit = [this] { ComboBox8Exit(); };
  ComboBox8.OnSelect = [this] { ComboBox8Exit(); };
  Edit9.OnChange = [this] { Edit9Change(); };
  Edit30.OnExit = [this] { Edit30Exit(); };
  CheckBox9.OnClick = [this] { CheckBox9Click(); };
  CheckBox11.OnClick = [this] { CheckBox11Click(); };
  form.BindDocumentAmountField(Edit30);
  Edit30.OnChange = [this, prev = Edit30.OnChange] {
    if (prev) prev();
    Edit9Change();
  };
}

void PaymentPage::LayOut() {
  for (ui::Panel* p : {&Panel1, &Panel8}) p->SetBevel(false);
  Edit80.SetReadOnly(true);
  Panel1.gridColumns = 4;
  Panel26.gridColumns = 3;
  for (ui::Panel* p : {&Panel25, &Panel26, &Panel27, &Panel28, &Panel29, &Panel30}) p->SetBevel(false);
  for (ui::Edit* e : {&Edit10, &Edit29, &Edit40, &Edit69, &Edit70, &Edit77, &Edit78, &Edit80, &Edit9})
    e->SetReadOnly(true);
  Edit37.SetMaxLength(15);
  Edit47.SetMaxLength(60);
  Edit96.SetMaxLength(10);
  Edit113.SetMaxLength(60);
  for (ui::Edit* e : NarrativeEdits()) e->SetMaxLength(60);
  for (ui::Edit* e : {&Edit113, &Edit47}) e->hints.minWidth = 260;
  CheckBox2.SetEnabled(false);
  StringGrid3.hints.stretch = 1;
  StringGrid3.hints.height = 260;
  CheckListBox1.hints.height = 120;
  CheckBox7.SetChecked(true);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit98, &Panel29, &BitBtn3, &BitBtn4})
    c->SetVisible(false);
}

void PaymentPage::ApplyTexts() {
  // The booked mark ("JV created").
  CheckBox2.SetCaption(L(3640));
  for (ui::Button* b : {&Button16, &Button18}) b->SetCaption(L(306));
  SpeedButton2.SetCaption(form.Search1.Caption());
  Label21.SetCaption(BuiltInText(text::BuiltIn::Kind));
  Label24.SetCaption(BuiltInText(text::BuiltIn::BankAccount));
  CheckBox7.SetCaption(BuiltInText(text::BuiltIn::WithoutJV));
  CheckBox9.SetCaption(BuiltInText(text::BuiltIn::SelectedPartner));
}

void PaymentPage::SetListHeads(const std::vector<std::string>& heads) {
  for (int c = 0; c < static_cast<int>(heads.size()); ++c) StringGrid3.SetCell(c, 0, heads[c]);
}

void PaymentPage::ResetFields() {
  for (ui::Edit* e : {&Edit8, &Edit37}) e->SetText("");
}

void PaymentPage::SetKinds(const std::vector<std::string>& kinds, const std::vector<std::string>& listKinds,
                           const std::string& kind) {
  ComboBox6.SetItems(kinds);
  ComboBox8.SetItems(listKinds);
  ComboBox8.SetText(kind);
}

void PaymentPage::KindChanged(int index) { ComboBox8.SetItemIndex(index); }

void PaymentPage::FollowInvoiceKind(int index) {
  if (paymentState_ == DocumentState::New && Edit9.GetText().empty() && !paymentPartner_ &&
      ComboBox6.ItemIndex() != index && ComboBox6.ItemIndex() < 2 &&
      (Edit30.GetText().empty() || form.TryParseAmountOr0(Edit30.GetText()) == 0)) {
    ComboBox6.SetItemIndex(index);
    ComboBox6Select();
  }
}

void PaymentPage::Show(bool list) {
  if (list) {
    if (CheckBox7.Reachable()) CheckBox7.SetFocus();
    return;
  }
  if (Edit8.Reachable()) Edit8.SetFocus();
  else if (Edit37.Reachable()) Edit37.SetFocus();
}

void PaymentPage::ResetListFilters() {
  CheckBox7.SetChecked(true);
  for (ui::CheckBox* c : {&CheckBox8, &CheckBox9, &CheckBox11}) c->SetChecked(false);
}

void PaymentPage::GoToLinked(const books::journal::PaymentKey& key) {
  books::journal::PaymentFilter filter;
  filter.withoutVoucher = false;
  filter.linked = key;
  List.Fill(filter, 0);
  if (List.SingleMatch()) {
    StringGrid3.SetRow(1);
    Button17Click();
  }
}

// ---- the partner

void PaymentPage::SearchPartner() {
  if (form.TabControl1.TabIndex() == books::journal::TabPaymentList) {
    const auto kind =
        books::partners::KindFromItemIndex(ComboBox8.ItemIndex()).value_or(books::partners::PartnerKind::Customer);
    form.SearchPartnerFor(books::journal::PartnerRequester::PaymentList, kind, Edit79.GetText());
    return;
  }
  // The payment tab: a receipt or payment without partner has none to find.
  const auto kind = books::partners::KindFromItemIndex(ComboBox6.ItemIndex());
  if (!kind) return;
  ClearPaymentPartner();
  form.SearchPartnerFor(books::journal::PartnerRequester::PaymentTab, *kind, Edit8.GetText());
}

void PaymentPage::TakePartner(books::journal::PartnerRequester requester, const records::PartnerRec& partner) {
  if (requester == books::journal::PartnerRequester::PaymentList) {
    Edit70.SetText(std::to_string(partner.OurNumber()));
    Edit77.SetText(text::TrimTrailingBlanks(partner.Name()));
    Edit78.SetText(AddressOf(partner));
    form.SelectTab(books::journal::TabPaymentList);
    return;
  }
  SetPaymentPartner(partner);
  form.StatusBar1.Show("", ui::colors::Default);
  form.SelectTab(books::journal::TabPayment);
}

void PaymentPage::ClearPaymentPartner() {
  paymentPartner_.reset();
  for (ui::Edit* e : {&Edit9, &Edit10, &Edit29, &Edit40}) e->SetText("");
  openItems_.clear();
  CheckListBox1.ClearItems();
  ShowRest();
}

void PaymentPage::SetPaymentPartner(const records::PartnerRec& partner) {
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
  form.ophalenfacturen.Execute();
  Edit9Change();
}

// ---- the drop-down exits

// The payment list's kind filter: a typed kind in other capitals is taken,
// anything else is the first kind.
void PaymentPage::ComboBox8Exit() { ComboBox8.SetItemIndex(ListChoiceIndex(ItemTexts(ComboBox8), ComboBox8.GetText(), 0)); }

void PaymentPage::ComboBox6Exit() {
  ComboBox6.SetItemIndex(ListChoiceIndex(ItemTexts(ComboBox6), ComboBox6.GetText(), 0));
  ComboBox6Select();
}

}  // namespace journal
