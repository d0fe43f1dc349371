// The cards' sysfs tree (layout in emu/host/sysfs_tree.h): what the kernel
// shows of the PCI functions, the SCSI hosts with their SAS phys and ports,
// and the disks with their bsg addresses and sizes.
#include "emu/host/sysfs_tree.h"

#include <cstdio>

#include "emu/pages/default_pages.h"
#include "emu/raid/device_rules.h"
#include "emu/host/host_disks.h"
#include "emu/modules/scsi_identity.h"

namespace emu {
namespace {

constexpr const char* kSlots = "/sys/bus/pci/slots";
constexpr const char* kPciDevices = "/sys/bus/pci/devices";
constexpr const char* kScsiHosts = "/sys/class/scsi_host";
constexpr const char* kBlock = "/sys/block";
constexpr const char* kDriverName = "qmx2sas";

// Hot-plug slots of the machine that hold no card: a number and the bus
// behind the slot's bridge (left out when a card uses either).
struct EmptySlot {
  uint8_t number;
  uint32_t bus;
};
constexpr EmptySlot kEmptySlots[] = {{1, 0x01}, {9, 0x84}};

std::string Format(const char* format, unsigned long long value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Hex4(uint32_t value) { return Format("0x%04llx\n", value); }
std::string Line(uint64_t value) { return Format("%llu\n", value); }
std::string SasAddressLine(uint64_t address) { return Format("0x%016llx\n", address); }

// A path below /sys as a link target from a folder `depth` levels below /sys.
std::string FromDepth(int depth, const std::string& sysPath) {
  std::string up;
  for (int i = 0; i < depth; ++i) up += "../";
  return up + sysPath.substr(5);  // without "/sys/"
}

std::string Address(uint32_t host, uint32_t channel, uint32_t id) {
  return std::to_string(host) + ":" + std::to_string(channel) + ":" + std::to_string(id) + ":0";
}

void AddScsiDevice(const HostDisk& d, const std::string& folder, VirtualFiles* files) {
  const std::string address = Address(d.host, d.channel, d.id);
  const std::string device = folder + "/" + address;
  std::string vendor = d.module != nullptr ? ModuleVendor(*d.module) : kVolumeVendor;
  std::string model = d.module != nullptr ? ModuleProduct(*d.module) : kVolumeProduct;
  std::string revision = d.module != nullptr ? ModuleRevision(*d.module) : kVolumeRevision;
  uint8_t version = d.module != nullptr ? kModuleScsiVersion : kVolumeScsiVersion;
  files->AddFile(device + "/vendor", Padded(vendor, 8) + "\n");
  files->AddFile(device + "/model", Padded(model, 16) + "\n");
  files->AddFile(device + "/rev", Padded(revision, 4) + "\n");
  files->AddFile(device + "/type", "0\n");
  files->AddFile(device + "/scsi_level", Line(version + 1u));
  files->AddFile(device + "/state", "running\n");
  files->AddDirectory(device + "/bsg/" + address);
  const std::string block = device + "/block/" + d.name;
  files->AddFile(block + "/size", Line(d.sectors));
  files->AddFile(block + "/ro", "0\n");
  files->AddFile(block + "/removable", "0\n");
  files->AddSymlink(block + "/device", "../../../" + address);
  files->AddSymlink(std::string(kBlock) + "/" + d.name, FromDepth(1, block));
}

void AddAdapter(const AdapterModel& a, const std::vector<HostDisk>& disks, VirtualFiles* files) {
  const std::string d = PciDevicePath(a);
  files->AddFile(d + "/vendor", Hex4(a.pciVendorId));
  files->AddFile(d + "/device", Hex4(a.pciDeviceId));
  files->AddFile(d + "/subsystem_vendor", Hex4(a.subsystemVendorId));
  files->AddFile(d + "/subsystem_device", Hex4(a.subsystemDeviceId));
  files->AddFile(d + "/class", "0x010700\n");  // SAS controller
  files->AddSymlink(std::string(kPciDevices) + "/" + PciName(a), FromDepth(3, d));

  const std::string h = std::to_string(a.scsiHost);
  const std::string hostName = "host" + h;
  const std::string host = d + "/" + hostName;
  const std::string scsiHost = host + "/scsi_host/" + hostName;
  files->AddFile(scsiHost + "/proc_name", std::string(kDriverName) + "\n");
  files->AddFile(scsiHost + "/unique_id", Line(a.scsiHost + 1ull));
  files->AddSymlink(scsiHost + "/device", "../../../" + hostName);
  files->AddSymlink(std::string(kScsiHosts) + "/" + hostName, FromDepth(2, scsiHost));

  for (uint32_t phy = 0; phy < kCardPhys; ++phy) {
    const std::string name = "phy-" + h + ":" + std::to_string(phy);
    files->AddFile(host + "/" + name + "/sas_phy/" + name + "/phy_identifier", Line(phy));
    files->AddFile(host + "/" + name + "/sas_phy/" + name + "/sas_address", SasAddressLine(a.sasAddress));
  }
  for (const ModuleModel& m : a.modules) {
    if (!ModuleAttached(a, m)) continue;
    const std::string p = h + ":" + std::to_string(m.slot);
    const std::string port = host + "/port-" + p;
    files->AddSymlink(port + "/phy-" + p, "../phy-" + p);
    const std::string end = port + "/end_device-" + p;
    const std::string attributes = end + "/sas_device/end_device-" + p;
    files->AddFile(attributes + "/sas_address", SasAddressLine(m.sasAddress));
    files->AddFile(attributes + "/bay_identifier", Line(m.slot));
    files->AddFile(attributes + "/enclosure_identifier", SasAddressLine(a.sasAddress));
  }
  for (const HostDisk& disk : disks) {
    if (disk.adapter != &a) continue;
    std::string target = "target" + h + ":" + std::to_string(disk.channel) + ":" + std::to_string(disk.id);
    std::string folder = host + "/" + target;
    if (disk.module != nullptr) {
      const std::string p = h + ":" + std::to_string(disk.module->slot);
      folder = host + "/port-" + p + "/end_device-" + p + "/" + target;
    }
    AddScsiDevice(disk, folder, files);
  }
}

void AddSlot(const std::string& number, const std::string& address, bool occupied, VirtualFiles* files) {
  const std::string folder = std::string(kSlots) + "/" + number;
  files->AddFile(folder + "/address", address + "\n");
  files->AddFile(folder + "/adapter", occupied ? "1\n" : "0\n");
  files->AddFile(folder + "/power", occupied ? "1\n" : "0\n");
}

}  // namespace

std::string PciSlotAddress(const AdapterModel& a) {
  char text[48];
  std::snprintf(text, sizeof text, "%04x:%02x:%02x", a.pciSegment, a.pciBus, a.pciDevice & 0x1Fu);
  return text;
}

std::string PciName(const AdapterModel& a) {
  return PciSlotAddress(a) + "." + std::to_string(a.pciFunction & 7u);
}

std::string PciDevicePath(const AdapterModel& a) {
  char root[48];
  std::snprintf(root, sizeof root, "/sys/devices/pci%04x:00", a.pciSegment);
  if (a.pciBus == 0) return std::string(root) + "/" + PciName(a);
  // Behind a root port of the root bus: one port for each bus 1-31, then again.
  char port[32];
  std::snprintf(port, sizeof port, "%04x:00:%02x.0", a.pciSegment, (a.pciBus - 1) % 31 + 1);
  return std::string(root) + "/" + port + "/" + PciName(a);
}

void AddSysfsTree(const HostModel& host, VirtualFiles* files) {
  for (const char* folder : {kSlots, kPciDevices, kScsiHosts, kBlock}) files->AddDirectory(folder);
  std::vector<HostDisk> disks = HostDisks(host);
  for (const NodeModel& node : host.nodes) {
    for (const AdapterModel& a : node.adapters) {
      AddAdapter(a, disks, files);
      if (a.sysfsSlot != 0xFF) AddSlot(std::to_string(a.sysfsSlot), PciSlotAddress(a), true, files);
    }
  }
  for (const EmptySlot& slot : kEmptySlots) {
    bool taken = false;
    for (const NodeModel& node : host.nodes) {
      for (const AdapterModel& a : node.adapters) {
        taken |= a.sysfsSlot == slot.number || (a.pciSegment == 0 && a.pciBus == slot.bus);
      }
    }
    char address[16];
    std::snprintf(address, sizeof address, "0000:%02x:00", slot.bus);
    if (!taken) AddSlot(std::to_string(slot.number), address, false, files);
  }
}

}  // namespace emu
