#include "books/reporting/reportbuild.h"


#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/longwork.h"
#include "text/builtintext.h"
#include "text/textroutines.h"

namespace books::reporting {

int PageHeightOf(char kind) { return kind == '1' ? kLandscapePageHeight : kPortraitPageHeight; }

bool IsLandscapeKind(char kind) { return kind == '1'; }

std::string PageMarkerText(int n) {
  return ".   .  . . . ...new page " + std::to_string(n) + " ... . . .  .   .";
}

std::string PageMarkerLine(int n) { return "\\fs18\\qc " + PageMarkerText(n) + "\\par"; }

bool IsPageMarkerLine(const std::string& line) {
  static const std::string head = "\\fs18\\qc .   .  . . . ...new page ";
  static const std::string tail = " ... . . .  .   .\\par";
  if (line.size() <= head.size() + tail.size() || !line.starts_with(head) || !line.ends_with(tail)) return false;
  for (std::size_t i = head.size(); i < line.size() - tail.size(); ++i)
    if (line[i] < '0' || line[i] > '9') return false;
  return true;
}

int DaysBetween(const std::string& fromYmd, const std::string& toYmd) {
  try {
    return platform::YmdDaysBetween(fromYmd, toYmd);
  } catch (const platform::ConversionError&) {
    return 0;
  }
}

namespace {

const books::closing::GridRow kEmptyRow{};

// One run of a driver: the output and the unit state of the layout.
class Layout {
 public:
  Layout(const books::reporting::ParsedTemplate& parsed, const books::reporting::ReportLineSources& sources,
         const ReportLayoutInput& input)
      : t_(parsed), src_(sources), in_(input) {
    src_.sums = &sums_;
    report_.kind = input.kind;
    report_.paperWidth = parsed.paperWidth;
    report_.paperHeight = parsed.paperHeight;
    report_.output = parsed.output;
    report_.preambleLines = static_cast<int>(parsed.output.size()) - parsed[books::reporting::Section::Header].count;
    if (report_.preambleLines < 0) report_.preambleLines = 0;
  }

  BuiltReport Run();

 private:
  int H(books::reporting::Section s) const { return t_[s].height; }
  bool Grid() const { return in_.kind == '1' || in_.kind == '2'; }
  bool Ledger() const { return in_.kind == '3' || in_.kind == '4'; }
  bool OpenItems() const { return in_.kind == '5' || in_.kind == '6'; }
  const books::closing::GridRow& Row(int index) const {
    if (!src_.grid || index < 0 || static_cast<std::size_t>(index) >= src_.grid->size()) return kEmptyRow;
    return (*src_.grid)[static_cast<std::size_t>(index)];
  }
  std::string Amount(double v) const { return text::FormatAmount(v, in_.decimals, 'Y'); }
  std::string FirstDate() const { return src_.period ? src_.period->start : std::string(); }
  std::string LastDate() const { return src_.period ? books::reporting::DayBefore(src_.period->end) : std::string(); }
  std::string YearDate() const { return src_.period ? src_.period->cardYearBaseDate : std::string(); }

  // Appends the lines of `s`, each passed through `fill` first.
  void Append(books::reporting::Section s, const std::function<void(std::string&)>& fill) {
    for (std::string line : t_.Lines(s)) {
      fill(line);
      report_.output.push_back(std::move(line));
    }
  }

  int EmitSubheader1();
  int EmitSubheader2();
  void EmitDetailLine();
  void EmitSums(books::reporting::Section s);
  void EmitPageSubtotal() {
    fill_ += H(books::reporting::Section::Subtotal1);
    EmitSums(books::reporting::Section::Subtotal1);
  }
  void EmitCarryForward() { EmitSums(books::reporting::Section::Subtotal1nextpage); }
  void EmitGroupTotal();
  void EmitPageFooter();
  void NewReportPage() {
    platform::LongWorkTick();
    report_.output.push_back(PageMarkerLine(pageNumber_));
    Append(books::reporting::Section::Header, [](std::string&) {});
  }
  // A page break inside a group: subtotal, footer, marker, header, the
  // subheader (the second one once a group has ended) and the carried sums.
  void PageBreak(bool secondSubheader) {
    EmitPageSubtotal();
    EmitPageFooter();
    NewReportPage();
    const int sub = secondSubheader ? EmitSubheader2() : EmitSubheader1();
    EmitCarryForward();
    fill_ = H(books::reporting::Section::Header) + sub + H(books::reporting::Section::Subtotal1nextpage);
  }
  bool NoRoomFor(int height) const {
    return in_.pageHeight - fill_ - height - H(books::reporting::Section::Footer) < 1;
  }
  void Progress() {
    if (!in_.progress || src_.cardAccounts.size() < 2) return;
    const int items = static_cast<int>(src_.cardAccounts.size());
    in_.progress(state_.card.accountIndex * 100 / (items - 1));
    platform::LongWorkTick();
  }

  const books::reporting::ParsedTemplate& t_;
  books::reporting::ReportLineSources src_;
  const ReportLayoutInput& in_;
  BuiltReport report_;
  books::reporting::ReportLineState state_;
  std::array<double, 6> sums_{};
  int fill_ = 0;
  int pageNumber_ = 0;
};

int Layout::EmitSubheader1() {
  if (Grid()) {
    const books::closing::GridRow& head = Row(0);
    const std::string period = in_.kind == '1' ? head[6] : head[5];
    Append(books::reporting::Section::Subheader1, [&](std::string& line) {
      books::reporting::ReplaceFirst(line, "<curperd>", period);
      books::reporting::ReplaceFirst(line, "<prevyrd>", head[1]);
      books::reporting::ReplaceFirst(line, "<Firstdate>", FirstDate());
      books::reporting::ReplaceFirst(line, "<Yeardate>", YearDate());
      books::reporting::ReplaceFirst(line, "<Lastdate>", LastDate());
    });
  } else if (Ledger()) {
    std::string number = in_.accountNumber, name = in_.accountName;
    if (in_.kind == '3' && state_.card.accountIndex >= 0 &&
        static_cast<std::size_t>(state_.card.accountIndex) < src_.cardAccounts.size()) {
      const books::reporting::CardAccount& a = src_.cardAccounts[static_cast<std::size_t>(state_.card.accountIndex)];
      number = a.number;
      name = a.name;
    }
    Append(books::reporting::Section::Subheader1, [&](std::string& line) {
      books::reporting::ReplaceFirst(line, "<curperd>", in_.periodText);
      books::reporting::ReplaceFirst(line, "<Firstdate>", FirstDate());
      books::reporting::ReplaceFirst(line, "<Lastdate>", LastDate());
      books::reporting::ReplaceFirst(line, "<gln>", number);
      books::reporting::ReplaceFirst(line, "<glname>", name);
    });
  } else {
    Append(books::reporting::Section::Subheader1,
           [&](std::string& line) { books::reporting::ReplaceFirst(line, "<printdate>", in_.today); });
  }
  return H(books::reporting::Section::Subheader1);
}

int Layout::EmitSubheader2() {
  const books::closing::GridRow& head = Row(0);
  Append(books::reporting::Section::Subheader2, [&](std::string& line) {
    books::reporting::ReplaceFirst(line, "<curperd>", head[5]);
    books::reporting::ReplaceFirst(line, "<prevyrd>", head[1]);
    books::reporting::ReplaceFirst(line, "<Yeardate>", YearDate());
    books::reporting::ReplaceFirst(line, "<Firstdate>", FirstDate());
    books::reporting::ReplaceFirst(line, "<Lastdate>", LastDate());
  });
  return H(books::reporting::Section::Subheader2);
}

void Layout::EmitDetailLine() {
  const books::reporting::Section section = in_.kind == '3' ? state_.section : books::reporting::Section::Detail1;
  if (Grid()) {
    const books::closing::GridRow& row = Row(state_.lineIndex);
    Append(section, [&](std::string& line) {
      books::reporting::ReplaceFirst(line, "<glname>", row[0]);
      if (in_.kind == '1') books::reporting::ReplaceFirst(line, "<cptbald>", row[1]);
      books::reporting::ReplaceFirst(line, "<pybald>", row[1]);
      if (in_.kind == '1') books::reporting::ReplaceFirst(line, "<cptbalc>", row[2]);
      books::reporting::ReplaceFirst(line, "<pybalc>", row[2]);
      books::reporting::ReplaceFirst(line, "<cpprod>", row[3]);
      books::reporting::ReplaceFirst(line, "<cpproc>", row[4]);
      books::reporting::ReplaceFirst(line, "<cpbald>", row[5]);
      books::reporting::ReplaceFirst(line, "<cpbalc>", row[6]);
    });
    for (int c = 1; c <= 6; ++c)
      sums_[static_cast<std::size_t>(c - 1)] += text::TryParseAmount(row[static_cast<std::size_t>(c)]).value_or(0);
  } else if (Ledger()) {
    const records::JournalVoucherRec& v = state_.voucher;
    const std::string number = text::TrimTrailingBlanks(v.AccountNumber());
    const double debit = v.DebitAmount(), credit = v.CreditAmount();
    const std::string debitText =
        debit == 0 && state_.sideText != "debet" ? std::string(16, ' ') : Amount(debit);
    const std::string creditText =
        credit == 0 && state_.sideText != "credit" ? std::string(10, ' ') : Amount(credit);
    Append(section, [&](std::string& line) {
      books::reporting::ReplaceFirst(line, "<glname>", v.AccountCaption());
      books::reporting::ReplaceFirst(line, "<gln>", number);
      books::reporting::ReplaceFirst(line, "<gld>", v.VoucherDate());
      books::reporting::ReplaceFirst(line, "<cost>", v.CostCentre());
      books::reporting::ReplaceFirst(line, "<desc>", v.LineText());
      books::reporting::ReplaceFirst(line, "<entry>",
                                     number.empty() ? std::string() : v.VoucherDate() + " / " + v.BookNumber());
      books::reporting::ReplaceFirst(line, "<debit>", debitText);
      books::reporting::ReplaceFirst(line, "<credit>", creditText);
    });
    sums_[0] += debit;
    sums_[1] += credit;
  } else {
    const records::InvoiceRec& inv = state_.invoice;
    const double open = inv.InvoiceAmount() - inv.PaidAmount();
    Append(section, [&](std::string& line) {
      books::reporting::ReplaceFirst(line, "<Days>", std::to_string(DaysBetween(inv.InvoiceDate(), in_.today)));
      books::reporting::ReplaceFirst(line, "<Customer>", state_.partnerName);
      books::reporting::ReplaceFirst(line, "<Custno>", state_.partnerNumber);
      books::reporting::ReplaceFirst(line, "<Invoice>", inv.InvoiceNumber());
      books::reporting::ReplaceFirst(line, "<Invoicedate>", inv.InvoiceDate());
      books::reporting::ReplaceFirst(line, "<Debits>", Amount(open));
    });
    sums_[0] += open;
  }
  fill_ += H(section);
}

void Layout::EmitSums(books::reporting::Section s) {
  Append(s, [&](std::string& line) {
    if (Grid()) {
      books::reporting::ReplaceFirst(line, "<cpttot>", Amount(sums_[0]));
      books::reporting::ReplaceFirst(line, "<cpttot>", Amount(sums_[1]));
      books::reporting::ReplaceFirst(line, "<pyst>", Amount(sums_[0]));
      books::reporting::ReplaceFirst(line, "<pyst>", Amount(sums_[1]));
      books::reporting::ReplaceFirst(line, "<cpptot>", Amount(sums_[2]));
      books::reporting::ReplaceFirst(line, "<cpptot>", Amount(sums_[3]));
      books::reporting::ReplaceFirst(line, "<cpbtot>", Amount(sums_[4]));
      books::reporting::ReplaceFirst(line, "<cpbtot>", Amount(sums_[5]));
      books::reporting::ReplaceFirst(line, "<cpst>", Amount(sums_[4]));
      books::reporting::ReplaceFirst(line, "<cpst>", Amount(sums_[5]));
    } else if (Ledger()) {
      books::reporting::ReplaceFirst(line, "<credit>", Amount(sums_[1]));
      books::reporting::ReplaceFirst(line, "<debit>", Amount(sums_[0]));
    } else {
      books::reporting::ReplaceFirst(line, "<Debits>", Amount(sums_[0]));
    }
  });
}

void Layout::EmitGroupTotal() {
  fill_ += H(books::reporting::Section::Total1);
  const books::closing::GridRow& row = Row(state_.lineIndex);
  Append(books::reporting::Section::Total1, [&](std::string& line) {
    if (Grid()) {
      books::reporting::ReplaceFirst(line, "<glname>", row[0]);
      books::reporting::ReplaceFirst(line, "<cpttot>", row[1]);
      books::reporting::ReplaceFirst(line, "<cpttot>", row[2]);
      books::reporting::ReplaceFirst(line, "<pytot>", row[1]);
      books::reporting::ReplaceFirst(line, "<pytot>", row[2]);
      books::reporting::ReplaceFirst(line, "<cpptot>", row[3]);
      books::reporting::ReplaceFirst(line, "<cpptot>", row[4]);
      books::reporting::ReplaceFirst(line, "<cpbtot>", row[5]);
      books::reporting::ReplaceFirst(line, "<cpbtot>", row[6]);
    } else if (Ledger()) {
      books::reporting::ReplaceFirst(line, "<credit>", Amount(sums_[1]));
      books::reporting::ReplaceFirst(line, "<debit>", Amount(sums_[0]));
    } else {
      books::reporting::ReplaceFirst(line, "<Debits>", Amount(sums_[0]));
    }
  });
}

void Layout::EmitPageFooter() {
  const int pad = state_.endOfData ? 20 : 0;
  while (in_.pageHeight - H(books::reporting::Section::Footer) - pad >= fill_) {
    report_.output.emplace_back("\\fs4\\par");
    fill_ += 4;
  }
  std::vector<std::string> lines = t_.Lines(books::reporting::Section::Footer);
  if (!lines.empty()) lines.pop_back();
  ++pageNumber_;
  for (std::string& line : lines) {
    books::reporting::ReplaceFirst(line, "<Pagenumber>", std::to_string(pageNumber_));
    report_.output.push_back(std::move(line));
  }
}

BuiltReport Layout::Run() {
  const bool cards = in_.kind == '3';
  if (cards && !books::reporting::StartLedgerCard(state_, src_)) {
    // No account to print a card for: an empty report.
    state_.endOfData = true;
    report_.status =
        text::BuiltInText(text::BuiltIn::NoGLAccountsTheReportIs);
  }
  if (cards) Progress();
  if (Grid()) state_.lineIndex = in_.kind == '1' ? 1 : 2;
  fill_ = H(books::reporting::Section::Header) + EmitSubheader1();
  while (!state_.endOfData) {
    books::reporting::NextReportLine(state_, src_);
    if (!state_.lineFound) continue;
    if (OpenItems() || ((!state_.groupEnd || state_.prevGroupEnd) && (!state_.lastLine || !state_.endOfData)))
      EmitDetailLine();
    if (in_.pageHeight - fill_ - H(books::reporting::Section::Subtotal1) - H(books::reporting::Section::Footer) -
            H(books::reporting::Section::Detail1) <
        1)
      PageBreak(!OpenItems() && state_.groupEnd && in_.kind != '3');
    if (OpenItems() || !state_.groupEnd || state_.prevGroupEnd) continue;
    // The group ended: its total ends the page, the next group starts a
    // new one. A total that does not fit goes on a page of its own group.
    if (NoRoomFor(H(books::reporting::Section::Total1))) PageBreak(false);
    EmitGroupTotal();
    EmitPageFooter();
    NewReportPage();
    int sub = 0;
    if (cards) {
      books::reporting::StartLedgerCard(state_, src_);
      Progress();
      sub = EmitSubheader1();
    } else {
      sub = EmitSubheader2();
    }
    sums_ = {};
    fill_ = H(books::reporting::Section::Header) + sub;
    ++state_.lineIndex;
  }
  if (NoRoomFor(H(books::reporting::Section::Total1))) PageBreak(false);
  EmitGroupTotal();
  EmitPageFooter();
  report_.output.emplace_back("}");
  report_.pages = pageNumber_;
  return std::move(report_);
}

}  // namespace

BuiltReport BuildLedgerReport(const books::reporting::ParsedTemplate& parsed,
                              const books::reporting::ReportLineSources& sources, const ReportLayoutInput& input) {
  return Layout(parsed, sources, input).Run();
}

BuiltReport BuildOpenItemsReport(const books::reporting::ParsedTemplate& parsed,
                                 const books::reporting::ReportLineSources& sources, const ReportLayoutInput& input) {
  return Layout(parsed, sources, input).Run();
}

std::string ReportRtf(const BuiltReport& report) {
  std::string out;
  for (const std::string& line : report.output) out += line + "\r\n";
  return out;
}

std::string SaveReportRtf(const BuiltReport& report) {
  std::string paper;
  if (report.paperWidth > 0 && report.paperHeight > 0)
    paper = "\\paperw" + std::to_string(report.paperWidth) + "\\paperh" + std::to_string(report.paperHeight);
  paper += "\\margl" + std::to_string(kMarginLeft) + "\\margr" + std::to_string(kMarginRight) + "\\margt" +
           std::to_string(kMarginTop) + "\\margb" + std::to_string(kMarginBottom);
  if (IsLandscapeKind(report.kind) || report.paperWidth > report.paperHeight) paper += "\\landscape\\lndscpsxn";
  paper += " ";
  std::string out;
  for (std::size_t i = 0; i < report.output.size(); ++i) {
    if (i % 4096 == 0) platform::LongWorkTick();
    if (static_cast<int>(i) == report.preambleLines) out += paper + "\r\n";
    const std::string& line = report.output[i];
    out += IsPageMarkerLine(line) ? std::string("\\fs18\\qc\\page") : line;
    out += "\r\n";
  }
  if (static_cast<int>(report.output.size()) <= report.preambleLines) out += paper + "\r\n";
  return out;
}

}  // namespace books::reporting
