#include "ctl/raid/volume_create.h"

LibStatus AddConfigProblem(LibContext*, ConfigProblemList* list, uint32_t code, uint32_t value) {
  if (list == nullptr) return kLibCreateProblems;
  if (list->size < kConfigProblemListSize) return kLibBufferTooSmall;
  if (list->count >= kMaxConfigProblems) return kLibProblemListFull;
  list->problems[list->count].code = code;
  list->problems[list->count].value = value;
  ++list->count;
  return kLibCreateProblems;
}
