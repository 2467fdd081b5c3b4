// Inside ole32: loading the library that serves a class.
//
// A server library is looked for next to libole32.so first (where the
// build puts every platform module), then by the loader's own search. It is
// loaded once and stays loaded for the life of the process, so that class
// objects and instances it handed out never outlive their code.
#pragma once

#include "ole32/unknown.h"

#include <string>

// Calls the library's DllGetClassObject. A library that cannot be loaded
// gives HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND), one without that function
// CO_E_ERRORINDLL.
HRESULT GetClassObjectFromServer(const std::string& module, REFCLSID clsid, REFIID iid, void** object);
