// The runtime's shell command: a file opened, printed or explored by the
// desktop's program for it.
#pragma once

#include "runtime/text_value.h"

#include <cstdint>
#include <optional>

// Hands the file to the shell with no owner window: the verb by index
// (1 "edit", 2 "explore", 3 "find", 4 "open", 5 "print"; omitted or any
// other index: none, the file type's default verb), the parameters (none
// when omitted), the working directory (omitted: an empty text, the current
// directory) and the show command by index (1 SW_HIDE, 2 SW_SHOWNORMAL,
// 3 SW_SHOWMINIMIZED, 4 SW_SHOWMAXIMIZED, 5 SW_SHOWNA, 6 SW_MINIMIZE;
// omitted or outside 1 to 6: SW_SHOWNORMAL). Whatever the shell answers,
// failure included, is not reported.
void ShellRun(std::optional<int32_t> verbIndex, TextRef file,
              std::optional<TextRef> parameters = std::nullopt,
              std::optional<TextRef> directory = std::nullopt,
              std::optional<int32_t> showMode = std::nullopt);
