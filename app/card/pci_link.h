// What the controller's own pages say about its place on the PCI bus: the
// PCIe link (IO unit page 7) and the PCI slot number (IOC page 1).
#pragma once

#include <cstdint>

// Link speeds of IO unit page 7.
enum : uint8_t {
  kPcieLink2500 = 0,  // 2.5 Gbps
  kPcieLink5000 = 1,  // 5.0 Gbps
  kPcieLink8000 = 2,  // 8.0 Gbps
};

inline constexpr uint8_t kPciSlotUnknown = 0xFF;

// The link width (lanes) and speed code: 0 with both stored, 1 on a failure
// (outputs untouched).
uint32_t GetPcieLinkInfo(uint32_t adapter, uint8_t* width, uint8_t* speed);

// The slot number the controller reports (kPciSlotUnknown as read when it
// does not know it): 0 with the slot stored, 1 on a failure (untouched).
uint32_t GetPciSlotFromIoc(uint32_t adapter, uint8_t* slot);
