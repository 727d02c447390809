#include "books/reporting/reportrun.h"

#include <algorithm>
#include <map>
#include <memory>

#include "books/closing/periodclosing.h"
#include "books/partners/partnerstore.h"
#include "books/reporting/paging.h"
#include "platform/cp1252.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "records/freezerec.h"
#include "records/invoicerec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "store/fileset.h"
#include "store/scopedfileset.h"

namespace books::reporting {

namespace {

// What the layout takes from the request.
ReportLayoutInput LayoutInputOf(const ReportRunRequest& rq) {
  ReportLayoutInput in;
  in.kind = rq.kind;
  in.pageHeight = PageHeightOf(rq.kind);
  in.decimals = rq.decimals;
  in.periodText = rq.periodText;
  in.today = rq.today;
  in.accountNumber = rq.accountNumber;
  in.accountName = rq.accountName;
  in.progress = rq.progress;
  return in;
}

// Kinds 5 and 6: the invoices read whole, each partner found once by number.
BuiltReport OpenItemsReport(const ParsedTemplate& parsed, ReportLineSources src, const ReportLayoutInput& in) {
  const auto invoices = store::ReadAll<records::InvoiceRec>(store::FileCode::INV);
  const auto partnerKind =
      src.kind == '5' ? books::partners::PartnerKind::Customer : books::partners::PartnerKind::Supplier;
  auto cache = std::make_shared<std::map<std::int32_t, std::optional<records::PartnerRec>>>();
  src.invoices = &invoices;
  src.partner = [cache, partnerKind](std::int32_t number) {
    const auto it = cache->find(number);
    if (it != cache->end()) return it->second;
    const books::partners::PartnerResult found = books::partners::FindPartnerByNumber(partnerKind, number);
    std::optional<records::PartnerRec> partner;
    if (found.Ok() && found.value) partner = found.value->record;
    (*cache)[number] = partner;
    return partner;
  };
  return BuildOpenItemsReport(parsed, src, in);
}

// The files a ledger report of `kind` reads; the others stay empty.
struct BookFiles {
  std::vector<records::FreezeRec> freezes;
  std::vector<records::JournalVoucherRec> vouchers;
  std::vector<records::LedgerAccountRec> accounts;
  std::vector<records::LedgerCategoryRec> categories;
};
BookFiles ReadBookFiles(char kind) {
  // The grid reports (kinds 1, 2) lay out what the balance computation gave
  // them and read none of these files; the journal reads the freezes and the
  // vouchers, only the ledger card the accounts and categories too.
  const bool readsBooks = kind == '3' || kind == '4';
  BookFiles f;
  if (readsBooks) f.freezes = store::ReadAll<records::FreezeRec>(store::FileCode::FRZ, store::kSmallFileLimit);
  if (readsBooks) f.vouchers = store::ReadAll<records::JournalVoucherRec>(store::FileCode::JVO);
  if (kind == '3') f.accounts = store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit);
  if (kind == '3')
    f.categories = store::ReadAll<records::LedgerCategoryRec>(store::FileCode::GLC, store::kSmallFileLimit);
  return f;
}

// Kinds 1 to 4, once the files are read and closed.
ReportRunResult LedgerReport(const ReportRunRequest& rq, const ParsedTemplate& parsed, ReportLineSources src,
                             const ReportLayoutInput& in, const BookFiles& books) {
  ReportRunResult out;
  const char kind = rq.kind;
  if (kind == '1' || kind == '2') {
    static const std::vector<books::closing::GridRow> kNoGrid;
    src.grid = rq.balance ? &rq.balance->grid : &kNoGrid;
    src.gridRowCount = rq.balance ? rq.balance->gridRowCount : 0;
    if (rq.balance) src.period = rq.balance->period;
    out.report = BuildLedgerReport(parsed, src, in);
    return out;
  }
  const books::reporting::ResolvedReport resolved =
      books::reporting::ResolveReportPeriod(std::string(1, kind), rq.periodText, rq.settings, books.freezes);
  if (!resolved.period) {
    out.error = resolved.error;
    return out;
  }
  src.period = resolved.period;
  src.openPeriodChosen = resolved.OpenPeriodChosen();
  src.vouchers = &books.vouchers;
  src.journal = rq.journal;
  if (kind == '3') {
    src.cardAccounts = rq.cardAccounts;
    src.accounts = &books.accounts;
    src.categories = &books.categories;
    const auto snapshot = resolved.OpeningSnapshot();
    if (snapshot && *snapshot >= 0 && static_cast<std::size_t>(*snapshot) < books.freezes.size())
      src.openingSnapshot = &books.freezes[static_cast<std::size_t>(*snapshot)];
  }
  out.report = BuildLedgerReport(parsed, src, in);
  return out;
}

}  // namespace

ReportRunResult RunReport(const ReportRunRequest& rq) {
  ReportRunResult out;
  const char kind = rq.kind;
  const bool openItems = kind == '5' || kind == '6';
  const std::string name = books::reporting::TemplateFileName(kind);
  if (name.empty()) {
    out.error = "No report template available.()";
    return out;
  }
  store::TextFileName = name;
  const std::string list =
      openItems ? (kind == '5' ? "RAP;INV;CUS;PAY" : "RAP;INV;SUP;PAY") : "FRZ;RAP;JVO;GLA;GLC";
  store::ScopedFileSet set(list);
  if (!set.Ok()) {
    out.error = set.Failure().text;
    return out;
  }
  const std::string text = store::ReadTextFile(store::FileCode::RAP);
  const books::reporting::TemplateOrError parsed = books::reporting::ParseReportTemplate(
      name, text, books::reporting::FixedPlaceholders(rq.settings, rq.system, rq.journal, rq.today, rq.time));
  if (!parsed.parsed) {
    out.error = parsed.error;
    return out;
  }
  books::reporting::ReportLineSources src;
  src.kind = kind;
  const ReportLayoutInput in = LayoutInputOf(rq);

  if (openItems) {
    out.report = OpenItemsReport(*parsed.parsed, src, in);
    set.Close();
    return out;
  }
  const BookFiles books = ReadBookFiles(kind);
  set.Close();
  return LedgerReport(rq, *parsed.parsed, src, in, books);
}

std::vector<std::string> PeriodListItems(const std::vector<std::string>& frozenLabels,
                                         const std::string& currentAnnualBalance, const std::string& currentPeriod) {
  std::vector<std::string> items(frozenLabels.rbegin(), frozenLabels.rend());
  const std::optional<std::string> last =
      frozenLabels.empty() ? std::nullopt : std::optional<std::string>(frozenLabels.back());
  items.insert(items.begin(), books::closing::OpenPeriodLabel(last, currentAnnualBalance, currentPeriod));
  return items;
}

std::vector<std::string> JournalListItems(const std::vector<records::JournalVoucherRec>& vouchers,
                                          const books::closing::ReportPeriod& period, bool openPeriodChosen) {
  std::vector<std::string> names;
  for (auto it = vouchers.rbegin(); it != vouchers.rend(); ++it) {
    const std::string date = it->VoucherDate();
    if (date < period.start) break;
    if (!(date < period.end || openPeriodChosen)) continue;
    const std::string name = it->JournalName();
    const bool known = std::any_of(names.begin(), names.end(),
                                   [&](const std::string& n) { return cp1252::EqualsIgnoringCase(n, name); });
    if (known) continue;
    const auto at = std::find_if(names.begin(), names.end(),
                                 [&](const std::string& n) { return cp1252::CompareIgnoringCase(n, name) > 0; });
    names.insert(at, name);
  }
  names.insert(names.begin(), "*.*");
  return names;
}

std::string ComboExitText(const std::vector<std::string>& items, const std::string& text) {
  for (const std::string& item : items)
    if (cp1252::EqualsIgnoringCase(item, text)) return text;
  return items.empty() ? std::string() : items.front();
}

std::string WriteReportFile(const std::string& path, const std::string& bytes) {
  platform::FileSystem& fs = platform::Fs();
  const std::string temp = path + ".saving";
  std::unique_ptr<platform::FileHandle> file;
  int rc = fs.CreateEmpty(temp, file);
  if (rc == 0) rc = file->WriteAt(0, bytes.data(), bytes.size());
  if (rc == 0) rc = file->Sync();
  if (file) {
    const int closed = file->Close();
    if (rc == 0) rc = closed;
  }
  if (rc == 0) rc = fs.RenameOver(temp, path);
  if (rc != 0) {
    fs.Delete(temp);
    return platform::OsErrorText(rc);
  }
  return {};
}

}  // namespace books::reporting
