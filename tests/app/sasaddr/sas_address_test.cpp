// -sasaddr: the address words and prompt, manufacturing page 5 written with
// one address per PHY, the reset, what -list shows afterwards (also after
// the card file carried the card into another run), and the failures that
// leave the page as it was, also when any one of its requests fails.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/sasaddr/sas_address_command.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "card_fixture.h"
#include "cardlib/libzk.h"
#include "emu/host/emulator.h"

namespace {

using app_test::Message;

constexpr uint8_t kMfgPageType = 9;
constexpr uint8_t kMfgPage5 = 5;
constexpr uint32_t kPhys = 8;
constexpr uint32_t kFirstEntry = 16;
constexpr uint32_t kEntrySize = 16;
constexpr uint32_t kHardResetRequest = 0xC00C4C18;
constexpr uint64_t kDefaultAddress = 0x500605B00C8A4D10ull;

const std::string kUsage = "Usage :\n    tessvarc <-c controller #> -sasaddr <sas address> \n";
const std::string kWrongCount = Message("Incorrect number of command line parameters.");
const std::string kResetDone = "\tResetting Adapter...\n\tAdapter Successfully Reset\n\n";

class SasAddressTest : public app_test::CardFixture {
 protected:
  void SetUp() override {
    app_test::ResetProgramState();
    CardFixture::SetUp();
    SelectedController = 1;
  }
  // A new default card for the next case of a table.
  void Restart() {
    TearDown();
    SetUp();
  }
  // Manufacturing page 5's read (action 6) or write (action 4) answered
  // with an error IOCStatus.
  static emu::Fault Page5Refused(int action) {
    emu::Fault fault;
    fault.kind = emu::FaultKind::kAnswer;
    fault.function = 0x04;
    fault.iocStatus = 0x0022;
    fault.pageType = kMfgPageType;
    fault.pageNumber = kMfgPage5;
    fault.action = action;
    return fault;
  }
  emu::ConfigPage& Page5() { return *card_->model().FirstAdapter()->FindPage(kMfgPageType, kMfgPage5); }
  static uint64_t Address(const std::vector<uint8_t>& page, uint32_t phy) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = value << 8 | page.at(kFirstEntry + phy * kEntrySize + i);
    return value;
  }
  // Parses the words (or the typed line) and runs the command on success;
  // the parse result, the execute result (-1 when not run) and the output.
  struct Outcome {
    int parse = -1;
    int exec = -1;
    std::string output;
  };
  Outcome Run(std::vector<std::string> words, const std::string& input = "") {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    card_->SetInput(input);
    CommandContext context;
    Outcome outcome;
    outcome.parse = ParseSasAddrArgs(static_cast<int>(argv.size()), argv.empty() ? nullptr : argv.data(), &context);
    if (outcome.parse == 0) {
      stored_ = context.params.As<SasAddrArgs>()->address;
      outcome.exec = ExecSasAddr(&context);
    }
    outcome.output = card_->TakeOutput();
    return outcome;
  }
  std::string stored_;
};

TEST_F(SasAddressTest, WordsAndPrompt) {
  struct Case {
    std::vector<std::string> words;
    std::string input;
    int parse;
    std::string stored;
    std::string output;
  };
  const Case cases[] = {
      {{"-sasaddr", "500605B00C8A5E00"}, "", 0, "500605B00C8A5E00", kResetDone},
      {{"-sasaddr", "0x500605b00c8a5e00"}, "", 0, "500605b00c8a5e00", kResetDone},
      {{"-sasaddr", "0X500605B00C8A5E00"}, "", 0, "500605B00C8A5E00", kResetDone},
      {{"-sasaddr", "0x500605B00C8A5E0"}, "", 2, "", Message("Invalid argument: 0x500605B00C8A5E0.")},
      {{"-sasaddr", "500605B00C8A5E000"}, "", 2, "", Message("Invalid argument: 500605B00C8A5E000.")},
      {{"-sasaddr"}, "", 2, "", kWrongCount + kUsage},
      {{"-sasaddr", "500605B00C8A5E00", "x"}, "", 2, "", kWrongCount + kUsage},
      {{}, "0x500605B00C8A5E00\n", 0, "500605B00C8A5E00", "Enter SAS Address to Program: " + kResetDone},
      {{}, "12345\n", 2, "", "Enter SAS Address to Program: " + Message("Invalid argument: 12345.")},
      {{}, "", 1, "", "Enter SAS Address to Program: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words.empty() ? "prompt " + c.input : c.words.back());
    stored_.clear();
    Outcome outcome = Run(c.words, c.input);
    EXPECT_EQ(outcome.parse, c.parse);
    EXPECT_EQ(stored_, c.stored);
    EXPECT_EQ(outcome.output, c.output);
    if (c.parse == 0) {
      EXPECT_EQ(outcome.exec, 0);
    }
  }
}

TEST_F(SasAddressTest, EachPhyGetsTheNextAddressAndTheResetMakesThemCurrent) {
  Outcome outcome = Run({"-sasaddr", "0x500605B0FFFFFFFE"});
  EXPECT_EQ(outcome.exec, 0);
  EXPECT_EQ(outcome.output, kResetDone);
  EXPECT_EQ(card_->HardResets(), 1u);
  const emu::ConfigPage& page = Page5();
  for (uint32_t phy = 0; phy < kPhys; ++phy) {
    SCOPED_TRACE(phy);
    // The low word wraps without carrying into the high word.
    uint64_t expected = 0x500605B000000000ull | static_cast<uint32_t>(0xFFFFFFFEu + phy);
    EXPECT_EQ(Address(page.nvram, phy), expected);
    EXPECT_EQ(Address(page.current, phy), expected);
  }
  EXPECT_EQ(page.nvram.size(), page.defaults.size());
  EXPECT_EQ(Address(page.defaults, 0), kDefaultAddress);

  CardInfo info{};
  ASSERT_EQ(GetCardInfo(0, &info), 0u);
  EXPECT_EQ(info.mfgPage5[16], 0xFE);
  EXPECT_EQ(info.mfgPage5[23], 0x50);
}

TEST_F(SasAddressTest, ListingShowsTheNewAddressInTheNextRun) {
  ASSERT_EQ(Run({"-sasaddr", "500605B00C8A5E00"}).exec, 0);
  LibZKClose();
  std::string saved = emu::FormatHostFile(card_->model());
  emu::HostModel next;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(saved, &next, &error)) << error;
  Start(std::move(next));
  app_test::ProgramRun run = app_test::RunProgram({"-c", "1", "-list"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("  SAS Address                            : 500605B 00C8A5E00\n"), std::string::npos)
      << run.output;
}

TEST_F(SasAddressTest, FailuresLeaveThePageAndDoNotReset) {
  struct Case {
    const char* what;
    void (*arm)(emu::Emulator&);
    std::string address;
    std::string output;
  };
  const Case cases[] = {
      {"not hexadecimal", [](emu::Emulator&) {}, "500605B00C8A5G00",
       "\tERROR: String 500605B00C8A5G00 is not a valid number\n"},
      {"page read refused", [](emu::Emulator& c) { c.ArmFault(Page5Refused(6)); }, "500605B00C8A5E00", ""},
      {"page write refused", [](emu::Emulator& c) { c.ArmFault(Page5Refused(4)); }, "500605B00C8A5E00", ""},
      {"more PHYs than the page holds",
       [](emu::Emulator& c) {
         emu::ConfigPage& page = *c.model().FirstAdapter()->FindPage(kMfgPageType, kMfgPage5);
         page.nvram.at(4) = 9;
       },
       "500605B00C8A5E00", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Restart();
    c.arm(*card_);
    std::vector<uint8_t> before = Page5().nvram;
    Outcome outcome = Run({"-sasaddr", c.address});
    EXPECT_EQ(outcome.exec, 1);
    EXPECT_EQ(outcome.output, c.output);
    EXPECT_EQ(Page5().nvram, before);
    EXPECT_EQ(card_->HardResets(), 0u);
  }
}

TEST_F(SasAddressTest, AFailedResetIsReportedAndTheAddressStaysWritten) {
  card_->FailIoctl(kHardResetRequest, 5);
  Outcome outcome = Run({"-sasaddr", "500605B00C8A5E00"});
  EXPECT_EQ(outcome.exec, 0);
  EXPECT_EQ(outcome.output, "\tResetting Adapter...\n\tAdapter Reset Failed!\n\n");
  EXPECT_EQ(Address(Page5().nvram, 7), 0x500605B00C8A5E07ull);
}

// Every request the command sends, failed in turn (the ioctl fails, or the
// function answers an error IOCStatus): the command fails and leaves the
// page and the adapter as they were, or it has written the whole page and
// says whether the reset that followed worked.
TEST_F(SasAddressTest, EachFailedRequestLeavesThePageOrWritesItWhole) {
  const std::vector<std::string> words = {"-sasaddr", "500605B00C8A5E00"};
  ASSERT_EQ(Run(words).exec, 0);
  const std::vector<uint8_t> written = Page5().nvram;
  const std::vector<emu::LoggedCall> calls = card_->log();
  ASSERT_FALSE(calls.empty());
  enum class Kind { kIoctlError, kIocStatus };
  size_t runs = 0;
  for (size_t i = 0; i < calls.size(); ++i) {
    for (Kind kind : {Kind::kIoctlError, Kind::kIocStatus}) {
      const emu::LoggedCall& target = calls[i];
      if (kind == Kind::kIocStatus && !target.isCommand) continue;
      SCOPED_TRACE("request " + std::to_string(i + 1) + (kind == Kind::kIocStatus ? " ioc-status" : " ioctl-error"));
      emu::Fault fault;
      int skip = 0;
      for (size_t j = 0; j < i; ++j) {
        const emu::LoggedCall& other = calls[j];
        bool counts = kind == Kind::kIoctlError
                          ? other.request == target.request && other.isCommand == target.isCommand &&
                                (!target.isCommand || other.function == target.function)
                          : other.isCommand && other.function == target.function;
        if (counts) ++skip;
      }
      if (kind == Kind::kIoctlError) {
        fault.kind = emu::FaultKind::kIoctlError;
        fault.request = target.request;
        fault.function = target.isCommand ? target.function : -1;
        fault.errorNumber = 5;
      } else {
        fault.kind = emu::FaultKind::kAnswer;
        fault.function = target.function;
        fault.iocStatus = 0x0004;
      }
      fault.times = 1;
      fault.skip = skip;
      Restart();
      card_->ArmFault(fault);
      const std::vector<uint8_t> before = Page5().nvram;
      Outcome outcome = Run(words);
      ++runs;
      ASSERT_GT(card_->log().size(), i);
      const emu::LoggedCall& failed = card_->log()[i];
      EXPECT_TRUE(kind == Kind::kIoctlError ? failed.errorNumber == 5 : (failed.iocStatus & 0x7FFF) == 0x0004)
          << "the fault did not fire on the request";
      if (outcome.exec != 0) {
        EXPECT_EQ(Page5().nvram, before);
        EXPECT_EQ(card_->HardResets(), 0u);
        EXPECT_EQ(outcome.output.find("Resetting"), std::string::npos);
      } else {
        EXPECT_EQ(Page5().nvram, written);
        EXPECT_TRUE(outcome.output == kResetDone ||
                    outcome.output == "\tResetting Adapter...\n\tAdapter Reset Failed!\n\n")
            << outcome.output;
      }
    }
  }
  EXPECT_GT(runs, calls.size());
}

}  // namespace
