#include "tests/ctl/devices/scsi_target_fake.h"

#include <algorithm>

namespace ctltest {
namespace {

void PutBe32(std::vector<uint8_t>* bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

char HexDigit(int value) { return "0123456789ABCDEF"[value & 0xF]; }

}  // namespace

std::string CommandName(const std::vector<uint8_t>& cdb) {
  if (cdb[0] == 0x12 && (cdb[1] & 1)) return std::string("VPD 0x") + HexDigit(cdb[2] >> 4) + HexDigit(cdb[2]);
  if (cdb[0] == 0x12) return "INQUIRY";
  if (cdb[0] == 0x25) return "READ CAPACITY";
  if (cdb[0] == 0x9E && cdb[1] == 0x10) return "READ CAPACITY 16";
  return "other";
}

void FakeTargets::Install(emu::Emulator& card) {
  for (uint8_t function : {uint8_t{0x00}, uint8_t{0x16}}) {
    card.RegisterFunction(function, emu::FunctionHandler{96, [this, function](emu::CommandRequest& request,
                                                                              emu::CommandAnswer& answer) {
                            Answer(function, request, answer);
                          }});
  }
}

std::vector<std::string> FakeTargets::Sent(uint16_t devHandle) const {
  std::vector<std::string> names;
  for (const auto& [handle, name] : sent_) {
    if (handle == devHandle) names.push_back(name);
  }
  return names;
}

size_t FakeTargets::Count(const std::string& command) const {
  return std::count_if(sent_.begin(), sent_.end(), [&](const auto& s) { return s.second == command; });
}

void FakeTargets::Answer(uint8_t, emu::CommandRequest& request, emu::CommandAnswer& answer) {
  const std::vector<uint8_t>& frame = request.frame;
  uint16_t devHandle = Le16(frame, 0);
  std::vector<uint8_t> cdb(frame.begin() + 64, frame.begin() + 96);
  std::string name = CommandName(cdb);
  sent_.emplace_back(devHandle, name);
  answer.reply = emu::NewReply(request, 48);
  auto found = disks_.find(devHandle);
  if (found == disks_.end()) {
    emu::SetReplyStatus(&answer.reply, 0x0043);  // device not there
    return;
  }
  const FakeDisk& disk = found->second;
  auto status = disk.status.find(name);
  if (status != disk.status.end()) {
    answer.reply[12] = status->second;
    if (status->second == 0x02) answer.sense = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0};
    return;
  }
  std::vector<uint8_t>& data = answer.dataIn;
  if (name == "INQUIRY") {
    data.assign(96, 0);
    data[0] = disk.peripheral;
    data[1] = disk.removable ? 0x80 : 0;
    data[4] = 91;
  } else if (name == "VPD 0x00") {
    data = {disk.peripheral, 0x00, 0, static_cast<uint8_t>(disk.vpdPages.size())};
    data.insert(data.end(), disk.vpdPages.begin(), disk.vpdPages.end());
    if (disk.listLength != 0) {
      data[3] = disk.listLength;
      data.resize(255, 0x00);
    }
  } else if (name == "VPD 0x83") {
    data = {disk.peripheral, 0x83, 0, static_cast<uint8_t>(4 + disk.naa.size()), 0x01, 0x03, 0,
            static_cast<uint8_t>(disk.naa.size())};
    data.insert(data.end(), disk.naa.begin(), disk.naa.end());
  } else if (name == "VPD 0xB1") {
    data.assign(64, 0);
    data[1] = 0xB1;
    data[3] = 0x3C;
    data[4] = static_cast<uint8_t>(disk.rotationRate >> 8);
    data[5] = static_cast<uint8_t>(disk.rotationRate);
    data[7] = disk.formFactor;
  } else if (name == "READ CAPACITY") {
    data.assign(8, 0);
    PutBe32(&data, 0, disk.lastLba > 0xFFFFFFFEull ? 0xFFFFFFFFu : static_cast<uint32_t>(disk.lastLba));
    PutBe32(&data, 4, disk.blockLength);
  } else if (name == "READ CAPACITY 16") {
    data.assign(32, 0);
    PutBe32(&data, 0, static_cast<uint32_t>(disk.lastLba >> 32));
    PutBe32(&data, 4, static_cast<uint32_t>(disk.lastLba));
    PutBe32(&data, 8, disk.blockLength);
  } else {
    answer.reply[12] = 0x02;
    answer.sense = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x20, 0};
  }
}

}  // namespace ctltest
