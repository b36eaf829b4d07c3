// The grid helper: whole-grid text, the fitting rule, twips and fixed cells.

#include <gtest/gtest.h>
#include <QApplication>

#include "gui/ui/grid.h"
#include "gui/ui/screen.h"

namespace tarn::gui {
namespace {

TEST(GridTest, WholeGridIsTabSeparatedCellsAndCrSeparatedRows) {
  Grid grid;
  grid.SetRows(3);
  grid.SetCols(3);
  grid.SetFixedRows(1);
  grid.SetText(0, 1, "total\rmillimoles");
  grid.SetText(0, 2, "pH(calc)");
  grid.SetText(1, 0, " 1");
  grid.SetText(1, 2, "2.000");
  grid.SetText(2, 1, "1.000e-03");
  EXPECT_EQ(grid.Text(0, 1), "total\rmillimoles");
  EXPECT_EQ(grid.WholeText(), "\ttotal\rmillimoles\tpH(calc)\r 1\t\t2.000\r\t1.000e-03\t");
  EXPECT_EQ(grid.RangeText(1, 1, 2, 2), "\t2.000\r1.000e-03\t");
  grid.ClearCells();
  EXPECT_EQ(grid.WholeText(), "\t\t\r\t\t\r\t\t");
}

TEST(GridTest, SizedInTwipsAtTheScreensDpiAndFittedToTheContainer) {
  EXPECT_EQ(FittedTwips({255, 255, 255}, 5000), 270 + 3 * 255);  // the allowance, up to the limit
  EXPECT_EQ(FittedTwips({255, 255, 255}, 1000), 1000);
  EXPECT_EQ(FittedTwips({255}, -30), 0);
  QWidget container;
  container.resize(TwipsToPixelsX(9000), TwipsToPixelsY(6000));
  auto* grid = new Grid(&container);
  grid->move(TwipsToPixelsX(120), TwipsToPixelsY(1200));
  grid->SetRows(5);
  grid->SetCols(3);
  EXPECT_EQ(grid->RowHeightTwips(1), 255);
  grid->SetColWidthTwips(0, 420);
  grid->SetColWidthTwips(1, 1100);
  grid->SetColWidthTwips(2, 1500);
  EXPECT_EQ(grid->ColWidthTwips(2), 1500);
  EXPECT_EQ(grid->columnWidth(2), static_cast<int>(std::lround(1500 / TwipsPerPixelX())));
  FitGrid(*grid);
  EXPECT_EQ(grid->width(), TwipsToPixelsX(270 + 420 + 1100 + 1500));
  EXPECT_EQ(grid->height(), TwipsToPixelsY(270 + 5 * 255));
  // 12 columns of 960 and 101 rows of 255 twips exceed the container: the
  // grid stops 60 twips short of its inner edges.
  grid->SetRows(101);
  grid->SetCols(12);
  FitGrid(*grid);
  EXPECT_EQ(grid->width(), TwipsToPixelsX(9000 - 120 - 60));
  EXPECT_EQ(grid->height(), TwipsToPixelsY(6000 - 1200 - 60));
}

TEST(GridTest, FixedCellsStayOutOfTheCurrentCellAndSitAboveTheirColumn) {
  QWidget container;
  container.resize(600, 400);
  auto* grid = new Grid(&container);
  grid->resize(500, 300);
  grid->SetRows(4);
  grid->SetCols(4);
  grid->SetFixedRows(1);
  grid->SetFixedCols(1);
  grid->SetCurrentCell(0, 0);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->Col(), 1);
  container.show();
  QApplication::processEvents();
  QRect heading = grid->CellRect(0, 2), cell = grid->CellRect(1, 2), label = grid->CellRect(1, 0);
  EXPECT_EQ(heading.x(), cell.x());
  EXPECT_EQ(heading.bottom() + 1, cell.y());
  EXPECT_EQ(label.y(), cell.y());
  EXPECT_EQ(label.right() + 1, grid->CellRect(1, 1).x());
  EXPECT_EQ(cell.height(), grid->RowHeightPixels(1));
  // A heading row that stops being fixed keeps the height it was given.
  grid->SetRowHeightTwips(0, 510);
  grid->SetFixedRows(0);
  EXPECT_EQ(grid->rowHeight(0), grid->RowHeightPixels(0));
  EXPECT_EQ(grid->CellRect(0, 2).height(), grid->RowHeightPixels(0));
}

}  // namespace
}  // namespace tarn::gui
