// Shared helpers of the application tests: the texts the user sees, a run of
// the whole program against an installed emulated card, and host models.
#pragma once

#include <string>
#include <vector>

#include "emu/host/emulator.h"

namespace app_test {

inline const std::string kTitle = "Ulvane Corvexium Management Utility";

// "\n<title>: <text>\n", the shape of the utility's messages.
std::string Message(const std::string& text);
// The five banner lines.
std::string Banner();
// The usage text with the program name.
std::string Usage();
// The message of a command that this build does not carry.
std::string Unavailable(const std::string& option);

// The program's globals back to their start values.
void ResetProgramState();

struct ProgramRun {
  int status = -1;
  std::string output;
};

// Runs TessvarcMain with "tessvarc" and the arguments, standard input given,
// on the emulator installed last (Install one first).
ProgramRun RunProgram(const std::vector<std::string>& arguments, const std::string& input = "");

// A machine whose driver node holds no adapter.
emu::HostModel NoCardHost();
// The default machine with a second card (IOC 1) on the same node.
emu::HostModel TwoCardHost();

}  // namespace app_test
