// -list: the adapter, its volume and its modules, as text or as one JSON
// document.
#include <cstdint>

#include "app/shell/banner_usage.h"
#include "app/card/card_state.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/json_writer.h"
#include "app/list/list_result.h"
#include "app/list/list_sections.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"

namespace {

constexpr char kVxVersion[] = "111.00.01.00";

int PrintListUsage() {
  PrintBanner();
  ConsolePrint("Usage :\n    %s <-c controller #> -list [-json]\n", kProgramName);
  return kParseUsageError;
}

int RunList(const ListParams& params) {
  bool text = params.json == 0;
  JsonWriter document;
  JsonWriter* json = text ? nullptr : &document;
  if (json != nullptr) {
    json->BeginObject();
    json->String("name", "list");
    json->String("vxVersion", kVxVersion);
  }
  Page223Buffer page223;
  int adapter = PrintAdapterInfo(json, &page223);

  bool unconfigured = false;
  uint32_t state = CheckCardState(&unconfigured);
  bool volumeRuns = state == 0 && !unconfigured;
  int volume = volumeRuns ? PrintVolumeInfo(json) : 0;
  int devices = PrintPhysicalDevices(params, json, page223);

  // In text mode the sections have shown what they met; the command's
  // result is whether the card's state could be read.
  if (text) return static_cast<int>(state);
  json->EndObject();
  document.Emit();
  return CombineListJsonResult(adapter, volume, devices, !volumeRuns);
}

}  // namespace

int CombineListJsonResult(int adapter, int volume, int devices, bool volumeSkipped) {
  if (adapter != 0 && volume != 0 && devices != 0) return kListJsonAllFailed;
  if (adapter != 0 && devices != 0) return kListJsonAdapterAndDevicesFailed;
  if (adapter != 0) return adapter;
  if (devices != 0) return devices;
  if (volume != 0) return volume;
  if (volumeSkipped) return kListJsonVolumeSkipped;
  return 0;
}

int ListCommandParse(int count, char** words, CommandContext* context) {
  auto* params = NewParams<ListParams>(context);
  if (params == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  SuppressStatus = 0;
  if (count == 0 || words == nullptr) return kParseGoOn;
  if (count == 1) {
    PrintBanner();
    return kParseGoOn;
  }
  if (count == 2 && StrEqualNoCase(words[1], "-json")) {
    params->json = 1;
    SuppressStatus = 1;
    return kParseGoOn;
  }
  return PrintListUsage();
}

int ListCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* params = record.As<ListParams>();
  if (params == nullptr) return 1;
  int result = RunList(*params);
  return result;
}
