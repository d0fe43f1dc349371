// Discovery of whole cards through the facade: the devices, volumes and
// member disks the library finds on each named card file are what the
// emulated card holds; a refresh, and a delete followed by a create, leave
// the tree as it should be.
#include <algorithm>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

constexpr uint64_t kModuleSectors = 250069680;

struct DeviceView {
  LibHandle handle;
  uint16_t devHandle;
  uint32_t bus, target;
  uint16_t slot;
  uint64_t capacity;
  LibHandle volume;
};

struct MemberView {
  LibHandle handle;
  uint16_t devHandle;
  uint16_t slot;
  uint32_t state;
  uint64_t capacity;
};

struct VolumeView {
  LibHandle handle;
  uint16_t devHandle;
  uint32_t raidType, state, memberCount;
  uint64_t maxLba;
  std::vector<LibHandle> entryHandles;  // from the VolumeInfo's member entries
  std::vector<MemberView> members;
};

class CardTree : public CardTest {
 protected:
  LibHandle AdapterHandle() {
    AdapterInfoBlock info{};
    uint32_t size = sizeof(info);
    EXPECT_EQ(QmxGetAdapterInfo(0, nullptr, &info, &size), kLibOk);
    return info.adapterHandle;
  }

  std::vector<DeviceView> Devices(LibHandle adapter) {
    std::vector<DeviceView> devices;
    uint32_t count = 0;
    EXPECT_EQ(QmxGetDeviceCount(&adapter, &count), kLibOk);
    for (uint32_t i = 0; i < count; ++i) {
      DeviceInfoBlock block{};
      uint32_t size = sizeof(block);
      EXPECT_EQ(QmxGetDeviceInfo(i, &adapter, nullptr, &block, &size), kLibOk);
      const uint8_t* b = block.bytes;
      devices.push_back({GetLe32(b, 0), GetLe16(b, 52), GetLe32(b, 12), GetLe32(b, 16), GetLe16(b, 50),
                         GetLe64(b, 328), GetLe32(b, 420)});
    }
    return devices;
  }

  MemberView Member(const PhysDiskInfo& info) {
    const uint8_t* b = info.bytes;
    return {GetLe32(b, 0), GetLe16(b, 412), GetLe16(b, 50), GetLe32(b, 572), GetLe64(b, 328)};
  }

  std::vector<VolumeView> Volumes(LibHandle adapter) {
    std::vector<VolumeView> volumes;
    uint32_t count = 0;
    EXPECT_EQ(QmxCountVolumes(&adapter, &count), kLibOk);
    for (uint32_t i = 0; i < count; ++i) {
      VolumeInfo info{};
      uint32_t size = sizeof(info);
      EXPECT_EQ(QmxGetVolumeInfo(nullptr, i, &adapter, 1, &info, &size), kLibOk);
      const uint8_t* b = info.bytes;
      VolumeView v{GetLe32(b, 0), GetLe16(b, 12), GetLe32(b, 24), GetLe32(b, 236), b[44], GetLe64(b, 32), {}, {}};
      for (uint32_t m = 0; m < v.memberCount && m < 10; ++m) {
        EXPECT_EQ(GetLe32(b, 56 + 12 * m), 12u);
        v.entryHandles.push_back(GetLe32(b, 56 + 12 * m + 4));
        PhysDiskInfo disk{};
        uint32_t diskSize = sizeof(disk);
        EXPECT_EQ(QmxGetMemberDiskInfo(nullptr, m, &v.handle, 1, &disk, &diskSize), kLibOk) << m;
        v.members.push_back(Member(disk));
      }
      volumes.push_back(v);
    }
    return volumes;
  }
};

struct Expected {
  const char* card;
  std::vector<uint16_t> deviceHandles;  // in list order
  std::vector<uint16_t> deviceSlots;
  bool volume;
  uint32_t volumeState;
  std::vector<uint8_t> memberSlots;     // of the members, in page order
};

TEST_F(CardTree, EachNamedCardGivesTheTreeItHolds) {
  const Expected cases[] = {
      {"default", {0x0040}, {0}, true, 5, {4, 5, 6, 7}},
      {"unconfigured", {0x0009, 0x000A, 0x000B, 0x000C}, {4, 5, 6, 7}, false, 0, {}},
      {"board-type-9", {0x0040}, {0}, true, 5, {0, 1, 2, 3, 4, 5, 6, 7}},
      {"degraded", {0x0040}, {0}, true, 4, {4, 5, 6, 7}},
      // The failed volume presents no target.
      {"module-missing", {}, {}, true, 1, {4, 5, 6, 7}},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.card);
    emu::HostModel host = CardFile(e.card);
    const emu::AdapterModel model = *host.FirstAdapter();
    StartScannedCard(host);
    LibHandle adapter = AdapterHandle();

    std::vector<DeviceView> devices = Devices(adapter);
    ASSERT_EQ(devices.size(), e.deviceHandles.size());
    std::vector<VolumeView> volumes = Volumes(adapter);
    ASSERT_EQ(volumes.size(), e.volume ? 1u : 0u);
    for (size_t i = 0; i < devices.size(); ++i) {
      const DeviceView& d = devices[i];
      EXPECT_EQ(d.devHandle, e.deviceHandles[i]);
      EXPECT_EQ(d.slot, e.deviceSlots[i]);
      EXPECT_EQ(HandleKind(d.handle), 0x02u);
      if (e.volume) {
        // The volume's target: its capacity is the volume's, on the volume channel.
        const emu::VolumeModel& v = model.raid.volumes.front();
        EXPECT_EQ(d.capacity, (v.maxLba + 1) * 512);
        EXPECT_EQ(d.volume, volumes[0].handle);
        EXPECT_EQ(d.bus, 1u);
        EXPECT_EQ(d.target, 0u);
      } else {
        EXPECT_EQ(d.capacity, kModuleSectors * 512);
        EXPECT_EQ(d.volume, 0u);
        EXPECT_EQ(d.bus, 0u);
        EXPECT_EQ(d.target, e.deviceSlots[i]);
      }
    }
    if (!e.volume) {
      uint32_t spares = 9;
      EXPECT_EQ(QmxCountHotSpares(&adapter, &spares), kLibOk);
      EXPECT_EQ(spares, 0u);
      continue;
    }
    const VolumeView& v = volumes[0];
    const emu::VolumeModel& mv = model.raid.volumes.front();
    EXPECT_EQ(HandleKind(v.handle), 0x10u);
    EXPECT_EQ(v.devHandle, mv.devHandle);
    EXPECT_EQ(v.raidType, 0u);
    EXPECT_EQ(v.state, e.volumeState);
    EXPECT_EQ(v.maxLba, mv.maxLba);
    ASSERT_EQ(v.memberCount, e.memberSlots.size());
    uint32_t objects = 0;
    EXPECT_EQ(QmxCountMemberDisks(&v.handle, &objects), kLibOk);
    EXPECT_EQ(objects, e.memberSlots.size());
    for (size_t m = 0; m < v.members.size(); ++m) {
      SCOPED_TRACE(m);
      const MemberView& member = v.members[m];
      // The entry names the member object at the same position.
      EXPECT_EQ(v.entryHandles[m], member.handle);
      EXPECT_EQ(HandleKind(member.handle), 0x08u);
      const emu::PhysDiskModel* disk = model.raid.FindDiskBySlot(e.memberSlots[m]);
      ASSERT_NE(disk, nullptr);
      const emu::ModuleModel* module = model.FindModule(e.memberSlots[m]);
      bool present = module != nullptr && module->state != emu::ModuleState::kMissing;
      EXPECT_EQ(member.state, disk->state);
      if (present) {
        EXPECT_EQ(member.devHandle, module->devHandle);
      }
      if (disk->state == emu::kDiskOffline) {
        // Not asked: it has no slot or capacity of its own.
        EXPECT_EQ(member.capacity, 0u);
        continue;
      }
      EXPECT_EQ(member.slot, e.memberSlots[m]);
      EXPECT_EQ(member.capacity, kModuleSectors * 512);
    }
  }
}

TEST_F(CardTree, RefreshGivesNewHandlesAndTheOldOnesAnswer48) {
  StartScannedCard(CardFile("default"));
  LibHandle adapter = AdapterHandle();
  std::vector<DeviceView> devices = Devices(adapter);
  std::vector<VolumeView> volumes = Volumes(adapter);
  ASSERT_EQ(devices.size(), 1u);
  ASSERT_EQ(volumes.size(), 1u);
  EXPECT_EQ(QmxRefreshAdapter(&adapter), kLibOk);

  std::vector<DeviceView> after = Devices(adapter);
  std::vector<VolumeView> volumesAfter = Volumes(adapter);
  ASSERT_EQ(after.size(), 1u);
  ASSERT_EQ(volumesAfter.size(), 1u);
  EXPECT_NE(after[0].handle, devices[0].handle);
  EXPECT_NE(volumesAfter[0].handle, volumes[0].handle);
  EXPECT_EQ(after[0].volume, volumesAfter[0].handle);
  EXPECT_EQ(after[0].devHandle, devices[0].devHandle);

  DeviceInfoBlock block{};
  VolumeInfo volume{};
  PhysDiskInfo disk{};
  uint32_t size = sizeof(block);
  EXPECT_EQ(QmxGetDeviceInfo(0, &adapter, &devices[0].handle, &block, &size), kLibBadHandle);
  size = sizeof(volume);
  EXPECT_EQ(QmxGetVolumeInfo(&volumes[0].handle, 0, &adapter, 0, &volume, &size), kLibBadHandle);
  for (const MemberView& m : volumes[0].members) {
    size = sizeof(disk);
    EXPECT_EQ(QmxGetMemberDiskInfo(&m.handle, 0, nullptr, 0, &disk, &size), kLibBadHandle);
    EXPECT_EQ(std::count_if(volumesAfter[0].members.begin(), volumesAfter[0].members.end(),
                            [&m](const MemberView& n) { return n.handle == m.handle; }),
              0);
  }
  EXPECT_EQ(QmxLocateDevice(&devices[0].handle, 1), kLibBadHandle);
}

TEST_F(CardTree, DeleteThenCreateLeavesTheSameVolume) {
  StartScannedCard(CardFile("default"));
  LibHandle adapter = AdapterHandle();
  const emu::VolumeModel before = card().model().FirstAdapter()->raid.volumes.front();
  std::vector<VolumeView> volumes = Volumes(adapter);
  ASSERT_EQ(volumes.size(), 1u);

  ASSERT_EQ(QmxDeleteVolume(&volumes[0].handle, 0), kLibOk);
  EXPECT_TRUE(card().model().FirstAdapter()->raid.volumes.empty());
  uint32_t count = 9;
  EXPECT_EQ(QmxCountVolumes(&adapter, &count), kLibOk);
  EXPECT_EQ(count, 0u);
  // The modules are seen bare after a refresh.
  ASSERT_EQ(QmxRefreshAdapter(&adapter), kLibOk);
  std::vector<DeviceView> bare = Devices(adapter);
  ASSERT_EQ(bare.size(), 4u);

  CreateVolumeRequest request{};
  request.size = 288;
  request.commit = 1;
  request.volumeType = 0;
  request.memberCount = 4;
  request.lowLevelInit = 1;
  request.defaultSettings = 1;
  request.problems.size = 72;
  for (uint32_t i = 0; i < 4; ++i) {
    request.members[i].entrySize = 12;
    request.members[i].deviceHandle = bare[i].handle;
    request.members[i].memberIndex = static_cast<uint8_t>(i);
  }
  LibHandle created = 0;
  ASSERT_EQ(QmxCreateVolume(&adapter, &created, &request), kLibOk);
  EXPECT_EQ(request.problems.count, 0u);
  EXPECT_EQ(HandleKind(created), 0x10u);
  // The volume object is there at once, with its members.
  uint32_t members = 0;
  EXPECT_EQ(QmxCountMemberDisks(&created, &members), kLibOk);
  EXPECT_EQ(members, 4u);

  ASSERT_EQ(card().model().FirstAdapter()->raid.volumes.size(), 1u);
  const emu::VolumeModel& after = card().model().FirstAdapter()->raid.volumes.front();
  EXPECT_EQ(after.type, before.type);
  EXPECT_EQ(after.maxLba, before.maxLba);
  EXPECT_EQ(after.devHandle, before.devHandle);
  EXPECT_EQ(after.members, before.members);
  EXPECT_EQ(after.state, before.state);

  ASSERT_EQ(QmxRefreshAdapter(&adapter), kLibOk);
  std::vector<VolumeView> again = Volumes(adapter);
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].maxLba, volumes[0].maxLba);
  EXPECT_EQ(again[0].memberCount, 4u);
  std::vector<DeviceView> devices = Devices(adapter);
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].volume, again[0].handle);
}

}  // namespace
}  // namespace ctltest
