#include "app/vpd/vpd_print.h"

#include <algorithm>
#include <string>

#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "app/vpd/vpd_layout.h"
#include "ctl/base/byte_order.h"
#include "ctl/pages/manufacturing_pages.h"

namespace {

constexpr const char* kDashLine = "\n-----------------------------------------------------------";

// The bytes as the text a listing shows: up to the first NUL, each byte
// outside printable ASCII a blank.
std::string Text(const uint8_t* bytes, size_t count) {
  std::string raw(reinterpret_cast<const char*>(bytes), count);
  std::string out(count + 1, '\0');
  PrintableString(&out[0], raw.c_str(), count);
  out.resize(StrLength(out.c_str()));
  return out;
}

}  // namespace

void PrintVpdKeywords(size_t length, const uint8_t* data) {
  size_t position = 0;
  while (position + vpd::keyword::kSize <= length) {
    const uint8_t* entry = data + position;
    size_t dataLength = Get8(entry, vpd::keyword::kDataLength);
    // A keyword that runs past its resource is not shown, nor what follows.
    if (dataLength > length - position - vpd::keyword::kSize) return;
    char name[vpd::keyword::kNameSize + 1];
    PrintableText(name, entry + vpd::keyword::kName, vpd::keyword::kNameSize);
    const uint8_t* value = entry + vpd::keyword::kSize;
    if (MemEqual(entry + vpd::keyword::kName, vpd::kChecksumKeyword, vpd::keyword::kNameSize)) {
      ConsolePrint("\n %c%c             : 0x%02x ", name[0], name[1], dataLength > 0 ? value[0] : 0);
    } else {
      ConsolePrint("\n %c%c             : %s", name[0], name[1], Text(value, dataLength).c_str());
    }
    position += vpd::keyword::kSize + dataLength;
  }
}

void PrintVpdInfo(const uint8_t* page, size_t size) {
  size_t areaSize = 0;
  if (page != nullptr && size > manufacturing_page1::kVpdArea) {
    areaSize = std::min<size_t>(size - manufacturing_page1::kVpdArea, vpd::kAreaSize);
  }
  const uint8_t* area = page == nullptr ? nullptr : page + manufacturing_page1::kVpdArea;
  if (areaSize < vpd::large::kSize || Get8(area, vpd::large::kTag) != vpd::kTagIdentifier) {
    ConsolePrint("\n%s: VPD information is not programmed on this controller.\n", kUtilityTitle);
    return;
  }
  size_t idLength = GetLe16(area, vpd::large::kLength);
  size_t idInside = std::min(idLength, areaSize - vpd::large::kSize);
  ConsolePrint("%s", kDashLine);
  ConsolePrint("\n                      VPD Information                      ");
  ConsolePrint("%s", kDashLine);
  ConsolePrint("\n Product Name   : %s ", Text(area + vpd::large::kSize, idInside).c_str());

  bool complete = false;
  size_t position = vpd::large::kSize + idLength;
  while (position < areaSize) {
    uint8_t tag = Get8(area, position + vpd::large::kTag);
    if (tag <= vpd::kLargeTagLimit) {
      complete = tag == vpd::kTagEnd;
      break;
    }
    // A resource whose header or data runs past the area ends the walk
    // unshown: what lies inside the area cannot be told from what follows.
    if (position + vpd::large::kSize > areaSize) break;
    size_t length = GetLe16(area, position + vpd::large::kLength);
    size_t start = position + vpd::large::kSize;
    if (length > areaSize - start) break;
    PrintVpdKeywords(length, area + start);
    position = start + length;
  }
  ConsolePrint("%s", kDashLine);
  ConsolePrint("\n");
  if (!complete) ConsolePrint("\n%s: VPD information incomplete.\n", kUtilityTitle);
}
