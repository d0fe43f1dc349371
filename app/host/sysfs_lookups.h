// Lookups in the Linux sysfs tree that tie a card to what the host sees:
// the physical PCI slot it sits in, and the block device (sdX) behind one of
// its modules. Both start from the card's PCI segment and location; neither
// prints anything.
#pragma once

#include <cstdint>

#include "ctl/base/lib_types.h"

inline constexpr uint8_t kNoPciSlot = 0xFF;

// The number of the slot under /sys/bus/pci/slots whose address file names
// the card (domain:bus:device), or kNoPciSlot. Only slots whose name is a
// whole decimal number below 255 are taken.
uint8_t GetPciSlotNumber(const AdapterInfoBlock& info);

// The block device of the module on `phy`: the card's SCSI host (hostH
// under its PCI device), the port of that host holding the phy (port-H:P),
// and the disk whose bsg entry is H:0:P:0. 0 with the disk's name (cut to
// the buffer, always terminated) and its size in 512-byte sectors; 1 with
// *sectors 0 when any step finds nothing or the size is 0.
uint32_t FindBlockDevice(const AdapterInfoBlock& info, uint32_t phy, char* name, uint32_t nameSize,
                         uint64_t* sectors);
