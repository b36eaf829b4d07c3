#include "core/plot/formula_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/plot/recording_surface.h"

namespace tarn {
namespace {

// The characters drawn, each with its baseline; every one left-aligned on its
// baseline and upright.
std::vector<std::pair<std::string, int>> Drawn(const RecordingSurface& surface) {
  std::vector<std::pair<std::string, int>> drawn;
  for (const RecordedCall& call : surface.Texts()) {
    EXPECT_EQ(call.anchor, TextAnchor::kBaseline);
    EXPECT_EQ(call.align, TextAlign::kLeft);
    EXPECT_FALSE(call.rotated);
    drawn.emplace_back(call.text, call.y);
  }
  return drawn;
}

using Expected = std::vector<std::pair<std::string, int>>;

TEST(FormulaText, LigandComplexWritesDigitsAsSubscriptsAndMinusAfterLetterOnBaseline) {
  RecordingSurface surface;
  int end = FormulaText(surface, 10, 100, 2, "Cu(L)2H-1");
  const int base = 100, sub = 106;
  EXPECT_EQ(Drawn(surface), (Expected{{"C", base},
                                      {"u", base},
                                      {"(", base},
                                      {"L", base},
                                      {")", base},
                                      {"2", sub},
                                      {"H", base},
                                      {"-", base},
                                      {"1", sub}}));
  const FontSpec normal{24, FontHeight::kCharacter}, small{20, FontHeight::kCell};  // size 2
  for (std::size_t i = 0; i < surface.Texts().size(); ++i)
    EXPECT_EQ(surface.Texts()[i].font, (i == 5 || i == 7 || i == 8) ? small : normal) << i;
  // Characters follow each other by their measured width: 6 normal
  // characters of 0.6 x 24 and 3 small ones of 0.6 x 20.
  EXPECT_EQ(surface.Texts()[1].x, 10 + 14);
  EXPECT_EQ(end, 132);  // 10 + 6 x 14.4 + 3 x 12 = 132.4
}

TEST(FormulaText, ChargesAreSuperscripts) {
  struct Case {
    const char* formula;
    Expected drawn;
  };
  // "^" is not drawn but raises what follows; a leading minus is a subscript.
  for (const Case& c :
       {Case{"Ca2+", {{"C", 14}, {"a", 14}, {"2", 9}, {"+", 9}}}, Case{"OH^-", {{"O", 14}, {"H", 14}, {"-", 9}}},
        Case{"-1SO4^2-", {{"-", 17}, {"1", 17}, {"S", 14}, {"O", 14}, {"4", 17}, {"2", 9}, {"-", 9}}}}) {
    RecordingSurface surface;
    FormulaText(surface, 0, 14, 1, c.formula);
    EXPECT_EQ(Drawn(surface), c.drawn) << c.formula;
  }
  RecordingSurface surface;
  FormulaText(surface, 0, 14, 1, "Ca2+");
  EXPECT_EQ(surface.Texts()[2].font.height, 10);
}

TEST(FormulaText, MultiByteCharactersStayWhole) {
  RecordingSurface surface;
  int end = FormulaText(surface, 0, 14, 1,
                        "\xC3\x9C"
                        "2");
  EXPECT_EQ(Drawn(surface), (Expected{{"\xC3\x9C", 14}, {"2", 17}}));
  EXPECT_EQ(end, 13);  // 7.2 + 6 = 13.2
  EXPECT_EQ(FormulaText(surface, 5, 14, 1, ""), 5);
}

TEST(Chemicals3, CopyFontsAndBaselinesGrowUpwardsAndMeasuringDrawsNothing) {
  RecordingSurface surface;
  int width = Chemicals3(surface, 100, 500, "Fe(OH)2+", false);
  EXPECT_TRUE(surface.Texts().empty());
  // 6 normal characters of height 32 and 2 small of 28.
  EXPECT_EQ(width, 149);  // 6 x 19.2 + 2 x 16.8 = 148.8
  EXPECT_EQ(Chemicals3(surface, 100, 500, "Fe(OH)2+", true), width);
  EXPECT_EQ(Drawn(surface),
            (Expected{{"F", 500}, {"e", 500}, {"(", 500}, {"O", 500}, {"H", 500}, {")", 500}, {"2", 510}, {"+", 510}}));
  EXPECT_EQ(surface.Texts()[0].font, (FontSpec{32, FontHeight::kCharacter}));
  EXPECT_EQ(surface.Texts()[7].font, (FontSpec{28, FontHeight::kCell}));
  surface.Clear();
  Chemicals3(surface, 0, 500, "NH4", true);
  EXPECT_EQ(Drawn(surface)[2].second, 494);
}

}  // namespace
}  // namespace tarn
