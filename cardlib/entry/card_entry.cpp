// Opening and closing the card library and discovering the cards.
#include "cardlib/libzk.h"
#include "ctl/facade/qmx.h"

uint32_t LibZKOpen() { return QmxLibOpen() == kLibOk ? 1 : 0; }

void LibZKClose() { QmxLibTerm(); }

uint32_t LibZKDiscoverAdapters(uint32_t* count) {
  return QmxDiscoverAdapters(count, kCardDiscoveryFlags) == kLibOk ? 0 : 1;
}
