#include "app/card/pci_link.h"

#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

// IO unit page 7 (type 0, number 7).
inline constexpr uint32_t kIoUnit7LinkWidth = 6;  // u8, lanes
inline constexpr uint32_t kIoUnit7LinkSpeed = 7;  // u8
// IOC page 1 (type 1, number 1).
inline constexpr uint32_t kIoc1PciSlot = 13;      // u8

enum : uint32_t {
  kReadSizeOnly = 0,
  kReadCurrent = 1,
};

using PageReader = LibStatus (*)(const LibHandle*, void*, uint32_t*, uint32_t);

// Reads the current page with the size query first into a new buffer of
// the size announced. Null when the page cannot be read or is too short to
// hold `needed` bytes; an allocation failure is reported to the user.
uint8_t* ReadCurrentPage(uint32_t adapter, PageReader read, uint32_t needed) {
  LibHandle handle = adapter;
  uint32_t announced = 0;
  if (read(&handle, nullptr, &announced, kReadSizeOnly) != kLibOk || announced == 0) return nullptr;
  auto* page = static_cast<uint8_t*>(AllocMem(announced));
  if (page == nullptr) {
    ConsoleDiagnostic("\n%s: Insufficient memory.\n", kUtilityTitle);
    return nullptr;
  }
  uint32_t got = announced;
  // The page read may announce another size than the query did: only what
  // both the buffer and the page hold counts.
  if (read(&handle, page, &got, kReadCurrent) != kLibOk || got < needed || announced < needed) {
    FreeMem(page);
    return nullptr;
  }
  return page;
}

}  // namespace

uint32_t GetPcieLinkInfo(uint32_t adapter, uint8_t* width, uint8_t* speed) {
  uint8_t* page = ReadCurrentPage(adapter, ReadIoUnitPage7, kIoUnit7LinkSpeed + 1);
  if (page == nullptr) return 1;
  if (width != nullptr) *width = Get8(page, kIoUnit7LinkWidth);
  if (speed != nullptr) *speed = Get8(page, kIoUnit7LinkSpeed);
  FreeMem(page);
  return 0;
}

uint32_t GetPciSlotFromIoc(uint32_t adapter, uint8_t* slot) {
  uint8_t* page = ReadCurrentPage(adapter, ReadIocPage1, kIoc1PciSlot + 1);
  if (page == nullptr) return 1;
  if (slot != nullptr) *slot = Get8(page, kIoc1PciSlot);
  FreeMem(page);
  return 0;
}
