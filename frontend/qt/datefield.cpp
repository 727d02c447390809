#include "qt/datefield.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace qtfront {
namespace {

constexpr std::array<int, 3> kWidth = {2, 2, 4};
const QString kFormat = QStringLiteral("dd-MM-yyyy");

bool IsSeparator(QChar c) { return c == '-' || c == '.' || c == '/'; }

}  // namespace

std::optional<DateTyping> TypeDateChar(DateTyping t, QChar c) {
  if (t.complete || t.section > 2) return std::nullopt;
  QString& digits = t.digits[static_cast<std::size_t>(t.section)];
  if (c.isDigit()) {
    digits += c;
    if (digits.size() < kWidth[static_cast<std::size_t>(t.section)]) return t;
  } else if (!IsSeparator(c) || digits.isEmpty()) {
    return std::nullopt;
  }
  if (t.section == 2)
    t.complete = true;
  else
    ++t.section;
  return t;
}

QString TypedDateText(const DateTyping& t, QDate base) {
  const std::array<QString, 3> shown = {base.toString(QStringLiteral("dd")), base.toString(QStringLiteral("MM")),
                                        base.toString(QStringLiteral("yyyy"))};
  QString text;
  for (std::size_t s = 0; s < 3; ++s) {
    if (s > 0) text += '-';
    text += t.digits[s].isEmpty() ? shown[s] : t.digits[s];
  }
  return text;
}

std::optional<QDate> TypedDate(const DateTyping& t, QDate base) {
  const std::array<int, 3> given = {base.day(), base.month(), base.year()};
  std::array<int, 3> value{};
  for (std::size_t s = 0; s < 3; ++s) {
    if (t.digits[s].isEmpty()) {
      value[s] = given[s];
      continue;
    }
    value[s] = t.digits[s].toInt();
    if (s == 2 && t.digits[s].size() <= 2) value[s] += 2000;
    else if (s == 2 && t.digits[s].size() == 3) return std::nullopt;
  }
  const QDate d(value[2], value[1], value[0]);
  if (!d.isValid()) return std::nullopt;
  return d;
}

DateField::DateField(QWidget* parent) : QDateEdit(parent) {
  setCalendarPopup(true);
  setDisplayFormat(kFormat);
}

int DateField::SectionAtCaret() const {
  const QLineEdit* le = lineEdit();
  if (le->hasSelectedText() && le->selectedText() == le->text()) return 0;
  const int at = le->hasSelectedText() ? le->selectionStart() : le->cursorPosition();
  return at <= 2 ? 0 : at <= 5 ? 1 : 2;
}

void DateField::ShowDate() {
  QSignalBlocker block(lineEdit());
  lineEdit()->setText(date().toString(kFormat));
}

void DateField::CancelTyping() {
  if (!typing_) return;
  typing_.reset();
  ShowDate();
}

void DateField::EndTyping() {
  if (!typing_) return;
  const std::optional<QDate> typed = TypedDate(*typing_, date());
  typing_.reset();
  const bool allowed = typed && *typed >= minimumDate() && *typed <= maximumDate();
  // The text goes back to the date first, so that the edit reads no typed
  // text of its own.
  ShowDate();
  if (allowed && *typed != date()) setDate(*typed);
  ShowDate();
  lineEdit()->end(false);
}

void DateField::keyPressEvent(QKeyEvent* e) {
  const QString text = e->text();
  const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (plain && text.size() == 1 && (text[0].isDigit() || IsSeparator(text[0]))) {
    DateTyping start;
    start.section = SectionAtCaret();
    if (std::optional<DateTyping> next = TypeDateChar(typing_.value_or(start), text[0])) {
      typing_ = next;
      if (typing_->complete) {
        EndTyping();
      } else {
        QSignalBlocker block(lineEdit());
        const QString shown = TypedDateText(*typing_, date());
        lineEdit()->setText(shown);
        // The caret stands after the digits typed so far.
        int caret = 0;
        for (int s = 0; s < typing_->section; ++s) caret += shown.section('-', s, s).size() + 1;
        caret += typing_->digits[static_cast<std::size_t>(typing_->section)].size();
        lineEdit()->setCursorPosition(caret);
      }
    }
    e->accept();
    return;
  }
  if (typing_ && e->key() == Qt::Key_Backspace) {
    QString& digits = typing_->digits[static_cast<std::size_t>(typing_->section)];
    if (!digits.isEmpty()) digits.chop(1);
    QSignalBlocker block(lineEdit());
    lineEdit()->setText(TypedDateText(*typing_, date()));
    e->accept();
    return;
  }
  EndTyping();
  QDateEdit::keyPressEvent(e);
}

void DateField::focusOutEvent(QFocusEvent* e) {
  EndTyping();
  QDateEdit::focusOutEvent(e);
}

bool DateField::focusNextPrevChild(bool next) {
  // Tab leaves the field; the sections are reached by typing.
  EndTyping();
  return QWidget::focusNextPrevChild(next);
}

}  // namespace qtfront
