#pragma once
// Chemical formula text with sub- and superscripts: "Cu(L)2H-1" writes its
// digits as subscripts, "Ca2+" and "OH^-" their charges as superscripts.
//
// Rules, character by character (the baseline carries over from one
// character to the next):
//   "(" ")"  normal font, normal baseline
//   digit    small font; subscript, but superscript after "^" or before "+"/"-"
//   "+"      small font, superscript
//   "-"      small font; subscript as the first character, superscript after
//            "^" or a digit 1-9, else the previous character's baseline
//   "^"      not drawn: it only marks a following superscript
//   other    normal font, normal baseline
// A character is one UTF-8 code point.

#include <string>

#include "core/plot/surface.h"

namespace tarn {

// Draws text with its baseline at y (y grows downwards), starting at x, at
// size s: the normal font has character height 12 s, the small font cell
// height 10 s; subscripts sit 3 s below the baseline, superscripts 5 s above.
// Returns x after the last character.
int FormulaText(Surface& surface, int x, int y, double s, const std::string& text);

// The same for the plot copy, whose y grows upwards (units 0.1 mm): normal
// font height 32, small font 28, subscripts at y - 6, superscripts at y + 10,
// all times scale. Draws only when draw is true; returns the width of the
// text either way.
int Chemicals3(Surface& surface, int x, int y, const std::string& text, bool draw, double scale = 1);

}  // namespace tarn
