// Binding system functions by name on their first call.
//
// Each bound function is called through a cell of its own, which leads to a
// binding stub until the first call: the stub looks the function up by
// library and function name, stores its address in the cell and carries the
// call on with the caller's arguments; from then on the cell leads straight
// to the function. A library or function that cannot be found ends the
// program with a "DLL ERROR" box. A function whose argument count differs
// from the one the cell passes is run-time error 6.
#pragma once

#include <atomic>
#include <cstdint>

// Looks the function up and stores its address in the cell; does not return
// when the library or the function cannot be found. A name of "#" and
// digits is an ordinal; a name with "@@" is looked up without the first "@"
// and what follows it.
void* ResolveSystemFunction(const char* library, const char* function, int argumentCount,
                            std::atomic<void*>& cell);

// Unloads every library the binder had to load itself; run by the exit
// sequence.
void FreeLoadedLibraries();
// The number of libraries the binder loaded itself.
int32_t LoadedLibraryCount();

template <class Signature> class BoundFunction;

template <class R, class... Args> class BoundFunction<R(Args...)> {
public:
  using Function = R (*)(Args...);

  constexpr BoundFunction(const char* library, const char* function) : library_(library), function_(function) {}

  R operator()(Args... args) {
    void* address = cell_.load(std::memory_order_acquire);
    if (!address)
      address = ResolveSystemFunction(library_, function_, static_cast<int>(sizeof...(Args)), cell_);
    return reinterpret_cast<Function>(address)(args...);
  }

  bool IsBound() const { return cell_.load() != nullptr; }
  void* Address() const { return cell_.load(); }

private:
  const char* library_;
  const char* function_;
  std::atomic<void*> cell_{nullptr};
};
