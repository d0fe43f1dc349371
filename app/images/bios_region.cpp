#include "app/images/bios_region.h"

#include <utility>

#include "app/shell/memory_strings.h"
#include "app/images/option_rom_layout.h"
#include "app/images/rom_image_lookup.h"
#include "ctl/base/byte_order.h"

namespace {

// Bytes taken out of one source; absent while data is null.
struct Piece {
  const uint8_t* data = nullptr;
  uint32_t length = 0;
  bool present() const { return data != nullptr; }
};

Piece ImageOf(const uint8_t* source, uint32_t length, uint8_t codeType) {
  uint32_t offset = 0, bytes = 0;
  if (!FindRomImage(source, length, &offset, &bytes, codeType)) return {};
  return {source + offset, bytes};
}

Piece ComponentOf(const uint8_t* source, uint32_t length, uint8_t group, uint16_t componentId) {
  uint32_t offset = 0, bytes = 0;
  if (!FindRomComponent(source, length, &offset, &bytes, group, componentId)) return {};
  return {source + offset, bytes};
}

// A component taken from the new file is kept from the current region when
// the file lacks it, so the rebuilt region never drops a component the card
// holds (a plain legacy BIOS file carries none of its own).
Piece NewOrCurrentComponent(const uint8_t* newImage, uint32_t newSize, const uint8_t* current,
                            uint32_t currentSize, uint8_t group, uint16_t componentId) {
  Piece piece = ComponentOf(newImage, newSize, group, componentId);
  return piece.present() ? piece : ComponentOf(current, currentSize, group, componentId);
}

// Sets the indicator of the image copied to `image` (its data structure
// lies inside it: the lookups take only such images): cleared on an image
// that another follows; on the last image a non-zero indicator of its own is
// kept and a zero one becomes the last-image bit, so that the chain ends
// there and the components behind it are not read as images.
void SetIndicator(uint8_t* image, uint32_t length, bool last) {
  uint64_t at = static_cast<uint64_t>(GetLe16(image, option_rom::kPcirPointer)) + option_rom::kPcirIndicator;
  if (!option_rom::InRegion(length, at, 1)) return;
  auto where = static_cast<size_t>(at);
  if (!last) {
    Put8(image, where, 0);
  } else if (Get8(image, where) == 0) {
    Put8(image, where, option_rom::kIndicatorLastImage);
  }
}

}  // namespace

uint32_t AssembleBiosRegion(const uint8_t* current, uint32_t currentSize, const uint8_t* newImage,
                            uint32_t newSize, AppBuffer* region, uint32_t* regionSize) {
  *region = AppBuffer();
  *regionSize = 0;
  RomImageHeader first;
  if (!ReadRomImageHeader(newImage, newSize, 0, &first)) return kRegionNoNewImage;
  const uint8_t k = first.codeType;

  Piece legacy, extra, uefi, typeOne;
  Piece currentLegacy = ImageOf(current, currentSize, option_rom::kCodeTypeLegacy);
  bool legacyComponentsFromNew = false;
  Piece own;  // what the new file gives of its own kind
  if (k == option_rom::kCodeTypeLegacy) {
    legacy = ImageOf(newImage, newSize, option_rom::kCodeTypeLegacy);
    own = legacy;
    if (!currentLegacy.present()) {
      legacyComponentsFromNew = true;
    } else {
      RomImageHeader kept;
      ReadRomImageHeader(currentLegacy.data, currentLegacy.length, 0, &kept);
      uint32_t newDevice = first.deviceId;
      uint32_t currentDevice = kept.deviceId;
      if (newDevice == currentDevice) {
        // The same device: the new image replaces the first legacy image,
        // a second one of the region stays behind it.
        extra = ImageOf(current, currentSize, option_rom::kCodeTypeSecondLegacy);
        legacyComponentsFromNew = !extra.present();
      } else if (newDevice == currentDevice + 1) {
        // The companion device: the region keeps its image and the whole
        // new file follows it.
        legacy = currentLegacy;
        extra = {newImage, newSize};
        own = extra;
      } else {
        extra = currentLegacy;
        legacyComponentsFromNew = true;
      }
    }
  } else {
    legacy = currentLegacy;
  }
  if (k == option_rom::kCodeTypeUefi) {
    uefi = ImageOf(newImage, newSize, option_rom::kCodeTypeUefi);
    own = uefi;
  } else {
    uefi = ImageOf(current, currentSize, option_rom::kCodeTypeUefi);
  }
  if (k == option_rom::kCodeTypeOpenFirmware) {
    typeOne = ImageOf(newImage, newSize, option_rom::kCodeTypeOpenFirmware);
    own = typeOne;
  } else {
    typeOne = ImageOf(current, currentSize, option_rom::kCodeTypeOpenFirmware);
  }
  // A new file that gives nothing of its own would have the region
  // rewritten without the image it was meant to bring.
  if (!own.present()) return kRegionNoNewImage;

  Piece images[4] = {legacy, extra, uefi, typeOne};
  Piece components[8];
  const bool uefiComponentsFromNew = k == option_rom::kCodeTypeUefi;
  for (int i = 0; i < 4; ++i) {
    const uint16_t legacyId = option_rom::kLegacyComponentOrder[i];
    const uint16_t uefiId = option_rom::kUefiComponentOrder[i];
    components[i] =
        legacyComponentsFromNew
            ? NewOrCurrentComponent(newImage, newSize, current, currentSize, option_rom::kComponentGroupLegacy, legacyId)
            : ComponentOf(current, currentSize, option_rom::kComponentGroupLegacy, legacyId);
    components[4 + i] =
        uefiComponentsFromNew
            ? NewOrCurrentComponent(newImage, newSize, current, currentSize, option_rom::kComponentGroupUefi, uefiId)
            : ComponentOf(current, currentSize, option_rom::kComponentGroupUefi, uefiId);
  }

  uint64_t total = 0;
  for (const Piece& piece : images) total += piece.length;
  for (const Piece& piece : components) total += piece.length;
  // A region of no image would leave the card without a BIOS.
  if (total == 0) return kRegionNoNewImage;
  if (total > 0xFFFFFFFFu) return kRegionNoMemory;
  AppBuffer built(static_cast<size_t>(total));
  if (!built) return kRegionNoMemory;
  uint8_t* out = built.get();

  uint32_t at = 0;
  for (int i = 0; i < 4; ++i) {
    const Piece& piece = images[i];
    if (!piece.present()) continue;
    uint8_t* copy = out + at;
    MemCopy(copy, piece.data, piece.length);
    bool followed = false;
    for (int j = i + 1; j < 4; ++j) followed = followed || images[j].present();
    SetIndicator(copy, piece.length, !followed);
    copy[piece.length - 1] = RomImageChecksum(copy, piece.length);
    at += piece.length;
  }
  for (const Piece& piece : components) {
    if (!piece.present()) continue;
    MemCopy(out + at, piece.data, piece.length);
    at += piece.length;
  }
  *region = std::move(built);
  *regionSize = at;
  return kRegionBuilt;
}
