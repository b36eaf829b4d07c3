#pragma once
// The drawing surface over a QPainter: the screen plot, the formula pictures
// of the species lists and labels, the bitmap copy of a plot. Coordinates are
// the painter's pixels with y growing downwards; fonts are Arial in pixel
// sizes, so the drawing does not depend on the device's DPI.
//
//   QPainter painter(&image);
//   PainterSurface surface(painter);
//   Drawcurves(surface, ...);
//
// FormulaPicture draws a formula text (sub- and superscripts) into a picture
// exactly as wide as the text:
//   QPixmap tick = FormulaPicture("CuL2H-1", Rgb{255, 0, 0}, PictureBackground::kWhite);

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPixmap>
#include <QPointF>
#include <string>

#include "core/plot/surface.h"

class QPainter;

namespace tarn::gui {

QColor ToQColor(Rgb colour);
Rgb FromQColor(const QColor& colour);

// Arial (or its metric twin) whose character height (em) or cell height
// (ascent plus descent) is the given number of pixels; height 0 gives the
// default height of 16 pixels of cell.
QFont ArialFont(FontSpec wanted);

class PainterSurface : public Surface {
 public:
  // The painter must outlive the surface; its pen, font and transform are
  // changed by the drawing.
  explicit PainterSurface(QPainter& painter);

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SelectPen(int width, Rgb colour) override;
  void SetTextColour(Rgb colour) override;
  void SelectFont(FontSpec font) override;
  void TextOut(int x, int y, TextAlign align, TextAnchor anchor, bool rotated, const std::string& text) override;
  double TextWidth(const std::string& text) override;

 protected:
  // The device point of a surface point; the SVG surface turns y upwards.
  virtual QPointF Device(int x, int y) const { return {static_cast<double>(x), static_cast<double>(y)}; }

 private:
  QPainter& painter_;
  int cursorX_ = 0;
  int cursorY_ = 0;
  QPen pen_;
  QColor textColour_{Qt::black};
  QFont font_;
};

enum class PictureBackground { kTransparent, kWhite };

// The height of every formula picture, in pixels: room for the superscripts
// above baseline 14 and the subscripts below it.
inline constexpr int kFormulaPictureHeight = 19;

// The formula text drawn at x = 0, baseline 14, size 1, in the colour; the
// picture is as wide as the text (at least 1 pixel).
QPixmap FormulaPicture(const std::string& formula, Rgb colour, PictureBackground background);
// The width the formula takes, in pixels, without drawing it.
int FormulaWidth(const std::string& formula);

}  // namespace tarn::gui
