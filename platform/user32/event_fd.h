// A wake-up descriptor (internal to libuser32): an eventfd that any thread
// signals and one thread polls and drains. Move-only owner of the fd.
#pragma once

#include <utility>

namespace user32 {

class EventFd {
public:
  EventFd();
  EventFd(EventFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  EventFd& operator=(EventFd&& other) noexcept;
  EventFd(const EventFd&) = delete;
  EventFd& operator=(const EventFd&) = delete;
  ~EventFd();

  int Fd() const { return fd_; }
  void Signal() const;
  // Takes every signal so far; the next poll sleeps until a new one.
  void Drain() const;

private:
  int fd_ = -1;
};

} // namespace user32
