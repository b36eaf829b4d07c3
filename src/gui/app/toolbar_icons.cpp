#include "gui/app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace tarn::gui {

namespace {

constexpr int kSize = 32;  // drawn at 32 pixels, shown at the toolbar's size
const QColor kInk(40, 40, 40);
const QColor kBlue(30, 90, 200);
const QColor kRed(210, 40, 40);
const QColor kGreen(20, 140, 60);

QPen Pen(const QColor& colour, double width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawRestart(QPainter& p) {
  p.setPen(Pen(kGreen, 3));
  p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
  QPainterPath head;
  head.moveTo(26, 4);
  head.lineTo(26, 13);
  head.lineTo(17, 11);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawPath(head);
}

void DrawSave(QPainter& p) {
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(5, 5, 22, 22), 2, 2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9, 5, 14, 8));
  p.drawRect(QRectF(9, 17, 14, 10));
  p.setBrush(kInk);
  p.drawRect(QRectF(18, 7, 3, 4));
}

// A conical flask: the model.
void DrawModel(QPainter& p) {
  QPainterPath flask;
  flask.moveTo(13, 4);
  flask.lineTo(19, 4);
  flask.lineTo(19, 13);
  flask.lineTo(27, 27);
  flask.lineTo(5, 27);
  flask.lineTo(13, 13);
  flask.closeSubpath();
  QPainterPath liquid;
  liquid.moveTo(9.5, 19);
  liquid.lineTo(22.5, 19);
  liquid.lineTo(27, 27);
  liquid.lineTo(5, 27);
  liquid.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(120, 170, 240));
  p.drawPath(liquid);
  p.setBrush(Qt::NoBrush);
  p.setPen(Pen(kInk, 2));
  p.drawPath(flask);
}

// Three sliders: the conditions.
void DrawConditions(QPainter& p) {
  const int knobs[3] = {20, 10, 16};
  for (int i = 0; i < 3; ++i) {
    int y = 8 + 8 * i;
    p.setPen(Pen(kInk, 2));
    p.drawLine(5, y, 27, y);
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kBlue);
    p.drawRect(QRectF(knobs[i] - 2.5, y - 4, 5, 8));
  }
}

// Axes with two crossing curves: a speciation plot.
void DrawGraph(QPainter& p) {
  p.setPen(Pen(kInk, 2));
  p.drawLine(5, 4, 5, 27);
  p.drawLine(5, 27, 28, 27);
  QPainterPath falling;
  falling.moveTo(6, 7);
  falling.cubicTo(16, 7, 15, 25, 27, 25);
  QPainterPath rising;
  rising.moveTo(6, 25);
  rising.cubicTo(16, 25, 15, 7, 27, 7);
  p.setPen(Pen(kRed, 2));
  p.drawPath(falling);
  p.setPen(Pen(kBlue, 2));
  p.drawPath(rising);
}

void DrawTable(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 215, 240));
  p.drawRect(QRectF(4, 6, 24, 6));
  p.setBrush(Qt::NoBrush);
  p.setPen(Pen(kInk, 1.5));
  p.drawRect(QRectF(4, 6, 24, 21));
  for (int y : {12, 17, 22}) p.drawLine(4, y, 28, y);
  for (int x : {12, 20}) p.drawLine(x, 6, x, 27);
}

void DrawText(QPainter& p, const QString& text, const QColor& colour, int pixelSize) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixelSize);
  font.setBold(true);
  p.setFont(font);
  p.setPen(colour);
  p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, text);
}

void DrawKapp(QPainter& p) {
  DrawText(p, QStringLiteral("K'"), kBlue, 22);
}

// Dots along a curve: the number of points.
void DrawPoints(QPainter& p) {
  p.setPen(Pen(kInk, 1));
  p.drawLine(4, 27, 28, 27);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  const QPointF dots[] = {{6, 24}, {10, 22}, {14, 18}, {18, 12}, {22, 8}, {26, 6}};
  for (const QPointF& dot : dots) p.drawEllipse(dot, 2.2, 2.2);
}

// A single marked point on axes.
void DrawSinglePoint(QPainter& p) {
  p.setPen(Pen(kInk, 2));
  p.drawLine(5, 4, 5, 27);
  p.drawLine(5, 27, 28, 27);
  p.setPen(Pen(kGreen, 1.5));
  p.drawLine(17, 8, 17, 24);
  p.drawLine(9, 16, 25, 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  p.drawEllipse(QPointF(17, 16), 4, 4);
}

void DrawHelp(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(3, 3, 26, 26));
  DrawText(p, QStringLiteral("?"), Qt::white, 22);
}

// A door with an arrow leaving it.
void DrawExit(QPainter& p) {
  p.setPen(Pen(kInk, 2));
  p.setBrush(QColor(230, 200, 150));
  p.drawRect(QRectF(5, 4, 13, 24));
  p.setPen(Pen(kRed, 3));
  p.drawLine(13, 16, 27, 16);
  p.drawLine(22, 11, 27, 16);
  p.drawLine(22, 21, 27, 16);
}

QIcon Paint(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  painter.end();
  return QIcon(pixmap);
}

// A flask over a blue pool.
void DrawProgram(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(120, 170, 240));
  p.drawEllipse(QRectF(1, 22, 30, 9));
  DrawModel(p);
}

}  // namespace

QIcon ProgramIcon() {
  return Paint(DrawProgram);
}

QIcon ToolbarIcon(const QString& key) {
  if (key == u"Restart") return Paint(DrawRestart);
  if (key == u"Save") return Paint(DrawSave);
  if (key == u"Model") return Paint(DrawModel);
  if (key == u"Conditions") return Paint(DrawConditions);
  if (key == u"Calculate") return Paint(DrawGraph);
  if (key == u"Table") return Paint(DrawTable);
  if (key == u"Kapp") return Paint(DrawKapp);
  if (key == u"Points") return Paint(DrawPoints);
  if (key == u"Sdp") return Paint(DrawSinglePoint);
  if (key == u"Help") return Paint(DrawHelp);
  if (key == u"Exit") return Paint(DrawExit);
  return {};
}

}  // namespace tarn::gui
