#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/shell/file_slots.h"
#include "emu/host/emulator.h"

namespace {

namespace fs = std::filesystem;

class FileSlotsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    emu::Install(emu::DefaultHost());
    folder_ = fs::temp_directory_path() /
              ("tessvarc-app-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    for (uint32_t handle = 0; handle < kFileSlotCount; ++handle) FileClose(handle);
    fs::remove_all(folder_);
  }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  std::string Write(const std::string& name, const std::string& contents) const {
    std::ofstream(PathOf(name), std::ios::binary) << contents;
    return PathOf(name);
  }
  fs::path folder_;
};

TEST_F(FileSlotsTest, SixtyFourFilesAtOnceThenTheLowestFreeSlotIsReused) {
  std::string path = Write("data.bin", "0123456789");
  std::vector<uint32_t> handles;
  for (uint32_t i = 0; i < kFileSlotCount; ++i) {
    uint32_t size = 0;
    uint32_t handle = FileOpen(path.c_str(), "rb", &size);
    ASSERT_EQ(handle, i);
    EXPECT_EQ(size, 10u);
    handles.push_back(handle);
  }
  uint32_t size = 77;
  EXPECT_EQ(FileOpen(path.c_str(), "rb", &size), kInvalidFileHandle);

  FileClose(40);
  FileClose(12);
  EXPECT_EQ(FindFileSlot(12)->stream, nullptr);
  EXPECT_EQ(FileOpen(path.c_str(), "rb", &size), 12u);
  EXPECT_EQ(FileOpen(path.c_str(), "rb", &size), 40u);
  EXPECT_EQ(FileOpen(path.c_str(), "rb", &size), kInvalidFileHandle);
}

TEST_F(FileSlotsTest, AFailedOpenTakesNoSlot) {
  uint32_t size = 77;
  EXPECT_EQ(FileOpen(PathOf("missing.bin").c_str(), "rb", &size), kInvalidFileHandle);
  EXPECT_EQ(FileOpen(PathOf("no/such/folder/out.txt").c_str(), "w", &size), kInvalidFileHandle);
  std::string path = Write("present.txt", "x");
  EXPECT_EQ(FileOpen(path.c_str(), "r", &size), 0u);
}

TEST_F(FileSlotsTest, WriteThenReadBack) {
  std::string path = Write("out.bin", "old contents that get truncated");
  uint32_t size = 77;
  uint32_t out = FileOpen(path.c_str(), "wb+", &size);
  ASSERT_NE(out, kInvalidFileHandle);
  EXPECT_EQ(size, 0u);  // truncated by the mode
  EXPECT_EQ(FileWrite(out, 6, "line1\n"), 1u);
  EXPECT_EQ(FileWrite(out, 6, "line2\n"), 1u);
  char bytes[12] = {};
  EXPECT_EQ(FileReadAll(out, 12, bytes), 0u);  // from the start, whatever the position
  EXPECT_EQ(std::string(bytes, 12), "line1\nline2\n");
  FileClose(out);

  uint32_t in = FileOpen(path.c_str(), "r", &size);
  ASSERT_NE(in, kInvalidFileHandle);
  EXPECT_EQ(size, 12u);
  char big[40];
  EXPECT_EQ(FileReadAll(in, sizeof big, big), 1u);  // fewer bytes than asked
  ASSERT_TRUE(FindFileSlot(in)->stream->Rewind());
  char line[8];
  ASSERT_NE(FileReadLine(line, sizeof line, in), nullptr);
  EXPECT_STREQ(line, "line1\n");
  ASSERT_NE(FileReadLine(line, 4, in), nullptr);  // at most size - 1 characters
  EXPECT_STREQ(line, "lin");
  ASSERT_NE(FileReadLine(line, sizeof line, in), nullptr);
  EXPECT_STREQ(line, "e2\n");
  EXPECT_EQ(FileReadLine(line, sizeof line, in), nullptr);
  FileClose(in);
}

TEST_F(FileSlotsTest, HandlesWithoutAFileAreRefused) {
  std::string path = Write("a.txt", "abc\n");
  uint32_t size = 0;
  uint32_t handle = FileOpen(path.c_str(), "r", &size);
  ASSERT_EQ(handle, 0u);
  FileClose(handle);
  FileClose(handle);  // ignored
  FileClose(kInvalidFileHandle);
  char buffer[8];
  for (uint32_t bad : {handle, 5u, kInvalidFileHandle}) {
    EXPECT_EQ(FileReadAll(bad, 4, buffer), 2u) << bad;
    EXPECT_EQ(FileWrite(bad, 4, "abcd"), 0u) << bad;
    EXPECT_EQ(FileReadLine(buffer, sizeof buffer, bad), nullptr) << bad;
  }
}

TEST_F(FileSlotsTest, IsRegularFileOnlyForRegularFiles) {
  std::string path = Write("regular.txt", "");
  EXPECT_TRUE(IsRegularFile(path.c_str()));
  EXPECT_FALSE(IsRegularFile(folder_.string().c_str()));
  EXPECT_FALSE(IsRegularFile(PathOf("missing").c_str()));
}

}  // namespace
