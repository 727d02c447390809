// The journal form's invoice tab (tab 2) and invoice list (tab 3): store an
// invoice and propose its voucher, change or delete an invoice without
// voucher, the dates and the book period, the amount fields, and the list
// with its filters and pages. The invoice store (src/books/journal/invoicestore.h)
// keeps the file; the proposal and the dates are plain functions
// (src/books/journal/documentrules.h).
#include <algorithm>
#include <cstdio>

#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "books/journal/voucherstore.h"
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

std::string Tboeking::AmountText(double value) { return text::FormatAmount(value, Decimals(), 'Y'); }

std::optional<double> Tboeking::AmountOf(const ui::Edit& e, const std::string& what) {
  if (auto v = text::TryParseAmount(e.GetText())) return v;
  std::string text = BuiltInText("The field \"%s\" holds no amount", "Het veld \"%s\" bevat geen bedrag",
                                 "Das Feld \"%s\" enthält keinen Betrag");
  if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, what);
  StatusBar1.Show(text, ui::colors::Red);
  return std::nullopt;
}

std::string Tboeking::InvoiceKindCode() const {
  if (loadedInvoice_) return loadedInvoice_->record.PartnerType();
  if (invoicePartner_)
    return books::partners::KindOfRelationshipType(invoicePartner_->RelationshipType()) ==
                   books::partners::PartnerKind::Customer
               ? "CUS"
               : "VEN";
  return books::journal::KindCodeOf(std::clamp(ComboBox3.ItemIndex(), 0, 1));
}

// ---- the tab's fields

void Tboeking::ClearInvoiceTab() {
  invoiceState_ = DocumentState::New;
  invoicePartner_.reset();
  loadedInvoice_.reset();
  // The button follows its action: its own visibility is set after.
  DeleteInvoice.SetEnabled(false);
  Button19.SetVisible(false);
  for (ui::Edit* e : {&Edit7, &Edit87, &Edit4, &Edit20, &Edit27, &Edit28, &Edit19})
    e->SetText("");
  for (ui::Edit* e : {&Edit17, &Edit18, &Edit124, &Edit57}) SetAmountText(*e, "");
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit17, &Edit124, &Edit19, &Edit4, &SpeedButton4,
                                                                &SpeedButton1, &Edit7, &Edit87, &SpeedButton3,
                                                                &DateTimePicker3, &ComboBox5})
    c->SetEnabled(true);
  Edit7.SetMaxLength(15);
  ComboBox5.SetItemIndex(-1);
  DateTimePicker5.SetEnabled(false);
  DateTimePicker6.SetEnabled(false);
  const platform::TDateTime voucherDate = DateTimePicker2.Date();
  DateTimePicker3.SetDate(voucherDate);
  CheckBox1.SetChecked(false);
  AddInvoice.SetCaption(L(3344));
  AddInvoice.SetEnabled(false);
  Label23.SetCaption(ComboBox3.GetText());
  DateTimePicker3Change();
}

void Tboeking::LockInvoiceTab(bool amountsEditable) {
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit4, &SpeedButton4, &SpeedButton1, &Edit7, &Edit87,
                                                                &SpeedButton3, &DateTimePicker3, &DateTimePicker4,
                                                                &ComboBox5, &DateTimePicker5, &DateTimePicker6})
    c->SetEnabled(false);
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit17, &Edit124, &Edit19})
    c->SetEnabled(amountsEditable);
}

void Tboeking::Button10Click() {
  NewVoucher();
  ClearInvoiceTab();
  StatusBar1.Show("", ui::colors::Default);
  SelectTab(books::journal::TabVoucher);
}

void Tboeking::Edit7Exit() {
  AddInvoice.SetEnabled(!Edit7.GetText().empty() && !Edit20.GetText().empty());
}

void Tboeking::SpeedButton3Click() {
  if (Edit87.GetText().empty()) Edit87.SetText(Cut(Edit7.GetText(), 10));
}

void Tboeking::DateTimePicker3Change() {
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

void Tboeking::ComboBox5Change() {
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
  if (*book < lowestOpenDate_ || (min && text::YmdToDate(*book) < *min)) {
    StatusBar1.Show(L(10715), ui::colors::Red);
    return;
  }
  DateTimePicker4.SetDate(text::YmdToDate(*book));
}

void Tboeking::InvoiceAmountExit(bool prepaidField) {
  ui::Edit& e = prepaidField ? Edit124 : Edit17;
  const books::journal::AmountExit left = books::journal::AmountFieldLeft(e.GetText(), Decimals());
  if (left.text != e.GetText()) SetAmountText(e, left.text);
  const std::optional<double> amount = text::TryParseAmount(Edit17.GetText());
  const std::optional<double> prepaid = text::TryParseAmount(Edit124.GetText());
  if (!amount || !prepaid) return;
  std::optional<double> paid = text::TryParseAmount(Edit18.GetText());
  if (invoiceState_ == DocumentState::New) paid = *prepaid;
  else if (prepaidField && loadedInvoice_)
    paid = *prepaid - loadedInvoice_->record.PrepaidAmount() + loadedInvoice_->record.PaidAmount();
  SetAmountText(Edit18, AmountText(paid.value_or(0)));
  SetAmountText(Edit57, AmountText(*amount - paid.value_or(0)));
}

// ---- store and propose

records::InvoiceRec Tboeking::InvoiceFromTab() const {
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
    if (stored && e.GetText() == AmountText(*stored)) return *stored;
    return TryParseAmountOr0(e.GetText());
  };
  const bool loaded = loadedInvoice_.has_value();
  rec.SetInvoiceAmount(amount(Edit17, loaded ? std::optional(loadedInvoice_->record.InvoiceAmount()) : std::nullopt));
  rec.SetPrepaidAmount(amount(Edit124, loaded ? std::optional(loadedInvoice_->record.PrepaidAmount()) : std::nullopt));
  return rec;
}

void Tboeking::Button9Click() { StoreWithAllJournals(&Tboeking::StoreInvoice); }

void Tboeking::StoreInvoice() {
  if (invoiceState_ == DocumentState::LoadedBooked && loadedInvoice_) {
    // The invoice's own voucher, found by its key, or reported missing.
    if (ShowDocumentVoucher(books::journal::FindVoucherOf(books::journal::InvoiceKeyOf(loadedInvoice_->record))))
      return;
    CheckBox1.SetChecked(false);
    ProposeInvoiceVoucher(loadedInvoice_->record);
    StatusBar1.Show(BuiltInText("The journal voucher of this invoice was not found; a new one is proposed",
                                "De boeking van deze factuur is niet gevonden; er wordt een nieuwe voorgesteld",
                                "Die Buchung dieser Rechnung wurde nicht gefunden; eine neue wird vorgeschlagen"),
                    ui::colors::Yellow);
    return;
  }
  // Every check before the file opens.
  if (!invoicePartner_) {
    StatusBar1.Show(BuiltInText("Choose the invoice's partner first", "Kies eerst de relatie van de factuur",
                                "Wählen Sie zuerst den Partner der Rechnung"),
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
                  BuiltInText("The invoice number may have at most %d characters for this partner",
                              "Het factuurnummer mag voor deze relatie hoogstens %d tekens hebben",
                              "Die Rechnungsnummer darf für diesen Partner höchstens %d Zeichen haben")
                      .c_str(),
                  room);
    StatusBar1.Show(text, ui::colors::Red);
    return;
  }
  if (!AmountOf(Edit17, Label17.Caption()) || !AmountOf(Edit124, Label73.Caption())) return;

  const records::InvoiceRec rec = InvoiceFromTab();
  const books::journal::InvoiceResult r =
      invoiceState_ == DocumentState::New ? books::journal::InsertInvoice(rec) : ChangeInvoice(rec, *loadedInvoice_);
  if (r.outcome == books::journal::DocumentOutcome::Duplicate) {
    StatusBar1.Show(L(9648), ui::colors::Lime);
    return;
  }
  if (!DocumentDone(r.outcome, r.failure, true)) return;
  loadedInvoice_ = r.document;
  invoiceState_ = DocumentState::LoadedUnbooked;
  SetAmountText(Edit18, AmountText(r.document->record.PaidAmount()));
  SetAmountText(Edit57, AmountText(r.document->record.InvoiceAmount() - r.document->record.PaidAmount()));
  AddInvoice.SetCaption(L(3409));
  ProposeInvoiceVoucher(r.document->record);
}

void Tboeking::ProposeInvoiceVoucher(const records::InvoiceRec& rec) {
  const books::journal::InvoiceKey key = books::journal::InvoiceKeyOf(rec);
  ClearVoucherForm();
  ShowDate(DateTimePicker2, rec.VoucherDate());
  books::journal::InvoiceProposalInput in;
  if (invoicePartner_) in.partner = *invoicePartner_;
  in.customer = key.kind == "CUS";
  in.partnerNumber = key.partner;
  in.invoiceNumber = text::TrimTrailingBlanks(key.number);
  in.gross = rec.InvoiceAmount();
  in.prepaid = rec.PrepaidAmount();
  in.rate = books::journal::RateOfAccount(SalesTaxAccountTable, in.partner.VatGroup1());
  in.decimals = Decimals();
  in.prepaidCaption = Label73.Caption();
  const std::vector<books::journal::ProposedLine> lines = books::journal::InvoiceProposal(in);
  for (std::size_t i = 0; i < lines.size(); ++i)
    SetEntryLine(static_cast<int>(i), lines[i].account, lines[i].text, lines[i].amount, lines[i].side);
  // The partner line carries the link and is shown, not edited.
  readOnly_[0] = true;
  for (int c = 1; c <= 6; ++c) Lines[0].Field(c).SetEnabled(false);
  ShowProposalHead(key, books::journal::VoucherPartner{key.partner, key.kind}, books::journal::VoucherNumberOf(key),
                   rec.EntryNumber(), rec.Memo(), rec.VoucherDate(), true);
  LockInvoiceTab(false);
  GoToProposal();
}

void Tboeking::ShowDocumentHeader(const std::string& kind, std::int32_t partner, const std::string& linkText,
                                  bool invoice) {
  const int k = books::journal::KindIndexOf(kind);
  Label30.SetCaption(k >= 0 && k < ComboBox6.Count() ? ComboBox6.Items()[static_cast<std::size_t>(k)].text : kind);
  Edit5.SetText(kind == "REC" || kind == "PAY" ? "0" : std::to_string(partner));
  Edit6.SetText(linkText);
  Label31.SetCaption(invoice ? L(3596) : L(3848));
  for (ui::Component* c : std::initializer_list<ui::Component*>{&Edit5, &Label30, &Label31, &Edit6, &Button23})
    c->SetVisible(true);
}

void Tboeking::Button19Click() {
  if (invoiceState_ != DocumentState::LoadedUnbooked || !loadedInvoice_) return;
  const books::journal::InvoiceResult r = books::journal::DeleteInvoice(*loadedInvoice_);
  if (!DocumentDone(r.outcome, r.failure, true)) return;
  Button10Click();
  Button14Click();
}

// ---- the list

books::journal::InvoiceFilter Tboeking::InvoiceFilterFromTab() const {
  books::journal::InvoiceFilter f;
  f.owing = CheckBox3.Checked();
  f.withoutVoucher = CheckBox4.Checked();
  f.all = CheckBox5.Checked();
  if (CheckBox10.Checked()) f.entryNumber = Edit97.GetText();
  if (CheckBox6.Checked())
    f.partner = books::journal::DocumentPartner{books::journal::KindCodeOf(std::clamp(ComboBox7.ItemIndex(), 0, 1)),
                                                WholeNumber(Edit39.GetText()).value_or(-1)};
  return f;
}

void Tboeking::Image5Click() { FillInvoiceList(InvoiceFilterFromTab(), 0); }
void Tboeking::BitBtn5Click() { FillInvoiceList(invoiceFilter_, std::max(0, invoicePage_ - 1)); }
void Tboeking::BitBtn6Click() { FillInvoiceList(invoiceFilter_, invoicePage_ + 1); }

void Tboeking::FillInvoiceList(const books::journal::InvoiceFilter& filter, int page) {
  StatusBar1.Show("", ui::colors::Default);
  invoiceFilter_ = filter;
  const books::journal::InvoicePage p = ListInvoices(filter, page);
  if (p.outcome == books::journal::DocumentOutcome::FileSetFailed) return formkit::ReportFileSetError(p.failure);
  invoiceRows_ = p.rows;
  invoicePage_ = p.page;
  ListPage shown{{}, p.HasPrevious(), p.more, p.SingleMatch(), L(LanguageOffsetOf(p.outcome, true))};
  for (const books::journal::LoadedInvoice& doc : invoiceRows_) {
    const records::InvoiceRec& rec = doc.record;
    const int k = rec.PartnerType() == "CUS" ? 0 : 1;
    shown.cells.push_back(
        {rec.VoucherDate(), k < ComboBox3.Count() ? ComboBox3.Items()[static_cast<std::size_t>(k)].text : "",
         std::to_string(rec.PartnerNumber()), rec.InvoiceNumber(), rec.EntryNumber(), AmountText(rec.InvoiceAmount()),
         AmountText(rec.PaidAmount()), rec.InvoiceDate(), rec.VoucherCreated() ? "true" : "false", rec.DiscountDate(),
         rec.DueDate(), rec.Memo(), AmountText(rec.InvoiceAmount() - rec.PaidAmount()),
         AmountText(rec.PrepaidAmount())});
  }
  ShowListPage(StringGrid2, SelectInvoiceRow, BitBtn5, BitBtn6, shown);
}

void Tboeking::Button13Click() {
  const int row = StringGrid2.Row();
  if (row < 1 || row > static_cast<int>(invoiceRows_.size())) return;
  const books::journal::LoadedInvoice doc = invoiceRows_[static_cast<std::size_t>(row - 1)];
  const records::InvoiceRec& rec = doc.record;
  // The invoice's own partner, by its kind and number.
  const auto kind =
      rec.PartnerType() == "CUS" ? books::partners::PartnerKind::Customer : books::partners::PartnerKind::Supplier;
  const books::partners::PartnerResult partner = books::partners::FindPartnerByNumber(kind, rec.PartnerNumber());
  if (partner.outcome == books::partners::PartnerOutcome::FileSetFailed)
    return formkit::ReportFileSetError(partner.failure);

  ClearInvoiceTab();
  if (partner.Ok()) {
    SetInvoicePartner(partner.partner->record);
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
  ShowDate(DateTimePicker3, rec.InvoiceDate());
  ShowDate(DateTimePicker5, rec.DiscountDate());
  ShowDate(DateTimePicker6, rec.DueDate());
  ComboBox5.SetText(books::journal::PeriodTextOf(rec.VoucherDate(), JournalAdminSettings));
  ShowDate(DateTimePicker4, rec.VoucherDate());
  // The amounts from the record, never from the grid's text.
  SetAmountText(Edit17, AmountText(rec.InvoiceAmount()));
  SetAmountText(Edit18, AmountText(rec.PaidAmount()));
  SetAmountText(Edit124, AmountText(rec.PrepaidAmount()));
  SetAmountText(Edit57, AmountText(rec.InvoiceAmount() - rec.PaidAmount()));
  Edit19.SetText(text::TrimTrailingBlanks(rec.Memo()));
  CheckBox1.SetChecked(booked);
  LockInvoiceTab(!booked);

  tabSwitchSuppressed_ = true;
  Button14Click();
  tabSwitchSuppressed_ = false;
  SelectTab(books::journal::TabInvoice);
  DeleteInvoice.SetEnabled(!booked);
  Button19.SetVisible(!booked);
  AddInvoice.SetCaption(booked ? L(3981) : L(3409));
  AddInvoice.SetEnabled(true);
}

void Tboeking::Button14Click() {
  invoiceRows_.clear();
  EmptyList(StringGrid2, SelectInvoiceRow);
  CheckBox3.SetChecked(true);
  CheckBox4.SetChecked(true);
  CheckBox5.SetChecked(false);
  CheckBox6.SetChecked(false);
  for (ui::Edit* e : {&Edit58, &Edit39, &Edit49, &Edit50}) e->SetText("");
  BitBtn5.SetVisible(false);
  BitBtn6.SetVisible(false);
  StatusBar1.Show("", ui::colors::Default);
  SelectTab(books::journal::TabVoucher);
}

void Tboeking::CheckBox6Click() {
  Panel22.SetVisible(CheckBox6.Checked());
  SearchPartner1.SetVisible(CheckBox6.Checked() || TabControl1.TabIndex() != books::journal::TabInvoiceList);
}

void Tboeking::CheckBox10Click() {
  Edit97.SetVisible(CheckBox10.Checked());
  Edit97.SetText("");
}

}  // namespace journal
