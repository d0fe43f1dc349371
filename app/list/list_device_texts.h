// What the device section of -list derives from a module's records: its
// state text, its configuration identifier and description, its
// over-provisioning figure, and the order in which modules are listed.
#pragma once

#include <cstdint>

// An entry of the device list: a plain device (its DeviceInfoBlock), or a
// volume member or hot spare (its PhysDiskInfo). Both records carry the
// 400-byte device part at the same offset.
enum : uint8_t {
  kListPlainDevice = 1,
  kListVolumeMember = 2,
  kListHotSpare = 3,
};
struct DeviceListEntry {
  uint8_t kind;
  uint8_t* record;  // held by whoever made the list
};

// The device part of the entry's record.
const uint8_t* EntryDevicePart(const DeviceListEntry& entry);

// By enclosure handle, then by slot, both unsigned: -1, 0 or 1.
int CompareDeviceSlot(const DeviceListEntry& a, const DeviceListEntry& b);

// The module's state as the listing names it. A plain device: by its
// peripheral device type and block length; a hot spare; a member by its
// disk state and offline reason. Texts of at most 24 characters.
const char* DeviceStateText(uint8_t kind, uint8_t peripheralType, uint32_t blockLength, uint32_t diskState,
                            uint32_t offlineReason);

// A configuration identifier packed as hexadecimal digits (extended
// manufacturing page 223) into its code word (words[0]: four characters,
// lowest digit first) and type word (words[1]: one character; '0' when the
// value has no fifth digit). Always 0.
uint32_t BcdToDigits(uint32_t words[2], uint32_t packed);

// The description of a known configuration (type word, code word), or null.
const char* ModuleDescription(uint32_t typeWord, uint32_t codeWord);

// The over-provisioning of a module of rawGigabytes of flash that offers
// userBytes, in percent of the user capacity, in single precision; false
// when the user capacity is 0 and there is no figure.
bool OverProvisioningPercent(uint32_t rawGigabytes, uint64_t userBytes, float* percent);

// Whole percent as the listing shows it: the integer part, plus 1 when the
// fraction above it is at least 0.01.
int RoundOverProvisioning(float percent);
