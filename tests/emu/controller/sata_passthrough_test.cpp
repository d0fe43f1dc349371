// The SATA passthrough envelope: routed to a module by DevHandle, bare or a
// RAID physical disk; the controller holds the frame's direction flags
// against the command's data phase and the data length against what the
// module returns; commands a module does not know are aborted.
#include "emu/card_file/named_cards.h"
#include "module_fixture.h"

using namespace rawtest;

namespace {

using SataPassthrough = ModuleFixture;

TEST_F(SataPassthrough, AMemberAndABareModuleBothAnswer) {
  for (emu::HostModel (*host)() : {emu::DefaultHost, emu::UnconfiguredHost}) {
    Use(host());  // the module in slot 5 a member, then bare
    Sent s = Send(SataCommand(kSlot5, 0xEC));  // IDENTIFY DEVICE
    ASSERT_EQ(s.status(), 0);
    EXPECT_EQ(s.reply[2], 12);            // 48-byte reply
    EXPECT_EQ(s.reply[3], 0x1C);
    EXPECT_EQ(s.reply[13], 0);            // SAS status
    EXPECT_EQ(s.reply[20], 0x34);         // Device-to-Host register FIS
    EXPECT_EQ(s.reply[22], 0x50);         // ready, seek complete
    EXPECT_EQ(s.reply[23], 0x00);
    EXPECT_NE(Get32(s.reply, 40), 0u);    // the link is up
    EXPECT_EQ(Get32(s.reply, 44), 512u);  // moved
    EXPECT_TRUE(s.guardsIntact);
  }
}

TEST_F(SataPassthrough, UnknownCommandsAreAbortedAndRecorded) {
  for (uint8_t command : {0x00, 0x25, 0xE5, 0xFF}) {  // NOP, READ DMA EXT, CHECK POWER MODE, ...
    Sent s = Run(kSlot5, Fis{command});
    EXPECT_TRUE(Aborted(s)) << int(command);
    EXPECT_EQ(Get32(s.reply, 44), 0u);
  }
  const std::vector<emu::AtaCommandRecord>& seen = card().ModuleActivity(5).commands;
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[1].command, 0x25);
  EXPECT_EQ(seen[1].status, 0x51);
  EXPECT_EQ(seen[1].error, 0x04);
}

// A module-abort fault aborts the (skip + 1)-th ATA command, whichever
// module gets it, without running it: the module sees nothing and no data moves.
TEST_F(SataPassthrough, AModuleAbortFaultAbortsOneCommand) {
  emu::Fault abort;
  abort.kind = emu::FaultKind::kModuleAbort;
  abort.times = 1;
  abort.skip = 1;
  card().ArmFault(abort);
  EXPECT_TRUE(Succeeded(Identify(kSlot5)));
  Sent s = Identify(kSlot5);
  EXPECT_TRUE(Aborted(s));
  EXPECT_EQ(Get32(s.reply, 44), 0u);
  EXPECT_EQ(card().ModuleActivity(5).commands.size(), 1u);
  EXPECT_TRUE(Succeeded(Identify(kSlot5)));
  EXPECT_TRUE(card().model().faults.empty());
}

TEST_F(SataPassthrough, TheControllerChecksDirectionAndLength) {
  // IDENTIFY returns data: without the read flag the controller refuses it
  // before the module sees it; with only the unspecified flag it goes through.
  Message m = Ata(kSlot5, Fis{0xEC}, 512);
  Put16(m.frame, 4, 0x0012);  // PIO, write
  EXPECT_EQ(Send(m).status(), 0x0007);
  Put16(m.frame, 4, 0x0014);  // PIO, unspecified
  EXPECT_TRUE(Succeeded(Send(m)));
  EXPECT_EQ(card().ModuleActivity(5).commands.size(), 1u);

  // A data length shorter than the 512 bytes the module sends: overrun,
  // and no more than the data length is written.
  m = Ata(kSlot5, Fis{0xEC}, 512);
  Put32(m.frame, 24, 256);
  Sent s = Send(m);
  EXPECT_EQ(s.status(), 0x0044);
  EXPECT_EQ(Get32(s.reply, 44), 256u);
  EXPECT_EQ(s.dataIn[256], kGuardByte);
  EXPECT_TRUE(s.guardsIntact);

  // The host's room cuts too.
  m = Ata(kSlot5, Fis{0xEC}, 512);
  m.dataInRoom = 100;
  s = Send(m);
  EXPECT_EQ(s.status(), 0x0044);
  EXPECT_TRUE(s.guardsIntact);

  // A write command whose data is shorter than its sectors is aborted.
  std::vector<uint8_t> half(256, 0);
  EXPECT_TRUE(Aborted(Run(kSlot5, SmartFis(0xD6, 0x80, 1), 0, half)));
}

TEST_F(SataPassthrough, OnlySataModulesOnTheBusAnswer) {
  EXPECT_EQ(Send(SataCommand(0x33, 0xEC)).status(), 0x0043);
  EXPECT_EQ(Send(SataCommand(0x40, 0xEC)).status(), 0x0043);  // a volume is no SATA device
  Message m = SataCommand(kSlot5, 0xEC);
  m.frame[28] = 0x34;  // not a Host-to-Device FIS
  EXPECT_EQ(Send(m).status(), 0x0007);
  m = SataCommand(kSlot5, 0xEC);
  m.frame.resize(44);
  EXPECT_EQ(Send(m).status(), 0x0007);
  Use(emu::ModuleMissingHost());
  EXPECT_EQ(Send(SataCommand(kSlot6, 0xEC)).status(), 0x0043);
  Use(emu::SasModuleHost());
  EXPECT_EQ(Send(SataCommand(kSlot7, 0xEC)).status(), 0x0007);  // an SSP target
  EXPECT_TRUE(Succeeded(Send(SataCommand(kSlot6, 0xEC))));
}

TEST_F(SataPassthrough, ARefusingModuleAbortsEverything) {
  ASSERT_TRUE(card().SetModuleRefusing(6, true));
  EXPECT_TRUE(Aborted(Identify(kSlot6)));
  EXPECT_TRUE(Aborted(Run(kSlot6, SmartFis(0xD0, 0, 1), 512)));
  EXPECT_TRUE(Aborted(Run(kSlot6, Fis{0x27, 0, 0, 0x40})));
  EXPECT_TRUE(Succeeded(Identify(kSlot5)));
  card().SetModuleRefusing(6, false);
  EXPECT_TRUE(Succeeded(Identify(kSlot6)));
}

}  // namespace
