// A command's whole file: read from the start into an owned buffer, or
// refused with the command's words; a failure leaves nothing held and no
// file open.
#include <gtest/gtest.h>
#include <sys/types.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/shell/file_slots.h"
#include "app/shell/whole_file.h"
#include "app_test_support.h"
#include "emu/host/emulator.h"

namespace {

namespace fs = std::filesystem;

constexpr char kEmptyRefusal[] = "\n%s: Invalid data %s.\n";
constexpr char kReadFailure[] = "%s: File read error. Name: %s";

class WholeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card_ = &emu::Install(emu::DefaultHost());
    folder_ = fs::temp_directory_path() /
              ("tessvarc-whole-file-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    std::ofstream(PathOf("image.bin"), std::ios::binary) << std::string("ab\0cd", 5);
    std::ofstream(PathOf("empty.bin"), std::ios::binary);
    fs::create_directories(PathOf("folder"));
    // Sparse: only its size is ever looked at.
    std::ofstream(PathOf("largest.txt"), std::ios::binary);
    fs::resize_file(PathOf("largest.txt"), 0xFFFFFFFFu);
    std::ofstream(PathOf("beyond.bin"), std::ios::binary);
    fs::resize_file(PathOf("beyond.bin"), 0x100000005u);
    std::ofstream(PathOf("four-gib.bin"), std::ios::binary);
    fs::resize_file(PathOf("four-gib.bin"), 0x100000000u);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  static bool AnyFileOpen() {
    for (const FileSlot& slot : FileSlots) {
      if (slot.stream != nullptr) return true;
    }
    return false;
  }
  emu::Emulator* card_ = nullptr;
  fs::path folder_;
};

std::string NotFound(const std::string& path) {
  return app_test::Message("File doesn't exists or not a regular file. Name: " + path + ".");
}

TEST_F(WholeFileTest, WhatEachFileAndOptionGive) {
  const WholeFileOptions plain{};
  const WholeFileOptions text{kEmptyRefusal, true, kReadFailure};
  const WholeFileOptions emptyText{nullptr, true, nullptr};
  struct Case {
    const char* name;
    const char* file;
    const WholeFileOptions* options;
    bool read;
    std::string bytes;  // what the buffer holds, the NUL included
    uint32_t size;
    std::string output;  // "@" stands for the path
  };
  const Case cases[] = {
      {"regular file, bytes as they are", "image.bin", &plain, true, std::string("ab\0cd", 5), 5, ""},
      {"regular file, NUL after them", "image.bin", &text, true, std::string("ab\0cd\0", 6), 5, ""},
      {"empty file, no bytes", "empty.bin", &plain, true, "", 0, ""},
      {"empty file, refused", "empty.bin", &text, false, "", 0, "\n" + app_test::kTitle + ": Invalid data @.\n"},
      {"empty file as text, the NUL alone", "empty.bin", &emptyText, true, std::string(1, '\0'), 0, ""},
      {"missing file", "missing.bin", &text, false, "", 0, NotFound("@")},
      {"a folder is no regular file", "folder", &plain, false, "", 0, NotFound("@")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = PathOf(c.file);
    WholeFile file;
    file.size = 77;
    EXPECT_EQ(ReadWholeFile(path.c_str(), *c.options, &file), c.read);
    EXPECT_EQ(file.size, c.size);
    EXPECT_EQ(file.bytes.size(), c.bytes.size());
    if (c.bytes.empty()) {
      EXPECT_FALSE(file.bytes);
    } else {
      ASSERT_TRUE(file.bytes);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.bytes.get()), file.bytes.size()), c.bytes);
    }
    std::string expected = c.output;
    for (size_t at = expected.find('@'); at != std::string::npos; at = expected.find('@')) {
      expected.replace(at, 1, path);
    }
    EXPECT_EQ(card_->TakeOutput(), expected);
    EXPECT_FALSE(AnyFileOpen());
  }
}

// Files too large to hold are refused whole, never read as their first
// bytes. A port whose file offsets are 32 bits wide cannot open them at all,
// which refuses them too.
TEST_F(WholeFileTest, AFileTooLargeToHoldIsRefused) {
  const WholeFileOptions plain{};
  const WholeFileOptions text{kEmptyRefusal, true, kReadFailure};
  struct Case {
    const char* name;
    const char* file;
    const WholeFileOptions* options;
  };
  const Case cases[] = {
      // Its NUL would need a byte past the largest size the open can give.
      {"the largest file as text", "largest.txt", &text},
      // Its size seen in 32 bits is 5: it must not pass for a file of 5 bytes.
      {"a file beyond 32 bits", "beyond.bin", &plain},
      {"a file beyond 32 bits as text", "beyond.bin", &text},
      // Seen in 32 bits it is empty: it is too large, not empty.
      {"a file of 4 GiB", "four-gib.bin", &text},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = PathOf(c.file);
    WholeFile file;
    EXPECT_FALSE(ReadWholeFile(path.c_str(), *c.options, &file));
    EXPECT_FALSE(file.bytes);
    EXPECT_EQ(file.size, 0u);
    const std::string output = card_->TakeOutput();
    if (sizeof(off_t) >= 8 || output != NotFound(path)) {
      EXPECT_EQ(output, app_test::Message("Insufficient memory."));
    }
    EXPECT_FALSE(AnyFileOpen());
  }
}

// A kernel attribute announces a page of bytes and gives only its text: the
// read comes up short, which is a read failure, said or silent.
TEST_F(WholeFileTest, AFileThatGivesFewerBytesThanItAnnouncesIsAReadFailure) {
  const char* attribute = "/sys/devices/system/cpu/online";
  std::error_code error;
  if (fs::file_size(attribute, error) <= 16 || error) GTEST_SKIP() << "no kernel attribute to read";
  // Reached through a link of its own, the emulated card's /sys is not in the way.
  const std::string link = PathOf("attribute");
  fs::create_symlink(attribute, link);
  struct Case {
    const char* readFailure;
    std::string output;
  };
  const Case cases[] = {
      {kReadFailure, app_test::kTitle + ": File read error. Name: " + link},
      {nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    WholeFile file;
    EXPECT_FALSE(ReadWholeFile(link.c_str(), WholeFileOptions{nullptr, false, c.readFailure}, &file));
    EXPECT_FALSE(file.bytes);
    EXPECT_EQ(file.size, 0u);
    EXPECT_EQ(card_->TakeOutput(), c.output);
    EXPECT_FALSE(AnyFileOpen());
  }
}

}  // namespace
