#include "win/exports.h"

PLATFORM_EXPORT_TABLE({"CoInitialize", 1, 1}, {"CoUninitialize", 2, 0}, {"CLSIDFromProgID", 3, 2},
                      {"CLSIDFromString", 4, 2}, {"StringFromGUID2", 5, 3}, {"CoCreateInstance", 6, 5},
                      {"CoGetClassObject", 7, 5}, {"CoRegisterClassObject", 8, 5},
                      {"CoRevokeClassObject", 9, 1}, {"OleRun", 10, 1}, {"PlatformComRegisterServer", 11, 3},
                      {"PlatformComUnregisterClass", 12, 1}, {"PlatformComResetClasses", 13, 0});
