// Plain ATA and SCSI commands to one module: security erase, firmware
// download over ATA and SCSI, FORMAT UNIT.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "emu/controller/device_frames.h"
#include "emu/controller/handlers.h"
#include "emu/card_file/named_cards.h"
#include "tests/cardlib/cardlib_test_support.h"

namespace {

using cardlib_test::CardFile;
using cardlib_test::OpenCard;
using cardlib_test::OpenedCard;
using cardlib_test::SsdHandle;

constexpr uint8_t kSlot = 6;
constexpr uint64_t kSecond = 1000000;

class ModuleCommands : public ::testing::Test {
 protected:
  void Open(emu::HostModel host) {
    c_ = OpenCard(std::move(host));
    ssd_ = SsdHandle(c_.vx, kSlot);
    ASSERT_NE(ssd_, kNoModuleHandle);
    c_.card->ClearLog();
  }
  void SetUp() override { Open(CardFile("default")); }
  void TearDown() override { EXPECT_EQ(emu::Current().OpenDescriptors(), 0); }

  emu::ModuleRuntime& Activity(uint8_t slot = kSlot) { return c_.card->ModuleActivity(slot); }
  size_t CountCommands(uint8_t command) {
    size_t n = 0;
    for (const emu::AtaCommandRecord& r : Activity().commands) n += r.command == command;
    return n;
  }

  OpenedCard c_;
  uint32_t ssd_ = 0;
};

TEST_F(ModuleCommands, SecureEraseWithTheMasterPassword) {
  emu::ModuleModel* module = c_.card->Module(kSlot);
  module->masterPassword = "qwerty";
  module->userPassword = "userpw";  // security enabled
  EXPECT_EQ(LibZKSSDSecureErase(c_.vx, ssd_, "qwerty"), 0u);
  ASSERT_EQ(Activity().erases.size(), 1u);
  EXPECT_TRUE(Activity().erases[0].masterPassword);
  EXPECT_FALSE(Activity().erases[0].enhanced);
  EXPECT_EQ(Activity().erases[0].password, "qwerty");
  // 2 s before the first attempt, 100 ms between PREPARE and ERASE UNIT.
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 2100000u);
  EXPECT_EQ(CountCommands(0xF3), 1u);
  EXPECT_EQ(CountCommands(0xF4), 1u);
  EXPECT_EQ(Activity().commands.back().count, 1u);
  EXPECT_EQ(c_.card->log().back().timeoutSeconds, 100u);
}

TEST_F(ModuleCommands, SecureErasePasswordFillsItsFieldAtMost) {
  const std::string full(32, 'p');
  c_.card->Module(kSlot)->masterPassword = full;
  c_.card->Module(kSlot)->userPassword = "userpw";
  EXPECT_EQ(LibZKSSDSecureErase(c_.vx, ssd_, (full + "x").c_str()), 1u);
  EXPECT_EQ(c_.card->CountFunction(0x1C), 0u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 0u);
  EXPECT_EQ(LibZKSSDSecureErase(c_.vx, ssd_, nullptr), 1u);
  EXPECT_EQ(LibZKSSDSecureErase(c_.vx, ssd_, full.c_str()), 0u);
  ASSERT_EQ(Activity().erases.size(), 1u);
  EXPECT_EQ(Activity().erases[0].password, full);
}

TEST_F(ModuleCommands, SecureEraseWhosePrepareAlwaysFails) {
  ASSERT_TRUE(c_.card->SetModuleRefusing(kSlot, true));
  EXPECT_EQ(LibZKSSDSecureErase(c_.vx, ssd_, "qwerty"), 1u);
  EXPECT_EQ(CountCommands(0xF3), 21u);
  EXPECT_EQ(CountCommands(0xF4), 0u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 2 * kSecond + 20 * 15 * kSecond);
}

TEST_F(ModuleCommands, SecureEraseWithAWrongPasswordRetriesWithinEachAttempt) {
  c_.card->Module(kSlot)->masterPassword = "qwerty";
  c_.card->Module(kSlot)->userPassword = "userpw";
  EXPECT_EQ(LibZKSSDSecureErase(c_.vx, ssd_, "azerty"), 1u);
  EXPECT_EQ(Activity().erases.size(), 0u);
  // Each attempt: PREPARE, ERASE UNIT, a second PREPARE and ERASE UNIT.
  EXPECT_EQ(CountCommands(0xF3), 42u);
  EXPECT_EQ(CountCommands(0xF4), 42u);
  uint64_t perAttempt = 100000 + 1000000 + 100000 + 100000;
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 2 * kSecond + 20 * 15 * kSecond + 21 * perAttempt);
}

TEST_F(ModuleCommands, SecureEraseWithoutPasswordOrWaits) {
  EXPECT_EQ(SSDSecureErase(c_.vx, ssd_), 0u);
  ASSERT_EQ(Activity().erases.size(), 1u);
  EXPECT_EQ(Activity().erases[0].password, "");
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 100000u);
  // PREPARE 21 times when it keeps failing, then give up.
  ASSERT_TRUE(c_.card->SetModuleRefusing(kSlot, true));
  EXPECT_EQ(SSDSecureErase(c_.vx, ssd_), 1u);
  EXPECT_EQ(CountCommands(0xF3), 1u + 21u);
}

TEST_F(ModuleCommands, FirmwareDownloadInOneCommand) {
  struct Case {
    uint32_t bytes;
    uint8_t mode;
    uint8_t features;
    uint16_t count;  // as the module reads bytes 12-13
    uint64_t lba;
  };
  // 1000 bytes: 2 sectors. 300,000 bytes: 586 sectors = 0x024A, the high
  // byte in LBA low.
  const Case cases[] = {{1000, 1, 0x07, 2, 0}, {300000, 1, 0x07, 0x4A, 0x02}, {512, 0, 0x01, 1, 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.bytes);
    std::vector<uint8_t> image(k.bytes);
    for (uint32_t i = 0; i < k.bytes; ++i) image[i] = static_cast<uint8_t>(i * 7 + 1);
    size_t before = Activity().commands.size();
    EXPECT_EQ(LibZKSSDDownloadFirmware(0, kSlot, image.data(), k.bytes, k.mode), 0u);
    ASSERT_EQ(Activity().commands.size(), before + 1);
    const emu::AtaCommandRecord& sent = Activity().commands.back();
    EXPECT_EQ(sent.command, 0x92);
    EXPECT_EQ(sent.features, k.features);
    EXPECT_EQ(sent.count, k.count);
    EXPECT_EQ(sent.lba, k.lba);
    uint32_t padded = (k.bytes + 511) / 512 * 512;
    EXPECT_EQ(sent.dataLength, padded);
    ASSERT_FALSE(Activity().downloads.empty());
    std::vector<uint8_t> expected = image;
    expected.resize(padded, 0);
    EXPECT_EQ(Activity().downloads.back().image, expected);
    EXPECT_EQ(Activity().downloads.back().mode, k.features);
  }
}

TEST_F(ModuleCommands, FirmwareDownloadsThatCannotBeSent) {
  std::vector<uint8_t> image(1024, 0x5A);
  EXPECT_EQ(LibZKSSDDownloadFirmware(0, kSlot, image.data(), 1024, 2), 1u);    // no such mode
  EXPECT_EQ(LibZKSSDDownloadFirmware(0, kSlot, image.data(), 0, 1), 1u);       // nothing to send
  EXPECT_EQ(LibZKSSDDownloadFirmware(0, kSlot, nullptr, 1024, 1), 1u);
  // More sectors than the 16-bit count says (refused before any copy).
  EXPECT_EQ(LibZKSSDDownloadFirmware(0, kSlot, image.data(), 0xFFFF * 512 + 1, 1), 1u);
  EXPECT_EQ(LibZKSSDDownloadFirmware(0, 3, image.data(), 1024, 1), 1u);        // empty slot
  EXPECT_EQ(LibZKSSDDownloadFirmware(1, kSlot, image.data(), 1024, 1), 1u);    // no such card
  EXPECT_EQ(c_.card->CountFunction(0x1C), 0u);
  ASSERT_TRUE(c_.card->SetModuleRefusing(kSlot, true));
  EXPECT_EQ(LibZKSSDDownloadFirmware(0, kSlot, image.data(), 1024, 1), 1u);
  // Rows that carry no data out are not for whole images.
  EXPECT_EQ(SendSSDAtaData(c_.vx, ssd_, image.data(), 1024, kAtaRowIdentify), 1u);
  EXPECT_EQ(SendSSDAtaData(c_.vx, ssd_, image.data(), 1024, kAtaCommandRows), 1u);
}

TEST_F(ModuleCommands, TableRowsCarryWholeSectorsOnly) {
  std::vector<uint8_t> identify(512 * 256, 0);
  EXPECT_EQ(SendSSDAtaCommand(c_.vx, ssd_, identify.data(), 512, kAtaRowIdentify), 0u);
  EXPECT_EQ(GetLe16(identify.data(), 255 * 2) & 0xFF, 0xA5u);  // the checksum signature
  EXPECT_EQ(Activity().commands.back().command, 0xEC);
  EXPECT_EQ(Activity().commands.back().count, 1u);
  size_t sent = c_.card->CountFunction(0x1C);
  for (uint32_t length : {0u, 100u, 513u, 256u * 512}) {
    SCOPED_TRACE(length);
    EXPECT_EQ(SendSSDAtaCommand(c_.vx, ssd_, identify.data(), length, kAtaRowIdentify), 1u);
  }
  EXPECT_EQ(SendSSDAtaCommand(c_.vx, ssd_, nullptr, 512, kAtaRowIdentify), 1u);
  EXPECT_EQ(SendSSDAtaCommand(c_.vx, ssd_, identify.data(), 512, 11), 1u);
  EXPECT_EQ(c_.card->CountFunction(0x1C), sent);
  // The status words belong to the SMART and SCT commands.
  g_ataPassthroughStatus = {7, 7, 7};
  EXPECT_EQ(SendSSDAtaCommand(c_.vx, ssd_, nullptr, 0, kAtaRowDeviceReset), 0u);
  EXPECT_EQ(g_ataPassthroughStatus.lastAtaStatus, 7u);
}

// The SCSI commands with this opcode that logged SCSI IO (or RAID SCSI passthrough) carried.
struct LoggedScsi {
  std::vector<uint8_t> cdb;
  uint32_t control = 0;
  uint32_t dataLength = 0;
  std::vector<uint8_t> dataOut;
  uint32_t timeout = 0;
};

std::vector<LoggedScsi> ScsiCommands(const emu::Emulator& card, uint8_t opcode) {
  namespace f = emu::qmx::scsi_io;
  std::vector<LoggedScsi> out;
  for (const emu::LoggedCall& call : card.log()) {
    if (!call.isCommand || (call.function != 0x00 && call.function != 0x16)) continue;
    if (call.frame[f::kCdb] != opcode) continue;
    LoggedScsi s;
    s.cdb.assign(call.frame.begin() + f::kCdb, call.frame.begin() + f::kCdb + (GetLe16(call.frame.data(), f::kIoFlags) & 0xFF));
    s.control = GetLe32(call.frame.data(), f::kControl);
    s.dataLength = GetLe32(call.frame.data(), f::kDataLength);
    s.dataOut = call.dataOut;
    s.timeout = call.timeoutSeconds;
    out.push_back(s);
  }
  return out;
}


// The SAS-protocol module of the fixture: slot 7, a volume member.
constexpr uint16_t kSasModuleDevHandle = 0x000C;

class SasModuleCommands : public ModuleCommands {
 protected:
  void SetUp() override {
    c_ = OpenCard(emu::SasModuleHost());
    ssd_ = SsdHandle(c_.vx, 7);
    ASSERT_NE(ssd_, kNoModuleHandle);
    c_.card->ClearLog();
  }
};

TEST_F(SasModuleCommands, WriteBufferDownloadsAndSaves) {
  std::vector<uint8_t> image(70000);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i);
  const std::vector<uint8_t> original = image;
  EXPECT_EQ(LibZKSSDDownloadFirmwareScsi(0, 7, image.data(), 70000), 0u);
  std::vector<LoggedScsi> sent = ScsiCommands(*c_.card, 0x3B);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].cdb, (std::vector<uint8_t>{0x3B, 0x05, 0, 0, 0, 0, 0x01, 0x11, 0x70, 0}));
  EXPECT_EQ(sent[0].control, emu::qmx::scsi_io::kControlWrite);
  EXPECT_EQ(sent[0].dataOut, original);
  EXPECT_EQ(sent[0].timeout, 180u);
  EXPECT_EQ(image, original);
}

TEST_F(SasModuleCommands, WriteBufferFailures) {
  std::vector<uint8_t> image(4096, 1);
  // The module does not take it: CHECK CONDITION to every try.
  ASSERT_TRUE(c_.card->QueueCheckCondition(kSasModuleDevHandle, emu::SenseCode{5, 0x24, 0}, 3, 0x3B));
  EXPECT_EQ(LibZKSSDDownloadFirmwareScsi(0, 7, image.data(), 4096), 1u);
  EXPECT_EQ(ScsiCommands(*c_.card, 0x3B).size(), 3u);
  c_.card->ClearLog();
  // Beyond the 24-bit length, nothing, no image, no module.
  EXPECT_EQ(LibZKSSDDownloadFirmwareScsi(0, 7, image.data(), 0x1000000), 1u);
  EXPECT_EQ(LibZKSSDDownloadFirmwareScsi(0, 7, image.data(), 0), 1u);
  EXPECT_EQ(LibZKSSDDownloadFirmwareScsi(0, 7, nullptr, 4096), 1u);
  EXPECT_EQ(LibZKSSDDownloadFirmwareScsi(0, 3, image.data(), 4096), 1u);
  EXPECT_EQ(ScsiCommands(*c_.card, 0x3B).size(), 0u);
  // A refusing controller.
  c_.card->AnswerFunction(0x00, 0x0004, 0, -1);
  c_.card->AnswerFunction(0x16, 0x0004, 0, -1);
  EXPECT_EQ(LibZKSSDDownloadFirmwareScsi(0, 7, image.data(), 4096), 1u);
}

TEST_F(SasModuleCommands, FormatUnitSendsItsListAsDataOut) {
  EXPECT_EQ(LibZKSSDScsiCommand(ssd_, 0), 0u);
  EXPECT_EQ(LibZKSSDScsiCommand(ssd_, 1), 0u);
  std::vector<LoggedScsi> sent = ScsiCommands(*c_.card, 0x04);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].cdb, (std::vector<uint8_t>{0x04, 0, 0, 0, 0, 0}));
  EXPECT_EQ(sent[0].dataLength, 0u);
  EXPECT_TRUE(sent[0].dataOut.empty());
  EXPECT_EQ(sent[0].timeout, 180u);
  EXPECT_EQ(sent[1].cdb, (std::vector<uint8_t>{0x04, 0x10, 0, 0, 0, 0}));  // FMTDATA
  EXPECT_EQ(sent[1].control, emu::qmx::scsi_io::kControlWrite);
  EXPECT_EQ(sent[1].dataOut, (std::vector<uint8_t>{0x00, 0x81, 0x00, 0x00, 0x20, 0, 0, 0, 0, 0}));
}

TEST_F(SasModuleCommands, FormatUnitFailures) {
  // CHECK CONDITION after the retries is no success.
  ASSERT_TRUE(c_.card->QueueCheckCondition(kSasModuleDevHandle, emu::SenseCode{5, 0x24, 0}, 3, 0x04));
  EXPECT_EQ(LibZKSSDScsiCommand(ssd_, 0), 1u);
  EXPECT_EQ(ScsiCommands(*c_.card, 0x04).size(), 3u);
  // The controller's refusal; a handle of no device (the passthrough's own status).
  c_.card->AnswerFunction(0x00, 0x0004, 0, -1);
  c_.card->AnswerFunction(0x16, 0x0004, 0, -1);
  EXPECT_EQ(LibZKSSDScsiCommand(ssd_, 1), 1u);
  EXPECT_EQ(LibZKSSDScsiCommand(0x02000077, 0), 48u);
}

}  // namespace
