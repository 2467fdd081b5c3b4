// Finding a program along PATH (internal to libshell32).
//
// PATH is read at every search, so a change made by the process (a test
// putting its own stub first) takes effect at the next call.
#pragma once

#include <string>
#include <string_view>

// The first entry of PATH holding an executable regular file `name`, joined
// with it ("/usr/bin/xdg-open"); an empty entry is the current directory.
// Empty when PATH is unset or no entry has one.
std::string FindOnPath(std::string_view name);
