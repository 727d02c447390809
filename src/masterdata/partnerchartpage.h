// The partner form's graphics tab: a chart of the shown partner's figures in
// three styles (bars, lines, running totals) over six slots (invoiced, paid
// and open, each for the current and the previous book year).
//
// Rules the page keeps:
// - Slot s of style t is series 6t + s; one style shows at a time, and a
//   slot toggle pressed down hides its slot in every style.
// - The page holds only its own components; the form (unitpartners.h) hands
//   it the series, the titles and the chart title, and binds its events.
// - Program writes into the 3D box do not pass its click handler.
#pragma once

#include <array>
#include <string>

#include "books/partners/partnerfinance.h"
#include "ui/chart.h"
#include "ui/form.h"

namespace masterdata {

struct PartnerChartPage {
  explicit PartnerChartPage(ui::Container* tabs);

  ui::Container* const tabs;
  ui::Panel Panel4{tabs, "Panel4"};
  ui::ToolBar ToolBar2{&Panel4, "ToolBar2"};
  ui::ToolButton ToolButton14{&ToolBar2, "ToolButton14"};  // bars
  ui::ToolButton ToolButton5{&ToolBar2, "ToolButton5"};    // lines
  ui::ToolButton ToolButton7{&ToolBar2, "ToolButton7"};    // running totals
  ui::ToolButton ToolButton21{&ToolBar2, "ToolButton21"};  // slot 0: invoiced, current year
  ui::ToolButton ToolButton18{&ToolBar2, "ToolButton18"};  // slot 1: invoiced, previous year
  ui::ToolButton ToolButton20{&ToolBar2, "ToolButton20"};  // slot 2: paid, current year
  ui::ToolButton ToolButton19{&ToolBar2, "ToolButton19"};  // slot 3: paid, previous year
  ui::ToolButton ToolButton15{&ToolBar2, "ToolButton15"};  // slot 4: open, current year
  ui::ToolButton ToolButton22{&ToolBar2, "ToolButton22"};  // slot 5: open, previous year
  ui::ToolButton ToolButton13{&ToolBar2, "ToolButton13"};  // copy to the clipboard
  ui::CheckBox CheckBox6{&Panel4, "CheckBox6"};  // 3D
  ui::Chart Chart1{&Panel4, "Chart1"};

  // ---- handlers
  void StyleClick(int style);  // ToolButton14Click, ToolButton5Click, ToolButton7Click
  void SlotToggleClick(int slot);  // ToolButton21Click and its five twins
  void CheckBox6Click();  // 3D
  void ToolButton13Click();  // copy the chart

  // The style buttons by style and the slot toggles by slot.
  std::array<ui::ToolButton*, books::partners::kFinanceStyles> StyleButtons();
  std::array<ui::ToolButton*, books::partners::kFinanceSlots> SlotToggles();

  void ApplyTexts();
  // The titles of the slots: of their series in every style and of their
  // toggles.
  void SetSlotTitles(const std::array<std::string, books::partners::kFinanceSlots>& titles);
  // A partner's series under `title`: the current-year slots shown, the
  // previous-year ones hidden, 3D, in bars.
  void ShowSeries(const books::partners::FinanceSeries& series, const std::string& title);

 private:
  void LayOut();
  void ApplyChartStyle();

  bool programWrite_ = false;
};

}  // namespace masterdata
