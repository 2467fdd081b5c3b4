// The runtime's components, notified in table order at the start and at the
// end of the program: the dialog and shell component, the thread component
// and the Internet component.
#pragma once

#include <cstdint>

constexpr int32_t ComponentStart = 1;
constexpr int32_t ComponentExit = 6;

// A notification entry answers 0 when it handled the code, -1 otherwise.
using NotificationEntry = int32_t (*)(int32_t code, intptr_t value, int32_t reserved);

struct RuntimeComponent {
  const char* name;
  NotificationEntry notify;
};

constexpr int kComponentCount = 3;
const RuntimeComponent* ComponentTable();

void NotifyComponents(int32_t code, intptr_t value);

// Tests watch the notifications go out: the observer sees each component's
// index and the code before the component is notified. Null removes it.
using NotificationObserver = void (*)(int component, int32_t code);
void SetNotificationObserverForTesting(NotificationObserver observer);
