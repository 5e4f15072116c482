#pragma once

// A plain ZIP writer for building test packages, written from the ZIP format
// description and sharing nothing with the adapter: it writes what a test asks
// for, hostile archives included (an entry twice, names that climb out, sizes
// that lie).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace idmltest {

struct ZipEntry {
    std::string name;
    std::string data;
    bool deflate = true;
    // The unpacked size the archive states, when it should lie about it.
    std::optional<std::uint32_t> statedSize;
};

std::string zipArchive(const std::vector<ZipEntry>& entries);

}  // namespace idmltest
