#pragma once

// Failed Win32 calls become the toolkit's one error, with the system's own
// description of the cause.

#include <string>

namespace window::win32 {

// Throws ToolkitError "<what>: <system description> (error <code>)" for GetLastError().
[[noreturn]] void throwLastError(const std::string& what);

// The system's description of an error code, without the trailing line break.
std::string systemMessage(unsigned long code);

}  // namespace window::win32
