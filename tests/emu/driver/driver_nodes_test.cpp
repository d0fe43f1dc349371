// Control nodes, descriptors and the IOC information ioctl.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "emu/host/emulator.h"
#include "raw_port.h"

using namespace rawtest;

namespace {

std::vector<uint8_t> IocInfoBlock(uint32_t ioc) {
  std::vector<uint8_t> block(92, 0);
  Put32(block, 0, ioc);
  Put32(block, 8, 92);
  return block;
}

TEST(DriverNodes, OnlyTheDefaultNodeExistsAndDescriptorsAreCounted) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  for (const char* missing : {"/dev/qmx2ctl", "/dev/qvsactl", "/dev/qmx3ctl", "/dev/null"}) {
    EXPECT_EQ(card.OpenNode(missing, os::NodeAccess::kReadWrite), -1) << missing;
    EXPECT_EQ(card.LastErrorNumber(), ENOENT);
  }
  int a = card.OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  int b = card.OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadOnly);
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(card.OpenDescriptors(), 2);
  card.CloseNode(a);
  EXPECT_EQ(card.OpenDescriptors(), 1);
  card.CloseNode(a);  // closed twice
  EXPECT_EQ(card.BadCloses(), 1u);
  std::vector<uint8_t> block = IocInfoBlock(0);
  EXPECT_EQ(card.Ioctl(a, kIocInfo, block.data()), -1);
  EXPECT_EQ(card.LastErrorNumber(), EBADF);
  card.CloseNode(b);
  EXPECT_EQ(card.OpenDescriptors(), 0);
  EXPECT_EQ(card.NodeOpens(), 2u);
}

TEST(DriverNodes, IocInformationReportsTheDefaultCorvexium) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  int fd = card.OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  std::vector<uint8_t> block = IocInfoBlock(0);
  ASSERT_EQ(card.Ioctl(fd, kIocInfo, block.data()), 0);
  EXPECT_EQ(Get32(block, 0), 0u);          // IOC number stays
  EXPECT_EQ(Get32(block, 20), 0x7Eu);      // PCI device ID
  EXPECT_EQ(Get32(block, 28), 0x0500u);    // subsystem device
  EXPECT_EQ(Get32(block, 32), 0x1000u);    // subsystem vendor
  EXPECT_EQ(Get32(block, 40), 0x0E000500u);  // firmware 14.00.05.00
  EXPECT_EQ(Get32(block, 44), 0x08120000u);  // BIOS
  std::string driver(reinterpret_cast<const char*>(block.data() + 48));
  EXPECT_EQ(driver, "qmx2sas-20.100.00.00");
  EXPECT_EQ(Get32(block, 84), 3u << 8);    // bus 3, device 0, function 0
  EXPECT_EQ(Get32(block, 88), 0u);
  card.CloseNode(fd);
}

TEST(DriverNodes, EachNodeAnswersItsOwnIocNumbers) {
  emu::HostModel host = emu::DefaultHost();
  emu::AdapterModel second = emu::DefaultCorvexium(3);
  second.pciDeviceId = 0x72;
  second.pciDevice = 5;
  second.pciFunction = 1;
  second.pciBus = 0x1234;
  host.nodes.push_back(emu::NodeModel{"/dev/qmx2ctl", {second}});
  emu::Emulator& card = emu::Install(std::move(host));

  struct Case {
    const char* node;
    uint32_t ioc;
    int error;
    uint32_t deviceId;
  } cases[] = {
      {"/dev/qmx2ctl_cx", 0, 0, 0x7E},  {"/dev/qmx2ctl_cx", 3, ENODEV, 0},
      {"/dev/qmx2ctl", 3, 0, 0x72},     {"/dev/qmx2ctl", 0, ENODEV, 0},
      {"/dev/qmx2ctl", 254, ENODEV, 0}, {"/dev/qmx2ctl", 255, ENODEV, 0},
  };
  for (const Case& c : cases) {
    int fd = card.OpenNode(c.node, os::NodeAccess::kReadWrite);
    ASSERT_GE(fd, 0);
    std::vector<uint8_t> block = IocInfoBlock(c.ioc);
    int rc = card.Ioctl(fd, kIocInfo, block.data());
    if (c.error == 0) {
      EXPECT_EQ(rc, 0) << c.node << " " << c.ioc;
      EXPECT_EQ(Get32(block, 20), c.deviceId);
    } else {
      EXPECT_EQ(rc, -1) << c.node << " " << c.ioc;
      EXPECT_EQ(card.LastErrorNumber(), c.error);
    }
    card.CloseNode(fd);
  }
  int fd = card.OpenNode("/dev/qmx2ctl", os::NodeAccess::kReadWrite);
  std::vector<uint8_t> block = IocInfoBlock(3);
  ASSERT_EQ(card.Ioctl(fd, kIocInfo, block.data()), 0);
  EXPECT_EQ(Get32(block, 84), 5u | (1u << 5) | (0x1234u << 8));
  card.CloseNode(fd);
  ASSERT_EQ(card.log().size(), 7u);
  EXPECT_EQ(card.log()[2].node, "/dev/qmx2ctl");
  EXPECT_EQ(card.log()[2].ioc, 3u);
  EXPECT_EQ(card.log()[1].errorNumber, ENODEV);
}

TEST(DriverNodes, RequestCodesMustMatchExactly) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  int fd = card.OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  std::vector<uint8_t> block(256, 0);
  for (uint32_t request : {0xC0604C11u /* nr 17, wrong size */, 0xC0214C15u /* event query, wrong size */,
                           0xC05C4D11u /* type 'M' */, 0x805C4C11u /* read-only direction */,
                           0x00000000u}) {
    EXPECT_EQ(card.Ioctl(fd, request, block.data()), -1) << std::hex << request;
    EXPECT_EQ(card.LastErrorNumber(), ENOTTY) << std::hex << request;
  }
  EXPECT_EQ(card.CountCalls(0xC0604C11u), 1u);
  card.CloseNode(fd);
}

TEST(DriverNodes, TraceLinesDescribeEachIoctl) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  std::string path = ::testing::TempDir() + "emu_trace_test.txt";
  std::remove(path.c_str());
  ASSERT_TRUE(card.SetTraceFile(path));
  int fd = card.OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  std::vector<uint8_t> block = IocInfoBlock(1);
  card.Ioctl(fd, kIocInfo, block.data());
  Message facts;
  facts.frame = Frame(12, 0x03);
  SendCommand(card, fd, facts);
  card.CloseNode(fd);
  card.SetTraceFile("");
  std::FILE* in = std::fopen(path.c_str(), "r");
  ASSERT_NE(in, nullptr);
  char line[512];
  ASSERT_NE(std::fgets(line, sizeof line, in), nullptr);
  EXPECT_STREQ(line, "ioctl 0xC05C4C11 /dev/qmx2ctl_cx ioc=1 size=92 -> errno=19 (ENODEV)\n");
  ASSERT_NE(std::fgets(line, sizeof line, in), nullptr);
  EXPECT_STREQ(line,
               "ioctl 0xC0484C14 /dev/qmx2ctl_cx ioc=0 fn=0x03 timeout=10 reply=64 in=0 out=0 "
               "sense=0 frame=000000030000000000000000 dataout[0]= -> iocstatus=0x0000 "
               "loginfo=0x00000000\n");
  std::fclose(in);
  std::remove(path.c_str());
}

}  // namespace

// The event report fills no more of the block than its header says it has.
TEST(DriverNodes, EventReportStaysInsideTheStatedBlock) {
  emu::HostModel host = emu::DefaultHost();
  for (uint32_t sequence = 1; sequence <= 3; ++sequence) {
    std::vector<uint8_t> entry(200, 0);
    entry[0] = 7;
    entry[4] = static_cast<uint8_t>(sequence);
    host.FirstAdapter()->eventRing.push_back(entry);
  }
  emu::Emulator& card = emu::Install(std::move(host));
  int fd = card.OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  std::vector<uint8_t> block(12 + 3 * 200, 0xCC);
  std::fill(block.begin(), block.begin() + 12, 0);
  block[8] = 212;  // room for one entry
  ASSERT_EQ(card.Ioctl(fd, 0xC0D44C17u, block.data()), 0);
  EXPECT_EQ(block[12], 7);
  EXPECT_EQ(block[16], 1);
  for (size_t i = 212; i < block.size(); ++i) ASSERT_EQ(block[i], 0xCC) << i;
  card.CloseNode(fd);
}
