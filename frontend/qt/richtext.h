// Rich text on screen and paper: the paragraphs of the program's RTF
// reader (ui/rtfreader.h) as a QTextDocument, the peers of the rich-text
// view and the progress bar, and the Qt services for printing (QPrinter and
// QPrintDialog; a print to file gives a PDF) and the clipboard (plain text,
// HTML and RTF).
//
// Documents are laid out in logical pixels of 96 per inch: fonts in
// points, indents, spacing and tab stops converted from twips. A printed
// page is laid out in the printable width less the job's margins and
// scaled down, never up, until its whole height fits, so that one report
// page is one sheet.
#pragma once

#include <QTextDocument>
#include <memory>
#include <string>
#include <vector>

#include "ui/clipboard.h"
#include "ui/printing.h"
#include "ui/rtfreader.h"

class QWidget;

namespace ui {
class Component;
}

namespace qtfront {

class FormWindow;
class Peer;

// Twips as logical pixels.
inline double TwipsToPixels(int twips) { return twips * 96.0 / 1440.0; }

// Replaces the content of `doc` by `paragraphs`.
void FillDocument(QTextDocument& doc, const std::vector<ui::RtfParagraph>& paragraphs);

// The peer of a ui::RichEdit (null for another kind).
std::unique_ptr<Peer> MakeRichTextPeer(FormWindow& window, ui::Component& component, QWidget* parent);

class QtPrintService : public ui::PrintService {
 public:
  // When set, jobs go to this PDF file without a dialog (UTF-8 path; a
  // "%1" in it becomes the job's number, from 1).
  std::string outputFile;
  bool Print(const ui::PrintJob& job) override;

 private:
  int jobs_ = 0;
};

class QtClipboardService : public ui::ClipboardService {
 public:
  void Set(const ui::ClipboardContent& content) override;
};

}  // namespace qtfront
