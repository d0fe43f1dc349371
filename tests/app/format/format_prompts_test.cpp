#include <gtest/gtest.h>

#include <string>

#include "app/format/format_prompts.h"
#include "app/shell/keyboard_input.h"
#include "app_test_support.h"
#include "emu/host/emulator.h"

namespace {

using app_test::Message;

const std::string kWarning =
    "\nWARNING: Formatting will result in loss of all data on the selected Corvexium device. "
    "Type YES if you would like to continue, or any other key to abort the request: ";
const std::string kAborted = Message("Operation aborted.");
const std::string kFirstMenu =
    "\n1. Predefined  provisioning value\n2. Max LBA value\n3. Over provisioning percentage\n"
    "\nSelect the over provisioning option [1-3 or 0:Quit]: ";
const std::string kSecondMenu =
    "\t1. Performance over provisioning\n\t2. Nominal over provisioning\n"
    "\t3. Max capacity over provisioning\n"
    "\nSelect the predefined over provisioning option [1-3 or 0:Quit]: ";

class FormatPromptsTest : public ::testing::Test {
 protected:
  void SetUp() override { card_ = &emu::Install(emu::DefaultHost()); }
  emu::Emulator* card_ = nullptr;
};

TEST_F(FormatPromptsTest, ConfirmFormatWantsYesInAnyCase) {
  struct Case {
    const char* input;
    uint32_t result;
    std::string after;  // printed after the warning
  };
  const Case cases[] = {
      {"YES\n", 0, ""},
      {"yes\n", 0, ""},
      {"Yes\n", 0, ""},
      {"y\n", 1, kAborted},
      {"YES \n", 1, kAborted},
      {"\n", 1, kAborted},
      {"no\n", 1, kAborted},
      {"YES\t\n", 1, Message("Invalid entry.") + kAborted},
      {"", 1, kAborted},  // the end of input declines
  };
  for (const Case& c : cases) {
    card_->SetInput(c.input);
    EXPECT_EQ(ConfirmFormat(), c.result) << '"' << c.input << '"';
    EXPECT_EQ(card_->TakeOutput(), kWarning + c.after) << '"' << c.input << '"';
  }
}

TEST_F(FormatPromptsTest, SelectOverProvisioningCombinesBothMenus) {
  struct Case {
    const char* input;
    uint32_t result;
    uint32_t choice;
    bool secondMenu;
  };
  const Case cases[] = {
      {"2\n", 0, kOverProvisionMaxLba, false},
      {"3\n", 0, kOverProvisionPercentage, false},
      {"0\n", 0, kOverProvisionQuit, false},
      {"1\n1\n", 0, kOverProvisionPerformance, true},
      {"1\n2\n", 0, kOverProvisionNominal, true},
      {"1\n3\n", 0, kOverProvisionMaxCapacity, true},
      {"1\n0\n", 0, kOverProvisionQuit, true},
      {"7\n", 1, 7, false},
      {"1\n9\n", 1, 9, true},
      {"", 0, kOverProvisionQuit, false},
      {"1\n", 0, kOverProvisionQuit, true},
  };
  for (const Case& c : cases) {
    card_->SetInput(c.input);
    uint32_t choice = 99;
    EXPECT_EQ(SelectOverProvisioning(&choice), c.result) << '"' << c.input << '"';
    EXPECT_EQ(choice, c.choice) << '"' << c.input << '"';
    std::string output = card_->TakeOutput();
    EXPECT_EQ(output.rfind(kFirstMenu, 0), 0u) << output;
    EXPECT_EQ(output.find(kSecondMenu) != std::string::npos, c.secondMenu) << '"' << c.input << '"';
  }
}

}  // namespace
