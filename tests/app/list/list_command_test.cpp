// -list: its words, the result it gives with -json, the version texts, and
// the adapter and volume sections against the emulated card, their failure
// paths included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/command_operations.h"
#include "app/shell/json_writer.h"
#include "app/list/list_result.h"
#include "app/list/list_sections.h"
#include "app/list/list_texts.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "card_fixture.h"
#include "emu/host/emulator.h"

namespace {

using app_test::Banner;

const std::string kUsage = "Usage :\n    tessvarc <-c controller #> -list [-json]\n";

struct Parsed {
  int result = -1;
  std::string output;
  bool stored = false;
  uint32_t json = 9;
  uint32_t suppress = 9;
};

Parsed Parse(const std::vector<std::string>& words) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  SuppressStatus = 7;
  std::vector<std::string> copy = words;
  std::vector<char*> argv;
  for (std::string& word : copy) argv.push_back(word.data());
  CommandContext context;
  Parsed parsed;
  parsed.result = ListCommandParse(static_cast<int>(argv.size()), argv.empty() ? nullptr : argv.data(), &context);
  parsed.output = card.TakeOutput();
  parsed.stored = context.params.get() != nullptr;
  if (parsed.stored) parsed.json = context.params.As<ListParams>()->json;
  parsed.suppress = SuppressStatus;
  SuppressStatus = 0;
  return parsed;
}

TEST(ListParse, WordsAndTheMenu) {
  struct Case {
    std::vector<std::string> words;
    int result;
    std::string output;
    uint32_t json;
    uint32_t suppress;
  };
  const Case cases[] = {
      {{}, 0, "", 0, 0},  // the menu: text, no banner
      {{"-list"}, 0, Banner(), 0, 0},
      {{"-list", "-json"}, 0, "", 1, 1},
      {{"-list", "-JSON"}, 0, "", 1, 1},
      {{"-list", "-Json"}, 0, "", 1, 1},
      {{"-list", "-json", "extra"}, 2, Banner() + kUsage, 0, 0},
      {{"-list", "-raw"}, 2, Banner() + kUsage, 0, 0},
      {{"-list", "json"}, 2, Banner() + kUsage, 0, 0},
  };
  for (const Case& c : cases) {
    std::string label;
    for (const std::string& word : c.words) label += word + " ";
    SCOPED_TRACE(label);
    Parsed p = Parse(c.words);
    EXPECT_EQ(p.result, c.result);
    EXPECT_EQ(p.output, c.output);
    // The record is stored also on a usage error, for the dispatcher to free.
    EXPECT_TRUE(p.stored);
    EXPECT_EQ(p.json, c.json);
    EXPECT_EQ(p.suppress, c.suppress);
  }
}

TEST(ListJsonResult, CombinesTheSectionCodes) {
  struct Case {
    int adapter, volume, devices;
    bool skipped;
    int result;
  };
  const Case cases[] = {
      {2, 15, 16, false, 28},  // all three failed
      {2, 0, 16, true, 29},    // adapter and devices
      {2, 18, 0, false, 2},    // the adapter before the volume
      {0, 18, 25, false, 25},  // the devices before the volume
      {0, 15, 0, false, 15},
      {0, 18, 0, false, 18},
      {0, 0, 16, true, 16},    // an unconfigured card: no volume for the devices either
      {0, 0, 0, true, 14},     // the volume section did not run
      {0, 0, 0, false, 0},
      {2, 0, 0, true, 2},
      {0, 0, 1, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.adapter) + " " + std::to_string(c.volume) + " " + std::to_string(c.devices));
    EXPECT_EQ(CombineListJsonResult(c.adapter, c.volume, c.devices, c.skipped), c.result);
  }
}

TEST(ListVersionTexts, FormsAndUnknownValues) {
  struct Case {
    ListVersions versions;
    const char* package;
    const char* firmware;
    const char* legacy;
    const char* uefi;
  };
  const Case cases[] = {
      {{true, 0x0E020500, 0x0E000500, true, 0x07250000, true, 0x2103}, "14.02.05.00", "14.00.05.00", "07.37.00.00",
       "01.01.00.03"},
      // The UEFI form takes bits 13-15, 8-12, 4-7 and 0-3 of the revision.
      {{true, 0, 0, true, 0x08120000, true, 0xFFFF}, "00.00.00.00", "00.00.00.00", "08.18.00.00", "07.31.15.15"},
      // No such option-ROM image; the firmware words show whatever they hold,
      // the longest text included.
      {{true, 0xFFFFFFFF, 0xFFFFFFFF, true, 0xFFFFFFFF, true, 0xFFFFFFFF}, "255.255.255.255", "255.255.255.255", "",
       ""},
      {{false, 0x0E020500, 0x0E000500, false, 0x07250000, false, 0x2103}, "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.package);
    ListVersionTexts texts;
    FormatListVersions(c.versions, &texts);
    EXPECT_STREQ(texts.package, c.package);
    EXPECT_STREQ(texts.firmware, c.firmware);
    EXPECT_STREQ(texts.legacyBios, c.legacy);
    EXPECT_STREQ(texts.uefiBsd, c.uefi);
  }
}

// The adapter and volume sections on the emulated card, card 1 selected.
class ListSectionTest : public app_test::CardFixture {
 public:
  void SetUp() override {
    app_test::ResetProgramState();
    SelectedController = 1;
    CardFixture::SetUp();
  }
  void TearDown() override {
    page_ = PageCopy();
    CardFixture::TearDown();
    app_test::ResetProgramState();
  }

  std::string AdapterText() {
    page_ = PageCopy();
    result_ = PrintAdapterInfo(nullptr, &page_);
    return card().TakeOutput();
  }
  // The adapter's keys inside an object of their own.
  std::string AdapterJson() {
    page_ = PageCopy();
    JsonWriter json;
    json.BeginObject();
    result_ = PrintAdapterInfo(&json, &page_);
    json.EndObject();
    EXPECT_TRUE(json.Complete());
    output_ = card().TakeOutput();
    return json.Text();
  }

  // The card's pages made again from its settings, after a test changed them.
  void RemakePages() { model().pages = emu::DefaultPages(model()); }

  // The adapter's labels take 41 columns, the volume's 42.
  static std::string Line(const std::string& label, const std::string& value, size_t width = 41) {
    std::string line = "  " + label;
    line.resize(width, ' ');
    return line + ": " + value + "\n";
  }

  emu::Fault ReadFault(uint8_t number, int action) {
    emu::Fault fault;
    fault.kind = emu::FaultKind::kAnswer;
    fault.function = 0x04;
    fault.iocStatus = 0x0022;
    fault.pageType = 15;
    fault.pageNumber = number;
    fault.extType = 26;
    fault.action = action;
    return fault;
  }

  Page223Buffer page_;
  int result_ = -1;
  std::string output_;
};

TEST_F(ListSectionTest, VersionsComeFromPage223OrFromTheImages) {
  // Page 223 reports other versions than the images, so that the lines
  // tell where they came from.
  const std::string fromImages = Line("Package Version", "14.02.05.00") + Line("Firmware Version", "14.00.05.00") +
                                 Line("Legacy BIOS Version", "08.18.00.00") + Line("UEFI BSD Version", "01.01.00.05");
  struct Case {
    const char* name;
    int fault;  // 0 none, 1 the page read fails after its size query, 2 the page is cut short
    bool page223;
  };
  const Case cases[] = {{"whole page", 0, true}, {"read fails", 1, false}, {"short page", 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    card().ClearFaults();
    if (c.fault == 1) card().ArmFault(ReadFault(223, 1));
    if (c.fault == 2) card().CutPage(15, 223, 26, 52);
    std::string text = AdapterText();
    EXPECT_EQ(result_, 0);
    if (c.page223) {
      EXPECT_GE(page_.size(), 56u);
    } else {
      EXPECT_EQ(page_.size(), 0u);
    }
    // The emulated card's page and images agree: either way the same lines,
    // never the zeros of a page that was not read.
    EXPECT_NE(text.find(fromImages), std::string::npos) << text;
  }
}

TEST_F(ListSectionTest, PsocVersion) {
  struct Case {
    const char* name;
    uint16_t version;
    uint32_t boardFlags;
    uint16_t answer;  // IOCStatus of the SAS IO unit control request
    std::string line;
    std::string json;
  };
  const uint32_t flags = model().boardFlags;
  const Case cases[] = {
      {"version", 0x0307, flags, 0, Line("PSOC Version", "307"), "\"psocVersion\":\"307\""},
      {"hex digits", 0x1A2F, flags, 0, Line("PSOC Version", "1a2f"), "\"psocVersion\":\"1a2f\""},
      {"zero", 0, flags, 0, Line("PSOC Version", "N/A"), "\"psocVersion\":\"0\""},
      {"refused", 0x0307, flags, 0x0001, Line("PSOC Version", "N/A"), "\"psocVersion\":\"0\""},
      {"no psoc", 0x0307, flags | 0x08, 0, "", "\"psocVersion\":\"0\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    card().ClearFaults();
    model().psocVersion = c.version;
    model().boardFlags = c.boardFlags;
    RemakePages();
    if (c.answer != 0) card().AnswerFunction(0x1B, c.answer, 0);
    std::string text = AdapterText();
    EXPECT_EQ(text.find("PSOC") == std::string::npos, c.line.empty());
    if (!c.line.empty()) {
      EXPECT_NE(text.find(c.line), std::string::npos) << text;
    }
    EXPECT_NE(AdapterJson().find(c.json), std::string::npos);
  }
}

TEST_F(ListSectionTest, ShortManufacturingPage0LeavesEveryBoardTextUnknown) {
  // Long enough for the card information's names, not for the listing's.
  card().CutPage(9, 0, 0, 48);
  std::string text = AdapterText();
  EXPECT_EQ(result_, 0);
  EXPECT_NE(text.find(Line("Chip Name", "N/A") + Line("Board Name", "N/A") + Line("Board Assembly Number", "N/A") +
                      Line("Board Tracer Number", "N/A")),
            std::string::npos)
      << text;
  std::string json = AdapterJson();
  EXPECT_NE(json.find("\"chipName\":\"NA\",\"boardName\":\"NA\",\"assemblyNum\":\"NA\",\"tracerNum\":\"NA\""),
            std::string::npos)
      << json;
}

TEST_F(ListSectionTest, UnreadableCardStateEndsTheSectionWithoutJsonKeys) {
  // Manufacturing page 10 too short for its board flags.
  card().CutPage(9, 10, 0, 16);
  std::string text = AdapterText();
  EXPECT_EQ(result_, 1);
  const std::string ending = Line("RAID Support", "N/A");
  ASSERT_GE(text.size(), ending.size());
  EXPECT_EQ(text.substr(text.size() - ending.size()), ending) << text;

  SuppressStatus = 1;  // as with -json: messages to standard error
  std::string json = AdapterJson();
  SuppressStatus = 0;
  EXPECT_EQ(result_, kListJsonCardFailed);
  EXPECT_EQ(json, "{}");
  EXPECT_EQ(output_, "");
  EXPECT_NE(card().TakeErrorOutput().find("Corvexium is not in a proper state."), std::string::npos);
}

TEST_F(ListSectionTest, PciSlotFromTheControllerOrFromSysfs) {
  struct Case {
    const char* name;
    uint8_t ioc;
    uint8_t sysfs;
    bool removed;  // IOC page 1 cannot be read
    std::string line;
    std::string json;
  };
  const Case cases[] = {
      {"controller", 0x1A, 0x05, false, Line("PCI Slot Number", "0x1A"), "\"slotNumber\":\"1A\""},
      {"sysfs", 0xFF, 0x07, false, Line("PCI Slot Number", "0x07"), "\"slotNumber\":\"7\""},
      {"neither", 0xFF, 0xFF, false, Line("PCI Slot Number", "N/A"), "\"slotNumber\":\"NA\""},
      // sysfs is asked only when the controller answered that it does not know.
      {"no page", 0x05, 0x07, true, Line("PCI Slot Number", "N/A"), "\"slotNumber\":\"NA\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    card().ClearFaults();
    model().pciSlot = c.ioc;
    model().sysfsSlot = c.sysfs;
    RemakePages();
    if (c.removed) card().RemovePage(1, 1);
    EXPECT_NE(AdapterText().find(c.line), std::string::npos);
    EXPECT_NE(AdapterJson().find(c.json), std::string::npos);
  }
}

TEST_F(ListSectionTest, NumaFromTheIocCapabilities) {
  const uint32_t capabilities = model().iocCapabilities;
  for (bool numa : {true, false}) {
    SCOPED_TRACE(numa);
    model().iocCapabilities = numa ? capabilities | 0x8000 : capabilities & ~0x8000u;
    std::string text = AdapterText();
    EXPECT_EQ(text.find(Line("NUMA", "Enabled") + Line("RAID Support", "YES")) != std::string::npos, numa) << text;
    EXPECT_NE(AdapterJson().find(numa ? "\"numaEnabled\":true}" : "\"numaEnabled\":false}"), std::string::npos);
  }
}

TEST_F(ListSectionTest, CardInformationFailurePrintsNothing) {
  SelectedController = 2;  // no such card
  EXPECT_EQ(AdapterText(), "");
  EXPECT_NE(result_, 0);
  EXPECT_EQ(AdapterJson(), "{}");
  EXPECT_EQ(result_, kListJsonCardFailed);
  EXPECT_EQ(page_.size(), 0u);
}

TEST_F(ListSectionTest, InactiveVolume) {
  emu::VolumeModel* volume = card().FirstVolume();
  ASSERT_NE(volume, nullptr);
  volume->statusFlags |= 0x4;  // inactive
  EXPECT_EQ(PrintVolumeInfo(nullptr), 0);
  std::string text = card().TakeOutput();
  EXPECT_NE(text.find(Line("Status of Volume", "Inactive, Okay (OKY)", 42) + Line("RAID level", "RAID0", 42) +
                      Line("Size (in MB)", "486368", 42) + Line("Block Size", "512", 42) +
                      Line("Number of Blocks", "996081664", 42) + Line("Capacity (in bytes)", "509993811968", 42) +
                      "  Physical SSDs                     \n  Physical SSD [0] SSD Slot#              : 4"),
            std::string::npos)
      << text;
  JsonWriter json;
  json.BeginObject();
  EXPECT_EQ(PrintVolumeInfo(&json), 0);
  json.EndObject();
  EXPECT_EQ(json.Text(),
            "{\"volume\":{\"volumeID\":\"64\",\"status\":\"Inactive,Okay (OKY)\",\"level\":\"RAID0\","
            "\"sizeMB\":486368,\"blkSize\":\"512\",\"numBlocks\":\"996081664\",\"capacity\":\"509993811968\","
            "\"diskSlot\":[4,5,6,7]}}");
}

TEST_F(ListSectionTest, VolumeSectionWithoutItsCard) {
  SelectedController = 2;  // no such card: no VX handle
  EXPECT_EQ(PrintVolumeInfo(nullptr), 1);
  EXPECT_NE(card().TakeOutput().find("Failed getting controller information."), std::string::npos);
  JsonWriter json;
  json.BeginObject();
  EXPECT_EQ(PrintVolumeInfo(&json), kListJsonCardFailed);
  json.EndObject();
  EXPECT_EQ(json.Text(), "{}");
}

}  // namespace

namespace {

TEST(ListCommand, TextResultIsTheCardStateAndJsonStaysWhole) {
  struct Case {
    const char* name;
    bool cutPage10;  // the card state cannot be read
    bool json;
  };
  const Case cases[] = {
      {"text", false, false},
      {"text, no state", true, false},
      {"json, no state", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    emu::Emulator& card = emu::Install(emu::DefaultHost());
    app_test::ResetProgramState();
    if (c.cutPage10) card.CutPage(9, 10, 0, 16);
    std::vector<std::string> words = {"-c", "1", "-list"};
    if (c.json) words.push_back("-json");
    app_test::ProgramRun run = app_test::RunProgram(words);
    std::string errors = card.TakeErrorOutput();
    if (!c.json) {
      // Whatever the other sections met, only the card state decides.
      EXPECT_EQ(run.status, c.cutPage10 ? 1 : 0);
      const std::string last = c.cutPage10 ? "Error executing command -list.\n" : "Execution completed successfully.\n";
      ASSERT_GE(run.output.size(), last.size());
      EXPECT_EQ(run.output.substr(run.output.size() - last.size()), last);
      continue;
    }
    // The adapter section failed: its code is part of the result, and its
    // messages went to standard error, not into the document.
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.output.rfind("{\"name\":\"list\",\"vxVersion\":\"111.00.01.00\"", 0), 0u) << run.output;
    EXPECT_EQ(run.output.find("proper state"), std::string::npos);
    EXPECT_EQ(run.output.find("\"corvexiumID\""), std::string::npos);
    EXPECT_NE(errors.find("Corvexium is not in a proper state."), std::string::npos);
  }
  app_test::ResetProgramState();
}

}  // namespace
