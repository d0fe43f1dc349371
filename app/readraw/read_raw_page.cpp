// The page read of -readraw: handles, unlock and the module's data, the
// address check, the block check and the raw read into the file.
#include <vector>

#include "app/card/module_ata.h"
#include "app/readraw/raw_page_address.h"
#include "app/readraw/read_raw.h"
#include "app/shell/console.h"
#include "app/shell/program_state.h"
#include "app/shell/staged_file.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "module_unlock_constants.h"

namespace {

constexpr uint8_t kUnlockLevel = 1;
constexpr size_t kPageSizeOffset = 64;  // u16 in the diagnostic identify data
constexpr uint32_t kMaxPageSectors = 255;  // what one SCT data read moves

// The module's flash page size is used as the length of a read: it must be
// whole sectors that one read can move.
bool PageSizeUsable(uint16_t pageSize) {
  return pageSize != 0 && pageSize % kAtaSectorSize == 0 && pageSize / kAtaSectorSize <= kMaxPageSectors;
}

}  // namespace

uint32_t ReadRawPage(uint32_t addressLow, uint32_t addressHigh, uint8_t slot, const char* fileName) {
  uint32_t vxHandle = 0;
  uint32_t status = LibZKGetVXHandle(SelectedController - 1, &vxHandle);
  if (status != 0) {
    ConsolePrint("LibZKGetVXHandle FAILED\n");
    return status;
  }
  uint32_t ssdHandle = kNoModuleHandle;
  status = LibZKGetSSDHandle(vxHandle, slot, &ssdHandle);
  if (status != 0) {
    ConsolePrint("LibZKGetSSDHandle FAILED\n");
    return status;
  }
  status = LibZKSSDUnlock(vxHandle, ssdHandle, kUnlockLevel, kModuleUnlockCredential);
  if (status != 0) {
    ConsolePrint("LibZKSSDUnlock FAILED\n");
    return status;
  }
  uint8_t diag[kDiagInfoSize] = {};
  status = LibZKSSDGetDiagInfo(vxHandle, ssdHandle, diag, diag_info::kReadSize);
  if (status != 0) {
    ConsolePrint("LibZKSSDGetDiagInfo FAILED\n");
    return status;
  }
  uint8_t identify[kDiagIdentifySize] = {};
  status = DiagIdentify(vxHandle, ssdHandle, slot, identify);
  const uint16_t pageSize = GetLe16(identify, kPageSizeOffset);
  if (status != 0 || !PageSizeUsable(pageSize)) {
    ConsolePrint("DiagIdentify FAILED\n");
    return status != 0 ? status : 1;
  }

  // The module takes addresses up to 0x3FFFFFFF, high word 0.
  if (addressHigh != 0 || addressLow > raw_page::kMaxPageAddress) {
    ConsolePrint("\nSupported address range for SSD <0x00000000 - 0x3FFFFFFF>\n");
    return 0;
  }
  RawPageAddress address{};
  if (ConvertPhysicalPage(vxHandle, ssdHandle, addressLow, addressHigh, &address) != 0 ||
      !RawAddressFieldsUsable(address)) {
    ConsolePrint("\nFailed to extract EPAGE/FORMMATED address fields");
    return 1;
  }
  uint32_t code = kBlockInvalid;
  const bool checked = getBlockInfo(vxHandle, ssdHandle, &address, &code) == 0;
  if (!checked) ConsolePrint("getBlockInfo failed!\n");
  if (!checked || code != kBlockUser) {
    ConsolePrint("System / Invalid Block requested. Choose a different block address\n");
    return checked ? 0 : 1;
  }

  ConsolePrint("Reading Physical Page...");
  std::vector<uint8_t> page(pageSize, 0);
  status = readRawPhysical(vxHandle, ssdHandle, address, page.data(), pageSize);
  if (status != 0) {
    ConsolePrint("readRawPhysical FAILED\n");
    return status;
  }
  StagedFile file;
  if (!file.Open(fileName, "wb+")) {
    ConsolePrint("\n%s: Error opening a file. Name: %s.\n", kUtilityTitle, fileName);
    return 1;
  }
  if (!file.Write(page.data(), pageSize) || !file.Commit()) {
    ConsolePrint("Write failed for log file!\n");
    return 1;
  }
  ConsolePrint(" Done\n");
  return 0;
}
