// Asking for a new partner from another form: the journal form's "new
// partner" (and later the bank import) shows the partners form through this
// entry and gets back the partner it saved, so no form of another subsystem
// includes the partners form, and no caller has to find the new partner
// again by a search (which could find another one, or an older one after a
// cancel).
//
// The partners form registers the entry when it is made and removes it when
// it ends. The entry opens the file set the form's activation reads ("GLA")
// and shows the form modally with the kind fixed; from a payment the form
// starts with the payment's name (also as account holder) and bank account,
// otherwise with empty fields.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "books/partners/partnerstore.h"

namespace books::partners {

struct NewPartnerRequest {
  PartnerKind kind = PartnerKind::Customer;
  bool fromPayment = false;  // the payment tab or the bank import asks
  std::string name;          // from a payment only: the name and account holder
  std::string bankAccount;   // from a payment only
};

using NewPartnerEntry = std::function<std::optional<FoundPartner>(const NewPartnerRequest&)>;

// Registers the entry (an empty one removes it).
void SetNewPartnerEntry(NewPartnerEntry entry);

// The partner the user saved, as written; nullopt when the form was closed
// without saving, its files could not be opened (the form showed why), or
// no partners form exists.
std::optional<FoundPartner> AskNewPartner(const NewPartnerRequest& request);

}  // namespace books::partners
