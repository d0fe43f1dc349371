// QMX request frames and replies as the controller decodes and builds them:
// byte offsets, function codes and reply sizes.
#pragma once

#include <cstdint>

namespace emu::qmx {

enum Function : uint8_t {
  kFnScsiIo = 0x00,
  kFnTaskManagement = 0x01,
  kFnIocFacts = 0x03,
  kFnConfig = 0x04,
  kFnPortFacts = 0x05,
  kFnFwDownload = 0x09,
  kFnFwUpload = 0x12,
  kFnRaidAction = 0x15,
  kFnRaidScsiPassthrough = 0x16,
  kFnToolbox = 0x17,
  kFnSep = 0x18,
  kFnSmpPassthrough = 0x1A,
  kFnIoUnitControl = 0x1B,
  kFnSataPassthrough = 0x1C,
};

// Every frame: the function byte.
inline constexpr uint32_t kFrameFunction = 3;

// Every reply: message length in 32-bit words, function, IOCStatus, IOCLogInfo.
namespace reply {
inline constexpr uint32_t kMessageLength = 2;
inline constexpr uint32_t kFunction = 3;
inline constexpr uint32_t kIocStatus = 14;
inline constexpr uint32_t kIocLogInfo = 16;
inline constexpr uint32_t kMinimumBytes = 20;
}  // namespace reply

// IOC FACTS (request 12 bytes, reply 64 bytes).
namespace ioc_facts {
inline constexpr uint32_t kRequestBytes = 12;
inline constexpr uint32_t kReplyBytes = 64;
inline constexpr uint32_t kMessageVersion = 0;
inline constexpr uint32_t kHeaderVersion = 4;
inline constexpr uint32_t kIocNumber = 6;
inline constexpr uint32_t kMaxChainDepth = 20;
inline constexpr uint32_t kWhoInit = 21;
inline constexpr uint32_t kNumberOfPorts = 22;
inline constexpr uint32_t kMaxMsixVectors = 23;
inline constexpr uint32_t kRequestCredit = 24;
inline constexpr uint32_t kProductId = 26;
inline constexpr uint32_t kIocCapabilities = 28;
inline constexpr uint32_t kFirmwareVersion = 32;
inline constexpr uint32_t kRequestFrameSize = 36;  // in 32-bit words
inline constexpr uint32_t kMaxInitiators = 40;
inline constexpr uint32_t kMaxTargets = 42;
inline constexpr uint32_t kMaxSasExpanders = 44;
inline constexpr uint32_t kMaxEnclosures = 46;
inline constexpr uint32_t kProtocolFlags = 48;
inline constexpr uint32_t kHighPriorityCredit = 50;
inline constexpr uint32_t kMaxReplyQueueDepth = 52;
inline constexpr uint32_t kReplyFrameSize = 54;
inline constexpr uint32_t kMaxVolumes = 55;
inline constexpr uint32_t kMaxDevHandle = 56;
inline constexpr uint32_t kMaxPersistentEntries = 58;
inline constexpr uint32_t kMinDevHandle = 60;
static_assert(kMinDevHandle + 4 == kReplyBytes);
}  // namespace ioc_facts

// PORT FACTS (request 12 bytes, reply 28 bytes).
namespace port_facts {
inline constexpr uint32_t kRequestBytes = 12;
inline constexpr uint32_t kRequestPort = 6;
inline constexpr uint32_t kReplyBytes = 28;
inline constexpr uint32_t kReplyPort = 6;
inline constexpr uint32_t kPortType = 21;
inline constexpr uint32_t kMaxPostedCommandBuffers = 24;
inline constexpr uint8_t kPortTypeSas = 0x30;
}  // namespace port_facts

// CONFIG (28 bytes sent; reply 24 bytes).
namespace config {
inline constexpr uint32_t kRequestBytes = 28;
inline constexpr uint32_t kAction = 0;
inline constexpr uint32_t kExtPageLength = 4;  // u16, words
inline constexpr uint32_t kExtPageType = 6;
inline constexpr uint32_t kHeader = 20;        // version, length (words), number, type
inline constexpr uint32_t kPageAddress = 24;
inline constexpr uint32_t kReplyBytes = 24;
inline constexpr uint32_t kReplyAction = 0;
inline constexpr uint32_t kReplyExtPageLength = 4;
inline constexpr uint32_t kReplyExtPageType = 6;
inline constexpr uint32_t kReplyHeader = 20;
enum Action : uint8_t {
  kActionHeader = 0,
  kActionReadCurrent = 1,
  kActionWriteCurrent = 2,
  kActionWriteDefault = 3,
  kActionWriteNvram = 4,
  kActionReadDefault = 5,
  kActionReadNvram = 6,
};
}  // namespace config

// A page's own header (first bytes of every page).
namespace page_header {
inline constexpr uint32_t kVersion = 0;
inline constexpr uint32_t kLength = 1;  // words; 0 in extended pages
inline constexpr uint32_t kNumber = 2;
inline constexpr uint32_t kType = 3;
inline constexpr uint32_t kBytes = 4;
// extended pages carry 8 header bytes
inline constexpr uint32_t kExtLength = 4;  // u16, words
inline constexpr uint32_t kExtType = 6;
inline constexpr uint32_t kExtBytes = 8;
inline constexpr uint32_t kMaxWords = 255;
inline constexpr uint32_t kMaxExtWords = 0xFFFF;
}  // namespace page_header

// FW DOWNLOAD (0x09) and FW UPLOAD (0x12).
namespace fw {
inline constexpr uint32_t kImageType = 0;
inline constexpr uint32_t kMessageFlags = 7;
inline constexpr uint8_t kFlagLastPiece = 0x01;
inline constexpr uint32_t kTotalImageSize = 12;
// first generation: a 12-byte transaction element at 20
inline constexpr uint32_t kRequestBytes = 36;
inline constexpr uint32_t kElementReserved = 20;
inline constexpr uint32_t kElementContextSize = 21;
inline constexpr uint32_t kElementDetailsLength = 22;
inline constexpr uint32_t kElementFlags = 23;
inline constexpr uint8_t kDetailsLength = 12;
inline constexpr uint32_t kImageOffset = 28;
inline constexpr uint32_t kPieceSize = 32;
// second generation (PCI device IDs 0x90-0x97)
inline constexpr uint32_t kRequestBytesGen2 = 32;
inline constexpr uint32_t kImageOffsetGen2 = 24;
inline constexpr uint32_t kPieceSizeGen2 = 28;
// replies
inline constexpr uint32_t kDownloadReplyBytes = 20;
inline constexpr uint32_t kUploadReplyBytes = 24;
inline constexpr uint32_t kUploadActualImageSize = 20;
// image types
inline constexpr uint8_t kImageFirmware = 1;
inline constexpr uint8_t kImageBios = 2;
inline constexpr uint8_t kImageFirmwareReadBack = 5;  // upload only: the firmware in flash
// the largest image the flash holds
inline constexpr uint32_t kMaxImageBytes = 16u * 1024 * 1024;
}  // namespace fw

// TOOLBOX (0x17).
namespace toolbox {
inline constexpr uint32_t kTool = 0;
enum Tool : uint8_t { kToolClean = 0, kToolIstwi = 3 };
// clean
inline constexpr uint32_t kCleanRequestBytes = 16;
inline constexpr uint32_t kCleanFlags = 12;
inline constexpr uint32_t kCleanReplyBytes = 20;
inline constexpr uint32_t kCleanManufacturingPages = 0x40000000;
inline constexpr uint32_t kCleanPersistentRegion = 0x20000000;  // every page, manufacturing too
// ISTWI (two-wire bus)
inline constexpr uint32_t kIstwiRequestBytes = 28;
inline constexpr uint32_t kIstwiDeviceIndex = 20;
inline constexpr uint32_t kIstwiAction = 21;
inline constexpr uint32_t kIstwiTxLength = 24;
inline constexpr uint32_t kIstwiRxLength = 26;
inline constexpr uint32_t kIstwiReplyBytes = 28;
inline constexpr uint32_t kIstwiReplyDeviceIndex = 20;
inline constexpr uint32_t kIstwiReplyAction = 21;
inline constexpr uint32_t kIstwiReplyStatus = 22;
inline constexpr uint32_t kIstwiReplyTxCount = 24;
inline constexpr uint32_t kIstwiReplyRxCount = 26;
enum IstwiAction : uint8_t {
  kIstwiRead = 0x01,      // receive from register 0
  kIstwiWrite = 0x02,     // transmit: register, then the bytes to store
  kIstwiSequence = 0x03,  // transmit the register, then receive from it
  kIstwiReserveBus = 0x10,
  kIstwiReleaseBus = 0x11,
};
inline constexpr uint8_t kIstwiStatusNoAck = 0x01;
}  // namespace toolbox

}  // namespace emu::qmx
