// The QPainter surface and its y-up form: font heights, text anchors,
// rotation, and the formula pictures, checked on the pixels drawn.

#include "gui/plot/painter_surface.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRect>

#include "gui/plot/plot_copy.h"
#include "core/plot/formula_text.h"

namespace tarn::gui {
namespace {

// The bounding box of the dark pixels.
QRect Ink(const QImage& image) {
  QRect ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
  return ink;
}

QImage Blank() {
  QImage image(200, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST(PainterSurfaceTest, CellAndCharacterHeightsAreMeasuredAsTheirNamesSay) {
  for (double h : {12.0, 28.0, 32.0}) {
    QFontMetricsF cell(ArialFont(FontSpec{h, FontHeight::kCell}));
    EXPECT_NEAR(cell.ascent() + cell.descent(), h, 1.2) << h;
    QFont character = ArialFont(FontSpec{h, FontHeight::kCharacter});
    EXPECT_EQ(character.pixelSize(), static_cast<int>(h));
    EXPECT_GT(QFontMetricsF(character).height(), h);  // the cell is taller than the em
  }
}

TEST(PainterSurfaceTest, TextSitsOnItsAnchorAndTurnsToReadUpwards) {
  struct Case {
    TextAnchor anchor;
    bool rotated;
  };
  for (Case c : {Case{TextAnchor::kTop, false}, Case{TextAnchor::kBaseline, false}, Case{TextAnchor::kTop, true}}) {
    QImage image = Blank();
    {
      QPainter painter(&image);
      PainterSurface surface(painter);
      surface.SelectFont(FontSpec{20, FontHeight::kCell});
      surface.TextOut(100, 100, TextAlign::kCentre, c.anchor, c.rotated, "HHHH");
      double width = surface.TextWidth("HHHH");
      QRect ink = Ink(image);
      ASSERT_FALSE(ink.isNull());
      if (!c.rotated) {
        EXPECT_NEAR(ink.center().x(), 100, 2);
        EXPECT_NEAR(ink.width(), width, 4);
        if (c.anchor == TextAnchor::kTop)
          EXPECT_GE(ink.top(), 100);
        else
          EXPECT_LE(ink.bottom(), 100);
      } else {
        EXPECT_NEAR(ink.center().y(), 100, 2);  // centred along its length
        EXPECT_NEAR(ink.height(), width, 4);
        EXPECT_GE(ink.left(), 100);  // its top faces the lower x
      }
    }
  }
}

TEST(PainterSurfaceTest, TheFlippedSurfaceCountsYUpwardsFromTheBottom) {
  QImage image = Blank();
  QPainter painter(&image);
  FlippedSurface surface(painter, 200);
  surface.SelectPen(1, kBlack);
  surface.MoveTo(10, 20);
  surface.LineTo(150, 20);
  painter.end();
  QRect ink = Ink(image);
  EXPECT_EQ(ink.top(), 180);
  EXPECT_EQ(ink.bottom(), 180);
  EXPECT_EQ(ink.left(), 10);
}

TEST(PainterSurfaceTest, AFormulaPictureIsAsWideAsItsTextWithRoomForSubscripts) {
  QPixmap picture = FormulaPicture("Cu2(OH)2", Rgb{0, 0, 0}, PictureBackground::kWhite);
  EXPECT_EQ(picture.width(), FormulaWidth("Cu2(OH)2"));
  EXPECT_EQ(picture.height(), kFormulaPictureHeight);
  QRect ink = Ink(picture.toImage());
  EXPECT_GT(ink.bottom(), 14);  // the subscripts go below baseline 14
  EXPECT_GE(ink.top(), 0);
  EXPECT_LE(ink.right(), picture.width());
  EXPECT_GT(FormulaWidth("Cu2(OH)2"), FormulaWidth("Cu"));
  EXPECT_EQ(FormulaPicture("", kBlack, PictureBackground::kTransparent).width(), 1);
}

}  // namespace
}  // namespace tarn::gui
