// Shared set-up of the controller library tests: a fresh emulated host made
// the active port, a fresh library context, and readers for the bytes the
// emulated driver logged. Offsets in the tests are written out as numbers on
// purpose: they hold the library's named layouts against the wire format.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ctl/base/context.h"
#include "ctl/objects/object_tree.h"
#include "ctl/facade/qmx.h"
#include "emu/host/emulator.h"

namespace ctltest {

inline constexpr uint32_t kCardFlags = 0xA0000000;
inline constexpr uint32_t kIocInfoRequest = 0xC05C4C11;
inline constexpr uint32_t kCommandRequest = 0xC0484C14;
inline constexpr uint32_t kHardResetRequest = 0xC00C4C18;
inline constexpr uint32_t kMapRequest = 0xC0184C1F;

uint16_t Le16(const std::vector<uint8_t>& bytes, size_t offset);
uint32_t Le32(const std::vector<uint8_t>& bytes, size_t offset);
void PutLe16(std::vector<uint8_t>* bytes, size_t offset, uint16_t value);
void PutLe32(std::vector<uint8_t>* bytes, size_t offset, uint32_t value);

// An ordinary page: 4-byte header (version, length in words, number, type)
// and `size` bytes in all, the body filled with `fill` + its offset.
std::vector<uint8_t> MakePage(uint8_t type, uint8_t number, uint32_t size, uint8_t fill = 0);
// An extended page (type 15): 8-byte header with the extended length at 4
// and the extended type at 6.
std::vector<uint8_t> MakeExtPage(uint8_t extType, uint8_t number, uint32_t size, uint8_t fill = 0);

// A host with no adapter at all on the card's node.
emu::HostModel EmptyHost();
// The host of a named card file of emu/cards/ (NAME.txt), read with the
// emulator's parser; a failed test and the default host when it cannot be.
emu::HostModel CardFile(const std::string& name);

class CardTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Installs the host and opens the library (a new context).
  emu::Emulator& Start(emu::HostModel host);
  // Runs discovery with the flags; the count in *count when given.
  LibStatus Discover(uint32_t flags = kCardFlags, uint32_t* count = nullptr);
  // The default card installed and its adapter discovered without the
  // device and RAID scans (the flags stay in the context): an adapter with
  // no objects, for tests that build them by hand. Its adapter handle.
  LibHandle StartDefaultCard();
  // The host installed and discovered whole (device and RAID scans); the
  // first adapter's handle.
  LibHandle StartScannedCard(emu::HostModel host);

  emu::Emulator& card() { return *card_; }
  LibContext* context() { return g_libContext; }
  AdapterRecord* FirstAdapterRecord() { return context()->adapterList; }
  // The COMMAND calls carrying the function, in order.
  std::vector<const emu::LoggedCall*> Commands(uint8_t function) const;
  // Adds a device record to the adapter as the device scan would.
  DeviceRecord* AddDevice(LibHandle adapter, uint16_t devHandle, uint32_t peripheralType = 0);
  // Adds a volume record, and a member disk record to a volume, as the RAID
  // scan would (handles, DevHandle and disk number in the RAID summary).
  VolumeRecord* AddVolume(LibHandle adapter, uint16_t devHandle, uint8_t raidType = 0);
  PhysDiskRecord* AddMember(VolumeRecord* volume, uint16_t devHandle, uint8_t number);
  PhysDiskRecord* AddHotSpare(LibHandle adapter, uint16_t devHandle, uint8_t number, uint8_t pool = 1);
  // Stores a page in the emulated adapter (it wins over a generated one).
  void SetPage(uint8_t type, uint8_t number, uint8_t extType, uint32_t identity, const std::vector<uint8_t>& page);
  // A SAS device page 0 (56 bytes) for a directly attached SATA device.
  std::vector<uint8_t> SasDevicePage(uint16_t devHandle, uint16_t slot, uint16_t enclosure = 1,
                                     uint32_t deviceInfo = 0x881);

  emu::Emulator* card_ = nullptr;
};

}  // namespace ctltest
