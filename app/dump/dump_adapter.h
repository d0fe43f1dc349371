// -dump: one text file with the controller's versions, its IOC FACTS and
// PORT FACTS replies, every configuration page it offers and each module's
// identify, SMART and log data, binary data as hex blocks.
#pragma once

#include <cstdint>

// The argument record: the file name as the user gave it.
inline constexpr uint32_t kDumpFileNameSize = 512;
struct DumpOptions {
  char fileName[kDumpFileNameSize];
};

// Writes the dump of the adapter to the file (created or truncated). 0; 1
// when the file cannot be opened or a module's protocol cannot be read;
// the module count's failure otherwise. The file is closed on every path.
uint32_t DumpAdapter(uint32_t adapterIndex, const char* fileName);
