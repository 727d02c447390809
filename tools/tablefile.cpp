#include "tablefile.h"

#include <fstream>
#include <iostream>
#include <system_error>

#include "platform/cp1252.h"

namespace tablefile {

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t p = line.find(sep, start);
    parts.push_back(line.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) break;
    start = p + 1;
  }
  return parts;
}

std::string Cp1252Fault(const std::string& utf8, std::string& cp) {
  cp = cp1252::FromUtf8(utf8);
  // FromUtf8 turns what it cannot map into "?": a round trip that does not
  // give the text back shows such a character.
  if (cp1252::ToUtf8(cp) != utf8) return "holds invalid UTF-8 or a character that code page 1252 cannot hold";
  for (unsigned char b : cp)
    if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
      return "holds a control character";
  return "";
}

void Faults::Report(int line, const std::string& row, const std::string& what) {
  std::cerr << table_ << ":" << line << ": ";
  if (!row.empty()) std::cerr << "row " << row << ": ";
  std::cerr << what << "\n";
  ++count_;
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  std::filesystem::rename(temp, path, ec);
  return !ec;
}

}  // namespace tablefile
