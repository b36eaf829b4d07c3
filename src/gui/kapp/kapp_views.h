#pragma once
// The drawn parts of the conditional-constant window: the definition as a
// fraction (Expression), the log Kapp plot (PlotKapp), and the pop-up lists
// that choose a term's type and argument.

#include <QListWidget>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "core/kapp/kapp_values.h"

namespace tarn::gui {

// "Kapp=" beside a fraction line with the numerator's text above it and the
// denominator's below, as plain text (a "+" in a sum stays on the line).
class ExpressionView : public QWidget {
  Q_OBJECT

 public:
  explicit ExpressionView(QWidget* parent = nullptr);
  void SetTexts(const std::array<std::string, 2>& texts);
  const std::array<std::string, 2>& Texts() const { return texts_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<std::string, 2> texts_;
};

// The plot of log Kapp against the x axis's pX; drawn again at every repaint
// once a curve has been plotted.
class PlotKappView : public QWidget {
  Q_OBJECT

 public:
  explicit PlotKappView(QWidget* parent = nullptr);
  void Plot(const KappPlotSetup& setup, const KappAxis& axis, const KappValues& values);
  // Forgets the curve (it no longer matches the definition or the results).
  void Clear();
  bool Plotted() const { return setup_.has_value(); }
  const KappPlotSetup* Setup() const { return setup_ ? &*setup_ : nullptr; }
  const KappValues& Values() const { return values_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<KappPlotSetup> setup_;
  KappAxis axis_;
  KappValues values_;
};

// A list that pops up over a grid cell: a mouse press on an item or Enter
// chooses it (Chosen), Esc or a click elsewhere hides it. With confirmOnKey,
// every key confirms the list as it stands (Confirmed) instead.
class PopupList : public QListWidget {
  Q_OBJECT

 public:
  explicit PopupList(QWidget* parent, bool confirmOnKey = false);

 signals:
  void Chosen(int row);
  void Confirmed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool confirmOnKey_;
};

}  // namespace tarn::gui
