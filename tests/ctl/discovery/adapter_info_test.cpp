// The adapter information block, its retry when IOC FACTS failed, and the
// integrated-RAID check.
#include <cerrno>
#include <cstring>

#include "ctl/discovery/discovery.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

using AdapterInfo = CardTest;

TEST_F(AdapterInfo, ByIndexAndByHandle) {
  LibHandle adapter = StartDefaultCard();
  AdapterInfoBlock info;
  std::memset(&info, 0xEE, sizeof(info));
  uint32_t size = sizeof(info);
  EXPECT_EQ(QmxGetAdapterInfo(0, nullptr, &info, &size), kLibOk);
  EXPECT_EQ(std::memcmp(&info, &FirstAdapterRecord()->info, sizeof(info)), 0);
  EXPECT_EQ(info.adapterHandle, adapter);
  EXPECT_EQ(QmxGetAdapterInfo(1, nullptr, &info, &size), kLibAdapterIndexRange);
  EXPECT_EQ(QmxGetAdapterInfo(7, &adapter, &info, &size), kLibOk);  // the handle decides
  LibHandle missing = 0x01000077;
  LibHandle device = 0x02000001;
  EXPECT_EQ(QmxGetAdapterInfo(0, &missing, &info, &size), kLibAdapterNotFound);
  EXPECT_EQ(QmxGetAdapterInfo(0, &device, &info, &size), kLibBadHandle);
  EXPECT_EQ(QmxGetAdapterInfo(0, nullptr, nullptr, nullptr), kLibOk);
  // A valid adapter's information is not asked again.
  EXPECT_TRUE(card().log().empty());
  // IO unit page 7 is read only on the retry path: these stay zero.
  EXPECT_EQ(info.pcieLinkWidth, 0);
}

TEST_F(AdapterInfo, IndexEqualToTheCountIsOutOfRange) {
  Start(emu::DefaultHost());
  emu::AdapterModel second = emu::DefaultCorvexium(1);
  card().model().nodes[0].adapters.push_back(second);
  uint32_t count = 0;
  ASSERT_EQ(Discover(kCardFlags, &count), kLibOk);
  ASSERT_EQ(count, 2u);
  AdapterInfoBlock info{};
  EXPECT_EQ(QmxGetAdapterInfo(1, nullptr, &info, nullptr), kLibOk);
  EXPECT_EQ(info.adapterHandle, 0x01000002u);
  EXPECT_STREQ(info.hostName, "SAS Host 1");
  EXPECT_EQ(QmxGetAdapterInfo(2, nullptr, &info, nullptr), kLibAdapterIndexRange);
}

TEST_F(AdapterInfo, AdapterWithoutFactsIsAskedAgain) {
  Start(emu::DefaultHost());
  card().FailIoctl(kCommandRequest, EIO, 1, 0x03);
  ASSERT_EQ(Discover(), kLibOk);
  ASSERT_EQ(FirstAdapterRecord()->infoValid, 0u);
  emu::AdapterModel* model = card().model().FirstAdapter();
  model->biosVersion = 0x01020304;
  model->firmwareVersion = 0x0A0B0C0D;
  card().ClearLog();

  AdapterInfoBlock info{};
  EXPECT_EQ(QmxGetAdapterInfo(0, nullptr, &info, nullptr), kLibOk);
  EXPECT_EQ(card().CountCalls(kIocInfoRequest), 1u);
  EXPECT_EQ(FirstAdapterRecord()->infoValid, 1u);
  EXPECT_EQ(info.biosVersion, 0x01020304u);
  EXPECT_NE(info.firmwareVersion, 0x0A0B0C0Du);  // not refreshed
  // IO unit page 7 fills the link and temperature fields.
  const emu::ConfigPage* page7 = model->FindPage(0, 7);
  ASSERT_NE(page7, nullptr);
  const std::vector<uint8_t>& p = page7->current;
  EXPECT_EQ(info.pcieLinkWidth, p[6]);
  EXPECT_EQ(info.pcieLinkSpeed, p[7]);
  EXPECT_EQ(info.processorState, Le32(p, 8));
  EXPECT_EQ(info.iocTemperature, Le16(p, 16));
  EXPECT_EQ(info.temperatureUnits, p[18]);
  EXPECT_EQ(info.iocSpeed, p[19]);
  // Without facts the message version gate says no integrated RAID.
  EXPECT_EQ(info.raidCapable, 0u);
}

TEST_F(AdapterInfo, ShortIoUnitPage7FillsOnlyWhatItHolds) {
  Start(emu::DefaultHost());
  card().FailIoctl(kCommandRequest, EIO, 1, 0x03);
  ASSERT_EQ(Discover(), kLibOk);
  const std::vector<uint8_t> p = card().model().FirstAdapter()->FindPage(0, 7)->current;
  card().CutPage(0, 7, 0, 12);
  AdapterInfoBlock info{};
  EXPECT_EQ(QmxGetAdapterInfo(0, nullptr, &info, nullptr), kLibOk);
  EXPECT_EQ(info.pcieLinkWidth, p[6]);
  EXPECT_EQ(info.processorState, Le32(p, 8));
  EXPECT_EQ(info.iocTemperature, 0);
  EXPECT_EQ(info.iocSpeed, 0);
}

TEST_F(AdapterInfo, RetryThatFailsStillReadsPage7AndTriesAgainNextTime) {
  Start(emu::DefaultHost());
  card().FailIoctl(kCommandRequest, EIO, 1, 0x03);
  ASSERT_EQ(Discover(), kLibOk);
  card().FailIoctl(kIocInfoRequest, ENODEV, 1);
  card().ClearLog();
  AdapterInfoBlock info{};
  EXPECT_EQ(QmxGetAdapterInfo(0, nullptr, &info, nullptr), kLibOk);
  EXPECT_EQ(FirstAdapterRecord()->infoValid, 0u);
  EXPECT_EQ(card().CountFunction(0x04), 3u);  // IO unit page 7 all the same: size query, header, read
  EXPECT_EQ(QmxGetAdapterInfo(0, nullptr, &info, nullptr), kLibOk);
  EXPECT_EQ(FirstAdapterRecord()->infoValid, 1u);
}

TEST_F(AdapterInfo, IntegratedRaidCheck) {
  struct Case {
    const char* name;
    uint16_t messageVersion;
    uint32_t capabilities;
    uint32_t page1Flags;
    LibStatus status;
    uint32_t flag;
    size_t configs;
  } cases[] = {
      {"capable and enabled", 0x0200, 0x1000, 0x00, kLibOk, 1, 2},
      {"capable but disabled", 0x0200, 0x1000, 0x40, kLibOk, 0, 2},
      {"other flags set", 0x0200, 0x1000, 0xBF, kLibOk, 1, 2},
      {"not capable", 0x0200, 0x0000, 0x00, kLibOk, 0, 0},
      {"old message version", 0x0105, 0x1000, 0x00, kLibMessageVersionTooLow, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(emu::DefaultHost());
    emu::AdapterModel* model = card().model().FirstAdapter();
    model->messageVersion = c.messageVersion;
    model->iocCapabilities = c.capabilities;
    std::vector<uint8_t> page1 = MakePage(0, 1, 8);
    PutLe32(&page1, 4, c.page1Flags);
    model->SetPage(emu::PageKey{0, 1, 0, 0}, page1);
    ASSERT_EQ(Discover(), kLibOk);
    LibHandle adapter = FirstAdapterRecord()->header.handle;
    EXPECT_EQ(FirstAdapterRecord()->raidCapable, c.flag);
    card().ClearLog();
    uint32_t flag = 99;
    EXPECT_EQ(IsRaidCapable(context(), &adapter, &flag), c.status);
    EXPECT_EQ(flag, c.flag);
    EXPECT_EQ(card().CountFunction(0x04), c.configs);
  }
}

TEST_F(AdapterInfo, IntegratedRaidCheckWhenPage1IsMissing) {
  LibHandle adapter = StartDefaultCard();
  card().RemovePage(0, 1);
  uint32_t flag = 99;
  EXPECT_EQ(IsRaidCapable(context(), &adapter, &flag), kLibPageNotPresent);
  EXPECT_EQ(flag, 0u);
}

}  // namespace
}  // namespace ctltest
