// Image transfers against the emulated card: chunked uploads and the size
// the controller reports, the status rule, the read-back check and the
// firmware download with its verification and reset.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "app/images/image_download.h"
#include "app/images/image_upload.h"
#include "app/shell/memory_strings.h"
#include "card_fixture.h"
#include "emu/controller/handlers.h"

namespace {

constexpr uint8_t kUpload = 0x12;
constexpr uint8_t kDownload = 0x09;
constexpr uint32_t kCommandIoctl = 0xC0484C14;
constexpr uint32_t kHardResetIoctl = 0xC00C4C18;

class ImageTransfer : public app_test::CardFixture {
 public:
  // Wraps the card's firmware upload: `before` runs ahead of each request
  // (1-based count) and may answer it itself by returning false.
  void WrapUpload(std::function<bool(int, emu::CommandRequest&, emu::CommandAnswer&)> before) {
    emu::FunctionHandler original = emu::FwUploadHandler();
    auto calls = std::make_shared<int>(0);
    card().RegisterFunction(kUpload, {original.minimumFrameBytes, [=](emu::CommandRequest& request,
                                                                      emu::CommandAnswer& answer) {
                                        if (before(++*calls, request, answer)) original.handle(request, answer);
                                      }});
  }
  // (image offset, length) of each upload request: frame u32 at 28 and 32.
  std::vector<std::pair<uint32_t, uint32_t>> UploadPieces() const {
    std::vector<std::pair<uint32_t, uint32_t>> pieces;
    for (const emu::LoggedCall* call : Commands(kUpload)) pieces.push_back({Le32(call->frame, 28), Le32(call->frame, 32)});
    return pieces;
  }
};

using Pieces = std::vector<std::pair<uint32_t, uint32_t>>;

TEST_F(ImageTransfer, AnImageOneBytePastAChunkTakesTwoRequests) {
  std::vector<uint8_t> image = Pattern(0x10001, 3);
  model().images[1].bytes = image;
  AppBuffer buffer;
  uint32_t size = 0;
  uint16_t status = 0x7777;
  uint32_t logInfo = 0x77777777;
  ASSERT_EQ(UploadFlashImage(adapter_, 1, &buffer, &size, 0, &status, &logInfo), 1u);
  ASSERT_TRUE(buffer);
  EXPECT_EQ(size, 0x10001u);
  EXPECT_EQ(buffer.size(), size);
  EXPECT_EQ(std::vector<uint8_t>(buffer.get(), buffer.get() + size), image);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(logInfo, 0u);
  // The size query, then 0x10000 bytes at 0 and 1 byte at 0x10000.
  EXPECT_EQ(UploadPieces(), (Pieces{{0, 0}, {0, 0x10000}, {0x10000, 1}}));
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(ImageTransfer, TheImageHeadIsOneRequestAndTellsTheWholeSize) {
  for (size_t imageSize : {size_t{0x18000}, size_t{1} << 20}) {
    SCOPED_TRACE(imageSize);
    model().images[1].bytes = Pattern(imageSize, 5);
    card().ClearLog();
    AppBuffer head;
    uint32_t size = 256;
    ASSERT_EQ(UploadImageBuffer(adapter_, 1, &head, &size, 0, nullptr, nullptr), 1u);
    EXPECT_EQ(size, imageSize);
    ASSERT_EQ(head.size(), 256u);
    EXPECT_EQ(std::vector<uint8_t>(head.get(), head.get() + 256),
              std::vector<uint8_t>(model().images[1].bytes.begin(), model().images[1].bytes.begin() + 256));
    EXPECT_EQ(UploadPieces(), (Pieces{{0, 256}}));
  }
  // A refused request hands back no buffer.
  card().AnswerFunction(kUpload, 0x0004, 0, 1);
  AppBuffer head(8);  // what it held before is let go
  uint32_t size = 256;
  uint16_t status = 0;
  EXPECT_EQ(UploadImageBuffer(adapter_, 1, &head, &size, 0, &status, nullptr), 0u);
  EXPECT_FALSE(head);
  EXPECT_EQ(status, 0x0004);
}

// The buffer is made for the size the controller reported first: a size
// that changes on the way fails the upload before anything is written
// past it (the sanitizer build also sees the partly filled buffer freed).
TEST_F(ImageTransfer, ASizeThatChangesBetweenChunksFailsTheUpload) {
  struct Case {
    const char* name;
    int changeBefore;   // the request ahead of which the image changes
    size_t newSize;
    size_t requests;    // requests sent before the upload gives up
  } cases[] = {
      {"grows after the size query", 2, 0x30000, 2},
      {"shrinks before the last chunk", 3, 0x10000, 3},
      {"grows before the last chunk", 3, 0x20000, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model().images[1].bytes = Pattern(0x18000, 7);
    card().ClearLog();
    WrapUpload([&](int call, emu::CommandRequest& request, emu::CommandAnswer&) {
      if (call == c.changeBefore) request.adapter.images[1].bytes = Pattern(c.newSize, 9);
      return true;
    });
    AppBuffer buffer(8);
    uint32_t size = 77;
    EXPECT_EQ(UploadFlashImage(adapter_, 1, &buffer, &size, 0, nullptr, nullptr), 0u);
    EXPECT_FALSE(buffer);
    EXPECT_EQ(size, 0u);
    Pieces pieces = UploadPieces();
    EXPECT_EQ(pieces.size(), c.requests);
    for (const auto& piece : pieces) EXPECT_LE(piece.first + piece.second, 0x18000u);
    EXPECT_EQ(card().TakeOutput(), "");  // a failed chunk has no message of its own
  }
}

TEST_F(ImageTransfer, FailedUploadsReportTheirStatus) {
  struct Case {
    const char* name;
    std::function<void(ImageTransfer&)> arm;
    uint16_t status;
    uint32_t logInfo;
    std::string output;
  } cases[] = {
      {"size query refused", [](ImageTransfer& t) { t.card().AnswerFunction(kUpload, 0x0022, 0x1234, 1); },
       0x0022, 0x1234, "\tERROR: Failed to Upload Image!\n"},
      {"driver fails", [](ImageTransfer& t) { t.card().FailIoctl(kCommandIoctl, EIO, 1, kUpload); }, 0, 0,
       "\tERROR: Failed to Upload Image!\n"},
      // A reply cut before the size word tells no size.
      {"reply cut", [](ImageTransfer& t) { t.card().CutReply(kUpload, 20, 1); }, 0, 0,
       "\tERROR: Failed to Upload Image!\n"},
      {"second chunk refused",
       [](ImageTransfer& t) {
         t.WrapUpload([](int call, emu::CommandRequest& request, emu::CommandAnswer& answer) {
           if (call != 3) return true;
           answer.reply = emu::NewReply(request, 24);
           emu::SetReplyStatus(&answer.reply, 0x0004, 0x00C0FFEE);
           return false;
         });
       },
       0x0004, 0x00C0FFEE, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(emu::DefaultHost());
    c.arm(*this);
    AppBuffer buffer;
    uint32_t size = 0;
    uint16_t status = 0x7777;
    uint32_t logInfo = 0x77777777;
    EXPECT_EQ(UploadFlashImage(adapter_, 1, &buffer, &size, 0, &status, &logInfo), 0u);
    EXPECT_FALSE(buffer);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(logInfo, c.logInfo);
    EXPECT_EQ(card().TakeOutput(), c.output);
    LibZKClose();
  }
}

// The status rule, on single download requests: outputs cleared first,
// each stored when the answer marks it valid, success only for IOCStatus 0.
TEST_F(ImageTransfer, OneDownloadRequestAndItsStatus) {
  struct Case {
    const char* name;
    std::function<void(emu::Emulator&)> arm;
    uint32_t result;
    uint16_t status;
    uint32_t logInfo;
  } cases[] = {
      {"accepted", [](emu::Emulator&) {}, 1, 0, 0},
      {"refused", [](emu::Emulator& e) { e.AnswerFunction(kDownload, 0x0004, 0, 1); }, 0, 0x0004, 0},
      {"log info only", [](emu::Emulator& e) { e.AnswerFunction(kDownload, 0x0000, 0x000000AB, 1); }, 1, 0, 0xAB},
      {"refused with log info", [](emu::Emulator& e) { e.AnswerFunction(kDownload, 0x0022, 0x1234, 1); }, 0,
       0x0022, 0x1234},
      {"driver fails", [](emu::Emulator& e) { e.FailIoctl(kCommandIoctl, EIO, 1, kDownload); }, 0, 0, 0},
  };
  const std::vector<uint8_t> image = Pattern(600, 11);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.arm(card());
    uint16_t status = 0x7777;
    uint32_t logInfo = 0x77777777;
    EXPECT_EQ(DownloadImageChunk(adapter_, 1, image.data(), 600, 0, 1, &status, &logInfo), c.result);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(logInfo, c.logInfo);
  }
  EXPECT_EQ(model().images[1].bytes, image);
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(ImageTransfer, ReadBackMustHoldTheWholeImage) {
  const std::vector<uint8_t> image = Pattern(0x12000, 13);
  struct Case {
    const char* name;
    std::vector<uint8_t> inFlash;
    uint32_t result;
  } cases[] = {
      {"equal", image, 1},
      {"longer", [&] { auto b = image; b.resize(0x13000, 0xEE); return b; }(), 1},
      {"one byte differs", [&] { auto b = image; b[0x11FFF] ^= 1; return b; }(), 0},
      {"shorter", std::vector<uint8_t>(image.begin(), image.end() - 100), 0},
      {"empty", {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model().images[1].bytes = c.inFlash;
    EXPECT_EQ(VerifyDownload(image.data(), static_cast<uint32_t>(image.size()), adapter_, nullptr, nullptr, 5),
              c.result);
  }
  EXPECT_EQ(card().TakeOutput(), "");

  card().AnswerFunction(kUpload, 0x0004, 0, 1);
  uint16_t status = 0;
  EXPECT_EQ(VerifyDownload(image.data(), 16, adapter_, &status, nullptr, 5), 0u);
  EXPECT_EQ(status, 0x0004);
  EXPECT_EQ(card().TakeOutput(), "\tERROR: Failed to Upload Image!\n\tERROR: Image Upload Failed.\n");
}

TEST_F(ImageTransfer, FirmwareDownloadVerifiesThenResets) {
  const std::string downloaded = "\t\tFirmware Download Successful.\n\n\t\tVerifying Download...\n\n";
  const std::string flashed = "\t\tFirmware Flash Successful!\n\n\t\tResetting Adapter...\n\n";
  const std::string corrupt = "\t\tERROR: Downloaded Image corrupt.\n\t\tFirmware Flash FAILED!\n\n";
  struct Case {
    const char* name;
    std::function<void(emu::Emulator&)> arm;
    uint32_t result;
    std::string output;
    uint32_t resets;
    bool newInFlash;
    uint16_t status;
  } cases[] = {
      {"flashed and reset", [](emu::Emulator&) {}, 1, downloaded + flashed + "\t\tAdapter Successfully Reset.\n\n",
       1, true, 0},
      {"download refused", [](emu::Emulator& e) { e.AnswerFunction(kDownload, 0x0007, 0, 1); }, 0,
       "\t\tFirmware Download Failed!\n\n", 0, false, 0x0007},
      {"read-back differs",
       [](emu::Emulator& e) {
         emu::FunctionHandler original = emu::FwDownloadHandler();
         e.RegisterFunction(kDownload, {original.minimumFrameBytes, [=](emu::CommandRequest& request,
                                                                        emu::CommandAnswer& answer) {
                                          original.handle(request, answer);
                                          request.adapter.images[1].bytes[0x100] ^= 0x01;
                                        }});
       },
       0, downloaded + corrupt, 0, false, 0},
      {"read-back fails", [](emu::Emulator& e) { e.AnswerFunction(kUpload, 0x0022, 0, 1); }, 0,
       downloaded + "\tERROR: Failed to Upload Image!\n\tERROR: Image Upload Failed.\n" + corrupt, 0, true, 0x0022},
      {"reset fails", [](emu::Emulator& e) { e.FailIoctl(kHardResetIoctl, EIO, 1); }, 0,
       downloaded + flashed + "\t\tAdapter Reset Failed!\n\n", 0, true, 0},
  };
  const std::vector<uint8_t> image = Pattern(0x14000, 17);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(emu::DefaultHost());
    const std::vector<uint8_t> before = model().images[1].bytes;
    c.arm(card());
    uint16_t status = 0x7777;
    uint32_t logInfo = 0x77777777;
    EXPECT_EQ(DownloadFwImage(adapter_, image.data(), static_cast<uint32_t>(image.size()), &status, &logInfo),
              c.result);
    EXPECT_EQ(card().TakeOutput(), c.output);
    EXPECT_EQ(card().HardResets(), c.resets);
    if (c.newInFlash) {
      EXPECT_EQ(model().images[1].bytes, image);
    } else {
      EXPECT_NE(model().images[1].bytes, image);
    }
    EXPECT_EQ(status, c.status);
    // The whole image went in one request with the last-segment flag.
    std::vector<const emu::LoggedCall*> downloads = Commands(kDownload);
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads[0]->frame[0], 1);
    EXPECT_EQ(downloads[0]->frame[7], 1);
    EXPECT_EQ(downloads[0]->dataOut, image);
    LibZKClose();
  }
}

}  // namespace
