// Records that callers of the controller library hand in or get back:
// handles, the status quad, the request block, the SCSI passthrough record
// and the adapter information block. Their layouts are the same in the
// 32-bit and the 64-bit build: fixed-width fields, explicit padding, and
// buffer addresses in 64-bit slots.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/base/lib_status.h"

// Handle of a library object: the kind in bits 24-31, a running number below.
using LibHandle = uint32_t;

enum : uint32_t {
  kKindAdapter = 0x01,
  kKindDevice = 0x02,
  kKindPhysDisk = 0x08,
  kKindVolume = 0x10,
};

inline constexpr uint32_t kHandleKindShift = 24;
inline constexpr uint32_t kHandleKindMask = 0xFF000000;
inline uint32_t HandleKind(LibHandle handle) { return handle >> kHandleKindShift; }

// The kind word each creator passes to AssignObjectHandle: the kind byte on
// top, bit 0 set.
inline constexpr uint32_t KindWord(uint32_t kind) { return (kind << kHandleKindShift) | 0x1; }
inline constexpr uint32_t kKindWordAdapter = KindWord(kKindAdapter);    // 0x01000001
inline constexpr uint32_t kKindWordDevice = KindWord(kKindDevice);      // 0x02000001
inline constexpr uint32_t kKindWordPhysDisk = KindWord(kKindPhysDisk);  // 0x08000001
inline constexpr uint32_t kKindWordVolume = KindWord(kKindVolume);      // 0x10000001
static_assert(kKindWordAdapter == 0x01000001 && kKindWordVolume == 0x10000001);

// Buffer addresses travel in 64-bit slots whatever the build's pointer size.
inline uint64_t AddressOf(const void* pointer) {
  return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
}

template <typename T = uint8_t>
inline T* PointerAt(uint64_t address) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(address));
}

// The status every controller request leaves behind.
struct IocStatusInfo {
  uint32_t size;       // 16 once a request was sent
  uint32_t validBits;  // bit 0 IOCStatus valid, bit 1 IOCLogInfo valid
  uint32_t iocStatus;  // the reply's IOCStatus AND 0x7FFF
  uint32_t iocLogInfo;
};
static_assert(sizeof(IocStatusInfo) == 16);

enum : uint32_t {
  kIocStatusValid = 0x1,
  kIocLogInfoValid = 0x2,
};

inline constexpr uint32_t kRequestBlockMagic = 0x392A8C9F;
inline constexpr uint32_t kRequestBlockSize = 112;

// The descriptor of one QMX message: frame, data-out, reply, data-in and
// sense buffers with their lengths.
struct QmxRequestBlock {
  uint32_t size;            // at least 112
  LibHandle adapterHandle;
  uint32_t magic;           // kRequestBlockMagic: the status is captured only then
  IocStatusInfo status;
  uint32_t requestLength;
  uint64_t requestFrame;
  uint32_t dataOutLength;
  uint32_t padDataOut;
  uint64_t dataOut;
  uint32_t replyLength;
  uint32_t padReply;
  uint64_t reply;
  uint32_t dataInLength;
  uint32_t padDataIn;
  uint64_t dataIn;
  uint32_t senseLength;
  uint32_t padSense;
  uint64_t sense;
  uint32_t timeout;         // seconds; 0 means 10
  uint32_t spare;
};
static_assert(sizeof(QmxRequestBlock) == 112);
static_assert(offsetof(QmxRequestBlock, status) == 12);
static_assert(offsetof(QmxRequestBlock, requestFrame) == 32);
static_assert(offsetof(QmxRequestBlock, dataOut) == 48);
static_assert(offsetof(QmxRequestBlock, reply) == 64);
static_assert(offsetof(QmxRequestBlock, dataIn) == 80);
static_assert(offsetof(QmxRequestBlock, sense) == 96);
static_assert(offsetof(QmxRequestBlock, timeout) == 104);

enum : uint32_t {
  kScsiDataIn = 0,
  kScsiDataOut = 1,
};

inline constexpr uint32_t kScsiPassthroughSize = 344;
inline constexpr uint32_t kScsiSenseSize = 252;
inline constexpr uint32_t kScsiCdbMax = 32;

// One SCSI command for a device or a physical disk.
struct ScsiPassthroughRequest {
  uint32_t size;              // 344
  uint8_t reserved[12];
  uint32_t requestFlag;
  uint8_t cdbLength;          // at most 32
  uint8_t cdb[32];
  uint8_t sense[252];         // returned
  uint8_t padSense[3];
  uint32_t direction;         // kScsiDataIn / kScsiDataOut
  uint32_t dataLength;
  uint32_t padData;
  uint64_t dataBuffer;        // AddressOf(the caller's buffer)
  uint8_t scsiStatus;         // returned
  uint8_t padStatus[3];
  uint32_t timeout;           // seconds; 0 means 10
  uint16_t iocStatus;         // returned as received, bit 15 included
  uint16_t padIocStatus;
  uint32_t iocLogInfo;        // returned
};
static_assert(sizeof(ScsiPassthroughRequest) == 344);
static_assert(offsetof(ScsiPassthroughRequest, cdbLength) == 20);
static_assert(offsetof(ScsiPassthroughRequest, sense) == 53);
static_assert(offsetof(ScsiPassthroughRequest, direction) == 308);
static_assert(offsetof(ScsiPassthroughRequest, dataBuffer) == 320);
static_assert(offsetof(ScsiPassthroughRequest, scsiStatus) == 328);
static_assert(offsetof(ScsiPassthroughRequest, timeout) == 332);
static_assert(offsetof(ScsiPassthroughRequest, iocStatus) == 336);
static_assert(offsetof(ScsiPassthroughRequest, iocLogInfo) == 340);

inline constexpr uint32_t kAdapterInfoSize = 624;

// What the driver and IO unit page 7 tell about one adapter.
struct AdapterInfoBlock {
  LibHandle adapterHandle;
  uint32_t reserved0;
  uint32_t adapterType;
  uint32_t portNumber;
  uint32_t pciDeviceId;
  uint32_t hardwareRevision;
  uint32_t subsystemDeviceId;
  uint32_t subsystemVendorId;
  uint32_t reservedWord;       // IOC information offset 36
  uint32_t firmwareVersion;
  uint32_t biosVersion;
  char driverVersion[32];
  uint8_t scsiId;
  uint8_t padScsiId[3];
  uint32_t pciLocation;        // bits 0-4 device, 5-7 function, 8-31 bus
  uint32_t pciSegment;         // the PCI domain the driver reports
  uint8_t pcieLinkWidth;
  uint8_t pcieLinkSpeed;
  uint8_t padLink[2];
  uint32_t processorState;
  uint16_t iocTemperature;
  uint8_t temperatureUnits;
  uint8_t iocSpeed;
  uint32_t raidCapable;
  uint32_t reserved2;
  char chipName[260];
  char hostName[256];
};
static_assert(sizeof(AdapterInfoBlock) == kAdapterInfoSize);
static_assert(offsetof(AdapterInfoBlock, driverVersion) == 44);
static_assert(offsetof(AdapterInfoBlock, pciLocation) == 80);
static_assert(offsetof(AdapterInfoBlock, pcieLinkWidth) == 88);
static_assert(offsetof(AdapterInfoBlock, processorState) == 92);
static_assert(offsetof(AdapterInfoBlock, iocTemperature) == 96);
static_assert(offsetof(AdapterInfoBlock, raidCapable) == 100);
static_assert(offsetof(AdapterInfoBlock, chipName) == 108);
static_assert(offsetof(AdapterInfoBlock, hostName) == 368);

// The fields of AdapterInfoBlock's pciLocation word.
namespace pci_location {
inline constexpr uint32_t kDeviceMask = 0x1F;
inline constexpr uint32_t kFunctionShift = 5;
inline constexpr uint32_t kFunctionMask = 0x7;
inline constexpr uint32_t kBusShift = 8;
}  // namespace pci_location
