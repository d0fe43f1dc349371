// The card's devices and its integrated RAID state: the flash modules as SAS
// end devices and SCSI targets, with the identity later module commands
// answer from, and the RAID configuration (volumes, physical disks, hot
// spares). The SAS device, phy, IO unit, enclosure and RAID pages, the
// driver's bus/target table and /proc/scsi/scsi are generated from this
// state on request, so a change here (a RAID action, a test) is what the next
// rescan sees. Everything here is kept in the card file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace emu {

// The one enclosure of the card: its eight module slots.
inline constexpr uint16_t kEnclosureHandle = 1;
inline constexpr uint8_t kSlotCount = 8;
// DevHandles: modules from kFirstModuleHandle in slot order; volumes count
// down from the adapter's largest DevHandle (IOC FACTS MaxDevHandle).
inline constexpr uint16_t kFirstModuleHandle = 0x0009;
// The driver's SCSI channels: bare modules on 0 (target = slot), volumes on 1.
inline constexpr uint32_t kDeviceBus = 0;
inline constexpr uint32_t kVolumeBus = 1;

// A sense key with its additional sense code and qualifier.
struct SenseCode {
  uint8_t key = 0;
  uint8_t asc = 0;
  uint8_t ascq = 0;
  bool operator==(const SenseCode&) const = default;
};

// How a SCSI target reports errors, and the conditions armed on it.
struct TargetSense {
  bool descriptorFormat = false;  // sense data in descriptor format (0x72), else fixed (0x70)
  SenseCode checkCondition;       // answered, with CHECK CONDITION, to the next commands
  int checkConditionTimes = 0;    // how many: 0 none, -1 every command until cleared
  int checkConditionOpcode = -1;  // only commands with this operation code (-1: any)
  bool unitAttention = false;     // pending once: the next command other than INQUIRY reports it
  SenseCode unitAttentionCode{6, 0x29, 0x00};  // power on, reset or bus device reset occurred
  // How many commands report the pending UNIT ATTENTION before it clears
  // (conditions queued one behind the other, each reported once).
  int unitAttentionTimes = 1;
  // The pending UNIT ATTENTION comes with status GOOD (its sense delivered,
  // nothing done or moved) instead of CHECK CONDITION.
  bool unitAttentionGood = false;
  bool operator==(const TargetSense&) const = default;
};

// What a module is doing. Present and missing decide whether it is on the
// bus at all; locked, busy and refusing are present modules that module
// commands treat differently: locked is ATA security locked (IDENTIFY word
// 128 bit 2; commands that change the medium or its configuration are
// aborted), busy answers every SCT status read with "command executing",
// refusing aborts every ATA command.
enum class ModuleState : uint8_t { kPresent, kMissing, kLocked, kBusy, kRefusing };
const char* ModuleStateName(ModuleState state);
bool ModuleStateFromName(const std::string& name, ModuleState* state);

// One SMART attribute of a module's attribute table: what SMART READ DATA
// (id, flags, normalized and worst value, raw bytes) and SMART READ
// THRESHOLDS (the threshold) answer for it. `raw` holds the six raw bytes
// and the vendor byte after them (entry bytes 5 to 11) as one little-endian
// number: some of the module's counters run into that seventh byte.
struct SmartAttribute {
  uint8_t id = 0;
  uint16_t flags = 0;
  uint8_t normalized = 0;
  uint8_t worst = 0;
  uint64_t raw = 0;      // 56 bits
  uint8_t threshold = 0;
  bool operator==(const SmartAttribute&) const = default;
};
inline constexpr size_t kSmartAttributeSlots = 30;  // entries of the SMART data sector
inline constexpr uint64_t kSmartRawMax = 0x00FFFFFFFFFFFFFFull;

// One of a module's four panic slots: a dump its firmware wrote when it
// failed (vendor SCT action 0xC601). The dump's bytes are made from the
// module's identity, the slot and the size.
struct PanicSlotModel {
  bool valid = false;     // the slot holds a panic
  bool crcGood = false;   // the dump's check passed
  uint32_t dataSize = 0;  // bytes of dump
  bool operator==(const PanicSlotModel&) const = default;
};
inline constexpr size_t kPanicSlots = 4;
using PanicSlots = std::array<PanicSlotModel, kPanicSlots>;
// A new module's: slot 0 a good dump of 4097 bytes, slot 1 a panic whose
// check failed, slot 2 empty, slot 3 a good dump of 700 bytes.
inline constexpr PanicSlots kDefaultPanicSlots = {{{true, true, 0x1001}, {true, false, 0x200}, {}, {true, true, 0x2BC}}};

// A flash block (R-block) of the module's block tables as the raw-flash
// actions (0xC00B, 0xC03B, 0xC00C) see it. Blocks a module does not list
// are those of emu/modules/raw_flash.h: a few system, invalid and
// re-mapped ones, the rest ordinary user blocks.
struct RawBlockModel {
  uint16_t rblock = 0;       // 0 to 0x7FF
  uint8_t type = 4;          // 0 invalid; 1, 2, 5 system; 3 user (a secure erase may overwrite it); others user
  uint8_t mapping = 1;       // 0 invalid, 1 not re-mapped, others re-mapped
  uint16_t replacement = 0;  // re-mapped: the block the mapping table names for every page
  bool operator==(const RawBlockModel&) const = default;
};

// DeviceInfo bits of SAS device page 0 that tell what the device speaks.
inline constexpr uint32_t kDeviceInfoSataDevice = 0x00000080;
inline constexpr uint32_t kDeviceInfoSspTarget = 0x00000400;

// One flash module in an enclosure slot, reached on the phy of the same
// number: a SATA device (the card's own modules), or a SAS one when its
// device info says SSP target and not SATA device.
struct ModuleModel {
  uint8_t slot = 0;                  // 0-7: the enclosure slot and the phy number
  uint16_t devHandle = 0;
  uint64_t sasAddress = 0;           // the address the controller gave the SATA device
  uint32_t deviceInfo = 0x00000881;  // SATA device 0x80, directly attached 0x800, end device 1
  uint8_t accessStatus = 0;          // 0 no errors, 7 blocked
  uint16_t deviceFlags = 0x1801;     // present 0x1, partial 0x0800 and slumber 0x1000 capable
  uint8_t physicalPort = 0;
  uint8_t linkPower = 0;             // the phy's power condition: 0 active, 1 partial, 2 slumber
  uint32_t slotStatus = 0x00000001;  // enclosure slot status (0x00020000 identify, 0x1 no error)

  // Identity (ATA IDENTIFY, the SCSI translation of it, the diagnostic data).
  std::string model;
  std::string serial;
  std::string firmware;
  uint64_t wwn = 0;                  // world wide name (NAA 5): the identification designator
  uint64_t nativeSectors = 0;        // native capacity
  uint64_t maxSectors = 0;           // current maximum (after SET MAX ADDRESS), at most native
  uint32_t blockLength = 512;
  char modelType = '0';              // configuration identifier: a type digit ...
  std::string configId;              // ... and four characters ("2519")
  uint32_t oemAttributes = 0x00000001;  // what the compatibility check reports as OEM attributes
  // The DevHandle its SAS device page 0 names (-1: its own): a controller
  // that hands back a wrong handle, one pointing back or 0.
  int32_t pageDevHandle = -1;

  ModuleState state = ModuleState::kPresent;
  TargetSense sense;

  // What the module's command set keeps (ATA, SMART, SCT, the vendor
  // actions); the empty images stand for the ones a new module of this
  // identity holds (emu/modules/module_images.h), so a file names only changed ones.
  std::vector<SmartAttribute> smart;       // in entry order, at most 30
  bool smartFails = false;                 // SMART READ DATA and THRESHOLDS are aborted
  int sctBusy = 0;                         // SCT status reads still answering "busy" (-1: all)
  int setMaxRefusals = 0;                  // SET MAX ADDRESS commands still refused (-1: all)
  int downloadRefusals = 0;                // firmware downloads still refused (-1: all)
  int configWriteRefusals = 0;             // configuration image writes still refused (-1: all)
  int configWritesLost = 0;               // image writes still answered as stored, not kept (-1: all)
  std::string userPassword;                // ATA security: set means security enabled
  std::string masterPassword;
  bool securityFrozen = false;
  // ATA advanced power management (IDENTIFY words 83 and 86 bit 3, word 91
  // the level: 0xFE no throttling).
  bool apmSupported = false;
  bool apmEnabled = false;
  uint32_t apmLevel = 0;
  uint32_t eventLogSectors = 2;            // the SSD event log (0xB7)
  std::vector<uint8_t> failingLogs;        // logs whose reads are aborted (either command)
  uint32_t eraseCount = 0;                 // security erases done
  bool dataErased = false;                 // the user data is gone: a security erase since it was written
  uint64_t trimCount = 0;                  // TRIM commands served (extended manufacturing page 221)
  std::vector<uint8_t> firmwareImage;      // the last image DOWNLOAD MICROCODE stored
  std::vector<uint8_t> configImage;        // 3584 bytes once written (0xC008)
  std::vector<uint8_t> formatSettings;     // 2048 bytes once written (0xC60B)
  PanicSlots panicSlots = kDefaultPanicSlots;  // an erase clears a slot
  int panicReadFails = 0;                  // dump reads (0xC601 extract) still aborted (-1: all)
  std::vector<RawBlockModel> rawBlocks;    // blocks set apart from the built-in table
  bool operator==(const ModuleModel&) const = default;
};

// The module answers SCSI as a SAS device (LOG SENSE and no SATA passthrough).
inline bool ModuleIsSas(const ModuleModel& m) {
  return (m.deviceInfo & kDeviceInfoSataDevice) == 0 && (m.deviceInfo & kDeviceInfoSspTarget) != 0;
}

// One entry of a volume's member list, in page order.
struct VolumeMember {
  uint8_t disk = 0;     // the physical-disk number
  uint8_t map = 0;      // the member's position in the volume
  uint8_t raidSet = 0;
  bool operator==(const VolumeMember&) const = default;
};

// Volume states and status flags as RAID volume page 0 reports them.
enum VolumeState : uint8_t {
  kVolumeMissing = 0,
  kVolumeFailed = 1,
  kVolumeInitializing = 2,
  kVolumeOnline = 3,
  kVolumeDegraded = 4,
  kVolumeOptimal = 5,
};
inline constexpr uint32_t kVolumeEnabled = 0x00000001;
inline constexpr uint32_t kVolumeQuiesced = 0x00000002;
inline constexpr uint32_t kVolumeInactive = 0x00000004;
inline constexpr uint32_t kVolumeConsistencyCheck = 0x00080000;
inline constexpr uint32_t kVolumeBackgroundInit = 0x00020000;
inline constexpr uint32_t kVolumeMakeConsistent = 0x00200000;

// Volume types of the creation data and RAID volume page 0.
enum VolumeType : uint8_t { kRaid0 = 0, kRaid1e = 1, kRaid1 = 2, kRaid10 = 5 };

struct VolumeModel {
  uint16_t devHandle = 0;
  uint8_t type = kRaid0;
  uint8_t state = kVolumeOptimal;
  uint32_t statusFlags = kVolumeEnabled;
  uint16_t settings = 0;        // 0: the controller's defaults
  uint8_t hotSparePool = 0;
  uint32_t stripeSize = 128;    // blocks (64 KiB)
  uint64_t maxLba = 0;
  uint8_t resyncRate = 0;
  uint16_t scrubDuration = 0;
  uint8_t inactiveStatus = 0;
  uint64_t blocksRemaining = 0;  // of the background operation the volume indicator reports
  std::string name;              // at most 16 characters
  uint64_t wwid = 0;
  std::vector<uint8_t> guid;     // 24 bytes
  std::vector<VolumeMember> members;
  TargetSense sense;
  int32_t pageDevHandle = -1;    // the DevHandle its RAID volume page 0 names (-1: its own)
  bool operator==(const VolumeModel&) const = default;
};

// Physical-disk states as RAID physical-disk page 0 reports them.
enum DiskState : uint8_t {
  kDiskNotConfigured = 0,
  kDiskNotCompatible = 1,
  kDiskOffline = 2,
  kDiskOnline = 3,
  kDiskHotSpare = 4,
  kDiskDegraded = 5,
  kDiskRebuilding = 6,
  kDiskOptimal = 7,
};
// Offline reasons.
inline constexpr uint8_t kOfflineMissing = 0x01;
inline constexpr uint8_t kOfflineFailed = 0x03;
inline constexpr uint8_t kOfflineRequested = 0x05;
inline constexpr uint8_t kOfflineFailedRequested = 0x06;

// A module the RAID configuration holds: a volume member or a hot spare.
struct PhysDiskModel {
  uint8_t number = 0;
  uint8_t slot = 0;             // the module it is
  uint8_t state = kDiskOptimal;
  uint8_t offlineReason = 0;
  uint8_t incompatibleReason = 0;
  uint32_t statusFlags = 0;
  uint8_t hotSparePool = 0;     // hot spares: the pool they serve
  int16_t pageNumber = -1;      // the disk number its RAID physical disk page 0 names (-1: its own)
  bool operator==(const PhysDiskModel&) const = default;
};

struct RaidModel {
  std::vector<VolumeModel> volumes;
  std::vector<PhysDiskModel> disks;  // members and hot spares, by number

  VolumeModel* FindVolume(uint16_t devHandle);
  const VolumeModel* FindVolume(uint16_t devHandle) const;
  PhysDiskModel* FindDisk(uint8_t number);
  const PhysDiskModel* FindDisk(uint8_t number) const;
  const PhysDiskModel* FindDiskBySlot(uint8_t slot) const;
  // The volume that has this disk as a member, or null (a hot spare).
  const VolumeModel* VolumeOfDisk(uint8_t number) const;
  // The lowest disk number no disk has (255 when all are taken).
  uint8_t FreeDiskNumber() const;
  bool operator==(const RaidModel&) const = default;
};

}  // namespace emu
