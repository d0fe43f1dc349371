// Building and judging one SATA passthrough request to a module (shared by
// the SMART, log and module command senders).
#pragma once

#include <cstdint>

#include "ctl/devices/device_requests.h"

// What one send left behind.
struct AtaOutcome {
  uint32_t passthroughResult;  // QmxSataPassthrough's result
  uint32_t ataStatus;          // returned ATA status | error << 8
};

// A zeroed request for the module: record size, PIO, a data phase, the
// time-out in seconds (0: the transport's 10 s).
void PrepareAtaRequest(SataPassthroughRequest* request, uint32_t ssdHandle, uint32_t timeoutSeconds);
void SetAtaDataIn(SataPassthroughRequest* request, void* buffer, uint32_t length);
void SetAtaDataOut(SataPassthroughRequest* request, const void* buffer, uint32_t length);
// Sends the request to the module behind the card. 0 when the passthrough
// succeeded, the controller's IOCStatus is 0 and the module's status has no
// ERR bit; else 1. The outcome is filled in every case when given.
uint32_t SendAtaRequest(uint32_t vxHandle, SataPassthroughRequest* request, AtaOutcome* outcome);
// The same, recorded in the library's passthrough status words.
uint32_t SendRecordedAtaRequest(uint32_t vxHandle, SataPassthroughRequest* request);
