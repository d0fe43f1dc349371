// What the emulated machine holds: the driver's control nodes, the adapters
// (cards) that answer on them with their configuration pages, flash images,
// small stores, modules and RAID state (emu/raid/device_model.h), the virtual
// files under /proc and /sys, the clock's start and the faults armed against
// the program. Everything here is written to and
// read back from the card file (host_file.cpp); what a run only counts (open
// descriptors, resets, the request log, waits) lives in the Emulator.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "emu/raid/device_model.h"

namespace emu {

// The control nodes the driver may create, in the order the library searches them.
inline constexpr const char* kNodeQmx2Cx = "/dev/qmx2ctl_cx";
inline constexpr const char* kNodeQmx2 = "/dev/qmx2ctl";
inline constexpr const char* kNodeQvsa = "/dev/qvsactl";
inline constexpr const char* kNodeQmx3 = "/dev/qmx3ctl";
bool IsKnownNodePath(const std::string& path);

// Configuration page types (QMX numbering) and extended page types.
enum PageType : uint8_t {
  kPageIoUnit = 0,
  kPageIoc = 1,
  kPageBios = 2,
  kPageRaidVolume = 8,
  kPageManufacturing = 9,
  kPageRaidPhysDisk = 10,
  kPageExtended = 15,
};
enum ExtPageType : uint8_t {
  kExtSasIoUnit = 0x10,
  kExtSasExpander = 0x11,
  kExtSasDevice = 0x12,
  kExtSasPhy = 0x13,
  kExtLog = 0x14,
  kExtEnclosure = 0x15,
  kExtRaidConfig = 0x16,
  kExtDriverMapping = 0x17,
  kExtSasPort = 0x18,
  kExtManufacturing = 0x1A,  // the controller's extended manufacturing pages (221, 222, 223)
};

// Names one page instance in an adapter's store. `identity` tells instances of
// the same page apart: 0 for the pages a card has once (IO unit, IOC, BIOS,
// manufacturing, SAS IO unit, log), else the DevHandle (volumes, SAS devices,
// expanders, enclosures), the disk number (RAID physical disks), the phy
// number (SAS phys) or the configuration number (RAID configuration). The
// page provider of the type turns a request's page address into an identity.
struct PageKey {
  uint8_t type = 0;
  uint8_t number = 0;
  uint8_t extType = 0;  // 0 for pages other than type 15
  uint32_t identity = 0;
  auto operator<=>(const PageKey&) const = default;
};

// One page with its three copies, each the page exactly as the controller
// returns it, header first (4 bytes; 8 for extended pages). All three copies
// have the same length, a multiple of 4.
struct ConfigPage {
  std::vector<uint8_t> current;
  std::vector<uint8_t> defaults;
  std::vector<uint8_t> nvram;
  bool operator==(const ConfigPage&) const = default;
};

// One flash image (firmware type 1, option-ROM region type 2, others as the
// program writes them). `file` is the card file's reference when the image was
// loaded from a file of its own and is unchanged since; a committed download
// clears it so that the new bytes are saved.
struct FlashImage {
  std::vector<uint8_t> bytes;
  std::string file;
  bool operator==(const FlashImage&) const = default;
};

// One row of the driver's bus/target to DevHandle table.
struct BusTargetEntry {
  uint16_t devHandle = 0;
  uint32_t bus = 0;
  uint32_t target = 0;
  bool operator==(const BusTargetEntry&) const = default;
};

// One controller behind a control node.
struct AdapterModel {
  // The IOC number the driver answers this adapter on (0-254).
  uint32_t ioc = 0;

  // What the IOC information ioctl reports.
  uint32_t adapterType = 4;
  uint32_t port = 0;
  uint16_t pciVendorId = 0x1000;
  uint16_t pciDeviceId = 0x7E;
  uint32_t hardwareRevision = 2;
  uint16_t subsystemVendorId = 0x1000;
  uint16_t subsystemDeviceId = 0x0500;
  uint32_t reservedWord = 0;
  uint32_t firmwareVersion = 0;
  uint32_t biosVersion = 0;
  std::string driverVersion;  // at most 31 characters
  uint8_t scsiId = 0;
  uint32_t pciBus = 0;       // 24 bits
  uint8_t pciDevice = 0;     // 0-31
  uint8_t pciFunction = 0;   // 0-7
  uint32_t pciSegment = 0;

  // What the IOC FACTS and PORT FACTS replies report.
  uint16_t messageVersion = 0x0200;  // below 0x0200 the library refuses firmware transfers
  uint16_t headerVersion = 0;
  uint16_t productId = 0x2100;       // bits 12-15 = 2: SAS
  uint32_t iocCapabilities = 0;      // 0x1000: integrated RAID
  uint8_t numberOfPorts = 1;
  uint16_t requestCredit = 0;
  uint16_t maxTargets = 0;
  uint16_t maxDevHandle = 0;
  uint8_t maxVolumes = 0;

  // The identity the generated default pages and images are made from
  // (DefaultPages, DefaultImages): what the card's manufacturing pages and
  // its flash say about it.
  std::string chipName;       // manufacturing page 0, 16 characters at most
  std::string chipRevision;   // 8 at most
  std::string boardName;      // 16 at most
  std::string boardAssembly;  // 16 at most
  std::string boardTracer;    // 16 at most
  uint64_t sasAddress = 0;    // manufacturing page 5
  uint8_t boardType = 0;      // manufacturing page 10 byte 5
  uint32_t boardFlags = 0;    // manufacturing page 10 u32 at 24
  uint8_t linkWidth = 0;      // IO unit page 7
  uint8_t linkSpeed = 0;
  uint16_t iocTemperature = 0;
  uint32_t packageVersion = 0;   // firmware image +0x1C
  uint32_t nvdataVersion = 0;    // firmware image NVDATA version
  uint16_t uefiRevision = 0;     // option-ROM UEFI image code revision

  // Health thresholds and the power protection: the thresholds and the
  // SuperCap wear table go into manufacturing page 10, the temperature
  // thresholds into IO unit page 8, the GPIOs into IO unit page 3 (and
  // their fitting into manufacturing page 6); the SuperCap's state is what
  // the vendor operations 144-149 of SAS IO unit control answer.
  uint8_t lifeLeftWarning = 0;       // manufacturing page 10 byte 56
  uint8_t lifeLeftError = 0;         // byte 57
  uint8_t superCapIntervals = 0;     // byte 48: table intervals n
  uint8_t superCapMargin = 0;        // byte 49: percent
  uint16_t superCapFloor = 0;        // u16 at 50
  uint16_t superCapStepHours = 0;    // u16 at 54: power-on hours per interval
  std::vector<uint16_t> superCapTable;  // u16[n + 1] from 60: expected health
  uint16_t temperatureWarning = 0;   // IO unit page 8, at the board type's place
  uint16_t temperatureError = 0;
  uint8_t gpioCount = 0;             // IO unit page 3 byte 4
  uint8_t gpioBackupRail = 0;        // GPIO 24 level: 0 the rail is good
  uint8_t gpioAuxPower = 0;          // GPIO 25 level: 1 auxiliary power connected
  uint16_t superCapHealth = 0;       // operation 145
  uint16_t superCapVoltage = 0;      // 146
  uint16_t superCapHours = 0;        // 147: power-on hours
  uint16_t superCapVoltageThreshold = 0;  // 148
  uint16_t superCapExtra = 0;        // 149
  uint32_t superCapBusy = 0;         // asks of 145/146 still answered IOCStatus 2 (busy)
  uint16_t superCapTestStatus = 0;   // IOCStatus of 144 (0 started, 8 a test is running)
  uint16_t psocVersion = 0;          // what SAS IO unit control operation 0x96 answers (0: none)

  // Where the card sits and what the host makes of it: the PCI slot the
  // controller reports (IOC page 1 byte 13) and the one the kernel lists
  // under /sys/bus/pci/slots (0xFF: not known, not in a hot-plug slot).
  uint8_t pciSlot = 0xFF;
  uint8_t sysfsSlot = 0xFF;
  // The extended manufacturing pages: page 223 (versions and module
  // identifiers) is there only when set; page 222 holds the power sensors'
  // readings in milliwatts.
  bool versionPage = false;
  uint32_t power12v = 0;
  uint32_t power3v3 = 0;
  uint32_t powerTotal = 0;

  // The driver's ring of asynchronous events (each entry 200 bytes: event
  // code, sequence number, 192 bytes of data; an unused entry is zero) and
  // the event types enabled in it (four u32 words, bit code mod 32 of word
  // code / 32). The ring's length is what the event query reports.
  std::vector<std::vector<uint8_t>> eventRing;
  uint32_t eventMask[4] = {};

  // The live stores.
  std::map<PageKey, ConfigPage> pages;
  std::map<uint8_t, FlashImage> images;                     // by image type
  std::map<uint8_t, std::vector<uint8_t>> twoWire;          // ISTWI devices by index
  std::map<uint8_t, std::vector<uint8_t>> diagnosticData;   // what the firmware put in each diagnostic buffer type
  std::vector<BusTargetEntry> busTargets;   // rows kept in addition to the generated ones (they win)

  // The card's devices and RAID state; the pages that describe them are
  // generated from these on request.
  std::vector<ModuleModel> modules;  // in slot order
  RaidModel raid;
  uint32_t scsiHost = 0;             // the kernel's SCSI host number of the adapter

  ModuleModel* FindModule(uint8_t slot);
  const ModuleModel* FindModule(uint8_t slot) const;
  ModuleModel* FindModuleByHandle(uint16_t devHandle);
  const ModuleModel* FindModuleByHandle(uint16_t devHandle) const;

  // The page or null.
  ConfigPage* FindPage(uint8_t type, uint8_t number, uint8_t extType = 0, uint32_t identity = 0);
  const ConfigPage* FindPage(uint8_t type, uint8_t number, uint8_t extType = 0,
                             uint32_t identity = 0) const;
  // Stores `bytes` as all three copies of the page (creating it).
  void SetPage(const PageKey& key, const std::vector<uint8_t>& bytes);
  // PCI location word as the driver reports it: bits 0-4 device, 5-7 function, 8-31 bus.
  uint32_t PciLocation() const;
  // Second-generation frames (PCI device IDs 0x90-0x97).
  bool SecondGeneration() const { return pciDeviceId >= 0x90 && pciDeviceId <= 0x97; }
};

struct NodeModel {
  std::string path;
  std::vector<AdapterModel> adapters;
  AdapterModel* FindAdapter(uint32_t ioc);
};

// The virtual file tree served for /proc and /sys: absolute paths without a
// trailing slash. Adding an entry creates its parent directories.
//
// Entries are generated from the machine's state (/proc/scsi/scsi and the
// sysfs tree of the cards, DefaultVirtualFiles) or put there by a test or a
// card file. Generated entries follow the state (the emulator regenerates
// them before each access to the tree); an entry put in its place is kept
// as it is, and a generated entry that was removed stays away (`absent`).
struct VirtualEntry {
  enum class Kind { kFile, kDirectory, kSymlink };
  Kind kind = Kind::kFile;
  std::string data;  // file contents, or the link target (absolute or relative to the link's folder)
  bool generated = false;  // made from the state, not given
  bool operator==(const VirtualEntry&) const = default;
};

struct VirtualFiles {
  std::map<std::string, VirtualEntry> entries;
  // Paths whose generated entries were removed: nothing is generated at or below them.
  std::set<std::string> absent;

  // Each replaces what is at the path with an entry of its own (an
  // existing folder stays as it is).
  void AddFile(const std::string& path, std::string contents);
  void AddDirectory(const std::string& path);
  void AddSymlink(const std::string& path, const std::string& target);
  // Removes the entry and everything below it; false when there was none.
  // When a generated entry goes, the path is marked absent.
  bool Remove(const std::string& path);
  // The path or a folder above it is marked absent.
  bool Suppressed(const std::string& path) const;
  // Brings the generated entries to `fresh` (all generated): changed ones
  // are replaced, ones no longer made go, new ones come unless suppressed;
  // entries of a test or card file are left alone.
  void Regenerate(const VirtualFiles& fresh);
  // The entry itself (a link is not followed) or null.
  const VirtualEntry* Find(const std::string& path) const;
  VirtualEntry* Find(const std::string& path);
  // Follows links (at most 16) to the entry they name; the resolved path in *resolved.
  const VirtualEntry* Resolve(const std::string& path, std::string* resolved = nullptr) const;
  // The names directly inside a directory (links followed), sorted, without "." and "..".
  bool List(const std::string& path, std::vector<std::string>* names) const;
  bool operator==(const VirtualFiles&) const = default;
};

// A fault armed against the program. `times` counts the answers it still
// changes; -1 means until cleared. Filters at -1 match anything.
enum class FaultKind {
  kIoctlError,   // the ioctl fails with `errorNumber` (request, optionally one COMMAND function)
  kAnswer,       // the function answers `iocStatus` and `logInfo` without doing anything
                 // (optionally only for one CONFIG page: pageType/pageNumber/extType)
  kPageMissing,  // the page answers 0x0022 (invalid page)
  kPageCut,      // the page announces and returns only `bytes` bytes
  kReplyCut,     // the controller writes only `bytes` bytes of the function's reply
  kModuleAbort,  // the module aborts the ATA command of a SATA passthrough without running it
  kReadBackDiffers,  // an upload of the firmware read-back (image type 5) answers one byte wrong
};

struct Fault {
  FaultKind kind = FaultKind::kIoctlError;
  uint32_t request = 0;     // kIoctlError
  int function = -1;        // kIoctlError (optional), kAnswer, kReplyCut
  int errorNumber = 0;      // kIoctlError
  uint16_t iocStatus = 0;   // kAnswer; bit 15 is added when logInfo is not 0
  uint32_t logInfo = 0;     // kAnswer
  int pageType = -1;        // kAnswer (optional), kPageMissing, kPageCut
  int pageNumber = -1;
  int extType = -1;
  int action = -1;          // kAnswer with a page: only CONFIG requests of this action (6 read NVRAM, ...)
  int ioc = -1;             // only the adapter of this IOC number (any node)
  uint32_t bytes = 0;       // kPageCut, kReplyCut
  int times = -1;
  // Matching requests that still pass untouched before the fault acts (not
  // for the page faults, which act on every request): with times = 1 the
  // fault fails exactly the (skip + 1)-th matching request.
  int skip = 0;
  bool operator==(const Fault&) const = default;
};

struct HostModel {
  // Time() answers this (seconds since the epoch) plus the virtual time waited.
  int64_t startTime = 1717243200;  // 2024-06-01 12:00:00 UTC
  std::vector<NodeModel> nodes;    // only these nodes exist
  VirtualFiles files;
  std::vector<Fault> faults;

  NodeModel* FindNode(const std::string& path);
  const NodeModel* FindNode(const std::string& path) const;
  AdapterModel* FindAdapter(const std::string& path, uint32_t ioc);
  // The first adapter of the first node, or null (most tests use one card).
  AdapterModel* FirstAdapter();
};

// The default machine: one healthy Corvexium on "/dev/qmx2ctl_cx", IOC 0.
HostModel DefaultHost();
// One healthy Corvexium adapter: its identity, default pages and images.
AdapterModel DefaultCorvexium(uint32_t ioc = 0);
// The pages and images a card with this identity has when new.
std::map<PageKey, ConfigPage> DefaultPages(const AdapterModel& adapter);
std::map<uint8_t, FlashImage> DefaultImages(const AdapterModel& adapter);
// The virtual files the machine shows when nothing was changed, all
// generated: /proc/scsi/scsi listing the host's SCSI targets, and the sysfs
// tree of the cards (emu/host/sysfs_tree.h).
VirtualFiles DefaultVirtualFiles(const HostModel& host);
// /proc/scsi/scsi as the kernel would write it for the host's devices.
std::string ProcScsiText(const HostModel& host);

// The card file (format documented in emu/README.md). ParseHostFile fills
// *out only on success; *error names the line and the problem. Image files
// named by "file =" are read relative to `baseDirectory` when not absolute.
bool ParseHostFile(const std::string& text, HostModel* out, std::string* error);
bool ParseHostFile(const std::string& text, const std::string& baseDirectory, HostModel* out,
                   std::string* error);
std::string FormatHostFile(const HostModel& model);

}  // namespace emu
