// The DLC and Max LBA fields of a module's configuration image and the
// module's format settings: what -dlc rewrites on each module, and how it
// puts them back.
#pragma once

#include <cstdint>

#include "cardlib/modules/module_commands.h"

// The seven fields -dlc changes: the DLC group (both state bytes and the
// control word) and the Max LBA group (sector size, two flags, the value).
struct DlcFieldValues {
  uint8_t stateA;
  uint8_t stateB;
  uint16_t control;
  uint16_t sectorSize;
  uint8_t flagA;
  uint8_t flagB;
  uint32_t maxLba;
};

// Error code ModifyDlcSetting reports for a Max LBA group that did not take.
inline constexpr uint32_t kDlcMaxLbaError = 4;

// The fields as the image holds them, and the targets for a direction.
DlcFieldValues ReadDlcFields(const SsdConfigImage& image);
DlcFieldValues DlcTargetFields(uint8_t enable, uint32_t maxLba);

// Sets the DLC group (state 2 enable, 0 disable; control 1) and the Max LBA
// group (512, 0, 1, maxLba) of the image read before, writes the image and
// reads it back. *saved gets the fields as they were. Nothing is sent when
// the image already holds the targets. A failed write is answered by
// RestoreDLCSetting; the result is then 1 even when the restore took, since
// the module did not get the new settings. 0, or 1 after the message; a
// Max LBA group that did not take also sets *errorCode to kDlcMaxLbaError.
uint32_t ModifyDlcSetting(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image, uint8_t enable,
                          DlcFieldValues* saved, uint32_t* errorCode, uint32_t maxLba);

// Puts the saved fields back into the image, writes it and reads it back to
// check both groups. 0 after "RestoreDLCSetting: restoredDLCCtrlVal: ...",
// else non-zero after the message.
uint32_t RestoreDLCSetting(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image,
                           const DlcFieldValues& saved);

// The format settings for 512-byte sectors and the Max LBA value: read
// (2048 bytes), set, write (1536 bytes with the value). The module must be
// unlocked again first, which this does. When `original` is given it gets
// the record as read (2048 bytes) and *originalRead says whether it was,
// so that RestoreFormatSettings can put it back. 0, or non-zero after the
// message.
uint32_t ChangeSectorSize(uint32_t vxHandle, uint32_t ssdHandle, uint32_t maxLba, uint8_t* original = nullptr,
                          bool* originalRead = nullptr);

// Writes a format settings record read before back as it was (its first
// 1536 bytes with its own Max LBA value). 0, or non-zero after the message.
uint32_t RestoreFormatSettings(uint32_t vxHandle, uint32_t ssdHandle, const uint8_t* original);
