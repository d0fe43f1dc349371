// SEP slot status, SMP passthrough, SAS IO unit control and task
// management from raw frames.
#include "card_fixture.h"
#include "emu/card_file/named_cards.h"

using namespace rawtest;

namespace {

using EnclosureAndLink = CardFixture;

TEST_F(EnclosureAndLink, SlotStatusIsReadWrittenAndKept) {
  Sent read = Send(Sep(1, 5));
  ASSERT_EQ(read.status(), 0);
  EXPECT_EQ(read.reply[3], 0x18);
  EXPECT_EQ(Get32(read.reply, 20), 0x00000001u);
  Sent written = Send(Sep(0, 5, 1, 0x00020001));  // identify on
  EXPECT_EQ(written.status(), 0);
  EXPECT_EQ(card().SlotStatus(5), 0x00020001u);
  EXPECT_EQ(Get32(Send(Sep(1, 5)).reply, 20), 0x00020001u);
  EXPECT_EQ(Get32(Send(Sep(1, 0, 0, 0, 0, 0x0A)).reply, 20), 0x00020001u);  // by DevHandle
  EXPECT_EQ(card().SlotStatus(4), 0x00000001u);  // only that slot

  emu::HostModel back;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(emu::FormatHostFile(card().model()), &back, &error)) << error;
  EXPECT_EQ(back.FirstAdapter()->FindModule(5)->slotStatus, 0x00020001u);

  struct Case {
    const char* what;
    Message m;
    uint16_t status;
  } cases[] = {
      {"a slot without a module", Sep(1, 2), 0x0043},
      {"a slot past the enclosure", Sep(1, 8), 0x0007},
      {"an enclosure that does not exist", Sep(1, 5, 2), 0x0007},
      {"an unknown DevHandle", Sep(1, 0, 0, 0, 0, 0x33), 0x0043},
      {"an unknown action", Sep(7, 5), 0x0007},
      {"an unknown address form", Sep(1, 5, 1, 0, 2), 0x0007},
  };
  for (const Case& c : cases) EXPECT_EQ(Send(c.m).status(), c.status) << c.what;
  Use(emu::ModuleMissingHost());
  EXPECT_EQ(Send(Sep(1, 6)).status(), 0x0043);  // the slot is empty
}

TEST_F(EnclosureAndLink, SmpAnswersForTheExpanderlessTopology) {
  const uint64_t self = 0x500605B00C8A4D10ull;
  Sent general = Send(Smp(self, {0x40, 0x00, 0x00, 0x00}));
  ASSERT_EQ(general.status(), 0);
  EXPECT_EQ(general.reply[13], 0);
  uint16_t length = Get16(general.reply, 4);
  ASSERT_EQ(length, 28);
  EXPECT_EQ(general.dataIn[0], 0x41);
  EXPECT_EQ(general.dataIn[1], 0x00);
  EXPECT_EQ(general.dataIn[2], 0x00);  // accepted
  EXPECT_EQ(general.dataIn[9], 8);     // phys
  EXPECT_EQ(Be64(general.dataIn, 12), self);

  std::vector<uint8_t> discover(16, 0);
  discover[0] = 0x40;
  discover[1] = 0x10;
  for (uint8_t phy : {2, 6}) {
    discover[9] = phy;
    Sent d = Send(Smp(self, discover));
    ASSERT_EQ(d.status(), 0) << int(phy);
    EXPECT_EQ(d.dataIn[9], phy);
    EXPECT_EQ(d.dataIn[12] >> 4, phy == 6 ? 1 : 0);  // an end device on phy 6 only
    EXPECT_EQ(d.dataIn[15] & 0x01, phy == 6 ? 1 : 0);  // a SATA device
    EXPECT_EQ(Be64(d.dataIn, 24), phy == 6 ? 0x4433221106000000ull : 0);
  }
  discover[9] = 8;
  EXPECT_EQ(Send(Smp(self, discover)).dataIn[2], 0x10);  // phy does not exist
  EXPECT_EQ(Send(Smp(self, {0x40, 0x91, 0, 0})).dataIn[2], 0x01);  // unknown function
  Sent cut = Send(Smp(self, {0x40, 0x00, 0, 0}, 12));
  EXPECT_EQ(Get16(cut.reply, 4), 12);
  EXPECT_TRUE(cut.guardsIntact);

  Sent module = Send(Smp(0x4433221104000000ull, {0x40, 0x00, 0, 0}));
  EXPECT_EQ(module.status(), 0x0090);
  EXPECT_EQ(module.reply[13], 0x07);  // a SATA device speaks no SMP
  Sent nobody = Send(Smp(0x5000000000000001ull, {0x40, 0x00, 0, 0}));
  EXPECT_EQ(nobody.status(), 0x0090);
  EXPECT_EQ(nobody.reply[13], 0x03);
  EXPECT_EQ(Send(Smp(self, {0x41, 0x00})).status(), 0x0090);  // not a request frame
}

TEST_F(EnclosureAndLink, IoUnitControlOperations) {
  struct Case {
    Message m;
    uint16_t status;
  } cases[] = {
      {IoUnitControl(2), 0},          {IoUnitControl(11), 0},       {IoUnitControl(18), 0},
      {IoUnitControl(19), 0},         {IoUnitControl(13, 0x0A), 0}, {IoUnitControl(16, 0x0B), 0},
      {IoUnitControl(17, 0x0B), 0},   {IoUnitControl(6, 0, 7), 0},  {IoUnitControl(7, 0, 0), 0},
      {IoUnitControl(8, 0, 3), 0},    {IoUnitControl(0x80), 0},     {IoUnitControl(0xFF), 0},
      {IoUnitControl(13, 0x33), 0x0043}, {IoUnitControl(16, 0x40), 0x0043},
      {IoUnitControl(6, 0, 8), 0x0007},  {IoUnitControl(1), 0x0007},
      {IoUnitControl(20), 0x0007},       {IoUnitControl(0x7F), 0x0007},
  };
  for (const Case& c : cases) {
    Sent s = Send(c.m);
    EXPECT_EQ(s.status(), c.status) << int(c.m.frame[0]);
    EXPECT_EQ(s.reply[2], 5);  // 20-byte reply
  }
  ASSERT_EQ(card().IoUnitControls().size(), std::size(cases));
  EXPECT_EQ(card().IoUnitControls()[4].operation, 13);
  EXPECT_EQ(card().IoUnitControls()[4].devHandle, 0x0A);
  EXPECT_EQ(card().IoUnitControls()[7].phy, 7);

  // A vendor operation answered by a handler of the emulator's table.
  card().RegisterIoUnitVendorOperation(146, [](emu::CommandRequest&) {
    return emu::VendorOperationAnswer{0x0002, 0, 0};
  });
  card().RegisterIoUnitVendorOperation(147, [](emu::CommandRequest&) {
    return emu::VendorOperationAnswer{0, 0, 4321};
  });
  EXPECT_EQ(Send(IoUnitControl(146)).status(), 0x0002);
  Sent hours = Send(IoUnitControl(147));
  EXPECT_EQ(hours.status(), 0);
  EXPECT_EQ(Get16(hours.reply, 12), 4321);
}

TEST_F(EnclosureAndLink, TaskManagementCompletesAndResetsLeaveAUnitAttention) {
  struct Case {
    uint8_t type, lun;
    uint8_t response;
  } cases[] = {{1, 0, 0x00}, {2, 0, 0x00}, {7, 0, 0x00}, {10, 0, 0x00},
               {3, 0, 0x00}, {1, 1, 0x09}, {4, 0, 0x04}, {0, 0, 0x04}, {11, 0, 0x04}};
  for (const Case& c : cases) {
    Sent s = Send(TaskManagement(0x40, c.type, c.lun));
    EXPECT_EQ(s.status(), 0) << int(c.type);
    EXPECT_EQ(s.reply[4], c.response) << int(c.type) << "/" << int(c.lun);
    EXPECT_EQ(Get32(s.reply, 20), 0u);
  }
  EXPECT_EQ(Send(TaskManagement(0x33, 1)).status(), 0x0043);
  ASSERT_EQ(card().TaskManagements().size(), std::size(cases) + 1);
  EXPECT_EQ(card().TaskManagements()[5].lun[1], 1);

  // The volume was reset above: its next command reports it.
  Sent s = Send(ScsiCommand(0x40, ReadCapacity10(), 8));
  EXPECT_EQ(s.reply[12], 2);
  EXPECT_EQ(s.sense[2], 0x06);
  EXPECT_EQ(s.sense[12], 0x29);
  EXPECT_EQ(s.sense[13], 0x03);
  EXPECT_EQ(Send(ScsiCommand(0x40, ReadCapacity10(), 8)).reply[12], 0);
}

}  // namespace
