// Owners of libcurl handles, and the one-time library set-up.
//
// Each holder owns exactly one handle and frees it when it goes; copying is
// deleted, moving hands the handle over. The transfer core of winhttp and
// wininet (both on libcurl) shares these; it is compiled into each module.
#pragma once

#include <curl/curl.h>

#include <utility>

// curl_global_init must run once before any handle is made and is not safe
// to race with other threads on every libcurl build. A function-local static
// makes the first caller run it exactly once (C++ guarantees concurrent
// first callers wait); every module calls this before it makes a handle.
// The library is never torn down: other modules may still hold handles
// while static destructors run.
inline bool CurlReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

template <typename Handle, void (*Free)(Handle*)> class CurlHolder {
public:
  CurlHolder() = default;
  explicit CurlHolder(Handle* handle) : handle_(handle) {}
  CurlHolder(const CurlHolder&) = delete;
  CurlHolder& operator=(const CurlHolder&) = delete;
  CurlHolder(CurlHolder&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  CurlHolder& operator=(CurlHolder&& other) noexcept {
    if (this != &other)
      reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~CurlHolder() { reset(); }

  Handle* get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(Handle* handle = nullptr) {
    if (Handle* old = std::exchange(handle_, handle))
      Free(old);
  }

private:
  Handle* handle_ = nullptr;
};

namespace curl_release {
inline void Easy(CURL* h) { curl_easy_cleanup(h); }
inline void Multi(CURLM* h) { curl_multi_cleanup(h); }
inline void List(curl_slist* h) { curl_slist_free_all(h); }
inline void Url(CURLU* h) { curl_url_cleanup(h); }
} // namespace curl_release

using CurlEasy = CurlHolder<CURL, curl_release::Easy>;
using CurlMulti = CurlHolder<CURLM, curl_release::Multi>;
using CurlList = CurlHolder<curl_slist, curl_release::List>;
using CurlUrl = CurlHolder<CURLU, curl_release::Url>;

// Adds a line to a list held by `list`; false when out of memory (the list
// is then unchanged).
inline bool CurlListAppend(CurlList& list, const char* line) {
  curl_slist* grown = curl_slist_append(list.get(), line);
  if (!grown)
    return false;
  if (!list)
    list.reset(grown);
  return true;
}
