// -paniclog: its words and menu, the dump transfer in chunks into its file,
// read failures and retries, the erase (from slot 3 down, kept by the
// module), the continue prompt, the file names, and the exit status when
// anything failed.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/paniclog/panic_log.h"
#include "app/shell/command_operations.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "cardlib/libzk.h"
#include "emu/host/emulator.h"
#include "emu/modules/panic_slots.h"
#include "scratch_folder.h"

namespace {

using app_test::Message;
using app_test::ScratchFolder;

constexpr uint8_t kSlot = 4;  // the default card's first module
constexpr uint16_t kPanicAction = 0xC601;
constexpr uint8_t kSctDataLog = 0xE1;

class PanicLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card_ = &emu::Install(emu::DefaultHost());
    app_test::ResetProgramState();
    ASSERT_EQ(LibZKOpen(), 1u);
    ASSERT_EQ(LibZKDiscoverAdapters(&ControllerCount), 0u);
    SelectedController = 1;
    ASSERT_EQ(LibZKGetVXHandle(0, &vx_), 0u);
    card_->TakeOutput();
  }
  void TearDown() override {
    EXPECT_EQ(card_->OpenDescriptors(), 0);
    LibZKClose();
  }
  emu::ModuleModel& Module(uint8_t slot = kSlot) { return *card_->Module(slot); }
  std::string FileName(uint16_t panic, uint8_t slot = kSlot) {
    char name[512] = {};
    EXPECT_EQ(BuildPanicLogFileName(vx_, slot, panic, name), 0u);
    return name;
  }
  // The sector counts of the SCT data reads (log 0xE1) the module received.
  std::vector<uint16_t> DataReads(uint8_t slot = kSlot) {
    std::vector<uint16_t> counts;
    for (const emu::AtaCommandRecord& c : card_->ModuleActivity(slot).commands) {
      if (c.command == 0xB0 && c.features == 0xD5 && (c.lba & 0xFF) == kSctDataLog) counts.push_back(c.count);
    }
    return counts;
  }
  std::vector<std::pair<uint16_t, uint8_t>> PanicCommands(uint8_t slot = kSlot) {
    std::vector<std::pair<uint16_t, uint8_t>> out;
    for (const emu::SctActionRecord& a : card_->ModuleActivity(slot).sctActions) {
      if (a.action == kPanicAction) out.push_back({a.function, a.sector.at(6)});
    }
    return out;
  }
  // The size of each panic command block the module received.
  std::vector<size_t> PanicBlockSizes(uint8_t slot = kSlot) {
    std::vector<size_t> out;
    for (const emu::SctActionRecord& a : card_->ModuleActivity(slot).sctActions) {
      if (a.action == kPanicAction) out.push_back(a.sector.size());
    }
    return out;
  }
  emu::Emulator* card_ = nullptr;
  uint32_t vx_ = 0;
};

TEST_F(PanicLogTest, WordsAndMenu) {
  struct Case {
    std::vector<std::string> words;
    std::string input;
    int parse;
    uint32_t function;
    std::string output;
  };
  const std::string usage = Message("Incorrect number of command line parameters.") +
                            "Usage :\n    tessvarc <-c controller #> -paniclog -f <function code> \n"
                            "        where <function code> is : extract / erase / query\n ";
  const std::string menu = "Select Function [1:Extract 2:Erase 3:Query or 0:Quit]: ";
  const Case cases[] = {
      {{"-paniclog", "-f", "extract"}, "", 0, kPanicExtract, ""},
      {{"-paniclog", "-F", "ERASE"}, "", 0, kPanicErase, ""},
      {{"-paniclog", "-f", "Query"}, "", 0, kPanicQuery, ""},
      {{"-paniclog", "-f"}, "", 2, 0, usage},
      {{"-paniclog", "-f", "query", "x"}, "", 2, 0, usage},
      {{"-paniclog", "-x", "query"}, "", 2, 0, ""},
      {{"-paniclog", "-f", "list"}, "", 2, 0, ""},
      {{}, "1\n", 0, kPanicExtract, menu},
      {{}, "3\n", 0, kPanicQuery, menu},
      {{}, "0\n", 1, 0, menu},
      {{}, "4\n", 2, 0, menu + Message("Invalid entry.")},
      {{}, "", 1, 0, menu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words.empty() ? "menu " + c.input : c.words.back());
    std::vector<std::string> words = c.words;
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    card_->SetInput(c.input);
    CommandContext context;
    EXPECT_EQ(PanicLogCommandParse(static_cast<int>(argv.size()), argv.empty() ? nullptr : argv.data(), &context),
              c.parse);
    if (c.parse == 0) {
      EXPECT_EQ(context.params.As<PanicLogOptions>()->function, c.function);
    }
    EXPECT_EQ(card_->TakeOutput(), c.output);
  }
}

TEST_F(PanicLogTest, DumpIsReadInChunksAndTheFileHoldsExactlyItsSize) {
  struct Case {
    uint32_t dataSize;
    std::vector<uint16_t> reads;  // after the query's two sectors and the diagnostic block of the name
  };
  const Case cases[] = {
      {0x10001, {128, 32}},  // 129 sectors rounded to 160
      {0x1001, {128}},       // 9 sectors rounded to 32: one read of a whole chunk
      {0x10000, {128}},      // exactly 128 sectors
      {0x18000, {128, 32, 32}},  // 192 sectors: the tail in chunks of 32
      {0, {}},               // nothing read, the file still made
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dataSize);
    ScratchFolder folder;
    Module().panicSlots[0] = emu::PanicSlotModel{true, true, c.dataSize};
    card_->ModuleActivity(kSlot).commands.clear();
    EXPECT_EQ(ReadPanicLog(vx_, kSlot, kPanicModeExtract, 1, 0, false), 0u);
    std::vector<uint16_t> reads = DataReads();
    ASSERT_GE(reads.size(), 2u);
    EXPECT_EQ(reads[0], 2);  // the query
    EXPECT_EQ(reads[1], 1);  // the diagnostic information for the file name
    EXPECT_EQ(std::vector<uint16_t>(reads.begin() + 2, reads.end()), c.reads);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{FileName(0)});
    EXPECT_EQ(ScratchFolder::Read(FileName(0)), emu::PanicDump(Module(), 0));
    EXPECT_EQ(card_->TakeOutput(), "");
  }
}

TEST_F(PanicLogTest, ReadFailuresAreRetriedUpToSixTimes) {
  const std::string retry = "Failed to read Panic Log. Status = 0x1. Retrying... \n";
  {
    ScratchFolder folder;
    Module().panicReadFails = 6;
    EXPECT_EQ(ReadPanicLog(vx_, kSlot, kPanicModeExtract, 1, 3, false), 0u);
    std::string expected;
    for (int i = 0; i < 6; ++i) expected += retry;
    EXPECT_EQ(card_->TakeOutput(), expected);
    EXPECT_EQ(ScratchFolder::Read(FileName(3)), emu::PanicDump(Module(), 3));
  }
  {
    // The seventh failure ends the transfer: no file, not even a partial one.
    ScratchFolder folder;
    Module().panicReadFails = 7;
    int64_t before = card_->Time();
    EXPECT_EQ(ReadPanicLog(vx_, kSlot, kPanicModeExtract, 1, 3, false), 1u);
    std::string expected;
    for (int i = 0; i < 7; ++i) expected += retry;
    EXPECT_EQ(card_->TakeOutput(), expected);
    EXPECT_EQ(card_->Time() - before, 1);
    EXPECT_TRUE(folder.Names().empty());
  }
}

TEST_F(PanicLogTest, ExtractCommandFailsWhenAModuleCouldNotBeRead) {
  ScratchFolder folder;
  card_->Module(6)->panicReadFails = -1;
  app_test::ProgramRun run = app_test::RunProgram({"-c", "1", "-paniclog", "-f", "extract"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Failed extracting panic for Cage = "), std::string::npos);
  // The other modules' panics are all there; the failing module's are not.
  std::vector<std::string> names = folder.Names();
  EXPECT_EQ(names.size(), 6u);
  for (const std::string& name : names) EXPECT_EQ(name.find(".part"), std::string::npos) << name;
}

TEST_F(PanicLogTest, AFullDiskLeavesNoFile) {
  ScratchFolder folder;
  app_test::FileSizeLimit full(1000);
  EXPECT_EQ(ReadPanicLog(vx_, kSlot, kPanicModeExtract, 1, 0, false), 1u);
  EXPECT_EQ(card_->TakeOutput(), "Write failed for log file!\n");
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(PanicLogTest, AFileThatCannotBeCreatedFailsTheExtract) {
  ScratchFolder folder;
  const std::string name = FileName(0);
  std::filesystem::create_directory(name + ".part");  // where the file would be written first
  card_->TakeOutput();
  EXPECT_EQ(ReadPanicLog(vx_, kSlot, kPanicModeExtract, 1, 0, false), 1u);
  EXPECT_EQ(card_->TakeOutput(), Message("Error opening a file. Name: " + name + "."));
  EXPECT_EQ(folder.Names(), std::vector<std::string>{name + ".part"});
}

TEST_F(PanicLogTest, EraseGoesFromSlotThreeDownAndSkipsWhatIsNotExtractable) {
  EXPECT_EQ(EraseSataPanics(vx_), 0u);
  for (uint8_t slot = 4; slot < 8; ++slot) {
    SCOPED_TRACE(slot);
    const emu::PanicSlots& p = Module(slot).panicSlots;
    EXPECT_EQ(p[0], emu::PanicSlotModel{});
    EXPECT_EQ(p[1], emu::kDefaultPanicSlots[1]);  // CRC 0: left alone
    EXPECT_EQ(p[3], emu::PanicSlotModel{});
    std::vector<std::pair<uint16_t, uint8_t>> expected = {{0, 0}, {0, 0}, {2, 3}, {0, 0}, {2, 0}};
    EXPECT_EQ(PanicCommands(slot), expected);
    // A query's command block is two sectors; an erase's one.
    EXPECT_EQ(PanicBlockSizes(slot), (std::vector<size_t>{1024, 1024, 512, 1024, 512}));
  }
}

TEST_F(PanicLogTest, EraseIsNotOfferedForMODKModules) {
  Module(5).modelType = '8';
  Module(5).configId = "1591";
  EXPECT_EQ(EraseSataPanics(vx_), 0u);
  std::string output = card_->TakeOutput();
  EXPECT_NE(output.find("Location = Lower, erase command not supported for MODK - 8K Optimized\n"), std::string::npos)
      << output;
  EXPECT_EQ(Module(5).panicSlots, emu::kDefaultPanicSlots);
  EXPECT_EQ(Module(4).panicSlots[0], emu::PanicSlotModel{});
}

TEST_F(PanicLogTest, ContinuePromptOnlyGoesOnForYes) {
  const std::string prompt =
      "Slot was selected which does not have a valid panic.  \nBut do you want to continue anyways [0:No  1:Yes]: ";
  struct Case {
    std::string input;
    bool erased;
    std::string after;
  };
  const Case cases[] = {
      {"0\n", false, ""},
      {"x\n", false, Message("Invalid entry.")},
      {"2\n", false, Message("Invalid entry.")},
      {"", false, ""},
      {"1\n", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    Module().panicSlots = emu::kDefaultPanicSlots;
    card_->SetInput(c.input);
    EXPECT_EQ(ReadPanicLog(vx_, kSlot, kPanicModeErase, 1, 1, false), 0u);
    EXPECT_EQ(card_->TakeOutput(), prompt + c.after);
    EXPECT_EQ(Module().panicSlots[1] == emu::PanicSlotModel{}, c.erased);
  }
}

TEST_F(PanicLogTest, FileNameKeepsOnlySafeCharactersOfTheSerial) {
  Module().serial = "../A/B C\\D.E";
  std::string name = FileName(2);
  EXPECT_EQ(name.find('/'), std::string::npos) << name;
  EXPECT_EQ(name.find(".."), std::string::npos) << name;
  EXPECT_EQ(name.substr(0, 16), "01_Upper_02_ABCD") << name;
}

TEST_F(PanicLogTest, QueryPrintsTheTableAndTheDetail) {
  uint32_t ssd = 0;
  ASSERT_EQ(LibZKGetSSDHandle(vx_, kSlot, &ssd), 0u);
  EXPECT_EQ(QueryPanicSlots(vx_, ssd, 1, 0, nullptr, 0, true), 0u);
  EXPECT_EQ(card_->TakeOutput(),
            "Panic Slot     Valid     CRC     DumpSize\n"
            "----------     -----     ---     --------\n"
            "         0         1       1      4097\n"
            "         1         1       0       512\n"
            "         2         0       0         0\n"
            "         3         1       1       700\n");
  EXPECT_EQ(QueryPanicSlots(vx_, ssd, 1, 1, nullptr, 0, true), 0u);
  std::string detail = card_->TakeOutput();
  const std::string first =
      " ---------- Panic Slot  0 ------------ \nHeaderPrefix  0x52444843 : 0x494e4150 \n"
      "TransactionNumber 140 \nSyncCode a55a5aa5 \nUnlock Level 1 \nHeader size 0x24 \nData size 0x1001 \n"
      "ePageAddress 0x120000 \nValid 1\nCRC 1 \n\n\n ---------- Panic Slot  1 ------------ \n";
  EXPECT_EQ(detail.substr(0, first.size()), first);
}

}  // namespace
