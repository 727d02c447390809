#include "masterdata/partnerchartpage.h"

#include <cstddef>
#include <vector>

#include "text/builtintext.h"
#include "ui/application.h"

namespace masterdata {

PartnerChartPage::PartnerChartPage(ui::Container* tabsControl) : tabs(tabsControl) { LayOut(); }

// 18 series: slot s of style t is series 6t + s.
void PartnerChartPage::LayOut() {
  Panel4.SetBevel(false);
  Panel4.hints.stretch = 1;
  Chart1.hints.stretch = 1;
  Chart1.SetSeriesCount(books::partners::kFinanceStyles * books::partners::kFinanceSlots);
  const std::array<ui::Color, books::partners::kFinanceSlots> slotColours = {
      ui::colors::Lime,   ui::Color::Rgb(0, 0, 255),  ui::colors::Red, ui::Color::Rgb(255, 0, 255),
      ui::colors::Yellow, ui::Color::Rgb(0, 255, 255)};
  for (int t = 0; t < books::partners::kFinanceStyles; ++t)
    for (int slot = 0; slot < books::partners::kFinanceSlots; ++slot) {
      const int i = t * books::partners::kFinanceSlots + slot;
      Chart1.SetSeriesColor(i, slotColours[static_cast<std::size_t>(slot)]);
      Chart1.SetSeriesStyle(i, t == books::partners::StyleBars ? ui::SeriesStyle::Bar : ui::SeriesStyle::Line);
    }
  Chart1.SetAxisFont(10, true);
  Chart1.SetView3D(true);
  CheckBox6.SetChecked(true);
}

void PartnerChartPage::ApplyTexts() {
  ToolButton14.SetCaption(text::BuiltInText(text::BuiltIn::Bars));
  ToolButton5.SetCaption(text::BuiltInText(text::BuiltIn::Lines3));
  ToolButton7.SetCaption(text::BuiltInText(text::BuiltIn::RunningTotals));
  ToolButton13.SetCaption(text::BuiltInText(text::BuiltIn::Copy));
  ToolButton13.SetHint(text::BuiltInText(text::BuiltIn::CopyToClipboardBitmap));
  CheckBox6.SetCaption("3D");
}

std::array<ui::ToolButton*, books::partners::kFinanceStyles> PartnerChartPage::StyleButtons() {
  return {&ToolButton14, &ToolButton5, &ToolButton7};
}

std::array<ui::ToolButton*, books::partners::kFinanceSlots> PartnerChartPage::SlotToggles() {
  return {&ToolButton21, &ToolButton18, &ToolButton20, &ToolButton19, &ToolButton15, &ToolButton22};
}

void PartnerChartPage::SetSlotTitles(const std::array<std::string, books::partners::kFinanceSlots>& titles) {
  for (int t = 0; t < books::partners::kFinanceStyles; ++t)
    for (int slot = 0; slot < books::partners::kFinanceSlots; ++slot)
      Chart1.SetSeriesTitle(t * books::partners::kFinanceSlots + slot, titles[static_cast<std::size_t>(slot)]);
  for (int slot = 0; slot < books::partners::kFinanceSlots; ++slot)
    SlotToggles()[static_cast<std::size_t>(slot)]->SetCaption(titles[static_cast<std::size_t>(slot)]);
}

void PartnerChartPage::ShowSeries(const books::partners::FinanceSeries& series, const std::string& title) {
  for (int slot = 0; slot < books::partners::kFinanceSlots; ++slot)
    SlotToggles()[static_cast<std::size_t>(slot)]->SetDown(slot % 2 == 1);
  Chart1.SetTitle(title);
  Chart1.SetAxisFont(10, true);
  Chart1.SetView3D(true);
  {
    const bool was = programWrite_;
    programWrite_ = true;
    CheckBox6.SetChecked(true);
    programWrite_ = was;
  }
  for (int t = 0; t < books::partners::kFinanceStyles; ++t)
    for (int slot = 0; slot < books::partners::kFinanceSlots; ++slot) {
      const int i = t * books::partners::kFinanceSlots + slot;
      Chart1.ClearSeries(i);
      const std::vector<double>& values = series.values[static_cast<std::size_t>(t)][static_cast<std::size_t>(slot)];
      for (std::size_t p = 0; p < values.size(); ++p) Chart1.AddPoint(i, static_cast<double>(p + 1), values[p]);
    }
  StyleClick(books::partners::StyleBars);
}

void PartnerChartPage::StyleClick(int style) {
  for (int t = 0; t < books::partners::kFinanceStyles; ++t)
    StyleButtons()[static_cast<std::size_t>(t)]->SetDown(t == style);
  ApplyChartStyle();
}

void PartnerChartPage::ApplyChartStyle() {
  int style = books::partners::StyleBars;
  for (int t = 0; t < books::partners::kFinanceStyles; ++t)
    if (StyleButtons()[static_cast<std::size_t>(t)]->Down()) style = t;
  for (int t = 0; t < books::partners::kFinanceStyles; ++t)
    for (int slot = 0; slot < books::partners::kFinanceSlots; ++slot)
      Chart1.SetSeriesVisible(t * books::partners::kFinanceSlots + slot,
                              t == style && !SlotToggles()[static_cast<std::size_t>(slot)]->Down());
}

void PartnerChartPage::SlotToggleClick(int slot) {
  ui::ToolButton& toggle = *SlotToggles()[static_cast<std::size_t>(slot)];
  toggle.SetDown(!toggle.Down());
  ApplyChartStyle();
}

void PartnerChartPage::CheckBox6Click() {
  if (programWrite_) return;
  Chart1.SetView3D(CheckBox6.Checked());
}

void PartnerChartPage::ToolButton13Click() { ui::CopyImage(Chart1); }

}  // namespace masterdata
