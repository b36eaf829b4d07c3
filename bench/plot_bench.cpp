// tarn-plot-bench: the speciation plot window's response to one step of its
// constant scroll bar: the step, the recalculation of the 1201-point series
// and the full redraw of the plot (offscreen, into the plot box's picture),
// for every sample project. Also the two halves alone: the series, and the
// drawing of the screen plot on a QImage through the QPainter surface.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/engine/new_concentrations.h"
#include "gui/app/session.h"
#include "gui/plot/graph_form.h"
#include "gui/plot/painter_surface.h"
#include "core/model/message_sink.h"
#include "core/model/project_file.h"
#include "core/plot/plot_drawing.h"

namespace {

using tarn::gui::GraphForm;
using tarn::gui::Session;

constexpr int kPoints = 1201;
constexpr int kWindowWidth = 980;  // the plot box is then about 560 x 560 pixels
constexpr int kWindowHeight = 700;

const char* const kSamples[] = {
    "calcium-carbonate.cld",        "calcium-edta.cld",   "copper-ammonia.cld", "copper-glycine-distribution.cld",
    "copper-glycine-titration.cld", "iron-hydroxide.cld", "phosphoric-acid.cld", "silver-chloride-chromate.cld"};

// The sample read and calculated at 1201 points; false when it cannot be.
bool LoadSample(Session& session, const std::string& name) {
  std::string text;
  tarn::RecordingSink sink;
  if (!tarn::ReadTextFile(std::string(TARN_SOURCE_DIR) + "/samples/" + name, text)) return false;
  if (tarn::ReadProjectText(session.project, text, sink) != tarn::ReadStatus::kOk) return false;
  session.project.npoints = kPoints;
  return tarn::CalculatePoints(session.project, session.work, session.results, sink) == tarn::kSuccess;
}

// One step up, then one down, so the model stays where it was; each step
// recalculates, redraws the plot box's picture and paints the box.
void BM_ScrollStepRecalculateRedraw(benchmark::State& bm, const char* sample) {
  Session session;
  if (!LoadSample(session, sample)) {
    bm.SkipWithError("the sample cannot be calculated");
    return;
  }
  auto plot = std::make_unique<GraphForm>(session, nullptr);
  plot->resize(kWindowWidth, kWindowHeight);
  plot->show();
  QApplication::processEvents();
  auto* bar = plot->findChild<QScrollBar*>(QStringLiteral("BetaScroll0"));
  auto* box = plot->findChild<QWidget*>(QStringLiteral("DisplayBox"));
  if (box == nullptr || box->width() < 400 || box->height() < 400) {
    bm.SkipWithError("the plot box was not laid out");
    return;
  }
  bm.counters["box px"] = box->width();
  bool up = true;
  for (auto _ : bm) {
    bar->triggerAction(up ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
    up = !up;
    box->repaint();  // the picture onto the screen, at once
    if (session.results.ifail != tarn::kSuccess || !plot->Drawn()) bm.SkipWithError("the step did not redraw");
  }
}

void BM_SeriesOnly(benchmark::State& bm, const char* sample) {
  Session session;
  if (!LoadSample(session, sample)) {
    bm.SkipWithError("the sample cannot be calculated");
    return;
  }
  tarn::RecordingSink sink;
  for (auto _ : bm) tarn::CalculatePoints(session.project, session.work, session.results, sink);
}

void BM_DrawOnly(benchmark::State& bm, const char* sample) {
  Session session;
  if (!LoadSample(session, sample)) {
    bm.SkipWithError("the sample cannot be calculated");
    return;
  }
  tarn::SetPlotit(session.project, 1);
  tarn::PlotData data;
  tarn::PlotView view;
  tarn::ChartState chart;
  QImage picture(560, 560, QImage::Format_RGB32);
  for (auto _ : bm) {
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    tarn::gui::PainterSurface surface(painter);
    tarn::DrawScreenPlot(surface, chart, session.project, session.results, data, view, 560, 560);
  }
}

void RegisterAll() {
  for (const char* sample : kSamples) {
    std::string name(sample);
    name = name.substr(0, name.size() - 4);
    benchmark::RegisterBenchmark(("Step/" + name).c_str(), BM_ScrollStepRecalculateRedraw, sample)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Series/" + name).c_str(), BM_SeriesOnly, sample)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Draw/" + name).c_str(), BM_DrawOnly, sample)->Unit(benchmark::kMillisecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
