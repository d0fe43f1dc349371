// The cards' sysfs tree as a program walks it through the port: the PCI
// slots and their address files, the card's PCI device with its SCSI host,
// the host's SAS ports and phys, and the disks with their bsg addresses and
// sizes; its agreement with /proc/scsi/scsi; and how it follows the state
// (a deleted volume, a module's new size, a phy taken off the bus) while
// what a test or card file put there stays.
#include <cstdio>
#include <map>

#include "emu/card_file/named_cards.h"
#include "module_fixture.h"

using namespace rawtest;

namespace {

class SysfsTree : public ModuleFixture {
 protected:
  std::vector<std::string> List(const std::string& path) {
    std::vector<std::string> names;
    if (!card().ListDirectory(path.c_str(), &names)) return {"(none)"};
    return std::vector<std::string>(names.begin() + 2, names.end());  // without "." and ".."
  }
  std::string Read(const std::string& path) {
    std::unique_ptr<os::File> f = card().OpenFile(path.c_str(), "r");
    if (f == nullptr) return "(none)";
    std::string text;
    char buffer[256];
    for (size_t n; (n = f->Read(buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    return text;
  }
  bool IsLink(const std::string& path) {
    os::PathStatus status;
    return card().Lstat(path.c_str(), &status) && status.isSymlink;
  }
  // The module's disk as a lookup finds it: the card's host under its PCI
  // device, the port that holds the phy, the sd disk whose bsg entry is
  // H:0:P:0, and its size. Empty when there is none.
  std::pair<std::string, std::string> DiskOfPhy(const std::string& pciName, int phy) {
    std::string host;
    for (const std::string& n : List("/sys/bus/pci/devices/" + pciName)) {
      if (n.rfind("host", 0) == 0) host = n;
    }
    if (host.empty()) return {};
    std::string h = host.substr(4), port;
    for (const std::string& n : List("/sys/class/scsi_host/" + host + "/device")) {
      if (n.rfind("port-" + h + ":", 0) != 0) continue;
      for (const std::string& inside : List("/sys/class/scsi_host/" + host + "/device/" + n)) {
        if (inside == "phy-" + h + ":" + std::to_string(phy)) port = n.substr(n.find(':') + 1);
      }
    }
    if (port.empty()) return {};
    for (const std::string& disk : List("/sys/block")) {
      for (const std::string& bsg : List("/sys/block/" + disk + "/device/bsg")) {
        if (bsg == h + ":0:" + port + ":0") return {disk, Read("/sys/block/" + disk + "/size")};
      }
    }
    return {};
  }
  // "H:C:T:0" of each device /proc/scsi/scsi lists, with its vendor.
  std::map<std::string, std::string> ProcScsiDevices() {
    std::map<std::string, std::string> devices;
    std::string text = Read("/proc/scsi/scsi");
    for (size_t at = text.find("Host: scsi"); at != std::string::npos; at = text.find("Host: scsi", at + 1)) {
      unsigned host = 0, channel = 0, id = 0, lun = 0;
      const char* line = text.c_str() + at;
      EXPECT_EQ(std::sscanf(line, "Host: scsi%u Channel: %u Id: %u Lun: %u", &host, &channel, &id, &lun), 4);
      size_t vendor = text.find("Vendor: ", at) + 8;
      devices[std::to_string(host) + ":" + std::to_string(channel) + ":" + std::to_string(id) + ":" +
              std::to_string(lun)] = text.substr(vendor, 8);
    }
    return devices;
  }
  // The same from the disks of /sys/block: their bsg entry and vendor file.
  std::map<std::string, std::string> SysfsDevices() {
    std::map<std::string, std::string> devices;
    for (const std::string& disk : List("/sys/block")) {
      for (const std::string& bsg : List("/sys/block/" + disk + "/device/bsg")) {
        devices[bsg] = Read("/sys/block/" + disk + "/device/vendor").substr(0, 8);
      }
    }
    return devices;
  }
};

TEST_F(SysfsTree, TheDefaultCardsTree) {
  EXPECT_EQ(List("/sys/bus/pci/slots"), (std::vector<std::string>{"1", "5", "9"}));
  EXPECT_EQ(Read("/sys/bus/pci/slots/5/address"), "0000:03:00\n");
  EXPECT_EQ(Read("/sys/bus/pci/slots/1/address"), "0000:01:00\n");  // an empty slot
  EXPECT_EQ(Read("/sys/bus/pci/slots/1/adapter"), "0\n");

  const std::string device = "/sys/bus/pci/devices/0000:03:00.0";
  EXPECT_TRUE(IsLink(device));
  EXPECT_EQ(Read(device + "/device"), "0x007e\n");
  EXPECT_EQ(Read(device + "/subsystem_device"), "0x0500\n");
  std::vector<std::string> inside = List(device);
  EXPECT_NE(std::find(inside.begin(), inside.end(), "host0"), inside.end());
  EXPECT_TRUE(IsLink("/sys/class/scsi_host/host0"));
  EXPECT_EQ(Read("/sys/class/scsi_host/host0/proc_name"), "qmx2sas\n");

  // One port per module on the bus (the members too), holding its phy; all
  // eight phys of the card.
  std::vector<std::string> host = List("/sys/class/scsi_host/host0/device");
  for (int phy = 0; phy < 8; ++phy) {
    EXPECT_NE(std::find(host.begin(), host.end(), "phy-0:" + std::to_string(phy)), host.end()) << phy;
  }
  for (int slot = 4; slot < 8; ++slot) {
    std::string port = "/sys/class/scsi_host/host0/device/port-0:" + std::to_string(slot);
    EXPECT_EQ(List(port), (std::vector<std::string>{"end_device-0:" + std::to_string(slot),
                                                   "phy-0:" + std::to_string(slot)}));
    EXPECT_TRUE(IsLink(port + "/phy-0:" + std::to_string(slot)));
  }
  // The members are the volume's: the host sees one disk, on channel 1.
  EXPECT_EQ(List("/sys/block"), (std::vector<std::string>{"sda"}));
  EXPECT_EQ(List("/sys/block/sda/device/bsg"), (std::vector<std::string>{"0:1:0:0"}));
  EXPECT_EQ(Read("/sys/block/sda/size"), "996081664\n");
  EXPECT_EQ(Read("/sys/block/sda/device/model"), "Logical Volume  \n");
  EXPECT_EQ(DiskOfPhy("0000:03:00.0", 4), (std::pair<std::string, std::string>{}));
}

TEST_F(SysfsTree, ProcScsiAndSysfsListTheSameDevices) {
  struct Case {
    const char* name;
    emu::HostModel (*build)();
    size_t devices;
  } cases[] = {
      {"default", emu::DefaultHost, 1},           {"unconfigured", emu::UnconfiguredHost, 4},
      {"two cards", emu::TwoCardsHost, 2},        {"module missing", emu::ModuleMissingHost, 0},
      {"board type 9", emu::BoardType9Host, 1},   {"unconfigured, three", emu::UnconfiguredThreeHost, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Use(c.build());
    std::map<std::string, std::string> proc = ProcScsiDevices();
    EXPECT_EQ(proc.size(), c.devices);
    EXPECT_EQ(SysfsDevices(), proc);
  }
  Use(emu::TwoCardsHost());
  EXPECT_EQ(List("/sys/block/sdb/device/bsg"), (std::vector<std::string>{"1:1:0:0"}));
  EXPECT_EQ(List("/sys/bus/pci/devices/0000:82:00.0/host1/scsi_host"), (std::vector<std::string>{"host1"}));
  EXPECT_EQ(Read("/sys/bus/pci/slots/6/address"), "0000:82:00\n");
}

TEST_F(SysfsTree, TheTreeFollowsTheVolumeTheSizesAndThePhys) {
  ASSERT_EQ(Send(RaidAction(3, 0x0040)).status(), 0);  // delete the volume
  for (int phy = 4; phy < 8; ++phy) {
    EXPECT_EQ(DiskOfPhy("0000:03:00.0", phy),
              (std::pair<std::string, std::string>{std::string("sd") + char('a' + phy - 4), "250069680\n"}))
        << phy;
  }
  EXPECT_EQ(ProcScsiDevices().size(), 4u);
  EXPECT_EQ(SysfsDevices(), ProcScsiDevices());

  // SET MAX ADDRESS on the module in slot 5: the host sees the new size.
  Run(kSlot5, Fis{0x27, 0, 0, 0x40});
  ASSERT_TRUE(Succeeded(Run(kSlot5, Fis{0x37, 0, 195312500, 0x40, 1})));
  EXPECT_EQ(DiskOfPhy("0000:03:00.0", 5).second, "195312501\n");
  // Sizes are in 512-byte sectors whatever the block length.
  card().Module(7)->blockLength = 4096;
  card().Module(7)->maxSectors = 1000;
  EXPECT_EQ(DiskOfPhy("0000:03:00.0", 7).second, "8000\n");

  // Phy 6 off the bus (SAS IO unit page 1, current copy): its port and
  // disk are gone until the reset brings the phy back.
  std::vector<uint8_t> p1 = Page(15, 1, 0x10);
  p1[22 + 12 * 6] |= 0x08;
  ASSERT_EQ(WritePage(card(), fd_, 15, 1, p1, 2, 0x10), 0);
  EXPECT_EQ(List("/sys/class/scsi_host/host0/device/port-0:6"), (std::vector<std::string>{"(none)"}));
  EXPECT_EQ(DiskOfPhy("0000:03:00.0", 6), (std::pair<std::string, std::string>{}));
  EXPECT_EQ(ProcScsiDevices().count("0:0:6:0"), 0u);
  std::vector<uint8_t> reset(12, 0);
  ASSERT_EQ(card().Ioctl(fd_, kHardReset, reset.data()), 0);
  EXPECT_EQ(DiskOfPhy("0000:03:00.0", 6).second, "250069680\n");
}

TEST_F(SysfsTree, WhatATestOrCardFilePutsThereStays) {
  emu::VirtualFiles& files = card().model().files;
  files.AddFile("/sys/bus/pci/slots/5/address", "0000:13:00\n");
  ASSERT_TRUE(files.Remove("/sys/bus/pci/slots/9"));
  ASSERT_TRUE(files.Remove("/sys/block/sda"));
  ASSERT_EQ(Send(RaidAction(3, 0x0040)).status(), 0);  // the state changes under them
  EXPECT_EQ(Read("/sys/bus/pci/slots/5/address"), "0000:13:00\n");
  EXPECT_EQ(List("/sys/bus/pci/slots"), (std::vector<std::string>{"1", "5"}));
  // The disk named sda is taken out; the others come as they are made.
  EXPECT_EQ(List("/sys/block"), (std::vector<std::string>{"sdb", "sdc", "sdd"}));

  // The card file says so, and reading it back keeps it so.
  std::string text = emu::FormatHostFile(card().model());
  EXPECT_NE(text.find("\n[absent /sys/bus/pci/slots/9]\n"), std::string::npos);
  EXPECT_NE(text.find("\n[absent /sys/block/sda]\n"), std::string::npos);
  EXPECT_NE(text.find("[file /sys/bus/pci/slots/5/address]\ntext = \"0000:13:00\\n\"\n"), std::string::npos);
  EXPECT_EQ(text.find("[file /sys/block"), std::string::npos);  // generated entries are not written
  emu::HostModel back;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(text, &back, &error)) << error;
  EXPECT_EQ(emu::FormatHostFile(back), text);
  Use(std::move(back));
  EXPECT_EQ(List("/sys/block"), (std::vector<std::string>{"sdb", "sdc", "sdd"}));
  EXPECT_EQ(Read("/sys/bus/pci/slots/5/address"), "0000:13:00\n");
}

// A machine changed before it is installed shows its own tree, not the
// one its files were made for.
TEST_F(SysfsTree, AHostChangedBeforeInstallShowsItsOwnState) {
  emu::HostModel host = emu::DefaultHost();
  host.FirstAdapter()->raid = emu::RaidModel{};
  host.FirstAdapter()->scsiHost = 7;
  Use(std::move(host));
  EXPECT_EQ(List("/sys/block"), (std::vector<std::string>{"sda", "sdb", "sdc", "sdd"}));
  EXPECT_EQ(List("/sys/block/sda/device/bsg"), (std::vector<std::string>{"7:0:4:0"}));
  EXPECT_EQ(List("/sys/class/scsi_host"), (std::vector<std::string>{"host7"}));
  EXPECT_NE(Read("/proc/scsi/scsi").find("Host: scsi7 Channel: 00 Id: 04 Lun: 00\n"), std::string::npos);
}

}  // namespace
