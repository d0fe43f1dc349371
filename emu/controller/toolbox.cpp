// TOOLBOX: tool 0 cleans flash areas: the persistent configuration region
// (0x20000000) holds the NVRAM copy of every page, the card's identity in
// manufacturing pages 0 and 1 included, and goes back to the defaults;
// 0x40000000 cleans the manufacturing pages alone. A fault (answer,
// function 0x17) refuses a clean and leaves the pages alone. Tool 3 (ISTWI) tool 3 (ISTWI) reaches the devices on the card's two-wire bus,
// each a small register store of the adapter model.
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"
#include "emu/controller/qmx_frames.h"

namespace emu {
namespace {

namespace tb = qmx::toolbox;

void Clean(CommandRequest& request, CommandAnswer& answer) {
  answer.reply = NewReply(request, tb::kCleanReplyBytes);
  if (request.frame.size() < tb::kCleanRequestBytes) {
    return SetReplyStatus(&answer.reply, kIocInvalidField);
  }
  uint32_t flags = le::Get32(request.frame, tb::kCleanFlags);
  ++request.runtime.toolboxCleans;
  request.runtime.lastCleanFlags = flags;
  for (auto& [key, page] : request.adapter.pages) {
    bool manufacturing = key.type == kPageManufacturing;
    if ((flags & tb::kCleanPersistentRegion) != 0 ||
        (manufacturing && (flags & tb::kCleanManufacturingPages) != 0)) {
      page.nvram = page.defaults;
    }
  }
  SetReplyStatus(&answer.reply, kIocSuccess);
}

void Istwi(CommandRequest& request, CommandAnswer& answer) {
  std::vector<uint8_t>& reply = answer.reply;
  reply = NewReply(request, tb::kIstwiReplyBytes);
  if (request.frame.size() < tb::kIstwiRequestBytes) return SetReplyStatus(&reply, kIocInvalidField);
  uint8_t device = le::Get8(request.frame, tb::kIstwiDeviceIndex);
  uint8_t action = le::Get8(request.frame, tb::kIstwiAction);
  uint16_t txLength = le::Get16(request.frame, tb::kIstwiTxLength);
  uint16_t rxLength = le::Get16(request.frame, tb::kIstwiRxLength);
  le::Put8(&reply, tb::kIstwiReplyDeviceIndex, device);
  le::Put8(&reply, tb::kIstwiReplyAction, action);
  if (txLength > request.dataOut.size()) return SetReplyStatus(&reply, kIocInvalidSgl);

  if (action == tb::kIstwiReserveBus || action == tb::kIstwiReleaseBus) {
    return SetReplyStatus(&reply, kIocSuccess);
  }
  auto found = request.adapter.twoWire.find(device);
  if (found == request.adapter.twoWire.end()) {
    // Nobody acknowledges the address.
    le::Put8(&reply, tb::kIstwiReplyStatus, tb::kIstwiStatusNoAck);
    return SetReplyStatus(&reply, kIocInvalidField);
  }
  std::vector<uint8_t>& registers = found->second;
  const std::vector<uint8_t>& tx = request.dataOut;
  size_t from = 0;
  switch (action) {
    case tb::kIstwiRead:
      break;
    case tb::kIstwiSequence:
      from = txLength > 0 ? tx[0] : 0;
      break;
    case tb::kIstwiWrite: {
      size_t at = txLength > 0 ? tx[0] : 0;
      for (size_t i = 1; i < txLength; ++i, ++at) {
        if (at >= registers.size()) registers.resize(at + 1, 0xFF);
        registers[at] = tx[i];
      }
      le::Put16(&reply, tb::kIstwiReplyTxCount, txLength);
      return SetReplyStatus(&reply, kIocSuccess);
    }
    default:
      return SetReplyStatus(&reply, kIocInvalidField);
  }
  // Past the last register the bus reads as all ones.
  answer.dataIn.assign(rxLength, 0xFF);
  for (size_t i = 0; i < rxLength && from + i < registers.size(); ++i) {
    answer.dataIn[i] = registers[from + i];
  }
  le::Put16(&reply, tb::kIstwiReplyTxCount, txLength);
  le::Put16(&reply, tb::kIstwiReplyRxCount, rxLength);
  SetReplyStatus(&reply, kIocSuccess);
}

void Toolbox(CommandRequest& request, CommandAnswer& answer) {
  switch (le::Get8(request.frame, tb::kTool)) {
    case tb::kToolClean: return Clean(request, answer);
    case tb::kToolIstwi: return Istwi(request, answer);
    default:
      answer.reply = NewReply(request, qmx::reply::kMinimumBytes);
      SetReplyStatus(&answer.reply, kIocInvalidField);
  }
}

}  // namespace

FunctionHandler ToolboxHandler() { return {tb::kCleanRequestBytes, Toolbox}; }

}  // namespace emu
