// Programming the card's base SAS address: manufacturing page 5 gets the
// new address for PHY 0 and the next ones for the PHYs after it, then the
// adapter is reset so that the controller takes them. A parse and execute
// pair in the dispatcher's form, with the option "-sasaddr"; the command
// table has no row for it.
#pragma once

#include <cstdint>

#include "app/shell/command_context.h"
#include "ctl/config_pages/page_copy.h"

// The argument record: the address as exactly 16 hexadecimal digits, no
// prefix.
inline constexpr uint32_t kSasAddrTextSize = 512;
inline constexpr uint32_t kSasAddrDigits = 16;
struct SasAddrArgs {
  char address[kSasAddrTextSize];
};

// Command words: "-sasaddr" and the address ("0x" or "0X" may precede its
// 16 digits); interactively the address is asked for.
int ParseSasAddrArgs(int count, char** words, CommandContext* context);
// Writes the page and resets the adapter. 0, or 1 when the card, the
// address or the page could not be used or written (the page is then
// unchanged). A failed reset is reported and still answers 0.
int ExecSasAddr(CommandContext* context);

// Manufacturing page 5 from NVRAM, whole, into *page. True when it was
// read and holds all the bytes its header announces (the write sends back
// that many).
bool ReadMfgPage5(uint32_t adapter, PageCopy* page);
