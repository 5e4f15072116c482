#include <gtest/gtest.h>

#include "window/win32/Text.h"

namespace {

using window::win32::narrow;
using window::win32::widen;

TEST(Text, CrossesToUtf16AndBackUnchanged) {
    const char* texts[] = {"", "9999", "Please open a publication and try again.",
                           "Gr\u00f6\u00dfe \u2713", "\xf0\x9f\x93\x84 page"};
    for (const char* text : texts) {
        EXPECT_EQ(narrow(widen(text)), text);
    }
    EXPECT_EQ(widen("\xc3\xa9"), std::wstring(L"\u00e9"));
    EXPECT_EQ(widen("\xf0\x9f\x93\x84").size(), 2u);  // one character, a surrogate pair
}

TEST(Text, InvalidUtf8BecomesReplacementCharacters) {
    const std::wstring wide = widen(
        "a\xff"
        "b");
    EXPECT_EQ(wide, std::wstring(L"a\ufffdb"));
}

}  // namespace
