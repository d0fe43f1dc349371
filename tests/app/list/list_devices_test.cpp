// The device section of -list: the module order, the state texts, the
// configuration identifier and its description, the over-provisioning
// figure, and the section against the emulated card.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/shell/json_writer.h"
#include "app/list/list_device_texts.h"
#include "app/list/list_sections.h"
#include "app/shell/program_state.h"
#include "app/card/config_code.h"
#include "card_fixture.h"
#include "ctl/base/byte_order.h"
#include "ctl/devices/device_info.h"
#include "ctl/raid/raid_records.h"
#include "emu/card_file/named_cards.h"

namespace {

TEST(ListDevices, ModulesAreOrderedByEnclosureThenSlotUnsigned) {
  struct Module {
    uint8_t kind;
    uint16_t enclosure, slot;
  };
  const Module modules[] = {{kListHotSpare, 2, 1},      {kListPlainDevice, 1, 7}, {kListVolumeMember, 1, 0},
                            {kListVolumeMember, 0xFFFF, 0}, {kListPlainDevice, 1, 0x8000}, {kListVolumeMember, 0, 6}};
  std::vector<std::vector<uint8_t>> records;
  std::vector<DeviceListEntry> entries;
  for (const Module& m : modules) {
    records.emplace_back(kPhysDiskInfoSize, 0);
    PutLe16(records.back().data(), device_info::kEnclosureHandle, m.enclosure);
    PutLe16(records.back().data(), device_info::kSlot, m.slot);
  }
  for (size_t i = 0; i < records.size(); ++i) entries.push_back({modules[i].kind, records[i].data()});
  std::sort(entries.begin(), entries.end(),
            [](const DeviceListEntry& a, const DeviceListEntry& b) { return CompareDeviceSlot(a, b) < 0; });
  std::vector<std::pair<int, int>> order;
  for (const DeviceListEntry& e : entries) {
    order.emplace_back(GetLe16(EntryDevicePart(e), device_part::kEnclosureHandle),
                       GetLe16(EntryDevicePart(e), device_part::kSlot));
  }
  const std::vector<std::pair<int, int>> expected = {{0, 6}, {1, 0}, {1, 7}, {1, 0x8000}, {2, 1}, {0xFFFF, 0}};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(CompareDeviceSlot(entries[0], entries[0]), 0);
}

TEST(ListDevices, StateTexts) {
  struct Case {
    uint8_t kind, peripheral;
    uint32_t blockLength, diskState, offlineReason;
    const char* text;
  };
  const Case cases[] = {
      {kListPlainDevice, 0, 512, 0, 0, "Ready (RDY)"},
      {kListPlainDevice, 0, 4096, 0, 0, "Available (AVL)"},
      {kListPlainDevice, 0x0D, 512, 0, 0, "Standby (SBY)"},
      {kListHotSpare, 0, 512, 7, 0, "Hot Spare (HSP)"},
      {kListVolumeMember, 0, 512, 3, 0, "Online (ONL)"},
      {kListVolumeMember, 0, 512, 2, 1, "Missing (MIS)"},
      {kListVolumeMember, 0, 512, 2, 3, "Failed (FLD)"},
      {kListVolumeMember, 0, 512, 2, 4, "Out of Sync (OSY)"},
      {kListVolumeMember, 0, 512, 2, 5, "Offline Requested (OFLR)"},
      {kListVolumeMember, 0, 512, 2, 6, "Failed Requested (FLDR)"},
      {kListVolumeMember, 0, 512, 2, 2, "Offline Unknown (OFLU)"},
      {kListVolumeMember, 0, 512, 1, 0, "Not Compatible (NCOMP)"},
      {kListVolumeMember, 0, 512, 4, 0, ""},
      {kListVolumeMember, 0, 512, 5, 0, "Degraded (DGD)"},
      {kListVolumeMember, 0, 512, 6, 0, "Rebuilding (RBLD)"},
      {kListVolumeMember, 0, 512, 7, 0, "Optimal (OPT)"},
      {kListVolumeMember, 0, 512, 0, 0, "Unknown"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(DeviceStateText(c.kind, c.peripheral, c.blockLength, c.diskState, c.offlineReason), c.text)
        << int(c.kind) << " " << c.diskState << " " << c.offlineReason;
  }
}

TEST(ListDevices, PackedIdentifiersAndTheirDescriptions) {
  struct Case {
    uint32_t packed;
    const char* code;  // four characters in memory order
    char type;
    const char* description;
  };
  const Case cases[] = {
      {0x42519, "9152", '4', nullptr},
      {0x9152, "2519", '0', "MODF - 8K Optimized"},
      {0x49152, "2519", '4', "MODC - 8K Optimized"},
      {0x11951, "1591", '1', nullptr},
      {0x41951, "1591", '4', "MODB - 4K Optimized "},
      {0x96152, "2516", '9', "MODG - 8K Optimized"},
      {0xA, ":\0\0\0", '0', nullptr},  // a digit above 9 gives the character after '9'
  };
  for (const Case& c : cases) {
    uint32_t words[2] = {7, 7};
    EXPECT_EQ(BcdToDigits(words, c.packed), 0u);
    uint32_t code = 0;
    for (int i = 0; i < 4 && c.code[i] != '\0'; ++i) {
      code |= static_cast<uint32_t>(static_cast<uint8_t>(c.code[i])) << (8 * i);
    }
    EXPECT_EQ(words[0], code) << std::hex << c.packed;
    EXPECT_EQ(words[1], static_cast<uint32_t>(c.type)) << std::hex << c.packed;
    const char* d = ModuleDescription(words[1], words[0]);
    if (c.description == nullptr) {
      EXPECT_EQ(d, nullptr) << std::hex << c.packed;
    } else {
      EXPECT_STREQ(d, c.description);
    }
  }
  // The type and the code must both match.
  EXPECT_EQ(ModuleDescription('2', ConfigCodeWord("2519")), nullptr);
  EXPECT_STREQ(ModuleDescription('6', ConfigCodeWord("2525")), "MODI - 8K Optimized");
}

TEST(ListDevices, OverProvisioningPercentAndItsRounding) {
  struct Rounding {
    float percent;
    int shown;
  };
  const Rounding roundings[] = {{27.004f, 27}, {27.02f, 28}, {0.0f, 0}, {0.005f, 0}, {0.02f, 1}, {60.0f, 60}};
  for (const Rounding& r : roundings) EXPECT_EQ(RoundOverProvisioning(r.percent), r.shown) << r.percent;

  float percent = -1;
  // 128 GB of flash offering 100,000,000,000 bytes: 28 %.
  ASSERT_TRUE(OverProvisioningPercent(128, 100000000000ull, &percent));
  EXPECT_EQ(RoundOverProvisioning(percent), 28);
  // A user capacity above the flash: negative, which the listing shows as DLC.
  ASSERT_TRUE(OverProvisioningPercent(128, 128035676160ull, &percent));
  EXPECT_LT(percent, 0.0f);
  // A capacity beyond 32 bits of sectors is taken whole.
  ASSERT_TRUE(OverProvisioningPercent(4096, 2199023255552ull, &percent));
  EXPECT_EQ(RoundOverProvisioning(percent), 87);
  // No user capacity, no figure.
  percent = 5;
  EXPECT_FALSE(OverProvisioningPercent(128, 0, &percent));
  EXPECT_EQ(percent, 5.0f);
}

class DeviceSection : public app_test::CardFixture {
 protected:
  void StartCard(const std::string& name) {
    emu::HostModel host;
    ASSERT_TRUE(emu::BuildNamedCard(name, &host));
    Start(std::move(host));
    SelectedController = 1;
  }
  // The section as JSON, inside a document of its own.
  std::string Json(int* code) {
    JsonWriter json;
    json.BeginObject();
    ListParams params{1, 0, 0};
    Page223Buffer none;
    *code = PrintPhysicalDevices(params, &json, none);
    json.EndObject();
    EXPECT_TRUE(json.Complete());
    return json.Text();
  }
};

TEST_F(DeviceSection, EveryModuleKeepsEveryKeyOnce) {
  StartCard("module-missing");
  int code = 0;
  std::string text = Json(&code);
  EXPECT_EQ(card().TakeOutput(), "");  // nothing printed beside the document
  EXPECT_EQ(code, 25);                 // the missing module has no IDENTIFY data
  const char* keys[] = {"slot", "cage", "location", "state", "sizeMB", "blkSize", "numBlocks", "capacityB",
                        "mfgID", "model", "serialNum", "fwRev", "linkRate", "lockStatus", "uniqueID",
                        "description", "DLCEnabled"};
  size_t objects = 0;
  for (size_t at = text.find("{\"slot\""); at != std::string::npos; at = text.find("{\"slot\"", at + 1)) {
    std::string object = text.substr(at, text.find('}', at) - at + 1);
    ++objects;
    for (const char* key : keys) {
      std::string quoted = std::string("\"") + key + "\":";
      size_t first = object.find(quoted);
      EXPECT_NE(first, std::string::npos) << key << " in " << object;
      EXPECT_EQ(object.find(quoted, first + 1), std::string::npos) << key << " twice in " << object;
    }
  }
  EXPECT_EQ(objects, 4u);
  EXPECT_NE(text.find("\"slot\":6,\"cage\":2,\"location\":\"Upper\",\"state\":\"Missing (MIS)\",\"sizeMB\":\"0\""),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\"model\":0,\"serialNum\":\"NA\",\"fwRev\":\"NA\",\"linkRate\":0.0,\"lockStatus\":"),
            std::string::npos)
      << text;
}

TEST_F(DeviceSection, AnUnconfiguredCardListsItsModulesWithTheNoVolumeCode) {
  StartCard("unconfigured");
  int code = 0;
  std::string text = Json(&code);
  EXPECT_EQ(code, 16);
  EXPECT_EQ(std::count(text.begin(), text.end(), '{'), 5);
  EXPECT_NE(text.find("\"state\":\"Ready (RDY)\""), std::string::npos);
}

TEST_F(DeviceSection, NoDeviceCountNoList) {
  StartCard("default");
  SelectedController = 2;  // no such card
  int code = 0;
  std::string text = Json(&code);
  EXPECT_EQ(code, 16);
  EXPECT_EQ(text, "{}");
  ListParams params{};
  Page223Buffer none;
  EXPECT_EQ(PrintPhysicalDevices(params, nullptr, none), 1);
  std::string out = card().TakeOutput();
  EXPECT_EQ(out.find("Device is a Solid State Drive"), std::string::npos);
}

}  // namespace
