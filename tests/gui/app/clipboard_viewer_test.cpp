// The clipboard helpers and the clipboard viewer that follows them.

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>

#include "gui/app/clipboard_viewer.h"
#include "gui/ui/clipboard.h"

namespace tarn::gui {
namespace {

QByteArray Svg(int width, int height) {
  return QStringLiteral(
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\">"
             "<line x1=\"0\" y1=\"0\" x2=\"%1\" y2=\"%2\" stroke=\"black\"/></svg>")
      .arg(width)
      .arg(height)
      .toUtf8();
}

TEST(ClipboardTest, PicturesTravelAsSvgAndBitmap) {
  QImage image(30, 20, QImage::Format_RGB32);
  image.fill(Qt::white);
  PutClipboardPicture(Svg(30, 20), image);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  EXPECT_EQ(data->data(kSvgMimeType), Svg(30, 20));
  ClipboardContent content = ReadClipboard();
  EXPECT_TRUE(content.hasPicture);
  EXPECT_EQ(content.picture.size(), QSize(30, 20));
}

TEST(ClipboardViewerTest, FollowsTheClipboard) {
  ClipboardViewer viewer;
  PutClipboardText("line 1\rline 2\tx");
  EXPECT_EQ(ReadClipboard().text, "line 1\rline 2\tx");
  EXPECT_EQ(viewer.Description(), "Text, 2 lines");
  EXPECT_EQ(viewer.findChild<QPlainTextEdit*>()->toPlainText(), "line 1\nline 2\tx");

  auto* svgOnly = new QMimeData;
  svgOnly->setData(kSvgMimeType, Svg(40, 25));
  QGuiApplication::clipboard()->setMimeData(svgOnly);
  EXPECT_EQ(viewer.Description(), "Picture, 40 x 25 pixels");

  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(viewer.Description(), "The clipboard is empty");
}

}  // namespace
}  // namespace tarn::gui
