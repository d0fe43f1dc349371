// The vendor blocks a flash module keeps or builds: the configuration image
// and the format settings (a new module's, until the host writes its own),
// the diagnostic information block with its unlock challenge, and the
// diagnostic identify data. Built from the module's identity, laid out by
// emu/modules/ata_layouts.h.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/raid/device_model.h"

namespace emu {

// A new module's configuration image: its own tag, model type and
// configuration ID, customer IDs 148/2, standard media erase, DLC off
// (control word 1, states 0) and the Max LBA group telling its native size.
std::vector<uint8_t> DefaultConfigImage(const ModuleModel& module);
// The image the module holds: the written one, else the default.
std::vector<uint8_t> ConfigImage(const ModuleModel& module);
// Stores an image write (3072 bytes for the bytes from 512 on). The Max
// LBA group sets the module's native size (flag B 1 and a value not 0): a
// smaller native size takes the current maximum down with it.
void WriteConfigImage(ModuleModel& module, const std::vector<uint8_t>& bytes);

// The format settings: the block length at 4 and the native size at 62.
std::vector<uint8_t> DefaultFormatSettings(const ModuleModel& module);
std::vector<uint8_t> FormatSettings(const ModuleModel& module);
// Stores a write of the record's first bytes (1536).
void WriteFormatSettings(ModuleModel& module, const std::vector<uint8_t>& bytes);

// The 256-byte challenge number `counter` of a module: random-looking, the
// same for the same module and counter in every run.
std::vector<uint8_t> UnlockChallenge(const ModuleModel& module, uint32_t counter);
// The diagnostic information block with this challenge in bytes 256-511.
std::vector<uint8_t> DiagInfoBlock(const ModuleModel& module, const std::vector<uint8_t>& challenge);
std::vector<uint8_t> DiagIdentifyData(const ModuleModel& module);

}  // namespace emu
