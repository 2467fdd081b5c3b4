// Starting a program that nobody waits for (internal to libshell32).
//
// The program runs as a grandchild: the child that forks it ends at once
// and is reaped here, so the program belongs to init (or the nearest
// subreaper) and never becomes a zombie of this process. Whether it could be
// started is known before the call returns: a close-on-exec pipe reports a
// failed chdir or exec, and stays silent when exec succeeded.
#pragma once

#include <string>
#include <vector>

// Runs `program` (a path) with `arguments` (argv[0] first) in `directory`
// (empty: the current one), with /dev/null as its standard streams, in a
// session of its own. SHELL_EXECUTE_STARTED when it started, else an
// SE_ERR code (shell32/shell_execute.h).
int StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& directory);
