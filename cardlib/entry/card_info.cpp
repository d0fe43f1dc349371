#include <cstring>

#include "cardlib/libzk.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/pages/manufacturing_pages.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"

namespace {

constexpr uint32_t kNameSize = manufacturing_page0::kNameSize;
constexpr uint32_t kBoardNameAt = manufacturing_page0::kBoardName;
constexpr uint32_t kChipNameAt = manufacturing_page0::kChipName;
// A page that ends before the board name holds no names to trust.
constexpr uint32_t kNamesEnd = kBoardNameAt + kNameSize;
static_assert(kChipNameAt + kNameSize <= kNamesEnd);

}  // namespace

uint32_t GetCardInfo(uint32_t adapterIndex, CardInfo* info) {
  if (info == nullptr) return 1;
  char boardName[kNameSize];
  char chipName[kNameSize];
  ZkStrnCopy(boardName, "Corvexium", kNameSize);
  ZkFill(chipName, 0, kNameSize);
  info->adapterIndex = adapterIndex;

  uint32_t size = sizeof(AdapterInfoBlock);
  if (QmxGetAdapterInfo(adapterIndex, nullptr, &info->adapterInfo, &size) != kLibOk) return 1;
  const LibHandle* card = &info->adapterInfo.adapterHandle;

  // Neither of these two decides the result: a failed read leaves the field
  // as the caller's record had it.
  size = sizeof(info->mfgPage5);
  ReadConfigPage(card, 0, kPageTypeManufacturing, manufacturing_page5::kNumber, 0, kReadCurrent, info->mfgPage5,
                 &size);
  size = sizeof(info->iocFacts);
  QmxGetIocFacts(card, info->iocFacts, &size, nullptr);

  PageCopy page;
  LibStatus status = ReadConfigPageCopy(card, 0, kPageTypeManufacturing, manufacturing_page0::kNumber, 0,
                                        kReadNvram, &page);
  // Without the page's size or a buffer for it the names stay untouched; a
  // failed read (or one too short) gives the default names.
  if (status != kLibOk && page.failedStep() == PageCopyStep::kBuffer) return 16;
  if (status != kLibOk && page.failedStep() != PageCopyStep::kRead) return 1;
  bool read = status == kLibOk && page.Holds(0, kNamesEnd);
  if (read) {
    ZkStrnCopy(boardName, reinterpret_cast<const char*>(page.data() + kBoardNameAt), kNameSize);
    ZkStrnCopy(chipName, reinterpret_cast<const char*>(page.data() + kChipNameAt), kNameSize);
  }
  ZkCopy(info->boardName, boardName, kNameSize);
  ZkCopy(info->chipName, chipName, kNameSize);
  return read ? 0 : 1;
}
