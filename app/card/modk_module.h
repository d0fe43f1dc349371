// The "MODK" modules, told apart by their diagnostic information: the
// configuration "1591" with model type '4' (4K-optimized) or '8'
// (8K-optimized). They keep a shorter system event log, take no panic
// erase and no power setting.
#pragma once

#include <cstdint>

enum class ModkKind { kNone, k4kOptimized, k8kOptimized };

// The kind of the module whose diagnostic information (at least
// diag_info::kReadSize bytes) this is.
ModkKind ModkKindOf(const uint8_t* diagInfo);

inline bool IsModkModule(const uint8_t* diagInfo) { return ModkKindOf(diagInfo) != ModkKind::kNone; }
