// The concentration table window shows the core's table of the session's
// series in the chosen precision and copies the core's clipboard text.

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cerrno>

#include "core/model/save_file.h"
#include "core/tables/table_export.h"

#include "gui/tables/table_window.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "support/gui/gui_test.h"
#include "support/temp_folder.h"
#include "support/workbook_reader.h"

namespace tarn::gui {
namespace {

TEST(TableWindowTest, ShowsAndCopiesTheCoreTableInBothPrecisions) {
  Session session;
  ASSERT_EQ(test::CalculatedSample(session, "copper-glycine-titration.cld", 5), kSuccess);
  {
    T32Table window(session);
    EXPECT_EQ(window.windowTitle(), "Concentrations/Mol dm-3");
    const std::string prefix = "Tarn2009 - Concentration table. Created at ";
    ASSERT_EQ(window.Captions()[0].rfind(prefix, 0), 0u);
    const std::string created = window.Captions()[0].substr(prefix.size());
    EXPECT_FALSE(created.empty());  // the date and time in the user's format
    for (auto [button, precision] :
         {std::pair{"SigFig1", TablePrecision::kHigh}, {"SigFig0", TablePrecision::kNormal}}) {
      window.findChild<QRadioButton*>(button)->click();
      EXPECT_EQ(window.Precision(), precision);
      const ConcentrationTable core = MakeConcentrationTable(session.project, session.results, precision, created);
      Grid& grid = window.TableGrid();
      ASSERT_EQ(grid.Rows(), static_cast<int>(core.cells.size()));
      ASSERT_EQ(grid.Cols(), static_cast<int>(core.cells[0].size()));
      EXPECT_EQ(grid.FixedRows(), 1);
      for (int c = 0; c < grid.Cols(); ++c) {
        EXPECT_GE(grid.ColWidthTwips(c), core.columnWidthsTwips[c]) << c;
        for (int r = 0; r < grid.Rows(); ++r) EXPECT_EQ(grid.Text(r, c), core.cells[r][c]) << r << "," << c;
      }
      test::ExpectEveryCellWhole(grid);
      EXPECT_EQ(window.Captions(), core.captions);
    }
    EXPECT_EQ(window.findChild<QLabel*>("Txt3")->text(), "concentrations /mol dm-3:");

    window.SigFig_Click(1);
    window.ShowTitle("Copper and glycine, 25 C");
    window.Copy_Click();
    ConcentrationTable copied =
        MakeConcentrationTable(session.project, session.results, TablePrecision::kHigh, created);
    copied.captions[1] = "Copper and glycine, 25 C";
    EXPECT_EQ(ReadClipboard().text, ConcentrationTableText(session.project, copied));
  }

  // The distribution's totals of the pX-given proton are computed, 15 digits
  // in high precision: their column widens to them, and narrows again.
  Session distribution;
  ASSERT_EQ(test::CalculatedSample(distribution, "copper-glycine-distribution.cld", 2), kSuccess);
  T32Table table(distribution);
  const int normalWidth = table.TableGrid().ColWidthPixels(3);
  table.SigFig_Click(1);
  test::ExpectEveryCellWhole(table.TableGrid());
  EXPECT_GT(table.TableGrid().ColWidthPixels(3), normalWidth);
  test::SaveScreenshot(table, "table_window_high_distribution");
  table.SigFig_Click(0);
  test::ExpectEveryCellWhole(table.TableGrid());
  EXPECT_EQ(table.TableGrid().ColWidthPixels(3), normalWidth);

  session.results = SeriesResults{};  // without results: the headings only
  T32Table empty(session);
  EXPECT_EQ(empty.TableGrid().Rows(), 1);
  EXPECT_EQ(empty.TableGrid().Text(0, 1), "Titre");
}

// "Save table as...": csv by default, beside the project; a workbook when
// that type is chosen; a save that fails says so and keeps the old file.
TEST(TableWindowTest, SavesTheTableAsCsvOrWorkbookAndSaysWhenItCannot) {
  QTemporaryDir dir;
  Session session;
  ASSERT_EQ(test::CalculatedSample(session, "copper-ammonia.cld", 11), kSuccess);
  session.project.currentFile = dir.filePath("Cu NH3.cld").toStdString();
  T32Table window(session);
  auto* save = window.findChild<QPushButton*>("SaveTable");
  ASSERT_NE(save, nullptr);
  EXPECT_EQ(save->text(), "&Save table as...");

  QString preset;
  test::AnswerWindow<QFileDialog>([&](QFileDialog& dialog) {
    preset = dialog.selectedFiles().value(0);
    test::ChooseFile(dialog, preset);
  });
  save->click();
  EXPECT_EQ(preset, dir.filePath("Cu NH3.csv"));
  const std::string csv = ConcentrationTableCsv(session.project, session.results);
  EXPECT_EQ(testing::ReadFile(dir.filePath("Cu NH3.csv").toStdString()), csv);

  test::AnswerWindow<QFileDialog>([&](QFileDialog& dialog) {
    dialog.selectNameFilter(dialog.nameFilters().value(1));
    test::ChooseFile(dialog, dir.filePath("results"));
  });
  window.SaveTable_Click();
  testing::Workbook book = testing::ReadWorkbook(dir.filePath("results.xlsx").toStdString());
  ASSERT_EQ(book.problem, "");
  EXPECT_EQ(book.Names(), (std::vector<std::string>{kConcentrationSheet, kPercentSheet, kModelSheet}));
  EXPECT_EQ(book.Sheet(kConcentrationSheet).Rows(), 12);

  const std::string old = dir.filePath("old.csv").toStdString();
  testing::WriteFile(old, "old results");
  std::shared_ptr<test::ModalSeen> message;
  test::AnswerWindow<QFileDialog>([&](QFileDialog& dialog) {
    message = test::AnswerMessageBox(QMessageBox::Ok, {}, &dialog);
    test::ChooseFile(dialog, dir.filePath("full.csv"));
  });
  {
    InjectedSaveFault full(SaveStep::kWrite, ENOSPC);
    window.SaveTable_Click();
  }
  ASSERT_TRUE(message && message->seen);
  EXPECT_EQ(message->text, "can't save " + dir.filePath("full.csv"));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("full.csv")));
  EXPECT_EQ(testing::ReadFile(old), "old results");
  test::SaveScreenshot(window, "table_window_save");
}

}  // namespace
}  // namespace tarn::gui
