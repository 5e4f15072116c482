#pragma once

// Checks that a parsed .sla file is a Scribus 1.5 document this adapter can
// work on, so that later reads never meet a missing page or a non-finite number.

#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace host::sla {

inline constexpr int kMaxDepth = 128;  // element nesting; Scribus groups stay far below

// Empty when the document is usable, otherwise the reason in a few words.
// `text` is the parsed file, used to name lines.
std::string documentProblem(const pugi::xml_document& xml, std::string_view text);

// 1-based line of a byte offset in `text`.
int lineAt(std::string_view text, std::ptrdiff_t offset);

}  // namespace host::sla
