#include "app/logs/log_file_name.h"

#include <string>

#include "app/card/device_protocol.h"
#include "app/card/module_ata.h"
#include "app/card/module_scsi.h"
#include "app/card/slot_naming.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "os/port.h"

namespace {

// IDENTIFY DEVICE words 10 to 19: the serial number, two characters a word.
constexpr size_t kIdentifySerial = 20;
constexpr size_t kIdentifySerialSize = 20;
static_assert(kIdentifySerial + kIdentifySerialSize <= kIdentifySize);

void AppendFormatted(std::string* name, const char* format, uint32_t value) {
  char part[32] = {};
  FormatString(part, sizeof part, format, value);
  name->append(part);
}

bool AppendConfigId(uint32_t vx, uint32_t ssd, std::string* name) {
  uint8_t diag[diag_info::kReadSize] = {};
  if (LibZKSSDGetDiagInfo(vx, ssd, diag, diag_info::kReadSize) != 0) return false;
  char part[32] = {};
  FormatString(part, sizeof part, "_%02x%08x", GetLe32(diag, diag_info::kModelType),
               GetLe32(diag, diag_info::kConfigId));
  name->append(part);
  return true;
}

bool AppendAtaSerial(uint32_t vx, uint32_t ssd, std::string* name) {
  uint8_t identify[kIdentifySize] = {};
  if (AtaIdentifyDevice(vx, ssd, identify) != 0) return false;
  uint8_t serial[kIdentifySerialSize] = {};
  for (size_t i = 0; i + 1 < kIdentifySerialSize; i += 2) {
    serial[i] = identify[kIdentifySerial + i + 1];
    serial[i + 1] = identify[kIdentifySerial + i];
  }
  name->push_back('_');
  AppendModuleText(name, serial, sizeof serial);
  return true;
}

bool AppendSasSerial(uint32_t ssd, std::string* name) {
  uint8_t serial[kSerialNumberSize] = {};
  if (ScsiSerialNumber(ssd, serial) != 0) return false;
  name->push_back('_');
  AppendModuleText(name, serial, sizeof serial);
  return true;
}

bool AppendDate(const std::tm& when, std::string* name) {
  char part[48] = {};
  FormatString(part, sizeof part, "_%02d%02d%d_%02d%02d%02d", when.tm_mday, when.tm_mon + 1, when.tm_year + 1900,
               when.tm_hour, when.tm_min, when.tm_sec);
  name->append(part);
  return true;
}

// The module's parts in their order; false as soon as a query fails.
bool AppendModuleParts(uint32_t vx, uint32_t ssd, uint32_t slot, const LogNameOptions& options, std::string* name) {
  uint32_t protocol = 0;
  if (GetDeviceProtocol(slot, &protocol) != 0) return false;
  if (protocol == kProtocolSas) return AppendSasSerial(ssd, name);
  if (options.configId != 0 && !AppendConfigId(vx, ssd, name)) return false;
  if (options.ataSerial != 0 && !AppendAtaSerial(vx, ssd, name)) return false;
  return true;
}

uint32_t Refuse(char* name, size_t size) {
  if (name != nullptr && size > 0) MemSet(name, 0, size);
  return 1;
}

}  // namespace

void AppendModuleText(std::string* name, const uint8_t* text, size_t length) {
  for (size_t i = 0; i < length && text[i] != 0; ++i) {
    char c = static_cast<char>(text[i]);
    if (IsAlnumChar(c) || c == '-' || c == '_') name->push_back(c);
  }
}

uint32_t BuildLogFileName(uint32_t vxHandle, uint32_t ssdHandle, const char* prefix, uint32_t slot,
                          const LogNameOptions& options, char* name, size_t size) {
  if (name == nullptr || size == 0) return 1;
  if (prefix == nullptr) return Refuse(name, size);
  os::Port& port = os::ActivePort();
  std::tm when{};
  bool clock = port.LocalTime(port.Time(), &when);

  std::string text = prefix;
  auto place = static_cast<uint16_t>(slot);
  if (options.slot != 0) AppendFormatted(&text, "_slot%02d", slot);
  if (options.cage != 0) AppendFormatted(&text, "_cage%02d", SlotToCage(place));
  if (options.location != 0) {
    text.push_back('_');
    text.append(SlotToLocation(place));
  }
  if (!AppendModuleParts(vxHandle, ssdHandle, slot, options, &text)) return Refuse(name, size);
  if (options.date != 0 && (!clock || !AppendDate(when, &text))) return Refuse(name, size);
  text.append(".bin");

  std::string stripped(text.size() + 1, '\0');
  stripped.resize(StripBlanks(text.c_str(), stripped.data()));
  if (stripped.size() + 1 > size) return Refuse(name, size);
  MemCopy(name, stripped.c_str(), stripped.size() + 1);
  return 0;
}

bool JoinLogPath(const char* directory, const char* name, char* path, size_t size) {
  if (path == nullptr || size == 0) return false;
  std::string joined;
  if (directory != nullptr && directory[0] != '\0') {
    joined = directory;
    joined.push_back('/');
  }
  joined.append(name != nullptr ? name : "");
  if (joined.size() + 1 > size) {
    MemSet(path, 0, size);
    return false;
  }
  MemCopy(path, joined.c_str(), joined.size() + 1);
  return true;
}
