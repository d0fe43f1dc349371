// The package builder's command: its words and prompts, every refusal of a
// manifest (nothing written then, an older package left as it was), and the
// writer held against the reader: a package built from a manifest for each
// entry kind is the reader's fixture package byte for byte and passes the
// reader's checks against the default card.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/package/create_pkg_command.h"
#include "app/package/flash_package.h"
#include "app/shell/command_context.h"
#include "app/shell/memory_strings.h"
#include "app_test_support.h"
#include "tests/app/images/fw_fixtures.h"
#include "tests/app/images/rom_fixtures.h"
#include "tests/app/modules/ssd_fw_fixtures.h"
#include "tests/app/package/package_fixtures.h"
#include "tests/app/package/package_folder.h"

namespace {

namespace fs = std::filesystem;
using app_test::kTitle;
using Bytes = std::vector<uint8_t>;

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

// One image section of a manifest.
std::string Section(uint8_t type, const std::string& path, uint64_t uniqueId = 0, uint64_t version = 1) {
  return "IMAGE_START_TAG = 0xFFFFFFFF\n  IMAGE_TYPE = " + Hex(type) + "\n  IMAGE_UNIQUEID = " + Hex(uniqueId) +
         "\n  IMAGE_VERSION = " + Hex(version) + "\n  IMAGE_FILEPATH = " + path + "\nIMAGE_END_TAG = 0xFFFFFFFF\n";
}

std::string Header(uint32_t images, const std::string& type = "0x07") {
  return "; a package for the default card\nPACKAGE_TYPE = " + type +
         "\nPACKAGE_VERSION = 0x0E020500\nPACKAGE_FLAGS = 0x0\nPACKAGE_IMAGES = " + Hex(images) + "\n";
}

class CreatePackage : public pkg_test::PackageFolder {
 public:
  // The parse operation on the words, then (when it took them) the
  // execution; the output of both.
  struct Outcome {
    int parse = -1;
    int exec = -1;
    std::string output;
  };
  Outcome Run(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    CommandContext context;
    Outcome outcome;
    outcome.parse = CreatePkgCommandParse(static_cast<int>(argv.size()), argv.empty() ? nullptr : argv.data(),
                                          &context);
    if (outcome.parse == kParseGoOn) {
      outcome.exec = CreatePkgCommandExec(&context);
      EXPECT_FALSE(context.params);  // the execution took its record
    }
    outcome.output = card().TakeOutput();
    return outcome;
  }
  Outcome Build(const std::string& manifest, const std::string& output) {
    return Run({"-createpkg", manifest, "-output", output});
  }

  // The manifest of the entries, each image written to its own file; the
  // fields of each entry as the reader's fixture lays them out.
  std::string ManifestFor(const pkg_test::PkgFields& fields) {
    std::string text = Header(static_cast<uint32_t>(fields.entries.size()), Hex(fields.packageType));
    for (size_t i = 0; i < fields.entries.size(); ++i) {
      const pkg_test::PkgEntry& entry = fields.entries[i];
      std::string path = Write("image-" + std::to_string(i) + ".bin", entry.data);
      text += Section(entry.type, path, (uint64_t{entry.configIdHigh} << 32) | entry.configIdLow, i + 1);
    }
    return WriteText("package.txt", text);
  }

  // What a successful build prints.
  static std::string BuiltOutput(const std::string& manifest, const std::string& output) {
    return kTitle + ": Parsing package manifest file " + manifest + ".\n" + kTitle +
           ": Combining all images into a single binary image.\n" + kTitle + ": Writing combined image to output file " +
           output + ".\n" + kTitle + ": Output Package File generated.\n" + kTitle +
           ": Validating generated output package file.\n" + kTitle + ": Validated generated package successfully.\n";
  }
};

TEST_F(CreatePackage, TakesItsFourWordsOrAsksForBothPaths) {
  const std::string usage = "Usage :\n    tessvarc -createpkg <package manifest file> -output <output package file>\n";
  const std::string tooFew = app_test::Message("Incorrect number of command line parameters.") + usage;
  const std::string format = app_test::Message("Invalid command format specified on the command line.");
  // A manifest that does not exist: the execution names the path it was given.
  const std::string opening = kTitle + ": Error opening package manifest file ";
  const std::string longPath(512, 'm');
  struct Row {
    const char* name;
    std::vector<std::string> words;  // empty: the prompts
    std::string input;
    int parse;
    std::string output;
  };
  const Row rows[] = {
      {"one word", {"-createpkg"}, "", kParseUsageError, tooFew},
      {"three words", {"-createpkg", "m.txt", "-output"}, "", kParseUsageError, tooFew},
      {"another command word", {"-makepkg", "m.txt", "-output", "p.pkg"}, "", kParseUsageError, format},
      {"another output word", {"-createpkg", "m.txt", "-out", "p.pkg"}, "", kParseUsageError, format},
      {"words in any case", {"-CreatePkg", "m.txt", "-OUTPUT", "p.pkg"}, "", kParseGoOn, opening + "m.txt.\n"},
      {"a manifest path beyond the record", {"-createpkg", longPath, "-output", "p.pkg"}, "", kParseUsageError, usage},
      {"an output path beyond the record", {"-createpkg", "m.txt", "-output", longPath}, "", kParseUsageError, usage},
      {"both paths at the prompts", {}, "m.txt\np.pkg\n", kParseGoOn,
       "Enter Package Manifest File Path: Enter Path For Generated Package File: " + opening + "m.txt.\n"},
      {"input ends at the first prompt", {}, "", kParseTerminated,
       "Enter Package Manifest File Path: Enter Path For Generated Package File: "},
      {"a refused output path", {}, "m.txt\np\x01.pkg\n", kParseUsageError,
       "Enter Package Manifest File Path: Enter Path For Generated Package File: " +
           app_test::Message("Invalid entry.")},
      // The second answer decides; a refused manifest path names no file.
      {"a refused manifest path", {}, "m\x01.txt\np.pkg\n", kParseGoOn,
       "Enter Package Manifest File Path: " + app_test::Message("Invalid entry.") +
           "Enter Path For Generated Package File: " + opening + ".\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    card().SetInput(row.input);
    Outcome outcome = Run(row.words);
    EXPECT_EQ(outcome.parse, row.parse);
    EXPECT_EQ(outcome.exec, row.parse == kParseGoOn ? 1 : -1);
    EXPECT_EQ(outcome.output, row.output);
  }
}

TEST_F(CreatePackage, EachFaultOfTheManifestEndsTheBuildAndWritesNothing) {
  const std::string fw = Write("fw.bin", fw_test::FwImage());
  const std::string rom = Write("rom.bin", rom_test::OptionRomFile());
  const std::string both = Section(1, fw) + Section(2, rom);
  fs::create_directories(PathOf("folder"));
  // The section up to its image path.
  const std::string upToPath =
      "IMAGE_START_TAG 0xFFFFFFFF IMAGE_TYPE 0x1 IMAGE_UNIQUEID 0x0 IMAGE_VERSION 0x1 IMAGE_FILEPATH ";
  const std::string longPath = "/" + std::string(127, 'p');
  const std::string longQuoted = "/" + std::string(99, 'q');
  const std::string old = WriteText("old.pkg", "an older package");
  const std::string section = kTitle + ": Error parsing image section of package manifest file ";
  const std::string header = kTitle + ": Error parsing package manifest file ";
  const std::string tooLong = "\"IMAGE_FILEPATH\" tag value is longer than 127 characters (99 between double quotes).";
  struct Row {
    const char* name;
    std::string text;
    std::string message;  // after the parsing line; "@" stands for the manifest's path
  };
  const Row rows[] = {
      {"two images declared, one section", Header(2) + Section(1, fw),
       kTitle + ": The number of image sections found(1) in the package manifest file @ is not equal to the tag "
                "value \"PACKAGE_IMAGES\"=2.\n"},
      {"the text ends inside a section", Header(1) + "IMAGE_START_TAG 0xFFFFFFFF IMAGE_TYPE 0x1\n",
       kTitle + ": The number of image sections found(0) in the package manifest file @ is not equal to the tag "
                "value \"PACKAGE_IMAGES\"=1.\n"},
      {"one image declared, two sections", Header(1) + both,
       kTitle + ": The package manifest file @ has more image sections than the tag value \"PACKAGE_IMAGES\"=1.\n"},
      {"a word after the sections", Header(2) + both + "PACKAGE_TYPE 0x7\n", section + "@.\n"},
      {"a start tag of 0xFFFFFFFE", Header(1) + "IMAGE_START_TAG 0xFFFFFFFE\n",
       kTitle + ": \"IMAGE_START_TAG\" tag value is not valid 4294967294\n"},
      {"an end tag beyond 32 bits", Header(1) + upToPath + fw + " IMAGE_END_TAG 0x1FFFFFFFF\n",
       kTitle + ": \"IMAGE_END_TAG\" tag value is not valid 8589934591\n"},
      {"header keywords in lower case", "package_type 0x7\n", header + "@.\n"},
      {"a section keyword in lower case", Header(1) + "image_start_tag 0xFFFFFFFF\n", section + "@.\n"},
      {"a header keyword out of order", "PACKAGE_VERSION 0x1 PACKAGE_TYPE 0x7\n", header + "@.\n"},
      {"a section keyword out of order", Header(1) + "IMAGE_START_TAG 0xFFFFFFFF IMAGE_TYPE 0x1 IMAGE_VERSION 0x1\n",
       section + "@.\n"},
      {"the text ends before the image count", "PACKAGE_TYPE 0x7 PACKAGE_VERSION 0x1 PACKAGE_FLAGS 0x0\n",
       header + "@.\n"},
      {"a header keyword without its value", "PACKAGE_TYPE 0x7 PACKAGE_VERSION",
       kTitle + ": Error parsing \"PACKAGE_VERSION\" tag value.\n"},
      {"a section keyword without its value", Header(1) + "IMAGE_START_TAG",
       kTitle + ": Error parsing \"IMAGE_START_TAG\" tag value.\n"},
      {"a header value that is not a number", "PACKAGE_TYPE 0x7 PACKAGE_VERSION 0x1G\n",
       "\tERROR: String 1G is not a valid number\n" + kTitle + ": \"PACKAGE_VERSION\" tag value is not valid 0x1G\n"},
      {"a keyword where the value is due", "PACKAGE_TYPE PACKAGE_VERSION 0x1\n",
       "\tERROR: String CKAGE_VERSION is not a valid number\n" + kTitle +
           ": \"PACKAGE_TYPE\" tag value is not valid PACKAGE_VERSION\n"},
      {"a value shorter than its prefix", "PACKAGE_TYPE 7\n", kTitle + ": \"PACKAGE_TYPE\" tag value is not valid 7\n"},
      {"a section value that is not a number", Header(1) + "IMAGE_START_TAG 0xFFFFFFFF IMAGE_TYPE 0x1 IMAGE_UNIQUEID x",
       kTitle + ": \"IMAGE_UNIQUEID\" tag value is not valid type x\n"},
      {"more than 16 digits", Header(1) + "IMAGE_START_TAG 0x1FFFFFFFFFFFFFFFF\n",
       "\tERROR: String 1FFFFFFFFFFFFFFFF is not a valid number\n" + kTitle +
           ": \"IMAGE_START_TAG\" tag value is not valid type 0x1FFFFFFFFFFFFFFFF\n"},
      {"package type 0", Header(0, "0x0"), kTitle + ": Invalid Package Type 0\n"},
      {"package type 13", Header(0, "0x0D"), kTitle + ": Invalid Package Type 13\n"},
      {"package type beyond a byte", Header(0, "0x107"), kTitle + ": Invalid Package Type 263\n"},
      {"image type 0", Header(1) + Section(0, fw), kTitle + ": \"IMAGE_TYPE\" tag value is not valid 0\n"},
      {"image type 7", Header(1) + Section(7, fw), kTitle + ": \"IMAGE_TYPE\" tag value is not valid 7\n"},
      {"an image file that is not there", Header(2) + Section(1, fw) + Section(2, PathOf("gone.bin")),
       kTitle + ": Failed to open file " + PathOf("gone.bin") + "\n"},
      {"an image path that is a folder", Header(1) + Section(1, PathOf("folder")),
       kTitle + ": Failed to open file " + PathOf("folder") + "\n"},
      {"an image path of 128 characters", Header(1) + upToPath + longPath + "\n", kTitle + ": " + tooLong + "\n"},
      {"a quoted image path of 100 characters", Header(1) + Section(1, "\"" + longQuoted + "\""),
       kTitle + ": " + tooLong + "\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string manifest = WriteText("manifest.txt", row.text);
    std::string message = row.message;
    for (size_t at = message.find('@'); at != std::string::npos; at = message.find('@')) message.replace(at, 1, manifest);
    Outcome outcome = Build(manifest, old);
    EXPECT_EQ(outcome.exec, 1);
    EXPECT_EQ(outcome.output, kTitle + ": Parsing package manifest file " + manifest + ".\n" + message);
    EXPECT_EQ(Names(), (std::vector<std::string>{"folder", "fw.bin", "manifest.txt", "old.pkg", "rom.bin"}));
    EXPECT_EQ(Read(old), Bytes({'a', 'n', ' ', 'o', 'l', 'd', 'e', 'r', ' ', 'p', 'a', 'c', 'k', 'a', 'g', 'e'}));
  }
}

TEST_F(CreatePackage, TheManifestMustBeAFileThatReads) {
  fs::create_directories(PathOf("folder"));
  for (const std::string& manifest : {PathOf("missing.txt"), PathOf("folder")}) {
    Outcome outcome = Build(manifest, PathOf("out.pkg"));
    EXPECT_EQ(outcome.exec, 1);
    EXPECT_EQ(outcome.output, kTitle + ": Error opening package manifest file " + manifest + ".\n");
  }
  // An empty manifest declares no package.
  const std::string empty = WriteText("empty.txt", "");
  Outcome outcome = Build(empty, PathOf("out.pkg"));
  EXPECT_EQ(outcome.exec, 1);
  EXPECT_EQ(outcome.output, kTitle + ": Parsing package manifest file " + empty + ".\n" + kTitle +
                                ": Error parsing package manifest file " + empty + ".\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"empty.txt", "folder"}));
}

TEST_F(CreatePackage, APackageThatCannotBeWrittenLeavesNoFile) {
  const std::string fw = Write("fw.bin", fw_test::FwImage());
  const std::string rom = Write("rom.bin", rom_test::OptionRomFile());
  const std::string manifest = WriteText("manifest.txt", Header(2) + Section(1, fw) + Section(2, rom));
  const std::string output = PathOf("missing/out.pkg");
  Outcome outcome = Build(manifest, output);
  EXPECT_EQ(outcome.exec, 1);
  EXPECT_EQ(outcome.output, kTitle + ": Parsing package manifest file " + manifest + ".\n" + kTitle +
                                ": Combining all images into a single binary image.\n" + kTitle +
                                ": Writing combined image to output file " + output + ".\n" + kTitle +
                                ": Error creating package output file " + output + ".\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"fw.bin", "manifest.txt", "rom.bin"}));
}

// Every image type of the format, each beside the firmware and BIOS a
// package needs, and all of them in one package: the package built from the
// manifest is the one the reader's fixture builds from the same entries, it
// passes the checks of the file alone and the whole validation against the
// default card, and its board and OEM fit the card.
TEST_F(CreatePackage, EachEntryKindBuildsTheReadersPackage) {
  rom_test::RomFileFields uefiFields;
  uefiFields.legacy = false;
  rom_test::RomFileFields legacyFields;
  legacyFields.uefi = false;
  legacyFields.components = false;
  const pkg_test::PkgEntry firmware{1, fw_test::FwImage()};
  const pkg_test::PkgEntry bios{2, rom_test::OptionRomFile()};
  const pkg_test::PkgEntry uefi{3, rom_test::OptionRomFile(uefiFields)};
  const pkg_test::PkgEntry biosType{4, rom_test::OptionRomFile(legacyFields)};
  const pkg_test::PkgEntry module = pkg_test::DefaultCardPackage().entries[2];
  const pkg_test::PkgEntry ignored{6, Bytes(64, 0xA5)};
  struct Row {
    const char* name;
    std::vector<pkg_test::PkgEntry> entries;
  };
  const Row rows[] = {
      {"controller firmware and legacy BIOS", {firmware, bios}},
      {"a UEFI driver", {uefi, firmware}},
      {"a BIOS-type image", {firmware, bios, biosType}},
      {"module firmware", {bios, module, firmware}},
      {"an ignored entry", {firmware, ignored, bios}},
      {"every kind", {firmware, bios, module, uefi, biosType, ignored}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    pkg_test::PkgFields fields;
    fields.entries = row.entries;
    const std::string manifest = ManifestFor(fields);
    const std::string output = PathOf("built.pkg");
    Outcome outcome = Build(manifest, output);
    EXPECT_EQ(outcome.exec, 0);
    EXPECT_EQ(outcome.output, BuiltOutput(manifest, output));
    Bytes package = Read(output);
    ASSERT_EQ(package, pkg_test::BuildPackage(fields));
    const auto size = static_cast<uint32_t>(package.size());
    EXPECT_EQ(CheckFlashPkgFile(package.data(), size), 0u);
    EXPECT_EQ(ValidateFlashPkg(package.data(), size), 0u);
    EXPECT_EQ(CheckPkgOemAndBoardName(package.data(), size), 1u);
    card().TakeOutput();
    fs::remove(output);
  }
}

TEST_F(CreatePackage, TheManifestsNumbersGoWholeIntoTheirFields) {
  // A path with a blank, between double quotes.
  const std::string fw = Write("fw image.bin", fw_test::FwImage());
  const std::string manifest = WriteText(
      "manifest.txt",
      "PACKAGE_TYPE=0x0C PACKAGE_VERSION=0x81828384 PACKAGE_FLAGS=0XA1B2C3D4 PACKAGE_IMAGES=0x1 ; one image\n"
      "IMAGE_START_TAG=0xFFFFFFFF IMAGE_TYPE=0x06 IMAGE_UNIQUEID=0x1122334455667788\n"
      "IMAGE_VERSION=0x99AABBCCDDEEFF00 IMAGE_FILEPATH=\"" + fw + "\" IMAGE_END_TAG=0xffffffff\n");
  Outcome outcome = Build(manifest, PathOf("out.pkg"));
  ASSERT_EQ(outcome.exec, 0) << outcome.output;
  Bytes b = Read(PathOf("out.pkg"));
  ASSERT_EQ(b.size(), 56 + 32 + fs::file_size(fw));
  EXPECT_EQ(b[8], 12);
  EXPECT_EQ(Le32(b, 12), 0x81828384u);
  EXPECT_EQ(Le32(b, 16), 0xA1B2C3D4u);
  EXPECT_EQ(b[52], 1);
  EXPECT_EQ(b[56], 6);
  EXPECT_EQ(Le32(b, 56 + 4), 56u + 32u);
  EXPECT_EQ(Le32(b, 56 + 12), 0xDDEEFF00u);
  EXPECT_EQ(Le32(b, 56 + 16), 0x99AABBCCu);
  EXPECT_EQ(Le32(b, 56 + 20), 0x55667788u);
  EXPECT_EQ(Le32(b, 56 + 24), 0x11223344u);
}

}  // namespace
