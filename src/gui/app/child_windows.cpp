#include "gui/app/child_windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <vector>

#include "gui/app/help_window.h"
#include "gui/app/session.h"
#include "gui/ui/screen.h"

namespace tarn::gui {

namespace {

constexpr std::array<int, 3> kRightWindows{kPlotWindow, kSinglePointsWindow, kConditionalWindow};

bool IsNormal(const QMdiSubWindow& window) {
  return !window.isMinimized() && !window.isMaximized();
}

// A window is never made smaller than its content allows (the plot window
// keeps room for its plot): beyond the area it scrolls instead.
QMdiSubWindow* KeepContent(QMdiSubWindow* window) {
  if (window != nullptr) window->setMinimumSize(window->minimumSizeHint());
  return window;
}

}  // namespace

int HelpContextOf(int window) {
  switch (window) {
    case kEditorWindow:
      return 200;
    case kPlotWindow:
      return 300;
    case kTableWindow:
      return 400;
    case kSinglePointsWindow:
      return 600;
    case kConditionalWindow:
      return 700;
    default:
      return 0;
  }
}

const char* HelpPageOf(int contextId) {
  switch (contextId) {
    case 200:
      return "Adjust_Model";
    case 300:
      return "Tarn plots";
    case 400:
      return "Table of concentrations";
    case 600:
      return "Single_Data_Points";
    case 700:
      return "Conditional constants";
    default:
      return kHelpMainPage;
  }
}

void CloseOwnWindow(QWidget& window, EditSession::Subscription& subscription) {
  subscription = EditSession::Subscription();
  if (auto* frame = qobject_cast<QMdiSubWindow*>(window.parentWidget()))
    frame->close();  // hidden at once, deleted when the event loop is back
  else
    window.close();
}

ChildWindows::ChildWindows(QMdiArea& area, Factory factory) : area_(area), factory_(std::move(factory)) {}

QMdiSubWindow* ChildWindows::SubWindow(int window) const {
  if (window < kEditorWindow || window > kConditionalWindow) return nullptr;
  QMdiSubWindow* sub = subWindows_[static_cast<std::size_t>(window)];
  return sub != nullptr && !sub->isHidden() ? sub : nullptr;
}

QWidget* ChildWindows::Widget(int window) const {
  QMdiSubWindow* sub = SubWindow(window);
  return sub == nullptr ? nullptr : sub->widget();
}

QMdiSubWindow* ChildWindows::Show(int window) {
  QMdiSubWindow* sub = SubWindow(window);
  if (sub == nullptr) {
    if (window < kEditorWindow || window > kConditionalWindow) return nullptr;
    QWidget* widget = factory_(window);
    if (widget == nullptr) return nullptr;
    QSize wanted = widget->size();  // the window's own size, frame not counted
    sub = area_.addSubWindow(widget);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(area_.window()->windowIcon());
    subWindows_[static_cast<std::size_t>(window)] = sub;
    sub->show();
    QSize frame = sub->size() - widget->size();
    QSize own = wanted + frame;
    ownSizes_[static_cast<std::size_t>(window)] = own;
    KeepContent(sub)->resize(own);
    // Within the area once it is shown (before, it has no size of its own
    // yet): as large as fits, moved back from the area's edges as needed.
    if (area_.isVisible()) {
      sub->resize(own.boundedTo(QSize(std::max(ClientWidth(), 1), std::max(ClientHeight(), 1))));
      sub->move(std::clamp(sub->x(), 0, std::max(0, ClientWidth() - sub->width())),
                std::clamp(sub->y(), 0, std::max(0, ClientHeight() - sub->height())));
    }
  }
  if (sub->isMinimized()) sub->showNormal();
  sub->show();
  area_.setActiveSubWindow(sub);
  return sub;
}

void ChildWindows::Close(int window) {
  QMdiSubWindow* sub = SubWindow(window);
  if (sub == nullptr) return;
  if (sub->close()) delete sub;  // at once, so the window's open mark goes with it
}

void ChildWindows::CloseAll() {
  for (int window = kEditorWindow; window <= kConditionalWindow; ++window) Close(window);
}

int ChildWindows::ActiveWindow() const {
  QMdiSubWindow* active = area_.activeSubWindow();
  for (int window = kEditorWindow; window <= kConditionalWindow; ++window)
    if (active != nullptr && SubWindow(window) == active) return window;
  return 0;
}

int ChildWindows::ClientWidth() const {
  return area_.viewport()->width();
}

int ChildWindows::ClientHeight() const {
  return area_.viewport()->height();
}

QMdiSubWindow* ChildWindows::FirstRightWindow() const {
  for (int window : kRightWindows)
    if (QMdiSubWindow* sub = SubWindow(window)) return sub;
  return nullptr;
}

void ChildWindows::Tiler() {
  int left = 0;
  if (QMdiSubWindow* editor = KeepContent(SubWindow(kEditorWindow))) {
    editor->showNormal();
    editor->setGeometry(0, 0, TwipsToPixelsX(kEditorWidthTwips), ClientHeight());
    left = editor->width();
  }
  if (QMdiSubWindow* right = KeepContent(FirstRightWindow())) {
    right->showNormal();
    right->setGeometry(left, 0, std::max(0, ClientWidth() - left), ClientHeight());
  }
}

void ChildWindows::Split(int rightWindow, int side, bool tiling) {
  QMdiSubWindow* editor = KeepContent(SubWindow(kEditorWindow));
  QMdiSubWindow* right = KeepContent(SubWindow(rightWindow));
  if (!tiling || editor == nullptr || right == nullptr || !IsNormal(*editor) || !IsNormal(*right)) return;
  if (side == 1) {
    right->move(editor->width(), right->y());
  } else {
    if (right->x() <= 0) return;  // the editor cannot become that narrow
    editor->resize(right->x(), editor->height());
  }
  int width = ClientWidth() - right->x();
  if (width > 0) right->resize(width, right->height());
}

void ChildWindows::FitToClient(bool tiling) {
  QMdiSubWindow* editor = KeepContent(SubWindow(kEditorWindow));
  if (editor != nullptr && IsNormal(*editor)) editor->setGeometry(editor->x(), 0, editor->width(), ClientHeight());
  if (!tiling || editor == nullptr) return;
  for (int window : kRightWindows) {
    QMdiSubWindow* right = KeepContent(SubWindow(window));
    if (right == nullptr || !IsNormal(*right)) continue;
    int width = ClientWidth() - editor->width();
    if (width > 0) right->setGeometry(right->x(), 0, width, ClientHeight());
  }
}

// Qt's own cascade sizes the windows by their size hints, which windows laid
// out by hand do not give: they would shrink to bare title bars.
void ChildWindows::Cascade() {
  std::vector<int> order;
  int active = ActiveWindow();
  for (int window = kEditorWindow; window <= kConditionalWindow; ++window)
    if (IsOpen(window) && window != active) order.push_back(window);
  if (active != 0) order.push_back(active);
  QPoint corner(0, 0);
  for (int window : order) {
    QMdiSubWindow* sub = KeepContent(SubWindow(window));
    sub->showNormal();
    QSize own = ownSizes_[static_cast<std::size_t>(window)];
    QSize size(std::max(own.width(), kMinCascadeWidth), std::max(own.height(), kMinCascadeHeight));
    QSize room(std::max(ClientWidth() - corner.x(), 1), std::max(ClientHeight() - corner.y(), 1));
    sub->setGeometry(QRect(corner, size.boundedTo(room)));
    sub->raise();
    // The next window starts one title bar further down and right.
    int step = sub->widget() != nullptr && sub->widget()->y() > 0 ? sub->widget()->y() : 24;
    corner += QPoint(step, step);
  }
  if (active != 0) area_.setActiveSubWindow(SubWindow(active));
}

}  // namespace tarn::gui
