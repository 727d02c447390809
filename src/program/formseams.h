// The seams between forms of different subsystems, joined where the program
// knows them all: no form library includes another subsystem's form, so a
// form that needs one offers a hook, and the program sets it here once the
// forms are made.
//
// - The journal form's "new partner" (journal::ShowPartnerFormForNew) asks
//   the partners form through masterdata::AskNewPartner: the kind, and from
//   the payment tab the payment's name and bank account; it gets back the
//   partner the form saved, or nothing when the user cancelled.
#pragma once

#include <optional>

#include "journal/boekingstuk.h"
#include "books/partners/newpartner.h"
#include "records/partnerrec.h"

namespace shell {

// The partners form's request for the journal form's: kind 1 is a
// supplier, any other a customer; the name and bank account go along only
// from the payment tab.
masterdata::NewPartnerRequest PartnerRequestFor(const journal::NewPartnerRequest& request);

// The journal form's answer: the record the partners form wrote.
std::optional<records::PartnerRec> SavedPartnerOf(const std::optional<masterdata::FoundPartner>& found);

// Sets the hooks above (CreateForms does, after making the forms).
void JoinFormSeams();

}  // namespace shell
