// Generated log file names: the parts in their order, the module's
// identifiers, the date stamp from the clock, failing module queries, names
// that do not fit and module texts that could lead out of a directory.
#include <gtest/gtest.h>

#include <string>

#include "app/logs/log_file_name.h"
#include "app/shell/program_state.h"
#include "card_fixture.h"
#include "emu/raid/device_rules.h"

namespace {

constexpr LogNameOptions kNone = {0, 0, 0, 0, 0, 0, 0};
constexpr LogNameOptions kPlace = {1, 1, 1, 0, 0, 0, 1};  // cage, location, slot, date
constexpr LogNameOptions kAll = {1, 1, 1, 1, 1, 0, 1};    // what -getsmartlog asks for

class LogFileName : public app_test::CardFixture {
 protected:
  void SetUp() override {}
  // A card of this board type whose clock starts at `start` (UTC).
  void StartWith(uint8_t boardType, int64_t start) {
    emu::HostModel host = emu::DefaultHost();
    host.startTime = start;
    emu::AdapterModel& a = *host.FirstAdapter();
    a.boardType = boardType;
    a.modules = emu::DefaultModules(a);
    a.raid = emu::DefaultRaid(a);
    a.pages = emu::DefaultPages(a);
    Start(std::move(host));
    SelectedController = 1;
    ASSERT_EQ(LibZKGetVXHandle(0, &vx_), 0u);
  }
  emu::ModuleModel& ModuleIn(uint32_t slot) { return *model().FindModule(static_cast<uint8_t>(slot)); }
  // The name for a slot, and the result.
  std::string Name(uint32_t slot, const LogNameOptions& options, uint32_t* result,
                   const char* prefix = "SSDEventLog", size_t size = kLogFileNameSize) {
    uint32_t ssd = kNoModuleHandle;
    EXPECT_EQ(LibZKGetSSDHandle(vx_, slot, &ssd), 0u);
    std::string name(size, 'x');
    *result = BuildLogFileName(vx_, ssd, prefix, slot, options, name.data(), size);
    EXPECT_EQ(name.find('\0') != std::string::npos, true);
    return name.substr(0, name.find('\0'));
  }
  uint32_t vx_ = 0;
};

constexpr int64_t k7March2014At090501 = 1394183101;
constexpr int64_t k1June2024At120000 = 1717243200;

TEST_F(LogFileName, PartsInTheirOrder) {
  struct Case {
    uint8_t boardType;
    uint32_t slot;
    LogNameOptions options;
    const char* prefix;
    const char* name;
  };
  const Case cases[] = {
      {3, 2, kPlace, "SSDEventLog", "SSDEventLog_slot02_cage02_Upper_07032014_090501.bin"},
      {3, 2, kNone, "SSDEventLog", "SSDEventLog.bin"},
      // the configuration identifier (type word, then code word), then the
      // ATA serial number, before the date
      {7, 4, kAll, "SystemEventLog", "SystemEventLog_slot04_cage01_Upper_3039313532_ZKM2406A0104_07032014_090501.bin"},
      {7, 5, {0, 0, 1, 1, 0, 0, 0}, "x", "x_slot05_ZKM2406A0105.bin"},
      {7, 5, {0, 1, 0, 0, 1, 0, 0}, "dir/x", "dir/x_Lower_3039313532.bin"},
      // byte 5 is not used
      {3, 2, {1, 1, 1, 0, 0, 1, 1}, "SSDEventLog", "SSDEventLog_slot02_cage02_Upper_07032014_090501.bin"},
      // blanks anywhere are taken out
      {7, 6, {0, 0, 1, 0, 0, 0, 0}, "my log", "mylog_slot06.bin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartWith(c.boardType, k7March2014At090501);
    uint32_t result = 9;
    EXPECT_EQ(Name(c.slot, c.options, &result, c.prefix), c.name);
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(card().TakeOutput(), "");
  }
}

TEST_F(LogFileName, TheDateIsTheClocksAtTheStart) {
  StartWith(7, k1June2024At120000 + 3600 * 24 * 200 + 59);
  uint32_t result = 9;
  EXPECT_EQ(Name(4, {0, 0, 0, 0, 0, 0, 1}, &result), "SSDEventLog_18122024_120059.bin");
}

TEST_F(LogFileName, ModuleIdentifiersAsTheModuleGivesThem) {
  struct Case {
    const char* serial;
    char modelType;
    std::string configId;
    const char* name;
  };
  const Case cases[] = {
      // a serial padded with blanks before and after loses them
      {"   ZK42", '0', "2519", "L_3039313532_ZK42.bin"},
      {"ZK 4 2", '0', "2519", "L_3039313532_ZK42.bin"},
      // the words 0x2E and 0x1234
      {"A", '.', std::string("\x34\x12\0\0", 4), "L_2e00001234_A.bin"},
      // what could name another directory, or a hidden file, is left out
      {"../../etc/x", '0', "2519", "L_3039313532_etcx.bin"},
      {"/tmp/..", '0', "2519", "L_3039313532_tmp.bin"},
      {"a%s\\b*?", '0', "2519", "L_3039313532_asb.bin"},
      {"", '0', "2519", "L_3039313532_.bin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartWith(7, k1June2024At120000);
    ModuleIn(4).serial = c.serial;
    ModuleIn(4).modelType = c.modelType;
    ModuleIn(4).configId = c.configId;
    uint32_t result = 9;
    EXPECT_EQ(Name(4, {0, 0, 0, 1, 1, 0, 0}, &result, "L"), c.name);
    EXPECT_EQ(result, 0u);
  }
}

TEST_F(LogFileName, AFailingModuleQueryFailsTheWholeName) {
  struct Case {
    LogNameOptions options;
    uint32_t result;
    const char* name;
  };
  // The module aborts every command: only the parts that ask it fail.
  const Case cases[] = {
      {{1, 1, 1, 1, 0, 0, 1}, 1, ""},  // IDENTIFY, with everything else appended first
      {{1, 1, 1, 0, 1, 0, 1}, 1, ""},  // the diagnostic information
      {kPlace, 0, "L_slot04_cage01_Upper_01062024_120000.bin"},
  };
  for (const Case& c : cases) {
    StartWith(7, k1June2024At120000);
    ModuleIn(4).state = emu::ModuleState::kRefusing;
    uint32_t result = 9;
    EXPECT_EQ(Name(4, c.options, &result, "L"), c.name);
    EXPECT_EQ(result, c.result);
  }
}

TEST_F(LogFileName, ANameThatDoesNotFitIsRefusedNotCut) {
  StartWith(7, k1June2024At120000);
  // "<prefix>_slot04.bin": 11 characters after the prefix.
  const struct {
    size_t prefixLength;
    size_t size;
    uint32_t result;
  } cases[] = {
      {500, 512, 0}, {501, 512, 1}, {600, 512, 1}, {0, 12, 0}, {1, 12, 1}, {0, 11, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.prefixLength) + " in " + std::to_string(c.size));
    std::string prefix(c.prefixLength, 'p');
    uint32_t result = 9;
    std::string name = Name(4, {0, 0, 1, 0, 0, 0, 0}, &result, prefix.c_str(), c.size);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(name, c.result == 0 ? prefix + "_slot04.bin" : "");
  }
}

TEST(JoinLogPath, DirectoryAndNameFitOrAreRefused) {
  const struct {
    std::string directory;
    std::string name;
    size_t size;
    bool fits;
    std::string path;
  } cases[] = {
      {"", "a.bin", 512, true, "a.bin"},
      {"/tmp/logs", "a.bin", 512, true, "/tmp/logs/a.bin"},
      {"/tmp/logs", "a.bin", 16, true, "/tmp/logs/a.bin"},
      {"/tmp/logs", "a.bin", 15, false, ""},
      {std::string(511, 'd'), "a.bin", 512, false, ""},
  };
  for (const auto& c : cases) {
    std::string path(c.size, 'x');
    EXPECT_EQ(JoinLogPath(c.directory.c_str(), c.name.c_str(), path.data(), c.size), c.fits) << c.path;
    EXPECT_EQ(path.substr(0, path.find('\0')), c.path);
  }
}

}  // namespace
