// The flashing of a package on the default card: the order of the writes,
// the controller firmware last; a failing entry stopping the later ones and
// failing the whole update, with the report of each entry; and an entry
// that cannot be flashed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/package/update_pkg.h"
#include "app/shell/program_state.h"
#include "card_fixture.h"
#include "tests/app/package/package_fixtures.h"

namespace {

constexpr uint8_t kDownload = 0x09;
constexpr uint8_t kSataPassthrough = 0x1C;

class UpdatePackage : public app_test::CardFixture {
 public:
  void SetUp() override {
    CardFixture::SetUp();
    SelectedController = 1;
    PackageModeFlag = 1;
  }
  void TearDown() override {
    PackageModeFlag = 0;
    CardFixture::TearDown();
  }
  // The writes the card received, in order: "F" controller firmware, "B"
  // the BIOS region, "M" a module's firmware (the image's size as data-out).
  std::string Writes(size_t moduleImageSize) const {
    std::string writes;
    for (const emu::LoggedCall& call : card_->log()) {
      if (!call.isCommand) continue;
      if (call.function == kDownload && call.errorNumber == 0 && call.iocStatus == 0) {
        writes += call.frame.at(0) == 1 ? "F" : "B";
      } else if (call.function == kSataPassthrough && call.dataOut.size() == moduleImageSize) {
        writes += "M";
      }
    }
    return writes;
  }
  void RefuseDownload(uint32_t skip) {
    emu::Fault fault;
    fault.kind = emu::FaultKind::kAnswer;
    fault.function = kDownload;
    fault.iocStatus = 0x0004;
    fault.times = 1;
    fault.skip = skip;
    card().ArmFault(fault);
  }
  static bool Has(const std::string& output, const std::string& text) {
    return output.find(text) != std::string::npos;
  }
};

TEST_F(UpdatePackage, FlashesInPackageOrderWithTheFirmwareLast) {
  pkg_test::PkgFields fields = pkg_test::DefaultCardPackage();
  size_t moduleSize = fields.entries[2].data.size();
  std::vector<uint8_t> firmware = fields.entries[0].data;
  std::vector<uint8_t> file = pkg_test::BuildPackage(fields);
  EXPECT_EQ(UpdateFlashPkg(file.data(), static_cast<uint32_t>(file.size())), 0u);
  std::string output = card().TakeOutput();
  // One BIOS region, four modules, then the firmware.
  EXPECT_EQ(Writes(moduleSize), "BMMMMF");
  EXPECT_TRUE(model().images[1].bytes == firmware);
  EXPECT_TRUE(Has(output, "\t\tIsFlashPkgSuccess: SUCCESS\n\t\tHBA Firmware Download...\n\n"));
  EXPECT_TRUE(Has(output, "\nUlvane Corvexium Management Utility: Corvexium package updated successfully.\n"));
  EXPECT_FALSE(Has(output, "Package entry"));
}

TEST_F(UpdatePackage, AFailedEntryStopsTheRestAndFailsTheUpdate) {
  struct Row {
    const char* name;
    std::vector<uint8_t> order;  // entry types; 1 firmware, 2 BIOS, 5 modules
    uint32_t refusedDownload;    // the FW DOWNLOAD that is refused (0-based)
    std::string writes;
    std::string outcome;
    std::string entries;
  };
  const std::string title = "\nUlvane Corvexium Management Utility: ";
  const Row rows[] = {
      // The firmware was kept before the BIOS failed: it still goes in, and
      // the update fails all the same.
      {"firmware first, BIOS refused", {1, 2, 5}, 0, "F", title + "Corvexium package update is partially successful.\n",
       "\t\tPackage entry 0, type 0x1: written.\n\t\tPackage entry 1, type 0x2: failed.\n"
       "\t\tPackage entry 2, type 0x5: not flashed.\n"},
      // The firmware's entry was never reached: no firmware is sent.
      {"firmware last, BIOS refused", {2, 5, 1}, 0, "", title + "Corvexium package update failed.\n",
       "\t\tPackage entry 0, type 0x2: failed.\n\t\tPackage entry 1, type 0x5: not flashed.\n"
       "\t\tPackage entry 2, type 0x1: not flashed.\n"},
      {"firmware refused", {2, 5, 1}, 1, "BMMMM", title + "Failed to flash image. Type: 0x1\n",
       "\t\tPackage entry 0, type 0x2: written.\n\t\tPackage entry 1, type 0x5: written.\n"
       "\t\tPackage entry 2, type 0x1: failed.\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Start(emu::DefaultHost());
    pkg_test::PkgFields base = pkg_test::DefaultCardPackage();
    pkg_test::PkgFields fields = base;
    fields.entries.clear();
    for (uint8_t type : row.order) {
      for (const pkg_test::PkgEntry& entry : base.entries) {
        if (entry.type == type) fields.entries.push_back(entry);
      }
    }
    std::vector<uint8_t> oldFirmware = model().images[1].bytes;
    std::vector<uint8_t> file = pkg_test::BuildPackage(fields);
    RefuseDownload(row.refusedDownload);
    EXPECT_EQ(UpdateFlashPkg(file.data(), static_cast<uint32_t>(file.size())), 1u);
    std::string output = card().TakeOutput();
    EXPECT_EQ(Writes(base.entries[2].data.size()), row.writes);
    EXPECT_EQ(model().images[1].bytes == oldFirmware, row.writes.find('F') == std::string::npos);
    EXPECT_TRUE(Has(output, row.outcome + row.entries)) << output;
    EXPECT_EQ(Has(output, "\t\tIsFlashPkgSuccess: FAILED \n\n"), row.refusedDownload == 0);
    EXPECT_EQ(Has(output, "\t\tController firmware not flashed.\n\n"), row.writes.empty());
  }
}

TEST_F(UpdatePackage, AnEntryThatCannotBeFlashedFails) {
  std::vector<uint8_t> file = pkg_test::BuildPackage(pkg_test::DefaultCardPackage());
  uint32_t size = static_cast<uint32_t>(file.size());
  PkgKeptFirmware kept;
  file[56] = 9;  // entry 0's type
  EXPECT_EQ(FlashPkgEntry(0, file.data(), size, &kept), 1u);
  EXPECT_EQ(card().TakeOutput(), "\nUlvane Corvexium Management Utility: Failed to flash image. Type: 0x9\n");
  file[56] = 6;  // ignored: nothing sent
  EXPECT_EQ(FlashPkgEntry(0, file.data(), size, &kept), 0u);
  // An entry past the table, or one whose data runs past the file.
  EXPECT_EQ(FlashPkgEntry(3, file.data(), size, &kept), 1u);
  EXPECT_EQ(FlashPkgEntry(0, file.data(), 100, &kept), 1u);
  file[56] = 1;
  EXPECT_EQ(FlashPkgEntry(0, file.data(), size, &kept), 0u);
  EXPECT_EQ(kept.image, file.data() + 56 + 32 * 3);
  EXPECT_TRUE(card().log().empty());
}

}  // namespace
