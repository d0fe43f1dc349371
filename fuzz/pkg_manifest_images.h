// The image files the manifests of pkg_manifest_fuzz name: a folder of small
// files that its seeds' manifests point at, so that the fuzzer starts from
// manifests whose image paths open.
#pragma once

#include <filesystem>
#include <string>

namespace pkg_manifest_fuzz {

inline std::string ImageFolder() {
  return (std::filesystem::temp_directory_path() / "tessvarc-pkg-manifest-fuzz").string();
}

// The names in the folder and their sizes.
struct ImageFile {
  const char* name;
  size_t size;
};
inline constexpr ImageFile kImageFiles[] = {{"fw.bin", 512}, {"rom.bin", 96}, {"empty.bin", 0}};

}  // namespace pkg_manifest_fuzz
