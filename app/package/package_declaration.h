// What a package manifest declares: the header's fields and one record per
// image section, each with the file that holds the image and its size when
// the manifest was read. The images' data follow the entry table one after
// the other in section order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PkgImageSpec {
  uint8_t type = 0;       // an image type of the package format, 1 to 6
  uint64_t uniqueId = 0;  // module firmware: the configuration ID it is made for
  uint64_t version = 0;
  std::string path;
  uint32_t size = 0;
};

struct PkgSpec {
  uint8_t packageType = 0;  // the board type, 1 to 12
  uint32_t packageVersion = 0;
  uint32_t flags = 0;
  uint8_t declaredImages = 0;
  std::vector<PkgImageSpec> images;  // in package order
};
