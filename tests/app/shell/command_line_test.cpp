// Every path of the command line, through the program's entry with the
// emulated card installed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "emu/host/emulator.h"

namespace {

using app_test::Banner;
using app_test::Message;
using app_test::RunProgram;
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
  RunCases(
      {
          {"hidden row", {"-c", "1", "-dlc"}, 1,
           Banner() + Message("Invalid command format specified on the command line.") +
               Message("Command terminated -dlc.")},
          {"option as the table spells it", {"-c", "1", "-getpowerval"}, 0,
           Banner() + "Ulvane Corvexium Management Utility:\n This command is not supported for selected card.\n" +
               Message("Execution completed successfully.")},
          {"menu row by its option", {"-c", "1", "-ReSeTtArGeT", "1"}, 2,
           Banner() + kWrongCount + "Usage :\n    tessvarc <-c controller #> -resettarget" +
               Message("Error executing command -resettarget.")},
      },
      emu::DefaultHost);

  // The listing of card 1: one banner (its own, as a quiet command), the
  // card's name, and the final status line; with -json the document alone.
  struct ListCase {
    const char* name;
    std::vector<std::string> arguments;
    bool json;
  };
  const ListCase lists[] = {{"quiet, any case", {"-C", "1", "-LIST"}, false},
                            {"leading digits select", {"-c", "1x", "-list"}, false},
                            {"words after the command go to it", {"-c", "1", "-list", "-json"}, true}};
  const std::string selected = "\nCorvexium Selected is Corvexium\n";
  for (const ListCase& c : lists) {
    emu::Emulator& card = emu::Install(emu::DefaultHost());
    app_test::ResetProgramState();
    app_test::ProgramRun run = RunProgram(c.arguments);
    EXPECT_EQ(run.status, 0) << c.name;
    if (c.json) {
      EXPECT_EQ(run.output.rfind("{\"name\":\"list\",\"vxVersion\":\"111.00.01.00\",\"corvexiumID\":1,", 0), 0u)
          << c.name;
      EXPECT_EQ(run.output.back(), '}') << c.name;
    } else {
      EXPECT_EQ(run.output.rfind(Banner() + selected, 0), 0u) << c.name;
      const std::string done = Message("Execution completed successfully.");
      ASSERT_GE(run.output.size(), done.size()) << c.name;
      EXPECT_EQ(run.output.substr(run.output.size() - done.size()), done) << c.name;
    }
    EXPECT_EQ(SelectedController, 1u) << c.name;
    EXPECT_EQ(card.OpenDescriptors(), 0) << c.name;
  }
}

TEST(CommandLineTest, TheSecondCardIsSelectedByNumberTwo) {
  emu::Install(app_test::TwoCardHost());
  app_test::ResetProgramState();
  app_test::ProgramRun run = RunProgram({"-c", "2", "-showvpd"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output.find(Banner() + "\n-----"), 0u) << run.output;
  EXPECT_NE(run.output.find("\n Product Name   : Ulvane "), std::string::npos) << run.output;
  EXPECT_EQ(SelectedController, 2u);
  EXPECT_EQ(ControllerCount, 2u);

  run = RunProgram({"-c", "3", "-showvpd"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Controller with index 3 not found...!"), std::string::npos);
}

TEST(CommandLineTest, BareTableCommandsExitZeroWhateverTheyReturn) {
  const std::string table =
      "\nID    Corvexium     Package Version    PCI Address    \n"
      "--    ---------     ---------------    -----------    \n"
      "1     Corvexium          14.02.05.00        00:03:00:00\n";
  RunCases({{"listall", {"-listall"}, 0, Banner() + table + Message("Execution completed successfully.")},
            {"listall any case", {"-LISTALL"}, 0, Banner() + table + Message("Execution completed successfully.")}},
           emu::DefaultHost);
  // -healthall reports every card, then the last one's result.
  emu::Install(app_test::TwoCardHost());
  app_test::ResetProgramState();
  app_test::ProgramRun run = RunProgram({"-HealthAll"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("ID = 1 "), std::string::npos);
  EXPECT_NE(run.output.find("ID = 2 "), std::string::npos);
  const std::string done = Message("Execution completed successfully.");
  ASSERT_GE(run.output.size(), done.size());
  EXPECT_EQ(run.output.substr(run.output.size() - done.size()), done);
  EXPECT_EQ(SelectedController, 2u);
}

TEST(CommandLineTest, WithoutArgumentsTheInteractiveModeStartsWithTheTable) {
  const std::string table =
      "\nID    Corvexium     Package Version    PCI Address    \n"
      "--    ---------     ---------------    -----------    \n"
      "1     Corvexium          14.02.05.00        00:03:00:00\n";
  RunCases({{"no arguments", {}, 0, Banner() + table + "\nSelect the Corvexium [1-1 or 0:Quit]: "}},
           emu::DefaultHost);
}

}  // namespace
