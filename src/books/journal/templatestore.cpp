#include "books/journal/templatestore.h"

#include <string_view>
#include <utility>

#include "records/journalvoucherrec.h"
#include "records/vouchertemplaterec.h"
#include "store/fileset.h"
#include "text/textroutines.h"

namespace books::journal {

namespace {

using records::JournalVoucherRec;
using records::VoucherTemplateRec;
using store::FileCode;

constexpr const char* kFileList = "JVT";

// A typed text as a field stores it: cut to the field, no trailing blanks.
std::string Stored(const std::string& text, std::size_t room) {
  return text::TrimTrailingBlanks(text::Cut(text, room));
}

VoucherTemplateRec ToRecord(const VoucherTemplate& value, bool withAmounts) {
  VoucherTemplateRec rec;  // every byte 0
  rec.SetName(TemplateNameKey(value.name));
  for (int i = 1; i <= VoucherTemplateRec::kLineCount; ++i) {
    const TemplateLine& from = value.lines[static_cast<std::size_t>(i - 1)];
    JournalVoucherRec line;  // every byte 0: the fields a template does not use stay empty
    line.SetLineText(Stored(from.text, JournalVoucherRec::kLineText.capacity));
    line.SetAccountNumber(Stored(from.accountNumber, JournalVoucherRec::kAccountNumber.capacity));
    line.SetAccountCaption(Stored(from.accountCaption, JournalVoucherRec::kAccountCaption.capacity));
    line.SetCostCentre(Stored(from.costCentre, JournalVoucherRec::kCostCentre.capacity));
    line.SetDebitAmount(withAmounts ? from.debit : 0.0);
    line.SetCreditAmount(withAmounts ? from.credit : 0.0);
    rec.SetLine(i, line);
  }
  return rec;
}

VoucherTemplate FromRecord(const VoucherTemplateRec& rec) {
  VoucherTemplate value;
  value.name = rec.Name();
  for (int i = 1; i <= VoucherTemplateRec::kLineCount; ++i) {
    const JournalVoucherRec line = rec.Line(i);
    TemplateLine& to = value.lines[static_cast<std::size_t>(i - 1)];
    to.text = text::TrimTrailingBlanks(line.LineText());
    to.accountNumber = text::TrimTrailingBlanks(line.AccountNumber());
    to.accountCaption = text::TrimTrailingBlanks(line.AccountCaption());
    to.costCentre = text::TrimTrailingBlanks(line.CostCentre());
    to.debit = line.DebitAmount();
    to.credit = line.CreditAmount();
  }
  return value;
}

// Templates are a few hundred records at most; a larger file is damaged.
std::vector<VoucherTemplateRec> ReadTemplates() {
  return store::ReadAll<VoucherTemplateRec>(FileCode::JVT, store::kSmallFileLimit);
}

// The index of the record named exactly `key`, if any.
std::optional<int> IndexOf(const std::vector<VoucherTemplateRec>& recs, const std::string& key) {
  for (std::size_t i = 0; i < recs.size(); ++i)
    if (recs[i].Name() == key) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace

std::string TemplateNameKey(const std::string& name) { return text::Cut(name, kTemplateNameRoom); }

TemplateNames ListTemplates() {
  store::ScopedFileSet set(kFileList);
  if (!set.Ok()) return TemplateNames::Failed(set.Failure());
  std::vector<std::string> names;
  for (const VoucherTemplateRec& rec : ReadTemplates()) names.push_back(rec.Name());
  set.Close();
  return {TemplateOutcome::Done, {}, std::move(names)};
}

TemplateStatus SaveTemplate(const VoucherTemplate& value, bool withAmounts) {
  const std::string key = TemplateNameKey(value.name);
  if (key.empty()) return {TemplateOutcome::NameMissing, {}, {}};
  const VoucherTemplateRec rec = ToRecord(value, withAmounts);

  store::ScopedFileSet set(kFileList);
  if (!set.Ok()) return TemplateStatus::Failed(set.Failure());
  const std::vector<VoucherTemplateRec> recs = ReadTemplates();
  // The first record whose name is not smaller (std::string compares bytes
  // as unsigned char, which is code page 1252 byte order).
  std::size_t at = 0;
  while (at < recs.size() && recs[at].Name() < key) ++at;
  TemplateOutcome outcome = TemplateOutcome::Added;
  if (at < recs.size() && recs[at].Name() == key) {
    store::WriteRecord(FileCode::JVT, static_cast<int>(at), rec);
    outcome = TemplateOutcome::Replaced;
  } else {
    store::InsertRecords(FileCode::JVT, static_cast<int>(at), std::vector<VoucherTemplateRec>{rec});
  }
  set.Close();
  return {outcome, {}, {}};
}

TemplateStatus DeleteTemplate(const std::string& name) {
  const std::string key = TemplateNameKey(name);
  if (key.empty()) return {TemplateOutcome::NameMissing, {}, {}};

  store::ScopedFileSet set(kFileList);
  if (!set.Ok()) return TemplateStatus::Failed(set.Failure());
  const std::optional<int> at = IndexOf(ReadTemplates(), key);
  if (at) store::DeleteRecords(FileCode::JVT, *at);
  set.Close();
  return {at ? TemplateOutcome::Done : TemplateOutcome::NotFound, {}, {}};
}

LoadedTemplate LoadTemplate(const std::string& name) {
  const std::string key = TemplateNameKey(name);
  if (key.empty()) return {TemplateOutcome::NameMissing, {}, std::nullopt};

  store::ScopedFileSet set(kFileList);
  if (!set.Ok()) return LoadedTemplate::Failed(set.Failure());
  const std::vector<VoucherTemplateRec> recs = ReadTemplates();
  const std::optional<int> at = IndexOf(recs, key);
  set.Close();
  if (!at) return {TemplateOutcome::NotFound, {}, std::nullopt};
  return {TemplateOutcome::Done, {}, FromRecord(recs[static_cast<std::size_t>(*at)])};
}

}  // namespace books::journal
