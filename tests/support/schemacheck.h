// Checks an audit file against the project's schema (tests/data/
// auditfile.xsd) with xmllint, which scripts/deps.sh installs.
#pragma once

#include <optional>
#include <string>

namespace support {

// The path of xmllint on PATH, or nullopt.
std::optional<std::string> FindXmllint();

// Whether xmllint accepts `text` (the file's bytes) against the schema;
// xmllint's output goes into `output` when given. The text is written to a
// temporary file of the real file system, which is removed again.
bool ValidAuditFile(const std::string& text, std::string* output = nullptr);

}  // namespace support
