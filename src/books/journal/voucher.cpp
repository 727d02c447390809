// The voucher value's keys, link texts and netting.
#include "books/journal/voucher.h"

#include <charconv>

#include "records/documentkind.h"
#include "text/textroutines.h"

namespace books::journal {

namespace {

// A whole decimal number, the text being nothing else.
std::optional<std::int32_t> WholeNumber(std::string_view text) {
  std::int32_t v = 0;
  if (text.empty()) return std::nullopt;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

bool IsKindCode(std::string_view kind) { return records::DocumentKindOf(kind).has_value(); }

struct LinkParts {
  std::string date;
  std::string kind;
  std::int32_t partner = 0;
  std::string document;
};

// "YYYYMMDD/KKKpartner/document".
std::optional<LinkParts> SplitLink(std::string_view text) {
  const std::size_t first = text.find('/');
  if (first != 8) return std::nullopt;
  const std::size_t second = text.find('/', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::string_view number = text.substr(first + 1, second - first - 1);
  if (number.size() < 4 || !IsKindCode(number.substr(0, 3))) return std::nullopt;
  const auto partner = WholeNumber(number.substr(3));
  if (!partner) return std::nullopt;
  return LinkParts{std::string(text.substr(0, 8)), std::string(number.substr(0, 3)), *partner,
                   std::string(text.substr(second + 1))};
}

bool AllDigits(std::string_view s) {
  for (char ch : s)
    if (ch < '0' || ch > '9') return false;
  return true;
}

}  // namespace

std::string LoadedVoucher::Key() const { return records.empty() ? std::string() : VoucherKeyOf(records.front()); }

VoucherLink LinkOf(const LoadedVoucher& v) {
  if (v.records.empty()) return {};
  const records::JournalVoucherRec& first = v.records.front();
  if (first.PartnerNumber() == -1) return {};
  const std::string text = first.VoucherDate() + "/" + first.BookNumber();
  if (!text::TrimTrailingBlanks(first.InvoiceNumber()).empty()) {
    if (auto key = ParseInvoiceLink(text)) return *key;
  } else if (auto key = ParsePaymentLink(text)) {
    return *key;
  }
  return {};
}

std::string VoucherKeyOf(const records::JournalVoucherRec& rec) { return rec.VoucherDate() + rec.BookNumber(); }

std::string VoucherKeyOf(const VoucherHeader& header) {
  return text::Cut(header.date, 8) + text::Cut(header.number, kVoucherNumberRoom);
}

std::string VoucherNumberOf(const InvoiceKey& key) { return key.kind + std::to_string(key.partner) + "/" + key.number; }

std::string VoucherNumberOf(const PaymentKey& key) {
  return key.kind + std::to_string(key.partner) + "/" + std::to_string(key.number);
}

std::optional<InvoiceKey> ParseInvoiceLink(std::string_view text) {
  const auto parts = SplitLink(text);
  if (!parts || parts->document.empty()) return std::nullopt;
  return InvoiceKey{parts->date, parts->kind, parts->partner, parts->document};
}

std::optional<PaymentKey> ParsePaymentLink(std::string_view text) {
  const auto parts = SplitLink(text);
  if (!parts) return std::nullopt;
  const auto number = WholeNumber(parts->document);
  if (!number) return std::nullopt;
  return PaymentKey{parts->date, parts->kind, parts->partner, *number};
}

std::optional<InvoiceKey> LinePaysInvoice(std::string_view lineText, const std::optional<VoucherPartner>& partner) {
  if (!partner) return std::nullopt;
  const std::string text = text::TrimTrailingBlanks(lineText);
  if (text.size() < 10 || text[8] != '/' || !AllDigits(std::string_view(text).substr(0, 8))) return std::nullopt;
  const std::string number = text::Cut(text::TrimText(std::string_view(text).substr(9)), 15);
  if (number.empty()) return std::nullopt;
  return InvoiceKey{text.substr(0, 8), partner->kind, partner->number, number};
}

NettedAmounts NetLine(double debit, double credit) {
  if (debit == 0 || credit == 0) return {debit, credit};
  if (debit <= credit) return {0, credit - debit};
  return {debit - credit, 0};
}

}  // namespace books::journal
