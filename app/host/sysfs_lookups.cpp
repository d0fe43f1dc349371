#include "app/host/sysfs_lookups.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/shell/console.h"
#include "app/shell/file_slots.h"
#include "app/shell/memory_strings.h"
#include "os/port.h"

namespace {

constexpr const char* kSlotsFolder = "/sys/bus/pci/slots";
constexpr const char* kDevicesFolder = "/sys/bus/pci/devices";
constexpr const char* kScsiHostFolder = "/sys/class/scsi_host";
constexpr const char* kBlockFolder = "/sys/block";

// "dddd:bb:dd", the form of a slot's address file.
constexpr size_t kPciNameLength = 10;
// Room for the name of any segment and bus the location words can carry.
constexpr size_t kPciNameSize = 32;
constexpr size_t kPathSize = 512;
// A slot's address line and a disk's size line; the size line holds any
// 64-bit number with its line break.
constexpr int kAddressLineSize = 16;
constexpr int kSizeLineSize = 32;

size_t PciName(const AdapterInfoBlock& info, char* name) {
  return FormatString(name, kPciNameSize, "%04x:%02x:%02x", info.pciSegment, info.pciLocation >> pci_location::kBusShift,
                      info.pciLocation & pci_location::kDeviceMask);
}

// Joins the parts with "/" into path; false when the path does not fit.
bool JoinPath(char* path, const char* a, const char* b, const char* c = nullptr) {
  size_t length = c == nullptr ? FormatString(path, kPathSize, "%s/%s", a, b)
                               : FormatString(path, kPathSize, "%s/%s/%s", a, b, c);
  return length < kPathSize - 1;
}

bool List(const char* path, std::vector<std::string>* names) {
  return os::ActivePort().ListDirectory(path, names);
}

// Reads a directory entry's name piece by piece: literal texts and whole
// unsigned decimal numbers, and nothing left over at the end.
class NameReader {
 public:
  explicit NameReader(const std::string& name) : p_(name.c_str()) {}
  bool Text(const char* text) {
    for (; *text != '\0'; ++text, ++p_) {
      if (*p_ != *text) return false;
    }
    return true;
  }
  bool Number(uint32_t* value) {
    if (!IsDigitChar(*p_)) return false;
    uint64_t n = 0;
    for (; IsDigitChar(*p_); ++p_) {
      n = n * 10 + static_cast<uint64_t>(*p_ - '0');
      if (n > 0xFFFFFFFFu) return false;
    }
    *value = static_cast<uint32_t>(n);
    return true;
  }
  bool End() const { return *p_ == '\0'; }

 private:
  const char* p_;
};

// The first line of a file into line (size bytes); false when the file
// cannot be opened or is empty.
bool ReadFirstLine(const char* path, char* line, int size) {
  uint32_t fileSize = 0;
  uint32_t handle = FileOpen(path, "r", &fileSize);
  if (handle == kInvalidFileHandle) return false;
  bool read = FileReadLine(line, size, handle) != nullptr;
  FileClose(handle);
  return read;
}

// The address line names the card: the ten characters, then the line's end.
bool AddressMatches(const char* line, const char* name) {
  if (!MemEqual(line, name, kPciNameLength)) return false;
  return line[kPciNameLength] == '\n' || line[kPciNameLength] == '\0';
}

// A size line: one unsigned number (decimal, 0x hexadecimal or 0 octal)
// and at most its line break; 0 for anything else.
uint64_t ParseSectors(const char* line) {
  if (!IsDigitChar(line[0])) return 0;
  errno = 0;
  char* end = nullptr;
  unsigned long long value = std::strtoull(line, &end, 0);
  if (errno == ERANGE || end == line) return 0;
  if (*end == '\n') ++end;
  return *end == '\0' ? static_cast<uint64_t>(value) : 0;
}

// The card's SCSI host: the first hostH entry of its PCI device directory.
bool FindHost(const char* pciName, uint32_t* host, std::string* hostName) {
  char folder[kPathSize];
  if (FormatString(folder, sizeof folder, "%s/%s.0", kDevicesFolder, pciName) >= kPathSize - 1) return false;
  std::vector<std::string> names;
  if (!List(folder, &names)) return false;
  for (const std::string& name : names) {
    NameReader reader(name);
    if (reader.Text("host") && reader.Number(host) && reader.End()) {
      *hostName = name;
      return true;
    }
  }
  return false;
}

// The port of the host that holds the phy: port-H:P with an entry phy-H:N, N = phy.
bool FindPort(uint32_t host, const std::string& hostName, uint32_t phy, uint32_t* port) {
  char folder[kPathSize];
  if (!JoinPath(folder, kScsiHostFolder, hostName.c_str(), "device")) return false;
  std::vector<std::string> ports;
  if (!List(folder, &ports)) return false;
  for (const std::string& entry : ports) {
    NameReader reader(entry);
    uint32_t portHost = 0, number = 0;
    if (!reader.Text("port-") || !reader.Number(&portHost) || !reader.Text(":") || !reader.Number(&number) ||
        !reader.End() || portHost != host) {
      continue;
    }
    char portFolder[kPathSize];
    std::vector<std::string> phys;
    if (!JoinPath(portFolder, folder, entry.c_str()) || !List(portFolder, &phys)) continue;
    for (const std::string& phyName : phys) {
      NameReader phyReader(phyName);
      uint32_t phyHost = 0, phyNumber = 0;
      if (phyReader.Text("phy-") && phyReader.Number(&phyHost) && phyReader.Text(":") &&
          phyReader.Number(&phyNumber) && phyReader.End() && phyNumber == phy) {
        *port = number;
        return true;
      }
    }
  }
  return false;
}

// The disk sdX whose device/bsg folder holds the entry H:0:P:0.
bool FindDisk(uint32_t host, uint32_t port, std::string* disk) {
  std::vector<std::string> disks;
  if (!List(kBlockFolder, &disks)) return false;
  for (const std::string& entry : disks) {
    if (entry.size() < 3 || entry.compare(0, 2, "sd") != 0) continue;
    char folder[kPathSize];
    std::vector<std::string> addresses;
    if (!JoinPath(folder, kBlockFolder, entry.c_str(), "device/bsg") || !List(folder, &addresses)) continue;
    for (const std::string& address : addresses) {
      NameReader reader(address);
      uint32_t h = 0, p = 0;
      if (reader.Number(&h) && reader.Text(":0:") && reader.Number(&p) && reader.Text(":0") && reader.End() &&
          h == host && p == port) {
        *disk = entry;
        return true;
      }
    }
  }
  return false;
}

}  // namespace

uint8_t GetPciSlotNumber(const AdapterInfoBlock& info) {
  char name[kPciNameSize];
  // A segment above 0xFFFF or a bus above 0xFF gives a longer name, which
  // no slot's address names.
  if (PciName(info, name) != kPciNameLength) return kNoPciSlot;
  std::vector<std::string> slots;
  if (!List(kSlotsFolder, &slots)) return kNoPciSlot;
  for (const std::string& slot : slots) {
    if (slot.empty() || slot[0] == '.') continue;
    NameReader reader(slot);
    uint32_t number = 0;
    if (!reader.Number(&number) || !reader.End() || number >= kNoPciSlot) continue;
    char path[kPathSize];
    char line[kAddressLineSize] = {};
    if (!JoinPath(path, kSlotsFolder, slot.c_str(), "address") || !ReadFirstLine(path, line, sizeof line)) {
      continue;
    }
    if (AddressMatches(line, name)) return static_cast<uint8_t>(number);
  }
  return kNoPciSlot;
}

uint32_t FindBlockDevice(const AdapterInfoBlock& info, uint32_t phy, char* name, uint32_t nameSize,
                         uint64_t* sectors) {
  if (sectors != nullptr) *sectors = 0;
  char pciName[kPciNameSize];
  PciName(info, pciName);
  uint32_t host = 0, port = 0;
  std::string hostName, disk;
  if (!FindHost(pciName, &host, &hostName) || !FindPort(host, hostName, phy, &port) ||
      !FindDisk(host, port, &disk)) {
    return 1;
  }
  if (name != nullptr && nameSize != 0) {
    size_t n = disk.size() < nameSize - 1 ? disk.size() : nameSize - 1;
    MemCopy(name, disk.data(), n);
    name[n] = '\0';
  }
  char path[kPathSize];
  char line[kSizeLineSize] = {};
  if (!JoinPath(path, kBlockFolder, disk.c_str(), "size") || !ReadFirstLine(path, line, sizeof line)) return 1;
  uint64_t size = ParseSectors(line);
  if (sectors != nullptr) *sectors = size;
  return size != 0 ? 0 : 1;
}
