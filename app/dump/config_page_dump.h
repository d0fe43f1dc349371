// The controller's configuration pages in the dump file: each page a hex
// block under its title. The fixed families read pages by number at page
// address 0; the walking families go from instance to instance, each page
// naming the next. Nothing here stops the dump: a page the controller does
// not have is left out, a fixed page that cannot be read is noted in the
// file, and memory shortage is said on the console.
#pragma once

#include <cstdint>

#include "cardlib/libzk.h"
#include "ctl/base/handle_walk.h"

// What every dumper is given: the dump file, the adapter handle that
// addresses the pages, the status of the last page read, and the highest
// DevHandle the controller hands out (IOC FACTS), which bounds the walks.
struct PageDumpTarget {
  uint32_t file;
  uint32_t adapter;
  uint16_t* iocStatus;
  uint32_t* iocLogInfo;
  uint32_t maxDevHandle = kHighestDevHandle;
};

// The page as a hex block under the title: 4 x the length its header
// announces (extended: the extended length), never more than the `size`
// bytes read.
bool DumpConfigPageHex(uint32_t file, const char* title, const uint8_t* page, uint32_t size);

// One page of a fixed family. 1 written or absent; 0 when it cannot be read
// (noted in the file) or memory runs out.
uint32_t DumpConfigPage(const PageDumpTarget& target, uint8_t pageType, uint8_t pageNumber, uint8_t extType,
                        uint8_t action, uint32_t pageAddress);

// The families, in the order the dump writes them. Each answers 1, or 0
// when memory ran out.
uint32_t DumpManufacturingPages(const PageDumpTarget& target);
uint32_t DumpIoUnitPages(const PageDumpTarget& target);
uint32_t DumpIocPages(const PageDumpTarget& target);
uint32_t DumpBiosPages(const PageDumpTarget& target);
uint32_t DumpRaidVolumePages(const PageDumpTarget& target);
uint32_t DumpRaidPhysDiskPages(const PageDumpTarget& target);
uint32_t DumpRaidConfigPages(const PageDumpTarget& target);
uint32_t DumpEthernetPages(const PageDumpTarget& target);
uint32_t DumpSasIoUnitPages(const PageDumpTarget& target);
uint32_t DumpSasExpanderPages(const PageDumpTarget& target);
uint32_t DumpSasPortPages(const PageDumpTarget& target);
uint32_t DumpSasDevicePages(const PageDumpTarget& target);
uint32_t DumpSasPhyPages(const PageDumpTarget& target);
uint32_t DumpSasEnclosurePages(const PageDumpTarget& target);
uint32_t DumpControllerLogPages(const PageDumpTarget& target);
uint32_t DumpDriverMappingPage(const PageDumpTarget& target);

// Every family in order; the RAID families only for a controller with
// integrated RAID.
void DumpAllConfigPages(const PageDumpTarget& target, bool integratedRaid);
