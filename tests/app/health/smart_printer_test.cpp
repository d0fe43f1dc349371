// The SMART table of the health report: which attributes show in which
// section, their formats, the derived figures, the JSON values, the raw
// rows, and the names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/health/health_json.h"
#include "app/health/smart_attributes.h"
#include "emu/host/emulator.h"

namespace {

struct Entry {
  uint8_t id;
  uint8_t normalized;
  uint32_t low;
  uint32_t high;
};

SataSmartValues Values(const std::vector<Entry>& entries) {
  SataSmartValues values{};
  for (size_t i = 0; i < entries.size() && i < kSmartAttributeCount; ++i) {
    values.attribute[i].id = entries[i].id;
    values.attribute[i].normalized = entries[i].normalized;
    values.raw[i].low = entries[i].low;
    values.raw[i].high = entries[i].high;
  }
  return values;
}

const std::string kCurrent = "\n-------------- Current (since last Power Cycle)  ----------------------\n";
const std::string kCumulative = "\n-------------- Cumulative  --------------------------------------------\n";

std::string Row(const std::string& name, const std::string& value) {
  std::string row = name;
  row.resize(38, ' ');
  return row + value + "\n";
}

class SmartPrinter : public ::testing::Test {
 protected:
  void SetUp() override { card_ = &emu::Install(emu::DefaultHost()); }
  std::string Text(const std::vector<Entry>& entries) {
    PrintSataSmart(0, Values(entries), nullptr);
    return card_->TakeOutput();
  }
  SataJsonRecord Json(const std::vector<Entry>& entries) {
    SataJsonRecord record{};
    PrintSataSmart(1, Values(entries), &record);
    EXPECT_EQ(card_->TakeOutput(), "");
    return record;
  }
  emu::Emulator* card_ = nullptr;
};

TEST_F(SmartPrinter, CurrentSectionRows) {
  struct Case {
    const char* name;
    Entry entry;
    std::string row;
    std::string cumulative = "";  // the row the attribute also has there
  };
  const Case cases[] = {
      // 512-byte units need 64 bits.
      {"bytes read", {1, 100, 0x00800000, 0}, Row("Bytes Read", "4294967296")},
      {"soft read errors without a low word", {13, 100, 0, 5}, Row("Soft Read Error Rate", "NA        ")},
      {"small soft read error rate", {13, 100, 4, 1}, Row("Soft Read Error Rate", "2.500000e-01")},
      {"soft read errors above one", {13, 100, 4, 8}, Row("Soft Read Error Rate", "2.00      ")},
      {"soft read errors equal", {13, 100, 4, 4}, Row("Soft Read Error Rate", "1.00      ")},
      {"no soft read errors", {13, 100, 4, 0}, Row("Soft Read Error Rate", "0.00      ")},
      {"wear range delta", {177, 3, 99, 0}, Row("Wear Range Delta", "3          (%)")},
      {"uncorrectable", {187, 100, 0x0302, 0}, Row("Uncorrectable PARIX Errors", "2         "),
       Row("Uncorrectable PARIX Errors", "2         ")},
      // The table shows raw byte 0, not the normalized value.
      {"temperature now", {194, 40, 0x00340026, 0}, Row("Current Temperature", "38         (degree C)"),
       Row("Maximum Lifetime Temperature", "52         (degree C)")},
      {"uncorrectable ECC", {195, 100, 5, 9}, Row("Uncorrectable ECC Errors", "9         ")},
      {"CRC errors", {199, 100, 12, 0}, Row("SATA R-Errors (CRC) Error Count", "12        ")},
      {"protection enabled", {230, 90, 0, 0}, Row("Drive Life Protection Status", "Protection Enabled")},
      {"protection not engaged", {230, 100, 0, 0}, ""},
      {"protection unknown", {230, 75, 0, 0}, Row("Drive Life Protection Status", "Protection Unknown 75")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Text({c.entry}), kCurrent + c.row + kCumulative + c.cumulative);
  }
}

TEST_F(SmartPrinter, CumulativeSectionRows) {
  struct Case {
    const char* name;
    Entry entry;
    std::string row;
  };
  const Case cases[] = {
      {"retired", {5, 100, 2, 0}, Row("Retired Block Count", "2         ")},
      {"power-on hours", {9, 100, 1000, 1800000}, Row("Power-On Hours", "1000.5    ")},
      {"power cycles", {12, 100, 412, 0}, Row("Device Power Cycle Count", "412       ")},
      {"erased", {100, 100, 12800, 0}, Row("Gigabytes Erased", "12800      (Gigabytes)")},
      {"reserved", {170, 100, 1998, 0}, Row("Reserved (over-provisioned) Blocks", "1998      ")},
      {"program fails", {171, 100, 1, 0}, Row("Program Fail Count", "1         ")},
      {"erase fails", {172, 100, 2, 0}, Row("Erase Fail Count 1", "2         ")},
      {"power losses", {174, 100, 7, 0}, Row("Unexpected Power Loss Count", "7         ")},
      {"IOEDC", {184, 100, 3, 0}, Row("I/O Error Detection Code Rate", "3         ")},
      {"life in PE cycles", {231, 96, 0x00390000, 0}, "SSD Life Left (PE Cycles)             96         (%)\n"},
      {"life in bad blocks", {231, 96, 0x00390001, 0}, "SSD Life Left (Bad Blocks)            96         (%)\n"},
      {"host writes", {241, 100, 12500, 0}, Row("Total Writes From Host", "12500     ")},
      {"host reads", {242, 100, 9800, 0}, Row("Total Reads To Host", "9800      ")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Text({c.entry}), kCurrent + kCumulative + c.row);
  }
}

TEST_F(SmartPrinter, NamedAttributesWithoutRows) {
  for (uint8_t id : {181, 182, 196, 198, 201, 204, 232, 245, 243, 3}) {
    EXPECT_EQ(Text({{id, 100, 7, 7}}), kCurrent + kCumulative) << static_cast<int>(id);
  }
}

TEST_F(SmartPrinter, DerivedFigures) {
  // Write amplification needs both 233 and 234.
  EXPECT_EQ(Text({{233, 100, 15000, 0}}), kCurrent + kCumulative);
  EXPECT_EQ(Text({{234, 100, 12500, 0}}), kCurrent + kCumulative);
  EXPECT_EQ(Text({{234, 100, 12500, 0}, {233, 100, 15000, 0}}),
            kCurrent + kCumulative + Row("Write Amplification", "1.20      "));
  EXPECT_EQ(Text({{233, 100, 15000, 0}, {234, 100, 0, 0}}),
            kCurrent + kCumulative + Row("Write Amplification", "NA        "));
  // Reserved blocks remaining: 170 ÷ (5 + 170).
  EXPECT_EQ(Text({{5, 100, 2, 0}, {170, 100, 1998, 0}}),
            kCurrent + kCumulative + Row("Retired Block Count", "2         ") +
                Row("Reserved (over-provisioned) Blocks", "1998      ") +
                Row("Reserved Blocks Remaining", "99         (%)"));
  EXPECT_EQ(Text({{5, 100, 0, 0}, {170, 100, 0, 0}}),
            kCurrent + kCumulative + Row("Retired Block Count", "0         ") +
                Row("Reserved (over-provisioned) Blocks", "0         "));
}

TEST_F(SmartPrinter, EntriesInTheirOrderTwiceWhenTwice) {
  EXPECT_EQ(Text({{242, 100, 2, 0}, {0, 100, 5, 0}, {241, 100, 1, 0}, {242, 100, 3, 0}}),
            kCurrent + kCumulative + Row("Total Reads To Host", "2         ") +
                Row("Total Writes From Host", "1         ") + Row("Total Reads To Host", "3         "));
}

TEST_F(SmartPrinter, JsonValues) {
  SataJsonRecord r = Json({{1, 100, 0x00800000, 0},
                           {13, 100, 4, 1},
                           {177, 3, 0, 0},
                           {187, 100, 0x0102, 0},
                           {194, 38, 0x00340026, 0},
                           {195, 100, 0, 6},
                           {199, 100, 8, 0},
                           {5, 100, 2, 0},
                           {9, 100, 1000, 1800000},
                           {170, 100, 1998, 0},
                           {231, 96, 0x00390000, 0},
                           {233, 100, 15000, 0},
                           {234, 100, 12500, 0}});
  EXPECT_EQ(r.bytesRead, 4294967296ull);
  EXPECT_FLOAT_EQ(r.softReadErrorRate, 0.25f);
  EXPECT_EQ(r.softReadErrorExponent, 1u);
  EXPECT_FLOAT_EQ(r.wearRangeDelta, 3.0f);
  EXPECT_EQ(r.uParix, 2u);
  EXPECT_EQ(r.temp, 38u);
  EXPECT_EQ(r.maxLifetimeTemp, 52u);
  EXPECT_EQ(r.uECC, 6u);
  EXPECT_EQ(r.sataRerr, 8u);
  EXPECT_EQ(r.retiredBlkCnt, 2u);
  EXPECT_FLOAT_EQ(r.powerOnHours, 1000.5f);
  EXPECT_EQ(r.reservedBlockCnt, 1998u);
  EXPECT_EQ(r.lifeLeft, 96u);
  EXPECT_EQ(r.peLimited, 1u);
  EXPECT_FLOAT_EQ(r.writeAmplifier, 1.2f);
  EXPECT_EQ(r.percentResvBlocksRemaining, 99u);

  r = Json({{13, 100, 0, 3}, {231, 50, 1, 0}, {233, 100, 15000, 0}, {234, 100, 0, 0}});
  EXPECT_FLOAT_EQ(r.softReadErrorRate, -1.0f);
  EXPECT_EQ(r.softReadErrorExponent, 0u);
  EXPECT_EQ(r.peLimited, 0u);
  EXPECT_FLOAT_EQ(r.writeAmplifier, -1.0f);
  // Without attribute 231 the module is not limited by program/erase cycles.
  EXPECT_EQ(Json({{9, 100, 5, 0}}).peLimited, 0u);
}

TEST_F(SmartPrinter, RawRowsLastByteFirst) {
  std::vector<uint8_t> data(512, 0);
  for (size_t i = 0; i < 12; ++i) data[2 + i] = static_cast<uint8_t>(i + 1);
  data[2 + 12 * 29] = 0xAB;
  PrintSmartEntriesRaw(data.data() + 2);
  std::string text = card_->TakeOutput();
  EXPECT_EQ(text.substr(0, 35), "\n0x0002 : 0c0b0a090807060504030201\n");
  EXPECT_NE(text.find("\n0x000e : 000000000000000000000000"), std::string::npos);
  EXPECT_NE(text.find("\n0x015e : 0000000000000000000000ab\n"), std::string::npos);
  EXPECT_EQ(text.size(), 30u * 34u + 1u);
  PrintSmartEntriesRaw(nullptr);
  EXPECT_EQ(card_->TakeOutput(), "\n");
}

TEST(SmartNames, SataAndSasNames) {
  EXPECT_STREQ(GetSataSmartAttrName(1), "Bytes Read");
  EXPECT_STREQ(GetSataSmartAttrName(171), "Program Fail Count");
  EXPECT_STREQ(GetSataSmartAttrName(181), "Program Fail Count");
  EXPECT_STREQ(GetSataSmartAttrName(198), "Uncorrectable PARIX Errors");
  EXPECT_STREQ(GetSataSmartAttrName(245), "Maximum Lifetime Temperature");
  EXPECT_STREQ(GetSataSmartAttrName(243), "Vendor Specific");
  EXPECT_STREQ(GetSataSmartAttrName(0), "Vendor Specific");
  EXPECT_STREQ(GetSasSmartAttrName(7), "Total Uncorrected(Write) Errors");
  EXPECT_STREQ(GetSasSmartAttrName(16), "Total Writes From Host");
  EXPECT_STREQ(GetSasSmartAttrName(18), "Total Reads To Host");
  EXPECT_STREQ(GetSasSmartAttrName(14), "Vendor Specific");
  EXPECT_STREQ(GetSasSmartAttrName(21), "Vendor Specific");
}

TEST_F(SmartPrinter, SasTableAndValues) {
  SasSmartRecord record{};
  const std::pair<uint8_t, uint32_t> entries[] = {
      {1, 0x00800000}, {5, 3}, {9, 0x0126}, {10, 4}, {11, 6}, {12, 90}, {2, 2}, {6, 1998}, {3, 8760},
      {13, 96}, {14, 120}, {15, 0x00200000}, {16, 1}, {17, 0x00400000}, {18, 0}, {19, 52}, {20, 100},
  };
  size_t n = 0;
  for (const auto& [id, value] : entries) {
    record.entry[n].attribute = id;
    record.entry[n].value = value;
    ++n;
  }
  PrintSasSmart(0, record, nullptr);
  std::string text = card_->TakeOutput();
  EXPECT_EQ(text.find(kCurrent), 0u);
  for (const std::string& row : {
           Row("Raw Read Error Rate", "4294967296"), Row("ECC Rate", "3.00      "),
           Row("Current Temperature", "38         (degree C)"), Row("Uncorrectable Error Count", "4         "),
           Row("Drive Life Protection Status", "Protection Enabled"), Row("Power-On Hours", "8760      "),
           std::string("SSD Life Left (PE Cycles)             96         (%)\n"),
           Row("Write Amplification", "1.20      "), Row("Total Writes From Host", "2049"),
           Row("Total Reads To Host", "2"), Row("Maximum Lifetime Temperature", "52         (degree C)"),
           Row("Gigabytes Erased", "51200"), Row("Reserved Blocks Remaining", "99         (%)")}) {
    EXPECT_NE(text.find(row), std::string::npos) << row;
  }
  SasJsonRecord json{};
  PrintSasSmart(1, record, &json);
  EXPECT_EQ(card_->TakeOutput(), "");
  EXPECT_EQ(json.rawReadErrRate, 4294967296ull);
  EXPECT_EQ(json.temp, 0x26u);
  EXPECT_EQ(json.totalHostWrites, 2049u);
  EXPECT_EQ(json.totalHostReads, 2u);
  EXPECT_EQ(json.lifeLeft, 96u);
  EXPECT_EQ(json.peLimited, 1u);
  EXPECT_FLOAT_EQ(json.writeAmplifier, 1.2f);
  EXPECT_EQ(json.percentResvBlocksRemaining, 99u);
}

}  // namespace
