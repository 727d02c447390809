// The decisions of the journal form's document tabs as plain functions: the
// voucher proposed for an invoice and for a payment, the book date a book
// period gives, the period a book date lies in, the open-invoice items of a
// payment, the room an invoice number has, and the criteria each tab's
// partner search uses. No components, no files: the form hands values in
// and shows what comes back (form library).
//
// Rules kept here:
// - A proposal balances: a tax share is rounded to the amount decimals and
//   the net share is the amount minus that tax, so net + tax is the amount.
// - A payment's cash discount is split into net (on the cash-discount
//   account) and tax (on the first tax account, at that account's rate);
//   with no rate or no tax account there is no tax line.
// - The last book period ends on the book year's last day.
// - Amounts are values throughout; nothing is read back from a formatted
//   text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/journal/entryrules.h"
#include "books/journal/voucher.h"
#include "books/partners/partnerstore.h"
#include "platform/datetime.h"
#include "records/adminsettingsrec.h"
#include "records/documentkind.h"
#include "records/invoicerec.h"
#include "records/partnerrec.h"

namespace books::journal {

// The tabs of TabControl1.
enum JournalTab {
  TabVoucher, TabTemplate, TabInvoice, TabInvoiceList, TabPartnerList, TabPayment, TabPaymentList,
  TabPaymentImport, TabMatchImport, JournalTabCount
};

// The tax share of a gross amount at `rate` percent, rounded to `decimals`:
// gross * rate / (100 + rate); 0 for a rate of 0 or below.
double TaxShare(double gross, double rate, int decimals);

// The rate of an account in the sales-tax account table: the last entry of
// that number; 0 when there is none (or the account is empty).
double RateOfAccount(const std::vector<SalesTaxAccount>& table, std::string_view account);

// One proposed voucher line, filled with the entry screen's SetEntryLine.
// `side` is 'D' or 'C'. `paysInvoice` marks a line that pays an invoice
// (shown read-only, its text "YYYYMMDD/number").
struct ProposedLine {
  std::string account;
  std::string text;
  double amount = 0;
  char side = 'D';
  bool paysInvoice = false;
  bool operator==(const ProposedLine&) const = default;
};

// ---------------------------------------------------------------- invoices

struct InvoiceProposalInput {
  records::PartnerRec partner;  // the invoice's own partner: its accounts
  bool customer = true;         // the partner's kind: sides as given for a customer, else swapped
  std::int32_t partnerNumber = 0;
  std::string invoiceNumber;
  double gross = 0;
  double prepaid = 0;
  double rate = 0;               // of the partner's first tax account
  int decimals = 2;
  std::string prepaidCaption;    // the text of the prepaid lines
};
// The proposed lines in order (partner, prepaid, sales 1, its prepaid,
// sales 2, sales 3, tax, its prepaid, tax 2), each only when its account is
// set (and, for the prepaid lines, the prepaid amount is not 0). The entry
// screen shows the first eight; a ninth is not proposed.
std::vector<ProposedLine> InvoiceProposal(const InvoiceProposalInput& in);

// The discount and due dates of an invoice dated `invoiceDate`.
struct InvoiceTerms {
  platform::TDateTime discountDate = 0;
  platform::TDateTime dueDate = 0;
};
InvoiceTerms TermsOf(platform::TDateTime invoiceDate, const records::PartnerRec& partner);

// The book date for a book period text ("03/12"): the invoice date moved
// into period k (its first two characters) of the settings: not before
// PeriodStart[k], not after the day before PeriodStart[k + 1], the last
// period (k = PeriodCount, or 15) ending on BookYearEnd. An empty or
// unreadable period leaves the invoice date; nullopt when the settings
// give no valid date for the bounds used.
std::optional<std::string> BookDateForPeriod(std::string_view invoiceYmd, std::string_view periodText,
                                             const records::AdminSettingsRec& settings);

// The period item of a book date: "kk/nn" for the last period whose start
// is not after the date, empty when the date lies outside the book year.
std::string PeriodTextOf(std::string_view bookYmd, const records::AdminSettingsRec& settings);

// The most characters an invoice number may have so that the voucher
// number kind + partner + "/" + invoice number fits its 20 characters (and
// the invoice number its 15); 0 when nothing fits.
int MaxInvoiceNumberLength(std::string_view kind, std::int32_t partner);

// The kind of a kind list's item index (customer, vendor, receipt,
// payment); an index outside the list is a customer.
records::DocumentKind KindOfItem(int index);
// The item index of a kind.
int ItemOfKind(records::DocumentKind kind);
// The item index of a stored kind code; -1 for an unknown code.
int KindIndexOf(std::string_view code);

// ---------------------------------------------------------------- payments

// One invoice offered to a payment: the invoice's key, its owing amount,
// the cash discount its partner gives and the last day for it.
struct OpenInvoiceItem {
  InvoiceKey key;
  double owing = 0;
  double discount = 0;
  std::string discountDate;  // "YYYYMMDD"
  // The list text: book date + "/" + number + "/ " + owing + " (" +
  // discount + " )", both at `decimals` with grouping.
  std::string Text(int decimals) const;
};
// The items of a partner's open invoices (newest first, as given), the
// discount `discountRate` percent of the invoice amount, rounded.
std::vector<OpenInvoiceItem> OpenInvoiceItems(const std::vector<records::InvoiceRec>& invoices, double discountRate,
                                              int decimals);

// The rest of a payment: amount minus the owing of the ticked items.
double PaymentRest(double amount, const std::vector<OpenInvoiceItem>& ticked, int decimals);

struct PaymentProposalInput {
  records::DocumentKind kind = records::DocumentKind::Customer;
  std::string bankAccount;           // the cash or bank account (before its "{")
  records::PartnerRec partner;       // the payment's own partner (unused for REC and PAY)
  std::int32_t partnerNumber = 0;
  double amount = 0;
  std::string valueDate;             // "YYYYMMDD"
  std::vector<OpenInvoiceItem> ticked;
  double discountTaxRate = 0;        // the rate of the partner's first tax account
  int decimals = 2;
};
// The kind a payment with stored kind `code` is proposed as: an unknown
// code as a payment without partner.
records::DocumentKind ProposalKindOf(std::string_view code);
// The bank line, one line per ticked invoice, the discount net and tax
// lines (invoices paid on or before their discount date), and the
// remainder; with no ticked invoice the partner line takes the amount. The
// sides are a customer's or a receipt's, swapped for a vendor and a
// payment without partner.
std::vector<ProposedLine> PaymentProposal(const PaymentProposalInput& in);
// The lines a proposal of `ticked` invoices may need at most (bank,
// invoices, discount net and tax, remainder); a tick that takes it over
// eight is refused.
int PaymentLinesNeeded(int ticked, bool discountLines, bool taxLine);

// ---------------------------------------------------------------- partner lookup

// Who asked for a partner: the chosen one goes there only.
enum class PartnerRequester {
  InvoiceTab,    // the invoice tab's search text
  InvoiceList,   // the invoice list's partner filter
  InvoiceRow,    // a loaded invoice-list row finds its partner by number
  PaymentTab,    // the payment tab: by number
  PaymentList,   // the payment list's partner filter
};
// The criteria a requester searches with: the invoice tab and both filters
// use the text as all four criteria; a loaded row and the payment tab look
// for the partner number only.
books::partners::PartnerCriteria CriteriaFor(PartnerRequester requester, const std::string& text);
// The tab a requester's partner lands on.
int TabOf(PartnerRequester requester);

}  // namespace books::journal
