#pragma once
// The small widgets of the speciation plot window: the plot box that shows
// the drawn plot and reports the pointer, the floating species labels that
// can be dragged and nudged, the limit markers, clickable labels, the pop-up
// lists of the scroll panel and the caption editor's text box. Each reports
// what the user did through a callback; the window decides what it means.

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <functional>

#include "core/plot/recording_surface.h"

namespace tarn::gui {

// The plot box (DisplayBox): shows the picture the window drew into it.
class PlotBox : public QWidget {
  Q_OBJECT

 public:
  explicit PlotBox(QWidget* parent = nullptr);

  QImage& Picture() { return picture_; }
  std::function<void(QPoint, Qt::MouseButton)> onMouseDown;
  std::function<void(QPoint)> onMouseMove;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  // The pointer left the box: reported as a move to a point outside it.
  void leaveEvent(QEvent* event) override;

 private:
  QImage picture_;
};

// A species label floating over the plot box: dragged with the mouse (it
// follows the pointer, and the drop is reported in box coordinates) or
// moved a pixel at a time with the arrow keys.
class FloatingLabel : public QLabel {
  Q_OBJECT

 public:
  FloatingLabel(int species, QWidget* box);

  int Species() const { return species_; }
  std::function<void(int species, QPoint grab)> onPress;
  std::function<void(int species, QPoint drop)> onDrop;
  std::function<void(int species, int key)> onArrowKey;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int species_;
  QPoint grab_;
  bool dragging_ = false;
};

// A label that reports a click (the limit markers react when the button is
// released on them, as do BetaChosen, LabelReagent and LabelConc).
class ClickLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickLabel(QWidget* parent = nullptr) : QLabel(parent) {}
  std::function<void()> onClick;

 protected:
  void mousePressEvent(QMouseEvent* event) override;  // taken here, not passed to the plot box
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The 16 x 16 arrow picture of a limit marker.
QPixmap MarkerPicture(bool up);

// A pop-up list of the scroll panel: an entry is chosen by releasing the
// button on it or by Enter; Esc goes back to the entry selected when the
// list got the focus and chooses that one.
class PopupListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit PopupListBox(QWidget* parent = nullptr);
  std::function<void(int row)> onChoose;
  // Remembers the current row (as the focus does).
  void RememberRow() { savedRow_ = currentRow(); }

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int savedRow_ = -1;
};

// The caption editor's text box (EditA): Enter, Esc and F3 and the loss of
// the focus are reported; every change of the text through typing is
// reported by QLineEdit::textEdited.
class CaptionEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CaptionEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
  std::function<void()> onEnter;
  std::function<void()> onEscape;
  std::function<void()> onColourKey;
  std::function<void()> onFocusLost;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

// A surface that passes every call to two others (the screen and a
// recording); text widths come from the first.
class TeeSurface : public Surface {
 public:
  TeeSurface(Surface& first, Surface& second) : first_(first), second_(second) {}
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SelectPen(int width, Rgb colour) override;
  void SetTextColour(Rgb colour) override;
  void SelectFont(FontSpec font) override;
  void TextOut(int x, int y, TextAlign align, TextAnchor anchor, bool rotated, const std::string& text) override;
  double TextWidth(const std::string& text) override;

 private:
  Surface& first_;
  Surface& second_;
};

}  // namespace tarn::gui
