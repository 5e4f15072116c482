#pragma once

// The invariants the fuzz target checks on a document after Reflect, in
// memory, before it is saved. Each failure aborts with a message.

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/Host.h"
#include "host/sla/SlaDocument.h"

namespace fuzzcheck {

// Prints `message` and aborts unless `condition` holds.
void require(bool condition, const std::string& message);

// The one pass of the load checks finds a problem exactly where the full
// checks do, on `input` parsed as a document is (when it parses at all).
void checkScanAgrees(const std::string& input);

// Every attribute of every element, by element and name.
using Attributes = std::map<std::pair<const void*, std::string>, std::string>;
Attributes attributesOf(const host::sla::SlaDocument& document);

// The document as the buttons find it: pages and top-level items as text, by
// element, and how often each mark label appears in texts.
struct Before {
    std::map<const void*, std::string> pages;
    std::map<const void*, std::string> items;
    std::map<std::pair<std::string, std::string>, int> marks;  // (label, type) -> count
};
Before before(const host::sla::SlaDocument& document);

// Every attribute written since `asRead` that holds a number (or a path of
// numbers) holds finite ones that read back as written.
void checkWrittenNumbers(const host::sla::SlaDocument& document, const Attributes& asRead);

// Pages and items of `before` are unchanged; `duplicates` pages were added;
// every new top-level item names a new page, and those `reflected` lists are
// new ones.
void checkOnlyCopiesAdded(const host::sla::SlaDocument& document, const Before& before,
                          host::Spread& reflected, int duplicates);

// No mark label but a variable text's appears in more texts than before.
void checkMarksNotShared(const host::sla::SlaDocument& document, const Before& before);

// The saved `file` opens again at each page from `firstNew` to its last, as
// quarvel_pagelist FILE N does: each item of the spread, groups dissolved,
// has finite bounds and angle.
void checkNewPagesReadBack(const std::filesystem::path& file, int firstNew);

}  // namespace fuzzcheck
