// The Internet component: the HTTP file reader's process-wide state and the
// mail-sending state object it carries (created at the start, destroyed at
// the end; the system never sends mail).
#pragma once

#include "runtime/service_entry.h"

#include <cstdint>

int32_t InternetComponentNotify(int32_t code, intptr_t value, int32_t reserved);
// Null before the start notification.
ServiceEntryFunction InternetServiceEntry();
// Whether the mail-sending state object exists (between start and end).
bool MailStateExists();
