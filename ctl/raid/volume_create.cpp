// Volume creation: the checks in their order, then the create action.
#include "ctl/objects/object_tree.h"
#include "ctl/raid/volume_checks.h"
#include "ctl/raid/volume_create.h"

namespace {

using Check = LibStatus (*)(CreateCheckRun&);

// The order in which a request is checked.
constexpr Check kChecks[] = {
    CheckVolumeCount,   CheckMembersOnAdapter, CheckFeatureSupport, CheckRaidTypeSupported,
    CheckMembersInUse,  CheckMemberDevices,    CheckDriveCounts,    CheckRaid1eRules,
    CheckProtocolMix,   CheckMixRules,         CheckDuplicateSlots, CheckMigrateType,
    CheckVolumeSize,
};

}  // namespace

LibStatus CreateVolume(LibContext* context, const LibHandle* adapter, LibHandle* newVolume,
                       CreateVolumeRequest* request) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  if (request == nullptr) return kLibBadParameter;
  if (request->size != kCreateVolumeRequestSize) return kLibWrongRecordSize;
  // The member table holds 10 entries; a count from the caller beyond it
  // would read past the request.
  if (request->memberCount == 0 || request->memberCount > kMaxVolumeMembers) return kLibBadParameter;
  if (request->problems.size < kConfigProblemListSize) return kLibBufferTooSmall;
  if (request->problems.count >= kMaxConfigProblems) return kLibProblemListFull;

  CreateCheckRun run{context, a, request, RaidLimits{}};
  status = ReadRaidLimits(context, adapter, &run.limits);
  if (status != kLibOk) return status;
  bool checkOnly = request->commit == 0;
  LibStatus result = kLibOk;
  for (Check check : kChecks) {
    LibStatus answer = check(run);
    if (answer == kLibOk) continue;
    if (!checkOnly) return answer;
    // Checking only: every check runs, so the caller sees every problem,
    // until the list is full.
    if (result == kLibOk || EndsCheck(answer)) result = answer;
    if (answer == kLibProblemListFull || answer == kLibBufferTooSmall) return answer;
  }
  if (checkOnly || result != kLibOk) return result;
  return SendCreateVolume(context, adapter, newVolume, request, request->volumeSize);
}
