#include "reports/paging.h"

#include "shell/textroutines.h"

namespace reports {

ResolvedReport ResolveReportPeriod(const std::string& reportText, const std::string& periodText,
                                   const records::AdminSettingsRec& settings,
                                   const std::vector<records::FreezeRec>& freezes) {
  ResolvedReport r;
  r.kind = reportText.empty() ? 0 : reportText[0];
  if (r.kind < '1' || r.kind > '4') return r;
  PeriodOrError p = ComputeReportPeriod(periodText, settings, freezes);
  r.period = std::move(p.period);
  r.error = std::move(p.error);
  return r;
}

std::optional<int> FindPartnerIndex(int count, std::int32_t number,
                                    const std::function<std::int32_t(int)>& numberAt) {
  if (count <= 0) return std::nullopt;
  const std::int64_t at = static_cast<std::int64_t>(number) - numberAt(0);
  if (at >= 0 && at < count && numberAt(static_cast<int>(at)) == number) return static_cast<int>(at);
  for (int i = 0; i < count; ++i)
    if (numberAt(i) == number) return i;
  return std::nullopt;
}

std::optional<int> FindPartnerIndex(const std::vector<records::PartnerRec>& partners, std::int32_t number) {
  return FindPartnerIndex(static_cast<int>(partners.size()), number,
                          [&partners](int i) { return partners[static_cast<std::size_t>(i)].OurNumber(); });
}

std::optional<records::PartnerRec> ReadPartnerByNumber(shell::FileCode file, std::int32_t number) {
  records::PartnerRec partner;
  const auto index = FindPartnerIndex(shell::RecordCount(file), number, [&](int i) {
    shell::ReadRecord(file, i, partner);
    return partner.OurNumber();
  });
  if (!index) return std::nullopt;
  shell::ReadRecord(file, *index, partner);
  return partner;
}

bool IsOpenInvoice(const records::InvoiceRec& invoice, char kind) {
  const std::string type = shell::TrimTrailingBlanks(invoice.PartnerType());
  return type == (kind == '5' ? "CUS" : "VEN") && invoice.InvoiceAmount() > invoice.PaidAmount();
}

namespace {

const std::vector<records::JournalVoucherRec> kNoLines;
const std::vector<records::InvoiceRec> kNoInvoices;

void NextGridRow(ReportLineState& s, const ReportLineSources& src) {
  if (src.kind == '2') s.prevGroupEnd = s.groupEnd;
  ++s.lineIndex;
  if (src.kind == '2' && src.grid && s.lineIndex >= 0 && static_cast<std::size_t>(s.lineIndex) < src.grid->size() &&
      (*src.grid)[static_cast<std::size_t>(s.lineIndex)][7] == kTotalRowMarker)
    s.groupEnd = true;
  if (s.lineIndex >= src.gridRowCount) s.endOfData = true;
  if (src.gridRowCount - 1 <= s.lineIndex) s.lastLine = true;
}

void NextJournalLine(ReportLineState& s, const ReportLineSources& src) {
  if (s.sideText == "credit") s.sideText.clear();
  const auto& lines = src.vouchers ? *src.vouchers : kNoLines;
  const std::string start = src.period ? src.period->start : std::string();
  const std::string end = src.period ? src.period->end : std::string();
  const bool anyJournal = src.journal == "*.*";
  s.lineFound = false;
  while (s.next < lines.size()) {
    const records::JournalVoucherRec& v = lines[s.next++];
    const std::string date = v.VoucherDate();
    if (date < start) continue;
    if (!(date < end || src.openPeriodChosen)) continue;
    if (!anyJournal && v.JournalName() != src.journal) continue;
    s.voucher = v;
    s.lineFound = true;
    if (v.BookNumber() == "! SYSTEM") s.sideText = s.sideText.empty() ? "debet" : "credit";
    break;
  }
  if (s.next >= lines.size()) s.endOfData = true;
}

void NextOpenInvoice(ReportLineState& s, const ReportLineSources& src) {
  s.lineFound = false;
  const auto& invoices = src.invoices ? *src.invoices : kNoInvoices;
  while (s.next < invoices.size()) {
    const records::InvoiceRec& inv = invoices[s.next++];
    if (!IsOpenInvoice(inv, src.kind)) continue;
    s.invoice = inv;
    s.lineFound = true;
    s.partnerName.clear();
    s.partnerNumber.clear();
    if (src.partner)
      if (auto p = src.partner(inv.PartnerNumber())) {
        s.partnerName = p->Name();
        s.partnerNumber = std::to_string(p->OurNumber());
      }
    return;
  }
  s.endOfData = true;
}

}  // namespace

void NextReportLine(ReportLineState& state, const ReportLineSources& sources) {
  state.lineFound = true;
  switch (sources.kind) {
    case '1':
    case '2': NextGridRow(state, sources); break;
    case '4': NextJournalLine(state, sources); break;
    case '5':
    case '6': NextOpenInvoice(state, sources); break;
    default: state.lineFound = false; break;
  }
}

}  // namespace reports
