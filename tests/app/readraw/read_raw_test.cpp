// -readraw: the words and the page address, the checks of what the module
// hands back (address fields, block tables), and the page read into its
// file against the emulated module's block tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/readraw/raw_page_address.h"
#include "app/readraw/read_raw.h"
#include "app/shell/command_operations.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "cardlib/libzk.h"
#include "emu/host/emulator.h"
#include "emu/modules/raw_flash.h"
#include "scratch_folder.h"

namespace {

using app_test::ScratchFolder;

constexpr uint8_t kSlot = 4;
constexpr uint16_t kRawRead = 0xC00C;

const std::string kUsage =
    "Usage :\n  tessvarc  <-c controller #>  -readraw  <-p pageAddr(hex)>  <-s slotNum #>  <-f fileName>\n";

TEST(PageAddressTest, DecimalOrHexadecimal) {
  emu::Install(emu::DefaultHost());
  struct Case {
    const char* text;
    bool valid;
    uint32_t low;
    uint32_t high;
  };
  const Case cases[] = {
      {"0x3FFFFFFF", true, 0x3FFFFFFF, 0},
      {"0x100000000", true, 0, 1},
      {"1073741823", true, 0x3FFFFFFF, 0},
      {"18446744073709551615", true, 0xFFFFFFFF, 0xFFFFFFFF},
      {"18446744073709551616", false, 0, 0},
      {"0x", true, 0, 0},
      {"", false, 0, 0},
      {"12a", false, 0, 0},
      {"-1", false, 0, 0},
      {"0x1G", false, 0, 0},
      {"0x12345678123456789", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    uint32_t low = 0;
    uint32_t high = 0;
    EXPECT_EQ(ParsePageAddress(c.text, &low, &high), c.valid);
    if (c.valid) {
      EXPECT_EQ(low, c.low);
      EXPECT_EQ(high, c.high);
    }
  }
}

RawPageAddress AddressWith(std::vector<std::pair<size_t, uint16_t>> fields) {
  RawPageAddress address{};
  for (auto [offset, value] : fields) {
    address.bytes[offset] = static_cast<uint8_t>(value);
    address.bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
  }
  return address;
}

TEST(BlockTablesTest, FieldsOutsideTheirPlaceAreRefused) {
  struct Case {
    size_t offset;
    uint16_t largest;  // the largest usable value
  };
  const Case cases[] = {{raw_address::kF14, 1}, {raw_address::kF20, 3}, {raw_address::kF8, 1},
                        {raw_address::kF10, 7}, {raw_address::kF12, 1}, {raw_address::kRBlock, 0x7FF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    EXPECT_TRUE(RawAddressFieldsUsable(AddressWith({{c.offset, c.largest}})));
    EXPECT_FALSE(RawAddressFieldsUsable(AddressWith({{c.offset, static_cast<uint16_t>(c.largest + 1)}})));
  }
  // The two other fields are not looked at.
  EXPECT_TRUE(RawAddressFieldsUsable(AddressWith({{18, 0xFFFF}, {0, 0xFFFF}})));
  EXPECT_EQ(MappingTableIndex(AddressWith({{raw_address::kF12, 1}, {raw_address::kF10, 7}, {raw_address::kF8, 1},
                                           {raw_address::kF20, 3}, {raw_address::kF14, 1}})),
            0x1FEu);
  EXPECT_EQ(MappingTableIndex(AddressWith({{raw_address::kF10, 2}, {raw_address::kF14, 1}})), 0x42u);
}

TEST(BlockTablesTest, MappingEntriesBeyondTheBlocksAreNotFollowed) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  std::vector<uint8_t> table(1024, 0);
  RawPageAddress address = AddressWith({{raw_address::kRBlock, 0x10}, {raw_address::kF10, 2}, {raw_address::kF14, 1}});
  table[0x42] = 0x00;
  table[0x43] = 0x08;  // 0x800
  EXPECT_FALSE(FollowMappingTable(&address, table.data(), table.size()));
  EXPECT_EQ(RBlockOf(address), 0x10);
  EXPECT_FALSE(FollowMappingTable(&address, table.data(), 0x43));  // the entry lies past a short table
  table[0x43] = 0x07;                                               // 0x700
  EXPECT_TRUE(FollowMappingTable(&address, table.data(), table.size()));
  EXPECT_EQ(RBlockOf(address), 0x700);
  EXPECT_EQ(card.TakeOutput(), "Requested USER Block found Re-Mapped\nOld RBLOCK = 0x10, New RBLOCK = 0x700\n");
}

class ReadRawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card_ = &emu::Install(emu::DefaultHost());
    app_test::ResetProgramState();
    ASSERT_EQ(LibZKOpen(), 1u);
    ASSERT_EQ(LibZKDiscoverAdapters(&ControllerCount), 0u);
    SelectedController = 1;
    card_->TakeOutput();
  }
  void TearDown() override {
    EXPECT_EQ(card_->OpenDescriptors(), 0);
    LibZKClose();
  }
  // The R-block field of the last raw read the module received (-1: none).
  int LastReadBlock() {
    int block = -1;
    for (const emu::SctActionRecord& a : card_->ModuleActivity(kSlot).sctActions) {
      if (a.action == kRawRead) block = a.sector.at(16) | a.sector.at(17) << 8;
    }
    return block;
  }
  emu::Emulator* card_ = nullptr;
};

TEST_F(ReadRawTest, Words) {
  struct Case {
    std::vector<std::string> words;
    int parse;
  };
  const Case cases[] = {
      {{"-readraw", "-p", "0x200000", "-s", "4", "-f", "page.bin"}, 0},
      {{"-READRAW", "-P", "2097152", "-SLOT", "4", "-F", "page.bin"}, 0},
      {{"-readraw", "-p", "0x200000", "-s", "4", "-f"}, 1},
      {{"-readraw", "-p", "0x200000", "-x", "4", "-f", "page.bin"}, 1},
      {{"-readraw", "-p", "0x20000G", "-s", "4", "-f", "page.bin"}, 1},
      {{"-readraw", "-p", "0x200000", "-s", "260", "-f", "page.bin"}, 1},  // would wrap to slot 4
      {{"-readraw", "-p", "0x200000", "-s", "4", "-f", std::string(512, 'a')}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words[2] + " " + c.words[4]);
    std::vector<std::string> words = c.words;
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    CommandContext context;
    EXPECT_EQ(ReadRawCommandParse(static_cast<int>(argv.size()), argv.data(), &context), c.parse);
    std::string output = card_->TakeOutput();
    if (c.parse == 0) {
      auto* request = context.params.As<ReadRawRequest>();
      EXPECT_EQ(request->addressLow, 0x200000u);
      EXPECT_EQ(request->addressHigh, 0u);
      EXPECT_EQ(request->slot, kSlot);
      EXPECT_STREQ(request->fileName, "page.bin");
    } else {
      EXPECT_NE(output.find(kUsage), std::string::npos) << output;
    }
  }
}

TEST_F(ReadRawTest, BlocksOfEachKind) {
  struct Case {
    const char* what;
    uint32_t low;
    uint32_t high;
    uint32_t result;
    int readBlock;  // the R-block the raw read went to (-1: none)
    std::string output;
  };
  const std::string refused = "System / Invalid Block requested. Choose a different block address\n";
  const std::string user = "\nRequested Block Type: USER\nNo Re-Mapped Blocks found\n";
  const Case cases[] = {
      {"user", 0x00200000, 0, 0, 0x20, user + "Reading Physical Page... Done\n"},
      {"system", 0x00020000, 0, 0, -1, "\nSystem Block requested by user: Access Denied\n" + refused},
      {"invalid", 0x00040000, 0, 0, -1, "\nInvalid Block requested by user: Access Denied\n" + refused},
      {"invalid mapping", 0x00050000, 0, 0, -1, "\nRequested Block Type: Invalid\n" + refused},
      {"re-mapped", 0x00100000, 0, 0, 0x7F0,
       "\nRequested Block Type: USER\nRequested USER Block found Re-Mapped\nOld RBLOCK = 0x10, New RBLOCK = "
       "0x7F0\nReading Physical Page... Done\n"},
      {"secure erase", 0x00110000, 0, 0, 0x11, user + "Reading Physical Page... Done\n"},
      {"last address", 0x3FFFFFFF, 0, 0, 0x7FF, user + "Reading Physical Page... Done\n"},
      {"past the range", 0x40000000, 0, 0, -1, "\nSupported address range for SSD <0x00000000 - 0x3FFFFFFF>\n"},
      {"a high word", 0x00200000, 1, 0, -1, "\nSupported address range for SSD <0x00000000 - 0x3FFFFFFF>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    card_->ModuleActivity(kSlot).sctActions.clear();
    EXPECT_EQ(ReadRawPage(c.low, c.high, kSlot, "page.bin"), c.result);
    EXPECT_EQ(card_->TakeOutput(), c.output);
    EXPECT_EQ(LastReadBlock(), c.readBlock);
    if (c.readBlock < 0) {
      EXPECT_TRUE(folder.Names().empty());
      continue;
    }
    std::vector<uint8_t> address = emu::RawPageAddressOf(c.low);
    address[16] = static_cast<uint8_t>(c.readBlock);
    address[17] = static_cast<uint8_t>(c.readBlock >> 8);
    std::vector<uint8_t> fields(address.begin() + 8, address.end());
    EXPECT_EQ(ScratchFolder::Read("page.bin"), emu::RawPage(*card_->Module(kSlot), fields));
  }
}

TEST_F(ReadRawTest, FailuresExitOneAndLeaveNoFile) {
  struct Case {
    const char* what;
    void (*arm)(emu::Emulator&);
    std::string output;
    rlim_t fileLimit = 0;  // bytes a file may take (0: no limit)
  };
  const Case cases[] = {
      {"a mapping entry past the blocks",
       [](emu::Emulator& c) { c.Module(kSlot)->rawBlocks.push_back(emu::RawBlockModel{0x20, 4, 2, 0x900}); },
       "\nRequested Block Type: USER\nRead R-BLOCK Mapping Table FAILED\ngetBlockInfo failed!\n"
       "System / Invalid Block requested. Choose a different block address\n"},
      {"a full disk", [](emu::Emulator&) {},
       "\nRequested Block Type: USER\nNo Re-Mapped Blocks found\nReading Physical Page...Write failed for log file!\n",
       4096},
      {"a locked module", [](emu::Emulator& c) { c.LockModule(kSlot, true, "vexlock"); }, "LibZKSSDUnlock FAILED\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    ScratchFolder folder;
    c.arm(*card_);
    std::optional<app_test::FileSizeLimit> limit;
    if (c.fileLimit != 0) limit.emplace(c.fileLimit);
    EXPECT_NE(ReadRawPage(0x00200000, 0, kSlot, "page.bin"), 0u);
    limit.reset();
    EXPECT_EQ(card_->TakeOutput(), c.output);
    EXPECT_TRUE(folder.Names().empty());
  }
}

TEST_F(ReadRawTest, AFileThatCannotBeCreated) {
  ScratchFolder folder;
  EXPECT_EQ(ReadRawPage(0x00200000, 0, kSlot, "no-such-folder/page.bin"), 1u);
  EXPECT_EQ(card_->TakeOutput(),
            "\nRequested Block Type: USER\nNo Re-Mapped Blocks found\nReading Physical Page...\n"
            "Ulvane Corvexium Management Utility: Error opening a file. Name: no-such-folder/page.bin.\n");
}

}  // namespace
