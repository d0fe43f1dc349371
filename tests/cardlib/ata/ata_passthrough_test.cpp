// SMART commands, log reads and the SCT transport against the emulated
// modules: what reaches the module (as it decodes the register FIS), how
// success is judged and what the status words keep.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "cardlib/libzk.h"
#include "emu/controller/handlers.h"
#include "emu/modules/smart_attributes.h"
#include "tests/cardlib/cardlib_test_support.h"

namespace {


constexpr uint8_t kSlot = 5;

class AtaPassthrough : public cardlib_test::DefaultCardModule<kSlot> {
 protected:
  const std::vector<emu::AtaCommandRecord>& Commands() { return c_.card->ModuleActivity(kSlot).commands; }
};

TEST_F(AtaPassthrough, SmartFormsAsTheModuleDecodesThem) {
  struct Case {
    uint32_t operation;
    uint32_t select;
    uint8_t features;
    uint64_t lbaLow;
    uint8_t device;
  };
  const Case cases[] = {
      {kSmartReadData, 0, 0xD0, 0, 0},        {kSmartReadThresholds, 0, 0xD1, 0, 0},
      {kSmartReadLog, kSctCommandLog, 0xD5, 0xE0, 0}, {kSmartReadLog, kSctDataLog, 0xD5, 0xE1, 0},
      {kSmartReadDataForced, 0, 0xD0, 0, 0x80}, {kSmartReadThresholdsForced, 0, 0xD1, 0, 0x80},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.operation);
    size_t before = Commands().size();
    std::vector<uint8_t> buffer(512);
    SendSmartCommand(c_.vx, ssd_, k.operation, k.select, buffer.data(), 512);
    ASSERT_EQ(Commands().size(), before + 1);
    const emu::AtaCommandRecord& sent = Commands().back();
    EXPECT_EQ(sent.command, 0xB0);
    EXPECT_EQ(sent.features, k.features);
    EXPECT_EQ(sent.lba, k.lbaLow | 0xC24F00u);
    EXPECT_EQ(sent.device, k.device);
    EXPECT_EQ(sent.count, 1u);
    EXPECT_EQ(sent.dataLength, 512u);
    EXPECT_EQ(sent.flags, 0x0011u);  // PIO, data in
  }
  // SMART WRITE LOG moves data out.
  std::vector<uint8_t> sector(1024);
  SendSmartCommand(c_.vx, ssd_, kSmartWriteLog, kSctDataLog, sector.data(), 1024);
  EXPECT_EQ(Commands().back().features, 0xD6);
  EXPECT_EQ(Commands().back().lba & 0xFF, 0xE1u);
  EXPECT_EQ(Commands().back().count, 2u);
  EXPECT_EQ(Commands().back().flags, 0x0012u);
}

TEST_F(AtaPassthrough, TransfersTheCountCannotDescribeAreRefused) {
  // A partial sector, no sector, 256 sectors and more (the 8-bit count would
  // wrap), a data phase without a buffer, an operation that does not exist.
  std::vector<uint8_t> buffer(256 * 512);
  struct Case {
    uint32_t operation;
    void* buffer;
    uint32_t length;
  };
  const Case cases[] = {
      {kSmartReadLog, buffer.data(), 1000}, {kSmartReadLog, buffer.data(), 513}, {kSmartReadLog, buffer.data(), 0},
      {kSmartReadLog, buffer.data(), 256 * 512}, {kSmartWriteLog, buffer.data(), 256 * 512},
      {kSmartReadData, nullptr, 512}, {7, buffer.data(), 512},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.length);
    EXPECT_EQ(SendSmartCommand(c_.vx, ssd_, k.operation, kSctDataLog, k.buffer, k.length), 1u);
  }
  EXPECT_EQ(c_.card->CountFunction(0x1C), 0u);
  // 255 sectors is the most one command moves.
  SendSmartCommand(c_.vx, ssd_, kSmartReadLog, kSctDataLog, buffer.data(), 255 * 512);
  ASSERT_EQ(Commands().size(), 1u);
  EXPECT_EQ(Commands().back().count, 255u);
}

TEST_F(AtaPassthrough, SmartDataDecodedIntoValues) {
  emu::ModuleModel* module = c_.card->Module(kSlot);
  ASSERT_TRUE(c_.card->SetSmartAttribute(kSlot, emu::SmartAttribute{0xC2, 0x0022, 37, 30, 0x00A1B2C3D4E5F6ull, 0}));
  SataSmartValues values;
  std::memset(&values, 0xEE, sizeof(values));
  std::vector<uint8_t> data(512, 0xEE);
  ASSERT_EQ(ReadSmartData(c_.vx, ssd_, &values, data.data(), 0), 0u);
  ASSERT_EQ(module->smart.size(), kSmartAttributeCount);
  for (uint32_t i = 0; i < kSmartAttributeCount; ++i) {
    SCOPED_TRACE(i);
    const emu::SmartAttribute& a = module->smart[i];
    EXPECT_EQ(values.attribute[i].id, a.id);
    EXPECT_EQ(values.attribute[i].normalized, a.normalized);
    EXPECT_EQ(values.raw[i].low, static_cast<uint32_t>(a.raw));
    EXPECT_EQ(values.raw[i].high, static_cast<uint32_t>(a.raw >> 32));
  }
  const emu::SmartAttribute* temperature = emu::FindSmartAttribute(*module, 0xC2);
  ASSERT_NE(temperature, nullptr);
  size_t at = static_cast<size_t>(temperature - module->smart.data());
  EXPECT_EQ(values.raw[at].low, 0xB2C3D4E5F6u & 0xFFFFFFFFu);
  EXPECT_EQ(values.raw[at].high, 0xA1B2u);
  // The copy is the SMART data itself: the revision word, then entries.
  EXPECT_EQ(data[2], module->smart[0].id);
  uint8_t sum = 0;
  for (uint8_t b : data) sum = static_cast<uint8_t>(sum + b);
  EXPECT_EQ(sum, 0u);
  EXPECT_EQ(c_.card->ModuleActivity(kSlot).forcedSmartReads, 0u);

  ASSERT_EQ(ReadSmartData(c_.vx, ssd_, &values, nullptr, 1), 0u);
  EXPECT_EQ(c_.card->ModuleActivity(kSlot).forcedSmartReads, 1u);
  EXPECT_EQ(ReadSmartData(c_.vx, ssd_, nullptr, nullptr, 0), 1u);
}

TEST_F(AtaPassthrough, SuccessNeedsPassthroughIocStatusAndNoErrBit) {
  std::vector<uint8_t> buffer(512);
  uint32_t result = 9, ata = 9, sct = 9;

  // The module completes cleanly (status 0x50) but the controller reports
  // a non-zero IOCStatus in the same reply.
  emu::FunctionHandler sata = emu::SataPassthroughHandler();
  c_.card->RegisterFunction(0x1C, emu::FunctionHandler{sata.minimumFrameBytes,
                                                       [sata](emu::CommandRequest& request, emu::CommandAnswer& answer) {
                                                         sata.handle(request, answer);
                                                         emu::SetReplyStatus(&answer.reply, 0x0045);
                                                       }});
  EXPECT_EQ(SmartReadDataAlt(c_.vx, ssd_, buffer.data(), 512), 1u);
  GetAtaPassthroughStatus(&result, &ata, &sct);
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(ata, 0x0050u);
  c_.card->RegisterFunction(0x1C, sata);

  // The controller refuses without a FIS at all.
  c_.card->AnswerFunction(0x1C, 0x0043, 0, 1);
  EXPECT_EQ(SmartReadDataAlt(c_.vx, ssd_, buffer.data(), 512), 1u);

  // The module aborts: ATA status and error in the status word.
  ASSERT_TRUE(c_.card->FailSmartRead(kSlot));
  EXPECT_EQ(SmartReadDataAlt(c_.vx, ssd_, buffer.data(), 512), 1u);
  GetAtaPassthroughStatus(&result, &ata, &sct);
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(ata, 0x0451u);
  ASSERT_TRUE(c_.card->FailSmartRead(kSlot, false));

  // The passthrough itself fails (the ioctl).
  c_.card->FailIoctl(0xC0484C14, 5, 1, 0x1C);
  EXPECT_EQ(SmartReadThresholds(c_.vx, ssd_, buffer.data(), 512), 1u);
  GetAtaPassthroughStatus(&result, &ata, &sct);
  EXPECT_NE(result, 0u);

  // A handle that names nothing: nothing is sent.
  size_t sent = c_.card->CountFunction(0x1C);
  EXPECT_EQ(SmartReadDataAlt(c_.vx, 0x02000077, buffer.data(), 512), 1u);
  EXPECT_EQ(c_.card->CountFunction(0x1C), sent);

  EXPECT_EQ(SmartReadThresholdsForced(c_.vx, ssd_, buffer.data(), 512), 0u);
  GetAtaPassthroughStatus(&result, &ata, &sct);
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(ata & 0x01, 0u);
}

TEST_F(AtaPassthrough, AtaLogReadsByLength) {
  std::vector<uint8_t> buffer(300 * 512);
  // 255 sectors: SMART READ LOG without the page.
  ReadAtaLog(c_.vx, ssd_, 0xA0, 255, buffer.data(), 255 * 512, 0x0102);
  ASSERT_EQ(Commands().size(), 1u);
  EXPECT_EQ(Commands()[0].command, 0xB0);
  EXPECT_EQ(Commands()[0].features, 0xD5);
  EXPECT_EQ(Commands()[0].lba, 0xC24FA0u);
  EXPECT_EQ(Commands()[0].count, 255u);
  // 256 sectors: READ LOG EXT, the page in LBA bits 8-15 and 32-39.
  ReadAtaLog(c_.vx, ssd_, 0xA0, 256, buffer.data(), 300 * 512, 0x0102);
  ASSERT_EQ(Commands().size(), 2u);
  EXPECT_EQ(Commands()[1].command, 0x2F);
  EXPECT_EQ(Commands()[1].features, 0u);
  EXPECT_EQ(Commands()[1].lba, 0x01000002A0ull);
  EXPECT_EQ(Commands()[1].count, 256u);
  EXPECT_EQ(Commands()[1].dataLength, 300u * 512);  // the whole buffer is the data phase

  // More sectors than the buffer holds, none, more than the count holds, no buffer.
  EXPECT_EQ(ReadAtaLog(c_.vx, ssd_, 0xA0, 2, buffer.data(), 1023, 0), 1u);
  EXPECT_EQ(ReadAtaLog(c_.vx, ssd_, 0xA0, 0, buffer.data(), 512, 0), 1u);
  EXPECT_EQ(ReadAtaLog(c_.vx, ssd_, 0xA0, 0x10000, buffer.data(), 0xFFFFFFFF, 0), 1u);
  EXPECT_EQ(ReadAtaLog(c_.vx, ssd_, 0xA0, 1, nullptr, 512, 0), 1u);
  EXPECT_EQ(Commands().size(), 2u);
}

TEST_F(AtaPassthrough, ReadAtaLogOfTheSmartLogDirectory) {
  std::vector<uint8_t> directory(512, 0xEE);
  ASSERT_EQ(ReadAtaLog(c_.vx, ssd_, 0x00, 1, directory.data(), 512, 0), 0u);
  EXPECT_EQ(directory[0] | (directory[1] << 8), 1);  // the directory's version word
}

TEST_F(AtaPassthrough, SctStatusBusyToTheEnd) {
  ASSERT_TRUE(c_.card->SetSctBusy(kSlot, -1));
  std::vector<uint8_t> sector(512, 0);
  sector[0] = 0x00;
  sector[1] = 0xC0;  // diagnostic information
  EXPECT_EQ(SctSendCommand(c_.vx, ssd_, sector.data(), 512), 1u);
  uint32_t result = 9, ata = 9, sct = 9;
  GetAtaPassthroughStatus(&result, &ata, &sct);
  EXPECT_EQ(sct, 0x0305u);
  EXPECT_EQ(c_.card->ModuleActivity(kSlot).statusReads, 6u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 0u);
}

TEST_F(AtaPassthrough, SctBusyForAWhileThenReady) {
  ASSERT_TRUE(c_.card->SetSctBusy(kSlot, 5));
  EXPECT_EQ(SctPollStatus(c_.vx, ssd_, 5), 0u);
  EXPECT_EQ(c_.card->ModuleActivity(kSlot).statusReads, 6u);
  ASSERT_TRUE(c_.card->SetSctBusy(kSlot, 1));
  EXPECT_EQ(SctPollStatus(c_.vx, ssd_, 0), 1u);
  EXPECT_EQ(c_.card->ModuleActivity(kSlot).statusReads, 7u);
  uint32_t sct = 0;
  GetAtaPassthroughStatus(nullptr, nullptr, &sct);
  EXPECT_EQ(sct, 0x0305u);
}

TEST_F(AtaPassthrough, FailedCommandWriteIsNotPolled) {
  std::vector<uint8_t> sector(512, 0);
  ASSERT_TRUE(c_.card->SetModuleRefusing(kSlot, true));
  EXPECT_EQ(SctSendCommand(c_.vx, ssd_, sector.data(), 512), 1u);
  EXPECT_EQ(c_.card->ModuleActivity(kSlot).statusReads, 0u);
  EXPECT_EQ(c_.card->CountFunction(0x1C), 1u);
}

}  // namespace
