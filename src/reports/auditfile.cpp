#include "reports/auditfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "shell/builtintext.h"
#include "shell/fileset.h"
#include "shell/textroutines.h"

namespace reports {

namespace {

constexpr int kMaxJournals = 50;

bool IsBlank(std::string_view s) { return shell::TrimText(s).empty(); }

bool IsValidDate(std::string_view ymd) {
  if (ymd.size() != 8) return false;
  try {
    platform::YmdAddDays(ymd, 0);
    return true;
  } catch (const platform::ConversionError&) {
    return false;
  }
}

std::optional<std::string> DayBefore(std::string_view ymd) {
  if (!IsValidDate(ymd)) return std::nullopt;
  return platform::YmdDayBefore(ymd);
}

std::optional<int> YearNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A stored text as it stands in its record, without a copy.
template <class R>
std::string_view FieldView(const R& rec, records::ShortString f) {
  const std::uint8_t* p = rec.data() + f.offset;
  return {reinterpret_cast<const char*>(p + 1), std::min<std::size_t>(p[0], f.capacity)};
}

// `s` without blanks and control bytes at either end, as shell::TrimText.
std::string_view TrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

void AppendXmlText(std::string& out, std::string_view text);

// One line "<name>value</name>" indented by `depth`; the value as given.
std::string Element(int depth, std::string_view name, std::string_view value) {
  std::string line;
  line.reserve(static_cast<std::size_t>(depth) + 2 * name.size() + 5 + value.size());
  line.append(static_cast<std::size_t>(depth), ' ');
  line += '<';
  line += name;
  line += '>';
  line += value;
  line += "</";
  line += name;
  line += '>';
  return line;
}

// The same with a stored text written as character data.
std::string TextElement(int depth, std::string_view name, std::string_view text) {
  std::string line;
  line.reserve(static_cast<std::size_t>(depth) + 2 * name.size() + 5 + text.size() + 8);
  line.append(static_cast<std::size_t>(depth), ' ');
  line += '<';
  line += name;
  line += '>';
  AppendXmlText(line, text);
  line += "</";
  line += name;
  line += '>';
  return line;
}

std::string Open(int depth, std::string_view name) {
  return std::string(static_cast<std::size_t>(depth), ' ') + "<" + std::string(name) + ">";
}

std::string Close(int depth, std::string_view name) {
  return std::string(static_cast<std::size_t>(depth), ' ') + "</" + std::string(name) + ">";
}

std::string PartnerId(const records::PartnerRec& p) {
  return shell::TrimText(p.RelationshipType() + std::to_string(p.OurNumber()));
}

std::string Trimmed(std::string_view s) { return shell::TrimText(s); }

std::string OrUnavailable(const std::string& value) {
  return IsBlank(value) ? std::string("niet beschikbaar") : XmlText(value);
}

// The year's range and where its start balances come from.
struct Range {
  std::string start;
  std::string end;
  const records::FreezeRec* opening = nullptr;  // the older year's newest snapshot
  std::vector<const records::FreezeRec*> ownSnapshots;  // the year's, oldest first
  bool currentYear = false;
};

Range FindRange(const AuditFileSource& source, const std::string& choice, int year) {
  Range r;
  const records::AdminSettingsRec& s = source.settings;
  r.currentYear = choice.substr(0, 4) == s.FiscalYear();
  for (const records::FreezeRec& f : source.freezes) {
    if (f.BookYear() == year) r.ownSnapshots.push_back(&f);
  }
  for (auto it = source.freezes.rbegin(); it != source.freezes.rend(); ++it) {
    if (it->BookYear() < year) {
      r.opening = &*it;
      break;
    }
  }
  if (r.currentYear) {
    std::string pp = choice.size() >= 12 ? choice.substr(10, 2) : "";
    std::string nn = choice.size() >= 15 ? choice.substr(13, 2) : "";
    if (!pp.empty() && pp == nn) {
      r.end = s.BookYearEnd();
    } else if (auto p = YearNumber(pp); p && *p >= 1 && *p <= 14) {
      r.end = DayBefore(s.PeriodStart(*p + 1)).value_or("");
    }
    r.start = r.opening ? r.opening->PeriodEndDate() : s.BookYearStart();
  } else {
    if (!r.ownSnapshots.empty()) r.end = DayBefore(r.ownSnapshots.back()->PeriodEndDate()).value_or("");
    if (r.opening) r.start = r.opening->PeriodEndDate();
  }
  return r;
}

// The period of a transaction dated `date`: in the current year from the
// settings' period starts (`starts`: PeriodStart 2 to 15), in an earlier one
// from the year's own snapshots.
std::string PeriodOf(const Range& r, const std::vector<std::string>& starts, std::string_view date) {
  if (r.currentYear) {
    for (std::size_t k = 0; k < starts.size(); ++k) {
      if (date < starts[k]) {
        char text[3];
        std::snprintf(text, sizeof text, "%02d", static_cast<int>(k + 1));
        return text;
      }
    }
    return "15";
  }
  for (const records::FreezeRec* f : r.ownSnapshots) {
    if (date < f->PeriodEndDate()) {
      std::string label = f->PeriodLabel();
      if (label.size() >= 7) return label.substr(5, 2);
    }
  }
  return "15";
}

bool IsBalanceRow(const records::FreezeAccountRow& row) {
  std::string kind = row.CategoryKind();
  return !kind.empty() && kind[0] == 'B';
}

std::string JournalType(const records::JournalVoucherRec& v) {
  if (!v.InvoiceAttached()) return "Others";
  std::string number = Trimmed(v.InvoiceNumber());
  if (number == "0" || number == "-1") return "Payments";
  return Trimmed(v.PartnerType()) == "CUS" ? "Accounts receivable" : "Accounts payable";
}

// One line's amount side and value in cents.
struct Side {
  bool debit = false;
  std::int64_t cents = 0;
};

}  // namespace

namespace {

void AppendXmlText(std::string& out, std::string_view text) {
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x20 && b < 0x80 && ch != '&' && ch != '<' && ch != '>') {
      out += ch;
    } else if (ch == '&') {
      out += "&amp;";
    } else if (ch == '<') {
      out += "&lt;";
    } else if (ch == '>') {
      out += "&gt;";
    } else if (b < 0x20 && ch != '\t') {
      out += ' ';
    } else if (b >= 0x80 && b <= 0x9F) {
      // The code page's character as UTF-8, decoded to its code point.
      const std::string utf8 = cp1252::ToUtf8(std::string_view(&ch, 1));
      unsigned code = b;
      if (utf8.size() == 2) {
        code = ((static_cast<unsigned char>(utf8[0]) & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[1]) & 0x3Fu);
      } else if (utf8.size() == 3) {
        code = ((static_cast<unsigned char>(utf8[0]) & 0x0Fu) << 12) |
               ((static_cast<unsigned char>(utf8[1]) & 0x3Fu) << 6) | (static_cast<unsigned char>(utf8[2]) & 0x3Fu);
      }
      out += "&#" + std::to_string(code) + ";";
    } else {
      out += ch;  // tab, and 0xA0-0xFF: the same in both code pages
    }
  }
}

}  // namespace

std::string XmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendXmlText(out, text);
  return out;
}

std::string XmlDate(std::string_view ymd) {
  std::string d(ymd.substr(0, std::min<std::size_t>(ymd.size(), 8)));
  if (d.size() < 8) d.resize(8, ' ');
  return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
}

std::optional<std::int64_t> AmountCents(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) return std::nullopt;
  // Fifteen significant digits first, then half away from zero on the
  // decimal digits themselves, so 2.675 gives 268 cents as the amount
  // routines show it.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  std::string digits;
  digits += buf[0];
  digits.append(buf + 2, buf + 16);  // the 14 digits after the point
  int exponent = std::atoi(buf + 17);
  // value = 0.d1d2...d15 * 10^(exponent + 1); cents keep exponent + 3 digits.
  int keep = exponent + 3;
  if (keep < 0) return 0;
  std::int64_t cents = 0;
  for (int i = 0; i < keep; ++i) {
    cents = cents * 10 + (i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)] - '0' : 0);
  }
  if (keep < static_cast<int>(digits.size()) && digits[static_cast<std::size_t>(keep)] >= '5') ++cents;
  return value < 0 ? -cents : cents;
}

std::string CentsText(std::int64_t cents) {
  std::uint64_t magnitude = cents < 0 ? static_cast<std::uint64_t>(-(cents + 1)) + 1 : static_cast<std::uint64_t>(cents);
  std::string text = std::to_string(magnitude / 100);
  char fraction[4];
  std::snprintf(fraction, sizeof fraction, "%02u", static_cast<unsigned>(magnitude % 100));
  return (cents < 0 ? "-" : "") + text + "." + fraction;
}

std::string AuditFileRefusalText(const AuditFileRefusal& r) {
  const std::string& v = r.value;
  switch (r.fault) {
    case AuditFileFault::NoTaxRegistration:
      return shell::BuiltInText("Audit file: the administration has no tax registration number.",
                                "Auditfile: de administratie heeft geen btw-nummer.",
                                "Prüfdatei: die Verwaltung hat keine Steuernummer.");
    case AuditFileFault::FiscalYearNotANumber:
      return shell::BuiltInText("Audit file: the fiscal year \"" + v + "\" is no number.",
                                "Auditfile: het boekjaar \"" + v + "\" is geen getal.",
                                "Prüfdatei: das Geschäftsjahr \"" + v + "\" ist keine Zahl.");
    case AuditFileFault::FiscalYearTooEarly:
      return shell::BuiltInText("Audit file: the fiscal year \"" + v + "\" lies before 1990.",
                                "Auditfile: het boekjaar \"" + v + "\" ligt voor 1990.",
                                cp1252::L("Prüfdatei: das Geschäftsjahr \"" + v + "\" liegt vor 1990."));
    case AuditFileFault::NoDateRange:
      return shell::BuiltInText("Audit file: the period has no start or end date.",
                                "Auditfile: de periode heeft geen begin- of einddatum.",
                                cp1252::L("Prüfdatei: die Periode hat kein Anfangs- oder Enddatum."));
    case AuditFileFault::NoAccounts:
      return shell::BuiltInText("Audit file: the administration has no GL account.",
                                "Auditfile: de administratie heeft geen grootboekrekening.",
                                cp1252::L("Prüfdatei: die Verwaltung hat kein Sachkonto."));
    case AuditFileFault::DuplicateAccount:
      return shell::BuiltInText("Audit file: the GL account \"" + v + "\" is listed twice.",
                                "Auditfile: de grootboekrekening \"" + v + "\" staat er twee keer in.",
                                cp1252::L("Prüfdatei: das Sachkonto \"") + v + cp1252::L("\" ist zweimal aufgeführt."));
    case AuditFileFault::DuplicatePartner:
      return shell::BuiltInText("Audit file: the relation \"" + v + "\" is listed twice.",
                                "Auditfile: de relatie \"" + v + "\" staat er twee keer in.",
                                cp1252::L("Prüfdatei: der Geschäftspartner \"") + v +
                                    cp1252::L("\" ist zweimal aufgeführt."));
    case AuditFileFault::UnlistedAccount:
      return shell::BuiltInText("Audit file: a booking uses the GL account \"" + v + "\", which does not exist.",
                                "Auditfile: een boeking gebruikt de grootboekrekening \"" + v +
                                    "\", die niet bestaat.",
                                cp1252::L("Prüfdatei: eine Buchung verwendet das Sachkonto \"") + v +
                                    cp1252::L("\", das es nicht gibt."));
    case AuditFileFault::TooManyJournals:
      return shell::BuiltInText("Audit file: the period uses more than 50 journals.",
                                "Auditfile: de periode gebruikt meer dan 50 dagboeken.",
                                cp1252::L("Prüfdatei: die Periode verwendet mehr als 50 Journale."));
    case AuditFileFault::UnwritableAmount:
      return shell::BuiltInText("Audit file: an amount on the GL account \"" + v + "\" cannot be written.",
                                "Auditfile: een bedrag op de grootboekrekening \"" + v +
                                    "\" kan niet worden geschreven.",
                                cp1252::L("Prüfdatei: ein Betrag auf dem Sachkonto \"") + v +
                                    cp1252::L("\" kann nicht geschrieben werden."));
  }
  return {};
}

std::variant<std::vector<std::string>, AuditFileRefusal> BuildAuditFile(const AuditFileSource& source,
                                                                          const AuditFileRequest& request) {
  using Refusal = AuditFileRefusal;
  using F = AuditFileFault;
  const records::AdminSettingsRec& s = source.settings;
  std::vector<std::string> periodStarts;
  for (int k = 2; k <= records::AdminSettingsRec::kPeriodStartCount; ++k) periodStarts.push_back(s.PeriodStart(k));

  if (IsBlank(s.TaxRegistrationId())) return Refusal{F::NoTaxRegistration, ""};
  std::string settingsYear = s.FiscalYear().empty() ? std::string("0000") : s.FiscalYear();
  auto settingsYearNumber = YearNumber(settingsYear);
  if (!settingsYearNumber) return Refusal{F::FiscalYearNotANumber, settingsYear};
  if (*settingsYearNumber < 1990) return Refusal{F::FiscalYearTooEarly, settingsYear};
  std::string choiceYear = request.periodChoice.substr(0, 4);
  auto year = YearNumber(choiceYear);
  if (!year || choiceYear.size() != 4) return Refusal{F::FiscalYearNotANumber, choiceYear};

  Range range = FindRange(source, request.periodChoice, *year);
  if (!IsValidDate(range.start) || !IsValidDate(range.end)) return Refusal{F::NoDateRange, ""};

  if (source.accounts.empty()) return Refusal{F::NoAccounts, ""};
  std::set<std::string, std::less<>> accountIds;
  for (const auto& a : source.accounts) {
    std::string id = Trimmed(a.AccountNumber());
    if (!accountIds.insert(id).second) return Refusal{F::DuplicateAccount, id};
  }
  std::set<std::string, std::less<>> partnerIds;
  for (const auto* list : {&source.customers, &source.suppliers}) {
    for (const auto& p : *list) {
      std::string id = PartnerId(p);
      if (!partnerIds.insert(id).second) return Refusal{F::DuplicatePartner, id};
    }
  }

  // The start balances and the lines of the range, checked before a line is
  // written.
  struct Opening {
    std::string account;
    Side side;
  };
  std::vector<Opening> openings;
  if (range.opening) {
    for (int i = 1; i <= records::FreezeRec::kAccountRows; ++i) {
      records::FreezeAccountRow row = range.opening->Account(i);
      if (!IsBalanceRow(row)) continue;
      std::string account = Trimmed(row.AccountNumber());
      if (!accountIds.count(account)) return Refusal{F::UnlistedAccount, account};
      auto cents = AmountCents(row.ClosingOwnSide() - row.ClosingOtherSide());
      if (!cents) return Refusal{F::UnwritableAmount, account};
      std::string type = Trimmed(row.AccountType());
      openings.push_back({account, {type == "D" || type == "T", *cents}});
    }
  }

  struct Journal {
    std::string name;
    std::string type;
    std::vector<std::size_t> lines;
  };
  std::vector<Journal> journals;
  journals.reserve(kMaxJournals);
  auto lastJournal = journals.end();
  std::vector<Side> sides(source.vouchers.size());
  for (std::size_t i = 0; i < source.vouchers.size(); ++i) {
    const records::JournalVoucherRec& v = source.vouchers[i];
    const std::string_view date = FieldView(v, records::JournalVoucherRec::kVoucherDate);
    if (date < range.start || date > range.end) continue;
    const std::string_view account = TrimView(FieldView(v, records::JournalVoucherRec::kAccountNumber));
    if (!accountIds.count(account)) return Refusal{F::UnlistedAccount, std::string(account)};
    double net = v.DebitAmount() - v.CreditAmount();
    auto cents = AmountCents(net > 0 ? net : -net);
    if (!cents) return Refusal{F::UnwritableAmount, std::string(account)};
    sides[i] = {net > 0, *cents};
    const std::string_view name = FieldView(v, records::JournalVoucherRec::kJournalName);
    auto it = lastJournal;
    if (it == journals.end() || it->name != name)
      it = std::find_if(journals.begin(), journals.end(), [&](const Journal& j) { return j.name == name; });
    if (it == journals.end()) {
      if (static_cast<int>(journals.size()) == kMaxJournals) return Refusal{F::TooManyJournals, std::string(name)};
      journals.push_back({std::string(name), JournalType(v), {}});
      it = journals.end() - 1;
    }
    lastJournal = it;
    it->lines.push_back(i);
  }

  std::int64_t entries = static_cast<std::int64_t>(openings.size());
  std::int64_t totalDebit = 0;
  std::int64_t totalCredit = 0;
  // A total beyond 18 digits before the point has no text the file may
  // hold (and would not fit the sum): refused like an amount.
  constexpr std::int64_t kMaxTotalCents = 999'999'999'999'999'999;
  auto add = [&](const Side& side) -> bool {
    std::int64_t& total = side.debit ? totalDebit : totalCredit;
    if (side.cents > kMaxTotalCents - total) return false;
    total += side.cents;
    return true;
  };
  for (const Opening& o : openings)
    if (!add(o.side)) return Refusal{F::UnwritableAmount, o.account};
  for (const Journal& j : journals) {
    entries += static_cast<std::int64_t>(j.lines.size());
    for (std::size_t i : j.lines)
      if (!add(sides[i]))
        return Refusal{F::UnwritableAmount, Trimmed(source.vouchers[i].AccountNumber())};
  }

  std::vector<std::string> out;
  out.reserve(64 + source.accounts.size() * 6 + (source.customers.size() + source.suppliers.size()) * 12 +
              source.vouchers.size() * 14);
  out.push_back("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>");
  out.push_back("<auditfile>");
  out.push_back(Open(1, "header"));
  out.push_back(Element(2, "auditfileVersion", "CLAIR2.00.00"));
  out.push_back(Element(2, "companyID", XmlText(request.administrationCode)));
  out.push_back(Element(2, "taxRegistrationNr", XmlText(s.TaxRegistrationId())));
  out.push_back(Element(2, "companyName", XmlText(s.CompanyName())));
  out.push_back(Element(2, "companyAddress", XmlText(s.Address())));
  out.push_back(Element(2, "companyCity", XmlText(s.Town())));
  out.push_back(Element(2, "companyPostalCode", XmlText(s.ZipCode())));
  out.push_back(Element(2, "fiscalYear", choiceYear));
  out.push_back(Element(2, "startDate", XmlDate(range.start)));
  out.push_back(Element(2, "endDate", XmlDate(range.end)));
  out.push_back(Element(2, "currencyCode", XmlText(s.CurrencyCode())));
  out.push_back(Element(2, "dateCreated", XmlDate(request.today)));
  out.push_back(Element(2, "productID", "Ombrelo Account Enterprise 2.0.6"));
  out.push_back(Element(2, "productVersion", "2.0.6"));
  out.push_back(Close(1, "header"));

  out.push_back(Open(1, "generalLedger"));
  out.push_back(Element(2, "taxonomy", "geen"));
  for (const auto& a : source.accounts) {
    out.push_back(Open(2, "ledgerAccount"));
    out.push_back(Element(3, "accountID", XmlText(Trimmed(a.AccountNumber()))));
    out.push_back(Element(3, "accountDesc", XmlText(a.Caption())));
    out.push_back(Element(3, "accountType", XmlText(a.AccountType())));
    out.push_back(Element(3, "leadCode", XmlText(a.CategoryName())));
    out.push_back(Close(2, "ledgerAccount"));
  }
  out.push_back(Close(1, "generalLedger"));

  if (!partnerIds.empty()) {
    out.push_back(Open(1, "customersSuppliers"));
    for (const auto* list : {&source.customers, &source.suppliers}) {
      for (const auto& p : *list) {
        out.push_back(Open(2, "customerSupplier"));
        out.push_back(Element(3, "custSupID", XmlText(PartnerId(p))));
        out.push_back(Element(3, "type", XmlText(Trimmed(p.RelationshipType()))));
        if (!IsBlank(p.TaxAccountNumber())) {
          out.push_back(Element(3, "taxRegistrationNr", XmlText(p.TaxAccountNumber())));
          if (IsValidDate(p.TaxVerificationDate()))
            out.push_back(Element(3, "taxVerificationDate", XmlDate(p.TaxVerificationDate())));
        }
        out.push_back(Element(3, "companyName", IsBlank(p.Name()) ? std::string(" niet beschikbaar") : XmlText(p.Name())));
        if (!IsBlank(p.Contact1Name())) out.push_back(Element(3, "contact", XmlText(p.Contact1Name())));
        out.push_back(Open(3, "streetAddress"));
        out.push_back(Element(4, "address", OrUnavailable(p.Address())));
        if (!IsBlank(p.Property())) out.push_back(Element(4, "property", XmlText(p.Property())));
        out.push_back(Element(4, "city", OrUnavailable(p.Town())));
        out.push_back(Element(4, "postalCode", IsBlank(p.ZipCode()) ? std::string("n.b.") : XmlText(p.ZipCode())));
        if (!p.Region().empty()) out.push_back(Element(4, "region", XmlText(p.Region())));
        out.push_back(Element(4, "country", OrUnavailable(p.Country())));
        out.push_back(Close(3, "streetAddress"));
        if (!IsBlank(p.CorrAddress())) {
          out.push_back(Open(3, "postalAddress"));
          out.push_back(Element(4, "address", OrUnavailable(p.CorrAddress())));
          out.push_back(Element(4, "city", OrUnavailable(p.CorrTown())));
          out.push_back(
              Element(4, "postalCode", IsBlank(p.CorrZipCode()) ? std::string("n.b.") : XmlText(p.CorrZipCode())));
          if (!p.CorrState().empty()) out.push_back(Element(4, "region", XmlText(p.CorrState())));
          out.push_back(Element(4, "country", OrUnavailable(p.CorrCountry())));
          out.push_back(Close(3, "postalAddress"));
        }
        if (!p.Telephone().empty()) out.push_back(Element(3, "telephone", XmlText(p.Telephone())));
        if (!p.Fax().empty()) out.push_back(Element(3, "fax", XmlText(p.Fax())));
        if (!p.Email().empty()) out.push_back(Element(3, "eMail", XmlText(p.Email())));
        if (!p.Website().empty()) out.push_back(Element(3, "website", XmlText(p.Website())));
        out.push_back(Close(2, "customerSupplier"));
      }
    }
    out.push_back(Close(1, "customersSuppliers"));
  }

  out.push_back(Open(1, "transactions"));
  out.push_back(Element(2, "numberEntries", std::to_string(entries)));
  out.push_back(Element(2, "totalDebit", CentsText(totalDebit)));
  out.push_back(Element(2, "totalCredit", CentsText(totalCredit)));
  const std::string currency = XmlText(s.CurrencyCode());
  // Lines that are the same in every booking line.
  const std::string openLine = Open(4, "line"), closeLine = Close(4, "line");
  const std::string openCurrency = Open(5, "currency"), closeCurrency = Close(5, "currency");
  const std::string currencyLine = Element(6, "currencyCode", currency);
  std::int64_t recordId = 0;
  using JV = records::JournalVoucherRec;
  auto writeLine = [&](std::string_view account, std::string_view partner, std::string_view description,
                       const Side& side, const JV* v) {
    out.push_back(openLine);
    out.push_back(Element(5, "recordID", std::to_string(++recordId)));
    out.push_back(TextElement(5, "accountID", account));
    if (!partner.empty()) out.push_back(TextElement(5, "custSupID", partner));
    out.push_back(TextElement(5, "description", description));
    const std::string amount = CentsText(side.cents);
    out.push_back(Element(5, side.debit ? "debitAmount" : "creditAmount", amount));
    if (v) {
      if (const std::string_view cost = TrimView(FieldView(*v, JV::kCostCentre)); !cost.empty())
        out.push_back(TextElement(5, "costDesc", cost));
      if (const std::string_view product = FieldView(*v, JV::kProductDescription); !product.empty())
        out.push_back(TextElement(5, "productDesc", product));
      if (const std::string_view project = FieldView(*v, JV::kProjectDescription); !project.empty())
        out.push_back(TextElement(5, "projectDesc", project));
    }
    out.push_back(openCurrency);
    out.push_back(currencyLine);
    out.push_back(Element(6, side.debit ? "currencyDebitAmount" : "currencyCreditAmount", amount));
    out.push_back(closeCurrency);
    out.push_back(closeLine);
  };

  if (!openings.empty()) {
    out.push_back(Open(2, "journal"));
    out.push_back(Element(3, "journalID", "0"));
    out.push_back(Element(3, "description", "Start Balance"));
    out.push_back(Element(3, "type", "Others"));
    out.push_back(Open(3, "transaction"));
    out.push_back(Element(4, "transactionID", "start balance"));
    out.push_back(Element(4, "period", "00"));
    out.push_back(Element(4, "transactionDate", XmlDate(range.start)));
    for (const Opening& o : openings) writeLine(o.account, {}, "start balance", o.side, nullptr);
    out.push_back(Close(3, "transaction"));
    out.push_back(Close(2, "journal"));
  }

  const std::string openTransaction = Open(3, "transaction"), closeTransaction = Close(3, "transaction");
  std::int64_t transactionNumber = 0;
  std::string partner;
  for (std::size_t j = 0; j < journals.size(); ++j) {
    const Journal& journal = journals[j];
    out.push_back(Open(2, "journal"));
    out.push_back(Element(3, "journalID", std::to_string(j + 1)));
    out.push_back(TextElement(3, "description", journal.name));
    out.push_back(Element(3, "type", journal.type));
    std::string_view currentDate, currentNumber;
    bool open = false;
    for (std::size_t i : journal.lines) {
      const JV& v = source.vouchers[i];
      const std::string_view date = FieldView(v, JV::kVoucherDate), number = FieldView(v, JV::kBookNumber);
      if (!open || date != currentDate || number != currentNumber) {
        if (open) out.push_back(closeTransaction);
        open = true;
        currentDate = date;
        currentNumber = number;
        out.push_back(openTransaction);
        out.push_back(Element(4, "transactionID", std::to_string(++transactionNumber)));
        std::string_view shown = number;
        while (!shown.empty() && shown.back() == ' ') shown.remove_suffix(1);
        out.push_back(TextElement(4, "description", shell::Cut(std::string(date) + " " + std::string(shown), 50)));
        out.push_back(Element(4, "period", PeriodOf(range, periodStarts, date)));
        out.push_back(Element(4, "transactionDate", XmlDate(date)));
        if (const std::string_view by = TrimView(FieldView(v, JV::kChangedBy)); !by.empty())
          out.push_back(TextElement(4, "sourceID", by));
      }
      const std::string_view type = TrimView(FieldView(v, JV::kPartnerType));
      const std::int32_t number32 = v.PartnerNumber();
      partner.clear();
      if ((type == "CUS" || type == "VEN") && number32 != 0 && number32 != -1) {
        partner.assign(type);
        partner += std::to_string(number32);
        if (!partnerIds.count(partner)) partner.clear();
      }
      writeLine(TrimView(FieldView(v, JV::kAccountNumber)), partner, TrimView(FieldView(v, JV::kLineText)), sides[i],
                &v);
    }
    if (open) out.push_back(closeTransaction);
    out.push_back(Close(2, "journal"));
  }
  out.push_back(Close(1, "transactions"));
  out.push_back("</auditfile>");
  return out;
}

std::variant<AuditFileSource, shell::FileSetFailure> ReadAuditFileSource() {
  shell::ScopedFileSet set("ADS;GLA;CUS;SUP;JVO;FRZ;");
  if (!set.Ok()) return set.Failure();
  AuditFileSource source;
  if (shell::RecordCount(shell::FileCode::ADS) > 0) shell::ReadRecord(shell::FileCode::ADS, 0, source.settings);
  source.accounts = shell::ReadAll<records::LedgerAccountRec>(shell::FileCode::GLA, shell::kSmallFileLimit);
  source.customers = shell::ReadAll<records::PartnerRec>(shell::FileCode::CUS);
  source.suppliers = shell::ReadAll<records::PartnerRec>(shell::FileCode::SUP);
  source.vouchers = shell::ReadAll<records::JournalVoucherRec>(shell::FileCode::JVO);
  source.freezes = shell::ReadAll<records::FreezeRec>(shell::FileCode::FRZ);
  set.Close();
  return source;
}

}  // namespace reports
