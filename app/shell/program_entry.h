// The program's entry, shared by tessvarc and tessvarc-emu: they differ only
// in the platform port they are linked with.
#pragma once

int TessvarcMain(int argc, char** argv);
