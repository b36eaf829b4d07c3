#include "gui/plot/plot_copy.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <cmath>

#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

constexpr double kMillimetresPerUnit = 0.1;

QImage RenderSvg(const QByteArray& svg, QSize size) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QSvgRenderer renderer(svg);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  return image;
}

bool WritePdf(const PlotCopy& copy, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  {
    QPdfWriter pdf(&file);
    pdf.setResolution(kCopyUnitsPerInch);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(
        QPageSize(QSizeF(copy.width * kMillimetresPerUnit, copy.height * kMillimetresPerUnit), QPageSize::Millimeter));
    pdf.setTitle(QStringLiteral("Speciation plot"));
    QPainter painter(&pdf);
    QSvgRenderer renderer(copy.svg);
    renderer.render(&painter, QRectF(0, 0, copy.width, copy.height));
  }
  return file.commit();
}

bool WriteBytes(const QByteArray& bytes, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) return false;
  return file.commit();
}

bool WritePng(const PlotCopy& copy, const QString& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!CopyImage(copy).save(&buffer, "PNG")) return false;
  return WriteBytes(bytes, path);
}

}  // namespace

PlotCopy MakePlotCopy(ProjectState& state, const SeriesResults& results, PlotData& data, const PlotView& view,
                      const std::vector<bool>& labelVisible, double aspect) {
  PlotCopy copy;
  copy.width = kCopyWidth;
  copy.height = CopyHeight(aspect);
  QBuffer buffer(&copy.svg);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(kCopyUnitsPerInch);
  generator.setSize(QSize(copy.width, copy.height));
  generator.setViewBox(QRect(0, 0, copy.width, copy.height));
  generator.setTitle(QStringLiteral("Speciation plot"));
  generator.setDescription(ToQ(state.title));
  {
    QPainter painter(&generator);
    FlippedSurface surface(painter, copy.height);
    ChartState chart;
    DrawCopy(surface, chart, state, results, data, view, labelVisible, aspect);
    copy.plot = RectOf(chart);
  }
  return copy;
}

QImage CopyImage(const PlotCopy& copy) {
  double pixelsPerUnit = static_cast<double>(kCopyImageDpi) / kCopyUnitsPerInch;
  QSize size(static_cast<int>(std::lround(copy.width * pixelsPerUnit)),
             static_cast<int>(std::lround(copy.height * pixelsPerUnit)));
  QImage image = RenderSvg(copy.svg, size);
  constexpr double kInchesPerMetre = 39.37007874;
  image.setDotsPerMeterX(static_cast<int>(std::lround(kCopyImageDpi * kInchesPerMetre)));
  image.setDotsPerMeterY(static_cast<int>(std::lround(kCopyImageDpi * kInchesPerMetre)));
  return image;
}

bool SavePlotCopy(const PlotCopy& copy, const std::string& path) {
  QString file = ToQ(path);
  QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == QLatin1String("svg")) return WriteBytes(copy.svg, file);
  if (suffix == QLatin1String("pdf")) return WritePdf(copy, file);
  if (suffix == QLatin1String("png")) return WritePng(copy, file);
  return false;
}

}  // namespace tarn::gui
