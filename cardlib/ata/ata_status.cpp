// The passthrough status words: what the last module command left behind.
#include "cardlib/ata/ata_passthrough.h"

AtaPassthroughStatus g_ataPassthroughStatus = {0, 0, 0};

uint32_t GetAtaPassthroughStatus(uint32_t* lastPassthroughResult, uint32_t* lastAtaStatus,
                                 uint32_t* lastSctStatus) {
  if (lastPassthroughResult != nullptr) *lastPassthroughResult = g_ataPassthroughStatus.lastPassthroughResult;
  if (lastAtaStatus != nullptr) *lastAtaStatus = g_ataPassthroughStatus.lastAtaStatus;
  if (lastSctStatus != nullptr) *lastSctStatus = g_ataPassthroughStatus.lastSctStatus;
  return 0;
}
