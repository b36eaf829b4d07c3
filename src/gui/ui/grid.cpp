#include "gui/ui/grid.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

#include "gui/ui/screen.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

constexpr int kFitAllowanceTwips = 270;
constexpr int kFitMarginTwips = 60;

// Draws one fixed cell: the button-face heading background, the cell's own
// background, text and picture through the grid's delegate, and its grid lines.
void PaintFixedCell(QPainter& painter, const Grid& grid, const QRect& rect, int row, int col) {
  if (rect.isEmpty()) return;
  painter.save();
  painter.setClipRect(rect);
  painter.fillRect(rect, grid.palette().button());
  QStyleOptionViewItem option;
  option.initFrom(&grid);
  option.state = QStyle::State_Enabled;
  option.rect = rect;
  option.widget = &grid;
  option.font = grid.font();
  option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  option.decorationAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  option.textElideMode = grid.textElideMode();
  grid.itemDelegate()->paint(&painter, option, grid.model()->index(row, col));
  painter.setPen(grid.palette().color(QPalette::Mid));
  painter.drawLine(rect.topRight(), rect.bottomRight());
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());
  painter.restore();
}

}  // namespace

// Qt's header replaced by the fixed rows (horizontal) or fixed columns
// (vertical) of the grid, so they stay in view while the cells scroll.
class FixedHeader : public QHeaderView {
 public:
  FixedHeader(Qt::Orientation orientation, Grid* grid) : QHeaderView(orientation, grid), grid_(grid) {
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(0);
  }

  QSize sizeHint() const override {
    QSize hint = QHeaderView::sizeHint();
    if (orientation() == Qt::Horizontal) return {hint.width(), grid_->FixedRowsPixels()};
    return {grid_->FixedColsPixels(), hint.height()};
  }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    if (orientation() == Qt::Horizontal) {
      int top = rect.top();
      for (int r = 0; r < grid_->FixedRows() && r < grid_->Rows(); ++r) {
        int height = grid_->RowHeightPixels(r);
        PaintFixedCell(*painter, *grid_, QRect(rect.left(), top, rect.width(), height), r, logicalIndex);
        top += height;
      }
    } else {
      int left = rect.left();
      for (int c = 0; c < grid_->FixedCols() && c < grid_->Cols(); ++c) {
        int width = grid_->ColWidthPixels(c);
        PaintFixedCell(*painter, *grid_, QRect(left, rect.top(), width, rect.height()), logicalIndex, c);
        left += width;
      }
    }
  }

 private:
  Grid* grid_;
};

// The cells that are both in a fixed row and a fixed column.
class FixedCorner : public QWidget {
 public:
  explicit FixedCorner(Grid* grid) : QWidget(grid), grid_(grid) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    int top = 0;
    for (int r = 0; r < grid_->FixedRows() && r < grid_->Rows(); ++r) {
      int left = 0;
      for (int c = 0; c < grid_->FixedCols() && c < grid_->Cols(); ++c) {
        PaintFixedCell(painter, *grid_, QRect(left, top, grid_->ColWidthPixels(c), grid_->RowHeightPixels(r)), r, c);
        left += grid_->ColWidthPixels(c);
      }
      top += grid_->RowHeightPixels(r);
    }
  }

 private:
  Grid* grid_;
};

Grid::Grid(QWidget* parent) : QTableWidget(parent), normalPalette_(palette()), corner_(new FixedCorner(this)) {
  setHorizontalHeader(new FixedHeader(Qt::Horizontal, this));
  setVerticalHeader(new FixedHeader(Qt::Vertical, this));
  setCornerButtonEnabled(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setWordWrap(false);
  connect(model(), &QAbstractItemModel::dataChanged, this, &Grid::RepaintFixed);
  ApplyFixed();
}

void Grid::SetRows(int rows) {
  rows = std::max(rows, 0);
  int old = rowCount();
  setRowCount(rows);
  rowTwips_.resize(static_cast<std::size_t>(rows), kDefaultRowTwips);
  for (int r = old; r < rows; ++r) setRowHeight(r, TwipsToPixelsY(kDefaultRowTwips));
  ApplyFixed();
}

void Grid::SetCols(int cols) {
  cols = std::max(cols, 0);
  int old = columnCount();
  setColumnCount(cols);
  colTwips_.resize(static_cast<std::size_t>(cols), kDefaultColTwips);
  colAlignment_.resize(static_cast<std::size_t>(cols), Qt::AlignLeft);
  for (int c = old; c < cols; ++c) setColumnWidth(c, TwipsToPixelsX(kDefaultColTwips));
  ApplyFixed();
}

void Grid::SetFixedRows(int rows) {
  fixedRows_ = std::max(rows, 0);
  ApplyFixed();
}

void Grid::SetFixedCols(int cols) {
  fixedCols_ = std::max(cols, 0);
  ApplyFixed();
}

// Hides the fixed rows and columns from the scrolling cells (the headers show
// them) and keeps the current cell out of them.
void Grid::ApplyFixed() {
  for (int r = 0; r < rowCount(); ++r) {
    setRowHidden(r, r < fixedRows_);
    if (r >= fixedRows_ && rowHeight(r) != RowHeightPixels(r)) setRowHeight(r, RowHeightPixels(r));
  }
  for (int c = 0; c < columnCount(); ++c) {
    setColumnHidden(c, c < fixedCols_);
    if (c >= fixedCols_ && columnWidth(c) != ColWidthPixels(c)) setColumnWidth(c, ColWidthPixels(c));
  }
  horizontalHeader()->setVisible(fixedRows_ > 0);
  verticalHeader()->setVisible(fixedCols_ > 0);
  if (currentRow() >= 0 && (currentRow() < fixedRows_ || currentColumn() < fixedCols_)) {
    int row = std::max(currentRow(), fixedRows_);
    int col = std::max(currentColumn(), fixedCols_);
    if (row < rowCount() && col < columnCount())
      setCurrentCell(row, col);
    else
      setCurrentIndex(QModelIndex());
  }
  updateGeometries();
  corner_->update();
}

void Grid::SetRowHeightTwips(int row, int twips) {
  rowTwips_.at(static_cast<std::size_t>(row)) = twips;
  setRowHeight(row, TwipsToPixelsY(twips));
  if (row < fixedRows_) ApplyFixed();
}

void Grid::SetColWidthTwips(int col, int twips) {
  colTwips_.at(static_cast<std::size_t>(col)) = twips;
  setColumnWidth(col, TwipsToPixelsX(twips));
  if (col < fixedCols_) ApplyFixed();
}

int Grid::FixedRowsPixels() const {
  int sum = 0;
  for (int r = 0; r < fixedRows_ && r < rowCount(); ++r) sum += RowHeightPixels(r);
  return sum;
}

int Grid::FixedColsPixels() const {
  int sum = 0;
  for (int c = 0; c < fixedCols_ && c < columnCount(); ++c) sum += ColWidthPixels(c);
  return sum;
}

QTableWidgetItem* Grid::Cell(int row, int col) {
  QTableWidgetItem* cell = item(row, col);
  if (cell != nullptr) return cell;
  cell = new QTableWidgetItem;
  cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  cell->setTextAlignment(colAlignment_.at(static_cast<std::size_t>(col)) | Qt::AlignVCenter);
  setItem(row, col, cell);
  return cell;
}

void Grid::SetText(int row, int col, const std::string& text) {
  Cell(row, col)->setText(ToDisplay(text));
}

std::string Grid::Text(int row, int col) const {
  const QTableWidgetItem* cell = item(row, col);
  if (cell == nullptr) return {};
  QString text = cell->text();
  text.replace(QChar(u'\n'), QChar(u'\r'));
  return FromQ(text);
}

void Grid::SetColAlignment(int col, Qt::Alignment alignment) {
  colAlignment_.at(static_cast<std::size_t>(col)) = alignment;
  for (int r = 0; r < rowCount(); ++r)
    if (QTableWidgetItem* cell = item(r, col)) cell->setTextAlignment(alignment | Qt::AlignVCenter);
}

void Grid::SetCellAlignment(int row, int col, Qt::Alignment alignment) {
  Cell(row, col)->setTextAlignment(alignment | Qt::AlignVCenter);
}

void Grid::SetCellForeColour(int row, int col, const QColor& colour) {
  Cell(row, col)->setForeground(colour);
}

void Grid::SetCellBackColour(int row, int col, const QColor& colour) {
  Cell(row, col)->setBackground(colour);
}

void Grid::SetCellPicture(int row, int col, const QPixmap& picture) {
  Cell(row, col)->setData(Qt::DecorationRole, picture.isNull() ? QVariant() : QVariant(picture));
}

QPixmap Grid::CellPicture(int row, int col) const {
  const QTableWidgetItem* cell = item(row, col);
  return cell == nullptr ? QPixmap() : qvariant_cast<QPixmap>(cell->data(Qt::DecorationRole));
}

void Grid::ClearCells() {
  clearContents();
  corner_->update();
}

void Grid::SetCurrentCell(int row, int col) {
  row = std::max(row, fixedRows_);
  col = std::max(col, fixedCols_);
  if (row < Rows() && col < Cols()) setCurrentCell(row, col);
}

void Grid::SelectRange(int row1, int col1, int row2, int col2) {
  clearSelection();
  if (Rows() == 0 || Cols() == 0) return;
  setRangeSelected(QTableWidgetSelectionRange(row1, col1, row2, col2), true);
}

void Grid::SetSelectionColour(const QColor& colour) {
  QPalette shown = normalPalette_;
  shown.setColor(QPalette::Active, QPalette::Highlight, colour);
  shown.setColor(QPalette::Inactive, QPalette::Highlight, colour);
  setPalette(shown);
}

void Grid::ResetSelectionColour() {
  setPalette(normalPalette_);
}

QRect Grid::CellRect(int row, int col) const {
  QRect viewportArea = viewport()->geometry();
  int x = viewportArea.x() + columnViewportPosition(col);
  if (col < fixedCols_) {
    x = verticalHeader()->x();
    for (int c = 0; c < col; ++c) x += ColWidthPixels(c);
  }
  int y = viewportArea.y() + rowViewportPosition(row);
  if (row < fixedRows_) {
    y = horizontalHeader()->y();
    for (int r = 0; r < row; ++r) y += RowHeightPixels(r);
  }
  return {x, y, ColWidthPixels(col), RowHeightPixels(row)};
}

std::string Grid::RangeText(int row1, int col1, int row2, int col2) const {
  std::string text;
  for (int r = row1; r <= row2; ++r) {
    if (r > row1) text += '\r';
    for (int c = col1; c <= col2; ++c) {
      if (c > col1) text += '\t';
      text += Text(r, c);
    }
  }
  return text;
}

void Grid::keyPressEvent(QKeyEvent* event) {
  if (keyHandler_ && keyHandler_(event)) return;
  QTableWidget::keyPressEvent(event);
}

void Grid::updateGeometries() {
  QTableWidget::updateGeometries();
  bool both = fixedRows_ > 0 && fixedCols_ > 0;
  corner_->setVisible(both);
  if (!both) return;
  corner_->setGeometry(verticalHeader()->x(), horizontalHeader()->y(), FixedColsPixels(), FixedRowsPixels());
  corner_->raise();
}

void Grid::RepaintFixed(const QModelIndex& topLeft, const QModelIndex&) {
  if (topLeft.row() < fixedRows_) horizontalHeader()->viewport()->update();
  if (topLeft.column() < fixedCols_) verticalHeader()->viewport()->update();
  if (topLeft.row() < fixedRows_ && topLeft.column() < fixedCols_) corner_->update();
}

int FittedTwips(const std::vector<int>& sizesTwips, int limitTwips) {
  int sum = kFitAllowanceTwips;
  for (int size : sizesTwips) sum += size;
  return std::max(std::min(sum, limitTwips), 0);
}

void FitGridHeight(Grid& grid) {
  const QWidget* container = grid.parentWidget();
  if (container == nullptr) return;
  QRect inner = container->contentsRect();
  int limit = PixelsToTwipsY(inner.y() + inner.height() - grid.y()) - kFitMarginTwips;
  std::vector<int> heights;
  for (int r = 0; r < grid.Rows(); ++r) heights.push_back(grid.RowHeightTwips(r));
  grid.resize(grid.width(), TwipsToPixelsY(FittedTwips(heights, limit)));
}

void FitGridWidth(Grid& grid) {
  const QWidget* container = grid.parentWidget();
  if (container == nullptr) return;
  QRect inner = container->contentsRect();
  int limit = PixelsToTwipsX(inner.x() + inner.width() - grid.x()) - kFitMarginTwips;
  std::vector<int> widths;
  for (int c = 0; c < grid.Cols(); ++c) widths.push_back(grid.ColWidthTwips(c));
  grid.resize(TwipsToPixelsX(FittedTwips(widths, limit)), grid.height());
}

void FitGrid(Grid& grid) {
  FitGridWidth(grid);
  FitGridHeight(grid);
}

namespace {

// Left and right of a cell's text (and of its picture) the delegate keeps
// the focus frame's margin and a pixel; the grid line takes one more.
int CellMargin(const Grid& grid) {
  return grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
}

// The widest line, rounded up (text is laid out in fractions of a pixel),
// and a pixel to spare.
int TextWidth(const QFontMetricsF& metrics, const QString& text) {
  double widest = 0;
  for (const QString& line : text.split(QChar(u'\n'))) widest = std::max(widest, metrics.horizontalAdvance(line));
  return widest > 0 ? static_cast<int>(std::ceil(widest)) + 1 : 0;
}

}  // namespace

int CellContentWidth(const Grid& grid, int row, int col) {
  const QTableWidgetItem* cell = grid.item(row, col);
  if (cell == nullptr) return 0;
  const int margin = CellMargin(grid);
  const int text = TextWidth(QFontMetricsF(grid.font()), cell->text());
  const QPixmap picture = qvariant_cast<QPixmap>(cell->data(Qt::DecorationRole));
  int width = text > 0 ? text + 2 * margin : 0;
  if (!picture.isNull()) width += picture.width() + 2 * margin;
  return width > 0 ? width + 1 : 0;
}

int TextCellWidth(const Grid& grid, const std::string& text) {
  return TextWidth(QFontMetricsF(grid.font()), ToDisplay(text)) + 2 * CellMargin(grid) + 1;
}

int PictureCellWidth(const Grid& grid, int pictureWidth) {
  return pictureWidth + 2 * CellMargin(grid) + 1;
}

void WidenColsToContents(Grid& grid) {
  for (int c = 0; c < grid.Cols(); ++c) {
    int widest = 0;
    for (int r = 0; r < grid.Rows(); ++r) widest = std::max(widest, CellContentWidth(grid, r, c));
    if (widest > grid.ColWidthPixels(c)) grid.SetColWidthTwips(c, PixelsToTwipsX(widest));
  }
}

void HighlightRow(Grid& grid) {
  if (grid.Row() < 0 || grid.Cols() == 0) return;
  grid.SetSelectionColour(QColor(255, 0, 0));
  grid.SelectRange(grid.Row(), 0, grid.Row(), grid.Cols() - 1);
}

void ClearHighlight(Grid& grid) {
  grid.ResetSelectionColour();
  if (grid.Row() >= 0 && grid.Col() >= 0) grid.SelectRange(grid.Row(), grid.Col(), grid.Row(), grid.Col());
}

void FocusCell(Grid& grid, int row, int col) {
  grid.SetCurrentCell(row, col);
  grid.setFocus(Qt::OtherFocusReason);
}

}  // namespace tarn::gui
