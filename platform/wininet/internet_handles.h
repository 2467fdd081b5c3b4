// Inside wininet: the objects behind HINTERNET handles, and their table.
//
// A handle is a number the table hands out (never reused in a process), so
// a closed or made-up handle is refused instead of followed. Objects are
// shared: a call that found one keeps it alive even if another thread
// closes its handle meanwhile. Closing a handle closes its descendants.
#pragma once

#include "kernel32/last_error.h"
#include "winhttp/transfer/http_transfer.h"
#include "wininet/internet.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct InternetObject {
  enum class Kind { Session, Connection, Request };
  explicit InternetObject(Kind k) : kind(k) {}
  virtual ~InternetObject() = default;

  Kind kind;
  HINTERNET parent = nullptr;
  TransferTimeouts timeouts;
  std::string proxyUser;
  std::string proxyPassword;
};

struct InternetSession : InternetObject {
  InternetSession() : InternetObject(Kind::Session) {}
  std::string agent;
  ProxyChoice proxy;
};

struct InternetConnection : InternetObject {
  InternetConnection() : InternetObject(Kind::Connection) {}
  std::string host;
  INTERNET_PORT port = 0;
  std::string user;
  std::string password;
};

struct HttpRequestObject : InternetObject {
  HttpRequestObject() : InternetObject(Kind::Request) {}
  std::string verb;
  std::string path;
  std::string version;
  std::string referrer;
  std::vector<std::string> acceptTypes;
  DWORD flags = 0;
  std::unique_ptr<HttpTransfer> transfer; // set by HttpSendRequestA
};

class InternetHandleTable {
public:
  HINTERNET add(std::shared_ptr<InternetObject> object);
  std::shared_ptr<InternetObject> find(HINTERNET handle) const;
  // Removes the handle and its descendants; false for an unknown handle.
  bool close(HINTERNET handle);

  template <typename T> std::shared_ptr<T> findAs(HINTERNET handle, InternetObject::Kind kind) const {
    std::shared_ptr<InternetObject> found = find(handle);
    return found && found->kind == kind ? std::static_pointer_cast<T>(found) : nullptr;
  }

private:
  mutable std::mutex mutex_;
  std::map<uintptr_t, std::shared_ptr<InternetObject>> objects_;
  uintptr_t next_ = 0xCC0004;
};

InternetHandleTable& ProcessInternetHandles();

// Set the thread's last error and give the failure result, for one-line
// returns.
BOOL Fail(DWORD error);
HINTERNET FailNull(DWORD error);

// Runs the body of an exported call; running out of memory inside it
// becomes ERROR_NOT_ENOUGH_MEMORY instead of an exception leaving the module.
template <typename F> BOOL GuardedBool(F&& body) {
  try {
    return body();
  } catch (...) {
    return Fail(ERROR_NOT_ENOUGH_MEMORY);
  }
}

template <typename F> HINTERNET GuardedHandle(F&& body) {
  try {
    return body();
  } catch (...) {
    return FailNull(ERROR_NOT_ENOUGH_MEMORY);
  }
}
