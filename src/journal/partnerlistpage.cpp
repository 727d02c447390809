// The journal form's partner list (tab 4).
#include "journal/partnerlistpage.h"

#include <algorithm>

#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "text/builtintext.h"
#include "text/languagetext.h"

namespace journal {

using books::partners::PartnerKind;
using text::L;

namespace {

std::string PartnerNotFoundText(books::partners::PartnerOutcome outcome) {
  if (const int offset = books::partners::LanguageOffsetOf(outcome); offset != 0) return L(offset);
  return text::BuiltInText(text::BuiltIn::NoPartnerFound);
}

}  // namespace

void PartnerListPage::Bind() {
  Button12.OnClick = [this] { Button12Click(); };
  BitBtn1.OnClick = [this] { BitBtn1Click(); };
  BitBtn2.OnClick = [this] { BitBtn2Click(); };
  StringGrid1.OnDblClick = [this] { form.SelectPartnerRow.Execute(); };
}

void PartnerListPage::LayOut() {
  Panel24.SetBevel(false);
  StringGrid1.hints.stretch = 1;
  StringGrid1.hints.height = 260;
  BitBtn1.SetVisible(false);
  BitBtn2.SetVisible(false);
}

void PartnerListPage::ApplyTexts(const std::string& cancel, const std::vector<std::string>& heads) {
  Button12.SetCaption(cancel);
  for (int c = 0; c < static_cast<int>(heads.size()); ++c) StringGrid1.SetCell(c, 0, heads[c]);
}

void PartnerListPage::Search(books::journal::PartnerRequester requester, PartnerKind kind, const std::string& text) {
  requester_ = requester;
  kind_ = kind;
  criteria_ = CriteriaFor(requester, text);
  page_ = 0;
  const books::partners::PartnerPage page = books::partners::SearchPartners(kind, criteria_, 0);
  if (formkit::ReportFileFailure(page)) return;
  if (!page.Ok()) {
    // Nothing found: only the status says so; a typed amount or date stays.
    form.StatusBar1.Show(PartnerNotFoundText(page.outcome), ui::colors::Lime);
    return;
  }
  if (page.value->SingleMatch()) {
    const books::partners::PartnerResult found =
        books::partners::FindPartnerByNumber(kind, page.value->rows.front().number);
    if (formkit::ReportFileFailure(found)) return;
    if (!found.Ok()) return form.StatusBar1.Show(PartnerNotFoundText(found.outcome), ui::colors::Lime);
    form.TakePartner(requester, found.value->record);
    return;
  }
  ShowPage(0);
}

void PartnerListPage::ShowPage(int pageNumber) {
  const books::partners::PartnerPage page = books::partners::SearchPartners(kind_, criteria_, pageNumber);
  if (formkit::ReportFileFailure(page) || !page.value) return;
  page_ = page.value->page;
  rows_ = page.value->rows;
  const int rows = static_cast<int>(rows_.size());
  StringGrid1.SetRowCount(std::max(2, rows + 1));
  for (int c = 0; c < StringGrid1.ColCount(); ++c) StringGrid1.SetCell(c, 1, "");
  for (int r = 0; r < rows; ++r) {
    const books::partners::PartnerRow& p = rows_[static_cast<std::size_t>(r)];
    const std::vector<std::string> cells = {std::to_string(p.number), p.name, p.address, p.town, p.theirNumber,
                                            p.bankAccount};
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) StringGrid1.SetCell(c, r + 1, cells[c]);
  }
  StringGrid1.SetEnabled(rows > 0);
  StringGrid1.SetRow(1);
  form.SelectPartnerRow.SetEnabled(rows > 0);
  BitBtn1.SetVisible(page.value->HasPrevious());
  BitBtn2.SetVisible(page.value->more);
  Label80.SetCaption(form.PartnerKindText(static_cast<int>(kind_)));
  if (!page.Ok()) form.StatusBar1.Show(PartnerNotFoundText(page.outcome), ui::colors::Lime);
  form.SelectTab(books::journal::TabPartnerList);
}

void PartnerListPage::BitBtn1Click() { ShowPage(std::max(0, page_ - 1)); }
void PartnerListPage::BitBtn2Click() { ShowPage(page_ + 1); }

void PartnerListPage::Button11Click() {
  const int row = StringGrid1.Row();
  if (!requester_ || row < 1 || row > static_cast<int>(rows_.size())) return;
  const books::partners::PartnerResult found =
      books::partners::FindPartnerByNumber(kind_, rows_[static_cast<std::size_t>(row - 1)].number);
  if (formkit::ReportFileFailure(found)) return;
  if (!found.Ok()) return form.StatusBar1.Show(PartnerNotFoundText(found.outcome), ui::colors::Lime);
  const books::journal::PartnerRequester requester = *requester_;
  Button12Click();
  form.TakePartner(requester, found.value->record);
}

void PartnerListPage::Button12Click() {
  rows_.clear();
  for (int r = 1; r < StringGrid1.RowCount(); ++r)
    for (int c = 0; c < StringGrid1.ColCount(); ++c) StringGrid1.SetCell(c, r, "");
  StringGrid1.SetRowCount(2);
  StringGrid1.SetEnabled(false);
  form.SelectPartnerRow.SetEnabled(false);
  BitBtn1.SetVisible(false);
  BitBtn2.SetVisible(false);
  form.StatusBar1.Show("", ui::colors::Default);
  form.SelectTab(requester_ ? books::journal::TabOf(*requester_) : books::journal::TabInvoice);
}

}  // namespace journal
