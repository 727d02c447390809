// A chart of the component model: a title and series of (x, y) points,
// each drawn as bars or as lines with point markers in its own colour, in a
// flat or a 3D view. The model holds only what is shown; the front end
// draws it (the Qt peer with QPainter) and copies its picture when the
// program asks (ui::CopyImage). Setting anything tells the front end.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/component.h"

namespace ui {

enum class SeriesStyle { Bar, Line };

struct ChartSeries {
  Text title;
  Color color;
  SeriesStyle style = SeriesStyle::Bar;
  bool visible = true;
  std::vector<std::pair<double, double>> points;  // (x, y) in the order added
};

class Chart : public Component {
 public:
  Chart(Container* parent, std::string name);

  const Text& Title() const { return title_; }
  void SetTitle(const Text& t);
  bool View3D() const { return view3D_; }
  void SetView3D(bool on);
  // The font of the axis labels, in points.
  int AxisFontSize() const { return axisFontSize_; }
  bool AxisFontBold() const { return axisFontBold_; }
  void SetAxisFont(int size, bool bold);

  int SeriesCount() const { return static_cast<int>(series_.size()); }
  // Makes `n` series; new ones are empty, visible bars.
  void SetSeriesCount(int n);
  const std::vector<ChartSeries>& AllSeries() const { return series_; }
  const ChartSeries& Series(int i) const;
  void SetSeriesTitle(int i, const Text& t);
  void SetSeriesColor(int i, Color c);
  void SetSeriesStyle(int i, SeriesStyle s);
  void SetSeriesVisible(int i, bool v);
  void ClearSeries(int i);
  void AddPoint(int i, double x, double y);

 private:
  ChartSeries& At(int i);
  Text title_;
  bool view3D_ = false;
  int axisFontSize_ = 8;
  bool axisFontBold_ = false;
  std::vector<ChartSeries> series_;
};

}  // namespace ui
