// The dump against the emulated card: what the controller's answers change
// in the file, and the file closed on every path.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/dump/dump_adapter.h"
#include "app/shell/file_slots.h"
#include "app/shell/program_state.h"
#include "card_fixture.h"

namespace {

constexpr uint8_t kPortFacts = 0x05;
constexpr uint8_t kConfig = 0x04;

class DumpAdapterTest : public app_test::CardFixture {
 protected:
  void SetUp() override {}
  void StartWith(uint32_t capabilities) {
    emu::HostModel host = emu::DefaultHost();
    host.FirstAdapter()->iocCapabilities = capabilities;
    Start(std::move(host));
    SelectedController = 1;
  }
  // The dump file of this test (tests run side by side in one folder).
  static std::string Path() {
    return std::string("dump_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
  }
  // Runs the dump; the file's text.
  std::string Dump(uint32_t expected = 0) {
    const std::string path = Path();
    const char* kPath = path.c_str();
    EXPECT_EQ(DumpAdapter(0, kPath), expected);
    for (const FileSlot& slot : FileSlots) EXPECT_EQ(slot.stream, nullptr);
    uint32_t size = 0;
    uint32_t file = FileOpen(kPath, "r", &size);
    std::string text(size, '\0');
    if (file != kInvalidFileHandle) FileReadAll(file, size, text.data());
    FileClose(file);
    FileRemove(kPath);
    return text;
  }
  static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
  uint32_t CountOf(const std::string& text, const std::string& part) {
    uint32_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
};

TEST_F(DumpAdapterTest, TheRaidFamiliesOnlyWithIntegratedRaid) {
  for (uint32_t capabilities : {0x00001A5Cu, 0x00000A5Cu}) {
    StartWith(capabilities);
    std::string text = Dump();
    bool raid = (capabilities & 0x1000) != 0;
    EXPECT_EQ(Has(text, "\nRAIDVolumePage0 / 0040\n"), raid);
    EXPECT_EQ(Has(text, "\nRAIDPhysicalDiskPage1 / 0003\n"), raid);
    EXPECT_EQ(Has(text, "\nRAIDCofigurationPage0/ 0001\n"), raid);
    EXPECT_TRUE(Has(text, "\nSASIOUnitPage0\n"));
    // the one family the card does not have says so once
    EXPECT_EQ(card().TakeOutput(), "\nUlvane Corvexium Management Utility: Insufficient memory.\n");
  }
}

TEST_F(DumpAdapterTest, PortFactsOfPortZeroAndItsFailureKeepsThePages) {
  StartWith(0x00001A5C);
  std::string text = Dump();
  auto facts = Commands(kPortFacts);
  ASSERT_EQ(facts.size(), 1u);
  EXPECT_EQ(facts[0]->frame.at(4), 0u);  // the port number
  EXPECT_TRUE(Has(text, "\nPortFactsReply\n0000 : "));

  StartWith(0x00001A5C);
  card().FailIoctl(0xC0484C14, 5, -1, kPortFacts);  // the COMMAND ioctl of PORT FACTS: EIO
  text = Dump();
  EXPECT_FALSE(Has(text, "PortFactsReply"));
  EXPECT_TRUE(Has(text, "\nManufacturingPage0\n"));
  EXPECT_TRUE(Has(text, "\nDriverMappingPage0 / 0007\n"));
  EXPECT_TRUE(Has(text, "\nATA IDENTIFY DEVICE for SSD 0004 \n"));
}

TEST_F(DumpAdapterTest, AReplyCutShortIsWrittenAsFarAsItCame) {
  StartWith(0x00001A5C);
  card().CutReply(kPortFacts, 12);
  std::string text = Dump();
  // the reply says 7 words; 12 bytes came
  size_t at = text.find("\nPortFactsReply\n");
  ASSERT_NE(at, std::string::npos);
  std::string block = text.substr(at, text.find("\nManufacturingPage0") - at);
  EXPECT_EQ(CountOf(block, " : "), 3u);
}

TEST_F(DumpAdapterTest, EachPageIsReadOnce) {
  StartWith(0x00001A5C);
  Dump();
  std::map<std::vector<uint8_t>, uint32_t> reads;  // action, number, type, ext type, address
  for (const emu::LoggedCall* call : Commands(kConfig)) {
    uint8_t action = call->frame.at(0);
    if (action != 1 && action != 6) continue;
    std::vector<uint8_t> key = {action, call->frame.at(22), call->frame.at(23), call->frame.at(6)};
    key.insert(key.end(), call->frame.begin() + 24, call->frame.begin() + 28);
    ++reads[key];
  }
  // The card information and the module handles read pages of their own;
  // the pages only the dump reads are read once each.
  uint32_t checked = 0;
  for (const auto& [key, count] : reads) {
    uint8_t number = key[1], type = key[2], ext = key[3];
    bool dumpOnly = type == 2 || (type == 0 && number == 0) || (type == 1 && (number == 0 || number == 8)) ||
                    (type == 15 && (ext == 0x14 || ext == 0x17 || ext == 0x18 || ext == 0x16));
    if (!dumpOnly) continue;
    ++checked;
    EXPECT_EQ(count, 1u) << int(key[0]) << " " << int(number) << " " << int(type) << " " << int(ext);
  }
  // BIOS 1-4, IO unit 0, IOC 0 and 8 (current) and 8 (NVRAM), controller
  // log, RAID configuration, 4 ports, 8 mapping entries (a walk's end is
  // found at the header step, before any read)
  EXPECT_EQ(checked, 4u + 1 + 3 + 1 + 1 + 4 + 8);
}

// A controller whose port 5 names port 4 again would keep a walk going
// round for ever: the walk ends at the first instance it has seen.
TEST_F(DumpAdapterTest, AWalkThatGoesRoundEnds) {
  StartWith(0x00001A5C);
  std::vector<uint8_t> page(24, 0);
  page[0] = 1;      // version
  page[3] = 15;     // extended
  page[4] = 6;      // 6 words
  page[6] = 0x18;   // SAS port
  page[8] = 4;      // the port number: 4 again
  model().pages[emu::PageKey{15, 0, 0x18, 5}] = emu::ConfigPage{page, page, page};
  std::string text = Dump();
  EXPECT_EQ(CountOf(text, "\nSASPortPage0 / 04\n"), 1u);
  EXPECT_EQ(CountOf(text, "SASPortPage0"), 1u);
  EXPECT_TRUE(Has(text, "\nSASEnclosurePage0 / 01\n"));
}

// An extended page of `bytes` bytes of the type, with a 16-bit handle at `at`.
std::vector<uint8_t> ExtendedPage(uint8_t extType, size_t bytes, size_t at, uint16_t handle) {
  std::vector<uint8_t> page(bytes, 0);
  page[0] = 1;
  page[3] = 15;
  page[4] = static_cast<uint8_t>(bytes / 4);
  page[6] = extType;
  page[at] = static_cast<uint8_t>(handle);
  page[at + 1] = static_cast<uint8_t>(handle >> 8);
  return page;
}

// A page that answers 0, points back or names a handle beyond the
// controller's highest DevHandle (IOC FACTS: 0x40) ends its walk there,
// without being written: each family keeps the instances before it.
TEST_F(DumpAdapterTest, AWalkEndsAtAHandleThatDoesNotMoveForward) {
  struct Case {
    const char* what;
    void (*change)(emu::AdapterModel&);
    const char* title;
    uint32_t written;
  };
  const Case cases[] = {
      {"slot 6's device page answers 0", [](emu::AdapterModel& a) { a.modules[2].pageDevHandle = 0; },
       "SASDevicePage0 / ", 2},
      {"slot 6's device page points back", [](emu::AdapterModel& a) { a.modules[2].pageDevHandle = 0x0009; },
       "SASDevicePage0 / ", 2},
      {"the volume page answers 0", [](emu::AdapterModel& a) { a.raid.volumes[0].pageDevHandle = 0; },
       "RAIDVolumePage", 0},
      {"disk 3's page names disk 1", [](emu::AdapterModel& a) { a.raid.disks[3].pageNumber = 1; },
       "RAIDPhysicalDiskPage0 / ", 3},
      {"the enclosure page answers 0",
       [](emu::AdapterModel& a) {
         std::vector<uint8_t> page = ExtendedPage(0x15, 40, 22, 0);
         a.pages[emu::PageKey{15, 0, 0x15, 1}] = emu::ConfigPage{page, page, page};
       },
       "SASEnclosurePage0 / ", 0},
      {"an expander beyond the highest DevHandle",
       [](emu::AdapterModel& a) {
         std::vector<uint8_t> page = ExtendedPage(0x11, 40, 24, 0x0050);
         a.pages[emu::PageKey{15, 0, 0x11, 0x50}] = emu::ConfigPage{page, page, page};
       },
       "SASExpanderPage", 0},
  };
  for (const Case& c : cases) {
    emu::HostModel host = emu::DefaultHost();
    host.FirstAdapter()->iocCapabilities = 0x00001A5C;
    c.change(*host.FirstAdapter());
    Start(std::move(host));
    SelectedController = 1;
    std::string text = Dump();
    EXPECT_EQ(CountOf(text, c.title), c.written) << c.what;
    EXPECT_TRUE(Has(text, "\nDriverMappingPage0 / 0007\n")) << c.what;  // the dump goes on
  }
}

TEST_F(DumpAdapterTest, AFileThatCannotBeCreated) {
  StartWith(0x00001A5C);
  EXPECT_EQ(DumpAdapter(0, "no-such-folder/dump.txt"), 1u);
  EXPECT_EQ(card().TakeOutput(),
            "\nUlvane Corvexium Management Utility: Error opening a file. Name: no-such-folder/dump.txt.\n");
  for (const FileSlot& slot : FileSlots) EXPECT_EQ(slot.stream, nullptr);
}

}  // namespace
