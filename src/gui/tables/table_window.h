#pragma once
// The concentration table window T32Table (caption "Concentrations/Mol dm-3"):
// the results of the last point series as a grid, three caption lines, the
// precision choice, the copy to the clipboard and "Save table as..." (csv or
// an Excel workbook, core/tables/table_export.h). It only reads the session's
// project and results; it never calculates. When the results no longer match
// the project it closes itself; new results and renamed reagents refill it,
// a new title shows in its caption line.
//
//   auto* table = new T32Table(session);      // loads: captions, FillTable

#include <QWidget>
#include <array>
#include <string>

#include "core/tables/concentration_table.h"
#include "gui/app/session.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace tarn::gui {

class Grid;

class T32Table : public QWidget {
  Q_OBJECT

 public:
  explicit T32Table(Session& session, QWidget* parent = nullptr);

  // Fills the grid from the results in the chosen precision.
  void FillTable();
  // The caption line of the title, when the title changes while the table is open.
  void ShowTitle(const std::string& title);

  // What the user's clicks call.
  void SigFig_Click(int index);
  void Copy_Click();
  // Asks for a file name and saves the table there: a name ending in .xlsx as
  // a workbook, any other as csv; a name typed without an extension takes
  // the type chosen in the dialog. A failure says "can't save " + the file.
  void SaveTable_Click();

  Grid& TableGrid() { return *tableGrid_; }
  TablePrecision Precision() const { return precision_; }
  const std::array<std::string, 4>& Captions() const { return captions_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* MakeTop();
  void SetCaptions(const std::array<std::string, 4>& captions);
  void SetInitialSize();
  void OnChange(const ChangeNote& note);

  Session& session_;
  EditSession::Subscription changes_;
  std::string createdAt_;
  TablePrecision precision_ = TablePrecision::kNormal;
  ConcentrationTable table_;
  std::array<std::string, 4> captions_;
  std::array<QLabel*, 4> txt_{};
  std::array<QRadioButton*, 2> sigFig_{};
  QPushButton* copy_ = nullptr;
  QPushButton* save_ = nullptr;
  QWidget* top_ = nullptr;
  Grid* tableGrid_ = nullptr;
};

}  // namespace tarn::gui
