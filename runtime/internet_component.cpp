#include "runtime/internet_component.h"

#include "runtime/block.h"
#include "runtime/components.h"
#include "wininet/internet.h"

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
InternetState internet_state;

void CloseRootHandle() {
  if (internet_state.root)
    InternetCloseHandle(static_cast<HINTERNET>(internet_state.root));
  internet_state.root = nullptr;
}

} // namespace

int32_t InternetComponentNotify(int32_t code, intptr_t value, int32_t) {
  switch (code) {
  case ComponentStart:
    service_entry.store(reinterpret_cast<ServiceEntryFunction>(value));
    if (!mail_state.load())
      mail_state.store(static_cast<MailState*>(AllocBlock(sizeof(MailState))));
    return 0;
  case ComponentExit:
    CloseRootHandle();
    FreeBlock(mail_state.exchange(nullptr));
    return 0;
  default:
    return -1;
  }
}

InternetState& TheInternetState() { return internet_state; }

ServiceEntryFunction InternetServiceEntry() { return service_entry.load(); }

bool MailStateExists() { return mail_state.load() != nullptr; }
