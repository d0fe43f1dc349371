// The sysfs lookups on trees laid out as the Linux kernel lays them out:
// PCI slots with their address files, a card's PCI device with its SCSI
// host, the host's SAS ports and phys, and the disks with their bsg entries
// and sizes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/host/sysfs_lookups.h"
#include "emu/host/emulator.h"

namespace {

const std::string kCard03 = "/sys/devices/pci0000:00/0000:00:01.0/0000:03:00.0";
const std::string kCard13 = "/sys/devices/pci0000:00/0000:00:02.0/0000:13:00.0";

AdapterInfoBlock Card(uint32_t segment, uint32_t bus, uint32_t device = 0, uint32_t function = 0) {
  AdapterInfoBlock info{};
  info.pciSegment = segment;
  info.pciLocation = (bus << 8) | (function << 5) | device;
  return info;
}

void AddSlots(emu::VirtualFiles& files) {
  const std::string slots = "/sys/bus/pci/slots/";
  files.AddFile(slots + ".9/address", "0000:03:00\n");   // hidden: skipped
  files.AddFile(slots + "0-1/address", "0000:03:00\n");  // not a number: not taken
  files.AddFile(slots + "10/address", "0000:03:001\n");  // the card's name is only its start
  files.AddFile(slots + "2/address", "0000:03:00\n");
  files.AddFile(slots + "2/power", "0\n");
  files.AddFile(slots + "300/address", "0000:05:00\n");  // beyond the 8-bit slot numbers
  files.AddFile(slots + "5/address", "0000:13:00\n");
  files.AddDirectory(slots + "6");                        // no address file
  files.AddFile(slots + "7/address", "0000:04:00");      // no line break at the end
}

// One disk of host `host` on port `port` (target = port), as the kernel
// shows it under its end device, with /sys/block/<name> linking to it.
void AddDisk(emu::VirtualFiles& files, const std::string& hostFolder, const std::string& name, int host,
             int port, const std::string& size) {
  const std::string h = std::to_string(host), p = std::to_string(port);
  const std::string address = h + ":0:" + p + ":0";
  const std::string lun = hostFolder + "/port-" + h + ":" + p + "/end_device-" + h + ":" + p + "/target" + h +
                          ":0:" + p + "/" + address;
  files.AddDirectory(lun + "/bsg/" + address);
  files.AddFile(lun + "/block/" + name + "/size", size);
  files.AddFile(lun + "/block/" + name + "/ro", "0\n");
  files.AddSymlink(lun + "/block/" + name + "/device", "../../../" + address);
  files.AddSymlink("/sys/block/" + name, ".." + lun.substr(4) + "/block/" + name);
}

void AddHostTree(emu::VirtualFiles& files) {
  // The card on bus 3 is SCSI host 2; its phys 4 to 7 are each a port of
  // their own (ports 0, 1, 5 and 3).
  files.AddFile(kCard03 + "/vendor", "0x1000\n");
  files.AddSymlink(kCard03 + "/driver", "../../../../bus/pci/drivers/qmx2sas");
  files.AddDirectory(kCard03 + "/msi_irqs");
  const std::string host = kCard03 + "/host2";
  const int ports[][2] = {{0, 4}, {1, 5}, {5, 6}, {3, 7}};
  for (const auto& [port, phy] : ports) {
    const std::string name = "phy-2:" + std::to_string(phy);
    files.AddFile(host + "/" + name + "/uevent", "");
    files.AddSymlink(host + "/port-2:" + std::to_string(port) + "/" + name, "../" + name);
  }
  files.AddFile(host + "/scsi_host/host2/proc_name", "qmx2sas\n");
  files.AddSymlink(host + "/scsi_host/host2/device", "../../../host2");
  files.AddSymlink("/sys/bus/pci/devices/0000:03:00.0", "../../.." + kCard03.substr(4));
  files.AddSymlink("/sys/class/scsi_host/host2", "../.." + kCard03.substr(4) + "/host2/scsi_host/host2");

  AddDisk(files, host, "sdb", 2, 0, "250069680\n");
  AddDisk(files, host, "sdc", 2, 1, "0\n");
  AddDisk(files, host, "sdd", 2, 5, "12345678901234567\n");
  // Another host's disk, and block devices that are not disks.
  AddDisk(files, "/sys/devices/pci0000:00/0000:00:1f.2/ata1/host0", "sda", 0, 0, "976773168\n");
  files.AddFile("/sys/devices/virtual/block/loop0/size", "0\n");
  files.AddSymlink("/sys/block/loop0", "../devices/virtual/block/loop0");

  // The card on bus 0x13 has no SCSI host (its driver is not bound).
  files.AddFile(kCard13 + "/vendor", "0x1000\n");
  files.AddSymlink("/sys/bus/pci/devices/0000:13:00.0", "../../.." + kCard13.substr(4));
}

class SysfsLookups : public ::testing::Test {
 protected:
  void SetUp() override {
    emu::Emulator& card = emu::Install(emu::DefaultHost());
    files_ = &card.model().files;
    AddSlots(*files_);
    AddHostTree(*files_);
  }
  emu::VirtualFiles* files_ = nullptr;
};

TEST_F(SysfsLookups, SlotOfTheCard) {
  struct Case {
    const char* name;
    AdapterInfoBlock info;
    uint8_t slot;
  } cases[] = {
      {"bus 3", Card(0, 0x03), 2},
      {"bus 0x13 is not bus 3", Card(0, 0x13), 5},
      {"the function is not part of the name", Card(0, 0x03, 0, 1), 2},
      {"address without a line break", Card(0, 0x04), 7},
      {"another device", Card(0, 0x03, 1), 0xFF},
      {"no slot", Card(0, 0x24), 0xFF},
      {"another domain", Card(1, 0x03), 0xFF},
      {"slot number beyond 8 bits", Card(0, 0x05), 0xFF},
      // Names longer than ten characters match no slot (and fit the buffer).
      {"segment above 0xFFFF", Card(0x10000, 0x03), 0xFF},
      {"bus above 0xFF", Card(0, 0x103), 0xFF},
      {"largest segment and bus", Card(0xFFFFFFFF, 0xFFFFFF, 31, 7), 0xFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetPciSlotNumber(c.info), c.slot);
  }
}

TEST_F(SysfsLookups, NoSlotsFolderMeansNoSlot) {
  files_->Remove("/sys/bus/pci/slots");
  EXPECT_EQ(GetPciSlotNumber(Card(0, 0x03)), 0xFF);
}

TEST_F(SysfsLookups, BlockDeviceOfAModule) {
  struct Case {
    const char* name;
    AdapterInfoBlock info;
    uint32_t phy;
    uint32_t nameSize;
    uint32_t result;
    std::string disk;
    uint64_t sectors;
  } cases[] = {
      {"phy 4 on port 0", Card(0, 0x03), 4, 16, 0, "sdb", 250069680},
      {"phy 6 on port 5", Card(0, 0x03), 6, 16, 0, "sdd", 12345678901234567ull},
      {"a size of 0", Card(0, 0x03), 5, 16, 1, "sdc", 0},
      {"name cut to the buffer", Card(0, 0x03), 4, 3, 0, "sd", 250069680},
      {"port without a disk", Card(0, 0x03), 7, 16, 1, "zzzz", 0},
      {"phy of no port", Card(0, 0x03), 9, 16, 1, "zzzz", 0},
      {"no host entry", Card(0, 0x13), 4, 16, 1, "zzzz", 0},
      {"no such device", Card(0, 0x24), 4, 16, 1, "zzzz", 0},
      {"segment above 0xFFFF", Card(0x10000, 0x03), 4, 16, 1, "zzzz", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char name[16];
    std::strcpy(name, "zzzz");
    uint64_t sectors = 0xDEAD;
    EXPECT_EQ(FindBlockDevice(c.info, c.phy, name, c.nameSize, &sectors), c.result);
    EXPECT_EQ(std::string(name), c.disk);
    EXPECT_EQ(sectors, c.sectors);
  }
}

TEST_F(SysfsLookups, BrokenStepsEndTheSearch) {
  struct Case {
    const char* name;
    const char* remove;
  } cases[] = {
      {"no scsi_host class entry", "/sys/class/scsi_host/host2"},
      {"no block folder", "/sys/block"},
      {"no bsg folder", "/bsg"},
      {"no size file", "/block/sdb/size"},
  };
  const std::string lun = kCard03 + "/host2/port-2:0/end_device-2:0/target2:0:0/2:0:0:0";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    ASSERT_TRUE(files_->Remove(c.remove[1] == 's' ? std::string(c.remove) : lun + c.remove));
    char name[16] = {};
    uint64_t sectors = 0xDEAD;
    EXPECT_EQ(FindBlockDevice(Card(0, 0x03), 4, name, sizeof name, &sectors), 1u);
    EXPECT_EQ(sectors, 0u);
  }
}

}  // namespace
