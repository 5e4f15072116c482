#pragma once

// Writes a parsed document as text. What is as read (see SlaChanges.h) is
// copied from the original text byte for byte: entity references, raw tabs
// and line ends in values, quotes, spacing and the empty-element form all
// stay. A changed element keeps every attribute as written except those whose
// value changed; new nodes are written in the style Scribus writes.

#include <pugixml.hpp>

#include "host/sla/file/ByteStream.h"
#include "host/sla/write/SlaChanges.h"

namespace host::sla {

// `original` reads the text the document was parsed from, from its first
// byte; `byteOrderMark` says whether that text starts with a UTF-8 one.
void writeDocument(const pugi::xml_document& xml, const SlaChanges& changes, bool byteOrderMark,
                   file::ByteSource& original, file::ByteSink& out);

}  // namespace host::sla
