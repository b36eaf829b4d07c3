#include "gui/kapp/kapp_views.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/plot/painter_surface.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/kapp/kapp_plot.h"

namespace tarn::gui {

namespace {

// The fraction in the view's own units (pixels), plain text with its top at
// the given height: the numerator at (40, 0), "Kapp=" at (8, 13), the
// denominator at (40, 24); the line at y 20 reaching 4 beyond the wider text.
constexpr int kMargin = 4;
constexpr int kTextLeft = 40;
constexpr int kLabelLeft = 8;
constexpr int kNumeratorTop = 0;
constexpr int kLabelTop = 13;
constexpr int kDenominatorTop = 24;
constexpr int kLineY = 20;
constexpr int kViewHeight = 44;

double PlainWidth(const std::string& text) {
  return QFontMetricsF(ArialFont(FontSpec{})).horizontalAdvance(ToQ(text));
}

}  // namespace

ExpressionView::ExpressionView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Expression"));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  setMinimumHeight(kViewHeight);
}

void ExpressionView::SetTexts(const std::array<std::string, 2>& texts) {
  texts_ = texts;
  updateGeometry();
  update();
}

QSize ExpressionView::sizeHint() const {
  const double wider = std::max(PlainWidth(texts_[0] + " "), PlainWidth(texts_[1]));
  return {kTextLeft + static_cast<int>(std::ceil(wider)) + 2 * kMargin + 4, kViewHeight};
}

void ExpressionView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(kMargin, kMargin / 2);
  PainterSurface surface(painter);
  surface.SelectPen(1, kBlack);
  surface.SetTextColour(kBlack);
  surface.SelectFont(FontSpec{});
  const std::string numerator = texts_[0] + " ";
  surface.TextOut(kTextLeft, kNumeratorTop, TextAlign::kLeft, TextAnchor::kTop, false, numerator);
  surface.TextOut(kLabelLeft - kMargin, kLabelTop, TextAlign::kLeft, TextAnchor::kTop, false, "Kapp=");
  surface.TextOut(kTextLeft, kDenominatorTop, TextAlign::kLeft, TextAnchor::kTop, false, texts_[1]);
  const double wider = std::max(surface.TextWidth(numerator), surface.TextWidth(texts_[1]));
  surface.MoveTo(kTextLeft, kLineY);
  surface.LineTo(kTextLeft + static_cast<int>(std::ceil(wider)) + 4, kLineY);
}

PlotKappView::PlotKappView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PlotKapp"));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
}

void PlotKappView::Plot(const KappPlotSetup& setup, const KappAxis& axis, const KappValues& values) {
  setup_ = setup;
  axis_ = axis;
  values_ = values;
  update();
}

void PlotKappView::Clear() {
  setup_.reset();
  update();
}

void PlotKappView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!setup_) return;
  PainterSurface surface(painter);
  DrawKappPlot(surface, width(), height(), *setup_, axis_, values_, TwipsPerPixelX());
}

PopupList::PopupList(QWidget* parent, bool confirmOnKey) : QListWidget(parent), confirmOnKey_(confirmOnKey) {
  hide();
  if (!confirmOnKey_)
    connect(this, &QListWidget::itemPressed, this, [this](QListWidgetItem* item) { emit Chosen(row(item)); });
}

void PopupList::keyPressEvent(QKeyEvent* event) {
  if (confirmOnKey_) {
    emit Confirmed();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (currentRow() >= 0) emit Chosen(currentRow());
      return;
    case Qt::Key_Escape:
      hide();
      return;
    default:
      QListWidget::keyPressEvent(event);
  }
}

void PopupList::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  hide();
}

}  // namespace tarn::gui
