// The public functions that do more than forward.
#include <cstring>

#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

using Facade = CardTest;

TEST_F(Facade, LibraryVersion) {
  QmxLibVersion version{8, 0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(QmxGetLibVersion(&version), kLibOk);
  EXPECT_EQ(version.major, 16);
  EXPECT_EQ(version.minor, 8);
  EXPECT_EQ(version.build, 6);
  EXPECT_EQ(version.reserved, 0xEE);
  QmxLibVersion small{7, 0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(QmxGetLibVersion(&small), kLibOk);
  EXPECT_EQ(small.size, 7u);
  EXPECT_EQ(small.major, 0xEE);
  EXPECT_EQ(small.minor, 0xEE);
  EXPECT_EQ(small.build, 0xEE);
  EXPECT_EQ(QmxGetLibVersion(nullptr), kLibFailure);
}

TEST_F(Facade, BeforeTheLibraryIsOpen) {
  LibContext* saved = g_libContext;
  g_libContext = nullptr;
  IocStatusInfo status{1, 2, 3, 4};
  EXPECT_EQ(QmxGetLastStatus(&status), kLibOk);
  EXPECT_EQ(status.size, 1u);
  EXPECT_EQ(status.iocLogInfo, 4u);
  uint32_t count = 5;
  LibHandle adapter = 0x01000001;
  EXPECT_EQ(QmxDiscoverAdapters(&count, kCardFlags), kLibFailure);
  EXPECT_EQ(QmxGetDeviceCount(&adapter, &count), kLibFailure);
  uint32_t size = 0;
  EXPECT_EQ(ReadManufacturingPage0(&adapter, nullptr, &size, 0), kLibFailure);
  QmxLibDebugPrint(0xFFFFFFFF, "silent");
  g_libContext = saved;
  EXPECT_TRUE(card().log().empty());
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(Facade, DevHandleToBusTargetFailuresLeaveBothUnknown) {
  LibHandle adapter = StartDefaultCard();
  LibHandle missing = 0x01000077;
  uint16_t devHandle = 9;
  uint32_t bus = 1, target = 2;
  EXPECT_EQ(QmxDevHandleToBusTarget(&missing, &devHandle, &bus, &target), kLibAdapterNotFound);
  EXPECT_EQ(bus, 0xFFFFFFFFu);
  EXPECT_EQ(target, 0xFFFFFFFFu);
  bus = target = 3;
  EXPECT_EQ(QmxDevHandleToBusTarget(&adapter, nullptr, &bus, &target), kLibBadParameter);
  EXPECT_EQ(bus, 0xFFFFFFFFu);
  EXPECT_EQ(target, 0xFFFFFFFFu);
  uint16_t found = 5;
  EXPECT_EQ(QmxBusTargetToDevHandle(&missing, &found, 0, 1), kLibAdapterNotFound);
  EXPECT_EQ(found, 0xFFFF);
  EXPECT_EQ(card().CountCalls(kMapRequest), 0u);
}

TEST_F(Facade, CountsThroughTheFacade) {
  LibHandle adapter = StartDefaultCard();
  uint32_t count = 9;
  EXPECT_EQ(QmxGetDeviceCount(&adapter, &count), kLibOk);
  EXPECT_EQ(count, 0u);
  LibHandle missing = 0x01000077;
  EXPECT_EQ(QmxGetDeviceCount(&missing, &count), kLibAdapterNotFound);
  EXPECT_EQ(QmxGetDeviceCount(nullptr, &count), kLibAdapterNotFound);
  EXPECT_EQ(QmxCountVolumes(&adapter, &count), kLibOk);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(QmxCountHotSpares(&adapter, &count), kLibOk);
  EXPECT_EQ(count, 0u);
  LibHandle volume = 0x10000001;
  EXPECT_EQ(QmxCountMemberDisks(&volume, &count), kLibBadHandle);
}

TEST_F(Facade, RefreshRebuildsTheObjectsOfOneAdapter) {
  LibHandle adapter = StartDefaultCard();
  LibHandle old = AddDevice(adapter, 0x20)->header.handle;
  EXPECT_EQ(QmxRefreshAdapter(&adapter), kLibOk);
  DeviceRecord* found = nullptr;
  EXPECT_EQ(FindDevice(context(), &old, &found, nullptr), kLibBadHandle);
  LibHandle missing = 0x01000077;
  EXPECT_EQ(QmxRefreshAdapter(&missing), kLibAdapterNotFound);
  EXPECT_EQ(FirstAdapterRecord()->header.handle, adapter);
}

TEST_F(Facade, RecordsOfObjectsThatAreNotThere) {
  LibHandle adapter = StartDefaultCard();
  DeviceInfoBlock device{};
  VolumeInfo volume{};
  PhysDiskInfo disk{};
  uint32_t size = sizeof(device);
  EXPECT_EQ(QmxGetDeviceInfo(0, &adapter, nullptr, &device, &size), kLibBadHandle);
  LibHandle v = 0x10000001;
  EXPECT_EQ(QmxGetVolumeInfo(&v, 0, &adapter, 0, &volume, &size), kLibBadHandle);
  EXPECT_EQ(QmxGetVolumeInfo(nullptr, 0, &adapter, 1, &volume, &size), kLibFailure);
  EXPECT_EQ(QmxGetMemberDiskInfo(nullptr, 0, &v, 1, &disk, &size), kLibBadHandle);
  // The index-th hot spare of an adapter that has none.
  EXPECT_EQ(QmxGetHotSpareInfo(nullptr, 0, &adapter, 1, &disk, &size), kLibFailure);
  EXPECT_EQ(card().CountCalls(kCommandRequest), 0u);
}

TEST_F(Facade, DebugPrinterIsSilentUntilItsMaskIsSet) {
  StartDefaultCard();
  QmxLibDebugPrint(0xFFFFFFFF, "nothing %d", 1);
  EXPECT_EQ(card().TakeOutput(), "");
  context()->debugMask = 0x4;
  context()->lastStatus = IocStatusInfo{16, 3, 0x22, 7};
  QmxLibDebugPrint(0x1, "other level");
  EXPECT_EQ(card().TakeOutput(), "");
  QmxLibDebugPrint(0x6, "%s:%d", "read", 42);
  QmxLibDebugPrint(0x4, "again");
  EXPECT_EQ(card().TakeOutput(),
            "Debug Print format is:\n"
            "QMXLIB2: [ IOCStattus, IOCLogInfo ] File name: Function name: Line number: Description\n"
            "QMXLIB2: [ 34,  7]read:42\n"
            "QMXLIB2: [ 34,  7]again\n");
}

}  // namespace
}  // namespace ctltest
