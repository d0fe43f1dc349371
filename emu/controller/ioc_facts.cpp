// IOC FACTS and PORT FACTS: the controller's identity and capabilities.
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"
#include "emu/controller/qmx_frames.h"

namespace emu {
namespace {

void IocFacts(CommandRequest& request, CommandAnswer& answer) {
  namespace f = qmx::ioc_facts;
  const AdapterModel& a = request.adapter;
  std::vector<uint8_t> reply = NewReply(request, f::kReplyBytes);
  le::Put16(&reply, f::kMessageVersion, a.messageVersion);
  le::Put16(&reply, f::kHeaderVersion, a.headerVersion);
  le::Put8(&reply, f::kIocNumber, static_cast<uint8_t>(a.ioc));
  le::Put8(&reply, f::kMaxChainDepth, 128);
  le::Put8(&reply, f::kWhoInit, 4);  // initialized by the host driver
  le::Put8(&reply, f::kNumberOfPorts, a.numberOfPorts);
  le::Put8(&reply, f::kMaxMsixVectors, 16);
  le::Put16(&reply, f::kRequestCredit, a.requestCredit);
  le::Put16(&reply, f::kProductId, a.productId);
  le::Put32(&reply, f::kIocCapabilities, a.iocCapabilities);
  le::Put32(&reply, f::kFirmwareVersion, a.firmwareVersion);
  le::Put16(&reply, f::kRequestFrameSize, 32);  // words: 128-byte frames
  le::Put16(&reply, f::kMaxInitiators, 1);
  le::Put16(&reply, f::kMaxTargets, a.maxTargets);
  le::Put16(&reply, f::kMaxSasExpanders, 8);
  le::Put16(&reply, f::kMaxEnclosures, 1);
  le::Put16(&reply, f::kProtocolFlags, 0x0003);  // SCSI initiator and target
  le::Put16(&reply, f::kHighPriorityCredit, 104);
  le::Put16(&reply, f::kMaxReplyQueueDepth, 2048);
  le::Put8(&reply, f::kReplyFrameSize, 32);
  le::Put8(&reply, f::kMaxVolumes, a.maxVolumes);
  le::Put16(&reply, f::kMaxDevHandle, a.maxDevHandle);
  le::Put16(&reply, f::kMaxPersistentEntries, 128);
  le::Put16(&reply, f::kMinDevHandle, 9);
  SetReplyStatus(&reply, kIocSuccess);
  answer.reply = std::move(reply);
}

void PortFacts(CommandRequest& request, CommandAnswer& answer) {
  namespace p = qmx::port_facts;
  uint8_t port = le::Get8(request.frame, p::kRequestPort);
  std::vector<uint8_t> reply = NewReply(request, p::kReplyBytes);
  le::Put8(&reply, p::kReplyPort, port);
  if (port >= request.adapter.numberOfPorts) {
    SetReplyStatus(&reply, kIocInvalidField);
  } else {
    le::Put8(&reply, p::kPortType, p::kPortTypeSas);
    le::Put16(&reply, p::kMaxPostedCommandBuffers, 128);
    SetReplyStatus(&reply, kIocSuccess);
  }
  answer.reply = std::move(reply);
}

}  // namespace

FunctionHandler IocFactsHandler() { return {qmx::ioc_facts::kRequestBytes, IocFacts}; }
FunctionHandler PortFactsHandler() { return {qmx::port_facts::kRequestBytes, PortFacts}; }

}  // namespace emu
