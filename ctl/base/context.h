// The library context: the one piece of state the controller library keeps,
// reached through one library-wide pointer that the public functions bind.
// Core functions take the context as their first argument.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/base/lib_types.h"

struct AdapterRecord;

// Discovery flag bits.
enum : uint32_t {
  kDiscoverSkipDeviceScan = 0x00000001,
  kDiscoverSkipRaidScan = 0x00000004,
  kDiscoverQmx2Family = 0x02000000,   // bit 25: the first-generation chips on /dev/qmx2ctl
  kDiscoverQmx3Family = 0x04000000,   // bit 26: the second-generation chips on /dev/qmx3ctl
  kDiscoverQvsaFamily = 0x10000000,   // bit 28: the chips on /dev/qvsactl
  kDiscoverCardFamily = 0x20000000,   // bit 29: the card, and the card-only filter
  kDiscoverFilter = 0x80000000,       // bit 31: node and device-ID filter on
};

struct LibContext {
  uint32_t adapterCount;
  AdapterRecord* adapterList;
  uint32_t discoveryFlags;
  uint32_t handleCounter;
  IocStatusInfo lastStatus;
  // The debug printer's level mask (0: silent; nothing in the library sets it)
  // and whether its two explanation lines were printed already.
  uint32_t debugMask;
  uint32_t debugIntroPrinted;
  // The descriptor kept open for asynchronous event notification, when
  // EnableAsyncEvents has set it up.
  uint32_t asyncEventsEnabled;
  int32_t asyncEventDescriptor;
};

// The library-wide context pointer; null until QmxLibOpen.
extern LibContext* g_libContext;

// Frees any context *slot holds (with every record under it), then creates a
// zero-filled context whose handle counter is 1. 0, or 16 (slot then null).
LibStatus CreateLibContext(LibContext** slot);
// The context lives until the process ends: this does nothing.
LibStatus DestroyLibContext(LibContext* context);

// Memory of the library: zero-filled when zeroFill is non-zero; null when
// memory is exhausted. A size of 0 still gives a block that can be freed.
void* QmxAlloc(LibContext* context, uint32_t zeroFill, size_t size);
void QmxFree(LibContext* context, void* block);
