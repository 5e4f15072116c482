#pragma once

// References between the items of a .sla document that a copy of a page must
// keep consistent: text chains, welds, text marks with their notes, and the
// records that tie footnote frames to the text frames they serve. Items refer
// to each other by ItemID, marks by label.

#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "host/sla/SlaDocument.h"

namespace host::sla {

// ItemID of an original -> ItemID of its copy, for every element copied.
using IdMap = std::unordered_map<long long, long long>;

// The top-level items, in document order, that a copy of the page holding
// `pageItems` is made of: a footnote frame travels with the text frame it
// serves, wherever it lies; a note frame whose text frame stays behind, and an
// endnote frame, which gathers the notes of many pages, are not copied.
std::vector<pugi::xml_node> itemsToCopy(const SlaDocument& document,
                                        const std::vector<pugi::xml_node>& pageItems);

// Points the references inside `copies` (top-level copies whose ItemIDs are
// already fresh) at the copies, as Scribus's own page copy does: chain links
// and welds to items of the copy follow it, those to items left behind are
// cut; every mark but a variable text gets a fresh label and its own
// definition, a note mark its own note; each footnote frame copied gets its
// own record.
void relinkCopies(SlaDocument& document, const std::vector<pugi::xml_node>& copies,
                  const IdMap& ids);

}  // namespace host::sla
