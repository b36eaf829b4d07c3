#pragma once
// A real comma locale for the C library, as German, French and Italian
// desktops have it: LC_ALL becomes a locale whose decimal separator is ",",
// and the previous locale comes back at the end of the scope. A machine
// without such a locale gets de_DE.UTF-8 made with localedef (Debian's
// "locales" package) into a folder of the temporary folder, named by LOCPATH.
//
//   CommaLocale comma;
//   ASSERT_TRUE(comma.Active()) << comma.Problem();
//   ... std::strtod("9.57", nullptr) is 9 here ...

#include <unistd.h>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tarn::testing {

class CommaLocale {
 public:
  CommaLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "it_IT.UTF-8"})
      if (Use(name)) return;
    std::string folder = MakeLocale();
    if (folder.empty()) return;
    ::setenv("LOCPATH", folder.c_str(), 1);
    if (!Use("de_DE.UTF-8")) problem_ = "de_DE.UTF-8 made in " + folder + " has no comma";
  }
  ~CommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  bool Active() const { return !name_.empty(); }
  const std::string& Name() const { return name_; }
  const std::string& Problem() const { return problem_; }

 private:
  bool Use(const char* name) {
    if (std::setlocale(LC_ALL, name) == nullptr) return false;
    if (std::string(std::localeconv()->decimal_point) == ",") {
      name_ = name;
      return true;
    }
    std::setlocale(LC_ALL, previous_.c_str());
    return false;
  }

  // The folder holding de_DE.UTF-8, made once per user; empty on failure.
  std::string MakeLocale() {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("tarn-locales-" + std::to_string(::getuid()));
    if (fs::exists(folder / "de_DE.UTF-8" / "LC_NUMERIC")) return folder.string();
    // Made beside and renamed into place, so tests running at once do not
    // see a half-made locale.
    fs::path part = folder.string() + ".part" + std::to_string(::getpid());
    std::error_code ec;
    fs::create_directories(part, ec);
    std::string command = "localedef -i de_DE -f UTF-8 '" + (part / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    int status = std::system(command.c_str());
    if (!fs::exists(part / "de_DE.UTF-8" / "LC_NUMERIC")) {
      problem_ = "no comma locale, and localedef failed (status " + std::to_string(status) +
                 "): install Debian's \"locales\" package";
      fs::remove_all(part, ec);
      return {};
    }
    fs::rename(part, folder, ec);  // another test may have been first
    if (!fs::exists(folder / "de_DE.UTF-8" / "LC_NUMERIC")) return part.string();
    fs::remove_all(part, ec);
    return folder.string();
  }

  std::string previous_;
  std::string name_;
  std::string problem_;
};

}  // namespace tarn::testing
