#include "books/journal/documentrules.h"

#include <algorithm>
#include <cmath>

#include "text/textroutines.h"
#include "text/amount.h"

namespace books::journal {

double TaxShare(double gross, double rate, int decimals) {
  if (rate <= 0) return 0;
  return text::RoundToUnit(gross * rate / (100 + rate), decimals);
}

double RateOfAccount(const std::vector<SalesTaxAccount>& table, std::string_view account) {
  const std::string a = text::TrimTrailingBlanks(account);
  if (a.empty()) return 0;
  double rate = 0;
  for (const SalesTaxAccount& entry : table)
    if (entry.accountNumber == a) rate = entry.rate;
  return rate;
}

// ---- invoices

std::vector<ProposedLine> InvoiceProposal(const InvoiceProposalInput& in) {
  const records::PartnerRec& p = in.partner;
  const char debit = in.customer ? 'D' : 'C';
  const char credit = in.customer ? 'C' : 'D';
  const double grossTax = TaxShare(in.gross, in.rate, in.decimals);
  const double prepaidTax = TaxShare(in.prepaid, in.rate, in.decimals);
  const bool prepaid = in.prepaid != 0;
  std::vector<ProposedLine> lines;
  auto add = [&lines](const std::string& account, std::string text, double amount, char side, bool when) {
    const std::string a = text::TrimTrailingBlanks(account);
    if (a.empty() || !when) return;
    lines.push_back({a, std::move(text), amount, side, false});
  };
  add(p.PartnerGroup(), std::to_string(in.partnerNumber) + "/" + in.invoiceNumber, in.gross, debit, true);
  add(p.PartnerGroup(), in.prepaidCaption, in.prepaid, credit, prepaid);
  add(p.SalesCostGroup1(), "", in.gross - grossTax, credit, true);
  add(p.SalesCostGroup1(), in.prepaidCaption, in.prepaid - prepaidTax, debit, prepaid);
  add(p.SalesCostGroup2(), "", 0, credit, true);
  add(p.SalesCostGroup3(), "", 0, credit, true);
  add(p.VatGroup1(), "", grossTax, credit, true);
  add(p.VatGroup1(), in.prepaidCaption, prepaidTax, debit, prepaid);
  add(p.VatGroup2(), "", 0, credit, true);
  if (lines.size() > static_cast<std::size_t>(kVoucherLines)) lines.resize(kVoucherLines);
  return lines;
}

InvoiceTerms TermsOf(platform::TDateTime invoiceDate, const records::PartnerRec& partner) {
  return {invoiceDate + partner.DiscountDays(), invoiceDate + partner.NetDays()};
}

namespace {

std::optional<platform::TDateTime> DateOf(std::string_view ymd) {
  if (!text::IsValidYmd(ymd)) return std::nullopt;
  return text::YmdToDate(ymd);
}

int PeriodNumber(std::string_view text) {
  int k = 0;
  for (std::size_t i = 0; i < 2 && i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') break;
    k = k * 10 + (text[i] - '0');
  }
  return k;
}

}  // namespace

std::optional<std::string> BookDateForPeriod(std::string_view invoiceYmd, std::string_view periodText,
                                             const records::AdminSettingsRec& settings) {
  const auto date = DateOf(invoiceYmd);
  if (!date) return std::nullopt;
  const int k = PeriodNumber(periodText);
  if (k < 1 || k > records::AdminSettingsRec::kPeriodStartCount) return std::string(invoiceYmd);
  const auto start = DateOf(settings.PeriodStart(k));
  const bool last = k == settings.PeriodCount() || k == records::AdminSettingsRec::kPeriodStartCount;
  std::optional<platform::TDateTime> end;
  if (last) end = DateOf(settings.BookYearEnd());
  else if (auto next = DateOf(settings.PeriodStart(k + 1))) end = *next - 1;
  if (!start || !end) return std::nullopt;
  platform::TDateTime d = *date;
  if (d < *start) d = *start;
  if (d > *end) d = *end;
  return text::DateToYmd(d);
}

std::string PeriodTextOf(std::string_view bookYmd, const records::AdminSettingsRec& settings) {
  const std::string date(bookYmd);
  if (date < settings.BookYearStart() || date > settings.BookYearEnd()) return "";
  const int count = std::min<int>(settings.PeriodCount(), records::AdminSettingsRec::kPeriodStartCount);
  int found = 0;
  for (int k = 1; k <= count; ++k)
    if (date >= settings.PeriodStart(k)) found = k;
  if (found == 0) return "";
  auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return two(found) + "/" + two(count);
}

int MaxInvoiceNumberLength(std::string_view kind, std::int32_t partner) {
  const int used = static_cast<int>(kind.size() + std::to_string(partner).size() + 1);
  return std::clamp(static_cast<int>(kVoucherNumberRoom) - used, 0, 15);
}

records::DocumentKind KindOfItem(int index) {
  using records::DocumentKind;
  static constexpr DocumentKind kKinds[] = {DocumentKind::Customer, DocumentKind::Vendor, DocumentKind::Receipt,
                                            DocumentKind::Payment};
  return index >= 0 && index < 4 ? kKinds[index] : DocumentKind::Customer;
}

int ItemOfKind(records::DocumentKind kind) {
  for (int i = 1; i < 4; ++i)
    if (KindOfItem(i) == kind) return i;
  return 0;
}

int KindIndexOf(std::string_view code) {
  const std::optional<records::DocumentKind> kind = records::DocumentKindOf(code);
  return kind ? ItemOfKind(*kind) : -1;
}

// ---- payments

namespace {

// An amount as the lists show it, without the currency sign and the blanks
// that align it.
std::string PlainAmount(double value, int decimals) {
  std::string out;
  for (char c : text::FormatAmount(value, decimals, 'Y'))
    if ((c >= '0' && c <= '9') || c == '-' || c == '.' || c == ',' || c == '\'') out += c;
  return out;
}

}  // namespace

std::string OpenInvoiceItem::Text(int decimals) const {
  return key.bookDate + "/" + key.number + "/ " + PlainAmount(owing, decimals) + " (" + PlainAmount(discount, decimals) +
         " )";
}

std::vector<OpenInvoiceItem> OpenInvoiceItems(const std::vector<records::InvoiceRec>& invoices, double discountRate,
                                              int decimals) {
  std::vector<OpenInvoiceItem> items;
  for (const records::InvoiceRec& rec : invoices) {
    const double owing = text::RoundToUnit(rec.InvoiceAmount() - rec.PaidAmount(), decimals);
    if (owing <= 0) continue;
    OpenInvoiceItem item;
    item.key = {rec.VoucherDate(), rec.PartnerType(), rec.PartnerNumber(), rec.InvoiceNumber()};
    item.owing = owing;
    item.discount = text::RoundToUnit(rec.InvoiceAmount() * discountRate / 100, decimals);
    item.discountDate = rec.DiscountDate();
    items.push_back(std::move(item));
  }
  return items;
}

double PaymentRest(double amount, const std::vector<OpenInvoiceItem>& ticked, int decimals) {
  double rest = amount;
  for (const OpenInvoiceItem& item : ticked) rest -= item.owing;
  return text::RoundToUnit(rest, decimals);
}

records::DocumentKind ProposalKindOf(std::string_view code) {
  return records::DocumentKindOf(code).value_or(records::DocumentKind::Payment);
}

std::vector<ProposedLine> PaymentProposal(const PaymentProposalInput& in) {
  const bool inward = records::Inward(in.kind);
  const bool withPartner = records::HasPartner(in.kind);
  const char bankSide = inward ? 'D' : 'C';
  const char otherSide = inward ? 'C' : 'D';
  const records::PartnerRec& p = in.partner;
  std::vector<ProposedLine> lines;
  lines.push_back({text::TrimTrailingBlanks(in.bankAccount), "", in.amount, bankSide, false});
  if (in.ticked.empty()) {
    lines.push_back({withPartner ? text::TrimTrailingBlanks(p.PartnerGroup()) : std::string(),
                     withPartner ? std::to_string(in.partnerNumber) : std::string("0"), in.amount, otherSide, false});
    return lines;
  }
  double discount = 0;
  for (const OpenInvoiceItem& item : in.ticked) {
    lines.push_back({text::TrimTrailingBlanks(p.PartnerGroup()), item.key.bookDate + "/" + item.key.number, item.owing,
                     otherSide, true});
    if (in.valueDate <= item.discountDate) discount += item.discount;
  }
  discount = text::RoundToUnit(discount, in.decimals);
  if (discount > 0) {
    const std::string vat = text::TrimTrailingBlanks(p.VatGroup1());
    const double tax = vat.empty() ? 0 : TaxShare(discount, in.discountTaxRate, in.decimals);
    lines.push_back({text::TrimTrailingBlanks(p.CashDiscountAccount()), "", discount - tax, bankSide, false});
    if (tax != 0) lines.push_back({vat, "", tax, bankSide, false});
  }
  const double v = text::RoundToUnit(PaymentRest(in.amount, in.ticked, in.decimals) + discount, in.decimals);
  if (v != 0) {
    const char side = inward ? (v > 0 ? 'C' : 'D') : (v >= 0 ? 'D' : 'C');
    lines.push_back({"", "", std::fabs(v), side, false});
  }
  return lines;
}

int PaymentLinesNeeded(int ticked, bool discountLines, bool taxLine) {
  return 1 + std::max(ticked, 1) + (discountLines ? 1 : 0) + (discountLines && taxLine ? 1 : 0) + (ticked > 0 ? 1 : 0);
}

// ---- partner lookup

books::partners::PartnerCriteria CriteriaFor(PartnerRequester requester, const std::string& text) {
  books::partners::PartnerCriteria c;
  switch (requester) {
    case PartnerRequester::InvoiceRow:
    case PartnerRequester::PaymentTab: c.ourNumber = text; break;
    default: c.ourNumber = c.theirNumber = c.text = c.bankAccount = text; break;
  }
  return c;
}

int TabOf(PartnerRequester requester) {
  switch (requester) {
    case PartnerRequester::InvoiceTab:
    case PartnerRequester::InvoiceRow: return TabInvoice;
    case PartnerRequester::InvoiceList: return TabInvoiceList;
    case PartnerRequester::PaymentTab: return TabPayment;
    case PartnerRequester::PaymentList: return TabPaymentList;
  }
  return TabInvoice;
}

}  // namespace books::journal
