#pragma once

// Checks that a .sla file is a Scribus 1.5 or 1.6 document this adapter can
// work on, so that later reads never meet a missing page or a non-finite
// number; names the Scribus that saved a file in another format.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "host/sla/read/SlaFormat.h"

namespace host::sla {

inline constexpr int kMaxDepth = 128;  // element nesting; Scribus groups stay far below

// 1-based line of a byte offset in the document's text.
using LineFinder = std::function<int(std::ptrdiff_t)>;

// Empty when `xml` holds one root element, that of a Scribus 1.5 or 1.6
// document (formatProblem()); the first of documentProblem()'s checks.
std::string rootProblem(const pugi::xml_document& xml);

// Empty when the parsed document is usable, otherwise the reason in a few words.
std::string documentProblem(const pugi::xml_document& xml, const LineFinder& lineAt);

// Empty when the PAGE elements `pages` (DOCUMENT's, in order) are usable,
// otherwise the reason; their attributes' rules are checked too.
std::string pagesProblem(const std::vector<pugi::xml_node>& pages, const LineFinder& lineAt);

// 1-based line of a byte offset in `text`.
int lineAt(std::string_view text, std::ptrdiff_t offset);

}  // namespace host::sla
