// The device scan and the identification of each device: which targets
// become device records, what their blocks hold, and what a request for a
// device's information copies.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/devices/device_scan.h"
#include "tests/ctl/devices/scsi_target_fake.h"

namespace ctltest {
namespace {

std::vector<uint8_t> Block(const DeviceRecord* device) {
  return std::vector<uint8_t>(device->info.bytes, device->info.bytes + sizeof(device->info.bytes));
}

std::vector<uint16_t> DeviceHandles(const AdapterRecord* adapter) {
  std::vector<uint16_t> handles;
  for (const DeviceRecord* d = adapter->devices; d != nullptr; d = d->next) handles.push_back(DeviceDevHandle(d));
  return handles;
}

class DeviceScan : public CardTest {};

TEST_F(DeviceScan, TargetsThatAreNoDeviceOfTheHostAreLeftOut) {
  // Four bare modules, DevHandles 0x0009-0x000C in slots 4-7.
  emu::HostModel host = CardFile("unconfigured");
  emu::AdapterModel& model = *host.FirstAdapter();
  model.FindModule(6)->accessStatus = 7;         // blocked
  model.FindModule(7)->deviceInfo = 0x00000001;  // an end device without a target protocol
  // A RAID disk whose own DevHandle is another's, with the module in slot 5
  // as its second path: a member seen only through its page 1.
  std::vector<uint8_t> disk = MakePage(10, 0, 120);
  PutLe16(&disk, 4, 0x0055);
  disk[7] = 9;
  disk[80] = 7;
  model.SetPage(emu::PageKey{10, 0, 0, 9}, disk);
  std::vector<uint8_t> paths = MakePage(10, 1, 60, 0);
  for (size_t i = 4; i < paths.size(); ++i) paths[i] = 0;
  paths[4] = 2;
  PutLe16(&paths, 12, 0x0055);
  PutLe16(&paths, 36, 0x000A);
  model.SetPage(emu::PageKey{10, 1, 0, 9}, paths);
  StartScannedCard(host);

  EXPECT_EQ(DeviceHandles(FirstAdapterRecord()), (std::vector<uint16_t>{0x0009}));
}

TEST_F(DeviceScan, CardWithoutAVolumeAnswersNoConfigurationPage) {
  Start(CardFile("unconfigured"));
  ASSERT_EQ(Discover(kCardFlags | kDiscoverSkipDeviceScan | kDiscoverSkipRaidScan), kLibOk);
  card().ClearLog();
  LibHandle adapter = FirstAdapterRecord()->header.handle;
  EXPECT_EQ(ScanSasDevices(context(), &adapter), kLibOk);
  EXPECT_EQ(DeviceHandles(FirstAdapterRecord()), (std::vector<uint16_t>{0x0009, 0x000A, 0x000B, 0x000C}));
  const emu::LoggedCall& last = card().log().back();
  ASSERT_EQ(last.function, 0x04);
  EXPECT_EQ(last.frame[6], 0x16);          // RAID configuration page 0 ...
  EXPECT_EQ(last.iocStatus, 0x0022);       // ... is not there
}

TEST_F(DeviceScan, ElementCountOfTheConfigurationIsBoundedByThePage) {
  Start(CardFile("default"));
  ASSERT_EQ(Discover(kCardFlags | kDiscoverSkipDeviceScan | kDiscoverSkipRaidScan), kLibOk);
  LibHandle adapter = FirstAdapterRecord()->header.handle;
  uint8_t page[256] = {};
  uint32_t size = sizeof(page);
  ASSERT_EQ(ReadRaidConfigPage0(&adapter, page, &size, 0x20000000, 1), kLibOk);
  ASSERT_GE(size, 56u);
  std::vector<uint8_t> claim(page, page + size);
  claim[44] = 200;  // far more elements than the page holds
  SetPage(15, 0, 0x16, 0, claim);  // the first configuration: the active one
  EXPECT_EQ(ScanSasDevices(context(), &adapter), kLibOk);
  // The volume's target once, whatever the count says.
  uint32_t volumeTargets = 0;
  for (const DeviceRecord* d = FirstAdapterRecord()->devices; d != nullptr; d = d->next) {
    volumeTargets += DeviceDevHandle(d) == 0x0040;
  }
  EXPECT_EQ(volumeTargets, 1u);
}

// The walks take only what lies within the controller's own limits (IOC
// FACTS MaxDevHandle 0x40, MaxVolumes): a handle beyond them ends the walk
// with what came before.
TEST_F(DeviceScan, TheWalksStayWithinTheControllersLimits) {
  {  // slot 6's module beyond the highest DevHandle: the walk (9, A, C, 41) ends there
    emu::HostModel host = CardFile("unconfigured");
    host.FirstAdapter()->FindModule(6)->devHandle = 0x0041;
    StartScannedCard(host);
    EXPECT_EQ(DeviceHandles(FirstAdapterRecord()), (std::vector<uint16_t>{0x0009, 0x000A, 0x000C}));
  }
  {  // two volumes on a controller that keeps one: the first of the walk stays
    emu::HostModel host = CardFile("default");
    emu::RaidModel& raid = host.FirstAdapter()->raid;
    emu::VolumeModel second = raid.volumes.front();
    second.devHandle = 0x003F;
    second.members.assign(raid.volumes.front().members.begin() + 2, raid.volumes.front().members.end());
    raid.volumes.front().members.resize(2);
    raid.volumes.push_back(second);
    StartScannedCard(host);
    const VolumeRecord* volume = FirstAdapterRecord()->volumes;
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->devHandle, 0x003F);
    EXPECT_EQ(volume->next, nullptr);
  }
}

// A configuration that names its volume twice presents one target.
TEST_F(DeviceScan, AVolumeNamedTwiceIsOneTarget) {
  Start(CardFile("default"));
  ASSERT_EQ(Discover(kCardFlags | kDiscoverSkipDeviceScan | kDiscoverSkipRaidScan), kLibOk);
  LibHandle adapter = FirstAdapterRecord()->header.handle;
  uint8_t page[256] = {};
  uint32_t size = sizeof(page);
  ASSERT_EQ(ReadRaidConfigPage0(&adapter, page, &size, 0x20000000, 1), kLibOk);
  ASSERT_GE(size, 56u);
  std::vector<uint8_t> twice(page, page + size);
  twice.insert(twice.begin() + 48, twice.begin() + 48, twice.begin() + 56);  // element 0 again
  twice[1] = static_cast<uint8_t>(twice.size() / 4);
  twice[44] = static_cast<uint8_t>(twice[44] + 1);
  SetPage(15, 0, 0x16, 0, twice);
  EXPECT_EQ(ScanSasDevices(context(), &adapter), kLibOk);
  EXPECT_EQ(DeviceHandles(FirstAdapterRecord()), (std::vector<uint16_t>{0x0040}));
}

TEST_F(DeviceScan, BlockOfAScannedModule) {
  StartScannedCard(CardFile("unconfigured"));
  const DeviceRecord* d = FirstAdapterRecord()->devices;
  ASSERT_NE(d, nullptr);
  const emu::ModuleModel& module = *card().model().FirstAdapter()->FindModule(4);
  std::vector<uint8_t> b = Block(d);
  EXPECT_EQ(Le32(b, 0), d->header.handle);
  EXPECT_EQ(HandleKind(d->header.handle), 0x02u);
  EXPECT_EQ(Le32(b, 8), 0u);  // identified by the scan, not on request
  EXPECT_EQ(Le32(b, 12), 0u);
  EXPECT_EQ(Le32(b, 16), 4u);
  EXPECT_EQ(b[24], 0);
  EXPECT_EQ(GetLe64(b.data(), 32 + 8), module.sasAddress);
  EXPECT_EQ(Le16(b, 48), emu::kEnclosureHandle);
  EXPECT_EQ(Le16(b, 50), 4);
  EXPECT_EQ(Le16(b, 52), 0x0009);
  EXPECT_EQ(b[54], 0);  // a direct-access device
  EXPECT_EQ(GetLe64(b.data(), 312), module.maxSectors - 1);
  EXPECT_EQ(Le32(b, 320), 512u);
  EXPECT_EQ(GetLe64(b.data(), 328), module.maxSectors * 512);
  EXPECT_EQ(b[340], module.physicalPort);
  // Its identifier is the module's world wide name.
  ASSERT_EQ(Le32(b, 396), 8u);
  uint64_t wwn = 0;
  for (int i = 0; i < 8; ++i) wwn = (wwn << 8) | b[364 + i];
  EXPECT_EQ(wwn, module.wwn);
  EXPECT_EQ(d->peripheralType, 0u);
  EXPECT_EQ(d->identified, 1u);
}

class Identification : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
    targets_.Install(card());
    SetPage(15, 0, 0x12, 0x0021, SasDevicePage(0x0021, 3));
    device_ = AddDevice(adapter_, 0x0021);
    device_->identified = 0;
  }

  LibStatus Identify() {
    AdapterRecord* a = FirstAdapterRecord();
    return IdentifyDevice(context(), device_, a);
  }
  // A fresh block for the next identification (the scan keeps the DevHandle in it).
  void ClearBlock() {
    device_->info = DeviceInfoBlock{};
    SetDeviceDevHandle(device_, 0x0021);
  }

  LibHandle adapter_ = 0;
  DeviceRecord* device_ = nullptr;
  FakeTargets targets_;
};

TEST_F(Identification, CapacityFromReadCapacityTenOrSixteen) {
  struct Case {
    uint64_t lastLba;
    uint32_t blockLength;
    bool sixteen;
  } cases[] = {
      {0x0001FFFF, 512, false},
      {0xFFFFFFFEull, 512, false},
      {0xFFFFFFFFull, 512, true},
      {0x2540BE3FFull, 4096, true},
  };
  for (const Case& c : cases) {
    targets_[0x0021].lastLba = c.lastLba;
    targets_[0x0021].blockLength = c.blockLength;
    size_t before = targets_.Count("READ CAPACITY 16");
    EXPECT_EQ(Identify(), kLibOk);
    std::vector<uint8_t> b = Block(device_);
    EXPECT_EQ(GetLe64(b.data(), 312), c.lastLba);
    EXPECT_EQ(Le32(b, 320), c.blockLength);
    EXPECT_EQ(GetLe64(b.data(), 328), (c.lastLba + 1) * c.blockLength);
    EXPECT_EQ(targets_.Count("READ CAPACITY 16") - before, c.sixteen ? 1u : 0u) << c.lastLba;
  }
  EXPECT_EQ(GetLe64(Block(device_).data(), 328), 0x2540BE400ull * 4096);
  targets_[0x0021].lastLba = 0x0001FFFF;
  targets_[0x0021].blockLength = 512;
  EXPECT_EQ(Identify(), kLibOk);
  EXPECT_EQ(GetLe64(Block(device_).data(), 328), 0x4000000u);
}

TEST_F(Identification, BlockCharacteristicsOnlyWhenListed) {
  FakeDisk& disk = targets_[0x0021];
  EXPECT_EQ(Identify(), kLibOk);
  std::vector<uint8_t> b = Block(device_);
  EXPECT_EQ(Le32(b, 336), 1u);
  EXPECT_EQ(Le16(b, 342), 1);
  EXPECT_EQ(b[344], 3);
  EXPECT_EQ(targets_.Sent(0x0021),
            (std::vector<std::string>{"INQUIRY", "VPD 0x83", "READ CAPACITY", "VPD 0x00", "VPD 0xB1"}));

  ClearBlock();
  disk.vpdPages = {0x00, 0x80, 0x83};
  EXPECT_EQ(Identify(), kLibOk);
  b = Block(device_);
  EXPECT_EQ(Le32(b, 336), 0u);
  EXPECT_EQ(Le16(b, 342), 0);
  // A list that claims more pages than the buffer holds is read up to its end.
  disk.listLength = 0xFF;
  EXPECT_EQ(Identify(), kLibOk);
  EXPECT_EQ(targets_.Count("VPD 0xB1"), 1u);
}

TEST_F(Identification, FailedCommandsAndStatuses) {
  struct Case {
    const char* name;
    std::string command;
    uint8_t scsiStatus;
    uint32_t flags;
    LibStatus result;
  } cases[] = {
      {"the VPD page list fails", "VPD 0x00", 0x02, kCardFlags, kLibFailure},
      {"READ CAPACITY busy", "READ CAPACITY", 0x08, kCardFlags, kLibFailure},
      {"Block Device Characteristics fail", "VPD 0xB1", 0x02, kCardFlags, kLibFailure},
      {"INQUIRY fails on the card: kept without identification", "INQUIRY", 0x02, kCardFlags, kLibOk},
      {"INQUIRY fails elsewhere", "INQUIRY", 0x02, 0x80000000, kLibFailure},
      {"the identification page fails: no identifier", "VPD 0x83", 0x02, kCardFlags, kLibOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    targets_[0x0021] = FakeDisk{};
    targets_[0x0021].status[c.command] = c.scsiStatus;
    ClearBlock();
    context()->discoveryFlags = c.flags;
    EXPECT_EQ(Identify(), c.result);
    std::vector<uint8_t> b = Block(device_);
    // A command that did not succeed leaves its fields as they were.
    if (c.command == "INQUIRY") {
      EXPECT_EQ(b[54 + 4], 0);
    } else if (c.command == "READ CAPACITY") {
      EXPECT_EQ(Le32(b, 320), 0u);
    } else if (c.command == "VPD 0x83") {
      EXPECT_EQ(Le32(b, 396), 0u);
    }
  }
}

TEST_F(Identification, ScanDropsADeviceThatCannotBeIdentified) {
  card().model().FirstAdapter()->raid = emu::RaidModel{};
  card().model().FirstAdapter()->pages.erase(emu::PageKey{15, 0, 0x12, 0x0021});
  for (uint16_t devHandle : {0x0009, 0x000A, 0x000B, 0x000C}) targets_[devHandle] = FakeDisk{};
  targets_[0x000A].status["VPD 0x00"] = 0x02;
  targets_[0x000B].status["READ CAPACITY"] = 0x08;
  RemoveDeviceRecord(context(), &device_->header.handle);
  EXPECT_EQ(ScanSasDevices(context(), &adapter_), kLibOk);
  EXPECT_EQ(DeviceHandles(FirstAdapterRecord()), (std::vector<uint16_t>{0x0009, 0x000C}));
}

TEST_F(Identification, InformationOnRequestIdentifiesFirstAndCopiesUpToTheSize) {
  targets_[0x0021] = FakeDisk{};
  card().model().files.AddFile("/proc/scsi/scsi", "Attached devices:\nHost: scsi0 Channel: 00 Id: 03 Lun: 00\n");
  LibHandle handle = device_->header.handle;
  DeviceInfoBlock block;
  std::memset(&block, 0xEE, sizeof(block));
  uint32_t size = 100;
  EXPECT_EQ(QmxGetDeviceInfo(0, &adapter_, &handle, &block, &size), kLibOk);
  EXPECT_EQ(block.bytes[99], device_->info.bytes[99]);
  EXPECT_EQ(block.bytes[100], 0xEE);
  EXPECT_EQ(device_->identified, 1u);
  std::vector<uint8_t> b = Block(device_);
  EXPECT_EQ(Le32(b, 8), 400u);
  EXPECT_EQ(Le32(b, 408), 528u);
  EXPECT_EQ(Le32(b, 412), 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 424)).rfind("Attached devices:\nHost: scsi0", 0), 0u);
  // On request, the link power fields are read too.
  EXPECT_EQ(Le32(b, 348), 1u);

  size = 2000;
  std::memset(&block, 0xEE, sizeof(block));
  size_t sent = card().CountFunction(0x00);
  EXPECT_EQ(QmxGetDeviceInfo(0, &adapter_, nullptr, &block, &size), kLibOk);
  EXPECT_EQ(std::memcmp(block.bytes, device_->info.bytes, sizeof(block)), 0);
  EXPECT_EQ(card().CountFunction(0x00), sent);  // identified once
  EXPECT_EQ(QmxGetDeviceInfo(1, &adapter_, nullptr, &block, &size), kLibBadHandle);
}

TEST_F(Identification, UnknownPeripheralAndAnUnreadableDeviceList) {
  targets_[0x0021] = FakeDisk{};
  targets_[0x0021].peripheral = 0x1F;
  LibHandle handle = device_->header.handle;
  uint32_t size = 0;
  EXPECT_EQ(QmxGetDeviceInfo(0, &adapter_, &handle, nullptr, &size), kLibOk);
  std::vector<uint8_t> b = Block(device_);
  EXPECT_EQ(Le32(b, 412), 31u);
  EXPECT_EQ(Le32(b, 416), 1u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 424)), "Unknown device type");

  // /proc/scsi/scsi as a link, or not there: the request fails and the
  // device stays unidentified.
  for (bool link : {true, false}) {
    device_->identified = 0;
    targets_[0x0021].peripheral = 0;
    card().model().files.Remove("/proc/scsi/scsi");
    if (link) card().model().files.AddSymlink("/proc/scsi/scsi", "/proc/other");
    EXPECT_EQ(QmxGetDeviceInfo(0, &adapter_, &handle, nullptr, &size), kLibFailure) << link;
    EXPECT_EQ(device_->identified, 0u);
  }
}

}  // namespace
}  // namespace ctltest
