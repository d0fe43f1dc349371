// Every path of the command line, through the program's entry with the
// emulated card installed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_state.h"
#include "app_test_support.h"
#include "emu/emulator.h"

namespace {

using app_test::Banner;
using app_test::Message;
using app_test::RunProgram;
using app_test::Unavailable;
using app_test::Usage;

const std::string kInvalidFormat = Message("Invalid command format specified on the command line.");
const std::string kWrongCount = Message("Incorrect number of command line parameters.");
const std::string kNoControllers = Message("No controllers found.");

struct Case {
  const char* name;
  std::vector<std::string> arguments;
  int status;
  std::string output;
};

void RunCases(const std::vector<Case>& cases, emu::HostModel (*host)()) {
  for (const Case& c : cases) {
    emu::Emulator& card = emu::Install(host());
    app_test::ResetProgramState();
    app_test::ProgramRun run = RunProgram(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_EQ(run.output, c.output) << c.name;
    EXPECT_EQ(card.OpenDescriptors(), 0) << c.name;
  }
}

TEST(CommandLineTest, HelpInAnyCaseBeforeAnythingIsOpened) {
  for (emu::HostModel (*host)() : {emu::DefaultHost, app_test::NoCardHost}) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"-help"}, {"-HELP"}, {"-HeLp", "-c", "1", "-list"}}) {
      emu::Emulator& card = emu::Install(host());
      app_test::ProgramRun run = RunProgram(arguments);
      EXPECT_EQ(run.status, 0) << arguments[0];
      EXPECT_EQ(run.output, Banner() + Usage()) << arguments[0];
      EXPECT_EQ(card.NodeOpens(), 0u) << arguments[0];
      EXPECT_TRUE(card.log().empty()) << arguments[0];
    }
  }
}

TEST(CommandLineTest, NoCardPresent) {
  RunCases({{"with a command", {"-c", "1", "-health"}, 0, Banner() + kNoControllers},
            {"listall", {"-listall"}, 0, Banner() + kNoControllers},
            {"bad words are not looked at", {"-x"}, 0, Banner() + kNoControllers},
            {"no arguments", {}, 0, Banner() + kNoControllers}},
           app_test::NoCardHost);
}

TEST(CommandLineTest, DispatcherChecksInOrder) {
  auto invalidArgument = [](const std::string& typed) {
    return Banner() + Message("Invalid argument: " + typed + ".");
  };
  RunCases(
      {
          {"single argument other than listall", {"-list"}, 1, Banner() + kInvalidFormat},
          {"listall extra", {"-listall", "extra"}, 1, Banner() + kWrongCount + Usage()},
          {"controller without command", {"-c", "1"}, 1, Banner() + kWrongCount + Usage()},
          {"missing -c", {"-x", "1", "-list"}, 1, Banner() + kInvalidFormat + Usage()},
          {"controller 0", {"-c", "0", "-list"}, 1, invalidArgument("0")},
          {"controller 257", {"-c", "257", "-list"}, 1, invalidArgument("257")},
          {"controller text", {"-c", "abc", "-list"}, 1, invalidArgument("abc")},
          {"controller beyond 32 bits", {"-c", "4294967297", "-list"}, 1,
           invalidArgument("4294967297")},
          {"controller far beyond 32 bits", {"-c", "18446744073709551617", "-list"}, 1,
           invalidArgument("18446744073709551617")},
          {"negative controller", {"-c", "-4294967295", "-list"}, 1, invalidArgument("-4294967295")},
          {"controller not present", {"-c", "2", "-list"}, 1,
           Banner() + app_test::kTitle + ": Controller with index 2 not found...!\n" +
               Message("Failed getting controller information.")},
          {"unknown command", {"-c", "1", "-bogus"}, 1, Banner() + kInvalidFormat + Usage()},
          {"listall is no command after -c", {"-c", "1", "-listall"}, 1,
           Banner() + kInvalidFormat + Usage()},
          {"help is no command after -c", {"-c", "1", "-help"}, 1,
           Banner() + kInvalidFormat + Usage()},
      },
      emu::DefaultHost);
}

TEST(CommandLineTest, CommandsRunOnTheSelectedController) {
  const std::string listFailed = Unavailable("-list") + Message("Error executing command -list.");
  RunCases(
      {
          {"quiet, any case", {"-C", "1", "-LIST"}, 1, listFailed},
          {"leading digits select", {"-c", "1x", "-list"}, 1, listFailed},
          {"words after the command go to it", {"-c", "1", "-list", "-json"}, 1, listFailed},
          {"hidden row", {"-c", "1", "-dlc"}, 1,
           Banner() + Unavailable("-dlc") + Message("Error executing command -dlc.")},
          {"option as the table spells it", {"-c", "1", "-getpowerval"}, 1,
           Banner() + Unavailable("-getPowerVal") + Message("Error executing command -getPowerVal.")},
          {"menu row by its option", {"-c", "1", "-ReSeTtArGeT", "1"}, 1,
           Banner() + Unavailable("-resettarget") + Message("Error executing command -resettarget.")},
      },
      emu::DefaultHost);
}

TEST(CommandLineTest, TheSecondCardIsSelectedByNumberTwo) {
  emu::Install(app_test::TwoCardHost());
  app_test::ResetProgramState();
  app_test::ProgramRun run = RunProgram({"-c", "2", "-showvpd"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, Banner() + Unavailable("-showvpd") + Message("Error executing command -showvpd."));
  EXPECT_EQ(SelectedController, 2u);
  EXPECT_EQ(ControllerCount, 2u);

  run = RunProgram({"-c", "3", "-showvpd"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Controller with index 3 not found...!"), std::string::npos);
}

TEST(CommandLineTest, BareTableCommandsExitZeroWhateverTheyReturn) {
  RunCases({{"listall", {"-listall"}, 0, Banner() + Unavailable("-listall")},
            {"listall any case", {"-LISTALL"}, 0, Banner() + Unavailable("-listall")},
            {"healthall", {"-HealthAll"}, 0, Banner() + Unavailable("-healthall")}},
           emu::DefaultHost);
}

TEST(CommandLineTest, WithoutArgumentsTheInteractiveModeStartsWithTheTable) {
  // The controller table of this build fails, which ends the interactive mode.
  RunCases({{"no arguments", {}, 1, Banner() + Unavailable("-listall")}}, emu::DefaultHost);
}

}  // namespace
