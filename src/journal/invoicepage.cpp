// The journal form's invoice page, the invoice tab (tab 2) and the invoice
// list (tab 3): store an invoice and propose its voucher, change or delete
// an invoice without voucher, the dates and the book period, the amount
// fields, the partner, and the list with its filters and pages. The invoice
// store (src/books/journal/invoicestore.h) keeps the file; the proposal and
// the dates are plain functions (src/books/journal/documentrules.h).
#include "journal/invoicepage.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "journal/formhelpers.h"
#include "books/journal/voucherstore.h"
#include "platform/numberformat.h"
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

std::optional<std::int32_t> WholeNumber(const std::string& text) {
  const std::string t = text::TrimText(text);
  if (t.empty() || t.size() > 10) return std::nullopt;
  std::size_t i = t[0] == '-' ? 1 : 0;
  if (i == t.size()) return std::nullopt;
  for (std::size_t k = i; k < t.size(); ++k)
    if (t[k] < '0' || t[k] > '9') return std::nullopt;
  const long long v = std::stoll(t);
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

}  // namespace

InvoicePage::InvoicePage(Tboeking& owner, ui::Container* tabs)
    : form(owner),
      tabs_(tabs),
      List({StringGrid2, owner.SelectInvoiceRow, BitBtn5, BitBtn6, owner.StatusBar1}, books::journal::ListInvoices,
           [this](const records::InvoiceRec& rec) {
             // A stored kind other than the customer's shows as a supplier.
             const int k = static_cast<int>(books::partners::KindOfRelationshipType(rec.PartnerType()));
             return std::vector<std::string>{
                 rec.VoucherDate(), form.PartnerKindText(k), std::to_string(rec.PartnerNumber()),
                 rec.InvoiceNumber(), rec.EntryNumber(), form.AmountText(rec.InvoiceAmount()),
                 form.AmountText(rec.PaidAmount()), rec.InvoiceDate(), rec.VoucherCreated() ? "true" : "false",
                 rec.DiscountDate(), rec.DueDate(), rec.Memo(), form.AmountText(rec.InvoiceAmount() - rec.PaidAmount()),
                 form.AmountText(rec.PrepaidAmount())};
           },
           [](const books::journal::InvoicePage& p) { return L(LanguageOffsetOf(p.outcome, true)); }) {}

std::string InvoicePage::InvoiceKindCode() const {
  if (loadedInvoice_) return loadedInvoice_->record.PartnerType();
  if (invoicePartner_)
    return std::string(records::CodeOf(
        books::partners::KindInfo(books::partners::KindOfRelationshipType(invoicePartner_->RelationshipType()))
            .relationshipType));
  return std::string(records::CodeOf(books::journal::KindOfItem(std::clamp(form.ComboBox3.ItemIndex(), 0, 1))));
}

// ---- the tab's fields

void InvoicePage::ClearInvoiceTab() {
  invoiceState_ = DocumentState::New;
  invoicePartner_.reset();
  loadedInvoice_.reset();
  // The button follows its action: its own visibility is set after.
  form.DeleteInvoice.SetEnabled(false);
  Button19.SetVisible(false);
  for (ui::Edit* e : {&Edit7, &Edit87, &Edit4, &Edit20, &Edit27, &Edit28, &Edit19})
    e->SetText("");
  for (ui::Edit* e : {&Edit17, &Edit18, &Edit124, &Edit57}) form.SetAmountText(*e, "");
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit17, &Edit124, &Edit19, &Edit4, &SpeedButton4,
                                                                &SpeedButton1, &Edit7, &Edit87, &SpeedButton3,
                                                                &DateTimePicker3, &ComboBox5})
    c->SetEnabled(true);
  Edit7.SetMaxLength(15);
  ComboBox5.SetItemIndex(-1);
  DateTimePicker5.SetEnabled(false);
  DateTimePicker6.SetEnabled(false);
  const platform::TDateTime voucherDate = form.DateTimePicker2.Date();
  DateTimePicker3.SetDate(voucherDate);
  CheckBox1.SetChecked(false);
  form.AddInvoice.SetCaption(L(3344));
  form.AddInvoice.SetEnabled(false);
  Label23.SetCaption(form.ComboBox3.GetText());
  DateTimePicker3Change();
}

void InvoicePage::LockInvoiceTab(bool amountsEditable) {
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit4, &SpeedButton4, &SpeedButton1, &Edit7, &Edit87,
                                                                &SpeedButton3, &DateTimePicker3, &DateTimePicker4,
                                                                &ComboBox5, &DateTimePicker5, &DateTimePicker6})
    c->SetEnabled(false);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit17, &Edit124, &Edit19})
    c->SetEnabled(amountsEditable);
}

void InvoicePage::Button10Click() {
  form.NewVoucher();
  ClearInvoiceTab();
  form.StatusBar1.Show("", ui::colors::Default);
  form.SelectTab(books::journal::TabVoucher);
}

void InvoicePage::Edit7Exit() {
  form.AddInvoice.SetEnabled(!Edit7.GetText().empty() && !Edit20.GetText().empty());
}

void InvoicePage::SpeedButton3Click() {
  if (Edit87.GetText().empty()) Edit87.SetText(Cut(Edit7.GetText(), 10));
}

void InvoicePage::DateTimePicker3Change() {
  if (invoicePartner_) {
    const books::journal::InvoiceTerms terms = books::journal::TermsOf(DateTimePicker3.Date(), *invoicePartner_);
    DateTimePicker5.SetDate(terms.discountDate);
    DateTimePicker6.SetDate(terms.dueDate);
  } else {
    DateTimePicker5.SetDate(DateTimePicker3.Date());
    DateTimePicker6.SetDate(DateTimePicker3.Date());
  }
  ComboBox5Change();
}

void InvoicePage::ComboBox5Change() {
  const std::string invoiceDate = text::DateToYmd(DateTimePicker3.Date());
  const std::string period = ComboBox5.GetText();
  std::optional<std::string> book;
  if (period.empty()) {
    DateTimePicker4.SetEnabled(invoiceState_ == DocumentState::New);
    DateTimePicker4.SetBackColor(ui::colors::Cream);
    book = invoiceDate;
  } else {
    DateTimePicker4.SetEnabled(false);
    DateTimePicker4.SetBackColor(ui::colors::Default);
    book = books::journal::BookDateForPeriod(invoiceDate, period, JournalAdminSettings);
  }
  if (!book || !text::IsValidYmd(*book)) return;
  const std::optional<platform::TDateTime> min = DateTimePicker4.MinDate();
  if (*book < form.LowestOpenDateYmd() || (min && text::YmdToDate(*book) < *min)) {
    form.StatusBar1.Show(L(10715), ui::colors::Red);
    return;
  }
  DateTimePicker4.SetDate(text::YmdToDate(*book));
}

void InvoicePage::InvoiceAmountExit(bool prepaidField) {
  ui::Edit& e = prepaidField ? Edit124 : Edit17;
  const books::journal::AmountExit left = books::journal::AmountFieldLeft(e.GetText(), Decimals());
  if (left.text != e.GetText()) form.SetAmountText(e, left.text);
  const std::optional<double> amount = text::TryParseAmount(Edit17.GetText());
  const std::optional<double> prepaid = text::TryParseAmount(Edit124.GetText());
  if (!amount || !prepaid) return;
  std::optional<double> paid = text::TryParseAmount(Edit18.GetText());
  if (invoiceState_ == DocumentState::New) paid = *prepaid;
  else if (prepaidField && loadedInvoice_)
    paid = *prepaid - loadedInvoice_->record.PrepaidAmount() + loadedInvoice_->record.PaidAmount();
  form.SetAmountText(Edit18, form.AmountText(paid.value_or(0)));
  form.SetAmountText(Edit57, form.AmountText(*amount - paid.value_or(0)));
}

// ---- store and propose

records::InvoiceRec InvoicePage::InvoiceFromTab() const {
  records::InvoiceRec rec;
  if (loadedInvoice_) rec = loadedInvoice_->record;
  rec.SetInvoiceDate(text::DateToYmd(DateTimePicker3.Date()));
  rec.SetDiscountDate(text::DateToYmd(DateTimePicker5.Date()));
  rec.SetDueDate(text::DateToYmd(DateTimePicker6.Date()));
  if (!loadedInvoice_) {
    rec.SetVoucherDate(text::DateToYmd(DateTimePicker4.Date()));
    rec.SetInvoiceNumber(Cut(text::TrimText(Edit7.GetText()), 15));
    rec.SetPartnerType(InvoiceKindCode());
    rec.SetPartnerNumber(invoicePartner_ ? invoicePartner_->OurNumber() : 0);
  }
  rec.SetEntryNumber(Cut(Edit87.GetText(), 10));
  rec.SetMemo(Cut(Edit19.GetText(), 80));
  // A loaded amount the user left as shown keeps the record's value, not
  // the rounded text.
  auto amount = [this](const ui::Edit& e, std::optional<double> stored) {
    if (stored && e.GetText() == form.AmountText(*stored)) return *stored;
    return form.TryParseAmountOr0(e.GetText());
  };
  const bool loaded = loadedInvoice_.has_value();
  rec.SetInvoiceAmount(amount(Edit17, loaded ? std::optional(loadedInvoice_->record.InvoiceAmount()) : std::nullopt));
  rec.SetPrepaidAmount(amount(Edit124, loaded ? std::optional(loadedInvoice_->record.PrepaidAmount()) : std::nullopt));
  return rec;
}

void InvoicePage::Button9Click() { form.StoreWithAllJournals([this] { StoreInvoice(); }); }

void InvoicePage::StoreInvoice() {
  if (invoiceState_ == DocumentState::LoadedBooked && loadedInvoice_) {
    // The invoice's own voucher, found by its key, or reported missing.
    if (form.ShowDocumentVoucher(books::journal::FindVoucherOf(books::journal::InvoiceKeyOf(loadedInvoice_->record))))
      return;
    CheckBox1.SetChecked(false);
    ProposeInvoiceVoucher(loadedInvoice_->record);
    form.StatusBar1.Show(BuiltInText(text::BuiltIn::JournalVoucherOfThisInvoiceWas),
                         ui::colors::Yellow);
    return;
  }
  // Every check before the file opens.
  if (!invoicePartner_) {
    form.StatusBar1.Show(BuiltInText(text::BuiltIn::ChooseTheInvoiceSPartnerFirst),
                         ui::colors::Red);
    return;
  }
  // A new invoice's number is stored without blanks at its ends, as the
  // voucher's lines name it; the field shows what is stored.
  if (invoiceState_ == DocumentState::New) Edit7.SetText(text::TrimText(Edit7.GetText()));
  const int room = books::journal::MaxInvoiceNumberLength(InvoiceKindCode(), invoicePartner_->OurNumber());
  if (Edit7.GetText().empty() || static_cast<int>(Edit7.GetText().size()) > room) {
    char text[160];
    std::snprintf(text, sizeof text,
                  BuiltInText(text::BuiltIn::InvoiceNumberMayHaveAtMost)
                      .c_str(),
                  room);
    form.StatusBar1.Show(text, ui::colors::Red);
    return;
  }
  if (!form.AmountOf(Edit17, Label17.Caption()) || !form.AmountOf(Edit124, Label73.Caption())) return;

  const records::InvoiceRec rec = InvoiceFromTab();
  const books::journal::InvoiceResult r =
      invoiceState_ == DocumentState::New ? books::journal::InsertInvoice(rec) : ChangeInvoice(rec, *loadedInvoice_);
  if (r.outcome == books::journal::DocumentOutcome::Duplicate) {
    form.StatusBar1.Show(L(9648), ui::colors::Lime);
    return;
  }
  if (!form.DocumentDone(r.outcome, r.failure, true)) return;
  loadedInvoice_ = r.value;
  invoiceState_ = DocumentState::LoadedUnbooked;
  form.SetAmountText(Edit18, form.AmountText(r.value->record.PaidAmount()));
  form.SetAmountText(Edit57, form.AmountText(r.value->record.InvoiceAmount() - r.value->record.PaidAmount()));
  form.AddInvoice.SetCaption(L(3409));
  ProposeInvoiceVoucher(r.value->record);
}

void InvoicePage::ProposeInvoiceVoucher(const records::InvoiceRec& rec) {
  const books::journal::InvoiceKey key = books::journal::InvoiceKeyOf(rec);
  form.StartProposal(rec.VoucherDate());
  books::journal::InvoiceProposalInput in;
  if (invoicePartner_) in.partner = *invoicePartner_;
  in.customer = records::DocumentKindOf(key.kind) == records::DocumentKind::Customer;
  in.partnerNumber = key.partner;
  in.invoiceNumber = text::TrimTrailingBlanks(key.number);
  in.gross = rec.InvoiceAmount();
  in.prepaid = rec.PrepaidAmount();
  in.rate = books::journal::RateOfAccount(SalesTaxAccountTable, in.partner.VatGroup1());
  in.decimals = Decimals();
  in.prepaidCaption = Label73.Caption();
  const std::vector<books::journal::ProposedLine> lines = books::journal::InvoiceProposal(in);
  for (std::size_t i = 0; i < lines.size(); ++i)
    form.SetEntryLine(static_cast<int>(i), lines[i].account, lines[i].text, lines[i].amount, lines[i].side);
  // The partner line carries the link and is shown, not edited.
  form.ShowLineOnly(0);
  form.ShowProposalHead(key, books::journal::VoucherPartner{key.partner, key.kind},
                        books::journal::VoucherNumberOf(key), rec.EntryNumber(), rec.Memo(), rec.VoucherDate(), true);
  LockInvoiceTab(false);
  form.GoToProposal();
}

void InvoicePage::Button19Click() {
  if (invoiceState_ != DocumentState::LoadedUnbooked || !loadedInvoice_) return;
  const books::journal::InvoiceResult r = books::journal::DeleteInvoice(*loadedInvoice_);
  if (!form.DocumentDone(r.outcome, r.failure, true)) return;
  Button10Click();
  Button14Click();
}

// ---- the list

books::journal::InvoiceFilter InvoicePage::InvoiceFilterFromTab() const {
  books::journal::InvoiceFilter f;
  f.owing = CheckBox3.Checked();
  f.withoutVoucher = CheckBox4.Checked();
  f.all = CheckBox5.Checked();
  if (CheckBox10.Checked()) f.entryNumber = Edit97.GetText();
  if (CheckBox6.Checked())
    f.partner = books::journal::DocumentPartner{books::journal::KindOfItem(std::clamp(ComboBox7.ItemIndex(), 0, 1)),
                                                WholeNumber(Edit39.GetText()).value_or(-1)};
  return f;
}

void InvoicePage::Image5Click() { List.Fill(InvoiceFilterFromTab(), 0); }

void InvoicePage::Button13Click() {
  const int row = StringGrid2.Row();
  const std::optional<books::journal::LoadedInvoice> chosen = List.Chosen(row);
  if (!chosen) return;
  const books::journal::LoadedInvoice doc = *chosen;
  const records::InvoiceRec& rec = doc.record;
  // The invoice's own partner, by its kind and number.
  // A stored kind other than the customer's is looked for among the suppliers.
  const books::partners::PartnerKind kind = books::partners::KindOfRelationshipType(rec.PartnerType());
  const books::partners::PartnerResult partner = books::partners::FindPartnerByNumber(kind, rec.PartnerNumber());
  if (formkit::ReportFileFailure(partner)) return;

  ClearInvoiceTab();
  if (partner.Ok()) {
    SetInvoicePartner(partner.value->record);
  } else {
    Edit20.SetText(std::to_string(rec.PartnerNumber()));
    Edit4.SetText(Edit20.GetText());
  }
  loadedInvoice_ = doc;
  const bool booked = rec.VoucherCreated();
  invoiceState_ = booked ? DocumentState::LoadedBooked : DocumentState::LoadedUnbooked;
  Label23.SetCaption(StringGrid2.Cell(1, row));
  Edit7.SetText(text::TrimTrailingBlanks(rec.InvoiceNumber()));
  Edit87.SetText(text::TrimTrailingBlanks(rec.EntryNumber()));
  form.ShowDate(DateTimePicker3, rec.InvoiceDate());
  form.ShowDate(DateTimePicker5, rec.DiscountDate());
  form.ShowDate(DateTimePicker6, rec.DueDate());
  ComboBox5.SetText(books::journal::PeriodTextOf(rec.VoucherDate(), JournalAdminSettings));
  form.ShowDate(DateTimePicker4, rec.VoucherDate());
  // The amounts from the record, never from the grid's text.
  form.SetAmountText(Edit17, form.AmountText(rec.InvoiceAmount()));
  form.SetAmountText(Edit18, form.AmountText(rec.PaidAmount()));
  form.SetAmountText(Edit124, form.AmountText(rec.PrepaidAmount()));
  form.SetAmountText(Edit57, form.AmountText(rec.InvoiceAmount() - rec.PaidAmount()));
  Edit19.SetText(text::TrimTrailingBlanks(rec.Memo()));
  CheckBox1.SetChecked(booked);
  LockInvoiceTab(!booked);

  form.SuppressTabSwitch(true);
  Button14Click();
  form.SuppressTabSwitch(false);
  form.SelectTab(books::journal::TabInvoice);
  form.DeleteInvoice.SetEnabled(!booked);
  Button19.SetVisible(!booked);
  form.AddInvoice.SetCaption(booked ? L(3981) : L(3409));
  form.AddInvoice.SetEnabled(true);
}

void InvoicePage::Button14Click() {
  List.Clear();
  CheckBox3.SetChecked(true);
  CheckBox4.SetChecked(true);
  CheckBox5.SetChecked(false);
  CheckBox6.SetChecked(false);
  for (ui::Edit* e : {&Edit58, &Edit39, &Edit49, &Edit50}) e->SetText("");
  form.StatusBar1.Show("", ui::colors::Default);
  form.SelectTab(books::journal::TabVoucher);
}

void InvoicePage::CheckBox6Click() {
  Panel22.SetVisible(CheckBox6.Checked());
  form.SearchPartner1.SetVisible(CheckBox6.Checked() || form.TabControl1.TabIndex() != books::journal::TabInvoiceList);
}

void InvoicePage::CheckBox10Click() {
  Edit97.SetVisible(CheckBox10.Checked());
  Edit97.SetText("");
}

// ---- set-up

void InvoicePage::Bind() {
  for (ui::Component* c : std::initializer_list<ui::Component*>{&SpeedButton4, &SpeedButton12})
    c->OnClick = [this] { form.zoekpartner.Execute(); };
  SpeedButton1.OnClick = [this] { form.aanroeppartner.Execute(); };
  for (ui::Edit* e : {&Edit4, &Edit58})
    e->OnKeyPress = [this](char& key) {
      if (key != '\r') return;
      key = 0;
      form.zoekpartner.Execute();
    };
  Button10.OnClick = [this] { Button10Click(); };
  Image5.OnClick = [this] { Image5Click(); };
  Button14.OnClick = [this] { Button14Click(); };
  BitBtn5.OnClick = [this] { BitBtn5Click(); };
  BitBtn6.OnClick = [this] { BitBtn6Click(); };
  StringGrid2.OnDblClick = [this] { form.SelectInvoiceRow.Execute(); };
  DateTimePicker3.OnChange = [this] { DateTimePicker3Change(); };
  DateTimePicker4.OnChange = [this] { Edit7Exit(); };
  ComboBox5.OnChange = [this] { ComboBox5Change(); };
  ComboBox5.OnSelect = [this] { ComboBox5Change(); };
  ComboBox5.OnExit = [this] { ComboBox5Exit(); };
  ComboBox7.OnExit = [this] { ComboBox7Exit(); };
  Edit7.OnExit = [this] { Edit7Exit(); };
  Edit7.OnChange = [this] { Edit7Exit(); };
  Edit20.OnChange = [this] { Edit7Exit(); };
  Edit17.OnExit = [this] { InvoiceAmountExit(false); };
  Edit124.OnExit = [this] { InvoiceAmountExit(true); };
  SpeedButton3.OnClick = [this] { SpeedButton3Click(); };
  CheckBox6.OnClick = [this] { CheckBox6Click(); };
  CheckBox10.OnClick = [this] { CheckBox10Click(); };
  for (ui::Edit* e : {&Edit17, &Edit124}) form.BindDocumentAmountField(*e);
}

void InvoicePage::LayOut() {
  for (ui::Panel* p : {&Panel3, &Panel7}) p->SetBevel(false);
  Panel3.gridColumns = 4;
  for (ui::Panel* p : {&Panel18, &Panel19, &Panel20, &Panel21, &Panel22, &Panel23}) p->SetBevel(false);
  for (ui::Edit* e : {&Edit27, &Edit28, &Edit18, &Edit57, &Edit39, &Edit49, &Edit50, &Edit20}) e->SetReadOnly(true);
  Edit19.SetMaxLength(80);
  Edit87.SetMaxLength(10);
  Edit7.SetMaxLength(15);
  for (ui::Edit* e : {&Edit19, &Edit28, &Edit27}) e->hints.minWidth = 260;
  CheckBox1.SetEnabled(false);
  StringGrid2.hints.stretch = 1;
  StringGrid2.hints.height = 260;
  CheckBox3.SetChecked(true);
  CheckBox4.SetChecked(true);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit97, &Panel22, &BitBtn5, &BitBtn6})
    c->SetVisible(false);
}

void InvoicePage::ApplyTexts() {
  Label16.SetCaption(L(3596) + " " + L(3768));
  Label53.SetCaption(L(6653) + " :  " + JournalAdminSettings.CurrentAnnualBalance() + " ");
  // The booked mark ("JV created").
  CheckBox1.SetCaption(L(3640));
  for (ui::Button* b : {&Button10, &Button14}) b->SetCaption(L(306));
  Image5.SetCaption(form.SearchInvoice1.Caption());
  Label15.SetCaption(BuiltInText(text::BuiltIn::BookDate));
  Label17.SetCaption(BuiltInText(text::BuiltIn::Amount));
  Label73.SetCaption(BuiltInText(text::BuiltIn::Prepaid));
  Label18.SetCaption(BuiltInText(text::BuiltIn::Paid));
  Label19.SetCaption(BuiltInText(text::BuiltIn::Owing));
  CheckBox3.SetCaption(BuiltInText(text::BuiltIn::OwingAmount) + "  <> 0" +
                       std::string(1, platform::DecimalSeparator()) + "00");
  CheckBox4.SetCaption(BuiltInText(text::BuiltIn::WithoutJournalVoucher));
  CheckBox5.SetCaption(BuiltInText(text::BuiltIn::All));
  CheckBox6.SetCaption(BuiltInText(text::BuiltIn::SelectPartner2));
  CheckBox10.SetCaption(BuiltInText(text::BuiltIn::Entrynumber));
}

void InvoicePage::SetListHeads(const std::vector<std::string>& heads) {
  for (int c = 0; c < static_cast<int>(heads.size()); ++c) StringGrid2.SetCell(c, 0, heads[c]);
}

void InvoicePage::ResetFields() {
  Edit7.SetText("");
  for (ui::Edit* e : {&Edit17, &Edit18, &Edit124}) e->SetText("0");
}

void InvoicePage::SetKinds(const std::vector<std::string>& kinds, const std::string& kind) {
  ComboBox7.SetItems(kinds);
  ComboBox7.SetText(kind);
}

void InvoicePage::SetPeriods(const std::vector<std::string>& periods) {
  ComboBox5.SetItems(periods);
  if (periods.size() > 1) {
    ComboBox5.SetItemIndex(1);
    if (PeriodCaptionPending) {
      Label53.SetCaption(Label53.Caption() + " " + periods[1]);
      PeriodCaptionPending = false;
    }
  }
}

void InvoicePage::KindChanged(int index, const std::string& text) {
  ComboBox7.SetItemIndex(index);
  if (!invoicePartner_) Label23.SetCaption(text);
}

void InvoicePage::Show(bool list) {
  if (list) {
    if (CheckBox3.Reachable()) CheckBox3.SetFocus();
    return;
  }
  if (!invoicePartner_) Label23.SetCaption(form.ComboBox3.GetText());
  if (Edit7.Reachable()) Edit7.SetFocus();
  else if (Button10.Reachable()) Button10.SetFocus();
}

void InvoicePage::ResetListFilters() {
  CheckBox3.SetChecked(true);
  CheckBox4.SetChecked(true);
  for (ui::CheckBox* c : {&CheckBox5, &CheckBox6, &CheckBox10}) c->SetChecked(false);
}

void InvoicePage::GoToLinked(const books::journal::InvoiceKey& key) {
  books::journal::InvoiceFilter filter;
  filter.owing = filter.withoutVoucher = false;
  filter.linked = key;
  List.Fill(filter, 0);
  if (List.SingleMatch()) {
    StringGrid2.SetRow(1);
    Button13Click();
  }
}

// ---- the partner

void InvoicePage::SearchPartner() {
  if (form.TabControl1.TabIndex() == books::journal::TabInvoiceList) {
    const auto kind =
        books::partners::KindFromItemIndex(ComboBox7.ItemIndex()).value_or(books::partners::PartnerKind::Customer);
    form.SearchPartnerFor(books::journal::PartnerRequester::InvoiceList, kind, Edit58.GetText());
  } else {
    const auto kind =
        books::partners::KindFromItemIndex(form.ComboBox3.ItemIndex()).value_or(books::partners::PartnerKind::Customer);
    form.SearchPartnerFor(books::journal::PartnerRequester::InvoiceTab, kind, Edit4.GetText());
  }
}

void InvoicePage::TakePartner(books::journal::PartnerRequester requester, const records::PartnerRec& partner) {
  if (requester == books::journal::PartnerRequester::InvoiceList) {
    Edit39.SetText(std::to_string(partner.OurNumber()));
    Edit49.SetText(text::TrimTrailingBlanks(partner.Name()));
    Edit50.SetText(AddressOf(partner));
    form.SelectTab(books::journal::TabInvoiceList);
    return;
  }
  SetInvoicePartner(partner);
  if (requester == books::journal::PartnerRequester::InvoiceTab) form.SelectTab(books::journal::TabInvoice);
}

void InvoicePage::SetInvoicePartner(const records::PartnerRec& partner) {
  invoicePartner_ = partner;
  const int kind = static_cast<int>(books::partners::KindOfRelationshipType(partner.RelationshipType()));
  if (kind < form.ComboBox3.Count()) Label23.SetCaption(form.PartnerKindText(kind));
  Edit4.SetText(std::to_string(partner.OurNumber()));
  Edit20.SetText(std::to_string(partner.OurNumber()));
  Edit27.SetText(text::TrimTrailingBlanks(partner.Name()));
  Edit28.SetText(AddressOf(partner));
  Edit7.SetMaxLength(books::journal::MaxInvoiceNumberLength(records::CodeOf(books::journal::KindOfItem(kind)), partner.OurNumber()));
  // The terms follow the partner.
  if (invoiceState_ == DocumentState::New) DateTimePicker3Change();
  Edit7Exit();
}

// ---- the drop-down exits

void InvoicePage::ComboBox7Exit() { ComboBox7.SetItemIndex(ListChoiceIndex(ItemTexts(ComboBox7), ComboBox7.GetText(), 0)); }

void InvoicePage::ComboBox5Exit() {
  ComboBox5.SetItemIndex(ListChoiceIndex(ItemTexts(ComboBox5), ComboBox5.GetText(), 1));
  ComboBox5Change();
}

}  // namespace journal
