// Card and module handles, the volume member table and the disk
// information of an offline member.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "emu/pages/generated_pages.h"
#include "tests/cardlib/cardlib_test_support.h"

namespace {

using cardlib_test::CardFile;
using cardlib_test::OpenCard;
using cardlib_test::OpenedCard;
using cardlib_test::SsdHandle;

class ModuleHandles : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(emu::Current().OpenDescriptors(), 0); }
};

// The DevHandle of the object a handle names, as the controller library keeps it.
uint16_t DevHandleOf(uint32_t vx, uint32_t handle) {
  if (HandleKind(handle) == kKindPhysDisk) {
    PhysDiskInfo disk{};
    uint32_t size = sizeof(disk);
    EXPECT_EQ(QmxGetMemberDiskInfo(&handle, 0, nullptr, 0, &disk, &size), 0u);
    return GetLe16(disk.bytes, phys_disk_info::kSummaryDevHandle);
  }
  DeviceInfoBlock device{};
  uint32_t size = sizeof(device);
  EXPECT_EQ(QmxGetDeviceInfo(0, &vx, &handle, &device, &size), 0u);
  return GetLe16(device.bytes, device_info::kDevHandle);
}

TEST_F(ModuleHandles, VxHandleIsTheAdaptersHandle) {
  OpenedCard c = OpenCard(emu::DefaultHost());
  EXPECT_EQ(c.vx, 0x01000001u);
  uint32_t vx = 7;
  EXPECT_EQ(LibZKGetVXHandle(1, &vx), 1u);
  EXPECT_EQ(vx, 7u);
}

TEST_F(ModuleHandles, VolumeMemberFoundAsDiskThenAsDeviceOnceTheVolumeIsGone) {
  OpenedCard c = OpenCard(CardFile("default"));
  for (uint32_t slot = 4; slot <= 7; ++slot) {
    SCOPED_TRACE(slot);
    uint32_t ssd = 0;
    ASSERT_EQ(LibZKGetSSDHandle(c.vx, slot, &ssd), 0u);
    EXPECT_EQ(HandleKind(ssd), kKindPhysDisk);
    EXPECT_EQ(DevHandleOf(c.vx, ssd), c.card->Module(static_cast<uint8_t>(slot))->devHandle);
  }

  VolumeInfo volume{};
  uint32_t size = sizeof(volume);
  ASSERT_EQ(QmxGetVolumeInfo(nullptr, 0, &c.vx, 1, &volume, &size), 0u);
  LibHandle volumeHandle = GetLe32(volume.bytes, volume_info::kHandle);
  ASSERT_EQ(QmxDeleteVolume(&volumeHandle, 0), 0u);
  ASSERT_EQ(QmxRefreshAdapter(&c.vx), 0u);
  for (uint32_t slot = 4; slot <= 7; ++slot) {
    SCOPED_TRACE(slot);
    uint32_t ssd = 0;
    ASSERT_EQ(LibZKGetSSDHandle(c.vx, slot, &ssd), 0u);
    EXPECT_EQ(HandleKind(ssd), kKindDevice);
    EXPECT_EQ(DevHandleOf(c.vx, ssd), c.card->Module(static_cast<uint8_t>(slot))->devHandle);
  }
}

TEST_F(ModuleHandles, SlotsWithoutAUsableModule) {
  // No module at all (the volume's own target, whatever its slot field
  // says, is no module); a member that is not optimal; a card without a
  // volume, where the search of the members fails on the volume count.
  struct Case {
    const char* card;
    uint32_t slot;
  };
  const Case cases[] = {
      {"default", 0}, {"default", 3}, {"default", 8}, {"degraded", 6}, {"module-missing", 6}, {"unconfigured", 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.card) + " slot " + std::to_string(k.slot));
    OpenedCard c = OpenCard(CardFile(k.card));
    uint32_t ssd = 0x12345678;
    EXPECT_EQ(LibZKGetSSDHandle(c.vx, k.slot, &ssd), 1u);
    EXPECT_EQ(ssd, kNoModuleHandle);
    // None there, not a lookup that failed.
    EXPECT_EQ(LibZKFindSSDHandle(c.vx, k.slot, &ssd), kModuleNotThere);
  }
}

TEST_F(ModuleHandles, AFailedReadIsNotAnEmptySlot) {
  // The member's SAS device page (its slot) or its disk page cannot be
  // read: the lookup says it failed, so that a command writing to every
  // module does not pass over one that is there.
  struct Case {
    const char* name;
    int pageType;
    int extType;
  };
  const Case cases[] = {{"SAS device page", 0x0F, 0x12}, {"RAID physical disk page", 0x0A, -1}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    OpenedCard c = OpenCard(CardFile("default"));
    emu::Fault fault;
    fault.kind = emu::FaultKind::kAnswer;
    fault.function = 0x04;
    fault.pageType = k.pageType;
    fault.extType = k.extType;
    fault.iocStatus = 0x0022;
    fault.times = -1;
    c.card->ArmFault(fault);
    uint32_t ssd = 0x12345678;
    EXPECT_EQ(LibZKFindSSDHandle(c.vx, 4, &ssd), kModuleLookupFailed);
    EXPECT_EQ(ssd, kNoModuleHandle);
    EXPECT_EQ(LibZKGetSSDHandle(c.vx, 4, &ssd), 1u);
    c.card->ClearFaults();
    EXPECT_EQ(LibZKFindSSDHandle(c.vx, 4, &ssd), kModuleFound);
  }
}

TEST_F(ModuleHandles, EveryModuleOfTheCards) {
  struct Case {
    const char* card;
    uint32_t firstSlot;
    uint32_t kind;
  };
  const Case cases[] = {{"board-type-9", 0, kKindPhysDisk}, {"unconfigured", 4, kKindDevice}, {"degraded", 4, kKindPhysDisk}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.card);
    OpenedCard c = OpenCard(CardFile(k.card));
    for (uint32_t slot = k.firstSlot; slot < kCardModuleSlots; ++slot) {
      if (std::string(k.card) == "degraded" && slot == 6) continue;
      SCOPED_TRACE(slot);
      uint32_t ssd = SsdHandle(c.vx, slot);
      ASSERT_NE(ssd, kNoModuleHandle);
      EXPECT_EQ(HandleKind(ssd), k.kind);
      EXPECT_EQ(DevHandleOf(c.vx, ssd), c.card->Module(static_cast<uint8_t>(slot))->devHandle);
    }
  }
}

TEST_F(ModuleHandles, FailedReadsGiveNoHandle) {
  OpenedCard c = OpenCard(CardFile("default"));
  uint32_t ssd = 0;
  EXPECT_EQ(LibZKGetSSDHandle(0x01000077, 4, &ssd), 1u);
  EXPECT_EQ(ssd, kNoModuleHandle);
  EXPECT_EQ(LibZKGetSSDHandle(c.vx, 4, nullptr), 1u);
}

TEST_F(ModuleHandles, OfflineMemberTakesItsSlotFromDiskPage1) {
  OpenedCard c = OpenCard(CardFile("degraded"));
  VolumeInfo volume{};
  uint32_t size = sizeof(volume);
  ASSERT_EQ(QmxGetVolumeInfo(nullptr, 0, &c.vx, 1, &volume, &size), 0u);
  LibHandle volumeHandle = GetLe32(volume.bytes, volume_info::kHandle);
  ASSERT_EQ(Get8(volume.bytes, volume_info::kMemberCount), 4u);

  std::vector<uint32_t> slots;
  uint32_t offline = 0;
  for (uint32_t member = 0; member < 4; ++member) {
    PhysDiskInfo disk;
    std::memset(&disk, 0xEE, sizeof(disk));
    size = sizeof(disk);
    ASSERT_EQ(GetModuleDiskInfo(&c.vx, nullptr, member, &volumeHandle, 1, &disk, &size), 0u);
    slots.push_back(GetLe16(disk.bytes, phys_disk_info::kSlot));
    if (GetLe32(disk.bytes, phys_disk_info::kDiskState) == kDiskStateOffline) ++offline;
  }
  EXPECT_EQ(offline, 1u);
  EXPECT_EQ(slots, (std::vector<uint32_t>{4, 5, 6, 7}));

  // A short copy is a copy of the record's start.
  PhysDiskInfo part;
  std::memset(&part, 0xEE, sizeof(part));
  size = 8;
  ASSERT_EQ(GetModuleDiskInfo(&c.vx, nullptr, 2, &volumeHandle, 1, &part, &size), 0u);
  EXPECT_EQ(HandleKind(GetLe32(part.bytes, 0)), kKindPhysDisk);
  EXPECT_EQ(part.bytes[8], 0xEE);
}

TEST_F(ModuleHandles, OfflineMemberWithAPage1TooShortForTheSlotFails) {
  OpenedCard c = OpenCard(CardFile("degraded"));
  VolumeMemberTable table;
  std::memset(&table, 0xEE, sizeof(table));
  c.card->CutPage(10, 1, 0, 32);
  // The other members still fill their entries; the table as a whole fails
  // although its last member reads well.
  EXPECT_EQ(GetVolumeMemberTable(c.vx, 0, &table), 1u);
  EXPECT_EQ(table.memberSlot[0], 4u);
  EXPECT_EQ(table.memberSlot[1], 5u);
  EXPECT_EQ(table.memberSlot[2], 0xEEEEEEEEu);
  EXPECT_EQ(table.memberHandle[2], 0xEEEEEEEEu);
  EXPECT_EQ(table.memberSlot[3], 7u);
}

TEST_F(ModuleHandles, VolumeMemberTableOfTheCards) {
  struct Case {
    const char* card;
    std::vector<uint32_t> slots;
  };
  const Case cases[] = {{"default", {4, 5, 6, 7}}, {"board-type-9", {0, 1, 2, 3, 4, 5, 6, 7}}, {"degraded", {4, 5, 6, 7}}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.card);
    OpenedCard c = OpenCard(CardFile(k.card));
    VolumeMemberTable table;
    std::memset(&table, 0xEE, sizeof(table));
    ASSERT_EQ(GetVolumeMemberTable(c.vx, 0, &table), 0u);
    ASSERT_EQ(Get8(table.volume.bytes, volume_info::kMemberCount), k.slots.size());
    for (size_t i = 0; i < k.slots.size(); ++i) {
      EXPECT_EQ(table.memberSlot[i], k.slots[i]);
      EXPECT_EQ(HandleKind(table.memberHandle[i]), kKindPhysDisk);
    }
  }
  OpenedCard c = OpenCard(CardFile("unconfigured"));
  VolumeMemberTable table{};
  EXPECT_EQ(GetVolumeMemberTable(c.vx, 0, &table), 1u);
  EXPECT_EQ(GetVolumeMemberTable(c.vx, 0, nullptr), 1u);
}

TEST_F(ModuleHandles, VolumeClaimingMoreMembersThanSlotsStaysInTheTable) {
  OpenedCard c = OpenCard(CardFile("board-type-9"));
  emu::VolumeModel* volume = c.card->FirstVolume();
  ASSERT_NE(volume, nullptr);
  // RAID volume page 0 as generated, with a ninth member announced.
  emu::PageKey key{8, 0, 0, volume->devHandle};
  emu::PageSet pages;
  emu::GenerateRaidVolumePages(*c.card->model().FirstAdapter(), 0, &pages);
  ASSERT_EQ(pages.count(volume->devHandle), 1u);
  std::vector<uint8_t> page = pages[volume->devHandle];
  // The ninth entry (from byte 72) names the first member's disk again, so
  // that reading it succeeds.
  if (page.size() < 76) page.resize(76, 0);
  page[1] = static_cast<uint8_t>(page.size() / 4);  // the header's length in words
  std::copy(page.begin() + 40, page.begin() + 44, page.begin() + 72);
  page[36] = 9;
  c.card->model().FirstAdapter()->SetPage(key, page);

  // The table sits inside a larger record whose tail must stay as it was.
  struct Guarded {
    VolumeMemberTable table;
    uint8_t tail[64];
  } guarded;
  std::memset(&guarded, 0xEE, sizeof(guarded));
  EXPECT_EQ(GetVolumeMemberTable(c.vx, 0, &guarded.table), 1u);
  EXPECT_EQ(Get8(guarded.table.volume.bytes, volume_info::kMemberCount), 9u);
  for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(guarded.table.memberSlot[i], i);
  EXPECT_EQ(std::vector<uint8_t>(guarded.tail, guarded.tail + 64), std::vector<uint8_t>(64, 0xEE));
}

TEST_F(ModuleHandles, DeviceRecordByIndex) {
  OpenedCard c = OpenCard(CardFile("unconfigured"));
  DeviceInfoBlock record;
  std::memset(&record, 0xEE, sizeof(record));
  ASSERT_EQ(GetDeviceRecordByIndex(0, 0, &record), 0u);
  EXPECT_EQ(HandleKind(GetLe32(record.bytes, device_info::kHandle)), kKindDevice);
  EXPECT_EQ(GetLe16(record.bytes, device_info::kDevHandle), c.card->Module(4)->devHandle);
  DeviceInfoBlock untouched;
  std::memset(&untouched, 0xEE, sizeof(untouched));
  EXPECT_EQ(GetDeviceRecordByIndex(0, 99, &untouched), 1u);
  EXPECT_EQ(untouched.bytes[0], 0xEE);
  EXPECT_EQ(GetDeviceRecordByIndex(1, 0, &untouched), 1u);
}

}  // namespace
