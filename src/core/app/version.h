#pragma once
// The program's version, set once in the top CMakeLists.txt (project(Tarn
// VERSION ...)) and shown by `tarn --version`, `tarn-cli --version`, the
// About window and the workbooks the program writes.

namespace tarn {

// "1.0.0"
const char* ProgramVersion();

// "Tarn 1.0.0": the line the programs print for --version.
const char* VersionLine();

}  // namespace tarn
