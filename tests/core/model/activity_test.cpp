#include "core/model/activity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/project_file.h"
#include "core/model/reagents.h"
#include "support/model_builder.h"

namespace tarn {
namespace {

// Copper, glycinate and the proton: CuGly+, CuGly2, GlyH, CuOH+ (CuH-1),
// OH- (H-1); a solid Cu(OH)2 (CuH-2).
ProjectState CopperModel() {
  ProjectState s = test::ModelBuilder({"Cu", "Gly", "H"})
                       .Species(8.19, {1, 1, 0})
                       .Species(15.06, {1, 2, 0})
                       .Species(9.57, {0, 1, 1})
                       .Species(-7.5, {1, 0, -1})
                       .Species(-13.78, {0, 0, -1})
                       .Solid(8.7, {1, 0, -2})
                       .Build();
  s.volume[1] = 1;  // as the reader makes a volume of 0
  s.activity.charge(1) = 2;
  s.activity.charge(2) = -1;
  s.activity.charge(3) = 1;
  return s;
}

TEST(ActivityCoefficients, DaviesAndExtendedDebyeHueckelAgainstHandComputedValues) {
  const DebyeHuckelConstants water = WaterConstants(25);
  // By hand, A = 0.509: -0.509 (0.3162 / 1.3162 - 0.03) = -0.107 for z = 1,
  // four times that for z = 2.
  EXPECT_NEAR(LogGamma(ActivityCorrection::kDavies, water, 1, 0.1), -0.107, 5e-4);
  EXPECT_NEAR(LogGamma(ActivityCorrection::kDavies, water, -1, 0.1), -0.107, 5e-4);
  EXPECT_NEAR(LogGamma(ActivityCorrection::kDavies, water, 2, 0.1), -0.428, 2e-3);
  // At 0.5 M: -0.509 (0.7071 / 1.7071 - 0.15) = -0.1345.
  EXPECT_NEAR(LogGamma(ActivityCorrection::kDavies, water, 1, 0.5), -0.1345, 5e-4);
  // Extended Debye-Hueckel, B = 0.3286 per Angstrom: Cu2+ of 6 Angstrom at
  // 0.1 M, -0.509 * 4 * 0.3162 / (1 + 0.3286 * 6 * 0.3162) = -0.397; H+ of
  // 9 Angstrom, -0.509 * 0.3162 / 1.935 = -0.083.
  EXPECT_NEAR(LogGamma(ActivityCorrection::kDebyeHuckel, water, 2, 0.1, 6), -0.397, 1e-3);
  EXPECT_NEAR(LogGamma(ActivityCorrection::kDebyeHuckel, water, 1, 0.1, 9), -0.083, 5e-4);
  // Neutral species, no correction and zero ionic strength: no coefficient.
  EXPECT_EQ(LogGamma(ActivityCorrection::kDavies, water, 0, 0.1), 0);
  EXPECT_EQ(LogGamma(ActivityCorrection::kNone, water, 2, 0.1), 0);
  EXPECT_EQ(LogGamma(ActivityCorrection::kDebyeHuckel, water, 3, 0, 4), 0);
}

// Tabulated constants of water (A in L^1/2 mol^-1/2, B per Angstrom), which
// the literature gives within about 1 % of each other.
TEST(ActivityCoefficients, ConstantsOfWaterFollowTheTemperature) {
  const DebyeHuckelConstants at25 = WaterConstants(25);
  EXPECT_NEAR(at25.a, 0.510, 0.003);
  EXPECT_NEAR(at25.b, 0.329, 0.002);
  EXPECT_NEAR(WaterConstants(0).a, 0.492, 0.006);
  EXPECT_NEAR(WaterConstants(50).a, 0.537, 0.006);
  EXPECT_NEAR(WaterConstants(100).a, 0.60, 0.015);
  EXPECT_LT(WaterConstants(10).a, WaterConstants(40).a);
}

TEST(ActivityCoefficients, BackgroundElectrolyteIsANeutralSalt) {
  EXPECT_DOUBLE_EQ(BackgroundStrength(0.1, 1, -1), 0.1);  // NaCl
  EXPECT_DOUBLE_EQ(BackgroundStrength(0.1, 2, -1), 0.3);  // CaCl2: 0.1 Ca, 0.2 Cl
  EXPECT_DOUBLE_EQ(BackgroundStrength(0.1, 1, -2), 0.3);  // Na2SO4
  EXPECT_DOUBLE_EQ(BackgroundStrength(0.1, 2, -2), 0.4);  // MgSO4
  EXPECT_DOUBLE_EQ(BackgroundStrength(0.1, 3, -2), 1.5);  // Al2(SO4)3
  EXPECT_DOUBLE_EQ(BackgroundStrength(0.1, 0, -1), 0.05);
  EXPECT_DOUBLE_EQ(BackgroundStrength(0, 1, -1), 0);
}

TEST(ActivityCoefficients, SpeciesChargesFollowTheCoefficients) {
  ProjectState s = CopperModel();
  EXPECT_EQ(SpeciesCharge(s, 1), 1);   // CuGly+
  EXPECT_EQ(SpeciesCharge(s, 2), 0);   // CuGly2
  EXPECT_EQ(SpeciesCharge(s, 3), 0);   // GlyH
  EXPECT_EQ(SpeciesCharge(s, 4), 1);   // CuOH+: the proton's coefficient is -1
  EXPECT_EQ(SpeciesCharge(s, 5), -1);  // OH-
  EXPECT_EQ(ReagentCharge(s, 4), 0);   // beyond the reagents
  s.activity.ionSize(1) = 6;
  EXPECT_EQ(ReagentIonSize(s, 1), 6);
  EXPECT_EQ(ReagentIonSize(s, 2), kDefaultIonSize);
}

TEST(ActivityCoefficients, ConstantsMoveWithTheIonicStrengthTheRightWay) {
  ProjectState s = CopperModel();
  s.activity.correction = ActivityCorrection::kDavies;
  const double g1 = LogGamma(ActivityCorrection::kDavies, WaterConstants(25), 1, 0.1);
  // Gly- + H+ -> GlyH: two univalent ions become a neutral one, so the
  // concentration constant at 0.1 M is 2 x 0.107 below the thermodynamic one.
  EXPECT_NEAR(ConvertLogBeta(s, 3, 9.57, 0, 0.1), 9.57 + 2 * g1, 1e-12);
  EXPECT_NEAR(ConvertLogBeta(s, 3, 9.57, 0, 0.1), 9.57 - 0.214, 1e-3);
  // Cu2+ + Gly- -> CuGly+: 4 g1 + g1 - g1.
  EXPECT_NEAR(ConvertLogBeta(s, 1, 8.19, 0, 0.1), 8.19 + 4 * g1, 1e-12);
  // Cu2+ - H+ -> CuOH+: 4 g1 - g1 - g1.
  EXPECT_NEAR(ConvertLogBeta(s, 4, -7.5, 0, 0.1), -7.5 + 2 * g1, 1e-12);
  // Cu(OH)2(s), an ion product Cu H-2: log Ksp(I) = log Ksp(0) - (4 g1 - 2 g1),
  // higher at 0.1 M: the solid is more soluble.
  EXPECT_NEAR(ConvertLogKsp(s, 1, 8.7, 0, 0.1), 8.7 - 2 * g1, 1e-12);
  EXPECT_GT(ConvertLogKsp(s, 1, 8.7, 0, 0.1), 8.7);

  // Moved from 0.1 to 0 and back: unchanged, for every species and solid and
  // both corrections.
  for (ActivityCorrection c : {ActivityCorrection::kDavies, ActivityCorrection::kDebyeHuckel}) {
    s.activity.correction = c;
    for (int i = 1; i <= s.nspecies; ++i) {
      const double atZero = ConvertLogBeta(s, i, s.logbeta(i), 0.1, 0);
      EXPECT_NEAR(ConvertLogBeta(s, i, atZero, 0, 0.1), s.logbeta(i), 1e-13) << i;
    }
    const double kspZero = ConvertLogKsp(s, 1, s.logksp(1), 0.1, 0);
    EXPECT_NEAR(ConvertLogKsp(s, 1, kspZero, 0, 0.1), s.logksp(1), 1e-13);
  }
  // Without a correction nothing moves.
  s.activity.correction = ActivityCorrection::kNone;
  EXPECT_EQ(ConvertLogBeta(s, 1, 8.19, 0, 0.5), 8.19);
}

TEST(ActivitySettingsTest, DefaultsProblemsAndCorrectionTexts) {
  ActivitySettings a;
  ResetActivity(a, 3);
  EXPECT_TRUE(ActivityIsDefault(a));
  EXPECT_FALSE(ActivityOn(a));
  EXPECT_EQ(ActivityProblem(a), "");
  a.charge(2) = -1;
  EXPECT_FALSE(ActivityIsDefault(a));
  ResetActivity(a, 3);
  a.ionSize(3) = 9;
  EXPECT_FALSE(ActivityIsDefault(a));
  ResetActivity(a, 3);
  a.background = 0.2;
  EXPECT_FALSE(ActivityIsDefault(a));

  ResetActivity(a, 3);
  a.fixedStrength = -0.1;
  EXPECT_EQ(ActivityProblem(a), "The ionic strength must be a number not below 0");
  a.fixedStrength = NAN;
  EXPECT_FALSE(ActivityProblem(a).empty());
  ResetActivity(a, 3);
  a.celsius = 120;
  EXPECT_EQ(ActivityProblem(a), "The temperature must be from 0 to 100 degrees Celsius");
  ResetActivity(a, 3);
  a.charge(1) = kMaxCharge + 1;
  EXPECT_EQ(ActivityProblem(a), "A charge must lie from -100 to 100");

  for (ActivityCorrection c :
       {ActivityCorrection::kNone, ActivityCorrection::kDavies, ActivityCorrection::kDebyeHuckel})
    EXPECT_EQ(CorrectionFromText(CorrectionText(c)), c);
  EXPECT_EQ(CorrectionFromText(" davies "), ActivityCorrection::kDavies);
  EXPECT_EQ(CorrectionFromText("SIT"), ActivityCorrection::kNone);
}

// The settings travel with their reagents when reagents are added or removed,
// and a new or re-read project starts from the defaults.
TEST(ActivitySettingsTest, ChargesFollowTheirReagents) {
  ProjectState s = CopperModel();
  s.activity.ionSize(3) = 9;
  AddReagent(s);
  ASSERT_EQ(s.activity.charge.Upper(), 4);
  EXPECT_EQ(s.activity.charge(4), 0);
  EXPECT_EQ(s.activity.charge(3), 1);
  ASSERT_TRUE(RemoveReagent(s, 1));  // copper and its species go
  EXPECT_EQ(s.activity.charge.Upper(), 3);
  EXPECT_EQ(s.activity.charge(1), -1);  // glycinate
  EXPECT_EQ(s.activity.charge(2), 1);   // the proton
  EXPECT_EQ(s.activity.ionSize(2), 9);
  AllocateModel(s);
  EXPECT_TRUE(ActivityIsDefault(s.activity));
}

// --- The project file.

ProjectState ReadBack(const std::string& text) {
  ProjectState back;
  RecordingSink sink;
  EXPECT_EQ(ReadProjectText(back, text, sink), ReadStatus::kOk);
  EXPECT_TRUE(sink.messages.empty());
  return back;
}

TEST(ActivityFile, AProjectWithoutSettingsIsWrittenAsBefore) {
  ProjectState s = CopperModel();
  ResetActivity(s.activity, s.nreag);
  const std::string text = ProjectText(s);
  EXPECT_EQ(text.find("activity"), std::string::npos);
  EXPECT_NE(text.find("</captions>\r\n</Tarn>\r\n</calvor>\r\n"), std::string::npos);
  EXPECT_EQ(ProjectText(ReadBack(text)), text);
}

TEST(ActivityFile, EverySettingIsWrittenInsideTheTarnSectionAndReadBack) {
  ProjectState s = CopperModel();
  ActivitySettings& a = s.activity;
  a.correction = ActivityCorrection::kDebyeHuckel;
  a.calculated = false;
  a.fixedStrength = 0.25;
  a.referenceStrength = 0;
  a.celsius = 37;
  a.background = 0.5;
  a.cationCharge = 2;
  a.anionCharge = -1;
  a.ionSize(1) = 6;
  a.ionSize(3) = 9;
  const std::string text = ProjectText(s);
  EXPECT_NE(text.find("</captions>\r\n<activity>\r\n<correction>Debye-Huckel</correction>\r\n"
                      "<strength><calculated>False</calculated><fixed>.25</fixed><reference>0</reference>"
                      "<celsius>37</celsius></strength>\r\n"
                      "<background><concentration>.5</concentration><cation>2</cation><anion>-1</anion>"
                      "</background>\r\n"
                      "<ion1><charge>2</charge><size>6</size></ion1>\r\n"
                      "<ion2><charge>-1</charge><size>0</size></ion2>\r\n"
                      "<ion3><charge>1</charge><size>9</size></ion3>\r\n"
                      "</activity>\r\n</Tarn>\r\n"),
            std::string::npos)
      << text;
  const ProjectState back = ReadBack(text);
  const ActivitySettings& b = back.activity;
  EXPECT_EQ(b.correction, ActivityCorrection::kDebyeHuckel);
  EXPECT_FALSE(b.calculated);
  EXPECT_EQ(b.fixedStrength, 0.25);
  EXPECT_EQ(b.referenceStrength, 0);
  EXPECT_EQ(b.celsius, 37);
  EXPECT_EQ(b.background, 0.5);
  EXPECT_EQ(b.cationCharge, 2);
  EXPECT_EQ(b.anionCharge, -1);
  for (int j = 1; j <= 3; ++j) {
    EXPECT_EQ(b.charge(j), a.charge(j)) << j;
    EXPECT_EQ(b.ionSize(j), a.ionSize(j)) << j;
  }
  EXPECT_EQ(ProjectText(back), text);
  // Everything else of the project reads as before.
  EXPECT_EQ(back.nsolids, 1);
  EXPECT_EQ(back.caption(back.ntotal()), s.caption(s.ntotal()));
}

// A reader that knows nothing of the settings finds every other element where
// it was: they come after the captions and use none of the section's tags.
TEST(ActivityFile, TheSettingsHideNothingFromTheOtherElements) {
  ProjectState s = CopperModel();
  s.activity.correction = ActivityCorrection::kDavies;
  std::string text = ProjectText(s);
  const std::string tarn = GetElement("Tarn", text);
  const std::string activity = GetElement("activity", tarn);
  for (const char* tag : {"type", "insolubles", "titration", "simulation", "single", "captions", "number", "volume",
                          "final", "total", "flag", "value", "c1", "r1", "p1", "i1", "a1"})
    EXPECT_EQ(activity.find(std::string("<") + tag + ">"), std::string::npos) << tag;
  // Without the section the rest reads the same.
  const std::size_t begin = text.find("<activity>"), end = text.find("</activity>\r\n") + 13;
  text.erase(begin, end - begin);
  ProjectState plain = ReadBack(text);
  EXPECT_TRUE(ActivityIsDefault(plain.activity));
  ResetActivity(s.activity, s.nreag);
  EXPECT_EQ(ProjectText(plain), ProjectText(s));
}

TEST(ActivityFile, ValuesThatCannotBeCalculatedWithReadAsTheDefaults) {
  ProjectState s = CopperModel();
  s.activity.correction = ActivityCorrection::kDavies;
  std::string text = ProjectText(s);
  auto replace = [&text](const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  replace("<correction>Davies</correction>", "<correction>Pitzer</correction>");
  replace("<fixed>.1</fixed>", "<fixed>-3</fixed>");
  replace("<reference>.1</reference>", "");
  replace("<celsius>25</celsius>", "<celsius>1000</celsius>");
  replace("<cation>1</cation>", "<cation>2000000000</cation>");
  replace("<ion1><charge>2</charge><size>0</size></ion1>", "<ion1><charge>-5e9</charge><size>-4</size></ion1>");
  const ProjectState back = ReadBack(text);
  const ActivitySettings d;
  EXPECT_EQ(back.activity.correction, ActivityCorrection::kNone);
  EXPECT_EQ(back.activity.fixedStrength, d.fixedStrength);
  EXPECT_EQ(back.activity.referenceStrength, d.referenceStrength);
  EXPECT_EQ(back.activity.celsius, d.celsius);
  EXPECT_EQ(back.activity.cationCharge, kMaxCharge);
  EXPECT_EQ(back.activity.charge(1), -kMaxCharge);
  EXPECT_EQ(back.activity.ionSize(1), 0);
  EXPECT_EQ(ActivityProblem(back.activity), "");
}

}  // namespace
}  // namespace tarn
