// A folder of its own for a test whose command writes into the current
// folder: made fresh and entered when the test starts, left and removed at
// its end. And a limit on the size of the files the process writes, as on
// a disk that fills up.
#pragma once

#include <sys/resource.h>

#include <csignal>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace app_test {

class ScratchFolder {
 public:
  ScratchFolder() : previous_(std::filesystem::current_path()) {
    path_ = std::filesystem::temp_directory_path() /
            ("tessvarc-app-" + std::to_string(std::random_device{}()) + "-" + std::to_string(std::random_device{}()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }
  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::vector<uint8_t> Read(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// While it lives, a write that would take a file past `bytes` fails (the
// signal such a write raises is ignored); the limits before are restored.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = SIG_DFL;
};

}  // namespace app_test
