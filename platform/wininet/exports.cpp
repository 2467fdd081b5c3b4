#include "win/exports.h"

PLATFORM_EXPORT_TABLE({"InternetOpenA", 1, 5}, {"InternetConnectA", 2, 8}, {"InternetSetOptionA", 3, 4},
                      {"InternetCloseHandle", 4, 1}, {"HttpOpenRequestA", 5, 8}, {"HttpSendRequestA", 6, 5},
                      {"HttpQueryInfoA", 7, 5}, {"InternetReadFile", 8, 4}, {"InternetCrackUrlA", 9, 4},
                      {"InternetCanonicalizeUrlA", 10, 4});
