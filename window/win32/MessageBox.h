#pragma once

// The application-modal message box: the text, one OK button, no icon, the
// application title (window/Design.h) as caption. Returns when the user dismisses it.

#include <windows.h>

#include <string>

namespace window::win32 {

// `owner` is the tool's window while it shows, else null (the box then
// disables every window of the tool's thread).
void showMessageBox(HWND owner, const std::string& text);

}  // namespace window::win32
