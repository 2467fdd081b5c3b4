#include "win/exports.h"

PLATFORM_EXPORT_TABLE({"DllGetClassObject", 1, 3}, {"DllCanUnloadNow", 2, 0});
