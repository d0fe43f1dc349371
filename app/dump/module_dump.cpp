#include "app/dump/module_dump.h"

#include <string>

#include "app/card/module_ata.h"
#include "app/card/module_scsi.h"
#include "app/dump/hex_block.h"
#include "app/shell/app_buffer.h"
#include "app/shell/console.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "cardlib/layouts/scsi_cdbs.h"
#include "ctl/base/byte_order.h"
#include "ctl/frames/scsi_commands.h"

namespace {

constexpr uint32_t kModuleNumberMask = 0xFF;
constexpr uint8_t kLogDirectory = 0x00;
constexpr char kGenericLogTitle[] = "Smart Log at address %02Xh for SSD %04d\n";

// Rows 0-6 name their logs; the odd rows from 7 hold 0x10-0x17, 0x21,
// 0x22 and 0x80-0x9A; the even rows from 8 the directory (address 0).
struct LogTable {
  DumpLogRow rows[kDumpLogRows];
  LogTable() {
    static const DumpLogRow kNamed[] = {
        {0x01, "Summary SMART error log for SSD %04d\n"},
        {0x02, "Comprehensive SMART Error Log for SSD %04d\n"},
        {0x03, "Extended Comprehensive SMART Error Log for SSD %04d\n"},
        {0x04, "Device Statistics for SSD %04d\n"},
        {0x06, "SMART Self Test Log for SSD %04d\n"},
        {0x07, "Extended SMART Self Test Log for SSD %04d\n"},
        {0x09, "Selective Self Test Log for SSD %04d\n"},
    };
    static const uint8_t kOdd[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x21, 0x22};
    uint32_t row = 0;
    for (const DumpLogRow& named : kNamed) rows[row++] = named;
    uint32_t odd = 0;
    for (; row < kDumpLogRows; ++row) {
      if (row % 2 == 0) {
        rows[row] = {kLogDirectory, ""};
        continue;
      }
      uint8_t address = odd < sizeof kOdd ? kOdd[odd] : static_cast<uint8_t>(0x80 + (odd - sizeof kOdd));
      rows[row] = {address, ""};
      ++odd;
    }
  }
};

uint32_t ModuleNumber(uint32_t ssd) { return ssd & kModuleNumberMask; }

std::string Title(const char* format, uint32_t module) {
  char title[128] = {};
  FormatString(title, sizeof title, format, module);
  return title;
}

std::string LogTitle(const DumpLogRow& row, uint32_t module) {
  char title[128] = {};
  if (row.title[0] == '\0') {
    FormatString(title, sizeof title, kGenericLogTitle, row.address, module);
  } else {
    FormatString(title, sizeof title, row.title, module);
  }
  return title;
}

// SCSI commands of the SAS sections.
constexpr uint8_t kOpModeSense10 = 0x5A;
constexpr uint8_t kAllModePages = 0x3F;
constexpr uint8_t kPageCodeMask = 0x3F;
constexpr uint16_t kLongAllocation = 0x1000;
constexpr size_t kPageListCount = 3;
constexpr size_t kPageList = 4;

bool VpdPage(uint32_t ssd, uint8_t page, uint8_t* data) {
  uint8_t cdb[6] = {scsi_cdb::kInquiry, scsi_cdb::kInquiryEvpd, page, scsi_cdb::kInquiryLength, 0, 0};
  return ScsiCdb6In(ssd, cdb, data) == 0;
}

bool LogSensePage(uint32_t ssd, uint8_t page, uint8_t* data) {
  auto pageField = static_cast<uint8_t>(log_sense_cdb::kCumulativeValues | (page & kPageCodeMask));
  uint8_t cdb[10] = {log_sense_cdb::kOperation, 0, pageField, 0, 0, 0,
                     0, static_cast<uint8_t>(kLongAllocation >> 8), static_cast<uint8_t>(kLongAllocation & 0xFF), 0};
  return ScsiCdb10In(ssd, cdb, data) == 0;
}

}  // namespace

const DumpLogRow& DumpLogTableRow(uint32_t row) {
  static const LogTable kTable;
  return kTable.rows[row < kDumpLogRows ? row : 0];
}

void DumpAtaIdentify(uint32_t vxHandle, uint32_t ssdHandle, uint32_t file) {
  uint8_t identify[kIdentifySize] = {};
  AtaIdentifyDevice(vxHandle, ssdHandle, identify);
  DumpHexBlock(file, identify, sizeof identify,
               Title("ATA IDENTIFY DEVICE for SSD %04x \n", ModuleNumber(ssdHandle)).c_str());
}

void DumpSataSmart(uint32_t vxHandle, uint32_t ssdHandle, uint32_t file) {
  uint32_t module = ModuleNumber(ssdHandle);
  uint8_t smart[kAtaSectorSize] = {};
  SmartReadDataAlt(vxHandle, ssdHandle, smart, sizeof smart);
  DumpHexBlock(file, smart, sizeof smart, Title("SMART Values for SSD %04x\n", module).c_str());
  MemSet(smart, 0, sizeof smart);
  SmartReadThresholds(vxHandle, ssdHandle, smart, sizeof smart);
  DumpHexBlock(file, smart, sizeof smart, Title("SMART Threshold for SSD %04x\n", module).c_str());

  uint8_t directory[kAtaSectorSize] = {};
  if (ReadAtaLog(vxHandle, ssdHandle, kLogDirectory, 1, directory, sizeof directory, 0) != 0) return;
  for (uint32_t r = 0; r < kDumpLogRows; ++r) {
    const DumpLogRow& row = DumpLogTableRow(r);
    uint32_t pages = GetLe16(directory, 2u * row.address);
    if (pages == 0) continue;
    std::string title = LogTitle(row, module);
    // The directory was read above: it is written again, not read again.
    if (row.address == kLogDirectory && pages == 1) {
      DumpHexBlock(file, directory, sizeof directory, title.c_str());
      continue;
    }
    AppBuffer log(static_cast<size_t>(pages) * kAtaSectorSize);
    if (!log) return;
    if (ReadAtaLog(vxHandle, ssdHandle, row.address, pages, log.get(), pages * kAtaSectorSize, 0) == 0) {
      DumpHexBlock(file, log.get(), pages * kAtaSectorSize, title.c_str());
    }
  }
}

void DumpSasModule(uint32_t ssdHandle, uint32_t file) {
  uint32_t module = ModuleNumber(ssdHandle);
  uint8_t data[kScsiReadSize] = {};
  if (ScsiInquiryStd(ssdHandle, data) == 0) {
    DumpHexBlock(file, data, sizeof data, Title("SAS INQUIRY for SSD %04x \n", module).c_str());
  }

  uint8_t list[kScsiReadSize] = {};
  if (!VpdPage(ssdHandle, 0, list)) {
    DumpText(file, "\n" + Title("FAILED TO GET SAS VPD PAGE INFO for SSD %04x \n", module) + "\n");
  } else {
    uint32_t count = list[kPageListCount];
    for (uint32_t i = 0; i < count && kPageList + i < sizeof list; ++i) {
      uint8_t page = list[kPageList + i];
      MemSet(data, 0, sizeof data);
      if (VpdPage(ssdHandle, page, data)) {
        char title[96] = {};
        FormatString(title, sizeof title, "SAS VPD PAGE 0x%X for SSD %04x \n", page, module);
        DumpHexBlock(file, data, sizeof data, title);
      } else {
        ConsolePrint("SAS VPD Pages for SSD %04x could not be dumped!\n", module);
      }
    }
  }

  MemSet(data, 0, sizeof data);
  uint8_t modeSense[10] = {kOpModeSense10, 0, kAllModePages, 0, 0, 0, 0,
                           static_cast<uint8_t>(kLongAllocation >> 8), static_cast<uint8_t>(kLongAllocation & 0xFF), 0};
  if (ScsiCdb10In(ssdHandle, modeSense, data) == 0) {
    DumpHexBlock(file, data, sizeof data, Title("SAS MODE PAGES for SSD %04x \n", module).c_str());
  } else {
    ConsolePrint("SAS MODE Pages for SSD %04x could not be dumped!\n", module);
  }

  MemSet(list, 0, sizeof list);
  if (!LogSensePage(ssdHandle, 0, list)) {
    ConsolePrint("SAS LOG Pages for SSD %04x could not be dumped!\n", module);
    return;
  }
  uint32_t count = list[kPageListCount];
  for (uint32_t i = 0; i < count && kPageList + i < sizeof list; ++i) {
    uint8_t page = list[kPageList + i] & kPageCodeMask;
    MemSet(data, 0, sizeof data);
    if (LogSensePage(ssdHandle, page, data)) {
      char title[96] = {};
      FormatString(title, sizeof title, "SAS LOG PAGE 0x%X for SSD %04x \n", page, module);
      DumpHexBlock(file, data, sizeof data, title);
    } else {
      ConsolePrint("SAS LOG Pages for SSD %04x could not be dumped!\n", module);
    }
  }
}
