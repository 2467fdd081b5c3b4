#include "runtime/components.h"

#include "runtime/dialog_component.h"
#include "runtime/internet_component.h"
#include "runtime/thread_component.h"

#include <atomic>

namespace {

const RuntimeComponent component_table[kComponentCount] = {
    {"dialog and shell", DialogComponentNotify},
    {"threads", ThreadComponentNotify},
    {"internet", InternetComponentNotify},
};

std::atomic<NotificationObserver> observer{nullptr};

} // namespace

const RuntimeComponent* ComponentTable() { return component_table; }

void NotifyComponents(int32_t code, intptr_t value) {
  for (int i = 0; i < kComponentCount; i++) {
    if (NotificationObserver watch = observer.load())
      watch(i, code);
    component_table[i].notify(code, value, 0);
  }
}

void SetNotificationObserverForTesting(NotificationObserver o) { observer.store(o); }
