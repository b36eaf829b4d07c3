#include "model/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <climits>
#include <cmath>
#include <cstdint>

#include "model/message_sink.h"

namespace tarn {
namespace {

struct Case {
  double x;
  const char* pattern;
  const char* expected;
};

// Worked values for every display pattern the program uses.
TEST(FormatPattern, WorkedValuesOfEveryPattern) {
  const Case cases[] = {
      {-13.77, "##0.0#####", "-13.77"},
      {12, "##0.0#####", "12.0"},
      {1e-7, "##0.0#####", "0.0"},
      {3.14159265, "##0.0#####", "3.141593"},
      {1234.5, "0.000E+00", "1.235E+03"},
      {0, "0.000E+00", "0.000E+00"},
      {-0.5, "0.000E+00", "-5.000E-01"},
      {9.9996, "0.000E+00", "1.000E+01"},
      {0.000012345, "0.000E+00", "1.235E-05"},
      {0.1, "0.000e+00", "1.000e-01"},
      {123456, "0.000e+00", "1.235e+05"},
      {2e-150, "0.000e+00", "2.000e-150"},
      {7, "#0.000", "7.000"},
      {12.3456, "#0.000", "12.346"},
      {2.6745, "#0.000", "2.675"},
      {0.00005, "#0.0000", "0.0001"},
      {-7.25, "#0.0000", "-7.2500"},
      {0.2, "###0.0####", "0.2"},
      {1.5e-6, "###0.0####", "0.0"},
      {12.345678, "###0.0####", "12.34568"},
      {1500, "0.0E-0", "1.5E3"},
      {0.015, "0.0E-0", "1.5E-2"},
      {0, "0.0E-0", "0.0E0"},
      {0.015, "0.0E-00", "1.5E-02"},
      {1500, "0.0E-00", "1.5E03"},
      {7, "0.00000E+00", "7.00000E+00"},
      {-0.000123456, "0.00000E+00", "-1.23456E-04"},
      {7, "0.00000E-00", "7.00000E00"},
      {0.01, "0.00000E-00", "1.00000E-02"},
      {2.5, "###0", "3"},
      {3.5, "###0", "4"},
      {-2.5, "###0", "-3"},
      {0, "###0", "0"},
      {12, "####0", "12"},
      {-1, "####0", "-1"},
      {10, "##0.0###", "10.0"},
      {12.34567, "##0.0###", "12.3457"},
      {-13.77, "###0.0###", "-13.77"},
      {0, "###0.0", "0.0"},
      {3, "###0.0##", "3.0"},
      {9.12345, "###0.0##", "9.123"},
      {1.25, "###0.0#####", "1.25"},
      {5, "##0", "5"},
      {2.0005, "##0.0##", "2.001"},
      {12.3456, "##0.00", "12.35"},
      {-0.0625, "##0.000", "-0.063"},
      {7.04, "#0.0", "7.0"},
      {7.0, "#0.0##", "7.0"},
      {3.14159, "#0.0###", "3.1416"},
      {7.0, "#0.00", "7.00"},
      {0.5, "0", "1"},
      {-0.5, "0", "-1"},
      {0.05, "0.0", "0.1"},
      {0.25, "0.0", "0.3"},
      {1.005, "0.00", "1.01"},
      {0.0005, "0.000", "0.001"},
      {1.23455, "0.0000", "1.2346"},
      {0.1234565, "0.000000", "0.123457"},
      {1.23456e-3, "0.0000E+00", "1.2346E-03"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatPattern(c.x, c.pattern, '.'), c.expected) << c.x << " " << c.pattern;
}

TEST(FormatPattern, LocaleSeparatorAndNegativeZero) {
  EXPECT_EQ(FormatPattern(12.5, "##0.0#####", ','), "12,5");
  EXPECT_EQ(FormatPattern(1.5e-5, "0.000E+00", ','), "1,500E-05");
  // A value that rounds to zero is written without a minus sign.
  EXPECT_EQ(FormatPattern(-0.0004, "#0.000", '.'), "0.000");
  SetDecimalSeparator(',');
  EXPECT_EQ(FormatPattern(0.5, "#0.00"), "0,50");
  SetDecimalSeparator('.');
  EXPECT_EQ(FormatPattern(0.5, "#0.00"), "0.50");
}

TEST(PlainText, LeadingBlankAndShortestForm) {
  EXPECT_EQ(PlainText(0.5), " .5");
  EXPECT_EQ(PlainText(-0.25), "-.25");
  EXPECT_EQ(PlainText(12.0), " 12");
  EXPECT_EQ(PlainText(0.0), " 0");
  EXPECT_EQ(PlainText(0.0001), " .0001");
  EXPECT_EQ(PlainText(0.00001), " 1E-05");
  EXPECT_EQ(PlainText(1.5e20), " 1.5E+20");
  EXPECT_EQ(PlainText(123456789012345.0), " 123456789012345");
  EXPECT_EQ(PlainText(1e15), " 1E+15");
  EXPECT_EQ(PlainText(1.0 / 3.0), " .333333333333333");
  EXPECT_EQ(PlainText(-1234.5), "-1234.5");
  EXPECT_EQ(PlainText(3), " 3");
  EXPECT_EQ(PlainText(-3), "-3");
  EXPECT_EQ(PlainTextSingle(1.0 / 3.0), " .3333333");
  EXPECT_EQ(PlainTextSingle(12345678.0), " 1.234568E+07");
}

TEST(FileNumber, SevenDigitsForSingleValuesFifteenForOthers) {
  EXPECT_EQ(FileNumber(0.5), ".5");
  EXPECT_EQ(FileNumber(-0.25), "-.25");
  EXPECT_EQ(FileNumber(0.0), "0");
  EXPECT_EQ(FileNumber(10.0), "10");
  EXPECT_EQ(FileNumber(static_cast<float>(0.1)), ".1");
  EXPECT_EQ(FileNumber(0.1), ".1");
  EXPECT_EQ(FileNumber(static_cast<float>(-13.77)), "-13.77");
  EXPECT_EQ(FileNumber(static_cast<float>(1.0 / 3.0)), ".33333334");  // 7 digits would read back another value
  EXPECT_EQ(FileNumber(1.0 / 3.0), ".333333333333333");
  EXPECT_EQ(FileNumber(1e-10), "1E-10");
  EXPECT_EQ(FileNumber(static_cast<float>(2.5e-7)), "2.5E-07");
  EXPECT_EQ(FileNumber(-1e25), "-1E+25");
}

// Every single-precision value written to a file reads back as the same
// value, also where float steps are wider than 7-digit decimal steps.
TEST(FileNumber, SinglePrecisionValuesReadBackExactly) {
  RecordingSink sink;
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int n = 0; n < 20000; ++n) {
    // Decimal mantissas of 7 digits over many decades, as a user types them.
    double mantissa = 1.0 + (next() % 9000000) / 1e6;
    int exponent = static_cast<int>(next() % 40) - 20;
    char typed[32];
    std::snprintf(typed, sizeof typed, "%.6e", mantissa * std::pow(10.0, exponent) * ((next() & 1) ? 1 : -1));
    double held = *ParseNumber(typed, sink);
    std::string text = FileNumber(held);
    ASSERT_EQ(ParseNumber(text, sink), held) << text;
    ASSERT_EQ(FileNumber(*ParseNumber(text, sink)), text);
    std::string digits;
    for (char c : text.substr(0, text.find('E')))
      if (std::isdigit(static_cast<unsigned char>(c)) && (c != '0' || !digits.empty())) digits += c;
    ASSERT_LE(digits.size(), 7u) << text;
  }
  EXPECT_EQ(FileNumber(static_cast<float>(0.0009876543)), ".0009876543");
  EXPECT_TRUE(sink.messages.empty());
}

class ParseNumberTest : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override { SetDecimalSeparator(GetParam()); }
  void TearDown() override { SetDecimalSeparator('.'); }
  RecordingSink sink;
};

TEST_P(ParseNumberTest, BothSeparatorsReadAsTheDecimalPoint) {
  EXPECT_EQ(ParseNumber("1,5", sink), 1.5);
  EXPECT_EQ(ParseNumber("1.5", sink), 1.5);
  EXPECT_EQ(ParseNumber(" -.25 ", sink), -0.25);
  EXPECT_EQ(ParseNumber("1.5e2", sink), 150.0);
  EXPECT_EQ(ParseNumber("-13.77", sink), static_cast<double>(static_cast<float>(-13.77)));
  EXPECT_TRUE(sink.messages.empty());
}

TEST_P(ParseNumberTest, TextThatIsNotANumberReadsItsLeadingPart) {
  EXPECT_EQ(ParseNumber("", sink), 0.0);
  EXPECT_EQ(ParseNumber("abc", sink), 0.0);
  EXPECT_EQ(ParseNumber("2x", sink), 2.0);
  // The leading part is not rounded to single precision.
  EXPECT_EQ(ParseNumber("0.1x", sink), 0.1);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_P(ParseNumberTest, MagnitudeBeyondSinglePrecisionIsAnEmptyValue) {
  EXPECT_EQ(ParseNumber("1e39", sink), std::nullopt);
  EXPECT_EQ(ParseNumberOrZero("-5e40", sink), 0.0);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0], "invalid entry for number");
  EXPECT_EQ(ParseNumber("3e38", sink), static_cast<double>(3e38f));
}

INSTANTIATE_TEST_SUITE_P(Locales, ParseNumberTest, ::testing::Values('.', ','));

TEST(ParseInteger, LeadingPartRoundedHalfToEven) {
  EXPECT_EQ(ParseInteger("2.5"), 2);
  EXPECT_EQ(ParseInteger("3.5"), 4);
  EXPECT_EQ(ParseInteger("-1"), -1);
  EXPECT_EQ(ParseInteger(""), 0);
  EXPECT_EQ(ParseInteger("7abc"), 7);
  EXPECT_EQ(ParseInteger("x7"), 0);
  EXPECT_EQ(ParseInteger("1e12"), INT_MAX);
  EXPECT_EQ(ParseInteger("-1e12"), INT_MIN);
  EXPECT_EQ(LeadingNumber(" 1 2"), 12.0);
  EXPECT_EQ(LeadingNumber("-.5x"), -0.5);
  EXPECT_EQ(LeadingNumber("1e"), 1.0);
  EXPECT_EQ(LeadingNumber("1E5"), 100000.0);
  EXPECT_EQ(LeadingNumber("."), 0.0);
}

}  // namespace
}  // namespace tarn
