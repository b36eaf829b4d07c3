#pragma once
// The clipboard and the beep. PutClipboardText replaces whatever the clipboard
// held with plain text (the program's CR line ends and TABs kept as they are);
// PutClipboardPicture puts one picture in two forms, SVG (for programs that
// take drawings) and a bitmap.
//
//   PutClipboardText(ConcentrationTableText(state, table));
//   PutClipboardPicture(svgBytes, image);
//   ClipboardContent now = ReadClipboard();

#include <QByteArray>
#include <QImage>
#include <string>

namespace tarn::gui {

inline constexpr const char* kSvgMimeType = "image/svg+xml";

void PutClipboardText(const std::string& text);
void PutClipboardPicture(const QByteArray& svg, const QImage& image);

struct ClipboardContent {
  bool hasText = false;
  std::string text;
  bool hasPicture = false;
  QImage picture;  // the bitmap, or the SVG drawn when the clipboard holds only that
};

ClipboardContent ReadClipboard();

void Beep();

}  // namespace tarn::gui
