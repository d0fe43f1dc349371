// The creation checks on limits, capabilities and each member device.
#include "ctl/base/byte_order.h"
#include "ctl/frames/scsi_commands.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/controller_limit_pages.h"
#include "ctl/pages/manufacturing_pages.h"
#include "ctl/raid/volume_checks.h"
#include "ctl/raid/volume_create.h"

namespace {

constexpr uint64_t kMiBShift = 20;

// Keeps the first answer that reports problems, or the one that ends the check.
void Note(LibStatus* result, LibStatus answer) {
  if (answer != kLibOk && (*result == kLibOk || EndsCheck(answer))) *result = answer;
}

// The index of a volume type's drive counts in IOC page 6; -1 when it has none.
int DriveCountIndex(uint32_t volumeType) {
  switch (volumeType) {
    case kVolumeTypeRaid0: return ioc_page6::kRaid0;
    case kVolumeTypeRaid1e: return ioc_page6::kRaid1e;
    case kVolumeTypeRaid1: return ioc_page6::kRaid1;
    default: return -1;
  }
}

}  // namespace

LibStatus CheckVolumeCount(CreateCheckRun& run) {
  if (run.limits.volumesConfigured < run.limits.maxVolumes) return kLibOk;
  return run.Problem(kProblemVolumeCount, run.limits.maxVolumes);
}

LibStatus CheckMembersOnAdapter(CreateCheckRun& run) {
  LibStatus result = kLibOk;
  for (uint32_t i = 0; i < run.MemberCount() && !EndsCheck(result); ++i) {
    LibHandle handle = run.MemberHandle(i);
    DeviceRecord* device = nullptr;
    AdapterRecord* owner = nullptr;
    if (FindDevice(run.context, &handle, &device, &owner) != kLibOk) {
      Note(&result, run.Problem(kProblemMember, kMemberUnknownHandle << 24));
    } else if (owner != run.adapter) {
      Note(&result, run.Problem(kProblemMember, MemberProblemValue(kMemberOtherAdapter, device)));
    }
  }
  return result;
}

LibStatus CheckFeatureSupport(CreateCheckRun& run) {
  if (run.request->featureRequest == 0) return kLibOk;
  LibStatus result = kLibOk;
  if (!(run.limits.options & manufacturing_page10::kOptFeature)) {
    result = run.Problem(kProblemFeature, 0);
    return EndsCheck(result) ? result : kLibFailure;
  }
  LibHandle adapter = run.adapter->header.handle;
  bool listed = false;
  for (uint32_t i = 0; i < run.MemberCount() && !EndsCheck(result); ++i) {
    RaidCompatibilityQuery query{run.MemberHandle(i), 0, 1};
    RaidCompatibilityResult answer{};
    LibStatus asked = RaidCompatibilityCheck(run.context, &adapter, &query, &answer);
    if (asked != kLibOk) {
      Note(&result, run.Problem(kProblemMember, kMemberUnknownHandle << 24));
      listed = true;
    } else if (!(answer.oemAttributes & 0x1)) {
      DeviceRecord* device = run.Member(i);
      uint32_t value = device != nullptr ? MemberProblemValue(kMemberFeature, device) : kMemberFeature << 24;
      Note(&result, run.Problem(kProblemMember, value));
      listed = true;
    }
  }
  if (EndsCheck(result)) return result;
  return listed ? kLibFailure : kLibOk;
}

LibStatus CheckRaidTypeSupported(CreateCheckRun& run) {
  uint32_t needed = 0;
  switch (run.request->volumeType) {
    case kVolumeTypeRaid0: needed = ioc_page6::kCapRaid0; break;
    case kVolumeTypeRaid1e: needed = ioc_page6::kCapRaid1e; break;
    case kVolumeTypeRaid1: needed = ioc_page6::kCapRaid1; break;
    case kVolumeTypeRaid10: needed = ioc_page6::kCapRaid10; break;
    default: return kLibOk;  // refused when the volume is sent
  }
  if (run.limits.capabilities & needed) return kLibOk;
  return run.Problem(kProblemTypeUnsupported, 0);
}

LibStatus CheckMembersInUse(CreateCheckRun& run) {
  // A migration keeps member 0's data: it is expected to be in use.
  uint32_t first = run.request->migrateData ? 1 : 0;
  for (uint32_t i = first; i < run.MemberCount(); ++i) {
    DeviceRecord* device = run.Member(i);
    if (device == nullptr || !IsDiskInUse(device)) continue;
    LibStatus added = run.Problem(kProblemMember, MemberProblemValue(kMemberInUse, device));
    return EndsCheck(added) ? added : kLibMemberInUse;
  }
  return kLibOk;
}

LibStatus CheckMemberDevice(LibContext* context, ConfigProblemList* problems, const DeviceRecord* device,
                            uint32_t sectorSize) {
  LibStatus result = kLibOk;
  auto problem = [&](uint32_t reason) {
    if (!EndsCheck(result)) Note(&result, AddConfigProblem(context, problems, kProblemMember,
                                                           MemberProblemValue(reason, device)));
  };
  const uint8_t* block = device->info.bytes;
  if (device->peripheralType != inquiry_data::kTypeDirectAccess) problem(kMemberNotDisk);
  if (device->lun != 0) problem(kMemberLun);
  if (device->identified) {
    if (Get8(block, device_info::kInquiry + inquiry_data::kRemovable) & inquiry_data::kRemovableBit) {
      problem(kMemberRemovable);
    }
    uint32_t blockLength = GetLe32(block, device_info::kBlockLength);
    if (blockLength == 4096 && sectorSize == 512) {
      problem(kMember4kOn512);
    } else if (blockLength != 512 && blockLength != 4096) {
      problem(kMemberBlockLength);
    }
  }
  return result;
}

LibStatus CheckMemberDevices(CreateCheckRun& run) {
  LibStatus result = kLibOk;
  for (uint32_t i = 0; i < run.MemberCount() && !EndsCheck(result); ++i) {
    DeviceRecord* device = run.Member(i);
    if (device != nullptr) {
      Note(&result, CheckMemberDevice(run.context, &run.request->problems, device, run.limits.sectorSize));
    }
  }
  return result;
}

LibStatus CheckDriveCounts(CreateCheckRun& run) {
  uint32_t n = run.MemberCount();
  uint32_t limit = run.limits.maxPhysDisks;
  uint32_t used = run.limits.disksConfigured;
  uint32_t spares = 0;
  LibHandle adapter = run.adapter->header.handle;
  CountPoolHotSpares(run.context, &adapter, 0, &spares);
  LibStatus result = kLibOk;
  bool limited = false;
  if (limit < n) {
    Note(&result, run.Problem(kProblemTooManyMembers, limit));
    limited = true;
  }
  if (!EndsCheck(result) && limit < n + used) {
    Note(&result, run.Problem(kProblemDiskLimit, limit > used ? limit - used : 0));
    limited = true;
  }
  if (!EndsCheck(result) && n + used + spares > limit) {
    Note(&result, run.Problem(kProblemTotalDisks, 0));
    limited = true;
  }
  if (limited) return result;
  int index = DriveCountIndex(run.request->volumeType);
  if (index < 0) return kLibOk;
  uint32_t minimum = run.limits.minDrives[index];
  uint32_t maximum = run.limits.maxDrives[index];
  if (minimum > n) Note(&result, run.Problem(kProblemTooFewMembers, minimum));
  if (!EndsCheck(result) && maximum < n) Note(&result, run.Problem(kProblemTooManyMembers, maximum));
  return result;
}

LibStatus CheckRaid1eRules(CreateCheckRun& run) {
  if (run.request->volumeType != kVolumeTypeRaid1e) return kLibOk;
  uint32_t n = run.MemberCount();
  bool odd = (n & 1) != 0;
  LibStatus result = kLibOk;
  if (run.request->raid1eOption && run.limits.raid1eWord == 0) Note(&result, run.Problem(kProblemRaid1eOption, 0));
  if (!EndsCheck(result) && run.request->raid1eOption && odd) Note(&result, run.Problem(kProblemRaid1eOdd, n));
  if (!EndsCheck(result) && (run.limits.options & manufacturing_page10::kOptRaid1eOddRefused) && odd) {
    Note(&result, run.Problem(kProblemRaid1eOddRefused, n));
  }
  return result;
}

LibStatus CheckMigrateType(CreateCheckRun& run) {
  if (!run.request->migrateData || run.request->volumeType == kVolumeTypeRaid1) return kLibOk;
  return run.Problem(kProblemMigrateType, kVolumeTypeRaid1);
}

LibStatus CheckVolumeSize(CreateCheckRun& run) {
  uint64_t requested = run.request->volumeSize;
  uint32_t n = run.MemberCount();
  LibStatus result = kLibOk;
  if (run.request->migrateData) {
    for (uint32_t i = 0; i < 2 && i < n && !EndsCheck(result); ++i) {
      LibHandle handle = run.MemberHandle(i);
      uint64_t usable = 0;
      if (MemberUsableSize(run.context, &handle, &usable) != kLibOk) continue;
      if (requested > usable) {
        Note(&result, run.Problem(kProblemVolumeSize, static_cast<uint32_t>(usable >> kMiBShift)));
      }
    }
    return result;
  }
  if (requested == 0) return kLibOk;
  bool any = false;
  uint64_t smallest = 0;
  for (uint32_t i = 0; i < n; ++i) {
    LibHandle handle = run.MemberHandle(i);
    uint64_t usable = 0;
    if (MemberUsableSize(run.context, &handle, &usable) != kLibOk) continue;
    if (!any || usable < smallest) smallest = usable;
    any = true;
  }
  uint64_t limit = smallest * n;
  if (run.request->volumeType == kVolumeTypeRaid1e || run.request->volumeType == kVolumeTypeRaid1) limit /= 2;
  if (requested <= limit) return kLibOk;
  uint64_t rounded = 0;
  RoundVolumeSize(run.context, smallest, &rounded);
  return run.Problem(kProblemVolumeSize, static_cast<uint32_t>(rounded >> kMiBShift));
}
