#include "tests/app/modules/ssd_fw_fixtures.h"

#include <algorithm>

namespace app_test {
namespace {

void PutLe32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<uint8_t> BuildSsdFwImage(const SsdFwImage& spec, SsdFwCorruption corruption) {
  std::vector<uint8_t> image(std::max<size_t>(spec.size, 264));
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(0x5A ^ (i * 7) ^ (i >> 8));
  PutLe32(&image, 48, spec.mainId);
  PutLe32(&image, 52, spec.subId);
  const std::string tag = "ZK-FWREV";
  std::copy(tag.begin(), tag.end(), image.begin() + 248);
  std::string revision = spec.revision;
  revision.resize(8, ' ');
  std::copy(revision.begin(), revision.end(), image.begin() + 256);
  image.resize(spec.size);
  switch (corruption) {
    case SsdFwCorruption::kNone: break;
    case SsdFwCorruption::kEmpty: image.clear(); break;
    case SsdFwCorruption::kCutInCustomerIds: image.resize(54); break;
    case SsdFwCorruption::kCutBeforeRevision: image.resize(256); break;
    case SsdFwCorruption::kCutInRevision: image.resize(260); break;
  }
  return image;
}

}  // namespace app_test
