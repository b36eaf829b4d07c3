#pragma once
// The grid every window uses: a QTableWidget addressed like a spreadsheet.
//
// - Rows and columns are counted from 0 and sized in twips at the screen's DPI
//   (new rows are 255 twips high, new columns 960 wide).
// - The first FixedRows() rows and FixedCols() columns are fixed: drawn as
//   headings (button-face background), kept in view while the rest scrolls,
//   never current or selected. They hold text, colours and pictures like any
//   other cell. A grid without fixed rows may style its row 0 itself.
// - Cell text may hold CR line breaks (two-line headings); Text() gives the
//   text back as it was set.
// - The grid never edits cells itself: a window that edits them installs a key
//   handler and places its own editor over CellRect().
//
//   grid->SetRows(npoints + 1);  grid->SetCols(ncols);  grid->SetFixedRows(1);
//   grid->SetColWidthTwips(0, 420);  grid->SetColAlignment(1, Qt::AlignCenter);
//   grid->SetText(0, 1, "Titre");  FitGrid(*grid);
//   PutClipboardText(grid->WholeText());

#include <QColor>
#include <QPixmap>
#include <QTableWidget>
#include <functional>
#include <string>
#include <vector>

#include "gui/ui/screen.h"

class QKeyEvent;

namespace tarn::gui {

class FixedCorner;

class Grid : public QTableWidget {
  Q_OBJECT

 public:
  static constexpr int kDefaultRowTwips = 255;
  static constexpr int kDefaultColTwips = 960;

  explicit Grid(QWidget* parent = nullptr);

  void SetRows(int rows);
  int Rows() const { return rowCount(); }
  void SetCols(int cols);
  int Cols() const { return columnCount(); }
  void SetFixedRows(int rows);
  int FixedRows() const { return fixedRows_; }
  void SetFixedCols(int cols);
  int FixedCols() const { return fixedCols_; }

  void SetRowHeightTwips(int row, int twips);
  int RowHeightTwips(int row) const { return rowTwips_.at(static_cast<std::size_t>(row)); }
  void SetColWidthTwips(int col, int twips);
  int ColWidthTwips(int col) const { return colTwips_.at(static_cast<std::size_t>(col)); }
  int RowHeightPixels(int row) const { return TwipsToPixelsY(RowHeightTwips(row)); }
  int ColWidthPixels(int col) const { return TwipsToPixelsX(ColWidthTwips(col)); }
  // Height in pixels of the fixed rows together, width of the fixed columns.
  int FixedRowsPixels() const;
  int FixedColsPixels() const;

  void SetText(int row, int col, const std::string& text);
  std::string Text(int row, int col) const;
  // Applies to every cell of the column, present and future.
  void SetColAlignment(int col, Qt::Alignment alignment);
  void SetCellAlignment(int row, int col, Qt::Alignment alignment);
  void SetCellForeColour(int row, int col, const QColor& colour);
  void SetCellBackColour(int row, int col, const QColor& colour);
  // Drawn at the cell's left, vertically centred; a null pixmap removes it.
  void SetCellPicture(int row, int col, const QPixmap& picture);
  QPixmap CellPicture(int row, int col) const;
  // Empties every cell (texts, colours, pictures); keeps sizes and alignment.
  void ClearCells();

  // Makes the cell current; a fixed cell gives the first cell beyond the fixed ones.
  void SetCurrentCell(int row, int col);
  int Row() const { return currentRow(); }
  int Col() const { return currentColumn(); }
  void SelectRange(int row1, int col1, int row2, int col2);
  void SelectAllCells() { SelectRange(0, 0, Rows() - 1, Cols() - 1); }
  void SetSelectionColour(const QColor& colour);
  void ResetSelectionColour();

  // The cell's rectangle in pixels in the grid's own coordinates (as shown now,
  // so it moves with scrolling).
  QRect CellRect(int row, int col) const;

  // Cells separated by TAB, rows by CR, no CR after the last row.
  std::string RangeText(int row1, int col1, int row2, int col2) const;
  std::string WholeText() const { return RangeText(0, 0, Rows() - 1, Cols() - 1); }

  // Called for every key pressed in the grid; returning true consumes the key,
  // false lets the grid move its current cell as usual.
  void SetKeyHandler(std::function<bool(QKeyEvent*)> handler) { keyHandler_ = std::move(handler); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyboardSearch(const QString&) override {}  // typing never jumps to a matching cell
  void updateGeometries() override;

 private:
  QTableWidgetItem* Cell(int row, int col);
  void ApplyFixed();
  void RepaintFixed(const QModelIndex& topLeft, const QModelIndex& bottomRight);

  int fixedRows_ = 0;
  int fixedCols_ = 0;
  std::vector<int> rowTwips_;
  std::vector<int> colTwips_;
  std::vector<Qt::Alignment> colAlignment_;
  QPalette normalPalette_;
  FixedCorner* corner_;
  std::function<bool(QKeyEvent*)> keyHandler_;
};

// Fitting a grid to its contents within its container (the parent widget's
// inner area), in twips: the limit is the container's inner height less the
// grid's top less 60; the height is 270 plus the heights of all rows, or the
// limit as soon as that sum exceeds it. Widths likewise with the columns.
// A grid without a parent is left as it is; a negative limit gives 0.
void FitGridHeight(Grid& grid);
void FitGridWidth(Grid& grid);
void FitGrid(Grid& grid);  // width, then height

// The rule itself: 270 plus the sizes, limited to limitTwips.
int FittedTwips(const std::vector<int>& sizesTwips, int limitTwips);

// The width in pixels a cell needs to show every line of its text and its
// picture whole, with the margins the grid draws them with.
int CellContentWidth(const Grid& grid, int row, int col);
// The width in pixels a cell of the grid needs for this text, or for a
// picture this wide.
int TextCellWidth(const Grid& grid, const std::string& text);
int PictureCellWidth(const Grid& grid, int pictureWidth);
// Widens every column (never narrows one) so that each of its cells, the
// fixed ones included, shows whole: a 15-digit number, a long heading.
void WidenColsToContents(Grid& grid);

// Selects the whole current row (column 0 to the last) and shows the
// selection in red, to show which row a removal will delete. ClearHighlight
// switches that off again, leaving the current cell alone selected.
void HighlightRow(Grid& grid);
void ClearHighlight(Grid& grid);

// Makes the cell current and gives the grid the focus.
void FocusCell(Grid& grid, int row, int col);

}  // namespace tarn::gui
