#pragma once

// A big document with a small sheet in it: `pages` pages of 1000 x 700 in a
// column, `textFrames` text frames spread over all but the last, and the
// benchmark's sheet of `rectangles` rectangles on the last page.

#include <filesystem>

namespace bench {

void writeBigDocument(const std::filesystem::path& sample, int rectangles, int textFrames,
                      int pages, const std::filesystem::path& out);

}  // namespace bench
