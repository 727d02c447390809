#include "masterdata/partnerfinancepage.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "text/builtintext.h"
#include "text/languagetext.h"
#include "text/textroutines.h"

namespace masterdata {

using text::L;

namespace {

std::string Amount(double v) { return text::FormatAmount(v, -1, 'Y'); }

}  // namespace

PartnerFinancePage::PartnerFinancePage(ui::Container* tabsControl) : tabs(tabsControl) { LayOut(); }

void PartnerFinancePage::LayOut() {
  Panel3.SetBevel(false);
  Panel3.hints.stretch = 1;
  Panel12.gridColumns = 6;
  Panel12.SetBevel(false);
  Panel13.SetBevel(false);
  Panel14.gridColumns = 4;
  Panel14.SetBevel(false);
  for (ui::Edit* e : {&Edit15, &Edit16, &Edit17, &Edit18, &Edit19, &Edit50, &Edit51, &Edit52}) e->SetReadOnly(true);
  for (ui::Edit* e : {&Edit15, &Edit16, &Edit17}) e->hints.stretch = 1;
  Label61.SetBold(true);
  Label61.hints.stretch = 1;
  Button11.hints.width = 130;
  Label73.SetBold(true);
  Label74.SetBold(true);
  StringGrid2.hints.stretch = 2;
  StringGrid3.hints.stretch = 1;
  const std::array<int, 6> invoiceWidths = {40, 90, 90, 120, 130, 130};
  for (int c = 0; c < 6; ++c) StringGrid2.SetColWidth(c, invoiceWidths[static_cast<std::size_t>(c)]);
  const std::array<int, 5> paymentWidths = {40, 90, 120, 130, 90};
  for (int c = 0; c < 5; ++c) StringGrid3.SetColWidth(c, paymentWidths[static_cast<std::size_t>(c)]);
}

void PartnerFinancePage::ApplyTexts() {
  Label70.SetCaption(L(4830));
  Label71.SetCaption(L(4841));
  Label72.SetCaption(L(4873));
  Button11.SetCaption(text::BuiltInText(text::BuiltIn::Refresh));
  Label73.SetCaption(L(6043));
  Label74.SetCaption(L(6064));
  Label75.SetCaption(L(5980));
  Label76.SetCaption(L(6001));
  Label77.SetCaption(L(6022));
  const std::array<std::string, 6> invoiceHeads = {L(437),
                                                   text::BuiltInText(text::BuiltIn::BookDate),
                                                   text::BuiltInText(text::BuiltIn::InvoiceDate),
                                                   text::BuiltInText(text::BuiltIn::Invoice),
                                                   text::BuiltInText(text::BuiltIn::Amount),
                                                   L(5980)};
  for (int c = 0; c < 6; ++c) StringGrid2.SetCell(c, 0, invoiceHeads[static_cast<std::size_t>(c)]);
  const std::array<std::string, 5> paymentHeads = {
      L(437), text::BuiltInText(text::BuiltIn::ValueDate),
      text::BuiltInText(text::BuiltIn::Payment), text::BuiltInText(text::BuiltIn::Amount),
      text::BuiltInText(text::BuiltIn::Booked)};
  for (int c = 0; c < 5; ++c) StringGrid3.SetCell(c, 0, paymentHeads[static_cast<std::size_t>(c)]);
}

void PartnerFinancePage::SetYearLabels(const std::string& current, const std::string& previous) {
  Label62.SetCaption(current + ": ");
  Label63.SetCaption(previous + ": ");
}

void PartnerFinancePage::ShowName(const std::string& name) { Edit15.SetText(name); }

void PartnerFinancePage::Clear() {
  finance_ = books::partners::PartnerFinance{};
  for (ui::StringGrid* g : {&StringGrid2, &StringGrid3}) {
    g->SetRowCount(2);
    for (int c = 0; c < g->ColCount(); ++c) g->SetCell(c, 1, "");
  }
  for (ui::Edit* e : {&Edit15, &Edit16, &Edit17, &Edit18, &Edit19, &Edit50, &Edit51, &Edit52}) e->SetText("");
  key_.reset();
}

bool PartnerFinancePage::TakeKey(const std::optional<PartnerFinanceKey>& key) {
  if (key == key_) return false;
  key_ = key;
  return true;
}

void PartnerFinancePage::Show(books::partners::PartnerFinance figures, const PartnerFinanceKey& key,
                              const PartnerHeading& heading, const std::string& periodLabel,
                              const std::string& owingHeading) {
  finance_ = std::move(figures);
  key_ = key;
  Label61.SetCaption(periodLabel);
  StringGrid2.SetCell(5, 0, owingHeading);
  ShowInvoices();
  ShowPayments();
  Edit15.SetText(heading.name);
  Edit16.SetText(heading.address);
  Edit17.SetText(heading.town);
  Edit18.SetText(Amount(finance_.totalOwing));
  Edit19.SetText(Amount(finance_.unbookedPayments));
  Edit50.SetText(Amount(finance_.totalOwing - finance_.unbookedPayments));
  Edit51.SetText(Amount(finance_.CurrentYearInvoiced()));
  Edit52.SetText(Amount(finance_.PreviousYearInvoiced()));
}

void PartnerFinancePage::ShowInvoices() {
  const int invoices = static_cast<int>(finance_.invoices.size());
  StringGrid2.SetRowCount(std::max(2, invoices + 1));
  for (int c = 0; c < 6; ++c) StringGrid2.SetCell(c, 1, "");
  for (int r = 0; r < invoices; ++r) {
    const books::partners::FinanceInvoiceRow& row = finance_.invoices[static_cast<std::size_t>(r)];
    const std::array<std::string, 6> cells = {std::to_string(r + 1), row.voucherDate, row.invoiceDate,
                                              row.number, Amount(row.amount), Amount(row.owing)};
    for (int c = 0; c < 6; ++c) StringGrid2.SetCell(c, r + 1, cells[static_cast<std::size_t>(c)]);
  }
}

void PartnerFinancePage::ShowPayments() {
  const int payments = static_cast<int>(finance_.payments.size());
  StringGrid3.SetRowCount(std::max(2, payments + 1));
  for (int c = 0; c < 5; ++c) StringGrid3.SetCell(c, 1, "");
  for (int r = 0; r < payments; ++r) {
    const books::partners::FinancePaymentRow& row = finance_.payments[static_cast<std::size_t>(r)];
    const std::array<std::string, 5> cells = {std::to_string(r + 1), row.valueDate, std::to_string(row.number),
                                              Amount(row.amount), row.voucherCreated ? "true" : "false"};
    for (int c = 0; c < 5; ++c) StringGrid3.SetCell(c, r + 1, cells[static_cast<std::size_t>(c)]);
  }
}

}  // namespace masterdata
