// The interactive mode's two menus, driven by typed input.
#include <gtest/gtest.h>

#include <string>

#include "app/shell/interactive_mode.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/program_state.h"
#include "app_test_support.h"
#include "cardlib/libzk.h"
#include "emu/host/emulator.h"

namespace {

using app_test::Message;

const std::string kInvalid = Message("Invalid entry.");
const std::string kOperationPrompt = "\nSelect Operation [1-19 or 0:Quit]: ";

int g_listings = 0;
int g_listingResult = 0;

int CountingListing() {
  ++g_listings;
  return g_listingResult;
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class InteractiveTest : public ::testing::Test {
 protected:
  void Start(emu::HostModel host) {
    card_ = &emu::Install(std::move(host));
    app_test::ResetProgramState();
    ASSERT_EQ(LibZKOpen(), 1u);
    ASSERT_EQ(LibZKDiscoverAdapters(&ControllerCount), 0u);
    g_listings = 0;
    g_listingResult = 0;
    card_->TakeOutput();
  }
  void SetUp() override { Start(app_test::TwoCardHost()); }
  void TearDown() override { LibZKClose(); }
  emu::Emulator* card_ = nullptr;
};

TEST_F(InteractiveTest, ControllerPromptLoops) {
  const std::string prompt = "\nSelect the Corvexium [1-2 or 0:Quit]: ";
  struct Case {
    const char* name;
    std::string input;
    int listings;
    size_t invalid;
    size_t menus;
  };
  const Case cases[] = {
      {"quit at once", "0\n", 1, 0, 0},
      {"end of input quits", "", 1, 0, 0},
      {"invalid entries list again", "7x\n\n3\n-1\n 1\n0\n", 6, 5, 0},
      {"beyond 32 bits", "4294967297\n0\n", 2, 1, 0},
      {"overlong line is dropped whole", std::string(300, '1') + "\n0\n", 2, 1, 0},
      {"operation menu then the list again", "1\n0\n2\n0\n0\n", 3, 0, 2},
      {"end of input in the operation menu ends both", "2\n", 2, 0, 1},
  };
  for (const Case& c : cases) {
    card_->SetInput(c.input);
    g_listings = 0;
    EXPECT_EQ(RunControllerLoop(CountingListing), 0) << c.name;
    std::string output = card_->TakeOutput();
    EXPECT_EQ(g_listings, c.listings) << c.name;
    EXPECT_EQ(Occurrences(output, prompt), static_cast<size_t>(c.listings)) << c.name;
    EXPECT_EQ(Occurrences(output, kInvalid), c.invalid) << c.name;
    EXPECT_EQ(Occurrences(output, kOperationPrompt), c.menus) << c.name;
  }
}

TEST_F(InteractiveTest, TheMenuOfTheChosenController) {
  card_->SetInput("2\n0\n0\n");
  EXPECT_EQ(RunControllerLoop(CountingListing), 0);
  EXPECT_EQ(SelectedController, 2u);
}

TEST_F(InteractiveTest, AFailingListingEndsWithOne) {
  g_listingResult = 1;
  card_->SetInput("1\n");
  EXPECT_EQ(RunControllerLoop(CountingListing), 1);
  EXPECT_EQ(g_listings, 1);
  EXPECT_EQ(card_->TakeOutput(), "");
}

TEST_F(InteractiveTest, OperationMenuLoops) {
  struct Case {
    const char* name;
    std::string input;
    size_t menus;
    size_t invalid;
  };
  const Case cases[] = {
      {"quit", "0\n", 1, 0},
      {"end of input", "", 1, 0},
      {"invalid entries show the menu again", "7x\n\n20\n-dlc\n0\n", 5, 4},
      {"end of input after an invalid entry", "99\n", 2, 1},
  };
  for (const Case& c : cases) {
    SelectedController = 1;
    card_->SetInput(c.input);
    RunOperationMenu();
    std::string output = card_->TakeOutput();
    EXPECT_EQ(Occurrences(output, kOperationPrompt), c.menus) << c.name;
    EXPECT_EQ(Occurrences(output, kInvalid), c.invalid) << c.name;
    EXPECT_EQ(output.find("Execution"), std::string::npos) << c.name;
  }
}

TEST_F(InteractiveTest, AFailingCommandBringsTheMenuBack) {
  // A board with power sensors whose readings cannot be read: -getPowerVal fails.
  emu::HostModel host = app_test::TwoCardHost();
  host.FirstAdapter()->boardType = 11;
  host.FirstAdapter()->pages = emu::DefaultPages(*host.FirstAdapter());
  Start(std::move(host));
  card_->RemovePage(15, 222, 0x1A);
  card_->RemovePage(9, 1, 0);  // and -showvpd has no page to read
  SelectedController = 1;
  card_->SetInput("6\n19\n0\n");
  RunOperationMenu();
  std::string output = card_->TakeOutput();
  const std::string vpdFailed = Message("VPD Read Failed") + Message("Execution failed.");
  const std::string powerFailed =
      "Ulvane Corvexium Management Utility: Unable to retrieve power attributes \n" + Message("Execution failed.");
  size_t vpd = output.find(kOperationPrompt + vpdFailed + "\n1.    List");
  ASSERT_NE(vpd, std::string::npos) << output;
  EXPECT_NE(output.find(kOperationPrompt + powerFailed + "\n1.    List", vpd), std::string::npos) << output;
  EXPECT_EQ(Occurrences(output, kOperationPrompt), 3u);
  EXPECT_EQ(output.find("completed successfully"), std::string::npos);
  EXPECT_EQ(output.find("Error executing"), std::string::npos);
}

TEST_F(InteractiveTest, AControllerThatDoesNotAnswerHasNoMenu) {
  SelectedController = 3;
  card_->SetInput("1\n");
  RunOperationMenu();
  EXPECT_EQ(card_->TakeOutput(), app_test::kTitle + ": Controller with index 3 not found!\n" +
                                     Message("Failed getting controller information."));
  EXPECT_EQ(ReadChar(), '1');  // nothing was asked
}

}  // namespace
