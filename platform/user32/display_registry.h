// Choosing the display (internal to libuser32); the rules are in
// user32/display_backend.h.
#pragma once

#include "user32/display_backend.h"

#include <memory>
#include <string>

namespace user32 {

std::shared_ptr<DisplayBackend> ChooseDisplay(std::string* name);

} // namespace user32
