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
  BindEvents();

  ApplyFormTexts();
  ComboBox2.SetItemIndex(0);
  details.SetKindIndex(0);
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
  Panel6.SetBevel(false);
  for (ui::Button* b : {&Button7, &Button8, &Button5, &Button6}) b->hints.width = 130;
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
  details.Button12.OnClick = [this] { Button12Click(); };
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
  const std::array<ui::Edit*, 7> edits = details.AccountEdits();
  for (int k = 0; k < kAccountEditCount; ++k) edits[static_cast<std::size_t>(k)]->OnEnter = [this, k] {
      AccountEditEnter(k);
    };
  details.ComboBox6.OnExit = [this] { ComboBox6Exit(); };
  details.ComboBox1.OnChange = [this] { ComboBox1Change(); };
  details.ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  ComboBox2.OnExit = [this] { ComboBox2Exit(); };
  ComboBox2.OnChange = [this] {
    if (ComboBox2.ItemIndex() == 0 || ComboBox2.ItemIndex() == 1) lastSearchKind_ = ComboBox2.ItemIndex();
  };
  details.CheckBox4.OnClick = [this] { CheckBox4Click(); };
  details.CheckBox5.OnClick = [this] { CheckBox5Click(); };
  details.Edit1.OnChange = [this] { Edit1Change(); };
  details.Edit32.OnChange = [this] { CreditLimitChange(); };
  details.Edit38.OnChange = [this] { RateChange(details.Edit38); };
  details.Edit40.OnChange = [this] { RateChange(details.Edit40); };
  details.Edit37.OnChange = [this] { DaysChange(details.Edit37); };
  details.Edit39.OnChange = [this] { DaysChange(details.Edit39); };
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
    details.FillFromPayment(request.name, request.bankAccount);
  }
  ShowModal();
  ComboBox2.SetEnabled(true);
  PartnerCallerMode.clear();
  return saved_;
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
  details.ApplyTexts();
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
  View1.SetCaption(text::BuiltInText(text::BuiltIn::View));
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
  Label29.SetCaption(text::BuiltInText(text::BuiltIn::Kind));
  Label30.SetCaption(L(4793));
  Label31.SetCaption(L(4809));
  Label32.SetCaption(L(4830) + " / " + L(5006));
  Label33.SetCaption(L(5006));
  Button1.SetCaption(L(334));
  Button2.SetCaption(text::BuiltInText(text::BuiltIn::Clear));
  Button4.SetCaption(L(32));

  const std::vector<std::string> kinds = {L(5832), L(5817)};
  details.SetKindItems(kinds);
  const int index = ComboBox2.ItemIndex();
  ComboBox2.SetItems(kinds);
  ComboBox2.SetItemIndex(index);
  TabControl1.SetTabs({L(5662), L(5693), L(5724), L(5755), L(5786)});

  Button7.SetCaption(L(5637));
  Button8.SetCaption(L(5106));
}

// ---- small helpers

void Tpartners2::ShowStatus(const std::string& text, ui::Color color) {
  StatusBar1.Show(text, text.empty() ? ui::colors::Default : color);
}

int Tpartners2::SearchKind() const {
  const int i = ComboBox2.ItemIndex();
  return i == 0 || i == 1 ? i : lastSearchKind_;
}

void Tpartners2::SetKindLocked(bool locked) { details.SetKindEnabled(!locked && ComboBox2.Enabled()); }

void Tpartners2::ShowTab(int tab) {
  if (tab < 0 || tab >= books::partners::PartnerTabCount) tab = books::partners::TabDetails1;
  TabControl1.SetTabIndex(tab);
  const std::array<ui::Panel*, books::partners::PartnerTabCount> panels = {
      &details.Panel1, &details.Panel2, &finance.Panel3, &chart.Panel4, &list.Panel5};
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
  if (loaded_) key = std::make_pair(details.KindIndex(), loaded_->record.OurNumber());
  if (!finance.TakeKey(key)) return;
  if (loaded_)
    Button11Click();
  else
    ClearFinance();
}

void Tpartners2::SetChartTitles() {
  // The year labels of the administration (cut to 10 as the labels show
  // them), the words from the language where it has them.
  const std::string current = Cut(store::AdminSettings.CurrentAnnualBalance(), 10);
  const std::string previous = Cut(store::AdminSettings.ApprovedAnnualBalance(), 10);
  finance.SetYearLabels(current, previous);
  const std::string sales = text::BuiltInText(text::BuiltIn::Sales);
  const std::string paid = text::BuiltInText(text::BuiltIn::Paid);
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
      details.KindIndex() == 1 ? books::partners::PartnerKind::Supplier : books::partners::PartnerKind::Customer;
  books::partners::FinanceRead read = ReadPartnerFinance(kind, loaded_->record.OurNumber(), store::AdminSettings);
  if (read.failure) {
    // Reported; the form stays open with what was typed on its tabs.
    formkit::ReportFileSetError(*read.failure);
    return;
  }
  finance.Show(std::move(read.finance), {static_cast<int>(kind), loaded_->record.OurNumber()},
               {details.Name(), details.Address(), details.Town()},
               books::partners::FinancePeriodLabel(store::AdminSettings, PartnerPeriodText), PartnerOwingHeading);
  SetChartTitles();
  // The chart: current-year slots shown, previous-year slots hidden, bars.
  chart.ShowSeries(MakeFinanceSeries(finance.Figures(), store::AdminSettings.PeriodCount()),
                   details.Name() + " / " + finance.CurrentYearCaption());
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
  details.ResetForShowing();

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

  details.SetPickerAccounts(accounts_, store::AdminSettings.ProfitAccountNumber());
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
  details.Clear(keepCallerFields);
  Edit1Change();
}

void Tpartners2::Button4Click() {
  const bool keep = PartnerCallerMode == "paytab";
  if (keep) PartnerCallerMode.clear();
  ClearDetails(keep);
  loaded_.reset();
  details.SetKindIndex(SearchKind());
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

void Tpartners2::ComboBox1Change() { details.ComboBox1Change(); }

void Tpartners2::ComboBox1Exit() {
  const int kind = details.TakeTypedKind();
  if (kind >= 0 && ComboBox2.Enabled()) {
    ComboBox2.SetItemIndex(kind);
    lastSearchKind_ = kind;
  }
  details.ComboBox1Change();
}

void Tpartners2::ComboBox2Exit() {
  const int kind = KindItemOf(ComboBox2);
  // A text that is no kind gives the last kind back: a search always has
  // one.
  ComboBox2.SetItemIndex(kind >= 0 ? kind : lastSearchKind_);
  lastSearchKind_ = ComboBox2.ItemIndex();
}

// ---- input filters

void Tpartners2::CheckBox4Click() { details.CheckBox4Click(); }

void Tpartners2::CheckBox5Click() { details.CheckBox5Click(); }

void Tpartners2::Edit1Change() {
  // The finance and graphics tabs name the partner.
  finance.ShowName(details.Name());
}

void Tpartners2::CreditLimitChange() { details.CreditLimitChange(); }

void Tpartners2::RateChange(ui::Edit& edit) { details.RateChange(edit); }

void Tpartners2::DaysChange(ui::Edit& edit) { details.DaysChange(edit); }

// ---- the GL-account picker

void Tpartners2::AccountEditEnter(int editIndex) { details.AccountEditEnter(editIndex); }

void Tpartners2::ComboBox6Exit() { details.ComboBox6Exit(); }

void Tpartners2::Button12Click() { details.FillDefaultAccounts(PartnerDefaultAccounts); }

// ---- show and read

void Tpartners2::ShowPartnerRecord() {
  details.ShowRecord(CurrentPartner);
  SetKindLocked(true);
  Edit1Change();
  details.ComboBox1Change();
}

records::PartnerRec Tpartners2::ReadPartnerForm(const books::partners::PartnerFigures& figures) const {
  return details.Read(figures, loaded_);
}

// ---- Save

void Tpartners2::SavepartnerExecute() {
  const std::optional<books::partners::PartnerKind> kind = details.CheckRequired();
  if (!kind) {
    ShowStatus(PartnerRequiredText, ui::colors::Red);
    return;
  }
  ShowStatus("", ui::colors::Default);

  // Every number is checked before a file opens.
  const PartnerDetailsPage::CheckedFigures figures = details.CheckFigures();
  if (!figures.figures) {
    ShowStatus(figures.error, ui::colors::Red);
    return;
  }
  std::optional<std::int32_t> start;
  if (!loaded_ && details.StartValueOpen()) {
    start = details.TypedStartValue();
    if (!start) {
      ShowStatus(books::partners::MsgBadStartValue(), ui::colors::Red);
      return;
    }
  }

  const records::PartnerRec rec = ReadPartnerForm(*figures.figures);
  ShowSaveResult(loaded_ ? SavePartnerChange(*kind, *loaded_, rec) : SaveNewPartner(*kind, rec, start));
}

void Tpartners2::ShowSaveResult(const books::partners::PartnerResult& r) {
  switch (r.outcome) {
    case books::partners::PartnerOutcome::Done:
      loaded_ = *r.value;
      saved_ = *r.value;
      CurrentPartner = r.value->record;
      details.ShowSaved(r.value->record);
      SetKindLocked(true);
      ShowTab(books::partners::TabDetails1);
      return;
    case books::partners::PartnerOutcome::FileSetFailed:
      formkit::ReportFileSetError(r.failure);
      return;
    case books::partners::PartnerOutcome::StartValueNeeded:
      ui::ShowMessage(books::partners::StartValueMessage(PartnerHelpCaptions.LanguageName));
      details.OpenStartValue();
      ShowTab(books::partners::TabDetails1);
      details.FocusStartValue();
      return;
    case books::partners::PartnerOutcome::StartValueTooLate:
      details.CloseStartValue();
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
      ShowStatus(text::BuiltInText(text::BuiltIn::NoPartnerNumberIsLeftNothing),
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
  if (formkit::ReportFileFailure(found) || !found.value) return;
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
  const int n = list.Show(*page.value, ComboBox2.GetText());
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
      CurrentPartner = r.value->record;
      loaded_ = *r.value;
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
