// The raw flash capacity of a module, in gigabytes, and the maximum LBA
// that an over-provisioning percentage gives a module of that capacity.
#pragma once

#include <cstdint>

// The capacity number of a module from its configuration identifier: fixed
// for the known configurations (type word: one ASCII digit; code word: the
// four ASCII characters of the configuration ID in memory order), else
// measured from the unlocked module's diagnostic identify data. 0, or 1 on
// any failure (capacity untouched).
uint32_t GetSsdCapacity(uint32_t vxHandle, uint32_t ssdHandle, uint32_t modelType,
                        uint32_t configId, uint16_t slot, uint32_t* capacity);

// The fixed capacity number of a known configuration; false for a module
// whose capacity must be measured.
bool FixedSsdCapacity(uint32_t modelType, uint32_t configId, uint32_t* capacity);

// Unlocks the module and reads its diagnostic identify data: capacity =
// sectors (u32 at bytes 256..259) × 512 / 2^30, in single precision and
// truncated. 0, or the failing call's result (capacity untouched).
uint32_t GetSsdCapacityFromIdentify(uint32_t vxHandle, uint32_t ssdHandle, uint16_t slot,
                                    uint32_t* capacity);

// The target maximum LBA of a module of capacity number N formatted with
// over-provisioning P percent (any fraction rounds up).
uint32_t OpMaxLba(uint32_t capacity, uint32_t percentage);
