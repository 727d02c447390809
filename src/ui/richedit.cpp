#include "ui/richedit.h"

#include <algorithm>
#include <utility>

#include "platform/cp1252.h"
#include "ui/application.h"
#include "ui/clipboard.h"

namespace ui {

RichEdit::RichEdit(Container* parent, std::string name) : Component(parent, std::move(name), Kind::RichEdit) {}

void RichEdit::LoadRtf(std::string rtf) {
  rtf_ = std::move(rtf);
  document_ = ReadRtf(rtf_);
  allSelected_ = false;
  selection_.clear();
  top_ = 0;
  ++revision_;
  Changed();
}

void RichEdit::LoadDocument(RtfDocument document) {
  rtf_.clear();
  document_ = std::move(document);
  allSelected_ = false;
  selection_.clear();
  top_ = 0;
  ++revision_;
  Changed();
}

Text RichEdit::PlainText() const { return cp1252::FromUtf8(document_.PlainText()); }

void RichEdit::SelectAll() {
  allSelected_ = true;
  selection_.clear();
  Changed();
}

std::string RichEdit::SelectedText() const { return allSelected_ ? document_.PlainText() : selection_; }

void RichEdit::CopyToClipboard() const {
  ClipboardContent c;
  c.text = SelectedText();
  if (c.text.empty()) return;
  if (allSelected_) c.rtf = rtf_;
  Clipboard().Set(c);
}

void RichEdit::ScrollToParagraph(int index) {
  top_ = std::max(0, index);
  ++scrollRequests_;
  Changed();
}

void RichEdit::SetWordWrap(bool wrap) {
  if (wordWrap_ == wrap) return;
  wordWrap_ = wrap;
  Changed();
}

void RichEdit::UserSelect(const std::string& utf8, bool all) {
  RunGuarded([&] {
    allSelected_ = all && !utf8.empty();
    selection_ = allSelected_ ? std::string() : utf8;
  });
}

}  // namespace ui
