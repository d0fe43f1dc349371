// The named card files of emu/cards/: the machines tests and end-to-end
// cases start from, each built here so that its file is FormatHostFile's
// output (tests check that the files and these builders agree; the
// tessvarc-emu-cards program writes them anew).
#pragma once

#include <string>
#include <vector>

#include "emu/host/host_model.h"

namespace emu {

struct NamedCard {
  const char* name;  // the file is emu/cards/NAME.txt
  HostModel (*build)();
};

const std::vector<NamedCard>& NamedCards();
// The host of a named card; false when there is none of that name.
bool BuildNamedCard(const std::string& name, HostModel* out);

// No control node at all: the driver is not loaded.
HostModel NoCardHost();
// The default card without its volume: four bare modules, manufacturing
// page 10 volume mode 1 (unconfigured).
HostModel UnconfiguredHost();
// Board type 9: eight modules in slots 0-7 joined in one RAID0 volume.
HostModel BoardType9Host();
// The default card with the member in slot 6 offline (failed): the volume
// degraded.
HostModel DegradedHost();
// The default card with slot 6 empty: three modules; the RAID0 volume has
// lost a member, so it is failed, and the missing member is offline
// (reason: missing).
HostModel ModuleMissingHost();

// Cards for the health report, each the default card but for what it names.
// The module in slot 5 at life left 15 (normalized) and 75 degrees: both
// warnings.
HostModel HealthWarningHost();
// The module in slot 5 at life left 5 and 85 degrees (both errors), and the
// SuperCap's health at 35, below the floor of its table (40).
HostModel HealthErrorHost();
// The module in slot 6 ATA-security locked (user password "vexlock").
HostModel LockedModuleHost();
// The module in slot 6 aborts SMART READ DATA and READ THRESHOLDS.
HostModel SmartFailsHost();
// The SuperCap answers its health and voltage queries busy five times first.
HostModel SuperCapBusyHost();
// The auxiliary power input is fitted but not connected (GPIO 25 at 0).
HostModel NoAuxPowerHost();
// Unconfigured cards with more and fewer modules than IOC page 6 expects
// (4): a fifth module in slot 3, or slot 7 empty (no module at all).
HostModel UnconfiguredFiveHost();
HostModel UnconfiguredThreeHost();
// The module in slot 7 speaks SAS (device info 0x0C01: SSP target, directly
// attached, end device): SCSI LOG SENSE, no SATA passthrough.
HostModel SasModuleHost();

// Cards for the listings.
// Two cards on /dev/qmx2ctl_cx: the default card (IOC 0) and a second one
// (IOC 1: PCI bus 0x82, slot 6, SCSI host 1, SAS address
// 0x500605B00C8A5E20) whose manufacturing page 0 announces its size but
// cannot be read from NVRAM (IOCStatus 0x0022), so its card information fails.
HostModel TwoCardsHost();
// The same two cards, both readable.
HostModel TwoGoodCardsHost();
// The default card without extended manufacturing page 223: versions come
// from the images in flash, identifiers from the modules' diagnostic
// information.
HostModel NoPage223Host();
// The default card whose controller does not know its slot (IOC page 1
// byte 13 0xFF); sysfs has it in slot 5.
HostModel SysfsSlotHost();
// The unconfigured card with four kinds of module: slot 4 the default
// ('0' "2519", 128 GB), slot 5 '4' "2519" (512 GB), slot 6 '0' "2510" (no
// table knows it, and page 223 cannot carry it: 0 there), slot 7 '9' "2516"
// (256 GB).
HostModel MixedModulesHost();

// Cards for the locate command.
// The default card whose enclosure processor refuses every slot status
// request (SEP, IOCStatus 0x0043): no module's locate indication can be lit.
HostModel LocateRefusedHost();

}  // namespace emu
