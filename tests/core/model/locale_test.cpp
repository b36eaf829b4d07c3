// Numbers under a real comma locale. The C library's number conversions
// follow LC_NUMERIC, which the desktop program takes from the environment
// (Qt sets it), so a German, French or Italian desktop once read log beta
// 9.57 as 9 and 0.025 as 0, and saved them so. The program's own conversions
// must give the same numbers and the same bytes as under the "C" locale.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "core/app/settings.h"
#include "support/comma_locale.h"
#include "core/model/message_sink.h"
#include "core/model/number_text.h"
#include "core/model/old_format.h"
#include "core/model/project_file.h"

namespace tarn {
namespace {

std::string Corpus(const std::string& name) {
  std::string text;
  EXPECT_TRUE(ReadTextFile(TARN_SOURCE_DIR "/tests/fuzz/corpus/" + name, text)) << name;
  return text;
}

// What the program makes of a project file, an old-format file and a
// settings file: every number of them, read and written back.
struct Conversions {
  std::string project, oldFormat, settings, numbers;
  double logbeta = 0, total = 0;

  Conversions() {
    RecordingSink sink;
    ProjectState p;
    std::string text = Corpus("fuzz_project_file/copper_l_h.cld");
    text.replace(text.find("<value>5.2<"), 11, "<value>9.57<");
    text.replace(text.find("<total>.01<"), 11, "<total>.025<");
    EXPECT_EQ(ReadProjectText(p, text, sink), ReadStatus::kOk);
    project = ProjectText(p);
    logbeta = p.logbeta(2);
    total = p.total(1, kTitration);
    ProjectState t;
    EXPECT_EQ(ReadTrnText(t, Corpus("fuzz_old_format/copper_fixed.trn"), sink), ReadStatus::kOk);
    oldFormat = ProjectText(t);
    Settings s = ReadSettingsText("<maxy>2.5</maxy><miny>12,5</miny><nsel>250</nsel>");
    settings = SettingsText(s);
    for (double x : {9.57, 0.025, -13.77, 1.5e-7, 6.02e23})
      numbers += FileNumber(x) + PlainText(x) + PlainTextSingle(x) + FullPrecisionText(x) +
                 FormatPattern(x, "##0.0#####", '.') + FormatPattern(x, "0.000E+00", '.') + "|";
    EXPECT_TRUE(sink.messages.empty());
  }
};

TEST(CommaLocale, FilesAndNumbersAreTheSameAsUnderTheCLocale) {
  const Conversions plain;
  EXPECT_EQ(plain.logbeta, static_cast<double>(9.57f));
  EXPECT_EQ(plain.total, static_cast<double>(0.025f));
  testing::CommaLocale comma;
  ASSERT_TRUE(comma.Active()) << comma.Problem();
  ASSERT_EQ(std::strtod("9.57", nullptr), 9);  // the condition is real: the C library cuts the fraction
  const Conversions local;
  EXPECT_EQ(local.logbeta, plain.logbeta);
  EXPECT_EQ(local.total, plain.total);
  EXPECT_EQ(local.project, plain.project);
  EXPECT_EQ(local.oldFormat, plain.oldFormat);
  EXPECT_EQ(local.settings, plain.settings);
  EXPECT_EQ(local.numbers, plain.numbers);
  EXPECT_NE(local.numbers.find("9.57"), std::string::npos);
  EXPECT_NE(local.project.find("<value>9.57</value>"), std::string::npos);
  EXPECT_NE(local.project.find("<total>.025</total>"), std::string::npos);
}

// The user's separator rule stays the program's: either separator is read,
// the locale's is shown; numbers in files and plain texts keep ".".
TEST(CommaLocale, TypedNumbersFollowTheUsersSeparatorRule) {
  testing::CommaLocale comma;
  ASSERT_TRUE(comma.Active()) << comma.Problem();
  RecordingSink sink;
  for (char separator : {',', '.'}) {
    SetDecimalSeparator(separator);
    for (const char* typed : {"9,57", "9.57", " 9.57 "})
      EXPECT_FLOAT_EQ(static_cast<float>(ParseTypedNumber(typed, sink).value_or(0)), 9.57f) << typed;
    EXPECT_FLOAT_EQ(static_cast<float>(ParseNumberOrZero("0,025", sink)), 0.025f);
    EXPECT_FLOAT_EQ(static_cast<float>(ParseNumberOrZero("-1.5E-3", sink)), -0.0015f);
    EXPECT_EQ(LeadingNumber("2.5x"), 2.5);
    EXPECT_FALSE(ParseTypedNumber("2x", sink).has_value());
  }
  SetDecimalSeparator(',');
  EXPECT_EQ(FormatPattern(9.57, "##0.0#####"), "9,57");
  EXPECT_EQ(FileNumber(0.025), ".025");
  SetDecimalSeparator('.');
  EXPECT_EQ(sink.messages, std::vector<std::string>(2, "invalid entry for number"));
}

// The separator comes from the environment's locale without making it the C
// library's.
TEST(CommaLocale, TheSeparatorIsLookedUpWithoutChangingTheCLocale) {
  testing::CommaLocale comma;  // makes the locale when the machine lacks one
  ASSERT_TRUE(comma.Active()) << comma.Problem();
  std::setlocale(LC_ALL, "C");
  const char* saved = std::getenv("LC_ALL");
  const std::string before = saved ? saved : "";
  ::setenv("LC_ALL", comma.Name().c_str(), 1);
  UseSystemDecimalSeparator();
  EXPECT_EQ(DecimalSeparator(), ',');
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  ::setenv("LC_ALL", "C", 1);
  UseSystemDecimalSeparator();
  EXPECT_EQ(DecimalSeparator(), '.');
  if (saved)
    ::setenv("LC_ALL", before.c_str(), 1);
  else
    ::unsetenv("LC_ALL");
}

}  // namespace
}  // namespace tarn
