// The start-up banner and the usage text.
#pragma once

void PrintBanner();
void PrintUsage();
