// The seams between forms of different subsystems (see formseams.h).
#include "program/formseams.h"

namespace shell {

masterdata::NewPartnerRequest PartnerRequestFor(const journal::NewPartnerRequest& request) {
  masterdata::NewPartnerRequest out;
  out.kind = request.kind == 1 ? masterdata::PartnerKind::Supplier : masterdata::PartnerKind::Customer;
  out.fromPayment = request.fromPayment;
  if (request.fromPayment) {
    out.name = request.name;
    out.bankAccount = request.bankAccount;
  }
  return out;
}

std::optional<records::PartnerRec> SavedPartnerOf(const std::optional<masterdata::FoundPartner>& found) {
  if (!found) return std::nullopt;
  return found->record;
}

void JoinFormSeams() {
  journal::ShowPartnerFormForNew = [](const journal::NewPartnerRequest& request) {
    return SavedPartnerOf(masterdata::AskNewPartner(PartnerRequestFor(request)));
  };
}

}  // namespace shell
