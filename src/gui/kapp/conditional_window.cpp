#include "gui/kapp/conditional_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/project_edits.h"
#include "gui/app/main_window.h"
#include "gui/kapp/kapp_views.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn::gui {

namespace {

constexpr int kMarginTwips = 120;
constexpr int kItemTwips = 225;
constexpr int kSumExtraTwips = 120;
constexpr int kTermRowTwips = 255;
constexpr int kMaxGridTwips = 270 + 6 * kTermRowTwips;
constexpr std::array<int, 3> kColumnTwips{300, 1650, 1200};
constexpr int kPopupWidthTwips = 1800;
constexpr int kPlotMinTwips = 1500;
constexpr const char* kRemoveQuestion = "Remove this term?";

std::vector<int> Sizes(const Grid& grid, bool rows) {
  std::vector<int> sizes;
  const int n = rows ? grid.Rows() : grid.Cols();
  for (int k = 0; k < n; ++k) sizes.push_back(rows ? grid.RowHeightTwips(k) : grid.ColWidthTwips(k));
  return sizes;
}

void FillList(QListWidget& list, const std::vector<std::string>& texts) {
  list.clear();
  for (const std::string& text : texts) list.addItem(ToQ(text));
}

}  // namespace

Conditional::Conditional(Session& session, T32Main* main, QWidget* parent)
    : QWidget(parent),
      session_(session),
      main_(main),
      def_(NewKappDefinition(session.project)) {
  setWindowTitle(QString::fromLatin1(kConditionalCaption));
  top_ = new QWidget(this);
  auto* row = new QHBoxLayout(top_);
  row->addWidget(MakeDefinitionPanel(), 0, Qt::AlignTop);
  row->addWidget(MakeResultPanel(), 1, Qt::AlignTop);
  plot_ = new PlotKappView(this);
  MakePopups();
  FillLists();
  FillDefinitionGrid();
  SetExpression();
  resize(TwipsToPixelsX(9000), TwipsToPixelsY(8000));
  changes_ = session_.edits.Subscribe([this](const ChangeNote& note) { OnChange(note); });
}

Conditional::~Conditional() = default;

QWidget* Conditional::MakeDefinitionPanel() {
  auto* panel = new QWidget(top_);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  for (int s = 0; s < 2; ++s) {
    auto* grid = new Grid(panel);
    grid->setObjectName(QStringLiteral("DefinitionGrid%1").arg(s));
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(grid, &QTableWidget::cellDoubleClicked, this,
            [this, s](int r, int c) { DefinitionGrid_DblClick(s, r, c); });
    grids_[static_cast<std::size_t>(s)] = grid;
    column->addWidget(grid);
  }
  auto* commands = new QHBoxLayout;
  const std::array<const char*, 2> captions{"Add term", "Remove term"};
  for (int i = 0; i < 2; ++i) {
    auto* button = new QPushButton(QString::fromLatin1(captions[static_cast<std::size_t>(i)]), panel);
    button->setObjectName(QStringLiteral("Commands%1").arg(i));
    connect(button, &QPushButton::clicked, this, [this, i] { Commands_Click(i); });
    commands_[static_cast<std::size_t>(i)] = button;
    commands->addWidget(button);
  }
  column->addLayout(commands);
  auto* frame = new QGroupBox(panel);
  frame->setObjectName(QStringLiteral("StandardFrame"));
  auto* standardRow = new QHBoxLayout(frame);
  classic_ = new QPushButton(QStringLiteral("Standard"), frame);
  classic_->setObjectName(QStringLiteral("Classic"));
  connect(classic_, &QPushButton::clicked, this, &Conditional::Classic_Click);
  standard_ = new QComboBox(frame);
  standard_->setObjectName(QStringLiteral("Standard"));
  standardRow->addWidget(classic_);
  standardRow->addWidget(standard_, 1);
  column->addWidget(frame);
  return panel;
}

QWidget* Conditional::MakeResultPanel() {
  auto* panel = new QWidget(top_);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  expression_ = new ExpressionView(panel);
  column->addWidget(expression_);
  auto* axisRow = new QHBoxLayout;
  axisRow->addWidget(new QLabel(QStringLiteral("x-axis variable"), panel));
  xaxis_ = new QComboBox(panel);
  xaxis_->setObjectName(QStringLiteral("XaxisReagent"));
  connect(xaxis_, &QComboBox::activated, this, [this] { ClearPlot(); });  // the user's choice only
  axisRow->addWidget(xaxis_);
  axisRow->addStretch(1);
  column->addLayout(axisRow);
  auto* goRow = new QHBoxLayout;
  goPlot_ = new QPushButton(QStringLiteral("Plot"), panel);
  goPlot_->setObjectName(QStringLiteral("GoPlot"));
  goTable_ = new QPushButton(QStringLiteral("Table to clipboard"), panel);
  goTable_->setObjectName(QStringLiteral("GoTable"));
  connect(goPlot_, &QPushButton::clicked, this, &Conditional::GoPlot_Click);
  connect(goTable_, &QPushButton::clicked, this, &Conditional::GoTable_Click);
  goRow->addWidget(goPlot_);
  goRow->addWidget(goTable_);
  goRow->addStretch(1);
  column->addLayout(goRow);
  column->addStretch(1);
  return panel;
}

void Conditional::MakePopups() {
  types_ = new PopupList(this);
  types_->setObjectName(QStringLiteral("Types"));
  reagents_ = new PopupList(this);
  reagents_->setObjectName(QStringLiteral("Reagents"));
  species_ = new PopupList(this);
  species_->setObjectName(QStringLiteral("Species"));
  sumList_ = new PopupList(this, true);
  sumList_->setObjectName(QStringLiteral("SumList"));
  connect(types_, &PopupList::Chosen, this, &Conditional::Types_Choose);
  connect(reagents_, &PopupList::Chosen, this, &Conditional::Reagents_Choose);
  connect(species_, &PopupList::Chosen, this, &Conditional::Species_Choose);
  connect(sumList_, &PopupList::Confirmed, this, &Conditional::SumList_Confirm);
  connect(sumList_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (sumList_->row(item) == 0 && item->checkState() == Qt::Checked) SumList_Confirm();
  });
}

// The lists that follow the model: types, species, sum members, the
// complexes of the classic definition and the x-axis reagents.
void Conditional::FillLists() {
  const ProjectState& project = session_.project;
  FillList(*types_, KappTypeTexts(project));
  std::vector<std::string> formulas;
  for (int i = 1; i <= project.nspecies; ++i) formulas.push_back(SpeciesFormula(project, i));
  FillList(*species_, formulas);
  const QString shownStandard = standard_->currentText();
  standard_->clear();
  for (int i : StandardSpecies(project)) standard_->addItem(ToQ(SpeciesFormula(project, i)), i);
  standard_->setCurrentIndex(std::max(standard_->findText(shownStandard), 0));
  classic_->setEnabled(standard_->count() > 0);
  const int axis = xaxis_->count() == project.nreag ? xaxis_->currentIndex() : DefaultXReagent(project) - 1;
  xaxis_->clear();
  for (int j = 1; j <= project.nreag; ++j) xaxis_->addItem(ToQ(project.name(j)));
  xaxis_->setCurrentIndex(axis);
}

// Results that changed leave no old curve behind; a model that changed its
// names or species refills the lists.
void Conditional::OnChange(const ChangeNote& note) {
  const Change c = note.changes;
  if (Has(c, kModelReshaped | Change::kNames | Change::kFormulas | Change::kSpeciesAdded | Change::kSpeciesRemoved |
                 Change::kSolids))
    Form_Activate();
  else if (Has(c, Change::kResults | Change::kNewResults))
    ClearPlot();
}

void Conditional::Form_Activate() {
  if (!DefinitionFitsModel(session_.project, def_)) {
    def_ = NewKappDefinition(session_.project);
    side_ = kNumerator;
    ClearPlot();
  }
  FillLists();
  FillDefinitionGrid();
  ShowExpression();
}

void Conditional::FillDefinitionGrid() {
  const ProjectState& project = session_.project;
  for (int s = 0; s < 2; ++s) {
    Grid& grid = DefinitionGrid(s);
    const int n = def_.nterms[static_cast<std::size_t>(s)];
    grid.ClearCells();
    grid.SetRows(n + 1);
    grid.SetCols(3);
    grid.SetFixedRows(1);
    for (int c = 0; c < 3; ++c) grid.SetColWidthTwips(c, kColumnTwips[static_cast<std::size_t>(c)]);
    grid.SetText(0, 1, s == kNumerator ? "Numerator" : "Denominator");
    grid.SetText(0, 2, "contents");
    for (int t = 1; t <= n; ++t) {
      grid.SetRowHeightTwips(t, kTermRowTwips);
      grid.SetText(t, 0, std::string(Trim(PlainText(t))));
      grid.SetText(t, 1, KappTypeText(project, def_.termType(t, s)));
      grid.SetText(t, 2, KappArgumentText(project, def_, t, s));
    }
    WidenColsToContents(grid);  // "complex concentration" and a sum's members show whole
    FitDefinitionGrid(grid);
  }
}

void Conditional::FitDefinitionGrid(Grid& grid) {
  grid.setFixedSize(TwipsToPixelsX(FittedTwips(Sizes(grid, false), 1 << 20)),
                    TwipsToPixelsY(FittedTwips(Sizes(grid, true), kMaxGridTwips)));
}

// The definition changed: the fraction shows it and the old curve goes.
void Conditional::SetExpression() {
  ShowExpression();
  ClearPlot();
}

void Conditional::ShowExpression() {
  tarn::SetExpression(session_.project, def_);
  expression_->SetTexts(def_.exprText);
}

void Conditional::ClearPlot() {
  plot_->Clear();
}

// --- Editing a term.

void Conditional::DefinitionGrid_DblClick(int side, int row, int col) {
  Grid& grid = DefinitionGrid(side);
  if (row < 1 || row > def_.nterms[static_cast<std::size_t>(side)] || col < 1) return;
  const int code = def_.termType(row, side);
  if (col == 2 && code == 0) {
    Beep();
    col = 1;
  }
  grid.SetCurrentCell(row, col);
  side_ = side;
  row_ = row;
  col_ = col;
  const ProjectState& project = session_.project;
  const int arg = def_.termArg(row, side);
  if (col == 1) {
    types_->setCurrentRow(code - 1);
    OpenPopup(*types_, types_->count() * kItemTwips);
    return;
  }
  switch (TermKind(project.nreag, code)) {
    case KappTermKind::kComplex:
      species_->setCurrentRow(arg - 1);
      OpenPopup(*species_, species_->count() * kItemTwips);
      return;
    case KappTermKind::kSum:
      sumList_->clear();
      sumList_->addItem(QStringLiteral("OK"));
      for (int j = 1; j <= project.nreag; ++j) sumList_->addItem(ToQ(project.name(j)));
      for (int i = 1; i <= project.nspecies; ++i) sumList_->addItem(ToQ(SpeciesFormula(project, i)));
      for (int k = 0; k < sumList_->count(); ++k) {
        QListWidgetItem* item = sumList_->item(k);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(k > 0 && def_.sumMember(k, side) ? Qt::Checked : Qt::Unchecked);
      }
      OpenPopup(*sumList_, sumList_->count() * kItemTwips + kSumExtraTwips);
      return;
    default:
      FillList(*reagents_, KappReagentChoices(project, code));
      reagents_->setCurrentRow(arg - 1);
      OpenPopup(*reagents_, reagents_->count() * kItemTwips);
  }
}

// The list opens with its top-left corner on the remembered cell's.
void Conditional::OpenPopup(PopupList& list, int heightTwips) {
  Grid& grid = DefinitionGrid(side_);
  const QPoint corner = grid.viewport()->mapTo(this, grid.CellRect(row_, col_).topLeft());
  const int height = std::min(TwipsToPixelsY(heightTwips) + 2 * list.frameWidth(), this->height() - corner.y());
  // As wide as its longest entry (with room for a scroll bar), never narrower than usual.
  const int entries = list.sizeHintForColumn(0) + 2 * list.frameWidth() + list.verticalScrollBar()->sizeHint().width();
  list.setGeometry(corner.x(), corner.y(), std::max(TwipsToPixelsX(kPopupWidthTwips), entries), std::max(height, 20));
  list.show();
  list.raise();
  list.setFocus();
}

void Conditional::Update(const std::string& text) {
  Grid& grid = DefinitionGrid(side_);
  const int row = grid.Row(), col = grid.Col();
  grid.SetText(row_, col_, text);
  grid.SetCurrentCell(row, col);
  SetExpression();
}

void Conditional::Types_Choose(int index) {
  if (index < 0) return;
  SetTermType(def_, row_, side_, index + 1);
  types_->hide();
  DefinitionGrid(side_).SetText(row_, 2, KappArgumentText(session_.project, def_, row_, side_));
  Update(KappTypeText(session_.project, index + 1));
}

void Conditional::Reagents_Choose(int index) {
  QListWidgetItem* item = reagents_->item(index);
  if (item == nullptr || item->text() == QString::fromLatin1(kNotApplicable)) return;
  def_.termArg(row_, side_) = index + 1;
  reagents_->hide();
  Update(session_.project.name(index + 1));
}

void Conditional::Species_Choose(int index) {
  if (index < 0 || index >= session_.project.nspecies) return;
  def_.termArg(row_, side_) = index + 1;
  species_->hide();
  Update(SpeciesFormula(session_.project, index + 1));
}

void Conditional::SumList_Confirm() {
  if (sumList_->isHidden()) return;
  const int n = session_.project.nreag + session_.project.nspecies;
  for (int k = 1; k <= n && k < sumList_->count(); ++k)
    def_.sumMember(k, side_) = sumList_->item(k)->checkState() == Qt::Checked;
  sumList_->hide();
  Grid& grid = DefinitionGrid(side_);
  const int row = grid.Row(), col = grid.Col();
  FillDefinitionGrid();  // every sum term of the side shows the members
  grid.SetCurrentCell(row, col);
  SetExpression();
}

void Conditional::Commands_Click(int index) {
  Grid& grid = DefinitionGrid(side_);
  if (index == 0) {
    AddTerm(def_, side_);
  } else {
    if (def_.nterms[static_cast<std::size_t>(side_)] <= 1) {
      Beep();
      return;
    }
    const int r = std::clamp(grid.Row(), 1, def_.nterms[static_cast<std::size_t>(side_)]);
    grid.SetCurrentCell(r, 1);
    HighlightRow(grid);
    const bool yes = AskYesNo(kRemoveQuestion, kAppTitle, this);
    ClearHighlight(grid);
    if (yes) RemoveTerm(def_, side_, r);
  }
  FillDefinitionGrid();
  SetExpression();
}

void Conditional::Classic_Click() {
  if (standard_->currentIndex() < 0) return;
  ClassicDefinition(session_.project, def_, standard_->currentData().toInt());
  FillDefinitionGrid();
  SetExpression();
}

// --- Plot and table.

bool Conditional::Evaluate(KappValues& values, KappAxis& axis) {
  if (!DefinitionFitsModel(session_.project, def_)) Form_Activate();
  GuiMessageSink sink(this);
  values = CalcKapp(session_.project, session_.work, session_.results, def_, sink);
  if (!values.ok) return false;
  axis = KappXAxis(session_.project, session_.results, xaxis_->currentIndex() + 1, sink);
  return axis.ok;
}

void Conditional::GoPlot_Click() {
  ClearPlot();  // a refused plot leaves no old curve behind
  KappValues values;
  KappAxis axis;
  if (!Evaluate(values, axis)) return;
  GuiMessageSink sink(this);
  std::optional<KappPlotSetup> setup = PrepareKappPlot(session_.project, def_, axis, values, sink);
  if (setup) plot_->Plot(*setup, axis, values);
}

void Conditional::GoTable_Click() {
  KappValues values;
  KappAxis axis;
  if (!Evaluate(values, axis)) return;
  PutClipboardText(KappTableText(session_.project, def_, axis, values));
}

// --- Window events.

void Conditional::LayoutPlot() {
  const int margin = TwipsToPixelsX(kMarginTwips);
  top_->setGeometry(0, 0, width(), top_->sizeHint().height());
  const int top = top_->geometry().bottom() + 1;
  plot_->setGeometry(margin, top, std::max(width() - 2 * margin, TwipsToPixelsX(kPlotMinTwips)),
                     std::max(height() - top - TwipsToPixelsY(kMarginTwips), TwipsToPixelsY(kPlotMinTwips)));
}

void Conditional::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutPlot();
  if (main_ != nullptr) main_->Splitter3(2);
}

void Conditional::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  LayoutPlot();
  if (activationHooked_) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
    connect(sub, &QMdiSubWindow::aboutToActivate, this, &Conditional::Form_Activate);
    activationHooked_ = true;
  }
}

// The editor goes back to the species distribution, the only calculation
// type that conditional constants are made for: once the closing is over,
// and only when no other result window has been opened in its place (a
// command that closes this window to show another result has already
// calculated that result for the type as it stands).
void Conditional::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (main_ == nullptr) return;
  QPointer<T32Main> main(main_);
  QTimer::singleShot(0, main_, [main] {
    if (main == nullptr) return;
    ChildWindows& children = main->Children();
    if (!children.IsOpen(kEditorWindow) || main->GetSession().project.type == kDistribution) return;
    for (int window : {kPlotWindow, kTableWindow, kSinglePointsWindow, kConditionalWindow})
      if (children.IsOpen(window)) return;
    edit::SetCalculationType(main->GetSession().edits, kDistribution);
  });
}

}  // namespace tarn::gui
