#include <algorithm>

#include "ctl/base/byte_order.h"
#include "ctl/frames/fw_transfer_frames.h"
#include "ctl/frames/pci_rom_layout.h"
#include "ctl/ioc/ioc_requests.h"
#include "ctl/base/lib_buffer.h"

namespace {
constexpr uint32_t kRomUploadPiece = 65536;
}  // namespace

LibStatus ReadRomVersion(LibContext* context, const LibHandle* adapter, uint32_t* version) {
  if (version == nullptr || adapter == nullptr) return kLibFailure;
  uint8_t reply[fw_upload_reply::kSize] = {};
  uint32_t replySize = sizeof(reply);
  if (FirmwareUpload(context, adapter, nullptr, 0, 0, kImageTypeOptionRom, reply, &replySize, nullptr) !=
          kLibOk ||
      replySize < fw_upload_reply::kSize) {
    return kLibFailure;
  }
  uint32_t imageSize = GetLe32(reply, fw_upload_reply::kActualImageSize);
  if (imageSize == 0) return kLibFailure;
  LibBuffer image(context, imageSize);
  if (!image) return kLibNoMemory;
  for (uint32_t offset = 0; offset < imageSize;) {
    uint32_t piece = std::min(imageSize - offset, kRomUploadPiece);
    replySize = sizeof(reply);
    if (FirmwareUpload(context, adapter, image.get() + offset, piece, offset, kImageTypeOptionRom, reply,
                       &replySize, nullptr) != kLibOk) {
      return kLibFailure;
    }
    offset += piece;
  }
  *version = RomImageVersion(image.get(), imageSize);
  return kLibOk;
}

uint32_t RomImageVersion(const uint8_t* image, size_t length) {
  if (image == nullptr || length < pci_rom::kDataStructure + 2) return 0;
  if (GetLe16(image, pci_rom::kSignature) != pci_rom::kSignatureValue) return 0;
  size_t structure = GetLe16(image, pci_rom::kDataStructure);
  if (structure + pci_data_structure::kCodeType + 1 > length) return 0;
  const uint8_t* s = image + structure;
  if (s[pci_data_structure::kCodeType] != pci_data_structure::kCodeTypeX86) return 0;
  size_t versionAt = s[pci_data_structure::kRevision] < pci_data_structure::kFirstNewRevision
                         ? pci_data_structure::kVersionOld
                         : pci_data_structure::kVersionNew;
  if (structure + versionAt + 2 > length) return 0;
  return (static_cast<uint32_t>(GetLe16(s, pci_data_structure::kCodeRevision)) << 16) |
         (static_cast<uint32_t>(s[versionAt]) << 8) | s[versionAt + 1];
}
