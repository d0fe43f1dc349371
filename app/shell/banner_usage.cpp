#include "app/shell/banner_usage.h"

#include "app/shell/console.h"
#include "app/shell/utility_names.h"

namespace {

constexpr char kVersion[] = "111.00.01.00";
constexpr char kBuildDate[] = "2013.09.27";

struct UsageLine {
  const char* option;
  const char* description;
};

// In the order the user reads them; -dlc is not shown.
constexpr UsageLine kUsageLines[] = {
    {"-listall", "Display information about Corvexium(s) in the system (does not need controller number)"},
    {"-healthall", "Displays health information about Corvexium(s) in the system (does not need controller number)"},
    {"-list", "Lists information about the selected Corvexium"},
    {"-updatepkg", "Updates Corvexium flash package "},
    {"-health", "Display the health of selected Corvexium"},
    {"-locate", "Locate selected Corvexium in the system"},
    {"-format", "Format selected Corvexium "},
    {"-showvpd", "Show Vital Product Data"},
    {"-getsmartlog", "Extract SMART Logs"},
    {"-power", "Display/Set power value for selected Corvexium "},
    {"-f", "Flash Corvexium firmware"},
    {"-b", "Flash Corvexium Legacy/UEFI BIOS"},
    {"-flashssd", "Flash SSD firmware"},
    {"-dump", "Dump raw data"},
    {"-reset", "Reset Adapter"},
    {"-resettarget", "Reset Target"},
    {"-setssdstate", "Set SSD State"},
    {"-paniclog", "Extract/Erase/Query panic logs"},
    {"-updatevpd", "Program VPD"},
    {"-getPowerVal", "Display current power consumption values"},
    {"-readraw", "Read Physical Page"},
    {"-help", "Display help(does not need controller number)"},
};

}  // namespace

void PrintBanner() {
  ConsolePrint("\n****************************************************************************\n");
  ConsolePrint("   Ulvane Corporation Corvexium Management Utility\n");
  ConsolePrint("   Version %s (%s) \n", kVersion, kBuildDate);
  ConsolePrint("   Copyright (c) 2013 Ulvane Corporation. All rights reserved.\n");
  ConsolePrint("****************************************************************************\n");
}

void PrintUsage() {
  ConsolePrint(
      "\n  %s <-c controller#> [command] [parameters] \n\n"
      "  <controller #> :  Number between 1 and 256\n\n"
      "  <command> is:\n",
      kProgramName);
  for (const UsageLine& line : kUsageLines) {
    ConsolePrint("      %-16s- %s\n", line.option, line.description);
  }
  ConsolePrint("\n  <parameters> are:\n      Command specific values\n");
}
