#include "user32/dialog_registry.h"

#include <map>
#include <mutex>

namespace user32 {
namespace {

std::mutex registry_mutex;

std::map<HWND, DialogRecord>& Records() {
  // Never destroyed: detached threads may still end their dialogs while the
  // process ends.
  static auto* records = new std::map<HWND, DialogRecord>();
  return *records;
}

template <typename Change> bool Update(HWND dialog, Change change) {
  std::lock_guard lock(registry_mutex);
  auto it = Records().find(dialog);
  if (it == Records().end())
    return false;
  change(it->second);
  return true;
}

} // namespace

DialogRegistry& DialogRegistry::Get() {
  static DialogRegistry registry;
  return registry;
}

void DialogRegistry::Add(HWND dialog, DLGPROC proc) {
  std::lock_guard lock(registry_mutex);
  Records()[dialog] = DialogRecord{proc};
}

void DialogRegistry::Remove(HWND dialog) {
  std::lock_guard lock(registry_mutex);
  Records().erase(dialog);
}

std::optional<DialogRecord> DialogRegistry::Find(HWND dialog) const {
  std::lock_guard lock(registry_mutex);
  auto it = Records().find(dialog);
  if (it == Records().end())
    return std::nullopt;
  return it->second;
}

void DialogRegistry::SetFocusControl(HWND dialog, HWND control) {
  Update(dialog, [&](DialogRecord& record) { record.focus = control; });
}

void DialogRegistry::SetLooping(HWND dialog, bool looping) {
  Update(dialog, [&](DialogRecord& record) { record.looping = looping; });
}

bool DialogRegistry::End(HWND dialog, INT_PTR result) {
  return Update(dialog, [&](DialogRecord& record) {
    record.ended = true;
    record.result = result;
  });
}

} // namespace user32
