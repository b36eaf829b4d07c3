#include "core/plot/recording_surface.h"

namespace tarn {

int CodePointCount(const std::string& text) {
  int count = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

RecordedCall RecordingSurface::Current(CallKind kind) const {
  RecordedCall call;
  call.kind = kind;
  call.x = x_;
  call.y = y_;
  call.x0 = x_;
  call.y0 = y_;
  call.penWidth = penWidth_;
  call.penColour = penColour_;
  call.textColour = textColour_;
  call.font = font_;
  return call;
}

void RecordingSurface::MoveTo(int x, int y) {
  x_ = x;
  y_ = y;
  calls.push_back(Current(CallKind::kMove));
}

void RecordingSurface::LineTo(int x, int y) {
  RecordedCall call = Current(CallKind::kLine);
  call.x = x;
  call.y = y;
  x_ = x;
  y_ = y;
  calls.push_back(call);
}

void RecordingSurface::SelectPen(int width, Rgb colour) {
  penWidth_ = width;
  penColour_ = colour;
  calls.push_back(Current(CallKind::kPen));
}

void RecordingSurface::SetTextColour(Rgb colour) {
  textColour_ = colour;
  calls.push_back(Current(CallKind::kTextColour));
}

void RecordingSurface::SelectFont(FontSpec font) {
  font_ = font;
  calls.push_back(Current(CallKind::kFont));
}

void RecordingSurface::TextOut(int x, int y, TextAlign align, TextAnchor anchor, bool rotated,
                               const std::string& text) {
  RecordedCall call = Current(CallKind::kText);
  call.x = x;
  call.y = y;
  call.align = align;
  call.anchor = anchor;
  call.rotated = rotated;
  call.text = text;
  calls.push_back(call);
}

double RecordingSurface::WidthIn(const FontSpec& font, const std::string& text) const {
  double height = font.height > 0 ? font.height : defaultFontHeight;
  return kWidthPerHeight * height * CodePointCount(text);
}

double RecordingSurface::TextWidth(const std::string& text) {
  return WidthIn(font_, text);
}

std::vector<RecordedCall> RecordingSurface::TextsOf(const std::string& text) const {
  std::vector<RecordedCall> found;
  for (const RecordedCall& call : calls)
    if (call.kind == CallKind::kText && call.text == text) found.push_back(call);
  return found;
}

std::vector<RecordedCall> RecordingSurface::Only(CallKind kind) const {
  std::vector<RecordedCall> found;
  for (const RecordedCall& call : calls)
    if (call.kind == kind) found.push_back(call);
  return found;
}

}  // namespace tarn
