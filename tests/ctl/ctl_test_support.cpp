#include "tests/ctl/ctl_test_support.h"

#include <fstream>
#include <sstream>

namespace ctltest {

uint16_t Le16(const std::vector<uint8_t>& bytes, size_t offset) {
  if (offset + 2 > bytes.size()) {
    ADD_FAILURE() << "read of 2 bytes at " << offset << " past " << bytes.size();
    return 0;
  }
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t offset) {
  if (offset + 4 > bytes.size()) {
    ADD_FAILURE() << "read of 4 bytes at " << offset << " past " << bytes.size();
    return 0;
  }
  return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<uint32_t>(bytes[offset + 2]) << 16) | (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

void PutLe16(std::vector<uint8_t>* bytes, size_t offset, uint16_t value) {
  (*bytes)[offset] = static_cast<uint8_t>(value);
  (*bytes)[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(std::vector<uint8_t>* bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> MakePage(uint8_t type, uint8_t number, uint32_t size, uint8_t fill) {
  std::vector<uint8_t> page(size);
  for (uint32_t i = 4; i < size; ++i) page[i] = static_cast<uint8_t>(fill + i);
  page[0] = 1;
  page[1] = static_cast<uint8_t>(size / 4);
  page[2] = number;
  page[3] = type;
  return page;
}

std::vector<uint8_t> MakeExtPage(uint8_t extType, uint8_t number, uint32_t size, uint8_t fill) {
  std::vector<uint8_t> page(size);
  for (uint32_t i = 8; i < size; ++i) page[i] = static_cast<uint8_t>(fill + i);
  page[0] = 1;
  page[2] = number;
  page[3] = 15;
  PutLe16(&page, 4, static_cast<uint16_t>(size / 4));
  page[6] = extType;
  return page;
}

emu::HostModel EmptyHost() {
  emu::HostModel host = emu::DefaultHost();
  for (emu::NodeModel& node : host.nodes) node.adapters.clear();
  return host;
}

emu::HostModel CardFile(const std::string& name) {
  std::string folder = TESSVARC_CARDS_DIR;
  std::ifstream in(folder + "/" + name + ".txt");
  std::stringstream text;
  text << in.rdbuf();
  emu::HostModel host;
  std::string error;
  if (!in || !emu::ParseHostFile(text.str(), folder, &host, &error)) {
    ADD_FAILURE() << "card file " << name << ": " << error;
    return emu::DefaultHost();
  }
  return host;
}

void CardTest::SetUp() { Start(emu::DefaultHost()); }

void CardTest::TearDown() {
  // Every control node the library opened is closed again.
  EXPECT_EQ(card().OpenDescriptors(), 0);
  EXPECT_EQ(card().BadCloses(), 0u);
}

emu::Emulator& CardTest::Start(emu::HostModel host) {
  card_ = &emu::Install(std::move(host));
  EXPECT_EQ(QmxLibOpen(), kLibOk);
  return *card_;
}

LibStatus CardTest::Discover(uint32_t flags, uint32_t* count) {
  uint32_t found = 0xDEAD;
  LibStatus status = QmxDiscoverAdapters(&found, flags);
  if (count != nullptr) *count = found;
  return status;
}

LibHandle CardTest::StartDefaultCard() {
  Start(emu::DefaultHost());
  uint32_t count = 0;
  EXPECT_EQ(Discover(kCardFlags | kDiscoverSkipDeviceScan | kDiscoverSkipRaidScan, &count), kLibOk);
  EXPECT_EQ(count, 1u);
  card().ClearLog();
  return context()->adapterList != nullptr ? context()->adapterList->header.handle : 0;
}

LibHandle CardTest::StartScannedCard(emu::HostModel host) {
  Start(std::move(host));
  uint32_t count = 0;
  EXPECT_EQ(Discover(kCardFlags, &count), kLibOk);
  EXPECT_GE(count, 1u);
  card().ClearLog();
  return context()->adapterList != nullptr ? context()->adapterList->header.handle : 0;
}

std::vector<const emu::LoggedCall*> CardTest::Commands(uint8_t function) const {
  std::vector<const emu::LoggedCall*> calls;
  for (const emu::LoggedCall& call : card_->log()) {
    if (call.isCommand && call.function == function) calls.push_back(&call);
  }
  return calls;
}

DeviceRecord* CardTest::AddDevice(LibHandle adapter, uint16_t devHandle, uint32_t peripheralType) {
  DeviceRecord* device = nullptr;
  EXPECT_EQ(AddDeviceRecord(context(), &device, &adapter), kLibOk);
  if (device == nullptr) return nullptr;
  AdapterRecord* a = nullptr;
  FindAdapter(context(), &adapter, &a);
  AssignObjectHandle(context(), &device->header, 0x02000001, IocNumber(a), 0, 0, 0);
  SetDeviceDevHandle(device, devHandle);
  device->peripheralType = peripheralType;
  device->identified = 1;
  return device;
}

VolumeRecord* CardTest::AddVolume(LibHandle adapter, uint16_t devHandle, uint8_t raidType) {
  VolumeRecord* volume = nullptr;
  EXPECT_EQ(AddVolumeRecord(context(), &volume, &adapter), kLibOk);
  if (volume == nullptr) return nullptr;
  AdapterRecord* a = nullptr;
  FindAdapter(context(), &adapter, &a);
  AssignObjectHandle(context(), &volume->header, 0x10000001, IocNumber(a), 1, 0, 0);
  volume->devHandle = devHandle;
  volume->raidType = raidType;
  return volume;
}

PhysDiskRecord* CardTest::AddMember(VolumeRecord* volume, uint16_t devHandle, uint8_t number) {
  PhysDiskRecord* disk = nullptr;
  LibHandle handle = volume->header.handle;
  EXPECT_EQ(AddMemberDiskRecord(context(), &disk, &handle), kLibOk);
  if (disk == nullptr) return nullptr;
  AssignObjectHandle(context(), &disk->header, 0x08000001, volume->header.location[0], 0, 0, 0);
  SetPhysDiskDevHandle(disk, devHandle);
  disk->info.bytes[414] = number;
  return disk;
}

PhysDiskRecord* CardTest::AddHotSpare(LibHandle adapter, uint16_t devHandle, uint8_t number, uint8_t pool) {
  PhysDiskRecord* disk = nullptr;
  EXPECT_EQ(AddHotSpareRecord(context(), &disk, &adapter), kLibOk);
  if (disk == nullptr) return nullptr;
  AssignObjectHandle(context(), &disk->header, 0x08000001, 0, 0, 0, 0);
  SetPhysDiskDevHandle(disk, devHandle);
  disk->info.bytes[414] = number;
  disk->info.bytes[417] = pool;
  return disk;
}

void CardTest::SetPage(uint8_t type, uint8_t number, uint8_t extType, uint32_t identity,
                       const std::vector<uint8_t>& page) {
  card().model().FirstAdapter()->SetPage(emu::PageKey{type, number, extType, identity}, page);
}

std::vector<uint8_t> CardTest::SasDevicePage(uint16_t devHandle, uint16_t slot, uint16_t enclosure,
                                             uint32_t deviceInfo) {
  std::vector<uint8_t> page = MakeExtPage(0x12, 0, 56);
  for (size_t i = 8; i < page.size(); ++i) page[i] = 0;
  PutLe16(&page, 8, slot);
  PutLe16(&page, 10, enclosure);
  PutLe32(&page, 12, 0x00000100u + slot);
  PutLe32(&page, 16, 0x5000C500u);
  page[22] = static_cast<uint8_t>(slot);
  PutLe16(&page, 24, devHandle);
  PutLe32(&page, 28, deviceInfo);
  PutLe16(&page, 32, 0x1801);
  return page;
}

}  // namespace ctltest
