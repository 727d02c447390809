// The voucher templates: named sets of the eight entry lines of a voucher,
// kept in the template file JVT ("booktemp.vlk", in the administration's
// folder), one record per template, sorted by name.
//
// Rules:
// - A name is cut to 40 bytes (code page 1252) before anything compares it,
//   as the file stores it: a longer name saved twice overwrites, it never
//   makes two records of one stored name. Names compare as byte strings,
//   case-sensitive, so "rent" sorts after "Salary".
// - Saving a new name inserts it at its sorted place through
//   store::InsertRecords (crash-safe: another copy or a crash sees the old
//   file or the new one); an existing name is overwritten in place, the
//   count unchanged. Deleting goes through store::DeleteRecords; a name not
//   in the file changes nothing.
// - Loading an unknown name loads nothing.
// - Line texts are stored cut to their field (50, 15, 30, 20 bytes) without
//   trailing blanks; every other field of an embedded line is written empty
//   and every byte of a new record not named here is zero. Without amounts
//   every debit and credit is stored as 0.
// - An empty name is refused before any file opens (NameMissing); the form
//   shows its message for it.
// - Each call opens its own "JVT" set through store::ScopedFileSet. The store
//   shows nothing: a set that does not open comes back as FileSetFailed with
//   the set's failure for the form to show. Any other file error raises
//   platform::IoError; the set is closed by then and a half-done insert or
//   delete has been rolled back.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "store/result.h"
#include "store/scopedfileset.h"

namespace books::journal {

// One entry line of a template.
struct TemplateLine {
  std::string text;
  std::string accountNumber;
  std::string accountCaption;
  std::string costCentre;
  double debit = 0;
  double credit = 0;
  bool operator==(const TemplateLine&) const = default;
};

// A template: its name and the eight entry lines, top to bottom.
struct VoucherTemplate {
  static constexpr int kLineCount = 8;
  std::string name;
  std::array<TemplateLine, kLineCount> lines{};
  bool operator==(const VoucherTemplate&) const = default;
};

// The stored capacity of a template name.
inline constexpr std::size_t kTemplateNameRoom = 40;

enum class TemplateOutcome {
  Done,           // listed, loaded or deleted
  Added,          // saved under a new name
  Replaced,       // saved over the template of that name
  NotFound,       // load or delete: no template of that name; nothing changed
  NameMissing,    // an empty name; no file was opened
  FileSetFailed,  // the set did not open; `failure` tells why
};

// Done, Added, Replaced, NotFound, NameMissing or FileSetFailed.
using TemplateStatus = store::Result<TemplateOutcome>;
// The value: the names in file order (Done only).
using TemplateNames = store::Result<TemplateOutcome, std::vector<std::string>>;
// The value: the template (Done only).
using LoadedTemplate = store::Result<TemplateOutcome, VoucherTemplate>;

// The names of the templates, in file order.
TemplateNames ListTemplates();
// Saves `value` under its name (cut to 40): overwrites the template of that
// name, else inserts it at its sorted place. Without amounts every debit and
// credit is stored as 0.
TemplateStatus SaveTemplate(const VoucherTemplate& value, bool withAmounts);
// Deletes the template named exactly `name` (after the cut to 40).
TemplateStatus DeleteTemplate(const std::string& name);
// The template named exactly `name` (after the cut to 40); nothing when the
// file holds no such name. Texts come back without trailing blanks.
LoadedTemplate LoadTemplate(const std::string& name);

// The name as the file stores and compares it: cut to 40 bytes.
std::string TemplateNameKey(const std::string& name);

}  // namespace books::journal
