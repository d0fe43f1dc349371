#include "emu/modules/scsi_identity.h"

#include <cstdio>

namespace emu {

std::string Padded(const std::string& text, size_t width) {
  std::string out = text.substr(0, width);
  out.resize(width, ' ');
  return out;
}

std::string ModuleVendor(const ModuleModel& module) { return ModuleIsSas(module) ? kSasVendor : kAtaVendor; }

std::string ModuleProduct(const ModuleModel& module) { return Padded(module.model, 16); }

std::string ModuleRevision(const ModuleModel& module) {
  std::string firmware = Padded(module.firmware, 8);
  std::string last = firmware.substr(4, 4);
  return last == "    " ? firmware.substr(0, 4) : last;
}

std::string VolumeSerial(const VolumeModel& volume) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(volume.wwid));
  return text;
}

}  // namespace emu
