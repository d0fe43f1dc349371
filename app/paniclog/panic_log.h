// -paniclog: lists, extracts into files and erases the panic slots of every
// module of the selected card (vendor SCT action 0xC601). The operations
// beneath the command, for the command's own files and its tests.
#pragma once

#include <cstdint>

#include "app/shell/command_context.h"

// The command's argument record.
struct PanicLogOptions {
  uint32_t function;  // kPanicExtract, kPanicErase, kPanicQuery
};

enum : uint32_t {
  kPanicExtract = 1,
  kPanicErase = 2,
  kPanicQuery = 3,
};

// Modes of ReadPanicLog.
enum : uint32_t {
  kPanicModeQuery = 0,
  kPanicModeExtract = 1,
  kPanicModeErase = 2,
};

// The query (parameter, 1024 bytes read) into out (copyLength bytes, at
// most 1024). With print: the table of the four slots (detail 0) or each
// header field by field (detail 1). The SCT status: 0, or that of the
// failed step.
uint32_t QueryPanicSlots(uint32_t vxHandle, uint32_t ssdHandle, uint8_t parameter, uint32_t detail, uint8_t* out,
                         uint32_t copyLength, bool print);

// True when the header of panic slot n (in the first 144 bytes of a query
// answer) has Valid and CRC both 1.
bool PanicSlotExtractable(const uint8_t* headers, uint32_t panicSlot);

// The name of a slot's panic file, blanks removed, into name (512 bytes).
// 0, or 1 when a part could not be read or the name would not fit (name
// then empty).
uint32_t BuildPanicLogFileName(uint32_t vxHandle, uint16_t slot, uint16_t panicSlot, char* name);

// One module slot's panic slot: query (mode 0, with the parameter), extract
// into its file, or erase. 0 done (or declined at the prompt), else the
// failure's status (1 for a file that could not be created or written).
uint32_t ReadPanicLog(uint32_t vxHandle, uint16_t slot, uint32_t mode, uint32_t parameter, uint16_t panicSlot,
                      bool verbose);

// The drivers over the card's module slots. 0 when every module present
// was handled, 1 when any query, read, file or erase failed.
uint32_t QuerySataPanics(uint32_t vxHandle);
uint32_t ExtractSataPanics(uint32_t vxHandle);
uint32_t EraseSataPanics(uint32_t vxHandle);
uint32_t QuerySasPanics(uint32_t vxHandle);
uint32_t ExtractSasPanics(uint32_t vxHandle);
uint32_t EraseSasPanics(uint32_t vxHandle);
