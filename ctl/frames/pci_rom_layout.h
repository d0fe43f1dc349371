// The fields of a PCI expansion ROM image that give its version.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pci_rom {
inline constexpr size_t kSignature = 0;        // u16, 0xAA55
inline constexpr size_t kDataStructure = 0x18; // u16, offset of the PCI data structure
inline constexpr uint16_t kSignatureValue = 0xAA55;
}  // namespace pci_rom

namespace pci_data_structure {
inline constexpr size_t kRevision = 12;       // u8
inline constexpr size_t kCodeRevision = 18;   // u16
inline constexpr size_t kCodeType = 20;       // u8, 0 x86
inline constexpr size_t kVersionOld = 24;     // two bytes, revision below 3
inline constexpr size_t kVersionNew = 28;     // two bytes, revision 3 and above
inline constexpr uint8_t kCodeTypeX86 = 0;
inline constexpr uint8_t kFirstNewRevision = 3;
}  // namespace pci_data_structure
