#include "window/win32/Text.h"

#include <windows.h>

#include <limits>

#include "window/Toolkit.h"

namespace window::win32 {

namespace {

int checkedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw ToolkitError("The text is too long to show");
    }
    return static_cast<int>(size);
}

}  // namespace

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length = checkedLength(utf8.size());
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, text.data(), wide);
    return text;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int length = checkedLength(utf16.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, text.data(), bytes, nullptr, nullptr);
    return text;
}

}  // namespace window::win32
