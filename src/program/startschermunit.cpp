#include "program/startschermunit.h"

#include <algorithm>
#include <exception>
#include <random>
#include <utility>

#include "journal/boekingstuk.h"
#include "masterdata/Administrationsunit.h"
#include "books/administration/admincopy.h"
#include "masterdata/Ledgerunit.h"
#include "masterdata/adminsettings.h"
#include "store/adminsettingsload.h"
#include "masterdata/ledgercatunit.h"
#include "masterdata/unitpartners.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "reports/Rapport1unit.h"
#include "books/closing/closingintent.h"
#include "books/closing/periodclosing.h"
#include "reports/impexp.h"
#include "text/builtintext.h"
#include "store/dataconversion.h"
#include "store/fileset.h"
#include "formkit/filesetscope.h"
#include "text/languagefile.h"
#include "program/languageroutine.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "system/systemscreen.h"
#include "text/textroutines.h"
#include "system/userunit.h"
#include "formkit/website.h"
#include "ui/application.h"

namespace program {

using text::BuiltInText;
using text::L;

bool RightEndUser = true, RightEndUserManager = true, RightSystemAdministrator = true;
bool SavedRightEndUser = false, SavedRightEndUserManager = false;
bool AdministrationOnlyLogin = false;
bool LoginDone = false;
records::UserRec CurrentUserRec;
std::array<std::string, 5> TipTexts;
std::int32_t TipIndex = 0;
std::int32_t TipLimit = 2;
platform::TDateTime FarEndDate = 0;
formkit::HelpCaptionBlockRec MasterHelpCaptionBlock;
std::string StartschermLanguageName;
TStartscherm* Startscherm = nullptr;

// The texts the language file has no field for: ApplyLanguageTexts gives
// them in Dutch and German as well.
namespace {
constexpr const char* kLoginFailedEnglish = "Log-in failed: check user id, password and administration";
constexpr const char* kNewPasswordsDifferEnglish = "The two passwords are not identical";
const char* const kMinimalSixCharactersEnglish = text::BuiltInTextEnglish(text::BuiltIn::MinimalSixCharacters);
const char* const kPasswordsNotIdenticalEnglish = text::BuiltInTextEnglish(text::BuiltIn::PasswordsNotIdentical);
const char* const kFirstInsertSystemSettingsEnglish =
    text::BuiltInTextEnglish(text::BuiltIn::FirstInsertSystemSettings);
// Longer passwords cannot be typed; the change refuses them all the same.
const char* const kMaximalTwelveCharactersEnglish = text::BuiltInTextEnglish(text::BuiltIn::MaximalTwelveCharacters);
}  // namespace
std::string MsgLoginFailed = kLoginFailedEnglish;
std::string MsgNewPasswordsDiffer = kNewPasswordsDifferEnglish;
std::string MsgMinimalSixCharacters = kMinimalSixCharactersEnglish;
std::string MsgPasswordsNotIdentical = kPasswordsNotIdenticalEnglish;
std::string MsgFirstInsertSystemSettings = kFirstInsertSystemSettingsEnglish;
std::string MsgMaximalTwelveCharacters = kMaximalTwelveCharactersEnglish;

namespace {

// The files of an administration; opening them once creates the missing
// ones.
constexpr const char* kAdministrationFiles = "ADS;FLG;INV;PAY;ADM;CUS;SUP;JVO;GLA;GLC;FRZ";
constexpr const char* kUnknownUser = "UNKNOWN";
constexpr std::size_t kMinPasswordLength = 6, kMaxPasswordLength = 12;
constexpr int kFirstTipChoices = 4;


// The administration box compares the letters a to z without their case.
char UpperAZ(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool EqualsAZIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperAZ(a[i]) != UpperAZ(b[i])) return false;
  return true;
}

RandomSource& Source() {
  static RandomSource source;
  return source;
}

// Ends whatever file set is still open, every level of it.
void EndOpenFileSet() {
  while (store::FileSetOpen) store::CloseFileSet();
}

// Opens the files a function form reads when it is shown; its activation
// closes them. False, after the message box, when they cannot be opened.
bool OpenFilesForForm(const std::string& list, formkit::FileSetReport report = formkit::FileSetReport::TextAndOsText) {
  int result = 0;
  store::OpenFileSet(list, result);
  if (result == 0) return true;
  formkit::ReportFileSetError(report);
  return false;
}

// The short name and name of row `row` (1-based) of the administrations
// form's list; false for a row the list does not hold.
bool AdministrationAt(int row, std::string& shortName, std::string& name) {
  masterdata::TAdministrations* a = masterdata::Administrations;
  if (!a || row < 1 || row > a->AdministrationCount) return false;
  shortName = a->StringGrid1.Cell(masterdata::TAdministrations::ColShortName, row);
  name = a->StringGrid1.Cell(masterdata::TAdministrations::ColName, row);
  return true;
}

// The settings form shows the periods of the administration just loaded.
void UpdatePeriodControls() { masterdata::UpdatePeriodControls(); }

}  // namespace

std::string DataConversionText(const std::string& name, const std::string& code, const std::string& folder,
                               const store::ConversionOutcome& outcome) {
  const std::string which = "\"" + name + "\" (" + code + ")";
  using Outcome = store::ConversionOutcome;
  // The files converted before a failure are named too: their backups are
  // there all the same.
  std::string done;
  if (!outcome.converted.empty()) {
    std::string files;
    for (const store::ConvertedFile& f : outcome.converted) {
      if (!files.empty()) files += ", ";
      // A partial last record was left out of the new file; the backup
      // keeps it.
      files += f.partialBytes > 0 ? BuiltInText(text::BuiltIn::ConvertedFilePartial,
                                                {f.fileName, f.backupName, std::to_string(f.partialBytes)})
                                  : BuiltInText(text::BuiltIn::ConvertedFile, {f.fileName, f.backupName});
    }
    done = BuiltInText(text::BuiltIn::DataFilesConverted, {which, files, folder});
  }
  if (outcome.Ok()) return done;
  const std::string file = "\"" + outcome.fileName + "\"";
  const std::string backup = "\"" + outcome.backupName + "\"";
  std::string why;
  switch (outcome.failure) {
    case Outcome::BackupDiffers:
      why = BuiltInText(text::BuiltIn::ConversionBackupDiffers, {backup, file});
      break;
    case Outcome::LayoutUndecided: {
      // Every way the size fits, "14 records of 176 bytes".
      std::string ways;
      for (const store::LayoutReading& r : outcome.readings) {
        if (!ways.empty()) ways += BuiltInText(text::BuiltIn::ConversionLayoutOr);
        ways += BuiltInText(r.current ? text::BuiltIn::ConversionLayoutCurrent : text::BuiltIn::ConversionLayoutOlder,
                            {std::to_string(r.records), std::to_string(r.recordSize)});
      }
      why = BuiltInText(text::BuiltIn::ConversionLayoutUndecided, {file, ways});
      break;
    }
    default:
      why = BuiltInText(text::BuiltIn::ConversionFailed, {file, outcome.errorText});
      break;
  }
  return (done.empty() ? "" : done + " ") + BuiltInText(text::BuiltIn::DataFilesNotConverted, {which, why});
}

void ResetStartscreenState() {
  RightEndUser = RightEndUserManager = RightSystemAdministrator = true;
  SavedRightEndUser = SavedRightEndUserManager = false;
  AdministrationOnlyLogin = false;
  LoginDone = false;
  CurrentUserRec.Clear();
  TipTexts = {};
  TipIndex = 0;
  TipLimit = 2;
  FarEndDate = 0;
  program::MasterHelpCaptionBlock = {};
  StartschermLanguageName.clear();
  MsgLoginFailed = kLoginFailedEnglish;
  MsgNewPasswordsDiffer = kNewPasswordsDifferEnglish;
  MsgMinimalSixCharacters = kMinimalSixCharactersEnglish;
  MsgPasswordsNotIdentical = kPasswordsNotIdenticalEnglish;
  MsgFirstInsertSystemSettings = kFirstInsertSystemSettingsEnglish;
  MsgMaximalTwelveCharacters = kMaximalTwelveCharactersEnglish;
  Source() = {};
}

void SetRandomSource(RandomSource source) { Source() = std::move(source); }

int RandomNumber(int n) {
  if (n <= 1) return 0;
  if (Source()) return std::clamp(Source()(n), 0, n - 1);
  static std::mt19937 generator{std::random_device{}()};
  return std::uniform_int_distribution<int>(0, n - 1)(generator);
}

std::array<std::string, 5> TipsForLanguage(const std::string& languageName) {
  using cp1252::L;
  if (languageName == "Nederlands")
    return {L("Ombrelo Account laat precies 1 window zien. Er kunnen meerdere versies van Ombrelo Account tegelijk "
              "actief zijn. Opgeslagen wijzigingen zijn beschikbaar voor andere versies."),
            L("Ombrelo Account snel en efficient gebruiken, lees dan de helptekst over de sneltoesten."),
            L("Voor vragen mail dan onze gratis email helpdesk."),
            L("Met copy paste kunt U berekeningen van uw calculator overnemen!"),
            L("Het programmamenu bevat een printbare versie van de handleiding.")};
  if (languageName == "Deutsch")
    return {L("Ombrelo Account zeigt genau 1 Fenster. Gleichzeitig mehrere Versionen des Programms auf Ihrem "
              "Computer aktiv ist möglich. Gespeicherte Änderungen sind für andere Versionen verfügbar."),
            L("Ombrelo Account schnell und effizient nutzen, lesen Sie bitte die Hilfe-Text auf der "
              "Tastatur-Shortcut."),
            L("Für Fragen Mail unseren kostenlosen E-Mail-Support."),
            L("Startup Ihren Rechner und benutzen Sie die Verwendung Kopieren / Einfügen-Funktionalität. Die "
              "Beträge sind im Durchschnitt nicht abgeschnitten!"),
            L("Das Programm beinhaltet eine druckbare Version des Handbuchs.")};
  return {L("Ombrelo Account shows exactly one form or window. You can startup Ombrelo Account more than once and "
            "create an multisession. Saved changes are available in the other sessions."),
          L("Use Ombrelo Account fast and efficient, read the help file for all key functions."),
          L("Questions? Use our free email helpdesk."),
          L("Startup your calculator and use copy/paste functionality. Amounts are truncated not averaged!"),
          L("The program menu also contains a printable userguide.")};
}

// --- the form ----------------------------------------------------------------

namespace {

// The red, read-only message field of a panel, hidden until it has a message.
void MakeMessageField(ui::Edit& e) {
  e.SetReadOnly(true);
  e.SetBackColor(ui::colors::Red);
  e.SetVisible(false);
  e.hints.colSpan = 2;
}

}  // namespace

TStartscherm::TStartscherm() : ui::Form("Startscherm", "TStartscherm") {
  width = 820;
  height = 560;

  Body.SetBevel(false);
  Body.hints.stretch = 1;
  TreeView1.hints.stretch = 3;
  TreeView1.hints.minWidth = 320;
  Side.SetBevel(false);
  Side.hints.stretch = 2;
  Side.hints.minWidth = 380;
  Label5.SetBold(true);

  Panel1.gridColumns = 2;
  Label4.SetBold(true);
  Label4.hints.colSpan = 2;
  Edit2.SetCharCase(ui::CharCase::Upper);
  Edit2.SetMaxLength(10);
  Edit3.SetPasswordChar('*');
  Edit3.SetMaxLength(static_cast<int>(kMaxPasswordLength));
  for (ui::Component* c : {static_cast<ui::Component*>(&Edit2), static_cast<ui::Component*>(&Edit3),
                           static_cast<ui::Component*>(&ComboBox1)})
    c->hints.minWidth = 220;
  ComboBox1.SetMaxLength(30);
  MakeMessageField(Edit4);
  LoginButtons.SetBevel(false);
  LoginButtons.hints.colSpan = 2;
  Button1.hints.width = 90;
  Button2.hints.width = 90;

  Panel2.gridColumns = 2;
  Panel2.SetVisible(false);
  Label8.SetBold(true);
  Label8.hints.colSpan = 2;
  for (ui::Edit* e : {&Edit5, &Edit6}) {
    e->SetPasswordChar('*');
    e->SetMaxLength(static_cast<int>(kMaxPasswordLength));
    e->hints.minWidth = 220;
  }
  MakeMessageField(Edit7);
  PasswordButtons.SetBevel(false);
  PasswordButtons.hints.colSpan = 2;
  Button3.hints.width = 90;

  Label9.SetBold(true);
  Memo1.SetReadOnly(true);
  Memo1.SetWordWrap(true);
  Memo1.hints.height = 90;
  TipButtons.SetBevel(false);
  Button4.hints.width = 90;
  Button5.hints.width = 120;
  SideFiller.hints.stretch = 1;

  OnCreate = [this] { FormCreate(); };
  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button3.OnClick = [this] { Button3Click(); };
  Button4.OnClick = [this] { Button4Click(); };
  Button5.OnClick = [this] { Button5Click(); };
  Edit5.OnExit = [this] { Edit5Exit(); };
  Edit6.OnExit = [this] { Edit6Exit(); };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  TreeView1.OnDblClick = [this] { TreeView1DblClick(); };
  Exit1.OnClick = [this] { Exit1Click(); };
  ToolButton1.OnClick = [this] { Exit1Click(); };
  Info1.OnClick = [this] { Info1Click(); };
  utorial1.OnClick = [this] { utorial1Click(); };
  Internet1.OnClick = [this] { Internet1Click(); };
  ToolButton2.OnClick = [this] { Internet1Click(); };
  About1.OnClick = [this] { About1Click(); };
  Brenvickhomepage1.OnClick = [this] { Brenvickhomepage1Click(); };
  ToolButton3.OnClick = [this] { Brenvickhomepage1Click(); };
}

void TStartscherm::FormCreate() {
  store::ProductTitle = "Ombrelo Account Enterprise 2.0.6";
  store::CurrentAdministrationCode.clear();
  store::CurrentAdministrationName.clear();
  RightEndUser = RightEndUserManager = RightSystemAdministrator = true;
  SavedRightEndUser = SavedRightEndUserManager = false;
  AdministrationOnlyLogin = false;
  LoginDone = false;
  CurrentUserRec.Clear();
  SetCaption(store::ProductTitle + " : Menu ");
  TreeView1.Clear();
  TreeView1.AddRoot(store::ProductTitle)->imageIndex = 0;
}

void TStartscherm::FormActivate() {
  // 1. A first run: the settings are entered before anything else.
  if (systemforms::systemscherm && systemforms::systemscherm->FirstRun) {
    // The start-up set ends here: the settings form may move the data root,
    // and every later step opens its files where the saved settings say.
    EndOpenFileSet();
    systemforms::systemscherm->StatusBar1.Show(MsgFirstInsertSystemSettings, ui::colors::Red);
    ShowFunctionForm(*systemforms::systemscherm);
    systemforms::systemscherm->StatusBar1.Show({}, ui::colors::Default);
    // Reloads what was saved (and the language chosen).
    systemforms::systemscherm->FormCreate();
  }

  // 2.
  masterdata::LoadAdministrationList();
  ApplyLanguage();

  // 3. While the built-in user is the only one and keeps its first password,
  // the log-in panel comes filled in. The check reads a record of its own:
  // the logged-in user stays who it is.
  if (systemforms::CountUsers() == 1) {
    records::UserRec rec;
    rec.SetUserId(systemforms::kSystemUserId);
    std::uint8_t found = 0;
    systemforms::FindUser(found, rec);
    if (found == 1 &&
        text::StringChecksum(systemforms::kDefaultPassword, rec.PasswordSetAt()) == rec.PasswordChecksum()) {
      Edit2.SetText(std::string(systemforms::kSystemUserId));
      Edit3.SetText(std::string(systemforms::kDefaultPassword));
    }
  }

  // 4. The id and password fields follow the user options; a password needs
  // a user id. A log-in for another administration shows neither.
  const bool identification = store::SystemParams.UserIdentification() && !AdministrationOnlyLogin;
  const bool password = identification && store::SystemParams.PasswordProtection();
  Label1.SetVisible(identification);
  Edit2.SetVisible(identification);
  Label2.SetVisible(password);
  Edit3.SetVisible(password);

  // 5., 6.
  FillAdministrationCombo();
  Panel2.SetVisible(false);
  FarEndDate = platform::EncodeDate(2050, 12, 31);

  // 7. Whatever the start-up or a form left open.
  EndOpenFileSet();

  // 8. The tips panel is visible when the program starts and stays hidden
  // once closed.
  const std::string tips = store::SystemParams.TipsAndNews();
  if (tips != "T" && tips != "F") {
    Panel3.SetVisible(false);
    return;
  }
  TipTexts = TipsForLanguage(store::SystemParams.LanguageName());
  TipIndex = RandomNumber(kFirstTipChoices);
  TipLimit = 2;
  ShowTip();
}

void TStartscherm::FillAdministrationCombo() {
  ComboBox1.ClearItems();
  ComboBox1.AddItem("", 0);
  const int count = masterdata::Administrations ? masterdata::Administrations->AdministrationCount : 0;
  for (int row = 1; row <= count; ++row) {
    std::string shortName, name;
    if (AdministrationAt(row, shortName, name)) ComboBox1.AddItem(name, row);
  }
  // The current administration is proposed (so that OK after the settings
  // form keeps the user in the books they were working in), else the first.
  int proposed = ComboBox1.Count() > 1 ? 1 : 0;
  if (!store::CurrentAdministrationCode.empty())
    for (int i = 1; i < ComboBox1.Count(); ++i) {
      std::string shortName, name;
      if (AdministrationAt(static_cast<int>(ComboBox1.Items()[i].data), shortName, name) &&
          text::Cut(shortName, 10) == store::CurrentAdministrationCode) {
        proposed = i;
        break;
      }
    }
  ComboBox1.SetItemIndex(proposed);
}

int TStartscherm::ChosenAdministrationRow() const {
  const std::string& text = ComboBox1.GetText();
  const auto& items = ComboBox1.Items();
  // The item the user picked, also among items of the same name.
  const int picked = ComboBox1.ItemIndex();
  if (picked > 0 && items[picked].text == text) return static_cast<int>(items[picked].data);
  if (text.empty()) return 0;
  int i = ComboBox1.IndexOf(text);
  if (i <= 0) {
    i = -1;
    for (int k = 1; k < ComboBox1.Count(); ++k)
      if (EqualsAZIgnoringCase(items[k].text, text)) {
        i = k;
        break;
      }
  }
  return i > 0 ? static_cast<int>(items[i].data) : -1;
}

std::optional<TStartscherm::LoginUser> TStartscherm::CheckLoginUser() {
  LoginUser out;
  out.user = CurrentUserRec;
  formkit::FileSetScope scope("USE;");
  if (!scope.Ok()) return std::nullopt;
  if (AdministrationOnlyLogin) return out;
  records::UserRec& user = out.user;
  const bool identification = store::SystemParams.UserIdentification();
  if (!identification) {
    out.currentUser = kUnknownUser;
    Edit2.SetText(kUnknownUser);
  } else {
    user.Clear();
    user.SetUserId(text::Cut(Edit2.GetText(), 10));
    std::uint8_t found = 0;
    systemforms::FindUser(found, user);
    out.ok = found == 1;
    out.currentUser = user.UserId();
  }
  scope.Close();
  // Without user identification there is no password to check.
  if (identification && store::SystemParams.PasswordProtection() &&
      text::StringChecksum(Edit3.GetText(), user.PasswordSetAt()) != user.PasswordChecksum())
    out.ok = false;
  if (!identification) {
    out.endUser = out.endUserManager = out.systemAdministrator = true;
  } else {
    out.endUser = user.EndUser() == 'Y';
    out.endUserManager = user.EndUserManager() == 'Y';
    out.systemAdministrator = user.SystemAdministrator() == 'Y';
  }
  return out;
}

namespace {

// Without an administration only the system-administration functions
// remain, and the data folder is the root.
void LeaveWithoutAdministration() {
  store::CurrentAdministrationCode.clear();
  store::CurrentAdministrationName.clear();
  RightEndUser = false;
  RightEndUserManager = false;
  ApplyLanguage();
}

}  // namespace

bool TStartscherm::OpenChosenAdministration() {
  bool opened = false;
  bool unfinishedCopy = false;
  std::string conversionText;
  try {
    formkit::FileSetScope scope(kAdministrationFiles);
    if (scope.Ok()) {
      // A copy into this administration that stopped part-way left some of
      // its files copied and others not.
      unfinishedCopy = books::administration::CarriesUnfinishedCopy(store::CurrentDataFolder());
      // Inside the open set, which names the flag file and every file the
      // conversions touch. Files a conversion could not bring to today's
      // layout are not read at all.
      const store::ConversionOutcome conversion = store::ConvertDataFiles();
      conversionText = DataConversionText(store::CurrentAdministrationName, store::CurrentAdministrationCode,
                                          store::CurrentDataFolder(), conversion);
      if (conversion.Ok()) {
        if (auto failure = store::LoadAdminSettings())
          formkit::ReportFileSetError(*failure, formkit::FileSetReport::OsTextOnly);
        UpdatePeriodControls();
        ApplyLanguage();
        opened = true;
      }
    }
  } catch (const std::exception& e) {
    // A file that cannot be created or read: the administration is not
    // taken up, as when its files cannot be opened.
    opened = false;
    ui::ShowMessage(e.what());
  }
  // The messages come when the files are closed again.
  if (unfinishedCopy) ui::ShowMessage(books::administration::UnfinishedCopyText());
  if (!conversionText.empty()) ui::ShowMessage(conversionText);
  if (const std::string note = books::closing::TakeReplayNote(); !note.empty()) ui::ShowMessage(note);
  return opened;
}

void TStartscherm::Button1Click() {
  ApplyLanguage();

  // The user check works on copies: nothing of a refused log-in stays
  // behind (user, current user, rights).
  const std::optional<LoginUser> checked = CheckLoginUser();
  if (!checked) return;
  bool ok = checked->ok;

  // The administration: the row the user picked; an empty box is accepted,
  // a text that names no administration is not.
  int row = 0;
  std::string shortName, name;
  if (ok) {
    row = ChosenAdministrationRow();
    if (row < 0 || (row > 0 && !AdministrationAt(row, shortName, name)))
      ok = false;
    else if (row > 0 && !masterdata::IsUsableShortName(text::Cut(shortName, 10)))
      // A short name that cannot name a folder below the data root.
      ok = false;
  }
  if (!ok) {
    Edit4.SetText(MsgLoginFailed);
    Edit4.SetVisible(true);
    return;
  }

  if (!AdministrationOnlyLogin) {
    CurrentUserRec = checked->user;
    store::SystemParams.SetCurrentUser(checked->currentUser);
    RightSystemAdministrator = checked->systemAdministrator;
    SavedRightEndUser = checked->endUser;
    SavedRightEndUserManager = checked->endUserManager;
  }
  LoginDone = true;
  RightEndUser = SavedRightEndUser;
  RightEndUserManager = SavedRightEndUserManager;
  Edit4.SetVisible(false);
  Panel1.SetVisible(false);

  if (row == 0) {
    LeaveWithoutAdministration();
    return;
  }
  store::CurrentAdministrationCode = text::Cut(shortName, 10);
  store::CurrentAdministrationName = text::Cut(name, 30);
  ApplyLanguage();
  if (!OpenChosenAdministration()) {
    LeaveWithoutAdministration();
    return;
  }
  if (!store::AdminSettingsRepairedFields.empty()) ui::ShowMessage(store::MsgStoredDatesReplaced);
}

void TStartscherm::Button2Click() { Close(); }

void TStartscherm::ShowAdministrationLogin() {
  for (ui::Component* c : {static_cast<ui::Component*>(&Label1), static_cast<ui::Component*>(&Edit2),
                           static_cast<ui::Component*>(&Label2), static_cast<ui::Component*>(&Edit3)})
    c->SetVisible(false);
  Edit4.SetVisible(false);
  Panel1.SetVisible(true);
  AdministrationOnlyLogin = true;
  Button2.SetVisible(false);
  Label4.SetCaption(L(1182));
}

void TStartscherm::ComboBox1Exit() {
  const std::string text = ComboBox1.GetText();
  const int picked = ComboBox1.ItemIndex();
  if (picked >= 0 && ComboBox1.Items()[picked].text == text) return;
  for (int i = 0; i < ComboBox1.Count(); ++i) {
    if (EqualsAZIgnoringCase(ComboBox1.Items()[i].text, text)) {
      // The item's own text replaces what was typed.
      ComboBox1.SetItemIndex(i);
      return;
    }
  }
  ComboBox1.SetText("");
}

// --- change of password --------------------------------------------------------

void TStartscherm::ShowChangePassword() {
  Panel2.SetVisible(true);
  Edit7.SetVisible(false);
  Label8.SetCaption(L(1203));
}

void TStartscherm::ShowPasswordMessage(const std::string& text) {
  Edit7.SetText(text);
  Edit7.SetVisible(true);
}

void TStartscherm::Edit5Exit() {
  if (!Panel2.Visible()) return;
  if (Edit5.GetText().size() < kMinPasswordLength) {
    Edit5.SetText("");
    ShowPasswordMessage(MsgMinimalSixCharacters);
  }
}

void TStartscherm::Edit6Exit() {
  if (!Panel2.Visible()) return;
  if (Edit6.GetText() != Edit5.GetText()) {
    Edit5.SetText("");
    Edit6.SetText("");
    ShowPasswordMessage(MsgPasswordsNotIdentical);
  }
}

void TStartscherm::Button3Click() {
  formkit::FileSetScope scope("USE");
  if (!scope.Ok()) return;
  const std::string password = Edit5.GetText();
  const std::string again = Edit6.GetText();
  if (password != again || (password.empty() && again.empty())) {
    ShowPasswordMessage(MsgNewPasswordsDiffer);
    return;
  }
  // The rules of the exit handlers hold also when OK comes without them
  // (Enter, the button reached without leaving the edits).
  if (password.size() < kMinPasswordLength || password.size() > kMaxPasswordLength) {
    Edit5.SetText("");
    Edit6.SetText("");
    ShowPasswordMessage(password.size() < kMinPasswordLength ? MsgMinimalSixCharacters : MsgMaximalTwelveCharacters);
    return;
  }
  Panel2.SetVisible(false);
  // The user's record as the file holds it now: only the password and the
  // stamp change, whatever the users form or another copy of the program
  // changed since the log-in.
  records::UserRec rec;
  rec.SetUserId(CurrentUserRec.UserId());
  std::uint8_t found = 0;
  systemforms::FindUser(found, rec);
  if (found == 1) {
    const std::string setAt = text::Cut(platform::DateTimeToText(platform::Now()), 20);
    rec.SetPasswordSetAt(setAt);
    rec.SetPasswordChecksum(text::StringChecksum(again, setAt));
    systemforms::UpdateUser(found, rec);
  }
  if (found != 1) {
    // The panel stays, so that the message is seen.
    Panel2.SetVisible(true);
    ShowPasswordMessage(MsgLoginFailed);
    return;
  }
  CurrentUserRec = rec;
  Edit5.SetText("");
  Edit6.SetText("");
}

// --- tips ----------------------------------------------------------------------

void TStartscherm::ShowTip() {
  const int i = std::clamp<std::int32_t>(TipIndex, 0, static_cast<std::int32_t>(TipTexts.size()) - 1);
  Memo1.SetLines({TipTexts[static_cast<std::size_t>(i)]});
}

void TStartscherm::Button5Click() {
  ++TipIndex;
  if (TipIndex > TipLimit) TipIndex = 0;
  ShowTip();
}

void TStartscherm::Button4Click() {
  if (CheckBox1.Checked() && systemforms::systemscherm) {
    systemforms::systemscherm->CheckBox7.SetChecked(false);
    systemforms::systemscherm->opslaan.Execute();
  }
  Panel3.SetVisible(false);
}

// --- keys, menus and help ------------------------------------------------------

void TStartscherm::FormKeyDown(uint16_t& key, unsigned shift) {
  if (key == ui::keys::Return) {
    key = 0;
    if (Panel1.Visible())
      Button1Click();
    else if (Panel2.Visible())
      Button3Click();
    else
      TreeView1DblClick();
  } else if (key == ui::keys::Escape) {
    key = 0;
    Close();
  } else if (key == ui::keys::F1) {
    key = 0;
    ShowHelp("<MEN00>");
  }
}

void TStartscherm::Exit1Click() { Close(); }

void TStartscherm::ShowHelp(const std::string& tag) {
  formkit::ShowHelpFrom(*this, tag, program::MasterHelpCaptionBlock);
}

// The top of the help text.
void TStartscherm::Info1Click() { ShowHelp(""); }
void TStartscherm::utorial1Click() { ShowHelp("<TUT00>"); }
void TStartscherm::Internet1Click() { ShowHelp("<MEN00>"); }
void TStartscherm::About1Click() { ShowHelp("<ABO00>"); }

void TStartscherm::Brenvickhomepage1Click() {
  ui::GetBackend().OpenUrl(HelpHomePageUrl.empty() ? formkit::HomePageUrl(store::SystemParams.LanguageName())
                                                   : HelpHomePageUrl);
}

void TStartscherm::ApplyLanguageTexts() {
  SetCaption(store::ProductTitle + " : Menu ");
  std::string title = text::Cut(" " + L(1261), 10);
  title = text::Cut(title + " (", 12);
  title = text::Cut(title + store::CurrentAdministrationName, 42);
  Label5.SetCaption(text::Cut(title + ")", 43));
  StartschermLanguageName = text::CurrentLanguage.LanguageName();

  Button2.SetCaption(L(306));
  Button5.SetCaption(L(1271));
  File1.SetCaption(L(21));
  Exit1.SetCaption(L(123));
  Help1.SetCaption(L(284));
  Info1.SetCaption(L(514));
  Internet1.SetCaption(L(1230));
  Brenvickhomepage1.SetCaption(L(486));
  About1.SetCaption(L(295));
  Label3.SetCaption(L(602));
  // The panel titles keep the variant their panel was shown with.
  Label4.SetCaption(L(AdministrationOnlyLogin ? 1182 : 581));
  Label6.SetCaption(L(2126));
  Label7.SetCaption(L(2147));
  Label8.SetCaption(L(Panel2.Visible() ? 1203 : 633));
  Label9.SetCaption(L(1287));
  CheckBox1.SetCaption(L(1318));
  // The tool buttons say what their menu items say.
  ToolButton1.SetCaption(Exit1.Caption());
  ToolButton2.SetCaption(Internet1.Caption());
  ToolButton3.SetCaption(Brenvickhomepage1.Caption());

  // Texts without a field of their own in the language record: a field
  // that carries the same word elsewhere, else the program's own text.
  Label1.SetCaption(L(1947));
  Label2.SetCaption(BuiltInText(text::BuiltIn::Password));
  for (ui::Button* ok : {&Button1, &Button3, &Button4}) ok->SetCaption(L(473));
  utorial1.SetCaption(L(8296));

  MsgLoginFailed = L(8998);
  MsgNewPasswordsDiffer = L(9181);
  MsgMaximalTwelveCharacters = BuiltInText(text::BuiltIn::MaximalTwelveCharacters);
  MsgMinimalSixCharacters = BuiltInText(text::BuiltIn::MinimalSixCharacters);
  MsgPasswordsNotIdentical =
      BuiltInText(text::BuiltIn::PasswordsNotIdentical);
  MsgFirstInsertSystemSettings =
      BuiltInText(text::BuiltIn::FirstInsertSystemSettings);
}

// --- dispatch ------------------------------------------------------------------

void TStartscherm::ShowFunctionForm(ui::Form& form) {
  Hide();
  try {
    form.ShowModal();
  } catch (...) {
    // An activation that fails must not leave the program without its main
    // window.
    if (form.Showing()) form.Hide();
    Show();
    throw;
  }
  Show();
}

void TStartscherm::TreeView1DblClick() {
  // Nothing runs before a log-in: the tree would offer every function.
  if (!LoginDone) return;
  const ui::TreeNode* node = TreeView1.Selected();
  if (!node) return;
  // The id, not the text, says what the node is; the node itself does not
  // survive the rebuilds of the tree that follow.
  const auto function = static_cast<TreeFunction>(node->data);
  // The start screen refreshes itself once, after a form was shown (the
  // report form's closing loop included).
  if (RunFunction(function)) FormActivate();
}

bool TStartscherm::RunFunction(TreeFunction function) {
  // Opens the form's files (its activation closes them) and shows it.
  auto show = [this](ui::Form* form, const std::string& files,
                     formkit::FileSetReport report = formkit::FileSetReport::TextAndOsText) {
    if (!form) return false;
    if (!files.empty() && !OpenFilesForForm(files, report)) return false;
    ShowFunctionForm(*form);
    return true;
  };

  switch (function) {
    case TreeFunction::None:
      return false;
    case TreeFunction::GLCategories:
      return show(masterdata::Ledgercategory, "GLC;");
    case TreeFunction::ChangePassword:
      ShowChangePassword();
      return false;
    case TreeFunction::SwitchAdministration:
      ShowAdministrationLogin();
      return false;
    case TreeFunction::GLAccounts:
      return show(masterdata::Ledger, "FRZ;GLA;GLC");
    case TreeFunction::Reports:
      return ShowReportsWithClosing();
    case TreeFunction::SystemSettings:
      if (!show(systemforms::systemscherm, "")) return false;
      // The bookkeeping and master-data functions work on an
      // administration's files: their rights come back only while one is
      // chosen (the log-in gives them back when one is chosen there).
      if (!store::CurrentAdministrationCode.empty()) {
        RightEndUser = SavedRightEndUser;
        RightEndUserManager = SavedRightEndUserManager;
      }
      ApplyLanguage();
      if (masterdata::Administrations) masterdata::Administrations->FormActivate();
      FillAdministrationCombo();
      ApplyLanguage();
      ShowAdministrationLogin();
      return true;
    case TreeFunction::Partners:
      return show(masterdata::partners2, "GLA");
    case TreeFunction::Users:
      return show(systemforms::Users, "USE");
    case TreeFunction::JournalVouchers:
      return show(journal::boeking, "IFS;GLA;JVT");
    case TreeFunction::AdministrationSettings:
      if (!show(masterdata::administrationsetting, "GLA;ADS", formkit::FileSetReport::OsTextOnly)) return false;
      ApplyLanguage();
      return true;
    case TreeFunction::Administrations:
      if (!show(masterdata::Administrations, "")) return false;
      FillAdministrationCombo();
      ShowAdministrationLogin();
      return true;
    case TreeFunction::ExportImport:
      return show(reports::ExportImport, "");
  }
  return false;
}

bool TStartscherm::ShowReportsWithClosing() {
  if (!reports::Rapport1) return false;
  books::closing::ClosingDone = {};
  reports::FreezeDone = false;
  bool again = false;
  do {
    // Opened before each showing (the freeze ends its own set); the report
    // form's activation reads the accounts and closes it.
    if (!OpenFilesForForm("GLA;FRZ")) {
      EndOpenFileSet();
      return again;
    }
    ShowFunctionForm(*reports::Rapport1);
    again = true;
  } while (RunYearEndClosing());
  // Nothing stays open once the report form is closed for good.
  EndOpenFileSet();
  return true;
}

// After each showing of the report form: when a freeze ran there, its
// closing (vouchers, snapshot, settings) is already written by the closing
// service. At a year end the settings form comes on its second tab with the
// proposal for the new periods; then the report form is shown again and
// says the freeze succeeded. Writes nothing; no file set is open while the
// settings form shows (its activation opens what it reads and closes it).
// True when the report form is to be shown again.
bool TStartscherm::RunYearEndClosing() {
  const books::closing::ClosingState done = std::exchange(books::closing::ClosingDone, books::closing::ClosingState{});
  if (!done.done) return false;
  EndOpenFileSet();
  if (done.closedYear && masterdata::administrationsetting) {
    masterdata::Tadministrationsetting& settings = *masterdata::administrationsetting;
    settings.StatusBar1.Show(books::closing::MsgNewBookYearProposal(), ui::colors::Lime);
    masterdata::SettingsYearTabFlag = true;
    ShowFunctionForm(settings);
    EndOpenFileSet();
    ApplyLanguage();
    settings.StatusBar1.Show({}, ui::colors::Default);
  }
  ApplyLanguage();
  reports::FreezeDone = true;
  return true;
}

}  // namespace program
