// The [module] keys of the modules' command sets: written only when they
// differ from a new module's, read back to the same model, and their errors
// named by line.
#include <gtest/gtest.h>

#include "emu/host/host_model.h"
#include "emu/modules/smart_attributes.h"

namespace {

const char* kHead = "[node /dev/qmx2ctl_cx]\n[adapter 0]\n[module 4]\n";

emu::HostModel Parse(const std::string& text) {
  emu::HostModel model;
  std::string error;
  EXPECT_TRUE(emu::ParseHostFile(text, &model, &error)) << error;
  return model;
}

TEST(ModuleCardKeys, ANewModuleWritesNone) {
  std::string text = emu::FormatHostFile(emu::DefaultHost());
  for (const char* key : {"smart-attribute", "smart-absent", "smart-fails", "sct-busy", "set-max-refusals",
                          "user-password", "master-password", "security-frozen", "event-log-sectors",
                          "erase-count", "firmware-image", "config-image", "format-settings"}) {
    EXPECT_EQ(text.find(key), std::string::npos) << key;
  }
}

TEST(ModuleCardKeys, EverythingAModuleKeepsRoundTrips) {
  emu::HostModel host = emu::DefaultHost();
  emu::ModuleModel& m = *host.FirstAdapter()->FindModule(5);
  emu::SetLifeLeft(m, 42, 570);
  std::erase_if(m.smart, [](const emu::SmartAttribute& a) { return a.id == 243; });
  ASSERT_TRUE(emu::PutSmartAttribute(m, emu::SmartAttribute{250, 0x0032, 100, 99, 0x00AABBCCDDEEFFull, 3}));
  m.smartFails = true;
  m.sctBusy = -1;
  m.setMaxRefusals = 3;
  m.userPassword = "with space ";
  m.masterPassword = "m";
  m.securityFrozen = true;
  m.eventLogSectors = 0;
  m.eraseCount = 7;
  m.firmwareImage.assign(100, 0x5A);
  m.configImage.assign(3584, 0x11);
  m.formatSettings.assign(2048, 0x22);
  std::string text = emu::FormatHostFile(host);
  EXPECT_NE(text.find("smart-attribute = 231 0x0013 42 42 0x000000023A0000 10\n"), std::string::npos);
  EXPECT_NE(text.find("smart-attribute = 250 0x0032 100 99 0x00AABBCCDDEEFF 3\n"), std::string::npos);
  EXPECT_NE(text.find("smart-absent = 243\n"), std::string::npos);
  EXPECT_NE(text.find("user-password = \"with space \"\n"), std::string::npos);
  emu::HostModel back = Parse(text);
  EXPECT_EQ(*back.FirstAdapter()->FindModule(5), m);
  EXPECT_EQ(emu::FormatHostFile(back), text);
}

TEST(ModuleCardKeys, ShorthandsSetTheAttributes) {
  emu::HostModel host =
      Parse(std::string(kHead) + "life-left = 15 5\ntemperature = 75\n\n[module 5]\nlife-left = 99\n");
  const emu::ModuleModel& m = *host.FirstAdapter()->FindModule(4);
  const emu::SmartAttribute* life = emu::FindSmartAttribute(m, 231);
  ASSERT_NE(life, nullptr);
  EXPECT_EQ(life->normalized, 15);
  EXPECT_EQ(life->raw >> 16 & 0xFFFF, 5u);
  const emu::SmartAttribute* t = emu::FindSmartAttribute(m, 194);
  EXPECT_EQ(t->normalized, 75);
  EXPECT_EQ(t->raw & 0xFF, 75u);
  EXPECT_EQ(t->raw >> 16 & 0xFF, 75u);  // the lifetime maximum rises with it
  EXPECT_EQ(m.smart.size(), 30u);
  EXPECT_EQ(emu::FindSmartAttribute(*host.FirstAdapter()->FindModule(5), 231)->normalized, 99);
}

TEST(ModuleCardKeys, ErrorsNameTheLine) {
  struct Case {
    std::string text;
    const char* expected;
  } cases[] = {
      {"smart-attribute = 0 0 1 1 0 0\n", "line 4: smart-attribute takes id"},
      {"smart-attribute = 9 0 1 1 0x100000000000000 0\n", "line 4: smart-attribute takes id"},
      {"smart-attribute = 250 0 1 1 0 0\n", "line 4: a module holds at most 30 SMART attributes"},
      {"life-left = 300\n", "line 4: life-left takes"},
      {"temperature = hot\n", "line 4: temperature takes"},
      {"smart-fails = maybe\n", "line 4: smart-fails takes yes or no"},
      {"sct-busy = -2\n", "line 4: sct-busy is -1 or a count"},
      {"user-password = 0123456789012345678901234567890123\n", "line 4: user-password is longer than 32"},
      {"config-image = 00112233\n", "line 3: module 4: config-image is 4 bytes, not 3584"},
      {"format-settings = 00\n", "line 3: module 4: format-settings is 1 bytes, not 2048"},
      {"firmware-image = 0g\n", "line 4: bad hex data"},
      {"erase-count = -1\n", "line 4: bad erase-count"},
  };
  for (const Case& c : cases) {
    emu::HostModel model;
    std::string error;
    std::string text = std::string(kHead) + c.text;
    EXPECT_FALSE(emu::ParseHostFile(text, &model, &error)) << c.text;
    EXPECT_EQ(error.rfind(c.expected, 0), 0u) << c.text << "\n  gave: " << error;
  }
}

}  // namespace
