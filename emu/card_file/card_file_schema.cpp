#include "emu/card_file/card_file_schema.h"

#include "emu/card_file/text_codec.h"

namespace emu::card_file {
namespace {

template <typename T>
NumberSetting Number(const char* key, int hexDigits, T AdapterModel::*member, uint64_t max) {
  return NumberSetting{
      key, hexDigits, max, [member](const AdapterModel& a) { return static_cast<uint64_t>(a.*member); },
      [member](AdapterModel& a, uint64_t v) { a.*member = static_cast<T>(v); }};
}

}  // namespace

const std::vector<NumberSetting>& NumberSettings() {
  static const std::vector<NumberSetting> settings = {
      Number("adapter-type", 0, &AdapterModel::adapterType, 0xFFFFFFFFu),
      Number("port", 0, &AdapterModel::port, 0xFFFFFFFFu),
      Number("pci-vendor-id", 4, &AdapterModel::pciVendorId, 0xFFFF),
      Number("pci-device-id", 4, &AdapterModel::pciDeviceId, 0xFFFF),
      Number("hardware-revision", 2, &AdapterModel::hardwareRevision, 0xFFFFFFFFu),
      Number("subsystem-vendor-id", 4, &AdapterModel::subsystemVendorId, 0xFFFF),
      Number("subsystem-device-id", 4, &AdapterModel::subsystemDeviceId, 0xFFFF),
      Number("reserved-word", 8, &AdapterModel::reservedWord, 0xFFFFFFFFu),
      Number("firmware-version", 8, &AdapterModel::firmwareVersion, 0xFFFFFFFFu),
      Number("bios-version", 8, &AdapterModel::biosVersion, 0xFFFFFFFFu),
      Number("scsi-id", 0, &AdapterModel::scsiId, 0xFF),
      Number("pci-bus", 0, &AdapterModel::pciBus, 0xFFFFFF),
      Number("pci-device", 0, &AdapterModel::pciDevice, 31),
      Number("pci-function", 0, &AdapterModel::pciFunction, 7),
      Number("pci-segment", 0, &AdapterModel::pciSegment, 0xFFFFFFFFu),
      Number("message-version", 4, &AdapterModel::messageVersion, 0xFFFF),
      Number("header-version", 4, &AdapterModel::headerVersion, 0xFFFF),
      Number("product-id", 4, &AdapterModel::productId, 0xFFFF),
      Number("ioc-capabilities", 8, &AdapterModel::iocCapabilities, 0xFFFFFFFFu),
      Number("ports", 0, &AdapterModel::numberOfPorts, 0xFF),
      Number("request-credit", 0, &AdapterModel::requestCredit, 0xFFFF),
      Number("max-targets", 0, &AdapterModel::maxTargets, 0xFFFF),
      Number("max-dev-handle", 0, &AdapterModel::maxDevHandle, 0xFFFF),
      Number("max-volumes", 0, &AdapterModel::maxVolumes, 0xFF),
      Number("sas-address", 16, &AdapterModel::sasAddress, ~0ull),
      Number("board-type", 0, &AdapterModel::boardType, 0xFF),
      Number("board-flags", 8, &AdapterModel::boardFlags, 0xFFFFFFFFu),
      Number("link-width", 0, &AdapterModel::linkWidth, 0xFF),
      Number("link-speed", 0, &AdapterModel::linkSpeed, 0xFF),
      Number("ioc-temperature", 0, &AdapterModel::iocTemperature, 0xFFFF),
      Number("package-version", 8, &AdapterModel::packageVersion, 0xFFFFFFFFu),
      Number("nvdata-version", 8, &AdapterModel::nvdataVersion, 0xFFFFFFFFu),
      Number("uefi-revision", 4, &AdapterModel::uefiRevision, 0xFFFF),
      Number("scsi-host", 0, &AdapterModel::scsiHost, 0xFFFF),
      Number("life-left-warning", 0, &AdapterModel::lifeLeftWarning, 0xFF),
      Number("life-left-error", 0, &AdapterModel::lifeLeftError, 0xFF),
      Number("temperature-warning", 0, &AdapterModel::temperatureWarning, 0xFFFF),
      Number("temperature-error", 0, &AdapterModel::temperatureError, 0xFFFF),
      Number("gpio-count", 0, &AdapterModel::gpioCount, kMaxGpios),
      Number("gpio-backup-rail", 0, &AdapterModel::gpioBackupRail, 1),
      Number("gpio-aux-power", 0, &AdapterModel::gpioAuxPower, 1),
      Number("supercap-intervals", 0, &AdapterModel::superCapIntervals, 0xFF),
      Number("supercap-margin", 0, &AdapterModel::superCapMargin, 0xFF),
      Number("supercap-floor", 0, &AdapterModel::superCapFloor, 0xFFFF),
      Number("supercap-step-hours", 0, &AdapterModel::superCapStepHours, 0xFFFF),
      Number("supercap-health", 0, &AdapterModel::superCapHealth, 0xFFFF),
      Number("supercap-voltage", 0, &AdapterModel::superCapVoltage, 0xFFFF),
      Number("supercap-hours", 0, &AdapterModel::superCapHours, 0xFFFF),
      Number("supercap-voltage-threshold", 0, &AdapterModel::superCapVoltageThreshold, 0xFFFF),
      Number("supercap-extra", 0, &AdapterModel::superCapExtra, 0xFFFF),
      Number("supercap-busy", 0, &AdapterModel::superCapBusy, 0xFFFFFFFFu),
      Number("supercap-test-status", 4, &AdapterModel::superCapTestStatus, 0xFFFF),
      Number("psoc-version", 4, &AdapterModel::psocVersion, 0xFFFF),
      Number("pci-slot", 2, &AdapterModel::pciSlot, 0xFF),
      Number("sysfs-slot", 2, &AdapterModel::sysfsSlot, 0xFF),
      Number("page-223", 0, &AdapterModel::versionPage, 1),
      Number("power-12v", 0, &AdapterModel::power12v, 0xFFFFFFFFu),
      Number("power-3v3", 0, &AdapterModel::power3v3, 0xFFFFFFFFu),
      Number("power-total", 0, &AdapterModel::powerTotal, 0xFFFFFFFFu),
  };
  return settings;
}

const std::vector<ListSetting>& ListSettings() {
  static const std::vector<ListSetting> settings = {
      {"supercap-table", kMaxSuperCapTable, 0xFFFF,
       [](const AdapterModel& a) { return std::vector<uint64_t>(a.superCapTable.begin(), a.superCapTable.end()); },
       [](AdapterModel& a, const std::vector<uint64_t>& v) { a.superCapTable.assign(v.begin(), v.end()); }},
  };
  return settings;
}

const std::vector<TextSetting>& TextSettings() {
  static const std::vector<TextSetting> settings = {
      {"driver-version", 31, &AdapterModel::driverVersion},
      {"chip-name", 16, &AdapterModel::chipName},
      {"chip-revision", 8, &AdapterModel::chipRevision},
      {"board-name", 16, &AdapterModel::boardName},
      {"board-assembly", 16, &AdapterModel::boardAssembly},
      {"board-tracer", 16, &AdapterModel::boardTracer},
  };
  return settings;
}

const char* FaultKindName(FaultKind kind) {
  switch (kind) {
    case FaultKind::kIoctlError: return "ioctl-error";
    case FaultKind::kAnswer: return "answer";
    case FaultKind::kPageMissing: return "page-missing";
    case FaultKind::kPageCut: return "page-cut";
    case FaultKind::kReplyCut: return "reply-cut";
    case FaultKind::kModuleAbort: return "module-abort";
    case FaultKind::kReadBackDiffers: return "readback-differs";
  }
  return "?";
}

bool FaultKindFromName(const std::string& name, FaultKind* kind) {
  for (FaultKind k : {FaultKind::kIoctlError, FaultKind::kAnswer, FaultKind::kPageMissing,
                      FaultKind::kPageCut, FaultKind::kReplyCut, FaultKind::kModuleAbort,
                      FaultKind::kReadBackDiffers}) {
    if (name == FaultKindName(k)) {
      *kind = k;
      return true;
    }
  }
  return false;
}

std::string QuoteText(const std::string& value) {
  bool plain = !value.empty() && value.front() != ' ' && value.back() != ' ' && value.front() != '"';
  for (unsigned char c : value) plain = plain && c >= 0x20 && c < 0x7F;
  return plain ? value : "\"" + text::Escape(value) + "\"";
}

}  // namespace emu::card_file
