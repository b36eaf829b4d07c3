// The concentration table window over a real point series: a titration of
// 0.1 M acetic acid (10 mL) by 0.1 M hydroxide to the equivalence point.

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>

#include "gui/app/session.h"
#include "gui/tables/table_window.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "support/sample_session.h"

namespace tarn::gui {
namespace {

using test::AceticAcidTitration;

double Number(const std::string& text) {
  return std::stod(text);
}

QStringList Lines(const std::string& text) {
  return QString::fromStdString(text).split(u'\r');
}

class TableWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(AceticAcidTitration(session, 3), kSuccess); }
  Session session;
};

TEST_F(TableWindowTest, FillsTheGridFromTheSeriesAndMarksItselfOpen) {
  auto* window = new T32Table(session);
  EXPECT_TRUE(session.windowOpen[kTableWindow]);
  EXPECT_EQ(window->windowTitle(), "Concentrations/Mol dm-3");
  Grid& grid = window->TableGrid();
  ASSERT_EQ(grid.Rows(), 4);
  ASSERT_EQ(grid.Cols(), 8);  // point, titre, 2 totals, free L, pH, HL, OH
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.Text(0, 1), "Titre");
  EXPECT_EQ(grid.Text(0, 5), "pH(calc)");
  EXPECT_EQ(grid.Text(0, 7), "OH");
  EXPECT_EQ(grid.Text(2, 0), " 2");
  EXPECT_EQ(grid.Text(2, 1), "5.0000E+00");
  // 0.1 M acetic acid: [H+] = 1.3247e-3, pH 2.878; half-neutralised: pH = pKa.
  EXPECT_EQ(grid.Text(1, 5), "2.878");
  EXPECT_NEAR(Number(grid.Text(2, 5)), 4.75, 0.005);
  EXPECT_NEAR(Number(grid.Text(1, 6)), 0.1 - 1.3247e-3, 1e-6);
  EXPECT_EQ(grid.ColWidthTwips(0), 420);
  EXPECT_EQ(grid.ColWidthTwips(6), 1100);
  EXPECT_EQ(grid.item(1, 6)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignVCenter));

  const auto& captions = window->Captions();
  EXPECT_EQ(captions[0].rfind("Tarn2009 - Concentration table. Created at ", 0), 0u);
  EXPECT_GT(captions[0].size(), std::string("Tarn2009 - Concentration table. Created at ").size());
  EXPECT_EQ(captions[1], "Acetic acid");
  EXPECT_EQ(captions[2], "Initial volume 10.0 ml Final volume 20.0 ml");
  EXPECT_EQ(window->findChild<QLabel*>("Txt3")->text(), "concentrations /mol dm-3:");
  delete window;
  EXPECT_FALSE(session.windowOpen[kTableWindow]);
}

TEST_F(TableWindowTest, HighPrecisionWidensAndLengthensTheValues) {
  T32Table window(session);
  Grid& grid = window.TableGrid();
  std::string normal = grid.Text(1, 6);
  window.findChild<QRadioButton*>("SigFig1")->click();
  EXPECT_EQ(window.Precision(), TablePrecision::kHigh);
  std::string high = grid.Text(1, 6);
  EXPECT_GT(high.size(), normal.size());
  EXPECT_NEAR(Number(high), 0.1 - 1.3247e-3, 1e-7);
  EXPECT_EQ(grid.Text(1, 5), "2.8779");
  EXPECT_EQ(grid.ColWidthTwips(2), 1110);
  EXPECT_EQ(grid.ColWidthTwips(4), 2100);
  EXPECT_EQ(grid.ColWidthTwips(5), 1100);  // the pH column
  window.findChild<QRadioButton*>("SigFig0")->click();
  EXPECT_EQ(grid.Text(1, 6), normal);
}

TEST_F(TableWindowTest, CopiesCaptionsConstantsAndTheWholeGrid) {
  T32Table window(session);
  window.SigFig_Click(1);
  window.ShowTitle("Acetic acid, 25 C");
  window.Copy_Click();
  std::string text = ReadClipboard().text;
  QStringList lines = Lines(text);
  ASSERT_GE(lines.size(), 13);
  EXPECT_EQ(lines[0].toStdString(), window.Captions()[0]);
  EXPECT_EQ(lines[1], "Acetic acid, 25 C");
  EXPECT_EQ(lines[2], "Initial volume 10.0 ml Final volume 20.0 ml");
  EXPECT_EQ(lines[3], "concentrations /mol dm-3: ( 3  points)");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "\tlog beta");
  EXPECT_EQ(lines[7], "LH\t4.75");
  EXPECT_EQ(lines[8], "H-1\t-13.77");
  std::string grid = window.TableGrid().WholeText();
  ASSERT_GE(text.size(), grid.size());
  EXPECT_EQ(text.substr(text.size() - grid.size()), grid);
  EXPECT_EQ(lines[9].toStdString() + "\r", grid.substr(0, lines[9].size() + 1));
  EXPECT_NE(text.back(), '\r');
}

TEST(TableWindowEmptyTest, WithoutResultsShowsOnlyTheHeadings) {
  Session session;
  ASSERT_EQ(AceticAcidTitration(session, 3), kSuccess);
  session.results = SeriesResults{};
  T32Table window(session);
  EXPECT_EQ(window.TableGrid().Rows(), 1);
  EXPECT_EQ(window.TableGrid().Text(0, 1), "Titre");
  window.Copy_Click();
  EXPECT_EQ(Lines(ReadClipboard().text)[3], "concentrations /mol dm-3: ( 0  points)");
}

}  // namespace
}  // namespace tarn::gui
