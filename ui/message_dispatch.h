// Message dispatch: window messages turned into calls of the handlers stored
// in the control registry.
//
// A registered window never gets default processing for the messages the
// dispatcher handles, whether or not a handler is set. Handlers run
// synchronously inside the dispatch, on the window's own thread.
#pragma once

#include "user32/window.h"

// The private message with which Create runs a window's created handler.
constexpr UINT kCreatedMessage = 1001;

// The header of a WM_NOTIFY message: the notifying window, its identifier and
// the notification code.
struct NotifyHeader {
  HWND from;
  UINT_PTR id;
  UINT code;
};

// A tooltip's request for its text: the header, then the text reference.
struct TipTextRequest {
  NotifyHeader header;
  const char* text;
};

// 0 when the message was handled, 1 when default processing must follow.
int DispatchMessageEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window procedure of the toolkit's window class.
LRESULT ToolkitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Put in front of a foreign window's own procedure by SubclassWindow.
LRESULT SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Routes a foreign window through the dispatcher, once.
void SubclassWindow(HWND window);
