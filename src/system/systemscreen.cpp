#include "system/systemscreen.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/filesystem.h"
#include "platform/numberformat.h"
#include "platform/oserror.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "formkit/filesetscope.h"
#include "formkit/helpmenu.h"
#include "formkit/rowlist.h"
#include "store/languageload.h"
#include "text/languagefile.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "store/startfilecheck.h"
#include "ui/application.h"

namespace systemforms {

using text::BuiltInText;
using text::L;

bool RateInputSkip = false;
formkit::HelpCaptionBlockRec SystemschermHelpCaptionBlock;
Tsystemscherm* systemscherm = nullptr;

namespace {

// The English of the unit's own messages, which the language file has no
// text for; ApplyLanguageTexts gives them in Dutch and German as well.
const char* const kDataFolderNotCreatedEnglish = text::BuiltInTextEnglish(text::BuiltIn::DataFolderNotCreated);
const char* const kDataFolderTooLongEnglish = text::BuiltInTextEnglish(text::BuiltIn::DataFolderTooLong);
const char* const kDataFolderNotUsableEnglish = text::BuiltInTextEnglish(text::BuiltIn::DataFolderNotUsable);
const char* const kInvalidDecimalsEnglish = text::BuiltInTextEnglish(text::BuiltIn::InvalidDecimals);
const char* const kInvalidRateEnglish = text::BuiltInTextEnglish(text::BuiltIn::InvalidRate);
const char* const kCurrencySignMissingEnglish = text::BuiltInTextEnglish(text::BuiltIn::CurrencySignMissing);

}  // namespace

std::string MsgNewsPage;
std::string MsgDataFolderNotCreated;
std::string MsgDataFolderTooLong;
std::string MsgDataFolderNotUsable;
std::string MsgInvalidDecimals;
std::string MsgInvalidRate;
std::string MsgCurrencySignMissing;

void ResetSystemSettingsState() {
  RateInputSkip = false;
  systemforms::SystemschermHelpCaptionBlock = formkit::HelpCaptionBlockRec{};
  MsgNewsPage = "Ombrelo Account calls the newspage of our website to show relevant messages";
  MsgDataFolderNotCreated = kDataFolderNotCreatedEnglish;
  MsgDataFolderTooLong = kDataFolderTooLongEnglish;
  MsgDataFolderNotUsable = kDataFolderNotUsableEnglish;
  MsgInvalidDecimals = kInvalidDecimalsEnglish;
  MsgInvalidRate = kInvalidRateEnglish;
  MsgCurrencySignMissing = kCurrencySignMissingEnglish;
}

namespace {
// The unit state starts as ResetSystemSettingsState leaves it.
const bool kUnitStateSet = (ResetSystemSettingsState(), true);
}  // namespace


namespace {

using records::SystemParamRec;

// The languages the language file carries (code page 1252).
const std::array<std::string, 4> kLanguages = {"Deutsch", "English", "Fran\xe7" "ais", "Nederlands"};
// "$", "£", "€", "¥" in code page 1252.
const std::array<std::string, 4> kCurrencySigns = {"$", "\xa3", "\x80", "\xa5"};
constexpr char kEuro = '\x80';
constexpr int kMaxDecimals = 4;
// The data folder is a string[100] in the record.
constexpr std::size_t kDataFolderRoom = SystemParamRec::kDataFolder.capacity;
// The amount the sample captions show.
constexpr double kSampleAmount = 2475.0;

// A whole number, all of the text; nullopt otherwise.
std::optional<int> WholeNumber(std::string_view s) {
  int v = 0;
  if (s.empty()) return std::nullopt;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

int ClampDecimals(int d) { return std::clamp(d, 0, kMaxDecimals); }

// A currency sign byte the amounts can show; a blank or control byte (as a
// record that never had a sign holds) is taken as the euro.
char UsableSign(char c) { return static_cast<unsigned char>(c) > ' ' ? c : kEuro; }

// The tips-and-news code of the two boxes.
std::string TipsAndNewsCode(bool tips, bool news) {
  if (tips && news) return "T";
  if (tips) return "F";
  if (news) return "U";
  return "G";
}

// An amount text without the blanks that align it in lists: the sample
// captions show the amount as one reads it ("€ 2475", "2475 €").
std::string WithoutAlignment(const std::string& s) {
  std::string r;
  for (char c : s) {
    if (c == ' ' && (r.empty() || r.back() == ' ')) continue;
    r += c;
  }
  return r;
}

void MarkInvalid(ui::Edit& e) { e.SetBackColor(ui::colors::Yellow); }
void MarkInvalid(ui::ComboBox& c) { c.SetBackColor(ui::colors::Yellow); }
template <class C>
void MarkValid(C& c) {
  if (c.BackColor() == ui::colors::Yellow) c.SetBackColor(ui::colors::Cream);
}
template <class C>
void ClearMark(C& c) {
  c.SetBackColor(ui::colors::Default);
}

}  // namespace

// --- unit routines -----------------------------------------------------------

std::optional<std::string> NextNewsDateAfter(std::string_view nextNewsDate, std::string_view today) {
  if (!text::IsValidYmd(nextNewsDate) || !text::IsValidYmd(today)) return std::nullopt;
  if (nextNewsDate >= today) return std::nullopt;
  std::string d = platform::YmdAddDays(nextNewsDate, 90);
  while (today >= d) d = platform::YmdAddDays(d, 90);
  return d;
}

std::string LanguageForInstallHint(std::string_view code) {
  if (code == "DU") return "Deutsch";
  if (code == "GB") return "English";
  if (code == "NL") return "Nederlands";
  return {};
}

std::string RateText(double rate) {
  if (!std::isfinite(rate) || rate == 0) return "0";
  // The largest double needs 309 digits before the point.
  char buf[512];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, rate, std::chars_format::fixed);
  if (ec != std::errc()) return "0";
  std::string s(buf, end);
  std::replace(s.begin(), s.end(), '.', platform::DecimalSeparator());
  return s;
}

void RefreshSystemSettings() {
  text::SystemSettings.AmountDecimals = static_cast<int16_t>(ClampDecimals(store::SystemParams.AmountDecimals()));
  text::SystemSettings.CurrencySign = UsableSign(store::SystemParams.CurrencySign());
  text::SystemSettings.CurrencyInFront = store::SystemParams.CurrencyInFront() == 'T' ? 'T' : 'F';
  text::SystemSettings.CurrentUser = store::SystemParams.CurrentUser();
}

bool CreateDataFolderPath(const std::string& folder) {
  const int code = platform::Fs().MakeFolders(cp1252::ToUtf8(folder));
  if (code == platform::kNoError) return true;
  ui::ShowMessage(MsgDataFolderNotCreated + " " + folder + "  " + platform::OsErrorText(code));
  return false;
}

bool SaveSystemSettings(Tsystemscherm& f) {
  const std::optional<Tsystemscherm::Input> in = f.CheckInput();
  if (!in) return false;

  // The new record is built aside: SystemParams changes only once it is
  // written.
  SystemParamRec rec = store::SystemParams;
  rec.SetCompanyName(f.Edit1.GetText());
  rec.SetAddress(f.Edit2.GetText());
  rec.SetZipCode(f.Edit3.GetText());
  rec.SetTown(f.Edit4.GetText());
  rec.SetCountry(f.Edit5.GetText());
  rec.SetTelephone(f.Edit6.GetText());
  rec.SetFax(f.Edit7.GetText());
  rec.SetEmail(f.Edit8.GetText());
  rec.SetWebsite(f.Edit17.GetText());
  rec.SetDataFolder(in->dataFolder);
  rec.SetLanguageName(f.ComboBox1.GetText());
  rec.SetAddressExtra(f.Edit14.GetText());
  rec.SetAmountDecimals(in->decimals);
  rec.SetCurrencySign(in->currencySign);
  rec.SetUserIdentification(f.CheckBox1.Checked());
  rec.SetPasswordProtection(f.CheckBox2.Checked());
  rec.SetAuthorisationLevels(f.CheckBox3.Checked());

  rec.SetSavedBy(rec.CurrentUser());  // cut to 10 by the field
  rec.SetSavedAt(platform::DateTimeToText(platform::Now()));
  rec.SetTipsAndNews(TipsAndNewsCode(f.CheckBox7.Checked(), f.CheckBox6.Checked()));

  for (int i = 0; i < SystemParamRec::kTaxRateCount; ++i) {
    const bool on = i < 3 ? f.CheckBox4.Checked() : f.CheckBox5.Checked();
    rec.SetTaxRateName(i, on ? f.NameEdit(i)->GetText() : std::string());
    rec.SetTaxRate(i, on ? in->rates[i] : 0.0);
  }
  rec.SetCurrencyInFront(f.RadioButton1.Checked() ? 'T' : 'F');

  store::RewriteFile(store::FileCode::SYS, std::vector<SystemParamRec>{rec});
  store::SystemParams = rec;

  f.Edit15.SetText(store::SystemParams.SavedBy());
  f.Edit16.SetText(store::SystemParams.SavedAt());
  f.Edit9.SetText(in->dataFolder);

  if (auto failure = store::LoadLanguage(store::SystemParams.LanguageName()))
    formkit::ReportFileSetError(*failure, formkit::FileSetReport::TextOnly);
  text::CurrentLanguage = text::LanguageBuffer;
  store::DataRootFolder = store::SystemParams.DataFolder();
  store::SetDataRoot(store::DataRootFolder);
  RefreshSystemSettings();
  return true;
}

// --- the form ----------------------------------------------------------------

Tsystemscherm::Tsystemscherm() : ui::Form("systemscherm", "Tsystemscherm") {
  // The first run shows the form before the language texts are applied.
  SetCaption(store::ProductTitle + " : System settings");
  width = 940;
  height = 660;

  opslaan.SetCaption("&Save");
  Annuleren.SetCaption("&Cancel");
  BrowseURL2.SetCaption("News page");
  Save1.SetAction(&opslaan);
  Button2.SetAction(&opslaan);
  Cancel1.SetAction(&Annuleren);
  Button3.SetAction(&Annuleren);
  ToolButton1.SetAction(&Annuleren);

  Label16.SetBold(true);
  Body.SetBevel(false);
  Body.hints.stretch = 1;
  LeftColumn.SetBevel(false);
  LeftColumn.hints.stretch = 1;
  RightColumn.SetBevel(false);
  RightColumn.hints.stretch = 1;
  CompanyPanel.gridColumns = 2;
  FolderPanel.gridColumns = 3;
  SavedPanel.gridColumns = 2;
  OptionsPanel.gridColumns = 2;
  SignPanel.SetBevel(false);
  SignPanel.hints.colSpan = 2;
  SignPanel.hints.newRow = true;
  RateSet1Panel.gridColumns = 4;
  RateSet2Panel.gridColumns = 4;
  ButtonPanel.SetBevel(false);
  Button2.hints.width = 100;
  Button3.hints.width = 100;
  BrowseFolderButton.hints.width = 32;
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit14, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit17, &Edit9})
    e->hints.minWidth = 260;

  // Typed lengths: the record's fields (the company name takes 50 of its
  // 100 characters).
  Edit1.SetMaxLength(50);
  Edit2.SetMaxLength(30);
  Edit14.SetMaxLength(30);
  Edit3.SetMaxLength(15);
  Edit4.SetMaxLength(30);
  Edit5.SetMaxLength(30);
  Edit6.SetMaxLength(20);
  Edit7.SetMaxLength(20);
  Edit8.SetMaxLength(30);
  Edit17.SetMaxLength(50);
  Edit9.SetMaxLength(static_cast<int>(kDataFolderRoom));
  for (int i = 0; i < SystemParamRec::kTaxRateCount; ++i) {
    NameEdit(i)->SetMaxLength(12);
    RateEdit(i)->SetMaxLength(12);
  }
  Edit15.SetReadOnly(true);
  Edit16.SetReadOnly(true);

  for (const std::string& l : kLanguages) ComboBox1.AddItem(l);
  for (int d = 0; d <= kMaxDecimals; ++d) ComboBox2.AddItem(std::to_string(d));
  for (const std::string& s : kCurrencySigns) ComboBox3.AddItem(s);
  ComboBox3.SetMaxLength(1);
  // An option the program does not offer; its value is kept.
  CheckBox3.SetVisible(false);

  SetFirstRunDefaults();

  OnCreate = [this] { FormCreate(); };
  OnActivate = [this] { FormActivate(); };
  OnKeyPress = [this](char& k) { FormKeyPress(k); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  opslaan.OnExecute = [this] { opslaanExecute(); };
  Annuleren.OnExecute = [this] { AnnulerenExecute(); };
  BrowseURL2.OnExecute = [this] { BrowseURL2Execute(); };
  CheckBox1.OnClick = [this] { CheckBox1Click(); };
  CheckBox2.OnClick = [this] { CheckBox2Click(); };
  CheckBox4.OnClick = [this] { CheckBox4Click(); };
  CheckBox5.OnClick = [this] { CheckBox5Click(); };
  for (int line = 0; line < kRateLines; ++line) RateLines[line].Rate.OnChange = [this, line] { RateChange(line); };
  ComboBox1.OnChange = [this] { ComboBox1Change(); };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  RadioButton1.OnClick = [this] { RadioButton1Click(); };
  RadioButton2.OnClick = [this] { RadioButton1Click(); };
  ComboBox2.OnChange = [this] { RadioButton1Click(); };
  ComboBox3.OnChange = [this] { RadioButton1Click(); };
  BrowseFolderButton.OnClick = [this] { Edit9Enter(); };
  formkit::BindHelpMenu(*this, systemforms::SystemschermHelpCaptionBlock,
                        {{&BrenvickSystemsettingshelp1, "<SYS00>"},
                         {&ToolButton5, "<SYS00>"},
                         {&BrenvickHelp1, ""},
                         {&utorial1, "<TUT00>"},
                         {&About1, "<ABO00>"}});
  // The home page follows the language of the settings, not the help
  // captions.
  Brenvickhomepage1.OnClick = [] {
    ui::GetBackend().OpenUrl(formkit::HomePageUrl(store::SystemParams.LanguageName()));
  };
}

void Tsystemscherm::ShowRateSet(int set, bool visible) {
  (set == 1 ? RateSet1Panel : RateSet2Panel).SetVisible(visible);
  for (int line = set == 1 ? 0 : 3, n = line + 3; line < n; ++line) {
    RateLine& l = RateLines[line];
    for (ui::Component* c : {static_cast<ui::Component*>(&l.NameLabel), static_cast<ui::Component*>(&l.Name),
                             static_cast<ui::Component*>(&l.RateLabel), static_cast<ui::Component*>(&l.Rate)})
      c->SetVisible(visible);
  }
}

void Tsystemscherm::TakeSnapshot() {
  store::fileset_detail::CheckFileSize(store::FileCode::SYS, store::kSmallFileLimit);
  snapshot_ = store::SnapshotOf(store::FileCode::SYS);
}

void Tsystemscherm::Reload() {
  formkit::FileSetScope scope("SYS", formkit::FileSetReport::TextOnly);
  if (!scope.Ok()) return;
  TakeSnapshot();
  if (store::RecordCount(store::FileCode::SYS) == 0) return;
  const std::string currentUser = store::SystemParams.CurrentUser();
  store::ReadRecord(store::FileCode::SYS, 0, store::SystemParams);
  store::SystemParams.SetCurrentUser(currentUser);
  scope.Close();
  const std::string folder = store::FolderFromStored(store::SystemParams.DataFolder());
  FillFromParams(store::SystemParams.LanguageName(), folder.empty() ? store::WorkingFolder() + "data/" : folder);
}

void Tsystemscherm::SetRateEdit(ui::Edit& e, const std::string& text) {
  RateInputSkip = true;
  e.SetText(text);
  RateInputSkip = false;
}

// A language the box does not offer is shown as English, the language the
// language file falls back to.
void Tsystemscherm::SelectLanguage(const std::string& language) {
  int i = ComboBox1.IndexOf(language);
  if (i < 0) i = ComboBox1.IndexOf(std::string(text::kFallbackLanguageName));
  ComboBox1.SetItemIndex(i);
}

// The values a new installation starts with: English, two decimals, the
// euro sign before the amount, tips and the news page on; no user
// identification, no password, no sales-tax rates, no company data.
void Tsystemscherm::SetFirstRunDefaults() {
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit14, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit17, &Edit9,
                      &Edit15, &Edit16})
    e->SetText("");
  SelectLanguage("English");
  ComboBox2.SetText("2");
  ComboBox3.SetText(std::string(1, kEuro));
  RadioButton1.SetChecked(true);
  CheckBox1.SetChecked(false);
  CheckBox2.SetChecked(false);
  CheckBox3.SetChecked(false);
  CheckBox2.SetVisible(false);
  CheckBox6.SetChecked(true);
  CheckBox7.SetChecked(true);
  CheckBox4.SetChecked(false);
  CheckBox5.SetChecked(false);
  for (int i = 0; i < SystemParamRec::kTaxRateCount; ++i) {
    NameEdit(i)->SetText("");
    SetRateEdit(*RateEdit(i), "");
  }
  ShowRateSet(1, false);
  ShowRateSet(2, false);
  RadioButton1Click();
}

void Tsystemscherm::FillFromParams(const std::string& language, const std::string& dataFolder) {
  const SystemParamRec& p = store::SystemParams;
  Edit1.SetText(p.CompanyName());
  Edit2.SetText(p.Address());
  Edit3.SetText(p.ZipCode());
  Edit4.SetText(p.Town());
  Edit5.SetText(p.Country());
  Edit6.SetText(p.Telephone());
  Edit7.SetText(p.Fax());
  Edit8.SetText(p.Email());
  Edit17.SetText(p.Website());
  SelectLanguage(language);
  Edit9.SetText(dataFolder);

  ComboBox2.SetText(std::to_string(ClampDecimals(p.AmountDecimals())));
  ComboBox3.SetText(std::string(1, UsableSign(p.CurrencySign())));
  Edit14.SetText(p.AddressExtra());

  bool setOn[2] = {false, false};
  for (int i = 0; i < SystemParamRec::kTaxRateCount; ++i) {
    if (!p.TaxRateName(i).empty()) setOn[i / 3] = true;
    NameEdit(i)->SetText(p.TaxRateName(i));
    SetRateEdit(*RateEdit(i), RateText(p.TaxRate(i)));
  }
  CheckBox4.SetChecked(setOn[0]);
  CheckBox5.SetChecked(setOn[1]);
  ShowRateSet(1, setOn[0]);
  ShowRateSet(2, setOn[1]);

  // A password needs a user id: without user identification the password
  // box is off and hidden, whatever the record says.
  CheckBox1.SetChecked(p.UserIdentification());
  CheckBox2.SetChecked(p.UserIdentification() && p.PasswordProtection());
  CheckBox2.SetVisible(p.UserIdentification());
  CheckBox3.SetChecked(p.AuthorisationLevels());
  CheckBox3.SetVisible(false);

  if (p.CurrencyInFront() == 'T')
    RadioButton1.SetChecked(true);
  else
    RadioButton2.SetChecked(true);

  const std::string tn = p.TipsAndNews();
  CheckBox6.SetChecked(tn == "T" || tn == "U");
  CheckBox7.SetChecked(tn == "T" || tn == "F");

  Edit15.SetText(p.SavedBy());
  Edit16.SetText(p.SavedAt());
  RadioButton1Click();
}

void Tsystemscherm::FormCreate() {
  FirstRun = false;
  formkit::FileSetScope scope("SYS;LAN;INS", formkit::FileSetReport::TextOnly);
  if (!scope.Ok()) return;

  const std::string today = text::DateToYmd(platform::Date());
  bool toSave = false;

  // The installer's hint presets the language once; the file then holds
  // "XX". It is also applied on the first run, so that the first showing of
  // the form already offers the installer's language and a second creation
  // after the first save keeps what the user chose.
  std::string hint = "XX";
  if (store::RecordCount(store::FileCode::INS) > 0) {
    records::InstallHintRec h;
    store::ReadRecord(store::FileCode::INS, 0, h);
    hint = h.LanguageCode();
  }
  const std::string hintLanguage = LanguageForInstallHint(hint);

  if (store::RecordCount(store::FileCode::SYS) == 0) {
    // Bytes but no whole record: a damaged file, never a first run.
    store::RefuseTornStartFile(store::FileCode::SYS);
    FirstRun = true;
    store::SystemParams.Clear();
    SetFirstRunDefaults();
    if (!hintLanguage.empty()) SelectLanguage(hintLanguage);
    Edit9.SetText(store::WorkingFolder() + "data/");
    store::SystemParams.SetNextNewsDate(today);
    toSave = true;
  } else {
    store::ReadRecord(store::FileCode::SYS, 0, store::SystemParams);
    SelectLanguage(hintLanguage.empty() ? store::SystemParams.LanguageName() : hintLanguage);
    store::SystemParams.SetLanguageName(ComboBox1.GetText());
    const std::string stored = store::SystemParams.DataFolder();
    if (stored.empty()) {
      store::SystemParams.SetNextNewsDate(today);
      toSave = true;
    }
    // A folder stored on another system ("C:\books\data\") names nothing
    // here: the default is shown, as for no folder.
    const std::string folder = store::FolderFromStored(stored);
    FillFromParams(ComboBox1.GetText(), folder.empty() ? store::WorkingFolder() + "data/" : folder);
  }
  store::DataRootFolder = Edit9.GetText();

  records::InstallHintRec xx;
  xx.SetLanguageCode("XX");
  if (hint != "XX" || store::RecordCount(store::FileCode::INS) != 1)
    store::RewriteFile(store::FileCode::INS, std::vector<records::InstallHintRec>{xx});

  // The news page. A date that is no valid "YYYYMMDD" (or none) counts as
  // today. Opening the page is only a request to the desktop's browser: it
  // neither waits for nor needs the network.
  if (!text::IsValidYmd(store::SystemParams.NextNewsDate())) store::SystemParams.SetNextNewsDate(today);
  const std::string tn = store::SystemParams.TipsAndNews();
  if (tn == "T" || tn == "U") {
    if (std::optional<std::string> next = NextNewsDateAfter(store::SystemParams.NextNewsDate(), today)) {
      store::SystemParams.SetNextNewsDate(*next);
      toSave = true;
      ui::ShowMessage(MsgNewsPage);
      BrowseURL2URL = formkit::NewsPageUrl(store::SystemParams.LanguageName());
      BrowseURL2.Execute();
    }
  }

  RefreshSystemSettings();
  if (toSave) SaveSystemSettings(*this);
  TakeSnapshot();

  if (auto failure = store::LoadLanguage(ComboBox1.GetText()))
    formkit::ReportFileSetError(*failure, formkit::FileSetReport::TextOnly);
  text::CurrentLanguage = text::LanguageBuffer;
}

// Each showing reads the file again: what another copy saved meanwhile is
// shown, and a Save compares the file with what was read now.
void Tsystemscherm::FormActivate() {
  RateInputSkip = false;
  Reload();
  CheckBox4Click();
  CheckBox5Click();
}

void Tsystemscherm::FormKeyPress(char& key) {
  if (key == static_cast<char>(ui::keys::Escape)) {
    key = 0;
    AnnulerenExecute();
  }
}

void Tsystemscherm::FormKeyDown(uint16_t& key, unsigned shift) {
  if (key == ui::keys::F1) {
    key = 0;
    formkit::ShowHelpFrom(*this, "<SYS00>", systemforms::SystemschermHelpCaptionBlock);
  }
}

std::optional<Tsystemscherm::Input> Tsystemscherm::CheckInput() {
  Input in;
  std::string message;
  auto fail = [&message](const std::string& m) {
    if (message.empty()) message = m;
  };

  const std::optional<int> decimals = WholeNumber(ComboBox2.GetText());
  if (!decimals || *decimals < 0 || *decimals > kMaxDecimals) {
    MarkInvalid(ComboBox2);
    fail(MsgInvalidDecimals);
  } else {
    in.decimals = static_cast<std::int16_t>(*decimals);
    MarkValid(ComboBox2);
  }

  const std::string sign = ComboBox3.GetText();
  if (sign.empty() || static_cast<unsigned char>(sign[0]) <= ' ') {
    MarkInvalid(ComboBox3);
    fail(MsgCurrencySignMissing);
  } else {
    in.currencySign = sign[0];
    MarkValid(ComboBox3);
  }

  for (int i = 0; i < SystemParamRec::kTaxRateCount; ++i) {
    const bool on = i < 3 ? CheckBox4.Checked() : CheckBox5.Checked();
    ui::Edit& e = *RateEdit(i);
    if (!on) continue;
    const std::optional<double> r = text::TryParseAmount(e.GetText());
    if (!r || !std::isfinite(*r)) {
      MarkInvalid(e);
      fail(MsgInvalidRate + " " + e.GetText());
    } else {
      in.rates[i] = *r;
      MarkValid(e);
    }
  }

  // An empty folder is the default below the working folder.
  std::string folder = Edit9.GetText();
  while (!folder.empty() && folder.back() == ' ') folder.pop_back();
  while (!folder.empty() && folder.front() == ' ') folder.erase(0, 1);
  in.dataFolder = folder.empty() ? store::WorkingFolder() + "data/" : store::FolderFromStored(folder);
  if (in.dataFolder.empty()) {
    // A drive letter names no folder on this system.
    MarkInvalid(Edit9);
    fail(MsgDataFolderNotUsable);
  } else if (in.dataFolder.size() > kDataFolderRoom) {
    MarkInvalid(Edit9);
    fail(MsgDataFolderTooLong);
  } else {
    MarkValid(Edit9);
  }

  if (!message.empty()) {
    StatusBar1.Show(message, ui::colors::Red);
    return std::nullopt;
  }
  return in;
}

// Saving: the input is checked, the data folder created, and only then the
// record written; a refusal at any step leaves the record and the form as
// they were.
void Tsystemscherm::opslaanExecute() {
  const std::optional<Input> in = CheckInput();
  if (!in) return;
  if (!CreateDataFolderPath(in->dataFolder)) return;
  {
    formkit::FileSetScope scope("SYS;LAN;", formkit::FileSetReport::TextOnly);
    if (!scope.Ok()) return;
    // Under the Save's own set (its lock): the file must still hold what
    // the form read, or another copy's settings would be overwritten.
    if (store::SnapshotOf(store::FileCode::SYS) != snapshot_) {
      ui::ShowMessage(text::MsgChangedInAnotherCopy());
      return;
    }
    if (!SaveSystemSettings(*this)) return;
    TakeSnapshot();
  }
  // The start screen's tips panel saves through here while the form is not
  // shown.
  if (Showing()) Close();
}

void Tsystemscherm::AnnulerenExecute() {
  FillFromParams(store::SystemParams.LanguageName(), store::DataRootFolder);
  ClearMark(Edit9);
  for (RateLine& line : RateLines) ClearMark(line.Rate);
  ClearMark(ComboBox2);
  ClearMark(ComboBox3);
  if (Showing()) Close();
}

void Tsystemscherm::CheckBox1Click() {
  if (!CheckBox1.Checked()) {
    CheckBox2.SetVisible(false);
    CheckBox2.SetChecked(false);
    CheckBox3.SetVisible(false);
    CheckBox3.SetChecked(false);
  } else {
    CheckBox2.SetVisible(true);
  }
}

void Tsystemscherm::CheckBox2Click() { CheckBox3.SetVisible(false); }

void Tsystemscherm::CheckBox4Click() { ShowRateSet(1, CheckBox4.Checked()); }

void Tsystemscherm::CheckBox5Click() { ShowRateSet(2, CheckBox5.Checked()); }

void Tsystemscherm::RateChange(int line) {
  if (RateInputSkip) return;
  ui::Edit& rate = RateLines[line].Rate;
  std::string s = rate.GetText();
  text::FilterAmountInput(s, RateInputSkip);
  RateInputSkip = false;
  rate.SetText(s);
}

void Tsystemscherm::ComboBox1Change() {
  if (ComboBox1.IndexOf(ComboBox1.GetText()) < 0) ComboBox1.SetItemIndex(0);
}

void Tsystemscherm::ComboBox1Exit() {
  if (ComboBox1.IndexOfIgnoringCase(ComboBox1.GetText()) < 0) ComboBox1.SetText("");
}

// The sample amounts in the captions of the two position buttons, with the
// decimals and the sign the boxes hold. The amount routines read the sign
// and its position from SystemSettings, which is restored afterwards.
void Tsystemscherm::RadioButton1Click() {
  const text::SystemSettingsRec saved = text::SystemSettings;
  struct Restore {
    const text::SystemSettingsRec& s;
    ~Restore() { text::SystemSettings = s; }
  } restore{saved};

  const std::optional<int> d = WholeNumber(ComboBox2.GetText());
  const int decimals = d ? ClampDecimals(*d) : text::SystemSettings.AmountDecimals;
  const std::string sign = ComboBox3.GetText();
  text::SystemSettings.CurrencySign = UsableSign(sign.empty() ? saved.CurrencySign : sign[0]);
  text::SystemSettings.CurrencyInFront = 'T';
  RadioButton1.SetCaption(WithoutAlignment(text::FormatAmount(kSampleAmount, decimals, 'N')));
  text::SystemSettings.CurrencyInFront = 'F';
  RadioButton2.SetCaption(" " + WithoutAlignment(text::FormatAmount(kSampleAmount, decimals, 'N')));
}

// The data-folder picker: a folder dialog that starts in the current data
// folder; the edit gets the chosen folder, ending in "/", and keeps its text
// when the dialog is cancelled.
void Tsystemscherm::Edit9Enter() {
  const std::string title = Label16.Caption() + "/" + Label9.Caption();
  std::string start = Edit9.GetText().empty() ? store::DataRootFolder : store::FolderFromStored(Edit9.GetText());
  const std::optional<std::string> chosen = ui::GetBackend().SelectFolder(title, cp1252::ToUtf8(start));
  if (chosen && !chosen->empty()) {
    std::string folder = cp1252::FromUtf8(*chosen);
    if (cp1252::ToUtf8(folder) != *chosen) {
      // The records hold folders in code page 1252: a name outside it would
      // become another folder.
      StatusBar1.Show(MsgDataFolderNotUsable, ui::colors::Red);
      Edit17.SetFocus();
      return;
    }
    if (folder.back() != '/') folder += '/';
    Edit9.SetText(folder);
  }
  Edit17.SetFocus();
}

void Tsystemscherm::BrowseURL2Execute() {
  if (!BrowseURL2URL.empty()) ui::GetBackend().OpenUrl(BrowseURL2URL);
}

void Tsystemscherm::ApplyLanguageTexts() {
  SetCaption(store::ProductTitle + " : " + L(1110) + " / " + L(1133));
  Label16.SetCaption(text::Cut(" " + L(1133), 26));
  Label1.SetCaption(L(1357));
  Label2.SetCaption(L(1372));
  Label3.SetCaption(L(1383));
  Label4.SetCaption(L(1400));
  Label15.SetCaption(L(1421));
  Label5.SetCaption(L(1432));
  Label6.SetCaption(L(1443));
  Label7.SetCaption(L(1456));
  Label8.SetCaption(L(1467));
  Label9.SetCaption(L(1478));
  Label12.SetCaption(L(1535));
  Label13.SetCaption(L(1569));
  Label18.SetCaption(L(1601));
  for (RateLine& line : RateLines) {
    line.NameLabel.SetCaption(L(1642));
    line.RateLabel.SetCaption(L(1651));
  }
  CheckBox4.SetCaption(L(1666));
  CheckBox5.SetCaption(L(1691));
  CheckBox1.SetCaption(L(1716));
  CheckBox2.SetCaption(L(1744));
  CheckBox3.SetCaption(L(1780));
  BrenvickSystemsettingshelp1.SetCaption(L(1808));
  CheckBox7.SetCaption(L(1844));
  CheckBox6.SetCaption(L(1880));
  Label31.SetCaption(L(1926));

  File1.SetCaption(L(21));
  opslaan.SetCaption(L(54));  // Save1 and Button2
  Edit13.SetCaption(L(247));
  Help1.SetCaption(L(284));
  About1.SetCaption(L(295));
  Annuleren.SetCaption(L(306));  // Cancel1, Button3 and ToolButton1
  Brenvickhomepage1.SetCaption(L(486));
  BrenvickHelp1.SetCaption(L(514));
  utorial1.SetCaption(text::TutorialCaption());

  // Texts the language file has no field for.
  Label10.SetCaption(BuiltInText(text::BuiltIn::Website));
  Label11.SetCaption(BuiltInText(text::BuiltIn::SavedBy));
  Label14.SetCaption(BuiltInText(text::BuiltIn::SavedAt));
  BrowseURL2.SetCaption(BuiltInText(text::BuiltIn::NewsPage));

  // The messages of the program's own checks.
  MsgDataFolderNotCreated = BuiltInText(text::BuiltIn::DataFolderNotCreated);
  MsgDataFolderTooLong = BuiltInText(text::BuiltIn::DataFolderTooLong);
  MsgDataFolderNotUsable = BuiltInText(text::BuiltIn::DataFolderNotUsable);
  MsgInvalidDecimals = BuiltInText(text::BuiltIn::InvalidDecimals);
  MsgInvalidRate =
      BuiltInText(text::BuiltIn::InvalidRate);
  MsgCurrencySignMissing = BuiltInText(text::BuiltIn::CurrencySignMissing);
}

}  // namespace systemforms
