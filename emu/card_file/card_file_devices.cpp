// The [module], [volume] and [disk] keys of the card file.
#include "emu/card_file/card_file_devices.h"

#include <sstream>

#include "emu/card_file/card_file_schema.h"
#include "emu/card_file/text_codec.h"

namespace emu::card_file {
namespace {

template <typename T>
using Keys = std::vector<DeviceKey<T>>;

bool ReadNumber(const std::string& value, uint64_t max, uint64_t* out, const char* key,
                std::string* problem) {
  if (text::ParseUnsigned(value, max, out)) return true;
  *problem = "bad " + std::string(key) + " \"" + value + "\"";
  return false;
}

// A number member written in hex (digits) or decimal (0).
template <typename T, typename M>
DeviceKey<T> Number(const char* key, M T::*member, int digits, uint64_t max) {
  return DeviceKey<T>{
      key,
      [member, digits](const T& t) {
        uint64_t v = static_cast<uint64_t>(t.*member);
        return digits == 0 ? std::to_string(v) : text::HexNumber(v, digits);
      },
      [member, max, key](T& t, const std::string& value, std::string* problem) {
        uint64_t v;
        if (!ReadNumber(value, max, &v, key, problem)) return false;
        t.*member = static_cast<M>(v);
        return true;
      }};
}

template <typename T>
DeviceKey<T> Text(const char* key, std::string T::*member, size_t maxLength) {
  return DeviceKey<T>{
      key, [member](const T& t) { return QuoteText(t.*member); },
      [member, maxLength, key](T& t, const std::string& value, std::string* problem) {
        if (value.size() > maxLength) {
          *problem = std::string(key) + " is longer than " + std::to_string(maxLength) + " characters";
          return false;
        }
        t.*member = value;
        return true;
      }};
}

// A number a page names in place of the device's own, written only when set
// (-1: the device's own).
template <typename T, typename M>
DeviceKey<T> PageNumber(const char* key, M T::*member, int digits, uint64_t max) {
  return DeviceKey<T>{
      key,
      [member, digits](const T& t) {
        if (t.*member < 0) return std::string();
        return text::HexNumber(static_cast<uint64_t>(t.*member), digits);
      },
      [member, max, key](T& t, const std::string& value, std::string* problem) {
        uint64_t v;
        if (!ReadNumber(value, max, &v, key, problem)) return false;
        t.*member = static_cast<M>(v);
        return true;
      }};
}

bool ReadYes(const std::string& value, bool* out, const char* key, std::string* problem) {
  if (value == "yes" || value == "no") {
    *out = value == "yes";
    return true;
  }
  *problem = std::string(key) + " takes yes or no";
  return false;
}

std::string SenseText(const SenseCode& c) {
  return text::HexNumber(c.key, 2) + " " + text::HexNumber(c.asc, 2) + " " + text::HexNumber(c.ascq, 2);
}

// "KEY ASC ASCQ" and, for the check condition, the count after it.
bool ReadSense(const std::string& value, SenseCode* code, int64_t* times, const char* key,
               std::string* problem) {
  std::istringstream words(value);
  std::string k, a, q, n, extra;
  uint64_t kv, av, qv;
  bool counted = times != nullptr;
  if (!(words >> k >> a >> q) || (counted && !(words >> n)) || (words >> extra) ||
      !text::ParseUnsigned(k, 15, &kv) || !text::ParseUnsigned(a, 255, &av) ||
      !text::ParseUnsigned(q, 255, &qv) ||
      (counted && (!text::ParseSigned(n, -1, 1000000000, times) || *times == 0))) {
    *problem = std::string(key) + (counted ? " takes sense key, ASC, ASCQ and a count (-1 or more than 0)"
                                           : " takes sense key, ASC and ASCQ");
    return false;
  }
  *code = SenseCode{static_cast<uint8_t>(kv), static_cast<uint8_t>(av), static_cast<uint8_t>(qv)};
  return true;
}

// The keys of a target's sense settings (modules and volumes).
template <typename T>
void AddSenseKeys(Keys<T>* keys) {
  keys->push_back(DeviceKey<T>{
      "descriptor-sense", [](const T& t) { return std::string(t.sense.descriptorFormat ? "yes" : "no"); },
      [](T& t, const std::string& v, std::string* p) {
        return ReadYes(v, &t.sense.descriptorFormat, "descriptor-sense", p);
      }});
  keys->push_back(DeviceKey<T>{
      "check-condition",
      [](const T& t) {
        if (t.sense.checkConditionTimes == 0) return std::string();
        return SenseText(t.sense.checkCondition) + " " + std::to_string(t.sense.checkConditionTimes);
      },
      [](T& t, const std::string& v, std::string* p) {
        int64_t times = 0;
        if (!ReadSense(v, &t.sense.checkCondition, &times, "check-condition", p)) return false;
        t.sense.checkConditionTimes = static_cast<int>(times);
        return true;
      }});
  keys->push_back(DeviceKey<T>{
      "check-condition-opcode",
      [](const T& t) {
        if (t.sense.checkConditionTimes == 0 || t.sense.checkConditionOpcode < 0) return std::string();
        return text::HexNumber(static_cast<uint64_t>(t.sense.checkConditionOpcode), 2);
      },
      [](T& t, const std::string& v, std::string* p) {
        uint64_t opcode = 0;
        if (!ReadNumber(v, 0xFF, &opcode, "check-condition-opcode", p)) return false;
        t.sense.checkConditionOpcode = static_cast<int>(opcode);
        return true;
      }});
  keys->push_back(DeviceKey<T>{
      "unit-attention",
      [](const T& t) { return t.sense.unitAttention ? SenseText(t.sense.unitAttentionCode) : std::string(); },
      [](T& t, const std::string& v, std::string* p) {
        t.sense.unitAttention = true;
        return ReadSense(v, &t.sense.unitAttentionCode, nullptr, "unit-attention", p);
      }});
  keys->push_back(DeviceKey<T>{
      "unit-attention-times",
      [](const T& t) {
        if (!t.sense.unitAttention || t.sense.unitAttentionTimes == TargetSense{}.unitAttentionTimes) {
          return std::string();
        }
        return std::to_string(t.sense.unitAttentionTimes);
      },
      [](T& t, const std::string& v, std::string* p) {
        uint64_t times = 0;
        if (!ReadNumber(v, 1000, &times, "unit-attention-times", p)) return false;
        if (times == 0) {
          *p = "unit-attention-times takes 1 or more";
          return false;
        }
        t.sense.unitAttentionTimes = static_cast<int>(times);
        return true;
      }});
  keys->push_back(DeviceKey<T>{
      "unit-attention-status",
      [](const T& t) { return t.sense.unitAttention && t.sense.unitAttentionGood ? std::string("good") : std::string(); },
      [](T& t, const std::string& v, std::string* p) {
        if (v != "good" && v != "check-condition") {
          *p = "unit-attention-status takes good or check-condition";
          return false;
        }
        t.sense.unitAttentionGood = v == "good";
        return true;
      }});
}

const char* const kLinkPower[] = {"active", "partial", "slumber"};

}  // namespace

const std::vector<DeviceKey<ModuleModel>>& ModuleKeys() {
  using M = ModuleModel;
  static const Keys<M> keys = [] {
    Keys<M> k = {
        Number("dev-handle", &M::devHandle, 4, 0xFFFE),
        Number("sas-address", &M::sasAddress, 16, ~0ull),
        Number("device-info", &M::deviceInfo, 8, 0xFFFFFFFFu),
        Number("access-status", &M::accessStatus, 0, 0xFF),
        Number("device-flags", &M::deviceFlags, 4, 0xFFFF),
        Number("physical-port", &M::physicalPort, 0, 0xFF),
        DeviceKey<M>{"link-power", [](const M& m) { return std::string(kLinkPower[m.linkPower % 3]); },
                     [](M& m, const std::string& v, std::string* p) {
                       for (uint8_t i = 0; i < 3; ++i) {
                         if (v == kLinkPower[i]) return m.linkPower = i, true;
                       }
                       *p = "link-power is active, partial or slumber";
                       return false;
                     }},
        Number("slot-status", &M::slotStatus, 8, 0xFFFFFFFFu),
        Text("model", &M::model, 40),
        Text("serial", &M::serial, 20),
        Text("firmware", &M::firmware, 8),
        Number("wwn", &M::wwn, 16, ~0ull),
        Number("native-sectors", &M::nativeSectors, 0, ~0ull),
        Number("max-sectors", &M::maxSectors, 0, ~0ull),
        DeviceKey<M>{"block-length", [](const M& m) { return std::to_string(m.blockLength); },
                     [](M& m, const std::string& v, std::string* p) {
                       uint64_t n;
                       if (!ReadNumber(v, 0xFFFFFFFFu, &n, "block-length", p)) return false;
                       if (n != 512 && n != 4096) return *p = "block-length is 512 or 4096", false;
                       m.blockLength = static_cast<uint32_t>(n);
                       return true;
                     }},
        DeviceKey<M>{"model-type", [](const M& m) { return std::string(1, m.modelType); },
                     [](M& m, const std::string& v, std::string* p) {
                       if (v.size() != 1 || v[0] < '0' || v[0] > '9') return *p = "model-type is one digit", false;
                       m.modelType = v[0];
                       return true;
                     }},
        DeviceKey<M>{"config-id", [](const M& m) { return QuoteText(m.configId); },
                     [](M& m, const std::string& v, std::string* p) {
                       if (v.size() != 4) return *p = "config-id is four characters", false;
                       m.configId = v;
                       return true;
                     }},
        Number("oem-attributes", &M::oemAttributes, 8, 0xFFFFFFFFu),
        PageNumber("page-dev-handle", &M::pageDevHandle, 4, 0xFFFF),
        Number("trim-count", &M::trimCount, 0, ~0ull),
        DeviceKey<M>{"state", [](const M& m) { return std::string(ModuleStateName(m.state)); },
                     [](M& m, const std::string& v, std::string* p) {
                       if (ModuleStateFromName(v, &m.state)) return true;
                       *p = "state is present, missing, locked, busy or refusing";
                       return false;
                     }},
    };
    AddSenseKeys(&k);
    AddModuleCommandKeys(&k);
    return k;
  }();
  return keys;
}

const std::vector<DeviceKey<VolumeModel>>& VolumeKeys() {
  using V = VolumeModel;
  static const Keys<V> keys = [] {
    Keys<V> k = {
        Number("type", &V::type, 0, 0xFF),
        Number("state", &V::state, 0, 5),
        Number("status-flags", &V::statusFlags, 8, 0xFFFFFFFFu),
        Number("settings", &V::settings, 4, 0xFFFF),
        Number("hot-spare-pool", &V::hotSparePool, 0, 0xFF),
        Number("stripe-size", &V::stripeSize, 0, 0xFFFFFFFFu),
        Number("max-lba", &V::maxLba, 0, ~0ull),
        Number("resync-rate", &V::resyncRate, 0, 0xFF),
        Number("scrub-duration", &V::scrubDuration, 0, 0xFFFF),
        Number("inactive-status", &V::inactiveStatus, 0, 0xFF),
        Number("blocks-remaining", &V::blocksRemaining, 0, ~0ull),
        Text("name", &V::name, 16),
        Number("wwid", &V::wwid, 16, ~0ull),
        PageNumber("page-dev-handle", &V::pageDevHandle, 4, 0xFFFF),
        DeviceKey<V>{"guid", [](const V& v) { return text::Hex(v.guid.data(), v.guid.size()); },
                     [](V& v, const std::string& value, std::string* p) {
                       std::vector<uint8_t> bytes;
                       if (!text::AppendHex(value, &bytes) || bytes.size() != 24) {
                         return *p = "guid is 24 bytes in hex", false;
                       }
                       v.guid = bytes;
                       return true;
                     }},
    };
    k.push_back(DeviceKey<V>{
        "member",
        [](const V& v) {
          std::string lines;
          for (const VolumeMember& m : v.members) {
            if (!lines.empty()) lines += "\nmember = ";
            lines += std::to_string(m.disk) + " " + std::to_string(m.map) + " " + std::to_string(m.raidSet);
          }
          return lines;
        },
        [](V& v, const std::string& value, std::string* p) {
          std::istringstream words(value);
          std::string d, m, r, extra;
          uint64_t dv, mv, rv;
          if (!(words >> d >> m >> r) || (words >> extra) || !text::ParseUnsigned(d, 254, &dv) ||
              !text::ParseUnsigned(m, 255, &mv) || !text::ParseUnsigned(r, 255, &rv)) {
            return *p = "member takes disk number, map and RAID set", false;
          }
          v.members.push_back(VolumeMember{static_cast<uint8_t>(dv), static_cast<uint8_t>(mv),
                                           static_cast<uint8_t>(rv)});
          return true;
        },
        true});
    AddSenseKeys(&k);
    return k;
  }();
  return keys;
}

const std::vector<DeviceKey<PhysDiskModel>>& DiskKeys() {
  using D = PhysDiskModel;
  static const Keys<D> keys = {
      Number("slot", &D::slot, 0, 7),
      Number("state", &D::state, 0, 7),
      Number("offline-reason", &D::offlineReason, 0, 0xFF),
      Number("incompatible-reason", &D::incompatibleReason, 0, 0xFF),
      Number("status-flags", &D::statusFlags, 8, 0xFFFFFFFFu),
      Number("hot-spare-pool", &D::hotSparePool, 0, 0xFF),
      PageNumber("page-number", &D::pageNumber, 2, 0xFF),
  };
  return keys;
}

namespace {

template <typename T>
void WriteKeys(std::string* out, const Keys<T>& keys, const T& t) {
  for (const DeviceKey<T>& k : keys) {
    std::string value = k.write(t);
    if (!value.empty()) *out += std::string(k.key) + " = " + value + "\n";
  }
}

}  // namespace

bool RepeatableModuleKey(const std::string& key) {
  for (const DeviceKey<ModuleModel>& k : ModuleKeys()) {
    if (key == k.key) return k.repeatable;
  }
  return false;
}

void WriteDevices(std::string* out, const AdapterModel& a) {
  for (const ModuleModel& m : a.modules) {
    *out += "\n[module " + std::to_string(m.slot) + "]\n";
    WriteKeys(out, ModuleKeys(), m);
  }
  *out += "\n[raid]\n";
  for (const VolumeModel& v : a.raid.volumes) {
    *out += "\n[volume " + text::HexNumber(v.devHandle, 4) + "]\n";
    WriteKeys(out, VolumeKeys(), v);
  }
  for (const PhysDiskModel& d : a.raid.disks) {
    *out += "\n[disk " + std::to_string(d.number) + "]\n";
    WriteKeys(out, DiskKeys(), d);
  }
}

}  // namespace emu::card_file
