// The journal form's unit: the copies of the settings it works with, the
// tables its activation builds, and the plain functions its choices are
// made by (journalunit.cpp). No components, no files: the form and its
// pages use these, and the tests check them by tables.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "books/journal/documentrules.h"
#include "books/journal/entryrules.h"
#include "books/partners/newpartner.h"
#include "formkit/helpunit.h"
#include "records/adminsettingsrec.h"
#include "records/importprofilerec.h"
#include "records/systemparamrec.h"

namespace journal {

// The form's own copy of the administration settings, not the session's:
// what it was given before it was shown, taken by the language routine (at
// every activation of the start screen and at log-in). Its periods,
// journals and lowest open date come from this copy; the voucher store
// still checks each save against the settings file as it is now. The
// sales-tax names and rates are read from the session (store::SystemParams).
extern records::AdminSettingsRec JournalAdminSettings;
// Set by the language routine: the help captions, and whether the period
// label still waits for the first book period.
extern formkit::HelpCaptionBlockRec JournalHelpCaptions;
extern bool PeriodCaptionPending;

// The tables the activation builds from the files, for the form's tabs: the
// GL accounts with a sales-tax code and their rates (GL-file order), and
// the bank-import profiles as the profile file holds them (an empty file is
// first filled with the ten empty profiles).
extern std::vector<books::journal::SalesTaxAccount> SalesTaxAccountTable;
extern std::vector<records::ImportProfileRec> ImportProfiles;

// What the journal form asks the partners form for when the user makes a
// new partner from a document tab (books::partners::AskNewPartner,
// books/partners/newpartner.h): the tab's kind (1 a supplier, any other a
// customer) and, from the payment tab only, the name and bank account to
// start with.
books::partners::NewPartnerRequest NewPartnerRequestFor(int kind, bool fromPayment, const std::string& name,
                                                        const std::string& bankAccount);

// Puts the unit's globals back as the program starts with them.
void ResetBoekingState();

// The help topic of the journalize help on a tab.
std::string JournalHelpTag(int tab);

// The journal list's choice for its text: the current item when its text
// is exactly that (a pick from the list, so that of two journals of one name
// the picked one is taken), else the item equal to it ignoring case (the
// last such), else item 1; -1 when the list has no item 1.
int JournalChoiceIndex(const std::vector<std::string>& items, const std::string& typed, int current = -1);

// A drop-down's choice for a typed text: the last item equal to it ignoring
// case, else `fallback`.
int ListChoiceIndex(const std::vector<std::string>& items, const std::string& typed, int fallback);

// What choosing a journal offers: the invoice kind it sets (0 customer, 1
// vendor; nullopt: left alone), the cash account it selects (0-based, in
// the order of the cash accounts), whether the template controls show and
// whether the two journal tool buttons do. The journal is known by its
// place, never by its name.
struct JournalOffer {
  std::optional<int> invoiceKind;
  std::optional<int> cashJournal;
  bool templates = true;
  bool journalButtons = true;
  bool operator==(const JournalOffer&) const = default;
};
JournalOffer OfferOfJournal(const records::AdminSettingsRec& settings, const books::journal::JournalRef& journal,
                            bool split);

}  // namespace journal
