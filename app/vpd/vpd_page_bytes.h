// How much of manufacturing page 1 a read brought: the length its own header
// announces (the bytes a write-back sends), never more than the buffer.
#pragma once

#include <cstddef>
#include <cstdint>

size_t VpdPageBytes(const uint8_t* page, size_t bufferSize);
