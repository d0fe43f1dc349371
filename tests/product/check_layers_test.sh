#!/usr/bin/env bash
# check_layers.sh passes a small tree that keeps the layering and refuses
# the same tree with any one violation added: an upper layer included from
# a lower one, the emulator or a test folder included from the product, emu/
# resting on more than the OS port, an include that climbs out of its folder.
#   check_layers_test.sh CHECK_LAYERS_SCRIPT
set -uo pipefail
source "$(dirname "$0")/source_check_cases.sh"

clean_tree() {
  local tree="$1"
  put "$tree" os/port.h '#include <cstdint>'
  put "$tree" os/posix_port.h '#include "os/port.h"'
  put "$tree" ctl/base/context.h '#include "os/port.h"'
  put "$tree" ctl/frames/ioc_frames.h '#include "ctl/base/context.h"'
  put "$tree" cardlib/layouts/board_pages.h '#include "ctl/frames/ioc_frames.h"'
  put "$tree" cardlib/entry/entry.cpp '#include "cardlib/layouts/board_pages.h"'
  put "$tree" cardlib/entry/entry.cpp '#include "module_unlock_constants.h"'
  put "$tree" app/shell/console.cpp '#include "app/shell/console.h"'
  put "$tree" app/shell/console.cpp '#include "cardlib/layouts/board_pages.h"'
  put "$tree" app/shell/console.cpp '#include <vector>'
  put "$tree" app/shell/console.cpp '// #include "emu/host/emulator.h" is what a test would do'
  put "$tree" programs/tessvarc_main.cpp '#include "app/shell/program_entry.h"'
  put "$tree" programs/tessvarc_emu_main.cpp '#include "app/shell/program_entry.h"'
  put "$tree" programs/tessvarc_emu_main.cpp '#include "emu/host/emulator.h"'
  put "$tree" programs/tessvarc_emu_cards_main.cpp '#include "emu/card_file/named_cards.h"'
  put "$tree" emu/host/emulator.h '#include "os/posix_port.h"'
  put "$tree" emu/host/emulator.h '#include "emu/card_file/named_cards.h"'
}

# file | the line that breaks the layering
violations=(
  'os/port.h|#include "ctl/base/lib_status.h"'
  'ctl/base/context.h|#include "cardlib/libzk.h"'
  'ctl/frames/ioc_frames.h|#include "app/card/config_page_layouts.h"'
  'ctl/base/context.h|  #  include "cardlib/libzk.h"'
  'cardlib/layouts/board_pages.h|#include "app/shell/console.h"'
  'cardlib/entry/entry.cpp|#include <app/shell/console.h>'
  'app/shell/console.cpp|#include "programs/entry.h"'
  'os/port.h|#include "emu/host/emulator.h"'
  'ctl/frames/ioc_frames.h|#include "emu/pages/page_store.h"'
  'cardlib/entry/entry.cpp|#include "emu/host/emulator.h"'
  'app/shell/console.cpp|#include "emu/host/emulator.h"'
  'programs/tessvarc_main.cpp|#include "emu/host/emulator.h"'
  'app/shell/console.cpp|#include "tests/app/fixtures.h"'
  'emu/host/emulator.h|#include "ctl/base/lib_status.h"'
  'emu/host/emulator.cpp|#include "cardlib/layouts/board_pages.h"'
  'emu/pages/page_store.h|#include "app/card/config_page_layouts.h"'
  'emu/host/emulator.h|#include "programs/entry.h"'
  'cardlib/layouts/board_pages.h|#include "../../app/shell/console.h"'
)
check_clean_and_violations "$1"
