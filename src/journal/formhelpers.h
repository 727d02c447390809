// Small readings the journal form and its pages share: the amount decimals
// of the settings in use, a partner's address as one line, and the item
// texts of a list box. Plain inline functions, no state.
#pragma once

#include <string>
#include <vector>

#include "records/partnerrec.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "ui/controls.h"

namespace journal {

// The number of decimals amounts are shown and rounded with.
inline int Decimals() { return text::SystemSettings.AmountDecimals; }

// "address, town" of a partner, without the blanks the fields end in.
inline std::string AddressOf(const records::PartnerRec& p) {
  return text::TrimTrailingBlanks(p.Address()) + ", " + text::TrimTrailingBlanks(p.Town());
}

// The texts of a list box's items, in their order.
inline std::vector<std::string> ItemTexts(const ui::ComboBox& box) {
  std::vector<std::string> texts;
  for (const auto& item : box.Items()) texts.push_back(item.text);
  return texts;
}

}  // namespace journal
