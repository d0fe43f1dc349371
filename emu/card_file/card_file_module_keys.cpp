// The [module] keys of a module's command set. The SMART table is written
// as the attributes a new module's has and it lacks (smart-absent), then
// those that differ from it or are added (smart-attribute, in table order:
// a changed attribute keeps its place, an added one goes last); life-left and
// temperature are shorthands a file may use, written back as the attribute
// they change. Images are written in hex, 64 bytes a line.
#include <algorithm>
#include <sstream>

#include "emu/card_file/card_file_devices.h"
#include "emu/card_file/card_file_schema.h"
#include "emu/modules/smart_attributes.h"
#include "emu/card_file/text_codec.h"

namespace emu::card_file {
namespace {

using M = ModuleModel;
using Key = DeviceKey<M>;

std::string Lines(const char* key, const std::vector<std::string>& values) {
  std::string out;
  for (const std::string& v : values) out += (out.empty() ? "" : "\n" + std::string(key) + " = ") + v;
  return out;
}

std::vector<std::string> Words(const std::string& value) {
  std::istringstream in(value);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string AttributeText(const SmartAttribute& a) {
  return std::to_string(a.id) + " " + text::HexNumber(a.flags, 4) + " " + std::to_string(a.normalized) + " " +
         std::to_string(a.worst) + " " + text::HexNumber(a.raw, 14) + " " + std::to_string(a.threshold);
}

bool ReadAttribute(M& m, const std::string& value, std::string* problem) {
  std::vector<std::string> w = Words(value);
  uint64_t id, flags, normalized, worst, raw, threshold;
  if (w.size() != 6 || !text::ParseUnsigned(w[0], 255, &id) || id == 0 ||
      !text::ParseUnsigned(w[1], 0xFFFF, &flags) || !text::ParseUnsigned(w[2], 255, &normalized) ||
      !text::ParseUnsigned(w[3], 255, &worst) || !text::ParseUnsigned(w[4], kSmartRawMax, &raw) ||
      !text::ParseUnsigned(w[5], 255, &threshold)) {
    *problem = "smart-attribute takes id (1-255), flags, normalized, worst, raw (7 bytes) and threshold";
    return false;
  }
  SmartAttribute a{static_cast<uint8_t>(id), static_cast<uint16_t>(flags), static_cast<uint8_t>(normalized),
                   static_cast<uint8_t>(worst), raw, static_cast<uint8_t>(threshold)};
  if (!PutSmartAttribute(m, a)) return *problem = "a module holds at most 30 SMART attributes", false;
  return true;
}

Key SmartAttributes() {
  return Key{"smart-attribute",
             [](const M& m) {
               std::vector<SmartAttribute> defaults = DefaultSmartAttributes();
               std::vector<std::string> lines;
               for (const SmartAttribute& a : m.smart) {
                 bool same = false;
                 for (const SmartAttribute& d : defaults) same = same || d == a;
                 if (!same) lines.push_back(AttributeText(a));
               }
               return Lines("smart-attribute", lines);
             },
             ReadAttribute, true};
}

Key SmartAbsent() {
  return Key{"smart-absent",
             [](const M& m) {
               std::vector<std::string> lines;
               for (const SmartAttribute& d : DefaultSmartAttributes()) {
                 if (FindSmartAttribute(m, d.id) == nullptr) lines.push_back(std::to_string(d.id));
               }
               return Lines("smart-absent", lines);
             },
             [](M& m, const std::string& value, std::string* problem) {
               uint64_t id;
               if (!text::ParseUnsigned(value, 255, &id)) return *problem = "smart-absent takes an attribute id", false;
               std::erase_if(m.smart, [&](const SmartAttribute& a) { return a.id == id; });
               return true;
             },
             true};
}

// "N" or "N FRACTION": attribute 231's normalized value and the digits of
// its fraction (raw bits 16-31).
Key LifeLeft() {
  return Key{"life-left", [](const M&) { return std::string(); },
             [](M& m, const std::string& value, std::string* problem) {
               std::vector<std::string> w = Words(value);
               uint64_t n, fraction = 0;
               if (w.empty() || w.size() > 2 || !text::ParseUnsigned(w[0], 255, &n) ||
                   (w.size() == 2 && !text::ParseUnsigned(w[1], 0xFFFF, &fraction))) {
                 return *problem = "life-left takes the normalized value (0-255) and the fraction's digits", false;
               }
               if (!SetLifeLeft(m, static_cast<uint8_t>(n), static_cast<uint16_t>(fraction))) {
                 return *problem = "a module holds at most 30 SMART attributes", false;
               }
               return true;
             }};
}

Key Temperature() {
  return Key{"temperature", [](const M&) { return std::string(); },
             [](M& m, const std::string& value, std::string* problem) {
               uint64_t t;
               if (!text::ParseUnsigned(value, 255, &t)) return *problem = "temperature takes degrees (0-255)", false;
               if (!SetTemperature(m, static_cast<uint8_t>(t))) {
                 return *problem = "a module holds at most 30 SMART attributes", false;
               }
               return true;
             }};
}

Key Flag(const char* key, bool M::*member) {
  return Key{key, [member](const M& m) { return std::string(m.*member ? "yes" : ""); },
             [member, key](M& m, const std::string& value, std::string* problem) {
               if (value != "yes" && value != "no") return *problem = std::string(key) + " takes yes or no", false;
               m.*member = value == "yes";
               return true;
             }};
}

// A count of answers still to come: -1 for all of them; written when not 0.
Key Count(const char* key, int M::*member) {
  return Key{key, [member](const M& m) { return m.*member == 0 ? std::string() : std::to_string(m.*member); },
             [member, key](M& m, const std::string& value, std::string* problem) {
               int64_t n;
               if (!text::ParseSigned(value, -1, 1000000000, &n)) {
                 return *problem = std::string(key) + " is -1 or a count", false;
               }
               m.*member = static_cast<int>(n);
               return true;
             }};
}

Key Password(const char* key, std::string M::*member) {
  return Key{key, [member](const M& m) { return (m.*member).empty() ? std::string() : QuoteText(m.*member); },
             [member, key](M& m, const std::string& value, std::string* problem) {
               if (value.size() > 32) return *problem = std::string(key) + " is longer than 32 characters", false;
               m.*member = value;
               return true;
             }};
}

// Log addresses whose reads the module aborts, one a line.
Key FailingLogs() {
  return Key{"log-fails",
             [](const M& m) {
               std::vector<std::string> lines;
               for (uint8_t address : m.failingLogs) lines.push_back(text::HexNumber(address, 2));
               return Lines("log-fails", lines);
             },
             [](M& m, const std::string& value, std::string* problem) {
               uint64_t address;
               if (!text::ParseUnsigned(value, 255, &address)) return *problem = "log-fails takes a log address", false;
               m.failingLogs.push_back(static_cast<uint8_t>(address));
               return true;
             },
             true};
}

Key Unsigned(const char* key, uint32_t M::*member, uint32_t max, uint32_t quiet) {
  return Key{key,
             [member, quiet](const M& m) { return m.*member == quiet ? std::string() : std::to_string(m.*member); },
             [member, key, max](M& m, const std::string& value, std::string* problem) {
               uint64_t n;
               if (!text::ParseUnsigned(value, max, &n)) {
                 return *problem = "bad " + std::string(key) + " \"" + value + "\"", false;
               }
               m.*member = static_cast<uint32_t>(n);
               return true;
             }};
}

Key Image(const char* key, std::vector<uint8_t> M::*member) {
  return Key{key,
             [member, key](const M& m) {
               const std::vector<uint8_t>& bytes = m.*member;
               std::vector<std::string> lines;
               for (size_t at = 0; at < bytes.size(); at += kImageBytesPerLine) {
                 lines.push_back(text::Hex(bytes.data() + at, std::min(kImageBytesPerLine, bytes.size() - at)));
               }
               return Lines(key, lines);
             },
             [member](M& m, const std::string& value, std::string* problem) {
               return text::AppendHex(value, &(m.*member)) || (*problem = "bad hex data", false);
             },
             true};
}

// "N VALID CRC SIZE": panic slot N (0-3); written for the slots that differ
// from a new module's (an erased one is "N 0 0 0").
Key PanicSlot() {
  return Key{"panic-slot",
             [](const M& m) {
               std::vector<std::string> lines;
               for (size_t i = 0; i < kPanicSlots; ++i) {
                 const PanicSlotModel& p = m.panicSlots[i];
                 if (p == kDefaultPanicSlots[i]) continue;
                 lines.push_back(std::to_string(i) + " " + (p.valid ? "1" : "0") + " " + (p.crcGood ? "1" : "0") +
                                 " " + std::to_string(p.dataSize));
               }
               return Lines("panic-slot", lines);
             },
             [](M& m, const std::string& value, std::string* problem) {
               std::vector<std::string> w = Words(value);
               uint64_t slot, valid, crc, size;
               if (w.size() != 4 || !text::ParseUnsigned(w[0], kPanicSlots - 1, &slot) ||
                   !text::ParseUnsigned(w[1], 1, &valid) || !text::ParseUnsigned(w[2], 1, &crc) ||
                   !text::ParseUnsigned(w[3], 0x1000000, &size)) {
                 return *problem = "panic-slot takes the slot (0-3), valid (0/1), CRC (0/1) and the dump's size "
                                   "(at most 16 MiB)",
                        false;
               }
               m.panicSlots[slot] = PanicSlotModel{valid == 1, crc == 1, static_cast<uint32_t>(size)};
               return true;
             },
             true};
}

// "RBLOCK TYPE MAPPING REPLACEMENT": a block of the module's block tables
// set apart from the built-in ones (emu/modules/raw_flash.h).
Key RawBlock() {
  return Key{"raw-block",
             [](const M& m) {
               std::vector<std::string> lines;
               for (const RawBlockModel& b : m.rawBlocks) {
                 lines.push_back(text::HexNumber(b.rblock, 3) + " " + std::to_string(b.type) + " " +
                                 std::to_string(b.mapping) + " " + text::HexNumber(b.replacement, 3));
               }
               return Lines("raw-block", lines);
             },
             [](M& m, const std::string& value, std::string* problem) {
               std::vector<std::string> w = Words(value);
               uint64_t rblock, type, mapping, replacement;
               if (w.size() != 4 || !text::ParseUnsigned(w[0], 0x7FF, &rblock) ||
                   !text::ParseUnsigned(w[1], 255, &type) || !text::ParseUnsigned(w[2], 255, &mapping) ||
                   !text::ParseUnsigned(w[3], 0xFFFF, &replacement)) {
                 return *problem = "raw-block takes the R-block (0-0x7FF), type, mapping state and replacement", false;
               }
               RawBlockModel block{static_cast<uint16_t>(rblock), static_cast<uint8_t>(type),
                                   static_cast<uint8_t>(mapping), static_cast<uint16_t>(replacement)};
               std::erase_if(m.rawBlocks, [&](const RawBlockModel& b) { return b.rblock == block.rblock; });
               m.rawBlocks.push_back(block);
               return true;
             },
             true};
}

}  // namespace

void AddModuleCommandKeys(std::vector<Key>* keys) {
  keys->push_back(SmartAbsent());  // first: what a table lacks makes room for what it adds
  keys->push_back(SmartAttributes());
  keys->push_back(LifeLeft());
  keys->push_back(Temperature());
  keys->push_back(Flag("smart-fails", &M::smartFails));
  keys->push_back(Count("sct-busy", &M::sctBusy));
  keys->push_back(Count("set-max-refusals", &M::setMaxRefusals));
  keys->push_back(Count("download-refusals", &M::downloadRefusals));
  keys->push_back(Count("config-write-refusals", &M::configWriteRefusals));
  keys->push_back(Count("config-writes-lost", &M::configWritesLost));
  keys->push_back(Password("user-password", &M::userPassword));
  keys->push_back(Password("master-password", &M::masterPassword));
  keys->push_back(Flag("security-frozen", &M::securityFrozen));
  keys->push_back(Flag("apm-supported", &M::apmSupported));
  keys->push_back(Flag("apm-enabled", &M::apmEnabled));
  keys->push_back(Unsigned("apm-level", &M::apmLevel, 0xFFFF, 0));
  keys->push_back(Unsigned("event-log-sectors", &M::eventLogSectors, 0xFFFF, ModuleModel{}.eventLogSectors));
  keys->push_back(FailingLogs());
  keys->push_back(Unsigned("erase-count", &M::eraseCount, 0xFFFFFFFFu, 0));
  keys->push_back(Flag("data-erased", &M::dataErased));
  keys->push_back(Image("firmware-image", &M::firmwareImage));
  keys->push_back(Image("config-image", &M::configImage));
  keys->push_back(Image("format-settings", &M::formatSettings));
  keys->push_back(PanicSlot());
  keys->push_back(Count("panic-read-fails", &M::panicReadFails));
  keys->push_back(RawBlock());
}

}  // namespace emu::card_file
