// What the table generators (langgen, builtingen) share: splitting a line of
// the UTF-8 source table into its tab-separated fields, turning a text into
// the code page 1252 bytes the program holds (or saying why it cannot be),
// reporting faults as "TABLE:LINE: row NAME: what", and writing an output
// file whole, through a temporary file renamed over it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tablefile {

// The fields of `line` between the separators `sep` (an empty field where
// two stand together; one field for a line without any).
std::vector<std::string> Split(const std::string& line, char sep);

// Why the UTF-8 text cannot stand in the program, or "" when it can; `cp`
// gets its code page 1252 bytes either way.
std::string Cp1252Fault(const std::string& utf8, std::string& cp);

// The faults found in a table, each reported on standard error as it is
// found.
class Faults {
 public:
  explicit Faults(std::string table) : table_(std::move(table)) {}
  void Report(int line, const std::string& row, const std::string& what);
  int Count() const { return count_; }

 private:
  std::string table_;
  int count_ = 0;
};

// Writes `bytes` as the file `path` (its folders made): false when it could
// not be written whole.
bool WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace tablefile
