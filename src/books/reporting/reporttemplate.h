// Report templates: a rich-text (RTF) file per report kind, read line by
// line. The lines before the first section tag are the preamble (font and
// colour tables, paper size); each tag line ("<Header>", "<Detail1>", ...)
// starts a section that runs to the next tag line. The report engine copies
// the sections into the report page by page and measures pages by the
// heights of their lines in half-points.
//
// Everything here is text processing on the raw lines, without a form and
// without raising: a damaged template (tags missing or out of order, CRLF
// line ends, unbalanced braces, no font size) gives either a sound default
// or a refusal with a message that names the template. Values inserted
// into the RTF text are escaped, so a "\", "{" or "}" in a company name
// cannot break the document's groups.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/systemparamrec.h"

namespace books::reporting {

// The sections, in the order a well-formed template lists them.
enum class Section {
  Header, Subheader1, Subheader2, Detail1, FromBS, FromPL, ToBS, ToPL, Subtotal1, Subtotal1nextpage, Total1, Footer
};
inline constexpr int kSectionCount = 12;
// The tag of a section ("<Header>", "<FromP&L>", ...).
std::string_view SectionTag(Section s);

// The template file of a report kind '1'..'6'; empty for another kind.
std::string TemplateFileName(char kind);

// The size of an RTF document when none is set: 12 pt.
inline constexpr int kDefaultRtfFontSize = 24;

// The font size state carried from line to line, in half-points.
struct RtfSizeState {
  int defaultSize = kDefaultRtfFontSize;  // the template's first "\fs"
  int current = 0;                        // the size in force; 0: the default
};
// The height of one template line: the largest font size used on it, found
// by text search for "{", "}" and "\fs" followed by a digit ("\fswiss" is no
// size). A group opened without a size counts the default size; a line
// without any of them counts the size in force when it starts with "\par".
// A line that only closes a group ("}") sets the size in force back to the
// default for the next line. Sizes have one to three digits.
int RtfLineHeight(std::string_view line, RtfSizeState& state);

// `text` as RTF text: "\", "{" and "}" escaped, bytes above 127 as "\'hh",
// CR, LF and TAB as blanks. The bytes are CP1252.
std::string RtfEscape(std::string_view text);

struct TemplateSection {
  int first = 0;   // index of its first line in ParsedTemplate::lines
  int count = 0;   // its number of lines
  int height = 0;  // the sum of the heights of its lines, half-points
};

struct ParsedTemplate {
  std::vector<std::string> output;  // the preamble, then the Header section
  std::vector<std::string> lines;   // the section lines in template order
  std::array<TemplateSection, kSectionCount> sections{};
  int paperWidth = 0;   // twips, from "\paperw"; 0: not given
  int paperHeight = 0;  // twips, from "\paperh"; 0: not given
  int defaultFontSize = kDefaultRtfFontSize;
  const TemplateSection& operator[](Section s) const { return sections[static_cast<int>(s)]; }
  // The lines of a section.
  std::vector<std::string> Lines(Section s) const;
};

// A placeholder and the raw (unescaped) value that replaces it.
using Placeholder = std::pair<std::string, std::string>;
// The placeholders a parse replaces, in the order it replaces them: the
// fixed names, the journal, the company fields of the administration and
// of the system, the print date ("YYYYMMDD") and the time.
std::vector<Placeholder> FixedPlaceholders(const records::AdminSettingsRec& settings,
                                           const records::SystemParamRec& system, const std::string& journal,
                                           const std::string& printDate, const std::string& time);

// Replaces the first occurrence of `placeholder` in `line` by `value`,
// escaped; false when the line does not hold it.
bool ReplaceFirst(std::string& line, std::string_view placeholder, std::string_view value);

struct TemplateOrError {
  std::optional<ParsedTemplate> parsed;
  std::string error;
};
// Splits the text of template `name` into its preamble and sections,
// measures the sections, notes the paper size and the default font size
// (the first "\fs" size, 24 without one), replaces in every section line
// the first occurrence of each placeholder of `fixed`, and starts the
// output with the preamble and the Header section. Lines may end in CR LF,
// LF or CR. In the Footer section a line that starts with "}" is dropped.
// A tag line is never copied; a tag out of the order above is copied as a
// line into the section it follows (the engine's rule, kept so that
// templates mean what they always meant). A template without "<Header>"
// is refused, also when a "<Subheader1>" would end its preamble.
TemplateOrError ParseReportTemplate(const std::string& name, std::string_view text,
                                    const std::vector<Placeholder>& fixed);

// "The report template X has no <Header> section".
std::string MsgTemplateWithoutHeader(const std::string& name);

}  // namespace books::reporting
