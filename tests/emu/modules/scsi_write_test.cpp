// SCSI WRITE BUFFER (0x3B: mode at CDB byte 1, buffer ID 2, offset 3-5,
// parameter list length 6-8, all big-endian) and FORMAT UNIT (0x04: byte 1
// FMTDATA 0x10, LONGLIST 0x20) with their data as data-out (frame control
// 0x01000000 at 60, data length u32 at 28). A module that speaks SAS takes
// them itself; a SATA module is behind the controller's translation, which
// makes DOWNLOAD MICROCODE of WRITE BUFFER; a volume takes neither.
#include "emu/card_file/named_cards.h"
#include "module_fixture.h"

using namespace rawtest;

namespace {

std::vector<uint8_t> WriteBufferCdb(uint32_t length, uint8_t mode = 0x05, uint8_t id = 0, uint32_t offset = 0) {
  return {0x3B, mode, id, static_cast<uint8_t>(offset >> 16), static_cast<uint8_t>(offset >> 8),
          static_cast<uint8_t>(offset), static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 8),
          static_cast<uint8_t>(length), 0};
}

// The image a module names its revision in: "ZK-FWREV" and eight characters.
std::vector<uint8_t> Image(size_t bytes, const std::string& revision) {
  std::vector<uint8_t> image(bytes);
  for (size_t i = 0; i < bytes; ++i) image[i] = static_cast<uint8_t>(i * 13 + 5);
  std::string tag = "ZK-FWREV" + revision;
  std::copy(tag.begin(), tag.end(), image.begin() + 100);
  return image;
}

class ScsiWrites : public ModuleFixture {
 protected:
  Sent Write(uint16_t handle, std::vector<uint8_t> cdb, std::vector<uint8_t> data, uint8_t function,
             uint32_t dataLength) {
    Message m = ScsiCommand(handle, std::move(cdb), 0, function);
    Put32(m.frame, 28, dataLength);
    Put32(m.frame, 60, 0x01000000);  // write
    m.dataOut = std::move(data);
    return Send(m);
  }
  Sent Write(uint16_t handle, std::vector<uint8_t> cdb, std::vector<uint8_t> data, uint8_t function = 0x16) {
    uint32_t length = static_cast<uint32_t>(data.size());
    return Write(handle, std::move(cdb), std::move(data), function, length);
  }
  // SCSI status at reply byte 12, transfer count at 20; the fixed sense's key, ASC and ASCQ.
  static std::vector<int> Answer(const Sent& s) {
    std::vector<int> a = {s.status(), s.reply[12], static_cast<int>(Get32(s.reply, 20))};
    if (s.reply[12] == 0x02) a.insert(a.end(), {s.sense[2] & 0x0F, s.sense[12], s.sense[13]});
    return a;
  }
};

TEST_F(ScsiWrites, ASasModuleTakesItsFirmwareByWriteBuffer) {
  Use(emu::SasModuleHost());
  // Not a whole number of sectors: a module that speaks SAS does not mind.
  std::vector<uint8_t> image = Image(3000, "ZK90600S");
  Sent s = Write(kSlot7, WriteBufferCdb(3000), image);
  EXPECT_EQ(Answer(s), (std::vector<int>{0, 0, 3000}));
  EXPECT_EQ(card().Module(7)->firmwareImage, image);
  EXPECT_EQ(card().Module(7)->firmware, "ZK90600S");
  ASSERT_EQ(card().ModuleActivity(7).downloads.size(), 1u);
  EXPECT_TRUE(card().ModuleActivity(7).downloads[0].writeBuffer);
  EXPECT_EQ(card().ModuleActivity(7).downloads[0].mode, 0x05);
  EXPECT_TRUE(card().ModuleActivity(7).commands.empty());  // no ATA command on the way
  Sent inquiry = Send(ScsiCommand(kSlot7, Inquiry(), 96, 0x16));
  EXPECT_EQ(Text(inquiry.dataIn, 32, 4), "600S");
  // Kept in the card file.
  EXPECT_NE(emu::FormatHostFile(card().model()).find("firmware = ZK90600S\n"), std::string::npos);
}

TEST_F(ScsiWrites, WriteBufferRefusals) {
  Use(emu::SasModuleHost());
  std::vector<uint8_t> image = Image(1024, "ZK90600S");
  // A refused command moves nothing: the controller adds IOCStatus 0x0045
  // (less data than the frame's length) to the CHECK CONDITION.
  const std::vector<int> invalidField = {0x0045, 2, 0, 5, 0x24, 0};
  EXPECT_EQ(Answer(Write(kSlot7, WriteBufferCdb(1024, 0x07), image)), invalidField);  // another mode
  EXPECT_EQ(Answer(Write(kSlot7, WriteBufferCdb(1024, 0x05, 1), image)), invalidField);
  EXPECT_EQ(Answer(Write(kSlot7, WriteBufferCdb(1024, 0x05, 0, 512), image)), invalidField);
  EXPECT_EQ(Answer(Write(kSlot7, WriteBufferCdb(0), {})), (std::vector<int>{0, 2, 0, 5, 0x24, 0}));
  // A list longer than what the frame moves.
  const std::vector<int> lengthError = {0x0045, 2, 0, 5, 0x1A, 0};
  EXPECT_EQ(Answer(Write(kSlot7, WriteBufferCdb(2048), image)), lengthError);
  EXPECT_EQ(Answer(Write(kSlot7, WriteBufferCdb(1024), image, 0x16, 512)), lengthError);
  // The data-out only travels with a write: a frame that says read moves nothing.
  Message read = ScsiCommand(kSlot7, WriteBufferCdb(1024), 0, 0x16);
  read.dataOut = image;
  Put32(read.frame, 28, 1024);
  EXPECT_EQ(Answer(Send(read)), (std::vector<int>{0x0045, 2, 0, 5, 0x1A, 0}));
  // Armed conditions come first.
  ASSERT_TRUE(card().QueueCheckCondition(kSlot7, emu::SenseCode{3, 0x0C, 0x02}));
  EXPECT_EQ(Answer(Write(kSlot7, WriteBufferCdb(1024), image)), (std::vector<int>{0x0045, 2, 0, 3, 0x0C, 2}));
  ASSERT_TRUE(card().QueueUnitAttention(kSlot7));
  EXPECT_EQ(Answer(Write(kSlot7, WriteBufferCdb(1024), image)), (std::vector<int>{0x0045, 2, 0, 6, 0x29, 0}));
  EXPECT_TRUE(card().ModuleActivity(7).downloads.empty());
  EXPECT_EQ(card().Module(7)->firmware, "ZK80512A");
  // A volume is the controller's: no such command.
  EXPECT_EQ(Answer(Write(0x0040, WriteBufferCdb(1024), image, 0x00)),
            (std::vector<int>{0x0045, 2, 0, 5, 0x20, 0}));
}

TEST_F(ScsiWrites, ASataModuleGetsWriteBufferAsDownloadMicrocode) {
  Use(emu::UnconfiguredHost());  // bare modules: SCSI IO reaches them
  std::vector<uint8_t> image = Image(1536, "ZK80600A");
  EXPECT_EQ(Answer(Write(kSlot4, WriteBufferCdb(1536), image, 0x00)), (std::vector<int>{0, 0, 1536}));
  const emu::ModuleRuntime& r = card().ModuleActivity(4);
  ASSERT_EQ(r.commands.size(), 1u);
  EXPECT_EQ(r.commands[0].command, 0x92);
  EXPECT_EQ(r.commands[0].features, 0x07);  // download and save
  EXPECT_EQ(r.commands[0].count, 3);
  EXPECT_EQ(r.commands[0].lba, 0u);
  ASSERT_EQ(r.downloads.size(), 1u);
  EXPECT_FALSE(r.downloads[0].writeBuffer);
  EXPECT_EQ(card().Module(4)->firmware, "ZK80600A");
  EXPECT_EQ(Text(Send(ScsiCommand(kSlot4, Inquiry(), 96)).dataIn, 32, 4), "600A");

  // The translation needs whole sectors; an aborted download is ABORTED COMMAND.
  EXPECT_EQ(Answer(Write(kSlot5, WriteBufferCdb(1000), Image(1000, "X"), 0x00)),
            (std::vector<int>{0x0045, 2, 0, 5, 0x24, 0}));
  ASSERT_TRUE(card().LockModule(5, true, "vexlock"));
  EXPECT_EQ(Answer(Write(kSlot5, WriteBufferCdb(512), Image(512, "ZK80600A"), 0x00)),
            (std::vector<int>{0x0045, 2, 0, 0x0B, 0, 0}));
  EXPECT_EQ(card().Module(5)->firmware, "ZK80512A");
}

TEST_F(ScsiWrites, FormatUnitIsTakenAndRecorded) {
  Use(emu::SasModuleHost());
  const std::vector<int> lengthError = {0x0045, 2, 0, 5, 0x1A, 0};
  // Without FMTDATA: no list.
  EXPECT_EQ(Answer(Write(kSlot7, {0x04, 0, 0, 0, 0, 0}, {})), (std::vector<int>{0, 0, 0}));
  // With it: a short header (defect list length u16 at 2) and the list.
  std::vector<uint8_t> list = {0x00, 0x82, 0x00, 0x04, 1, 2, 3, 4, 0xEE};
  EXPECT_EQ(Answer(Write(kSlot7, {0x04, 0x10, 0, 0, 0, 0}, list)), (std::vector<int>{0x0045, 0, 8}));
  // A long header (u32 at 4) that promises more than came.
  EXPECT_EQ(Answer(Write(kSlot7, {0x04, 0x30, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 9, 1})), lengthError);
  // FMTDATA with nothing to move, and the list in the data-in direction with
  // FMTDATA clear: the module takes no list, the controller reports the
  // data it did not move (IOCStatus 0x0045) with GOOD status.
  EXPECT_EQ(Answer(Write(kSlot7, {0x04, 0x10, 0, 0, 0, 0}, {})), (std::vector<int>{0, 2, 0, 5, 0x1A, 0}));
  Message in = ScsiCommand(kSlot7, {0x04, 0, 0, 0, 0, 0}, 10, 0x16);
  in.dataOut = {0x00, 0x81, 0x00, 0x00, 0x20, 0, 0, 0, 0, 0};
  EXPECT_EQ(Answer(Send(in)), (std::vector<int>{0x0045, 0, 0}));

  const std::vector<emu::ScsiFormatRecord>& formats = card().ModuleActivity(7).formats;
  ASSERT_EQ(formats.size(), 3u);
  EXPECT_EQ(formats[0].cdbFlags, 0);
  EXPECT_TRUE(formats[0].parameterList.empty());
  EXPECT_EQ(formats[1].cdbFlags, 0x10);
  EXPECT_EQ(formats[1].parameterList, std::vector<uint8_t>(list.begin(), list.begin() + 8));
  EXPECT_TRUE(formats[2].parameterList.empty());
  // A SATA module's translation takes it too, without a word to the module.
  Use(emu::UnconfiguredHost());
  EXPECT_EQ(Answer(Write(kSlot6, {0x04, 0, 0, 0, 0, 0}, {}, 0x00)), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(card().ModuleActivity(6).formats.size(), 1u);
  EXPECT_TRUE(card().ModuleActivity(6).commands.empty());
  EXPECT_EQ(Answer(Write(0x0040, {0x04, 0, 0, 0, 0, 0}, {}, 0x00)), (std::vector<int>{0x0043, 0, 0}));
}

}  // namespace
