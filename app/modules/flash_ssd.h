// -flashssd's image-kind menu (its parse and execute operations are in the
// command table, app/shell/command_operations.h).
#pragma once

#include <cstdint>

// Prints the menu of image kinds and its prompt; answers the highest number.
uint32_t ShowImageKindMenu();
