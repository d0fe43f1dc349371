// The names the utility shows to the user: its title, the first argument of
// almost every message, and the program name that the usage texts print.
#pragma once

inline constexpr char kUtilityTitle[] = "Ulvane Corvexium Management Utility";
inline constexpr char kProgramName[] = "tessvarc";
