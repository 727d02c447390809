// helpgen: builds one help document of the program from its readable source
// in data/help/.
//
//   helpgen SOURCE RTFFILE
//
// SOURCE is UTF-8 text, one paragraph of the document per line. Lines that
// start with "#" are comments; every other line, an empty one included, is a
// paragraph. The lines before the one that starts with the start mark "<0>"
// are the preamble, which the help viewer removes. After it, a line that
// starts with "<1>", "<2>" or "<3>" is a heading of that level: the mark, then
// optionally a help tag of seven characters ("<GLA00>": "<", three capital
// letters or "E&I", two digits, ">"), then the caption. The last heading
// closes the document. In any paragraph "**" switches bold on and off.
//
// The tool checks the whole source first and writes nothing when a line is
// wrong; each fault is reported as "SOURCE:LINE: what" and the exit code is
// 1. Faults: text that is no valid UTF-8 or holds a character code page 1252
// cannot hold, a control character (a tab included), no start mark or a
// second one, a line after the start mark that starts with "<" but is no
// heading (a mark of another level, a caption that starts with "<", a body
// paragraph that starts with "<"), a heading without a caption, a bold
// switch left open at the end of a line, and no heading at all.
//
// RTFFILE gets the document in the rich-text subset the program's viewer
// reads: the header with code page 1252, one "\par" per paragraph, "\b" and
// "\fs" for headings and bold text, "\'hh" for every byte above 127, and "\\",
// "\{", "\}" for the three characters the format reserves. The file holds
// printable ASCII and line ends only.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp1252.h"

namespace {

struct Paragraph {
  int line = 0;
  int level = 0;      // 0 body, 1..3 heading
  std::string text;   // code page 1252, marks included as written
};

bool IsTag(std::string_view s) {
  if (s.size() < 7 || s[0] != '<' || s[6] != '>') return false;
  const std::string_view name = s.substr(1, 3);
  const bool letters = name == "E&I" || (name[0] >= 'A' && name[0] <= 'Z' && name[1] >= 'A' && name[1] <= 'Z' &&
                                         name[2] >= 'A' && name[2] <= 'Z');
  return letters && s[4] >= '0' && s[4] <= '9' && s[5] >= '0' && s[5] <= '9';
}

// The RTF of one paragraph's text (code page 1252), with "**" as bold.
std::string RtfText(std::string_view text) {
  std::string out;
  bool bold = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '*' && i + 1 < text.size() && text[i + 1] == '*') {
      out += bold ? "}" : "{\\b ";
      bold = !bold;
      ++i;
    } else if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x80) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::size_t CountBoldSwitches(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t p = text.find("**"); p != std::string_view::npos; p = text.find("**", p + 2)) ++n;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: helpgen SOURCE RTFFILE\n";
    return 2;
  }
  const std::string source = argv[1];
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << source << ": cannot be read\n";
    return 1;
  }

  int errors = 0;
  auto fault = [&](int line, const std::string& what) {
    std::cerr << source << ":" << line << ": " << what << "\n";
    ++errors;
  };

  std::vector<Paragraph> paragraphs;
  bool started = false;
  int headings = 0;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lineNo == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (!line.empty() && line[0] == '#') continue;

    const std::string text = cp1252::FromUtf8(line);
    if (cp1252::ToUtf8(text) != line) {
      fault(lineNo, "not valid UTF-8, or a character code page 1252 cannot hold");
      continue;
    }
    bool control = false;
    for (unsigned char c : text)
      control = control || c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
    if (control) fault(lineNo, "a control character");
    if (CountBoldSwitches(text) % 2 != 0) fault(lineNo, "a bold switch \"**\" left open");

    Paragraph p{lineNo, 0, text};
    std::string_view rest = text;
    if (rest.rfind("<0>", 0) == 0) {
      if (started) fault(lineNo, "a second start mark \"<0>\"");
      started = true;
      rest.remove_prefix(3);
    }
    if (started && !rest.empty() && rest[0] == '<') {
      if (rest.size() >= 3 && rest[2] == '>' && rest[1] >= '1' && rest[1] <= '3') {
        p.level = rest[1] - '0';
        rest.remove_prefix(3);
        if (IsTag(rest)) rest.remove_prefix(7);
        if (rest.empty()) fault(lineNo, "a heading without a caption");
        else if (rest[0] == '<') fault(lineNo, "a caption must not start with \"<\"");
        ++headings;
      } else {
        fault(lineNo, "a paragraph must not start with \"<\" unless it is a heading \"<1>\", \"<2>\" or \"<3>\"");
      }
    }
    paragraphs.push_back(p);
  }
  while (!paragraphs.empty() && paragraphs.back().text.empty()) paragraphs.pop_back();
  if (!started) fault(lineNo, "no start mark \"<0>\"");
  else if (headings == 0) fault(lineNo, "no heading");
  if (errors > 0) return 1;

  std::ostringstream rtf;
  rtf << "{\\rtf1\\ansi\\ansicpg1252\\deff0\\fs20\n";
  for (const Paragraph& p : paragraphs) {
    static const char* const kSize[] = {"", "\\fs32", "\\fs26", "\\fs22"};
    if (p.level > 0) rtf << "{\\b" << kSize[p.level] << " " << RtfText(p.text) << "}\\par\n";
    else rtf << RtfText(p.text) << "\\par\n";
  }
  rtf << "}\n";

  const std::string target = argv[2];
  const std::string temporary = target + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << rtf.str();
    if (!out) {
      std::cerr << temporary << ": cannot be written\n";
      return 1;
    }
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::cerr << target << ": cannot be written\n";
    return 1;
  }
  return 0;
}
