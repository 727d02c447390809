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
  // Shows a document already read (the help viewer's, after it cut its
  // marks); there is no RTF source, so a copy of everything is plain text.
  void LoadDocument(RtfDocument document);
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
  // Puts paragraph `index` (0-based) at the top of the view, as far as the
  // document reaches; the front end scrolls there at each request, also
  // when it is the paragraph asked for before (the user may have scrolled
  // away meanwhile). Loading a document puts paragraph 0 at the top.
  void ScrollToParagraph(int index);
  int TopParagraph() const { return top_; }
  // Counts the scroll requests and the documents loaded, so the front end
  // acts on each once.
  int ScrollRequests() const { return scrollRequests_; }
  int DocumentRevision() const { return revision_; }

  // Whether long paragraphs wrap at the view's width (help text) or run on
  // with a horizontal scroll bar (reports, laid out to the page); off by
  // default.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);

  // The user selected `utf8` (empty: nothing); `all` when it is the whole text.
  void UserSelect(const std::string& utf8, bool all);

 private:
  std::string rtf_;
  RtfDocument document_;
  bool allSelected_ = false;
  std::string selection_;
  int top_ = 0;
  int scrollRequests_ = 0;
  int revision_ = 0;
  bool wordWrap_ = false;
};

}  // namespace ui
