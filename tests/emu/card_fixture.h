// A fixture for the device tests: a card installed as the active port with
// its control node open, and short ways to send raw frames and read pages.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "emu/host/emulator.h"
#include "raw_port.h"

namespace rawtest {

class CardFixture : public ::testing::Test {
 protected:
  void SetUp() override { Use(emu::DefaultHost()); }
  void TearDown() override { card_->CloseNode(fd_); }
  // Replaces the card with another machine.
  void Use(emu::HostModel host) {
    if (card_ != nullptr) card_->CloseNode(fd_);
    card_ = &emu::Install(std::move(host));
    fd_ = card_->OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  }
  emu::Emulator& card() { return *card_; }
  emu::AdapterModel& adapter() { return *card_->model().FirstAdapter(); }
  Sent Send(const Message& m) { return SendCommand(*card_, fd_, m); }
  PageRead Read(uint8_t type, uint8_t number, uint8_t ext = 0, uint32_t address = 0, uint8_t action = 1) {
    return ReadPage(*card_, fd_, type, number, ext, address, action);
  }
  // The page bytes, or empty when the page is not there.
  std::vector<uint8_t> Page(uint8_t type, uint8_t number, uint8_t ext = 0, uint32_t address = 0) {
    PageRead r = Read(type, number, ext, address);
    return r.headerStatus == 0 && r.readStatus == 0 ? r.bytes : std::vector<uint8_t>{};
  }
  uint16_t Status(uint8_t type, uint8_t number, uint8_t ext = 0, uint32_t address = 0) {
    return Read(type, number, ext, address).headerStatus;
  }
  // Walks a page with the next-handle form from `start`, collecting the u16
  // at `identityAt` of each answer; stops at the first failure (its status in *end).
  std::vector<uint32_t> Walk(uint8_t type, uint8_t number, uint8_t ext, uint32_t start, size_t identityAt,
                             bool byte, uint16_t* end) {
    std::vector<uint32_t> seen;
    uint32_t address = start;
    for (int i = 0; i < 20; ++i) {
      PageRead r = Read(type, number, ext, address);
      if (r.headerStatus != 0) {
        *end = r.headerStatus;
        return seen;
      }
      uint32_t id = byte ? r.bytes.at(identityAt) : Get16(r.bytes, identityAt);
      seen.push_back(id);
      address = id;
    }
    *end = 0xFFFF;
    return seen;
  }
  static std::string Text(const std::vector<uint8_t>& bytes, size_t at, size_t width) {
    return std::string(reinterpret_cast<const char*>(bytes.data() + at), width);
  }

  emu::Emulator* card_ = nullptr;
  int fd_ = -1;
};

}  // namespace rawtest
