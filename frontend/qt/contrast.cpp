#include "qt/contrast.h"

#include <algorithm>
#include <cmath>

namespace qtfront {
namespace {

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
  const QColor rgb = c.toRgb();
  return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

QColor Mix(const QColor& from, const QColor& to, double t) {
  auto channel = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
  const QColor f = from.toRgb(), g = to.toRgb();
  return QColor(channel(f.red(), g.red()), channel(f.green(), g.green()), channel(f.blue(), g.blue()));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& text, const QColor& back) {
  if (ContrastRatio(text, back) >= kReadableContrast) return text;
  const QColor black(0, 0, 0), white(255, 255, 255);
  const QColor target = ContrastRatio(black, back) >= ContrastRatio(white, back) ? black : white;
  for (int step = 1; step <= 20; ++step) {
    const QColor c = Mix(text, target, step / 20.0);
    if (ContrastRatio(c, back) >= kReadableContrast) return c;
  }
  return target;
}

}  // namespace qtfront
