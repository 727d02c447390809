// The help text as the help form shows it: the document file read from the
// working folder, and the read document with its preamble, marks and tags
// taken out while every paragraph keeps its formatting.
//
// The file is tested where it is read, with the file system itself, not
// through the data-file set (which inside an open set would test nothing):
// a missing or unreadable file gives its code and the text "IO errorcode:
// hen" + code + " " + the system's text; a file too large to be a help
// document is reported as damaged. Nothing is written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formkit/helptopics.h"
#include "ui/rtfreader.h"

namespace formkit {

// The most bytes a help document may hold; a larger file is damaged.
inline constexpr std::uint64_t kHelpFileLimit = 16ull << 20;

struct HelpFileRead {
  std::string bytes;
  int code = 0;       // 0 read; the system's code; 1 for a damaged file
  std::string error;  // the message (code page 1252), empty when read
  bool Ok() const { return code == 0; }
};

// Reads `fileName` (code page 1252) from the working folder.
HelpFileRead ReadHelpFile(const std::string& fileName);

// The paragraphs' texts of a read document (UTF-8), for ParseHelpDocument.
std::vector<std::string> ParagraphTexts(const ui::RtfDocument& document);

// The document as shown: the preamble paragraphs dropped and, from each
// shown paragraph, the characters `topics` cuts at its start taken from its
// first runs (a run left empty goes; the paragraph keeps its format and the
// rest of its runs). `topics` is ParseHelpDocument of ParagraphTexts of
// `document`.
ui::RtfDocument ShownHelpText(ui::RtfDocument document, const HelpDocument& topics);

}  // namespace formkit
