// Texts the card listing shares between its sections and its two output
// forms: the section rule, the PCIe link rate, the volume state and the
// image versions.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/images/version_text.h"

// A line of 72 dashes and its line break.
inline constexpr char kListRule[] =
    "------------------------------------------------------------------------\n";

// IO unit page 7's link speed code: "2.5 Gbps", "5.0 Gbps", "8.0 Gbps" or
// "Unrecognized Link Rate"; and the same in gigabits (0 when unrecognized).
const char* PcieLinkRateText(uint8_t rate);
double PcieLinkRateGbps(uint8_t rate);

// A RAID volume's state: "Missing (MIS)" ... "Okay (OKY)", else "Unknown".
const char* VolumeStateText(uint32_t state);

// The image versions as the card reports them, with whether each was read.
struct ListVersions {
  bool imageRead = false;  // package and firmware (page 223 or the firmware image)
  uint32_t package = 0;
  uint32_t firmware = 0;
  bool biosRead = false;
  uint32_t legacyBios = 0;
  bool uefiRead = false;
  uint32_t uefiBsd = 0;
};

// Each text is empty where the listing shows "N/A": package and firmware
// when the image was not read, the legacy BIOS and UEFI versions also when
// the option ROM answers 0xFFFFFFFF (no such image).
struct ListVersionTexts {
  char package[kVersionTextSize];
  char firmware[kVersionTextSize];
  char legacyBios[kVersionTextSize];
  char uefiBsd[kVersionTextSize];
};

void FormatListVersions(const ListVersions& versions, ListVersionTexts* texts);
