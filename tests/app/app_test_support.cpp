#include "app_test_support.h"

#include "app/shell/program_entry.h"
#include "app/shell/program_state.h"

namespace app_test {

std::string Message(const std::string& text) { return "\n" + kTitle + ": " + text + "\n"; }

std::string Banner() {
  const std::string stars(76, '*');
  return "\n" + stars + "\n" +
         "   Ulvane Corporation Corvexium Management Utility\n"
         "   Version 111.00.01.00 (2013.09.27) \n"
         "   Copyright (c) 2013 Ulvane Corporation. All rights reserved.\n" +
         stars + "\n";
}

std::string Usage() {
  return "\n  tessvarc <-c controller#> [command] [parameters] \n\n"
         "  <controller #> :  Number between 1 and 256\n\n"
         "  <command> is:\n"
         "      -listall        - Display information about Corvexium(s) in the system (does not need controller number)\n"
         "      -healthall      - Displays health information about Corvexium(s) in the system (does not need controller number)\n"
         "      -list           - Lists information about the selected Corvexium\n"
         "      -updatepkg      - Updates Corvexium flash package \n"
         "      -health         - Display the health of selected Corvexium\n"
         "      -locate         - Locate selected Corvexium in the system\n"
         "      -format         - Format selected Corvexium \n"
         "      -showvpd        - Show Vital Product Data\n"
         "      -getsmartlog    - Extract SMART Logs\n"
         "      -power          - Display/Set power value for selected Corvexium \n"
         "      -f              - Flash Corvexium firmware\n"
         "      -b              - Flash Corvexium Legacy/UEFI BIOS\n"
         "      -flashssd       - Flash SSD firmware\n"
         "      -dump           - Dump raw data\n"
         "      -reset          - Reset Adapter\n"
         "      -resettarget    - Reset Target\n"
         "      -setssdstate    - Set SSD State\n"
         "      -paniclog       - Extract/Erase/Query panic logs\n"
         "      -updatevpd      - Program VPD\n"
         "      -getPowerVal    - Display current power consumption values\n"
         "      -readraw        - Read Physical Page\n"
         "      -help           - Display help(does not need controller number)\n"
         "\n  <parameters> are:\n      Command specific values\n";
}

std::string Unavailable(const std::string& option) {
  return Message("The " + option + " command is not available in this build.");
}

void ResetProgramState() {
  SelectedController = 0;
  ControllerCount = 0;
  SuppressStatus = 0;
  PackageModeFlag = 0;
}

ProgramRun RunProgram(const std::vector<std::string>& arguments, const std::string& input) {
  emu::Emulator& card = emu::Current();
  card.SetInput(input);
  card.TakeOutput();
  std::vector<std::string> words = {"tessvarc"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  ProgramRun run;
  run.status = TessvarcMain(static_cast<int>(words.size()), argv.data());
  run.output = card.TakeOutput();
  return run;
}

emu::HostModel NoCardHost() {
  emu::HostModel host = emu::DefaultHost();
  for (emu::NodeModel& node : host.nodes) node.adapters.clear();
  return host;
}

emu::HostModel TwoCardHost() {
  emu::HostModel host = emu::DefaultHost();
  emu::AdapterModel second = emu::DefaultCorvexium(1);
  second.pciBus = 4;
  host.nodes.front().adapters.push_back(second);
  return host;
}

}  // namespace app_test
