// The checks of a volume creation request, run in order by CreateVolume.
// Each answers 0 when it found nothing, 768 when it listed problems, or the
// status that ended it (20 list full, 17 list too small, page and lookup
// statuses).
#pragma once

#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/objects/object_records.h"
#include "ctl/raid/raid_records.h"

// The controller's RAID limits and options the checks read.
struct RaidLimits {
  uint32_t capabilities = 0;   // IOC page 6
  uint8_t maxDrives[4] = {};   // RAID0, RAID1, RAID1E, RAID10
  uint8_t minDrives[4] = {};
  uint8_t maxHotSpares = 0;
  uint8_t maxPhysDisks = 0;
  uint8_t maxVolumes = 0;
  uint16_t metadataReserveMiB = 0;
  uint8_t disksConfigured = 0;   // RAID configuration page 0 (0 without one)
  uint8_t volumesConfigured = 0;
  bool page10Read = false;       // manufacturing page 10
  uint32_t raid1eWord = 0;
  uint32_t options = 0;
  uint32_t page4Flags = 0;       // manufacturing page 4 (0 when unreadable)
  uint32_t sectorSize = 512;
};
// IOC page 6 must be readable; the other pages count as empty when not.
LibStatus ReadRaidLimits(LibContext* context, const LibHandle* adapter, RaidLimits* limits);

struct CreateCheckRun {
  LibContext* context;
  AdapterRecord* adapter;
  CreateVolumeRequest* request;
  RaidLimits limits;

  uint32_t MemberCount() const { return request->memberCount; }
  LibHandle MemberHandle(uint32_t i) const { return request->members[i].deviceHandle; }
  // The member's device when it is one of this adapter's, else null.
  DeviceRecord* Member(uint32_t i) const;
  // Adds a problem; the answer as AddConfigProblem's.
  LibStatus Problem(uint32_t code, uint32_t value);
  bool SasAdapter() const;
};

// Whether a check's answer ends the check (and, in commit mode, the run).
inline bool EndsCheck(LibStatus status) { return status != 0 && status != kLibCreateProblems; }
// The value of a member problem.
uint32_t MemberProblemValue(uint32_t reason, const DeviceRecord* device);
bool IsDiskInUse(const DeviceRecord* device);
bool IsNonRotating(const uint8_t* devicePart);

LibStatus CheckVolumeCount(CreateCheckRun& run);
LibStatus CheckMembersOnAdapter(CreateCheckRun& run);
LibStatus CheckFeatureSupport(CreateCheckRun& run);
LibStatus CheckRaidTypeSupported(CreateCheckRun& run);
LibStatus CheckMembersInUse(CreateCheckRun& run);
// Reasons 0x01, 0x03, 0x04 and the sector check of one device.
LibStatus CheckMemberDevice(LibContext* context, ConfigProblemList* problems, const DeviceRecord* device,
                            uint32_t sectorSize);
LibStatus CheckMemberDevices(CreateCheckRun& run);
LibStatus CheckDriveCounts(CreateCheckRun& run);
LibStatus CheckRaid1eRules(CreateCheckRun& run);
LibStatus CheckProtocolMix(CreateCheckRun& run);
LibStatus CheckMixRules(CreateCheckRun& run);
LibStatus CheckDuplicateSlots(CreateCheckRun& run);
LibStatus CheckMigrateType(CreateCheckRun& run);
LibStatus CheckVolumeSize(CreateCheckRun& run);
// Two checks of the family that no run calls.
LibStatus CheckDuplicateDevHandleSlots(CreateCheckRun& run);
LibStatus CheckMediaMix(CreateCheckRun& run);

// The mismatch bits between a source and a candidate whose compatibility
// check answered "not compatible": 1 SAS/SATA, 2 rotating/solid state, 4 4K
// sectors (sector size 4096 only), 8 the OEM attribute (when the options
// ask for it). *incompatible tells whether the controller said so at all; a
// check refused by the controller (770) counts as compatible.
LibStatus CompareForMix(LibContext* context, const LibHandle* adapter, const RaidCompatibilityQuery& query,
                        const RaidLimits& limits, bool* incompatible, uint32_t* bits);
