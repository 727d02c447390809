#include "ui/chart.h"

#include <stdexcept>

namespace ui {

Chart::Chart(Container* parent, std::string name) : Component(parent, std::move(name), Kind::Chart) {}

void Chart::SetTitle(const Text& t) {
  title_ = t;
  Changed();
}

void Chart::SetView3D(bool on) {
  view3D_ = on;
  Changed();
}

void Chart::SetAxisFont(int size, bool bold) {
  axisFontSize_ = size;
  axisFontBold_ = bold;
  Changed();
}

void Chart::SetSeriesCount(int n) {
  series_.resize(static_cast<std::size_t>(n < 0 ? 0 : n));
  Changed();
}

ChartSeries& Chart::At(int i) {
  if (i < 0 || i >= SeriesCount()) throw std::out_of_range("chart " + Name() + ": no series " + std::to_string(i));
  return series_[static_cast<std::size_t>(i)];
}

const ChartSeries& Chart::Series(int i) const { return const_cast<Chart*>(this)->At(i); }

void Chart::SetSeriesTitle(int i, const Text& t) {
  At(i).title = t;
  Changed();
}

void Chart::SetSeriesColor(int i, Color c) {
  At(i).color = c;
  Changed();
}

void Chart::SetSeriesStyle(int i, SeriesStyle s) {
  At(i).style = s;
  Changed();
}

void Chart::SetSeriesVisible(int i, bool v) {
  At(i).visible = v;
  Changed();
}

void Chart::ClearSeries(int i) {
  At(i).points.clear();
  Changed();
}

void Chart::AddPoint(int i, double x, double y) {
  At(i).points.emplace_back(x, y);
  Changed();
}

}  // namespace ui
