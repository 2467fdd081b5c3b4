// SIGINT and SIGTERM end the program the way closing it does: the first one
// posts the quit request to the UI thread, whose loop then ends and whose
// exit routine lets a running batch stop and write its log. A second one
// ends the process at once, for a batch that cannot stop in time.
#pragma once

#include "win/types.h"

// Call on the UI thread before any other thread exists: the signals are
// blocked for every thread and taken by a watcher thread of their own.
void WatchStopSignals();
