// The card file: canonical round trip, changes that persist, and errors.
#include <gtest/gtest.h>

#include "emu/host/emulator.h"
#include "raw_port.h"

using namespace rawtest;

namespace {

emu::HostModel Parse(const std::string& text) {
  emu::HostModel model;
  std::string error;
  EXPECT_TRUE(emu::ParseHostFile(text, &model, &error)) << error;
  return model;
}

TEST(CardFile, TheDefaultCardRoundTripsAndHoldsOnlyItsSettings) {
  std::string text = emu::FormatHostFile(emu::DefaultHost());
  emu::HostModel back = Parse(text);
  EXPECT_EQ(emu::FormatHostFile(back), text);
  // Pages, images and files are generated, so the file names none of them.
  EXPECT_EQ(text.find("[page"), std::string::npos);
  EXPECT_EQ(text.find("[image"), std::string::npos);
  EXPECT_EQ(text.find("[file"), std::string::npos);
  EXPECT_NE(text.find("[node /dev/qmx2ctl_cx]"), std::string::npos);
  EXPECT_NE(text.find("pci-device-id = 0x007E"), std::string::npos);
  ASSERT_EQ(back.nodes.size(), 1u);
  ASSERT_EQ(back.nodes[0].adapters.size(), 1u);
  const emu::AdapterModel& a = back.nodes[0].adapters[0];
  emu::AdapterModel d = emu::DefaultCorvexium(0);
  EXPECT_EQ(a.pages, d.pages);
  EXPECT_EQ(a.images, d.images);
  EXPECT_EQ(a.driverVersion, d.driverVersion);
  EXPECT_EQ(back.files, emu::DefaultHost().files);
}

TEST(CardFile, WhatTheProgramChangesIsSavedAndReadBack) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  int fd = card.OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  PageRead m5 = ReadPage(card, fd, 9, 5);
  Put64(m5.bytes, 16, 0x5000000000000001ull);
  ASSERT_EQ(WritePage(card, fd, 9, 5, m5.bytes, 4), 0);  // NVRAM only
  std::vector<uint8_t> image(1000, 0x5A);
  Message download;
  download.frame = Frame(36, 0x09);
  download.frame[0] = 2;
  download.frame[7] = 1;
  download.frame[22] = 12;
  Put32(download.frame, 32, 1000);
  download.dataOut = image;
  download.replyRoom = 20;
  ASSERT_EQ(SendCommand(card, fd, download).status(), 0);
  card.CloseNode(fd);
  card.model().files.AddFile("/sys/block/sdb/size", "1875385008\n");
  card.model().files.AddFile("/sys/block/sdb/ro", "0");  // no line break at the end
  card.model().files.AddSymlink("/sys/block/sdb/device", "../../devices/x");
  card.model().files.Remove("/sys/class/scsi_host");
  card.model().FirstAdapter()->twoWire[0x50] = {1, 2, 3};
  card.model().FirstAdapter()->busTargets = {{9, 0, 4}};

  std::string text = emu::FormatHostFile(card.model());
  emu::VirtualFiles files = card.model().files;
  emu::HostModel back = Parse(text);
  EXPECT_EQ(emu::FormatHostFile(back), text);
  emu::Emulator& next = emu::Install(std::move(back));
  fd = next.OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  EXPECT_EQ(Get64(ReadPage(next, fd, 9, 5, 0, 0, 6).bytes, 16), 0x5000000000000001ull);
  EXPECT_EQ(Get64(ReadPage(next, fd, 9, 5, 0, 0, 1).bytes, 16), 0x500605B00C8A4D10ull);
  next.CloseNode(fd);
  const emu::AdapterModel& a = *next.model().FirstAdapter();
  EXPECT_EQ(a.images.at(2).bytes, image);
  EXPECT_EQ(a.images.at(1), emu::DefaultCorvexium(0).images.at(1));
  EXPECT_EQ(a.twoWire.at(0x50), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(a.busTargets, (std::vector<emu::BusTargetEntry>{{9, 0, 4}}));
  EXPECT_EQ(next.model().files, files);
}

TEST(CardFile, SettingsChangeTheGeneratedPagesAndImages) {
  std::string text = emu::FormatHostFile(emu::DefaultHost());
  size_t at = text.find("sas-address = ");
  text.replace(at, text.find('\n', at) - at, "sas-address = 0x5000C50012345678");
  at = text.find("board-name = ");
  text.replace(at, text.find('\n', at) - at, "board-name = \"Corvexium  X\"");
  emu::HostModel model = Parse(text);
  const emu::AdapterModel& a = *model.FirstAdapter();
  EXPECT_EQ(Get64(a.FindPage(9, 5)->current, 16), 0x5000C50012345678ull);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(a.FindPage(9, 0)->current.data() + 28)),
            "Corvexium  X");
  std::string canonical = emu::FormatHostFile(model);
  EXPECT_NE(canonical.find("board-name = Corvexium  X\n"), std::string::npos);
  EXPECT_EQ(emu::FormatHostFile(Parse(canonical)), canonical);
}

TEST(CardFile, AnOldFileWithoutNewKeysTakesTheDefaults) {
  emu::HostModel model = Parse("[node /dev/qmx2ctl_cx]\n[adapter 0]\npci-device-id = 0x72\n");
  const emu::AdapterModel& a = *model.FirstAdapter();
  EXPECT_EQ(a.pciDeviceId, 0x72);
  EXPECT_EQ(a.subsystemDeviceId, 0x0500);
  EXPECT_EQ(a.FindPage(9, 10)->current[5], 7);
  EXPECT_EQ(model.startTime, emu::DefaultHost().startTime);
}

TEST(CardFile, PagesAndImagesMayBeAbsentOrGivenAsFiles) {
  std::string path = ::testing::TempDir() + "emu_card_image.bin";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite("\x55\xAA\x01\x02", 1, 4, out);
  std::fclose(out);
  std::string text =
      "[node /dev/qmx2ctl_cx]\n[adapter 0]\n"
      "[page 9 10]\nabsent = yes\n"
      "[page 15 0 0x12 0x0009]\ndata = 0000000f 0200 1200\n"
      "[image 2]\nfile = " + path + "\n"
      "[image 1]\nabsent = yes\n";
  emu::HostModel model = Parse(text);
  const emu::AdapterModel& a = *model.FirstAdapter();
  EXPECT_EQ(a.FindPage(9, 10), nullptr);
  ASSERT_NE(a.FindPage(15, 0, 0x12, 9), nullptr);
  EXPECT_EQ(a.FindPage(15, 0, 0x12, 9)->nvram.size(), 8u);
  EXPECT_EQ(a.images.count(1), 0u);
  EXPECT_EQ(a.images.at(2).bytes, (std::vector<uint8_t>{0x55, 0xAA, 1, 2}));
  std::string again = emu::FormatHostFile(model);
  EXPECT_NE(again.find("file = " + path), std::string::npos);
  EXPECT_EQ(emu::FormatHostFile(Parse(again)), again);
  std::remove(path.c_str());
}

TEST(CardFile, ErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"[host]\nstart-time = soon\n", "line 2: bad start-time"},
      {"[hosts]\n", "line 1: unknown section [hosts]"},
      {"start-time = 1\n", "line 1: key before any section"},
      {"[host]\nstart-time = 1\nstart-time = 2\n", "line 3: key start-time given twice"},
      {"[adapter 0]\n", "line 1: [adapter] before any [node]"},
      {"[node /dev/sda]\n", "line 1: unknown control node \"/dev/sda\""},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\n[adapter 0]\n", "line 3: adapter 0 given twice"},
      {"[node /dev/qmx2ctl_cx]\n[adapter 255]\n", "line 2: bad IOC number \"255\""},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\npci-device-id = 0x10000\n",
       "line 3: bad pci-device-id \"0x10000\""},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\ncolour = red\n", "line 3: unknown key colour in [adapter]"},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\nchip-name = ABCDEFGHIJKLMNOPQ\n",
       "line 3: chip-name is longer than 16 characters"},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\n[page 9 3]\ndata = 000102\n\n[host]\n",
       "line 3: page 9/3 has a length of 3 bytes"},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\n[page 9 3]\ndata = 0g\n", "line 4: bad hex data"},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\n[page 9 3]\ncurrent = 00000000\n",
       "line 3: page 9/3 needs data, or current, default and nvram"},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\n[page 9 10]\nabsent = yes\ndata = 00000000\n",
       "line 3: page 9/10 is absent and has data"},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\n[page 15 0]\n", "line 3: an extended page type"},
      {"[page 9 0]\n", "line 1: [page] outside an adapter"},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\n[image 2]\nfile = /nonexistent/x.rom\n",
       "line 3: image file \"/nonexistent/x.rom\" cannot be read"},
      {"[fault]\ntimes = 3\n", "line 1: [fault] needs a kind"},
      {"[fault]\nkind = meltdown\n", "line 2: unknown fault kind \"meltdown\""},
      {"[fault]\nkind = answer\ntimes = 0\n", "line 3: times is -1 or a count"},
      {"[fault]\nkind = answer\naction = 6\n", "line 1: [fault] action names a CONFIG action"},
      {"[fault]\nkind = answer\npage-type = 9\naction = 7\n", "line 4: bad action \"7\""},
      {"[fault]\nkind = answer\nioc = 255\n", "line 3: bad ioc \"255\""},
      {"[node /dev/qmx2ctl_cx]\n[adapter 0]\npage-223 = 2\n", "line 3: bad page-223 \"2\""},
      {"[file /etc/passwd]\n", "line 1: virtual files live under /proc or /sys"},
      {"[file /sys/x]\ntext = \"unterminated\n", "line 2: bad quoted value for text"},
  };
  for (const Case& c : cases) {
    emu::HostModel model;
    std::string error;
    EXPECT_FALSE(emu::ParseHostFile(c.text, &model, &error)) << c.text;
    EXPECT_EQ(error.rfind(c.expected, 0), 0u) << c.text << "\n  gave: " << error;
  }
}

}  // namespace
