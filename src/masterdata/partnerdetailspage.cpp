#include "masterdata/partnerdetailspage.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "text/builtintext.h"
#include "text/languagetext.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace masterdata {

using text::Cut;
using text::L;

namespace {

constexpr int kAccountEditCount = 7;

}  // namespace

int KindItemOf(const ui::ComboBox& box) {
  const int selected = box.ItemIndex();
  if (selected >= 0 && cp1252::EqualsIgnoringCase(box.Items()[static_cast<std::size_t>(selected)].text,
                                                  box.GetText()))
    return selected;
  return box.IndexOfIgnoringCase(box.GetText());
}

PartnerDetailsPage::PartnerDetailsPage(ui::Container* tabsControl) : tabs(tabsControl) { LayOut(); }

void PartnerDetailsPage::LayOut() {
  for (ui::Panel* p : {&Panel1, &Panel2}) {
    p->SetBevel(false);
    p->hints.stretch = 1;
  }
  Panel1.gridColumns = 4;
  Panel8.gridColumns = 2;
  Panel8.SetBevel(false);
  Panel8.hints.stretch = 1;
  Panel9.SetBevel(false);
  Panel9.hints.stretch = 1;
  Panel10.gridColumns = 2;
  Panel10.SetBevel(false);
  GroupBox2.gridColumns = 2;
  CheckBox1.hints.newRow = true;
  CheckBox1.hints.colSpan = 2;
  Label56.hints.colSpan = 2;
  CheckBox4.hints.newRow = true;
  Memo1.hints.height = 60;
  Memo1.SetMaxLength(100);
  Label50.hints.newRow = true;
  Button12.hints.newRow = true;
  Button12.hints.colSpan = 2;

  // Field widths: what the record holds.
  const std::pair<ui::Edit*, int> rooms[] = {
      {&Edit1, 50},  {&Edit26, 11}, {&Edit27, 15}, {&Edit2, 50},  {&Edit55, 50}, {&Edit3, 10},  {&Edit4, 50},
      {&Edit8, 50},  {&Edit9, 50},  {&Edit5, 50},  {&Edit6, 10},  {&Edit7, 50},  {&Edit56, 50}, {&Edit57, 50},
      {&Edit10, 30}, {&Edit11, 30}, {&Edit12, 100}, {&Edit13, 100}, {&Edit43, 50}, {&Edit46, 20}, {&Edit47, 50},
      {&Edit48, 50}, {&Edit44, 50}, {&Edit45, 20}, {&Edit20, 20}, {&Edit41, 60}, {&Edit21, 15}, {&Edit23, 10},
      {&Edit25, 10}, {&Edit22, 20}, {&Edit24, 20}, {&Edit32, 20}, {&Edit37, 6},  {&Edit38, 12}, {&Edit39, 6},
      {&Edit40, 12}};
  for (const auto& [edit, room] : rooms) edit->SetMaxLength(room);
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit4, &Edit12, &Edit13, &Edit43, &Edit44, &Edit20, &Edit41})
    e->hints.stretch = 1;
  for (ui::Edit* e : AccountEdits()) {
    e->SetReadOnly(true);
    e->hints.minWidth = 220;
  }
  for (ui::Edit* e : {&Edit53, &Edit54}) e->SetReadOnly(true);
  Edit26.SetEnabled(false);
  Edit26.SetBackColor(ui::colors::SkyBlue);
  DateTimePicker1.SetVisible(false);
  DateTimePicker2.SetEnabled(false);
  ComboBox6.SetVisible(false);
  Label50.SetVisible(false);
  ComboBox6.SetMaxLength(80);
}

void PartnerDetailsPage::ApplyTexts() {
  Label26.SetCaption(L(4793));
  Label1.SetCaption(text::BuiltInText(text::BuiltIn::Kind));
  Label2.SetCaption(L(4830));
  Label27.SetCaption(L(4809));
  Label3.SetCaption(L(4841));
  Label55.SetCaption(L(4841) + " 2");
  Label4.SetCaption(L(4857));
  Label5.SetCaption(L(4873));
  Label8.SetCaption(L(4889));
  Label9.SetCaption(L(4905));
  Label10.SetCaption(L(4921));
  Label11.SetCaption(L(4937));
  Label12.SetCaption(L(4953));
  Label13.SetCaption(L(4969));
  CheckBox1.SetCaption(L(5043));
  Label15.SetCaption(L(4841));
  Label16.SetCaption(L(4857));
  Label17.SetCaption(L(4873));
  Label18.SetCaption(L(4889));
  Label19.SetCaption(L(4905));
  CheckBox4.SetCaption(L(5131));
  Label53.SetCaption(text::ChangedByCaption());
  Label54.SetCaption(text::ChangedAtCaption());

  Label43.SetCaption(L(5074) + " 1");
  Label46.SetCaption(L(4921));
  Label47.SetCaption(L(5090));
  Label44.SetCaption(L(5074) + " 2");
  Label45.SetCaption(L(4921));
  Label48.SetCaption(L(5090));
  Label20.SetCaption(L(5006));
  Label41.SetCaption(L(5027));
  Label21.SetCaption(L(4985));
  CheckBox5.SetCaption(text::BuiltInText(text::BuiltIn::VerifiedOn));
  Label23.SetCaption(L(5215));
  Label25.SetCaption(L(5236));
  Label22.SetCaption(L(5173));
  Label24.SetCaption(L(5194));
  Label14.SetCaption(L(5162));
  Label65.SetCaption(L(5257));
  Label37.SetCaption(L(5273));
  Label38.SetCaption(L(5299));
  Label39.SetCaption(L(5324));
  Label40.SetCaption(L(5349));
  GroupBox2.SetCaption(L(5388));
  Label66.SetCaption(L(5590));
  Label67.SetCaption(L(5603));
  Label49.SetCaption(L(5616));
  Label50.SetCaption(text::BuiltInText(text::BuiltIn::GLAccount));
  Button12.SetCaption(L(6194));
  ComboBox1Change();
}

void PartnerDetailsPage::SetKindItems(const std::vector<std::string>& kinds) {
  const int index = ComboBox1.ItemIndex();
  ComboBox1.SetItems(kinds);
  ComboBox1.SetItemIndex(index);
}

void PartnerDetailsPage::SetKindEnabled(bool enabled) {
  ComboBox1.SetEnabled(enabled);
  ComboBox1.SetBackColor(ComboBox1.Enabled() ? ui::colors::Cream : ui::colors::SkyBlue);
}

int PartnerDetailsPage::TakeTypedKind() {
  const int kind = KindItemOf(ComboBox1);
  ComboBox1.SetItemIndex(kind);
  if (kind < 0) ComboBox1.SetText("");
  return kind;
}

std::array<ui::Edit*, 7> PartnerDetailsPage::AccountEdits() {
  return {&Edit34, &Edit35, &Edit36, &Edit58, &Edit31, &Edit33, &Edit49};
}

void PartnerDetailsPage::ResetForShowing() {
  programWrite_ = false;
  pickerTarget_ = -1;
  ComboBox6.SetVisible(false);
  Label50.SetVisible(false);
}

void PartnerDetailsPage::SetPickerAccounts(const std::vector<books::partners::PickerAccount>& accounts,
                                           const std::string& profitAccount) {
  pickerItems_ = books::partners::PickerItems(accounts);
  ComboBox6.SetItems(pickerItems_);
  const auto profit = books::partners::AccountItemFor(pickerItems_, profitAccount);
  ComboBox6.SetItemIndex(profit.value_or(0));
}

// ---- program writes, show and read

void PartnerDetailsPage::WriteField(ui::Edit& edit, const std::string& text) {
  const bool was = programWrite_;
  programWrite_ = true;
  edit.SetText(text);
  programWrite_ = was;
}

void PartnerDetailsPage::FillFromPayment(const std::string& name, const std::string& bankAccount) {
  WriteField(Edit1, Cut(name, 50));
  WriteField(Edit41, Cut(name, 60));
  WriteField(Edit20, Cut(bankAccount, 20));
}

void PartnerDetailsPage::Clear(bool keepCallerFields) {
  const bool was = programWrite_;
  programWrite_ = true;
  if (!keepCallerFields)
    for (ui::Edit* e : {&Edit1, &Edit20, &Edit41}) e->SetText("");
  // The payment terms (Edit37..Edit40) keep their values.
  for (ui::Edit* e : {&Edit26, &Edit27, &Edit2,  &Edit55, &Edit3,  &Edit4,  &Edit8,  &Edit9,  &Edit5,  &Edit6,
                      &Edit7,  &Edit56, &Edit57, &Edit10, &Edit11, &Edit12, &Edit13, &Edit43, &Edit46, &Edit47,
                      &Edit48, &Edit44, &Edit45, &Edit21, &Edit23, &Edit25, &Edit22, &Edit24, &Edit32, &Edit53,
                      &Edit54})
    e->SetText("");
  for (ui::Edit* e : AccountEdits()) {
    e->SetText("");
    e->SetBackColor(ui::colors::Cream);
  }
  Memo1.Clear();
  CheckBox1.SetChecked(false);
  CheckBox4.SetChecked(false);
  CheckBox5.SetChecked(false);
  DateTimePicker1.SetVisible(false);
  DateTimePicker2.SetEnabled(false);
  DateTimePicker1.SetDate(platform::Date());
  DateTimePicker2.SetDate(platform::Date());
  programWrite_ = was;
  Edit26.SetEnabled(false);
  Edit26.SetBackColor(ui::colors::SkyBlue);
}

void PartnerDetailsPage::ShowRecord(const records::PartnerRec& p) {
  const bool was = programWrite_;
  programWrite_ = true;
  const std::pair<ui::Edit*, std::string> texts[] = {
      {&Edit1, p.Name()},           {&Edit27, p.TheirNumber()},   {&Edit2, p.Address()},
      {&Edit55, p.Property()},      {&Edit3, p.ZipCode()},        {&Edit4, p.Town()},
      {&Edit8, p.Region()},         {&Edit9, p.Country()},        {&Edit5, p.CorrAddress()},
      {&Edit6, p.CorrZipCode()},    {&Edit7, p.CorrTown()},       {&Edit56, p.CorrState()},
      {&Edit57, p.CorrCountry()},   {&Edit10, p.Telephone()},     {&Edit11, p.Fax()},
      {&Edit12, p.Email()},         {&Edit13, p.Website()},       {&Edit43, p.Contact1Name()},
      {&Edit46, p.Contact1Phone()}, {&Edit47, p.Contact1Text()},  {&Edit48, p.Contact2Text()},
      {&Edit44, p.Contact2Name()},  {&Edit45, p.Contact2Phone()}, {&Edit20, p.BankAccountNumber()},
      {&Edit41, p.BankAccountName()}, {&Edit21, p.TaxAccountNumber()}, {&Edit23, p.BiFeature1()},
      {&Edit25, p.BiFeature2()},    {&Edit22, p.FreeItem1()},     {&Edit24, p.FreeItem2()},
      {&Edit53, p.ChangedBy()},     {&Edit54, p.ChangedAt()}};
  for (const auto& [edit, text] : texts) edit->SetText(text);
  Memo1.SetLines(books::partners::MemoLines(p.Memo()));
  Edit26.SetText(p.OurNumber() == 0 ? std::string() : std::to_string(p.OurNumber()));
  Edit26.SetEnabled(false);
  Edit26.SetBackColor(ui::colors::SkyBlue);
  ComboBox1.SetItemIndex(static_cast<int>(books::partners::KindOfRelationshipType(p.RelationshipType())));
  CheckBox1.SetChecked(!p.CorrCode().empty());

  // The check box first: its click would otherwise put today over the date.
  const std::string suspended = p.SuspendedDate();
  CheckBox4.SetChecked(!suspended.empty());
  DateTimePicker1.SetVisible(!suspended.empty());
  if (text::IsValidYmd(suspended)) DateTimePicker1.SetDate(text::YmdToDate(suspended));
  const std::string verified = p.TaxVerificationDate();
  CheckBox5.SetChecked(text::IsValidYmd(verified));
  DateTimePicker2.SetEnabled(CheckBox5.Checked());
  DateTimePicker2.SetDate(CheckBox5.Checked() ? text::YmdToDate(verified) : platform::Date());

  Edit32.SetText(books::partners::CreditLimitText(p.CreditLimit()));
  Edit37.SetText(std::to_string(p.DiscountDays()));
  Edit38.SetText(books::partners::RateText(p.DiscountRate()));
  Edit39.SetText(std::to_string(p.NetDays()));
  Edit40.SetText(books::partners::RateText(p.PenaltyRate()));

  const std::array<std::string, 7> stored = {p.PartnerGroup(), p.SalesCostGroup1(), p.SalesCostGroup2(),
                                             p.SalesCostGroup3(), p.VatGroup1(), p.VatGroup2(),
                                             p.CashDiscountAccount()};
  const std::array<ui::Edit*, 7> edits = AccountEdits();
  for (int k = 0; k < kAccountEditCount; ++k)
    ShowAccountEdit(*edits[static_cast<std::size_t>(k)], stored[static_cast<std::size_t>(k)]);
  programWrite_ = was;
}

records::PartnerRec PartnerDetailsPage::Read(const books::partners::PartnerFigures& figures,
                                             const std::optional<books::partners::FoundPartner>& loaded) const {
  records::PartnerRec p;
  auto text = [](const ui::Edit& e, std::size_t room) { return Cut(e.GetText(), room); };
  p.SetName(text(Edit1, 50));
  // The company name is not on the form: a rewritten partner keeps its
  // own, a new one has none.
  p.SetCompanyName(loaded ? loaded->record.CompanyName() : std::string());
  p.SetOurNumber(loaded ? loaded->record.OurNumber() : 0);
  p.SetSuspendedDate(CheckBox4.Checked() ? text::DateToYmd(DateTimePicker1.Date()) : std::string());
  p.SetRelationshipType(records::CodeOf(
      books::partners::KindInfo(ComboBox1.ItemIndex() == 0 ? books::partners::PartnerKind::Customer
                                                           : books::partners::PartnerKind::Supplier)
          .relationshipType));
  p.SetTheirNumber(text(Edit27, 15));
  p.SetAddress(text(Edit2, 50));
  p.SetProperty(text(Edit55, 50));
  p.SetZipCode(text(Edit3, 10));
  p.SetTown(text(Edit4, 50));
  p.SetRegion(text(Edit8, 50));
  p.SetCountry(text(Edit9, 50));
  p.SetCorrCode(CheckBox1.Checked() ? "X" : "");
  p.SetCorrAddress(text(Edit5, 50));
  p.SetCorrZipCode(text(Edit6, 10));
  p.SetCorrTown(text(Edit7, 50));
  p.SetCorrState(text(Edit56, 50));
  p.SetCorrCountry(text(Edit57, 50));
  p.SetTelephone(text(Edit10, 30));
  p.SetFax(text(Edit11, 30));
  p.SetEmail(text(Edit12, 100));
  p.SetWebsite(text(Edit13, 100));
  p.SetContact1Name(text(Edit43, 50));
  p.SetContact1Phone(text(Edit46, 20));
  p.SetContact1Text(text(Edit47, 50));
  p.SetContact2Text(text(Edit48, 50));
  p.SetContact2Name(text(Edit44, 50));
  p.SetContact2Phone(text(Edit45, 20));
  p.SetMemo(Cut(books::partners::MemoText(Memo1.Lines()), 100));
  p.SetBankAccountNumber(text(Edit20, 20));
  p.SetBankAccountName(text(Edit41, 60));
  p.SetTaxAccountNumber(text(Edit21, 15));
  p.SetTaxVerificationDate(CheckBox5.Checked() ? text::DateToYmd(DateTimePicker2.Date()) : std::string());
  p.SetBiFeature1(text(Edit23, 10));
  p.SetBiFeature2(text(Edit25, 10));
  p.SetFreeItem1(text(Edit22, 20));
  p.SetFreeItem2(text(Edit24, 20));
  p.SetCreditLimit(figures.creditLimit);
  p.SetPartnerGroup(Cut(books::partners::AccountNumberOfText(Edit34.GetText()), 20));
  p.SetSalesCostGroup1(Cut(books::partners::AccountNumberOfText(Edit35.GetText()), 20));
  p.SetSalesCostGroup2(Cut(books::partners::AccountNumberOfText(Edit36.GetText()), 20));
  p.SetSalesCostGroup3(Cut(books::partners::AccountNumberOfText(Edit58.GetText()), 20));
  p.SetVatGroup1(Cut(books::partners::AccountNumberOfText(Edit31.GetText()), 20));
  p.SetVatGroup2(Cut(books::partners::AccountNumberOfText(Edit33.GetText()), 20));
  p.SetCashDiscountAccount(Cut(books::partners::AccountNumberOfText(Edit49.GetText()), 20));
  p.SetDiscountDays(figures.discountDays);
  p.SetDiscountRate(figures.discountRate);
  p.SetNetDays(figures.netDays);
  p.SetPenaltyRate(figures.penaltyRate);
  p.SetChangedBy(Cut(text::SystemSettings.CurrentUser, 10));
  p.SetChangedAt(Cut(platform::DateTimeToText(platform::Now()), 20));
  return p;
}

// ---- the checks before a Save and what it shows after

std::optional<books::partners::PartnerKind> PartnerDetailsPage::CheckRequired() {
  const int kindIndex = KindItemOf(ComboBox1);
  const std::optional<books::partners::PartnerKind> kind = books::partners::KindFromItemIndex(kindIndex);
  const bool noGroup = text::TrimText(Edit34.GetText()).empty();
  const bool noFirst = text::TrimText(Edit35.GetText()).empty();
  if (!kind || noGroup || noFirst) {
    if (!kind) ComboBox1.SetBackColor(ui::colors::Yellow);
    if (noGroup) Edit34.SetBackColor(ui::colors::Yellow);
    if (noFirst) Edit35.SetBackColor(ui::colors::Yellow);
    return std::nullopt;
  }
  ComboBox1.SetItemIndex(kindIndex);
  if (ComboBox1.Enabled()) ComboBox1.SetBackColor(ui::colors::Cream);
  for (ui::Edit* e : {&Edit34, &Edit35})
    if (e->BackColor() == ui::colors::Yellow && ComboBox6.IndexOf(e->GetText()) > 0)
      e->SetBackColor(ui::colors::Cream);
  return kind;
}

PartnerDetailsPage::CheckedFigures PartnerDetailsPage::CheckFigures() {
  const books::partners::FiguresResult figures = books::partners::ReadFigures(
      Edit32.GetText(), Edit37.GetText(), Edit38.GetText(), Edit39.GetText(), Edit40.GetText());
  if (!figures.figures) {
    const std::pair<ui::Edit*, ui::Label*> fields[] = {
        {&Edit32, &Label65}, {&Edit37, &Label37}, {&Edit38, &Label38}, {&Edit39, &Label39}, {&Edit40, &Label40}};
    const auto& [edit, label] = fields[static_cast<int>(figures.bad)];
    edit->SetBackColor(ui::colors::Yellow);
    return {std::nullopt, books::partners::MsgNotANumber(label->Caption())};
  }
  for (ui::Edit* e : {&Edit32, &Edit37, &Edit38, &Edit39, &Edit40}) e->SetBackColor(ui::colors::Default);
  return {figures.figures, std::string()};
}

std::optional<std::int32_t> PartnerDetailsPage::TypedStartValue() {
  const std::optional<std::int32_t> start = books::partners::ParseStartValue(Edit26.GetText());
  if (!start) Edit26.SetBackColor(ui::colors::Yellow);
  return start;
}

void PartnerDetailsPage::OpenStartValue() {
  Edit26.SetEnabled(true);
  Edit26.SetBackColor(ui::colors::Cream);
}

void PartnerDetailsPage::CloseStartValue() {
  WriteField(Edit26, "");
  Edit26.SetEnabled(false);
  Edit26.SetBackColor(ui::colors::SkyBlue);
}

void PartnerDetailsPage::ShowSaved(const records::PartnerRec& saved) {
  WriteField(Edit26, std::to_string(saved.OurNumber()));
  Edit26.SetEnabled(false);
  Edit26.SetBackColor(ui::colors::SkyBlue);
  WriteField(Edit53, saved.ChangedBy());
  WriteField(Edit54, saved.ChangedAt());
}

// ---- handlers

void PartnerDetailsPage::ComboBox1Change() {
  const bool customer = ComboBox1.ItemIndex() != 1;
  const std::string kindText = ComboBox1.Count() > 1 ? ComboBox1.Items()[customer ? 0 : 1].text : std::string();
  Label34.SetCaption(kindText + " " + L(5414));
  Label35.SetCaption(L(customer ? 5521 : 5452));
  Label36.SetCaption(L(customer ? 5475 : 5544));
  Label58.SetCaption(L(customer ? 5498 : 5567));
}

void PartnerDetailsPage::CheckBox4Click() {
  DateTimePicker1.SetVisible(CheckBox4.Checked());
  if (programWrite_ || !CheckBox4.Checked()) return;
  DateTimePicker1.SetDate(platform::Date());
}

void PartnerDetailsPage::CheckBox5Click() {
  DateTimePicker2.SetEnabled(CheckBox5.Checked());
  if (programWrite_ || !CheckBox5.Checked()) return;
  DateTimePicker2.SetDate(platform::Date());
}

void PartnerDetailsPage::CreditLimitChange() {
  if (programWrite_) return;
  std::string text = Edit32.GetText();
  text::FilterAmountInput(text, false);
  if (text != Edit32.GetText()) WriteField(Edit32, text);
}

void PartnerDetailsPage::RateChange(ui::Edit& edit) {
  if (programWrite_) return;
  const std::string text = books::partners::FilterRateInput(edit.GetText());
  if (text != edit.GetText()) WriteField(edit, text);
}

void PartnerDetailsPage::DaysChange(ui::Edit& edit) {
  if (programWrite_) return;
  std::string text = edit.GetText();
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c < '0' || c > '9'; }), text.end());
  if (text != edit.GetText()) WriteField(edit, text);
}

void PartnerDetailsPage::AccountEditEnter(int editIndex) {
  ui::Edit& edit = *AccountEdits()[static_cast<std::size_t>(editIndex)];
  pickerTarget_ = editIndex;
  pickerEntered_ = edit.GetText();
  const std::array<ui::Label*, 7> labels = {&Label34, &Label35, &Label36, &Label58, &Label66, &Label67, &Label49};
  Label50.SetCaption(labels[static_cast<std::size_t>(editIndex)]->Caption());
  Label50.SetVisible(true);
  ComboBox6.SetVisible(true);
  ComboBox6.SetText(books::partners::PickerTextOnEnter(pickerItems_, edit.GetText()));
  ComboBox6.SetFocus();
}

void PartnerDetailsPage::ComboBox6Exit() {
  if (pickerTarget_ < 0) return;
  ui::Edit& edit = *AccountEdits()[static_cast<std::size_t>(pickerTarget_)];
  const std::string text =
      books::partners::PickerTextOnLeave(pickerItems_, ComboBox6.GetText(), pickerEntered_, pickerTarget_ < 2);
  WriteField(edit, text);
  const bool known = text.empty() || ComboBox6.IndexOf(text) > 0;
  edit.SetBackColor(known ? ui::colors::Cream : ui::colors::Yellow);
  pickerTarget_ = -1;
  ComboBox6.SetVisible(false);
  Label50.SetVisible(false);
}

void PartnerDetailsPage::ShowAccountEdit(ui::Edit& edit, const std::string& stored) {
  const books::partners::AccountDisplay shown = books::partners::ShowAccount(pickerItems_, stored);
  WriteField(edit, shown.text);
  edit.SetBackColor(shown.known ? ui::colors::Cream : ui::colors::Yellow);
}

void PartnerDetailsPage::FillDefaultAccounts(const std::array<std::string, 16>& defaults) {
  const int kind = ComboBox1.ItemIndex();
  if (kind != 0 && kind != 1) return;
  const std::array<ui::Edit*, 7> edits = AccountEdits();
  for (int k = 0; k < kAccountEditCount; ++k) {
    WriteField(*edits[static_cast<std::size_t>(k)],
               defaults[static_cast<std::size_t>(books::partners::DefaultFunctionIndex(kind, k))]);
    edits[static_cast<std::size_t>(k)]->SetBackColor(ui::colors::Cream);
  }
}

}  // namespace masterdata
