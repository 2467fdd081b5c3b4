// The directory that holds the program file.
#pragma once

#include "runtime/text_value.h"

// The program's path cut at its last separator ("\\" or "/"), so the folder
// without a closing separator: "/opt/cantiva/bin/cantiva" gives
// "/opt/cantiva/bin", and a program in the root gives "". Always a new text.
TextValue GetRunDirectory();

// The program's own full path, as the platform reports it.
TextValue ProgramFilePath();
