// The unattended half of a batch, on a thread of its own: every listed song
// searched, saved and logged in turn, the progress in the status label, then
// the main window unlocked, the completion message, the log file written and,
// with the log box ticked, opened.
#pragma once

#include "win/types.h"

void BatchWorker();
// The worker thread's entry: calls BatchWorker.
DWORD BatchWorkerThread(void* parameter);
