#include "gui/tables/table_window.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>

#include "core/tables/table_export.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/file_dialog.h"
#include "gui/ui/grid.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

constexpr int kGridLeftTwips = 120;
constexpr int kMaxInitialWidthTwips = 15000;
constexpr int kMaxInitialGridTwips = 6000;
constexpr const char* kTableFileFilter = "CSV table (*.csv)|*.csv|Excel workbook (*.xlsx)|*.xlsx|";

// The system's general date-and-time text (the locale's short form).
std::string NowText() {
  return FromQ(QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
}

}  // namespace

T32Table::T32Table(Session& session, QWidget* parent)
    : QWidget(parent), session_(session), createdAt_(NowText()) {
  setWindowTitle(QStringLiteral("Concentrations/Mol dm-3"));
  top_ = MakeTop();
  tableGrid_ = new Grid(this);
  tableGrid_->setObjectName(QStringLiteral("TableGrid"));
  FillTable();
  SetCaptions(table_.captions);
  SetInitialSize();
  changes_ = session_.edits.Subscribe([this](const ChangeNote& note) { OnChange(note); });
}

// Numbers that no longer match the project are not shown: the window goes.
void T32Table::OnChange(const ChangeNote& note) {
  const Change c = note.changes;
  if (Has(c, Change::kResults | Change::kType | Change::kSpeciesAdded | Change::kSpeciesRemoved | Change::kSolids |
                 kModelReshaped)) {
    CloseOwnWindow(*this, changes_);
    return;
  }
  if (Has(c, Change::kNames | Change::kNewResults)) FillTable();
  if (Has(c, Change::kTitle)) ShowTitle(session_.project.title);
}

QWidget* T32Table::MakeTop() {
  auto* top = new QWidget(this);
  auto* labels = new QVBoxLayout;
  for (std::size_t i = 0; i < txt_.size(); ++i) {
    txt_[i] = new QLabel(top);
    txt_[i]->setObjectName(QStringLiteral("Txt%1").arg(i));
    txt_[i]->setTextFormat(Qt::PlainText);
    labels->addWidget(txt_[i]);
  }
  auto* frame = new QGroupBox(QStringLiteral("Precision"), top);
  auto* options = new QVBoxLayout(frame);
  const std::array<const char*, 2> captions{"normal", "high"};
  const std::array<const char*, 2> hints{"4 significant figures", "7 significant figures"};
  for (int i = 0; i < 2; ++i) {
    auto* option = new QRadioButton(QString::fromLatin1(captions[i]), frame);
    option->setObjectName(QStringLiteral("SigFig%1").arg(i));
    option->setToolTip(QString::fromLatin1(hints[i]));
    connect(option, &QRadioButton::clicked, this, [this, i] { SigFig_Click(i); });
    options->addWidget(option);
    sigFig_[static_cast<std::size_t>(i)] = option;
  }
  sigFig_[0]->setChecked(true);
  copy_ = new QPushButton(QStringLiteral("Copy to Clip&Board"), top);
  copy_->setObjectName(QStringLiteral("Copy"));
  connect(copy_, &QPushButton::clicked, this, &T32Table::Copy_Click);
  save_ = new QPushButton(QStringLiteral("&Save table as..."), top);
  save_->setObjectName(QStringLiteral("SaveTable"));
  save_->setToolTip(QStringLiteral("csv, or an Excel workbook with percentages and the model"));
  connect(save_, &QPushButton::clicked, this, &T32Table::SaveTable_Click);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(copy_);
  buttons->addWidget(save_);
  auto* row = new QHBoxLayout(top);
  row->addLayout(labels, 1);
  row->addWidget(frame);
  row->addLayout(buttons);
  return top;
}

void T32Table::FillTable() {
  table_ = MakeConcentrationTable(session_.project, session_.results, precision_, createdAt_);
  Grid& grid = *tableGrid_;
  int rows = static_cast<int>(table_.cells.size());
  int cols = rows > 0 ? static_cast<int>(table_.cells.front().size()) : 0;
  grid.ClearCells();
  grid.SetRows(rows);
  grid.SetCols(cols);
  grid.SetFixedRows(1);
  for (int c = 0; c < cols; ++c) {
    grid.SetColAlignment(c, Qt::AlignHCenter);
    if (static_cast<std::size_t>(c) < table_.columnWidthsTwips.size())
      grid.SetColWidthTwips(c, table_.columnWidthsTwips[static_cast<std::size_t>(c)]);
  }
  for (int r = 0; r < rows; ++r) {
    const auto& line = table_.cells[static_cast<std::size_t>(r)];
    for (int c = 0; c < cols && static_cast<std::size_t>(c) < line.size(); ++c)
      grid.SetText(r, c, line[static_cast<std::size_t>(c)]);
  }
  WidenColsToContents(grid);  // the long forms of the high precision show whole
  if (!isMinimized()) FitGrid(grid);
}

void T32Table::SetCaptions(const std::array<std::string, 4>& captions) {
  captions_ = captions;
  for (std::size_t i = 0; i < txt_.size(); ++i) txt_[i]->setText(ToQ(captions_[i]));
}

void T32Table::ShowTitle(const std::string& title) {
  captions_[1] = title;
  txt_[1]->setText(ToQ(title));
}

void T32Table::SigFig_Click(int index) {
  precision_ = index == 1 ? TablePrecision::kHigh : TablePrecision::kNormal;
  sigFig_[index == 1 ? 1 : 0]->setChecked(true);
  FillTable();
}

void T32Table::Copy_Click() {
  ConcentrationTable shown = table_;
  shown.captions = captions_;
  tableGrid_->SelectAllCells();
  PutClipboardText(ConcentrationTableText(session_.project, shown));
}

void T32Table::SaveTable_Click() {
  const std::string& project = session_.project.currentFile;
  std::string preset = "table.csv";
  if (!project.empty()) {
    QFileInfo info(ToQ(project));
    preset = FromQ(info.absolutePath() + QLatin1Char('/') + info.completeBaseName()) + ".csv";
  }
  std::optional<std::string> path =
      SaveFileDialog("Save table as", kTableFileFilter, preset, this, TypedName::kAddChosenType);
  if (!path) return;
  GuiMessageSink sink(this);
  SaveTable(*path, TableFileTypeOf(*path), session_.project, session_.results, CreationTimeText(std::time(nullptr)),
            sink);
}

void T32Table::SetInitialSize() {
  int widthTwips = 270 + 2 * kGridLeftTwips;
  for (int c = 0; c < tableGrid_->Cols(); ++c) widthTwips += tableGrid_->ColWidthTwips(c);
  int gridTwips = 270;
  for (int r = 0; r < tableGrid_->Rows(); ++r) gridTwips += tableGrid_->RowHeightTwips(r);
  int width = std::max(TwipsToPixelsX(std::min(widthTwips, kMaxInitialWidthTwips)), top_->sizeHint().width());
  int height = top_->sizeHint().height() + TwipsToPixelsY(std::min(gridTwips, kMaxInitialGridTwips) + 120);
  resize(width, height);
}

void T32Table::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  top_->setGeometry(0, 0, width(), top_->sizeHint().height());
  tableGrid_->move(TwipsToPixelsX(kGridLeftTwips), top_->height());
  if (!isMinimized()) FitGrid(*tableGrid_);
}

}  // namespace tarn::gui
