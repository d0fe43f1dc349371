#include "tests/ctl/ctl_test_support.h"

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
  EXPECT_EQ(Discover(kCardFlags, &count), kLibOk);
  EXPECT_EQ(count, 1u);
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

}  // namespace ctltest
