#include "app/shell/whole_number.h"

bool ParseWholeNumber(const char* word, uint32_t* value) {
  if (word == nullptr || word[0] == '\0') return false;
  uint64_t parsed = 0;
  for (const char* c = word; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
    parsed = parsed * 10 + static_cast<uint64_t>(*c - '0');
    if (parsed > UINT32_MAX) return false;
  }
  *value = static_cast<uint32_t>(parsed);
  return true;
}
