// The chart through the Qt front end: drawn by its peer, bars in 3D with a
// darker side face, lines with markers, and copied as a picture.
#include <QImage>
#include <QSet>
#include <QWidget>

#include "qt/chartpeer.h"
#include "qtfixture.h"
#include "ui/chart.h"

namespace qttest {
namespace {

class ChartForm : public ui::Form {
 public:
  ChartForm() : ui::Form("ChartForm", "TChartForm") {
    width = 640;
    height = 420;
    Chart1.hints.stretch = 1;
    Chart1.SetTitle("Sales / 2024");
    Chart1.SetSeriesCount(3);
    Chart1.SetSeriesColor(0, ui::colors::Lime);
    Chart1.SetSeriesColor(1, ui::colors::Red);
    Chart1.SetSeriesColor(2, ui::Color::Rgb(0, 0, 255));
    Chart1.SetSeriesStyle(2, ui::SeriesStyle::Line);
    for (int i = 0; i < 3; ++i) Chart1.SetSeriesTitle(i, "Series " + std::to_string(i));
    for (int p = 1; p <= 12; ++p) {
      Chart1.AddPoint(0, p, 100.0 * p);
      Chart1.AddPoint(1, p, 50.0 * p);
      Chart1.AddPoint(2, p, 1200 - 60.0 * p);
    }
  }
  ui::Chart Chart1{this, "Chart1"};
};

int Count(const QImage& img, QRgb colour) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == colour;
  return n;
}

TEST_F(QtFrontTest, AChartDrawsItsBarsLinesAndA3DSideAndCopiesItsPicture) {
  ChartForm form;
  const QRgb lime = qRgb(0, 255, 0);
  const QRgb limeSide = QColor(lime).darker(150).rgb();
  form.Chart1.SetView3D(false);
  QImage flat = qtfront::RenderForm(form);
  EXPECT_GT(Count(flat, lime), 500);
  EXPECT_EQ(Count(flat, limeSide), 0);
  form.Chart1.SetView3D(true);
  QImage deep = qtfront::RenderForm(form);
  EXPECT_GT(Count(deep, limeSide), 50);

  // A hidden series is not drawn.
  form.Chart1.SetSeriesVisible(0, false);
  EXPECT_EQ(Count(qtfront::RenderForm(form), lime), 0);
  form.Chart1.SetSeriesVisible(0, true);

  QImage copied;
  backend.copyHook = [&](const QImage& img) { copied = img; };
  ui::CopyImage(form.Chart1);
  ASSERT_FALSE(copied.isNull());
  EXPECT_GT(Count(copied, lime), 500);
  EXPECT_GT(Count(copied, qRgb(0, 0, 255)), 20);  // the line and its markers
}

}  // namespace
}  // namespace qttest
