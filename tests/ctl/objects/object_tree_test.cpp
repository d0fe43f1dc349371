// Lookups, appending, removal and counting in the object tree.
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

class ObjectTree : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
  }

  VolumeRecord* AddVolume(uint16_t devHandle) {
    VolumeRecord* volume = nullptr;
    EXPECT_EQ(AddVolumeRecord(context(), &volume, &adapter_), kLibOk);
    AssignObjectHandle(context(), &volume->header, 0x10000001, 0, 0, 0, 0);
    volume->devHandle = devHandle;
    return volume;
  }

  PhysDiskRecord* AddMember(VolumeRecord* volume, uint16_t devHandle) {
    PhysDiskRecord* disk = nullptr;
    EXPECT_EQ(AddMemberDiskRecord(context(), &disk, &volume->header.handle), kLibOk);
    AssignObjectHandle(context(), &disk->header, 0x08000001, 0, 0, 0, 0);
    disk->devHandle = devHandle;
    return disk;
  }

  PhysDiskRecord* AddSpare(uint16_t devHandle) {
    PhysDiskRecord* disk = nullptr;
    EXPECT_EQ(AddHotSpareRecord(context(), &disk, &adapter_), kLibOk);
    AssignObjectHandle(context(), &disk->header, 0x08000001, 0, 0, 0, 0);
    disk->devHandle = devHandle;
    return disk;
  }

  std::vector<LibHandle> DeviceHandles() {
    std::vector<LibHandle> handles;
    for (DeviceRecord* d = FirstAdapterRecord()->devices; d != nullptr; d = d->next) {
      handles.push_back(d->header.handle);
    }
    return handles;
  }

  LibHandle adapter_ = 0;
};

TEST_F(ObjectTree, AdapterLookupAnswers) {
  AdapterRecord* found = reinterpret_cast<AdapterRecord*>(this);
  EXPECT_EQ(FindAdapter(context(), nullptr, &found), kLibAdapterNotFound);
  LibHandle device = 0x02000001;
  EXPECT_EQ(FindAdapter(context(), &device, &found), kLibBadHandle);
  LibHandle missing = 0x01000099;
  found = reinterpret_cast<AdapterRecord*>(this);
  EXPECT_EQ(FindAdapter(context(), &missing, &found), kLibAdapterNotFound);
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(FindAdapter(context(), &adapter_, &found), kLibOk);
  EXPECT_EQ(found, FirstAdapterRecord());
}

TEST_F(ObjectTree, DeviceLookups) {
  DeviceRecord* device = AddDevice(adapter_, 0x21);
  device->bus = 0;
  device->target = 5;
  DeviceRecord* found = nullptr;
  AdapterRecord* owner = nullptr;
  EXPECT_EQ(FindDevice(context(), &adapter_, &found, &owner), kLibBadHandle);
  EXPECT_EQ(FindDevice(context(), nullptr, &found, &owner), kLibBadHandle);
  EXPECT_EQ(FindDevice(context(), &device->header.handle, &found, &owner), kLibOk);
  EXPECT_EQ(found, device);
  EXPECT_EQ(owner, FirstAdapterRecord());

  EXPECT_EQ(FindDeviceByBusTargetLun(context(), &adapter_, &found, 0, 5, 0), kLibOk);
  EXPECT_EQ(found, device);
  EXPECT_EQ(FindDeviceByBusTargetLun(context(), &adapter_, &found, 0, 6, 0), kLibNoDeviceAtAddress);
  EXPECT_EQ(FindDeviceByBusTargetLun(context(), nullptr, &found, 0, 5, 0), kLibBadHandle);
  EXPECT_EQ(FindDeviceByDevHandle(context(), &adapter_, &found, 0x21), kLibOk);
  EXPECT_EQ(found, device);
  EXPECT_EQ(FindDeviceByDevHandle(context(), &adapter_, &found, 0x22), kLibBadHandle);
  LibHandle missing = 0x01000099;
  EXPECT_EQ(FindDeviceByDevHandle(context(), &missing, &found, 0x21), kLibAdapterNotFound);
}

TEST_F(ObjectTree, RemovingDevicesKeepsTheOrderOfTheRest) {
  DeviceRecord* a = AddDevice(adapter_, 1);
  DeviceRecord* b = AddDevice(adapter_, 2);
  DeviceRecord* c = AddDevice(adapter_, 3);
  LibHandle ha = a->header.handle, hb = b->header.handle, hc = c->header.handle;
  b->attachedBuffer = QmxAlloc(context(), 1, 32);  // freed with the record

  EXPECT_EQ(RemoveDeviceRecord(context(), &hb), kLibOk);
  EXPECT_EQ(DeviceHandles(), (std::vector<LibHandle>{ha, hc}));
  EXPECT_EQ(RemoveDeviceRecord(context(), &hb), kLibBadHandle);
  EXPECT_EQ(RemoveDeviceRecord(context(), &ha), kLibOk);
  EXPECT_EQ(RemoveDeviceRecord(context(), &hc), kLibOk);
  EXPECT_TRUE(DeviceHandles().empty());
  EXPECT_EQ(FirstAdapterRecord()->devices, nullptr);
}

TEST_F(ObjectTree, RemovingAVolumeFreesItsMembersButNotTheHotSpares) {
  VolumeRecord* volume = AddVolume(0x40);
  LibHandle m1 = AddMember(volume, 0x41)->header.handle;
  LibHandle m2 = AddMember(volume, 0x42)->header.handle;
  LibHandle spare = AddSpare(0x43)->header.handle;
  LibHandle vh = volume->header.handle;

  PhysDiskRecord* disk = nullptr;
  VolumeRecord* owner = nullptr;
  EXPECT_EQ(FindPhysDisk(context(), &m2, &disk, &owner, nullptr), kLibOk);
  EXPECT_EQ(owner, volume);
  EXPECT_EQ(FindPhysDisk(context(), &spare, &disk, &owner, nullptr), kLibOk);
  EXPECT_EQ(owner, nullptr);
  uint32_t count = 0;
  EXPECT_EQ(CountMemberDisks(context(), &vh, &count), kLibOk);
  EXPECT_EQ(count, 2u);

  EXPECT_EQ(RemoveVolumeRecord(context(), &vh), kLibOk);
  EXPECT_EQ(FindPhysDisk(context(), &m1, &disk, nullptr, nullptr), kLibBadHandle);
  EXPECT_EQ(FindPhysDisk(context(), &m2, &disk, nullptr, nullptr), kLibBadHandle);
  EXPECT_EQ(FindVolume(context(), &vh, nullptr, nullptr), kLibBadHandle);
  EXPECT_EQ(FindPhysDisk(context(), &spare, &disk, nullptr, nullptr), kLibOk);
  EXPECT_EQ(CountHotSpares(context(), &adapter_, &count), kLibOk);
  EXPECT_EQ(count, 1u);
}

TEST_F(ObjectTree, MemberAndHotSpareRemovalRefuseTheOtherKind) {
  VolumeRecord* volume = AddVolume(0x40);
  LibHandle member = AddMember(volume, 0x41)->header.handle;
  LibHandle spare = AddSpare(0x43)->header.handle;
  EXPECT_EQ(RemoveMemberDiskRecord(context(), &spare), kLibBadHandle);
  EXPECT_EQ(RemoveHotSpareRecord(context(), &adapter_, &member), kLibFailure);
  EXPECT_EQ(RemoveHotSpareRecord(context(), nullptr, &spare), kLibBadHandle);
  EXPECT_EQ(RemoveHotSpareRecord(context(), &adapter_, &spare), kLibOk);
  EXPECT_EQ(RemoveHotSpareRecord(context(), &adapter_, &spare), kLibFailure);  // empty list
  EXPECT_EQ(RemoveMemberDiskRecord(context(), &member), kLibOk);
}

TEST_F(ObjectTree, CountsWriteZeroForAnUnknownAdapter) {
  AddDevice(adapter_, 1);
  AddDevice(adapter_, 2);
  uint32_t count = 77;
  EXPECT_EQ(CountDevices(context(), &adapter_, &count), kLibOk);
  EXPECT_EQ(count, 2u);
  LibHandle missing = 0x01000099;
  EXPECT_EQ(CountDevices(context(), &missing, &count), kLibAdapterNotFound);
  EXPECT_EQ(count, 0u);
  count = 77;
  EXPECT_EQ(CountDevices(context(), nullptr, &count), kLibBadHandle);
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(CountVolumes(context(), &missing, &count), kLibAdapterNotFound);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(CountAdapters(context(), &count), kLibOk);
  EXPECT_EQ(count, 1u);
}

TEST_F(ObjectTree, ClearAdapterObjectsEmptiesEveryList) {
  AddDevice(adapter_, 1);
  VolumeRecord* volume = AddVolume(0x40);
  AddMember(volume, 0x41);
  AddSpare(0x43);
  EXPECT_EQ(ClearAdapterObjects(context(), &adapter_), kLibOk);
  EXPECT_EQ(FirstAdapterRecord()->devices, nullptr);
  EXPECT_EQ(FirstAdapterRecord()->volumes, nullptr);
  EXPECT_EQ(FirstAdapterRecord()->hotSpares, nullptr);
  LibHandle missing = 0x01000099;
  EXPECT_EQ(ClearAdapterObjects(context(), &missing), kLibAdapterNotFound);
}

TEST_F(ObjectTree, RemoveAdapterRecord) {
  AddDevice(adapter_, 1);  // released with the adapter
  EXPECT_EQ(RemoveAdapterRecord(context(), 0x01000099), kLibAdapterNotFound);
  EXPECT_EQ(RemoveAdapterRecord(context(), adapter_), kLibOk);
  EXPECT_EQ(context()->adapterCount, 0u);
  EXPECT_EQ(context()->adapterList, nullptr);
  EXPECT_EQ(RemoveAdapterRecord(context(), adapter_), kLibAdapterNotFound);
}

TEST_F(ObjectTree, DiskDevHandleGetter) {
  // A second adapter to own objects of "another adapter".
  AdapterRecord* other = nullptr;
  ASSERT_EQ(AddAdapterRecord(context(), &other), kLibOk);
  AssignObjectHandle(context(), &other->header, 0x01000001, 1, 0, 0, 0);
  LibHandle otherHandle = other->header.handle;

  LibHandle disk = AddDevice(adapter_, 0x31, 0)->header.handle;
  LibHandle enclosure = AddDevice(adapter_, 0x32, 13)->header.handle;
  LibHandle foreignDevice = AddDevice(otherHandle, 0x33, 0)->header.handle;
  VolumeRecord* volume = AddVolume(0x40);
  LibHandle member = AddMember(volume, 0x41)->header.handle;
  LibHandle spare = AddSpare(0x42)->header.handle;
  PhysDiskRecord* foreignSpare = nullptr;
  ASSERT_EQ(AddHotSpareRecord(context(), &foreignSpare, &otherHandle), kLibOk);
  AssignObjectHandle(context(), &foreignSpare->header, 0x08000001, 1, 0, 0, 0);
  foreignSpare->devHandle = 0x44;
  LibHandle foreign = foreignSpare->header.handle;
  LibHandle unknown = 0x08000999;

  struct Case {
    LibHandle object;
    LibStatus status;
    uint16_t devHandle;
  } cases[] = {
      {disk, kLibOk, 0x31},        {enclosure, kLibFailure, 0xBEEF}, {foreignDevice, kLibFailure, 0xBEEF},
      {member, kLibOk, 0x41},      {spare, kLibOk, 0x42},            {foreign, kLibFailure, 0xBEEF},
      {unknown, kLibBadHandle, 0xBEEF},
  };
  for (const Case& c : cases) {
    uint16_t devHandle = 0xBEEF;
    EXPECT_EQ(GetDiskDevHandle(context(), &adapter_, &c.object, &devHandle), c.status) << std::hex << c.object;
    EXPECT_EQ(devHandle, c.devHandle) << std::hex << c.object;
  }

  uint16_t devHandle = 0;
  LibHandle vh = volume->header.handle;
  EXPECT_EQ(GetVolumeDevHandle(context(), &adapter_, &vh, &devHandle), kLibOk);
  EXPECT_EQ(devHandle, 0x40);
  EXPECT_EQ(GetVolumeDevHandle(context(), &otherHandle, &vh, &devHandle), kLibFailure);
  EXPECT_EQ(GetVolumeDevHandle(context(), &adapter_, &unknown, &devHandle), kLibBadHandle);
}

TEST_F(ObjectTree, VolumeDeviceIsTheTargetNamingTheVolume) {
  VolumeRecord* volume = AddVolume(0x40);
  LibHandle vh = volume->header.handle;
  AddDevice(adapter_, 0x10);
  DeviceRecord* target = AddDevice(adapter_, 0x40, 29);
  SetDeviceVolumeHandle(target, vh);
  DeviceRecord* found = nullptr;
  EXPECT_EQ(FindVolumeDevice(context(), &vh, &found), kLibOk);
  EXPECT_EQ(found, target);
  LibHandle missing = 0x10000999;
  EXPECT_EQ(FindVolumeDevice(context(), &missing, &found), kLibBadHandle);
}

}  // namespace
}  // namespace ctltest
