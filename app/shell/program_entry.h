// The program's entry, shared by tessvarc and tessvarc-emu: they differ only
// in the platform port they are linked with.
#pragma once

// The command's result, or 1 when standard output could not all be written.
int TessvarcMain(int argc, char** argv);
