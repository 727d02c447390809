#include "books/reporting/paging.h"

#include "platform/datetime.h"
#include "platform/errors.h"
#include "records/documentkind.h"
#include "books/closing/balancerule.h"
#include "text/textroutines.h"

namespace books::reporting {

ResolvedReport ResolveReportPeriod(const std::string& reportText, const std::string& periodText,
                                   const records::AdminSettingsRec& settings,
                                   const std::vector<records::FreezeRec>& freezes) {
  ResolvedReport r;
  r.kind = reportText.empty() ? 0 : reportText[0];
  if (r.kind < '1' || r.kind > '4') return r;
  books::closing::PeriodOrError p = books::closing::ComputeReportPeriod(periodText, settings, freezes);
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

std::optional<records::PartnerRec> ReadPartnerByNumber(store::FileCode file, std::int32_t number) {
  records::PartnerRec partner;
  const auto index = FindPartnerIndex(store::RecordCount(file), number, [&](int i) {
    store::ReadRecord(file, i, partner);
    return partner.OurNumber();
  });
  if (!index) return std::nullopt;
  store::ReadRecord(file, *index, partner);
  return partner;
}

bool IsOpenInvoice(const records::InvoiceRec& invoice, char kind) {
  const records::DocumentKind listed = kind == '5' ? records::DocumentKind::Customer : records::DocumentKind::Vendor;
  return records::DocumentKindOf(invoice.PartnerType()) == listed && invoice.InvoiceAmount() > invoice.PaidAmount();
}

namespace {

const std::vector<records::JournalVoucherRec> kNoLines;
const std::vector<records::InvoiceRec> kNoInvoices;

void NextGridRow(ReportLineState& s, const ReportLineSources& src) {
  if (src.kind == '2') s.prevGroupEnd = s.groupEnd;
  ++s.lineIndex;
  if (src.kind == '2' && src.grid && s.lineIndex >= 0 && static_cast<std::size_t>(s.lineIndex) < src.grid->size() &&
      (*src.grid)[static_cast<std::size_t>(s.lineIndex)][7] == books::closing::kTotalRowMarker)
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

const records::LedgerAccountRec* FindAccount(const ReportLineSources& src, const std::string& number) {
  if (!src.accounts) return nullptr;
  for (const auto& a : *src.accounts)
    if (text::TrimTrailingBlanks(a.AccountNumber()) == number) return &a;
  return nullptr;
}

char CategoryKindLetter(const ReportLineSources& src, const std::string& categoryName) {
  if (!src.categories) return 0;
  for (const auto& c : *src.categories)
    if (c.CategoryName() == categoryName) {
      const std::string kind = c.CategoryKind();
      return kind.empty() ? 0 : kind[0];
    }
  return 0;
}

// The buffer of a line the card makes itself (opening or closing).
records::JournalVoucherRec CardLine(const std::string& date, const std::string& name) {
  records::JournalVoucherRec v;
  v.SetVoucherDate(date);
  v.SetLineText(text::Cut(name, 50));
  return v;
}

void OpeningLine(ReportLineState& s, const ReportLineSources& src, const CardAccount& account) {
  ReportLineState::Card& card = s.card;
  const std::string start = src.period ? src.period->start : std::string();
  s.voucher = CardLine(start, account.name);
  double opening = 0;
  if (const records::LedgerAccountRec* a = FindAccount(src, account.number)) {
    card.type = text::Cut(a->AccountType(), 1);
    card.kindLetter = CategoryKindLetter(src, a->CategoryName());
    // An account that starts after the period has no start amount in it.
    const std::string end = src.period ? src.period->end : std::string();
    if (a->StartDate() < end) opening = a->StartAmount();
  } else {
    card.type.clear();
    card.kindLetter = 0;
  }
  if (src.openingSnapshot)
    for (int i = 1; i <= records::FreezeRec::kAccountRows; ++i) {
      const records::FreezeAccountRow row = src.openingSnapshot->Account(i);
      if (text::TrimTrailingBlanks(row.AccountNumber()) != account.number || account.number.empty()) continue;
      card.type = row.AccountType();
      const std::string kind = row.CategoryKind();
      card.kindLetter = kind.empty() ? 0 : kind[0];
      opening = books::closing::CarryIntoNextPeriod(
                    row.ClosingOwnSide(), row.ClosingOtherSide(),
                    books::closing::FreezeClosesBookYear(src.openingSnapshot->PeriodLabel()), kind)
                    .Net();
      break;
    }
  s.section = card.kindLetter == 'B' ? Section::FromBS : Section::FromPL;
  const bool debitSide = card.type == "D" || card.type == "T";
  s.sideText = debitSide ? "debet" : "credit";
  if (debitSide) {
    s.voucher.SetDebitAmount(opening);
  } else {
    s.voucher.SetCreditAmount(opening);
  }
  card.started = true;
}

void NextCardLine(ReportLineState& s, const ReportLineSources& src) {
  ReportLineState::Card& card = s.card;
  s.prevGroupEnd = s.groupEnd;
  s.sideText.clear();
  s.section = Section::Detail1;
  if (card.accountIndex < 0 || card.accountIndex >= static_cast<int>(src.cardAccounts.size())) {
    s.lineFound = false;
    s.endOfData = true;
    return;
  }
  const CardAccount& account = src.cardAccounts[static_cast<std::size_t>(card.accountIndex)];
  if (!card.started) {
    OpeningLine(s, src, account);
    return;
  }
  const auto& lines = src.vouchers ? *src.vouchers : kNoLines;
  bool found = false;
  if (!card.ended) {
    const auto it = s.cardLines->find(account.number);
    if (it != s.cardLines->end() && card.position < it->second.size()) {
      const std::size_t i = it->second[card.position++];
      s.voucher = lines[i];
      found = true;
      if (s.voucher.BookNumber() == "! SYSTEM") {
        // Two "! SYSTEM" lines of one date in a row: the second is the credit.
        const bool pair = i > 0 && lines[i - 1].BookNumber() == "! SYSTEM" &&
                          lines[i - 1].VoucherDate() == s.voucher.VoucherDate();
        s.sideText = pair ? "credit" : "debet";
      }
    }
  }
  s.groupEnd = card.ended;
  if (found) return;
  if (!card.ended) {
    card.ended = true;
    const std::string end = src.period ? src.period->end : std::string();
    s.voucher = CardLine(DayBefore(end), account.name);
    s.section = card.kindLetter == 'B' ? Section::ToBS : Section::ToPL;
    const double sum1 = src.sums ? (*src.sums)[0] : 0, sum2 = src.sums ? (*src.sums)[1] : 0;
    if (card.type != "C" && card.type != "P") {
      s.voucher.SetCreditAmount(sum1 - sum2);
      s.sideText = "credit";
    } else {
      s.voucher.SetDebitAmount(sum2 - sum1);
      s.sideText = "debet";
    }
    return;
  }
  if (card.lastAccount) {
    s.endOfData = true;
    s.lineFound = false;
  }
}

}  // namespace

bool StartLedgerCard(ReportLineState& s, const ReportLineSources& src) {
  const int next = s.card.accountIndex + 1;
  if (next >= static_cast<int>(src.cardAccounts.size())) return false;
  if (!s.cardLines) {
    s.cardLines.emplace();
    if (src.vouchers) {
      const std::string start = src.period ? src.period->start : std::string();
      const std::string end = src.period ? src.period->end : std::string();
      for (std::size_t i = 0; i < src.vouchers->size(); ++i) {
        const records::JournalVoucherRec& v = (*src.vouchers)[i];
        const std::string date = v.VoucherDate();
        if (start <= date && date < end) (*s.cardLines)[text::TrimTrailingBlanks(v.AccountNumber())].push_back(i);
      }
    }
  }
  s.card = {};
  s.card.accountIndex = next;
  s.card.lastAccount = next + 1 >= static_cast<int>(src.cardAccounts.size());
  s.groupEnd = false;
  return true;
}

void NextReportLine(ReportLineState& state, const ReportLineSources& sources) {
  state.lineFound = true;
  switch (sources.kind) {
    case '1':
    case '2': NextGridRow(state, sources); break;
    case '3': NextCardLine(state, sources); break;
    case '4': NextJournalLine(state, sources); break;
    case '5':
    case '6': NextOpenInvoice(state, sources); break;
    default: state.lineFound = false; break;
  }
}

std::string DayBefore(const std::string& ymd) {
  try {
    return platform::YmdDayBefore(ymd);
  } catch (const platform::ConversionError&) {
    return ymd;
  }
}

}  // namespace books::reporting
