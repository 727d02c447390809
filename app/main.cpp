// The desktop program: the Qt application, the Qt backend of the component
// model, and the main block in the working folder.
//
// Usage: ombrelo [--folder DIR]   (default: the current folder)
#include <QApplication>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/cp1252.h"
#include "qt/qtbackend.h"
#include "qt/richtext.h"
#include "program/mainblock.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt sets the C locale from the environment; the amount routines take the
  // decimal separator from it.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "");

  std::string folder;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--folder" && i + 1 < argc) {
      folder = argv[++i];
    } else if (a.rfind("--folder=", 0) == 0) {
      folder = a.substr(9);
    } else if (a == "--help" || a == "-h") {
      std::printf("Usage: ombrelo [--folder DIR]\n");
      return 0;
    }
  }
  std::error_code ec;
  std::filesystem::path work = folder.empty() ? std::filesystem::current_path(ec) : std::filesystem::absolute(folder, ec);
  if (ec) {
    std::fprintf(stderr, "ombrelo: cannot use the working folder: %s\n", ec.message().c_str());
    return 2;
  }
  std::string start = work.lexically_normal().string();
  if (start.empty() || start.back() != '/') start += '/';
  // The program holds folders as code page 1252 text.
  std::string start1252 = cp1252::FromUtf8(start);
  if (cp1252::ToUtf8(start1252) != start) {
    std::fprintf(stderr, "ombrelo: the working folder's name holds characters the program cannot keep: %s\n",
                 start.c_str());
    return 2;
  }

  qtfront::QtBackend backend;
  qtfront::QtPrintService printer;
  qtfront::QtClipboardService clipboard;
  ui::SetPrintService(&printer);
  ui::SetClipboardService(&clipboard);
  return program::RunProgram(start1252);
}
