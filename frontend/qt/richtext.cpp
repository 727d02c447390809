#include "qt/richtext.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

#include "platform/cp1252.h"
#include "qt/peers.h"
#include "qt/qtbackend.h"
#include "ui/longwork.h"
#include "ui/richedit.h"

namespace qtfront {

namespace {

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QTextCharFormat CharFormat(const ui::RtfCharFormat& f) {
  QTextCharFormat cf;
  if (!f.font.empty()) cf.setFontFamilies({FromUtf8(f.font)});
  cf.setFontPointSize(std::max(1, f.sizeHalfPoints) / 2.0);
  cf.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
  cf.setFontItalic(f.italic);
  cf.setFontUnderline(f.underline);
  cf.setFontStrikeOut(f.strike);
  if (f.color) cf.setForeground(QColor(f.color->r, f.color->g, f.color->b));
  if (f.background) cf.setBackground(QColor(f.background->r, f.background->g, f.background->b));
  return cf;
}

QTextBlockFormat BlockFormat(const ui::RtfParagraph& p) {
  QTextBlockFormat bf;
  switch (p.align) {
    case ui::RtfAlign::Left: bf.setAlignment(Qt::AlignLeft); break;
    case ui::RtfAlign::Center: bf.setAlignment(Qt::AlignHCenter); break;
    case ui::RtfAlign::Right: bf.setAlignment(Qt::AlignRight); break;
    case ui::RtfAlign::Justify: bf.setAlignment(Qt::AlignJustify); break;
  }
  bf.setLeftMargin(TwipsToPixels(p.leftIndent));
  bf.setRightMargin(TwipsToPixels(p.rightIndent));
  bf.setTextIndent(TwipsToPixels(p.firstIndent));
  bf.setTopMargin(TwipsToPixels(p.spaceBefore));
  bf.setBottomMargin(TwipsToPixels(p.spaceAfter));
  QList<QTextOption::Tab> tabs;
  for (const ui::RtfTabStop& t : p.tabs) {
    QTextOption::TabType type = QTextOption::LeftTab;
    QChar delimiter;
    if (t.kind == ui::RtfTabStop::Right) type = QTextOption::RightTab;
    if (t.kind == ui::RtfTabStop::Center) type = QTextOption::CenterTab;
    if (t.kind == ui::RtfTabStop::Decimal) {
      type = QTextOption::DelimiterTab;
      delimiter = QLatin1Char('.');
    }
    tabs.append(QTextOption::Tab(TwipsToPixels(t.position), type, delimiter));
  }
  bf.setTabPositions(tabs);
  // An empty paragraph is as high as its size.
  bf.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
  return bf;
}

}  // namespace

void FillDocument(QTextDocument& doc, const std::vector<ui::RtfParagraph>& paragraphs) {
  doc.clear();
  doc.setDocumentMargin(0);
  QTextCursor cur(&doc);
  bool first = true;
  for (const ui::RtfParagraph& p : paragraphs) {
    ui::RtfCharFormat empty;
    empty.sizeHalfPoints = p.sizeHalfPoints;
    if (!p.runs.empty()) empty.font = p.runs.front().format.font;
    const QTextCharFormat blockChars = CharFormat(empty);
    if (first) {
      cur.setBlockFormat(BlockFormat(p));
      cur.setBlockCharFormat(blockChars);
    } else {
      cur.insertBlock(BlockFormat(p), blockChars);
    }
    first = false;
    for (const ui::RtfRun& r : p.runs) {
      QString text = FromUtf8(r.text);
      text.replace(QLatin1Char('\n'), QChar::LineSeparator);
      cur.insertText(text, CharFormat(r.format));
    }
  }
}

namespace {

class RichEditPeer : public Peer {
 public:
  RichEditPeer(FormWindow& w, ui::RichEdit& r, QWidget* parent) : Peer(w, r, new QTextEdit(parent)) {
    edit()->setReadOnly(true);
    edit()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit()->setLineWrapMode(QTextEdit::NoWrap);
    connect(edit(), &QTextEdit::selectionChanged, this, [this] {
      const QTextCursor c = edit()->textCursor();
      const bool all = c.selectionStart() == 0 && c.selectionEnd() >= edit()->document()->characterCount() - 1;
      std::string text = c.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')).toStdString();
      User([this, text, all] { model().UserSelect(text, all); });
    });
    QScrollBar* bar = edit()->verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, this, [this] { TakeUpTarget(); });
    connect(bar, &QScrollBar::valueChanged, this, [this] {
      if (!placing_) target_ = -1;
    });
  }

 protected:
  void SyncState() override {
    ui::RichEdit& m = model();
    edit()->setLineWrapMode(m.WordWrap() ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    bool scroll = m.ScrollRequests() != scrolled_;
    if (m.DocumentRevision() != shown_) {
      shown_ = m.DocumentRevision();
      FillDocument(*edit()->document(), m.Document().paragraphs);
      scroll = true;
    }
    if (m.AllSelected()) edit()->selectAll();
    if (scroll) {
      scrolled_ = m.ScrollRequests();
      ScrollToTop();
    }
  }

 private:
  // The paragraph the model asks for becomes the top line: the caret goes
  // to its start and its top to the top of the viewport. Until the widget
  // has its size (and, wrapping, its lines) the scroll range may be too
  // short, so the target is kept and taken up again when the range changes;
  // any other scroll (the user's) drops it.
  void ScrollToTop() {
    const QTextBlock block = edit()->document()->findBlockByNumber(model().TopParagraph());
    if (!block.isValid()) return;
    placing_ = true;
    edit()->setTextCursor(QTextCursor(block));
    placing_ = false;
    target_ = block.blockNumber();
    TakeUpTarget();
  }
  void TakeUpTarget() {
    if (target_ < 0) return;
    QTextDocument* doc = edit()->document();
    const QTextBlock block = doc->findBlockByNumber(target_);
    if (!block.isValid()) {
      target_ = -1;
      return;
    }
    const int y = static_cast<int>(doc->documentLayout()->blockBoundingRect(block).top());
    QScrollBar* bar = edit()->verticalScrollBar();
    placing_ = true;
    bar->setValue(std::min(y, bar->maximum()));
    placing_ = false;
  }

  QTextEdit* edit() const { return static_cast<QTextEdit*>(widget_); }
  ui::RichEdit& model() const { return static_cast<ui::RichEdit&>(*comp_); }
  int shown_ = -1;
  int scrolled_ = 0;
  int target_ = -1;  // the block to keep at the top, -1: none
  bool placing_ = false;  // the peer itself moves the scroll bar
};

}  // namespace

std::unique_ptr<Peer> MakeRichTextPeer(FormWindow& w, ui::Component& c, QWidget* parent) {
  if (c.GetKind() == ui::Kind::RichEdit) return std::make_unique<RichEditPeer>(w, static_cast<ui::RichEdit&>(c), parent);
  return nullptr;
}

bool QtPrintService::Print(const ui::PrintJob& job) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(job.orientation == ui::PageOrientation::Landscape ? QPageLayout::Landscape
                                                                                : QPageLayout::Portrait);
  printer.setDocName(QString::fromStdString(cp1252::ToUtf8(job.title)));
  ++jobs_;
  if (!outputFile.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(outputFile).arg(jobs_));
  } else {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    DialogCursor arrow;
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  // The job's margins are measured from the paper's edges, so that the
  // templates' tab stops (in twips from the left margin) fit the line.
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const double dpi = printer.resolution();
  const double px = dpi / 1440.0;
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  const QRectF box(job.marginLeft * px, job.marginTop * px,
                   paper.width() - (job.marginLeft + job.marginRight) * px,
                   paper.height() - (job.marginTop + job.marginBottom) * px);
  const double toDevice = dpi / 96.0;  // logical pixels to device pixels
  ui::LongWork work;
  bool first = true;
  for (const auto& page : job.Pages()) {
    ui::LongWorkTick();
    if (!first) printer.newPage();
    first = false;
    QTextDocument doc;
    QTextOption noWrap;
    noWrap.setWrapMode(QTextOption::NoWrap);
    doc.setDefaultTextOption(noWrap);
    FillDocument(doc, page);
    const double width = box.width() / toDevice;
    doc.setTextWidth(width);
    const double needW = std::max(width, doc.idealWidth());
    const double needH = doc.size().height();
    const double fit = std::min({1.0, width / needW, needH > 0 ? (box.height() / toDevice) / needH : 1.0});
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(toDevice * fit, toDevice * fit);
    doc.drawContents(&painter);
    painter.restore();
  }
  return painter.end();
}

void QtClipboardService::Set(const ui::ClipboardContent& content) {
  auto* data = new QMimeData;
  data->setText(QString::fromUtf8(content.text.data(), static_cast<qsizetype>(content.text.size())));
  if (!content.html.empty()) data->setHtml(QString::fromStdString(content.html));
  if (!content.rtf.empty()) {
    const QByteArray rtf(content.rtf.data(), static_cast<qsizetype>(content.rtf.size()));
    data->setData(QStringLiteral("text/rtf"), rtf);
    data->setData(QStringLiteral("application/rtf"), rtf);
  }
  QApplication::clipboard()->setMimeData(data);
}

}  // namespace qtfront
