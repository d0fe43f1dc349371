// FW DOWNLOAD and FW UPLOAD: images move one piece per message. Download
// pieces are assembled per image type and the image is committed to flash
// with the last piece; an upload answers the piece asked for (what there is
// of it past the end) and the image's actual size. Image type 5 reads back
// the firmware in flash (a readback-differs fault turns its first byte).
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"
#include "emu/controller/qmx_frames.h"

namespace emu {
namespace {

namespace fw = qmx::fw;

struct Piece {
  uint8_t imageType = 0;
  uint32_t offset = 0;
  uint32_t size = 0;
  bool last = false;
};

// Decodes the frame of the adapter's generation; false when the first
// generation's transaction element does not describe a piece.
bool ReadPiece(const CommandRequest& request, Piece* piece) {
  const std::vector<uint8_t>& frame = request.frame;
  piece->imageType = le::Get8(frame, fw::kImageType);
  piece->last = (le::Get8(frame, fw::kMessageFlags) & fw::kFlagLastPiece) != 0;
  if (request.adapter.SecondGeneration()) {
    piece->offset = le::Get32(frame, fw::kImageOffsetGen2);
    piece->size = le::Get32(frame, fw::kPieceSizeGen2);
    return true;
  }
  piece->offset = le::Get32(frame, fw::kImageOffset);
  piece->size = le::Get32(frame, fw::kPieceSize);
  return le::Get8(frame, fw::kElementDetailsLength) == fw::kDetailsLength;
}

uint32_t MinimumFrame(const CommandRequest& request) {
  return request.adapter.SecondGeneration() ? fw::kRequestBytesGen2 : fw::kRequestBytes;
}

void Download(CommandRequest& request, CommandAnswer& answer) {
  answer.reply = NewReply(request, fw::kDownloadReplyBytes);
  Piece piece;
  if (request.frame.size() < MinimumFrame(request) || !ReadPiece(request, &piece) ||
      piece.imageType == 0 || piece.imageType == fw::kImageFirmwareReadBack) {
    return SetReplyStatus(&answer.reply, kIocInvalidField);
  }
  // The controller takes the piece from the data-out buffer: it must be there.
  if (piece.size > request.dataOut.size()) return SetReplyStatus(&answer.reply, kIocInvalidSgl);
  if (static_cast<uint64_t>(piece.offset) + piece.size > fw::kMaxImageBytes) {
    return SetReplyStatus(&answer.reply, kIocInsufficientResources);
  }
  auto& downloads = request.runtime.downloads;
  // A piece at offset 0 starts the image afresh.
  if (piece.offset == 0) downloads.erase(piece.imageType);
  PendingImage& pending = downloads[piece.imageType];
  if (pending.bytes.size() < piece.offset + piece.size) pending.bytes.resize(piece.offset + piece.size, 0);
  std::copy(request.dataOut.begin(), request.dataOut.begin() + piece.size,
            pending.bytes.begin() + piece.offset);
  ++pending.pieces;
  if (piece.last) {
    request.adapter.images[piece.imageType] = FlashImage{std::move(pending.bytes), ""};
    downloads.erase(piece.imageType);
  }
  SetReplyStatus(&answer.reply, kIocSuccess);
}

void Upload(CommandRequest& request, CommandAnswer& answer) {
  answer.reply = NewReply(request, fw::kUploadReplyBytes);
  Piece piece;
  if (request.frame.size() < MinimumFrame(request) || !ReadPiece(request, &piece) ||
      piece.imageType == 0) {
    return SetReplyStatus(&answer.reply, kIocInvalidField);
  }
  uint8_t type = piece.imageType == fw::kImageFirmwareReadBack ? fw::kImageFirmware : piece.imageType;
  auto image = request.adapter.images.find(type);
  const std::vector<uint8_t> none;
  const std::vector<uint8_t>& bytes = image == request.adapter.images.end() ? none : image->second.bytes;
  le::Put32(&answer.reply, fw::kUploadActualImageSize, static_cast<uint32_t>(bytes.size()));
  if (piece.offset < bytes.size()) {
    size_t n = std::min<size_t>(piece.size, bytes.size() - piece.offset);
    answer.dataIn.assign(bytes.begin() + piece.offset, bytes.begin() + piece.offset + n);
    // A faulty read-back path: the verifying copy's first byte is wrong.
    if (piece.imageType == fw::kImageFirmwareReadBack && n > 0 &&
        request.emulator.TakeReadBackFault(request.adapter.ioc)) {
      answer.dataIn[0] ^= 0xFF;
    }
  }
  SetReplyStatus(&answer.reply, kIocSuccess);
}

}  // namespace

FunctionHandler FwDownloadHandler() { return {fw::kRequestBytesGen2, Download}; }
FunctionHandler FwUploadHandler() { return {fw::kRequestBytesGen2, Upload}; }

}  // namespace emu
