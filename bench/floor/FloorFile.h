#pragma once

// What the document floors share: the least a program can do to read a .sla
// and to write one back safely. One sized read into a buffer of its own, an
// in-place parse, and a save to a new file beside the old that is synced and
// renamed over it. Throws std::runtime_error.

#include <filesystem>
#include <memory>

#include <pugixml.hpp>

namespace floors {

// A parsed document; its strings point into `text`.
struct ParsedFile {
    std::unique_ptr<char[]> text;
    pugi::xml_document xml;
};

void readAndParse(const std::filesystem::path& path, ParsedFile& parsed);
void saveSynced(const pugi::xml_document& xml, const std::filesystem::path& path);

// CLOCK_MONOTONIC and this thread's CPU time, in ns.
long long monotonicNs();
long long threadCpuNs();

}  // namespace floors
