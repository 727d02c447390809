#include "qt/chartpeer.h"

#include <QPainter>
#include <QPolygon>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "qt/convert.h"

namespace qtfront {

namespace {

constexpr int kDepth = 8;  // of a 3D bar, in pixels

QColor ColorOf(const ui::Color& c) { return c.system ? QColor(Qt::gray) : QColor(c.r, c.g, c.b); }

// A step of 1, 2 or 5 times a power of ten that gives about five ticks.
double NiceStep(double span) {
  if (span <= 0) return 1;
  const double raw = span / 5;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (raw <= m * power) return m * power;
  return 10 * power;
}

class ChartWidget : public QWidget {
 public:
  ChartWidget(ui::Chart& chart, QWidget* parent) : QWidget(parent), chart_(&chart) {
    setMinimumSize(360, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }
  void Forget() { chart_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (chart_) PaintChart(p, *chart_, rect());
  }

 private:
  ui::Chart* chart_;
};

class ChartPeer : public Peer {
 public:
  ChartPeer(FormWindow& w, ui::Chart& c, QWidget* parent) : Peer(w, c, new ChartWidget(c, parent)) {}
  void ComponentDestroyed() override {
    static_cast<ChartWidget*>(widget_)->Forget();
    Peer::ComponentDestroyed();
  }

 protected:
  bool TakesFocus() const override { return false; }
  void SyncState() override { widget_->update(); }
};

}  // namespace

std::unique_ptr<Peer> MakeChartPeer(FormWindow& window, ui::Chart& chart, QWidget* parent) {
  return std::make_unique<ChartPeer>(window, chart, parent);
}

namespace {

// The title, centred at the top, in bold; returns the height it takes.
int PaintTitle(QPainter& p, const ui::Chart& chart, const QRect& area) {
  QFont titleFont = p.font();
  titleFont.setBold(true);
  p.setFont(titleFont);
  const int titleHeight = p.fontMetrics().height() + 8;
  p.setPen(Qt::black);
  p.drawText(QRect(area.left(), area.top() + 4, area.width(), titleHeight), Qt::AlignHCenter | Qt::AlignTop,
             Q(chart.Title()));
  return titleHeight;
}

// The legend on the right from `top` down, one line per shown series;
// returns its width (0 without series).
int PaintLegend(QPainter& p, const std::vector<const ui::ChartSeries*>& shown, const QRect& area, int top) {
  QFont legendFont = p.font();
  legendFont.setBold(false);
  p.setFont(legendFont);
  int legendWidth = 0;
  for (const ui::ChartSeries* s : shown) legendWidth = std::max(legendWidth, p.fontMetrics().horizontalAdvance(Q(s->title)));
  legendWidth = shown.empty() ? 0 : legendWidth + 30;
  int ly = top;
  for (const ui::ChartSeries* s : shown) {
    const QRect swatch(area.right() - legendWidth + 4, ly + 3, 12, 10);
    p.fillRect(swatch, ColorOf(s->color));
    p.setPen(Qt::black);
    p.drawRect(swatch);
    p.drawText(QPoint(swatch.right() + 6, ly + p.fontMetrics().ascent()), Q(s->title));
    ly += p.fontMetrics().height() + 4;
  }
  return legendWidth;
}

// The x values of the shown series, each once and sorted, and the y range
// in whole steps, 0 always inside.
struct ChartRange {
  std::vector<double> xs;
  double low = 0, high = 0, step = 1;
};
ChartRange RangeOf(const std::vector<const ui::ChartSeries*>& shown) {
  ChartRange r;
  for (const ui::ChartSeries* s : shown)
    for (const auto& [x, y] : s->points) {
      r.xs.push_back(x);
      r.low = std::min(r.low, y);
      r.high = std::max(r.high, y);
    }
  std::sort(r.xs.begin(), r.xs.end());
  r.xs.erase(std::unique(r.xs.begin(), r.xs.end()), r.xs.end());
  r.step = NiceStep(r.high - r.low);
  r.low = std::floor(r.low / r.step) * r.step;
  r.high = std::max(std::ceil(r.high / r.step) * r.step, r.low + r.step);
  return r;
}

// Where the values are drawn, and the y of a value there.
struct PlotArea {
  QRect plot;
  double low = 0, high = 0;
  int YOf(double v) const { return plot.bottom() - static_cast<int>((v - low) / (high - low) * plot.height()); }
};

// The axis font, the plot area left of the legend, its grid lines with the
// y labels, and the two axes.
PlotArea PaintAxes(QPainter& p, const ui::Chart& chart, const QRect& area, const ChartRange& range, int titleHeight,
                   int legendWidth, int depth) {
  const double low = range.low, high = range.high, step = range.step;
  QFont axisFont = p.font();
  axisFont.setPointSize(std::max(6, chart.AxisFontSize()));
  axisFont.setBold(chart.AxisFontBold());
  p.setFont(axisFont);
  const QFontMetrics fm = p.fontMetrics();
  int labelWidth = 0;
  for (double v = low; v <= high + step / 2; v += step)
    labelWidth = std::max(labelWidth, fm.horizontalAdvance(QString::number(v, 'f', step < 1 ? 2 : 0)));
  const QRect plot(area.left() + labelWidth + 12, area.top() + titleHeight + 6 + depth,
                   std::max(10, area.width() - labelWidth - 24 - legendWidth - depth),
                   std::max(10, area.height() - titleHeight - fm.height() - 22 - depth));
  const PlotArea out{plot, low, high};

  // Grid lines and the y labels.
  for (double v = low; v <= high + step / 2; v += step) {
    const int y = out.YOf(v);
    p.setPen(QPen(QColor(225, 225, 225)));
    p.drawLine(plot.left(), y, plot.right(), y);
    p.setPen(Qt::black);
    p.drawText(QRect(area.left(), y - fm.height() / 2, labelWidth + 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(v, 'f', step < 1 ? 2 : 0));
  }
  p.setPen(Qt::black);
  p.drawLine(plot.bottomLeft(), plot.bottomRight());
  p.drawLine(plot.bottomLeft(), plot.topLeft());
  return out;
}

// One slot per x value: its width and the slot of each value.
struct XSlots {
  double width = 0;
  std::map<double, int> of;
};

// The places along the x axis, each labelled below with its value.
XSlots PaintSlots(QPainter& p, const std::vector<double>& xs, const PlotArea& area) {
  const QRect& plot = area.plot;
  const QFontMetrics fm = p.fontMetrics();
  XSlots places;
  places.width = static_cast<double>(plot.width()) / static_cast<double>(xs.size());
  for (std::size_t i = 0; i < xs.size(); ++i) {
    places.of[xs[i]] = static_cast<int>(i);
    const int cx = plot.left() + static_cast<int>(places.width * (static_cast<double>(i) + 0.5));
    p.drawText(QRect(cx - 30, plot.bottom() + 4, 60, fm.height()), Qt::AlignHCenter, QString::number(xs[i]));
  }
  return places;
}

// The bar series side by side in each slot, from the zero line, with a
// top and a side face when `depth` is not 0.
void PaintBars(QPainter& p, const std::vector<const ui::ChartSeries*>& shown, const PlotArea& area, XSlots& places,
               int depth) {
  const QRect& plot = area.plot;
  const int zero = area.YOf(std::clamp(0.0, area.low, area.high));
  std::vector<const ui::ChartSeries*> bars;
  for (const ui::ChartSeries* s : shown)
    if (s->style == ui::SeriesStyle::Bar) bars.push_back(s);
  const double slot = places.width;
  const double barWidth = bars.empty() ? 0 : slot * 0.8 / static_cast<double>(bars.size());
  for (std::size_t b = 0; b < bars.size(); ++b) {
    const QColor face = ColorOf(bars[b]->color);
    for (const auto& [x, y] : bars[b]->points) {
      const int left = plot.left() + static_cast<int>(slot * (places.of[x] + 0.1) + barWidth * static_cast<double>(b));
      const int width = std::max(1, static_cast<int>(barWidth) - 1);
      const int top = std::min(area.YOf(y), zero), bottom = std::max(area.YOf(y), zero);
      const QRect front(left, top, width, std::max(1, bottom - top));
      if (depth > 0) {
        const QColor shade = face.darker(150);
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawPolygon(QPolygon({front.topLeft(), front.topLeft() + QPoint(depth, -depth),
                                front.topRight() + QPoint(depth, -depth), front.topRight()}));
        p.drawPolygon(QPolygon({front.topRight(), front.topRight() + QPoint(depth, -depth),
                                front.bottomRight() + QPoint(depth, -depth), front.bottomRight()}));
      }
      p.setPen(QPen(face.darker(130)));
      p.setBrush(face);
      p.drawRect(front);
    }
  }
}

// The line series with a marker on each point.
void PaintLines(QPainter& p, const std::vector<const ui::ChartSeries*>& shown, const PlotArea& area, XSlots& places) {
  for (const ui::ChartSeries* s : shown) {
    if (s->style != ui::SeriesStyle::Line) continue;
    const QColor colour = ColorOf(s->color);
    QPolygon line;
    for (const auto& [x, y] : s->points)
      line << QPoint(area.plot.left() + static_cast<int>(places.width * (places.of[x] + 0.5)), area.YOf(y));
    p.setPen(QPen(colour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
    p.setPen(QPen(colour.darker(150)));
    p.setBrush(colour);
    for (const QPoint& pt : line) p.drawRect(QRect(pt - QPoint(3, 3), QSize(7, 7)));
  }
}

}  // namespace

void PaintChart(QPainter& p, const ui::Chart& chart, const QRect& area) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.fillRect(area, Qt::white);
  const int titleHeight = PaintTitle(p, chart, area);

  std::vector<const ui::ChartSeries*> shown;
  for (const ui::ChartSeries& s : chart.AllSeries())
    if (s.visible) shown.push_back(&s);
  const int legendWidth = PaintLegend(p, shown, area, area.top() + titleHeight + 6);

  const ChartRange range = RangeOf(shown);
  const int depth = chart.View3D() ? kDepth : 0;
  const PlotArea plot = PaintAxes(p, chart, area, range, titleHeight, legendWidth, depth);
  if (range.xs.empty()) {
    p.restore();
    return;
  }
  XSlots places = PaintSlots(p, range.xs, plot);
  PaintBars(p, shown, plot, places, depth);
  PaintLines(p, shown, plot, places);
  p.restore();
}

QImage ChartImage(const ui::Chart& chart, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter p(&image);
  PaintChart(p, chart, QRect(QPoint(0, 0), size));
  return image;
}

}  // namespace qtfront
