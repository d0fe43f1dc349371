#include "app/dlc/dlc_host_view.h"

#include "app/host/sysfs_lookups.h"
#include "app/shell/console.h"
#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/pages/sas_io_unit_page1.h"

namespace {

namespace p1 = sas_io_unit_page1;

enum : uint32_t {
  kReadSizeOnly = 0,
  kReadCurrent = 1,
  kWriteCurrent = 1,
};
constexpr uint8_t kExtendedPage = 15;
constexpr uint32_t kValidationFailed = 5;
constexpr uint32_t kDeviceNameSize = 32;

uint32_t LastIocStatus() {
  IocStatusInfo last{};
  QmxGetLastStatus(&last);
  return last.iocStatus;
}

}  // namespace

uint32_t DisableSlotPhy(uint32_t adapter, uint32_t slot) {
  LibHandle handle = adapter;
  uint32_t size = 0;
  LibStatus status = ReadSasIoUnitPage1(&handle, nullptr, &size, kReadSizeOnly);
  if (status == kLibOk && LastIocStatus() != 0) status = LastIocStatus();
  if (status != kLibOk || size == 0) {
    ConsolePrint("ERROR: Failed to read SAS IO Unit Page 1. Status %02X\n", status);
    return status != kLibOk ? status : 1;
  }
  AppBuffer pageBuffer(size);
  uint8_t* page = pageBuffer.get();
  if (page == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 1;
  }
  uint32_t got = size;
  status = ReadSasIoUnitPage1(&handle, page, &got, kReadCurrent);
  if (status == kLibOk && LastIocStatus() != 0) status = LastIocStatus();
  if (status != kLibOk || got < size || p1::PhyFlags(slot) >= size) {
    ConsolePrint("ERROR: Failed to read SAS IO Unit Page 1. Status %02X\n", status);
    return status != kLibOk ? status : 1;
  }
  page[p1::PhyFlags(slot)] |= p1::kPhyFlagDisabled;
  uint32_t written = size;
  status = WriteConfigPage(&handle, 0, kExtendedPage, p1::kNumber, p1::kExtType, kWriteCurrent, page, &written);
  if (status == kLibOk && LastIocStatus() != 0) status = LastIocStatus();
  if (status != kLibOk) {
    ConsolePrint("ERROR: Failed to write SAS IO Unit Page 1. Status %02X\n", status);
    return status;
  }
  return 0;
}

uint32_t ValidateDlcSizes(const DlcExpectedSize* expected, uint32_t count, uint8_t tries) {
  ConsolePrint("\nValidating DLC Configuration changes\n");
  CardInfo info;
  MemSet(&info, 0, sizeof info);
  if (GetCardInfo(SelectedController - 1, &info) != 0) {
    ConsolePrint("Failed to get Adapter Info\n");
    return kValidationFailed;
  }
  uint32_t result = 0;
  for (uint32_t i = 0; i < count; ++i) {
    char name[kDeviceNameSize] = {};
    uint64_t sectors = 0;
    bool found = false;
    bool passed = false;
    for (uint32_t attempt = 0; attempt < tries; ++attempt) {
      if (attempt != 0) SleepSeconds(1);
      found = FindBlockDevice(info.adapterInfo, expected[i].slot, name, sizeof name, &sectors) == 0;
      if (found && sectors == expected[i].sectors) {
        passed = true;
        break;
      }
    }
    if (passed) {
      ConsolePrint("\t/dev/%s .. Passed\n", name);
      continue;
    }
    result = kValidationFailed;
    if (found) {
      ConsolePrint("\t/dev/%s .. Failed\n", name);
      ConsolePrint("\tExpected Size:  %llu : Sysfs Size:    %llu\n",
                   static_cast<unsigned long long>(expected[i].sectors), static_cast<unsigned long long>(sectors));
    } else {
      ConsolePrint("\tDEV missing .. Failed\n");
    }
  }
  return result;
}
