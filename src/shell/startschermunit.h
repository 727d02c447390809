// The start screen: the program's main window with the function tree and
// the log-in panel.
#pragma once

#include <string>

#include "ui/form.h"

namespace shell {

// Root text of the function tree and first part of every form caption.
extern std::string ProductTitle;
// Rights that decide which functions the tree offers; all set until the
// first log-in.
extern bool RightEndUser, RightEndUserManager, RightSystemAdministrator;
extern std::string CurrentAdministrationCode;
extern std::string CurrentAdministrationName;

class TStartscherm : public ui::Form {
 public:
  TStartscherm();

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "&File"};
  ui::MenuItem Exit1{&File1, "Exit1", "E&xit"};
  ui::MenuItem Help1{&MainMenu1, "Help1", "&Help"};
  ui::MenuItem Info1{&Help1, "Info1", "&Info"};
  ui::MenuItem About1{&Help1, "About1", "&About"};

  ui::Panel Body{this, "Body", ui::LayoutKind::Horizontal};
  ui::TreeView TreeView1{&Body, "TreeView1"};
  ui::Panel Side{&Body, "Side"};
  ui::Label Label5{&Side, "Label5"};

  // Log-in panel.
  ui::Panel Panel1{&Side, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label4{&Panel1, "Label4", "Log in"};
  ui::Label Label3{&Panel1, "Label3", "User id"};
  ui::Edit Edit2{&Panel1, "Edit2"};
  ui::Label Label6{&Panel1, "Label6", "Password"};
  ui::Edit Edit3{&Panel1, "Edit3"};
  ui::Label Label7{&Panel1, "Label7", "Administration"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1", ui::ComboStyle::DropDownList};
  ui::Button Button1{&Panel1, "Button1", "OK"};
  ui::Button Button2{&Panel1, "Button2", "Cancel"};
  ui::Edit Edit4{&Panel1, "Edit4"};

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  void FormCreate();
  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void Button2Click();
  void Exit1Click();

 private:
  bool activatedOnce_ = false;
};

extern TStartscherm* Startscherm;

}  // namespace shell
