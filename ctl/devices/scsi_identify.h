// The SCSI commands that identify a device or a physical disk: standard
// INQUIRY, READ CAPACITY and the Block Device Characteristics VPD page.
// Devices travel as SCSI IO, physical disks through the RAID SCSI
// passthrough (ScsiCommandRetry picks by the handle's kind).
#pragma once

#include <cstdint>

#include "ctl/base/context.h"

// ScsiCommandRetry, and a command that ended with a non-zero SCSI status
// counts as failed (1): its data buffer holds no answer.
LibStatus IdentificationCommand(LibContext* context, const LibHandle* object, ScsiPassthroughRequest* request);

// Standard INQUIRY into 255 bytes.
LibStatus InquiryStandard(LibContext* context, const LibHandle* object, uint8_t* data);

// READ CAPACITY (10), and (16) when the last LBA does not fit in 32 bits.
struct DiskCapacity {
  uint64_t lastLba = 0;
  uint32_t blockLength = 0;
  uint64_t Bytes() const { return (lastLba + 1) * blockLength; }
};
LibStatus ReadDiskCapacity(LibContext* context, const LibHandle* object, DiskCapacity* capacity);

// The supported VPD pages, then Block Device Characteristics when listed.
// The status is the last command's.
struct BlockCharacteristics {
  bool present = false;
  uint16_t rotationRate = 0;
  uint8_t formFactor = 0;
};
LibStatus ReadBlockCharacteristics(LibContext* context, const LibHandle* object, BlockCharacteristics* out);

// Fills the identification fields of a 400-byte device part from them.
void StoreCapacity(uint8_t* part, const DiskCapacity& capacity);
void StoreBlockCharacteristics(uint8_t* part, const BlockCharacteristics& characteristics);
// Stores the identifier (at most 32 bytes) with its length and code set.
void StoreIdentifier(uint8_t* part, const uint8_t* identifier, uint32_t length, uint8_t codeSet);
// ReadDeviceIdVpd, and the identifier it delivers stored in the part.
void ReadAndStoreIdentifier(LibContext* context, const LibHandle* object, uint8_t* part);
