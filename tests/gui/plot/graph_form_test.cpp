// The speciation plot window driven as a user drives it: open a sample,
// calculate, choose the axes, click beside and on the plot, drag labels,
// edit captions, step the scroll bars, copy. Drawn curves are read back from
// a recording of the screen drawing and checked against values worked out
// here from the results.

#include "gui/plot/graph_form.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <limits>
#include <functional>

#include "core/app/project_edits.h"
#include "core/app/program_folder.h"
#include "core/app/settings.h"
#include "support/gui/editor_fixture.h"
#include "gui/editor/model_window.h"
#include "gui/plot/painter_surface.h"
#include "gui/plot/plot_widgets.h"
#include "gui/ui/grid.h"
#include "core/plot/chart.h"
#include "core/plot/plot_actions.h"
#include "support/gui/plot_fixture.h"

namespace tarn::gui {
namespace {

// The moves and lines drawn after each pen of the curves' width, in order.
struct DrawnCurve {
  Rgb colour;
  std::vector<QPoint> points;
};
std::vector<DrawnCurve> CurvesOf(const RecordingSurface& drawing) {
  std::vector<DrawnCurve> curves;
  bool inCurve = false;
  for (const RecordedCall& call : drawing.calls) {
    if (call.kind == CallKind::kPen) {
      inCurve = call.penWidth == 1;
      if (inCurve) curves.push_back(DrawnCurve{call.penColour, {}});
    } else if (call.kind == CallKind::kMove || call.kind == CallKind::kLine) {
      if (inCurve) curves.back().points.emplace_back(call.x, call.y);
    } else {
      inCurve = false;
    }
  }
  return curves;
}

// A point without a value (a zero on a log scale): no curve passes there.
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// X of point p for the window's X option, from the conditions and results.
double ExpectedX(const ProjectState& s, const SeriesResults& r, const PlotData& d, int p) {
  int n = r.npoints, j = d.xReagent;
  double f = n > 1 ? (p - 1.0) / (n - 1) : 0.0;
  double v = f * (s.vfinal - s.volume[0]);
  double total = 0;
  if (s.type == kTitration)
    total = (s.total(j, 0) + v * s.burette(j, 0)) / (s.volume[0] + v);
  else if (s.flag(j, 1))
    total = s.initial(j, 1) + f * (s.final(j, 1) - s.initial(j, 1));
  else
    total = r.totalCalc(p, j);
  switch (d.xChoice) {
    case kXVolume:
      return v;
    case kXPh:
      return r.pH(p);
    case kXFreeP:
      return r.speciesConc(j, p) > 0 ? -std::log10(r.speciesConc(j, p)) : kNoValue;
    case kXTotal:
      return total;
    default:
      return total > 0 ? std::log10(total) : kNoValue;  // a zero has no logarithm
  }
}

// Units of reagent R in species k, read from the model.
int Units(const ProjectState& s, int r, int k) {
  if (k <= s.nreag) return k == r ? 1 : 0;
  if (k <= s.nsoluble) return s.a(r, k - s.nreag);
  return s.sa(r, k - s.nsoluble);
}

double ExpectedY(const ProjectState& s, const SeriesResults& r, const PlotData& d, int p, int k) {
  double c = r.speciesConc(k, p);
  switch (s.plot.yChoice) {
    case kYPercent: {
      double total = r.totalCalc(p, d.reltoReagent);
      return total == 0 ? 0 : 100 * Units(s, d.reltoReagent, k) * c / total;
    }
    case kYLog:
      return c > 0 ? std::log10(c) : kNoValue;
    default:
      return c;
  }
}

// Every marked species is drawn in its colour through every point that lies
// in the plot, in order, and nowhere outside it (a curve leaving the plot is
// cut at its edge).
void ExpectCurvesDrawn(OpenPlot& o, const std::string& what) {
  const ProjectState& s = o.State();
  const PlotData& d = o.plot->Data();
  const ChartState& chart = o.plot->Chart();
  auto inside = [&chart](QPoint at, int slack) {
    return at.x() >= chart.plotLeft - slack && at.x() <= chart.plotRight + slack && at.y() >= chart.plotTop - slack &&
           at.y() <= chart.plotBottom + slack;
  };
  std::vector<DrawnCurve> curves = CurvesOf(o.drawing);
  std::size_t c = 0;
  for (int k = 1; k <= s.ntotal(); ++k) {
    if (s.plotMark(k) != 1) continue;
    ASSERT_LT(c, curves.size()) << what << " species " << k;
    const DrawnCurve& curve = curves[c++];
    EXPECT_EQ(curve.colour, o.plot->View().blackWhite ? kBlack : s.curveColours[(k - 1) % 17 + 1]) << what;
    std::vector<QPoint> expected;
    for (int p = 1; p <= s.npoints; ++p) {
      const double x = ExpectedX(s, o.Results(), d, p), y = ExpectedY(s, o.Results(), d, p, k);
      if (std::isnan(x) || std::isnan(y)) continue;  // a gap
      QPoint at(MapX(chart, x), MapY(chart, y));
      if (inside(at, -1)) expected.push_back(at);
    }
    std::size_t found = 0;
    for (QPoint at : curve.points) {
      ASSERT_TRUE(inside(at, 0)) << what << " k " << k << " at " << at.x() << "," << at.y() << " rect "
                                 << chart.plotLeft << "," << chart.plotTop << "," << chart.plotRight << ","
                                 << chart.plotBottom;
      if (found < expected.size() && (at - expected[found]).manhattanLength() <= 2) ++found;
    }
    EXPECT_EQ(found, expected.size()) << what << " species " << k;
  }
}

TEST(GraphFormTest, EverySampleDrawsItsCurvesForEveryXAndYOption) {
  for (const char* sample : kSamples) {
    OpenPlot o(sample);
    ASSERT_NE(o.plot, nullptr) << sample;
    EXPECT_TRUE(o.main->Children().IsOpen(kPlotWindow));
    EXPECT_TRUE(o.main->Children().IsOpen(kEditorWindow));
    EXPECT_EQ(o.plot->windowTitle(), "Speciation plots");
    int drawings = 0;
    for (int x = 0; x < 5; ++x) {
      auto* xOption = o.Find<QRadioButton>(("Xchoice" + std::to_string(x)).c_str());
      if (!xOption->isEnabled()) continue;
      xOption->click();
      for (int y = 0; y < 3; ++y) {
        auto* yOption = o.Find<QRadioButton>(("Ychoice" + std::to_string(y)).c_str());
        if (!yOption->isEnabled()) continue;
        yOption->click();
        EXPECT_EQ(o.plot->Data().xChoice, x);
        EXPECT_EQ(o.State().plot.yChoice, y);
        ExpectCurvesDrawn(o, std::string(sample) + " x" + std::to_string(x) + " y" + std::to_string(y));
        ++drawings;
      }
    }
    EXPECT_GE(drawings, 2) << sample;
  }
}

TEST(GraphFormTest, TogglingASpeciesUnderConcentrationRescalesToItsLargestSolubleConcentration) {
  OpenPlot o("copper-glycine-distribution.cld");
  ASSERT_NE(o.plot, nullptr);
  o.Find<QRadioButton>("Ychoice2")->click();
  const ProjectState& s = o.State();
  auto largest = [&] {
    double most = 0;
    for (int k = 1; k <= s.nsoluble; ++k)
      for (int p = 1; p <= s.npoints && s.plotMark(k) == 1; ++p) most = std::max(most, o.Results().speciesConc(k, p));
    return 1.01 * most;
  };
  EXPECT_EQ(s.plotMark(3), 0);  // "H" is left out of the concentrations
  EXPECT_FLOAT_EQ(s.plot.yUpper[kYConcentration], largest());
  for (int k : {2, 4, 2}) {  // Gly, HGly off, then Gly back on
    o.plot->PlotGrid_Click(k, 0);
    EXPECT_FLOAT_EQ(s.plot.yUpper[kYConcentration], largest()) << k;
    EXPECT_EQ(o.plot->Data().ymax, s.plot.yUpper[kYConcentration]);  // and it was redrawn so
  }
  ExpectCurvesDrawn(o, "after toggling");
}

TEST(GraphFormTest, ALogLimitAtOrBeyondTheOtherIsRefusedAndTheListGoesBack) {
  OpenPlot o("phosphoric-acid.cld");
  ASSERT_NE(o.plot, nullptr);
  o.Find<QRadioButton>("Ychoice1")->click();
  auto* bottom = o.Find<QComboBox>("MinLogValue");
  auto* top = o.Find<QComboBox>("MaxLogValue");
  EXPECT_TRUE(bottom->isEnabled());
  EXPECT_EQ(bottom->currentText(), "-12");  // the settings' positions 13 and 3
  EXPECT_EQ(top->currentText(), "-2");
  std::string ini = SettingsPath(o.main->GetSession().programFolder);
  // Lower to -30, accepted and kept in the settings file.
  o.plot->MinLogValue_Click(19);
  EXPECT_EQ(o.State().plot.yLower[kYLog], -30);
  EXPECT_EQ(ReadSettingsFile(ini, Settings{}).miny, 19);
  EXPECT_EQ(o.plot->Data().ymin, -30);
  // Upper to -50, below the lower: refused, back to -2.
  o.plot->MaxLogValue_Click(18);
  EXPECT_EQ(top->currentText(), "-2");
  EXPECT_EQ(o.State().plot.yUpper[kYLog], -2);
  EXPECT_EQ(ReadSettingsFile(ini, Settings{}).maxy, 3);
  // Lower equal to the upper (-2): refused too.
  o.plot->MinLogValue_Click(3);
  EXPECT_EQ(bottom->currentText(), "-30");
  EXPECT_EQ(o.State().plot.yLower[kYLog], -30);
}

TEST(GraphFormTest, AClickBesideThePlotSetsALimitAndItsMarkerResetsIt) {
  OpenPlot o("copper-glycine-titration.cld");
  ASSERT_NE(o.plot, nullptr);
  ChartState chart = o.plot->Chart();
  auto* up = o.Find<QWidget>("Up");
  auto* down = o.Find<QWidget>("down");
  EXPECT_TRUE(up->isHidden() && down->isHidden());
  // Left of the plot, just above the bottom edge.
  QTest::mouseClick(&o.Box(), Qt::LeftButton, {}, QPoint(chart.plotLeft - 20, chart.plotBottom - 10));
  double lower = (chart.plotBottom - 10 - chart.yOffset) / chart.yScale;
  EXPECT_NEAR(o.State().plot.yLower[0], lower, 1e-4);
  EXPECT_FALSE(down->isHidden());
  EXPECT_NEAR(o.plot->Data().ymin, lower, 1e-4);
  // Right of the plot above the top, with the other button: the top rises.
  QTest::mouseClick(&o.Box(), Qt::RightButton, {}, QPoint(chart.plotRight + 20, chart.plotTop - 10));
  EXPECT_GT(o.State().plot.yUpper[0], 100);
  EXPECT_FALSE(up->isHidden());
  // The markers put them back.
  QTest::mouseClick(down, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(o.State().plot.yLower[0], 0);
  EXPECT_GT(o.State().plot.yUpper[0], 100);  // a click on a marker is no click beside the plot
  QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(o.State().plot.yLower[0], 0);
  EXPECT_EQ(o.State().plot.yUpper[0], 100);
  EXPECT_TRUE(up->isHidden() && down->isHidden());
  // The read-out under the pointer.
  QPoint inside(MapX(o.plot->Chart(), 1.0), MapY(o.plot->Chart(), 50));
  QTest::mouseMove(&o.Box(), inside);
  o.plot->DisplayBox_MouseMove(inside);
  auto* readout = o.Find<QLabel>("CursorPos");
  EXPECT_FALSE(readout->isHidden());
  EXPECT_EQ(readout->text().toStdString(), ReadoutText(o.plot->Chart(), inside.x(), inside.y()));
  EXPECT_TRUE(readout->text().startsWith("cursor at 1.0"));
  // It goes when the pointer leaves the box.
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&o.Box(), &leave);
  EXPECT_TRUE(readout->isHidden());
}

// Limits set by clicks cut the curves: they stop at the plot's edges instead
// of running over the frame and the title.
TEST(GraphFormTest, CurvesStayInsideThePlotWhenClickedLimitsCutThem) {
  OpenPlot o("copper-glycine-titration.cld");
  ASSERT_NE(o.plot, nullptr);
  ChartState chart = o.plot->Chart();
  const int quarter = (chart.plotBottom - chart.plotTop) / 4;
  QTest::mouseClick(&o.Box(), Qt::LeftButton, {}, QPoint(chart.plotRight + 20, chart.plotTop + quarter));
  QTest::mouseClick(&o.Box(), Qt::LeftButton, {}, QPoint(chart.plotLeft - 20, chart.plotBottom - quarter));
  EXPECT_LT(o.State().plot.yUpper[kYPercent], 80);
  EXPECT_GT(o.State().plot.yLower[kYPercent], 10);
  o.drawing.Clear();
  o.plot->PlotCurves();
  const ChartState& now = o.plot->Chart();
  int curves = 0;
  for (const RecordedCall& line : o.drawing.Lines()) {
    if (line.penColour == kBlack) continue;  // the axes
    ++curves;
    for (auto [x, y] : {std::pair{line.x0, line.y0}, std::pair{line.x, line.y}}) {
      EXPECT_TRUE(x >= now.plotLeft && x <= now.plotRight && y >= now.plotTop && y <= now.plotBottom) << x << "," << y;
    }
  }
  EXPECT_GT(curves, 0);
  test::SaveScreenshot(*o.main, QStringLiteral("plot-limits-clipped"));
}

// A reagent renamed in the editor reaches every list and label of the open
// plot that names it, and its axis titles.
TEST(GraphFormTest, ARenamedReagentReachesThePlotsListsAndLabels) {
  OpenPlot o("copper-glycine-distribution.cld");
  ASSERT_NE(o.plot, nullptr);
  auto* editor = qobject_cast<T32Model*>(o.main->Children().Widget(kEditorWindow));
  ASSERT_NE(editor, nullptr);
  const int before = o.Find<QLabel>("BetaChosen")->pixmap().width();  // GlyH
  test::TypeInto(editor->BetaGrid(), editor->EditA(), 0, 2, "Copper");
  test::TypeInto(editor->BetaGrid(), editor->EditA(), 0, 3, "Glycinate");
  auto* relto = o.Find<QComboBox>("Relto");
  EXPECT_EQ(relto->itemText(0), "Copper");
  EXPECT_EQ(relto->itemText(1), "Glycinate");
  EXPECT_EQ(relto->currentText(), "Copper");
  EXPECT_EQ(o.Find<QLabel>("LabelReagent")->text(), "Copper");
  EXPECT_EQ(o.Find<QLabel>("BetaChosen")->pixmap().width(), FormulaWidth("GlycinateH"));
  EXPECT_GT(o.Find<QLabel>("BetaChosen")->pixmap().width(), before);
  EXPECT_EQ(o.drawing.TextsOf("% formation relative to Copper").size(), 1u);
  // The species list shows every formula whole, sub- and superscripts clear
  // of the row lines; so does the constant's label.
  Grid& list = *o.Find<Grid>("PlotGrid");
  test::ExpectEveryPictureWhole(list);
  for (int k = 1; k < list.Rows(); ++k) EXPECT_GE(list.RowHeightPixels(k), kFormulaPictureHeight + 4) << k;
  auto* chosen = o.Find<QLabel>("BetaChosen");
  EXPECT_GE(chosen->contentsRect().width(), chosen->pixmap().width());
  test::SaveScreenshot(*o.main, QStringLiteral("plot-renamed-reagents"));
}

TEST(GraphFormTest, AClickOnACurvePlacesItsLabelWhichCanBeDraggedAndNudged) {
  OpenPlot o("copper-glycine-titration.cld");
  ASSERT_NE(o.plot, nullptr);
  ProjectState& s = o.State();
  int cuGly = o.Species("CuGly");
  ASSERT_GT(cuGly, s.nreag);
  QPoint on = o.ClickOnCurve(cuGly, s.npoints * 3 / 4, 2);
  FloatingLabel* label = o.plot->Label(cuGly);
  ASSERT_TRUE(o.plot->LabelShown(cuGly));
  EXPECT_NEAR(label->geometry().center().x(), on.x(), 2);
  EXPECT_NEAR(label->geometry().center().y(), on.y() + 2, 2);
  PlotRect rect = RectOf(o.plot->Chart());
  EXPECT_NEAR(s.speciesInfo(0, cuGly), double(on.x() - rect.left) / (rect.right - rect.left), 0.01);
  // Its constant comes to the scroll panel.
  EXPECT_EQ(o.plot->Target().constant, cuGly - s.nreag);
  EXPECT_EQ(o.Find<QLabel>("BetaValue0")->text(), "8.19");

  // Dragged by 30 pixels right and 20 up, then nudged left and down.
  QPoint grab(3, 5);
  QPoint start = label->pos();
  QTest::mousePress(label, Qt::LeftButton, {}, grab);
  QMouseEvent moveEvent(QEvent::MouseMove, QPointF(grab + QPoint(30, -20)),
                        label->mapToGlobal(QPointF(grab + QPoint(30, -20))), Qt::NoButton, Qt::LeftButton,
                        Qt::NoModifier);
  QApplication::sendEvent(label, &moveEvent);
  QTest::mouseRelease(label, Qt::LeftButton, {}, grab);  // the label has moved under the pointer
  EXPECT_EQ(label->pos(), start + QPoint(30, -20));
  QTest::keyClick(label, Qt::Key_Left);
  QTest::keyClick(label, Qt::Key_Down);
  EXPECT_EQ(label->pos(), start + QPoint(29, -19));
  double fx = (label->x() + label->width() / 2.0 - rect.left) / (rect.right - rect.left);
  EXPECT_NEAR(s.speciesInfo(0, cuGly), fx, 1e-9);
  // A redraw puts it where it was stored; a new X option hides it.
  o.plot->PlotCurves();
  EXPECT_NEAR(label->x(), start.x() + 29, 1);
  o.Find<QRadioButton>("Xchoice1")->click();
  EXPECT_FALSE(o.plot->LabelShown(cuGly));
  EXPECT_EQ(s.speciesInfo(0, cuGly), 0);
}

TEST(GraphFormTest, OneSmallStepOfTheConstantBarRecalculatesAndTheBarReturnsToZero) {
  OpenPlot o("copper-glycine-distribution.cld");
  ASSERT_NE(o.plot, nullptr);
  ProjectState& s = o.State();
  edit::SetLogBeta(o.main->GetSession().edits, 1, 10.0);  // the plot recalculates and shows the value
  EXPECT_EQ(o.Find<QLabel>("BetaValue0")->text(), "10.0");
  s.modified = false;
  double before = o.Results().speciesConc(s.nreag + 1, 40);
  auto* bar = o.Find<QScrollBar>("BetaScroll0");
  o.drawing.Clear();
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_DOUBLE_EQ(s.logbeta(1), 10.01);
  EXPECT_EQ(o.Find<QLabel>("BetaValue0")->text(), "10.01");
  EXPECT_EQ(bar->value(), 0);
  EXPECT_TRUE(s.modified);
  EXPECT_FALSE(s.recalc);
  EXPECT_GT(o.Results().speciesConc(s.nreag + 1, 40), before);  // a stronger complex, recalculated
  ExpectCurvesDrawn(o, "after the step");

  // The condition bar: ten per cent more copper with a large step. The
  // editor stays on the page the user watches and shows the new value; a
  // table of the old results goes.
  auto* editor = qobject_cast<T32Model*>(o.main->Children().Widget(kEditorWindow));
  ASSERT_NE(editor, nullptr);
  editor->ShowPage(kConditionsPage);
  o.main->calc_Click(kCalcTable);
  ASSERT_TRUE(o.main->Children().IsOpen(kTableWindow));
  double copper = s.initial(1, kDistribution);
  o.Find<QScrollBar>("BetaScroll1")->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_NEAR(s.initial(1, kDistribution), copper * 1.1, 1e-12);
  EXPECT_EQ(o.Find<QLabel>("BetaValue1")->text(), "0.0011");
  EXPECT_EQ(editor->CondGrid().Text(1, 1), "0.0011");
  EXPECT_TRUE(editor->findChild<QWidget*>("CondGrid")->isVisible());
  EXPECT_FALSE(o.main->Children().IsOpen(kTableWindow));
}

// A replot whose conditions are refused draws nothing rather than the old
// curves under the changed model.
TEST(GraphFormTest, RefusedConditionsLeaveThePlotEmpty) {
  OpenPlot o("phosphoric-acid.cld");
  ASSERT_NE(o.plot, nullptr);
  ProjectState& s = o.State();
  s.pxi(s.proton, kDistribution) = s.pxf(s.proton, kDistribution) = 0;
  s.flag(s.proton, kDistribution) = true;
  s.initial(s.proton, kDistribution) = s.final(s.proton, kDistribution) = 0;
  for (int j = 1; j <= s.nreag; ++j) s.initial(j, kDistribution) = s.final(j, kDistribution) = 0;
  s.recalc = true;
  auto refused = test::AnswerMessageBox(QMessageBox::Ok);
  o.plot->Replot_Click();
  EXPECT_TRUE(refused->seen);
  EXPECT_TRUE(o.drawing.Lines().empty());
}

TEST(GraphFormTest, PopupListsChooseTheConstantTheReagentAndTheCondition) {
  OpenPlot o("copper-glycine-distribution.cld");
  ASSERT_NE(o.plot, nullptr);
  ProjectState& s = o.State();
  auto* species = o.Find<PopupListBox>("SpeciesList");
  o.plot->BetaChosen_Click();
  ASSERT_FALSE(species->isHidden());
  EXPECT_EQ(species->count(), s.nspecies);
  QTest::keyClick(species, Qt::Key_Down);
  QTest::keyClick(species, Qt::Key_Down);
  QTest::keyClick(species, Qt::Key_Return);
  EXPECT_TRUE(species->isHidden());
  EXPECT_EQ(o.plot->Target().constant, 3);
  EXPECT_EQ(o.Find<QLabel>("BetaValue0")->text(), "8.19");

  auto* reagents = o.Find<PopupListBox>("ReagentList");
  o.plot->LabelReagent_Click();
  QTest::keyClick(reagents, Qt::Key_Down);
  QTest::keyClick(reagents, Qt::Key_Escape);  // Esc keeps the reagent it had
  EXPECT_EQ(o.plot->Target().reagent, 1);
  o.plot->LabelReagent_Click();
  QTest::keyClick(reagents, Qt::Key_End);
  QTest::keyClick(reagents, Qt::Key_Enter);
  EXPECT_EQ(o.plot->Target().reagent, 3);
  EXPECT_EQ(o.Find<QLabel>("LabelReagent")->text(), "H");

  auto* conditions = o.Find<PopupListBox>("CondList");
  o.plot->LabelConc_Click();
  ASSERT_EQ(conditions->count(), 4);
  QTest::keyClick(conditions, Qt::Key_End);
  QTest::keyClick(conditions, Qt::Key_Return);
  EXPECT_EQ(o.Find<QLabel>("LabelConc")->text(), "Final pX");
  EXPECT_EQ(o.Find<QLabel>("BetaValue1")->text(), "10.0");
  EXPECT_FALSE(s.flag(3, kDistribution));  // choosing changes no condition
}

TEST(GraphFormTest, TheCaptionEditorRenamesAndRecoloursASpecies) {
  OpenPlot o("copper-glycine-titration.cld");
  ASSERT_NE(o.plot, nullptr);
  ProjectState& s = o.State();
  s.modified = false;
  auto* grid = o.Find<Grid>("PlotGrid");
  int narrow = grid->ColWidthTwips(1);
  o.plot->PlotGrid_Click(6, 1);
  auto* panel = o.Find<QWidget>("NamePanel");
  auto* edit = o.Find<QLineEdit>("EditA");
  ASSERT_FALSE(panel->isHidden());
  EXPECT_EQ(edit->text().toStdString(), s.caption(6));
  std::string old = s.caption(6);
  QTest::keyClicks(edit, "(glycinato)copper(II)");
  EXPECT_EQ(s.caption(6), old + "(glycinato)copper(II)");
  EXPECT_TRUE(s.modified);
  EXPECT_GT(grid->ColWidthTwips(1), narrow);
  EXPECT_GT(o.plot->Label(6)->width(), 100);
  test::ExpectEveryPictureWhole(*grid);  // the last character too
  edit->selectAll();
  QTest::keyClicks(edit, "HPO4^2-");
  test::ExpectEveryPictureWhole(*grid);
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(s.caption(6), old);
  EXPECT_TRUE(panel->isHidden());

  // F3: a new colour for its palette entry, used by the curve.
  o.plot->PlotGrid_Click(6, 1);
  test::AnswerModal([](QWidget* modal) {
    auto* dialog = qobject_cast<QColorDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Select curve colour");
    dialog->setCurrentColor(QColor(10, 200, 30));
    dialog->accept();
  });
  QTest::keyClick(edit, Qt::Key_F3);
  EXPECT_EQ(s.curveColours[6], (Rgb{10, 200, 30}));
  ExpectCurvesDrawn(o, "recoloured");
  // Cancelling changes nothing.
  test::AnswerModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  QTest::keyClick(edit, Qt::Key_F3);
  EXPECT_EQ(s.curveColours[6], (Rgb{10, 200, 30}));
}

// Values typed in the editor reach the open plot at once: recalculated, the
// constant shown, and the editor keeps its place for the next key. So do a
// new caption and "Calculate"; after a change of the calculation type the
// window is made anew and shows the new type's curves at once, or none when
// the new type's conditions are refused.
TEST(GraphFormTest, ValuesTypedInTheEditorAndTheMainWindowsChangesReachTheOpenPlot) {
  OpenPlot o("copper-glycine-distribution.cld");
  ASSERT_NE(o.plot, nullptr);
  auto* editor = qobject_cast<T32Model*>(o.main->Children().Widget(kEditorWindow));
  ASSERT_NE(editor, nullptr);
  ProjectState& s = o.State();
  o.drawing.Clear();
  test::TypeInto(editor->BetaGrid(), editor->EditA(), 1, 1, "9.9");
  EXPECT_EQ(s.logbeta(1), 9.9f);
  EXPECT_FALSE(s.recalc);
  ExpectCurvesDrawn(o, "log beta typed");
  EXPECT_EQ(o.Find<QLabel>("BetaValue0")->text(), "9.9");
  EXPECT_EQ(editor->BetaGrid().Row(), 1);
  EXPECT_EQ(editor->BetaGrid().Col(), 1);

  o.drawing.Clear();
  editor->ShowPage(kConditionsPage);
  test::TypeInto(editor->CondGrid(), editor->EditB(), 1, 2, "0.002");
  EXPECT_EQ(s.final(1, kDistribution), 0.002f);
  EXPECT_FALSE(s.recalc);
  ExpectCurvesDrawn(o, "final concentration typed");
  EXPECT_EQ(editor->CondGrid().Text(1, 2), "0.002");

  edit::SetCaption(o.main->GetSession().edits, s.nreag + 1, "HOOCCH2NH2");
  EXPECT_EQ(o.plot->Label(s.nreag + 1)->pixmap().width(), FormulaWidth("HOOCCH2NH2"));
  s.logbeta(1) -= 1;
  s.recalc = true;
  o.drawing.Clear();
  o.main->calc_Click(kCalcPlot);
  EXPECT_FALSE(s.recalc);
  ExpectCurvesDrawn(o, "calculated again");

  editor->TarnOption_MouseUp(kTitration);
  auto* titration = qobject_cast<GraphForm*>(o.main->Children().Widget(kPlotWindow));
  ASSERT_NE(titration, nullptr);
  EXPECT_FALSE(s.recalc);
  EXPECT_EQ(o.main->GetSession().results.ifail, kSuccess);
  o.plot = titration;
  o.plot->RecordDrawingTo(&o.drawing);
  o.drawing.Clear();
  o.plot->PlotCurves();
  EXPECT_EQ(o.plot->Data().xChoice, kXVolume);
  ExpectCurvesDrawn(o, "titration after the switch");
  test::SaveScreenshot(*o.main, "plot-after-type-switch");

  // Back to the distribution with conditions it refuses: the message, no old curves.
  s.final(1, kDistribution) = s.initial(1, kDistribution);  // typed above
  s.pxf(3, kDistribution) = s.pxi(3, kDistribution);
  auto refused = test::AnswerMessageBox(QMessageBox::Ok);
  editor->TarnOption_MouseUp(kDistribution);
  EXPECT_TRUE(refused->text.contains("equal"));
  auto* empty = qobject_cast<GraphForm*>(o.main->Children().Widget(kPlotWindow));
  ASSERT_NE(empty, nullptr);
  RecordingSurface stale;
  empty->RecordDrawingTo(&stale);
  empty->PlotCurves();
  EXPECT_TRUE(stale.Lines().empty());
  empty->RecordDrawingTo(nullptr);
}

// A precipitation titration (silver nitrate into chloride with chromate):
// the project stays a titration when its editor opens, its solids are in the
// species list and drawn, the table holds their amounts, and both appear at
// the points the chemistry puts them.
TEST(GraphFormTest, APrecipitationTitrationShowsItsSolids) {
  OpenPlot o("silver-chloride-chromate.cld");
  ASSERT_NE(o.plot, nullptr);
  EXPECT_EQ(o.State().type, kTitration);
  EXPECT_FALSE(o.State().modified);
  const int chloride = o.Species("AgCl(s)"), chromate = o.Species("Ag2CrO4(s)");
  o.Find<QRadioButton>("Ychoice1")->click();  // log concentrations
  EXPECT_EQ(o.State().plotMark(chloride), 1);
  EXPECT_EQ(o.State().plotMark(chromate), 1);
  ExpectCurvesDrawn(o, "log concentrations");
  const SeriesResults& r = o.Results();
  EXPECT_GT(r.speciesConc(chloride, 2), 0);
  EXPECT_EQ(r.speciesConc(chromate, 2), 0);
  EXPECT_GT(r.speciesConc(chromate, r.npoints), 0);
  test::SaveScreenshot(*o.main, "plot-precipitation-titration");
  o.main->calc_Click(kCalcTable);
  QApplication::processEvents();
  ASSERT_TRUE(o.main->Children().IsOpen(kTableWindow));
  test::SaveScreenshot(*o.main, "table-precipitation-titration");
}

}  // namespace
}  // namespace tarn::gui

namespace tarn::gui {
namespace {

// With an activity correction chosen, the right-hand axis can show the ionic
// strength of every point (instead of the pH), and the read-out under the
// pointer gives the point's ionic strength and both pHs.
TEST(GraphFormTest, TheIonicStrengthOnTheSecondAxisAndInTheReadout) {
  OpenPlot o("copper-glycine-distribution.cld");
  ASSERT_NE(o.plot, nullptr);
  auto* strength = o.Find<QCheckBox>("StrengthChoice");
  EXPECT_FALSE(strength->isEnabled());  // no correction yet
  ActivitySettings real = o.State().activity;
  real.correction = ActivityCorrection::kDavies;
  real.charge(1) = 2;   // Cu
  real.charge(2) = -1;  // Gly
  real.charge(3) = 1;   // H
  ASSERT_NE(edit::SetActivity(o.main->GetSession().edits, real, "activity correction"), Change::kNone);
  ASSERT_TRUE(o.Results().activity);  // the open plot calculated with it at once
  EXPECT_TRUE(strength->isEnabled());

  o.drawing.Clear();
  o.plot->StrengthChoice_Click(true);
  EXPECT_FALSE(o.Find<QCheckBox>("pHchoice")->isChecked());
  EXPECT_EQ(o.drawing.TextsOf("I").size(), 1u);   // the axis title
  EXPECT_TRUE(o.drawing.TextsOf("pH").size() == 1u);  // the X axis's title only
  EXPECT_EQ(o.State().caption(0), "I");
  test::SaveScreenshot(*o.main, "plot-ionic-strength-axis");

  const int p = 40;
  QPoint at(MapX(o.plot->Chart(), o.plot->Data().plotX(p)), MapY(o.plot->Chart(), 50));
  o.plot->DisplayBox_MouseMove(at);
  const std::string readout = o.Find<QLabel>("CursorPos")->text().toStdString();
  const int nearest = NearestPoint(o.plot->Chart(), o.plot->Data(), o.State().npoints, at.x(), o.Box().width());
  EXPECT_EQ(readout, ReadoutText(o.plot->Chart(), at.x(), at.y()) +
                         ActivityReadout(o.State(), o.Results(), nearest));
  EXPECT_NE(readout.find("; I = "), std::string::npos);
  EXPECT_NE(readout.find("-log a(H) "), std::string::npos);

  o.plot->pHchoice_Click(true);  // one axis at a time
  EXPECT_FALSE(strength->isChecked());
  EXPECT_EQ(o.State().caption(0), "pH");
}

}  // namespace
}  // namespace tarn::gui
