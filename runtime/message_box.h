// The runtime's message box.
#pragma once

#include "runtime/command_arg.h"
#include "runtime/text_value.h"

#include <optional>

// Shows the message (a value of any kind, turned into text as ToText does;
// byte sets, arrays and other kinds show nothing) with the style's buttons
// and the title ("信息" when omitted), without an owner window, and waits for
// the answer: the pressed button counted from 0 (0 OK, 1 Cancel, 2 Abort,
// 3 Retry, 4 Ignore, 5 Yes, 6 No), or -1 when no box could be shown.
int32_t ShowMessageBox(const CommandArg& message, int32_t style, std::optional<TextRef> title = std::nullopt);
inline int32_t ShowMessageBox(TextRef message, int32_t style, std::optional<TextRef> title = std::nullopt) {
  return ShowMessageBox(CommandArg::Text(message.Pointer()), style, title);
}
