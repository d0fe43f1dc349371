// The named card files and the device sections of the card file: each file
// is what its builder writes and reads back to the same text, each card
// shows what its name says, and the device sections' errors name the line.
#include <fstream>
#include <sstream>

#include "card_fixture.h"
#include "emu/card_file/named_cards.h"

using namespace rawtest;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

emu::HostModel Parse(const std::string& text) {
  emu::HostModel model;
  std::string error;
  EXPECT_TRUE(emu::ParseHostFile(text, &model, &error)) << error;
  return model;
}

TEST(NamedCards, EachFileIsWhatItsBuilderWritesAndRoundTrips) {
  for (const emu::NamedCard& card : emu::NamedCards()) {
    std::string text = ReadFile(std::string(EMU_CARDS_DIR) + "/" + card.name + ".txt");
    EXPECT_EQ(text, emu::FormatHostFile(card.build()))
        << card.name << ".txt is out of date: run tessvarc-emu-cards emu/cards";
    EXPECT_EQ(emu::FormatHostFile(Parse(text)), text) << card.name;
  }
  emu::HostModel none;
  EXPECT_FALSE(emu::BuildNamedCard("no-such-card", &none));
}

class NamedCardPages : public CardFixture {
 protected:
  std::vector<uint32_t> Devices() {
    uint16_t end;
    return Walk(15, 0, 0x12, 0xFFFF, 24, false, &end);
  }
  std::string ProcScsi() {
    std::unique_ptr<os::File> f = card().OpenFile("/proc/scsi/scsi", "r");
    std::string text;
    char buffer[512];
    size_t n;
    while ((n = f->Read(buffer, sizeof buffer)) > 0) text.append(buffer, n);
    return text;
  }
  static size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }
};

TEST_F(NamedCardPages, TheDefaultCard) {
  EXPECT_EQ(Devices().size(), 4u);
  EXPECT_EQ(Page(8, 0, 0, 0x10000040).at(6), 5);
  EXPECT_NE(Get32(Page(9, 10), 24) & 3u, 1u);
  EXPECT_EQ(ProcScsi(),
            "Attached devices:\n"
            "Host: scsi0 Channel: 01 Id: 00 Lun: 00\n"
            "  Vendor: QMX      Model: Logical Volume   Rev: 3000\n"
            "  Type:   Direct-Access                    ANSI  SCSI revision: 05\n");
}

TEST_F(NamedCardPages, TheUnconfiguredCard) {
  Use(emu::UnconfiguredHost());
  EXPECT_EQ(Devices(), (std::vector<uint32_t>{0x09, 0x0A, 0x0B, 0x0C}));
  EXPECT_EQ(Status(15, 0, 0x16, 0x20000000), 0x0022);
  EXPECT_EQ(Get32(Page(9, 10), 24) & 3u, 1u);
  std::string listed = ProcScsi();
  EXPECT_EQ(Count(listed, "Vendor: ATA      Model: ZKM128-SATA6G    Rev: 512A\n"), 4u);
  EXPECT_NE(listed.find("Host: scsi0 Channel: 00 Id: 04 Lun: 00\n"), std::string::npos);
  EXPECT_NE(listed.find("  Type:   Direct-Access                    ANSI  SCSI revision: 06\n"),
            std::string::npos);
}

TEST_F(NamedCardPages, TheBoardType9Card) {
  Use(emu::BoardType9Host());
  EXPECT_EQ(Devices().size(), 8u);
  EXPECT_EQ(Page(9, 10).at(5), 9);
  std::vector<uint8_t> v0 = Page(8, 0, 0, 0x10000040);
  EXPECT_EQ(v0.at(36), 8);
  EXPECT_EQ(Get64(v0, 16), 8ull * 249020416 - 1);
  EXPECT_EQ(Get16(Page(15, 0, 0x12, 0x20000009), 8), 0);  // the first module sits in slot 0
}

TEST_F(NamedCardPages, TheDegradedCard) {
  Use(emu::DegradedHost());
  EXPECT_EQ(Page(8, 0, 0, 0x10000040).at(6), 4);
  std::vector<uint8_t> d = Page(10, 0, 0, 0x10000002);
  EXPECT_EQ(d.at(80), 2);
  EXPECT_EQ(d.at(81), 3);         // failed
  EXPECT_EQ(Get16(d, 4), 0x0B);   // still on the bus
  EXPECT_EQ(Devices().size(), 4u);
  EXPECT_EQ(card().SlotStatus(6), 0x00000002u);
  EXPECT_EQ(Count(ProcScsi(), "Logical Volume"), 1u);
}

TEST_F(NamedCardPages, TheCardWithAModuleMissing) {
  Use(emu::ModuleMissingHost());
  EXPECT_EQ(Devices(), (std::vector<uint32_t>{0x09, 0x0A, 0x0C}));
  EXPECT_EQ(Page(8, 0, 0, 0x10000040).at(6), 1);  // RAID0 without a member: failed
  std::vector<uint8_t> d = Page(10, 0, 0, 0x10000002);
  EXPECT_EQ(Get16(d, 4), 0xFFFF);
  EXPECT_EQ(d.at(80), 2);
  EXPECT_EQ(d.at(81), 1);         // missing
  EXPECT_EQ(Text(d, 44, 12), "ZKM2406A0106");  // what the controller remembers of it
  std::vector<uint8_t> paths = Page(10, 1, 0, 0x10000002);
  EXPECT_EQ(paths.at(4), 0);
  EXPECT_EQ(paths.at(32), 6);
  EXPECT_EQ(Page(15, 0, 0x10).at(16 + 20 * 6 + 3), 0x00);  // nothing on phy 6
  EXPECT_EQ(ProcScsi(), "Attached devices:\n");
}

// The second card answers on IOC 1 of the same node; its manufacturing
// page 0 announces its size and reads current, but its NVRAM copy (action
// 6) cannot be read; the first card's can.
TEST_F(NamedCardPages, TheTwoCards) {
  Use(emu::TwoCardsHost());
  auto read = [&](uint32_t ioc, uint8_t type, uint8_t number, uint8_t action) {
    Message header;
    header.ioc = ioc;
    header.frame = ConfigFrame(0, type, number);
    header.replyRoom = 24;
    Sent h = Send(header);
    if (h.status() != 0) return std::make_pair(h.status(), std::vector<uint8_t>{});
    Message m = header;
    m.frame = ConfigFrame(action, type, number, 0, 0, h.reply[21]);
    m.dataInRoom = 4u * h.reply[21];
    Sent d = Send(m);
    return std::make_pair(d.status(), d.dataIn);
  };
  EXPECT_EQ(read(1, 9, 0, 1).first, 0);
  EXPECT_EQ(read(1, 9, 0, 6).first, 0x0022);
  EXPECT_EQ(read(1, 9, 0, 6).first, 0x0022);  // every time
  EXPECT_EQ(Text(read(0, 9, 0, 6).second, 28, 9), "Corvexium");
  EXPECT_EQ(Get64(read(1, 9, 5, 1).second, 16), 0x500605B00C8A5E20ull);
  EXPECT_EQ(read(1, 1, 1, 1).second.at(13), 6);  // IOC page 1: slot 6
  // The firmware head of the second card, as the controller table reads it.
  Message upload;
  upload.ioc = 1;
  upload.frame = Frame(36, 0x12);
  upload.frame[0] = 1;
  Put32(upload.frame, 12, 256);
  upload.frame[22] = 12;
  Put32(upload.frame, 32, 256);
  upload.dataInRoom = 256;
  upload.replyRoom = 24;
  Sent head = Send(upload);
  EXPECT_EQ(head.status(), 0);
  EXPECT_EQ(Get32(head.dataIn, 28), 0x0E020500u);
  EXPECT_EQ(ProcScsi(),
            "Attached devices:\n"
            "Host: scsi0 Channel: 01 Id: 00 Lun: 00\n"
            "  Vendor: QMX      Model: Logical Volume   Rev: 3000\n"
            "  Type:   Direct-Access                    ANSI  SCSI revision: 05\n"
            "Host: scsi1 Channel: 01 Id: 00 Lun: 00\n"
            "  Vendor: QMX      Model: Logical Volume   Rev: 3000\n"
            "  Type:   Direct-Access                    ANSI  SCSI revision: 05\n");
}

TEST_F(NamedCardPages, TheListingsCards) {
  Use(emu::NoPage223Host());
  EXPECT_EQ(Status(15, 223, 0x1A), 0x0022);
  EXPECT_EQ(Page(1, 1).at(13), 5);
  Use(emu::SysfsSlotHost());
  EXPECT_EQ(Page(1, 1).at(13), 0xFF);
  EXPECT_EQ(Page(15, 223, 0x1A).size(), 56u);
  std::unique_ptr<os::File> f = card().OpenFile("/sys/bus/pci/slots/5/address", "r");
  ASSERT_NE(f, nullptr);
  char line[16];
  EXPECT_STREQ(f->ReadLine(line, sizeof line), "0000:03:00\n");
  Use(emu::MixedModulesHost());
  EXPECT_EQ(Devices().size(), 4u);
  EXPECT_EQ(Count(ProcScsi(), "Vendor: ATA"), 4u);
  EXPECT_EQ(card().Module(5)->maxSectors, 1000215216u);
}

TEST(CardFileDevices, AFileWithoutDeviceSectionsGetsTheDevicesOfItsSettings) {
  emu::HostModel nine = Parse("[node /dev/qmx2ctl_cx]\n[adapter 0]\nboard-type = 9\n");
  const emu::AdapterModel& a = *nine.FirstAdapter();
  ASSERT_EQ(a.modules.size(), 8u);
  ASSERT_EQ(a.raid.volumes.size(), 1u);
  EXPECT_EQ(a.raid.volumes[0].members.size(), 8u);
  emu::HostModel bare = Parse("[node /dev/qmx2ctl_cx]\n[adapter 0]\nboard-flags = 0x21\n");
  EXPECT_EQ(bare.FirstAdapter()->modules.size(), 4u);
  EXPECT_TRUE(bare.FirstAdapter()->raid.volumes.empty());
  // Modules listed, RAID not: the default volume over the modules listed.
  emu::HostModel two = Parse("[node /dev/qmx2ctl_cx]\n[adapter 0]\n[module 6]\n[module 1]\nserial = X1\n");
  const emu::AdapterModel& t = *two.FirstAdapter();
  ASSERT_EQ(t.modules.size(), 2u);
  EXPECT_EQ(t.modules[0].slot, 1);  // in slot order
  EXPECT_EQ(t.modules[0].serial, "X1");
  EXPECT_EQ(t.modules[1].devHandle, 0x09);  // the first section's
  ASSERT_EQ(t.raid.volumes.size(), 1u);
  EXPECT_EQ(t.raid.disks.size(), 2u);
  // An empty [raid]: no volume.
  EXPECT_TRUE(Parse("[node /dev/qmx2ctl_cx]\n[adapter 0]\n[raid]\n").FirstAdapter()->raid.volumes.empty());
}

TEST(CardFileDevices, TargetConditionsAreKeptAndAnswered) {
  emu::HostModel host = Parse(
      "[node /dev/qmx2ctl_cx]\n[adapter 0]\nboard-flags = 0x21\n"
      "[module 4]\ndescriptor-sense = yes\ncheck-condition = 0x03 0x11 0x00 1\n"
      "[module 5]\nunit-attention = 0x06 0x29 0x02\n");
  std::string text = emu::FormatHostFile(host);
  EXPECT_NE(text.find("check-condition = 0x03 0x11 0x00 1\n"), std::string::npos);
  EXPECT_EQ(emu::FormatHostFile(Parse(text)), text);
  emu::Emulator& card = emu::Install(std::move(host));
  int fd = card.OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  Sent s = SendCommand(card, fd, ScsiCommand(0x09, Inquiry(), 255));
  EXPECT_EQ(std::vector<uint8_t>(s.sense.begin(), s.sense.begin() + 4),
            (std::vector<uint8_t>{0x72, 0x03, 0x11, 0x00}));
  s = SendCommand(card, fd, ScsiCommand(0x0A, ReadCapacity10(), 8));
  EXPECT_EQ(s.sense[13], 0x02);
  card.CloseNode(fd);
  // Spent, they are no longer written.
  EXPECT_EQ(emu::FormatHostFile(card.model()).find("check-condition"), std::string::npos);
  EXPECT_EQ(emu::FormatHostFile(card.model()).find("unit-attention"), std::string::npos);
}

TEST(CardFileDevices, ErrorsNameTheLine) {
  const std::string head = "[node /dev/qmx2ctl_cx]\n[adapter 0]\n";  // lines 1-2
  struct Case {
    std::string text;
    const char* expected;
  } cases[] = {
      {head + "[module 8]\n", "line 3: bad module slot \"8\""},
      {head + "[module 4]\n[module 4]\n", "line 4: module 4 given twice"},
      {head + "[module 4]\nmodel-type = A\n", "line 4: model-type is one digit"},
      {head + "[module 4]\nconfig-id = 251\n", "line 4: config-id is four characters"},
      {head + "[module 4]\nstate = asleep\n", "line 4: state is present, missing"},
      {head + "[module 4]\nlink-power = off\n", "line 4: link-power is active, partial or slumber"},
      {head + "[module 4]\nblock-length = 520\n", "line 4: block-length is 512 or 4096"},
      {head + "[module 4]\nfirmware = ZK80512AB\n", "line 4: firmware is longer than 8 characters"},
      {head + "[module 4]\ncheck-condition = 0x03 0x11\n", "line 4: check-condition takes sense key"},
      {head + "[module 4]\ncheck-condition = 0x03 0x11 0x00 0\n", "line 4: check-condition takes sense key"},
      {head + "[module 4]\ncolour = red\n", "line 4: unknown key colour in [module]"},
      {head + "[module 4]\nmax-sectors = 300000000\n", "line 3: module 4: max-sectors above native-sectors"},
      {head + "[module 4]\n[module 5]\ndev-handle = 0x0009\n", "line 4: module 5: DevHandle taken by module 4"},
      {head + "[raid]\n[raid]\n", "line 4: [raid] given twice"},
      {head + "[raid]\nvolumes = 1\n", "line 4: unknown key volumes"},
      {head + "[volume 0x0040]\n[volume 0x40]\n", "line 4: volume 0x40 given twice"},
      {head + "[volume 0x0040]\nmember = 0 0\n", "line 4: member takes disk number, map and RAID set"},
      {head + "[volume 0x0040]\nguid = 0011\n", "line 4: guid is 24 bytes in hex"},
      {head + "[volume 0x0040]\nmember = 3 0 0\n", "line 3: volume 0x0040: member disk 3 has no [disk] section"},
      {head + "[volume 0x0009]\n", "line 3: volume 0x0009: DevHandle taken by a module"},
      {head + "[volume 0x0040]\nmember = 0 0 0\nmember = 0 1 0\n[disk 0]\nslot = 4\n",
       "line 3: volume 0x0040: disk 0 is a member twice"},
      {head + "[disk 0]\nslot = 2\n", "line 3: disk 0: no module in slot 2"},
      {head + "[disk 0]\nslot = 4\n[disk 1]\nslot = 4\n", "line 5: disk 1: slot 4 is disk 0 already"},
      {head + "[disk 0]\n[disk 0]\n", "line 4: disk 0 given twice"},
      {head + "[disk 0]\nstate = 9\n", "line 4: bad state \"9\""},
      {"[module 4]\n", "line 1: [module] outside an adapter"},
  };
  for (const Case& c : cases) {
    emu::HostModel model;
    std::string error;
    EXPECT_FALSE(emu::ParseHostFile(c.text, &model, &error)) << c.text;
    EXPECT_EQ(error.rfind(c.expected, 0), 0u) << c.text << "\n  gave: " << error;
  }
}

}  // namespace
