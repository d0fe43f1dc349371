#include "tests/cardlib/cardlib_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cardlib/libzk.h"

namespace cardlib_test {

emu::HostModel CardFile(const std::string& name) {
  std::string folder = TESSVARC_CARDS_DIR;
  std::ifstream in(folder + "/" + name + ".txt");
  std::stringstream text;
  text << in.rdbuf();
  emu::HostModel host;
  std::string error;
  EXPECT_TRUE(in && emu::ParseHostFile(text.str(), folder, &host, &error)) << name << ": " << error;
  return host;
}

OpenedCard OpenCard(emu::HostModel host) {
  OpenedCard opened;
  opened.card = &emu::Install(std::move(host));
  EXPECT_EQ(LibZKOpen(), 1u);
  uint32_t count = 0;
  EXPECT_EQ(LibZKDiscoverAdapters(&count), 0u);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(LibZKGetVXHandle(0, &opened.vx), 0u);
  return opened;
}

uint32_t SsdHandle(uint32_t vx, uint32_t slot) {
  uint32_t ssd = kNoModuleHandle;
  LibZKGetSSDHandle(vx, slot, &ssd);
  return ssd;
}

}  // namespace cardlib_test
