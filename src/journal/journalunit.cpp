// The journal form's unit: its copies and tables, and the plain functions
// of its choices.
#include "journal/journalunit.h"

#include <iterator>

#include "platform/cp1252.h"

namespace journal {

records::AdminSettingsRec JournalAdminSettings;
formkit::HelpCaptionBlockRec JournalHelpCaptions;
bool PeriodCaptionPending = false;
std::vector<books::journal::SalesTaxAccount> SalesTaxAccountTable;
std::vector<records::ImportProfileRec> ImportProfiles;

void ResetBoekingState() {
  JournalAdminSettings = {};
  JournalHelpCaptions = {};
  PeriodCaptionPending = false;
  SalesTaxAccountTable.clear();
  ImportProfiles.clear();
}

std::string JournalHelpTag(int tab) {
  static const char* const kTags[] = {"<JVO00>", "<JVT00>", "<INV00>", "<INV01>", "<PAR00>", "<PAY00>",
                                      "<PAY01>", "<PAY02>", "<PAY03>", "<PAY00>", "<PAY00>", "<PAY00>",
                                      "<PAY00>"};
  if (tab < 0 || tab >= static_cast<int>(std::size(kTags))) return "<JVO00>";
  return kTags[tab];
}

int ListChoiceIndex(const std::vector<std::string>& items, const std::string& typed, int fallback) {
  int found = -1;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (cp1252::EqualsIgnoringCase(items[i], typed)) found = static_cast<int>(i);
  if (found >= 0) return found;
  return fallback < static_cast<int>(items.size()) ? fallback : -1;
}

int JournalChoiceIndex(const std::vector<std::string>& items, const std::string& typed, int current) {
  if (current >= 0 && current < static_cast<int>(items.size()) && items[static_cast<std::size_t>(current)] == typed)
    return current;
  return ListChoiceIndex(items, typed, 1);
}

JournalOffer OfferOfJournal(const records::AdminSettingsRec& settings, const books::journal::JournalRef& journal,
                            bool split) {
  JournalOffer offer;
  offer.journalButtons = split;
  auto invoices = [&offer](int kind) {
    offer.invoiceKind = kind;
    offer.templates = false;
  };
  auto dayBook = [&offer] {
    offer.invoiceKind = 0;
    offer.journalButtons = false;
  };
  switch (journal.kind) {
    case books::journal::JournalKind::Sales:
      invoices(0);
      break;
    case books::journal::JournalKind::Purchase:
      invoices(1);
      break;
    case books::journal::JournalKind::Day:
      dayBook();
      break;
    case books::journal::JournalKind::Free: {
      // The customer and supplier flags of optional journal j are flags 2j and 2j + 1.
      const int j = static_cast<int>(journal.index);
      if (j < 3 && settings.JournalFlag(2 * j) == "true") invoices(0);
      else if (j < 3 && settings.JournalFlag(2 * j + 1) == "true") invoices(1);
      else dayBook();
      break;
    }
    case books::journal::JournalKind::Cash:
      offer.cashJournal = static_cast<int>(journal.index);
      offer.templates = false;
      break;
  }
  if (!split) {
    offer.templates = true;
    offer.journalButtons = false;
  }
  return offer;
}

books::partners::NewPartnerRequest NewPartnerRequestFor(int kind, bool fromPayment, const std::string& name,
                                                        const std::string& bankAccount) {
  books::partners::NewPartnerRequest out;
  out.kind = kind == 1 ? books::partners::PartnerKind::Supplier : books::partners::PartnerKind::Customer;
  out.fromPayment = fromPayment;
  if (fromPayment) {
    out.name = name;
    out.bankAccount = bankAccount;
  }
  return out;
}

}  // namespace journal
