// cantiva-lyric-service --library DIR [--port N] [--bind ADDR] [--delay-ms N]
//
// Serves the .lrc files below DIR as a lyric search service until SIGINT or SIGTERM, then exits 0.
// --delay-ms holds every answer back that long, a slow network for trying the program with.
// Exits 1 when the library cannot be read or the port cannot be bound, 2 on a bad command line.
#include "service/lyric_server.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace {

constexpr const char* kProgram = "cantiva-lyric-service";

struct Options {
  std::string library;
  int port = 8780;
  std::string address = "127.0.0.1";
  int delay_ms = 0;
};

void Usage() {
  std::fprintf(stderr, "usage: %s --library DIR [--port N] [--bind ADDR] [--delay-ms N]\n", kProgram);
}

// A whole decimal number from 0 to `largest`.
std::optional<int> ParseNumber(std::string_view text, int largest) {
  int number = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < 0 ||
      number > largest)
    return std::nullopt;
  return number;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; i++) {
    std::string_view flag = argv[i];
    if (i + 1 >= argc)
      return std::nullopt;
    std::string_view value = argv[++i];
    if (flag == "--library") {
      options.library = value;
    } else if (flag == "--bind") {
      options.address = value;
    } else if (flag == "--port") {
      std::optional<int> port = ParseNumber(value, 65535);
      if (!port)
        return std::nullopt;
      options.port = *port;
    } else if (flag == "--delay-ms") {
      std::optional<int> delay = ParseNumber(value, 60000);
      if (!delay)
        return std::nullopt;
      options.delay_ms = *delay;
    } else {
      return std::nullopt;
    }
  }
  if (options.library.empty())
    return std::nullopt;
  return options;
}

void LogLine(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

// SIGUSR1 is the serving thread telling the main thread that the server ended by itself.
sigset_t WaitedSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGUSR1);
  return set;
}

// Serves until a stop signal; the result is the exit status.
int ServeUntilSignalled(lyric_service::LyricServer& server) {
  const sigset_t signals = WaitedSignals();
  std::atomic<bool> ended{false};
  std::atomic<bool> failed{false};
  const pthread_t main_thread = pthread_self();
  std::thread serving([&] {
    failed = !server.Serve();
    ended = true;
    pthread_kill(main_thread, SIGUSR1);
  });
  int signal = 0;
  while (sigwait(&signals, &signal) == 0 && signal == SIGUSR1 && !ended) {
  }
  server.Stop();
  serving.join();
  if (failed) {
    std::fprintf(stderr, "%s: the server stopped unexpectedly\n", kProgram);
    return 1;
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    Usage();
    return 2;
  }

  // A shell starts background jobs with SIGINT ignored and we inherit that; SIGINT must end the
  // service however it was started. Blocked before any thread starts, so every thread inherits
  // the mask and only sigwait takes the signals.
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  const sigset_t signals = WaitedSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  lyric_service::LibraryRead read = lyric_service::LyricLibrary::Read(options->library);
  if (!read.library) {
    std::fprintf(stderr, "%s: %s\n", kProgram, read.error.c_str());
    return 1;
  }
  const size_t count = read.library->Entries().size();
  lyric_service::LyricServer server(std::move(*read.library), LogLine);
  server.SetAnswerDelay(options->delay_ms);
  lyric_service::BindResult bound = server.Bind(options->address, options->port);
  if (bound.port == 0) {
    std::fprintf(stderr, "%s: %s\n", kProgram, bound.error.c_str());
    return 1;
  }
  std::fprintf(stderr, "%s: serving %zu lyric files from %s at http://%s:%d\n", kProgram, count,
               options->library.c_str(), options->address.c_str(), bound.port);
  return ServeUntilSignalled(server);
}
