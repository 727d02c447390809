// The clipboard as a service: what a copy puts on it. The desktop program
// installs its own (the toolkit's clipboard, with plain text, HTML and
// RTF); without one, the built-in recorder keeps the last content, which
// is what the tests read.
#pragma once

#include <string>
#include <vector>

namespace ui {

struct ClipboardContent {
  std::string text;  // UTF-8
  std::string html;  // UTF-8; empty: none
  std::string rtf;   // RTF bytes as stored; empty: none
  bool operator==(const ClipboardContent&) const = default;
};

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;
  virtual void Set(const ClipboardContent& content) = 0;
};

// Records what was copied.
class RecordingClipboard : public ClipboardService {
 public:
  std::vector<ClipboardContent> copied;
  void Set(const ClipboardContent& content) override { copied.push_back(content); }
};

// The service in use: the installed one, else the built-in recorder.
ClipboardService& Clipboard();
void SetClipboardService(ClipboardService* service);
RecordingClipboard& HeadlessClipboard();

}  // namespace ui
