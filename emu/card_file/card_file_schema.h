// The card file's vocabulary, shared by its writer and its reader: the
// adapter settings (key, width, how it is written) and the names of fault
// kinds. Adding a setting here adds it to both; an old file without the key
// keeps the default Corvexium's value.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "emu/host/host_model.h"

namespace emu::card_file {

struct NumberSetting {
  const char* key;
  int hexDigits;  // 0: written in decimal
  uint64_t max;
  std::function<uint64_t(const AdapterModel&)> get;
  std::function<void(AdapterModel&, uint64_t)> set;
};

struct TextSetting {
  const char* key;
  size_t maxLength;
  std::string AdapterModel::*member;
};

// A setting that is a list of numbers, written in decimal on one line.
struct ListSetting {
  const char* key;
  size_t maxCount;
  uint64_t maxValue;
  std::function<std::vector<uint64_t>(const AdapterModel&)> get;
  std::function<void(AdapterModel&, const std::vector<uint64_t>&)> set;
};

const std::vector<NumberSetting>& NumberSettings();
const std::vector<TextSetting>& TextSettings();
const std::vector<ListSetting>& ListSettings();

const char* FaultKindName(FaultKind kind);
bool FaultKindFromName(const std::string& name, FaultKind* kind);

inline constexpr size_t kPageBytesPerLine = 32;
inline constexpr size_t kImageBytesPerLine = 64;
inline constexpr uint32_t kMaxPageBytes = 255 * 4;
inline constexpr uint32_t kMaxExtPageBytes = 0xFFFF * 4;
inline constexpr size_t kConfigImageBytes = 3584;     // a module's configuration image
inline constexpr size_t kFormatSettingsBytes = 2048;  // its format settings
inline constexpr uint64_t kMaxGpios = 125;           // manufacturing page 6 holds 8 bytes a GPIO
inline constexpr size_t kMaxSuperCapTable = 22;      // what manufacturing page 10 holds from byte 60

// The setting's text: quoted and escaped when it would not survive as is.
std::string QuoteText(const std::string& value);

}  // namespace emu::card_file
