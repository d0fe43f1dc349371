// The card device library: the Corvexium seen as one card (a VX handle) with
// up to eight flash modules behind its controller. Results: 0 success,
// 1 failure, 16 no memory; LibZKOpen alone answers 1 for opened.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/base/lib_types.h"
#include "ctl/frames/ioc_frames.h"

inline constexpr uint32_t kCardInfoSize = 756;

// What the application reads about one card.
struct CardInfo {
  uint32_t adapterIndex;     // 0-based, discovery order
  char boardName[16];        // not terminated when all 16 are used
  char chipName[16];         // likewise
  AdapterInfoBlock adapterInfo;
  uint8_t iocFacts[ioc_facts_reply::kSize];
  uint8_t mfgPage5[32];      // the first 32 bytes of manufacturing page 5
};
static_assert(sizeof(CardInfo) == kCardInfoSize);
static_assert(offsetof(CardInfo, adapterInfo) == 36);
static_assert(offsetof(CardInfo, iocFacts) == 660);
static_assert(offsetof(CardInfo, mfgPage5) == 724);

// The discovery flags the card library passes: filter on, this card's family.
inline constexpr uint32_t kCardDiscoveryFlags = 0xA0000000;

uint32_t LibZKOpen();
void LibZKClose();
uint32_t LibZKDiscoverAdapters(uint32_t* count);
uint32_t GetCardInfo(uint32_t adapterIndex, CardInfo* info);
uint32_t LibZKCountSSDs(uint32_t vxHandle, uint32_t* count);
// The board model for a PCI device ID ("TRIXEL4400" for 126, else
// "UNKNOWN") in a new 20-byte buffer that the caller frees with ZkRelease.
char* GetBoardModelName(uint32_t controllerId);

// The library's other subjects, each in its own header.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/board/board_power.h"
#include "cardlib/board/health_logs.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/modules/module_handles.h"
#include "cardlib/unlock/module_unlock.h"
