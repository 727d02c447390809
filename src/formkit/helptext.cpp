#include "formkit/helptext.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/cp1252.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "text/builtintext.h"
#include "store/fileset.h"

namespace formkit {

namespace {

HelpFileRead Failed(int code) {
  HelpFileRead out;
  out.code = code;
  out.error = "IO errorcode: hen" + std::to_string(code) + " " + platform::OsErrorText(code);
  return out;
}

}  // namespace

HelpFileRead ReadHelpFile(const std::string& fileName) {
  const std::string path = store::WorkingFolder() + fileName;
  if (fileName.empty()) return Failed(platform::kFileNotFound);
  std::unique_ptr<platform::FileHandle> h;
  int code = platform::Fs().OpenExisting(cp1252::ToUtf8(path), platform::OpenMode::Read, h);
  if (code != platform::kNoError) return Failed(code);
  std::uint64_t size = 0;
  code = h->Size(size);
  if (code != platform::kNoError) return Failed(code);
  if (size > kHelpFileLimit) {
    HelpFileRead out;
    out.code = 1;
    out.error = text::BuiltInText(text::BuiltIn::HelpFileIsDamagedItIs, {path});
    return out;
  }
  HelpFileRead out;
  out.bytes.resize(static_cast<std::size_t>(size));
  std::size_t done = 0;
  code = h->ReadAt(0, out.bytes.data(), out.bytes.size(), done);
  if (code != platform::kNoError) return Failed(code);
  out.bytes.resize(done);
  return out;
}

std::vector<std::string> ParagraphTexts(const ui::RtfDocument& document) {
  std::vector<std::string> out;
  out.reserve(document.paragraphs.size());
  for (const ui::RtfParagraph& p : document.paragraphs) out.push_back(p.Text());
  return out;
}

ui::RtfDocument ShownHelpText(ui::RtfDocument document, const HelpDocument& topics) {
  auto& paragraphs = document.paragraphs;
  const std::size_t preamble = std::min(topics.preamble, paragraphs.size());
  paragraphs.erase(paragraphs.begin(), paragraphs.begin() + static_cast<std::ptrdiff_t>(preamble));
  for (std::size_t i = 0; i < paragraphs.size() && i < topics.cut.size(); ++i) {
    std::size_t left = topics.cut[i];
    auto& runs = paragraphs[i].runs;
    auto run = runs.begin();
    while (left > 0 && run != runs.end()) {
      const std::size_t n = std::min(left, run->text.size());
      run->text.erase(0, n);
      left -= n;
      run = run->text.empty() ? runs.erase(run) : run + 1;
    }
  }
  return document;
}

}  // namespace formkit
