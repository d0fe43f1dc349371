// The sysfs tree of the cards, laid out as the Linux kernel lays it out for
// a SAS controller whose driver registers a SCSI host with the SAS
// transport class, generated from the machine's state (DefaultVirtualFiles):
//
//   /sys/bus/pci/slots/S/address          "dddd:bb:dd\n" of the card in slot S
//                                         (sysfs-slot), and two empty slots
//   /sys/bus/pci/devices/dddd:bb:dd.f  -> the card's device folder D
//   D = /sys/devices/pcidddd:00/dddd:00:RR.0/dddd:bb:dd.f   (RR: a root port of its own)
//   D/hostH                               H = scsi-host
//   D/hostH/scsi_host/hostH/device     -> ../../../hostH
//   /sys/class/scsi_host/hostH         -> D/hostH/scsi_host/hostH
//   D/hostH/phy-H:N                       the card's eight phys
//   D/hostH/port-H:P/phy-H:P           -> ../phy-H:P   one port per module on the bus, P = its phy
//   D/hostH/port-H:P/end_device-H:P       the module (RAID members too)
//   .../end_device-H:P/targetH:0:T/H:0:T:0  a bare module's SCSI device (T its target id)
//   D/hostH/targetH:1:T/H:1:T:0           a volume's (no port: it is the controller's)
//   <device>/bsg/H:C:T:0, <device>/block/sdX/size (512-byte sectors), .../device -> ../../../H:C:T:0
//   /sys/block/sdX                     -> <device>/block/sdX
//
// The disks are those of emu/host/host_disks.h, in its order.
#pragma once

#include <string>

#include "emu/host/host_model.h"

namespace emu {

// Adds the tree of every adapter of the host (entries not marked generated).
void AddSysfsTree(const HostModel& host, VirtualFiles* files);

// The card's PCI function as sysfs names it ("0000:03:00.0"), its slot
// address ("0000:03:00") and its device folder (D above).
std::string PciName(const AdapterModel& adapter);
std::string PciSlotAddress(const AdapterModel& adapter);
std::string PciDevicePath(const AdapterModel& adapter);

}  // namespace emu
