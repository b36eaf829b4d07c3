#include "gui/ui/cell_editor.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "gui/ui/grid.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

// The key code of a Qt key as the editor dispatches on it; 0 for the others.
int KeyCodeOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyEnter;
    case Qt::Key_Escape:
      return kKeyEsc;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Down:
      return kKeyDown;
    case Qt::Key_F2:
      return kKeyF2;
    default:
      return 0;
  }
}

int QtArrowOf(int keyCode) {
  switch (keyCode) {
    case kKeyLeft:
      return Qt::Key_Left;
    case kKeyUp:
      return Qt::Key_Up;
    case kKeyRight:
      return Qt::Key_Right;
    default:
      return Qt::Key_Down;
  }
}

bool IsArrow(int keyCode) {
  return keyCode >= kKeyLeft && keyCode <= kKeyDown;
}

}  // namespace

std::optional<StartKey> StartKeyOf(const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
  int key = event.key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return StartKey::Enter();
  if (key == Qt::Key_Escape) return std::nullopt;
  if (key == Qt::Key_Backspace) return StartKey::Typed(QString());
  QString text = event.text();
  if (text.isEmpty() || !text.at(0).isPrint()) return std::nullopt;
  return StartKey::Typed(text);
}

CellEditor::CellEditor(Grid& grid) : QLineEdit(grid.parentWidget()), grid_(grid) {
  setObjectName(QStringLiteral("CellEditor"));
  setFrame(false);
  setAutoFillBackground(true);
  SetNavigating(true);
  hide();
}

void CellEditor::SetNavigating(bool on) {
  navigating_ = on;
  QPalette colours = palette();
  colours.setColor(QPalette::Base, on ? kNavigatingColour : kTypingColour);
  colours.setColor(QPalette::Window, on ? kNavigatingColour : kTypingColour);
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);
}

void CellEditor::StartCellEdit(const StartKey& key) {
  if (editing_) Commit();
  int row = grid_.Row();
  int col = grid_.Col();
  if (row < 0 || col < 0) return;
  row_ = row;
  col_ = col;
  startText_ = grid_.Text(row, col);
  grid_.SelectRange(row, col, row, col);
  SetNavigating(true);
  QRect cell = grid_.CellRect(row, col);
  QPoint at = grid_.mapTo(parentWidget(), cell.topLeft());
  setGeometry(at.x(), at.y(), cell.width(), std::max(cell.height() - 1, 1));
  setText(key.whole ? ToQ(startText_) : key.typed);
  end(false);
  editing_ = true;
  raise();
  show();
  setFocus(Qt::OtherFocusReason);
}

bool CellEditor::EditorKeyDown(int keyCode) {
  if (keyCode == kKeyF2) {
    SetNavigating(!navigating_);
    return true;
  }
  if (IsArrow(keyCode) && navigating_) {
    LeaveByArrow(keyCode);
    return true;
  }
  return false;
}

bool CellEditor::EditorKeyPress(int keyAscii) {
  if (keyAscii == kKeyEsc) {
    setText(ToQ(startText_));
    ReturnToGrid();
    return true;
  }
  if (keyAscii == kKeyEnter) {
    ReturnToGrid();
    return true;
  }
  return false;
}

void CellEditor::LeaveByArrow(int keyCode) {
  ReturnToGrid();
  QKeyEvent arrow(QEvent::KeyPress, QtArrowOf(keyCode), Qt::NoModifier);
  QApplication::sendEvent(&grid_, &arrow);
}

void CellEditor::ReturnToGrid() {
  grid_.setFocus(Qt::OtherFocusReason);
  Commit();  // nothing when the loss of focus has committed already
}

void CellEditor::Commit() {
  if (!editing_) return;
  editing_ = false;
  CellEdit edit{row_, col_, FromQ(text()), startText_};
  hide();
  if (commit_) commit_(edit);
}

void CellEditor::Discard() {
  editing_ = false;
  hide();
}

void CellEditor::keyPressEvent(QKeyEvent* event) {
  int code = KeyCodeOf(event->key());
  if (code != 0 && editing_ && (EditorKeyDown(code) || EditorKeyPress(code))) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void CellEditor::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  if (editing_ && keyUp_) keyUp_();
}

// Any loss of focus commits, except to the editor's own context menu.
void CellEditor::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  QWidget* popup = QApplication::activePopupWidget();
  if (event->reason() == Qt::PopupFocusReason && popup != nullptr && popup->parentWidget() == this) return;
  Commit();
}

}  // namespace tarn::gui
