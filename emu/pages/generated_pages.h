// The pages generated on request from the device and RAID model: each
// generator fills the instances of one page number by identity (DevHandle,
// phy number, disk number, enclosure handle or configuration number).
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "emu/host/host_model.h"

namespace emu {

using PageSet = std::map<uint32_t, std::vector<uint8_t>>;

// SAS IO unit page 0 (the status of the phys); the other numbers are stored.
void GenerateSasIoUnitPages(const AdapterModel& adapter, uint8_t number, PageSet* pages);
// SAS device pages 0 and 1 of every module on the bus, RAID members included.
void GenerateSasDevicePages(const AdapterModel& adapter, uint8_t number, PageSet* pages);
// SAS phy pages 0 and 1 of every phy.
void GenerateSasPhyPages(const AdapterModel& adapter, uint8_t number, PageSet* pages);
// SAS enclosure page 0 of the card's enclosure.
void GenerateEnclosurePages(const AdapterModel& adapter, uint8_t number, PageSet* pages);
// RAID volume pages 0 and 1.
void GenerateRaidVolumePages(const AdapterModel& adapter, uint8_t number, PageSet* pages);
// RAID physical-disk pages 0 and 1 (members and hot spares).
void GenerateRaidDiskPages(const AdapterModel& adapter, uint8_t number, PageSet* pages);
// RAID configuration page 0, when the card holds a configuration.
void GenerateRaidConfigPages(const AdapterModel& adapter, uint8_t number, PageSet* pages);
// SAS port page 0 of every module on the bus (a narrow port on its phy).
void GenerateSasPortPages(const AdapterModel& adapter, uint8_t number, PageSet* pages);
// Driver mapping page 0: one persistent entry per enclosure slot, holding
// the module's SAS address (zero for an empty slot).
void GenerateDriverMappingPages(const AdapterModel& adapter, uint8_t number, PageSet* pages);
// Extended manufacturing pages 221 (trim counts), 222 (power) and, when the
// card has it, 223 (versions and module identifiers).
void GenerateExtManufacturingPages(const AdapterModel& adapter, uint8_t number, PageSet* pages);

}  // namespace emu
