// The RAID ACTION requests that change or question the RAID state, each
// answering the IOCStatus of the reply and filling the 24 bytes of action
// data. Refusals: 0x0007 (invalid field) for a handle, number or field that
// names nothing valid, 0x0008 (invalid state) for a disk or volume in the
// wrong state, 0x0006 (insufficient resources) beyond the card's limits.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/host/host_model.h"

namespace emu {

// Action 2: the creation data decoded from raw bytes (44 bytes, then 4 per
// member); the new volume's DevHandle in the action data's u16 at 0.
uint16_t CreateVolume(AdapterModel& adapter, const std::vector<uint8_t>& data,
                      std::vector<uint8_t>* actionData);
// Action 35: whether a candidate disk goes with a source disk or volume, or
// the source's own attributes.
uint16_t CompatibilityCheck(AdapterModel& adapter, const std::vector<uint8_t>& data,
                            std::vector<uint8_t>* actionData);

}  // namespace emu
