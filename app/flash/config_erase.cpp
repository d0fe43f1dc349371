#include "app/flash/config_erase.h"

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/card/vpd_page.h"
#include "app/card/whole_page.h"
#include "app/images/image_download.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/toolbox_frames.h"

namespace {

// The clean rewrites a whole flash region: it may take minutes.
constexpr uint32_t kToolboxCleanTimeout = 270;
static_assert(toolbox_clean_reply::kSize == kToolboxCleanReplySize);

// A page read back from the controller, the bytes its buffer holds beside it.
struct HeldPage {
  const uint8_t* bytes = nullptr;
  uint32_t size = 0;
};

// True when the length the page's header announces lies inside the buffer:
// a write-back sends exactly that many bytes.
bool HeaderFits(const HeldPage& page) {
  return page.bytes != nullptr && page.size >= page_header::kSize &&
         4u * Get8(page.bytes, page_header::kLength) <= page.size;
}

bool WritePageBack(uint32_t adapter, const HeldPage& page) {
  return HeaderFits(page) && WriteMfgPage(adapter, page.bytes, nullptr, nullptr) == 1;
}

}  // namespace

LibStatus ToolboxClean(uint32_t adapter, uint32_t flags, uint8_t* reply, IocStatusInfo* status) {
  uint8_t frame[toolbox_clean_frame::kRequestLength] = {};
  uint8_t answer[toolbox_clean_reply::kSize] = {};
  Put8(frame, toolbox_clean_frame::kTool, kToolClean);
  Put8(frame, toolbox_clean_frame::kFunction, kFunctionToolbox);
  PutLe32(frame, toolbox_clean_frame::kFlags, flags);
  QmxRequestBlock block;
  MemSet(&block, 0, sizeof block);
  block.size = kRequestBlockSize;
  block.adapterHandle = adapter;
  block.magic = kRequestBlockMagic;
  block.requestLength = sizeof frame;
  block.requestFrame = AddressOf(frame);
  block.replyLength = sizeof answer;
  block.reply = AddressOf(answer);
  block.timeout = kToolboxCleanTimeout;
  LibStatus result = QmxIssueRequest(&block);
  if (reply != nullptr) MemCopy(reply, answer, sizeof answer);
  if (status != nullptr) *status = block.status;
  return result;
}

uint32_t EraseConfigRegion(uint32_t adapter, uint32_t flags, uint16_t* iocStatus, uint32_t* iocLogInfo) {
  uint8_t reply[kToolboxCleanReplySize] = {};
  IocStatusInfo status{};
  LibStatus result = ToolboxClean(adapter, flags, reply, &status);
  uint16_t replyStatus = GetLe16(reply, message_reply::kIocStatus);
  if (iocStatus != nullptr) *iocStatus = replyStatus;
  if (iocLogInfo != nullptr) *iocLogInfo = GetLe32(reply, message_reply::kIocLogInfo);
  bool erased = result == kLibOk && status.iocStatus == 0 && (replyStatus & kIocStatusMask) == 0;
  return erased ? 1 : 0;
}

uint32_t EraseConfigAndFlash(const uint8_t* image, uint32_t size, uint32_t skipRestore) {
  CardInfo card;
  MemSet(&card, 0, sizeof card);
  if (GetCardInfo(SelectedController - 1, &card) != 0) return 1;
  uint32_t adapter = card.adapterInfo.adapterHandle;

  PageCopy page0Copy;
  AppBuffer page1Buffer;
  HeldPage page0;
  HeldPage page1;
  if (skipRestore == 0) {
    PageRead read0 = ReadWholePage(adapter, {kPageTypeManufacturing, manufacturing_page0::kNumber}, kReadNvram, &page0Copy);
    if (read0.result == PageReadResult::kNoMemory) return 1;  // after "Insufficient memory."
    if (!read0.ok()) {
      ConsolePrint("\t\tManufacturing Page 0 read failed.\n\n");
      return 1;
    }
    page0 = {page0Copy.data(), page0Copy.size()};
    ConsolePrint("\t\tManufacturing Page 0 read successfully.\n\n");
    if (ReadMfgPage(adapter, &page1Buffer, nullptr, nullptr) == 0) {
      ConsolePrint("\t\tManufacturing Page 1 read failed.\n\n");
      return 1;
    }
    page1 = {page1Buffer.get(), static_cast<uint32_t>(page1Buffer.size())};
    ConsolePrint("\t\tManufacturing Page 1 read successfully.\n\n");
  }

  bool failed = false;
  ConsolePrint("\t\tErasing Persistent Configuration Region...\n\n");
  if (EraseConfigRegion(adapter, kCleanPersistentConfig, nullptr, nullptr) == 0) {
    ConsolePrint("\t\tERROR: Erase Flash Operation Failed.\n\n");
    failed = true;
  } else {
    ConsolePrint("\t\tErase Flash Operation Successful.\n\n");
    ConsolePrint("\t\tBeginning Firmware Download...\n\n");
    if (DownloadFwImage(adapter, image, size, nullptr, nullptr) == 0) {
      ConsolePrint("\t\tFlash Firmware Image Failed!\n\n");
      failed = true;
    } else {
      ConsolePrint("\t\tFlash Firmware Image Successful.\n\n");
    }
  }
  if (skipRestore != 0) return failed ? 1 : 0;

  // The pages go back whatever happened above: the erase may have run
  // even when its answer said otherwise.
  if (WritePageBack(adapter, page0)) {
    ConsolePrint("\t\tManufacturing page 0 restored successfully.\n\n");
  } else {
    ConsolePrint("\t\tRestoring manufacturing page 0 failed.\n\n");
    failed = true;
  }
  if (WritePageBack(adapter, page1)) {
    ConsolePrint("\t\tManufacturing page 1 restored successfully.\n\n");
  } else {
    ConsolePrint("\t\tRestoring Manufacturing page 1 failed.\n\n");
    failed = true;
  }
  return failed ? 1 : 0;
}
