// The standard page providers: which page a request's page address names,
// by page type. The address forms are the QMX interface's (top four bits of
// the address); a form a type does not know names no page.
#include "emu/page_provider.h"

namespace emu {

ConfigPage* StoredPageProvider::Find(AdapterModel& adapter, const PageRequest& request) {
  uint8_t extType = request.type == kPageExtended ? request.extType : 0;
  if (rules_.empty()) return adapter.FindPage(request.type, request.number, extType, 0);
  uint8_t form = static_cast<uint8_t>(request.address >> 28);
  for (const AddressFormRule& rule : rules_) {
    if (rule.form != form) continue;
    uint32_t value = request.address & rule.mask;
    auto first = adapter.pages.lower_bound(PageKey{request.type, request.number, extType, 0});
    auto same = [&](std::map<PageKey, ConfigPage>::iterator it) {
      return it != adapter.pages.end() && it->first.type == request.type &&
             it->first.number == request.number && it->first.extType == extType;
    };
    switch (rule.kind) {
      case AddressForm::kIgnored:
        return adapter.FindPage(request.type, request.number, extType, 0);
      case AddressForm::kExact:
        return adapter.FindPage(request.type, request.number, extType, value);
      case AddressForm::kFirst:
        return same(first) ? &first->second : nullptr;
      case AddressForm::kNextHandle: {
        if (value == rule.mask) return same(first) ? &first->second : nullptr;
        auto next =
            adapter.pages.lower_bound(PageKey{request.type, request.number, extType, value + 1});
        return same(next) ? &next->second : nullptr;
      }
      case AddressForm::kByDevHandle:
        for (auto it = first; same(it); ++it) {
          const std::vector<uint8_t>& page = it->second.current;
          if (page.size() >= 6 && (page[4] | (page[5] << 8)) == static_cast<int>(value & 0xFFFF)) {
            return &it->second;
          }
        }
        return nullptr;
    }
  }
  return nullptr;
}

std::unique_ptr<PageProvider> StandardPageProvider(uint8_t type, uint8_t extType) {
  using F = AddressForm;
  auto stored = [](std::vector<AddressFormRule> rules) {
    return std::make_unique<StoredPageProvider>(std::move(rules));
  };
  switch (type) {
    case kPageIoUnit:
    case kPageIoc:
    case kPageBios:
    case kPageManufacturing:
      return stored({});
    case kPageRaidVolume:  // by DevHandle: 0 next volume, 1 this volume
      return stored({{0, F::kNextHandle, 0xFFFF}, {1, F::kExact, 0xFFFF}});
    case kPageRaidPhysDisk:  // by disk number: 0 next disk, 1 this disk; 2 by DevHandle
      return stored({{0, F::kNextHandle, 0xFF}, {1, F::kExact, 0xFF}, {2, F::kByDevHandle, 0xFFFF}});
    case kPageExtended:
      break;
    default:
      return nullptr;
  }
  switch (extType) {
    case kExtSasIoUnit:
    case kExtLog:
      return stored({});
    case kExtSasExpander:  // 0 next expander, 1 phy << 16 | handle (page 1), 2 this expander
      return stored({{0, F::kNextHandle, 0xFFFF}, {1, F::kExact, 0x00FFFFFF}, {2, F::kExact, 0xFFFF}});
    case kExtSasDevice:  // 0 next device, 2 this device
      return stored({{0, F::kNextHandle, 0xFFFF}, {2, F::kExact, 0xFFFF}});
    case kExtSasPhy:  // 0 phy number, 1 phy table index
      return stored({{0, F::kExact, 0xFF}, {1, F::kExact, 0xFFFF}});
    case kExtEnclosure:  // 0 next enclosure, 1 this enclosure
      return stored({{0, F::kNextHandle, 0xFFFF}, {1, F::kExact, 0xFFFF}});
    case kExtRaidConfig:  // 0 next configuration, 1 this configuration, 2 the active one
      return stored({{0, F::kNextHandle, 0xFF}, {1, F::kExact, 0xFF}, {2, F::kFirst, 0}});
    default:
      return nullptr;
  }
}

}  // namespace emu
