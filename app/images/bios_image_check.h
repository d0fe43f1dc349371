// The checks a BIOS or UEFI option-ROM image file passes before it goes into
// the controller's BIOS region. Every read stays inside the file's `size`
// bytes: a pointer or length that leads outside it fails the check.
#pragma once

#include <cstdint>

// The 8-bit sum of the image's bytes, after its line: "\t\tBIOS Image has a
// Valid Checksum. \n\n" for 0, else the error line with the sum. A size of
// 0 sums to 0.
uint8_t BiosChecksum(const uint8_t* image, uint32_t size);

// True for the PCI device IDs an option-ROM image may be made for to go on
// this controller family.
bool IsBiosDeviceAccepted(uint16_t deviceId);

// Signature, checksum, PCI data structure, kind (a legacy or UEFI image with
// a version, lying whole in the file), the
// controller's current region readable, the image's device ID accepted.
// On success the controller's device ID is written into the first image's
// PCI data structure in memory (its checksum byte is left: the region
// assembly recomputes it) and 1 is returned; each failure prints its line
// and returns 0, the image unchanged. A controller whose identity cannot be
// read fails the check. The status outputs are cleared (the region read
// reports none).
uint32_t ValidateBiosImage(uint8_t* image, uint32_t size, uint32_t adapter, uint16_t* iocStatus,
                           uint32_t* iocLogInfo);
