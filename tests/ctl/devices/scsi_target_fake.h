// A hand-made SCSI target for the identification tests: answers INQUIRY,
// the VPD pages and READ CAPACITY for each DevHandle as the test says,
// through SCSI IO (function 0x00) and the RAID SCSI passthrough (0x16).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/ctl/ctl_test_support.h"

namespace ctltest {

struct FakeDisk {
  uint8_t peripheral = 0;
  uint64_t lastLba = 0x0001FFFF;
  uint32_t blockLength = 512;
  std::vector<uint8_t> vpdPages = {0x00, 0x83, 0xB1};
  uint8_t listLength = 0;          // VPD page list length byte; 0: the pages' count
  uint16_t rotationRate = 1;
  uint8_t formFactor = 3;
  bool removable = false;
  std::vector<uint8_t> naa = {0x50, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
  // A command (by name, see CommandName) that ends with this SCSI status.
  std::map<std::string, uint8_t> status;
};

// "INQUIRY", "VPD 0x00", "VPD 0x83", "VPD 0xB1", "READ CAPACITY", "READ CAPACITY 16".
std::string CommandName(const std::vector<uint8_t>& cdb);

class FakeTargets {
 public:
  // Registers the handlers with the emulator; they live as long as this.
  void Install(emu::Emulator& card);
  FakeDisk& operator[](uint16_t devHandle) { return disks_[devHandle]; }
  // The commands each DevHandle received, in order.
  std::vector<std::string> Sent(uint16_t devHandle) const;
  size_t Count(const std::string& command) const;

 private:
  void Answer(uint8_t function, emu::CommandRequest& request, emu::CommandAnswer& answer);
  std::map<uint16_t, FakeDisk> disks_;
  std::vector<std::pair<uint16_t, std::string>> sent_;
};

}  // namespace ctltest
