// The result of -list with -json: one code out of the three sections'.
#pragma once

// adapter, volume and devices are the sections' JSON codes (0 for a section
// that succeeded or did not run); volumeSkipped tells that the volume
// section did not run (an unconfigured card, or its state unreadable).
// 28 when all three failed, 29 when the adapter and the devices failed,
// else the first failure of adapter, devices, volume; else 14 for a
// skipped volume section; else 0.
int CombineListJsonResult(int adapter, int volume, int devices, bool volumeSkipped);
