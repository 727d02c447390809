// The partner form's list tab: one page of up to 100 partners a search found,
// with the buttons to the page before and after, Select and empty.
//
// Rules the page keeps:
// - It keeps the page it shows; a row is known by its place in that page,
//   and its partner by the number the row carries.
// - The page buttons show exactly when the page has a page before it or
//   more after it; an empty list has its grid disabled.
// - The page holds only its own components; the search, the Select action
//   and the tabs are the form's (unitpartners.h), which binds its events.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "books/partners/partnerstore.h"
#include "ui/form.h"

namespace masterdata {

struct PartnerListPage {
  explicit PartnerListPage(ui::Container* tabs);

  // The list's columns.
  enum Column { ColNumber, ColName, ColAddress, ColTown, ColTheirNumber, ColBankAccount, ColumnCount };

  ui::Container* const tabs;
  ui::Panel Panel5{tabs, "Panel5"};
  ui::Label Label64{&Panel5, "Label64"};  // the kind listed
  ui::StringGrid StringGrid1{&Panel5, "StringGrid1", ColumnCount, 2};
  ui::Panel Panel11{&Panel5, "Panel11", ui::LayoutKind::Horizontal};
  ui::Button BitBtn1{&Panel11, "BitBtn1"};  // previous 100
  ui::Button BitBtn2{&Panel11, "BitBtn2"};  // next 100
  ui::Button Button3{&Panel11, "Button3"};  // Select
  ui::Button Button9{&Panel11, "Button9"};  // empty the list

  void ApplyTexts();
  // Empties the list (no page).
  void Clear();
  // Shows `page`, the kind it lists named `kindText`; returns its row count.
  int Show(const books::partners::PartnerRows& page, const std::string& kindText);
  // Hides the page buttons.
  void HidePaging();
  // The number of the partner in the selected row; nullopt when no row of
  // the page is selected.
  std::optional<std::int32_t> SelectedNumber() const;
  // The page shown.
  const books::partners::PartnerRows& Page() const { return page_; }

 private:
  void LayOut();

  books::partners::PartnerRows page_;
};

}  // namespace masterdata
