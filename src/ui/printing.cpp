#include "ui/printing.h"

#include "ui/clipboard.h"

namespace ui {

namespace {
PrintService* installedPrinter = nullptr;
ClipboardService* installedClipboard = nullptr;
}  // namespace

bool RecordingPrinter::Print(const PrintJob& job) {
  ++dialogsShown;
  bool go = true;
  if (!answers.empty()) {
    go = answers.front();
    answers.pop_front();
  }
  if (go) printed.push_back(job);
  return go;
}

RecordingPrinter& HeadlessPrinter() {
  static RecordingPrinter printer;
  return printer;
}

PrintService& Printer() { return installedPrinter ? *installedPrinter : HeadlessPrinter(); }
void SetPrintService(PrintService* service) { installedPrinter = service; }

RecordingClipboard& HeadlessClipboard() {
  static RecordingClipboard clipboard;
  return clipboard;
}

ClipboardService& Clipboard() { return installedClipboard ? *installedClipboard : HeadlessClipboard(); }
void SetClipboardService(ClipboardService* service) { installedClipboard = service; }

void ResetPrintingState() {
  installedPrinter = nullptr;
  installedClipboard = nullptr;
  HeadlessPrinter() = RecordingPrinter{};
  HeadlessClipboard() = RecordingClipboard{};
}

}  // namespace ui
