// The partner form's two details tabs: the partner's name, addresses and
// contacts (details 1), and its contacts, bank, tax number, terms and
// default GL accounts with the account picker (details 2).
//
// Rules the page keeps:
// - The kind is the kind list's item index, never its text.
// - Program writes into the filtered edits (WriteField, showing and
//   clearing a partner) never pass the filters; the user's typing does (the
//   credit limit by the amount filter, the rates without a limit of
//   decimals, the day fields to digits).
// - An account edit shows the picker item of exactly its stored number; a
//   number no account has is shown as it stands (yellow) and kept.
// - The checks before a Save mark the fields they find wanting and say
//   what is wrong; they open no file.
// - The page holds only its own components; the search criteria, the
//   loaded partner, the other tabs and the status bar are the form's
//   (unitpartners.h), which binds the page's events.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "books/partners/partnerrules.h"
#include "books/partners/partnerstore.h"
#include "records/partnerrec.h"
#include "ui/form.h"

namespace masterdata {

// A kind box's item for its text: the selected item while its text still
// matches, else the first item equal to it ignoring case; -1 when none is.
int KindItemOf(const ui::ComboBox& box);

struct PartnerDetailsPage {
  explicit PartnerDetailsPage(ui::Container* tabs);

  ui::Container* const tabs;
  // ---- tab 0: details 1
  ui::Panel Panel1{tabs, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label26{&Panel1, "Label26"};
  ui::Edit Edit26{&Panel1, "Edit26"};  // our number
  ui::Label Label1{&Panel1, "Label1"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1", ui::ComboStyle::DropDown};  // kind
  ui::Label Label2{&Panel1, "Label2"};
  ui::Edit Edit1{&Panel1, "Edit1"};  // name
  ui::Label Label27{&Panel1, "Label27"};
  ui::Edit Edit27{&Panel1, "Edit27"};  // their number
  ui::Label Label3{&Panel1, "Label3"};
  ui::Edit Edit2{&Panel1, "Edit2"};  // address
  ui::Label Label55{&Panel1, "Label55"};
  ui::Edit Edit55{&Panel1, "Edit55"};  // second address line
  ui::Label Label4{&Panel1, "Label4"};
  ui::Edit Edit3{&Panel1, "Edit3"};  // zip code
  ui::Label Label5{&Panel1, "Label5"};
  ui::Edit Edit4{&Panel1, "Edit4"};  // town
  ui::Label Label8{&Panel1, "Label8"};
  ui::Edit Edit8{&Panel1, "Edit8"};  // region
  ui::Label Label9{&Panel1, "Label9"};
  ui::Edit Edit9{&Panel1, "Edit9"};  // country
  ui::Label Label10{&Panel1, "Label10"};
  ui::Edit Edit10{&Panel1, "Edit10"};  // telephone
  ui::Label Label11{&Panel1, "Label11"};
  ui::Edit Edit11{&Panel1, "Edit11"};  // fax
  ui::Label Label12{&Panel1, "Label12"};
  ui::Edit Edit12{&Panel1, "Edit12"};  // e-mail
  ui::Label Label13{&Panel1, "Label13"};
  ui::Edit Edit13{&Panel1, "Edit13"};  // website
  ui::CheckBox CheckBox1{&Panel1, "CheckBox1"};  // correspondence address
  ui::Label Label56{&Panel1, "Label56"};
  ui::Label Label15{&Panel1, "Label15"};
  ui::Edit Edit5{&Panel1, "Edit5"};  // correspondence address
  ui::Label Label16{&Panel1, "Label16"};
  ui::Edit Edit6{&Panel1, "Edit6"};  // correspondence zip code
  ui::Label Label17{&Panel1, "Label17"};
  ui::Edit Edit7{&Panel1, "Edit7"};  // correspondence town
  ui::Label Label18{&Panel1, "Label18"};
  ui::Edit Edit56{&Panel1, "Edit56"};  // correspondence state
  ui::Label Label19{&Panel1, "Label19"};
  ui::Edit Edit57{&Panel1, "Edit57"};  // correspondence country
  ui::CheckBox CheckBox4{&Panel1, "CheckBox4"};  // relationship suspended
  ui::DatePicker DateTimePicker1{&Panel1, "DateTimePicker1"};
  ui::Label Label53{&Panel1, "Label53"};
  ui::Edit Edit53{&Panel1, "Edit53"};  // changed by
  ui::Label Label54{&Panel1, "Label54"};
  ui::Edit Edit54{&Panel1, "Edit54"};  // changed at

  // ---- tab 1: details 2
  ui::Panel Panel2{tabs, "Panel2", ui::LayoutKind::Horizontal};
  ui::Panel Panel8{&Panel2, "Panel8", ui::LayoutKind::Grid};
  ui::Label Label43{&Panel8, "Label43"};
  ui::Edit Edit43{&Panel8, "Edit43"};  // contact 1 name
  ui::Label Label46{&Panel8, "Label46"};
  ui::Edit Edit46{&Panel8, "Edit46"};  // contact 1 phone
  ui::Label Label47{&Panel8, "Label47"};
  ui::Edit Edit47{&Panel8, "Edit47"};  // contact 1 comment
  ui::Label Label44{&Panel8, "Label44"};
  ui::Edit Edit44{&Panel8, "Edit44"};  // contact 2 name
  ui::Label Label45{&Panel8, "Label45"};
  ui::Edit Edit45{&Panel8, "Edit45"};  // contact 2 phone
  ui::Label Label48{&Panel8, "Label48"};
  ui::Edit Edit48{&Panel8, "Edit48"};  // contact 2 comment
  ui::Label Label20{&Panel8, "Label20"};
  ui::Edit Edit20{&Panel8, "Edit20"};  // bank account
  ui::Label Label41{&Panel8, "Label41"};
  ui::Edit Edit41{&Panel8, "Edit41"};  // account holder
  ui::Label Label21{&Panel8, "Label21"};
  ui::Edit Edit21{&Panel8, "Edit21"};  // sales-tax number
  ui::CheckBox CheckBox5{&Panel8, "CheckBox5"};  // the tax number was verified
  ui::DatePicker DateTimePicker2{&Panel8, "DateTimePicker2"};
  ui::Label Label23{&Panel8, "Label23"};
  ui::Edit Edit23{&Panel8, "Edit23"};  // BI feature 1
  ui::Label Label25{&Panel8, "Label25"};
  ui::Edit Edit25{&Panel8, "Edit25"};  // BI feature 2
  ui::Label Label22{&Panel8, "Label22"};
  ui::Edit Edit22{&Panel8, "Edit22"};  // free item 1
  ui::Label Label24{&Panel8, "Label24"};
  ui::Edit Edit24{&Panel8, "Edit24"};  // free item 2
  ui::Label Label14{&Panel8, "Label14"};
  ui::Memo Memo1{&Panel8, "Memo1"};

  ui::Panel Panel9{&Panel2, "Panel9", ui::LayoutKind::Vertical};
  ui::Panel Panel10{&Panel9, "Panel10", ui::LayoutKind::Grid};
  ui::Label Label65{&Panel10, "Label65"};
  ui::Edit Edit32{&Panel10, "Edit32"};  // credit limit
  ui::Label Label37{&Panel10, "Label37"};
  ui::Edit Edit37{&Panel10, "Edit37"};  // discount days
  ui::Label Label38{&Panel10, "Label38"};
  ui::Edit Edit38{&Panel10, "Edit38"};  // discount rate
  ui::Label Label39{&Panel10, "Label39"};
  ui::Edit Edit39{&Panel10, "Edit39"};  // payment term in days
  ui::Label Label40{&Panel10, "Label40"};
  ui::Edit Edit40{&Panel10, "Edit40"};  // penalty rate
  ui::GroupBox GroupBox2{&Panel9, "GroupBox2", {}, ui::LayoutKind::Grid};  // default GL accounts
  ui::Label Label34{&GroupBox2, "Label34"};
  ui::Edit Edit34{&GroupBox2, "Edit34"};  // group account
  ui::Label Label35{&GroupBox2, "Label35"};
  ui::Edit Edit35{&GroupBox2, "Edit35"};  // sales/cost account 1
  ui::Label Label36{&GroupBox2, "Label36"};
  ui::Edit Edit36{&GroupBox2, "Edit36"};  // sales/cost account 2
  ui::Label Label58{&GroupBox2, "Label58"};
  ui::Edit Edit58{&GroupBox2, "Edit58"};  // sales/cost account 3
  ui::Label Label66{&GroupBox2, "Label66"};
  ui::Edit Edit31{&GroupBox2, "Edit31"};  // sales tax 1
  ui::Label Label67{&GroupBox2, "Label67"};
  ui::Edit Edit33{&GroupBox2, "Edit33"};  // sales tax 2
  ui::Label Label49{&GroupBox2, "Label49"};
  ui::Edit Edit49{&GroupBox2, "Edit49"};  // cash discount
  // The GL-account picker, shown for the account edit entered.
  ui::Label Label50{&GroupBox2, "Label50"};
  ui::ComboBox ComboBox6{&GroupBox2, "ComboBox6", ui::ComboStyle::DropDown};
  ui::Button Button12{&GroupBox2, "Button12"};  // default accounts

  // ---- handlers
  // Button12: the account edits from the default accounts of the kind
  // (entries 1..15 by function).
  void FillDefaultAccounts(const std::array<std::string, 16>& defaults);
  void AccountEditEnter(int editIndex);
  void ComboBox6Exit();
  void ComboBox1Change();
  void CheckBox4Click();
  void CheckBox5Click();
  void CreditLimitChange();
  void RateChange(ui::Edit& edit);
  void DaysChange(ui::Edit& edit);

  void ApplyTexts();
  // The kinds' items; the selected item stays.
  void SetKindItems(const std::vector<std::string>& kinds);
  // The kind's item index, and setting it.
  int KindIndex() const { return ComboBox1.ItemIndex(); }
  void SetKindIndex(int kind) { ComboBox1.SetItemIndex(kind); }
  // The kind box open for a choice or not.
  void SetKindEnabled(bool enabled);
  // Leaving the kind box: its text taken as an item (-1: none, the text
  // emptied); returns the item.
  int TakeTypedKind();
  // The name, the address and the town as typed.
  std::string Name() const { return Edit1.GetText(); }
  std::string Address() const { return Edit2.GetText(); }
  std::string Town() const { return Edit4.GetText(); }

  // The seven account edits in the order of the default functions (group,
  // sales/cost 1..3, sales tax 1..2, cash discount).
  std::array<ui::Edit*, 7> AccountEdits();
  // A new showing: no program write pending, the picker hidden.
  void ResetForShowing();
  // The picker's items from `accounts`, the profit account's item chosen.
  void SetPickerAccounts(const std::vector<books::partners::PickerAccount>& accounts,
                         const std::string& profitAccount);
  const std::vector<std::string>& PickerList() const { return pickerItems_; }
  int PickerTarget() const { return pickerTarget_; }

  // Writes an edit as the program: no input filter runs.
  void WriteField(ui::Edit& edit, const std::string& text);
  // A payment's name (also as account holder) and bank account.
  void FillFromPayment(const std::string& name, const std::string& bankAccount);
  // Empties the fields; `keepCallerFields` keeps the name, bank account and
  // account holder a caller filled in. The payment terms keep their values.
  void Clear(bool keepCallerFields);
  // `p` into the fields: its kind chosen in the kind box, whose lock is the
  // form's.
  void ShowRecord(const records::PartnerRec& p);
  // The fields as a record (`figures` checked before); a `loaded` partner
  // keeps its number and company name.
  records::PartnerRec Read(const books::partners::PartnerFigures& figures,
                           const std::optional<books::partners::FoundPartner>& loaded) const;

  // ---- the checks before a Save and what it shows after
  // The kind and the two required accounts: nullopt, the missing ones
  // yellow, when one is missing.
  std::optional<books::partners::PartnerKind> CheckRequired();
  struct CheckedFigures {
    std::optional<books::partners::PartnerFigures> figures;
    std::string error;  // names the field that holds no number
  };
  CheckedFigures CheckFigures();
  // Whether the number edit waits for a typed start value.
  bool StartValueOpen() const { return Edit26.Enabled(); }
  // The typed start value; nullopt (the edit yellow) when it is none.
  std::optional<std::int32_t> TypedStartValue();
  // The number edit opened for the start value, and focused.
  void OpenStartValue();
  void FocusStartValue() { Edit26.SetFocus(); }
  // The number edit emptied and closed.
  void CloseStartValue();
  // The number and the change stamp of the partner saved.
  void ShowSaved(const records::PartnerRec& saved);

 private:
  void LayOut();
  void ShowAccountEdit(ui::Edit& edit, const std::string& stored);

  std::vector<std::string> pickerItems_;
  int pickerTarget_ = -1;
  std::string pickerEntered_;
  bool programWrite_ = false;
};

}  // namespace masterdata
