#include "app/card/module_scsi.h"

#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "cardlib/layouts/scsi_cdbs.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/scsi_commands.h"

namespace {

constexpr uint8_t kScsiStatusGood = 0;

enum : uint8_t {
  kOpModeSelect10 = 0x55,
  kOpModeSense10 = 0x5A,
  kOpReadBuffer = 0x3C,
};

constexpr uint8_t kCdb6 = 6;
constexpr uint8_t kCdb10 = 10;

// INQUIRY with EVPD: the unit serial number page.
constexpr uint8_t kVpdSerialNumber = 0x80;
constexpr uint32_t kSerialPageSize = 24;
constexpr uint32_t kSerialOffset = 4;

constexpr uint8_t kModeSensePage1 = 0x01;
constexpr uint8_t kModeSelectPfSp = 0x11;
constexpr size_t kModeLength = 8;  // allocation / parameter list length, low byte

// READ BUFFER, error history mode.
constexpr uint8_t kModeErrorHistory = 0x1C;
constexpr uint8_t kErrorDirectoryId = 0xFF;
constexpr uint8_t kErrorHistoryId = 0x01;
constexpr size_t kReadBufferId = 2;
constexpr size_t kReadBufferAllocation = 6;  // 24 bits big-endian

// The error history directory.
constexpr size_t kDirectoryLength = 30;  // u16 big-endian
constexpr size_t kDirectoryEntries = 32;
constexpr size_t kDirectoryEntrySize = 8;
constexpr size_t kEntryId = 0;
constexpr size_t kEntrySize = 4;  // u32 big-endian

struct ScsiCommand {
  uint8_t cdb[kScsiCdbMax] = {};
  uint8_t cdbLength = 0;
  uint32_t direction = kScsiDataIn;
  void* data = nullptr;
  uint32_t length = 0;
  uint32_t timeout = 0;
};

void PutAllocation24(uint8_t* cdb, size_t offset, uint32_t length) {
  cdb[offset] = static_cast<uint8_t>(length >> 16);
  cdb[offset + 1] = static_cast<uint8_t>(length >> 8);
  cdb[offset + 2] = static_cast<uint8_t>(length);
}

// Sends the command; *request keeps what came back.
LibStatus Send(uint32_t deviceHandle, const ScsiCommand& command, ScsiPassthroughRequest* request) {
  MemSet(request, 0, sizeof *request);
  request->size = kScsiPassthroughSize;
  request->cdbLength = command.cdbLength;
  MemCopy(request->cdb, command.cdb, command.cdbLength);
  request->direction = command.direction;
  request->dataLength = command.length;
  request->dataBuffer = AddressOf(command.data);
  request->timeout = command.timeout;
  LibHandle handle = deviceHandle;
  return QmxScsiPassthrough(&handle, request);
}

// The passthrough's status, or 1 when it went through but the module did
// not answer GOOD (its data then is no answer).
uint32_t Outcome(LibStatus status, const ScsiPassthroughRequest& request) {
  if (status != kLibOk) return status;
  return request.scsiStatus == kScsiStatusGood ? 0 : 1;
}

uint32_t ReadInquiry(uint32_t deviceHandle, uint8_t* data) {
  ScsiCommand command;
  command.cdb[0] = scsi_cdb::kInquiry;
  command.cdb[4] = scsi_cdb::kInquiryLength;
  command.cdbLength = kCdb6;
  command.data = data;
  command.length = kInquiryReadSize;
  ScsiPassthroughRequest request;
  return Outcome(Send(deviceHandle, command, &request), request);
}

uint32_t ReadIn512(uint32_t deviceHandle, const uint8_t* cdb, uint8_t cdbLength, uint8_t* data) {
  if (cdb == nullptr || data == nullptr) return 1;
  uint8_t received[kScsiReadSize] = {};
  ScsiCommand command;
  MemCopy(command.cdb, cdb, cdbLength);
  command.cdbLength = cdbLength;
  command.data = received;
  command.length = sizeof received;
  ScsiPassthroughRequest request;
  if (Outcome(Send(deviceHandle, command, &request), request) != 0) return 1;
  MemCopy(data, received, sizeof received);
  return 0;
}

uint32_t ModeCommand(uint32_t deviceHandle, ScsiCommand* command) {
  command->cdbLength = kCdb10;
  command->timeout = kModuleScsiTimeoutSeconds;
  ScsiPassthroughRequest request;
  return Outcome(Send(deviceHandle, *command, &request), request) == 0 ? 0 : 1;
}

uint32_t ReadBufferStatus(LibStatus status, const ScsiPassthroughRequest& request) {
  return Outcome(status, request) & 0xFF;
}

}  // namespace

uint32_t ScsiInquiry(uint32_t deviceHandle, uint8_t* inquiry) {
  if (inquiry == nullptr) return 1;
  uint8_t data[kInquiryReadSize] = {};
  uint32_t status = ReadInquiry(deviceHandle, data);
  if (status == 0) MemCopy(inquiry, data, kInquirySize);
  return status;
}

uint32_t ScsiInquiryStd(uint32_t deviceHandle, uint8_t* inquiry) {
  if (inquiry == nullptr) return 1;
  uint8_t data[kInquiryReadSize] = {};
  if (ReadInquiry(deviceHandle, data) != 0) return 1;
  MemCopy(inquiry, data, sizeof data);
  return 0;
}

uint32_t ScsiSerialNumber(uint32_t deviceHandle, uint8_t* serial) {
  if (serial == nullptr) return 1;
  uint8_t page[kSerialPageSize] = {};
  ScsiCommand command;
  command.cdb[0] = scsi_cdb::kInquiry;
  command.cdb[1] = scsi_cdb::kInquiryEvpd;
  command.cdb[2] = kVpdSerialNumber;
  command.cdb[4] = static_cast<uint8_t>(kSerialPageSize);
  command.cdbLength = kCdb6;
  command.data = page;
  command.length = sizeof page;
  ScsiPassthroughRequest request;
  uint32_t status = Outcome(Send(deviceHandle, command, &request), request);
  // Exactly the 20 bytes of the field, whatever the page's length byte says.
  if (status == 0) MemCopy(serial, page + kSerialOffset, kSerialNumberSize);
  return status;
}

uint32_t ModeSense10(uint32_t deviceHandle, uint8_t* data) {
  if (data == nullptr) return 1;
  ScsiCommand command;
  command.cdb[0] = kOpModeSense10;
  command.cdb[2] = kModeSensePage1;
  command.cdb[kModeLength] = static_cast<uint8_t>(kModePageSize);
  command.data = data;
  command.length = kModePageSize;
  return ModeCommand(deviceHandle, &command);
}

uint32_t ModeSelect10(uint32_t deviceHandle, const uint8_t* data, uint32_t length) {
  // The parameter list length travels in one byte.
  if (data == nullptr || length == 0 || length > 0xFF) return 1;
  ScsiCommand command;
  command.cdb[0] = kOpModeSelect10;
  command.cdb[1] = kModeSelectPfSp;
  command.cdb[kModeLength] = static_cast<uint8_t>(length);
  command.direction = kScsiDataOut;
  command.data = const_cast<uint8_t*>(data);
  command.length = length;
  return ModeCommand(deviceHandle, &command);
}

uint32_t ReadErrorHistory(uint32_t deviceHandle, uint8_t bufferId, uint8_t* data) {
  if (data == nullptr) return 1;
  ScsiCommand command;
  command.cdb[0] = kOpReadBuffer;
  command.cdb[1] = kModeErrorHistory;
  command.cdb[kReadBufferId] = bufferId;
  PutAllocation24(command.cdb, kReadBufferAllocation, kErrorHistorySize);
  command.cdbLength = kCdb10;
  command.data = data;
  command.length = kErrorHistorySize;
  command.timeout = kModuleScsiTimeoutSeconds;
  ScsiPassthroughRequest request;
  LibStatus status = Send(deviceHandle, command, &request);
  return ReadBufferStatus(status, request);
}

uint32_t ReadErrorHistoryDir(uint32_t deviceHandle) {
  ScsiCommand command;
  command.cdb[0] = kOpReadBuffer;
  command.cdb[1] = kModeErrorHistory;
  command.cdb[kReadBufferId] = kErrorDirectoryId;
  command.cdbLength = kCdb10;
  ScsiPassthroughRequest request;
  LibStatus status = Send(deviceHandle, command, &request);
  return ReadBufferStatus(status, request);
}

uint32_t PrintErrorHistory(uint32_t deviceHandle, uint8_t* data, uint32_t moduleNumber) {
  if (data == nullptr) return 1;
  ScsiCommand command;
  command.cdb[0] = kOpReadBuffer;
  command.cdb[1] = kModeErrorHistory;
  command.cdb[kReadBufferId] = kErrorHistoryId;
  PutAllocation24(command.cdb, kReadBufferAllocation, kErrorDirectorySize);
  command.cdbLength = kCdb10;
  command.data = data;
  command.length = kErrorDirectorySize;
  ScsiPassthroughRequest request;
  uint32_t status = ReadBufferStatus(Send(deviceHandle, command, &request), request);
  if (status != 0) return status;
  ConsolePrint("\n\n ______________________________ \n|    ERROR HISTORY (SSD #%X)    |\n|", moduleNumber);
  ConsolePrint("______________________________|\n|   ENTRY ID   |   SIZE(Bytes) |\n|______________________________|\n");
  // The directory names its own length; only entries that lie inside the
  // data received are printed.
  size_t entries = GetBe16(data, kDirectoryLength) / kDirectoryEntrySize;
  size_t room = (kErrorDirectorySize - kDirectoryEntries) / kDirectoryEntrySize;
  if (entries > room) entries = room;
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* entry = data + kDirectoryEntries + i * kDirectoryEntrySize;
    ConsolePrint("|     0x%2X     |    0x%2X    |\n|______________________________|\n", entry[kEntryId],
                 GetBe32(entry, kEntrySize));
  }
  return status;
}

uint32_t ScsiCdb10In(uint32_t deviceHandle, const uint8_t* cdb, uint8_t* data) {
  return ReadIn512(deviceHandle, cdb, kCdb10, data);
}

uint32_t ScsiCdb6In(uint32_t deviceHandle, const uint8_t* cdb, uint8_t* data) {
  return ReadIn512(deviceHandle, cdb, kCdb6, data);
}
