// The healthy Corvexium every test starts from: one card on "/dev/qmx2ctl_cx",
// its identity as the driver and the controller report it, and the pages it
// has when new. Names and numbers belong together: the chip is a TRIXEL4400
// (PCI device 0x7E), the board a Corvexium of board type 7 (subsystem 0x0500:
// modules in slots 4 to 7), firmware 14.00.05.00 in package 14.02.05.00;
// its four modules are joined in one RAID0 volume (device_rules.cpp).
#include "emu/pages/default_pages.h"
#include "emu/raid/device_rules.h"
#include "emu/host/host_model.h"
#include "emu/host/le_bytes.h"
#include "emu/pages/page_builder.h"
#include "emu/pages/page_layouts.h"
#include "emu/controller/qmx_frames.h"
#include "emu/host/sysfs_tree.h"

namespace emu {
namespace {

using namespace pages;

std::vector<uint8_t> IoUnitPage1(const AdapterModel&) {
  std::vector<uint8_t> page = NewPage(kPageIoUnit, 1, io_unit1::kVersion, io_unit1::kBytes);
  le::Put32(&page, io_unit1::kFlags, 0);  // integrated RAID enabled
  return page;
}

std::vector<uint8_t> IoUnitPage7(const AdapterModel& a) {
  std::vector<uint8_t> page = NewPage(kPageIoUnit, 7, io_unit7::kVersion, io_unit7::kBytes);
  le::Put8(&page, io_unit7::kPcieWidth, a.linkWidth);
  le::Put8(&page, io_unit7::kPcieSpeed, a.linkSpeed);
  le::Put32(&page, io_unit7::kProcessorState, 0);
  le::Put32(&page, io_unit7::kPowerManagementCapabilities, 0x00000003);
  le::Put16(&page, io_unit7::kIocTemperature, a.iocTemperature);
  le::Put8(&page, io_unit7::kTemperatureUnits, 2);
  le::Put8(&page, io_unit7::kIocSpeed, 1);
  le::Put16(&page, io_unit7::kBoardTemperature, static_cast<uint16_t>(a.iocTemperature - 12));
  le::Put8(&page, io_unit7::kBoardTemperatureUnits, 2);
  return page;
}

// IOC page 1: interrupt coalescing (off) and where the card sits on PCI.
std::vector<uint8_t> IocPage1(const AdapterModel& a) {
  std::vector<uint8_t> page = NewPage(kPageIoc, 1, ioc1::kVersion, ioc1::kBytes);
  le::Put32(&page, ioc1::kFlags, 0);
  le::Put32(&page, ioc1::kCoalescingTimeout, 0);
  le::Put8(&page, ioc1::kCoalescingDepth, 0);
  le::Put8(&page, ioc1::kPciSlot, a.pciSlot);
  le::Put8(&page, ioc1::kPciBus, static_cast<uint8_t>(a.pciBus));
  le::Put8(&page, ioc1::kPciDomainSegment, static_cast<uint8_t>(a.pciSegment));
  return page;
}

// The controller's defaults know the chip; the board's name, assembly and
// tracer are programmed at manufacturing into the NVRAM copy.
std::vector<uint8_t> ManufacturingPage0Defaults(const AdapterModel& a) {
  std::vector<uint8_t> page = NewPage(kPageManufacturing, 0, mfg0::kVersion, mfg0::kBytes);
  le::PutText(&page, mfg0::kChipName, mfg0::kChipNameBytes, a.chipName);
  le::PutText(&page, mfg0::kChipRevision, mfg0::kChipRevisionBytes, a.chipRevision);
  return page;
}

std::vector<uint8_t> ManufacturingPage0(const AdapterModel& a) {
  std::vector<uint8_t> page = ManufacturingPage0Defaults(a);
  le::PutText(&page, mfg0::kBoardName, mfg0::kBoardNameBytes, a.boardName);
  le::PutText(&page, mfg0::kBoardAssembly, mfg0::kBoardAssemblyBytes, a.boardAssembly);
  le::PutText(&page, mfg0::kBoardTracer, mfg0::kBoardTracerBytes, a.boardTracer);
  return page;
}

// Manufacturing page 1 as programmed: the product name, then the read-only
// keywords (the board's part and serial number, assembly and tracer, and the
// checksum keyword, which makes the bytes from the area's start through it
// sum to 0), then the read-write keywords (a blank asset tag and the free
// area left), then the end tag. Its defaults hold no VPD.
std::vector<uint8_t> ManufacturingPage1(const AdapterModel& a) {
  std::vector<uint8_t> vpd;
  auto large = [&](uint8_t tag, const std::vector<uint8_t>& body) {
    vpd.push_back(tag);
    vpd.push_back(static_cast<uint8_t>(body.size()));
    vpd.push_back(static_cast<uint8_t>(body.size() >> 8));
    vpd.insert(vpd.end(), body.begin(), body.end());
  };
  auto keyword = [](std::vector<uint8_t>* body, const char* name, const std::string& value) {
    body->push_back(static_cast<uint8_t>(name[0]));
    body->push_back(static_cast<uint8_t>(name[1]));
    body->push_back(static_cast<uint8_t>(value.size()));
    body->insert(body->end(), value.begin(), value.end());
  };
  std::string product = "Ulvane " + a.boardName;
  large(mfg1::kTagIdentifier, std::vector<uint8_t>(product.begin(), product.end()));
  std::vector<uint8_t> keywords;
  keyword(&keywords, "PN", a.boardAssembly);
  keyword(&keywords, "SN", a.boardTracer);
  keyword(&keywords, "RV", std::string(1, '\0'));
  large(mfg1::kTagReadOnly, keywords);
  uint8_t sum = 0;
  for (uint8_t byte : vpd) sum = static_cast<uint8_t>(sum + byte);
  vpd.back() = static_cast<uint8_t>(0x100 - sum);
  std::vector<uint8_t> writable;
  keyword(&writable, "YA", std::string(mfg1::kAssetTagBytes, ' '));
  keyword(&writable, "RW", std::string(mfg1::kRemainingBytes, '\0'));
  large(mfg1::kTagReadWrite, writable);
  vpd.push_back(mfg1::kTagEnd);
  std::vector<uint8_t> page = NewPage(kPageManufacturing, 1, mfg1::kVersion, mfg1::kBytes);
  for (size_t i = 0; i < vpd.size() && i < mfg1::kVpdBytes; ++i) page[mfg1::kVpd + i] = vpd[i];
  return page;
}

std::vector<uint8_t> ManufacturingPage5(const AdapterModel& a) {
  std::vector<uint8_t> page = NewPage(kPageManufacturing, 5, mfg5::kVersion, mfg5::kBytes);
  le::Put8(&page, mfg5::kNumPhys, static_cast<uint8_t>(mfg5::kPhys));
  for (uint32_t phy = 0; phy < mfg5::kPhys; ++phy) {
    uint32_t entry = mfg5::kPhyEntry + phy * mfg5::kPhyEntryBytes;
    le::Put64(&page, entry + mfg5::kEntrySasAddress, a.sasAddress);
    le::Put64(&page, entry + mfg5::kEntryDeviceName, 0);
  }
  return page;
}

std::vector<uint8_t> ManufacturingPage10(const AdapterModel& a) {
  std::vector<uint8_t> page = NewPage(kPageManufacturing, 10, mfg10::kVersion, mfg10::kBytes);
  le::Put8(&page, mfg10::kSignature, mfg10::kSignatureValid);
  le::Put8(&page, mfg10::kBoardType, a.boardType);
  le::Put32(&page, mfg10::kFeatureFlags, 0);
  le::Put32(&page, mfg10::kBoardFlags, a.boardFlags);
  le::Put8(&page, mfg10::kScapIntervals, a.superCapIntervals);
  le::Put8(&page, mfg10::kScapMargin, a.superCapMargin);
  le::Put16(&page, mfg10::kScapFloor, a.superCapFloor);
  le::Put16(&page, mfg10::kScapStepHours, a.superCapStepHours);
  le::Put8(&page, mfg10::kSlotPowerFloor, mfg10::kDefaultSlotPowerFloor);
  le::Put8(&page, mfg10::kSlotPower, mfg10::kDefaultSlotPower);
  le::Put8(&page, mfg10::kLifeWarning, a.lifeLeftWarning);
  le::Put8(&page, mfg10::kLifeError, a.lifeLeftError);
  for (uint32_t i = 0; i < a.superCapTable.size() && i < mfg10::kScapTableMaxEntries; ++i) {
    le::Put16(&page, mfg10::kScapTable + 2 * i, a.superCapTable[i]);
  }
  return page;
}

}  // namespace

std::map<PageKey, ConfigPage> DefaultPages(const AdapterModel& adapter) {
  std::map<PageKey, ConfigPage> pages;
  auto add = [&](uint8_t type, uint8_t number, std::vector<uint8_t> bytes) {
    pages[PageKey{type, number, 0, 0}] = ConfigPage{bytes, bytes, bytes};
  };
  add(kPageIoUnit, 1, IoUnitPage1(adapter));
  add(kPageIoUnit, 3, IoUnitPage3(adapter));
  add(kPageIoUnit, 7, IoUnitPage7(adapter));
  add(kPageIoUnit, 8, IoUnitPage8(adapter));
  add(kPageManufacturing, 6, ManufacturingPage6(adapter));
  auto addProgrammed = [&](uint8_t number, std::vector<uint8_t> defaults, std::vector<uint8_t> programmed) {
    pages[PageKey{kPageManufacturing, number, 0, 0}] = ConfigPage{programmed, defaults, programmed};
  };
  addProgrammed(0, ManufacturingPage0Defaults(adapter), ManufacturingPage0(adapter));
  addProgrammed(1, NewPage(kPageManufacturing, 1, mfg1::kVersion, mfg1::kBytes), ManufacturingPage1(adapter));
  add(kPageManufacturing, 5, ManufacturingPage5(adapter));
  add(kPageManufacturing, 10, ManufacturingPage10(adapter));
  add(kPageIoc, 1, IocPage1(adapter));
  add(kPageIoc, 6, IocPage6(adapter));
  add(kPageManufacturing, 4, ManufacturingPage4(adapter));
  add(kPageIoc, 0, IocPage0(adapter));
  add(kPageIoc, 8, IocPage8(adapter));
  add(kPageIoUnit, 0, IoUnitUniquePage0(adapter));
  for (uint8_t number = 1; number <= 4; ++number) add(kPageBios, number, BiosPage(adapter, number));
  {
    std::vector<uint8_t> log = ControllerLogPage0(adapter);
    pages[PageKey{kPageExtended, 0, kExtLog, 0}] = ConfigPage{log, log, log};
  }
  auto addSas = [&](uint8_t number, std::vector<uint8_t> bytes) {
    pages[PageKey{kPageExtended, number, kExtSasIoUnit, 0}] = ConfigPage{bytes, bytes, bytes};
  };
  addSas(1, SasIoUnitPage1(adapter));
  addSas(4, SasIoUnitPage4(adapter));
  addSas(5, SasIoUnitPage5(adapter));
  return pages;
}

AdapterModel DefaultCorvexium(uint32_t ioc) {
  AdapterModel a;
  a.ioc = ioc;
  a.adapterType = 4;
  a.port = 0;
  a.pciVendorId = 0x1000;
  a.pciDeviceId = 0x7E;
  a.hardwareRevision = 2;
  a.subsystemVendorId = 0x1000;
  a.subsystemDeviceId = 0x0500;
  a.reservedWord = 0;
  a.firmwareVersion = 0x0E000500;  // 14.00.05.00
  a.biosVersion = 0x08120000;      // legacy option ROM code revision 0x0812
  a.driverVersion = "qmx2sas-20.100.00.00";
  a.scsiId = 0;
  a.pciBus = 3;
  a.pciDevice = 0;
  a.pciFunction = 0;
  a.pciSegment = 0;

  a.messageVersion = 0x0200;
  a.headerVersion = 0x2300;
  a.productId = 0x2214;          // SAS
  a.iocCapabilities = 0x00001A5C;  // integrated RAID among others
  a.numberOfPorts = 1;
  a.requestCredit = 1000;
  a.maxTargets = 32;
  a.maxDevHandle = 64;
  a.maxVolumes = 1;

  a.chipName = "TRIXEL4400";
  a.chipRevision = "B1";
  a.boardName = "Corvexium";
  a.boardAssembly = "CVX8-PCIE-A03";
  a.boardTracer = "ZK8C4A0173";
  a.sasAddress = 0x500605B00C8A4D10ull;
  a.boardType = 7;
  a.boardFlags = 0x22;  // volume mode 2 (configured), DLC supported, DLC off
  a.linkWidth = 8;
  a.linkSpeed = 2;  // 8.0 Gbps
  a.iocTemperature = 48;
  a.packageVersion = 0x0E020500;  // 14.02.05.00, OEM identifier 2
  a.nvdataVersion = 0x0E100003;
  a.uefiRevision = 0x2105;

  // Health thresholds at their usual values; the SuperCap's expected health
  // falls from 100 % new to 70 % after ten half-year steps, and below 40 %
  // it has failed. This one is a year old and well: 96 % health (94 %
  // expected), 5.4 V against a 4.6 V minimum. The backup rail is good, the
  // auxiliary power connected.
  a.lifeLeftWarning = 20;
  a.lifeLeftError = 10;
  a.superCapIntervals = 10;
  a.superCapMargin = 10;
  a.superCapFloor = 40;
  a.superCapStepHours = 4380;
  for (uint16_t i = 0; i <= 10; ++i) a.superCapTable.push_back(static_cast<uint16_t>(100 - 3 * i));
  a.temperatureWarning = 70;
  a.temperatureError = 80;
  a.gpioCount = 26;
  a.gpioBackupRail = 0;
  a.gpioAuxPower = 1;
  a.superCapHealth = 96;
  a.superCapVoltage = 5400;
  a.superCapHours = 8760;
  a.superCapVoltageThreshold = 4600;
  a.superCapExtra = 2200;  // capacitance, millifarad
  a.superCapBusy = 0;
  a.superCapTestStatus = 0;
  a.psocVersion = 0x0307;

  // In PCI slot 5 (as the controller and the kernel both say), SCSI host 0
  // of the kernel; the versions page there, the power sensors reading
  // 12.35 W and 2.85 W.
  a.pciSlot = 5;
  a.sysfsSlot = 5;
  a.scsiHost = 0;
  a.versionPage = true;
  a.power12v = 12350;
  a.power3v3 = 2850;
  a.powerTotal = 15200;

  a.pages = DefaultPages(a);
  a.images = DefaultImages(a);
  a.modules = DefaultModules(a);
  a.raid = DefaultRaid(a);
  return a;
}

VirtualFiles DefaultVirtualFiles(const HostModel& host) {
  VirtualFiles files;
  files.AddFile("/proc/scsi/scsi", ProcScsiText(host));
  AddSysfsTree(host, &files);
  for (auto& [path, entry] : files.entries) entry.generated = true;
  return files;
}

HostModel DefaultHost() {
  HostModel host;
  NodeModel node;
  node.path = kNodeQmx2Cx;
  node.adapters.push_back(DefaultCorvexium(0));
  host.nodes.push_back(std::move(node));
  host.files = DefaultVirtualFiles(host);
  return host;
}

}  // namespace emu
