// The two volume operations of the format and DLC commands: delete every
// volume of the card, and create one RAID0 volume from a list of module
// slots. Each keeps the volume attributes of manufacturing page 4 (bytes
// 105 and 106) up to date afterwards.
#pragma once

#include <cstdint>

inline constexpr uint32_t kVolumeTypeRaid0Only = 0;

// Deletes the volumes one by one (always the first, since each delete
// moves the next to the front), rescans the adapter, sets both volume
// attribute bytes to the card's module count and rescans again. 0, or 1
// after the message of the step that failed (a failed rescan or module
// count does not stop the later steps).
uint32_t DeleteRaidVolume(uint32_t adapterIndex);

// Creates a RAID0 volume (volume type 0) of the listed slots, in list
// order, with the controller's default settings and the largest size the
// members allow. Refused with a message and 1: modules of different flash
// types, a member count outside the RAID limits, fewer than two devices or
// fewer than the members, a slot without a device. Then the volume
// attributes: the member count and the device count. 0 or 1.
uint32_t CreateRaidVolume(uint32_t adapterIndex, uint32_t memberCount, const uint32_t* slots, uint32_t volumeType);
