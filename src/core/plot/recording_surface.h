#pragma once
// A drawing surface that keeps every call, for tests and for measuring text
// without a window system. Text width is deterministic: each character (UTF-8
// code point) is kWidthPerHeight times the font height wide, the default font
// (height 0) being defaultFontHeight high.
//
//   RecordingSurface surface;
//   FormulaText(surface, 0, 14, 1, "Ca2+");
//   for (const RecordedCall& text : surface.Texts()) ...

#include <string>
#include <vector>

#include "core/plot/surface.h"

namespace tarn {

enum class CallKind { kMove, kLine, kPen, kTextColour, kFont, kText };

// One call with the surface's state at that moment. For a line, (x0, y0) is
// where it starts and (x, y) where it ends.
struct RecordedCall {
  CallKind kind = CallKind::kMove;
  int x = 0;
  int y = 0;
  int x0 = 0;
  int y0 = 0;
  int penWidth = 0;
  Rgb penColour{};
  Rgb textColour{};
  FontSpec font{};
  TextAlign align = TextAlign::kLeft;
  TextAnchor anchor = TextAnchor::kTop;
  bool rotated = false;
  std::string text;
};

class RecordingSurface : public Surface {
 public:
  static constexpr double kWidthPerHeight = 0.6;
  double defaultFontHeight = 13;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SelectPen(int width, Rgb colour) override;
  void SetTextColour(Rgb colour) override;
  void SelectFont(FontSpec font) override;
  void TextOut(int x, int y, TextAlign align, TextAnchor anchor, bool rotated, const std::string& text) override;
  double TextWidth(const std::string& text) override;

  // The width a text would have in the given font.
  double WidthIn(const FontSpec& font, const std::string& text) const;

  std::vector<RecordedCall> calls;
  std::vector<RecordedCall> Lines() const { return Only(CallKind::kLine); }
  std::vector<RecordedCall> Texts() const { return Only(CallKind::kText); }
  // The texts whose text is exactly the one given, in drawing order.
  std::vector<RecordedCall> TextsOf(const std::string& text) const;
  void Clear() { calls.clear(); }

 private:
  std::vector<RecordedCall> Only(CallKind kind) const;
  RecordedCall Current(CallKind kind) const;

  int x_ = 0;
  int y_ = 0;
  int penWidth_ = 0;
  Rgb penColour_{};
  Rgb textColour_{};
  FontSpec font_{};
};

// Number of UTF-8 code points in a text.
int CodePointCount(const std::string& text);

}  // namespace tarn
