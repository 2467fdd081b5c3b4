// The folder button's click handler: the interactive half of a batch. It
// warns when the log is off, asks for the song folder, lists its songs, asks
// for confirmation, writes the log header, locks the main window and hands
// the batch to the worker thread. One batch at a time: while a launch or a
// worker is active, a click does nothing.
#pragma once

void LaunchBatch();
