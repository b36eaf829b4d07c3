// Screenshots of every window of the program, written to build/screenshots/.
// They are for looking at: a window that works but looks broken is broken.
// The About window's texts and the clipboard viewer are tested here too.

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBrowser>

#include "core/app/program_folder.h"
#include "core/app/recent_files.h"
#include "gui/app/about_window.h"
#include "gui/app/clipboard_viewer.h"
#include "gui/app/help_command.h"
#include "gui/app/help_window.h"
#include "gui/app/import_window.h"
#include "gui/app/new_project_window.h"
#include "gui/app/restore_window.h"
#include "gui/app/save_prompt.h"
#include "gui/tables/table_window.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "support/gui/app_fixture.h"

namespace tarn::gui {
namespace {

using test::SaveScreenshot;

TEST(ScreenshotTest, MainWindowWithAProjectAndItsTable) {
  test::ProgramHome home;
  auto main = test::OpenSample(home, "copper-glycine-titration.cld");
  main->show();
  main->calc_Click(kCalcTable);
  ASSERT_TRUE(main->Children().IsOpen(kTableWindow));
  SaveScreenshot(*main, "main_window");
}

// The editor, plot and table cascaded: each keeps a size that shows its
// content, each title bar in view.
TEST(ScreenshotTest, MainWindowWithItsWindowsCascaded) {
  test::ProgramHome home;
  auto main = test::OpenSample(home, "copper-glycine-titration.cld");
  main->show();
  main->calc_Click(kCalcPlot);
  main->calc_Click(kCalcTable);
  main->Tile_Click(kCascade);
  for (int window : {kEditorWindow, kPlotWindow, kTableWindow}) {
    QWidget* shown = main->Children().Widget(window);
    ASSERT_NE(shown, nullptr) << window;
    EXPECT_GT(shown->height(), 200) << window;
    EXPECT_GT(shown->width(), 300) << window;
  }
  SaveScreenshot(*main, "main_window_cascade");
}

TEST(ScreenshotTest, StartNewProjectRestoreImportSavePromptAndPointsWindows) {
  test::ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  Startup start(main.GetSession());
  SaveScreenshot(start, "start_window");
  NewMod newMod(main.GetSession());
  SaveScreenshot(newMod, "new_project_window");
  Restore restore(StorePath(home.Folder()));
  SaveScreenshot(restore, "restore_window");
  Importing importing(ShortName(home.Scratch("model-from-the-fitting-program.cld"), 1));
  SaveScreenshot(importing, "import_window");
  Saver exit(home.Sample("copper-glycine-distribution.cld"), SaverEnd::kExit);
  SaveScreenshot(exit, "save_prompt");
  Saver restart(home.Folder() + "/data1/new.cld", SaverEnd::kRestart);
  SaveScreenshot(restart, "save_prompt_restart");
  bool seen = false;
  test::AnswerModal([&](QWidget* modal) {
    seen = true;
    SaveScreenshot(*modal, "points_input_box");
    static_cast<QDialog*>(modal)->reject();
  });
  main.points_Click(kCustomEntry);
  EXPECT_TRUE(seen);
}

TEST(ScreenshotTest, TableAboutHelpAndClipboardWindows) {
  Session session;
  ASSERT_EQ(test::CalculatedSample(session, "copper-glycine-titration.cld", 21), kSuccess);
  T32Table table(session);
  SaveScreenshot(table, "table_window");
  table.SigFig_Click(1);
  SaveScreenshot(table, "table_window_high");
  // The About window: the version, what Tarn is and where its help is (a
  // link that opens it); no address that leads nowhere.
  test::ProgramHome home;
  AboutWindow about(home.Folder());
  EXPECT_EQ(about.windowTitle(), "About Tarn");
  EXPECT_EQ(about.findChild<QLabel*>("Version")->text(), QStringLiteral("Version " TARN_PROJECT_VERSION));
  auto* helpPlace = about.findChild<QLabel*>("HelpPlace");
  ASSERT_NE(helpPlace, nullptr);
  EXPECT_TRUE(helpPlace->text().contains(QString::fromStdString(HelpFolder(home.Folder()))));
  for (const QLabel* label : about.findChildren<QLabel*>()) {
    EXPECT_FALSE(label->text().contains("example")) << label->text().toStdString();
    EXPECT_FALSE(label->text().contains("mailto:")) << label->text().toStdString();
  }
  emit helpPlace->linkActivated(QStringLiteral("help"));
  ASSERT_NE(OpenHelpWindow(), nullptr);
  EXPECT_EQ(OpenHelpWindow()->Browser().source().fileName(), "index.html");
  CloseHelp();
  SaveScreenshot(about, "about_window");
  HelpWindow help(test::SourcePath("help"));
  help.ShowPage(kHelpMainPage);
  SaveScreenshot(help, "help_window");
  help.ShowPage("Table of concentrations");
  SaveScreenshot(help, "help_window_table");

  // The clipboard viewer follows text and pictures on the clipboard.
  ClipboardViewer viewer;
  PutClipboardText("Tarn2009 - Concentration table.\r\t1\t2.878\r\t2\t4.752");
  EXPECT_EQ(ReadClipboard().text, "Tarn2009 - Concentration table.\r\t1\t2.878\r\t2\t4.752");
  EXPECT_EQ(viewer.Description(), "Text, 3 lines");
  EXPECT_EQ(viewer.findChild<QPlainTextEdit*>()->toPlainText(),
            "Tarn2009 - Concentration table.\n\t1\t2.878\n\t2\t4.752");
  SaveScreenshot(viewer, "clipboard_viewer_text");
  QImage image(200, 120, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter(&image).drawLine(10, 110, 190, 10);
  const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"25\"/>";
  PutClipboardPicture(svg, image);  // a picture travels as SVG and bitmap
  EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data(kSvgMimeType), svg);
  EXPECT_TRUE(ReadClipboard().hasPicture);
  EXPECT_EQ(ReadClipboard().picture.size(), QSize(200, 120));
  SaveScreenshot(viewer, "clipboard_viewer_picture");
  auto* svgOnly = new QMimeData;
  svgOnly->setData(kSvgMimeType, svg);
  QGuiApplication::clipboard()->setMimeData(svgOnly);
  EXPECT_EQ(viewer.Description(), "Picture, 40 x 25 pixels");
  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(viewer.Description(), "The clipboard is empty");
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
  SaveScreenshot(container, "grid");
}

}  // namespace
}  // namespace tarn::gui
