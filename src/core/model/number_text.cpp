#include "core/model/number_text.h"

#include <langinfo.h>
#include <locale.h>
#include <atomic>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/model/message_sink.h"

namespace tarn {

namespace {

std::atomic<char> gDecimalSeparator{'.'};

// Character tests of plain ASCII, whatever the C library's locale.
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The decimal digits of |x| at a given count of significant digits: x is
// 0.d1d2d3... x 10^(exponent + 1), so exponent is the power of ten of d1.
struct Digits {
  std::string digits;  // significant digits, no leading zero unless x == 0
  int exponent = 0;
};

// The digits and exponent of a text written by std::to_chars in scientific
// form ("9.57e+00"); to_chars writes '.' whatever the C library's locale.
Digits ScientificDigits(const char* begin, const char* end) {
  Digits d;
  const char* p = begin;
  for (; p < end && *p != 'e'; ++p)
    if (IsDigit(*p)) d.digits += *p;
  if (p < end) std::from_chars(p + (p + 1 < end && p[1] == '+' ? 2 : 1), end, d.exponent);
  return d;
}

Digits DecimalDigits(double x, int significant) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, significant - 1);
  return ec == std::errc() ? ScientificDigits(buf, end) : Digits{"0", 0};
}

Digits ShortestFloatDigits(float x) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific);
  return ec == std::errc() ? ScientificDigits(buf, end) : DecimalDigits(x, 9);
}

// The digits a value is shown from: a value held at single precision (every
// value typed or read from a file) shows as the shortest decimal that reads
// back to it, as it was typed (-39.31, not -39.310001); any other value at
// 15 significant digits.
Digits ValueDigits(double x) {
  if (x != 0 && std::isfinite(x) && static_cast<double>(static_cast<float>(x)) == x)
    return ShortestFloatDigits(static_cast<float>(x));
  return DecimalDigits(x, 15);
}

// Rounds the digit string to keep digits [0, keep) half away from zero; a
// carry into a new leading digit raises the exponent. keep may be <= 0.
Digits RoundDigits(const Digits& in, int keep) {
  Digits out = in;
  if (keep >= static_cast<int>(in.digits.size())) return out;
  bool up = keep >= 0 && in.digits[static_cast<std::size_t>(keep)] >= '5';
  if (keep < 0) {
    out.digits = "0";
    return out;
  }
  out.digits = in.digits.substr(0, static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && out.digits[static_cast<std::size_t>(i)] == '9') out.digits[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
      ++out.digits[static_cast<std::size_t>(i)];
    } else {
      out.digits.insert(out.digits.begin(), '1');
      out.exponent += 1;
    }
  }
  if (out.digits.empty()) out.digits = "0";
  return out;
}

struct Pattern {
  int minInt = 0;  // '0' placeholders before the point
  int minDec = 0;  // '0' placeholders after the point
  int maxDec = 0;  // all placeholders after the point
  bool scientific = false;
  char expChar = 'E';
  bool expPlus = false;  // '+': always a sign
  int expDigits = 1;
};

Pattern ParsePattern(std::string_view pattern) {
  Pattern p;
  bool afterPoint = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c == 'E' || c == 'e') {
      p.scientific = true;
      p.expChar = c;
      p.expPlus = i + 1 < pattern.size() && pattern[i + 1] == '+';
      p.expDigits = 0;
      for (std::size_t k = i + 2; k < pattern.size(); ++k)
        if (pattern[k] == '0') ++p.expDigits;
      if (p.expDigits == 0) p.expDigits = 1;
      break;
    }
    if (c == '.') {
      afterPoint = true;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++p.maxDec;
        if (c == '0') ++p.minDec;
      } else if (c == '0') {
        ++p.minInt;
      }
    }
  }
  return p;
}

// Joins integer and decimal digits, trimming optional decimals down to minDec.
std::string Compose(bool negative, std::string intPart, std::string decPart, const Pattern& p, char sep) {
  while (static_cast<int>(decPart.size()) > p.minDec && !decPart.empty() && decPart.back() == '0') decPart.pop_back();
  std::size_t firstNonZero = intPart.find_first_not_of('0');
  intPart = firstNonZero == std::string::npos ? std::string() : intPart.substr(firstNonZero);
  while (static_cast<int>(intPart.size()) < p.minInt) intPart.insert(intPart.begin(), '0');
  bool allZero =
      intPart.find_first_not_of('0') == std::string::npos && decPart.find_first_not_of('0') == std::string::npos;
  std::string out = (negative && !allZero) ? "-" : "";
  out += intPart;
  if (!decPart.empty() || p.minDec > 0) {
    out += sep;
    out += decPart;
  }
  return out;
}

std::string FormatFixed(double x, const Pattern& p, char sep) {
  Digits d = ValueDigits(x);
  if (x == 0) d = {"0", 0};
  // Keep the digits up to 10^-maxDec: that is exponent + 1 + maxDec digits.
  Digits r = RoundDigits(d, d.exponent + 1 + p.maxDec);
  std::string intPart, decPart;
  int pointPos = r.exponent + 1;  // digits before the point
  if (pointPos > 0) {
    intPart = r.digits.substr(0, std::min<std::size_t>(r.digits.size(), static_cast<std::size_t>(pointPos)));
    while (static_cast<int>(intPart.size()) < pointPos) intPart += '0';
    if (static_cast<int>(r.digits.size()) > pointPos) decPart = r.digits.substr(static_cast<std::size_t>(pointPos));
  } else {
    decPart = std::string(static_cast<std::size_t>(-pointPos), '0') + r.digits;
  }
  if (static_cast<int>(decPart.size()) > p.maxDec) decPart.resize(static_cast<std::size_t>(p.maxDec));
  while (static_cast<int>(decPart.size()) < p.maxDec) decPart += '0';
  return Compose(std::signbit(x), intPart, decPart, p, sep);
}

std::string FormatScientific(double x, const Pattern& p, char sep) {
  int intDigits = std::max(1, p.minInt);
  std::string intPart, decPart;
  int exponent = 0;
  if (x == 0) {
    intPart = "0";
    decPart = std::string(static_cast<std::size_t>(p.maxDec), '0');
  } else {
    Digits r = RoundDigits(ValueDigits(x), intDigits + p.maxDec);
    while (static_cast<int>(r.digits.size()) < intDigits + p.maxDec) r.digits += '0';
    intPart = r.digits.substr(0, static_cast<std::size_t>(intDigits));
    decPart = r.digits.substr(static_cast<std::size_t>(intDigits));
    exponent = r.exponent - (intDigits - 1);
  }
  std::string out = Compose(x < 0, intPart, decPart, p, sep);
  if (out.empty() || out == "-") out += '0';
  out += p.expChar;
  if (exponent < 0)
    out += '-';
  else if (p.expPlus)
    out += '+';
  std::string e = std::to_string(std::abs(exponent));
  while (static_cast<int>(e.size()) < p.expDigits) e.insert(e.begin(), '0');
  return out + e;
}

// The digits of the shortest decimal that reads back as the same float.

// Lays out the digits of a non-zero number: '.' as the point, no leading
// zero, exponent notation below 1e-4 and from 10^expFrom on.
std::string LayoutDigits(bool negative, Digits d, int expFrom) {
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  std::string out = negative ? "-" : "";
  if (d.exponent < -4 || d.exponent >= expFrom) {
    out += d.digits.substr(0, 1);
    if (d.digits.size() > 1) out += "." + d.digits.substr(1);
    std::string e = std::to_string(std::abs(d.exponent));
    return out + (d.exponent < 0 ? "E-" : "E+") + (e.size() < 2 ? "0" : "") + e;
  }
  if (d.exponent < 0) return out + "." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
  std::size_t pointPos = static_cast<std::size_t>(d.exponent) + 1;
  if (d.digits.size() <= pointPos) return out + d.digits + std::string(pointPos - d.digits.size(), '0');
  return out + d.digits.substr(0, pointPos) + "." + d.digits.substr(pointPos);
}

// The shortest text of x with at most `significant` digits.
std::string ShortestText(double x, int significant) {
  if (!std::isfinite(x) || x == 0) return "0";
  return LayoutDigits(x < 0, DecimalDigits(x, significant), significant);
}

// The power of ten of the first significant digit of a decimal text (sign,
// digits, point, exponent), positive when the magnitude is at least 1.
long long OrderOfMagnitude(std::string_view text) {
  std::size_t e = text.find_first_of("eE");
  std::string_view mantissa = text.substr(0, e);
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = text.substr(e + 1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec != std::errc())
      exponent = digits.starts_with('-') ? -1'000'000 : 1'000'000;
  }
  std::size_t point = mantissa.find('.');
  std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return 0;
  if (point == std::string_view::npos) point = mantissa.size();
  long long order = first < point ? static_cast<long long>(point - first) : -static_cast<long long>(first - point - 1);
  return order + exponent;
}

// The value of a decimal text (an optional sign, digits with an optional
// '.', an optional exponent), read as the "C" locale reads it whatever the C
// library's locale: magnitudes beyond double give infinity, those below its
// range 0.
double DecimalValue(std::string_view text) {
  bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range)
    value = OrderOfMagnitude(text) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  else if (ec != std::errc())
    value = 0;
  return negative ? -value : value;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The whole text, trimmed, is a decimal number with the given separator.
bool IsWholeNumber(std::string_view text, char sep, std::string& normalised) {
  std::string_view t = Trim(text);
  std::size_t i = 0;
  normalised.clear();
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) normalised += t[i++];
  int digits = 0;
  while (i < t.size() && IsDigit(t[i])) normalised += t[i++], ++digits;
  if (i < t.size() && t[i] == sep) {
    normalised += '.';
    ++i;
    while (i < t.size() && IsDigit(t[i])) normalised += t[i++], ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
    normalised += 'e';
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) normalised += t[i++];
    int expDigits = 0;
    while (i < t.size() && IsDigit(t[i])) normalised += t[i++], ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == t.size();
}

// The value of a text that is a whole number with either separator (the
// first occurrence of the one the locale does not use stands for the one it
// uses); nothing for any other text.
std::optional<double> WholeNumber(std::string_view text) {
  char sep = gDecimalSeparator.load();
  char other = sep == '.' ? ',' : '.';
  std::string replaced(text);
  if (std::size_t at = replaced.find(other); at != std::string::npos) replaced[at] = sep;
  std::string normalised;
  if (!IsWholeNumber(replaced, sep, normalised)) return std::nullopt;
  return DecimalValue(normalised);
}

bool FitsSingle(double value) {
  return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

}  // namespace

char DecimalSeparator() {
  return gDecimalSeparator.load();
}

void SetDecimalSeparator(char separator) {
  gDecimalSeparator.store(separator == ',' ? ',' : '.');
}

void UseSystemDecimalSeparator() {
  // The environment's numeric locale is looked at, never made the C
  // library's own.
  char sep = '.';
  if (locale_t environment = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr))) {
    const char* point = nl_langinfo_l(RADIXCHAR, environment);
    if (point && point[0] == ',') sep = ',';
    freelocale(environment);
  }
  SetDecimalSeparator(sep);
}

std::string FormatPattern(double x, std::string_view pattern) {
  return FormatPattern(x, pattern, DecimalSeparator());
}

std::string FormatPattern(double x, std::string_view pattern, char separator) {
  if (!std::isfinite(x)) return std::isnan(x) ? "NaN" : (x > 0 ? "Infinity" : "-Infinity");
  Pattern p = ParsePattern(pattern);
  return p.scientific ? FormatScientific(x, p, separator) : FormatFixed(x, p, separator);
}

std::string PlainText(double x) {
  std::string t = ShortestText(x, 15);
  return t[0] == '-' ? t : " " + t;
}

std::string PlainTextSingle(double x) {
  std::string t = ShortestText(static_cast<double>(static_cast<float>(x)), 7);
  return t[0] == '-' ? t : " " + t;
}

std::string PlainText(int n) {
  return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

std::string FullPrecisionText(double x) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 17);
  return ec == std::errc() ? std::string(buf, end) : std::string();
}

std::string FileNumber(double x) {
  bool single = std::isfinite(x) && static_cast<double>(static_cast<float>(x)) == x;
  if (!single) return ShortestText(x, 15);
  if (x == 0) return "0";
  // The shortest text that reads back as the same single-precision value: 7
  // digits or fewer for every value typed or read from a file, so a file
  // written, read and written again is the same to the byte.
  return LayoutDigits(x < 0, ShortestFloatDigits(static_cast<float>(x)), 7);
}

std::optional<double> ParseNumber(std::string_view text, MessageSink& sink) {
  std::optional<double> whole = WholeNumber(text);
  // A whole number is held at single precision; a leading part stays double.
  double value = whole ? *whole : LeadingNumber(text);
  if (!FitsSingle(value)) {
    sink.Show(kInvalidNumberMessage);
    return std::nullopt;
  }
  return whole ? static_cast<double>(static_cast<float>(value)) : value;
}

std::optional<double> TypedNumber(std::string_view text) {
  std::optional<double> whole = WholeNumber(text);
  if (!whole || !FitsSingle(*whole)) return std::nullopt;
  return static_cast<double>(static_cast<float>(*whole));
}

std::optional<double> ParseTypedNumber(std::string_view text, MessageSink& sink) {
  std::optional<double> value = TypedNumber(text);
  if (!value) sink.Show(kInvalidNumberMessage);
  return value;
}

double ParseNumberOrZero(std::string_view text, MessageSink& sink) {
  return ParseNumber(text, sink).value_or(0.0);
}

double LeadingNumber(std::string_view text) {
  std::string collected;
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  auto takeDigits = [&] {
    int n = 0;
    for (skipBlanks(); i < text.size() && IsDigit(text[i]); skipBlanks()) collected += text[i++], ++n;
    return n;
  };
  skipBlanks();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) collected += text[i++];
  int digits = takeDigits();
  if (i < text.size() && text[i] == '.') {
    collected += text[i++];
    digits += takeDigits();
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::string mantissa = collected;
    collected += 'e';
    ++i;
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) collected += text[i++];
    if (takeDigits() == 0) collected = mantissa;
  }
  return DecimalValue(collected);
}

int ParseInteger(std::string_view text) {
  double v = LeadingNumber(text);
  if (!(v > std::numeric_limits<int>::min())) return std::isnan(v) ? 0 : std::numeric_limits<int>::min();
  if (v >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  int previous = std::fegetround();
  std::fesetround(FE_TONEAREST);
  double r = std::nearbyint(v);
  std::fesetround(previous);
  return static_cast<int>(r);
}

std::string_view Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace tarn
