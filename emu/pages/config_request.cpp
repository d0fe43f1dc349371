// CONFIG: the two-step page protocol. The header action announces the page's
// length (page length byte in words for ordinary pages, the extended page
// length for type 15); a read returns the page's bytes from the chosen copy,
// a write stores the data-out into it. Reads and writes must carry the
// length the header step announced.
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"
#include "emu/controller/qmx_frames.h"

namespace emu {
namespace {

namespace c = qmx::config;
namespace ph = qmx::page_header;

std::vector<uint8_t>* Copy(ConfigPage* page, uint8_t action) {
  switch (action) {
    case c::kActionReadCurrent:
    case c::kActionWriteCurrent: return &page->current;
    case c::kActionReadDefault:
    case c::kActionWriteDefault: return &page->defaults;
    default: return &page->nvram;
  }
}

void Config(CommandRequest& request, CommandAnswer& answer) {
  const std::vector<uint8_t>& frame = request.frame;
  uint8_t action = le::Get8(frame, c::kAction);
  uint16_t extLength = le::Get16(frame, c::kExtPageLength);
  uint8_t extType = le::Get8(frame, c::kExtPageType);
  uint8_t headerLength = le::Get8(frame, c::kHeader + ph::kLength);
  uint8_t number = le::Get8(frame, c::kHeader + ph::kNumber);
  uint8_t type = le::Get8(frame, c::kHeader + ph::kType) & 0x0F;
  uint32_t address = le::Get32(frame, c::kPageAddress);
  bool extended = type == kPageExtended;

  std::vector<uint8_t>& reply = answer.reply;
  reply = NewReply(request, c::kReplyBytes);
  le::Put8(&reply, c::kReplyAction, action);
  le::Put8(&reply, c::kReplyExtPageType, extType);
  if (action > c::kActionReadNvram) return SetReplyStatus(&reply, kIocConfigInvalidAction);
  PageProvider* provider = request.emulator.FindPageProvider(type, extType);
  if (provider == nullptr) return SetReplyStatus(&reply, kIocConfigInvalidType);

  PageKey key{type, number, extended ? extType : uint8_t{0}, 0};
  if (std::optional<Fault> fault =
          request.emulator.TakeAnswerFault(qmx::kFnConfig, &key, request.adapter.ioc, action)) {
    return SetReplyStatus(&reply, fault->iocStatus, fault->logInfo);
  }
  ConfigPage* page = provider->Find(request.adapter, PageRequest{type, number, extType, address});
  if (page == nullptr || page->current.size() < (extended ? ph::kExtBytes : ph::kBytes) ||
      request.emulator.FindPageFault(FaultKind::kPageMissing, key, request.adapter.ioc) != nullptr) {
    return SetReplyStatus(&reply, kIocConfigInvalidPage);
  }

  // What the controller announces: the page, or less when a fault cuts it.
  uint32_t bytes = static_cast<uint32_t>(page->current.size());
  if (const Fault* cut = request.emulator.FindPageFault(FaultKind::kPageCut, key, request.adapter.ioc)) {
    bytes = std::min(bytes, cut->bytes & ~3u);
  }
  uint32_t words = bytes / 4;
  if (!extended) words = std::min(words, ph::kMaxWords);
  bytes = words * 4;
  for (uint32_t i = 0; i < ph::kBytes; ++i) reply[c::kReplyHeader + i] = page->current[i];
  if (extended) {
    reply[c::kReplyHeader + ph::kLength] = 0;
    le::Put16(&reply, c::kReplyExtPageLength, static_cast<uint16_t>(words));
  } else {
    reply[c::kReplyHeader + ph::kLength] = static_cast<uint8_t>(words);
  }
  if (action == c::kActionHeader) return SetReplyStatus(&reply, kIocSuccess);

  // Reads and writes name the page by the header the header step answered.
  if ((extended ? extLength : headerLength) != words) {
    return SetReplyStatus(&reply, kIocConfigInvalidData);
  }
  std::vector<uint8_t>* copy = Copy(page, action);
  if (action == c::kActionReadCurrent || action == c::kActionReadDefault ||
      action == c::kActionReadNvram) {
    answer.dataIn.assign(copy->begin(), copy->begin() + std::min<size_t>(bytes, copy->size()));
    if (extended) {
      le::Put16(&answer.dataIn, ph::kExtLength, static_cast<uint16_t>(words));
    } else {
      le::Put8(&answer.dataIn, ph::kLength, static_cast<uint8_t>(words));
    }
    return SetReplyStatus(&reply, kIocSuccess);
  }
  // Pages computed from the card's state are read-only.
  if (provider->Generated(page)) return SetReplyStatus(&reply, kIocConfigInvalidAction);
  // A write must bring the whole page; the controller keeps its own header.
  if (request.dataOut.size() < bytes) return SetReplyStatus(&reply, kIocConfigInvalidData);
  uint32_t headerBytes = extended ? ph::kExtBytes : ph::kBytes;
  for (uint32_t i = headerBytes; i < bytes && i < copy->size(); ++i) (*copy)[i] = request.dataOut[i];
  SetReplyStatus(&reply, kIocSuccess);
}

}  // namespace

FunctionHandler ConfigHandler() { return {qmx::config::kRequestBytes, Config}; }

}  // namespace emu
