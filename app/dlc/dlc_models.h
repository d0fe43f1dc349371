// Which modules take DLC, and the Max LBA value each is given.
#pragma once

#include <cstdint>

enum class DlcSizeClass { kUnsupported, kHalf, kFull };

// By the module's configuration identifier (type word: one ASCII digit;
// code word: the four characters of the configuration ID in memory order).
DlcSizeClass DlcModelClass(uint32_t modelType, uint32_t configId);

// The sectors a module of that class reports with DLC enabled or disabled.
uint32_t DlcMaxLbaValue(DlcSizeClass sizeClass, uint8_t enable);
