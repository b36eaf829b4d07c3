// The copy of the plot (clipboard SVG and bitmap, files in SVG, PDF and
// PNG) and the screenshots of the plot window for every sample.

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/plot/plot_copy.h"
#include "gui/plot/plot_widgets.h"
#include "gui/ui/clipboard.h"
#include "support/gui/plot_fixture.h"

namespace tarn::gui {
namespace {

QByteArray ClipboardSvg() {
  return QGuiApplication::clipboard()->mimeData()->data(QString::fromLatin1(kSvgMimeType));
}

int Count(const QByteArray& text, const char* what) {
  return static_cast<int>(text.count(what));
}

// Whether the bitmap has a dark pixel within 2 pixels of the row (units of
// 0.1 mm from the top) in the middle column.
bool DarkNearRow(const QImage& image, double rowUnits) {
  double scale = static_cast<double>(kCopyImageDpi) / kCopyUnitsPerInch;
  int row = static_cast<int>(rowUnits * scale), column = image.width() / 2;
  for (int y = row - 2; y <= row + 2; ++y)
    if (y >= 0 && y < image.height() && qGray(image.pixel(column, y)) < 128) return true;
  return false;
}

TEST(PlotCopyTest, TheCopyIsAnUprightSvgWithTheAxisTitlesAndTheVisibleLabels) {
  OpenPlot o("copper-glycine-titration.cld");
  ASSERT_NE(o.plot, nullptr);
  o.plot->CopyClip_Click();
  QByteArray bare = ClipboardSvg();
  ASSERT_FALSE(bare.isEmpty());
  EXPECT_TRUE(ReadClipboard().hasPicture);
  EXPECT_EQ(Count(bare, "viewBox=\"0 0 1107 1107\""), 1);
  EXPECT_EQ(Count(bare, "width=\"110.7mm\""), 1);
  EXPECT_EQ(Count(bare, "height=\"110.7mm\""), 1);
  for (const char* title :
       {"titre volume / ml", "% formation relative to Cu", "Copper(II) - glycine, titration with NaOH"})
    EXPECT_EQ(Count(bare, (std::string(">") + title + "</text>").c_str()), 1) << title;

  // A label placed on the screen is written letter by letter.
  int cuGly = o.Species("CuGly");
  o.ClickOnCurve(cuGly, o.State().npoints * 3 / 4);
  ASSERT_TRUE(o.plot->LabelShown(cuGly));
  o.plot->CopyClip_Click();
  QByteArray labelled = ClipboardSvg();
  EXPECT_EQ(Count(labelled, "</text>") - Count(bare, "</text>"), 5);  // C u G l y
  EXPECT_GT(Count(labelled, ">G</text>"), Count(bare, ">G</text>"));

  // Upright: the frame's top and bottom where the copy's plot rectangle puts
  // them (y grows upwards in the copy), a blank margin below the x title.
  PlotCopy copy = MakePlotCopy(o.State(), o.Results(), const_cast<PlotData&>(o.plot->Data()), o.plot->View(),
                               o.plot->LabelVisibility(), 1.0);
  EXPECT_EQ(copy.svg, labelled);
  QImage image = CopyImage(copy);
  EXPECT_EQ(image.width(), 1307);
  QDir().mkpath(QStringLiteral(TARN_SCREENSHOT_DIR));
  image.save(QStringLiteral(TARN_SCREENSHOT_DIR "/plot-copy.png"));
  EXPECT_GT(copy.plot.top - copy.plot.bottom, 800);  // the plot fills most of the square
  EXPECT_TRUE(DarkNearRow(image, 1107 - copy.plot.top));
  EXPECT_TRUE(DarkNearRow(image, 1107 - (copy.plot.bottom - 4)));
  EXPECT_FALSE(DarkNearRow(image, 1107 - 3));

  // A wider plot: half as high, rounded to the even neighbour, the plot still
  // most of it.
  auto* aspect = o.Find<QLineEdit>("Aspect");
  aspect->selectAll();
  QTest::keyClicks(aspect, "2.0");
  EXPECT_EQ(o.plot->Aspect(), 2.0);
  QWidget& box = o.Box();
  EXPECT_NEAR(box.width(), 2 * box.height(), 2);
  o.plot->CopyClip_Click();
  QByteArray wide = ClipboardSvg();
  EXPECT_EQ(Count(wide, "viewBox=\"0 0 1107 554\""), 1);
  EXPECT_EQ(Count(wide, "height=\"55.4mm\""), 1);
  CopyImage(PlotCopy{1107, 554, wide, {}}).save(QStringLiteral(TARN_SCREENSHOT_DIR "/plot-copy-aspect-2.png"));
  // Text that is no number, or a ratio beyond 0.2 to 5, leaves the box as it
  // was and shows in red.
  QTest::keyClicks(aspect, "x");
  EXPECT_EQ(o.plot->Aspect(), 2.0);
  for (const char* refused : {"0.001", "60"}) {
    aspect->selectAll();
    QTest::keyClicks(aspect, refused);
    EXPECT_EQ(o.plot->Aspect(), 2.0) << refused;
    EXPECT_EQ(aspect->palette().color(QPalette::Text), QColor(Qt::red));
  }
  aspect->selectAll();
  QTest::keyClicks(aspect, "5");
  EXPECT_EQ(o.plot->Aspect(), 5.0);
  EXPECT_NE(aspect->palette().color(QPalette::Text), QColor(Qt::red));
  o.plot->CopyClip_Click();
  QByteArray strip = ClipboardSvg();
  EXPECT_EQ(Count(strip, "viewBox=\"0 0 1107 221\""), 1);
  CopyImage(PlotCopy{1107, 221, strip, {}}).save(QStringLiteral(TARN_SCREENSHOT_DIR "/plot-copy-aspect-5.png"));
  aspect->selectAll();
  QTest::keyClicks(aspect, "0.2");
  o.plot->CopyClip_Click();
  EXPECT_EQ(Count(ClipboardSvg(), "viewBox=\"0 0 1107 5535\""), 1);
  EXPECT_TRUE(o.Find<QWidget>("CopyClip")->toolTip().contains("SVG"));
  EXPECT_TRUE(o.Find<QWidget>("CopyClip")->toolTip().contains("PNG"));
}

TEST(PlotCopyTest, SavePlotAsWritesSvgPdfOrPng) {
  OpenPlot o("phosphoric-acid.cld");
  ASSERT_NE(o.plot, nullptr);
  QTemporaryDir dir;
  struct Case {
    const char* name;
    const char* written;
    const char* start;
  };
  for (const Case& c : {Case{"figure.svg", "figure.svg", "<?xml"}, Case{"figure.PDF", "figure.PDF", "%PDF"},
                        Case{"figure.png", "figure.png", "\x89PNG"}, Case{"drawing", "drawing.svg", "<?xml"}}) {
    QString path = dir.filePath(QString::fromLatin1(c.name));
    auto seen = test::AnswerFileDialog(path);
    o.plot->SavePlot_Click();
    EXPECT_EQ(seen->title, "Save plot as");
    QFile file(dir.filePath(QString::fromLatin1(c.written)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.written;
    EXPECT_TRUE(file.readAll().startsWith(c.start)) << c.written;
  }
  QImage png(dir.filePath(QStringLiteral("figure.png")));
  EXPECT_EQ(png.width(), 1307);
  EXPECT_EQ(png.height(), 1307);
  // Cancelling writes nothing.
  test::AnswerFileDialog(std::nullopt);
  o.plot->SavePlot_Click();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
  // A name typed without an extension takes the type chosen in the dialog.
  test::AnswerWindow<QFileDialog>([&dir](QFileDialog& dialog) {
    dialog.selectNameFilter(dialog.nameFilters().at(2));  // PNG
    test::ChooseFile(dialog, dir.filePath(QStringLiteral("chosen")));
  });
  o.plot->SavePlot_Click();
  QFile chosen(dir.filePath(QStringLiteral("chosen.png")));
  ASSERT_TRUE(chosen.open(QIODevice::ReadOnly));
  EXPECT_TRUE(chosen.readAll().startsWith("\x89PNG"));
  // A name without an extension that gives an existing file asks first.
  std::shared_ptr<test::ModalSeen> asked;
  test::AnswerWindow<QFileDialog>([&](QFileDialog& dialog) {
    asked = test::AnswerMessageBox(QMessageBox::No, {}, &dialog);
    test::ChooseFile(dialog, dir.filePath(QStringLiteral("figure")));
    EXPECT_TRUE(dialog.isVisible());
    dialog.reject();
  });
  o.plot->SavePlot_Click();
  ASSERT_NE(asked, nullptr);
  EXPECT_TRUE(asked->seen);
  EXPECT_TRUE(asked->text.contains(QStringLiteral("figure.svg")));
}

// Every sample with the calculated pH and a few labels on their curves.
TEST(PlotScreenshots, EverySampleInColourAndBlackAndWhite) {
  for (const char* sample : kSamples) {
    OpenPlot o(sample);
    ASSERT_NE(o.plot, nullptr) << sample;
    o.plot->pHchoice_Click(true);
    ProjectState& s = o.State();
    int placed = 0;
    for (int k = 1; k <= s.ntotal() && placed < 4; ++k) {
      if (s.plotMark(k) != 1) continue;
      int best = 2;
      for (int p = 2; p <= s.npoints; ++p)
        if (o.plot->Data().plotY(p, k) > o.plot->Data().plotY(best, k)) best = p;
      if (o.plot->Data().plotY(best, k) < 10) continue;
      o.ClickOnCurve(k, best);
      ++placed;
    }
    std::string name = sample;
    name = "plot-" + name.substr(0, name.size() - 4);
    test::SaveScreenshot(*o.main, QString::fromStdString(name + "-colour"));
    // The copy a chemist pastes into a paper, with the pH axis and the labels.
    PlotCopy copy = MakePlotCopy(s, o.Results(), const_cast<PlotData&>(o.plot->Data()), o.plot->View(),
                                 o.plot->LabelVisibility(), 1.0);
    EXPECT_TRUE(CopyImage(copy).save(QStringLiteral(TARN_SCREENSHOT_DIR "/") + QString::fromStdString(name) +
                                     QStringLiteral("-copy.png")));
    o.plot->ColourOption_Click(1);
    test::SaveScreenshot(*o.main, QString::fromStdString(name + "-bw"));
  }
}

// The log scale with the caption editor open, and the concentration scale
// with the scroll panel's condition list open.
TEST(PlotScreenshots, LogScaleWithTheCaptionEditorAndConcentrationsWithAList) {
  OpenPlot o("copper-glycine-distribution.cld");
  ASSERT_NE(o.plot, nullptr);
  o.Find<QRadioButton>("Ychoice1")->click();
  o.plot->PlotGrid_Click(6, 1);
  test::SaveScreenshot(*o.main, QStringLiteral("plot-log-caption-editor"));
  QTest::keyClick(o.Find<QLineEdit>("EditA"), Qt::Key_Return);
  o.Find<QRadioButton>("Ychoice2")->click();
  o.plot->LabelConc_Click();
  test::SaveScreenshot(*o.main, QStringLiteral("plot-concentration-condition-list"));
}

}  // namespace
}  // namespace tarn::gui
