// The runtime's folder browser.
#pragma once

#include "runtime/text_value.h"

#include <optional>

// Lets the user pick a folder in the system's folder browser, with the
// title as its instruction text, an edit box for a typed path, and files
// listed too when includeFiles is given and true. The dialog is modal to
// the active window; the program's own top-level windows that the runtime
// service table reports are disabled around it and restored afterwards,
// as are the foreground and the active window. The result is the chosen
// path (code page 936, no trailing separator except for the root "/"), or
// null for Cancel, a closed dialog, or a choice without a path.
TextValue BrowseForFolder(TextRef title, std::optional<bool> includeFiles = std::nullopt);
