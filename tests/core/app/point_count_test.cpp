#include "core/app/point_count.h"

#include <gtest/gtest.h>

#include "core/app/settings.h"

namespace tarn {
namespace {

TEST(PointCount, LoadRuleForPresetAndCustomCounts) {
  PointChoice five = LoadPointChoice(5);
  EXPECT_EQ(five.checked, 5);
  EXPECT_EQ(five.npoints, 501);
  for (int entry = 1; entry < kCustomEntry; ++entry)
    EXPECT_EQ(std::to_string(LoadPointChoice(entry).npoints), PresetCaption(entry));
  PointChoice custom = LoadPointChoice(250);
  EXPECT_EQ(custom.checked, kCustomEntry);
  EXPECT_EQ(custom.customCaption, "Custom  250");
  EXPECT_EQ(custom.npoints, 250);
  EXPECT_EQ(custom.nsel, 250);  // writing the settings again keeps 250, not 8
  EXPECT_EQ(LoadPointChoice(0).npoints, 101);
  EXPECT_EQ(LoadPointChoice(kMaxPoints + 1).npoints, 101);
  // Every custom count survives the settings file.
  for (int n : {8, 9, 1201, kMaxPoints}) {
    Settings s;
    s.nsel = LoadPointChoice(n).nsel;
    EXPECT_EQ(LoadPointChoice(ReadSettingsText(SettingsText(s)).nsel).npoints, n);
  }
}

TEST(PointCount, MenuChoices) {
  PointChoice c = ChoosePreset(LoadPointChoice(250), 4);
  EXPECT_EQ(c.nsel, 4);
  EXPECT_EQ(c.checked, 4);
  EXPECT_EQ(c.npoints, 201);
  EXPECT_EQ(c.customCaption, "Custom");

  CustomResult cancel = ChooseCustom(c, "");
  EXPECT_FALSE(cancel.changed);
  EXPECT_EQ(cancel.choice.checked, 0);
  EXPECT_EQ(cancel.choice.npoints, 201);
  EXPECT_TRUE(cancel.message.empty());

  CustomResult custom = ChooseCustom(c, " 333 ");
  EXPECT_TRUE(custom.changed);
  EXPECT_EQ(custom.choice.checked, kCustomEntry);
  EXPECT_EQ(custom.choice.customCaption, "Custom  333 ");
  EXPECT_EQ(LoadPointChoice(custom.choice.nsel).npoints, 333);

  // Too few points for a series (and a custom count below 8 is not kept).
  CustomResult few = ChooseCustom(c, "5");
  EXPECT_EQ(few.choice.npoints, 5);
  EXPECT_EQ(few.choice.nsel, 4);
  for (const char* bad : {"1", "0", "-20", "99999999", "2.5e9"}) {
    CustomResult r = ChooseCustom(c, bad);
    EXPECT_FALSE(r.changed) << bad;
    EXPECT_EQ(r.choice.npoints, 201) << bad;
    EXPECT_EQ(r.message, kPointsOutOfRange) << bad;
  }
  // A typo is no count: "333 pts" once gave 333 points, "abc" and "  " a
  // message about the range. A magnitude beyond single precision is as
  // invalid as a typed constant's.
  for (const char* typo : {"333 pts", "abc", "  ", "2x", "1e300"}) {
    CustomResult r = ChooseCustom(c, typo);
    EXPECT_FALSE(r.changed) << typo;
    EXPECT_EQ(r.choice.npoints, 201) << typo;
    EXPECT_EQ(r.message, "invalid entry for number") << typo;
  }
}

}  // namespace
}  // namespace tarn
