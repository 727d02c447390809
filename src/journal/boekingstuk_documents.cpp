// The journal form's routines that the invoice tabs (2 and 3) and the
// payment tabs (5 and 6) share: storing with every journal in reach, a
// booked document's own voucher, the head of a proposed voucher, the list
// pages and what a refused store or delete says.
#include <algorithm>

#include "formkit/filesetscope.h"
#include "journal/boekingstuk.h"
#include "text/builtintext.h"
#include "text/textroutines.h"

namespace journal {

using text::BuiltInText;
using text::Cut;

void Tboeking::StoreWithAllJournals(void (Tboeking::*store)()) {
  StatusBar1.Show("", ui::colors::Default);
  const bool all = CheckBox12.Checked();
  CheckBox12.SetChecked(true);
  (this->*store)();
  CheckBox12.SetChecked(all);
}

bool Tboeking::ShowDocumentVoucher(const books::journal::StoreResult& found) {
  if (found.outcome == books::journal::StoreOutcome::FileSetFailed) {
    formkit::ReportFileSetError(found.failure);
    return true;
  }
  if (!found.Ok() || !found.voucher) return false;
  ShowVoucher(*found.voucher);
  SelectTab(books::journal::TabVoucher);
  return true;
}

void Tboeking::ShowProposalHead(const books::journal::VoucherLink& link, const books::journal::VoucherPartner& partner,
                                const std::string& number, const std::string& entryNumber, const std::string& memo,
                                const std::string& date, bool invoice) {
  Edit3.SetText(number);
  Edit123.SetText(Cut(text::TrimTrailingBlanks(entryNumber), 15));
  Edit116.SetText(Cut(text::TrimTrailingBlanks(memo), 50));
  link_ = link;
  partner_ = partner;
  mode_ = books::journal::EntryMode::Add;
  ShowModeCaption();
  ShowDocumentHeader(partner.kind, partner.number, date + "/" + Edit3.GetText(), invoice);
  DateTimePicker2.SetEnabled(false);
  Edit3.SetEnabled(false);
}

void Tboeking::GoToProposal() {
  SelectTab(books::journal::TabVoucher);
  RecalcTotals();
  if (Button5.Reachable()) Button5.SetFocus();
}

void Tboeking::ShowListPage(ui::StringGrid& grid, ui::Action& choose, ui::Button& previous, ui::Button& next,
                            const ListPage& page) {
  const int rows = static_cast<int>(page.cells.size());
  grid.SetRowCount(std::max(2, rows + 1));
  for (int c = 0; c < grid.ColCount(); ++c) grid.SetCell(c, 1, "");
  for (int r = 0; r < rows; ++r) {
    const std::vector<std::string>& cells = page.cells[static_cast<std::size_t>(r)];
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) grid.SetCell(c, r + 1, cells[static_cast<std::size_t>(c)]);
  }
  grid.SetEnabled(rows > 0);
  grid.SetRow(1);
  choose.SetEnabled(rows > 0);
  previous.SetVisible(page.hasPrevious);
  next.SetVisible(page.more);
  singleListRow_ = page.singleMatch;
  if (rows > 0) StatusBar1.Show("", ui::colors::SkyBlue);
  else StatusBar1.Show(page.emptyText, ui::colors::Lime);
}

void Tboeking::EmptyList(ui::StringGrid& grid, ui::Action& choose) {
  for (int r = 1; r < grid.RowCount(); ++r)
    for (int c = 0; c < grid.ColCount(); ++c) grid.SetCell(c, r, "");
  grid.SetRowCount(2);
  grid.SetEnabled(false);
  choose.SetEnabled(false);
}

namespace {

std::string DocumentRefusedText(books::journal::DocumentOutcome outcome, bool invoice) {
  switch (outcome) {
    case books::journal::DocumentOutcome::ChangedInAnotherCopy:
      return text::MsgChangedInAnotherCopy();
    case books::journal::DocumentOutcome::HasVoucher:
      return invoice ? BuiltInText("This invoice has its journal voucher; it is neither changed nor deleted",
                                   "Deze factuur is geboekt; ze wordt niet gewijzigd of verwijderd",
                                   "Diese Rechnung ist gebucht; sie wird weder geändert noch gelöscht")
                     : BuiltInText("This payment has its journal voucher; it is neither changed nor deleted",
                                   "Deze betaling is geboekt; ze wordt niet gewijzigd of verwijderd",
                                   "Diese Zahlung ist gebucht; sie wird weder geändert noch gelöscht");
    default:
      return invoice ? BuiltInText("This invoice is no longer in the file; nothing was written",
                                   "Deze factuur staat niet meer in het bestand; er is niets geschreven",
                                   "Diese Rechnung ist nicht mehr in der Datei; nichts wurde geschrieben")
                     : BuiltInText("This payment is no longer in the file; nothing was written",
                                   "Deze betaling staat niet meer in het bestand; er is niets geschreven",
                                   "Diese Zahlung ist nicht mehr in der Datei; nichts wurde geschrieben");
  }
}

}  // namespace

bool Tboeking::DocumentDone(books::journal::DocumentOutcome outcome, const store::FileSetFailure& failure,
                            bool invoice) {
  if (outcome == books::journal::DocumentOutcome::FileSetFailed) {
    formkit::ReportFileSetError(failure);
    return false;
  }
  if (outcome == books::journal::DocumentOutcome::Done) return true;
  StatusBar1.Show(DocumentRefusedText(outcome, invoice), ui::colors::Red);
  return false;
}

void Tboeking::ShowDate(ui::DatePicker& picker, const std::string& ymd) {
  if (!text::IsValidYmd(ymd)) return;
  const platform::TDateTime d = text::YmdToDate(ymd);
  const std::optional<platform::TDateTime> min = picker.MinDate();
  picker.SetMinDate(std::nullopt);
  picker.SetDate(d);
  if (min) picker.SetMinDate(std::min(*min, d));
}

}  // namespace journal
