// A lyric service running inside the calling process, for tests that need a real HTTP server:
// it reads one library, serves it on 127.0.0.1 at a free port from a background thread and stops
// when destroyed.
//
//   lyric_service::LyricServiceRunner service(folder);
//   ASSERT_NE(service.Port(), 0) << service.Error();
//   std::string base = service.BaseUrl();  // "http://127.0.0.1:PORT"
//
// Invariant: when the constructor returns with Port() != 0 the port already accepts connections
// (they queue until the background thread answers them).
#pragma once

#include "service/lyric_library.h"
#include "service/lyric_server.h"

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace lyric_service {

class LyricServiceRunner {
public:
  // `log` receives one line per request; by default nothing is logged.
  explicit LyricServiceRunner(std::filesystem::path library, RequestLog log = {});
  ~LyricServiceRunner();
  LyricServiceRunner(const LyricServiceRunner&) = delete;
  LyricServiceRunner& operator=(const LyricServiceRunner&) = delete;

  int Port() const { return port_; }                  // 0 when the service did not start
  const std::string& Error() const { return error_; } // why it did not start
  std::string BaseUrl() const;                        // no closing slash

  // The library served (IDs and titles), or null when the service did not start.
  const LyricLibrary* Library() const;

private:
  std::unique_ptr<LyricServer> server_;
  std::thread thread_;
  int port_ = 0;
  std::string error_;
};

} // namespace lyric_service
