// The health figures are defined in single precision. A 32-bit x87 build
// may keep a float in an 80-bit register and round it later, or never, so
// every such figure is rounded to single precision through memory where it
// is formed: both builds then print the same digits.
#pragma once

inline float SinglePrecision(float value) {
  volatile float stored = value;
  return stored;
}
