// An owning reference to a component object interface.
//
// ComPtr holds at most one reference and releases it when it goes; copying
// takes a new reference, moving hands the one it holds over. Use put() to
// receive an interface from a call that writes a void** or T**.
#pragma once

#include "ole32/unknown.h"

#include <utility>

template <typename T> class ComPtr {
public:
  ComPtr() = default;
  // Takes over a reference the caller already owns.
  static ComPtr Adopt(T* raw) {
    ComPtr p;
    p.raw_ = raw;
    return p;
  }
  ComPtr(const ComPtr& other) : raw_(other.raw_) {
    if (raw_)
      raw_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(raw_, other.raw_);
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() {
    if (T* old = std::exchange(raw_, nullptr))
      old->Release();
  }
  T* get() const { return raw_; }
  T* operator->() const { return raw_; }
  explicit operator bool() const { return raw_ != nullptr; }
  // Releases what is held and gives the slot for an out-parameter.
  T** put() {
    reset();
    return &raw_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  T* detach() { return std::exchange(raw_, nullptr); }

private:
  T* raw_ = nullptr;
};
