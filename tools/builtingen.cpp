// builtingen: builds the program's table of its own texts from the readable
// source table data/language/builtin.tsv.
//
//   builtingen TABLE HEADER SOURCE
//
// TABLE is UTF-8 text. Lines starting with "#" are comments and empty lines
// are skipped; the first other line is the heading
//   id <tab> English <tab> Nederlands <tab> Deutsch
// and every later line is one text: the id the code names it by, then the
// text in each of the three languages. Blanks at the start or end of a text
// belong to the text. %1 to %9 mark the values the program puts in.
//
// The tool checks the whole table first and writes nothing when any row is
// wrong; each fault is reported as "TABLE:LINE: row ID: what" and the exit
// code is 1. Faults: a row without exactly four fields, an id that is no C++
// identifier or that an earlier row has, an empty text (a missing
// translation), a text that is no valid UTF-8 or holds a character code page
// 1252 cannot hold or a control character, and texts of one row that mark
// different values.
//
// HEADER gets the enum text::BuiltIn of the ids, in the table's order, and
// SOURCE the table of their code page 1252 texts, one row of three per id.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tablefile.h"

namespace {

using tablefile::Cp1252Fault;
using tablefile::Faults;
using tablefile::Split;
using tablefile::WriteFile;

constexpr int kLanguages = 3;
const char* const kHeading[1 + kLanguages] = {"id", "English", "Nederlands", "Deutsch"};

struct Row {
  std::string id;
  std::string texts[kLanguages];  // code page 1252
};

bool IsIdentifier(const std::string& s) {
  if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return false;
  for (char c : s)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

// The placeholders %1 to %9 the text marks, as a set of digits.
std::set<char> Placeholders(const std::string& text) {
  std::set<char> marks;
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') marks.insert(text[i + 1]);
  return marks;
}

// The row of the line's fields; false, with each fault reported, when it
// is wrong.
bool TakeRow(const std::vector<std::string>& f, int lineNo, std::set<std::string>& ids, Row& r, Faults& faults) {
  const std::string name = f[0];
  if (f.size() != 1 + kLanguages) {
    faults.Report(lineNo, name,
                  "has " + std::to_string(f.size()) + " tab-separated fields instead of " +
                      std::to_string(1 + kLanguages));
    return false;
  }
  bool ok = true;
  if (!IsIdentifier(name)) {
    faults.Report(lineNo, name, "the id is no C++ identifier");
    ok = false;
  } else if (!ids.insert(name).second) {
    faults.Report(lineNo, name, "the id is used by an earlier row");
    ok = false;
  }
  r.id = name;
  for (int k = 0; k < kLanguages; ++k) {
    const std::string lang = kHeading[1 + k];
    const std::string& cell = f[static_cast<std::size_t>(1 + k)];
    if (cell.empty()) {
      faults.Report(lineNo, name, "the " + lang + " text is missing");
      ok = false;
      continue;
    }
    const std::string why = Cp1252Fault(cell, r.texts[k]);
    if (!why.empty()) {
      faults.Report(lineNo, name, "the " + lang + " text " + why);
      ok = false;
    } else if (k > 0 && !r.texts[0].empty() && Placeholders(r.texts[k]) != Placeholders(r.texts[0])) {
      faults.Report(lineNo, name, "the " + lang + " text marks other values (%1 ...) than the English text");
      ok = false;
    }
  }
  return ok;
}

// The sound rows of the table, every fault reported.
std::vector<Row> ReadTable(std::istream& in, Faults& faults) {
  std::vector<Row> rows;
  std::set<std::string> ids;
  bool headingSeen = false;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lineNo == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = Split(line, '\t');
    if (!headingSeen) {
      headingSeen = true;
      bool ok = f.size() == 1 + kLanguages;
      for (std::size_t i = 0; ok && i < f.size(); ++i) ok = f[i] == kHeading[i];
      if (!ok) {
        faults.Report(lineNo, "", "the heading must be: id <tab> English <tab> Nederlands <tab> Deutsch");
        break;
      }
      continue;
    }
    Row r;
    if (TakeRow(f, lineNo, ids, r, faults)) rows.push_back(r);
  }
  if (!headingSeen) faults.Report(lineNo, "", "the table has no heading");
  return rows;
}

// The bytes as a C++ string literal; octal escapes for all but plain ASCII.
std::string Literal(const std::string& bytes) {
  std::string s = "\"";
  for (unsigned char b : bytes) {
    if (b == '"' || b == '\\') {
      s += '\\';
      s += static_cast<char>(b);
    } else if (b >= 0x20 && b < 0x7F && b != '?') {
      s += static_cast<char>(b);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", b);
      s += buf;
    }
  }
  return s + "\"";
}

std::string Header(const std::vector<Row>& rows) {
  std::ostringstream s;
  s << "// Generated by builtingen from data/language/builtin.tsv. Do not edit: change\n"
       "// the table and build again.\n"
       "#pragma once\n\n#include <cstddef>\n\nnamespace text {\n\n"
       "// The program's own texts, by the ids of the table.\n"
       "enum class BuiltIn : unsigned short {\n";
  for (const Row& r : rows) s << "  " << r.id << ",\n";
  s << "};\n\ninline constexpr std::size_t kBuiltInCount = " << rows.size()
    << ";\n\n// The texts in English, Dutch and German, code page 1252, by BuiltIn.\n"
       "extern const char* const kBuiltInTexts[kBuiltInCount][3];\n\n}  // namespace text\n";
  return s.str();
}

std::string Source(const std::vector<Row>& rows) {
  std::ostringstream s;
  s << "// Generated by builtingen from data/language/builtin.tsv. Do not edit: change\n"
       "// the table and build again.\n"
       "#include \"text/builtinid.h\"\n\nnamespace text {\n\n"
       "const char* const kBuiltInTexts[kBuiltInCount][3] = {\n";
  for (const Row& r : rows)
    s << "    {" << Literal(r.texts[0]) << ", " << Literal(r.texts[1]) << ", " << Literal(r.texts[2]) << "},  // "
      << r.id << "\n";
  s << "};\n\n}  // namespace text\n";
  return s.str();
}

// Writes `bytes` unless the file holds them already, so that an unchanged
// header does not rebuild what includes it.
bool WriteIfChanged(const std::filesystem::path& path, const std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (in) {
    std::ostringstream now;
    now << in.rdbuf();
    if (now.str() == bytes) return true;
  }
  return WriteFile(path, bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: builtingen TABLE HEADER SOURCE\n";
    return 2;
  }
  const std::string table = argv[1];
  std::ifstream in(table, std::ios::binary);
  if (!in) {
    std::cerr << table << ": cannot be read\n";
    return 1;
  }
  Faults faults(table);
  const std::vector<Row> rows = ReadTable(in, faults);
  if (faults.Count() > 0) {
    std::cerr << table << ": " << faults.Count() << " fault(s); nothing written\n";
    return 1;
  }
  if (!WriteIfChanged(argv[2], Header(rows))) {
    std::cerr << argv[2] << ": cannot be written\n";
    return 1;
  }
  if (!WriteIfChanged(argv[3], Source(rows))) {
    std::cerr << argv[3] << ": cannot be written\n";
    return 1;
  }
  return 0;
}
