// Names of the files that the log commands write for one module: a prefix
// chosen by the command, then as asked the module's slot, cage and
// location, an identifier of the module and a date stamp, and ".bin".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The room every generated name (directory included) must fit in, with its
// terminator.
inline constexpr size_t kLogFileNameSize = 512;

// Which parts a name carries: each 0 (leave out) or non-zero (add).
struct LogNameOptions {
  uint8_t cage;
  uint8_t location;
  uint8_t slot;
  uint8_t ataSerial;  // SATA modules: IDENTIFY DEVICE words 10-19
  uint8_t configId;   // SATA modules: the configuration identifier of the diagnostic information
  uint8_t unused;
  uint8_t date;       // local time when the name is built
};
static_assert(sizeof(LogNameOptions) == 7);

// Builds prefix[_slotNN][_cageNN][_Location][_id...][_DDMMYYYY_hhmmss].bin
// into name (size bytes; the spaces and tabs of the whole name taken out). A
// module that speaks SAS always adds its unit serial number. What a module
// hands over (serial numbers) keeps only letters, digits, '-' and '_', so
// no part of a name can name another directory. 0; 1 with name empty when a
// module query or the clock fails, or the name does not fit in size bytes
// (it is never cut).
uint32_t BuildLogFileName(uint32_t vxHandle, uint32_t ssdHandle, const char* prefix, uint32_t slot,
                          const LogNameOptions& options, char* name, size_t size = kLogFileNameSize);

// "directory/name" into path (size bytes), or name alone when the directory
// is empty. False, with path empty, when it does not fit.
bool JoinLogPath(const char* directory, const char* name, char* path, size_t size = kLogFileNameSize);

// Appends a part of a name that comes from a module (a serial number): up
// to its first NUL, only letters, digits, '-' and '_', the characters that
// cannot lead out of a directory or into a hidden one.
void AppendModuleText(std::string* name, const uint8_t* text, size_t length);
