// The single data points window as a user works it: add a point, switch a
// reagent between total and pX by a click, type a total into the floating
// editor, calculate, remove a point, copy and print.

#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include "gui/tables/single_points_window.h"
#include "gui/ui/cell_editor.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "core/model/message_sink.h"
#include "support/gui/app_fixture.h"

namespace tarn::gui {
namespace {

using namespace test;

// Copper(II) and glycine: reagents Cu, Gly, H; seven species, no solid.
constexpr int kRows = 7;  // conditions rows 0..6

std::vector<std::string> Column(Grid& grid, int col) {
  std::vector<std::string> cells;
  for (int r = 0; r < grid.Rows(); ++r) cells.push_back(grid.Text(r, col));
  return cells;
}

std::string WithoutFirstLine(const std::string& text) {
  return text.substr(text.find('\r'));
}

class SinglePointsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CalculatedSample(session, "copper-glycine-distribution.cld", 11), kSuccess);
    dp = std::make_unique<SingleDP>(session, nullptr);
    dp->show();
  }
  Session session;
  std::unique_ptr<SingleDP> dp;
};

TEST_F(SinglePointsWindowTest, AddCalculateAndSwitchAPoint) {
  SingleDP& window = *dp;
  EXPECT_EQ(window.windowTitle(), "Single data points");
  for (int b = 0; b < 5; ++b) EXPECT_EQ(window.Button(b).isEnabled(), b == 1) << b;  // only "Add point"

  window.Button(1).click();
  ASSERT_EQ(session.project.nsingle, 1);
  EXPECT_TRUE(session.project.modified);
  for (int b = 0; b < 5; ++b) EXPECT_TRUE(window.Button(b).isEnabled()) << b;
  Grid& conditions = window.SdpGrid();
  ASSERT_EQ(conditions.Rows(), kRows);
  EXPECT_EQ(Column(conditions, 0),
            (std::vector<std::string>{"conditions", "total Cu", "total Gly", "total H", "p(Cu)", "p(Gly)", "p(H)"}));
  EXPECT_EQ(Column(conditions, 1),
            (std::vector<std::string>{"point 1", "0.01", "0.01", "(set pX)", "(set total)", "(set total)", "7.0"}));

  window.Button(0).click();
  Grid& results = window.ResultsGrid();
  ASSERT_EQ(results.Rows(), 1 + 3 + 7);
  EXPECT_EQ(results.Text(0, 0), "results");
  EXPECT_EQ(results.Text(10, 0), "OH");
  // The core's calculation of the same point, cell by cell; H is an input.
  SolverWork work;
  tarn::RecordingSink sink;
  SinglePointRun run = CalculateSinglePoints(session.project, work, SinglePointSinks{sink, sink, sink});
  const std::vector<std::string> expected = SinglePointResultCells(session.project, run.points[1]);
  for (int k = 1; k < results.Rows(); ++k) EXPECT_EQ(results.Text(k, 1), expected[k]) << k;
  EXPECT_TRUE(results.Text(3, 1).empty());
  EXPECT_FALSE(results.Text(1, 1).empty());

  // A click on "(set pX)" gives H its total; the results no longer hold.
  session.project.modified = false;
  window.SdpGrid_Click(3, 1);
  EXPECT_TRUE(session.project.sflag(3, 1));
  EXPECT_EQ(conditions.Text(3, 1), "0.01");
  EXPECT_EQ(conditions.Text(6, 1), "(set total)");
  EXPECT_TRUE(session.project.modified);
  EXPECT_TRUE(results.Text(1, 1).empty());
}

TEST_F(SinglePointsWindowTest, TypingAZeroTotalStopsTheCalculationWithItsMessage) {
  SingleDP& window = *dp;
  window.Addpoint_Click();
  window.Addpoint_Click();
  window.Calculate_Click();
  ASSERT_FALSE(window.ResultsGrid().Text(1, 2).empty());

  window.SdpGrid_Click(1, 2);  // total Cu of point 2: the editor opens on it
  CellEditor& editor = window.EditA();
  ASSERT_TRUE(editor.Editing());
  EXPECT_EQ(editor.text(), "0.01");
  editor.setText("0,002");
  editor.Commit();
  EXPECT_DOUBLE_EQ(session.project.stotal(1, 2), 0.002f);
  EXPECT_EQ(window.SdpGrid().Text(1, 2), "0.002");
  EXPECT_TRUE(window.ResultsGrid().Text(1, 2).empty());
  EXPECT_FALSE(window.ResultsGrid().Text(1, 1).empty());

  // A typo is refused and the old value stays, results and all ("2x" was
  // once a total of 2, "abc" of 0).
  for (const char* typo : {"2x", "abc"}) {
    window.SdpGrid_Click(1, 2);
    editor.setText(typo);
    auto refused = AnswerMessageBox(QMessageBox::Ok);
    editor.Commit();
    EXPECT_EQ(refused->text, "invalid entry for number") << typo;
    EXPECT_DOUBLE_EQ(session.project.stotal(1, 2), 0.002f) << typo;
    EXPECT_EQ(window.SdpGrid().Text(1, 2), "0.002") << typo;
  }
  EXPECT_FALSE(window.ResultsGrid().Text(1, 1).empty());

  window.SdpGrid_Click(2, 1);
  editor.setText("0");
  editor.Commit();
  auto seen = AnswerMessageBox(QMessageBox::Ok);
  window.Calculate_Click();
  EXPECT_EQ(seen->text, "Total concentration of Gly cannot be zero when pX is not specified");
  EXPECT_EQ(seen->title, "Single data point calculation");
  EXPECT_TRUE(window.ResultsGrid().Text(1, 2).empty());  // never reached
}

TEST_F(SinglePointsWindowTest, RemovingAPointAsksWithTheColumnHighlighted) {
  SingleDP& window = *dp;
  for (int p = 1; p <= 3; ++p) window.Addpoint_Click();
  session.project.stotal(1, 3) = 0.003;
  window.SdpFill();
  window.Calculate_Click();
  window.SdpGrid().SetCurrentCell(1, 2);
  int selectedColumns = -1;
  auto no = AnswerMessageBox(QMessageBox::No, [&] {
    selectedColumns = static_cast<int>(window.SdpGrid().selectionModel()->selectedColumns().size());
  });
  window.DelPoint_Click();
  EXPECT_EQ(no->text, "Delete selected point?");
  EXPECT_EQ(no->title, "Tarn Editor");
  EXPECT_EQ(no->icon, QMessageBox::Question);
  EXPECT_EQ(selectedColumns, 1);
  EXPECT_EQ(session.project.nsingle, 3);

  const std::vector<std::string> third = Column(window.ResultsGrid(), 3);
  AnswerMessageBox(QMessageBox::Yes);
  window.DelPoint_Click();
  ASSERT_EQ(session.project.nsingle, 2);
  EXPECT_EQ(window.SdpGrid().Cols(), 3);
  EXPECT_EQ(window.SdpGrid().Text(1, 2), "0.003");
  EXPECT_EQ(Column(window.ResultsGrid(), 2), third);  // the results moved with their point
}

TEST_F(SinglePointsWindowTest, CopyAndPrintToAPdfFile) {
  SingleDP& window = *dp;
  window.Addpoint_Click();
  window.Calculate_Click();
  window.ToClip_Click();
  EXPECT_EQ(WithoutFirstLine(ReadClipboard().text),
            WithoutFirstLine(SinglePointClipboardText(session.project, window.ResultCells(), "")));

  // A cancelled dialog prints nothing.
  bool asked = false;
  window.SetPrinterChooser([&](QPrinter&, const QString& title, QWidget*) {
    asked = true;
    EXPECT_EQ(title, "Print single data point table");
    return false;
  });
  window.Toprinter_Click();
  EXPECT_TRUE(asked);
  EXPECT_TRUE(window.PrintedLines().empty());

  ProgramHome home;
  const QString pdf = QString::fromStdString(home.Scratch("points.pdf"));
  window.SetPrinterChooser([&](QPrinter& printer, const QString&, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return true;
  });
  window.Toprinter_Click();
  const std::vector<std::string>& lines = window.PrintedLines();
  const std::vector<std::string> expected = SinglePointPrintLines(session.project, window.ResultCells(), "");
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << i;
  EXPECT_EQ(lines[6], "   total H " + std::string(12, ' '));
  EXPECT_EQ(lines[9], "      p(H)   7.00000E00");
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(4) == "%PDF");
  EXPECT_GT(file.size(), 1000);
}

TEST_F(SinglePointsWindowTest, TheRealPrintDialogCancelled) {
  SingleDP& window = *dp;
  window.Addpoint_Click();
  AnswerModal([](QWidget* dialog) { QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection); });
  window.Toprinter_Click();
  EXPECT_TRUE(window.PrintedLines().empty());
}

}  // namespace
}  // namespace tarn::gui
