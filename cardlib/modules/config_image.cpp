// The module configuration block (SCT action 0xC008).
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/layouts/sct_sector.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint32_t kTries = 3;
constexpr uint32_t kPauseMs = 1000;
constexpr uint16_t kFunctionRead = 0;
constexpr uint16_t kFunctionWrite = 1;

}  // namespace

uint32_t SSDConfigReadWrite(uint32_t vxHandle, uint32_t ssdHandle, uint32_t mode, void* buffer, uint32_t length) {
  if (buffer == nullptr) return 1;
  if (mode != kSsdTransferRead && mode != kSsdTransferWrite) return 1;
  uint8_t sector[sct_sector::kSize];
  uint32_t result = 1;
  for (uint32_t attempt = 0; attempt < kTries; ++attempt) {
    ZkFill(sector, 0, sizeof(sector));
    PutLe16(sector, sct_sector::kAction, sct_action::kConfigImage);
    PutLe16(sector, sct_sector::kFunction, mode == kSsdTransferRead ? kFunctionRead : kFunctionWrite);
    result = SctSendCommand(vxHandle, ssdHandle, sector, sizeof(sector));
    if (result == 0) {
      result = mode == kSsdTransferRead ? SctReadData(vxHandle, ssdHandle, buffer, length)
                                        : SctWriteData(vxHandle, ssdHandle, buffer, length);
    }
    if (result == 0) break;
    ZkSleepMs(kPauseMs);
  }
  return result;
}

uint32_t ReadSsdConfigImage(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image) {
  if (image == nullptr) return 1;
  return SSDConfigReadWrite(vxHandle, ssdHandle, kSsdTransferRead, image->bytes, kSsdConfigImageSize);
}

uint32_t WriteSsdConfigImage(uint32_t vxHandle, uint32_t ssdHandle, const SsdConfigImage* image) {
  if (image == nullptr) return 1;
  // The transfer only reads the caller's bytes.
  void* written = const_cast<uint8_t*>(image->bytes + kSsdConfigWriteOffset);
  return SSDConfigReadWrite(vxHandle, ssdHandle, kSsdTransferWrite, written, kSsdConfigWriteSize);
}
