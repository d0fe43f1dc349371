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
  return ReaderResult(ReadWholePage(adapter, {kPageTypeIoUnit, io_unit_page8::kNumber}, kReadNvram, page));
}

uint32_t ReadMfgPage10(uint32_t adapter, PageCopy* page) {
  uint32_t result =
      ReaderResult(ReadWholePage(adapter, {kPageTypeManufacturing, manufacturing_page10::kNumber}, kReadNvram, page));
  if (result != 0) return result;
  if (!page->Holds(manufacturing_page10::kSignature, 1) ||
      Get8(page->data(), manufacturing_page10::kSignature) != manufacturing_page10::kSignatureValue) {
    return 1;
  }
  return 0;
}

uint32_t ReadExtPage221(uint32_t adapter, PageCopy* page) {
  return ReaderResult(ReadWholePage(
      adapter, {kPageTypeExtended, ext_page221::kNumber, kExtPageManufacturing}, kReadCurrent, page));
}

uint32_t ReadExtPage222(uint32_t adapter, PageCopy* page) {
  return ReaderResult(ReadWholePage(
      adapter, {kPageTypeExtended, kExtPage222Number, kExtPageManufacturing}, kReadCurrent, page));
}

uint32_t ReadExtPage223(uint32_t adapter, PageCopy* page) {
  return ReaderResult(ReadWholePage(
      adapter, {kPageTypeExtended, kExtPage223Number, kExtPageManufacturing}, kReadCurrent, page));
}

bool ReadVolumeAttrPage(uint32_t adapter, PageCopy* page) {
  return ReadWholePage(adapter, {kPageTypeManufacturing, manufacturing_page4::kNumber}, kReadNvram, page).ok() &&
         page->Holds(manufacturing_page4::kMemberCount, 1) && page->Holds(manufacturing_page4::kDeviceCount, 1);
}
