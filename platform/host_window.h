// Operations on the host's window. The host is not a process here: each
// operation is appended as one line to <home>/host-window.log, which is how
// the host (or a test) learns what the program did and how the run ended:
//   EnableWindow 4660 FALSE
//   SetForegroundWindow 4660
//   PostMessage 4660 msg=1025 wParam=7 lParam=2
// The log is opened, appended and closed per line, so it is complete even
// when the program ends abnormally.
// EnableWindow answers whether the window was disabled before, as Windows
// does (as far as this program's own calls tell); SetForegroundWindow and
// PostMessage answer FALSE when the line could not be written.
#pragma once

#include "platform/win_types.h"

BOOL EnableWindow(HWND window, BOOL enable);
BOOL SetForegroundWindow(HWND window);
BOOL PostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
