// Records that callers fill to send one message to a device behind the
// controller: an ATA command (SATA passthrough) and an SMP frame. Their
// layout is the same in the 32-bit and the 64-bit build: fixed-width fields,
// explicit padding and buffer addresses in 64-bit slots (AddressOf).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/base/lib_types.h"

inline constexpr uint32_t kSataPassthroughSize = 416;
inline constexpr uint32_t kFisSize = 20;

// One ATA command, given as a Register Host-to-Device FIS.
struct SataPassthroughRequest {
  uint32_t size;               // 416, else 21
  LibHandle deviceHandle;      // kind 0x08 a physical disk; any other kind a device
  uint32_t executeDiagnostic;  // non-zero: pass-through flag 0x0100
  uint32_t dma;                // 0x0020
  uint32_t pio;                // 0x0010
  uint32_t dataPhase;          // 0: unspecified transfer (0x0004), the direction words ignored
  uint32_t write;              // 0x0002
  uint32_t read;               // 0x0001
  uint32_t dataOutLength;      // on success replaced by the reply's transfer count
  uint32_t dataInLength;
  IocStatusInfo status;        // returned after every sent request
  uint8_t sasStatus;           // returned on success
  uint8_t reserved57[3];
  uint32_t statusControl;      // returned on success
  uint8_t reserved64[8];
  uint64_t dataOut;            // AddressOf(the data-out buffer)
  uint64_t dataIn;             // AddressOf(the data-in buffer)
  uint32_t timeout;            // seconds; 0 means 10
  uint8_t commandFis[kFisSize];
  uint8_t reserved112[140];
  uint8_t statusFis[kFisSize]; // returned on success: byte 2 ATA status, byte 3 ATA error
  uint8_t reserved272[144];
};
static_assert(sizeof(SataPassthroughRequest) == kSataPassthroughSize);
static_assert(offsetof(SataPassthroughRequest, dataOutLength) == 32);
static_assert(offsetof(SataPassthroughRequest, status) == 40);
static_assert(offsetof(SataPassthroughRequest, sasStatus) == 56);
static_assert(offsetof(SataPassthroughRequest, statusControl) == 60);
static_assert(offsetof(SataPassthroughRequest, dataOut) == 72);
static_assert(offsetof(SataPassthroughRequest, dataIn) == 80);
static_assert(offsetof(SataPassthroughRequest, timeout) == 88);
static_assert(offsetof(SataPassthroughRequest, commandFis) == 92);
static_assert(offsetof(SataPassthroughRequest, statusFis) == 252);

inline constexpr uint32_t kSmpPassthroughSize = 2096;
inline constexpr uint32_t kSmpRequestAreaSize = 1028;
inline constexpr uint32_t kSmpResponseAreaSize = 1032;
inline constexpr uint32_t kSmpCrcSize = 4;

// One SMP frame for the SMP target with the SAS address.
struct SmpPassthroughRequest {
  uint32_t size;            // 2096, else 21
  uint16_t requestLength;   // bytes, with the 4-byte CRC that is not sent: 4 to 1028
  uint8_t pad6[2];
  uint64_t sasAddress;
  IocStatusInfo status;     // returned after the request was sent
  uint8_t sasStatus;        // returned on success
  uint8_t pad33;
  uint16_t responseSize;    // in: room in the response area (at most 1032); out: the response length
  uint8_t request[kSmpRequestAreaSize];
  uint8_t response[kSmpResponseAreaSize];
};
static_assert(sizeof(SmpPassthroughRequest) == kSmpPassthroughSize);
static_assert(offsetof(SmpPassthroughRequest, sasAddress) == 8);
static_assert(offsetof(SmpPassthroughRequest, status) == 16);
static_assert(offsetof(SmpPassthroughRequest, sasStatus) == 32);
static_assert(offsetof(SmpPassthroughRequest, responseSize) == 34);
static_assert(offsetof(SmpPassthroughRequest, request) == 36);
static_assert(offsetof(SmpPassthroughRequest, response) == 1064);
