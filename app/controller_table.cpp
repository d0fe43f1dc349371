// Not carried by this build yet: both operations say so and fail.
#include "app/controller_table.h"

#include "app/console.h"
#include "app/utility_names.h"

namespace {

int ReportUnavailable(const char* option) {
  ConsolePrint("\n%s: The %s command is not available in this build.\n", kUtilityTitle, option);
  return 1;
}

}  // namespace

int ListAll() { return ReportUnavailable("-listall"); }

int HealthAll() { return ReportUnavailable("-healthall"); }
