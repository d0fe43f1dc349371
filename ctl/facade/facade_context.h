// How the public functions reach the library-wide context.
#pragma once

#include "ctl/base/context.h"

// The bound context; null before QmxLibOpen (public functions then answer 1).
inline LibContext* BoundContext() { return g_libContext; }
