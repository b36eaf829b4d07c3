#pragma once
// The child windows of the main window and their layout. The main window's
// MDI area hosts at most one window of each kind (ChildWindow: editor, plot,
// table, single points, conditional constants); a factory given by the main
// window makes them.
//
// Layout rules, all in the area's client coordinates:
// - Tiler: the editor at the left, 4800 twips wide and the full client
//   height; the first open of plot, single points and conditional constants
//   (in that order) beside it, filling the rest.
// - Split: keeps the editor and one right-hand window side by side after one
//   of them was resized (side 1: the editor was). Acts only while tiling, with
//   both windows open and in the normal state.
// - FitToClient: after the area was resized, the editor takes the full height
//   and, while tiling, each open right-hand window the full height and the
//   width beside the editor.
// - Cascade: every open window at its own size (the size it opened with,
//   never less than a minimum that shows its content, never more than the
//   area), each a title bar lower and further right than the one before; the
//   active window last, on top.
//
//   ChildWindows children(*mdiArea, [this](int w) { return CreateChild(w); });
//   children.Show(kTableWindow);
//   children.Tiler();

#include <QPointer>
#include <QSize>
#include <array>
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace tarn::gui {

inline constexpr int kEditorWidthTwips = 4800;

// The help context number of each child window.
int HelpContextOf(int window);
// The help page of a context number; the main page for any other number.
const char* HelpPageOf(int contextId);

class ChildWindows {
 public:
  // Makes the widget of a child window; nullptr when that window does not exist yet.
  using Factory = std::function<QWidget*(int window)>;

  ChildWindows(QMdiArea& area, Factory factory);

  // Shows the window (made when it is not open) and makes it the active one.
  // nullptr when the factory makes no such window.
  QMdiSubWindow* Show(int window);
  // The open window's frame or widget; nullptr when it is not open.
  QMdiSubWindow* SubWindow(int window) const;
  QWidget* Widget(int window) const;
  bool IsOpen(int window) const { return SubWindow(window) != nullptr; }
  // Closes the window (it is deleted at once).
  void Close(int window);
  // Closes every open window in the order 1..5.
  void CloseAll();
  // The index of the active child window, 0 when none is.
  int ActiveWindow() const;

  void Tiler();
  void Split(int rightWindow, int side, bool tiling);
  void FitToClient(bool tiling);
  void Cascade();

  // The smallest size (frame included) a cascaded window gets.
  static constexpr int kMinCascadeWidth = 360;
  static constexpr int kMinCascadeHeight = 260;

 private:
  int ClientWidth() const;
  int ClientHeight() const;
  QMdiSubWindow* FirstRightWindow() const;

  QMdiArea& area_;
  Factory factory_;
  std::array<QPointer<QMdiSubWindow>, 6> subWindows_;
  std::array<QSize, 6> ownSizes_;  // each window's size as it opened, frame included
};

}  // namespace tarn::gui
