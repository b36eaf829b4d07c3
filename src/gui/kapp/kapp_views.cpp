#include "gui/kapp/kapp_views.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "gui/plot/painter_surface.h"
#include "gui/ui/screen.h"
#include "kapp/kapp_plot.h"
#include "plot/formula_text.h"

namespace tarn::gui {

namespace {

// The fraction in the view's own units (pixels): the texts start at x 40,
// "Kapp=" at x 8; baselines of the numerator, "Kapp=" and the denominator;
// the line at y 20 reaching 4 beyond the wider text.
constexpr int kMargin = 4;
constexpr int kTextLeft = 40;
constexpr int kLabelLeft = 8;
constexpr int kNumeratorBaseline = 13;
constexpr int kLabelBaseline = 25;
constexpr int kDenominatorBaseline = 37;
constexpr int kLineY = 20;
constexpr int kViewHeight = 44;

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
  const int wider = std::max(FormulaWidth(texts_[0] + " "), FormulaWidth(texts_[1]));
  return {kTextLeft + wider + 2 * kMargin + 4, kViewHeight};
}

void ExpressionView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(kMargin, kMargin / 2);
  PainterSurface surface(painter);
  surface.SelectPen(1, kBlack);
  surface.SetTextColour(kBlack);
  const int numeratorEnd = FormulaText(surface, kTextLeft, kNumeratorBaseline, 1, texts_[0] + " ");
  FormulaText(surface, kLabelLeft - kMargin, kLabelBaseline, 1, "Kapp=");
  const int denominatorEnd = FormulaText(surface, kTextLeft, kDenominatorBaseline, 1, texts_[1]);
  surface.MoveTo(kTextLeft, kLineY);
  surface.LineTo(std::max(numeratorEnd, denominatorEnd) + 4, kLineY);
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
