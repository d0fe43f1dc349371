// The standard page providers: which page a request's page address names,
// by page type. The address forms are the QMX interface's (top four bits of
// the address); a form a type does not know names no page. The pages that
// describe the devices and the RAID configuration are generated from the
// model; the others live in the adapter's store.
#include "emu/pages/page_provider.h"

#include "emu/pages/generated_pages.h"

namespace emu {
namespace {

// The store's instances of one page.
PageInstances StoredInstances(AdapterModel& adapter, uint8_t type, uint8_t number, uint8_t extType) {
  PageInstances instances;
  for (auto it = adapter.pages.lower_bound(PageKey{type, number, extType, 0});
       it != adapter.pages.end() && it->first.type == type && it->first.number == number &&
       it->first.extType == extType;
       ++it) {
    instances[it->first.identity] = &it->second;
  }
  return instances;
}

}  // namespace

ConfigPage* SelectPage(const PageInstances& instances, const std::vector<AddressFormRule>& rules,
                       uint32_t address) {
  auto exact = [&](uint32_t identity) -> ConfigPage* {
    auto it = instances.find(identity);
    return it == instances.end() ? nullptr : it->second;
  };
  if (rules.empty()) return exact(0);
  uint8_t form = static_cast<uint8_t>(address >> 28);
  for (const AddressFormRule& rule : rules) {
    if (rule.form != form) continue;
    uint32_t value = address & rule.mask;
    switch (rule.kind) {
      case AddressForm::kIgnored:
        return exact(0);
      case AddressForm::kExact:
        return exact(value);
      case AddressForm::kFirst:
        return instances.empty() ? nullptr : instances.begin()->second;
      case AddressForm::kNextHandle: {
        auto next = value == rule.mask ? instances.begin() : instances.upper_bound(value);
        return next == instances.end() ? nullptr : next->second;
      }
      case AddressForm::kByDevHandle:
        for (const auto& [identity, page] : instances) {
          const std::vector<uint8_t>& bytes = page->current;
          if (bytes.size() >= 6 && (bytes[4] | (bytes[5] << 8)) == static_cast<int>(value & 0xFFFF)) {
            return page;
          }
        }
        return nullptr;
    }
  }
  return nullptr;
}

ConfigPage* StoredPageProvider::Find(AdapterModel& adapter, const PageRequest& request) {
  uint8_t extType = request.type == kPageExtended ? request.extType : 0;
  return SelectPage(StoredInstances(adapter, request.type, request.number, extType), rules_,
                    request.address);
}

ConfigPage* GeneratedPageProvider::Find(AdapterModel& adapter, const PageRequest& request) {
  uint8_t extType = request.type == kPageExtended ? request.extType : 0;
  std::map<uint32_t, std::vector<uint8_t>> made;
  generate_(adapter, request.number, &made);
  generated_.clear();
  PageInstances instances;
  for (auto& [identity, bytes] : made) {
    ConfigPage& page = generated_[identity];
    page = ConfigPage{bytes, bytes, bytes};
    instances[identity] = &page;
  }
  for (const auto& [identity, page] : StoredInstances(adapter, request.type, request.number, extType)) {
    instances[identity] = page;
  }
  return SelectPage(instances, rules_, request.address);
}

bool GeneratedPageProvider::Generated(const ConfigPage* page) const {
  for (const auto& [identity, own] : generated_) {
    if (&own == page) return true;
  }
  return false;
}

std::unique_ptr<PageProvider> StandardPageProvider(uint8_t type, uint8_t extType) {
  using F = AddressForm;
  auto stored = [](std::vector<AddressFormRule> rules) {
    return std::make_unique<StoredPageProvider>(std::move(rules));
  };
  auto generated = [](std::vector<AddressFormRule> rules, GeneratedPageProvider::Generator make) {
    return std::make_unique<GeneratedPageProvider>(std::move(rules), std::move(make));
  };
  switch (type) {
    case kPageIoUnit:
    case kPageIoc:
    case kPageBios:
    case kPageManufacturing:
      return stored({});
    case kPageRaidVolume:  // by DevHandle: 0 next volume, 1 this volume
      return generated({{0, F::kNextHandle, 0xFFFF}, {1, F::kExact, 0xFFFF}}, GenerateRaidVolumePages);
    case kPageRaidPhysDisk:  // by disk number: 0 next disk, 1 this disk; 2 by DevHandle
      return generated({{0, F::kNextHandle, 0xFF}, {1, F::kExact, 0xFF}, {2, F::kByDevHandle, 0xFFFF}},
                       GenerateRaidDiskPages);
    case kPageExtended:
      break;
    default:
      return nullptr;
  }
  switch (extType) {
    case kExtSasIoUnit:  // page 0 generated, the settings pages stored
      return generated({}, GenerateSasIoUnitPages);
    case kExtLog:
      return stored({});
    case kExtSasExpander:  // 0 next expander, 1 phy << 16 | handle (page 1), 2 this expander
      return stored({{0, F::kNextHandle, 0xFFFF}, {1, F::kExact, 0x00FFFFFF}, {2, F::kExact, 0xFFFF}});
    case kExtSasDevice:  // 0 next device, 2 this device
      return generated({{0, F::kNextHandle, 0xFFFF}, {2, F::kExact, 0xFFFF}}, GenerateSasDevicePages);
    case kExtSasPhy:  // 0 phy number, 1 phy table index
      return generated({{0, F::kExact, 0xFF}, {1, F::kExact, 0xFFFF}}, GenerateSasPhyPages);
    case kExtEnclosure:  // 0 next enclosure, 1 this enclosure
      return generated({{0, F::kNextHandle, 0xFFFF}, {1, F::kExact, 0xFFFF}}, GenerateEnclosurePages);
    case kExtRaidConfig:  // 0 next configuration, 1 this configuration, 2 the active one
      return generated({{0, F::kNextHandle, 0xFF}, {1, F::kExact, 0xFF}, {2, F::kFirst, 0}},
                       GenerateRaidConfigPages);
    case kExtSasPort:  // 0 next port after the low 12 bits (0xFFF starts), 1 this port
      return generated({{0, F::kNextHandle, 0xFFF}, {1, F::kExact, 0xFF}}, GenerateSasPortPages);
    case kExtDriverMapping:  // 0 the entry of the low 16 bits
      return generated({{0, F::kExact, 0xFFFF}}, GenerateDriverMappingPages);
    case kExtManufacturing:  // the card has each page once
      return generated({}, GenerateExtManufacturingPages);
    default:
      return nullptr;
  }
}

}  // namespace emu
