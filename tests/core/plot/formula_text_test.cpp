#include "plot/formula_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plot/recording_surface.h"

namespace tarn {
namespace {

struct Drawn {
  std::string text;
  int x;
  int baseline;
  FontSpec font;
};

std::vector<Drawn> DrawnTexts(const RecordingSurface& surface) {
  std::vector<Drawn> drawn;
  for (const RecordedCall& call : surface.Texts()) {
    EXPECT_EQ(call.anchor, TextAnchor::kBaseline);
    EXPECT_EQ(call.align, TextAlign::kLeft);
    EXPECT_FALSE(call.rotated);
    drawn.push_back(Drawn{call.text, call.x, call.y, call.font});
  }
  return drawn;
}

const FontSpec kNormal{24, FontHeight::kCharacter};  // size 2
const FontSpec kSmall{20, FontHeight::kCell};

TEST(FormulaText, LigandComplexWritesDigitsAsSubscriptsAndMinusAfterLetterOnBaseline) {
  RecordingSurface surface;
  int end = FormulaText(surface, 10, 100, 2, "Cu(L)2H-1");
  std::vector<Drawn> d = DrawnTexts(surface);
  ASSERT_EQ(d.size(), 9u);
  const int base = 100, sub = 106;
  std::vector<std::pair<std::string, int>> expected = {{"C", base}, {"u", base}, {"(", base}, {"L", base}, {")", base},
                                                       {"2", sub},  {"H", base}, {"-", base}, {"1", sub}};
  for (std::size_t i = 0; i < d.size(); ++i) {
    EXPECT_EQ(d[i].text, expected[i].first);
    EXPECT_EQ(d[i].baseline, expected[i].second) << d[i].text;
  }
  for (int i : {0, 1, 2, 3, 4, 6}) EXPECT_EQ(d[i].font, kNormal) << d[i].text;
  for (int i : {5, 7, 8}) EXPECT_EQ(d[i].font, kSmall) << d[i].text;
  // Characters follow each other by their measured width: 6 normal
  // characters of 0.6 x 24 and 3 small ones of 0.6 x 20.
  EXPECT_EQ(d[1].x, 10 + 14);
  EXPECT_EQ(end, 132);  // 10 + 6 x 14.4 + 3 x 12 = 132.4
}

TEST(FormulaText, ChargesAreSuperscripts) {
  RecordingSurface surface;
  FormulaText(surface, 0, 14, 1, "Ca2+");
  std::vector<Drawn> d = DrawnTexts(surface);
  ASSERT_EQ(d.size(), 4u);
  EXPECT_EQ(d[0].baseline, 14);
  EXPECT_EQ(d[2].baseline, 9);
  EXPECT_EQ(d[3].baseline, 9);
  EXPECT_EQ(d[2].font.height, 10);

  surface.Clear();
  FormulaText(surface, 0, 14, 1, "OH^-");  // "^" is not drawn but raises the "-"
  d = DrawnTexts(surface);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[2].text, "-");
  EXPECT_EQ(d[2].baseline, 9);

  surface.Clear();
  FormulaText(surface, 0, 14, 1, "-1SO4^2-");  // leading minus is a subscript; "2-" raised
  d = DrawnTexts(surface);
  ASSERT_EQ(d.size(), 7u);
  EXPECT_EQ(d[0].baseline, 17);
  EXPECT_EQ(d[1].baseline, 17);
  EXPECT_EQ(d[4].baseline, 17);  // 4
  EXPECT_EQ(d[5].baseline, 9);   // 2 after ^
  EXPECT_EQ(d[6].baseline, 9);   // - after a digit
}

TEST(FormulaText, MultiByteCharactersStayWhole) {
  RecordingSurface surface;
  int end = FormulaText(surface, 0, 14, 1,
                        "\xC3\x9C"
                        "2");
  std::vector<Drawn> d = DrawnTexts(surface);
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d[0].text, "\xC3\x9C");
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
  std::vector<Drawn> d = DrawnTexts(surface);
  ASSERT_EQ(d.size(), 8u);
  EXPECT_EQ(d[0].baseline, 500);
  EXPECT_EQ(d[0].font, (FontSpec{32, FontHeight::kCharacter}));
  EXPECT_EQ(d[6].baseline, 510);
  EXPECT_EQ(d[7].baseline, 510);
  EXPECT_EQ(d[7].font, (FontSpec{28, FontHeight::kCell}));
  surface.Clear();
  Chemicals3(surface, 0, 500, "NH4", true);
  EXPECT_EQ(DrawnTexts(surface)[2].baseline, 494);
}

}  // namespace
}  // namespace tarn
