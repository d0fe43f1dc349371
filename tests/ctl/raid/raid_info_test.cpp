// Volume and physical-disk information, and the RAID scan that builds the
// volume, member and hot-spare objects, against the emulated card's RAID state.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/raid/raid_scan.h"
#include "emu/raid/device_rules.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

class RaidInfo : public CardTest {
 protected:
  VolumeInfo Volume(uint32_t index = 0, LibStatus expected = kLibOk) {
    VolumeInfo info{};
    uint32_t size = sizeof(info);
    LibHandle adapter = FirstAdapterRecord()->header.handle;
    EXPECT_EQ(QmxGetVolumeInfo(nullptr, index, &adapter, 1, &info, &size), expected);
    return info;
  }
  std::vector<uint8_t> Bytes(const VolumeInfo& v) { return std::vector<uint8_t>(v.bytes, v.bytes + sizeof(v.bytes)); }
  std::vector<uint8_t> Bytes(const PhysDiskInfo& d) { return std::vector<uint8_t>(d.bytes, d.bytes + sizeof(d.bytes)); }
  LibStatus MemberByIndex(uint32_t index, PhysDiskInfo* info) {
    uint32_t size = sizeof(*info);
    LibHandle volume = FirstAdapterRecord()->volumes->header.handle;
    return QmxGetMemberDiskInfo(nullptr, index, &volume, 1, info, &size);
  }
  size_t RaidScsiTo(uint16_t devHandle) {
    size_t count = 0;
    for (const emu::LoggedCall* call : Commands(0x16)) count += Le16(call->frame, 0) == devHandle;
    return count;
  }
};

TEST_F(RaidInfo, VolumeInformationOfTheDefaultCard) {
  emu::HostModel host = CardFile("default");
  const emu::VolumeModel model = host.FirstAdapter()->raid.volumes.front();
  StartScannedCard(host);
  std::vector<uint8_t> v = Bytes(Volume());
  EXPECT_EQ(Le32(v, 0), FirstAdapterRecord()->volumes->header.handle);
  EXPECT_EQ(Le32(v, 8), 224u);
  EXPECT_EQ(Le16(v, 12), model.devHandle);
  EXPECT_EQ(Le32(v, 16), 1u);  // bus and target of the volume object
  EXPECT_EQ(Le32(v, 20), 0u);
  EXPECT_EQ(GetLe64(v.data(), 32), model.maxLba);
  EXPECT_EQ(Le32(v, 40), model.stripeSize);
  EXPECT_EQ(v[44], 4);
  for (uint32_t m = 0; m < 4; ++m) {
    EXPECT_EQ(Le32(v, 56 + 12 * m), 12u);
    EXPECT_EQ(v[56 + 12 * m + 8], model.members[m].disk);
    EXPECT_EQ(v[56 + 12 * m + 9], model.members[m].map);
  }
  EXPECT_EQ(std::vector<uint8_t>(v.begin() + 176, v.begin() + 200), model.guid);
  EXPECT_EQ(GetLe64(v.data(), 216), model.wwid);
  EXPECT_EQ(Le32(v, 236), 5u);  // optimal
  EXPECT_EQ(Le32(v, 280), 1u);  // enabled
  EXPECT_EQ(Le32(v, 264), 1u);  // not an adjacent mirror
  EXPECT_EQ(Le32(v, 268), 0u);
  // The volume indicator action was asked for the progress.
  EXPECT_GE(card().CountFunction(0x15), 1u);
  EXPECT_EQ(Commands(0x15).back()->frame[0], 1);
}

TEST_F(RaidInfo, RaidTypeAsReported) {
  const std::pair<uint8_t, uint32_t> cases[] = {{0, 0}, {1, 1}, {2, 2}, {5, 5}, {3, 6}, {7, 6}};
  for (const auto& [pageType, reported] : cases) {
    emu::HostModel host = CardFile("default");
    host.FirstAdapter()->raid.volumes.front().type = pageType;
    StartScannedCard(host);
    EXPECT_EQ(Le32(Bytes(Volume()), 24), reported) << int(pageType);
  }
}

TEST_F(RaidInfo, VolumeWithoutPageOneHasNoIdentity) {
  emu::HostModel host = CardFile("default");
  Start(host);
  card().RemovePage(8, 1);
  ASSERT_EQ(Discover(), kLibOk);
  std::vector<uint8_t> v = Bytes(Volume());
  EXPECT_EQ(v[44], 4);
  EXPECT_EQ(std::vector<uint8_t>(v.begin() + 176, v.begin() + 224), std::vector<uint8_t>(48, 0));
  // The volume's target then has no SAS address either.
  EXPECT_EQ(GetLe64(FirstAdapterRecord()->devices->info.bytes, 40), 0u);
}

TEST_F(RaidInfo, OfflineMemberIsAskedOnlyWhenTakenOfflineOnRequest) {
  for (uint8_t reason : {1, 5}) {
    SCOPED_TRACE(int(reason));
    emu::HostModel host = CardFile("degraded");
    emu::AdapterModel& model = *host.FirstAdapter();
    model.raid.FindDisk(model.raid.FindDiskBySlot(6)->number)->offlineReason = reason;
    StartScannedCard(host);
    card().ClearLog();
    PhysDiskInfo disk{};
    ASSERT_EQ(MemberByIndex(2, &disk), kLibOk);
    std::vector<uint8_t> d = Bytes(disk);
    EXPECT_EQ(Le32(d, 572), 2u);
    EXPECT_EQ(Le32(d, 576), reason);
    EXPECT_EQ(Le32(d, 8), 400u);
    EXPECT_EQ(Le16(d, 52), 0x000B);
    EXPECT_EQ(Le32(d, 12), 0u);
    EXPECT_EQ(Le32(d, 16), 6u);
    bool asked = reason == 5;
    EXPECT_EQ(RaidScsiTo(0x000B), asked ? 5u : 0u);
    EXPECT_EQ(Le16(d, 50), asked ? 6 : 0);
    EXPECT_EQ(GetLe64(d.data(), 328), asked ? 250069680ull * 512 : 0u);
  }
}

TEST_F(RaidInfo, MemberByIndexNeedsAMemberObjectWithItsDiskNumber) {
  StartScannedCard(CardFile("default"));
  PhysDiskInfo disk{};
  EXPECT_EQ(MemberByIndex(3, &disk), kLibOk);
  EXPECT_EQ(Le16(Bytes(disk), 412), 0x000C);
  EXPECT_EQ(MemberByIndex(4, &disk), kLibFailure);
  EXPECT_EQ(MemberByIndex(200, &disk), kLibFailure);
  // Disk 2's object gone: its entry names no member.
  PhysDiskRecord* third = FirstAdapterRecord()->volumes->members->next->next;
  LibHandle handle = third->header.handle;
  ASSERT_EQ(RemoveMemberDiskRecord(context(), &handle), kLibOk);
  PhysDiskInfo untouched;
  std::memset(&untouched, 0x5A, sizeof(untouched));
  EXPECT_EQ(MemberByIndex(2, &untouched), kLibFailure);
  EXPECT_EQ(untouched.bytes[0], 0x5A);
  uint32_t size = sizeof(disk);
  EXPECT_EQ(QmxGetMemberDiskInfo(&handle, 0, nullptr, 0, &disk, &size), kLibBadHandle);
}

TEST_F(RaidInfo, MemberBeyondThirtyTwoBitsOfBlocks) {
  emu::HostModel host = CardFile("default");
  emu::AdapterModel& model = *host.FirstAdapter();
  emu::ModuleModel* module = model.FindModule(4);
  module->nativeSectors = module->maxSectors = 0x100000010ull;
  size_t sixteen = 0;
  Start(host);
  ASSERT_EQ(Discover(), kLibOk);
  for (const emu::LoggedCall* call : Commands(0x16)) sixteen += Le16(call->frame, 0) == 0x0009 && call->frame[64] == 0x9E;
  EXPECT_EQ(sixteen, 1u);
  PhysDiskInfo disk{};
  ASSERT_EQ(MemberByIndex(0, &disk), kLibOk);
  std::vector<uint8_t> d = Bytes(disk);
  EXPECT_EQ(GetLe64(d.data(), 312), 0x100000010ull - 1);
  EXPECT_EQ(GetLe64(d.data(), 328), 0x100000010ull * 512);
}

TEST_F(RaidInfo, MemberCountOfAPageIsBoundedByThePageAndTheTable) {
  StartScannedCard(CardFile("default"));
  LibHandle adapter = FirstAdapterRecord()->header.handle;
  uint8_t page[64] = {};
  uint32_t size = sizeof(page);
  uint32_t address = 0x40;
  ASSERT_EQ(ReadRaidVolumePage0(&adapter, page, &size, 1, 1, nullptr, &address), kLibOk);
  ASSERT_EQ(size, 56u);  // four members
  std::vector<uint8_t> claim(page, page + size);
  claim[36] = 200;
  SetPage(8, 0, 0, 0x40, claim);
  std::vector<uint8_t> v = Bytes(Volume());
  EXPECT_EQ(v[44], 200);
  // Only the four entries the page holds are filled.
  EXPECT_EQ(Le32(v, 56 + 12 * 3), 12u);
  EXPECT_EQ(Le32(v, 56 + 12 * 4), 0u);
  // A rescan adds only the members the page holds.
  ASSERT_EQ(QmxRefreshAdapter(&adapter), kLibOk);
  uint32_t members = 0;
  EXPECT_EQ(QmxCountMemberDisks(&FirstAdapterRecord()->volumes->header.handle, &members), kLibOk);
  EXPECT_EQ(members, 4u);
}

TEST_F(RaidInfo, EachVolumePageOfTheWalkIsReadAtItsOwnSize) {
  emu::HostModel host = CardFile("default");
  host.FirstAdapter()->maxVolumes = 2;
  StartScannedCard(host);
  LibHandle adapter = FirstAdapterRecord()->header.handle;
  uint8_t first[64] = {};
  uint32_t size = sizeof(first);
  uint32_t address = 0x40;
  ASSERT_EQ(ReadRaidVolumePage0(&adapter, first, &size, 1, 1, nullptr, &address), kLibOk);
  ASSERT_EQ(size, 56u);
  // A second, inactive volume whose page is larger: eight members.
  std::vector<uint8_t> second(first, first + 40);
  second.resize(72);
  second[1] = 72 / 4;
  PutLe16(&second, 4, 0x003F);
  PutLe32(&second, 8, 0x4);
  second[36] = 8;
  for (uint8_t m = 0; m < 8; ++m) {
    second[40 + 4 * m + 1] = m;
    second[40 + 4 * m + 2] = m % 4;
  }
  SetPage(8, 0, 0, 0x3F, second);
  context()->discoveryFlags = kCardFlags;
  ASSERT_EQ(QmxRefreshAdapter(&adapter), kLibOk);
  // The walk runs in rising DevHandles: the larger page comes first.
  VolumeRecord* larger = FirstAdapterRecord()->volumes;
  ASSERT_NE(larger, nullptr);
  ASSERT_NE(larger->next, nullptr);
  EXPECT_EQ(larger->devHandle, 0x003F);
  EXPECT_EQ(larger->next->devHandle, 0x0040);
  uint32_t members = 0;
  EXPECT_EQ(QmxCountMemberDisks(&larger->header.handle, &members), kLibOk);
  EXPECT_EQ(members, 8u);
}

// Board type 9 with disks 0-3 in the volume, 4 and 5 hot spares of pool 1
// and the modules in slots 6 and 7 bare.
emu::HostModel CardWithHotSpares() {
  emu::HostModel host = CardFile("board-type-9");
  emu::AdapterModel& a = *host.FirstAdapter();
  emu::VolumeModel& volume = a.raid.volumes.front();
  volume.members.resize(4);
  std::vector<emu::PhysDiskModel> disks;
  std::vector<const emu::ModuleModel*> modules;
  for (const emu::PhysDiskModel& d : a.raid.disks) {
    if (d.number < 4) {
      disks.push_back(d);
      modules.push_back(a.FindModule(d.slot));
    } else if (d.number < 6) {
      emu::PhysDiskModel spare = d;
      spare.state = emu::kDiskHotSpare;
      spare.hotSparePool = 1;
      disks.push_back(spare);
    }
  }
  a.raid.disks = disks;
  volume.maxLba = emu::LargestVolumeMaxLba(a, volume.type, modules);
  return host;
}

TEST_F(RaidInfo, HotSparesAreFoundAndGoWithTheLastVolume) {
  StartScannedCard(CardWithHotSpares());
  LibHandle adapter = FirstAdapterRecord()->header.handle;
  uint32_t count = 0;
  EXPECT_EQ(QmxCountHotSpares(&adapter, &count), kLibOk);
  ASSERT_EQ(count, 2u);
  std::vector<uint16_t> spares;
  for (uint32_t i = 0; i < 2; ++i) {
    PhysDiskInfo disk{};
    uint32_t size = sizeof(disk);
    ASSERT_EQ(QmxGetHotSpareInfo(nullptr, i, &adapter, 1, &disk, &size), kLibOk);
    std::vector<uint8_t> d = Bytes(disk);
    spares.push_back(Le16(d, 412));
    EXPECT_EQ(Le32(d, 572), 4u);
    EXPECT_EQ(d[417], 1);
  }
  EXPECT_EQ(spares, (std::vector<uint16_t>{0x000D, 0x000E}));
  PhysDiskInfo untouched;
  std::memset(&untouched, 0x5A, sizeof(untouched));
  uint32_t size = sizeof(untouched);
  EXPECT_EQ(QmxGetHotSpareInfo(nullptr, 2, &adapter, 1, &untouched, &size), kLibFailure);
  EXPECT_EQ(untouched.bytes[0], 0x5A);
  // The devices: the volume's target and the two bare modules.
  uint32_t devices = 0;
  EXPECT_EQ(QmxGetDeviceCount(&adapter, &devices), kLibOk);
  EXPECT_EQ(devices, 3u);

  // Deleting the only volume deletes every hot spare, highest index first.
  card().ClearLog();
  LibHandle volume = FirstAdapterRecord()->volumes->header.handle;
  ASSERT_EQ(QmxDeleteVolume(&volume, 0), kLibOk);
  std::vector<std::pair<int, int>> actions;
  for (const emu::LoggedCall* call : Commands(0x15)) {
    if (call->frame[0] != 1) actions.emplace_back(call->frame[0], call->frame[0] == 30 ? call->frame[6] : -1);
  }
  EXPECT_EQ(actions, (std::vector<std::pair<int, int>>{{3, -1}, {30, 5}, {30, 4}}));
  EXPECT_EQ(QmxCountHotSpares(&adapter, &count), kLibOk);
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(card().model().FirstAdapter()->raid.disks.empty());
}

}  // namespace
}  // namespace ctltest
