// Adapter discovery: the nodes searched, the device-ID filter, the card
// filter, the chip names and what one discovery sends.
#include <cerrno>
#include <cstdio>
#include <map>
#include <string>

#include "ctl/discovery/discovery.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

emu::AdapterModel Adapter(uint32_t ioc, uint16_t deviceId, const std::string& chipName = "SAS2008") {
  emu::AdapterModel adapter = emu::DefaultCorvexium(ioc);
  adapter.pciDeviceId = deviceId;
  adapter.chipName = chipName;
  adapter.pages = emu::DefaultPages(adapter);
  return adapter;
}

emu::HostModel HostWith(std::vector<emu::AdapterModel> adapters, const char* node = "/dev/qmx2ctl_cx") {
  emu::HostModel host = EmptyHost();
  host.nodes.clear();
  host.nodes.push_back(emu::NodeModel{node, std::move(adapters)});
  return host;
}

struct Kept {
  uint32_t deviceId;
  std::string chipName;
  LibHandle handle;
};

class Discovery : public CardTest {
 protected:
  std::vector<Kept> KeptAdapters() {
    std::vector<Kept> kept;
    for (AdapterRecord* a = context()->adapterList; a != nullptr; a = a->next) {
      kept.push_back(Kept{a->deviceId, a->info.chipName, a->header.handle});
    }
    return kept;
  }
  std::vector<uint32_t> KeptIds() {
    std::vector<uint32_t> ids;
    for (const Kept& k : KeptAdapters()) ids.push_back(k.deviceId);
    return ids;
  }
};

TEST_F(Discovery, CardFlagsKeepTheCardUnlistedIdsAndCardChipAbs) {
  emu::AdapterModel noPage = Adapter(5, 0x72, "6202-B0");
  noPage.pages.erase(emu::PageKey{9, 0, 0, 0});
  Start(HostWith({Adapter(0, 0x7E), Adapter(1, 0x80), Adapter(2, 0x50), Adapter(3, 0x72, "6202-B0"),
                  Adapter(4, 0x72, "6220-A1"), noPage}));
  uint32_t count = 0;
  EXPECT_EQ(Discover(kCardFlags, &count), kLibOk);
  EXPECT_EQ(count, 4u);
  std::vector<Kept> kept = KeptAdapters();
  ASSERT_EQ(kept.size(), 4u);
  EXPECT_EQ(kept[0].deviceId, 0x7Eu);
  EXPECT_EQ(kept[0].chipName, "TRIXEL4400");
  EXPECT_EQ(kept[0].handle, 0x01000001u);
  EXPECT_EQ(kept[1].deviceId, 0x50u);
  EXPECT_EQ(kept[1].chipName, "Unknown");
  EXPECT_EQ(kept[1].handle, 0x01000002u);
  EXPECT_EQ(kept[2].deviceId, 0x72u);  // its chip name starts with "6202"
  EXPECT_EQ(kept[2].chipName, "CHIPAB");
  EXPECT_EQ(kept[2].handle, 0x01000003u);
  EXPECT_EQ(kept[3].deviceId, 0x72u);  // its page can't be read
  EXPECT_EQ(kept[3].handle, 0x01000005u);
  EXPECT_EQ(context()->adapterCount, 4u);
  EXPECT_EQ(FirstAdapterRecord()->isCard, 1u);
  EXPECT_EQ(FirstAdapterRecord()->next->isCard, 0u);
}

TEST_F(Discovery, DeviceIdFilterByFlags) {
  struct Case {
    uint32_t flags;
    std::vector<uint32_t> kept;
  } cases[] = {
      {0x80000000, {0x50}},
      {0xA0000000, {0x7E, 0x72, 0x50}},
      {0x82000000, {0x80, 0x72, 0x50}},
      {0x84000000, {0x90, 0x50}},
      {0x90000000, {0x45, 0x50}},
      {0x00000000, {0x7E, 0x80, 0x72, 0x90, 0x45, 0x50}},
  };
  for (const Case& c : cases) {
    Start(HostWith({Adapter(0, 0x7E), Adapter(1, 0x80), Adapter(2, 0x72, "6202-B0"), Adapter(3, 0x90),
                    Adapter(4, 0x45), Adapter(5, 0x50)}));
    Discover(c.flags);
    EXPECT_EQ(KeptIds(), c.kept) << std::hex << c.flags;
  }
}

TEST_F(Discovery, NodesSearchedByFlags) {
  struct Case {
    const char* node;
    uint32_t flags;
    uint32_t count;
  } cases[] = {
      {"/dev/qmx2ctl_cx", 0x80000000, 1}, {"/dev/qmx2ctl", 0x80000000, 0}, {"/dev/qmx2ctl", 0xA0000000, 1},
      {"/dev/qmx2ctl", 0x82000000, 1},    {"/dev/qvsactl", 0xA0000000, 0}, {"/dev/qvsactl", 0x90000000, 1},
      {"/dev/qmx3ctl", 0xA0000000, 0},    {"/dev/qmx3ctl", 0x84000000, 1}, {"/dev/qmx3ctl", 0x00000000, 1},
  };
  for (const Case& c : cases) {
    Start(HostWith({Adapter(0, 0x50)}, c.node));
    uint32_t count = 99;
    Discover(c.flags, &count);
    EXPECT_EQ(count, c.count) << c.node << " " << std::hex << c.flags;
    if (c.count == 1) {
      EXPECT_STREQ(FirstAdapterRecord()->nodePath, c.node);
    }
  }
}

TEST_F(Discovery, NoAdapterAtAll) {
  Start(EmptyHost());
  uint32_t count = 99;
  EXPECT_EQ(Discover(kCardFlags, &count), kLibOk);  // the card filter had nothing to do
  EXPECT_EQ(count, 0u);
  Start(EmptyHost());
  EXPECT_EQ(Discover(0x80000000, &count), kLibFailure);
  EXPECT_EQ(count, 0u);
}

TEST_F(Discovery, SecondDiscoveryReturnsAtOnce) {
  LibHandle adapter = StartDefaultCard();
  uint32_t count = 0;
  EXPECT_EQ(Discover(kCardFlags, &count), kLibOk);
  EXPECT_EQ(count, 1u);
  EXPECT_TRUE(card().log().empty());
  EXPECT_EQ(FirstAdapterRecord()->header.handle, adapter);
}

// One request as the start-up list names it.
std::string Hex4(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%04X", value);
  return text;
}

std::string PageName(const std::vector<uint8_t>& frame) {
  uint8_t type = frame[23] & 0x0F;
  std::string number = std::to_string(frame[22]);
  switch (type) {
    case 0: return "IO unit " + number;
    case 8: return "volume " + number;
    case 9: return "manufacturing " + number;
    case 10: return "phys disk " + number;
    default: break;
  }
  switch (frame[6]) {
    case 0x10: return "SAS IO unit " + number;
    case 0x12: return "SAS device " + number;
    case 0x13: return "SAS phy " + number;
    case 0x16: return "RAID config " + number;
    default: return "page " + std::to_string(type) + "/" + Hex4(frame[6]) + " " + number;
  }
}

std::string ScsiName(const std::vector<uint8_t>& frame) {
  uint8_t opcode = frame[64];
  if (opcode == 0x25) return "READ CAPACITY";
  if (opcode == 0x9E) return "READ CAPACITY 16";
  if (opcode == 0x12 && (frame[65] & 1)) return "VPD " + Hex4(frame[66]);
  if (opcode == 0x12) return "INQUIRY";
  return "opcode " + Hex4(opcode);
}

std::string Describe(const emu::LoggedCall& call) {
  if (call.request == kIocInfoRequest) return "ioc info";
  if (call.request == kMapRequest) return "map " + Hex4(Le16(call.block, 20));
  if (call.request != kCommandRequest) return "ioctl " + std::to_string(call.request);
  switch (call.function) {
    case 0x03: return "IOC FACTS";
    case 0x04: {
      const char* action = call.frame[0] == 0 ? "header " : call.frame[0] == 1 ? "read " : call.frame[0] == 6 ? "NVRAM " : "other ";
      char address[16];
      std::snprintf(address, sizeof(address), "%08X", Le32(call.frame, 24));
      return std::string("CONFIG ") + action + PageName(call.frame) + " @" + address;
    }
    case 0x00: return "SCSI " + Hex4(Le16(call.frame, 0)) + " " + ScsiName(call.frame);
    case 0x16: return "RAID SCSI " + Hex4(Le16(call.frame, 0)) + " " + ScsiName(call.frame);
    default: return "function " + Hex4(call.function);
  }
}

// The start-up list of a card, built from what each step of discovery reads.
class StartUpList {
 public:
  void Add(const std::string& kind) { list_.push_back(kind); }
  // A page read at a known size: header, then the read.
  void Read(const std::string& page, uint32_t address, const char* kind = "read ") {
    Add("CONFIG header " + page + " @" + Address(address));
    Add(std::string("CONFIG ") + kind + page + " @" + Address(address));
  }
  // A page read whole: the size query, then header and read.
  void Copy(const std::string& page, uint32_t address, const char* kind = "read ") {
    Add("CONFIG header " + page + " @" + Address(address));
    Read(page, address, kind);
  }
  // A page the card does not have: the header step answers "not present".
  void Missing(const std::string& page, uint32_t address) { Add("CONFIG header " + page + " @" + Address(address)); }
  void Scsi(const char* path, uint16_t devHandle, std::initializer_list<const char*> commands) {
    for (const char* command : commands) Add(std::string(path) + " " + Hex4(devHandle) + " " + command);
  }
  const std::vector<std::string>& list() const { return list_; }

 private:
  static std::string Address(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof(text), "%08X", address);
    return text;
  }
  std::vector<std::string> list_;
};

TEST_F(Discovery, StartUpSendsExactlyWhatTheCardNeeds) {
  Start(CardFile("default"));
  uint32_t count = 0;
  ASSERT_EQ(Discover(kCardFlags, &count), kLibOk);
  ASSERT_EQ(count, 1u);
  std::vector<std::string> seen;
  uint32_t nextIoc = 0;
  for (const emu::LoggedCall& call : card().log()) {
    EXPECT_EQ(call.node, "/dev/qmx2ctl_cx");
    if (call.request == kIocInfoRequest) {
      EXPECT_EQ(call.ioc, nextIoc++);
      EXPECT_EQ(Le32(call.block, 8), 92u);
      if (!seen.empty() && seen.back() == "ioc info") continue;
    }
    seen.push_back(Describe(call));
  }
  EXPECT_EQ(nextIoc, 255u);

  // The default card: four modules (DevHandles 0x0009-0x000C, slots 4-7,
  // RAID disks 0-3) in the volume 0x0040.
  StartUpList e;
  e.Add("ioc info");
  e.Add("IOC FACTS");
  e.Read("IO unit 1", 0);  // RAID capable?
  e.Add("ioc info");       // IOC numbers 1 to 254
  e.Copy("manufacturing 0", 0, "NVRAM ");  // the card filter
  // The SAS device walk: each module is looked for among the RAID disks
  // (page 0 of each disk, page 1 of each that did not match).
  uint32_t cursor = 0xFFFF;
  for (uint32_t k = 0; k < 4; ++k) {
    e.Read("SAS device 0", cursor);
    e.Read("phys disk 0", 0xFF);
    for (uint32_t j = 0; j < k; ++j) {
      e.Copy("phys disk 1", 0x10000000 | j);
      e.Read("phys disk 0", j);
    }
    cursor = 0x0009 + k;
  }
  e.Missing("SAS device 0", 0x000C);  // the walk ends
  // The volume's target.
  e.Copy("RAID config 0", 0x20000000);
  e.Read("volume 0", 0x10000040);
  e.Add("map 0x0040");
  e.Missing("SAS device 0", 0x20000040);  // a volume: no SAS device page ...
  e.Read("volume 1", 0x10000040);         // ... its WWID instead
  e.Scsi("SCSI", 0x0040, {"INQUIRY", "VPD 0x0083", "READ CAPACITY", "VPD 0x0000", "VPD 0x00B1"});
  // The RAID scan: the volume and its members.
  e.Copy("volume 0", 0xFFFF);
  e.Add("map 0x0040");
  for (uint32_t m = 0; m < 4; ++m) {
    uint16_t devHandle = static_cast<uint16_t>(0x0009 + m);
    e.Read("phys disk 0", 0x10000000 | m);  // the member entry's disk
    e.Read("phys disk 0", 0x10000000 | m);  // its RAID summary
    e.Add("map " + Hex4(devHandle));
    e.Read("phys disk 1", 0x10000000 | m);
    e.Read("phys disk 0", 0x10000000 | m);  // its RAID status
    e.Read("SAS device 0", 0x20000000 | devHandle);
    e.Scsi("RAID SCSI", devHandle, {"READ CAPACITY", "INQUIRY", "VPD 0x0000", "VPD 0x00B1", "VPD 0x0083"});
    e.Copy("SAS device 0", 0x20000000 | devHandle);  // the link power fields
    e.Copy("SAS phy 0", 4 + m);
    e.Copy("SAS IO unit 5", 0, "NVRAM ");
  }
  e.Missing("volume 0", 0x0040);
  // The hot-spare walk, then the member walk for the one device.
  for (int walk = 0; walk < 2; ++walk) {
    e.Read("phys disk 0", 0xFF);
    for (uint32_t number = 0; number < 3; ++number) e.Read("phys disk 0", number);
    e.Missing("phys disk 0", 3);
  }
  EXPECT_EQ(seen, e.list());
  EXPECT_EQ(card().log().size(), 445u);
  EXPECT_EQ(FirstAdapterRecord()->raidCapable, 1u);
  EXPECT_EQ(FirstAdapterRecord()->info.raidCapable, 1u);
  EXPECT_EQ(FirstAdapterRecord()->infoValid, 1u);
}

TEST_F(Discovery, StartUpOfTheEightModuleCardGrowsWithTheModules) {
  Start(CardFile("board-type-9"));
  ASSERT_EQ(Discover(), kLibOk);
  std::map<std::string, size_t> kinds;
  for (const emu::LoggedCall& call : card().log()) {
    std::string kind = Describe(call);
    kinds[kind.substr(0, kind.find(' ', kind.find(' ') + 1))]++;
  }
  EXPECT_EQ(kinds["ioc info"], 255u);
  EXPECT_EQ(kinds["IOC FACTS"], 1u);
  EXPECT_EQ(kinds["map 0x0040"], 2u);
  EXPECT_EQ(card().CountCalls(kMapRequest), 2u + 8u);
  EXPECT_EQ(card().CountFunction(0x00), 5u);       // the volume's target
  EXPECT_EQ(card().CountFunction(0x16), 5u * 8u);  // each member
  // CONFIG: the SAS device walk reads, for module k, its device page, disk
  // page 0 from the start and page 1 and 0 of the k disks before its own:
  // 4n + 5n(n-1)/2 + 1 = 173 for n = 8; the volume's target 8; the volume
  // walk 3 + 19 per member + 1 = 156; the hot-spare and member walks 2(2n+1)
  // = 34; IO unit page 1 and manufacturing page 0, 5.
  EXPECT_EQ(card().CountFunction(0x04), 173u + 8u + 156u + 34u + 5u);
  EXPECT_EQ(card().log().size(), 687u);
}

TEST_F(Discovery, AdapterRecordAndInformationBlock) {
  emu::HostModel host = HostWith({Adapter(3, 0x7E)});
  emu::AdapterModel& model = host.nodes[0].adapters[0];
  model.subsystemVendorId = 0x1000;
  model.subsystemDeviceId = 0x0500;
  model.firmwareVersion = 0x0B000300;
  model.biosVersion = 0x07270100;
  model.driverVersion = "22.00.00.00";
  model.pciBus = 3;
  model.pciDevice = 1;
  model.pciFunction = 2;
  model.scsiId = 9;
  model.hardwareRevision = 2;
  Start(host);
  ASSERT_EQ(Discover(), kLibOk);
  AdapterRecord* a = FirstAdapterRecord();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(IocNumber(a), 3u);
  EXPECT_EQ(a->header.kind, 0x01000001u);
  EXPECT_EQ(a->vendorId, 0x1000);
  EXPECT_EQ(a->deviceId, 0x7E);
  EXPECT_EQ(a->subsystemDeviceId, 0x0500);
  EXPECT_EQ(a->pciLocation, (3u << 8) | (2u << 5) | 1u);
  const AdapterInfoBlock& info = a->info;
  EXPECT_EQ(info.adapterHandle, a->header.handle);
  EXPECT_STREQ(info.hostName, "SAS Host 3");
  EXPECT_STREQ(info.chipName, "TRIXEL4400");
  EXPECT_EQ(info.pciDeviceId, 0x7Eu);
  EXPECT_EQ(info.subsystemVendorId, 0x1000u);
  EXPECT_EQ(info.subsystemDeviceId, 0x0500u);
  EXPECT_EQ(info.firmwareVersion, 0x0B000300u);
  EXPECT_EQ(info.biosVersion, 0x07270100u);
  EXPECT_STREQ(info.driverVersion, "22.00.00.00");
  EXPECT_EQ(info.scsiId, 9);
  EXPECT_EQ(info.hardwareRevision, 2u);
  EXPECT_EQ(info.pciLocation, a->pciLocation);
  // The IOC FACTS reply is kept whole.
  EXPECT_EQ(a->iocFacts[0] | (a->iocFacts[1] << 8), model.messageVersion);
}

TEST_F(Discovery, FailedIocFactsKeepsTheAdapterWithoutTheValidMark) {
  Start(emu::DefaultHost());
  card().FailIoctl(kCommandRequest, EIO, 1, 0x03);
  uint32_t count = 0;
  EXPECT_EQ(Discover(kCardFlags, &count), kLibOk);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(FirstAdapterRecord()->infoValid, 0u);
  EXPECT_EQ(FirstAdapterRecord()->raidCapable, 0u);
}

TEST_F(Discovery, CardFilterBoundsItsPageRead) {
  // A manufacturing page 0 too short to hold a chip name: the CHIPAB does not
  // name the card's chip and goes.
  emu::HostModel host = HostWith({Adapter(0, 0x72, "6202-B0"), Adapter(1, 0x7E)});
  Start(host);
  card().CutPage(9, 0, 0, 4);
  uint32_t count = 0;
  EXPECT_EQ(Discover(kCardFlags, &count), kLibOk);
  EXPECT_EQ(KeptIds(), (std::vector<uint32_t>{0x7E}));
}

TEST_F(Discovery, ChipNames) {
  struct Case {
    uint32_t id;
    const char* name;
  } cases[] = {{0x45, "CHIPFA"},   {0x47, "CHIPFB"},   {0x64, "CHIPBB_1"}, {0x65, "CHIPBB_2"},
               {0x6E, "CHIPCB_3"}, {0x70, "CHIPAA"},   {0x72, "CHIPAB"},   {0x74, "CHIPBA_1"},
               {0x76, "CHIPBA_2"}, {0x77, "CHIPBA_3"}, {0x7E, "TRIXEL4400"}, {0x80, "CHIPCA_1"},
               {0x85, "CHIPCA_6"}, {0x86, "CHIPCB_1"}, {0x87, "CHIPCB_2"}, {0x90, "CHIPEA_1"},
               {0x95, "CHIPEA_6"}, {0x96, "CHIPDA"},   {0x97, "CHIPDB"},   {0x50, "Unknown"},
               {0x88, "Unknown"},  {0x98, "Unknown"}};
  for (const Case& c : cases) EXPECT_STREQ(ChipName(c.id), c.name) << std::hex << c.id;
}

TEST_F(Discovery, RefreshRemovesDevicesThatAreRaidMembers) {
  LibHandle adapter = StartDefaultCard();
  emu::AdapterModel* model = card().model().FirstAdapter();
  // Two RAID physical disks: numbers 1 and 4, DevHandles 0x11 and 0x14.
  for (uint8_t number : {1, 4}) {
    std::vector<uint8_t> page = MakePage(10, 0, 120);
    PutLe16(&page, 4, static_cast<uint16_t>(0x10 + number));
    page[7] = number;
    model->SetPage(emu::PageKey{10, 0, 0, number}, page);
  }
  LibHandle plain = AddDevice(adapter, 0x20)->header.handle;
  LibHandle member = AddDevice(adapter, 0x14)->header.handle;
  EXPECT_EQ(RefreshAdapter(context(), &adapter), kLibOk);
  DeviceRecord* found = nullptr;
  EXPECT_EQ(FindDevice(context(), &plain, &found, nullptr), kLibOk);
  EXPECT_EQ(FindDevice(context(), &member, &found, nullptr), kLibBadHandle);
}

TEST_F(Discovery, MemberWalkEndsOnAPageThatPointsBackAtItself) {
  LibHandle adapter = StartDefaultCard();
  card().model().FirstAdapter()->raid = emu::RaidModel{};  // only the page below
  // Disk 2 claims to be disk 1: "next after 1" leads back to it again.
  std::vector<uint8_t> page = MakePage(10, 0, 120);
  PutLe16(&page, 4, 0x0030);
  page[7] = 1;
  card().model().FirstAdapter()->SetPage(emu::PageKey{10, 0, 0, 2}, page);
  LibHandle device = AddDevice(adapter, 0x20)->header.handle;
  card().ClearLog();
  // The member walk alone: no device or RAID scan before it.
  context()->discoveryFlags |= kDiscoverSkipDeviceScan | kDiscoverSkipRaidScan;
  EXPECT_EQ(RefreshAdapter(context(), &adapter), kLibOk);
  EXPECT_EQ(card().CountFunction(0x04), 4u);  // two pages, header and read each
  DeviceRecord* found = nullptr;
  EXPECT_EQ(FindDevice(context(), &device, &found, nullptr), kLibOk);
}

}  // namespace
}  // namespace ctltest
