// How the targets name themselves in INQUIRY (and so in RAID physical-disk
// page 0 and /proc/scsi/scsi): a SATA module as a SAS controller's SCSI/ATA
// translation presents a SATA disk, a SAS module with its maker's name, a
// volume with the controller's own text.
#pragma once

#include <cstdint>
#include <string>

#include "emu/raid/device_model.h"

namespace emu {

inline constexpr const char* kAtaVendor = "ATA";
inline constexpr const char* kSasVendor = "ULVANE";  // a module that speaks SAS names its maker
inline constexpr const char* kVolumeVendor = "QMX";
inline constexpr const char* kVolumeProduct = "Logical Volume";
inline constexpr const char* kVolumeRevision = "3000";
inline constexpr uint8_t kModuleScsiVersion = 6;  // SPC-4
inline constexpr uint8_t kVolumeScsiVersion = 5;  // SPC-3

// `text` cut or padded with blanks to `width` characters.
std::string Padded(const std::string& text, size_t width);
// The vendor identification: "ATA" for a SATA module, the maker's for a SAS one.
std::string ModuleVendor(const ModuleModel& module);
// The product identification: the first 16 characters of the ATA model.
std::string ModuleProduct(const ModuleModel& module);
// The product revision: the last four characters of the firmware revision,
// or the first four when those are blank.
std::string ModuleRevision(const ModuleModel& module);
// The volume's unit serial number: its WWID in hexadecimal.
std::string VolumeSerial(const VolumeModel& volume);

}  // namespace emu
