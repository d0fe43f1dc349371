// -locate: its words and menu entry, and the enclosure slot it lights.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/shell/command_operations.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "cardlib/libzk.h"
#include "emu/host/emulator.h"
#include "emu/card_file/named_cards.h"

namespace {

using app_test::Message;

constexpr uint32_t kIdentify = 0x00020000;  // the slot status bit of the locate indication
constexpr uint8_t kSep = 0x18;

const std::string kWrongCount = Message("Incorrect number of command line parameters.");
const std::string kUsage = "Usage :\n    tessvarc <-c controller #> -locate <on> \n";
const std::string kInvalidFormat = Message("Invalid command format specified on the command line.");
const std::string kInvalidEntry = Message("Invalid entry.");
const std::string kPrompt = "Enter Operation [1:on]: ";

class LocateTest : public ::testing::Test {
 protected:
  void Start(emu::HostModel host) {
    card_ = &emu::Install(std::move(host));
    app_test::ResetProgramState();
    ASSERT_EQ(LibZKOpen(), 1u);
    ASSERT_EQ(LibZKDiscoverAdapters(&ControllerCount), 0u);
    SelectedController = 1;
    card_->ClearLog();
    card_->TakeOutput();
  }
  void SetUp() override { Start(emu::DefaultHost()); }
  void TearDown() override {
    EXPECT_EQ(card_->OpenDescriptors(), 0);
    LibZKClose();
  }
  uint32_t SlotStatus(uint8_t slot) { return card_->model().FirstAdapter()->FindModule(slot)->slotStatus; }
  size_t SepRequests() const {
    size_t count = 0;
    for (const emu::LoggedCall& call : card_->log()) count += call.isCommand && call.function == kSep;
    return count;
  }
  emu::Emulator* card_ = nullptr;
};

// The value the parse operation stored, 0 without a record.
uint32_t StoredValue(const CommandContext& context) {
  uint32_t value = 0;
  if (context.params.get() != nullptr) MemCopy(&value, context.params.get(), sizeof value);
  return value;
}

TEST_F(LocateTest, CommandLineWords) {
  struct Case {
    const char* name;
    std::vector<std::string> words;
    int result;
    std::string output;
  };
  const Case cases[] = {
      {"on", {"-locate", "on"}, kParseGoOn, ""},
      {"case is ignored", {"-locate", "ON"}, kParseGoOn, ""},
      {"mixed case", {"-locate", "oN"}, kParseGoOn, ""},
      {"off is not offered", {"-locate", "off"}, kParseUsageError, kInvalidFormat},
      {"a prefix of on", {"-locate", "o"}, kParseUsageError, kInvalidFormat},
      {"on with more after it", {"-locate", "onx"}, kParseUsageError, kInvalidFormat},
      {"an empty word", {"-locate", ""}, kParseUsageError, kInvalidFormat},
      {"a long word starting with on", {"-locate", "on" + std::string(68, 'n')}, kParseUsageError, kInvalidFormat},
      {"a word cut at 63 characters is still not on", {"-locate", "on" + std::string(61, ' ') + "x"},
       kParseUsageError, kInvalidFormat},
      {"one word too many", {"-locate", "on", "x"}, kParseUsageError, kWrongCount + kUsage},
      {"the word missing", {"-locate"}, kParseUsageError, kWrongCount + kUsage},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words = c.words;
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    CommandContext context;
    EXPECT_EQ(LocateCommandParse(static_cast<int>(argv.size()), argv.data(), &context), c.result) << c.name;
    EXPECT_EQ(card_->TakeOutput(), c.output) << c.name;
    // The record is stored whatever the outcome, so that it can be freed.
    ASSERT_NE(context.params.get(), nullptr) << c.name;
    EXPECT_EQ(StoredValue(context), c.result == kParseGoOn ? 1u : 0u) << c.name;
    EXPECT_EQ(SepRequests(), 0u) << c.name;  // nothing reaches the card before execution
  }
}

TEST_F(LocateTest, MenuEntries) {
  struct Case {
    const char* name;
    std::string input;
    int result;
    std::string output;
  };
  const Case cases[] = {
      {"1 switches on", "1\n", kParseGoOn, kPrompt},
      {"0 is no choice here", "0\n", kParseUsageError, kPrompt + kInvalidEntry},
      {"2 is beyond the range", "2\n", kParseUsageError, kPrompt + kInvalidEntry},
      {"a word", "on\n", kParseUsageError, kPrompt + kInvalidEntry},
      {"an empty line", "\n", kParseUsageError, kPrompt + kInvalidEntry},
      {"end of input", "", kParseTerminated, kPrompt},
  };
  for (const Case& c : cases) {
    card_->SetInput(c.input);
    CommandContext context;
    EXPECT_EQ(LocateCommandParse(0, nullptr, &context), c.result) << c.name;
    EXPECT_EQ(card_->TakeOutput(), c.output) << c.name;
    ASSERT_NE(context.params.get(), nullptr) << c.name;
    EXPECT_EQ(StoredValue(context), c.result == kParseGoOn ? 1u : 0u) << c.name;
  }
}

TEST_F(LocateTest, LightsTheSlotOfTheFirstModule) {
  CommandContext context;
  char word[] = "on";
  char option[] = "-locate";
  char* words[] = {option, word};
  ASSERT_EQ(LocateCommandParse(2, words, &context), kParseGoOn);
  EXPECT_EQ(LocateCommandExec(&context), 0);
  EXPECT_EQ(context.params.get(), nullptr);  // the execute operation has freed it
  EXPECT_EQ(card_->TakeOutput(), "");
  EXPECT_EQ(SlotStatus(4), 0x00000001u | kIdentify);  // the other status bits stay
  for (uint8_t slot : {5, 6, 7}) EXPECT_EQ(SlotStatus(slot) & kIdentify, 0u) << int{slot};
}

TEST_F(LocateTest, AModuleThatRefusesLetsTheNextOneTry) {
  emu::HostModel host = emu::DefaultHost();
  emu::Fault once;
  once.kind = emu::FaultKind::kAnswer;
  once.function = kSep;
  once.iocStatus = 0x0043;
  once.times = 1;
  host.faults.push_back(once);
  LibZKClose();
  Start(std::move(host));
  CommandContext context;
  context.params = AppBuffer(sizeof(uint32_t));
  uint32_t on = 1;
  MemCopy(context.params.get(), &on, sizeof on);
  EXPECT_EQ(LocateCommandExec(&context), 0);
  EXPECT_EQ(SlotStatus(4) & kIdentify, 0u);
  EXPECT_EQ(SlotStatus(5) & kIdentify, kIdentify);
}

TEST_F(LocateTest, FailsWhenNoModuleTakesIt) {
  struct Case {
    const char* name;
    emu::HostModel (*host)();
    uint32_t controller;
  };
  const Case cases[] = {
      {"every module refuses", emu::LocateRefusedHost, 1},
      {"no such card", emu::DefaultHost, 2},
  };
  for (const Case& c : cases) {
    LibZKClose();
    Start(c.host());
    SelectedController = c.controller;
    CommandContext context;
    context.params = AppBuffer(sizeof(uint32_t));
    uint32_t on = 1;
    MemCopy(context.params.get(), &on, sizeof on);
    EXPECT_EQ(LocateCommandExec(&context), 1) << c.name;
    EXPECT_EQ(context.params.get(), nullptr) << c.name;
    EXPECT_EQ(card_->TakeOutput(), "") << c.name;  // the dispatcher reports it
    for (uint8_t slot : {4, 5, 6, 7}) EXPECT_EQ(SlotStatus(slot) & kIdentify, 0u) << c.name;
  }
  CommandContext empty;
  EXPECT_EQ(LocateCommandExec(&empty), 1);
}

}  // namespace
