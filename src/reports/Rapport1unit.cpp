#include "reports/Rapport1unit.h"

#include <cmath>

#include "formkit/filesetscope.h"
#include "formkit/helpmenu.h"
#include "text/builtintext.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/filesystem.h"
#include "records/freezerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "books/reporting/paging.h"
#include "books/closing/periodclosing.h"
#include "books/reporting/reportrun.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "text/languagetext.h"
#include "store/scopedfileset.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "ui/application.h"
#include "ui/longwork.h"
#include "ui/printing.h"

namespace reports {

TRapport1* Rapport1 = nullptr;
bool FreezeDone = false;
records::AdminSettingsRec ReportAdminSettings;
bool FreezeClosedYear = false;
std::string FreezeLabel;
std::string FreezeProfitText;
std::string ReportTransferAccountNumber;
std::string ReportTransferAccountCaption;
std::string ReportProfitText;
std::string ReportProfitAccountNumber;
std::string ReportProfitAccountCaption;
std::string ReportPeriodEnd;
char ReportKind = 0;
formkit::HelpCaptionBlockRec RapportHelpCaptions;

void ResetRapportState() {
  FreezeDone = false;
  ReportAdminSettings = {};
  FreezeClosedYear = false;
  FreezeLabel.clear();
  FreezeProfitText.clear();
  ReportTransferAccountNumber.clear();
  ReportTransferAccountCaption.clear();
  ReportProfitText.clear();
  ReportProfitAccountNumber.clear();
  ReportProfitAccountCaption.clear();
  ReportPeriodEnd.clear();
  ReportKind = 0;
  RapportHelpCaptions = {};
}

namespace {

// The language text at `offset`, or `fallback` where the language has none.
std::string Lang(int offset, const char* fallback) {
  if (text::IsLanguageField(static_cast<std::size_t>(offset))) {
    std::string t = text::L(offset);
    if (!t.empty()) return t;
  }
  return fallback;
}

std::string Today() { return text::DateToYmd(platform::Date()); }

std::string TimeText() {
  const double day = platform::Now();
  const int minutes = static_cast<int>(std::lround((day - std::floor(day)) * 24 * 60)) % (24 * 60);
  const int h = minutes / 60, m = minutes % 60;
  return (h < 10 ? "0" : "") + std::to_string(h) + ":" + (m < 10 ? "0" : "") + std::to_string(m);
}

std::vector<std::string> ItemTexts(const ui::ComboBox& box) {
  std::vector<std::string> out;
  for (const auto& item : box.Items()) out.push_back(item.text);
  return out;
}

void ShowFailure(const std::string& text) { ui::ShowMessage(text); }

}  // namespace

std::vector<std::string> ReportNames() {
  const std::pair<int, const char*> names[] = {
      {7802, "Trial balance"}, {7848, "Balance sheet and profit and loss"}, {7894, "Ledger account card"},
      {7940, "Journal"},       {7986, "Debtors"},                           {8032, "Creditors"}};
  std::vector<std::string> out;
  int n = 1;
  for (const auto& [offset, fallback] : names)
    out.push_back(text::Cut(std::to_string(n++) + ". " + Lang(offset, fallback), 48));
  return out;
}

std::string AccountItem(const std::string& number, const std::string& caption) {
  return text::Cut(text::Cut(text::TrimTrailingBlanks(number) + " | ", 18) + caption, 68);
}

books::reporting::CardAccount AccountOfItem(const std::string& item) {
  const std::size_t bar = item.find(" | ");
  if (bar == std::string::npos) return {text::TrimTrailingBlanks(item), {}};
  return {item.substr(0, bar), item.substr(bar + 3)};
}

TRapport1::TRapport1() : ui::Form("Rapport1", "TRapport1") {
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Generate1, &ToolButton1, &Button1})
    c->SetAction(&genereerrapport);
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Preview1, &ToolButton2})
    c->SetAction(&Afdrukvoorbeeld);
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Print1, &ToolButton3, &Button2})
    c->SetAction(&Afdrukken);
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Saveas1, &ToolButton4})
    c->SetAction(&saveas);
  Selectall1.SetAction(&selectall);
  Copy1.SetAction(&copytoclipboard);
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Freeze1, &ToolButton5})
    c->SetAction(&freezeperiode);
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Close1, &Button3}) c->SetAction(&Sluiten);
  BrenvickHelp1.SetAction(&helpfile);

  genereerrapport.OnExecute = [this] { genereerrapportExecute(); };
  Afdrukvoorbeeld.OnExecute = [this] { AfdrukvoorbeeldExecute(); };
  Afdrukken.OnExecute = [this] { AfdrukkenExecute(); };
  saveas.OnExecute = [this] { saveasExecute(); };
  selectall.OnExecute = [this] { selectallExecute(); };
  copytoclipboard.OnExecute = [this] { copytoclipboardExecute(); };
  freezeperiode.OnExecute = [this] { freezeperiodeExecute(); };
  Sluiten.OnExecute = [this] { SluitenExecute(); };

  OnActivate = [this] { FormActivate(); };
  OnKeyPress = [this](char& k) { FormKeyPress(k); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  ComboBox4.OnSelect = [this] { ComboBox4Select(); };
  ComboBox4.OnChange = [this] { ChoiceChanged(); };
  ComboBox1.OnChange = [this] {
    ChoiceChanged();
    ComboBox1Change();
  };
  ComboBox3.OnChange = [this] { ComboBox3Change(); };
  ComboBox4.OnExit = [this] { ComboBox4Exit(); };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  ComboBox3.OnExit = [this] { ComboBox3Exit(); };
  ComboBox2.OnExit = [this] { ComboBox2Exit(); };
  formkit::BindHelpMenu(*this, RapportHelpCaptions,
                        {{&BrenvickReporthelp1, "<RAP00>"},
                         {&ToolButton6, "<RAP00>"},
                         {&BrenvickHelp1, ""},
                         {&utorial1, "<TUT00>"},
                         {&Helpabout1, "<ABO00>"}},
                        &BrenvickHomepage1);

  width = 1100;
  height = 700;
  Panel1.gridColumns = 4;
  ComboBox4.hints.minWidth = 320;
  ComboBox1.hints.minWidth = 160;
  ComboBox3.hints.minWidth = 320;
  ComboBox2.hints.minWidth = 160;
  StringGrid1.hints.stretch = 1;
  RichEdit1.hints.stretch = 1;
  StringGrid1.SetFixedRows(2);
  StringGrid1.SetColWidth(7, 0);
  RichEdit1.SetVisible(false);
  ProgressBar1.SetVisible(false);
}

void TRapport1::EnableAfterLayout(bool on) {
  Afdrukken.SetEnabled(on);
  saveas.SetEnabled(on);
  selectall.SetEnabled(on);
  copytoclipboard.SetEnabled(on);
}

void TRapport1::ChoiceChanged() {
  if (!generated_) return;
  if (generated_->report == ComboBox4.GetText() && generated_->period == ComboBox1.GetText()) return;
  generated_.reset();
  Afdrukvoorbeeld.SetEnabled(false);
  freezeperiode.SetEnabled(false);
  EnableAfterLayout(false);
}

void TRapport1::FormActivate() {
  SetCaption(store::ProductTitle + " : " + Lang(7642, "Reports"));
  Label3.SetCaption(Lang(7682, "Report selection"));
  Boekjaar.SetCaption(Lang(7705, "Book period"));
  Label1.SetCaption(Lang(7724, "GL account"));
  Label4.SetCaption(Lang(8156, "Journal"));
  genereerrapport.SetCaption(Lang(7747, "Generate report"));
  freezeperiode.SetCaption(Lang(7661, "Freeze period"));
  BrenvickReporthelp1.SetCaption(Lang(7766, "Report help"));
  File1.SetCaption(Lang(21, "File"));
  saveas.SetCaption(Lang(65, "Save as..."));
  Afdrukvoorbeeld.SetCaption(Lang(91, "Print preview"));
  Afdrukken.SetCaption(Lang(112, "Print"));
  Sluiten.SetCaption(Lang(123, "Exit"));
  Edit1.SetCaption(Lang(136, "Edit"));
  copytoclipboard.SetCaption(Lang(162, "Copy"));
  selectall.SetCaption(Lang(226, "Select all"));
  Run1.SetCaption(Lang(247, "Actions"));
  Help1.SetCaption(Lang(284, "Help"));
  Helpabout1.SetCaption(Lang(295, "About..."));
  BrenvickHomepage1.SetCaption(Lang(486, "Home page"));
  BrenvickHelp1.SetCaption(Lang(514, "Help"));
  helpfile.SetCaption(Lang(514, "Help"));
  utorial1.SetCaption(text::TutorialCaption());

  // The view shows the last report again, from memory.
  RichEdit1.Clear();
  if (report_) RichEdit1.LoadRtf(books::reporting::ReportRtf(*report_));
  StringGrid1.SetRowCount(555);
  for (int r = 0; r < StringGrid1.RowCount(); ++r)
    for (int c = 0; c < 8; ++c) StringGrid1.SetCell(c, r, {});
  // Column 0 takes what the six amount columns leave of the grid; the
  // widths are exact (a heading they cut shows whole as a tool tip).
  StringGrid1.SetExactColWidth(0, std::max(200, width - 20 - 746));
  for (int c = 1; c <= 6; ++c) StringGrid1.SetExactColWidth(c, 120);
  StringGrid1.SetColWidth(7, 0);

  const std::vector<std::string> names = ReportNames();
  ComboBox4.SetItems(names);
  ComboBox4.SetText(names.front());
  if (FreezeDone) {
    FreezeDone = false;
    StatusBar1.Show(kFreezeSuccessText, ui::colors::Lime);
    ComboBox4.SetItemIndex(1);
  } else {
    StatusBar1.Show({}, ui::colors::Default);
  }
  FillPeriodList();
  generated_.reset();
  Afdrukvoorbeeld.SetEnabled(false);
  freezeperiode.SetEnabled(false);
  EnableAfterLayout(false);
  ComboBox4Select();

  // The accounts, from the set the start screen opened.
  ComboBox3.ClearItems();
  ComboBox3.AddItem(kAllItems);
  accounts_.clear();
  if (store::FileSetOpen) {
    try {
      for (const auto& a : store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit)) {
        const std::string item = AccountItem(a.AccountNumber(), a.Caption());
        ComboBox3.AddItem(item);
        accounts_.push_back(AccountOfItem(item));
      }
    } catch (...) {
      store::CloseFileSet();
      throw;
    }
    store::CloseFileSet();
  }
  ComboBox3.SetText(kAllItems);
}

void TRapport1::ComboBox4Select() {
  const char kind = ComboBox4.GetText().empty() ? 0 : ComboBox4.GetText()[0];
  const bool openItems = kind == '5' || kind == '6';
  Boekjaar.SetVisible(!openItems);
  ComboBox1.SetVisible(!openItems);
  Label1.SetVisible(kind == '3');
  ComboBox3.SetVisible(kind == '3');
  if (kind == '4') FillJournalList();
  Label4.SetVisible(kind == '4');
  ComboBox2.SetVisible(kind == '4');
  if (openItems) {
    Button1.SetFocus();
  } else {
    ComboBox1.SetFocus();
  }
}

void TRapport1::ComboBox1Change() {
  if (ComboBox3.Visible()) {
    ComboBox3.SetFocus();
  } else {
    Button1.SetFocus();
  }
}

void TRapport1::ComboBox3Change() { Button1.SetFocus(); }

void TRapport1::ComboExit(ui::ComboBox& box) { box.SetText(books::reporting::ComboExitText(ItemTexts(box), box.GetText())); }

void TRapport1::ComboBox4Exit() {
  ComboExit(ComboBox4);
  ChoiceChanged();
}

void TRapport1::ComboBox1Exit() {
  ComboExit(ComboBox1);
  ChoiceChanged();
  if (ComboBox2.Visible()) FillJournalList();
}

void TRapport1::ComboBox3Exit() { ComboExit(ComboBox3); }
void TRapport1::ComboBox2Exit() { ComboExit(ComboBox2); }

void TRapport1::FillPeriodList() {
  ComboBox1.ClearItems();
  store::ScopedFileSet set("FRZ");
  if (!set.Ok()) {
    ShowFailure(set.Failure().text);
    return;
  }
  std::vector<std::string> labels;
  for (const auto& f : store::ReadAll<records::FreezeRec>(store::FileCode::FRZ, store::kSmallFileLimit))
    labels.push_back(f.PeriodLabel());
  set.Close();
  const records::AdminSettingsRec& s = ReportAdminSettings;
  const std::vector<std::string> items = books::reporting::PeriodListItems(labels, s.CurrentAnnualBalance(), s.CurrentPeriod());
  ComboBox1.SetItems(items);
  ComboBox1.SetText(items.front());
}

void TRapport1::FillJournalList() {
  std::vector<std::string> items{kAllItems};
  {
    store::ScopedFileSet set("JVO;FRZ");
    if (!set.Ok()) {
      ShowFailure(set.Failure().text);
    } else {
      const auto freezes = store::ReadAll<records::FreezeRec>(store::FileCode::FRZ, store::kSmallFileLimit);
      const auto vouchers = store::ReadAll<records::JournalVoucherRec>(store::FileCode::JVO);
      set.Close();
      const books::reporting::ResolvedReport r =
          books::reporting::ResolveReportPeriod("4", ComboBox1.GetText(), ReportAdminSettings, freezes);
      if (r.period) items = books::reporting::JournalListItems(vouchers, *r.period, r.OpenPeriodChosen());
    }
  }
  ComboBox2.SetItems(items);
  ComboBox2.SetText(kAllItems);
}

bool TRapport1::LayOut(const Choice& c) {
  // Thousands of pages take a while: the window repaints meanwhile (the
  // progress bar moves) and takes no other command.
  ui::LongWork work;
  const char kind = c.report[0];
  books::reporting::ReportRunRequest rq;
  rq.kind = kind;
  rq.periodText = c.period;
  rq.journal = kind == '4' ? c.journal : std::string(kAllItems);
  rq.settings = ReportAdminSettings;
  rq.system = store::SystemParams;
  rq.decimals = text::SystemSettings.AmountDecimals;
  rq.today = Today();
  rq.time = TimeText();
  rq.balance = balance_ ? &*balance_ : nullptr;
  if (kind == '3') {
    if (c.account == kAllItems) {
      rq.cardAccounts = accounts_;
      ProgressBar1.SetPosition(0);
      ProgressBar1.SetVisible(accounts_.size() > 1);
      rq.progress = [this](int p) { ProgressBar1.SetPosition(p); };
    } else {
      rq.cardAccounts = {AccountOfItem(c.account)};
    }
    const books::reporting::CardAccount shown = AccountOfItem(c.account);
    rq.accountNumber = shown.number;
    rq.accountName = shown.name;
  }
  books::reporting::ReportRunResult run = RunReport(rq);
  ProgressBar1.SetVisible(false);
  if (!run.report) {
    ShowFailure(run.error);
    return false;
  }
  if (!run.report->status.empty()) StatusBar1.Show(run.report->status, ui::colors::Yellow);
  ShowReport(std::move(*run.report));
  return true;
}

void TRapport1::ShowReport(books::reporting::BuiltReport report) {
  report_ = std::move(report);
  RichEdit1.LoadRtf(ReportRtf(*report_));
  StringGrid1.SetVisible(false);
  RichEdit1.SetVisible(true);
  EnableAfterLayout(true);
}

void TRapport1::ShowGrid(const books::closing::BalanceResult& r) {
  const int rows = std::max<int>(555, static_cast<int>(r.grid.size()));
  StringGrid1.SetRowCount(rows);
  for (int row = 0; row < rows; ++row)
    for (int col = 0; col < 8; ++col)
      StringGrid1.SetCell(col, row,
                          static_cast<std::size_t>(row) < r.grid.size()
                              ? r.grid[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]
                              : std::string());
  RichEdit1.SetVisible(false);
  StringGrid1.SetVisible(true);
}

void TRapport1::genereerrapportExecute() {
  StatusBar1.Show({}, ui::colors::Default);
  RichEdit1.Clear();
  ChoiceChanged();
  if (ComboBox4.GetText().empty() || ComboBox1.GetText().empty()) {
    ui::ShowMessage(kComboEmptyText);
    return;
  }
  Choice c{ComboBox4.GetText(), ComboBox1.GetText(), ComboBox3.GetText(), ComboBox2.GetText()};
  ReportKind = c.report[0];
  generated_.reset();
  Afdrukvoorbeeld.SetEnabled(false);
  freezeperiode.SetEnabled(false);
  EnableAfterLayout(false);
  balance_.reset();
  if (ReportKind == '1' || ReportKind == '2') {
    books::closing::BalanceRequest rq;
    rq.kind = ReportKind;
    rq.periodText = c.period;
    rq.settings = ReportAdminSettings;
    rq.texts = GridTexts();
    books::closing::BalanceGridRun run = ComputeBalanceGrid(rq);
    if (run.openFailure) {
      ShowFailure(run.openFailure->text);
      return;
    }
    balance_ = std::move(run.result);
    ShowGrid(*balance_);
    if (!balance_->error.empty()) {
      StatusBar1.Show(balance_->error, ui::colors::Red);
      return;
    }
    generated_ = c;
    Afdrukvoorbeeld.SetEnabled(true);
    freezeperiode.SetEnabled(ReportKind == '2' && balance_->freezeAllowed);
    return;
  }
  if (ReportKind < '3' || ReportKind > '6') {
    ui::ShowMessage(kComboEmptyText);
    return;
  }
  if (LayOut(c)) generated_ = c;
}

void TRapport1::AfdrukvoorbeeldExecute() {
  if (!generated_ || !balance_) return;
  // The preview lays out what the generate computed, with its own choice.
  ComboBox4.SetText(generated_->report);
  LayOut(*generated_);
}

namespace {

// The path with ".rtf" added when its name has no extension.
std::string DefaultExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".rtf";
  return path;
}

}  // namespace

void TRapport1::saveasExecute() {
  if (!report_ || !generated_) return;
  ui::FileDialogOptions o;
  o.filters = {kRtfFilter};
  o.defaultExtension = "rtf";
  const std::optional<std::string> chosen = ui::GetBackend().SaveFileDialog(o);
  if (!chosen) return;
  const std::string path = DefaultExtension(*chosen);
  if (platform::Fs().Exists(path) &&
      ui::MessageDlg(kOverwriteText, ui::DialogKind::Confirmation, ui::Buttons::YesNoCancel) != ui::ModalResult::Yes)
    return;
  ui::LongWork work;
  const std::string error = books::reporting::WriteReportFile(path, books::reporting::SaveReportRtf(*report_));
  if (!error.empty()) ui::ShowMessage(cp1252::FromUtf8(path) + "  " + error);
}

void TRapport1::AfdrukkenExecute() {
  if (!generated_) return;
  ui::LongWork work;
  if ((generated_->report[0] == '1' || generated_->report[0] == '2') && !LayOut(*generated_)) return;
  if (!report_) return;
  ui::PrintJob job;
  job.title = Caption();
  job.orientation = books::reporting::IsLandscapeKind(report_->kind) ? ui::PageOrientation::Landscape : ui::PageOrientation::Portrait;
  // The report's own lines, so that every page marker cuts a page.
  job.document = ui::ReadRtf(books::reporting::ReportRtf(*report_));
  job.marginLeft = books::reporting::kMarginLeft;
  job.marginRight = books::reporting::kMarginRight;
  job.marginTop = books::reporting::kMarginTop;
  job.marginBottom = books::reporting::kMarginBottom;
  ui::Printer().Print(job);
}

void TRapport1::selectallExecute() { RichEdit1.SelectAll(); }

void TRapport1::copytoclipboardExecute() { RichEdit1.CopyToClipboard(); }

books::closing::BalanceTexts TRapport1::GridTexts() { return books::closing::BalanceTextsOf(text::CurrentLanguage); }

void TRapport1::freezeperiodeExecute() {
  // Only over a balance sheet generated for the current choice.
  if (!generated_ || !balance_ || !freezeperiode.Enabled()) return;
  // The period computed is the one asked about and frozen: the open one.
  const std::string& label = generated_->period;
  if (ui::MessageDlg(books::closing::FreezeQuestion(label), ui::DialogKind::Confirmation, ui::Buttons::YesNo) !=
      ui::ModalResult::Yes)
    return;
  const books::closing::FreezeRun run = FreezeOpenPeriod(ReportAdminSettings, GridTexts(), label);
  switch (run.outcome) {
    case books::closing::FreezeOutcome::Done:
      break;
    case books::closing::FreezeOutcome::FileSetFailed:
      formkit::ReportFileSetError(run.failure, formkit::FileSetReport::TextOnly);
      return;
    case books::closing::FreezeOutcome::UnbookedDocuments:
      // Invoices and payments each have their own message.
      for (const std::string& m : run.messages) ui::ShowMessage(m);
      return;
    case books::closing::FreezeOutcome::SettingsChanged:
    case books::closing::FreezeOutcome::BadFiscalYear:
    case books::closing::FreezeOutcome::NotPermitted:
    case books::closing::FreezeOutcome::SystemVoucherExists:
    case books::closing::FreezeOutcome::Stopped:
    case books::closing::FreezeOutcome::DamagedFile:
      if (!run.messages.empty()) ui::ShowMessage(run.messages.front());
      return;
  }
  ReportAdminSettings = run.settings;
  FreezeClosedYear = run.FreezeClosedYear;
  FreezeLabel = run.FreezeLabel;
  FreezeProfitText = run.FreezeProfitText;
  ReportTransferAccountNumber = run.ReportTransferAccountNumber;
  ReportTransferAccountCaption = run.ReportTransferAccountCaption;
  ReportProfitText = run.ReportProfitText;
  ReportProfitAccountNumber = run.ReportProfitAccountNumber;
  ReportProfitAccountCaption = run.ReportProfitAccountCaption;
  ReportPeriodEnd = run.ReportPeriodEnd;
  FillPeriodList();
  freezeperiode.SetEnabled(false);
  Close();
}

void TRapport1::SluitenExecute() { Close(); }

void TRapport1::FormKeyPress(char& key) {
  if (key != 27) return;
  key = 0;
  Close();
}

void TRapport1::FormKeyDown(uint16_t& key, unsigned) {
  if (key != ui::keys::F1) return;
  key = 0;
  formkit::ShowHelpFrom(*this, "<RAP00>", RapportHelpCaptions);
}

}  // namespace reports
