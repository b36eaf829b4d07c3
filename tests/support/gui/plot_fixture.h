#pragma once
// A sample opened in the program, calculated with "Calculate" and shown in
// the plot window, for the plot window's tests.

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>

#include "gui/app/main_window.h"
#include "gui/plot/graph_form.h"
#include "core/plot/chart.h"
#include "core/plot/recording_surface.h"
#include "support/gui/app_fixture.h"

namespace tarn::gui {

inline const char* const kSamples[] = {
    "calcium-carbonate.cld", "calcium-edta.cld",    "copper-ammonia.cld",          "copper-glycine-distribution.cld",
    "copper-glycine-titration.cld", "iron-hydroxide.cld", "phosphoric-acid.cld", "silver-chloride-chromate.cld"};

// The window records its drawings in drawing.
struct OpenPlot {
  test::ProgramHome home;
  std::unique_ptr<T32Main> main;
  GraphForm* plot = nullptr;
  RecordingSurface drawing;

  explicit OpenPlot(const std::string& sample) {
    main = test::OpenSample(home, sample);
    main->show();
    main->resize(1280, 860);  // larger than the test screen, which the program keeps a shown window within
    main->calc_Click(kCalcPlot);
    QApplication::processEvents();
    plot = qobject_cast<GraphForm*>(main->Children().Widget(kPlotWindow));
    if (plot == nullptr) return;
    plot->RecordDrawingTo(&drawing);
    plot->PlotCurves();
  }
  ProjectState& State() { return main->GetSession().project; }
  const SeriesResults& Results() { return main->GetSession().results; }
  template <typename W>
  W* Find(const char* name) {
    return plot->findChild<W*>(QString::fromLatin1(name));
  }
  QWidget& Box() { return *Find<QWidget>("DisplayBox"); }
  int Species(const std::string& caption) {
    for (int k = 1; k <= State().ntotal(); ++k)
      if (State().caption(k) == caption) return k;
    ADD_FAILURE() << "no species " << caption;
    return 0;
  }
  // A click on the curve of species k at point p (dy pixels below it): puts its label there.
  QPoint ClickOnCurve(int k, int p, int dy = 0) {
    const ChartState& chart = plot->Chart();
    QPoint on(MapX(chart, plot->Data().plotX(p)), MapY(chart, plot->Data().plotY(p, k)));
    QTest::mouseClick(&Box(), Qt::LeftButton, {}, on + QPoint(0, dy));
    return on;
  }
};

}  // namespace tarn::gui
