// One batch at a time, and a way to end the program while one runs.
//
// A batch is active from the moment a launch begins until its worker has
// finished its end sequence (or the launch ends early): while it is, a
// further launch does nothing. This also keeps a launch from touching the
// song list and the run log while a worker still uses them. The exit
// routine asks a running worker to stop after its current song and waits
// for it, so that the globals it uses outlive it and its log is written.
#pragma once

// False when a batch is already active; true when this launch now holds it.
bool BeginBatch();
// The batch is over (a launch ended early, or its worker has finished).
void EndBatch();

// Set by the launch just before it starts the worker, so that an exit that
// comes before the thread runs still waits for it.
void WorkerStarting();
// The worker thread is gone (it ended, or could not be started).
void WorkerEnded();
// Recorded by the worker at its start: the thread that owns its boxes.
void WorkerThreadIs(unsigned long threadId);

// True once the program has asked the worker to stop.
bool WorkerStopRequested();
// Asks the worker to stop after its current song, closes any box it shows,
// and waits until it has ended, running the calling (UI) thread's messages
// meanwhile: the worker sends its label texts to this thread.
void StopWorkerAndWait();
