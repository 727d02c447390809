#include "masterdata/partnerlistpage.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "platform/cp1252.h"
#include "text/builtintext.h"
#include "text/languagetext.h"

namespace masterdata {

using text::L;

PartnerListPage::PartnerListPage(ui::Container* tabsControl) : tabs(tabsControl) { LayOut(); }

void PartnerListPage::LayOut() {
  Panel5.SetBevel(false);
  Panel5.hints.stretch = 1;
  Label64.SetBold(true);
  StringGrid1.hints.stretch = 1;
  const std::array<int, ColumnCount> widths = {80, 220, 200, 140, 110, 150};
  for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetColWidth(c, widths[static_cast<std::size_t>(c)]);
  Panel11.SetBevel(false);
  for (ui::Button* b : {&BitBtn1, &BitBtn2, &Button3, &Button9}) b->hints.width = 120;
  BitBtn1.SetVisible(false);
  BitBtn2.SetVisible(false);
}

void PartnerListPage::ApplyTexts() {
  Label64.SetCaption(L(5786));
  StringGrid1.SetCell(ColNumber, 0, L(4793));
  StringGrid1.SetCell(ColName, 0, L(4830));
  StringGrid1.SetCell(ColAddress, 0, L(4841));
  StringGrid1.SetCell(ColTown, 0, L(4873));
  StringGrid1.SetCell(ColTheirNumber, 0, L(4809));
  StringGrid1.SetCell(ColBankAccount, 0, L(5006));
  BitBtn1.SetCaption(text::BuiltInText(text::BuiltIn::Previous100));
  BitBtn2.SetCaption(text::BuiltInText(text::BuiltIn::Next100));
  Button9.SetCaption(text::BuiltInText(text::BuiltIn::EmptyTheList));
}

void PartnerListPage::Clear() {
  page_ = books::partners::PartnerRows{};
  StringGrid1.SetRowCount(2);
  for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetCell(c, 1, "");
  StringGrid1.SetRow(1);
  StringGrid1.SetEnabled(false);
  HidePaging();
}

void PartnerListPage::HidePaging() {
  BitBtn1.SetVisible(false);
  BitBtn2.SetVisible(false);
}

int PartnerListPage::Show(const books::partners::PartnerRows& page, const std::string& kindText) {
  page_ = page;
  const int n = static_cast<int>(page.rows.size());
  Label64.SetCaption(L(5786) + ": " + kindText);
  StringGrid1.SetRowCount(std::max(2, n + 1));
  for (int r = 0; r < n; ++r) {
    const books::partners::PartnerRow& row = page.rows[static_cast<std::size_t>(r)];
    const std::array<std::string, ColumnCount> cells = {std::to_string(row.number), row.name,        row.address,
                                                        row.town,                   row.theirNumber, row.bankAccount};
    for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetCell(c, r + 1, cells[static_cast<std::size_t>(c)]);
  }
  if (n == 0)
    for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetCell(c, 1, "");
  StringGrid1.SetRow(1);
  BitBtn1.SetVisible(page.HasPrevious());
  BitBtn2.SetVisible(page.more);
  StringGrid1.SetEnabled(n > 0);
  return n;
}

std::optional<std::int32_t> PartnerListPage::SelectedNumber() const {
  const int row = StringGrid1.Row();
  if (row < 1 || row > static_cast<int>(page_.rows.size())) return std::nullopt;
  return page_.rows[static_cast<std::size_t>(row - 1)].number;
}

}  // namespace masterdata
