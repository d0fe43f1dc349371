// Zeroed pages with their header filled, for the default and generated pages.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/host/host_model.h"
#include "emu/controller/qmx_frames.h"
#include "emu/pages/sas_page_layouts.h"

namespace emu {

// An ordinary page (type 0-14): the page length byte in words.
inline std::vector<uint8_t> NewPage(uint8_t type, uint8_t number, uint8_t version, uint32_t bytes) {
  std::vector<uint8_t> page(bytes, 0);
  page[qmx::page_header::kVersion] = version;
  page[qmx::page_header::kLength] = static_cast<uint8_t>(bytes / 4);
  page[qmx::page_header::kNumber] = number;
  page[qmx::page_header::kType] = type;
  return page;
}

// An extended page (type 15): the extended length (u16, words) and type in
// the 8-byte header. `bytes` is rounded up to whole words.
inline std::vector<uint8_t> NewExtPage(uint8_t extType, uint8_t number, uint8_t version,
                                       uint32_t bytes) {
  bytes = (bytes + 3) & ~3u;
  std::vector<uint8_t> page(bytes, 0);
  page[pages::ext::kVersion] = version;
  page[pages::ext::kNumber] = number;
  page[pages::ext::kType] = kPageExtended;
  page[pages::ext::kLength] = static_cast<uint8_t>(bytes / 4);
  page[pages::ext::kLength + 1] = static_cast<uint8_t>((bytes / 4) >> 8);
  page[pages::ext::kExtType] = extType;
  return page;
}

}  // namespace emu
