// The journal form's template page (tab 1).
#include "journal/templatepage.h"

#include "books/journal/documentrules.h"
#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "text/languagetext.h"

namespace journal {

using text::L;

void TemplatePage::LayOut() {
  Panel5.SetBevel(false);
  Edit2.SetMaxLength(static_cast<int>(books::journal::kTemplateNameRoom));
  Edit2.hints.width = 280;
  RadioButton1.SetChecked(true);
}

void TemplatePage::ApplyTexts() { Label25.SetCaption(L(4033) + " " + L(3706)); }

void TemplatePage::Show() {
  Edit2.SetText(form.ChosenTemplateName());
  Edit2.SetFocus();
}

void TemplatePage::Manage() {
  form.ShowTemplateButton(false);
  RadioButton1.SetChecked(true);
  form.SelectTab(books::journal::TabTemplate);
  Edit2.SetText(form.ChosenTemplateName());
}

void TemplatePage::Cancel() {
  form.ShowTemplateButton(true);
  form.SelectTab(books::journal::TabVoucher);
  Edit2.SetText("");
}

bool TemplatePage::ChangeDone(const books::journal::TemplateStatus& status) {
  if (status.outcome == books::journal::TemplateOutcome::NameMissing) {
    form.StatusBar1.Show(L(10654), ui::colors::Red);
    return false;
  }
  if (formkit::ReportFileFailure(status)) return false;
  form.ShowTemplateButton(true);
  form.SelectTab(books::journal::TabVoucher);
  return true;
}

void TemplatePage::Save() {
  const books::journal::TemplateStatus status =
      books::journal::SaveTemplate(form.ScreenTemplate(Edit2.GetText()), RadioButton1.Checked());
  if (!ChangeDone(status)) return;
  form.LoadTemplateList();
  Edit2.SetText("");
}

void TemplatePage::Delete() {
  const books::journal::TemplateStatus status = books::journal::DeleteTemplate(Edit2.GetText());
  if (!ChangeDone(status)) return;
  form.TemplateDeleted();
  Edit2.SetText("");
  if (status.outcome == books::journal::TemplateOutcome::NotFound) form.ShowTemplateNotFound();
}

}  // namespace journal
