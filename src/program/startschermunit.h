// The start screen: the program's main window. It holds the function tree
// (built by the language routine, program/languageroutine.h), the log-in
// panel, the change-password panel and the tips panel. Every function form
// is shown from here modally while the start screen hides itself.
//
// The log-in checks the user (id and password checksum), takes up the
// user's rights, makes the chosen administration's folder the data folder,
// opens every data file of the administration once (so that all of them
// exist) and loads its settings. No function of the tree runs before a
// log-in has succeeded: until then the tree holds only its root and the
// dispatch refuses.
//
// The tree's nodes carry the function they stand for (TreeNode::data, a
// TreeFunction); the dispatch goes by that id, never by the node's text.
// After a function form has been shown, the start screen refreshes itself
// once (the activation steps: administration list, language texts, log-in
// fields, file set left open) when the dispatch is done.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/datetime.h"
#include "records/userrec.h"
#include "store/dataconversion.h"
#include "formkit/helpunit.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace program {

// The rights that decide which functions the tree offers. All three are set
// when the start screen is created; the tree offers nothing until a log-in
// has succeeded all the same.
extern bool RightEndUser, RightEndUserManager, RightSystemAdministrator;
// The first two rights as the last user check computed them; restored
// whenever the rights are taken up again (an empty-box log-in clears them).
extern bool SavedRightEndUser, SavedRightEndUserManager;
// Set when the switch-administration entry shows the log-in panel; never
// cleared again. The user is then not checked again.
extern bool AdministrationOnlyLogin;
// Set by the first successful log-in; until then the tree offers nothing.
extern bool LoginDone;
// The user who logged in.
extern records::UserRec CurrentUserRec;
// The tips of the language, the tip shown and the last tip "Next tip"
// reaches before it wraps to the first.
extern std::array<std::string, 5> TipTexts;
extern std::int32_t TipIndex;
extern std::int32_t TipLimit;
// 31 December 2050, set at every activation; the end of open date ranges.
extern platform::TDateTime FarEndDate;
// The master copy of the help captions, filled by the language routine and
// handed to the help form with every help topic of the start screen.
extern formkit::HelpCaptionBlockRec MasterHelpCaptionBlock;
// The name of the current language record, as text.
extern std::string StartschermLanguageName;

// Message texts of the unit.
extern std::string MsgLoginFailed;                // the log-in was refused
extern std::string MsgNewPasswordsDiffer;         // the change of password: the two entries differ
extern std::string MsgMinimalSixCharacters;       // a new password shorter than 6 characters
extern std::string MsgPasswordsNotIdentical;      // the re-entry differs from the new password
extern std::string MsgFirstInsertSystemSettings;  // the first-run text on the settings form
extern std::string MsgMaximalTwelveCharacters;    // a new password longer than 12 characters

// What the log-in says after the data-file conversions of the
// administration `name` (`code`) (store/dataconversion.h): which files were
// converted and where their backups are (`folder`, the data folder), or,
// when a conversion could not be done, that the administration was not
// opened, naming the file and why (after the files converted before it).
// Empty when nothing was converted and nothing failed.
std::string DataConversionText(const std::string& name, const std::string& code, const std::string& folder,
                               const store::ConversionOutcome& outcome);

// Puts every global of the unit back as the program starts (rights all
// set, no log-in, no user, English messages, the program's own random
// source). The start screen form itself is the main block's.
void ResetStartscreenState();

// The source of the first tip's index: a number from 0 to n - 1. Tests
// replace it; an empty function restores the program's own generator.
using RandomSource = std::function<int(int n)>;
void SetRandomSource(RandomSource source);
int RandomNumber(int n);

// The five tips of a language ("Nederlands", "Deutsch", any other: English).
std::array<std::string, 5> TipsForLanguage(const std::string& languageName);

// What a node of the function tree stands for (TreeNode::data). Group
// nodes and the root carry None.
enum class TreeFunction : std::int64_t {
  None = 0,
  SwitchAdministration,
  ChangePassword,
  JournalVouchers,
  Partners,
  Reports,
  AdministrationSettings,
  GLCategories,
  GLAccounts,
  ExportImport,
  SystemSettings,
  Administrations,
  Users,
};

class TStartscherm : public ui::Form {
 public:
  TStartscherm();

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "&File"};
  ui::MenuItem Exit1{&File1, "Exit1", "E&xit"};
  ui::MenuItem Help1{&MainMenu1, "Help1", "&Help"};
  ui::MenuItem Info1{&Help1, "Info1", "Brenvik help"};
  ui::MenuItem utorial1{&Help1, "utorial1", "Tutorial"};
  ui::MenuItem Internet1{&Help1, "Internet1", "Menu help"};
  ui::MenuItem About1{&Help1, "About1", "About..."};
  ui::MenuItem Brenvickhomepage1{&Help1, "Brenvickhomepage1", "Home page"};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1", "Exit"};
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2", "Menu help"};
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3", "Home page"};

  ui::Panel Body{this, "Body", ui::LayoutKind::Horizontal};
  ui::TreeView TreeView1{&Body, "TreeView1"};
  ui::Panel Side{&Body, "Side"};
  ui::Label Label5{&Side, "Label5", " Main menu ()"};

  // The log-in panel.
  ui::Panel Panel1{&Side, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label4{&Panel1, "Label4", "Login panel"};
  ui::Label Label1{&Panel1, "Label1", "User id"};
  ui::Edit Edit2{&Panel1, "Edit2"};
  ui::Label Label2{&Panel1, "Label2", "Password"};
  ui::Edit Edit3{&Panel1, "Edit3"};
  ui::Label Label3{&Panel1, "Label3", "Administration for :"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1"};
  ui::Edit Edit4{&Panel1, "Edit4"};
  ui::Panel LoginButtons{&Panel1, "LoginButtons", ui::LayoutKind::Horizontal};
  ui::Button Button1{&LoginButtons, "Button1", "OK"};
  ui::Button Button2{&LoginButtons, "Button2", "Cancel"};

  // The change-password panel.
  ui::Panel Panel2{&Side, "Panel2", ui::LayoutKind::Grid};
  ui::Label Label8{&Panel2, "Label8", "Change password panel"};
  ui::Label Label6{&Panel2, "Label6", "New password"};
  ui::Edit Edit5{&Panel2, "Edit5"};
  ui::Label Label7{&Panel2, "Label7", "Reenter"};
  ui::Edit Edit6{&Panel2, "Edit6"};
  ui::Edit Edit7{&Panel2, "Edit7"};
  ui::Panel PasswordButtons{&Panel2, "PasswordButtons", ui::LayoutKind::Horizontal};
  ui::Button Button3{&PasswordButtons, "Button3", "OK"};

  // The tips panel.
  ui::Panel Panel3{&Side, "Panel3"};
  ui::Label Label9{&Panel3, "Label9", "Tip for new users"};
  ui::Memo Memo1{&Panel3, "Memo1"};
  ui::CheckBox CheckBox1{&Panel3, "CheckBox1", "Don't show tips"};
  ui::Panel TipButtons{&Panel3, "TipButtons", ui::LayoutKind::Horizontal};
  ui::Button Button4{&TipButtons, "Button4", "OK"};
  ui::Button Button5{&TipButtons, "Button5", "Next Tip"};
  // Takes the room below the panels, so that they keep their own height.
  ui::Label SideFiller{&Side, "SideFiller"};

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  // Handlers.
  void FormCreate();
  // Every activation step (the first run's settings form first). Runs when
  // the main loop starts and once after each function form was shown.
  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void Button1Click();  // log-in
  void Button2Click();  // Cancel: ends the program
  void Button3Click();  // change of password
  void Edit5Exit();
  void Edit6Exit();
  void ComboBox1Exit();
  void Button4Click();  // tips: OK
  void Button5Click();  // tips: next
  void TreeView1DblClick();
  void Exit1Click();
  void Info1Click();
  void utorial1Click();
  void Internet1Click();
  void About1Click();
  void Brenvickhomepage1Click();

  // The administration box from the administrations form's list: an empty
  // item, then every administration's name in list order (each item
  // carrying its list row); the current administration is chosen, or the
  // first one while none is current.
  void FillAdministrationCombo();
  // The log-in panel for a change of administration only.
  void ShowAdministrationLogin();
  void ShowChangePassword();

  // The start screen's captions and message texts from the current
  // language record (the tree is the language routine's).
  void ApplyLanguageTexts();

 private:
  void ShowHelp(const std::string& tag);
  void ShowTip();
  void ShowPasswordMessage(const std::string& text);
  // The list row of the administration the box names: 0 for the empty box,
  // -1 for a text that names no administration.
  int ChosenAdministrationRow() const;
  // What the log-in's user check found, kept apart until the log-in
  // succeeds (nothing of a refused one stays behind).
  struct LoginUser {
    bool ok = true;
    records::UserRec user;
    std::string currentUser;
    bool endUser = false, endUserManager = false, systemAdministrator = false;
  };
  // The user check of the log-in (id and password, or none without user
  // identification); nullopt when the user file cannot be opened.
  std::optional<LoginUser> CheckLoginUser();
  // Opens the chosen administration's files, converts and loads them, and
  // shows what the opening has to tell; false when it was not taken up.
  bool OpenChosenAdministration();
  // Hides the start screen, shows `form` modally and shows the start screen
  // again (also when the form's activation fails).
  void ShowFunctionForm(ui::Form& form);
  // Runs the function of a node; true when a function form was shown (the
  // start screen then refreshes itself).
  bool RunFunction(TreeFunction function);
  // The report form, again after each freeze; false when it was not shown.
  bool ShowReportsWithClosing();
  bool RunYearEndClosing();
};

extern TStartscherm* Startscherm;

}  // namespace program
