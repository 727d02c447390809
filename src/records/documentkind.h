// The kind of a document: a customer or vendor invoice or payment, or a
// receipt or payment without partner. Invoices, payments and vouchers store
// it as a three-letter code in their PartnerType field, a partner its own
// kind in RelationshipType ("CUS" or "VEN"). Inside the program the kind is
// this enum; the code is text only where a record is read or written and in
// the exchange formats. Stored codes may carry blanks around them; a code
// that is none of the four has no kind, and each reader decides, by name,
// what such a record counts as.
#pragma once

#include <optional>
#include <string_view>

namespace records {

enum class DocumentKind {
  Customer,  // "CUS": a customer's invoice or payment
  Vendor,    // "VEN": a vendor's invoice or payment
  Receipt,   // "REC": money received without a partner
  Payment,   // "PAY": money paid without a partner
};

// The stored code of a kind.
constexpr std::string_view CodeOf(DocumentKind kind) {
  switch (kind) {
    case DocumentKind::Customer: return "CUS";
    case DocumentKind::Vendor: return "VEN";
    case DocumentKind::Receipt: return "REC";
    case DocumentKind::Payment: return "PAY";
  }
  return "CUS";
}

// The kind of a stored code, blanks around it ignored; nullopt for any
// other code (an empty one too).
constexpr std::optional<DocumentKind> DocumentKindOf(std::string_view storedCode) {
  while (!storedCode.empty() && storedCode.front() == ' ') storedCode.remove_prefix(1);
  while (!storedCode.empty() && storedCode.back() == ' ') storedCode.remove_suffix(1);
  for (DocumentKind kind :
       {DocumentKind::Customer, DocumentKind::Vendor, DocumentKind::Receipt, DocumentKind::Payment})
    if (storedCode == CodeOf(kind)) return kind;
  return std::nullopt;
}

// Whether a kind has a partner: a customer or a vendor.
constexpr bool HasPartner(DocumentKind kind) {
  return kind == DocumentKind::Customer || kind == DocumentKind::Vendor;
}
// Whether money comes in: from a customer or a receipt without partner.
constexpr bool Inward(DocumentKind kind) {
  return kind == DocumentKind::Customer || kind == DocumentKind::Receipt;
}

}  // namespace records
