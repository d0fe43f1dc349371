// TOOLBOX (clean, ISTWI) and the driver's own ioctls: hard reset, the
// bus/target map and the diagnostic buffers.
#include <gtest/gtest.h>

#include <cerrno>

#include "emu/host/emulator.h"
#include "raw_port.h"

using namespace rawtest;

namespace {

class CardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card_ = &emu::Install(emu::DefaultHost());
    fd_ = card_->OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  }
  void TearDown() override { card_->CloseNode(fd_); }
  emu::AdapterModel& adapter() { return *card_->model().FirstAdapter(); }
  Sent Send(const Message& m) { return SendCommand(*card_, fd_, m); }
  int Ioctl(uint32_t request, std::vector<uint8_t>& block) {
    int rc = card_->Ioctl(fd_, request, block.data());
    return rc == 0 ? 0 : card_->LastErrorNumber();
  }

  emu::Emulator* card_ = nullptr;
  int fd_ = -1;
};

Message Istwi(uint8_t device, uint8_t action, std::vector<uint8_t> tx, uint16_t rxLength) {
  Message m;
  m.frame = Frame(48, 0x17);
  m.frame[0] = 3;
  m.frame[20] = device;
  m.frame[21] = action;
  Put16(m.frame, 24, static_cast<uint16_t>(tx.size()));
  Put16(m.frame, 26, rxLength);
  m.dataOut = std::move(tx);
  m.dataInRoom = rxLength;
  m.replyRoom = 28;
  return m;
}

TEST_F(CardTest, IstwiReadsAndWritesTheTwoWireDevices) {
  adapter().twoWire[0x50] = {0x10, 0x11, 0x12, 0x13, 0x14};
  Sent read = Send(Istwi(0x50, 1, {}, 3));
  EXPECT_EQ(read.status(), 0);
  EXPECT_EQ(read.dataIn, (std::vector<uint8_t>{0x10, 0x11, 0x12}));
  EXPECT_EQ(Get16(read.reply, 26), 3);
  EXPECT_EQ(read.reply[20], 0x50);

  Sent sequence = Send(Istwi(0x50, 3, {3}, 4));  // register 3, then past the end
  EXPECT_EQ(sequence.dataIn, (std::vector<uint8_t>{0x13, 0x14, 0xFF, 0xFF}));

  EXPECT_EQ(Send(Istwi(0x50, 2, {1, 0xA1, 0xA2}, 0)).status(), 0);
  EXPECT_EQ(adapter().twoWire[0x50], (std::vector<uint8_t>{0x10, 0xA1, 0xA2, 0x13, 0x14}));

  Sent absent = Send(Istwi(0x51, 1, {}, 2));
  EXPECT_EQ(absent.status(), 0x0007);
  EXPECT_EQ(absent.reply[22], 1);  // no acknowledge
  EXPECT_TRUE(absent.guardsIntact);
  Sent unknownAction = Send(Istwi(0x50, 9, {}, 2));
  EXPECT_EQ(unknownAction.status(), 0x0007);
}

TEST_F(CardTest, CleanResetsTheNvramOfTheFlaggedPages) {
  emu::ConfigPage& io1 = *adapter().FindPage(0, 1);
  emu::ConfigPage& mfg0 = *adapter().FindPage(9, 0);
  emu::ConfigPage& mfg1 = *adapter().FindPage(9, 1);
  // The card's identity is programmed into NVRAM; the defaults lack it.
  ASSERT_NE(mfg0.nvram, mfg0.defaults);
  ASSERT_EQ(mfg1.nvram[4], 0x82);
  ASSERT_EQ(mfg1.defaults[4], 0x00);
  io1.nvram[4] = 0x40;
  Message m;
  m.frame = Frame(16, 0x17);
  Put32(m.frame, 12, 0x40000000);  // the manufacturing pages alone
  m.replyRoom = 20;
  EXPECT_EQ(Send(m).status(), 0);
  EXPECT_EQ(mfg0.nvram, mfg0.defaults);
  EXPECT_NE(io1.nvram, io1.defaults);
  mfg1.nvram[4] = 0x82;
  Put32(m.frame, 12, 0x20000000);  // the whole persistent configuration region
  EXPECT_EQ(Send(m).status(), 0);
  EXPECT_EQ(io1.nvram, io1.defaults);
  EXPECT_EQ(mfg1.nvram, mfg1.defaults);
  EXPECT_NE(mfg0.current, mfg0.defaults);  // the current copies stay until a reset
  EXPECT_EQ(card_->runtime("/dev/qmx2ctl_cx", 0).toolboxCleans, 2u);
  m.frame[0] = 7;  // no such tool
  EXPECT_EQ(Send(m).status(), 0x0007);
}

// A hard reset returns when the controller is back: it takes virtual time
// (the clock moves, the program's waits do not), and the modules, dropped
// from the bus meanwhile, start their sessions anew.
TEST_F(CardTest, HardResetsAreCountedPerAdapter) {
  std::vector<uint8_t> block(12, 0);
  card_->runtime("/dev/qmx2ctl_cx", 0).modules[5].unlockLevel = 1;
  int64_t before = card_->Time();
  EXPECT_EQ(Ioctl(kHardReset, block), 0);
  EXPECT_EQ(card_->Time(), before + 3);
  EXPECT_EQ(card_->WaitedMicroseconds(), 0u);
  EXPECT_EQ(card_->runtime("/dev/qmx2ctl_cx", 0).modules[5].unlockLevel, 0);
  EXPECT_EQ(Ioctl(kHardReset, block), 0);
  Put32(block, 0, 1);
  EXPECT_EQ(Ioctl(kHardReset, block), ENODEV);
  EXPECT_EQ(card_->HardResets(), 2u);
  EXPECT_EQ(card_->runtime("/dev/qmx2ctl_cx", 0).hardResets, 2u);
  EXPECT_EQ(card_->BusyMicroseconds(), 6000000u);  // the refused one took none
}

TEST_F(CardTest, BusTargetMappingAnswersTheUnknownSide) {
  auto block = [](uint32_t target, uint32_t bus, uint16_t handle) {
    std::vector<uint8_t> b(24, 0);
    Put32(b, 8, 24);
    Put32(b, 12, target);
    Put32(b, 16, bus);
    Put16(b, 20, handle);
    return b;
  };
  adapter().modules.clear();
  adapter().raid = emu::RaidModel{};
  std::vector<uint8_t> b = block(0xFFFFFFFF, 0xFFFFFFFF, 9);
  EXPECT_EQ(Ioctl(kBusTargetMap, b), EINVAL);  // nothing maps on a card without modules
  adapter().busTargets = {{9, 0, 4}, {10, 0, 5}};
  b = block(0xFFFFFFFF, 0xFFFFFFFF, 10);
  EXPECT_EQ(Ioctl(kBusTargetMap, b), 0);
  EXPECT_EQ(Get32(b, 12), 5u);
  EXPECT_EQ(Get32(b, 16), 0u);
  b = block(4, 0, 0xFFFF);
  EXPECT_EQ(Ioctl(kBusTargetMap, b), 0);
  EXPECT_EQ(Get16(b, 20), 9);
  b = block(4, 0, 9);  // both sides given
  EXPECT_EQ(Ioctl(kBusTargetMap, b), EINVAL);
  b = block(7, 0, 0xFFFF);
  EXPECT_EQ(Ioctl(kBusTargetMap, b), EINVAL);
}

std::vector<uint8_t> Register(uint8_t type, uint32_t size) {
  std::vector<uint8_t> b(120, 0);
  Put32(b, 8, 123);
  b[13] = type;
  Put32(b, 16, 0x5);
  Put32(b, 112, size);
  Put32(b, 116, 0xABCDEF00u | type);
  return b;
}
std::vector<uint8_t> ById(uint32_t id) {
  std::vector<uint8_t> b(16, 0);
  Put32(b, 8, 19);
  Put32(b, 12, id);
  return b;
}
std::vector<uint8_t> Query(uint8_t type) {
  std::vector<uint8_t> b(124, 0);
  Put32(b, 8, 127);
  b[13] = type;
  Put32(b, 120, 0xABCDEF00u | type);
  return b;
}
std::vector<uint8_t> ReadBlock(uint32_t id, uint32_t start, uint32_t count, uint32_t room) {
  std::vector<uint8_t> b(28 + room, 0xEE);
  Put32(b, 0, 0);
  Put32(b, 4, 0);
  Put32(b, 8, 16 + room + 15);
  Put32(b, 12, 0);
  Put32(b, 16, start);
  Put32(b, 20, count);
  Put32(b, 24, id);
  return b;
}

TEST_F(CardTest, DiagnosticBuffersLiveFromRegisterToUnregister) {
  adapter().diagnosticData[0] = {1, 2, 3, 4, 5, 6, 7, 8};
  std::vector<uint8_t> b = Register(0, 65536);
  ASSERT_EQ(Ioctl(kDiagRegister, b), 0);
  b = Query(0);
  ASSERT_EQ(Ioctl(kDiagQuery, b), 0);
  EXPECT_EQ(Get16(b, 14), 0x0007);  // owned, valid, firmware access
  EXPECT_EQ(Get32(b, 16), 5u);
  EXPECT_EQ(Get32(b, 112), 65536u);

  b = ReadBlock(0xABCDEF00, 4, 8, 8);
  ASSERT_EQ(Ioctl(kDiagRead, b), 0);
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 28, b.end()), (std::vector<uint8_t>{5, 6, 7, 8, 0, 0, 0, 0}));

  b = ById(0xABCDEF00);
  EXPECT_EQ(Ioctl(kDiagUnregister, b), EINVAL);  // still the controller's
  b = ById(0xABCDEF00);
  EXPECT_EQ(Ioctl(kDiagRelease, b), 0);
  b = Query(0);
  ASSERT_EQ(Ioctl(kDiagQuery, b), 0);
  EXPECT_EQ(Get16(b, 14), 0x0003);
  b = ById(0xABCDEF00);
  EXPECT_EQ(Ioctl(kDiagUnregister, b), 0);
  b = Query(0);
  EXPECT_EQ(Ioctl(kDiagQuery, b), EINVAL);
}

TEST_F(CardTest, DiagnosticBufferErrorsAreTheDriversOwn) {
  std::vector<uint8_t> b = Register(0, 32768);
  ASSERT_EQ(Ioctl(kDiagRegister, b), 0);
  struct Case {
    const char* what;
    uint32_t request;
    std::vector<uint8_t> block;
    int error;
  } cases[] = {
      {"buffer type the controller cannot keep", kDiagRegister, Register(2, 32768), EPERM},
      {"size not a multiple of 4", kDiagRegister, Register(1, 32770), EINVAL},
      {"registered twice", kDiagRegister, Register(0, 32768), EINVAL},
      {"more than the driver can allocate", kDiagRegister, Register(1, 0x7FFFFFFC), ENOMEM},
      {"query of a type never registered", kDiagQuery, Query(1), EINVAL},
      {"read of a type never registered", kDiagRead, ReadBlock(0xABCDEF01, 0, 4, 4), EPERM},
      {"read of a foreign id", kDiagRead, ReadBlock(0x12345678, 0, 4, 4), EINVAL},
      {"read at an odd offset", kDiagRead, ReadBlock(0xABCDEF00, 2, 4, 4), EINVAL},
      {"read past the buffer", kDiagRead, ReadBlock(0xABCDEF00, 32772, 4, 4), EINVAL},
      {"release of an unknown id", kDiagRelease, ById(0xABCDEF01), EINVAL},
  };
  for (Case& c : cases) EXPECT_EQ(Ioctl(c.request, c.block), c.error) << c.what;

  // A block whose maximum data size leaves no room for the data.
  b = ReadBlock(0xABCDEF00, 0, 64, 64);
  Put32(b, 8, 16 + 32);
  EXPECT_EQ(Ioctl(kDiagRead, b), EFAULT);
  EXPECT_EQ(b[28], 0xEE);
}

}  // namespace
