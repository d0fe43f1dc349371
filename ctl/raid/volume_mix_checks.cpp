// The creation checks that compare members with each other: protocol,
// medium, compatibility, and enclosure slots.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/raid_action_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/controller_limit_pages.h"
#include "ctl/pages/manufacturing_pages.h"
#include "ctl/pages/sas_device_page0.h"
#include "ctl/raid/volume_checks.h"
#include "ctl/raid/volume_create.h"

namespace {

constexpr uint32_t kProtocolMask = 0x3;
constexpr uint32_t kProtocolSas = 0x1;
constexpr uint32_t kProtocolSata = 0x2;
constexpr uint32_t kMediumMask = 0xC;
constexpr uint32_t kMediumRotating = 0x4;
constexpr uint32_t kMediumSolidState = 0x8;
constexpr uint32_t k4kSectors = 0x10;
constexpr uint32_t kOemAttribute = 0x1;

enum class Protocol { kNone, kSas, kSata };

bool Differ(uint32_t a, uint32_t b, uint32_t mask, uint32_t one, uint32_t other) {
  return ((a & mask) == one && (b & mask) == other) || ((a & mask) == other && (b & mask) == one);
}

// What SAS device page 0 says the device with that DevHandle speaks.
LibStatus ReadProtocol(LibContext* context, const LibHandle* adapter, uint16_t devHandle, Protocol* protocol) {
  uint8_t page[sas_device_page0::kSize] = {};
  uint32_t size = sizeof(page);
  LibStatus status = ConfigPageReadCore(context, adapter, kPageAddressForm2 | devHandle, kPageTypeExtended, 0,
                                        kExtPageSasDevice, kReadCurrent, page, &size);
  if (status != kLibOk) return status;
  uint32_t info = GetLe32(page, sas_device_page0::kDeviceInfo);
  if (info & sas_device_page0::kInfoSspTarget) {
    *protocol = Protocol::kSas;
  } else if (info & (sas_device_page0::kInfoSataDevice | sas_device_page0::kInfoStpTarget)) {
    *protocol = Protocol::kSata;
  } else {
    *protocol = Protocol::kNone;
  }
  return kLibOk;
}

// Whether the enclosure of the handle has the logical identifier of the
// other's (both read from SAS enclosure page 0).
bool SameEnclosure(LibContext* context, const LibHandle* adapter, uint16_t first, uint16_t second) {
  uint8_t a[enclosure_page0::kSize] = {};
  uint8_t b[enclosure_page0::kSize] = {};
  uint32_t size = sizeof(a);
  if (ConfigPageReadCore(context, adapter, kPageAddressForm1 | first, kPageTypeExtended, 0, kExtPageEnclosure,
                         kReadCurrent, a, &size) != kLibOk) {
    return false;
  }
  size = sizeof(b);
  if (ConfigPageReadCore(context, adapter, kPageAddressForm1 | second, kPageTypeExtended, 0, kExtPageEnclosure,
                         kReadCurrent, b, &size) != kLibOk) {
    return false;
  }
  return std::memcmp(a + enclosure_page0::kLogicalId, b + enclosure_page0::kLogicalId, 8) == 0;
}

}  // namespace

LibStatus CompareForMix(LibContext* context, const LibHandle* adapter, const RaidCompatibilityQuery& query,
                        const RaidLimits& limits, bool* incompatible, uint32_t* bits) {
  *incompatible = false;
  *bits = 0;
  RaidCompatibilityResult candidate{};
  LibStatus status = RaidCompatibilityCheck(context, adapter, &query, &candidate);
  if (status == kLibRaidActionFailed) return kLibOk;
  if (status != kLibOk) return status;
  if (candidate.state != compatibility_data::kStateIncompatible) return kLibOk;
  *incompatible = true;
  RaidCompatibilityQuery own{query.source, 0, 1};
  RaidCompatibilityResult source{};
  status = RaidCompatibilityCheck(context, adapter, &own, &source);
  if (status == kLibRaidActionFailed) return kLibOk;
  if (status != kLibOk) return status;
  uint32_t a = source.genericAttributes;
  uint32_t b = candidate.genericAttributes;
  if (Differ(a, b, kProtocolMask, kProtocolSas, kProtocolSata)) *bits |= 1;
  if (Differ(a, b, kMediumMask, kMediumRotating, kMediumSolidState)) *bits |= 2;
  if (limits.sectorSize == 4096 && ((a ^ b) & k4kSectors)) *bits |= 4;
  bool oemCompared = (limits.options & manufacturing_page10::kOptFeature) &&
                     !(limits.options & manufacturing_page10::kOptFeatureNoMixCheck);
  if (oemCompared && ((source.oemAttributes ^ candidate.oemAttributes) & kOemAttribute)) *bits |= 8;
  return kLibOk;
}

LibStatus CheckProtocolMix(CreateCheckRun& run) {
  if (!run.SasAdapter()) return kLibOk;
  bool anyRotating = false;
  for (uint32_t i = 0; i < run.MemberCount(); ++i) {
    DeviceRecord* device = run.Member(i);
    if (device != nullptr && !IsNonRotating(device->info.bytes + device_info::kDevicePart)) anyRotating = true;
  }
  if (!anyRotating && (run.limits.page4Flags & manufacturing_page4::kProtocolMixAllowedSsd)) return kLibOk;
  LibHandle adapter = run.adapter->header.handle;
  Protocol kind = Protocol::kNone;
  LibStatus result = kLibOk;
  for (uint32_t i = 0; i < run.MemberCount(); ++i) {
    DeviceRecord* device = run.Member(i);
    if (device == nullptr) continue;
    Protocol protocol = Protocol::kNone;
    if (ReadProtocol(run.context, &adapter, DeviceDevHandle(device), &protocol) != kLibOk) continue;
    if (protocol == Protocol::kNone) {
      LibStatus added = run.Problem(kProblemMember, MemberProblemValue(kMemberProtocol, device));
      if (EndsCheck(added)) return added;
      result = added;
      continue;
    }
    if (kind == Protocol::kNone) {
      kind = protocol;
    } else if (protocol != kind) {
      return run.Problem(kProblemProtocolMix, 0);
    }
  }
  return result;
}

LibStatus CheckMixRules(CreateCheckRun& run) {
  LibHandle adapter = run.adapter->header.handle;
  // Members that are no device of this adapter were listed already.
  if (run.Member(0) == nullptr) return kLibOk;
  for (uint32_t i = 1; i < run.MemberCount(); ++i) {
    if (run.Member(i) == nullptr) continue;
    RaidCompatibilityQuery query{run.MemberHandle(0), run.MemberHandle(i), 0};
    bool incompatible = false;
    uint32_t bits = 0;
    LibStatus status = CompareForMix(run.context, &adapter, query, run.limits, &incompatible, &bits);
    if (status != kLibOk) return status;
    if (incompatible) return run.Problem(kProblemMix, bits);
  }
  return kLibOk;
}

LibStatus CheckDuplicateSlots(CreateCheckRun& run) {
  LibHandle adapter = run.adapter->header.handle;
  for (uint32_t i = 0; i < run.MemberCount(); ++i) {
    DeviceRecord* first = run.Member(i);
    if (first == nullptr) continue;
    for (uint32_t j = i + 1; j < run.MemberCount(); ++j) {
      DeviceRecord* second = run.Member(j);
      if (second == nullptr) continue;
      uint16_t slot = GetLe16(first->info.bytes, device_info::kSlot);
      if (slot != GetLe16(second->info.bytes, device_info::kSlot)) continue;
      uint16_t enclosure = GetLe16(first->info.bytes, device_info::kEnclosureHandle);
      if (!SameEnclosure(run.context, &adapter, enclosure,
                         GetLe16(second->info.bytes, device_info::kEnclosureHandle))) {
        continue;
      }
      return run.Problem(kProblemSameSlot, (static_cast<uint32_t>(enclosure) << 16) | slot);
    }
  }
  return kLibOk;
}

LibStatus CheckDuplicateDevHandleSlots(CreateCheckRun& run) {
  if (!run.SasAdapter()) return kLibOk;
  LibHandle adapter = run.adapter->header.handle;
  uint32_t seen[kMaxVolumeMembers] = {};
  uint32_t count = 0;
  for (uint32_t i = 0; i < run.MemberCount() && i < kMaxVolumeMembers; ++i) {
    DeviceRecord* device = run.Member(i);
    if (device == nullptr) continue;
    uint8_t page[sas_device_page0::kSize] = {};
    uint32_t size = sizeof(page);
    if (ConfigPageReadCore(run.context, &adapter, kPageAddressForm2 | DeviceDevHandle(device), kPageTypeExtended, 0,
                           kExtPageSasDevice, kReadCurrent, page, &size) != kLibOk) {
      continue;
    }
    uint32_t place = (static_cast<uint32_t>(GetLe16(page, sas_device_page0::kEnclosureHandle)) << 16) |
                     GetLe16(page, sas_device_page0::kSlot);
    for (uint32_t k = 0; k < count; ++k) {
      if (seen[k] == place) return run.Problem(kProblemDevHandleSlot, place);
    }
    seen[count++] = place;
  }
  return kLibOk;
}

LibStatus CheckMediaMix(CreateCheckRun& run) {
  if (!run.SasAdapter() || (run.limits.page4Flags & manufacturing_page4::kMediaMixAllowed)) return kLibOk;
  bool rotating = false;
  bool solidState = false;
  for (uint32_t i = 0; i < run.MemberCount(); ++i) {
    DeviceRecord* device = run.Member(i);
    if (device == nullptr) continue;
    if (IsNonRotating(device->info.bytes + device_info::kDevicePart)) {
      solidState = true;
    } else {
      rotating = true;
    }
  }
  return rotating && solidState ? run.Problem(kProblemMediaMix, 0) : kLibOk;
}
