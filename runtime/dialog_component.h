// The dialog and shell component: message boxes, the folder browser and the
// shell. It keeps the service entry it is given at the start, through which
// it asks the core for the memory of the texts it hands back.
#pragma once

#include "runtime/service_entry.h"

#include <cstdint>

int32_t DialogComponentNotify(int32_t code, intptr_t value, int32_t reserved);
// Null before the start notification.
ServiceEntryFunction DialogServiceEntry();
