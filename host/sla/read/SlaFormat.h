#pragma once

// Whether a text or a parsed root is a Scribus 1.5 or 1.6 document at all,
// before the load checks look inside it (SlaCheck.h); names the Scribus that
// saved a file in another format.

#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace host::sla {

// Before parsing: empty when `text` can be UTF-8 XML, otherwise the reason in
// a few words (UTF-16 or UTF-32 text, binary data).
std::string encodingProblem(std::string_view text);

// Empty when `root` is the root of a Scribus 1.5 or 1.6 document, otherwise
// the reason, naming the Scribus that saved it where the file says.
std::string formatProblem(pugi::xml_node root);

// From the first few kilobytes of a text only: formatProblem()'s reason when
// its root element's start tag shows a Scribus older than 1.5, else empty
// (the whole document decides).
std::string olderFormatInHead(std::string_view head);

}  // namespace host::sla
