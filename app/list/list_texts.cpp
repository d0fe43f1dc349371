#include "app/list/list_texts.h"

#include "app/shell/memory_strings.h"
#include "app/card/pci_link.h"
#include "app/images/rom_image_version.h"

const char* PcieLinkRateText(uint8_t rate) {
  switch (rate) {
    case kPcieLink2500: return "2.5 Gbps";
    case kPcieLink5000: return "5.0 Gbps";
    case kPcieLink8000: return "8.0 Gbps";
    default: return "Unrecognized Link Rate";
  }
}

double PcieLinkRateGbps(uint8_t rate) {
  switch (rate) {
    case kPcieLink2500: return 2.5;
    case kPcieLink5000: return 5.0;
    case kPcieLink8000: return 8.0;
    default: return 0.0;
  }
}

const char* VolumeStateText(uint32_t state) {
  switch (state) {
    case 0: return "Missing (MIS)";
    case 1: return "Failed (FLD)";
    case 2: return "Initializing (INIT)";
    case 3: return "Online (ONL)";
    case 4: return "Degraded (DGD)";
    case 5: return "Okay (OKY)";
    default: return "Unknown";
  }
}

void FormatListVersions(const ListVersions& versions, ListVersionTexts* texts) {
  MemSet(texts, 0, sizeof *texts);
  if (versions.imageRead) {
    FormatVersionBytes(texts->package, sizeof texts->package, versions.package);
    FormatVersionBytes(texts->firmware, sizeof texts->firmware, versions.firmware);
  }
  if (versions.biosRead && versions.legacyBios != kNoRomVersion) {
    FormatVersionBytes(texts->legacyBios, sizeof texts->legacyBios, versions.legacyBios);
  }
  if (versions.uefiRead && versions.uefiBsd != kNoRomVersion) {
    FormatUefiVersion(texts->uefiBsd, sizeof texts->uefiBsd, versions.uefiBsd);
  }
}
