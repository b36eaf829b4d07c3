#pragma once
// Numbers to text and text to numbers, the one place where the program's
// number formats live: the display patterns ("##0.0#####", "0.000E+00", ...),
// the plain conversion with its leading blank, the project file's number
// writer, and the reading rules for numbers typed or stored as text.

#include <optional>
#include <string>
#include <string_view>

namespace tarn {

class MessageSink;

// The decimal separator of the user's locale: '.' or ','. Display patterns
// write it and ParseNumber accepts it; files and plain texts always use '.'.
char DecimalSeparator();
void SetDecimalSeparator(char separator);
// Takes the separator from the environment's LC_NUMERIC locale.
void UseSystemDecimalSeparator();

// Formats x with a display pattern made of an integer part of '#' and '0'
// placeholders, an optional '.' with '0' (always shown) and '#' (shown when not
// zero) decimals, and an optional exponent part "E+00", "E-00", "e+00", "e-0"
// ('+' always writes the sign, '-' only a minus; the zeros give the least
// number of exponent digits). Halves are rounded away from zero on the value
// as written with 15 significant digits. The decimal point is the separator
// given, or the locale's.
std::string FormatPattern(double x, std::string_view pattern);
std::string FormatPattern(double x, std::string_view pattern, char separator);

// The plain number-to-text conversion: a blank before a non-negative number,
// at most 15 significant digits, no zero before the point (" .5", "-.25"),
// exponent notation ("1E-05", "1.5E+20") for very small or large magnitudes.
std::string PlainText(double x);
// The same with at most 7 significant digits (single-precision values).
std::string PlainTextSingle(double x);
// The conversion of an integer: " 12", "-3".
std::string PlainText(int n);

// The full-precision text of a double for data files that other programs read
// (the batch tool's csv): 17 significant digits, enough to read back the same
// double; '.' as the decimal point whatever the locale; no leading blank; no
// trailing zeros; exponent notation ("1.5e-05") below 1e-4 and from 1e17 on.
std::string FullPrecisionText(double x);

// The number writer of the project and settings files: the plain conversion
// without the leading blank. A value that single precision holds exactly is
// written as the shortest text that reads back as that value (at most 7
// significant digits for any value read from a 7-digit text), any other with
// at most 15 significant digits.
std::string FileNumber(double x);

// Reads a number typed by the user or stored in a file. Either '.' or ',' may
// separate the decimals: the first occurrence of the separator the locale does
// not use is replaced by the one it uses, and the text is converted to a
// single-precision number. Text that is not a number reads as its leading
// numeric part (LeadingNumber), so "" and "abc" give 0 and "2x" gives 2. A
// magnitude beyond single precision shows "invalid entry for number" and gives
// an empty value (nullopt), which counts as 0.
std::optional<double> ParseNumber(std::string_view text, MessageSink& sink);
// ParseNumber with an empty value read as 0.
double ParseNumberOrZero(std::string_view text, MessageSink& sink);

// Reads a number the user typed into a grid cell or a box. The text, blanks
// aside, must be a whole number with either separator, read as ParseNumber
// reads it; anything else ("", "abc", "2x", "1,5,") is refused as a
// magnitude beyond single precision is: "invalid entry for number" and no
// value, so the caller keeps the old one.
std::optional<double> ParseTypedNumber(std::string_view text, MessageSink& sink);
// The same without a message, for a box read while it is typed into: the
// value when the text is a number now, nothing otherwise.
std::optional<double> TypedNumber(std::string_view text);
// The message of a refused number.
inline constexpr const char* kInvalidNumberMessage = "invalid entry for number";

// The leading numeric part of a text with '.' as the decimal point (blanks are
// skipped, an optional sign, digits, point, exponent); 0 when there is none.
double LeadingNumber(std::string_view text);

// Counts, coefficients and keys: the leading numeric part rounded to the
// nearest integer (halves to the even neighbour), limited to the int range.
int ParseInteger(std::string_view text);

// Text with leading and trailing blanks (spaces, tabs, CR, LF) removed.
std::string_view Trim(std::string_view text);
std::string Upper(std::string_view text);

}  // namespace tarn
