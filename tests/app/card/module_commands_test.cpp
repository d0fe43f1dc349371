// The application's own ATA and SCSI commands to a module, the media
// erase notice, and the protocol and volume checks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/card/device_protocol.h"
#include "app/card/module_ata.h"
#include "app/card/module_scsi.h"
#include "app/shell/program_state.h"
#include "app/health/smart_attributes.h"
#include "card_fixture.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "emu/controller/command_handler.h"
#include "emu/card_file/named_cards.h"

namespace {

class ModuleCommands : public app_test::CardFixture {
 protected:
  void StartCard(const std::string& name) {
    emu::HostModel host;
    ASSERT_TRUE(emu::BuildNamedCard(name, &host));
    Start(std::move(host));
    SelectedController = 1;
  }
  uint32_t Handle(uint32_t slot) {
    uint32_t ssd = kNoModuleHandle;
    EXPECT_EQ(LibZKGetSSDHandle(adapter_, slot, &ssd), 0u) << slot;
    return ssd;
  }
  const emu::AtaCommandRecord& LastCommand(uint8_t slot) { return card().ModuleActivity(slot).commands.back(); }
};

TEST_F(ModuleCommands, IdentifyDevice) {
  StartCard("locked-module");
  std::vector<uint8_t> identify(512, 0xEE);
  ASSERT_EQ(AtaIdentifyDevice(adapter_, Handle(6), identify.data()), 0u);
  EXPECT_EQ(LastCommand(6).command, 0xEC);
  EXPECT_EQ(LastCommand(6).device, 0x10);
  EXPECT_NE(GetLe16(identify.data(), 2 * 128) & 0x0004, 0);  // security locked
  ASSERT_EQ(AtaIdentifyDevice(adapter_, Handle(5), identify.data()), 0u);
  EXPECT_EQ(GetLe16(identify.data(), 2 * 128) & 0x0004, 0);

  // A module that refuses it, and one that does not speak SATA: nothing
  // but zeros comes back.
  card().SetModuleRefusing(5, true);
  identify.assign(512, 0xEE);
  EXPECT_NE(AtaIdentifyDevice(adapter_, Handle(5), identify.data()), 0u);
  EXPECT_EQ(identify, std::vector<uint8_t>(512, 0));
  StartCard("sas-module");
  identify.assign(512, 0xEE);
  EXPECT_NE(AtaIdentifyDevice(adapter_, Handle(7), identify.data()), 0u);
  EXPECT_EQ(identify, std::vector<uint8_t>(512, 0));
}

TEST_F(ModuleCommands, NativeAndCurrentMaximumAddress) {
  StartCard("unconfigured");
  // A native capacity beyond 32 bits: only the low 32 bits of its last
  // address come back.
  card().Module(4)->nativeSectors = 0x100000010ull;
  uint32_t ssd = Handle(4);
  uint32_t address = 0;
  ASSERT_EQ(ReadNativeMaxAddress(adapter_, ssd, &address), 0u);
  EXPECT_EQ(address, 0x0000000Fu);
  EXPECT_EQ(LastCommand(4).command, 0x27);
  EXPECT_EQ(LastCommand(4).device, 0x40);
  // The top byte of the new maximum travels in LBA bits 24-31, the bytes
  // above stay 0, and the count says keep it.
  ASSERT_EQ(SetMaxAddress(adapter_, ssd, 0x12345678), 0u);
  EXPECT_EQ(LastCommand(4).command, 0x37);
  EXPECT_EQ(LastCommand(4).lba, 0x12345678u);
  EXPECT_EQ(LastCommand(4).count, 1);
  EXPECT_EQ(card().Module(4)->maxSectors, 0x12345679u);
  // Without READ NATIVE MAX ADDRESS right before, the module aborts it.
  EXPECT_EQ(SetMaxAddress(adapter_, ssd, 0x1000), 1u);
  card().Module(4)->setMaxRefusals = 1;
  ASSERT_EQ(ReadNativeMaxAddress(adapter_, ssd, &address), 0u);
  EXPECT_EQ(SetMaxAddress(adapter_, ssd, 0x1000), 1u);
  card().SetModuleRefusing(4, true);
  address = 77;
  EXPECT_EQ(ReadNativeMaxAddress(adapter_, ssd, &address), 1u);
  EXPECT_EQ(address, 77u);
  // A controller that answers a non-zero IOCStatus carried neither command
  // out: no address, and no new maximum, whatever the status FIS holds.
  card().SetModuleRefusing(4, false);
  card().AnswerFunction(0x1C, 0x0004, 0, 1);
  EXPECT_EQ(ReadNativeMaxAddress(adapter_, ssd, &address), 1u);
  EXPECT_EQ(address, 77u);
  ASSERT_EQ(ReadNativeMaxAddress(adapter_, ssd, &address), 0u);
  card().AnswerFunction(0x1C, 0x0004, 0, 1);
  EXPECT_EQ(SetMaxAddress(adapter_, ssd, 0x1000), 1u);
  EXPECT_EQ(card().Module(4)->maxSectors, 0x12345679u);
}

TEST_F(ModuleCommands, SctStatusAndDiagnosticIdentify) {
  StartCard("default");
  uint32_t ssd = Handle(5);
  std::vector<uint8_t> status(512, 0);
  ASSERT_EQ(SmartReadLog(adapter_, ssd, status.data(), 512), 0u);
  EXPECT_EQ(GetLe16(status.data(), 0), 3);
  EXPECT_EQ(SmartReadLog(adapter_, ssd, status.data(), 100), 1u);  // not whole sectors

  card().SetSctBusy(5, 2);
  EXPECT_EQ(WaitSctStatus(adapter_, ssd, 5), 0u);
  EXPECT_EQ(card().TakeOutput(), "..");
  EXPECT_EQ(card().WaitedMicroseconds(), 2000000u);
  card().SetSctBusy(5, 5);
  EXPECT_EQ(WaitSctStatus(adapter_, ssd, 3), 1u);
  EXPECT_EQ(card().TakeOutput(), "...");

  std::vector<uint8_t> diag(512, 0xEE);
  ASSERT_EQ(DiagIdentify(adapter_, ssd, 5, diag.data()), 0u);
  EXPECT_EQ(GetLe16(diag.data(), 64), 16384);  // the flash page size
  card().SetSctBusy(5, 0);
  card().LockModule(5, true, "pw");
  EXPECT_EQ(DiagIdentify(adapter_, ssd, 5, diag.data()), 1u);
  EXPECT_EQ(card().TakeOutput(), "\nFailed to extract Diagnostic Identify info from SSD slot number 5... ");
}

TEST_F(ModuleCommands, SmartAutosaveNamesTheSlot) {
  StartCard("default");
  EXPECT_EQ(SmartAutosave(adapter_, Handle(4), 4), 0u);
  EXPECT_EQ(card().TakeOutput(), "Sending SMART ENABLE ATTRIBUTE AUTOSAVE to SSD slot number 4, Location Upper, Cage 1... ");
  EXPECT_EQ(LastCommand(4).features, 0xD2);
  EXPECT_EQ(LastCommand(4).count, 0xF1);

  StartCard("sas-module");
  EXPECT_NE(SmartAutosave(adapter_, Handle(7), 7), 0u);
  const std::string attempt = "Sending SMART ENABLE ATTRIBUTE AUTOSAVE to SSD slot number 7, Location Lower, Cage 2... ";
  EXPECT_EQ(card().TakeOutput(), attempt + "FAILED\n" + attempt + "FAILED\n" + attempt + "FAILED\n");
  EXPECT_EQ(card().WaitedMicroseconds(), 3000000u);
}

TEST_F(ModuleCommands, MediaEraseNotice) {
  StartCard("unconfigured");
  LibHandle vx = adapter_;
  uint32_t devices = 0;
  ASSERT_EQ(QmxGetDeviceCount(&vx, &devices), kLibOk);
  for (uint32_t on : {1u, 0u}) {
    uint32_t result = NotifyMediaErase(adapter_, on);
    ASSERT_FALSE(card().RaidActions().empty());
    const emu::RaidActionRecord& sent = card().RaidActions().back();
    EXPECT_EQ(sent.action, 0x83);
    EXPECT_EQ(sent.actionDataWord, on == 1 ? devices * 1536 + 1 : 0u);
    EXPECT_EQ(result, sent.iocStatus != 0 ? 1u : 0u);
  }
  EXPECT_EQ(devices * 1536 + 1, 0x1801u);  // four devices; eight would give 0x3001
}

TEST_F(ModuleCommands, InquiryAndSerialNumber) {
  StartCard("default");
  std::vector<uint8_t> inquiry(96, 0);
  ASSERT_EQ(ScsiInquiry(Handle(6), inquiry.data()), 0u);
  EXPECT_EQ(std::string(inquiry.begin() + 36, inquiry.begin() + 56), "ZKM2406A0106        ");
  EXPECT_EQ(inquiry[57] & 1, 0);
  std::vector<uint8_t> all(512, 0);
  EXPECT_EQ(ScsiInquiryStd(Handle(6), all.data()), 0u);
  EXPECT_TRUE(std::equal(inquiry.begin(), inquiry.end(), all.begin()));
  // Exactly the 20 bytes of the field.
  std::vector<uint8_t> serial(24, 0xEE);
  ASSERT_EQ(ScsiSerialNumber(Handle(6), serial.data()), 0u);
  EXPECT_EQ(std::string(serial.begin(), serial.begin() + 20), "ZKM2406A0106        ");
  EXPECT_EQ(serial[20], 0xEE);
  // MODE SENSE, which the module does not know: a failure, not a success.
  std::vector<uint8_t> mode(252, 0);
  EXPECT_EQ(ModeSense10(Handle(6), mode.data()), 1u);
  EXPECT_EQ(ModeSelect10(Handle(6), mode.data(), 12), 1u);
  EXPECT_EQ(ScsiInquiry(0x02FFFFFF, inquiry.data()), kLibBadHandle);
}

TEST_F(ModuleCommands, ErrorHistoryStaysInsideTheDataReceived) {
  StartCard("unconfigured");
  // A directory that claims far more entries than its 2088 bytes hold.
  card().RegisterFunction(0x00, emu::FunctionHandler{96, [](emu::CommandRequest& request, emu::CommandAnswer& answer) {
                            std::vector<uint8_t> data(2088, 0);
                            data[30] = 0xFF;
                            data[31] = 0xF8;
                            data[32] = 0x01;
                            data[39] = 0x40;
                            answer.dataIn = data;
                            answer.reply = emu::NewReply(request, 40);
                            emu::SetReplyStatus(&answer.reply, 0);
                            answer.reply[20] = static_cast<uint8_t>(data.size());
                            answer.reply[21] = static_cast<uint8_t>(data.size() >> 8);
                          }});
  std::vector<uint8_t> buffer(2088, 0);
  ASSERT_EQ(PrintErrorHistory(Handle(4), buffer.data(), 4), 0u);
  std::string text = card().TakeOutput();
  EXPECT_EQ(text.find("\n\n ______________________________ \n|    ERROR HISTORY (SSD #4)    |\n|"), 0u);
  EXPECT_NE(text.find("|     0x 1     |    0x40    |\n"), std::string::npos);
  size_t rows = 0;
  for (size_t at = text.find("|     0x"); at != std::string::npos; at = text.find("|     0x", at + 1)) ++rows;
  EXPECT_EQ(rows, (2088u - 32u) / 8u);
}

TEST_F(ModuleCommands, SasLogPagesDump) {
  StartCard("sas-module");
  DumpSasHealthLogPages(Handle(7));
  std::string text = card().TakeOutput();
  EXPECT_EQ(text.find("\nInformational Exceptions Log Page Raw Data\n\n0x0000 : 2f00"), 0u) << text.substr(0, 80);
  for (const char* title : {"\nStartStopCycleCounter Log Page Raw Data\n\n0x0000 : 0e00",
                            "\nStatistics Performance Log Page Raw Data\n", "\nError Statistics Log Page Raw Data\n",
                            "\nWrite Error Counter Log Page Raw Data\n\n0x0000 : 0200"}) {
    EXPECT_NE(text.find(title), std::string::npos) << title;
  }
  EXPECT_EQ(text.find("Failed"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
  // A SATA module does not answer LOG SENSE.
  DumpSasHealthLogPages(Handle(4));
  text = card().TakeOutput();
  EXPECT_NE(text.find("\nInformational Exceptions Log Page Raw Data\n\nFailed to fetch the page\n"), std::string::npos);
}

TEST_F(ModuleCommands, ProtocolQueries) {
  StartCard("sas-module");
  uint32_t protocol = 0;
  EXPECT_EQ(GetDeviceProtocol(7, &protocol), 0u);
  EXPECT_EQ(protocol, kProtocolSata);  // whatever the card says
  EXPECT_EQ(GetDeviceProtocol(2, &protocol), 0u);
  EXPECT_EQ(protocol, kProtocolSata);
  // The card's own view, from SAS device page 0.
  EXPECT_EQ(QueryDeviceProtocol(card().Module(7)->devHandle, adapter_, &protocol), 0u);
  EXPECT_EQ(protocol, kProtocolSas);
  EXPECT_EQ(QueryDeviceProtocol(card().Module(4)->devHandle, adapter_, &protocol), 0u);
  EXPECT_EQ(protocol, kProtocolSata);
  protocol = 0;
  EXPECT_EQ(QueryDeviceProtocol(0x00EE, adapter_, &protocol), 0u);
  EXPECT_EQ(protocol, kProtocolSata);

  protocol = 9;
  EXPECT_EQ(CheckMixedProtocol(adapter_, &protocol), 0u);
  EXPECT_EQ(protocol, kProtocolSata);
  emu::HostModel empty = emu::UnconfiguredHost();
  empty.FirstAdapter()->modules.clear();
  Start(std::move(empty));
  protocol = 9;
  EXPECT_EQ(CheckMixedProtocol(adapter_, &protocol), 0u);
  EXPECT_EQ(protocol, 0u);
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(ModuleCommands, VolumeState) {
  StartCard("default");
  bool present = false;
  EXPECT_TRUE(CheckVolumeState(adapter_, &present));
  EXPECT_TRUE(present);
  StartCard("unconfigured");
  present = true;  // no volume leaves the answer as it was
  EXPECT_TRUE(CheckVolumeState(adapter_, &present));
  EXPECT_TRUE(present);
  EXPECT_EQ(card().TakeOutput(), "");
}

}  // namespace
