#include "ui/rtfreader.h"

#include <algorithm>
#include <map>
#include <regex>
#include <utility>

#include "platform/cp1252.h"

namespace ui {

namespace {

enum class Dest { Text, Skip, FontTable, ColorTable };

struct ParaFormat {
  RtfAlign align = RtfAlign::Left;
  int leftIndent = 0, rightIndent = 0, firstIndent = 0, spaceBefore = 0, spaceAfter = 0;
  std::vector<RtfTabStop> tabs;
  RtfTabStop::Kind pendingTabKind = RtfTabStop::Left;
};

struct GroupState {
  RtfCharFormat chars;
  ParaFormat para;
  Dest dest = Dest::Text;
  int uc = 1;  // characters a \u skips
};

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x110000) {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  RtfDocument Read();

 private:
  void ControlWord(const std::string& word, bool hasParam, int param);
  // The groups of control words; each returns whether the word was one of its own.
  bool DestinationWord(const std::string& word);
  void ColorTableWord(const std::string& word, int param);
  bool CharacterWord(const std::string& word, bool hasParam, int param);
  bool ParagraphWord(const std::string& word, int param);
  bool SpecialCharacterWord(const std::string& word, int param);
  void DocumentWord(const std::string& word, int param);
  void Byte(unsigned char b);  // a text byte in the code page
  void Text(std::string_view utf8);
  void EndParagraph();
  RtfParagraph NewParagraph() const;
  int Skipping();

  std::string_view in_;
  std::size_t pos_ = 0;
  std::vector<GroupState> stack_;
  GroupState st_;
  RtfDocument doc_;
  RtfParagraph para_;
  bool paraOpen_ = false;
  bool pendingPageBreak_ = false;
  int skipChars_ = 0;  // fallback characters after \u still to skip
  int defaultFont_ = 0;
  std::map<int, std::string> fonts_;
  int fontNumber_ = 0;
  std::string fontName_;
  std::vector<std::optional<RtfColor>> colors_;
  RtfColor color_;
  bool colorSet_ = false;
};

RtfParagraph Reader::NewParagraph() const {
  RtfParagraph p;
  p.align = st_.para.align;
  p.leftIndent = st_.para.leftIndent;
  p.rightIndent = st_.para.rightIndent;
  p.firstIndent = st_.para.firstIndent;
  p.spaceBefore = st_.para.spaceBefore;
  p.spaceAfter = st_.para.spaceAfter;
  p.tabs = st_.para.tabs;
  p.sizeHalfPoints = st_.chars.sizeHalfPoints;
  return p;
}

void Reader::Text(std::string_view utf8) {
  if (st_.dest == Dest::FontTable) {
    fontName_ += utf8;
    return;
  }
  if (st_.dest != Dest::Text) return;
  if (!paraOpen_) {
    para_ = NewParagraph();
    paraOpen_ = true;
  }
  // Paragraph formatting is taken as it stands when the text comes.
  const RtfParagraph now = NewParagraph();
  if (para_.runs.empty()) {
    para_.align = now.align;
    para_.leftIndent = now.leftIndent;
    para_.rightIndent = now.rightIndent;
    para_.firstIndent = now.firstIndent;
    para_.spaceBefore = now.spaceBefore;
    para_.spaceAfter = now.spaceAfter;
    para_.tabs = now.tabs;
  }
  if (!para_.runs.empty() && para_.runs.back().format == st_.chars) {
    para_.runs.back().text += utf8;
  } else {
    para_.runs.push_back({std::string(utf8), st_.chars});
  }
}

void Reader::Byte(unsigned char b) {
  if (skipChars_ > 0) {
    --skipChars_;
    return;
  }
  if (st_.dest == Dest::ColorTable) {
    if (b == ';') {
      colors_.push_back(colorSet_ ? std::optional<RtfColor>(color_) : std::nullopt);
      color_ = {};
      colorSet_ = false;
    }
    return;
  }
  if (st_.dest == Dest::FontTable && b == ';') {
    std::string name = fontName_;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(name.begin());
    fonts_[fontNumber_] = name;
    fontName_.clear();
    return;
  }
  const char c = static_cast<char>(b);
  Text(cp1252::ToUtf8(std::string_view(&c, 1)));
}

void Reader::EndParagraph() {
  if (st_.dest != Dest::Text) return;
  if (!paraOpen_) para_ = NewParagraph();
  para_.sizeHalfPoints = st_.chars.sizeHalfPoints;
  if (para_.runs.empty()) {
    const RtfParagraph now = NewParagraph();
    para_.align = now.align;
    para_.tabs = now.tabs;
    para_.leftIndent = now.leftIndent;
  }
  para_.pageBreakBefore = pendingPageBreak_;
  pendingPageBreak_ = false;
  doc_.paragraphs.push_back(std::move(para_));
  para_ = {};
  paraOpen_ = false;
}

bool Reader::DestinationWord(const std::string& w) {
  if (w == "fonttbl") {
    st_.dest = Dest::FontTable;
    return true;
  }
  if (w == "colortbl") {
    st_.dest = Dest::ColorTable;
    return true;
  }
  static const char* const skipped[] = {"stylesheet", "info",    "header",  "footer",  "headerl", "headerr",
                                        "headerf",    "footerl", "footerr", "footerf", "pict",    "object",
                                        "listtable",  "listoverridetable", "rsidtbl", "generator", "xmlnstbl",
                                        "themedata",  "colorschememapping", "latentstyles", "datastore"};
  for (const char* d : skipped)
    if (w == d) {
      st_.dest = Dest::Skip;
      return true;
    }
  return false;
}

void Reader::ColorTableWord(const std::string& w, int n) {
  const int v = std::clamp(n, 0, 255);
  if (w == "red") color_.r = v, colorSet_ = true;
  if (w == "green") color_.g = v, colorSet_ = true;
  if (w == "blue") color_.b = v, colorSet_ = true;
}

bool Reader::CharacterWord(const std::string& w, bool hasParam, int n) {
  auto color = [this](int i) -> std::optional<RtfColor> {
    if (i < 0 || static_cast<std::size_t>(i) >= colors_.size()) return std::nullopt;
    return colors_[static_cast<std::size_t>(i)];
  };
  auto fontName = [this](int i) {
    const auto it = fonts_.find(i);
    return it == fonts_.end() ? std::string() : it->second;
  };
  RtfCharFormat& c = st_.chars;
  const bool on = !hasParam || n != 0;
  if (w == "deff") {
    defaultFont_ = n;
  } else if (w == "plain") {
    c = RtfCharFormat{};
    c.font = fontName(defaultFont_);
  } else if (w == "f") {
    c.font = fontName(n);
  } else if (w == "fs") {
    if (hasParam && n > 0) c.sizeHalfPoints = std::min(n, 3276);
  } else if (w == "b") {
    c.bold = on;
  } else if (w == "i") {
    c.italic = on;
  } else if (w == "ul") {
    c.underline = on;
  } else if (w == "ulnone") {
    c.underline = false;
  } else if (w == "strike") {
    c.strike = on;
  } else if (w == "cf") {
    c.color = color(n);
  } else if (w == "highlight" || w == "cb") {
    c.background = n == 0 ? std::nullopt : color(n);
  } else {
    return false;
  }
  return true;
}

bool Reader::ParagraphWord(const std::string& w, int n) {
  ParaFormat& p = st_.para;
  if (w == "pard") {
    p = ParaFormat{};
  } else if (w == "par") {
    EndParagraph();
  } else if (w == "page") {
    if (paraOpen_ && !para_.runs.empty()) EndParagraph();
    pendingPageBreak_ = true;
  } else if (w == "ql") {
    p.align = RtfAlign::Left;
  } else if (w == "qc") {
    p.align = RtfAlign::Center;
  } else if (w == "qr") {
    p.align = RtfAlign::Right;
  } else if (w == "qj") {
    p.align = RtfAlign::Justify;
  } else if (w == "li") {
    p.leftIndent = n;
  } else if (w == "ri") {
    p.rightIndent = n;
  } else if (w == "fi") {
    p.firstIndent = n;
  } else if (w == "sb") {
    p.spaceBefore = n;
  } else if (w == "sa") {
    p.spaceAfter = n;
  } else if (w == "tqr") {
    p.pendingTabKind = RtfTabStop::Right;
  } else if (w == "tqc") {
    p.pendingTabKind = RtfTabStop::Center;
  } else if (w == "tqdec") {
    p.pendingTabKind = RtfTabStop::Decimal;
  } else if (w == "tx") {
    p.tabs.push_back({n, p.pendingTabKind});
    p.pendingTabKind = RtfTabStop::Left;
  } else {
    return false;
  }
  return true;
}

bool Reader::SpecialCharacterWord(const std::string& w, int n) {
  static const std::pair<const char*, const char*> symbols[] = {
      {"line", "\n"},
      {"tab", "\t"},
      {"emdash", "\xE2\x80\x94"},
      {"endash", "\xE2\x80\x93"},
      {"bullet", "\xE2\x80\xA2"},
      {"lquote", "\xE2\x80\x98"},
      {"rquote", "\xE2\x80\x99"},
      {"ldblquote", "\xE2\x80\x9C"},
      {"rdblquote", "\xE2\x80\x9D"},
  };
  for (const auto& [word, utf8] : symbols)
    if (w == word) {
      Text(utf8);
      return true;
    }
  if (w == "uc") {
    st_.uc = std::clamp(n, 0, 10);
  } else if (w == "u") {
    std::string t;
    AppendUtf8(t, static_cast<unsigned>(n < 0 ? n + 65536 : n));
    Text(t);
    skipChars_ = st_.uc;
  } else {
    return false;
  }
  return true;
}

void Reader::DocumentWord(const std::string& w, int n) {
  if (w == "paperw") {
    doc_.paperWidth = n;
  } else if (w == "paperh") {
    doc_.paperHeight = n;
  } else if (w == "margl") {
    doc_.marginLeft = n;
  } else if (w == "margr") {
    doc_.marginRight = n;
  } else if (w == "margt") {
    doc_.marginTop = n;
  } else if (w == "margb") {
    doc_.marginBottom = n;
  } else if (w == "landscape" || w == "lndscpsxn") {
    doc_.landscape = true;
  }
}

void Reader::ControlWord(const std::string& w, bool hasParam, int n) {
  // Destinations first: they change what the rest of the group is.
  if (DestinationWord(w)) return;
  if (st_.dest == Dest::Skip) return;
  if (st_.dest == Dest::ColorTable) {
    ColorTableWord(w, n);
    return;
  }
  if (st_.dest == Dest::FontTable) {
    if (w == "f") fontNumber_ = n;
    return;
  }
  if (CharacterWord(w, hasParam, n) || ParagraphWord(w, n) || SpecialCharacterWord(w, n)) return;
  DocumentWord(w, n);
  // Anything else (\ansi, \ansicpg, \viewkind, \lang, ...) is ignored.
}

RtfDocument Reader::Read() {
  st_.chars.font.clear();
  bool groupJustOpened = false;
  while (pos_ < in_.size()) {
    const char ch = in_[pos_++];
    const bool opened = groupJustOpened;
    groupJustOpened = false;
    if (ch == '{') {
      stack_.push_back(st_);
      groupJustOpened = true;
      continue;
    }
    if (ch == '}') {
      if (!stack_.empty()) {
        st_ = stack_.back();
        stack_.pop_back();
      }
      skipChars_ = 0;
      continue;
    }
    if (ch == '\r' || ch == '\n') continue;
    if (ch != '\\') {
      if (st_.dest == Dest::Skip) continue;
      Byte(static_cast<unsigned char>(ch));
      continue;
    }
    if (pos_ >= in_.size()) break;
    const char next = in_[pos_];
    if (IsLetter(next)) {
      std::string word;
      while (pos_ < in_.size() && IsLetter(in_[pos_]) && word.size() < 32) word += in_[pos_++];
      while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
      bool hasParam = false, negative = false;
      long value = 0;
      if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && IsDigit(in_[pos_ + 1])) {
        negative = true;
        ++pos_;
      }
      while (pos_ < in_.size() && IsDigit(in_[pos_])) {
        hasParam = true;
        if (value < 1000000000L) value = value * 10 + (in_[pos_] - '0');
        ++pos_;
      }
      if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
      const int param = static_cast<int>(negative ? -value : value);
      if (skipChars_ > 0 && word != "u") {
        // A control word inside the fallback of \u counts as one character.
        --skipChars_;
        continue;
      }
      ControlWord(word, hasParam, param);
      continue;
    }
    ++pos_;
    switch (next) {
      case '\'': {
        const int hi = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
        const int lo = pos_ + 1 < in_.size() ? HexValue(in_[pos_ + 1]) : -1;
        if (hi < 0 || lo < 0) break;
        pos_ += 2;
        if (st_.dest == Dest::Skip) break;
        Byte(static_cast<unsigned char>(hi * 16 + lo));
        break;
      }
      case '\\':
      case '{':
      case '}':
        if (st_.dest != Dest::Skip) Byte(static_cast<unsigned char>(next));
        break;
      case '~':
        if (st_.dest != Dest::Skip) Text("\xC2\xA0");
        break;
      case '_':
        if (st_.dest != Dest::Skip) Text("-");
        break;
      case '*':
        if (opened) st_.dest = Dest::Skip;
        break;
      case '\r':
      case '\n':
        ControlWord("par", false, 0);
        break;
      default:
        break;  // \- and unknown symbols
    }
  }
  if (paraOpen_ && !para_.runs.empty()) {
    st_.dest = Dest::Text;
    EndParagraph();
  }
  return std::move(doc_);
}

}  // namespace

std::string RtfParagraph::Text() const {
  std::string t;
  for (const RtfRun& r : runs) t += r.text;
  return t;
}

std::string RtfDocument::PlainText() const {
  std::string t;
  for (const RtfParagraph& p : paragraphs) t += p.Text() + "\n";
  return t;
}

RtfDocument ReadRtf(std::string_view rtf) { return Reader(rtf).Read(); }

bool IsPageMarkerText(std::string_view text) {
  static const std::regex marker(R"(\.   \.  \. \. \. \.\.\.new page (\d+) \.\.\. \. \. \.  \.   \.)");
  return std::regex_match(text.begin(), text.end(), marker);
}

std::vector<std::vector<RtfParagraph>> SplitPages(const RtfDocument& doc) {
  std::vector<std::vector<RtfParagraph>> pages(1);
  for (const RtfParagraph& p : doc.paragraphs) {
    if (IsPageMarkerText(p.Text())) {
      pages.emplace_back();
      continue;
    }
    if (p.pageBreakBefore && !pages.back().empty()) pages.emplace_back();
    pages.back().push_back(p);
  }
  return pages;
}

std::vector<RtfParagraph> WithoutMarkers(const RtfDocument& doc) {
  std::vector<RtfParagraph> out;
  for (const RtfParagraph& p : doc.paragraphs)
    if (!IsPageMarkerText(p.Text())) out.push_back(p);
  return out;
}

}  // namespace ui
