#pragma once
// A folder of its own for one test, removed afterwards.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace tarn::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device rd;
    path_ = (std::filesystem::temp_directory_path() / ("tarn_app_" + std::to_string(rd()))).string();
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tarn::testing
