// Whether the card's modules can take the over-provisioning the format
// command asks for, and the maximum LBA that it sets on each module.
#pragma once

#include <cstdint>

#include "app/format/format_options.h"

// The largest maximum LBA a module that speaks SAS is given: 800 GB.
inline constexpr uint32_t kSasModuleLbaLimit = 1562500000;
// The capacity number taken for a module that speaks SAS.
inline constexpr uint32_t kSasModuleCapacity = 1024;

// Measures the first selected module present (every slot, or the options'
// slot) of the selected controller: the target maximum LBA (the user's
// maximum LBA, or the one the OP percentage gives its capacity) and whether
// the module can take it (target at most its native maximum address; for a
// SAS module also at most kSasModuleLbaLimit). The module count comes from
// the volume members when the execute operation found the volume failed or
// degraded (volumeExists and volumeDegraded set; volumeCount volumes are
// read), else from the card's device count; a count of 0 answers 0 with
// *supported 0 and *target untouched.
// 0 success; 1 or the failing call's result after its message. A native
// maximum address that cannot be read is reported and returned, but the
// target is still computed and stored (and then never supported).
uint32_t ComputeOpTarget(uint32_t* supported, const FormatOptions* options, uint32_t* target,
                         uint32_t volumeExists, uint32_t volumeDegraded, uint32_t volumeCount);
