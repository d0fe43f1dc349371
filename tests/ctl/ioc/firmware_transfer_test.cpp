// FW DOWNLOAD and FW UPLOAD frames, one piece per message.
#include <cerrno>
#include <cstring>

#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

class FirmwareTransfer : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
  }
  static std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 13);
    return bytes;
  }
  LibHandle adapter_ = 0;
};

TEST_F(FirmwareTransfer, DownloadInPiecesFlagsOnlyTheLast) {
  std::vector<uint8_t> image = Pattern(3000, 5);
  const uint32_t pieces[][2] = {{0, 1024}, {1024, 1024}, {2048, 952}};
  for (size_t i = 0; i < 3; ++i) {
    uint8_t reply[20];
    uint32_t replySize = sizeof(reply);
    IocStatusInfo status{};
    EXPECT_EQ(QmxFirmwareDownload(&adapter_, image.data() + pieces[i][0], pieces[i][1], pieces[i][0], 1,
                                  i == 2 ? 1 : 0, reply, &replySize, &status),
              kLibOk);
    EXPECT_EQ(replySize, 20u);
    EXPECT_EQ(status.size, 16u);
  }
  auto downloads = Commands(0x09);
  ASSERT_EQ(downloads.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const std::vector<uint8_t>& f = downloads[i]->frame;
    ASSERT_EQ(f.size(), 36u);
    EXPECT_EQ(f[0], 1);
    EXPECT_EQ(f[3], 0x09);
    EXPECT_EQ(f[7], i == 2 ? 1 : 0);
    EXPECT_EQ(Le32(f, 12), pieces[i][1]);
    EXPECT_EQ(f[20], 0);
    EXPECT_EQ(f[21], 0);
    EXPECT_EQ(f[22], 12);
    EXPECT_EQ(f[23], 0);
    EXPECT_EQ(Le32(f, 24), 0u);
    EXPECT_EQ(Le32(f, 28), pieces[i][0]);
    EXPECT_EQ(Le32(f, 32), pieces[i][1]);
    EXPECT_EQ(downloads[i]->dataOut,
              std::vector<uint8_t>(image.begin() + pieces[i][0], image.begin() + pieces[i][0] + pieces[i][1]));
    EXPECT_EQ(downloads[i]->timeoutSeconds, 60u);
    EXPECT_EQ(downloads[i]->maxReplyBytes, 20u);
  }
  // The card took the whole image on the last piece.
  EXPECT_EQ(card().model().FirstAdapter()->images[1].bytes, image);
}

TEST_F(FirmwareTransfer, UploadReadsAPieceAndTheImageSize) {
  std::vector<uint8_t> image = Pattern(5000, 9);
  card().model().FirstAdapter()->images[2].bytes = image;
  std::vector<uint8_t> piece(1000);
  uint8_t reply[24] = {};
  uint32_t replySize = sizeof(reply);
  EXPECT_EQ(QmxFirmwareUpload(&adapter_, piece.data(), 1000, 4000, 2, reply, &replySize, nullptr), kLibOk);
  EXPECT_EQ(piece, std::vector<uint8_t>(image.begin() + 4000, image.end()));
  EXPECT_EQ(replySize, 24u);
  EXPECT_EQ(Le32(std::vector<uint8_t>(reply, reply + 24), 20), 5000u);
  const emu::LoggedCall& call = card().log().back();
  ASSERT_EQ(call.frame.size(), 36u);
  EXPECT_EQ(call.frame[0], 2);
  EXPECT_EQ(call.frame[3], 0x12);
  EXPECT_EQ(call.frame[7], 0);
  EXPECT_EQ(call.frame[22], 12);
  EXPECT_EQ(Le32(call.frame, 28), 4000u);
  EXPECT_EQ(Le32(call.frame, 32), 1000u);
  EXPECT_EQ(call.dataInSize, 1000u);
  EXPECT_EQ(call.timeoutSeconds, 60u);
  EXPECT_EQ(call.maxReplyBytes, 24u);
}

TEST_F(FirmwareTransfer, ReplySizeFollowsTheRequest) {
  uint8_t piece[8] = {};
  uint8_t reply[40];
  std::memset(reply, 0xEE, sizeof(reply));
  uint32_t replySize = 8;
  EXPECT_EQ(QmxFirmwareUpload(&adapter_, piece, 8, 0, 1, reply, &replySize, nullptr), kLibOk);
  EXPECT_EQ(replySize, 8u);
  EXPECT_EQ(reply[8], 0xEE);
  replySize = 40;
  card().FailIoctl(kCommandRequest, EIO, 1);
  EXPECT_EQ(QmxFirmwareDownload(&adapter_, piece, 8, 0, 1, 1, reply, &replySize, nullptr), kLibIoctlFailed);
  EXPECT_EQ(replySize, 0u);
  EXPECT_EQ(QmxFirmwareDownload(&adapter_, nullptr, 8, 0, 1, 1, nullptr, nullptr, nullptr), kLibBadParameter);
}

TEST_F(FirmwareTransfer, SecondGenerationFrames) {
  emu::HostModel host = emu::DefaultHost();
  host.nodes[0].adapters[0].pciDeviceId = 0x90;
  Start(host);
  ASSERT_EQ(Discover(0), kLibOk);  // no filter: every chip is kept
  LibHandle adapter = FirstAdapterRecord()->header.handle;
  EXPECT_EQ(FirstAdapterRecord()->secondGeneration, 1u);
  card().ClearLog();
  std::vector<uint8_t> image = Pattern(600, 1);
  uint8_t reply[24];
  uint32_t replySize = 20;
  EXPECT_EQ(QmxFirmwareDownload(&adapter, image.data(), 600, 0, 1, 1, reply, &replySize, nullptr), kLibOk);
  const emu::LoggedCall& down = card().log().back();
  ASSERT_EQ(down.frame.size(), 32u);
  EXPECT_EQ(down.frame[0], 1);
  EXPECT_EQ(down.frame[3], 0x09);
  EXPECT_EQ(down.frame[7], 1);
  EXPECT_EQ(Le32(down.frame, 12), 600u);
  EXPECT_EQ(Le32(down.frame, 24), 0u);
  EXPECT_EQ(Le32(down.frame, 28), 600u);
  EXPECT_EQ(card().model().FirstAdapter()->images[1].bytes, image);

  std::vector<uint8_t> piece(100);
  replySize = 24;
  EXPECT_EQ(QmxFirmwareUpload(&adapter, piece.data(), 100, 200, 1, reply, &replySize, nullptr), kLibOk);
  const emu::LoggedCall& up = card().log().back();
  ASSERT_EQ(up.frame.size(), 32u);
  EXPECT_EQ(up.frame[3], 0x12);
  EXPECT_EQ(Le32(up.frame, 24), 200u);
  EXPECT_EQ(Le32(up.frame, 28), 100u);
  EXPECT_EQ(piece, std::vector<uint8_t>(image.begin() + 200, image.begin() + 300));
}

}  // namespace
}  // namespace ctltest
