#pragma once
// The single data points window SingleDP (caption "Single data points"): the
// points of the project as columns of a conditions grid, their results in a
// results grid below, and the commands to calculate, add and remove points,
// copy both tables to the clipboard and print them.
//
// A click on a conditions cell (or Enter on it) either switches the reagent
// between total given and pX given (a "(set pX)" or "(set total)" cell) or
// opens the floating cell editor over the value; a typed character opens the
// editor too. The results live in the window only (one column of texts per
// point); a change of a point's conditions blanks its column.
//
//   auto* sdp = new SingleDP(session, &mainWindow);
//   sdp->Calculate_Click();

#include <QWidget>
#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "gui/app/session.h"
#include "gui/ui/printer.h"
#include "core/tables/single_points.h"

class QPushButton;

namespace tarn::gui {

class CellEditor;
class Grid;
class T32Main;
struct CellEdit;

inline constexpr const char* kSinglePointsCaption = "Single data points";
inline constexpr const char* kPrintDialogTitle = "Print single data point table";

class SingleDP : public QWidget {
  Q_OBJECT

 public:
  // main may be null (no layout partner).
  SingleDP(Session& session, T32Main* main, QWidget* parent = nullptr);
  ~SingleDP() override;

  // Rebuilds both grids from the project; the results kept for the points are shown.
  void SdpFill();
  // The results no longer match the model: every result column is emptied, the grids rebuilt.
  void ClearResults();
  // The caption "Single data points: " followed by the title.
  void ShowTitle(const std::string& title);
  void SetButtons();

  // What the user's clicks call.
  void Calculate_Click();
  void Addpoint_Click();
  void DelPoint_Click();
  void ToClip_Click();
  void Toprinter_Click();
  void SdpGrid_Click(int row, int col);

  Grid& SdpGrid() { return *sdpGrid_; }
  Grid& ResultsGrid() { return *resultsGrid_; }
  CellEditor& EditA() { return *editA_; }
  QPushButton& Button(int index) { return *buttons_.at(static_cast<std::size_t>(index)); }
  const SinglePointCells& ResultCells() const { return resultCells_; }
  // The last page sent to the printer (for a look at what was printed).
  const std::vector<std::string>& PrintedLines() const { return printedLines_; }
  void SetPrinterChooser(PrinterChooser chooser) { chooser_ = std::move(chooser); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void MakeButtons();
  void MakeGrids();
  void FillConditionsColumn(int p);
  void FillColumn(int p);
  void BlankColumn(int p);
  void ShowResults(const SinglePointRun& run);
  bool GridKey(QKeyEvent* event);
  void CommitEdit(const CellEdit& edit);
  void OnChange(const ChangeNote& note);
  void LayoutGrids();
  int CurrentPoint() const;

  Session& session_;
  T32Main* main_;
  EditSession::Subscription changes_;
  SolverWork work_;
  SinglePointCells resultCells_;
  std::vector<std::string> printedLines_;
  PrinterChooser chooser_ = ChoosePrinterInDialog;
  std::vector<QPushButton*> buttons_;
  QWidget* buttonRow_ = nullptr;
  Grid* sdpGrid_ = nullptr;
  Grid* resultsGrid_ = nullptr;
  CellEditor* editA_ = nullptr;
};

}  // namespace tarn::gui
