#pragma once

// Text crosses into Win32 as UTF-16 and comes back as UTF-8. Invalid
// sequences become U+FFFD rather than failing: text is only shown.

#include <string>
#include <string_view>

namespace window::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace window::win32
