// The package writer against the package reader: a package assembled from
// image files is byte for byte the package the reader's fixture builds and
// passes the whole validation against the default card; an image that
// changes or vanishes after the manifest was read fails the assembly; the
// file is written under a temporary name, read back and checked, and only
// then takes its name.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/package/flash_package.h"
#include "app/package/package_builder.h"
#include "app_test_support.h"
#include "tests/app/package/package_fixtures.h"
#include "tests/app/package/package_folder.h"

namespace {

namespace fs = std::filesystem;
using app_test::kTitle;

class PackageBuilder : public pkg_test::PackageFolder {
 public:
  // The default card's package as a manifest would declare it, its images
  // written to files: what the reader's fixture builds from the same fields.
  PkgSpec DefaultSpec(const pkg_test::PkgFields& fields) {
    PkgSpec spec;
    spec.packageType = fields.packageType;
    spec.packageVersion = 0x0E020500;
    spec.declaredImages = static_cast<uint8_t>(fields.entries.size());
    for (size_t i = 0; i < fields.entries.size(); ++i) {
      const pkg_test::PkgEntry& entry = fields.entries[i];
      PkgImageSpec image;
      image.type = entry.type;
      image.uniqueId = (uint64_t{entry.configIdHigh} << 32) | entry.configIdLow;
      image.version = i + 1;
      image.path = Write("image-" + std::to_string(i) + ".bin", entry.data);
      image.size = static_cast<uint32_t>(entry.data.size());
      spec.images.push_back(image);
    }
    return spec;
  }
  std::vector<uint8_t> Bytes(const AppBuffer& buffer) {
    return std::vector<uint8_t>(buffer.get(), buffer.get() + buffer.size());
  }
};

TEST_F(PackageBuilder, AssembledPackageIsTheReadersPackageAndValidatesOnTheCard) {
  pkg_test::PkgFields fields = pkg_test::DefaultCardPackage();
  AppBuffer package;
  ASSERT_TRUE(AssemblePackage(DefaultSpec(fields), &package));
  EXPECT_EQ(card().TakeOutput(), "");
  std::vector<uint8_t> bytes = Bytes(package);
  EXPECT_EQ(bytes, pkg_test::BuildPackage(fields));
  EXPECT_EQ(ValidateFlashPkg(bytes.data(), static_cast<uint32_t>(bytes.size())), 0u);
  EXPECT_EQ(CheckPkgOemAndBoardName(bytes.data(), static_cast<uint32_t>(bytes.size())), 1u);
}

TEST_F(PackageBuilder, EveryFieldGoesToItsPlaceWhole) {
  PkgSpec spec = DefaultSpec(pkg_test::DefaultCardPackage());
  spec.packageType = 12;
  spec.packageVersion = 0x81828384;
  spec.flags = 0xA1B2C3D4;
  spec.images[2].uniqueId = 0x1122334455667788;
  spec.images[2].version = 0x99AABBCCDDEEFF00;
  AppBuffer package;
  ASSERT_TRUE(AssemblePackage(spec, &package));
  std::vector<uint8_t> b = Bytes(package);
  EXPECT_EQ(b[8], 12);
  EXPECT_EQ(Le32(b, 12), 0x81828384u);
  EXPECT_EQ(Le32(b, 16), 0xA1B2C3D4u);
  EXPECT_EQ(Le32(b, 20), 0x01000000u);
  EXPECT_EQ(b[52], 3);
  const size_t entry = 56 + 32 * 2;
  EXPECT_EQ(Le32(b, entry + 4), 56 + 32 * 3 + spec.images[0].size + spec.images[1].size);
  EXPECT_EQ(Le32(b, entry + 12), 0xDDEEFF00u);
  EXPECT_EQ(Le32(b, entry + 16), 0x99AABBCCu);
  EXPECT_EQ(Le32(b, entry + 20), 0x55667788u);  // the configuration ID ...
  EXPECT_EQ(Le32(b, entry + 24), 0x11223344u);  // ... and the model type
  EXPECT_EQ(Le32(b, 24), ComputeFlashPkgChecksum(b.data(), static_cast<uint32_t>(b.size())));
  // Everything the format keeps zero is zero.
  for (size_t at : {9, 10, 11, 28, 40, 51, 53, 54, 55}) EXPECT_EQ(b[at], 0) << at;
  for (size_t i = 0; i < 3; ++i) {
    for (size_t at : {1, 2, 3, 28, 29, 30, 31}) EXPECT_EQ(b[56 + 32 * i + at], 0) << i << " " << at;
  }
}

TEST_F(PackageBuilder, AnImageThatChangedOrVanishedSinceTheManifestWasReadFailsTheAssembly) {
  struct Row {
    const char* name;
    void (*change)(const std::string& path);
    const char* message;  // with the image's path after it
  };
  const Row rows[] = {
      {"removed", [](const std::string& path) { fs::remove(path); }, ": Failed to open file "},
      {"now a folder",
       [](const std::string& path) {
         fs::remove(path);
         fs::create_directories(path);
       },
       ": Failed to open file "},
      {"grown", [](const std::string& path) { std::ofstream(path, std::ios::app) << 'x'; }, ": Error reading image file "},
      {"cut", [](const std::string& path) { fs::resize_file(path, fs::file_size(path) - 1); },
       ": Error reading image file "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    PkgSpec spec = DefaultSpec(pkg_test::DefaultCardPackage());
    const std::string path = spec.images[1].path;
    row.change(path);
    AppBuffer package;
    EXPECT_FALSE(AssemblePackage(spec, &package));
    EXPECT_FALSE(package);
    std::string expected = kTitle + row.message + path + (row.message[2] == 'F' ? "\n" : ".\n");
    EXPECT_EQ(card().TakeOutput(), expected);
    fs::remove_all(path);
  }
}

TEST_F(PackageBuilder, TheFileTakesItsNameOnlyAfterItWasReadBackAndChecked) {
  std::vector<uint8_t> package = pkg_test::BuildPackage(pkg_test::DefaultCardPackage());
  const std::string out = WriteText("out.pkg", "an older package");
  ASSERT_TRUE(WritePackageFile(out.c_str(), package.data(), static_cast<uint32_t>(package.size())));
  EXPECT_EQ(card().TakeOutput(), kTitle + ": Writing combined image to output file " + out + ".\n" + kTitle +
                                     ": Output Package File generated.\n" + kTitle +
                                     ": Validating generated output package file.\n" + kTitle +
                                     ": Validated generated package successfully.\n");
  EXPECT_EQ(Read(out), package);
  EXPECT_EQ(Names(), std::vector<std::string>{"out.pkg"});
}

TEST_F(PackageBuilder, AFailedWriteLeavesNoFileAndTheOldOneUntouched) {
  std::vector<uint8_t> good = pkg_test::BuildPackage(pkg_test::DefaultCardPackage());
  pkg_test::PkgFields twoFirmware = pkg_test::DefaultCardPackage();
  twoFirmware.entries.push_back(twoFirmware.entries[0]);
  const std::string writing = ": Writing combined image to output file ";
  const std::string checked = kTitle + ": Output Package File generated.\n" + kTitle +
                              ": Validating generated output package file.\n";
  struct Row {
    const char* name;
    std::string output;  // the path written to
    std::vector<uint8_t> package;
    std::string tail;    // after the writing line
  };
  const Row rows[] = {
      {"no such folder", PathOf("missing/out.pkg"), good,
       kTitle + ": Error creating package output file " + PathOf("missing/out.pkg") + ".\n"},
      {"the name is a folder's", PathOf("folder"), good,
       checked + kTitle + ": Error creating package output file " + PathOf("folder") + ".\n"},
      {"refused by the reader", PathOf("old.pkg"), pkg_test::BuildPackage(twoFirmware),
       checked + "\t\tPackage contains more than one controller firmware image.\n\n"},
  };
  fs::create_directories(PathOf("folder"));
  WriteText("old.pkg", "an older package");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_FALSE(WritePackageFile(row.output.c_str(), row.package.data(), static_cast<uint32_t>(row.package.size())));
    EXPECT_EQ(card().TakeOutput(), kTitle + writing + row.output + ".\n" + row.tail);
    EXPECT_EQ(Names(), (std::vector<std::string>{"folder", "old.pkg"}));
  }
  EXPECT_EQ(Read(PathOf("old.pkg")), std::vector<uint8_t>({'a', 'n', ' ', 'o', 'l', 'd', 'e', 'r', ' ', 'p', 'a',
                                                          'c', 'k', 'a', 'g', 'e'}));
  EXPECT_TRUE(fs::is_directory(PathOf("folder")));
}

}  // namespace
