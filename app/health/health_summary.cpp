// The summary that ends the health report.
#include "app/shell/console.h"
#include "app/health/health_evaluation.h"
#include "app/health/health_steps.h"
#include "app/shell/json_writer.h"

const char* HealthWord(uint32_t status) {
  if (status == kHealthGood) return "GOOD";
  if (status == kHealthWarning) return "WARNING";
  return "ERROR";
}

void PrintOverallHealth(HealthRun* run) {
  bool text = run->json == nullptr;
  // Without a volume each module carried its own warranty line. The
  // figure is the evaluated modules' (from the worst life left): a run that
  // could evaluate no module has no warranty to promise.
  if (!run->unconfigured) {
    uint32_t warranty = run->warranty;
    if (text) {
      ConsolePrint("\nWarranty Remaining       : %u %%", warranty);
      ConsolePrint("\nTemperature              : %u degree C\n", run->temperature);
    } else {
      run->json->Unsigned("warrantyRemaining", warranty);
      run->json->Unsigned("temperature", run->temperature);
    }
  }
  if (run->locked != 0) {
    run->overall = kHealthError;
    run->reason = kReasonModuleLocked;
  }
  const char* word = HealthWord(run->overall);
  if (text) {
    ConsolePrint("\nOverall Health           : %s\n", word);
    if (run->overall != kHealthGood) ConsolePrint("\nReason Code              : %u\n", run->reason);
    return;
  }
  run->json->String("overallHealth", word);
  if (run->overall != kHealthGood) run->json->Unsigned("reasonCode", run->reason);
  run->json->EndObject();
}
