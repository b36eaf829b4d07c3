#include "gui/plot/painter_surface.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/ui/text.h"
#include "core/plot/formula_text.h"

namespace tarn::gui {

namespace {

constexpr double kDefaultCellHeight = 15;
constexpr int kFormulaBaseline = 14;

// Ascent plus descent of Arial per pixel of em.
double CellPerEm() {
  static const double ratio = [] {
    QFont probe(QStringLiteral("Arial"));
    probe.setStyleHint(QFont::SansSerif);
    probe.setPixelSize(100);
    QFontMetricsF metrics(probe);
    double cell = metrics.ascent() + metrics.descent();
    return cell > 0 ? cell / 100.0 : 1.117;
  }();
  return ratio;
}

}  // namespace

QColor ToQColor(Rgb colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

Rgb FromQColor(const QColor& colour) {
  return Rgb{colour.red(), colour.green(), colour.blue()};
}

QFont ArialFont(FontSpec wanted) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  double em = wanted.height;
  if (em <= 0) {
    em = kDefaultCellHeight / CellPerEm();
  } else if (wanted.measure == FontHeight::kCell) {
    em = wanted.height / CellPerEm();
  }
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
  return font;
}

PainterSurface::PainterSurface(QPainter& painter) : painter_(painter), pen_(Qt::black), font_(ArialFont({})) {
  pen_.setWidth(0);
}

void PainterSurface::MoveTo(int x, int y) {
  cursorX_ = x;
  cursorY_ = y;
}

void PainterSurface::LineTo(int x, int y) {
  painter_.setPen(pen_);
  painter_.drawLine(Device(cursorX_, cursorY_), Device(x, y));
  MoveTo(x, y);
}

void PainterSurface::SelectPen(int width, Rgb colour) {
  pen_ = QPen(ToQColor(colour));
  pen_.setWidth(std::max(0, width));
  pen_.setCapStyle(Qt::RoundCap);
  pen_.setJoinStyle(Qt::RoundJoin);
}

void PainterSurface::SetTextColour(Rgb colour) {
  textColour_ = ToQColor(colour);
}

void PainterSurface::SelectFont(FontSpec font) {
  font_ = ArialFont(font);
}

void PainterSurface::TextOut(int x, int y, TextAlign align, TextAnchor anchor, bool rotated, const std::string& text) {
  QString shown = ToQ(text);
  QFontMetricsF metrics(font_, painter_.device());
  double width = metrics.horizontalAdvance(shown);
  double dx = align == TextAlign::kLeft ? 0 : (align == TextAlign::kCentre ? -width / 2 : -width);
  double dy = anchor == TextAnchor::kTop ? metrics.ascent() : 0;
  painter_.save();
  painter_.translate(Device(x, y));
  if (rotated) painter_.rotate(-90);
  painter_.setFont(font_);
  painter_.setPen(textColour_);
  painter_.drawText(QPointF(dx, dy), shown);
  painter_.restore();
}

double PainterSurface::TextWidth(const std::string& text) {
  return QFontMetricsF(font_, painter_.device()).horizontalAdvance(ToQ(text));
}

QPixmap FormulaPicture(const std::string& formula, Rgb colour, PictureBackground background) {
  QPixmap picture(std::max(1, FormulaWidth(formula)), kFormulaPictureHeight);
  picture.fill(background == PictureBackground::kWhite ? QColor(Qt::white) : QColor(Qt::transparent));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::TextAntialiasing);
  PainterSurface surface(painter);
  surface.SetTextColour(colour);
  FormulaText(surface, 0, kFormulaBaseline, 1, formula);
  return picture;
}

int FormulaWidth(const std::string& formula) {
  QImage scratch(1, 1, QImage::Format_ARGB32);
  QPainter painter(&scratch);
  PainterSurface surface(painter);
  return FormulaText(surface, 0, kFormulaBaseline, 1, formula);
}

}  // namespace tarn::gui
