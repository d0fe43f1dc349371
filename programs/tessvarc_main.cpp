#include "app/shell/program_entry.h"

int main(int argc, char** argv) { return TessvarcMain(argc, argv); }
