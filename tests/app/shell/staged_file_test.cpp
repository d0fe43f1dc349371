// A staged file reaches its name only when committed: closed first it can be
// read back under its temporary name, and a file that is never committed
// (or cannot take its name) leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/shell/staged_file.h"
#include "emu/host/emulator.h"

namespace {

namespace fs = std::filesystem;

class StagedFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    emu::Install(emu::DefaultHost());
    folder_ = fs::temp_directory_path() /
              ("tessvarc-staged-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path folder_;
};

TEST_F(StagedFileTest, ClosedFileIsReadBackUnderItsTemporaryNameThenCommitted) {
  std::string name = PathOf("out.bin");
  std::ofstream(name) << "old";
  StagedFile file;
  ASSERT_TRUE(file.Open(name.c_str(), "wb"));
  ASSERT_TRUE(file.Write("new bytes", 9));
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(std::string(file.StagingName()), name + ".part");
  EXPECT_EQ(Contents(file.StagingName()), "new bytes");
  EXPECT_EQ(Contents(name), "old");  // the old file keeps its name until the commit
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(Contents(name), "new bytes");
  EXPECT_FALSE(fs::exists(name + ".part"));
  EXPECT_FALSE(file.Commit());  // once only
}

TEST_F(StagedFileTest, NothingIsLeftWhenTheFileIsNotCommittedOrCannotTakeItsName) {
  std::string name = PathOf("out.bin");
  {
    StagedFile file;
    ASSERT_TRUE(file.Open(name.c_str(), "wb"));
    ASSERT_TRUE(file.Write("abc", 3));
    ASSERT_TRUE(file.Close());
  }  // closed, never committed
  EXPECT_FALSE(fs::exists(name + ".part"));
  EXPECT_FALSE(fs::exists(name));

  fs::create_directories(PathOf("taken"));  // a folder holds the name: the rename fails
  StagedFile file;
  ASSERT_TRUE(file.Open(PathOf("taken").c_str(), "wb"));
  ASSERT_TRUE(file.Write("abc", 3));
  EXPECT_FALSE(file.Commit());
  EXPECT_FALSE(fs::exists(PathOf("taken.part")));
  EXPECT_TRUE(fs::is_directory(PathOf("taken")));

  StagedFile none;  // cannot be created: nothing to close or commit
  EXPECT_FALSE(none.Open(PathOf("no/such/folder/x").c_str(), "wb"));
  EXPECT_FALSE(none.Close());
  EXPECT_FALSE(none.Commit());
}

}  // namespace
