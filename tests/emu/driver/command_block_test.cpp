// The COMMAND ioctl's head: frame length, buffer addresses, the size fields
// honoured, the log; and the two facts functions answered through it.
#include <gtest/gtest.h>

#include <cerrno>

#include "emu/host/emulator.h"
#include "raw_port.h"

using namespace rawtest;

namespace {

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card_ = &emu::Install(emu::DefaultHost());
    fd_ = card_->OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
    ASSERT_GE(fd_, 0);
  }
  void TearDown() override { card_->CloseNode(fd_); }
  emu::Emulator& card() { return *card_; }
  Sent Send(const Message& m) { return SendCommand(*card_, fd_, m); }

  emu::Emulator* card_ = nullptr;
  int fd_ = -1;
};

TEST_F(CommandTest, IocFactsDescribeAHealthySasCardWithIntegratedRaid) {
  Message m;
  m.frame = Frame(12, 0x03);
  Sent s = Send(m);
  ASSERT_EQ(s.rc, 0);
  EXPECT_EQ(s.reply[2], 16);  // 64 bytes in words
  EXPECT_EQ(s.reply[3], 0x03);
  EXPECT_EQ(s.status(), 0);
  EXPECT_GE(Get16(s.reply, 0), 0x0200);           // message version
  EXPECT_EQ(Get16(s.reply, 26) >> 12, 2);         // SAS product
  EXPECT_NE(Get32(s.reply, 28) & 0x1000u, 0u);    // integrated RAID
  EXPECT_EQ(Get32(s.reply, 32), 0x0E000500u);     // firmware version, as IOC information says
  EXPECT_TRUE(s.guardsIntact);

  card().model().FirstAdapter()->messageVersion = 0x0105;
  EXPECT_EQ(Get16(Send(m).reply, 0), 0x0105);
}

TEST_F(CommandTest, ARoomSmallerThanTheReplyReceivesOnlyItsSize) {
  Message m;
  m.frame = Frame(12, 0x03);
  m.replyRoom = 20;
  Sent s = Send(m);
  ASSERT_EQ(s.rc, 0);
  EXPECT_TRUE(s.guardsIntact);
  EXPECT_EQ(s.reply[3], 0x03);
  EXPECT_EQ(card().log().back().replyBytesWritten, 20u);

  m.replyRoom = 0;  // no room at all, and a null reply address is then fine
  s = Send(m);
  EXPECT_EQ(s.rc, 0);
  EXPECT_TRUE(s.guardsIntact);
}

TEST_F(CommandTest, DataInAndSenseRoomsAreHonoured) {
  // A function registered for the test that answers more than asked for.
  card().RegisterFunction(0x2E, emu::FunctionHandler{4, [](emu::CommandRequest& request,
                                                           emu::CommandAnswer& answer) {
                            answer.reply = emu::NewReply(request, 48);
                            answer.dataIn.assign(4096, 0xA5);
                            answer.sense.assign(252, 0x70);
                          }});
  Message m;
  m.frame = Frame(16, 0x2E);
  m.replyRoom = 48;
  m.dataInRoom = 100;
  m.senseRoom = 18;
  Sent s = Send(m);
  ASSERT_EQ(s.rc, 0);
  EXPECT_TRUE(s.guardsIntact);
  EXPECT_EQ(s.dataIn, std::vector<uint8_t>(100, 0xA5));
  EXPECT_EQ(s.sense, std::vector<uint8_t>(18, 0x70));
  EXPECT_EQ(card().log().back().dataInBytesWritten, 100u);
  EXPECT_EQ(card().log().back().senseBytesWritten, 18u);
}

TEST_F(CommandTest, TheLogKeepsFrameDataOutAndAnswer) {
  card().RegisterFunction(0x2F, emu::FunctionHandler{4, [](emu::CommandRequest& request,
                                                           emu::CommandAnswer& answer) {
                            answer.reply = emu::NewReply(request, 20);
                            emu::SetReplyStatus(&answer.reply, 0x0045,
                                                static_cast<uint32_t>(request.dataOut.size()));
                          }});
  Message m;
  m.ioc = 0;
  m.frame = Frame(8, 0x2F);
  m.frame[0] = 0x11;
  m.dataOut = {1, 2, 3, 4, 5};
  m.timeout = 60;
  Sent s = Send(m);
  ASSERT_EQ(s.rc, 0);
  EXPECT_EQ(s.status(), 0x8045);  // log info present
  EXPECT_EQ(s.logInfo(), 5u);
  const emu::LoggedCall& call = card().log().back();
  EXPECT_EQ(call.node, "/dev/qmx2ctl_cx");
  EXPECT_TRUE(call.isCommand);
  EXPECT_EQ(call.function, 0x2F);
  EXPECT_EQ(call.frame, m.frame);
  EXPECT_EQ(call.dataOut, m.dataOut);
  EXPECT_EQ(call.timeoutSeconds, 60u);
  EXPECT_EQ(call.iocStatus, 0x8045);
  EXPECT_EQ(call.logInfo, 5u);
  EXPECT_EQ(card().CountFunction(0x2F), 1u);
  EXPECT_EQ(card().CountCalls(kCommand), 1u);
}

TEST_F(CommandTest, UnknownFunctionsAndShortFramesAreAnsweredNotFailed) {
  Message m;
  m.frame = Frame(12, 0x2A);
  EXPECT_EQ(Send(m).status(), 0x0001);  // invalid function
  m.frame = Frame(8, 0x03);             // IOC FACTS needs 12 bytes
  EXPECT_EQ(Send(m).status(), 0x0007);
}

TEST_F(CommandTest, TheDriverRefusesBlocksItCannotUse) {
  Message m;
  m.frame = Frame(12, 0x03);
  std::vector<uint8_t> block(72 + 256, 0);
  Put32(block, 48, 64);
  Put64(block, 16, Address(block.data() + 200));

  struct Case {
    const char* what;
    uint32_t frameWords;
    uint32_t dataInRoom;
    uint64_t dataInAddress;
    int error;
  } cases[] = {
      {"no frame", 0, 0, 0, EINVAL},
      {"frame longer than 128 bytes", 33, 0, 0, EINVAL},
      {"data-in room without an address", 3, 16, 0, EFAULT},
  };
  for (const Case& c : cases) {
    block[68 + 3] = 0x03;
    Put32(block, 64, c.frameWords);
    Put32(block, 52, c.dataInRoom);
    Put64(block, 24, c.dataInAddress);
    EXPECT_EQ(card().Ioctl(fd_, kCommand, block.data()), -1) << c.what;
    EXPECT_EQ(card().LastErrorNumber(), c.error) << c.what;
  }
  if (sizeof(void*) == 4) {
    // A 32-bit process cannot own an address above 4 GiB.
    Put32(block, 64, 3);
    Put32(block, 52, 16);
    Put64(block, 24, 0x100000000ull);
    EXPECT_EQ(card().Ioctl(fd_, kCommand, block.data()), -1);
    EXPECT_EQ(card().LastErrorNumber(), EFAULT);
  }
  // A COMMAND for an IOC number the node does not have.
  m.ioc = 7;
  Sent s = Send(m);
  EXPECT_EQ(s.rc, -1);
  EXPECT_EQ(s.error, ENODEV);
}

TEST_F(CommandTest, PortFactsKnowOnePort) {
  Message m;
  m.frame = Frame(12, 0x05);
  m.replyRoom = 28;
  Sent s = Send(m);
  EXPECT_EQ(s.status(), 0);
  EXPECT_EQ(s.reply[2], 7);
  EXPECT_EQ(s.reply[21], 0x30);  // SAS port
  m.frame[6] = 1;
  s = Send(m);
  EXPECT_EQ(s.status(), 0x0007);
  EXPECT_EQ(s.reply[6], 1);
}

}  // namespace
