#include "program/languageroutine.h"

#include "journal/boekingstuk.h"
#include "masterdata/adminsettings.h"
#include "masterdata/Administrationsunit.h"
#include "masterdata/Ledgerunit.h"
#include "masterdata/ledgercatunit.h"
#include "reports/Rapport1unit.h"
#include "masterdata/unitpartners.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "formkit/helpunit.h"
#include "text/languagetext.h"
#include "program/startschermunit.h"
#include "reports/impexp.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "system/systemscreen.h"
#include "system/userunit.h"
#include "formkit/website.h"

namespace program {

using text::BuiltInText;
using text::L;

std::string HelpHomePageUrl;
std::string HelpNewsPageUrl;

namespace {


// Image indexes of the tree: top-level entries and groups, functions.
constexpr int kRootImage = 0;
constexpr int kGroupImage = 1;
constexpr int kFunctionImage = 2;

}  // namespace

void ResetLanguageRoutineState() {
  HelpHomePageUrl.clear();
  HelpNewsPageUrl.clear();
}

void BuildFunctionTree(ui::TreeView& tree) {
  // The function that was selected is selected again when the new tree
  // still offers it.
  const std::int64_t selected = tree.Selected() ? tree.Selected()->data : 0;
  tree.Clear();
  ui::TreeNode* root = tree.AddRoot(store::ProductTitle);
  root->imageIndex = kRootImage;
  root->selectedIndex = kRootImage;

  auto add = [&tree](ui::TreeNode* parent, const std::string& text, int image, TreeFunction function) {
    ui::TreeNode* node = tree.AddChild(parent, text);
    node->imageIndex = image;
    node->selectedIndex = image;
    node->data = static_cast<std::int64_t>(function);
    return node;
  };

  // Before a log-in has succeeded every right is set: the tree offers
  // nothing then.
  if (LoginDone) {
    const bool identification = store::SystemParams.UserIdentification();
    // The bookkeeping and master-data functions work on the chosen
    // administration's files: without one they are not offered, whatever
    // the rights.
    const bool administration = !store::CurrentAdministrationCode.empty();
    add(root, L(550), kGroupImage, TreeFunction::SwitchAdministration);
    if (identification && store::SystemParams.PasswordProtection())
      add(root, L(633), kGroupImage, TreeFunction::ChangePassword);
    if (RightEndUser && administration) {
      ui::TreeNode* group = add(root, L(852), kGroupImage, TreeFunction::None);
      add(group, L(870), kFunctionImage, TreeFunction::JournalVouchers);
      add(group, L(919), kFunctionImage, TreeFunction::Partners);
      add(group, L(944), kFunctionImage, TreeFunction::Reports);
    }
    if (RightEndUserManager && administration) {
      ui::TreeNode* group = add(root, L(965), kGroupImage, TreeFunction::None);
      add(group, L(1079), kFunctionImage, TreeFunction::AdministrationSettings);
      add(group, L(1027), kFunctionImage, TreeFunction::GLCategories);
      add(group, L(996), kFunctionImage, TreeFunction::GLAccounts);
      add(group, kExportImportNodeText, kFunctionImage, TreeFunction::ExportImport);
    }
    if (RightSystemAdministrator) {
      ui::TreeNode* group = add(root, L(1110), kGroupImage, TreeFunction::None);
      add(group, L(1133), kFunctionImage, TreeFunction::SystemSettings);
      add(group, L(1058), kFunctionImage, TreeFunction::Administrations);
      if (identification) add(group, L(1159), kFunctionImage, TreeFunction::Users);
    }
  }

  tree.FullCollapse();
  tree.Expand(root, false);
  root->SetText(store::ProductTitle);
  ui::TreeNode* select = root;
  if (selected != 0)
    for (ui::TreeNode* n : tree.AllNodes())
      if (n->data == selected) select = n;
  tree.Select(select);
  tree.Refresh();
}

void ApplyLanguage() {
  // 1. and 3. The start screen's own texts.
  if (Startscherm) Startscherm->ApplyLanguageTexts();

  // 2. The function tree.
  if (Startscherm) BuildFunctionTree(Startscherm->TreeView1);

  // 4. The data folder of the chosen administration (the root while none is
  // chosen), the administrations file in the root, and the help captions.
  store::SetCurrentAdministrationFolder(store::CurrentAdministrationCode);
  if (!store::DataRoot().empty()) store::AdminFileFolder = store::DataRoot();
  program::MasterHelpCaptionBlock.FileCaption = text::Cut(L(21), 10);
  MasterHelpCaptionBlock.CancelCaption = text::Cut(L(306), 12);
  MasterHelpCaptionBlock.ExitCaption = text::Cut(L(123), 10);
  MasterHelpCaptionBlock.LanguageName = text::Cut(store::SystemParams.LanguageName(), 10);
  MasterHelpCaptionBlock.SectionTitle = text::Cut(L(7631), 10);

  // 5. The web pages of the language.
  HelpHomePageUrl = formkit::HomePageUrl(MasterHelpCaptionBlock.LanguageName);
  HelpNewsPageUrl = formkit::NewsPageUrl(MasterHelpCaptionBlock.LanguageName);
  if (systemforms::systemscherm) systemforms::systemscherm->BrowseURL2URL = HelpNewsPageUrl;

  // 6. The settings every form reads, and each unit's copy of the help
  // captions.
  systemforms::RefreshSystemSettings();
  systemforms::SystemschermHelpCaptionBlock = MasterHelpCaptionBlock;
  systemforms::UsersHelpCaptionBlock = MasterHelpCaptionBlock;
  masterdata::AdministrationsHelpCaptionBlock = MasterHelpCaptionBlock;
  masterdata::LedgercategoryHelpCaptions = MasterHelpCaptionBlock;
  masterdata::LedgerHelpCaptions = MasterHelpCaptionBlock;
  // Journal vouchers: the help captions, the form's own copy of the
  // administration settings, and the period caption to redo at the next
  // activation.
  journal::JournalHelpCaptions = MasterHelpCaptionBlock;
  journal::JournalAdminSettings = store::AdminSettings;
  journal::PeriodCaptionPending = true;
  // Administration settings form: the help captions.
  masterdata::AdministrationsettingHelpCaptions = MasterHelpCaptionBlock;
  // Reports: the help captions and the form's own copy of the
  // administration settings (a freeze advances it).
  reports::RapportHelpCaptions = MasterHelpCaptionBlock;
  reports::ReportAdminSettings = store::AdminSettings;
  // Export and import: the administration code, the working folder its
  // dialogs open in, the help captions.
  reports::ExportImportAdministrationCode = store::CurrentAdministrationCode;
  reports::ExportImportStartFolder = store::WorkingFolder();
  reports::ExportImportHelpCaptions = MasterHelpCaptionBlock;
  // (Each comes with its form.)

  // 7. to 10. Every form's caption, title label, texts and message texts.
  if (systemforms::systemscherm) systemforms::systemscherm->ApplyLanguageTexts();
  if (systemforms::Users) systemforms::Users->ApplyLanguageTexts();
  if (masterdata::Administrations) masterdata::Administrations->ApplyLanguageTexts();
  if (masterdata::Ledgercategory) masterdata::Ledgercategory->ApplyLanguageTexts();
  // The GL accounts form also takes the book-year start and the profit
  // account of the administration, and the account-function codes.
  if (masterdata::Ledger) masterdata::Ledger->ApplyLanguageTexts();
  if (journal::boeking) journal::boeking->ApplyLanguageTexts();
  // Partners: the help captions and the account-function codes (after the
  // GL accounts form has put them back to the stored English codes), then
  // its texts.
  masterdata::PartnerHelpCaptions = MasterHelpCaptionBlock;
  for (std::size_t i = 1; i <= 15; ++i) masterdata::PartnerFunctionCodes[i] = masterdata::AccountFunctionCodes[i];
  if (masterdata::partners2) masterdata::partners2->ApplyLanguageTexts();
  // Administration settings (Tadministrationsetting): its texts.
  if (masterdata::administrationsetting) masterdata::administrationsetting->ApplyLanguageTexts();
  // Reports (TRapport1): its texts come with the form.
  if (reports::ExportImport) reports::ExportImport->ApplyLanguageTexts();
  // Help: the web pages of its two actions.
  if (formkit::helpform) {
    formkit::helpform->BrowseURL1URL = HelpHomePageUrl;
    formkit::helpform->BrowseURL2URL = HelpNewsPageUrl;
  }
}

}  // namespace program
