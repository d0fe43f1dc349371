// A test against the default card with a fresh folder of its own for the
// image files, manifests and packages it writes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/shell/program_state.h"
#include "card_fixture.h"

namespace pkg_test {

class PackageFolder : public app_test::CardFixture {
 public:
  void SetUp() override {
    CardFixture::SetUp();
    SelectedController = 1;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              ("tessvarc-pkg-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               test->test_suite_name() + "-" + test->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    CardFixture::TearDown();
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                         static_cast<std::streamsize>(bytes.size()));
    return PathOf(name);
  }
  std::string WriteText(const std::string& name, const std::string& text) const {
    return Write(name, std::vector<uint8_t>(text.begin(), text.end()));
  }
  std::vector<uint8_t> Read(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  // The names the folder holds, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path folder_;
};

}  // namespace pkg_test
