#include "support/schemacheck.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace support {

std::optional<std::string> FindXmllint() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) continue;
    const std::filesystem::path p = std::filesystem::path(dir) / "xmllint";
    std::error_code ec;
    if (std::filesystem::is_regular_file(p, ec)) return p.string();
  }
  return std::nullopt;
}

bool ValidAuditFile(const std::string& text, std::string* output) {
  static const std::optional<std::string> xmllint = FindXmllint();
  if (!xmllint) {
    if (output) *output = "xmllint is not on PATH; run scripts/deps.sh";
    return false;
  }
  static int count = 0;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("ombrelo-schema-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
  std::filesystem::create_directories(dir);
  const std::filesystem::path file = dir / "file.xaf";
  const std::filesystem::path log = dir / "xmllint.log";
  std::ofstream(file, std::ios::binary) << text;
  const std::string command = "'" + *xmllint + "' --noout --schema '" + OMBRELO_AUDITFILE_SCHEMA + "' '" +
                              file.string() + "' >'" + log.string() + "' 2>&1";
  const int status = std::system(command.c_str());
  if (output) {
    std::ifstream in(log);
    *output = std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace support
