#include "gui/ui/clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>

#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

QImage DrawSvg(const QByteArray& svg) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return {};
  QSize size = renderer.defaultSize();
  if (size.isEmpty()) return {};
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

}  // namespace

void PutClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(ToQ(text));
}

void PutClipboardPicture(const QByteArray& svg, const QImage& image) {
  auto* data = new QMimeData;
  if (!svg.isEmpty()) data->setData(QString::fromLatin1(kSvgMimeType), svg);
  data->setImageData(image);
  QGuiApplication::clipboard()->setMimeData(data);
}

ClipboardContent ReadClipboard() {
  ClipboardContent content;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr) return content;
  if (data->hasImage()) content.picture = qvariant_cast<QImage>(data->imageData());
  if (content.picture.isNull() && data->hasFormat(QString::fromLatin1(kSvgMimeType)))
    content.picture = DrawSvg(data->data(QString::fromLatin1(kSvgMimeType)));
  content.hasPicture = !content.picture.isNull();
  if (data->hasText()) {
    content.hasText = true;
    content.text = FromQ(data->text());
  }
  return content;
}

void Beep() {
  QApplication::beep();
}

}  // namespace tarn::gui
