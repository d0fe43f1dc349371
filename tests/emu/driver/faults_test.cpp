// Faults armed against the program: failed ioctls, chosen answers, missing
// and cut pages, cut replies; each for a number of times or until cleared.
#include <gtest/gtest.h>

#include <cerrno>

#include "emu/host/emulator.h"
#include "raw_port.h"

using namespace rawtest;

namespace {

class FaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card_ = &emu::Install(emu::DefaultHost());
    fd_ = card_->OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  }
  void TearDown() override { card_->CloseNode(fd_); }
  emu::Emulator& card() { return *card_; }
  Sent Facts() {
    Message m;
    m.frame = Frame(12, 0x03);
    return SendCommand(*card_, fd_, m);
  }
  int IocInfo() {
    std::vector<uint8_t> block(92, 0);
    return card_->Ioctl(fd_, kIocInfo, block.data()) == 0 ? 0 : card_->LastErrorNumber();
  }

  emu::Emulator* card_ = nullptr;
  int fd_ = -1;
};

TEST_F(FaultTest, AnIoctlFailsForTheTimesAsked) {
  card().FailIoctl(kIocInfo, EIO, 2);
  EXPECT_EQ(IocInfo(), EIO);
  EXPECT_EQ(IocInfo(), EIO);
  EXPECT_EQ(IocInfo(), 0);
  EXPECT_TRUE(card().model().faults.empty());
  EXPECT_EQ(card().log()[0].errorNumber, EIO);

  card().FailIoctl(kIocInfo, EBUSY);  // until cleared
  for (int i = 0; i < 5; ++i) EXPECT_EQ(IocInfo(), EBUSY);
  card().ClearFaults();
  EXPECT_EQ(IocInfo(), 0);
}

// A fault may name one adapter by its IOC number (the others answer as
// ever) and, for a page, one CONFIG action.
TEST_F(FaultTest, AFaultMayNameOneAdapterAndOneAction) {
  card().model().nodes[0].adapters.push_back(emu::DefaultCorvexium(1));
  emu::Fault ioctlFault;
  ioctlFault.kind = emu::FaultKind::kIoctlError;
  ioctlFault.request = kIocInfo;
  ioctlFault.errorNumber = EIO;
  ioctlFault.ioc = 1;
  card().ArmFault(ioctlFault);
  EXPECT_EQ(IocInfo(), 0);
  std::vector<uint8_t> block(92, 0);
  Put32(block, 0, 1);
  EXPECT_EQ(card().Ioctl(fd_, kIocInfo, block.data()), -1);
  EXPECT_EQ(card().LastErrorNumber(), EIO);

  emu::Fault nvram;
  nvram.kind = emu::FaultKind::kAnswer;
  nvram.function = 0x04;
  nvram.pageType = 9;
  nvram.pageNumber = 10;
  nvram.action = 6;
  nvram.iocStatus = 0x0004;
  nvram.times = 1;
  card().ArmFault(nvram);
  EXPECT_EQ(ReadPage(card(), fd_, 9, 10, 0, 0, 1).readStatus, 0);  // the current copy: untouched
  PageRead r = ReadPage(card(), fd_, 9, 10, 0, 0, 6);
  EXPECT_EQ(r.headerStatus, 0);
  EXPECT_EQ(r.readStatus, 0x0004);
  EXPECT_EQ(ReadPage(card(), fd_, 9, 10, 0, 0, 6).readStatus, 0);  // spent
  nvram.times = 0;  // arms nothing
  card().ArmFault(nvram);
  EXPECT_EQ(card().model().faults.size(), 1u);
}

TEST_F(FaultTest, AnIoctlFaultMayNameOneFunction) {
  card().FailIoctl(kCommand, ETIMEDOUT, -1, 0x04);
  EXPECT_EQ(Facts().rc, 0);
  Message config;
  config.frame = ConfigFrame(0, 9, 0);
  config.replyRoom = 24;
  Sent s = SendCommand(card(), fd_, config);
  EXPECT_EQ(s.rc, -1);
  EXPECT_EQ(s.error, ETIMEDOUT);
  EXPECT_EQ(card().log().back().function, 0x04);
}

TEST_F(FaultTest, AFunctionAnswersTheChosenStatus) {
  card().AnswerFunction(0x03, 0x0004, 0x31120101, 1);
  Sent s = Facts();
  EXPECT_EQ(s.rc, 0);
  EXPECT_EQ(s.status(), 0x8004);  // log info flagged
  EXPECT_EQ(s.logInfo(), 0x31120101u);
  EXPECT_EQ(card().log().back().replyBytesWritten, 20u);  // a bare reply: nothing was done
  EXPECT_EQ(Facts().status(), 0);

  card().AnswerFunction(0x03, 0x0002, 0);
  EXPECT_EQ(Facts().status(), 0x0002);  // without log info, no flag
}

TEST_F(FaultTest, ConfigAnswersMayNameOnePage) {
  card().AnswerConfigPage(9, 10, 0, 0x0022, 0x20000000, 1);
  EXPECT_EQ(ReadPage(card(), fd_, 9, 0).readStatus, 0);
  EXPECT_EQ(ReadPage(card(), fd_, 9, 10).headerStatus, 0x8022);
  EXPECT_EQ(ReadPage(card(), fd_, 9, 10).readStatus, 0);
}

TEST_F(FaultTest, ARemovedPageIsMissingUntilCleared) {
  card().RemovePage(9, 10);
  EXPECT_EQ(ReadPage(card(), fd_, 9, 10).headerStatus, 0x0022);
  EXPECT_EQ(ReadPage(card(), fd_, 9, 5).headerStatus, 0);
  card().ClearFaults();
  EXPECT_EQ(ReadPage(card(), fd_, 9, 10).headerStatus, 0);
  EXPECT_NE(card().model().FirstAdapter()->FindPage(9, 10), nullptr);  // the page itself stays
}

TEST_F(FaultTest, ACutPageAnnouncesAndReturnsLess) {
  card().CutPage(9, 0, 0, 30);  // whole words only: 28 bytes
  PageRead r = ReadPage(card(), fd_, 9, 0);
  EXPECT_EQ(r.headerReply[21], 7);
  EXPECT_EQ(r.readStatus, 0);
  ASSERT_EQ(r.bytes.size(), 28u);
  EXPECT_EQ(r.bytes[1], 7);
  EXPECT_EQ(card().log().back().dataInBytesWritten, 28u);
  // A reader that keeps asking for the whole page is refused.
  Message full;
  full.frame = ConfigFrame(1, 9, 0, 0, 0, 19);
  full.replyRoom = 24;
  full.dataInRoom = 76;
  EXPECT_EQ(SendCommand(card(), fd_, full).status(), 0x0023);
}

// A fault with skip = N lets the first N matching requests through (those
// that do not match leave the count alone), then acts for its times.
TEST_F(FaultTest, ASkippingFaultActsOnTheRequestAfterTheSkippedOnes) {
  emu::Fault ioctlFault;
  ioctlFault.kind = emu::FaultKind::kIoctlError;
  ioctlFault.request = kIocInfo;
  ioctlFault.errorNumber = EIO;
  ioctlFault.times = 1;
  ioctlFault.skip = 2;
  card().ArmFault(ioctlFault);
  EXPECT_EQ(IocInfo(), 0);
  EXPECT_EQ(Facts().status(), 0);  // another request: not counted
  EXPECT_EQ(IocInfo(), 0);
  EXPECT_EQ(card().model().faults.at(0).skip, 0);
  EXPECT_EQ(IocInfo(), EIO);
  EXPECT_EQ(IocInfo(), 0);
  EXPECT_TRUE(card().model().faults.empty());

  // An answer for a function without a page filter answers every CONFIG
  // request of the function, whatever page it names: the third one here.
  emu::Fault answer;
  answer.kind = emu::FaultKind::kAnswer;
  answer.function = 0x04;
  answer.iocStatus = 0x0004;
  answer.times = 1;
  answer.skip = 2;
  card().ArmFault(answer);
  PageRead first = ReadPage(card(), fd_, 9, 10);  // header and read: two requests
  EXPECT_EQ(first.headerStatus, 0);
  EXPECT_EQ(first.readStatus, 0);
  EXPECT_EQ(ReadPage(card(), fd_, 9, 0).headerStatus, 0x0004);
  EXPECT_EQ(ReadPage(card(), fd_, 9, 0).readStatus, 0);

  card().CutReply(0x03, 12, 1);
  card().model().faults.back().skip = 1;
  EXPECT_EQ(Facts().rc, 0);
  EXPECT_GT(card().log().back().replyBytesWritten, 12u);
  Facts();
  EXPECT_EQ(card().log().back().replyBytesWritten, 12u);
}

TEST_F(FaultTest, ACutReplyWritesOnlyThatMuch) {
  card().CutReply(0x03, 12, 1);
  Sent s = Facts();
  EXPECT_EQ(s.rc, 0);
  EXPECT_EQ(card().log().back().replyBytesWritten, 12u);
  EXPECT_EQ(s.reply[2], 3);
  EXPECT_EQ(s.reply[12], kGuardByte);  // byte 12 onward never written
  EXPECT_EQ(Facts().reply[12], 0);
}

TEST_F(FaultTest, FaultsTravelInTheCardFile) {
  card().FailIoctl(kCommand, EIO, 3, 0x09);
  card().AnswerConfigPage(9, 10, 0, 0x0022, 0x1234, -1);
  card().CutPage(15, 0, 0x12, 16);
  card().CutReply(0x12, 20, 2);
  card().RemovePage(0, 7);
  emu::Fault later;
  later.kind = emu::FaultKind::kModuleAbort;
  later.times = 1;
  later.skip = 4;
  card().ArmFault(later);
  std::string text = emu::FormatHostFile(card().model());
  EXPECT_NE(text.find("kind = module-abort\ntimes = 1\nskip = 4\n"), std::string::npos);
  emu::HostModel back;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(text, &back, &error)) << error;
  EXPECT_EQ(back.faults, card().model().faults);
  EXPECT_EQ(emu::FormatHostFile(back), text);
}

}  // namespace
