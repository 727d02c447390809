// The journal form's template page (tab 1): the name of the template to
// save or delete, whether its amounts are kept, and the three buttons
// (templatepage.cpp).
//
// The voucher the template takes its lines from stays on the voucher tab,
// which shows (disabled) beside this page. The page reads the screen's
// lines, the template list's choice and the status bar only through
// `Tboeking`'s glue; the template file is src/books/journal/templatestore.h.
#pragma once

#include <string>

#include "books/journal/templatestore.h"
#include "ui/form.h"

namespace journal {

class Tboeking;

struct TemplatePage {
  TemplatePage(Tboeking& owner, ui::Container* tabs) : form(owner), tabs_(tabs) {}
  TemplatePage(const TemplatePage&) = delete;
  TemplatePage& operator=(const TemplatePage&) = delete;

  Tboeking& form;

 private:
  ui::Container* tabs_;

 public:
  ui::Panel Panel5{tabs_, "Panel5", ui::LayoutKind::Horizontal};
  ui::Label Label25{&Panel5, "Label25"};
  ui::Edit Edit2{&Panel5, "Edit2"};  // the template's name
  ui::GroupBox GroupBox1{&Panel5, "GroupBox1", "Incl. bedragen ?", ui::LayoutKind::Horizontal};
  ui::RadioButton RadioButton1{&GroupBox1, "RadioButton1", "123,45"};  // with the amounts
  ui::RadioButton RadioButton2{&GroupBox1, "RadioButton2", "    0,00"};
  ui::Button Button1{&Panel5, "Button1"};  // save template
  ui::Button Button2{&Panel5, "Button2"};  // delete template
  ui::Button Button3{&Panel5, "Button3"};  // cancel

  void LayOut();
  void ApplyTexts();
  // The tab is shown: the name field takes the template list's choice and
  // the focus.
  void Show();
  void Manage();  // template management: the tab with the list's choice
  void Cancel();  // back to the voucher tab
  void Save();    // the screen's lines under the typed name
  void Delete();  // the template of the typed name

 private:
  // After a template save or delete: a refusal is told (no name: red
  // status; the file set did not open: its message box) and nothing else
  // happens; otherwise the template button shows again and the voucher tab
  // comes back.
  bool ChangeDone(const books::journal::TemplateStatus& status);
};

}  // namespace journal
