// The base interface of every component object, and the class factory.
//
// Interfaces are C++ abstract classes whose virtual functions come in the
// Windows vtable order (a class with only virtual functions and single
// inheritance lays its vtable out in declaration order). They declare no
// virtual destructor, which would add vtable entries: an object's life ends
// in its own Release when the last reference goes.
#pragma once

#include "ole32/guid.h"

inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class IUnknown {
public:
  // Gives the object as the interface `iid` with a new reference, or
  // E_NOINTERFACE and a null *object.
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

protected:
  ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;

protected:
  ~IClassFactory() = default;
};
