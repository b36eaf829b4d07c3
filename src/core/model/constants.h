#pragma once
// The numbers the whole program shares.

#include <numbers>

namespace tarn {

// The program's name in its window titles and table captions.
inline constexpr const char* kProgramTitle = "Tarn2009";

// ln 10, for turning natural logarithms into decimal ones and back.
inline constexpr double kLn10 = std::numbers::ln10;
// ln 10 to seven digits, as the pH columns and log texts of the program divide
// by it (their last digit depends on it).
inline constexpr double kLn10Shown = 2.302585;

}  // namespace tarn
