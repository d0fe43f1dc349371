// Which protocol a module is addressed with, and two card-level checks
// that go with it: mixed protocols and the volume state.
#pragma once

#include <cstdint>

enum : uint32_t {
  kProtocolSas = 3,
  kProtocolSata = 4,
  kProtocolOther = 5,
};

// The protocol every module command of the application uses: SATA for
// every slot, present or not, without asking the card. Always 0.
uint32_t GetDeviceProtocol(uint32_t slot, uint32_t* protocol);

// Walks slots 0 to 7 and compares the protocols of the modules present.
// 0 with the protocol last obtained (0 without modules); 1 after "Mixed
// Protocol devices found! Aborting... \n"; a failing protocol query's own
// result.
uint32_t CheckMixedProtocol(uint32_t vxHandle, uint32_t* protocol);

// True when every volume of the card (and its members) could be read, or
// the card has none. *volumePresent becomes true when there is a volume
// (and is left alone otherwise). Prints "ERROR: Corvexium is not in a proper
// state.\n" when the volumes cannot be counted and "\nFailed to get volume
// information." for each volume that cannot be read.
bool CheckVolumeState(uint32_t vxHandle, bool* volumePresent);

// The protocol as the card sees it, from SAS device page 0 of the DevHandle:
// 4 (SATA) when the page cannot be read or is not valid; else by the device
// information: a SATA device 4, an ATAPI device 5, an SSP target 3, others
// 4. 0, or 1 after "\n%s: Insufficient memory.\n".
uint32_t QueryDeviceProtocol(uint16_t devHandle, uint32_t adapter, uint32_t* protocol);
