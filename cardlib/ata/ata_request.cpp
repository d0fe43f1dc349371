#include "cardlib/ata/ata_request.h"

#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/layouts/register_fis.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/facade/qmx.h"

void PrepareAtaRequest(SataPassthroughRequest* request, uint32_t ssdHandle, uint32_t timeoutSeconds) {
  ZkFill(request, 0, sizeof(*request));
  request->size = kSataPassthroughSize;
  request->deviceHandle = ssdHandle;
  request->pio = 1;
  request->dataPhase = 1;
  request->timeout = timeoutSeconds;
  request->commandFis[h2d_fis::kType] = h2d_fis::kTypeHostToDevice;
  request->commandFis[h2d_fis::kFlags] = h2d_fis::kFlagCommand;
}

void SetAtaDataIn(SataPassthroughRequest* request, void* buffer, uint32_t length) {
  request->read = 1;
  request->dataInLength = length;
  request->dataIn = AddressOf(buffer);
}

void SetAtaDataOut(SataPassthroughRequest* request, const void* buffer, uint32_t length) {
  request->write = 1;
  request->dataOutLength = length;
  request->dataOut = AddressOf(buffer);
}

uint32_t SendAtaRequest(uint32_t vxHandle, SataPassthroughRequest* request, AtaOutcome* outcome) {
  LibStatus result = QmxSataPassthrough(&vxHandle, request);
  bool ok = result == kLibOk;
  if (ok) {
    IocStatusInfo last{};
    QmxGetLastStatus(&last);
    ok = last.iocStatus == 0 && (request->statusFis[d2h_fis::kStatus] & d2h_fis::kStatusError) == 0;
  }
  if (outcome != nullptr) {
    outcome->passthroughResult = result;
    outcome->ataStatus = request->statusFis[d2h_fis::kStatus] |
                         (static_cast<uint32_t>(request->statusFis[d2h_fis::kError]) << 8);
  }
  return ok ? 0 : 1;
}

uint32_t SendRecordedAtaRequest(uint32_t vxHandle, SataPassthroughRequest* request) {
  AtaOutcome outcome{};
  uint32_t result = SendAtaRequest(vxHandle, request, &outcome);
  g_ataPassthroughStatus.lastPassthroughResult = outcome.passthroughResult;
  g_ataPassthroughStatus.lastAtaStatus = outcome.ataStatus;
  return result;
}
