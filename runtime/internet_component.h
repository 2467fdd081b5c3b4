// The Internet component: the HTTP file reader's process-wide state and the
// mail-sending state object it carries (created at the start, destroyed at
// the end; the system never sends mail).
#pragma once

#include "runtime/service_entry.h"
#include "runtime/text_value.h"

#include <cstdint>

// The HTTP file reader's state: the Internet client's root handle, opened by
// the first request and reused by every later one, and the proxy texts,
// which start empty and nothing sets. The end of the program closes the
// root handle.
struct InternetState {
  void* root = nullptr;
  TextValue proxyServer;
  TextValue proxyUser;
  TextValue proxyPassword;
};
InternetState& TheInternetState();

int32_t InternetComponentNotify(int32_t code, intptr_t value, int32_t reserved);
// Null before the start notification.
ServiceEntryFunction InternetServiceEntry();
// Whether the mail-sending state object exists (between start and end).
bool MailStateExists();
