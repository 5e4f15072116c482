#pragma once

#include <string>

namespace window::qt {

// An application-modal box with the text, one OK button, no icon and the
// application title as caption; returns when the user dismisses it.
void showMessageBox(const std::string& text);

}  // namespace window::qt
