#include "win/exports.h"

PLATFORM_EXPORT_TABLE({"SysAllocString", 1, 1}, {"SysAllocStringLen", 2, 2}, {"SysAllocStringByteLen", 3, 2},
                      {"SysFreeString", 4, 1}, {"SysStringLen", 5, 1}, {"SysStringByteLen", 6, 1},
                      {"VariantInit", 7, 1}, {"VariantClear", 8, 1}, {"VariantCopy", 9, 2},
                      {"VariantCopyInd", 10, 2}, {"VariantChangeType", 11, 4}, {"SafeArrayCreate", 12, 3},
                      {"SafeArrayCreateVector", 13, 3}, {"SafeArrayDestroy", 14, 1}, {"SafeArrayCopy", 15, 2},
                      {"SafeArrayLock", 16, 1}, {"SafeArrayUnlock", 17, 1}, {"SafeArrayAccessData", 18, 2},
                      {"SafeArrayUnaccessData", 19, 1}, {"SafeArrayGetLBound", 20, 3},
                      {"SafeArrayGetUBound", 21, 3}, {"SafeArrayGetDim", 22, 1},
                      {"SafeArrayGetElemsize", 23, 1}, {"SafeArrayGetVartype", 24, 2});
