// Printing as a service. A print job is a rich-text document (ui/
// rtfreader.h) cut into pages at its page markers and page breaks, an
// orientation and margins in twips. The service shows the print dialog
// and prints each page on one sheet, scaled down to fit the printable area
// when it would overflow, so that nothing is dropped and the page numbers
// in the document stay true. The desktop program installs the toolkit's
// printer (a print to file gives a PDF); without one, the built-in
// recorder keeps the jobs and answers the dialog from a queue, which is
// what the tests use.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/rtfreader.h"

namespace ui {

enum class PageOrientation { Portrait, Landscape };

struct PrintJob {
  Text title;
  PageOrientation orientation = PageOrientation::Portrait;
  RtfDocument document;
  int marginLeft = 800, marginRight = 100, marginTop = 500, marginBottom = 100;  // twips
  // The pages as they are printed.
  std::vector<std::vector<RtfParagraph>> Pages() const { return SplitPages(document); }
};

class PrintService {
 public:
  virtual ~PrintService() = default;
  // Shows the print dialog and prints; false when the user cancelled or
  // the printer failed.
  virtual bool Print(const PrintJob& job) = 0;
};

class RecordingPrinter : public PrintService {
 public:
  // The dialog's answers, in order; when empty, the job is printed.
  std::deque<bool> answers;
  std::vector<PrintJob> printed;
  int dialogsShown = 0;
  bool Print(const PrintJob& job) override;
};

PrintService& Printer();
void SetPrintService(PrintService* service);
RecordingPrinter& HeadlessPrinter();

// Back to the built-in recorders, emptied (the program's reset).
void ResetPrintingState();

}  // namespace ui
