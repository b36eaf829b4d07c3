#include "gui/plot/plot_widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace tarn::gui {

PlotBox::PlotBox(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setObjectName(QStringLiteral("DisplayBox"));
}

void PlotBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!picture_.isNull()) painter.drawImage(0, 0, picture_);
}

void PlotBox::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown) onMouseDown(event->position().toPoint(), event->button());
}

void PlotBox::mouseMoveEvent(QMouseEvent* event) {
  if (onMouseMove) onMouseMove(event->position().toPoint());
}

void PlotBox::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (onMouseMove) onMouseMove(QPoint(-1, -1));
}

FloatingLabel::FloatingLabel(int species, QWidget* box) : QLabel(box), species_(species) {
  setObjectName(QStringLiteral("Formula%1").arg(species));
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::SizeAllCursor);
  setToolTip(QStringLiteral("drag or arrow keys to re-position"));
  setAttribute(Qt::WA_TranslucentBackground);
  hide();
}

void FloatingLabel::mousePressEvent(QMouseEvent* event) {
  grab_ = event->position().toPoint();
  dragging_ = true;
  if (onPress) onPress(species_, grab_);
}

void FloatingLabel::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) move(mapToParent(event->position().toPoint()) - grab_);
}

void FloatingLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_) return;
  dragging_ = false;
  if (onDrop) onDrop(species_, mapToParent(event->position().toPoint()));
}

void FloatingLabel::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) {
    if (onArrowKey) onArrowKey(species_, key);
    return;
  }
  QLabel::keyPressEvent(event);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (rect().contains(event->position().toPoint()) && onClick) onClick();
}

QPixmap MarkerPicture(bool up) {
  constexpr int kSize = 16;
  QPixmap picture(kSize, kSize);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 128));
  QPolygon head = up ? QPolygon({QPoint(8, 1), QPoint(15, 9), QPoint(1, 9)})
                     : QPolygon({QPoint(8, 15), QPoint(15, 7), QPoint(1, 7)});
  painter.drawPolygon(head);
  painter.drawRect(up ? QRect(5, 9, 6, 6) : QRect(5, 1, 6, 6));
  return picture;
}

PopupListBox::PopupListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  hide();
}

void PopupListBox::focusInEvent(QFocusEvent* event) {
  RememberRow();
  QListWidget::focusInEvent(event);
}

void PopupListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (onChoose) onChoose(currentRow());
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    setCurrentRow(savedRow_);
    if (onChoose) onChoose(savedRow_);
    return;
  }
  QListWidget::keyPressEvent(event);
}

void PopupListBox::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  QListWidgetItem* item = itemAt(event->position().toPoint());
  if (item != nullptr && onChoose) onChoose(row(item));
}

void CaptionEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (onEnter) onEnter();
      return;
    case Qt::Key_Escape:
      if (onEscape) onEscape();
      return;
    case Qt::Key_F3:
      if (onColourKey) onColourKey();
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

void CaptionEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (onFocusLost) onFocusLost();
}

void TeeSurface::MoveTo(int x, int y) {
  first_.MoveTo(x, y);
  second_.MoveTo(x, y);
}
void TeeSurface::LineTo(int x, int y) {
  first_.LineTo(x, y);
  second_.LineTo(x, y);
}
void TeeSurface::SelectPen(int width, Rgb colour) {
  first_.SelectPen(width, colour);
  second_.SelectPen(width, colour);
}
void TeeSurface::SetTextColour(Rgb colour) {
  first_.SetTextColour(colour);
  second_.SetTextColour(colour);
}
void TeeSurface::SelectFont(FontSpec font) {
  first_.SelectFont(font);
  second_.SelectFont(font);
}
void TeeSurface::TextOut(int x, int y, TextAlign align, TextAnchor anchor, bool rotated, const std::string& text) {
  first_.TextOut(x, y, align, anchor, rotated, text);
  second_.TextOut(x, y, align, anchor, rotated, text);
}
double TeeSurface::TextWidth(const std::string& text) {
  return first_.TextWidth(text);
}

}  // namespace tarn::gui
