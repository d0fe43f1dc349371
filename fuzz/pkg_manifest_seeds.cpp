// Seeds of pkg_manifest_fuzz: whole manifests naming the target's image
// files (one image, every image type, comments, "=" and double quotes), and
// manifests that each break one rule: a section short, a tag value, a word
// out of order, a value missing, an over-long path.
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/pkg_manifest_images.h"

namespace {

std::string Section(const std::string& type, const std::string& file, const std::string& tag = "0xFFFFFFFF") {
  return "IMAGE_START_TAG = " + tag + "\nIMAGE_TYPE = " + type +
         "\nIMAGE_UNIQUEID = 0x0000003039313532\nIMAGE_VERSION = 0x1\nIMAGE_FILEPATH = \"" +
         pkg_manifest_fuzz::ImageFolder() + "/" + file + "\"\nIMAGE_END_TAG = 0xFFFFFFFF\n";
}

std::string Header(const std::string& images) {
  return "; package\nPACKAGE_TYPE = 0x07 PACKAGE_VERSION = 0x0E020600\nPACKAGE_FLAGS = 0x0 PACKAGE_IMAGES = " +
         images + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::vector<std::string> seeds = {
      Header("0x1") + Section("0x1", "fw.bin"),
      Header("0x06") + Section("0x1", "fw.bin") + Section("0x2", "rom.bin") + Section("0x3", "rom.bin") +
          Section("0x4", "empty.bin") + Section("0x5", "rom.bin") + Section("0x6", "empty.bin"),
      Header("0x2") + Section("0x1", "fw.bin") + Section("0x1", "fw.bin"),
      Header("0x2") + Section("0x1", "fw.bin"),
      Header("0x1") + Section("0x1", "fw.bin") + Section("0x2", "rom.bin"),
      Header("0x1") + Section("0x1", "fw.bin", "0xFFFFFFFE"),
      Header("0x1") + Section("0x7", "fw.bin"),
      Header("0x1") + Section("0x2", "missing.bin"),
      Header("0x1") + Section("0x2", std::string(130, 'p')),
      "PACKAGE_VERSION 0x1 PACKAGE_TYPE 0x7",
      "PACKAGE_TYPE 0x7 PACKAGE_VERSION",
      "package_type 0x0D",
  };
  int n = 0;
  for (const std::string& seed : seeds) {
    std::string path = std::string(argv[1]) + "/seed-" + std::to_string(n++);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 1;
    std::fwrite(seed.data(), 1, seed.size(), file);
    std::fclose(file);
  }
  return 0;
}
