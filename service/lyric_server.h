// The service's HTTP server: answers GET and HEAD from one lyric library (see Answer) on one
// address, logging one line per request ("GET /lrc/3.lrc 200"). Bodies go out as they are, never
// compressed, with their Content-Length.
//
// Invariant: Stop() ends Serve() whenever it is called, from any thread: before Serve() starts,
// while it waits for its first connection, or while it serves. Once Serve() has returned, the port
// is closed.
#pragma once

#include "service/lyric_library.h"

#include <functional>
#include <memory>
#include <string>

namespace lyric_service {

using RequestLog = std::function<void(const std::string& line)>;

struct BindResult {
  int port = 0;      // the bound port, 0 when binding failed
  std::string error; // why it failed
};

class LyricServer {
public:
  // `log` receives one line per request; an empty one logs nothing.
  LyricServer(LyricLibrary library, RequestLog log);
  ~LyricServer();
  LyricServer(const LyricServer&) = delete;
  LyricServer& operator=(const LyricServer&) = delete;

  // Port 0 binds any free port. A port another socket listens on is an error, not shared.
  BindResult Bind(const std::string& address, int port);

  // Serves on the calling thread until Stop(); false when the server failed on its own.
  bool Serve();
  void Stop();
  // Every GET and HEAD is answered only after this pause (0: none), a slow
  // network for seeing what a client shows while it waits.
  void SetAnswerDelay(int milliseconds);

  const LyricLibrary& Library() const;

private:
  void StopRunningLoop();

  struct State;
  std::unique_ptr<State> state_;
};

} // namespace lyric_service
