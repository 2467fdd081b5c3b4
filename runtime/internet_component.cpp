#include "runtime/internet_component.h"

#include "runtime/block.h"
#include "runtime/components.h"

#include <atomic>

namespace {

// The SMTP client's state: server, port, credentials and the MIME parts of a
// message being built. Nothing in the system fills it.
struct MailState {
  void* server;
  int32_t port;
  void* user;
  void* password;
  void* parts;
};

std::atomic<ServiceEntryFunction> service_entry{nullptr};
std::atomic<MailState*> mail_state{nullptr};

} // namespace

int32_t InternetComponentNotify(int32_t code, intptr_t value, int32_t) {
  switch (code) {
  case ComponentStart:
    service_entry.store(reinterpret_cast<ServiceEntryFunction>(value));
    if (!mail_state.load())
      mail_state.store(static_cast<MailState*>(AllocBlock(sizeof(MailState))));
    return 0;
  case ComponentExit:
    FreeBlock(mail_state.exchange(nullptr));
    return 0;
  default:
    return -1;
  }
}

ServiceEntryFunction InternetServiceEntry() { return service_entry.load(); }

bool MailStateExists() { return mail_state.load() != nullptr; }
