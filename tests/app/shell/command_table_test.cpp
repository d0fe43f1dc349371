#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/shell/command_table.h"
#include "app/shell/interactive_mode.h"
#include "app/shell/memory_strings.h"
#include "emu/host/emulator.h"

namespace {

TEST(CommandTableTest, RowsInTheirPlaces) {
  const char* const options[] = {"-listall", "-list", "-updatepkg", "-health", "-locate",
                                 "-format", "-showvpd", "-getsmartlog", "-power", "-f", "-b",
                                 "-flashssd", "-dump", "-reset", "-resettarget", "-setssdstate",
                                 "-paniclog", "-updatevpd", "-readraw", "-getPowerVal", "-dlc"};
  for (size_t row = 0; row < 21; ++row) {
    EXPECT_STREQ(CommandTable[row].option, options[row]) << row;
  }
  // Row 0 is the dispatcher's own; 1-19 are the menu, numbered by their row.
  EXPECT_EQ(CommandTable[0].id, 0);
  EXPECT_EQ(CommandTable[0].menuText, nullptr);
  EXPECT_EQ(CommandTable[0].parse, nullptr);
  EXPECT_EQ(CommandTable[0].execute, nullptr);
  for (size_t row = 1; row <= 19; ++row) {
    EXPECT_EQ(CommandTable[row].id, row);
    ASSERT_NE(CommandTable[row].menuText, nullptr) << row;
    std::string text = CommandTable[row].menuText;
    // Lined up behind one- and two-digit numbers, one line each.
    const std::string indent(row <= 9 ? 4 : 3, ' ');
    EXPECT_EQ(text.rfind(indent, 0), 0u) << row;
    EXPECT_NE(text[indent.size()], ' ') << row;
    EXPECT_EQ(text.find('\n'), text.size() - 1) << row;
  }
  // The hidden row follows the menu; the end row closes the table.
  EXPECT_EQ(CommandTable[20].id, 0);
  EXPECT_EQ(CommandTable[20].menuText, nullptr);
  EXPECT_EQ(CommandTable[21].id, kEndRowId);
  EXPECT_EQ(CommandTable[21].option, nullptr);
  for (size_t row = 1; row <= 20; ++row) {
    EXPECT_NE(CommandTable[row].parse, nullptr) << row;
    EXPECT_NE(CommandTable[row].execute, nullptr) << row;
  }
}

TEST(CommandTableTest, OptionsDifferEvenIgnoringCase) {
  for (size_t a = 0; a < 21; ++a) {
    for (size_t b = a + 1; b < 21; ++b) {
      EXPECT_FALSE(StrEqualNoCase(CommandTable[a].option, CommandTable[b].option)) << a << " " << b;
    }
  }
}

TEST(CommandTableTest, QuietCommandsEndAtTheNullText) {
  EXPECT_STREQ(QuietCommands[0], "-list");
  EXPECT_STREQ(QuietCommands[1], "-health");
  EXPECT_STREQ(QuietCommands[2], "NULL");
}

TEST(CommandTableTest, TheOperationMenuListsRowsOneToNineteen) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  EXPECT_EQ(ShowOperationMenu(), 19u);
  EXPECT_EQ(card.TakeOutput(),
            "\n"
            "1.    List Corvexium Information\n"
            "2.    Update Flash Package\n"
            "3.    Display Corvexium Health\n"
            "4.    Locate Corvexium\n"
            "5.    Format Corvexium\n"
            "6.    Show Vital Product Data\n"
            "7.    Extract SMART Logs\n"
            "8.    Display/Set Power Value\n"
            "9.    Flash Corvexium Firmware\n"
            "10.   Flash Corvexium BIOS\n"
            "11.   Update SSD Firmware\n"
            "12.   Dump Raw Data\n"
            "13.   Reset Adapter\n"
            "14.   Reset Target\n"
            "15.   Set SSD State\n"
            "16.   Extract/Erase/Query Panic Logs\n"
            "17.   Program VPD\n"
            "18.   Read Physical Page\n"
            "19.   Get Current Power Consumption Values\n"
            "\nSelect Operation [1-19 or 0:Quit]: ");
}

}  // namespace
