// SMP passthrough (0x1A). The card has no expander: its modules hang
// directly off the controller's phys. The controller's own SAS address
// answers as the SMP target of that topology (REPORT GENERAL: eight phys;
// DISCOVER: what each phy has attached); a module's address is a SATA
// device, which does not speak SMP, and any other address reaches nobody.
#include <algorithm>

#include "emu/pages/default_pages.h"
#include "emu/controller/device_frames.h"
#include "emu/raid/device_rules.h"
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"

namespace emu {
namespace {

namespace sm = qmx::smp;

// SMP frames (big-endian fields; the CRC is not carried).
constexpr uint8_t kRequestFrame = 0x40;
constexpr uint8_t kResponseFrame = 0x41;
constexpr uint8_t kReportGeneral = 0x00;
constexpr uint8_t kDiscover = 0x10;
constexpr uint8_t kResultAccepted = 0x00;
constexpr uint8_t kResultUnknownFunction = 0x01;
constexpr uint8_t kResultPhyDoesNotExist = 0x10;
constexpr uint32_t kReportGeneralBytes = 28;
constexpr uint32_t kDiscoverBytes = 60;
constexpr uint32_t kDiscoverPhy = 9;

void PutBe(std::vector<uint8_t>* v, size_t at, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) le::Put8(v, at + i, static_cast<uint8_t>(value >> (8 * (width - 1 - i))));
}

std::vector<uint8_t> Response(uint8_t function, uint8_t result, uint32_t bytes) {
  std::vector<uint8_t> r(bytes, 0);
  r[0] = kResponseFrame;
  r[1] = function;
  r[2] = result;
  r[3] = static_cast<uint8_t>((bytes - 4) / 4);
  return r;
}

std::vector<uint8_t> ReportGeneral(const AdapterModel& adapter) {
  std::vector<uint8_t> r = Response(kReportGeneral, kResultAccepted, kReportGeneralBytes);
  r[9] = static_cast<uint8_t>(kCardPhys);
  PutBe(&r, 12, adapter.sasAddress, 8);  // enclosure logical identifier
  return r;
}

std::vector<uint8_t> Discover(const AdapterModel& adapter, uint8_t phy) {
  if (phy >= kCardPhys) return Response(kDiscover, kResultPhyDoesNotExist, 4);
  std::vector<uint8_t> r = Response(kDiscover, kResultAccepted, kDiscoverBytes);
  const ModuleModel* module = adapter.FindModule(phy);
  bool attached = module != nullptr && ModuleAttached(adapter, *module);
  r[kDiscoverPhy] = phy;
  r[12] = attached ? 0x10 : 0x00;  // attached device type: end device
  r[13] = PhyDisabled(adapter, phy) ? 0x01 : attached ? 0x0A : 0x00;  // negotiated rate
  r[15] = attached ? 0x01 : 0x00;  // attached target: SATA device
  PutBe(&r, 16, adapter.sasAddress, 8);
  PutBe(&r, 24, attached ? module->sasAddress : 0, 8);
  r[40] = 0x88;  // programmed and hardware minimum 1.5 Gbps
  r[41] = 0xAA;  // programmed and hardware maximum 6.0 Gbps
  return r;
}

void Smp(CommandRequest& request, CommandAnswer& answer) {
  std::vector<uint8_t>& reply = answer.reply;
  reply = NewReply(request, sm::kReplyBytes);
  const AdapterModel& adapter = request.adapter;
  uint64_t address = le::Get64(request.frame, sm::kSasAddress);
  const std::vector<uint8_t>& smp = request.dataOut;

  uint8_t sasStatus = sm::kSasSuccess;
  std::vector<uint8_t> response;
  if (address != adapter.sasAddress) {
    bool module = false;
    for (const ModuleModel& m : adapter.modules) module |= ModuleAttached(adapter, m) && m.sasAddress == address;
    sasStatus = module ? sm::kSasProtocolNotSupported : sm::kSasBadDestination;
  } else if (smp.size() < 4 || smp[0] != kRequestFrame) {
    sasStatus = 0x02;  // invalid frame
  } else if (smp[1] == kReportGeneral) {
    response = ReportGeneral(adapter);
  } else if (smp[1] == kDiscover) {
    response = smp.size() > kDiscoverPhy ? Discover(adapter, smp[kDiscoverPhy])
                                         : Response(kDiscover, kResultPhyDoesNotExist, 4);
  } else {
    response = Response(smp[1], kResultUnknownFunction, 4);
  }
  le::Put8(&reply, sm::kReplySasStatus, sasStatus);
  if (sasStatus != sm::kSasSuccess) return SetReplyStatus(&reply, kIocSmpRequestFailed);
  if (response.size() > request.dataInSize) response.resize(request.dataInSize);
  le::Put16(&reply, sm::kReplyResponseLength, static_cast<uint16_t>(response.size()));
  answer.dataIn = std::move(response);
  SetReplyStatus(&reply, kIocSuccess);
}

}  // namespace

FunctionHandler SmpPassthroughHandler() { return {sm::kRequestBytes, Smp}; }

}  // namespace emu
