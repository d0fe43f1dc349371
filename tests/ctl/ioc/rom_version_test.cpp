// The option-ROM version: uploading the image and reading its version word.
#include <cerrno>

#include "emu/controller/handlers.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

// A PCI expansion ROM whose data structure sits at `pcir`.
std::vector<uint8_t> RomImage(size_t size, uint16_t pcir, uint8_t revision, uint8_t codeType) {
  std::vector<uint8_t> image(size);
  image[0] = 0x55;
  image[1] = 0xAA;
  image[0x18] = static_cast<uint8_t>(pcir);
  image[0x19] = static_cast<uint8_t>(pcir >> 8);
  if (pcir + 30u <= size) {
    image[pcir + 0] = 'P';
    image[pcir + 1] = 'C';
    image[pcir + 2] = 'I';
    image[pcir + 3] = 'R';
    image[pcir + 12] = revision;
    image[pcir + 18] = 0x34;  // code revision 0x1234
    image[pcir + 19] = 0x12;
    image[pcir + 20] = codeType;
    image[pcir + 24] = 0x05;
    image[pcir + 25] = 0x06;
    image[pcir + 28] = 0x07;
    image[pcir + 29] = 0x08;
  }
  return image;
}

TEST(RomImageVersion, ReadsTheVersionBytesByRevision) {
  struct Case {
    const char* name;
    std::vector<uint8_t> image;
    uint32_t version;
  } cases[] = {
      {"revision 2", RomImage(512, 0x1C, 2, 0), 0x12340506},
      {"revision 3", RomImage(512, 0x1C, 3, 0), 0x12340708},
      {"UEFI image first", RomImage(512, 0x1C, 3, 3), 0},
      {"structure far inside", RomImage(4096, 0x0F00, 3, 0), 0x12340708},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QmxRomImageVersion(c.image.data(), c.image.size()), c.version) << c.name;
  }
  std::vector<uint8_t> bad = RomImage(512, 0x1C, 3, 0);
  bad[0] = 0x56;
  EXPECT_EQ(QmxRomImageVersion(bad.data(), bad.size()), 0u);
}

TEST(RomImageVersion, FieldsOutsideTheImageGiveNoVersion) {
  std::vector<uint8_t> image = RomImage(512, 0x1C, 3, 0);
  EXPECT_EQ(QmxRomImageVersion(nullptr, 512), 0u);
  EXPECT_EQ(QmxRomImageVersion(image.data(), 0), 0u);
  EXPECT_EQ(QmxRomImageVersion(image.data(), 0x19), 0u);  // no room for the structure offset
  // The structure offset points past the end.
  std::vector<uint8_t> wild = RomImage(512, 0xFFF0, 3, 0);
  EXPECT_EQ(QmxRomImageVersion(wild.data(), wild.size()), 0u);
  // The image ends inside the structure: before the code type, before the
  // revision-3 version bytes, right after them.
  EXPECT_EQ(QmxRomImageVersion(image.data(), 0x1C + 20), 0u);
  EXPECT_EQ(QmxRomImageVersion(image.data(), 0x1C + 29), 0u);
  EXPECT_EQ(QmxRomImageVersion(image.data(), 0x1C + 30), 0x12340708u);
  std::vector<uint8_t> old = RomImage(512, 0x1C, 2, 0);
  EXPECT_EQ(QmxRomImageVersion(old.data(), 0x1C + 26), 0x12340506u);
}

class RomVersion : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
  }
  LibHandle adapter_ = 0;
};

TEST_F(RomVersion, LargeImageIsUploadedIn64KiBPieces) {
  card().model().FirstAdapter()->images[2].bytes = RomImage(100000, 0x1C, 3, 0);
  uint32_t version = 0;
  EXPECT_EQ(QmxReadRomVersion(&adapter_, &version), kLibOk);
  EXPECT_EQ(version, 0x12340708u);
  auto uploads = Commands(0x12);
  ASSERT_EQ(uploads.size(), 3u);
  const uint32_t expected[][2] = {{0, 0}, {0, 65536}, {65536, 34464}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(uploads[i]->frame[0], 2) << i;
    EXPECT_EQ(Le32(uploads[i]->frame, 28), expected[i][0]) << i;
    EXPECT_EQ(Le32(uploads[i]->frame, 32), expected[i][1]) << i;
    EXPECT_EQ(uploads[i]->dataInSize, expected[i][1]) << i;
  }
}

TEST_F(RomVersion, Failures) {
  uint32_t version = 0xAAAA;
  EXPECT_EQ(QmxReadRomVersion(&adapter_, nullptr), kLibFailure);
  EXPECT_EQ(QmxReadRomVersion(nullptr, &version), kLibFailure);
  // The size query fails.
  card().FailIoctl(kCommandRequest, EIO, 1);
  EXPECT_EQ(QmxReadRomVersion(&adapter_, &version), kLibFailure);
  card().ClearFaults();
  // The size query goes through, the first piece fails.
  card().model().FirstAdapter()->images[2].bytes = RomImage(70000, 0x1C, 3, 0);
  emu::FunctionHandler upload = emu::FwUploadHandler();
  card().RegisterFunction(0x12, emu::FunctionHandler{upload.minimumFrameBytes,
                                                      [upload](emu::CommandRequest& r, emu::CommandAnswer& a) {
                                                        upload.handle(r, a);
                                                        r.emulator.FailIoctl(kCommandRequest, EIO, 1);
                                                      }});
  card().ClearLog();
  EXPECT_EQ(QmxReadRomVersion(&adapter_, &version), kLibFailure);
  EXPECT_EQ(card().CountCalls(kCommandRequest), 2u);  // the size query, then the failed piece
  card().RegisterFunction(0x12, upload);
  // No image at all.
  card().model().FirstAdapter()->images.erase(2);
  EXPECT_EQ(QmxReadRomVersion(&adapter_, &version), kLibFailure);
  EXPECT_EQ(version, 0xAAAAu);
}

}  // namespace
}  // namespace ctltest
