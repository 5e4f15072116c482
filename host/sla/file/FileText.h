#pragma once

#include <cstddef>
#include <memory>

namespace host::sla::file {

// A document's text as read: `size` bytes followed by one zero byte, so that
// it can be parsed in place.
struct FileText {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
};

// The largest document, compressed or once uncompressed, that is read: 1 GiB.
inline constexpr std::size_t kMaxDocumentBytes = std::size_t{1} << 30;

}  // namespace host::sla::file
