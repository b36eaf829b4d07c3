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
  ChildWindows children_{area_, [this](int window) {
                           ++made_;
                           return window == kTableWindow ? nullptr : new QWidget;
                         }};
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

}  // namespace
}  // namespace tarn::gui
