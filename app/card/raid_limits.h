// The RAID limits that volume creation, the health check, the package
// update and the format command use: loaded from IOC page 6 each time one
// of them needs them, with fixed defaults when the page cannot be read.
#pragma once

#include <cstdint>

inline constexpr uint8_t kDefaultExpectedMembers = 10;
inline constexpr uint8_t kDefaultMinMembers = 2;
inline constexpr uint8_t kDefaultMaxPhysDisks = 14;

// The largest number of modules in a RAID0 volume (the expected member
// count), the smallest, and the largest number of physical disks.
extern uint8_t RaidExpectedMembers;
extern uint8_t RaidMinMembers;
extern uint8_t RaidMaxPhysDisks;

// Reads IOC page 6 (current copy); the defaults when it cannot be read or
// is too short for the three limits ("\n%s: Insufficient memory.\n" first
// when its buffer cannot be had).
void LoadIocPage6Limits(uint32_t adapter);
void SetDefaultRaidLimits();
