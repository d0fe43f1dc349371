// The application's one way to read a configuration page whole: the size
// query, a zero-filled buffer of the size the controller announces, the
// read, then the controller's status. The page lands in a PageCopy the
// caller owns; what it holds is the smaller of the sizes the size query and
// the read announced, and every field a caller reads is checked against it
// (PageCopy::Holds). The one difference between the commands is whether a
// buffer that cannot be allocated is reported to the user.
#pragma once

#include <cstdint>

#include "ctl/base/lib_types.h"
#include "ctl/config_pages/page_copy.h"

// Which page: type, number, extended type (for type 15) and page address.
struct PageId {
  uint8_t type;
  uint8_t number;
  uint8_t extType = 0;
  uint32_t address = 0;
};

enum class PageReadResult : uint8_t {
  kRead,              // the page is held
  kSizeQueryFailed,   // the size query failed (the library's status beside it)
  kEmpty,             // the size query announced no bytes: nothing was read
  kNoMemory,          // the page's buffer could not be allocated
  kReadFailed,        // the read failed (the library's status beside it)
  kControllerStatus,  // the controller left a non-zero IOCStatus behind
};

struct PageRead {
  PageReadResult result;
  LibStatus status;  // the failed step's status; 0 otherwise
  bool ok() const { return result == PageReadResult::kRead; }
};

enum class NoMemoryMessage : uint8_t {
  kPrint,  // "\n%s: Insufficient memory.\n" (the usual answer)
  kQuiet,  // nothing: the caller's report goes on without the page
};

// readKind: the library's read kinds 1 current, 2 default, 3 NVRAM.
PageRead ReadWholePage(uint32_t adapter, const PageId& id, uint32_t readKind, PageCopy* page,
                       NoMemoryMessage message = NoMemoryMessage::kPrint);
