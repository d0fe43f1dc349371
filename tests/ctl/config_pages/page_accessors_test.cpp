// Each page accessor names its page and builds its page address.
#include <functional>

#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

class PageAccessors : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
    VolumeRecord* volume = nullptr;
    ASSERT_EQ(AddVolumeRecord(context(), &volume, &adapter_), kLibOk);
    AssignObjectHandle(context(), &volume->header, 0x10000001, 0, 0, 0, 0);
    volume->devHandle = 0x0123;
    volume_ = volume->header.handle;
    PhysDiskRecord* disk = nullptr;
    ASSERT_EQ(AddHotSpareRecord(context(), &disk, &adapter_), kLibOk);
    AssignObjectHandle(context(), &disk->header, 0x08000001, 0, 0, 0, 0);
    disk->devHandle = 0x0456;
    disk_ = disk->header.handle;
  }
  LibHandle adapter_ = 0;
  LibHandle volume_ = 0;
  LibHandle disk_ = 0;
};

TEST_F(PageAccessors, PageAndAddressOfEachAccessor) {
  const LibHandle* a = &adapter_;
  uint32_t size = 0;
  uint32_t address = 0x77;
  struct Case {
    const char* name;
    std::function<LibStatus()> read;
    uint8_t type, number, extType;
    uint32_t address;
  } cases[] = {
      {"manufacturing 0", [&] { return ReadManufacturingPage0(a, nullptr, &size, 0); }, 9, 0, 0, 0},
      {"manufacturing 1", [&] { return ReadManufacturingPage1(a, nullptr, &size, 0); }, 9, 1, 0, 0},
      {"manufacturing 2", [&] { return ReadManufacturingPage2(a, nullptr, &size, 0); }, 9, 2, 0, 0},
      {"manufacturing 3", [&] { return ReadManufacturingPage3(a, nullptr, &size, 0); }, 9, 3, 0, 0},
      {"manufacturing 4", [&] { return ReadManufacturingPage4(a, nullptr, &size, 0); }, 9, 4, 0, 0},
      {"manufacturing 5", [&] { return ReadManufacturingPage5(a, nullptr, &size, 0); }, 9, 5, 0, 0},
      {"manufacturing 6", [&] { return ReadManufacturingPage6(a, nullptr, &size, 0); }, 9, 6, 0, 0},
      {"manufacturing 7", [&] { return ReadManufacturingPage7(a, nullptr, &size, 0); }, 9, 7, 0, 0},
      {"manufacturing 10", [&] { return ReadManufacturingPage(a, nullptr, &size, 0, 10); }, 9, 10, 0, 0},
      {"IO unit 0", [&] { return ReadIoUnitPage0(a, nullptr, &size, 0); }, 0, 0, 0, 0},
      {"IO unit 1", [&] { return ReadIoUnitPage1(a, nullptr, &size, 0); }, 0, 1, 0, 0},
      {"IO unit 3", [&] { return ReadIoUnitPage3(a, nullptr, &size, 0); }, 0, 3, 0, 0},
      {"IO unit 7", [&] { return ReadIoUnitPage7(a, nullptr, &size, 0); }, 0, 7, 0, 0},
      {"IOC 0", [&] { return ReadIocPage0(a, nullptr, &size, 0); }, 1, 0, 0, 0},
      {"IOC 1", [&] { return ReadIocPage1(a, nullptr, &size, 0); }, 1, 1, 0, 0},
      {"IOC 6", [&] { return ReadIocPage6(a, nullptr, &size, 0); }, 1, 6, 0, 0},
      {"IOC 7", [&] { return ReadIocPage7(a, nullptr, &size, 0); }, 1, 7, 0, 0},
      {"IOC 8", [&] { return ReadIocPage8(a, nullptr, &size, 0); }, 1, 8, 0, 0},
      {"BIOS 1", [&] { return ReadBiosPage1(a, nullptr, &size, 0); }, 2, 1, 0, 0},
      {"BIOS 2", [&] { return ReadBiosPage2(a, nullptr, &size, 0); }, 2, 2, 0, 0},
      {"BIOS 3", [&] { return ReadBiosPage3(a, nullptr, &size, 0); }, 2, 3, 0, 0},
      {"BIOS 4", [&] { return ReadBiosPage4(a, nullptr, &size, 0); }, 2, 4, 0, 0},
      {"volume 0 by handle", [&] { return ReadRaidVolumePage0(a, nullptr, &size, 0, 1, &volume_, nullptr); }, 8,
       0, 0, 0x10000123},
      {"volume 1 by DevHandle", [&] { return ReadRaidVolumePage1(a, nullptr, &size, 0, 1, nullptr, &address); },
       8, 1, 0, 0x10000077},
      {"volume 0 next", [&] { return ReadRaidVolumePage0(a, nullptr, &size, 0, 0, &volume_, &address); }, 8, 0,
       0, 0x77},
      {"disk 0 by handle", [&] { return ReadPhysDiskPage0(a, nullptr, &size, 0, 1, &disk_, 0, 5); }, 10, 0, 0,
       0x20000456},
      {"disk 1 next", [&] { return ReadPhysDiskPage1(a, nullptr, &size, 0, 0, nullptr, 1, 5); }, 10, 1, 0, 5},
      {"disk 0 by number", [&] { return ReadPhysDiskPage0(a, nullptr, &size, 0, 0, nullptr, 0, 5); }, 10, 0, 0,
       0x10000005},
      {"SAS IO unit 0", [&] { return ReadSasIoUnitPage0(a, nullptr, &size, 0); }, 15, 0, 0x10, 0},
      {"SAS IO unit 1", [&] { return ReadSasIoUnitPage1(a, nullptr, &size, 0); }, 15, 1, 0x10, 0},
      {"SAS IO unit 4", [&] { return ReadSasIoUnitPage4(a, nullptr, &size, 0); }, 15, 4, 0x10, 0},
      {"SAS IO unit 5", [&] { return ReadSasIoUnitPage5(a, nullptr, &size, 0); }, 15, 5, 0x10, 0},
      {"expander 0 next", [&] { return ReadSasExpanderPage0(a, nullptr, &size, 0, 1, 0x0011); }, 15, 0, 0x11,
       0x0011},
      {"expander 0 by handle", [&] { return ReadSasExpanderPage0(a, nullptr, &size, 0, 0, 0x0011); }, 15, 0,
       0x11, 0x20000011},
      {"expander 1 phy", [&] { return ReadSasExpanderPage1(a, nullptr, &size, 0, 3, 0x0011); }, 15, 1, 0x11,
       0x10030011},
      {"device 0 next", [&] { return ReadSasDevicePage0(a, nullptr, &size, 0, 0, 0xFFFF); }, 15, 0, 0x12, 0xFFFF},
      {"device 1 by handle", [&] { return ReadSasDevicePage1(a, nullptr, &size, 0, 2, 0x0009); }, 15, 1, 0x12,
       0x20000009},
      {"phy 0 by number", [&] { return ReadSasPhyPage0(a, nullptr, &size, 0, 0, 0x1234, 4); }, 15, 0, 0x13, 4},
      {"phy 1 by handle", [&] { return ReadSasPhyPage1(a, nullptr, &size, 0, 1, 0x1234, 4); }, 15, 1, 0x13,
       0x10001234},
      {"enclosure next", [&] { return ReadEnclosurePage0(a, nullptr, &size, 0, 1, 0x0002); }, 15, 0, 0x15, 2},
      {"enclosure by handle", [&] { return ReadEnclosurePage0(a, nullptr, &size, 0, 0, 0x0002); }, 15, 0, 0x15,
       0x10000002},
      {"log 0", [&] { return ReadLogPage0(a, nullptr, &size, 0); }, 15, 0, 0x14, 0},
      {"RAID configuration active", [&] { return ReadRaidConfigPage0(a, nullptr, &size, 0x20000000, 0); }, 15, 0,
       0x16, 0x20000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    card().ClearLog();
    c.read();
    auto configs = Commands(0x04);
    ASSERT_GE(configs.size(), 1u);
    const std::vector<uint8_t>& f = configs[0]->frame;
    EXPECT_EQ(f[0], 0);
    EXPECT_EQ(f[23], c.type);
    EXPECT_EQ(f[22], c.number);
    EXPECT_EQ(f[6], c.extType);
    EXPECT_EQ(Le32(f, 24), c.address);
  }
}

TEST_F(PageAccessors, UnknownObjectsSendNothing) {
  uint32_t size = 0;
  LibHandle missingVolume = 0x10000999;
  LibHandle missingDisk = 0x08000999;
  EXPECT_EQ(ReadRaidVolumePage0(&adapter_, nullptr, &size, 0, 1, &missingVolume, nullptr), kLibBadHandle);
  EXPECT_EQ(ReadPhysDiskPage0(&adapter_, nullptr, &size, 0, 1, &missingDisk, 0, 0), kLibBadHandle);
  EXPECT_EQ(ReadRaidVolumePage1(&adapter_, nullptr, &size, 0, 0, nullptr, nullptr), kLibBadParameter);
  EXPECT_EQ(card().CountFunction(0x04), 0u);
}

}  // namespace
}  // namespace ctltest
