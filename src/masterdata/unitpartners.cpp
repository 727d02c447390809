#include "masterdata/unitpartners.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "formkit/filesetscope.h"
#include "formkit/helpmenu.h"
#include "masterdata/Ledgerunit.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "records/ledgeraccountrec.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "ui/application.h"

namespace masterdata {

using text::Cut;
using text::L;

namespace {

constexpr const char* kRequiredEnglish = "Kind, group account and sales/cost account 1 are required";
constexpr const char* kFileEmptyEnglish = "The file holds no records yet";
constexpr const char* kNotFoundEnglish = "No matching rows found";

constexpr int kAccountEditCount = 7;

}  // namespace

records::PartnerRec CurrentPartner;
std::string PartnerCallerMode;
std::array<std::string, 16> PartnerFunctionCodes;
std::array<std::string, 16> PartnerDefaultAccounts;
records::SystemParamRec PartnerSystemParams;
records::AdminSettingsRec PartnerAdminSettings;
formkit::HelpCaptionBlockRec PartnerHelpCaptions;
std::string PartnerRequiredText = kRequiredEnglish;
std::string PartnerFileEmptyText = kFileEmptyEnglish;
std::string PartnerNotFoundText = kNotFoundEnglish;
std::string PartnerPeriodText = "Book year and last closed period: ";
std::string PartnerOwingHeading = "Outstanding";
Tpartners2* partners2 = nullptr;

void ResetPartnersState() {
  books::partners::SetNewPartnerEntry({});
  CurrentPartner = {};
  PartnerCallerMode.clear();
  PartnerFunctionCodes = AccountFunctionCodes;
  PartnerDefaultAccounts = {};
  PartnerSystemParams = {};
  PartnerAdminSettings = {};
  PartnerHelpCaptions = {};
  PartnerRequiredText = kRequiredEnglish;
  PartnerFileEmptyText = kFileEmptyEnglish;
  PartnerNotFoundText = kNotFoundEnglish;
  PartnerPeriodText = "Book year and last closed period: ";
  PartnerOwingHeading = "Outstanding";
}

Tpartners2::Tpartners2() : ui::Form("partners2", "Tpartners2") {
  width = 1000;
  height = 700;
  PartnerFunctionCodes = AccountFunctionCodes;
  BindActions();
  LayOutFrame();
  LayOutDetails();
  BindEvents();

  ApplyFormTexts();
  ComboBox2.SetItemIndex(0);
  ComboBox1.SetItemIndex(0);
  ClearList();
  ShowTab(books::partners::TabDetails1);
  books::partners::SetNewPartnerEntry(
      [this](const books::partners::NewPartnerRequest& r) { return ShowForNewPartner(r); });
}

// ---- lay-out, actions and events

void Tpartners2::BindActions() {
  Savepartner.OnExecute = [this] { SavepartnerExecute(); };
  Selecteerrow.OnExecute = [this] { SelecteerrowExecute(); };
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Save1, &ToolButton2, &Button5})
    c->SetAction(&Savepartner);
  list.Button3.SetAction(&Selecteerrow);
  ToolButton1.SetImageIndex(0);
  ToolButton2.SetImageIndex(3);
  ToolButton3.SetImageIndex(8);
}

// The title, the search criteria, the tab control and the bottom row.
void Tpartners2::LayOutFrame() {
  Label6.SetBold(true);

  GroupBox1.gridColumns = 10;
  for (ui::Edit* e : {&Edit28, &Edit29, &Edit30, &Edit42}) e->hints.stretch = 1;
  Edit28.SetMaxLength(11);
  Edit29.SetMaxLength(15);
  Edit30.SetMaxLength(50);
  Edit42.SetMaxLength(20);
  ComboBox2.hints.width = 120;
  Panel7.hints.colSpan = 10;
  Panel7.hints.newRow = true;
  Panel7.SetBevel(false);
  for (ui::Button* b : {&Button1, &Button2, &Button4}) b->hints.width = 110;

  TabControl1.hints.stretch = 1;
  for (ui::Panel* p : {&Panel1, &Panel2}) {
    p->SetBevel(false);
    p->hints.stretch = 1;
  }

  Panel6.SetBevel(false);
  for (ui::Button* b : {&Button7, &Button8, &Button5, &Button6}) b->hints.width = 130;
}

void Tpartners2::LayOutDetails() {
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

void Tpartners2::BindEvents() {
  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  New1.OnClick = [this] { ToolButton1Click(); };
  ToolButton1.OnClick = [this] { ToolButton1Click(); };
  Exit1.OnClick = [this] { Close(); };
  Button6.OnClick = [this] { Close(); };
  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button4.OnClick = [this] { Button4Click(); };
  list.Button9.OnClick = [this] { Button9Click(); };
  Button12.OnClick = [this] { Button12Click(); };
  list.BitBtn1.OnClick = [this] { BitBtn1Click(); };
  list.BitBtn2.OnClick = [this] { BitBtn2Click(); };
  list.StringGrid1.OnDblClick = [this] { Selecteerrow.Execute(); };
  TabControl1.OnChange = [this] { TabControl1Change(); };
  Button7.OnClick = [this] { ShowTab(books::partners::PreviousPartnerTab(TabControl1.TabIndex())); };
  Button8.OnClick = [this] { ShowTab(books::partners::NextPartnerTab(TabControl1.TabIndex())); };
  PreviousTab1.OnClick = Button7.OnClick;
  NextTab1.OnClick = Button8.OnClick;
  const std::array<ui::MenuItem*, books::partners::PartnerTabCount> views = {
      &ViewDetails11, &ViewDetails21, &ViewFinance1, &ViewGraphics1, &ViewPartnerList1};
  for (int t = 0; t < books::partners::PartnerTabCount; ++t)
    views[static_cast<std::size_t>(t)]->OnClick = [this, t] { ShowTab(t); };
  const std::array<ui::Edit*, 7> edits = AccountEdits();
  for (int k = 0; k < kAccountEditCount; ++k) edits[static_cast<std::size_t>(k)]->OnEnter = [this, k] {
      AccountEditEnter(k);
    };
  ComboBox6.OnExit = [this] { ComboBox6Exit(); };
  ComboBox1.OnChange = [this] { ComboBox1Change(); };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  ComboBox2.OnExit = [this] { ComboBox2Exit(); };
  ComboBox2.OnChange = [this] {
    if (ComboBox2.ItemIndex() == 0 || ComboBox2.ItemIndex() == 1) lastSearchKind_ = ComboBox2.ItemIndex();
  };
  CheckBox4.OnClick = [this] { CheckBox4Click(); };
  CheckBox5.OnClick = [this] { CheckBox5Click(); };
  Edit1.OnChange = [this] { Edit1Change(); };
  Edit32.OnChange = [this] { CreditLimitChange(); };
  Edit38.OnChange = [this] { RateChange(Edit38); };
  Edit40.OnChange = [this] { RateChange(Edit40); };
  Edit37.OnChange = [this] { DaysChange(Edit37); };
  Edit39.OnChange = [this] { DaysChange(Edit39); };
  for (ui::Edit* e : {&Edit28, &Edit29, &Edit30, &Edit42})
    e->OnKeyDown = [this](uint16_t& k, unsigned) { SearchKeyDown(k); };
  finance.Button11.OnClick = [this] { Button11Click(); };
  for (int t = 0; t < books::partners::kFinanceStyles; ++t)
    chart.StyleButtons()[static_cast<std::size_t>(t)]->OnClick = [this, t] { StyleClick(t); };
  for (int slot = 0; slot < books::partners::kFinanceSlots; ++slot)
    chart.SlotToggles()[static_cast<std::size_t>(slot)]->OnClick = [this, slot] { SlotToggleClick(slot); };
  chart.CheckBox6.OnClick = [this] { CheckBox6Click(); };
  chart.ToolButton13.OnClick = [this] { ToolButton13Click(); };
  formkit::BindHelpMenu(*this, PartnerHelpCaptions,
                        {{&GeneralHelp1, ""}, {&Tutorial1, "<TUT00>"}, {&About1, "<ABO00>"}}, &Homepage1);
  PartnerHelp1.OnClick = [this] {
    formkit::ShowHelpFrom(*this, books::partners::PartnerHelpTag(TabControl1.TabIndex()), PartnerHelpCaptions);
  };
  ToolButton3.OnClick = PartnerHelp1.OnClick;
}


Tpartners2::~Tpartners2() { books::partners::SetNewPartnerEntry({}); }

std::optional<books::partners::FoundPartner> Tpartners2::ShowForNewPartner(
    const books::partners::NewPartnerRequest& request) {
  int result = 0;
  store::OpenFileSet("GLA", result);
  if (result != 0) {
    formkit::ReportFileSetError();
    return std::nullopt;
  }
  const int kind = static_cast<int>(request.kind);
  ComboBox2.SetItemIndex(kind);
  lastSearchKind_ = kind;
  ComboBox2.SetEnabled(false);
  PartnerCallerMode.clear();
  if (request.fromPayment) {
    // New keeps these three for the payment.
    PartnerCallerMode = "paytab";
    WriteField(Edit1, Cut(request.name, 50));
    WriteField(Edit41, Cut(request.name, 60));
    WriteField(Edit20, Cut(request.bankAccount, 20));
  }
  ShowModal();
  ComboBox2.SetEnabled(true);
  PartnerCallerMode.clear();
  return saved_;
}

std::array<ui::Edit*, 7> Tpartners2::AccountEdits() {
  return {&Edit34, &Edit35, &Edit36, &Edit58, &Edit31, &Edit33, &Edit49};
}

// ---- texts

void Tpartners2::ApplyLanguageTexts() {
  ApplyFormTexts();
  PartnerRequiredText = L(9770);
  PartnerFileEmptyText = L(9831);
  PartnerNotFoundText = L(9892);
  PartnerPeriodText = L(6106);
  PartnerOwingHeading = L(5980);
}

void Tpartners2::ApplyFormTexts() {
  ApplyFrameTexts();
  ApplyDetailsTexts();
  finance.ApplyTexts();
  chart.ApplyTexts();
  SetChartTitles();
  list.ApplyTexts();
  Selecteerrow.SetCaption(L(345));
}

// The caption, the title, the menus, the tool bar, the criteria, the tabs and
// the bottom row.
void Tpartners2::ApplyFrameTexts() {
  SetCaption(store::ProductTitle + " : " + L(852) + " / " + L(4720));
  Label6.SetCaption(Cut(" " + L(4720), 24) + " (" + store::CurrentAdministrationName + ")");

  File1.SetCaption(L(21));
  New1.SetCaption(L(32));
  Savepartner.SetCaption(L(54));
  Exit1.SetCaption(L(123));
  Button6.SetCaption(L(123));
  View1.SetCaption(text::BuiltInText("&View", "&Beeld", "&Ansicht"));
  ViewDetails11.SetCaption(L(5662));
  ViewDetails21.SetCaption(L(5693));
  ViewFinance1.SetCaption(L(5724));
  ViewGraphics1.SetCaption(L(5755));
  ViewPartnerList1.SetCaption(L(5786));
  NextTab1.SetCaption(L(5106));
  PreviousTab1.SetCaption(L(5637));
  Help1.SetCaption(L(284));
  PartnerHelp1.SetCaption(L(5847));
  GeneralHelp1.SetCaption(L(514));
  Tutorial1.SetCaption(text::TutorialCaption());
  Homepage1.SetCaption(L(486));
  About1.SetCaption(L(295));
  ToolButton1.SetCaption(L(32));
  ToolButton3.SetCaption(L(284));

  GroupBox1.SetCaption(L(4770));
  Label29.SetCaption(text::BuiltInText("Kind", "Soort", "Art"));
  Label30.SetCaption(L(4793));
  Label31.SetCaption(L(4809));
  Label32.SetCaption(L(4830) + " / " + L(5006));
  Label33.SetCaption(L(5006));
  Button1.SetCaption(L(334));
  Button2.SetCaption(text::BuiltInText("Clear", "Wissen", cp1252::L("L\xC3\xB6schen")));
  Button4.SetCaption(L(32));

  const std::vector<std::string> kinds = {L(5832), L(5817)};
  for (ui::ComboBox* box : {&ComboBox1, &ComboBox2}) {
    const int index = box->ItemIndex();
    box->SetItems(kinds);
    box->SetItemIndex(index);
  }
  TabControl1.SetTabs({L(5662), L(5693), L(5724), L(5755), L(5786)});

  Button7.SetCaption(L(5637));
  Button8.SetCaption(L(5106));
}

void Tpartners2::ApplyDetailsTexts() {
  Label26.SetCaption(L(4793));
  Label1.SetCaption(text::BuiltInText("Kind", "Soort", "Art"));
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
  CheckBox5.SetCaption(text::BuiltInText("Verified on", "Gecontroleerd op", cp1252::L("Gepr\xC3\xBC\x66t am")));
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
  Label50.SetCaption(text::BuiltInText("GL account", "Grootboekrekening", "Sachkonto"));
  Button12.SetCaption(L(6194));
  ComboBox1Change();
}

// ---- small helpers

void Tpartners2::WriteField(ui::Edit& edit, const std::string& text) {
  const bool was = programWrite_;
  programWrite_ = true;
  edit.SetText(text);
  programWrite_ = was;
}

void Tpartners2::ShowStatus(const std::string& text, ui::Color color) {
  StatusBar1.Show(text, text.empty() ? ui::colors::Default : color);
}

int Tpartners2::SearchKind() const {
  const int i = ComboBox2.ItemIndex();
  return i == 0 || i == 1 ? i : lastSearchKind_;
}

void Tpartners2::SetKindLocked(bool locked) {
  ComboBox1.SetEnabled(!locked && ComboBox2.Enabled());
  ComboBox1.SetBackColor(ComboBox1.Enabled() ? ui::colors::Cream : ui::colors::SkyBlue);
}

void Tpartners2::ShowTab(int tab) {
  if (tab < 0 || tab >= books::partners::PartnerTabCount) tab = books::partners::TabDetails1;
  TabControl1.SetTabIndex(tab);
  const std::array<ui::Panel*, books::partners::PartnerTabCount> panels = {
      &Panel1, &Panel2, &finance.Panel3, &chart.Panel4, &list.Panel5};
  const std::array<ui::MenuItem*, books::partners::PartnerTabCount> views = {
      &ViewDetails11, &ViewDetails21, &ViewFinance1, &ViewGraphics1, &ViewPartnerList1};
  for (int t = 0; t < books::partners::PartnerTabCount; ++t) {
    panels[static_cast<std::size_t>(t)]->SetVisible(t == tab);
    views[static_cast<std::size_t>(t)]->SetChecked(t == tab);
  }
  if (tab == books::partners::TabFinance || tab == books::partners::TabGraphics) FinanceRefresh();
}

void Tpartners2::TabControl1Change() { ShowTab(TabControl1.TabIndex()); }

void Tpartners2::FinanceRefresh() {
  // Keyed on the kind and number of the partner shown: a customer and a
  // supplier of the same name and address are different partners.
  std::optional<std::pair<int, std::int32_t>> key;
  if (loaded_) key = std::make_pair(ComboBox1.ItemIndex(), loaded_->record.OurNumber());
  if (!finance.TakeKey(key)) return;
  if (loaded_)
    Button11Click();
  else
    ClearFinance();
}

void Tpartners2::SetChartTitles() {
  // The year labels of the administration (cut to 10 as the labels show
  // them), the words from the language where it has them.
  const std::string current = Cut(PartnerAdminSettings.CurrentAnnualBalance(), 10);
  const std::string previous = Cut(PartnerAdminSettings.ApprovedAnnualBalance(), 10);
  finance.SetYearLabels(current, previous);
  const std::string sales = text::BuiltInText("Sales", "Omzet", "Umsatz");
  const std::string paid = text::BuiltInText("Paid", "Betaald", "Bezahlt");
  const std::array<std::string, books::partners::kFinanceSlots> titles = {
      sales + " " + current, sales + " " + previous,  paid + " " + current,
      paid + " " + previous, L(6085) + " " + current, L(6085) + " " + previous};
  chart.SetSlotTitles(titles);
}

void Tpartners2::ClearFinance() {
  finance.Clear();
  chart.StyleClick(books::partners::StyleBars);
}

void Tpartners2::Button11Click() {
  if (!loaded_) {
    ClearFinance();
    return;
  }
  const books::partners::PartnerKind kind =
      ComboBox1.ItemIndex() == 1 ? books::partners::PartnerKind::Supplier : books::partners::PartnerKind::Customer;
  books::partners::FinanceRead read = ReadPartnerFinance(kind, loaded_->record.OurNumber(), PartnerAdminSettings);
  if (read.failure) {
    // Reported; the form stays open with what was typed on its tabs.
    formkit::ReportFileSetError(*read.failure);
    return;
  }
  finance.Show(std::move(read.finance), {static_cast<int>(kind), loaded_->record.OurNumber()},
               {Edit1.GetText(), Edit2.GetText(), Edit4.GetText()},
               books::partners::FinancePeriodLabel(PartnerAdminSettings, PartnerPeriodText), PartnerOwingHeading);
  SetChartTitles();
  // The chart: current-year slots shown, previous-year slots hidden, bars.
  chart.ShowSeries(MakeFinanceSeries(finance.Figures(), PartnerAdminSettings.PeriodCount()),
                   Edit1.GetText() + " / " + finance.CurrentYearCaption());
}

void Tpartners2::StyleClick(int style) { chart.StyleClick(style); }

void Tpartners2::SlotToggleClick(int slot) { chart.SlotToggleClick(slot); }

void Tpartners2::CheckBox6Click() { chart.CheckBox6Click(); }

void Tpartners2::ToolButton13Click() { chart.ToolButton13Click(); }

// ---- activation and keys

void Tpartners2::FormActivate() {
  saved_.reset();
  loaded_.reset();
  finance.ForgetKey();
  programWrite_ = false;
  pickerTarget_ = -1;
  ComboBox6.SetVisible(false);
  Label50.SetVisible(false);

  // The kind searched: an item, else the supplier item.
  if (ComboBox2.ItemIndex() != 0 && ComboBox2.ItemIndex() != 1) ComboBox2.SetItemIndex(1);
  lastSearchKind_ = ComboBox2.ItemIndex();

  // The picker and the default accounts from the GL accounts of the set
  // the caller opened.
  accounts_.clear();
  try {
    formkit::FileSetScope scope("GLA");
    if (scope.Ok())
      for (const records::LedgerAccountRec& rec :
           store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit))
        accounts_.push_back({rec.AccountNumber(), rec.Caption(), rec.AccountFunction()});
  } catch (const std::exception& e) {
    accounts_.clear();
    ui::ShowMessage(e.what());
  }
  // The set the caller opened for this showing ends here.
  if (store::FileSetOpen) store::CloseFileSet();

  pickerItems_ = books::partners::PickerItems(accounts_);
  ComboBox6.SetItems(pickerItems_);
  const auto profit = books::partners::AccountItemFor(pickerItems_, PartnerAdminSettings.ProfitAccountNumber());
  ComboBox6.SetItemIndex(profit.value_or(0));
  PartnerDefaultAccounts = books::partners::DefaultAccountItems(accounts_, PartnerFunctionCodes);

  ClearCriteria();
  Button4Click();
}

void Tpartners2::FormKeyDown(uint16_t& key, unsigned) {
  if (key == ui::keys::Escape) {
    key = 0;
    Close();
  } else if (key == ui::keys::F1) {
    key = 0;
    PartnerHelp1.OnClick();
  }
}

void Tpartners2::SearchKeyDown(uint16_t& key) {
  if (key != ui::keys::Return) return;
  key = 0;
  Button1Click();
}

// ---- New

void Tpartners2::ClearDetails(bool keepCallerFields) {
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
  Edit1Change();
}

void Tpartners2::Button4Click() {
  const bool keep = PartnerCallerMode == "paytab";
  if (keep) PartnerCallerMode.clear();
  ClearDetails(keep);
  loaded_.reset();
  ComboBox1.SetItemIndex(SearchKind());
  SetKindLocked(false);
  ComboBox1Change();
  ShowStatus("", ui::colors::Default);
  ClearList();
  ClearFinance();
  ShowTab(books::partners::TabDetails1);
}

void Tpartners2::ClearCriteria() {
  for (ui::Edit* e : {&Edit28, &Edit29, &Edit30, &Edit42}) e->SetText("");
  list.HidePaging();
}

void Tpartners2::ToolButton1Click() {
  ClearCriteria();
  Button4Click();
}

void Tpartners2::Button2Click() { ClearCriteria(); }

void Tpartners2::ClearList() {
  list.Clear();
  Selecteerrow.SetEnabled(false);
}

void Tpartners2::Button9Click() {
  ClearList();
  ShowTab(books::partners::TabDetails1);
  ShowStatus("", ui::colors::Default);
}

// ---- the kind fields

void Tpartners2::ComboBox1Change() {
  const bool customer = ComboBox1.ItemIndex() != 1;
  const std::string kindText = ComboBox1.Count() > 1 ? ComboBox1.Items()[customer ? 0 : 1].text : std::string();
  Label34.SetCaption(kindText + " " + L(5414));
  Label35.SetCaption(L(customer ? 5521 : 5452));
  Label36.SetCaption(L(customer ? 5475 : 5544));
  Label58.SetCaption(L(customer ? 5498 : 5567));
}

namespace {

// A kind box's item for its text: the selected item while its text still
// matches, else the first item equal to it ignoring case; -1 when none is.
int KindItemOf(const ui::ComboBox& box) {
  const int selected = box.ItemIndex();
  if (selected >= 0 && cp1252::EqualsIgnoringCase(box.Items()[static_cast<std::size_t>(selected)].text,
                                                  box.GetText()))
    return selected;
  return box.IndexOfIgnoringCase(box.GetText());
}

}  // namespace

void Tpartners2::ComboBox1Exit() {
  const int kind = KindItemOf(ComboBox1);
  ComboBox1.SetItemIndex(kind);
  if (kind < 0) ComboBox1.SetText("");
  if (kind >= 0 && ComboBox2.Enabled()) {
    ComboBox2.SetItemIndex(kind);
    lastSearchKind_ = kind;
  }
  ComboBox1Change();
}

void Tpartners2::ComboBox2Exit() {
  const int kind = KindItemOf(ComboBox2);
  // A text that is no kind gives the last kind back: a search always has
  // one.
  ComboBox2.SetItemIndex(kind >= 0 ? kind : lastSearchKind_);
  lastSearchKind_ = ComboBox2.ItemIndex();
}

// ---- input filters

void Tpartners2::CheckBox4Click() {
  DateTimePicker1.SetVisible(CheckBox4.Checked());
  if (programWrite_ || !CheckBox4.Checked()) return;
  DateTimePicker1.SetDate(platform::Date());
}

void Tpartners2::CheckBox5Click() {
  DateTimePicker2.SetEnabled(CheckBox5.Checked());
  if (programWrite_ || !CheckBox5.Checked()) return;
  DateTimePicker2.SetDate(platform::Date());
}

void Tpartners2::Edit1Change() {
  // The finance and graphics tabs name the partner.
  finance.ShowName(Edit1.GetText());
}

void Tpartners2::CreditLimitChange() {
  if (programWrite_) return;
  std::string text = Edit32.GetText();
  text::FilterAmountInput(text, false);
  if (text != Edit32.GetText()) WriteField(Edit32, text);
}

void Tpartners2::RateChange(ui::Edit& edit) {
  if (programWrite_) return;
  const std::string text = books::partners::FilterRateInput(edit.GetText());
  if (text != edit.GetText()) WriteField(edit, text);
}

void Tpartners2::DaysChange(ui::Edit& edit) {
  if (programWrite_) return;
  std::string text = edit.GetText();
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c < '0' || c > '9'; }), text.end());
  if (text != edit.GetText()) WriteField(edit, text);
}

// ---- the GL-account picker

void Tpartners2::AccountEditEnter(int editIndex) {
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

void Tpartners2::ComboBox6Exit() {
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

void Tpartners2::ShowAccountEdit(ui::Edit& edit, const std::string& stored) {
  const books::partners::AccountDisplay shown = books::partners::ShowAccount(pickerItems_, stored);
  WriteField(edit, shown.text);
  edit.SetBackColor(shown.known ? ui::colors::Cream : ui::colors::Yellow);
}

void Tpartners2::Button12Click() {
  const int kind = ComboBox1.ItemIndex();
  if (kind != 0 && kind != 1) return;
  const std::array<ui::Edit*, 7> edits = AccountEdits();
  for (int k = 0; k < kAccountEditCount; ++k) {
    WriteField(*edits[static_cast<std::size_t>(k)],
               PartnerDefaultAccounts[static_cast<std::size_t>(books::partners::DefaultFunctionIndex(kind, k))]);
    edits[static_cast<std::size_t>(k)]->SetBackColor(ui::colors::Cream);
  }
}

// ---- show and read

void Tpartners2::ShowPartnerRecord() {
  const records::PartnerRec& p = CurrentPartner;
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
  SetKindLocked(true);
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
  Edit1Change();
  ComboBox1Change();
}

records::PartnerRec Tpartners2::ReadPartnerForm(const books::partners::PartnerFigures& figures) const {
  records::PartnerRec p;
  auto text = [](const ui::Edit& e, std::size_t room) { return Cut(e.GetText(), room); };
  p.SetName(text(Edit1, 50));
  // The company name is not on the form: a rewritten partner keeps its
  // own, a new one has none.
  p.SetCompanyName(loaded_ ? loaded_->record.CompanyName() : std::string());
  p.SetOurNumber(loaded_ ? loaded_->record.OurNumber() : 0);
  p.SetSuspendedDate(CheckBox4.Checked() ? text::DateToYmd(DateTimePicker1.Date()) : std::string());
  p.SetRelationshipType(books::partners::KindInfo(ComboBox1.ItemIndex() == 0 ? books::partners::PartnerKind::Customer
                                                                             : books::partners::PartnerKind::Supplier)
                            .relationshipType);
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

// ---- Save

void Tpartners2::SavepartnerExecute() {
  const int kindIndex = KindItemOf(ComboBox1);
  const std::optional<books::partners::PartnerKind> kind = books::partners::KindFromItemIndex(kindIndex);
  const bool noGroup = text::TrimText(Edit34.GetText()).empty();
  const bool noFirst = text::TrimText(Edit35.GetText()).empty();
  if (!kind || noGroup || noFirst) {
    if (!kind) ComboBox1.SetBackColor(ui::colors::Yellow);
    if (noGroup) Edit34.SetBackColor(ui::colors::Yellow);
    if (noFirst) Edit35.SetBackColor(ui::colors::Yellow);
    ShowStatus(PartnerRequiredText, ui::colors::Red);
    return;
  }
  ComboBox1.SetItemIndex(kindIndex);
  if (ComboBox1.Enabled()) ComboBox1.SetBackColor(ui::colors::Cream);
  for (ui::Edit* e : {&Edit34, &Edit35})
    if (e->BackColor() == ui::colors::Yellow && ComboBox6.IndexOf(e->GetText()) > 0)
      e->SetBackColor(ui::colors::Cream);
  ShowStatus("", ui::colors::Default);

  // Every number is checked before a file opens.
  const books::partners::FiguresResult figures = books::partners::ReadFigures(
      Edit32.GetText(), Edit37.GetText(), Edit38.GetText(), Edit39.GetText(), Edit40.GetText());
  if (!figures.figures) {
    const std::pair<ui::Edit*, ui::Label*> fields[] = {
        {&Edit32, &Label65}, {&Edit37, &Label37}, {&Edit38, &Label38}, {&Edit39, &Label39}, {&Edit40, &Label40}};
    const auto& [edit, label] = fields[static_cast<int>(figures.bad)];
    edit->SetBackColor(ui::colors::Yellow);
    ShowStatus(books::partners::MsgNotANumber(label->Caption()), ui::colors::Red);
    return;
  }
  for (ui::Edit* e : {&Edit32, &Edit37, &Edit38, &Edit39, &Edit40}) e->SetBackColor(ui::colors::Default);
  std::optional<std::int32_t> start;
  if (!loaded_ && Edit26.Enabled()) {
    start = books::partners::ParseStartValue(Edit26.GetText());
    if (!start) {
      Edit26.SetBackColor(ui::colors::Yellow);
      ShowStatus(books::partners::MsgBadStartValue(), ui::colors::Red);
      return;
    }
  }

  const records::PartnerRec rec = ReadPartnerForm(*figures.figures);
  const books::partners::PartnerResult r =
      loaded_ ? SavePartnerChange(*kind, *loaded_, rec) : SaveNewPartner(*kind, rec, start);
  switch (r.outcome) {
    case books::partners::PartnerOutcome::Done:
      loaded_ = *r.partner;
      saved_ = *r.partner;
      CurrentPartner = r.partner->record;
      WriteField(Edit26, std::to_string(r.partner->record.OurNumber()));
      Edit26.SetEnabled(false);
      Edit26.SetBackColor(ui::colors::SkyBlue);
      WriteField(Edit53, r.partner->record.ChangedBy());
      WriteField(Edit54, r.partner->record.ChangedAt());
      SetKindLocked(true);
      ShowTab(books::partners::TabDetails1);
      return;
    case books::partners::PartnerOutcome::FileSetFailed:
      formkit::ReportFileSetError(r.failure);
      return;
    case books::partners::PartnerOutcome::StartValueNeeded:
      ui::ShowMessage(books::partners::StartValueMessage(PartnerHelpCaptions.LanguageName));
      Edit26.SetEnabled(true);
      Edit26.SetBackColor(ui::colors::Cream);
      ShowTab(books::partners::TabDetails1);
      Edit26.SetFocus();
      return;
    case books::partners::PartnerOutcome::StartValueTooLate:
      WriteField(Edit26, "");
      Edit26.SetEnabled(false);
      Edit26.SetBackColor(ui::colors::SkyBlue);
      ShowStatus(books::partners::MsgStartValueTooLate(), ui::colors::Red);
      return;
    case books::partners::PartnerOutcome::BadStartValue:
      ShowStatus(books::partners::MsgBadStartValue(), ui::colors::Red);
      return;
    case books::partners::PartnerOutcome::Required:
      ShowStatus(PartnerRequiredText, ui::colors::Red);
      return;
    case books::partners::PartnerOutcome::ChangedInAnotherCopy:
      ShowStatus(text::MsgChangedInAnotherCopy(), ui::colors::Red);
      return;
    case books::partners::PartnerOutcome::NotFound:
    case books::partners::PartnerOutcome::FileEmpty:
      ShowStatus(books::partners::MsgPartnerGone(), ui::colors::Red);
      return;
    case books::partners::PartnerOutcome::NoNumberLeft:
      ShowStatus(text::BuiltInText("No partner number is left; nothing was saved",
                                   "Er is geen relatienummer meer vrij; er is niets opgeslagen",
                                   "Es ist keine Partnernummer mehr frei; es wurde nichts gespeichert"),
                 ui::colors::Red);
      return;
  }
}

// ---- Search, pages and Select

void Tpartners2::Button1Click() {
  savedCriteria_.ourNumber = text::TrimText(Edit28.GetText());
  savedCriteria_.theirNumber = text::TrimText(Edit29.GetText());
  savedCriteria_.text = text::TrimText(Edit30.GetText());
  savedCriteria_.bankAccount = text::TrimText(Edit42.GetText());
  savedKind_ = SearchKind();
  RunSearch(0);
}

void Tpartners2::BitBtn2Click() { RunSearch(list.Page().page + 1); }

void Tpartners2::BitBtn1Click() { RunSearch(std::max(0, list.Page().page - 1)); }

void Tpartners2::RunSearch(int page) {
  const books::partners::PartnerKind kind =
      savedKind_ == 0 ? books::partners::PartnerKind::Customer : books::partners::PartnerKind::Supplier;
  books::partners::PartnerPage found = SearchPartners(kind, savedCriteria_, page);
  if (found.outcome == books::partners::PartnerOutcome::FileSetFailed) {
    formkit::ReportFileSetError(found.failure);
    return;
  }
  // The paging buttons put the saved criteria back.
  Edit28.SetText(savedCriteria_.ourNumber);
  Edit29.SetText(savedCriteria_.theirNumber);
  Edit30.SetText(savedCriteria_.text);
  Edit42.SetText(savedCriteria_.bankAccount);
  ComboBox2.SetItemIndex(savedKind_);
  lastSearchKind_ = savedKind_;
  Button4Click();
  ShowPage(found);
}

void Tpartners2::ShowPage(const books::partners::PartnerPage& page) {
  const int n = list.Show(page, ComboBox2.GetText());
  Selecteerrow.SetEnabled(n > 0);
  if (n == 1) {
    // One row: the partner itself, on the details tab.
    SelecteerrowExecute();
    return;
  }
  ShowTab(books::partners::TabPartnerList);
  SetKindLocked(true);
  if (n > 0)
    ShowStatus("", ui::colors::Default);
  else
    ShowStatus(page.outcome == books::partners::PartnerOutcome::FileEmpty ? PartnerFileEmptyText : PartnerNotFoundText,
               ui::colors::Lime);
}

void Tpartners2::SelecteerrowExecute() {
  const std::optional<std::int32_t> number = list.SelectedNumber();
  if (!number) return;
  const books::partners::PartnerKind kind =
      savedKind_ == 0 ? books::partners::PartnerKind::Customer : books::partners::PartnerKind::Supplier;
  const books::partners::PartnerResult r =
      FindPartnerByNumber(kind, *number);
  switch (r.outcome) {
    case books::partners::PartnerOutcome::Done:
      ClearFinance();
      CurrentPartner = r.partner->record;
      loaded_ = *r.partner;
      ShowPartnerRecord();
      ShowStatus("", ui::colors::Default);
      ShowTab(books::partners::TabDetails1);
      return;
    case books::partners::PartnerOutcome::FileSetFailed:
      formkit::ReportFileSetError(r.failure);
      return;
    case books::partners::PartnerOutcome::FileEmpty:
      ShowTab(books::partners::TabDetails1);
      return;
    default:
      ShowStatus(PartnerNotFoundText, ui::colors::Lime);
      return;
  }
}

}  // namespace masterdata
