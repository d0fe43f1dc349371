#include "app/shell/command_table.h"

#include "app/shell/command_operations.h"

// Menu texts of rows 1 to 9 begin with four blanks, those of rows 10 to 19
// with three, so that they line up behind one- and two-digit numbers.
const CommandEntry CommandTable[kCommandTableRows] = {
    {0, "-listall", nullptr, nullptr, nullptr},
    {1, "-list", "    List Corvexium Information\n", ListCommandParse, ListCommandExec},
    {2, "-updatepkg", "    Update Flash Package\n", UpdatePkgCommandParse, UpdatePkgCommandExec},
    {3, "-health", "    Display Corvexium Health\n", HealthCommandParse, HealthCommandExec},
    {4, "-locate", "    Locate Corvexium\n", LocateCommandParse, LocateCommandExec},
    {5, "-format", "    Format Corvexium\n", FormatCommandParse, FormatCommandExec},
    {6, "-showvpd", "    Show Vital Product Data\n", ShowVpdCommandParse, ShowVpdCommandExec},
    {7, "-getsmartlog", "    Extract SMART Logs\n", GetSmartLogCommandParse, GetSmartLogCommandExec},
    {8, "-power", "    Display/Set Power Value\n", PowerCommandParse, PowerCommandExec},
    {9, "-f", "    Flash Corvexium Firmware\n", FlashFirmwareCommandParse, FlashFirmwareCommandExec},
    {10, "-b", "   Flash Corvexium BIOS\n", FlashBiosCommandParse, FlashBiosCommandExec},
    {11, "-flashssd", "   Update SSD Firmware\n", FlashSsdCommandParse, FlashSsdCommandExec},
    {12, "-dump", "   Dump Raw Data\n", DumpCommandParse, DumpCommandExec},
    {13, "-reset", "   Reset Adapter\n", ResetCommandParse, ResetCommandExec},
    {14, "-resettarget", "   Reset Target\n", ResetTargetCommandParse, ResetTargetCommandExec},
    {15, "-setssdstate", "   Set SSD State\n", SetSsdStateCommandParse, SetSsdStateCommandExec},
    {16, "-paniclog", "   Extract/Erase/Query Panic Logs\n", PanicLogCommandParse, PanicLogCommandExec},
    {17, "-updatevpd", "   Program VPD\n", UpdateVpdCommandParse, UpdateVpdCommandExec},
    {18, "-readraw", "   Read Physical Page\n", ReadRawCommandParse, ReadRawCommandExec},
    {19, "-getPowerVal", "   Get Current Power Consumption Values\n", GetPowerValCommandParse,
     GetPowerValCommandExec},
    {0, "-dlc", nullptr, DlcCommandParse, DlcCommandExec},
    {kEndRowId, nullptr, nullptr, nullptr, nullptr},
};

const char* const QuietCommands[] = {"-list", "-health", "NULL"};
