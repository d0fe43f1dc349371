// A flash-module firmware image for the tests: the customer IDs it carries
// at 48 and 52, its revision at 256 (preceded by the tag the emulated
// modules look for, so that a module that takes the image reports it), and
// filler up to its size; with named corruptions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app_test {

struct SsdFwImage {
  uint32_t mainId = 103;
  uint32_t subId = 7;
  std::string revision = "ZK0301AB";  // 8 characters
  size_t size = 2048;
};

enum class SsdFwCorruption {
  kNone,
  kEmpty,                // no bytes at all
  kCutInCustomerIds,     // ends inside the sub customer ID (54 bytes)
  kCutBeforeRevision,    // ends where the revision starts (256 bytes)
  kCutInRevision,        // ends inside the revision (260 bytes)
};

std::vector<uint8_t> BuildSsdFwImage(const SsdFwImage& spec = {}, SsdFwCorruption corruption = SsdFwCorruption::kNone);

}  // namespace app_test
