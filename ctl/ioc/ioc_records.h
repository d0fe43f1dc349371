// Records that callers hand to the IOC-level requests.
#pragma once

#include <cstddef>
#include <cstdint>

// One two-wire (ISTWI) bus access: transmit bytes, then receive bytes.
struct IstwiRecord {
  uint8_t deviceIndex;
  uint8_t action;
  uint16_t unused;
  uint16_t receiveLength;
  uint16_t transmitLength;
  uint64_t receiveBuffer;   // AddressOf(the caller's receive buffer)
  uint64_t transmitBuffer;  // AddressOf(the caller's transmit buffer)
};
static_assert(sizeof(IstwiRecord) == 24);
static_assert(offsetof(IstwiRecord, receiveBuffer) == 8);

// The library version: the caller sets size (at least 8); the version bytes
// land in major, minor and build.
struct QmxLibVersion {
  uint32_t size;
  uint8_t major;
  uint8_t minor;
  uint8_t build;
  uint8_t reserved;
};
static_assert(sizeof(QmxLibVersion) == 8);
