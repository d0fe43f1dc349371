// -format's words and the menu mode's questions, turned into the record the
// execute operation works from, on configured and unconfigured cards.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/shell/command_operations.h"
#include "app/format/format_options.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "card_fixture.h"
#include "emu/card_file/named_cards.h"

namespace {

using app_test::Message;

const std::string kUsage =
    "Usage :\n    tessvarc <-c controller # > -format [-slot <ssd_slot>] [-op <-level <perf | nom | cap>> | "
    "-maxlba <new max LBA> | -percent <percentage>] [-eraseflash] [-s]\n";
const std::string kWarning =
    "\nWARNING: Formatting will result in loss of all data on the selected Corvexium device. "
    "Type YES if you would like to continue, or any other key to abort the request: ";
const std::string kInvalidFormat = Message("Invalid command format specified on the command line.");
const std::string kInvalidEntry = Message("Invalid entry.");
const std::string kOutOfRange = app_test::kTitle + ": Over-provisioning value out-of-range.\n";
const std::string kCannotSingle = app_test::kTitle + ": Cannot format individual components.\n";
const std::string kTooMany = Message("Incorrect number of command line parameters.");
const std::string kSingleOrAll = "\nEnter whether to format single or all SSDs[1:Single 2:All or 0:Quit] ";
const std::string kSlotPrompt = "\nEnter SSD Slot Number: ";
const std::string kOpQuestion = "\nPerform Over-provisioning? (Yes/No): ";
const std::string kEraseQuestion = "\nEnable Flash Media Erase? (Yes/No): ";
const std::string kOpMenu =
    "\n1. Predefined  provisioning value\n2. Max LBA value\n3. Over provisioning percentage\n"
    "\nSelect the over provisioning option [1-3 or 0:Quit]: ";
const std::string kLevelMenu =
    "\t1. Performance over provisioning\n\t2. Nominal over provisioning\n"
    "\t3. Max capacity over provisioning\n"
    "\nSelect the predefined over provisioning option [1-3 or 0:Quit]: ";
const std::string kMaxLbaPrompt = "\nEnter new max LBA value: ";
const std::string kPercentPrompt = "\nEnter over provisioning percentage value:";

// The record's fields in order: slot, allSlots, maxLbaGiven, opRequested,
// eraseFlash, opValue.
struct Record {
  uint32_t slot, allSlots, maxLbaGiven, opRequested, eraseFlash, opValue;
  bool operator==(const Record&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Record& r) {
  return out << "{slot " << r.slot << " all " << r.allSlots << " maxLba " << r.maxLbaGiven << " op "
             << r.opRequested << " erase " << r.eraseFlash << " value " << r.opValue << "}";
}

struct Parsed {
  int result = -1;
  std::string output;
  bool stored = false;
  Record record{99, 99, 99, 99, 99, 99};
};

class FormatParse : public app_test::CardFixture {
 protected:
  void SetUp() override {
    SelectedController = 1;
    Start(emu::DefaultHost());
  }
  void TearDown() override {
    SelectedController = 0;
    CardFixture::TearDown();
  }
  void StartUnconfigured() {
    LibZKClose();
    Start(emu::UnconfiguredHost());
  }

  // Runs the parse operation; an empty word list is the menu mode. The
  // record is read and freed as the dispatcher or the execute operation
  // would.
  Parsed Parse(const std::vector<std::string>& words, const std::string& input = "") {
    card().SetInput(input);
    std::vector<std::string> copy = words;
    std::vector<char*> argv;
    for (std::string& word : copy) argv.push_back(word.data());
    CommandContext context;
    Parsed parsed;
    parsed.result = FormatCommandParse(static_cast<int>(argv.size()), argv.empty() ? nullptr : argv.data(), &context);
    parsed.output = card().TakeOutput();
    if (context.params.get() != nullptr) {
      parsed.stored = true;
      const auto* o = context.params.As<const FormatOptions>();
      parsed.record = {o->slot, o->allSlots, o->maxLbaGiven, o->opRequested, o->eraseFlash, o->opValue};
    }
    return parsed;
  }
};

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words{"-format"};
  size_t start = 0;
  while (start < line.size()) {
    size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    if (end > start) words.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

TEST_F(FormatParse, AcceptedCommandLines) {
  struct Case {
    bool unconfigured;
    const char* words;  // after -format
    Record record;
  };
  const Case cases[] = {
      {false, "-s", {0, 1, 0, 0, 0, 0}},
      {false, "-S", {0, 1, 0, 0, 0, 0}},
      {false, "-eraseflash -s", {0, 1, 0, 0, 1, 0}},
      {false, "-ERASEFLASH -S", {0, 1, 0, 0, 1, 0}},
      {false, "-op -level perf -s", {0, 1, 0, 1, 0, 60}},
      {false, "-OP -LEVEL Nom -S", {0, 1, 0, 1, 0, 28}},
      {false, "-op -level cap -eraseflash -s", {0, 1, 0, 1, 1, 16}},
      {false, "-op -maxlba 195312500 -s", {0, 1, 1, 1, 0, 195312500}},
      {false, "-op -maxlba 4294967295 -s", {0, 1, 1, 1, 0, 4294967295u}},
      {false, "-op -percent 0 -s", {0, 1, 0, 1, 0, 0}},
      // The command line takes the menu's range, 0 to 1000.
      {false, "-op -percent 1000 -s", {0, 1, 0, 1, 0, 1000}},
      {true, "-slot 0 -s", {0, 0, 0, 0, 0, 0}},
      {true, "-SLOT 7 -eraseflash -s", {7, 0, 0, 0, 1, 0}},
      {true, "-slot 05 -s", {5, 0, 0, 0, 0, 0}},
      {true, "-slot 3 -op -level perf -eraseflash -s", {3, 0, 0, 1, 1, 60}},
      {true, "-slot 6 -op -maxlba 1000 -s", {6, 0, 1, 1, 0, 1000}},
      {true, "-op -percent 28 -s", {0, 1, 0, 1, 0, 28}},
  };
  for (const Case& c : cases) {
    if (c.unconfigured) StartUnconfigured();
    Parsed p = Parse(Words(c.words));
    EXPECT_EQ(p.result, kParseGoOn) << c.words;
    EXPECT_EQ(p.output, "") << c.words;
    EXPECT_EQ(p.record, c.record) << c.words;
  }
}

TEST_F(FormatParse, WithoutDashSTheUserMustConfirm) {
  struct Case {
    const char* words;
    const char* input;
    int result;
    std::string after;
  };
  const Case cases[] = {
      {"", "YES\n", kParseGoOn, ""},
      {"-eraseflash", "yes\n", kParseGoOn, ""},
      {"-op -level nom", "no\n", kParseTerminated, Message("Operation aborted.")},
      {"-op -level nom", "", kParseTerminated, Message("Operation aborted.")},
  };
  for (const Case& c : cases) {
    Parsed p = Parse(Words(c.words), c.input);
    EXPECT_EQ(p.result, c.result) << c.words << " / " << c.input;
    EXPECT_EQ(p.output, kWarning + c.after) << c.words << " / " << c.input;
    EXPECT_TRUE(p.stored);
  }
}

TEST_F(FormatParse, UsageErrorsPrintTheirMessageAndTheUsage) {
  struct Case {
    bool unconfigured;
    const char* words;
    std::string message;
  };
  const Case cases[] = {
      // "-eraseflash" only counts last or just before "-s".
      {false, "-s -eraseflash", ""},
      {false, "-eraseflash -eraseflash -s", ""},
      {false, "-x", ""},
      {false, "-op -level perf -x -s", ""},
      {false, "-slot 1 2 3 4 5 6 7", kTooMany},
      {false, "-op -level perf -eraseflash -s -s -s -s", kTooMany},
      {false, "-slot 3", kCannotSingle},
      {false, "-slot 3 -op -level perf -s", kCannotSingle},
      {false, "-slt 3 -s", kInvalidFormat},
      {false, "-opp -level perf", kInvalidFormat},
      {false, "-op -level fast -s", kInvalidFormat},
      {false, "-op -size 10 -s", kInvalidFormat},
      {false, "-op -maxlba 0", kOutOfRange},
      {false, "-op -maxlba 000 -s", kOutOfRange},
      {true, "-slot 3 -opp -level perf -s", kInvalidFormat},
      {true, "-slot 3 -op -level turbo -s", kInvalidFormat},
      {true, "-slot 8 -s", kInvalidEntry},
  };
  for (const Case& c : cases) {
    if (c.unconfigured) StartUnconfigured();
    Parsed p = Parse(Words(c.words), "YES\n");
    EXPECT_EQ(p.result, kParseUsageError) << c.words;
    EXPECT_EQ(p.output, c.message + kUsage) << c.words;
    EXPECT_TRUE(p.stored) << c.words;
  }
}

TEST_F(FormatParse, NumberWordsMustBeWholeDecimalNumbers) {
  // None of these may wrap into the slot byte or turn into 0 or a part of
  // themselves: 263 is not slot 7, 4294967297 is not LBA 1.
  StartUnconfigured();
  const char* notNumbers[] = {"4294967296", "4294967297", "-1", "+3", "3x", "x3", "0x3", "", " 3"};
  for (const char* word : {"263", "256", "8"}) {
    Parsed p = Parse({"-format", "-slot", word, "-s"});
    EXPECT_EQ(p.result, kParseUsageError) << word;
    EXPECT_EQ(p.output, kInvalidEntry + kUsage) << word;
  }
  for (const char* word : notNumbers) {
    const std::vector<std::vector<std::string>> slotLines = {
        {"-format", "-slot", word, "-s"},
        {"-format", "-slot", word, "-op", "-level", "nom", "-s"},
    };
    for (const std::vector<std::string>& words : slotLines) {
      Parsed p = Parse(words);
      EXPECT_EQ(p.result, kParseUsageError) << '"' << word << '"';
      EXPECT_EQ(p.output, kInvalidEntry + kUsage) << '"' << word << '"';
    }
    for (const char* option : {"-maxlba", "-percent"}) {
      Parsed p = Parse({"-format", "-op", option, word, "-s"});
      EXPECT_EQ(p.result, kParseUsageError) << option << " \"" << word << '"';
      EXPECT_EQ(p.output, kInvalidEntry + kUsage) << option << " \"" << word << '"';
      EXPECT_EQ(p.record.opValue, 0u) << option << " \"" << word << '"';
    }
  }
}

TEST_F(FormatParse, ParseOpLevelWritesBothOutputsAlways) {
  struct Case {
    std::vector<std::string> words;
    uint32_t result, maxLbaGiven, value;
    std::string output;
  };
  const Case cases[] = {
      {{"-format", "-op", "-level", "PERF"}, 0, 0, 60, ""},
      {{"-format", "-slot", "1", "-op", "-maxlba", "77"}, 0, 1, 77, ""},
      {{"-format", "-slot", "1", "-op", "-percent", "1000"}, 0, 0, 1000, ""},
      {{"-format", "-slot", "1", "-op", "-percent", "1001"}, 2, 0, 0, kOutOfRange},
      {{"-format", "-op", "-percent", "4294967295"}, 2, 0, 0, kOutOfRange},
      {{"-format", "-op", "-level", "max"}, 2, 0, 0, kInvalidFormat},
      {{"-format", "-op", "-maxlba", "0"}, 2, 1, 0, kOutOfRange},
      {{"-format", "-op", "-percent", "1.5"}, 2, 0, 0, kInvalidEntry},
      {{"-format", "-op", "-lvl", "perf"}, 2, 0, 0, kInvalidFormat},
  };
  for (const Case& c : cases) {
    std::vector<std::string> copy = c.words;
    std::vector<char*> argv;
    for (std::string& word : copy) argv.push_back(word.data());
    uint32_t maxLbaGiven = 99;
    uint32_t value = 99;
    EXPECT_EQ(ParseOpLevel(static_cast<int>(argv.size()), argv.data(), &maxLbaGiven, &value), c.result);
    EXPECT_EQ(maxLbaGiven, c.maxLbaGiven) << c.words.back();
    EXPECT_EQ(value, c.value) << c.words.back();
    EXPECT_EQ(card().TakeOutput(), c.output) << c.words.back();
  }
}

TEST_F(FormatParse, PromptOpValueChoices) {
  struct Case {
    const char* input;
    uint32_t result, maxLbaGiven, value;
    std::string output;
  };
  const Case cases[] = {
      {"1\n1\n", 0, 0, 60, kOpMenu + kLevelMenu},
      {"1\n2\n", 0, 0, 28, kOpMenu + kLevelMenu},
      {"1\n3\n", 0, 0, 16, kOpMenu + kLevelMenu},
      {"2\n4294967295\n", 0, 1, 4294967295u, kOpMenu + kMaxLbaPrompt},
      {"3\n1000\n", 0, 0, 1000, kOpMenu + kPercentPrompt},
      {"3\n0\n", 0, 0, 0, kOpMenu + kPercentPrompt},
      // Quitting leaves the outputs as they were.
      {"0\n", 1, 99, 99, kOpMenu},
      {"1\n0\n", 1, 99, 99, kOpMenu + kLevelMenu},
      {"", 1, 99, 99, kOpMenu},
      {"2\n", 1, 99, 99, kOpMenu + kMaxLbaPrompt},
      // Out of range, or not a number.
      {"2\n0\n", 1, 99, 99, kOpMenu + kMaxLbaPrompt + kInvalidEntry + kOutOfRange},
      {"2\n4294967296\n", 1, 99, 99, kOpMenu + kMaxLbaPrompt + kInvalidEntry + kOutOfRange},
      {"3\n1001\n", 1, 99, 99, kOpMenu + kPercentPrompt + kInvalidEntry + kOutOfRange},
      {"3\n5%\n", 1, 99, 99, kOpMenu + kPercentPrompt + kInvalidEntry + kOutOfRange},
      // An invalid menu answer clears both outputs.
      {"4\n", 2, 0, 0, kOpMenu + kInvalidEntry},
      {"1\n9\n", 2, 0, 0, kOpMenu + kLevelMenu + kInvalidEntry},
  };
  for (const Case& c : cases) {
    card().SetInput(c.input);
    uint32_t maxLbaGiven = 99;
    uint32_t value = 99;
    EXPECT_EQ(PromptOpValue(&maxLbaGiven, &value), c.result) << c.input;
    EXPECT_EQ(maxLbaGiven, c.maxLbaGiven) << c.input;
    EXPECT_EQ(value, c.value) << c.input;
    EXPECT_EQ(card().TakeOutput(), c.output) << c.input;
  }
}

TEST_F(FormatParse, MenuModeOnAConfiguredCardFormatsEveryModule) {
  struct Case {
    const char* input;
    int result;
    Record record;
    std::string output;
  };
  const Case cases[] = {
      {"no\nno\nYES\n", kParseGoOn, {0, 1, 0, 0, 0, 0}, kOpQuestion + kEraseQuestion + kWarning},
      {"Yes\n1\n2\nyes\nyes\n", kParseGoOn, {0, 1, 0, 1, 1, 28},
       kOpQuestion + kOpMenu + kLevelMenu + kEraseQuestion + kWarning},
      {"YES\n2\n1234\nNO\nyes\n", kParseGoOn, {0, 1, 1, 1, 0, 1234},
       kOpQuestion + kOpMenu + kMaxLbaPrompt + kEraseQuestion + kWarning},
      {"no\nno\nnope\n", kParseTerminated, {0, 1, 0, 0, 0, 0},
       kOpQuestion + kEraseQuestion + kWarning + Message("Operation aborted.")},
      {"maybe\n", kParseTerminated, {0, 1, 0, 0, 0, 0}, kOpQuestion + kInvalidEntry},
      {"no\ny\n", kParseTerminated, {0, 1, 0, 0, 0, 0}, kOpQuestion + kEraseQuestion + kInvalidEntry},
      {"yes\n0\n", kParseTerminated, {0, 1, 0, 1, 0, 0}, kOpQuestion + kOpMenu},
      {"yes\n3\n2000\n", kParseTerminated, {0, 1, 0, 1, 0, 0},
       kOpQuestion + kOpMenu + kPercentPrompt + kInvalidEntry + kOutOfRange},
      {"yes\n7\n", kParseTerminated, {0, 1, 0, 1, 0, 0}, kOpQuestion + kOpMenu + kInvalidEntry},
      // The reader's own failures: a control character, the end of input.
      {"no\tway\n", 2, {0, 1, 0, 0, 0, 0}, kOpQuestion + kInvalidEntry},
      {"", kParseTerminated, {0, 1, 0, 0, 0, 0}, kOpQuestion},
      {"no\n", kParseTerminated, {0, 1, 0, 0, 0, 0}, kOpQuestion + kEraseQuestion},
  };
  for (const Case& c : cases) {
    Parsed p = Parse({}, c.input);
    EXPECT_EQ(p.result, c.result) << c.input;
    EXPECT_EQ(p.record, c.record) << c.input;
    EXPECT_EQ(p.output, c.output) << c.input;
  }
}

TEST_F(FormatParse, MenuModeOnAnUnconfiguredCardAsksWhichModules) {
  StartUnconfigured();
  struct Case {
    const char* input;
    int result;
    Record record;
    std::string output;
  };
  const std::string tail = kOpQuestion + kEraseQuestion + kWarning;
  const Case cases[] = {
      {"2\nno\nno\nyes\n", kParseGoOn, {0, 1, 0, 0, 0, 0}, kSingleOrAll + tail},
      {"1\n6\nno\nyes\nyes\n", kParseGoOn, {6, 0, 0, 0, 1, 0}, kSingleOrAll + kSlotPrompt + tail},
      // An invalid answer asks again; an invalid slot goes back to the
      // single/all question.
      {"3\n1\n8\n1\n0\nno\nno\nyes\n", kParseGoOn, {0, 0, 0, 0, 0, 0},
       kSingleOrAll + kInvalidEntry + kSingleOrAll + kSlotPrompt + kInvalidEntry + kSingleOrAll + kSlotPrompt +
           tail},
      {"1\n263\n2\nno\nno\nyes\n", kParseGoOn, {0, 1, 0, 0, 0, 0},
       kSingleOrAll + kSlotPrompt + kInvalidEntry + kSingleOrAll + tail},
      {"0\n", kParseTerminated, {0, 0, 0, 0, 0, 0}, kSingleOrAll},
      {"", kParseTerminated, {0, 0, 0, 0, 0, 0}, kSingleOrAll},
      {"1\n", kParseTerminated, {0, 0, 0, 0, 0, 0}, kSingleOrAll + kSlotPrompt},
  };
  for (const Case& c : cases) {
    Parsed p = Parse({}, c.input);
    EXPECT_EQ(p.result, c.result) << c.input;
    EXPECT_EQ(p.record, c.record) << c.input;
    EXPECT_EQ(p.output, c.output) << c.input;
  }
}

TEST_F(FormatParse, CardThatCannotBeReadEndsTheParse) {
  card().RemovePage(9, 10);
  for (const std::vector<std::string>& words : {std::vector<std::string>{}, Words("-s")}) {
    Parsed p = Parse(words, "2\n");
    EXPECT_EQ(p.result, kParseTerminated);
    EXPECT_EQ(p.output, app_test::kTitle + ": Corvexium is not in a proper state.\n" + Message("Execution failed."));
    EXPECT_TRUE(p.stored);
    EXPECT_EQ(p.record, (Record{0, 0, 0, 0, 0, 0}));
  }
}

}  // namespace

namespace {

TEST_F(FormatParse, TheExecuteOperationTakesTheRecordOver) {
  card().SetInput("");
  std::vector<std::string> words = Words("-op -level nom -eraseflash -s");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  CommandContext context;
  ASSERT_EQ(FormatCommandParse(static_cast<int>(argv.size()), argv.data(), &context), kParseGoOn);
  ASSERT_NE(context.params.get(), nullptr);
  FormatCommandExec(&context);
  // Freed (the sanitizer build sees a leak otherwise) and not left dangling.
  EXPECT_EQ(context.params.get(), nullptr);
  card().TakeOutput();
}

}  // namespace
