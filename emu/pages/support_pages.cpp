// Pages a real card carries that only the configuration dump reads: the
// PCI identity (IOC page 0), the IO unit's unique value (IO unit page 0),
// the driver's persistent mapping settings (IOC page 8) and one mapping
// entry per enclosure slot, the BIOS settings (BIOS pages 1 to 4), the
// controller's log page, and the SAS ports (one per module on the bus, a
// narrow port on the module's phy). The card has no Ethernet, no expander
// and none of the obsolete pages.
#include "emu/host/le_bytes.h"
#include "emu/pages/default_pages.h"
#include "emu/pages/generated_pages.h"
#include "emu/pages/page_builder.h"
#include "emu/raid/device_rules.h"

namespace emu {
namespace {

namespace ioc0 {
constexpr uint8_t kVersion = 2;
constexpr uint32_t kBytes = 28;
constexpr size_t kVendorId = 8;            // u16
constexpr size_t kDeviceId = 10;           // u16
constexpr size_t kRevision = 12;           // u8
constexpr size_t kSubsystemVendorId = 20;  // u16
constexpr size_t kSubsystemId = 22;        // u16
}  // namespace ioc0

namespace ioc8 {
constexpr uint8_t kVersion = 0;
constexpr uint32_t kBytes = 24;
constexpr size_t kDevicesPerEnclosure = 4;  // u8
constexpr size_t kMaxPersistentEntries = 8;  // u16
constexpr size_t kFlags = 12;               // u16: 0x0001 persistent mapping by enclosure and slot
}  // namespace ioc8

namespace io_unit0 {
constexpr uint8_t kVersion = 2;
constexpr uint32_t kBytes = 12;
constexpr size_t kUniqueValue = 4;  // u64
}  // namespace io_unit0

namespace bios {
constexpr uint8_t kVersion = 1;
constexpr uint32_t kBytes[5] = {0, 48, 40, 32, 20};
constexpr size_t kSettings = 4;  // u32 of pages 1 and 2
}  // namespace bios

namespace log0 {
constexpr uint8_t kVersion = 1;
constexpr uint32_t kBytes = 32;
constexpr size_t kEntries = 8;  // u16: entries the log holds
}  // namespace log0

namespace port0 {
constexpr uint8_t kVersion = 1;
constexpr uint32_t kBytes = 24;
constexpr size_t kPortNumber = 8;   // u8
constexpr size_t kPhyCount = 9;     // u8
constexpr size_t kFirstPhy = 10;    // u8
constexpr size_t kSasAddress = 12;  // u64: what is attached
constexpr size_t kDevHandle = 20;   // u16
}  // namespace port0

namespace mapping0 {
constexpr uint8_t kVersion = 1;
constexpr uint32_t kBytes = 28;
constexpr size_t kPhysicalIdentifier = 8;  // u64: the SAS address of the device mapped
constexpr size_t kDevHandle = 16;          // u16
constexpr size_t kSlot = 18;               // u16
constexpr size_t kEnclosureHandle = 20;    // u16
}  // namespace mapping0

constexpr uint16_t kMappingEntries = 8;  // one per enclosure slot
constexpr uint16_t kMappedEnclosure = 1;

}  // namespace

std::vector<uint8_t> IocPage0(const AdapterModel& a) {
  std::vector<uint8_t> page = NewPage(kPageIoc, 0, ioc0::kVersion, ioc0::kBytes);
  le::Put16(&page, ioc0::kVendorId, static_cast<uint16_t>(a.pciVendorId));
  le::Put16(&page, ioc0::kDeviceId, static_cast<uint16_t>(a.pciDeviceId));
  le::Put8(&page, ioc0::kRevision, static_cast<uint8_t>(a.hardwareRevision));
  le::Put16(&page, ioc0::kSubsystemVendorId, static_cast<uint16_t>(a.subsystemVendorId));
  le::Put16(&page, ioc0::kSubsystemId, static_cast<uint16_t>(a.subsystemDeviceId));
  return page;
}

std::vector<uint8_t> IocPage8(const AdapterModel&) {
  std::vector<uint8_t> page = NewPage(kPageIoc, 8, ioc8::kVersion, ioc8::kBytes);
  le::Put8(&page, ioc8::kDevicesPerEnclosure, kMappingEntries);
  le::Put16(&page, ioc8::kMaxPersistentEntries, kMappingEntries);
  le::Put16(&page, ioc8::kFlags, 0x0001);
  return page;
}

std::vector<uint8_t> IoUnitUniquePage0(const AdapterModel& a) {
  std::vector<uint8_t> page = NewPage(kPageIoUnit, 0, io_unit0::kVersion, io_unit0::kBytes);
  le::Put64(&page, io_unit0::kUniqueValue, a.sasAddress ^ 0x00000000FFFF0000ull);
  return page;
}

std::vector<uint8_t> BiosPage(const AdapterModel&, uint8_t number) {
  std::vector<uint8_t> page = NewPage(kPageBios, number, bios::kVersion, bios::kBytes[number]);
  if (number <= 2) le::Put32(&page, bios::kSettings, number == 1 ? 0x00000030 : 0x00000001);
  return page;
}

std::vector<uint8_t> ControllerLogPage0(const AdapterModel&) {
  std::vector<uint8_t> page = NewExtPage(kExtLog, 0, log0::kVersion, log0::kBytes);
  le::Put16(&page, log0::kEntries, 0);
  return page;
}

void GenerateSasPortPages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  if (number != 0) return;
  for (const ModuleModel& m : adapter.modules) {
    if (!ModuleAttached(adapter, m)) continue;
    std::vector<uint8_t> page = NewExtPage(kExtSasPort, 0, port0::kVersion, port0::kBytes);
    le::Put8(&page, port0::kPortNumber, m.slot);
    le::Put8(&page, port0::kPhyCount, 1);
    le::Put8(&page, port0::kFirstPhy, m.slot);
    le::Put64(&page, port0::kSasAddress, m.sasAddress);
    le::Put16(&page, port0::kDevHandle, m.devHandle);
    (*pages)[m.slot] = std::move(page);
  }
}

void GenerateDriverMappingPages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  if (number != 0) return;
  for (uint16_t entry = 0; entry < kMappingEntries; ++entry) {
    std::vector<uint8_t> page = NewExtPage(kExtDriverMapping, 0, mapping0::kVersion, mapping0::kBytes);
    const ModuleModel* m = nullptr;
    for (const ModuleModel& candidate : adapter.modules) {
      if (candidate.slot == entry && candidate.state != ModuleState::kMissing) m = &candidate;
    }
    if (m != nullptr) {
      le::Put64(&page, mapping0::kPhysicalIdentifier, m->sasAddress);
      le::Put16(&page, mapping0::kDevHandle, m->devHandle);
      le::Put16(&page, mapping0::kSlot, entry);
      le::Put16(&page, mapping0::kEnclosureHandle, kMappedEnclosure);
    }
    (*pages)[entry] = std::move(page);
  }
}

}  // namespace emu
