#include "core/model/number_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/model/message_sink.h"

namespace tarn {
namespace {

// Each value against its text, for one conversion.
template <typename Convert>
void ExpectTexts(Convert convert, const std::vector<double>& values, const std::vector<std::string>& texts) {
  ASSERT_EQ(values.size(), texts.size());
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(convert(values[i]), texts[i]) << values[i];
}

void ExpectPattern(const char* pattern, const std::vector<double>& values, const std::vector<std::string>& texts) {
  SCOPED_TRACE(pattern);
  ExpectTexts([pattern](double x) { return FormatPattern(x, pattern, '.'); }, values, texts);
}

// Worked values for every display pattern the program uses; halves round
// away from zero on the decimal value.
TEST(FormatPattern, WorkedValuesOfEveryPattern) {
  ExpectPattern("##0.0#####", {-13.77, 12, 1e-7, 3.14159265}, {"-13.77", "12.0", "0.0", "3.141593"});
  ExpectPattern("0.000E+00", {1234.5, 0, -0.5, 9.9996, 0.000012345},
                {"1.235E+03", "0.000E+00", "-5.000E-01", "1.000E+01", "1.235E-05"});
  ExpectPattern("0.000e+00", {0.1, 123456, 2e-150}, {"1.000e-01", "1.235e+05", "2.000e-150"});
  ExpectPattern("#0.000", {7, 12.3456, 2.6745}, {"7.000", "12.346", "2.675"});
  ExpectPattern("#0.0000", {0.00005, -7.25}, {"0.0001", "-7.2500"});
  ExpectPattern("###0.0####", {0.2, 1.5e-6, 12.345678}, {"0.2", "0.0", "12.34568"});
  ExpectPattern("0.0E-0", {1500, 0.015, 0}, {"1.5E3", "1.5E-2", "0.0E0"});
  ExpectPattern("0.0E-00", {0.015, 1500}, {"1.5E-02", "1.5E03"});
  ExpectPattern("0.00000E+00", {7, -0.000123456}, {"7.00000E+00", "-1.23456E-04"});
  ExpectPattern("0.00000E-00", {7, 0.01}, {"7.00000E00", "1.00000E-02"});
  ExpectPattern("###0", {2.5, 3.5, -2.5, 0}, {"3", "4", "-3", "0"});
  ExpectPattern("####0", {12, -1}, {"12", "-1"});
  ExpectPattern("##0.0###", {10, 12.34567}, {"10.0", "12.3457"});
  ExpectPattern("###0.0###", {-13.77}, {"-13.77"});
  ExpectPattern("###0.0", {0}, {"0.0"});
  ExpectPattern("###0.0##", {3, 9.12345}, {"3.0", "9.123"});
  ExpectPattern("###0.0#####", {1.25}, {"1.25"});
  ExpectPattern("##0", {5}, {"5"});
  ExpectPattern("##0.0##", {2.0005}, {"2.001"});
  ExpectPattern("##0.00", {12.3456}, {"12.35"});
  ExpectPattern("##0.000", {-0.0625}, {"-0.063"});
  ExpectPattern("#0.0", {7.04}, {"7.0"});
  ExpectPattern("#0.0##", {7}, {"7.0"});
  ExpectPattern("#0.0###", {3.14159}, {"3.1416"});
  ExpectPattern("#0.00", {7}, {"7.00"});
  ExpectPattern("0", {0.5, -0.5}, {"1", "-1"});
  ExpectPattern("0.0", {0.05, 0.25}, {"0.1", "0.3"});
  ExpectPattern("0.00", {1.005}, {"1.01"});
  ExpectPattern("0.000", {0.0005}, {"0.001"});
  ExpectPattern("0.0000", {1.23455}, {"1.2346"});
  ExpectPattern("0.000000", {0.1234565}, {"0.123457"});
  ExpectPattern("0.0000E+00", {1.23456e-3}, {"1.2346E-03"});
}

// Values typed or read from a file are held at single precision; they show
// as typed, not with the float's binary noise, and halves typed round up.
TEST(FormatPattern, SinglePrecisionValuesShowAsTyped) {
  auto single = [](double x) { return static_cast<double>(static_cast<float>(x)); };
  EXPECT_EQ(FormatPattern(single(-39.31), "##0.0#####"), "-39.31");
  EXPECT_EQ(FormatPattern(single(0.1), "###0.0####"), "0.1");
  EXPECT_EQ(FormatPattern(single(2.675), "0.00"), "2.68");
  EXPECT_EQ(FormatPattern(single(1.5e-5), "0.000E+00"), "1.500E-05");
  EXPECT_EQ(FormatPattern(single(-39.31), "0.0000000000"), "-39.3100000000");
}

TEST(FormatPattern, LocaleSeparatorAndNegativeZero) {
  EXPECT_EQ(FormatPattern(12.5, "##0.0#####", ','), "12,5");
  EXPECT_EQ(FormatPattern(1.5e-5, "0.000E+00", ','), "1,500E-05");
  EXPECT_EQ(FormatPattern(-0.0004, "#0.000", '.'), "0.000");  // rounded to zero: no minus sign
  SetDecimalSeparator(',');
  EXPECT_EQ(FormatPattern(0.5, "#0.00"), "0,50");
  SetDecimalSeparator('.');
  EXPECT_EQ(FormatPattern(0.5, "#0.00"), "0.50");
}

TEST(PlainText, LeadingBlankAndShortestForm) {
  ExpectTexts([](double x) { return PlainText(x); },
              {0.5, -0.25, 12, 0, 0.0001, 0.00001, 1.5e20, 123456789012345.0, 1e15, 1.0 / 3.0, -1234.5},
              {" .5", "-.25", " 12", " 0", " .0001", " 1E-05", " 1.5E+20", " 123456789012345", " 1E+15",
               " .333333333333333", "-1234.5"});
  EXPECT_EQ(PlainText(3), " 3");
  EXPECT_EQ(PlainText(-3), "-3");
  EXPECT_EQ(PlainTextSingle(1.0 / 3.0), " .3333333");
  EXPECT_EQ(PlainTextSingle(12345678.0), " 1.234568E+07");
}

TEST(FileNumber, SevenDigitsForSingleValuesFifteenForOthers) {
  auto single = [](double x) { return static_cast<double>(static_cast<float>(x)); };
  ExpectTexts(
      [](double x) { return FileNumber(x); },
      {0.5, -0.25, 0, 10, single(0.1), 0.1, single(-13.77), single(1.0 / 3.0), 1.0 / 3.0, 1e-10, single(2.5e-7), -1e25},
      // 7 digits of 1/3 in single precision would read back another value: 8 are written.
      {".5", "-.25", "0", "10", ".1", ".1", "-13.77", ".33333334", ".333333333333333", "1E-10", "2.5E-07", "-1E+25"});
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

TEST_P(ParseNumberTest, BothSeparatorsAndTheLeadingPartOfOtherText) {
  EXPECT_EQ(ParseNumber("1,5", sink), 1.5);
  EXPECT_EQ(ParseNumber("1.5", sink), 1.5);
  EXPECT_EQ(ParseNumber(" -.25 ", sink), -0.25);
  EXPECT_EQ(ParseNumber("1.5e2", sink), 150.0);
  EXPECT_EQ(ParseNumber("-13.77", sink), static_cast<double>(static_cast<float>(-13.77)));
  EXPECT_EQ(ParseNumber("", sink), 0.0);
  EXPECT_EQ(ParseNumber("abc", sink), 0.0);
  EXPECT_EQ(ParseNumber("2x", sink), 2.0);
  EXPECT_EQ(ParseNumber("0.1x", sink), 0.1);  // the leading part is not rounded to single precision
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
