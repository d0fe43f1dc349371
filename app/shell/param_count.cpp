#include "app/shell/param_count.h"

#include "app/shell/console.h"
#include "app/shell/utility_names.h"

int CheckParamCount(int count, uint8_t expected) {
  if (count == 0 || count == expected) return 0;
  ConsolePrint("\n%s: Incorrect number of command line parameters.\n", kUtilityTitle);
  return 1;
}
