// The dump's hex writer and the lengths it is given: rows as the file
// shows them, and page and reply lengths kept within the bytes read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dump/config_page_dump.h"
#include "app/dump/hex_block.h"
#include "app/shell/file_slots.h"

namespace {

TEST(HexBlock, RowsOfFourBytes) {
  std::vector<uint8_t> bytes(20, 0);
  bytes[16] = 0x41;
  bytes[17] = 0x42;
  bytes[18] = 0x43;
  bytes[19] = 0x00;
  std::string text = HexBlockText(bytes.data(), 20, "Title");
  EXPECT_EQ(text.substr(0, 7), "\nTitle\n");
  EXPECT_NE(text.find("0010 : 00434241    ABC.\n"), std::string::npos);
  EXPECT_EQ(text.size(), 7 + 5 * 24u);
  // no title: rows only; a length short of a whole group writes no part row
  EXPECT_EQ(HexBlockText(bytes.data(), 6, nullptr), "0000 : 00000000    ....\n");
  EXPECT_EQ(HexBlockText(bytes.data(), 0, "T"), "\nT\n");
  const uint8_t marks[4] = {0x7E, 0x7F, 0x20, 0x1F};
  EXPECT_EQ(HexBlockText(marks, 4, nullptr), "0000 : 1f207f7e    ~. .\n");
  // offsets past 0xffff keep growing
  std::vector<uint8_t> big(0x10004, 0);
  std::string long_text = HexBlockText(big.data(), static_cast<uint32_t>(big.size()), nullptr);
  EXPECT_NE(long_text.find("\n10000 : 00000000    ....\n"), std::string::npos);
}

TEST(HexBlock, LengthsKeptWithinWhatWasRead) {
  const struct {
    uint32_t announced;
    uint32_t available;
    uint32_t used;
  } cases[] = {{64, 64, 64}, {1020, 28, 28}, {0, 28, 0}, {24, 28, 24}};
  for (const auto& c : cases) EXPECT_EQ(ClampHexLength(c.announced, c.available), c.used);
}

// A page whose header announces more than was read is written as far as it
// was read: standard pages by their length byte, extended pages by their
// extended length.
TEST(HexBlock, PageLengthFromItsHeaderWithinTheBytesRead) {
  struct Case {
    std::vector<uint8_t> header;
    uint32_t size;
    size_t rows;
  };
  const Case cases[] = {
      {{0x00, 0x03, 0x00, 0x01}, 16, 3},                            // 3 words
      {{0x00, 0xFF, 0x00, 0x01}, 16, 4},                            // 255 words announced, 16 bytes read
      {{0x00, 0x00, 0x00, 0x0F, 0x05, 0x00, 0x12, 0x00}, 32, 5},   // extended: 5 words
      {{0x00, 0x00, 0x00, 0x0F, 0xFF, 0xFF, 0x12, 0x00}, 32, 8},   // 65535 words announced
      {{0x00, 0x00, 0x00, 0x3F, 0x02, 0x00, 0x12, 0x00}, 32, 2},   // type flags above the low four bits
      {{0x00, 0x04}, 2, 0},                                         // shorter than a header
  };
  const char* path = "hex_block_test.txt";
  for (const Case& c : cases) {
    std::vector<uint8_t> page(c.size, 0xAA);
    std::copy(c.header.begin(), c.header.end(), page.begin());
    uint32_t size = 0;
    uint32_t file = FileOpen(path, "w", &size);
    ASSERT_NE(file, kInvalidFileHandle);
    EXPECT_TRUE(DumpConfigPageHex(file, "P", page.data(), c.size));
    FileClose(file);
    file = FileOpen(path, "r", &size);
    std::string text(size, '\0');
    FileReadAll(file, size, text.data());
    FileClose(file);
    EXPECT_EQ(text.size(), 3 + 24 * c.rows) << c.rows;
  }
  FileRemove(path);
}

}  // namespace
