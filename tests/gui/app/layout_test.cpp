// The layout rules of the main window's child windows, with plain widgets
// standing in for the editor and the right-hand windows.

#include <gtest/gtest.h>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "gui/app/child_windows.h"
#include "gui/app/session.h"
#include "gui/ui/screen.h"

namespace tarn::gui {
namespace {

class LayoutTest : public ::testing::Test {
 protected:
  LayoutTest() {
    area_.resize(1000, 700);
    area_.show();
    QApplication::processEvents();
  }

  QRect Frame(int window) { return children_.SubWindow(window)->geometry(); }
  int ClientWidth() { return area_.viewport()->width(); }
  int ClientHeight() { return area_.viewport()->height(); }

  QMdiArea area_;
  int made_ = 0;
  ChildWindows children_{area_, [this](int window) -> QWidget* {
                           ++made_;
                           if (window == kTableWindow) return nullptr;
                           auto* widget = new QWidget;
                           widget->resize(ownSizes_[static_cast<std::size_t>(window)]);
                           return widget;
                         }};
  // The size each stand-in window opens with; the last is smaller than a usable window.
  std::array<QSize, 6> ownSizes_{QSize(), QSize(320, 480), QSize(900, 650), QSize(), QSize(700, 500), QSize(120, 40)};
  const int editorWidth_ = TwipsToPixelsX(kEditorWidthTwips);
};

TEST_F(LayoutTest, ShowMakesEachWindowOnceAndCloseDeletesIt) {
  QMdiSubWindow* editor = children_.Show(kEditorWindow);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(children_.Show(kEditorWindow), editor);
  EXPECT_EQ(made_, 1);
  EXPECT_EQ(children_.Show(kTableWindow), nullptr);  // a window the factory does not make
  EXPECT_EQ(children_.ActiveWindow(), kEditorWindow);
  QPointer<QMdiSubWindow> watched(editor);
  children_.CloseAll();
  EXPECT_TRUE(watched.isNull());
  EXPECT_FALSE(children_.IsOpen(kEditorWindow));
  EXPECT_EQ(children_.ActiveWindow(), 0);
}

// A new window opens within the area: no larger than it, and moved back from
// its edges when the area's own placement would push it out.
TEST_F(LayoutTest, ANewWindowOpensWithinTheArea) {
  for (int window : {kEditorWindow, kPlotWindow, kSinglePointsWindow}) {
    QMdiSubWindow* sub = children_.Show(window);
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(QRect(0, 0, ClientWidth(), ClientHeight()).contains(sub->geometry())) << window;
  }
}

TEST_F(LayoutTest, TilerPutsTheEditorLeftAndTheFirstRightWindowBesideItAtFullHeight) {
  children_.Show(kEditorWindow);
  children_.Show(kSinglePointsWindow);
  children_.Show(kPlotWindow);
  children_.Tiler();
  EXPECT_EQ(Frame(kEditorWindow), QRect(0, 0, editorWidth_, ClientHeight()));
  EXPECT_EQ(Frame(kPlotWindow), QRect(editorWidth_, 0, ClientWidth() - editorWidth_, ClientHeight()));
  // A resized area gives the windows the full height and the rest of the width.
  area_.resize(1200, 800);
  QApplication::processEvents();
  children_.FitToClient(true);
  EXPECT_EQ(Frame(kEditorWindow).height(), ClientHeight());
  EXPECT_EQ(Frame(kPlotWindow), QRect(editorWidth_, 0, ClientWidth() - editorWidth_, ClientHeight()));
}

// A window whose content needs more room than the tiling leaves it (the plot
// in a small main window) keeps that room and reaches beyond the area,
// which then scrolls, rather than being cut.
TEST_F(LayoutTest, TilingNeverSqueezesAWindowBelowItsContent) {
  children_.Show(kEditorWindow);
  children_.Show(kPlotWindow)->widget()->setMinimumSize(900, 400);
  children_.Tiler();
  EXPECT_GE(children_.Widget(kPlotWindow)->width(), 900);
  EXPECT_EQ(Frame(kPlotWindow).left(), editorWidth_);
  EXPECT_GT(Frame(kPlotWindow).right(), ClientWidth());
  EXPECT_EQ(Frame(kPlotWindow).width(), children_.SubWindow(kPlotWindow)->minimumSizeHint().width());
}

TEST_F(LayoutTest, SplitKeepsTheWindowsSideBySideOnlyWhileTiling) {
  children_.Show(kEditorWindow);
  children_.Show(kConditionalWindow);
  children_.Tiler();
  children_.SubWindow(kEditorWindow)->resize(400, ClientHeight());
  children_.Split(kConditionalWindow, 1, true);  // the editor was resized
  EXPECT_EQ(Frame(kConditionalWindow).left(), 400);
  EXPECT_EQ(Frame(kConditionalWindow).width(), ClientWidth() - 400);
  children_.SubWindow(kConditionalWindow)->move(500, 0);
  children_.Split(kConditionalWindow, 0, true);  // the right-hand window was resized
  EXPECT_EQ(Frame(kEditorWindow).width(), 500);
  EXPECT_EQ(Frame(kConditionalWindow).width(), ClientWidth() - 500);
  children_.SubWindow(kEditorWindow)->resize(300, ClientHeight());
  children_.Split(kConditionalWindow, 1, false);
  EXPECT_EQ(Frame(kConditionalWindow).left(), 500);
}

// Windows laid out by hand give Qt no size hint: a cascade must still leave
// each at its own size (or a usable minimum), within the area, with every
// title bar in view and the active window on top.
TEST_F(LayoutTest, CascadeKeepsUsableSizesAndStaggersTheTitleBars) {
  for (int window : {kEditorWindow, kPlotWindow, kSinglePointsWindow, kConditionalWindow}) children_.Show(window);
  children_.Show(kPlotWindow);  // the active one
  children_.Tiler();
  children_.Cascade();
  const std::vector<int> order{kEditorWindow, kSinglePointsWindow, kConditionalWindow, kPlotWindow};
  int previousTop = -1;
  for (int window : order) {
    QMdiSubWindow* sub = children_.SubWindow(window);
    SCOPED_TRACE(window);
    EXPECT_GT(sub->y(), previousTop);
    EXPECT_EQ(sub->x(), sub->y());
    previousTop = sub->y();
    const QSize room(ClientWidth() - sub->x(), ClientHeight() - sub->y());
    QSize own = ownSizes_[static_cast<std::size_t>(window)] + (sub->size() - sub->widget()->size());
    own = own.expandedTo(QSize(ChildWindows::kMinCascadeWidth, ChildWindows::kMinCascadeHeight));
    EXPECT_EQ(sub->size(), own.boundedTo(room));
    EXPECT_GT(sub->widget()->height(), 100);  // more than a title bar
  }
  EXPECT_EQ(children_.ActiveWindow(), kPlotWindow);
  EXPECT_EQ(area_.subWindowList(QMdiArea::StackingOrder).last(), children_.SubWindow(kPlotWindow));
  // Tile afterwards gives the tiled pair their places again.
  children_.Tiler();
  EXPECT_EQ(Frame(kEditorWindow), QRect(0, 0, editorWidth_, ClientHeight()));
  EXPECT_EQ(Frame(kPlotWindow), QRect(editorWidth_, 0, ClientWidth() - editorWidth_, ClientHeight()));
}

}  // namespace
}  // namespace tarn::gui
