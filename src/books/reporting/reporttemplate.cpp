#include "books/reporting/reporttemplate.h"

#include "text/builtintext.h"

namespace books::reporting {

namespace {

constexpr std::array<std::string_view, kSectionCount> kTags = {
    "<Header>", "<Subheader1>", "<Subheader2>", "<Detail1>",   "<FromBS>",            "<FromP&L>",
    "<ToBS>",   "<ToP&L>",      "<Subtotal1>",  "<Subtotal1nextpage>", "<Total1>", "<Footer>"};

// The order in which a line is tested for the tags.
constexpr std::array<Section, kSectionCount> kTestOrder = {
    Section::Footer,  Section::Total1, Section::Subtotal1nextpage, Section::Subtotal1,
    Section::ToPL,    Section::ToBS,   Section::Detail1,           Section::FromPL,
    Section::FromBS,  Section::Subheader2, Section::Subheader1,    Section::Header};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The position of the first "\fs" that a digit follows, from `from`.
std::size_t FindSize(std::string_view line, std::size_t from = 0) {
  for (std::size_t p = line.find("\\fs", from); p != std::string_view::npos; p = line.find("\\fs", p + 1))
    if (p + 3 < line.size() && IsDigit(line[p + 3])) return p;
  return std::string_view::npos;
}

// The number of up to `most` digits at `at`; nullopt when no digit is there.
std::optional<int> Digits(std::string_view line, std::size_t at, int most) {
  int n = 0, v = 0;
  while (n < most && at + n < line.size() && IsDigit(line[at + n])) v = v * 10 + (line[at + n++] - '0');
  if (n == 0) return std::nullopt;
  return v;
}

// The value after the first `word` of the line (up to `most` digits).
std::optional<int> WordValue(std::string_view line, std::string_view word, int most) {
  const std::size_t p = line.find(word);
  if (p == std::string_view::npos) return std::nullopt;
  return Digits(line, p + word.size(), most);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace

std::string_view SectionTag(Section s) { return kTags[static_cast<int>(s)]; }

std::string TemplateFileName(char kind) {
  switch (kind) {
    case '1': return "trailbalancetemplate.rtf";
    case '2': return "balancetemplate.rtf";
    case '3': return "accounttemplate.rtf";
    case '4': return "journaltemplate.rtf";
    case '5': return "Debtorstemplate.rtf";
    case '6': return "Creditorstemplate.rtf";
    default: return {};
  }
}

int RtfLineHeight(std::string_view line, RtfSizeState& state) {
  if (state.current == 0) state.current = state.defaultSize;
  const int start = state.current;
  int max = 0, size = 0;
  constexpr auto npos = std::string_view::npos;
  for (;;) {
    const std::size_t o = line.find('{'), f = FindSize(line), c = line.find('}');
    if (o == npos && f == npos && c == npos) {
      if (line.starts_with("\\par")) max = std::max(max, state.current);
      break;
    }
    if (o != npos && c != npos && o < c && (f == npos || f > c)) {
      size = state.defaultSize;
      line.remove_prefix(c + 1);
    } else if (o != npos && f == npos && c == npos) {
      size = state.defaultSize;
      line.remove_prefix(o + 1);
    } else if (f != npos) {
      size = *Digits(line, f + 3, 3);
      line.remove_prefix(f + 3);
    } else {
      line.remove_prefix(c + 1);
    }
    max = std::max(max, size);
    state.current = size;
    if (o == npos && f == npos) break;
  }
  return max == 0 ? start : max;
}

std::string RtfEscape(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (ch == '\\' || ch == '{' || ch == '}') {
      out += '\\';
      out += ch;
    } else if (ch == '\r' || ch == '\n' || ch == '\t') {
      out += ' ';
    } else if (b > 127) {
      out += "\\'";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

bool ReplaceFirst(std::string& line, std::string_view placeholder, std::string_view value) {
  const std::size_t p = line.find(placeholder);
  if (p == std::string::npos) return false;
  line.replace(p, placeholder.size(), RtfEscape(value));
  return true;
}

std::vector<std::string> ParsedTemplate::Lines(Section s) const {
  const TemplateSection& t = (*this)[s];
  return {lines.begin() + t.first, lines.begin() + t.first + t.count};
}

std::vector<Placeholder> FixedPlaceholders(const records::AdminSettingsRec& a, const records::SystemParamRec& s,
                                           const std::string& journal, const std::string& printDate,
                                           const std::string& time) {
  return {{"<Balancename>", "Balance sheet"},
          {"<Income statementname>", "Income statement"},
          {"<Journal>", journal},
          {"<Company>", a.CompanyName()},
          {"<Adress>", a.Address()},
          {"<Zipcode>", a.ZipCode()},
          {"<Town>", a.Town()},
          {"<State>", a.State()},
          {"<Country>", a.Country()},
          {"<Telephone>", a.Telephone()},
          {"<Fax>", a.Fax()},
          {"<Email>", a.Email()},
          {"<Website>", a.Website()},
          {"<Companyregistration>", a.CompanyRegistration()},
          {"<Extraitem1>", a.ExtraItem1()},
          {"<Extraitem2>", a.ExtraItem2()},
          {"<SystemCompany>", s.CompanyName()},
          {"<SystemTelephone>", s.Telephone()},
          {"<SystemAdress>", s.Address()},
          {"<SystemFax>", s.Fax()},
          {"<SystemZipcode>", s.ZipCode()},
          {"<SystemEmail>", s.Email()},
          {"<SystemTown>", s.Town()},
          {"<SystemWebsite>", s.Website()},
          {"<SystemState>", s.AddressExtra()},
          {"<SystemCountry>", s.Country()},
          {"<printdate>", printDate},
          {"<time>", time}};
}

std::string MsgTemplateWithoutHeader(const std::string& name) {
  return text::BuiltInText(text::BuiltIn::TemplateWithoutHeader, {name});
}

TemplateOrError ParseReportTemplate(const std::string& name, std::string_view text,
                                    const std::vector<Placeholder>& fixed) {
  ParsedTemplate t;
  const std::vector<std::string> source = SplitLines(text);

  // The default size: the first "\fs" size of the template (outside the
  // Header tag line), so that every section line is measured with it.
  t.defaultFontSize = 0;
  for (const std::string& line : source) {
    if (line.find("<Header>") != std::string::npos) continue;
    if (const std::size_t f = FindSize(line); f != std::string::npos) {
      t.defaultFontSize = *Digits(line, f + 3, 3);
      if (t.defaultFontSize > 0) break;
    }
  }
  if (t.defaultFontSize == 0) t.defaultFontSize = kDefaultRtfFontSize;

  RtfSizeState sizes{t.defaultFontSize, 0};
  std::optional<Section> current;
  std::optional<std::size_t> headerLine;
  bool hasHeader = false;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::string& line = source[i];
    if (line.find("<Header>") == std::string::npos) {
      if (auto w = WordValue(line, "\\paperw", 5)) t.paperWidth = *w;
      if (auto h = WordValue(line, "\\paperh", 5)) t.paperHeight = *h;
    }
    for (Section s : kTestOrder) {
      TemplateSection& sec = t.sections[static_cast<int>(s)];
      if (line.find(SectionTag(s)) != std::string::npos) {
        if (s == Section::Header) {
          headerLine = i;
          hasHeader = true;
          sizes.current = 0;
        } else if (s == Section::Subheader1 && current != Section::Header) {
          headerLine = i;
        }
        current = s;
        sec.first = static_cast<int>(t.lines.size());
        sec.count = 0;
        sec.height = 0;
      } else if (current == s) {
        if (s == Section::Footer && line.starts_with("}")) continue;
        if (sec.count == 0) sec.first = static_cast<int>(t.lines.size());
        t.lines.push_back(line);
        ++sec.count;
        sec.height += RtfLineHeight(line, sizes);
      }
    }
  }
  // Without a Header there is nothing to print at the top of later pages,
  // and the company placeholders before a Subheader1 would print raw: such a
  // template is refused even when a Subheader1 would end its preamble.
  if (!hasHeader || !headerLine) return {std::nullopt, MsgTemplateWithoutHeader(name)};

  t.output.assign(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(*headerLine));
  for (std::string& line : t.lines)
    for (const auto& [placeholder, value] : fixed) ReplaceFirst(line, placeholder, value);
  for (std::string& line : t.Lines(Section::Header)) t.output.push_back(std::move(line));
  return {std::move(t), {}};
}

}  // namespace books::reporting
