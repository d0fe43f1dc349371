// The package builder: a command of its own (parse and execute) that no row
// of the command table and no menu reaches. It turns a package manifest and
// the image files it names into a flash package file.
#pragma once

#include "app/shell/command_context.h"

// -createpkg <package manifest file> -output <output package file>, or both
// paths asked at the keyboard.
int CreatePkgCommandParse(int count, char** words, CommandContext* context);
// Reads the manifest, assembles the package and writes it; 0 when the
// package file was written and checked, 1 otherwise (no file left then).
int CreatePkgCommandExec(CommandContext* context);
