#include "app/card/page_readers.h"

#include "app/card/config_page_layouts.h"
#include "app/card/whole_page.h"
#include "ctl/base/byte_order.h"
#include "ctl/frames/config_frame.h"

namespace {

// The readers' answer: the library's status for a failed size query or
// read, 1 for every other failure.
uint32_t ReaderResult(const PageRead& read) {
  switch (read.result) {
    case PageReadResult::kRead: return 0;
    case PageReadResult::kSizeQueryFailed:
    case PageReadResult::kReadFailed: return read.status;
    default: return 1;
  }
}

}  // namespace

uint32_t ReadIoUnitPage8(uint32_t adapter, PageCopy* page) {
  return ReaderResult(ReadWholePage(adapter, {kCfgPageTypeIoUnit, io_unit_page8::kNumber}, kReadNvram, page));
}

uint32_t ReadMfgPage10(uint32_t adapter, PageCopy* page) {
  uint32_t result =
      ReaderResult(ReadWholePage(adapter, {kCfgPageTypeManufacturing, mfg_page10::kNumber}, kReadNvram, page));
  if (result != 0) return result;
  if (!page->Holds(mfg_page10::kSignature, 1) ||
      Get8(page->data(), mfg_page10::kSignature) != mfg_page10::kSignatureValue) {
    return 1;
  }
  return 0;
}

uint32_t ReadExtPage221(uint32_t adapter, PageCopy* page) {
  return ReaderResult(ReadWholePage(
      adapter, {kCfgPageTypeExtended, ext_page221::kNumber, kCfgExtTypeManufacturing}, kReadCurrent, page));
}

uint32_t ReadExtPage222(uint32_t adapter, PageCopy* page) {
  return ReaderResult(ReadWholePage(
      adapter, {kCfgPageTypeExtended, kExtPage222Number, kCfgExtTypeManufacturing}, kReadCurrent, page));
}

uint32_t ReadExtPage223(uint32_t adapter, PageCopy* page) {
  return ReaderResult(ReadWholePage(
      adapter, {kCfgPageTypeExtended, kExtPage223Number, kCfgExtTypeManufacturing}, kReadCurrent, page));
}

bool ReadVolumeAttrPage(uint32_t adapter, PageCopy* page) {
  return ReadWholePage(adapter, {kCfgPageTypeManufacturing, mfg_page4::kNumber}, kReadNvram, page).ok() &&
         page->Holds(mfg_page4::kMemberCount, 1) && page->Holds(mfg_page4::kDeviceCount, 1);
}
