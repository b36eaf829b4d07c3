#pragma once
// The drawing surface the chart routines draw on. The screen draws on a
// QPainter surface (pixels, y down), the plot copy on an SVG surface (0.1 mm,
// y up), and tests on a recording surface that keeps every call.
//
// Coordinates are whole surface units. Text is always Arial; a font is given
// by its height in surface units. The surface keeps a current pen (for lines),
// a current text colour and a current font, as a device context does.
//
//   surface.SelectPen(1, Rgb{0, 0, 0});
//   surface.MoveTo(left - 4, bottom + 4);
//   surface.LineTo(right + 4, bottom + 4);
//   surface.SelectFont(FontSpec{12.0, FontHeight::kCharacter});
//   surface.TextOut(x, y, TextAlign::kCentre, TextAnchor::kTop, false, "pH");

#include <string>

#include "core/model/project_state.h"  // Rgb

namespace tarn {

inline constexpr Rgb kBlack{0, 0, 0};

// How a font's height is measured: the character height (the em, without
// internal leading) or the cell height (ascent plus descent).
enum class FontHeight { kCharacter, kCell };

struct FontSpec {
  double height = 0;  // surface units; 0 = the font system's default height
  FontHeight measure = FontHeight::kCharacter;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Where x lies along the text: its left end, its centre or its right end.
enum class TextAlign { kLeft, kCentre, kRight };
// Where y lies across the text: the top of the text or its baseline.
enum class TextAnchor { kTop, kBaseline };

class Surface {
 public:
  virtual ~Surface() = default;

  virtual void MoveTo(int x, int y) = 0;
  // A line from the cursor to (x, y) with the current pen; the cursor moves there.
  virtual void LineTo(int x, int y) = 0;
  // A solid pen; width 0 is the thinnest line the surface can draw.
  virtual void SelectPen(int width, Rgb colour) = 0;
  virtual void SetTextColour(Rgb colour) = 0;
  virtual void SelectFont(FontSpec font) = 0;
  // Text in the current font and text colour. rotated turns it 90 degrees
  // counter-clockwise about (x, y): it then reads upwards, align applies
  // along its length and anchor across it (its top faces the lower x).
  virtual void TextOut(int x, int y, TextAlign align, TextAnchor anchor, bool rotated, const std::string& text) = 0;
  // The advance width of the text in the current font, in surface units.
  virtual double TextWidth(const std::string& text) = 0;
};

}  // namespace tarn
