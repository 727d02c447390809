// The fixed-assets form: records an asset number, a GL account and a
// description per asset in "fixed.vlk" (books/administration/fixedassetstore.h), in
// asset-number order. No function of the tree offers it; the main block
// creates it with the others.
//
// The activation empties the fields and fills the account list with the
// administration's GL accounts, each "number{caption}"; a typed account
// text is kept only when it equals an item ignoring case (it then becomes
// that item). Save stores the chosen item's whole text, cut to 60, and
// shows it again as stored. An empty asset number is refused before any
// file opens, a number already in the file is refused with the file
// unchanged; both in panel 0 of the status bar.
//
// Only what the record stores is offered: the details tab with those three
// fields. The purchase price, book value, depreciation and the other fields
// no routine stores are hidden, with the depreciation and list tabs, so
// that nothing typed is silently lost. Every text follows the language
// (the program's own texts in English, Dutch and German: the language file
// has none for this form).
#pragma once

#include <string>

#include "ui/form.h"

namespace masterdata {

// The form's messages in the current language.
std::string MsgAssetNumberExists();
std::string MsgAssetNumberEmpty();
std::string MsgAssetSaved();
std::string MsgFixedAssetFileDamaged();

class TFixedassetsform : public ui::Form {
 public:
  TFixedassetsform();

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem Bestand1{&MainMenu1, "Bestand1", "File"};
  ui::MenuItem Afsluiten1{&Bestand1, "Afsluiten1", "Close"};

  ui::TabControl TabControl1{this, "TabControl1"};
  // The details.
  ui::Panel Panel1{&TabControl1, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label2{&Panel1, "Label2", "Asset number"};
  ui::Edit Edit2{&Panel1, "Edit2"};
  ui::Label Label3{&Panel1, "Label3", "GL account"};
  ui::ComboBox ComboBox2{&Panel1, "ComboBox2"};
  ui::Label Label4{&Panel1, "Label4", "Description"};
  ui::Edit Edit4{&Panel1, "Edit4"};
  // Fields no routine stores: hidden.
  ui::Edit Edit5{&Panel1, "Edit5"};
  ui::Edit Edit6{&Panel1, "Edit6"};
  ui::Edit Edit7{&Panel1, "Edit7"};
  ui::Edit Edit8{&Panel1, "Edit8"};
  ui::Edit Edit10{&Panel1, "Edit10"};
  ui::Edit Edit11{&Panel1, "Edit11"};
  ui::Edit Edit12{&Panel1, "Edit12"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1"};
  ui::DatePicker DateTimePicker1{&Panel1, "DateTimePicker1"};
  ui::CheckBox CheckBox1{&Panel1, "CheckBox1"};
  ui::Memo Memo1{&Panel1, "Memo1"};
  // The depreciation and list tabs: hidden.
  ui::Panel Panel2{&TabControl1, "Panel2"};
  ui::Panel Panel3{&TabControl1, "Panel3"};
  ui::Panel ButtonPanel{this, "ButtonPanel", ui::LayoutKind::Horizontal};
  ui::Button Button5{&ButtonPanel, "Button5", "Save"};
  ui::StatusBar StatusBar1{this, "StatusBar1"};

  void FormActivate();
  void FormKeyPress(char& key);
  // Tab 0 shows the details panel, 1 the depreciation one, any other the
  // list one (only the details tab is offered).
  void TabControl1Change();
  void Button5Click();
  void ComboBox1Exit();
  // The account text: an item's text ignoring case becomes that item, an
  // item's text cut to 60 (as stored) stays, anything else is cleared.
  void ComboBox2Exit();
  void Afsluiten1Click();
  void ApplyLanguageTexts();
};

extern TFixedassetsform* Fixedassetsform;

}  // namespace masterdata
