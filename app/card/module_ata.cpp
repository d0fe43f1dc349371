#include "app/card/module_ata.h"

#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/card/slot_naming.h"
#include "cardlib/libzk.h"
#include "cardlib/layouts/register_fis.h"
#include "cardlib/layouts/sct_sector.h"
#include "ctl/base/byte_order.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/raid_action_frame.h"
#include "ctl/facade/qmx.h"

namespace {

constexpr uint32_t kAtaTimeoutSeconds = 100;

// The FIS bytes beyond those of the card library's layout: LBA bits 24-31
// (the LBA low exp byte) and bits 40-47, in the request and in the status
// FIS the module answers.
constexpr size_t kFisLbaBits24 = 8;
constexpr size_t kFisLbaBits40 = 10;

enum : uint8_t {
  kAtaIdentifyDevice = 0xEC,
  kAtaReadNativeMaxExt = 0x27,
  kAtaSetMaxExt = 0x37,
  kSmartEnableAutosave = 0xD2,
  kAutosaveEnable = 0xF1,
  kDeviceIdentify = 0x10,
  kDeviceLba = 0x40,
};

constexpr uint8_t kRaidActionMediaErase = 0x83;
constexpr uint32_t kMediaEraseWordPerDevice = 6u << 8;
constexpr uint32_t kMediaEraseOn = 1;

constexpr uint8_t kSctFormatVersion = 3;
constexpr uint8_t kSctStateReady = 0;
constexpr uint8_t kSctStateBusy = 5;
constexpr uint32_t kAutosaveTries = 3;

void PrepareRequest(SataPassthroughRequest* request, uint32_t ssdHandle, uint8_t command) {
  MemSet(request, 0, sizeof *request);
  request->size = kSataPassthroughSize;
  request->deviceHandle = ssdHandle;
  request->timeout = kAtaTimeoutSeconds;
  request->commandFis[h2d_fis::kType] = h2d_fis::kTypeHostToDevice;
  request->commandFis[h2d_fis::kFlags] = h2d_fis::kFlagCommand;
  request->commandFis[h2d_fis::kCommand] = command;
}

// A command without data, sent with the execute-diagnostic flag.
void SetNoData(SataPassthroughRequest* request, bool write) {
  request->executeDiagnostic = 1;
  request->dataPhase = 1;
  if (write) {
    request->write = 1;
  } else {
    request->read = 1;
  }
}

void SetSmartSignature(SataPassthroughRequest* request) {
  request->commandFis[h2d_fis::kLbaMid] = ata::kSmartLbaMid;
  request->commandFis[h2d_fis::kLbaHigh] = ata::kSmartLbaHigh;
}

bool ModuleAnsweredError(const SataPassthroughRequest& request) {
  return (request.statusFis[d2h_fis::kStatus] & d2h_fis::kStatusError) != 0;
}

uint32_t LastIocStatus() {
  IocStatusInfo last{};
  QmxGetLastStatus(&last);
  return last.iocStatus;
}

uint32_t Send(uint32_t adapter, SataPassthroughRequest* request) {
  LibHandle handle = adapter;
  return QmxSataPassthrough(&handle, request);
}

}  // namespace

uint32_t AtaIdentifyDevice(uint32_t adapter, uint32_t ssdHandle, uint8_t* identify) {
  if (identify == nullptr) return 1;
  MemSet(identify, 0, kIdentifySize);
  SataPassthroughRequest request;
  PrepareRequest(&request, ssdHandle, kAtaIdentifyDevice);
  request.commandFis[h2d_fis::kDevice] = kDeviceIdentify;
  request.pio = 1;
  request.dataPhase = 1;
  request.read = 1;
  request.dataInLength = kIdentifySize;
  request.dataIn = AddressOf(identify);
  uint32_t status = Send(adapter, &request);
  // A module that aborts the command answers no identify data.
  if (status == kLibOk && (request.status.iocStatus != 0 || ModuleAnsweredError(request))) status = 1;
  if (status != kLibOk) MemSet(identify, 0, kIdentifySize);
  return status;
}

uint32_t ReadNativeMaxAddress(uint32_t adapter, uint32_t ssdHandle, uint32_t* address) {
  SataPassthroughRequest request;
  PrepareRequest(&request, ssdHandle, kAtaReadNativeMaxExt);
  request.commandFis[h2d_fis::kDevice] = kDeviceLba;
  SetNoData(&request, false);
  uint32_t status = Send(adapter, &request);
  // A controller that did not carry the command out answers no address.
  if (ModuleAnsweredError(request) || (status == kLibOk && request.status.iocStatus != 0)) return 1;
  if (status == kLibOk && address != nullptr) {
    const uint8_t* fis = request.statusFis;
    *address = static_cast<uint32_t>(fis[h2d_fis::kLbaLow]) | (static_cast<uint32_t>(fis[h2d_fis::kLbaMid]) << 8) |
               (static_cast<uint32_t>(fis[h2d_fis::kLbaHigh]) << 16) |
               (static_cast<uint32_t>(fis[kFisLbaBits24]) << 24);
  }
  return status;
}

uint32_t SetMaxAddress(uint32_t adapter, uint32_t ssdHandle, uint32_t address) {
  SataPassthroughRequest request;
  PrepareRequest(&request, ssdHandle, kAtaSetMaxExt);
  uint8_t* fis = request.commandFis;
  fis[h2d_fis::kLbaLow] = static_cast<uint8_t>(address);
  fis[h2d_fis::kLbaMid] = static_cast<uint8_t>(address >> 8);
  fis[h2d_fis::kLbaHigh] = static_cast<uint8_t>(address >> 16);
  fis[kFisLbaBits24] = static_cast<uint8_t>(address >> 24);
  fis[h2d_fis::kLbaBits32] = 0;
  fis[kFisLbaBits40] = 0;
  fis[h2d_fis::kDevice] = kDeviceLba;
  fis[h2d_fis::kCount] = 1;
  SetNoData(&request, true);
  uint32_t status = Send(adapter, &request);
  // A controller that did not carry the command out set nothing.
  if (ModuleAnsweredError(request) || (status == kLibOk && request.status.iocStatus != 0)) return 1;
  return status;
}

uint32_t SmartReadLog(uint32_t adapter, uint32_t ssdHandle, void* buffer, uint32_t length) {
  uint32_t sectors = length / kAtaSectorSize;
  if (buffer == nullptr || sectors == 0 || sectors > ata::kMaxCount8 || length % kAtaSectorSize != 0) return 1;
  SataPassthroughRequest request;
  PrepareRequest(&request, ssdHandle, ata::kSmart);
  uint8_t* fis = request.commandFis;
  fis[h2d_fis::kFeatures] = ata::kSmartReadLog;
  fis[h2d_fis::kLbaLow] = ata::kSctCommandLog;
  SetSmartSignature(&request);
  fis[h2d_fis::kCount] = static_cast<uint8_t>(sectors);
  request.pio = 1;
  request.dataPhase = 1;
  request.read = 1;
  request.dataInLength = length;
  request.dataIn = AddressOf(buffer);
  if (Send(adapter, &request) != kLibOk) return 1;
  if (LastIocStatus() != 0 || ModuleAnsweredError(request)) return 1;
  return 0;
}

uint32_t DiagIdentify(uint32_t vxHandle, uint32_t ssdHandle, uint32_t slot, uint8_t* data) {
  if (data == nullptr) return 1;
  uint8_t sector[sct_sector::kSize] = {};
  PutLe16(sector, sct_sector::kAction, sct_action::kDiagIdentify);
  PutLe16(sector, sct_sector::kFunction, 0);
  if (SctSendCommand(vxHandle, ssdHandle, sector, sizeof sector) != 0) {
    ConsolePrint("\nFailed to extract Diagnostic Identify info from SSD slot number %u... ", slot);
    return 1;
  }
  MemSet(data, 0, 8);
  return SctReadData(vxHandle, ssdHandle, data, kDiagIdentifySize);
}

uint32_t NotifyMediaErase(uint32_t adapter, uint32_t on) {
  LibHandle handle = adapter;
  uint32_t word = 0;
  if (on == kMediaEraseOn) {
    uint32_t devices = 0;
    if (QmxGetDeviceCount(&handle, &devices) != kLibOk) return 1;
    word = devices * kMediaEraseWordPerDevice | kMediaEraseOn;
  }
  uint8_t frame[raid_action_frame::kRequestLength] = {};
  Put8(frame, raid_action_frame::kAction, kRaidActionMediaErase);
  Put8(frame, raid_action_frame::kFunction, kFunctionRaidAction);
  PutLe32(frame, raid_action_frame::kActionData, word);
  uint8_t reply[raid_action_reply::kBufferSize] = {};
  QmxRequestBlock block;
  MemSet(&block, 0, sizeof block);
  block.size = kRequestBlockSize;
  block.adapterHandle = adapter;
  block.magic = kRequestBlockMagic;
  block.requestLength = raid_action_frame::kRequestLength;
  block.requestFrame = AddressOf(frame);
  block.replyLength = sizeof reply;
  block.reply = AddressOf(reply);
  block.timeout = raid_action_frame::kTimeout;
  if (QmxIssueRequest(&block) != kLibOk) return 1;
  return block.status.iocStatus != 0 ? 1 : 0;
}

uint32_t SmartAutosave(uint32_t adapter, uint32_t ssdHandle, uint32_t slot) {
  uint32_t status = 1;
  for (uint32_t attempt = 0; attempt < kAutosaveTries; ++attempt) {
    ConsolePrint("Sending SMART ENABLE ATTRIBUTE AUTOSAVE to SSD slot number %u, Location %s, Cage %u... ", slot,
                 SlotToLocation(static_cast<uint16_t>(slot)), SlotToCage(static_cast<uint16_t>(slot)));
    SataPassthroughRequest request;
    PrepareRequest(&request, ssdHandle, ata::kSmart);
    request.commandFis[h2d_fis::kFeatures] = kSmartEnableAutosave;
    request.commandFis[h2d_fis::kCount] = kAutosaveEnable;
    SetSmartSignature(&request);
    SetNoData(&request, true);
    status = Send(adapter, &request);
    if (status == kLibOk && LastIocStatus() == 0) return 0;
    if (status == kLibOk) status = 1;
    SleepSeconds(1);
    ConsolePrint("%s\n", "FAILED");
  }
  return status;
}

uint32_t WaitSctStatus(uint32_t adapter, uint32_t ssdHandle, uint32_t tries) {
  for (uint32_t attempt = 0; attempt < tries; ++attempt) {
    uint8_t status[sct_status::kSize] = {};
    uint32_t read = SmartReadLog(adapter, ssdHandle, status, sizeof status);
    if (read != 0) return read;
    if (GetLe16(status, sct_status::kFormat) != kSctFormatVersion) continue;
    uint8_t state = Get8(status, sct_status::kDeviceState);
    if (state == kSctStateReady) return 0;
    if (state != kSctStateBusy) return 1;
    ConsolePrint(".");
    SleepSeconds(1);
  }
  return 1;
}
