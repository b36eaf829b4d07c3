#pragma once
// A folder of its own for one test, removed afterwards, and whole-file helpers.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tarn::testing {

class TempFolder {
 public:
  TempFolder() { std::filesystem::create_directories(path_); }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  static inline int count_ = 0;
  std::string path_ = std::filesystem::temp_directory_path().string() + "/tarn_app_" + std::to_string(getpid()) + "_" +
                      std::to_string(++count_);
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
