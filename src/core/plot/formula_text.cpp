#include "core/plot/formula_text.h"

#include <cmath>
#include <vector>

namespace tarn {

namespace {

enum class Level { kNormal, kSubscript, kSuperscript };

struct Glyph {
  std::string text;  // one code point
  bool small = false;
  Level level = Level::kNormal;
};

// Splits UTF-8 text into code points (a stray continuation byte stays alone).
std::vector<std::string> CodePoints(const std::string& text) {
  std::vector<std::string> points;
  for (char c : text) {
    bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    if (continuation && !points.empty() && (static_cast<unsigned char>(points.back()[0]) & 0x80) != 0)
      points.back() += c;
    else
      points.emplace_back(1, c);
  }
  return points;
}

bool IsDigit(const std::string& c) {
  return c.size() == 1 && c[0] >= '0' && c[0] <= '9';
}

// The font and baseline of every drawn character; "^" is left out.
std::vector<Glyph> LayOut(const std::string& text) {
  std::vector<std::string> chars = CodePoints(text);
  std::vector<Glyph> glyphs;
  Level level = Level::kNormal;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const std::string& c = chars[i];
    std::string previous = i > 0 ? chars[i - 1] : std::string();
    std::string next = i + 1 < chars.size() ? chars[i + 1] : std::string();
    bool small = true;
    if (c == "^") continue;
    if (IsDigit(c)) {
      bool raised = previous == "^" || next == "+" || next == "-";
      level = raised ? Level::kSuperscript : Level::kSubscript;
    } else if (c == "+") {
      level = Level::kSuperscript;
    } else if (c == "-") {
      if (i == 0)
        level = Level::kSubscript;
      else if (previous == "^" || (IsDigit(previous) && previous != "0"))
        level = Level::kSuperscript;
    } else {
      small = false;
      level = Level::kNormal;
    }
    glyphs.push_back(Glyph{c, small, level});
  }
  return glyphs;
}

struct Metrics {
  FontSpec normal;
  FontSpec small;
  int subscriptDy;    // added to the baseline
  int superscriptDy;  // added to the baseline
};

int Round(double v) {
  return static_cast<int>(std::nearbyint(v));
}

// Draws (or only measures) the glyphs; returns the advance in surface units.
double Walk(Surface& surface, double x, int y, const std::string& text, const Metrics& m, bool draw) {
  double start = x;
  for (const Glyph& g : LayOut(text)) {
    surface.SelectFont(g.small ? m.small : m.normal);
    int baseline = y;
    if (g.level == Level::kSubscript) baseline += m.subscriptDy;
    if (g.level == Level::kSuperscript) baseline += m.superscriptDy;
    if (draw) surface.TextOut(Round(x), baseline, TextAlign::kLeft, TextAnchor::kBaseline, false, g.text);
    x += surface.TextWidth(g.text);
  }
  return x - start;
}

}  // namespace

int FormulaText(Surface& surface, int x, int y, double s, const std::string& text) {
  Metrics m{FontSpec{12 * s, FontHeight::kCharacter}, FontSpec{10 * s, FontHeight::kCell}, Round(3 * s), Round(-5 * s)};
  return Round(x + Walk(surface, x, y, text, m, true));
}

int Chemicals3(Surface& surface, int x, int y, const std::string& text, bool draw, double scale) {
  Metrics m{FontSpec{32 * scale, FontHeight::kCharacter}, FontSpec{28 * scale, FontHeight::kCell}, Round(-6 * scale),
            Round(10 * scale)};
  return Round(Walk(surface, x, y, text, m, draw));
}

}  // namespace tarn
