// The dispatcher's contract with a command, driven with rows of a test
// table: what each parse and execute result prints and yields, and who frees
// the command's record.
#include <gtest/gtest.h>

#include <string>

#include "app/shell/command_line.h"
#include "app/shell/interactive_mode.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "emu/host/emulator.h"

namespace {

using app_test::Banner;
using app_test::Message;

struct ProbeRecord {
  int count;
  char firstWord[16];
};

int g_parseCount = -1;
bool g_parseWordsNull = false;
int g_executeCalls = 0;

// Each parse stores its record first, as a command must.
int StoreRecord(int count, char** words, CommandContext* context) {
  g_parseCount = count;
  g_parseWordsNull = words == nullptr;
  auto* record = NewParams<ProbeRecord>(context);
  record->count = count;
  if (words != nullptr) StrCopyN(record->firstWord, words[0], sizeof record->firstWord - 1);
  return 0;
}

int ParseGoOn(int count, char** words, CommandContext* context) {
  return StoreRecord(count, words, context);
}
int ParseTerminated(int count, char** words, CommandContext* context) {
  StoreRecord(count, words, context);
  return 1;
}
int ParseUsage(int count, char** words, CommandContext* context) {
  StoreRecord(count, words, context);
  return 2;
}
int ParseOther(int count, char** words, CommandContext* context) {
  StoreRecord(count, words, context);
  return 5;
}
int ParseJson(int count, char** words, CommandContext* context) {
  StoreRecord(count, words, context);
  SuppressStatus = 1;
  return 0;
}

// Each execute takes the record it was handed: it owns it.
int Finish(CommandContext* context, int result) {
  ++g_executeCalls;
  AppBuffer record = TakeParams(context);
  EXPECT_NE(record.get(), nullptr);
  return result;
}
int ExecuteOk(CommandContext* context) { return Finish(context, 0); }
int ExecuteFails(CommandContext* context) { return Finish(context, 1); }
int ExecuteCode7(CommandContext* context) { return Finish(context, 7); }

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card_ = &emu::Install(emu::DefaultHost());
    app_test::ResetProgramState();
    g_parseCount = -1;
    g_parseWordsNull = false;
    g_executeCalls = 0;
  }
  int Dispatch(const CommandEntry& entry, const char* typed) {
    char first[32];
    char second[] = "-x";
    StrCopy(first, typed);
    char* words[] = {first, second, nullptr};
    return DispatchCommand(entry, 2, words);
  }
  emu::Emulator* card_ = nullptr;
};

TEST_F(DispatchTest, EachResultHasItsMessageAndStatus) {
  struct Case {
    const char* name;
    ParseOperation parse;
    ExecuteOperation execute;
    int status;
    std::string message;
    int executeCalls;
  };
  const Case cases[] = {
      {"success", ParseGoOn, ExecuteOk, 0, Message("Execution completed successfully."), 1},
      {"execute fails", ParseGoOn, ExecuteFails, 1, Message("Error executing command -Probe."), 1},
      {"execute code in text mode", ParseGoOn, ExecuteCode7, 1,
       Message("Error executing command -Probe."), 1},
      {"usage error", ParseUsage, ExecuteOk, 2, Message("Error executing command -Probe."), 0},
      {"terminated", ParseTerminated, ExecuteOk, 1, Message("Command terminated -Probe."), 0},
      {"other parse result", ParseOther, ExecuteOk, 5, "", 0},
      {"json success", ParseJson, ExecuteOk, 0, "", 1},
      {"json failure keeps its code", ParseJson, ExecuteCode7, 7, "", 1},
  };
  for (const Case& c : cases) {
    g_executeCalls = 0;
    const CommandEntry entry = {30, "-Probe", nullptr, c.parse, c.execute};
    // Typed in another case: the messages spell the option as the table does.
    EXPECT_EQ(Dispatch(entry, "-probe"), c.status) << c.name;
    EXPECT_EQ(card_->TakeOutput(), Banner() + c.message) << c.name;
    EXPECT_EQ(g_executeCalls, c.executeCalls) << c.name;
    EXPECT_EQ(g_parseCount, 2) << c.name;
    EXPECT_EQ(SuppressStatus, 0u) << c.name;  // never carried into another command
  }
}

TEST_F(DispatchTest, QuietCommandsPrintNoBanner) {
  struct Case {
    const char* typed;
    bool quiet;
  };
  for (const Case& c : {Case{"-list", true}, Case{"-LIST", true}, Case{"-Health", true},
                        Case{"-listx", false}, Case{"-lis", false}, Case{"NULL", false},
                        Case{"-healthall", false}}) {
    const CommandEntry entry = {30, "-probe", nullptr, ParseGoOn, ExecuteOk};
    EXPECT_EQ(Dispatch(entry, c.typed), 0);
    std::string expected = Message("Execution completed successfully.");
    if (!c.quiet) expected = Banner() + expected;
    EXPECT_EQ(card_->TakeOutput(), expected) << c.typed;
  }
}

TEST_F(DispatchTest, MenuCommandsAskWithoutWordsAndReportOnlyFailures) {
  struct Case {
    const char* name;
    ParseOperation parse;
    ExecuteOperation execute;
    std::string output;
    int executeCalls;
  };
  const Case cases[] = {
      {"success", ParseGoOn, ExecuteOk, "", 1},
      {"execute fails", ParseGoOn, ExecuteFails, Message("Execution failed."), 1},
      {"usage error", ParseUsage, ExecuteOk, "", 0},
      {"terminated", ParseTerminated, ExecuteOk, "", 0},
  };
  for (const Case& c : cases) {
    g_executeCalls = 0;
    const CommandEntry entry = {30, "-probe", "   Probe\n", c.parse, c.execute};
    RunMenuCommand(entry);
    EXPECT_EQ(card_->TakeOutput(), c.output) << c.name;
    EXPECT_EQ(g_executeCalls, c.executeCalls) << c.name;
    EXPECT_EQ(g_parseCount, 0) << c.name;
    EXPECT_TRUE(g_parseWordsNull) << c.name;
  }
}

}  // namespace
