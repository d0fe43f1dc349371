// Where a CONFIG request's page address leads. Each page type has a provider
// that turns (number, page address) into one page of the adapter's store; a
// provider may also compute the page on request (pages generated from the
// modules or the RAID state) and keep it in the store, so that reads and
// writes see the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "emu/host/host_model.h"

namespace emu {

struct PageRequest {
  uint8_t type = 0;     // low 4 bits of the header's page type byte
  uint8_t number = 0;
  uint8_t extType = 0;  // for type 15
  uint32_t address = 0;
};

class PageProvider {
 public:
  virtual ~PageProvider() = default;
  // The page the request names, or null when the card has none there.
  virtual ConfigPage* Find(AdapterModel& adapter, const PageRequest& request) = 0;
  // A page computed from the card's state: the controller reads it out but
  // takes no writes to it (answered 0x0020, invalid action).
  virtual bool Generated(const ConfigPage* page) const { return false; }
};

// How a stored page type reads its page address.
enum class AddressForm {
  kIgnored,      // the card has the page once; the address is not looked at
  kNextHandle,   // the first instance whose identity is above (address & mask); the mask value itself starts the walk
  kExact,        // the instance whose identity is (address & mask)
  kByDevHandle,  // the instance whose page carries DevHandle (address & 0xFFFF) as u16 at byte 4
  kFirst,        // the first instance (e.g. the active RAID configuration)
};

// One row of a stored provider's table: page addresses whose top four bits
// are `form` are read as `kind`, the identity taken with `mask`.
struct AddressFormRule {
  uint8_t form = 0;
  AddressForm kind = AddressForm::kIgnored;
  uint32_t mask = 0;
};

// The provider of pages that live in the store as they were set, reading the
// page address by a table of forms. An address whose form has no row names no page.
class StoredPageProvider : public PageProvider {
 public:
  explicit StoredPageProvider(std::vector<AddressFormRule> rules) : rules_(std::move(rules)) {}
  ConfigPage* Find(AdapterModel& adapter, const PageRequest& request) override;

 private:
  std::vector<AddressFormRule> rules_;
};

// The instances of one page by identity, and the one a page address names.
using PageInstances = std::map<uint32_t, ConfigPage*>;
ConfigPage* SelectPage(const PageInstances& instances, const std::vector<AddressFormRule>& rules,
                       uint32_t address);

// The provider of pages generated from the device and RAID model on each
// request (the header step and the read see the same bytes, since nothing
// changes between them). Pages the store holds for the same type and number
// are laid over the generated ones, so that a test or a card file can give
// an instance bytes of its own; those are written like stored pages.
class GeneratedPageProvider : public PageProvider {
 public:
  using Generator = std::function<void(const AdapterModel&, uint8_t number,
                                       std::map<uint32_t, std::vector<uint8_t>>* pages)>;
  GeneratedPageProvider(std::vector<AddressFormRule> rules, Generator generate)
      : rules_(std::move(rules)), generate_(std::move(generate)) {}
  ConfigPage* Find(AdapterModel& adapter, const PageRequest& request) override;
  bool Generated(const ConfigPage* page) const override;

 private:
  std::vector<AddressFormRule> rules_;
  Generator generate_;
  std::map<uint32_t, ConfigPage> generated_;  // the last request's, so the page outlives Find
};

// The standard provider for a page type (extType for type 15), or null when
// the controller does not know that type (answered 0x0021, invalid page type).
std::unique_ptr<PageProvider> StandardPageProvider(uint8_t type, uint8_t extType);

}  // namespace emu
