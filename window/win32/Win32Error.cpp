#include "window/win32/Win32Error.h"

#include <windows.h>

#include "window/Toolkit.h"
#include "window/win32/Text.h"

namespace window::win32 {

std::string systemMessage(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    return text.empty() ? "unknown error" : narrow(text);
}

void throwLastError(const std::string& what) {
    const DWORD code = GetLastError();
    throw ToolkitError(what + ": " + systemMessage(code) + " (error " + std::to_string(code) + ")");
}

}  // namespace window::win32
