// The Qt counterpart of ui::Chart: a widget that draws the model's series
// with QPainter, and the drawing itself as a picture for the clipboard.
//
// Bars of the visible bar series stand side by side per x value; in the 3D
// view each bar gets a top and a right side face of a fixed depth in a
// darker shade of its colour. Line series are polylines with a square
// marker at every point, the same in both views. The title is on top, the
// legend of the visible series on the right, the y axis starts at 0 unless
// a value lies below it.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <memory>

#include "qt/peers.h"
#include "ui/chart.h"

class QPainter;

namespace qtfront {

std::unique_ptr<Peer> MakeChartPeer(FormWindow& window, ui::Chart& chart, QWidget* parent);

// Draws `chart` into `area` of `painter`.
void PaintChart(QPainter& painter, const ui::Chart& chart, const QRect& area);
// The chart as a picture of `size`.
QImage ChartImage(const ui::Chart& chart, QSize size);

}  // namespace qtfront
