// The parse and execute operations of the commands of the command table.
#pragma once

#include "app/shell/command_context.h"

int ListCommandParse(int count, char** words, CommandContext* context);
int ListCommandExec(CommandContext* context);
int UpdatePkgCommandParse(int count, char** words, CommandContext* context);
int UpdatePkgCommandExec(CommandContext* context);
int HealthCommandParse(int count, char** words, CommandContext* context);
int HealthCommandExec(CommandContext* context);
int LocateCommandParse(int count, char** words, CommandContext* context);
int LocateCommandExec(CommandContext* context);
int FormatCommandParse(int count, char** words, CommandContext* context);
int FormatCommandExec(CommandContext* context);
int ShowVpdCommandParse(int count, char** words, CommandContext* context);
int ShowVpdCommandExec(CommandContext* context);
int GetSmartLogCommandParse(int count, char** words, CommandContext* context);
int GetSmartLogCommandExec(CommandContext* context);
int PowerCommandParse(int count, char** words, CommandContext* context);
int PowerCommandExec(CommandContext* context);
int FlashFirmwareCommandParse(int count, char** words, CommandContext* context);
int FlashFirmwareCommandExec(CommandContext* context);
int FlashBiosCommandParse(int count, char** words, CommandContext* context);
int FlashBiosCommandExec(CommandContext* context);
int FlashSsdCommandParse(int count, char** words, CommandContext* context);
int FlashSsdCommandExec(CommandContext* context);
int DumpCommandParse(int count, char** words, CommandContext* context);
int DumpCommandExec(CommandContext* context);
int ResetCommandParse(int count, char** words, CommandContext* context);
int ResetCommandExec(CommandContext* context);
int ResetTargetCommandParse(int count, char** words, CommandContext* context);
int ResetTargetCommandExec(CommandContext* context);
int SetSsdStateCommandParse(int count, char** words, CommandContext* context);
int SetSsdStateCommandExec(CommandContext* context);
int PanicLogCommandParse(int count, char** words, CommandContext* context);
int PanicLogCommandExec(CommandContext* context);
int UpdateVpdCommandParse(int count, char** words, CommandContext* context);
int UpdateVpdCommandExec(CommandContext* context);
int ReadRawCommandParse(int count, char** words, CommandContext* context);
int ReadRawCommandExec(CommandContext* context);
int GetPowerValCommandParse(int count, char** words, CommandContext* context);
int GetPowerValCommandExec(CommandContext* context);
int DlcCommandParse(int count, char** words, CommandContext* context);
int DlcCommandExec(CommandContext* context);
