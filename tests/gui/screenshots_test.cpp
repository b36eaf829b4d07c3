// Screenshots of every window of this folder, written to build/screenshots/.
// They are for looking at: a window that works but looks broken is broken.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileInfo>
#include <QPainter>

#include "gui/app/about_window.h"
#include "gui/app/clipboard_viewer.h"
#include "gui/app/help_window.h"
#include "gui/tables/table_window.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "support/gui_test.h"
#include "support/sample_session.h"

namespace tarn::gui {
namespace {

using test::SaveScreenshot;

void ExpectSaved(QWidget& widget, const QString& name) {
  QString path = SaveScreenshot(widget, name);
  EXPECT_GT(QFileInfo(path).size(), 0) << path.toStdString();
}

TEST(ScreenshotTest, TableWindowInBothPrecisions) {
  Session session;
  ASSERT_EQ(test::AceticAcidTitration(session, 21), kSuccess);
  T32Table window(session);
  ExpectSaved(window, "table_window");
  window.SigFig_Click(1);
  ExpectSaved(window, "table_window_high");
}

TEST(ScreenshotTest, AboutWindow) {
  AboutWindow about;
  ExpectSaved(about, "about_window");
}

TEST(ScreenshotTest, HelpWindowOnTheMainPageAndATopic) {
  HelpWindow help(test::SourcePath("help"));
  help.ShowPage(kHelpMainPage);
  ExpectSaved(help, "help_window");
  help.ShowPage("Table of concentrations");
  ExpectSaved(help, "help_window_table");
}

TEST(ScreenshotTest, ClipboardViewerWithTextAndWithAPicture) {
  ClipboardViewer viewer;
  PutClipboardText("Tarn2009 - Concentration table.\r\t1\t2.878\r\t2\t4.752");
  ExpectSaved(viewer, "clipboard_viewer_text");
  QImage image(200, 120, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawLine(10, 110, 190, 10);
  painter.end();
  PutClipboardPicture(QByteArray(), image);
  ExpectSaved(viewer, "clipboard_viewer_picture");
}

// A grid as the editors use it: a two-line fixed heading row, a fixed column
// of pictures, coloured heading cells and centred columns.
TEST(ScreenshotTest, GridWithFixedCellsColoursAndPictures) {
  QWidget container;
  container.resize(420, 200);
  auto* grid = new Grid(&container);
  grid->move(8, 8);
  grid->SetRows(4);
  grid->SetCols(4);
  grid->SetFixedRows(1);
  grid->SetFixedCols(1);
  grid->SetRowHeightTwips(0, 510);
  grid->SetText(0, 0, "Reagent");
  grid->SetText(0, 1, "total\rmillimoles");
  grid->SetText(0, 2, "burette\rconcentration");
  grid->SetText(0, 3, "Cu");
  grid->SetCellBackColour(0, 3, QColor(192, 255, 255));
  for (int r = 1; r < 4; ++r) {
    QPixmap picture(30, 14);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QColor::fromHsv(r * 90, 255, 200));
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("L%1").arg(r));
    painter.end();
    grid->SetCellPicture(r, 0, picture);
    for (int c = 1; c < 4; ++c) {
      grid->SetColAlignment(c, Qt::AlignHCenter);
      grid->SetColWidthTwips(c, 1080);
      grid->SetText(r, c, std::to_string(r * c) + ".0");
    }
  }
  grid->SetCurrentCell(2, 2);
  FitGrid(*grid);
  ExpectSaved(container, "grid");
}

}  // namespace
}  // namespace tarn::gui
