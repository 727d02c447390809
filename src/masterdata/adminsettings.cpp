#include "masterdata/adminsettings.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "formkit/filesetscope.h"
#include "formkit/helpmenu.h"
#include "formkit/rowlist.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "records/ledgeraccountrec.h"
#include "books/closing/periodclosing.h"
#include "store/adminsettingsload.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "ui/application.h"

namespace masterdata {

const char* const MsgFiscalYearTooLow = "Fiscal year is not > 1989, please change";
bool SettingsYearTabFlag = false;
bool KeepSettingsFormOpen = false;
formkit::HelpCaptionBlockRec AdministrationsettingHelpCaptions;
Tadministrationsetting* administrationsetting = nullptr;

void ResetAdministrationsettingState() {
  SettingsYearTabFlag = false;
  KeepSettingsFormOpen = false;
  AdministrationsettingHelpCaptions = {};
}

std::string MsgUnknownProfitAccount() {
  return text::BuiltInText(text::BuiltIn::UnknownProfitAccount);
}

bool PeriodControlsEnabled(const std::string& currentPeriod) { return currentPeriod.substr(0, 2) <= "01"; }

bool PeriodPickerVisible(const std::string& periodCountText, int k) {
  if (k <= 1) return true;
  return !(periodCountText < store::PeriodCountText(k));
}

ProfitAccountChoice SplitProfitAccount(const std::string& text, const std::vector<std::string>& items) {
  if (text.empty()) return {};
  const std::size_t open = text.find('{');
  if (open != std::string::npos) {
    const std::size_t close = text.find('}', open + 1);
    return {text.substr(0, open), text.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1),
            false};
  }
  for (const std::string& item : items) {
    const std::size_t brace = item.find('{');
    if (item.substr(0, brace) == text) return SplitProfitAccount(item, {});
  }
  return {"", "", true};
}

FiscalYearCheck CheckFiscalYear(const std::string& text) {
  if (text.empty()) return {false, false, "2007"};
  const bool fourDigits =
      text.size() == 4 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!fourDigits) return {true, false, text};
  return {false, text < "1990", text};
}

namespace {

// A year field that is a number below 1990 or no year at all.
bool FiscalYearTooLow(const std::string& text) {
  const FiscalYearCheck c = CheckFiscalYear(text);
  return text.empty() || c.refused || c.belowMinimum;
}

}  // namespace

Tadministrationsetting::Tadministrationsetting() : ui::Form("administrationsetting", "Tadministrationsetting") {
  SetCaption("Administration settings");
  width = 900;
  height = 720;

  opslaan.SetCaption("Save");
  Annuleren.SetCaption("Cancel");
  Unfreeze.SetCaption("Unfreeze");
  opslaan.OnExecute = [this] { opslaanExecute(); };
  Annuleren.OnExecute = [this] { AnnulerenExecute(); };
  Unfreeze.OnExecute = [this] { Button4Click(); };
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Save1, &ToolButton1, &Button1})
    c->SetAction(&opslaan);
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Cancel1, &ToolButton3, &Button5})
    c->SetAction(&Annuleren);
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Unfreeze1, &ToolButton5, &Button4})
    c->SetAction(&Unfreeze);
  ToolButton1.SetImageIndex(0);
  ToolButton3.SetImageIndex(2);
  ToolButton8.SetImageIndex(5);

  Label16.SetBold(true);
  TabControl1.SetTabs({"Company", "Bookyear, periods, journals"});
  TabControl1.hints.stretch = 1;
  Panel2.gridColumns = 2;
  Panel4.gridColumns = 2;
  Panel5.gridColumns = 6;
  // The journal block: name label, name, then the columns customer
  // invoices, supplier invoices and other entries under their headings.
  GroupBox1.gridColumns = 5;
  Label33.hints.column = 2;
  for (ui::Label* l : {&Label26, &Label27, &Label28, &Label29, &Label30, &Label31}) l->hints.newRow = true;
  for (ui::CheckBox* c : {&CheckBox2, &CheckBox5, &CheckBox7, &CheckBox9, &CheckBox11}) c->hints.column = 2;
  for (ui::CheckBox* c : {&CheckBox3, &CheckBox4, &CheckBox8, &CheckBox10, &CheckBox12}) c->hints.column = 3;
  CheckBox6.hints.column = 4;
  Label32.hints.column = 1;
  Label32.hints.colSpan = 4;
  Panel1.gridColumns = 9;
  for (ui::Panel* p : {&Panel1, &Panel2, &Panel3, &Panel4, &Panel5, &Panel7}) p->SetBevel(false);

  // Typing limits: those of the stored fields where the form allowed more.
  const std::pair<ui::Edit*, int> limits[] = {{&Edit1, 50},  {&Edit2, 30},  {&Edit3, 10},  {&Edit4, 30},
                                              {&Edit14, 30}, {&Edit5, 30},  {&Edit6, 20},  {&Edit7, 20},
                                              {&Edit8, 30},  {&Edit9, 50},  {&Edit10, 20}, {&Edit11, 20},
                                              {&Edit12, 50}, {&Edit22, 15}, {&Edit21, 3},  {&Edit23, 4}};
  for (const auto& [edit, n] : limits) {
    edit->SetMaxLength(n);
    edit->hints.stretch = 1;
  }
  for (ui::Edit* e : {&Edit15, &Edit16, &Edit17, &Edit18, &Edit19, &Edit20}) e->SetReadOnly(true);
  std::vector<ui::Text> counts;
  for (int k = 1; k <= 15; ++k) counts.push_back(store::PeriodCountText(k));
  ComboBox1.SetItems(counts);
  ComboBox2.hints.minWidth = 260;
  CheckBox1.SetVisible(false);
  for (ui::CheckBox* c : {&CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5, &CheckBox6}) c->SetEnabled(false);
  PeriodPickers[0].Picker.SetEnabled(false);

  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  TabControl1.OnChange = [this] { TabControl1Change(); };
  Button6.OnClick = [this] { Button6Click(); };
  ToolButton7.OnClick = [this] { Button6Click(); };
  Nexttab1.OnClick = [this] { Button6Click(); };
  Button7.OnClick = [this] { Button7Click(); };
  ToolButton9.OnClick = [this] { Button7Click(); };
  Prevtab1.OnClick = [this] { Button7Click(); };
  CheckBox13.OnClick = [this] { CheckBox13Click(); };
  DateTimePicker1.OnChange = [this] { DateTimePicker1Change(); };
  DateTimePicker2.OnChange = [this] { ComboBox1Change(); };
  ComboBox1.OnChange = [this] { ComboBox1Change(); };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  ComboBox2.OnExit = [this] { ComboBox2Exit(); };
  Edit23.OnChange = [this] { Edit23Change(); };
  Edit23.OnExit = [this] { Edit23Exit(); };
  formkit::BindHelpMenu(*this, AdministrationsettingHelpCaptions,
                        {{&BrenvickAdministrationsettingshelp1, "<ADS00>"},
                         {&ToolButton8, "<ADS00>"},
                         {&Brenvickhelp1, ""},
                         {&utorial1, "<TUT00>"},
                         {&About1, "<ABO00>"}},
                        &Brenvickhomepage1);
  ShowTab(0);
}

std::vector<ui::Component*> Tadministrationsetting::JournalBlock() {
  return {&Edit24,    &Edit25,    &Edit26,    &Edit27,     &Edit28,     &Edit29,     &Label26,    &Label27,
          &Label28,   &Label29,   &Label30,   &Label31,    &Label32,    &Label33,    &Label34,    &Label35,
          &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5,  &CheckBox6,  &CheckBox7,  &CheckBox8,  &CheckBox9,
          &CheckBox10, &CheckBox11, &CheckBox12};
}

void Tadministrationsetting::ApplyLanguageTexts() {
  using text::Cut;
  using text::L;
  SetCaption(store::ProductTitle + " : " + L(965) + " / " + L(6215));
  std::string title = Cut(" " + L(1079), 31);
  title = Cut(title + " (", 33);
  title = Cut(title + store::CurrentAdministrationName, 63);
  Label16.SetCaption(Cut(title + ")", 64));
  TabControl1.SetTabs({L(5662), L(5693)});
  const std::pair<ui::Label*, int> labels[] = {
      {&Label1, 6251},  {&Label2, 6267},  {&Label3, 6283},  {&Label4, 6299},  {&Label15, 6315}, {&Label5, 6331},
      {&Label6, 6347},  {&Label7, 6363},  {&Label8, 6379},  {&Label9, 6395},  {&Label10, 6411}, {&Label11, 6447},
      {&Label14, 6467}, {&Label12, 6487}, {&Label13, 6513}, {&Label17, 6539}, {&Label20, 6627}, {&Label21, 6653},
      {&Label18, 6679}, {&Label19, 6705}, {&Label23, 6772}, {&Label22, 6823}, {&Label24, 6849}, {&Label25, 6875},
      {&Label26, 6901}, {&Label27, 6927}, {&Label28, 6958}, {&Label29, 6984}, {&Label30, 6984}, {&Label31, 6984},
      {&Label32, 7015}};
  for (const auto& [label, offset] : labels) label->SetCaption(L(offset));
  GroupBox1.SetCaption(L(6731));
  // The three fixed boxes have no text of their own in the language file
  // unless it gives one; the program's stands otherwise.
  if (!L(7066).empty()) CheckBox2.SetCaption(L(7066));
  if (!L(7097).empty()) CheckBox4.SetCaption(L(7097));
  if (!L(7128).empty()) CheckBox6.SetCaption(L(7128));
  CheckBox13.SetCaption(L(7154));
  Unfreeze.SetCaption(L(6565));
  BrenvickAdministrationsettingshelp1.SetCaption(L(6581));
  File1.SetCaption(L(21));
  opslaan.SetCaption(L(54));
  Run1.SetCaption(L(247));
  Help1.SetCaption(L(284));
  About1.SetCaption(L(295));
  Annuleren.SetCaption(L(306));
  Brenvickhomepage1.SetCaption(L(486));
  Brenvickhelp1.SetCaption(L(514));
  utorial1.SetCaption(text::TutorialCaption());
  Label55.SetCaption(text::ChangedByCaption());
  Label56.SetCaption(text::ChangedAtCaption());
}

void Tadministrationsetting::SetStatus(const std::string& text, ui::Color color) { StatusBar1.Show(text, color); }

void Tadministrationsetting::ShowTab(int tab) {
  TabControl1.SetTabIndex(tab);
  Panel2.SetVisible(tab == 0);
  Panel3.SetVisible(tab == 1);
  Button6.SetEnabled(tab == 0);
  ToolButton7.SetEnabled(tab == 0);
  Nexttab1.SetEnabled(tab == 0);
  Button7.SetEnabled(tab == 1);
  ToolButton9.SetEnabled(tab == 1);
  Prevtab1.SetEnabled(tab == 1);
}

void Tadministrationsetting::ShowValues() {
  const store::AdminSettingsFormValues& v = store::AdminSettingsValues;
  showing_ = true;
  const std::pair<ui::Edit*, const std::string*> texts[] = {
      {&Edit1, &v.CompanyName},   {&Edit2, &v.Address},     {&Edit3, &v.ZipCode},
      {&Edit4, &v.Town},          {&Edit14, &v.State},      {&Edit5, &v.Country},
      {&Edit6, &v.Telephone},     {&Edit7, &v.Fax},         {&Edit8, &v.Email},
      {&Edit9, &v.Website},       {&Edit10, &v.ExtraItem2}, {&Edit11, &v.ExtraItem1},
      {&Edit12, &v.CompanyRegistration}, {&Edit22, &v.TaxRegistrationId}, {&Edit15, &v.ChangedAt},
      {&Edit16, &v.ChangedBy},    {&Edit21, &v.CurrencyCode}, {&Edit23, &v.FiscalYear},
      {&Edit17, &v.ApprovedAnnualBalance}, {&Edit18, &v.CurrentAnnualBalance},
      {&Edit19, &v.LastClosedPeriod}, {&Edit20, &v.CurrentPeriod},
      {&Edit24, &v.JournalNames[0]}, {&Edit25, &v.JournalNames[1]}, {&Edit26, &v.JournalNames[2]},
      {&Edit27, &v.JournalNames[3]}, {&Edit28, &v.JournalNames[4]}, {&Edit29, &v.JournalNames[5]}};
  for (const auto& [edit, text] : texts) edit->SetText(*text);
  CheckBox1.SetChecked(v.NoSalesTaxAccounts);
  // The date first, then the minimum (a minimum above the date is refused).
  DateTimePicker1.SetDate(v.BookYearStart);
  DateTimePicker2.SetMinDate(std::nullopt);
  DateTimePicker2.SetDate(v.BookYearEnd);
  DateTimePicker2.SetMinDate(std::min(v.BookYearEndMinimum, v.BookYearEnd));
  ComboBox1.SetText(v.PeriodCountText);
  for (int k = 0; k < 15; ++k) PeriodPickers[k].Picker.SetDate(v.PeriodStart[k]);
  ui::CheckBox* flags[] = {&CheckBox7, &CheckBox8, &CheckBox9, &CheckBox10, &CheckBox11, &CheckBox12};
  for (int j = 0; j < 6; ++j) flags[j]->SetChecked(v.JournalFlags[j]);
  CheckBox13.SetChecked(v.SplitJournals);
  CheckBox13Click();
  showing_ = false;
}

void Tadministrationsetting::TakeValues() {
  store::AdminSettingsFormValues& v = store::AdminSettingsValues;
  const std::pair<ui::Edit*, std::string*> texts[] = {
      {&Edit1, &v.CompanyName},   {&Edit2, &v.Address},     {&Edit3, &v.ZipCode},
      {&Edit4, &v.Town},          {&Edit14, &v.State},      {&Edit5, &v.Country},
      {&Edit6, &v.Telephone},     {&Edit7, &v.Fax},         {&Edit8, &v.Email},
      {&Edit9, &v.Website},       {&Edit10, &v.ExtraItem2}, {&Edit11, &v.ExtraItem1},
      {&Edit12, &v.CompanyRegistration}, {&Edit22, &v.TaxRegistrationId},
      {&Edit21, &v.CurrencyCode}, {&Edit23, &v.FiscalYear},
      {&Edit17, &v.ApprovedAnnualBalance}, {&Edit18, &v.CurrentAnnualBalance},
      {&Edit19, &v.LastClosedPeriod}, {&Edit20, &v.CurrentPeriod},
      {&Edit24, &v.JournalNames[0]}, {&Edit25, &v.JournalNames[1]}, {&Edit26, &v.JournalNames[2]},
      {&Edit27, &v.JournalNames[3]}, {&Edit28, &v.JournalNames[4]}, {&Edit29, &v.JournalNames[5]}};
  for (const auto& [edit, text] : texts) *text = edit->GetText();
  v.NoSalesTaxAccounts = CheckBox1.Checked();
  v.BookYearStart = DateTimePicker1.Date();
  v.BookYearEnd = DateTimePicker2.Date();
  v.PeriodCountText = ComboBox1.GetText();
  for (int k = 0; k < 15; ++k) v.PeriodStart[k] = PeriodPickers[k].Picker.Date();
  ui::CheckBox* flags[] = {&CheckBox7, &CheckBox8, &CheckBox9, &CheckBox10, &CheckBox11, &CheckBox12};
  for (int j = 0; j < 6; ++j) v.JournalFlags[j] = flags[j]->Checked();
  v.SplitJournals = CheckBox13.Checked();
}

void Tadministrationsetting::UpdatePeriodControls() {
  const std::string count = ComboBox1.GetText();
  for (int k = 2; k <= 15; ++k) {
    const bool visible = PeriodPickerVisible(count, k);
    PeriodPickers[k - 1].Picker.SetVisible(visible);
    PeriodPickers[k - 1].Caption.SetVisible(visible);
  }
  const bool enabled = PeriodControlsEnabled(Edit20.GetText());
  ComboBox1.SetEnabled(enabled);
  DateTimePicker2.SetEnabled(enabled);
  for (int k = 2; k <= 15; ++k) PeriodPickers[k - 1].Picker.SetEnabled(enabled);
}

void UpdatePeriodControls() {
  if (!administrationsetting) return;
  administrationsetting->ShowValues();
  administrationsetting->UpdatePeriodControls();
}

void Tadministrationsetting::FormActivate() {
  // The year-end flow's proposal text stays while it opens the form on tab 2.
  const bool yearTab = SettingsYearTabFlag;
  if (!yearTab) SetStatus("", ui::colors::Default);
  if (auto failure = store::LoadAdminSettings())
    formkit::ReportFileSetError(*failure, formkit::FileSetReport::OsTextOnly);
  ShowValues();
  UpdatePeriodControls();

  ComboBox2.ClearItems();
  ComboBox2.SetText("");
  profitItems_.clear();
  Label33.SetCaption(CheckBox2.Caption());
  Label34.SetCaption(CheckBox4.Caption());
  Label35.SetCaption(CheckBox6.Caption());
  {
    formkit::FileSetScope scope("GLA;");
    if (scope.Ok())
      for (const records::LedgerAccountRec& a :
           store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit)) {
        const std::string item = a.AccountNumber() + "{" + a.Caption() + "}";
        profitItems_.push_back(item);
        ComboBox2.AddItem(item);
        if (a.AccountNumber() == store::AdminSettings.ProfitAccountNumber()) ComboBox2.SetText(item);
      }
  }
  DateTimePicker1.SetEnabled(Edit17.GetText().empty());
  PeriodPickers[0].Picker.SetEnabled(false);
  Button4.SetEnabled(!Edit19.GetText().empty());
  Unfreeze.SetEnabled(!Edit19.GetText().empty());
  SettingsYearTabFlag = false;
  ShowTab(yearTab ? 1 : 0);
  // End the set the start screen opened for this showing.
  store::CloseFileSet();
}

void Tadministrationsetting::FormKeyDown(uint16_t& key, unsigned) {
  if (key == ui::keys::Escape) {
    key = 0;
    Annuleren.Execute();
  } else if (key == ui::keys::F1) {
    key = 0;
    BrenvickAdministrationsettingshelp1.OnClick();
  }
}

void Tadministrationsetting::TabControl1Change() { ShowTab(TabControl1.TabIndex()); }

void Tadministrationsetting::Button6Click() {
  ShowTab(1);
  SetStatus("", ui::colors::Default);
}

void Tadministrationsetting::Button7Click() {
  ShowTab(0);
  SetStatus("", ui::colors::Default);
}

void Tadministrationsetting::CheckBox13Click() {
  for (ui::Component* c : JournalBlock()) c->SetVisible(CheckBox13.Checked());
}

void Tadministrationsetting::DateTimePicker1Change() {
  TakeValues();
  store::BookYearStartChanged(store::AdminSettingsValues);
  ShowValues();
  UpdatePeriodControls();
  Button4.SetEnabled(false);
  Unfreeze.SetEnabled(false);
}

void Tadministrationsetting::ComboBox1Change() {
  TakeValues();
  store::ProposePeriods(store::AdminSettingsValues);
  ShowValues();
  UpdatePeriodControls();
  Button4.SetEnabled(false);
  Unfreeze.SetEnabled(false);
}

void Tadministrationsetting::Edit23Change() {
  std::string text = Edit23.GetText();
  text::KeepDigits(text);
  if (text != Edit23.GetText()) Edit23.SetText(text);
}

void Tadministrationsetting::Edit23Exit() {
  if (!FiscalYearTooLow(Edit23.GetText())) return;
  ui::ShowMessage(MsgFiscalYearTooLow);
  Edit23.SetFocus();
}

void Tadministrationsetting::ComboBox1Exit() {
  const int i = ComboBox1.IndexOfIgnoringCase(ComboBox1.GetText());
  ComboBox1.SetText(i < 0 ? std::string("01") : ComboBox1.Items()[i].text);
}

void Tadministrationsetting::ComboBox2Exit() {
  const int i = ComboBox2.IndexOfIgnoringCase(ComboBox2.GetText());
  ComboBox2.SetText(i < 0 ? std::string() : ComboBox2.Items()[i].text);
}

void Tadministrationsetting::opslaanExecute() {
  // Bad input is told before any file opens.
  const FiscalYearCheck year = CheckFiscalYear(Edit23.GetText());
  if (year.refused || year.belowMinimum) ui::ShowMessage(MsgFiscalYearTooLow);
  if (year.refused) {
    Edit23.SetFocus();
    return;
  }
  const ProfitAccountChoice profit = SplitProfitAccount(ComboBox2.GetText(), profitItems_);
  if (profit.unknown) SetStatus(MsgUnknownProfitAccount(), ui::colors::Yellow);
  formkit::FileSetScope scope("ADS");
  if (!scope.Ok()) return;
  TakeValues();
  store::AdminSettingsValues.FiscalYear = year.stored;
  store::ProfitAccountNumberText = profit.number;
  store::ProfitAccountCaptionText = profit.caption;
  if (!store::SaveAdminSettings()) {
    ui::ShowMessage(text::MsgChangedInAnotherCopy());
    return;
  }
  scope.Close();
  ShowValues();
  if (!KeepSettingsFormOpen) Close();
  KeepSettingsFormOpen = false;
}

void Tadministrationsetting::AnnulerenExecute() {
  if (auto failure = store::LoadAdminSettings())
    formkit::ReportFileSetError(*failure, formkit::FileSetReport::OsTextOnly);
  ShowValues();
  SetStatus("", ui::colors::Default);
  Close();
}

void Tadministrationsetting::Button4Click() {
  const books::closing::LastFreeze last = books::closing::ReadLastFreezeLabel();
  if (last.failure) {
    formkit::ReportFileSetError(*last.failure, formkit::FileSetReport::TextOnly);
    return;
  }
  if (!last.label) {
    ui::ShowMessage(books::closing::MsgNothingFrozen());
    return;
  }
  if (ui::MessageDlg(books::closing::UnfreezeQuestion(*last.label), ui::DialogKind::Confirmation, ui::Buttons::YesNo) !=
      ui::ModalResult::Yes)
    return;
  const books::closing::UnfreezeRun run = books::closing::UnfreezeLastPeriod(store::AdminSettings);
  if (run.outcome == books::closing::UnfreezeOutcome::FileSetFailed) {
    formkit::ReportFileSetError(run.failure, formkit::FileSetReport::TextOnly);
    return;
  }
  if (!run.Ok()) {
    ui::ShowMessage(run.message);
    return;
  }
  // The fields the unfreeze wrote come onto the form; other edits stay.
  const store::AdminSettingsFormValues& v = store::AdminSettingsValues;
  Edit17.SetText(v.ApprovedAnnualBalance);
  Edit18.SetText(v.CurrentAnnualBalance);
  Edit19.SetText(v.LastClosedPeriod);
  Edit20.SetText(v.CurrentPeriod);
  Edit23.SetText(v.FiscalYear);
  DateTimePicker2.SetMinDate(std::nullopt);
  DateTimePicker1.SetDate(v.BookYearStart);
  DateTimePicker2.SetDate(v.BookYearEnd);
  DateTimePicker2.SetMinDate(std::min(v.BookYearEndMinimum, v.BookYearEnd));
  ComboBox1.SetText(v.PeriodCountText);
  for (int k = 0; k < 15; ++k) PeriodPickers[k].Picker.SetDate(v.PeriodStart[k]);
  UpdatePeriodControls();
  DateTimePicker1.SetEnabled(Edit17.GetText().empty());
  Button4.SetEnabled(!Edit19.GetText().empty());
  Unfreeze.SetEnabled(!Edit19.GetText().empty());
  SetStatus(text::L(10410), ui::colors::Green);
}

}  // namespace masterdata
