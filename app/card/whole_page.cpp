#include "app/card/whole_page.h"

#include "app/shell/console.h"
#include "app/shell/utility_names.h"
#include "ctl/facade/qmx.h"

PageRead ReadWholePage(uint32_t adapter, const PageId& id, uint32_t readKind, PageCopy* page,
                       NoMemoryMessage message) {
  LibHandle handle = adapter;
  LibStatus status = ReadConfigPageCopy(&handle, id.address, id.type, id.number, id.extType, readKind, page);
  // The size query failed (or the library is not open).
  if (page->failedStep() == PageCopyStep::kSizeQuery || (status != kLibOk && page->failedStep() == PageCopyStep::kNone)) {
    return {PageReadResult::kSizeQueryFailed, status};
  }
  // An empty page is not read (the library asks the controller nothing more).
  if (page->announced() == 0) return {PageReadResult::kEmpty, 0};
  if (page->failedStep() == PageCopyStep::kBuffer) {
    if (message == NoMemoryMessage::kPrint) ConsoleDiagnostic("\n%s: Insufficient memory.\n", kUtilityTitle);
    return {PageReadResult::kNoMemory, status};
  }
  if (status != kLibOk) return {PageReadResult::kReadFailed, status};
  IocStatusInfo last{};
  QmxGetLastStatus(&last);
  if (last.iocStatus != 0) return {PageReadResult::kControllerStatus, 0};
  return {PageReadResult::kRead, 0};
}
