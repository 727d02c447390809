// The partner form's finance tab: the invoices and payments of the partner
// shown, with the totals and the invoiced amounts of the current and the
// previous book year (the figures of partnerfinance.h).
//
// Rules the page keeps:
// - It keeps the figures it shows and the partner (kind and number) they
//   were computed for; the form asks it whether that partner changed.
// - Its edits only display; the name edit follows the details' name edit.
// - The page holds only its own components; the form (unitpartners.h) reads
//   the files, hands it the figures and the partner's name and address, and
//   binds its events.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "books/partners/partnerfinance.h"
#include "ui/form.h"

namespace masterdata {

// The partner the figures belong to: kind item index and our number.
using PartnerFinanceKey = std::pair<int, std::int32_t>;

// What the finance tab names the partner by.
struct PartnerHeading {
  std::string name, address, town;
};

struct PartnerFinancePage {
  explicit PartnerFinancePage(ui::Container* tabs);

  ui::Container* const tabs;
  ui::Panel Panel3{tabs, "Panel3"};
  ui::Panel Panel12{&Panel3, "Panel12", ui::LayoutKind::Grid};
  ui::Label Label70{&Panel12, "Label70"};
  ui::Edit Edit15{&Panel12, "Edit15"};  // the name the figures belong to
  ui::Label Label71{&Panel12, "Label71"};
  ui::Edit Edit16{&Panel12, "Edit16"};  // its address
  ui::Label Label72{&Panel12, "Label72"};
  ui::Edit Edit17{&Panel12, "Edit17"};  // its town
  ui::Panel Panel13{&Panel3, "Panel13", ui::LayoutKind::Horizontal};
  ui::Label Label61{&Panel13, "Label61"};  // book year and last closed period
  ui::Button Button11{&Panel13, "Button11"};  // compute the figures again
  ui::Label Label73{&Panel3, "Label73"};
  ui::StringGrid StringGrid2{&Panel3, "StringGrid2", 6, 2};  // invoices
  ui::Label Label74{&Panel3, "Label74"};
  ui::StringGrid StringGrid3{&Panel3, "StringGrid3", 5, 2};  // payments
  ui::Panel Panel14{&Panel3, "Panel14", ui::LayoutKind::Grid};
  ui::Label Label75{&Panel14, "Label75"};
  ui::Edit Edit18{&Panel14, "Edit18"};  // total owing
  ui::Label Label62{&Panel14, "Label62"};  // the current book year
  ui::Edit Edit51{&Panel14, "Edit51"};  // invoiced in the current book year
  ui::Label Label76{&Panel14, "Label76"};
  ui::Edit Edit19{&Panel14, "Edit19"};  // unbooked payments
  ui::Label Label63{&Panel14, "Label63"};  // the previous book year
  ui::Edit Edit52{&Panel14, "Edit52"};  // invoiced in the previous book year
  ui::Label Label77{&Panel14, "Label77"};
  ui::Edit Edit50{&Panel14, "Edit50"};  // balance due

  void ApplyTexts();
  // The year labels: "<current>: " and "<previous>: ".
  void SetYearLabels(const std::string& current, const std::string& previous);
  // The current year's label as it stands.
  std::string CurrentYearCaption() const { return Label62.Caption(); }
  // The name the figures belong to.
  void ShowName(const std::string& name);
  // No figures and no partner they belong to.
  void Clear();
  // Keeps `key` as the partner the tab shows; false when it already was.
  bool TakeKey(const std::optional<PartnerFinanceKey>& key);
  // Forgets the partner, so that the next showing computes again.
  void ForgetKey() { key_.reset(); }
  // Shows `figures` of the partner `key` under `heading`, the period label
  // and the owing column's heading as given.
  void Show(books::partners::PartnerFinance figures, const PartnerFinanceKey& key, const PartnerHeading& heading,
            const std::string& periodLabel, const std::string& owingHeading);
  // The figures shown.
  const books::partners::PartnerFinance& Figures() const { return finance_; }

 private:
  void LayOut();
  void ShowInvoices();
  void ShowPayments();

  std::optional<PartnerFinanceKey> key_;
  books::partners::PartnerFinance finance_;
};

}  // namespace masterdata
