// Where the running program's file is (internal to libkernel32).
#pragma once

#include <string>

// The program file's full path in the file system's UTF-8; empty when the
// system cannot tell.
std::string ProgramPath();

// The folder of the program file, without a closing "/".
std::string ProgramDirectory();
