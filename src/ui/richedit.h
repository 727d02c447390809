// A read-only rich-text view: the document is loaded as RTF bytes from
// memory (never through a file) and read by the program's own reader
// (ui/rtfreader.h); the front end draws its paragraphs. The user (or the
// program) may select all, and copy the selection to the clipboard
// (ui/clipboard.h): its plain text, and with everything selected also the
// RTF it was loaded from.
#pragma once

#include <string>

#include "ui/component.h"
#include "ui/rtfreader.h"

namespace ui {

class RichEdit : public Component {
 public:
  RichEdit(Container* parent, std::string name);

  // Shows `rtf` (bytes as stored); the selection is cleared.
  void LoadRtf(std::string rtf);
  void Clear() { LoadRtf({}); }
  const std::string& Rtf() const { return rtf_; }
  const RtfDocument& Document() const { return document_; }
  // The text of the view, one line per paragraph, code page 1252.
  Text PlainText() const;

  void SelectAll();
  bool AllSelected() const { return allSelected_; }
  // The selected text (UTF-8): all of it after SelectAll, else what the
  // front end reported.
  std::string SelectedText() const;
  // Copies the selection; nothing when nothing is selected.
  void CopyToClipboard() const;
  // Scrolls so that paragraph `index` shows (the front end follows).
  void ScrollToParagraph(int index);
  int TopParagraph() const { return top_; }

  // The user selected `utf8` (empty: nothing); `all` when it is the whole text.
  void UserSelect(const std::string& utf8, bool all);

 private:
  std::string rtf_;
  RtfDocument document_;
  bool allSelected_ = false;
  std::string selection_;
  int top_ = 0;
};

}  // namespace ui
