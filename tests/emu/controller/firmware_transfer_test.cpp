// FW DOWNLOAD in pieces, FW UPLOAD back, and the images of a new card.
#include <gtest/gtest.h>

#include <map>

#include "emu/host/emulator.h"
#include "raw_port.h"

using namespace rawtest;

namespace {

// First-generation frame: image type 0, flags 7, the transaction element at
// 20 (details length 12 at 22), offset at 28, size at 32.
std::vector<uint8_t> TransferFrame(uint8_t function, uint8_t imageType, uint32_t offset,
                                   uint32_t size, bool last) {
  std::vector<uint8_t> frame = Frame(36, function);
  frame[0] = imageType;
  frame[7] = last ? 1 : 0;
  Put32(frame, 12, size);
  frame[22] = 12;
  Put32(frame, 28, offset);
  Put32(frame, 32, size);
  return frame;
}

std::vector<uint8_t> SecondGenerationFrame(uint8_t function, uint8_t imageType, uint32_t offset,
                                           uint32_t size, bool last) {
  std::vector<uint8_t> frame = Frame(32, function);
  frame[0] = imageType;
  frame[7] = last ? 1 : 0;
  Put32(frame, 12, size);
  Put32(frame, 24, offset);
  Put32(frame, 28, size);
  return frame;
}

class TransferTest : public ::testing::Test {
 protected:
  void Start(emu::HostModel host) {
    card_ = &emu::Install(std::move(host));
    fd_ = card_->OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  }
  void SetUp() override { Start(emu::DefaultHost()); }
  void TearDown() override { card_->CloseNode(fd_); }
  emu::AdapterModel& adapter() { return *card_->model().FirstAdapter(); }

  Sent Download(uint8_t type, const std::vector<uint8_t>& piece, uint32_t offset, bool last,
                bool secondGeneration = false) {
    Message m;
    m.frame = secondGeneration ? SecondGenerationFrame(0x09, type, offset, piece.size(), last)
                               : TransferFrame(0x09, type, offset, piece.size(), last);
    m.dataOut = piece;
    m.replyRoom = 20;
    m.timeout = 60;
    return SendCommand(*card_, fd_, m);
  }
  Sent Upload(uint8_t type, uint32_t offset, uint32_t size, bool secondGeneration = false) {
    Message m;
    m.frame = secondGeneration ? SecondGenerationFrame(0x12, type, offset, size, false)
                               : TransferFrame(0x12, type, offset, size, false);
    m.dataInRoom = size;
    m.replyRoom = 24;
    return SendCommand(*card_, fd_, m);
  }
  std::vector<uint8_t> UploadAll(uint8_t type, bool secondGeneration = false) {
    Sent first = Upload(type, 0, 0, secondGeneration);
    uint32_t size = Get32(first.reply, 20);
    std::vector<uint8_t> image;
    for (uint32_t offset = 0; offset < size; offset += 0x10000) {
      Sent piece = Upload(type, offset, std::min<uint32_t>(0x10000, size - offset), secondGeneration);
      EXPECT_EQ(piece.status(), 0);
      image.insert(image.end(), piece.dataIn.begin(), piece.dataIn.end());
    }
    return image;
  }

  emu::Emulator* card_ = nullptr;
  int fd_ = -1;
};

std::vector<uint8_t> Pattern(size_t bytes, uint8_t seed) {
  std::vector<uint8_t> v(bytes);
  for (size_t i = 0; i < bytes; ++i) v[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
  return v;
}

TEST_F(TransferTest, PiecesAreCommittedWithTheLastAndReadBack) {
  std::vector<uint8_t> image = Pattern(70000, 3);
  std::vector<uint8_t> before = adapter().images[1].bytes;
  std::vector<uint32_t> cuts = {0, 4096, 65536, 70000};
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    std::vector<uint8_t> piece(image.begin() + cuts[i], image.begin() + cuts[i + 1]);
    Sent s = Download(1, piece, cuts[i], i + 2 == cuts.size());
    ASSERT_EQ(s.status(), 0) << i;
    EXPECT_EQ(s.reply[2], 5);
    if (i + 2 < cuts.size()) {
      EXPECT_EQ(adapter().images[1].bytes, before);  // not yet committed
    }
  }
  EXPECT_EQ(adapter().images[1].bytes, image);
  EXPECT_EQ(UploadAll(1), image);
  EXPECT_EQ(UploadAll(5), image);  // the read-back of the firmware in flash
  EXPECT_EQ(card_->log()[1].dataOut.size(), 65536u - 4096u);
}

TEST_F(TransferTest, UploadsAnswerWhatThereIsPastTheEnd) {
  uint32_t size = static_cast<uint32_t>(adapter().images[2].bytes.size());
  Sent tail = Upload(2, size - 100, 0x10000);
  EXPECT_EQ(tail.status(), 0);
  EXPECT_EQ(Get32(tail.reply, 20), size);
  EXPECT_EQ(card_->log().back().dataInBytesWritten, 100u);
  Sent beyond = Upload(2, size + 4, 512);
  EXPECT_EQ(beyond.status(), 0);
  EXPECT_EQ(card_->log().back().dataInBytesWritten, 0u);
  Sent none = Upload(9, 0, 512);  // an image type the flash does not hold
  EXPECT_EQ(none.status(), 0);
  EXPECT_EQ(Get32(none.reply, 20), 0u);
}

TEST_F(TransferTest, MalformedPiecesAreRefused) {
  Message m;
  m.replyRoom = 20;
  m.frame = TransferFrame(0x09, 1, 0, 16, true);
  m.frame[22] = 8;  // details length not 12
  m.dataOut = Pattern(16, 1);
  EXPECT_EQ(SendCommand(*card_, fd_, m).status(), 0x0007);
  m.frame = TransferFrame(0x09, 1, 0, 32, true);  // says 32 bytes, brings 16
  EXPECT_EQ(SendCommand(*card_, fd_, m).status(), 0x0003);
  m.frame = TransferFrame(0x09, 5, 0, 16, true);  // the read-back is not written
  EXPECT_EQ(SendCommand(*card_, fd_, m).status(), 0x0007);
  EXPECT_EQ(adapter().images[1].bytes, emu::DefaultImages(adapter())[1].bytes);
}

TEST_F(TransferTest, AResetDropsADownloadInProgress) {
  ASSERT_EQ(Download(2, Pattern(1024, 9), 0, false).status(), 0);
  std::vector<uint8_t> block(12, 0);
  ASSERT_EQ(card_->Ioctl(fd_, kHardReset, block.data()), 0);
  ASSERT_EQ(Download(2, Pattern(1024, 5), 1024, true).status(), 0);
  std::vector<uint8_t> expected(1024, 0);
  std::vector<uint8_t> tail = Pattern(1024, 5);
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_EQ(adapter().images[2].bytes, expected);
}

TEST_F(TransferTest, SecondGenerationAdaptersTakeTheShorterFrame) {
  emu::HostModel host = emu::DefaultHost();
  host.FirstAdapter()->pciDeviceId = 0x94;
  TearDown();
  Start(std::move(host));
  std::vector<uint8_t> image = Pattern(3000, 11);
  ASSERT_EQ(Download(1, std::vector<uint8_t>(image.begin(), image.begin() + 1000), 0, false, true).status(), 0);
  ASSERT_EQ(Download(1, std::vector<uint8_t>(image.begin() + 1000, image.end()), 1000, true, true).status(), 0);
  EXPECT_EQ(UploadAll(1, true), image);
}

TEST_F(TransferTest, TheNewCardsFirmwareHasAPlausibleHead) {
  std::vector<uint8_t> fw = UploadAll(1);
  ASSERT_GE(fw.size(), 256u);
  EXPECT_EQ(Get32(fw, 0), 0xEA000000u);
  EXPECT_EQ(Get32(fw, 4), 0x5AFAA55Au);
  EXPECT_EQ(Get32(fw, 8), 0xA55AFAA5u);
  EXPECT_EQ(Get32(fw, 12), 0x5AA55AFAu);
  EXPECT_EQ(Get32(fw, 20), 0x0E000500u);  // the version IOC information reports
  EXPECT_EQ(Get32(fw, 28), 0x0E020500u);  // package 14.02.05.00
  uint32_t sum = 0;
  for (size_t at = 0; at < fw.size(); at += 4) sum += Get32(fw, at);
  EXPECT_EQ(sum, 0u);
  // The extended images the firmware checks look for: 7, 3, 4 and 5.
  std::vector<int> types;
  for (uint32_t at = Get32(fw, 0x30); at != 0 && types.size() < 8; at = Get32(fw, at + 12)) {
    types.push_back(fw.at(at));
  }
  EXPECT_EQ(types, (std::vector<int>{7, 3, 4, 5}));
}

TEST_F(TransferTest, TheNewCardsOptionRomIsALegacyThenUefiChain) {
  std::vector<uint8_t> rom = UploadAll(2);
  size_t at = 0;
  std::vector<int> codeTypes;
  while (codeTypes.size() < 4) {
    ASSERT_EQ(Get16(rom, at), 0xAA55);
    size_t pcir = at + Get16(rom, at + 0x18);
    ASSERT_EQ(std::string(rom.begin() + pcir, rom.begin() + pcir + 4), "PCIR");
    EXPECT_EQ(Get16(rom, pcir + 6), 0x7E);
    size_t length = Get16(rom, pcir + 0x10) * 512u;
    uint8_t sum = 0;
    for (size_t i = at; i < at + length; ++i) sum = static_cast<uint8_t>(sum + rom[i]);
    EXPECT_EQ(sum, 0) << "image at " << at;
    codeTypes.push_back(rom[pcir + 0x14]);
    if (rom[pcir + 0x14] == 0) {
      EXPECT_EQ(rom[pcir + 0x0C], 3);                  // revision 3
      EXPECT_EQ(Get16(rom, pcir + 0x12), 0x0812);      // code revision
      EXPECT_EQ(rom[pcir + 0x15] & 0x80, 0);           // not the last image
    } else {
      EXPECT_EQ(Get16(rom, at + 4), 0x0EF1);           // UEFI
      EXPECT_EQ(Get16(rom, pcir + 0x12), 0x2105);
    }
    at += length;
    if (rom[pcir + 0x15] & 0x80) break;
  }
  EXPECT_EQ(codeTypes, (std::vector<int>{0, 3}));
  EXPECT_LT(at, rom.size());  // trailing components follow the chain
  // The components: 0xAA55, ID u16 at 0x38, group in the upper four bits of
  // 0x3B, size u32 at 0x60; each sums to 0, and so does the whole region.
  std::vector<std::pair<int, int>> components;
  while (at < rom.size() && components.size() < 12) {
    ASSERT_EQ(Get16(rom, at), 0xAA55) << at;
    uint32_t size = Get32(rom, at + 0x60);
    ASSERT_GT(size, 0u);
    ASSERT_LE(at + size, rom.size());
    uint8_t sum = 0;
    for (size_t i = at; i < at + size; ++i) sum = static_cast<uint8_t>(sum + rom[i]);
    EXPECT_EQ(sum, 0) << "component at " << at;
    components.emplace_back(rom[at + 0x3B] & 0xF0, Get16(rom, at + 0x38));
    at += size;
  }
  EXPECT_EQ(at, rom.size());
  EXPECT_EQ(components, (std::vector<std::pair<int, int>>{{0x10, 0x102}, {0x10, 0x110}, {0x10, 0x112},
                                                          {0x10, 0x113}, {0x30, 0x102}, {0x30, 0x112},
                                                          {0x30, 0x110}, {0x30, 0x113}}));
  uint8_t sum = 0;
  for (uint8_t b : rom) sum = static_cast<uint8_t>(sum + b);
  EXPECT_EQ(sum, 0);
}

// What the firmware checks read of the image against the controller: the
// supported devices (type 7: count at +0x42, 16-byte entries from +0x48,
// device ID u16 at +0, revisions at +8 and +9), the NVDATA (type 3:
// signature at +0x40, version at +0x48, PROD_ID at 4 x (u16 at +0x5C) from
// +0x40 with its signature, vendor, product, device ID at +42 and
// subsystem ID at +46), the identifier words at 0x20/0x22 and the board name at 0xB0.
TEST_F(TransferTest, TheNewCardsFirmwareFitsItsController) {
  std::vector<uint8_t> fw = UploadAll(1);
  std::map<int, uint32_t> ext;
  for (uint32_t at = Get32(fw, 0x30); at != 0 && ext.size() < 8; at = Get32(fw, at + 12)) {
    ASSERT_LE(at + Get32(fw, at + 8), fw.size());
    ext[fw.at(at)] = at;
  }
  ASSERT_EQ(ext.size(), 4u);
  uint32_t devices = ext[7];
  ASSERT_GE(fw[devices + 0x42], 1);
  EXPECT_EQ(Get16(fw, devices + 0x48), adapter().pciDeviceId);
  EXPECT_LE(fw[devices + 0x48 + 8], adapter().hardwareRevision);
  EXPECT_GE(fw[devices + 0x48 + 9], adapter().hardwareRevision);
  uint32_t nvdata = ext[3];
  EXPECT_EQ(Get32(fw, nvdata + 0x40), 0x4E69636Bu);
  EXPECT_EQ(Get32(fw, nvdata + 0x48), adapter().nvdataVersion);
  uint32_t prodId = nvdata + 0x40 + 4u * Get16(fw, nvdata + 0x5C);
  EXPECT_EQ(Get32(fw, prodId), 0x4672617Au);
  EXPECT_EQ(std::string(fw.begin() + prodId + 4, fw.begin() + prodId + 12), "ULVANE  ");
  EXPECT_EQ(Get16(fw, prodId + 42), adapter().pciDeviceId);
  EXPECT_EQ(Get16(fw, prodId + 46), adapter().subsystemDeviceId);
  EXPECT_EQ(Get16(fw, 0x20), adapter().pciVendorId);
  EXPECT_EQ(Get16(fw, 0x22), adapter().productId);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(fw.data() + 0xB0)), "Corvexium");
  EXPECT_EQ(fw[0x1E], 0x02);  // the OEM identifier within the package version
}

}  // namespace
