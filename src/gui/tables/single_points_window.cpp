#include "gui/tables/single_points_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <ctime>

#include "gui/app/main_window.h"
#include "gui/ui/cell_editor.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/app/project_edits.h"
#include "core/model/number_text.h"
#include "core/tables/concentration_table.h"

namespace tarn::gui {

namespace {

constexpr int kGridLeftTwips = 120;
constexpr int kGapTwips = 120;
constexpr int kLabelWidthTwips = 1400;
constexpr int kPointWidthTwips = 1250;
constexpr int kMaxInitialWidthTwips = 12000;
constexpr int kInitialHeightTwips = 7200;
constexpr const char* kDeleteQuestion = "Delete selected point?";
const QColor kColumnHighlight{0, 0, 255};

enum ButtonIndex { kCalculate, kAddPoint, kDelPoint, kToClip, kToPrinter };

std::vector<int> RowHeights(const Grid& grid) {
  std::vector<int> heights;
  for (int r = 0; r < grid.Rows(); ++r) heights.push_back(grid.RowHeightTwips(r));
  return heights;
}

std::vector<int> ColWidths(const Grid& grid) {
  std::vector<int> widths;
  for (int c = 0; c < grid.Cols(); ++c) widths.push_back(grid.ColWidthTwips(c));
  return widths;
}

void ShapeGrid(Grid& grid, int rows, int cols) {
  grid.ClearCells();
  grid.SetRows(rows);
  grid.SetCols(cols);
  grid.SetFixedRows(1);
  grid.SetFixedCols(cols > 1 ? 1 : 0);
  grid.SetColWidthTwips(0, kLabelWidthTwips);
  for (int c = 1; c < cols; ++c) {
    grid.SetColWidthTwips(c, kPointWidthTwips);
    grid.SetColAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
  }
}

std::string NowText() {
  return CreationTimeText(std::time(nullptr));
}

}  // namespace

SingleDP::SingleDP(Session& session, T32Main* main, QWidget* parent)
    : QWidget(parent), session_(session), main_(main) {
  setWindowTitle(QString::fromLatin1(kSinglePointsCaption));
  MakeButtons();
  MakeGrids();
  work_.Allocate(session_.project);
  SdpFill();
  SetButtons();
  int widthTwips =
      2 * kGridLeftTwips + 270 + kLabelWidthTwips + std::max(session_.project.nsingle, 2) * kPointWidthTwips;
  resize(std::max(TwipsToPixelsX(std::min(widthTwips, kMaxInitialWidthTwips)), buttonRow_->sizeHint().width()),
         TwipsToPixelsY(kInitialHeightTwips));
  changes_ = session_.edits.Subscribe([this](const ChangeNote& note) { OnChange(note); });
}

// A new model shape or calculation type closes the window; a model change
// that alters results empties them; the points' own edits made here have
// already been shown.
void SingleDP::OnChange(const ChangeNote& note) {
  const Change c = note.changes;
  if (Has(c, kModelReshaped | Change::kSolids | Change::kType)) {
    CloseOwnWindow(*this, changes_);
    return;
  }
  const bool modelResults = Has(c, Change::kResults) && Has(c, Change::kConstants | Change::kFormulas);
  const bool points = Has(c, Change::kSinglePoints) && note.origin != this;
  if (modelResults || points || Has(c, Change::kSpeciesAdded | Change::kSpeciesRemoved)) {
    ClearResults();
    SetButtons();
  } else if (Has(c, Change::kNames)) {
    SdpFill();
  }
  if (Has(c, Change::kTitle)) ShowTitle(session_.project.title);
}

SingleDP::~SingleDP() = default;

void SingleDP::MakeButtons() {
  buttonRow_ = new QWidget(this);
  auto* row = new QHBoxLayout(buttonRow_);
  const std::vector<std::pair<const char*, const char*>> buttons{{"Calculate", "Calculate"},
                                                                 {"Addpoint", "Add point"},
                                                                 {"DelPoint", "Remove point"},
                                                                 {"ToClip", "To clipboard"},
                                                                 {"Toprinter", "To printer"}};
  for (const auto& [name, caption] : buttons) {
    auto* button = new QPushButton(QString::fromLatin1(caption), buttonRow_);
    button->setObjectName(QString::fromLatin1(name));
    row->addWidget(button);
    buttons_.push_back(button);
  }
  row->addStretch(1);
  connect(buttons_[kCalculate], &QPushButton::clicked, this, &SingleDP::Calculate_Click);
  connect(buttons_[kAddPoint], &QPushButton::clicked, this, &SingleDP::Addpoint_Click);
  connect(buttons_[kDelPoint], &QPushButton::clicked, this, &SingleDP::DelPoint_Click);
  connect(buttons_[kToClip], &QPushButton::clicked, this, &SingleDP::ToClip_Click);
  connect(buttons_[kToPrinter], &QPushButton::clicked, this, &SingleDP::Toprinter_Click);
}

void SingleDP::MakeGrids() {
  sdpGrid_ = new Grid(this);
  sdpGrid_->setObjectName(QStringLiteral("SdpGrid"));
  resultsGrid_ = new Grid(this);
  resultsGrid_->setObjectName(QStringLiteral("ResultsGrid"));
  editA_ = new CellEditor(*sdpGrid_);
  editA_->setObjectName(QStringLiteral("EditA"));
  editA_->SetCommitHandler([this](const CellEdit& edit) { CommitEdit(edit); });
  sdpGrid_->SetKeyHandler([this](QKeyEvent* event) { return GridKey(event); });
  connect(sdpGrid_, &QTableWidget::cellClicked, this, &SingleDP::SdpGrid_Click);
}

void SingleDP::SdpFill() {
  const ProjectState& project = session_.project;
  const int n = project.nsingle, ntotal = project.ntotal();
  resultCells_.resize(static_cast<std::size_t>(n) + 1);
  for (auto& column : resultCells_)
    if (column.size() != static_cast<std::size_t>(ntotal) + 1) column.assign(static_cast<std::size_t>(ntotal) + 1, "");
  ShapeGrid(*sdpGrid_, 2 * project.nreag + 1, n + 1);
  ShapeGrid(*resultsGrid_, ntotal + 1, n + 1);
  for (int row = 0; row <= 2 * project.nreag; ++row) sdpGrid_->SetText(row, 0, ConditionsLabel(project, row));
  for (int row = 0; row <= ntotal; ++row) resultsGrid_->SetText(row, 0, ResultsLabel(project, row));
  for (int p = 1; p <= n; ++p) {
    FillConditionsColumn(p);
    resultsGrid_->SetText(0, p, kResultsUnits);
    FillColumn(p);
  }
  LayoutGrids();
}

void SingleDP::ClearResults() {
  editA_->Discard();
  resultCells_.clear();
  SdpFill();
}

void SingleDP::ShowTitle(const std::string& title) {
  setWindowTitle(ToQ(std::string(kSinglePointsCaption) + ": " + title));
}

void SingleDP::SetButtons() {
  const bool any = session_.project.nsingle >= 1;
  for (int index : {kCalculate, kToClip, kToPrinter, kDelPoint})
    buttons_[static_cast<std::size_t>(index)]->setEnabled(any);
}

void SingleDP::FillConditionsColumn(int p) {
  const ProjectState& project = session_.project;
  for (int row = 0; row <= 2 * project.nreag; ++row) sdpGrid_->SetText(row, p, ConditionsCell(project, row, p));
}

void SingleDP::FillColumn(int p) {
  const auto& cells = resultCells_.at(static_cast<std::size_t>(p));
  for (int k = 1; k < static_cast<int>(cells.size()) && k < resultsGrid_->Rows(); ++k)
    resultsGrid_->SetText(k, p, cells[static_cast<std::size_t>(k)]);
}

void SingleDP::BlankColumn(int p) {
  auto& cells = resultCells_.at(static_cast<std::size_t>(p));
  std::fill(cells.begin(), cells.end(), std::string());
  FillColumn(p);
}

void SingleDP::ShowResults(const SinglePointRun& run) {
  const ProjectState& project = session_.project;
  for (int p = 1; p < static_cast<int>(run.points.size()) && p <= project.nsingle; ++p) {
    const SinglePointResult& result = run.points[static_cast<std::size_t>(p)];
    if (result.status == SinglePointStatus::kNotReached) continue;
    resultCells_[static_cast<std::size_t>(p)] = SinglePointResultCells(project, result);
    FillColumn(p);
  }
}

// --- Commands.

void SingleDP::Calculate_Click() {
  editA_->Commit();
  GuiMessageSink zeroTotal(this, kZeroTotalTitle), failed(this, kSingleFailedTitle), solids(this);
  ShowResults(CalculateSinglePoints(session_.project, work_, SinglePointSinks{zeroTotal, failed, solids}));
}

void SingleDP::Addpoint_Click() {
  editA_->Commit();
  EditSession::Origin from(session_.edits, this);
  edit::AddSinglePoint(session_.edits);
  SdpFill();
  SetButtons();
  sdpGrid_->SetCurrentCell(1, session_.project.nsingle);
}

int SingleDP::CurrentPoint() const {
  const int col = sdpGrid_->Col();
  return col >= 1 && col <= session_.project.nsingle ? col : session_.project.nsingle;
}

void SingleDP::DelPoint_Click() {
  editA_->Commit();
  const int p = CurrentPoint();
  if (p < 1) return;
  sdpGrid_->SetSelectionColour(kColumnHighlight);
  sdpGrid_->SelectRange(0, p, sdpGrid_->Rows() - 1, p);
  const bool yes = AskYesNo(kDeleteQuestion, kEditorTitle, this);
  sdpGrid_->ResetSelectionColour();
  if (!yes) {
    sdpGrid_->SetCurrentCell(1, p);
    return;
  }
  EditSession::Origin from(session_.edits, this);
  edit::RemoveSinglePoint(session_.edits, p);
  resultCells_.erase(resultCells_.begin() + p);
  SdpFill();
  SetButtons();
  if (session_.project.nsingle >= 1) sdpGrid_->SetCurrentCell(1, std::min(p, session_.project.nsingle));
}

void SingleDP::ToClip_Click() {
  editA_->Commit();
  PutClipboardText(SinglePointClipboardText(session_.project, resultCells_, NowText()));
}

void SingleDP::Toprinter_Click() {
  editA_->Commit();
  std::vector<std::string> lines = SinglePointPrintLines(session_.project, resultCells_, NowText());
  if (PrintLines(lines, QString::fromLatin1(kPrintDialogTitle), this, chooser_).printed)
    printedLines_ = std::move(lines);
}

// --- Editing the conditions.

void SingleDP::SdpGrid_Click(int row, int col) {
  const ProjectState& project = session_.project;
  if (row < 1 || col < 1 || row > 2 * project.nreag || col > project.nsingle) return;
  const int j = ConditionsRowReagent(project, row);
  const bool totalRow = ConditionsRowKind(project, row) == ConditionsRow::kTotal;
  sdpGrid_->SetCurrentCell(row, col);
  if (totalRow != project.sflag(j, col)) {
    EditSession::Origin from(session_.edits, this);
    edit::ToggleSinglePointGiven(session_.edits, j, col);
    FillConditionsColumn(col);
    BlankColumn(col);
    return;
  }
  editA_->StartCellEdit(StartKey::Enter());
}

bool SingleDP::GridKey(QKeyEvent* event) {
  std::optional<StartKey> key = StartKeyOf(*event);
  if (!key) return false;
  const int row = sdpGrid_->Row(), col = sdpGrid_->Col();
  const ProjectState& project = session_.project;
  if (row < 1 || col < 1 || row > 2 * project.nreag) return true;
  if (key->whole) {
    SdpGrid_Click(row, col);
    return true;
  }
  const int j = ConditionsRowReagent(project, row);
  const bool totalRow = ConditionsRowKind(project, row) == ConditionsRow::kTotal;
  if (totalRow == project.sflag(j, col)) editA_->StartCellEdit(*key);
  return true;
}

void SingleDP::CommitEdit(const CellEdit& edit) {
  const ProjectState& project = session_.project;
  const int row = edit.row, p = edit.col;
  if (row < 1 || row > 2 * project.nreag || p < 1 || p > project.nsingle) return;
  const int j = ConditionsRowReagent(project, row);
  GuiMessageSink sink(this);
  const bool totalRow = ConditionsRowKind(project, row) == ConditionsRow::kTotal;
  const double stored = totalRow ? project.stotal(j, p) : project.sfree(j, p);
  // Text that is not a number is refused and the old value stays.
  std::optional<double> typed = edit.Changed() ? ParseTypedNumber(edit.text, sink) : TypedNumber(edit.text);
  const double value = typed.value_or(stored);
  EditSession::Origin from(session_.edits, this);
  const bool changed = edit::SetSinglePointValue(session_.edits, j, p, totalRow, value) != Change::kNone;
  sdpGrid_->SetText(row, p, totalRow ? SingleTotalText(value) : SinglePXText(value));
  if (changed) BlankColumn(p);
}

// --- Layout.

void SingleDP::LayoutGrids() {
  const int left = TwipsToPixelsX(kGridLeftTwips), gap = TwipsToPixelsY(kGapTwips);
  buttonRow_->setGeometry(0, 0, width(), buttonRow_->sizeHint().height());
  const int top = buttonRow_->height();
  const int widthLimit = PixelsToTwipsX(std::max(width() - left, 0)) - 60;
  const int heightTwips = PixelsToTwipsY(std::max(height() - top - 2 * gap, 0));
  const int conditionsTwips = FittedTwips(RowHeights(*sdpGrid_), heightTwips / 2);
  const int resultsTwips = FittedTwips(RowHeights(*resultsGrid_), heightTwips - conditionsTwips - 60);
  sdpGrid_->setGeometry(left, top, TwipsToPixelsX(FittedTwips(ColWidths(*sdpGrid_), widthLimit)),
                        TwipsToPixelsY(conditionsTwips));
  resultsGrid_->setGeometry(left, sdpGrid_->geometry().bottom() + 1 + gap,
                            TwipsToPixelsX(FittedTwips(ColWidths(*resultsGrid_), widthLimit)),
                            TwipsToPixelsY(std::max(resultsTwips, 0)));
}

void SingleDP::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutGrids();
  if (main_ != nullptr) main_->Splitter2(2);
}

void SingleDP::closeEvent(QCloseEvent* event) {
  editA_->Commit();
  QWidget::closeEvent(event);
}

}  // namespace tarn::gui
