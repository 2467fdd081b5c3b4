#include "user32/event_fd.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace user32 {

EventFd::EventFd() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  // Without its wake-up descriptor a thread could never wait for messages.
  if (fd_ < 0) {
    std::perror("user32: eventfd");
    std::abort();
  }
}

EventFd& EventFd::operator=(EventFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0)
      ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

EventFd::~EventFd() {
  if (fd_ >= 0)
    ::close(fd_);
}

void EventFd::Signal() const {
  uint64_t one = 1;
  // A full counter (never reached) or EAGAIN still leaves it readable.
  ssize_t written = ::write(fd_, &one, sizeof one);
  (void)written;
}

void EventFd::Drain() const {
  uint64_t count = 0;
  ssize_t got = ::read(fd_, &count, sizeof count);
  (void)got;
}

} // namespace user32
