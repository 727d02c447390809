// Asking for a new partner from another form (see newpartner.h).
#include "books/partners/newpartner.h"

#include <utility>

namespace books::partners {

namespace {

NewPartnerEntry& Entry() {
  static NewPartnerEntry entry;
  return entry;
}

}  // namespace

void SetNewPartnerEntry(NewPartnerEntry entry) { Entry() = std::move(entry); }

std::optional<FoundPartner> AskNewPartner(const NewPartnerRequest& request) {
  if (!Entry()) return std::nullopt;
  // A copy: the entry may be replaced while the form is shown.
  const NewPartnerEntry entry = Entry();
  return entry(request);
}

}  // namespace books::partners
