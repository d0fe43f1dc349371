// -getsmartlog: its words, and the module logs read whole (sizes from the
// directory or the module's configuration, failures, empty logs).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/logs/smart_log_collect.h"
#include "app/logs/smart_log_read.h"
#include "app/shell/command_operations.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "card_fixture.h"

namespace {

const std::string kUsage =
    "Usage :\n    tessvarc <-c controller # > -getsmartlog[-slot <ssd_slot>] -path <path name>\n";
const std::string kInvalidFormat = app_test::Message("Invalid command format specified on the command line.");
const std::string kWrongCount = app_test::Message("Incorrect number of command line parameters.");

class GetSmartLogWords : public app_test::CardFixture {};

TEST_F(GetSmartLogWords, CommandLine) {
  const std::string longPath(512, 'p');
  struct Case {
    std::vector<std::string> words;
    int result;
    std::string output;
    uint8_t allSlots;
    uint8_t slot;
    std::string path;
  };
  const std::vector<Case> cases = {
      {{"-getsmartlog", "-path", "/tmp"}, kParseGoOn, "", 1, 0, "/tmp"},
      {{"-getsmartlog", "-PATH", "/tmp"}, kParseGoOn, "", 1, 0, "/tmp"},
      {{"-getsmartlog", "-slot", "3", "-path", "/var/log"}, kParseGoOn, "", 0, 3, "/var/log"},
      // without -path the files go to the current directory
      {{"-getsmartlog", "-slot", "2", "-x", "/tmp"}, kParseGoOn, "", 0, 2, ""},
      {{"-getsmartlog", "-slot", "9", "-path", "/tmp"}, kParseUsageError, "", 0, 0, ""},
      {{"-getsmartlog", "-slot", "-1", "-path", "/tmp"}, kParseUsageError, "", 0, 0, ""},
      {{"-getsmartlog", "-slot", "2", "-path"}, kParseTerminated, kInvalidFormat + kUsage, 0, 0, ""},
      {{"-getsmartlog", "-path", "/tmp", "x"}, kParseTerminated, kInvalidFormat + kUsage, 0, 0, ""},
      {{"-getsmartlog", "-all", "/tmp"}, kParseUsageError, kInvalidFormat + kUsage, 0, 0, ""},
      {{"-getsmartlog", "-path"}, kParseUsageError, kWrongCount + kUsage, 0, 0, ""},
      {{"-getsmartlog", "-slot", "1", "-path", "/tmp", "x"}, kParseUsageError, kWrongCount + kUsage, 0, 0, ""},
      // a path the record cannot hold whole
      {{"-getsmartlog", "-path", longPath}, kParseUsageError, "", 1, 0, ""},
      {{"-getsmartlog", "-path", longPath.substr(1)}, kParseGoOn, "", 1, 0, longPath.substr(1)},
  };
  for (const Case& c : cases) {
    std::vector<char*> words;
    for (const std::string& w : c.words) words.push_back(const_cast<char*>(w.c_str()));
    SCOPED_TRACE(c.words.size() > 1 ? c.words[1] + " " + std::to_string(c.words.size()) : "");
    CommandContext context;
    EXPECT_EQ(GetSmartLogCommandParse(static_cast<int>(words.size()), words.data(), &context), c.result);
    EXPECT_EQ(card().TakeOutput(), c.output);
    ASSERT_NE(context.params.get(), nullptr);
    const auto* options = context.params.As<const GetSmartLogOptions>();
    EXPECT_EQ(options->allSlots, c.allSlots);
    EXPECT_EQ(options->slot, c.slot);
    EXPECT_EQ(std::string(options->path), c.path);
  }
}

TEST_F(GetSmartLogWords, Dialogue) {
  struct Case {
    std::string input;
    int result;
    uint8_t allSlots;
    uint8_t slot;
    std::string path;
  };
  const Case cases[] = {
      {"1\n/tmp/logs\n", kParseGoOn, 1, 0, "/tmp/logs"},
      {"0\n6\nlogs\n", kParseGoOn, 0, 6, "logs"},
      {"0\n8\n", kParseUsageError, 0, 0, ""},
      {"2\n", kParseUsageError, 0, 0, ""},
      {"1\n", kParseTerminated, 1, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    card().SetInput(c.input);
    CommandContext context;
    EXPECT_EQ(GetSmartLogCommandParse(0, nullptr, &context), c.result);
    const auto* options = context.params.As<const GetSmartLogOptions>();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->allSlots, c.allSlots);
    EXPECT_EQ(options->slot, c.slot);
    EXPECT_EQ(std::string(options->path), c.path);
    card().TakeOutput();
  }
}

class ModuleLogs : public app_test::CardFixture {
 protected:
  void SetUp() override {
    CardFixture::SetUp();
    ASSERT_EQ(LibZKGetVXHandle(0, &vx_), 0u);
    ASSERT_EQ(LibZKGetSSDHandle(vx_, 4, &ssd_), 0u);
  }
  emu::ModuleModel& Module() { return *model().FindModule(4); }
  uint32_t vx_ = 0;
  uint32_t ssd_ = 0;
};

TEST_F(ModuleLogs, TheSystemEventLogsSizeFollowsTheConfiguration) {
  struct Case {
    char modelType;
    const char* configId;
    uint32_t sectors;
  };
  const Case cases[] = {
      {'8', "1591", 32768}, {'4', "1591", 32768}, {'0', "1591", 65536}, {'8', "2519", 65536}, {'0', "2519", 65536},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.modelType) + c.configId);
    Module().modelType = c.modelType;
    Module().configId = c.configId;
    AppBuffer log;
    uint32_t sectors = 0;
    ASSERT_EQ(ReadSmartLog(vx_, ssd_, kSystemEventLogAddress, &log, &sectors), 0u);
    EXPECT_EQ(sectors, c.sectors);
    ASSERT_EQ(log.size(), c.sectors * 512u);
    // each chunk from its own place: the module's page number in each page
    for (uint32_t page : {0u, 4095u, 4096u, c.sectors - 1}) {
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(log.get()) + page * 512, 4), "SYSE");
      EXPECT_EQ(CardFixture::Le32(std::vector<uint8_t>(log.get() + page * 512, log.get() + page * 512 + 8), 4),
                page);
    }
  }
}

TEST_F(ModuleLogs, OtherLogsTakeTheirSizeFromTheDirectory) {
  const uint32_t cases[] = {0, 1, 2, 255, 256, 300};
  for (uint32_t count : cases) {
    SCOPED_TRACE(count);
    Module().eventLogSectors = count;
    AppBuffer log;
    uint32_t sectors = 99;
    ASSERT_EQ(ReadSmartLog(vx_, ssd_, kSsdEventLogAddress, &log, &sectors), 0u);
    EXPECT_EQ(sectors, count);
    EXPECT_EQ(static_cast<bool>(log), count != 0);
    if (count != 0) {
      EXPECT_EQ(log.size(), count * 512u);
      EXPECT_EQ(log.get()[count * 512 - 16 + 4], 31u);  // the last record's index
    }
  }
}

TEST_F(ModuleLogs, AFailingReadGivesNoLog) {
  const struct {
    uint8_t log;
    uint8_t failing;
    bool refusing;
  } cases[] = {
      {kSsdEventLogAddress, kSsdEventLogAddress, false},
      {kSystemEventLogAddress, kSystemEventLogAddress, false},
      {kSsdEventLogAddress, 0x00, false},  // the directory
      {kSystemEventLogAddress, 0x00, false},
      {kSsdEventLogAddress, 0xFF, true},  // the module aborts everything
  };
  for (const auto& c : cases) {
    Module().failingLogs = {c.failing};
    Module().state = c.refusing ? emu::ModuleState::kRefusing : emu::ModuleState::kPresent;
    AppBuffer log;
    uint32_t sectors = 99;
    EXPECT_EQ(ReadSmartLog(vx_, ssd_, c.log, &log, &sectors), 1u);
    EXPECT_FALSE(log);
    EXPECT_EQ(sectors, 0u);
  }
}

}  // namespace
