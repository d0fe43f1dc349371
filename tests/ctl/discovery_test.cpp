// Adapter discovery: the nodes searched, the device-ID filter, the card
// filter, the chip names and what one discovery sends.
#include <cerrno>
#include <string>

#include "ctl/discovery.h"
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

TEST_F(Discovery, StartUpSendsExactlyWhatTheCardNeeds) {
  Start(emu::DefaultHost());
  uint32_t count = 0;
  ASSERT_EQ(Discover(kCardFlags, &count), kLibOk);
  ASSERT_EQ(count, 1u);
  const std::vector<emu::LoggedCall>& log = card().log();
  std::vector<std::string> seen;
  uint32_t nextIoc = 0;
  for (const emu::LoggedCall& call : log) {
    EXPECT_EQ(call.node, "/dev/qmx2ctl_cx");
    if (call.request == kIocInfoRequest) {
      EXPECT_EQ(call.ioc, nextIoc++);
      EXPECT_EQ(Le32(call.block, 8), 92u);
      if (seen.empty() || seen.back() != "ioc info") seen.push_back("ioc info");
      continue;
    }
    ASSERT_EQ(call.request, kCommandRequest);
    if (call.function == 0x03) {
      seen.push_back("IOC FACTS");
    } else if (call.function == 0x04) {
      seen.push_back("CONFIG action " + std::to_string(call.frame[0]) + " type " + std::to_string(call.frame[23]) +
                     " page " + std::to_string(call.frame[22]));
    } else {
      seen.push_back("function " + std::to_string(call.function));
    }
  }
  EXPECT_EQ(nextIoc, 255u);
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "ioc info",
                      "IOC FACTS",
                      "CONFIG action 0 type 0 page 1",  // IO unit page 1: header
                      "CONFIG action 1 type 0 page 1",  // ... read current
                      "ioc info",                       // IOC numbers 1 to 254
                      "CONFIG action 0 type 9 page 0",  // manufacturing page 0: size query
                      "CONFIG action 0 type 9 page 0",  // ... header
                      "CONFIG action 6 type 9 page 0",  // ... read NVRAM
                  }));
  EXPECT_EQ(FirstAdapterRecord()->raidCapable, 1u);
  EXPECT_EQ(FirstAdapterRecord()->info.raidCapable, 1u);
  EXPECT_EQ(FirstAdapterRecord()->infoValid, 1u);
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
  // Disk 2 claims to be disk 1: "next after 1" leads back to it again.
  std::vector<uint8_t> page = MakePage(10, 0, 120);
  PutLe16(&page, 4, 0x0030);
  page[7] = 1;
  card().model().FirstAdapter()->SetPage(emu::PageKey{10, 0, 0, 2}, page);
  LibHandle device = AddDevice(adapter, 0x20)->header.handle;
  card().ClearLog();
  EXPECT_EQ(RefreshAdapter(context(), &adapter), kLibOk);
  EXPECT_EQ(card().CountFunction(0x04), 4u);  // two pages, header and read each
  DeviceRecord* found = nullptr;
  EXPECT_EQ(FindDevice(context(), &device, &found, nullptr), kLibOk);
}

}  // namespace
}  // namespace ctltest
