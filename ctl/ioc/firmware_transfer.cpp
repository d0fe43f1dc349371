// FW DOWNLOAD and FW UPLOAD, one piece of an image per message.
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/fw_transfer_frames.h"
#include "ctl/frames/message_reply.h"
#include "ctl/ioc/ioc_requests.h"
#include "ctl/base/request_helpers.h"

namespace {

// Builds the block around a prepared frame and sends it.
LibStatus SendTransfer(LibContext* context, const AdapterRecord* adapter, uint8_t* frame,
                       uint32_t frameLength, bool upload, void* piece, uint32_t pieceSize,
                       uint8_t* reply, uint32_t replySize, void* out, uint32_t* outSize,
                       IocStatusInfo* status) {
  QmxRequestBlock block;
  PrepareRequestBlock(&block, adapter->header.handle);
  block.requestLength = frameLength;
  block.requestFrame = AddressOf(frame);
  if (upload) {
    block.dataInLength = pieceSize;
    block.dataIn = AddressOf(piece);
  } else {
    block.dataOutLength = pieceSize;
    block.dataOut = AddressOf(piece);
  }
  block.replyLength = replySize;
  block.reply = AddressOf(reply);
  block.timeout = kFwTransferTimeout;
  LibStatus result = IssueRequest(context, &block);
  CopyStatusOut(status, block);
  CopyReplyOut(out, outSize, reply, replySize, result == kLibOk);
  return result;
}

void FillTransactionElement(uint8_t* frame, uint32_t imageOffset, uint32_t pieceSize) {
  Put8(frame, fw_frame::kTeReserved, 0);
  Put8(frame, fw_frame::kTeContextSize, 0);
  Put8(frame, fw_frame::kTeDetailsLength, fw_frame::kDetailsLength);
  Put8(frame, fw_frame::kTeFlags, 0);
  PutLe32(frame, fw_frame::kTeReservedWord, 0);
  PutLe32(frame, fw_frame::kTeImageOffset, imageOffset);
  PutLe32(frame, fw_frame::kTeImageSize, pieceSize);
}

}  // namespace

LibStatus FirmwareDownload(LibContext* context, const LibHandle* adapter, const void* piece,
                           uint32_t pieceSize, uint32_t imageOffset, uint8_t imageType, uint32_t last,
                           void* reply, uint32_t* replySize, IocStatusInfo* status) {
  AdapterRecord* record = nullptr;
  LibStatus gate = CheckMessageVersion(context, adapter, &record);
  if (gate != kLibOk) return gate;
  if (record->secondGeneration) {
    return FirmwareDownloadGen2(context, adapter, piece, pieceSize, imageOffset, imageType, last, reply,
                                replySize, status);
  }
  if (pieceSize != 0 && piece == nullptr) return kLibBadParameter;
  uint8_t frame[fw_frame::kBufferSize] = {};
  uint8_t answer[fw_download_reply::kSize] = {};
  Put8(frame, fw_frame::kImageType, imageType);
  Put8(frame, fw_frame::kFunction, kFunctionFwDownload);
  Put8(frame, fw_frame::kMsgFlags, last ? fw_frame::kLastPiece : 0);
  PutLe32(frame, fw_frame::kTotalImageSize, pieceSize);
  FillTransactionElement(frame, imageOffset, pieceSize);
  return SendTransfer(context, record, frame, fw_frame::kRequestLength, false, const_cast<void*>(piece),
                      pieceSize, answer, sizeof(answer), reply, replySize, status);
}

LibStatus FirmwareUpload(LibContext* context, const LibHandle* adapter, void* piece, uint32_t pieceSize,
                         uint32_t imageOffset, uint8_t imageType, void* reply, uint32_t* replySize,
                         IocStatusInfo* status) {
  AdapterRecord* record = nullptr;
  LibStatus gate = CheckMessageVersion(context, adapter, &record);
  if (gate != kLibOk) return gate;
  if (record->secondGeneration) {
    return FirmwareUploadGen2(context, adapter, piece, pieceSize, imageOffset, imageType, reply, replySize,
                              status);
  }
  if (pieceSize != 0 && piece == nullptr) return kLibBadParameter;
  uint8_t frame[fw_frame::kBufferSize] = {};
  uint8_t answer[fw_upload_reply::kSize] = {};
  Put8(frame, fw_frame::kImageType, imageType);
  Put8(frame, fw_frame::kFunction, kFunctionFwUpload);
  FillTransactionElement(frame, imageOffset, pieceSize);
  return SendTransfer(context, record, frame, fw_frame::kRequestLength, true, piece, pieceSize, answer,
                      sizeof(answer), reply, replySize, status);
}

LibStatus FirmwareDownloadGen2(LibContext* context, const LibHandle* adapter, const void* piece,
                               uint32_t pieceSize, uint32_t imageOffset, uint8_t imageType,
                               uint32_t last, void* reply, uint32_t* replySize, IocStatusInfo* status) {
  AdapterRecord* record = nullptr;
  LibStatus gate = CheckMessageVersion(context, adapter, &record);
  if (gate != kLibOk) return gate;
  if (pieceSize != 0 && piece == nullptr) return kLibBadParameter;
  uint8_t frame[fw_frame_gen2::kBufferSize] = {};
  uint8_t answer[fw_download_reply::kSize] = {};
  Put8(frame, fw_frame_gen2::kImageType, imageType);
  Put8(frame, fw_frame_gen2::kFunction, kFunctionFwDownload);
  Put8(frame, fw_frame_gen2::kMsgFlags, last ? fw_frame::kLastPiece : 0);
  PutLe32(frame, fw_frame_gen2::kTotalImageSize, pieceSize);
  PutLe32(frame, fw_frame_gen2::kImageOffset, imageOffset);
  PutLe32(frame, fw_frame_gen2::kImageSize, pieceSize);
  return SendTransfer(context, record, frame, fw_frame_gen2::kRequestLength, false,
                      const_cast<void*>(piece), pieceSize, answer, sizeof(answer), reply, replySize,
                      status);
}

LibStatus FirmwareUploadGen2(LibContext* context, const LibHandle* adapter, void* piece,
                             uint32_t pieceSize, uint32_t imageOffset, uint8_t imageType, void* reply,
                             uint32_t* replySize, IocStatusInfo* status) {
  AdapterRecord* record = nullptr;
  LibStatus gate = CheckMessageVersion(context, adapter, &record);
  if (gate != kLibOk) return gate;
  if (pieceSize != 0 && piece == nullptr) return kLibBadParameter;
  uint8_t frame[fw_frame_gen2::kBufferSize] = {};
  uint8_t answer[fw_upload_reply::kSize] = {};
  Put8(frame, fw_frame_gen2::kImageType, imageType);
  Put8(frame, fw_frame_gen2::kFunction, kFunctionFwUpload);
  PutLe32(frame, fw_frame_gen2::kImageOffset, imageOffset);
  PutLe32(frame, fw_frame_gen2::kImageSize, pieceSize);
  return SendTransfer(context, record, frame, fw_frame_gen2::kRequestLength, true, piece, pieceSize,
                      answer, sizeof(answer), reply, replySize, status);
}
