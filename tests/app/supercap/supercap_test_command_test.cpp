// -testscap: its one word, and the start of the SuperCap health test.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/shell/command_context.h"
#include "app/shell/program_state.h"
#include "app/supercap/supercap_test_command.h"
#include "app_test_support.h"
#include "cardlib/libzk.h"
#include "emu/card_file/named_cards.h"
#include "emu/host/emulator.h"

namespace {

using app_test::Message;

constexpr uint8_t kIoUnitControl = 0x1B;
constexpr uint64_t kTestWaitMicroseconds = 1000000;  // the wait after a started test

const std::string kRunning = "Ulvane Corvexium Management Utility: Running SuperCap health test, please wait...\n";

class TestSuperCapTest : public ::testing::Test {
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
  void TearDown() override {
    EXPECT_EQ(card_->OpenDescriptors(), 0);
    LibZKClose();
  }
  size_t ControlRequests() const {
    size_t count = 0;
    for (const emu::LoggedCall& call : card_->log()) count += call.isCommand && call.function == kIoUnitControl;
    return count;
  }
  emu::Emulator* card_ = nullptr;
};

TEST_F(TestSuperCapTest, TakesItsOwnWordOnly) {
  Start(emu::DefaultHost());
  const std::string usage = Message("Incorrect number of command line parameters.") +
                            "Usage :\n    tessvarc <-c controller #> -testscap \n";
  struct Case {
    const char* name;
    std::vector<std::string> words;
    int result;
    std::string output;
  };
  const Case cases[] = {
      {"the word alone", {"-testscap"}, kParseGoOn, ""},
      {"one word too many", {"-testscap", "now"}, kParseUsageError, usage},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words = c.words;
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    CommandContext context;
    EXPECT_EQ(TestSuperCapCommandParse(static_cast<int>(argv.size()), argv.data(), &context), c.result) << c.name;
    EXPECT_EQ(card_->TakeOutput(), c.output) << c.name;
    EXPECT_EQ(context.params.get(), nullptr) << c.name;  // the command keeps no record
  }
  CommandContext context;
  EXPECT_EQ(TestSuperCapCommandParse(0, nullptr, &context), kParseGoOn);  // no prompt from the menu
  EXPECT_EQ(card_->TakeOutput(), "");
  EXPECT_EQ(ControlRequests(), 0u);
}

// The controller's answer to the start decides the result: 0 (started) and
// 8 (a test already runs) are success and are followed by the one-second
// wait; any other answer is a failure without the wait.
TEST_F(TestSuperCapTest, ResultFollowsTheControllersAnswer) {
  struct Case {
    uint16_t iocStatus;
    int result;
    uint64_t waited;
  };
  const Case cases[] = {{0x0000, 0, kTestWaitMicroseconds},
                        {0x0008, 0, kTestWaitMicroseconds},
                        {0x0002, 1, 0},
                        {0x0001, 1, 0}};
  for (const Case& c : cases) {
    emu::HostModel host = emu::DefaultHost();
    host.FirstAdapter()->superCapTestStatus = c.iocStatus;
    Start(std::move(host));
    CommandContext context;
    uint64_t before = card_->WaitedMicroseconds();
    EXPECT_EQ(TestSuperCapCommandExec(&context), c.result) << c.iocStatus;
    EXPECT_EQ(card_->TakeOutput(), kRunning) << c.iocStatus;
    EXPECT_EQ(ControlRequests(), 1u) << c.iocStatus;
    EXPECT_EQ(card_->WaitedMicroseconds() - before, c.waited) << c.iocStatus;
    LibZKClose();
  }
}

TEST_F(TestSuperCapTest, AnAbsentControllerFailsBeforeAnyRequest) {
  Start(emu::DefaultHost());
  SelectedController = 2;
  CommandContext context;
  EXPECT_EQ(TestSuperCapCommandExec(&context), 1);
  EXPECT_EQ(card_->TakeOutput(), "");
  EXPECT_EQ(ControlRequests(), 0u);
}

}  // namespace
